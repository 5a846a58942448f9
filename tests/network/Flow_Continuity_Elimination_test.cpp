// The flow-continuity solution works on each row's non-zero entries; it must
// give, bit for bit, the flows of the dense elimination over whole rows
// (CalculateDMatrixAndGaussElimForFlowContinuity followed by the back
// substitution over every column), on networks large enough for the
// elimination to fill rows in, with flows that are free, negative, -0 or not
// finite.

#include "network/Matrix_Equations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace tessaran {
namespace {

struct TContinuityCase {
    int Joints;
    int Pipes;
    int FixedPipes; // pipes into fixed-pressure nodes, one row each
    unsigned Seed;
    bool OddFlows;  // -0, an infinite and a not-a-number free flow
};

// A random connected network's continuity form (its layout from the seed,
// its start flows and demands from the seed and `values`): every pipe leaves one joint
// (or a supply tank, no row) and enters another joint (or a tank, with a
// fixed row of its own). Start flows and demands are random.
void Fill(TMatrixEquations &m, const TContinuityCase &c, unsigned values)
{
    std::mt19937 random(c.Seed), valueRandom(c.Seed * 31 + values);
    std::uniform_int_distribution<int> joint(1, c.Joints);
    std::uniform_real_distribution<double> uniformFlow(-2.0, 10.0);
    const auto flow = [&](std::mt19937 &) { return uniformFlow(valueRandom); }; // values only
    const int rows = c.Joints + c.FixedPipes;
    m.ClearResults(c.Pipes, rows);
    m.MethodOfSolution = EstimateDischargeNewtonOnly;
    int fixedRow = c.Joints;
    for (int p = 1; p <= c.Pipes; ++p) {
        m.QFluidDensity_kgs_m3[p] = 998.2;
        // A chain through all joints first so that every joint is reached.
        const int from = p <= c.Joints ? p - 1 : (random() % 5 == 0 ? 0 : joint(random));
        int to = p < c.Joints ? p + 1 : joint(random);
        const bool intoTank = p > c.Pipes - c.FixedPipes;
        if (from >= 1)
            m.QMatrix[from][p] = minus_one;
        if (intoTank) {
            m.QMatrix[++fixedRow][p] = one;
            m.QKnowns[fixedRow] = flow(random);
        } else if (to != from) {
            m.QMatrix[to][p] = one;
        }
        m.QkgsVariables[p] = flow(random);
    }
    for (int r = 1; r <= c.Joints; ++r)
        m.QKnowns[r] = flow(random) / 4;
    if (c.OddFlows) {
        m.QkgsVariables[c.Pipes - c.FixedPipes] = -0.0L;
        m.QkgsVariables[c.Pipes - c.FixedPipes - 1] = std::numeric_limits<Extended>::infinity();
        m.QkgsVariables[c.Pipes - c.FixedPipes - 2] = std::numeric_limits<Extended>::quiet_NaN();
    }
}

// The flows as the dense elimination and a back substitution over every
// column give them.
std::vector<Extended> DenseFlows(TMatrixEquations &m)
{
    for (int r = 1; r <= m.DimensionY; ++r)
        m.FResults[r] = m.QKnowns[r];
    bool success = false;
    m.CalculateDMatrixAndGaussElimForFlowContinuity(success);
    const int n = std::min(m.DimensionX, m.DimensionY);
    for (int r = n; r >= 1; --r) {
        const Extended *entries = std::as_const(m.DMatrix)[r];
        int leading = 0;
        for (int c = 1; c <= m.DimensionX && leading == 0; ++c)
            if (entries[c] != 0)
                leading = c;
        if (leading == 0)
            continue;
        Extended sum = m.FValues[r];
        for (int c = leading + 1; c <= m.DimensionX; ++c)
            sum -= m.QkgsVariables[c] * entries[c];
        m.QkgsVariables[leading] = sum / entries[leading];
    }
    return {m.QkgsVariables.begin() + 1, m.QkgsVariables.begin() + 1 + m.DimensionX};
}

bool SameBits(Extended a, Extended b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

TEST(FlowContinuityElimination, SparseRowsGiveTheDenseFlowsBitForBit)
{
    const TContinuityCase cases[] = {
        {6, 9, 2, 1, false},      {40, 60, 5, 2, false},     {300, 420, 12, 3, false},
        {300, 420, 12, 4, true},  {700, 1000, 4, 5, false},  {650, 950, 30, 6, true},
        {120, 119, 1, 7, false},  {80, 200, 20, 8, true},    {500, 500, 0, 9, false},
    };
    for (const TContinuityCase &c : cases) {
        SCOPED_TRACE("joints " + std::to_string(c.Joints) + " pipes " + std::to_string(c.Pipes) + " seed " +
                     std::to_string(c.Seed));
        auto dense = std::make_unique<TMatrixEquations>(TMatrixEquations::MaxDimension, TMatrixEquations::MaxDimension);
        auto sparse = std::make_unique<TMatrixEquations>(TMatrixEquations::MaxDimension, TMatrixEquations::MaxDimension);
        // The same layout again with other flows and demands: the reduced
        // matrix is reused and only the right-hand sides are worked again.
        for (unsigned values = 0; values < 2; ++values) {
            SCOPED_TRACE("values " + std::to_string(values));
            Fill(*dense, c, values);
            Fill(*sparse, c, values);
            const std::vector<Extended> expected = DenseFlows(*dense);
            bool solved = false;
            int status = 0;
            std::string text;
            TResultsLog log;
            sparse->SolveQkgsVariablesForFlowContinuity(solved, status, text, log);
            EXPECT_TRUE(solved);
            int differing = 0;
            for (int col = 1; col <= c.Pipes; ++col) {
                if (!SameBits(sparse->QkgsVariables[col], expected[col - 1]) && ++differing <= 5)
                    ADD_FAILURE() << "flow " << col << ": " << static_cast<double>(sparse->QkgsVariables[col])
                                  << " instead of " << static_cast<double>(expected[col - 1]);
                EXPECT_TRUE(SameBits(sparse->Qm3sVariables[col], sparse->QkgsVariables[col] / 998.2)) << col;
            }
            EXPECT_EQ(differing, 0);
            EXPECT_EQ(log.Count(), 0);
        }
    }
}

} // namespace
} // namespace tessaran
