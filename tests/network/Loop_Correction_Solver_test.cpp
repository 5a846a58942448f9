// The loop-correction solver on grid layouts: its steps must meet the loop
// equations they stand for, whatever the shape of the factors (chains of
// columns long and short, cut at any place).

#include "network/Loop_Correction_Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tessaran {
namespace {

// A grid of width x height joints, one pipe from each joint to its right and
// upper neighbours, and a supply pipe from a fixed-pressure node into joint
// 0. Rows 1..joints are the continuity equations, then one loop row for each
// cell of the grid, counter-clockwise.
struct GridLayout {
    int Width, Height;
    int Joints = 0, Loops = 0, Columns = 0;
    TFixedMatrix<TMatrixElementEnum> Pattern{1};
    std::vector<int> RowStart, RowColumns;
    // Each loop's pipes with their signs.
    std::vector<std::vector<TLoopCorrectionSolver::TEntry>> LoopPipes;

    GridLayout(int width, int height) : Width(width), Height(height), Pattern(2 * width * height + 1)
    {
        Joints = Width * Height;
        Loops = (Width - 1) * (Height - 1);
        // Columns: 1 the supply, then the rightward pipes, then the upward ones.
        const int rightward = (Width - 1) * Height;
        Columns = 1 + rightward + Width * (Height - 1);
        const auto right = [&](int x, int y) { return 2 + y * (Width - 1) + x; };
        const auto up = [&](int x, int y) { return 2 + rightward + y * Width + x; };
        std::vector<std::vector<std::pair<int, TMatrixElementEnum>>> rows(static_cast<std::size_t>(Joints + Loops));
        rows[0].push_back({1, minus_one});
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const auto joint = static_cast<std::size_t>(y * Width + x);
                if (x + 1 < Width) {
                    rows[joint].push_back({right(x, y), one});
                    rows[joint + 1].push_back({right(x, y), minus_one});
                }
                if (y + 1 < Height) {
                    rows[joint].push_back({up(x, y), one});
                    rows[joint + static_cast<std::size_t>(Width)].push_back({up(x, y), minus_one});
                }
            }
        for (int y = 0; y + 1 < Height; ++y)
            for (int x = 0; x + 1 < Width; ++x) {
                LoopPipes.push_back({{right(x, y), 1}, {up(x + 1, y), 1}, {right(x, y + 1), -1}, {up(x, y), -1}});
                auto &row = rows[static_cast<std::size_t>(Joints) + LoopPipes.size() - 1];
                for (const auto &e : LoopPipes.back())
                    row.push_back({e.Column, e.Sign > 0 ? HeadKqn : minus_HeadKqn});
            }
        RowStart.push_back(0);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            std::sort(rows[r].begin(), rows[r].end());
            for (const auto &[column, element] : rows[r]) {
                Pattern[static_cast<int>(r) + 1][column] = element;
                RowColumns.push_back(column);
            }
            RowStart.push_back(static_cast<int>(RowColumns.size()));
        }
    }
};

TEST(LoopCorrectionSolver, StepsMeetTheLoopEquationsOnGrids)
{
    // Shapes from a single loop to grids whose factors hold long chains.
    const int shapes[][2] = {{2, 2}, {3, 9}, {9, 3}, {6, 6}, {13, 13}, {21, 8}, {17, 17}};
    std::mt19937 random(19);
    std::uniform_real_distribution<double> coefficientOf(0.01, 100.0), rhsOf(-1.0, 1.0);
    for (const auto &shape : shapes) {
        SCOPED_TRACE(std::to_string(shape[0]) + "x" + std::to_string(shape[1]));
        const GridLayout grid(shape[0], shape[1]);
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
