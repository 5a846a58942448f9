// TNetwork: the loop store and the loop finder. The energy equations of a
// network are written around real loops (rings of pipes through joints) and
// pseudo loops (paths between two fixed-pressure nodes), chosen so that each
// loop brings a pipe of its own and joints plus loops equal the pipes whose
// flow is unknown. The scanning orders below (links in table order, nodes by
// ascending id) decide which of several equal paths a loop takes, and with it
// the generated equations.

#include "network/Network_Class.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessaran {

namespace {

constexpr std::int32_t Unreached = 2147483647;
constexpr int SearchRoundLimit = 1000000;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

bool isFixedPressure(TNodeType type) { return type == Tank || type == EndPressure; }

} // namespace

// Work data of the loop finder, and the loops it last found with everything
// they were found from.
struct TNetwork::TLoopFinder {
    // Each node's links in table order (links of node i are
    // links[start[i]..start[i+1]-1]) and the link of each pipe, noted for the
    // generation under way or for one search from a node.
    std::vector<int> start, links;
    struct TFarEnd {
        int Node, Pipe;
    };
    std::vector<TFarEnd> far;
    std::vector<int> linkOfPipe;
    bool generating = false;
    // The path entries the latest search set, to be reset before the next.
    std::vector<int> touched;

    void NoteLinks(const TNetwork &n)
    {
        const auto valid = [](int node) { return node >= 1 && node <= MaxNodes; };
        start.assign(at(MaxNodes + 2), 0);
        for (int k = 1; k <= n.NodeLinksCount; ++k) {
            const TNodeLink &l = n.NodeLinks[at(k)];
            if (valid(l.FromNodeId))
                ++start[at(l.FromNodeId + 1)];
            if (valid(l.ToNodeId) && l.ToNodeId != l.FromNodeId)
                ++start[at(l.ToNodeId + 1)];
        }
        for (int i = 1; i <= MaxNodes + 1; ++i)
            start[at(i)] += start[at(i - 1)];
        links.assign(at(start[at(MaxNodes + 1)]), 0);
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (int k = 1; k <= n.NodeLinksCount; ++k) {
            const TNodeLink &l = n.NodeLinks[at(k)];
            if (valid(l.FromNodeId))
                links[at(fill[at(l.FromNodeId)]++)] = k;
            if (valid(l.ToNodeId) && l.ToNodeId != l.FromNodeId)
                links[at(fill[at(l.ToNodeId)]++)] = k;
        }
        // The same entries with what a search reads of each link: the far
        // end (0 when not a node) and the pipe.
        far.resize(links.size());
        for (int i = 1; i <= MaxNodes; ++i)
            for (int e = start[at(i)]; e < start[at(i + 1)]; ++e) {
                const TNodeLink &l = n.NodeLinks[at(links[at(e)])];
                const int other = l.FromNodeId == i ? l.ToNodeId : l.FromNodeId;
                far[at(e)] = {valid(other) ? other : 0, l.PipeId};
            }
        linkOfPipe.assign(at(MaxPipes + 1), 0);
        for (int k = n.NodeLinksCount; k >= 1; --k) {
            const int pipe = n.NodeLinks[at(k)].PipeId;
            if (pipe >= 1 && pipe <= MaxPipes && linkOfPipe[at(pipe)] == 0)
                linkOfPipe[at(pipe)] = k;
        }
        NoteBridges(n);
        NoteSimpleLayout(n);
    }

    // A layout in which every link joins two different nodes by a pipe of
    // its own: a search there can take the short way below. Its results are
    // kept for the generation under way, since they do not depend on the
    // loops held nor (short of the size limit) on the pass.
    bool simple = false;
    std::vector<int> kind; // by node: the node type, for nodes with links
    void NoteSimpleLayout(const TNetwork &n)
    {
        simple = true;
        std::vector<char> pipeSeen(at(MaxPipes + 1), 0);
        for (int k = 1; k <= n.NodeLinksCount && simple; ++k) {
            const TNodeLink &l = n.NodeLinks[at(k)];
            simple = l.FromNodeId >= 1 && l.FromNodeId <= MaxNodes && l.ToNodeId >= 1 && l.ToNodeId <= MaxNodes &&
                     l.FromNodeId != l.ToNodeId && l.PipeId >= 1 && l.PipeId <= MaxPipes && !pipeSeen[at(l.PipeId)];
            if (simple)
                pipeSeen[at(l.PipeId)] = 1;
        }
        kind.assign(at(MaxNodes + 1), static_cast<int>(NotSet));
        for (int i = 1; i <= MaxNodes; ++i)
            if (Degree(i) > 0)
                kind[at(i)] = static_cast<int>(n.GetNode(i).NodeType);
        // The links that a search from a joint may take: all but bridges.
        coreStart.assign(at(MaxNodes + 2), 0);
        core.clear();
        if (simple)
            for (int i = 1; i <= MaxNodes + 1; ++i) {
                coreStart[at(i)] = static_cast<int>(core.size());
                if (i <= MaxNodes)
                    for (int e = start[at(i)]; e < start[at(i + 1)]; ++e)
                        if (!bridge[at(links[at(e)])])
                            core.push_back({far[at(e)].Node, far[at(e)].Pipe, links[at(e)]});
            }
        coreNode.resize(core.size());
        for (std::size_t f = 0; f < core.size(); ++f)
            coreNode[f] = core[f].Node;
        // Where most nodes have the same number of links (a grid), whether
        // a search meets a node anew follows a pattern the processor
        // foresees; elsewhere it does not, and the search from a joint takes
        // its links branch-free.
        std::vector<int> byDegree(8, 0);
        int withLinks = 0;
        for (int i = 1; i <= MaxNodes; ++i) {
            const int degree = coreStart[at(i + 1)] - coreStart[at(i)];
            if (degree > 0) {
                ++withLinks;
                ++byDegree[at(std::min(degree, 7))];
            }
        }
        branchFree = *std::max_element(byDegree.begin(), byDegree.end()) * 2 < withLinks;
        searchOf.assign(at(MaxNodes + 1), -1);
        searches.clear();
        candidates.clear();
        pool.clear();
    }

    // What a search from a node found: for each of its links in table order
    // (from a joint) the distance at which the link's far end was reached
    // and the loops it gave, the loop over the link first and then the side
    // loops; from a tank or end pressure, the paths to the other
    // fixed-pressure nodes in the order the search reaches them.
    struct TCandidate {
        int Offset, Size;
    };
    struct TLinkSearch {
        int Reached, FirstCandidate, Candidates;
    };
    std::vector<int> searchOf; // by node: its first entry in searches, -1 none yet
    std::vector<TLinkSearch> searches;
    std::vector<TCandidate> candidates;
    std::vector<int> pool;

    struct TCoreLink {
        int Node, Pipe, Link;
    };
    std::vector<int> coreStart;
    std::vector<TCoreLink> core;
    std::vector<int> coreNode; // the nodes of core, on their own
    bool branchFree = true;

