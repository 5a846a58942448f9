// The pump editor's performance chart: the checked redraw that explains in
// the graph message box why a chart cannot be drawn, the redraw after the
// grid was read back, the placeholder picture and the chart itself.

#include "pumps/Pump_Data_Form.h"

#include <algorithm>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "drawing/Canvas_Drawings.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Image_Box.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

// Runs a drawing on a chart whose canvas paints the box's picture.
template <class Drawing>
void drawOnBox(TGraph &graph, TImageBox *box, Drawing drawing)
{
    {
        TQtCanvas canvas(&box->Picture);
        graph.GraphCanvas = &canvas;
        drawing();
        graph.GraphCanvas = nullptr;
    }
    box->update();
}

} // namespace

void TPumpDataForm::showGraphMessage(const QString &text)
{
    LabelGraphMessage->setText(DialogDisplayText(text));
    GroupBoxGraphMessage->show();
    GroupBoxGraphMessage->raise();
}

void TPumpDataForm::ClearPumpGraph()
{
    if (!GraphDrawingEnabled)
        return;
    QImage &picture = ImagePumpCurve->Picture;
    {
        TQtCanvas canvas(&picture);
        DrawFilledRectangle(canvas, 0, 0, picture.width(), picture.height(), 0xE0E0E0);
        canvas.Font.SetHeight(16);
        const struct {
            int y;
            const char *text;
        } lines[] = {{40, "To enter a pump curve:"},
                     {70, "Select 'Set Speed' as the pump model."},
                     {95, "Enter the pump curve points in the grid."},
                     {150, "Click on the Draw Graph button."},
                     {170, "to show the pump curve."}};
        for (const auto &line : lines) {
            const int width = canvas.TextWidth(line.text);
            DrawCanvasText(canvas, (picture.width() - width) / 2, line.y, line.text, 0x808080, 10);
        }
    }
    ImagePumpCurve->update();
    BitBtnEnlargeGraph->setEnabled(false);
}

void TPumpDataForm::DrawGraph1Click() { DrawPumpGraphAndCheckData(false); }

void TPumpDataForm::DrawPumpGraphAndCheckData(bool ForceDrawGraph)
{
    // 1.
    if (!GraphDrawingEnabled || EditedPump.PumpType != PumpFixedSpeed)
        return;
    GroupBoxGraphMessage->hide();
    // 2.
    const double Dmin = EditedPump.ImpellerDiameter_m * MinImpellerPercentOfBaseForIsoLines / 100.0;
    const double Dmax = EditedPump.ImpellerDiameter_m * MaxImpellerPercentOfBaseForIsoLines / 100.0;
    // 3. The grid locked on predicted data: edit the points of which data?
    if (BitBtnDrawGraph->text() != QStringLiteral("Draw Graph") && !StringGridPumpPoints->isEnabled() &&
        !resultsMode_ && !ForceDrawGraph) {
        if (EditedPump.isRunningOnBaseData())
            return;
        askBaseOrPredictedData();
        return;
    }
    // 4.
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    if (!valid) {
        ClearPumpGraph();
        showGraphMessage(message);
        return;
    }
    // 5.
    LabelGraphMessage->clear();
    GroupBoxGraphMessage->hide();
    const TPump &p = EditedPump;
    if (!p.isEfficiencyIsobarDrawingInfoValid() && (p.PumpImpellerDiameterMin_m > 0 || p.PumpImpellerDiameterMax_m > 0)) {
        const TUnit unit = p.ImpellerDiameterDisplayUnit;
        auto D = [unit](double metres) { return q(convertUnitToString(unt_m, unit, 3, metres)); };
        const QString U = q(unitName(unit));
        const QString pc65 = q(formatFixed(0, MinImpellerPercentOfBaseForIsoLines));
        const QString pc140 = q(formatFixed(0, MaxImpellerPercentOfBaseForIsoLines));
        const QString pc40 = q(formatFixed(0, MaxImpellerTrimRangePercent));
        constexpr double tolerance = 1e-6;
        QString text = QStringLiteral("Cannot draw efficiency isobars for the current data.");
        if (Dmin - tolerance > p.PumpImpellerDiameterMin_m)
            text = QStringLiteral("Re: Impeller Diameter \r\rThe data does not meet requirements to draw predicted "
                                  "curve for min diameter specified.\r\rMin Impeller Diameter specified as ") +
                   D(p.PumpImpellerDiameterMin_m) + QStringLiteral(" ") + U + QStringLiteral("\r\r") +
                   QStringLiteral("Can only predict data for impeller diameter down to ") + pc65 +
                   QStringLiteral("% of the diameter used to specify the base data.") + QStringLiteral("\r\r") +
                   QStringLiteral("Base Impeller Diameter is ") + D(p.ImpellerDiameter_m) + QStringLiteral(" ") + U +
                   QStringLiteral("\r\r") + QStringLiteral("Min predictable diameter is ") + D(Dmin) +
                   QStringLiteral(" ") + U;
        else if (p.PumpImpellerDiameterMin_m > p.ImpellerDiameter_m + tolerance)
            text = QStringLiteral("Re: Impeller Diameter \r\rMin impeller diameter cannot be greater than impeller "
                                  "diameter used to specify the base data.");
        else if (Dmax + tolerance < p.PumpImpellerDiameterMax_m)
            text = QStringLiteral("Re: Impeller Diameter \r\rThe data does not meet requirements to draw predicted "
                                  "curve for max diameter specified.\r\rMax Impeller Diameter specified as ") +
                   D(p.PumpImpellerDiameterMax_m) + QStringLiteral(" ") + U + QStringLiteral("\r\r") +
                   QStringLiteral("Can only predict data for impeller diameter up to ") + pc140 +
                   QStringLiteral("% of the diameter used to specify the base data.") + QStringLiteral("\r") +
                   QStringLiteral("Base Impeller Diameter is ") + D(p.ImpellerDiameter_m) + QStringLiteral(" ") + U +
                   QStringLiteral("\r\r") + QStringLiteral("Max predictable diameter is ") + D(Dmax) +
                   QStringLiteral(" ") + U;
        else if (p.ImpellerDiameter_m - tolerance > p.PumpImpellerDiameterMax_m)
            text = QStringLiteral("Re: Impeller Diameter \r\rMax impeller diameter cannot be smaller than impeller "
                                  "diameter used to specify the base data.");
        else if (!p.IsMinImpellerToMaxImpellerRatioOk())
            text = QStringLiteral("The minimum impeller diameter is over \r") + pc40 +
                   QStringLiteral("% less than the maximum impeller diameter. ") + QStringLiteral("\r\r") +
                   QStringLiteral("Check if this is correct.");
        else if (p.isEfficiencyCurveZero())
            text = QStringLiteral("Re: Efficiency Data \r\rEfficiency values for each data point should be specified "
                                  "at between 0% and 100% to allow efficiency lines to be shown on the graph.\r\r");
        showGraphMessage(text);
    }
    // 6.
    BitBtnEnlargeGraph->setEnabled(true);
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphLarge, false, 65, EditedPump);
    DrawPumpGraphAfterUpdateFromStringGrid(*PumpGraphSmall, false, 65, EditedPump);
}

