#include "drawing/Pipe_Items.h"

#include "drawing/Canvas_Drawings.h"
#include "platform/Pascal.h"
#include "units/Unit_Format.h"

#include <array>
#include <cmath>
#include <string>

namespace tessaran {

namespace {

int roundi(double v) { return static_cast<int>(Round(v)); }

// The point Distance before (Before true) or beyond the end (X2, Y2) of the
// line from (X1, Y1); the slope m of the line comes back too (0 when vertical).
TPoint pointNearEnd(int X1, int Y1, int X2, int Y2, int Distance, bool Before, double &m)
{
    const int D = Distance;
    if (X1 == X2) {
        m = 0;
        const bool down = Y1 < Y2;
        return {X2, (down == Before) ? Y2 - D : Y2 + D};
    }
    m = double(Y2 - Y1) / double(X2 - X1);
    const double s = std::sqrt(double(D) * D / (m * m + 1));
    double tx;
    int ty;
    if (X1 < X2) {
        tx = Before ? X2 - s : X2 + s;
        ty = Y1 + roundi(m * (tx - X1));
    } else {
        tx = Before ? X2 + s : X2 - s;
        ty = Y1 - roundi(m * (X1 - tx));
    }
    return {roundi(tx), ty};
}

void fittingsLabel(TCanvas &C, const TPipeItemFrame &f, TPoint anchor, double K, bool ShowK, TColor PenColour,
                   std::string_view LossText)
{
    C.Pen.Color = PenColour;
    C.Brush.Color = clWhite;
    C.Brush.Style = TBrushStyle::bsSolid;
    const TPoint at = f.Turn(anchor, f.A);
    std::string text;
    if (ShowK) {
        text = "K =" + formatFixed(2, K);
        if (!LossText.empty())
            text += ", ";
    }
    text += LossText;
    DrawAngledText(C, at.X, at.Y, text, f.TextAngle(), clBlack, 6, TFontStyles{});
}

void whiteFill(TCanvas &C, TColor PenColour)
{
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    C.Brush.Color = clWhite;
    C.Brush.Style = TBrushStyle::bsSolid;
}

} // namespace

TPipeItemFrame::TPipeItemFrame(int X1_, int Y1_, int X_, int Y_)
    : X1(X1_), Y1(Y1_), X(X_), Y(Y_), A(LineAngle(X1_, Y1_, X_, Y_)), T(A), Leftward(X_ < X1_),
      Slanted(X_ != X1_ && Y_ != Y1_)
{
    if (Leftward)
        T = A - kPi;
}

TPoint TPipeItemFrame::Place(TPoint offset, double Yaw, double Scale, double TurnAngle) const
{
    int px = X + offset.X, py = Y + offset.Y;
    if (Isometric(Yaw))
        ProjectPointIsometric(px, py, X, Y, Yaw, A, Scale);
    else
        RotatePointAbout(px, py, X, Y, TurnAngle);
    return {px, py};
}

TPoint TPipeItemFrame::Turn(TPoint offset, double Angle) const
{
    int px = X + offset.X, py = Y + offset.Y;
    RotatePointAbout(px, py, X, Y, Angle);
    return {px, py};
}

int TPipeItemFrame::TextAngle() const { return ItemTextAngle(T); }

void DrawPipeLine(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, int Width, TBrushStyle LineStyle)
{
    C.Pen.Color = Colour;
    C.Brush.Color = Colour;
    C.Pen.Width = Width;
    C.Brush.Style = LineStyle;
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y2);
}

void DrawPipeBand(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, int Width, TBrushStyle BrushStyle)
{
    DrawPipeLine(C, X1, Y1, X2, Y2, Colour, Width, BrushStyle);
    C.Pen.Width = 0;
}

void DrawClosedPipeLine(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour)
{
    C.Brush.Color = Colour;
    C.Brush.Style = TBrushStyle::bsBDiagonal;
    C.Pen.Color = Colour;
    C.Pen.Style = TPenStyle::psDot;
    C.Pen.Width = 0;
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y2);
    C.Pen.Style = TPenStyle::psSolid;
    const double angle = LineAngle(X1, Y1, X2, Y2);
    for (double f : {0.1, 0.9}) {
        const int cx = X1 + roundi(f * (X2 - X1)), cy = Y1 + roundi(f * (Y2 - Y1));
        const std::array<std::array<TPoint, 2>, 2> strokes = {
            {{TPoint{cx - 3, cy - 3}, TPoint{cx + 4, cy + 4}}, {TPoint{cx + 3, cy - 3}, TPoint{cx - 4, cy + 4}}}};
        for (auto stroke : strokes) {
            for (TPoint &p : stroke)
                RotatePointAbout(p.X, p.Y, cx, cy, angle);
            C.MoveTo(stroke[0].X, stroke[0].Y);
            C.LineTo(stroke[1].X, stroke[1].Y);
        }
    }
}

void DrawLineEndArrowHead(TCanvas &C, int X1, int Y1, int X2, int Y2, int Distance, TColor Colour, double Yaw,
                          double Tilt)
{
    C.Pen.Color = Colour;
    C.Brush.Color = Colour;
    C.Brush.Style = TBrushStyle::bsSolid;
    double m = 0;
    const TPoint tip = pointNearEnd(X1, Y1, X2, Y2, Distance, true, m);
    const bool shallow = std::fabs(m) <= 1;
    DrawFilledArrowHead(C, X1, Y1, tip.X, tip.Y, 3, 3.0, Colour, Colour, shallow ? Yaw : 0, shallow ? Tilt : 0);
}

