#pragma once
// What belongs to a pipe itself: its line and the bands under it, the closed
// line, the flow arrowheads, the back-flow chevrons, the demand arrows of a
// node, the fittings markers with their "K =" labels and the flow-control
// valve.
//
// Items on a pipe are drawn about their own point (X, Y) and receive the
// pipe's start (X1, Y1): their outline, given for a pipe running to the
// right, is turned along the pipe in the plan view and sheared into the
// pipe's plane in the isometric view, and their label stays upright on a
// pipe running from right to left.

#include "platform/Canvas.h"

#include <string_view>

namespace tessaran {

void DrawPipeLine(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, int Width, TBrushStyle LineStyle);
void DrawPipeBand(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, int Width, TBrushStyle BrushStyle);
void DrawClosedPipeLine(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour);
void DrawLineEndArrowHead(TCanvas &C, int X1, int Y1, int X2, int Y2, int Distance, TColor Colour, double Yaw,
                          double Tilt);
void DrawLineEndOpenArrowHead(TCanvas &C, int X1, int Y1, int X2, int Y2, int Distance, TColor Colour);
void DrawPumpFlowArrowHead(TCanvas &C, int X1, int Y1, int X2, int Y2, int Size, double LengthFactor, int Distance,
                           TColor FillColour, TColor PenColour, double Yaw, double Tilt);
void DrawDemandOutArrow(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, bool Selected);
void DrawDemandInArrow(TCanvas &C, int X1, int Y1, int X2, int Y2, TColor Colour, bool Selected);
void DrawFittingsSymbol(TCanvas &C, int X1, int Y1, int X, int Y, double K, bool ShowK, TColor PenColour,
                        bool Selected, double Yaw, double Tilt, double Scale, std::string_view LossText);
void DrawValveFittingsSymbol(TCanvas &C, int X1, int Y1, int X, int Y, double K, bool ShowK, TColor PenColour,
                             bool Selected, double Yaw, double Tilt, double Scale, std::string_view LossText);
void DrawFlowControlSymbol(TCanvas &C, std::string_view Name, int X1, int Y1, int X, int Y, TColor PenColour,
                           bool Selected, double Yaw, double Scale, int TextSize);

// The orientation of an item on a pipe (shared with the component symbols).
struct TPipeItemFrame {
    int X1, Y1, X, Y;
    double A;       // the pipe angle
    double T;       // the text angle: A, or A - pi on a pipe running to the left
    bool Leftward;  // X < X1
    bool Slanted;   // X differs from X1 and Y from Y1

    TPipeItemFrame(int X1, int Y1, int X, int Y);
    // The outline point of an offset: projected with (Yaw, A, Scale) when Yaw
    // is not 0 on a slanted pipe, else turned about (X, Y) by TurnAngle.
    TPoint Place(TPoint offset, double Yaw, double Scale, double TurnAngle) const;
    bool Isometric(double Yaw) const { return Yaw != 0 && Slanted; }
    // An offset turned about (X, Y) by the angle, never projected.
    TPoint Turn(TPoint offset, double Angle) const;
    int TextAngle() const;
};

} // namespace tessaran
