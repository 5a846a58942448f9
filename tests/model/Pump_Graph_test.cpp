#include "model/Pump_Graph.h"

#include "Pump_Fixture.h"
#include "platform/Canvas.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::MakeTypicalPump;
using test::PumpPointRow;
using test::SetPumpPoints;
using test::Water;

TPump ThreePointPump()
{
    const PumpPointRow rows[] = {{0, 30, 0, 1}, {20, 27, 60, 2}, {40, 18, 70, 3}};
    TPump pump;
    pump.PumpPoints.FlowDisplayUnit = unt_m3_hour;
    pump.PumpPoints.HeadDisplayUnit = unt_m_hd_fluid;
    SetPumpPoints(pump, rows);
    return pump;
}

TEST(PumpGraph, HeadCurveIn51SamplesEndingAtTheLastPoint)
{
    const TPump pump = ThreePointPump();
    const TPumpGraphLine samples = PumpHeadCurveSamples(pump, Water);
    ASSERT_EQ(samples.size(), 51u);
    EXPECT_EQ(samples.front().X, 0);
    EXPECT_NEAR(samples.front().Y, 30, 1e-9);
    EXPECT_NEAR(samples[25].X, 20, 1e-9);
    EXPECT_NEAR(samples[25].Y, 27, 1e-9);
    EXPECT_EQ(samples.back().X, PumpDisplayEndFlow(pump, Water));
    EXPECT_NEAR(samples.back().X, 40, 1e-9);
}

TEST(PumpGraph, HeadCurveInAnotherHeadUnit)
{
    TPump pump = ThreePointPump();
    pump.PumpPoints.HeadDisplayUnit = unt_Bar_G;
    const TPumpGraphLine samples = PumpHeadCurveSamples(pump, 800);
    EXPECT_NEAR(samples.front().Y, 30 * 800 * 9.80665 / 1e5, 1e-9);
}

// A pump whose curve ends at zero flow gives no step to sample with: every
// sampling ends at once.
TEST(PumpGraph, ZeroFlowStepEndsTheSampling)
{
    const PumpPointRow rows[] = {{0, 30, 0, 1}, {0, 27, 60, 2}, {0, 18, 70, 3}};
    TPump flat;
    flat.PumpPoints.FlowDisplayUnit = unt_m3_hour;
    SetPumpPoints(flat, rows);
    flat.PreferredOpRegionFromPercent = 50;
    flat.PreferredOpRegionToPercent = 150;
    const TPump empty;
    for (const TPump *pump : {static_cast<const TPump *>(&flat), &empty}) {
        EXPECT_LE(PumpHeadCurveSamples(*pump, Water).size(), 1u);
        EXPECT_TRUE(PumpEfficiencyCurveSamples(*pump, Water).empty());
        EXPECT_TRUE(PumpPowerCurveSamples(*pump, Water).empty());
        EXPECT_TRUE(PumpNPSHrCurveSamples(*pump, Water).empty());
        EXPECT_TRUE(PumpPreferredRangeSamples(*pump, Water, 100).empty());
        EXPECT_TRUE(PumpSystemCurveSamples(*pump, 10, Water, 100).empty());
    }
}

TEST(PumpGraph, PreferredRangeFollowsTheHeadCurve)
{
    TPump pump;
    MakeTypicalPump(pump);
    EXPECT_TRUE(PumpPreferredRangeSamples(pump, Water, 200).empty()); // no range set
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
    const TPumpGraphLine range = PumpPreferredRangeSamples(pump, Water, 200);
    // Best point at 60 m³/h: from 42 to 72 m³/h in steps of 2.
    ASSERT_FALSE(range.empty());
    EXPECT_NEAR(range.front().X, 44, 1e-9);
    EXPECT_NEAR(range.back().X, 70, 1e-9);
    for (const auto &p : range)
        EXPECT_NEAR(p.Y, PumpDisplayHeadAtDisplayFlow(pump, p.X, Water), 1e-12);
    // The graph's end cuts the range short.
    EXPECT_NEAR(PumpPreferredRangeSamples(pump, Water, 50).back().X, 48, 1e-9);
}

