#include "drawing/Canvas_Drawings.h"
#include "drawing/Log_Points.h"
#include "drawing/Pipe_Items.h"
#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaran {
namespace {

const double kIsoYaw = kPi / 4;
const double kIsoTilt = std::atan(0.5);

std::string textOf(const std::string &line)
{
    const auto a = line.find('"'), b = line.find('"', a + 1);
    return line.substr(a + 1, b - a - 1);
}

TEST(PipeLines, LineBandAndClosedPipeWithCrosses)
{
    TCanvasLog log;
    DrawPipeLine(log, 0, 0, 50, 0, clRed, 3, TBrushStyle::bsSolid);
    EXPECT_EQ(log.Pen.Width, 3);
    DrawPipeBand(log, 0, 0, 50, 0, clYellow, 21, TBrushStyle::bsSolid);
    EXPECT_NE(log.Lines.back().find("pen 00FFFF 21"), std::string::npos);
    EXPECT_EQ(log.Pen.Width, 0);

    TCanvasLog closed;
    DrawClosedPipeLine(closed, 100, 200, 300, 200, clGray);
    const auto lines = closed.Calls("LineTo");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[0].find("dot"), std::string::npos);
    const std::vector<std::pair<TPoint, TPoint>> crosses = {
        {{117, 197}, {124, 204}}, {{123, 197}, {116, 204}}, {{277, 197}, {284, 204}}, {{283, 197}, {276, 204}}};
    for (std::size_t i = 0; i < crosses.size(); ++i) {
        EXPECT_EQ(closed.Lines[2 + 2 * i], "MoveTo " + std::to_string(crosses[i].first.X) + "," +
                                               std::to_string(crosses[i].first.Y));
        EXPECT_EQ(PointsOf(closed.Lines[3 + 2 * i]), Pts({crosses[i].second}));
        EXPECT_NE(closed.Lines[3 + 2 * i].find("solid"), std::string::npos);
    }
    EXPECT_EQ(closed.Brush.Style, TBrushStyle::bsBDiagonal);
}

TEST(PipeLines, DemandArrowsPointAtLabelAndNode)
{
    TCanvasLog out;
    DrawDemandOutArrow(out, 100, 100, 100, 140, clGreen, true);
    EXPECT_EQ(PointsOf(out.Calls("Ellipse")[0]), Pts({{93, 133}, {107, 147}}));
    EXPECT_EQ(PointsOf(out.Calls("Polygon")[0])[0], TPoint(100, 140));
    TCanvasLog in;
    DrawDemandInArrow(in, 100, 60, 100, 100, clPurple, false);
    EXPECT_TRUE(in.Calls("Ellipse").empty());
    EXPECT_EQ(PointsOf(in.Calls("Polygon")[0])[0], TPoint(100, 96));
    // A zero-length arrow with a distance points downwards.
    TCanvasLog zero;
    DrawLineEndArrowHead(zero, 10, 10, 10, 10, 5, clBlack, 0, 0);
    EXPECT_EQ(PointsOf(zero.Calls("Polygon")[0]), Pts({{10, 15}, {13, 6}, {7, 6}}));
}

