#pragma once
// The bottom layer of the network drawing: fills and outlines, arrowheads,
// line angles and turns, the isometric projection every symbol passes its
// points through, the turned ellipse and sphere, and the text routines with
// the pipe label and the colour-key pieces. Plain routines without state;
// each leaves the canvas' pen and brush as it last set them, which the
// symbol routines rely on.
//
// Angles are radians in screen orientation (y down): LineAngle and
// RotatePointAbout turn clockwise on the screen for a positive angle,
// RotatePointAboutCentre counter-clockwise; each family keeps its sense.
// Text angles are whole degrees counter-clockwise on the screen.

#include "platform/Canvas.h"

#include <string>
#include <string_view>

namespace tessaran {

constexpr double kPi = 3.14159265358979323846;

// --- Fills and outlines --------------------------------------------------------
void DrawFilledRectangle(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour);
void DrawCircleOutline(TCanvas &C, int X, int Y, int R, TColor Colour);
void DrawSquareAtPoint(TCanvas &C, int X, int Y, int H);
void DrawStyledRectangle(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, TPenStyle PenStyle,
                         TBrushStyle BrushStyle);
void DrawFilledCircle(TCanvas &C, int X, int Y, int R, TColor Colour);

// --- Arrowheads ------------------------------------------------------------------
// A triangle Size * LengthFactor long and 2 * Size wide at its base, its tip
// at (TipX, TipY), pointing away from (X1, Y1). A non-zero Yaw on a slanted
// line stands the base upright and shortens it by the tilt.
void DrawFilledArrowHead(TCanvas &C, int X1, int Y1, int TipX, int TipY, int Size, double LengthFactor,
                         TColor FillColour, TColor PenColour, double Yaw, double Tilt);
void DrawOpenArrowHead(TCanvas &C, int X1, int Y1, int TipX, int TipY, int Size, double LengthFactor,
                       TColor BrushColour, TColor PenColour);

// --- Line geometry and projection -------------------------------------------------
double LineAngle(int X1, int Y1, int X2, int Y2);
void RotatePointAbout(int &X, int &Y, int CX, int CY, double Angle);
void ProjectPointIsometric(int &X, int &Y, int CX, int CY, double Yaw, double Angle, double Scale);
void ProjectPumpPointIsometric(int &X, int &Y, int CX, int CY, double Yaw, double Angle, double SteepTilt,
                               double Scale);
void RotateAndTiltPoint(int &X, int &Y, int CX, int CY, double RotAngle, double Tilt);
void RotatePointAboutCentre(const TPoint &P, const TPoint &Centre, TPoint &Out, double Angle);

// --- Turned shapes ------------------------------------------------------------------
void DrawRotatedEllipseOutline(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle);
// Strokes the path when the brush in force is clear, else strokes and fills
// it. Colour is not used: callers set the brush first.
void DrawRotatedEllipsePath(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle, TColor Colour);
void DrawRotatedFilledEllipse(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle, TColor Colour);
void DrawRotatedSphereWithLiquid(TCanvas &C, int X1, int Y1, int X2, int Y2, double Angle, TColor Colour);
// Removes Points[Start..Stop] inclusive; a range outside the array removes
// only what lies inside it.
void DeletePointRange(TPointArray &Points, int Start, int Stop);

// --- Texts -----------------------------------------------------------------------------
void DrawAngledText(TCanvas &C, int X, int Y, std::string_view Text, int Angle, TColor Colour, int Size,
                    TFontStyles Style);
// At 96 pixels per inch whatever the canvas; leaves the font at size 7.
void DrawCanvasText(TCanvas &C, int X, int Y, std::string_view Text, TColor Colour, int Size);
// Places a pipe's label along its pipe, 19 units off the line, always reading
// left to right or bottom to top; writes the position into LabelX, LabelY.
void DrawPipeLabel(int &LabelX, int &LabelY, TCanvas &C, int X1, int Y1, int X2, int Y2, double Percentage,
                   std::string_view Text, TColor Colour, int Size, bool Selected);
void DrawColorKeyScale(TCanvas &C, int X1, int Y1, int X2, int Y2, double StartValue, double EndValue,
                       int Decimals, int Divisions, std::string_view Caption, int CaptionOffset,
                       TColor AxisColour, TColor LabelColour, int TickLength, TColor CaptionColour, int FontSize,
                       bool IncludeEnd);
void DrawGradientBar(TCanvas &C, int X, int Y, int Width, int Y2, TColor ColourA, TColor ColourB);
void DrawThreeColorGradientBar(TCanvas &C, int X, int Y, int Width, int Y2, TColor LowColour, TColor MidColour,
                               TColor HighColour);

// The label angle of an item on a pipe from its text angle T (radians):
// whole degrees counter-clockwise, 360 or more taken as that less 360.
int ItemTextAngle(double T);

} // namespace tessaran
