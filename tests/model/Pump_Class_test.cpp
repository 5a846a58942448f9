#include "model/Pump_Class.h"

#include "Pump_Fixture.h"

#include "units/Units.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tessaran {
namespace {

using test::MakeTypicalPump;
using test::Water;

// The pump's flow conversions give, bit for bit, what the unit tables give,
// signed zeros, fluids without density and numbers that are none included.
TEST(PumpClass, FlowConversionsMatchTheUnitTablesExactly)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
    const auto general = [](TUnit from, TUnit to, double value, double density) {
        return convertFlowUnit(from, to, std_15degC_101325Pa, value, density, 0.0, 288.15, 1.01325);
    };
    for (const double flow : {0.0, -0.0, 0.0123456789, -3.7e-9, 1e300, 7.0 / 3.0, nan, inf})
        for (const double density : {998.2, 1.2041, 0.0, -0.0, 1e-300, 13595.1, nan, inf}) {
            const double toMass = PumpFlow_m3s_to_kgs(flow, density);
            const double toVolume = PumpFlow_kgs_to_m3s(flow, density);
            const double massExpected = general(unt_m3_sec, unt_kg_sec, flow, density);
            const double volumeExpected = general(unt_kg_sec, unt_m3_sec, flow, density);
            EXPECT_TRUE(bits(toMass) == bits(massExpected) || (std::isnan(toMass) && std::isnan(massExpected)))
                << flow << " m3/s at " << density;
            EXPECT_TRUE(bits(toVolume) == bits(volumeExpected) || (std::isnan(toVolume) && std::isnan(volumeExpected)))
                << flow << " kg/s at " << density;
        }
}

TEST(PumpClass, NewPumpHasItsDefaults)
{
    TPump pump;
    EXPECT_EQ(pump.Name, "Pump");
    EXPECT_EQ(pump.PumpType, PumpFixedSpeed);
    EXPECT_EQ(pump.PumpScale, 1.0);
    EXPECT_EQ(pump.SetFlowRateDisplayUnit, unt_m3_sec);
    EXPECT_EQ(pump.SetFixedHeadDisplayUnit, unt_m_hd_fluid);
    EXPECT_EQ(pump.ImpellerDiameterDisplayUnit, unt_mm);
    for (const TPumpPoints *set : {&pump.PumpPoints, &pump.BaseDataPumpPoints}) {
        EXPECT_EQ(set->PointsCount, 0);
        EXPECT_EQ(set->FlowDisplayUnit, unt_ft3_sec);
        EXPECT_EQ(set->HeadDisplayUnit, unt_ft_hd_fluid);
        EXPECT_EQ(set->NPSHrDisplayUnit, unt_ft_hd_fluid);
        EXPECT_EQ(set->PowerDisplayUnit, unt_HP);
    }
    EXPECT_EQ(pump.PumpGraphOptions.EfficiencyIsoPercent, 5.0);
    EXPECT_EQ(pump.PumpGraphOptions.GridLinesStyle, GraphGridStandard);
    EXPECT_EQ(pump.PumpGraphOptions.ColorMinFlowLine, 0x0000C0);
    EXPECT_EQ(pump.EfficiencyMaxImpellerPointMultipliers[10], 1.0);
    EXPECT_EQ(pump.ImportedPumpSheet.yUnits, unt_m_hd_fluid);
    EXPECT_EQ(pump.NotesText(), " \r\n");
}

