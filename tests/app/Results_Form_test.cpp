// The results sheet as the user meets it: tables chosen by tabs, titles
// pressed to sort, rows that follow the drawing's selection and select on
// the drawing, the clipboard text and the workbook file read back by
// another reader; and the sheet opened from the main window on a solved
// network.

#include "Drawing_Fixture.h"
#include "Main_Window_Fixture.h"

#include "app/Results_Log_Form.h"

#include "app/Results_Form.h"
#include "dialogs/Excel_Functions.h"
#include "network/Liquid_Network_Fixture.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMouseEvent>
#include <QProcess>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace tessaran::test {
namespace {

// The main window as the sheet sees it, recording what it is asked.
struct TRecordingSheetHost : TResultsSheetHost {
    bool ResultsModeOn = true;
    TNetworkStates States;
    std::vector<std::string> Calls;

    bool ResultsMode() const override { return ResultsModeOn; }
    TNetworkStates &NetworkStates() override { return States; }
    void ClearNetworkStates() override
    {
        States.CurrentPipeIdSelected = 0;
        States.CurrentNodeIdSelected = 0;
        Calls.push_back("clear");
    }
    void RefreshScreen(bool) override { Calls.push_back("refresh"); }
    void StatusBarShowPipe(int id) override { Calls.push_back("pipe " + std::to_string(id)); }
    void StatusBarShowPump(int id) override { Calls.push_back("pump " + std::to_string(id)); }
    void StatusBarShowNode(int id) override { Calls.push_back("node " + std::to_string(id)); }
    void StatusBarShowFitting(int id) override { Calls.push_back("fitting " + std::to_string(id)); }
    void RepaintStatusBar() override {}
    void HideHoverPanel() override {}
    void ZoomtoPipe() override { Calls.push_back("zoom pipe"); }
    void ZoomtoNode() override { Calls.push_back("zoom node"); }
    void OpenUnitsOptions(TConfigOptions &, TNetwork &) override { Calls.push_back("units"); }
    QRect MainWindowFrame() const override { return {0, 0, 1200, 800}; }
    int PanelPipesWidth() const override { return 200; }
    int DrawingAreaWidth() const override { return 900; }
};

// A chain of pipes from a tank to an end-pressure node; pipe k has length
// lengths[k], so sorting by length gives a known order.
std::vector<int> AddPipeChain(TNetwork &network, const std::vector<double> &lengths)
{
    int from = AddTank(network, "Tank", 30, 2);
    std::vector<int> pipes;
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        const bool last = k + 1 == lengths.size();
        const int to = AddSolverNode(network, "N" + std::to_string(k), last ? EndPressure : Joint, 5);
        pipes.push_back(AddSolverPipe(network, from, to, lengths[k], 0.1, "P" + std::to_string(k)));
        from = to;
    }
    return pipes;
}

class ResultsSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        network = std::make_unique<TNetwork>();
        sheet = std::make_unique<TFormResults>(host);
    }

    void Solve()
    {
        bool solved = false, solutionOk = false;
        TResultsLog log, privateLog;
        network->SolveNetwork(solved, solutionOk, log, privateLog);
        ASSERT_TRUE(solved);
    }

    // A press on a grid cell, as the mouse gives it.
    void PressCell(int col, int row)
    {
        QTableWidget *grid = sheet->StringGridResults;
        grid->scrollTo(grid->model()->index(row, col));
        const QRect cell = grid->visualRect(grid->model()->index(row, col));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    std::vector<std::string> Column(int col) const
    {
        std::vector<std::string> texts;
        const TStringGrid &g = sheet->Grid();
        for (int row = TFormResults::FixedRowsOfTab(sheet->CurrentTab()); row < g.RowCount(); ++row)
            if (!g.Cell(0, row).empty())
                texts.push_back(g.Cell(col, row));
        return texts;
    }

    static std::vector<double> Numbers(const std::vector<std::string> &texts)
    {
        std::vector<double> values;
        for (const std::string &text : texts) {
            bool valid = false;
            values.push_back(ReadRealFromString(text, valid, true, true, userDecimalSeparator()));
        }
        return values;
    }

    TScriptedDialogs dialogs;
    TRecordingSheetHost host;
    std::unique_ptr<TNetwork> network;
    std::unique_ptr<TFormResults> sheet;
};

