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
    int ellipses = 0;

    void MoveTo(int x, int y) override { penPos_ = {x, y}; }
    void LineTo(int x, int y) override
    {
        lines.push_back({Pen, {penPos_, {x, y}}});
        penPos_ = {x, y};
    }
    void Rectangle(int, int, int, int) override {}
    void Ellipse(int, int, int, int) override { ++ellipses; }
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

TEST_F(PumpDrawing, PointsWithTheirEfficiencies)
{
    pump.EfficiencyMaxImpellerPointMultipliers[3] = 0.95;
    pump.DrawMaxDiameterFlowVersusHeadPoints(graph, Water, clBlue, GraphTextPosAbove, 4, clYellow);
    ASSERT_EQ(canvas.texts.size(), 5u); // points 2 to 6
    EXPECT_EQ(canvas.texts[0].text, "45.0");
    EXPECT_EQ(canvas.texts[2].text, "75.0");
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