TEST(PumpClass, EleventhPointRaisesAndChangesNothing)
{
    TPump pump;
    for (int i = 0; i < 10; ++i)
        pump.AddPumpCurvePointFlowm3s(0.01 * i, 50 - i * i * 0.3, 10.0 * i, 1 + 0.1 * i, Water);
    const TPump before(pump);
    EXPECT_THROW(pump.AddPumpCurvePointFlowm3s(0.2, 1, 10, 1, Water), EPumpClass);
    EXPECT_THROW(pump.AddPumpCurvePointFlowkgs(200, 1, 10, 1, Water), EPumpClass);
    EXPECT_EQ(pump.PumpPoints, before.PumpPoints);
    EXPECT_EQ(pump.PumpCurve_Qm3s_mHd.CalculateY(0.05), before.PumpCurve_Qm3s_mHd.CalculateY(0.05));
    try {
        pump.AddPumpCurvePointFlowm3s(0.2, 1, 10, 1, Water);
    } catch (const EPumpClass &error) {
        EXPECT_STREQ(error.what(), "TPump.AddPumpCurvePointFlowm3s Failed: Max number of Pump points reached.");
    }
}

TEST(PumpClass, CurvesAreFittedFromThreePointsOn)
{
    TPump pump;
    pump.AddPumpCurvePointFlowm3s(0.00, 50, 0, 1, Water);
    pump.AddPumpCurvePointFlowm3s(0.01, 45, 50, 2, Water);
    EXPECT_EQ(pump.PumpPoints.Points[2].Flow_kgs, 10.0);
    EXPECT_EQ(pump.PumpCurve_Qm3s_mHd.PointsCount, 0);

    pump.AddPumpCurvePointFlowkgs(20, 30, 60, 4, Water);
    EXPECT_DOUBLE_EQ(pump.PumpPoints.Points[3].Flow_m3s, 0.02);
    EXPECT_EQ(pump.PumpCurve_Qm3s_mHd.PointsCount, 3);
    EXPECT_NEAR(pump.PumpCurve_Qm3s_mHd.CalculateY(0.01), 45, 1e-9);
    EXPECT_NEAR(pump.PumpCurve_Qkgs_mHd.CalculateY(20), 30, 1e-9);
    EXPECT_NEAR(pump.PumpCurve_Qkgs_Bar.CalculateY(0), 50 * 9.80665 * Water / 1e5, 1e-9);
    // Only two positive efficiencies after the first point: no efficiency or power curve.
    EXPECT_EQ(pump.PumpEfficiencyCurve.PointsCount, 0);
    EXPECT_EQ(pump.PumpPowerKwCurve.PointsCount, 0);
    EXPECT_EQ(pump.PumpNPSHrCurve.PointsCount, 3);
}

TEST(PumpClass, FirstPointNeverEntersEfficiencyOrPower)
{
    TPump pump;
    pump.AddPumpCurvePointFlowm3s(0.00, 50, 80, 1, Water);
    pump.AddPumpCurvePointFlowm3s(0.01, 45, 0, 2, Water);
    pump.AddPumpCurvePointFlowm3s(0.02, 30, 0, 4, Water);
    pump.AddPumpCurvePointFlowm3s(0.03, 10, 0, 6, Water);
    EXPECT_EQ(pump.PumpEfficiencyCurve.PointsCount, 0);
    EXPECT_EQ(pump.PumpPowerKwCurve.PointsCount, 0);
}

TEST(PumpClass, TinyEfficiencyGivesZeroPowerAndMissingNPSHrIsLeftOut)
{
    TPump pump;
    pump.AddPumpCurvePointFlowm3s(0.00, 50, 0, 1, Water);
    pump.AddPumpCurvePointFlowm3s(0.01, 45, 0.05, -1, Water);
    pump.AddPumpCurvePointFlowm3s(0.02, 40, 50, 2, Water);
    pump.AddPumpCurvePointFlowm3s(0.03, 30, 60, 3, Water);
    ASSERT_EQ(pump.PumpEfficiencyCurve.PointsCount, 3);
    EXPECT_EQ(pump.PumpPowerKwCurve.CurvePoints[1].Y, 0.0);
    // 20 kg/s lifted 40 m at 50 %.
    EXPECT_NEAR(pump.PumpPowerKwCurve.CurvePoints[2].Y, 0.02 * 40 * Water * 9.80665 / 1000 / 0.5, 1e-9);
    ASSERT_EQ(pump.PumpNPSHrCurve.PointsCount, 3);
    EXPECT_EQ(pump.PumpNPSHrCurve.CurvePoints[2].X, 20.0);
}

