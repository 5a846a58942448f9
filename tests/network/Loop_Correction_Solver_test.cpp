// The loop-correction solver on grid layouts: its steps must meet the loop
// equations they stand for, whatever the shape of the factors (chains of
// columns long and short, cut at any place).

#include "network/Loop_Correction_Solver.h"
#include "network/Loop_Grid_Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tessaran {
namespace {

TEST(LoopCorrectionSolver, StepsMeetTheLoopEquationsOnGrids)
{
    // Shapes from a single loop to grids whose factors hold long chains.
    const int shapes[][2] = {{2, 2}, {3, 9}, {9, 3}, {6, 6}, {13, 13}, {21, 8}, {17, 17}};
    std::mt19937 random(19);
    std::uniform_real_distribution<double> coefficientOf(0.01, 100.0), rhsOf(-1.0, 1.0);
    for (const auto &shape : shapes) {
        SCOPED_TRACE(std::to_string(shape[0]) + "x" + std::to_string(shape[1]));
        const test::LoopGridLayout grid(shape[0], shape[1]);
        TLoopCorrectionSolver solver;
        ASSERT_TRUE(solver.Prepare(grid.Pattern, 1, grid.Joints + grid.Loops, grid.Columns, grid.RowStart,
                                   grid.RowColumns));
        ASSERT_EQ(solver.LoopCount(), grid.Loops);
        std::vector<double> coefficient(static_cast<std::size_t>(grid.Columns) + 1, 0.0);
        std::vector<double> rhs(static_cast<std::size_t>(grid.Loops)), flows(coefficient.size());
        // Two rounds on the same layout: the second factorisation starts from
        // what the first left behind.
        for (int round = 0; round < 2; ++round) {
            for (int c = 1; c <= grid.Columns; ++c)
                coefficient[static_cast<std::size_t>(c)] = coefficientOf(random);
            for (double &r : rhs)
                r = rhsOf(random);
            ASSERT_TRUE(solver.Factorise(coefficient));
            solver.Solve(rhs, flows);
            EXPECT_EQ(flows[1], 0.0) << "the supply pipe is in no loop";
            for (int i = 0; i < grid.Loops; ++i) {
                double sum = 0, scale = 0;
                for (const auto &e : grid.LoopPipes[static_cast<std::size_t>(i)]) {
                    const double term = e.Sign * coefficient[static_cast<std::size_t>(e.Column)] *
                                        flows[static_cast<std::size_t>(e.Column)];
                    sum += term;
                    scale += std::fabs(term);
                }
                EXPECT_NEAR(sum, rhs[static_cast<std::size_t>(i)], 1e-12 * std::max(scale, 1.0)) << "loop " << i;
            }
        }
    }
}

} // namespace
} // namespace tessaran
