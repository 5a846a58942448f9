// TPump: read-only questions about the fitted curves, asked by the solver,
// the result tables, the pump graph and the pump dialogs.

#include "model/Pump_Class.h"

#include "units/Quadratic_Curves.h"

#include <cmath>

namespace tessaran {

namespace {

double fixedHead_mHdFluid(const TPump &pump, double density)
{
    return pump.SetFixedHead_Stored_mH2O ? PumpHead_mH2O_to_mFluid(pump.SetFixedHead_FluidHead_m, density)
                                         : pump.SetFixedHead_FluidHead_m;
}

// Head of a running point in m of fluid.
double pointHead_mHdFluid(const TPump &pump, int i, double density)
{
    const double head = pump.PumpPoints.Points[i].Head_mHd;
    return pump.PumpPoints.SetHead_Stored_mH2O ? PumpHead_mH2O_to_mFluid(head, density) : head;
}

// Slope of a Q-H curve of a curve pump with points; the sign follows the flow.
double curveSlope(const TPump &pump, const TQuadraticCurves &curve, double flow)
{
    if (pump.PumpType != PumpFixedSpeed || pump.PumpPoints.PointsCount < 1)
        return 0;
    double slope = 0;
    if (pump.PumpPoints.PointsCount > 2)
        slope = curve.CalculateDifferentialDYDX(std::fabs(flow));
    return flow < 0 ? -slope : slope;
}

double lastCurveX(const TQuadraticCurves &curve)
{
    return curve.PointsCount > 0 ? curve.CurvePoints[curve.PointsCount].X : 0.0;
}

} // namespace

// --- head, slope and flow ----------------------------------------------------------

double TPump::calcPumpHead_mHd_Fluid(double Flow_m3s, double FluidDensity_kgs_m3) const
{
    switch (PumpType) {
    case PumpFixedHead:
        return fixedHead_mHdFluid(*this, FluidDensity_kgs_m3);
    case PumpFixedFlow:
        return 0;
    case PumpFixedSpeed:
        break;
    }
    if (PumpPoints.PointsCount < 3)
        return 0;
    const double head = PumpCurve_Qm3s_mHd.CalculateY(std::fabs(Flow_m3s));
    return head < 0 ? 0 : head;
}

double TPump::calcPumpHead_Bar(double Flow_kgs, double FluidDensity_kgs_m3) const
{
    return PumpHead_mFluid_to_Bar(calcPumpHead_mHd_Fluid(Flow_kgs / FluidDensity_kgs_m3, FluidDensity_kgs_m3),
                                  FluidDensity_kgs_m3);
}

double TPump::calcPumpHead_mHd_Fluid_DifferentialQm3s(double Flow_m3s, double) const
{
    return curveSlope(*this, PumpCurve_Qm3s_mHd, Flow_m3s);
}

double TPump::calcPumpHead_mHd_Fluid_DifferentialQkgs(double Flow_kgs, double FluidDensity_kgs_m3) const
{
    const double flow = PumpFlow_m3s_to_kgs(PumpFlow_kgs_to_m3s(Flow_kgs, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    return curveSlope(*this, PumpCurve_Qkgs_mHd, flow);
}

double TPump::calcPumpHead_Bar_DifferentialQkgs(double Flow_kgs, double FluidDensity_kgs_m3) const
{
    const double flow = PumpFlow_m3s_to_kgs(PumpFlow_kgs_to_m3s(Flow_kgs, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    return curveSlope(*this, PumpCurve_Qkgs_Bar, flow);
}

// The first flow from the first point on at which the Q-H curve gives the head.
// A coarse scan finds the first interval where the curve meets the head (a
// point within 0.01 % or a change of side) and bisection pins the flow down,
// so a steep curve that jumps over the narrow band between two scan steps is
// still found.
double TPump::calcPumpFlow_m3s(double Head_mHd) const
{
    const int n = PumpPoints.PointsCount;
    if (n < 3)
        return 0;
    const double q1 = PumpPoints.Points[1].Flow_m3s;
    const double qn = PumpPoints.Points[n].Flow_m3s;
    const double step = (qn - q1) / 3000;
    const double bandLow = std::min(0.9999 * Head_mHd, 1.0001 * Head_mHd);
    const double bandHigh = std::max(0.9999 * Head_mHd, 1.0001 * Head_mHd);
    auto offset = [&](double q) { return PumpCurve_Qm3s_mHd.CalculateY(q) - Head_mHd; };
    auto answer = [](double q) { return q < 0 ? 0.0 : q; };

    double previousQ = q1;
    double previousOffset = offset(q1);
    for (int i = 0; i <= 3000; ++i) {
        const double q = i == 3000 ? qn : q1 + i * step;
        const double head = PumpCurve_Qm3s_mHd.CalculateY(q);
        if (head > bandLow && head < bandHigh)
            return answer(q);
        const double off = head - Head_mHd;
        if (i > 0 && ((previousOffset < 0) != (off < 0)) && off != 0 && previousOffset != 0) {
            double lo = previousQ, hi = q, offLo = previousOffset;
            for (int k = 0; k < 200 && hi != lo; ++k) {
                const double mid = 0.5 * (lo + hi);
                if (mid == lo || mid == hi)
                    break;
                const double offMid = offset(mid);
                if ((offMid < 0) == (offLo < 0)) {
                    lo = mid;
                    offLo = offMid;
                } else {
                    hi = mid;
                }
            }
            return answer(0.5 * (lo + hi));
        }
        if (off == 0)
            return answer(q);
        previousQ = q;
        previousOffset = off;
    }
    return 0;
}

double TPump::calcPumpEfficiency(double Flow_m3s, double FluidDensity_kgs_m3) const
{
    if (PumpType != PumpFixedSpeed)
        return 0;
    const double efficiency = PumpEfficiencyCurve.CalculateY(Flow_m3s * FluidDensity_kgs_m3);
    return efficiency < 0 ? 0 : efficiency;
}

double TPump::calcPumpNPSHr_mHd_Fluid(double Flow_m3s, double FluidDensity_kgs_m3) const
{
    if (PumpType != PumpFixedSpeed)
        return 0;
    const double npshr = PumpNPSHrCurve.CalculateY(Flow_m3s * FluidDensity_kgs_m3);
    return npshr < 0 ? 0 : npshr;
}

// --- linear-theory approximations ---------------------------------------------------

// The quadratic a·Q² + b·Q + c through the first, second and last running
// points, head in bar over mass flow in kg/s.
void TPump::LinearTheoryGetQuadraticCoeffForFlowKgsAndBar(double FluidDensity_kgs_m3, double &a, double &b,
                                                          double &c) const
{
    const int n = PumpPoints.PointsCount;
    auto flow = [&](int i) { return n >= 1 ? PumpPoints.Points[std::max(1, std::min(i, n))].Flow_kgs : 0.0; };
    auto head = [&](int i) {
        return n >= 1 ? PumpHead_mFluid_to_Bar(pointHead_mHdFluid(*this, std::max(1, std::min(i, n)),
                                                                  FluidDensity_kgs_m3),
                                               FluidDensity_kgs_m3)
                      : 0.0;
    };
    TCurveCoefficents coeffs{};
    calcQuadraticPumpCoefficents(flow(1), head(1), flow(2), head(2), flow(n), head(n), coeffs);
    a = coeffs[2];
    b = coeffs[1];
    c = coeffs[0];
}

double TPump::LinearTheoryCalcMaxPumpHead_Bar(double FluidDensity_kgs_m3) const
{
    switch (PumpType) {
    case PumpFixedHead:
        return PumpHead_mFluid_to_Bar(fixedHead_mHdFluid(*this, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    case PumpFixedSpeed:
        if (PumpPoints.PointsCount < 1)
            return 0;
        return PumpHead_mFluid_to_Bar(pointHead_mHdFluid(*this, 1, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    case PumpFixedFlow:
        break;
    }
    return 0;
}

double TPump::LinearTheoryCalcStraightLinePumpHead_Bar(double Flow_kgs, double FluidDensity_kgs_m3) const
{
    if (PumpType == PumpFixedHead)
        return PumpHead_mFluid_to_Bar(fixedHead_mHdFluid(*this, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    const int n = PumpPoints.PointsCount;
    if (PumpType != PumpFixedSpeed || n < 1)
        return 0;
    const double h1 = pointHead_mHdFluid(*this, 1, FluidDensity_kgs_m3);
    const double hn = pointHead_mHdFluid(*this, n, FluidDensity_kgs_m3);
    const double q1 = PumpPoints.Points[1].Flow_kgs;
    const double qn = PumpPoints.Points[n].Flow_kgs;
    const double s = q1 == qn ? 0.0 : (hn - h1) / (qn - q1);
    return PumpHead_mFluid_to_Bar(h1 + s * Flow_kgs, FluidDensity_kgs_m3);
}

void TPump::LinearTheoryCalcStraightLinePumpHead_Bar_mc(double Flow_kgs, double FluidDensity_kgs_m3, double &m,
                                                       double &c) const
{
    m = 0;
    c = 0;
    if (PumpType == PumpFixedHead) {
        c = PumpHead_mFluid_to_Bar(fixedHead_mHdFluid(*this, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
        return;
    }
    const int n = PumpPoints.PointsCount;
    if (PumpType != PumpFixedSpeed || n < 1)
        return;
    const double h1 = PumpHead_mFluid_to_Bar(pointHead_mHdFluid(*this, 1, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    const double hn = PumpHead_mFluid_to_Bar(pointHead_mHdFluid(*this, n, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    const double q1 = PumpPoints.Points[1].Flow_kgs;
    const double qn = PumpPoints.Points[n].Flow_kgs;
    c = h1;
    m = q1 == qn ? 0.0 : (hn - h1) / (qn - q1);
    if (Flow_kgs < 0) {
        m = -m;
        c = -c;
    }
}

double TPump::LinearTheorycalcPumpHead_Bar_DifferentialQkgs(double, double FluidDensity_kgs_m3) const
{
    const int n = PumpPoints.PointsCount;
    if (PumpType != PumpFixedSpeed || n < 1)
        return 0;
    const double h1 = PumpHead_mFluid_to_Bar(pointHead_mHdFluid(*this, 1, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    const double hn = PumpHead_mFluid_to_Bar(pointHead_mHdFluid(*this, n, FluidDensity_kgs_m3), FluidDensity_kgs_m3);
    if (h1 == hn)
        return 0;
    const double q1 = PumpPoints.Points[1].Flow_kgs;
    const double qn = PumpPoints.Points[n].Flow_kgs;
    if (qn == q1)
        return 1000;
    return (h1 - hn) / (qn - q1);
}

// --- best-efficiency point and ranges ----------------------------------------------------

double TPump::GetFlowAtBEP_kgs() const
{
    if (PumpEfficiencyCurve.PointsCount < 1)
        return 0;
    double x = 0, maxY = 0;
    PumpEfficiencyCurve.CalculateXAtMaxY(x, maxY, 0.0, lastCurveX(PumpEfficiencyCurve));
    return x;
}

double TPump::GetFlowAtBEP_m3s(double FluidDensity_kgs_m3) const { return GetFlowAtBEP_kgs() / FluidDensity_kgs_m3; }

double TPump::GetPercentAtBEP() const
{
    if (PumpEfficiencyCurve.PointsCount < 1)
        return 0;
    double x = 0, maxY = 0;
    PumpEfficiencyCurve.CalculateXAtMaxY(x, maxY, 0.0, lastCurveX(PumpEfficiencyCurve));
    return maxY;
}

int TPump::GetPointNumWithBEP_m3s() const
{
    int best = 1;
    double bestEfficiency = 0;
    for (int i = 1; i <= PumpPoints.PointsCount; ++i)
        if (PumpPoints.Points[i].EfficiencyPercent > bestEfficiency) {
            bestEfficiency = PumpPoints.Points[i].EfficiencyPercent;
            best = i;
        }
    return best;
}

double TPump::GetFlowAtBaseDataBEP_m3s(double) const
{
    double flow = 0;
    double bestEfficiency = 0;
    for (int i = 1; i <= BaseDataPumpPoints.PointsCount; ++i)
        if (BaseDataPumpPoints.Points[i].EfficiencyPercent > bestEfficiency) {
            bestEfficiency = BaseDataPumpPoints.Points[i].EfficiencyPercent;
            flow = BaseDataPumpPoints.Points[i].Flow_m3s;
        }
    return flow;
}

void TPump::CalcBEPFlow(double FluidDensity_kgs_m3, double &preferedOpFlowMin, double &preferedOpFlowMax,
                        TUnit &preferedOpFlowDisplayUnit) const
{
    preferedOpFlowDisplayUnit = PumpPoints.FlowDisplayUnit;
    preferedOpFlowMin = 0;
    preferedOpFlowMax = 0;
    if (PreferredOpRegionFromPercent <= 0 || PreferredOpRegionToPercent <= 0)
        return;
    const double bep_kgs = GetFlowAtBEP_kgs();
    const double bep = convertFlowUnit(unt_kg_sec, preferedOpFlowDisplayUnit, std_15degC_101325Pa, bep_kgs,
                                       FluidDensity_kgs_m3, 0.0, 288.15, 1.01325);
    preferedOpFlowMin = PreferredOpRegionFromPercent * bep / 100;
    preferedOpFlowMax = bep * PreferredOpRegionToPercent / 100;
}

double TPump::GetMinFlowLine_kgs() const
{
    if (PumpPoints.PointsCount < 1)
        return 0;
    const double fromMin = std::fabs(ImpellerDiameter_m - PumpImpellerDiameterMin_m);
    const double range = std::fabs(PumpImpellerDiameterMax_m - PumpImpellerDiameterMin_m);
    const double t = (fromMin == 0 || range == 0) ? 0.0 : fromMin / range;
    const double percent = PumpGraphOptions.MinDiamMinFlowPercent +
                           t * (PumpGraphOptions.MaxDiamMinFlowPercent - PumpGraphOptions.MinDiamMinFlowPercent);
    return percent / 100 * PumpPoints.Points[PumpPoints.PointsCount].Flow_kgs;
}

double TPump::GetMinFlowLine_m3s(double FluidDensity_kgs_m3) const
{
    if (FluidDensity_kgs_m3 <= 0)
        return 0;
    return GetMinFlowLine_kgs() / FluidDensity_kgs_m3;
}

// --- point and curve extremes ------------------------------------------------------------

double TPump::GetPointMaxFlow_kgs_withEffiencyGreaterThanZero() const
{
    double flow = 0;
    for (int i = 1; i <= PumpPoints.PointsCount; ++i)
        if (PumpPoints.Points[i].EfficiencyPercent > 0)
            flow = PumpPoints.Points[i].Flow_kgs;
    return flow;
}

double TPump::GetPointMaxPower_Kw_withEffiencyGreaterThanZero() const
{
    double power = 0;
    for (int i = 1; i <= PumpPoints.PointsCount; ++i)
        if (PumpPoints.Points[i].EfficiencyPercent > 0)
            power = std::max(power, PumpPowerKwCurve.CalculateY(PumpPoints.Points[i].Flow_kgs));
    return power;
}

double TPump::GetPointMinEfficiencywithEffiencyGreaterThanZero() const
{
    double minimum = 101;
    for (int i = 1; i <= PumpPoints.PointsCount; ++i) {
        const double e = PumpPoints.Points[i].EfficiencyPercent;
        if (e > 0 && e < minimum)
            minimum = e;
    }
    return minimum > 100 ? 0 : minimum;
}

double TPump::GetMaxEfficiencywithEffiencyGreaterThanZero() const
{
    const int n = PumpPoints.PointsCount;
    if (n <= 1)
        return 0;
    double x = 0, maxY = 0;
    PumpEfficiencyCurve.CalculateXAtMaxY(x, maxY, PumpPoints.Points[2].Flow_kgs, PumpPoints.Points[n].Flow_kgs);
    return maxY < 0 ? 0 : maxY;
}

double TPump::GetPointBaseDataMaxEfficiencywithEffiencyGreaterThanZero() const
{
    double maximum = 0;
    for (int i = 1; i <= BaseDataPumpPoints.PointsCount; ++i)
        maximum = std::max(maximum, BaseDataPumpPoints.Points[i].EfficiencyPercent);
    return maximum;
}

// --- flows and heads at an efficiency ---------------------------------------------------------

void TPump::GetLHSFlowAndHeadPointsAtEfficency(double TheEfficiency, double, double &flow1_kgs,
                                               double &head1_mHd) const
{
    flow1_kgs = PumpEfficiencyCurve.CalculateX(TheEfficiency);
    head1_mHd = PumpCurve_Qkgs_mHd.CalculateY(flow1_kgs);
}

void TPump::GetRHSFlowAndHeadPointsAtEfficency(double TheEfficiency, double, double &flow1_kgs,
                                               double &head1_mHd) const
{
    flow1_kgs = PumpEfficiencyCurve.CalculateXBackwardsFromEndOfCurve(TheEfficiency, 0.0);
    head1_mHd = PumpCurve_Qkgs_mHd.CalculateY(flow1_kgs);
}

void TPump::GetFlowAndHeadPointsAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3, double &flow1_kgs,
                                            double &head1_mHd, double &flow2_kgs, double &head2_mHd) const
{
    GetLHSFlowAndHeadPointsAtEfficency(TheEfficiency, FluidDensity_kgs_m3, flow1_kgs, head1_mHd);
    GetRHSFlowAndHeadPointsAtEfficency(TheEfficiency, FluidDensity_kgs_m3, flow2_kgs, head2_mHd);
}

void TPump::GetLHSFlowAndHeadPointsBeforeBEPAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3,
                                                        double &flow1_kgs, double &head1_mHd) const
{
    GetLHSFlowAndHeadPointsAtEfficency(TheEfficiency, FluidDensity_kgs_m3, flow1_kgs, head1_mHd);
    if (flow1_kgs > GetFlowAtBEP_m3s(FluidDensity_kgs_m3) * FluidDensity_kgs_m3) {
        flow1_kgs = 0;
        head1_mHd = 0;
    }
}

void TPump::GetRHSFlowAndHeadPointsAfterBEPAtEfficency(double TheEfficiency, double FluidDensity_kgs_m3,
                                                       double &flow1_kgs, double &head1_mHd,
                                                       double XPercentAllowedAfterEndOfCurvePoints) const
{
    flow1_kgs = PumpEfficiencyCurve.CalculateXBackwardsFromEndOfCurve(TheEfficiency,
                                                                      XPercentAllowedAfterEndOfCurvePoints);
    head1_mHd = PumpCurve_Qkgs_mHd.CalculateY(flow1_kgs);
    if (flow1_kgs < GetFlowAtBEP_m3s(FluidDensity_kgs_m3) * FluidDensity_kgs_m3) {
        flow1_kgs = 0;
        head1_mHd = 0;
    }
}

bool TPump::ExistsEfficiencyOnMinBaseMaxCurve(double TheEfficiency) const
{
    for (const TQuadraticCurves *curve : {&PumpMinDiamCurrentSpeedEfficiencyCurve,
                                          &PumpBaseDiamCurrentSpeedEfficiencyCurve,
                                          &PumpMaxDiamCurrentSpeedEfficiencyCurve}) {
        if (!(curve->CalculateX(TheEfficiency) > 0))
            return false;
        if (!(curve->CalculateXBackwardsFromEndOfCurve(TheEfficiency, 0.0) > 0))
            return false;
    }
    return true;
}

// --- checks --------------------------------------------------------------------------------------

bool TPump::isRunningOnBaseData() const
{
    return Speed_rpm == BaseDataSpeed_rpm && ImpellerDiameter_m == BaseDataImpellerDiameter_m;
}

bool TPump::isEfficiencyCurveZero() const
{
    for (int i = 1; i <= PumpPoints.PointsCount; ++i)
        if (PumpPoints.Points[i].EfficiencyPercent > 0)
            return false;
    return true;
}

// The efficiencies must rise up to the best point and fall after it; a dip or
// bump of more than 1 % makes the curve invalid.
bool TPump::isEfficiencyCurveValid() const
{
    const int b = GetPointNumWithBEP_m3s();
    const int n = PumpPoints.PointsCount;
    const double secondBaseFlow = BaseDataPumpPoints.Points[2].Flow_kgs;
    for (int i = 2; i <= b - 1; ++i) {
        const TPumpPoint &point = PumpPoints.Points[i];
        if (point.Flow_kgs > 0 && point.EfficiencyPercent > 0.001 && point.Flow_kgs > secondBaseFlow &&
            PumpPoints.Points[i + 1].EfficiencyPercent * 1.01 < point.EfficiencyPercent)
            return false;
    }
    for (int i = b; i <= n - 1; ++i) {
        const TPumpPoint &point = PumpPoints.Points[i];
        if (point.EfficiencyPercent > 0.001 && point.EfficiencyPercent * 1.01 < PumpPoints.Points[i + 1].EfficiencyPercent)
            return false;
    }
    return true;
}

bool TPump::isEfficiencyIsobarDrawingInfoValid() const
{
    const double emin = GetPointMinEfficiencywithEffiencyGreaterThanZero();
    const double emax = GetMaxEfficiencywithEffiencyGreaterThanZero();
    double pmin = 0, pmax = 0;
    if (ImpellerDiameter_m > 0) {
        pmin = PumpImpellerDiameterMin_m / BaseDataImpellerDiameter_m * 100;
        pmax = PumpImpellerDiameterMax_m / BaseDataImpellerDiameter_m * 100;
    }
    return emax - emin > 0 && emin > 0 && emin < 100 && emax > 0 && emax < 100 &&
           pmin >= MinImpellerPercentOfBaseForIsoLines && pmin <= 100 && pmax >= 100 &&
           pmax <= MaxImpellerPercentOfBaseForIsoLines && IsMinImpellerToMaxImpellerRatioOk() &&
           PumpImpellerDiameterMin_m <= ImpellerDiameter_m && ImpellerDiameter_m <= PumpImpellerDiameterMax_m;
}

bool TPump::IsMinImpellerToMaxImpellerRatioOk() const
{
    const double dmax = PumpImpellerDiameterMax_m;
    const double dmin = PumpImpellerDiameterMin_m;
    if (dmax <= 0)
        return true;
    return (MaxImpellerTrimRangePercent + 0.2) / 100 >= std::fabs((dmax - dmin) / dmax);
}

} // namespace tessaran
