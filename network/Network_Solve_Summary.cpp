// The solve summary written to the results log after the solution checks:
// outcome, engine, balances reached, configuration counts, volumes, losses,
// pump heads and extreme node pressures and elevations, and the one block of
// advice about fixed-flow pumps and flow controls.

#include "network/Network_Class.h"

#include "units/Unit_Format.h"
#include "units/Units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

std::string idText(int id) { return std::to_string(id); }

} // namespace

namespace {

// The flow balance of a joint over the links at the given positions (those
// that do not touch it are passed over), in table order. zoneOfNode gives
// the joint's fluid zone when no pipe leaves it.
template <typename Positions, typename ZoneOfNode>
void flowContinuityKgSec(const TNetwork &network, int NodeId, const Positions &positions, ZoneOfNode zoneOfNode,
                         double &flowUncompressedContinuitySumKgSec, double &flowUncompressedDivPressDiffContinuitySum)
{
    flowUncompressedContinuitySumKgSec = 0;
    flowUncompressedDivPressDiffContinuitySum = 0;
    if (network.GetNode(NodeId).NodeType != Joint)
        return;
    bool touched = false;
    int zone = 0;
    double sum = 0, pressureSum = 0;
    for (const int i : positions) {
        const TNodeLink &link = network.NodeLinks[at(i)];
        if (link.FromNodeId != NodeId && link.ToNodeId != NodeId)
            continue;
        touched = true;
        const TPipe &pipe = network.GetPipe(link.PipeId);
        const double m = pipe.FlowUncompressed_m3s * network.GetPipeFluid(link.PipeId).density_kgs_m3;
        if (link.FromNodeId == NodeId) {
            sum -= m;
            zone = pipe.FluidZoneIndex;
        }
        if (link.ToNodeId == NodeId)
            sum += m;
        pressureSum += pipe.FlowKgsDivPressDiffBar;
    }
    if (!touched)
        return;
    if (zone < 1 || zone > TNetwork::MaxFluidZones)
        zone = zoneOfNode(NodeId);
    const TFluid &fluid = network.FluidZones[at(zone)].Fluid;
    const TNode &node = network.GetNode(NodeId);
    const TConfigOptions &options = network.ConfigOptions;
    sum -= node.GetJointDischarge_kgs(fluid, options.Atmosphere_bar_a, options.GasFlowTemperaturePressureModel);
    sum += node.GetJointSupply_kgs(fluid, options.Atmosphere_bar_a, options.GasFlowTemperaturePressureModel);
    flowUncompressedContinuitySumKgSec = sum;
    flowUncompressedDivPressDiffContinuitySum = pressureSum;
}

// The positions 1..count.
struct TAllPositions {
    int Count;
    struct TIterator {
        int Position;
        int operator*() const { return Position; }
        TIterator &operator++()
        {
            ++Position;
            return *this;
        }
        bool operator!=(const TIterator &other) const { return Position != other.Position; }
    };
    TIterator begin() const { return {1}; }
    TIterator end() const { return {Count + 1}; }
};

// The positions of a node's links, in table order.
struct TPositionRange {
    const int *First, *Last;
    const int *begin() const { return First; }
    const int *end() const { return Last; }
};

} // namespace

void TNetwork::calcFlowContinuityKgSec(int NodeId, double &flowUncompressedContinuitySumKgSec,
                                       double &flowUncompressedDivPressDiffContinuitySum) const
{
    flowContinuityKgSec(
        *this, NodeId, TAllPositions{NodeLinksCount}, [this](int id) { return GetNodeFluidZoneIndex(id); },
        flowUncompressedContinuitySumKgSec, flowUncompressedDivPressDiffContinuitySum);
}

