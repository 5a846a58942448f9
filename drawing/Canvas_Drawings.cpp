#include "drawing/Canvas_Drawings.h"

#include "platform/Pascal.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tessaran {

namespace {

// A value a coordinate can take: converting anything else to an integer is
// undefined, so such a result counts as an arithmetic fault.
bool fitsCoordinate(double v)
{
    return std::isfinite(v) && std::fabs(v) < 2147483647.0;
}

int roundi(double v) { return static_cast<int>(Round(v)); }

double sign(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

void setPenBrush(TCanvas &C, TColor pen, int width, TColor brush, TBrushStyle style)
{
    C.Pen.Color = pen;
    C.Pen.Width = width;
    C.Brush.Color = brush;
    C.Brush.Style = style;
}

// The shallow branch of the projection; false leaves the point as it is.
bool projectShallow(int &X, int &Y, int CX, int CY, double Yaw, double t)
{
    const double a = std::asin(t);
    const double dx = double(X) - CX, dy = double(Y) - CY;
    const double u = dx * std::cos(Yaw);
    const double v = dx * std::sin(a) * std::sin(Yaw) + dy * std::cos(a);
    if (!fitsCoordinate(u) || !fitsCoordinate(v))
        return false;
    const double nx = CX + double(Round(u + 0.1 * sign(u)));
    const double ny = CY + double(Round(v + 0.1 * sign(v)));
    if (!fitsCoordinate(nx) || !fitsCoordinate(ny))
        return false;
    X = static_cast<int>(nx);
    Y = static_cast<int>(ny);
    return true;
}

bool scaleAbout(int &X, int &Y, int CX, int CY, double Scale)
{
    const double sx = (double(X) - CX) * Scale, sy = (double(Y) - CY) * Scale;
    if (!fitsCoordinate(sx) || !fitsCoordinate(sy) || !fitsCoordinate(CX + sx) || !fitsCoordinate(CY + sy))
        return false;
    X = CX + roundi(sx);
    Y = CY + roundi(sy);
    return true;
}

// Steps 2 to 4 of both projections, with t given.
void projectWithTan(int &X, int &Y, int CX, int CY, double Yaw, double Angle, double t, double Scale)
{
    if (!std::isfinite(t) || !scaleAbout(X, Y, CX, CY, Scale))
        return;
    if (-0.8 < t && t < 0.8) {
        projectShallow(X, Y, CX, CY, Yaw, t);
        return;
    }
    const double absAngle = std::fabs(Angle);
    if (kPi / 2 < absAngle && absAngle < 3 * kPi / 2)
        RotatePointAbout(X, Y, CX, CY, Angle + kPi);
    else
        RotatePointAbout(X, Y, CX, CY, Angle);
}

void bezierPath(TCanvas &C, std::span<const TPoint> pts)
{
    C.BeginPath();
    C.PolyBezier(pts);
    C.EndPath();
}

std::array<TPoint, 7> ellipsePoints(int X1, int Y1, int X2, int Y2, double Angle)
{
    const int h = std::abs(Y2 - Y1);
    const int c = roundi(h * 0.654);
    const TPoint centre{X1 + (X2 - X1) / 2, Y1 + (Y2 - Y1) / 2 - 1};
    const int cy = centre.Y;
    std::array<TPoint, 7> p = {TPoint{X1, cy},     TPoint{X1, cy - c},     TPoint{X2 - 1, cy - c},
                               TPoint{X2 - 1, cy}, TPoint{X2 - 1, cy + c}, TPoint{X1, cy + c},
                               TPoint{X1, cy}};
    for (TPoint &q : p)
        RotatePointAboutCentre(q, centre, q, Angle);
    return p;
}

std::size_t indexOfPoint(const TPointArray &points, const TPoint &target)
{
    std::size_t best = 0;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const long long dx = points[i].X - target.X, dy = points[i].Y - target.Y;
        const long long d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

} // namespace

// --- Fills and outlines --------------------------------------------------------

void DrawFilledRectangle(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour)
{
    setPenBrush(C, Colour, 0, Colour, TBrushStyle::bsSolid);
    C.Rectangle(X1, Y1, X2, Y2);
    C.Brush.Style = TBrushStyle::bsClear;
}

void DrawCircleOutline(TCanvas &C, int X, int Y, int R, TColor Colour)
{
    setPenBrush(C, Colour, 0, Colour, TBrushStyle::bsClear);
    C.Ellipse(X - R, Y - R, X + R, Y + R);
}

void DrawSquareAtPoint(TCanvas &C, int X, int Y, int H)
{
    C.Rectangle(X - H, Y - H, X + H, Y + H);
}

void DrawStyledRectangle(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, TPenStyle PenStyle,
                         TBrushStyle BrushStyle)
{
    C.Pen.Color = Colour;
    C.Pen.Style = PenStyle;
    C.Brush.Color = Colour;
    C.Brush.Style = BrushStyle;
    C.Rectangle(X1, Y1, X2, Y2);
}

void DrawFilledCircle(TCanvas &C, int X, int Y, int R, TColor Colour)
{
    setPenBrush(C, Colour, 0, Colour, TBrushStyle::bsSolid);
    C.Ellipse(X - R, Y - R, X + R, Y + R);
}

// --- Arrowheads ------------------------------------------------------------------

namespace {
struct ArrowCorners {
    TPoint c1, c2;
};
bool arrowCorners(int X1, int Y1, int TipX, int TipY, int Size, double LengthFactor, ArrowCorners &out)
{
    const double dx = TipX - X1, dy = TipY - Y1;
    const double L = std::sqrt(dx * dx + dy * dy);
    if (L == 0)
        return false;
    const int bx = TipX - roundi(Size * LengthFactor * dx / L);
    const int by = TipY - roundi(Size * LengthFactor * dy / L);
    const double nx = dy / L, ny = -dx / L;
    out.c1 = {bx + roundi(Size * nx), by + roundi(Size * ny)};
    out.c2 = {bx - roundi(Size * nx), by - roundi(Size * ny)};
    return true;
}
} // namespace

void DrawFilledArrowHead(TCanvas &C, int X1, int Y1, int TipX, int TipY, int Size, double LengthFactor,
                         TColor FillColour, TColor PenColour, double Yaw, double Tilt)
{
    setPenBrush(C, PenColour, 0, FillColour, TBrushStyle::bsSolid);
    ArrowCorners k;
    if (!arrowCorners(X1, Y1, TipX, TipY, Size, LengthFactor, k))
        return;
    if (Yaw != 0 && TipX != X1 && TipY != Y1) {
        const double F = LineAngle(X1, Y1, TipX, TipY);
        const int cx = (k.c1.X + k.c2.X) / 2, cy = (k.c1.Y + k.c2.Y) / 2;
        RotateAndTiltPoint(k.c1.X, k.c1.Y, cx, cy, -F, Tilt);
        RotateAndTiltPoint(k.c2.X, k.c2.Y, cx, cy, -F, Tilt);
        if (k.c1.Y < k.c2.Y)
            k.c1.Y -= 1;
        else
            k.c2.Y -= 1;
    }
    const TPoint tri[3] = {{TipX, TipY}, k.c1, k.c2};
    C.Polygon(tri);
}

void DrawOpenArrowHead(TCanvas &C, int X1, int Y1, int TipX, int TipY, int Size, double LengthFactor,
                       TColor BrushColour, TColor PenColour)
{
    C.Pen.Color = PenColour;
    C.Brush.Color = BrushColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    ArrowCorners k;
    if (!arrowCorners(X1, Y1, TipX, TipY, Size, LengthFactor, k))
        return;
    C.MoveTo(TipX, TipY);
    C.LineTo(k.c1.X, k.c1.Y);
    C.MoveTo(TipX, TipY);
    C.LineTo(k.c2.X, k.c2.Y);
}

// --- Line geometry and projection -------------------------------------------------

double LineAngle(int X1, int Y1, int X2, int Y2)
{
    const double dx = double(X2) - X1, dy = double(Y2) - Y1;
    if (dx == 0)
        return Y2 > Y1 ? kPi / 2 : -kPi / 2;
    const double a = std::atan(dy / dx);
    if (dx < 0 && dy > 0)
        return a - kPi;
    if (dx < 0)
        return a + kPi;
    return a;
}

void RotatePointAbout(int &X, int &Y, int CX, int CY, double Angle)
{
    const double dx = double(X) - CX, dy = double(Y) - CY;
    const double r = double(Round(std::sqrt(dx * dx + dy * dy)));
    const double phi = LineAngle(CX, CY, X, Y) + Angle + kPi / 2;
    const double nx = CX + double(Round(r * std::sin(phi)));
    const double ny = CY - double(Round(r * std::cos(phi)));
    if (!fitsCoordinate(nx) || !fitsCoordinate(ny))
        return;
    X = static_cast<int>(nx);
    Y = static_cast<int>(ny);
}

void RotatePointAboutCentre(const TPoint &P, const TPoint &Centre, TPoint &Out, double Angle)
{
    const double dx = P.X - Centre.X, dy = P.Y - Centre.Y;
    const double s = std::sin(Angle), c = std::cos(Angle);
    const TPoint result{Centre.X + roundi(dx * c + dy * s), Centre.Y + roundi(-dx * s + dy * c)};
    Out = result;
}

void ProjectPointIsometric(int &X, int &Y, int CX, int CY, double Yaw, double Angle, double Scale)
{
    projectWithTan(X, Y, CX, CY, Yaw, Angle, std::tan(Angle), Scale);
}

void ProjectPumpPointIsometric(int &X, int &Y, int CX, int CY, double Yaw, double Angle, double SteepTilt,
                               double Scale)
{
    double t = std::tan(Angle);
    if (std::fabs(std::fabs(Angle) - kPi / 2) < 0.1) {
        RotatePointAbout(X, Y, CX, CY, Angle);
        t = SteepTilt;
    }
    projectWithTan(X, Y, CX, CY, Yaw, Angle, t, Scale);
}

void RotateAndTiltPoint(int &X, int &Y, int CX, int CY, double RotAngle, double Tilt)
{
    RotatePointAbout(X, Y, CX, CY, RotAngle);
    ProjectPointIsometric(X, Y, CX, CY, 0, Tilt, 1.0);
}

// --- Turned shapes ------------------------------------------------------------------

void DrawRotatedEllipseOutline(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle)
{
    const auto p = ellipsePoints(X1, Y1, X2, Y2, Angle);
    C.PolyBezier(p);
}

void DrawRotatedEllipsePath(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle, TColor)
{
    const auto p = ellipsePoints(X1, Y1, X2, Y2, Angle);
    bezierPath(C, p);
    if (C.Brush.Style == TBrushStyle::bsClear)
        C.StrokePath();
    else
        C.StrokeAndFillPath();
}

void DrawRotatedFilledEllipse(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle, TColor Colour)
{
    DrawRotatedEllipsePath(C, X1, Y1, X2, Y2, Angle, Colour);
}

void DrawRotatedSphereWithLiquid(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle, TColor Colour)
{
    const int ky = roundi(std::abs(Y2 - Y1) * 0.85);
    const int kx = roundi(std::abs(X2 - X1) * 0.65);
    const TPoint centre{X1 + (X2 - X1) / 2, Y1 + (Y2 - Y1) / 2 - 1};
    const int cx = centre.X, cy = centre.Y;
    std::array<TPoint, 13> p = {TPoint{X1, cy},          TPoint{X1, Y2 - ky},     TPoint{X2 - kx, Y1},
                                TPoint{cx, Y1},          TPoint{X1 + kx, Y1},     TPoint{X2 - 1, Y2 - ky},
                                TPoint{X2 - 1, cy},      TPoint{X2 - 1, Y1 + ky}, TPoint{X1 + kx, Y2},
                                TPoint{cx, Y2},          TPoint{X2 - kx, Y2},     TPoint{X1, Y1 + ky},
                                TPoint{X1, cy}};
    for (TPoint &q : p)
        RotatePointAboutCentre(q, centre, q, Angle);

    bezierPath(C, p);
    C.FlattenPath();
    TPointArray points = C.GetPath();

    C.Brush.Color = Colour;
    const TColor savedPen = C.Pen.Color;
    C.Pen.Color = Colour;

    // The flattening decides how many points each quarter gets, so the cut is
    // placed by the quarters' end points: for a positive angle from just
    // before the top middle to the right middle, for a negative one from the
    // start over the top, leaving the liquid under a straight surface line.
    if (points.size() >= 5) {
        const int top = static_cast<int>(indexOfPoint(points, p[3]));
        const int right = static_cast<int>(indexOfPoint(points, p[6]));
        if (Angle >= 0) {
            if (top >= 1 && right > top)
                DeletePointRange(points, top - 1, right);
        } else {
            if (points.back() == points.front())
                DeletePointRange(points, int(points.size()) - 1, int(points.size()) - 1);
            DeletePointRange(points, 0, top + 1);
        }
    }
    if (!points.empty()) {
        points.back() = points.front();
        // Filled whatever brush style the caller left; that style stays.
        const TBrushStyle savedStyle = C.Brush.Style;
        C.Brush.Style = TBrushStyle::bsSolid;
        C.Polygon(points);
        C.Brush.Style = savedStyle;
    }
    C.Pen.Color = savedPen;
    C.PolyBezier(p);
}

void DeletePointRange(TPointArray &Points, int Start, int Stop)
{
    const int n = static_cast<int>(Points.size());
    Start = std::max(Start, 0);
    Stop = std::min(Stop, n - 1);
    if (Start > Stop)
        return;
    Points.erase(Points.begin() + Start, Points.begin() + Stop + 1);
}

// --- Texts -----------------------------------------------------------------------------

void DrawAngledText(TCanvas &C, int X, int Y, std::string_view Text, int Angle, TColor Colour, int Size,
                    TFontStyles Style)
{
    C.Pen.Width = 0;
    C.Brush.Style = TBrushStyle::bsClear;
    C.Font.Name = "Arial";
    C.Font.Size = Size;
    C.Font.Pitch = TFontPitch::fpDefault;
    C.Font.Style = Style;
    C.Font.Color = Colour;
    C.Font.Escapement = Angle * 10;
    if (!Text.empty())
        C.TextOut(X, Y, Text);
    // The turned font is a one-off: the next text starts upright.
    C.Font.Escapement = 0;
    C.Font.Size = Size;
}

void DrawCanvasText(TCanvas &C, int X, int Y, std::string_view Text, TColor Colour, int Size)
{
    C.Font.PixelsPerInch = 96;
    DrawAngledText(C, X, Y, Text, 0, Colour, Size, TFontStyles{});
    C.Font.Size = 7;
}

void DrawPipeLabel(int &LabelX, int &LabelY, TCanvas &C, int X1, int Y1, int X2, int Y2, double Percentage,
                   std::string_view Text, TColor Colour, int Size, bool Selected)
{
    // Measured in the font it will be written in, not whatever the canvas
    // held before.
    C.Font.Name = "Arial";
    C.Font.Size = Size;
    C.Font.Style = TFontStyles{};
    C.Font.Escapement = 0;
    const TSize extent = C.TextExtent(Text);
    const double w = extent.cx, h = extent.cy;

    const double dx = double(X2) - X1, dy = double(Y2) - Y1;
    const double L = std::max(1.0, std::sqrt(dx * dx + dy * dy));
    double r = (w > L || h > L) ? 0.01 : Percentage * (L - w + 16) / 100 / L;
    double t = -std::atan2(dy, dx) / kPi * 180;
    if (t > 90) {
        t -= 180;
        r = 1 - r;
    } else if (t < -90) {
        t += 180;
        r = 1 - r;
    }
    const double a = t / 180 * kPi;
    if (std::fabs(dx) > std::fabs(dy)) {
        LabelX = X1 + roundi(dx * r) - roundi(std::sin(a) * 19);
        LabelY = Y1 + roundi(dy * r) - roundi(std::cos(a) * 19);
    } else {
        LabelX = X1 + roundi(dx * r) - roundi(std::cos(a) * 19);
        LabelY = Y1 + roundi(dy * r);
        if (std::fabs(t) != 90)
            LabelY += roundi(std::sin(a) * 19);
        if (t < 0 && Y1 <= Y2)
            LabelX += 20;
        else
            LabelX -= 20;
        if (t < 0 && Y1 > Y2 && X2 < X1)
            LabelX += 10;
    }
    if (Selected)
        DrawFilledCircle(C, LabelX + 3, LabelY + 3, 7, clYellow);
    DrawAngledText(C, LabelX, LabelY, Text, roundi(t), Colour, Size, TFontStyles{});
}

void DrawColorKeyScale(TCanvas &C, int X1, int Y1, int X2, int Y2, double StartValue, double EndValue,
                       int Decimals, int Divisions, std::string_view Caption, int CaptionOffset,
                       TColor AxisColour, TColor LabelColour, int TickLength, TColor CaptionColour, int FontSize,
                       bool IncludeEnd)
{
    C.Brush.Color = clBlack;
    C.Brush.Style = TBrushStyle::bsClear;
    C.Pen.Width = 0;
    C.Pen.Color = AxisColour;
    C.MoveTo(X1, Y1);
    C.LineTo(X2, Y2);
    // No divisions: an axis without ticks rather than a division by zero.
    if (Divisions >= 1) {
        const int s = (X2 - X1) / Divisions;
        const double v = (EndValue - StartValue) / Divisions;
        const int last = IncludeEnd ? Divisions : Divisions - 1;
        for (int i = 0; i <= last; ++i) {
            const int x = X1 + i * s;
            C.Pen.Color = AxisColour;
            C.MoveTo(x, Y1);
            C.LineTo(x, Y1 + TickLength);
            const std::string text = formatFixed(Decimals, StartValue + i * v);
            C.Font.Name = "Arial";
            C.Font.Size = FontSize;
            const int w = C.TextWidth(text);
            DrawCanvasText(C, x - w / 2, Y1 + TickLength + 2, text, LabelColour, FontSize);
        }
    }
    if (!Caption.empty()) {
        // Measured at the size it is written in, so it stands centred.
        C.Font.Name = "Arial";
        C.Font.Size = FontSize;
        C.Font.Style = TFontStyles{};
        const int w = C.TextWidth(Caption);
        DrawCanvasText(C, (X1 + X2 - w) / 2, Y1 + CaptionOffset, Caption, CaptionColour, FontSize);
    }
}

void DrawGradientBar(TCanvas &C, int X, int Y, int Width, int Y2, TColor ColourA, TColor ColourB)
{
    C.Brush.Color = ColourA;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Pen.Width = 0;
    if (Width < 1)
        return;
    const int dR = int(GetRValue(ColourB)) - GetRValue(ColourA);
    const int dG = int(GetGValue(ColourB)) - GetGValue(ColourA);
    const int dB = int(GetBValue(ColourB)) - GetBValue(ColourA);
    for (int i = 0; i <= Width; ++i) {
        const double f = double(i) / Width;
        C.Pen.Color = ColourA + static_cast<TColor>(Trunc(f * dR) + Trunc(f * dG) * 256 + Trunc(f * dB) * 65536);
        C.MoveTo(X + i, Y);
        C.LineTo(X + i, Y2);
    }
}

void DrawThreeColorGradientBar(TCanvas &C, int X, int Y, int Width, int Y2, TColor LowColour, TColor MidColour,
                               TColor HighColour)
{
    const int h = Width / 2;
    DrawGradientBar(C, X, Y, h, Y2, LowColour, MidColour);
    DrawGradientBar(C, X + h, Y, h, Y2, MidColour, HighColour);
}

int ItemTextAngle(double T)
{
    int angle = roundi(-T / (2 * kPi) * 360);
    if (angle >= 360)
        angle -= 360;
    return angle;
}

} // namespace tessaran
