#include "network/Network_Class.h"

#include "Network_Fixture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tessaran;
using namespace tessaran::test;

namespace {

// Nodes A, B, C, D on a row and pipes 1: A->B, 2: B->C, 3: C->D.
struct Chain {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    int A = AddJoint(*Network, 40, 40);
    int B = AddJoint(*Network, 240, 40);
    int C = AddJoint(*Network, 440, 40);
    int D = AddJoint(*Network, 640, 40);
    int P1 = AddPipeBetween(*Network, A, B);
    int P2 = AddPipeBetween(*Network, B, C);
    int P3 = AddPipeBetween(*Network, C, D);
};

} // namespace

TEST(NetworkLinks, TheThousandAndFirstLinkIsRefused)
{
    auto network = NewNetwork();
    const int a = AddJoint(*network, 0, 0);
    const int b = AddJoint(*network, 40, 0);
    for (int i = 1; i <= 1000; ++i)
        ASSERT_TRUE(network->AddLink(a, b, i));
    EXPECT_FALSE(network->AddLink(a, b, 1001));
    EXPECT_EQ(network->NodeLinksCount, 1000);

    const int pipesBefore = network->GetPipeCount();
    EXPECT_EQ(AddPipeBetween(*network, a, b), -1);
    EXPECT_EQ(network->GetPipeCount(), pipesBefore);
}

TEST(NetworkLinks, CloseAndReopenMoveThePipeToTheEnd)
{
    auto network = NewNetwork();
    const int a = AddJoint(*network, 0, 0);
    const int b = AddJoint(*network, 400, 0);
    network->GetNode(b).Pressure_Bar_g = 2;
    TPipe pipe;
    for (int i = 1; i <= 7; ++i)
        network->AddPipe(pipe);
    for (int id : {3, 7, 5})
        network->AddLink(a, b, id);
    network->GetPipe(7).FlowUncompressed_m3s = 0.25;
    network->GetPipe(7).FlowGuessUncompressed_m3s = 0.2;

    network->RemoveNodeLinkAddClosedPipeLink(7);
    EXPECT_EQ(ActivePipes(*network), (std::vector<int>{3, 5}));
    EXPECT_EQ(ClosedPipes(*network), std::vector<int>{7});
    EXPECT_TRUE(network->IsPipeClosed(7));
    EXPECT_EQ(network->GetPipeCount(), 7) << "a closed pipe stays in the pipe table";
    EXPECT_EQ(network->GetPipe(7).FlowUncompressed_m3s, 0);
    EXPECT_EQ(network->GetPipe(7).FlowGuessUncompressed_m3s, 0);
    EXPECT_EQ(network->GetNodeLinkClosedPipe(1), (TNodeLink{a, b, 7}));

    network->RemoveNodeLinkAddClosedPipeLink(7); // no active link: nothing changes
    EXPECT_EQ(network->NodeLinksClosedPipeCount, 1);

    network->ReversePipeLink(7);
    EXPECT_EQ(network->GetNodeLinkClosedPipe(1), (TNodeLink{a, b, 7})) << "closed pipes are not reversed";

    network->RestoreNodeLinkForClosedPipe(7);
    EXPECT_EQ(ActivePipes(*network), (std::vector<int>{3, 5, 7}));
    EXPECT_TRUE(ClosedPipes(*network).empty());
    EXPECT_FALSE(network->IsPipeClosed(7));

    network->ReversePipeLink(7);
    EXPECT_EQ(network->GetNodeLink(3), (TNodeLink{b, a, 7}));
}

