#include "drawing/Canvas_Drawings.h"
#include "drawing/Log_Points.h"
#include "drawing/Pipe_Items.h"
#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaran {
namespace {

TEST(LineAngle, EveryQuadrantKeepsItsRange)
{
    struct Case {
        int x, y;
        double angle;
    } cases[] = {{10, 0, 0},           {0, 10, kPi / 2},          {0, -10, -kPi / 2},
                 {-10, 0, kPi},        {-10, 10, -5 * kPi / 4},   {-10, -10, 5 * kPi / 4},
                 {0, 0, -kPi / 2}};
    for (const Case &c : cases)
        EXPECT_NEAR(LineAngle(0, 0, c.x, c.y), c.angle, 1e-12) << c.x << "," << c.y;
}

TEST(Rotation, EachFamilyKeepsItsSense)
{
    int x = 10, y = 0;
    RotatePointAbout(x, y, 0, 0, kPi / 2);
    EXPECT_EQ(TPoint(x, y), TPoint(0, 10)); // clockwise on the screen
    TPoint out;
    RotatePointAboutCentre({10, 0}, {0, 0}, out, kPi / 2);
    EXPECT_EQ(out, TPoint(0, -10)); // counter-clockwise
}

TEST(ProjectPointIsometric, PlanViewOnlyScalesAndFaultsKeepThePoint)
{
    int x = 13, y = -7;
    ProjectPointIsometric(x, y, 3, 3, 0, 0, 1.0);
    EXPECT_EQ(TPoint(x, y), TPoint(13, -7));
    ProjectPointIsometric(x, y, 3, 3, 0, 0, 1.2);
    EXPECT_EQ(TPoint(x, y), TPoint(15, -9));

    // Values that no integer can hold leave the point as it stood.
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e300};
    for (double scale : bad) {
        x = 13, y = -7;
        ProjectPointIsometric(x, y, 3, 3, kPi / 4, std::atan(0.5), scale);
        EXPECT_EQ(TPoint(x, y), TPoint(13, -7)) << scale;
        if (!std::isfinite(scale)) {
            ProjectPointIsometric(x, y, 3, 3, scale, std::atan(0.5), 1.0);
            EXPECT_EQ(TPoint(x, y), TPoint(13, -7)) << scale;
        }
    }
    x = 13, y = -7;
    ProjectPumpPointIsometric(x, y, 3, 3, kPi / 4, kPi / 2, std::numeric_limits<double>::quiet_NaN(), 1.0);
    EXPECT_TRUE(std::abs(x - 3) <= 11 && std::abs(y - 3) <= 11); // turned, then kept
}

TEST(Arrowheads, TipsCornersAndFlattening)
{
    struct Case {
        int x1, y1, x2, y2, distance;
        std::vector<TPoint> triangle;
    } cases[] = {
        {100, 200, 300, 200, 0, {{300, 200}, {291, 197}, {291, 203}}},
        {100, 200, 300, 200, 10, {{290, 200}, {281, 197}, {281, 203}}},
        {100, 200, 300, 300, 10, {{291, 296}, {284, 289}, {282, 295}}},
    };
    for (const Case &c : cases) {
        TCanvasLog log;
        DrawLineEndArrowHead(log, c.x1, c.y1, c.x2, c.y2, c.distance, clBlack, 0, 0);
        ASSERT_EQ(log.Calls("Polygon").size(), 1u);
        EXPECT_EQ(PointsOf(log.Calls("Polygon")[0]), c.triangle) << log.Calls("Polygon")[0];
    }
    // Horizontal and vertical heads are never flattened; a slope of 3 is not either.
    for (auto [x2, y2] : {std::pair{300, 200}, std::pair{100, 400}, std::pair{160, 380}}) {
        TCanvasLog flat, plain;
        DrawLineEndArrowHead(flat, 100, 200, x2, y2, 10, clBlack, kPi / 4, std::atan(0.5));
        DrawLineEndArrowHead(plain, 100, 200, x2, y2, 10, clBlack, 0, 0);
        EXPECT_EQ(flat.Lines, plain.Lines) << x2 << "," << y2;
    }
    // A shallow slanted line in the isometric view stands the base upright.
    TCanvasLog iso, plain;
    DrawLineEndArrowHead(iso, 100, 200, 300, 300, 10, clBlack, kPi / 4, std::atan(0.5));
    DrawLineEndArrowHead(plain, 100, 200, 300, 300, 10, clBlack, 0, 0);
    const auto isoPts = PointsOf(iso.Calls("Polygon")[0]);
    EXPECT_EQ(isoPts[0], TPoint(291, 296));
    EXPECT_EQ(isoPts[1].X, isoPts[2].X);
    EXPECT_NE(iso.Lines, plain.Lines);

    TCanvasLog open;
    DrawLineEndOpenArrowHead(open, 100, 200, 300, 200, 20, clRed);
    EXPECT_EQ(open.Calls("LineTo").size(), 2u);
    EXPECT_EQ(open.Lines[0], "MoveTo 280,200");
    EXPECT_EQ(PointsOf(open.Lines[1]), Pts({{272, 196}}));
    EXPECT_EQ(PointsOf(open.Lines[3]), Pts({{272, 204}}));

    // A zero-length line draws nothing but leaves the pen and brush set.
    TCanvasLog none;
    DrawFilledArrowHead(none, 5, 5, 5, 5, 3, 3.0, clRed, clBlue, 0, 0);
    EXPECT_TRUE(none.Lines.empty());
    EXPECT_EQ(none.Brush.Color, clRed);
    EXPECT_EQ(none.Pen.Color, clBlue);
}

