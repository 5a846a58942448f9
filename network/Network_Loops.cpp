// TNetwork: the loop store and the loop finder. The energy equations of a
// network are written around real loops (rings of pipes through joints) and
// pseudo loops (paths between two fixed-pressure nodes), chosen so that each
// loop brings a pipe of its own and joints plus loops equal the pipes whose
// flow is unknown. The scanning orders below (links in table order, nodes by
// ascending id) decide which of several equal paths a loop takes, and with it
// the generated equations.

#include "network/Network_Class.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tessaran {

namespace {

constexpr std::int32_t Unreached = 2147483647;
constexpr int SearchRoundLimit = 1000000;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

bool isFixedPressure(TNodeType type) { return type == Tank || type == EndPressure; }

} // namespace

// --- Loop store ---------------------------------------------------------------------------

int TNetwork::PipeLoopCreate()
{
    if (PipeLoopsCount >= MaxLoops)
        return -1;
    ++PipeLoopsCount;
    PipeLoops[at(PipeLoopsCount)].fill(0);
    PipeLoopsPipeCount[at(PipeLoopsCount)] = 0;
    return PipeLoopsCount;
}

void TNetwork::PipeLoopClear(int LoopId)
{
    if (LoopId < 1 || LoopId > MaxLoops)
        throw ENetworkClass("TNetwork.PipeLoopClear Failed: Specified LoopId may not be valid");
    PipeLoops[at(LoopId)].fill(0);
    PipeLoopsPipeCount[at(LoopId)] = 0;
}

void TNetwork::PipeLoopRemove(int LoopId)
{
    if (LoopId < 1 || LoopId > PipeLoopsCount)
        throw ENetworkClass("TNetwork.PipeLoopRemove Failed: Specified LoopId may not be valid");
    for (int i = LoopId; i < PipeLoopsCount; ++i) {
        PipeLoops[at(i)] = PipeLoops[at(i + 1)];
        PipeLoopsPipeCount[at(i)] = PipeLoopsPipeCount[at(i + 1)];
    }
    PipeLoops[at(PipeLoopsCount)].fill(0);
    PipeLoopsPipeCount[at(PipeLoopsCount)] = 0;
    --PipeLoopsCount;
}

void TNetwork::PipeLoopsRemoveAllLoops()
{
    while (PipeLoopsCount > 0)
        PipeLoopRemove(PipeLoopsCount);
    PipeLoopsCount = 0;
}

void TNetwork::PipeLoopsInsertLastAtPosition(int LoopId)
{
    if (PipeLoopsCount >= MaxLoops)
        throw ENetworkClass("TNetwork.PipeLoopsInsertLastAtPosition Failed: PipeLoopCount=" +
                            std::to_string(PipeLoopsCount));
    if (LoopId < 1 || LoopId >= PipeLoopsCount)
        return;
    std::rotate(PipeLoops.begin() + LoopId, PipeLoops.begin() + PipeLoopsCount, PipeLoops.begin() + PipeLoopsCount + 1);
    std::rotate(PipeLoopsPipeCount.begin() + LoopId, PipeLoopsPipeCount.begin() + PipeLoopsCount,
                PipeLoopsPipeCount.begin() + PipeLoopsCount + 1);
}

void TNetwork::PipeLoopAddPipe(int LoopId, int PipeId)
{
    if (LoopId < 1 || LoopId > PipeLoopsCount || PipeLoopsPipeCount[at(LoopId)] >= MaxLoopPipes)
        throw ENetworkClass("TNetwork.PipeLoopAddPipe Failed: Either LoopId invalid or PipeId invalid. LoopId=" +
                            std::to_string(LoopId) + "; PipeId=" + std::to_string(PipeId));
    const int n = ++PipeLoopsPipeCount[at(LoopId)];
    PipeLoops[at(LoopId)][at(n)] = PipeId;
}