TEST(NetworkLinks, Removals)
{
    {
        Chain chain;
        chain.Network->RemoveNodeLinkAddClosedPipeLink(chain.P2);
        chain.Network->RemoveLink(chain.P2);
        EXPECT_EQ(chain.Network->NodeLinksClosedPipeCount, 0) << "RemoveLink falls back to the closed table";
        EXPECT_EQ(chain.Network->GetPipeCount(), 3) << "the pipe itself stays";
    }
    {
        Chain chain;
        chain.Network->RemovePipeLinkBetweenNodes(chain.C, chain.B);
        EXPECT_EQ(ActivePipes(*chain.Network), (std::vector<int>{chain.P1, chain.P3}));
        EXPECT_EQ(chain.Network->GetPipeCount(), 2);
        chain.Network->RemoveNodeLinkAddClosedPipeLink(chain.P3);
        chain.Network->RemovePipeLinkBetweenNodes(chain.D, chain.C);
        EXPECT_EQ(chain.Network->NodeLinksClosedPipeCount, 0) << "closed pipes are searched after the active";
        chain.Network->RemovePipeLinkBetweenNodes(chain.A, chain.D);
        EXPECT_EQ(chain.Network->GetPipeCount(), 1);
    }
    {
        // Node B has two neighbouring entries (pipes 1 and 2) plus a closed one.
        Chain chain;
        const int closed = AddPipeBetween(*chain.Network, chain.D, chain.B);
        chain.Network->RemoveNodeLinkAddClosedPipeLink(closed);
        chain.Network->RemoveAllPipeLinksFromToNode(chain.B);
        EXPECT_EQ(ActivePipes(*chain.Network), std::vector<int>{chain.P3});
        EXPECT_EQ(chain.Network->NodeLinksClosedPipeCount, 0);
        EXPECT_EQ(chain.Network->GetPipeCount(), 1);
    }
    {
        Chain chain;
        chain.Network->RemovePipeLink(99); // no table holds it
        chain.Network->ReversePipeLink(99);
        EXPECT_EQ(chain.Network->NodeLinksCount, 3);
    }
}

TEST(NetworkLinks, EndNodesOfAPipe)
{
    Chain chain;
    TNetwork &network = *chain.Network;
    int from = 11, to = 12;
    network.GetFromAndToNodeIds(99, from, to);
    EXPECT_EQ(from, -1);
    EXPECT_EQ(to, -1);

    from = 11, to = 12;
    network.GetPipeNodes(99, from, to);
    EXPECT_EQ(from, 11) << "left as the caller set it";
    EXPECT_EQ(to, 12);

    // The solver preparation has moved pipe 2 into the flow-control table.
    network.RemoveLink(chain.P2);
    network.NodeLinksFlowControlCount = 1;
    network.NodeLinksFlowControl[1] = {chain.B, chain.C, chain.P2, 0, 0, FCV};
    network.GetPipeNodes(chain.P2, from, to);
    EXPECT_EQ(from, chain.B);
    EXPECT_EQ(to, chain.C);
    network.GetFromAndToNodeIds(chain.P2, from, to);
    EXPECT_EQ(from, -1);

    network.RemoveNodeLinkAddClosedPipeLink(chain.P3);
    network.GetFromAndToNodeIds(chain.P3, from, to);
    EXPECT_EQ(from, chain.C);
    EXPECT_EQ(to, chain.D);

    EXPECT_TRUE(network.ExistsPipeLink(chain.B, chain.A));
    EXPECT_FALSE(network.ExistsPipeLink(chain.C, chain.D)) << "closed";
}

TEST(NetworkLinks, UndirectedWalkAndSorting)
{
    Chain chain;
    TNetwork &network = *chain.Network;
    const int lonely = AddJoint(network, 800, 40);
    EXPECT_EQ(network.GetNextUndirectedNodeLinkId(lonely, 0), -1);
    EXPECT_EQ(network.GetNextUndirectedNodeLinkId(chain.B, 0), 1);
    EXPECT_EQ(network.GetNextUndirectedNodeLinkId(chain.B, 1), 2);
    EXPECT_EQ(network.GetNextUndirectedNodeLinkId(chain.B, 2), -1);

    network.RemoveNodeLinkAddClosedPipeLink(chain.P1);
    network.RestoreNodeLinkForClosedPipe(chain.P1); // order now 2, 3, 1
    const int p4 = AddPipeBetween(network, chain.D, lonely);
    network.RemoveNodeLinkAddClosedPipeLink(p4);
    network.RemoveNodeLinkAddClosedPipeLink(chain.P2);
    EXPECT_EQ(ClosedPipes(network), (std::vector<int>{p4, chain.P2}));
    network.SortNodeLinksByPipeId();
    network.SortNodeLinksClosedPipeByPipeId();
    EXPECT_EQ(ActivePipes(network), (std::vector<int>{chain.P1, chain.P3}));
    EXPECT_EQ(ClosedPipes(network), (std::vector<int>{chain.P2, p4}));
    EXPECT_EQ(network.GetNodeLink(1), (TNodeLink{chain.A, chain.B, chain.P1})) << "whole entries move";
}

