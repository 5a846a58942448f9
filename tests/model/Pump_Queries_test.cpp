#include "model/Pump_Class.h"

#include "Pump_Fixture.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::MakeTypicalPump;
using test::PumpPointRow;
using test::SetPumpPoints;
using test::Water;

constexpr double BarPerMetreOfWater = 9.80665 * 1000 / 100000;

TEST(PumpQueries, HeadIsTheSameForAFlowAndItsNegative)
{
    TPump pump;
    MakeTypicalPump(pump);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid(-0.01, Water), pump.calcPumpHead_mHd_Fluid(0.01, Water));
    EXPECT_NEAR(pump.calcPumpHead_mHd_Fluid(60.0 / 3600, Water), 41, 1e-9);
    // Far beyond the last point the fitted quadratic falls below zero.
    EXPECT_LT(pump.PumpCurve_Qm3s_mHd.CalculateY(0.1), 0);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid(0.1, Water), 0);
    EXPECT_NEAR(pump.calcPumpHead_Bar(20, Water), pump.calcPumpHead_mHd_Fluid(0.02, Water) * BarPerMetreOfWater,
                1e-12);
    EXPECT_LT(pump.calcPumpHead_mHd_Fluid_DifferentialQm3s(0.02, Water), 0);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid_DifferentialQm3s(-0.02, Water),
              -pump.calcPumpHead_mHd_Fluid_DifferentialQm3s(0.02, Water));
    EXPECT_NEAR(pump.calcPumpHead_Bar_DifferentialQkgs(20, Water),
                pump.calcPumpHead_mHd_Fluid_DifferentialQkgs(20, Water) * BarPerMetreOfWater, 1e-12);
}

struct KindCase {
    TPumpType type;
    bool storedInWater;
    double density;
    double head;  // at any flow, m of fluid
    double slope; // any flow
    double efficiency;
};

TEST(PumpQueries, FixedFlowAndFixedHeadPumps)
{
    const KindCase cases[] = {
        {PumpFixedFlow, false, Water, 0, 0, 0},
        {PumpFixedHead, false, Water, 20, 0, 0},
        {PumpFixedHead, true, 500, 40, 0, 0}, // 20 m of water in a fluid half as dense
    };
    for (const KindCase &c : cases) {
        TPump pump;
        MakeTypicalPump(pump);
        pump.PumpType = c.type;
        pump.SetFixedHead_FluidHead_m = 20;
        pump.SetFixedHead_Stored_mH2O = c.storedInWater;
        for (double flow : {0.0, 0.01, -0.02}) {
            EXPECT_NEAR(pump.calcPumpHead_mHd_Fluid(flow, c.density), c.head, 1e-9) << c.type;
            EXPECT_EQ(pump.calcPumpHead_mHd_Fluid_DifferentialQm3s(flow, c.density), c.slope);
            EXPECT_EQ(pump.calcPumpHead_Bar_DifferentialQkgs(flow * c.density, c.density), c.slope);
            EXPECT_EQ(pump.calcPumpEfficiency(flow, c.density), c.efficiency);
            EXPECT_EQ(pump.calcPumpNPSHr_mHd_Fluid(flow, c.density), 0);
        }
    }
}

TEST(PumpQueries, CurvePumpWithTwoPointsGivesNoHead)
{
    TPump pump;
    pump.AddPumpCurvePointFlowm3s(0, 50, 0, 1, Water);
    pump.AddPumpCurvePointFlowm3s(0.01, 40, 60, 2, Water);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid(0.005, Water), 0);
    EXPECT_EQ(pump.calcPumpHead_mHd_Fluid_DifferentialQm3s(0.005, Water), 0);
    EXPECT_TRUE(std::signbit(pump.calcPumpHead_mHd_Fluid_DifferentialQm3s(-0.005, Water)));
    EXPECT_EQ(pump.calcPumpFlow_m3s(45), 0);
}

