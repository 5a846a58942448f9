#pragma once
// Liquid networks for the loop-finder and equation tests: tanks, joints with
// demands and pipes with real dimensions.

#include "network/Network_Class.h"
#include "support/Scripted_User_Interface.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaran::test {

class SolverNetwork {
public:
    SolverNetwork() : net(std::make_unique<TNetwork>()) { net->UserInterface = &ui; }

    int Tank(double elevation_m = 0, double level_m = 0) { return node(Tank_, elevation_m, 0, level_m); }
    int EndNode(double elevation_m = 0) { return node(EndPressure, elevation_m, 0, 0); }
    int Joint(double elevation_m = 0, double discharge_m3s = 0) { return node(Joint_, elevation_m, discharge_m3s, 0); }

    int Pipe(int from, int to, double diameter_m = 0.1, double length_m = 100, double roughness_m = 4.5e-5)
    {
        TPipe pipe;
        pipe.InnerDiameter_m = diameter_m;
        pipe.Length_m = length_m;
        pipe.InnerRoughness_m = roughness_m;
        pipe.FluidZoneIndex = 1;
        return net->AddPipeLink(from, to, pipe);
    }

    // The stored loops as lists of pipe ids.
    std::vector<std::vector<int>> Loops() const
    {
        std::vector<std::vector<int>> loops;
        for (int i = 1; i <= net->PipeLoopsCount; ++i) {
            std::vector<int> pipes;
            for (int k = 1; k <= net->PipeLoopsPipeCount[static_cast<std::size_t>(i)]; ++k)
                pipes.push_back(net->PipeLoops[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)]);
            loops.push_back(pipes);
        }
        return loops;
    }

    void FindLoops()
    {
        net->PipeLoopsRemoveAllLoops();
        net->PipeLoopsGenerateAllLoops(log);
    }

    std::unique_ptr<TNetwork> net;
    TScriptedUserInterface ui;
    TResultsLog log;

private:
    static constexpr TNodeType Tank_ = TNodeType::Tank;
    static constexpr TNodeType Joint_ = TNodeType::Joint;

    int node(TNodeType type, double elevation, double discharge, double level)
    {
        TNode node;
        node.NodeType = type;
        node.x = 40 * ++nodes_;
        node.y = 40;
        node.Name = "N" + std::to_string(nodes_);
        node.Elevation_m = elevation;
        node.LiquidLevel_m = level;
        node.JointDischarge_m3s = discharge;
        return net->AddNode(node);
    }
    int nodes_ = 0;
};

} // namespace tessaran::test
