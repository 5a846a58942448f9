#include "units/Calculations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace tessaran;

namespace {

const double pi = 3.14159265358979323846;

// The Darcy factor from the Colebrook-White form 2 log10(e/D + 9.35/(Re √f)) + 1/√f = 1.14,
// solved by plain bisection on x = √f, independently of the program's iteration.
double colebrookByBisection(double re, double relativeRoughness)
{
    const auto g = [&](long double x) {
        return 2.0L * std::log10(relativeRoughness + 9.35L / (re * x)) + 1.0L / x - 1.14L;
    };
    long double low = 0.01L, high = 1.0L; // g(low) > 0 > g(high) for every case used here
    for (int i = 0; i < 200; ++i) {
        const long double mid = (low + high) / 2;
        (g(mid) > 0 ? low : high) = mid;
    }
    return static_cast<double>(low * low);
}

double explicitTurbulent(double re, double relativeRoughness)
{
    double x = relativeRoughness / 3.7;
    if (x <= 0)
        x = 1e-7;
    const double y = std::pow(x, 1.11) + 6.9 / re;
    return std::pow(1.0 / (-1.8 * std::log10(y)), 2);
}

} // namespace

TEST(FrictionFactor, FollowsEachRegimeAndItsBorders)
{
    struct Case {
        double re, f, start;
    } cases[] = {
        {-5, 0, 0},
        {0, 0, 0},
        {2000, 0.032, 0.032},
        {2300, 64.0 / 2300, 64.0 / 2300},
        {2300.5, 800.5 / 30000, 800.5 / 30000},
        {3000, 0.05, 0.05},
        // At 3500 the start value is already turbulent; the factor is still critical.
        {3500, 2000.0 / 30000, explicitTurbulent(3500, 0.001)},
    };
    for (const auto &c : cases) {
        EXPECT_NEAR(calcFrictionFactor(c.re, 0.1, 0.0001), c.f, 1e-15) << c.re;
        EXPECT_NEAR(calcFrictionFactorStart(c.re, 0.1, 0.0001), c.start, 1e-15) << c.re;
    }
    struct Regime {
        double re;
        const char *name;
    } regimes[] = {{0, "Laminar"}, {2300, "Laminar"}, {2300.01, "Critical"}, {3499.9, "Critical"}, {3500, "Turbulent"}};
    for (const auto &r : regimes)
        EXPECT_EQ(calcFlowRegime(r.re), r.name) << r.re;
}

TEST(FrictionFactor, TurbulentValuesSolveTheColebrookEquation)
{
    struct Case {
        double re, d, e;
    } cases[] = {{3500.001, 0.1, 0.0001}, {4000, 0.05, 0}, {1e5, 0.2, 4.5e-5},
                 {1e6, 0.1, 0.0001},      {1e8, 1.0, 0},   {5e4, 0.02, 0.001}};
    for (const auto &c : cases) {
        bool converged = false;
        const double f = calcFrictionFactor(c.re, c.d, c.e, converged);
        EXPECT_TRUE(converged) << c.re;
        // Solved to the last bits of a double, well within the 1e-10 the
        // iteration's residual stops at.
        EXPECT_NEAR(f, colebrookByBisection(c.re, c.e / c.d), 1e-14 * f) << c.re << " " << c.e;
    }
    // Far outside any pipe flow the iteration breaks down: the caller
    // hears of it and gets the explicit value.
    bool converged = true;
    EXPECT_EQ(calcFrictionFactor(1e300, 0.1, 0, converged), calcFrictionFactorStart(1e300, 0.1, 0));
    EXPECT_FALSE(converged);
    // A smooth pipe: the explicit start takes its floor for e/D, the iteration e/D = 0.
    EXPECT_DOUBLE_EQ(calcFrictionFactorStart(1e5, 0.1, 0), explicitTurbulent(1e5, 0));
    EXPECT_NEAR(calcFrictionFactor(1e5, 0.1, 0), colebrookByBisection(1e5, 0), 1e-14);
    EXPECT_DOUBLE_EQ(calcFrictionFactorFromTransmissionFactor(20), 0.01);
}

