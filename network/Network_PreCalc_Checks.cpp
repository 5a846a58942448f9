// Checks of a drawn network before its calculation: whether it may be
// calculated at all, pipes shorter than their rise, very short pipes, and
// the fix-ups that move pumps, components and flow-control valves to the
// places the solver expects. Questions are the user interface's; a few
// checks show a message box of their own after they logged or repaired.

#include "network/Network_Class.h"

#include "units/Unit_Format.h"

#include <cmath>
#include <utility>
#include <vector>

namespace tessaran {

namespace {

const std::string CR = "\r";
const std::string CR2 = "\r\r";

const std::string NoPressureReferenceMessage =
    "The network has neither a Tank nor an End Pressure node." + CR2 +
    "Flows and pressures can only be found from a known pressure: please add a tank or end pressure node.";

std::string PipeText(int pipeId, const TPipe &pipe) { return "Pipe " + std::to_string(pipeId) + ", " + pipe.Name + ", "; }

std::string NodeText(int nodeId, const TNode &node) { return "Node " + std::to_string(nodeId) + ", " + node.Name + ", "; }

bool PumpInUse(const TPipe &pipe) { return pipe.PumpCount > 0 && pipe.PumpUseInCalc; }
bool ComponentInUse(const TPipe &pipe) { return pipe.ComponentPressureCount > 0 && pipe.ComponentPressureUseInCalc; }
bool ControlInUse(const TPipe &pipe, TControlType type)
{
    return pipe.FlowControlCount > 0 && pipe.FlowControlUseInCalc && pipe.FlowControl.ControlType == type;
}

std::pair<double, double> JointDemand(const TNode &node);

// A joint's demand in its own flow type.
bool JointHasDemand(const TNode &node)
{
    const auto [supply, discharge] = JointDemand(node);
    return supply != 0 || discharge != 0;
}

// A joint's demand flows in its own flow type, supply then discharge.
std::pair<double, double> JointDemand(const TNode &node)
{
    switch (node.JointDemandUseFlowType) {
    case MassFlow:
        return {node.JointSupply_kgs, node.JointDischarge_kgs};
    case GasFlow:
        return {node.JointSupply_SCMH, node.JointDischarge_SCMH};
    case VolumeFlow:
    default:
        return {node.JointSupply_m3s, node.JointDischarge_m3s};
    }
}

TUnit JointDemandUnit(const TNode &node)
{
    switch (node.JointDemandUseFlowType) {
    case MassFlow:
        return unt_kg_sec;
    case GasFlow:
        return unt_SCMH;
    case VolumeFlow:
    default:
        return unt_m3_sec;
    }
}

bool IsPositive(double value) { return std::isfinite(value) && value > 0; }

double FlowControlSetFlow(const TFlowControl &control)
{
    switch (control.FlowControlFlowType) {
    case MassFlow:
        return control.FlowControl_kgs;
    case GasFlow:
        return control.FlowControl_SCMH;
    case VolumeFlow:
    default:
        return control.FlowControl_m3s;
    }
}

} // namespace

// --- Validity ------------------------------------------------------------------------------

void TNetwork::IsNetworkOkToCalculate(bool &NetworkOk, std::string &MessageString, int &ZoomToPipeId,
                                      int &ZoomToNodeId) const
{
    NetworkOk = true;
    MessageString.clear();
    ZoomToPipeId = 0;
    ZoomToNodeId = 0;
    // Every rule runs; the last failure found is the one reported.
    auto fail = [&](const std::string &message, int pipeId, int nodeId) {
        NetworkOk = false;
        MessageString = message;
        ZoomToPipeId = pipeId;
        ZoomToNodeId = nodeId;
    };

    if (NodeLinksCount == 0 || NodeSet.NumberOfNodesUsed() == 0)
        fail("Not enough of Network defined to run calculations.", 0, 0);

    const bool allGas = IsAllGasSystem();
    const bool compressible = ConfigOptions.IsMethodOfSolutionCompressibleEngine();
    if (allGas && compressible && ConfigOptions.ZCompressibilityModel == CustomZModel) {
        const double z = ConfigOptions.ZCompressibilityFactor;
        if (z < 0.5 || z > 1.1)
            fail("Invalid value for Z Compressibility Factor" + CR2 + "Z Compressibility Factor = " + formatFixed(2, z) +
                     CR2 + "Valid range for Z is " + formatFixed(1, 0.5) + " to " + formatFixed(1, 1.1),
                 0, 0);
    }

    // Without a tank or end pressure node no pressure is known to start from.
    bool pressureReference = false;
    for (int nodeId = GetNextNodeId(0); nodeId > 0 && !pressureReference; nodeId = GetNextNodeId(nodeId))
        pressureReference = GetNode(nodeId).NodeType == Tank || GetNode(nodeId).NodeType == EndPressure;
    if (NodeLinksCount > 0 && !pressureReference)
        fail(NoPressureReferenceMessage, 0, 0);

    const TConfigOptions &options = ConfigOptions;
    auto valueText = [](TUnit unit, TUnit shown, double value) {
        return convertAndFormatDecimals(unit, shown, unitDecimals(shown), value) + " " + unitName(shown);
    };
    std::vector<bool> zoneChecked(static_cast<std::size_t>(MaxFluidZones) + 1, false);
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        const std::string pipeText = PipeText(link.PipeId, pipe);
        const int zone = pipe.FluidZoneIndex;
        if (zone >= 1 && zone <= MaxFluidZones && !zoneChecked[static_cast<std::size_t>(zone)]) {
            zoneChecked[static_cast<std::size_t>(zone)] = true;
            const TFluid &fluid = FluidZones[static_cast<std::size_t>(zone)].Fluid;
            const std::string zoneText = "Fluid Zone " + std::to_string(zone) + ", " + fluid.name + ", ";
            if (!IsPositive(fluid.density_kgs_m3))
                fail(zoneText + "has a density of " + valueText(unt_kg_m3, options.UnitOfDensity, fluid.density_kgs_m3) +
                         ", which is not allowed." + CR2 + "Please amend the fluid density to a positive value.",
                     link.PipeId, 0);
            if (!IsPositive(fluid.centipoise))
                fail(zoneText + "has a viscosity of " + formatFixed(4, fluid.centipoise) + " cP" +
                         ", which is not allowed." + CR2 + "Please amend the fluid viscosity to a positive value.",
                     link.PipeId, 0);
        }
        if (pipe.Length_m == 0)
            fail(pipeText + "has zero length, which is not allowed." + CR2 +
                     "Please remove this pipe or amend its length to a non-zero value.",
                 link.PipeId, 0);
        else if (!IsPositive(pipe.Length_m))
            fail(pipeText + "has a length of " + valueText(unt_m, options.UnitOfLength, pipe.Length_m) +
                     ", which is not allowed." + CR2 + "Please amend its length to a positive value.",
                 link.PipeId, 0);
        if (!IsPositive(pipe.InnerDiameter_m))
            fail(pipeText + "has an inner diameter of " +
                     valueText(unt_m, options.UnitOfDiameter, pipe.InnerDiameter_m) + ", which is not allowed." +
                     CR2 + "Please amend its inner diameter to a positive value.",
                 link.PipeId, 0);
        if (!std::isfinite(pipe.InnerRoughness_m) || pipe.InnerRoughness_m < 0)
            fail(pipeText + "has an inner roughness of " +
                     valueText(unt_m, options.UnitOfRoughness, pipe.InnerRoughness_m) + ", which is not allowed." +
                     CR2 + "Please amend its inner roughness to zero or a positive value.",
                 link.PipeId, 0);
        else if (IsPositive(pipe.InnerDiameter_m) && pipe.InnerRoughness_m >= pipe.InnerDiameter_m)
            fail(pipeText + "has an inner roughness of " +
                     valueText(unt_m, options.UnitOfRoughness, pipe.InnerRoughness_m) +
                     ", which is not less than its inner diameter (" +
                     valueText(unt_m, options.UnitOfDiameter, pipe.InnerDiameter_m) + ")." + CR2 +
                     "Please amend its inner roughness or inner diameter.",
                 link.PipeId, 0);
        if (pipe.FlowControlCount == 1 && ControlInUse(pipe, FCV) && !(FlowControlSetFlow(pipe.FlowControl) > 0))
            fail(pipeText + "has a Flow Control Valve (FCV) with a set flow rate of zero, which is not allowed." + CR2 +
                     "Please update the FCV flow rate to a non-zero value.",
                 link.PipeId, 0);
        if (pipe.PumpCount > 0 && pipe.ComponentPressureCount > 0 && allGas)
            fail(pipeText + "includes both a Pump and a Component." + CR2 +
                     "For gas systems, a single pipe may only include either a pump or a component." + CR2 +
                     "To include both a Pump and a Component, split the pipe in to 2 pipes, and add the Pump and the "
                     "Component on to separate pipes.",
                 link.PipeId, 0);
        if (ControlInUse(pipe, PRV) && GetNode(link.ToNodeId).NodeType != Joint)
            fail(pipeText + "contains a PRV." + CR2 +
                     "The node immediately after a PRV cannot be a tank or end pressure." + CR2 +
                     "Please remove the PRV or change the node after the PRV to be a join point node.",
                 link.PipeId, 0);
        if (ControlInUse(pipe, BPV) && GetNode(link.FromNodeId).NodeType != Joint)
            fail(pipeText + "contains a BPV." + CR2 +
                     "The node immediately before a BPV cannot be a tank or end pressure." + CR2 +
                     "Please remove the BPV or change the node before the BPV to be a join point node.",
                 link.PipeId, 0);
        if (compressible && PumpInUse(pipe) && pipe.Pump.PumpType != PumpFixedFlow &&
            ((pipe.Pump.PumpType == PumpFixedSpeed && !pipe.Pump.PumpPoints.SetHead_Stored_mH2O) ||
             (pipe.Pump.PumpType == PumpFixedHead && !pipe.Pump.SetFixedHead_Stored_mH2O)))
            fail(pipeText + "contains a pump representing a compressor/blower." + CR2 +
                     "When calculating a system with Compressible Flow, " +
                     "the pump head units MUST be defined in terms of an absolute pressure unit (such as bar or psi) " +
                     "and cannot be defined in terms of relative pressure units such as fluid head (which would refer "
                     "to a height of gas)." +
                     CR2 + "The pipe with the pump on will now be selected. " + CR2 +
                     "Please update the pump to specify the head data in absolute units of pressure (such as bar or "
                     "psi)." +
                     CR,
                 link.PipeId, 0);
        if (compressible && ComponentInUse(pipe) &&
            (pipe.ComponentPressure.PressureType == ComponentPressureFixed ||
             pipe.ComponentPressure.PressureType == ComponentPressureCurve) &&
            !pipe.ComponentPressure.SetPressureLoss_Stored_mH2O)
            fail(pipeText + "contains a component with pressure loss defined in fluid head." + CR2 +
                     "When calculating a system with Compressible Flow, " +
                     "the component pressure loss units MUST be defined in terms of an absolute pressure unit (such as "
                     "bar or psi) " +
                     "and cannot be defined in terms of relative pressure units such as fluid head (which would refer "
                     "to a height of gas)." +
                     CR2 +
                     "Please update the component to specify the pressure loss data in absolute units such as bar or "
                     "psi." +
                     CR,
                 link.PipeId, 0);
    }

