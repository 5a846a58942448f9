// The PDF documents of the main window: page sizes and fits, the cropped
// drawing metafile, and the report and drawing PDFs read back by
// independent tools (pdfinfo, pdftotext, pdffonts, qpdf, pdftoppm).

#include "app/Pdf_Reports.h"
#include "docexport/Pdf_Test_Reader.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "network/Liquid_Network_Fixture.h"
#include "support/qt/Scripted_Dialogs.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include <sys/stat.h>
#include <unistd.h>

namespace tessaran::test {
namespace {

using pdftest::HasTool;
using pdftest::RunCommand;

TEST(PdfPageSizes, PaperSizesKeepTheOrientation)
{
    struct Case {
        int type;
        double w, h, expectW, expectH;
    } cases[] = {
        {0, 10, 5, 46.8, 33.1}, {0, 5, 10, 33.1, 46.8}, {3, 2, 2, 16.5, 11.7},
        {3, 1, 2, 11.7, 16.5},  {5, 3, 1, 8.27, 5.83},  {9, 1, 3, 33.1, 46.8},
    };
    for (const Case &c : cases) {
        double w = c.w, h = c.h;
        SetPaperSizeInches(c.type, w, h);
        EXPECT_DOUBLE_EQ(w, c.expectW) << c.type;
        EXPECT_DOUBLE_EQ(h, c.expectH) << c.type;
    }
}

TEST(PdfPageSizes, ShrinkToFitScalesDownOnlyAndKeepsTheProportions)
{
    struct Case {
        double w, h, maxW, maxH;
    } cases[] = {{10, 5, 20, 20}, {18061, 12021, 13.2, 9.36}, {400, 4000, 30, 30}, {30, 1, 10, 10}};
    for (const Case &c : cases) {
        double w = c.w, h = c.h;
        ShrinkToFit(w, h, c.maxW, c.maxH);
        EXPECT_LE(w, std::max(c.maxW, c.w <= c.maxW ? c.w : 0.0) + 1e-9);
        EXPECT_LE(h, c.maxH + 1e-9);
        EXPECT_NEAR(w / h, c.w / c.h, 1e-9);
        if (c.w <= c.maxW && c.h <= c.maxH) {
            EXPECT_EQ(w, c.w);
            EXPECT_EQ(h, c.h);
        } else {
            // Close to the limit, not halved far below it.
            EXPECT_GT(std::max(w / c.maxW, h / c.maxH), 0.5);
        }
    }
}

TEST(PdfPageSizes, OrientationFollowsTheDrawingAndTheChoice)
{
    struct Case {
        double w, h;
        TPageOrientation orientation;
        double pageW;
    } cases[] = {
        {1000, 1000, PageOrientationAuto, 16.5},     {1000, 2000, PageOrientationAuto, 11.7},
        {18000, 100, PageOrientationPortrait, 11.7}, {100, 18000, PageOrientationLandscape, 16.5},
        {3000, 1000, PageOrientationAuto, 16.5},     {900, 1000, PageOrientationAuto, 11.7},
    };
    for (const Case &c : cases) {
        double pw = 0, ph = 0;
        PDFPageSizeForDrawing(c.w, c.h, c.orientation, pw, ph);
        EXPECT_EQ(pw, c.pageW) << c.w << " x " << c.h << " / " << int(c.orientation);
        EXPECT_EQ(ph, c.pageW == 16.5 ? 11.7 : 16.5);
    }
}

TEST(PdfPageSizes, HeaderTextAndFileNames)
{
    TReportOptions o;
    o.companyName = "Company";
    o.projectName = "Project";
    o.engineerRef = "Ref";
    EXPECT_EQ(PDFHeaderText(o), "Company  -  Project  -  Ref");
    o.includeProjectName = false;
    EXPECT_EQ(PDFHeaderText(o), "Company  -  Ref");
    o.includeCompanyName = o.includeEngineerRef = false;
    EXPECT_EQ(PDFHeaderText(o), "");
    EXPECT_EQ(PDFReportFileName("/home/a/plant.trz"), "plant.pdf");
    EXPECT_EQ(PDFDrawingFileName("/home/a/plant.trz"), "TRZ_IMG_plant.pdf");
    EXPECT_EQ(PDFReportFileName(""), ".pdf");
    EXPECT_EQ(PDFDrawingFileName(""), "TRZ_IMG_.pdf");
    EXPECT_EQ(PDFGetNumDataCols(TReportDataColumns{3, 4, -1, 5}), 2);
    TReportDataColumns full;
    full.fill(1);
    EXPECT_EQ(PDFGetNumDataCols(full), 15);
}

TEST(PdfPageSizes, TheTemporaryFolderIsPrivate)
{
    const std::string folder = GetTempFolderPath();
    ASSERT_EQ(folder.back(), '/');
    struct stat info {};
    ASSERT_EQ(::lstat(folder.substr(0, folder.size() - 1).c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, ::getuid());
}

class PdfReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        reports.PleaseWaitMilliseconds = 0;
        auto &c = reports.Context;
        c.Network = &network;
        c.NetworkStates = &states;
        c.Renderer = &renderer;
        c.SnapToGrid = [](int &x, int &y) {
            x = static_cast<int>(std::lround(x / 40.0)) * 40;
            y = static_cast<int>(std::lround(y / 40.0)) * 40;
        };
        c.RedrawScreen = [this] { ++redraws; };
        c.ResultsKeyText = "Flow (m3/s)";
        logo.LoadFromBytes(EncodeJpeg(TBitmap(64, 32), 90, false));
        c.Logo = &logo;
    }

