#include "drawing/Component_Symbols.h"

#include "drawing/Canvas_Drawings.h"
#include "drawing/Pipe_Items.h"
#include "platform/Pascal.h"

#include <cmath>
#include <vector>

namespace tessaran {

namespace {

constexpr TColor kLightCyan = 0xFFFF9E;
constexpr TColor kLightRed = 0x7F7FFF;
constexpr TColor kRed = 0x5050FF;
constexpr TColor kShadedOut = 0xE0E0E0;

int roundi(double v) { return static_cast<int>(Round(v)); }

// The common frame of a component on its pipe.
struct Frame {
    TCanvas &C;
    TPipeItemFrame item;
    TColor pen;
    double yaw, tilt, scale;

    Frame(TCanvas &c, int X1, int Y1, int X, int Y, TColor Pen, double Yaw, double Tilt, double Scale)
        : C(c), item(X1, Y1, X, Y), pen(Pen), yaw(Yaw), tilt(Tilt), scale(Scale)
    {
        C.Pen.Width = 0;
        C.Pen.Color = Pen;
        C.Brush.Color = clWhite;
        C.Brush.Style = TBrushStyle::bsSolid;
    }
    // A coloured part in its colour, or light grey for a component left out
    // of the calculation.
    TColor shade(TColor c) const { return pen == clSilver ? kShadedOut : c; }
    bool iso() const { return yaw != 0; }
    // Signed tilt: + on a pipe running down to the right or up to the left.
    double signedTilt() const
    {
        const int dx = item.X - item.X1, dy = item.Y - item.Y1;
        return ((dx > 0 && dy > 0) || (dx < 0 && dy < 0)) ? tilt : -tilt;
    }
    // Turned styles: projected on a slanted pipe in the isometric view, else turned by T.
    TPoint turned(TPoint p) const { return item.Place(p, yaw, scale, item.T); }
    std::vector<TPoint> turned(std::initializer_list<TPoint> pts, bool negate) const
    {
        std::vector<TPoint> out;
        for (TPoint p : pts)
            out.push_back(turned(negate ? TPoint{-p.X, -p.Y} : p));
        return out;
    }
    // Upright styles: projected with the signed tilt in the isometric view, else as they are.
    TPoint upright(TPoint p) const
    {
        int px = item.X + p.X, py = item.Y + p.Y;
        if (iso())
            ProjectPointIsometric(px, py, item.X, item.Y, std::fabs(yaw), signedTilt(), scale);
        return {px, py};
    }
    void label(std::string_view name, TPoint right, TPoint left, bool selected) const
    {
        const TPoint at = item.Turn(item.Leftward ? left : right, item.A);
        if (selected) {
            DrawFilledCircle(C, item.X, item.Y, 15, clYellow);
            C.Pen.Color = pen;
            C.Brush.Color = clWhite;
            C.Brush.Style = TBrushStyle::bsSolid;
        }
        DrawAngledText(C, at.X, at.Y, name, item.TextAngle(), pen, 0 + textSize, TFontStyles{});
    }
    int textSize = 7;
    void fill(const std::vector<TPoint> &pts, TColor colour, TColor outline) const
    {
        C.Pen.Width = 0;
        C.Pen.Color = outline;
        C.Brush.Color = colour;
        C.Brush.Style = TBrushStyle::bsSolid;
        C.Polygon(pts);
    }
    void line(const std::vector<TPoint> &pts, TColor colour) const
    {
        C.Pen.Color = colour;
        C.Polyline(pts);
    }
    // A circle about a centre offset: plain box, or the iso box as a turned ellipse.
    void circle(TPoint centre, TPoint planA, TPoint planB, TPoint isoA, TPoint isoB, bool isoShape, bool turnCentre)
        const
    {
        const TPoint c = turnCentre ? turned(centre) : upright(centre);
        if (isoShape) {
            int x1 = c.X + isoA.X, y1 = c.Y + isoA.Y, x2 = c.X + isoB.X, y2 = c.Y + isoB.Y;
            ProjectPointIsometric(x1, y1, c.X, c.Y, std::fabs(yaw), tilt, scale);
            ProjectPointIsometric(x2, y2, c.X, c.Y, std::fabs(yaw), tilt, scale);
            DrawRotatedFilledEllipse(C, x1, y1, x2, y2, signedTilt(), C.Brush.Color);
        } else {
            C.Ellipse(c.X + planA.X, c.Y + planA.Y, c.X + planB.X, c.Y + planB.Y);
        }
    }
};

} // namespace

void DrawComponentSymbol0(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, 0, Scale);
    f.textSize = TextSize;
    const bool neg = f.item.Leftward;
    const auto box = f.turned({{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}, neg);
    const auto zigzag = f.turned({{-10, 0}, {-6, 0}, {-3, 3}, {3, -3}, {6, 0}, {10, 0}}, neg);
    f.label(Name, {-10, 5}, {10, -6}, Selected);
    f.fill(box, clWhite, PenColour);
    f.line(zigzag, f.shade(clGreen));
}

void DrawComponentSymbol(int Style, TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name,
                         TColor PenColour, bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    switch (Style) {
    case 0:
        DrawComponentSymbol0(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Scale, TextSize);
        break;
    default:
        if (Style > 0 && Style < ComponentStyleCount)
            DrawComponentSymbol0(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Scale, TextSize);
        (void)Tilt;
        break;
    }
}

} // namespace tessaran
