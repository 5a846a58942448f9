// Equation generation from links, loops and demands; both iterations on a
// generated liquid network; writing the flows back; reversing negative flows.

#include "network/Network_Solver_Fixture.h"

#include "Benchmark_Networks.h"
#include "support/Scripted_User_Interface.h"

#include "units/Calculations.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tessaran {
namespace {

using test::SolverNetwork;

constexpr double g = 9.80665;

double waterDensity(const TNetwork &n) { return n.FluidZones[1].Fluid.density_kgs_m3; }

// Two tanks joined through two joints.
struct Chain {
    SolverNetwork s;
    int t1, a, b, t2, p1, p2, p3;
    Chain(double high = 30, double low = 10)
    {
        t1 = s.Tank(high), a = s.Joint(), b = s.Joint(), t2 = s.Tank(low);
        p1 = s.Pipe(t1, a), p2 = s.Pipe(a, b), p3 = s.Pipe(b, t2);
    }
};

TEST(NetworkEquations, RowsMatchTheUnknownFlowsOnValidNetworks)
{
    Chain chain;
    SolverNetwork ring;
    const int t = ring.Tank(20), r1 = ring.Joint(0, 0.01), r2 = ring.Joint(), r3 = ring.Joint(0, 0.02);
    ring.Pipe(t, r1), ring.Pipe(r1, r2), ring.Pipe(r2, r3), ring.Pipe(r3, r1);
    for (SolverNetwork *s : {&chain.s, &ring}) {
        s->FindLoops();
        TNetwork &n = *s->net;
        n.MatrixEquationsGenerate(n.MatrixEquations, s->log, true);
        EXPECT_EQ(n.MatrixEquations.DimensionX, n.NodeLinksCount);
        EXPECT_EQ(n.MatrixEquations.DimensionY, n.NodeLinksCount);
        EXPECT_EQ(n.MatrixEquations.DimensionYWithLinearTransformationEquations, n.NodeLinksCount);
        EXPECT_TRUE(s->log.Lines.empty()) << "generation writes no log";
        EXPECT_TRUE(s->ui.Messages.empty());
    }
}

TEST(NetworkEquations, TooFewEquationsAreRefusedWithTheCounts)
{
    SolverNetwork s;
    const int t1 = s.Tank(10), t2 = s.Tank();
    const int p1 = s.Pipe(t1, t2);
    s.Pipe(t1, t2);
    s.ui.Messages.clear();
    TNetwork &n = *s.net;
    // One path for the two unknown flows.
    n.PipeLoopAddPipe(n.PipeLoopCreate(), p1);
    try {
        n.MatrixEquationsGenerate(n.MatrixEquations, s.log, true);
        FAIL() << "generated";
    } catch (const ENetworkClass &error) {
        EXPECT_STREQ(error.what(), "TNetwork.TheMatrixEquationsGenerate Failed: Number of equations generated (1) "
                                   "does not match number of unknown flows (2)");
    }
    ASSERT_EQ(s.ui.Messages.size(), 1u);
    EXPECT_EQ(s.ui.Messages[0].Text,
              "The Network could not be solved.\r\rCheck the following:\r   is there at least one supply point?\r   is "
              "there at least one discharge point?\r   are all nodes connected?\r\rSpecific Information: Number of "
              "equations generated (1) does not match number of unknown flows (2)");
}

TEST(NetworkEquations, ContinuityRowsCarryTheDemandsAsMassFlows)
{
    SolverNetwork s;
    const int t = s.Tank(), a = s.Joint(), b = s.Joint(), isolated = s.Joint();
    const int p1 = s.Pipe(t, a), p2 = s.Pipe(a, b);
    (void)isolated;
    TNetwork &n = *s.net;
    n.GetNode(a).JointSupply_m3s = 0.2;
    TNode &gas = n.GetNode(b);
    gas.JointDemandUseFlowType = GasFlow;
    gas.JointDischarge_SCMH = 360;
    n.MatrixEquationsGenerate(n.MatrixEquations, s.log, true);
    const TMatrixEquations &e = n.MatrixEquations;
    const double rho = waterDensity(n);
    // Row 1 is joint a: in over p1, out over p2; the joint without links has no row.
    EXPECT_EQ(e.QMatrix[1][n.getQIndexOfPipeId(p1)], one);
    EXPECT_EQ(e.QMatrix[1][n.getQIndexOfPipeId(p2)], minus_one);
    EXPECT_NEAR(static_cast<double>(e.QKnowns[1]), -0.2 * rho, 1e-9);
    EXPECT_EQ(e.DimensionY, 2);
    // The standard flow is completed in kg/s and m3/s on the node.
    const TFluid &water = n.FluidZones[1].Fluid;
    const double kgs = SCMH_To_kgsec(n.ConfigOptions.GasFlowTemperaturePressureModel, 360, rho, water.pressure_bar_g,
                                     water.degrees_K, n.ConfigOptions.Atmosphere_bar_a);
    EXPECT_NEAR(gas.JointDischarge_kgs, kgs, 1e-9);
    EXPECT_NEAR(gas.JointDischarge_m3s, kgs / rho, 1e-12);
    EXPECT_NEAR(static_cast<double>(e.QKnowns[2]), kgs, 1e-9);
    EXPECT_EQ(n.getQIndexOfPipeId(999), -1);
}

TEST(NetworkEquations, PseudoLoopCarriesTheHeadDifferenceOfItsTanks)
{
    Chain chain(30, 10);
    chain.s.net->GetNode(chain.t1).LiquidLevel_m = 2;
    chain.s.FindLoops();
    TNetwork &n = *chain.s.net;
    n.MatrixEquationsGenerate(n.MatrixEquations, chain.s.log, true);
    const TMatrixEquations &e = n.MatrixEquations;
    // The path is walked from the second tank back against every pipe.
    for (int pipe : {chain.p1, chain.p2, chain.p3})
        EXPECT_EQ(e.QMatrix[3][n.getQIndexOfPipeId(pipe)], minus_HeadKqn);
    const double rho = waterDensity(n);
    EXPECT_NEAR(static_cast<double>(e.QKnowns[3]), (10.0 - 32.0) * rho * g / 1e5, 1e-9);
}

TEST(NetworkEquations, LoopWhosePipesDoNotJoinIsRefused)
{
    Chain chain;
    TNetwork &n = *chain.s.net;
    const int loop = n.PipeLoopCreate();
    n.PipeLoopAddPipe(loop, chain.p1);
    n.PipeLoopAddPipe(loop, chain.p3);
    try {
        n.MatrixEquationsGenerate(n.MatrixEquations, chain.s.log, true);
        FAIL();
    } catch (const ENetworkClass &error) {
        EXPECT_EQ(std::string(error.what()),
                  "TNetwork.TheMatrixEquationsGenerate Failed: Loop:  FromNodeId=" + std::to_string(chain.b) +
                      " ToNodeId=" + std::to_string(chain.t2) + " LastNodeId=" + std::to_string(chain.a) +
                      " - the ordering of the loop may be wrong?");
    }
    ASSERT_EQ(chain.s.ui.Messages.size(), 1u);
    EXPECT_NE(chain.s.ui.Messages[0].Text.find("Specific Information: Could not generate equations for all loops "
                                               "and end to end paths.\r\rProblem occured generating loop  1, pipe id " +
                                               std::to_string(chain.p3)),
              std::string::npos);
}

TEST(NetworkEquations, FlowContinuityFormFixesPipesIntoTanksAtTheirGuess)
{
    // Tank -> a -> b -> tank, plus a second path a -> b: three joints' worth
    // of flows but only two joints; the pipe into the lower tank is fixed.
    Chain chain;
    TNetwork &n = *chain.s.net;
    const int p4 = chain.s.Pipe(chain.a, chain.b);
    n.GetNode(chain.a).JointDischarge_m3s = 0.01;
    for (int pipe : {chain.p1, chain.p2, chain.p3, p4})
        n.GetPipe(pipe).FlowGuessUncompressed_m3s = 0.004;
    for (int pipe : {chain.p1, chain.p2, chain.p3, p4})
        n.GetPipe(pipe).FlowUncompressed_m3s = 0.004;
    TMatrixEquations &e = n.MatrixEquationsFlowContinuity;
    n.MatrixEquationsGenerate(e, chain.s.log, false);
    EXPECT_EQ(e.DimensionY, 3);
    EXPECT_EQ(e.DimensionX, 4) << "every flow stays a column";
    const double rho = waterDensity(n);
    EXPECT_EQ(e.QMatrix[3][n.getQIndexOfPipeId(chain.p3)], one);
    EXPECT_NEAR(static_cast<double>(e.QKnowns[3]), 0.004 * rho, 1e-9);

    bool solved = false;
    int status = 0;
    std::string text;
    e.SolveQkgsVariablesForFlowContinuity(solved, status, text, chain.s.log);
    EXPECT_TRUE(solved);
    const auto q = [&](int pipe) { return static_cast<double>(e.QkgsVariables[n.getQIndexOfPipeId(pipe)]) / rho; };
    EXPECT_NEAR(q(chain.p3), 0.004, 1e-12);
    EXPECT_NEAR(q(p4), 0.004, 1e-12) << "the free flow keeps its guess";
    EXPECT_NEAR(q(chain.p2) + q(p4), q(chain.p3), 1e-12) << "joint b balances";
    EXPECT_NEAR(q(chain.p1) - q(chain.p2) - q(p4), 0.01, 1e-12) << "joint a balances";
}

// Tank at 40 m feeding a ring of four joints with demands, and a pipe from
// the ring down to a tank at 5 m.
struct LoopedSystem {
    SolverNetwork s;
    int high, low;
    std::vector<int> joints;
    LoopedSystem()
    {
        high = s.Tank(40);
        for (double demand : {0.004, 0.006, 0.003, 0.005})
            joints.push_back(s.Joint(2, demand));
        low = s.Tank(5);
        s.Pipe(high, joints[0], 0.15, 200);
        s.Pipe(joints[0], joints[1], 0.1, 300);
        s.Pipe(joints[1], joints[2], 0.08, 250);
        s.Pipe(joints[2], joints[3], 0.1, 300);
        s.Pipe(joints[3], joints[0], 0.08, 350);
        s.Pipe(joints[0], joints[2], 0.05, 400);
        s.Pipe(joints[2], low, 0.1, 150);
        s.FindLoops();
    }
};

TEST(NetworkEquations, GeneratedLiquidNetworkSolvesByBothIterations)
{
    for (int method = 0; method < 2; ++method) {
        LoopedSystem system;
        TNetwork &n = *system.s.net;
        TResultsLog &log = system.s.log;
        ASSERT_TRUE(log.Lines.empty());
        ASSERT_EQ(n.PipeRealLoopCount, 2);
        ASSERT_EQ(n.PipePseudoLoopCount, 1);
        n.MatrixEquationsGenerate(n.MatrixEquations, log, true);
        TMatrixEquations &e = n.MatrixEquations;
        e.MinFlowTermsAccuracy_kgs = 1e-9;
        e.MinHeadTermsAccuracy_bar = 1e-9;
        e.LinearTheoryFlowBalanceStopAdjustKgPerSec = 1e-10;
        e.LinearTheoryFlowBalanceStopRatioKgPerSec = 1e-10;
        bool solved = false;
        int status = 0;
        std::string text;
        e.LinearTheorySolveQkgsVariables(solved, status, text, log);
        ASSERT_TRUE(solved);
        if (method == 1) {
            e.SolveQkgsVariables(solved, status, text, log, MatrixCalculationMethodDarcy);
            ASSERT_TRUE(solved);
        }
        n.ReCalcNetworkFromMatrixQVariables(solved, log);

        const double rho = waterDensity(n);
        for (int j : system.joints) {
            double balance = 0;
            for (int k = 1; k <= n.NodeLinksCount; ++k) {
                const TNodeLink link = n.GetNodeLink(k);
                const double flow = n.GetPipe(link.PipeId).FlowUncompressed_m3s;
                balance += (link.ToNodeId == j ? flow : 0) - (link.FromNodeId == j ? flow : 0);
            }
            EXPECT_NEAR(balance, n.GetNode(j).JointDischarge_m3s, 1e-9) << "joint " << j;
        }
        EXPECT_NEAR(n.GetNode(system.high).Pressure_Bar_g, 0, 1e-12);
        // Newton meets every pipe's law exactly; the linear theory's power
        // law is only fitted around each flow.
        const double tolerance = method == 1 ? 1e-6 : 1e-2;
        for (int k = 1; k <= n.NodeLinksCount; ++k) {
            const TNodeLink link = n.GetNodeLink(k);
            const TNode &from = n.GetNode(link.FromNodeId), &to = n.GetNode(link.ToNodeId);
            EXPECT_TRUE(to.IsPressureSet && from.IsPressureSet);
            EXPECT_NEAR(from.Pressure_Bar_g - to.Pressure_Bar_g,
                        n.GetPipe(link.PipeId).TotalPressureLossWithElevationChange_Bar, tolerance)
                << "pipe " << link.PipeId << " method " << method;
        }
        (void)rho;
    }
}

// The liquid methods write the solved flows back once and rely on a second
// write-back from the same flows and links changing nothing: for a liquid the
// pipes' results do not depend on the node pressures the first one set.
TEST(NetworkEquations, WritingTheSameFlowsBackAgainChangesNothingForALiquid)
{
    for (const TMethodOfSolution method : {LinearTheoryOnly, LinearTheoryThenNewton}) {
        LoopedSystem system;
        TNetwork &n = *system.s.net;
        TResultsLog &log = system.s.log;
        n.CurrentMethodOfSolution = method;
        n.MatrixEquationsGenerate(n.MatrixEquations, log, true);
        bool solved = false;
        int status = 0;
        std::string text;
        n.MatrixEquations.LinearTheorySolveQkgsVariables(solved, status, text, log);
        ASSERT_TRUE(solved);
        const auto state = [&] {
            std::vector<double> values;
            std::vector<std::string> regimes;
            for (int k = 1; k <= n.NodeLinksCount; ++k) {
                const TPipe &p = n.GetPipe(n.GetNodeLink(k).PipeId);
                values.insert(values.end(),
                              {p.FlowUncompressed_m3s, p.Velocity_ms, p.ReynoldsNumber, p.FrictionFactor,
                               p.PipeFrictionLoss_mHd_Fluid, p.PipeFrictionLoss_mHd_Fluid_per100,
                               p.TotalPressureLossWithoutElevationChange_mHd, p.PressureLossDueToElevationChange_Bar,
                               p.TotalPressureLossWithElevationChange_Bar});
                regimes.push_back(p.FlowType);
            }
            for (int id = n.GetNextNodeId(0); id > 0; id = n.GetNextNodeId(id))
                values.insert(values.end(), {n.GetNode(id).Pressure_Bar_g, n.GetNode(id).IsPressureSet ? 1.0 : 0.0});
            return std::make_pair(values, regimes);
        };
        n.ReCalcNetworkFromMatrixQVariables(solved, log);
        const auto once = state();
        ASSERT_GT(n.GetNode(system.joints[2]).Pressure_Bar_g, 0) << "the first write-back set the pressures";
        n.ReCalcNetworkFromMatrixQVariables(solved, log);
        EXPECT_EQ(state(), once) << "method " << method;
    }
}

TEST(NetworkEquations, NodeReachedOnlyThroughAClosedPipeKeepsNoPressure)
{
    Chain chain;
    TNetwork &n = *chain.s.net;
    const int spur = chain.s.Joint();
    const int closed = chain.s.Pipe(chain.a, spur);
    n.RemoveNodeLinkAddClosedPipeLink(closed);
    n.GetNode(spur).Pressure_Bar_g = 3;
    bool solved = true;
    n.ReCalcNetworkFromMatrixQVariables(solved, chain.s.log);
    EXPECT_EQ(n.GetNode(spur).Pressure_Bar_g, 0);
    EXPECT_FALSE(n.GetNode(spur).IsPressureSet);
    EXPECT_TRUE(n.GetNode(chain.b).IsPressureSet);
    EXPECT_TRUE(solved);
}

// A generation leaves the linear theory's pipe law of its flows to be worked
// out when read; a reader then finds the law of the generated flows and
// lengths, and once the linear theory has worked out its own law, that one.
TEST(NetworkEquations, PipeLawOfTheGeneratedFlowsUntilTheLinearTheoryWorksOutItsOwn)
{
    LoopedSystem system;
    TNetwork &n = *system.s.net;
    TResultsLog &log = system.s.log;
    for (int k = 1; k <= n.NodeLinksCount; ++k)
        n.GetPipe(n.GetNodeLink(k).PipeId).FlowUncompressed_m3s = 0.001 * k * (k % 3 == 0 ? -1 : 1);
    n.MatrixEquationsGenerate(n.MatrixEquations, log, true);
    TMatrixEquations &e = n.MatrixEquations;
    // Equivalent lengths change the columns' lengths, not the generated law.
    n.MatrixEquationsAddEquivalentLengthForFittings(e, log);
    std::vector<double> K(static_cast<std::size_t>(n.NodeLinksCount) + 1), N = K;
    TResultsLog listing;
    n.PrintKVariables(listing);
    n.PrintNVariables(listing);
    ASSERT_EQ(listing.Lines.size(), 2u * (static_cast<std::size_t>(n.NodeLinksCount) + 1));
    for (int c = 1; c <= n.NodeLinksCount; ++c) {
        const TPipe &pipe = n.GetPipe(n.GetNodeLink(c).PipeId);
        const double rho = waterDensity(n);
        calcLinearTheoryPipeKN(pipe.Length_m, volumeFlowToMassFlow(pipe.FlowUncompressed_m3s, rho), pipe.InnerDiameter_m,
                               pipe.InnerRoughness_m, n.FluidZones[1].Fluid.centipoise, rho, 1.0, K[c], N[c]);
        EXPECT_NE(K[c], 0) << "column " << c;
        const auto line = [](const char *name, int c, double value) {
            return std::string(name) + "[" + std::to_string(c) + "]=" + formatFixed(8, value, '.');
        };
        EXPECT_EQ(listing.Lines[static_cast<std::size_t>(c)], line("KVariables", c, K[c]));
        EXPECT_EQ(listing.Lines[static_cast<std::size_t>(n.NodeLinksCount + 1 + c)], line("NVariables", c, N[c]));
    }
    e.ResolveGeneratedPipeLaws();
    for (int c = 1; c <= n.NodeLinksCount; ++c) {
        EXPECT_EQ(e.KVariables[static_cast<std::size_t>(c)], K[c]) << "column " << c;
        EXPECT_EQ(e.NVariables[static_cast<std::size_t>(c)], N[c]) << "column " << c;
    }

    n.MatrixEquationsGenerate(n.MatrixEquations, log, true);
    e.LinearTheoryFlowBalanceStopAdjustKgPerSec = 1e-6;
    e.LinearTheoryFlowBalanceStopRatioKgPerSec = 1e-6;
    bool solved = false;
    int status = 0;
    std::string text;
    e.LinearTheorySolveQkgsVariables(solved, status, text, log);
    ASSERT_TRUE(solved);
    const std::vector<double> own(e.KVariables.begin(), e.KVariables.begin() + n.NodeLinksCount + 1);
    e.ResolveGeneratedPipeLaws();
    EXPECT_EQ(std::vector<double>(e.KVariables.begin(), e.KVariables.begin() + n.NodeLinksCount + 1), own);
}

// A generation after a change of layout leaves nothing of the last system in
// the equation table: it reads as that of a network drawn that way.
TEST(NetworkEquations, RegenerationAfterAClosedPipeLeavesNothingOfTheLastSystem)
{
    const auto closeAndGenerate = [](LoopedSystem &system, bool generateFirst) {
        TNetwork &n = *system.s.net;
        if (generateFirst)
            n.MatrixEquationsGenerate(n.MatrixEquations, system.s.log, true);
        n.RemoveNodeLinkAddClosedPipeLink(n.GetNodeLink(2).PipeId);
        system.s.FindLoops();
        n.MatrixEquationsGenerate(n.MatrixEquations, system.s.log, true);
    };
    LoopedSystem again, fresh;
    closeAndGenerate(again, true);
    closeAndGenerate(fresh, false);
    const TMatrixEquations &e = again.s.net->MatrixEquations;
    ASSERT_EQ(e.DimensionX, fresh.s.net->MatrixEquations.DimensionX);
    ASSERT_EQ(e.DimensionY, fresh.s.net->MatrixEquations.DimensionY);
    for (int r = 1; r <= TMatrixEquations::MaxDimension; ++r)
        for (int c = 1; c <= TMatrixEquations::MaxDimension; ++c)
            ASSERT_EQ(e.QMatrix[r][c], fresh.s.net->MatrixEquations.QMatrix[r][c]) << "row " << r << " column " << c;
}

TEST(NetworkEquations, EquivalentLengthsOfFittingsAndFlowCoefficients)
{
    Chain chain;
    TNetwork &n = *chain.s.net;
    TPipe &pipe = n.GetPipe(chain.p2);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.PressureType = ComponentPressureKv;
    pipe.ComponentPressure.Kv = 50;
    n.MatrixEquationsGenerate(n.MatrixEquations, chain.s.log, false);
    TMatrixEquations &e = n.MatrixEquations;
    const int c = n.getQIndexOfPipeId(chain.p2);
    const double before = e.PipeLengths_m[c];
    n.MatrixEquationsAddEquivalentLengthForComponents(e, chain.s.log);
    EXPECT_NEAR(e.PipeLengths_m[c] - before, calcKFromKv(50, 0.1) * 0.1 / 0.02, 1e-9);
    EXPECT_EQ(e.PipeLengths_m[n.getQIndexOfPipeId(chain.p1)], 100) << "a pipe without a coefficient adds nothing";
}

// Eleven pipes in a row, every flow variable negative.
struct ReversedChain {
    SolverNetwork s;
    std::vector<int> pipes;
    ReversedChain()
    {
        int previous = s.Tank(10);
        for (int i = 0; i < 11; ++i) {
            const int next = i == 10 ? s.Tank() : s.Joint();
            pipes.push_back(s.Pipe(previous, next));
            previous = next;
        }
        TMatrixEquations &e = s.net->MatrixEquations;
        e.ClearResults(11, 11);
        for (int c = 1; c <= 11; ++c)
            e.QkgsVariables[c] = -2.0 - c;
    }
};

TEST(NetworkEquations, NegativeFlowsAreReversedOnlyWithConsent)
{
    for (bool yes : {false, true}) {
        ReversedChain chain;
        TNetwork &n = *chain.s.net;
        chain.s.ui.Answers.push_back(yes);
        const TNodeLink before = n.GetNodeLink(1);
        bool solved = true;
        // Only pipes actually reversed call for the flows to be written back again.
        EXPECT_EQ(n.ReverseAnyNegativeFlowPipesForFinalSolution(solved, chain.s.log), yes);
        ASSERT_EQ(chain.s.ui.QuestionsAsked, 1);
        const std::string &question = chain.s.ui.Messages[0].Text;
        EXPECT_EQ(question.rfind("Solution found with flow showing as negative in some pipes\r\rThe following pipe "
                                 "directions will be automatically reversed to give a solution with positive flows:"
                                 "\r\rPipe 1 direction will be changed to show positive flow.",
                                 0),
                  0u);
        EXPECT_NE(question.find("Pipe 10 direction"), std::string::npos);
        EXPECT_EQ(question.find("Pipe 11 direction"), std::string::npos) << "ten are listed";
        EXPECT_NE(question.find("\r...\r*** See Results Log for a full list of pipe direction changes.\r\rDo you "
                                "wish to reverse the pipes and accept this solution?\r"),
                  std::string::npos);
        EXPECT_EQ(chain.s.log[2], "NEGATIVE FLOW: Solution found with flow showing as negative in some pipes.");
        if (yes) {
            EXPECT_TRUE(solved);
            EXPECT_EQ(n.GetNodeLink(1).FromNodeId, before.ToNodeId);
            EXPECT_EQ(n.MatrixEquations.QkgsVariables[1], 3);
            EXPECT_EQ(chain.s.log.Lines.back(), " ");
            EXPECT_EQ(chain.s.log[chain.s.log.Count() - 2], "  Pipe 11 direction changed to show positive flow.");
        } else {
            EXPECT_FALSE(solved);
            EXPECT_EQ(n.GetNodeLink(1), before);
            EXPECT_EQ(n.MatrixEquations.QkgsVariables[1], -3);
            EXPECT_EQ(chain.s.log.Lines.back(), "System not solved.");
        }
    }
}

TEST(NetworkEquations, NothingNegativeAsksNothing)
{
    ReversedChain chain;
    TNetwork &n = *chain.s.net;
    for (int c = 1; c <= 11; ++c)
        n.MatrixEquations.QkgsVariables[c] = 1;
    for (int pipe : chain.pipes)
        n.GetPipe(pipe).FlowUncompressed_m3s = 0.001;
    bool solved = true;
    EXPECT_FALSE(n.ReverseAnyNegativeFlowPipesForFinalSolution(solved, chain.s.log));
    n.ReverseAnyNegativeFlowPipesForFinalSolutionNodeBalance(solved, chain.s.log);
    EXPECT_EQ(chain.s.ui.QuestionsAsked, 0);
    EXPECT_TRUE(chain.s.log.Lines.empty());
    EXPECT_TRUE(solved);
    EXPECT_EQ(chain.s.ui.EventPumps, 2);
}

TEST(NetworkEquations, NegativePipeFlowsAreReversedByTheNodeBalanceTwin)
{
    ReversedChain chain;
    TNetwork &n = *chain.s.net;
    for (int pipe : chain.pipes)
        n.GetPipe(pipe).FlowUncompressed_m3s = pipe == 3 ? -0.002 : 0.001;
    chain.s.ui.Answers.push_back(true);
    bool solved = true;
    const TNodeLink before = n.GetNodeLink(n.getQIndexOfPipeId(3));
    n.ReverseAnyNegativeFlowPipesForFinalSolutionNodeBalance(solved, chain.s.log);
    EXPECT_EQ(chain.s.ui.Messages[0].Text,
              "Solution found with negative flow in some pipes\r\rThe following pipe directions will be automatically "
              "reversed to give a solution with positive flows:\r\rPipe 3 direction will be changed to show positive "
              "flow.\rDo you wish to reverse the pipes and accept this solution?\r");
    EXPECT_EQ(n.GetPipe(3).FlowUncompressed_m3s, 0.002);
    EXPECT_EQ(n.GetNodeLink(n.getQIndexOfPipeId(3)).ToNodeId, before.FromNodeId);
    const std::vector<std::string> expected = {" ", "Negative Flow: Solution found with negative in some pipes.",
                                               "The following pipe directions have been reversed to give a solution "
                                               "with positive flows:",
                                               "  Pipe 3 direction changed to show positive flow.", " "};
    EXPECT_EQ(chain.s.log.Lines, expected);
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST(NetworkEquations, CompressibleWriteBackReportsTheFirstPressureBelowAbsoluteZero)
{
    Chain chain;
    chain.s.FindLoops();
    TNetwork &n = *chain.s.net;
    n.MatrixEquationsGenerate(n.MatrixEquations, chain.s.log, true);
    for (int c = 1; c <= 3; ++c)
        n.MatrixEquations.QkgsVariables[c] = 400; // far more than the head can drive
    bool solved = true;
    n.ReCalcCompressibleFlowNetworkFromMatrixQVariables(solved, chain.s.log);
    EXPECT_FALSE(solved);
    ASSERT_EQ(chain.s.log.Count(), 2);
    EXPECT_EQ(chain.s.log[0], "*** PROBLEM WITH SOLUTION: ");
    const std::string prefix = "Pressure at Node " + std::to_string(chain.a) + " is -";
    EXPECT_EQ(chain.s.log[1].rfind(prefix, 0), 0u) << chain.s.log[1];
    const std::string suffix = " bar.g (which is not physically possible)";
    EXPECT_EQ(chain.s.log[1].substr(chain.s.log[1].size() - suffix.size()), suffix);

    chain.s.log.Clear();
    for (int c = 1; c <= 3; ++c)
        n.MatrixEquations.QkgsVariables[c] = 1;
    solved = true;
    n.ReCalcCompressibleFlowNetworkFromMatrixQVariables(solved, chain.s.log);
    EXPECT_TRUE(solved);
    EXPECT_TRUE(chain.s.log.Lines.empty());
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// The linear theory's steps on the loop corrections take the pipes' linear
// K values without DMatrix; when the iteration ends, DMatrix still holds the
// system of its last step as a fresh fill of it writes it.
TEST(NetworkEquations, LinearTheoryEndsWithTheSystemOfItsLastStepInDMatrix)
{
    test::TScriptedUserInterface ui;
    ui.Answers.assign(50, true);
    auto network = test::GridNetwork(100, 7, &ui);
    network->ConfigOptions.MethodOfSolution = LinearTheoryOnly;
    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    network->SolveNetwork(solved, solutionOk, log, privateLog);
    TMatrixEquations &e = network->MatrixEquations;
    ASSERT_GE(e.DimensionX, 50);
    std::vector<Extended> held;
    for (int r = 1; r <= e.DimensionY; ++r)
        for (int c = 1; c <= e.DimensionX; ++c)
            held.push_back(std::as_const(e.DMatrix)[r][c]);
    e.LinearTheoryCalculateDMatrix();
    int heads = 0, differing = 0;
    std::size_t i = 0;
    for (int r = 1; r <= e.DimensionY; ++r)
        for (int c = 1; c <= e.DimensionX; ++c, ++i) {
            const TMatrixElementEnum element = std::as_const(e.QMatrix)[r][c];
            heads += element == HeadKqn || element == minus_HeadKqn;
            differing += held[i] != std::as_const(e.DMatrix)[r][c];
        }
    EXPECT_GT(heads, e.DimensionX);
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace tessaran
