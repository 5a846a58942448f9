// The pump performance graph: sampled geometry of every curve, and the TPump
// Draw methods that put it on a TGraph.

#include "model/Pump_Graph.h"

#include "platform/Pascal.h"
#include "units/Unit_Format.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

namespace {

double flowConvert(TUnit from, TUnit to, double value, double density)
{
    return convertFlowUnit(from, to, std_15degC_101325Pa, value, density, 0.0, 288.15, 1.01325);
}

constexpr int CurveSteps = 50;

} // namespace

// --- display conversions -------------------------------------------------------------

double PumpDisplayFlowFrom_m3s(const TPump &pump, double Flow_m3s, double FluidDensity_kgs_m3)
{
    return flowConvert(unt_m3_sec, pump.PumpPoints.FlowDisplayUnit, Flow_m3s, FluidDensity_kgs_m3);
}

double PumpDisplayFlowFrom_kgs(const TPump &pump, double Flow_kgs, double FluidDensity_kgs_m3)
{
    return flowConvert(unt_kg_sec, pump.PumpPoints.FlowDisplayUnit, Flow_kgs, FluidDensity_kgs_m3);
}

double PumpDisplayFlowTo_m3s(const TPump &pump, double DisplayFlow, double FluidDensity_kgs_m3)
{
    return flowConvert(pump.PumpPoints.FlowDisplayUnit, unt_m3_sec, DisplayFlow, FluidDensity_kgs_m3);
}

double PumpDisplayFlowTo_kgs(const TPump &pump, double DisplayFlow, double FluidDensity_kgs_m3)
{
    return flowConvert(pump.PumpPoints.FlowDisplayUnit, unt_kg_sec, DisplayFlow, FluidDensity_kgs_m3);
}

double PumpDisplayHeadFrom_mHd(const TPump &pump, double Head_mHd, double FluidDensity_kgs_m3)
{
    return convertHeadPressureUnit(unt_m_hd_fluid, pump.PumpPoints.HeadDisplayUnit, Head_mHd, FluidDensity_kgs_m3);
}

double PumpDisplayHeadAtDisplayFlow(const TPump &pump, double DisplayFlow, double FluidDensity_kgs_m3)
{
    const double flow_m3s = PumpDisplayFlowTo_m3s(pump, DisplayFlow, FluidDensity_kgs_m3);
    return PumpDisplayHeadFrom_mHd(pump, pump.calcPumpHead_mHd_Fluid(flow_m3s, FluidDensity_kgs_m3),
                                   FluidDensity_kgs_m3);
}

double PumpDisplayEndFlow(const TPump &pump, double FluidDensity_kgs_m3)
{
    const int n = pump.PumpPoints.PointsCount;
    if (n < 1)
        return 0;
    return PumpDisplayFlowFrom_m3s(pump, pump.PumpPoints.Points[n].Flow_m3s, FluidDensity_kgs_m3);
}

// --- sampled curves ---------------------------------------------------------------------

TPumpGraphLine PumpHeadCurveSamples(const TPump &pump, double FluidDensity_kgs_m3)
{
    const double qEnd = PumpDisplayEndFlow(pump, FluidDensity_kgs_m3);
    const double step = qEnd / CurveSteps;
    TPumpGraphLine samples;
    double x = 0;
    while (samples.size() < 100) {
        samples.push_back({x, PumpDisplayHeadAtDisplayFlow(pump, x, FluidDensity_kgs_m3)});
        if (x == qEnd || !(step > 0))
            break;
        // Stepping by multiples keeps the samples free of summed rounding.
        x = std::min(static_cast<double>(samples.size()) * step, qEnd);
    }
    return samples;
}

