// The loop-correction form of the iterations' linear steps: the structure of
// a layout noted once, a sparse LDL' factorisation whose ordering and pattern
// are kept for that layout, and the solution mapped back to the pipe flows.

#include "network/Loop_Correction_Solver.h"

#include <Eigen/OrderingMethods>
#include <Eigen/SparseCore>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessaran {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

} // namespace

// The loop matrix and its LDL' factors. The ordering comes from Eigen's
// approximate minimum degree; the pattern of the ordered upper triangle,
// which the factorisation assembles column by column from the pipes'
// terms, and the pattern of every row of L with the place of each entry
// are worked out once, so that a factorisation is the arithmetic alone.
// Its steps, and those of a solve, are done in the order of Eigen's
// simplicial LDL' (up-looking, rows in the order of the elimination tree),
// which gives the same numbers; a run of columns updates each shared row
// with the same terms in the same order as one column at a time would.
struct TLoopCorrectionSolver::TFactor {
    int size = 0;
    // The ordered position of each loop.
    std::vector<int> ordered;
    // The upper triangle of the ordered matrix by column.
    std::vector<int> upperStart, upperRow;
    // Where each column's terms start in the assembly (sorted by entry).
    std::vector<int> termStart;
    // L below its unit diagonal by column, and D.
    std::vector<int> lStart, lRow;
    std::vector<double> lValue, diagonal;
    // For each row k of L its entries in the order they are worked out:
    // the column and the entry's place in lRow/lValue.
    std::vector<int> patternStart, patternColumn, patternPlace;
    // Each row's pattern cut into runs of consecutive entries whose columns
    // form a chain: each column's entries above the row are the next
    // column's row followed by the next column's entries above the row, so
    // a run updates the rows its columns share in one pass. For each run
    // its entries (column, place in lRow/lValue, start of the column) and
    // the shared rows, lRow[Shared..Shared + Length - 1].
    struct TRunEntry {
        int Column, Place, Start;
    };
    struct TRun {
        int Size, Shared, Length;
    };
    static constexpr int LongestRun = 4;
    std::vector<int> runStart;
    std::vector<TRun> runs;
    std::vector<TRunEntry> runEntries;
    std::vector<double> work;

    // Works out the ordering and the patterns for a matrix given by its
    // lower triangle (sorted columns); returns, for each entry of it, its
    // place in upperRow.
    std::vector<int> Analyse(const Eigen::SparseMatrix<double, Eigen::ColMajor, int> &lower);
    void noteRuns();
    bool Factorise(const TAssembly *terms, const std::vector<double> &coefficient);
    void Solve(double *x) const;
};

