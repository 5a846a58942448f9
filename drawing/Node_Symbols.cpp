#include "drawing/Node_Symbols.h"

#include "drawing/Canvas_Drawings.h"
#include "platform/Pascal.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace tessaran {

namespace {

enum class Kind { Fill, Line };

// One shape of a symbol: its outline offsets from the node point and the
// centre its group is projected about.
struct Shape {
    Kind kind;
    TPoint centre;
    std::initializer_list<TPoint> points;
};

struct Frame {
    int X, Y;
    double Yaw, Tilt, Scale;
    TPoint project(TPoint offset, TPoint centre) const
    {
        int px = X + offset.X, py = Y + offset.Y;
        ProjectPointIsometric(px, py, X + centre.X, Y + centre.Y, Yaw, Tilt, Scale);
        return {px, py};
    }
    std::vector<TPoint> project(const Shape &s) const
    {
        std::vector<TPoint> out;
        out.reserve(s.points.size());
        for (const TPoint &p : s.points)
            out.push_back(project(p, s.centre));
        return out;
    }
};

void drawShapes(TCanvas &C, const Frame &f, TColor FillColour, TColor PenColour,
                std::initializer_list<Shape> shapes)
{
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    C.Brush.Color = FillColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    for (const Shape &s : shapes) {
        const std::vector<TPoint> pts = f.project(s);
        if (s.kind == Kind::Fill)
            C.Polygon(pts);
        else
            C.Polyline(pts);
    }
}

// End-pressure styles 5 to 8: five grey spray lines from S and a circle.
void drawSprayNozzle(TCanvas &C, const Frame &f, TColor FillColour, TColor PenColour, TPoint start,
                     std::initializer_list<TPoint> ends, TPoint centre)
{
    C.Brush.Color = FillColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    const TPoint s = f.project(start, centre);
    C.Pen.Color = clGray;
    for (const TPoint &e : ends) {
        const TPoint p = f.project(e, centre);
        C.MoveTo(s.X, s.Y);
        C.LineTo(p.X, p.Y);
    }
    Frame circle = f;
    circle.Yaw = std::fabs(f.Yaw);
    const TPoint a = circle.project({-7, -7}, {0, 0});
    const TPoint b = circle.project({7, 7}, {0, 0});
    C.Pen.Color = PenColour;
    if (f.Tilt == 0)
        C.Ellipse(a.X, a.Y, b.X, b.Y);
    else
        DrawRotatedFilledEllipse(C, a.X, a.Y, b.X, b.Y, f.Yaw < 0 ? -f.Tilt : f.Tilt, FillColour);
}

void drawEndPressurePolygon(TCanvas &C, const Frame &f, TColor FillColour, TColor PenColour, TPoint centre,
                            std::initializer_list<TPoint> points)
{
    C.Brush.Color = FillColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Pen.Color = PenColour;
    C.Polygon(f.project(Shape{Kind::Fill, centre, points}));
}

} // namespace

int SphereTankRadius(double Scale)
{
    if (Scale <= 1)
        return 12;
    if (Scale <= 1.5)
        return 16;
    if (Scale <= 2)
        return 20;
    if (Scale <= 2.5)
        return 24;
    if (Scale <= 3)
        return 28;
    if (Scale <= 4)
        return 32;
    return 12;
}

void DrawTankSymbol0(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, -1}, {{-10, -4}, {-10, 6}, {10, 6}, {10, -4}}},
                {Kind::Line, {0, -1}, {{-10, -8}, {-10, 6}, {10, 6}, {10, -9}}}});
}

void DrawTankSymbol1(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    DrawTankSymbol0(C, X, Y, Fc, Pc, Yaw, Tilt, Scale);
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {{Kind::Line, {0, -9}, {{-16, -1}, {0, -17}, {16, -1}}}});
}

void DrawTankSymbol2(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, -1}, {{-10, -9}, {-10, 12}, {10, 12}, {10, -9}}},
                {Kind::Line, {0, -1}, {{-10, -13}, {-10, 12}, {10, 12}, {10, -13}}},
                {Kind::Line, {0, -1}, {{-10, -13}, {10, -13}, {7, -16}, {-7, -16}, {-10, -13}}},
                {Kind::Fill, {0, -1}, {{10, 12}, {7, 15}, {-7, 15}, {-10, 12}, {10, 12}}}});
}

