#include "model/Pump_Class.h"

#include "Pump_Fixture.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::MakeTypicalPump;
using test::PumpPointRow;
using test::Water;

class PumpPredictions : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeTypicalPump(pump);
        pump.BaseDataSpeed_rpm = 1450;
        pump.BaseDataImpellerDiameter_m = 0.25;
    }
    TPump pump;
};

TEST_F(PumpPredictions, DoubleSpeedFollowsTheAffinityLaws)
{
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(2900, 0.25, Water, valid);
    ASSERT_TRUE(valid);
    EXPECT_EQ(pump.Speed_rpm, 2900);
    for (int i = 1; i <= 6; ++i) {
        const TPumpPoint &base = pump.BaseDataPumpPoints.Points[i];
        const TPumpPoint &run = pump.PumpPoints.Points[i];
        EXPECT_NEAR(run.Flow_m3s, 2 * base.Flow_m3s, 1e-12) << i;
        EXPECT_NEAR(run.Flow_kgs, 2 * base.Flow_kgs, 1e-9) << i;
        EXPECT_NEAR(run.Head_mHd, 4 * base.Head_mHd, 1e-9) << i;
        EXPECT_EQ(run.EfficiencyPercent, base.EfficiencyPercent) << i;
        if (i > 1) { // no suction specific speed at zero flow
            EXPECT_NEAR(run.NPSHr_mHd, 4 * base.NPSHr_mHd, 1e-9) << i;
        }
    }
}

TEST_F(PumpPredictions, DiameterWithinAMicronReproducesTheBase)
{
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0.25 + 5e-7, Water, valid);
    ASSERT_TRUE(valid);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_NEAR(pump.PumpPoints.Points[i].Head_mHd, pump.BaseDataPumpPoints.Points[i].Head_mHd, 1e-3) << i;
        EXPECT_EQ(pump.PumpPoints.Points[i].EfficiencyPercent, pump.BaseDataPumpPoints.Points[i].EfficiencyPercent);
    }
}

TEST_F(PumpPredictions, ZeroSpeedOrDiameterPredictsNothing)
{
    double value = -1;
    TPump::getPredictedFlowForSpeedAndDiameterChangeStdAffinityLaw(0, 1450, 0.25, 0.25, 10, value);
    EXPECT_EQ(value, 0);
    pump.getPredictedHeadForSpeedAndDiameterChange(1450, 1450, 0.25, 0, 10, 50, value);
    EXPECT_EQ(value, 0);
    bool valid = true;
    const TPumpPoints before = pump.PumpPoints;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0, Water, valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(pump.PumpPoints, before);
}

TEST_F(PumpPredictions, TrimCorrectsTheHeadTowardsTheCurveEnd)
{
    pump.FlowHeadCurveMinImpellerMultipliers[1] = 0.1;
    pump.FlowHeadCurveMinImpellerMultipliers[2] = 0.6;
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0.225, Water, valid);
    ASSERT_TRUE(valid);
    const double b = 1 + 0.6 * 0.01;
    for (int i = 1; i <= 6; ++i) {
        const double h1 = pump.BaseDataPumpPoints.Points[i].Head_mHd;
        const double c = (50 - h1) / 50;
        const double k = 1 + c * c * 0.1 * 20 * 0.1;
        EXPECT_NEAR(pump.PumpPoints.Points[i].Head_mHd, h1 * 0.81 * b * b * k, 1e-9) << i;
    }
}

// Without a shut-off head there is no place along the curve to weigh the
// trim correction by: the head follows the affinity law with b alone.
TEST_F(PumpPredictions, TrimCorrectionWithoutAShutOffHeadStaysFinite)
{
    pump.FlowHeadCurveMinImpellerMultipliers[1] = 0.1;
    pump.FlowHeadCurveMinImpellerMultipliers[2] = 0.6;
    double h2 = 0;
    pump.getPredictedHeadForSpeedAndDiameterChange(1450, 1450, 0.25, 0.225, 10, 0, h2);
    EXPECT_NEAR(h2, 10 * 0.81 * std::pow(1 + 0.6 * 0.01, 2), 1e-12);
}

