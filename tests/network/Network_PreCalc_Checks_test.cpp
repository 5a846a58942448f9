#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaran {
namespace {

using test::AddJoint;
using test::NewNetwork;

int AddNode(TNetwork &network, TNodeType type, double elevation_m, int x = 0, int y = 0)
{
    TNode node;
    node.NodeType = type;
    node.Elevation_m = elevation_m;
    node.x = x;
    node.y = y;
    node.Name = "N";
    return network.AddNode(node);
}

int AddPipe(TNetwork &network, int from, int to, double length_m = 10, int zone = 1)
{
    TPipe pipe;
    pipe.Name = "P";
    pipe.Length_m = length_m;
    pipe.InnerDiameter_m = 0.1;
    pipe.FluidZoneIndex = zone;
    return network.AddPipeLink(from, to, pipe);
}

void MakeAllGas(TNetwork &network)
{
    for (int zone = 1; zone <= TNetwork::MaxFluidZones; ++zone)
        network.FluidZones[static_cast<std::size_t>(zone)].Fluid.FluidIsGas = true;
}

struct Verdict {
    bool ok = true;
    std::string message;
    int pipe = -1, node = -1;
};

Verdict Check(const TNetwork &network)
{
    Verdict v;
    network.IsNetworkOkToCalculate(v.ok, v.message, v.pipe, v.node);
    return v;
}

// Tank -> joint -> tank, every pipe 10 m: a network that may be calculated.
struct SimpleChain {
    SimpleChain()
    {
        tank = AddNode(*network, Tank, 0);
        joint = AddNode(*network, Joint, 0, 100, 0);
        end = AddNode(*network, Tank, 0, 200, 0);
        first = AddPipe(*network, tank, joint);
        second = AddPipe(*network, joint, end);
    }
    std::unique_ptr<TNetwork> network = NewNetwork();
    int tank, joint, end, first, second;
};

TEST(NetworkOkToCalculate, ASoundNetworkPassesAndAnEmptyOneFailsWithoutZoom)
{
    SimpleChain chain;
    const Verdict sound = Check(*chain.network);
    EXPECT_TRUE(sound.ok);
    EXPECT_EQ(sound.message, "");
    EXPECT_EQ(sound.pipe, 0);
    EXPECT_EQ(sound.node, 0);

    const Verdict empty = Check(*NewNetwork());
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.message, "Not enough of Network defined to run calculations.");
    EXPECT_EQ(empty.pipe, 0);
    EXPECT_EQ(empty.node, 0);
}

TEST(NetworkOkToCalculate, TheLastFailureIsReportedAndZoomedTo)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    network.GetPipe(chain.first).Length_m = 0;
    const Verdict zero = Check(network);
    EXPECT_FALSE(zero.ok);
    EXPECT_EQ(zero.message, "Pipe " + std::to_string(chain.first) +
                                ", P, has zero length, which is not allowed.\r\rPlease remove this pipe or amend its "
                                "length to a non-zero value.");
    EXPECT_EQ(zero.pipe, chain.first);
    EXPECT_EQ(zero.node, 0);

    // An isolated pipe later in link order wins.
    const int a = AddNode(network, Joint, 0, 0, 300);
    const int b = AddNode(network, Joint, 0, 100, 300);
    const int isolated = AddPipe(network, a, b);
    const Verdict last = Check(network);
    EXPECT_FALSE(last.ok);
    EXPECT_EQ(last.message, "Pipe " + std::to_string(isolated) +
                                ", P, is isolated.\r\rIt is not connected to any other part of the system.\r\rPlease "
                                "remove this pipe or connect it into the system.");
    EXPECT_EQ(last.pipe, isolated);
}