void DrawTankSymbol3(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, -1}, {{-10, -9}, {-10, 12}, {10, 12}, {10, -9}}},
                {Kind::Line, {0, -1}, {{-10, -13}, {-10, 12}, {10, 12}, {10, -13}}},
                {Kind::Line, {0, -1}, {{-10, -13}, {10, -13}, {7, -16}, {-7, -16}, {-10, -13}}},
                {Kind::Fill, {0, -1}, {{10, 12}, {0, 18}, {-10, 12}, {10, 12}}}});
}

void DrawTankSymbol4(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, -8}, {{-13, -3}, {-7, 7}, {7, 7}, {13, -3}, {-13, -3}}},
                {Kind::Line, {0, -8}, {{-13, -3}, {-14, -6}, {-19, -9}}},
                {Kind::Line, {0, -8}, {{13, -3}, {14, -6}, {19, -9}}}});
}

void DrawTankSymbol5(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, 0}, {{-12, -4}, {-12, 8}, {12, 8}, {12, -4}}},
                {Kind::Line, {0, 0}, {{-12, -8}, {-12, -4}, {-15, -4}, {-12, -8}, {12, -8}, {15, -4}, {12, -4}, {12, -8}}},
                {Kind::Fill, {0, 0}, {{-12, 8}, {-15, 5}, {-15, -4}, {-12, -4}}},
                {Kind::Fill, {0, 0}, {{12, 8}, {15, 5}, {15, -4}, {12, -4}}}});
}

void DrawTankSymbol6(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, 0}, {{-15, -3}, {-15, 7}, {15, 7}, {15, -3}}},
                {Kind::Line, {0, 0}, {{-15, -7}, {-15, 7}, {15, 7}, {15, -8}}}});
}

void DrawTankSymbol7(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, 0}, {{-8, -8}, {-8, 12}, {8, 12}, {8, -8}}},
                {Kind::Line, {0, 0}, {{-8, -8}, {-8, -12}, {8, -12}, {8, -8}}}});
}

void DrawTankSymbol8(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    const int R = SphereTankRadius(Scale);
    C.Pen.Width = 0;
    C.Pen.Color = Pc;
    C.Brush.Style = TBrushStyle::bsClear;
    if (Yaw == 0) {
        C.Ellipse(X - R, Y - R, X + R, Y + R);
        C.Brush.Style = TBrushStyle::bsSolid;
        C.Brush.Color = Fc;
        const int d = static_cast<int>(Trunc(R / 4.0));
        C.Chord(X - R, Y - R, X + R, Y + R, X - R, Y - d, X + R, Y - d);
        return;
    }
    int x1 = X - R, y1 = Y - R, x2 = X + R, y2 = Y + R;
    ProjectPointIsometric(x1, y1, X, Y, std::fabs(Yaw), Tilt, 1.0);
    ProjectPointIsometric(x2, y2, X, Y, std::fabs(Yaw), Tilt, 1.0);
    DrawRotatedSphereWithLiquid(C, x1, y1, x2, y2, Yaw < 0 ? -Tilt : Tilt, Fc);
}

void DrawTankSymbol9(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawShapes(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc,
               {{Kind::Fill, {0, -2}, {{-12, -10}, {-12, 11}, {12, 11}, {12, -10}}},
                {Kind::Line, {0, -2}, {{-12, -14}, {-12, 11}, {12, 11}, {12, -14}}},
                {Kind::Line, {0, -2}, {{-12, -14}, {12, -14}, {9, -17}, {-9, -17}, {-12, -14}}},
                {Kind::Fill, {0, -2}, {{12, 11}, {9, 14}, {-9, 14}, {-12, 11}, {12, 11}}},
                {Kind::Fill, {0, -2}, {{9, 14}, {9, 19}, {-9, 19}, {-9, 14}, {9, 14}}}});
}

void DrawTankSymbol(int Style, TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt,
                    double Scale)
{
    using Routine = void (*)(TCanvas &, int, int, TColor, TColor, double, double, double);
    static constexpr Routine routines[TankStyleCount] = {DrawTankSymbol0, DrawTankSymbol1, DrawTankSymbol2,
                                                         DrawTankSymbol3, DrawTankSymbol4, DrawTankSymbol5,
                                                         DrawTankSymbol6, DrawTankSymbol7, DrawTankSymbol8,
                                                         DrawTankSymbol9};
    if (Style >= 0 && Style < TankStyleCount)
        routines[Style](C, X, Y, Fc, Pc, Yaw, Tilt, Scale);
}

