#include "network/Network_Class.h"

#include "Network_Solver_Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

using namespace tessaran;
using test::SolverNetwork;

namespace {

// A tank at 40 m feeding a ring of four joints with demands, and a pipe from
// the ring on to a tank at 5 m.
struct RingSystem {
    SolverNetwork s;
    int high = 0, low = 0;
    RingSystem()
    {
        high = s.Tank(40);
        const int r1 = s.Joint(0, 0.004), r2 = s.Joint(0, 0.003), r3 = s.Joint(0, 0.006), r4 = s.Joint();
        low = s.Tank(5);
        s.Pipe(high, r1, 0.15, 300);
        s.Pipe(r1, r2, 0.1, 200);
        s.Pipe(r2, r3, 0.08, 250);
        s.Pipe(r1, r4, 0.1, 150);
        s.Pipe(r4, r3, 0.08, 220);
        s.Pipe(r3, low, 0.1, 400);
    }
    std::map<int, double> Flows() const
    {
        std::map<int, double> flows;
        for (int id = s.net->GetNextPipeId(0); id > 0; id = s.net->GetNextPipeId(id))
            flows[id] = s.net->GetPipe(id).FlowUncompressed_m3s;
        return flows;
    }
};

// Two pipes drawn from the low tank up to the high one: the water can only
// run against the drawn direction.
struct DrawnUphill {
    SolverNetwork s;
    int pipe1 = 0, pipe2 = 0;
    DrawnUphill()
    {
        const int low = s.Tank(0), mid = s.Joint(), high = s.Tank(30);
        pipe1 = s.Pipe(low, mid);
        pipe2 = s.Pipe(mid, high);
        s.net->GetPipe(pipe1).Name = "P1";
        s.net->GetPipe(pipe2).Name = "P2";
    }
    int Attempts() const
    {
        int count = 0;
        for (const std::string &line : s.log.Lines)
            if (line.rfind("Start flow estimates using initial discharge velocity of ", 0) == 0)
                ++count;
        return count;
    }
};

} // namespace

TEST(NetworkDischargeEstimateMethod, AgreesWithBothLinearTheoryMethods)
{
    RingSystem estimate, linear, newton;
    bool solved = false, solutionOk = false;
    estimate.s.net->SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, estimate.s.log);
    ASSERT_TRUE(solved);
    EXPECT_TRUE(solutionOk);
    EXPECT_TRUE(estimate.s.net->solvedSuccessful);

    linear.s.net->ConfigOptions.MethodOfSolution = LinearTheoryOnly;
    // Linear theory stops on the change of its flows; ask it for a change
    // well below the agreement looked for.
    linear.s.net->ConfigOptions.CalculationParameters[LinearTheoryFlowBalanceStopAdjustKgPerSec] = 1e-9;
    linear.s.net->ConfigOptions.CalculationParameters[LinearTheoryFlowBalanceStopRatioKgPerSec] = 1e-8;
    linear.s.net->SolveNetworkLinearTheory(solved, solutionOk, linear.s.log);
    ASSERT_TRUE(solved);

    newton.s.net->ConfigOptions.MethodOfSolution = LinearTheoryThenNewton;
    newton.s.net->SolveNetworkLinearTheory(solved, solutionOk, newton.s.log);
    ASSERT_TRUE(solved);
    newton.s.net->SolveNetworkNewtonWithLinearTheoryEstimates(solved, solutionOk, newton.s.log);
    ASSERT_TRUE(solved);

    // Both Newton methods solve the same Darcy-Weisbach equations; linear
    // theory settles on its own power-law form of the pipe law, a few parts
    // in ten thousand away.
    const auto expected = estimate.Flows();
    for (const auto &[other, tolerance] : {std::pair{&newton, 1e-4}, std::pair{&linear, 1e-3}})
        for (const auto &[pipe, flow] : other->Flows()) {
            EXPECT_GT(flow, 0) << "pipe " << pipe;
            EXPECT_NEAR(flow, expected.at(pipe), tolerance * std::fabs(expected.at(pipe))) << "pipe " << pipe;
        }
}