TPumpGraphLine PumpPreferredRangeSamples(const TPump &pump, double FluidDensity_kgs_m3, double XScaleEndValue)
{
    double xFrom = 0, xTo = 0;
    if (pump.PreferredOpRegionFromPercent > 0 && pump.PreferredOpRegionToPercent > 0) {
        const int best = pump.GetPointNumWithBEP_m3s();
        const double b =
            pump.PumpPoints.PointsCount >= 1
                ? PumpDisplayFlowFrom_m3s(pump, pump.PumpPoints.Points[best].Flow_m3s, FluidDensity_kgs_m3)
                : 0.0;
        xFrom = b * pump.PreferredOpRegionFromPercent / 100;
        xTo = b * pump.PreferredOpRegionToPercent / 100;
    }
    const double qEnd = PumpDisplayEndFlow(pump, FluidDensity_kgs_m3);
    const double step = qEnd / CurveSteps;
    TPumpGraphLine samples;
    if (!(step > 0))
        return samples;
    for (int i = 0;; ++i) {
        const double x = i * step;
        // Past the range's end (or the curve's) nothing more can be drawn.
        if (!(x < XScaleEndValue) || x >= xTo || x > qEnd)
            break;
        if (samples.empty()) {
            if (x > xFrom)
                samples.push_back({x, PumpDisplayHeadAtDisplayFlow(pump, x, FluidDensity_kgs_m3)});
        } else {
            samples.push_back({x, PumpDisplayHeadAtDisplayFlow(pump, x, FluidDensity_kgs_m3)});
        }
    }
    return samples;
}

namespace {

enum class SecondaryCurve { Efficiency, Power };

TPumpGraphLine secondaryCurveSamples(const TPump &pump, double density, SecondaryCurve which)
{
    TPumpGraphLine samples;
    if (pump.PumpPoints.PointsCount < 2)
        return samples;
    const double xs = PumpDisplayFlowFrom_kgs(pump, pump.PumpPoints.Points[2].Flow_kgs, density);
    const double qEnd = PumpDisplayEndFlow(pump, density);
    const double step = qEnd / CurveSteps;
    if (!(step > 0))
        return samples;
    const double endFlow = PumpDisplayFlowFrom_kgs(pump, pump.GetPointMaxFlow_kgs_withEffiencyGreaterThanZero(), density);
    TPump powerUnitPump;
    powerUnitPump.PumpPoints.FlowDisplayUnit = pump.PumpPoints.FlowDisplayUnit;
    const bool inHP = which == SecondaryCurve::Power && powerUnitPump.getPowerDisplayUnit() == unt_HP;
    for (int i = 0;; ++i) {
        const double x = i * step;
        if (x > endFlow)
            break;
        const double flow_kgs = PumpDisplayFlowTo_kgs(pump, x, density);
        const double e = pump.PumpEfficiencyCurve.CalculateY(flow_kgs);
        if (!(xs <= x && e > 0))
            continue;
        if (which == SecondaryCurve::Efficiency) {
            samples.push_back({x, e});
        } else {
            double power = pump.PumpPowerKwCurve.CalculateY(flow_kgs);
            if (inHP)
                power = convertUnit(unt_KW, unt_HP, power);
            samples.push_back({x, power});
        }
    }
    return samples;
}

} // namespace

TPumpGraphLine PumpEfficiencyCurveSamples(const TPump &pump, double FluidDensity_kgs_m3)
{
    return secondaryCurveSamples(pump, FluidDensity_kgs_m3, SecondaryCurve::Efficiency);
}

TPumpGraphLine PumpPowerCurveSamples(const TPump &pump, double FluidDensity_kgs_m3)
{
    return secondaryCurveSamples(pump, FluidDensity_kgs_m3, SecondaryCurve::Power);
}

TPumpGraphLine PumpNPSHrCurveSamples(const TPump &pump, double FluidDensity_kgs_m3)
{
    TPumpGraphLine samples;
    const double xs = pump.PumpPoints.PointsCount >= 2
                          ? PumpDisplayFlowFrom_m3s(pump, pump.PumpPoints.Points[2].Flow_m3s, FluidDensity_kgs_m3)
                          : 0.0;
    const double qEnd = PumpDisplayEndFlow(pump, FluidDensity_kgs_m3);
    const double step = (qEnd - xs) / CurveSteps;
    if (!(step > 0))
        return samples;
    for (int i = 0; i <= CurveSteps; ++i) {
        const double x = i == CurveSteps ? qEnd : xs + i * step;
        const double npshr = pump.calcPumpNPSHr_mHd_Fluid(PumpDisplayFlowTo_m3s(pump, x, FluidDensity_kgs_m3),
                                                          FluidDensity_kgs_m3);
        samples.push_back({x, convertHeadPressureUnit(unt_m_hd_fluid, pump.PumpPoints.NPSHrDisplayUnit, npshr,
                                                      FluidDensity_kgs_m3)});
    }
    return samples;
}

