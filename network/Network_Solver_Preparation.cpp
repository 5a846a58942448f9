// Turning a drawn network into the form the equations carry, and back.
//
// A pipe with a fixed flow (a flow-control valve of type FCV, a pump of type
// PumpFixedFlow) leaves the active links for the calculation; its flow is
// drawn from its start node and delivered to its end node as a pair of
// demands. A pressure-reducing valve makes its downstream node a tank at the
// set pressure, a back-pressure valve its upstream node; the flow through the
// valve runs through a control pipe (a copy of the valve pipe) into or out of
// a control node (a joint copy of the fixed node). The restores undo all of
// it. After the solution, each valve's loss and each fixed-flow pump's head
// follow from the node pressures.

#include "network/Network_Class.h"

#include "units/Unit_Format.h"
#include "units/Units.h"

#include <cmath>
#include <string>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

std::string idText(int id) { return std::to_string(id); }

constexpr double DemandZeroLimit_kgs = 1e-10;

} // namespace

// --- Demands and pipe results --------------------------------------------------

void TNetwork::adjustNodeDemandFlow(int TheNodeId, bool Discharge, double Flow_kgs, double Flow_m3s, int Sign)
{
    TNode &node = GetNode(TheNodeId);
    const TFluid &fluid = FluidZones[at(GetNodeFluidZoneIndex(TheNodeId))].Fluid;
    double &m3s = Discharge ? node.JointDischarge_m3s : node.JointSupply_m3s;
    double &kgs = Discharge ? node.JointDischarge_kgs : node.JointSupply_kgs;
    double &scmh = Discharge ? node.JointDischarge_SCMH : node.JointSupply_SCMH;

    if (Sign > 0) {
        auto [entry, first] = preparedDemands_.try_emplace(TheNodeId);
        if (first)
            entry->second = {0,
                             node.JointSupply_m3s,
                             node.JointDischarge_m3s,
                             node.JointSupply_kgs,
                             node.JointDischarge_kgs,
                             node.JointSupply_SCMH,
                             node.JointDischarge_SCMH};
        ++entry->second.Adjustments;
    }

    // Volume and mass flow are related by the density alone.
    auto volumeMass = [&](TUnit from, TUnit to, double value) {
        return convertFlowUnit(from, to, std_15degC_101325Pa, value, fluid.density_kgs_m3, 0.0, 288.15, 1.01325);
    };
    auto massStandard = [&](TUnit from, TUnit to, double value) {
        return convertFlowUnit(from, to, ConfigOptions.GasFlowTemperaturePressureModel, value, fluid.density_kgs_m3,
                               fluid.pressure_bar_g, fluid.degrees_K, ConfigOptions.Atmosphere_bar_a);
    };

    switch (node.JointDemandUseFlowType) {
    case MassFlow:
        kgs += Sign * Flow_kgs;
        m3s = volumeMass(unt_kg_sec, unt_m3_sec, kgs);
        break;
    case GasFlow:
        kgs = massStandard(unt_SCMH, unt_kg_sec, scmh);
        kgs += Sign * Flow_kgs;
        m3s = volumeMass(unt_kg_sec, unt_m3_sec, kgs);
        break;
    default:
        m3s += Sign * Flow_m3s;
        kgs = volumeMass(unt_m3_sec, unt_kg_sec, m3s);
        break;
    }
    scmh = massStandard(unt_kg_sec, unt_SCMH, kgs);

    if (Sign < 0 && std::fabs(kgs) < DemandZeroLimit_kgs) {
        m3s = 0;
        kgs = 0;
        scmh = 0;
    }

    // Adding and taking away the same flow need not give back the same
    // number: the user's demands come back exactly once all is taken away.
    if (Sign < 0) {
        auto entry = preparedDemands_.find(TheNodeId);
        if (entry != preparedDemands_.end() && --entry->second.Adjustments <= 0) {
            const TPreparedDemand &saved = entry->second;
            node.JointSupply_m3s = saved.JointSupply_m3s;
            node.JointDischarge_m3s = saved.JointDischarge_m3s;
            node.JointSupply_kgs = saved.JointSupply_kgs;
            node.JointDischarge_kgs = saved.JointDischarge_kgs;
            node.JointSupply_SCMH = saved.JointSupply_SCMH;
            node.JointDischarge_SCMH = saved.JointDischarge_SCMH;
            preparedDemands_.erase(entry);
        }
    }
}

