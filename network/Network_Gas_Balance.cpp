// What the gas methods need around their iterations: the zone densities
// adjusted to the pressures of the system and put back afterwards, the mass
// balance of every joint, and the entry and exit velocities of gas pipes,
// whose density changes along their length.

#include "network/Network_Class.h"

#include "units/Gas_Calculations.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

double flowArea_m2(const TPipe &pipe)
{
    return std::numbers::pi * pipe.InnerDiameter_m * pipe.InnerDiameter_m / 4.0;
}

} // namespace

const TFluid &TNetwork::fluidOfZone(int FluidZoneIndex) const
{
    if (FluidZoneIndex < 1 || FluidZoneIndex > MaxFluidZones)
        FluidZoneIndex = 1;
    return FluidZones[at(FluidZoneIndex)].Fluid;
}

double TNetwork::pipeMassFlow_kgs(int ThePipeId) const
{
    return GetPipe(ThePipeId).FlowUncompressed_m3s * GetPipeFluid(ThePipeId).density_kgs_m3;
}

// --- Zone data kept aside and adjusted -------------------------------------------

void TNetwork::SaveCurrentFluidZonesData()
{
    for (int zone = 1; zone <= FluidZonesCount; ++zone) {
        FluidZonesSaved[at(zone)].Fluid.CopyFluid(FluidZones[at(zone)].Fluid);
        FluidZonesSaved[at(zone)].Color = FluidZones[at(zone)].Color;
        FluidZonesSaved[at(zone)].ShowColor = FluidZones[at(zone)].ShowColor;
    }
}

void TNetwork::RestoreCurrentFluidZonesData()
{
    for (int zone = 1; zone <= FluidZonesCount; ++zone) {
        FluidZones[at(zone)].Fluid.CopyFluid(FluidZonesSaved[at(zone)].Fluid);
        FluidZones[at(zone)].Color = FluidZonesSaved[at(zone)].Color;
        FluidZones[at(zone)].ShowColor = FluidZonesSaved[at(zone)].ShowColor;
    }
}

void TNetwork::adjustFluidZoneDensities(double LowestPressure_bar_g, double HighestPressure_bar_g)
{
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    const double average = calcAveragePressure(LowestPressure_bar_g, HighestPressure_bar_g, atmosphere);
    for (int zone = 1; zone <= FluidZonesCount; ++zone) {
        TFluid &fluid = FluidZones[at(zone)].Fluid;
        fluid.density_kgs_m3 =
            calcGasDensity(fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K, atmosphere, average,
                           fluid.degrees_K);
        fluid.pressure_bar_g = average;
    }
}

void TNetwork::AdjustCurrentFluidZonesDataBasedOnFixedPressureReferenceInSystem()
{
    double lowest = 1e13, highest = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.NodeType != Tank && node.NodeType != EndPressure)
            continue;
        lowest = std::min(lowest, node.Pressure_Bar_g);
        highest = std::max(highest, node.Pressure_Bar_g);
    }
    adjustFluidZoneDensities(lowest, highest);
}

void TNetwork::AdjustCurrentFluidZonesDataBasedOnPressureInSystem()
{
    double lowest = 1e13, highest = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const double pressure = GetNode(id).Pressure_Bar_g;
        lowest = std::min(lowest, pressure);
        highest = std::max(highest, pressure);
    }
    lowest = std::max(lowest, -ConfigOptions.Atmosphere_bar_a);
    adjustFluidZoneDensities(lowest, highest);
}

void TNetwork::AdjustVolumetricFlowRatesToMatchDensityInSavedFluidZonesData()
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        int zone = pipe.FluidZoneIndex;
        if (zone < 1 || zone > MaxFluidZones)
            zone = 1;
        const double saved = FluidZonesSaved[at(zone)].Fluid.density_kgs_m3;
        if (saved > 0)
            pipe.FlowUncompressed_m3s = pipe.FlowUncompressed_m3s * fluidOfZone(zone).density_kgs_m3 / saved;
        pipe.FlowGuessUncompressed_m3s = pipe.FlowUncompressed_m3s;
    }
}

