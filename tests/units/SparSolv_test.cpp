#include "units/SparSolv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace tessaran;

namespace {

class SparSolvTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sparsolv_testing::FailAllocationAfter(-1);
        ReleaseStruc();
    }
    void TearDown() override
    {
        sparsolv_testing::FailAllocationAfter(-1);
        ReleaseStruc();
    }
};

struct Triplet {
    int row, col;
    double value;
};

// Loads rows given as {coefficients by column (0 = none)} and right-hand sides.
bool loadDense(const std::vector<std::vector<double>> &a, const std::vector<double> &b)
{
    const int n = static_cast<int>(a.size());
    if (!InitStruc(n))
        return false;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c)
            if (!AddLHS(r + 1, c + 1, a[r][c]))
                return false;
        if (!AddRHS(r + 1, b[r]))
            return false;
    }
    return true;
}

struct ErrorRecord {
    std::string reason;
    int code = 0, num1 = 0, num2 = 0;
};

ErrorRecord recordedError()
{
    ErrorRecord e;
    GetSparSolvError(e.reason, e.code, e.num1, e.num2);
    return e;
}

} // namespace

TEST_F(SparSolvTest, SolvesOneByOneAndSmallSystemsBuiltInAnyOrder)
{
    ASSERT_TRUE(InitStruc(1));
    ASSERT_TRUE(AddLHS(1, 1, 2));
    ASSERT_TRUE(AddRHS(1, 4));
    ASSERT_TRUE(Solve());
    double x = 0;
    ASSERT_TRUE(GetAnswer(1, x));
    EXPECT_DOUBLE_EQ(x, 2.0);
    ReleaseStruc();

    // 4x + 2y - z = 5, -x + 5y + 2z = 15, 3x - y + 6z = 19  =>  (1, 2, 3),
    // entered backwards, with the right-hand side first and split values that add up.
    ASSERT_TRUE(InitStruc(3));
    ASSERT_TRUE(AddRHS(3, 19));
    ASSERT_TRUE(AddLHS(3, 3, 6));
    ASSERT_TRUE(AddLHS(3, 1, 3));
    ASSERT_TRUE(AddLHS(3, 2, -1));
    ASSERT_TRUE(AddRHS(2, 10));
    ASSERT_TRUE(AddRHS(2, 5));
    ASSERT_TRUE(AddLHS(2, 2, 5));
    ASSERT_TRUE(AddLHS(2, 3, 2));
    ASSERT_TRUE(AddLHS(2, 1, -1));
    ASSERT_TRUE(AddLHS(1, 3, -1));
    ASSERT_TRUE(AddLHS(1, 2, 1.5));
    ASSERT_TRUE(AddLHS(1, 1, 4));
    ASSERT_TRUE(AddLHS(1, 2, 0.5));
    ASSERT_TRUE(AddLHS(1, 1, 0.0)); // ignored
    ASSERT_TRUE(AddRHS(1, 5));
    ASSERT_TRUE(Solve());
    for (int i = 1; i <= 3; ++i)
        EXPECT_NEAR(SparseSolvAnswer(i), i, 1e-12);
}

TEST_F(SparSolvTest, PivotsAwayFromSmallAndZeroDiagonals)
{
    // Zero diagonal and a badly scaled row: needs row interchanges and scaling.
    const std::vector<std::vector<double>> a = {
        {0, 1e6, 0, 2e6}, {1e-3, 0, 2e-3, 0}, {0, 3, 1, 0}, {5, 0, 0, 1}};
    const std::vector<double> x = {1, -2, 3, 0.5};
    std::vector<double> b(4, 0.0);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            b[r] += a[r][c] * x[c];
    ASSERT_TRUE(loadDense(a, b));
    ASSERT_TRUE(Solve());
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(SparseSolvAnswer(i + 1), x[i], 1e-9);
}