TEST_F(ResultsSheet, TheTabsTheirTablesAndFixedRows)
{
    const QStringList captions = {"  Pipes  ",          "  Pumps  ",        "  FCVs  ",        "  PRVs  ",
                                  "  BPVs ",            "  Components ",    "  Nodes  ",       "  Energy  ",
                                  "  Factors  ",        "  Fluid Zones  ",  "  Pipe Materials  ",
                                  "  Pipe Fittings  ",  "  All Results  "};
    QTabBar *tabs = sheet->findChild<QTabBar *>("TabControlResultsGrid");
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), captions.size());
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    EXPECT_EQ(sheet->windowTitle(), "Tessaran - Results");
    EXPECT_EQ(sheet->findChild<QTableWidget *>("StringGridResults")->columnCount(), 26);

    AddPipeChain(*network, {100, 200});
    Solve();
    sheet->SetNetwork(network.get());
    const std::vector<int> fixedRows = {2, 2, 2, 2, 2, 2, 2, 3, 2, 2, 2, 1, 1};
    for (int tab = 0; tab < TFormResults::TabCount; ++tab) {
        SCOPED_TRACE(tab);
        EXPECT_EQ(TFormResults::FixedRowsOfTab(tab), fixedRows[static_cast<std::size_t>(tab)]);
        if (tab == TFormResults::PipeMaterialsTab && !network->CheckDiameterDataMatchOk())
            dialogs.Expect(TDialogKind::Information,
                           "Some of the data shown on the this grid does not match. \r\rSpecifically, some of the "
                           "internal diameter data does not match against the wall thickness and outer diameter "
                           "data. In addition, this also indicates that the weight data may be incorrect.\r\rThis "
                           "issue is likely to have happened due to direct user amendment of internal diameters "
                           "without use of the Pipe Database Manager.\r\rNote: All calculations of flow and "
                           "pressures are performed using the internal pipe diameters and are not affected by the "
                           "outer diameter and wall thickness values.");
        tabs->setCurrentIndex(tab);
        // The widget shows the network's table cell for cell.
        TStringGrid expected;
        int finish = 0;
        const TStringGrid &g = sheet->Grid();
        ASSERT_EQ(g.ColCount(), 26);
        EXPECT_EQ(sheet->StringGridResults->rowCount(), g.RowCount());
        if (tab == 0) {
            network->PopulateStringGridPipeSummaryResults(expected, 0, finish);
            for (int row = 0; row <= finish; ++row)
                for (int col = 0; col < expected.ColCount(); ++col) {
                    EXPECT_EQ(g.Cell(col, row), expected.Cell(col, row)) << col << "," << row;
                    const QTableWidgetItem *item = sheet->StringGridResults->item(row, col);
                    EXPECT_EQ(item ? item->text().toStdString() : std::string(), expected.Cell(col, row));
                }
        }
    }
}

TEST_F(ResultsSheet, ATitlePressedTwiceSortsUpThenDownAndANewTabStartsUpAgain)
{
    const std::vector<int> pipes = AddPipeChain(*network, {300, 50, 1200, 75, 600});
    Solve();
    sheet->SetNetwork(network.get());
    sheet->show();
    const int lengthCol = 5;
    ASSERT_EQ(sheet->Grid().Cell(lengthCol, 0), "Length");

    PressCell(lengthCol, 0);
    std::vector<double> lengths = Numbers(Column(lengthCol));
    EXPECT_EQ(lengths, (std::vector<double>{50, 75, 300, 600, 1200}));
    // The ids travel with their rows.
    EXPECT_EQ(Column(0), (std::vector<std::string>{std::to_string(pipes[1]), std::to_string(pipes[3]),
                                                   std::to_string(pipes[0]), std::to_string(pipes[4]),
                                                   std::to_string(pipes[2])}));
    // A title press selects nothing on the drawing.
    EXPECT_EQ(host.States.CurrentPipeIdSelected, 0);

    sheet->StringGridResults->setColumnWidth(3, 140);
    PressCell(lengthCol, 0);
    lengths = Numbers(Column(lengthCol));
    EXPECT_EQ(lengths, (std::vector<double>{1200, 600, 300, 75, 50}));
    EXPECT_EQ(sheet->StringGridResults->columnWidth(3), 140);
    EXPECT_EQ(sheet->StringGridResults->item(2, lengthCol)->text().toStdString(), Column(lengthCol)[0]);

    // The second title row sorts too; another tab and back starts ascending.
    sheet->SetCurrentTab(TFormResults::NodesTab);
    sheet->SetCurrentTab(0);
    EXPECT_EQ(sheet->SortFlag(lengthCol), 0);
    PressCell(lengthCol, 1);
    EXPECT_EQ(Numbers(Column(lengthCol)), (std::vector<double>{50, 75, 300, 600, 1200}));
}