TPumpGraphLine PumpSystemCurveSamples(const TPump &pump, double FlowInDisplayUnits, double FluidDensity_kgs_m3,
                                      double YScaleEndValue)
{
    TPumpGraphLine samples;
    if (FluidDensity_kgs_m3 <= 0 || FlowInDisplayUnits <= 0)
        return samples;
    const double hOp = PumpDisplayHeadAtDisplayFlow(pump, FlowInDisplayUnits, FluidDensity_kgs_m3);
    const int n = pump.PumpPoints.PointsCount;
    const double qMax = n >= 1 ? PumpDisplayFlowFrom_kgs(pump, pump.PumpPoints.Points[n].Flow_kgs, FluidDensity_kgs_m3)
                               : 0.0;
    const double step = qMax / CurveSteps;
    double h0 = PumpDisplayHeadFrom_mHd(pump, pump.PumpGraphOptions.SystemCurveHeadStart_mHd, FluidDensity_kgs_m3);
    if (h0 > hOp)
        h0 = 0;
    double y = 0;
    for (int i = 0; i < 1000; ++i) {
        const double x = i * step;
        if (!(y < 0.9 * YScaleEndValue && x < qMax && qMax > 0))
            break;
        y = h0 + (hOp - h0) * Sqr(x / FlowInDisplayUnits);
        if (y <= YScaleEndValue)
            samples.push_back({x, y});
    }
    return samples;
}

TPumpGraphLine PumpOperatingPointCorner(const TPump &pump, double FlowInDisplayUnits, double FluidDensity_kgs_m3,
                                        double XScaleStartValue, double XScaleEndValue, double YScaleStartValue,
                                        double YScaleEndValue)
{
    if (FluidDensity_kgs_m3 <= 0)
        return {};
    const double h = PumpDisplayHeadAtDisplayFlow(pump, FlowInDisplayUnits, FluidDensity_kgs_m3);
    const double dx = (XScaleEndValue - XScaleStartValue) / 24;
    const double dy = (YScaleEndValue - YScaleStartValue) / 24;
    return {{FlowInDisplayUnits - dx, h}, {FlowInDisplayUnits, h}, {FlowInDisplayUnits, h - dy}};
}

// --- iso-efficiency lines -------------------------------------------------------------------

std::string PumpEfficiencyCurveWarning(const TPump &pump, double ImpellerDiameter_m)
{
    return "Efficiency Curve Warning:\r\rThe predicted pump efficiency curve for \r\rImpeller diameter = " +
           convertUnitToString(unt_m, pump.ImpellerDiameterDisplayUnit, 3, ImpellerDiameter_m) + " " +
           unitPlainName(pump.ImpellerDiameterDisplayUnit) + " " + "\r\r" +
           "has efficiencies that do not always increase up to the BEP (Best Efficiency Point) " +
           "and decrease after the BEP." + "\r\r" +
           "i.e. the predicted efficiency curve has a 'bump' in it which may not be correct." + "\r\r" +
           "**********************************************" + "\r\r" +
           "To Switch Efficiency from Iso to Single Line " + "\r" + "And To Move to the problem Impeller Diameter" +
           "\r\r" + "Click button below ";
}

namespace {

// Bridge factors of the joins: (along x, along y) for each new point.
constexpr double BottomBridge[5][2] = {{0.3, 1.3 * 0.09}, {0.5, 1.3 * 0.25}, {0.6, 0.36}, {0.8, 0.64}, {0.9, 0.81}};
constexpr double TopBridge[5][2] = {{0.3, 1.2 * 0.09}, {0.5, 1.2 * 0.25}, {0.6, 0.36}, {0.8, 0.64}, {0.9, 0.81}};
constexpr int IsoLineDiameterSteps = 24;

} // namespace