    // Breadth-first work data: a node's entry is current while its stamp is
    // the search's.
    struct TPathEntry {
        std::uint32_t Stamp;
        int Distance, Parent, Pipe;
    };
    std::vector<TPathEntry> path;
    std::vector<int> queue;
    std::uint32_t searchStamp = 0;
    void NewSearch()
    {
        if (path.empty())
            path.assign(at(MaxNodes + 1), {0, 0, 0, 0});
        if (++searchStamp == 0) {
            for (TPathEntry &entry : path)
                entry.Stamp = 0;
            searchStamp = 1;
        }
    }
    bool Reached(int node) const { return path[at(node)].Stamp == searchStamp; }
    int dist(int node) const { return path[at(node)].Distance; }
    int parent(int node) const { return path[at(node)].Parent; }
    // The path tree of a search: of the nodes one pipe nearer the start, the
    // one with the lowest id leads to a node, over its first link there (the
    // order in which the search selects nodes and relaxes their links).
    // From a joint, the link is not taken from the start and bridges are not
    // crossed; the search ends with the level at which stopAt is reached.
    // From a tank or end pressure the search takes every link (excluded 0).
    void Search(int s, int excluded, int stopAt)
    {
        NewSearch();
        path[at(s)] = {searchStamp, 0, 0, 0};
        queue.clear();
        queue.push_back(s);
        const bool fromJoint = excluded > 0;
        const TCoreLink *entries = core.data();
        std::size_t head = 0;
        int level = 0;
        bool found = false;
        while (head < queue.size() && !found) {
            const std::size_t end = queue.size();
            for (; head < end && !found; ++head) {
                const int current = queue[head];
                const int previous = path[at(current)].Parent;
                const auto relax = [&](int to, int pipe) {
                    if (to == previous || to == s)
                        return;
                    TPathEntry &entry = path[at(to)];
                    if (entry.Stamp != searchStamp) {
                        entry = {searchStamp, level + 1, current, pipe};
                        queue.push_back(to);
                        found = found || to == stopAt;
                    } else if (entry.Distance == level + 1 && current < entry.Parent) {
                        entry.Parent = current;
                        entry.Pipe = pipe;
                    }
                };
                if (fromJoint) {
                    const int last = coreStart[at(current + 1)];
                    for (int f = coreStart[at(current)]; f < last && !found; ++f)
                        if (current != s || entries[f].Link != excluded)
                            relax(entries[f].Node, entries[f].Pipe);
                } else {
                    for (int f = start[at(current)]; f < start[at(current + 1)]; ++f)
                        relax(far[at(f)].Node, far[at(f)].Pipe);
                }
            }
            ++level;
        }
    }
    // The search from joint s without link excluded, to b, which is most of
    // a generation's work. The loops need of it the distance d from s to b
    // and, for b and the neighbours of b no farther than d, the path tree
    // back to s: of a node's neighbours one pipe nearer s, the one with the
    // lowest id, over the first link between them (ParentOf). That is the
    // tree a breadth-first search keeps when it takes the nodes of a level
    // by ascending id and their links in table order; it follows from the
    // distances alone, which are all that the search notes.
    //
    // Close searches go out from s a level at a time until a neighbour of b
    // lies on the last level done (the level beyond, but for b, is left
    // unmarked: nothing reads it). Once the nodes reached from s are many, the search goes out from b as well, a level
    // at a time on the side with fewer links to take, until the two meet at
    // rs + rb = d (rs, rb: the levels done from s and from b). The distance
    // from s of a node within rb of b, and no more than d + 1 - rs from it,
    // follows from a search that starts at the nodes rs from s and stays
    // within rb of b (the rest of a shortest path to it lies there). The
    // nodes of the paths to b lie no more than d - rs from b, and those of
    // the paths to the neighbours of b (no farther than d from s) no more
    // than d + 1 - rs: for the latter the side with fewer links goes out one
    // more level. Every distance so found is exact there and no shorter than
    // the true one elsewhere, so a neighbour one pipe nearer s than a node
    // of those paths is one.
    //
    // A node's mark is the search's base plus its distance; marks below the
    // base are left from earlier searches.
    static constexpr std::uint32_t MarkSpan = 1u << 11; // above any distance
    static constexpr int BothWaysFrom = 16;             // nodes reached from s
    std::vector<std::uint32_t> mark, markFromB;
    std::uint32_t markBase = 0;
    std::vector<int> order, orderFromB, seeds;
    struct TParent {
        std::uint32_t Mark;
        int Node, Pipe;
    };
    std::vector<TParent> parents; // ParentOf's answers in this search
    bool Marked(int node) const { return mark[at(node)] >= markBase; }
    int Distance(int node) const { return static_cast<int>(mark[at(node)] - markBase); }
    bool SearchFromJoint(int s, int excluded, int b)
    {
        if (mark.empty() || markBase > UINT32_MAX - 2 * MarkSpan) {
            mark.assign(at(MaxNodes + 1), 0);
            markFromB.assign(at(MaxNodes + 1), 0);
            parents.assign(at(MaxNodes + 1), {0, 0, 0});
            order.assign(at(MaxNodes + 1), 0);
            orderFromB.assign(at(MaxNodes + 1), 0);
            seeds.assign(at(MaxNodes + 1), 0);
            markBase = 0;
        }
        markBase += MarkSpan;
        const std::uint32_t base = markBase;
        std::uint32_t *fromS = mark.data();
        const int *to = coreNode.data();
        const int *first = coreStart.data();
        int *nodes = order.data();
        fromS[s] = base;
        int tail = 0;
        for (int f = first[s]; f < first[s + 1]; ++f)
            if (core[at(f)].Link != excluded && fromS[to[f]] < base) {
                fromS[to[f]] = base + 1;
                nodes[tail++] = to[f];
            }
        if (fromS[b] >= base)
            return true;
        int head = 0;
        for (; head < tail; ++head) {
            const int from = nodes[head];
            const std::uint32_t next = fromS[from] + 1;
            if (head == 0 || fromS[nodes[head - 1]] != fromS[from]) {
                // The level of `from` is complete: b lies one further when
                // a neighbour of b is on it, and the search ends there.
                for (int f = first[b]; f < first[b + 1]; ++f)
                    if (fromS[to[f]] == next - 1) {
                        fromS[b] = next;
                        return true;
                    }
                if (tail >= BothWaysFrom && head > 0)
                    break;
            }
            if (branchFree) {
                for (int f = first[from]; f < first[from + 1]; ++f) {
                    // The node is queued, and kept and marked when new.
                    const int node = to[f];
                    const std::uint32_t was = fromS[node];
                    const std::uint32_t fresh = was < base ? 1u : 0u;
                    nodes[tail] = node;
                    tail += static_cast<int>(fresh);
                    fromS[node] = was + ((next - was) & (0u - fresh));
                }
            } else {
                for (int f = first[from]; f < first[from + 1]; ++f) {
                    const int node = to[f];
                    if (fromS[node] < base) {
                        fromS[node] = next;
                        nodes[tail++] = node;
                    }
                }
            }
        }
        if (head == tail)
            return false;

        // From both ends: [levelS, tail) and [levelB, tailB) are the last
        // levels done from s and from b, linkS and linkB their links.
        std::uint32_t *fromB = markFromB.data();
        int *nodesB = orderFromB.data();
        int rs = static_cast<int>(fromS[nodes[head]] - base), rb = 0;
        int levelS = head, levelB = 0, tailB = 1;
        nodesB[0] = b;
        fromB[b] = base;
        const auto linksOf = [&](const int *list, int from, int end) {
            int count = 0;
            for (int i = from; i < end; ++i)
                count += first[list[i] + 1] - first[list[i]];
            return count;
        };
        int linkS = linksOf(nodes, levelS, tail), linkB = first[b + 1] - first[b];
        // One level more on one side; true when it reaches a node of the other.
        const auto step = [&](bool sideS) {
            std::uint32_t *own = sideS ? fromS : fromB;
            const std::uint32_t *other = sideS ? fromB : fromS;
            int *list = sideS ? nodes : nodesB;
            int &level = sideS ? levelS : levelB;
            int &end = sideS ? tail : tailB;
            const int levelEnd = end;
            const std::uint32_t next = base + static_cast<std::uint32_t>(sideS ? ++rs : ++rb);
            bool met = false;
            int links = 0;
            for (int i = level; i < levelEnd; ++i) {
                const int from = list[i];
                for (int f = first[from]; f < first[from + 1]; ++f) {
                    const int node = to[f];
                    if (own[node] >= base || core[at(f)].Link == excluded)
                        continue;
                    own[node] = next;
                    list[end++] = node;
                    links += first[node + 1] - first[node];
                    met = met || other[node] >= base;
                }
            }
            level = levelEnd;
            (sideS ? linkS : linkB) = links;
            return met;
        };
        while (true) {
            const bool sideS = linkS <= linkB;
            if (step(sideS))
                break;
            if ((sideS ? levelS == tail : levelB == tailB))
                return false; // one side has run out: b lies apart from s
        }
        const int d = rs + rb;
        // The neighbours of b that a side loop may run through: with two or
        // more besides s, one is not the node b's own path comes from.
        int firstOther = 0;
        bool twoOthers = false;
        for (int f = first[b]; f < first[b + 1] && !twoOthers; ++f) {
            const int node = to[f];
            if (node == s || core[at(f)].Link == excluded)
                continue;
            twoOthers = firstOther != 0 && node != firstOther;
            firstOther = firstOther == 0 ? node : firstOther;
        }
        if (twoOthers)
            step(linkS <= linkB);
        // From the nodes rs from s, within what was reached from b, to d.
        int count = 0;
        for (int i = 0; i < tailB; ++i)
            if (fromS[nodesB[i]] == base + static_cast<std::uint32_t>(rs))
                seeds[at(count++)] = nodesB[i];
        for (int from = 0, level = rs; level < d && from < count; ++level) {
            const int end = count;
            const std::uint32_t next = base + static_cast<std::uint32_t>(level + 1);
            for (; from < end; ++from) {
                const int u = seeds[at(from)];
                for (int f = first[u]; f < first[u + 1]; ++f) {
                    const int node = to[f];
                    if (fromB[node] >= base && fromS[node] < base) {
                        fromS[node] = next;
                        seeds[at(count++)] = node;
                    }
                }
            }
        }
        return true;
    }
    // Where the path from s to x comes from, after a search from joint s
    // without link excluded: of x's neighbours one pipe nearer s, the one
    // with the lowest id, over the first link between them. (No link of a
    // layout searched this way joins a node to itself.)
    int ParentOf(int x, int s, int excluded, int &pipe)
    {
        TParent &known = parents[at(x)];
        if (known.Mark == markBase) {
            pipe = known.Pipe;
            return known.Node;
        }
        const std::uint32_t nearer = mark[at(x)] - 1;
        const TCoreLink *entries = core.data();
        const std::uint32_t *marks = mark.data();
        int best = 0;
        if (nearer == markBase) {
            // Next to s: over the first link to s but the one left out.
            for (int f = coreStart[at(x)]; f < coreStart[at(x + 1)] && best == 0; ++f)
                if (entries[f].Node == s && entries[f].Link != excluded) {
                    best = s;
                    pipe = entries[f].Pipe;
                }
        } else {
            int bestF = -1;
            best = MaxNodes + 1;
            for (int f = coreStart[at(x)]; f < coreStart[at(x + 1)]; ++f) {
                const int u = entries[f].Node;
                if (marks[u] == nearer && u < best) {
                    best = u;
                    bestF = f;
                }
            }
            best = bestF < 0 ? 0 : best;
            pipe = bestF < 0 ? pipe : entries[bestF].Pipe;
        }
        known = {markBase, best, pipe};
        return best;
    }
    // Whether node x lies no farther than d from s, the distance of b: nodes
    // nearer are all marked; one at d may not be yet, and is marked here
    // when a neighbour lies at d - 1.
    bool Within(int x, int d, int s, int excluded)
    {
        if (Marked(x) && Distance(x) < d)
            return true;
        const std::uint32_t nearer = markBase + static_cast<std::uint32_t>(d - 1);
        const TCoreLink *entries = core.data();
        const std::uint32_t *marks = mark.data();
        for (int f = coreStart[at(x)]; f < coreStart[at(x + 1)]; ++f)
            if (marks[entries[f].Node] == nearer && !(entries[f].Node == s && entries[f].Link == excluded)) {
                mark[at(x)] = markBase + static_cast<std::uint32_t>(d);
                return true;
            }
        return false;
    }
    void AddPathFromJoint(int node, int s, int excluded)
    {
        while (node != s) {
            int pipe = 0;
            node = ParentOf(node, s, excluded, pipe);
            pool.push_back(pipe);
        }
    }
    void AddPath(int node, int s)
    {
        for (; node != s; node = path[at(node)].Parent)
            pool.push_back(path[at(node)].Pipe);
    }
    void AddCandidate(std::size_t offset)
    {
        candidates.push_back({static_cast<int>(offset), static_cast<int>(pool.size() - offset)});
        ++searches.back().Candidates;
    }
    // The searches from node s, done once in a generation.
    const TLinkSearch *SearchesFrom(int s)
    {
        if (searchOf[at(s)] >= 0)
            return &searches[at(searchOf[at(s)])];
        searchOf[at(s)] = static_cast<int>(searches.size());
        if (kind[at(s)] == Joint) {
            for (int e = start[at(s)]; e < start[at(s + 1)]; ++e) {
                const int excluded = links[at(e)];
                const int b = far[at(e)].Node;
                searches.push_back({Unreached, static_cast<int>(candidates.size()), 0});
                if (kind[at(b)] != Joint || bridge[at(excluded)])
                    continue;
                if (!SearchFromJoint(s, excluded, b))
                    continue;
                const int d = Distance(b);
                searches.back().Reached = d;
                const int lambdaPipe = far[at(e)].Pipe;
                std::size_t offset = pool.size();
                pool.push_back(lambdaPipe);
                int ignored = 0;
                const int parentOfB = ParentOf(b, s, excluded, ignored);
                AddPathFromJoint(b, s, excluded);
                AddCandidate(offset);
                for (int f = start[at(b)]; f < start[at(b + 1)]; ++f) {
                    const int h = far[at(f)].Node;
                    if (far[at(f)].Pipe == lambdaPipe || h == parentOfB || h == s || !Within(h, d, s, excluded))
                        continue;
                    offset = pool.size();
                    pool.push_back(lambdaPipe);
                    pool.push_back(far[at(f)].Pipe);
                    AddPathFromJoint(h, s, excluded);
                    AddCandidate(offset);
                }
            }
        } else {
            searches.push_back({0, static_cast<int>(candidates.size()), 0});
            Search(s, 0, 0);
            std::vector<std::pair<int, int>> ends;
            for (const int node : queue)
                if (node != s && isFixedPressure(static_cast<TNodeType>(kind[at(node)])))
                    ends.push_back({dist(node), node});
            std::sort(ends.begin(), ends.end());
            for (const auto &[distance, node] : ends) {
                const std::size_t offset = pool.size();
                AddPath(node, s);
                AddCandidate(offset);
            }
        }
        return &searches[at(searchOf[at(s)])];
    }
    // The links whose removal parts their two ends: no path other than the
    // link itself joins them, so no loop runs over them.
    std::vector<char> bridge;
    void NoteBridges(const TNetwork &n)
    {
        bridge.assign(at(n.NodeLinksCount + 1), 0);
        std::vector<int> order(at(MaxNodes + 1), 0), low(at(MaxNodes + 1), 0);
        struct TStep {
            int node, viaLink, next;
        };
        std::vector<TStep> stack;
        int time = 0;
        for (int root = 1; root <= MaxNodes; ++root) {
            if (order[at(root)] != 0 || Degree(root) == 0)
                continue;
            order[at(root)] = low[at(root)] = ++time;
            stack.push_back({root, 0, start[at(root)]});
            while (!stack.empty()) {
                TStep &step = stack.back();
                const int u = step.node;
                if (step.next < start[at(u + 1)]) {
                    const int k = links[at(step.next++)];
                    if (k == step.viaLink)
                        continue;
                    const TNodeLink &l = n.NodeLinks[at(k)];
                    const int v = l.FromNodeId == u ? l.ToNodeId : l.FromNodeId;
                    if (v < 1 || v > MaxNodes)
                        continue;
                    if (order[at(v)] == 0) {
                        order[at(v)] = low[at(v)] = ++time;
                        stack.push_back({v, k, start[at(v)]});
                    } else {
                        low[at(u)] = std::min(low[at(u)], order[at(v)]);
                    }
                    continue;
                }
                const int via = step.viaLink;
                stack.pop_back();
                if (!stack.empty()) {
                    const int p = stack.back().node;
                    low[at(p)] = std::min(low[at(p)], low[at(u)]);
                    if (low[at(u)] > order[at(p)])
                        bridge[at(via)] = 1;
                }
            }
        }
    }
    int Degree(int node) const { return start[at(node + 1)] - start[at(node)]; }