TEST_F(ResultsSheet, FittingsAndAllResultsRefuseToSort)
{
    AddPipeChain(*network, {300, 50});
    Solve();
    sheet->SetNetwork(network.get());
    sheet->show();
    const struct {
        int Tab;
        QString Text;
    } cases[] = {
        {TFormResults::PipeFittingsTab,
         "Fitting data cannot be sorted because some rows are sub-rows of the main row.\r\rTherefore sorting by "
         "individual values in a column is not allowed on this screen."},
        {TFormResults::AllResultsTab, "The AllResults tab screen cannot be sorted by individual values in a column.\r\r"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Tab);
        sheet->SetCurrentTab(c.Tab);
        const QString before = sheet->ClipboardText();
        dialogs.Expect(TDialogKind::Information, c.Text);
        PressCell(1, 0);
        EXPECT_TRUE(dialogs.AllShown());
        EXPECT_EQ(sheet->ClipboardText(), before);
        EXPECT_EQ(sheet->SortFlag(1), 0);
    }
}

TEST_F(ResultsSheet, TheClipboardHoldsEveryRowAsTabEndedCellsAndACarriageReturn)
{
    // 28 pipes fill rows 2 to 29: a grid of 30 rows.
    AddPipeChain(*network, std::vector<double>(28, 100.0));
    sheet->SetNetwork(network.get());
    ASSERT_EQ(sheet->Grid().RowCount(), 30);
    QApplication::clipboard()->clear();
    sheet->findChild<QToolButton *>("ToolButton3")->click();
    const QString text = QApplication::clipboard()->text();
    EXPECT_FALSE(text.contains('\n'));
    ASSERT_TRUE(text.endsWith('\r'));
    const QStringList lines = text.chopped(1).split('\r');
    ASSERT_EQ(lines.size(), 30);
    for (int row = 0; row < lines.size(); ++row) {
        SCOPED_TRACE(row);
        const QString &line = lines[row];
        EXPECT_EQ(line.count('\t'), 26);
        EXPECT_TRUE(line.endsWith('\t'));
        const QStringList cells = line.split('\t');
        for (int col = 0; col < 26; ++col)
            EXPECT_EQ(cells[col].toStdString(), sheet->Grid().Cell(col, row));
    }
    // The menu command gives the same text.
    QApplication::clipboard()->clear();
    sheet->findChild<QAction *>("SavetoClipboard1")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), text);
}

TEST_F(ResultsSheet, TheRowFollowsTheSelectedItem)
{
    const std::vector<int> pipes = AddPipeChain(*network, {100, 200, 300});
    Solve();
    sheet->SetNetwork(network.get());
    int lastNode = 0;
    for (int row = 2; row < sheet->Grid().RowCount(); ++row)
        lastNode = std::max(lastNode, TFormResults::GetCellIdValue(sheet->Grid().Cell(0, row)));
    const struct {
        int Tab;
        bool Pipe;
        int Id;
        int Row;
    } cases[] = {
        {0, true, pipes[2], 4},   {0, true, pipes[0], 2},   {0, true, 999, 2}, {0, true, 0, 2},
        {0, false, 2, -1},        {6, false, 999, 2},       {9, true, pipes[2], -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.Tab) + " " + std::to_string(c.Id));
        sheet->SetCurrentTab(c.Tab);
        sheet->SetGridPosition(3, 3, 1, 2);
        if (c.Pipe)
            sheet->DisplayRowWithPipeId(c.Id);
        else
            sheet->DisplayRowWithNodeId(c.Id);
        // -1: the row stays where it was.
        EXPECT_EQ(sheet->GridRow(), c.Row < 0 ? 3 : c.Row);
    }
    // A node on the Nodes tab: the row whose id cell is the node.
    sheet->SetCurrentTab(TFormResults::NodesTab);
    int nodeRow = 0;
    for (int row = 2; row < sheet->Grid().RowCount(); ++row)
        if (sheet->Grid().Cell(0, row) == "2")
            nodeRow = row;
    ASSERT_GT(nodeRow, 0);
    host.States.CurrentNodeIdSelected = 2;
    sheet->DisplayRowWithSelectedId();
    EXPECT_EQ(sheet->GridRow(), nodeRow);
    EXPECT_EQ(sheet->CurrentRow, nodeRow);
    // Outside results mode the sheet does not move.
    host.ResultsModeOn = false;
    sheet->SetGridPosition(1, 3, 1, 2);
    sheet->DisplayRowWithSelectedId();
    EXPECT_EQ(sheet->GridRow(), 3);
}

