// The pump editor's performance chart: the checked redraw that explains in
// the graph message box why a chart cannot be drawn, the redraw after the
// grid was read back, the placeholder picture and the chart itself.

#include "pumps/Pump_Data_Form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "drawing/Canvas_Drawings.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Popup_Form.h"
#include "units/Numeric_Entry.h"
#include "units/Util_Functions.h"
#include "units/widgets/RightEdit.h"
#include "network/Network_Class.h"
#include "platform/Bitmap.h"
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
    drawOnBox(*PumpGraphLarge, ImagePumpCurveLarge, [&] { DrawPumpGraph(*PumpGraphLarge, false, 65, EditedPump); });
    drawOnBox(*PumpGraphSmall, ImagePumpCurve, [&] { DrawPumpGraph(*PumpGraphSmall, false, 65, EditedPump); });
}

void ConvertCanvasOpacity(TCanvas &TheCanvas, int TheWidth, int TheHeight, int TheOpacityPercent, TColor TheColor)
{
    const int alpha = static_cast<int>(std::lround(TheOpacityPercent / 100.0 * 255));
    if (alpha <= 0)
        return;
    if (auto *qt = dynamic_cast<TQtCanvas *>(&TheCanvas)) {
        QPainter &painter = qt->Painter();
        painter.save();
        painter.setOpacity(std::min(alpha, 255) / 255.0);
        painter.fillRect(QRect(0, 0, TheWidth, TheHeight), ToQColor(TheColor));
        painter.restore();
        return;
    }
    // Another canvas: blend pixel by pixel.
    const int a = std::min(alpha, 255);
    for (int y = 0; y < TheHeight; ++y)
        for (int x = 0; x < TheWidth; ++x) {
            const TColor p = TheCanvas.GetPixel(x, y);
            auto mix = [a](int from, int to) { return (from * (255 - a) + to * a + 127) / 255; };
            const int r = mix(p & 0xFF, TheColor & 0xFF);
            const int g = mix((p >> 8) & 0xFF, (TheColor >> 8) & 0xFF);
            const int b = mix((p >> 16) & 0xFF, (TheColor >> 16) & 0xFF);
            TheCanvas.SetPixel(x, y, static_cast<TColor>(r | (g << 8) | (b << 16)));
        }
}