TEST(PumpGraph, SecondaryCurvesSpanThePointsWithEfficiency)
{
    TPump pump;
    MakeTypicalPump(pump);
    const TPumpGraphLine efficiency = PumpEfficiencyCurveSamples(pump, Water);
    // From the second point (20 m³/h) to the last with an efficiency (100 m³/h)
    // in steps of 2 m³/h; the ends may fall either side of their flow.
    ASSERT_GE(efficiency.size(), 39u);
    EXPECT_NEAR(efficiency.front().X, 20, 2.001);
    EXPECT_GE(efficiency.front().X, 20 - 1e-9);
    EXPECT_NEAR(efficiency.back().X, 100, 2.001);
    EXPECT_LE(efficiency.back().X, 100 + 1e-9);
    for (const auto &p : efficiency)
        if (std::fabs(p.X - 60) < 1e-9) {
            EXPECT_NEAR(p.Y, 75, 1e-6);
        }

    const TPumpGraphLine kw = PumpPowerCurveSamples(pump, Water);
    ASSERT_EQ(kw.size(), efficiency.size());
    pump.PumpPoints.FlowDisplayUnit = unt_gpm_USA;
    const TPumpGraphLine hp = PumpPowerCurveSamples(pump, Water);
    ASSERT_EQ(hp.size(), kw.size());
    EXPECT_NEAR(hp[5].Y, kw[5].Y / 0.7456999, 1e-9);

    pump.PumpPoints.FlowDisplayUnit = unt_m3_hour;
    const TPumpGraphLine npshr = PumpNPSHrCurveSamples(pump, Water);
    ASSERT_EQ(npshr.size(), 51u);
    EXPECT_NEAR(npshr.front().X, 20, 1e-9);
    EXPECT_NEAR(npshr.front().Y, 1.2, 1e-9);
    EXPECT_EQ(npshr.back().X, PumpDisplayEndFlow(pump, Water));
}

TEST(PumpGraph, SystemCurveThroughTheOperatingPoint)
{
    TPump pump;
    MakeTypicalPump(pump);
    pump.PumpGraphOptions.SystemCurveHeadStart_mHd = 20;
    TPumpGraphLine curve = PumpSystemCurveSamples(pump, 60, Water, 100);
    ASSERT_EQ(curve.size(), 50u);
    EXPECT_EQ(curve.front().X, 0);
    EXPECT_NEAR(curve.front().Y, 20, 1e-9);
    EXPECT_NEAR(curve[30].X, 60, 1e-9);
    EXPECT_NEAR(curve[30].Y, 41, 1e-9);

    // A static head above the pump's head there starts the curve at 0.
    pump.PumpGraphOptions.SystemCurveHeadStart_mHd = 45;
    curve = PumpSystemCurveSamples(pump, 60, Water, 100);
    EXPECT_EQ(curve.front().Y, 0);
    // A low head scale keeps the curve below its top.
    curve = PumpSystemCurveSamples(pump, 60, Water, 30);
    for (const auto &p : curve)
        EXPECT_LE(p.Y, 30);
    EXPECT_TRUE(PumpSystemCurveSamples(pump, 0, Water, 100).empty());
    EXPECT_TRUE(PumpSystemCurveSamples(pump, 60, 0, 100).empty());
}

TEST(PumpGraph, OperatingPointCornerSpansATwentyFourthOfEachAxis)
{
    TPump pump;
    MakeTypicalPump(pump);
    const TPumpGraphLine corner = PumpOperatingPointCorner(pump, 60, Water, 0, 120, 10, 58);
    const TPumpGraphLine expected = {{55, 41}, {60, 41}, {60, 39}};
    ASSERT_EQ(corner.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(corner[i].X, expected[i].X, 1e-9);
        EXPECT_NEAR(corner[i].Y, expected[i].Y, 1e-9);
    }
    EXPECT_TRUE(PumpOperatingPointCorner(pump, 60, 0, 0, 120, 10, 58).empty());
}

class PumpIsoLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeTypicalPump(pump);
        pump.BaseDataSpeed_rpm = 1450;
        pump.BaseDataImpellerDiameter_m = 0.25;
        bool valid = false;
        pump.UpdateRunningDataForSpeedAndImpellerDiameter2(1450, 0.25, Water, valid);
    }
    TPump pump;
};

TEST_F(PumpIsoLines, LinesOnBothSidesOfTheBestPoint)
{
    const TPump before(pump);
    const TPumpIsoLines lines = PumpEfficiencyIsoLines(pump, 65, Water);
    EXPECT_EQ(pump.PumpPoints, before.PumpPoints);
    ASSERT_GE(lines.Left.size(), 2u);
    ASSERT_GE(lines.Right.size(), 2u);
    EXPECT_LT(lines.Left.front().X, lines.Right.front().X);
    // From the largest impeller down, the heads fall.
    EXPECT_GT(lines.Left.front().Y, lines.Left.back().Y);
}

