#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "Recording_Engine.h"

namespace tessaran {
namespace {

namespace fs = std::filesystem;

using Engine = RecordingEngine<>;

int Count(const std::vector<std::string> &log, const std::string &line)
{
    return static_cast<int>(std::count(log.begin(), log.end(), line));
}

// Records which events fire, in order.
void TraceEvents(Engine &engine, std::vector<std::string> &events)
{
    auto add = [&events](const char *name) { return [&events, name](TdeBaseComponent *) { events.push_back(name); }; };
    engine.OnBeforeBeginDoc = add("before begin doc");
    engine.OnAfterBeginDoc = add("after begin doc");
    engine.OnBeforeEndDoc = add("before end doc");
    engine.OnAfterEndDoc = add("after end doc");
    engine.OnBeforeBeginPage = [&events, &engine](TdeBaseComponent *) {
        events.push_back("before begin page " + std::to_string(engine.CurrentPage()));
    };
    engine.OnAfterEndPage = [&events, &engine](TdeBaseComponent *) {
        events.push_back("after end page " + std::to_string(engine.CurrentPage()));
    };
}

TEST(DocumentEngine, StreamedPagesRenderWhenTheNextPageOpens)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    std::vector<std::string> events;
    TraceEvents(engine, events);

    engine.BeginDoc();
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esStarted);
    EXPECT_EQ(engine.CurrentPage(), 1);
    engine.AddText(10, 20, "one");
    engine.NewPage();
    EXPECT_EQ(engine.Joined(), "begin doc|metafile 794x1123 at 0,0|begin page 1|text one@10,20|eof|end page 1");
    engine.AddText(10, 20, "two");
    engine.NewPage();
    engine.AddText(10, 20, "three");
    EXPECT_EQ(Count(engine.Log, "end page 2"), 1);
    EXPECT_EQ(Count(engine.Log, "end page 3"), 0);
    engine.EndDoc();
    EXPECT_EQ(Count(engine.Log, "text three@10,20"), 1);
    EXPECT_EQ(engine.Log.back(), "end doc");
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esFinished);
    EXPECT_EQ(engine.PageCount(), 0);
    EXPECT_FALSE(engine.IsDocumentStarted());
    EXPECT_EQ(events, (std::vector<std::string>{"before begin doc", "after begin doc", "before begin page 1",
                                                "after end page 1", "before begin page 2", "after end page 2",
                                                "before begin page 3", "after end page 3", "before end doc",
                                                "after end doc"}));
}

TEST(DocumentEngine, OneStreamedPageIsRenderedOnceByEndDoc)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.BeginDoc();
    engine.AddText(1, 1, "only");
    engine.EndDoc();
    EXPECT_EQ(Count(engine.Log, "begin page 1"), 1);
    EXPECT_EQ(Count(engine.Log, "text only@1,1"), 1);
}

TEST(DocumentEngine, HeldPagesRenderInOrderAtEndDocAndCanBeReopened)
{
    Engine engine; // pages held by default
    engine.BeginDoc();
    engine.AddText(0, 0, "p1");
    engine.NewPage();
    engine.AddText(0, 0, "p2");
    EXPECT_EQ(engine.Joined(), "begin doc|metafile 794x1123 at 0,0"); // page 1's recording, nothing rendered
    engine.SetWorkingPage(1);
    EXPECT_EQ(engine.CurrentPage(), 1);
    engine.AddText(0, 0, "p1 again");
    engine.EndDoc();
    // Recordings processed when page 1, page 2 and page 1 again were closed.
    EXPECT_EQ(Count(engine.Log, "metafile 794x1123 at 0,0"), 3);
    const std::vector<std::string> rendered(engine.Log.begin() + 4, engine.Log.end());
    EXPECT_EQ(rendered, (std::vector<std::string>{"begin page 1", "text p1@0,0", "eof", "text p1 again@0,0", "eof",
                                                  "end page 1", "begin page 2", "text p2@0,0", "eof", "end page 2",
                                                  "end doc"}));
}

TEST(DocumentEngine, PageCanvasFollowsThePage)
{
    Engine engine;
    EXPECT_EQ(engine.Canvas(), nullptr);
    engine.Page().SetOrientation(TPrinterOrientation::poLandscape);
    engine.BeginDoc();
    ASSERT_NE(engine.Canvas(), nullptr);
    engine.Canvas()->Rectangle(10, 10, 50, 50);
    engine.EndDoc();
    EXPECT_EQ(engine.Canvas(), nullptr);
    EXPECT_EQ(engine.Log[1], "metafile 1123x794 at 0,0");
}