void TPumpDataForm::DrawPumpGraph(TGraph &PumpGraph, bool PDFversion, int xOffset, TPump &ThePump)
{
    (void)xOffset; // every caller passes 65; the chart does not depend on it
    TCanvas *C = PumpGraph.GraphCanvas;
    if (!C)
        return;
    const double rho = density_;
    TFluid fluid;
    TConfigOptions settings;
    if (network_) {
        fluid = network_->GetPipeFluid(pipeId_);
        settings = network_->ConfigOptions;
    }
    const TPumpGraphOptions &o = ThePump.PumpGraphOptions;
    const TPumpPoints &shown = ThePump.PumpPoints;
    const TUnit flowUnit = shown.FlowDisplayUnit;
    const TUnit headUnit = shown.HeadDisplayUnit;
    auto flowTo = [&](TUnit from, double value) {
        return convertFlowUnit(from, flowUnit, std_15degC_101325Pa, value, rho, 0, 288.15, 1.01325);
    };
    auto headTo = [&](double head_mHd) { return convertHeadPressureUnit(unt_m_hd_fluid, headUnit, head_mHd, rho); };
    try {
        // 1. Ranges from the maximum impeller.
        bool valid = false;
        DrawingPump.CopyPump(ThePump);
        DrawingPump.UpdateRunningDataForSpeedAndImpellerDiameter1(ThePump.Speed_rpm,
                                                                  DrawingPump.PumpImpellerDiameterMax_m, rho, valid);
        double Emax = 0.01;
        if (ThePump.PumpImpellerDiameterMax_m > 0 && ThePump.PumpImpellerDiameterMax_m >= ThePump.ImpellerDiameter_m) {
            DrawingPump.CopyRunningDataFromBaseData();
            DrawingPump.calcPumpCurves(rho);
            Emax = DrawingPump.GetMaxEfficiencywithEffiencyGreaterThanZero();
            DrawingPump.UpdateRunningDataForSpeedAndImpellerDiameter1(
                ThePump.Speed_rpm, DrawingPump.PumpImpellerDiameterMax_m, rho, valid);
        }
        const double Emin = DrawingPump.GetPointMinEfficiencywithEffiencyGreaterThanZero();
        Emax = std::max(Emax, DrawingPump.GetMaxEfficiencywithEffiencyGreaterThanZero());
        if (Emax > 90)
            Emax = 90;

        // 2. Headings.
        std::string flowHeading = "Flow - " + unitName(flowUnit);
        if (fluid.FluidIsGas && !isMassFlowUnit(flowUnit))
            flowHeading += " @ " +
                           convertUnitToString(unt_kg_m3, settings.UnitOfDensity,
                                               unitDecimals(settings.UnitOfDensity), rho) +
                           " " + unitName(settings.UnitOfDensity);
        std::string headHeading = "Head - " + unitName(headUnit);
        if (headUnit == unt_m_H2O || headUnit == unt_mm_H2O || headUnit == unt_ft_H2O || headUnit == unt_in_H2O)
            headHeading += " ";
        else if (isFluidHeadUnit(headUnit))
            headHeading += " " + fluid.name + " (" +
                           convertUnitToString(unt_degrees_K, settings.UnitOfTemperature, 0, fluid.degrees_K) +
                           unitName(settings.UnitOfTemperature) + ")";

        // 3. The largest values, at the maximum impeller.
        const TPumpPoints &top = DrawingPump.PumpPoints;
        const int n = top.PointsCount;
        double Qmax = 0, Hmax = 0, Nmax = 0;
        if (n >= 1) {
            Qmax = flowTo(unt_m3_sec, top.Points[n].Flow_m3s);
            double atMax = 0, maxHead = 0;
            DrawingPump.PumpCurve_Qkgs_mHd.CalculateXAtMaxY(atMax, maxHead, top.Points[1].Flow_kgs,
                                                            top.Points[n].Flow_kgs);
            Hmax = headTo(maxHead);
            double npshr = top.Points[n].NPSHr_mHd;
            if (n <= MaxPumpPoints)
                npshr = std::max(npshr, DrawingPump.BaseDataPumpPoints.Points[n].NPSHr_mHd);
            Nmax = convertHeadPressureUnit(top.SetNPSHr_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid,
                                           top.NPSHrDisplayUnit, npshr, rho);
        }
        if (!(Qmax > 0))
            Qmax = 1;
        if (!(Hmax > 0))
            Hmax = 1;
        if (!(Nmax > 0))
            Nmax = 1;

        // 4. Set-up.
        PumpGraph.ClearImage(clWhite);
        PumpGraph.ClearData();
        PumpGraph.SetCanvasFontData(clBlack, 8, TFontStyles{}, "Arial", TBrushStyle::bsClear);
        PumpGraph.SetAxisFontSize(8);
        int widthHead = 2, widthIso = 2, widthPref = 8, widthStrip = 1, widthPoint = 4;
        if (PDFversion) {
            PumpGraph.SetAxisFontSize(18);
            C->Font.Size = 18;
            widthHead = 3;
            widthIso = 3;
            widthPref = 10;
            widthStrip = 3;
            widthPoint = 6;
        }
        PumpGraph.SelectColorArray(0);
        auto yColours = [&](TColor colour) {
            PumpGraph.SetYColorData(colour, colour, colour, colour, colour, colour, clSilver);
        };
        yColours(clBlack);

        // 5. Layout.
        const TPumpGraphLayout layout = PumpGraphLayout(o.ShowNPSHr, o.ShowPower);
        const bool strips = o.ShowNPSHr || o.ShowPower;

        // 6. The head chart's scale fixes the plot rectangle.
        auto headChart = [&] {
            PumpGraph.SetGraphPositionByPercentages(12, 95, layout.HeadFrom, layout.HeadTo, 60, 20);
            PumpGraph.SetGraphScaleValues(0, 0, 1.02 * Qmax, 1.02 * Hmax, 10, 10);
            PumpGraph.SetXRangeToRoundOnAutoChosenValue();
            PumpGraph.SetYRangeToRoundOnAutoChosenValue();
            PumpGraph.SetAxisHeadingOffsetsAutomatic();
        };
        headChart();

        // 7. The traced image behind the chart.
        const TImportedPumpSheet &sheet = ThePump.ImportedPumpSheet;
        if (sheet.Imported && sheet.SaveImportedBitmap && o.ShowImportedPumpSheet)
            drawTracedImage(PumpGraph, ThePump);

        // 8. NPSHr strip.
        if (o.ShowNPSHr) {
            yColours(o.ColorNpshr);
            PumpGraph.SetYTickLengths(-2, -4, -6);
            PumpGraph.SetGraphPositionByPercentages(12, 95, layout.NPSHrFrom, layout.NPSHrTo, 60, 20);
            PumpGraph.SetGraphScaleValues(0, 0, 1.02 * Qmax, 1.4 * Nmax, 10, 2);
            PumpGraph.SetXRangeToRoundOnAutoChosenValue();
            PumpGraph.SetYRangeToRoundOnAutoChosenValue();
            PumpGraph.SetAxisHeadings(flowHeading, "NPSHr - " + unitPlainName(top.NPSHrDisplayUnit), "");
            C->Font.Size = PumpGraph.XValueFont.Size;
            PumpGraph.SetAxisHeadingOffsetsAutomatic();
            PumpGraph.SetYDecimalPlaces(2);
            PumpGraph.DrawGraph(true, o.GridLinesStyle, true, true, true, true, !o.ShowPower, true, false);
            ThePump.DrawNPSHrCurve(PumpGraph, rho, o.ColorNpshr, widthStrip, clWhite);
        }

        // 9. Power strip (the power unit is settled on a copy: the pump
        // drawn stays as it is).
        if (o.ShowPower) {
            TPump powered;
            powered.CopyPump(ThePump);
            const TUnit powerUnit = powered.getPowerDisplayUnit();
            yColours(o.ColorPower);
            PumpGraph.SetYTickLengths(-2, -4, -6);
            PumpGraph.SetGraphPositionByPercentages(12, 95, layout.PowerFrom, layout.PowerTo, 60, 20);
            double Pmax = convertUnit(unt_KW, powerUnit, ThePump.GetPointMaxPower_Kw_withEffiencyGreaterThanZero());
            if (!(Pmax > 0))
                Pmax = 1.0;
            PumpGraph.SetGraphScaleValues(0, 0, 1.02 * Qmax, 1.02 * Pmax, 10, 2);
            PumpGraph.SetXRangeToRoundOnAutoChosenValue();
            PumpGraph.SetYRangeToRoundOnAutoChosenValue();
            PumpGraph.SetAxisHeadings(flowHeading, "Power " + unitPlainName(powerUnit), "");
            PumpGraph.SetAxisHeadingOffsetsAutomatic();
            PumpGraph.SetYDecimalPlaces(2);
            PumpGraph.DrawGraph(true, o.GridLinesStyle, true, true, true, true, true, true, true);
            powered.DrawPowerCurve(PumpGraph, rho, o.ColorPower, widthStrip, clWhite);
        }

        // 10. The head chart's frame.
        yColours(clBlack);
        PumpGraph.SetYTickLengths(-2, -4, -6);
        headChart();
        std::string title;
        if (o.ShowPrefOpRange) {
            double from = 0, to = 0;
            TUnit unit = flowUnit;
            ThePump.CalcBEPFlow(rho, from, to, unit);
            title = "Preferred Operating region between " + formatForUnit(flowUnit, from) + " and " +
                    formatForUnit(flowUnit, to) + " " + unitName(flowUnit);
        }
        PumpGraph.SetAxisHeadings(strips ? "" : flowHeading, headHeading, title);
        PumpGraph.XGridlinesPen.Color = o.ColorGridLines;
        PumpGraph.YGridlinesPen.Color = o.ColorGridLines;
        PumpGraph.XGridLinesColor = o.ColorGridLines;
        PumpGraph.YGridLinesColor = o.ColorGridLines;
        PumpGraph.SetYDecimalPlaces(PumpGraph.YScaleEndValue < 100 ? 1 : 0);
        PumpGraph.DrawGraph(false, o.GridLinesStyle, true, true, true, true, true, true, true);

        // 11. Iso-efficiency lines.
        if (o.ShowEfficiencyIso && ThePump.isEfficiencyIsobarDrawingInfoValid()) {
            const double step = IsoEfficiencyStep(o.EfficiencyIsoPercent);
            std::string errorText;
            double errorDiameter = 0;
            for (double e : IsoEfficiencyValues(Emin, Emax, step))
                DrawingPump.DrawEfficiencyIsoLine(PumpGraph, e, rho, o.ColorEfficiency, widthIso,
                                                  LightenColor(o.ColorEfficiency), widthIso + 1, errorText,
                                                  errorDiameter);
            if (errorDiameter > 0 && !errorText.empty()) {
                showGraphMessage(q(errorText));
                problemDiameter_m_ = errorDiameter;
                BitBtnMoveToProblemDiam->show();
            }
        }

        // 12. Preferred operating region.
        if (o.ShowPrefOpRange)
            ThePump.DrawBestEfficiencyHighlight(PumpGraph, rho, o.ColorPrefOpRange, widthPref);

        // 13. Envelope, minimum impeller first.
        double Qa = 0, Ha = 0, Qb = 0, Hb = 0;
        const bool pointsShown = PanelPointEfficiencies->isVisible() && !resultsMode_;
        if (o.ShowEnvelope) {
            auto envelope = [&](double diameter_m, bool minimum, double percent, double &Qx, double &Hx) {
                DrawingPump.CopyPump(ThePump);
                DrawingPump.CopyRunningDataFromBaseData();
                DrawingPump.calcPumpCurves(rho);
                const double base = DrawingPump.ImpellerDiameter_m;
                double d = diameter_m;
                if (minimum && d < base * MinImpellerPercentOfBaseForIsoLines / 100)
                    d = base * MinImpellerPercentOfBaseForIsoLines / 100;
                if (!minimum && d > base * MaxImpellerPercentOfBaseForIsoLines / 100)
                    d = base * MaxImpellerPercentOfBaseForIsoLines / 100;
                bool ok = false;
                DrawingPump.UpdateRunningDataForSpeedAndImpellerDiameter1(ThePump.Speed_rpm, d, rho, ok);
                DrawingPump.DrawFlowVersusHeadCurve(PumpGraph, rho, o.ColorEnvelope, widthHead,
                                                    LightenColor(o.ColorEnvelope));
                const int last = DrawingPump.PumpPoints.PointsCount;
                if (last >= 1) {
                    Qx = DrawingPump.PumpPoints.Points[last].Flow_kgs * percent / 100;
                    Hx = DrawingPump.calcPumpHead_mHd_Fluid(Qx / rho, rho);
                }
                if (pointsShown) {
                    const int highlight = selectedPointOnMinimum_ == minimum ? selectedPoint_ : 0;
                    if (minimum)
                        DrawingPump.DrawMinDiameterFlowVersusHeadPoints(PumpGraph, rho, 0x008000, GraphTextNone,
                                                                        highlight, 0x00FFFF);
                    else
                        DrawingPump.DrawMaxDiameterFlowVersusHeadPoints(PumpGraph, rho, 0x008000, GraphTextNone,
                                                                        highlight, 0x00FFFF);
                }
            };
            if (ThePump.PumpImpellerDiameterMin_m > 0)
                envelope(ThePump.PumpImpellerDiameterMin_m, true, o.MinDiamMinFlowPercent, Qa, Ha);
            if (ThePump.PumpImpellerDiameterMax_m > 0)
                envelope(ThePump.PumpImpellerDiameterMax_m, false, o.MaxDiamMinFlowPercent, Qb, Hb);
        }

        // 14. Design curve.
        if (o.ShowDesignCurve)
            ThePump.DrawFlowVersusHeadCurve(PumpGraph, rho, o.ColorDesignCurve, widthHead,
                                            LightenColor(o.ColorDesignCurve));

        // 15. Best-efficiency point.
        if (CheckBoxEffic->isChecked() && ThePump.GetMaxEfficiencywithEffiencyGreaterThanZero() > 0)
            ThePump.DrawBestEfficiencyPoint(PumpGraph, rho, o.ColorEfficiency, 2);

        // 16. Efficiency curve on a right-hand axis.
        if (o.ShowEfficiencyLine) {
            yColours(o.ColorEfficiency);
            PumpGraph.SetAxisHeadingOffsetsAutomatic();
            const double factor = PDFversion ? 1.0 : 0.6;
            PumpGraph.YHeadingHorzOffset = -static_cast<int>(std::trunc(PumpGraph.YHeadingHorzOffset * factor));
            PumpGraph.SetYTickLengths(2, 4, 6);
            PumpGraph.YHeading = "Efficiency %";
            const double savedEnd = PumpGraph.YScaleEndValue;
            PumpGraph.YScaleEndValue = 100;
            PumpGraph.SetYDecimalPlaces(0);
            PumpGraph.XOrigin += PumpGraph.XWidth;
            PumpGraph.DrawYAxis();
            PumpGraph.DrawYAxisValues(999);
            PumpGraph.DrawYAxisHeading();
            PumpGraph.XOrigin -= PumpGraph.XWidth;
            ThePump.DrawEfficiencyCurve(PumpGraph, rho, o.ColorEfficiency, widthIso, LightenColor(o.ColorEfficiency));
            PumpGraph.YScaleEndValue = savedEnd;
            if (!ThePump.isEfficiencyCurveValid()) {
                const TUnit unit = ThePump.ImpellerDiameterDisplayUnit;
                showGraphMessage(
                    QStringLiteral("Warning:\r\rThe predicted pump efficiency curve for \r\rImpeller diameter = ") +
                    q(convertUnitToString(unt_m, unit, 3, ThePump.ImpellerDiameter_m)) + QStringLiteral(" ") +
                    q(unitPlainName(unit)) + QStringLiteral(" ") + QStringLiteral("\r\r") +
                    QStringLiteral("has efficiencies that do not always increase up to the BEP (Best Efficiency "
                                   "Point) ") +
                    QStringLiteral("and decrease after the BEP.") + QStringLiteral("\r\r") +
                    QStringLiteral("i.e. the efficiency curve has a 'bump' in it which may not be correct.") +
                    QStringLiteral("\r\r") + QStringLiteral("Please adjust the efficiency curve multipliers ") +
                    QStringLiteral("until this message no longer appears."));
            }
        }

        // 17. Minimum-flow line.
        if (o.ShowMinFlowLine)
            ThePump.DrawLine(PumpGraph, flowTo(unt_kg_sec, Qb), headTo(Hb), flowTo(unt_kg_sec, Qa), headTo(Ha),
                             o.ColorMinFlowLine, 3);

        // 18.
        if (resultsMode_ && pipe_)
            RightEditFlow->setText(q(convertFlowUnitToString(unt_m3_sec, flowUnit, 4, std_15degC_101325Pa,
                                                             pipe_->FlowUncompressed_m3s, rho, 0, 288.15, 1.01325)));

        // 19. Operating point and system curve.
        if (o.ShowDesignPoint && !RightEditFlow->text().isEmpty()) {
            bool flowValid = false;
            double flow = ReadRealFromString(RightEditFlow->text().toStdString(), flowValid, true, false,
                                             userDecimalSeparator());
            if (!flowValid)
                flow = 0;
            if (o.ShowSystemCurve)
                ThePump.DrawSystemCurve(PumpGraph, flow, rho, o.ColorSystemCurve, widthHead, o.ColorSystemCurve);
            ThePump.DrawOperatingPoint(PumpGraph, flow, rho, o.ColorDesignPoint, widthPoint);
        }

        // 20. Logo.
        if (o.ShowImportedLogo && ThePump.ImportedLogoLoaded)
            drawLogo(PumpGraph, ThePump.ImportedLogoBitmap.Bitmap());

        // 21.
        BitBtnEnlargeGraph->setEnabled(true);
        const bool faded = sheet.Imported && o.ShowImportedPumpSheet;
        GroupBoxImageOpacity->setVisible(faded);
        GroupBoxImageOpacity2->setVisible(faded);
        ImagePumpCurve->update();
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("An error occured while drawing the pump graph.\r\rPlease check the values "
                                             "and units are correct.\r\rIn particular, check the impeller diameter "
                                             "value and the diameter units."),
                              this);
    }
}