    const auto flowPipes = CountOutAndInFlowPipesByNode();
    const auto outAndIn = [&flowPipes](int nodeId) {
        const auto linked = flowPipes.find(nodeId);
        return linked == flowPipes.end() ? std::pair<int, int>{0, 0} : linked->second;
    };
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        if (GetNode(link.FromNodeId).NodeType != Joint || GetNode(link.ToNodeId).NodeType != Joint)
            continue;
        if (outAndIn(link.FromNodeId) == std::pair<int, int>{1, 0} && outAndIn(link.ToNodeId) == std::pair<int, int>{0, 1})
            fail(PipeText(link.PipeId, GetPipe(link.PipeId)) + "is isolated." + CR2 +
                     "It is not connected to any other part of the system." + CR2 +
                     "Please remove this pipe or connect it into the system.",
                 link.PipeId, 0);
    }

    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode &node = GetNode(nodeId);
        const std::string nodeText = NodeText(nodeId, node);
        if (node.NodeType == Joint) {
            const auto [supply, discharge] = JointDemand(node);
            const TUnit unit = JointDemandUnit(node);
            for (const auto &[flow, what] : {std::pair{supply, "demand in flow"}, {discharge, "demand out flow"}})
                if (!std::isfinite(flow))
                    fail(nodeText + "has a " + what + " of " + formatFixed(unitDecimals(unit), flow) + " " +
                             unitName(unit) + ", which is not allowed." + CR2 +
                             "Please amend the demand flow to a number.",
                         0, nodeId);
            if (JointHasDemand(node) && outAndIn(nodeId) == std::pair<int, int>{0, 0})
                fail(nodeText + "has a demand flow but no pipe connects to it." + CR2 +
                         "Please connect the node into the system or remove its demand flow.",
                     0, nodeId);
        }
        const bool tankOrEndPressure = node.NodeType == Tank || node.NodeType == EndPressure;
        if (tankOrEndPressure || (node.NodeType == Joint && JointHasDemand(node))) {
            int zone = 0;
            for (int i = 1; i <= NodeLinksCount; ++i) {
                const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
                if (link.FromNodeId != nodeId && link.ToNodeId != nodeId)
                    continue;
                const int linkZone = GetPipe(link.PipeId).FluidZoneIndex;
                if (zone == 0)
                    zone = linkZone;
                else if (linkZone != zone)
                    fail(nodeText + "has connecting pipes with different Fluid Zones." + CR2 +
                             (tankOrEndPressure ? "All pipes connecting to a tank must have the same fluid," + CR +
                                                      "since this determines the fluid in the tank."
                                                : "All pipes connecting to a node with a demand in / out flow must "
                                                  "have the same fluid," +
                                                      CR + "since this determines the demand flow fluid properties.") +
                             CR2 + "Please change the connecting pipes so that they have the same fluid zone.",
                         0, nodeId);
            }
        }
        if (node.NodeType != Joint)
            continue;
        int outZone = 0;
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
            if (link.FromNodeId != nodeId)
                continue;
            const int linkZone = GetPipe(link.PipeId).FluidZoneIndex;
            if (outZone == 0)
                outZone = linkZone;
            else if (linkZone != outZone)
                fail(nodeText + "has out flow pipes with different Fluid Zones." + CR2 +
                         "All pipes leaving a node must have the same fluid." + CR,
                     0, nodeId);
        }
        for (int i = 1; i <= NodeLinksCount && NetworkOk; ++i) {
            const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
            if (link.FromNodeId != nodeId && link.ToNodeId != nodeId)
                continue;
            const TPipe &pipe = GetPipe(link.PipeId);
            std::string message;
            if (pipe.PumpCount > 0 && pipe.Pump.PumpType == PumpFixedFlow) {
                CheckNodeAllPipesSameFluidZone(nodeId, NetworkOk, message);
                if (!NetworkOk)
                    fail(message, 0, nodeId);
            }
            if (NetworkOk && pipe.FlowControlCount > 0 && pipe.FlowControl.ControlType == FCV) {
                CheckNodeAllPipesSameFluidZone(nodeId, NetworkOk, message);
                if (!NetworkOk)
                    fail(message, 0, nodeId);
            }
        }
    }
}