TEST(NetworkOkToCalculate, ACustomCompressibilityFactorMustLieBetweenHalfAndOnePointOne)
{
    struct Case {
        double z;
        bool ok;
    };
    for (const Case c : {Case{0.5, true}, Case{1.1, true}, Case{0.49, false}, Case{1.11, false}}) {
        SimpleChain chain;
        TNetwork &network = *chain.network;
        MakeAllGas(network);
        network.ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
        network.ConfigOptions.ZCompressibilityModel = CustomZModel;
        network.ConfigOptions.ZCompressibilityFactor = c.z;
        const Verdict v = Check(network);
        EXPECT_EQ(v.ok, c.ok) << c.z;
        if (c.z == 0.49)
            EXPECT_EQ(v.message, "Invalid value for Z Compressibility Factor\r\rZ Compressibility Factor = "
                                 "0.49\r\rValid range for Z is 0.5 to 1.1");
        // Other models and incompressible methods do not look at the factor.
        network.ConfigOptions.ZCompressibilityModel = IdealGasLawModel;
        EXPECT_TRUE(Check(network).ok);
    }
}

TEST(NetworkOkToCalculate, AFlowControlValveNeedsASetFlowInItsOwnFlowType)
{
    struct Case {
        TFlowType type;
        double m3s, kgs, scmh;
        int count;
        bool ok;
    };
    for (const Case c : {Case{MassFlow, 1, 0, 1, 1, false}, Case{MassFlow, 0, 2, 0, 1, true},
                         Case{VolumeFlow, 0, 2, 2, 1, false}, Case{GasFlow, 1, 1, -1, 1, false},
                         Case{MassFlow, 1, 0, 1, 2, true}}) {
        SimpleChain chain;
        TPipe &pipe = chain.network->GetPipe(chain.first);
        pipe.FlowControlCount = c.count;
        pipe.FlowControl.ControlType = FCV;
        pipe.FlowControl.FlowControlFlowType = c.type;
        pipe.FlowControl.FlowControl_m3s = c.m3s;
        pipe.FlowControl.FlowControl_kgs = c.kgs;
        pipe.FlowControl.FlowControl_SCMH = c.scmh;
        const Verdict v = Check(*chain.network);
        EXPECT_EQ(v.ok, c.ok) << int(c.type) << " " << c.count;
        if (!c.ok)
            EXPECT_EQ(v.message, "Pipe " + std::to_string(chain.first) +
                                     ", P, has a Flow Control Valve (FCV) with a set flow rate of zero, which is not "
                                     "allowed.\r\rPlease update the FCV flow rate to a non-zero value.");
    }
}

TEST(NetworkOkToCalculate, PressureValvesNeedJointsOnTheirControlledSide)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    TPipe &last = network.GetPipe(chain.second);
    last.FlowControlCount = 1;
    last.FlowControl.ControlType = PRV;
    Verdict v = Check(network);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.message, "Pipe " + std::to_string(chain.second) +
                             ", P, contains a PRV.\r\rThe node immediately after a PRV cannot be a tank or end "
                             "pressure.\r\rPlease remove the PRV or change the node after the PRV to be a join point "
                             "node.");
    last.FlowControlUseInCalc = false;
    EXPECT_TRUE(Check(network).ok) << "a valve not in use is not checked";

    TPipe &firstPipe = network.GetPipe(chain.first);
    firstPipe.FlowControlCount = 1;
    firstPipe.FlowControl.ControlType = BPV;
    v = Check(network);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.pipe, chain.first);
    EXPECT_NE(v.message.find("contains a BPV."), std::string::npos);
}

TEST(NetworkOkToCalculate, CompressibleMethodsWantPressureUnitsForPumpsAndComponents)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    MakeAllGas(network);
    network.ConfigOptions.MethodOfSolution = CompressibleNodeAdjust;
    TPipe &pipe = network.GetPipe(chain.first);
    pipe.PumpCount = 1;
    pipe.Pump.PumpType = PumpFixedHead;
    pipe.Pump.SetFixedHead_Stored_mH2O = false;
    Verdict v = Check(network);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.message.rfind("Pipe " + std::to_string(chain.first) +
                                  ", P, contains a pump representing a compressor/blower.\r\r",
                              0),
              0u);
    EXPECT_TRUE(v.message.ends_with("(such as bar or psi).\r"));
    pipe.Pump.SetFixedHead_Stored_mH2O = true;
    EXPECT_TRUE(Check(network).ok);

    // A pump and a component on one gas pipe.
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.PressureType = ComponentPressureCv;
    v = Check(network);
    EXPECT_NE(v.message.find("includes both a Pump and a Component."), std::string::npos);
    pipe.PumpCount = 0;
    pipe.ComponentPressure.PressureType = ComponentPressureCurve;
    pipe.ComponentPressure.SetPressureLoss_Stored_mH2O = false;
    v = Check(network);
    EXPECT_NE(v.message.find("contains a component with pressure loss defined in fluid head."), std::string::npos);
}

