#include "units/SparSolv.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <new>
#include <queue>
#include <utility>
#include <vector>

namespace tessaran {

namespace {

// While the system is built, each row is a singly linked list of elements in
// increasing column order, held in one pool (indices, no per-element
// allocation). The right-hand side is the element of column Neq + 1.
struct BuildElement {
    int next;
    int col;
    double value;
};

struct SolverState {
    int neq = 0;
    bool initialised = false;
    bool tablesReady = false;    // InitStruc got through its checks
    bool solved = false;
    bool solveAttempted = false; // the build is closed once Solve has run

    std::string reason;
    int errNo = 0, num1 = 0, num2 = 0;

    std::vector<int> firstElement; // 1..neq, -1 = empty row
    std::vector<int> lastElement;
    std::vector<BuildElement> pool;

    std::vector<double> answer; // 1..neq
};

SolverState S;
int allocationsBeforeFailure = -1;

// Called before every allocation that the error codes name.
void guardAllocation()
{
    if (allocationsBeforeFailure == 0) {
        allocationsBeforeFailure = -1;
        throw std::bad_alloc();
    }
    if (allocationsBeforeFailure > 0)
        --allocationsBeforeFailure;
}

const char *errorText(int code)
{
    switch (code) {
    case 1: return "InitStruc must be called";
    case 2: return "Initialize without releasing ";
    case 3: return "Too many equations ";
    case 4: return "Too few equations ";
    case 5: case 6: case 9: case 25: return "Out of Space";
    case 7: return "Row < 1";
    case 8: return "Row > Neq";
    case 10: return "Col < 1";
    case 11: return "Col > Neq";
    case 12: return "System not solved";
    case 13: return "VarNo < 1";
    case 14: return "VarNo >Neq";
    case 15: return "System already solved";
    case 16: return "Empty Row";
    case 17: return "Cols out of Order";
    case 18: return "No RHS";
    case 19: return "Empty Col";
    case 20: return "Row without Variables";
    case 21: return "All-Zero Row";
    case 22: return "All-Zero Column";
    case 23: return "Two Singles";
    case 24: return "Numerically Singular";
    case 26: return "Structurally Singular";
    default: return "";
    }
}

bool fail(int code, int num1 = 0, int num2 = 0)
{
    S.reason = errorText(code);
    S.errNo = code;
    S.num1 = num1;
    S.num2 = num2;
    return false;
}

template <typename T>
void freeVector(std::vector<T> &v)
{
    std::vector<T>().swap(v);
}

bool insertElement(int row, int col, double value)
{
    if (S.pool.size() == S.pool.capacity()) {
        try {
            guardAllocation();
            S.pool.reserve(S.pool.capacity() < 4095 ? 4095 : S.pool.capacity() * 2);
        } catch (const std::bad_alloc &) {
            return fail(9);
        }
    }
    int &first = S.firstElement[static_cast<std::size_t>(row)];
    int &last = S.lastElement[static_cast<std::size_t>(row)];
    const int fresh = static_cast<int>(S.pool.size());
    if (first < 0) {
        S.pool.push_back({-1, col, value});
        first = last = fresh;
        return true;
    }
    if (col > S.pool[static_cast<std::size_t>(last)].col) {
        S.pool.push_back({-1, col, value});
        S.pool[static_cast<std::size_t>(last)].next = fresh;
        last = fresh;
        return true;
    }
    int previous = -1;
    int at = first;
    while (S.pool[static_cast<std::size_t>(at)].col < col) {
        previous = at;
        at = S.pool[static_cast<std::size_t>(at)].next;
    }
    if (S.pool[static_cast<std::size_t>(at)].col == col) {
        S.pool[static_cast<std::size_t>(at)].value += value;
        return true;
    }
    S.pool.push_back({at, col, value});
    if (previous < 0)
        first = fresh;
    else
        S.pool[static_cast<std::size_t>(previous)].next = fresh;
    return true;
}

// The elimination works on rows held contiguously (columns and values in two
// parallel arrays, each row a segment; rows start in increasing column order,
// fill-in is appended). A row that outgrows its segment through fill-in moves
// to the end with room to spare. Rows stay in place after they are pivoted,
// for the back substitution.
class Eliminator {
public:
    explicit Eliminator(int neq) : n(neq) {}