TEST_F(ResultsSheet, AClickedRowSelectsItsItemOnTheDrawing)
{
    const std::vector<int> pipes = AddPipeChain(*network, {100, 200, 300});
    Solve();
    sheet->SetNetwork(network.get());
    sheet->show();
    const struct {
        int Tab;
        std::string Status; // the status-bar line asked for, "" for none
        bool SelectsPipe, SelectsNode;
    } cases[] = {
        {0, "pipe", true, false},   {8, "pipe", true, false}, {TFormResults::NodesTab, "node", false, true},
        {TFormResults::FluidZonesTab, "", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Tab);
        sheet->SetCurrentTab(c.Tab);
        host.States.CurrentPipeIdSelected = 77;
        host.States.CurrentNodeIdSelected = 77;
        host.Calls.clear();
        PressCell(2, 2);
        const int id = TFormResults::GetCellIdValue(sheet->Grid().Cell(0, 2));
        EXPECT_EQ(sheet->CurrentRow, 2);
        EXPECT_EQ(host.States.CurrentPipeIdSelected, c.SelectsPipe ? id : 0);
        EXPECT_EQ(host.States.CurrentNodeIdSelected, c.SelectsNode ? id : 0);
        const bool statusShown = std::find(host.Calls.begin(), host.Calls.end(),
                                           c.Status + " " + std::to_string(id)) != host.Calls.end();
        EXPECT_EQ(statusShown, !c.Status.empty());
        EXPECT_NE(std::find(host.Calls.begin(), host.Calls.end(), "refresh"), host.Calls.end());
        // The clicked row is the yellow one.
        EXPECT_EQ(sheet->CellColor(3, 2), 0x00FFFF);
        EXPECT_EQ(sheet->CellColor(3, 3), 0xFFFFFF);
    }
    EXPECT_EQ(pipes.size(), 3u);
    // Typing into the sheet changes nothing and says so.
    dialogs.Expect(TDialogKind::Confirmation, "This is a results screen and the values cannot be amended.\r\rPlease "
                                              "close this window and return to Design Mode to update the data values.");
    const QString before = sheet->ClipboardText();
    QTest::keyClick(sheet->StringGridResults, Qt::Key_5);
    EXPECT_EQ(sheet->ClipboardText(), before);
}


