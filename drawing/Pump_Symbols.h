#pragma once
// The pump symbols: the dispatcher every caller uses, style 0 (a circle with
// a flow triangle), the distances by which each style sits further along its
// pipe, the colour records and the shape routines that styles 1 to 9 share.
// Styles 1 to 9 are laid out in the symbol frame (origin at the pump point,
// +x along the flow, +y down), mirrored for a pipe running to the left and
// turned along the pipe in the plan view or projected in the isometric view.

#include "platform/Canvas.h"

#include <array>
#include <span>
#include <string_view>

namespace tessaran {

struct TPumpSymbolColors {
    TColor Outline; // every outline; small dark details
    TColor Fill;    // main body
    TColor Fill2;   // casings, flanges
    TColor Shade;   // bases, motor bodies, hubs
};

// Rows 0 to 3 by TPump.PumpColorIndex (red, blue, green, yellow); row 4 is
// the record of a pump the calculation ignores.
inline constexpr std::array<TPumpSymbolColors, 5> PumpSymbolColors = {{
    {0x000000, 0x0000FF, 0x3C14DC, 0x808080},
    {0x000000, 0xF0A040, 0xC88040, 0x808080},
    {0x000000, 0x7FFF00, 0x00FF00, 0x808080},
    {0x000000, 0x00FFFF, 0x00D7FF, 0x808080},
    {0xE0E0E0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
}};
inline constexpr const TPumpSymbolColors &NotInCalculationPumpColors = PumpSymbolColors[4];
// The record of a pump: its colour row when it is in the calculation (row 0
// for an index from a file outside 0..3), else the not-in-calculation row.
const TPumpSymbolColors &PumpColorsFor(int PumpColorIndex, bool PumpUseInCalc);

void DrawPumpSymbol(TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, std::string_view Text1,
                    std::string_view Text2, const TPumpSymbolColors &Colors, bool Selected, double Yaw, double Tilt,
                    int ImageIndex, double Scale, int Stages, int TextSize);
void DrawPumpSymbol0(TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, std::string_view Text1,
                     std::string_view Text2, TColor FillColor, TColor OutlineColor, bool Selected, double Yaw,
                     double Scale, int TextSize);
int PumpSymbolOffset(int ImageIndex);

// --- Shared shape routines ----------------------------------------------------------
using TPumpPoints4 = std::array<TPoint, 4>;
using TPumpPoints8 = std::array<TPoint, 8>;

// Nozzle body and end flange (Variant 1 or 2), from constants by the size rule.
void BuildNozzleOutline(int Size, int X0, int Y0, int pA, int pB, int pC, int pD, int pE, int Variant,
                        TPumpPoints4 &Body, TPumpPoints4 &Flange);
void BuildPumpFootOutline(int X, int Y, int HalfWidth, int Height, int Shoulder, int Step, TPumpPoints8 &Out);
void BuildBoltPairOutline(int Size, int X, int Y, int Orientation, int F, int G, int H, int L, int M,
                          TPumpPoints4 &Outer, TPumpPoints4 &Inner);
void OffsetPoint(const TPoint &P, int dX, int dY, TPoint &Out);
void MirrorCoordinatesX(int K, std::span<TPoint> Points);
void MirrorCoordinatesY(int K, std::span<TPoint> Points);
void RotatePumpPoints(int CX, int CY, double Angle, std::span<TPoint> Points);
void ProjectPumpPoints(int CX, int CY, double Scale, double Tilt, double Angle, double Yaw, std::span<TPoint> Points);
// A colour P percent of the way from B to A.
TColor BlendColors(TColor A, TColor B, int P);
// The angle between a pipe and the horizontal, 0 to pi/2.
double FoldPipeAngle(double X);
void IsoCircleRadii(int &HalfWidth, int &HalfHeight, double &Angle, double R);
void DrawCenteredEllipse(TCanvas &C, int X, int Y, double R, double FX, double FY);
void DrawPumpDisc(TCanvas &C, int Size, int X, int Y, int P, TColor BrushColor, TColor PenColor);

} // namespace tessaran