TEST(Fittings, MarkerAndLabelBothWaysAndUpright)
{
    TCanvasLog right;
    DrawFittingsSymbol(right, 100, 200, 160, 200, 1.5, true, clBlack, false, 0, 0, 1.0, "L");
    EXPECT_EQ(PointsOf(right.Calls("Polygon")[0]), Pts({{156, 202}, {164, 202}, {164, 198}, {156, 198}, {156, 202}}));
    const std::string expectedText = "K =" + std::string("1") + (right.Calls("TextOut")[0].find("1,50") !=
                                                                       std::string::npos
                                                                   ? ",50"
                                                                   : ".50") +
                                     ", L";
    EXPECT_EQ(textOf(right.Calls("TextOut")[0]), expectedText);
    EXPECT_EQ(PointsOf(right.Calls("TextOut")[0]), Pts({{156, 189}}));
    EXPECT_NE(right.Calls("TextOut")[0].find("font Arial 6 000000 style 0 esc 0"), std::string::npos);

    TCanvasLog left;
    DrawFittingsSymbol(left, 300, 200, 240, 200, 1.5, true, clBlack, false, 0, 0, 1.0, "L");
    EXPECT_EQ(PointsOf(left.Calls("TextOut")[0]), Pts({{216, 189}}));
    EXPECT_NE(left.Calls("TextOut")[0].find("esc 0 "), std::string::npos);

    TCanvasLog up;
    DrawFittingsSymbol(up, 100, 100, 100, 160, 0, false, clBlack, false, kIsoYaw, kIsoTilt, 1.2, "x");
    EXPECT_EQ(PointsOf(up.Calls("Polygon")[0]), Pts({{98, 155}, {98, 163}, {102, 165}, {102, 157}, {98, 155}}));
    EXPECT_EQ(PointsOf(up.Calls("TextOut")[0]), Pts({{111, 156}}));
    EXPECT_NE(up.Calls("TextOut")[0].find("esc -900"), std::string::npos);

    // The selection flag changes nothing; no K and no loss text writes nothing.
    TCanvasLog a, b;
    DrawFittingsSymbol(a, 100, 200, 160, 200, 1.5, false, clBlack, false, 0, 0, 1.0, "");
    DrawFittingsSymbol(b, 100, 200, 160, 200, 1.5, false, clBlack, true, 0, 0, 1.0, "");
    EXPECT_EQ(a.Lines, b.Lines);
    EXPECT_TRUE(a.Calls("TextOut").empty());
}

TEST(Fittings, ValveMarker)
{
    TCanvasLog log;
    DrawValveFittingsSymbol(log, 100, 200, 160, 200, 2, true, clBlack, false, 0, 0, 1.0, "");
    const auto polys = log.Calls("Polygon");
    ASSERT_EQ(polys.size(), 2u);
    EXPECT_EQ(PointsOf(polys[0]), Pts({{155, 196}, {155, 204}, {160, 200}}));
    EXPECT_EQ(PointsOf(polys[1]), Pts({{165, 196}, {165, 204}, {160, 200}}));
    EXPECT_EQ(PointsOf(log.Calls("TextOut")[0]), Pts({{157, 191}}));
}

TEST(FlowControl, ValveSelectedAndItsLabelAngles)
{
    TCanvasLog log;
    DrawFlowControlSymbol(log, "FCV1", 100, 200, 160, 200, clBlack, true, 0, 1.0, 7);
    EXPECT_EQ(PointsOf(log.Calls("Ellipse")[0]), Pts({{155, 192}, {171, 208}}));
    const auto polys = log.Calls("Polygon");
    ASSERT_EQ(polys.size(), 3u);
    EXPECT_EQ(PointsOf(polys[0]), Pts({{156, 197}, {156, 203}, {163, 200}}));
    EXPECT_EQ(PointsOf(polys[1]), Pts({{170, 197}, {170, 203}, {163, 200}}));
    EXPECT_EQ(PointsOf(polys[2]), Pts({{163, 195}, {158, 195}, {160, 192}, {166, 192}, {168, 195}}));
    EXPECT_EQ(PointsOf(log.Calls("LineTo")[0]), Pts({{163, 195}}));
    EXPECT_EQ(PointsOf(log.Calls("TextOut")[0]), Pts({{156, 203}}));

    // Down to the left at 1 in 2: 387 degrees, written as 27.
    TCanvasLog turned;
    DrawFlowControlSymbol(turned, "PRV", 300, 200, 240, 230, clBlack, false, 0, 1.0, 7);
    EXPECT_NE(turned.Calls("TextOut")[0].find("esc 270 "), std::string::npos) << turned.Calls("TextOut")[0];
    EXPECT_EQ(ItemTextAngle(-(387.0 / 360) * 2 * kPi), 27);
    EXPECT_EQ(ItemTextAngle(-(359.0 / 360) * 2 * kPi), 359);

    // Running to the left the bonnet stays above the pipe.
    TCanvasLog left;
    DrawFlowControlSymbol(left, "", 300, 200, 240, 200, clBlack, false, 0, 1.0, 7);
    for (const TPoint &p : PointsOf(left.Calls("Polygon")[2]))
        EXPECT_LT(p.Y, 200);
}

} // namespace
} // namespace tessaran