TEST(TurnedEllipse, TwoBezierHalvesStrokedOrFilledByTheBrush)
{
    TCanvasLog log;
    DrawRotatedEllipseOutline(log, 0, 0, 20, 10, 0);
    EXPECT_EQ(PointsOf(log.Calls("PolyBezier")[0]),
              Pts({{0, 4}, {0, -3}, {19, -3}, {19, 4}, {19, 11}, {0, 11}, {0, 4}}));
    TCanvasLog turned;
    DrawRotatedEllipseOutline(turned, 0, 0, 20, 10, kPi / 2);
    EXPECT_EQ(PointsOf(turned.Calls("PolyBezier")[0])[0], TPoint(10, 14)); // the left end turned below
    TCanvasLog clear, solid;
    clear.Brush.Style = TBrushStyle::bsClear;
    DrawRotatedFilledEllipse(clear, 0, 0, 20, 10, 0.3, clRed);
    DrawRotatedFilledEllipse(solid, 0, 0, 20, 10, 0.3, clRed);
    EXPECT_EQ(clear.Calls("StrokePath").size(), 1u);
    EXPECT_EQ(solid.Calls("StrokeAndFillPath").size(), 1u);
    EXPECT_EQ(solid.Brush.Color, clWhite); // the colour argument changes nothing
}

TEST(DeletePointRange, RemovesInclusiveRangeAndClipsOutsideIt)
{
    TPointArray pts;
    for (int i = 0; i < 17; ++i)
        pts.push_back({i, 0});
    DeletePointRange(pts, 3, 8);
    ASSERT_EQ(pts.size(), 11u);
    EXPECT_EQ(pts[3].X, 9);
    DeletePointRange(pts, 10, 40);
    EXPECT_EQ(pts.size(), 10u);
    DeletePointRange(pts, 5, 4);
    EXPECT_EQ(pts.size(), 10u);
}

TEST(Sphere, LiquidIsTheLowerPartAtEverySizeAndSense)
{
    for (int r : {12, 16, 20, 24, 28, 32})
        for (double angle : {0.4636, 0.0, -0.4636}) {
            TCanvasLog log;
            log.Pen.Color = clBlack;
            DrawRotatedSphereWithLiquid(log, 100 - r, 200 - r, 100 + r, 200 + r, angle, 0xFF8000);
            const auto polygons = log.Calls("Polygon");
            ASSERT_EQ(polygons.size(), 1u);
            const auto liquid = PointsOf(polygons[0]);
            const auto outline = PointsOf(log.Calls("PolyBezier").back());
            // The top middle is cut away, the bottom middle stays.
            ASSERT_EQ(outline.size(), 13u);
            EXPECT_EQ(std::count(liquid.begin(), liquid.end(), outline[3]), 0) << r << " " << angle;
            EXPECT_EQ(std::count(liquid.begin(), liquid.end(), outline[9]), 1) << r << " " << angle;
            EXPECT_LT(liquid.size(), 30u);
            EXPECT_EQ(liquid.front(), liquid.back());
            EXPECT_NE(polygons[0].find("pen FF8000"), std::string::npos);
            EXPECT_NE(polygons[0].find("brush FF8000 solid"), std::string::npos);
            EXPECT_NE(log.Calls("PolyBezier").back().find("pen 000000"), std::string::npos);
        }
}

// A text that is exactly 50 units wide in some size, so that the label
// numbers can be checked as they stand.
bool findFiftyWideText(std::string &text, int &size)
{
    TCanvasLog probe;
    probe.Font.Name = "Arial";
    for (size = 5; size <= 14; ++size) {
        probe.Font.Size = size;
        for (int n = 1; n < 20; ++n) {
            for (char ch : {'W', 'M', 'x', 'i', 'a'}) {
                text = std::string(n, ch);
                if (probe.TextWidth(text) == 50)
                    return true;
            }
        }
    }
    return false;
}

