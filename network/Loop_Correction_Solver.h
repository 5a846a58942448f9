#pragma once
// The linear steps of the iterations solved on the loop corrections.
//
// The unknowns of a step are the pipe flows. When the continuity equations of
// the joints hold already, a step that keeps them holding is a sum of flows
// round the loops: the flows of pipe c change by the sum over the loops that
// hold it of sign(loop, c) times the loop's correction. The loop equations,
// whose coefficient for a pipe is the same in every loop up to the sign, then
// become a system in the corrections alone whose matrix is symmetric (loops
// by loops, one entry for each pair of loops that share a pipe) and as a rule
// positive definite. Its ordering and pattern are worked out once for a
// layout; each step only factorises and solves it.
//
// The form applies when the pattern is a plain network: every flow is in at
// most two continuity equations, once each way; every connected set of
// joints reaches a fixed-pressure node; every loop keeps the continuity of
// every joint it passes; joints plus loops equal flows. Otherwise, and when
// a factorisation finds the system singular, the caller solves the system of
// the pipe flows as before.

#include "network/Matrix_Equations.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace tessaran {

class TLoopCorrectionSolver {
public:
    TLoopCorrectionSolver();
    ~TLoopCorrectionSolver();
    TLoopCorrectionSolver(const TLoopCorrectionSolver &) = delete;
    TLoopCorrectionSolver &operator=(const TLoopCorrectionSolver &) = delete;

    // Notes the structure of rows 1..rows of the pattern, whose non-zero
    // columns (ascending, all within 1..columns) are
    // rowColumns[rowStart[r - 1]..rowStart[r] - 1]. Kept while version,
    // rows and columns stay the same. True when the loop form applies.
    bool Prepare(const TFixedMatrix<TMatrixElementEnum> &pattern, std::uint64_t version, int rows, int columns,
                 const std::vector<int> &rowStart, const std::vector<int> &rowColumns);
    bool Applies() const { return applies_; }

    int LoopCount() const { return static_cast<int>(loopRow_.size()); }
    // The equation row of loop i (0-based) and of continuity equation j.
    int LoopRow(int i) const { return loopRow_[static_cast<std::size_t>(i)]; }
    const std::vector<int> &ContinuityRows() const { return continuityRow_; }
    // The pipe columns of loop i with their signs (+1 or -1).
    struct TEntry {
        int Column;
        int Sign;
    };
    const TEntry *LoopBegin(int i) const { return loopEntries_.data() + loopStart_[static_cast<std::size_t>(i)]; }
    const TEntry *LoopEnd(int i) const { return loopEntries_.data() + loopStart_[static_cast<std::size_t>(i) + 1]; }
    // The first loop that holds column c and its sign there; 0 sign when none.
    TEntry FirstLoopOf(int c) const { return firstLoop_[static_cast<std::size_t>(c)]; }

    // Flows that meet the continuity equations alone: continuityRhs[j] for
    // continuity equation j (0-based), flows 1-based by column, carried only
    // by a spanning forest of the joints grown from the fixed-pressure
    // nodes; every other flow 0.
    template <typename T>
    void ContinuityFlows(const std::vector<T> &continuityRhs, std::vector<T> &flows) const
    {
        std::fill(flows.begin(), flows.begin() + columns_ + 1, T(0));
        std::vector<T> &net = treeNet_<T>();
        net.assign(continuityRhs.size(), T(0));
        for (auto e = tree_.rbegin(); e != tree_.rend(); ++e) {
            const std::size_t j = static_cast<std::size_t>(e->Joint);
            const T flow = (continuityRhs[j] - net[j]) * T(e->Sign);
            flows[static_cast<std::size_t>(e->Column)] = flow;
            if (e->Parent >= 0)
                net[static_cast<std::size_t>(e->Parent)] += T(e->ParentSign) * flow;
        }
    }
    // Factorises the loop system for the pipe coefficients coefficient[c]
    // (1-based by column; the step of pipe c's loop-equation term per unit
    // of its flow, sign taken out). False when the system is singular.
    bool Factorise(const std::vector<double> &coefficient);
    // Solves the factorised system for one right-hand side per loop and
    // returns the flow change of every column (1-based, 0 for pipes in no loop).
    void Solve(const std::vector<double> &loopRhs, std::vector<double> &columnFlows);

private:
    struct TFactor;
    std::unique_ptr<TFactor> factor_;
    bool applies_ = false;
    std::uint64_t version_ = 0;
    int rows_ = -1, columns_ = -1;
    // The pattern the structure was worked out for.
    std::vector<int> rowStart_, rowColumns_;
    std::vector<TMatrixElementEnum> rowElements_;
    std::vector<int> loopRow_, continuityRow_;
    std::vector<int> loopStart_;
    std::vector<TEntry> loopEntries_;
    std::vector<TEntry> firstLoop_;
    // Assembly of the loop matrix: entry Target += Sign * coefficient[Column].
    // Once the ordering is known, sorted by entry of the ordered matrix and
    // Target is the entry's row there.
    struct TAssembly {
        int Target;
        int Column;
        double Sign;
    };
    std::vector<TAssembly> assembly_;
    std::vector<double> corrections_;
    // The spanning forest of the joints, in the order it was grown: joint,
    // its column towards the parent (a joint, or -1 for a fixed-pressure
    // node) and that column's sign in the joint's and the parent's equation.
    struct TTreeEdge {
        int Joint, Column, Sign, Parent, ParentSign;
    };
    std::vector<TTreeEdge> tree_;
    template <typename T>
    std::vector<T> &treeNet_() const
    {
        thread_local std::vector<T> net;
        return net;
    }
};

} // namespace tessaran