void TNetwork::CheckNetworkFlowContinuity(double MaxAllowedFlowContinuitySumKgSec, bool &TheFlowContinuityOk,
                                          int &TheLargestFlowContinuityNodeId,
                                          double &TheLargestFlowContinuitySumKgSec) const
{
    TheLargestFlowContinuityNodeId = 0;
    TheLargestFlowContinuitySumKgSec = -1.0;
    TheFlowContinuityOk = true;
    // Each node's links, in table order, and the nodes' fluid zones, found
    // once for all the nodes.
    const auto valid = [](int id) { return id >= 1 && id <= MaxNodes; };
    std::vector<int> start(at(MaxNodes + 2), 0), positions;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (valid(link.FromNodeId))
            ++start[at(link.FromNodeId + 1)];
        if (valid(link.ToNodeId) && link.ToNodeId != link.FromNodeId)
            ++start[at(link.ToNodeId + 1)];
    }
    for (int id = 1; id <= MaxNodes + 1; ++id)
        start[at(id)] += start[at(id - 1)];
    positions.resize(at(start[at(MaxNodes + 1)]));
    {
        std::vector<int> next(start.begin(), start.end() - 1);
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[at(i)];
            if (valid(link.FromNodeId))
                positions[at(next[at(link.FromNodeId)]++)] = i;
            if (valid(link.ToNodeId) && link.ToNodeId != link.FromNodeId)
                positions[at(next[at(link.ToNodeId)]++)] = i;
        }
    }
    const std::vector<int> zones = NodeFluidZoneIndexes();
    const auto zoneOfNode = [&](int id) { return valid(id) ? zones[at(id)] : GetNodeFluidZoneIndex(id); };
    for (int id = GetNextNodeId(0); id > 0 && TheFlowContinuityOk; id = GetNextNodeId(id)) {
        double sum = 0, pressureSum = 0;
        if (valid(id))
            flowContinuityKgSec(*this, id, TPositionRange{positions.data() + start[at(id)], positions.data() + start[at(id + 1)]},
                                zoneOfNode, sum, pressureSum);
        else
            calcFlowContinuityKgSec(id, sum, pressureSum);
        const double balance = std::fabs(sum);
        if (balance > MaxAllowedFlowContinuitySumKgSec)
            TheFlowContinuityOk = false;
        if (balance > TheLargestFlowContinuitySumKgSec) {
            TheLargestFlowContinuitySumKgSec = balance;
            TheLargestFlowContinuityNodeId = id;
        }
    }
}

void TNetwork::GetMinAndMaxPressureAtAnyNode_bar_g(double &MinPressure_bar_g, std::string &MinPressureNodeString,
                                                   double &MaxPressure_bar_g, std::string &MaxPressureNodeString) const
{
    MinPressure_bar_g = 999999999.0;
    MaxPressure_bar_g = 0;
    MinPressureNodeString.clear();
    MaxPressureNodeString.clear();
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.Pressure_Bar_g < MinPressure_bar_g) {
            MinPressure_bar_g = node.Pressure_Bar_g;
            MinPressureNodeString = idText(id) + " (" + node.Name + ")";
        }
        if (node.Pressure_Bar_g > MaxPressure_bar_g) {
            MaxPressure_bar_g = node.Pressure_Bar_g;
            MaxPressureNodeString = idText(id) + " (" + node.Name + ")";
        }
    }
}

