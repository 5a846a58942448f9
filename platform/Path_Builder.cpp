#include "platform/Path_Builder.h"

#include <cmath>

namespace tessaran {

namespace {
struct PointF {
    double x, y;
};

PointF mid(PointF a, PointF b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

double distanceToChord(PointF p, PointF a, PointF b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double len = std::hypot(dx, dy);
    if (len < 1e-12)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
}

void flattenCubic(PointF p0, PointF p1, PointF p2, PointF p3, int depth, std::vector<PointF> &out)
{
    if (depth >= 16 || (distanceToChord(p1, p0, p3) <= 0.5 && distanceToChord(p2, p0, p3) <= 0.5)) {
        out.push_back(p3);
        return;
    }
    PointF p01 = mid(p0, p1), p12 = mid(p1, p2), p23 = mid(p2, p3);
    PointF p012 = mid(p01, p12), p123 = mid(p12, p23);
    PointF m = mid(p012, p123);
    flattenCubic(p0, p01, p012, m, depth + 1, out);
    flattenCubic(m, p123, p23, p3, depth + 1, out);
}

TPoint rounded(PointF p)
{
    return TPoint{static_cast<std::int32_t>(std::lround(p.x)), static_cast<std::int32_t>(std::lround(p.y))};
}
} // namespace

void TPathBuilder::MoveTo(TPoint p)
{
    elements_.push_back({TKind::Move, p});
}

void TPathBuilder::LineTo(TPoint current, TPoint p)
{
    if (elements_.empty() || elements_.back().CloseFigure)
        elements_.push_back({TKind::Move, current});
    elements_.push_back({TKind::Line, p});
}

void TPathBuilder::Polyline(std::span<const TPoint> points)
{
    if (points.empty())
        return;
    MoveTo(points[0]);
    for (std::size_t i = 1; i < points.size(); ++i)
        elements_.push_back({TKind::Line, points[i]});
}

void TPathBuilder::Polygon(std::span<const TPoint> points)
{
    if (points.empty())
        return;
    Polyline(points);
    CloseFigure();
}

void TPathBuilder::PolyBezier(std::span<const TPoint> points)
{
    if (points.empty())
        return;
    MoveTo(points[0]);
    for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
        elements_.push_back({TKind::Bezier, points[i]});
        elements_.push_back({TKind::Bezier, points[i + 1]});
        elements_.push_back({TKind::Bezier, points[i + 2]});
    }
}

void TPathBuilder::Rectangle(int x1, int y1, int x2, int y2)
{
    TPoint pts[4] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
    Polygon(pts);
}

void TPathBuilder::Ellipse(int x1, int y1, int x2, int y2)
{
    // Four quarter curves from the right-hand point, counter-clockwise.
    const double k = 0.5522847498;
    double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    auto P = [](double x, double y) { return rounded({x, y}); };
    TPoint pts[13] = {P(cx + rx, cy),          P(cx + rx, cy - k * ry), P(cx + k * rx, cy - ry),
                      P(cx, cy - ry),          P(cx - k * rx, cy - ry), P(cx - rx, cy - k * ry),
                      P(cx - rx, cy),          P(cx - rx, cy + k * ry), P(cx - k * rx, cy + ry),
                      P(cx, cy + ry),          P(cx + k * rx, cy + ry), P(cx + rx, cy + k * ry),
                      P(cx + rx, cy)};
    PolyBezier(pts);
    CloseFigure();
}

void TPathBuilder::CloseFigure()
{
    if (!elements_.empty())
        elements_.back().CloseFigure = true;
}

void TPathBuilder::Flatten()
{
    std::vector<TElement> flat;
    flat.reserve(elements_.size());
    PointF current{0, 0};
    for (std::size_t i = 0; i < elements_.size();) {
        const TElement &e = elements_[i];
        if (e.Kind == TKind::Bezier && i + 2 < elements_.size()) {
            std::vector<PointF> pts;
            flattenCubic(current, {double(e.Point.X), double(e.Point.Y)},
                         {double(elements_[i + 1].Point.X), double(elements_[i + 1].Point.Y)},
                         {double(elements_[i + 2].Point.X), double(elements_[i + 2].Point.Y)}, 0, pts);
            for (std::size_t j = 0; j < pts.size(); ++j) {
                TPoint p = rounded(pts[j]);
                bool last = j + 1 == pts.size();
                if (!flat.empty() && flat.back().Point == p && !last)
                    continue;
                if (!flat.empty() && flat.back().Point == p && last && flat.back().Kind == TKind::Line) {
                    flat.back().CloseFigure = elements_[i + 2].CloseFigure;
                    continue;
                }
                flat.push_back({TKind::Line, p, last && elements_[i + 2].CloseFigure});
            }
            current = {double(elements_[i + 2].Point.X), double(elements_[i + 2].Point.Y)};
            i += 3;
            continue;
        }
        TElement copy = e;
        if (copy.Kind == TKind::Bezier)
            copy.Kind = TKind::Line; // an incomplete curve group ends in straight lines
        flat.push_back(copy);
        current = {double(e.Point.X), double(e.Point.Y)};
        ++i;
    }
    elements_ = std::move(flat);
}

std::vector<TPoint> TPathBuilder::Points() const
{
    std::vector<TPoint> points;
    points.reserve(elements_.size());
    for (const TElement &e : elements_)
        points.push_back(e.Point);
    return points;
}

} // namespace tessaran