TEST_F(ResultsSheet, ZoomToGoesToTheSelectedPipeOrElseTheNode)
{
    AddPipeChain(*network, {100, 200});
    Solve();
    sheet->SetNetwork(network.get());
    sheet->show();
    QToolButton *zoomTo = sheet->findChild<QToolButton *>("ToolButtonZoomTo");
    EXPECT_FALSE(zoomTo->isEnabled());
    const struct {
        int Tab;
        const char *Zoom;
    } cases[] = {{0, "zoom pipe"}, {TFormResults::NodesTab, "zoom node"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Tab);
        sheet->SetCurrentTab(c.Tab);
        EXPECT_FALSE(zoomTo->isEnabled());
        PressCell(2, 3);
        // Moving over the grid with an item selected offers the zoom.
        QMouseEvent move(QEvent::MouseMove, QPointF(30, 40), QPointF(30, 40), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(sheet->StringGridResults->viewport(), &move);
        EXPECT_TRUE(zoomTo->isEnabled());
        host.Calls.clear();
        zoomTo->click();
        ASSERT_EQ(host.Calls.size(), 1u);
        EXPECT_EQ(host.Calls[0], c.Zoom);
        // A double click zooms as well.
        host.Calls.clear();
        const QModelIndex cell = sheet->StringGridResults->model()->index(3, 2);
        QTest::mouseDClick(sheet->StringGridResults->viewport(), Qt::LeftButton, {},
                           sheet->StringGridResults->visualRect(cell).center());
        EXPECT_NE(std::find(host.Calls.begin(), host.Calls.end(), c.Zoom), host.Calls.end());
    }
}

TEST_F(ResultsSheet, IdCellsTakeTheItemsResultColourOnlyWhenTheDrawingUsesThem)
{
    AddPipeChain(*network, {100, 2000, 20});
    Solve();
    network->ConfigOptions.ResultsColorItem = ResultsVelocity;
    network->SetResultsColorItemMinMaxValues();
    sheet->SetNetwork(network.get());
    const TColor buttonFace = 0xF0F0F0;
    for (int row = 2; row <= 4; ++row) {
        const int id = TFormResults::GetCellIdValue(sheet->Grid().Cell(0, row));
        const TColor expected = network->GetColorFromItemMinMaxValues(network->GetResultsColorPipeItemValue(id));
        EXPECT_EQ(sheet->CellColor(0, row), expected) << row;
    }
    EXPECT_EQ(sheet->CellColor(0, 1), buttonFace);
    EXPECT_EQ(sheet->CellColor(0, 10), buttonFace); // a row without an id
    // The last pipe item of the colour list (pipe length) still colours the
    // pipes, and the Nodes tab only by a node item.
    network->ConfigOptions.ResultsColorItem = ResultsPipeLength;
    network->SetResultsColorItemMinMaxValues();
    const TColor longest = network->GetColorFromItemMinMaxValues(2000);
    EXPECT_NE(longest, network->GetColorFromItemMinMaxValues(20));
    EXPECT_EQ(sheet->CellColor(0, 3), longest);
    sheet->SetCurrentTab(TFormResults::NodesTab);
    EXPECT_EQ(sheet->CellColor(0, 2), buttonFace);
    network->ConfigOptions.ResultsColorItem = ResultsPressure;
    network->SetResultsColorItemMinMaxValues();
    const int node = TFormResults::GetCellIdValue(sheet->Grid().Cell(0, 2));
    EXPECT_EQ(sheet->CellColor(0, 2),
              network->GetColorFromItemMinMaxValues(network->GetResultsColorNodeItemValue(node)));
    sheet->SetCurrentTab(0);
    EXPECT_EQ(sheet->CellColor(0, 2), buttonFace);
    network->ConfigOptions.ResultsColorItem = ResultsVelocity;
    network->ConfigOptions.UseResultsColors = false;
    for (int row = 2; row <= 4; ++row)
        EXPECT_EQ(sheet->CellColor(0, row), buttonFace) << row;
}

// The workbook read back by openpyxl, from the system's own python.
std::optional<QStringList> ReadWithOpenpyxl(const QString &fileName)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python))
        return std::nullopt;
    QProcess probe;
    probe.start(python, {"-c", "import openpyxl"});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
        return std::nullopt;
    const char *script = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.worksheets[0]
print('SHEET\t' + ws.title)
for row in ws.iter_rows():
    for c in row:
        if c.value is None:
            continue
        kind = 'N' if isinstance(c.value, (int, float)) else 'S'
        print('%d\t%d\t%s\t%s' % (c.row, c.column, kind, repr(c.value) if kind == 'N' else c.value))
)PY";
    QProcess reader;
    reader.start(python, {"-c", script, fileName});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return QStringList{"FAILED " + QString::fromUtf8(reader.readAllStandardError())};
    return QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

