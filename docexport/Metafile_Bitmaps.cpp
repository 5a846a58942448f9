// The interpreter's bitmap records: blits with a source bitmap become image
// items whose pictures join the engine's image resources (a blit landing
// exactly on the image made just before is merged into it; a bitmap sent
// in bands is put together), blits without a source become filled
// rectangles, and a pattern brush is laid out as image tiles.

#include "docexport/Doc_Pictures.h"
#include "docexport/Metafile_Processor.h"

#include "platform/Pascal.h"
#include "platform/Raster_Operations.h"

#include <cmath>

namespace tessaran {

namespace {

void PutU32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}


// Pattern tiles beyond this many are not laid out.
constexpr std::int64_t MaxPatternTiles = 100000;

} // namespace

std::vector<std::uint8_t> BuildBMPStream(const TEmfRecord &r, std::size_t offBmi, std::size_t cbBmi,
                                         std::size_t offBits, std::size_t cbBits, int replaceHeight)
{
    if (cbBmi < 40 || !r.Has(offBmi, cbBmi) || !r.Has(offBits, cbBits) || r.U32(offBmi) != 40)
        return {};
    const std::uint16_t bitCount = r.U16(offBmi + 14);
    const std::uint32_t compression = r.U32(offBmi + 16);
    const std::uint32_t clrUsed = r.U32(offBmi + 32);
    std::uint64_t table = 0;
    if (compression == 3)
        table = 12;
    else if (compression == 0 && bitCount > 8 && clrUsed == 0)
        table = 0;
    else if (clrUsed != 0)
        table = std::uint64_t(clrUsed) * 4;
    else if (bitCount <= 16)
        table = (std::uint64_t{1} << bitCount) * 4;
    else
        return {};
    if (!r.Has(offBmi + 40, table))
        return {};
    // The bits follow the colour table in the file whatever cbBmi says.
    const std::uint32_t bitsOffset = static_cast<std::uint32_t>(14 + 40 + table);
    std::vector<std::uint8_t> out;
    out.reserve(bitsOffset + cbBits);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(bitsOffset + cbBits));
    PutU32(out, 0);
    PutU32(out, bitsOffset);
    const auto header = r.Slice(offBmi, 40);
    out.insert(out.end(), header.begin(), header.end());
    if (replaceHeight != 0)
        for (int i = 0; i < 4; ++i)
            out[14 + 8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(replaceHeight) >> (8 * i));
    const auto colours = r.Slice(offBmi + 40, static_cast<std::size_t>(table));
    out.insert(out.end(), colours.begin(), colours.end());
    const auto bits = r.Slice(offBits, cbBits);
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

namespace {

// The source bitmap of a blit record, or false for a fill or a bitmap that
// cannot be read.
bool LoadSource(const TEmfRecord &r, std::size_t fields, TBitmap &bitmap, int replaceHeight = 0)
{
    const std::uint32_t offBmi = r.U32(fields), cbBmi = r.U32(fields + 4);
    const std::uint32_t offBits = r.U32(fields + 8), cbBits = r.U32(fields + 12);
    const std::vector<std::uint8_t> bmp = BuildBMPStream(r, offBmi, cbBmi, offBits, cbBits, replaceHeight);
    if (bmp.empty())
        return false;
    try {
        bitmap.LoadFromBytes(bmp);
    } catch (const EInvalidGraphic &) {
        return false;
    }
    return !bitmap.Empty();
}

bool HasSource(const TEmfRecord &r, std::size_t fields) { return r.U32(fields + 4) != 0 && r.U32(fields + 12) != 0; }

} // namespace

bool TdeMetafileProcessor::ClipNotEmpty() const
{
    return FClipRect.Left != 0 || FClipRect.Top != 0 || FClipRect.Right - FClipRect.Left != 0 ||
           FClipRect.Bottom - FClipRect.Top != 0;
}

std::unique_ptr<TdeImageItem> TdeMetafileProcessor::NewImageItem()
{
    auto item = std::make_unique<TdeImageItem>();
    item->Settings.Assign(FEngine.ImageSettings());
    if (!item->Settings.Autosize)
        item->Settings.Stretch = true;
    item->IndexNo = FEngine.AppendImageResource(TdeImageResource{}, nullptr);
    return item;
}

