#include "dialogs/String_Grid_Procedures.h"

#include <QApplication>
#include <QHeaderView>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

// A grid of 4 columns and 5 rows (title row and 4 data rows), each cell
// holding its address.
void FillAddresses(TStringGridWidget &grid)
{
    grid.SetColCount(4);
    grid.SetRowCount(5);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 5; ++row)
            grid.SetCells(col, row, QString("%1,%2").arg(col).arg(row));
}

TEST(StringGrid, FillCellsReachesTheFarCornerFromItsFirstCell)
{
    struct Case {
        int firstCol, firstRow;
        std::vector<QString> expected; // column 0..3 of rows 0 and 4, then (1,1)
    };
    const Case cases[] = {
        {0, 1, {"0,0", "1,0", "2,0", "3,0", "", "", "", "", ""}},         // blanks the data rows only
        {2, 3, {"0,0", "1,0", "2,0", "3,0", "0,4", "1,4", "", "", "1,1"}}, // a corner block
        {0, 5, {"0,0", "1,0", "2,0", "3,0", "0,4", "1,4", "2,4", "3,4", "1,1"}}, // row count: nothing
        {4, 0, {"0,0", "1,0", "2,0", "3,0", "0,4", "1,4", "2,4", "3,4", "1,1"}}, // beyond the columns
    };
    for (const Case &c : cases) {
        TStringGridWidget grid;
        FillAddresses(grid);
        StringGridFillCells(&grid, c.firstCol, c.firstRow, "");
        const std::vector<QString> seen = {grid.Cells(0, 0), grid.Cells(1, 0), grid.Cells(2, 0), grid.Cells(3, 0),
                                           grid.Cells(0, 4), grid.Cells(1, 4), grid.Cells(2, 4), grid.Cells(3, 4),
                                           grid.Cells(1, 1)};
        EXPECT_EQ(seen, c.expected) << c.firstCol << "," << c.firstRow;
    }
}

TEST(StringGrid, RowTextsGoIntoTheirColumnsWithPrefixAndSuffix)
{
    TStringGridWidget grid;
    grid.SetColCount(6);
    grid.SetRowCount(3);
    StringGridSetRowTexts(&grid, {"Size", "", "K Value"}, " ", "", 2, 0);
    EXPECT_EQ(grid.Cells(1, 0), "");
    EXPECT_EQ(grid.Cells(2, 0), " Size");
    EXPECT_EQ(grid.Cells(3, 0), " ");
    EXPECT_EQ(grid.Cells(4, 0), " K Value");
    EXPECT_EQ(grid.Cells(5, 0), "");
    // The title row is the table's header.
    EXPECT_EQ(grid.horizontalHeaderItem(2)->text(), " Size");
    StringGridSetRowTexts(&grid, {"a", "b"}, "<", ">", 0, 2);
    EXPECT_EQ(grid.item(1, 0)->text(), "<a>");
    EXPECT_EQ(grid.Cells(1, 2), "<b>");
}

TEST(StringGrid, ColumnWidthsHideColumnsAndSizeTheGrid)
{
    TStringGridWidget grid;
    grid.SetColCount(4);
    grid.SetRowCount(3);
    grid.resize(500, 200);
    StringGridSetColumnWidths(&grid, {60, -1, -1, 59}, 0);
    EXPECT_FALSE(grid.isColumnHidden(0));
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_TRUE(grid.isColumnHidden(2));
    EXPECT_EQ(grid.columnWidth(3), 59);
    EXPECT_EQ(grid.width(), 500);
    StringGridSetColumnWidths(&grid, {60, -1, -1, 59}, 1);
    EXPECT_EQ(grid.width(), 122);
    StringGridSetColumnWidths(&grid, {60, 20, 30, 59}, 0);
    EXPECT_FALSE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.columnWidth(2), 30);
}

TEST(StringGrid, TopRowThatShowsTheCurrentRow)
{
    struct Case {
        int current, top, expectedTop;
    };
    // 100 rows, 10 in view.
    const Case cases[] = {
        {5, 1, 5},   // inside the view: becomes the top row
        {40, 1, 31}, // below: the last row in view
        {99, 1, 90}, // the last page
        {3, 20, 3},  // above the view
        {10, 1, 1},  // the last row in view stays there
        {95, 90, 90},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StringGridTopRowForCurrentRow(c.current, c.top, 10, 100), c.expectedTop) << c.current;
}

TEST(StringGrid, ShowCurrentRowScrollsTheTable)
{
    TStringGridWidget grid;
    grid.SetColCount(2);
    grid.SetRowCount(100);
    grid.verticalHeader()->setDefaultSectionSize(20);
    grid.resize(200, 300);
    grid.show();
    QApplication::processEvents(); // lays out the scroll range
    const int visible = grid.VisibleRowCount();
    ASSERT_GT(visible, 3);
    grid.SetRow(40);
    grid.SetTopRow(1);
    StringGridShowCurrentRow(&grid);
    EXPECT_EQ(grid.TopRow(), 40 - visible + 1);
    grid.SetRow(99);
    StringGridShowCurrentRow(&grid);
    EXPECT_EQ(grid.TopRow(), 100 - visible);
    StringGridClearSelection(&grid);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_TRUE(grid.selectedItems().isEmpty());
}

} // namespace
} // namespace tessaran
