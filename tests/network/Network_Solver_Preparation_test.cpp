#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "Liquid_Network_Fixture.h"
#include "support/Scripted_User_Interface.h"

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
using test::InputSnapshot;
using test::NewNetwork;

bool Contains(const TResultsLog &log, const std::string &text)
{
    return std::find(log.Lines.begin(), log.Lines.end(), text) != log.Lines.end();
}

bool ContainsStart(const TResultsLog &log, const std::string &start)
{
    return std::any_of(log.Lines.begin(), log.Lines.end(),
                       [&](const std::string &line) { return line.rfind(start, 0) == 0; });
}

TEST(SolverPreparation, WithoutValvesOrFixedFlowPumpsNothingChanges)
{
    auto network = NewNetwork();
    const int tank = AddTank(*network, "T", 10);
    const int a = AddSolverNode(*network, "A", Joint, 0, 0.01);
    AddSolverPipe(*network, tank, a);
    const auto before = InputSnapshot(*network);

    network->RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
    network->RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
    EXPECT_EQ(InputSnapshot(*network), before);

    TResultsLog log;
    network->RestoreAllNodeLinksForPipesWithFlowControl(log);
    network->RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(log);
    network->RestoreAllNodeLinksForPreventBackflow(log);
    EXPECT_EQ(InputSnapshot(*network), before);
    EXPECT_TRUE(log.Lines.empty());
}

// A fixed-flow pump of 0.01 m3/s in pipe 5 from joint A (no demand) to joint
// B with a demand of 0.02 m3/s out.
TEST(SolverPreparation, FixedFlowPumpBecomesDemandPairAndComesBackLast)
{
    auto network = NewNetwork();
    const int tank = AddTank(*network, "T", 10);
    const int a = AddSolverNode(*network, "A", Joint);
    const int b = AddSolverNode(*network, "B", Joint, 0, 0.02);
    const int c = AddSolverNode(*network, "C", Joint);
    for (int i = 0; i < 3; ++i)
        AddSolverPipe(*network, tank, c);
    AddSolverPipe(*network, tank, a);
    const int pumpPipe = AddSolverPipe(*network, a, b);
    ASSERT_EQ(pumpPipe, 5);
    AddSolverPipe(*network, b, c);
    AddFixedFlowPump(*network, pumpPipe, 0.01);
    const auto before = InputSnapshot(*network);
    const double density = network->FluidZones[1].Fluid.density_kgs_m3;

    network->RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
    EXPECT_EQ(network->NodeLinksCount, 5);
    EXPECT_EQ(network->NodeLinksPumpAtSetFlowRateCount, 1);
    const TNode &nodeA = network->GetNode(a);
    const TNode &nodeB = network->GetNode(b);
    EXPECT_DOUBLE_EQ(nodeA.JointDischarge_m3s, 0.01);
    EXPECT_DOUBLE_EQ(nodeA.JointDischarge_kgs, 0.01 * density);
    EXPECT_GT(nodeA.JointDischarge_SCMH, 0);
    EXPECT_DOUBLE_EQ(nodeB.JointSupply_m3s, 0.01);
    EXPECT_DOUBLE_EQ(nodeB.JointSupply_kgs, 0.01 * density);
    EXPECT_GT(nodeB.JointSupply_SCMH, 0);
    EXPECT_DOUBLE_EQ(nodeB.JointDischarge_m3s, 0.02);

    TResultsLog log;
    network->RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(log);
    EXPECT_EQ(nodeA.JointDischarge_m3s, 0.0);
    EXPECT_EQ(nodeA.JointDischarge_kgs, 0.0);
    EXPECT_EQ(nodeA.JointDischarge_SCMH, 0.0);
    EXPECT_EQ(nodeB.JointSupply_m3s, 0.0);
    EXPECT_EQ(nodeB.JointSupply_kgs, 0.0);
    EXPECT_EQ(nodeB.JointSupply_SCMH, 0.0);
    EXPECT_EQ(network->NodeLinks[6].PipeId, pumpPipe);
    EXPECT_DOUBLE_EQ(network->GetPipe(pumpPipe).FlowUncompressed_m3s, 0.01);
    EXPECT_EQ(network->NodeLinksPumpAtSetFlowRateCount, 0);
    network->SortNodeLinksByPipeId();
    EXPECT_EQ(InputSnapshot(*network), before);
}