bool PumpIsoLinesCloseAtSmallDiameter(const TPumpGraphLine &left, TPumpGraphLine &right, int firstLeftPass,
                                      int firstRightPass)
{
    const int nl = static_cast<int>(left.size());
    const int nr = static_cast<int>(right.size());
    const int passes = IsoLineDiameterSteps + 1;
    if (nl < 2 || nr < 2 || firstLeftPass < 1 || firstRightPass < 1 || nl >= passes - (firstLeftPass - 1) ||
        nr >= passes - (firstRightPass - 1) || std::abs(nl - nr) >= 3)
        return false;
    const TGraphPoint lLast = left[static_cast<std::size_t>(nl - 1)];
    const TGraphPoint rLast = right[static_cast<std::size_t>(nr - 1)];
    if (!(0.5 * rLast.X < lLast.X && lLast.X < rLast.X && left[static_cast<std::size_t>(nl - 2)].X < lLast.X &&
          rLast.X < right[static_cast<std::size_t>(nr - 2)].X))
        return false;
    TGraphPoint p = rLast;
    for (const auto &factor : BottomBridge) {
        p = {p.X - (p.X - lLast.X) * factor[0], p.Y - (p.Y - lLast.Y) * factor[1]};
        right.push_back(p);
    }
    right.push_back(lLast);
    return true;
}

bool PumpIsoLinesJoinAtTop(const TPumpGraphLine &left, TPumpGraphLine &right, int firstLeftPass, int firstRightPass)
{
    if (firstLeftPass <= 1 || firstRightPass <= 1 || left.size() < 2 || right.size() < 2)
        return false;
    const TGraphPoint l1 = left[0];
    const TGraphPoint r1 = right[0];
    if (!(0.5 * r1.X < l1.X && l1.X < r1.X && left[1].X < l1.X && r1.X < right[1].X))
        return false;
    TPumpGraphLine bridge(6);
    bridge[0] = l1;
    TGraphPoint p = r1;
    // New points 6 down to 2, each from the point after it towards L1.
    for (int k = 5, f = 0; k >= 1; --k, ++f) {
        p = {l1.X - (l1.X - p.X) * TopBridge[f][0], l1.Y - (l1.Y - p.Y) * TopBridge[f][1]};
        bridge[static_cast<std::size_t>(k)] = p;
    }
    right.insert(right.begin(), bridge.begin(), bridge.end());
    return true;
}

TPumpIsoLines PumpEfficiencyIsoLines(const TPump &pump, double TheEfficiency, double FluidDensity_kgs_m3)
{
    TPumpIsoLines lines;
    TPump work(pump);
    const double density = FluidDensity_kgs_m3;
    const int speed = work.Speed_rpm;
    const double dmin = work.PumpImpellerDiameterMin_m;
    const double dmax = work.PumpImpellerDiameterMax_m;
    bool valid = false;

    auto lastFlow_kgs = [&] {
        const int n = work.PumpPoints.PointsCount;
        return n >= 1 ? work.PumpPoints.Points[n].Flow_kgs : 0.0;
    };
    work.UpdateRunningDataForSpeedAndImpellerDiameter2(speed, dmin, density, valid);
    const double fMin = lastFlow_kgs() * work.PumpGraphOptions.MinDiamMinFlowPercent / 100;
    work.UpdateRunningDataForSpeedAndImpellerDiameter2(speed, dmax, density, valid);
    const double fMaxDiameter = lastFlow_kgs();
    const double pMax = work.PumpGraphOptions.MaxDiamMinFlowPercent;

    const double step = (dmax - dmin) / IsoLineDiameterSteps;
    enum class Side { Left, Right };
    // One pass from the largest diameter down; returns the pass index (1-based)
    // of the line's first point, 0 when it has none.
    auto pass = [&](Side side, TPumpGraphLine &line) {
        int firstJ = 0;
        double d = dmax;
        int j = 0;
        while (d >= dmin - 1e-6 && step > 0) {
            ++j;
            work.UpdateRunningDataForSpeedAndImpellerDiameter2(speed, d, density, valid);
            double f = 0, h = 0;
            double minimum = 0;
            if (side == Side::Left) {
                work.GetLHSFlowAndHeadPointsBeforeBEPAtEfficency(TheEfficiency, density, f, h);
                if (dmax - dmin > 1e-5 && work.PumpGraphOptions.ShowMinFlowLine)
                    minimum = (fMaxDiameter * pMax / 100 - fMin) * (d - dmin) / (dmax - dmin) + fMin;
                if (!work.isEfficiencyCurveValid()) {
                    lines.ErrorString = PumpEfficiencyCurveWarning(work, work.ImpellerDiameter_m);
                    lines.ErrorDiameter_m = work.ImpellerDiameter_m;
                }
            } else {
                work.GetRHSFlowAndHeadPointsAfterBEPAtEfficency(TheEfficiency, density, f, h, 0.0);
            }
            const bool inside = side == Side::Left ? f > 1.1 * minimum : f > 0;
            if (inside) {
                if (line.empty())
                    firstJ = j;
                line.push_back({PumpDisplayFlowFrom_kgs(work, f, density), PumpDisplayHeadFrom_mHd(work, h, density)});
            } else if (!line.empty()) {
                break;
            }
            if (d == dmin)
                break;
            d -= step;
            if (d < dmin)
                d = dmin;
        }
        return firstJ;
    };
    const int firstLeft = pass(Side::Left, lines.Left);
    const int firstRight = pass(Side::Right, lines.Right);

    PumpIsoLinesCloseAtSmallDiameter(lines.Left, lines.Right, firstLeft, firstRight);
    lines.JoinedAtTop = PumpIsoLinesJoinAtTop(lines.Left, lines.Right, firstLeft, firstRight);
    return lines;
}