void TNetwork::PipeLoopRemovePipe(int LoopId, int PipeId)
{
    if (LoopId >= 1 && LoopId <= PipeLoopsCount) {
        auto &loop = PipeLoops[at(LoopId)];
        const int n = PipeLoopsPipeCount[at(LoopId)];
        for (int i = 1; i <= n; ++i)
            if (loop[at(i)] == PipeId) {
                std::copy(loop.begin() + i + 1, loop.begin() + n + 1, loop.begin() + i);
                loop[at(n)] = 0;
                --PipeLoopsPipeCount[at(LoopId)];
                return;
            }
    }
    throw ENetworkClass("TNetwork.PipeLoopRemovePipe Failed: Specified LoopId,PipeId may not be valid");
}

int TNetwork::PipeLoopGetNextPipeId(int LoopId, int CurrentPipeId) const
{
    if (LoopId < 1 || LoopId > PipeLoopsCount)
        return 0;
    const auto &loop = PipeLoops[at(LoopId)];
    const int n = PipeLoopsPipeCount[at(LoopId)];
    for (int i = 1; i < n; ++i)
        if (loop[at(i)] == CurrentPipeId)
            return loop[at(i + 1)];
    return 0;
}

int TNetwork::GetNumberOfJointTypeNodes() const
{
    int count = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (GetNode(id).NodeType == Joint)
            ++count;
    return count;
}

void TNetwork::PipeLoopsShortestPathClear()
{
    for (auto &entry : ShortestPaths) {
        entry.Distance = Unreached;
        entry.PreviousNodeId = 0;
        entry.Visited = false;
    }
}

// --- Selection rules ------------------------------------------------------------------------

namespace {

bool loopHolds(const std::array<std::int32_t, TNetwork::MaxLoopPipes + 1> &loop, int count, int pipeId)
{
    return std::find(loop.begin() + 1, loop.begin() + count + 1, pipeId) != loop.begin() + count + 1;
}

} // namespace

void TNetwork::PipeLoopsRemoveLastIfPseudoLoopViaIntermediateTank()
{
    if (PipeLoopsCount < 1)
        return;
    const auto &loop = PipeLoops[at(PipeLoopsCount)];
    int ends = 0;
    for (int i = 1; i <= PipeLoopsPipeCount[at(PipeLoopsCount)]; ++i) {
        int from = 0, to = 0;
        GetPipeNodes(loop[at(i)], from, to);
        for (int node : {from, to})
            if (node >= 1 && node <= MaxNodes && isFixedPressure(GetNode(node).NodeType))
                ++ends;
    }
    if (ends > 2)
        PipeLoopRemove(PipeLoopsCount);
}

void TNetwork::PipeLoopsRemoveLastIfDuplicate()
{
    const int last = PipeLoopsCount;
    if (last < 2)
        return;
    const int n = PipeLoopsPipeCount[at(last)];
    for (int i = 1; i < last; ++i) {
        if (PipeLoopsPipeCount[at(i)] != n)
            continue;
        bool all = true;
        for (int k = 1; k <= n && all; ++k)
            all = loopHolds(PipeLoops[at(last)], n, PipeLoops[at(i)][at(k)]);
        if (all) {
            PipeLoopRemove(last);
            return;
        }
    }
}

void TNetwork::PipeLoopsCheckPipeLoopHasAtLeastOneNewPipeOverPreviousLoops(int LoopId, bool &AtLeastOneNewPipe,
                                                                           bool CheckOnlyInPseudoLoops) const
{
    if (PipeLoopsCount == 1 && LoopId == 1) {
        AtLeastOneNewPipe = true;
        return;
    }
    if (PipeLoopsCount < 2 || LoopId < 1 || LoopId > PipeLoopsCount)
        return;
    const int first = CheckOnlyInPseudoLoops ? PipeRealLoopCount + 1 : 1;
    const auto &loop = PipeLoops[at(LoopId)];
    AtLeastOneNewPipe = false;
    for (int k = 1; k <= PipeLoopsPipeCount[at(LoopId)] && !AtLeastOneNewPipe; ++k) {
        bool seen = false;
        for (int i = std::max(first, 1); i < LoopId && !seen; ++i)
            seen = loopHolds(PipeLoops[at(i)], PipeLoopsPipeCount[at(i)], loop[at(k)]);
        AtLeastOneNewPipe = !seen;
    }
}

