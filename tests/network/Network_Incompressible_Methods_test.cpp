#include "network/Network_Class.h"

#include "Liquid_Network_Fixture.h"
#include "Random_Liquid_Network.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>

namespace tessaran {
namespace {

using test::AddFixedFlowPump;
using test::AddSolverNode;
using test::AddSolverPipe;
using test::AddTank;
using test::AddValve;
using test::InputSnapshot;

bool Contains(const TResultsLog &log, const std::string &text)
{
    return std::find(log.Lines.begin(), log.Lines.end(), text) != log.Lines.end();
}

int CountStarting(const TResultsLog &log, const std::string &start)
{
    return static_cast<int>(std::count_if(log.Lines.begin(), log.Lines.end(),
                                          [&](const std::string &line) { return line.rfind(start, 0) == 0; }));
}

struct SolveResult {
    bool Solved = false;
    bool SolutionOk = false;
    TResultsLog Log;
    TResultsLog PrivateLog;
};

SolveResult Solve(TNetwork &network, TMethodOfSolution method)
{
    network.ConfigOptions.MethodOfSolution = method;
    SolveResult result;
    network.SolveNetwork(result.Solved, result.SolutionOk, result.Log, result.PrivateLog);
    return result;
}

// --- Against the reference solver ------------------------------------------------------

struct GridCase {
    unsigned Seed;
    int Rows, Columns, Tanks;
};

class AgainstReference : public ::testing::TestWithParam<GridCase> {};

TEST_P(AgainstReference, BothMethodsMatchTheIndependentSolution)
{
    const GridCase c = GetParam();
    for (TMethodOfSolution method : {LinearTheoryThenNewton, LinearTheoryOnly}) {
        SCOPED_TRACE(static_cast<int>(method));
        test::RandomLiquidNetwork random(c.Seed, c.Rows, c.Columns, c.Tanks);
        TNetwork &network = *random.Network;
        ASSERT_GE(random.PipeCount(), 5);
        ASSERT_LE(random.PipeCount(), 50);
        ASSERT_LT(random.Reference.LargestImbalance_m3s, 1e-12) << "the reference did not converge";
        test::TScriptedUserInterface ui;
        ui.Answers.assign(20, true); // reverse pipes drawn against the flow
        network.UserInterface = &ui;
        // Tolerances well below the comparison's, so that what is compared
        // is the solution and not the tolerance.
        auto &parameters = network.ConfigOptions.CalculationParameters;
        parameters[LinearTheoryFlowBalanceStopAdjustKgPerSec] = 1e-9;
        parameters[LinearTheoryFlowBalanceStopRatioKgPerSec] = 1e-9;
        parameters[NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar] = 1e-9;
        parameters[NewtonDarcyFromLinearMinFlowBalanceKgPerSec] = 1e-9;
        // Linear theory alone stops at an approximate solution by design (its
        // log says so, and its check against the exact law may fail): it is
        // held to a few percent of the flows and a few millibar.
        const bool exact = method == LinearTheoryThenNewton;
        const double flowTolerance = exact ? 1e-4 : 5e-2;
        const double pressureTolerance = exact ? 1e-4 : 5e-3;
        const double flowFloor = exact ? 1e-9 : 1e-3; // of the largest flow

        const SolveResult result = Solve(network, method);
        ASSERT_TRUE(result.Solved) << ::testing::PrintToString(result.Log.Lines);
        if (exact)
            EXPECT_TRUE(result.SolutionOk) << ::testing::PrintToString(result.Log.Lines);

        double largest = 0;
        for (const auto &[id, q] : random.Reference.Flow_m3s)
            largest = std::max(largest, std::fabs(q));
        for (const auto &[id, pipe] : random.Reference.Pipes) {
            int from = 0, to = 0;
            network.GetFromAndToNodeIds(id, from, to);
            const double sign = from == pipe.From ? 1.0 : -1.0;
            const double flow = sign * network.GetPipe(id).FlowUncompressed_m3s;
            const double expected = random.Reference.Flow_m3s.at(id);
            EXPECT_NEAR(flow, expected, flowTolerance * std::fabs(expected) + flowFloor * largest) << "pipe " << id;
        }
        for (const auto &[id, node] : random.Reference.Nodes)
            EXPECT_NEAR(network.GetNode(id).Pressure_Bar_g, random.Reference.Pressure_bar_g(id), pressureTolerance)
                << "node " << id;
    }
}

INSTANTIATE_TEST_SUITE_P(SeededGrids, AgainstReference,
                         ::testing::Values(GridCase{11, 1, 3, 3}, GridCase{12, 2, 2, 2}, GridCase{13, 2, 3, 3},
                                           GridCase{14, 3, 3, 2}, GridCase{15, 3, 4, 3}, GridCase{16, 4, 5, 3},
                                           GridCase{17, 5, 5, 4}, GridCase{20, 4, 5, 3}, GridCase{21, 5, 5, 4},
                                           GridCase{22, 4, 6, 3}, GridCase{26, 4, 6, 3}, GridCase{30, 4, 6, 3}));

// The driver runs the discharge-estimate method too; it finds the same flows.
TEST(SolveDriver, DischargeEstimateMethodAgreesWithNewtonFromLinearTheory)
{
    test::RandomLiquidNetwork first(13, 2, 3, 3), second(13, 2, 3, 3);
    test::TScriptedUserInterface ui;
    ui.Answers.assign(40, true);
    first.Network->UserInterface = &ui;
    second.Network->UserInterface = &ui;
    const SolveResult newton = Solve(*first.Network, LinearTheoryThenNewton);
    const SolveResult estimate = Solve(*second.Network, EstimateDischargeNewtonOnly);
    ASSERT_TRUE(newton.Solved);
    ASSERT_TRUE(estimate.Solved) << ::testing::PrintToString(estimate.Log.Lines);
    for (const auto &[id, pipe] : first.Reference.Pipes) {
        int from1 = 0, to1 = 0, from2 = 0, to2 = 0;
        first.Network->GetFromAndToNodeIds(id, from1, to1);
        second.Network->GetFromAndToNodeIds(id, from2, to2);
        const double q1 = (from1 == pipe.From ? 1 : -1) * first.Network->GetPipe(id).FlowUncompressed_m3s;
        const double q2 = (from2 == pipe.From ? 1 : -1) * second.Network->GetPipe(id).FlowUncompressed_m3s;
        EXPECT_NEAR(q2, q1, 1e-3 * std::fabs(q1)) << "pipe " << id;
    }
}

// --- Control elements end to end ------------------------------------------------------------

// A tank at 40 m feeding joint A, a pipe from A to B carrying the element,
// a branch from B through joint C to a low tank and a dead end to joint D;
// every pipe is drawn in the direction of its flow.
struct ControlNetwork {
    std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
    test::TScriptedUserInterface Ui;
    int High = 0, A = 0, B = 0, C = 0, D = 0, Low = 0, Element = 0;

