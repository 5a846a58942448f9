// The best-efficiency duty-point search over a full library of 1000 pumps,
// each tried at every speed from 1000 to 3000 rpm in steps of ten. The pumps
// are the shipped sample pump with impeller ranges cut down by different
// amounts, so that they meet the duty at different speeds and diameters.

#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "pumps/Pump_Database_Class.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace tessaran;

namespace {

constexpr double Water = 998.2;

void BM_BestEfficiencySearch(benchmark::State &state)
{
    const std::string sample =
        std::string(TESSARAN_SOURCE_DIR) + "/data/Pumps/End Suction 2900 rpm/ES_50-160_2900.trpm";
    TPumpDatabase db;
    const int count = static_cast<int>(state.range(0));
    for (int i = 1; i <= count; ++i) {
        TMemoryStream stream;
        stream.LoadFromFile(sample);
        TPump &pump = db.Entry(i).Pump;
        pump.Load(stream, PumpCurrentFileVersion, Water, true);
        pump.calcPumpCurves(Water);
        db.Entry(i).Filename = "pump" + std::to_string(i) + ".trpm";
        pump.PumpSpeedMinRpm = 1000;
        pump.PumpSpeedMaxRpm = 3000;
        pump.PumpImpellerDiameterMax_m = pump.ImpellerDiameter_m * (1.0 - 0.15 * (i % 50) / 50.0);
        pump.PumpImpellerDiameterMin_m = pump.PumpImpellerDiameterMax_m * 0.8;
    }
    db.pumpCount = count;

    // A duty on the full impeller's curve at 2500 rpm, at half its last flow.
    TPump &first = db.Entry(1).Pump;
    bool valid = true;
    first.UpdateRunningDataForSpeedAndImpellerDiameter2(2500, first.ImpellerDiameter_m, Water, valid);
    const double flow_m3s = first.PumpPoints.Points[first.PumpPoints.PointsCount].Flow_m3s * 0.5;
    const double head = first.calcPumpHead_mHd_Fluid(flow_m3s, Water) * 0.9;

    TNetwork network;
    int found = 0;
    for (auto _ : state) {
        TStringGrid grid;
        int row = 2;
        db.IndexFindMatchingPumpsBestEfficiencyAddToStringGrid(flow_m3s * Water, unt_m3_hour, head, unt_m_hd_fluid,
                                                                unt_mm, 1000, 3000, Water, FlowNoPreference, 1,
                                                                network, grid, row);
        found = row - 2;
        benchmark::DoNotOptimize(grid);
    }
    state.counters["pumps_found"] = found;
}
BENCHMARK(BM_BestEfficiencySearch)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
