// Start flows for the Newton method that begins from discharge-velocity
// estimates: pipes into tanks and end-pressure nodes carry the flow of a
// guessed velocity, single-pipe joints pass their demand on, the guesses are
// carried forward and backward through pass-through joints, and a
// flow-continuity solution finally balances them at every joint when it can.

#include "network/Network_Class.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

double flowArea_m2(const TPipe &pipe)
{
    return std::numbers::pi * pipe.InnerDiameter_m * pipe.InnerDiameter_m / 4.0;
}

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
    int bestNodeId = -1;
    int bestCount = 1000;
    for (int nodeId = GetNextNodeId(0); nodeId > 0; nodeId = GetNextNodeId(nodeId)) {
        if (GetNode(nodeId).NodeType == TheNodeType)
            continue;
        const int count = notSet[at(nodeId)];
        if (count == 1)
            return nodeId;
        if (count > 0 && count < bestCount) {
            bestCount = count;
            bestNodeId = nodeId;
        }
    }
    return bestNodeId;
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

void TNetwork::SetAllPropagatedFlowGuesses(TResultsLog &Log)
{
    int nodeId = GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet();
    if (nodeId < 1)
        nodeId = GetNodeIdWithLeastOutFlowsNotSet(Tank);
    for (int pass = 1; pass <= 1001 && nodeId > 0; ++pass) {
        // Each call sets every unset incoming pipe of the node, so this ends.
        while (nodeId > 0) {
            SetInFlowGuessesFromOutFlows(nodeId, Log);
            nodeId = GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet();
        }
        nodeId = GetNodeIdWithLeastOutFlowsNotSet(Tank);
        if (nodeId > 0)
            SetOutFlowGuessesNotSet(nodeId);
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
