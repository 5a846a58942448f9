#include "units/Gas_Calculations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace tessaran;

namespace {

// One natural-gas pipe shared by the tests: 10 km of 300 mm at 50 -> 40 bar.g.
struct GasPipe {
    double Tb = 288.15, Pb = 101325, E = 1.0, P1 = 50, P2 = 40, A = 1.01325, L = 10000, D = 0.3, e = 4.5e-5,
           f = 0.0, RhoRef = 0.73, PRef = 0, T = 288.15, Mu = 0.011, Z = 1.0;

    GasPipe()
    {
        // Darcy factor at a representative Reynolds number of this pipe.
        f = calcFrictionFactor(1e7, D, e);
    }
    double flow(TMethodOfCalculationCompressible eq, double p1, double p2) const
    {
        return calcCompressibleFlow(eq, Tb, Pb, E, p1, p2, A, L, D, e, f, RhoRef, PRef, T, Mu, Z);
    }
    double flow(TMethodOfCalculationCompressible eq) const { return flow(eq, P1, P2); }
};

const TMethodOfCalculationCompressible allEquations[] = {
    CompleteIsothermalFlowEquation,    GeneralIsothermalFlowEquation, WeymouthIsothermalFlowEquation,
    PanhandleAIsomthermalFlowEquation, PanhandleBIsomthermalFlowEquation, AGAIsothermalFlowEquation,
    IGTIsothermalFlowEquation};

} // namespace

TEST(GasFlowEquations, CompleteAndGeneralIsothermalEquationsAgree)
{
    // Both solve the same isothermal pipe flow; they differ only by the
    // kinetic-energy term, which is tiny next to fL/D in a long pipe.
    const GasPipe pipe;
    const double complete = pipe.flow(CompleteIsothermalFlowEquation);
    const double general = pipe.flow(GeneralIsothermalFlowEquation);
    ASSERT_GT(complete, 0.0);
    EXPECT_NEAR(general, complete, 0.01 * complete);
    // The empirical equations land in the same range for this pipe.
    for (const auto eq : allEquations) {
        const double m = pipe.flow(eq);
        EXPECT_GT(m, 0.5 * complete) << eq;
        EXPECT_LT(m, 2.0 * complete) << eq;
    }
}

TEST(GasFlowEquations, ReversedEndsOnlyChangeTheSignAndEqualEndsGiveNothing)
{
    const GasPipe pipe;
    for (const auto eq : allEquations) {
        SCOPED_TRACE(static_cast<int>(eq));
        const double forward = pipe.flow(eq, 50, 40);
        EXPECT_GT(forward, 0.0);
        // For the complete equation too: its density is taken at the upstream end.
        EXPECT_NEAR(pipe.flow(eq, 40, 50), -forward, 1e-12 * forward);
        EXPECT_EQ(pipe.flow(eq, 45, 45), 0.0);
    }
    EXPECT_EQ(pipe.flow(static_cast<TMethodOfCalculationCompressible>(7)), 0.0);
}

TEST(GasFlowEquations, PressureDropSolversInvertEveryEquation)
{
    const GasPipe p;
    for (const auto eq : allEquations) {
        SCOPED_TRACE(static_cast<int>(eq));
        const double m = p.flow(eq);
        bool converged = false;
        const double dropIn = solvePressureDropKnownInlet(eq, p.Tb, p.Pb, p.E, p.P1, m, p.A, p.L, p.D, p.e, p.f,
                                                          p.RhoRef, p.PRef, p.T, p.Mu, p.Z, converged);
        EXPECT_TRUE(converged);
        EXPECT_NEAR(dropIn, p.P1 - p.P2, 1e-6);
        converged = false;
        const double dropOut = solvePressureDropKnownOutlet(eq, p.Tb, p.Pb, p.E, p.P2, m, p.A, p.L, p.D, p.e, p.f,
                                                            p.RhoRef, p.PRef, p.T, p.Mu, p.Z, converged);
        EXPECT_TRUE(converged);
        EXPECT_NEAR(dropOut, p.P1 - p.P2, 1e-6);
    }
}