TEST(NetworkLinks, CountsPerNode)
{
    // Hub H with pipes in from A (zone 2) and B (zone 1), out to C (zone 2),
    // and a closed pipe out to D.
    auto network = NewNetwork();
    TNetwork &n = *network;
    const int h = AddJoint(n, 0, 0), a = AddJoint(n, 40, 0), b = AddJoint(n, 80, 0), c = AddJoint(n, 120, 0),
              d = AddJoint(n, 160, 0);
    const int pa = AddPipeBetween(n, a, h, 2);
    AddPipeBetween(n, b, h, 1);
    const int pc = AddPipeBetween(n, h, c, 2);
    n.RemoveNodeLinkAddClosedPipeLink(AddPipeBetween(n, h, d));

    struct Case {
        const char *Query;
        int Actual, Expected;
    } cases[] = {
        {"in", n.GetNumberOfInFlowPipes(h), 2},
        {"out", n.GetNumberOfOutFlowPipes(h), 1},
        {"single out", n.GetSingleOutFlowPipe(h), pc},
        {"single in of two", n.GetSingleInFlowPipe(h), 0},
        {"single in", n.GetSingleInFlowPipe(c), pc},
        {"single out of none", n.GetSingleOutFlowPipe(c), 0},
        {"in zone 2", n.GetNumberOfInFlowPipesWithFluidZone(h, 2), 1},
        {"out zone 1", n.GetNumberOfOutFlowPipesWithFluidZone(h, 1), 0},
        {"out zone 2", n.GetNumberOfOutFlowPipesWithFluidZone(h, 2), 1},
        {"closed out", n.GetNumberOfOutFlowPipesClosed(h), 1},
        {"closed in", n.GetNumberOfInFlowPipesClosed(d), 1},
        {"closed in at hub", n.GetNumberOfInFlowPipesClosed(h), 0},
        {"out not set", n.GetNumberOfOutFlowPipesNotSet(a), 1},
    };
    for (const Case &c2 : cases)
        EXPECT_EQ(c2.Actual, c2.Expected) << c2.Query;

    n.GetPipe(pa).FlowGuessUncompressedSet = true;
    EXPECT_EQ(n.GetNumberOfOutFlowPipesNotSet(a), 0);
}

TEST(NetworkLinks, FlowsAtANode)
{
    Chain chain;
    TNetwork &n = *chain.Network;
    n.FluidZones[1].Fluid.density_kgs_m3 = 1000;
    n.GetPipe(chain.P1).FlowUncompressed_m3s = 0.003; // into B
    n.GetPipe(chain.P2).FlowUncompressed_m3s = 0.001; // out of B
    n.GetNode(chain.B).JointDischarge_kgs = 2.5;
    n.GetNode(chain.B).JointSupply_kgs = 0.5;
    EXPECT_NEAR(static_cast<double>(n.GetOutFlowSumAtNode_kgs(chain.B)), 1 - 3 + 2.5 - 0.5, 1e-12);

    n.GetNode(chain.A).Pressure_Bar_g = 4.5;
    EXPECT_DOUBLE_EQ(n.GetPipeStartNodePressure_bar_g(chain.P1), 4.5);
    EXPECT_DOUBLE_EQ(n.GetPipeStartNodePressure_bar_g(99), 0);

    EXPECT_FALSE(n.IsNegativeFlowInAnyPipe());
    n.GetPipe(chain.P3).FlowUncompressed_m3s = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(n.IsNegativeFlowInAnyPipe()) << "a flow that is not >= 0 counts";
    EXPECT_FALSE(n.IsNegativeFlowInAnyPipeWithPump());
    n.GetPipe(chain.P3).PumpCount = 1;
    EXPECT_TRUE(n.IsNegativeFlowInAnyPipeWithPump());
    n.GetPipe(chain.P3).PumpUseInCalc = false;
    EXPECT_FALSE(n.IsNegativeFlowInAnyPipeWithPump());
}