std::vector<int> TLoopCorrectionSolver::TFactor::Analyse(const Eigen::SparseMatrix<double, Eigen::ColMajor, int> &lower)
{
    size = static_cast<int>(lower.rows());
    const std::size_t n = at(size);
    Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> inverse;
    {
        Eigen::SparseMatrix<double, Eigen::ColMajor, int> full;
        full = lower.selfadjointView<Eigen::Lower>();
        Eigen::AMDOrdering<int> amd;
        amd(full, inverse);
    }
    ordered.resize(n);
    if (inverse.size() > 0) {
        const Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> forward = inverse.inverse();
        for (std::size_t i = 0; i < n; ++i)
            ordered[i] = forward.indices()[static_cast<Eigen::Index>(i)];
    } else {
        std::iota(ordered.begin(), ordered.end(), 0);
    }

    // The ordered upper triangle, each column's entries in the order of the
    // lower triangle's columns and rows.
    const int *outer = lower.outerIndexPtr();
    const int *inner = lower.innerIndexPtr();
    upperStart.assign(n + 1, 0);
    for (int j = 0; j < size; ++j)
        for (int e = outer[j]; e < outer[j + 1]; ++e)
            if (inner[e] >= j)
                ++upperStart[at(std::max(ordered[at(inner[e])], ordered[at(j)]) + 1)];
    for (std::size_t j = 0; j < n; ++j)
        upperStart[j + 1] += upperStart[j];
    std::vector<int> next(upperStart.begin(), upperStart.end() - 1);
    upperRow.assign(at(upperStart[n]), 0);
    std::vector<int> place(at(outer[size]), -1);
    for (int j = 0; j < size; ++j)
        for (int e = outer[j]; e < outer[j + 1]; ++e) {
            if (inner[e] < j)
                continue;
            const int ip = ordered[at(inner[e])], jp = ordered[at(j)];
            const int k = next[at(std::max(ip, jp))]++;
            upperRow[at(k)] = std::min(ip, jp);
            place[at(e)] = k;
        }

    // The elimination tree and the count of each column of L.
    std::vector<int> parent(n, -1), tags(n, 0), count(n, 0);
    for (int k = 0; k < size; ++k) {
        tags[at(k)] = k;
        for (int e = upperStart[at(k)]; e < upperStart[at(k + 1)]; ++e) {
            int i = upperRow[at(e)];
            if (i >= k)
                continue;
            for (; tags[at(i)] != k; i = parent[at(i)]) {
                if (parent[at(i)] == -1)
                    parent[at(i)] = k;
                ++count[at(i)];
                tags[at(i)] = k;
            }
        }
    }
    lStart.assign(n + 1, 0);
    for (std::size_t k = 0; k < n; ++k)
        lStart[k + 1] = lStart[k] + count[k];
    lRow.assign(at(lStart[n]), 0);
    lValue.assign(lRow.size(), 0.0);
    diagonal.assign(n, 0.0);
    work.assign(n, 0.0);

    // The pattern of each row of L, in the order the factorisation visits it.
    patternStart.assign(n + 1, 0);
    patternColumn.clear();
    patternPlace.clear();
    std::vector<int> stack(n, 0);
    std::fill(count.begin(), count.end(), 0);
    for (int k = 0; k < size; ++k) {
        int top = size;
        tags[at(k)] = k;
        for (int e = upperStart[at(k)]; e < upperStart[at(k + 1)]; ++e) {
            int i = upperRow[at(e)];
            if (i > k)
                continue;
            int length = 0;
            for (; tags[at(i)] != k; i = parent[at(i)]) {
                stack[at(length++)] = i;
                tags[at(i)] = k;
            }
            while (length > 0)
                stack[at(--top)] = stack[at(--length)];
        }
        for (; top < size; ++top) {
            const int i = stack[at(top)];
            const int p = lStart[at(i)] + count[at(i)]++;
            lRow[at(p)] = k;
            patternColumn.push_back(i);
            patternPlace.push_back(p);
        }
        patternStart[at(k + 1)] = static_cast<int>(patternColumn.size());
    }
    noteRuns();
    return place;
}

void TLoopCorrectionSolver::TFactor::noteRuns()
{
    // Whether column i's entries above row k (ending before place p) are
    // row j followed by column j's entries above row k (ending before q).
    const auto chains = [&](int i, int p, int j, int q) {
        const int length = q - lStart[at(j)];
        return p - lStart[at(i)] == length + 1 && lRow[at(lStart[at(i)])] == j &&
               std::equal(lRow.begin() + lStart[at(i)] + 1, lRow.begin() + p, lRow.begin() + lStart[at(j)]);
    };
    runStart.assign(at(size) + 1, 0);
    runs.clear();
    runEntries.clear();
    for (int k = 0; k < size; ++k) {
        const int end = patternStart[at(k + 1)];
        for (int e = patternStart[at(k)]; e < end;) {
            int length = 1;
            while (length < LongestRun && e + length < end &&
                   chains(patternColumn[at(e + length - 1)], patternPlace[at(e + length - 1)],
                          patternColumn[at(e + length)], patternPlace[at(e + length)]))
                ++length;
            for (int t = 0; t < length; ++t) {
                const int i = patternColumn[at(e + t)];
                runEntries.push_back({i, patternPlace[at(e + t)], lStart[at(i)]});
            }
            const TRunEntry &last = runEntries.back();
            runs.push_back({length, last.Start, last.Place - last.Start});
            e += length;
        }
        runStart[at(k + 1)] = static_cast<int>(runs.size());
    }
}

