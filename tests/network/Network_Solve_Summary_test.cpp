#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "Liquid_Network_Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tessaran {
namespace {

using test::AddFixedFlowPump;
using test::AddSolverNode;
using test::AddSolverPipe;
using test::AddTank;
using test::AddValve;
using test::NewNetwork;

bool ContainsStart(const TResultsLog &log, const std::string &start)
{
    return std::any_of(log.Lines.begin(), log.Lines.end(),
                       [&](const std::string &line) { return line.rfind(start, 0) == 0; });
}

// A tank feeding two joints with demands, with results filled in by hand.
std::unique_ptr<TNetwork> SmallSolvedNetwork()
{
    auto network = NewNetwork();
    const int tank = AddTank(*network, "Tank", 12.5);
    const int a = AddSolverNode(*network, "A", Joint, -3, 0.002);
    const int b = AddSolverNode(*network, "B", Joint, 4, 0.003);
    const int p1 = AddSolverPipe(*network, tank, a, 100, 0.1);
    const int p2 = AddSolverPipe(*network, a, b, 50, 0.05);
    network->GetPipe(p1).FlowUncompressed_m3s = 0.005;
    network->GetPipe(p2).FlowUncompressed_m3s = 0.003;
    network->GetPipe(p1).PipeFrictionLoss_mHd_Fluid = 1.25;
    network->GetPipe(p2).PipeFrictionLoss_mHd_Fluid = 0.5;
    network->GetNode(tank).Pressure_Bar_g = 0;
    network->GetNode(a).Pressure_Bar_g = 1.2;
    network->GetNode(b).Pressure_Bar_g = 0.4;
    return network;
}

TEST(SolveSummary, NotSolvedGetsHeadingConfigurationAndVolumeOnly)
{
    auto network = SmallSolvedNetwork();
    TResultsLog log;
    network->SolveLogSummary(log, false, false);
    const std::vector<std::string> expected = {
        " ",
        "SYSTEM WAS NOT SOLVED.",
        " ",
        "It may be that the system is over-controlled, or that flow rates cannot be met with the defined pressure "
        "conditions.",
        " ",
        std::string(123, '-'),
        "Configuration:",
        " ",
        "Pipes: 2",
        "Tanks: 1",
        "Join Points: 2",
        "Demand Pressures: 0",
        "Pumps: 0",
        "Components: 0",
        "Control Valves: 0",
        "Overall Volumes:",
        "Flow Demands In: 0.0000 m³/sec",
        "Flow Demands Out: 0.0050 m³/sec",
        "Flow Controls: 0.0000 m³/sec",
        "System Volume: 0.884 m³ (does not include any closed pipes)",
        " "};
    ASSERT_EQ(log.Lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(log.Lines[i], expected[i]) << i;
}

TEST(SolveSummary, SolvedAndValidWithoutLoops)
{
    auto network = SmallSolvedNetwork();
    TResultsLog log;
    network->SolveLogSummary(log, true, true);
    EXPECT_EQ(log.Lines[2], "Final Solution Details:");
    EXPECT_TRUE(ContainsStart(log, "Method of Solution: "));
    // The joints balance: B takes what A passes on, A what the tank gives less its own demand.
    EXPECT_TRUE(ContainsStart(log, "    Flow Balance to: 0.000000000000 kg/s"));
    EXPECT_FALSE(ContainsStart(log, "    Largest 'Loop'"));
    EXPECT_TRUE(ContainsStart(log, "Total Friction Losses in all pipes is: 1.750000 m"));
    EXPECT_TRUE(ContainsStart(log, "Lowest Pressure at any node is: 0.000000 bar.g (1 (Tank))"));
    EXPECT_TRUE(ContainsStart(log, "Highest Pressure at any node is: 1.200000 bar.g (2 (A))"));
    EXPECT_TRUE(ContainsStart(log, "Lowest Elevation of any node is: -3.000 m (A)"));
    EXPECT_TRUE(ContainsStart(log, "Highest Elevation of any node is: 12.500 m (Tank)"));
}

TEST(SolveSummary, TwoFluidZonesLeaveOutTheTotals)
{
    auto network = SmallSolvedNetwork();
    network->FluidZonesCount = 2;
    TResultsLog log;
    network->SolveLogSummary(log, true, true);
    EXPECT_FALSE(ContainsStart(log, "Overall Volumes:"));
    EXPECT_FALSE(ContainsStart(log, "Flow Demands In: "));
    EXPECT_FALSE(ContainsStart(log, "Total Friction Losses"));
    EXPECT_TRUE(ContainsStart(log, "System Volume: "));
}

TEST(SolveSummary, LoopBalanceLinesWithLoops)
{
    auto network = SmallSolvedNetwork();
    network->PipeLoopsCount = 1;
    network->PipeLoopsPipeCount[1] = 2;
    network->PipeLoops[1][1] = 1;
    network->PipeLoops[1][2] = 2;
    TSystemSummaryData data;
    network->GetSystemSummaryData(data);
    EXPECT_NEAR(data.HighestLoopLoss_bar, 1.75 * 998.0 * 9.80665 / 1e5, 1e-9);

    TResultsLog log;
    network->SolveLogSummary(log, true, true);
    EXPECT_TRUE(ContainsStart(log, "    Largest 'Loop' Resistance Loss balanced is: 0.171"));
    EXPECT_TRUE(ContainsStart(log, "    Loop Pressure Balance (percentage) to: "));

    network->ConfigOptions.MethodOfSolution = LinearTheoryOnly;
    log.Clear();
    network->SolveLogSummary(log, true, true);
    EXPECT_FALSE(ContainsStart(log, "    Largest 'Loop'"));
}

TEST(SolveSummary, InvalidSolutionNamesItsLeastAccuratePipe)
{
    auto network = SmallSolvedNetwork();
    network->HighestPressureBalancingToleranceFinal_bar = 0.25;
    network->HighestPressureBalancingTolerancePipeId = 2;
    TResultsLog log;
    network->SolveLogSummary(log, true, false);
    EXPECT_EQ(log.Lines[1], "System solved but solution is NOT VALID:");
    EXPECT_TRUE(ContainsStart(log, "*** Solution is only accurate to: 0.250000 bar"));
    EXPECT_TRUE(ContainsStart(log, "*** Pipe Id 2 has the largest inaccuracy"));
    EXPECT_TRUE(ContainsStart(log, "    Pressure at Node 2 is 1.2000 bar.g"));
    EXPECT_TRUE(ContainsStart(log, "    Pressure at Node 3 is 0.4000 bar.g"));
    EXPECT_TRUE(ContainsStart(log, "    The Node Pressure Diff = 0.80000000 bar"));
}

TEST(SolveSummary, FlowBalanceStopsAtTheFirstJointAboveTheLimit)
{
    auto network = SmallSolvedNetwork();
    // A loses 2 kg/s more than it gets, B 5 kg/s: the scan stops at A.
    network->GetNode(2).JointDischarge_m3s += 2.0 / 998.0;
    network->GetNode(3).JointDischarge_m3s += 5.0 / 998.0;
    bool ok = true;
    int nodeId = 0;
    double largest = 0;
    network->CheckNetworkFlowContinuity(1.0, ok, nodeId, largest);
    EXPECT_FALSE(ok);
    EXPECT_EQ(nodeId, 2);
    EXPECT_NEAR(largest, 2.0, 1e-9);
}

TEST(SolveSummary, PumpHeadsAndOneTimeMessages)
{
    auto network = SmallSolvedNetwork();
    AddFixedFlowPump(*network, 1, 0.005);
    network->GetPipe(1).Pump_mHd_Fluid = 7.5;
    AddValve(*network, 2, FCV, 0.003, 0);
    TResultsLog log;
    network->SolveLogSummary(log, true, true);
    EXPECT_TRUE(ContainsStart(log, "Pumps: 1"));
    EXPECT_TRUE(ContainsStart(log, "Control Valves: 1"));
    EXPECT_TRUE(ContainsStart(log, "Flow Controls: 0.0030 m³/sec"));
    EXPECT_TRUE(ContainsStart(log, "Pipe 1: Pump Head Added is 7.500 m"));
    EXPECT_FALSE(ContainsStart(log, "Note: Systems that contain pumps in parallel"));

    log.Clear();
    network->LogOneTimeMessages(log);
    EXPECT_TRUE(log.Lines.empty());
    network->FixedFlowRatePumpWarning = true;
    network->LogOneTimeMessages(log);
    EXPECT_EQ(log.Lines.size(), 8u);
    EXPECT_EQ(log.Lines[2], "Items for consideration:");
}

} // namespace
} // namespace tessaran
