// The engine's image and metafile calls, its image resources and the two
// image operations the output engine uses. Each picture is held once per
// document; image items name it by index.

#include "docexport/Doc_Pictures.h"
#include "docexport/Document_Engine.h"
#include "platform/Jpeg_Image.h"
#include "platform/Pascal.h"
#include "platform/Raster_Operations.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

bool DecodePicture(const TdePicture &picture, TBitmap &bitmap)
{
    if (picture.Empty())
        return false;
    try {
        if (picture.Format == "bmp")
            bitmap.LoadFromBytes(picture.Data);
        else if (picture.Format == "jpeg")
            bitmap = DecodeJpeg(picture.Data);
        else
            return false;
    } catch (const EInvalidGraphic &) {
        return false;
    }
    return !bitmap.Empty();
}

TdePicture BitmapPicture(const TBitmap &bitmap)
{
    TdePicture picture;
    picture.Format = "bmp";
    picture.Data = bitmap.SaveToBytes();
    picture.Width = bitmap.Width();
    picture.Height = bitmap.Height();
    return picture;
}

namespace {

bool ImageCallAllowed(const TdeCustomDocumentEngine &engine)
{
    return engine.IsDocumentStarted() && engine.Capabilities().Contains(TdeCapabilityKind::ckImage) &&
           engine.ItemsToRender().Contains(TdeItemsToRenderKind::irImage);
}

std::vector<std::uint8_t> WholeStream(TStream &stream)
{
    stream.Seek(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

bool IsJpeg(std::span<const std::uint8_t> bytes, int *width = nullptr, int *height = nullptr)
{
    try {
        const TBitmap decoded = DecodeJpeg(bytes);
        if (width)
            *width = decoded.Width();
        if (height)
            *height = decoded.Height();
        return !decoded.Empty();
    } catch (const EInvalidGraphic &) {
        return false;
    }
}

} // namespace

// ---- Resources ------------------------------------------------------------------

int TdeCustomDocumentEngine::FindImageHash(std::span<const std::uint8_t> bytes, TdeHashValue &hash)
{
    if (!FCapabilities.Contains(TdeCapabilityKind::ckImageReusable) || !Preferences().UseImagesAsResources())
        return -1;
    FMD5ImageHash.Initilize();
    FMD5ImageHash.Update(bytes.data(), static_cast<std::uint32_t>(bytes.size()), true);
    hash.HashValue = FMD5ImageHash.Finalize();
    for (std::size_t i = 0; i < FImageResourceHashList.size(); ++i)
        if (FImageResourceHashList[i] && FImageResourceHashList[i]->HashValue == hash.HashValue)
            return static_cast<int>(i);
    return -1;
}

int TdeCustomDocumentEngine::AppendImageResource(TdeImageResource resource, std::unique_ptr<TdeHashValue> hash)
{
    // One digest slot per resource, so that a digest's position is its
    // resource's index even where resources come without digests.
    FImageResourceHashList.resize(FImageResourceList.size());
    FImageResourceList.push_back(std::move(resource));
    FImageResourceHashList.push_back(std::move(hash));
    return static_cast<int>(FImageResourceList.size()) - 1;
}

int TdeCustomDocumentEngine::AddImageResource(std::unique_ptr<TdePicture> Graphic)
{
    if (!Graphic)
        return -1;
    auto hash = std::make_unique<TdeHashValue>();
    const int found = FindImageHash(Graphic->Data, *hash);
    if (found >= 0)
        return found;
    TdeImageResource resource;
    resource.Graphic = std::move(Graphic);
    return AppendImageResource(std::move(resource), std::move(hash));
}

int TdeCustomDocumentEngine::AddImageStreamResource(TStream &Stream)
{
    auto hash = std::make_unique<TdeHashValue>();
    const int found = FindImageHash(WholeStream(Stream), *hash);
    if (found >= 0)
        return found;
    TdeImageResource resource;
    resource.Stream = &Stream;
    return AppendImageResource(std::move(resource), std::move(hash));
}

int TdeCustomDocumentEngine::RegisterImage(const TdePicture &AGraphic, bool AsResource)
{
    if (!FIsDocumentStarted || !FCapabilities.Contains(TdeCapabilityKind::ckImage))
        return -1;
    Preferences().SetUseImagesAsResources(AsResource);
    if (AGraphic.Empty())
        return -1;
    auto copy = std::make_unique<TdePicture>(AGraphic);
    TBitmap decoded;
    if (!DecodePicture(*copy, decoded)) {
        ReportError<EUnsupportedGraphics>();
        return -1;
    }
    copy->Width = decoded.Width();
    copy->Height = decoded.Height();
    return AddImageResource(std::move(copy));
}

int TdeCustomDocumentEngine::AddImageAsResource(const TdePicture &AGraphic) { return RegisterImage(AGraphic, true); }

const TdePicture *TdeCustomDocumentEngine::GetImageResource(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(FImageResourceList.size()))
        return nullptr;
    return FImageResourceList[static_cast<std::size_t>(Index)].Graphic.get();
}

// ---- Image items ---------------------------------------------------------------------

void TdeCustomDocumentEngine::PlaceImageItem(TdeRect Rect, int Index)
{
    Rect.Left += FBandRect.Left;
    Rect.Right += FBandRect.Left;
    Rect.Top += FBandRect.Top;
    Rect.Bottom += FBandRect.Top;
    // An index of a pass-through stream or of a released picture names no
    // picture to place.
    const TdePicture *graphic = GetImageResource(Index);
    if (!graphic || !IsInsideBand(Rect.Left, Rect.Top))
        return;
    auto item = std::make_unique<TdeImageItem>(Rect);
    item->Settings.Assign(ImageSettings());
    const double W = graphic->Width, H = graphic->Height;
    const double RW = item->DisplayRect.Right - item->DisplayRect.Left;
    const double RH = item->DisplayRect.Bottom - item->DisplayRect.Top;
    const TdeImageSettings &settings = item->Settings;
    if (settings.Autosize) {
        // A source resolution of 0 or below has no scale: natural size.
        const double scale = settings.SourceDPI > 0 ? settings.SourceDPI / double(ScreenPixelsPerInch) : 1.0;
        item->Width = W / scale;
        item->Height = H / scale;
        item->DisplayRect = TdeRect{item->X, item->Y, item->X + item->Width, item->Y + item->Height};
    } else {
        double w, h;
        if (settings.Stretch || (settings.KeepAspectRatio && (W > RW || H > RH))) {
            if (settings.KeepAspectRatio && W > 0 && H > 0) {
                const double R = W / H;
                if (W > H) {
                    w = RW;
                    h = RW / R;
                    if (h > RH) {
                        h = RH;
                        w = RH * R;
                    }
                } else {
                    h = RH;
                    w = RH * R;
                    if (w > RW) {
                        w = RW;
                        h = RW / R;
                    }
                }
            } else {
                w = RW;
                h = RH;
            }
        } else if (RW < W || RH < H) {
            w = RW;
            h = RH;
        } else {
            w = W;
            h = H;
        }
        item->Width = RoundSafe(w);
        item->Height = RoundSafe(h);
        if (settings.Center) {
            item->X += (RW - w) / 2;
            item->Y += (RH - h) / 2;
        }
    }
    if (settings.IsFrame) {
        item->Frame.Assign(Frame());
        item->Pen.Assign(Pen());
    }
    item->Brush.Assign(Brush());
    item->IndexNo = Index;
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::DrawImage(const TdeRect &ImageRect, const TdePicture &AGraphic)
{
    if (!ImageCallAllowed(*this))
        return;
    PlaceImageItem(UnitToNativeRect(ImageRect), RegisterImage(AGraphic, Preferences().UseImagesAsResources()));
}

void TdeCustomDocumentEngine::DrawImage(double X, double Y, const TdePicture &AGraphic)
{
    if (!ImageCallAllowed(*this))
        return;
    const double x = UnitToNativeX(X), y = UnitToNativeY(Y);
    const int index = RegisterImage(AGraphic, Preferences().UseImagesAsResources());
    const TdePicture *graphic = GetImageResource(index);
    if (!graphic)
        return;
    PlaceImageItem(TdeRect{x, y, x + graphic->Width * double(ScreenPixelsPerInch) / InputXRes(),
                           y + graphic->Height * double(ScreenPixelsPerInch) / InputYRes()},
                   index);
}

void TdeCustomDocumentEngine::DrawImage(const TdeRect &ImageRect, int Index)
{
    if (!ImageCallAllowed(*this))
        return;
    PlaceImageItem(UnitToNativeRect(ImageRect), Index);
}

void TdeCustomDocumentEngine::DrawImage(int ColumnNo, double Width, double Height, const TdePicture &AGraphic)
{
    if (!ImageCallAllowed(*this) || !FIsTableStarted || !FTableItem)
        return;
    TdeTableItem &table = *FTableItem;
    if (table.RowCount < 0 || ColumnNo < 0 || ColumnNo >= table.ColCount())
        return;
    const int index = RegisterImage(AGraphic, Preferences().UseImagesAsResources());
    const TdePicture *graphic = GetImageResource(index);
    if (!graphic)
        return;
    auto item = std::make_unique<TdeImageItem>();
    item->Settings.Assign(ImageSettings());
    if (item->Settings.IsFrame) {
        item->Frame.Assign(Frame());
        item->Pen.Assign(Pen());
    }
    item->Brush.Assign(Brush());
    item->IndexNo = index;
    // Cell coordinates: the column and the row.
    item->X = ColumnNo;
    item->Y = table.RowCount;
    const bool natural = item->Settings.Autosize;
    const double w = natural ? graphic->Width : UnitToNativeX(Width);
    const double h = natural ? graphic->Height : UnitToNativeY(Height);
    const TdeRect &m = table.Settings.NativeInternalMargin();
    TdeColumn &column = table.Columns[static_cast<std::size_t>(ColumnNo)];
    double CW = static_cast<double>(RoundSafe(m.Left + m.Right + w));
    double CH;
    if (table.Settings.AutoAdjustColumnWidth) {
        if (column.Width < CW)
            column.Width = CW;
        CH = static_cast<double>(RoundSafe(h + m.Top + m.Bottom));
    } else {
        CW = std::min(CW, static_cast<double>(RoundSafe(column.Width)));
        // The aspect ratio kept when the width was capped.
        CH = w > 0 ? static_cast<double>(RoundSafe((CW - m.Left - m.Right) * h / w + m.Top + m.Bottom))
                   : static_cast<double>(RoundSafe(h + m.Top + m.Bottom));
    }
    int &rowHeight = table.RowHeights[static_cast<std::size_t>(table.RowCount)];
    if (rowHeight < CH)
        rowHeight = static_cast<int>(CH);
    item->Settings.Autosize = false;
    item->Width = CW - m.Left - m.Right;
    item->Height = CH - m.Top - m.Bottom;
    item->DisplayRect = TdeRect{0, 0, item->Width, item->Height};
    table.RowItemsList[static_cast<std::size_t>(table.RowCount)].push_back(std::move(item));
}

void TdeCustomDocumentEngine::DrawJPEGDirect(const TdeRect &ARect, int AImagePixelWidth, int AImagePixelHeight,
                                             TStream &AStream)
{
    if (!ImageCallAllowed(*this))
        return;
    const std::vector<std::uint8_t> bytes = WholeStream(AStream);
    // The bytes are written under the JPEG filter: anything else would
    // give a picture no reader can show.
    if (!IsJpeg(bytes)) {
        ReportError<EUnsupportedGraphics>();
        return;
    }
    const TdeRect rect = UnitToNativeRect(ARect);
    auto item = std::make_unique<TdeImageStream>(rect);
    item->X = rect.Left;
    item->Y = rect.Top;
    item->DisplayRect = rect;
    item->Settings.Assign(ImageSettings());
    item->IndexNo = AddImageStreamResource(AStream);
    item->Stream.WriteBuffer(bytes.data(), bytes.size());
    item->ImageWidth = AImagePixelWidth;
    item->ImageHeight = AImagePixelHeight;
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::DrawJPEGDirect(const TdeRect &ImageRect, const TdePicture &AGraphic)
{
    if (!ImageCallAllowed(*this))
        return;
    int width = 0, height = 0;
    if (AGraphic.Format != "jpeg" || !IsJpeg(AGraphic.Data, &width, &height)) {
        ReportError<EUnsupportedGraphics>();
        return;
    }
    const TdeRect rect = UnitToNativeRect(ImageRect);
    auto item = std::make_unique<TdeImageStream>(rect);
    item->X = rect.Left;
    item->Y = rect.Top;
    item->DisplayRect = rect;
    item->Settings.Assign(ImageSettings());
    item->Stream.WriteBuffer(AGraphic.Data.data(), AGraphic.Data.size());
    item->ImageWidth = width;
    item->ImageHeight = height;
    item->IndexNo = AddImageStreamResource(item->Stream);
    AddItem(std::move(item));
}

// ---- Metafiles -------------------------------------------------------------------------

void TdeCustomDocumentEngine::PlayMetafile(TMetafile &Metafile)
{
    if (!FIsDocumentStarted)
        return;
    FNoSorting = false;
    ProcessMetafile(Metafile, 0, 0);
}

void TdeCustomDocumentEngine::PlayMetafile(double X, double Y, TMetafile &Metafile)
{
    if (!FIsDocumentStarted)
        return;
    FNoSorting = false;
    ProcessMetafile(Metafile, UnitToNativeX(X), UnitToNativeY(Y));
}

void TdeCustomDocumentEngine::PlayMetafile(const TdeRect &DestRect, TMetafile &Metafile)
{
    if (!FIsDocumentStarted)
        return;
    FNoSorting = false;
    if (!FCanvas)
        return;
    const double f = FNativeConversionFactor;
    FCanvas->StretchDraw(TRect{RoundToInt(DestRect.Left * f), RoundToInt(DestRect.Top * f),
                               RoundToInt(DestRect.Right * f),
                               RoundToInt(DestRect.Bottom * f)},
                         Metafile);
}

// ---- For the output engine ---------------------------------------------------------------

TBitmap TdeCustomDocumentEngine::ImageItemToBitmap(const TdeImageItem &Item) const
{
    const TdePicture *picture = GetImageResource(Item.IndexNo);
    TBitmap G;
    if (!picture || !DecodePicture(*picture, G))
        return TBitmap();
    const int W = G.Width(), H = G.Height();
    const double w = std::fabs(Item.Width), h = std::fabs(Item.Height);
    const double DW = Item.DisplayRect.Right - Item.DisplayRect.Left;
    const double DH = Item.DisplayRect.Bottom - Item.DisplayRect.Top;
    const auto size = [](double v) { return std::max(1, RoundToInt(v)); };
    const TColor brush = ColorToRGB(Item.Brush.Color);

    TBitmap bitmap(W, H, Item.Settings.ImagePixelFormat);
    bitmap.Fill(brush);
    // A transparent picture is combined with the brush colour under it.
    const std::uint32_t mode = Item.Settings.Transparent ? rop::SRCAND : rop::SRCCOPY;
    const auto draw = [&](int x, int y) { DrawBitmap(bitmap, x, y, G, mode); };
    const auto stretch = [&] {
        TBitmap scaled(bitmap.Width(), bitmap.Height());
        StretchDrawBitmap(scaled, G);
        DrawBitmap(bitmap, 0, 0, scaled, mode);
    };
    const bool frames = FCapabilities.Contains(TdeCapabilityKind::ckImageFrame);
    if (Item.Settings.Autosize) {
        bitmap.SetSize(size(w), size(h));
        stretch();
    } else if (Item.Settings.Stretch) {
        if (FCapabilities.Contains(TdeCapabilityKind::ckImageStretch)) {
            draw(0, 0);
        } else {
            bitmap.SetSize(size(w), size(h));
            stretch();
        }
    } else if (Item.Settings.Center) {
        if (frames) {
            if (DW > W && DH > H) {
                draw(0, 0);
            } else if (DW < W && DH < H) {
                bitmap.SetSize(size(w), size(h));
                draw(RoundToInt((w - W) / 2), RoundToInt((h - H) / 2));
            } else if (DH < H) {
                bitmap.SetSize(W, size(h));
                draw(0, RoundToInt((h - H) / 2));
            } else {
                bitmap.SetSize(size(w), H);
                draw(RoundToInt((w - W) / 2), 0);
            }
        } else {
            bitmap.SetSize(size(w), size(h));
            bitmap.Fill(brush);
            draw(RoundToInt((w - W) / 2), RoundToInt((h - H) / 2));
        }
    } else if (frames) {
        bitmap.SetSize(DW < W ? size(w) : W, DH < H ? size(h) : H);
        draw(0, 0);
    } else {
        bitmap.SetSize(size(w), size(h));
        bitmap.Fill(brush);
        draw(0, 0);
    }
    return bitmap;
}

std::unique_ptr<TMemoryStream> TdeCustomDocumentEngine::BitmapToJPEGStream(const TBitmap &Bitmap, int Quality)
{
    auto stream = std::make_unique<TMemoryStream>();
    if (Bitmap.Empty())
        return stream;
    std::vector<std::uint8_t> bytes;
    if (Bitmap.Height() == 1) {
        // A one-pixel-high picture is written two rows high.
        TBitmap twoRows(Bitmap.Width(), 2);
        DrawBitmap(twoRows, 0, 0, Bitmap);
        DrawBitmap(twoRows, 0, 1, Bitmap);
        bytes = EncodeJpeg(twoRows, std::clamp(Quality, 1, 100), false);
    } else {
        bytes = EncodeJpeg(Bitmap, std::clamp(Quality, 1, 100), false);
    }
    stream->WriteBuffer(bytes.data(), bytes.size());
    return stream;
}

} // namespace tessaran