void TNetwork::CheckNodeAllPipesSameFluidZone(int NodeId, bool &NetworkOk, std::string &MessageString) const
{
    MessageString.clear();
    NetworkOk = true;
    int zone = 0;
    for (int i = 1; i <= NodeLinksCount && NetworkOk; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        if (link.FromNodeId != NodeId && link.ToNodeId != NodeId)
            continue;
        const int linkZone = GetPipe(link.PipeId).FluidZoneIndex;
        if (zone == 0)
            zone = linkZone;
        else if (linkZone != zone)
            NetworkOk = false;
    }
    if (NetworkOk)
        return;
    MessageString = NodeText(NodeId, GetNode(NodeId)) + "connects pipes within different Fluid Zones." + CR2 +
                    "This is not allowed when the node meets any of the following criteria:" + CR2 +
                    "  a) the node joins to a pipe that contains a flow control or" + CR +
                    "  b) the node joins to a pipe that contains a fixed flow rate pump or" + CR +
                    "  c) the node has a demand flow out of the node " + CR2 +
                    "Please re-draw your system so that the node which connects pipes from" + CR +
                    "different fluid zones does not match any of the criteria above." + CR2 +
                    "This can often be achieved by introducing an additional node in to the system" + CR +
                    "so that this node is not connected to any 'problem' pipe or demand flow.";
}