    ControlNetwork()
    {
        TNetwork &n = *Network;
        n.UserInterface = &Ui;
        High = AddTank(n, "High", 40, 2);
        A = AddSolverNode(n, "A", Joint, 5);
        B = AddSolverNode(n, "B", Joint, 4);
        C = AddSolverNode(n, "C", Joint, 2, 0.004);
        D = AddSolverNode(n, "D", Joint, 1, 0.003);
        Low = AddTank(n, "Low", 0, 1);
        AddSolverPipe(n, High, A, 200, 0.3, "feed");
        Element = AddSolverPipe(n, A, B, 50, 0.3, "element");
        AddSolverPipe(n, B, C, 150, 0.2, "branch");
        AddSolverPipe(n, C, Low, 300, 0.2, "to low");
        AddSolverPipe(n, B, D, 120, 0.1, "dead end");
    }
};

struct ControlCase {
    const char *Name;
    TControlType Valve; // the element when Pump is false
    bool Pump;
    double Setting; // m3/s for a flow, bar g for a pressure
};

class ControlElement : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlElement, HoldsItsSettingAndLeavesTheNetworkAsItWas)
{
    const ControlCase c = GetParam();
    for (TMethodOfSolution method : {LinearTheoryThenNewton, LinearTheoryOnly}) {
        SCOPED_TRACE(static_cast<int>(method));
        ControlNetwork net;
        TNetwork &n = *net.Network;
        if (c.Pump)
            AddFixedFlowPump(n, net.Element, c.Setting);
        else
            AddValve(n, net.Element, c.Valve, c.Valve == FCV ? c.Setting : 0, c.Valve == FCV ? 0 : c.Setting);
        if (method == LinearTheoryOnly) {
            n.ConfigOptions.CalculationParameters[LinearTheoryFlowBalanceStopAdjustKgPerSec] = 1e-9;
            n.ConfigOptions.CalculationParameters[LinearTheoryFlowBalanceStopRatioKgPerSec] = 1e-9;
        }
        const auto before = InputSnapshot(n);
        const int nodes = n.GetNodeCount(), pipes = n.GetPipeCount();

        const SolveResult result = Solve(n, method);
        ASSERT_TRUE(result.Solved) << ::testing::PrintToString(result.Log.Lines);
        if (method == LinearTheoryThenNewton)
            EXPECT_TRUE(result.SolutionOk) << ::testing::PrintToString(result.Log.Lines);
        EXPECT_FALSE(n.IsCalculating());

        const TPipe &element = n.GetPipe(net.Element);
        if (c.Pump || c.Valve == FCV) {
            EXPECT_NEAR(element.FlowUncompressed_m3s, c.Setting, 1e-9);
        } else if (c.Valve == PRV) {
            EXPECT_NEAR(n.GetNode(net.B).Pressure_Bar_g, c.Setting, 1e-6);
            EXPECT_GT(element.FlowControlLoss_Bar, 0);
        } else {
            EXPECT_NEAR(n.GetNode(net.A).Pressure_Bar_g, c.Setting, 1e-6);
            EXPECT_GT(element.FlowControlLoss_Bar, 0);
        }
        // Mass balance at B and C with the element's flow.
        EXPECT_NEAR(n.GetPipe(5).FlowUncompressed_m3s, 0.003, 1e-6);
        EXPECT_NEAR(element.FlowUncompressed_m3s, n.GetPipe(4).FlowUncompressed_m3s + 0.007, 1e-6);
        if (c.Pump)
            EXPECT_GT(element.Pump_mHd_Fluid, 0);

        EXPECT_EQ(n.GetNodeCount(), nodes);
        EXPECT_EQ(n.GetPipeCount(), pipes);
        EXPECT_EQ(InputSnapshot(n), before);
    }
}

INSTANTIATE_TEST_SUITE_P(LiquidMethods, ControlElement,
                         ::testing::Values(ControlCase{"FCV", FCV, false, 0.02},
                                           ControlCase{"PRV", PRV, false, 1.5},
                                           ControlCase{"BPV", BPV, false, 3.5},
                                           ControlCase{"FixedFlowPump", FCV, true, 0.2}),
                         [](const auto &info) { return std::string(info.param.Name); });

// --- The results log ---------------------------------------------------------------------------

TEST(LiquidMethodsLog, SolvedNetworkIsVerifiedAndSummarised)
{
    ControlNetwork net;
    const SolveResult result = Solve(*net.Network, LinearTheoryThenNewton);
    ASSERT_TRUE(result.Solved);
    EXPECT_TRUE(result.SolutionOk);
    EXPECT_TRUE(net.Network->solvedSuccessful);
    EXPECT_EQ(net.Network->WarningCount, 0);
    EXPECT_EQ(net.Network->CommentCount, 0);
    EXPECT_EQ(CountStarting(result.Log, ">>> Solution Verified."), 1);
    EXPECT_EQ(CountStarting(result.Log, "Final Solution Details:"), 1);
    EXPECT_EQ(CountStarting(result.Log, "Final solution iterations: "), 1);
    EXPECT_TRUE(Contains(result.Log, "Found linear solution flow values. Refining..."));
    EXPECT_FALSE(Contains(result.Log, "Items for consideration:"));
    // The linear pass wrote to the private log only.
    EXPECT_TRUE(Contains(result.PrivateLog, "First find initial approximate solution using linear convergence."));
    EXPECT_FALSE(Contains(result.Log, "First find initial approximate solution using linear convergence."));
    EXPECT_GT(net.Network->getIterationCount(), 0);
    EXPECT_GT(net.Network->getIterationCountTotal(), 1);

    // Linear theory alone verifies and summarises, the driver does not repeat it.
    ControlNetwork linear;
    const SolveResult linearResult = Solve(*linear.Network, LinearTheoryOnly);
    ASSERT_TRUE(linearResult.Solved);
    EXPECT_EQ(CountStarting(linearResult.Log, ">>> Verifying pipe losses against node pressures"), 1);
    EXPECT_EQ(CountStarting(linearResult.Log, "Final Solution Details:") +
                  CountStarting(linearResult.Log, "System solved but solution is NOT VALID:"),
              1);
    EXPECT_TRUE(Contains(linearResult.Log, "Solving network to approximate solution using linear convergence."));
}

TEST(LiquidMethodsLog, FourFailedAttemptsEndWithTheFailureLineAndTheVerdict)
{
    ControlNetwork net;
    auto &parameters = net.Network->ConfigOptions.CalculationParameters;
    parameters[NewtonDarcyFromLinearMaxIterationsInitial] = 1;
    parameters[NewtonDarcyFromLinearMaxIterationsFinal] = 1;
    parameters[NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar] = 1e-300;
    parameters[NewtonDarcyFromLinearMinFlowBalanceKgPerSec] = 1e-300;
    const auto before = InputSnapshot(*net.Network);

    const SolveResult result = Solve(*net.Network, LinearTheoryThenNewton);
    EXPECT_FALSE(result.Solved);
    EXPECT_FALSE(result.SolutionOk);
    EXPECT_FALSE(net.Network->solvedSuccessful);
    EXPECT_EQ(CountStarting(result.Log, "Solution outside specified loop balance tolerance (using refinement delta="),
              4);
    EXPECT_EQ(CountStarting(result.Log, "Set Delta Multiplier to "), 3);
    EXPECT_TRUE(Contains(result.Log, "Failed to converge from linear solution start values."));
    EXPECT_FALSE(Contains(result.Log, "Final Solution Details:"));
    // The run ends with its one verdict.
    EXPECT_EQ(CountStarting(result.Log, "SYSTEM WAS NOT SOLVED."), 1);
    EXPECT_EQ(InputSnapshot(*net.Network), before);
}

TEST(LiquidMethodsLog, StopMeansNotSolved)
{
    // Stopped during the Newton pass: after its first message pump.
    ControlNetwork net;
    TNetwork &n = *net.Network;
    int newtonPumps = 0;
    net.Ui.OnProcessMessages = [&] {
        if (n.CurrentMethodOfSolution == LinearTheoryThenNewton && ++newtonPumps > 1)
            n.StopCalculating = true;
    };
    const auto before = InputSnapshot(n);
    const SolveResult result = Solve(n, LinearTheoryThenNewton);
    EXPECT_FALSE(result.Solved);
    EXPECT_FALSE(n.solvedSuccessful);
    EXPECT_FALSE(Contains(result.Log, ">>> Solution Verified."));
    EXPECT_FALSE(Contains(result.Log, "Final Solution Details:"));
    EXPECT_EQ(result.Log.Lines.back(), "*** Calculation Stopped. System was not solved.");
    EXPECT_EQ(InputSnapshot(n), before);

    // Stopped during linear theory: the user sees the first pass's log too.
    ControlNetwork early;
    TNetwork &m = *early.Network;
    early.Ui.OnProcessMessages = [&] {
        if (m.CurrentMethodOfSolution == LinearTheoryOnly)
            m.StopCalculating = true;
    };
    const SolveResult earlyResult = Solve(m, LinearTheoryThenNewton);
    EXPECT_FALSE(earlyResult.Solved);
    EXPECT_TRUE(Contains(earlyResult.Log, "First find initial approximate solution using linear convergence."));
    EXPECT_EQ(earlyResult.Log.Lines.back(), "*** Calculation Stopped. System was not solved.");

    // Stopped at the very first message pump of the calculation.
    ControlNetwork first;
    TNetwork &f = *first.Network;
    bool pressed = false;
    first.Ui.OnProcessMessages = [&] {
        if (!pressed)
            f.StopCalculating = pressed = true;
    };
    const SolveResult firstResult = Solve(f, LinearTheoryThenNewton);
    EXPECT_FALSE(firstResult.Solved);
    EXPECT_EQ(firstResult.Log.Lines.back(), "*** Calculation Stopped. System was not solved.");
}

TEST(LiquidMethodsLog, AFailureInsideTheSolveLeavesLoopMessagesOn)
{
    ControlNetwork net;
    TNetwork &n = *net.Network;
    net.Ui.OnProcessMessages = [&] {
        if (!n.PipeLoopsMessagesOn)
            throw std::runtime_error("window closed");
    };
    EXPECT_THROW(Solve(n, LinearTheoryThenNewton), std::runtime_error);
    EXPECT_TRUE(n.PipeLoopsMessagesOn);
    EXPECT_FALSE(n.IsCalculating());
}

// The refusal reaches the results log from either method; with Newton it
// stops the first pass, whose private log the user then sees.
TEST(LiquidMethodsLog, TooManyPressureValvesAreRefusedWithAReason)
{
    for (TMethodOfSolution method : {LinearTheoryOnly, LinearTheoryThenNewton}) {
        SCOPED_TRACE(static_cast<int>(method));
        ControlNetwork net;
        TNetwork &n = *net.Network;
        AddValve(n, net.Element, PRV, 0, 1.5);
        // Fill the node table so that the control node has no room.
        while (n.GetNodeCount() < TNetwork::MaxNodes)
            AddSolverNode(n, "", Joint);
        const auto before = InputSnapshot(n);
        const SolveResult result = Solve(n, method);
        EXPECT_FALSE(result.Solved);
        EXPECT_EQ(CountStarting(result.Log, "The network is too large to model its 1 pressure reducing"), 1);
        EXPECT_FALSE(Contains(result.Log, "Found linear solution flow values. Refining..."));
        EXPECT_EQ(InputSnapshot(n), before);
        EXPECT_FALSE(n.IsCalculating());
    }
}

TEST(LiquidMethodsLog, BusyWhileCalculating)
{
    ControlNetwork net;
    bool busyInside = false;
    net.Ui.OnProcessMessages = [&] { busyInside = busyInside || net.Network->IsCalculating(); };
    EXPECT_FALSE(net.Network->IsCalculating());
    Solve(*net.Network, LinearTheoryThenNewton);
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(net.Network->IsCalculating());
}

// A gas run's flow tolerance does not carry into a liquid run.
TEST(LiquidMethodsLog, FlowToleranceIsSetByEachMethod)
{
    ControlNetwork net;
    net.Network->MatrixEquations.MinFlowTermsAccuracy_kgs = 50.0;
    const SolveResult result = Solve(*net.Network, LinearTheoryThenNewton);
    ASSERT_TRUE(result.Solved);
    EXPECT_EQ(net.Network->MatrixEquations.MinFlowTermsAccuracy_kgs,
              net.Network->ConfigOptions.CalculationParameters[NewtonDarcyFromLinearMinFlowBalanceKgPerSec]);
}


// A method run on a network it cannot solve names the first fault it meets:
// a missing pressure reference before a fluid without density (the first
// link whose pipe carries one) before a demand on a joint no pipe reaches
// (the lowest such id). The same faults are found when the loops of the
// last run are taken again.
TEST(LiquidMethodsLog, PreparationNamesTheFirstFaultAlsoWhenTheLoopsAreKept)
{
    struct Ring {
        std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
        test::TScriptedUserInterface Ui;
        int High = 0, A = 0, B = 0, C = 0, LooseLow = 0, LooseHigh = 0, Feed = 0, AB = 0, BC = 0, CA = 0;
        Ring()
        {
            TNetwork &n = *Network;
            n.UserInterface = &Ui;
            High = AddTank(n, "High", 30);
            A = AddSolverNode(n, "A", Joint);
            LooseLow = AddSolverNode(n, "LooseLow", Joint);
            B = AddSolverNode(n, "B", Joint, 0, 0.004);
            C = AddSolverNode(n, "C", Joint, 0, 0.002);
            LooseHigh = AddSolverNode(n, "LooseHigh", Joint);
            Feed = AddSolverPipe(n, High, A, 100, 0.1, "Feed");
            AB = AddSolverPipe(n, A, B, 80, 0.08, "AB");
            BC = AddSolverPipe(n, B, C, 60, 0.05, "BC");
            CA = AddSolverPipe(n, C, A, 120, 0.08, "CA");
        }
        void Demand(int node)
        {
            Network->GetNode(node).JointDischarge_kgs = 0.5;
        }
        void Zone(int pipe, int zone, double density)
        {
            Network->GetPipe(pipe).FluidZoneIndex = zone;
            if (zone >= 1 && zone <= TNetwork::MaxFluidZones)
                Network->FluidZones[static_cast<std::size_t>(zone)].Fluid.density_kgs_m3 = density;
        }
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string noReference = "The network has neither a Tank nor an End Pressure node: flows and pressures "
                                    "can only be found from a known pressure.";
    const auto density = [](int pipe) { return "Pipe " + std::to_string(pipe) + " carries a fluid whose density is not above zero."; };
    const auto demand = [](int node, const std::string &name) {
        return "Node " + std::to_string(node) + ", " + name + ", has a demand flow but no pipe connects to it.";
    };
    struct Case {
        const char *Name;
        std::function<void(Ring &)> Spoil;
        std::function<std::string(const Ring &)> Fault; // empty: none
    };
    const Case cases[] = {
        {"sound", [](Ring &) {}, [](const Ring &) { return std::string(); }},
        {"a zone no pipe carries", [&](Ring &r) { r.Network->FluidZones[3].Fluid.density_kgs_m3 = 0; },
         [](const Ring &) { return std::string(); }},
        {"a zone out of range reads the first", [&](Ring &r) { r.Zone(r.BC, 99, 0); },
         [](const Ring &) { return std::string(); }},
        {"two pipes in a zone without density", [&](Ring &r) { r.Zone(r.CA, 4, 0), r.Zone(r.AB, 4, 0); },
         [&](const Ring &r) { return density(r.AB); }},
        {"the first zone undefined, read by a zone out of range", [&](Ring &r) {
             r.Zone(r.BC, 5, 980);
             r.Zone(r.CA, 5, 980);
             r.Zone(r.Feed, 5, 980);
             r.Zone(r.AB, 0, nan);
             r.Network->FluidZones[1].Fluid.density_kgs_m3 = nan;
         },
         [&](const Ring &r) { return density(r.AB); }},
        {"two loose demands", [](Ring &r) { r.Demand(r.LooseHigh), r.Demand(r.LooseLow); },
         [&](const Ring &r) { return demand(r.LooseLow, "LooseLow"); }},
        {"density before demand", [&](Ring &r) { r.Demand(r.LooseLow), r.Zone(r.CA, 2, -1); },
         [&](const Ring &r) { return density(r.CA); }},
        {"reference before all", [&](Ring &r) {
             r.Demand(r.LooseLow);
             r.Zone(r.CA, 2, -1);
             r.Network->GetNode(r.High).NodeType = EndPressure;
             r.Network->GetNode(r.High).NodeType = Joint;
         },
         [&](const Ring &) { return noReference; }},
    };
    for (const Case &c : cases)
        for (const bool keptLoops : {false, true}) {
            SCOPED_TRACE(std::string(c.Name) + (keptLoops ? ", loops kept" : ""));
            Ring ring;
            TNetwork &n = *ring.Network;
            bool solved = false, solutionOk = false;
            if (keptLoops) {
                TResultsLog first;
                n.SolveNetworkLinearTheory(solved, solutionOk, first);
                ASSERT_TRUE(solved) << ::testing::PrintToString(first.Lines);
            }
            c.Spoil(ring);
            TResultsLog log;
            n.SolveNetworkLinearTheory(solved, solutionOk, log);
            const std::string fault = c.Fault(ring);
            EXPECT_EQ(solved, fault.empty()) << ::testing::PrintToString(log.Lines);
            EXPECT_EQ(CountStarting(log, ">>> PROBLEM:"), fault.empty() ? 0 : 1);
            if (!fault.empty())
                EXPECT_TRUE(Contains(log, fault)) << ::testing::PrintToString(log.Lines);
        }
}

} // namespace
} // namespace tessaran