void TNetwork::calcPipeInfoBetweenNodes(int ThePipeId, int TheFromNodeId, int TheToNodeId)
{
    const TNode &from = GetNode(TheFromNodeId);
    const TNode &to = GetNode(TheToNodeId);
    const TConfigOptions &options = ConfigOptions;
    GetPipe(ThePipeId).CalcPipeInfo(GetPipeFluid(ThePipeId), options.UnitOfLength, CurrentMethodOfSolution,
                                    options.MethodOfCalculationCompressible, GasModel_Std_Temp_degrees_k,
                                    GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE,
                                    options.ZCompressibilityModel, options.ZCompressibilityFactor, from.Elevation_m,
                                    to.Elevation_m, from.Pressure_Bar_g, to.Pressure_Bar_g, options.Atmosphere_bar_a);
}

// --- Fixed-flow pumps -------------------------------------------------------------

void TNetwork::RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate()
{
    NodeLinksPumpAtSetFlowRate.fill(TNodeLink{});
    NodeLinksPumpAtSetFlowRateCount = 0;

    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        if (!(pipe.PumpCount > 0 && pipe.PumpUseInCalc && pipe.Pump.PumpType == PumpFixedFlow))
            continue;
        NodeLinksPumpAtSetFlowRate[at(++NodeLinksPumpAtSetFlowRateCount)] = link;
        adjustNodeDemandFlow(link.FromNodeId, true, pipe.Pump.SetFlowRate_kgs, pipe.Pump.SetFlowRate_m3s, 1);
        adjustNodeDemandFlow(link.ToNodeId, false, pipe.Pump.SetFlowRate_kgs, pipe.Pump.SetFlowRate_m3s, 1);
    }
    for (int i = 1; i <= NodeLinksPumpAtSetFlowRateCount; ++i)
        RemoveLink(NodeLinksPumpAtSetFlowRate[at(i)].PipeId);
}