// Demands given as a mass flow change by the set flow in kg/s; those given
// as a standard gas flow keep their standard flow. Either way a restore
// gives back the user's numbers exactly, not a sum and difference of them.
TEST(SolverPreparation, DemandsInEveryFormComeBackExactly)
{
    for (TFlowType form : {VolumeFlow, MassFlow, GasFlow}) {
        SCOPED_TRACE(static_cast<int>(form));
        auto network = NewNetwork();
        const int tank = AddTank(*network, "T", 10);
        const int a = AddSolverNode(*network, "A", Joint, 0, 0.0123, 0.0071);
        const int b = AddSolverNode(*network, "B", Joint, 0, 0.0337);
        AddSolverPipe(*network, tank, a);
        const int valvePipe = AddSolverPipe(*network, a, b);
        for (int id : {a, b}) {
            TNode &node = network->GetNode(id);
            node.JointDemandUseFlowType = form;
            node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
                network->FluidZones[1].Fluid, network->ConfigOptions.Atmosphere_bar_a,
                network->ConfigOptions.GasFlowTemperaturePressureModel);
        }
        AddValve(*network, valvePipe, FCV, 0.0129, 0);
        const double setFlow_kgs = network->GetPipe(valvePipe).FlowControl.FlowControl_kgs;
        const double dischargeA_kgs = network->GetNode(a).JointDischarge_kgs;
        const auto before = InputSnapshot(*network);

        network->RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
        EXPECT_NEAR(network->GetNode(a).JointDischarge_kgs, dischargeA_kgs + setFlow_kgs, 1e-12);
        TResultsLog log;
        network->RestoreAllNodeLinksForPipesWithFlowControl(log);
        network->SortNodeLinksByPipeId();
        EXPECT_EQ(InputSnapshot(*network), before);
    }
}

struct PressureValveCase {
    TControlType Type;
    const char *Name;
};

class PressureValve : public ::testing::TestWithParam<PressureValveCase> {};

