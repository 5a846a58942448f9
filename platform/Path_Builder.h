#pragma once
// The path a canvas builds between BeginPath and EndPath: figures of moves,
// lines and cubic curves, as both canvas backends keep it, with the one
// flattening that GetPath reads back (so point counts are the same whatever
// the backend).

#include "platform/Graphics.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaran {

class TPathBuilder {
public:
    enum class TKind : std::uint8_t { Move, Line, Bezier };
    struct TElement {
        TKind Kind;
        TPoint Point;
        bool CloseFigure = false; // the figure is closed after this point
    };

    void Clear() { elements_.clear(); }
    bool Empty() const { return elements_.empty(); }
    const std::vector<TElement> &Elements() const { return elements_; }

    void MoveTo(TPoint p);
    // A line from the current point (current is where the pen stands when no
    // figure is open).
    void LineTo(TPoint current, TPoint p);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);
    void PolyBezier(std::span<const TPoint> points);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void CloseFigure();

    // Replaces every curve by line segments that stay within half a unit
    // of it; points are rounded to whole units and repeated points dropped.
    void Flatten();
    std::vector<TPoint> Points() const;

private:
    std::vector<TElement> elements_;
};

} // namespace tessaran
