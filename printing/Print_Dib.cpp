#include "printing/Print_Dib.h"

#include "platform/Bmp_Codec.h"

#include <limits>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tessaran {

namespace {

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t i32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::int32_t>(u32(b, at));
}

void put16(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

std::uint32_t headerSize(std::span<const std::uint8_t> header)
{
    return header.size() >= 4 ? u32(header, 0) : 0;
}

// Colour-table entries a header declares, and the masks before them.
struct TTableLayout {
    std::int64_t Colors = 0;
    int Masks = 0;
    int EntrySize = 4;
};

TTableLayout tableLayout(std::span<const std::uint8_t> header)
{
    TTableLayout layout;
    if (headerSize(header) == CoreHeaderSize) {
        const int bits = u16(header, 10);
        layout.Colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
        layout.EntrySize = 3;
        return layout;
    }
    const int bits = u16(header, 14);
    const std::uint32_t compression = u32(header, 16);
    layout.Colors = u32(header, 32);
    if (layout.Colors == 0)
        layout.Colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    layout.Masks = (compression == 3 && (bits == 16 || bits == 32)) ? 3 : 0;
    return layout;
}

// Bytes of rows x width pixels, or -1 when the sizes make no picture (and
// would overflow the arithmetic).
std::int64_t imageBytes(std::int64_t width, std::int64_t rows, std::int64_t bits)
{
    if (width < 1 || rows < 1 || bits < 1 || bits > 64 || width > 0x7FFFFFFF || rows > 0x7FFFFFFF)
        return -1;
    const std::int64_t row = RowBytes(width, bits);
    if (row > std::numeric_limits<std::int64_t>::max() / rows)
        return -1;
    return rows * row;
}

// The header block must hold the header itself and the table it declares.
bool blockHoldsTable(std::span<const std::uint8_t> header)
{
    const std::uint32_t size = headerSize(header);
    if (size != CoreHeaderSize && size != InfoHeaderSize)
        return false;
    if (header.size() < size)
        return false;
    const TTableLayout layout = tableLayout(header);
    const std::int64_t need = size + 4LL * layout.Masks + layout.EntrySize * layout.Colors;
    return static_cast<std::int64_t>(header.size()) >= need;
}

} // namespace

TLongBool GetPrinterPageMetrics(const TPrintDevice *dc, PageMetrics *metrics)
{
    if (!dc || !metrics)
        return LongFalse;
    try {
        PageMetrics m;
        m.PhysicalOffsetX = dc->GetDeviceCaps(TDeviceCap::PhysicalOffsetX);
        m.PhysicalOffsetY = dc->GetDeviceCaps(TDeviceCap::PhysicalOffsetY);
        m.PrintableWidth = dc->GetDeviceCaps(TDeviceCap::HorzRes);
        m.PrintableHeight = dc->GetDeviceCaps(TDeviceCap::VertRes);
        m.PhysicalWidth = dc->GetDeviceCaps(TDeviceCap::PhysicalWidth);
        m.PhysicalHeight = dc->GetDeviceCaps(TDeviceCap::PhysicalHeight);
        if (m.PhysicalWidth == 0)
            m.PhysicalWidth = m.PrintableWidth;
        if (m.PhysicalHeight == 0)
            m.PhysicalHeight = m.PrintableHeight;
        m.UnprintableRight = m.PhysicalWidth - m.PrintableWidth - m.PhysicalOffsetX;
        m.UnprintableBottom = m.PhysicalHeight - m.PrintableHeight - m.PhysicalOffsetY;
        const std::int32_t margin =
            std::max({m.PhysicalOffsetX, m.UnprintableRight, m.PhysicalOffsetY, m.UnprintableBottom});
        m.MarginLeft = m.MarginTop = m.MarginRight = m.MarginBottom = margin;
        m.UsableWidth = m.PhysicalWidth - 2 * margin;
        m.UsableHeight = m.PhysicalHeight - 2 * margin;
        m.UsableOffsetX = margin - m.PhysicalOffsetX;
        m.UsableOffsetY = margin - m.PhysicalOffsetY;
        m.PixelsPerInchX = dc->GetDeviceCaps(TDeviceCap::LogPixelsX);
        m.PixelsPerInchY = dc->GetDeviceCaps(TDeviceCap::LogPixelsY);
        *metrics = m;
        return LongTrue;
    } catch (...) {
        return LongFalse;
    }
}

