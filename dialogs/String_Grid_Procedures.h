#pragma once
// The database dialogs' text grid and the routines that fill, title, size
// and scroll it. Cells are addressed column first, row second, from 0, with
// row 0 the grid's title row (kept in view as the table's header).

#include <QStringList>
#include <QTableWidget>
#include <vector>

namespace tessaran {

class TStringGridWidget : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGridWidget(QWidget *parent = nullptr);

    // Counts include the title row.
    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount() + 1; }
    void SetColCount(int count);
    void SetRowCount(int count);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString &text);

    // The current row (0 when no data row is current) and the first data
    // row in view (1 at the top).
    int Row() const;
    void SetRow(int row);
    int TopRow() const;
    void SetTopRow(int row);
    // Data rows wholly in view.
    int VisibleRowCount() const;
    int GridLineWidth() const { return showGrid() ? 1 : 0; }

private:
    int firstWholeRow() const;
};

// Writes text into every cell from (firstCol, firstRow) to the far corner.
void StringGridFillCells(TStringGridWidget *grid, int firstCol, int firstRow, const QString &text);
// Writes prefix + texts[i] + suffix into cell (startCol + i, row).
void StringGridSetRowTexts(TStringGridWidget *grid, const QStringList &texts, const QString &prefix,
                           const QString &suffix, int startCol, int row);
// Leaves no visible cell selected.
void StringGridClearSelection(TStringGridWidget *grid);
// Column i gets widths[i] (-1 hides it); with setWidth above zero the grid
// becomes as wide as its columns and grid lines, plus 1.
void StringGridSetColumnWidths(TStringGridWidget *grid, const std::vector<int> &widths, int setWidth);
// Scrolls the current row into view (see StringGridTopRowForCurrentRow).
void StringGridShowCurrentRow(TStringGridWidget *grid);

// The top row that shows current row R with top row T, V rows in view and
// rowCount rows: R itself above the view, R as the last row in view at or
// below the view's last row, and never past the last page.
int StringGridTopRowForCurrentRow(int currentRow, int topRow, int visibleRows, int rowCount);

} // namespace tessaran
