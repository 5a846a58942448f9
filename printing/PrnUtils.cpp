#include "printing/PrnUtils.h"

#include <QMessageBox>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace tessaran {

namespace {

PrintLibrarySettings settings;

void showPrintError(const char *text)
{
    detail::ShowPrintError(settings, text);
}

bool isRectEmpty(const TRect &r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

bool intersectRect(TRect &out, const TRect &a, const TRect &b)
{
    out = TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                std::min(a.Bottom, b.Bottom)};
    if (isRectEmpty(out)) {
        out = TRect{};
        return false;
    }
    return true;
}

std::uint32_t readU32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void writeU32(std::uint8_t *p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

void writeU16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Walks the tiles of rect row by row from the top; count-only without a
// callback.
template <typename Visit>
void walkTiles(const TRect &rect, int tileWidth, int tileHeight, TileInfo &info, Visit visit)
{
    info.Row = 0;
    for (std::int64_t top = rect.Top; top < rect.Bottom; top += tileHeight) {
        ++info.Row;
        info.Column = 0;
        const auto bottom = static_cast<std::int32_t>(std::min<std::int64_t>(top + tileHeight, rect.Bottom));
        for (std::int64_t left = rect.Left; left < rect.Right; left += tileWidth) {
            ++info.Column;
            const auto right = static_cast<std::int32_t>(std::min<std::int64_t>(left + tileWidth, rect.Right));
            info.Tile = TRect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), right, bottom};
            info.TileWidth = info.Tile.Width();
            info.TileHeight = info.Tile.Height();
            if (isRectEmpty(info.Tile))
                continue;
            if (!visit())
                return;
        }
    }
}

bool tilingArgumentsOk(const TRect &rect, int tileWidth, int tileHeight)
{
    return tileWidth >= 1 && tileHeight >= 1 && rect.Right >= rect.Left && rect.Bottom >= rect.Top;
}

// A copy of the job's info header for a tile of width x height samples,
// bottom-up, uncompressed (or bit fields), with its colour table.
THeapBlock makeTileHeader(const TileJob &job, int width, int height)
{
    THeapBlock header = GlobalAllocZeroed(job.HeaderSize);
    if (!header)
        return header;
    std::memcpy(header.Data(), job.Header.Data(), job.HeaderSize);
    std::uint8_t *h = header.Data();
    writeU32(h + 0, InfoHeaderSize);
    writeU32(h + 4, static_cast<std::uint32_t>(width));
    writeU32(h + 8, static_cast<std::uint32_t>(height));
    writeU16(h + 12, 1);
    writeU16(h + 14, static_cast<std::uint16_t>(job.BitCount));
    writeU32(h + 16, job.Masks == 3 ? 3 : 0);
    writeU32(h + 20, static_cast<std::uint32_t>(RowBytes(width, job.BitCount) * height));
    return header;
}

// Copies pixel s of a source row into pixel j of a tile row.
void copyPixel(const std::uint8_t *source, std::int64_t s, std::uint8_t *tile, std::int64_t j, int bitCount)
{
    switch (bitCount) {
    case 1: {
        const bool set = source[s / 8] & (0x80 >> (s % 8));
        if (set)
            tile[j / 8] |= static_cast<std::uint8_t>(0x80 >> (j % 8));
        else
            tile[j / 8] &= static_cast<std::uint8_t>(~(0x80 >> (j % 8)));
        break;
    }
    case 4: {
        const std::uint8_t nibble = (s % 2 == 0) ? source[s / 2] >> 4 : source[s / 2] & 0x0F;
        std::uint8_t &target = tile[j / 2];
        target = (j % 2 == 0) ? static_cast<std::uint8_t>((target & 0x0F) | (nibble << 4))
                              : static_cast<std::uint8_t>((target & 0xF0) | nibble);
        break;
    }
    case 8:
        tile[j] = source[s];
        break;
    case 16:
        std::memcpy(tile + 2 * j, source + 2 * s, 2);
        break;
    case 24:
        std::memcpy(tile + 3 * j, source + 3 * s, 3);
        break;
    case 32:
        std::memcpy(tile + 4 * j, source + 4 * s, 4);
        break;
    default:
        break;
    }
}