TEST(NetworkDischargeEstimateMethod, WritesItsOwnSummaryAndFillsTheGuessVelocities)
{
    RingSystem ring;
    auto &parameters = ring.s.net->ConfigOptions.CalculationParameters;
    parameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec] = 0.5;
    parameters[NewtonDarcyFromDischargeEstMaxVelocity_mPerSec] = 10.5;
    parameters[NewtonDarcyFromDischargeEstNumOfVelocityGuesses] = 50;
    bool solved = false, solutionOk = false;
    ring.s.net->SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, ring.s.log);
    ASSERT_TRUE(solved && solutionOk);
    const auto &velocities = ring.s.net->NetworkClass_ArrayInitialGuessFlowVelocity_ms;
    EXPECT_DOUBLE_EQ(velocities[1], 0.5);
    EXPECT_DOUBLE_EQ(velocities[51], 10.5); // every entry is filled, the later ones beyond the maximum
    EXPECT_DOUBLE_EQ(velocities[100], 0.5 + 99 * 0.2);

    const auto &lines = ring.s.log.Lines;
    auto has = [&](const std::string &text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
    EXPECT_TRUE(has("Final Solution Details:"));
    EXPECT_TRUE(has("Darcy-Weisbach Calculation method with Colebrook-White Friction Factor equations."));
    EXPECT_TRUE(has("Pipes: 6"));
    EXPECT_TRUE(has("Join Points: 4"));
    EXPECT_TRUE(has("Iteration 1"));
}

TEST(NetworkDischargeEstimateMethod, AGuessCountBelowOneStillGivesUsableVelocities)
{
    RingSystem ring;
    auto &parameters = ring.s.net->ConfigOptions.CalculationParameters;
    parameters[NewtonDarcyFromDischargeEstNumOfVelocityGuesses] = 0;
    bool solved = false, solutionOk = false;
    ring.s.net->SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, ring.s.log);
    EXPECT_TRUE(solved);
    const auto &velocities = ring.s.net->NetworkClass_ArrayInitialGuessFlowVelocity_ms;
    const double step = parameters[NewtonDarcyFromDischargeEstMaxVelocity_mPerSec] -
                        parameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec];
    EXPECT_DOUBLE_EQ(velocities[2] - velocities[1], step); // taken as one guess per span
}

TEST(NetworkDischargeEstimateMethod, ReverseFlowsAreRefusedFirstAndReversedWithConsent)
{
    DrawnUphill yes;
    yes.s.ui.Answers = {true, true};
    bool solved = false, solutionOk = false;
    yes.s.net->SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, yes.s.log);
    EXPECT_TRUE(solved);
    EXPECT_EQ(yes.s.ui.QuestionsAsked, 2);
    // The whole first pass (100 guesses) refused the reverse flows.
    EXPECT_GT(yes.Attempts(), 100);
    for (int pipe : {yes.pipe1, yes.pipe2})
        EXPECT_GT(yes.s.net->GetPipe(pipe).FlowUncompressed_m3s, 0);
    int from = 0, to = 0;
    yes.s.net->GetFromAndToNodeIds(yes.pipe1, from, to);
    EXPECT_EQ(from, 2); // now drawn from the joint down to the low tank
    EXPECT_EQ(yes.s.ui.Messages[0].Text.rfind("Flow in P2 is negative (", 0), 0u); // walked from the last link

    DrawnUphill no;
    no.s.net->SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, no.s.log);
    EXPECT_FALSE(solved);
    EXPECT_EQ(no.s.ui.QuestionsAsked, 1); // the refusal ends the search
    no.s.net->GetFromAndToNodeIds(no.pipe1, from, to);
    EXPECT_EQ(from, 1);
}

TEST(NetworkDischargeEstimateMethod, ASearchWhoseFinalRunsFailIsBounded)
{
    // Reversals are accepted, but no final run can meet a zero loop balance:
    // each failure sends the search back to first-pass mode.
    DrawnUphill uphill;
    uphill.s.ui.Answers = {true, true, true, true, true, true, true, true};
    auto &parameters = uphill.s.net->ConfigOptions.CalculationParameters;
    parameters[NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar] = 0;
    parameters[NewtonDarcyFromDischargeEstMaxIterationsFinal] = 5;
    bool solved = true, solutionOk = true;
    uphill.s.net->SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, uphill.s.log);
    EXPECT_FALSE(solved);
    EXPECT_LE(uphill.Attempts(), 400);
    EXPECT_LE(uphill.s.ui.QuestionsAsked, 8);
}