TEST(DocumentEngine, ReopenedPageRecordsAtItsOwnSize)
{
    Engine engine;
    engine.BeginDoc();
    engine.Page().SetOrientation(TPrinterOrientation::poLandscape);
    engine.NewPage();         // page 1's recording, portrait
    engine.SetWorkingPage(1); // page 2's recording, landscape
    engine.EndDoc();          // page 1's again: portrait, not the size of the page left
    const std::vector<std::string> recordings(engine.Log.begin() + 1, engine.Log.begin() + 4);
    EXPECT_EQ(recordings, (std::vector<std::string>{"metafile 794x1123 at 0,0", "metafile 1123x794 at 0,0",
                                                    "metafile 794x1123 at 0,0"}));
}

TEST(DocumentEngine, SecondBeginDocChangesNothing)
{
    Engine engine;
    std::vector<std::string> events;
    TraceEvents(engine, events);
    engine.BeginDoc();
    engine.NewPage();
    engine.BeginDoc();
    EXPECT_EQ(engine.PageCount(), 2);
    EXPECT_EQ(engine.CurrentPage(), 2);
    EXPECT_EQ(Count(events, "before begin doc"), 1);
    engine.EndDoc();
}

// The setup dialog that BeginDoc shows.
class CancelledDialog : public TdeBaseDlg {
public:
    TdeCustomDocumentEngine *SeenEngine = nullptr;
    int ShowModal() override
    {
        SeenEngine = Engine;
        return mrCancel;
    }
};

TEST(DocumentEngine, CancelledSetupDialogOpensNoDocument)
{
    const struct {
        bool ownDialog;
    } cases[] = {{true}, {false}};
    for (const auto &c : cases) {
        Engine engine;
        CancelledDialog dialog;
        if (c.ownDialog)
            engine.SetSetupDialog(&dialog);
        else
            engine.DialogResult = mrCancel;
        std::vector<std::string> events;
        TraceEvents(engine, events);
        engine.BeginDoc();
        EXPECT_EQ(events, std::vector<std::string>{"before begin doc"});
        EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esCancelled);
        EXPECT_FALSE(engine.IsDocumentStarted());
        if (c.ownDialog) {
            EXPECT_EQ(dialog.SeenEngine, &engine);
            EXPECT_EQ(dialog.Engine, nullptr);
        }
        engine.NewPage();
        engine.BeginHeader();
        engine.AddText(0, 0, "lost");
        EXPECT_EQ(engine.SaveEngineState(), -1);
        engine.EndDoc();
        EXPECT_TRUE(engine.Log.empty());
        EXPECT_EQ(engine.PageCount(), 0);
    }
}

TEST(DocumentEngine, SetupDialogNotShownWhenSwitchedOff)
{
    Engine engine;
    CancelledDialog dialog;
    engine.SetSetupDialog(&dialog);
    engine.Preferences().SetShowSetupDialog(false);
    engine.BeginDoc();
    EXPECT_TRUE(engine.IsDocumentStarted());
    EXPECT_EQ(dialog.SeenEngine, nullptr);
    engine.EndDoc();
}

TEST(DocumentEngine, RemovedSetupDialogIsForgotten)
{
    Engine engine;
    {
        CancelledDialog dialog;
        engine.SetSetupDialog(&dialog);
    }
    EXPECT_EQ(engine.SetupDialog(), nullptr);
    engine.BeginDoc();
    EXPECT_TRUE(engine.IsDocumentStarted());
    engine.EndDoc();
}

TEST(DocumentEngine, EndDocWithoutDocumentLeavesTheStatus)
{
    Engine engine;
    engine.EndDoc();
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esNone);
    engine.BeginDoc();
    engine.EndDoc();
    engine.EndDoc();
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esFinished);
    EXPECT_EQ(Count(engine.Log, "end doc"), 1);
}