TEST(PumpClass, HeadsStoredInWaterAreFittedInFluid)
{
    TPump pump;
    pump.PumpPoints.SetHead_Stored_mH2O = true;
    pump.AddPumpCurvePointFlowm3s(0.00, 50, 0, 1, 500);
    pump.AddPumpCurvePointFlowm3s(0.01, 40, 50, 2, 500);
    pump.AddPumpCurvePointFlowm3s(0.02, 20, 60, 3, 500);
    EXPECT_NEAR(pump.PumpCurve_Qm3s_mHd.CalculateY(0), 100, 1e-9);
}

TEST(PumpClass, RemovingAPointClosesTheGap)
{
    TPump pump;
    MakeTypicalPump(pump);
    const TPumpPoint third = pump.PumpPoints.Points[3];
    pump.RemovePumpCurvePoint(2, Water);
    EXPECT_EQ(pump.PumpPoints.PointsCount, 5);
    EXPECT_EQ(pump.PumpPoints.Points[2], third);
    EXPECT_EQ(pump.PumpCurve_Qm3s_mHd.PointsCount, 5);
    for (int bad : {0, 6})
        EXPECT_THROW(pump.RemovePumpCurvePoint(bad, Water), EPumpClass) << bad;
    EXPECT_EQ(pump.PumpPoints.PointsCount, 5);
}

// Every base point follows the density, also beyond the running count.
TEST(PumpClass, BaseMassFlowsFollowTheDensityUpToTheBaseCount)
{
    TPump pump;
    MakeTypicalPump(pump);
    pump.ClearPumpCurvesButNotBasePoints();
    pump.AddPumpCurvePointFlowm3s(0.0, 50, 0, 1, Water);
    pump.calcPumpCurves(800);
    ASSERT_EQ(pump.BaseDataPumpPoints.PointsCount, 6);
    for (int i = 1; i <= 6; ++i)
        EXPECT_NEAR(pump.BaseDataPumpPoints.Points[i].Flow_kgs, pump.BaseDataPumpPoints.Points[i].Flow_m3s * 800, 1e-9)
            << i;
}

TEST(PumpClass, CopyCarriesEverythingButTheSuctionSpecificSpeed)
{
    TPump source;
    MakeTypicalPump(source);
    source.PumpScale = 0;
    source.PumpBaseDataSuctionSpecificSpeedAtBEP = 9000;
    source.ImportedLogoLoaded = true;
    source.ImportedLogoBitmap.LoadFromBytes(test::SmallJpeg());
    source.SetNotesText("one\r\ntwo\r\n");
    TPump copy;
    copy.CopyPump(source);
    EXPECT_EQ(copy.PumpScale, 1.0);
    EXPECT_EQ(copy.PumpBaseDataSuctionSpecificSpeedAtBEP, 0.0);
    EXPECT_EQ(copy.PumpPoints, source.PumpPoints);
    EXPECT_EQ(copy.BaseDataPumpPoints, source.BaseDataPumpPoints);
    EXPECT_EQ(copy.ImportedLogoBitmap.SaveToBytes(), source.ImportedLogoBitmap.SaveToBytes());
    EXPECT_EQ(copy.NotesText(), "one\r\ntwo\r\n");
    for (double flow : {5.0, 15.0, 25.0}) {
        EXPECT_EQ(copy.PumpBaseDataNPSHrCurve.CalculateY(flow), source.PumpBaseDataNPSHrCurve.CalculateY(flow));
        EXPECT_EQ(copy.PumpBaseDataEfficiencyCurve.CalculateY(flow),
                  source.PumpBaseDataEfficiencyCurve.CalculateY(flow));
    }
}