TEST(PumpQueries, FlowAtAHead)
{
    TPump pump;
    MakeTypicalPump(pump);
    EXPECT_EQ(pump.calcPumpFlow_m3s(60), 0); // above the shut-off head
    for (double head : {49.5, 41.0, 30.0, 25.0}) {
        const double flow = pump.calcPumpFlow_m3s(head);
        EXPECT_NEAR(pump.calcPumpHead_mHd_Fluid(flow, Water), head, head * 1e-4) << head;
    }
}

// On a steep curve one scan step spans far more head than the 0.01 % band
// around the asked head; the flow is still found.
TEST(PumpQueries, FlowAtAHeadOnASteepCurve)
{
    const PumpPointRow rows[] = {{0, 1000, 0, 1}, {180, 900, 50, 2}, {360, 0, 60, 3}};
    TPump pump;
    SetPumpPoints(pump, rows);
    for (double head : {10.0, 123.4, 777.7}) {
        const double flow = pump.calcPumpFlow_m3s(head);
        EXPECT_GT(flow, 0) << head;
        EXPECT_NEAR(pump.calcPumpHead_mHd_Fluid(flow, Water), head, head * 1e-4) << head;
    }
}

TEST(PumpQueries, LinearTheoryApproximations)
{
    TPump pump;
    MakeTypicalPump(pump);
    double a = 0, b = 0, c = 0;
    pump.LinearTheoryGetQuadraticCoeffForFlowKgsAndBar(Water, a, b, c);
    for (int i : {1, 2, 6}) {
        const double q = pump.PumpPoints.Points[i].Flow_kgs;
        EXPECT_NEAR(a * q * q + b * q + c, pump.PumpPoints.Points[i].Head_mHd * BarPerMetreOfWater, 1e-9) << i;
    }
    EXPECT_NEAR(pump.LinearTheoryCalcMaxPumpHead_Bar(Water), 50 * BarPerMetreOfWater, 1e-12);

    const double q6 = pump.PumpPoints.Points[6].Flow_kgs;
    const double slope = (25 - 50) * BarPerMetreOfWater / q6;
    EXPECT_NEAR(pump.LinearTheoryCalcStraightLinePumpHead_Bar(q6 / 2, Water), 37.5 * BarPerMetreOfWater, 1e-12);
    EXPECT_NEAR(pump.LinearTheorycalcPumpHead_Bar_DifferentialQkgs(0, Water), -slope, 1e-12);
    double m = 0, k = 0;
    pump.LinearTheoryCalcStraightLinePumpHead_Bar_mc(-1, Water, m, k);
    EXPECT_NEAR(m, -slope, 1e-12);
    EXPECT_NEAR(k, -50 * BarPerMetreOfWater, 1e-12);

    TPump vertical;
    vertical.AddPumpCurvePointFlowm3s(0.01, 50, 0, 1, Water);
    vertical.AddPumpCurvePointFlowm3s(0.01, 40, 0, 1, Water);
    EXPECT_EQ(vertical.LinearTheorycalcPumpHead_Bar_DifferentialQkgs(0, Water), 1000);
}

// Efficiency points symmetric about 0.05 m³/s put the best point there.
TEST(PumpQueries, PreferredRangeAroundTheBestFlow)
{
    const PumpPointRow rows[] = {{0, 50, 0, 1}, {108, 45, 60, 2}, {180, 40, 80, 3}, {252, 30, 60, 4}};
    TPump pump;
    SetPumpPoints(pump, rows);
    pump.PumpPoints.FlowDisplayUnit = unt_m3_sec;
    pump.PreferredOpRegionFromPercent = 70;
    pump.PreferredOpRegionToPercent = 120;
    double low = 0, high = 0;
    TUnit unit = unt_m;
    pump.CalcBEPFlow(Water, low, high, unit);
    EXPECT_EQ(unit, unt_m3_sec);
    EXPECT_NEAR(low, 0.035, 1e-9);
    EXPECT_NEAR(high, 0.06, 1e-9);
    EXPECT_NEAR(pump.GetFlowAtBEP_m3s(Water), 0.05, 1e-9);
    EXPECT_NEAR(pump.GetPercentAtBEP(), 80, 1e-9);
    EXPECT_EQ(pump.GetPointNumWithBEP_m3s(), 3);

    pump.PreferredOpRegionFromPercent = 0;
    pump.CalcBEPFlow(Water, low, high, unit);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
}