// A PRV set to 2 bar g on a pipe from joint A to joint B holds B; a BPV
// holds A. The held node becomes a tank at the setting while a joint copy of
// it, with its demands, takes the valve's flow through a copy of the pipe.
TEST_P(PressureValve, FixedNodeControlNodeAndControlPipeComeAndGo)
{
    const PressureValveCase c = GetParam();
    auto network = NewNetwork();
    const int tank = AddTank(*network, "T", 30);
    const int a = AddSolverNode(*network, "A", Joint, 1.5, 0.001);
    const int b = AddSolverNode(*network, "B", Joint, 2.5, 0.004);
    const int end = AddSolverNode(*network, "E", Joint, 0, 0.002);
    AddSolverPipe(*network, tank, a);
    const int valvePipe = AddSolverPipe(*network, a, b, 80, 0.1, "valve pipe");
    AddSolverPipe(*network, b, end);
    AddValve(*network, valvePipe, c.Type, 0, 2.0);
    // Left over from an earlier life as a tank: must survive the calculation.
    const int held = c.Type == PRV ? b : a;
    network->GetNode(held).LiquidLevel_m = 0.7;
    network->GetNode(held).Surface_Pressure_Bar_g = 0.3;
    const auto before = InputSnapshot(*network);
    const int nodes = network->GetNodeCount();

    network->RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
    ASSERT_EQ(network->NodeLinksFlowControlCount, 1);
    const TFlowControlLink entry = network->NodeLinksFlowControl[1];
    EXPECT_EQ(entry.ControlType, c.Type);
    EXPECT_EQ(network->GetNodeCount(), nodes + 1);
    const TNode &fixed = network->GetNode(held);
    EXPECT_EQ(fixed.NodeType, Tank);
    EXPECT_EQ(fixed.LiquidLevel_m, 0.0);
    EXPECT_EQ(fixed.Surface_Pressure_Bar_g, 2.0);
    const TNode &control = network->GetNode(entry.ControlNodeId);
    EXPECT_EQ(control.NodeType, Joint);
    EXPECT_EQ(control.x, fixed.x);
    EXPECT_EQ(control.y, fixed.y);
    EXPECT_EQ(control.Elevation_m, fixed.Elevation_m);
    EXPECT_EQ(control.JointDischarge_m3s, fixed.JointDischarge_m3s);
    int from = 0, to = 0;
    network->GetFromAndToNodeIds(entry.ControlPipeId, from, to);
    if (c.Type == PRV) {
        EXPECT_EQ(from, a);
        EXPECT_EQ(to, entry.ControlNodeId);
    } else {
        EXPECT_EQ(from, entry.ControlNodeId);
        EXPECT_EQ(to, b);
    }
    EXPECT_EQ(network->GetPipe(entry.ControlPipeId).Name, "valve pipe");
    for (int i = 1; i <= network->NodeLinksCount; ++i)
        EXPECT_NE(network->NodeLinks[static_cast<std::size_t>(i)].PipeId, valvePipe);

    // Restoring undoes what was done, even if the valve was retyped since.
    network->GetPipe(entry.ControlPipeId).FlowUncompressed_m3s = 0.0042;
    network->GetPipe(valvePipe).FlowControl.ControlType = FCV;
    TResultsLog log;
    network->RestoreAllNodeLinksForPipesWithFlowControl(log);
    network->GetPipe(valvePipe).FlowControl.ControlType = c.Type;
    EXPECT_DOUBLE_EQ(network->GetPipe(valvePipe).FlowUncompressed_m3s, 0.0042);
    network->SortNodeLinksByPipeId();
    EXPECT_EQ(InputSnapshot(*network), before);
    EXPECT_EQ(network->NodeLinksFlowControlCount, 0);
}

INSTANTIATE_TEST_SUITE_P(SolverPreparation, PressureValve,
                         ::testing::Values(PressureValveCase{PRV, "PRV"}, PressureValveCase{BPV, "BPV"}),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(SolverPreparation, PressureValvesBeyondTheTablesAreRefusedBeforeAnythingChanges)
{
    auto network = NewNetwork();
    const int tank = AddTank(*network, "T", 10);
    int previous = tank;
    // 999 nodes and 998 pipes: room for one control node and pipe, not two.
    for (int i = 2; i <= 999; ++i) {
        const int node = AddSolverNode(*network, "N" + std::to_string(i), Joint);
        AddSolverPipe(*network, previous, node);
        previous = node;
    }
    AddValve(*network, 10, PRV, 0, 1.0);
    AddValve(*network, 20, BPV, 0, 1.0);
    AddValve(*network, 30, FCV, 0.001, 0);
    const auto before = InputSnapshot(*network);

    try {
        network->RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
        FAIL() << "no refusal";
    } catch (const ENetworkClass &e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos);
    }
    EXPECT_EQ(InputSnapshot(*network), before);

    network->GetPipe(20).FlowControlCount = 0;
    network->RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
    EXPECT_EQ(network->NodeLinksFlowControlCount, 2);
    TResultsLog log;
    network->RestoreAllNodeLinksForPipesWithFlowControl(log);
    network->SortNodeLinksByPipeId();
    network->GetPipe(20).FlowControlCount = 1;
    EXPECT_EQ(InputSnapshot(*network), before);
}

