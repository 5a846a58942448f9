#include "drawing/Pump_Symbols.h"

#include "drawing/Canvas_Drawings.h"
#include "drawing/Pipe_Items.h"
#include "drawing/Pump_Styles.h"
#include "platform/Pascal.h"

#include <cmath>
#include <exception>

namespace tessaran {

namespace {
int roundi(double v) { return static_cast<int>(Round(v)); }
int truncInt(double v) { return static_cast<int>(Trunc(v)); }
} // namespace

const TPumpSymbolColors &PumpColorsFor(int PumpColorIndex, bool PumpUseInCalc)
{
    if (!PumpUseInCalc)
        return NotInCalculationPumpColors;
    // An index from a file outside the four colours takes the first.
    return PumpSymbolColors[std::size_t(PumpColorIndex >= 0 && PumpColorIndex <= 3 ? PumpColorIndex : 0)];
}

int PumpSymbolOffset(int ImageIndex)
{
    static constexpr int offsets[10] = {0, 12, 6, 22, 8, 24, 8, -4, -4, 14};
    return ImageIndex >= 0 && ImageIndex <= 9 ? offsets[ImageIndex] : 0;
}

void DrawPumpSymbol(TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, std::string_view Text1,
                    std::string_view Text2, const TPumpSymbolColors &Colors, bool Selected, double Yaw, double Tilt,
                    int ImageIndex, double Scale, int Stages, int TextSize)
{
    const TPumpSymbolColors colors = Colors;
    const int stageCount = Stages < 1 ? 1 : (Stages > 9 ? 9 : Stages);
    if (ImageIndex < 0 || ImageIndex > 9)
        return;
    if (ImageIndex == 0) {
        DrawPumpSymbol0(C, FromX, FromY, PumpX, PumpY, Text1, Text2, colors.Fill, colors.Outline, Selected, Yaw, Scale,
                        TextSize);
        return;
    }
    try {
        DrawPumpSymbolStyle(ImageIndex, C, FromX, FromY, PumpX, PumpY, stageCount, Text1, Text2, colors, Selected,
                            Yaw, Tilt, Scale, TextSize);
    } catch (const std::exception &) {
        DrawPumpSymbol0(C, FromX, FromY, PumpX, PumpY, Text1, Text2, colors.Fill, colors.Outline, Selected, Yaw, Scale,
                        7);
    }
}

void DrawPumpSymbol0(TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, std::string_view Text1,
                     std::string_view Text2, TColor FillColor, TColor OutlineColor, bool Selected, double Yaw,
                     double Scale, int TextSize)
{
    const int r = roundi(7 * Scale);
    if (Selected)
        DrawFilledCircle(C, PumpX, PumpY, r, clYellow);
    DrawCanvasText(C, PumpX + 2, PumpY + 8, Text1, clBlue, TextSize);
    DrawCanvasText(C, PumpX + 2, PumpY + 18, Text2, clBlue, TextSize);
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Width = 0;
    C.Pen.Color = OutlineColor;
    C.Brush.Style = TBrushStyle::bsClear;
    int x1 = PumpX - r, y1 = PumpY - r, x2 = PumpX + r + 1, y2 = PumpY + r + 1;
    double A = std::fabs(LineAngle(FromX, FromY, PumpX, PumpY));
    const int limit = roundi(std::atan(0.5) / kPi * 180) + 10;
    const bool iso = Yaw != 0 && (roundi(A / kPi * 180) % 180) < limit && PumpX != FromX && PumpY != FromY;
    double yaw = Yaw;
    if (iso) {
        ProjectPointIsometric(x1, y1, PumpX, PumpY, std::fabs(Yaw), A, 1.0);
        ProjectPointIsometric(x2, y2, PumpX, PumpY, std::fabs(Yaw), A, 1.0);
        x1 -= 1;
        x2 += 1;
        const bool sameSign = (PumpX - FromX > 0) == (PumpY - FromY > 0);
        DrawRotatedEllipseOutline(C, x1, y1, x2, y2, sameSign ? A : -A);
    } else {
        C.Ellipse(x1, y1, x2, y2);
        A = 0;
        yaw = 0;
    }
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = FillColor;
    DrawPumpFlowArrowHead(C, FromX, FromY, PumpX, PumpY, r - 1, 1.0, r - 1 - roundi(2 * Scale), FillColor,
                          OutlineColor, yaw, A);
}

// --- Shared shape routines ----------------------------------------------------------

void BuildNozzleOutline(int Size, int X0, int Y0, int pA, int pB, int pC, int pD, int pE, int Variant,
                        TPumpPoints4 &Body, TPumpPoints4 &Flange)
{
    auto px = [Size](int c) { return truncInt(double(Size) * c / 100); };
    const int a = px(pA), b = px(pB), c = px(pC), d = px(pD), e = px(pE);
    const int xm = X0 + b;
    const int bodyEnd = Variant == 1 ? xm - 1 : xm;
    const int flangeStart = Variant == 1 ? xm : xm - 1;
    Body = {TPoint{bodyEnd, Y0 - c}, TPoint{bodyEnd, Y0 + c}, TPoint{X0, Y0 + a}, TPoint{X0, Y0 - c}};
    Flange = {TPoint{xm + d, Y0 - e}, TPoint{xm + d, Y0 + e}, TPoint{flangeStart, Y0 + e},
              TPoint{flangeStart, Y0 - e}};
}

void BuildPumpFootOutline(int X, int Y, int HW, int H, int W, int S, TPumpPoints8 &Out)
{
    Out = {TPoint{X - HW, Y + 1},         TPoint{X - HW, Y - H},         TPoint{X - HW + W, Y - H},
           TPoint{X - HW + W + S, Y - H - S}, TPoint{X + HW - W - S, Y - H - S}, TPoint{X + HW - W, Y - H},
           TPoint{X + HW, Y - H},         TPoint{X + HW, Y + 1}};
}

void BuildBoltPairOutline(int Size, int X, int Y, int Orientation, int F, int G, int H, int L, int M,
                          TPumpPoints4 &Outer, TPumpPoints4 &Inner)
{
    auto px = [Size](int c) { return roundi(double(Size) * c / 100); };
    const int f = px(F), g = px(G), h = px(H), l = px(L), m = px(M);
    int left;
    if (Orientation < 0)
        left = X - m;
    else if (Orientation > 0)
        left = X + m - 2 * h;
    else
        left = X + m - h;
    const int bottom = Y - l, top = Y - l - f;
    const int centre = left + h;
    auto rect = [&](int x0, int x1) {
        return TPumpPoints4{TPoint{x0, top}, TPoint{x1, top}, TPoint{x1, bottom}, TPoint{x0, bottom}};
    };
    Outer = rect(left, left + 2 * h);
    Inner = rect(centre - g, centre + g);
}

void OffsetPoint(const TPoint &P, int dX, int dY, TPoint &Out)
{
    Out = TPoint{P.X + dX, P.Y + dY};
}

void MirrorCoordinatesX(int K, std::span<TPoint> Points)
{
    for (TPoint &p : Points)
        p.X = 2 * K - p.X;
}

void MirrorCoordinatesY(int K, std::span<TPoint> Points)
{
    for (TPoint &p : Points)
        p.Y = 2 * K - p.Y;
}

void RotatePumpPoints(int CX, int CY, double Angle, std::span<TPoint> Points)
{
    for (TPoint &p : Points)
        RotatePointAbout(p.X, p.Y, CX, CY, Angle);
}

void ProjectPumpPoints(int CX, int CY, double Scale, double Tilt, double Angle, double Yaw, std::span<TPoint> Points)
{
    for (TPoint &p : Points)
        ProjectPumpPointIsometric(p.X, p.Y, CX, CY, Yaw, Angle, Tilt, Scale);
}

TColor BlendColors(TColor A, TColor B, int P)
{
    const TColor a = ColorToRGB(A), b = ColorToRGB(B);
    const int d = roundi(P * 2.55);
    auto channel = [d](int ca, int cb) { return (cb + (((ca - cb) * d) >> 8)) & 0xFF; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

double FoldPipeAngle(double X)
{
    double a = std::fabs(X);
    if (a / kPi >= 1)
        a -= kPi;
    if (a / kPi > 0.5)
        a -= kPi / 2;
    return a < 0 ? 0 : a;
}

void IsoCircleRadii(int &HalfWidth, int &HalfHeight, double &Angle, double R)
{
    Angle = FoldPipeAngle(Angle);
    const double t = std::atan((std::sin(Angle) + 1) / std::cos(Angle));
    const double w = std::cos(t) * R * 1.1, h = std::sin(t) * R * 1.1;
    if (!std::isfinite(w) || !std::isfinite(h) || std::fabs(w) > 1e9 || std::fabs(h) > 1e9) {
        HalfWidth = HalfHeight = 0;
        return;
    }
    HalfWidth = roundi(w);
    HalfHeight = roundi(h);
}

void DrawCenteredEllipse(TCanvas &C, int X, int Y, double R, double FX, double FY)
{
    const int rx = roundi(R * FX), ry = roundi(R * FY);
    C.Ellipse(X - rx, Y - ry, X + rx, Y + ry);
}

void DrawPumpDisc(TCanvas &C, int Size, int X, int Y, int P, TColor BrushColor, TColor PenColor)
{
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = BrushColor;
    C.Pen.Width = 0;
    C.Pen.Color = PenColor;
    C.Pen.Mode = TPenMode::pmCopy;
    const int r = roundi(double(Size) * P / 100);
    C.Ellipse(X - r, Y - r, X + r, Y + r);
}

} // namespace tessaran