TEST_F(ResultsSheet, SaveToExcelWritesAWorkbookThatAnotherReaderReadsBack)
{
    AddPipeChain(*network, {120.5, 80});
    Solve();
    sheet->SetNetwork(network.get());
    QTemporaryDir folder;
    const QString fileName = folder.filePath("results.xlsx");
    dialogs.FileNames.push_back(fileName);
    sheet->findChild<QToolButton *>("ToolButtonSaveResults")->click();
    ASSERT_EQ(dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs[0].DefaultSuffix, "xlsx");
    EXPECT_EQ(dialogs.FileDialogs[0].Filter, "Tessaran Network (*xlsx)");
    ASSERT_TRUE(QFile::exists(fileName));

    const std::optional<QStringList> read = ReadWithOpenpyxl(fileName);
    if (!read)
        GTEST_SKIP() << "python3-openpyxl is not installed";
    ASSERT_FALSE(read->isEmpty());
    ASSERT_EQ(read->front(), "SHEET\tTessaran - Results") << read->front().toStdString();
    std::map<std::pair<int, int>, std::pair<QString, QString>> cells;
    for (const QString &line : read->mid(1)) {
        const QStringList parts = line.split('\t');
        ASSERT_EQ(parts.size(), 4) << line.toStdString();
        cells[{parts[0].toInt(), parts[1].toInt()}] = {parts[2], parts[3]};
    }
    const TStringGrid &g = sheet->Grid();
    int numbers = 0, texts = 0;
    for (int row = 0; row < g.RowCount(); ++row)
        for (int col = 0; col < g.ColCount(); ++col) {
            const std::string &text = g.Cell(col, row);
            const auto found = cells.find({row + 1, col + 1});
            if (text.empty()) {
                EXPECT_EQ(found, cells.end()) << row << "," << col;
                continue;
            }
            ASSERT_NE(found, cells.end()) << row << "," << col << " " << text;
            bool valid = false;
            const double value = ReadRealFromString(text, valid, true, true, userDecimalSeparator());
            const std::string numberCharacters = std::string("0123456789-") + userDecimalSeparator();
            if (valid && text.find_first_not_of(numberCharacters) == std::string::npos) {
                ++numbers;
                EXPECT_EQ(found->second.first, "N") << text;
                EXPECT_NEAR(found->second.second.toDouble(), value, 1e-9 * std::max(1.0, std::fabs(value))) << text;
            } else {
                ++texts;
                EXPECT_EQ(found->second.first, "S") << text;
                EXPECT_EQ(found->second.second.toStdString(), text);
            }
        }
    // The titles are texts and the lengths are numbers.
    const std::pair<int, int> lengthTitle(1, 6), firstLength(3, 6);
    EXPECT_EQ(cells[lengthTitle], std::make_pair(QString("S"), QString("Length")));
    EXPECT_EQ(cells[firstLength].first, "N");
    EXPECT_GT(numbers, 10);
    EXPECT_GT(texts, 10);
}

TEST_F(ResultsSheet, AWorkbookThatCannotBeWrittenIsReported)
{
    AddPipeChain(*network, {100});
    sheet->SetNetwork(network.get());
    QTemporaryDir folder;
    const QString fileName = folder.filePath("no such folder/results.xlsx");
    dialogs.FileNames.push_back(fileName);
    // The reason is the writer's own.
    std::string why;
    ASSERT_FALSE(SaveStringGridToExcelFile(sheet->Grid(), "Tessaran - Results", fileName, &why));
    dialogs.Expect(TDialogKind::Warning,
                   "The sheet could not be saved to " + fileName + "\r\r" + QString::fromStdString(why));
    sheet->findChild<QAction *>("SaveToExcel1")->trigger();
    ASSERT_EQ(dialogs.Boxes.size(), 1u);
    EXPECT_FALSE(QFile::exists(fileName));
}

TEST_F(ResultsSheet, UnitsCommandsAskAndRefill)
{
    AddPipeChain(*network, {100});
    Solve();
    network->ConfigOptions.SetMetricUnits();
    sheet->SetNetwork(network.get());
    const std::string metricTitle = sheet->Grid().Cell(5, 1);
    const QString question = "Change To Imperial Units\r\rThe Units will be set as follows: \r\r" +
                             QString::fromStdString(unitsSummaryImperial(network->ConfigOptions.PressureReference)) +
                             "\r\rAll existing values will be converted to the new units.\r\rDo you wish to proceed?";
    dialogs.Expect(TDialogKind::Confirmation, question, DialogNo);
    sheet->findChild<QAction *>("ImperialUnits1")->trigger();
    EXPECT_EQ(sheet->Grid().Cell(5, 1), metricTitle);
    dialogs.Expect(TDialogKind::Confirmation, question, DialogYes);
    sheet->findChild<QAction *>("ImperialUnits1")->trigger();
    EXPECT_EQ(sheet->Grid().Cell(5, 1), unitName(network->ConfigOptions.UnitOfLength));
    EXPECT_NE(sheet->Grid().Cell(5, 1), metricTitle);

    host.Calls.clear();
    sheet->findChild<QToolButton *>("ToolButton2")->click();
    EXPECT_EQ(host.Calls.front(), "units");
}