    // A set of pipe ids emptied in constant time.
    class TPipeMarks {
    public:
        void Clear()
        {
            if (++stamp_ == 0) {
                std::fill(marks_.begin(), marks_.end(), 0);
                stamp_ = 1;
            }
        }
        void Mark(int pipe)
        {
            if (pipe >= 0 && pipe <= MaxPipes)
                marks_[at(pipe)] = stamp_;
        }
        bool Marked(int pipe) const { return pipe >= 0 && pipe <= MaxPipes && marks_[at(pipe)] == stamp_; }

    private:
        std::vector<std::uint32_t> marks_ = std::vector<std::uint32_t>(at(MaxPipes + 1), 0);
        std::uint32_t stamp_ = 0;
    };
    TPipeMarks &NewPipeMarks()
    {
        marks.Clear();
        return marks;
    }
    TPipeMarks marks;

    // While a whole generation runs: how many times each pipe id occurs in
    // the loops of the store, kept up to date by the store operations.
    std::vector<int> occurrences;
    bool counting = false;
    void StartCounting(const TNetwork &n)
    {
        occurrences.assign(at(MaxPipes + 1), 0);
        for (int i = 1; i <= n.PipeLoopsCount; ++i)
            for (int k = 1; k <= n.PipeLoopsPipeCount[at(i)]; ++k)
                Count(n.PipeLoops[at(i)][at(k)], 1);
        counting = true;
        firstLoopsCurrent = false;
        // Whether each loop held holds each of its pipes once, all stored.
        distinctLoops = true;
        TPipeMarks &seen = marks;
        for (int i = 1; i <= n.PipeLoopsCount && distinctLoops; ++i) {
            const TPipeLoopEntries &loop = n.PipeLoops[at(i)];
            const int count = n.PipeLoopsPipeCount[at(i)];
            distinctLoops = count <= static_cast<int>(loop.Size()) - 1 || count == 0;
            seen.Clear();
            for (int k = 1; k <= count && distinctLoops; ++k) {
                distinctLoops = IsPipe(loop[at(k)]) && !seen.Marked(loop[at(k)]);
                seen.Mark(loop[at(k)]);
            }
        }
    }
    bool distinctLoops = false;
    void Count(int pipe, int change)
    {
        if (pipe >= 0 && pipe <= MaxPipes)
            occurrences[at(pipe)] += change;
    }
    void Uncount(const TNetwork &n, int loop)
    {
        for (int k = 1; k <= n.PipeLoopsPipeCount[at(loop)]; ++k)
            Count(n.PipeLoops[at(loop)][at(k)], -1);
    }