    // A tank feeding a chain of pipes down to an end pressure, solved.
    void BuildChain(int pipes)
    {
        int previous = AddTank(network, "Tank", 30, 2);
        for (int i = 1; i <= pipes; ++i) {
            const bool last = i == pipes;
            const int node = AddSolverNode(network, "N" + std::to_string(i), last ? EndPressure : Joint, 0,
                                           last ? 0 : 0.0001);
            AddSolverPipe(network, previous, node, 50, 0.1, "P" + std::to_string(i));
            previous = node;
        }
        int i = 0;
        for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id), ++i) {
            network.GetNode(id).x = 400 + (i % 25) * 400;
            network.GetNode(id).y = 400 + (i / 25) * 600;
        }
        bool solved = false, solutionOk = false;
        TResultsLog log, privateLog;
        network.SolveNetwork(solved, solutionOk, log, privateLog);
        ASSERT_TRUE(solved);
        reports.Context.ResultsMode = true;
    }

    std::string Run(const std::string &command)
    {
        std::string out;
        RunCommand(command, &out);
        return out;
    }

    QTemporaryDir folder;
    TScriptedDialogs dialogs;
    TNetwork network;
    TNetworkStates states;
    TMetaFileDrawing renderer{18060, 12020};
    TPdfReports reports;
    TJPEGImage logo;
    int redraws = 0;
};

TEST_F(PdfReports, TheDrawingMetafileIsCroppedAndLeavesEveryItemWhereItWas)
{
    TMetafile empty;
    reports.PDFGenerateMetaFile(empty);
    EXPECT_EQ(empty.Width, 18061);

    BuildChain(5);
    std::vector<std::pair<int, int>> before;
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id))
        before.emplace_back(network.GetNode(id).x, network.GetNode(id).y);
    const int redrawsBefore = redraws;
    TMetafile metafile;
    reports.PDFGenerateMetaFile(metafile);
    std::vector<std::pair<int, int>> after;
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        after.emplace_back(network.GetNode(id).x, network.GetNode(id).y);
        EXPECT_FALSE(network.GetNode(id).Selected);
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(redraws, redrawsBefore + 1);
    // Cropped to the nodes' extent from the grid point at the origin.
    EXPECT_LT(metafile.Width, 18061);
    EXPECT_GT(metafile.Width, 5 * 400 - 400);
    EXPECT_FALSE(metafile.Empty());
}

