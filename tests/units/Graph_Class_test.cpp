#include "units/Graph_Class.h"

#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tessaran {
namespace {

TEST(Graph, CreateGivesTheDefaultFontsPensAndTicks)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 120, 800, 600);
    EXPECT_EQ(canvas.Font.PixelsPerInch, 120);
    for (const TFont *f : {&g.XValueFont, &g.YValueFont, &g.XHeadingFont, &g.YHeadingFont, &g.TitleFont}) {
        EXPECT_EQ(f->Name, "Arial");
        EXPECT_EQ(f->Size, 8);
        EXPECT_TRUE(f->Style.Empty());
        EXPECT_EQ(f->PixelsPerInch, 120);
    }
    EXPECT_EQ(g.XValueFont.Color, clBlack);
    EXPECT_EQ(g.XHeadingFont.Color, clBlack); // colour set 0 applied last
    EXPECT_EQ(g.YHeadingFont.Color, clBlack);
    EXPECT_EQ(g.TitleFont.Color, clBlue);
    EXPECT_EQ(g.XGridlinesPen.Color, clSilver);
    EXPECT_EQ(g.YGridlinesPen.Color, clSilver);
    for (const TPen *p : {&g.XAxisPen, &g.XMinorTickPen, &g.XMajorTickPen, &g.XValueTickPen, &g.YAxisPen,
                          &g.YMinorTickPen, &g.YMajorTickPen, &g.YValueTickPen}) {
        EXPECT_EQ(p->Color, clBlack);
        EXPECT_EQ(p->Width, 1);
        EXPECT_EQ(p->Style, TPenStyle::psSolid);
    }
    EXPECT_EQ(g.PlotLinePen.Color, clBlue);
    EXPECT_EQ(g.XDecPlaces, 1);
    EXPECT_EQ(g.YDecPlaces, 1);
    EXPECT_EQ((std::vector<int>{g.XMinorTickLength, g.XMajorTickLength, g.XValueTickLength, g.YMinorTickLength,
                                g.YMajorTickLength, g.YValueTickLength}),
              (std::vector<int>{2, 4, 6, -2, -4, -6}));
    EXPECT_EQ(g.GraphWidth, 800);
    EXPECT_EQ(g.GraphHeight, 600);
    EXPECT_EQ(g.GetGraphQuadrant(), 1);
}

TEST(Graph, ColourSetsColourFontsAndPensInEntryOrder)
{
    TGraph g(nullptr, 96, 100, 100);
    g.SelectColorArray(2);
    EXPECT_EQ(g.XHeadingFont.Color, 0x008000);
    EXPECT_EQ(g.XGridlinesPen.Color, clSilver);
    EXPECT_EQ(g.PlotLinePen.Color, 0x008000);
    g.SelectColorArray(1);
    EXPECT_EQ(g.YValueFont.Color, 0xFF0000);
    EXPECT_EQ(g.YAxisPen.Color, clBlack);
    g.SelectColorArray(9); // no such set: nothing changes
    EXPECT_EQ(g.YValueFont.Color, 0xFF0000);
}

TEST(Graph, PlotAreaByPercentages)
{
    TGraph g(nullptr, 96, 800, 600);
    g.SetGraphPositionByPercentages(10, 90, 15, 95, 10, 10);
    EXPECT_EQ(g.XOrigin, 80);
    EXPECT_EQ(g.XWidth, 640);
    EXPECT_EQ(g.YOrigin, 510);
    EXPECT_EQ(g.YHeight, -480);
    // Sizes are rounded down to the pixel multiple.
    g.SetGraphPositionByPercentages(10, 91, 15, 96, 50, 100);
    EXPECT_EQ(g.XWidth, 600);  // 648 down to 600
    EXPECT_EQ(g.YHeight, -400); // 486 down to 400
}

TEST(Graph, ScaleRoundsToAMultiple)
{
    struct Case {
        double start, end;
        int divisions;
        double multiple, expected;
    } cases[] = {
        {0, 37, 4, 5, 40}, {0, 40, 4, 5, 40}, {0, 40.08, 4, 5, 60}, {10, 47, 4, 5, 50}, {0, 37, 4, 0, 37},
    };
    for (const Case &c : cases) {
        TGraph g(nullptr, 96, 800, 600);
        g.SetGraphPositionAndScale(80, 510, 640, -480, c.start, 0, c.end, 100, c.divisions, 5, c.multiple, 10);
        EXPECT_DOUBLE_EQ(g.XScaleEndValue, c.expected) << c.start << ".." << c.end << " on " << c.multiple;
        EXPECT_EQ(g.XIncrement, 160);
        EXPECT_EQ(g.YIncrement, -96);
        EXPECT_DOUBLE_EQ(g.YScaleEndValue, 100);
    }
}