void TNetwork::RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(TResultsLog & /*Log*/)
{
    for (int i = 1; i <= NodeLinksPumpAtSetFlowRateCount; ++i) {
        const TNodeLink link = NodeLinksPumpAtSetFlowRate[at(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        adjustNodeDemandFlow(link.FromNodeId, true, pipe.Pump.SetFlowRate_kgs, pipe.Pump.SetFlowRate_m3s, -1);
        adjustNodeDemandFlow(link.ToNodeId, false, pipe.Pump.SetFlowRate_kgs, pipe.Pump.SetFlowRate_m3s, -1);
        AddLink(link.FromNodeId, link.ToNodeId, link.PipeId);
        pipe.FlowGuessUncompressed_m3s = pipe.Pump.SetFlowRate_m3s;
        pipe.FlowUncompressed_m3s = pipe.Pump.SetFlowRate_m3s;
        calcPipeInfoBetweenNodes(link.PipeId, link.FromNodeId, link.ToNodeId);
    }
    NodeLinksPumpAtSetFlowRate.fill(TNodeLink{});
    NodeLinksPumpAtSetFlowRateCount = 0;
}

// --- Flow-control valves ----------------------------------------------------------

void TNetwork::RemoveAllNodeLinksForPipesWithFlowControl(bool RemoveFCV, bool RemovePRV, bool RemoveBPV)
{
    auto selected = [&](const TPipe &pipe) {
        if (!(pipe.FlowControlCount > 0 && pipe.FlowControlUseInCalc))
            return false;
        switch (pipe.FlowControl.ControlType) {
        case FCV:
            return RemoveFCV;
        case PRV:
            return RemovePRV;
        case BPV:
            return RemoveBPV;
        }
        return false;
    };

    // Every pressure valve adds a node, a pipe and a link before the valve's
    // own link goes: refuse while nothing has been changed yet.
    int controlPipesNeeded = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (selected(pipe) && pipe.FlowControl.ControlType != FCV)
            ++controlPipesNeeded;
    }
    if (controlPipesNeeded > 0 &&
        (NodeSet.NumberOfNodesUsed() + controlPipesNeeded > TNodeSet::MaxNumberOfNodes ||
         PipeSet.NumberOfPipesUsed() + controlPipesNeeded > TPipeSet::MaxNumberOfPipes ||
         NodeLinksCount + controlPipesNeeded > MaxLinks))
        throw ENetworkClass("The network is too large to model its " + idText(controlPipesNeeded) +
                            " pressure reducing and back pressure valves: each needs one more node and one more "
                            "pipe during the calculation, beyond the " +
                            idText(MaxNodes) + " nodes and " + idText(MaxPipes) + " pipes allowed.");

    NodeLinksFlowControl.fill(TFlowControlLink{});
    NodeLinksFlowControlCount = 0;
    controlledNodeStates_.clear();

    const int linksToScan = NodeLinksCount; // control pipes are appended behind
    for (int i = 1; i <= linksToScan; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        if (!selected(pipe))
            continue;
        TFlowControlLink &entry = NodeLinksFlowControl[at(++NodeLinksFlowControlCount)];
        entry = TFlowControlLink{link.FromNodeId, link.ToNodeId, link.PipeId, 0, 0, FCV};
        TFlowControl &valve = pipe.FlowControl;

        if (valve.ControlType == FCV) {
            valve.SetEquivalentFlowAndMassFlowRate(GetPipeFluid(link.PipeId), ConfigOptions.Atmosphere_bar_a,
                                                   ConfigOptions.GasFlowTemperaturePressureModel);
            adjustNodeDemandFlow(link.FromNodeId, true, valve.FlowControl_kgs, valve.FlowControl_m3s, 1);
            adjustNodeDemandFlow(link.ToNodeId, false, valve.FlowControl_kgs, valve.FlowControl_m3s, 1);
            continue;
        }

        // The fixed node: downstream of a PRV, upstream of a BPV.
        const bool reducing = valve.ControlType == PRV;
        const int fixedNodeId = reducing ? link.ToNodeId : link.FromNodeId;
        TNode &fixedNode = GetNode(fixedNodeId);
        TempNode1.Copy(fixedNode);
        TempNode1.SetType(Joint);
        TempNode1.x = fixedNode.x;
        TempNode1.y = fixedNode.y;
        TempNode1.Elevation_m = fixedNode.Elevation_m;
        TempNode1.NodeImageIndex = 0;
        TempNode1.LiquidLevel_m = 0;
        TempNode1.Surface_Pressure_Bar_g = 0;
        entry.ControlNodeId = AddNode(TempNode1);

        TempPipe1.Copy(pipe);
        entry.ControlPipeId = reducing ? AddPipeLink(link.FromNodeId, entry.ControlNodeId, TempPipe1)
                                       : AddPipeLink(entry.ControlNodeId, link.ToNodeId, TempPipe1);
        entry.ControlType = valve.ControlType;

        // AddNode may have moved the node table's storage.
        TNode &fixed = GetNode(fixedNodeId);
        controlledNodeStates_.push_back({fixedNodeId, fixed.NodeType, fixed.LiquidLevel_m, fixed.Surface_Pressure_Bar_g});
        fixed.NodeType = Tank;
        fixed.LiquidLevel_m = 0;
        fixed.Surface_Pressure_Bar_g = GetPipe(link.PipeId).FlowControl.RegulatedPressure_Bar_g;
    }
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        RemoveLink(NodeLinksFlowControl[at(i)].PipeId);
}

void TNetwork::RestoreAllNodeLinksForPipesWithFlowControl(TResultsLog & /*Log*/)
{
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i) {
        const TFlowControlLink entry = NodeLinksFlowControl[at(i)];
        TPipe &pipe = GetPipe(entry.PipeId);
        AddLink(entry.FromNodeId, entry.ToNodeId, entry.PipeId);

        // The type recorded at preparation says what was done, whatever the
        // valve says now.
        if (entry.ControlType == FCV) {
            const TFlowControl &valve = pipe.FlowControl;
            adjustNodeDemandFlow(entry.FromNodeId, true, valve.FlowControl_kgs, valve.FlowControl_m3s, -1);
            adjustNodeDemandFlow(entry.ToNodeId, false, valve.FlowControl_kgs, valve.FlowControl_m3s, -1);
            pipe.FlowGuessUncompressed_m3s = valve.FlowControl_m3s;
            pipe.FlowUncompressed_m3s = valve.FlowControl_m3s;
        } else {
            if (entry.ControlPipeId > 0) {
                const TPipe &controlPipe = GetPipe(entry.ControlPipeId);
                pipe.FlowGuessUncompressed_m3s = controlPipe.FlowGuessUncompressed_m3s;
                pipe.FlowUncompressed_m3s = controlPipe.FlowUncompressed_m3s;
                RemovePipeLink(entry.ControlPipeId);
            }
            if (entry.ControlNodeId > 0)
                RemoveNode(entry.ControlNodeId);
            const int fixedNodeId = entry.ControlType == PRV ? entry.ToNodeId : entry.FromNodeId;
            TNode &fixed = GetNode(fixedNodeId);
            fixed.NodeType = Joint;
            fixed.Surface_Pressure_Bar_g = 0;
            for (const TControlledNodeState &state : controlledNodeStates_)
                if (state.NodeId == fixedNodeId) {
                    fixed.NodeType = state.NodeType;
                    fixed.LiquidLevel_m = state.LiquidLevel_m;
                    fixed.Surface_Pressure_Bar_g = state.Surface_Pressure_Bar_g;
                    break;
                }
        }
        calcPipeInfoBetweenNodes(entry.PipeId, entry.FromNodeId, entry.ToNodeId);
    }
    NodeLinksFlowControl.fill(TFlowControlLink{});
    NodeLinksFlowControlCount = 0;
    controlledNodeStates_.clear();
}

