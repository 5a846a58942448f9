// The quick print, the screen images, the example systems browser and the
// e-mail commands of the main window, with a QPrinter writing PDF files that
// poppler's tools read back.

#include "Main_Window_Fixture.h"

#include "app/Action_Log_Class.h"
#include "app/Email_Links.h"
#include "app/Examples_Form.h"
#include "app/Print_Images.h"
#include "app/Results_Log_Form.h"
#include "platform/Metafile.h"
#include "platform/Stream.h"
#include "printing/Abort_Dialog.h"
#include "support/Recording_Print_Device.h"

#include <QScrollBar>

#include <QFile>
#include <QLabel>
#include "units/widgets/RightEdit.h"
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTest>

#include <algorithm>

namespace tessaran::test {
namespace {

QString runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromLatin1(process.readAllStandardOutput());
}

bool haveTool(const QString &tool)
{
    QProcess probe;
    probe.start(tool, {QStringLiteral("-v")});
    return probe.waitForFinished(10000);
}

int pdfPages(const QString &pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString &line : info.split('\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

QString pdfPageText(const QString &pdf, int page)
{
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf,
                    QStringLiteral("-")});
}

// A printer job that presses Cancel in the "Printing" dialog before the next page.
class CancellingJob : public TQtPrinterJob {
public:
    using TQtPrinterJob::TQtPrinterJob;
    void NewPage() override
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<TAbortDialog *>(widget))
                dialog->btnCancel->click();
        TQtPrinterJob::NewPage();
    }
};

// A printer job on the recording device: each page's StretchDIBits calls.
class RecordingJob : public TPrinterJob {
public:
    RecordingJob(int width, int height) : Device(width, height) {}
    bool Printing() const override { return printing; }
    void BeginDoc() override
    {
        printing = true;
        Pages.emplace_back();
    }
    TPrintDevice &Canvas() override { return Device; }
    void TextOut(int, int, const std::string &text, int, int, bool) override { Pages.back().Title += text; }
    void NewPage() override
    {
        collect();
        Pages.emplace_back();
    }
    void Abort() override { printing = false; }
    void EndDoc() override
    {
        collect();
        printing = false;
    }
    struct Page {
        TRect Covered; // union of the drawn tiles
        std::string Title;
    };
    std::vector<Page> Pages;
    TRecordingPrintDevice Device;

private:
    void collect()
    {
        TRect &covered = Pages.back().Covered;
        for (const TDeviceCall &call : Device.Calls)
            if (call.Name == "StretchDIBits") {
                if (covered.Right == 0 && covered.Bottom == 0)
                    covered = call.Dest;
                covered = TRect{std::min(covered.Left, call.Dest.Left), std::min(covered.Top, call.Dest.Top),
                                std::max(covered.Right, call.Dest.Right), std::max(covered.Bottom, call.Dest.Bottom)};
            }
        Device.Calls.clear();
    }
    bool printing = false;
};

std::string networkBytes(TNetwork &network)
{
    TMemoryStream stream;
    network.Save(stream);
    const auto bytes = stream.Bytes();
    return std::string(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

class PrintingTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(150);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        AddPipeBetween(*form->CurrentNetwork, AddNodeAt(*form->CurrentNetwork, 400, 400, Tank),
                       AddNodeAt(*form->CurrentNetwork, 1200, 700));
        form->RefreshScreen(true);
    }

    QString pdf = folder.filePath(QStringLiteral("print.pdf"));
    QPrinter printer{QPrinter::HighResolution};
};

TEST_F(PrintingTest, PageCountsOutsideOneToNineAreRefusedAndTheFormStaysOpen)
{
    struct Case {
        const char *wide, *high, *message;
    } cases[] = {
        {"0", "1", "Page wide value must be between 1 and 9."},
        {"", "1", "Page wide and page high values are not valid.\r"},
        {"x", "1", "Page wide and page high values are not valid.\r"},
        {"1", "0", "Page high value must be between 1 and 9."},
    };
    TPrintingForm &printing = *form->PrintingForm;
    printing.show();
    for (const Case &c : cases) {
        printing.RightEditPagesWide->setText(c.wide);
        printing.RightEditPagesHigh->setText(c.high);
        dialogs.Expect(TDialogKind::Information, c.message);
        printing.ButtonPrint->click();
        EXPECT_TRUE(printing.isVisible()) << c.wide << " by " << c.high;
    }
    EXPECT_TRUE(dialogs.AllShown());
    printing.close();
}

