#include "platform/MetafileCanvas.h"
#include "platform/qt/Emf_Player.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Graph_Class.h"

#include "drawing_qt/Reference_Image.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cstdlib>

namespace tessaran {
namespace {

// A pump-curve chart: frame, fine grid, labelled axes, a head curve drawn
// point by point, an efficiency curve with a back line, an antialiased
// system line and a marked duty point.
void drawChart(TCanvas &canvas)
{
    TGraph g(&canvas, 96, 400, 300);
    g.ClearImage(clWhite);
    g.SetGraphPositionByPercentages(15, 92, 15, 88, 10, 10);
    g.SetGraphScaleValues(0, 0, 148, 37, 4, 5);
    g.SetXRangeToRoundOnAutoChosenValue();
    g.SetYRangeToRoundOnAutoChosenValue();
    g.SetAxisHeadings("Flow m3/h", "Head m", "Pump 1");
    g.SetAxisHeadingOffsetsAutomatic();
    g.DrawGraph(true, GraphGridFine, true, true, true, true, true, true, true);
    g.SetPlotData(clBlue, GraphPlotLine, GraphPlotOriginNone);
    for (int q = 0; q <= 150; q += 10)
        g.PlotLineElement(q, 38 - 0.0012 * q * q, 2);
    std::vector<TGraphPoint> efficiency;
    for (int q = 0; q <= 160; q += 8)
        efficiency.push_back({double(q), 0.45 * q - 0.0022 * q * q});
    g.PolylineWithBackLine(efficiency, static_cast<int>(efficiency.size()) - 1, clGreen, 1, clYellow, 5,
                           TPenStyle::psSolid);
    g.MoveToXYpoint(0, 5);
    g.LineToXYPointAntialias(150, 30, clRed);
    g.SetPlotData(clRed, GraphPlotLine, GraphPlotOriginNone);
    g.PlotPoint(100, 26, 4, "Duty", GraphTextPosAbove);
}

QImage renderChart()
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    TQtCanvas canvas(&image);
    drawChart(canvas);
    return image;
}

TEST(GraphRender, ChartMatchesItsReferenceImage)
{
    ExpectMatchesReferenceIn(QStringLiteral(TESSARAN_TEST_DATA_DIR "/platform_qt/"), renderChart(),
                             QStringLiteral("graph.png"), 0.005);
}

TEST(GraphRender, RecordedChartPlaysBackLikeTheDirectRender)
{
    TMetafile mf;
    mf.Width = 400;
    mf.Height = 300;
    TMetafileCanvas recorder(mf);
    drawChart(recorder);
    recorder.Close();
    QImage played(400, 300, QImage::Format_RGB32);
    played.fill(Qt::white);
    {
        QPainter painter(&played);
        PlayMetafile(painter, mf, QRectF(0, 0, 400, 300));
    }
    EXPECT_LE(DifferingShare(played, renderChart()), 0.01);
}

} // namespace
} // namespace tessaran