TEST_F(PumpPredictions, PowerMultiplierSideSwitchesAtTheBestFlow)
{
    pump.EfficiencyCurveMinImpellerMultipliers[1] = 0.1;
    pump.EfficiencyCurveMinImpellerMultipliers[2] = 0.3;
    pump.EfficiencyCurveMaxImpellerMultipliers[1] = 0.5;
    struct Case {
        double d2, f1;
        double m;
    };
    const double fBEP = 10;
    const Case cases[] = {
        {0.9, 1.01 * fBEP - 1e-9, 0.1}, // before the best flow, trimmed
        {0.9, 1.01 * fBEP, 0.3},        // from 1.01 times the best flow on
        {1.1, 5, 0.5},                  // enlarged impeller
    };
    for (const Case &c : cases) {
        double p2 = 0;
        pump.getPredictedPowerBeforeBEPForSpeedAndDiameterChange(1000, 1000, 1.0, c.d2, c.f1, 0, 0, 0, fBEP, 0, 0, 7,
                                                                 p2);
        const double g = 1 + c.m * std::pow(std::fabs(1 - c.d2), 2);
        EXPECT_NEAR(p2, 7 * std::pow(c.d2 * g, 3), 1e-12) << c.d2 << " " << c.f1;
    }
}

// An enlarged impeller at the affinity law keeps each efficiency, so the
// per-point multiplier alone sets the prediction before the caps.
TEST(PumpPredictionCaps, EfficienciesAreCappedByTheBestBaseEfficiency)
{
    struct Case {
        double bestEfficiency, predicted, expected;
    };
    const Case cases[] = {{80, 130, 96}, {90, 115, 90}, {80, 90, 90}};
    for (const Case &c : cases) {
        const PumpPointRow rows[] = {
            {0, 50, 0, 1}, {20, 48, 50, 1.2}, {40, 44, c.bestEfficiency, 1.6}, {60, 35, 60, 2.2},
        };
        TPump pump;
        test::SetPumpPoints(pump, rows);
        pump.BaseDataSpeed_rpm = 1450;
        pump.BaseDataImpellerDiameter_m = 0.25;
        pump.EfficiencyMaxImpellerPointMultipliers[2] = c.predicted / 50;
        bool valid = false;
        pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0.26, Water, valid);
        ASSERT_TRUE(valid);
        EXPECT_NEAR(pump.PumpPoints.Points[2].EfficiencyPercent, c.expected, 1e-9) << c.predicted;
        EXPECT_NEAR(pump.PumpPoints.Points[4].EfficiencyPercent, 60, 1e-9);
    }
}

TEST_F(PumpPredictions, SpeedRaisesEfficiencyAcrossTheSpeedRange)
{
    pump.PumpSpeedMinRpm = 1000;
    pump.PumpSpeedMaxRpm = 2000;
    pump.PumpEfficiencyMaxSpeedEfficPercentIncrease = 10;
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(2000, 0.25, Water, valid);
    EXPECT_NEAR(pump.PumpPoints.Points[4].EfficiencyPercent, 75 * (1 + 0.1 * (1.0 - 0.45)), 1e-9);
}

TEST_F(PumpPredictions, NPSHrNeverFallsWithFlow)
{
    pump.BaseDataPumpPoints.Points[3].NPSHr_mHd = 1.1;
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0.25, Water, valid);
    EXPECT_NEAR(pump.PumpPoints.Points[2].NPSHr_mHd, 1.2, 1e-9);
    EXPECT_NEAR(pump.PumpPoints.Points[3].NPSHr_mHd, 1.2, 1e-9);
    EXPECT_NEAR(pump.PumpPoints.Points[4].NPSHr_mHd, 2.2, 1e-9);
}