TEST_F(SparSolvTest, EveryFailureIsRecordedWithItsCodeTextAndNumbers)
{
    using Step = std::function<bool()>;
    const auto solveRows = [](int n, std::vector<Triplet> lhs, std::vector<std::pair<int, double>> rhs) {
        return [=] {
            if (!InitStruc(n))
                return true;
            for (const auto &t : lhs)
                if (!AddLHS(t.row, t.col, t.value))
                    return false;
            for (const auto &[row, value] : rhs)
                if (!AddRHS(row, value))
                    return false;
            return Solve();
        };
    };
    struct Case {
        const char *what;
        Step run;
        int code;
        const char *reason;
        int num1, num2;
    };
    const std::vector<std::pair<int, double>> rhs3 = {{1, 1}, {2, 1}, {3, 1}};
    const Case cases[] = {
        {"add before init", [] { return AddLHS(1, 1, 1); }, 1, "InitStruc must be called", 0, 0},
        {"solve before init", [] { return Solve(); }, 1, "InitStruc must be called", 0, 0},
        {"init twice", [] { return InitStruc(2) && InitStruc(2); }, 2, "Initialize without releasing ", 0, 0},
        {"too many", [] { return InitStruc(45001); }, 3, "Too many equations ", 45001, 0},
        {"too few", [] { return InitStruc(0); }, 4, "Too few equations ", 0, 0},
        {"first table", [] { sparsolv_testing::FailAllocationAfter(0); return InitStruc(3); }, 5, "Out of Space", 0, 0},
        {"last table", [] { sparsolv_testing::FailAllocationAfter(1); return InitStruc(3); }, 6, "Out of Space", 0, 0},
        {"row < 1", [] { return InitStruc(3) && AddLHS(0, 2, 1); }, 7, "Row < 1", 0, 2},
        {"rhs row < 1", [] { return InitStruc(3) && AddRHS(-1, 1); }, 7, "Row < 1", -1, 4},
        {"row > neq", [] { return InitStruc(3) && AddRHS(4, 1); }, 8, "Row > Neq", 4, 3},
        {"element pool", [] { sparsolv_testing::FailAllocationAfter(2); return InitStruc(3) && AddLHS(1, 1, 1); }, 9, "Out of Space", 0, 0},
        {"col < 1", [] { return InitStruc(3) && AddLHS(2, 0, 1); }, 10, "Col < 1", 2, 0},
        {"col > neq", [] { return InitStruc(3) && AddLHS(2, 4, 1); }, 11, "Col > Neq", 2, 4},
        {"answer unsolved", [] { double v; return InitStruc(1) && AddLHS(1, 1, 1) && AddRHS(1, 1) && GetAnswer(1, v); }, 12, "System not solved", 0, 0},
        {"answer 0", [] { double v; return InitStruc(1) && AddLHS(1, 1, 1) && AddRHS(1, 1) && Solve() && GetAnswer(0, v); }, 13, "VarNo < 1", 0, 0},
        {"answer neq+1", [] { double v; return InitStruc(1) && AddLHS(1, 1, 1) && AddRHS(1, 1) && Solve() && GetAnswer(2, v); }, 14, "VarNo >Neq", 2, 1},
        {"solve twice", [] { return InitStruc(1) && AddLHS(1, 1, 1) && AddRHS(1, 1) && Solve() && Solve(); }, 15, "System already solved", 0, 0},
        {"empty row", solveRows(3, {{1, 1, 1}, {2, 2, 1}, {1, 3, 1}}, {{1, 1}, {2, 1}}), 16, "Empty Row", 3, 0},
        {"no rhs", solveRows(3, {{1, 1, 1}, {2, 2, 1}, {3, 3, 1}, {3, 2, 1}}, {{1, 1}, {2, 1}}), 18, "No RHS", 3, 0},
        {"zeros make no element", solveRows(3, {{1, 1, 1}, {2, 2, 1}, {3, 2, 1}, {3, 3, 0}}, rhs3), 19, "Empty Col", 3, 0},
        {"rhs only", solveRows(3, {{1, 1, 1}, {1, 2, 1}, {1, 3, 1}, {3, 3, 1}}, rhs3), 20, "Row without Variables", 2, 0},
        {"cancelled row", solveRows(3, {{1, 1, 1}, {2, 2, 1}, {2, 2, -1}, {3, 3, 1}, {3, 2, 1}}, rhs3), 21, "All-Zero Row", 2, 0},
        {"cancelled column", solveRows(3, {{1, 1, 1}, {1, 2, 1}, {1, 2, -1}, {2, 1, 1}, {2, 3, 1}, {3, 3, 1}}, rhs3), 22, "All-Zero Column", 2, 0},
        {"two singles", solveRows(3, {{1, 2, 1}, {1, 3, 1}, {2, 1, 1}, {3, 1, 1}}, rhs3), 23, "Two Singles", 1, 3},
        {"parallel rows", solveRows(2, {{1, 1, 1}, {1, 2, 1}, {2, 1, 1}, {2, 2, 1}}, {{1, 1}, {2, 2}}), 24, "Numerically Singular", 2, 0},
        {"solve out of space", [] { return InitStruc(1) && AddLHS(1, 1, 1) && AddRHS(1, 1) &&
                                           (sparsolv_testing::FailAllocationAfter(0), Solve()); }, 25, "Out of Space", 0, 0},
        {"row emptied by elimination",
         solveRows(4, {{1, 1, 1}, {2, 1, 2}, {3, 2, 1}, {3, 3, 1}, {3, 4, 1}, {4, 2, 1}, {4, 3, -1}, {4, 4, 2}},
                   {{1, 1}, {2, 1}, {3, 1}, {4, 1}}),
         26, "Structurally Singular", 2, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ReleaseStruc();
        EXPECT_FALSE(c.run());
        const ErrorRecord e = recordedError();
        EXPECT_EQ(e.code, c.code);
        EXPECT_EQ(e.reason, c.reason);
        EXPECT_EQ(e.num1, c.num1);
        EXPECT_EQ(e.num2, c.num2);
        sparsolv_testing::FailAllocationAfter(-1);
    }
    // 45000 equations are allowed.
    ReleaseStruc();
    EXPECT_TRUE(InitStruc(45000));
}

TEST_F(SparSolvTest, ElementsCannotBeAddedOnceSolveHasRun)
{
    // The build tables are gone after Solve, successful or not: refuse instead
    // of writing into them.
    ASSERT_TRUE(InitStruc(1));
    ASSERT_TRUE(AddLHS(1, 1, 2));
    ASSERT_TRUE(AddRHS(1, 4));
    ASSERT_TRUE(Solve());
    EXPECT_FALSE(AddLHS(1, 1, 1));
    EXPECT_EQ(recordedError().code, 15);
    EXPECT_FALSE(AddRHS(1, 1));
    EXPECT_EQ(recordedError().code, 15);
    EXPECT_DOUBLE_EQ(SparseSolvAnswer(1), 2.0); // the answers are untouched

    ReleaseStruc();
    ASSERT_TRUE(InitStruc(2));
    ASSERT_TRUE(AddRHS(1, 1));
    EXPECT_FALSE(Solve()); // empty row 2
    EXPECT_FALSE(AddRHS(2, 1));
    EXPECT_EQ(recordedError().code, 15);
    EXPECT_FALSE(Solve());
    EXPECT_EQ(recordedError().code, 15);
}

TEST_F(SparSolvTest, FailedInitialisationAcceptsNothingUntilReleased)
{
    EXPECT_FALSE(InitStruc(45001));
    EXPECT_FALSE(AddLHS(1, 1, 1));
    EXPECT_EQ(recordedError().code, 1);
    EXPECT_FALSE(AddRHS(1, 1));
    EXPECT_FALSE(Solve());
    EXPECT_EQ(recordedError().code, 1);
    EXPECT_FALSE(InitStruc(3));
    EXPECT_EQ(recordedError().code, 2);
    ReleaseStruc();
    EXPECT_TRUE(InitStruc(3));
    EXPECT_EQ(recordedError().code, 0);
}

TEST_F(SparSolvTest, ZeroColumnSingletonPivotIsRefused)
{
    // Row 1 takes column 1 as its singleton; column 2 then lives only in row 2,
    // where its added values cancel to 0. The matrix is singular.
    ASSERT_TRUE(InitStruc(3));
    ASSERT_TRUE(AddLHS(1, 1, 1));
    ASSERT_TRUE(AddLHS(1, 2, 1));
    ASSERT_TRUE(AddLHS(2, 2, 1));
    ASSERT_TRUE(AddLHS(2, 2, -1));
    ASSERT_TRUE(AddLHS(2, 3, 1));
    ASSERT_TRUE(AddLHS(3, 3, 1));
    for (int r = 1; r <= 3; ++r)
        ASSERT_TRUE(AddRHS(r, 1));
    EXPECT_FALSE(Solve());
    const ErrorRecord e = recordedError();
    EXPECT_EQ(e.code, 24);
    EXPECT_EQ(e.num1, 2);
}

TEST_F(SparSolvTest, RaisingWrappersCarryTheRecordedError)
{
    SparseSolvInit(3);
    SparseSolvAddLHS(1, 1, 1);
    SparseSolvAddRHS(1, 1);
    SparseSolvAddLHS(2, 2, 1);
    SparseSolvAddRHS(2, 1);
    try {
        SparseSolvSolve();
        FAIL() << "no exception";
    } catch (const ESparseSolvSolveError &e) {
        EXPECT_STREQ(e.what(), "SparSolv error: 16 ( Empty Row )  3  0");
        EXPECT_EQ(e.FReason, "Empty Row");
        EXPECT_EQ(e.FErrNo1, 16);
        EXPECT_EQ(e.FErrNo2, 3);
        EXPECT_EQ(e.FErrNo3, 0);
    }
    ReleaseStruc();
    EXPECT_THROW(SparseSolvAnswer(1), ESparseSolvAnswerError);
    double v = 0;
    EXPECT_THROW(SparseSolvGetAnswer(1, v), ESparseSolvAnswerError);
    EXPECT_THROW(SparseSolvAddLHS(1, 1, 1), ESparseSolvAddLHSError);
    EXPECT_THROW(SparseSolvAddRHS(1, 1), ESparseSolvAddRHSError);
    SparseSolvInit(2);
    EXPECT_THROW(SparseSolvInit(2), ESparseSolvInitError);
    try {
        ReleaseStruc();
        SparseSolvInit(45001);
        FAIL() << "no exception";
    } catch (const ESparSolvError &e) {
        EXPECT_STREQ(e.what(), "SparSolv error: 3 ( Too many equations  )  45001  0");
    }
}

namespace {

// A random sparse system with a known solution. Row r holds a strong
// coefficient in column r and a few weaker ones in columns near r; then rows
// and columns are renumbered at random, so neither the diagonal nor the band
// is visible to the solver. (Fully random columns would fill in densely.)
struct RandomSystem {
    int n;
    std::vector<Triplet> lhs;
    std::vector<double> x, b;
};

// blockSize > 0 keeps every coefficient inside its block of rows and columns,
// so that the system falls apart into independent pieces.
RandomSystem makeRandomSystem(int n, int perRow, unsigned seed, int blockSize = 0)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::uniform_int_distribution<int> offset(-25, 25);
    const auto shuffled = [&] {
        std::vector<int> p(static_cast<std::size_t>(n) + 1);
        for (int i = 0; i <= n; ++i)
            p[static_cast<std::size_t>(i)] = i;
        std::shuffle(p.begin() + 1, p.end(), rng);
        return p;
    };
    const std::vector<int> rowName = shuffled(), colName = shuffled();
    RandomSystem s{n, {}, std::vector<double>(static_cast<std::size_t>(n) + 1), std::vector<double>(static_cast<std::size_t>(n) + 1, 0.0)};
    for (int i = 1; i <= n; ++i)
        s.x[static_cast<std::size_t>(i)] = value(rng) * 100.0;
    for (int r = 1; r <= n; ++r) {
        const double scale = std::pow(10.0, value(rng) * 3); // rows of very different sizes
        const int row = rowName[static_cast<std::size_t>(r)];
        s.lhs.push_back({row, colName[static_cast<std::size_t>(r)], scale * (2.0 + value(rng))});
        for (int k = 0; k < perRow; ++k) {
            int c = std::clamp(r + offset(rng), 1, n);
            if (blockSize > 0) {
                const int blockStart = (r - 1) / blockSize * blockSize + 1;
                c = std::clamp(c, blockStart, std::min(n, blockStart + blockSize - 1));
            }
            s.lhs.push_back({row, colName[static_cast<std::size_t>(c)], scale * value(rng)});
        }
    }
    for (const auto &t : s.lhs)
        s.b[static_cast<std::size_t>(t.row)] += t.value * s.x[static_cast<std::size_t>(t.col)];
    std::shuffle(s.lhs.begin(), s.lhs.end(), rng);
    return s;
}

} // namespace

