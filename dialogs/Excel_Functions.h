#pragma once
// Copies a text grid into a spreadsheet workbook (.xlsx): every cell, fixed
// rows and columns included, grid cell (row r, column c) to sheet cell
// (r + 1, c + 1). A text that reads wholly as a number (after the locale's
// decimal separator became ".") is written as a number, every other text as
// a string. The edit grid and the results sheet use these routines.

#include <string>

#include <QString>

class QWidget;

namespace tessaran {

class TStringGrid;

// "A1" for (1, 1): the column letters (A to Z, then AA, AB, ...) followed
// by the row in decimal.
std::string ExcelCellReference(int Row, int Col);

// The text to send for one cell: a text made only of digits, "-" and the
// locale's decimal separator has its first separator turned into "."; any
// other text is left alone.
std::string PrepareExcelCellText(const std::string &Text);

// Writes the grid as the one sheet of a new workbook named FileName; true
// only when the whole file was written. On failure, why (when given)
// receives the reason; no message is shown.
bool SaveStringGridToExcelFile(const TStringGrid &Grid, const std::string &SheetTitle, const QString &FileName,
                               std::string *why = nullptr);

// "Save To Excel": asks for a workbook name and writes the grid there; a
// failure is told as a warning with its reason. Nothing when the user
// cancels.
void SaveStringGridToExcelAsked(const TStringGrid &Grid, const std::string &SheetTitle, QWidget *Parent);

// Writes the grid, every column ColumnWidth characters wide, into a new
// workbook in a private temporary folder and opens it with the desktop's
// default spreadsheet program. Shows the failure messages; true when the
// workbook was written and handed to the desktop.
bool ExportStringGridToExcel(const TStringGrid &Grid, const std::string &SheetTitle, int ColumnWidth);

} // namespace tessaran