void TNetwork::CheckFlowControlPipesAreFromToJoints(TResultsLog &Log, bool &Solved)
{
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i) {
        const TFlowControlLink &entry = NodeLinksFlowControl[at(i)];
        const TPipe &pipe = GetPipe(entry.PipeId);
        if (!pipe.FlowControlInUse())
            continue;
        if (GetNode(entry.FromNodeId).NodeType != Joint || GetNode(entry.ToNodeId).NodeType != Joint) {
            Solved = false;
            Log.Add(" ");
            Log.Add(">>> PROBLEM: Pipe " + idText(entry.PipeId));
            Log.Add(pipe.Name +
                    " cannot contain a flow control unless the nodes it connects are of type \"Join Point\".");
            Log.Add("Solution: Amend the drawing (perhaps split this pipe into two) to meet this requirement and then "
                    "re-calculate.");
        }
    }
}

// --- Prevent-backflow pipes and the saved links -----------------------------------------

void TNetwork::RemoveLinkPreventBackflow(int ThePipeId)
{
    bool found = false;
    int i = 1;
    while (i <= NodeLinksPreventBackflowCount) {
        if (NodeLinksPreventBackflow[at(i)].PipeId == ThePipeId) {
            removeLinkAt(NodeLinksPreventBackflow, NodeLinksPreventBackflowCount, i);
            NodeLinksPreventBackflow[at(NodeLinksPreventBackflowCount + 1)] = TNodeLink{};
            found = true;
        } else {
            ++i;
        }
    }
    if (!found)
        throw ENetworkClass("TNetwork.RemoveLinkPreventBackflowPipe Failed: Specified PipeId may not be valid");
}

void TNetwork::RestoreNodeLinkForPreventBackflow(int ThePipeId)
{
    for (int i = 1; i <= NodeLinksPreventBackflowCount; ++i) {
        const TNodeLink &link = NodeLinksPreventBackflow[at(i)];
        if (link.PipeId == ThePipeId)
            AddLink(link.FromNodeId, link.ToNodeId, link.PipeId);
    }
    RemoveLinkPreventBackflow(ThePipeId);
}

void TNetwork::RestoreAllNodeLinksForPreventBackflow(TResultsLog &Log)
{
    if (NodeLinksPreventBackflowCount > 0)
        Log.Add(" ");
    for (int i = 1; i <= NodeLinksPreventBackflowCount; ++i) {
        const TNodeLink link = NodeLinksPreventBackflow[at(i)];
        AddLink(link.FromNodeId, link.ToNodeId, link.PipeId);
        TPipe &pipe = GetPipe(link.PipeId);
        pipe.FlowGuessUncompressed_m3s = 0;
        pipe.FlowUncompressed_m3s = 0;
        calcPipeInfoBetweenNodes(link.PipeId, link.FromNodeId, link.ToNodeId);
        Log.Add(">>> BACKFLOW prevented in Pipe " + idText(link.PipeId) + ", " + pipe.Name);
    }
    NodeLinksPreventBackflow.fill(TNodeLink{});
    NodeLinksPreventBackflowCount = 0;
}

bool TNetwork::CheckIfAnyFlowsNegative() const
{
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (GetPipe(NodeLinks[at(i)].PipeId).FlowUncompressed_m3s < 0)
            return true;
    return false;
}

void TNetwork::NodeLinksSave()
{
    NodeLinksSaved = NodeLinks;
    NodeLinksSavedCount = NodeLinksCount;
}