TEST(NetworkOkToCalculate, TanksAndDemandJointsJoinPipesOfOneFluidZone)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    network.FluidZonesCount = 2;
    network.GetPipe(chain.second).FluidZoneIndex = 2;
    // A plain joint may join zones.
    EXPECT_TRUE(Check(network).ok);

    network.GetNode(chain.joint).JointDemandUseFlowType = MassFlow;
    network.GetNode(chain.joint).JointDischarge_kgs = 1;
    const Verdict v = Check(network);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.node, chain.joint);
    EXPECT_EQ(v.pipe, 0);
    EXPECT_EQ(v.message, "Node " + std::to_string(chain.joint) +
                             ", N, has connecting pipes with different Fluid Zones.\r\rAll pipes connecting to a node "
                             "with a demand in / out flow must have the same fluid,\rsince this determines the demand "
                             "flow fluid properties.\r\rPlease change the connecting pipes so that they have the same "
                             "fluid zone.");

    // A demand in another flow type does not count.
    network.GetNode(chain.joint).JointDemandUseFlowType = VolumeFlow;
    EXPECT_TRUE(Check(network).ok);

    // A fixed-flow pump next to a joint of two zones.
    network.GetPipe(chain.first).PumpCount = 1;
    network.GetPipe(chain.first).Pump.PumpType = PumpFixedFlow;
    const Verdict pump = Check(network);
    EXPECT_FALSE(pump.ok);
    EXPECT_EQ(pump.node, chain.joint);
    EXPECT_EQ(pump.message.rfind("Node " + std::to_string(chain.joint) +
                                     ", N, connects pipes within different Fluid Zones.\r\r",
                                 0),
              0u);
}

TEST(NetworkOkToCalculate, PipesLeavingAJointShareTheirZone)
{
    auto network = NewNetwork();
    const int j = AddNode(*network, Joint, 0);
    AddPipe(*network, AddNode(*network, Tank, 0, 0, 100), j);
    AddPipe(*network, j, AddNode(*network, Tank, 0, 100, 0), 10, 1);
    AddPipe(*network, j, AddNode(*network, Tank, 0, 200, 0), 10, 2);
    const Verdict v = Check(*network);
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.message, "Node " + std::to_string(j) +
                             ", N, has out flow pipes with different Fluid Zones.\r\rAll pipes leaving a node must "
                             "have the same fluid.\r");

    bool ok = true;
    std::string message = "stale";
    network->CheckNodeAllInPipesSameFluidZone(j, ok, message);
    EXPECT_TRUE(ok);
    EXPECT_EQ(message, "");
}

