#include "dialogs/Excel_Functions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Spreadsheet_Reader.h"
#include "network/User_Interface_Seam.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"

namespace tessaran {
namespace {

// Runs every test under "." and then "," as the locale's separator.
class SpreadsheetExport : public ::testing::TestWithParam<char> {
protected:
    SpreadsheetExport() : previous_(userDecimalSeparator()) { setUserDecimalSeparator(GetParam()); }
    ~SpreadsheetExport() override { setUserDecimalSeparator(previous_); }

    // A 9 x 40 grid as the edit grid's pipe table: titles, units, then
    // rows of id, name, texts and numbers in the locale's form.
    static TStringGrid PipeLikeGrid()
    {
        TStringGrid grid(9, 40);
        grid.SetRow(0, {"Pipe Id", "Pipe Name", "Nom. Size", "Material", "Sch / Class", "Diameter", "Roughness",
                        "Length", "Pipe Notes"});
        grid.SetRow(1, {"", "", "", "", "", "mm", "mm", "m", ""});
        for (int row = 2; row < 40; ++row)
            grid.SetRow(row, {std::to_string(row - 1), "P" + std::to_string(row - 1) + " Pump-side", "DN 50",
                              "Steel", "40", formatFixed(3, 50.5 + row), formatFixed(6, 0.045), formatFixed(3, -row * 1.25),
                              ""});
        return grid;
    }

