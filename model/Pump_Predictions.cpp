// TPump: running data predicted from the base data for another speed or
// impeller diameter: affinity laws with two empirical trim corrections,
// efficiencies from the predicted shaft powers, NPSHr at constant suction
// specific speed, and iso-efficiency interpolation between the smallest, the
// base and the largest impeller.

#include "model/Pump_Class.h"

#include "platform/Pascal.h"
#include "units/Calculations.h"
#include "units/Quadratic_Curves.h"

#include <cmath>
#include <utility>

namespace tessaran {

namespace {

bool anyZero(double s1, double s2, double d1, double d2) { return s1 == 0 || s2 == 0 || d1 == 0 || d2 == 0; }

// Runs an operation that may raise from a curve fit; on an exception the pump
// is put back exactly as it was before the call.
template <typename Operation>
void allOrNothing(TPump &pump, Operation &&operation)
{
    TPump saved(pump);
    try {
        operation();
    } catch (...) {
        pump = std::move(saved);
        throw;
    }
}

} // namespace

void TPump::getPredictedFlowForSpeedAndDiameterChangeStdAffinityLaw(double s1, double s2, double d1, double d2,
                                                                    double q1, double &q2)
{
    q2 = anyZero(s1, s2, d1, d2) ? 0.0 : (s2 / s1) * q1 * (d2 / d1);
}

void TPump::getPredictedFlowForSpeedAndDiameterChange(double s1, double s2, double d1, double d2, double q1,
                                                      double &q2)
{
    getPredictedFlowForSpeedAndDiameterChangeStdAffinityLaw(s1, s2, d1, d2, q1, q2);
}

void TPump::getPredictedHeadForSpeedAndDiameterChangeStdAffinityLaw(double s1, double s2, double d1, double d2,
                                                                    double h1, double &h2)
{
    h2 = anyZero(s1, s2, d1, d2) ? 0.0 : Sqr(s2 / s1) * h1 * Sqr(d2 / d1);
}

void TPump::getPredictedHeadForSpeedAndDiameterChange(double s1, double s2, double d1, double d2, double h1,
                                                      double h1Max, double &h2) const
{
    if (anyZero(s1, s2, d1, d2)) {
        h2 = 0;
        return;
    }
    const double r = std::fabs(d1 - d2) / d1;
    double m1, m2, u;
    if (d2 < d1) {
        m1 = FlowHeadCurveMinImpellerMultipliers[1];
        m2 = FlowHeadCurveMinImpellerMultipliers[2];
        u = (d1 - d2) / d1;
    } else {
        m1 = FlowHeadCurveMaxImpellerMultipliers[1];
        m2 = FlowHeadCurveMaxImpellerMultipliers[2];
        u = (d2 - d1) / d1;
    }
    const double b = 1 + m2 * r * r;
    // Without a shut-off head there is no position along the curve to weigh
    // the correction by.
    const double c = h1Max == 0 ? 0.0 : (h1Max - h1) / h1Max;
    const double k = 1 + c * c * u * 20 * m1;
    h2 = h1 * Sqr(s2 / s1) * Sqr(d2 / d1) * b * b * k;
}

void TPump::getPredictedPowerBeforeBEPForSpeedAndDiameterChange(double s1, double s2, double d1, double d2,
                                                                double f1, double, double, double, double fBEP,
                                                                double, double, double p1, double &p2) const
{
    if (anyZero(s1, s2, d1, d2)) {
        p2 = 0;
        return;
    }
    const double r = std::fabs(d1 - d2) / d1;
    const int side = 1.01 * fBEP > f1 ? 1 : 2;
    const double m = d2 < d1 ? EfficiencyCurveMinImpellerMultipliers[side] : EfficiencyCurveMaxImpellerMultipliers[side];
    const double g = 1 + m * r * r;
    const double ratio = (s2 / s1) * (d2 / d1) * g;
    p2 = p1 * ratio * ratio * ratio;
}

// e(H) through the (head, efficiency) pairs of the smallest, the base and the
// largest impeller at the same relative position along their curves.
double TPump::getEfficiencyFromQuadraticIsoEfficiencyCurves6(double TheFlow_kgs, double TheHead_mHd,
                                                             double MaxFlow_kgs) const
{
    if (MaxFlow_kgs == 0)
        return 0;
    const double f = TheFlow_kgs / MaxFlow_kgs;
    const std::pair<const TQuadraticCurves *, const TQuadraticCurves *> sizes[3] = {
        {&PumpMinDiamCurve_Qkgs_mHd, &PumpMinDiamCurrentSpeedEfficiencyCurve},
        {&PumpBaseDiamCurve_Qkgs_mHd, &PumpBaseDiamCurrentSpeedEfficiencyCurve},
        {&PumpMaxDiamCurve_Qkgs_mHd, &PumpMaxDiamCurrentSpeedEfficiencyCurve},
    };
    double head[3], efficiency[3];
    for (int s = 0; s < 3; ++s) {
        const TQuadraticCurves &headCurve = *sizes[s].first;
        const TQuadraticCurves &efficiencyCurve = *sizes[s].second;
        const double lastX =
            efficiencyCurve.PointsCount > 0 ? efficiencyCurve.CurvePoints[efficiencyCurve.PointsCount].X : 0.0;
        const double x = f * lastX;
        head[s] = headCurve.CalculateY(x);
        efficiency[s] = efficiencyCurve.CalculateY(x);
    }
    TCurveCoefficents c{};
    calcQuadraticPumpCoefficents(head[0], efficiency[0], head[1], efficiency[1], head[2], efficiency[2], c);
    // c[0] is the constant term, c[2] the square term.
    return c[0] + c[1] * TheHead_mHd + c[2] * TheHead_mHd * TheHead_mHd;
}

void TPump::predictRunningData(int TheSpeed_rpm, double TheImpellerDiameter_m, double FluidDensity_kgs_m3,
                               bool &Valid)
{
    Valid = false;
    if (TheSpeed_rpm == 0 || BaseDataSpeed_rpm == 0 || TheImpellerDiameter_m == 0 || BaseDataImpellerDiameter_m == 0)
        return;
    Speed_rpm = TheSpeed_rpm;
    ImpellerDiameter_m = TheImpellerDiameter_m;
    const double density = FluidDensity_kgs_m3;
    const double n1 = BaseDataSpeed_rpm;
    const double n2 = TheSpeed_rpm;
    const double d1 = BaseDataImpellerDiameter_m;
    const double d2 = TheImpellerDiameter_m;
    const double fBEP = GetFlowAtBaseDataBEP_m3s(density) * density;
    const double emax = GetPointBaseDataMaxEfficiencywithEffiencyGreaterThanZero();
    const int n = PumpPoints.PointsCount;
    const double shutOffHead = BaseDataPumpPoints.Points[1].Head_mHd;

    for (int i = 1; i <= n; ++i) {
        const TPumpPoint &base = BaseDataPumpPoints.Points[i];
        TPumpPoint &running = PumpPoints.Points[i];
        const double q1 = base.Flow_kgs;
        const double h1 = base.Head_mHd;
        const double e1 = base.EfficiencyPercent;

        const double p1 = e1 != 0 ? calcPumpPower(q1 / density, h1, density) / (e1 / 100) : 0.0;
        double qa = 0, ha = 0;
        getPredictedFlowForSpeedAndDiameterChangeStdAffinityLaw(n1, n2, d1, d2, q1, qa);
        getPredictedHeadForSpeedAndDiameterChangeStdAffinityLaw(n1, n2, d1, d2, h1, ha);
        getPredictedFlowForSpeedAndDiameterChange(n1, n2, d1, d2, base.Flow_m3s, running.Flow_m3s);
        getPredictedFlowForSpeedAndDiameterChange(n1, n2, d1, d2, q1, running.Flow_kgs);
        getPredictedHeadForSpeedAndDiameterChange(n1, n2, d1, d2, h1, shutOffHead, running.Head_mHd);

        double p2 = 0;
        getPredictedPowerBeforeBEPForSpeedAndDiameterChange(n1, n2, d1, d2, q1, running.Flow_kgs, 0, 0, fBEP, h1,
                                                            running.Head_mHd, p1, p2);
        if (qa != 0 && ha != 0) {
            double ratio = (running.Flow_kgs / qa) * (running.Head_mHd / ha);
            double h0 = 0;
            getPredictedHeadForSpeedAndDiameterChange(1, 1, d1, d2, h1, shutOffHead, h0);
            const double f = h0 == 0 ? 0.0 : 1 - h1 / h0;
            const int side = 1.01 * fBEP > q1 ? 1 : 2;
            if (d2 < d1)
                ratio *= 1 + f * f * EfficiencyCurveMinImpellerMultipliers[side];
            else if (d2 > d1)
                ratio *= 1 + f * f * EfficiencyCurveMaxImpellerMultipliers[side];
            p2 *= ratio;
        }
        const double hydraulicPower = calcPumpPower(running.Flow_kgs / density, running.Head_mHd, density);

        double e = 0;
        if (std::fabs(d2 - d1) <= 1e-6) {
            e = e1;
        } else if (p2 > 0) {
            e = hydraulicPower / p2 * 100;
            if (d2 > d1)
                e *= EfficiencyMaxImpellerPointMultipliers[i];
            else if (d2 < d1)
                e *= EfficiencyMinImpellerPointMultipliers[i];
            if (e > 1.2 * emax)
                e = 1.2 * emax;
            if (e > 100)
                e = emax;
        }
        const double speedRange = PumpSpeedMaxRpm - PumpSpeedMinRpm;
        if (speedRange > 0)
            e += PumpEfficiencyMaxSpeedEfficPercentIncrease / 100 *
                 ((Speed_rpm - PumpSpeedMinRpm) / speedRange - (n1 - PumpSpeedMinRpm) / speedRange) * e;
        running.EfficiencyPercent = e;
    }

    const int truncatedSpeed = static_cast<int>(Trunc(n2));
    for (int i = 1; i <= n; ++i) {
        const TPumpPoint &base = BaseDataPumpPoints.Points[i];
        TPumpPoint &running = PumpPoints.Points[i];
        const double nss = calcSuctionSpecificSpeed(BaseDataSpeed_rpm, base.Flow_kgs, base.NPSHr_mHd, density);
        double npshr = calcNPSHr_mHd_fromSuctionSpecificSpeed(nss, truncatedSpeed, running.Flow_kgs, density);
        const bool curveStart = 0.7 * fBEP >= base.Flow_kgs;
        double t = 0, percent = 0;
        if (d2 < d1) {
            const double range = d1 - PumpImpellerDiameterMin_m;
            t = range <= 0 ? 0.0 : (d1 - d2) / range;
            percent = curveStart ? PumpNPSHStartMinDiamNpshPercentIncrease : PumpNPSHEndMinDiamNpshPercentIncrease;
        } else if (d2 > d1) {
            const double range = PumpImpellerDiameterMax_m - d1;
            t = range <= 0 ? 0.0 : (d2 - d1) / range;
            percent = curveStart ? PumpNPSHStartMaxDiamNpshPercentIncrease : PumpNPSHEndMaxDiamNpshPercentIncrease;
        }
        npshr *= 1 + percent / 100 * t;
        if (i > 1 && npshr < PumpPoints.Points[i - 1].NPSHr_mHd)
            npshr = PumpPoints.Points[i - 1].NPSHr_mHd;
        running.NPSHr_mHd = npshr;
    }
    Valid = true;
}

void TPump::predictRunningData1(int TheSpeed_rpm, double TheImpellerDiameter_m, double FluidDensity_kgs_m3,
                                bool &Valid)
{
    calcPumpBaseDataNPSHCurve();
    calcPumpBaseDataEfficiencyCurve();
    PumpBaseDataSuctionSpecificSpeedAtBEP = calcBaseDataSuctionSpecificSpeed(FluidDensity_kgs_m3);

    predictRunningData(TheSpeed_rpm, PumpImpellerDiameterMin_m, FluidDensity_kgs_m3, Valid);
    calcPumpCurveFlowAndEfficFromRunningData(FluidDensity_kgs_m3, PumpMinDiamCurve_Qkgs_mHd,
                                             PumpMinDiamCurrentSpeedEfficiencyCurve);
    predictRunningData(TheSpeed_rpm, BaseDataImpellerDiameter_m, FluidDensity_kgs_m3, Valid);
    calcPumpCurveFlowAndEfficFromRunningData(FluidDensity_kgs_m3, PumpBaseDiamCurve_Qkgs_mHd,
                                             PumpBaseDiamCurrentSpeedEfficiencyCurve);
    predictRunningData(TheSpeed_rpm, PumpImpellerDiameterMax_m, FluidDensity_kgs_m3, Valid);
    calcPumpCurveFlowAndEfficFromRunningData(FluidDensity_kgs_m3, PumpMaxDiamCurve_Qkgs_mHd,
                                             PumpMaxDiamCurrentSpeedEfficiencyCurve);

    predictRunningData(TheSpeed_rpm, TheImpellerDiameter_m, FluidDensity_kgs_m3, Valid);
    calcPumpCurves(FluidDensity_kgs_m3);
}

void TPump::predictRunningData2(int TheSpeed_rpm, double TheImpellerDiameter_m, double FluidDensity_kgs_m3,
                                bool &Valid)
{
    Valid = false;
    Speed_rpm = TheSpeed_rpm;
    const double d = TheImpellerDiameter_m;
    const double d1 = BaseDataImpellerDiameter_m;
    const double dmin = PumpImpellerDiameterMin_m;
    const double dmax = PumpImpellerDiameterMax_m;
    bool innerValid = false;

    auto snapTo = [&](double diameter) {
        ImpellerDiameter_m = diameter;
        predictRunningData1(TheSpeed_rpm, diameter, FluidDensity_kgs_m3, innerValid);
        Valid = true;
    };
    if (d == d1) {
        CopyRunningDataFromBaseData();
        snapTo(d1);
    } else if (d <= dmin + 1e-6) {
        snapTo(dmin);
    } else if (d1 - 1e-6 <= d && d <= d1 + 1e-6) {
        snapTo(d1);
    } else if (TheSpeed_rpm == BaseDataSpeed_rpm && d >= dmax - 1e-6) {
        snapTo(dmax);
    } else if (TheSpeed_rpm != 0 && BaseDataSpeed_rpm != 0 && d != 0 && d1 != 0) {
        ImpellerDiameter_m = d;
        predictRunningData1(TheSpeed_rpm, d, FluidDensity_kgs_m3, innerValid);
        const int n = PumpPoints.PointsCount;
        if (n >= 1)
            PumpPoints.Points[1].EfficiencyPercent = 0;
        if (d != d1 && n >= 2) {
            const double maxFlow = PumpPoints.Points[n].Flow_kgs;
            for (int i = 2; i <= n; ++i)
                PumpPoints.Points[i].EfficiencyPercent = getEfficiencyFromQuadraticIsoEfficiencyCurves6(
                    PumpPoints.Points[i].Flow_kgs, PumpPoints.Points[i].Head_mHd, maxFlow);
            if (PumpPoints.Points[n].EfficiencyPercent > PumpPoints.Points[n - 1].EfficiencyPercent)
                PumpPoints.Points[n].EfficiencyPercent = PumpPoints.Points[n - 1].EfficiencyPercent;
        }
        Speed_rpm = TheSpeed_rpm;
        ImpellerDiameter_m = d;
        calcPumpCurves(FluidDensity_kgs_m3);
        Valid = true;
    }
}

void TPump::UpdateRunningDataForSpeedAndImpellerDiameter(int TheSpeed_rpm, double TheImpellerDiameter_m,
                                                         double FluidDensity_kgs_m3, bool &Valid)
{
    allOrNothing(*this, [&] { predictRunningData(TheSpeed_rpm, TheImpellerDiameter_m, FluidDensity_kgs_m3, Valid); });
}

void TPump::UpdateRunningDataForSpeedAndImpellerDiameter1(int TheSpeed_rpm, double TheImpellerDiameter_m,
                                                          double FluidDensity_kgs_m3, bool &Valid)
{
    allOrNothing(*this, [&] { predictRunningData1(TheSpeed_rpm, TheImpellerDiameter_m, FluidDensity_kgs_m3, Valid); });
}

void TPump::UpdateRunningDataForSpeedAndImpellerDiameter2(int TheSpeed_rpm, double TheImpellerDiameter_m,
                                                          double FluidDensity_kgs_m3, bool &Valid)
{
    allOrNothing(*this, [&] { predictRunningData2(TheSpeed_rpm, TheImpellerDiameter_m, FluidDensity_kgs_m3, Valid); });
}

void TPump::ResetToAffinityLawPredictions()
{
    const TPumpMultiplierPreset &head = PumpHeadMultiplierPresets[0];
    const TPumpMultiplierPreset &efficiency = PumpEfficiencyMultiplierPresets[0];
    FlowHeadCurveMaxImpellerMultipliers[1] = head.Max1;
    FlowHeadCurveMaxImpellerMultipliers[2] = head.Max2;
    FlowHeadCurveMinImpellerMultipliers[1] = head.Min1;
    FlowHeadCurveMinImpellerMultipliers[2] = head.Min2;
    EfficiencyCurveMaxImpellerMultipliers[1] = efficiency.Max1;
    EfficiencyCurveMaxImpellerMultipliers[2] = efficiency.Max2;
    EfficiencyCurveMinImpellerMultipliers[1] = efficiency.Min1;
    EfficiencyCurveMinImpellerMultipliers[2] = efficiency.Min2;
    EfficiencyMinImpellerPointMultipliers.Fill(1.0);
    EfficiencyMaxImpellerPointMultipliers.Fill(1.0);
}

int TPump::EfficiencyMaxImpellerPointMultipliersUsed() const
{
    int used = 0;
    for (int i = 1; i <= MaxPumpPoints; ++i)
        if (EfficiencyMaxImpellerPointMultipliers[i] != 1.0)
            ++used;
    return used;
}

int TPump::EfficiencyMinImpellerPointMultipliersUsed() const
{
    int used = 0;
    for (int i = 1; i <= MaxPumpPoints; ++i)
        if (EfficiencyMinImpellerPointMultipliers[i] != 1.0)
            ++used;
    return used;
}

// Suction specific speed in US units: rpm, US gpm and ft.
double TPump::calcSuctionSpecificSpeed(int TheSpeed_rpm, double TheFlow_kgs, double TheNPSHr_mHd_Fluid,
                                       double TheFluidDensity_kgs_m3)
{
    if (TheFlow_kgs <= 0 || TheNPSHr_mHd_Fluid <= 0 || TheFluidDensity_kgs_m3 <= 0)
        return 0;
    const double q = convertFlowUnit(unt_kg_sec, unt_gpm_USA, std_15degC_101325Pa, TheFlow_kgs,
                                     TheFluidDensity_kgs_m3, 0.0, 288.15, 1.01325);
    const double h = convertUnit(unt_m, unt_ft, TheNPSHr_mHd_Fluid);
    if (q <= 0 || h <= 0)
        return 0;
    return TheSpeed_rpm * std::sqrt(q) / std::pow(h, 0.75);
}

double TPump::calcNPSHr_mHd_fromSuctionSpecificSpeed(double TheSuctionSpecificSpeed, int TheSpeed_rpm,
                                                     double TheFlow_kgs, double TheFluidDensity_kgs_m3)
{
    if (TheFlow_kgs <= 0 || TheSuctionSpecificSpeed <= 0 || TheFluidDensity_kgs_m3 <= 0)
        return 0;
    const double q = convertFlowUnit(unt_kg_sec, unt_gpm_USA, std_15degC_101325Pa, TheFlow_kgs,
                                     TheFluidDensity_kgs_m3, 0.0, 288.15, 1.01325);
    const double h_ft = std::pow(TheSpeed_rpm * std::sqrt(q) / TheSuctionSpecificSpeed, 4.0 / 3.0);
    return convertUnit(unt_ft, unt_m, h_ft);
}

double TPump::calcBaseDataSuctionSpecificSpeed(double TheFluidDensity_kgs_m3) const
{
    const TQuadraticCurves &efficiency = PumpBaseDataEfficiencyCurve;
    if (efficiency.PointsCount < 1)
        return 0;
    double x = 0, maxY = 0;
    efficiency.CalculateXAtMaxY(x, maxY, efficiency.CurvePoints[1].X, efficiency.CurvePoints[efficiency.PointsCount].X);
    const double npshr = PumpBaseDataNPSHrCurve.CalculateY(x);
    return calcSuctionSpecificSpeed(BaseDataSpeed_rpm, x, npshr, TheFluidDensity_kgs_m3);
}

} // namespace tessaran
