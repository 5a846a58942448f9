#include "dialogs/String_Grid_Procedures.h"

#include <QHeaderView>
#include <QScrollBar>

namespace tessaran {

TStringGridWidget::TStringGridWidget(QWidget *parent) : QTableWidget(parent)
{
    verticalHeader()->hide();
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TStringGridWidget::SetColCount(int count)
{
    const int first = columnCount();
    setColumnCount(count);
    // Without its own item a header cell shows a column number.
    for (int col = first; col < count; ++col)
        setHorizontalHeaderItem(col, new QTableWidgetItem(QString()));
}

void TStringGridWidget::SetRowCount(int count) { setRowCount(count > 1 ? count - 1 : 0); }

QString TStringGridWidget::Cells(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return QString();
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell ? cell->text() : QString();
}

void TStringGridWidget::SetCells(int col, int row, const QString &text)
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return;
    QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    if (cell)
        cell->setText(text);
    else if (row == 0)
        setHorizontalHeaderItem(col, new QTableWidgetItem(text));
    else
        setItem(row - 1, col, new QTableWidgetItem(text));
}

int TStringGridWidget::Row() const
{
    const int row = currentRow();
    return row >= 0 ? row + 1 : 0;
}

void TStringGridWidget::SetRow(int row)
{
    if (row >= 1 && row < RowCount())
        setCurrentCell(row - 1, currentColumn() >= 0 ? currentColumn() : 0);
}

int TStringGridWidget::TopRow() const
{
    return firstWholeRow() + 1;
}

void TStringGridWidget::SetTopRow(int row) { verticalScrollBar()->setValue(row > 1 ? row - 1 : 0); }

int TStringGridWidget::VisibleRowCount() const
{
    const int height = viewport()->height();
    int count = 0;
    for (int row = firstWholeRow(); row < rowCount(); ++row) {
        if (rowViewportPosition(row) + rowHeight(row) > height)
            break;
        ++count;
    }
    return count;
}

int TStringGridWidget::firstWholeRow() const
{
    // On the last page the view may show part of a row at its top.
    int row = rowAt(0);
    if (row < 0)
        return 0;
    if (rowViewportPosition(row) < 0 && row + 1 < rowCount())
        ++row;
    return row;
}

void StringGridFillCells(TStringGridWidget *grid, int firstCol, int firstRow, const QString &text)
{
    for (int col = firstCol; col < grid->ColCount(); ++col)
        for (int row = firstRow; row < grid->RowCount(); ++row)
            grid->SetCells(col, row, text);
}

void StringGridSetRowTexts(TStringGridWidget *grid, const QStringList &texts, const QString &prefix,
                           const QString &suffix, int startCol, int row)
{
    for (int i = 0; i < texts.size(); ++i)
        grid->SetCells(startCol + i, row, prefix + texts[i] + suffix);
}

void StringGridClearSelection(TStringGridWidget *grid)
{
    grid->clearSelection();
    grid->setCurrentIndex(QModelIndex());
}

void StringGridSetColumnWidths(TStringGridWidget *grid, const std::vector<int> &widths, int setWidth)
{
    int total = 0;
    for (int col = 0; col < static_cast<int>(widths.size()); ++col) {
        if (col < grid->ColCount()) {
            if (widths[col] < 0) {
                grid->hideColumn(col);
            } else {
                grid->showColumn(col);
                grid->setColumnWidth(col, widths[col]);
            }
        }
        total += widths[col] + grid->GridLineWidth();
    }
    if (setWidth > 0)
        grid->resize(total + 1, grid->height());
}

int StringGridTopRowForCurrentRow(int currentRow, int topRow, int visibleRows, int rowCount)
{
    int row = currentRow;
    if (row >= topRow && row >= topRow + visibleRows - 1)
        row = row - visibleRows + 1;
    if (row + visibleRows - 1 > rowCount - 1)
        row = rowCount - visibleRows;
    return row;
}

void StringGridShowCurrentRow(TStringGridWidget *grid)
{
    const int top = StringGridTopRowForCurrentRow(grid->Row(), grid->TopRow(), grid->VisibleRowCount(),
                                                  grid->RowCount());
    // The title row stays in view above the first data row.
    grid->SetTopRow(top < 1 ? 1 : top);
}

} // namespace tessaran