TEST_F(PrintingTest, TwoPagesWideGiveTwoPagesWithTheTitleOnTheFirstOnly)
{
    if (!haveTool(QStringLiteral("pdfinfo")) || !haveTool(QStringLiteral("pdftotext")))
        GTEST_SKIP() << "poppler tools are not installed";
    form->Printer = std::make_unique<TQtPrinterJob>(printer);
    form->PrintImageDisplayedOnScreen("Cooling Water Loop", 2, 1);
    EXPECT_TRUE(form->isEnabled());
    ASSERT_EQ(pdfPages(pdf), 2);
    EXPECT_TRUE(pdfPageText(pdf, 1).contains(QLatin1String("Cooling Water Loop")));
    EXPECT_FALSE(pdfPageText(pdf, 2).contains(QLatin1String("Cooling Water Loop")));
}

TEST_F(PrintingTest, AViewTwiceAsWideAsHighFillsTwoPagesWideAndTheirTopUsableWidth)
{
    // Pages 300 wide and 500 high: the picture is scaled to 600 by 300.
    form->ScrollBar1->resize(800, form->ScrollBar1->height());
    form->ScrollBar2->resize(form->ScrollBar2->width(), 400);
    ASSERT_EQ(form->ViewWidth(), 2 * form->ViewHeight());
    auto job = std::make_unique<RecordingJob>(300, 500);
    RecordingJob *recording = job.get();
    form->Printer = std::move(job);
    form->PrintImageDisplayedOnScreen("Title", 2, 1);
    ASSERT_EQ(recording->Pages.size(), 2u);
    for (const RecordingJob::Page &page : recording->Pages) {
        EXPECT_EQ(page.Covered.Left, 0);
        EXPECT_EQ(page.Covered.Top, 0);
        EXPECT_EQ(page.Covered.Right, 300);
        EXPECT_EQ(page.Covered.Bottom, 300);
    }
    EXPECT_EQ(recording->Pages[0].Title, "Title");
    EXPECT_EQ(recording->Pages[1].Title, "");
}

TEST_F(PrintingTest, CancelBetweenPagesAbortsTheJob)
{
    auto job = std::make_unique<CancellingJob>(printer);
    CancellingJob *printing = job.get();
    form->Printer = std::move(job);
    dialogs.Expect(TDialogKind::Information, "Printing Aborted!");
    form->PrintImageDisplayedOnScreen("Title", 2, 2);
    EXPECT_TRUE(printing->WasAborted());
    EXPECT_FALSE(printing->Printing());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(form->isEnabled());
}

TEST_F(PrintingTest, ResultsKeyIsPaintedIntoThePrintInResultsModeOnly)
{
    if (!haveTool(QStringLiteral("pdftoppm")))
        GTEST_SKIP() << "poppler tools are not installed";
    // The keys are drawn into the picture, so the PDF holds no text of them:
    // look at the top of the rendered page instead. Ink in the results key's
    // box (350 of 4096 picture pixels from the right); colour in the colour
    // key's box to its left.
    struct Corner {
        bool Ink = false, Colour = false;
    };
    auto corner = [&](bool results) {
        QFile::remove(pdf);
        form->ResultsMode = results;
        form->Printer = std::make_unique<TQtPrinterJob>(printer);
        form->PrintImageDisplayedOnScreen("", 1, 1);
        const QString png = folder.filePath(QStringLiteral("page"));
        runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
                                             QStringLiteral("-singlefile"), pdf, png});
        Corner found;
        const QImage page(png + QStringLiteral(".png"));
        if (page.isNull()) {
            ADD_FAILURE() << "no page rendered";
            return found;
        }
        for (int y = page.height() * 3 / 100; y < page.height() * 8 / 100; ++y)
            for (int x = page.width() * 85 / 100; x < page.width() * 94 / 100; ++x)
                found.Ink = found.Ink || qGray(page.pixel(x, y)) < 100;
        for (int y = page.height() * 3 / 100; y < page.height() * 6 / 100; ++y)
            for (int x = page.width() * 74 / 100; x < page.width() * 86 / 100; ++x) {
                const QColor c(page.pixel(x, y));
                const int high = std::max({c.red(), c.green(), c.blue()});
                const int low = std::min({c.red(), c.green(), c.blue()});
                found.Colour = found.Colour || high - low > 80;
            }
        return found;
    };
    form->CurrentNetwork->ConfigOptions.UseResultsColors = false;
    const Corner design = corner(false), plain = corner(true);
    EXPECT_FALSE(design.Ink);
    EXPECT_FALSE(design.Colour);
    EXPECT_TRUE(plain.Ink);
    EXPECT_FALSE(plain.Colour) << "no colour key without results colours";

    // With results colours the calculation's colour key is painted beside it.
    form->CurrentNetwork->ConfigOptions.UseResultsColors = true;
    const Corner coloured = corner(true), colouredDesign = corner(false);
    EXPECT_TRUE(coloured.Ink);
    EXPECT_TRUE(coloured.Colour);
    EXPECT_FALSE(colouredDesign.Colour);
}