void TNetwork::CheckNodeAllInPipesSameFluidZone(int NodeId, bool &NetworkOk, std::string &MessageString) const
{
    MessageString.clear();
    NetworkOk = true;
    int zone = 0;
    for (int i = 1; i <= NodeLinksCount && NetworkOk; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        if (link.ToNodeId != NodeId)
            continue;
        const int linkZone = GetPipe(link.PipeId).FluidZoneIndex;
        if (zone == 0)
            zone = linkZone;
        else if (linkZone != zone)
            NetworkOk = false;
    }
    if (NetworkOk)
        return;
    MessageString = NodeText(NodeId, GetNode(NodeId)) + "has in flow pipes with different Fluid Zones." + CR2 +
                    "All pipes entering a node that has a demand out or " +
                    "a pipe leaving the node that contains a flow control or a fixed flow rate pump " + CR +
                    "cannot have pipes entering the node from different fluid zones.";
}

// --- Pipe lengths ----------------------------------------------------------------------------

namespace {

double ElevationChange_m(const TNetwork &network, const TNodeLink &link)
{
    return std::fabs(network.GetNode(link.ToNodeId).Elevation_m - network.GetNode(link.FromNodeId).Elevation_m);
}

// Levels closer than a millimetre count as equal.
bool ShorterThanRise(double length_m, double change_m) { return change_m - 0.001 > length_m; }

} // namespace