void TdeMetafileProcessor::ReleaseReservedSlot()
{
    if (!FEngine.FImageResourceList.empty())
        FEngine.FImageResourceList.pop_back();
    FEngine.FImageResourceHashList.resize(FEngine.FImageResourceList.size());
}

int TdeMetafileProcessor::FindMergeTarget(const TdeRect &rect) const
{
    const TdeItemList &items = *FEngine.FCurrentDocumentItemList;
    if (items.empty())
        return -1;
    const auto *last = dynamic_cast<const TdeImageItem *>(items.back().get());
    if (!last || dynamic_cast<const TdeImageStream *>(last))
        return -1;
    if (last->X == rect.Left && last->Y == rect.Top && last->Width == RoundSafe(rect.Right - rect.Left) &&
        last->Height == RoundSafe(rect.Bottom - rect.Top))
        return last->IndexNo;
    return -1;
}

void TdeMetafileProcessor::AddBlitImage(std::uint32_t rop, int index, const TBitmap &image,
                                        std::unique_ptr<TdeImageItem> item)
{
    auto &resources = FEngine.FImageResourceList;
    auto &digests = FEngine.FImageResourceHashList;
    const std::size_t k = static_cast<std::size_t>(index);
    TBitmap earlier;
    if (index != item->IndexNo && k < resources.size() && resources[k].Graphic &&
        DecodePicture(*resources[k].Graphic, earlier)) {
        DrawBitmap(earlier, 0, 0, image, rop);
        if (k < digests.size() && digests[k]) {
            // A picture with a digest may be shown by other items too: the
            // merged picture takes the reserved slot and only the item
            // merged into shows it.
            resources[static_cast<std::size_t>(item->IndexNo)].Graphic =
                std::make_unique<TdePicture>(BitmapPicture(earlier));
            static_cast<TdeImageItem &>(*Items().back()).IndexNo = item->IndexNo;
        } else {
            *resources[k].Graphic = BitmapPicture(earlier);
            ReleaseReservedSlot();
        }
        return;
    }
    // A fresh picture starts as the page's white, so that a mask blit
    // followed by a paint blit leaves the page showing around the picture.
    TBitmap G(image.Width(), image.Height());
    G.Fill(clWhite);
    DrawBitmap(G, 0, 0, image, rop);
    TdePicture picture = BitmapPicture(G);
    auto digest = std::make_unique<TdeHashValue>();
    const int found = FEngine.FindImageHash(picture.Data, *digest);
    if (found == -1) {
        const std::size_t slot = static_cast<std::size_t>(item->IndexNo);
        resources[slot].Graphic = std::make_unique<TdePicture>(std::move(picture));
        digests.resize(resources.size());
        digests[slot] = std::move(digest);
    } else {
        item->IndexNo = found;
        ReleaseReservedSlot();
    }
    Append(std::move(item));
}

void TdeMetafileProcessor::PlaceSourceInClip(TdeImageItem &item, const TdeRect &rect, const TdePoint &p,
                                             bool mirroredX, bool mirroredY)
{
    item.Settings.Center = FClipRect.Left != p.X || FClipRect.Top != p.Y;
    if (rect.Left == FClipRect.Left && rect.Top == FClipRect.Top) {
        item.X = FClipRect.Left;
        item.Y = FClipRect.Top;
    }
    item.Width = FClipRect.Right - FClipRect.Left;
    item.Height = FClipRect.Bottom - FClipRect.Top;
    if (mirroredX)
        item.Width = -item.Width;
    if (mirroredY)
        item.Height = -item.Height;
}

namespace {
TdeRect BoundsRect(const TEmfRecord &r)
{
    const TRect b = r.RectL(8);
    return TdeRect{double(b.Left), double(b.Top), double(b.Right), double(b.Bottom)};
}
} // namespace

