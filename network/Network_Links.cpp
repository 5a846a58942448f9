// The link tables that join pipes to nodes, and the topology queries of the
// drawing, the dialogs, the checks and the solver.

#include "network/Network_Class.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

bool touches(const TNodeLink &link, int nodeId) { return link.FromNodeId == nodeId || link.ToNodeId == nodeId; }

} // namespace

int TNetwork::findLink(const TNodeLinks &links, int count, int pipeId)
{
    for (int i = 1; i <= count; ++i)
        if (links[at(i)].PipeId == pipeId)
            return i;
    return 0;
}

void TNetwork::removeLinkAt(TNodeLinks &links, int &count, int position)
{
    for (int i = position; i < count; ++i)
        links[at(i)] = links[at(i + 1)];
    --count;
}

// --- Adding and removing -----------------------------------------------------------

bool TNetwork::AddLink(int TheFromNodeId, int TheToNodeId, int ThePipeId)
{
    if (NodeLinksCount >= MaxLinks)
        return false;
    ++NodeLinksCount;
    NodeLinks[at(NodeLinksCount)] = {TheFromNodeId, TheToNodeId, ThePipeId};
    return true;
}

bool TNetwork::AddLinkPreventBackflow(int TheFromNodeId, int TheToNodeId, int ThePipeId)
{
    if (NodeLinksPreventBackflowCount >= MaxLinks)
        return false;
    ++NodeLinksPreventBackflowCount;
    NodeLinksPreventBackflow[at(NodeLinksPreventBackflowCount)] = {TheFromNodeId, TheToNodeId, ThePipeId};
    return true;
}

int TNetwork::AddPipeLink(int TheFromNodeId, int TheToNodeId, const TPipe &ThePipe)
{
    const int pipeId = AddPipe(ThePipe);
    if (!AddLink(TheFromNodeId, TheToNodeId, pipeId)) {
        RemovePipe(pipeId);
        return -1;
    }
    return pipeId;
}

void TNetwork::RemoveLink(int ThePipeId)
{
    const int position = findLink(NodeLinks, NodeLinksCount, ThePipeId);
    if (position > 0)
        removeLinkAt(NodeLinks, NodeLinksCount, position);
    else
        RemoveLinkClosedPipe(ThePipeId);
}

void TNetwork::RemoveLinkClosedPipe(int ThePipeId)
{
    const int position = findLink(NodeLinksClosedPipe, NodeLinksClosedPipeCount, ThePipeId);
    if (position > 0)
        removeLinkAt(NodeLinksClosedPipe, NodeLinksClosedPipeCount, position);
}

void TNetwork::RemovePipeLink(int ThePipeId)
{
    RemoveLink(ThePipeId);
    RemovePipe(ThePipeId);
}

void TNetwork::RemoveAllPipeLinksFromToNode(int TheNodeId)
{
    int i = 1;
    while (i <= NodeLinksCount) {
        const TNodeLink link = NodeLinks[at(i)];
        if (touches(link, TheNodeId)) {
            removeLinkAt(NodeLinks, NodeLinksCount, i);
            RemovePipe(link.PipeId);
        } else {
            ++i;
        }
    }
    i = 1;
    while (i <= NodeLinksClosedPipeCount) {
        const TNodeLink link = NodeLinksClosedPipe[at(i)];
        if (touches(link, TheNodeId)) {
            removeLinkAt(NodeLinksClosedPipe, NodeLinksClosedPipeCount, i);
            RemovePipe(link.PipeId);
        } else {
            ++i;
        }
    }
}

