#pragma once
// The equation pattern of a grid of joints for the loop-correction solver,
// shared by its tests and its benchmark.

#include "network/Loop_Correction_Solver.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tessaran::test {

// A grid of width x height joints, one pipe from each joint to its right and
// upper neighbours, and a supply pipe from a fixed-pressure node into joint
// 0. Rows 1..joints are the continuity equations, then one loop row for each
// cell of the grid, counter-clockwise.
struct LoopGridLayout {
    int Width, Height;
    int Joints = 0, Loops = 0, Columns = 0;
    TFixedMatrix<TMatrixElementEnum> Pattern{1};
    std::vector<int> RowStart, RowColumns;
    // Each loop's pipes with their signs.
    std::vector<std::vector<TLoopCorrectionSolver::TEntry>> LoopPipes;

    LoopGridLayout(int width, int height) : Width(width), Height(height), Pattern(2 * width * height + 1)
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

} // namespace tessaran::test