TEST(Graph, ScaleRoundsToAnAutoChosenValue)
{
    struct Case {
        double end;
        int divisions;
        double expectedEnd;
        int expectedDecimals;
    } cases[] = {
        {148, 4, 160, 0},     // 37 a division becomes 40
        {0.148, 4, 0.16, 2},  // 0.037 becomes 0.04
        {12.8, 4, 14, 0},     // 3.2 becomes 3.5
        {3840, 4, 4000, 0},   // 960 becomes 1000
        {0, 4, 0, 1},
    };
    for (const Case &c : cases) {
        TGraph g(nullptr, 96, 800, 600);
        g.SetGraphScaleValues(0, 0, c.end, c.end, c.divisions, c.divisions);
        g.SetXRangeToRoundOnAutoChosenValue();
        g.SetYRangeToRoundOnAutoChosenValue();
        EXPECT_NEAR(g.XScaleEndValue, c.expectedEnd, 1e-12) << c.end;
        EXPECT_EQ(g.XDecPlaces, c.expectedDecimals) << c.end;
        EXPECT_NEAR(g.YScaleEndValue, c.expectedEnd, 1e-12) << c.end;
        EXPECT_EQ(g.YDecPlaces, c.expectedDecimals) << c.end;
    }
}

TGraph &standardGraph(TGraph &g)
{
    g.SetGraphPositionByPercentages(10, 90, 15, 95, 10, 10);
    g.SetGraphScaleValues(0, 0, 100, 50, 4, 5);
    return g;
}

TEST(Graph, DataValuesAndPixels)
{
    TGraph g(nullptr, 96, 800, 600);
    standardGraph(g);
    int x = -1, y = -1;
    ASSERT_TRUE(g.GetXYpoint(50, 25, x, y, false));
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 270);
    EXPECT_FALSE(g.GetXYpoint(120, 25, x, y, false));
    EXPECT_EQ(x, 0);
    EXPECT_TRUE(g.GetXYpoint(120, 25, x, y, true));
    EXPECT_EQ(x, 848);

    double vx = -1, vy = -1;
    EXPECT_TRUE(g.GetXYvalue(400, 270, vx, vy));
    EXPECT_DOUBLE_EQ(vx, 50);
    EXPECT_DOUBLE_EQ(vy, 25);
    EXPECT_TRUE(g.GetXYvalue(40, 270, vx, vy)); // left of the origin
    EXPECT_EQ(vx, 0);
    EXPECT_DOUBLE_EQ(vy, 25);

    g.SetGraphScaleValues(0, 10, 100, 10, 4, 5); // a y scale of no length
    EXPECT_FALSE(g.GetXYpoint(50, 10, x, y, true));
}

TEST(Graph, PlotPointMarksByRadius)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    standardGraph(g);
    g.PlotPoint(50, 25, 4, "", GraphTextNone);
    ASSERT_EQ(canvas.Calls("Ellipse").size(), 1u);
    EXPECT_EQ(canvas.Calls("Ellipse")[0].substr(0, 24), "Ellipse 395,265 405,275 ");
    EXPECT_EQ(canvas.Brush.Style, TBrushStyle::bsClear);

    canvas.Clear();
    g.PlotPoint(50, 25, -3, "", GraphTextNone);
    EXPECT_EQ(canvas.Calls("Ellipse").size(), 0u);
    auto lines = canvas.Calls("LineTo");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 14), "LineTo 404,270");
    EXPECT_EQ(canvas.Calls("MoveTo")[0], "MoveTo 397,270");

    canvas.Clear();
    g.PlotPoint(50, 25, 25, "Duty", GraphTextPosRight);
    ASSERT_EQ(canvas.Lines.size(), 1u);
    int h = canvas.TextHeight("Duty");
    EXPECT_EQ(canvas.Lines[0].substr(0, canvas.Lines[0].find(" \"")),
              "TextOut 425," + std::to_string(270 - h / 2));

    canvas.Clear();
    g.PlotPoint(50, 25, 1, "", GraphTextNone); // radius 1 becomes 2, then 3
    EXPECT_EQ(canvas.Calls("Ellipse")[0].substr(0, 24), "Ellipse 397,267 403,273 ");
    canvas.Clear();
    g.PlotPoint(150, 25, 4, "x", GraphTextPosRight); // outside the scales: nothing
    EXPECT_TRUE(canvas.Lines.empty());
}

