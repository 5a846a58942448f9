// The loop-correction solver's factorisation and solve on grids of joints:
// 22 x 22 joints give a loop system of 441, the size of the 1000-pipe bench
// network's, 17 x 17 one of 256. The layout is worked out before timing.

#include "tests/network/Loop_Grid_Layout.h"

#include <benchmark/benchmark.h>

#include <random>
#include <stdexcept>
#include <vector>

using namespace tessaran;

namespace {

struct PreparedGrid {
    test::LoopGridLayout Grid;
    TLoopCorrectionSolver Solver;
    std::vector<double> Coefficient, Rhs, Flows;

    explicit PreparedGrid(int side) : Grid(side, side)
    {
        if (!Solver.Prepare(Grid.Pattern, 1, Grid.Joints + Grid.Loops, Grid.Columns, Grid.RowStart, Grid.RowColumns))
            throw std::runtime_error("the loop form does not apply");
        std::mt19937 random(19);
        std::uniform_real_distribution<double> coefficientOf(0.01, 100.0), rhsOf(-1.0, 1.0);
        Coefficient.assign(static_cast<std::size_t>(Grid.Columns) + 1, 0.0);
        for (std::size_t c = 1; c < Coefficient.size(); ++c)
            Coefficient[c] = coefficientOf(random);
        Rhs.resize(static_cast<std::size_t>(Grid.Loops));
        for (double &r : Rhs)
            r = rhsOf(random);
        Flows.resize(Coefficient.size());
    }
};

void BM_LoopCorrectionFactorise(benchmark::State &state)
{
    PreparedGrid p(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const bool factorised = p.Solver.Factorise(p.Coefficient);
        benchmark::DoNotOptimize(factorised);
    }
    state.counters["loops"] = p.Grid.Loops;
}

void BM_LoopCorrectionSolve(benchmark::State &state)
{
    PreparedGrid p(static_cast<int>(state.range(0)));
    if (!p.Solver.Factorise(p.Coefficient))
        state.SkipWithError("singular");
    for (auto _ : state) {
        p.Solver.Solve(p.Rhs, p.Flows);
        benchmark::DoNotOptimize(p.Flows.data());
        benchmark::ClobberMemory();
    }
    state.counters["loops"] = p.Grid.Loops;
}

} // namespace

BENCHMARK(BM_LoopCorrectionFactorise)->ArgName("side")->Arg(17)->Arg(22)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoopCorrectionSolve)->ArgName("side")->Arg(17)->Arg(22)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