TEST(GasFlowEquations, UnreachableFlowIsReportedAndEndsNearTheFlowMaximum)
{
    const GasPipe p;
    const auto eq = CompleteIsothermalFlowEquation;
    bool converged = true;
    const double drop = solvePressureDropKnownInlet(eq, p.Tb, p.Pb, p.E, p.P1, 1e6, p.A, p.L, p.D, p.e, p.f,
                                                    p.RhoRef, p.PRef, p.T, p.Mu, p.Z, converged);
    EXPECT_FALSE(converged);
    const double outlet = p.P1 - drop;
    EXPECT_GT(outlet, -p.A);
    EXPECT_LT(outlet, p.P1);
    const double atEnd = p.flow(eq, p.P1, outlet);
    for (const double step : {-0.5, 0.5})
        EXPECT_GE(atEnd, p.flow(eq, p.P1, outlet + step)) << step;
    // The plain entry point gives the same answer.
    EXPECT_EQ(solvePressureDropKnownInlet(eq, p.Tb, p.Pb, p.E, p.P1, 1e6, p.A, p.L, p.D, p.e, p.f, p.RhoRef,
                                          p.PRef, p.T, p.Mu, p.Z),
              drop);
}

TEST(GasFlowEquations, CompressibilityModelsEnterTheFlowAndTheDrop)
{
    GasPipe p;
    const auto eq = GeneralIsothermalFlowEquation;
    const auto withZ = [&](TZCompressibilityModel model, double userZ) {
        return calcCompressibleFlowWithZ(eq, model, p.Tb, p.Pb, p.E, p.P1, p.P2, p.A, p.L, p.D, p.e, p.f, p.RhoRef,
                                         p.PRef, p.T, p.Mu, userZ);
    };
    EXPECT_DOUBLE_EQ(withZ(IdealGasLawModel, 0.5), p.flow(eq));
    EXPECT_NEAR(withZ(CustomZModel, 0.81), p.flow(eq) / 0.9, 1e-9 * p.flow(eq));
    const double zAverage =
        calcCompressibilityZ(CNGAModel, calcAveragePressure(p.P1, p.P2, p.A), p.T, p.RhoRef, p.PRef, p.T, 0.5);
    EXPECT_LT(zAverage, 1.0);
    EXPECT_NEAR(withZ(CNGAModel, 0.5), p.flow(eq) / std::sqrt(zAverage), 1e-9 * p.flow(eq));

    // With CNGA the drop solver iterates Z at the average pressure; the flow
    // at that Z and drop is the target.
    const double target = 20.0;
    const double drop = calcPressureDropKnownInlet(eq, CNGAModel, p.Tb, p.Pb, p.E, p.P1, target, p.A, p.L, p.D,
                                                   p.e, p.f, p.RhoRef, p.PRef, p.T, p.Mu, 0.5);
    const double z = calcCompressibilityZ(CNGAModel, calcAveragePressure(p.P1, p.P1 - drop, p.A), p.T, p.RhoRef,
                                          p.PRef, p.T, 0.5);
    p.Z = z;
    EXPECT_NEAR(p.flow(eq, p.P1, p.P1 - drop), target, 1e-3 * target);
    const double dropOut = calcPressureDropKnownOutlet(eq, CustomZModel, p.Tb, p.Pb, p.E, p.P1 - drop, target, p.A,
                                                       p.L, p.D, p.e, p.f, p.RhoRef, p.PRef, p.T, p.Mu, 1.0);
    p.Z = 1.0;
    EXPECT_NEAR(p.flow(eq, p.P1 - drop + dropOut, p.P1 - drop), target, 1e-6 * target);
}