void TNetwork::AdjustInitialFlowGuessesBasedOnPressureInSystem()
{
    double lowest = 1e13, highest = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.NodeType != Tank && node.NodeType != EndPressure)
            continue;
        lowest = std::min(lowest, node.Pressure_Bar_g);
        highest = std::max(highest, node.Pressure_Bar_g);
    }
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    const double c = ((lowest + highest) / 2 + atmosphere) / atmosphere;
    if (!(c > 0) || !std::isfinite(c))
        return;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        pipe.FlowUncompressed_m3s /= c;
        pipe.FlowGuessUncompressed_m3s = pipe.FlowUncompressed_m3s / c;
    }
}

// --- Joint mass balance -----------------------------------------------------------

void TNetwork::SetNodeFluidZoneIndexArray()
{
    for (int id = 1; id <= MaxNodes; ++id) {
        NodeFluidZoneIndex[at(id)] = 0;
        NodeContinuityIsolated[at(id)] = true;
    }
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        NodeFluidZoneIndex[at(id)] = GetNodeFluidZoneIndex(id);
}

void TNetwork::SetNodeFlowContinuityKgSecArray()
{
    for (int id = 1; id <= MaxNodes; ++id) {
        NodeContinuityFlowKgs[at(id)] = 0;
        NodeFlowKgsDivPressDiffBar[at(id)] = 0;
        NodeContinuityIsolated[at(id)] = true;
    }
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        const double m = pipeMassFlow_kgs(link.PipeId);
        const double perBar = GetPipe(link.PipeId).FlowKgsDivPressDiffBar;
        NodeContinuityIsolated[at(link.FromNodeId)] = false;
        NodeContinuityIsolated[at(link.ToNodeId)] = false;
        NodeContinuityFlowKgs[at(link.FromNodeId)] -= m;
        NodeContinuityFlowKgs[at(link.ToNodeId)] += m;
        NodeFlowKgsDivPressDiffBar[at(link.FromNodeId)] += perBar;
        NodeFlowKgsDivPressDiffBar[at(link.ToNodeId)] += perBar;
    }
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    const TGasFlowTemperaturePressureModel model = ConfigOptions.GasFlowTemperaturePressureModel;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        if (NodeContinuityIsolated[at(id)])
            continue;
        const TNode &node = GetNode(id);
        if (node.NodeType == Tank || node.NodeType == EndPressure) {
            NodeContinuityFlowKgs[at(id)] = 0;
        } else if (node.NodeType == Joint) {
            const TFluid &fluid = fluidOfZone(NodeFluidZoneIndex[at(id)]);
            NodeContinuityFlowKgs[at(id)] +=
                node.GetJointSupply_kgs(fluid, atmosphere, model) - node.GetJointDischarge_kgs(fluid, atmosphere, model);
        }
    }
}

void TNetwork::getNodeFlowContinuityKgSec(int NodeId, double &flowUncompressedContinuitySumKgSec,
                                          double &flowUncompressedDivPressDiffContinuitySum) const
{
    flowUncompressedContinuitySumKgSec = NodeContinuityFlowKgs[at(NodeId)];
    flowUncompressedDivPressDiffContinuitySum = NodeFlowKgsDivPressDiffBar[at(NodeId)];
}

void TNetwork::calcFlowContinuityAtJointOrTankNodesKgSec(int NodeId, double &flowUncompressedContinuitySumKgSec) const
{
    flowUncompressedContinuitySumKgSec = 0;
    bool touched = false;
    int lastOutZone = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.ToNodeId == NodeId) {
            flowUncompressedContinuitySumKgSec += pipeMassFlow_kgs(link.PipeId);
            touched = true;
        }
        if (link.FromNodeId == NodeId) {
            flowUncompressedContinuitySumKgSec -= pipeMassFlow_kgs(link.PipeId);
            lastOutZone = GetPipe(link.PipeId).FluidZoneIndex;
            touched = true;
        }
    }
    if (!touched) {
        flowUncompressedContinuitySumKgSec = 0;
        return;
    }
    const TNode &node = GetNode(NodeId);
    const TFluid &fluid = fluidOfZone(lastOutZone > 0 ? lastOutZone : GetNodeFluidZoneIndex(NodeId));
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    const TGasFlowTemperaturePressureModel model = ConfigOptions.GasFlowTemperaturePressureModel;
    flowUncompressedContinuitySumKgSec +=
        node.GetJointSupply_kgs(fluid, atmosphere, model) - node.GetJointDischarge_kgs(fluid, atmosphere, model);
}