    // While a generation counts: the first loop of the store that holds each
    // pipe (0: none) and how many pipes each loop holds first, so that the
    // rule that tries a loop first reads counts instead of the loops. Loops
    // appended, filled and removed from the end keep them up to date; any
    // other change to the store has them worked out again when next read.
    // A loop with an entry that is no pipe, or with fewer entries stored
    // than counted, always has a new pipe: it holds "many" first.
    static constexpr int Many = 1 << 30;
    std::vector<int> firstLoop, ownPipes, hits;
    int loopsWithoutOwnPipe = 0;
    bool firstLoopsCurrent = false;
    static bool IsPipe(int pipe) { return pipe >= 1 && pipe <= MaxPipes; }
    void RecountFirstLoops(const TNetwork &n)
    {
        firstLoop.assign(at(MaxPipes + 1), 0);
        ownPipes.assign(at(MaxLoops + 2), 0);
        ownPipes[0] = Many;
        hits.assign(at(MaxLoops + 2), 0);
        loopsWithoutOwnPipe = 0;
        for (int i = 1; i <= n.PipeLoopsCount; ++i) {
            const TPipeLoopEntries &loop = n.PipeLoops[at(i)];
            const int count = n.PipeLoopsPipeCount[at(i)];
            if (count > static_cast<int>(loop.Size()) - 1 && count > 0)
                ownPipes[at(i)] = Many;
            for (int k = 1; k <= std::min<int>(count, static_cast<int>(loop.Size()) - 1); ++k) {
                const int pipe = loop[at(k)];
                if (!IsPipe(pipe))
                    ownPipes[at(i)] = Many;
                else if (firstLoop[at(pipe)] == 0) {
                    firstLoop[at(pipe)] = i;
                    if (ownPipes[at(i)] < Many)
                        ++ownPipes[at(i)];
                }
            }
            if (ownPipes[at(i)] == 0)
                ++loopsWithoutOwnPipe;
        }
        firstLoopsCurrent = true;
    }
    void AppendedLoop(int loop)
    {
        if (!firstLoopsCurrent)
            return;
        ownPipes[at(loop)] = 0;
        ++loopsWithoutOwnPipe;
    }
    void AddedPipe(const TNetwork &n, int loop, int pipe)
    {
        if (!firstLoopsCurrent)
            return;
        if (loop != n.PipeLoopsCount) {
            firstLoopsCurrent = false;
            return;
        }
        int &own = ownPipes[at(loop)];
        const bool hadNone = own == 0;
        if (!IsPipe(pipe))
            own = Many;
        else if (firstLoop[at(pipe)] == 0) {
            firstLoop[at(pipe)] = loop;
            if (own < Many)
                ++own;
        }
        if (hadNone && own != 0)
            --loopsWithoutOwnPipe;
    }
    // Before the loop is taken out of the store.
    void RemovingLoop(const TNetwork &n, int loop)
    {
        if (!firstLoopsCurrent)
            return;
        if (loop != n.PipeLoopsCount) {
            firstLoopsCurrent = false;
            return;
        }
        const TPipeLoopEntries &entries = n.PipeLoops[at(loop)];
        for (const std::int32_t *p = entries.begin() + (entries.Size() > 0 ? 1 : 0); p < entries.end(); ++p)
            if (IsPipe(*p) && firstLoop[at(*p)] == loop)
                firstLoop[at(*p)] = 0;
        if (ownPipes[at(loop)] == 0)
            --loopsWithoutOwnPipe;
        ownPipes[at(loop)] = 0;
    }
    // Whether a loop of these pipes (each a pipe, none twice), appended to
    // the store, would be taken out again by the new-pipe rules and leave
    // the store as it was: it holds no pipe of its own, and tried first it
    // would leave some loop without a new pipe.
    bool WouldBeDropped(const TNetwork &n, const int *pipes, int count)
    {
        if (!counting || n.PipeLoopsCount < 1 || n.PipeLoopsCount + 1 >= MaxLoops)
            return false;
        if (!firstLoopsCurrent)
            RecountFirstLoops(n);
        // A pipe held by no loop makes the loop stay; else the count of pipes
        // taken from each holder decides the rule that tries it first. Both
        // are read in one sweep without a branch on the pipes (a pipe held by
        // none counts against "loop 0", which holds many).
        const int *held = firstLoop.data();
        int *taken = hits.data();
        const int *own = ownPipes.data();
        bool unheld = false, dropped = false;
        for (int k = 0; k < count; ++k) {
            const int holder = held[pipes[k]];
            unheld = unheld | (holder == 0);
            dropped = dropped | (++taken[holder] >= own[holder]);
        }
        for (int k = 0; k < count; ++k)
            taken[held[pipes[k]]] = 0;
        return !unheld && (loopsWithoutOwnPipe > 0 || dropped);
    }

    // The last generation: the layout it was found for and what it gave.
    std::vector<TLoopFinderLayoutEntry> layout, nextLayout; // nextLayout: the one being generated for
    bool kept = false;
    std::vector<std::vector<std::int32_t>> loops; // as the store holds them: entry 0, then the pipes
    std::int32_t realLoops = 0, pseudoLoops = 0;
    // The progress texts shown, one after another, and where each ends.
    std::string progress;
    std::vector<std::size_t> progressEnds;
    // Appends the text shown while the loops from a node are found.
    static void AppendProgressText(std::string &text, int pass, int node)
    {
        char digits[16];
        const auto number = [&](int value) {
            text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
        };
        if (pass == 0) {
            text.append("Generating loops from Node: ");
        } else {
            text.append("Generating loops (pass ");
            number(pass + 1);
            text.append(") from Node: ");
        }
        number(node);
    }
    // Shows progress text i: written over the last one in place, since the
    // texts differ little in length.
    void ShowProgress(TNetwork &n, std::size_t i) const
    {
        const std::size_t from = i == 0 ? 0 : progressEnds[i - 1];
        const std::size_t length = progressEnds[i] - from;
        n.CalculatingString.resize(length);
        std::copy_n(progress.data() + from, length, n.CalculatingString.data());
        n.UserInterface->ProcessMessages();
    }
    std::vector<std::string> countLines;
};

TNetwork::TLoopFinder &TNetwork::loopFinder()
{
    if (!loopFinder_)
        loopFinder_ = std::make_shared<TLoopFinder>();
    return *loopFinder_;
}

// While a generation runs the links stay as noted: a pipe's ends are read
// from its link directly.
void TNetwork::loopPipeNodes(int PipeId, int &FromNodeId, int &ToNodeId) const
{
    if (loopFinder_ && loopFinder_->generating && PipeId >= 1 && PipeId <= MaxPipes) {
        const int link = loopFinder_->linkOfPipe[at(PipeId)];
        if (link > 0) {
            FromNodeId = NodeLinks[at(link)].FromNodeId;
            ToNodeId = NodeLinks[at(link)].ToNodeId;
            return;
        }
    }
    GetPipeNodes(PipeId, FromNodeId, ToNodeId);
}

// --- Loop store ---------------------------------------------------------------------------

int TNetwork::PipeLoopCreate()
{
    if (PipeLoopsCount >= MaxLoops)
        return -1;
    ++PipeLoopsCount;
    PipeLoops[at(PipeLoopsCount)].Clear();
    PipeLoopsPipeCount[at(PipeLoopsCount)] = 0;
    if (loopFinder_ && loopFinder_->counting)
        loopFinder_->AppendedLoop(PipeLoopsCount);
    return PipeLoopsCount;
}

void TNetwork::PipeLoopClear(int LoopId)
{
    if (LoopId < 1 || LoopId > MaxLoops)
        throw ENetworkClass("TNetwork.PipeLoopClear Failed: Specified LoopId may not be valid");
    if (loopFinder_ && loopFinder_->counting && LoopId <= PipeLoopsCount) {
        loopFinder_->Uncount(*this, LoopId);
        loopFinder_->RemovingLoop(*this, LoopId);
        loopFinder_->AppendedLoop(LoopId);
    }
    PipeLoops[at(LoopId)].Clear();
    PipeLoopsPipeCount[at(LoopId)] = 0;
}

void TNetwork::PipeLoopRemove(int LoopId)
{
    if (LoopId < 1 || LoopId > PipeLoopsCount)
        throw ENetworkClass("TNetwork.PipeLoopRemove Failed: Specified LoopId may not be valid");
    if (loopFinder_ && loopFinder_->counting) {
        loopFinder_->Uncount(*this, LoopId);
        loopFinder_->RemovingLoop(*this, LoopId);
    }
    // Loops move as a whole; the removed one's storage ends up last, cleared.
    std::rotate(PipeLoops.begin() + LoopId, PipeLoops.begin() + LoopId + 1, PipeLoops.begin() + PipeLoopsCount + 1);
    std::copy(PipeLoopsPipeCount.begin() + LoopId + 1, PipeLoopsPipeCount.begin() + PipeLoopsCount + 1,
              PipeLoopsPipeCount.begin() + LoopId);
    PipeLoops[at(PipeLoopsCount)].Clear();
    PipeLoopsPipeCount[at(PipeLoopsCount)] = 0;
    --PipeLoopsCount;
}

void TNetwork::PipeLoopsRemoveAllLoops()
{
    // Taken from the last, each loop is cleared where it stands; a
    // generation that counts pipes hears of each.
    if (loopFinder_ && loopFinder_->counting)
        while (PipeLoopsCount > 0)
            PipeLoopRemove(PipeLoopsCount);
    for (int i = 1; i <= PipeLoopsCount; ++i) {
        PipeLoops[at(i)].Clear();
        PipeLoopsPipeCount[at(i)] = 0;
    }
    PipeLoopsCount = 0;
}

void TNetwork::PipeLoopsInsertLastAtPosition(int LoopId)
{
    if (PipeLoopsCount >= MaxLoops)
        throw ENetworkClass("TNetwork.PipeLoopsInsertLastAtPosition Failed: PipeLoopCount=" +
                            std::to_string(PipeLoopsCount));
    if (LoopId < 1 || LoopId >= PipeLoopsCount)
        return;
    if (loopFinder_)
        loopFinder_->firstLoopsCurrent = false;
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
    if (loopFinder_ && loopFinder_->counting) {
        loopFinder_->Count(PipeId, 1);
        loopFinder_->AddedPipe(*this, LoopId, PipeId);
    }
}