// A caller that keeps a pipe's wall gets bit for bit the factor of the plain
// form in every regime, smooth and impossible walls included: the solver's
// recorded results rest on it.
TEST(FrictionFactor, KeptWallGivesTheSameBitsAsBoreAndRoughness)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double walls[][2] = {{0.1, 4.5e-5}, {0.05, 0}, {0.3, 1e-3}, {0.1, 1e-300}, {0.1, nan}, {0, 1e-4}};
    for (const auto &w : walls) {
        const TFrictionWall wall = calcFrictionWall(w[0], w[1]);
        for (const double re : {-1.0, 0.0, 2000.0, 3000.0, 3500.0, 3500.5, 1e4, 2.5e5, 1e7, 1e300, nan}) {
            SCOPED_TRACE(std::to_string(w[0]) + " " + std::to_string(w[1]) + " " + std::to_string(re));
            bool plainConverged = false, keptConverged = true;
            const double plain = calcFrictionFactor(re, w[0], w[1], plainConverged);
            const double kept = calcFrictionFactor(re, wall, keptConverged);
            EXPECT_TRUE(plain == kept || (std::isnan(plain) && std::isnan(kept))) << plain << " " << kept;
            EXPECT_EQ(plainConverged, keptConverged);
            const double plainStart = calcFrictionFactorStart(re, w[0], w[1]);
            const double keptStart = calcFrictionFactorStart(re, wall);
            EXPECT_TRUE(plainStart == keptStart || (std::isnan(plainStart) && std::isnan(keptStart)));
        }
    }
    // Many at once, turbulent ones among the others and more of them than
    // are solved side by side: each its own bits.
    std::vector<double> re;
    std::vector<const TFrictionWall *> of;
    const TFrictionWall rough = calcFrictionWall(0.1, 1e-3), smooth = calcFrictionWall(0.2, 0),
                        impossible = calcFrictionWall(0.1, -1);
    const TFrictionWall *kinds[] = {&rough, &smooth, &impossible};
    for (int i = 0; i < 23; ++i) {
        re.push_back(i % 5 == 0 ? 1000.0 + 200 * i : 4000.0 * (i + 1));
        of.push_back(kinds[i % 3]);
    }
    std::vector<double> f(re.size());
    calcFrictionFactors(static_cast<int>(re.size()), re.data(), of.data(), f.data());
    for (std::size_t i = 0; i < re.size(); ++i) {
        const double alone = calcFrictionFactor(re[i], *of[i]);
        EXPECT_TRUE(f[i] == alone || (std::isnan(f[i]) && std::isnan(alone))) << i << " " << f[i] << " " << alone;
    }
}

// A root carried from an earlier solve is only a start: the factor is the
// fresh one to the last bits whatever was carried, an implausible root is
// ignored, and a solve that cannot converge leaves no root to carry.
TEST(FrictionFactor, CarriedRootsStartTheSolveAndLandOnTheSameFactor)
{
    const TFrictionWall rough = calcFrictionWall(0.1, 1e-3), smooth = calcFrictionWall(0.2, 0);
    struct Case {
        double re;
        const TFrictionWall *wall;
        double carried;
    } cases[] = {
        {1e5, &rough, 0},           {1e5, &rough, 0.19},         {1e5, &rough, 0.05000001},
        {1e5, &rough, 0.49},        {1e5, &rough, 7.0},          {1e5, &rough, -0.2},
        {4000, &smooth, 0.3},       {1e8, &smooth, 0.09},        {2.5e5, &smooth, 0.12},
        {1e7, &rough, 0.2},         {2000, &rough, 0.2},         {1e300, &smooth, 0.1},
    };
    std::vector<double> re, roots, f(std::size(cases));
    std::vector<const TFrictionWall *> walls;
    for (const Case &c : cases) {
        re.push_back(c.re);
        walls.push_back(c.wall);
        roots.push_back(c.carried);
    }
    calcFrictionFactors(static_cast<int>(re.size()), re.data(), walls.data(), f.data(), roots.data());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(std::to_string(cases[i].re) + " carried " + std::to_string(cases[i].carried));
        bool converged = false;
        const double fresh = calcFrictionFactor(cases[i].re, *cases[i].wall, converged);
        EXPECT_NEAR(f[i], fresh, 1e-15 * fresh);
        if (converged && cases[i].re > 3500)
            EXPECT_NEAR(roots[i] * roots[i], f[i], 1e-15 * f[i]);
        else
            EXPECT_EQ(roots[i], 0.0);
    }
}