// How one tile was sampled from the image.
struct TSampling {
    int Width = 1;
    int Height = 1;
    // Source column and row of a tile sample.
    std::int64_t (*Column)(const TileJob &, const TileInfo &, long double start, int j) = nullptr;
    std::int64_t (*Row)(const TileJob &, const TileInfo &, long double start, int i) = nullptr;
    long double StartX = 0;
    long double StartY = 0;
    bool Stretched = false;
};

std::int64_t clampIndex(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return std::clamp(value, low, high);
}

// Builds, sends and frames one tile; the two tile callbacks differ only in
// how they sample.
bool printTile(TileInfo *info, const TSampling &sampling)
{
    auto *job = static_cast<TileJob *>(info->Data);
    THeapBlock tileHeader;
    THeapBlock tileBits;
    try {
        if (settings.PrepareTiles) {
            const int width = sampling.Width;
            const int height = sampling.Height;
            tileHeader = makeTileHeader(*job, width, height);
            if (!tileHeader)
                return false;
            const std::int64_t rowBytes = RowBytes(width, job->BitCount);
            tileBits = GlobalAllocZeroed(static_cast<std::size_t>(rowBytes * height));
            if (!tileBits) {
                GlobalFreeSafe(tileHeader);
                return false;
            }
            const std::int64_t lastColumn = job->ImageWidth - 1;
            const std::int64_t lastRow = job->ImageHeight - 1;
            for (int i = 0; i < height; ++i) {
                const std::int64_t sourceRow = clampIndex(sampling.Row(*job, *info, sampling.StartY, i), 0, lastRow);
                const std::uint8_t *source = job->TopRow + sourceRow * job->RowStride;
                std::uint8_t *target = tileBits.Data() + (height - 1 - i) * rowBytes;
                for (int j = 0; j < width; ++j) {
                    const std::int64_t s = clampIndex(sampling.Column(*job, *info, sampling.StartX, j), 0, lastColumn);
                    copyPixel(source, s, target, j, job->BitCount);
                }
                if (i % 64 == 0 && job->Progress && !job->Progress(info->TileIndex, info->TileCount, job->UserData))
                    return false;
            }

            if (settings.OutputTiles) {
                const int divX = settings.ScaleDivisorX;
                const int divY = settings.ScaleDivisorY;
                const TRect &t = info->Tile;
                const int outWidth = sampling.Stretched ? t.Width() : width * divX;
                const int outHeight = sampling.Stretched ? t.Height() : height * divY;
                const bool blockCopy =
                    divX == 1 && divY == 1 && (!sampling.Stretched || (width == t.Width() && height == t.Height()));
                if (!detail::OutputTile(*job->DC, settings, t, outWidth, outHeight, width, height, blockCopy,
                                        job->Fallback, tileHeader.Bytes(), tileBits.Bytes())) {
                    if (settings.FlushAfterTiles)
                        job->DC->Flush();
                    return false;
                }
            }
        }

        if (settings.DrawTileFrames)
            detail::DrawTileFrame(*job->DC, settings, info->Tile);

        if (settings.FlushAfterTiles)
            job->DC->Flush();
        GlobalFreeSafe(tileHeader);
        GlobalFreeSafe(tileBits);
        if (job->Progress && !job->Progress(info->TileIndex, info->TileCount, job->UserData))
            return false;
        return true;
    } catch (...) {
        showPrintError("CustomFormTileCallbackFn Exception");
        return false;
    }
}

} // namespace

const PrintLibrarySettings &GetPrintLibrarySettings()
{
    return settings;
}

void SetShowPrintErrors(TLongBool show)
{
    settings.ShowErrors = show != 0;
}

QWidget *SetPrintErrorOwner(QWidget *owner)
{
    QWidget *previous = settings.ErrorOwner;
    settings.ErrorOwner = owner;
    return previous;
}

