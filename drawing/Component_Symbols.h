#pragma once
// The fifteen symbols of a pipe's pressure-loss component, chosen by the
// component's ImageIndex. Turned styles (0 to 8 and 12) turn with the pipe,
// upright styles (9, 10, 11, 13, 14) keep their outline and turn only their
// label; in the isometric view both are sheared into the pipe's plane.

#include "platform/Canvas.h"

#include <string_view>

namespace tessaran {

constexpr int ComponentStyleCount = 15;

// Style 0..14 (styles 0, 1 and 6 take no tilt); any other style draws nothing.
void DrawComponentSymbol(int Style, TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name,
                         TColor PenColour, bool Selected, double Yaw, double Tilt, double Scale, int TextSize);

void DrawComponentSymbol0(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize);
void DrawComponentSymbol1(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize);
void DrawComponentSymbol6(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name, TColor PenColour,
                          bool Selected, double Yaw, double Scale, int TextSize);
#define TESSARAN_COMPONENT_SYMBOL_WITH_TILT(n)                                                                     \
    void DrawComponentSymbol##n(TCanvas &C, int X1, int Y1, int X, int Y, std::string_view Name,                  \
                                TColor PenColour, bool Selected, double Yaw, double Tilt, double Scale,            \
                                int TextSize);
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(2)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(3)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(4)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(5)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(7)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(8)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(9)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(10)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(11)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(12)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(13)
TESSARAN_COMPONENT_SYMBOL_WITH_TILT(14)
#undef TESSARAN_COMPONENT_SYMBOL_WITH_TILT

// Extra clearance kept free before a pipe's end, by style.
constexpr int ComponentLength[ComponentStyleCount] = {6, 6, 6, 6, 6, 6, 8, 3, 3, 3, 3, 3, 3, 4, 4};

} // namespace tessaran