void TNetwork::IsNetworkOkForPipeLengths(int FromNodeLinkId, bool &NetworkOk, std::string &MessageString,
                                         int &ZoomToPipeId, int &PipeNodeLinkId) const
{
    NetworkOk = true;
    MessageString.clear();
    ZoomToPipeId = 0;
    PipeNodeLinkId = 0;
    const TUnit unit = ConfigOptions.UnitOfLength;
    for (int i = std::max(FromNodeLinkId, 1); i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        const double change = ElevationChange_m(*this, link);
        if (!ShorterThanRise(pipe.Length_m, change))
            continue;
        NetworkOk = false;
        ZoomToPipeId = link.PipeId;
        PipeNodeLinkId = i;
        MessageString = PipeText(link.PipeId, pipe) + "Length (" + convertAndFormatDecimals(unt_m, unit, 4, pipe.Length_m) +
                        " " + unitName(unit) + ") is less than the change in elevation (" +
                        convertAndFormatDecimals(unt_m, unit, 4, change) + " " + unitName(unit) +
                        ") between the start and end nodes.";
        return;
    }
}

void TNetwork::UpdatePipeLengthToDiffInStartEndElevation(int ThePipeId, double &oldLength_m, double &NewLength_m)
{
    TPipe &pipe = GetPipe(ThePipeId);
    int fromId = 0, toId = 0;
    GetPipeNodes(ThePipeId, fromId, toId);
    oldLength_m = pipe.Length_m;
    pipe.Length_m = std::fabs(GetNode(toId).Elevation_m - GetNode(fromId).Elevation_m);
    NewLength_m = pipe.Length_m;
}

void TNetwork::CheckPipeLengthsVersusElevationChange(bool &NetworkOk, TResultsLog &Log) const
{
    NetworkOk = true;
    const TUnit unit = ConfigOptions.UnitOfLength;
    bool first = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        const double change = ElevationChange_m(*this, link);
        if (!ShorterThanRise(pipe.Length_m, change))
            continue;
        if (first) {
            first = false;
            Log.Add(" ");
            Log.Add("Some pipe lengths are less than the change in elevation between start and end of pipe:");
            Log.Add(" ");
        }
        Log.Add(PipeText(link.PipeId, pipe) + "Length (" + convertAndFormatDecimals(unt_m, unit, 4, pipe.Length_m) + " " +
                unitName(unit) + ") is less than change in elevation (" +
                convertAndFormatDecimals(unt_m, unit, 4, change) + " " + unitName(unit) + ")");
    }
}

