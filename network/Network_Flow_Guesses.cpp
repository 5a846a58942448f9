// Start flows for the Newton method that begins from discharge-velocity
// estimates: pipes into tanks and end-pressure nodes carry the flow of a
// guessed velocity, single-pipe joints pass their demand on, the guesses are
// carried forward and backward through pass-through joints, and a
// flow-continuity solution finally balances them at every joint when it can.

#include "network/Network_Class.h"

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

double flowArea_m2(const TPipe &pipe)
{
    return std::numbers::pi * pipe.InnerDiameter_m * pipe.InnerDiameter_m / 4.0;
}

// The node with the fewest (but some) outgoing pipes still without a flow
// guess, the first in the order offered on ties; a node with just one ends
// the search at once. No node at all leaves -1.
struct TLeastCountNode {
    int NodeId = -1;
    int Count = 1000;
    // True when the search can stop.
    bool Offer(int nodeId, int count)
    {
        if (count == 1) {
            NodeId = nodeId;
            return true;
        }
        if (count > 0 && count < Count) {
            Count = count;
            NodeId = nodeId;
        }
        return false;
    }
};

// A node's ins and outs as the propagation counts them: a supply counts as
// one in, a discharge as one out, plus the active links ending and starting
// at the node. The last link (in table order) starting and ending at the
// node is remembered, 0 when none.
struct TPassThroughCounts {
    int Ins = 0;
    int Outs = 0;
    int LastOutLink = 0;
    int LastInLink = 0;
};

TPassThroughCounts countPassThrough(const TNetwork &network, int nodeId)
{
    TPassThroughCounts counts;
    const TNode &node = network.GetNode(nodeId);
    if (node.JointSupply_m3s > 0)
        ++counts.Ins;
    if (node.JointDischarge_m3s > 0)
        ++counts.Outs;
    for (int i = 1; i <= network.NodeLinksCount; ++i) {
        const TNodeLink &link = network.NodeLinks[at(i)];
        if (link.ToNodeId == nodeId) {
            ++counts.Ins;
            counts.LastInLink = i;
        }
        if (link.FromNodeId == nodeId) {
            ++counts.Outs;
            counts.LastOutLink = i;
        }
    }
    return counts;
}

bool isValidNodeId(int nodeId) { return nodeId >= 1 && nodeId <= TNetwork::MaxNodes; }

// The propagation of guesses through the network, as SetInFlowGuessesFromOutFlows,
// SetOutFlowGuessesNotSet, SetSingleInAndOutFlowNode and the two node searches
// do it, over each node's links (in table order) instead of the whole table,
// with every node's count of links without a guess kept up to date as guesses
// are set, and the nodes that qualify for SetInFlowGuessesFromOutFlows kept
// in id order. The layout does not change while it runs.
class TGuessPropagation {
public:
    explicit TGuessPropagation(TNetwork &network) : n_(network) {}

    void Build()
    {
        const int nodes = TNetwork::MaxNodes;
        const int links = n_.NodeLinksCount;
        buildLists(outStart_, outLinks_, [&](const TNodeLink &link) { return link.FromNodeId; });
        buildLists(inStart_, inLinks_, [&](const TNodeLink &link) { return link.ToNodeId; });
        // The links of each pipe, so that a guess set on a pipe counts at every link of it.
        pipeStart_.assign(at(TNetwork::MaxPipes + 2), 0);
        for (int i = 1; i <= links; ++i)
            if (validPipe(n_.NodeLinks[at(i)].PipeId))
                ++pipeStart_[at(n_.NodeLinks[at(i)].PipeId + 1)];
        for (int id = 1; id <= TNetwork::MaxPipes + 1; ++id)
            pipeStart_[at(id)] += pipeStart_[at(id - 1)];
        pipeLinks_.resize(at(pipeStart_[at(TNetwork::MaxPipes + 1)]));
        next_.assign(pipeStart_.begin(), pipeStart_.end() - 1);
        for (int i = 1; i <= links; ++i)
            if (validPipe(n_.NodeLinks[at(i)].PipeId))
                pipeLinks_[at(next_[at(n_.NodeLinks[at(i)].PipeId)]++)] = i;

        outNotSet_.assign(at(nodes + 1), 0);
        inNotSet_.assign(at(nodes + 1), 0);
        for (int i = 1; i <= links; ++i) {
            const TNodeLink &link = n_.NodeLinks[at(i)];
            if (n_.GetPipe(link.PipeId).FlowGuessUncompressedSet)
                continue;
            if (isValidNodeId(link.FromNodeId))
                ++outNotSet_[at(link.FromNodeId)];
            if (isValidNodeId(link.ToNodeId))
                ++inNotSet_[at(link.ToNodeId)];
        }
        nodeIds_.clear();
        judged_.assign(at(nodes + 1), 0);
        for (int id = n_.GetNextNodeId(0); id > 0; id = n_.GetNextNodeId(id)) {
            nodeIds_.push_back(id);
            if (isValidNodeId(id)) {
                const TNode &node = n_.GetNode(id);
                // A joint with no way out and no demand to pass on is never chosen.
                judged_[at(id)] = node.NodeType == Joint &&
                                  (outStart_[at(id + 1)] > outStart_[at(id)] ||
                                   node.JointDischarge_m3s - node.JointSupply_m3s > 0);
            }
        }
        candidates_.clear();
        for (const int id : nodeIds_)
            review(id);
    }

    // GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet.
    int FirstNodeWithAllOutFlowsSetAndSomeInFlowsNotSet() const
    {
        return candidates_.empty() ? -1 : *candidates_.begin();
    }

    // GetNodeIdWithLeastOutFlowsNotSet.
    int NodeWithLeastOutFlowsNotSet(TNodeType excludedType) const
    {
        TLeastCountNode least;
        for (const int nodeId : nodeIds_) {
            if (n_.GetNode(nodeId).NodeType == excludedType)
                continue;
            if (least.Offer(nodeId, isValidNodeId(nodeId) ? outNotSet_[at(nodeId)] : 0))
                break;
        }
        return least.NodeId;
    }

    // SetInFlowGuessesFromOutFlows.
    void SetInFlowsFromOutFlows(int nodeId)
    {
        const TNode &node = n_.GetNode(nodeId);
        double need = node.JointDischarge_m3s - node.JointSupply_m3s;
        const double minimumGuess =
            n_.ConfigOptions.CalculationParameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec];
        if (!isValidNodeId(nodeId))
            return fallbackSetInFlows(nodeId);
        for (int e = outStart_[at(nodeId)]; e < outStart_[at(nodeId + 1)]; ++e) {
            const TNodeLink &link = n_.NodeLinks[at(outLinks_[at(e)])];
            TPipe &pipe = n_.GetPipe(link.PipeId);
            if (!pipe.FlowGuessUncompressedSet && outFlowsNotSet(link.ToNodeId) > 0) {
                pipe.FlowGuessUncompressed_m3s = minimumGuess;
                markSet(link.PipeId, pipe);
            }
            need += pipe.FlowGuessUncompressed_m3s;
        }
        double unsetArea = 0;
        int unsetCount = 0;
        for (int e = inStart_[at(nodeId)]; e < inStart_[at(nodeId + 1)]; ++e) {
            const TPipe &pipe = n_.GetPipe(n_.NodeLinks[at(inLinks_[at(e)])].PipeId);
            if (pipe.FlowGuessUncompressedSet) {
                need -= pipe.FlowGuessUncompressed_m3s;
            } else {
                unsetArea += flowArea_m2(pipe);
                ++unsetCount;
            }
        }
        for (int e = inStart_[at(nodeId)]; e < inStart_[at(nodeId + 1)]; ++e) {
            const int pipeId = n_.NodeLinks[at(inLinks_[at(e)])].PipeId;
            TPipe &pipe = n_.GetPipe(pipeId);
            if (pipe.FlowGuessUncompressedSet)
                continue;
            const double share = unsetArea > 0 ? flowArea_m2(pipe) / unsetArea : 1.0 / unsetCount;
            pipe.FlowGuessUncompressed_m3s = need * share;
            markSet(pipeId, pipe);
        }
    }

    // SetOutFlowGuessesNotSet.
    void SetOutFlowsNotSet(int nodeId)
    {
        if (!isValidNodeId(nodeId))
            return;
        for (int e = outStart_[at(nodeId)]; e < outStart_[at(nodeId + 1)]; ++e) {
            const TNodeLink link = n_.NodeLinks[at(outLinks_[at(e)])];
            TPipe &pipe = n_.GetPipe(link.PipeId);
            if (pipe.FlowGuessUncompressedSet)
                continue;
            const double flow = flowArea_m2(pipe) * n_.CurrentGuessFlowVelocity_ms;
            pipe.FlowGuessUncompressed_m3s = flow;
            markSet(link.PipeId, pipe);
            int level = 1;
            passOn(link.ToNodeId, flow, level);
        }
    }