namespace {

// One run of row k's pattern: each column's y becomes its entry of row k
// (y / D) and is taken from D's entry, the later columns of the run and the
// shared rows; every y is updated by the columns in the run's order, as
// one column at a time would. The run's own y are updated in registers.
// Returns D's entry less the run's terms.
template <int Size, typename TEntry>
double factoriseRun(double *y, double *value, const double *d, const TEntry *entry, const int *rows, int length,
                    double dk)
{
    double ys[Size], pivot[Size], l[Size];
    for (int t = 0; t < Size; ++t) {
        const int i = entry[t].Column;
        ys[t] = y[i];
        y[i] = 0;
        pivot[t] = d[i];
    }
    for (int t = 0; t < Size - 1; ++t) {
        const double *ci = value + entry[t].Start;
        for (int s = t + 1; s < Size; ++s)
            ys[s] -= ci[s - t - 1] * ys[t];
    }
    for (int t = 0; t < Size; ++t)
        l[t] = ys[t] / pivot[t];
    const double *columns[Size];
    for (int t = 0; t < Size; ++t) {
        dk -= l[t] * ys[t];
        value[entry[t].Place] = l[t];
        columns[t] = value + entry[t].Start + (Size - 1 - t);
    }
    for (int j = 0; j < length; ++j) {
        double v = y[rows[j]];
        for (int t = 0; t < Size; ++t)
            v -= columns[t][j] * ys[t];
        y[rows[j]] = v;
    }
    return dk;
}

} // namespace

bool TLoopCorrectionSolver::TFactor::Factorise(const TAssembly *terms, const std::vector<double> &coefficient)
{
    double *y = work.data();
    double *value = lValue.data(), *d = diagonal.data();
    const int *row = lRow.data();
    const TRunEntry *entry = runEntries.data();
    for (int k = 0; k < size; ++k) {
        // Column k of the matrix, assembled straight into y (all 0 here):
        // each entry's terms are consecutive and summed in a register.
        int previous = -1;
        double sum = 0;
        for (int q = termStart[at(k)]; q < termStart[at(k + 1)]; ++q) {
            const TAssembly &a = terms[q];
            sum = (a.Target == previous ? sum : 0.0) + a.Sign * coefficient[at(a.Column)];
            y[a.Target] = sum;
            previous = a.Target;
        }
        double dk = y[k];
        y[k] = 0;
        for (int g = runStart[at(k)]; g < runStart[at(k + 1)]; ++g) {
            const TRun &run = runs[at(g)];
            const int *rows = row + run.Shared;
            switch (run.Size) {
            case 1: dk = factoriseRun<1>(y, value, d, entry, rows, run.Length, dk); break;
            case 2: dk = factoriseRun<2>(y, value, d, entry, rows, run.Length, dk); break;
            case 3: dk = factoriseRun<3>(y, value, d, entry, rows, run.Length, dk); break;
            default: dk = factoriseRun<4>(y, value, d, entry, rows, run.Length, dk); break;
            }
            entry += run.Size;
        }
        d[k] = dk;
        if (dk == 0)
            return false;
    }
    return true;
}

void TLoopCorrectionSolver::TFactor::Solve(double *x) const
{
    for (int i = 0; i < size; ++i) {
        const double t = x[i];
        if (t == 0)
            continue;
        const int end = lStart[at(i + 1)];
        int q = lStart[at(i)];
#if defined(__SSE2__)
        const __m128d factor = _mm_set1_pd(t);
        for (; q + 1 < end; q += 2) {
            double *first = x + lRow[at(q)], *second = x + lRow[at(q + 1)];
            const __m128d v = _mm_loadh_pd(_mm_load_sd(first), second);
            const __m128d r = _mm_sub_pd(v, _mm_mul_pd(factor, _mm_loadu_pd(lValue.data() + q)));
            _mm_store_sd(first, r);
            _mm_storeh_pd(second, r);
        }
#endif
        for (; q < end; ++q)
            x[lRow[at(q)]] -= t * lValue[at(q)];
    }
    for (int i = size - 1; i >= 0; --i) {
        double t = (1.0 / diagonal[at(i)]) * x[i];
        for (int q = lStart[at(i)]; q < lStart[at(i + 1)]; ++q)
            t -= lValue[at(q)] * x[lRow[at(q)]];
        x[i] = t;
    }
}

