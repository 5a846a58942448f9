// Loop finding, equation generation and the whole calculation by each liquid
// method on seeded looped networks: grids of 100, 500 and 1000 pipes (joints
// with demands, fed by four tanks, dead-end branches to make up the count) and
// an irregular network of 950 pipes with three tanks, a pump, fittings and
// laminar and transitional service pipes. Iteration counts are counters; the
// discharge-estimate method's questions are all answered Yes.

#include "network/Network_Class.h"
#include "tests/network/Benchmark_Networks.h"

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

// range(0) pipes, range(1) 0 for the grid, 1 for the irregular network.
std::unique_ptr<TNetwork> benchNetwork(const benchmark::State &state)
{
    const int pipes = static_cast<int>(state.range(0));
    return state.range(1) == 0 ? test::GridNetwork(pipes, 7, &acceptingUserInterface)
                               : test::IrregularNetwork(pipes, 11, &acceptingUserInterface);
}

void requireSolved(benchmark::State &state, bool solved)
{
    if (!solved)
        state.SkipWithError("not solved");
}

void BM_LoopFinding(benchmark::State &state)
{
    auto network = benchNetwork(state);
    TResultsLog log;
    for (auto _ : state) {
        network->PipeLoopsRemoveAllLoops();
        network->PipeLoopsGenerateAllLoops(log);
        log.Clear();
    }
    state.counters["loops"] = network->PipeLoopsCount;
}

// Loops are kept while the layout stays; reversing one pipe in every round
// makes each round a fresh search.
void BM_LoopFindingFresh(benchmark::State &state)
{
    auto network = benchNetwork(state);
    TResultsLog log;
    const int pipe = network->NodeLinks[1].PipeId;
    for (auto _ : state) {
        network->ReversePipeLink(pipe);
        network->PipeLoopsRemoveAllLoops();
        network->PipeLoopsGenerateAllLoops(log);
        log.Clear();
    }
    state.counters["loops"] = network->PipeLoopsCount;
}

void BM_EquationGeneration(benchmark::State &state)
{
    auto network = benchNetwork(state);
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
    auto network = benchNetwork(state);
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
void BM_SolveDischargeEstimate(benchmark::State &state) { solveBenchmark(state, EstimateDischargeNewtonOnly); }

} // namespace

void networkSizes(benchmark::internal::Benchmark *b)
{
    for (const int pipes : {100, 500, 1000})
        b->Args({pipes, 0});
    b->Args({950, 1});
    b->ArgNames({"pipes", "irregular"});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_LoopFinding)->Apply(networkSizes);
BENCHMARK(BM_LoopFindingFresh)->Apply(networkSizes);
BENCHMARK(BM_EquationGeneration)->Apply(networkSizes);
BENCHMARK(BM_SolveLinearTheoryThenNewton)->Apply(networkSizes);
BENCHMARK(BM_SolveLinearTheoryOnly)->Apply(networkSizes);
BENCHMARK(BM_SolveDischargeEstimate)->Apply(networkSizes);

BENCHMARK_MAIN();