void TdeMetafileProcessor::StretchBlt(const TEmfRecord &r)
{
    if (!FProcessText && !FProcessImage && !FProcessShape)
        return;
    if (!HasSource(r, 84)) {
        BlitFill(BoundsRect(r));
        return;
    }
    TBitmap source;
    if (!FProcessImage || !LoadSource(r, 84, source))
        return;
    auto item = NewImageItem();
    const TdeRect bounds = BoundsRect(r);
    if (ClipNotEmpty())
        FClipRect = bounds;
    const TdeRect rect = TransformRect(r.RectL(8));
    const TdePoint P = TransformPoint(r.I32(24), r.I32(28));
    const TdePoint S = TransformExtent(r.I32(32), r.I32(36));
    item->X = P.X;
    item->Y = P.Y;
    item->Width = S.X;
    item->Height = S.Y;
    item->DisplayRect = TdeRect{P.X, P.Y, P.X + std::fabs(S.X), P.Y + std::fabs(S.Y)};
    if (FIsClipRect)
        FClipRect = bounds;
    if (ClipNotEmpty())
        PlaceSourceInClip(*item, rect, P, std::int64_t(r.I32(100)) * r.I32(32) < 0,
                          std::int64_t(r.I32(104)) * r.I32(36) < 0);
    else
        item->Settings.Stretch = true;
    item->X += FStartX;
    item->Y += FStartY;
    MergeOrAddBlit(r.U32(40), source, std::move(item));
}

std::unique_ptr<TdeImageItem> TdeMetafileProcessor::BlitItemInBounds(const TEmfRecord &r, const TdeRect &rect,
                                                                    bool boundsOutsideClip)
{
    auto item = NewImageItem();
    const TdePoint P = TransformPoint(r.I32(24), r.I32(28));
    const TdePoint Q = TransformPoint(r.I32(32), r.I32(36));
    item->X = P.X;
    item->Y = P.Y;
    item->Width = rect.Right - rect.Left;
    item->Height = rect.Bottom - rect.Top;
    item->DisplayRect = TdeRect{item->X, item->Y, item->X + item->Width, item->Y + item->Height};
    if (FIsClipRect)
        FClipRect = BoundsRect(r);
    if (ClipNotEmpty()) {
        PlaceSourceInClip(*item, rect, P, false, false);
        FClipRect = TdeRect{};
    } else {
        if (Q.X != item->Width || Q.Y != item->Height)
            item->Settings.Stretch = true;
        if (boundsOutsideClip) {
            item->X = rect.Left;
            item->Y = rect.Top;
        }
    }
    item->X += FStartX;
    item->Y += FStartY;
    return item;
}

void TdeMetafileProcessor::MergeOrAddBlit(std::uint32_t rop, const TBitmap &source, std::unique_ptr<TdeImageItem> item)
{
    const int k = FindMergeTarget(TdeRect{item->X, item->Y, item->X + item->Width, item->Y + item->Height});
    const int index = k != -1 ? k : item->IndexNo;
    AddBlitImage(rop, index, source, std::move(item));
}

void TdeMetafileProcessor::MaskBlt(const TEmfRecord &r)
{
    if (!FProcessText && !FProcessImage && !FProcessShape)
        return;
    const TdeRect rect = TransformRect(r.RectL(8));
    if (!HasSource(r, 84)) {
        BlitFill(rect);
        return;
    }
    TBitmap source;
    if (!FProcessImage || !LoadSource(r, 84, source))
        return;
    MergeOrAddBlit(r.U32(40), source, BlitItemInBounds(r, rect, true));
}