void TNetwork::GetSystemSummaryData(TSystemSummaryData &Data) const
{
    Data = TSystemSummaryData{};
    Data.PipesCount = NodeLinksCount;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        switch (node.NodeType) {
        case Joint:
            ++Data.JointsCount;
            Data.TotalFlowDemandsIn_m3s += node.JointSupply_m3s;
            Data.TotalFlowDemandsOut_m3s += node.JointDischarge_m3s;
            break;
        case Tank:
            ++Data.TanksCount;
            break;
        case EndPressure:
            ++Data.DemandPressuresCount;
            break;
        default:
            break;
        }
        if (node.Elevation_m < Data.LowestElevation_m) {
            Data.LowestElevation_m = node.Elevation_m;
            Data.LowestElevationNodeName = node.Name;
        }
        if (node.Elevation_m > Data.HighestElevation_m) {
            Data.HighestElevation_m = node.Elevation_m;
            Data.HighestElevationNodeName = node.Name;
        }
    }
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (pipe.PumpInUse())
            ++Data.PumpsCount;
        if (pipe.ComponentInUse())
            ++Data.ComponentsCount;
        if (pipe.FlowControlInUse()) {
            ++Data.FlowControlsCount;
            Data.TotalFlowControls_m3s += pipe.FlowControl.FlowControl_m3s;
        }
        Data.SystemVolume_m3 += pipe.InternalVolume_m3_m() * pipe.Length_m;
        Data.TotalFrictionLosses_mHd += pipe.PipeFrictionLoss_mHd_Fluid;
        Data.TotalFittingLosses_mHd += pipe.FittingsLoss_mHd_Fluid;
        Data.TotalComponentLosses_mHd += pipe.ComponentPressureLoss_mHd_Fluid;
        Data.TotalFlowControlLosses_mHd += pipe.FlowControlLoss_mHd_Fluid;
        if (pipe.PumpCount > 0)
            Data.TotalPumpHeadAdded_mHd += pipe.Pump_mHd_Fluid;
    }
    for (int loop = 1; loop <= PipeLoopsCount && loop <= MaxLoops; ++loop) {
        double loss_bar = 0;
        const int count = std::min(PipeLoopsPipeCount[at(loop)], static_cast<std::int32_t>(MaxLoopPipes));
        for (int k = 1; k <= count; ++k) {
            const int pipeId = std::abs(PipeLoops[at(loop)][at(k)]);
            if (pipeId < 1)
                continue;
            const TPipe &pipe = GetPipe(pipeId);
            const double head = pipe.PipeFrictionLoss_mHd_Fluid + pipe.FittingsLoss_mHd_Fluid +
                                pipe.ComponentPressureLoss_mHd_Fluid + pipe.FlowControlLoss_mHd_Fluid;
            loss_bar += convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G, head, GetPipeFluid(pipeId).density_kgs_m3);
        }
        if (loss_bar > Data.HighestLoopLoss_bar)
            Data.HighestLoopLoss_bar = loss_bar;
    }
}