TEST(PumpClass, BaseDataCopiesFollowTheRunningState)
{
    TPump pump;
    MakeTypicalPump(pump);
    pump.BaseDataSpeed_rpm = 1450;
    pump.BaseDataImpellerDiameter_m = 0.25;
    pump.PumpPoints.Points[2].Head_mHd = 48;
    pump.PumpPoints.HeadDisplayUnit = unt_Psi_G;
    pump.CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData();
    EXPECT_EQ(pump.BaseDataPumpPoints.Points[2].Head_mHd, 48);
    EXPECT_EQ(pump.BaseDataPumpPoints.HeadDisplayUnit, unt_Psi_G);

    pump.Speed_rpm = 2900;
    pump.PumpPoints.Points[2].Head_mHd = 190;
    pump.CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData();
    EXPECT_EQ(pump.BaseDataPumpPoints.Points[2].Head_mHd, 48);

    pump.CopyRunningDataFromBaseData();
    EXPECT_EQ(pump.Speed_rpm, 1450);
    EXPECT_EQ(pump.PumpPoints.Points[2].Head_mHd, 48);
}

TEST(PumpClass, SetFlowFollowsTheGivenKind)
{
    TPump pump;
    pump.SetFlowRate_m3s = 0.02;
    pump.SetEquivalentFlowAndMassFlowRate(900);
    EXPECT_NEAR(pump.SetFlowRate_kgs, 18, 1e-12);
    pump.SetFlowRateDisplayUnit = unt_kg_hour;
    pump.SetFlowRate_kgs = 9;
    pump.SetEquivalentFlowAndMassFlowRate(900);
    EXPECT_NEAR(pump.SetFlowRate_m3s, 0.01, 1e-12);
    EXPECT_TRUE(pump.isSetFlowRateUsingMassFlow());
}

TEST(PumpClass, FixedHeadStorageFollowsItsDisplayUnit)
{
    TPump pump;
    pump.SetFixedHead_FluidHead_m = 20;
    pump.SetFixedHeadDisplayUnit = unt_Bar_G;
    pump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(800);
    EXPECT_TRUE(pump.SetFixedHead_Stored_mH2O);
    EXPECT_NEAR(pump.SetFixedHead_FluidHead_m, 16, 1e-9);

    pump.SetFixedHeadDisplayUnit = unt_ft_hd_fluid;
    pump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(800);
    EXPECT_FALSE(pump.SetFixedHead_Stored_mH2O);
    EXPECT_NEAR(pump.SetFixedHead_FluidHead_m, 20, 1e-9);

    pump.SetFixedHeadDisplayUnit = unt_ft_H2O;
    pump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(800);
    EXPECT_EQ(pump.SetFixedHeadDisplayUnit, unt_in_H2O);
}

TEST(PumpClass, RunningHeadsAndNPSHrComeBackToFluid)
{
    TPump pump;
    pump.PumpPoints.HeadDisplayUnit = unt_m_hd_fluid;
    pump.PumpPoints.SetHead_Stored_mH2O = true;
    pump.PumpPoints.SetNPSHr_Stored_mH2O = true;
    pump.PumpPoints.Points[4].Head_mHd = 10;
    pump.PumpPoints.Points[7].NPSHr_mHd = 2;
    pump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(500);
    EXPECT_FALSE(pump.PumpPoints.SetHead_Stored_mH2O);
    EXPECT_FALSE(pump.PumpPoints.SetNPSHr_Stored_mH2O);
    EXPECT_NEAR(pump.PumpPoints.Points[4].Head_mHd, 20, 1e-9);
    EXPECT_NEAR(pump.PumpPoints.Points[7].NPSHr_mHd, 4, 1e-9);
}

struct NpshrUnitCase {
    TUnit head;
    TUnit afterUpdate;  // UpdateToStoredFluidHeadIfDisplaySetFluidHead
    TUnit afterConvert; // ConvertBaseData..., starting from unt_in_hd_fluid
};

