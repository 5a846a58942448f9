#include "drawing/Pump_Styles.h"

#include "drawing/Canvas_Drawings.h"
#include "platform/Pascal.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace tessaran {

namespace {
int roundi(double v) { return static_cast<int>(Round(v)); }
} // namespace

TPumpStyleFrame::TPumpStyleFrame(TCanvas &C_, int FromX_, int FromY_, int PumpX_, int PumpY_, double Yaw_,
                                 double Tilt_, double Scale_, bool MirrorWhenLeftward)
    : C(C_), FromX(FromX_), FromY(FromY_), PumpX(PumpX_), PumpY(PumpY_), Yaw(Yaw_), Tilt(Tilt_), Scale(Scale_),
      Size(roundi(100 * Scale_)), A(LineAngle(FromX_, FromY_, PumpX_, PumpY_)), Isometric(Yaw_ != 0),
      Leftward(PumpX_ < FromX_), Mirror(MirrorWhenLeftward && PumpX_ < FromX_)
{
}

int TPumpStyleFrame::L(int c) const { return static_cast<int>(Trunc(double(Size) * c / 100)); }
int TPumpStyleFrame::R(int c) const { return roundi(double(Size) * c / 100); }

void TPumpStyleFrame::Place(std::span<TPoint> Points) const
{
    for (TPoint &p : Points) {
        p.X += PumpX;
        p.Y += PumpY;
    }
    if (Mirror) {
        if (Isometric)
            MirrorCoordinatesX(PumpX, Points);
        else
            MirrorCoordinatesY(PumpY, Points);
    }
    if (Isometric)
        ProjectPumpPoints(PumpX, PumpY, Size > 0 ? Scale * 100 / Size : 1.0, Tilt, A, std::fabs(Yaw), Points);
    else
        RotatePumpPoints(PumpX, PumpY, A, Points);
}

TPoint TPumpStyleFrame::Place(TPoint Offset) const
{
    TPoint p = Offset;
    Place(std::span<TPoint>(&p, 1));
    return p;
}

void TPumpStyleFrame::Part(std::vector<TPoint> Points, TColor Fill, TColor Outline, TBrushStyle Style) const
{
    Place(Points);
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Width = 0;
    C.Pen.Color = Outline;
    C.Brush.Style = Style;
    C.Brush.Color = Fill;
    C.Polygon(Points);
}

void DrawPumpStyleTexts(const TPumpStyleFrame &f, std::string_view Text1, std::string_view Text2, bool Selected,
                        int PlanD, int IsoD, int TextSize, TColor Outline)
{
    const int D = f.Isometric ? IsoD : PlanD;
    if (Selected)
        DrawFilledCircle(f.C, f.PumpX, f.PumpY, roundi(f.Size * double(D) / 100), clYellow);
    const int ty = f.PumpY + roundi(D * f.Scale);
    DrawCanvasText(f.C, f.PumpX + 2, ty, Text1, clBlue, TextSize);
    DrawCanvasText(f.C, f.PumpX + 2, ty + 10, Text2, clBlue, TextSize);
    f.C.Pen.Style = TPenStyle::psSolid;
    f.C.Pen.Width = 0;
    f.C.Pen.Color = Outline;
    f.C.Brush.Style = TBrushStyle::bsClear;
}