    // Prepares for a new system of neq equations, keeping the storage of the
    // previous one so that repeated solves of one size do not allocate again.
    void reset(int neq)
    {
        n = neq;
        pivotsMade = 0;
        cols.clear();
        vals.clear();
        nodeRow.clear();
        nodeNext.clear();
        pivotOrder.clear();
        pivotCols.clear();
        pivotVals.clear();
    }

    int pivotsMade = 0;

    bool run()
    {
        if (!buildRows())
            return false;
        if (!scale())
            return false;
        if (!pivotColumnSingletons())
            return false;
        if (!pivotRemaining())
            return false;
        backSubstitute();
        return true;
    }

private:
    using Index = std::size_t;
    static Index ix(int i) { return static_cast<Index>(i); }

    int n;
    std::vector<int> start, len, cap; // row segments
    std::vector<int> cols;
    std::vector<double> vals;
    std::vector<double> rhs;
    std::vector<int> colCount;  // rows in the list holding the column, -1 once pivoted
    std::vector<int> pivotCol;  // per row, once pivoted
    std::vector<char> inList;   // row still to pivot
    std::vector<int> pivotOrder;
    std::vector<double> colScale;
    // Rows holding each column: linked lists in one pool. Entries for rows
    // already pivoted are skipped when read.
    std::vector<int> colHead, nodeRow, nodeNext;
    // The pivot row being eliminated: its entries (place 0 a zero, see
    // eliminate), the place of each column in it, and which places the
    // current target row holds.
    std::vector<int> pivotCols, pivotSlot, seenBy;
    std::vector<double> pivotVals;

    void addToColumn(int col, int row)
    {
        nodeRow.push_back(row);
        nodeNext.push_back(colHead[ix(col)]);
        colHead[ix(col)] = static_cast<int>(nodeRow.size()) - 1;
    }

    bool buildRows()
    {
        guardAllocation();
        start.assign(ix(n + 1), 0);
        len.assign(ix(n + 1), 0);
        cap.assign(ix(n + 1), 0);
        rhs.assign(ix(n + 1), 0.0);
        colCount.assign(ix(n + 2), 0);
        pivotCol.assign(ix(n + 1), 0);
        inList.assign(ix(n + 1), 1);
        colScale.assign(ix(n + 1), 0.0);
        colHead.assign(ix(n + 1), -1);
        pivotSlot.assign(ix(n + 2), 0);
        pivotOrder.reserve(ix(n));
        cols.reserve(S.pool.size() + S.pool.size() / 2);
        vals.reserve(S.pool.size() + S.pool.size() / 2);
        nodeRow.reserve(S.pool.size() + S.pool.size() / 2);
        nodeNext.reserve(S.pool.size() + S.pool.size() / 2);

        for (int r = 1; r <= n; ++r) {
            int at = S.firstElement[ix(r)];
            if (at < 0)
                return fail(16, r, 0);
            start[ix(r)] = static_cast<int>(cols.size());
            int lastCol = 0;
            for (; at >= 0; at = S.pool[ix(at)].next) {
                const BuildElement &e = S.pool[ix(at)];
                if (e.col <= lastCol)
                    return fail(17, r, e.col);
                lastCol = e.col;
                if (e.col == n + 1) {
                    rhs[ix(r)] = e.value;
                } else {
                    cols.push_back(e.col);
                    vals.push_back(e.value);
                    ++colCount[ix(e.col)];
                }
            }
            if (lastCol != n + 1)
                return fail(18, lastCol, 0);
            len[ix(r)] = cap[ix(r)] = static_cast<int>(cols.size()) - start[ix(r)];
        }
        for (int c = 1; c <= n; ++c)
            if (colCount[ix(c)] == 0)
                return fail(19, c, 0);
        for (int r = 1; r <= n; ++r)
            if (len[ix(r)] == 0)
                return fail(20, r, 0);
        // The build lists are no longer needed.
        freeVector(S.pool);
        freeVector(S.firstElement);
        for (int r = 1; r <= n; ++r)
            for (int k = start[ix(r)], end = k + len[ix(r)]; k < end; ++k)
                addToColumn(cols[ix(k)], r);
        return true;
    }

