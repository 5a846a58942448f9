#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "Liquid_Network_Fixture.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace tessaran {
namespace {

using test::AddSolverNode;
using test::AddSolverPipe;
using test::AddTank;
using test::AddValve;
using test::NewNetwork;

bool Contains(const TResultsLog &log, const std::string &text)
{
    return std::find(log.Lines.begin(), log.Lines.end(), text) != log.Lines.end();
}

const std::vector<std::string> Verified = {" ", std::string(123, '-'), ">>> Found final solution.",
                                           ">>> Verifying pipe losses against node pressures at start and end of pipe... "
                                           "Passed.",
                                           ">>> Solution Verified."};

// Two joints and one pipe without losses: the balance error is the pressure
// difference of its ends.
struct OnePipe {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    test::TScriptedUserInterface Ui;
    int Start = 0, End = 0, Pipe = 0;

    OnePipe(double startPressure, double endPressure)
    {
        Network->UserInterface = &Ui;
        Start = AddSolverNode(*Network, "S", Joint);
        End = AddSolverNode(*Network, "E", Joint);
        Pipe = AddSolverPipe(*Network, Start, End);
        Network->GetNode(Start).Pressure_Bar_g = startPressure;
        Network->GetNode(End).Pressure_Bar_g = endPressure;
        Network->GetPipe(Pipe).FlowUncompressed_m3s = 0.001;
    }
};

TEST(SolutionChecks, BalanceErrorUpToTheToleranceIsVerified)
{
    const double tolerance = 0.000018; // the default final node balance
    {
        OnePipe n(tolerance, 0.0);
        ASSERT_EQ(n.Network->ConfigOptions.NodeBalancingToleranceFinal_bar, tolerance);
        TResultsLog log;
        bool ok = false;
        n.Network->CheckNetworkSolutionOk(log, ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(log.Lines, Verified);
        EXPECT_EQ(n.Network->HighestPressureBalancingToleranceFinal_bar, tolerance);
        EXPECT_EQ(n.Network->HighestPressureBalancingTolerancePipeId, n.Pipe);
        EXPECT_TRUE(n.Ui.Messages.empty());
    }
    {
        OnePipe n(std::nextafter(tolerance, 1.0), 0.0);
        TResultsLog log;
        bool ok = true;
        n.Network->CheckNetworkSolutionOk(log, ok);
        EXPECT_FALSE(ok);
        const std::vector<std::string> expected = {
            "*** PROBLEM WITH SOLUTION: ",
            "Pressure at Node 1 is 0.0000 bar.g",
            "Pressure at Node 2 is 0.0000 bar.g",
            "The Node Pressure Diff = 0.00001800 bar",
            "Pipe 1 Pressure Loss = 0.00000000 bar (out by 0.00001800 bar)",
            "Node balance absolute tolerance is set at 0.00001800 bar.g",
            " ",
            " ",
            std::string(123, '-'),
            ">>> Check Results",
            ">>> Verifying pipe losses against node pressures at start and end of pipe.",
            ">>> FAILED: Solution Invalid."};
        EXPECT_EQ(log.Lines, expected);
        ASSERT_EQ(n.Ui.Messages.size(), 1u);
        EXPECT_EQ(n.Ui.Messages[0].Text, "SOLUTION IS NOT VALID: Failed solution verification\r\rMore information is "
                                         "provided at the end of the log file.\r");
    }
}

TEST(SolutionChecks, PreventBackflowPipes)
{
    // Closed by the solver: its end pressure is higher. Verified, and not
    // counted in the highest balance error.
    {
        OnePipe n(1.0, 2.0);
        n.Network->GetPipe(n.Pipe).PreventBackflow = true;
        TResultsLog log;
        bool ok = false;
        n.Network->CheckNetworkSolutionOk(log, ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(log.Lines.front(), "Prevent BackFlow in Pipe 1 verified ok against start and end node pressures.");
        EXPECT_EQ(n.Network->HighestPressureBalancingToleranceFinal_bar, 0.0);
        EXPECT_EQ(n.Network->HighestPressureBalancingTolerancePipeId, 0);
    }
    // Its start pressure is higher: the closed pipe should carry flow.
    {
        OnePipe n(2.0, 1.0);
        n.Network->GetPipe(n.Pipe).PreventBackflow = true;
        n.Network->FinalPressureBalanceToleranceMaybeTooSmall = true;
        TResultsLog log;
        bool ok = true;
        n.Network->CheckNetworkSolutionOk(log, ok);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(n.Network->FinalPressureBalanceToleranceMaybeTooSmall);
        EXPECT_TRUE(Contains(log, ">>> Prevent BackFlow in Pipe 1 FAILED CHECK against start and end node pressures."));
        EXPECT_FALSE(Contains(log, ">>> Check Results"));
        ASSERT_EQ(n.Ui.Messages.size(), 1u);
        EXPECT_NE(n.Ui.Messages[0].Text.find("preventing backflow"), std::string::npos);
    }
}

TEST(SolutionChecks, FlowControlSetToZeroFlow)
{
    OnePipe n(0.0, 0.0);
    AddValve(*n.Network, n.Pipe, FCV, 0.0, 0);
    n.Network->GetPipe(n.Pipe).FlowUncompressed_m3s = 0;
    TResultsLog log;
    bool ok = true;
    n.Network->CheckNetworkSolutionOk(log, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(Contains(log, "Pipe 1: Flow Control is set to zero flow."));
    EXPECT_TRUE(Contains(log, "Pipe 1: Hence there is No Flow in the pipe, which means the Control Valve cannot operate "
                              "correctly. Please review your system design or remove the control valve from this "
                              "pipe."));
    EXPECT_EQ(n.Ui.Messages.size(), 1u);
}

TEST(SolutionChecks, NodePressuresAgainstVapourPressureAndAbsoluteZero)
{
    struct Case {
        double Pressure_bar_g;
        bool Ok;
        bool VapourLine;
    };
    // Water: vapour pressure 0.024 bar a; atmosphere 1.01325 bar a.
    for (const Case &c : {Case{-0.9, true, false}, Case{-1.0, false, true}, Case{-1.1, false, true}}) {
        SCOPED_TRACE(c.Pressure_bar_g);
        OnePipe n(c.Pressure_bar_g, c.Pressure_bar_g);
        TResultsLog log;
        bool ok = !c.Ok;
        n.Network->CheckNetworkSolutionOk(log, ok);
        EXPECT_EQ(ok, c.Ok);
        EXPECT_EQ(Contains(log, ">>> PROBLEM:"), c.VapourLine);
        if (c.Pressure_bar_g == -1.0)
            EXPECT_TRUE(Contains(log, "Node 1, S, Pressure at node 0.0133 bar.a is less than the fluid vapour pressure "
                                      "0.0240 bar.a"));
    }
}

// Joint A takes InFlow from the tank and passes OutFlow on to joint B, whose
// demand takes it out; the comparison is of magnitudes within 0.1 %.
TEST(SolutionChecks, StartFlowContinuity)
{
    struct Case {
        double InFlow, OutFlow;
        const char *Line;
    };
    for (const Case &c : {Case{0.01, 0.010009, "Initial Flow Continuity Adjusted: Balanced Ok"},
                          Case{0.01, -0.01, "Initial Flow Continuity Adjusted: Balanced with negative flows"},
                          Case{0.01, 0.0101, "Initial Flow Continuity Adjusted: Not Fully Balanced"}}) {
        SCOPED_TRACE(c.Line);
        auto network = NewNetwork();
        const int tank = AddTank(*network, "T", 10);
        const int a = AddSolverNode(*network, "A", Joint);
        const int b = AddSolverNode(*network, "B", Joint, 0, std::fabs(c.OutFlow));
        network->GetPipe(AddSolverPipe(*network, tank, a)).FlowGuessUncompressed_m3s = c.InFlow;
        network->GetPipe(AddSolverPipe(*network, a, b)).FlowGuessUncompressed_m3s = c.OutFlow;
        TResultsLog log;
        bool ok = false, positive = false;
        network->CheckFlowContinuity(ok, positive, log);
        EXPECT_EQ(log.Lines, std::vector<std::string>{c.Line});
    }
}

} // namespace
} // namespace tessaran