TEST_F(PumpIsoLines, EfficiencyAboveEveryCurveGivesNoLines)
{
    const TPumpIsoLines lines = PumpEfficiencyIsoLines(pump, 99, Water);
    EXPECT_TRUE(lines.Left.empty());
    EXPECT_TRUE(lines.Right.empty());
}

// --- drawing --------------------------------------------------------------------------------

// A canvas that keeps what was drawn on it.
class RecordingCanvas : public TCanvas {
public:
    struct Line {
        TPen pen;
        TPointArray points;
    };
    struct Text {
        TFont font;
        int x, y;
        std::string text;
    };
    std::vector<Line> lines;
    std::vector<Text> texts;
    struct Disc {
        int radius;
        TColor color;
    };
    std::vector<Disc> discs;

    void MoveTo(int x, int y) override { penPos_ = {x, y}; }
    void LineTo(int x, int y) override
    {
        lines.push_back({Pen, {penPos_, {x, y}}});
        penPos_ = {x, y};
    }
    void Rectangle(int, int, int, int) override {}
    void Ellipse(int x1, int, int x2, int) override { discs.push_back({(x2 - x1) / 2, Brush.Color}); }
    void Chord(int, int, int, int, int, int, int, int) override {}
    void Polygon(std::span<const TPoint>) override {}
    void Polyline(std::span<const TPoint> points) override { lines.push_back({Pen, {points.begin(), points.end()}}); }
    void PolyBezier(std::span<const TPoint>) override {}
    void BeginPath() override {}
    void EndPath() override {}
    void StrokePath() override {}
    void FillPath() override {}
    void StrokeAndFillPath() override {}
    void FlattenPath() override {}
    TPointArray GetPath() const override { return {}; }
    void TextOut(int x, int y, std::string_view text) override { texts.push_back({Font, x, y, std::string(text)}); }
    void IntersectClipRect(const TRect &) override {}
    void SaveState() override {}
    void RestoreState() override {}
    TColor GetPixel(int, int) const override { return 0xFFFFFFFF; }
    void SetPixel(int, int, TColor) override {}
    void StretchDraw(const TRect &, const TBitmap &) override {}
    void StretchDraw(const TRect &, const TMetafile &) override {}
    void GradientFillVertical(const TRect &, TColor, TColor) override {}
};

class PumpDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeTypicalPump(pump);
        pump.BaseDataSpeed_rpm = 1450;
        pump.BaseDataImpellerDiameter_m = 0.25;
        graph.SetGraphPositionAndScale(50, 450, 500, -400, 0, 0, 120, 60, 6, 6, 0, 0);
    }
    TPump pump;
    RecordingCanvas canvas;
    TGraph graph{&canvas, 96, 600, 500};
};

TEST_F(PumpDrawing, HeadCurveTwiceWithItsDiameterLabel)
{
    pump.DrawFlowVersusHeadCurve(graph, Water, clBlue, 2, clWhite);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0].points.size(), 51u);
    EXPECT_EQ(canvas.lines[0].pen.Color, clWhite);
    EXPECT_EQ(canvas.lines[0].pen.Width, 3);
    EXPECT_EQ(canvas.lines[1].pen.Color, clBlue);
    EXPECT_EQ(canvas.lines[1].pen.Width, 2);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, "250.000 mm");
    EXPECT_TRUE(canvas.texts[0].font.Style.Contains(TFontStyle::fsBold));
    const TPoint start = canvas.lines[1].points.front();
    EXPECT_EQ(canvas.texts[0].x, start.X + 5);
}

// Each point 2..6: an outer disc in the highlight colour (larger for the
// highlighted point), then a centre with the efficiency beside it.
TEST_F(PumpDrawing, PointsWithTheirEfficiencies)
{
    pump.EfficiencyMaxImpellerPointMultipliers[3] = 0.95;
    pump.DrawMaxDiameterFlowVersusHeadPoints(graph, Water, clBlue, GraphTextPosAbove, 4, clYellow);
    ASSERT_EQ(canvas.texts.size(), 5u);
    EXPECT_EQ(canvas.texts[0].text, "45.0");
    EXPECT_EQ(canvas.texts[2].text, "75.0");
    ASSERT_EQ(canvas.discs.size(), 10u);
    for (int point = 2; point <= 6; ++point) {
        const auto &outer = canvas.discs[static_cast<std::size_t>(2 * (point - 2))];
        const auto &centre = canvas.discs[static_cast<std::size_t>(2 * (point - 2) + 1)];
        EXPECT_EQ(outer.color, clYellow) << point;
        EXPECT_EQ(outer.radius, point == 4 ? 7 : 5) << point;
        EXPECT_EQ(centre.radius, 3);
        EXPECT_EQ(centre.color, point == 3 ? clRed : clBlue) << point;
    }

    // The plain and the smaller-impeller variants do not mark that point.
    for (bool plain : {true, false}) {
        canvas.discs.clear();
        if (plain)
            pump.DrawFlowVersusHeadPoints(graph, Water, clBlue, GraphTextPosAbove, 4, clYellow);
        else
            pump.DrawMinDiameterFlowVersusHeadPoints(graph, Water, clBlue, GraphTextPosAbove, 4, clYellow);
        ASSERT_EQ(canvas.discs.size(), 10u);
        EXPECT_EQ(canvas.discs[3].color, clBlue);
    }
}