    bool scale()
    {
        for (int r = 1; r <= n; ++r) {
            const int s = start[ix(r)], e = s + len[ix(r)];
            double largest = 0.0;
            for (int k = s; k < e; ++k)
                largest = std::max(largest, std::fabs(vals[ix(k)]));
            if (largest == 0.0)
                return fail(21, r, 0);
            for (int k = s; k < e; ++k)
                vals[ix(k)] /= largest;
            rhs[ix(r)] /= largest;
        }
        for (std::size_t k = 0; k < cols.size(); ++k) {
            double &largest = colScale[ix(cols[k])];
            largest = std::max(largest, std::fabs(vals[k]));
        }
        for (int c = 1; c <= n; ++c)
            if (colScale[ix(c)] == 0.0)
                return fail(22, c, 0);
        for (std::size_t k = 0; k < cols.size(); ++k)
            vals[k] /= colScale[ix(cols[k])];
        return true;
    }

    int onlyRowInList(int col) const
    {
        for (int node = colHead[ix(col)]; node >= 0; node = nodeNext[ix(node)])
            if (inList[ix(nodeRow[ix(node)])])
                return nodeRow[ix(node)];
        return 0;
    }

    void takePivot(int row, int col)
    {
        inList[ix(row)] = 0;
        pivotCol[ix(row)] = col;
        pivotOrder.push_back(row);
        ++pivotsMade;
    }

    // A column held by one row only is pivoted in that row without any
    // elimination. Rows are visited in passes over the list in row order until
    // a pass finds none; the two queues reproduce that order while visiting
    // only rows that gained a singleton column.
    bool pivotColumnSingletons()
    {
        using MinQueue = std::priority_queue<int, std::vector<int>, std::greater<int>>;
        MinQueue thisPass, nextPass;
        for (int r = 1; r <= n; ++r)
            for (int k = start[ix(r)], end = k + len[ix(r)]; k < end; ++k)
                if (colCount[ix(cols[ix(k)])] == 1) {
                    thisPass.push(r);
                    break;
                }
        int cursor = 0;
        for (;;) {
            if (thisPass.empty()) {
                if (nextPass.empty())
                    return true;
                std::swap(thisPass, nextPass);
                cursor = 0;
            }
            const int r = thisPass.top();
            thisPass.pop();
            if (!inList[ix(r)])
                continue;
            cursor = r;
            const int s = start[ix(r)], e = s + len[ix(r)];
            int single = -1;
            for (int k = s; k < e; ++k) {
                if (colCount[ix(cols[ix(k)])] != 1)
                    continue;
                if (single >= 0)
                    return fail(23, r, cols[ix(k)]);
                single = k;
            }
            if (single < 0)
                continue;
            // Left with a zero coefficient once the other rows of its column
            // were pivoted: no pivot can come from this column.
            if (vals[ix(single)] == 0.0)
                return fail(24, r, 0);
            const int pc = cols[ix(single)];
            takePivot(r, pc);
            for (int k = s; k < e; ++k) {
                const int c = cols[ix(k)];
                if (--colCount[ix(c)] == 1 && c != pc) {
                    const int t = onlyRowInList(c);
                    if (t > cursor)
                        thisPass.push(t);
                    else if (t > 0)
                        nextPass.push(t);
                }
            }
            colCount[ix(pc)] = -1;
        }
    }