TEST(DocumentEngine, PagesToRenderSelectsPagesAndTheirEvents)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.SetPagesToRender("2,4-5");
    std::vector<std::string> events;
    TraceEvents(engine, events);
    engine.BeginDoc();
    for (int page = 1; page <= 5; ++page) {
        if (page > 1)
            engine.NewPage();
        engine.AddText(0, 0, "page " + std::to_string(page));
    }
    engine.EndDoc();
    std::vector<std::string> texts;
    for (const auto &line : engine.Log)
        if (line.rfind("text", 0) == 0)
            texts.push_back(line);
    EXPECT_EQ(texts, (std::vector<std::string>{"text page 2@0,0", "text page 4@0,0", "text page 5@0,0"}));
    EXPECT_EQ(events, (std::vector<std::string>{"before begin doc", "after begin doc", "before begin page 2",
                                                "after end page 2", "before begin page 4", "after end page 4",
                                                "before begin page 5", "after end page 5", "before end doc",
                                                "after end doc"}));
}

TEST(DocumentEngine, PagesToRenderEntries)
{
    const struct {
        const char *selection;
        std::vector<int> pages; // of pages 1 to 6
    } cases[] = {
        {"", {1, 2, 3, 4, 5, 6}},
        {"2,4-5", {2, 4, 5}},
        {"a,3", {3}},
        {"1 6", {1, 6}},
        {"\"2\", 5-5", {2, 5}},
        {"3-", {}},        // a range without its end names no page
        {"-3", {}},
        {"2-4-5", {}},
        {"5-3", {}},
        {"1x, 99999999999,4", {4}},
        {" , ,2", {2}},
    };
    for (const auto &c : cases) {
        Engine engine;
        engine.SetPagesToRender(c.selection);
        std::vector<int> selected;
        for (int page = 1; page <= 6; ++page)
            if (engine.IsPageToRender(page))
                selected.push_back(page);
        EXPECT_EQ(selected, c.pages) << c.selection;
    }
}

struct TempFolder {
    fs::path path;
    TempFolder()
    {
        path = fs::temp_directory_path() /
               ("tessaran_docexport_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
};

// Writes its output file as a real engine does: created at BeginDocOutput,
// recorded among the engine's files, written at EndDocOutput.
class FileEngine : public Engine {
public:
    std::string Target;
    std::vector<std::string> Attachments;
    std::unique_ptr<TStream> Output;

protected:
    void BeginDocOutput() override
    {
        Engine::BeginDocOutput();
        Output = CreateOutputFile(Target);
        AddEngineFileName(Target);
    }
    void EndDocOutput() override
    {
        Engine::EndDocOutput();
        Output->WriteBuffer("%PDF", 4);
        Output.reset();
    }
    void PrepareEmailAttachments() override
    {
        Engine::PrepareEmailAttachments();
        Attachments = EMailSettings().Attachments;
    }
};

TEST(DocumentEngine, FinishedFileIsOpenedWithTheShell)
{
    TempFolder folder;
    FileEngine engine;
    engine.Target = (folder.path / "report.pdf").string();
    std::vector<std::string> opened;
    TdeCustomDocumentEngine::ShellOpen = [&opened](const std::string &name) { opened.push_back(name); };
    engine.BeginDoc();
    engine.EndDoc();
    TdeCustomDocumentEngine::ShellOpen = nullptr;
    EXPECT_EQ(opened, std::vector<std::string>{engine.Target});
    EXPECT_TRUE(fs::exists(engine.Target));
}

TEST(DocumentEngine, AbortCreationDeletesTheFileAndReadsCancelled)
{
    TempFolder folder;
    FileEngine engine;
    engine.Target = (folder.path / "aborted.pdf").string();
    engine.Preferences().SetEmailAfterCreate(true);
    std::vector<std::string> opened;
    TdeCustomDocumentEngine::ShellOpen = [&opened](const std::string &name) { opened.push_back(name); };
    engine.BeginDoc();
    engine.AddText(0, 0, "written");
    EXPECT_TRUE(fs::exists(engine.Target));
    engine.SetAbortCreation(true);
    engine.NewPage();
    TdeCustomDocumentEngine::ShellOpen = nullptr;

    EXPECT_EQ(Count(engine.Log, "text written@0,0"), 1); // rendered and written...
    EXPECT_EQ(Count(engine.Log, "end doc"), 1);
    EXPECT_FALSE(fs::exists(engine.Target)); // ...then deleted
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(engine.Preferences().OpenAfterCreate());
    EXPECT_FALSE(engine.IsDocumentStarted());
    EXPECT_FALSE(engine.AbortCreation());
    // Nothing was produced: the outcome is not reported as a finished document.
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esCancelled);
    EXPECT_EQ(engine.Attachments, std::vector<std::string>{engine.Target});
    EXPECT_TRUE(engine.EMailSettings().Attachments.empty());
}

TEST(DocumentEngine, EmailStepPreparesAttachmentsAndLeavesTheListEmpty)
{
    TempFolder folder;
    FileEngine engine;
    engine.Target = (folder.path / "mailed.pdf").string();
    engine.Preferences().SetEmailAfterCreate(true);
    engine.EMailSettings().Attachments = {"earlier.txt"};
    engine.BeginDoc();
    engine.EndDoc();
    EXPECT_EQ(engine.Attachments, (std::vector<std::string>{"earlier.txt", engine.Target}));
    EXPECT_TRUE(engine.EMailSettings().Attachments.empty());
    EXPECT_TRUE(fs::exists(engine.Target));
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esFinished);
}