double IsoEfficiencyStep(double EfficiencyIsoPercent)
{
    if (!(EfficiencyIsoPercent >= 1))
        return EfficiencyIsoPercent > 20 ? 20 : 1;
    return std::min(EfficiencyIsoPercent, 20.0);
}

std::vector<double> IsoEfficiencyValues(double Emin, double Emax, double Step)
{
    std::vector<double> values;
    double e = 5.0 * (static_cast<long long>(std::trunc(Emin + 1)) / 5);
    if (Step > 5)
        e = 10.0 * std::trunc(e / 10);
    while (e <= Emax && values.size() < MaxIsoEfficiencyLines) {
        values.push_back(e);
        e += Step;
    }
    if (Step == 10 && !values.empty() && Emax - values.back() >= 5 && values.size() < MaxIsoEfficiencyLines)
        values.push_back(values.back() + 5);
    return values;
}

void TPumpDataForm::drawTracedImage(TGraph &PumpGraph, const TPump &ThePump)
{
    const TImportedPumpSheet &sheet = ThePump.ImportedPumpSheet;
    const QString failed = QStringLiteral("Cannot size and scale imported image.\r\rCheck x and y axis are defined "
                                          "on the imported image.");
    try {
        const double rho = density_;
        const double atm = atmosphere();
        const TUnit flowUnit = ThePump.PumpPoints.FlowDisplayUnit;
        const TUnit headUnit = ThePump.PumpPoints.HeadDisplayUnit;
        const double x0 = convertFlowUnit(sheet.xUnits, flowUnit, std_15degC_101325Pa, sheet.xMin, rho, 0, 288.15, 1.01325);
        const double x1 = convertFlowUnit(sheet.xUnits, flowUnit, std_15degC_101325Pa, sheet.xMax, rho, 0, 288.15, 1.01325);
        const double y0 = convertPressure(sheet.yUnits, headUnit, sheet.yMin, atm, rho);
        const double y1 = convertPressure(sheet.yUnits, headUnit, sheet.yMax, atm, rho);
        // An uncalibrated sheet has no scale to stretch by.
        if (std::abs(y1 - y0) == 0 || y1 == 0 || std::abs(x1 - x0) == 0 || x1 == 0 || !std::isfinite(x0 + x1 + y0 + y1))
            throw std::runtime_error("axes not defined");
        const int px0 = sheet.xAxisMinImageX, px1 = sheet.xAxisMaxImageX;
        const int py0 = sheet.yAxisMinImageY, py1 = sheet.yAxisMaxImageY;
        const double dy = std::abs(py1 - py0);
        const long oy = std::lround(dy / std::abs(y1 - y0) * y0);
        const long rowHead0 = py0 + oy;
        const long rowYEnd = py0 + oy - std::lround(PumpGraph.YScaleEndValue / y1 * (dy + oy));
        const double dx = std::abs(px1 - px0);
        const long ox = std::lround(dx / std::abs(x1 - x0) * x0);
        const long colFlow0 = px0 - ox;
        const long colXEnd = px0 - ox + std::lround(PumpGraph.XScaleEndValue / x1 * (dx + ox));
        const TBitmap &picture = sheet.PumpSheetBitmap.Bitmap();
        if (picture.Empty() || colXEnd == colFlow0 || rowHead0 == rowYEnd)
            throw std::runtime_error("empty picture rectangle");

        const int plotWidth = PumpGraph.XWidth, plotHeight = -PumpGraph.YHeight;
        TBitmap faded(plotWidth + 1, plotHeight + 1);
        faded.Fill(clWhite);
        {
            TBitmapCanvas onFaded(faded);
            const double sx = double(plotWidth + 1) / double(colXEnd - colFlow0);
            const double sy = double(plotHeight + 1) / double(rowHead0 - rowYEnd);
            const int left = static_cast<int>(std::lround(-colFlow0 * sx));
            const int top = static_cast<int>(std::lround(-rowYEnd * sy));
            const TRect whole{left, top, left + static_cast<int>(std::lround(picture.Width() * sx)),
                              top + static_cast<int>(std::lround(picture.Height() * sy))};
            if (auto *qt = dynamic_cast<TQtCanvas *>(&onFaded.Canvas()))
                qt->Painter().setRenderHint(QPainter::SmoothPixmapTransform, true);
            onFaded.Canvas().StretchDraw(whole, picture);
            ConvertCanvasOpacity(onFaded.Canvas(), plotWidth + 1, plotHeight + 1, sheet.PumpSheetOpacity, clWhite);
        }
        const int plotTop = PumpGraph.YOrigin + PumpGraph.YHeight;
        PumpGraph.GraphCanvas->StretchDraw(
            TRect{PumpGraph.XOrigin, plotTop, PumpGraph.XOrigin + plotWidth + 1, plotTop + plotHeight + 1}, faded);
    } catch (const std::exception &) {
        showGraphMessage(failed);
    }
}