private:
    static std::size_t at(int position) { return static_cast<std::size_t>(position); }
    static bool validPipe(int pipeId) { return pipeId >= 1 && pipeId <= TNetwork::MaxPipes; }

    template <typename TEnd>
    void buildLists(std::vector<int> &start, std::vector<int> &links, TEnd end)
    {
        start.assign(at(TNetwork::MaxNodes + 2), 0);
        for (int i = 1; i <= n_.NodeLinksCount; ++i) {
            const int node = end(n_.NodeLinks[at(i)]);
            if (isValidNodeId(node))
                ++start[at(node + 1)];
        }
        for (int id = 1; id <= TNetwork::MaxNodes + 1; ++id)
            start[at(id)] += start[at(id - 1)];
        links.resize(at(start[at(TNetwork::MaxNodes + 1)]));
        next_.assign(start.begin(), start.end() - 1);
        for (int i = 1; i <= n_.NodeLinksCount; ++i) {
            const int node = end(n_.NodeLinks[at(i)]);
            if (isValidNodeId(node))
                links[at(next_[at(node)]++)] = i;
        }
    }

    int outFlowsNotSet(int nodeId) const
    {
        return isValidNodeId(nodeId) ? outNotSet_[at(nodeId)] : n_.GetNumberOfOutFlowPipesNotSet(nodeId);
    }

    void review(int nodeId)
    {
        if (!isValidNodeId(nodeId) || !judged_[at(nodeId)])
            return;
        if (outNotSet_[at(nodeId)] == 0 && inNotSet_[at(nodeId)] > 0)
            candidates_.insert(nodeId);
        else
            candidates_.erase(nodeId);
    }

    void markSet(int pipeId, TPipe &pipe)
    {
        if (pipe.FlowGuessUncompressedSet)
            return;
        pipe.FlowGuessUncompressedSet = true;
        if (!validPipe(pipeId))
            return;
        for (int e = pipeStart_[at(pipeId)]; e < pipeStart_[at(pipeId + 1)]; ++e) {
            const TNodeLink &link = n_.NodeLinks[at(pipeLinks_[at(e)])];
            if (isValidNodeId(link.FromNodeId)) {
                --outNotSet_[at(link.FromNodeId)];
                review(link.FromNodeId);
            }
            if (isValidNodeId(link.ToNodeId)) {
                --inNotSet_[at(link.ToNodeId)];
                review(link.ToNodeId);
            }
        }
    }

    // SetSingleInAndOutFlowNode: the flow carried on through pass-through joints.
    void passOn(int nodeId, double flow, int &level)
    {
        while (level < 1000 && isValidNodeId(nodeId)) {
            const TNode &node = n_.GetNode(nodeId);
            const int ins = (node.JointSupply_m3s > 0 ? 1 : 0) + inStart_[at(nodeId + 1)] - inStart_[at(nodeId)];
            const int outs =
                (node.JointDischarge_m3s > 0 ? 1 : 0) + outStart_[at(nodeId + 1)] - outStart_[at(nodeId)];
            if (ins != 1 || outs != 1 || outStart_[at(nodeId + 1)] == outStart_[at(nodeId)])
                return;
            const TNodeLink &link = n_.NodeLinks[at(outLinks_[at(outStart_[at(nodeId + 1)] - 1)])];
            TPipe &pipe = n_.GetPipe(link.PipeId);
            pipe.FlowGuessUncompressed_m3s = flow;
            markSet(link.PipeId, pipe);
            ++level;
            nodeId = link.ToNodeId;
        }
    }

    // A node outside the id range has no lists: the whole table is read.
    void fallbackSetInFlows(int nodeId)
    {
        TResultsLog unused;
        n_.SetInFlowGuessesFromOutFlows(nodeId, unused);
        Build();
    }

    TNetwork &n_;
    std::vector<int> outStart_, outLinks_, inStart_, inLinks_, pipeStart_, pipeLinks_, next_;
    std::vector<int> outNotSet_, inNotSet_, nodeIds_;
    std::vector<char> judged_;
    std::set<int> candidates_;
};

} // namespace

