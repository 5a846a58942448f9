// The duty-point searches' limits of a pump's curve: a duty flow beyond the
// last curve point or below the minimum-flow line excludes the pump, one just
// inside either limit does not. The sample pump runs at one speed and one
// impeller diameter, so only the limit under test decides.

#include "pumps/Pump_Database_Class.h"

#include "network/Network_Class.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaran {
namespace {

constexpr double Water = 998.2;
constexpr int Speed = 2500;

const std::filesystem::path SamplePump = std::filesystem::path(TESSARAN_SOURCE_DIR) / "data" / "Pumps" /
                                         "End Suction 2900 rpm" / "ES_50-160_2900.trpm";

class PumpSearchLimits : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMemoryStream stream;
        stream.LoadFromFile(SamplePump.string());
        TPump &pump = db_.Entry(1).Pump;
        pump.Load(stream, PumpCurrentFileVersion, Water, true);
        pump.calcPumpCurves(Water);
        db_.Entry(1).Filename = "sample.trpm";
        db_.pumpCount = 1;
        pump.PumpSpeedMinRpm = 1000;
        pump.PumpSpeedMaxRpm = 3000;
        pump.PumpImpellerDiameterMin_m = pump.ImpellerDiameter_m;
        pump.PumpImpellerDiameterMax_m = pump.ImpellerDiameter_m;
        bool valid = true;
        pump.UpdateRunningDataForSpeedAndImpellerDiameter2(Speed, pump.ImpellerDiameter_m, Water, valid);
        ASSERT_TRUE(valid);
        lastFlow_m3s_ = pump.PumpPoints.Points[pump.PumpPoints.PointsCount].Flow_m3s;
    }

    TPump &pump() { return db_.Entry(1).Pump; }

    // The rows each search writes for a duty at Fraction of the last curve
    // point's flow, its head a little below the pump's own there.
    std::vector<int> rowsAt(double fraction)
    {
        bool valid = true;
        pump().UpdateRunningDataForSpeedAndImpellerDiameter2(Speed, pump().ImpellerDiameter_m, Water, valid);
        const double flow_m3s = lastFlow_m3s_ * fraction;
        const double head = pump().calcPumpHead_mHd_Fluid(flow_m3s, Water) * 0.98;
        // The pump itself passes the duty's head: only the flow limits decide.
        EXPECT_GT(head, 0) << fraction;
        std::vector<int> rows;
        using Search = void (TPumpDatabase::*)(double, TUnit, double, TUnit, TUnit, int, int, double, TFlowPreference,
                                               double, const TNetwork &, TStringGrid &, int &);
        for (Search search : {&TPumpDatabase::IndexFindMatchingPumpsFastestSpeedAddToStringGrid,
                              &TPumpDatabase::IndexFindMatchingPumpsLargestDiameterAddToStringGrid,
                              &TPumpDatabase::IndexFindMatchingPumpsBestEfficiencyAddToStringGrid}) {
            TStringGrid grid;
            int row = 2;
            (db_.*search)(flow_m3s * Water, unt_m3_hour, head, unt_m_hd_fluid, unt_mm, Speed, Speed, Water,
                          FlowNoPreference, 5, network_, grid, row);
            rows.push_back(row - 2);
        }
        return rows;
    }

    TPumpDatabase db_;
    TNetwork network_;
    double lastFlow_m3s_ = 0;
};

TEST_F(PumpSearchLimits, ADutyBeyondTheLastCurvePointExcludesThePump)
{
    EXPECT_EQ(rowsAt(0.98), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(rowsAt(1.02), (std::vector<int>{0, 0, 0}));
}

TEST_F(PumpSearchLimits, ADutyBelowTheMinimumFlowLineExcludesThePump)
{
    struct Case {
        double MinFlowPercent;
        int Rows;
    };
    for (const Case c : {Case{60, 0}, Case{40, 1}}) {
        pump().PumpGraphOptions.MinDiamMinFlowPercent = c.MinFlowPercent;
        pump().PumpGraphOptions.MaxDiamMinFlowPercent = c.MinFlowPercent;
        EXPECT_EQ(rowsAt(0.5), (std::vector<int>(3, c.Rows))) << "minimum flow at " << c.MinFlowPercent << " %";
    }
}

} // namespace
} // namespace tessaran