TEST(NetworkLinks, FlowControlNeighbours)
{
    Chain chain;
    TNetwork &n = *chain.Network;
    EXPECT_TRUE(n.IsPipeOkToAddFlowControl(chain.P2));
    n.GetPipe(chain.P3).FlowControlCount = 1;
    n.GetPipe(chain.P3).FlowControlUseInCalc = false;
    EXPECT_FALSE(n.IsPipeOkToAddFlowControl(chain.P2)) << "also a flow control not in use";
    EXPECT_TRUE(n.IsPipeOkToAddFlowControl(chain.P1));
    EXPECT_TRUE(n.IsPipeOkToAddFlowControl(chain.P3)) << "its own flow control does not count";
    n.RemoveNodeLinkAddClosedPipeLink(chain.P2);
    EXPECT_TRUE(n.IsPipeOkToAddFlowControl(chain.P2)) << "a closed pipe";

    n.GetPipe(chain.P1).FlowControlCount = 1;
    n.GetPipe(chain.P1).FlowControl.ControlType = PRV;
    n.GetPipe(chain.P3).FlowControl.ControlType = BPV;
    EXPECT_TRUE(n.IsNodeAssociatedWithAnyPRV(chain.B));
    EXPECT_FALSE(n.IsNodeAssociatedWithAnyPRV(chain.A));
    EXPECT_TRUE(n.IsNodeAssociatedWithAnyBPV(chain.C));
    EXPECT_FALSE(n.IsNodeAssociatedWithAnyBPV(chain.D));
}

TEST(NetworkLinks, ControlPipesOfTheSolverPreparation)
{
    Chain chain;
    TNetwork &n = *chain.Network;
    // Pipe 1 carries a PRV with control node 50 and control pipe 60; pipe 3
    // a BPV (not in use) with control pipe 61.
    n.GetPipe(chain.P1).FlowControlCount = 1;
    n.GetPipe(chain.P1).FlowControl.ControlType = PRV;
    n.GetPipe(chain.P3).FlowControlCount = 1;
    n.GetPipe(chain.P3).FlowControl.ControlType = BPV;
    n.GetPipe(chain.P3).FlowControlUseInCalc = false;
    n.NodeLinksFlowControlCount = 2;
    n.NodeLinksFlowControl[1] = {chain.A, chain.B, chain.P1, 50, 60, PRV};
    n.NodeLinksFlowControl[2] = {chain.B, chain.C, chain.P3, 51, 61, BPV};

    EXPECT_TRUE(n.IsNodeControlNode(50));
    EXPECT_FALSE(n.IsNodeControlNode(chain.A));
    EXPECT_EQ(n.GetOriginalPipeIdForThisControlPipe(61), chain.P3);
    EXPECT_EQ(n.GetOriginalPipeIdForThisControlPipe(chain.P1), 0);
    EXPECT_TRUE(n.IsPipePRVNewControlPipe(60));
    EXPECT_FALSE(n.IsPipeBPVNewControlPipe(60));
    EXPECT_TRUE(n.IsPipePRVOrBPVNewControlPipe(60));
    EXPECT_FALSE(n.IsPipePRVOrBPVNewControlPipe(61)) << "the BPV is not in use";
    n.GetPipe(chain.P3).FlowControlUseInCalc = true;
    EXPECT_TRUE(n.IsPipeBPVNewControlPipe(61));

    int node = -5;
    n.GetNodeAfterPRVIfNewControlPipe(60, node);
    EXPECT_EQ(node, chain.B);
    n.GetNodeAfterPRVIfNewControlPipe(99, node);
    EXPECT_EQ(node, 0);
    n.GetNodeBeforeBPVIfNewControlPipe(61, node);
    EXPECT_EQ(node, chain.B);

    int pipe = -5;
    n.GetPipeEnteringNodeBeforeBPVIfNewControlPipe(61, pipe);
    EXPECT_EQ(pipe, chain.P1) << "the single pipe entering B";
    pipe = -5;
    n.GetPipeEnteringNodeBeforeBPVIfNewControlPipe(99, pipe);
    EXPECT_EQ(pipe, -5);
}