void TNetwork::SetAllInitialFlowGuessesToZero()
{
    for (int id = 1; id <= MaxPipes; ++id) {
        TPipe &pipe = GetPipe(id);
        pipe.FlowGuessUncompressed_m3s = 0;
        pipe.FlowGuessUncompressedSet = false;
    }
}

void TNetwork::SetAllInitialFlowGuessesToUnity()
{
    for (int id = 1; id <= MaxPipes; ++id) {
        TPipe &pipe = GetPipe(id);
        pipe.FlowGuessUncompressed_m3s = 1.0;
        pipe.FlowGuessUncompressedSet = false;
    }
}

void TNetwork::SetSingleInAndOutFlowNode(int TheNodeId, double TheFlow, int &Level)
{
    int nodeId = TheNodeId;
    while (Level < 1000 && isValidNodeId(nodeId)) {
        const TPassThroughCounts counts = countPassThrough(*this, nodeId);
        if (counts.Ins != 1 || counts.Outs != 1 || counts.LastOutLink == 0)
            return;
        const TNodeLink &link = NodeLinks[at(counts.LastOutLink)];
        TPipe &pipe = GetPipe(link.PipeId);
        pipe.FlowGuessUncompressed_m3s = TheFlow;
        pipe.FlowGuessUncompressedSet = true;
        ++Level;
        nodeId = link.ToNodeId;
    }
}

void TNetwork::SetSingleInAndOutFlowNodeBackwards(int TheNodeId, double TheFlow, int &Level)
{
    int nodeId = TheNodeId;
    while (Level < 1000 && isValidNodeId(nodeId)) {
        const TPassThroughCounts counts = countPassThrough(*this, nodeId);
        if (counts.Ins != 1 || counts.Outs != 1 || counts.LastInLink == 0)
            return;
        const TNodeLink &link = NodeLinks[at(counts.LastInLink)];
        TPipe &pipe = GetPipe(link.PipeId);
        pipe.FlowGuessUncompressed_m3s = TheFlow;
        pipe.FlowGuessUncompressedSet = true;
        ++Level;
        nodeId = link.FromNodeId;
    }
}

void TNetwork::SetAllSingleJointSupplySingleOutFlowGuesses()
{
    const auto flowPipes = CountOutAndInFlowPipesByNode();
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const auto linked = flowPipes.find(nodeId);
        if (linked == flowPipes.end() || linked->second != std::pair<int, int>{1, 0})
            continue;
        const TPassThroughCounts counts = countPassThrough(*this, nodeId);
        const TNodeLink &link = NodeLinks[at(counts.LastOutLink)];
        const TNode &node = GetNode(nodeId);
        const double net = node.JointSupply_m3s - node.JointDischarge_m3s;
        TPipe &pipe = GetPipe(link.PipeId);
        if (net > 0 && !pipe.FlowGuessUncompressedSet) {
            pipe.FlowGuessUncompressed_m3s = net;
            pipe.FlowGuessUncompressedSet = true;
            int level = 1;
            SetSingleInAndOutFlowNode(link.ToNodeId, net, level);
        }
    }
}

void TNetwork::SetAllSingleJointDischargeSingleInFlowGuesses()
{
    const auto flowPipes = CountOutAndInFlowPipesByNode();
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const auto linked = flowPipes.find(nodeId);
        if (linked == flowPipes.end() || linked->second != std::pair<int, int>{0, 1})
            continue;
        const TPassThroughCounts counts = countPassThrough(*this, nodeId);
        const TNodeLink &link = NodeLinks[at(counts.LastInLink)];
        TPipe &pipe = GetPipe(link.PipeId);
        if (pipe.FlowGuessUncompressedSet)
            continue;
        const TNode &node = GetNode(nodeId);
        const double net = node.JointDischarge_m3s - node.JointSupply_m3s;
        if (net > 0) {
            pipe.FlowGuessUncompressed_m3s = net;
            pipe.FlowGuessUncompressedSet = true;
            if (link.FromNodeId > 0) {
                int level = 1;
                SetSingleInAndOutFlowNodeBackwards(link.FromNodeId, net, level);
            }
        } else if (node.NodeType == Joint && net == 0) {
            // A dead end without demand carries nothing, and neither does the
            // chain of pass-through joints that leads to it.
            pipe.FlowGuessUncompressed_m3s = 0;
            pipe.FlowGuessUncompressedSet = true;
            int level = 1;
            SetSingleInAndOutFlowNodeBackwards(link.FromNodeId, 0, level);
        }
    }
}