TEST(SolverPreparation, PreventBackflowTableRemovesRestoresAndRefusesUnknownPipes)
{
    auto network = NewNetwork();
    const int tank = AddTank(*network, "T", 10);
    const int a = AddSolverNode(*network, "A", Joint);
    const int b = AddSolverNode(*network, "B", Joint);
    const int p1 = AddSolverPipe(*network, tank, a, 100, 0.1, "first");
    const int p2 = AddSolverPipe(*network, a, b, 100, 0.1, "second");
    network->AddLinkPreventBackflow(tank, a, p1);
    network->RemoveLink(p1);
    network->AddLinkPreventBackflow(a, b, p2);
    network->RemoveLink(p2);

    EXPECT_THROW(network->RemoveLinkPreventBackflow(99), ENetworkClass);
    EXPECT_EQ(network->NodeLinksPreventBackflowCount, 2);

    network->RestoreNodeLinkForPreventBackflow(p2);
    EXPECT_EQ(network->NodeLinksPreventBackflowCount, 1);
    EXPECT_EQ(network->NodeLinksCount, 1);
    EXPECT_EQ(network->NodeLinksPreventBackflow[1].PipeId, p1);
    EXPECT_EQ(network->NodeLinksPreventBackflow[2].PipeId, 0);

    network->GetPipe(p1).FlowUncompressed_m3s = -0.5;
    TResultsLog log;
    network->RestoreAllNodeLinksForPreventBackflow(log);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{" ", ">>> BACKFLOW prevented in Pipe 1, first"}));
    EXPECT_EQ(network->GetPipe(p1).FlowUncompressed_m3s, 0.0);
    EXPECT_EQ(network->NodeLinksCount, 2);
    EXPECT_EQ(network->NodeLinksPreventBackflowCount, 0);
}

TEST(SolverPreparation, SavedLinksComeBack)
{
    auto network = NewNetwork();
    const int tank = AddTank(*network, "T", 10);
    const int a = AddSolverNode(*network, "A", Joint);
    AddSolverPipe(*network, tank, a);
    const int p2 = AddSolverPipe(*network, a, tank);
    network->NodeLinksSave();
    network->RemoveLink(p2);
    network->ReversePipeLink(1);
    network->NodeLinksRestore();
    EXPECT_EQ(network->NodeLinksCount, 2);
    EXPECT_EQ(network->NodeLinks[1], (TNodeLink{tank, a, 1}));
    EXPECT_EQ(network->NodeLinks[2], (TNodeLink{a, tank, p2}));
}

// --- Losses after the solution ------------------------------------------------------

struct ValveLossNetwork {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    int Start = 0, End = 0, Pipe = 0;

    ValveLossNetwork(TControlType type, double startPressure, double endPressure, TNodeType startType = Joint)
    {
        TNetwork &network = *Network;
        Start = AddSolverNode(network, "S", startType);
        End = AddSolverNode(network, "E", Joint);
        Pipe = AddSolverPipe(network, Start, End, 100, 0.1, "valve pipe");
        AddValve(network, Pipe, type, 0.002, 1.5);
        network.GetNode(Start).Pressure_Bar_g = startPressure;
        network.GetNode(Start).IsPressureSet = true;
        network.GetNode(End).Pressure_Bar_g = endPressure;
        network.GetNode(End).IsPressureSet = true;
        TPipe &pipe = network.GetPipe(Pipe);
        pipe.PipeFrictionLoss_mHd_Fluid = 2.0;
        pipe.FlowUncompressed_m3s = 0.002;
        pipe.Velocity_ms = 0.25;
    }
};

TEST(ControlLosses, ValveTakesTheRestOfThePressureDrop)
{
    ValveLossNetwork n(FCV, 3.0, 1.0);
    bool solved = true;
    TResultsLog log;
    n.Network->SetFlowControlPressureLosses(solved, log, true);
    const TPipe &pipe = n.Network->GetPipe(n.Pipe);
    const double itemLoss_bar = 2.0 * n.Network->FluidZones[1].Fluid.density_kgs_m3 * 9.80665 / 1e5;
    EXPECT_NEAR(pipe.FlowControlLoss_Bar, 2.0 - itemLoss_bar, 1e-9);
    EXPECT_NEAR(pipe.FlowControlLoss_mHd_Fluid, pipe.FlowControlLoss_Bar / itemLoss_bar * 2.0, 1e-6);
    EXPECT_TRUE(solved);
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_FALSE(n.Network->FixedFlowRatePumpWarning);
}

