// Keeping the three forms of every fixed flow in step with the fluids: the
// set flows of flow controls and fixed-flow pumps, the component curves, and
// the demands of the nodes, each from the fluid of its zone. Loading a file,
// a change of fluid, the options and the solution methods call these.

#include "network/Network_Class.h"

#include <vector>

namespace tessaran {

void TNetwork::SetAllFlowControlEquivalentMassFlowRates()
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        TPipe &pipe = GetPipe(pipeId);
        if (pipe.FlowControlCount > 0)
            pipe.FlowControl.SetEquivalentFlowAndMassFlowRate(GetPipeFluid(pipeId), ConfigOptions.Atmosphere_bar_a,
                                                              ConfigOptions.GasFlowTemperaturePressureModel);
    }
}

void TNetwork::SetAllPumpAtSetFlowRateEquivalentMassFlowRates()
{
    // Every pipe owns a pump object, in use or not.
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        GetPipe(pipeId).Pump.SetEquivalentFlowAndMassFlowRate(GetPipeFluid(pipeId).density_kgs_m3);
    }
}

void TNetwork::SetAllComponentEquivalentMassFlowRates()
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[static_cast<std::size_t>(i)].PipeId;
        GetPipe(pipeId).ComponentPressure.SetEquivalentFlowAndMassFlowRate(GetPipeFluid(pipeId).density_kgs_m3);
    }
}

void TNetwork::SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit()
{
    // Every node's zone from one pass over the links.
    const std::vector<int> zones = NodeFluidZoneIndexes();
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const int zone = id <= MaxNodes ? zones[static_cast<std::size_t>(id)] : GetNodeFluidZoneIndex(id);
        const TFluid &fluid = FluidZones.at(static_cast<std::size_t>(zone)).Fluid;
        if (!fluid.FluidIsGas)
            continue;
        TNode &node = GetNode(id);
        node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(fluid, ConfigOptions.Atmosphere_bar_a,
                                                                         ConfigOptions.GasFlowTemperaturePressureModel);
        if (node.JointDemandUseFlowType == VolumeFlow)
            node.JointDemandUseFlowType = GasFlow;
    }
}

void TNetwork::SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit()
{
    // Every node's zone from one pass over the links.
    const std::vector<int> zones = NodeFluidZoneIndexes();
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const int zone = id <= MaxNodes ? zones[static_cast<std::size_t>(id)] : GetNodeFluidZoneIndex(id);
        const TFluid &fluid = FluidZones.at(static_cast<std::size_t>(zone)).Fluid;
        if (fluid.FluidIsGas)
            continue;
        TNode &node = GetNode(id);
        if (node.JointDemandUseFlowType == GasFlow)
            node.JointDemandUseFlowType = MassFlow;
        node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(fluid, ConfigOptions.Atmosphere_bar_a,
                                                                         ConfigOptions.GasFlowTemperaturePressureModel);
    }
}

} // namespace tessaran