TEST_F(PumpDrawing, SecondaryCurvesAndMarks)
{
    pump.DrawEfficiencyCurve(graph, Water, clGreen, 1, clWhite);
    pump.DrawPowerCurve(graph, Water, clMaroon, 1, clWhite);
    pump.DrawNPSHrCurve(graph, Water, clNavy, 1, clWhite);
    ASSERT_EQ(canvas.lines.size(), 6u);
    EXPECT_EQ(canvas.lines[2].pen.Color, clGray); // power back line
    EXPECT_EQ(canvas.lines[3].pen.Color, clMaroon);
    EXPECT_EQ(canvas.lines[5].pen.Color, clNavy);
    EXPECT_EQ(pump.PumpPoints.PowerDisplayUnit, unt_KW); // m³/h flows

    canvas.lines.clear();
    pump.DrawOperatingPoint(graph, 60, Water, clRed, 2);
    pump.DrawSystemCurve(graph, 60, Water, clOlive, 1, clWhite);
    pump.DrawLine(graph, 0, 0, 120, 60, clBlack, 1);
    ASSERT_EQ(canvas.lines.size(), 3u);
    EXPECT_EQ(canvas.lines[0].points.size(), 3u);
    EXPECT_EQ(canvas.lines[2].points.size(), 2u);

    canvas.texts.clear();
    pump.DrawBestEfficiencyPoint(graph, Water, clGray, 1);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text.back(), '%');
}

// Curves that end at zero flow have no step to sample with: drawing them ends.
TEST_F(PumpDrawing, ZeroStepDrawsNothingAndEnds)
{
    const PumpPointRow rows[] = {{0, 30, 0, 1}, {0, 27, 60, 2}, {0, 18, 70, 3}};
    SetPumpPoints(pump, rows);
    pump.PreferredOpRegionFromPercent = 50;
    pump.PreferredOpRegionToPercent = 150;
    pump.DrawEfficiencyCurve(graph, Water, clGreen, 1, clWhite);
    pump.DrawPowerCurve(graph, Water, clMaroon, 1, clWhite);
    pump.DrawNPSHrCurve(graph, Water, clNavy, 1, clWhite);
    pump.DrawBestEfficiencyHighlight(graph, Water, clYellow, 3);
    pump.DrawSystemCurve(graph, 10, Water, clOlive, 1, clWhite);
    EXPECT_TRUE(canvas.lines.empty());
    pump.DrawFlowVersusHeadCurve(graph, Water, clBlue, 1, clWhite);
    EXPECT_EQ(canvas.lines.back().points.size(), 1u);
}

TEST_F(PumpDrawing, IsoLinesLeaveThePumpUnchanged)
{
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter2(1450, 0.24, Water, valid);
    const TPump before(pump);
    std::string error = "stale";
    double errorDiameter = -1;
    pump.DrawEfficiencyIsoLine(graph, 65, Water, clGreen, 1, clWhite, 3, error, errorDiameter);
    EXPECT_EQ(pump.PumpPoints, before.PumpPoints);
    EXPECT_EQ(pump.Speed_rpm, before.Speed_rpm);
    EXPECT_EQ(pump.ImpellerDiameter_m, before.ImpellerDiameter_m);
    EXPECT_EQ(pump.PumpMinDiamCurve_Qkgs_mHd.CalculateY(10), before.PumpMinDiamCurve_Qkgs_mHd.CalculateY(10));
    EXPECT_EQ(pump.PumpEfficiencyCurve.CalculateY(10), before.PumpEfficiencyCurve.CalculateY(10));
    EXPECT_FALSE(canvas.lines.empty());
    ASSERT_FALSE(canvas.texts.empty());
    EXPECT_EQ(canvas.texts.front().text, "65");
    EXPECT_EQ(error.empty(), errorDiameter == 0);
}