TLoopCorrectionSolver::TLoopCorrectionSolver() : factor_(std::make_unique<TFactor>()) {}

TLoopCorrectionSolver::~TLoopCorrectionSolver() = default;

bool TLoopCorrectionSolver::Prepare(const TFixedMatrix<TMatrixElementEnum> &pattern, std::uint64_t version, int rows,
                                    int columns, const std::vector<int> &rowStart, const std::vector<int> &rowColumns)
{
    if (rows == rows_ && columns == columns_ && version == version_)
        return applies_;
    // A pattern written afresh with the same elements (the next generation
    // of an unchanged layout) keeps everything worked out for it.
    const std::size_t entries = at(rowStart[at(std::max(rows, 0))]);
    bool same = rows == rows_ && columns == columns_ && rows >= 1 && rowStart_.size() == at(rows + 1) &&
                std::equal(rowStart.begin(), rowStart.begin() + rows + 1, rowStart_.begin()) &&
                rowColumns_.size() == entries &&
                std::equal(rowColumns.begin(), rowColumns.begin() + static_cast<std::ptrdiff_t>(entries),
                           rowColumns_.begin());
    for (int r = 1; r <= rows && same; ++r) {
        const TMatrixElementEnum *row = pattern[r];
        for (int e = rowStart[at(r - 1)]; e < rowStart[at(r)] && same; ++e)
            same = row[rowColumns[at(e)]] == rowElements_[at(e)];
    }
    if (same) {
        version_ = version;
        return applies_;
    }
    rowStart_.assign(rowStart.begin(), rowStart.begin() + std::max(rows, 0) + 1);
    rowColumns_.assign(rowColumns.begin(), rowColumns.begin() + static_cast<std::ptrdiff_t>(entries));
    rowElements_.resize(entries);
    for (int r = 1; r <= rows; ++r) {
        const TMatrixElementEnum *row = pattern[r];
        for (int e = rowStart[at(r - 1)]; e < rowStart[at(r)]; ++e)
            rowElements_[at(e)] = row[rowColumns[at(e)]];
    }
    rows_ = rows;
    columns_ = columns;
    version_ = version;
    applies_ = false;
    loopRow_.clear();
    continuityRow_.clear();
    loopStart_.assign(1, 0);
    loopEntries_.clear();
    firstLoop_.assign(at(columns + 1), TEntry{0, 0});
    assembly_.clear();
    if (rows != columns || rows < 1)
        return false;

    // Each column's continuity entries: the row and sign of up to two.
    struct TContinuity {
        int Row[2] = {0, 0};
        int Sign[2] = {0, 0};
        int Count = 0;
    };
    std::vector<TContinuity> continuity(at(columns + 1));
    for (int r = 1; r <= rows; ++r) {
        const TMatrixElementEnum *row = pattern[r];
        bool flow = false, head = false;
        for (int e = rowStart[at(r - 1)]; e < rowStart[at(r)]; ++e) {
            const TMatrixElementEnum element = row[rowColumns[at(e)]];
            flow = flow || element == one || element == minus_one;
            head = head || element == HeadKqn || element == minus_HeadKqn;
        }
        if (flow == head)
            return false; // mixed or empty
        if (head) {
            for (int e = rowStart[at(r - 1)]; e < rowStart[at(r)]; ++e) {
                const int c = rowColumns[at(e)];
                const int sign = row[c] == HeadKqn ? 1 : -1;
                loopEntries_.push_back({c, sign});
                if (firstLoop_[at(c)].Sign == 0)
                    firstLoop_[at(c)] = {static_cast<int>(loopRow_.size()), sign};
            }
            loopRow_.push_back(r);
            loopStart_.push_back(static_cast<int>(loopEntries_.size()));
            continue;
        }
        const int j = static_cast<int>(continuityRow_.size());
        continuityRow_.push_back(r);
        for (int e = rowStart[at(r - 1)]; e < rowStart[at(r)]; ++e) {
            const int c = rowColumns[at(e)];
            TContinuity &entry = continuity[at(c)];
            if (entry.Count == 2)
                return false;
            entry.Row[entry.Count] = j;
            entry.Sign[entry.Count] = row[c] == one ? 1 : -1;
            ++entry.Count;
        }
    }
    const int joints = static_cast<int>(continuityRow_.size());
    const int loops = static_cast<int>(loopRow_.size());
    if (joints + loops != columns)
        return false;

    // Joined joints share a set; a set must reach a fixed-pressure node
    // (a flow in only one continuity equation), or its equations would
    // leave a free constant.
    std::vector<int> set(at(joints));
    std::iota(set.begin(), set.end(), 0);
    const auto find = [&](int j) {
        while (set[at(j)] != j)
            j = set[at(j)] = set[at(set[at(j)])];
        return j;
    };
    std::vector<char> grounded(at(joints), 0);
    for (int c = 1; c <= columns; ++c) {
        const TContinuity &entry = continuity[at(c)];
        if (entry.Count == 2) {
            if (entry.Sign[0] == entry.Sign[1])
                return false;
            set[at(find(entry.Row[0]))] = find(entry.Row[1]);
        }
    }
    for (int c = 1; c <= columns; ++c)
        if (continuity[at(c)].Count == 1)
            grounded[at(find(continuity[at(c)].Row[0]))] = 1;
    for (int j = 0; j < joints; ++j)
        if (!grounded[at(find(j))])
            return false;

    // The spanning forest for flows that meet continuity alone: grown
    // breadth-first from the flows to fixed-pressure nodes, in column order.
    tree_.clear();
    {
        std::vector<std::vector<TEntry>> columnsOf(at(joints)); // {column, sign}
        for (int c = 1; c <= columns; ++c) {
            const TContinuity &entry = continuity[at(c)];
            for (int k = 0; k < entry.Count; ++k)
                columnsOf[at(entry.Row[k])].push_back({c, entry.Sign[k]});
        }
        std::vector<char> reached(at(joints), 0);
        for (int c = 1; c <= columns; ++c) {
            const TContinuity &entry = continuity[at(c)];
            if (entry.Count == 1 && !reached[at(entry.Row[0])]) {
                reached[at(entry.Row[0])] = 1;
                tree_.push_back({entry.Row[0], c, entry.Sign[0], -1, 0});
            }
        }
        for (std::size_t head = 0; head < tree_.size(); ++head) {
            const int j = tree_[head].Joint;
            for (const TEntry &e : columnsOf[at(j)]) {
                const TContinuity &entry = continuity[at(e.Column)];
                if (entry.Count != 2)
                    continue;
                const int k = entry.Row[0] == j ? 1 : 0;
                const int other = entry.Row[k];
                if (reached[at(other)])
                    continue;
                reached[at(other)] = 1;
                tree_.push_back({other, e.Column, entry.Sign[k], j, e.Sign});
            }
        }
        if (static_cast<int>(tree_.size()) != joints)
            return false;
    }

    // Every loop keeps every joint's continuity.
    std::vector<int> balance(at(joints), 0);
    std::vector<int> touched;
    for (int i = 0; i < loops; ++i) {
        for (const TEntry *e = LoopBegin(i); e != LoopEnd(i); ++e) {
            const TContinuity &entry = continuity[at(e->Column)];
            for (int k = 0; k < entry.Count; ++k) {
                balance[at(entry.Row[k])] += entry.Sign[k] * e->Sign;
                touched.push_back(entry.Row[k]);
            }
        }
        for (const int j : touched) {
            if (balance[at(j)] != 0)
                return false;
        }
        touched.clear();
    }

    // The loop matrix: one entry for each pair of loops sharing a pipe,
    // lower triangle, and how each pipe adds to it.
    std::vector<std::vector<TEntry>> loopsOf(at(columns + 1));
    for (int i = 0; i < loops; ++i)
        for (const TEntry *e = LoopBegin(i); e != LoopEnd(i); ++e)
            loopsOf[at(e->Column)].push_back({i, e->Sign});
    std::vector<Eigen::Triplet<double, int>> triplets;
    for (int i = 0; i < loops; ++i)
        triplets.emplace_back(i, i, 0.0);
    for (int c = 1; c <= columns; ++c)
        for (const TEntry &a : loopsOf[at(c)])
            for (const TEntry &b : loopsOf[at(c)])
                if (a.Column > b.Column)
                    triplets.emplace_back(a.Column, b.Column, 0.0);
    Eigen::SparseMatrix<double, Eigen::ColMajor, int> lower(loops, loops);
    lower.setFromTriplets(triplets.begin(), triplets.end());
    lower.makeCompressed();
    const auto target = [&](int row, int column) {
        const int *first = lower.innerIndexPtr() + lower.outerIndexPtr()[column];
        const int *last = lower.innerIndexPtr() + lower.outerIndexPtr()[column + 1];
        return static_cast<int>(std::lower_bound(first, last, row) - lower.innerIndexPtr());
    };
    for (int c = 1; c <= columns; ++c)
        for (const TEntry &a : loopsOf[at(c)])
            for (const TEntry &b : loopsOf[at(c)])
                if (a.Column >= b.Column)
                    assembly_.push_back({target(a.Column, b.Column), c, static_cast<double>(a.Sign * b.Sign)});
    std::sort(assembly_.begin(), assembly_.end(),
              [](const TAssembly &x, const TAssembly &y) { return x.Target < y.Target; });
    // Each entry is summed in the same order once it is placed in the
    // ordered matrix.
    const std::vector<int> place = factor_->Analyse(lower);
    for (TAssembly &a : assembly_)
        a.Target = place[at(a.Target)];
    std::stable_sort(assembly_.begin(), assembly_.end(),
                     [](const TAssembly &x, const TAssembly &y) { return x.Target < y.Target; });
    // The factorisation takes each column's terms in turn and adds them at
    // their rows.
    TFactor &f = *factor_;
    f.termStart.assign(at(loops) + 1, 0);
    for (TAssembly &a : assembly_) {
        const int k = static_cast<int>(std::upper_bound(f.upperStart.begin(), f.upperStart.end(), a.Target) -
                                       f.upperStart.begin()) - 1;
        ++f.termStart[at(k + 1)];
        a.Target = f.upperRow[at(a.Target)];
    }
    for (int k = 0; k < loops; ++k)
        f.termStart[at(k + 1)] += f.termStart[at(k)];
    corrections_.assign(at(loops), 0);
    applies_ = true;
    return applies_;
}