TEST(NetworkPipeLengths, PipesShorterThanTheirRiseAreFoundOneAtATime)
{
    auto network = NewNetwork();
    const int low = AddNode(*network, Tank, 0);
    const int high = AddNode(*network, Joint, 10);
    const int higher = AddNode(*network, Joint, 20);
    const int ok = AddPipe(*network, low, high, 9.9995);
    const int shortOne = AddPipe(*network, high, low, 9.9);
    const int shortTwo = AddPipe(*network, low, higher, 5);
    (void)ok;

    std::vector<int> found;
    bool networkOk = true;
    std::string message;
    int zoom = 0, position = 0;
    for (int from = 1;; from = position + 1) {
        network->IsNetworkOkForPipeLengths(from, networkOk, message, zoom, position);
        if (networkOk)
            break;
        found.push_back(zoom);
        if (found.size() == 1)
            EXPECT_EQ(message, "Pipe " + std::to_string(shortOne) +
                                   ", P, Length (9.9000 m) is less than the change in elevation (10.0000 m) between "
                                   "the start and end nodes.");
    }
    EXPECT_EQ(found, (std::vector<int>{shortOne, shortTwo}));
    EXPECT_EQ(zoom, 0);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(message, "");

    TResultsLog log;
    network->CheckPipeLengthsVersusElevationChange(networkOk, log);
    EXPECT_TRUE(networkOk);
    ASSERT_EQ(log.Count(), 5);
    EXPECT_EQ(log[1], "Some pipe lengths are less than the change in elevation between start and end of pipe:");
    EXPECT_EQ(log[3], "Pipe " + std::to_string(shortOne) +
                          ", P, Length (9.9000 m) is less than change in elevation (10.0000 m)");

    double oldLength = 0, newLength = 0;
    network->UpdatePipeLengthToDiffInStartEndElevation(shortTwo, oldLength, newLength);
    EXPECT_EQ(oldLength, 5);
    EXPECT_EQ(newLength, 20);
    EXPECT_EQ(network->GetPipe(shortTwo).Length_m, 20);
}

TEST(NetworkPipeLengths, VeryShortPipesDependOnTheKindOfFluid)
{
    for (bool gas : {false, true}) {
        SimpleChain chain;
        TNetwork &network = *chain.network;
        test::TScriptedUserInterface ui;
        network.UserInterface = &ui;
        if (gas)
            MakeAllGas(network);
        network.GetPipe(chain.first).Length_m = 0.04;
        network.GetPipe(chain.second).Length_m = 0.009;
        TResultsLog log;
        bool ok = true;
        network.CheckShortPipeLengths(ok, log);
        EXPECT_FALSE(ok);
        EXPECT_EQ(network.WarningCount, 1);
        const std::string minimum = gas ? "0.050 m" : "0.010 m";
        std::vector<std::string> expected;
        if (gas)
            expected.push_back("Pipe " + std::to_string(chain.first) + ", P, Length is very short (0.0400 m)");
        expected.insert(expected.end(),
                        {"Pipe " + std::to_string(chain.second) + ", P, Length is very short (0.0090 m)", " ",
                         ">>> Warning:",
                         "Systems that contain pipes with very short lengths can make it difficult to converge to an "
                         "accurate solution.",
                         "If the system cannot be solved, consider changing the pipe lengths so that they are set to "
                         "at least " +
                             minimum,
                         " "});
        EXPECT_EQ(log.Lines, expected);
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Kind, TMessageKind::Information);
        EXPECT_EQ(ui.Messages[0].Text,
                  "This system contains pipes with very short lengths\r(less than " + minimum +
                      ")\r\rVery short pipe lengths can make it difficult to converge to an accurate solution.\r\rThe "
                      "very short pipes will be listed in the log.\r\rWe recommend updating and increasing the length "
                      "of these pipes to at least " +
                      minimum);

        // Generating test results: the log only.
        ui.TestResults = 1;
        network.CheckShortPipeLengths(ok, log);
        EXPECT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(network.WarningCount, 2);
    }
    SimpleChain fine;
    TResultsLog log;
    bool ok = false;
    fine.network->CheckShortPipeLengths(ok, log);
    EXPECT_TRUE(ok);
    EXPECT_EQ(log.Count(), 0);
}