void TNetwork::RemovePipeLinkBetweenNodes(int TheFromNodeId, int TheToNodeId)
{
    auto joins = [&](const TNodeLink &link) {
        return (link.FromNodeId == TheFromNodeId && link.ToNodeId == TheToNodeId) ||
               (link.FromNodeId == TheToNodeId && link.ToNodeId == TheFromNodeId);
    };
    int pipeId = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (joins(NodeLinks[at(i)]))
            pipeId = NodeLinks[at(i)].PipeId;
    if (pipeId == 0)
        for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
            if (joins(NodeLinksClosedPipe[at(i)]))
                pipeId = NodeLinksClosedPipe[at(i)].PipeId;
    if (pipeId > 0)
        RemovePipeLink(pipeId);
}

void TNetwork::ReversePipeLink(int ThePipeId)
{
    const int position = findLink(NodeLinks, NodeLinksCount, ThePipeId);
    if (position > 0)
        std::swap(NodeLinks[at(position)].FromNodeId, NodeLinks[at(position)].ToNodeId);
}

// --- Closing and opening ------------------------------------------------------------

void TNetwork::RemoveNodeLinkAddClosedPipeLink(int ThePipeId)
{
    const int position = findLink(NodeLinks, NodeLinksCount, ThePipeId);
    if (position == 0)
        return;
    const TNodeLink link = NodeLinks[at(position)];
    ++NodeLinksClosedPipeCount;
    NodeLinksClosedPipe[at(NodeLinksClosedPipeCount)] = link;

    TPipe &pipe = GetPipe(ThePipeId);
    pipe.FlowGuessUncompressed_m3s = 0;
    pipe.FlowUncompressed_m3s = 0;
    const TNode &from = GetNode(link.FromNodeId);
    const TNode &to = GetNode(link.ToNodeId);
    const TConfigOptions &options = ConfigOptions;
    pipe.CalcPipeInfo(GetPipeFluid(ThePipeId), options.UnitOfLength, CurrentMethodOfSolution,
                      options.MethodOfCalculationCompressible, GasModel_Std_Temp_degrees_k,
                      GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE, options.ZCompressibilityModel,
                      options.ZCompressibilityFactor, from.Elevation_m, to.Elevation_m, from.Pressure_Bar_g,
                      to.Pressure_Bar_g, options.Atmosphere_bar_a);

    removeLinkAt(NodeLinks, NodeLinksCount, position);
}

void TNetwork::RestoreNodeLinkForClosedPipe(int ThePipeId)
{
    const int position = findLink(NodeLinksClosedPipe, NodeLinksClosedPipeCount, ThePipeId);
    if (position == 0)
        return;
    const TNodeLink link = NodeLinksClosedPipe[at(position)];
    // Only drop the closed entry once the pipe is back among the active ones.
    if (AddLink(link.FromNodeId, link.ToNodeId, link.PipeId))
        removeLinkAt(NodeLinksClosedPipe, NodeLinksClosedPipeCount, position);
}

bool TNetwork::IsPipeClosed(int ThePipeId) const
{
    return findLink(NodeLinksClosedPipe, NodeLinksClosedPipeCount, ThePipeId) > 0;
}

// --- Reading links ------------------------------------------------------------------

int TNetwork::GetNextUndirectedNodeLinkId(int TheNodeId, int TheLastNodeLinkId) const
{
    for (int i = TheLastNodeLinkId + 1; i <= NodeLinksCount; ++i)
        if (i >= 1 && touches(NodeLinks[at(i)], TheNodeId))
            return i;
    return -1;
}

void TNetwork::GetPipeNodes(int ThePipeId, int &TheFromNodeId, int &TheToNodeId) const
{
    if (int p = findLink(NodeLinks, NodeLinksCount, ThePipeId); p > 0) {
        TheFromNodeId = NodeLinks[at(p)].FromNodeId;
        TheToNodeId = NodeLinks[at(p)].ToNodeId;
        return;
    }
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        if (NodeLinksFlowControl[at(i)].PipeId == ThePipeId) {
            TheFromNodeId = NodeLinksFlowControl[at(i)].FromNodeId;
            TheToNodeId = NodeLinksFlowControl[at(i)].ToNodeId;
            return;
        }
    if (int p = findLink(NodeLinksClosedPipe, NodeLinksClosedPipeCount, ThePipeId); p > 0) {
        TheFromNodeId = NodeLinksClosedPipe[at(p)].FromNodeId;
        TheToNodeId = NodeLinksClosedPipe[at(p)].ToNodeId;
        return;
    }
    if (int p = findLink(NodeLinksPreventBackflow, NodeLinksPreventBackflowCount, ThePipeId); p > 0) {
        TheFromNodeId = NodeLinksPreventBackflow[at(p)].FromNodeId;
        TheToNodeId = NodeLinksPreventBackflow[at(p)].ToNodeId;
    }
}