TEST(DocumentEngine, OutputFileThatCannotBeCreated)
{
    TempFolder folder;
    FileEngine engine;
    engine.Target = (folder.path / "missing" / "x.pdf").string();
    try {
        engine.BeginDoc();
        FAIL() << "expected EFileCreateError";
    } catch (const EFileCreateError &e) {
        EXPECT_STREQ(e.what(),
                     "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application");
    }
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esError);
    EXPECT_FALSE(engine.IsDocumentStarted());
    EXPECT_EQ(engine.PageCount(), 0);
    engine.Target = (folder.path / "x.pdf").string(); // the engine is usable again
    engine.BeginDoc();
    engine.EndDoc();
    EXPECT_TRUE(fs::exists(engine.Target));
}

TEST(DocumentEngine, EngineStatesSaveAndRestore)
{
    Engine engine;
    engine.Font().Size = 11;
    engine.BeginDoc(); // default state 0
    engine.Font().Size = 14;
    engine.Pen().Width = 3;
    engine.Page().SetLeftMargin(1);
    EXPECT_EQ(engine.SaveEngineState(), 1);
    engine.Font().Size = 20;
    engine.Page().SetLeftMargin(2);
    engine.TextEffects().TextRise = TdeTextRise::trSubscript;
    engine.RestoreEngineState(-1);
    EXPECT_EQ(engine.Font().Size, 14);
    EXPECT_EQ(engine.Pen().Width, 3);
    EXPECT_DOUBLE_EQ(engine.Page().LeftMargin(), 1);
    EXPECT_EQ(engine.TextEffects().TextRise, TdeTextRise::trNormal);
    EXPECT_THROW(engine.RestoreEngineState(2), EInvalidEngineState);
    EXPECT_THROW(engine.RestoreEngineState(-2), EInvalidEngineState);
    engine.RestoreEngineState(0);
    EXPECT_EQ(engine.Font().Size, 11);
    engine.Font().Size = 30;
    engine.ImageSettings().Center = true;
    engine.EndDoc();
    // Back to the values in force at BeginDoc.
    EXPECT_EQ(engine.Font().Size, 11);
    EXPECT_EQ(engine.Pen().Width, 1);
    EXPECT_DOUBLE_EQ(engine.Page().LeftMargin(), 0);
    EXPECT_FALSE(engine.ImageSettings().Center);
}

TEST(DocumentEngine, ClearedStatesStillLetTheDocumentFinish)
{
    Engine engine;
    engine.BeginDoc();
    engine.Font().Size = 30;
    engine.ClearEngineStates();
    EXPECT_THROW(engine.RestoreEngineState(-1), EInvalidEngineState);
    engine.EndDoc();
    EXPECT_EQ(engine.EngineStatus(), TdeEngineStatus::esFinished);
    EXPECT_FALSE(engine.IsDocumentStarted());
    EXPECT_EQ(engine.Font().Size, 30);
}

TEST(DocumentEngine, ErrorsGoToOnErrorMessageWhenAssigned)
{
    Engine engine;
    std::vector<std::string> messages;
    engine.OnErrorMessage = [&messages](TdeBaseComponent *, const std::exception &e) { messages.push_back(e.what()); };
    engine.SetWorkingPage(1); // idle, pages held: invalid page
    engine.BeginDoc();
    engine.RestoreEngineState(5);
    engine.SetWorkingPage(0);
    engine.SetWorkingPage(2);
    EXPECT_EQ(engine.CurrentPage(), 1);
    engine.EndDoc();
    EXPECT_EQ(messages, (std::vector<std::string>{"Invalid Page Number", "Not a valid Engine State identifier",
                                                  "Invalid Page Number", "Invalid Page Number"}));
}