TEST_F(SparSolvTest, RandomSparseSystemsUpToTheLargestSizeHaveSmallResiduals)
{
    struct Case {
        int n, blockSize;
    } cases[] = {{2, 0}, {17, 0}, {300, 0}, {5000, 0}, {45000, 0}, {3000, 30}, {4001, 7}};
    for (const auto &[n, blockSize] : cases) {
        SCOPED_TRACE(n);
        const RandomSystem s = makeRandomSystem(n, 3, 1234u + static_cast<unsigned>(n), blockSize);
        ReleaseStruc();
        ASSERT_TRUE(InitStruc(n));
        for (const auto &t : s.lhs)
            ASSERT_TRUE(AddLHS(t.row, t.col, t.value));
        for (int r = 1; r <= n; ++r)
            ASSERT_TRUE(AddRHS(r, s.b[static_cast<std::size_t>(r)]));
        ASSERT_TRUE(Solve()) << recordedError().reason << " " << recordedError().num1;
        std::vector<double> got(static_cast<std::size_t>(n) + 1);
        for (int i = 1; i <= n; ++i)
            ASSERT_TRUE(GetAnswer(i, got[static_cast<std::size_t>(i)]));
        std::vector<long double> residual(static_cast<std::size_t>(n) + 1, 0.0L);
        for (const auto &t : s.lhs)
            residual[static_cast<std::size_t>(t.row)] += static_cast<long double>(t.value) * got[static_cast<std::size_t>(t.col)];
        double worstResidual = 0.0, scaleB = 0.0;
        for (int r = 1; r <= n; ++r) {
            worstResidual = std::max(worstResidual, static_cast<double>(std::fabs(residual[static_cast<std::size_t>(r)] - s.b[static_cast<std::size_t>(r)])));
            scaleB = std::max(scaleB, std::fabs(s.b[static_cast<std::size_t>(r)]));
        }
        EXPECT_LT(worstResidual, 1e-8 * scaleB);
    }
}