void TNetwork::PipeLoopsRemoveLastUnlessAtLeastOneNewPipe(bool CheckOnlyInPseudoLoops)
{
    if (PipeLoopsCount < 1)
        return;
    bool newPipe = false;
    PipeLoopsCheckPipeLoopHasAtLeastOneNewPipeOverPreviousLoops(PipeLoopsCount, newPipe, CheckOnlyInPseudoLoops);
    if (!newPipe)
        PipeLoopRemove(PipeLoopsCount);
}

void TNetwork::PipeLoopsRemoveLastUnlessIfAddedFirstEveryOtherLoopHasAtLeastOneNewPipe(bool CheckOnlyInPseudoLoops)
{
    if (PipeLoopsCount < 1)
        return;
    const int position = CheckOnlyInPseudoLoops ? PipeRealLoopCount + 1 : 1;
    PipeLoopsInsertLastAtPosition(position);
    // Each later loop is compared with the loops from the moved one up to
    // itself; the pipes of those are gathered as the scan goes.
    std::vector<char> seen(at(MaxPipes + 1), 0);
    const auto gather = [&](int loop) {
        for (int k = 1; k <= PipeLoopsPipeCount[at(loop)]; ++k) {
            const int pipe = PipeLoops[at(loop)][at(k)];
            if (pipe >= 1 && pipe <= MaxPipes)
                seen[at(pipe)] = 1;
        }
    };
    gather(position);
    for (int i = position + 1; i <= PipeLoopsCount; ++i) {
        bool newPipe = false;
        for (int k = 1; k <= PipeLoopsPipeCount[at(i)] && !newPipe; ++k) {
            const int pipe = PipeLoops[at(i)][at(k)];
            newPipe = pipe < 1 || pipe > MaxPipes || !seen[at(pipe)];
        }
        if (!newPipe) {
            PipeLoopRemove(position);
            return;
        }
        gather(i);
    }
}

int TNetwork::PipeLoopsGetNumberOfNewPipesOverPriorLoops(int LoopId, int UpToPriorLoopId) const
{
    if (LoopId < 1 || LoopId > PipeLoopsCount)
        return 0;
    const int n = PipeLoopsPipeCount[at(LoopId)];
    if (UpToPriorLoopId <= 0)
        return n;
    int count = 0;
    for (int k = 1; k <= n; ++k) {
        bool seen = false;
        for (int i = 1; i <= std::min(UpToPriorLoopId, PipeLoopsCount) && !seen; ++i)
            seen = loopHolds(PipeLoops[at(i)], PipeLoopsPipeCount[at(i)], PipeLoops[at(LoopId)][at(k)]);
        if (!seen)
            ++count;
    }
    return count;
}

void TNetwork::PipeLoopsCountPipeExistsInRealLoop(int PipeId, int RealLoopCount, int &ExistsCount) const
{
    ExistsCount = 0;
    for (int i = 1; i <= std::min(RealLoopCount, PipeLoopsCount); ++i)
        if (loopHolds(PipeLoops[at(i)], PipeLoopsPipeCount[at(i)], PipeId))
            ++ExistsCount;
}

void TNetwork::PipeLoopsRemoveOneRealLoopWhereEveryPipeExistsInAtLeastOneOtherRealLoop(int &RealLoopCount,
                                                                                      bool &success)
{
    for (int i = 1; i <= std::min(RealLoopCount, PipeLoopsCount); ++i) {
        bool everyElsewhere = true;
        for (int k = 1; k <= PipeLoopsPipeCount[at(i)] && everyElsewhere; ++k) {
            int exists = 0;
            PipeLoopsCountPipeExistsInRealLoop(PipeLoops[at(i)][at(k)], RealLoopCount, exists);
            everyElsewhere = exists >= 2;
        }
        if (everyElsewhere) {
            PipeLoopRemove(i);
            --RealLoopCount;
            success = true;
            return;
        }
    }
}