TEST(GasFlowEquations, AGAOnASmoothPipeUsesThePartiallyTurbulentFactor)
{
    GasPipe p;
    const double nearlySmooth = (p.e = 1e-12, p.flow(AGAIsothermalFlowEquation));
    const double smooth = (p.e = 0.0, p.flow(AGAIsothermalFlowEquation));
    EXPECT_NEAR(smooth, nearlySmooth, 1e-9 * nearlySmooth);
    EXPECT_GT(smooth, p.flow(GeneralIsothermalFlowEquation) * 0.8);

    for (const double re : {1e4, 1e6, 1e8}) {
        bool converged = false;
        const double ft = calcAGASmoothPipeTransmissionFactor(re, converged);
        EXPECT_TRUE(converged);
        EXPECT_NEAR(ft, 4 * std::log10(re / ft) - 0.6, 1e-3) << re;
    }
    EXPECT_EQ(calcAGASmoothPipeTransmissionFactor(100), 10.0); // never below 10
    EXPECT_EQ(calcAGAFullyTurbulentTransmissionFactor(0.3, 0), 1.0);
    EXPECT_NEAR(calcAGAFullyTurbulentTransmissionFactor(0.3, 3e-5), 4 * std::log10(3.7e4), 1e-12);
    EXPECT_EQ(calcAGAPartiallyTurbulentTransmissionFactor(0, 1), 1.0);
    EXPECT_DOUBLE_EQ(calcAGATransmissionFactor(0.3, 3e-5, 1e8, 1.0), calcAGAFullyTurbulentTransmissionFactor(0.3, 3e-5));
    EXPECT_DOUBLE_EQ(calcAGATransmissionFactor(0.3, 3e-5, 1e5, 0.95),
                     calcAGAPartiallyTurbulentTransmissionFactor(1e5, 0.95));
}

TEST(GasProperties, CompressibilityModels)
{
    // At or below 100 psi.g (6.8948 bar.g) the correlation gives 1.
    EXPECT_EQ(calcCNGACompressibility(6.89, 288.15, 0.6), 1.0);
    const double psig = 50 * 14.5037738, rankine = 288.15 * 1.8;
    const double expected = 1 / (1 + psig * 344400 * std::pow(10.0, 1.785 * 0.6) / std::pow(rankine, 3.825));
    EXPECT_NEAR(calcCNGACompressibility(50, 288.15, 0.6), expected, 1e-6);
    EXPECT_LT(calcCNGACompressibility(100, 288.15, 0.6), calcCNGACompressibility(50, 288.15, 0.6));

    EXPECT_EQ(calcCompressibilityZ(IdealGasLawModel, 50, 288.15, 0.73, 0, 288.15, 0.8), 1.0);
    EXPECT_EQ(calcCompressibilityZ(CustomZModel, 50, 288.15, 0.73, 0, 288.15, 0.8), 0.8);
    EXPECT_EQ(calcCompressibilityZ(static_cast<TZCompressibilityModel>(9), 50, 288.15, 0.73, 0, 288.15, 0.8), 1.0);
    EXPECT_DOUBLE_EQ(calcCompressibilityZ(CNGAModel, 50, 288.15, 0.735, 0, 288.15, 0.8),
                     calcCNGACompressibility(50, 288.15, 0.735 * 1.01325 / (1.01325 * 1.225)));
}