void TNetwork::SetAllDischargeFlowGuesses()
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        const TNodeType toType = GetNode(link.ToNodeId).NodeType;
        if (toType != Tank && toType != EndPressure)
            continue;
        TPipe &pipe = GetPipe(link.PipeId);
        if (pipe.FlowGuessUncompressedSet)
            continue;
        const double flow = flowArea_m2(pipe) * CurrentGuessFlowVelocity_ms;
        pipe.FlowGuessUncompressed_m3s = flow;
        pipe.FlowGuessUncompressedSet = true;
        int level = 1;
        SetSingleInAndOutFlowNodeBackwards(link.FromNodeId, flow, level);
    }
}

int TNetwork::GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet() const
{
    // One pass over the links gathers every node's outgoing count and
    // flags, then the nodes are judged in id order.
    struct TFlags {
        int Outs = 0;
        bool AllOutsSet = true;
        bool SomeInNotSet = false;
    };
    thread_local std::vector<TFlags> flags;
    flags.assign(at(MaxNodes + 1), TFlags{});
    const auto valid = [](int node) { return node >= 1 && node <= MaxNodes; };
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        const bool set = GetPipe(link.PipeId).FlowGuessUncompressedSet;
        if (valid(link.FromNodeId)) {
            TFlags &from = flags[at(link.FromNodeId)];
            ++from.Outs;
            from.AllOutsSet = from.AllOutsSet && set;
        }
        if (valid(link.ToNodeId) && !set)
            flags[at(link.ToNodeId)].SomeInNotSet = true;
    }
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        const TNode &node = GetNode(nodeId);
        if (node.NodeType != Joint)
            continue;
        const TFlags &f = flags[at(nodeId)];
        if (f.Outs == 0 && !(node.JointDischarge_m3s - node.JointSupply_m3s > 0))
            continue;
        if (f.AllOutsSet && f.SomeInNotSet)
            return nodeId;
    }
    return -1;
}

void TNetwork::SetInFlowGuessesFromOutFlows(int TheNodeId, TResultsLog & /*Log*/)
{
    const TNode &node = GetNode(TheNodeId);
    double need = node.JointDischarge_m3s - node.JointSupply_m3s;
    const double minimumGuess = ConfigOptions.CalculationParameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec];
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.FromNodeId != TheNodeId)
            continue;
        TPipe &pipe = GetPipe(link.PipeId);
        if (!pipe.FlowGuessUncompressedSet && GetNumberOfOutFlowPipesNotSet(link.ToNodeId) > 0) {
            pipe.FlowGuessUncompressed_m3s = minimumGuess;
            pipe.FlowGuessUncompressedSet = true;
        }
        need += pipe.FlowGuessUncompressed_m3s;
    }
    double unsetArea = 0;
    int unsetCount = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.ToNodeId != TheNodeId)
            continue;
        const TPipe &pipe = GetPipe(link.PipeId);
        if (pipe.FlowGuessUncompressedSet) {
            need -= pipe.FlowGuessUncompressed_m3s;
        } else {
            unsetArea += flowArea_m2(pipe);
            ++unsetCount;
        }
    }
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.ToNodeId != TheNodeId)
            continue;
        TPipe &pipe = GetPipe(link.PipeId);
        if (pipe.FlowGuessUncompressedSet)
            continue;
        // Shared by flow area; pipes without a diameter share equally rather
        // than dividing by a zero area.
        const double share = unsetArea > 0 ? flowArea_m2(pipe) / unsetArea : 1.0 / unsetCount;
        pipe.FlowGuessUncompressed_m3s = need * share;
        pipe.FlowGuessUncompressedSet = true;
    }
}