void TNetwork::NodeLinksRestore()
{
    NodeLinks = NodeLinksSaved;
    NodeLinksCount = NodeLinksSavedCount;
}

// --- Valve losses and fixed-flow pump heads after the solution ------------------------

void TNetwork::SetFlowControlPressureLosses(bool &solved, TResultsLog &Log, bool /*LoggingOn*/)
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    FixedFlowRatePumpWarning = false;
    const double absoluteZero_bar_g = convertPressure(unt_Bar_A, unt_Bar_G, 0.0, atmosphere, 1.0);

    int negativeLossCount = 0;
    bool pressureValveReported = false;

    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        pipe.FlowControlLoss_Bar = 0;
        pipe.FlowControlLoss_mHd_Fluid = 0;
        if (!(pipe.FlowControlCount > 0 && pipe.FlowControlUseInCalc))
            continue;

        const TNode &start = GetNode(link.FromNodeId);
        const TNode &end = GetNode(link.ToNodeId);
        const TFluid &fluid = GetPipeFluid(link.PipeId);
        const double density = fluid.density_kgs_m3;
        const double itemHead_mHd = pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid +
                                    pipe.ComponentPressureLoss_mHd_Fluid - pipe.Pump_mHd_Fluid;
        const double itemLoss_bar = convertPressure(unt_m_hd_fluid, unt_Bar_G, itemHead_mHd, 0.0, density);
        pipe.FlowControlLoss_Bar =
            start.Pressure_Bar_g - pipe.PressureLossDueToElevationChange_Bar - itemLoss_bar - end.Pressure_Bar_g;
        pipe.FlowControlLoss_mHd_Fluid =
            convertHeadPressureUnit(unt_Bar_G, unt_m_hd_fluid, pipe.FlowControlLoss_Bar, density);
        if (pipe.FlowControlLoss_Bar >= 0)
            continue;

        // The setting cannot be met: report it and leave no flow in the pipe.
        const double velocity = fluid.FluidIsGas ? pipe.ExitVelocity_ms : pipe.Velocity_ms;
        pipe.FlowUncompressed_m3s = 0;
        pipe.Velocity_ms = 0;
        ++negativeLossCount;

        Log.Add(" ");
        Log.Add(">>> PROBLEM:");
        Log.Add("Pipe " + idText(link.PipeId) + ", " + pipe.Name);
        const std::string notCalculated =
            "has not been calculated. Additional reference pressures are required within the network.";
        if (!start.IsPressureSet) {
            Log.Add("Pressure at start of pipe (Node: " + start.Name + ") " + notCalculated);
        } else if (!end.IsPressureSet) {
            Log.Add("Pressure at end of pipe (Node: " + end.Name + ") " + notCalculated);
        } else {
            const std::string velocityUnit = unitName(options.UnitOfVelocity);
            if (!fluid.FluidIsGas && velocity > options.getHighLiquidVelocity_ms()) {
                Log.Add("The flow rate is high in comparison to the current diameter of the pipe.");
                Log.Add("This will cause a High Liquid Flow Velocity (" +
                        convertUnitToString(unt_m_Sec, options.UnitOfVelocity, 3, velocity) + velocityUnit + ")");
            }
            if (fluid.FluidIsGas && velocity > options.getHighGasVelocity_ms()) {
                Log.Add("The flow rate is high in comparison to the current diameter of the pipe.");
                Log.Add("This will cause a High Gas Flow Velocity (" +
                        convertUnitToString(unt_m_Sec, options.UnitOfVelocity, 3, velocity) + velocityUnit + ")");
            }
            Log.Add("The head loss across the control valve cannot be negative.");

            const TFlowControl &valve = pipe.FlowControl;
            const std::string pressureUnit = unitName(options.UnitOfPressure);
            auto pressureText = [&](double pressure_bar_g) {
                return convertPressureAndFormat(unt_Bar_G, options.UnitOfPressure, pressure_bar_g, atmosphere,
                                                density);
            };
            auto differenceText = [&](double difference_bar) {
                return convertPressureAndFormat(unt_Bar_G, options.UnitOfPressure, difference_bar, 0.0, density);
            };
            auto belowZero = [&](double pressure_bar_g) {
                return pressure_bar_g < absoluteZero_bar_g
                           ? std::string(" (this is below absolute zero pressure and is not possible)")
                           : std::string();
            };
            const std::string surfaceUnit = unitName(options.UnitOfSurfacePressure);
            auto settingText = [&] {
                return convertUnitToString(unt_Bar_G, options.UnitOfSurfacePressure,
                                           unitDecimals(options.UnitOfSurfacePressure), valve.RegulatedPressure_Bar_g);
            };
            switch (valve.ControlType) {
            case FCV: {
                const double elevationLoss = pipe.PressureLossDueToElevationChange_Bar;
                Log.Add("Pressure in pipe is not enough to deliver the valve flow setting of " +
                        convertAndFormat(unt_m3_sec, options.UnitOfFlow, valve.FlowControl_m3s) +
                        unitName(options.UnitOfFlow) + ".");
                Log.Add("Pressure at start of pipe is " + pressureText(start.Pressure_Bar_g) + " " + pressureUnit +
                        belowZero(start.Pressure_Bar_g) + " ");
                Log.Add("minus pressure loss due to elevation change is " + differenceText(elevationLoss) + " " +
                        pressureUnit + " ");
                Log.Add("minus pipe item losses of " + differenceText(itemLoss_bar) + " " + pressureUnit);
                Log.Add("means pressure at end of pipe must be less than " +
                        pressureText(start.Pressure_Bar_g - (elevationLoss + itemLoss_bar)) + " " + pressureUnit +
                        " but it is not ...");
                Log.Add("Pressure required at end of pipe (downstream) is " + pressureText(end.Pressure_Bar_g) + " " +
                        pressureUnit + belowZero(end.Pressure_Bar_g));
                Log.Add("The FCV would need to act as pump to add pressure, which it cannot do.");
                Log.Add(" ");
                FixedFlowRatePumpWarning = true;
                break;
            }
            case PRV:
                pressureValveReported = true;
                pipe.FlowUncompressed_m3s = 0;
                pipe.Velocity_ms = 0;
                Log.Add(" ");
                Log.Add(">>> PROBLEM:");
                Log.Add("Pipe " + idText(link.PipeId) + ", " + pipe.Name);
                Log.Add("The PRV pressure setting cannot be higher than the upstream pressure.");
                Log.Add("In practice the PRV valve would fully open, which may not meet your design criteria, so");
                Log.Add("Tessaran does not automatically recalculate for this scenario.");
                Log.Add("Reduce the PRV pressure setting from " + settingText() + " " + surfaceUnit +
                        " (or remove the PRV).");
                break;
            case BPV:
                pressureValveReported = true;
                pipe.FlowUncompressed_m3s = 0;
                pipe.Velocity_ms = 0;
                Log.Add(" ");
                Log.Add(">>> PROBLEM:");
                Log.Add("Pipe " + idText(link.PipeId) + ", " + pipe.Name);
                Log.Add("The BPV pressure setting cannot be lower than the upstream pressure.");
                Log.Add("In practice the BPV valve would fully open, which may not meet your design criteria, so");
                Log.Add("Tessaran does not automatically recalculate for this scenario.");
                Log.Add("Increase the BPV pressure setting from " + settingText() + " " + surfaceUnit +
                        " (or remove the BPV).");
                break;
            }
        }
        if (start.NodeType == Tank)
            Log.Add("Reason: The liquid level in the tank feeding the pipe is not suffcient.");
    }

    if (negativeLossCount > 0 || pressureValveReported) {
        solved = false;
        Log.Add(" ");
        Log.Add(">>> System not solved. Control valve settings not met.");
        Log.Add("Either remove the Controls where the setting cannot be met or adjust the specified control settings.");
        Log.Add(" ");
    }
}