void TNetwork::GetFromAndToNodeIds(int ThePipeId, int &TheFromNodeId, int &TheToNodeId) const
{
    TheFromNodeId = -1;
    TheToNodeId = -1;
    if (int p = findLink(NodeLinks, NodeLinksCount, ThePipeId); p > 0) {
        TheFromNodeId = NodeLinks[at(p)].FromNodeId;
        TheToNodeId = NodeLinks[at(p)].ToNodeId;
    } else if (int q = findLink(NodeLinksClosedPipe, NodeLinksClosedPipeCount, ThePipeId); q > 0) {
        TheFromNodeId = NodeLinksClosedPipe[at(q)].FromNodeId;
        TheToNodeId = NodeLinksClosedPipe[at(q)].ToNodeId;
    }
}

bool TNetwork::ExistsPipeLink(int TheFromNodeId, int TheToNodeId) const
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if ((link.FromNodeId == TheFromNodeId && link.ToNodeId == TheToNodeId) ||
            (link.FromNodeId == TheToNodeId && link.ToNodeId == TheFromNodeId))
            return true;
    }
    return false;
}

namespace {

void sortByPipeId(TNetwork::TNodeLinks &links, int count)
{
    // Links already in order (the common case) stay as they are; distinct
    // pipe ids have one sorted order whatever the sort. Repeated ids keep
    // the exchange sort, which decides where each of them ends.
    bool ordered = true, distinct = true;
    for (int i = 1; i < count && ordered; ++i) {
        ordered = links[at(i)].PipeId <= links[at(i + 1)].PipeId;
        distinct = distinct && links[at(i)].PipeId != links[at(i + 1)].PipeId;
    }
    if (ordered && distinct)
        return;
    if (count > 1) {
        std::vector<int> ids;
        ids.reserve(at(count));
        for (int i = 1; i <= count; ++i)
            ids.push_back(links[at(i)].PipeId);
        std::sort(ids.begin(), ids.end());
        if (std::adjacent_find(ids.begin(), ids.end()) == ids.end()) {
            std::sort(links.begin() + 1, links.begin() + count + 1,
                      [](const TNodeLink &a, const TNodeLink &b) { return a.PipeId < b.PipeId; });
            return;
        }
    }
    for (int i = 1; i < count; ++i)
        for (int j = i + 1; j <= count; ++j)
            if (links[at(j)].PipeId < links[at(i)].PipeId)
                std::swap(links[at(i)], links[at(j)]);
}

} // namespace

void TNetwork::SortNodeLinksByPipeId() { sortByPipeId(NodeLinks, NodeLinksCount); }

void TNetwork::SortNodeLinksClosedPipeByPipeId() { sortByPipeId(NodeLinksClosedPipe, NodeLinksClosedPipeCount); }

// --- Counting pipes at a node ---------------------------------------------------------

int TNetwork::GetNumberOfOutFlowPipes(int TheNodeId) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].FromNodeId == TheNodeId)
            ++count;
    return count;
}

int TNetwork::GetNumberOfInFlowPipes(int TheNodeId) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].ToNodeId == TheNodeId)
            ++count;
    return count;
}

TFlowPipeCounts TNetwork::CountOutAndInFlowPipesByNode() const
{
    TFlowPipeCounts counts;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        counts.Count(NodeLinks[at(i)].FromNodeId, true);
        counts.Count(NodeLinks[at(i)].ToNodeId, false);
    }
    return counts;
}