TEST(PipeLabel, PlacedAlongThePipeEitherWayAndWrittenBack)
{
    std::string text;
    int size = 0;
    ASSERT_TRUE(findFiftyWideText(text, size));
    struct Case {
        int x1, y1, x2, y2;
        double pct;
        TPoint at;
        int angle;
    } cases[] = {
        {0, 0, 200, 0, 0, {0, -19}, 0},     {0, 0, 200, 0, 100, {166, -19}, 0},
        {200, 0, 0, 0, 0, {0, -19}, 0},     {200, 0, 0, 0, 100, {166, -19}, 0},
        {0, 0, 0, 100, 0, {20, 0}, -90},    {0, 100, 0, 0, 0, {-20, 100}, 90},
    };
    for (const Case &c : cases) {
        TCanvasLog log;
        log.Font.Size = 7; // what an earlier text left behind
        int lx = 0, ly = 0;
        DrawPipeLabel(lx, ly, log, c.x1, c.y1, c.x2, c.y2, c.pct, text, clBlue, size, false);
        EXPECT_EQ(TPoint(lx, ly), c.at) << c.x1 << "," << c.y1 << "->" << c.x2 << "," << c.y2 << " " << c.pct;
        const auto texts = log.Calls("TextOut");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(PointsOf(texts[0]), Pts({c.at}));
        EXPECT_NE(texts[0].find("esc " + std::to_string(c.angle * 10)), std::string::npos) << texts[0];
    }
    // A label longer than its pipe sits at 1 % from where the percentage counts.
    TCanvasLog log;
    int lx = 0, ly = 0;
    DrawPipeLabel(lx, ly, log, 0, 0, 40, 0, 80, text, clBlue, size, true);
    EXPECT_EQ(TPoint(lx, ly), TPoint(0, -19));
    EXPECT_EQ(log.Calls("Ellipse").size(), 1u); // the handle
}

TEST(PipeLabel, MeasuredAtItsOwnSizeSoItStaysOnThePipe)
{
    TCanvasLog log;
    log.Font.Size = 7;
    int lx = 0, ly = 0;
    const std::string text = "Pipe P12, 150.0 mm, 42.0 m";
    DrawPipeLabel(lx, ly, log, 0, 0, 400, 0, 100, text, clBlue, 14, false);
    TCanvasLog probe;
    probe.Font.Size = 14;
    const int w = probe.TextWidth(text);
    EXPECT_LE(lx + w, 400 + 16);
    EXPECT_EQ(lx, static_cast<int>(std::nearbyint(400.0 * (400 - w + 16) / 400)));
}

TEST(Texts, CanvasTextLeavesSizeSevenAndTurnsNothingOver)
{
    TCanvasLog log;
    log.Font.PixelsPerInch = 300;
    DrawCanvasText(log, 5, 6, "N1", clBlue, 12);
    EXPECT_EQ(log.Font.Size, 7);
    EXPECT_EQ(log.Font.PixelsPerInch, 96);
    DrawAngledText(log, 5, 6, "up", 90, clBlue, 9, TFontStyles{TFontStyle::fsBold});
    EXPECT_NE(log.Lines.back().find("esc 900"), std::string::npos);
    EXPECT_EQ(log.Font.Escapement, 0);
    EXPECT_EQ(log.Font.Size, 9);
}

TEST(ColorKey, TicksLabelsCaptionAndZeroDivisions)
{
    for (auto [includeEnd, ticks] : {std::pair{false, 5}, std::pair{true, 6}}) {
        TCanvasLog log;
        DrawColorKeyScale(log, 10, 50, 210, 50, 0, 100, 1, 5, "", 20, clBlack, clBlack, 4, clBlack, 8, includeEnd);
        EXPECT_EQ(log.Calls("LineTo").size(), 1u + ticks);
        EXPECT_EQ(log.Calls("TextOut").size(), std::size_t(ticks));
    }
    TCanvasLog log;
    DrawColorKeyScale(log, 10, 50, 210, 50, 0, 100, 1, 0, "Pipe: Velocity m/sec", 20, clBlack, clBlack, 4, clRed,
                      12, true);
    EXPECT_EQ(log.Calls("LineTo").size(), 1u);
    const auto texts = log.Calls("TextOut");
    ASSERT_EQ(texts.size(), 1u);
    TCanvasLog probe;
    probe.Font.Size = 12;
    const int w = probe.TextWidth("Pipe: Velocity m/sec");
    EXPECT_EQ(PointsOf(texts[0]), Pts({{(220 - w) / 2, 70}})); // centred at the size written
}

TEST(GradientBar, WidthZeroDrawsNothingWidthOneBothEnds)
{
    TCanvasLog none;
    DrawGradientBar(none, 0, 0, 0, 10, clRed, clBlue);
    EXPECT_TRUE(none.Calls("LineTo").empty());
    TCanvasLog two;
    DrawGradientBar(two, 0, 0, 1, 10, clRed, clBlue);
    const auto lines = two.Calls("LineTo");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("pen 0000FF"), std::string::npos);
    EXPECT_NE(lines[1].find("pen FF0000"), std::string::npos);
    TCanvasLog three;
    DrawThreeColorGradientBar(three, 0, 0, 10, 10, clLime, clYellow, clRed);
    EXPECT_EQ(three.Calls("LineTo").size(), 12u);
    EXPECT_NE(three.Calls("LineTo")[5].find("pen 00FFFF"), std::string::npos);
    EXPECT_NE(three.Calls("LineTo")[6].find("pen 00FFFF"), std::string::npos);
}

} // namespace
} // namespace tessaran