TEST(DocumentEngine, SetWorkingPageDoesNothingWhenPagesAreStreamed)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.SetWorkingPage(7);
    engine.BeginDoc();
    engine.NewPage();
    engine.SetWorkingPage(1);
    engine.SetWorkingPage(99);
    EXPECT_EQ(engine.CurrentPage(), 2);
    engine.EndDoc();
    EXPECT_THROW(
        {
            Engine held;
            held.SetWorkingPage(1);
        },
        EInvalidPageNumber);
}

// An item of a kind the render order does not know.
struct UnknownItem : TdeDocumentItem {};

TEST(DocumentEngine, RenderOrderOfBandsAndItemKinds)
{
    Engine engine;
    engine.Page().SetTopMargin(0.5);
    TdeBorder border;
    border.DrawTop = true;
    engine.SetPageBorder(&border);
    engine.BeginDoc();
    engine.BeginStamp();
    engine.AddText(0, 0, "stamp");
    engine.EndStamp();
    engine.BeginFooter();
    engine.AddText(0, 0, "footer");
    engine.EndFooter();
    engine.BeginWaterMark();
    engine.AddText(0, 0, "watermark");
    engine.EndWaterMark();
    engine.BeginHeader();
    engine.AddText(0, 0, "header");
    engine.EndHeader();
    engine.Add<TdeTextBoxItem>()->Lines.Add(u"boxed");
    engine.Add<TdeImageStream>();
    engine.Add<TdeImageItem>();
    engine.Add<TdeClipItem>();
    engine.Add<TdePathItem>();
    engine.Add<TdeEOFItem>();
    engine.Add<UnknownItem>();
    engine.EndDoc();
    engine.SetPageBorder(nullptr);
    const std::vector<std::string> rendered(engine.Log.begin() + 2, engine.Log.end() - 1);
    EXPECT_EQ(rendered, (std::vector<std::string>{
                            "begin page 1", "line 0,48-793.6992,48 w1", "header text header@0,0",
                            "watermark text watermark@0,0", "box boxed", "jpeg", "image", "clip", "path", "eof",
                            "other", "eof", "footer text footer@0,0", "stamp text stamp@0,0", "end page 1"}));
}

TEST(DocumentEngine, HeaderBuiltOnceRendersOnEveryPageUnlessFirstPageOnly)
{
    for (bool firstPageOnly : {false, true}) {
        Engine engine;
        if (firstPageOnly)
            engine.FCapabilities.Include(TdeCapabilityKind::ckHeader);
        engine.Preferences().SetProcessAfterEachPage(true);
        engine.BeginDoc();
        engine.BeginHeader();
        engine.AddText(0, 0, "title");
        engine.EndHeader();
        engine.NewPage();
        engine.NewPage();
        engine.EndDoc();
        EXPECT_EQ(Count(engine.Log, "header text title@0,0"), firstPageOnly ? 1 : 3);
    }
}

TEST(DocumentEngine, PageEventsRebuildTheHeaderForEachPage)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    // Handlers reach the engine through its interface.
    IdeDocumentEngine &ide = engine;
    engine.OnBeforeBeginPage = [&ide](TdeBaseComponent *) { ide.ClearHeader(); };
    engine.OnAfterBeginPage = [&engine, &ide](TdeBaseComponent *) {
        ide.BeginHeader();
        engine.AddText(0, 0, "Page " + std::to_string(engine.CurrentPage()));
        ide.EndHeader();
    };
    engine.BeginDoc();
    engine.AddText(5, 5, "a");
    engine.NewPage();
    engine.AddText(5, 5, "b");
    engine.EndDoc();
    std::vector<std::string> rendered;
    for (const auto &line : engine.Log)
        if (line.find("text") != std::string::npos)
            rendered.push_back(line);
    EXPECT_EQ(rendered, (std::vector<std::string>{"header text Page 1@0,0", "text a@5,5", "header text Page 2@0,0",
                                                  "text b@5,5"}));
}