    // Moves row r to the end of the arrays with room for `need` entries,
    // keeping its first `keep` entries.
    void reserveRow(int r, int need, int keep)
    {
        const int newCap = need + need / 2 + 2;
        const std::size_t at = cols.size();
        if (at + ix(newCap) > cols.capacity()) {
            guardAllocation();
            const std::size_t grown = std::max(cols.capacity() * 2, at + ix(newCap));
            cols.reserve(grown);
            vals.reserve(grown);
        }
        cols.resize(at + ix(newCap));
        vals.resize(at + ix(newCap));
        const int from = start[ix(r)];
        std::copy_n(cols.begin() + from, keep, cols.begin() + static_cast<std::ptrdiff_t>(at));
        std::copy_n(vals.begin() + from, keep, vals.begin() + static_cast<std::ptrdiff_t>(at));
        start[ix(r)] = static_cast<int>(at);
        cap[ix(r)] = newCap;
    }

    // Row t -= multiplier × pivot row, the multiplier taken so that the
    // pivot column leaves row t. pivotSlot maps a column to its place in the
    // pivot row copy, or to place 0 (a zero) when the pivot row lacks it, so
    // that the update needs no branch; seenBy marks the pivot entries that row
    // t already holds, the rest are fill-in.
    void eliminate(int t, int pc, double pivotValue, double pivotRhs)
    {
        int s = start[ix(t)], e = s + len[ix(t)];
        int at = s;
        while (cols[ix(at)] != pc)
            ++at;
        const double multiplier = vals[ix(at)] / pivotValue;
        // The pivot column's element leaves the row (order within a row is free).
        cols[ix(at)] = cols[ix(e - 1)];
        vals[ix(at)] = vals[ix(e - 1)];
        --e;
        int matched = 0;
        const int *__restrict const slots = pivotSlot.data();
        int *__restrict const seen = seenBy.data();
        const double *__restrict const pv = pivotVals.data();
        const int *__restrict const rowCols = cols.data() + s;
        double *__restrict const rowVals = vals.data() + s;
        const int count = e - s;
        int k = 0;
        for (; k + 3 < count; k += 4) {
            const int slot = slots[rowCols[k]], slot2 = slots[rowCols[k + 1]];
            const int slot3 = slots[rowCols[k + 2]], slot4 = slots[rowCols[k + 3]];
            const double v = rowVals[k] - multiplier * pv[slot];
            const double v2 = rowVals[k + 1] - multiplier * pv[slot2];
            const double v3 = rowVals[k + 2] - multiplier * pv[slot3];
            const double v4 = rowVals[k + 3] - multiplier * pv[slot4];
            rowVals[k] = v;
            rowVals[k + 1] = v2;
            rowVals[k + 2] = v3;
            rowVals[k + 3] = v4;
            seen[slot] = t;
            seen[slot2] = t;
            seen[slot3] = t;
            seen[slot4] = t;
            matched += (slot != 0) + (slot2 != 0) + (slot3 != 0) + (slot4 != 0);
        }
        for (; k < count; ++k) {
            const int slot = slots[rowCols[k]];
            const double v = rowVals[k] - multiplier * pv[slot];
            rowVals[k] = v;
            seen[slot] = t;
            matched += slot != 0;
        }
        const int pn = static_cast<int>(pivotCols.size()) - 1;
        const int newLen = e - s + pn - matched;
        if (newLen > cap[ix(t)]) {
            reserveRow(t, newLen, e - s);
            s = start[ix(t)];
            e = s + (newLen - (pn - matched));
        }
        for (int j = 1, fills = pn - matched; fills > 0; ++j) {
            if (seen[j] == t)
                continue;
            --fills;
            const int c = pivotCols[ix(j)];
            const double v = -multiplier * pv[j];
            cols[ix(e)] = c;
            vals[ix(e)] = v;
            ++e;
            ++colCount[ix(c)];
            addToColumn(c, t);
        }
        len[ix(t)] = newLen;
        rhs[ix(t)] -= multiplier * pivotRhs;
    }