bool TLoopCorrectionSolver::Factorise(const std::vector<double> &coefficient)
{
    TFactor &f = *factor_;
    if (!f.Factorise(assembly_.data(), coefficient))
        return false;
    // A pivot that is rounding beside the others: the loops would not be
    // independent, or the system as good as singular; the flow system decides.
    double largest = 0;
    for (const double d : f.diagonal)
        largest = std::max(largest, std::fabs(d));
    for (const double d : f.diagonal)
        if (!(std::fabs(d) > 1e-13 * largest))
            return false;
    return true;
}

void TLoopCorrectionSolver::Solve(const std::vector<double> &loopRhs, std::vector<double> &columnFlows)
{
    const TFactor &f = *factor_;
    const int loops = LoopCount();
    for (int i = 0; i < loops; ++i)
        corrections_[at(f.ordered[at(i)])] = loopRhs[at(i)];
    f.Solve(corrections_.data());
    std::fill(columnFlows.begin(), columnFlows.begin() + columns_ + 1, 0.0);
    for (int i = 0; i < loops; ++i) {
        const double x = corrections_[at(f.ordered[at(i)])];
        for (const TEntry *e = LoopBegin(i); e != LoopEnd(i); ++e)
            columnFlows[at(e->Column)] += e->Sign * x;
    }
}

} // namespace tessaran