// --- drawing on the graph ----------------------------------------------------------------

namespace {

void setPen(TGraph &graph, TColor color, int width)
{
    if (graph.GraphCanvas)
        graph.GraphCanvas->Pen = TPen{color, width, TPenStyle::psSolid, TPenMode::pmCopy};
}

void setFont(TGraph &graph, TColor color, int size, TFontStyles style)
{
    if (!graph.GraphCanvas)
        return;
    graph.GraphCanvas->Font.Color = color;
    graph.GraphCanvas->Font.Size = size;
    graph.GraphCanvas->Font.Style = style;
}

void polyline(TGraph &graph, const TPumpGraphLine &line, TColor color, int width)
{
    setPen(graph, color, width);
    graph.Polyline(line, static_cast<int>(line.size()) - 1);
}

// A line drawn twice: a wider back line under the line itself.
void polylineWithBack(TGraph &graph, const TPumpGraphLine &line, TColor color, int width, TColor backColor)
{
    polyline(graph, line, backColor, width + 1);
    polyline(graph, line, color, width);
}

TPoint pixelOf(const TGraph &graph, const TGraphPoint &point)
{
    TPoint pixel;
    graph.GetXYpoint(point.X, point.Y, pixel.X, pixel.Y, true);
    return pixel;
}

enum class PointMarks { Plain, MaxDiameter, MinDiameter };

void drawCurvePoints(const TPump &pump, TGraph &graph, double density, TColor color, TGraphTextPos textPos,
                     int highlightPointNum, TColor highlightColor, PointMarks marks)
{
    for (int i = 2; i <= pump.PumpPoints.PointsCount; ++i) {
        const TPumpPoint &point = pump.PumpPoints.Points[i];
        const double x = PumpDisplayFlowFrom_m3s(pump, point.Flow_m3s, density);
        const double y = PumpDisplayHeadAtDisplayFlow(pump, x, density);
        graph.PlotLinePen.Color = highlightColor;
        graph.PlotPoint(x, y, i == highlightPointNum ? 7 : 5, "", GraphTextNone);
        TColor centre = color;
        if ((marks == PointMarks::MaxDiameter && pump.EfficiencyMaxImpellerPointMultipliers[i] != 1.0) ||
            (marks == PointMarks::MinDiameter && pump.EfficiencyMinImpellerPointMultipliers[i] != 1.0))
            centre = clRed;
        graph.PlotLinePen.Color = centre;
        if (graph.GraphCanvas)
            graph.GraphCanvas->Font.Color = color;
        graph.PlotPoint(x, y, 3, formatFixed(1, point.EfficiencyPercent), textPos);
    }
}

} // namespace

void TPump::DrawFlowVersusHeadCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                                    TColor TheBackLineColor) const
{
    double h0 = 0;
    if (PumpPoints.PointsCount >= 1)
        h0 = convertHeadPressureUnit(PumpPoints.SetHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid,
                                     PumpPoints.HeadDisplayUnit, PumpPoints.Points[1].Head_mHd, FluidDensity_kgs_m3);
    TheGraph.MoveToXYpoint(0, h0);
    const TPumpGraphLine samples = PumpHeadCurveSamples(*this, FluidDensity_kgs_m3);
    polylineWithBack(TheGraph, samples, TheColor, TheLineWidth, TheBackLineColor);

    setFont(TheGraph, TheColor, TheGraph.XValueFont.Size, {TFontStyle::fsBold});
    const std::string label = convertUnitToString(unt_m, ImpellerDiameterDisplayUnit, 3, ImpellerDiameter_m) + " " +
                              unitPlainName(ImpellerDiameterDisplayUnit);
    const TPoint first = pixelOf(TheGraph, samples.front());
    const int size = TheGraph.XValueFont.Size;
    TheGraph.TextOut(first.X + 5, first.Y - static_cast<int>(Round(1.5 * size)) - 8, label);
}

void TPump::DrawFlowVersusHeadPoints(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                     TGraphTextPos TheGraphTextPos, int HighlightPointNum, TColor HighlightColor) const
{
    drawCurvePoints(*this, TheGraph, FluidDensity_kgs_m3, TheColor, TheGraphTextPos, HighlightPointNum, HighlightColor,
                    PointMarks::Plain);
}

void TPump::DrawMaxDiameterFlowVersusHeadPoints(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                                TGraphTextPos TheGraphTextPos, int HighlightPointNum,
                                                TColor HighlightColor) const
{
    drawCurvePoints(*this, TheGraph, FluidDensity_kgs_m3, TheColor, TheGraphTextPos, HighlightPointNum, HighlightColor,
                    PointMarks::MaxDiameter);
}

void TPump::DrawMinDiameterFlowVersusHeadPoints(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                                TGraphTextPos TheGraphTextPos, int HighlightPointNum,
                                                TColor HighlightColor) const
{
    drawCurvePoints(*this, TheGraph, FluidDensity_kgs_m3, TheColor, TheGraphTextPos, HighlightPointNum, HighlightColor,
                    PointMarks::MinDiameter);
}

void TPump::DrawBestEfficiencyPoint(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                    int TheLineWidth) const
{
    const double q = GetFlowAtBEP_m3s(FluidDensity_kgs_m3);
    const double x = PumpDisplayFlowFrom_m3s(*this, q, FluidDensity_kgs_m3);
    const double y = PumpDisplayHeadFrom_mHd(*this, calcPumpHead_mHd_Fluid(q, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    TheGraph.MoveToXYpoint(x, y);
    setPen(TheGraph, TheColor, TheLineWidth);
    TheGraph.LineToXYpoint(x, 1.02 * y);
    const double e = PumpEfficiencyCurve.CalculateY(q * FluidDensity_kgs_m3);
    if (e > 0) {
        const int size = TheGraph.XValueFont.Size;
        if (TheGraph.GraphCanvas) {
            TheGraph.GraphCanvas->Font.Size = size;
            TheGraph.GraphCanvas->Font.Color = TheColor;
        }
        const TPoint top = pixelOf(TheGraph, {x, 1.02 * y});
        TheGraph.TextOut(top.X, top.Y - size - 4, formatFixed(1, e) + "%");
    }
}

void TPump::DrawBestEfficiencyHighlight(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor,
                                        int TheLineWidth) const
{
    setPen(TheGraph, TheColor, TheLineWidth);
    const TPumpGraphLine range = PumpPreferredRangeSamples(*this, FluidDensity_kgs_m3, TheGraph.XScaleEndValue);
    for (std::size_t i = 0; i < range.size(); ++i) {
        if (i == 0)
            TheGraph.MoveToXYpoint(range[i].X, range[i].Y);
        else
            TheGraph.LineToXYpoint(range[i].X, range[i].Y);
    }
}

void TPump::DrawEfficiencyCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                                TColor TheBackLineColor) const
{
    if (PumpPoints.PointsCount >= 2) {
        const double flow_kgs = PumpPoints.Points[2].Flow_kgs;
        setPen(TheGraph, TheColor, 1);
        TheGraph.MoveToXYpoint(PumpDisplayFlowFrom_kgs(*this, flow_kgs, FluidDensity_kgs_m3),
                               PumpEfficiencyCurve.CalculateY(flow_kgs));
    }
    const TPumpGraphLine samples = PumpEfficiencyCurveSamples(*this, FluidDensity_kgs_m3);
    if (samples.size() >= 2)
        polylineWithBack(TheGraph, samples, TheColor, TheLineWidth, TheBackLineColor);
}

void TPump::DrawPowerCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth, TColor)
{
    getPowerDisplayUnit();
    const TPumpGraphLine samples = PumpPowerCurveSamples(*this, FluidDensity_kgs_m3);
    if (samples.size() >= 2)
        polylineWithBack(TheGraph, samples, TheColor, TheLineWidth, clGray);
}