void TdeMetafileProcessor::BitBlt(const TEmfRecord &r)
{
    if (HasSource(r, 84)) {
        TBitmap source;
        if (!LoadSource(r, 84, source))
            return;
        auto item = BlitItemInBounds(r, TransformRect(r.RectL(8)), false);
        FEngine.FImageResourceList[static_cast<std::size_t>(item->IndexNo)].Graphic =
            std::make_unique<TdePicture>(BitmapPicture(source));
        Append(std::move(item));
        return;
    }
    const std::uint32_t rop = r.U32(40);
    if (!FProcessShape || !IsNamedRasterOperation(rop))
        return;
    const std::int32_t x = r.I32(24), y = r.I32(28), cx = r.I32(32), cy = r.I32(36);
    const TdePoint P0 = Offset(TransformPoint(x, y));
    const TdePoint P1 = Offset(TransformPoint(double(x) + cx, double(y) + cy));
    auto shape = NewShapeItem(TdeShapeType::stRectangle);
    shape->SetPoints({P0, P1});
    shape->Pen.Style = TPenStyle::psClear;
    const std::shared_ptr<const TBitmap> pattern = FCurrentBrush.Bitmap;
    if (FBKMode == 1 && pattern)
        shape->SetBrush(TdeBrush{FTextColor, FCurrentBrush.Style});
    Append(std::move(shape));
    if (!pattern || pattern->Empty())
        return;

    const TRect box{RoundToInt(P0.X), RoundToInt(P0.Y), RoundToInt(P1.X), RoundToInt(P1.Y)};
    const int left = std::min(box.Left, box.Right), right = std::max(box.Left, box.Right);
    const int top = std::min(box.Top, box.Bottom), bottom = std::max(box.Top, box.Bottom);
    const std::int64_t tiles = (std::int64_t(right - left) / pattern->Width() + 1) *
                               (std::int64_t(bottom - top) / pattern->Height() + 1);
    if (tiles > MaxPatternTiles)
        return;
    auto clip = std::make_unique<TdeClipItem>();
    clip->SetRects(1);
    clip->ClipRects()[0] = box;
    clip->Mode = 1;
    Append(std::move(clip));
    auto resource = TdeImageResource{};
    resource.Graphic = std::make_unique<TdePicture>(BitmapPicture(*pattern));
    const int k = FEngine.AppendImageResource(std::move(resource), nullptr);
    // Tiles at the pattern's own size from the top-left corner on, every
    // one that starts inside the rectangle; the clip cuts the last ones.
    for (int ty = top; ty < bottom; ty += pattern->Height())
        for (int tx = left; tx < right; tx += pattern->Width()) {
            auto tile = std::make_unique<TdeImageItem>();
            tile->Settings.Assign(FEngine.ImageSettings());
            tile->IndexNo = k;
            tile->X = tx;
            tile->Y = ty;
            tile->Width = pattern->Width();
            tile->Height = pattern->Height();
            tile->DisplayRect = TdeRect{tile->X, tile->Y, tile->X + tile->Width, tile->Y + tile->Height};
            tile->Settings.Stretch = true;
            if (FBKMode == 1)
                tile->Settings.Transparent = true;
            Append(std::move(tile));
        }
    auto restore = std::make_unique<TdeClipItem>();
    restore->Restore = true;
    Append(std::move(restore));
}

void TdeMetafileProcessor::StretchDIBits(const TEmfRecord &r)
{
    if (!FProcessText && !FProcessImage && !FProcessShape)
        return;
    const TdeRect rect = TransformRect(r.RectL(8));
    if (!HasSource(r, 48)) {
        BlitFill(rect);
        return;
    }
    TBitmap source;
    if (!FProcessImage || !LoadSource(r, 48, source))
        return;
    auto item = NewImageItem();
    const std::int32_t x = r.I32(24), y = r.I32(28), cx = r.I32(72), cy = r.I32(76);
    const TdePoint P = TransformPoint(x, y);
    // The destination's far corner transformed too, so that a bitmap
    // inside a stretched or moved drawing keeps its place and size.
    TdePoint S;
    if (FStretchMode == 4) {
        S = TdePoint{double(cx), double(cy)};
    } else {
        const TdePoint far = TransformPoint(double(x) + cx, double(y) + cy);
        S = TdePoint{far.X - P.X, far.Y - P.Y};
    }
    item->X = std::min(P.X, P.X + S.X);
    item->Y = std::min(P.Y, P.Y + S.Y);
    item->Width = std::fabs(S.X);
    item->Height = std::fabs(S.Y);
    item->DisplayRect = TdeRect{item->X, item->Y, item->X + item->Width, item->Y + item->Height};
    FClipRect = BoundsRect(r);
    item->Settings.Stretch = true;
    item->X += FStartX;
    item->Y += FStartY;
    MergeOrAddBlit(r.U32(68), source, std::move(item));
}