namespace {

// The shape of the network equations: a w × h grid of pipes, a continuity
// row for every node but the reference node (+1 in, -1 out) and an energy
// row for every grid cell (a signed resistance per pipe round the cell).
RandomSystem makeGridNetworkSystem(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> resistance(0.1, 10.0), value(-1.0, 1.0);
    const auto node = [w](int x, int y) { return y * w + x; };
    std::vector<std::pair<int, int>> pipes; // from, to
    std::vector<int> right(static_cast<std::size_t>(w * h)), up(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x + 1 < w) {
                right[static_cast<std::size_t>(node(x, y))] = static_cast<int>(pipes.size()) + 1;
                pipes.push_back({node(x, y), node(x + 1, y)});
            }
            if (y + 1 < h) {
                up[static_cast<std::size_t>(node(x, y))] = static_cast<int>(pipes.size()) + 1;
                pipes.push_back({node(x, y), node(x, y + 1)});
            }
        }
    RandomSystem s;
    s.n = static_cast<int>(pipes.size());
    s.x.assign(static_cast<std::size_t>(s.n) + 1, 0.0);
    s.b.assign(static_cast<std::size_t>(s.n) + 1, 0.0);
    for (int p = 1; p <= s.n; ++p) {
        const auto [from, to] = pipes[static_cast<std::size_t>(p - 1)];
        if (from != 0)
            s.lhs.push_back({from, p, -1.0}); // node v > 0 has row v
        if (to != 0)
            s.lhs.push_back({to, p, 1.0});
        s.x[static_cast<std::size_t>(p)] = value(rng);
    }
    int row = w * h - 1;
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            ++row;
            s.lhs.push_back({row, right[static_cast<std::size_t>(node(x, y))], resistance(rng)});
            s.lhs.push_back({row, up[static_cast<std::size_t>(node(x + 1, y))], resistance(rng)});
            s.lhs.push_back({row, right[static_cast<std::size_t>(node(x, y + 1))], -resistance(rng)});
            s.lhs.push_back({row, up[static_cast<std::size_t>(node(x, y))], -resistance(rng)});
        }
    for (const auto &t : s.lhs)
        s.b[static_cast<std::size_t>(t.row)] += t.value * s.x[static_cast<std::size_t>(t.col)];
    std::shuffle(s.lhs.begin(), s.lhs.end(), rng);
    return s;
}

} // namespace