THeapBlock GlobalAllocZeroed(std::size_t size)
{
    THeapBlock block;
    if (size == 0)
        return block;
    block.data_.reset(new (std::nothrow) std::uint8_t[size]());
    if (block.data_)
        block.size_ = size;
    return block;
}

void GlobalFreeSafe(THeapBlock &block)
{
    block.data_.reset();
    block.size_ = 0;
}

TLongBool DIBFromBMPStream(TStream *stream, THeapBlock &header, THeapBlock &bits, int &width, int &height)
{
    GlobalFreeSafe(header);
    GlobalFreeSafe(bits);
    width = 0;
    height = 0;
    if (!stream)
        return LongFalse;
    THeapBlock head;
    THeapBlock body;
    try {
        const std::int64_t remaining = stream->Remaining();
        const std::uint16_t type = static_cast<std::uint16_t>(stream->ReadInt16());
        stream->ReadUInt32(); // file size, not trusted
        stream->ReadInt16();
        stream->ReadInt16();
        const std::uint32_t bitsOffset = stream->ReadUInt32();
        if (type != 0x4D42 || bitsOffset <= 14 || remaining <= static_cast<std::int64_t>(bitsOffset))
            return LongFalse;
        head = GlobalAllocZeroed(bitsOffset - 14);
        if (!head)
            return LongFalse;
        stream->ReadBuffer(head.Data(), head.Size());
        const std::span<const std::uint8_t> h = head.Bytes();
        std::int64_t w = 0;
        std::int64_t rows = 0;
        std::int64_t bitsSize = 0;
        switch (headerSize(h)) {
        case CoreHeaderSize:
            if (h.size() < CoreHeaderSize)
                return LongFalse;
            w = u16(h, 4);
            rows = u16(h, 6);
            bitsSize = imageBytes(w, rows, u16(h, 10));
            break;
        case InfoHeaderSize: {
            if (h.size() < InfoHeaderSize)
                return LongFalse;
            w = i32(h, 4);
            rows = std::llabs(static_cast<long long>(i32(h, 8)));
            const std::int64_t rowsNeed = imageBytes(w, rows, u16(h, 14));
            bitsSize = u32(h, 20);
            const std::uint32_t compression = u32(h, 16);
            if (bitsSize == 0)
                bitsSize = rowsNeed;
            else if ((compression == 0 || compression == 3) && bitsSize < rowsNeed)
                return LongFalse; // the rows would be read past the block
            break;
        }
        default:
            return LongFalse;
        }
        if (w < 1 || rows < 1 || bitsSize < 32)
            return LongFalse;
        // What the stream cannot hold is refused before it is allocated.
        if (bitsSize > remaining - static_cast<std::int64_t>(bitsOffset))
            return LongFalse;
        body = GlobalAllocZeroed(static_cast<std::size_t>(bitsSize));
        if (!body)
            return LongFalse;
        stream->ReadBuffer(body.Data(), body.Size());
        header = std::move(head);
        bits = std::move(body);
        width = static_cast<int>(w);
        height = static_cast<int>(rows);
        return LongTrue;
    } catch (...) {
        return LongFalse;
    }
}

TLongBool BitmapToDIB(const TBitmap &bitmap, THeapBlock &header, THeapBlock &bits, int &width, int &height)
{
    GlobalFreeSafe(header);
    GlobalFreeSafe(bits);
    width = 0;
    height = 0;
    try {
        TMemoryStream stream(EncodeBmp(bitmap));
        stream.Seek(0);
        return DIBFromBMPStream(&stream, header, bits, width, height);
    } catch (...) {
        return LongFalse;
    }
}