    // The remaining pivots follow a fill-reducing order of the columns
    // (nested dissection of the graph in which two columns are neighbours when
    // a row holds both). For each column in turn the pivot row is, among the
    // rows holding it with a coefficient of at least half the column's
    // largest, the one with the fewest elements (the lowest row on a tie);
    // so no multiplier exceeds 2. (A tenth let network systems grow errors.)
    bool pivotRemaining()
    {
        const std::vector<int> order = columnOrder();
        std::vector<int> rows, places;
        std::vector<double> magnitudes;
        for (const int c : order) {
            rows.clear();
            places.clear();
            magnitudes.clear();
            double largest = 0.0;
            int zeroRow = 0;
            for (int node = colHead[ix(c)]; node >= 0; node = nodeNext[ix(node)]) {
                const int t = nodeRow[ix(node)];
                if (!inList[ix(t)])
                    continue;
                int k = start[ix(t)];
                while (cols[ix(k)] != c)
                    ++k;
                const double magnitude = std::fabs(vals[ix(k)]);
                if (magnitude == 0.0 && (zeroRow == 0 || t < zeroRow))
                    zeroRow = t;
                rows.push_back(t);
                places.push_back(k);
                magnitudes.push_back(magnitude);
                largest = std::max(largest, magnitude);
            }
            if (rows.empty())
                return fail(26, rowLeftWithoutCoefficients(), 0);
            if (largest == 0.0)
                return fail(24, zeroRow, 0);
            std::size_t best = rows.size();
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (magnitudes[i] < 0.5 * largest)
                    continue;
                const int t = rows[i];
                if (best == rows.size() || len[ix(t)] < len[ix(rows[best])] ||
                    (len[ix(t)] == len[ix(rows[best])] && t < rows[best]))
                    best = i;
            }
            pivotOn(rows[best], places[best]);
        }
        return true;
    }

    // The row to name when a column has no row left: one that has run out of
    // coefficients, else the first row still to pivot.
    int rowLeftWithoutCoefficients() const
    {
        int first = 0;
        for (int r = 1; r <= n; ++r)
            if (inList[ix(r)]) {
                if (len[ix(r)] == 0)
                    return r;
                if (first == 0)
                    first = r;
            }
        return first;
    }

    void pivotOn(int r, int chosen)
    {
        const int s = start[ix(r)], e = s + len[ix(r)];
        for (int k = s; k < e; ++k)
            --colCount[ix(cols[ix(k)])];
        const int pc = cols[ix(chosen)];
        const double pivotValue = vals[ix(chosen)];
        takePivot(r, pc);
        int toFind = colCount[ix(pc)];
        colCount[ix(pc)] = -1;
        if (toFind <= 0)
            return;
        // A copy of the pivot row: the rows it is merged into may move.
        pivotCols.assign(1, 0); // place 0: the zero of absent columns
        pivotVals.assign(1, 0.0);
        for (int k = s; k < e; ++k)
            if (k != chosen) {
                pivotSlot[ix(cols[ix(k)])] = static_cast<int>(pivotCols.size());
                pivotCols.push_back(cols[ix(k)]);
                pivotVals.push_back(vals[ix(k)]);
            }
        if (seenBy.size() < pivotCols.size())
            seenBy.resize(pivotCols.size(), 0);
        std::fill_n(seenBy.begin(), pivotCols.size(), 0);
        const double pivotRhs = rhs[ix(r)];
        for (int node = colHead[ix(pc)]; node >= 0 && toFind > 0; node = nodeNext[ix(node)]) {
            const int t = nodeRow[ix(node)];
            if (!inList[ix(t)])
                continue;
            eliminate(t, pc, pivotValue, pivotRhs);
            --toFind;
        }
        for (std::size_t j = 1; j < pivotCols.size(); ++j)
            pivotSlot[ix(pivotCols[j])] = 0;
    }