void DrawEndPressureSymbol0(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    C.Pen.Width = 0;
    drawEndPressurePolygon(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {0, -3}, {{-8, -11}, {-8, 9}, {8, 9}, {8, -11}});
}

void DrawEndPressureSymbol1(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawEndPressurePolygon(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {0, -1},
                           {{-4, -11}, {-8, -7}, {-8, 9}, {8, 9}, {8, -7}, {4, -11}});
}

void DrawEndPressureSymbol2(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawEndPressurePolygon(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {-2, -3},
                           {{-7, -11}, {-7, 9}, {4, 9}, {8, 5}, {8, -7}, {4, -11}});
}

void DrawEndPressureSymbol3(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawEndPressurePolygon(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {0, -5},
                           {{-8, -11}, {-8, 5}, {-4, 9}, {4, 9}, {8, 5}, {8, -11}});
}

void DrawEndPressureSymbol4(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawEndPressurePolygon(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {0, -3},
                           {{-5, -11}, {-9, -7}, {-9, 5}, {-5, 9}, {6, 9}, {6, -11}});
}

void DrawEndPressureSymbol5(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawSprayNozzle(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {2, 0}, {{17, 0}, {15, -3}, {13, -6}, {15, 3}, {13, 6}},
                    {2, 0});
}

void DrawEndPressureSymbol6(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawSprayNozzle(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {0, 2}, {{0, 17}, {-3, 15}, {-6, 13}, {3, 15}, {6, 13}},
                    {0, 2});
}

void DrawEndPressureSymbol7(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawSprayNozzle(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {-3, 0},
                    {{-18, 0}, {-16, -3}, {-14, -6}, {-16, 3}, {-14, 6}}, {-3, -1});
}

void DrawEndPressureSymbol8(TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt, double Scale)
{
    drawSprayNozzle(C, {X, Y, Yaw, Tilt, Scale}, Fc, Pc, {0, -3},
                    {{0, -18}, {-3, -16}, {-6, -14}, {3, -16}, {6, -14}}, {0, -3});
}

void DrawEndPressureSymbol(int Style, TCanvas &C, int X, int Y, TColor Fc, TColor Pc, double Yaw, double Tilt,
                           double Scale)
{
    using Routine = void (*)(TCanvas &, int, int, TColor, TColor, double, double, double);
    static constexpr Routine routines[EndPressureStyleCount] = {
        DrawEndPressureSymbol0, DrawEndPressureSymbol1, DrawEndPressureSymbol2,
        DrawEndPressureSymbol3, DrawEndPressureSymbol4, DrawEndPressureSymbol5,
        DrawEndPressureSymbol6, DrawEndPressureSymbol7, DrawEndPressureSymbol8};
    if (Style >= 0 && Style < EndPressureStyleCount)
        routines[Style](C, X, Y, Fc, Pc, Yaw, Tilt, Scale);
}

void DrawIsometricLetterP(TCanvas &C, int X, int Y, int HalfWidth, int HalfHeight, TColor PenColour, double Yaw,
                          double Tilt, double Scale)
{
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    C.Brush.Style = TBrushStyle::bsClear;
    const Frame f{X, Y, Yaw, Tilt, Scale};
    const TPoint pts[5] = {f.project({-HalfWidth, HalfHeight}, {0, 0}), f.project({-HalfWidth, -HalfHeight}, {0, 0}),
                           f.project({HalfWidth, -HalfHeight}, {0, 0}), f.project({HalfWidth, 0}, {0, 0}),
                           f.project({-HalfWidth, 0}, {0, 0})};
    C.Polyline(pts);
}

void DrawJoinPointSymbol(TCanvas &C, int X, int Y, int Radius, TColor FillColour, TColor PenColour)
{
    C.Brush.Color = FillColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Pen.Width = 0;
    C.Pen.Color = PenColour;
    C.Pen.Mode = TPenMode::pmCopy;
    C.Ellipse(X - Radius, Y - Radius, X + Radius, Y + Radius);
}

} // namespace tessaran
