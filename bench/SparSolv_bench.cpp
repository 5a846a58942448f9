// Factor-and-solve time of the sparse solver on network-shaped systems, side
// by side with a dense LU (500 and 2000 unknowns) and, where available, a
// general sparse LU with column ordering.
//
// A system is built like the network equations: a rectangular grid of pipes
// with dead-end branches added to reach the size; one continuity row per
// node but the reference node (+1/-1 for the pipes into and out of it) and
// one energy row per grid cell (a signed resistance per pipe round the loop);
// the unknowns are the pipe flows.

#include "units/SparSolv.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <stdexcept>
#include <vector>

#ifdef TESSARAN_BENCH_WITH_EIGEN
#include <Eigen/OrderingMethods>
#include <Eigen/SparseCore>
#include <Eigen/SparseLU>
#endif

using namespace tessaran;

namespace {

struct Entry {
    int row, col; // 1-based
    double value;
};

struct NetworkSystem {
    int n = 0;
    std::vector<Entry> lhs;
    std::vector<double> rhs; // 1-based
};

NetworkSystem makeNetworkSystem(int unknowns, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> resistance(0.1, 10.0), demand(-1.0, 1.0);
    // The largest near-square grid that fits: pipes = 2wh - w - h.
    int w = 2, h = 2;
    while (2 * (w + 1) * (h + 1) - (w + 1) - (h + 1) <= unknowns) {
        ++w;
        ++h;
    }
    if (2 * (w + 1) * h - (w + 1) - h <= unknowns)
        ++w;
    const int gridNodes = w * h;
    struct Pipe {
        int from, to;
    };
    std::vector<Pipe> pipes;
    const auto node = [w](int x, int y) { return y * w + x; };
    std::map<std::pair<int, int>, int> pipeOf; // (from, to) -> pipe index
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x + 1 < w) {
                pipeOf[{node(x, y), node(x + 1, y)}] = static_cast<int>(pipes.size());
                pipes.push_back({node(x, y), node(x + 1, y)});
            }
            if (y + 1 < h) {
                pipeOf[{node(x, y), node(x, y + 1)}] = static_cast<int>(pipes.size());
                pipes.push_back({node(x, y), node(x, y + 1)});
            }
        }
    const int loopPipes = static_cast<int>(pipes.size());
    // Dead-end branches: one new node and one pipe each.
    int nodes = gridNodes;
    std::uniform_int_distribution<int> anyNode(0, gridNodes - 1);
    while (static_cast<int>(pipes.size()) < unknowns)
        pipes.push_back({anyNode(rng), nodes++});
    (void)loopPipes;

    NetworkSystem s;
    s.n = static_cast<int>(pipes.size());
    s.rhs.assign(static_cast<std::size_t>(s.n) + 1, 0.0);
    int row = 0;
    // Continuity of every node but node 0, the pressure reference.
    std::vector<int> rowOfNode(static_cast<std::size_t>(nodes), 0);
    for (int v = 1; v < nodes; ++v)
        rowOfNode[static_cast<std::size_t>(v)] = ++row;
    for (int p = 0; p < s.n; ++p) {
        const Pipe &pipe = pipes[static_cast<std::size_t>(p)];
        if (pipe.from != 0)
            s.lhs.push_back({rowOfNode[static_cast<std::size_t>(pipe.from)], p + 1, -1.0});
        if (pipe.to != 0)
            s.lhs.push_back({rowOfNode[static_cast<std::size_t>(pipe.to)], p + 1, 1.0});
    }
    for (int v = 1; v < nodes; ++v)
        s.rhs[static_cast<std::size_t>(rowOfNode[static_cast<std::size_t>(v)])] = demand(rng);
    // One energy row per grid cell, counter-clockwise.
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            ++row;
            const int bottom = pipeOf[{node(x, y), node(x + 1, y)}];
            const int right = pipeOf[{node(x + 1, y), node(x + 1, y + 1)}];
            const int top = pipeOf[{node(x, y + 1), node(x + 1, y + 1)}];
            const int left = pipeOf[{node(x, y), node(x, y + 1)}];
            s.lhs.push_back({row, bottom + 1, resistance(rng)});
            s.lhs.push_back({row, right + 1, resistance(rng)});
            s.lhs.push_back({row, top + 1, -resistance(rng)});
            s.lhs.push_back({row, left + 1, -resistance(rng)});
            s.rhs[static_cast<std::size_t>(row)] = demand(rng);
        }
    if (row != s.n)
        throw std::logic_error("network system is not square");
    // Equations arrive in element order, not row order.
    std::shuffle(s.lhs.begin(), s.lhs.end(), rng);
    return s;
}