TEST(NetworkFixUps, PumpsMoveToTheStartOfTheirPipes)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    test::TScriptedUserInterface ui;
    network.UserInterface = &ui;
    network.GetNode(chain.tank).Elevation_m = 2;
    network.GetNode(chain.joint).Elevation_m = 5;
    TPipe &along = network.GetPipe(chain.first);
    along.PumpCount = 1;
    along.PumpElevation_m = 2;
    along.PumpDistanceFromStartOfPipe_m = 3;
    along.PumpPositionPercentageAlongPipe = 30;
    TPipe &raised = network.GetPipe(chain.second);
    raised.PumpCount = 1;
    raised.PumpElevation_m = 7.5;
    raised.PumpDistanceFromStartOfPipe_m = 1;

    TResultsLog log;
    network.CheckAndSetPumpsAtStartOfPipe(log);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{
                             " ", "Pipe " + std::to_string(chain.first) + ": Positioned at start of pipe (was 3.000m along pipe)",
                             "Pipe " + std::to_string(chain.second) +
                                 ": Pump elevation set to 5.000m (was 7.500m). Positioned at start of pipe (was 1.000m "
                                 "along pipe)",
                             " "}));
    EXPECT_EQ(along.PumpDistanceFromStartOfPipe_m, 0);
    EXPECT_EQ(along.PumpPositionPercentageAlongPipe, 0);
    EXPECT_EQ(raised.PumpElevation_m, 5);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Kind, TMessageKind::Warning);
    EXPECT_EQ(ui.Messages[0].Text, "Pumps must be positioned at the start of the pipe.\r\rPump elevations and positions "
                                   "have been updated to match the start of pipe conditions. \r\rPlease review the Log "
                                   "for further information");

    // Nothing out of place: nothing logged or shown.
    TResultsLog again;
    network.CheckAndSetPumpsAtStartOfPipe(again);
    EXPECT_EQ(again.Count(), 0);
    EXPECT_EQ(ui.Messages.size(), 1u);

    // Only the percentage set: an empty line.
    along.PumpPositionPercentageAlongPipe = 10;
    network.CheckAndSetPumpsAtStartOfPipe(again);
    EXPECT_EQ(again.Lines, (std::vector<std::string>{" ", "", " "}));
}

TEST(NetworkFixUps, GasComponentsMoveToNinetyPerCent)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    test::TScriptedUserInterface ui;
    network.UserInterface = &ui;
    for (int id : {chain.first, chain.second}) {
        network.GetPipe(id).ComponentPressureCount = 1;
        network.GetPipe(id).ComponentPressurePositionPercentageAlongPipe = id == chain.first ? 89.9 : 90;
    }
    TResultsLog log;
    network.CheckAndSetComponentsAtEndOfPipe(log);
    EXPECT_EQ(log.Count(), 0) << "liquid, incompressible: nothing to do";

    MakeAllGas(network);
    network.CheckAndSetComponentsAtEndOfPipe(log);
    EXPECT_EQ(network.GetPipe(chain.first).ComponentPressurePositionPercentageAlongPipe, 90);
    EXPECT_EQ(network.GetPipe(chain.second).ComponentPressurePositionPercentageAlongPipe, 90);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{
                             "Pipe " + std::to_string(chain.first) + ": Component position set to end of pipe", " "}));
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text.rfind("For Gas Systems:\r\rComponents must be positioned at the end of the pipe.", 0),
              0u);
}

TEST(NetworkFixUps, GasFlowControlValvesMoveCloseToTheEndOfTheirDrawnPipe)
{
    struct Case {
        int drawnLength;
        double position, expected;
    };
    // A pipe drawn 260 units long allows 90 % and more.
    for (const Case c : {Case{260, 90, 90}, Case{260, 89, 98}, Case{20, 0, 0}, Case{0, 10, 10}}) {
        auto network = NewNetwork();
        test::TScriptedUserInterface ui;
        network->UserInterface = &ui;
        MakeAllGas(*network);
        const int a = AddNode(*network, Joint, 0, 100, 100);
        const int b = AddNode(*network, Joint, 0, 100, 100 + c.drawnLength);
        const int pipe = AddPipe(*network, a, b);
        network->GetPipe(pipe).FlowControlCount = 1;
        network->GetPipe(pipe).FlowControl.ControlType = FCV;
        network->GetPipe(pipe).FlowControlPositionPercentageAlongPipe = c.position;
        TResultsLog log;
        network->CheckAndSetFCVsAtEndOfPipe(log);
        EXPECT_EQ(network->GetPipe(pipe).FlowControlPositionPercentageAlongPipe, c.expected) << c.drawnLength;
        const bool moved = c.expected != c.position;
        EXPECT_EQ(ui.Messages.size(), moved ? 1u : 0u);
        if (moved)
            EXPECT_EQ(log.Lines, (std::vector<std::string>{
                                     "Pipe " + std::to_string(pipe) + ": FCV position set to end of pipe", " "}));
    }
}

