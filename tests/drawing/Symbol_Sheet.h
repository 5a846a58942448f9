#pragma once
// A sheet with every node symbol and pipe item, the plan view in the upper
// half and the isometric view in the lower half, shared by the metafile
// test and the image test.

#include "drawing/Canvas_Drawings.h"
#include "drawing/Node_Symbols.h"
#include "drawing/Pipe_Items.h"

#include <cmath>

namespace tessaran {

constexpr int SymbolSheetWidth = 960;
constexpr int SymbolSheetHeight = 640;

inline void DrawSymbolSheetHalf(TCanvas &C, int top, bool iso)
{
    const double yaw = iso ? kPi / 4 : 0, tilt = iso ? std::atan(0.5) : 0, scale = iso ? 1.2 : 1.0;
    for (int s = 0; s < TankStyleCount; ++s)
        DrawTankSymbol(s, C, 40 + s * 60, top + 40, 0xFF8000, clBlack, yaw, tilt, 1.0 + 0.25 * (s % 3));
    for (int s = 0; s < EndPressureStyleCount; ++s)
        DrawEndPressureSymbol(s, C, 40 + s * 60, top + 110, clSilver, clBlack, yaw, tilt, scale);
    for (int s = 0; s < 6; ++s)
        DrawJoinPointSymbol(C, 580 + s * 25, top + 110, 4, NodeImageColors[std::size_t(s)], clBlack);
    if (iso)
        DrawIsometricLetterP(C, 740, top + 109, 3, 4, clBlack, yaw, tilt, 1.0);
    else
        DrawCanvasText(C, 737, top + 104, "P", clBlack, 7);

    // Pipes: right, left, down, slanted both ways, with items on them.
    struct Pipe {
        int x1, y1, x2, y2;
    } pipes[] = {{20, top + 170, 220, top + 170}, {440, top + 190, 240, top + 190},
                 {470, top + 150, 470, top + 300}, {500, top + 160, 700, top + 260},
                 {900, top + 160, 720, top + 250}};
    int n = 0;
    for (const Pipe &p : pipes) {
        DrawPipeBand(C, p.x1, p.y1, p.x2, p.y2, 0xC0FFC0, 14, TBrushStyle::bsSolid);
        DrawPipeLine(C, p.x1, p.y1, p.x2, p.y2, clBlack, 1, TBrushStyle::bsSolid);
        auto at = [&](double f) {
            return TPoint{p.x1 + int(std::lround((p.x2 - p.x1) * f)), p.y1 + int(std::lround((p.y2 - p.y1) * f))};
        };
        const TPoint a = at(0.15), b = at(0.35), c = at(0.6), d = at(0.85);
        DrawFittingsSymbol(C, p.x1, p.y1, a.X, a.Y, 1.5, true, clBlack, false, yaw, tilt, scale, "");
        DrawValveFittingsSymbol(C, p.x1, p.y1, b.X, b.Y, 0.8, true, clBlack, false, yaw, tilt, scale, "");
        DrawFlowControlSymbol(C, "FCV" + std::to_string(++n), p.x1, p.y1, c.X, c.Y, clBlack, n == 2, yaw, scale, 7);
        DrawLineEndArrowHead(C, p.x1, p.y1, p.x2, p.y2, 4, clBlack, yaw, tilt);
        DrawLineEndOpenArrowHead(C, p.x1, p.y1, p.x2, p.y2, 24, clRed);
        DrawLineEndOpenArrowHead(C, p.x1, p.y1, p.x2, p.y2, 19, clRed);
        int lx = 0, ly = 0;
        DrawPipeLabel(lx, ly, C, p.x1, p.y1, d.X, d.Y, 50, "P" + std::to_string(n), clBlue, 7, n == 1);
    }
    DrawClosedPipeLine(C, 20, top + 280, 220, top + 280, clGray);
    DrawDemandInArrow(C, 260, top + 240, 260, top + 280, clPurple, true);
    DrawDemandOutArrow(C, 300, top + 280, 300, top + 240, clGreen, false);
    DrawJoinPointSymbol(C, 260, top + 280, 4, NodeImageColors[0], clBlack);
    DrawJoinPointSymbol(C, 300, top + 280, 4, NodeImageColors[0], clBlack);
    DrawColorKeyScale(C, 560, top + 290, 860, top + 290, 0, 2.5, 1, 5, "Pipe: Velocity m/sec", 22, clBlack,
                      clBlack, 4, clBlue, 7, true);
    DrawThreeColorGradientBar(C, 560, top + 270, 300, top + 285, 0x00FF00, 0x00FFFF, 0x0000FF);
}

inline void DrawSymbolSheet(TCanvas &C)
{
    DrawFilledRectangle(C, 0, 0, SymbolSheetWidth, SymbolSheetHeight, clWhite);
    DrawSymbolSheetHalf(C, 0, false);
    DrawSymbolSheetHalf(C, 320, true);
}

} // namespace tessaran
