#include "drawing/Pump_Styles.h"

#include "drawing/Canvas_Drawings.h"
#include "platform/Pascal.h"

#include <cmath>
#include <stdexcept>

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

void DrawPumpSymbolStyle(int ImageIndex, TCanvas &, int, int, int, int, int, std::string_view, std::string_view,
                         const TPumpSymbolColors &, bool, double, double, double, int)
{
    throw std::logic_error("pump style " + std::to_string(ImageIndex) + " has no drawing");
}

} // namespace tessaran