TEST(ControlLosses, ValveThatWouldHaveToPumpIsReportedByKind)
{
    struct Case {
        TControlType Type;
        TNodeType StartType;
        bool StartPressureSet;
        std::vector<std::string> Expected; // lines that must appear
        std::vector<std::string> Absent;   // line starts that must not
        bool Warning;
    };
    const std::vector<Case> cases = {
        {FCV, Joint, true,
         {"The head loss across the control valve cannot be negative.",
          "The FCV would need to act as pump to add pressure, which it cannot do."},
         {"Reason:"},
         true},
        {PRV, Tank, true,
         {"The PRV pressure setting cannot be higher than the upstream pressure.",
          "Reduce the PRV pressure setting from 1.5000 bar.g (or remove the PRV).",
          "Reason: The liquid level in the tank feeding the pipe is not suffcient."},
         {"Pressure in pipe"},
         false},
        {BPV, Joint, true,
         {"The BPV pressure setting cannot be lower than the upstream pressure.",
          "Increase the BPV pressure setting from 1.5000 bar.g (or remove the BPV)."},
         {"Reason:"},
         false},
        // No calculated start pressure: that line only, and the tank reason.
        {FCV, Tank, false,
         {"Pressure at start of pipe (Node: S) has not been calculated. Additional reference pressures are required "
          "within the network.",
          "Reason: The liquid level in the tank feeding the pipe is not suffcient."},
         {"The head loss", "Pressure in pipe", "The FCV"},
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Type));
        ValveLossNetwork n(c.Type, 1.0, 1.2, c.StartType);
        n.Network->GetNode(n.Start).IsPressureSet = c.StartPressureSet;
        bool solved = true;
        TResultsLog log;
        n.Network->SetFlowControlPressureLosses(solved, log, true);
        EXPECT_FALSE(solved);
        EXPECT_LT(n.Network->GetPipe(n.Pipe).FlowControlLoss_Bar, 0);
        EXPECT_EQ(n.Network->GetPipe(n.Pipe).FlowUncompressed_m3s, 0.0);
        EXPECT_EQ(n.Network->GetPipe(n.Pipe).Velocity_ms, 0.0);
        EXPECT_TRUE(Contains(log, "Pipe 1, valve pipe"));
        for (const std::string &line : c.Expected)
            EXPECT_TRUE(Contains(log, line)) << line;
        for (const std::string &start : c.Absent)
            EXPECT_FALSE(ContainsStart(log, start)) << start;
        EXPECT_TRUE(Contains(log, ">>> System not solved. Control valve settings not met."));
        EXPECT_EQ(n.Network->FixedFlowRatePumpWarning, c.Warning);
    }
}

TEST(ControlLosses, FixedFlowPumpHeadFromTheNodePressures)
{
    for (double required : {3.0, -0.5}) {
        SCOPED_TRACE(required);
        auto network = NewNetwork();
        const int s = AddSolverNode(*network, "S", Joint, 0);
        const int e = AddSolverNode(*network, "E", Joint, 2.0);
        const int pipeId = AddSolverPipe(*network, s, e, 100, 0.1, "pump pipe");
        AddFixedFlowPump(*network, pipeId, 0.01);
        TPipe &pipe = network->GetPipe(pipeId);
        pipe.PipeFrictionLoss_mHd_Fluid = 1.0;
        pipe.FlowUncompressed_m3s = 0.01;
        pipe.Velocity_ms = 1.27;
        // Equal pressures: the pump lifts 2 m and overcomes 1 m of friction;
        // a start pressure 3.5 m higher leaves -0.5 m.
        const double density = network->FluidZones[1].Fluid.density_kgs_m3;
        network->GetNode(s).Pressure_Bar_g = (3.0 - required) * density * 9.80665 / 1e5;
        bool solved = true;
        TResultsLog log;
        network->SetPumpsSetFlowRatePressureLosses(solved, log, true);
        EXPECT_NEAR(pipe.Pump_mHd_Fluid, required, 1e-9);
        if (required > 0) {
            EXPECT_TRUE(solved);
            EXPECT_TRUE(log.Lines.empty());
        } else {
            EXPECT_FALSE(solved);
            EXPECT_EQ(pipe.FlowUncompressed_m3s, 0.0);
            EXPECT_EQ(pipe.Velocity_ms, 0.0);
            EXPECT_TRUE(ContainsStart(log, "Pumps (x1) exist where the pump head produced would have to be negative."));
            EXPECT_TRUE(ContainsStart(log, "Pipe 1, pump pipe, The pump may not be needed (the pump head is negative). "
                                           "The pressure in the pipe will already deliver more flow than the pump's "
                                           "fixed flow rate of 0.0100m"));
        }
    }
}