PrintLibrarySettings &detail::MutablePrintLibrarySettings()
{
    return settings;
}

void detail::ShowPrintError(const PrintLibrarySettings &settings, const char *text)
{
    if (!settings.ShowErrors)
        return;
    QMessageBox::warning(settings.ErrorOwner, QStringLiteral("Printing"), QString::fromLatin1(text));
}

bool detail::OutputTile(TPrintDevice &dc, const PrintLibrarySettings &settings, const TRect &tile, int outWidth,
                        int outHeight, int width, int height, bool blockCopy, bool &fallback,
                        std::span<const std::uint8_t> header, std::span<const std::uint8_t> bits)
{
    const bool divided = settings.ScaleDivisorX != 1 || settings.ScaleDivisorY != 1;
    int rows = 0;
    if (!fallback) {
        rows = dc.StretchDIBits(tile.Left, tile.Top, outWidth, outHeight, 0, 0, width, height, bits, header);
        if (rows != height) {
            if (settings.FallbackOnFailure) {
                fallback = true;
                ShowPrintError(settings, divided ? "StretchDIBits failed! Trying StretchBlt"
                                                 : "StretchDIBits failed! Trying BitBlt");
            } else {
                ShowPrintError(settings, "StretchDIBits failed");
            }
        }
    }
    if (fallback) {
        bool ok = false;
        if (auto bitmap = dc.CreateDIBitmap(header, bits))
            ok = blockCopy ? dc.BitBlt(tile.Left, tile.Top, width, height, *bitmap, 0, 0)
                           : dc.StretchBlt(tile.Left, tile.Top, outWidth, outHeight, *bitmap, 0, 0, width, height);
        rows = ok ? height : 0;
        if (!ok)
            ShowPrintError(settings, blockCopy ? "BitBlt failed" : "StretchBlt failed");
    }
    if (settings.TilePauseMs >= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(settings.TilePauseMs));
    return rows == height;
}

TRect detail::FitToUsableArea(PageMetrics &metrics, bool useMargins, bool centre, int imageWidth, int imageHeight)
{
    if (!useMargins) {
        metrics.MarginLeft = metrics.PhysicalOffsetX;
        metrics.MarginTop = metrics.PhysicalOffsetY;
        metrics.MarginRight = metrics.UnprintableRight;
        metrics.MarginBottom = metrics.UnprintableBottom;
        metrics.UsableWidth = metrics.PrintableWidth;
        metrics.UsableHeight = metrics.PrintableHeight;
        metrics.UsableOffsetX = 0;
        metrics.UsableOffsetY = 0;
    }
    const long double scaleX = static_cast<long double>(metrics.UsableWidth) / imageWidth;
    const long double scaleY = static_cast<long double>(metrics.UsableHeight) / imageHeight;
    int x;
    int y;
    int width;
    int height;
    if (scaleX < scaleY) {
        width = metrics.UsableWidth;
        height = static_cast<int>(std::trunc(imageHeight * scaleX));
        x = 0;
        y = metrics.UsableHeight / 2 - height / 2;
    } else {
        height = metrics.UsableHeight;
        width = static_cast<int>(std::trunc(imageWidth * scaleY));
        x = metrics.UsableWidth / 2 - width / 2;
        y = 0;
    }
    if (!centre)
        x = y = 0;
    return TRect{x, y, x + width, y + height};
}

void detail::DrawTileFrame(TPrintDevice &dc, const PrintLibrarySettings &settings, const TRect &tile)
{
    // Half a point wide.
    const int penWidth = std::max({1, static_cast<int>(dc.GetDeviceCaps(TDeviceCap::LogPixelsX) / 72.0 * 0.5),
                                   static_cast<int>(dc.GetDeviceCaps(TDeviceCap::LogPixelsY) / 72.0 * 0.5)});
    const int middleY = tile.Top + (tile.Bottom - tile.Top) / 2;
    const int middleX = tile.Left + (tile.Right - tile.Left) / 2;
    if (!dc.Line(tile.Left, middleY, tile.Right, middleY, penWidth) ||
        !dc.Line(middleX, tile.Top, middleX, tile.Bottom, penWidth))
        ShowPrintError(settings, "Frames failed");
}

