// The engine's shape calls: each turns its arguments into one shape item in
// native units, offset by the current band's origin, drawn later with the
// pen (and, when filled, the brush) in force at the call. Shapes are not
// tested against the band rectangle.

#include "docexport/Document_Engine.h"

#include <cmath>
#include <stdexcept>

namespace tessaran {

namespace {

// An arc is made even when shapes are not among the items to render.
bool ShapeCallAllowed(const TdeCustomDocumentEngine &engine, bool checkItemsToRender)
{
    return engine.IsDocumentStarted() && engine.Capabilities().Contains(TdeCapabilityKind::ckShape) &&
           (!checkItemsToRender || engine.ItemsToRender().Contains(TdeItemsToRenderKind::irShape));
}

std::unique_ptr<TdeShapeItem> NewShape(TdeShapeType type, bool isFill, const TdePoints &points,
                                       const TdePen &pen, const TdeBrush &brush)
{
    // A point that is not a number has no place on a page.
    for (const TdePoint &point : points)
        if (!std::isfinite(point.X) || !std::isfinite(point.Y))
            throw std::invalid_argument("A shape's coordinates must be finite numbers");
    auto item = std::make_unique<TdeShapeItem>(isFill, type);
    item->SetPoints(points);
    item->Pen.Assign(pen);
    if (isFill)
        item->SetBrush(brush);
    return item;
}

} // namespace

void TdeCustomDocumentEngine::Line(double X1, double Y1, double X2, double Y2)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stLine, false, {{X1, Y1}, {X2, Y2}}, Pen(), Brush());
    PointsToNative(item->Points(), 2);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::Rectangle(double X1, double Y1, double X2, double Y2, bool IsFill)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stRectangle, IsFill, {{X1, Y1}, {X2, Y2}}, Pen(), Brush());
    PointsToNative(item->Points(), 2);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3, bool IsFill)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    // The corner ellipse's width and height are a size: no band offset.
    auto item = NewShape(TdeShapeType::stRoundRect, IsFill, {{X1, Y1}, {X2, Y2}, {UnitToNativeX(X3), UnitToNativeY(Y3)}},
                         Pen(), Brush());
    PointsToNative(item->Points(), 2);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::Ellipse(double X1, double Y1, double X2, double Y2, bool IsFill)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stEllipse, IsFill, {{X1, Y1}, {X2, Y2}}, Pen(), Brush());
    PointsToNative(item->Points(), 2);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::Polygon(const TdePoints &Points, bool IsFill)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stPolygon, IsFill, Points, Pen(), Brush());
    PointsToNative(item->Points(), item->NoPoints());
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::PolyLine(const TdePoints &Points)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stPolyLine, false, Points, Pen(), Brush());
    PointsToNative(item->Points(), item->NoPoints());
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                  double Y4)
{
    if (!ShapeCallAllowed(*this, false))
        return;
    auto item = NewShape(TdeShapeType::stArc, false, {{X1, Y1}, {X2, Y2}, {X3, Y3}, {X4, Y4}}, Pen(), Brush());
    PointsToNative(item->Points(), 4);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                  double Y4, bool IsFill)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stPie, IsFill, {{X1, Y1}, {X2, Y2}, {X3, Y3}, {X4, Y4}}, Pen(), Brush());
    PointsToNative(item->Points(), 4);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                    double Y4, bool IsFill)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stChord, IsFill, {{X1, Y1}, {X2, Y2}, {X3, Y3}, {X4, Y4}}, Pen(), Brush());
    PointsToNative(item->Points(), 4);
    AddItem(std::move(item));
}

void TdeCustomDocumentEngine::PolyBezier(const TdePoints &Points)
{
    if (!ShapeCallAllowed(*this, true))
        return;
    auto item = NewShape(TdeShapeType::stPolyBezier, false, Points, Pen(), Brush());
    PointsToNative(item->Points(), item->NoPoints());
    AddItem(std::move(item));
}

} // namespace tessaran