    // Nested dissection of the column graph: split a connected piece at the
    // middle level of a breadth-first search from a far vertex, order both
    // halves first and the separating level after them. Small pieces keep
    // their search order.
    std::vector<int> columnOrder()
    {
        // Column graph of the rows still to pivot, in compressed form. Very
        // long rows join everything and are left out, as they would only
        // blur the separators.
        constexpr int LongRow = 64;
        std::vector<int> degree(ix(n + 1), 0);
        for (int r = 1; r <= n; ++r)
            if (inList[ix(r)] && len[ix(r)] <= LongRow)
                for (int k = start[ix(r)], end = k + len[ix(r)]; k < end; ++k)
                    degree[ix(cols[ix(k)])] += len[ix(r)] - 1;
        std::vector<int> first(ix(n + 2), 0);
        for (int c = 1; c <= n; ++c)
            first[ix(c + 1)] = first[ix(c)] + degree[ix(c)];
        std::vector<int> adjacent(ix(first[ix(n + 1)]));
        std::vector<int> fillAt(first.begin(), first.end() - 1);
        for (int r = 1; r <= n; ++r) {
            if (!inList[ix(r)] || len[ix(r)] > LongRow)
                continue;
            const int s = start[ix(r)], e = s + len[ix(r)];
            for (int i = s; i < e; ++i)
                for (int j = s; j < e; ++j)
                    if (i != j)
                        adjacent[ix(fillAt[ix(cols[ix(i)])]++)] = cols[ix(j)];
        }

        std::vector<int> order;
        order.reserve(ix(n));
        std::vector<int> pieceOf(ix(n + 1), 0), seen(ix(n + 1), 0), level(ix(n + 1), 0);
        int stamp = 0;
        // Breadth-first search within the piece marked `piece`; returns the
        // vertices reached in visiting order and their levels.
        std::vector<int> reached;
        const auto search = [&](int from, int piece) {
            ++stamp;
            reached.clear();
            reached.push_back(from);
            seen[ix(from)] = stamp;
            level[ix(from)] = 0;
            for (std::size_t head = 0; head < reached.size(); ++head) {
                const int v = reached[head];
                for (int a = first[ix(v)]; a < first[ix(v + 1)]; ++a) {
                    const int w = adjacent[ix(a)];
                    if (pieceOf[ix(w)] == piece && seen[ix(w)] != stamp) {
                        seen[ix(w)] = stamp;
                        level[ix(w)] = level[ix(v)] + 1;
                        reached.push_back(w);
                    }
                }
            }
        };
        constexpr std::size_t SmallPiece = 16;
        int pieces = 0;
        struct Task {
            std::vector<int> vertices;
            bool emitAsIs;
        };
        std::vector<Task> tasks;
        {
            std::vector<int> all;
            for (int c = 1; c <= n; ++c)
                if (colCount[ix(c)] >= 0)
                    all.push_back(c);
            tasks.push_back({std::move(all), false});
        }
        while (!tasks.empty()) {
            Task task = std::move(tasks.back());
            tasks.pop_back();
            if (task.emitAsIs || task.vertices.size() <= SmallPiece) {
                order.insert(order.end(), task.vertices.begin(), task.vertices.end());
                continue;
            }
            const int piece = ++pieces;
            for (const int v : task.vertices)
                pieceOf[ix(v)] = piece;
            // Connected parts of the piece, each handled on its own, in the
            // order found; each is whole or [separator, high, low].
            std::vector<std::vector<Task>> parts;
            for (const int v : task.vertices) {
                if (pieceOf[ix(v)] != piece)
                    continue;
                search(v, piece);
                // Restart from the farthest vertex for a long, thin level structure.
                search(reached.back(), piece);
                std::vector<int> component = reached;
                for (const int w : component)
                    pieceOf[ix(w)] = -piece; // taken
                parts.emplace_back();
                if (component.size() <= SmallPiece) {
                    parts.back().push_back({std::move(component), true});
                    continue;
                }
                const int deepest = level[ix(component.back())];
                std::vector<int> countAt(ix(deepest + 1), 0);
                for (const int w : component)
                    ++countAt[ix(level[ix(w)])];
                // The thinnest level that leaves at least a third of the
                // piece on either side.
                int middle = 0;
                std::size_t below = 0;
                const std::size_t size = component.size();
                for (int l = 1; l < deepest; ++l) {
                    below += ix(countAt[ix(l - 1)]);
                    const std::size_t above = size - below - ix(countAt[ix(l)]);
                    if (3 * below < size || 3 * above < size)
                        continue;
                    if (middle == 0 || countAt[ix(l)] < countAt[ix(middle)])
                        middle = l;
                }
                if (middle == 0 || middle == deepest) {
                    parts.back().push_back({std::move(component), true});
                    continue;
                }
                Task low{{}, false}, high{{}, false}, separator{{}, true};
                for (const int w : component) {
                    const int l = level[ix(w)];
                    (l < middle ? low : l > middle ? high : separator).vertices.push_back(w);
                }
                parts.back().push_back(std::move(separator));
                parts.back().push_back(std::move(high));
                parts.back().push_back(std::move(low));
            }
            // The stack gives back the last pushed first: components in
            // reverse, each as [separator, high, low], so that the first
            // component comes out first, as low, high, separator.
            for (auto it = parts.rbegin(); it != parts.rend(); ++it)
                for (Task &t : *it)
                    tasks.push_back(std::move(t));
        }
        return order;
    }