TEST_F(SparSolvTest, NetworkShapedSystemsGiveBackTheirFlows)
{
    struct Case {
        int w, h;
    } cases[] = {{2, 2}, {7, 3}, {32, 32}, {120, 90}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.w * 1000 + c.h);
        const RandomSystem s = makeGridNetworkSystem(c.w, c.h, 99u + static_cast<unsigned>(c.w));
        ReleaseStruc();
        ASSERT_TRUE(InitStruc(s.n));
        for (const auto &t : s.lhs)
            ASSERT_TRUE(AddLHS(t.row, t.col, t.value));
        for (int r = 1; r <= s.n; ++r)
            ASSERT_TRUE(AddRHS(r, s.b[static_cast<std::size_t>(r)]));
        ASSERT_TRUE(Solve()) << recordedError().reason;
        std::vector<double> got(static_cast<std::size_t>(s.n) + 1);
        double worstFlow = 0.0;
        for (int i = 1; i <= s.n; ++i) {
            got[static_cast<std::size_t>(i)] = SparseSolvAnswer(i);
            worstFlow = std::max(worstFlow, std::fabs(got[static_cast<std::size_t>(i)] - s.x[static_cast<std::size_t>(i)]));
        }
        std::vector<long double> residual(static_cast<std::size_t>(s.n) + 1, 0.0L);
        for (const auto &t : s.lhs)
            residual[static_cast<std::size_t>(t.row)] += static_cast<long double>(t.value) * got[static_cast<std::size_t>(t.col)];
        double worstResidual = 0.0;
        for (int r = 1; r <= s.n; ++r)
            worstResidual = std::max(worstResidual, static_cast<double>(std::fabs(residual[static_cast<std::size_t>(r)] - s.b[static_cast<std::size_t>(r)])));
        EXPECT_LT(worstResidual, 1e-11);
        // The flows themselves as far as the conditioning of a large grid allows.
        EXPECT_LT(worstFlow, 1e-6);
    }
}