TEST_F(ResultsSheet, DockingFollowsTheMainWindow)
{
    sheet->ToolButtonDockBottomClick();
    // a = Trunc(800 / 2.5) = 320.
    EXPECT_EQ(sheet->pos(), QPoint(0 + 200 + 9, 800 - 320));
    EXPECT_EQ(sheet->size(), QSize(900 - 26, 320 - 25));
    sheet->ToolButtonDockRightClick();
    // v = Trunc(900 / 2.5) = 360.
    EXPECT_EQ(sheet->pos(), QPoint(1200 - 360 - 29, 133));
    EXPECT_EQ(sheet->size(), QSize(360, 800 - 180));
}

// --- from the main window ---------------------------------------------------------------------

class ResultsSheetInMainWindow : public MainWindowTest {};

TEST_F(ResultsSheetInMainWindow, ThePipesRowShowsTheModelsFlowInTheChosenUnit)
{
    TNetwork &network = *form->CurrentNetwork;
    const int tank = AddTank(network, "Tank", 30, 2);
    const int out = AddSolverNode(network, "Out", EndPressure, 5);
    const int pipe = AddSolverPipe(network, tank, out, 200, 0.1, "Main");
    network.ConfigOptions.UnitOfFlow = unt_L_min;
    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    network.SolveNetwork(solved, solutionOk, log, privateLog);
    ASSERT_TRUE(solved);
    const double flow_m3s = network.GetPipe(pipe).FlowUncompressed_m3s;
    ASSERT_GT(flow_m3s, 0.001);

    // Outside results mode the command does nothing.
    form->ShowResultsSheet();
    EXPECT_EQ(form->FormResults, nullptr);

    form->ResultsMode = true;
    form->NetworkStates.CurrentPipeIdSelected = pipe;
    form->ShowResultsSheet();
    auto *sheet = form->findChild<TFormResults *>("FormResults");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(form->FormResults, sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(form->FormResultsVisible);
    // The first show clears the drawing's selection.
    EXPECT_EQ(form->NetworkStates.CurrentPipeIdSelected, 0);
    EXPECT_EQ(sheet->GridRow(), 2);

    const TStringGrid &g = sheet->Grid();
    ASSERT_EQ(g.Cell(0, 2), std::to_string(pipe));
    EXPECT_EQ(g.Cell(7, 0), "Vol Flow");
    EXPECT_EQ(g.Cell(7, 1), unitName(unt_L_min));
    bool valid = false;
    const double shown = ReadRealFromString(g.Cell(7, 2), valid, true, true, userDecimalSeparator());
    ASSERT_TRUE(valid) << g.Cell(7, 2);
    EXPECT_NEAR(shown, flow_m3s * 60000.0, 0.01 * flow_m3s * 60000.0);
    EXPECT_EQ(sheet->StringGridResults->item(2, 7)->text().toStdString(), g.Cell(7, 2));

    // A row clicked selects its pipe on the drawing; zooming to the pipe
    // from the drawing brings its row back.
    sheet->StringGridResultsSelectCell(3, 2);
    EXPECT_EQ(form->NetworkStates.CurrentPipeIdSelected, pipe);
    sheet->SetGridPosition(1, 5, 1, 2);
    form->ZoomtoPipe();
    EXPECT_EQ(sheet->GridRow(), 2);

    // Back in design mode the sheet closes; a tab switch reopens it where it was open.
    form->CloseResultsSheet();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(form->FormResultsVisible);
}


// Each tab keeps its own sheet: coming back to a tab that had it open shows
// that tab's network again, on its page and with its column widths.
TEST_F(ResultsSheetInMainWindow, ATabSwitchShowsTheTabsOwnResults)
{
    auto solvedChain = [&](const std::vector<double> &lengths) {
        TNetwork &network = *form->CurrentNetwork;
        int from = AddTank(network, "Tank", 30, 2);
        for (std::size_t k = 0; k < lengths.size(); ++k) {
            const int to = AddSolverNode(network, "N" + std::to_string(k), k + 1 == lengths.size() ? EndPressure : Joint, 5);
            AddSolverPipe(network, from, to, lengths[k], 0.1);
            from = to;
        }
        bool solved = false, solutionOk = false;
        TResultsLog log, privateLog;
        network.SolveNetwork(solved, solutionOk, log, privateLog);
        ASSERT_TRUE(solved);
        form->ResultsMode = true;
        form->ShowResultsSheet();
    };
    solvedChain({100, 200});
    TNetwork *first = form->CurrentNetwork;
    TFormResults *sheet = form->ResultsSheetForm();
    sheet->SetCurrentTab(TFormResults::NodesTab);
    sheet->StringGridResults->setColumnWidth(3, 150);

    form->NewTab1Click();
    EXPECT_FALSE(sheet->isVisible());
    solvedChain({300, 400, 500});
    TNetwork *second = form->CurrentNetwork;
    ASSERT_NE(first, second);
    EXPECT_EQ(sheet->Network(), second);
    EXPECT_EQ(sheet->CurrentTab(), 0);

    QTest::mouseClick(form->TabControl1, Qt::LeftButton, Qt::NoModifier, form->TabControl1->tabRect(0).center());
    ASSERT_EQ(form->CurrentNetwork, first);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->Network(), first);
    EXPECT_EQ(sheet->CurrentTab(), TFormResults::NodesTab);
    EXPECT_EQ(sheet->StringGridResults->columnWidth(3), 150);
    TStringGrid nodes;
    int finish = 0;
    first->PopulateStringGridNodeResults(nodes, 0, finish);
    EXPECT_EQ(sheet->Grid().Cell(0, 2), nodes.Cell(0, 2));
    EXPECT_EQ(sheet->Grid().Cell(3, 3), nodes.Cell(3, 3));
}