TEST(PumpQueries, MinimumFlowLineBetweenTheImpellerLimits)
{
    TPump pump;
    MakeTypicalPump(pump);
    pump.ImpellerDiameter_m = 0.235;
    pump.PumpGraphOptions.MinDiamMinFlowPercent = 20;
    pump.PumpGraphOptions.MaxDiamMinFlowPercent = 30;
    const double last = pump.PumpPoints.Points[6].Flow_kgs;
    EXPECT_NEAR(pump.GetMinFlowLine_kgs(), 0.25 * last, 1e-9);
    EXPECT_NEAR(pump.GetMinFlowLine_m3s(Water), 0.25 * last / Water, 1e-12);
    EXPECT_EQ(pump.GetMinFlowLine_m3s(0), 0);
    pump.ImpellerDiameter_m = 0.20;
    EXPECT_NEAR(pump.GetMinFlowLine_kgs(), 0.20 * last, 1e-9);
}

TEST(PumpQueries, PointExtremes)
{
    TPump pump;
    MakeTypicalPump(pump);
    EXPECT_EQ(pump.GetPointMinEfficiencywithEffiencyGreaterThanZero(), 45);
    EXPECT_EQ(pump.GetPointBaseDataMaxEfficiencywithEffiencyGreaterThanZero(), 75);
    EXPECT_EQ(pump.GetPointMaxFlow_kgs_withEffiencyGreaterThanZero(), pump.PumpPoints.Points[6].Flow_kgs);
    EXPECT_NEAR(pump.GetFlowAtBaseDataBEP_m3s(Water), 60.0 / 3600, 1e-15);
    EXPECT_GE(pump.GetMaxEfficiencywithEffiencyGreaterThanZero(), 75);
    EXPECT_GT(pump.GetPointMaxPower_Kw_withEffiencyGreaterThanZero(), 0);

    const PumpPointRow zero[] = {{0, 50, 0, 1}, {20, 40, 0, 1}, {40, 20, 0, 1}};
    SetPumpPoints(pump, zero);
    EXPECT_EQ(pump.GetPointMinEfficiencywithEffiencyGreaterThanZero(), 0);
    EXPECT_EQ(pump.GetPointNumWithBEP_m3s(), 1);
    EXPECT_EQ(pump.GetFlowAtBaseDataBEP_m3s(Water), 0);
    EXPECT_TRUE(pump.isEfficiencyCurveZero());
}

TEST(PumpQueries, EfficiencyCurveMustRiseThenFall)
{
    struct Case {
        double e[5];
        bool valid;
    };
    const Case cases[] = {
        {{0, 40, 60, 58, 70}, false}, // a dip before the best point
        {{0, 40, 70, 60, 62}, false}, // a bump after it
        {{0, 40, 70, 69.5, 50}, true},
        {{0, 40, 60, 70, 50}, true},
    };
    for (const Case &c : cases) {
        const PumpPointRow rows[] = {{0, 50, c.e[0], 1}, {20, 48, c.e[1], 1}, {40, 44, c.e[2], 1},
                                     {60, 38, c.e[3], 1}, {80, 30, c.e[4], 1}};
        TPump pump;
        SetPumpPoints(pump, rows);
        EXPECT_EQ(pump.isEfficiencyCurveValid(), c.valid) << c.e[2] << " " << c.e[3] << " " << c.e[4];
    }
}

