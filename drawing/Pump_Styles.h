#pragma once
// Pump symbol styles 1 to 9, called only by DrawPumpSymbol, and the frame
// they lay their parts out in.

#include "drawing/Pump_Symbols.h"

#include <span>
#include <string_view>
#include <vector>

namespace tessaran {

// Where and how one pump symbol is drawn: the size rule, the mirroring for a
// pipe running to the left, and the turn (plan view) or projection
// (isometric view) about the pump point.
struct TPumpStyleFrame {
    TCanvas &C;
    int FromX, FromY, PumpX, PumpY;
    double Yaw, Tilt, Scale;
    int Size;         // Round(100 * Scale)
    double A;         // LineAngle from the pipe's start to the pump point
    bool Isometric;   // Yaw is not 0
    bool Leftward;    // PumpX < FromX
    bool Mirror;      // the style mirrors on a leftward pipe

    TPumpStyleFrame(TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, double Yaw, double Tilt, double Scale,
                    bool MirrorWhenLeftward = true);
    // A constant c in pixels: Trunc(size * c / 100), and the rounded form.
    int L(int c) const;
    int R(int c) const;
    // Frame offsets to drawing points: mirrored, then turned or projected.
    void Place(std::span<TPoint> Points) const;
    TPoint Place(TPoint Offset) const;
    // A filled polygon of frame offsets in the colour, outlined in Outline.
    void Part(std::vector<TPoint> Points, TColor Fill, TColor Outline, TBrushStyle Style = TBrushStyle::bsSolid) const;
};

// The texts and the selection marker of styles 1 to 9 (D in plan and isometric view).
void DrawPumpStyleTexts(const TPumpStyleFrame &f, std::string_view Text1, std::string_view Text2, bool Selected,
                        int PlanD, int IsoD, int TextSize, TColor Outline);

void DrawPumpSymbolStyle(int ImageIndex, TCanvas &C, int FromX, int FromY, int PumpX, int PumpY, int StageCount,
                         std::string_view Text1, std::string_view Text2, const TPumpSymbolColors &Colors,
                         bool Selected, double Yaw, double Tilt, double Scale, int TextSize);

} // namespace tessaran