// A prediction that raises inside the iso-lines leaves the pump as it was.
TEST_F(PumpDrawing, FailedIsoLinesLeaveThePumpUnchanged)
{
    pump.PumpPoints.PointsCount = 11;
    const TPump before(pump);
    std::string error;
    double errorDiameter = 0;
    EXPECT_THROW(pump.DrawEfficiencyIsoLine(graph, 65, Water, clGreen, 1, clWhite, 3, error, errorDiameter),
                 std::out_of_range);
    EXPECT_EQ(pump.PumpPoints, before.PumpPoints);
    EXPECT_EQ(pump.Speed_rpm, before.Speed_rpm);
}

// Lines that stop short of the smallest impeller and bend towards each
// other are bridged from the right line's end to the left line's end.
TEST(PumpIsoLineJoins, BottomBridgeClosesTheLine)
{
    const TPumpGraphLine left = {{10, 50}, {12, 45}, {14, 40}};
    TPumpGraphLine right = {{30, 50}, {28, 45}, {26, 40}};
    ASSERT_TRUE(PumpIsoLinesCloseAtSmallDiameter(left, right, 1, 1));
    ASSERT_EQ(right.size(), 9u);
    EXPECT_EQ(right.back().X, 14);
    EXPECT_EQ(right.back().Y, 40);
    for (std::size_t i = 3; i < right.size(); ++i)
        EXPECT_LT(right[i].X, right[i - 1].X) << i; // moving left towards the left line's end
    EXPECT_NEAR(right[3].X, 26 - 12 * 0.3, 1e-12);
    EXPECT_NEAR(right[3].Y, 40, 1e-12);

    struct Case {
        const char *why;
        TPumpGraphLine left, right;
        int firstLeft, firstRight;
    };
    TPumpGraphLine full(25), fullRight(25);
    for (int i = 0; i < 25; ++i) {
        full[static_cast<std::size_t>(i)] = {10.0 + 0.1 * i, 50.0 - i};
        fullRight[static_cast<std::size_t>(i)] = {30.0 - 0.1 * i, 50.0 - i};
    }
    const Case open[] = {
        {"left line reaches the smallest impeller", full, fullRight, 1, 1},
        {"counts differ by 3", {{10, 50}, {12, 45}, {13, 42}, {14, 40}, {15, 38}}, {{30, 50}, {26, 40}}, 1, 1},
        {"ends too far apart", {{10, 50}, {11, 40}}, {{30, 50}, {28, 40}}, 1, 1},
        {"right line turning away", {{10, 50}, {14, 40}}, {{26, 50}, {28, 40}}, 1, 1},
    };
    for (const Case &c : open) {
        TPumpGraphLine r = c.right;
        EXPECT_FALSE(PumpIsoLinesCloseAtSmallDiameter(c.left, r, c.firstLeft, c.firstRight)) << c.why;
        EXPECT_EQ(r.size(), c.right.size()) << c.why;
    }
}

// Lines that start below the largest impeller and open away from each other
// are joined at the top: the right line starts at the left line's first point.
TEST(PumpIsoLineJoins, TopBridgeJoinsTheLines)
{
    const TPumpGraphLine left = {{14, 40}, {12, 45}, {10, 50}};
    const TPumpGraphLine original = {{26, 40}, {28, 45}, {30, 50}};
    TPumpGraphLine right = original;
    ASSERT_TRUE(PumpIsoLinesJoinAtTop(left, right, 3, 3));
    ASSERT_EQ(right.size(), 9u);
    EXPECT_EQ(right[0].X, 14);
    EXPECT_EQ(right[6].X, 26);
    for (std::size_t i = 1; i <= 6; ++i)
        EXPECT_GT(right[i].X, right[i - 1].X) << i; // from the left line's top over to the right line
    EXPECT_NEAR(right[5].X, 14 + 12 * 0.3, 1e-12);

    TPumpGraphLine fromTheLargest = original;
    EXPECT_FALSE(PumpIsoLinesJoinAtTop(left, fromTheLargest, 1, 3));
    EXPECT_EQ(fromTheLargest.size(), 3u);
}

TEST_F(PumpIsoLines, WarningNamesTheDiameterOfACurveWithABump)
{
    const std::string warning = PumpEfficiencyCurveWarning(pump, 0.2);
    EXPECT_EQ(warning.rfind("Efficiency Curve Warning:\r\rThe predicted pump efficiency curve for \r\r"
                            "Impeller diameter = 200.000 mm \r\rhas efficiencies",
                            0),
              0u);
    EXPECT_NE(warning.find("'bump'"), std::string::npos);
    EXPECT_EQ(warning.substr(warning.size() - 19), "Click button below ");
}

} // namespace
} // namespace tessaran