void TNetwork::PipeLoopsSortExtraLoopsLongestFirst(int FromLoopId)
{
    const int first = std::max(FromLoopId, 1);
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int i = first; i < PipeLoopsCount; ++i)
            if (PipeLoopsPipeCount[at(i)] < PipeLoopsPipeCount[at(i + 1)]) {
                std::swap(PipeLoops[at(i)], PipeLoops[at(i + 1)]);
                std::swap(PipeLoopsPipeCount[at(i)], PipeLoopsPipeCount[at(i + 1)]);
                exchanged = true;
            }
    }
}

bool TNetwork::PipeLoopsLastPseduoLoopStartOrEndPipeIsNew() const
{
    const int last = PipeLoopsCount;
    if (last < 1 || PipeLoopsPipeCount[at(last)] < 1)
        return false;
    const auto endsOf = [&](int loop) {
        return std::pair{PipeLoops[at(loop)][1], PipeLoops[at(loop)][at(PipeLoopsPipeCount[at(loop)])]};
    };
    const auto [first, lastPipe] = endsOf(last);
    const auto isEndOfEarlier = [&](int pipe) {
        for (int i = 1; i < last; ++i) {
            if (PipeLoopsPipeCount[at(i)] < 1)
                continue;
            const auto [a, b] = endsOf(i);
            if (pipe == a || pipe == b)
                return true;
        }
        return false;
    };
    return !isEndOfEarlier(first) || !isEndOfEarlier(lastPipe);
}

void TNetwork::PipeLoopsReOrderRealLoopsForPositiveStartDirection()
{
    for (int i = 1; i <= PipeLoopsCount; ++i) {
        const int n = PipeLoopsPipeCount[at(i)];
        if (n < 2)
            continue;
        auto &loop = PipeLoops[at(i)];
        int f1 = 0, t1 = 0, f2 = 0, t2 = 0;
        GetPipeNodes(loop[1], f1, t1);
        GetPipeNodes(loop[2], f2, t2);
        const auto isJoint = [&](int node) {
            return node >= 1 && node <= MaxNodes && GetNode(node).NodeType == Joint;
        };
        if (isJoint(f1) && isJoint(t1) && t1 != f2 && t1 != t2)
            std::reverse(loop.begin() + 2, loop.begin() + n + 1);
    }
}

void TNetwork::PipeLoopsCheckAllPipesPresent(TResultsLog &Log) const
{
    Log.Add("Pipes Not In Any Generated Loop:");
    bool missing = false;
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const int pipe = NodeLinks[at(k)].PipeId;
        bool found = false;
        for (int i = 1; i <= PipeLoopsCount && !found; ++i)
            found = loopHolds(PipeLoops[at(i)], PipeLoopsPipeCount[at(i)], pipe);
        if (!found) {
            Log.Add("Pipe " + std::to_string(pipe));
            missing = true;
        }
    }
    if (!missing) {
        Log.Add("None Found - All pipes listed in at least one loop.");
        Log.Add(" ");
    }
}

// --- Loop finder ----------------------------------------------------------------------------