void TNetwork::SetPumpsSetFlowRatePressureLosses(bool &solved, TResultsLog &Log, bool /*LoggingOn*/)
{
    const TConfigOptions &options = ConfigOptions;
    int negativeHeadCount = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        TPipe &pipe = GetPipe(link.PipeId);
        if (!(pipe.PumpCount > 0 && pipe.PumpUseInCalc && pipe.Pump.PumpType == PumpFixedFlow))
            continue;
        const TNode &start = GetNode(link.FromNodeId);
        const TNode &end = GetNode(link.ToNodeId);
        const double density = GetPipeFluid(link.PipeId).density_kgs_m3;
        const double startHead =
            convertPressure(unt_Bar_G, unt_m_hd_fluid, start.Pressure_Bar_g, options.Atmosphere_bar_a, density);
        const double endHead =
            convertPressure(unt_Bar_G, unt_m_hd_fluid, end.Pressure_Bar_g, options.Atmosphere_bar_a, density);
        pipe.Pump_mHd_Fluid = endHead + pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid +
                              pipe.ComponentPressureLoss_mHd_Fluid - startHead + (end.Elevation_m - start.Elevation_m);
        if (pipe.Pump_mHd_Fluid >= 0)
            continue;
        ++negativeHeadCount;
        pipe.FlowUncompressed_m3s = 0;
        pipe.Velocity_ms = 0;
        Log.Add(" ");
        Log.Add(">>> PROBLEM:");
        Log.Add("Pipe " + idText(link.PipeId) + ", " + pipe.Name + ", " +
                "The pump may not be needed (the pump head is negative). " +
                "The pressure in the pipe will already deliver more flow than the pump's fixed flow rate of " +
                convertAndFormat(unt_m3_sec, options.UnitOfFlow, pipe.Pump.SetFlowRate_m3s) +
                unitName(options.UnitOfFlow) + "." +
                " Remove the pump and use a flow control valve to limit the flow rate if required, " +
                "or increase the pump's fixed flow rate so that the pump head required is positive.");
    }
    if (negativeHeadCount > 0) {
        solved = false;
        Log.Add(" ");
        Log.Add(">>> System not solved. Problem with some pumps.");
        Log.Add("Pumps (x" + idText(negativeHeadCount) + ") exist " +
                "where the pump head produced would have to be negative. " +
                "In these cases, the Pump's Fixed Flow Rate is set lower than the flow that " +
                "would occur in the pipe if the pump was not present. " +
                "See log details above for information on each problem pump.");
        Log.Add("Solution: Either remove the problem pump or increase the pump's fixed flow rate.");
        Log.Add(" ");
    }
}

