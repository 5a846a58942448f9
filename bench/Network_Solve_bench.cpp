// Loop finding, equation generation and the whole calculation by each liquid
// method on seeded looped networks of 100, 500 and 1000 pipes: a grid of
// joints with demands, fed by four tanks, with dead-end branches to make up
// the pipe count. Iteration counts are reported as counters.

#include "network/Network_Class.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

using namespace tessaran;

namespace {

// Accepts every question (the reversal of pipes drawn against the flow).
class AcceptingUserInterface : public TUserInterfaceSeam {
public:
    void ShowMessage(TMessageKind, const std::string &) override {}
    bool AskYesNo(TMessageKind, const std::string &) override { return true; }
    void ProcessMessages() override {}
    int TestResultsMode() const override { return 1; }
};

AcceptingUserInterface acceptingUserInterface;

int addNode(TNetwork &network, TNodeType type, double elevation, double level, double discharge, int x, int y)
{
    TNode node;
    node.NodeType = type;
    node.Name = "N" + std::to_string(network.GetNodeCount() + 1);
    node.Elevation_m = elevation;
    node.LiquidLevel_m = level;
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointDischarge_m3s = discharge;
    node.x = x;
    node.y = y;
    const int id = network.AddNode(node);
    network.GetNode(id).SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        network.FluidZones[1].Fluid, network.ConfigOptions.Atmosphere_bar_a,
        network.ConfigOptions.GasFlowTemperaturePressureModel);
    return id;
}

std::unique_ptr<TNetwork> gridNetwork(int pipes, unsigned seed)
{
    constexpr int tanks = 4;
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    auto network = std::make_unique<TNetwork>();
    network->UserInterface = &acceptingUserInterface;

    // The largest near-square grid that leaves room for the tank pipes.
    int rows = 2, columns = 2;
    while (true) {
        int r = rows, c = columns;
        if (c <= r)
            ++c;
        else
            ++r;
        if (r * (c - 1) + c * (r - 1) + tanks > pipes)
            break;
        rows = r;
        columns = c;
    }
    const int joints = rows * columns;
    const double demand = 0.25 / joints;
    std::vector<int> ids;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            ids.push_back(addNode(*network, Joint, uniform(0, 5), 0, demand * uniform(0.5, 1.5), 100 * c, 100 * r));

    int count = 0;
    auto pipe = [&](int a, int b, double diameter) {
        if (std::uniform_int_distribution<int>(0, 1)(random) == 1)
            std::swap(a, b);
        TPipe p;
        p.Length_m = uniform(50, 400);
        p.InnerDiameter_m = diameter;
        p.InnerRoughness_m = 0.000046;
        if (network->AddPipeLink(a, b, p) < 1)
            throw std::runtime_error("network full");
        ++count;
    };
    static const double diameters[] = {0.1, 0.125, 0.15, 0.2};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int here = ids[static_cast<std::size_t>(r * columns + c)];
            if (c + 1 < columns)
                pipe(here, ids[static_cast<std::size_t>(r * columns + c + 1)], diameters[random() % 4]);
            if (r + 1 < rows)
                pipe(here, ids[static_cast<std::size_t>((r + 1) * columns + c)], diameters[random() % 4]);
        }
    const int corners[tanks] = {0, columns - 1, joints - columns, joints - 1};
    for (int t = 0; t < tanks; ++t) {
        const int tank = addNode(*network, Tank, uniform(30, 40), 2, 0, -200, 100 * t);
        pipe(tank, ids[static_cast<std::size_t>(corners[t])], 0.4);
    }
    // Dead-end branches to make up the count.
    for (int i = 0; count < pipes; ++i) {
        const int from = ids[static_cast<std::size_t>((i * 7919) % joints)];
        const int leaf = addNode(*network, Joint, uniform(0, 5), 0, demand * 0.2, 100 * columns + 50 * i, 0);
        pipe(from, leaf, 0.1);
    }
    return network;
}

void requireSolved(benchmark::State &state, bool solved)
{
    if (!solved)
        state.SkipWithError("not solved");
}

void BM_LoopFinding(benchmark::State &state)
{
    auto network = gridNetwork(static_cast<int>(state.range(0)), 7);
    TResultsLog log;
    for (auto _ : state) {
        network->PipeLoopsRemoveAllLoops();
        network->PipeLoopsGenerateAllLoops(log);
        log.Clear();
    }
    state.counters["loops"] = network->PipeLoopsCount;
}

void BM_EquationGeneration(benchmark::State &state)
{
    auto network = gridNetwork(static_cast<int>(state.range(0)), 7);
    TResultsLog log;
    network->PipeLoopsRemoveAllLoops();
    network->PipeLoopsGenerateAllLoops(log);
    for (auto _ : state) {
        network->MatrixEquationsGenerate(network->MatrixEquations, log, true);
        log.Clear();
    }
    state.counters["unknowns"] = network->MatrixEquations.DimensionX;
}

void solveBenchmark(benchmark::State &state, TMethodOfSolution method)
{
    auto network = gridNetwork(static_cast<int>(state.range(0)), 7);
    network->ConfigOptions.MethodOfSolution = method;
    TResultsLog log, privateLog;
    bool solved = false, solutionOk = false;
    // Once before timing: pipes drawn against the flow are reversed then.
    network->SolveNetwork(solved, solutionOk, log, privateLog);
    requireSolved(state, solved);
    for (auto _ : state) {
        log.Clear();
        network->SolveNetwork(solved, solutionOk, log, privateLog);
    }
    requireSolved(state, solved);
    state.counters["newton_iterations"] = network->getIterationCount();
    state.counters["iterations_total"] = network->getIterationCountTotal();
    state.counters["valid"] = solutionOk ? 1 : 0;
}

void BM_SolveLinearTheoryThenNewton(benchmark::State &state) { solveBenchmark(state, LinearTheoryThenNewton); }
void BM_SolveLinearTheoryOnly(benchmark::State &state) { solveBenchmark(state, LinearTheoryOnly); }

} // namespace

BENCHMARK(BM_LoopFinding)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EquationGeneration)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveLinearTheoryThenNewton)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveLinearTheoryOnly)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