void TPumpDataForm::DrawPumpGraphAfterUpdateFromStringGrid(TGraph &PumpGraph, bool PDFversion, int xOffset,
                                                           TPump &ThePump)
{
    if (ThePump.PumpType != PumpFixedSpeed)
        return;
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    if (!valid) {
        showGraphMessage(message);
        return;
    }
    UpdatePumpFromStringGrid(ThePump, valid);
    if (!valid)
        return;
    // Only the chart on view is drawn.
    const bool largeOnView = !Panel2->isHidden();
    if (&PumpGraph == PumpGraphLarge.get() && largeOnView)
        drawOnBox(PumpGraph, ImagePumpCurveLarge, [&] { DrawPumpGraph(PumpGraph, PDFversion, xOffset, ThePump); });
    else if (&PumpGraph == PumpGraphSmall.get() && !largeOnView)
        drawOnBox(PumpGraph, ImagePumpCurve, [&] { DrawPumpGraph(PumpGraph, PDFversion, xOffset, ThePump); });
}

void TPumpDataForm::drawBothCharts()
{
    if (!Panel2->isHidden())
        drawOnBox(*PumpGraphLarge, ImagePumpCurveLarge, [&] { DrawPumpGraph(*PumpGraphLarge, false, 65, EditedPump); });
    drawOnBox(*PumpGraphSmall, ImagePumpCurve, [&] { DrawPumpGraph(*PumpGraphSmall, false, 65, EditedPump); });
}

void TPumpDataForm::DrawPumpGraph(TGraph &PumpGraph, bool PDFversion, int xOffset, TPump &ThePump)
{
    if (!PumpGraph.GraphCanvas)
        return;
    (void)PDFversion;
    (void)xOffset;
    try {
        DrawingPump.CopyPump(ThePump);
        DrawingPump.calcPumpCurves(density_);
        const TPumpPoints &points = DrawingPump.PumpPoints;
        double qMax = 0, hMax = 0;
        for (int i = 1; i <= points.PointsCount; ++i) {
            qMax = std::max(qMax, convertFlowUnit(unt_m3_sec, points.FlowDisplayUnit, std_15degC_101325Pa,
                                                  points.Points[i].Flow_m3s, density_, 0, 288.15, atmosphere()));
            hMax = std::max(hMax, convertHeadPressureUnit(points.SetHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid,
                                                          points.HeadDisplayUnit, points.Points[i].Head_mHd,
                                                          density_));
        }
        PumpGraph.ClearData();
        PumpGraph.ClearImage(clWhite);
        PumpGraph.SetGraphPositionByPercentages(12, 95, 12, 92, 1, 1);
        PumpGraph.SetGraphScaleValues(0, 0, qMax > 0 ? qMax * 1.1 : 1.0, hMax > 0 ? hMax * 1.1 : 1.0, 10, 10);
        PumpGraph.SetXRangeToRoundOnAutoChosenValue();
        PumpGraph.SetYRangeToRoundOnAutoChosenValue();
        PumpGraph.SetAxisHeadings("Flow " + unitName(points.FlowDisplayUnit), "Head " + unitName(points.HeadDisplayUnit),
                                  "");
        PumpGraph.SetAxisHeadingOffsetsAutomatic();
        PumpGraph.DrawGraph(false, DrawingPump.PumpGraphOptions.GridLinesStyle, true, true, true, true, true, true,
                            false);
        DrawingPump.DrawFlowVersusHeadCurve(PumpGraph, density_, DrawingPump.PumpGraphOptions.ColorDesignCurve, 2,
                                            clWhite);
        DrawingPump.DrawFlowVersusHeadPoints(PumpGraph, density_, DrawingPump.PumpGraphOptions.ColorDesignCurve,
                                             GraphTextNone, 0, clRed);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("An error occured while drawing the pump graph.\r\rPlease check the values "
                                             "and units are correct.\r\rIn particular, check the impeller diameter "
                                             "value and the diameter units."),
                              this);
    }
}

} // namespace tessaran

namespace tessaran {

// Until the choice dialog exists the predicted data is shown as it is.
void TPumpDataForm::askBaseOrPredictedData() { drawBothCharts(); }

} // namespace tessaran
