#pragma once
// The node symbols: ten tank styles, nine end-pressure styles, the letter P
// of an end-pressure node in the isometric view and the circle of a join.
// Each draws about the node's point through the isometric projection, so
// one routine serves the plan view, the isometric view and the previews;
// none draws a highlight or a label.

#include "platform/Canvas.h"

#include <array>

namespace tessaran {

// Join fill colours by the join's NodeImageIndex.
constexpr std::array<TColor, 6> NodeImageColors = {0x00FF00, 0x008080, 0x0000FF, 0xFFFF00, 0xC0C0C0, 0x000000};
constexpr int TankStyleCount = 10;
constexpr int EndPressureStyleCount = 9;

// Tank style 0..9; any other style draws nothing.
void DrawTankSymbol(int Style, TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw,
                    double Tilt, double Scale);
// End-pressure style 0..8; any other style draws nothing.
void DrawEndPressureSymbol(int Style, TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw,
                           double Tilt, double Scale);

void DrawTankSymbol0(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol1(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol2(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol3(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol4(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol5(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol6(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol7(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
// The spherical tank: radius by Scale in steps, liquid below a line R/4 above the centre.
void DrawTankSymbol8(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawTankSymbol9(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);

void DrawEndPressureSymbol0(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol1(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol2(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol3(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol4(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol5(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol6(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol7(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);
void DrawEndPressureSymbol8(TCanvas &C, int X, int Y, TColor FillColour, TColor PenColour, double Yaw, double Tilt, double Scale);

void DrawIsometricLetterP(TCanvas &C, int X, int Y, int HalfWidth, int HalfHeight, TColor PenColour, double Yaw,
                          double Tilt, double Scale);
void DrawJoinPointSymbol(TCanvas &C, int X, int Y, int Radius, TColor FillColour, TColor PenColour);

// The sphere's radius for a node scale.
int SphereTankRadius(double Scale);

} // namespace tessaran