void TPumpDataForm::drawLogo(TGraph &PumpGraph, const TBitmap &Logo)
{
    // A picture without pixels has no size to scale by.
    if (Logo.Width() <= 0 || Logo.Height() <= 0)
        return;
    TCanvas &C = *PumpGraph.GraphCanvas;
    const int left = static_cast<int>(std::trunc(PumpGraph.XOrigin + 0.6 * PumpGraph.XWidth)) + 1;
    const int right = PumpGraph.XOrigin + PumpGraph.XWidth;
    const int top = static_cast<int>(std::trunc(double(PumpGraph.YOrigin + PumpGraph.YHeight))) + 1;
    const int bottom = static_cast<int>(std::trunc(PumpGraph.YOrigin + 0.8 * PumpGraph.YHeight));
    DrawFilledRectangle(C, left, top, right, bottom, clWhite);
    const int boxWidth = right - left, boxHeight = bottom - top;
    if (boxWidth <= 0 || boxHeight <= 0)
        return;
    int w = Logo.Width(), h = Logo.Height();
    if (w > boxWidth) {
        h = static_cast<int>(std::trunc(double(boxWidth) / w * h));
        w = boxWidth;
    }
    if (h > boxHeight) {
        w = static_cast<int>(std::trunc(double(boxHeight) / h * w));
        h = boxHeight;
    }
    const int x = left + (boxWidth - w) / 2;
    const int y = top + (boxHeight - h) / 2;
    if (auto *qt = dynamic_cast<TQtCanvas *>(&C)) {
        qt->Painter().save();
        qt->Painter().setRenderHint(QPainter::SmoothPixmapTransform, true);
        C.StretchDraw(TRect{x, y, x + w, y + h}, Logo);
        qt->Painter().restore();
    } else {
        C.StretchDraw(TRect{x, y, x + w, y + h}, Logo);
    }
}

