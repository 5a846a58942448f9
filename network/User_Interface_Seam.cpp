#include "network/User_Interface_Seam.h"

#include <algorithm>
#include <stdexcept>

namespace tessaran {

TUserInterfaceSeam &SilentUserInterface()
{
    static TSilentUserInterface silent;
    return silent;
}

void TStringGrid::SetSize(int colCount, int rowCount)
{
    if (colCount < 0 || rowCount < 0)
        throw std::out_of_range("TStringGrid.SetSize: negative size");
    std::vector<std::string> cells(static_cast<std::size_t>(colCount) * static_cast<std::size_t>(rowCount));
    for (int row = 0; row < std::min(rowCount, rowCount_); ++row)
        for (int col = 0; col < std::min(colCount, colCount_); ++col)
            cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount) + static_cast<std::size_t>(col)] =
                std::move(cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) +
                                 static_cast<std::size_t>(col)]);
    cells_ = std::move(cells);
    widths_.resize(static_cast<std::size_t>(colCount), DefaultColWidth);
    colCount_ = colCount;
    rowCount_ = rowCount;
}

const std::string &TStringGrid::Cell(int col, int row) const
{
    static const std::string empty;
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return empty;
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) + static_cast<std::size_t>(col)];
}

void TStringGrid::SetCell(int col, int row, const std::string &text)
{
    if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        throw std::out_of_range("TStringGrid.SetCell: cell " + std::to_string(col) + "," + std::to_string(row) +
                                " outside the grid");
    cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) + static_cast<std::size_t>(col)] = text;
}

int TStringGrid::ColWidth(int col) const
{
    if (col < 0 || col >= colCount_)
        return DefaultColWidth;
    return widths_[static_cast<std::size_t>(col)];
}

void TStringGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= colCount_)
        throw std::out_of_range("TStringGrid.SetColWidth: column outside the grid");
    widths_[static_cast<std::size_t>(col)] = width;
}

std::vector<std::string> TStringGrid::Row(int row) const
{
    std::vector<std::string> texts;
    for (int col = 0; col < colCount_; ++col)
        texts.push_back(Cell(col, row));
    return texts;
}

void TStringGrid::SetRow(int row, const std::vector<std::string> &texts)
{
    for (int col = 0; col < static_cast<int>(texts.size()) && col < colCount_; ++col)
        SetCell(col, row, texts[static_cast<std::size_t>(col)]);
}

void TStringGrid::Clear()
{
    for (auto &cell : cells_)
        cell.clear();
}

} // namespace tessaran