void TNetwork::CheckShortPipeLengths(bool &NetworkOk, TResultsLog &Log)
{
    NetworkOk = true;
    const TUnit unit = ConfigOptions.UnitOfLength;
    const double minimum_m = IsAllGasSystem() ? 0.05 : 0.01;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        if (!(pipe.Length_m < minimum_m))
            continue;
        NetworkOk = false;
        Log.Add(PipeText(pipeId, pipe) + "Length is very short (" + convertAndFormatDecimals(unt_m, unit, 4, pipe.Length_m) +
                " " + unitName(unit) + ")");
    }
    if (NetworkOk)
        return;
    const std::string minimum = convertAndFormat(unt_m, unit, minimum_m) + " " + unitName(unit);
    CountWarnings(WarningCount, Log);
    Log.Add("Systems that contain pipes with very short lengths can make it difficult to converge to an accurate "
            "solution.");
    Log.Add("If the system cannot be solved, consider changing the pipe lengths so that they are set to at least " +
            minimum);
    Log.Add(" ");
    if (UserInterface->TestResultsMode() == 0)
        UserInterface->ShowMessage(TMessageKind::Information,
                                   "This system contains pipes with very short lengths" + CR + "(less than " + minimum +
                                       ")" + CR2 +
                                       "Very short pipe lengths can make it difficult to converge to an accurate "
                                       "solution." +
                                       CR2 + "The very short pipes will be listed in the log." + CR2 +
                                       "We recommend updating and increasing the length of these pipes to at least " +
                                       minimum);
}

// --- Positions of pumps, components and valves -----------------------------------------------

void TNetwork::CheckAndSetPumpsAtStartOfPipe(TResultsLog &Log)
{
    const TUnit elevationUnit = ConfigOptions.UnitOfElevation;
    const TUnit lengthUnit = ConfigOptions.UnitOfLength;
    bool moved = false;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        if (!PumpInUse(pipe))
            continue;
        const double startElevation_m = GetNode(link.FromNodeId).Elevation_m;
        const bool elevationDiffers = pipe.PumpElevation_m != startElevation_m;
        if (!(pipe.PumpDistanceFromStartOfPipe_m > 0 || pipe.PumpPositionPercentageAlongPipe > 0 || elevationDiffers))
            continue;
        if (!moved)
            Log.Add(" ");
        moved = true;
        const std::string pipeText = "Pipe " + std::to_string(link.PipeId) + ": ";
        std::string line;
        if (elevationDiffers)
            line = pipeText + "Pump elevation set to " + convertAndFormat(unt_m, elevationUnit, startElevation_m) +
                   unitName(elevationUnit) + " (was " + convertAndFormat(unt_m, elevationUnit, pipe.PumpElevation_m) +
                   unitName(elevationUnit) + "). ";
        if (pipe.PumpDistanceFromStartOfPipe_m != 0) {
            if (line.empty())
                line = pipeText;
            line += "Positioned at start of pipe (was " +
                    convertAndFormat(unt_m, lengthUnit, pipe.PumpDistanceFromStartOfPipe_m) + unitName(lengthUnit) +
                    " along pipe)";
        }
        Log.Add(line);
        pipe.PumpDistanceFromStartOfPipe_m = 0;
        pipe.PumpPositionPercentageAlongPipe = 0;
        pipe.PumpElevation_m = startElevation_m;
    }
    if (!moved)
        return;
    Log.Add(" ");
    UserInterface->ShowMessage(TMessageKind::Warning,
                               "Pumps must be positioned at the start of the pipe." + CR2 +
                                   "Pump elevations and positions have been updated to match the start of pipe "
                                   "conditions. " +
                                   CR2 + "Please review the Log for further information");
}