TEST(NetworkVolumeFlows, CompressorsWithVolumeFlowsAreExplainedOnce)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    test::TScriptedUserInterface ui;
    network.UserInterface = &ui;
    MakeAllGas(network);
    network.FluidZonesCount = 2;
    network.ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
    TFluid &compressed = network.FluidZones[1].Fluid;
    compressed.density_kgs_m3 = 5;
    compressed.pressure_bar_g = 3;
    network.FluidZones[2].Fluid.pressure_bar_g = 0;
    network.FluidZones[2].Fluid.density_kgs_m3 = 1.2;
    for (int id : {chain.first, chain.second}) {
        TPipe &pipe = network.GetPipe(id);
        pipe.Name = id == chain.first ? "Blower" : "Fan";
        pipe.PumpCount = 1;
        pipe.Pump.PumpType = PumpFixedFlow;
        pipe.Pump.SetFlowRateDisplayUnit = unt_m3_sec;
    }
    network.GetPipe(chain.second).FluidZoneIndex = 2;

    TResultsLog log;
    network.CheckPumpsVolumeFlowRate(log);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{
                             "Blower,  compressor flow specified in volume at compressed density (5.000000 kg/m³ @ 3.0000 "
                             "bar.g)",
                             " ", " "}))
        << "a standard-density pump after a reported one is not logged";
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_NE(ui.Messages[0].Text.find("E.g. Pipe " + std::to_string(chain.first) + ", Blower, contains such a compressor."),
              std::string::npos);
    EXPECT_TRUE(ui.Messages[0].Text.ends_with("atmospheric conditions.\r")) << "no note for a set flow";

    // Mass flows need no explanation; under test results nothing happens.
    network.GetPipe(chain.first).Pump.SetFlowRateDisplayUnit = unt_kg_sec;
    TResultsLog standard;
    network.CheckPumpsVolumeFlowRate(standard);
    EXPECT_EQ(standard[0], "Fan,  compressor flow specified in volume at standard gas density (1.200000 kg/m³ @ 0.0000 bar.g)");
    ui.TestResults = 1;
    TResultsLog quiet;
    network.CheckPumpsVolumeFlowRate(quiet);
    EXPECT_EQ(quiet.Count(), 0);
}

TEST(NetworkVolumeFlows, ComponentCurvesInVolumeFlowAreExplained)
{
    SimpleChain chain;
    TNetwork &network = *chain.network;
    test::TScriptedUserInterface ui;
    network.UserInterface = &ui;
    network.ConfigOptions.MethodOfSolution = CompressibleNodeAdjust;
    network.FluidZones[1].Fluid.pressure_bar_g = 0;
    TPipe &pipe = network.GetPipe(chain.first);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.PressureType = ComponentPressureCurve;
    pipe.ComponentPressure.CurvePoints.FlowDisplayUnit = unt_m3_sec;
    TResultsLog log;
    network.CheckComponentsVolumeFlowRate(log);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text,
              "Components =>\r\rThis system contains at least one component where the flow rate is defined in volume "
              "at standard atmospheric conditions.\r\rNote: \rThe performance curve must define the pressure loss that "
              "occurs through the component at its operating pressure condition within the system.\r");
    EXPECT_EQ(log.Count(), 3);

    network.ConfigOptions.MethodOfSolution = LinearTheoryThenNewton;
    TResultsLog none;
    network.CheckComponentsVolumeFlowRate(none);
    EXPECT_EQ(none.Count(), 0);
}

} // namespace
} // namespace tessaran