// Solved in a batch, each factor and the root it leaves are those of the
// same Reynolds number, wall and carried root solved alone, whatever its
// neighbours: carried roots near and far from their solutions, implausible
// ones, non-turbulent lanes and impossible walls mixed over more lanes than
// are worked on at once.
TEST(FrictionFactor, BatchOfCarriedRootsGivesEachLaneItsOwnBits)
{
    const TFrictionWall walls[] = {calcFrictionWall(0.1, 1e-3), calcFrictionWall(0.2, 0),
                                   calcFrictionWall(0.05, 4.5e-5), calcFrictionWall(0.1, -1)};
    // How far from its own solution each lane's root is carried, as a
    // factor on the Reynolds number it was solved for (0: nothing carried).
    const double shifts[] = {1.0, 1.001, 1.02, 1.3, 0.5, 3.0, 0.0, 1e-3};
    std::vector<double> re, carried;
    std::vector<const TFrictionWall *> of;
    for (int i = 0; i < 203; ++i) {
        const TFrictionWall &wall = walls[i % 4];
        const double r = i % 17 == 0 ? 3000.0 : 4000.0 * std::pow(1.05, i);
        const double shift = shifts[i % 8];
        re.push_back(r);
        of.push_back(&wall);
        carried.push_back(shift == 0 ? 0.0 : std::sqrt(calcFrictionFactor(r * shift, wall)));
    }
    carried[5] = 0.7;   // no friction factor of the law
    carried[11] = 0.06; // a plausible start far from the root
    std::vector<double> f(re.size()), roots = carried;
    calcFrictionFactors(static_cast<int>(re.size()), re.data(), of.data(), f.data(), roots.data());
    for (std::size_t i = 0; i < re.size(); ++i) {
        SCOPED_TRACE(std::to_string(i) + " Re " + std::to_string(re[i]) + " carried " + std::to_string(carried[i]));
        double alone = 0, root = carried[i];
        calcFrictionFactors(1, &re[i], &of[i], &alone, &root);
        EXPECT_TRUE(f[i] == alone || (std::isnan(f[i]) && std::isnan(alone))) << f[i] << " " << alone;
        EXPECT_EQ(roots[i], root);
        bool converged = false;
        const double fresh = calcFrictionFactor(re[i], *of[i], converged);
        if (converged)
            EXPECT_NEAR(f[i], fresh, 1e-15 * fresh);
    }
}

TEST(HydraulicFormulas, VelocityFlowAndReynoldsNumber)
{
    EXPECT_NEAR(calcReynoldsNumber(1.0, 0.1, 1.0, 1000, 1.0), 1e5, 1e-9);
    EXPECT_NEAR(calcReynoldsNumber(-1.0, 0.1, 1.0, 1000, 2.0), 5e4, 1e-9);
    const double d = 0.15, area = pi * d * d / 4;
    EXPECT_NEAR(calcVelocity(0.03, d, 1.0), 0.03 / area, 1e-12);
    EXPECT_NEAR(calcVelocity(0.03, d, 1.5), 1.5 * 0.03 / area, 1e-12);
    EXPECT_NEAR(calcFlowFromVelocity(calcVelocity(-0.03, d, 1.5), d, 1.5), -0.03, 1e-15);
    EXPECT_NEAR(calcVelocityFromMassFlow(30, 1000, d), 0.03 / area, 1e-12);
    // A flow through no bore has no velocity that could stand for it.
    for (const double bad : {0.0, -0.1}) {
        EXPECT_TRUE(std::isnan(calcVelocity(1, bad, 1)));
        EXPECT_EQ(calcVelocity(0, bad, 1), 0.0);
        EXPECT_EQ(calcFlowFromVelocity(1, bad, 1), 0.0);
    }
}

// A turbulent friction factor from a roughness no pipe can have is not a
// number: none of these may pass for a smooth or merely rough pipe.
TEST(FrictionFactor, ImpossibleRoughnessOrBoreGivesNoNumber)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        double d, e;
    } cases[] = {{0.1, nan}, {0.1, inf}, {0.1, -1e-4}, {0.1, 0.1}, {0.1, 1e6}, {0, 1e-4}, {-0.1, 1e-4}, {nan, 1e-4}};
    for (const auto &c : cases) {
        bool converged = true;
        EXPECT_TRUE(std::isnan(calcFrictionFactor(1e5, c.d, c.e, converged))) << c.d << " " << c.e;
        EXPECT_FALSE(converged);
        EXPECT_TRUE(std::isnan(calcFrictionFactorStart(1e5, c.d, c.e))) << c.d << " " << c.e;
    }
    // Laminar flow does not depend on the wall.
    EXPECT_DOUBLE_EQ(calcFrictionFactor(2000, 0.1, nan), 0.032);
}