void TNetwork::SolveLogSummary(TResultsLog &Log, bool solved, bool solutionOk)
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    const double zoneOneDensity = FluidZones[1].Fluid.density_kgs_m3;
    const TUnit pressureUnit = options.UnitOfPressure;
    const std::string pressurePlain = unitPlainName(pressureUnit);
    auto pressureDifference = [&](int decimals, double difference_bar) {
        return formatFixed(decimals, convertPressure(unt_Bar_G, pressureUnit, difference_bar, 0.0, zoneOneDensity));
    };

    // 1. The outcome.
    if (solved && solutionOk) {
        Log.Add(" ");
        Log.Add(" ");
        Log.Add("Final Solution Details:");
        LogAddBreakLine(Log);
        Log.Add("Calculation Engine:");
        Log.Add("Method of Solution: " + options.GetMethodOfSolutionString());
        Log.Add("Method of Calculation: " + options.GetMethodOfCalculationString());
        Log.Add("Friction Model: " + options.GetFrictionModelString());
        if (IsAllGasSystem() && options.IsMethodOfSolutionCompressibleEngine()) {
            Log.Add("Compressibility Model: " + options.GetCompressibilityModelString());
            Log.Add(" ");
            Log.Add("Standard Conditions => Flow Volumes @ Temperature & Pressure: " +
                    gasStandardConditionName(options.GasFlowTemperaturePressureModel));
            Log.Add(" ");
        }
    } else if (solved) {
        Log.Add(" ");
        Log.Add("System solved but solution is NOT VALID:");
        LogAddBreakLine(Log);
        Log.Add("INVALID SOLUTION using " + options.GetMethodOfSolutionAndCalculationString());
        Log.Add(" ");
    } else {
        Log.Add(" ");
        Log.Add("SYSTEM WAS NOT SOLVED.");
        Log.Add(" ");
        Log.Add("It may be that the system is over-controlled, or that flow rates cannot be met with the defined "
                "pressure conditions.");
    }

    // 2. The data.
    TSystemSummaryData data;
    GetSystemSummaryData(data);

    // 3. The balances reached.
    if (solved) {
        bool continuityOk = true;
        int largestNodeId = 0;
        double largestImbalance_kgs = 0;
        CheckNetworkFlowContinuity(1.0, continuityOk, largestNodeId, largestImbalance_kgs);
        Log.Add("    Flow Balance to: " +
                formatFixed(12, convertUnit(unt_kg_sec, options.UnitOfMassFlow, largestImbalance_kgs)) + " " +
                unitName(options.UnitOfMassFlow));
        Log.Add("    Node Pressure Balance to: " + pressureDifference(12, HighestPressureBalancingToleranceFinal_bar) +
                " " + pressurePlain);
        double loopBalance_bar = -1;
        switch (options.MethodOfSolution) {
        case LinearTheoryThenNewton:
            loopBalance_bar = options.CalculationParameters[NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar];
            break;
        case EstimateDischargeNewtonOnly:
            loopBalance_bar = options.CalculationParameters[NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar];
            break;
        case CompressibleFlowAdjust:
            loopBalance_bar = options.CalculationParameters[CompressibleFlowAdjustMinLoopHeadBalanceFinalBar];
            break;
        default:
            break;
        }
        if (loopBalance_bar >= 0 && data.HighestLoopLoss_bar > 0) {
            Log.Add(" ");
            Log.Add("    Largest 'Loop' Resistance Loss balanced is: " + pressureDifference(12, data.HighestLoopLoss_bar) +
                    " " + pressurePlain);
            Log.Add(" ");
            Log.Add("    Loop Pressure Balance (absolute) to: " + pressureDifference(12, loopBalance_bar) + " " +
                    pressurePlain);
            Log.Add(" ");
            Log.Add("    Loop Pressure Balance (percentage) to: " +
                    formatFixed(4, loopBalance_bar / data.HighestLoopLoss_bar * 100.0) + "%");
        }
    }

    // 4. Where an invalid solution is least accurate.
    if (solved && !solutionOk) {
        Log.Add(" ");
        Log.Add("*** Solution is only accurate to: " + pressureDifference(6, HighestPressureBalancingToleranceFinal_bar) +
                " " + pressurePlain);
        Log.Add(" ");
        const int pipeId = HighestPressureBalancingTolerancePipeId;
        Log.Add("*** Pipe Id " + idText(pipeId) +
                " has the largest inaccuracy when comparing pipe loss for the given flow");
        Log.Add("    against the diff in node pressures:");
        int fromNodeId = 0, toNodeId = 0;
        if (pipeId > 0)
            GetPipeNodes(pipeId, fromNodeId, toNodeId);
        if (pipeId > 0 && fromNodeId > 0 && toNodeId > 0) {
            const TPipe &pipe = GetPipe(pipeId);
            const double density = GetPipeFluid(pipeId).density_kgs_m3;
            const double Ps = GetNode(fromNodeId).Pressure_Bar_g;
            const double Pe = GetNode(toNodeId).Pressure_Bar_g;
            const double d = Ps - Pe;
            const double L = convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G,
                                                     pipe.TotalPressureLossWithoutElevationChange_mHd, density) +
                             pipe.PressureLossDueToElevationChange_Bar;
            auto differenceText = [&](double value) {
                return formatFixed(8, convertPressure(unt_Bar_G, pressureUnit, value, 0.0, density));
            };
            Log.Add("    Pressure at Node " + idText(fromNodeId) + " is " +
                    convertPressureAndFormat(unt_Bar_G, pressureUnit, Ps, atmosphere, density) + " " +
                    unitName(pressureUnit));
            Log.Add("    Pressure at Node " + idText(toNodeId) + " is " +
                    convertPressureAndFormat(unt_Bar_G, pressureUnit, Pe, atmosphere, density) + " " +
                    unitName(pressureUnit));
            Log.Add("    The Node Pressure Diff = " + differenceText(d) + " " + pressurePlain);
            Log.Add("    Pipe " + idText(pipeId) + " Pressure Loss = " + differenceText(L) + " " + pressurePlain +
                    " (out by " + differenceText(d - L) + " " + pressurePlain + ")");
            if (Ps - L + atmosphere < 1e-7)
                Log.Add("Pressure at end of pipe would be below zero bar absolute, which is not physically possible.");
        }
        Log.Add(" ");
        Log.Add("If the inaccuracy is small enough to be acceptable then the specified final balance accuracy can be "
                "increased on Calculations tab of Configuration Options screen.");
        Log.Add(" ");
    }

    // 5. The configuration.
    Log.Add(" ");
    LogAddBreakLine(Log);
    logSummaryConfigurationAndExtremes(Log, data, solved);
}