TEST(PumpClass, NPSHrUnitGoesWithTheHeadUnit)
{
    const NpshrUnitCase cases[] = {
        {unt_Psi_G, unt_ft_hd_fluid, unt_ft_hd_fluid},   {unt_Bar_G, unt_m_hd_fluid, unt_m_hd_fluid},
        {unt_mm_hd_fluid, unt_mm_hd_fluid, unt_mm_hd_fluid}, {unt_in_H2O, unt_ft_hd_fluid, unt_ft_hd_fluid},
        {unt_N_m2_G, unt_m_hd_fluid, unt_in_hd_fluid},
    };
    for (const auto &c : cases) {
        TPump pump;
        pump.PumpPoints.HeadDisplayUnit = c.head;
        pump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(Water);
        EXPECT_EQ(pump.PumpPoints.NPSHrDisplayUnit, c.afterUpdate) << c.head;
        pump.PumpPoints.NPSHrDisplayUnit = unt_in_hd_fluid;
        pump.ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(Water);
        EXPECT_EQ(pump.PumpPoints.NPSHrDisplayUnit, c.afterConvert) << c.head;
        EXPECT_EQ(pump.BaseDataPumpPoints.NPSHrDisplayUnit, unt_m_hd_fluid);
    }
}

TEST(PumpClass, BaseHeadsFollowTheRunningHeadUnit)
{
    TPump pump;
    pump.BaseDataPumpPoints.Points[1].Head_mHd = 20;
    pump.PumpPoints.HeadDisplayUnit = unt_kPa_G;
    pump.PumpPoints.FlowDisplayUnit = unt_lb_sec;
    pump.ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(500);
    EXPECT_TRUE(pump.BaseDataPumpPoints.SetHead_Stored_mH2O);
    EXPECT_TRUE(pump.PumpPoints.SetHead_Stored_mH2O);
    EXPECT_NEAR(pump.BaseDataPumpPoints.Points[1].Head_mHd, 10, 1e-9);
    EXPECT_EQ(pump.BaseDataPumpPoints.FlowDisplayUnit, unt_m3_sec);
    EXPECT_EQ(pump.BaseDataPumpPoints.HeadDisplayUnit, unt_kPa_G);

    pump.PumpPoints.HeadDisplayUnit = unt_ft_hd_fluid;
    pump.ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(500);
    EXPECT_FALSE(pump.BaseDataPumpPoints.SetHead_Stored_mH2O);
    EXPECT_NEAR(pump.BaseDataPumpPoints.Points[1].Head_mHd, 20, 1e-9);
}

TEST(PumpClass, DisplayHelpers)
{
    double increment = 0;
    TPump::GetImpellerDiameterIncrement(increment, unt_inch);
    EXPECT_EQ(increment, 0.000635);
    TPump::GetImpellerDiameterIncrement(increment, unt_mm);
    EXPECT_EQ(increment, 0.001);

    const std::pair<TUnit, TUnit> powerUnits[] = {
        {unt_L_min, unt_KW}, {unt_kg_hour, unt_KW}, {unt_m3_sec, unt_KW}, {unt_L_hour, unt_KW},
        {unt_gpm_USA, unt_HP}, {unt_lb_sec, unt_HP}, {unt_ft3_sec, unt_HP}, {unt_kN_sec, unt_HP},
    };
    for (auto [flow, power] : powerUnits) {
        TPump pump;
        pump.PumpPoints.FlowDisplayUnit = flow;
        EXPECT_EQ(pump.getPowerDisplayUnit(), power) << flow;
        EXPECT_EQ(pump.PumpPoints.PowerDisplayUnit, power);
    }
}

TEST(PumpClass, NotesTextSplitsAndJoinsLines)
{
    TPump pump;
    pump.SetNotesText("a\r\nb\nc\rd");
    ASSERT_EQ(pump.Notes.size(), 4u);
    EXPECT_EQ(pump.NotesText(), "a\r\nb\r\nc\r\nd\r\n");
}

} // namespace
} // namespace tessaran