// The whole road: two tanks and a pipe drawn by mouse, CALCULATE, "View
// Results Sheet" in the results log; the sheet's Pipes row carries the
// solved flow in the unit chosen for the drawing, and RE-DESIGN closes it.
using ResultsSheetDrawnByMouse = DrawingTest;

TEST_F(ResultsSheetDrawnByMouse, CalculatedThenViewedInTheSheet)
{
    DrawTwoTanksAndAPipe();
    ASSERT_EQ(Net().GetNodeCount(), 2);
    const int pipe = Net().GetNextPipeId(0);
    ASSERT_GT(pipe, 0);
    const int high = Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0);
    const int low = Net().ExistsNodeWithSamePosition(ox + 600, oy + 400, 0);
    Net().GetNode(high).Elevation_m = 30;
    Net().GetNode(low).Elevation_m = 10;
    Net().GetPipe(pipe).Length_m = 100;
    Net().ConfigOptions.UnitOfFlow = unt_L_min;
    form->ToolButtonCursorArrowClick();

    form->ResultsLogForm->ModalRunner = [](TResultsLogForm &log) {
        QTest::mouseClick(log.BitBtnViewResults, Qt::LeftButton);
    };
    dialogs.Expect(TDialogKind::Warning,
                   "Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                   "start up.\r\rUser needs full read/write permission to the file:\r" +
                       folder.path() +
                       "/PipeTables/PipeNominalSizeSet.trns\r\rPlease correct this issue and restart the "
                       "software.\r\rCalculations will run WITHOUT automatic fitting updates.\r");
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    ASSERT_TRUE(dialogs.AllShown());
    ASSERT_TRUE(form->ResultsMode);

    auto *sheet = form->findChild<TFormResults *>("FormResults");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->CurrentTab(), 0);
    const TStringGrid &g = sheet->Grid();
    ASSERT_EQ(g.Cell(0, 2), std::to_string(pipe));
    EXPECT_EQ(g.Cell(7, 1), unitName(unt_L_min));
    const double flow_m3s = Net().GetPipe(pipe).FlowUncompressed_m3s;
    ASSERT_GT(flow_m3s, 0.001);
    bool valid = false;
    const double shown = ReadRealFromString(g.Cell(7, 2), valid, true, true, userDecimalSeparator());
    ASSERT_TRUE(valid) << g.Cell(7, 2);
    EXPECT_NEAR(shown, flow_m3s * 60000.0, 0.01 * flow_m3s * 60000.0);

    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_FALSE(sheet->isVisible());
}

} // namespace
} // namespace tessaran::test