TEST_F(PdfReports, AFailedDrawingMetafileStillLeavesEveryItemWhereItWas)
{
    // A node far beyond the sheet (as a damaged file can hold) makes a
    // drawing too large to record.
    BuildChain(3);
    const int far = network.GetNextNodeId(network.GetNextNodeId(0));
    network.GetNode(far).x = 1000000000;
    std::vector<std::pair<int, int>> before;
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id))
        before.emplace_back(network.GetNode(id).x, network.GetNode(id).y);
    dialogs.Expect(TDialogKind::Information, "Error occured while generated internal PDF Metafile.\r\r"
                                             "Please report to support@tessaran.example.com");
    TMetafile metafile;
    reports.PDFGenerateMetaFile(metafile);
    std::vector<std::pair<int, int>> after;
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id))
        after.emplace_back(network.GetNode(id).x, network.GetNode(id).y);
    EXPECT_EQ(after, before);
    EXPECT_GE(redraws, 1);
}

TEST_F(PdfReports, AWrappedCellIsEstimatedFromItsLinesAndLength)
{
    reports.dePDFEngine1.SetMeasurementUnit(TdeUnitType::muInches);
    const std::string text = "Forty characters of text in a grid cell.";
    ASSERT_EQ(text.size(), 40u);
    const TFont font = reports.dePDFEngine1.Font();
    const double lineHeight = reports.dePDFEngine1.TextHeight(QString::fromStdString(text).toStdU16String());
    // The narrowest width at which the text takes three lines.
    double width = 0;
    for (double w = 3.0; w > 0.1; w -= 0.01) {
        std::vector<WideString> lines;
        reports.dePDFEngine1.SplitTextToWidth(QString::fromStdString(text).toStdU16String(), lines, font, false,
                                              w * reports.dePDFEngine1.NativeConversionFactor(),
                                              w * reports.dePDFEngine1.NativeConversionFactor());
        if (lines.size() == 3) {
            width = w;
            break;
        }
    }
    ASSERT_GT(width, 0);
    EXPECT_NEAR(reports.PDFGetCalculatedTableRowHeight(text, width, font), 6 * lineHeight, 1e-9);
    EXPECT_NEAR(reports.PDFGetCalculatedTableRowHeight("short", 3, font),
                reports.dePDFEngine1.TextHeight(u"short"), 1e-9);
}