void TNetwork::CheckNetworkGasFlowContinuity(double MaxAllowedFlowContinuitySumKgSec, bool &TheFlowContinuityOk,
                                             int &TheLargestFlowContinuityNodeId,
                                             double &TheLargestFlowContinuitySumKgSec)
{
    SetNodeFlowContinuityKgSecArray();
    TheFlowContinuityOk = true;
    TheLargestFlowContinuityNodeId = 0;
    TheLargestFlowContinuitySumKgSec = -1.0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const double balance = std::fabs(NodeContinuityFlowKgs[at(id)]);
        // A balance that is not a number is never within the limit.
        if (!(balance <= MaxAllowedFlowContinuitySumKgSec))
            TheFlowContinuityOk = false;
        if (balance > TheLargestFlowContinuitySumKgSec) {
            TheLargestFlowContinuitySumKgSec = balance;
            TheLargestFlowContinuityNodeId = id;
        }
    }
}

// --- Velocities ----------------------------------------------------------------------

void TNetwork::GetGasFlowEntryAndExitVelocity_ms(int ThePipeId, double &EntryVelocity_ms, double &ExitVelocity_ms,
                                                 double &ExitFlowActual_m3_sec) const
{
    const TPipe &pipe = GetPipe(ThePipeId);
    const TFluid &fluid = GetPipeFluid(ThePipeId);
    const double area = flowArea_m2(pipe);
    EntryVelocity_ms = 0;
    ExitVelocity_ms = 0;
    ExitFlowActual_m3_sec = 0;
    if (!fluid.FluidIsGas) {
        ExitFlowActual_m3_sec = pipe.FlowUncompressed_m3s;
        if (area > 0)
            EntryVelocity_ms = ExitVelocity_ms = pipe.FlowUncompressed_m3s / area;
        return;
    }
    int fromNodeId = 0, toNodeId = 0;
    GetFromAndToNodeIds(ThePipeId, fromNodeId, toNodeId);
    if (fromNodeId < 1 || toNodeId < 1)
        return;
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    auto densityAt = [&](double pressure_bar_g) {
        const double z =
            calcCompressibilityZ(ConfigOptions.ZCompressibilityModel, pressure_bar_g, fluid.degrees_K,
                                 fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K,
                                 ConfigOptions.ZCompressibilityFactor);
        return calcGasDensityAtPressure(fluid.density_kgs_m3, fluid.pressure_bar_g, z, pressure_bar_g, atmosphere);
    };
    const double m = pipe.FlowUncompressed_m3s * fluid.density_kgs_m3;
    const double entryDensity = densityAt(GetNode(fromNodeId).Pressure_Bar_g);
    const double exitDensity = densityAt(GetNode(toNodeId).Pressure_Bar_g);
    if (exitDensity > 0)
        ExitFlowActual_m3_sec = m / exitDensity;
    if (area > 0) {
        if (entryDensity > 0)
            EntryVelocity_ms = m / entryDensity / area;
        if (exitDensity > 0)
            ExitVelocity_ms = m / exitDensity / area;
    }
}

void TNetwork::SetAllPipeEntryAndExitVelocities()
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        double exitFlow = 0;
        GetGasFlowEntryAndExitVelocity_ms(NodeLinks[at(i)].PipeId, pipe.EntryVelocity_ms, pipe.ExitVelocity_ms,
                                          exitFlow);
    }
}

double TNetwork::GetMaxFlowInAnyPipe_m3s() const
{
    double largest = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        largest = std::max(largest, GetPipe(NodeLinks[at(i)].PipeId).FlowUncompressed_m3s);
    return largest;
}

void TNetwork::GetMinMaxDischargeVelocity_ms(double &MinDischargeVelocity_ms, double &MaxDischargeVelocity_ms) const
{
    MinDischargeVelocity_ms = 1e13;
    MaxDischargeVelocity_ms = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        const TNodeType endType = GetNode(link.ToNodeId).NodeType;
        if (endType != Tank && endType != EndPressure)
            continue;
        const double velocity = GetPipe(link.PipeId).Velocity_ms;
        MinDischargeVelocity_ms = std::min(MinDischargeVelocity_ms, velocity);
        MaxDischargeVelocity_ms = std::max(MaxDischargeVelocity_ms, velocity);
    }
}

} // namespace tessaran