TEST(DocumentEngine, StreamedRecordingIsProcessedAtRenderAtTheBandOrigin)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.Page().SetTopMargin(1);
    engine.BeginDoc();
    engine.NewPage(); // renders page 1: its recording is processed then
    EXPECT_EQ(engine.Log[1], "metafile 794x1123 at 0,96");
    engine.SetPagesToRender("1");
    engine.NewPage(); // page 2 not rendered: its recording is dropped
    EXPECT_EQ(Count(engine.Log, "metafile 794x1123 at 0,96"), 1);
    engine.EndDoc();
}

TEST(DocumentEngine, ShapeItemsGoToTheirHookByType)
{
    Engine engine;
    engine.BeginDoc();
    const struct {
        TdeShapeType type;
        bool fill;
        int points;
    } shapes[] = {
        {TdeShapeType::stLine, false, 2},     {TdeShapeType::stRectangle, true, 2},
        {TdeShapeType::stRectangle, false, 2}, {TdeShapeType::stPolygon, false, 3},
        {TdeShapeType::stPolyLine, false, 4}, {TdeShapeType::stLine, false, 0},
        {TdeShapeType::stLine, false, 1},
    };
    for (const auto &c : shapes) {
        auto shape = std::make_unique<TdeShapeItem>(c.fill, c.type);
        shape->SetPoints(TdePoints(static_cast<std::size_t>(c.points), TdePoint{1, 2}));
        engine.AddItem(std::move(shape));
    }
    for (TdeShapeType first : {TdeShapeType::stPolygon, TdeShapeType::stPolyLine, TdeShapeType::stLine}) {
        auto poly = std::make_unique<TdePolyShapeItem>();
        poly->Shapes.push_back(std::make_unique<TdeShapeItem>(false, first));
        engine.AddItem(std::move(poly));
    }
    engine.AddItem(std::make_unique<TdePolyShapeItem>()); // no shapes: nothing
    engine.EndDoc();
    const std::vector<std::string> rendered(engine.Log.begin() + 3, engine.Log.end() - 2);
    EXPECT_EQ(rendered, (std::vector<std::string>{"line 1,2-1,2 w1", "filled rectangle", "rectangle", "polygon 3",
                                                  "polyline 4", "polyshape closed", "polyshape open", "eof"}));
}

// Sees the recordings handed to the metafile interpreter.
class InterpreterProbe : public Engine {
public:
    std::vector<std::string> Executed;
    using Engine::FCapabilities;

protected:
    void ExecuteMetafile(TMetafile &metafile, double startX, double startY) override
    {
        Executed.push_back(std::to_string(metafile.Width) + "x" + std::to_string(metafile.Height) + " at " +
                           FloatToPDFStr(startX) + "," + FloatToPDFStr(startY) +
                           (metafile.Empty() ? " empty" : " recorded"));
    }
};

TEST(DocumentEngine, PixelInputAtItsOwnResolutionIsReRecordedUnlessTheOutputAppliesIt)
{
    for (bool outputApplies : {false, true}) {
        InterpreterProbe engine;
        if (outputApplies)
            engine.FCapabilities.Include(TdeCapabilityKind::ckInputRes);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        engine.SetInputXRes(192);
        engine.SetInputYRes(192);
        engine.SetReferencePoint(TdeReferencePoint::rpPage);
        engine.BeginDoc();
        engine.Canvas()->Rectangle(10, 10, 100, 100);
        engine.EndDoc();
        ASSERT_EQ(engine.Executed.size(), 1u);
        EXPECT_EQ(engine.Executed[0], outputApplies ? "794x1123 at 0,0 recorded" : "397x561 at 0,0 recorded");
    }
}

TEST(DocumentEngine, FileNameDropsItsOwnExtensionOnly)
{
    const struct {
        const char *given;
        const char *stored;
    } cases[] = {{"report.pdf", "report"},   {"report.PDF", "report"}, {"report.txt", "report.txt"},
                 {"dir.pdf/report", "dir.pdf/report"}, {"report", "report"}};
    for (const auto &c : cases) {
        Engine engine;
        engine.SetFileExtension("pdf");
        engine.SetFileName(c.given);
        EXPECT_EQ(engine.FileName(), c.stored) << c.given;
    }
    Engine engine;
    engine.BeginDoc();
    engine.SetFileName("ignored");
    TMemoryStream stream;
    engine.SetUserStream(&stream);
    EXPECT_EQ(engine.FileName(), "");
    EXPECT_EQ(engine.UserStream(), nullptr);
    engine.EndDoc();
}

} // namespace
} // namespace tessaran