namespace {

using Pts = std::vector<TPoint>;

Pts rect(int x0, int y0, int x1, int y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

Pts mirroredY(Pts p)
{
    for (TPoint &q : p)
        q.Y = -q.Y;
    return p;
}

Pts toPts(std::span<const TPoint> p) { return Pts(p.begin(), p.end()); }

// How a circle of a style is seen in the isometric view.
struct IsoCircle {
    double R;          // radius constant for the half-axes (times 1.1 where the style says)
    double plainK;     // the plain radius constant, for the circle drawn upright
    double narrow;     // the upright ellipse's narrowing below 0.0768 rad
    int e1 = 0, e2 = 0; // margins of the turned ellipse on a vertical pipe
    bool hub = false;   // the hub's own margins on a vertical pipe
};

// The isometric circle rule about the pump point, in the brush colour in force.
void drawIsoCircle(const TPumpStyleFrame &f, const IsoCircle &c, bool vertical)
{
    int hw = 0, hh = 0;
    double F = f.A;
    IsoCircleRadii(hw, hh, F, c.R);
    hw = roundi(hw * double(f.Size) / 100);
    hh = roundi(hh * double(f.Size) / 100);
    const int X = f.PumpX, Y = f.PumpY;
    if (F < 0.0768) {
        DrawCenteredEllipse(f.C, X, Y, c.plainK * f.Size / 100, c.narrow, 1.0);
    } else if (F < 0.668 || vertical) {
        if (vertical) {
            if (c.hub)
                DrawRotatedFilledEllipse(f.C, X - hw - roundi(4 * f.Scale), Y - hh + 1, X + hw + roundi(4 * f.Scale) - 2,
                                         Y + hh + 1, -2.617, f.C.Brush.Color);
            else
                DrawRotatedFilledEllipse(f.C, X - hw - c.e1 - 2, Y + c.e2 - hh, X + hw + c.e1, Y + hh - c.e2 + 2,
                                         -2.617, f.C.Brush.Color);
        } else {
            DrawRotatedFilledEllipse(f.C, X - hw - 2, Y - hh, X + hw, Y + hh + 2, f.A, f.C.Brush.Color);
        }
    } else {
        DrawCenteredEllipse(f.C, X, Y, c.plainK * f.Size / 100, 1.0, 1.0);
    }
}

void brush(TCanvas &C, TColor fill, TColor outline)
{
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Width = 0;
    C.Pen.Color = outline;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Brush.Color = fill;
}

// A disc of a style at a frame offset: placed like the outlines; in the
// isometric view turned along the pipe when the pipe is shallow enough.
void styleDisc(const TPumpStyleFrame &f, TPoint offset, double radiusPixels, TColor fill, TColor outline)
{
    const TPoint c = f.Place(offset);
    brush(f.C, fill, outline);
    if (f.Isometric) {
        double F = f.A;
        int hw = 0, hh = 0;
        IsoCircleRadii(hw, hh, F, radiusPixels / 1.1);
        if (F < 0.668) {
            DrawRotatedFilledEllipse(f.C, c.X - hw - 1, c.Y - hh, c.X + hw, c.Y + hh + 1, f.A, fill);
            return;
        }
    }
    const int r = roundi(radiusPixels);
    f.C.Ellipse(c.X - r, c.Y - r, c.X + r, c.Y + r);
}

// --- Style 1 and 2: end and front views ------------------------------------------------

void drawNozzleAndCasing(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    TPumpPoints4 body, flange;
    BuildNozzleOutline(f.Size, 0, 0, k[2], k[7], k[8], k[9], k[10], 2, body, flange);
    f.Part(toPts(body), c.Fill2, c.Outline);
    f.Part(toPts(flange), c.Fill2, c.Outline);
}

void drawFoot(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c, bool circlesTurned)
{
    const double S = f.Scale;
    TPumpPoints8 foot;
    if (!f.Isometric) {
        const int y = roundi(1.1 * f.Size * k[2] / 100) + roundi(f.Size * (k[2] - k[1]) / 300.0);
        BuildPumpFootOutline(0, y, roundi(k[2] * S), roundi(3 * S), roundi(4 * S), roundi(S), foot);
        f.Part(toPts(foot), c.Shade, c.Outline);
        return;
    }
    Pts pts;
    TPoint ref{f.PumpX, f.PumpY + roundi(k[2] * S)};
    double projectionScale = f.Size > 0 ? f.Scale * 100 / f.Size : 1.0;
    if (f.PumpX == f.FromX && f.FromY < f.PumpY)
        ref = {f.PumpX - roundi(k[2] * S), f.PumpY - roundi(2 * S) - 1};
    else if (f.PumpX == f.FromX)
        ref = {f.PumpX + roundi(k[2] * S), f.PumpY + roundi(2 * S) + 1};
    if (circlesTurned) {
        BuildPumpFootOutline(ref.X, ref.Y, roundi(k[2] * S), roundi(3 * S), roundi(4 * S), roundi(S), foot);
    } else {
        ref = {f.PumpX, f.PumpY};
        BuildPumpFootOutline(f.PumpX, f.PumpY + roundi(1.1 * k[2]) + roundi(f.Size * (k[2] - k[1]) / 300.0), k[2], 3,
                             4, 1, foot);
        projectionScale = f.Scale;
    }
    pts = toPts(foot);
    if (f.Leftward)
        MirrorCoordinatesX(ref.X, pts);
    ProjectPumpPoints(ref.X, ref.Y, projectionScale, f.Tilt, f.A, std::fabs(f.Yaw), pts);
    brush(f.C, c.Shade, c.Outline);
    f.C.Polygon(pts);
}

// Circles of styles 1 and 2 by the plan rule or the isometric rule.
bool circlesTurned(const TPumpStyleFrame &f, bool vertical)
{
    double F = f.A;
    int hw = 0, hh = 0;
    IsoCircleRadii(hw, hh, F, 1);
    return F >= 0.0768 && (F < 0.668 || vertical);
}

void styleOneTwoCircle(const TPumpStyleFrame &f, double planRadius, double planFactor, const IsoCircle &iso,
                       bool vertical)
{
    if (f.Isometric)
        drawIsoCircle(f, iso, vertical);
    else
        DrawCenteredEllipse(f.C, f.PumpX, f.PumpY, planRadius, planFactor, planFactor);
}

void drawStyle1(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    const double S = f.Scale;
    const bool vertical = f.PumpX == f.FromX;
    drawNozzleAndCasing(f, k, c);
    brush(f.C, c.Fill2, c.Outline);
    styleOneTwoCircle(f, f.R(k[2]), 1.1, {1.1 * k[2], double(k[2]), 0.875, roundi(8 * S), roundi(2 * S)}, vertical);
    TPumpPoints4 body, flange;
    BuildNozzleOutline(f.Size, 0, 0, k[1], -k[3], k[4], -k[5], k[6], 1, body, flange);
    f.Part(toPts(body), c.Fill, c.Outline);
    f.Part(toPts(flange), c.Fill, c.Outline);
    brush(f.C, c.Fill, c.Outline);
    styleOneTwoCircle(f, f.R(k[1]), 1.05, {1.1 * k[1], double(k[1]), 0.8, roundi(6 * S), roundi(3 * S)}, vertical);
    TPumpPoints4 outer, inner;
    BuildBoltPairOutline(f.Size, -1, 0, -1, 2, 1, 2, k[8] - 1, k[1] + 1, outer, inner);
    f.Part(toPts(outer), c.Fill2, c.Outline);
    f.Part(toPts(inner), c.Fill2, c.Outline);
    BuildBoltPairOutline(f.Size, -2, 0, 1, 2, 1, 2, k[8] - 1, k[2] + 1, outer, inner);
    f.Part(toPts(outer), c.Fill2, c.Outline);
    f.Part(toPts(inner), c.Fill2, c.Outline);
    const int x0 = -2 - f.L(k[1] + 1), x1 = x0 + 2 * f.L(k[2] + 1) - 1, y1 = -(f.L(k[8]) / 2);
    f.Part({{x0, y1}, {x0, y1 - 2 * f.L(1)}, {x1, y1 - 2 * f.L(1)}, {x1, y1}}, c.Fill2, c.Outline);
    brush(f.C, c.Shade, c.Outline);
    const double hubK = double(roundi(k[1] / 2.0));
    IsoCircle hub{hubK, hubK, 0.8};
    hub.hub = true;
    styleOneTwoCircle(f, roundi(f.Size * k[1] / 200.0), 1.0, hub, vertical);
    drawFoot(f, k, c, f.Isometric && circlesTurned(f, vertical));
}

void drawStyle2(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    const double S = f.Scale;
    const bool vertical = std::fabs(std::fabs(std::sin(f.A)) - 1) < 0.05;
    drawNozzleAndCasing(f, k, c);
    brush(f.C, c.Fill2, c.Outline);
    styleOneTwoCircle(f, f.R(k[2]), 1.1, {1.1 * k[2], double(k[2]), 0.95, roundi(8 * S), roundi(2 * S)}, vertical);
    brush(f.C, c.Fill, c.Outline);
    styleOneTwoCircle(f, f.R(k[1]), 1.05, {1.1 * k[1], double(k[1]), 1.0, roundi(6 * S), roundi(3 * S)}, vertical);
    const int B = static_cast<int>(Trunc(f.Size * k[1] / 100.0 / 1.25));
    const int d = roundi(0.707 * B);
    const TPoint marks[8] = {{B, 0}, {d, d}, {0, B}, {-d, d}, {-B, 0}, {-d, -d}, {0, -B}, {d, -d}};
    for (const TPoint &m : marks) {
        const TPoint at = f.Place(m);
        DrawPumpDisc(f.C, f.Size, at.X, at.Y, 1, c.Outline, c.Outline);
    }
    brush(f.C, c.Shade, c.Outline);
    const double hubK = double(roundi(k[1] / 2.0));
    IsoCircle hub{hubK, hubK, 0.8};
    hub.hub = true;
    styleOneTwoCircle(f, roundi(f.Size * k[1] / 100.0 / 1.5), 1.0, hub, vertical);
    drawFoot(f, k, c, f.Isometric && circlesTurned(f, vertical));
}

// --- Style 3: two chambers between two frames -----------------------------------------------

void drawStyle3(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    auto L = [&](int i) { return f.L(k[i]); };
    const int k4 = L(4), k3 = L(3), k8 = L(8), k9 = L(9), k10 = L(10), k6 = L(6), k12 = L(12);
    const Pts lowerFrame = {{k4, 0},       {k4, k3 - k10},       {k4 - k9, k3},  {-k4 + 2, k3},
                            {-k4 + 2, k3 - k8}, {k4 - k8, k3 - k8}, {k4 - k8, 0}};
    const Pts joint = rect(L(8), k3 - k8, L(8) + k12, k3);
    const Pts lug = rect(-k4 - 2, k3 - L(15) - 2, -k4 + 2, k6);
    for (bool upper : {false, true}) {
        f.Part(upper ? mirroredY(lowerFrame) : lowerFrame, c.Fill, c.Outline);
        f.Part(upper ? mirroredY(joint) : joint, c.Fill, c.Outline);
        f.Part(upper ? mirroredY(lug) : lug, c.Fill, c.Outline);
    }
    const int outer = -k4 - L(5), recess = outer + L(7), edge = k6 - k8;
    f.Part({{-k4, -k6}, {outer, -k6}, {outer, -edge}, {recess, -edge + L(7)}, {recess, edge - L(7)}, {outer, edge},
            {outer, k6}, {-k4, k6}},
           c.Fill, c.Outline);
    const int barCentre = -roundi(4 * f.Scale);
    f.Part(rect(barCentre - L(16), -k6, barCentre + L(16), k6), c.Outline, c.Outline);
    const int rimTop = L(13) - k12, rimBottom = L(13);
    const Pts chamber = {{-12 * f.Size / 100, L(16)}, {4 * f.Size / 100, L(16)}, {L(13) + 1, rimTop},
                         {L(13) + 1, rimBottom},      {2 * f.Size / 100, k3},      {-10 * f.Size / 100, k3},
                         {-L(3), rimBottom},          {-L(3), rimTop}};
    const Pts rim = rect(-L(3), rimTop, L(13) + 1, rimBottom);
    for (bool upper : {false, true}) {
        f.Part(upper ? mirroredY(chamber) : chamber, c.Fill2, c.Outline);
        f.Part(upper ? mirroredY(rim) : rim, c.Fill2, c.Outline);
    }
    const double r1 = f.Size * k[1] / 100.0, r2 = f.Size * k[2] / 100.0;
    const TPoint rings[3] = {{k4 - L(1), 0}, {-k4 - L(1), 0}, {-k4 - L(1), 0}};
    for (const TPoint &r : rings)
        styleDisc(f, r, r1, clSilver, c.Outline);
    for (const TPoint &r : rings)
        styleDisc(f, r, r2, c.Outline, c.Outline);
}

// --- Style 4: body and square plate ------------------------------------------------------------

void drawStyle4(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    auto L = [&](int i) { return f.L(k[i]); };
    f.Part(rect(-L(9), -L(10), L(9) + 1, L(10)), c.Fill2, c.Outline);
    f.Part(rect(-L(9) - L(11), -L(12), -L(9), L(12)), c.Fill2, c.Outline);
    f.Part(rect(L(9) + 1, -L(12), L(9) + 1 + L(11), L(12)), c.Fill2, c.Outline);
    const int hw = L(1) + L(2) + L(13), top = L(15), bottom = L(1) + L(2) + L(14) + L(15);
    const Pts casing = {{-hw, top},
                        {hw, top},
                        {hw, bottom - L(1) - L(2)},
                        {hw - L(1), bottom - L(2)},
                        {hw - L(1) - L(2), bottom},
                        {-hw + L(1) + L(2), bottom},
                        {-hw + L(1), bottom - L(2)},
                        {-hw, bottom - L(1) - L(2)}};
    f.Part(casing, c.Fill, c.Outline);
    const TPoint a = f.Place({-hw, top}), b = f.Place({hw, top});
    f.C.Pen.Color = c.Fill;
    f.C.MoveTo(a.X, a.Y);
    f.C.LineTo(b.X, b.Y);
    const int pw = L(1) + L(2) + L(4), ptop = -16 * f.Size / 100, pbottom = 5 * f.Size / 100, cut = L(1);
    f.Part({{-pw + cut, ptop},
            {pw - cut, ptop},
            {pw, ptop + cut},
            {pw, pbottom - cut},
            {pw - cut, pbottom},
            {-pw + cut, pbottom},
            {-pw, pbottom - cut},
            {-pw, ptop + cut}},
           c.Shade, c.Outline);
    const int hx0 = -L(5) + 1, hx1 = L(5) + 1, hy0 = -L(3) - L(5) + 1, hy1 = -L(3) + L(5) + 1;
    const TPoint holes[4] = {{hx0, hy0}, {hx1, hy0}, {hx0, hy1}, {hx1, hy1}};
    const TColor holeColours[4] = {clWhite, clWhite, c.Fill2, c.Fill2};
    const double holeR = f.Size * k[6] / 100.0;
    const TColor ring = BlendColors(BlendColors(clBlack, c.Shade, 30), c.Fill2, 30);
    if (!f.Isometric) {
        for (int i = 0; i < 4; ++i) {
            const TPoint at = f.Place(holes[i]);
            DrawPumpDisc(f.C, f.Size, at.X, at.Y, k[6], holeColours[i], c.Outline);
        }
        const TPoint centre = f.Place({1, -L(3) + 1});
        DrawPumpDisc(f.C, f.Size, centre.X, centre.Y, k[8], ring, c.Outline);
        DrawPumpDisc(f.C, f.Size, centre.X, centre.Y, k[7], c.Outline, c.Outline);
        return;
    }
    double F = f.A;
    int ihw = 0, ihh = 0;
    IsoCircleRadii(ihw, ihh, F, k[6]);
    ihw = roundi(ihw * double(f.Size) / 100);
    ihh = roundi(ihh * double(f.Size) / 100);
    const bool steep = std::fabs(F - kPi / 2) < 0.05;
    if (steep) {
        ihw = roundi(2 * f.Size / 100.0);
        ihh = roundi(1 * f.Size / 100.0);
    }
    TPoint placed[4];
    for (int i = 0; i < 4; ++i) {
        placed[i] = f.Place(holes[i]);
        brush(f.C, holeColours[i], c.Outline);
        if (F < 0.0768 && !steep)
            DrawCenteredEllipse(f.C, placed[i].X, placed[i].Y, holeR, 0.875, 1.0);
        else if (F < 0.668 || steep)
            DrawRotatedFilledEllipse(f.C, placed[i].X - ihw - 1, placed[i].Y - ihh, placed[i].X + ihw,
                                     placed[i].Y + ihh + 1, f.A, holeColours[i]);
        else
            DrawCenteredEllipse(f.C, placed[i].X, placed[i].Y, holeR, 1.0, 1.0);
    }
    const TPoint mid{(placed[0].X + placed[3].X) / 2, (placed[0].Y + placed[3].Y) / 2};
    const int across = roundi(0.3 * std::abs(placed[3].X - placed[0].X)),
              upDown = roundi(0.2 * std::abs(placed[3].Y - placed[0].Y)) + 1;
    brush(f.C, ring, c.Outline);
    if (F < 0.668 || steep)
        DrawRotatedFilledEllipse(f.C, mid.X - across, mid.Y - upDown, mid.X + across, mid.Y + upDown, f.A, ring);
    else
        f.C.Ellipse(mid.X - across, mid.Y - upDown, mid.X + across, mid.Y + upDown);
}

// --- Style 5: barrel -------------------------------------------------------------------------------

void drawStyle5(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    auto L = [&](int i) { return f.L(k[i]); };
    const int half = L(1) + L(3), hh = L(4), s = L(9);
    f.Part(rect(-half, -hh, half, hh), c.Shade, c.Outline);
    f.Part(rect(-half, -hh + s, half, -hh + 2 * s), c.Shade, c.Outline);
    f.Part(rect(-half, hh - 2 * s, half, hh - s), c.Shade, c.Outline);
    f.Part(rect(-L(1), -L(2), L(1), L(2)), c.Fill, c.Outline);
    styleDisc(f, {1, -L(2)}, 3 * f.Scale, c.Fill2, c.Outline);
    styleDisc(f, {1, -L(2)}, 2 * f.Scale, c.Shade, c.Outline);
    const int blockOuter = half + L(1);
    for (int side : {-1, 1}) {
        f.Part(side < 0 ? rect(-blockOuter, -L(2), -half + 1, L(2)) : rect(half - 1, -L(2), blockOuter, L(2)), c.Fill,
               c.Outline);
        const int stubEnd = blockOuter + L(5) + 1, capEnd = stubEnd + L(7) + 1;
        auto span = [side](int a, int b, int top, int bottom) {
            return side < 0 ? rect(-b, top, -a, bottom) : rect(a, top, b, bottom);
        };
        f.Part(span(blockOuter, stubEnd, -L(6), L(6)), c.Shade, c.Outline);
        f.Part(span(stubEnd - 1, capEnd, -L(8), L(8)), c.Fill, c.Outline);
        styleDisc(f, {side * ((stubEnd + capEnd) / 2 + (side > 0 ? 0 : -1)), 0}, 2 * f.Scale, c.Outline, c.Outline);
    }
}

// --- Style 6: in-line body under a column --------------------------------------------------------

void drawStyle6(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    auto L = [&](int i) { return f.L(k[i]); };
    auto px = [&](int v) { return static_cast<int>(Trunc(f.Size * v / 100.0)); };
    const int colTop = -px(28), colBottom = colTop + L(3);
    f.Part(rect(-L(4), colTop, L(4), colBottom), c.Fill2, c.Outline);
    f.Part(rect(-L(4) - px(2), colTop, -L(4), colBottom), c.Shade, c.Outline);
    f.Part(rect(L(4), colTop, L(4) + px(2), colBottom), c.Shade, c.Outline);
    const TColor halfFill = BlendColors(c.Fill, c.Outline, 50);
    f.Part({{-(L(1) - L(5)), -px(9)}, {L(1) - L(5), -px(9)}, {L(1) - 2 * L(5), -px(6)}, {-(L(1) - 2 * L(5)), -px(6)}},
           halfFill, c.Outline);
    f.Part(rect(-L(1), -px(13), L(1), -px(8)), c.Fill, c.Outline);
    f.Part(rect(-(L(1) - L(5)), -px(34), L(1) - L(5), -px(30)), halfFill, c.Outline);
    f.Part(rect(-L(1), -px(32), L(1), -px(28)), c.Fill, c.Outline);
    const TColor darker = BlendColors(c.Fill2, c.Outline, 80);
    f.Part(rect(-L(13) / 2, -L(12), L(13) / 2, L(12)), c.Fill2, c.Outline);
    f.Part(rect(-px(8), -L(10), px(8), L(10)), c.Fill2, c.Outline);
    f.Part(rect(-px(8), -L(11), px(8), L(11)), darker, c.Outline);
    f.Part(rect(-L(6), -L(7), L(6), L(7)), c.Fill2, c.Outline);
    f.Part({{-L(6), -L(7)}, {L(6), -L(7)}, {1, 0}, {-1, 0}}, darker, c.Outline);
    f.Part({{-L(6), L(7)}, {L(6), L(7)}, {1, 0}, {-1, 0}}, darker, c.Outline);
}

// --- Styles 7 and 8: multistage ------------------------------------------------------------------------

void drawStyle7And8(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c, int StageCount,
                    bool DischargeUp)
{
    auto L = [&](int i) { return f.L(k[i]); };
    const int plateH = L(6) + L(7);
    std::vector<std::pair<Pts, std::pair<TColor, TBrushStyle>>> parts;
    auto add = [&](Pts p, TColor colour, TBrushStyle style = TBrushStyle::bsSolid) {
        parts.push_back({std::move(p), {colour, style}});
    };
    add(rect(-L(3), -plateH, 0, plateH), c.Fill);
    add(rect(0, -plateH, L(9), plateH), c.Fill, TBrushStyle::bsDiagCross);
    const int coneEnd = L(8) + L(9);
    add({{L(9), -plateH}, {coneEnd, -L(6)}, {coneEnd, L(6)}, {L(9), plateH}}, c.Fill);
    const TColor darker = BlendColors(c.Fill, c.Outline, 80);
    const int bowlLength = L(4) + L(2) + L(3), bowlH = L(1) + L(2) + L(3);
    const int step = L(2) + L(3) + L(4) + L(5) + 1;
    int x = coneEnd, connectorEnd = coneEnd;
    for (int stage = 0; stage < StageCount; ++stage) {
        const int b0 = x, b1 = x + bowlLength;
        add({{b0, -bowlH},
             {b1 - L(2) - L(3), -bowlH},
             {b1 - L(3), -bowlH + L(2)},
             {b1, -bowlH + L(2) + L(3)},
             {b1, bowlH - L(2) - L(3)},
             {b1 - L(3), bowlH - L(2)},
             {b1 - L(2) - L(3), bowlH},
             {b0, bowlH}},
            c.Fill);
        connectorEnd = b1 + L(5) + 2;
        add({{b1, -L(1) - L(5)}, {connectorEnd, -L(1)}, {connectorEnd, L(1)}, {b1, L(1) + L(5)}}, darker);
        x += step;
    }
    const int columnEnd = connectorEnd + L(11);
    add(rect(connectorEnd, -L(10), columnEnd, L(10)), c.Fill);
    const int headStart = columnEnd - (L(13) + 2), headMid = (headStart + columnEnd) / 2;
    add(rect(headStart, -L(12), columnEnd, L(12)), c.Fill);
    const int sign = DischargeUp ? -1 : 1;
    const int edge = sign * L(12), tip = edge + sign * L(16);
    add({{headMid - L(15), edge}, {headMid, 0}, {headMid + L(15), edge}, {headMid + L(15), tip}, {headMid - L(15), tip}},
        c.Fill);
    add(rect(headMid - L(17), std::min(tip, tip + sign * L(18)), headMid + L(17), std::max(tip, tip + sign * L(18))),
        c.Fill);
    const int flangeEnd = columnEnd + L(19), bodyEnd = flangeEnd + L(20);
    add(rect(flangeEnd, -L(22), bodyEnd, L(22)), BlendColors(c.Shade, c.Outline, 80));
    for (int y0 : {1, 5})
        for (int side : {-1, 1}) {
            const int a = side * y0, b = side * (y0 + L(21));
            add(rect(flangeEnd - 1, std::min(a, b), bodyEnd + 1, std::max(a, b)), c.Shade);
        }
    add(rect(columnEnd, -L(22) - 1, flangeEnd, L(22) + 1), c.Fill);
    const int rearEnd = bodyEnd + L(23), capEnd = rearEnd + L(23) / 2;
    add(rect(bodyEnd, -L(10), rearEnd, L(10)), c.Fill);
    add({{rearEnd, -L(10)}, {capEnd - L(3), -L(10)}, {capEnd, -L(10) + L(2)}, {capEnd, L(10) - L(2)},
         {capEnd - L(3), L(10)}, {rearEnd, L(10)}},
        c.Fill);
    for (auto &[pts, paint] : parts) {
        // Never mirrored: a pipe running to the left turns the picture half round.
        if (f.Leftward && f.Isometric)
            for (TPoint &p : pts)
                p = {-p.X, -p.Y};
        f.Part(pts, paint.first, c.Outline, paint.second);
    }
}

// --- Style 9: in-line casing under an open frame and a finned body -----------------------------------

void drawStyle9(const TPumpStyleFrame &f, const int k[], const TPumpSymbolColors &c)
{
    auto L = [&](int i) { return f.L(k[i]); };
    auto px = [&](int v) { return static_cast<int>(Trunc(f.Size * v / 100.0)); };
    f.Part({{-L(15), L(16)}, {L(15), L(16)}, {L(15), 0}, {L(17), 0}, {L(17), -L(6)}, {-L(17), -L(6)}, {-L(17), 0},
            {-L(15), 0}},
           BlendColors(c.Fill, c.Outline, 80), c.Outline);
    const Pts casing = {{-L(3), -px(10)}, {-px(14), -px(10)}, {-px(12), -px(4)}, {px(8), -px(4)},
                        {px(10), -px(8)}, {L(10), -px(8)},    {L(10), px(8)},    {px(10), px(10)},
                        {-px(12), px(10)}, {-px(14), px(8)},  {-L(3), px(8)},    {-L(3), -px(4)}};
    f.Part(casing, c.Fill, c.Outline);
    {
        Pts shading = rect(-px(12), px(2), px(8), px(8));
        f.Place(shading);
        f.C.Pen.Style = TPenStyle::psClear;
        f.C.Brush.Style = TBrushStyle::bsSolid;
        f.C.Brush.Color = BlendColors(c.Fill, c.Outline, 70);
        f.C.Polygon(shading);
        f.C.Pen.Style = TPenStyle::psSolid;
    }
    f.Part(rect(-L(3) - L(2), -L(1), -L(3), L(1)), c.Fill, c.Outline);
    f.Part(rect(L(10), -L(8), L(10) + L(9), L(8)), c.Fill, c.Outline);
    const int frameTop = -L(6) - 2 * L(18);
    f.Part(rect(-L(20), frameTop, L(20), -L(6)), c.Shade, c.Outline);
    f.Part(rect(-L(21), -px(14), L(21), -px(10)), c.Shade, c.Outline);
    f.Part(rect(-L(21), -px(14), L(21), -px(12)), BlendColors(c.Shade, c.Outline, 50), c.Outline);
    const int fw = L(18) + L(19);
    f.Part({{-fw, -L(6)},
            {-fw, frameTop},
            {fw, frameTop},
            {fw, -L(6)},
            {fw - L(19), -L(6)},
            {fw - L(19), frameTop + L(19)},
            {-fw + L(19), frameTop + L(19)},
            {-fw + L(19), -L(6)}},
           c.Fill, c.Outline);
    f.Part({{-fw - 1, -L(6)}, {fw + 1, -L(6)}, {fw, -L(6) - L(19)}, {-fw, -L(6) - L(19)}}, c.Fill, c.Outline);
    const int bodyBottom = -px(20), bodyTop = bodyBottom - L(24);
    f.Part(rect(-L(26), bodyTop, L(26), bodyBottom), BlendColors(c.Shade, c.Outline, 80), c.Outline);
    for (int x0 : {1, 5})
        for (int side : {-1, 1}) {
            const int a = side * px(x0), b = side * (px(x0) + L(25));
            f.Part(rect(std::min(a, b), bodyTop - 2, std::max(a, b), bodyBottom + 2), c.Shade, c.Outline);
        }
    const int capTop = bodyTop - L(27) / 2 - 2;
    f.Part({{-L(26), bodyTop}, {-L(26), capTop + 2}, {-L(26) + L(11), capTop}, {L(26) - L(11), capTop},
            {L(26), capTop + 2}, {L(26), bodyTop}},
           c.Fill, c.Outline);
    f.Part(rect(-L(26) - 1, bodyBottom, L(26) + 1, -px(17)), c.Fill, c.Outline);
    f.Part(rect(-L(26) - 1, bodyTop - L(27) / 2, L(26) + 1, bodyTop), c.Fill, c.Outline);
}

constexpr int kStyle1[] = {0, 9, 11, 16, 5, 2, 7, 16, 4, 2, 6};
constexpr int kStyle3[] = {0, 4, 3, 18, 20, 11, 20, 4, 8, 2, 3, 6, 2, 9, 6, 4, 3};
constexpr int kStyle4[] = {0, 2, 3, 6, 5, 5, 2, 3, 4, 12, 6, 2, 8, 5, 6, 2};
constexpr int kStyle5[] = {0, 6, 8, 8, 6, 6, 2, 5, 4, 1};
constexpr int kStyle6[] = {0, 10, 4, 16, 6, 2, 4, 6, 1, 16, 4, 2, 3, 26};
constexpr int kStyle78[] = {0, 3, 3, 2, 6, 2, 4, 2, 6, 6, 4, 40, 6, 16, 8, 4, 8, 6, 2, 3, 19, 2, 8, 10};
constexpr int kStyle9[] = {0, 12, 2, 18, 2, 4, 6, 10, 10, 2, 14, 3, 2, 6, 8, 6, 12, 10, 6, 2, 1, 4, 2, 2, 12, 2, 8, 6};

} // namespace

void DrawPumpSymbolStyle(int ImageIndex, TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, int StageCount,
                         std::string_view Text1, std::string_view Text2, const TPumpSymbolColors &Colors,
                         bool Selected, double Yaw, double Tilt, double Scale, int TextSize)
{
    // Texts distances in the plan and the isometric view.
    struct Style {
        int planD, isoD;
        bool mirrorInPlan;
    } styles[10] = {{0, 0, true},   {16, 20, true}, {16, 26, true}, {28, 32, false}, {16, 20, true},
                    {16, 20, true}, {16, 20, true}, {16, 20, false}, {16, 20, false}, {16, 20, true}};
    if (ImageIndex < 1 || ImageIndex > 9)
        throw std::logic_error("pump style " + std::to_string(ImageIndex) + " has no drawing");
    const Style &st = styles[ImageIndex];
    const double scale = (ImageIndex == 7 || ImageIndex == 8) ? Scale * 0.8 : Scale;
    const bool mirror = (ImageIndex == 7 || ImageIndex == 8) ? false : (Yaw != 0 || st.mirrorInPlan);
    const TPumpStyleFrame f(C, FromX, FromY, PumpX, PumpY, Yaw, Tilt, scale, mirror);
    DrawPumpStyleTexts(f, Text1, Text2, Selected, st.planD, st.isoD, TextSize, Colors.Outline);
    switch (ImageIndex) {
    case 1:
        drawStyle1(f, kStyle1, Colors);
        break;
    case 2:
        drawStyle2(f, kStyle1, Colors);
        break;
    case 3:
        drawStyle3(f, kStyle3, Colors);
        break;
    case 4:
        drawStyle4(f, kStyle4, Colors);
        break;
    case 5:
        drawStyle5(f, kStyle5, Colors);
        break;
    case 6:
        drawStyle6(f, kStyle6, Colors);
        break;
    case 7:
    case 8:
        drawStyle7And8(f, kStyle78, Colors, StageCount, ImageIndex == 7);
        break;
    case 9:
        drawStyle9(f, kStyle9, Colors);
        break;
    }
}

} // namespace tessaran