TEST(Graph, PolylinesClipToThePlotAreaOrLeaveOutsidePointsOut)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    standardGraph(g);
    std::vector<TGraphPoint> pts = {{0, 0}, {50, 60}, {100, 50}, {120, 10}};
    g.Polyline(pts, 3);
    EXPECT_EQ(canvas.Lines[0], "SaveState");
    EXPECT_EQ(canvas.Lines[1], "IntersectClipRect 80,30 721,511");
    EXPECT_EQ(canvas.Lines[2].substr(0, 38), "Polyline 80,510 400,-66 720,30 848,414");
    EXPECT_EQ(canvas.Lines[3], "RestoreState");

    canvas.Clear();
    g.PolylineWithBackLine(pts, 3, clRed, 1, clYellow, 5, TPenStyle::psSolid);
    auto polylines = canvas.Calls("Polyline");
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[0], "Polyline 80,510 720,30 pen 00FFFF 5 solid");
    EXPECT_EQ(polylines[1], "Polyline 80,510 720,30 pen 0000FF 1 solid");
    canvas.Clear();
    g.Polyline(pts, 10); // a last index beyond the points draws what there is
    EXPECT_EQ(canvas.Calls("Polyline").size(), 1u);
}

TEST(Graph, PlotLineElementStartsTheSeriesAtItsFirstPoint)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    standardGraph(g);
    g.SetPlotData(clRed, GraphPlotLine, GraphPlotOriginNone);
    g.PlotLineElement(0, 10, 1);
    g.PlotLineElement(50, 25, 2);
    std::vector<std::string> expected = {"MoveTo 79,509", "MoveTo 80,414", "LineTo 80,414 pen 0000FF 1 solid",
                                         "LineTo 400,270 pen 0000FF 2 solid"};
    EXPECT_EQ(canvas.Lines, expected);
    EXPECT_EQ(g.PlotOrigin, GraphPlotOriginCurrentPenPos);

    canvas.Clear();
    g.SetPlotData(clRed, GraphPlotDotted, GraphPlotOriginGraphOrigin);
    g.PlotLineElement(50, 25, 1);
    expected = {"MoveTo 80,510", "LineTo 400,270 pen 0000FF 2 dot"};
    EXPECT_EQ(canvas.Lines, expected);
}

TEST(Graph, AntialiasedLineBlendsByCoverage)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    g.SetGraphPositionAndScale(0, 10, 10, -10, 0, 0, 10, 10, 1, 1, 0, 0);
    canvas.MoveTo(0, 0);
    g.LineToXYPointAntialias(4, 10, clBlack); // pixel (4, 0)
    // Level line: the end pixels are half covered, the inner ones fully.
    EXPECT_EQ(canvas.GetPixel(0, 0), RGB(128, 128, 128));
    EXPECT_EQ(canvas.GetPixel(1, 0), clBlack);
    EXPECT_EQ(canvas.GetPixel(3, 0), clBlack);
    EXPECT_EQ(canvas.GetPixel(4, 0), RGB(128, 128, 128));
    EXPECT_EQ(canvas.GetPixel(2, 1), clWhite);
    EXPECT_EQ(canvas.PenPos(), (TPoint{4, 0}));

    canvas.Clear();
    g.LineToXYPointAntialias(4, 10, clBlack); // no length: nothing drawn
    EXPECT_TRUE(canvas.Calls("SetPixel").empty());
    EXPECT_EQ(canvas.PenPos(), (TPoint{4, 0}));
}

TEST(Graph, PrintRatioRoundsHalfAwayFromZero)
{
    TCanvasLog canvas;
    canvas.Font.Size = 8;
    TGraph g(&canvas, 96, 800, 600);
    g.XOrigin = 3;
    g.SetPrintRatio(2.5);
    EXPECT_EQ(g.XOrigin, 8);
    EXPECT_EQ(g.XMinorTickLength, 5);
    EXPECT_EQ(g.YMinorTickLength, -5);
    EXPECT_EQ(g.YHeadingHorzOffset, -113); // -112.5
    EXPECT_EQ(canvas.Font.Size, 20);
}

TEST(Graph, DrawGraphDrawsThePartsInOrder)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    standardGraph(g);
    g.SetAxisHeadings("Flow", "Head", "Pump");
    g.DrawGraph(true, GraphGridStandard, true, true, true, true, true, true, true);
    ASSERT_FALSE(canvas.Lines.empty());
    EXPECT_EQ(canvas.Lines[0], "Rectangle 80,30 720,510 pen FFFFFF 1 solid brush FFFFFF solid");
    auto texts = canvas.Calls("TextOut");
    // Five x labels, six y labels, the two headings and the title.
    ASSERT_EQ(texts.size(), 14u);
    EXPECT_NE(texts[0].find("\"0.0\""), std::string::npos);
    EXPECT_NE(texts[4].find("\"100.0\""), std::string::npos);
    EXPECT_NE(texts[10].find("\"50.0\""), std::string::npos);
    EXPECT_NE(texts[12].find("\"Head\""), std::string::npos);
    EXPECT_NE(texts[12].find("esc 900"), std::string::npos);
    EXPECT_NE(texts[13].find("\"Pump\" font Arial 8 FF0000"), std::string::npos);
    EXPECT_EQ(canvas.Font.Escapement, 0); // the turned heading font does not stay
    // Grid: five vertical and six horizontal lines in silver.
    int silver = 0;
    for (const std::string &line : canvas.Calls("LineTo"))
        silver += line.find("pen C0C0C0") != std::string::npos;
    EXPECT_EQ(silver, 11);
}