TEST(NegativeFlows, ReverseFlowThroughAPumpEndsTheWalk)
{
    auto network = NewNetwork();
    test::TScriptedUserInterface ui;
    network->UserInterface = &ui;
    const int tank = AddTank(*network, "T", 10);
    const int a = AddSolverNode(*network, "A", Joint);
    const int b = AddSolverNode(*network, "B", Joint);
    const int p1 = AddSolverPipe(*network, tank, a);
    const int p2 = AddSolverPipe(*network, a, b);
    const int p3 = AddSolverPipe(*network, b, tank);
    network->GetPipe(p1).PumpCount = 1;
    network->GetPipe(p1).FlowUncompressed_m3s = -0.1;
    network->GetPipe(p2).FlowUncompressed_m3s = 0.1;
    network->GetPipe(p3).FlowUncompressed_m3s = -0.2; // an ordinary pipe: left for the reversal step

    bool solved = true;
    TResultsLog log;
    network->CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, log);
    EXPECT_FALSE(solved);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{
                             "Found solution with negative flow in a pipe containing a pump: Not Allowed ",
                             "   Pipe 1 with a pump cannot be reversed.",
                             "   Consider using a pump that can generate additional fluid head (additional pressure)."}));
    EXPECT_EQ(network->HighlightPipeIdForNetworkFormTimer, 0);
    EXPECT_EQ(ui.EventPumps, 2);

    network->GetPipe(p1).FlowUncompressed_m3s = 0.1;
    solved = false;
    log.Clear();
    network->CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, log);
    EXPECT_TRUE(solved);
    EXPECT_TRUE(log.Lines.empty());
}

TEST(NegativeFlows, ReverseFlowThroughAPressureValveIsReported)
{
    for (TControlType type : {PRV, BPV}) {
        auto network = NewNetwork();
        const int tank = AddTank(*network, "T", 10);
        const int a = AddSolverNode(*network, "A", Joint);
        const int b = AddSolverNode(*network, "B", Joint);
        AddSolverPipe(*network, tank, a);
        const int valvePipe = AddSolverPipe(*network, a, b);
        AddValve(*network, valvePipe, type, 0, 2.5);
        network->RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
        const int controlPipe = network->NodeLinksFlowControl[1].ControlPipeId;
        network->GetPipe(controlPipe).FlowUncompressed_m3s = -0.01;
        bool solved = true;
        TResultsLog log;
        network->CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, log);
        EXPECT_FALSE(solved);
        if (type == PRV) {
            EXPECT_TRUE(Contains(log, "The pressure downstream of the PRV on pipe 2 is higher than the PRV pressure "
                                      "setting."));
            EXPECT_TRUE(Contains(log, "Remove the Pipe/PRV or increase the PRV pressure setting from 2.5000 bar.g."));
        } else {
            EXPECT_TRUE(Contains(log, "The pressure upstream of the BPV on pipe 2 is less than the BPV pressure "
                                      "setting."));
            EXPECT_TRUE(Contains(log, "Remove the Pipe/BPV or decrease the BPV pressure setting from 2.5000 bar.g."));
        }
        network->RestoreAllNodeLinksForPipesWithFlowControl(log);
    }
}

} // namespace
} // namespace tessaran