    void backSubstitute()
    {
        guardAllocation();
        S.answer.assign(ix(n + 1), 0.0);
        std::vector<double> &x = S.answer;
        for (auto it = pivotOrder.rbegin(); it != pivotOrder.rend(); ++it) {
            const int r = *it;
            const int pc = pivotCol[ix(r)];
            long double sum = rhs[ix(r)];
            double pivotValue = 0.0;
            for (int k = start[ix(r)], end = k + len[ix(r)]; k < end; ++k) {
                const int c = cols[ix(k)];
                if (c == pc)
                    pivotValue = vals[ix(k)];
                else
                    sum -= static_cast<long double>(x[ix(c)]) * vals[ix(k)];
            }
            x[ix(pc)] = static_cast<double>(sum / pivotValue);
        }
        for (int c = 1; c <= n; ++c)
            x[ix(c)] /= colScale[ix(c)];
    }
};

} // namespace

bool InitStruc(int Neq)
{
    S.reason.clear();
    S.errNo = S.num1 = S.num2 = 0;
    S.solved = false;
    if (S.initialised)
        return fail(2);
    S.initialised = true;
    S.tablesReady = false;
    S.solveAttempted = false;
    if (Neq > SparSolvMaxEquations)
        return fail(3, Neq, 0);
    if (Neq < 1)
        return fail(4, Neq, 0);
    S.neq = Neq;
    try {
        guardAllocation();
        S.firstElement.assign(static_cast<std::size_t>(Neq) + 1, -1);
    } catch (const std::bad_alloc &) {
        return fail(5);
    }
    try {
        guardAllocation();
        S.lastElement.assign(static_cast<std::size_t>(Neq) + 1, -1);
    } catch (const std::bad_alloc &) {
        return fail(6);
    }
    S.pool.clear();
    S.tablesReady = true;
    return true;
}

