#include "drawing/Component_Symbols.h"

#include "drawing/Canvas_Drawings.h"
#include "drawing/Pipe_Items.h"

#include <cmath>
#include <vector>

namespace tessaran {

namespace {

constexpr TColor kLightCyan = 0xFFFF9E;
constexpr TColor kLightRed = 0x7F7FFF;
constexpr TColor kRed = 0x5050FF;
constexpr TColor kShadedOut = 0xE0E0E0;

// The common frame of a component on its pipe.
struct Frame {
    TCanvas &C;
    TPipeItemFrame item;
    TColor pen;
    double yaw, tilt, scale;
    int textSize;

    Frame(TCanvas &c, int X1, int Y1, int X, int Y, TColor Pen, double Yaw, double Tilt, double Scale,
          int TextSize = 7)
        : C(c), item(X1, Y1, X, Y), pen(Pen), yaw(Yaw), tilt(Tilt), scale(Scale), textSize(TextSize)
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
        if (selected)
            DrawFilledCircle(C, item.X, item.Y, 15, clYellow);
        DrawAngledText(C, at.X, at.Y, name, item.TextAngle(), pen, textSize, TFontStyles{});
        C.Pen.Width = 0;
        C.Pen.Color = pen;
        C.Brush.Color = clWhite;
        C.Brush.Style = TBrushStyle::bsSolid;
    }
    std::vector<TPoint> uprights(std::initializer_list<TPoint> pts) const
    {
        std::vector<TPoint> out;
        for (TPoint p : pts)
            out.push_back(upright(p));
        return out;
    }
    void stroke(TPoint a, TPoint b) const
    {
        C.MoveTo(a.X, a.Y);
        C.LineTo(b.X, b.Y);
    }
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


// --- Turned styles --------------------------------------------------------------------

void DrawComponentSymbol0(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, 0, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto box = f.turned({{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}, neg);
    const auto zigzag = f.turned({{-10, 0}, {-6, 0}, {-3, 3}, {3, -3}, {6, 0}, {10, 0}}, neg);
    f.label(Name, {-10, 5}, {10, -6}, Selected);
    f.fill(box, clWhite, PenColour);
    f.line(zigzag, f.shade(clGreen));
}

void DrawComponentSymbol1(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, 0, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto red = f.turned({{-8, 0}, {-12, 0}, {-8, 0}, {-8, -7}}, neg);
    const auto cyan = f.turned({{8, 0}, {8, 7}, {8, 0}, {12, 0}}, neg);
    const auto redHalf = f.turned({{-10, 3}, {10, -3}, {10, -5}, {-10, -5}}, neg);
    const auto cyanHalf = f.turned({{-10, 3}, {10, -3}, {10, 5}, {-10, 5}}, neg);
    f.label(Name, {-10, 6}, {10, -6}, Selected);
    C.Pen.Width = 2;
    C.Pen.Color = f.shade(kLightRed);
    f.stroke(red[0], red[1]);
    f.stroke(red[2], red[3]);
    C.Pen.Color = f.shade(kLightCyan);
    f.stroke(cyan[0], cyan[1]);
    f.stroke(cyan[2], cyan[3]);
    C.Pen.Width = 1;
    C.Pen.Color = PenColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = f.shade(kLightRed);
    C.Polygon(redHalf);
    C.Brush.Color = f.shade(kLightCyan);
    C.Polygon(cyanHalf);
}

namespace {
// Styles 2 and 3: a frame, a coloured panel, a fixed white circle and a cross or bar.
void drawPanelStyle(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour, bool Selected,
                    double Yaw, double Tilt, double Scale, int TextSize, TColor Panel, bool Cross)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto frame = f.turned({{-9, -5}, {9, -5}, {9, 5}, {-9, 5}}, neg);
    const auto panel = f.turned({{-8, -4}, {8, -4}, {8, 4}, {-8, 4}}, neg);
    const auto bar = f.turned({{-3, 0}, {3, 0}}, neg);
    const auto post = f.turned({{0, -3}, {0, 3}}, neg);
    f.label(Name, {-10, 6}, {10, -6}, Selected);
    f.fill(frame, clWhite, PenColour);
    f.fill(panel, f.shade(Panel), f.shade(Panel));
    C.Pen.Color = clWhite;
    C.Brush.Color = clWhite;
    C.Ellipse(X - 4, Y - 4, X + 5, Y + 5);
    C.Pen.Color = PenColour;
    f.stroke(bar[0], bar[1]);
    if (Cross)
        f.stroke(post[0], post[1]);
}
} // namespace

void DrawComponentSymbol2(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    drawPanelStyle(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Tilt, Scale, TextSize, kRed, true);
}

void DrawComponentSymbol3(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    drawPanelStyle(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Tilt, Scale, TextSize, kLightCyan, false);
}

void DrawComponentSymbol4(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto box = f.turned({{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}, false);
    const auto cyan = f.turned({{10, -5}, {10, 5}, {2, 5}}, neg);
    const auto red = f.turned({{2, -5}, {10, -5}, {2, 5}}, neg);
    const std::vector<TPoint> bracketOffsets =
        neg ? std::vector<TPoint>{{6, 1}, {0, 1}, {0, -3}, {6, -3}} : std::vector<TPoint>{{-5, 1}, {0, 1}, {0, -3}, {-5, -3}};
    std::vector<TPoint> bracket;
    for (TPoint p : bracketOffsets)
        bracket.push_back(f.turned(p));
    f.label(Name, {-10, 6}, {10, -6}, Selected);
    f.fill(box, clWhite, PenColour);
    f.fill(cyan, f.shade(kLightCyan), PenColour);
    f.fill(red, f.shade(kLightRed), PenColour);
    f.line(bracket, PenColour);
    C.Brush.Color = clWhite;
    C.Brush.Style = TBrushStyle::bsSolid;
    f.circle(bracketOffsets[0], {-4, -4}, {4, 4}, {-3, -3}, {3, 3}, f.iso() && f.item.Slanted, true);
}

void DrawComponentSymbol5(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto box = f.turned({{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}, neg);
    const std::vector<std::vector<TPoint>> blades = {f.turned({{0, 0}, {-5, -2}, {-5, 2}}, neg),
                                                     f.turned({{0, 0}, {-2, 4}, {2, 4}}, neg),
                                                     f.turned({{0, 0}, {5, 2}, {5, -2}}, neg),
                                                     f.turned({{0, 0}, {2, -4}, {-2, -4}}, neg)};
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    f.fill(box, f.shade(kLightCyan), PenColour);
    C.Brush.Color = clWhite;
    f.circle({0, 0}, {-7, -7}, {8, 8}, {-6, -6}, {7, 7}, f.iso(), true);
    for (const auto &blade : blades)
        f.fill(blade, f.shade(kLightCyan), PenColour);
}

void DrawComponentSymbol6(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, 0, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto line = f.turned({{-14, 0}, {14, 0}}, neg);
    std::vector<std::vector<TPoint>> cells, marks;
    for (int x0 : {-12, -6, 0, 6}) {
        cells.push_back(f.turned({{x0, -4}, {x0 + 3, -5}, {x0 + 6, -4}, {x0 + 6, 4}, {x0 + 3, 5}, {x0, 4}}, neg));
        marks.push_back(f.turned({{x0 + 3, -5}, {x0 + 3, 5}}, neg));
    }
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    C.Pen.Width = 4;
    C.Pen.Color = PenColour;
    f.stroke(line[0], line[1]);
    C.Pen.Width = 1;
    for (const auto &cell : cells) {
        C.Pen.Color = PenColour;
        C.Brush.Color = clWhite;
        C.Brush.Style = TBrushStyle::bsSolid;
        C.Polygon(cell);
    }
    C.Pen.Color = f.shade(clGray);
    for (const auto &mark : marks)
        f.stroke(mark[0], mark[1]);
}

void DrawComponentSymbol7(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto upper = f.turned({{-5, -5}, {-3, -3}, {3, -3}, {5, -5}}, neg);
    const auto lower = f.turned({{-5, 5}, {-3, 3}, {3, 3}, {5, 5}}, neg);
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    f.circle({0, 0}, {-7, -7}, {8, 8}, {-6, -6}, {7, 7}, f.iso(), true);
    f.line(upper, PenColour);
    f.line(lower, PenColour);
}

void DrawComponentSymbol8(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    const bool neg = f.item.Leftward;
    const auto bar = f.turned({{-7, 0}, {7, 0}}, neg);
    const auto wave = f.turned({{-6, 0}, {-2, -5}, {2, 5}, {6, 0}}, neg);
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    f.circle({0, 0}, {-7, -7}, {8, 8}, {-6, -6}, {7, 7}, f.iso(), true);
    f.stroke(bar[0], bar[1]);
    f.fill(wave, f.shade(kLightCyan), PenColour);
}

void DrawComponentSymbol12(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                           bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    // One list both ways: the stem stays on the upper side.
    const auto body =
        f.turned({{-4, -4}, {-1, -4}, {1, -4}, {4, -4}, {4, -2}, {4, 3}, {4, 6}, {-4, 6}, {-4, 3}, {-4, -2}}, false);
    const auto left = f.turned({{-4, -2}, {-8, -2}, {-8, 3}, {-4, 3}}, false);
    const auto leftLine = f.turned({{-8, 4}, {-8, -3}}, false);
    const auto right = f.turned({{4, -2}, {8, -2}, {8, 3}, {4, 3}}, false);
    const auto rightLine = f.turned({{8, 4}, {8, -3}}, false);
    const auto stem = f.turned({{-1, -3}, {-1, -7}, {1, -7}, {1, -3}}, false);
    const auto wheel = f.turned({{-3, -7}, {3, -7}}, false);
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    f.fill(body, clWhite, PenColour);
    f.fill(left, clWhite, PenColour);
    f.stroke(leftLine[0], leftLine[1]);
    f.fill(right, clWhite, PenColour);
    f.stroke(rightLine[0], rightLine[1]);
    f.fill(stem, clWhite, PenColour);
    f.stroke(wheel[0], wheel[1]);
}

// --- Upright styles ---------------------------------------------------------------------

void DrawComponentSymbol9(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    C.Brush.Color = f.shade(kLightCyan);
    f.circle({0, 0}, {-7, -7}, {7, 7}, {-7, -7}, {7, 7}, f.iso(), false);
    const TColor dots = PenColour == clSilver ? clSilver : clBlack;
    for (int dy : {-3, 0, 3})
        for (int dx : {-3, 0, 3}) {
            const TPoint p = f.upright({dx, dy});
            DrawCircleOutline(C, p.X, p.Y, 1, dots);
        }
}

void DrawComponentSymbol10(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                           bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    const auto spokes = f.uprights({{-7, 0}, {7, 0}, {0, -7}, {0, 7}, {-5, -5}, {5, 5}, {5, -5}, {-5, 5}});
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    C.Brush.Color = f.shade(kLightCyan);
    f.circle({0, 0}, {-7, -7}, {8, 8}, {-7, -7}, {8, 8}, f.iso(), false);
    for (std::size_t i = 0; i < spokes.size(); i += 2)
        f.stroke(spokes[i], spokes[i + 1]);
    C.Brush.Color = clWhite;
    f.circle({0, 0}, {-1, -1}, {2, 2}, {-1, -1}, {2, 2}, f.iso(), false);
}

void DrawComponentSymbol11(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                           bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    // The dial runs its own order: marker, dial, label, ticks, needle, pointer.
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale);
    if (Selected)
        DrawFilledCircle(C, X, Y, 15, clYellow);
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    C.Pen.Style = TPenStyle::psSolid;
    C.Brush.Color = clWhite;
    C.Brush.Style = TBrushStyle::bsSolid;
    if (f.iso()) {
        int x1 = X - 6, y1 = Y - 6, x2 = X + 7, y2 = Y + 6;
        ProjectPointIsometric(x1, y1, X, Y, std::fabs(Yaw), Tilt, Scale);
        ProjectPointIsometric(x2, y2, X, Y, std::fabs(Yaw), Tilt, Scale);
        DrawRotatedFilledEllipse(C, x1, y1, x2, y2, f.signedTilt(), clWhite);
    } else {
        C.Ellipse(X - 6, Y - 6, X + 7, Y + 6);
    }
    const TPoint anchor = f.item.Leftward ? TPoint{-2, 6} : TPoint{1, 6};
    const TPoint at = f.iso() ? f.upright(anchor) : f.item.Turn(anchor, f.item.T);
    DrawAngledText(C, at.X, at.Y, Name, f.item.TextAngle(), PenColour, TextSize, TFontStyles{});
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    struct Tick {
        TPoint a, b;
        int nudge; // which way the second end moves when both ends meet
    } ticks[4] = {{{0, -4}, {0, -5}, 0}, {{-3, -2}, {-4, -2}, -1}, {{3, -2}, {4, -2}, 0}, {{0, 3}, {0, 4}, 1}};
    for (const Tick &t : ticks) {
        const TPoint a = f.upright(t.a);
        TPoint b = f.upright(t.b);
        if (f.iso() && a == b)
            b.X += t.nudge;
        f.stroke(a, b);
    }
    const TColor needle = PenColour == clSilver ? clSilver : clRed;
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Color = needle;
    C.Brush.Color = needle;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Polygon(f.uprights({{0, 0}, {5, 0}, {2, 4}}));
    C.Polygon(f.uprights({{3, 3}, {5, 0}, {2, 4}}));
    C.Brush.Style = TBrushStyle::bsClear;
    C.Pen.Color = PenColour;
    C.Pen.Width = 1;
    f.stroke(f.upright({1, -2}), f.upright({-4, 3}));
    C.Polygon(f.uprights({{-1, 5}, {2, 5}, {2, 6}, {-1, 6}}));
}

namespace {
void drawLetteredCircle(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                        bool Selected, double Yaw, double Tilt, double Scale, int TextSize, bool LetterK)
{
    Frame f(C, X1, Y1, X, Y, PenColour, Yaw, Tilt, Scale, TextSize);
    f.label(Name, {-10, 7}, {10, -7}, Selected);
    f.circle({0, 0}, {-8, -8}, {9, 9}, {-7, -7}, {8, 8}, f.iso(), false);
    if (LetterK) {
        f.stroke(f.upright({-4, -5}), f.upright({-4, 5}));
        f.stroke(f.upright({-4, 0}), f.upright({0, -5}));
        f.stroke(f.upright({-4, 0}), f.upright({1, 5}));
    } else {
        f.line(f.uprights({{0, -4}, {-3, -4}, {-5, -2}, {-5, 2}, {-3, 4}, {0, 4}, {1, 3}}), PenColour);
    }
    f.stroke(f.upright({1, -1}), f.upright({3, 5}));
    f.stroke(f.upright({5, -1}), f.upright({3, 5}));
}
} // namespace

void DrawComponentSymbol13(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                           bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    drawLetteredCircle(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Tilt, Scale, TextSize, false);
}

void DrawComponentSymbol14(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                           bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    drawLetteredCircle(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Tilt, Scale, TextSize, true);
}

void DrawComponentSymbol(int Style, TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name,
                         TColor PenColour, bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    using WithTilt = void (*)(TCanvas &, int, int, int, int, std::string_view, TColor, bool, double, double, double,
                              int);
    static constexpr WithTilt withTilt[ComponentStyleCount] = {
        nullptr,               nullptr,               DrawComponentSymbol2,  DrawComponentSymbol3,
        DrawComponentSymbol4,  DrawComponentSymbol5,  nullptr,               DrawComponentSymbol7,
        DrawComponentSymbol8,  DrawComponentSymbol9,  DrawComponentSymbol10, DrawComponentSymbol11,
        DrawComponentSymbol12, DrawComponentSymbol13, DrawComponentSymbol14};
    switch (Style) {
    case 0:
        DrawComponentSymbol0(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Scale, TextSize);
        return;
    case 1:
        DrawComponentSymbol1(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Scale, TextSize);
        return;
    case 6:
        DrawComponentSymbol6(C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Scale, TextSize);
        return;
    default:
        if (Style > 0 && Style < ComponentStyleCount)
            withTilt[Style](C, X1, Y1, X, Y, Name, PenColour, Selected, Yaw, Tilt, Scale, TextSize);
        return;
    }
}

} // namespace tessaran