void DrawLineEndOpenArrowHead(TCanvas &C, int X1, int Y1, int X2, int Y2, int Distance, TColor Colour)
{
    C.Pen.Color = Colour;
    C.Brush.Color = Colour;
    C.Brush.Style = TBrushStyle::bsSolid;
    double m = 0;
    const TPoint tip = pointNearEnd(X1, Y1, X2, Y2, Distance, true, m);
    DrawOpenArrowHead(C, X1, Y1, tip.X, tip.Y, 4, 2.0, Colour, Colour);
}

void DrawPumpFlowArrowHead(TCanvas &C, int X1, int Y1, int X2, int Y2, int Size, double LengthFactor, int Distance,
                           TColor FillColour, TColor PenColour, double Yaw, double Tilt)
{
    C.Pen.Color = FillColour;
    C.Brush.Color = FillColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    double m = 0;
    const TPoint tip = pointNearEnd(X1, Y1, X2, Y2, Distance, false, m);
    DrawFilledArrowHead(C, X1, Y1, tip.X, tip.Y, Size, LengthFactor, FillColour, PenColour, Yaw, Tilt);
}

namespace {
// A demand arrow from (X1, Y1) to (X2, Y2), its head Distance short of the
// end, with the selection circle at the label point.
void demandArrow(TCanvas &C, int X1, int Y1, int X2, int Y2, TPoint label, int Distance, TColor Colour,
                 bool Selected)
{
    if (Selected)
        DrawFilledCircle(C, label.X, label.Y, 7, clYellow);
    C.Pen.Width = 0;
    C.Pen.Color = Colour;
    C.Brush.Color = Colour;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y2);
    DrawLineEndArrowHead(C, X1, Y1, X2, Y2, Distance, Colour, 0, 0);
}
} // namespace

void DrawDemandOutArrow(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, bool Selected)
{
    demandArrow(C, X1, Y1, X2, Y2, {X2, Y2}, 0, Colour, Selected);
}

void DrawDemandInArrow(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, bool Selected)
{
    demandArrow(C, X1, Y1, X2, Y2, {X1, Y1}, 4, Colour, Selected);
}

void DrawFittingsSymbol(TCanvas &C, int X1, int Y1, int X, int Y, double K, bool ShowK, TColor PenColour, bool,
                        double Yaw, double Tilt, double Scale, std::string_view LossText)
{
    whiteFill(C, PenColour);
    const TPipeItemFrame f(X1, Y1, X, Y);
    std::array<TPoint, 4> corners = {TPoint{-4, 2}, TPoint{4, 2}, TPoint{4, -2}, TPoint{-4, -2}};
    const TPoint anchor = f.Leftward ? TPoint{24, 11} : TPoint{-4, -11};
    if (!f.Isometric(Yaw) && X1 == X && Tilt > 0) {
        // Seen in the isometric view, a marker on an upright pipe leans with the grid.
        corners[0].X -= 1;
        corners[1].X -= 1;
        corners[2].X += 1;
        corners[3].X += 1;
    }
    std::array<TPoint, 5> outline;
    for (std::size_t i = 0; i < 4; ++i)
        outline[i] = f.Place(corners[i], Yaw, Scale, f.A);
    outline[4] = outline[0];
    C.Polygon(outline);
    fittingsLabel(C, f, anchor, K, ShowK, PenColour, LossText);
}

void DrawValveFittingsSymbol(TCanvas &C, int X1, int Y1, int X, int Y, double K, bool ShowK, TColor PenColour,
                             bool, double Yaw, double, double Scale, std::string_view LossText)
{
    whiteFill(C, PenColour);
    const TPipeItemFrame f(X1, Y1, X, Y);
    const TPoint anchor = f.Leftward ? TPoint{15, 9} : TPoint{-3, -9};
    const std::array<std::array<TPoint, 3>, 2> triangles = {
        {{TPoint{-5, -4}, TPoint{-5, 4}, TPoint{0, 0}}, {TPoint{5, -4}, TPoint{5, 4}, TPoint{0, 0}}}};
    for (const auto &triangle : triangles) {
        std::array<TPoint, 3> pts;
        for (std::size_t i = 0; i < 3; ++i)
            pts[i] = f.Place(triangle[i], Yaw, Scale, f.T);
        C.Polygon(pts);
    }
    fittingsLabel(C, f, anchor, K, ShowK, PenColour, LossText);
}

void DrawFlowControlSymbol(TCanvas &C, std::string_view Name, int X1, int Y1, int X, int Y, TColor PenColour,
                           bool Selected, double Yaw, double Scale, int TextSize)
{
    whiteFill(C, PenColour);
    const TPipeItemFrame f(X1, Y1, X, Y);
    auto place = [&](TPoint p) { return f.Place(p, Yaw, Scale, f.T); };
    const TPoint waist = place({3, 0});
    const std::array<TPoint, 3> left = {place({-4, -3}), place({-4, 3}), waist};
    const std::array<TPoint, 3> right = {place({10, -3}), place({10, 3}), waist};
    const TPoint stemTop = place({3, -5});
    const std::array<TPoint, 5> bonnet = {stemTop, place({-2, -5}), place({0, -8}), place({6, -8}), place({8, -5})};
    if (Selected) {
        DrawFilledCircle(C, waist.X, waist.Y, 8, clYellow);
        whiteFill(C, PenColour);
    }
    C.Polygon(left);
    C.Polygon(right);
    C.MoveTo(waist.X, waist.Y);
    C.LineTo(stemTop.X, stemTop.Y);
    C.Polygon(bonnet);
    const TPoint at = f.Turn({-4, 3}, f.T);
    DrawAngledText(C, at.X, at.Y, Name, f.TextAngle(), PenColour, TextSize, TFontStyles{});
}

} // namespace tessaran
