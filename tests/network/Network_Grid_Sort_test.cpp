#include "network/Network_Class.h"

#include <gtest/gtest.h>

using namespace tessaran;

namespace {

// A grid with two heading rows and one data row per (id, key) pair, then
// `emptyRows` rows without an id.
TStringGrid GridOf(const std::vector<std::pair<std::string, std::string>> &rows, int emptyRows = 0)
{
    TStringGrid grid(3, 2 + static_cast<int>(rows.size()) + emptyRows);
    grid.SetRow(0, {"Id", "Value", "Other"});
    grid.SetRow(1, {"", "m", ""});
    for (std::size_t i = 0; i < rows.size(); ++i)
        grid.SetRow(2 + static_cast<int>(i), {rows[i].first, rows[i].second, "row " + rows[i].first});
    return grid;
}

std::vector<std::string> Column(const TStringGrid &grid, int col)
{
    std::vector<std::string> texts;
    for (int row = 2; row < grid.RowCount(); ++row)
        texts.push_back(grid.Cell(col, row));
    return texts;
}

} // namespace

TEST(GridSort, NumbersSortAsNumbersWithNegativesAndEmptyKeys)
{
    TStringGrid grid = GridOf({{"1", "12.50"}, {"2", "3.25"}, {"3", "-1.00"}, {"4", "-12.50"}, {"5", ""}});
    TNetwork::SortStringGrid(grid, 1, 2, 1);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"", "-12.50", "-1.00", "3.25", "12.50"}));
    // Whole rows move.
    EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"row 5", "row 4", "row 3", "row 2", "row 1"}));
    EXPECT_EQ(grid.Row(0), (std::vector<std::string>{"Id", "Value", "Other"}));

    TNetwork::SortStringGrid(grid, 1, 2, 0);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"12.50", "3.25", "-1.00", "-12.50", ""}));
}

TEST(GridSort, MarkedValuesAndNamesSortAsTexts)
{
    TStringGrid grid = GridOf({{"1", "*6.100 (Flow Velocity is high)"}, {"2", "beta"}, {"3", "2.000"},
                               {"4", "Alpha"}, {"5", "-0.500"}});
    TNetwork::SortStringGrid(grid, 1, 2, 1);
    // Texts compare without regard to case; a sign such as "*" sorts ahead of
    // the zero-padded numbers, letters after them.
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"5", "1", "3", "4", "2"}));
}

TEST(GridSort, EqualKeysAreOrderedByTheIdAsText)
{
    TStringGrid grid = GridOf({{"9", "1.0"}, {"10", "1.0"}, {"2", "1.0"}});
    TNetwork::SortStringGrid(grid, 1, 2, 1);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"10", "2", "9"}));
}

TEST(GridSort, RowsWithoutAnIdKeepTheirPlace)
{
    TStringGrid grid = GridOf({{"1", "3"}, {"2", "1"}, {"3", "2"}}, 3);
    TNetwork::SortStringGrid(grid, 1, 2, 1);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"2", "3", "1", "", "", ""}));
    EXPECT_EQ(grid.RowCount(), 8);

    // Rows with an id below a gap go back into the rows they came from, so
    // no row is lost or doubled.
    TStringGrid gapped = GridOf({{"1", "3"}, {"", ""}, {"2", "1"}});
    gapped.SetRow(3, {"", "note", ""});
    TNetwork::SortStringGrid(gapped, 1, 2, 1);
    EXPECT_EQ(Column(gapped, 0), (std::vector<std::string>{"2", "", "1"}));
    EXPECT_EQ(gapped.Cell(1, 3), "note");
    EXPECT_EQ(gapped.Cell(2, 4), "row 1");
}