TEST_F(PumpPredictions, TrimRaisesNPSHrBySideAndCurvePart)
{
    pump.PumpNPSHStartMinDiamNpshPercentIncrease = 10;
    pump.PumpNPSHEndMinDiamNpshPercentIncrease = 40;
    bool valid = false;
    // Half-way to the smallest impeller at the base speed.
    pump.UpdateRunningDataForSpeedAndImpellerDiameter(1450, 0.225, Water, valid);
    // Start of the curve (flows up to 70 % of the 60 m³/h best flow), then its end.
    const double scale = std::pow(0.9, 2.0 / 3.0); // NPSHr at constant Nss grows as Q^(2/3)
    EXPECT_NEAR(pump.PumpPoints.Points[2].NPSHr_mHd, 1.2 * scale * 1.05, 1e-9);
    EXPECT_NEAR(pump.PumpPoints.Points[4].NPSHr_mHd, 2.2 * scale * 1.20, 1e-9);
}

TEST(PumpSuctionSpecificSpeed, NPSHrComesBackFromItsSuctionSpecificSpeed)
{
    const double nss = TPump::calcSuctionSpecificSpeed(1450, 20, 3, Water);
    const double gpm = 0.02 / 0.003785411784 * 60;
    EXPECT_NEAR(nss, 1450 * std::sqrt(gpm) / std::pow(3 / 0.3048, 0.75), 1e-6);
    EXPECT_NEAR(TPump::calcNPSHr_mHd_fromSuctionSpecificSpeed(nss, 1450, 20, Water), 3, 1e-9);
    EXPECT_EQ(TPump::calcSuctionSpecificSpeed(1450, 0, 3, Water), 0);
    EXPECT_EQ(TPump::calcSuctionSpecificSpeed(1450, 20, -1, Water), 0);
    EXPECT_EQ(TPump::calcNPSHr_mHd_fromSuctionSpecificSpeed(0, 1450, 20, Water), 0);
}