TEST(NetworkDischargeEstimateMethod, SolvedMessageLines)
{
    struct Case {
        bool solved, accept, accurate, negative;
        std::vector<std::string> lines;
        bool tooSmall;
    };
    const std::string n = "0 calculations)";
    const Case cases[] = {
        {true, false, true, true, {"Found Accurate Solution BUT with some negative flows (" + n}, false},
        {true, false, true, false, {"Found Accurate Solution (" + n}, false},
        {true, false, false, true,
         {"Found Approximate Solution with some negative flows (" + n, "Continue search for positive flow solution."},
         false},
        {true, false, false, false, {"Found Approximate Solution (" + n, "Refining solution values"}, false},
        {true, true, true, true, {"Found Accurate Solution with some negative flows (" + n}, false},
        {true, true, false, true, {"Found Approximate Solution with some negative flows (" + n}, false},
        {true, true, true, false, {}, false},
        {true, true, false, false, {}, false},
        {false, true, true, false,
         {"Did Not Converge to an Accurate Solution (" + n, "Continue to next iteration"}, true},
        {false, false, false, true, {"Failed to find Approximate Solution (" + n}, false},
    };
    for (const Case &c : cases) {
        SolverNetwork s;
        s.net->SolvedMessage(c.solved, c.accurate, c.negative, c.accept, s.log);
        EXPECT_EQ(s.log.Lines, c.lines);
        EXPECT_EQ(s.net->FinalPressureBalanceToleranceMaybeTooSmall, c.tooSmall);
    }
}

// A ring of three pipes of almost no resistance between a high and a low
// tank: any split of the flow round the ring balances its loop to within
// the absolute tolerance, but only the split by resistance is the solution.
// The method finds it or says the system was not solved.
TEST(NetworkDischargeEstimateMethod, ALoopOfAlmostNoResistanceIsSolvedOrRefused)
{
    struct Case {
        double RingLength_m, RingDiameter_m, FeedDiameter_m;
    };
    for (const Case c : {Case{0.02, 1.0, 0.1}, Case{0.001, 0.5, 0.15}}) {
        SolverNetwork s;
        const int high = s.Tank(30), a = s.Joint(), b = s.Joint(), j = s.Joint(), low = s.Tank(0);
        s.Pipe(high, a, c.FeedDiameter_m, 500);
        const int ab = s.Pipe(a, b, c.RingDiameter_m, c.RingLength_m);
        const int bj = s.Pipe(b, j, c.RingDiameter_m, c.RingLength_m);
        const int aj = s.Pipe(a, j, c.RingDiameter_m, c.RingLength_m);
        s.Pipe(j, low, c.FeedDiameter_m, 500);
        s.net->ConfigOptions.MethodOfSolution = EstimateDischargeNewtonOnly;
        bool solved = false, ok = false;
        s.net->SolveNetworkNewtonWithDischargeEstimates(solved, ok, s.log);
        const double qab = s.net->GetPipe(ab).FlowUncompressed_m3s, qbj = s.net->GetPipe(bj).FlowUncompressed_m3s,
                     qaj = s.net->GetPipe(aj).FlowUncompressed_m3s;
        if (solved && ok) {
            // Turbulent: two equal pipes in series against one, so the flow
            // by b is about the total over 1 + sqrt(2).
            const double total = qab + qaj;
            EXPECT_NEAR(qab, total / (1 + std::sqrt(2.0)), 0.02 * total) << c.RingLength_m;
            EXPECT_NEAR(qbj, qab, 1e-9);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(std::count(s.log.Lines.begin(), s.log.Lines.end(),
                                 "The flows found from the discharge estimates do not solve the system."),
                      1)
                << c.RingLength_m;
        }
    }
}