TPumpGraphLayout PumpGraphLayout(bool ShowNPSHr, bool ShowPower)
{
    if (ShowNPSHr && ShowPower)
        return {43, 92, 26, 36, 10, 20};
    if (ShowNPSHr)
        return {26, 92, 10, 20, 0, 0};
    if (ShowPower)
        return {26, 92, 0, 0, 10, 20};
    return {10, 95, 0, 0, 0, 0};
}

void TPumpDataForm::askBaseOrPredictedData()
{
    TDialogButton answer = DialogCancel;
    TPumpPopupForm::OpenForm(EditedPump, answer);
    if (answer == DialogNo) {
        // The predicted data becomes the base data of a plain affinity-law model.
        EditedPump.CopyBaseDataFromRunningData();
        EditedPump.ResetToAffinityLawPredictions();
        SaveFlowHeadCustomizedMultipliers();
        SaveEfficiencyCustomizedMultipliers();
    }
    if (answer == DialogYes || answer == DialogNo) {
        StringGridPumpPoints->setEnabled(true);
        setBoxEnabled(ComboBoxPumpFlowUnits, true);
        setBoxEnabled(ComboBoxPumpHeadUnits, true);
        RepaintStringGrid();
        SetPumpToBaseData();
        SetPumpStringGridState();
        return;
    }
    drawBothCharts();
}
} // namespace tessaran

