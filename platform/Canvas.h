#pragma once
// The canvas every drawing of the program goes through. Two backends stand
// behind it: TMetafileCanvas records an enhanced metafile (platform/
// MetafileCanvas.h) and TQtCanvas paints with QPainter (platform/qt/).
//
// The conventions are those of the classic device-context canvas:
// - coordinates are integer logical units, y downwards;
// - Pen, Brush and Font are plain values; a drawing call uses whatever they
//   hold at the time of the call;
// - Rectangle, Ellipse and Chord take a box whose right and bottom edges lie
//   just outside the shape; filled shapes are outlined with the pen and filled
//   with the brush;
// - TextOut writes with the text's top-left corner at the reference point,
//   turned by Font.Escapement about that point, and fills the text box with
//   the brush unless the brush is clear;
// - text is measured by the font engine (platform/Font_Engine.h), the same
//   for every backend and independent of the screen.

#include "platform/Graphics.h"

#include <span>
#include <string>
#include <string_view>

namespace tessaran {

class TBitmap;
class TMetafile;

class TCanvas {
public:
    TPen Pen;
    TBrush Brush;
    TFont Font;

    TCanvas() = default;
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;
    virtual ~TCanvas() = default;

    // Lines. LineTo draws from the pen position to (x, y), leaving the last
    // pixel out, and moves the pen position there.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    TPoint PenPos() const { return penPos_; }

    // Shapes.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    void Ellipse(const TRect &r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // The part of the ellipse in the box cut off by the chord from the ray
    // through (x3, y3) to the ray through (x4, y4), counter-clockwise on the
    // screen from the first ray to the second.
    virtual void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // A closed filled polygon (alternate filling).
    virtual void Polygon(std::span<const TPoint> points) = 0;
    virtual void Polyline(std::span<const TPoint> points) = 0;
    // A start point followed by groups of three: two control points and an end point.
    virtual void PolyBezier(std::span<const TPoint> points) = 0;

    // Paths: between BeginPath and EndPath, MoveTo, LineTo, Polyline,
    // Polygon, PolyBezier, Rectangle and Ellipse add figures to the path
    // instead of drawing. The path is then stroked, filled or flattened and
    // read back; painting a path ends it.
    virtual void BeginPath() = 0;
    virtual void EndPath() = 0;
    virtual void StrokePath() = 0;
    virtual void FillPath() = 0;
    virtual void StrokeAndFillPath() = 0;
    // Turns the path's curves into line segments.
    virtual void FlattenPath() = 0;
    // The points of the closed path (after FlattenPath: of its line segments).
    virtual TPointArray GetPath() const = 0;

    // Text, UTF-8.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    TSize TextExtent(std::string_view text) const;
    int TextWidth(std::string_view text) const { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) const { return TextExtent(text).cy; }

    // Clipping and saved states. SaveState keeps the clip region;
    // RestoreState goes back to the one saved last (and does nothing when
    // nothing is saved). Pen, Brush, Font and the pen position stay as the
    // caller set them.
    virtual void IntersectClipRect(const TRect &rect) = 0;
    virtual void SaveState() = 0;
    virtual void RestoreState() = 0;

    // Single pixels. A canvas that cannot read its pixels (a recording)
    // answers 0xFFFFFFFF.
    virtual TColor GetPixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;

    // Pictures stretched into a rectangle.
    virtual void StretchDraw(const TRect &dest, const TBitmap &bitmap) = 0;
    virtual void StretchDraw(const TRect &dest, const TMetafile &metafile) = 0;

    // A vertical linear gradient from the top colour at the top edge to the
    // bottom colour at the bottom edge.
    virtual void GradientFillVertical(const TRect &rect, TColor top, TColor bottom) = 0;

protected:
    TPoint penPos_;
};

} // namespace tessaran