void TNetwork::PipeLoopsGenerateFromNode(int FromNodeId, int maxPipesInLoop, bool LoopMustHaveNewPipe)
{
    const int s = FromNodeId;
    const auto nodeType = [&](int node) { return node >= 1 && node <= MaxNodes ? GetNode(node).NodeType : NotSet; };
    const auto otherEnd = [&](int link, int node) {
        const TNodeLink &l = NodeLinks[at(link)];
        return l.FromNodeId == node ? l.ToNodeId : l.FromNodeId;
    };
    const auto valid = [](int node) { return node >= 1 && node <= MaxNodes; };

    // The links of every node in table order, so that a search visits each
    // node's links as a scan of the whole table would.
    std::vector<std::vector<int>> linksOf(at(MaxNodes + 1));
    for (int k = 1; k <= NodeLinksCount; ++k) {
        const TNodeLink &l = NodeLinks[at(k)];
        if (valid(l.FromNodeId))
            linksOf[at(l.FromNodeId)].push_back(k);
        if (valid(l.ToNodeId) && l.ToNodeId != l.FromNodeId)
            linksOf[at(l.ToNodeId)].push_back(k);
    }
    // Adds the pipes of the path that ends at node e, back to s.
    const auto addPathBackToStart = [&](int loop, int e) {
        for (int steps = 0; e != s; ++steps) {
            if (!valid(e) || steps > MaxNodes)
                throw ENetworkClass("TNetworkClass.RemovePipeLoopsGenerate Failed: Failed to complete shortestsPath search");
            PipeLoopAddPipe(loop, ShortestPaths[at(e)].PipeId);
            e = ShortestPaths[at(e)].PreviousNodeId;
        }
    };
    const bool startIsJoint = nodeType(s) == Joint;
    const bool startIsFixed = isFixedPressure(nodeType(s));

    // Breadth-first over unit-weight pipes; the nodes of one distance are
    // taken in ascending id order, as the search selects them.
    std::vector<int> level, nextLevel;
    for (int excluded = GetNextUndirectedNodeLinkId(s, 0); excluded > 0;
         excluded = GetNextUndirectedNodeLinkId(s, excluded)) {
        PipeLoopsShortestPathClear();
        ShortestPaths[at(s)].Visited = true;
        level.assign(1, s);
        int c = 0, rounds = 0;
        bool reachedLimit = false;
        while (!level.empty()) {
            nextLevel.clear();
            for (const int current : level) {
                if (++rounds > SearchRoundLimit) {
                    reachedLimit = true;
                    break;
                }
                c = current == s ? 0 : ShortestPaths[at(current)].Distance;
                if (current != s) {
                    // Selecting a node: a fixed-pressure node reached from a
                    // fixed-pressure start ends a pseudo loop.
                    if (startIsFixed && isFixedPressure(nodeType(current))) {
                        const int loop = PipeLoopCreate();
                        addPathBackToStart(loop, current);
                        const int count = PipeLoopsCount;
                        PipeLoopsRemoveLastIfPseudoLoopViaIntermediateTank();
                        // The next rule judges the new path, not an earlier loop.
                        if (PipeLoopsCount == count) {
                            if (LoopMustHaveNewPipe)
                                PipeLoopsRemoveLastUnlessAtLeastOneNewPipe(true);
                            else
                                PipeLoopsRemoveLastIfDuplicate();
                        }
                    }
                }
                const int previous = ShortestPaths[at(current)].PreviousNodeId;
                for (const int k : linksOf[at(current)]) {
                    const int b = otherEnd(k, current);
                    if (!valid(b) || b == previous)
                        continue;
                    if (k == excluded && current == s && startIsJoint)
                        continue;
                    if (c + 1 < ShortestPaths[at(b)].Distance) {
                        if (ShortestPaths[at(b)].Distance == Unreached && !ShortestPaths[at(b)].Visited)
                            nextLevel.push_back(b);
                        ShortestPaths[at(b)].Distance = c + 1;
                        ShortestPaths[at(b)].PreviousNodeId = current;
                        ShortestPaths[at(b)].PipeId = NodeLinks[at(k)].PipeId;
                    }
                }
            }
            if (reachedLimit)
                throw ENetworkClass(
                    "TNetworkClass.RemovePipeLoopsGenerate Failed: Failed to complete shortestsPath search");
            std::sort(nextLevel.begin(), nextLevel.end());
            for (const int node : nextLevel)
                ShortestPaths[at(node)].Visited = true;
            level.swap(nextLevel);
        }

        if (!startIsJoint)
            continue;
        const int b = otherEnd(excluded, s);
        const TShortestPathEntry &atB = ShortestPaths[at(valid(b) ? b : 0)];
        if (!(valid(b) && nodeType(b) == Joint && atB.Distance < Unreached && atB.Distance < maxPipesInLoop))
            continue;
        const int lambdaPipe = NodeLinks[at(excluded)].PipeId;
        int loop = PipeLoopCreate();
        PipeLoopAddPipe(loop, lambdaPipe);
        addPathBackToStart(loop, b);
        // The search comes back to the start over the pipe that closes the
        // loop, except when b was reached from the start directly (parallel
        // pipes): then the loop's own length is its size.
        const std::int32_t returned = ShortestPaths[at(s)].Distance;
        if ((returned == Unreached ? PipeLoopsPipeCount[at(loop)] : returned) > maxPipesInLoop) {
            PipeLoopRemove(PipeLoopsCount);
            continue;
        }
        const auto keepIfItAddsAPipe = [&](bool testNewPipe) {
            const int count = PipeLoopsCount;
            bool newPipe = true;
            if (testNewPipe) {
                PipeLoopsCheckPipeLoopHasAtLeastOneNewPipeOverPreviousLoops(PipeLoopsCount, newPipe, false);
                if (!newPipe)
                    PipeLoopsRemoveLastUnlessIfAddedFirstEveryOtherLoopHasAtLeastOneNewPipe(false);
            }
            if (PipeLoopsCount == count)
                PipeLoopsRemoveLastIfDuplicate();
        };
        keepIfItAddsAPipe(LoopMustHaveNewPipe);

        // Side loops at b: over another pipe of b to a node h no farther from
        // the start than b, and back from h.
        const int previousOfB = ShortestPaths[at(b)].PreviousNodeId;
        for (const int k : linksOf[at(b)]) {
            const int h = otherEnd(k, b);
            if (NodeLinks[at(k)].PipeId == lambdaPipe || h == previousOfB || !valid(h))
                continue;
            if (ShortestPaths[at(h)].Distance > ShortestPaths[at(b)].Distance)
                continue;
            loop = PipeLoopCreate();
            PipeLoopAddPipe(loop, lambdaPipe);
            PipeLoopAddPipe(loop, NodeLinks[at(k)].PipeId);
            addPathBackToStart(loop, h);
            keepIfItAddsAPipe(true);
        }
    }
}