TLongBool IsValidDIBHeader(std::span<const std::uint8_t> header)
{
    if (header.empty() || !blockHoldsTable(header))
        return LongFalse;
    if (headerSize(header) == CoreHeaderSize) {
        const int bits = u16(header, 10);
        const bool ok = u16(header, 4) >= 1 && u16(header, 6) >= 1 && u16(header, 8) == 1 &&
                        (bits == 1 || bits == 4 || bits == 8 || bits == 24);
        return ok ? LongTrue : LongFalse;
    }
    const std::int32_t width = i32(header, 4);
    const std::int32_t height = i32(header, 8);
    const int bits = u16(header, 14);
    const std::uint32_t compression = u32(header, 16);
    if (width < 1 || height == 0 || u16(header, 12) != 1)
        return LongFalse;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return LongFalse;
    if (compression > 3)
        return LongFalse;
    if (compression != 0 && (u32(header, 20) == 0 || height < 0))
        return LongFalse;
    return LongTrue;
}

TLongBool IsCoreHeader(std::span<const std::uint8_t> header)
{
    return headerSize(header) == CoreHeaderSize ? LongTrue : LongFalse;
}

std::size_t GetDIBSizes(std::span<const std::uint8_t> header, TDIBSizes &sizes)
{
    sizes = TDIBSizes{};
    const std::uint32_t size = headerSize(header);
    if (header.size() < size || (size != CoreHeaderSize && size != InfoHeaderSize))
        return 0;
    const TTableLayout layout = tableLayout(header);
    if (layout.Colors > (1 << 24))
        return 0;
    sizes.Colors = static_cast<int>(layout.Colors);
    sizes.Masks = layout.Masks;
    std::int64_t width;
    std::int64_t rows;
    int bits;
    if (size == CoreHeaderSize) {
        width = u16(header, 4);
        rows = u16(header, 6);
        bits = u16(header, 10);
    } else {
        width = i32(header, 4);
        rows = std::llabs(static_cast<long long>(i32(header, 8)));
        bits = u16(header, 14);
        sizes.TopDown = i32(header, 8) < 0;
    }
    const std::int64_t image = imageBytes(width, rows, bits);
    const std::int64_t rowBytes = image < 0 ? -1 : RowBytes(width, bits);
    if (rowBytes < 0 || rowBytes > 0x7FFFFFFF || image < 0 || image > 0xFFFFFFFFLL)
        return 0;
    sizes.BytesPerRow = static_cast<int>(rowBytes);
    sizes.ImageSize = static_cast<std::uint32_t>(image);
    return InfoHeaderSize + 4 * static_cast<std::size_t>(sizes.Masks) + 4 * static_cast<std::size_t>(sizes.Colors);
}

void GetDIBRowLayout(const std::uint8_t *data, std::uint32_t imageSize, int bytesPerRow, bool topDown,
                     const std::uint8_t *&topRow, std::ptrdiff_t &rowStride)
{
    if (topDown) {
        topRow = data;
        rowStride = bytesPerRow;
    } else {
        topRow = data + imageSize - bytesPerRow;
        rowStride = -static_cast<std::ptrdiff_t>(bytesPerRow);
    }
}

TLongBool CoreToInfoHeader(std::span<const std::uint8_t> core, std::span<std::uint8_t> dest, int colorCount,
                           std::uint32_t imageSize)
{
    if (headerSize(core) != CoreHeaderSize || colorCount < 0 ||
        core.size() < CoreHeaderSize + 3 * static_cast<std::size_t>(colorCount) ||
        dest.size() < InfoHeaderSize + 4 * static_cast<std::size_t>(colorCount))
        return LongFalse;
    std::fill(dest.begin(), dest.begin() + InfoHeaderSize, 0);
    put32(dest, 0, InfoHeaderSize);
    put32(dest, 4, u16(core, 4));
    put32(dest, 8, u16(core, 6));
    put16(dest, 12, 1);
    put16(dest, 14, u16(core, 10));
    put32(dest, 16, 0);
    put32(dest, 20, imageSize);
    put32(dest, 32, static_cast<std::uint32_t>(colorCount));
    put32(dest, 36, static_cast<std::uint32_t>(colorCount));
    for (int i = 0; i < colorCount; ++i) {
        const std::size_t from = CoreHeaderSize + 3 * static_cast<std::size_t>(i);
        const std::size_t to = InfoHeaderSize + 4 * static_cast<std::size_t>(i);
        dest[to] = core[from];
        dest[to + 1] = core[from + 1];
        dest[to + 2] = core[from + 2];
        dest[to + 3] = 0;
    }
    return LongTrue;
}

