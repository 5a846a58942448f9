// The PDF commands of the main window, run as the user runs them: the
// results PDF button opens the report options dialog, "Create PDF Report"
// makes the report in the private temporary folder and the desktop opens it.

#include "Main_Window_Fixture.h"

#include "app/Report_Options_Form.h"
#include "docexport/Pdf_Test_Reader.h"
#include "drawing_qt/Reference_Image.h"
#include "network/Liquid_Network_Fixture.h"

#include <QAction>
#include <QFile>
#include <QTimer>

namespace tessaran::test {
namespace {

using pdftest::HasTool;
using pdftest::RunCommand;

class MainWindowReports : public MainWindowTest {};

TEST_F(MainWindowReports, TheResultsPdfButtonMakesTheReportAndOpensIt)
{
    TNetwork &network = *form->CurrentNetwork;
    const int tank = AddTank(network, "Tank", 30, 2);
    const int out = AddSolverNode(network, "Out", EndPressure, 5);
    network.GetNode(tank).x = 800;
    network.GetNode(tank).y = 800;
    network.GetNode(out).x = 2000;
    network.GetNode(out).y = 1200;
    const int pipe = AddSolverPipe(network, tank, out, 200, 0.1, "Main");
    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    network.SolveNetwork(solved, solutionOk, log, privateLog);
    ASSERT_TRUE(solved);
    form->ResultsMode = true;
    form->BitBtnResultsPDF->setEnabled(true);
    form->PDFFirstReportPending = false;
    // The header's date would change the drawing page from day to day.
    network.ReportOptions.includeDate = false;

    QTimer::singleShot(0, [&] {
        auto *dialog = form->findChild<TFormPDFConfig *>();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton *>("BitBtnCreatePDF")->click();
    });
    form->BitBtnResultsPDF->click();

    ASSERT_EQ(dialogs.Opened.size(), 1u);
    const QString path = dialogs.Opened[0];
    EXPECT_TRUE(path.endsWith("/.pdf")) << path.toStdString();
    EXPECT_TRUE(QFile::exists(path));
    if (!HasTool("pdftotext"))
        GTEST_SKIP() << "poppler-utils are not installed";
    std::string text;
    RunCommand("pdftotext '" + path.toStdString() + "' -", &text);
    TStringGrid grid;
    int finish = 0;
    network.PopulateStringGridPipeSummaryResults(grid, 0, finish);
    EXPECT_NE(text.find("Pipe Data"), std::string::npos);
    EXPECT_NE(text.find(std::to_string(pipe)), std::string::npos);
    EXPECT_NE(text.find(grid.Cell(7, 2)), std::string::npos) << grid.Cell(7, 2);
    // The drawing page against its reference rendering.
    if (HasTool("pdftoppm")) {
        const QString prefix = folder.filePath("page");
        ASSERT_EQ(RunCommand("pdftoppm -r 30 -png -f 2 -l 2 '" + path.toStdString() + "' '" +
                             prefix.toStdString() + "'"),
                  0);
        QImage page(prefix + "-02.png");
        if (page.isNull())
            page = QImage(prefix + "-2.png");
        ASSERT_FALSE(page.isNull());
        const QString reference = QStringLiteral(TESSARAN_TEST_DATA_DIR "/app/report_drawing_page.png");
        if (std::getenv("TESSARAN_WRITE_REFERENCES"))
            ASSERT_TRUE(page.save(reference));
        const QImage expected(reference);
        ASSERT_FALSE(expected.isNull()) << "missing reference " << reference.toStdString();
        EXPECT_LE(DifferingShare(page.convertToFormat(QImage::Format_RGB32),
                                 expected.convertToFormat(QImage::Format_RGB32)),
                  0.01);
    }
    // The items stand where they stood before the drawing was cropped.
    EXPECT_EQ(network.GetNode(tank).x, 800);
    EXPECT_EQ(network.GetNode(out).y, 1200);
    QFile::remove(path);
}

TEST_F(MainWindowReports, TheSystemDrawingCommandWritesTheDrawingPdf)
{
    TNetwork &network = *form->CurrentNetwork;
    const int a = AddNodeAt(network, 800, 800, Tank);
    const int b = AddNodeAt(network, 1600, 800, Tank);
    AddPipeBetween(network, a, b);
    form->CreatePDFSystemDrawing->trigger();
    ASSERT_EQ(dialogs.Opened.size(), 1u);
    EXPECT_TRUE(dialogs.Opened[0].endsWith("/TRZ_IMG_.pdf")) << dialogs.Opened[0].toStdString();
    if (HasTool("qpdf"))
        EXPECT_EQ(RunCommand("qpdf --check '" + dialogs.Opened[0].toStdString() + "' >/dev/null"), 0);
    QFile::remove(dialogs.Opened[0]);
}

} // namespace
} // namespace tessaran::test