TEST(Graph, AxesBeforeAnyScaleDrawOnlyTheirLines)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    g.XWidth = 100;
    g.YHeight = -100;
    g.DrawXAxis();
    g.DrawYAxis();
    g.DrawXAxisValues(999);
    EXPECT_EQ(canvas.Calls("LineTo").size(), 2u);
    EXPECT_TRUE(canvas.Calls("TextOut").empty());
}

TEST(Graph, SettingsRecordRoundTripsAndABadOneLeavesTheDefaults)
{
    TGraph g(nullptr, 96, 800, 600);
    standardGraph(g);
    g.SetAxisHeadings("Flow m³/h", "Head", "Pump 1");
    g.SelectColorArray(3);
    g.XValueFont.Style = TFontStyles{TFontStyle::fsBold};
    g.PlotType = GraphPlotDotted;
    TMemoryStream stream;
    ASSERT_TRUE(g.SaveData(stream));
    // 4 flags, quadrant, three 251-byte texts, 24 integers, 4 reals, 3 offsets,
    // 5 fonts of 42 bytes, 11 pens of 9 bytes and two 4-byte enumerations.
    EXPECT_EQ(stream.Size(), 4 + 4 + 3 * 251 + 24 * 4 + 4 * 8 + 3 * 4 + 5 * 42 + 11 * 9 + 8);

    TGraph back(nullptr, 96, 800, 600);
    stream.Seek(0);
    ASSERT_TRUE(back.LoadData(stream));
    EXPECT_EQ(back.XHeading, "Flow m³/h");
    EXPECT_EQ(back.XWidth, 640);
    EXPECT_DOUBLE_EQ(back.YScaleEndValue, 50);
    EXPECT_EQ(back.XValueFont.Color, clRed);
    EXPECT_TRUE(back.XValueFont.Style.Contains(TFontStyle::fsBold));
    EXPECT_EQ(back.PlotType, GraphPlotDotted);

    std::vector<std::uint8_t> cut(stream.Bytes().begin(), stream.Bytes().end() - 3);
    TMemoryStream truncated(cut);
    std::string message;
    EXPECT_FALSE(back.LoadData(truncated, &message));
    EXPECT_EQ(message, "The file does not have the correct format and cannot be loaded.\r");
    EXPECT_EQ(back.XWidth, 0);
    EXPECT_TRUE(back.XHeading.empty());
    EXPECT_EQ(back.PlotType, GraphPlotLine);
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// Settings without divisions, without a rounding step or without a label
// spacing used to divide by zero; they now leave the scale alone and draw.
TEST(Graph, ZeroDivisionsStepsAndSpacingsChangeNothingAndDoNotFail)
{
    TCanvasLog canvas;
    TGraph g(&canvas, 96, 800, 600);
    g.SetGraphPositionByPercentages(10, 90, 15, 95, 0, 0);
    EXPECT_EQ(g.XWidth, 640);
    g.SetGraphPositionAndScale(80, 510, 640, -480, 0, 0, 37, 50, 0, 5, 5, 0);
    EXPECT_EQ(g.XIncrement, 0);
    EXPECT_DOUBLE_EQ(g.XScaleEndValue, 37); // no divisions: nothing to round on
    EXPECT_DOUBLE_EQ(g.YScaleEndValue, 50); // no rounding step
    g.SetXRangeToRoundOnAutoChosenValue();
    EXPECT_DOUBLE_EQ(g.XScaleEndValue, 37);

    g.SetGraphScaleValues(0, 0, 1e-310, 50, 4, 5); // a division far below one
    g.SetXRangeToRoundOnAutoChosenValue();
    EXPECT_GE(g.XScaleEndValue, 0);

    g.SetGraphScaleValues(0, 0, 100, 50, 4, 5);
    g.XValueIncrementSpacing = 0;
    g.YValueIncrementSpacing = 0;
    g.DrawGraph(false, GraphGridFine, true, true, true, true, false, false, false);
    EXPECT_EQ(canvas.Calls("TextOut").size(), 5u + 6u);
}

} // namespace
} // namespace tessaran