int TNetwork::GetSingleOutFlowPipe(int TheNodeId) const
{
    int found = 0, count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].FromNodeId == TheNodeId) {
            found = NodeLinks[at(i)].PipeId;
            ++count;
        }
    return count == 1 ? found : 0;
}

int TNetwork::GetSingleInFlowPipe(int TheNodeId) const
{
    int found = 0, count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].ToNodeId == TheNodeId) {
            found = NodeLinks[at(i)].PipeId;
            ++count;
        }
    return count == 1 ? found : 0;
}

int TNetwork::GetNumberOfOutFlowPipesNotSet(int TheNodeId) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].FromNodeId == TheNodeId && !GetPipe(NodeLinks[at(i)].PipeId).FlowGuessUncompressedSet)
            ++count;
    return count;
}

int TNetwork::GetNumberOfInFlowPipesWithFluidZone(int TheNodeId, int TheFluidZoneIndex) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].ToNodeId == TheNodeId &&
            GetPipe(NodeLinks[at(i)].PipeId).FluidZoneIndex == TheFluidZoneIndex)
            ++count;
    return count;
}

int TNetwork::GetNumberOfOutFlowPipesWithFluidZone(int TheNodeId, int TheFluidZoneIndex) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (NodeLinks[at(i)].FromNodeId == TheNodeId &&
            GetPipe(NodeLinks[at(i)].PipeId).FluidZoneIndex == TheFluidZoneIndex)
            ++count;
    return count;
}

int TNetwork::GetNumberOfInFlowPipesClosed(int TheNodeId) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
        if (NodeLinksClosedPipe[at(i)].ToNodeId == TheNodeId)
            ++count;
    return count;
}

int TNetwork::GetNumberOfOutFlowPipesClosed(int TheNodeId) const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
        if (NodeLinksClosedPipe[at(i)].FromNodeId == TheNodeId)
            ++count;
    return count;
}

long double TNetwork::GetOutFlowSumAtNode_kgs(int TheNodeId) const
{
    long double sum = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        const TPipe &pipe = GetPipe(link.PipeId);
        const long double massFlow =
            static_cast<long double>(pipe.FlowUncompressed_m3s) * GetPipeFluid(link.PipeId).density_kgs_m3;
        if (link.FromNodeId == TheNodeId)
            sum += massFlow;
        if (link.ToNodeId == TheNodeId)
            sum -= massFlow;
    }
    const TNode &node = GetNode(TheNodeId);
    return sum + node.JointDischarge_kgs - node.JointSupply_kgs;
}

double TNetwork::GetPipeStartNodePressure_bar_g(int ThePipeId) const
{
    const int position = findLink(NodeLinks, NodeLinksCount, ThePipeId);
    return position > 0 ? GetNode(NodeLinks[at(position)].FromNodeId).Pressure_Bar_g : 0.0;
}

bool TNetwork::IsNegativeFlowInAnyPipe() const
{
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (!(GetPipe(NodeLinks[at(i)].PipeId).FlowUncompressed_m3s >= 0))
            return true;
    return false;
}

bool TNetwork::IsNegativeFlowInAnyPipeWithPump() const
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (pipe.PumpCount > 0 && pipe.PumpUseInCalc && !(pipe.FlowUncompressed_m3s >= 0))
            return true;
    }
    return false;
}

// --- Flow controls and control pipes ----------------------------------------------------

bool TNetwork::IsPipeOkToAddFlowControl(int ThePipeId) const
{
    const int position = findLink(NodeLinks, NodeLinksCount, ThePipeId);
    if (position == 0)
        return true;
    const TNodeLink &own = NodeLinks[at(position)];
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.PipeId == ThePipeId || GetPipe(link.PipeId).FlowControlCount <= 0)
            continue;
        if (touches(link, own.FromNodeId) || touches(link, own.ToNodeId))
            return false;
    }
    return true;
}