// --- Reverse flow through pumps and pressure valves -------------------------------------

void TNetwork::CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(bool &solved, TResultsLog &Log)
{
    if (!IsNegativeFlowInAnyPipe())
        return;
    if (IsNegativeFlowInAnyPipeWithPump())
        Log.Add("Found solution with negative flow in a pipe containing a pump: Not Allowed ");
    solved = true;
    const std::string surfaceUnit = unitName(ConfigOptions.UnitOfSurfacePressure);
    auto settingText = [&](int controlPipeId) {
        double setting = 0;
        for (int k = 1; k <= NodeLinksFlowControlCount; ++k)
            if (NodeLinksFlowControl[at(k)].ControlPipeId == controlPipeId)
                setting = GetPipe(NodeLinksFlowControl[at(k)].PipeId).FlowControl.RegulatedPressure_Bar_g;
        return convertUnitToString(unt_Bar_G, ConfigOptions.UnitOfSurfacePressure,
                                   unitDecimals(ConfigOptions.UnitOfSurfacePressure), setting);
    };

    bool endWalk = false;
    for (int i = NodeLinksCount; i >= 1 && !endWalk; --i) {
        const int pipeId = NodeLinks[at(i)].PipeId;
        const TPipe &pipe = GetPipe(pipeId);
        if (!(pipe.FlowUncompressed_m3s < 0))
            continue;
        HighlightPipeIdForNetworkFormTimer = pipeId;
        UserInterface->ProcessMessages();
        if (pipe.PumpCount > 0 && pipe.PumpUseInCalc) {
            solved = false;
            endWalk = true;
            Log.Add("   Pipe " + idText(pipeId) + " with a pump cannot be reversed.");
            Log.Add("   Consider using a pump that can generate additional fluid head (additional pressure).");
        }
        if (IsPipePRVNewControlPipe(pipeId)) {
            solved = false;
            endWalk = true;
            Log.Add("The pressure downstream of the PRV on pipe " + idText(GetOriginalPipeIdForThisControlPipe(pipeId)) +
                    " is higher than the PRV pressure setting.");
            Log.Add("In practice the PRV would Fully Close, preventing back flow in the pipe.");
            Log.Add("This scenario is not automatically re-calculated.");
            Log.Add("Remove the Pipe/PRV or increase the PRV pressure setting from " + settingText(pipeId) + " " +
                    surfaceUnit + ".");
        } else if (IsPipeBPVNewControlPipe(pipeId)) {
            solved = false;
            endWalk = true;
            Log.Add("The pressure upstream of the BPV on pipe " + idText(GetOriginalPipeIdForThisControlPipe(pipeId)) +
                    " is less than the BPV pressure setting.");
            Log.Add("In practice the BPV would Fully Close.");
            Log.Add("This scenario is not automatically re-calculated.");
            Log.Add("Remove the Pipe/BPV or decrease the BPV pressure setting from " + settingText(pipeId) + " " +
                    surfaceUnit + ".");
        }
        HighlightPipeIdForNetworkFormTimer = 0;
    }
}

