#include "docexport/Document_Items.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

void TdeTextItem::SetIsClipRect(bool value)
{
    FIsClipRect = value;
    if (!value)
        FClipRect = TdeRect{};
}

TdeImageItem::TdeImageItem(const TdeRect &rect)
{
    X = std::min(rect.Left, rect.Right);
    Y = std::min(rect.Top, rect.Bottom);
    Width = std::fabs(rect.Right - rect.Left);
    Height = std::fabs(rect.Bottom - rect.Top);
    DisplayRect = TdeRect{X, Y, X + Width, Y + Height};
}

TdeShapeItem::TdeShapeItem(bool isFill, TdeShapeType shapeType) : ShapeType(shapeType)
{
    if (isFill)
        FBrush.emplace();
}

void TdeShapeItem::SetBrush(const TdeBrush &value)
{
    if (FBrush)
        *FBrush = value;
}

void TdeShapeItem::SetPoints(const TdePoints &points)
{
    FPoints = points;
    FNoPoints = static_cast<int>(points.size());
}

void TdeClipItem::SetRects(int count) { FClipRects.resize(static_cast<std::size_t>(std::max(count, 0))); }

TRect TdeClipItem::GetRects(int position) const
{
    if (position < 0 || position >= NoRects())
        return TRect{};
    return FClipRects[static_cast<std::size_t>(position)];
}

void TdePolyPolygonItem::SetNoPoints() { NoPoints.resize(static_cast<std::size_t>(std::max(NoPoly, 0)) + 1); }

void TdePolyPolygonItem::SetPoints()
{
    Points.resize(NoPoints.empty() ? 0 : static_cast<std::size_t>(std::max(NoPoints[0], 0)));
}

void TdePolyPolygonItem::GetPoints(int position, TdePoint &result) const
{
    if (position >= 0 && position < static_cast<int>(Points.size()))
        result = Points[static_cast<std::size_t>(position)];
}

void TdePolyDrawItem::SetPoints()
{
    const std::size_t n = static_cast<std::size_t>(std::max(NoPoints, 0));
    Operations.resize(n);
    Points.resize(n);
}

TdeTableItem::TdeTableItem(int columnCount, const TdeTableSettings &settings)
    : Columns(static_cast<std::size_t>(std::max(0, columnCount)))
{
    Settings.Assign(settings);
    Settings.SetNativeFactor(1);
}

double TdeTableItem::CalculateRowHeight() const
{
    double height = Settings.EnableTitle ? Settings.NativeTitleHeight() : 0;
    for (int row = 0; row <= RowCount && row < static_cast<int>(RowHeights.size()); ++row)
        height += RowHeights[static_cast<std::size_t>(row)];
    return height;
}

std::vector<TdeColumn> *TdeTableItem::GetColumnsList()
{
    for (TdeColumn &column : Columns)
        column.Width = Settings.NativeColumnWidth();
    return &Columns;
}

} // namespace tessaran