bool AddLHS(int Row, int Col, double Value)
{
    if (Value == 0.0)
        return true;
    if (!S.initialised || !S.tablesReady)
        return fail(1);
    // Once Solve has run the build lists are gone.
    if (S.solveAttempted)
        return fail(15);
    if (Row < 1)
        return fail(7, Row, Col);
    if (Row > S.neq)
        return fail(8, Row, S.neq);
    if (Col < 1)
        return fail(10, Row, Col);
    if (Col > S.neq)
        return fail(11, Row, Col);
    return insertElement(Row, Col, Value);
}

bool AddRHS(int Row, double Value)
{
    if (!S.initialised || !S.tablesReady)
        return fail(1);
    if (S.solveAttempted)
        return fail(15);
    if (Row < 1)
        return fail(7, Row, S.neq + 1);
    if (Row > S.neq)
        return fail(8, Row, S.neq);
    return insertElement(Row, S.neq + 1, Value);
}

bool Solve()
{
    if (!S.initialised || !S.tablesReady)
        return fail(1);
    if (S.solved || S.solveAttempted)
        return fail(15);
    S.solveAttempted = true;
    freeVector(S.lastElement);
    static Eliminator eliminator(0);
    eliminator.reset(S.neq);
    try {
        if (!eliminator.run())
            return false;
    } catch (const std::bad_alloc &) {
        return fail(25, eliminator.pivotsMade, 0);
    }
    S.solved = true;
    return true;
}

bool GetAnswer(int VarNo, double &Value)
{
    if (!S.initialised)
        return fail(1);
    if (!S.solved)
        return fail(12);
    if (VarNo < 1)
        return fail(13, VarNo, 0);
    if (VarNo > S.neq)
        return fail(14, VarNo, S.neq);
    Value = S.answer[static_cast<std::size_t>(VarNo)];
    return true;
}

void ReleaseStruc()
{
    freeVector(S.firstElement);
    freeVector(S.lastElement);
    freeVector(S.pool);
    freeVector(S.answer);
    S.initialised = false;
    S.tablesReady = false;
    S.solveAttempted = false;
}

void GetSparSolvError(std::string &Reason, int &ErrNo, int &Num1, int &Num2)
{
    Reason = S.reason;
    ErrNo = S.errNo;
    Num1 = S.num1;
    Num2 = S.num2;
}

ESparSolvError::ESparSolvError(const std::string &reason, int errNo, int num1, int num2)
    : std::runtime_error("SparSolv error: " + std::to_string(errNo) + " ( " + reason + " )  " +
                         std::to_string(num1) + "  " + std::to_string(num2)),
      FReason(reason), FErrNo1(errNo), FErrNo3(num2), FErrNo2(num1)
{
}

namespace {
template <typename E>
[[noreturn]] void raiseRecorded()
{
    throw E(S.reason, S.errNo, S.num1, S.num2);
}
} // namespace

void SparseSolvInit(int Neq)
{
    if (!InitStruc(Neq))
        raiseRecorded<ESparseSolvInitError>();
}

void SparseSolvAddLHS(int Row, int Col, double Value)
{
    if (!AddLHS(Row, Col, Value))
        raiseRecorded<ESparseSolvAddLHSError>();
}

void SparseSolvAddRHS(int Row, double Value)
{
    if (!AddRHS(Row, Value))
        raiseRecorded<ESparseSolvAddRHSError>();
}

void SparseSolvSolve()
{
    if (!Solve())
        raiseRecorded<ESparseSolvSolveError>();
}

void SparseSolvGetAnswer(int VarNo, double &Value)
{
    if (!GetAnswer(VarNo, Value))
        raiseRecorded<ESparseSolvAnswerError>();
}

double SparseSolvAnswer(int VarNo)
{
    double value = 0.0;
    SparseSolvGetAnswer(VarNo, value);
    return value;
}

namespace sparsolv_testing {
void FailAllocationAfter(int successful) { allocationsBeforeFailure = successful; }
} // namespace sparsolv_testing

} // namespace tessaran