TEST_F(PumpPredictions, DiametersCloseToTheLimitsSnapToThem)
{
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter2(1450, 0.20 + 5e-7, Water, valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(pump.ImpellerDiameter_m, 0.20);

    pump.UpdateRunningDataForSpeedAndImpellerDiameter2(1450, 0.27 - 5e-7, Water, valid);
    EXPECT_EQ(pump.ImpellerDiameter_m, 0.27);

    // Away from the base speed the largest impeller is not snapped to.
    pump.UpdateRunningDataForSpeedAndImpellerDiameter2(1600, 0.27 - 5e-7, Water, valid);
    EXPECT_TRUE(valid);
    EXPECT_EQ(pump.ImpellerDiameter_m, 0.27 - 5e-7);
    EXPECT_EQ(pump.Speed_rpm, 1600);
    EXPECT_EQ(pump.PumpPoints.Points[1].EfficiencyPercent, 0);
}

TEST_F(PumpPredictions, BaseDiameterGivesTheBaseCurvesBack)
{
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter2(1450, 0.25, Water, valid);
    EXPECT_TRUE(valid);
    for (int i = 1; i <= 6; ++i) {
        const TPumpPoint &base = pump.BaseDataPumpPoints.Points[i];
        const TPumpPoint &run = pump.PumpPoints.Points[i];
        EXPECT_EQ(run.Flow_m3s, base.Flow_m3s) << i;
        EXPECT_EQ(run.Head_mHd, base.Head_mHd) << i;
        EXPECT_EQ(run.EfficiencyPercent, base.EfficiencyPercent) << i;
    }
    EXPECT_GT(pump.PumpBaseDataSuctionSpecificSpeedAtBEP, 0);
    EXPECT_EQ(pump.PumpBaseDiamCurve_Qkgs_mHd.PointsCount, 6);
    EXPECT_EQ(pump.PumpMinDiamCurrentSpeedEfficiencyCurve.PointsCount, 6);
}

// e(H) is the parabola through the (head, efficiency) pairs of the smallest,
// the base and the largest impeller at the same place along their curves.
TEST_F(PumpPredictions, IsoEfficiencyPassesThroughItsThreePoints)
{
    bool valid = false;
    pump.UpdateRunningDataForSpeedAndImpellerDiameter1(1450, 0.25, Water, valid);
    const double maxFlow = pump.PumpPoints.Points[6].Flow_kgs;
    for (double fraction : {0.3, 0.55, 0.8}) {
        const TQuadraticCurves *heads[] = {&pump.PumpMinDiamCurve_Qkgs_mHd, &pump.PumpBaseDiamCurve_Qkgs_mHd,
                                           &pump.PumpMaxDiamCurve_Qkgs_mHd};
        const TQuadraticCurves *efficiencies[] = {&pump.PumpMinDiamCurrentSpeedEfficiencyCurve,
                                                  &pump.PumpBaseDiamCurrentSpeedEfficiencyCurve,
                                                  &pump.PumpMaxDiamCurrentSpeedEfficiencyCurve};
        for (int s = 0; s < 3; ++s) {
            const TQuadraticCurves &e = *efficiencies[s];
            const double x = fraction * e.CurvePoints[e.PointsCount].X;
            const double h = heads[s]->CalculateY(x);
            EXPECT_NEAR(pump.getEfficiencyFromQuadraticIsoEfficiencyCurves6(fraction * maxFlow, h, maxFlow),
                        e.CalculateY(x), 1e-6)
                << fraction << " size " << s;
        }
    }
}

// A prediction that fails half-way (here on a damaged point count) leaves
// the pump as it was.
TEST_F(PumpPredictions, FailedPredictionLeavesThePumpUnchanged)
{
    pump.PumpPoints.PointsCount = 11;
    const TPump before(pump);
    bool valid = false;
    EXPECT_THROW(pump.UpdateRunningDataForSpeedAndImpellerDiameter(2900, 0.24, Water, valid), std::out_of_range);
    EXPECT_THROW(pump.UpdateRunningDataForSpeedAndImpellerDiameter2(2900, 0.24, Water, valid), std::out_of_range);
    EXPECT_EQ(pump.PumpPoints, before.PumpPoints);
    EXPECT_EQ(pump.Speed_rpm, before.Speed_rpm);
    EXPECT_EQ(pump.ImpellerDiameter_m, before.ImpellerDiameter_m);
    EXPECT_EQ(pump.PumpMinDiamCurve_Qkgs_mHd.PointsCount, before.PumpMinDiamCurve_Qkgs_mHd.PointsCount);
}

TEST_F(PumpPredictions, ResetGoesBackToThePlainAffinityLaws)
{
    pump.FlowHeadCurveMaxImpellerMultipliers[1] = PumpHeadMultiplierPresets[3].Max1;
    pump.EfficiencyCurveMinImpellerMultipliers[2] = PumpEfficiencyMultiplierPresets[9].Min2;
    pump.EfficiencyMaxImpellerPointMultipliers[4] = 0.95;
    pump.EfficiencyMinImpellerPointMultipliers[1] = 1.02;
    pump.EfficiencyMinImpellerPointMultipliers[9] = 0.9;
    EXPECT_EQ(pump.EfficiencyMaxImpellerPointMultipliersUsed(), 1);
    EXPECT_EQ(pump.EfficiencyMinImpellerPointMultipliersUsed(), 2);
    pump.ResetToAffinityLawPredictions();
    EXPECT_EQ(pump.FlowHeadCurveMaxImpellerMultipliers[1], 0);
    EXPECT_EQ(pump.EfficiencyCurveMinImpellerMultipliers[2], 0);
    EXPECT_EQ(pump.EfficiencyMaxImpellerPointMultipliersUsed(), 0);
    EXPECT_EQ(pump.EfficiencyMinImpellerPointMultipliersUsed(), 0);
    EXPECT_STREQ(PumpHeadMultiplierPresets[5].Name, "Min to Max Range (+++++)");
    EXPECT_EQ(PumpEfficiencyMultiplierPresets[7].Min1, 0.06);
}

} // namespace
} // namespace tessaran