bool TNetwork::IsNodeAssociatedWithAnyPRV(int TheNodeId) const
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        if (NodeLinks[at(i)].ToNodeId != TheNodeId)
            continue;
        const TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (pipe.FlowControlCount > 0 && pipe.FlowControl.ControlType == PRV)
            return true;
    }
    return false;
}

bool TNetwork::IsNodeAssociatedWithAnyBPV(int TheNodeId) const
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        if (NodeLinks[at(i)].FromNodeId != TheNodeId)
            continue;
        const TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (pipe.FlowControlCount > 0 && pipe.FlowControl.ControlType == BPV)
            return true;
    }
    return false;
}

bool TNetwork::IsNodeControlNode(int TheNodeId) const
{
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        if (NodeLinksFlowControl[at(i)].ControlNodeId == TheNodeId)
            return true;
    return false;
}

int TNetwork::GetOriginalPipeIdForThisControlPipe(int ThePipeId) const
{
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        if (NodeLinksFlowControl[at(i)].ControlPipeId == ThePipeId)
            return NodeLinksFlowControl[at(i)].PipeId;
    return 0;
}

namespace {

enum class ControlPipeKind { PRVOnly, BPVOnly, Either };

} // namespace

static bool isNewControlPipe(const TNetwork &network, int pipeId, ControlPipeKind kind)
{
    for (int i = 1; i <= network.NodeLinksFlowControlCount; ++i) {
        const TFlowControlLink &entry = network.NodeLinksFlowControl[at(i)];
        if (entry.ControlPipeId != pipeId)
            continue;
        const TPipe &carrier = network.GetPipe(entry.PipeId);
        if (carrier.FlowControlCount <= 0 || !carrier.FlowControlUseInCalc)
            continue;
        const TControlType type = carrier.FlowControl.ControlType;
        if ((kind != ControlPipeKind::BPVOnly && type == PRV) || (kind != ControlPipeKind::PRVOnly && type == BPV))
            return true;
    }
    return false;
}

bool TNetwork::IsPipePRVNewControlPipe(int ThePipeId) const
{
    return isNewControlPipe(*this, ThePipeId, ControlPipeKind::PRVOnly);
}

bool TNetwork::IsPipeBPVNewControlPipe(int ThePipeId) const
{
    return isNewControlPipe(*this, ThePipeId, ControlPipeKind::BPVOnly);
}

bool TNetwork::IsPipePRVOrBPVNewControlPipe(int ThePipeId) const
{
    return isNewControlPipe(*this, ThePipeId, ControlPipeKind::Either);
}

void TNetwork::GetNodeAfterPRVIfNewControlPipe(int ThePipeId, int &ToNodeIdAfterPRV) const
{
    ToNodeIdAfterPRV = 0;
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        if (NodeLinksFlowControl[at(i)].ControlPipeId == ThePipeId) {
            ToNodeIdAfterPRV = NodeLinksFlowControl[at(i)].ToNodeId;
            return;
        }
}

void TNetwork::GetNodeBeforeBPVIfNewControlPipe(int ThePipeId, int &FromNodeIdBeforePRV) const
{
    FromNodeIdBeforePRV = 0;
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        if (NodeLinksFlowControl[at(i)].ControlPipeId == ThePipeId) {
            FromNodeIdBeforePRV = NodeLinksFlowControl[at(i)].FromNodeId;
            return;
        }
}

void TNetwork::GetPipeEnteringNodeBeforeBPVIfNewControlPipe(int ThePipeId, int &PipeIdBeforeBPV) const
{
    int nodeId = 0;
    GetNodeBeforeBPVIfNewControlPipe(ThePipeId, nodeId);
    if (nodeId > 0)
        PipeIdBeforeBPV = GetSingleInFlowPipe(nodeId);
}

} // namespace tessaran