TLongBool CountTiles(const TRect &rect, int tileWidth, int tileHeight, TileInfo *info)
{
    if (!info || !tilingArgumentsOk(rect, tileWidth, tileHeight))
        return LongFalse;
    info->TileIndex = 0;
    info->TileCount = 0;
    TileInfo walk;
    walkTiles(rect, tileWidth, tileHeight, walk, [&] {
        ++info->TileCount;
        return true;
    });
    return LongTrue;
}

TLongBool ForEachTile(const TRect &rect, int tileWidth, int tileHeight, TileCallback callback, void *data,
                      void *data2)
{
    if (!callback || !tilingArgumentsOk(rect, tileWidth, tileHeight))
        return LongFalse;
    TileInfo info;
    if (!CountTiles(rect, tileWidth, tileHeight, &info))
        return LongFalse;
    info.Area = rect;
    info.StepWidth = tileWidth;
    info.StepHeight = tileHeight;
    info.Data = data;
    info.Data2 = data2;
    bool completed = true;
    walkTiles(rect, tileWidth, tileHeight, info, [&] {
        ++info.TileIndex;
        if (!callback(&info)) {
            completed = false;
            return false;
        }
        return true;
    });
    return completed ? LongTrue : LongFalse;
}

TLongBool PrintTileResampled(TileInfo *info)
{
    if (!info || !info->Data)
        return LongFalse;
    const auto &job = *static_cast<const TileJob *>(info->Data);
    TSampling sampling;
    sampling.Width = std::max(1, info->TileWidth / settings.ScaleDivisorX);
    sampling.Height = std::max(1, info->TileHeight / settings.ScaleDivisorY);
    sampling.StartX = (info->Tile.Left - job.Dest.Left) * job.SourcePerDestX;
    sampling.StartY = (info->Tile.Top - job.Dest.Top) * job.SourcePerDestY;
    sampling.Column = [](const TileJob &j, const TileInfo &, long double start, int index) {
        return static_cast<std::int64_t>(std::trunc(start + index * settings.ScaleDivisorX * j.SourcePerDestX)) +
               j.Source.Left;
    };
    sampling.Row = [](const TileJob &j, const TileInfo &, long double start, int index) {
        return static_cast<std::int64_t>(std::trunc(start + index * settings.ScaleDivisorY * j.SourcePerDestY)) +
               j.Source.Top;
    };
    return printTile(info, sampling) ? LongTrue : LongFalse;
}

TLongBool PrintTileStretched(TileInfo *info)
{
    if (!info || !info->Data)
        return LongFalse;
    const auto &job = *static_cast<const TileJob *>(info->Data);
    TSampling sampling;
    sampling.Stretched = true;
    sampling.Width = std::max(
        1, static_cast<int>(std::trunc(info->TileWidth * job.SourcePerDestX / settings.ScaleDivisorX)));
    sampling.Height = std::max(
        1, static_cast<int>(std::trunc(info->TileHeight * job.SourcePerDestY / settings.ScaleDivisorY)));
    sampling.StartX = std::trunc((info->Tile.Left - job.Dest.Left) * job.SourcePerDestX);
    sampling.StartY = std::trunc((info->Tile.Top - job.Dest.Top) * job.SourcePerDestY);
    sampling.Column = [](const TileJob &j, const TileInfo &, long double start, int index) {
        return static_cast<std::int64_t>(start) + static_cast<std::int64_t>(index) * settings.ScaleDivisorX +
               j.Source.Left;
    };
    sampling.Row = [](const TileJob &j, const TileInfo &, long double start, int index) {
        return static_cast<std::int64_t>(start) + static_cast<std::int64_t>(index) * settings.ScaleDivisorY +
               j.Source.Top;
    };
    return printTile(info, sampling) ? LongTrue : LongFalse;
}