// --- Prevent-backflow pipes that run backwards --------------------------------------------

void TNetwork::CheckNetworkForNegativeFlowsPreventBackflow(bool &solved, TResultsLog &Log)
{
    if (!(solved && IsNegativeFlowInAnyPipe()))
        return;
    bool anyClosed = false;
    for (int i = NodeLinksCount; i >= 1; --i) {
        const TNodeLink link = NodeLinks[at(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        if (pipe.FlowUncompressed_m3s < 0 && pipe.PreventBackflow) {
            AddLinkPreventBackflow(link.FromNodeId, link.ToNodeId, link.PipeId);
            RemoveLink(link.PipeId);
            anyClosed = true;
        }
    }
    if (anyClosed) {
        Log.Add("The following pipes have been closed to model operation of prevent backflow valve.");
        for (int i = 1; i <= NodeLinksPreventBackflowCount; ++i)
            Log.Add("  Pipe " + idText(NodeLinksPreventBackflow[at(i)].PipeId));
        Log.Add(" ");

        // Solved once more without them; pipes that turn negative now are
        // reported, not closed.
        PipeLoopsRemoveAllLoops();
        PipeLoopsGenerateAllLoops(Log);
        MatrixEquationsGenerate(MatrixEquations, Log, true);
        int status = 0;
        std::string statusText;
        switch (CurrentMethodOfSolution) {
        case LinearTheoryOnly:
            MatrixEquationsAddEquivalentLengthForFittings(MatrixEquations, Log);
            MatrixEquationsAddEquivalentLengthForComponents(MatrixEquations, Log);
            MatrixEquations.LinearTheorySolveQkgsVariables(solved, status, statusText, Log);
            break;
        case CompressibleNodeAdjust:
        case CompressibleFlowAdjust:
            MatrixEquations.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodIsothermal);
            break;
        default:
            MatrixEquations.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodDarcy);
            break;
        }
        if (StopCalculating)
            solved = false;
        if (solved) {
            ReCalcNetworkFromMatrixQVariables(solved, Log);
            bool stillNegative = false;
            for (int i = 1; i <= NodeLinksCount; ++i) {
                const TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
                if (pipe.PreventBackflow && pipe.FlowUncompressed_m3s < 0)
                    stillNegative = true;
            }
            if (stillNegative) {
                solved = false;
                Log.Add(" ");
                Log.Add(">>> PROBLEM:");
                Log.Add("The system was solved with negative flows in some pipes where prevent backflow was set.");
                Log.Add("These pipes were effectively removed from the model (to prevent backflow) and the system was "
                        "re-solved however the new solution then contained further negative flows in pipes where "
                        "prevent backflow was set.");
                Log.Add(" ");
                Log.Add("This second set of pipes with negative flows cannot be safely removed (to prevent backflow) "
                        "and the model resolved since it may then be that pipes removed due the first set of prevent "
                        "backflow checks would not necessarily then have negative flow.");
                Log.Add(" ");
                Log.Add("NOTE: Only the first solution with negative flows in pipes where prevent backflow is "
                        "specified can be adjusted to prevent backflow and subsequent solution iterations must NOT "
                        "then produce further negative flows in the remaining pipes where prevent backflow has been "
                        "set.");
                Log.Add(" ");
                Log.Add("The existing model will need to be modified to reduce the number of pipes draw in the wrong "
                        "direction when compared to the actual flow solution.");
            }
        }
    }
    if (!solved && NodeLinksPreventBackflowCount > 0) {
        RestoreAllNodeLinksForPreventBackflow(Log);
        Log.Add("System cannot be solved when backflow is prevented in these pipes.");
    }
}

void TNetwork::SetEquivalentMassFlowRateFromVolumeFlowForAllPumpPoints()
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[at(i)].PipeId;
        GetPipe(pipeId).Pump.SetEquivalentMassFlowRateFromVolumeFlowForAllPumpPoints(GetPipeFluid(pipeId).density_kgs_m3);
    }
}

} // namespace tessaran