TEST(HydraulicFormulas, LossesAreOddInTheFlowAndTheirDerivativesMatchThem)
{
    const double f = 0.02, l = 120, d = 0.1, rho = 998, k = 3.5;
    const auto darcyBar = [&](double m) { // friction loss with f held
        return calcDarcyHeadLoss(f, l, d, calcVelocityFromMassFlow(m, rho, d)) * rho * 9.80665 / 1e5;
    };
    const auto fittingBar = [&](double m) {
        return calcFittingHeadLoss(k, calcVelocityFromMassFlow(m, rho, d)) * rho * 9.80665 / 1e5;
    };
    const double r = calcFittingFlowResistance(k, d);
    for (const double m : {-15.0, -0.4, 0.4, 15.0}) {
        SCOPED_TRACE(m);
        const double v = calcVelocityFromMassFlow(m, rho, d);
        EXPECT_DOUBLE_EQ(calcDarcyHeadLoss(f, l, d, -v), -calcDarcyHeadLoss(f, l, d, v));
        EXPECT_DOUBLE_EQ(calcFittingHeadLoss(k, -v), -calcFittingHeadLoss(k, v));
        EXPECT_NEAR(calcFittingHeadLoss(k, v), r * (m / rho) * std::fabs(m / rho), 1e-12);

        const double h = 1e-4 * std::fabs(m);
        const double darcySlope = (darcyBar(m + h) - darcyBar(m - h)) / (2 * h);
        const double fittingSlope = (fittingBar(m + h) - fittingBar(m - h)) / (2 * h);
        EXPECT_GT(calcDarcyPressureLossDerivative(m, l, d, f, rho), 0.0);
        EXPECT_NEAR(calcDarcyPressureLossDerivative(m, l, d, f, rho), darcySlope, 1e-6 * darcySlope);
        // Reversed flow still has a rising loss: the slope stays positive.
        EXPECT_GT(calcFittingLossDerivative(r, m, rho), 0.0);
        EXPECT_NEAR(calcFittingLossDerivative(r, m, rho), fittingSlope, 1e-6 * fittingSlope);
    }
}

TEST(HydraulicFormulas, ValveAndSprinklerCoefficientsAsLossCoefficients)
{
    const double d = 0.05, area = pi * d * d / 4;
    const auto k = [&](double flow_m3s, double drop_Pa) {
        const double v = flow_m3s / area;
        return 2 * 9.80665 * (drop_Pa / (998 * 9.80665)) / (v * v);
    };
    EXPECT_NEAR(calcKFromKv(40, d), k(40 / 3600.0, 1e5), 1e-9 * k(40 / 3600.0, 1e5));
    const double cvFlow = 46.0 * 3.785411784e-3 / 60;
    EXPECT_NEAR(calcKFromCv(46, d), k(cvFlow, 6894.757293168), 1e-6 * k(cvFlow, 6894.757293168));
    EXPECT_NEAR(calcKFromSprinklerK(80, d), k(80e-3 / 60, 1e5), 1e-9 * k(80e-3 / 60, 1e5));
    for (const double bad : {0.0, -0.05}) {
        EXPECT_EQ(calcKFromKv(40, bad), 0.0);
        EXPECT_EQ(calcKFromCv(40, bad), 0.0);
        EXPECT_EQ(calcKFromSprinklerK(40, bad), 0.0);
    }
    EXPECT_EQ(calcKFromKv(0, d), 0.0);
}

TEST(HydraulicFormulas, PumpPowerAndPipeWeight)
{
    EXPECT_NEAR(calcPumpPower(0.1, 50, 1000), 49.03325, 1e-9);
    EXPECT_NEAR(calcPumpPower(-0.1, 50, 1000), 49.03325, 1e-9);
    EXPECT_NEAR(calcPumpPowerSigned(-0.1, 50, 1000), -49.03325, 1e-9);
    EXPECT_NEAR(calcPumpPowerHP(0.1, 50, 1000), 49.03325 / 0.7456999, 1e-9);

    // Steel, 0.2836 lb/in3 = 7850 kg/m3 near enough; 1 lb/in3 = 27679.9047 kg/m3.
    const double di = 0.1023, od = 0.1143, ring = pi / 4 * (od * od - di * di);
    const double weight = calcPipeWeightPerLength(di, od, 0.2836);
    EXPECT_NEAR(weight, ring * 0.2836 * 27679.9047, 1e-6 * weight);
    EXPECT_NEAR(calcMaterialDensityFromPipeWeight(di, od, weight), 0.2836, 1e-12);
    EXPECT_EQ(calcMaterialDensityFromPipeWeight(od, di, weight), 0.0);
    EXPECT_EQ(calcMaterialDensityFromPipeWeight(di, di, weight), 0.0);
}

