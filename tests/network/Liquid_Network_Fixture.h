#pragma once
// Liquid networks for the solver tests: real pipes between named nodes, with
// valves and pumps, and a snapshot of everything a calculation must leave as
// it found it (its results aside).

#include "network/Network_Class.h"
#include "platform/Stream.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaran::test {

inline int AddSolverNode(TNetwork &network, const std::string &name, TNodeType type, double elevation_m = 0,
                         double discharge_m3s = 0, double supply_m3s = 0)
{
    TNode node;
    node.Name = name;
    node.NodeType = type;
    node.Elevation_m = elevation_m;
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointDischarge_m3s = discharge_m3s;
    node.JointSupply_m3s = supply_m3s;
    node.x = 100 * network.GetNodeCount();
    node.y = 40;
    const int id = network.AddNode(node);
    network.GetNode(id).SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        network.FluidZones[1].Fluid, network.ConfigOptions.Atmosphere_bar_a,
        network.ConfigOptions.GasFlowTemperaturePressureModel);
    return id;
}

inline int AddTank(TNetwork &network, const std::string &name, double elevation_m, double level_m = 0,
                   double surface_bar_g = 0)
{
    const int id = AddSolverNode(network, name, Tank, elevation_m);
    network.GetNode(id).LiquidLevel_m = level_m;
    network.GetNode(id).Surface_Pressure_Bar_g = surface_bar_g;
    return id;
}

inline int AddSolverPipe(TNetwork &network, int fromNodeId, int toNodeId, double length_m = 100,
                         double diameter_m = 0.1, const std::string &name = "")
{
    TPipe pipe;
    pipe.Name = name;
    pipe.Length_m = length_m;
    pipe.InnerDiameter_m = diameter_m;
    pipe.InnerRoughness_m = 0.000046;
    pipe.FluidZoneIndex = 1;
    return network.AddPipeLink(fromNodeId, toNodeId, pipe);
}

inline void AddValve(TNetwork &network, int pipeId, TControlType type, double flow_m3s, double setting_bar_g)
{
    TPipe &pipe = network.GetPipe(pipeId);
    pipe.FlowControlCount = 1;
    pipe.FlowControlUseInCalc = true;
    pipe.FlowControl.ControlType = type;
    pipe.FlowControl.FlowControlFlowType = VolumeFlow;
    pipe.FlowControl.FlowControl_m3s = flow_m3s;
    pipe.FlowControl.RegulatedPressure_Bar_g = setting_bar_g;
    pipe.FlowControl.SetEquivalentFlowAndMassFlowRate(network.FluidZones[1].Fluid,
                                                      network.ConfigOptions.Atmosphere_bar_a,
                                                      network.ConfigOptions.GasFlowTemperaturePressureModel);
}

inline void AddFixedFlowPump(TNetwork &network, int pipeId, double flow_m3s)
{
    TPipe &pipe = network.GetPipe(pipeId);
    pipe.PumpCount = 1;
    pipe.PumpUseInCalc = true;
    pipe.Pump.PumpType = PumpFixedFlow;
    pipe.Pump.SetFlowRate_m3s = flow_m3s;
    pipe.Pump.SetEquivalentFlowAndMassFlowRate(network.FluidZones[1].Fluid.density_kgs_m3);
}

// Everything the user entered, node and pipe tables and links, as text and
// bytes; results (pressures, flows, losses) are left out.
inline std::vector<std::string> InputSnapshot(const TNetwork &network)
{
    std::vector<std::string> lines;
    lines.push_back("nodes " + std::to_string(network.GetNodeCount()) + " pipes " +
                    std::to_string(network.GetPipeCount()));
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        TNode node;
        node.Copy(network.GetNode(id));
        node.Pressure_Bar_g = 0;
        node.IsPressureSet = false;
        TMemoryStream stream;
        node.Save(stream, "7.40");
        lines.push_back("node " + std::to_string(id) + " " +
                        std::string(stream.Bytes().begin(), stream.Bytes().end()));
    }
    auto links = [&](const char *title, const TNetwork::TNodeLinks &table, int count) {
        std::string text = std::string(title) + " " + std::to_string(count) + ":";
        for (int i = 1; i <= count; ++i) {
            const TNodeLink &link = table[static_cast<std::size_t>(i)];
            text += " " + std::to_string(link.FromNodeId) + ">" + std::to_string(link.ToNodeId) + "#" +
                    std::to_string(link.PipeId);
        }
        lines.push_back(text);
    };
    links("links", network.NodeLinks, network.NodeLinksCount);
    links("closed", network.NodeLinksClosedPipe, network.NodeLinksClosedPipeCount);
    links("fixed-flow pumps", network.NodeLinksPumpAtSetFlowRate, network.NodeLinksPumpAtSetFlowRateCount);
    links("prevent backflow", network.NodeLinksPreventBackflow, network.NodeLinksPreventBackflowCount);
    lines.push_back("flow controls " + std::to_string(network.NodeLinksFlowControlCount));
    for (int i = 1; i <= network.NodeLinksCount; ++i) {
        const int id = network.NodeLinks[static_cast<std::size_t>(i)].PipeId;
        const TPipe &pipe = network.GetPipe(id);
        const TFlowControl &valve = pipe.FlowControl;
        lines.push_back("pipe " + std::to_string(id) + " " + pipe.Name + " L=" + std::to_string(pipe.Length_m) +
                        " D=" + std::to_string(pipe.InnerDiameter_m) + " zone=" + std::to_string(pipe.FluidZoneIndex) +
                        " valve=" + std::to_string(pipe.FlowControlCount) + "/" +
                        std::to_string(static_cast<int>(valve.ControlType)) + "/" +
                        std::to_string(valve.FlowControl_m3s) + "/" + std::to_string(valve.RegulatedPressure_Bar_g) +
                        " pump=" + std::to_string(pipe.PumpCount) + "/" +
                        std::to_string(static_cast<int>(pipe.Pump.PumpType)) + "/" +
                        std::to_string(pipe.Pump.SetFlowRate_m3s) + " backflow=" + std::to_string(pipe.PreventBackflow));
    }
    return lines;
}

} // namespace tessaran::test