int StretchDIBToDevice(TPrintDevice *dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                       int srcWidth, int srcHeight, std::span<const std::uint8_t> info,
                       std::span<const std::uint8_t> bits, const TLogPalette *palette, TLongBool forceBackground,
                       TLongBool makePalette, TRect clip, ProgressCallback progress, void *userData)
{
    try {
        if (!dc || !IsValidDIBHeader(info) || bits.empty() || srcX < 0 || srcY < 0 || srcWidth < 1 ||
            srcHeight < 1 || destWidth < 1 || destHeight < 1)
            return PrintBadArguments;

        TileJob job;
        job.DC = dc;
        TDIBSizes sizes;
        job.HeaderSize = GetDIBSizes(info, sizes);
        if (job.HeaderSize < 1 || sizes.ImageSize < 1 || sizes.BytesPerRow < 1)
            return PrintBadArguments;
        job.Colors = sizes.Colors;
        job.Masks = sizes.Masks;
        job.ImageSize = sizes.ImageSize;
        job.BytesPerRow = sizes.BytesPerRow;
        job.TopDown = sizes.TopDown;

        job.Header = GlobalAllocZeroed(job.HeaderSize);
        if (!job.Header)
            return PrintNoMemory;
        if (IsCoreHeader(info)) {
            if (!CoreToInfoHeader(info, job.Header.Bytes(), job.Colors, job.ImageSize))
                return PrintConversionFailed;
        } else {
            std::memcpy(job.Header.Data(), info.data(), job.HeaderSize);
        }
        const std::uint8_t *h = job.Header.Data();
        job.ImageWidth = static_cast<std::int32_t>(readU32(h + 4));
        job.ImageHeight = std::abs(static_cast<std::int32_t>(readU32(h + 8)));
        job.BitCount = h[14] | (h[15] << 8);
        const std::uint32_t compression = readU32(h + 16);

        if (job.ImageWidth < srcWidth || job.ImageHeight < srcHeight ||
            static_cast<std::int64_t>(job.ImageWidth) < static_cast<std::int64_t>(srcX) + srcWidth ||
            static_cast<std::int64_t>(job.ImageHeight) < static_cast<std::int64_t>(srcY) + srcHeight)
            return PrintBadArguments;

        job.Dest = TRect{destX, destY, destX + destWidth, destY + destHeight};
        job.Source = TRect{srcX, srcY, srcX + srcWidth, srcY + srcHeight};
        job.Clip = clip;
        if (isRectEmpty(job.Dest) || !intersectRect(job.Visible, job.Dest, clip) || isRectEmpty(job.Source))
            return PrintNothingVisible;

        if (compression == 1 || compression == 2) {
            const std::uint32_t compressedSize = readU32(h + 20);
            if (compressedSize == 0)
                return PrintBadArguments;
            job.Decoded = GlobalAllocZeroed(job.ImageSize);
            if (!job.Decoded)
                return PrintNoMemory;
            TRLEDecodeState state;
            state.Header = job.Header.Bytes();
            state.Colors = job.Colors;
            state.ImageSize = job.ImageSize;
            state.BytesPerRow = job.BytesPerRow;
            state.TopDown = job.TopDown;
            state.Output = job.Decoded.Bytes();
            // Never read past the caller's block, whatever the header says.
            const auto compressed = bits.first(std::min<std::size_t>(bits.size(), compressedSize));
            if (!DecodeRLE(info, compressed, state))
                return PrintConversionFailed;
            job.Pixels = job.Decoded.Bytes();
        } else {
            if (bits.size() < job.ImageSize)
                return PrintBadArguments;
            job.Pixels = bits;
        }
        GetDIBRowLayout(job.Pixels.data(), job.ImageSize, job.BytesPerRow, job.TopDown, job.TopRow, job.RowStride);

        job.DestPerSourceX = static_cast<long double>(destWidth) / srcWidth;
        job.DestPerSourceY = static_cast<long double>(destHeight) / srcHeight;
        job.SourcePerDestX = static_cast<long double>(srcWidth) / destWidth;
        job.SourcePerDestY = static_cast<long double>(srcHeight) / destHeight;

        const TScreenMetrics screen = GetScreenMetrics();
        const int tileWidth = std::max(1, screen.Width);
        int tileHeight = std::max(1, screen.Height);
        if (!(dc->GetDeviceCaps(TDeviceCap::RasterCaps) & RC_BITMAP64)) {
            // Keep each band under 64 KB; a very wide screen still gets one row.
            const std::int64_t rowBytes = RowBytes(tileWidth, job.BitCount);
            tileHeight = static_cast<int>(std::max<std::int64_t>(1, 65503 / std::max<std::int64_t>(1, rowBytes)));
        }

        bool usePalette = palette != nullptr;
        bool buildPalette = makePalette != 0;
        if (settings.PaletteMode == 1)
            buildPalette = false;
        else if (settings.PaletteMode == 2) {
            usePalette = false;
            buildPalette = true;
        }
        const bool selectOnDevice = IsPaletteDevice(dc) || settings.PaletteMode == 1;
        std::unique_ptr<TLogPalette> built;
        const TLogPalette *selected = nullptr;
        const TLogPalette *previous = nullptr;
        if (usePalette && selectOnDevice) {
            selected = palette;
        } else if (!usePalette && buildPalette && selectOnDevice) {
            built = CreateDIBPalette(info);
            selected = built.get();
        }
        if (selected) {
            previous = dc->SelectPalette(selected, forceBackground != 0);
            dc->RealizePalette();
        }

        job.Fallback = settings.ForceFallback;
        job.Progress = progress;
        job.UserData = userData;
        const TLongBool walked = ForEachTile(job.Visible, tileWidth, tileHeight,
                                             settings.UseStretchedTiles ? PrintTileStretched : PrintTileResampled,
                                             &job, nullptr);
        if (selected)
            dc->SelectPalette(previous, false);
        return walked ? PrintDone : PrintOutputFailed;
    } catch (...) {
        return PrintOutputFailed;
    }
}

