#pragma once
// Small networks built by program for the network tests. Networks are large
// (fixed tables of 1000 items), so they live on the heap.

#include "network/Network_Class.h"

#include <memory>
#include <vector>

namespace tessaran::test {

inline std::unique_ptr<TNetwork> NewNetwork() { return std::make_unique<TNetwork>(); }

inline int AddJoint(TNetwork &network, int x, int y, TNodeType type = Joint)
{
    TNode node;
    node.NodeType = type;
    node.x = x;
    node.y = y;
    return network.AddNode(node);
}

inline int AddPipeBetween(TNetwork &network, int fromNodeId, int toNodeId, int fluidZone = 1)
{
    TPipe pipe;
    pipe.FluidZoneIndex = fluidZone;
    return network.AddPipeLink(fromNodeId, toNodeId, pipe);
}

// The pipe ids of the active links in iteration order.
inline std::vector<int> ActivePipes(const TNetwork &network)
{
    std::vector<int> ids;
    for (int id = network.GetNextPipeId(0); id > 0; id = network.GetNextPipeId(id))
        ids.push_back(id);
    return ids;
}

inline std::vector<int> ClosedPipes(const TNetwork &network)
{
    std::vector<int> ids;
    for (int id = network.GetNextClosedPipeId(0); id > 0; id = network.GetNextClosedPipeId(id))
        ids.push_back(id);
    return ids;
}

} // namespace tessaran::test