void TNetwork::CheckAndSetComponentsAtEndOfPipe(TResultsLog &Log)
{
    if (!(ConfigOptions.IsMethodOfSolutionCompressibleEngine() || IsAllGasSystem()))
        return;
    bool moved = false;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        TPipe &pipe = GetPipe(pipeId);
        if (!ComponentInUse(pipe) || !(pipe.ComponentPressurePositionPercentageAlongPipe < 90))
            continue;
        pipe.ComponentPressurePositionPercentageAlongPipe = 90.0;
        Log.Add("Pipe " + std::to_string(pipeId) + ": Component position set to end of pipe");
        moved = true;
    }
    if (!moved)
        return;
    Log.Add(" ");
    UserInterface->ShowMessage(TMessageKind::Warning,
                               "For Gas Systems:" + CR2 + "Components must be positioned at the end of the pipe." +
                                   CR2 + "Components will automatically be updated and positioned at the end of the pipe." +
                                   CR2 + "Please review the Log for further information.");
}

void TNetwork::CheckAndSetFCVsAtEndOfPipe(TResultsLog &Log)
{
    if (!IsAllGasSystem())
        return;
    bool moved = false;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        if (!ControlInUse(pipe, FCV))
            continue;
        const TNode &from = GetNode(link.FromNodeId);
        const TNode &to = GetNode(link.ToNodeId);
        const double dx = static_cast<double>(to.x) - from.x;
        const double dy = static_cast<double>(to.y) - from.y;
        const double drawnLength = std::sqrt(dx * dx + dy * dy);
        // A valve sits within 26 drawing units of the end. Two end nodes
        // drawn on one spot leave no room to move it along: it stays.
        if (!(drawnLength > 0))
            continue;
        const double limitPercent = 100.0 - 26.0 / drawnLength * 100.0;
        if (!(pipe.FlowControlPositionPercentageAlongPipe < limitPercent))
            continue;
        pipe.FlowControlPositionPercentageAlongPipe = 98.0;
        Log.Add("Pipe " + std::to_string(link.PipeId) + ": FCV position set to end of pipe");
        moved = true;
    }
    if (!moved)
        return;
    Log.Add(" ");
    UserInterface->ShowMessage(TMessageKind::Warning,
                               "For Gas Systems:" + CR2 +
                                   "Flow Control Valves (FCVs) must be positioned at the end of the pipe." + CR2 +
                                   "FCVs will automatically be updated and positioned at the end of the pipe." + CR2 +
                                   "Please review the Log for further information.");
}

// --- Volume flows of compressors and components --------------------------------------------

namespace {

// How a zone fluid's density and pressure read in a log line.
std::string DensityAtPressure(const TConfigOptions &options, const TFluid &fluid)
{
    return convertAndFormat(unt_kg_m3, options.UnitOfDensity, fluid.density_kgs_m3) + " " +
           unitName(options.UnitOfDensity) + " @ " +
           convertPressureAndFormat(unt_Bar_G, options.UnitOfPressure, fluid.pressure_bar_g, options.Atmosphere_bar_a,
                                    fluid.density_kgs_m3) +
           " " + unitName(options.UnitOfPressure);
}

const std::string StandardConditionsAdvice =
    "If you want to specify the flow rate in terms of gas volume at standard conditions then you should "
    "define the fluid zone data for this pipe at standard atmospheric conditions.";

} // namespace