int TNetwork::GetNodeIdWithLeastOutFlowsNotSet(TNodeType TheNodeType) const
{
    // Every node's outgoing pipes without a guess, from one pass over the links.
    thread_local std::vector<int> notSet;
    notSet.assign(at(MaxNodes + 1), 0);
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.FromNodeId >= 1 && link.FromNodeId <= MaxNodes && !GetPipe(link.PipeId).FlowGuessUncompressedSet)
            ++notSet[at(link.FromNodeId)];
    }
    TLeastCountNode least;
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        if (GetNode(nodeId).NodeType == TheNodeType)
            continue;
        if (least.Offer(nodeId, notSet[at(nodeId)]))
            break;
    }
    return least.NodeId;
}

void TNetwork::SetOutFlowGuessesNotSet(int TheNodeId)
{
    // The node was chosen for its outgoing pipes without a guess, so those
    // are the pipes to set; each guess is then carried on through the
    // pass-through joints downstream.
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink link = NodeLinks[at(i)];
        if (link.FromNodeId != TheNodeId)
            continue;
        TPipe &pipe = GetPipe(link.PipeId);
        if (pipe.FlowGuessUncompressedSet)
            continue;
        const double flow = flowArea_m2(pipe) * CurrentGuessFlowVelocity_ms;
        pipe.FlowGuessUncompressed_m3s = flow;
        pipe.FlowGuessUncompressedSet = true;
        int level = 1;
        SetSingleInAndOutFlowNode(link.ToNodeId, flow, level);
    }
}

void TNetwork::SetAllPropagatedFlowGuesses(TResultsLog &)
{
    TGuessPropagation propagation(*this);
    propagation.Build();
    int nodeId = propagation.FirstNodeWithAllOutFlowsSetAndSomeInFlowsNotSet();
    if (nodeId < 1)
        nodeId = propagation.NodeWithLeastOutFlowsNotSet(Tank);
    for (int pass = 1; pass <= 1001 && nodeId > 0; ++pass) {
        // Each call sets every unset incoming pipe of the node, so this ends.
        while (nodeId > 0) {
            propagation.SetInFlowsFromOutFlows(nodeId);
            nodeId = propagation.FirstNodeWithAllOutFlowsSetAndSomeInFlowsNotSet();
        }
        nodeId = propagation.NodeWithLeastOutFlowsNotSet(Tank);
        if (nodeId > 0)
            propagation.SetOutFlowsNotSet(nodeId);
    }
}

void TNetwork::SetAllInitialFlowGuesses(TResultsLog &Log, bool &FlowBalanceAdjusted, double UsingVelocity_ms)
{
    CurrentGuessFlowVelocity_ms = UsingVelocity_ms;
    FlowBalanceAdjusted = false;
    SetAllInitialFlowGuessesToZero();
    SetAllSingleJointSupplySingleOutFlowGuesses();
    SetAllSingleJointDischargeSingleInFlowGuesses();
    SetAllDischargeFlowGuesses();
    SetAllPropagatedFlowGuesses(Log);
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        pipe.FlowUncompressed_m3s = pipe.FlowGuessUncompressed_m3s;
    }
    BalanceFlowGuessesByFlowContinuity(Log, FlowBalanceAdjusted);
}

void TNetwork::BalanceFlowGuessesByFlowContinuity(TResultsLog &Log, bool &FlowBalanceAdjusted)
{
    TMatrixEquations &equations = MatrixEquationsFlowContinuity;
    MatrixEquationsGenerate(equations, Log, false);
    bool solved = false;
    int status = 0;
    std::string statusText;
    equations.SolveQkgsVariablesForFlowContinuity(solved, status, statusText, Log);
    // A flow that is not a number counts as no balance at all.
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const Extended flow = equations.QkgsVariables[at(i)];
        if (flow < 0 || !std::isfinite(static_cast<double>(flow)))
            return;
    }
    FlowBalanceAdjusted = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        pipe.FlowUncompressed_m3s = static_cast<double>(equations.Qm3sVariables[at(i)]);
        pipe.FlowGuessUncompressed_m3s = pipe.FlowUncompressed_m3s;
    }
}

} // namespace tessaran
