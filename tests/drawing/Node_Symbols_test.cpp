#include "drawing/Canvas_Drawings.h"
#include "drawing/Log_Points.h"
#include "drawing/Node_Symbols.h"
#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaran {
namespace {

const double kIsoYaw = kPi / 4;
const double kIsoTilt = std::atan(0.5);

TRect extentOf(const TCanvasLog &log, int x, int y)
{
    TRect r{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (const std::string &line : log.Lines)
        for (const TPoint &p : PointsOf(line)) {
            r.Left = std::min(r.Left, p.X - x);
            r.Top = std::min(r.Top, p.Y - y);
            r.Right = std::max(r.Right, p.X - x);
            r.Bottom = std::max(r.Bottom, p.Y - y);
        }
    return r;
}

TEST(TankSymbols, PlanViewDrawsThePointListsAsTheyStand)
{
    // Left, top, right, bottom of everything drawn, at scale 1 about the node.
    const TRect extents[] = {{-10, -9, 10, 6},  {-16, -17, 16, 6}, {-10, -16, 10, 15}, {-10, -16, 10, 18},
                             {-19, -9, 19, 7},  {-15, -8, 15, 8},  {-15, -8, 15, 7},   {-8, -12, 8, 12},
                             {0, 0, 0, 0},      {-12, -17, 12, 19}};
    for (int style = 0; style < TankStyleCount; ++style) {
        if (style == 8)
            continue;
        TCanvasLog log;
        DrawTankSymbol(style, log, 300, 400, 0xFF8000, clBlack, 0, 0, 1.0);
        EXPECT_EQ(extentOf(log, 300, 400), extents[style]) << "tank " << style;
        EXPECT_NE(log.Calls("Polygon")[0].find("brush FF8000 solid"), std::string::npos);
    }
    TCanvasLog log;
    DrawTankSymbol0(log, 100, 200, 0xFF8000, clBlack, 0, 0, 2.0);
    EXPECT_EQ(PointsOf(log.Calls("Polygon")[0]), Pts({{80, 193}, {80, 213}, {120, 213}, {120, 193}}));
    // The right wall ends one higher than the left.
    EXPECT_EQ(PointsOf(log.Calls("Polyline")[0]), Pts({{80, 185}, {80, 213}, {120, 213}, {120, 183}}));
}

TEST(TankSymbols, IsometricViewShearsAndStyleOutsideRangeDrawsNothing)
{
    TCanvasLog plan, iso;
    DrawTankSymbol2(plan, 100, 200, 0xFF8000, clBlack, 0, 0, 1.0);
    DrawTankSymbol2(iso, 100, 200, 0xFF8000, clBlack, kIsoYaw, kIsoTilt, 1.0);
    const auto a = PointsOf(plan.Calls("Polygon")[0]), b = PointsOf(iso.Calls("Polygon")[0]);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_NE(a, b);
    EXPECT_GT(b[3].Y - b[0].Y, 0); // the top edge falls to the right
    for (int style : {-1, 10}) {
        TCanvasLog none;
        DrawTankSymbol(style, none, 0, 0, 0, 0, 0, 0, 1);
        DrawEndPressureSymbol(style == 10 ? 9 : style, none, 0, 0, 0, 0, 0, 0, 1);
        EXPECT_TRUE(none.Lines.empty());
    }
}

TEST(SphereTank, RadiusBySizeChordAndIsometricBox)
{
    const std::pair<double, int> radii[] = {{1.0, 12}, {1.5, 16}, {2.0, 20}, {2.5, 24},
                                            {3.0, 28}, {4.0, 32}, {4.5, 12}};
    for (auto [scale, r] : radii) {
        TCanvasLog log;
        DrawTankSymbol8(log, 100, 200, 0xFF8000, clBlack, 0, 0, scale);
        ASSERT_EQ(log.Calls("Ellipse").size(), 1u);
        EXPECT_EQ(PointsOf(log.Calls("Ellipse")[0]), Pts({{100 - r, 200 - r}, {100 + r, 200 + r}})) << scale;
    }
    TCanvasLog log;
    DrawTankSymbol8(log, 100, 200, 0xFF8000, clBlack, 0, 0, 1.0);
    EXPECT_EQ(PointsOf(log.Calls("Chord")[0]), Pts({{88, 188}, {112, 212}, {88, 197}, {112, 197}}));

    TCanvasLog iso, direct;
    DrawTankSymbol8(iso, 100, 200, 0xFF8000, clBlack, kIsoYaw, kIsoTilt, 1.0);
    direct.Pen = iso.Pen; // same starting pen
    direct.Pen.Color = clBlack;
    direct.Pen.Width = 0;
    direct.Brush.Style = TBrushStyle::bsClear;
    DrawRotatedSphereWithLiquid(direct, 91, 185, 109, 215, kIsoTilt, 0xFF8000);
    EXPECT_EQ(iso.Lines, direct.Lines);
}

TEST(EndPressureSymbols, PolygonsSprayAndCircle)
{
    TCanvasLog box;
    DrawEndPressureSymbol0(box, 50, 60, clSilver, clBlack, 0, 0, 1.0);
    EXPECT_EQ(PointsOf(box.Calls("Polygon")[0]), Pts({{42, 49}, {42, 69}, {58, 69}, {58, 49}}));

    for (auto Draw : {DrawEndPressureSymbol5, DrawEndPressureSymbol6, DrawEndPressureSymbol7,
                      DrawEndPressureSymbol8}) {
        TCanvasLog plan;
        Draw(plan, 100, 100, clSilver, clBlack, 0, 0, 2.0);
        EXPECT_EQ(plan.Calls("LineTo").size(), 5u);
        EXPECT_NE(plan.Calls("LineTo")[0].find("pen 808080"), std::string::npos);
        ASSERT_EQ(plan.Calls("Ellipse").size(), 1u);
        EXPECT_EQ(PointsOf(plan.Calls("Ellipse")[0]), Pts({{86, 86}, {114, 114}}));
        TCanvasLog iso;
        Draw(iso, 100, 100, clSilver, clBlack, kIsoYaw, kIsoTilt, 2.0);
        EXPECT_TRUE(iso.Calls("Ellipse").empty());
        EXPECT_EQ(iso.Calls("StrokeAndFillPath").size(), 1u);
    }
    TCanvasLog spray;
    DrawEndPressureSymbol5(spray, 100, 100, clSilver, clBlack, 0, 0, 1.0);
    EXPECT_EQ(spray.Lines[0], "MoveTo 102,100");
    EXPECT_EQ(PointsOf(spray.Lines[1]), Pts({{117, 100}}));
}

TEST(NodeSymbols, LetterPAndJoin)
{
    TCanvasLog p;
    DrawIsometricLetterP(p, 100, 99, 3, 4, clBlack, 0, 0, 1.0);
    EXPECT_EQ(PointsOf(p.Calls("Polyline")[0]), Pts({{97, 103}, {97, 95}, {103, 95}, {103, 99}, {97, 99}}));
    EXPECT_EQ(p.Brush.Style, TBrushStyle::bsClear);
    TCanvasLog join;
    DrawJoinPointSymbol(join, 10, 20, 0, NodeImageColors[2], clBlack);
    EXPECT_EQ(join.Lines, std::vector<std::string>{"Ellipse 10,20 10,20 pen 000000 0 solid brush 0000FF solid"});
}

} // namespace
} // namespace tessaran