TEST_F(PrintingTest, TheToolBarHoldsThePrintAndEmailButtons)
{
    const std::pair<const char *, const char *> buttons[] = {{"ToolButtonPrint", "Print"},
                                                             {"ToolButtonEmail", "Email System (.trz file)"},
                                                             {"ToolButtonEmailScreen", "Email Screen Image"}};
    for (const auto &[name, hint] : buttons) {
        auto *button = form->ToolBar2->findChild<QToolButton *>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isVisible()) << name;
        EXPECT_EQ(button->toolTip().toStdString(), hint);
    }
    // "Print" opens the print form.
    bool shown = false;
    QTimer::singleShot(0, form.get(), [&] {
        shown = form->PrintingForm->isVisible();
        form->PrintingForm->reject();
    });
    QTest::mouseClick(form->ToolBar2->findChild<QToolButton *>("ToolButtonPrint"), Qt::LeftButton);
    EXPECT_TRUE(shown);
}

TEST_F(PrintingTest, ScreenImageOverAReadOnlyFileIsRefusedAndTheFileKept)
{
    const QString jpeg = folder.filePath(QStringLiteral("screen.jpg"));
    {
        QFile file(jpeg);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    QFile::setPermissions(jpeg, QFile::ReadOwner);
    dialogs.FileNames.push_back(jpeg);
    dialogs.Expect(TDialogKind::Confirmation, "File already exists. Do wish to overwrite? \r", DialogYes);
    dialogs.Expect(TDialogKind::Information, "Current file not saved.\r\rCould not remove existing file.\r\r"
                                             "Please check the file permissions of the existing file.");
    form->SaveScreenImage1Click();
    QFile::setPermissions(jpeg, QFile::ReadOwner | QFile::WriteOwner);
    QFile file(jpeg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
}

TEST_F(PrintingTest, ScreenImageIsTheVisibleAreaAndTheMetafileTheWholeSheet)
{
    form->NetWorkImageRescale(2.0, true);
    const QString jpeg = folder.filePath(QStringLiteral("screen.jpg"));
    const QString emf = folder.filePath(QStringLiteral("sheet.emf"));
    dialogs.FileNames.push_back(jpeg);
    form->SaveScreenImage1Click();
    dialogs.FileNames.push_back(emf);
    form->SaveScree1Click();

    const QImage picture(jpeg);
    EXPECT_EQ(picture.size(), QSize(form->ViewWidth(), form->ViewHeight()));
    TMetafile sheet;
    sheet.LoadFromFile(emf.toStdString());
    EXPECT_EQ(sheet.Width, 18060);
    EXPECT_EQ(sheet.Height, 12020);
}

// --- example systems -----------------------------------------------------------------

class ExamplesTest : public MainWindowTest {
protected:
    // A small network file in a folder of the test's program folder.
    void WriteExample(const QString &folderName, const QString &fileName, int nodes)
    {
        QDir(folder.path()).mkpath(folderName);
        TNetwork network;
        for (int n = 0; n < nodes; ++n)
            AddNodeAt(network, 200 + 200 * n, 400);
        network.SaveToFile((folder.filePath(folderName) + '/' + fileName).toStdString());
    }
    QStringList Listed() const
    {
        QStringList names;
        for (int i = 0; i < form->ExamplesForm->ListBoxFilenames->count(); ++i)
            names << form->ExamplesForm->ListBoxFilenames->item(i)->text();
        return names;
    }
};

TEST_F(ExamplesTest, OnlyPrefixedFilesAreListedPrefixByPrefix)
{
    WriteExample("ExampleSystems", "Gases_Air.trz", 1);
    WriteExample("ExampleSystems", "Common_Tank.trz", 1);
    WriteExample("ExampleSystems", "Pipe_Only.trz", 1);
    form->ExamplesForm->UpdateFormExampleSystemsList();
    EXPECT_EQ(Listed(), (QStringList{"Common_Tank.trz", "Gases_Air.trz"}));
    // Neither picture nor description beside them.
    EXPECT_TRUE(form->ExamplesForm->LabelNoImageFile->isVisibleTo(form->ExamplesForm));
    EXPECT_EQ(form->ExamplesForm->MemoExampleText->toPlainText(),
              "No description file is present for this example system.");
    EXPECT_TRUE(form->ExamplesForm->MemoExampleText->isReadOnly());
    EXPECT_EQ(form->ExamplesForm->MemoExampleText->cursorWidth(), 0);
}

TEST_F(ExamplesTest, AnEmptyFolderShowsCannotReadAndLoadingGivesANewNetwork)
{
    form->ExamplesForm->UpdateFormExampleSystemsList();
    EXPECT_EQ(form->ExamplesForm->MemoExampleText->toPlainText(),
              "Cannot read \"ExampleSystems\" folder.\nPlease check that this folder exists beneath the folder "
              "where Tessaran is installed.");
    AddNodeAt(*form->CurrentNetwork, 300, 300);
    ExpectQuestion("Note: Existing data on current tab will not be saved.\r\rLoad Next Example System on current "
                   "tab?\r",
                   true);
    dialogs.Expect(TDialogKind::Information, "An error occured while attempting to load an example system.\r\r"
                                             "Please check that your program was installed correctly without "
                                             "errors.");
    // The new network that follows asks about a new tab and the isometric grid.
    ExpectQuestion("Open New Grid on a New Tab?\r\r", false);
    ExpectQuestion("Set grid display for Isometric Drawing?\r", false);
    form->BitBtnNextExampleClick();
    EXPECT_EQ(form->CurrentNetwork->NodeSet.NumberOfNodesUsed(), 0);
}

TEST_F(ExamplesTest, AFileTheNetworkRefusesIsNotCountedAsLoaded)
{
    WriteExample("ExampleSystems", "Common_A.trz", 1);
    QFile broken(folder.filePath("ExampleSystems/Common_B.trz"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a network");
    broken.close();
    form->ExamplesForm->ExampleIndexLiquids = 0;
    ExpectQuestion("Note: Existing data on current tab will not be saved.\r\rLoad Next Example System on current "
                   "tab?\r",
                   true);
    dialogs.Expect(TDialogKind::Information, "The file does not have the correct format and cannot be loaded.\r");
    dialogs.Expect(TDialogKind::Information, "An error occured while attempting to load an example system.\r\r"
                                             "Please check that your program was installed correctly without "
                                             "errors.");
    // The new network that follows asks about a new tab and the isometric grid.
    ExpectQuestion("Open New Grid on a New Tab?\r\r", false);
    ExpectQuestion("Set grid display for Isometric Drawing?\r", false);
    form->BitBtnNextExampleClick();
    EXPECT_FALSE(form->ExamplesForm->Loaded());
    EXPECT_TRUE(form->CurrentFilename.empty()) << form->CurrentFilename << Listed().join(',').toStdString();
}

TEST_F(ExamplesTest, NextExampleOnTheLastLoadsTheFirst)
{
    WriteExample("ExampleSystems", "Common_One.trz", 1);
    WriteExample("ExampleSystems", "General_Two.trz", 2);
    form->ExamplesForm->ExampleIndexLiquids = 1;
    ExpectQuestion("Note: Existing data on current tab will not be saved.\r\rLoad Next Example System on current "
                   "tab?\r",
                   true);
    form->BitBtnNextExampleClick();
    EXPECT_EQ(form->ExamplesForm->ExampleIndexLiquids, 0);
    EXPECT_EQ(form->CurrentNetwork->NodeSet.NumberOfNodesUsed(), 1);
    EXPECT_EQ(form->TabControl1->tabText(form->CurrentTabIndex - 1), "Common_One.trz");
    EXPECT_EQ(form->CurrentFilename, (folder.filePath("ExampleSystems") + "/Common_One.trz").toStdString());
}

TEST_F(ExamplesTest, ClosingWithoutLoadingKeepsTheNetwork)
{
    WriteExample("ExampleSystems", "Common_One.trz", 1);
    AddNodeAt(*form->CurrentNetwork, 300, 300);
    AddNodeAt(*form->CurrentNetwork, 600, 300);
    TNode joint;
    form->ActionLog->AddJoint(2, joint);
    ASSERT_GT(form->ActionLog->ActionIdCurrent, 0);
    QTimer::singleShot(0, form->ExamplesForm, [this] { form->ExamplesForm->BitBtnCancel->click(); });
    form->OpenExamples1Click();
    EXPECT_FALSE(form->ExamplesForm->Loaded());
    EXPECT_EQ(form->CurrentNetwork->NodeSet.NumberOfNodesUsed(), 2);
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);
}

TEST_F(ExamplesTest, ShippedExampleLoadsPrintsOverFourPagesAndMailsEqual)
{
    if (!haveTool(QStringLiteral("pdfinfo")) || !haveTool(QStringLiteral("pdfimages")))
        GTEST_SKIP() << "poppler tools are not installed";
    // The shipped examples, as an installation has them beside the program.
    const QDir shipped(QStringLiteral(TESSARAN_SOURCE_DIR "/data/ExampleSystems"));
    QDir(folder.path()).mkpath("ExampleSystems");
    for (const QString &name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), folder.filePath("ExampleSystems/" + name));
    form->ExamplesForm->UpdateFormExampleSystemsList();
    form->ExamplesForm->ExampleIndexLiquids = form->ExamplesForm->ListBoxFilenames->count() - 1;
    ExpectQuestion("Note: Existing data on current tab will not be saved.\r\rLoad Next Example System on current "
                   "tab?\r",
                   true);
    form->BitBtnNextExampleClick();
    ASSERT_TRUE(form->ExamplesForm->Loaded());
    EXPECT_EQ(form->ExamplesForm->ExampleIndexLiquids, 0);
    ASSERT_GT(form->CurrentNetwork->NodeSet.NumberOfNodesUsed(), 0);

    // CALCULATE from its button; the results log is closed with OK.
    int logs = 0;
    form->ResultsLogForm->ModalRunner = [&](TResultsLogForm &log) {
        ++logs;
        (log.ButtonOk->isVisibleTo(&log) ? log.ButtonOk : log.BitBtnViewDrawing)->click();
    };
    dialogs.Expect(TDialogKind::Warning,
                   "Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                   "start up.\r\rUser needs full read/write permission to the file:\r" +
                       folder.path() +
                       "/PipeTables/PipeNominalSizeSet.trns\r\rPlease correct this issue and restart the "
                       "software.\r\rCalculations will run WITHOUT automatic fitting updates.\r");
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    ASSERT_TRUE(dialogs.AllShown());
    EXPECT_EQ(logs, 1);
    ASSERT_TRUE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "RE-DESIGN");

    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = folder.filePath("example.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(100);
    form->Printer = std::make_unique<TQtPrinterJob>(printer);
    form->PrintImageDisplayedOnScreen("Example", 2, 2);
    EXPECT_EQ(pdfPages(pdf), 4);
    const QStringList images = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                   .split('\n', Qt::SkipEmptyParts)
                                   .mid(2);
    // The picture fills the grid's width or its height, so at least one row
    // or column of pages holds a part of it.
    EXPECT_GE(images.size(), 2);

    QStringList arguments;
    const TProcessRunner previous = InstallProcessRunner([&](const QString &program, const QStringList &args) {
        EXPECT_EQ(program, "xdg-email");
        arguments = args;
        return TProcessResult{true, 0};
    });
    const TWaitFunction previousWait = InstallEmailWait([](int) {});
    form->Emai1Click();
    InstallProcessRunner(previous);
    InstallEmailWait(previousWait);
    const int attach = static_cast<int>(arguments.indexOf("--attach"));
    ASSERT_GE(attach, 0);
    const QString mailed = arguments.value(attach + 1);
    EXPECT_TRUE(mailed.endsWith("/TessaranSystem.trz"));
    TNetwork reopened;
    TMemoryStream stream;
    stream.LoadFromFile(mailed.toStdString());
    reopened.Load(stream);
    EXPECT_EQ(networkBytes(reopened), networkBytes(*form->CurrentNetwork));
}

// --- e-mail ---------------------------------------------------------------------------

class EmailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = InstallProcessRunner([this](const QString &program, const QStringList &arguments) {
            Program = program;
            Arguments = arguments;
            return Result;
        });
    }
    void TearDown() override { InstallProcessRunner(previous); }

    TProcessRunner previous;
    QString Program;
    QStringList Arguments;
    TProcessResult Result{true, 0};
    TScriptedDialogs dialogs;
};