TEST(HydraulicFormulas, LinearTheoryCoefficientsReproduceTheFrictionLoss)
{
    double k = -1, n = -1;
    calcLinearTheoryPipeKN(100, 0, 0.1, 1e-4, 1, 1000, 1, k, n);
    EXPECT_EQ(k, 0.0);
    EXPECT_EQ(n, 2.0);

    struct Case {
        double m; // kg/s
        double nLow, nHigh;
    } cases[] = {{0.005, 1.0, 1.0}, {-0.005, 1.0, 1.0}, {20, 1.75, 2.0}, {-20, 1.75, 2.0}};
    const double l = 250, d = 0.1, e = 4.5e-5, mu = 1.0, rho = 998;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.m);
        calcLinearTheoryPipeKN(l, c.m, d, e, mu, rho, 1.0, k, n);
        EXPECT_GE(n, c.nLow - 1e-12);
        EXPECT_LE(n, c.nHigh + 1e-12);
        // K·|m1|^N is the friction loss in bar at the first point, m1 = 0.8 m.
        const double m1 = 0.8 * c.m;
        const double v1 = calcVelocity(m1 / rho, d, 1);
        const double f1 = calcFrictionFactor(calcReynoldsNumber(v1, d, mu, rho, 1), d, e);
        const double loss1 = std::fabs(calcDarcyHeadLoss(f1, l, d, v1)) * rho * 9.80665 / 1e5;
        EXPECT_NEAR(k * std::pow(std::fabs(m1), n), loss1, 1e-9 * loss1);
    }
}

// Pipes worked out together give each the bits it gets alone, whatever the
// mix: no flow, laminar, a critical and a turbulent point, impossible walls,
// an odd count.
TEST(HydraulicFormulas, LinearTheoryCoefficientsOfManyPipesAreEachPipesOwn)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double l, m, d, e, mu, rho;
    } cases[] = {{250, 20, 0.1, 4.5e-5, 1, 998},   {100, 0, 0.1, 1e-4, 1, 1000},  {80, 0.005, 0.1, 4.5e-5, 1, 998},
                 {120, -7, 0.15, 1e-3, 1.2, 990}, {60, 0.25, 0.1, 4.5e-5, 1, 998}, {90, 3, 0.05, nan, 1, 998},
                 {300, 45, 0.2, 0, 0.8, 1010},    {40, -0.3, 0.025, 1e-5, 1, 998}, {500, 12, 0.1, 2e-4, 1, 998}};
    constexpr int count = sizeof cases / sizeof cases[0];
    TFrictionWall walls[count];
    TLinearTheoryPipe pipes[count];
    for (int i = 0; i < count; ++i) {
        const Case &c = cases[i];
        walls[i] = calcFrictionWall(c.d, c.e);
        pipes[i] = {c.l, c.m, c.d, &walls[i], c.mu, c.rho, 1.0};
    }
    double k[count], n[count], linear[count];
    calcLinearTheoryPipesKN(count, pipes, k, n, linear);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const Case &c = cases[i];
        double kAlone = 0, nAlone = 0;
        calcLinearTheoryPipeKN(c.l, c.m, c.d, c.e, c.mu, c.rho, 1.0, kAlone, nAlone);
        EXPECT_TRUE(k[i] == kAlone || (std::isnan(k[i]) && std::isnan(kAlone))) << k[i] << " " << kAlone;
        EXPECT_TRUE(n[i] == nAlone || (std::isnan(n[i]) && std::isnan(nAlone))) << n[i] << " " << nAlone;
        // The linearised coefficient is K·|m|^(N-1), worked out without a
        // second power of the flow.
        const double expected = c.m == 0 ? 0.0 : k[i] * std::pow(std::fabs(c.m), n[i] - 1.0);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(linear[i])) << linear[i];
        else
            EXPECT_NEAR(linear[i], expected, 1e-13 * std::fabs(expected));
    }
}

TEST(HydraulicFormulas, ScaledAbsolutePressure)
{
    EXPECT_NEAR(scaleAbsolutePressure(2, 1, 3, 1), 1.0, 1e-15);  // 4 bar.a halved
    EXPECT_NEAR(scaleAbsolutePressure(1, 3, 0, 1), 2.0, 1e-15);  // 1 bar.a tripled
    EXPECT_NEAR(scaleAbsolutePressure(2, 0, 3, 1), 4 * 0.001 / 2 - 1, 1e-15);
}