void TNetwork::LogOneTimeMessages(TResultsLog &Log) const
{
    if (!FixedFlowRatePumpWarning)
        return;
    Log.Add(" ");
    LogAddBreakLine(Log);
    Log.Add("Items for consideration:");
    Log.Add(" ");
    Log.Add("Note: If your system contains a Pump set to a fixed flow rate and you have a number of branch lines, all "
            "with a flow control on except for one branch line  without a flow control (where the flow will be set "
            "anyway by the total flow from the pump minus the sum of the flows in each of the other branch lines) "
            "then try one of the following options:");
    Log.Add("a) remove the flow control from one of the branch lines and replace it with a flow control on a branch "
            "line that currently has no flow control. Ideally, the branch line that has the maximum pressure loss to "
            "overcome should contain no flow control, when you are using a fixed flow pump with a set flow.");
    Log.Add("OR");
    Log.Add("b) Change the pump type to be a Fixed Head Pump and set the fixed pressure to be added by the pump "
            "(rather than setting a fixed flow). If necessary, you can now also place a flow control on every branch "
            "line. If the system will not solve then you will need to increase the head added by the pump.");
}

// The configuration, volumes, and for a solved system the losses, pump
// heads and extreme pressures and elevations: the closing part of every
// solve summary.
void TNetwork::logSummaryConfigurationAndExtremes(TResultsLog &Log, const TSystemSummaryData &data, bool solved) const
{
    const TConfigOptions &options = ConfigOptions;
    const double atmosphere = options.Atmosphere_bar_a;
    const double zoneOneDensity = FluidZones[1].Fluid.density_kgs_m3;
    Log.Add("Configuration:");
    Log.Add(" ");
    Log.Add("Pipes: " + idText(data.PipesCount));
    Log.Add("Tanks: " + idText(data.TanksCount));
    Log.Add("Join Points: " + idText(data.JointsCount));
    Log.Add("Demand Pressures: " + idText(data.DemandPressuresCount));
    Log.Add("Pumps: " + idText(data.PumpsCount));
    Log.Add("Components: " + idText(data.ComponentsCount));
    Log.Add("Control Valves: " + idText(data.FlowControlsCount));

    // 6. Volumes.
    const TUnit flowUnit = options.UnitOfFlow;
    if (FluidZonesCount == 1) {
        Log.Add("Overall Volumes:");
        Log.Add("Flow Demands In: " + convertAndFormat(unt_m3_sec, flowUnit, data.TotalFlowDemandsIn_m3s) + " " +
                unitName(flowUnit));
        Log.Add("Flow Demands Out: " + convertAndFormat(unt_m3_sec, flowUnit, data.TotalFlowDemandsOut_m3s) + " " +
                unitName(flowUnit));
        Log.Add("Flow Controls: " + convertAndFormat(unt_m3_sec, flowUnit, data.TotalFlowControls_m3s) + " " +
                unitName(flowUnit));
    }
    Log.Add("System Volume: " + convertAndFormat(unt_m3, options.UnitOfVolume, data.SystemVolume_m3) + " " +
            unitName(options.UnitOfVolume) + " (does not include any closed pipes)");
    Log.Add(" ");

    if (!solved)
        return;

    // 7. Losses, pump heads, extreme pressures and elevations.
    const TUnit lossUnit = options.UnitOfPressureLoss;
    if (FluidZonesCount == 1) {
        auto lossText = [&](double head_mHd) {
            return formatFixed(6, convertPressure(unt_m_hd_fluid, lossUnit, head_mHd, 0.0, zoneOneDensity)) + " " +
                   unitPlainName(lossUnit);
        };
        Log.Add("Total Friction Losses in all pipes is: " + lossText(data.TotalFrictionLosses_mHd));
        Log.Add("Total Fitting Losses in all pipes is: " + lossText(data.TotalFittingLosses_mHd));
        Log.Add("Total Component Losses in all pipes is: " + lossText(data.TotalComponentLosses_mHd));
        Log.Add("Total Control Valve Losses in all pipes is: " + lossText(data.TotalFlowControlLosses_mHd));
    }
    if (data.PumpsCount > 0) {
        Log.Add(" ");
        // Every link in table order (what GetNextPipeId walks, one step at a time).
        for (int k = 1; k <= NodeLinksCount; ++k) {
            const int id = NodeLinks[at(k)].PipeId;
            if (id <= 0)
                break;
            const TPipe &pipe = GetPipe(id);
            if (pipe.PumpCount != 1)
                continue;
            Log.Add("Pipe " + idText(id) + ": Pump Head Added is " +
                    formatFixed(3, convertPressure(unt_m_hd_fluid, lossUnit, pipe.Pump_mHd_Fluid, 0.0,
                                                   GetPipeFluid(id).density_kgs_m3)) +
                    " " + unitName(lossUnit));
        }
        if (data.PumpsCount > 1)
            Log.Add("Note: Systems that contain pumps in parallel have multiple paths of flow that have to be moved, "
                    "and therefore although the elevation change across the whole system may only be 'X' m Head, "
                    "each pump may be working against this and hence the total sum of all pump heads can be much "
                    "larger than the elevation change along one particular path of flow.");
    }
    double minPressure = 0, maxPressure = 0;
    std::string minNode, maxNode;
    GetMinAndMaxPressureAtAnyNode_bar_g(minPressure, minNode, maxPressure, maxNode);
    const TUnit surfaceUnit = options.UnitOfSurfacePressure;
    auto surfaceText = [&](double pressure_bar_g) {
        return formatFixed(6, convertPressure(unt_Bar_G, surfaceUnit, pressure_bar_g, atmosphere, zoneOneDensity)) +
               " " + unitName(surfaceUnit);
    };
    Log.Add(" ");
    Log.Add("Lowest Pressure at any node is: " + surfaceText(minPressure) + " (" + minNode + ")");
    Log.Add("Highest Pressure at any node is: " + surfaceText(maxPressure) + " (" + maxNode + ")");
    Log.Add(" ");
    const TUnit elevationUnit = options.UnitOfElevation;
    Log.Add("Lowest Elevation of any node is: " + convertAndFormat(unt_m, elevationUnit, data.LowestElevation_m) + " " +
            unitName(elevationUnit) + " (" + data.LowestElevationNodeName + ")");
    Log.Add("Highest Elevation of any node is: " + convertAndFormat(unt_m, elevationUnit, data.HighestElevation_m) +
            " " + unitName(elevationUnit) + " (" + data.HighestElevationNodeName + ")");
    Log.Add(" ");
}

} // namespace tessaran