int PrintDIBFitToPage(TPrintDevice *dc, std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                      TLongBool centre, TLongBool useMargins, ProgressCallback progress, void *userData)
{
    try {
        if (!dc || !IsValidDIBHeader(info) || bits.empty())
            return PrintBadArguments;
        PageMetrics metrics;
        if (!GetPrinterPageMetrics(dc, &metrics))
            return PrintBadArguments;
        bool margins = useMargins != 0;
        bool centred = centre != 0;
        if (settings.RawDeviceArea)
            margins = centred = false;
        int imageWidth;
        int imageHeight;
        if (IsCoreHeader(info)) {
            imageWidth = info[4] | (info[5] << 8);
            imageHeight = info[6] | (info[7] << 8);
        } else {
            imageWidth = static_cast<std::int32_t>(readU32(info.data() + 4));
            imageHeight = std::abs(static_cast<std::int32_t>(readU32(info.data() + 8)));
        }
        const TRect place = detail::FitToUsableArea(metrics, margins, centred, imageWidth, imageHeight);
        const int x = place.Left, y = place.Top, width = place.Width(), height = place.Height();
        int saved = 0;
        if (!settings.RawDeviceArea) {
            saved = dc->SaveDC();
            dc->OffsetWindowOrg(-metrics.UsableOffsetX, -metrics.UsableOffsetY);
            dc->IntersectClipRect(TRect{0, 0, metrics.UsableWidth, metrics.UsableHeight});
        }
        const int result =
            StretchDIBToDevice(dc, x, y, width, height, 0, 0, imageWidth, imageHeight, info, bits, nullptr, LongTrue,
                               LongFalse, TRect{0, 0, metrics.UsableWidth, metrics.UsableHeight}, progress, userData);
        if (!settings.RawDeviceArea)
            dc->RestoreDC(saved);
        return result;
    } catch (...) {
        return PrintBadArguments;
    }
}

} // namespace tessaran
