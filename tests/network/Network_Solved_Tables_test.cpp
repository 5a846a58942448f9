// The result tables filled from a network that the solver has calculated.

#include "network/Network_Class.h"

#include "Liquid_Network_Fixture.h"

#include <gtest/gtest.h>

using namespace tessaran;
using namespace tessaran::test;

TEST(SolvedTables, EveryTableFillsFromASolvedNetwork)
{
    auto network = std::make_unique<TNetwork>();
    TNetwork &n = *network;
    const int tank = AddTank(n, "Tank", 30, 2);
    const int a = AddSolverNode(n, "A", Joint, 0, 0.010);
    const int b = AddSolverNode(n, "B", Joint, 0, 0.004);
    const int out = AddSolverNode(n, "Out", EndPressure, 5);
    const int p1 = AddSolverPipe(n, tank, a, 200, 0.15, "Main");
    AddSolverPipe(n, a, b, 100, 0.1, "Branch");
    const int p3 = AddSolverPipe(n, a, out, 150, 0.1, "Outlet");
    AddValve(n, p3, FCV, 0.006, 0);

    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    n.SolveNetwork(solved, solutionOk, log, privateLog);
    ASSERT_TRUE(solved);

    TStringGrid grid;
    int finish = 0;
    n.PopulateStringGridAllResults(grid, 0, 0, finish);
    ASSERT_EQ(grid.RowCount(), finish + 1);
    for (int row = 0; row < grid.RowCount(); ++row)
        for (const std::string &cell : grid.Row(row)) {
            EXPECT_EQ(cell.find("NAN"), std::string::npos) << "row " << row << ": " << cell;
            EXPECT_EQ(cell.find("INF"), std::string::npos) << "row " << row << ": " << cell;
        }

    // The main pipe carries both demands and the valve's flow.
    grid = TStringGrid();
    n.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_EQ(grid.Cell(0, 2), std::to_string(p1));
    EXPECT_EQ(grid.Cell(7, 2), "0.0200");

    // What flows into A flows out of it again.
    grid = TStringGrid();
    n.PopulateStringGridNodeResults(grid, 0, finish);
    int rowOfA = -1;
    for (int row = 2; row <= finish; ++row)
        if (grid.Cell(0, row) == std::to_string(a))
            rowOfA = row;
    ASSERT_GT(rowOfA, 0);
    EXPECT_EQ(grid.Cell(14, rowOfA), "0.0200");
    EXPECT_EQ(grid.Cell(15, rowOfA), "0.0200");

    grid = TStringGrid();
    n.PopulateStringGridFCVResults(grid, 0, finish);
    EXPECT_EQ(finish, 2);
    EXPECT_EQ(grid.Cell(7, 2), "0.0060");
}