TEST_F(EmailTest, TheListBecomesTheHandlersArgumentsUpToTheFirstMissingAttachment)
{
    EXPECT_EQ(SendEmailViaMapi(nullptr, {"to=a@b.example", "subject=Hello", "body=\rLine one\rLine two",
                                         "attachment0=/tmp/one.trz", "attachment2=/tmp/three.trz"}),
              0);
    EXPECT_EQ(Program, "xdg-email");
    EXPECT_EQ(Arguments, (QStringList{"--utf8", "--subject", "Hello", "--body", "\nLine one\nLine two", "--attach",
                                      "/tmp/one.trz", "a@b.example"}));
    // Without "to" the message has no recipient.
    SendEmailViaMapi(nullptr, {"subject=S", "body=B"});
    EXPECT_EQ(Arguments, (QStringList{"--utf8", "--subject", "S", "--body", "B"}));
}

TEST_F(EmailTest, AHandlerThatFailsOrCannotStartIsReported)
{
    struct Case {
        TProcessResult result;
        int code;
    } cases[] = {{{true, 3}, 3}, {{false, 0}, EmailHandlerNotStarted}};
    for (const Case &c : cases) {
        Result = c.result;
        dialogs.Expect(TDialogKind::Error, "Error while trying to send email");
        EXPECT_EQ(SendEmailViaMapi(nullptr, {"to=x"}), c.code);
        ASSERT_FALSE(dialogs.Boxes.empty());
        EXPECT_EQ(dialogs.Boxes.back().Request.Caption, "Error");
    }
}

