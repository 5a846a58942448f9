// The loop store and the loop finder on small networks.

#include "network/Benchmark_Networks.h"
#include "network/Looped_Networks.h"
#include "network/Network_Solver_Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>

namespace tessaran {
namespace {

using test::SolverNetwork;
using Loops = std::vector<std::vector<int>>;

TEST(NetworkLoops, TreeFromOneTankHasNoLoops)
{
    SolverNetwork s;
    const int t = s.Tank(), a = s.Joint(), b = s.Joint(), c = s.Joint();
    s.Pipe(t, a), s.Pipe(a, b), s.Pipe(a, c);
    s.FindLoops();
    EXPECT_EQ(s.Loops(), Loops{});
    EXPECT_EQ(s.net->PipeRealLoopCount, 0);
    EXPECT_EQ(s.net->PipePseudoLoopCount, 0);
    EXPECT_TRUE(s.log.Lines.empty());
    EXPECT_TRUE(s.ui.Messages.empty());
}

TEST(NetworkLoops, TwoTanksGiveOnePseudoLoopFromTheSecondBack)
{
    SolverNetwork s;
    const int t1 = s.Tank(), a = s.Joint(), b = s.Joint(), t2 = s.Tank();
    const int p1 = s.Pipe(t1, a), p2 = s.Pipe(a, b), p3 = s.Pipe(b, t2);
    s.FindLoops();
    EXPECT_EQ(s.Loops(), (Loops{{p3, p2, p1}}));
    EXPECT_EQ(s.net->PipeRealLoopCount, 0);
    EXPECT_EQ(s.net->PipePseudoLoopCount, 1);
    EXPECT_TRUE(s.log.Lines.empty());
    EXPECT_EQ(s.net->CalculatingString, "Generating loops from Node: " + std::to_string(t1));
}

TEST(NetworkLoops, PathThroughAThirdTankIsNotStored)
{
    SolverNetwork s;
    const int t1 = s.Tank(), a = s.Joint(), t3 = s.Tank(), b = s.Joint(), t2 = s.Tank();
    const int p1 = s.Pipe(t1, a), p2 = s.Pipe(a, t3), p3 = s.Pipe(t3, b), p4 = s.Pipe(b, t2);
    s.FindLoops();
    EXPECT_EQ(s.Loops(), (Loops{{p2, p1}, {p4, p3}}));
    EXPECT_EQ(s.net->PipePseudoLoopCount, 2);
    EXPECT_TRUE(s.log.Lines.empty());
}

TEST(NetworkLoops, RingKeepsOneRealLoopWalkedFromItsFirstPipesStart)
{
    for (int n : {3, 4, 7}) {
        SolverNetwork s;
        const int t = s.Tank();
        std::vector<int> ring;
        for (int i = 0; i < n; ++i)
            ring.push_back(s.Joint());
        s.Pipe(t, ring[0]);
        for (int i = 0; i < n; ++i)
            s.Pipe(ring[static_cast<std::size_t>(i)], ring[static_cast<std::size_t>((i + 1) % n)]);
        s.FindLoops();
        ASSERT_EQ(s.net->PipeLoopsCount, 1) << n;
        EXPECT_EQ(s.net->PipeRealLoopCount, 1);
        const auto loop = s.Loops()[0];
        EXPECT_EQ(static_cast<int>(loop.size()), n);
        int f1 = 0, t1 = 0, f2 = 0, t2 = 0;
        s.net->GetPipeNodes(loop[0], f1, t1);
        s.net->GetPipeNodes(loop[1], f2, t2);
        EXPECT_TRUE(t1 == f2 || t1 == t2) << "the second pipe continues from the first pipe's end, ring of " << n;
        EXPECT_TRUE(s.log.Lines.empty());
    }
}

TEST(NetworkLoops, ParallelPipesFormARealLoopOfTwo)
{
    SolverNetwork s;
    const int t = s.Tank(), a = s.Joint(), b = s.Joint();
    s.Pipe(t, a);
    const int p2 = s.Pipe(a, b), p3 = s.Pipe(a, b);
    s.FindLoops();
    EXPECT_EQ(s.Loops(), (Loops{{p2, p3}}));
    EXPECT_EQ(s.net->PipeRealLoopCount, 1);
}

TEST(NetworkLoops, GridGetsOneLoopPerCell)
{
    // 3 by 3 joints fed from a tank at a corner: 12 pipes in the grid, 4 cells.
    SolverNetwork s;
    const int t = s.Tank();
    int j[3][3];
    for (auto &row : j)
        for (int &node : row)
            node = s.Joint(0, 0.001);
    s.Pipe(t, j[0][0]);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            if (c < 2)
                s.Pipe(j[r][c], j[r][c + 1]);
            if (r < 2)
                s.Pipe(j[r][c], j[r + 1][c]);
        }
    s.FindLoops();
    EXPECT_EQ(s.net->PipeLoopsCount, 4);
    EXPECT_EQ(s.net->PipeRealLoopCount, 4);
    EXPECT_TRUE(s.log.Lines.empty());
    for (const auto &loop : s.Loops())
        EXPECT_EQ(loop.size(), 4u);
}

TEST(NetworkLoops, ParallelPipesBetweenTwoTanksGiveTwoPaths)
{
    // The search from a tank finds one path to the other tank however many
    // pipes lead there; the second pipe needs its own path.
    SolverNetwork s;
    const int t1 = s.Tank(), t2 = s.Tank();
    const int p1 = s.Pipe(t1, t2), p2 = s.Pipe(t1, t2);
    s.FindLoops();
    EXPECT_EQ(s.Loops(), (Loops{{p1}, {p2}}));
    EXPECT_EQ(s.net->PipeRealLoopCount, 0);
    EXPECT_EQ(s.net->PipePseudoLoopCount, 2);
    EXPECT_TRUE(s.log.Lines.empty());
    EXPECT_TRUE(s.ui.Messages.empty());
}

TEST(NetworkLoops, CountMismatchIsReportedWithTheCountsInTheLogAndTheBox)
{
    // Three joints and no tank: three joints and no loop for two pipes.
    const std::vector<std::string> expected = {"Problem: The Network may not be solvable.",
                                               " ",
                                               "Pipes Count  =2",
                                               "Pipe Links Count =2 (after removing pipes with FCVs, PRVs, BPVs)",
                                               "Joints Count =3",
                                               "Loops Count  =0",
                                               "Real Loops   =0",
                                               "Pseudo Loops =0",
                                               "Joints Count (3) + Loops Count (0) = 3",
                                               "which should equal the Links Count =2",
                                               " "};
    for (const bool messagesOn : {true, false}) {
        SolverNetwork s;
        const int a = s.Joint(), b = s.Joint(), c = s.Joint();
        s.Pipe(a, b), s.Pipe(b, c);
        s.net->PipeLoopsMessagesOn = messagesOn;
        s.FindLoops();
        ASSERT_GE(s.log.Lines.size(), expected.size());
        EXPECT_EQ(std::vector<std::string>(s.log.Lines.begin(), s.log.Lines.begin() + 11), expected);
        if (!messagesOn) {
            EXPECT_TRUE(s.ui.Messages.empty());
            continue;
        }
        ASSERT_EQ(s.ui.Messages.size(), 1u);
        EXPECT_EQ(s.ui.Messages[0].Text.rfind("Problem: The Network may not be solvable.\r\rPipes Count  =2\r", 0), 0u);
    }
}

TEST(NetworkLoops, PartCutOffFromEveryTankIsReportedAsOverControlled)
{
    SolverNetwork s;
    const int a = s.Joint(), b = s.Joint(), c = s.Joint();
    s.Pipe(a, b), s.Pipe(b, c);
    s.FindLoops();
    ASSERT_GE(s.log.Count(), 13);
    EXPECT_EQ(s.log[0], "Problem: The Network may not be solvable.");
    EXPECT_EQ(s.log[8], "Joints Count (3) + Loops Count (0) = 3");
    EXPECT_EQ(s.log[11], "*** The System may be Over Controlled.");
    EXPECT_EQ(s.log[12], " ");
    EXPECT_EQ(s.log.Lines.back(), " ");
}

TEST(NetworkLoops, StoreOperationsAndTheirRefusals)
{
    SolverNetwork s;
    TNetwork &n = *s.net;
    EXPECT_EQ(n.PipeLoopCreate(), 1);
    EXPECT_EQ(n.PipeLoopCreate(), 2);
    EXPECT_EQ(n.PipeLoopCreate(), 3);
    for (int loop = 1; loop <= 3; ++loop)
        for (int pipe = 1; pipe <= loop; ++pipe)
            n.PipeLoopAddPipe(loop, 10 * loop + pipe);
    EXPECT_EQ(s.Loops(), (Loops{{11}, {21, 22}, {31, 32, 33}}));

    n.PipeLoopsInsertLastAtPosition(1);
    EXPECT_EQ(s.Loops(), (Loops{{31, 32, 33}, {11}, {21, 22}}));
    n.PipeLoopRemove(1);
    EXPECT_EQ(s.Loops(), (Loops{{11}, {21, 22}}));
    EXPECT_EQ(n.PipeLoops[3][1], 0) << "the freed entry is cleared";
    n.PipeLoopRemove(2);
    EXPECT_EQ(s.Loops(), (Loops{{11}}));
    EXPECT_EQ(n.PipeLoopGetNextPipeId(1, 11), 0);

    n.PipeLoopAddPipe(1, 12);
    n.PipeLoopAddPipe(1, 13);
    EXPECT_EQ(n.PipeLoopGetNextPipeId(1, 12), 13);
    EXPECT_EQ(n.PipeLoopGetNextPipeId(1, 99), 0);
    EXPECT_EQ(n.PipeLoopGetNextPipeId(7, 12), 0);
    n.PipeLoopRemovePipe(1, 12);
    EXPECT_EQ(s.Loops(), (Loops{{11, 13}}));

    struct Refusal {
        std::function<void()> call;
        const char *message;
    };
    const Refusal refusals[] = {
        {[&] { n.PipeLoopClear(1001); }, "TNetwork.PipeLoopClear Failed: Specified LoopId may not be valid"},
        {[&] { n.PipeLoopRemove(2); }, "TNetwork.PipeLoopRemove Failed: Specified LoopId may not be valid"},
        {[&] { n.PipeLoopAddPipe(2, 5); },
         "TNetwork.PipeLoopAddPipe Failed: Either LoopId invalid or PipeId invalid. LoopId=2; PipeId=5"},
        {[&] { n.PipeLoopRemovePipe(1, 12); },
         "TNetwork.PipeLoopRemovePipe Failed: Specified LoopId,PipeId may not be valid"},
    };
    for (const auto &refusal : refusals) {
        try {
            refusal.call();
            ADD_FAILURE() << "no refusal: " << refusal.message;
        } catch (const ENetworkClass &error) {
            EXPECT_STREQ(error.what(), refusal.message);
        }
    }

    n.PipeLoopsRemoveAllLoops();
    EXPECT_EQ(n.PipeLoopsCount, 0);
    for (int i = 1; i <= TNetwork::MaxLoops; ++i)
        ASSERT_EQ(n.PipeLoopCreate(), i);
    EXPECT_EQ(n.PipeLoopCreate(), -1) << "the store is full";
    try {
        n.PipeLoopsInsertLastAtPosition(1);
        ADD_FAILURE();
    } catch (const ENetworkClass &error) {
        EXPECT_STREQ(error.what(), "TNetwork.PipeLoopsInsertLastAtPosition Failed: PipeLoopCount=1000");
    }
}

TEST(NetworkLoops, LoopThatRepeatsPipesIsKeptWhenFirstItLeavesEveryOtherANewPipe)
{
    SolverNetwork s;
    TNetwork &n = *s.net;
    // {1,2} and {3,4}, then {1,2,3,4}: placed first, it would leave {1,2}
    // without a pipe of its own, so it goes.
    for (const auto &loop : Loops{{1, 2}, {3, 4}, {1, 2, 3, 4}}) {
        const int id = n.PipeLoopCreate();
        for (int pipe : loop)
            n.PipeLoopAddPipe(id, pipe);
    }
    n.PipeLoopsRemoveLastUnlessIfAddedFirstEveryOtherLoopHasAtLeastOneNewPipe(false);
    EXPECT_EQ(s.Loops(), (Loops{{1, 2}, {3, 4}}));

    // {1,2,5}, {2,3,6}, then {1,3}: placed first, the others still bring 2, 5
    // and 6, so it stays there.
    n.PipeLoopsRemoveAllLoops();
    for (const auto &loop : Loops{{1, 2, 5}, {2, 3, 6}, {1, 3}}) {
        const int id = n.PipeLoopCreate();
        for (int pipe : loop)
            n.PipeLoopAddPipe(id, pipe);
    }
    n.PipeLoopsRemoveLastUnlessIfAddedFirstEveryOtherLoopHasAtLeastOneNewPipe(false);
    EXPECT_EQ(s.Loops(), (Loops{{1, 3}, {1, 2, 5}, {2, 3, 6}}));
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST(NetworkLoops, TooFewLoopsRegenerateWithGrowingSizeLimitsThenTheRingThroughTheTankIsAdded)
{
    // Two pipes side by side from a tank to a joint: the ring through the
    // tank is no loop through joints and no path between two fixed-pressure
    // nodes, so every pass stays one loop short; the ring is then added.
    test::SolverNetwork s;
    const int t = s.Tank(), a = s.Joint(), b = s.Joint();
    const int p1 = s.Pipe(t, a), p2 = s.Pipe(t, a);
    s.Pipe(a, b);
    std::vector<std::string> progress;
    s.ui.OnProcessMessages = [&] { progress.push_back(s.net->CalculatingString); };
    s.FindLoops();
    const std::string first = "Generating loops from Node: ";
    const std::string pass = "Generating loops (pass ";
    const std::vector<std::string> expected = {
        first + std::to_string(a),          first + std::to_string(b),          first + std::to_string(t),
        pass + "2) from Node: " + std::to_string(a), pass + "2) from Node: " + std::to_string(b),
        pass + "3) from Node: " + std::to_string(a), pass + "3) from Node: " + std::to_string(b),
        pass + "4) from Node: " + std::to_string(a), pass + "4) from Node: " + std::to_string(b),
        pass + "5) from Node: " + std::to_string(a), pass + "5) from Node: " + std::to_string(b),
        pass + "5) from Node: " + std::to_string(t)};
    EXPECT_EQ(progress, expected);
    EXPECT_EQ(s.Loops(), (Loops{{p2, p1}}));
    EXPECT_EQ(s.net->PipeRealLoopCount, 1);
    EXPECT_EQ(s.net->PipePseudoLoopCount, 0);
    EXPECT_TRUE(s.log.Lines.empty());
    EXPECT_TRUE(s.ui.Messages.empty());
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST(NetworkLoops, RingsThroughTanksAreFoundAndTheNetworkSolves)
{
    for (const auto &c : test::ThroughFixedCases()) {
        SCOPED_TRACE(c.Name);
        test::SolverNetwork s;
        c.Build(s);
        s.FindLoops();
        TNetwork &n = *s.net;
        EXPECT_TRUE(s.log.Lines.empty());
        EXPECT_TRUE(s.ui.Messages.empty());
        ASSERT_EQ(n.GetNumberOfJointTypeNodes() + n.PipeLoopsCount, n.NodeLinksCount);

        n.MatrixEquationsGenerate(n.MatrixEquations, s.log, true);
        TMatrixEquations &e = n.MatrixEquations;
        e.MinFlowTermsAccuracy_kgs = 1e-9;
        e.MinHeadTermsAccuracy_bar = 1e-9;
        e.LinearTheoryFlowBalanceStopAdjustKgPerSec = 1e-10;
        e.LinearTheoryFlowBalanceStopRatioKgPerSec = 1e-10;
        bool solved = false;
        int status = 0;
        std::string text;
        e.LinearTheorySolveQkgsVariables(solved, status, text, s.log);
        ASSERT_TRUE(solved) << status << " " << text;
        e.SolveQkgsVariables(solved, status, text, s.log, MatrixCalculationMethodDarcy);
        ASSERT_TRUE(solved) << status << " " << text;
        n.ReCalcNetworkFromMatrixQVariables(solved, s.log);

        for (int id = n.GetNextNodeId(0); id > 0; id = n.GetNextNodeId(id)) {
            if (n.GetNode(id).NodeType != Joint)
                continue;
            double balance = 0;
            for (int k = 1; k <= n.NodeLinksCount; ++k) {
                const TNodeLink link = n.GetNodeLink(k);
                const double flow = n.GetPipe(link.PipeId).FlowUncompressed_m3s;
                balance += (link.ToNodeId == id ? flow : 0) - (link.FromNodeId == id ? flow : 0);
            }
            EXPECT_NEAR(balance, n.GetNode(id).JointDischarge_m3s, 1e-9) << "joint " << id;
        }
        for (int k = 1; k <= n.NodeLinksCount; ++k) {
            const TNodeLink link = n.GetNodeLink(k);
            const TNode &from = n.GetNode(link.FromNodeId), &to = n.GetNode(link.ToNodeId);
            ASSERT_TRUE(to.IsPressureSet && from.IsPressureSet);
            EXPECT_NEAR(from.Pressure_Bar_g - to.Pressure_Bar_g,
                        n.GetPipe(link.PipeId).TotalPressureLossWithElevationChange_Bar, 1e-6)
                << "pipe " << link.PipeId;
        }
    }
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST(NetworkLoops, PathThatRepeatsARingAlreadyHeldGivesWayToAMissingRing)
{
    // From the first tank the paths to the other two, from the second the
    // path to the third: with the rings already found through the joints,
    // that last path adds no equation of its own. The ring of the two pipes
    // side by side from the first tank takes its place.
    test::SolverNetwork s;
    const int t1 = s.Tank(), t2 = s.Tank(), t3 = s.Tank(), a = s.Joint(), b = s.Joint();
    const int p1 = s.Pipe(t3, t1), p2 = s.Pipe(t1, a), p3 = s.Pipe(a, t2), p4 = s.Pipe(a, b), p5 = s.Pipe(t1, b),
              p6 = s.Pipe(t1, a), p7 = s.Pipe(t3, b), p8 = s.Pipe(t2, b);
    s.FindLoops();
    EXPECT_EQ(s.Loops(), (Loops{{p4, p5, p2}, {p4, p7, p1, p2}, {p4, p8, p3}, {p6, p2}, {p1}, {p3, p2}}));
    EXPECT_EQ(s.net->PipeRealLoopCount, 4);
    EXPECT_EQ(s.net->PipePseudoLoopCount, 2);
    EXPECT_TRUE(s.log.Lines.empty());
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// Loops are kept from one calculation to the next while the layout stays:
// any edit of it between two searches gives the loops of a fresh search.
TEST(NetworkLoops, KeptLoopsFollowEveryEditOfTheLayout)
{
    struct Edit {
        const char *Name;
        std::function<void(TNetwork &)> Apply;
    };
    const Edit edits[] = {
        {"a pipe added",
         [](TNetwork &n) {
             TPipe pipe;
             pipe.Length_m = 120;
             pipe.InnerDiameter_m = 0.1;
             ASSERT_GT(n.AddPipeLink(1, 12, pipe), 0);
         }},
        {"a pipe reversed", [](TNetwork &n) { n.ReversePipeLink(5); }},
        {"a node deleted",
         [](TNetwork &n) {
             n.RemoveAllPipeLinksFromToNode(7);
             n.RemoveNode(7);
         }},
        {"a joint made a tank", [](TNetwork &n) { n.GetNode(9).NodeType = Tank; }},
    };
    test::TScriptedUserInterface ui;
    for (const Edit &edit : edits) {
        SCOPED_TRACE(edit.Name);
        auto kept = test::GridNetwork(100, 3, &ui), fresh = test::GridNetwork(100, 3, &ui);
        TResultsLog keptLog, freshLog;
        kept->PipeLoopsRemoveAllLoops();
        kept->PipeLoopsGenerateAllLoops(keptLog);
        edit.Apply(*kept);
        edit.Apply(*fresh);
        keptLog.Clear();
        kept->PipeLoopsRemoveAllLoops();
        kept->PipeLoopsGenerateAllLoops(keptLog);
        fresh->PipeLoopsGenerateAllLoops(freshLog);
        ASSERT_EQ(kept->PipeLoopsCount, fresh->PipeLoopsCount);
        EXPECT_EQ(kept->PipeRealLoopCount, fresh->PipeRealLoopCount);
        for (int i = 1; i <= kept->PipeLoopsCount; ++i) {
            ASSERT_EQ(kept->PipeLoopsPipeCount[static_cast<std::size_t>(i)],
                      fresh->PipeLoopsPipeCount[static_cast<std::size_t>(i)]);
            for (int k = 1; k <= kept->PipeLoopsPipeCount[static_cast<std::size_t>(i)]; ++k)
                EXPECT_EQ(kept->PipeLoops[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)],
                          fresh->PipeLoops[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)]);
        }
        EXPECT_EQ(keptLog.Lines, freshLog.Lines);
    }
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// Paths that both leave tanks are dropped, first to last, only while there
// are more loops than the joints leave room for.
TEST(NetworkLoops, PathsBetweenTwoSuppliesGoOnlyWhileThereAreTooManyLoops)
{
    test::SolverNetwork s;
    const int t1 = s.Tank(30), t2 = s.Tank(20), a = s.Joint(0, 0.01), b = s.Joint(0, 0.01);
    const int p1 = s.Pipe(t1, a), p2 = s.Pipe(t2, a), p3 = s.Pipe(a, b), p4 = s.Pipe(b, a);
    TNetwork &n = *s.net;
    for (const auto &pipes : std::vector<std::vector<int>>{{p3, p4}, {p2, p1}, {p1, p2}}) {
        const int loop = n.PipeLoopCreate();
        for (const int pipe : pipes)
            n.PipeLoopAddPipe(loop, pipe);
    }
    n.PipeRealLoopCount = 1;
    n.PipeLoopsRemoveBetweenSupplyAndSupply();
    EXPECT_EQ(s.Loops(), (Loops{{p3, p4}, {p1, p2}}));
    EXPECT_EQ(n.PipeRealLoopCount, 1);
    EXPECT_EQ(n.PipePseudoLoopCount, 1);
    n.PipeLoopsRemoveBetweenSupplyAndSupply();
    EXPECT_EQ(s.Loops(), (Loops{{p3, p4}, {p1, p2}})) << "joints plus loops equal the links";
}

TEST(NetworkDebugListings, TablesAndTheEquationSystemAsText)
{
    test::SolverNetwork s;
    const int t = s.Tank(30), a = s.Joint(0, 0.02);
    s.Pipe(t, a, 0.1), s.Pipe(a, t, 0.15, 150);
    s.FindLoops();
    TNetwork &n = *s.net;
    n.MatrixEquationsGenerate(n.MatrixEquations, s.log, true);
    TResultsLog memo;
    n.PrintData(memo);
    n.PrintNodeLinks(memo);
    n.PrintNodeLinksNames(memo);
    n.PrintPipeLoops(memo);
    n.PrintInitialFlowGuesses(memo);
    n.PrintQMatrix(memo);
    n.PrintQKnowns(memo);
    n.PrintQVariables(memo);
    const auto has = [&](const std::string &line) {
        return std::find(memo.Lines.begin(), memo.Lines.end(), line) != memo.Lines.end();
    };
    EXPECT_TRUE(has("NodeType=Tank, Elevation_m=30, Surface_Pressure_Bar_g=0, LiquidLevel_m=0, JointSupply_m3s=0, "
                    "JointDischarge_m3s=0"));
    EXPECT_TRUE(has("IsPressureSet=False"));
    EXPECT_TRUE(has("InnerDiameter_m=0.15"));
    EXPECT_TRUE(has("NodeLinks[2] PipeId=2 FromNodeId=2 ToNodeId=1"));
    EXPECT_TRUE(has("PipeLoops[1]=1 2") || has("PipeLoops[1]=2 1"));
    EXPECT_TRUE(has("None Found - All pipes listed in at least one loop."));
    EXPECT_TRUE(has("QMatrix[1]=1 -1") || has("QMatrix[1]=-1 1"));
    EXPECT_TRUE(has("QMatrix[2]=Kqn -Kqn") || has("QMatrix[2]=-Kqn Kqn") || has("QMatrix[2]=Kqn Kqn"));
    EXPECT_TRUE(has("----QKnowns"));
    EXPECT_TRUE(has("----QkgsVariables"));
    n.MsgPipeData(2);
    ASSERT_EQ(s.ui.Messages.size(), 1u);
    EXPECT_EQ(s.ui.Messages[0].Text.rfind("Pipe 2 \rFromNodeId=2 ToNodeId=1\r", 0), 0u);
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// The loops found for the benchmark networks, as a digest of the counts and
// every loop's pipes in store order. Networks with dead ends, branches between
// rings and rings of every size: how far each search goes and which rule
// decides first must not change which loops are kept, their order or the
// order their pipes are walked in.
TEST(NetworkLoops, BenchmarkNetworksKeepTheRecordedLoops)
{
    struct Case {
        const char *Name;
        std::function<std::unique_ptr<TNetwork>(TUserInterfaceSeam *)> Make;
        int Loops, RealLoops;
        std::uint64_t Digest;
    };
    const Case cases[] = {
        {"grid 100", [](TUserInterfaceSeam *ui) { return test::GridNetwork(100, 7, ui); },
         39, 36, 12128951378339180072ull},
        {"grid 1000", [](TUserInterfaceSeam *ui) { return test::GridNetwork(1000, 7, ui); },
         465, 462, 574661367086833034ull},
        {"irregular 950", [](TUserInterfaceSeam *ui) { return test::IrregularNetwork(950, 11, ui); },
         271, 267, 12440686344838796555ull},
        {"irregular 300", [](TUserInterfaceSeam *ui) { return test::IrregularNetwork(300, 5, ui); },
         98, 96, 8674774805196715874ull},
    };
    test::TScriptedUserInterface ui;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        auto network = c.Make(&ui);
        TResultsLog log;
        network->PipeLoopsRemoveAllLoops();
        network->PipeLoopsGenerateAllLoops(log);
        std::uint64_t digest = 14695981039346656037ull;
        const auto add = [&](std::int64_t value) {
            digest = (digest ^ static_cast<std::uint64_t>(value)) * 1099511628211ull;
        };
        add(network->PipeLoopsCount);
        add(network->PipeRealLoopCount);
        for (int i = 1; i <= network->PipeLoopsCount; ++i) {
            add(-1);
            for (int k = 1; k <= network->PipeLoopsPipeCount[static_cast<std::size_t>(i)]; ++k)
                add(network->PipeLoops[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)]);
        }
        EXPECT_EQ(network->PipeLoopsCount, c.Loops);
        EXPECT_EQ(network->PipeRealLoopCount, c.RealLoops);
        EXPECT_EQ(digest, c.Digest);
    }
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// A seeded layout of every kind the finder meets: joints joined by a tree
// (random, a chain, or near neighbours only) with extra pipes, some pipes
// side by side, parts cut off from the rest, and up to twelve tanks and end
// pressures among the nodes in a random id order.
std::unique_ptr<TNetwork> RandomLayout(unsigned seed, TUserInterfaceSeam *ui)
{
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto network = std::make_unique<TNetwork>();
    network->UserInterface = ui;
    const int style = pick(0, 5);
    const int nodes = pick(2, style == 5 ? 400 : 80);
    const int fixed = style == 4 ? pick(0, 12) : pick(0, 4);
    std::vector<int> order(static_cast<std::size_t>(nodes)), ids(static_cast<std::size_t>(nodes));
    for (int i = 0; i < nodes; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), random);
    for (int i = 0; i < nodes; ++i) {
        const TNodeType type = i >= fixed ? Joint : pick(0, 1) != 0 ? Tank : EndPressure;
        ids[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] =
            test::AddBenchmarkNode(*network, type, 1, 1, 0.001, i, i);
    }
    const auto pipe = [&](int a, int b) {
        if (a == b)
            return;
        TPipe p;
        p.Length_m = 10;
        p.InnerDiameter_m = 0.1;
        p.InnerRoughness_m = 0.00005;
        ASSERT_GT(network->AddPipeLink(ids[static_cast<std::size_t>(a)], ids[static_cast<std::size_t>(b)], p), 0);
    };
    for (int i = 1; i < nodes; ++i) {
        if (style == 3 && pick(0, 20) == 0)
            continue;
        const int j = style == 2 ? i - 1 : pick(std::max(0, i - (style == 1 ? 3 : i)), i - 1);
        pipe(i, j);
        if (pick(0, 15) == 0)
            pipe(i, j);
    }
    const int extra = pick(0, nodes / (style == 0 ? 1 : 3) + 1);
    for (int e = 0; e < extra; ++e) {
        const int a = pick(0, nodes - 1);
        pipe(a, style == 1 ? std::min(nodes - 1, a + pick(1, 6)) : pick(0, nodes - 1));
    }
    return network;
}

// The loops of forty such layouts (among them ones that need the passes with
// size limits, paths between many tanks and parts without any), as one
// digest of the counts and every loop's pipes in store order, and the same
// after a pipe of each is drawn the other way.
TEST(NetworkLoops, SeededLayoutsKeepTheRecordedLoops)
{
    test::TScriptedUserInterface ui;
    std::uint64_t digest = 14695981039346656037ull;
    const auto add = [&](std::int64_t value) { digest = (digest ^ static_cast<std::uint64_t>(value)) * 1099511628211ull; };
    int passes = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        auto network = RandomLayout(seed, &ui);
        for (int round = 0; round < 2; ++round) {
            if (round == 1 && network->NodeLinksCount > 0)
                network->ReversePipeLink(network->NodeLinks[1].PipeId);
            TResultsLog log;
            network->PipeLoopsRemoveAllLoops();
            network->PipeLoopsGenerateAllLoops(log);
            passes += network->CalculatingString.find("pass") != std::string::npos ? 1 : 0;
            add(network->PipeLoopsCount);
            add(network->PipeRealLoopCount);
            add(static_cast<std::int64_t>(log.Lines.size()));
            for (int i = 1; i <= network->PipeLoopsCount; ++i) {
                add(-1);
                for (int k = 1; k <= network->PipeLoopsPipeCount[static_cast<std::size_t>(i)]; ++k)
                    add(network->PipeLoops[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)]);
            }
        }
    }
    EXPECT_GT(passes, 0);
    EXPECT_EQ(digest, 639726809215355745ull);
}

} // namespace
} // namespace tessaran