void TdeMetafileProcessor::SetDIBitsToDevice(const TEmfRecord &r)
{
    const TdeRect rect = TransformRect(r.RectL(8));
    if (!HasSource(r, 48)) {
        BlitFill(rect);
        return;
    }
    if (!FProcessImage)
        return;
    // A top-down bitmap is read with the source height as a bottom-up one.
    const std::uint32_t offBmi = r.U32(48);
    const int height = r.Has(offBmi + 8, 4) ? r.I32(offBmi + 8) : 0;
    TBitmap band;
    if (!LoadSource(r, 48, band, height < 0 ? r.I32(44) : 0))
        return;
    if (r.U32(68) == 0) {
        auto item = NewImageItem();
        item->X = rect.Left + FStartX;
        item->Y = rect.Top + FStartY;
        item->Width = rect.Right - rect.Left;
        item->Height = rect.Bottom - rect.Top;
        item->DisplayRect = TdeRect{item->X, item->Y, item->X + item->Width, item->Y + item->Height};
        Append(std::move(item));
    }
    AppendDIBBand(band);
    // A continuation band with no image before it has nothing to grow.
    if (r.U32(68) != 0 && !Items().empty()) {
        auto *last = dynamic_cast<TdeImageItem *>(Items().back().get());
        const TdePicture *picture = last ? FEngine.GetImageResource(last->IndexNo) : nullptr;
        if (picture)
            last->Height = picture->Height;
    }
}

void TdeMetafileProcessor::AppendDIBBand(const TBitmap &band)
{
    if (Items().empty())
        return;
    auto *last = dynamic_cast<TdeImageItem *>(Items().back().get());
    if (!last || dynamic_cast<TdeImageStream *>(last))
        return;
    const std::size_t k = static_cast<std::size_t>(last->IndexNo);
    auto &resources = FEngine.FImageResourceList;
    if (k >= resources.size())
        return;
    TBitmap G;
    int r0 = 0;
    if (resources[k].Graphic && DecodePicture(*resources[k].Graphic, G)) {
        r0 = G.Height();
        // Bands of another width do not belong to this picture.
        if (G.Width() != band.Width())
            return;
    }
    TBitmap joined(band.Width(), r0 + band.Height());
    DrawBitmap(joined, 0, 0, G);
    DrawBitmap(joined, 0, r0, band);
    resources[k].Graphic = std::make_unique<TdePicture>(BitmapPicture(joined));
    if (k < FEngine.FImageResourceHashList.size())
        FEngine.FImageResourceHashList[k].reset();
}

void TdeMetafileProcessor::BlitFill(const TdeRect &rect)
{
    if (FProcessText && !TextList().empty()) {
        FStretchBltRect = rect;
        if (FJustProcessedTextItem > 0)
            --FJustProcessedTextItem;
        FJustProcessedStretchBltShape = true;
    } else if (FProcessShape) {
        FStretchBltRect = rect;
        FJustProcessedStretchBltShape = true;
    }
    FlushPendingBlitRect();
}

void TdeMetafileProcessor::FlushPendingBlitRect()
{
    if (FJustProcessedTextItem > 0)
        --FJustProcessedTextItem;
    if (!FJustProcessedStretchBltShape || !FProcessShape)
        return;
    const TdePoint P0{FStretchBltRect.Left * RX() + FStartX, FStretchBltRect.Top * RY() + FStartY};
    const TdePoint P1{FStretchBltRect.Right * RX() + FStartX, FStretchBltRect.Bottom * RY() + FStartY};
    std::unique_ptr<TdeShapeItem> item;
    if (FStretchBltRect.Left != FStretchBltRect.Right && FStretchBltRect.Top != FStretchBltRect.Bottom) {
        item = NewShapeItem(TdeShapeType::stRectangle);
        if (FBKMode == 2)
            item->Pen.Color = FBKColor;
        else
            item->Pen.Style = TPenStyle::psClear;
        if (FROP2 == 13)
            item->Pen.Color = item->Brush()->Color;
    } else {
        item = NewShapeItem(TdeShapeType::stLine);
        item->Pen.Color = FCurrentBrush.Color;
    }
    item->SetPoints({P0, P1});
    Append(std::move(item));
    FJustProcessedStretchBltShape = false;
}

} // namespace tessaran