    test::TScriptedDialogs dialogs;
    QTemporaryDir folder;

private:
    char previous_;
};

TEST(SpreadsheetCells, ReferencesAndCellTexts)
{
    const struct {
        int Row, Col;
        const char *Reference;
    } references[] = {{1, 1, "A1"}, {40, 9, "I40"}, {7, 26, "Z7"}, {1, 27, "AA1"}, {12, 53, "BA12"}};
    for (const auto &c : references)
        EXPECT_EQ(ExcelCellReference(c.Row, c.Col), c.Reference);

    const char previous = userDecimalSeparator();
    const struct {
        char Separator;
        const char *Text, *Sent;
    } texts[] = {{'.', "1.5", "1.5"},   {',', "1,5", "1.5"},     {',', "-12,25", "-12.25"},
                 {'.', "P-1", "P-1"},   {',', "1.5", "1.5"},     {',', "Pipe 1,5", "Pipe 1,5"},
                 {'.', "", ""},         {',', "1,5,6", "1.5,6"}};
    for (const auto &c : texts) {
        setUserDecimalSeparator(c.Separator);
        EXPECT_EQ(PrepareExcelCellText(c.Text), c.Sent) << c.Text << " with " << c.Separator;
    }
    setUserDecimalSeparator(previous);
}

TEST_P(SpreadsheetExport, SavedGridReadsBackCellForCell)
{
    const TStringGrid grid = PipeLikeGrid();
    const QString fileName = folder.filePath(QStringLiteral("pipes.xlsx"));
    std::string why;
    ASSERT_TRUE(SaveStringGridToExcelFile(grid, "TRZ - Flow Control Valve Data", fileName, &why)) << why;
    EXPECT_TRUE(why.empty());
    if (!test::SpreadsheetReaderAvailable())
        GTEST_SKIP() << "python3 is not installed";
    const std::optional<test::TReadSheet> sheet = test::ReadSpreadsheet(fileName);
    ASSERT_TRUE(sheet);
    // The 29-character title is the sheet's name.
    EXPECT_EQ(sheet->SheetName, "TRZ - Flow Control Valve Data");
    EXPECT_EQ(sheet->Dimension, "A1:I40");
    const auto at = [&](const char *reference) { return sheet->Cells.at(reference); };
    EXPECT_EQ(at("A1").Value, "Pipe Id");
    EXPECT_FALSE(at("A1").Number);
    EXPECT_EQ(at("I1").Value, "Pipe Notes");
    EXPECT_EQ(at("F2").Value, "mm");
    // Ids and values arrive as numbers whatever the separator; names as text.
    EXPECT_TRUE(at("A3").Number);
    EXPECT_EQ(std::stod(at("A3").Value), 1);
    EXPECT_TRUE(at("F40").Number);
    EXPECT_DOUBLE_EQ(std::stod(at("F40").Value), 89.5);
    EXPECT_TRUE(at("H40").Number);
    EXPECT_DOUBLE_EQ(std::stod(at("H40").Value), -48.75);
    EXPECT_TRUE(at("G3").Number);
    EXPECT_DOUBLE_EQ(std::stod(at("G3").Value), 0.045);
    EXPECT_FALSE(at("B40").Number);
    EXPECT_EQ(at("B40").Value, "P38 Pump-side");
    EXPECT_FALSE(at("C3").Number);
    EXPECT_EQ(at("C3").Value, "DN 50");
    // "40" as a schedule is all digits: a number, as the grid's other digits.
    EXPECT_TRUE(at("E3").Number);
}

TEST_P(SpreadsheetExport, AFileThatCannotBeWrittenGivesFalseWithTheReason)
{
    const QString fileName = folder.filePath(QStringLiteral("no such folder/pipes.xlsx"));
    std::string why;
    EXPECT_FALSE(SaveStringGridToExcelFile(PipeLikeGrid(), "TRZ - Pipe Data", fileName, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(QFileInfo::exists(fileName));
    EXPECT_FALSE(SaveStringGridToExcelFile(PipeLikeGrid(), "TRZ - Pipe Data", folder.path()));
}

TEST_P(SpreadsheetExport, ExportWritesAPrivateFileAndOpensItWithTheDesktop)
{
    ASSERT_TRUE(ExportStringGridToExcel(PipeLikeGrid(), "TRZ - Pipe Data", 14));
    ASSERT_EQ(dialogs.Opened.size(), 1u);
    const QFileInfo opened(dialogs.Opened[0]);
    EXPECT_EQ(opened.fileName(), "TRZ - Pipe Data.xlsx");
    EXPECT_TRUE(opened.exists());
    // A folder of its own, not the shared temporary folder itself.
    EXPECT_NE(QDir(opened.absolutePath()), QDir::temp());
    if (test::SpreadsheetReaderAvailable()) {
        const std::optional<test::TReadSheet> sheet = test::ReadSpreadsheet(opened.absoluteFilePath());
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->Dimension, "A1:I40");
    }
    QDir(opened.absolutePath()).removeRecursively();

    // No program to open it with.
    dialogs.OpenSucceeds = false;
    dialogs.Expect(TDialogKind::Information, "Cannot start Excel. Excel may not be installed?");
    EXPECT_FALSE(ExportStringGridToExcel(PipeLikeGrid(), "TRZ - Pipe Data", 14));
    ASSERT_EQ(dialogs.Opened.size(), 2u);
    QDir(QFileInfo(dialogs.Opened[1]).absolutePath()).removeRecursively();

    // The temporary folder is a plain file: nothing can be written there.
    dialogs.OpenSucceeds = true;
    const QString plainFile = folder.filePath(QStringLiteral("plain file"));
    {
        QFile file(plainFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(plainFile));
    dialogs.Expect(TDialogKind::Information,
                   "Could not create sheet and copy data to Excel.\r\rThere may be an issue with Excel on this machine?");
    EXPECT_FALSE(ExportStringGridToExcel(PipeLikeGrid(), "TRZ - Pipe Data", 14));
    EXPECT_EQ(dialogs.Opened.size(), 2u);
    if (tmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmp);
}

INSTANTIATE_TEST_SUITE_P(Separators, SpreadsheetExport, ::testing::Values('.', ','),
                         [](const ::testing::TestParamInfo<char> &info) {
                             return info.param == '.' ? std::string("Point") : std::string("Comma");
                         });

} // namespace
} // namespace tessaran