namespace tessaran {

// --- The equation system's steps in the loop form ----------------------------------

TLoopCorrectionSolver &TMatrixEquations::loopSolver()
{
    if (!loopSolver_) {
        loopSolver_ = std::make_shared<TLoopCorrectionSolver>();
        const std::size_t size = static_cast<std::size_t>(MaxDimension) + 1;
        loopCoefficient_.assign(size, 0);
        loopRhs_.assign(size, 0);
        loopFlows_.assign(size, 0);
        transformShift_.assign(size, 0);
        transformBase_.assign(size, 0);
    }
    return *loopSolver_;
}

bool TMatrixEquations::prepareLoopSolver()
{
    // A small system costs the flow solver next to nothing, and its steps
    // then keep the exact cancellations of the joints' balances.
    constexpr int SmallestLoopFormSystem = 50;
    if (DimensionX < SmallestLoopFormSystem)
        return false;
    notePattern();
    return loopSolver().Prepare(QMatrix, QMatrix.Version(), DimensionY, DimensionX, patternStart_, patternColumns_);
}

bool TMatrixEquations::newtonLoopStep()
{
    if (!prepareLoopSolver())
        return false;
    TLoopCorrectionSolver &solver = *loopSolver_;
    // A step from flows that keep continuity stays on the loops; from flows
    // that do not, it also carries the joints' imbalances along the spanning
    // forest of the joints, and the loops make up the rest.
    Extended largest = 0;
    for (int c = 1; c <= DimensionX; ++c)
        largest = std::max(largest, std::fabs(QkgsVariables[c]));
    bool balanced = true;
    for (const int r : solver.ContinuityRows())
        balanced = balanced && std::fabs(FResults[r]) <= 1e-12L * largest;
    if (!balanced) {
        stepBalance_.clear();
        for (const int r : solver.ContinuityRows())
            stepBalance_.push_back(FResults[r]);
        stepParticular_.resize(static_cast<std::size_t>(DimensionX) + 1);
        solver.ContinuityFlows(stepBalance_, stepParticular_);
    }
    // Each loop entry of DMatrix is plus or minus its column's derivative
    // from the pass just made, which may not be written yet
    // (writePendingDerivatives).
    const auto entry = [&](int c, int sign) {
        const Extended d = headDerivative_[at(c)];
        return sign > 0 ? d : -d;
    };
    // A column's coefficient is its entry in its first loop times the sign
    // there: the derivative itself.
    for (int c = 1; c <= DimensionX; ++c)
        loopCoefficient_[at(c)] = solver.FirstLoopOf(c).Sign == 0 ? 0.0 : static_cast<double>(headDerivative_[at(c)]);
    if (!solver.Factorise(loopCoefficient_))
        return false;
    for (int i = 0; i < solver.LoopCount(); ++i) {
        const int r = solver.LoopRow(i);
        Extended rhs = FResults[r];
        if (!balanced) {
            for (const TLoopCorrectionSolver::TEntry *e = solver.LoopBegin(i); e != solver.LoopEnd(i); ++e)
                rhs -= entry(e->Column, e->Sign) * stepParticular_[at(e->Column)];
        }
        loopRhs_[at(i)] = static_cast<double>(rhs);
    }
    solver.Solve(loopRhs_, loopFlows_);
    for (int c = 1; c <= DimensionX; ++c)
        QDeltas[c] = balanced ? Extended(loopFlows_[at(c)]) : loopFlows_[at(c)] + stepParticular_[at(c)];
    return true;
}

void TMatrixEquations::noteLinearTheoryParticular()
{
    if (!prepareLoopSolver())
        return;
    const TLoopCorrectionSolver &solver = *loopSolver_;
    particularFlows_.assign(QkgsVariables.begin(), QkgsVariables.begin() + DimensionX + 1);
    particularKnowns_.clear();
    for (const int r : solver.ContinuityRows())
        particularKnowns_.push_back(FResults[r]);
    particularVersion_ = QMatrix.Version();
    particularColumns_ = DimensionX;
}

bool TMatrixEquations::linearTheoryLoopSolve()
{
    if (!prepareLoopSolver())
        return false;
    TLoopCorrectionSolver &solver = *loopSolver_;
    const std::vector<int> &continuity = solver.ContinuityRows();
    bool particularHolds = particularColumns_ == DimensionX && particularVersion_ == QMatrix.Version() &&
                           continuity.size() == particularKnowns_.size();
    for (std::size_t j = 0; j < continuity.size() && particularHolds; ++j)
        particularHolds = FResults[continuity[j]] == particularKnowns_[j];
    // Without flows of an earlier step that meet the joints' balances, the
    // spanning forest of the joints gives some.
    if (!particularHolds) {
        particularKnowns_.clear();
        for (const int r : continuity)
            particularKnowns_.push_back(FResults[r]);
        particularFlows_.resize(static_cast<std::size_t>(DimensionX) + 1);
        solver.ContinuityFlows(particularKnowns_, particularFlows_);
        particularVersion_ = QMatrix.Version();
        particularColumns_ = DimensionX;
    }
    // Each curve's transformation variable is its pipe's flow plus a shift.
    const int nx = DimensionXWithLinearTransformationEquations;
    for (int k = DimensionX + 1; k <= nx; ++k)
        transformBase_[at(k)] = 0;
    for (int t = DimensionY + 1; t <= DimensionYWithLinearTransformationEquations; ++t) {
        const Extended *row = std::as_const(DMatrix)[t];
        int base = 0, k = 0, entries = 0;
        for (int c = 1; c <= nx; ++c) {
            if (row[c] == 0)
                continue;
            ++entries;
            if (c <= DimensionX && row[c] == -1.0L)
                base = c;
            else if (c > DimensionX && row[c] == 1.0L)
                k = c;
        }
        if (entries != 2 || base == 0 || k == 0 || transformBase_[at(k)] != 0)
            return false;
        transformBase_[at(k)] = base;
        transformShift_[at(k)] = FResults[t];
    }
    for (int k = DimensionX + 1; k <= nx; ++k)
        if (transformBase_[at(k)] == 0)
            return false;

    const auto curvesOf = [&](int c, int (&columns)[2]) {
        columns[0] = QPumpLinearTheoryXIndex[at(c)];
        columns[1] = QComponentPressureLinearTheoryXIndex[at(c)];
    };
    // A column with neither pump nor component has plus or minus its linear
    // K in DMatrix, which may not be written yet (writePendingHeads).
    const auto plainEntry = [&](int c, int sign) {
        const Extended k = LinearTheoryKVariables[c];
        return sign > 0 ? k : -k;
    };
    for (int c = 1; c <= DimensionX; ++c) {
        const TLoopCorrectionSolver::TEntry first = solver.FirstLoopOf(c);
        if (first.Sign == 0) {
            loopCoefficient_[at(c)] = 0;
            continue;
        }
        if (plainHeadColumn(c)) {
            loopCoefficient_[at(c)] = first.Sign * static_cast<double>(plainEntry(c, first.Sign));
            continue;
        }
        const Extended *row = std::as_const(DMatrix)[solver.LoopRow(first.Column)];
        Extended coefficient = row[c];
        int curves[2];
        curvesOf(c, curves);
        for (const int k : curves)
            if (k > DimensionX && k <= nx && transformBase_[at(k)] == c)
                coefficient += row[k];
        loopCoefficient_[at(c)] = first.Sign * static_cast<double>(coefficient);
    }
    if (!solver.Factorise(loopCoefficient_))
        return false;
    for (int i = 0; i < solver.LoopCount(); ++i) {
        const int r = solver.LoopRow(i);
        const Extended *row = std::as_const(DMatrix)[r];
        Extended rhs = FResults[r];
        for (const TLoopCorrectionSolver::TEntry *e = solver.LoopBegin(i); e != solver.LoopEnd(i); ++e) {
            const int c = e->Column;
            const Extended flow = particularFlows_[at(c)];
            if (plainHeadColumn(c)) {
                rhs -= plainEntry(c, e->Sign) * flow;
                continue;
            }
            rhs -= row[c] * flow;
            int curves[2];
            curvesOf(c, curves);
            for (const int k : curves)
                if (k > DimensionX && k <= nx && transformBase_[at(k)] == c)
                    rhs -= row[k] * (flow + transformShift_[at(k)]);
        }
        loopRhs_[at(i)] = static_cast<double>(rhs);
    }
    solver.Solve(loopRhs_, loopFlows_);
    for (int c = 1; c <= DimensionX; ++c)
        QkgsVariables[c] = particularFlows_[at(c)] + loopFlows_[at(c)];
    for (int k = DimensionX + 1; k <= nx; ++k)
        QkgsVariables[k] = QkgsVariables[transformBase_[at(k)]] + transformShift_[at(k)];
    return true;
}

} // namespace tessaran