TEST(PumpQueries, ImpellerRangeChecks)
{
    struct Case {
        double dmin, dmax;
        bool ok;
    };
    const Case cases[] = {{0.15, 0.25, true}, {0.149, 0.25, false}, {0.3, 0, true}};
    for (const Case &c : cases) {
        TPump pump;
        pump.PumpImpellerDiameterMin_m = c.dmin;
        pump.PumpImpellerDiameterMax_m = c.dmax;
        EXPECT_EQ(pump.IsMinImpellerToMaxImpellerRatioOk(), c.ok) << c.dmin;
    }

    TPump pump;
    MakeTypicalPump(pump);
    pump.BaseDataImpellerDiameter_m = 0.25;
    EXPECT_TRUE(pump.isEfficiencyIsobarDrawingInfoValid());
    pump.PumpImpellerDiameterMin_m = 0.16; // 64 % of the base diameter
    EXPECT_FALSE(pump.isEfficiencyIsobarDrawingInfoValid());
    pump.PumpImpellerDiameterMin_m = 0.20;
    pump.ImpellerDiameter_m = 0.28; // outside the impeller range
    EXPECT_FALSE(pump.isEfficiencyIsobarDrawingInfoValid());

    pump.Speed_rpm = 1450;
    pump.BaseDataSpeed_rpm = 1450;
    pump.ImpellerDiameter_m = 0.25;
    EXPECT_TRUE(pump.isRunningOnBaseData());
    pump.ImpellerDiameter_m = 0.2500001;
    EXPECT_FALSE(pump.isRunningOnBaseData());
}

TEST(PumpQueries, FlowsAtAnEfficiencyOnBothSidesOfTheBestPoint)
{
    TPump pump;
    MakeTypicalPump(pump);
    double f1 = 0, h1 = 0, f2 = 0, h2 = 0;
    pump.GetFlowAndHeadPointsAtEfficency(70, Water, f1, h1, f2, h2);
    const double best = pump.GetFlowAtBEP_kgs();
    EXPECT_GT(f1, 0);
    EXPECT_LT(f1, best);
    EXPECT_GT(f2, best);
    EXPECT_NEAR(pump.PumpEfficiencyCurve.CalculateY(f1), 70, 1e-6);
    EXPECT_NEAR(pump.PumpEfficiencyCurve.CalculateY(f2), 70, 1e-6);
    EXPECT_NEAR(h1, pump.PumpCurve_Qkgs_mHd.CalculateY(f1), 1e-12);

    double f = -1, h = -1;
    pump.GetLHSFlowAndHeadPointsBeforeBEPAtEfficency(70, Water, f, h);
    EXPECT_EQ(f, f1);
    pump.GetRHSFlowAndHeadPointsAfterBEPAtEfficency(70, Water, f, h, 0);
    EXPECT_EQ(f, f2);
    EXPECT_EQ(h, h2);
    // Above the curve's best efficiency neither side has a flow.
    pump.GetLHSFlowAndHeadPointsBeforeBEPAtEfficency(99, Water, f, h);
    EXPECT_EQ(f, 0);
    pump.GetRHSFlowAndHeadPointsAfterBEPAtEfficency(99, Water, f, h, 0);
    EXPECT_EQ(f, 0);
}

TEST(PumpQueries, EfficiencyOnTheSmallestBaseAndLargestImpeller)
{
    TPump pump;
    MakeTypicalPump(pump);
    pump.BaseDataSpeed_rpm = 1450;
    pump.BaseDataImpellerDiameter_m = 0.25;
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter1(1450, 0.25, Water, valid);
    EXPECT_TRUE(pump.ExistsEfficiencyOnMinBaseMaxCurve(65));
    EXPECT_FALSE(pump.ExistsEfficiencyOnMinBaseMaxCurve(99));
}

} // namespace
} // namespace tessaran