void TPump::DrawNPSHrCurve(TGraph &TheGraph, double FluidDensity_kgs_m3, TColor TheColor, int TheLineWidth,
                           TColor) const
{
    const TPumpGraphLine samples = PumpNPSHrCurveSamples(*this, FluidDensity_kgs_m3);
    if (samples.size() >= 2)
        polylineWithBack(TheGraph, samples, TheColor, TheLineWidth, clGray);
}

void TPump::DrawEfficiencyIsoLine(TGraph &TheGraph, double TheEfficiency, double FluidDensity_kgs_m3, TColor TheColor,
                                  int TheWidth, TColor TheBackgroundColor, int TheBackgroundWidth,
                                  std::string &ErrorString, double &ErrorDiameter_m) const
{
    ErrorString.clear();
    ErrorDiameter_m = 0;
    const TPumpIsoLines lines = PumpEfficiencyIsoLines(*this, TheEfficiency, FluidDensity_kgs_m3);
    ErrorString = lines.ErrorString;
    ErrorDiameter_m = lines.ErrorDiameter_m;

    const int size = TheGraph.XValueFont.Size;
    const std::string label = std::to_string(Trunc(TheEfficiency));
    auto drawLine = [&](const TPumpGraphLine &line, bool labelFirst, int firstDx, int firstDy) {
        if (line.size() <= 1)
            return;
        TheGraph.PolylineWithBackLine(line, static_cast<int>(line.size()) - 1, TheColor, TheWidth, TheBackgroundColor,
                                      TheBackgroundWidth, TPenStyle::psSolid);
        setFont(TheGraph, TheColor, size, {});
        if (labelFirst) {
            const TPoint first = pixelOf(TheGraph, line.front());
            TheGraph.TextOut(first.X + firstDx - size, first.Y + firstDy, label);
        }
        const TPoint last = pixelOf(TheGraph, line.back());
        TheGraph.TextOut(last.X + 1 - size, last.Y + 3, label);
    };
    if (TheGraph.GraphCanvas)
        TheGraph.GraphCanvas->Font.Size = size;
    drawLine(lines.Left, true, 1, -static_cast<int>(Round(1.5 * size)) - 4);
    drawLine(lines.Right, !lines.JoinedAtTop, 4, -static_cast<int>(Round(2.0 * size)));
}

void TPump::DrawSystemCurve(TGraph &TheGraph, double FlowInDisplayUnits, double FluidDensity_kgs_m3, TColor TheColor,
                            int TheLineWidth, TColor) const
{
    const TPumpGraphLine samples =
        PumpSystemCurveSamples(*this, FlowInDisplayUnits, FluidDensity_kgs_m3, TheGraph.YScaleEndValue);
    if (!samples.empty())
        polyline(TheGraph, samples, TheColor, TheLineWidth);
}

void TPump::DrawOperatingPoint(TGraph &TheGraph, double FlowInDisplayUnits, double FluidDensity_kgs_m3,
                               TColor TheColor, int TheLineWidth) const
{
    const TPumpGraphLine corner =
        PumpOperatingPointCorner(*this, FlowInDisplayUnits, FluidDensity_kgs_m3, TheGraph.XScaleStartValue,
                                 TheGraph.XScaleEndValue, TheGraph.YScaleStartValue, TheGraph.YScaleEndValue);
    if (!corner.empty())
        polyline(TheGraph, corner, TheColor, TheLineWidth);
}

void TPump::DrawLine(TGraph &TheGraph, double Flow1InDisplayUnits, double Head1InDisplayUnits,
                     double Flow2InDisplayUnits, double Head2InDisplayUnits, TColor TheColor, int TheLineWidth) const
{
    polyline(TheGraph, {{Flow1InDisplayUnits, Head1InDisplayUnits}, {Flow2InDisplayUnits, Head2InDisplayUnits}},
             TheColor, TheLineWidth);
}

} // namespace tessaran