TEST_F(EmailTest, MissingDocumentsNameTheSupportAddress)
{
    SetProgramFolder(QDir::tempPath().toStdString() + "/no-such-program-folder/");
    const TDocumentCommand &guide = DocumentCommands().front();
    dialogs.Expect(TDialogKind::Information,
                   QString("Cannot find Tessaran Quick Start Guide PDF file. Please report to ") +
                       MakerSupportEmail);
    EXPECT_FALSE(OpenDocument(guide, nullptr));
    EXPECT_TRUE(dialogs.Opened.empty());
    SetProgramFolder("");
}

TEST_F(PrintingTest, EmailScreenImageAttachesAPictureOfTheVisibleDrawing)
{
    QStringList arguments;
    const TProcessRunner previous = InstallProcessRunner([&](const QString &, const QStringList &args) {
        arguments = args;
        return TProcessResult{true, 0};
    });
    std::vector<int> waits;
    const TWaitFunction previousWait = InstallEmailWait([&](int ms) { waits.push_back(ms); });
    form->EmailScreenImage1Click();
    InstallProcessRunner(previous);
    InstallEmailWait(previousWait);
    EXPECT_EQ(waits, std::vector<int>{500});
    const QString picture = folder.filePath("TRZImg.jpg");
    EXPECT_EQ(QImage(picture).size(), QSize(form->ViewWidth(), form->ViewHeight()));
    EXPECT_EQ(arguments.mid(1, 2), (QStringList{"--subject", "Tessaran - ScreenShot Attached"}));
    EXPECT_EQ(arguments.value(arguments.indexOf("--attach") + 1), picture);
    EXPECT_EQ(arguments.constLast(), "EmailAddress");
}

TEST_F(ExamplesTest, HelpAndDocumentsGoToTheHelpWindowAndTheDesktop)
{
    QDir(folder.path()).mkpath("Help");
    QDir(folder.path()).mkpath("Documents");
    QFile page(folder.filePath("Help/contents.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>Drawing a system</p></body></html>");
    page.close();
    QFile guide(folder.filePath("Documents/TessaranUserGuide.pdf"));
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.close();

    form->Contents1Click();
    EXPECT_TRUE(form->HelpForm->BrowserHelp->toPlainText().contains("Drawing a system"));
    form->Index1Click();
    EXPECT_TRUE(form->HelpForm->BrowserHelp->toPlainText().contains("Cannot find the help page"));
    form->HelpForm->close();

    form->OpenDocumentCommand(1);
    ASSERT_EQ(dialogs.Opened.size(), 1u);
    EXPECT_EQ(dialogs.Opened[0], folder.filePath("Documents/TessaranUserGuide.pdf"));
    form->GoToWebSite1Click();
    ASSERT_EQ(dialogs.Opened.size(), 2u);
    EXPECT_EQ(dialogs.Opened[1], MakerWebLink);
}

} // namespace
} // namespace tessaran::test