void TNetwork::CheckPumpsVolumeFlowRate(TResultsLog &Log) const
{
    if (UserInterface->TestResultsMode() != 0 || !ConfigOptions.IsMethodOfSolutionCompressibleEngine())
        return;
    int reported = 0;
    bool compressedShown = false;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        if (!PumpInUse(pipe))
            continue;
        const TPump &pump = pipe.Pump;
        const bool volumeFlows = (pump.PumpType == PumpFixedSpeed && !isMassFlowUnit(pump.PumpPoints.FlowDisplayUnit)) ||
                                 (pump.PumpType == PumpFixedFlow && !isMassFlowUnit(pump.SetFlowRateDisplayUnit));
        if (!volumeFlows)
            continue;
        const std::string note =
            pump.PumpType == PumpFixedSpeed
                ? CR + "Note: " + CR +
                      "The performance curve must define the pressure added by the fan / blower / compressor at its " +
                      "operating pressure condition within the system." + CR
                : std::string();
        const TFluid &fluid = GetPipeFluid(pipeId);
        if (fluid.pressure_bar_g != 0) {
            if (!compressedShown)
                UserInterface->ShowMessage(
                    TMessageKind::Information,
                    "Fan / Blower / Compressor =>" + CR2 +
                        "This system contains at least one pump representing a fan / blower / compressor where the "
                        "flow rate is defined in volume of the gas at the fluid density for a specific pressure "
                        "condition." +
                        CR2 +
                        "Where the fluid zone density is defined for a particular pressure condition the compressor "
                        "flow rate refers to the 'compressed' volume of flow at the given fluid density." +
                        CR2 + "E.g. Pipe " + std::to_string(pipeId) + ", " + pipe.Name + ", " +
                        "contains such a compressor." + CR2 + StandardConditionsAdvice + CR + note);
            compressedShown = true;
            Log.Add(pipe.Name + ", " + " compressor flow specified in volume at compressed density (" +
                    DensityAtPressure(ConfigOptions, fluid) + ")");
            ++reported;
        } else if (reported == 0) {
            UserInterface->ShowMessage(TMessageKind::Information,
                                       "Fan / Blower / Compressor =>" + CR2 +
                                           "This system contains at least one pump representing a fan / blower / "
                                           "compressor where flow rate is defined in volume at standard atmospheric "
                                           "conditions." +
                                           CR + note);
            Log.Add(pipe.Name + ", " + " compressor flow specified in volume at standard gas density (" +
                    DensityAtPressure(ConfigOptions, fluid) + ")");
            ++reported;
        }
    }
    if (reported > 0) {
        Log.Add(" ");
        Log.Add(" ");
    }
}

void TNetwork::CheckComponentsVolumeFlowRate(TResultsLog &Log) const
{
    if (UserInterface->TestResultsMode() != 0 || !ConfigOptions.IsMethodOfSolutionCompressibleEngine())
        return;
    int reported = 0;
    bool compressedShown = false;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        if (!ComponentInUse(pipe))
            continue;
        const TComponentPressure &component = pipe.ComponentPressure;
        if (component.PressureType != ComponentPressureCurve || isMassFlowUnit(component.CurvePoints.FlowDisplayUnit))
            continue;
        const TFluid &fluid = GetPipeFluid(pipeId);
        if (fluid.pressure_bar_g != 0) {
            if (!compressedShown)
                UserInterface->ShowMessage(
                    TMessageKind::Information,
                    "Components =>" + CR2 +
                        "This system contains at least one component where the flow rate is defined in volume of "
                        "the gas at the fluid density for a specific pressure condition." +
                        CR2 +
                        "Where the fluid zone density is defined for a particular pressure condition the component "
                        "flow rate values refers to the 'compressed' volume of flow at the given fluid density." +
                        CR2 + "E.g. Pipe " + std::to_string(pipeId) + ", " + component.Name + ", " +
                        "contains such a component." + CR2 + StandardConditionsAdvice + CR);
            compressedShown = true;
            Log.Add(pipe.Name + ", " + " component flow values are specified in volume at compressed density (" +
                    DensityAtPressure(ConfigOptions, fluid) + ")");
            ++reported;
        } else if (reported == 0) {
            UserInterface->ShowMessage(TMessageKind::Information,
                                       "Components =>" + CR2 +
                                           "This system contains at least one component where the flow rate is "
                                           "defined in volume at standard atmospheric conditions." +
                                           CR + CR + "Note: " + CR +
                                           "The performance curve must define the pressure loss that occurs through "
                                           "the component at its " +
                                           "operating pressure condition within the system." + CR);
            Log.Add(pipe.Name + ", " + " component flow specified in volume at standard gas density (" +
                    DensityAtPressure(ConfigOptions, fluid) + ")");
            ++reported;
        }
    }
    if (reported > 0) {
        Log.Add(" ");
        Log.Add(" ");
    }
}

} // namespace tessaran
