#include "network/Network_Class.h"

#include "Network_Fixture.h"

#include <gtest/gtest.h>

using namespace tessaran;
using namespace tessaran::test;

TEST(NetworkGeometry, PointOnLine)
{
    struct Case {
        int px, py, x1, y1, x2, y2;
        bool On;
    } cases[] = {
        // Horizontal: a band of 15 either side, ends excluded.
        {150, 214, 100, 200, 300, 200, true},
        {150, 186, 100, 200, 300, 200, true},
        {150, 215, 100, 200, 300, 200, false},
        {100, 200, 100, 200, 300, 200, false},
        {300, 200, 100, 200, 300, 200, false},
        {150, 214, 300, 200, 100, 200, true}, // ends given right to left
        // Slope 3 widens the band by 3: yL = 150 at x = 50.
        {50, 167, 0, 0, 100, 300, true},
        {50, 133, 0, 0, 100, 300, true},
        {50, 168, 0, 0, 100, 300, false},
        {50, 132, 0, 0, 100, 300, false},
        {50, 167, 100, 300, 0, 0, true},
        // Vertical: 10 either side, strictly between the end y values.
        {509, 200, 500, 100, 500, 300, true},
        {491, 200, 500, 300, 500, 100, true},
        {510, 200, 500, 100, 500, 300, false},
        {500, 100, 500, 100, 500, 300, false},
        {500, 301, 500, 100, 500, 300, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TNetwork::IsPointOnLine(c.px, c.py, c.x1, c.y1, c.x2, c.y2), c.On)
            << "(" << c.px << ", " << c.py << ") on (" << c.x1 << ", " << c.y1 << ")-(" << c.x2 << ", " << c.y2
            << ")";
}

TEST(NetworkGeometry, SnapPointToLine)
{
    struct Case {
        int px, py, x1, y1, x2, y2;
        int ExpectedX, ExpectedY;
    } cases[] = {
        {150, 210, 100, 200, 300, 200, 150, 200}, // onto a sloping line: y only
        {50, 160, 0, 0, 100, 300, 50, 150},
        {150, 260, 100, 200, 300, 200, 0, 0},     // off a sloping line: no snap
        {505, 150, 500, 100, 500, 300, 500, 150}, // onto a vertical line: x only
        {520, 150, 500, 100, 500, 300, 520, 150}, // off a vertical line: unchanged
    };
    for (const Case &c : cases) {
        int x = c.px, y = c.py;
        TNetwork::SnapPointToLine(x, y, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(x, c.ExpectedX) << c.px << "," << c.py;
        EXPECT_EQ(y, c.ExpectedY) << c.px << "," << c.py;
    }
}

TEST(NetworkGeometry, PointsOnTheNetworksLines)
{
    // A cross: pipe 1 from W to E, pipe 2 from N to S, meeting at (400, 400).
    auto network = NewNetwork();
    TNetwork &n = *network;
    const int w = AddJoint(n, 200, 400), e = AddJoint(n, 600, 400), north = AddJoint(n, 400, 200),
              south = AddJoint(n, 400, 600);
    const int we = AddPipeBetween(n, w, e);
    const int ns = AddPipeBetween(n, north, south);

    EXPECT_EQ(n.IsPointOnAnyNetworkLine(400, 400), -1);
    EXPECT_EQ(n.IsPointOnAnyNetworkLine(300, 405), we);
    EXPECT_EQ(n.IsPointOnAnyNetworkLine(300, 300), 0);
    EXPECT_EQ(n.IsPointOnAnyLineFromThisNode(w, 400, 400), we);
    EXPECT_EQ(n.IsPointOnAnyLineFromThisNode(north, 400, 400), ns);
    EXPECT_EQ(n.IsPointOnAnyLineFromThisNode(w, 405, 300), 0);
    EXPECT_EQ(n.IsPointOnAnyLineNotFromThisNode(w, 400, 400), ns);

    n.RemoveNodeLinkAddClosedPipeLink(ns);
    EXPECT_EQ(n.IsPointOnAnyNetworkLine(400, 400), we);
    EXPECT_EQ(n.IsPointOnAnyClosedNetworkLine(400, 400), ns);
    EXPECT_EQ(n.IsPointOnAnyClosedNetworkLine(300, 405), 0);

    EXPECT_FALSE(n.ExistsNodesOnPipeLinkLine(w, e)) << "a line's own ends never count";
    EXPECT_FALSE(n.ExistsAnyNodeOrPipeDrawingIssue());
    const int middle = AddJoint(n, 300, 400);
    EXPECT_TRUE(n.ExistsNodesOnPipeLinkLine(w, e));
    EXPECT_TRUE(n.ExistsNodesOnPipeLine(200, 400, 600, 400));
    EXPECT_TRUE(n.ExistsNodesOnAnyLineFromThisNode(e));
    EXPECT_FALSE(n.ExistsNodesOnAnyLineFromThisNode(middle));
    EXPECT_TRUE(n.ExistsAnyNodeOrPipeDrawingIssue());
    n.GetNode(middle).y = 800;
    EXPECT_FALSE(n.ExistsAnyNodeOrPipeDrawingIssue());
    AddJoint(n, 400, 200); // on top of N
    EXPECT_TRUE(n.ExistsAnyNodeOrPipeDrawingIssue());
}

namespace {

// Nodes 1 (100,100), 2 (300,100), 3 (900,900); pipes 1->2 and 2->3 active,
// 1->3 closed; free texts at (150,150), (800,800) and (200,120).
struct Drawing {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    int N1 = AddJoint(*Network, 100, 100);
    int N2 = AddJoint(*Network, 300, 100);
    int N3 = AddJoint(*Network, 900, 900);
    int P12 = AddPipeBetween(*Network, N1, N2);
    int P23 = AddPipeBetween(*Network, N2, N3);
    int P13 = AddPipeBetween(*Network, N1, N3);

    Drawing()
    {
        Network->RemoveNodeLinkAddClosedPipeLink(P13);
        Network->AddFreeText("T1", 150, 150, clBlack, 10, {});
        Network->AddFreeText("T2", 800, 800, clBlack, 10, {});
        Network->AddFreeText("T3", 200, 120, clBlack, 10, {});
    }

    void Select(int x1, int y1, int x2, int y2)
    {
        TNetworkStates states;
        states.SelectionStartX = x1;
        states.SelectionStartY = y1;
        states.SelectionEndX = x2;
        states.SelectionEndY = y2;
        Network->SetSelectedItems(states);
    }
};

} // namespace

TEST(NetworkSelection, RubberBandSelectsPipesWithBothEnds)
{
    Drawing d;
    TNetwork &n = *d.Network;
    d.Select(100, 100, 300, 150); // bounds included
    EXPECT_TRUE(n.GetNode(d.N1).Selected);
    EXPECT_TRUE(n.GetNode(d.N2).Selected);
    EXPECT_FALSE(n.GetNode(d.N3).Selected);
    EXPECT_EQ(n.GetNode(d.N1).OrigX, 100);
    EXPECT_TRUE(n.GetPipe(d.P12).Selected);
    EXPECT_FALSE(n.GetPipe(d.P23).Selected) << "only one end selected";
    EXPECT_FALSE(n.GetPipe(d.P13).Selected);
    EXPECT_TRUE(n.GetFreeText(1).Selected);
    EXPECT_FALSE(n.GetFreeText(2).Selected);
    EXPECT_TRUE(n.GetFreeText(3).Selected);

    d.Select(0, 0, 1000, 1000);
    EXPECT_TRUE(n.GetPipe(d.P13).Selected) << "closed pipes too";

    d.Select(1000, 0, 0, 1000); // start right of the end
    EXPECT_EQ(n.GetNumberOfItemsSelected(), 0);
    EXPECT_FALSE(n.GetPipe(d.P12).Selected);

    d.Select(0, 0, 1000, 1000);
    n.BackgroundImagesCount = 1;
    n.BackgroundImages[1].Selected = true;
    n.DeselectItems();
    EXPECT_EQ(n.GetNumberOfItemsSelected(), 0);
    EXPECT_FALSE(n.GetPipe(d.P13).Selected);
    EXPECT_FALSE(n.BackgroundImages[1].Selected);
}

TEST(NetworkSelection, DraggingMovesSelectedNodesTextsAndImages)
{
    Drawing d;
    TNetwork &n = *d.Network;
    n.BackgroundImagesCount = 2;
    n.BackgroundImages[1].ImageX = 1000;
    n.BackgroundImages[1].ImageY = 2000;
    n.BackgroundImages[1].Selected = true;
    n.BackgroundImages[2].ImageX = 50;
    d.Select(0, 0, 400, 200);

    n.ResetSelectedNodesXY(0, 0);
    n.MoveSelectedNodes(40, -20);
    EXPECT_EQ(n.GetNode(d.N1).x, 140);
    EXPECT_EQ(n.GetNode(d.N1).y, 80);
    EXPECT_EQ(n.GetNode(d.N3).x, 900);
    EXPECT_EQ(n.GetFreeText(1).x, 190);
    EXPECT_EQ(n.GetFreeText(2).x, 800);
    EXPECT_EQ(n.BackgroundImages[1].ImageX, 1040);
    EXPECT_EQ(n.BackgroundImages[1].ImageY, 1980);
    EXPECT_EQ(n.BackgroundImages[2].ImageX, 50);

    n.MoveSelectedNodes(0, 0); // back to the saved positions
    EXPECT_EQ(n.GetNode(d.N1).x, 100);

    n.MoveAllBackgroundImages(5, 7);
    EXPECT_EQ(n.BackgroundImages[2].ImageX, 55);
    EXPECT_EQ(n.BackgroundImages[2].OrigX, 50);
    EXPECT_EQ(n.BackgroundImages[1].ImageY, 2007);
}

TEST(NetworkSelection, DeleteSelectedItems)
{
    Drawing d;
    TNetwork &n = *d.Network;
    n.GetNode(d.N1).Selected = true;
    n.GetFreeText(1).Selected = true;
    n.GetFreeText(2).Selected = true;
    n.DeleteSelectedItems();

    EXPECT_EQ(n.GetNodeCount(), 2);
    EXPECT_EQ(ActivePipes(n), std::vector<int>{d.P23}) << "node 1 took its active pipe";
    EXPECT_TRUE(ClosedPipes(n).empty()) << "and its closed pipe";
    EXPECT_EQ(n.GetPipeCount(), 1);
    ASSERT_EQ(n.FreeTextsCount, 1);
    EXPECT_EQ(n.GetFreeText(1).TextStrings, std::vector<std::string>{"T3"});
    EXPECT_TRUE(n.GetFreeText(2).TextStrings.empty()) << "freed slot cleared";

    n.GetPipe(d.P23).Selected = true;
    n.DeleteSelectedItems();
    EXPECT_EQ(n.GetPipeCount(), 0);
    EXPECT_EQ(n.GetNodeCount(), 2) << "a selected pipe does not take its nodes";
}

TEST(NetworkSelection, AutoNamesAndZones)
{
    Drawing d;
    TNetwork &n = *d.Network;
    n.FluidZonesCount = 3;
    d.Select(0, 0, 1000, 1000);
    n.GetNode(d.N3).Selected = false;
    n.UpdateSelectedItemsToAutoNameIds();
    EXPECT_EQ(n.GetNode(d.N2).Name, "N" + std::to_string(d.N2));
    EXPECT_EQ(n.GetNode(d.N3).Name, "");
    EXPECT_EQ(n.GetPipe(d.P12).Name, "P" + std::to_string(d.P12));
    EXPECT_EQ(n.GetPipe(d.P13).Name, "") << "closed pipes keep their names";

    n.UpdateSelectedItemsToFluidZone(3);
    EXPECT_EQ(n.GetPipe(d.P12).FluidZoneIndex, 3);
    EXPECT_EQ(n.GetPipe(d.P23).FluidZoneIndex, 3);
    EXPECT_EQ(n.GetPipe(d.P13).FluidZoneIndex, 1) << "closed pipes keep their zone";

    n.GetPipe(d.P23).FluidZoneIndex = 2;
    n.UpdateFluidZoneInPipes(3, 1);
    EXPECT_EQ(n.GetPipe(d.P12).FluidZoneIndex, 1);
    EXPECT_EQ(n.GetPipe(d.P23).FluidZoneIndex, 2);
}

TEST(NetworkSelection, DeletingAZoneShiftsTheLaterZones)
{
    Drawing d;
    TNetwork &n = *d.Network;
    n.FluidZonesCount = 3;
    n.CurrentFluidZone = 3;
    n.FluidZones[3].Fluid.SetToAir();
    n.FluidZones[3].ShowColor = false;
    const TColor zone2Colour = n.FluidZones[2].Color;
    const TColor zone3Colour = n.FluidZones[3].Color;
    n.GetPipe(d.P12).FluidZoneIndex = 3;
    n.GetPipe(d.P13).FluidZoneIndex = 3; // closed

    n.DeleteFluidZone(2);
    EXPECT_EQ(n.FluidZonesCount, 2);
    EXPECT_EQ(n.CurrentFluidZone, 1);
    EXPECT_TRUE(n.FluidZones[2].Fluid.FluidIsGas);
    EXPECT_EQ(n.FluidZones[2].Color, zone3Colour);
    EXPECT_FALSE(n.FluidZones[2].ShowColor);
    EXPECT_EQ(n.FluidZones[20].Color, zone2Colour);
    EXPECT_EQ(n.GetPipe(d.P12).FluidZoneIndex, 2);
    EXPECT_EQ(n.GetPipe(d.P13).FluidZoneIndex, 2) << "closed pipes follow their zone";

    auto other = NewNetwork();
    other->CopyFluidZonesFrom(n);
    EXPECT_EQ(other->FluidZonesCount, 2);
    EXPECT_TRUE(other->FluidZones[2].Fluid.FluidIsGas);
    EXPECT_EQ(other->FluidZones[2].Color, zone3Colour);
    EXPECT_TRUE(other->FluidZones[2].ShowColor);
}

TEST(NetworkSelection, CopyAndPasteKeepEveryItemsData)
{
    Drawing d;
    TNetwork &source = *d.Network;
    source.GetNode(d.N2).Name = "Junction";
    source.GetNode(d.N2).Elevation_m = 12.5;
    source.GetNode(d.N2).NodeType = Tank;
    source.GetPipe(d.P12).Name = "Main";
    source.GetPipe(d.P12).Length_m = 42;
    source.GetPipe(d.P12).FluidZoneIndex = 2;
    source.GetFreeText(1).Angle = 30;
    source.GetFreeText(1).Color = clRed;
    source.ReversePipeLink(d.P12);

    auto clipboard = NewNetwork();
    // The pipe from node 2 to node 3 has one end outside the selection; the
    // closed pipe is not copied at all.
    d.Select(0, 0, 400, 200);
    source.GetPipe(d.P23).Selected = true;
    clipboard->AddOnNetworkSelection(source);

    EXPECT_EQ(clipboard->GetNodeCount(), 2);
    EXPECT_EQ(clipboard->GetPipeCount(), 1) << "a pipe without both ends is left out";
    ASSERT_EQ(clipboard->NodeLinksCount, 1);
    EXPECT_EQ(clipboard->NodeLinksClosedPipeCount, 0);
    const TNodeLink link = clipboard->GetNodeLink(1);
    EXPECT_EQ(clipboard->GetNode(link.FromNodeId).Name, "Junction") << "direction kept";
    EXPECT_DOUBLE_EQ(clipboard->GetNode(link.FromNodeId).Elevation_m, 12.5);
    EXPECT_EQ(clipboard->GetNode(link.FromNodeId).NodeType, Tank);
    EXPECT_EQ(clipboard->GetNode(link.ToNodeId).x, 100);
    const TPipe &pipe = clipboard->GetPipe(link.PipeId);
    EXPECT_EQ(pipe.Name, "Main");
    EXPECT_DOUBLE_EQ(pipe.Length_m, 42);
    EXPECT_EQ(pipe.FluidZoneIndex, 2);
    EXPECT_TRUE(pipe.Selected) << "the pasted items are the new selection";
    EXPECT_TRUE(clipboard->GetNode(link.ToNodeId).Selected);

    ASSERT_EQ(clipboard->FreeTextsCount, 2);
    EXPECT_EQ(clipboard->GetFreeText(1).TextStrings, std::vector<std::string>{"T1"});
    EXPECT_EQ(clipboard->GetFreeText(1).Angle, 30);
    EXPECT_EQ(clipboard->GetFreeText(1).Color, clRed);
    EXPECT_TRUE(clipboard->GetFreeText(1).Selected);
    EXPECT_EQ(clipboard->GetFreeText(2).TextStrings, std::vector<std::string>{"T3"});

    // Pasting back adds new items beside the old ones.
    source.DeselectItems();
    source.AddOnNetworkSelection(*clipboard);
    EXPECT_EQ(source.GetNodeCount(), 5);
    EXPECT_EQ(source.NodeLinksCount, 3);
    EXPECT_EQ(source.FreeTextsCount, 5);
    EXPECT_EQ(source.GetNumberOfItemsSelected(), 4);
}

TEST(NetworkSelection, SheetBounds)
{
    struct Case {
        int x, y;
        bool On;
    } cases[] = {{0, 0, true}, {18060, 12020, true}, {18061, 0, false}, {0, 12021, false}, {-1, 5, false}};
    for (const Case &c : cases)
        EXPECT_EQ(TNetwork::IsOnSheet(c.x, c.y), c.On) << c.x << "," << c.y;

    Drawing d;
    TNetwork &n = *d.Network;
    EXPECT_FALSE(n.ExistsNodeOffScreen());
    n.GetNode(d.N3).x = 18061;
    EXPECT_TRUE(n.ExistsNodeOffScreen());
    EXPECT_FALSE(n.ExistsSelectedNodeOffScreen());
    n.GetNode(d.N1).Selected = true;
    n.SelectItemsOffScreen();
    EXPECT_FALSE(n.GetNode(d.N1).Selected);
    EXPECT_TRUE(n.GetNode(d.N3).Selected);
    EXPECT_TRUE(n.ExistsSelectedNodeOffScreen());

    // The loader's clean-up: off-sheet nodes go with their pipes.
    n.DeleteSelectedItems();
    EXPECT_EQ(ActivePipes(n), std::vector<int>{d.P12});
    EXPECT_FALSE(n.ExistsNodeOffScreen());
}

TEST(NetworkSelection, PumpSymbolPosition)
{
    auto network = NewNetwork();
    TNetwork &n = *network;
    const int start = AddJoint(n, 100, 100);
    const int end = AddJoint(n, 300, 100);
    const int pipeId = AddPipeBetween(n, start, end);
    TPipe &pipe = n.GetPipe(pipeId);

    // Placed on the start node: pushed out by q = 0, 1, 3, 6 to 12 units.
    pipe.Pump.x = 100;
    pipe.Pump.y = 100;
    pipe.PumpDistanceFromStartOfPipe_m = 3;
    n.SetPumpPercentagePositionFromXY(pipeId);
    EXPECT_DOUBLE_EQ(pipe.PumpPositionPercentageAlongPipe, 0);
    EXPECT_DOUBLE_EQ(pipe.PumpDistanceFromStartOfPipe_m, 0);
    EXPECT_EQ(pipe.Pump.x, 112);
    EXPECT_EQ(pipe.Pump.y, 100);

    // Beyond the end: the percentage is kept, the symbol stops at 95 %.
    pipe.Pump.x = 340;
    n.SetPumpPercentagePositionFromXY(pipeId);
    EXPECT_DOUBLE_EQ(pipe.PumpPositionPercentageAlongPipe, 120);
    EXPECT_EQ(pipe.Pump.x, 290);

    pipe.PumpPositionPercentageAlongPipe = 25;
    n.SetPumpXYFromPercentagePosition(pipeId);
    EXPECT_EQ(pipe.Pump.x, 150);
    pipe.PumpPositionPercentageAlongPipe = 100;
    n.SetPumpXYFromPercentagePosition(pipeId);
    EXPECT_EQ(pipe.Pump.x, 290);

    // Works for a closed pipe too.
    n.RemoveNodeLinkAddClosedPipeLink(pipeId);
    pipe.PumpPositionPercentageAlongPipe = 50;
    n.SetPumpXYFromPercentagePosition(pipeId);
    EXPECT_EQ(pipe.Pump.x, 200);
}

TEST(NetworkSelection, PumpSymbolOnAPipeOfNoDrawnLength)
{
    // Both ends on one point: the percentage cannot be measured and is 0,
    // with the symbol on the nodes, rather than a division by zero.
    auto network = NewNetwork();
    TNetwork &n = *network;
    const int start = AddJoint(n, 400, 400);
    const int end = AddJoint(n, 400, 400);
    const int pipeId = AddPipeBetween(n, start, end);
    TPipe &pipe = n.GetPipe(pipeId);
    pipe.Pump.x = 450;
    pipe.Pump.y = 420;
    n.SetPumpPercentagePositionFromXY(pipeId);
    EXPECT_DOUBLE_EQ(pipe.PumpPositionPercentageAlongPipe, 0);
    EXPECT_EQ(pipe.Pump.x, 400);
    EXPECT_EQ(pipe.Pump.y, 400);

    // A pipe id without a link leaves the symbol alone.
    TPipe loose;
    const int looseId = n.AddPipe(loose);
    n.GetPipe(looseId).Pump.x = 7;
    n.SetPumpPercentagePositionFromXY(looseId);
    n.SetPumpXYFromPercentagePosition(looseId);
    EXPECT_EQ(n.GetPipe(looseId).Pump.x, 7);
}

TEST(NetworkSelection, DeletingAZoneKeepsTheFluidOfClosedPipes)
{
    // Zone 2 (water) is deleted; zone 3 holds air. Pipes of both zones, one
    // of each open and one closed.
    auto network = NewNetwork();
    TNetwork &n = *network;
    n.FluidZonesCount = 3;
    n.FluidZones[3].Fluid.SetToAir();
    const int a = AddJoint(n, 40, 40), b = AddJoint(n, 400, 40), c = AddJoint(n, 400, 400);
    const int open2 = AddPipeBetween(n, a, b, 2), closed2 = AddPipeBetween(n, b, c, 2);
    const int open3 = AddPipeBetween(n, c, a, 3), closed3 = AddPipeBetween(n, a, c, 3);
    n.RemoveNodeLinkAddClosedPipeLink(closed2);
    n.RemoveNodeLinkAddClosedPipeLink(closed3);

    // As the main window deletes a zone.
    n.UpdateFluidZoneInPipes(2, 1);
    n.DeleteFluidZone(2);

    struct Case {
        int PipeId, Zone;
        bool Gas;
    } cases[] = {{open2, 1, false}, {closed2, 1, false}, {open3, 2, true}, {closed3, 2, true}};
    for (const Case &k : cases) {
        EXPECT_EQ(n.GetPipe(k.PipeId).FluidZoneIndex, k.Zone) << "pipe " << k.PipeId;
        EXPECT_EQ(n.GetPipeFluid(k.PipeId).FluidIsGas, k.Gas) << "pipe " << k.PipeId;
    }
    EXPECT_EQ(n.FluidZonesCount, 2);
}