void TNetwork::PipeLoopRemovePipe(int LoopId, int PipeId)
{
    if (LoopId >= 1 && LoopId <= PipeLoopsCount) {
        auto &loop = PipeLoops[at(LoopId)];
        const int n = PipeLoopsPipeCount[at(LoopId)];
        for (int i = 1; i <= n; ++i)
            if (loop[at(i)] == PipeId) {
                if (loopFinder_ && loopFinder_->counting) {
                    loopFinder_->Count(PipeId, -1);
                    loopFinder_->firstLoopsCurrent = false;
                }
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

bool loopHolds(const TPipeLoopEntries &loop, int count, int pipeId)
{
    if (loop.Size() < 2)
        return pipeId == 0 && count > 0;
    const auto last = loop.begin() + std::min<std::size_t>(at(std::max(count, 0)), loop.Size() - 1) + 1;
    return std::find(loop.begin() + 1, last, pipeId) != last || (pipeId == 0 && count >= static_cast<int>(loop.Size()));
}

} // namespace

// A path from a fixed-pressure start to another fixed-pressure node, just
// stored as the last loop: dropped when it runs through an intermediate
// tank, else judged by the new-pipe or the duplicate rule. The second rule
// judges the new path only, never an earlier loop.
void TNetwork::judgeLastLoopFromFixedStart(bool LoopMustHaveNewPipe)
{
    const int count = PipeLoopsCount;
    PipeLoopsRemoveLastIfPseudoLoopViaIntermediateTank();
    if (PipeLoopsCount != count)
        return;
    if (LoopMustHaveNewPipe)
        PipeLoopsRemoveLastUnlessAtLeastOneNewPipe(true);
    else
        PipeLoopsRemoveLastIfDuplicate();
}

void TNetwork::PipeLoopsRemoveLastIfPseudoLoopViaIntermediateTank()
{
    if (PipeLoopsCount < 1)
        return;
    const auto &loop = PipeLoops[at(PipeLoopsCount)];
    int ends = 0;
    for (int i = 1; i <= PipeLoopsPipeCount[at(PipeLoopsCount)]; ++i) {
        int from = 0, to = 0;
        loopPipeNodes(loop[at(i)], from, to);
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
    // The last loop's pipes, marked once; an entry read past those stored is 0.
    const TPipeLoopEntries &lastLoop = std::as_const(PipeLoops)[at(last)];
    TLoopFinder::TPipeMarks &held = loopFinder().NewPipeMarks();
    const int stored = std::min<int>(n, std::max<int>(static_cast<int>(lastLoop.Size()) - 1, 0));
    for (int k = 1; k <= stored; ++k)
        held.Mark(lastLoop[at(k)]);
    if (n > stored)
        held.Mark(0);
    const auto holds = [&](int pipe) {
        return pipe >= 0 && pipe <= MaxPipes ? held.Marked(pipe) : loopHolds(lastLoop, n, pipe);
    };
    for (int i = 1; i < last; ++i) {
        if (PipeLoopsPipeCount[at(i)] != n)
            continue;
        bool all = true;
        for (int k = 1; k <= n && all; ++k)
            all = holds(std::as_const(PipeLoops)[at(i)][at(k)]);
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
    const int count = PipeLoopsPipeCount[at(LoopId)];
    // The last loop against all before it, while a generation counts the
    // pipes of the store: a pipe is new when all its occurrences are its own.
    if (loopFinder_ && loopFinder_->counting && LoopId == PipeLoopsCount && first <= 1) {
        const std::vector<int> &occurrences = loopFinder_->occurrences;
        AtLeastOneNewPipe = false;
        for (int k = 1; k <= count && !AtLeastOneNewPipe; ++k) {
            const int pipe = loop[at(k)];
            if (pipe < 0 || pipe > MaxPipes) {
                AtLeastOneNewPipe = true;
                continue;
            }
            const int total = occurrences[at(pipe)];
            if (total == 1) {
                AtLeastOneNewPipe = true;
                continue;
            }
            int own = 0;
            for (int j = 1; j <= count; ++j)
                own += loop[at(j)] == pipe ? 1 : 0;
            AtLeastOneNewPipe = own == total;
        }
        return;
    }
    // The pipes of the compared loops, marked once.
    TLoopFinder::TPipeMarks &seen = const_cast<TNetwork *>(this)->loopFinder().NewPipeMarks();
    for (int i = std::max(first, 1); i < LoopId; ++i) {
        const auto &earlier = PipeLoops[at(i)];
        const int count = std::min<int>(PipeLoopsPipeCount[at(i)], static_cast<int>(earlier.Size()) - 1);
        for (int k = 1; k <= count; ++k)
            seen.Mark(earlier[at(k)]);
    }
    AtLeastOneNewPipe = false;
    for (int k = 1; k <= count && !AtLeastOneNewPipe; ++k)
        AtLeastOneNewPipe = !seen.Marked(loop[at(k)]);
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
    // The scan below, worked out with the last loop left where it stands:
    // the loops from the position on are taken in the order they would have
    // behind it. When one of them shows no new pipe the moved loop would be
    // taken out again and the store be as it was; only a loop that passes
    // is moved. A loop whose pipes all lie in the last loop fails whatever
    // stands between, so those are looked for first: the common case.
    if (PipeLoopsCount < MaxLoops && position == 1 && position < PipeLoopsCount && loopFinder_ &&
        loopFinder_->counting) {
        // Loop i keeps a new pipe behind the moved one when it holds first a
        // pipe that the moved loop lacks: when it holds first more pipes than
        // the moved loop takes from it.
        TLoopFinder &finder = *loopFinder_;
        if (!finder.firstLoopsCurrent)
            finder.RecountFirstLoops(*this);
        const int last = PipeLoopsCount;
        bool everyOtherKeepsOne = finder.loopsWithoutOwnPipe - (finder.ownPipes[at(last)] == 0 ? 1 : 0) == 0;
        if (everyOtherKeepsOne) {
            const TPipeLoopEntries &entries = std::as_const(PipeLoops)[at(last)];
            const int count = std::min<int>(PipeLoopsPipeCount[at(last)], static_cast<int>(entries.Size()) - 1);
            TLoopFinder::TPipeMarks &taken = finder.NewPipeMarks();
            std::vector<int> &hits = finder.hits;
            int touched = 0;
            for (int k = 1; k <= count && everyOtherKeepsOne; ++k) {
                const int pipe = entries[at(k)];
                if (!TLoopFinder::IsPipe(pipe) || taken.Marked(pipe))
                    continue;
                taken.Mark(pipe);
                const int holder = finder.firstLoop[at(pipe)];
                if (holder < 1 || holder >= last)
                    continue;
                ++touched;
                everyOtherKeepsOne = ++hits[at(holder)] < finder.ownPipes[at(holder)];
            }
            if (touched > 0)
                for (int k = 1; k <= count; ++k) {
                    const int pipe = entries[at(k)];
                    if (TLoopFinder::IsPipe(pipe))
                        hits[at(std::max(finder.firstLoop[at(pipe)], 0))] = 0;
                }
        }
        if (everyOtherKeepsOne)
            PipeLoopsInsertLastAtPosition(position);
        else
            PipeLoopRemove(last);
        return;
    }
    if (PipeLoopsCount < MaxLoops && position >= 1 && position < PipeLoopsCount) {
        const int last = PipeLoopsCount;
        const auto &loops = std::as_const(PipeLoops);
        const auto pipesOf = [&](int loop) {
            const TPipeLoopEntries &entries = loops[at(loop)];
            const int count = std::min<int>(PipeLoopsPipeCount[at(loop)], static_cast<int>(entries.Size()) - 1);
            return std::pair{entries.begin() + 1, entries.begin() + 1 + std::max(count, 0)};
        };
        const auto shortOf = [&](int loop) {
            // Entries past those stored read 0, which is no pipe.
            return PipeLoopsPipeCount[at(loop)] > std::max<int>(static_cast<int>(loops[at(loop)].Size()) - 1, 0);
        };
        TLoopFinder::TPipeMarks &seen = loopFinder().NewPipeMarks();
        const auto gather = [&](int loop) {
            const auto [first, end] = pipesOf(loop);
            for (auto p = first; p != end; ++p)
                seen.Mark(*p);
        };
        const auto hasNewPipe = [&](int loop) {
            if (shortOf(loop))
                return true;
            const auto [first, end] = pipesOf(loop);
            for (auto p = first; p != end; ++p)
                if (*p < 1 || *p > MaxPipes || !seen.Marked(*p))
                    return true;
            return false;
        };
        gather(last);
        for (int i = position; i < last; ++i)
            if (!hasNewPipe(i)) {
                PipeLoopRemove(last);
                return;
            }
        for (int i = position; i < last; ++i) {
            if (!hasNewPipe(i)) {
                PipeLoopRemove(last);
                return;
            }
            gather(i);
        }
        PipeLoopsInsertLastAtPosition(position);
        return;
    }
    PipeLoopsInsertLastAtPosition(position);
    // Each later loop is compared with the loops from the moved one up to
    // itself; the pipes of those are gathered as the scan goes.
    TLoopFinder::TPipeMarks &seen = loopFinder().NewPipeMarks();
    const auto gather = [&](int loop) {
        for (int k = 1; k <= PipeLoopsPipeCount[at(loop)]; ++k)
            seen.Mark(PipeLoops[at(loop)][at(k)]);
    };
    gather(position);
    for (int i = position + 1; i <= PipeLoopsCount; ++i) {
        bool newPipe = false;
        for (int k = 1; k <= PipeLoopsPipeCount[at(i)] && !newPipe; ++k) {
            const int pipe = PipeLoops[at(i)][at(k)];
            newPipe = pipe < 1 || pipe > MaxPipes || !seen.Marked(pipe);
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
                if (loopFinder_)
                    loopFinder_->firstLoopsCurrent = false;
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
    // Outside a generation a pipe's ends come from a table of the first link
    // of each pipe, made once here, instead of a search of the links each.
    std::vector<int> linkOfPipe;
    if (!(loopFinder_ && loopFinder_->generating)) {
        int largest = 0;
        for (int k = 1; k <= NodeLinksCount; ++k)
            largest = std::max(largest, NodeLinks[at(k)].PipeId);
        linkOfPipe.assign(at(largest) + 1, 0);
        for (int k = NodeLinksCount; k >= 1; --k)
            if (const int pipe = NodeLinks[at(k)].PipeId; pipe >= 1)
                linkOfPipe[at(pipe)] = k;
    }
    const auto ends = [&](int pipe, int &from, int &to) {
        if (pipe >= 1 && pipe < static_cast<int>(linkOfPipe.size()) && linkOfPipe[at(pipe)] > 0) {
            const TNodeLink &link = NodeLinks[at(linkOfPipe[at(pipe)])];
            from = link.FromNodeId;
            to = link.ToNodeId;
            return;
        }
        loopPipeNodes(pipe, from, to);
    };
    for (int i = 1; i <= PipeLoopsCount; ++i) {
        const int n = PipeLoopsPipeCount[at(i)];
        if (n < 2)
            continue;
        auto &loop = PipeLoops[at(i)];
        int f1 = 0, t1 = 0, f2 = 0, t2 = 0;
        ends(loop[1], f1, t1);
        ends(loop[2], f2, t2);
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

void TNetwork::PipeLoopsRemoveBetweenSupplyAndSupply()
{
    const int joints = GetNumberOfJointTypeNodes();
    const auto startsAtTank = [&](int pipe) {
        int from = 0, to = 0;
        GetFromAndToNodeIds(pipe, from, to);
        return from >= 1 && from <= MaxNodes && GetNode(from).NodeType == Tank;
    };
    for (int i = 1; i <= PipeLoopsCount && NodeLinksCount < joints + PipeLoopsCount;) {
        const int n = PipeLoopsPipeCount[at(i)];
        if (n < 1 || !startsAtTank(PipeLoops[at(i)][1]) || !startsAtTank(PipeLoops[at(i)][at(n)])) {
            ++i;
            continue;
        }
        PipeLoopRemove(i);
        // The real loops come first; the split stays true to the store.
        if (i <= PipeRealLoopCount)
            --PipeRealLoopCount;
        PipePseudoLoopCount = PipeLoopsCount - PipeRealLoopCount;
    }
}

// --- Completing the loops ----------------------------------------------------------------

namespace {

// Loops taken as sets of pipes, with every tank and end pressure tied to one
// common datum: a path between two fixed-pressure nodes closes through the
// datum, so each loop is a cycle and independent loops are independent sets.
class CycleSets {
public:
    using Set = std::vector<std::uint64_t>;

    explicit CycleSets(int members) : words_(at(members + 63) / 64), byLeading_(at(members)) {}

    Set Empty() const { return Set(words_, 0); }
    static void Toggle(Set &set, int member) { set[at(member) / 64] ^= std::uint64_t{1} << (at(member) % 64); }

    // Holds the set and answers true unless it is a sum of the sets held.
    bool Add(Set set)
    {
        for (int member = leading(set); member >= 0; member = leading(set)) {
            Set &held = byLeading_[at(member)];
            if (held.empty()) {
                held = std::move(set);
                ++count_;
                return true;
            }
            for (std::size_t w = 0; w < words_; ++w)
                set[w] ^= held[w];
        }
        return false;
    }
    int Count() const { return count_; }

private:
    int leading(const Set &set) const
    {
        for (std::size_t w = words_; w-- > 0;)
            if (set[w] != 0)
                return static_cast<int>(w * 64 + 63 - static_cast<std::size_t>(std::countl_zero(set[w])));
        return -1;
    }

    std::size_t words_;
    std::vector<Set> byLeading_; // by the highest member
    int count_ = 0;
};

// Completes the loops with the independent ones that the search from each
// node cannot see: a ring that closes on a tank without a pipe between two
// joints on it (two pipes side by side from a tank to a joint), and second
// paths between the same two fixed-pressure nodes. The loops already held
// keep their places, except one that the loops before it already give. A
// spanning tree grown from the datum gives one cycle for each pipe outside
// it; each cycle that the held loops do not already give is added, a closed
// one after the real loops and a path between two fixed-pressure nodes at the
// end, until the loops span every cycle of the network.
void completeLoops(TNetwork &n)
{
    const int links = n.NodeLinksCount;
    if (links < 1)
        return;
    const auto valid = [](int node) { return node >= 1 && node <= TNetwork::MaxNodes; };
    const auto fixed = [&](int node) { return valid(node) && isFixedPressure(n.GetNode(node).NodeType); };

    // Members of the sets: link k is k - 1; the tie of the i-th fixed-pressure
    // node to the datum is links + i - 1.
    // Each node's links in table order: those of node i are
    // linkList[first[i]..first[i+1]-1].
    std::vector<int> first(at(TNetwork::MaxNodes + 2), 0);
    for (int k = 1; k <= links; ++k) {
        const TNodeLink &l = n.NodeLinks[at(k)];
        if (!valid(l.FromNodeId) || !valid(l.ToNodeId))
            return; // the links are checked when the equations are written
        ++first[at(l.FromNodeId + 1)];
        if (l.ToNodeId != l.FromNodeId)
            ++first[at(l.ToNodeId + 1)];
    }
    for (int i = 1; i <= TNetwork::MaxNodes + 1; ++i)
        first[at(i)] += first[at(i - 1)];
    std::vector<int> linkList(at(first[at(TNetwork::MaxNodes + 1)]));
    {
        std::vector<int> fill(first.begin(), first.end() - 1);
        for (int k = 1; k <= links; ++k) {
            const TNodeLink &l = n.NodeLinks[at(k)];
            linkList[at(fill[at(l.FromNodeId)]++)] = k;
            if (l.ToNodeId != l.FromNodeId)
                linkList[at(fill[at(l.ToNodeId)]++)] = k;
        }
    }
    const auto linksOf = [&](int node) {
        return std::span<const int>(linkList.data() + first[at(node)], linkList.data() + first[at(node + 1)]);
    };
    std::vector<int> tie(at(TNetwork::MaxNodes + 1), -1);
    std::vector<int> fixedNodes;
    for (int id = 1; id <= TNetwork::MaxNodes; ++id)
        if (!linksOf(id).empty() && fixed(id)) {
            tie[at(id)] = links + static_cast<int>(fixedNodes.size());
            fixedNodes.push_back(id);
        }
    std::vector<int> linkOfPipe(at(TNetwork::MaxPipes + 1), 0);
    for (int k = 1; k <= links; ++k) {
        const int pipe = n.NodeLinks[at(k)].PipeId;
        if (pipe >= 1 && pipe <= TNetwork::MaxPipes)
            linkOfPipe[at(pipe)] = k;
    }

    // The spanning tree: the datum first, then every fixed-pressure node,
    // then breadth-first over the links; parts without a fixed-pressure node
    // grow their own trees from their lowest node.
    constexpr int Datum = 0;
    std::vector<int> parent(at(TNetwork::MaxNodes + 1), -1), parentLink(at(TNetwork::MaxNodes + 1), 0),
        depth(at(TNetwork::MaxNodes + 1), 0);
    std::vector<char> inTree(at(links + 1), 0);
    std::vector<int> queue;
    const auto grow = [&](std::size_t head) {
        for (; head < queue.size(); ++head) {
            const int node = queue[head];
            for (const int k : linksOf(node)) {
                const TNodeLink &l = n.NodeLinks[at(k)];
                const int other = l.FromNodeId == node ? l.ToNodeId : l.FromNodeId;
                if (parent[at(other)] >= 0 || other == node)
                    continue;
                parent[at(other)] = node;
                parentLink[at(other)] = k;
                depth[at(other)] = depth[at(node)] + 1;
                inTree[at(k)] = 1;
                queue.push_back(other);
            }
        }
    };
    for (const int node : fixedNodes) {
        parent[at(node)] = Datum;
        depth[at(node)] = 1;
        queue.push_back(node);
    }
    grow(0);
    for (int id = 1; id <= TNetwork::MaxNodes; ++id)
        if (!linksOf(id).empty() && parent[at(id)] < 0) {
            parent[at(id)] = id; // a root of its own
            queue.push_back(id);
            grow(queue.size() - 1);
        }
    int needed = 0;
    for (int k = 1; k <= links; ++k)
        needed += inTree[at(k)] ? 0 : 1;

    // The loops held, with their two end nodes closed through the datum when
    // they are paths. When each is then a cycle (every end a tank or end
    // pressure), a cycle is told by its links outside the tree alone: the
    // sets are written over those, which leaves the same sums.
    std::vector<int> linksOfLoop, oddNodes;
    std::vector<char> odd(at(TNetwork::MaxNodes + 1), 0);
    const auto readLoop = [&](int loop) {
        linksOfLoop.clear();
        oddNodes.clear();
        for (int i = 1; i <= n.PipeLoopsPipeCount[at(loop)]; ++i) {
            const int pipe = n.PipeLoops[at(loop)][at(i)];
            const int k = pipe >= 1 && pipe <= TNetwork::MaxPipes ? linkOfPipe[at(pipe)] : 0;
            if (k < 1)
                continue;
            linksOfLoop.push_back(k);
            for (const int node : {n.NodeLinks[at(k)].FromNodeId, n.NodeLinks[at(k)].ToNodeId}) {
                odd[at(node)] ^= 1;
                oddNodes.push_back(node);
            }
        }
        // Each odd node once; the marks are cleared for the next loop.
        std::size_t kept = 0;
        for (const int node : oddNodes)
            if (odd[at(node)] != 0) {
                odd[at(node)] = 0;
                oddNodes[kept++] = node;
            }
        oddNodes.resize(kept);
    };
    bool cycles = true;
    for (int loop = 1; loop <= n.PipeLoopsCount && cycles; ++loop) {
        readLoop(loop);
        for (const int node : oddNodes)
            cycles = cycles && tie[at(node)] >= 0;
    }
    std::vector<int> column(at(links + 1), -1);
    for (int k = 1, c = 0; k <= links; ++k)
        column[at(k)] = inTree[at(k)] ? -1 : c++;
    CycleSets sets(cycles ? needed : links + static_cast<int>(fixedNodes.size()));
    const auto toggleLink = [&](CycleSets::Set &set, int k) {
        if (!cycles)
            CycleSets::Toggle(set, k - 1);
        else if (column[at(k)] >= 0)
            CycleSets::Toggle(set, column[at(k)]);
    };
    const auto toggleTie = [&](CycleSets::Set &set, int node) {
        if (!cycles)
            CycleSets::Toggle(set, tie[at(node)]);
    };
    const auto setOf = [&](int loop) {
        CycleSets::Set set = sets.Empty();
        readLoop(loop);
        for (const int k : linksOfLoop)
            toggleLink(set, k);
        for (const int node : oddNodes)
            if (tie[at(node)] >= 0)
                toggleTie(set, node);
        return set;
    };
    // A loop that the loops before it already give adds no equation, only a
    // repeated one: paths found from different fixed-pressure nodes can close
    // a ring that is already held.
    for (int loop = 1; loop <= n.PipeLoopsCount;) {
        if (sets.Add(setOf(loop))) {
            ++loop;
            continue;
        }
        n.PipeLoopRemove(loop);
        if (loop <= n.PipeRealLoopCount)
            --n.PipeRealLoopCount;
    }
    if (sets.Count() >= needed)
        return;

    for (int k = 1; k <= links && sets.Count() < needed; ++k) {
        if (inTree[at(k)])
            continue;
        // The cycle of link k: from its two ends up the tree to where they meet.
        const TNodeLink &l = n.NodeLinks[at(k)];
        std::vector<int> up, down; // the tree links above the from-end, above the to-end
        int a = l.FromNodeId, b = l.ToNodeId;
        const auto climb = [&](int &node, std::vector<int> &passed) {
            if (parent[at(node)] != Datum) // the tie to the datum is no pipe
                passed.push_back(parentLink[at(node)]);
            node = parent[at(node)];
        };
        while (a != b) {
            if (depth[at(a)] >= depth[at(b)] && a != Datum && parent[at(a)] != a)
                climb(a, up);
            else
                climb(b, down);
        }
        // Listed from where the two sides meet: a closed loop starts and ends
        // there; a path through the datum starts at the fixed-pressure node
        // above the from-end.
        std::vector<int> order(up.rbegin(), up.rend());
        order.push_back(k);
        order.insert(order.end(), down.begin(), down.end());
        CycleSets::Set set = sets.Empty();
        for (const int link : order)
            toggleLink(set, link);
        const bool path = a == Datum;
        if (path) {
            const auto topOf = [&](int node) {
                while (parent[at(node)] != Datum)
                    node = parent[at(node)];
                return node;
            };
            toggleTie(set, topOf(l.FromNodeId));
            toggleTie(set, topOf(l.ToNodeId));
        }
        if (!sets.Add(std::move(set)))
            continue;
        const int loop = n.PipeLoopCreate();
        for (const int link : order)
            n.PipeLoopAddPipe(loop, n.NodeLinks[at(link)].PipeId);
        if (path)
            continue;
        // Walked from the start of its first pipe, unless it starts at a tank
        // or end pressure, which the walk always leaves from.
        const int start = a;
        if (order.size() > 2 && !fixed(start) && n.NodeLinks[at(order.front())].FromNodeId != start) {
            auto &pipes = n.PipeLoops[at(loop)];
            std::reverse(pipes.begin() + 2, pipes.begin() + n.PipeLoopsPipeCount[at(loop)] + 1);
        }
        n.PipeLoopsInsertLastAtPosition(n.PipeRealLoopCount + 1);
        ++n.PipeRealLoopCount;
    }
}

} // namespace

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

    // Each node's links in table order, so that a search visits them as a
    // scan of the whole table would; within a whole generation they are
    // noted once, and the path entries are reset only where a search set them.
    TLoopFinder &finder = loopFinder();
    if (!finder.generating) {
        finder.NoteLinks(*this);
        PipeLoopsShortestPathClear();
        finder.touched.clear();
    }
    const auto resetPaths = [&] {
        for (const int node : finder.touched) {
            TShortestPathEntry &entry = ShortestPaths[at(node)];
            entry.Distance = Unreached;
            entry.PreviousNodeId = 0;
            entry.Visited = false;
        }
        finder.touched.clear();
    };
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
    if (!valid(s))
        return;

    if (finder.simple && (startIsJoint || startIsFixed) && finder.Degree(s) > 0) {
        // The same searches, found once in a generation; each loop they give
        // is offered to the rules in the order the search finds it.
        const TLoopFinder::TLinkSearch *found = finder.SearchesFrom(s);
        const auto offer = [&](const TLoopFinder::TCandidate &candidate, bool testNewPipe) {
            const int *pipes = finder.pool.data() + candidate.Offset;
            if (testNewPipe && finder.WouldBeDropped(*this, pipes, candidate.Size))
                return;
            const int loop = PipeLoopCreate();
            for (int k = 0; k < candidate.Size; ++k)
                PipeLoopAddPipe(loop, pipes[k]);
            const int count = PipeLoopsCount;
            bool newPipe = true;
            if (testNewPipe) {
                PipeLoopsCheckPipeLoopHasAtLeastOneNewPipeOverPreviousLoops(PipeLoopsCount, newPipe, false);
                if (!newPipe)
                    PipeLoopsRemoveLastUnlessIfAddedFirstEveryOtherLoopHasAtLeastOneNewPipe(false);
            }
            // While every loop holds its pipes once (the searches' loops and
            // paths do), one with a pipe no other loop holds repeats none.
            if (testNewPipe && newPipe && finder.counting && finder.distinctLoops)
                return;
            if (PipeLoopsCount == count)
                PipeLoopsRemoveLastIfDuplicate();
        };
        if (startIsFixed) {
            for (int e = finder.start[at(s)]; e < finder.start[at(s + 1)]; ++e)
                for (int c = 0; c < found->Candidates; ++c) {
                    const TLoopFinder::TCandidate &path = finder.candidates[at(found->FirstCandidate + c)];
                    const int loop = PipeLoopCreate();
                    for (int k = 0; k < path.Size; ++k)
                        PipeLoopAddPipe(loop, finder.pool[at(path.Offset + k)]);
                    judgeLastLoopFromFixedStart(LoopMustHaveNewPipe);
                }
            return;
        }
        for (int e = 0; e < finder.Degree(s); ++e) {
            const TLoopFinder::TLinkSearch &search = found[e];
            // The loop over the link is as long as the path back plus the
            // link, which is also how far the search went to close it.
            if (!(search.Reached < Unreached && search.Reached < maxPipesInLoop) || search.Candidates == 0)
                continue;
            const TLoopFinder::TCandidate &main = finder.candidates[at(search.FirstCandidate)];
            if (main.Size > maxPipesInLoop) {
                const int loop = PipeLoopCreate();
                for (int k = 0; k < main.Size; ++k)
                    PipeLoopAddPipe(loop, finder.pool[at(main.Offset + k)]);
                PipeLoopRemove(PipeLoopsCount);
                continue;
            }
            offer(main, LoopMustHaveNewPipe);
            for (int c = 1; c < search.Candidates; ++c)
                offer(finder.candidates[at(search.FirstCandidate + c)], true);
        }
        return;
    }

    // Breadth-first over unit-weight pipes; the nodes of one distance are
    // taken in ascending id order, as the search selects them.
    std::vector<int> level, nextLevel;
    for (int e = finder.start[at(s)]; e < finder.start[at(s + 1)]; ++e) {
        const int excluded = finder.links[at(e)];
        const int b = otherEnd(excluded, s);
        // From a joint only the loop closed by the excluded link is kept: its
        // far end must be a joint, and the search need go no farther than
        // the distance at which that end is selected.
        // A link that no other path bypasses closes no loop.
        const bool closesLoop = valid(b) && nodeType(b) == Joint && (b == s || !finder.bridge[at(excluded)]);
        if (startIsJoint && !closesLoop)
            continue;
        resetPaths();
        finder.touched.push_back(s);
        ShortestPaths[at(s)].Visited = true;
        level.assign(1, s);
        int c = 0, rounds = 0;
        bool reachedLimit = false;
        while (!level.empty()) {
            nextLevel.clear();
            bool levelHoldsB = false;
            for (const int current : level) {
                if (++rounds > SearchRoundLimit) {
                    reachedLimit = true;
                    break;
                }
                levelHoldsB = levelHoldsB || current == b;
                c = current == s ? 0 : ShortestPaths[at(current)].Distance;
                if (current != s) {
                    // Selecting a node: a fixed-pressure node reached from a
                    // fixed-pressure start ends a pseudo loop.
                    if (startIsFixed && isFixedPressure(nodeType(current))) {
                        const int loop = PipeLoopCreate();
                        addPathBackToStart(loop, current);
                        judgeLastLoopFromFixedStart(LoopMustHaveNewPipe);
                    }
                }
                const int previous = ShortestPaths[at(current)].PreviousNodeId;
                for (int f = finder.start[at(current)]; f < finder.start[at(current + 1)]; ++f) {
                    const int to = finder.far[at(f)].Node;
                    if (to == 0 || to == previous)
                        continue;
                    const int k = finder.links[at(f)];
                    if (k == excluded && current == s && startIsJoint)
                        continue;
                    // From a joint, the search looks for b, which lies on the
                    // same side of every bridge as the start: what lies past
                    // a bridge is farther from the start than the bridge's
                    // near end, and so neither on the path nor next to b.
                    if (startIsJoint && finder.bridge[at(k)])
                        continue;
                    TShortestPathEntry &entry = ShortestPaths[at(to)];
                    if (c + 1 < entry.Distance) {
                        if (entry.Distance == Unreached) {
                            if (!entry.Visited)
                                nextLevel.push_back(to);
                            finder.touched.push_back(to);
                        }
                        entry.Distance = c + 1;
                        entry.PreviousNodeId = current;
                        entry.PipeId = finder.far[at(f)].Pipe;
                    }
                }
            }
            if (reachedLimit)
                throw ENetworkClass(
                    "TNetworkClass.RemovePipeLoopsGenerate Failed: Failed to complete shortestsPath search");
            // Farther levels change no entry that the loops below read; nor
            // do they when b is still unreached and would lie too far out for
            // the loop to be kept.
            const bool tooFar = ShortestPaths[at(b)].Distance == Unreached && c + 1 >= maxPipesInLoop;
            if (startIsJoint && (levelHoldsB || tooFar))
                break;
            std::sort(nextLevel.begin(), nextLevel.end());
            for (const int node : nextLevel)
                ShortestPaths[at(node)].Visited = true;
            level.swap(nextLevel);
        }

        if (!startIsJoint)
            continue;
        const TShortestPathEntry &atB = ShortestPaths[at(b)];
        if (!(atB.Distance < Unreached && atB.Distance < maxPipesInLoop))
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
        for (int f = finder.start[at(b)]; f < finder.start[at(b + 1)]; ++f) {
            const int k = finder.links[at(f)];
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

namespace {

// Loops are found from the active links and the kinds of the nodes alone.
void noteLayout(const TNetwork &n, std::vector<TNetwork::TLoopFinderLayoutEntry> &layout)
{
    layout.clear();
    layout.push_back({n.NodeLinksCount, 0, 0});
    for (int k = 1; k <= n.NodeLinksCount; ++k) {
        const TNodeLink &l = n.NodeLinks[at(k)];
        layout.push_back({l.PipeId, l.FromNodeId, l.ToNodeId});
    }
    for (int id = n.GetNextNodeId(0); id > 0; id = n.GetNextNodeId(id))
        layout.push_back({-id, static_cast<std::int32_t>(n.GetNode(id).NodeType), 0});
}

// Whether the layout is the one noted, read in the order noteLayout writes it.
bool isLayout(const TNetwork &n, const std::vector<TNetwork::TLoopFinderLayoutEntry> &layout)
{
    const std::size_t links = at(std::max(n.NodeLinksCount, 0));
    if (layout.size() < links + 1 || !(layout[0] == TNetwork::TLoopFinderLayoutEntry{n.NodeLinksCount, 0, 0}))
        return false;
    for (std::size_t k = 1; k <= links; ++k) {
        const TNodeLink &l = n.NodeLinks[k];
        if (!(layout[k] == TNetwork::TLoopFinderLayoutEntry{l.PipeId, l.FromNodeId, l.ToNodeId}))
            return false;
    }
    std::size_t entry = links + 1;
    for (int id = n.GetNextNodeId(0); id > 0; id = n.GetNextNodeId(id), ++entry)
        if (entry >= layout.size() ||
            !(layout[entry] == TNetwork::TLoopFinderLayoutEntry{-id, static_cast<std::int32_t>(n.GetNode(id).NodeType), 0}))
            return false;
    return entry == layout.size();
}

} // namespace

void TNetwork::PipeLoopsGenerateAllLoops(TResultsLog &Log)
{
    TLoopFinder &finder = loopFinder();
    // The same layout gives the same loops: those of the last generation are
    // taken again, with the same progress, log lines and message.
    if (finder.kept && PipeLoopsCount == 0 && isLayout(*this, finder.layout)) {
        for (std::size_t i = 0; i < finder.progressEnds.size(); ++i)
            finder.ShowProgress(*this, i);
        for (const auto &loop : finder.loops) {
            const int id = PipeLoopsCount + 1;
            const int count = static_cast<int>(loop.size()) - 1;
            if (id > MaxLoops || count < 1 || count > MaxLoopPipes) {
                const int created = PipeLoopCreate();
                for (int k = 1; k <= count; ++k)
                    PipeLoopAddPipe(created, loop[at(k)]);
                continue;
            }
            // The loop written whole: no generation counts pipes here.
            PipeLoops[at(id)].Assign(loop.data(), loop.data() + loop.size());
            PipeLoopsPipeCount[at(id)] = count;
            PipeLoopsCount = id;
        }
        PipeRealLoopCount = finder.realLoops;
        PipePseudoLoopCount = finder.pseudoLoops;
        reportLoopCount(Log, finder.countLines);
        return;
    }
    finder.kept = false;
    std::vector<TLoopFinderLayoutEntry> &layout = finder.nextLayout;
    noteLayout(*this, layout);
    const bool fromEmptyStore = PipeLoopsCount == 0;
    finder.progress.clear();
    finder.progressEnds.clear();
    finder.countLines.clear();
    finder.NoteLinks(*this);
    PipeLoopsShortestPathClear();
    finder.touched.clear();
    finder.generating = true;
    finder.StartCounting(*this);
    struct TGenerating {
        TLoopFinder &finder;
        ~TGenerating()
        {
            finder.generating = false;
            finder.counting = false;
        }
    } generating{finder};

    const int links = NodeLinksCount;
    int joints = 0;
    const auto hasLinks = [&](int id) { return id >= 1 && id <= MaxNodes && finder.Degree(id) > 0; };
    const auto progress = [&](int pass, int node) {
        TLoopFinder::AppendProgressText(finder.progress, pass, node);
        finder.progressEnds.push_back(finder.progress.size());
        finder.ShowProgress(*this, finder.progressEnds.size() - 1);
    };

    // Real loops from every joint, then the paths between fixed-pressure nodes.
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        if (GetNode(id).NodeType != Joint || !hasLinks(id))
            continue;
        ++joints;
        progress(0, id);
        PipeLoopsGenerateFromNode(id, MaxLoopPipes, true);
    }
    PipeRealLoopCount = PipeLoopsCount;
    for (int id = GetNextNodeId(0); id > 0 && joints + PipeLoopsCount < links; id = GetNextNodeId(id)) {
        if (!isFixedPressure(GetNode(id).NodeType))
            continue;
        progress(0, id);
        PipeLoopsGenerateFromNode(id, MaxLoopPipes, true);
    }
    PipePseudoLoopCount = PipeLoopsCount - PipeRealLoopCount;

    // Too few: again with growing limits on the size of the real loops.
    if (joints + PipeLoopsCount < links) {
        const int target = links - joints - PipePseudoLoopCount;
        PipeLoopsRemoveAllLoops();
        static constexpr int limits[] = {4, 8, 16, 1001};
        int lastPass = 1, previousOffered = -1;
        for (int pass = 1; pass <= 4 && PipeLoopsCount < target; ++pass) {
            lastPass = pass;
            joints = 0;
            // A pass whose limit lets through the same searches as the pass
            // before offers the same loops again, in the same order, to the
            // loops that pass left: each is held already or was dropped by
            // loops still held in the same order, so none is kept.
            int offered = -1;
            if (finder.simple) {
                offered = 0;
                for (const TLoopFinder::TLinkSearch &search : finder.searches)
                    offered += search.Reached < limits[pass - 1] ? 1 : 0;
            }
            const bool repeated = offered >= 0 && offered == previousOffered;
            previousOffered = offered;
            for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
                if (GetNode(id).NodeType != Joint || !hasLinks(id))
                    continue;
                ++joints;
                progress(pass, id);
                if (!repeated)
                    PipeLoopsGenerateFromNode(id, limits[pass - 1], true);
            }
        }
        PipeRealLoopCount = PipeLoopsCount;
        for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
            if (!isFixedPressure(GetNode(id).NodeType))
                continue;
            progress(lastPass, id);
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

    // The searches above miss cycles that close on a fixed-pressure node
    // without a pipe between two joints, and paths from different
    // fixed-pressure nodes can repeat a ring already held.
    completeLoops(*this);

    PipeLoopsReOrderRealLoopsForPositiveStartDirection();
    PipePseudoLoopCount = PipeLoopsCount - PipeRealLoopCount;

    std::vector<std::string> lines;
    const int total = joints + PipeLoopsCount;
    if (total != NodeLinksCount)
        lines = loopCountLines(links, joints);
    if (fromEmptyStore) {
        finder.layout.swap(layout);
        // Each kept loop's storage is used again; a loop is kept as the store
        // holds it, entry 0 first.
        finder.loops.resize(at(PipeLoopsCount));
        for (int i = 1; i <= PipeLoopsCount; ++i) {
            const TPipeLoopEntries &loop = std::as_const(PipeLoops)[at(i)];
            std::vector<std::int32_t> &kept = finder.loops[at(i - 1)];
            kept.assign(at(PipeLoopsPipeCount[at(i)]) + 1, 0);
            for (int k = 1; k <= PipeLoopsPipeCount[at(i)]; ++k)
                kept[at(k)] = loop[at(k)];
        }
        finder.realLoops = PipeRealLoopCount;
        finder.pseudoLoops = PipePseudoLoopCount;
        finder.countLines = lines;
        finder.kept = true;
    }
    reportLoopCount(Log, lines);
}

std::vector<std::string> TNetwork::loopCountLines(int links, int joints) const
{
    const int total = joints + PipeLoopsCount;
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
    return lines;
}

void TNetwork::reportLoopCount(TResultsLog &Log, const std::vector<std::string> &lines)
{
    if (lines.empty())
        return;
    std::string box;
    for (const std::string &line : lines) {
        Log.Add(line.empty() ? " " : line); // the log's blank line
        box += line + "\r";
    }
    if (PipeLoopsMessagesOn)
        UserInterface->ShowMessage(TMessageKind::Information, box);
}

} // namespace tessaran