TEST(GasProperties, DensitySpecificGravityAndPressures)
{
    EXPECT_NEAR(calcGasSpecificGravity(1.225, 0, 288.15), 1.0, 1e-12);
    EXPECT_NEAR(calcGasSpecificGravity(1.225, 1.01325, 288.15), 0.5, 1e-12);
    EXPECT_EQ(calcGasSpecificGravity(0, 0, 288.15), 1.0);

    // Ideal gas: twice the absolute pressure, twice the density; twice the temperature, half.
    EXPECT_NEAR(calcGasDensity(1.225, 0, 288.15, 1.01325, 1.01325, 288.15), 2.45, 1e-12);
    EXPECT_NEAR(calcGasDensity(1.225, 0, 288.15, 1.01325, 0, 576.3), 0.6125, 1e-12);
    EXPECT_NEAR(calcGasDensity(1.225, 0, 288.15, 1.01325, -2, 288.15), 1.225 * 0.1 / 1.01325, 1e-12);
    EXPECT_EQ(calcGasDensity(1.225, -2, 288.15, 1.01325, 0, 288.15), 0.0);
    EXPECT_NEAR(calcMolecularWeight(1.225, 0, 288.15, 1.01325), 28.96, 0.01);
    EXPECT_EQ(calcMolecularWeight(1.225, -2, 288.15, 1.01325), 0.0);
    EXPECT_NEAR(calcSpecificGasConstant(28.9647), 287.055, 1e-3);

    EXPECT_NEAR(calcGasDensityAtPressure(2, 1, 0.8, 3, 1), 2 * 4.0 / 2.0 / 0.8, 1e-12);
    EXPECT_NEAR(calcGasDensityAtPressure(2, 1, 0.0, 3, 1), 2 * 0.1 / 2.0, 1e-12);
    EXPECT_NEAR(calcGasDensityAtPressure(2, 1, 1.0, -1, 1), 2 * 0.1 / 2.0, 1e-12);
    EXPECT_EQ(calcGasDensityAtPressure(2, -1, 1.0, 3, 1), 0.0);

    EXPECT_NEAR(calcAveragePressure(5, 5, 1), 5.0, 1e-12);
    EXPECT_NEAR(calcAveragePressure(9, 1, 1), 2.0 / 3 * (10 + 2 - 20.0 / 12) - 1, 1e-12);
    EXPECT_EQ(calcAveragePressure(-1, -1, 1), -1.0);

    double p1 = 1, p2 = 2;
    bool swapped = false;
    orderEndPressuresHighFirst(p1, p2, swapped, 1);
    EXPECT_TRUE(swapped);
    EXPECT_EQ(p1, 2.0);
    double a1 = 0, a2 = 0;
    absoluteEndPressuresHighFirst(a1, a2, swapped, -3, 1, 1);
    EXPECT_TRUE(swapped);
    EXPECT_NEAR(a1, 2e5, 1e-9);
    EXPECT_EQ(a2, 0.0001);
}

TEST(GasProperties, ElevationFittingsSonicVelocityAndCriticalRatio)
{
    EXPECT_NEAR(calcElevationPressureChange(LinearTheoryThenNewton, 10, 110, 5, 4, 1, 0.8, 0, 1),
                100 * 9.80665 * 0.8 / 1e5, 1e-15);
    const double rhoAvg = calcGasDensityAtPressure(0.8, 0, 1, calcAveragePressure(5, 4, 1), 1);
    EXPECT_NEAR(calcElevationPressureChange(CompressibleNodeAdjust, 110, 10, 5, 4, 1, 0.8, 0, 1),
                -100 * 9.80665 * rhoAvg / 1e5, 1e-15);

    // At the reference pressure the gas has its reference density: K v²/2g.
    const double d = 0.1, area = 3.14159265358979323846 * d * d / 4;
    const double v = 2.0 / 5.0 / area;
    EXPECT_NEAR(calcGasFittingHeadLoss(2, d, 1.5, 5, 3, 1, 3, 1), 1.5 * v * v / 19.6133, 1e-9);
    // At four times the absolute pressure: a quarter of the velocity², four times the density.
    EXPECT_NEAR(calcGasFittingHeadLoss(2, d, 1.5, 5, 3, 1, 15, 1), 1.5 * v * v / 19.6133 / 4, 1e-9);
    const double loss = calcGasFittingPressureLoss(2, d, 1.5, 5, 3, 1, 3, 1);
    EXPECT_NEAR(loss, 1.5 * v * v / 19.6133 * 9.80665 * 5 / 1e5, 1e-12);
    EXPECT_NEAR(calcGasFittingPressureLossDerivative(2, d, 1.5, 5, 3, 1, 3, 1), 2 * loss / 2, 1e-6 * loss);
    EXPECT_EQ(calcGasFittingPressureLossDerivative(0, d, 1.5, 5, 3, 1, 3, 1), 0.0);

    EXPECT_NEAR(calcSonicVelocity(1.4, 0, 1.225, 1.01325), std::sqrt(1.4 * 101325 / 1.225), 1e-9);
    EXPECT_EQ(calcSonicVelocity(1.4, -2, 1.225, 1.01325), 0.0);
    EXPECT_EQ(calcSonicVelocity(1.4, 0, 0, 1.01325), 0.0);

    EXPECT_NEAR(calcCriticalPressureRatio(1.4), 0.528282, 1e-6);
    EXPECT_EQ(calcCriticalPressureRatio(1.0), 0.5);
    EXPECT_EQ(calcCriticalPressureRatio(0.7), 0.5);
}