void TNetwork::PipeLoopsGenerateAllLoops(TResultsLog &Log)
{
    const int links = NodeLinksCount;
    int joints = 0;
    const auto hasLinks = [&](int id) { return GetNumberOfInFlowPipes(id) + GetNumberOfOutFlowPipes(id) > 0; };
    const auto progress = [&](const std::string &text) {
        CalculatingString = text;
        UserInterface->ProcessMessages();
    };

    // Real loops from every joint, then the paths between fixed-pressure nodes.
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        if (GetNode(id).NodeType != Joint || !hasLinks(id))
            continue;
        ++joints;
        progress("Generating loops from Node: " + std::to_string(id));
        PipeLoopsGenerateFromNode(id, MaxLoopPipes, true);
    }
    PipeRealLoopCount = PipeLoopsCount;
    for (int id = GetNextNodeId(0); id > 0 && joints + PipeLoopsCount < links; id = GetNextNodeId(id)) {
        if (!isFixedPressure(GetNode(id).NodeType))
            continue;
        progress("Generating loops from Node: " + std::to_string(id));
        PipeLoopsGenerateFromNode(id, MaxLoopPipes, true);
    }
    PipePseudoLoopCount = PipeLoopsCount - PipeRealLoopCount;

    // Too few: again with growing limits on the size of the real loops.
    if (joints + PipeLoopsCount < links) {
        const int target = links - joints - PipePseudoLoopCount;
        PipeLoopsRemoveAllLoops();
        static constexpr int limits[] = {4, 8, 16, 1001};
        int lastPass = 1;
        for (int pass = 1; pass <= 4 && PipeLoopsCount < target; ++pass) {
            lastPass = pass;
            joints = 0;
            for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
                if (GetNode(id).NodeType != Joint || !hasLinks(id))
                    continue;
                ++joints;
                progress("Generating loops (pass " + std::to_string(pass + 1) + ") from Node: " + std::to_string(id));
                PipeLoopsGenerateFromNode(id, limits[pass - 1], true);
            }
        }
        PipeRealLoopCount = PipeLoopsCount;
        for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
            if (!isFixedPressure(GetNode(id).NodeType))
                continue;
            progress("Generating loops (pass " + std::to_string(lastPass + 1) + ") from Node: " + std::to_string(id));
            PipeLoopsGenerateFromNode(id, MaxLoopPipes, true);
        }
        PipePseudoLoopCount = PipeLoopsCount - PipeRealLoopCount;
    }

    // Too many: drop real loops that bring no pipe of their own, from the last.
    int c = PipeRealLoopCount;
    while (NodeLinksCount < joints + PipeLoopsCount && joints < NodeLinksCount && PipeLoopsCount > 0 && c > 0) {
        if (PipeLoopsGetNumberOfNewPipesOverPriorLoops(c, c - 1) > 0) {
            --c;
        } else {
            PipeLoopRemove(c);
            --PipeRealLoopCount;
            c = PipeRealLoopCount;
        }
    }

    PipeLoopsReOrderRealLoopsForPositiveStartDirection();
    PipePseudoLoopCount = PipeLoopsCount - PipeRealLoopCount;

    const int total = joints + PipeLoopsCount;
    if (total == NodeLinksCount)
        return;
    std::vector<std::string> lines;
    const std::string linksText = std::to_string(NodeLinksCount);
    for (std::string line :
         {std::string("Problem: The Network may not be solvable."), std::string(),
          "Pipes Count  =" + std::to_string(links),
          "Pipe Links Count =" + linksText + " (after removing pipes with FCVs, PRVs, BPVs)",
          "Joints Count =" + std::to_string(joints), "Loops Count  =" + std::to_string(PipeLoopsCount),
          "Real Loops   =" + std::to_string(PipeRealLoopCount), "Pseudo Loops =" + std::to_string(PipePseudoLoopCount),
          "Joints Count (" + std::to_string(joints) + ") + Loops Count (" + std::to_string(PipeLoopsCount) +
              ") = " + std::to_string(total),
          "which should equal the Links Count =" + linksText, std::string()})
        lines.push_back(std::move(line));
    if (total > NodeLinksCount) {
        for (const char *line :
             {"*** The System may be Over Controlled.",
              "For example, a system with fixed 'supply' flow rates (defined via FCVs or Fixed Flow Rate Pumps), that "
              "also contains FCVs fixing the flow rate on all 'discharge' paths, will be over controlled.",
              "Similarly, a system with FCVs in a series one after another would also be over controlled. Only one FCV "
              "is needed to control the flow rates in such a series of pipes.",
              "Systems that contain fixed flow rate pumps, FCVs, PRVs, & BPVs, require that the software temporarily "
              "'removes' these pipes when generating the inital mathematical model and they are replaced as "
              "appropriate by demand flows or pressure references at the prior and subsequent nodes. Once solved, the "
              "pipes are replaced in the system and the flows and pressure losses in these pipes and across any "
              "components on these pipes are calculated to give the final solution.",
              "If temporary 'removal' of these pipes (pipes with a fixed flow rate pump, FCV, PRV, or BPV on) causes "
              "part of the network to become isolated from all pressure references (tanks and end pressures) then "
              "this part of the network cannot be solved because there is no specified pressure reference to work "
              "from. ",
              "This message often means that part of the network has become isolated from any pressure reference when "
              "these pipes are temporarily 'removed'.",
              "If you imagine your network with these pipes removed and you cannot find a path from a particular "
              "section to a point of pressure reference then the network cannot be solved.",
              "Please review your design and see if you need to remove, move, or change, any of your fixed flow rate "
              "pumps, FCVs, PRVs, & BPVs, to stop your pipe system being over controlled."}) {
            lines.emplace_back(line);
            lines.emplace_back("");
        }
    }
    std::string box;
    for (const std::string &line : lines) {
        Log.Add(line.empty() ? " " : line); // the log's blank line
        box += line + "\r";
    }
    if (PipeLoopsMessagesOn)
        UserInterface->ShowMessage(TMessageKind::Information, box);
}

} // namespace tessaran