const NetworkSystem &systemOf(int n)
{
    static std::map<int, NetworkSystem> cache;
    auto it = cache.find(n);
    if (it == cache.end())
        it = cache.emplace(n, makeNetworkSystem(n, 20261210u + static_cast<unsigned>(n))).first;
    return it->second;
}

void BM_SparSolv(benchmark::State &state)
{
    const NetworkSystem &s = systemOf(static_cast<int>(state.range(0)));
    double checksum = 0;
    for (auto _ : state) {
        ReleaseStruc();
        if (!InitStruc(s.n))
            state.SkipWithError("InitStruc failed");
        for (const Entry &e : s.lhs)
            AddLHS(e.row, e.col, e.value);
        for (int r = 1; r <= s.n; ++r)
            AddRHS(r, s.rhs[static_cast<std::size_t>(r)]);
        if (!Solve()) {
            state.SkipWithError("Solve failed");
            break;
        }
        double x = 0;
        for (int i = 1; i <= s.n; ++i) {
            GetAnswer(i, x);
            checksum += x;
        }
        ReleaseStruc();
    }
    benchmark::DoNotOptimize(checksum);
}

// Textbook LU with partial pivoting on a dense row-major copy; it does not
// look for zeros, as a dense solver would not.
void BM_DenseLU(benchmark::State &state)
{
    const NetworkSystem &s = systemOf(static_cast<int>(state.range(0)));
    const std::size_t n = static_cast<std::size_t>(s.n);
    double checksum = 0;
    for (auto _ : state) {
        std::vector<double> a(n * n, 0.0), b(s.rhs.begin() + 1, s.rhs.end());
        for (const Entry &e : s.lhs)
            a[static_cast<std::size_t>(e.row - 1) * n + static_cast<std::size_t>(e.col - 1)] += e.value;
        for (std::size_t k = 0; k < n; ++k) {
            std::size_t p = k;
            for (std::size_t i = k + 1; i < n; ++i)
                if (std::fabs(a[i * n + k]) > std::fabs(a[p * n + k]))
                    p = i;
            if (p != k) {
                std::swap_ranges(a.begin() + static_cast<std::ptrdiff_t>(k * n),
                                 a.begin() + static_cast<std::ptrdiff_t>((k + 1) * n),
                                 a.begin() + static_cast<std::ptrdiff_t>(p * n));
                std::swap(b[k], b[p]);
            }
            const double pivot = a[k * n + k];
            for (std::size_t i = k + 1; i < n; ++i) {
                const double m = a[i * n + k] / pivot;
                for (std::size_t j = k + 1; j < n; ++j)
                    a[i * n + j] -= m * a[k * n + j];
                b[i] -= m * b[k];
            }
        }
        for (std::size_t k = n; k-- > 0;) {
            double sum = b[k];
            for (std::size_t j = k + 1; j < n; ++j)
                sum -= a[k * n + j] * b[j];
            b[k] = sum / a[k * n + k];
        }
        for (double x : b)
            checksum += x;
    }
    benchmark::DoNotOptimize(checksum);
}

#ifdef TESSARAN_BENCH_WITH_EIGEN
void BM_EigenSparseLU(benchmark::State &state)
{
    const NetworkSystem &s = systemOf(static_cast<int>(state.range(0)));
    double checksum = 0;
    for (auto _ : state) {
        std::vector<Eigen::Triplet<double>> triplets;
        triplets.reserve(s.lhs.size());
        for (const Entry &e : s.lhs)
            triplets.emplace_back(e.row - 1, e.col - 1, e.value);
        Eigen::SparseMatrix<double> a(s.n, s.n);
        a.setFromTriplets(triplets.begin(), triplets.end());
        a.makeCompressed();
        Eigen::VectorXd b(s.n);
        for (int r = 1; r <= s.n; ++r)
            b[r - 1] = s.rhs[static_cast<std::size_t>(r)];
        Eigen::SparseLU<Eigen::SparseMatrix<double>, Eigen::COLAMDOrdering<int>> lu;
        lu.analyzePattern(a);
        lu.factorize(a);
        if (lu.info() != Eigen::Success) {
            state.SkipWithError("SparseLU failed");
            break;
        }
        const Eigen::VectorXd x = lu.solve(b);
        checksum += x.sum();
    }
    benchmark::DoNotOptimize(checksum);
}
BENCHMARK(BM_EigenSparseLU)->Arg(500)->Arg(2000)->Arg(45000)->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_SparSolv)->Arg(500)->Arg(2000)->Arg(45000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DenseLU)->Arg(500)->Arg(2000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