TEST_F(PdfReports, TheReportHasACoverSheetHeadersFootersAndTablesOverPages)
{
    if (!HasTool("pdftotext") || !HasTool("pdfinfo"))
        GTEST_SKIP() << "poppler-utils are not installed";
    BuildChain(100);
    TReportOptions &o = network.ReportOptions;
    o.companyName = "Company";
    o.projectName = "Project";
    o.engineerRef = "Ref";
    o.includeEngineerRef = false;
    o.includePageCount = true;
    o.includeDate = false;
    o.includeLogInfo = true;
    // A list that begins with its end marker leaves its table out.
    o.fluidDataColumns.fill(-1);
    TStringGrid grid;
    reports.Context.WorkGrid = &grid;
    const std::string path = QDir(folder.path()).filePath("report.pdf").toStdString();
    ASSERT_TRUE(reports.PDFCreateFileSpreadsheetResults(path, o));
    ASSERT_EQ(dialogs.Opened.size(), 1u);
    EXPECT_EQ(dialogs.Opened[0].toStdString(), path);

    const std::string info = Run("pdfinfo '" + path + "'");
    EXPECT_NE(info.find("1188 x 842.4 pts"), std::string::npos) << info;
    const std::smatch pages = [&] {
        std::smatch m;
        std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)"));
        return m;
    }();
    ASSERT_FALSE(pages.empty());
    const int pageCount = std::stoi(pages[1]);

    const std::string cover = Run("pdftotext -f 1 -l 1 '" + path + "' -");
    EXPECT_NE(cover.find(o.title), std::string::npos);
    const std::regex header("Company +- +Project");
    EXPECT_FALSE(std::regex_search(cover, header));
    EXPECT_EQ(cover.find("Page 1"), std::string::npos);

    const std::string second = Run("pdftotext -f 2 -l 2 '" + path + "' -");
    EXPECT_TRUE(std::regex_search(second, header)) << second;
    EXPECT_NE(second.find("Page 2 of "), std::string::npos) << second;
    EXPECT_NE(second.find("Designed using Tessaran from"), std::string::npos);

    // The pipe table: its heading, a pipe's id and flow, and its titles
    // repeated on every page it runs over.
    TStringGrid pipes;
    int finish = 0;
    network.PopulateStringGridPipeSummaryResults(pipes, 0, finish);
    const std::string all = Run("pdftotext '" + path + "' -");
    EXPECT_NE(all.find("Pipe Data"), std::string::npos);
    EXPECT_NE(all.find(pipes.Cell(7, 2)), std::string::npos) << pipes.Cell(7, 2);
    EXPECT_NE(all.find("Results Log Summary"), std::string::npos);
    const std::string flowTitle = pipes.Cell(7, 0);
    int pagesWithTitle = 0;
    for (int page = 1; page <= pageCount; ++page) {
        const std::string text =
            Run("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + path + "' -");
        if (text.find(flowTitle) != std::string::npos)
            ++pagesWithTitle;
    }
    EXPECT_GE(pagesWithTitle, 3) << flowTitle;

    if (HasTool("qpdf"))
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "' >/dev/null"), 0);
    if (HasTool("pdffonts")) {
        const std::string fonts = Run("pdffonts '" + path + "'");
        EXPECT_NE(fonts.find("Verdana"), std::string::npos) << fonts;
    }
}

TEST_F(PdfReports, TheDrawingIsOneA0PageAndAMissingViewerIsReported)
{
    if (!HasTool("pdfinfo") || !HasTool("pdftoppm"))
        GTEST_SKIP() << "poppler-utils are not installed";
    BuildChain(8);
    const std::string path = QDir(folder.path()).filePath(QString::fromStdString(PDFDrawingFileName("net.trz")))
                                 .toStdString();
    dialogs.OpenSucceeds = false;
    dialogs.Expect(TDialogKind::Information,
                   "Cannot find a PDF viewer, which is required to view PDF files.\r\rVisit "
                   "www.pdf-viewer.example.com to download a free PDF viewer.\r\rOnce you have a PDF viewer the "
                   "customized PDF file will open automatically\r\rFor now the PDF report file has been saved to:"
                   "\r\r" +
                       QString::fromStdString(path) + "\r");
    ASSERT_TRUE(reports.PDFCreateFileSystemDrawing(path));
    const std::string info = Run("pdfinfo '" + path + "'");
    EXPECT_TRUE(std::regex_search(info, std::regex("Pages:\\s+1\\n"))) << info;
    EXPECT_NE(info.find("3369.6 x 2383.2 pts"), std::string::npos) << info;
    // With the cover-sheet option the one page has no header or footer.
    EXPECT_EQ(Run("pdftotext '" + path + "' -").find("Designed using"), std::string::npos);

    // The drawing shows on the rendered page: dark pixels inside the page.
    const std::string prefix = QDir(folder.path()).filePath("drawing").toStdString();
    ASSERT_EQ(RunCommand("pdftoppm -r 10 -png '" + path + "' '" + prefix + "'"), 0);
    QImage page(QString::fromStdString(prefix + "-1.png"));
    ASSERT_FALSE(page.isNull());
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 5);
}

} // namespace
} // namespace tessaran::test
