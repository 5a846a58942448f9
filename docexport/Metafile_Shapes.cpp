// The interpreter's vector records: box shapes, lines, polygons and
// polylines in both widths, Bezier curves, poly-polygons, poly-draw figures,
// region fills, the path records and the clip records. Each drawing record
// becomes one item of the page's list, in record order.

#include "docexport/Doc_Pictures.h"
#include "docexport/Metafile_Processor.h"

#include "platform/Pascal.h"

#include <cmath>

namespace tessaran {

namespace {

// count elements of size bytes each from offset lie inside the record.
bool Fits(const TEmfRecord &r, std::size_t offset, std::uint64_t count, std::size_t size)
{
    return count <= r.Size() / (size ? size : 1) && r.Has(offset, static_cast<std::size_t>(count * size));
}

TPoint PointAt(const TEmfRecord &r, std::size_t offset, bool small)
{
    return small ? r.PointS(offset) : r.PointL(offset);
}


} // namespace

std::unique_ptr<TdeShapeItem> TdeMetafileProcessor::NewShapeItem(TdeShapeType type)
{
    auto item = std::make_unique<TdeShapeItem>(true, type);
    item->Pen.Assign(FCurrentPen);
    item->SetBrush(TdeBrush{FCurrentBrush.Color, FCurrentBrush.Style});
    return item;
}

void TdeMetafileProcessor::BoxShape(const TEmfRecord &r, TdeShapeType type)
{
    if (!FProcessShape)
        return;
    const TRect box = r.RectL(8);
    TdePoints points{Offset(TransformPoint(box.Left, box.Top)), Offset(TransformPoint(box.Right, box.Bottom))};
    if (type == TdeShapeType::stRoundRect) {
        const TPoint corner = r.PointL(24);
        points.push_back(TdePoint{corner.X * FMapMXmul, corner.Y * FMapMYmul});
    } else if (type == TdeShapeType::stArc || type == TdeShapeType::stChord || type == TdeShapeType::stPie) {
        points.push_back(Offset(TransformPoint(r.PointL(24))));
        points.push_back(Offset(TransformPoint(r.PointL(32))));
    }
    auto item = NewShapeItem(type);
    item->SetPoints(points);
    if (type == TdeShapeType::stRectangle && FROP2 == 11)
        item->Pen.Color = FBKColor;
    Append(std::move(item));
}

void TdeMetafileProcessor::LineTo(const TEmfRecord &r)
{
    if (!FProcessShape)
        return;
    const TPoint to = r.PointL(8);
    auto item = NewShapeItem(TdeShapeType::stLine);
    item->SetPoints({Offset(TransformPoint(FCurrentPathPoint)), Offset(TransformPoint(to))});
    // The join and cap of the pen that draws the line.
    item->PenJoinStyle = FCurrentPenJoin;
    item->PenCapStyle = FCurrentPenCap;
    Append(std::move(item));
    FCurrentPathPoint = to;
    FUpdatePathX = 0;
}

void TdeMetafileProcessor::PolyShape(const TEmfRecord &r, TdeShapeType type, bool small, bool fromCurrent)
{
    // Beziers are made whatever the switches say.
    if (type != TdeShapeType::stPolyBezier && !FProcessShape)
        return;
    const std::uint32_t count = r.U32(24);
    const std::size_t size = small ? 4 : 8;
    if (!Fits(r, 28, count, size))
        return;
    TdePoints points;
    points.reserve(count + 1);
    if (fromCurrent)
        points.push_back(Offset(TransformPoint(FCurrentPathPoint)));
    TPoint last = FCurrentPathPoint;
    for (std::uint32_t i = 0; i < count; ++i) {
        last = PointAt(r, 28 + i * size, small);
        points.push_back(Offset(TransformPoint(last)));
    }
    auto item = NewShapeItem(type);
    item->SetPoints(points);
    Append(std::move(item));
    if (fromCurrent && count > 0) {
        FCurrentPathPoint = last;
        FUpdatePathX = 0;
    }
}

namespace {

// The counts of a multi-part figure, each part's points following the
// count array; empty when the counts do not match the points the record holds.
struct PolyParts {
    std::vector<std::uint32_t> counts;
    std::size_t pointsAt = 0;
    std::uint32_t total = 0;
};

bool ReadPolyParts(const TEmfRecord &r, bool small, PolyParts &parts)
{
    const std::uint32_t polys = r.U32(24);
    parts.total = r.U32(28);
    parts.pointsAt = 32 + std::size_t(polys) * 4;
    if (!Fits(r, 32, polys, 4) || !Fits(r, parts.pointsAt, parts.total, small ? 4 : 8))
        return false;
    std::uint64_t sum = 0;
    for (std::uint32_t k = 0; k < polys; ++k) {
        parts.counts.push_back(r.U32(32 + std::size_t(k) * 4));
        sum += parts.counts.back();
    }
    // Counts that do not add up to the points given would draw from
    // outside the point array.
    return sum == parts.total;
}

} // namespace

void TdeMetafileProcessor::PolyPolygon(const TEmfRecord &r, bool small)
{
    PolyParts parts;
    if (!FProcessShape || !ReadPolyParts(r, small, parts))
        return;
    auto item = std::make_unique<TdePolyPolygonItem>();
    item->NoPoly = static_cast<int>(parts.counts.size());
    item->SetNoPoints();
    for (std::size_t k = 0; k < parts.counts.size(); ++k)
        item->NoPoints[k + 1] = static_cast<int>(parts.counts[k]);
    item->NoPoints[0] = static_cast<int>(parts.total);
    item->SetPoints();
    const std::size_t size = small ? 4 : 8;
    for (std::uint32_t j = 0; j < parts.total; ++j)
        item->Points[j] = Offset(TransformPoint(PointAt(r, parts.pointsAt + j * size, small)));
    item->Pen.Assign(FCurrentPen);
    item->Brush.Assign(FCurrentBrush);
    item->FillAlternate = FPolyFillMode == 1;
    Append(std::move(item));
}

void TdeMetafileProcessor::PolyPolyline(const TEmfRecord &r, bool small)
{
    PolyParts parts;
    if (!FProcessShape || !ReadPolyParts(r, small, parts))
        return;
    auto item = std::make_unique<TdePolyShapeItem>();
    const std::size_t size = small ? 4 : 8;
    std::size_t at = parts.pointsAt;
    for (const std::uint32_t n : parts.counts) {
        TdePoints points;
        points.reserve(n);
        for (std::uint32_t i = 0; i < n; ++i, at += size)
            points.push_back(Offset(TransformPoint(PointAt(r, at, small))));
        auto shape = NewShapeItem(TdeShapeType::stPolyLine);
        shape->SetPoints(points);
        item->Shapes.push_back(std::move(shape));
    }
    Append(std::move(item));
}

void TdeMetafileProcessor::PolyDraw16(const TEmfRecord &r)
{
    const std::uint32_t count = r.U32(24);
    if (count == 0 || !Fits(r, 28, count, 5))
        return;
    auto item = std::make_unique<TdePolyDrawItem>();
    item->NoPoints = static_cast<int>(count);
    item->SetPoints();
    for (std::uint32_t i = 0; i < count; ++i) {
        item->Points[i] = Offset(TransformPoint(r.PointS(28 + i * 4)));
        item->Operations[i] = r.U8(28 + std::size_t(count) * 4 + i);
    }
    Append(std::move(item));
}

void TdeMetafileProcessor::FillRgn(const TEmfRecord &r)
{
    if (!FProcessShape)
        return;
    const TdeGDIOBJ *object = ObjectAt(r.U32(28));
    if (!object)
        return;
    const TRect bounds = r.RectL(8);
    auto item = NewShapeItem(TdeShapeType::stRectangle);
    item->SetPoints({Offset(TdePoint{double(bounds.Left), double(bounds.Top)}),
                     Offset(TdePoint{double(bounds.Right), double(bounds.Bottom)})});
    item->Pen.Style = TPenStyle::psClear;
    item->Pen.Width = 0;
    item->SetBrush(TdeBrush{object->FBrush.Color, object->FBrush.Style});
    Append(std::move(item));
}

void TdeMetafileProcessor::PathRecord(const TEmfRecord &r)
{
    auto item = std::make_unique<TdePathItem>();
    const auto paint = [&](bool fill) {
        if (fill)
            item->FillAlternate = FPolyFillMode == 1;
        item->SetPen(TdePen{FCurrentPen});
        item->SetBrush(TdeBrush{FCurrentBrush.Color, FCurrentBrush.Style});
    };
    switch (r.Type()) {
    case emr::EMR_BEGINPATH: item->PathOperation = TdePathOperation::poBeginPath; break;
    case emr::EMR_ENDPATH: item->PathOperation = TdePathOperation::poEndPath; break;
    case emr::EMR_CLOSEFIGURE: item->PathOperation = TdePathOperation::poCloseFigure; break;
    case emr::EMR_ABORTPATH: item->PathOperation = TdePathOperation::poAbortPath; break;
    case emr::EMR_FILLPATH:
        item->PathOperation = TdePathOperation::poFillPath;
        paint(true);
        break;
    case emr::EMR_STROKEANDFILLPATH:
        item->PathOperation = TdePathOperation::poStrokeAndFillPath;
        paint(true);
        break;
    case emr::EMR_STROKEPATH:
        item->PathOperation = TdePathOperation::poStrokePath;
        paint(false);
        break;
    case emr::EMR_SELECTCLIPPATH:
        item->PathOperation = TdePathOperation::poSelectClipPath;
        item->Mode = r.U32(8);
        break;
    default: return;
    }
    Append(std::move(item));
}

void TdeMetafileProcessor::IntersectClipRect(const TEmfRecord &r)
{
    const TRect clip = r.RectL(8);
    FIsClipRect = true;
    FIsIntersectClipRect = true;
    FClipRect = TransformRect(clip);
    // Drawing outside the clip rectangle must not show: the rectangle also
    // becomes a clip item, intersected with any clip in force (given as
    // its bounds and itself, so that it nests inside an open clip group).
    auto item = std::make_unique<TdeClipItem>();
    item->SetRects(2);
    const TdeRect native{FClipRect.Left + FStartX, FClipRect.Top + FStartY, FClipRect.Right + FStartX,
                         FClipRect.Bottom + FStartY};
    const TRect rounded{RoundToInt(native.Left), RoundToInt(native.Top), RoundToInt(native.Right),
                        RoundToInt(native.Bottom)};
    item->ClipRects()[0] = rounded;
    item->ClipRects()[1] = rounded;
    item->Mode = 1;
    item->Pen.Assign(FCurrentPen);
    item->Brush.Assign(FCurrentBrush);
    Append(std::move(item));
}

void TdeMetafileProcessor::ExtSelectClipRgn(const TEmfRecord &r)
{
    const std::uint32_t size = r.U32(8);
    if (size == 0) {
        FClipRect = TdeRect{};
        auto item = std::make_unique<TdeClipItem>();
        item->Restore = true;
        Append(std::move(item));
        return;
    }
    const std::uint32_t count = r.U32(24);
    if (count == 0 || !Fits(r, 48, count, 16))
        return;
    const auto offsetRect = [this](const TRect &rect) {
        return TRect{RoundToInt(rect.Left + FStartX), RoundToInt(rect.Top + FStartY), RoundToInt(rect.Right + FStartX),
                     RoundToInt(rect.Bottom + FStartY)};
    };
    auto item = std::make_unique<TdeClipItem>();
    if (count == 1) {
        FIsClipRect = true;
        item->SetRects(1);
        item->ClipRects()[0] = offsetRect(r.RectL(32));
    } else {
        // The bounds first, then every rectangle of the region (the region's
        // first rectangle included, so that nothing inside it is clipped away).
        item->SetRects(static_cast<int>(count) + 1);
        item->ClipRects()[0] = offsetRect(r.RectL(32));
        for (std::uint32_t i = 0; i < count; ++i)
            item->ClipRects()[i + 1] = offsetRect(r.RectL(48 + std::size_t(i) * 16));
    }
    item->Restore = false;
    item->Mode = r.U32(12);
    item->Pen.Assign(FCurrentPen);
    item->Brush.Assign(FCurrentBrush);
    Append(std::move(item));
}

void TdeMetafileProcessor::RestoreClip()
{
    FClipRect = TdeRect{};
    auto item = std::make_unique<TdeClipItem>();
    item->Restore = true;
    Append(std::move(item));
}

} // namespace tessaran