namespace {

// The index of the first white entry of the colour table, or 0.
std::uint8_t whiteIndex(std::span<const std::uint8_t> header, int colors, int limit)
{
    const TTableLayout layout = tableLayout(header);
    const std::size_t table = headerSize(header) + 4 * static_cast<std::size_t>(layout.Masks);
    const int entry = layout.EntrySize;
    const int count = std::min({colors, limit, 256});
    for (int i = 0; i < count; ++i) {
        const std::size_t at = table + static_cast<std::size_t>(entry) * i;
        if (at + 3 > header.size())
            break;
        if (header[at] == 255 && header[at + 1] == 255 && header[at + 2] == 255)
            return static_cast<std::uint8_t>(i);
    }
    return 0;
}

// Reads the compressed codes with a bound on every access.
class TCodeReader {
public:
    explicit TCodeReader(std::span<const std::uint8_t> data) : data_(data) {}
    bool Has(std::size_t count) const { return pos_ + count <= data_.size(); }
    std::uint8_t At(std::size_t offset) const { return data_[pos_ + offset]; }
    void Advance(std::size_t count) { pos_ += count; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

bool prepareRLE(std::span<const std::uint8_t> compressed, TRLEDecodeState &state,
                std::span<const std::uint8_t> &data)
{
    if (state.Output.size() < state.ImageSize || state.BytesPerRow < 1 || state.Header.size() < InfoHeaderSize)
        return false;
    data = compressed;
    return true;
}

} // namespace

TLongBool DecodeRLE8(std::span<const std::uint8_t> header, std::span<const std::uint8_t> compressed,
                     TRLEDecodeState &state)
{
    try {
        std::span<const std::uint8_t> data;
        if (!prepareRLE(compressed, state, data))
            return LongFalse;
        const std::uint8_t background = whiteIndex(header, state.Colors, 256);
        std::uint8_t *const out = state.Output.data();
        const std::size_t size = state.ImageSize;
        std::fill(out, out + size, background);
        put32(state.Header, 16, 0);
        TCodeReader codes(data);
        const std::int64_t rowBytes = state.BytesPerRow;
        std::int64_t y = 0;
        std::int64_t position = 0;
        auto fits = [&](std::int64_t at, std::int64_t count) {
            return at >= 0 && count >= 0 && at + count <= static_cast<std::int64_t>(size);
        };
        while (codes.Has(2)) {
            const std::uint8_t first = codes.At(0);
            const std::uint8_t second = codes.At(1);
            if (first != 0) {
                if (!fits(position, first))
                    return LongFalse;
                std::memset(out + position, second, first);
                position += first;
                codes.Advance(2);
            } else if (second == 0) {
                ++y;
                position = y * rowBytes;
                codes.Advance(2);
            } else if (second == 1) {
                break;
            } else if (second == 2) {
                if (!codes.Has(4))
                    return LongFalse;
                position += codes.At(2) + static_cast<std::int64_t>(codes.At(3)) * rowBytes;
                y += codes.At(3);
                codes.Advance(4);
            } else {
                const std::size_t count = second;
                if (!codes.Has(2 + count) || !fits(position, second))
                    return LongFalse;
                for (std::size_t i = 0; i < count; ++i)
                    out[position + i] = codes.At(2 + i);
                position += second;
                codes.Advance(2 + count + (count & 1));
            }
        }
        return LongTrue;
    } catch (...) {
        return LongFalse;
    }
}

TLongBool DecodeRLE4(std::span<const std::uint8_t> header, std::span<const std::uint8_t> compressed,
                     TRLEDecodeState &state)
{
    try {
        std::span<const std::uint8_t> data;
        if (!prepareRLE(compressed, state, data))
            return LongFalse;
        const std::uint8_t background = whiteIndex(header, state.Colors, 16) & 0x0F;
        std::uint8_t *const out = state.Output.data();
        const std::int64_t size = state.ImageSize;
        std::fill(out, out + size, static_cast<std::uint8_t>(background << 4 | background));
        put32(state.Header, 16, 0);
        TCodeReader codes(data);
        const std::int64_t rowBytes = state.BytesPerRow;
        std::int64_t x = 0;
        std::int64_t y = 0;
        auto setPixel = [&](std::uint8_t nibble) {
            if (x < 0)
                return false;
            const std::int64_t at = y * rowBytes + x / 2;
            if (at < 0 || at >= size)
                return false;
            if (x % 2 == 0)
                out[at] = static_cast<std::uint8_t>((out[at] & 0x0F) | (nibble << 4));
            else
                out[at] = static_cast<std::uint8_t>((out[at] & 0xF0) | nibble);
            ++x;
            return true;
        };
        while (codes.Has(2)) {
            const std::uint8_t first = codes.At(0);
            const std::uint8_t second = codes.At(1);
            if (first != 0) {
                for (int i = 0; i < first; ++i)
                    if (!setPixel(i % 2 == 0 ? second >> 4 : second & 0x0F))
                        return LongFalse;
                codes.Advance(2);
            } else if (second == 0) {
                x = 0;
                ++y;
                codes.Advance(2);
            } else if (second == 1) {
                break;
            } else if (second == 2) {
                if (!codes.Has(4))
                    return LongFalse;
                x += codes.At(2);
                y += codes.At(3);
                codes.Advance(4);
            } else {
                const std::size_t dataBytes = (second + 1) / 2;
                const std::size_t padded = (dataBytes + 1) & ~static_cast<std::size_t>(1);
                if (!codes.Has(2 + dataBytes))
                    return LongFalse;
                for (int i = 0; i < second; ++i) {
                    const std::uint8_t byte = codes.At(2 + static_cast<std::size_t>(i / 2));
                    if (!setPixel(i % 2 == 0 ? byte >> 4 : byte & 0x0F))
                        return LongFalse;
                }
                codes.Advance(2 + padded);
            }
        }
        return LongTrue;
    } catch (...) {
        return LongFalse;
    }
}

TLongBool DecodeRLE(std::span<const std::uint8_t> header, std::span<const std::uint8_t> compressed,
                    TRLEDecodeState &state)
{
    if (headerSize(header) != InfoHeaderSize || header.size() < InfoHeaderSize)
        return LongFalse;
    switch (u32(header, 16)) {
    case 1:
        return DecodeRLE8(header, compressed, state);
    case 2:
        return DecodeRLE4(header, compressed, state);
    default:
        return LongFalse;
    }
}

std::unique_ptr<TLogPalette> CreateDIBPalette(std::span<const std::uint8_t> header)
{
    try {
        if (!blockHoldsTable(header))
            return nullptr;
        const bool core = headerSize(header) == CoreHeaderSize;
        const int bits = core ? u16(header, 10) : u16(header, 14);
        if (bits != 1 && bits != 4 && bits != 8 && (core || (bits != 16 && bits != 24 && bits != 32)))
            return nullptr;
        const TTableLayout layout = tableLayout(header);
        if (layout.Colors == 0)
            return nullptr;
        auto palette = std::make_unique<TLogPalette>();
        const std::size_t table = headerSize(header) + 4 * static_cast<std::size_t>(layout.Masks);
        palette->Entries.resize(static_cast<std::size_t>(layout.Colors));
        for (std::size_t i = 0; i < palette->Entries.size(); ++i) {
            const std::size_t at = table + static_cast<std::size_t>(layout.EntrySize) * i;
            palette->Entries[i] = TPaletteEntry{header[at + 2], header[at + 1], header[at], 0};
        }
        return palette;
    } catch (...) {
        return nullptr;
    }
}

TLongBool IsPaletteDevice(const TPrintDevice *dc)
{
    try {
        if (!dc) {
            const TScreenMetrics screen = GetScreenMetrics();
            return screen.BitsPixel * screen.Planes <= 8 && (screen.RasterCaps & RC_PALETTE) ? LongTrue : LongFalse;
        }
        const int depth = dc->GetDeviceCaps(TDeviceCap::BitsPixel) * dc->GetDeviceCaps(TDeviceCap::Planes);
        return depth <= 8 && (dc->GetDeviceCaps(TDeviceCap::RasterCaps) & RC_PALETTE) ? LongTrue : LongFalse;
    } catch (...) {
        return LongFalse;
    }
}

} // namespace tessaran
