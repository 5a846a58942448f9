#include "dialogs/Excel_Functions.h"

#include <charconv>
#include <memory>
#include <optional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include "network/User_Interface_Seam.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

const QString CannotStartMessage = QStringLiteral("Cannot start Excel. Excel may not be installed?");
const QString CouldNotCreateMessage =
    QStringLiteral("Could not create sheet and copy data to Excel.\r\rThere may be an issue with Excel on this machine?");

// A text that reads wholly as a number, with "." as the separator.
bool ReadsAsNumber(const std::string &text, double &value)
{
    if (text.empty())
        return false;
    const char *first = text.data();
    const char *last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    return error == std::errc() && end == last;
}

// The sheet name the workbook accepts: at most 31 characters, none of
// []:*?/\ and not empty.
std::string SheetName(const std::string &title)
{
    QString name = QString::fromStdString(title);
    for (QChar &c : name)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('_');
    name = name.left(31);
    if (name.trimmed().isEmpty())
        name = QStringLiteral("Sheet1");
    return name.toStdString();
}

// Writes the workbook; an empty text on success, else the reason.
std::string WriteWorkbook(const TStringGrid &grid, const std::string &sheetTitle, const QString &fileName,
                          int columnWidth)
{
    const QByteArray path = QFile::encodeName(fileName);
    lxw_workbook *workbook = workbook_new(path.constData());
    if (!workbook)
        return "the workbook could not be created";
    const std::string name = SheetName(sheetTitle);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, name.c_str());
    std::string why;
    if (!sheet)
        why = "the sheet could not be named \"" + name + "\"";
    for (int row = 0; sheet && why.empty() && row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) {
            const std::string text = PrepareExcelCellText(grid.Cell(col, row));
            double value = 0;
            const lxw_error error =
                ReadsAsNumber(text, value)
                    ? worksheet_write_number(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                                             value, nullptr)
                    : worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                                             text.c_str(), nullptr);
            if (error != LXW_NO_ERROR) {
                why = lxw_strerror(error);
                break;
            }
        }
    if (sheet && why.empty() && columnWidth > 0 && grid.ColCount() > 0)
        worksheet_set_column(sheet, 0, static_cast<lxw_col_t>(grid.ColCount() - 1), columnWidth, nullptr);
    // Closing writes the file and frees the workbook, also after a failure.
    const lxw_error closed = workbook_close(workbook);
    if (why.empty() && closed != LXW_NO_ERROR)
        why = lxw_strerror(closed);
    if (!why.empty())
        QFile::remove(fileName);
    return why;
}

} // namespace

std::string ExcelCellReference(int Row, int Col)
{
    std::string letters;
    for (int n = Col; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters + std::to_string(Row);
}

std::string PrepareExcelCellText(const std::string &Text)
{
    const char separator = userDecimalSeparator();
    if (!IsRealText(Text, separator))
        return Text;
    return DecimalSeparatorToPoint(Text, separator);
}

bool SaveStringGridToExcelFile(const TStringGrid &Grid, const std::string &SheetTitle, const QString &FileName,
                               std::string *why)
{
    const std::string reason = WriteWorkbook(Grid, SheetTitle, FileName, 0);
    if (why)
        *why = reason;
    return reason.empty();
}

bool ExportStringGridToExcel(const TStringGrid &Grid, const std::string &SheetTitle, int ColumnWidth)
{
    // A folder of our own, kept after the call: the spreadsheet program reads
    // the file after we return.
    const QString temporary = QDir::tempPath();
    QTemporaryDir folder(QDir(temporary).filePath(QStringLiteral("tessaran-sheet-XXXXXX")));
    // An unusable temporary folder reads as empty: never write into the
    // current folder instead.
    if (temporary.isEmpty() || !folder.isValid()) {
        Dialogs().ShowMessage(TDialogKind::Information, CouldNotCreateMessage);
        return false;
    }
    folder.setAutoRemove(false);
    QString base = QString::fromStdString(SheetName(SheetTitle)).trimmed();
    const QString fileName = folder.filePath(base + QStringLiteral(".xlsx"));
    if (!WriteWorkbook(Grid, SheetTitle, fileName, ColumnWidth).empty()) {
        QDir(folder.path()).removeRecursively();
        Dialogs().ShowMessage(TDialogKind::Information, CouldNotCreateMessage);
        return false;
    }
    if (!Dialogs().OpenWithDesktop(fileName)) {
        Dialogs().ShowMessage(TDialogKind::Information, CannotStartMessage);
        return false;
    }
    return true;
}

void SaveStringGridToExcelAsked(const TStringGrid &Grid, const std::string &SheetTitle, QWidget *Parent)
{
    TFileDialogRequest request;
    request.Caption = QStringLiteral("Save To Excel");
    request.Filter = QStringLiteral("Tessaran Network (*xlsx)");
    request.DefaultSuffix = QStringLiteral("xlsx");
    request.Parent = Parent;
    const std::optional<QString> fileName = Dialogs().SaveFileName(request);
    if (!fileName)
        return;
    std::string why;
    // The workbook routine tells nobody when it fails; the user hears of it here.
    if (!SaveStringGridToExcelFile(Grid, SheetTitle, *fileName, &why))
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("The sheet could not be saved to ") + *fileName +
                                  QStringLiteral("\r\r") + QString::fromStdString(why),
                              Parent);
}

} // namespace tessaran
