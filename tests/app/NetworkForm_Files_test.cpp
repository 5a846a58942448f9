// The file commands: new, open, save, save as, the recent-file menu, and
// automatic saving with recovery and purging.
#include "Drawing_Fixture.h"

#include "app/Examples_Form.h"
#include "app/Machine_Identifier.h"
#include "app/Recent_File_Strings.h"
#include "platform/Stream.h"
#include "support/Scripted_User_Interface.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>

namespace tessaran::test {
namespace {

std::vector<std::uint8_t> networkBytes(TNetwork &network)
{
    TMemoryStream stream;
    network.Save(stream);
    return stream.Bytes();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString Overwrite = "File already exists. Do wish to overwrite? \r";
const QString NewTabQuestion = "Open New Grid on a New Tab?\r\r";
const QString IsometricQuestion = "Set grid display for Isometric Drawing?\r";
const QString RefusedFormat = "The file does not have the correct format and cannot be loaded.\r";

class FileCommands : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        ASSERT_TRUE(files.isValid());
    }
    QString filePath(const QString &name) const { return files.path() + "/" + name; }
    void addTwoTanks()
    {
        const int a = AddNodeAt(Net(), ox + 200, oy + 200, Tank);
        const int b = AddNodeAt(Net(), ox + 600, oy + 400, Tank);
        AddPipeBetween(Net(), a, b);
        // A render places the labels, as on the screen.
        form->RefreshScreen(true);
    }
    QString visibleRecentText(int item) const
    {
        QAction *action = form->RecentFile[static_cast<std::size_t>(item - 1)];
        return action->isVisible() ? action->text() : QString();
    }
    QString autoSavePath(const QString &baseName) const
    {
        std::string identifier = GetMacAddressString();
        if (identifier.empty())
            identifier = NoMachineIdentifier;
        return folder.path() + "/AutoSaveFiles/" + baseName + "_" + QString::fromStdString(identifier) + ".trz";
    }

    QTemporaryDir files; // where the user keeps networks
};

TEST_F(FileCommands, SaveAsThenSaveAsksEveryTimeAndRewritesTheSameBytes)
{
    addTwoTanks();
    const QString path = filePath("plant.trz");
    dialogs.FileNames.push_back(path);
    form->SaveAs1->trigger();
    ASSERT_EQ(dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs[0].Filter, "Tessaran Network (*.trz)");
    EXPECT_EQ(dialogs.FileDialogs[0].DefaultSuffix, "trz");
    const QByteArray first = fileBytes(path);
    ASSERT_FALSE(first.isEmpty());
    ExpectQuestion(Overwrite, false);
    form->Save1->trigger();
    ExpectQuestion(Overwrite, true);
    form->Save1->trigger();
    EXPECT_EQ(fileBytes(path), first);
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40 - plant.trz");
    EXPECT_FALSE(form->NetworkStates.SystemUpdatedSinceLoad);
}

TEST_F(FileCommands, SaveAsNamesTheTabAndTheListAndNoSaveRunsDuringASelection)
{
    addTwoTanks();
    const QString path = filePath("plant.trz");
    const QString refusal = "Files cannot be saved while there is an active selection.\r\r"
                            "Please complete your copy opertaion or clear the active selection.";
    form->NetworkStates.SelectionStatus = 1;
    dialogs.Expect(TDialogKind::Information, refusal);
    form->SaveAs1->trigger();
    dialogs.Expect(TDialogKind::Information, refusal);
    form->Save1->trigger();
    EXPECT_TRUE(dialogs.FileDialogs.empty());

    form->NetworkStates.SelectionStatus = 0;
    form->NetworkStates.SystemUpdatedSinceLoad = true;
    dialogs.FileNames.push_back(path);
    form->Save1->trigger(); // no name yet: Save As
    EXPECT_EQ(form->CurrentFilename, path.toStdString());
    EXPECT_EQ(form->TabControl1->tabText(0), "plant.trz");
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40 - plant.trz");
    EXPECT_FALSE(form->NetworkStates.SystemUpdatedSinceLoad);
    EXPECT_EQ(visibleRecentText(1), "1 " + path);
    EXPECT_EQ(visibleRecentText(2), "");
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);

    form->NetworkStates.SelectionStatus = 2;
    dialogs.Expect(TDialogKind::Information, refusal);
    const QByteArray saved = fileBytes(path);
    AddNodeAt(Net(), ox + 800, oy + 800);
    form->Save1->trigger();
    EXPECT_EQ(fileBytes(path), saved);
}

TEST_F(FileCommands, CancellingOpenLeavesDesignModeZoomedToFit)
{
    addTwoTanks();
    form->SetResultsMode();
    form->ScaleComboBox1->setCurrentIndex(0);
    form->ScaleComboBox1Click();
    form->MetaFileOffsetX = 0;
    form->MetaFileOffsetY = 0;
    dialogs.FileNames.push_back(std::nullopt);
    form->Open1->trigger();
    ASSERT_EQ(dialogs.FileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.FileDialogs[0].Folder, folder.path() + "/TessaranSystems");
    EXPECT_EQ(dialogs.FileDialogs[0].Filter, "Tessaran Network (*.trz)");
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_EQ(Net().GetNodeCount(), 2);
    const int index = form->ScaleComboBox1->currentIndex();
    const int x = form->MetaFileOffsetX, y = form->MetaFileOffsetY;
    EXPECT_NE(index, 0);
    form->ZoomtoFitonScreen1Click();
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), index);
    EXPECT_EQ(form->MetaFileOffsetX, x);
    EXPECT_EQ(form->MetaFileOffsetY, y);
}

TEST_F(FileCommands, AFileTheNetworkRefusesTakesNoNameSoSaveCannotOverwriteIt)
{
    // A network opened from a file first.
    addTwoTanks();
    const QString good = filePath("good.trz");
    Net().SaveToFile(good.toStdString());
    dialogs.FileNames.push_back(good);
    form->Open1->trigger();
    ASSERT_EQ(form->CurrentFilename, good.toStdString());

    const QString broken = filePath("broken.trz");
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a network");
    }
    dialogs.FileNames.push_back(broken);
    dialogs.Expect(TDialogKind::Information, RefusedFormat);
    form->Open1->trigger();
    EXPECT_EQ(Net().GetNodeCount(), 0);
    EXPECT_EQ(form->CurrentFilename, "");
    EXPECT_EQ(form->TabControl1->tabText(0), "No Name");
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40");
    EXPECT_EQ(visibleRecentText(1), "1 " + good);
    EXPECT_EQ(visibleRecentText(2), "");

    // Save now asks for a name; cancelled, neither file is touched.
    dialogs.FileNames.push_back(std::nullopt);
    form->Save1->trigger();
    EXPECT_EQ(fileBytes(broken), QByteArray("not a network"));

    // The same through the named-file load of the command line.
    const QByteArray goodBytes = fileBytes(good);
    form->LoadFileName(good.toStdString());
    ASSERT_EQ(Net().GetNodeCount(), 2);
    dialogs.Expect(TDialogKind::Information, RefusedFormat);
    form->LoadFileName(broken.toStdString());
    EXPECT_EQ(form->CurrentFilename, "");
    // A file that is not there at all.
    dialogs.Expect(TDialogKind::Information,
                   "An error occured while attempting to auto load the file which was clicked on. \r\r"
                   "Please check the file is valid or try to load it using File->Open.");
    form->LoadFileName(filePath("missing.trz").toStdString());
    EXPECT_EQ(form->CurrentFilename, "");
    EXPECT_EQ(fileBytes(good), goodBytes);
}

TEST_F(FileCommands, ARecentFileThatIsGoneKeepsTheNetworkAndItsName)
{
    addTwoTanks();
    const QString kept = filePath("kept.trz");
    const QString gone = filePath("gone.trz");
    dialogs.FileNames.push_back(gone);
    form->SaveAs1->trigger();
    dialogs.FileNames.push_back(kept);
    form->SaveAs1->trigger();
    ASSERT_TRUE(QFile::exists(kept));
    ASSERT_TRUE(QFile::remove(gone));
    EXPECT_EQ(visibleRecentText(2), "2 " + gone);

    dialogs.Expect(TDialogKind::Information,
                   "Cannot open " + gone + "\r\rFile may no longer exist or is not accessible?");
    form->RecentFile[1]->trigger();
    EXPECT_EQ(form->CurrentFilename, kept.toStdString());
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40 - kept.trz");
    EXPECT_EQ(Net().GetNodeCount(), 2);
    EXPECT_EQ(visibleRecentText(2), "2 " + gone);
}

TEST_F(FileCommands, ADrawnNetworkSavedThenReopenedFromTheRecentListIsTheSame)
{
    DrawTwoTanksAndAPipe();
    ASSERT_EQ(Pipes(), 1);
    const QString path = filePath("drawn.trz");
    dialogs.FileNames.push_back(path);
    form->SaveAs1->trigger();
    const QByteArray saved = fileBytes(path);
    ASSERT_FALSE(saved.isEmpty());
    const std::vector<std::uint8_t> drawn = networkBytes(Net());

    // New on the same tab, in plan view, takes the units of the buttons.
    form->RadioButtonImperialUnits->setChecked(true);
    ExpectQuestion(NewTabQuestion, false);
    ExpectQuestion("The current system will be closed. \rAny unsaved changes will be lost. \r\r"
                   "A new grid will be created with the Fluid set to Water.\r\r"
                   "Do you wish to continue with a new grid?",
                   true);
    ExpectQuestion(IsometricQuestion, false);
    form->FileNew1->trigger();
    EXPECT_EQ(Nodes(), 0);
    EXPECT_EQ(form->CurrentFilename, "");
    EXPECT_EQ(form->TabControl1->tabText(0), "No Name");
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40");
    EXPECT_EQ(Net().ConfigOptions.UnitOfLength, unt_ft);

    // The list file was written; a window started now reads it back.
    TRecentFileStrings stored("RecentFiles/RecentFiles.txt", 4, 50, GetMacAddressString());
    stored.LoadFile();
    EXPECT_EQ(stored.GetFileString(1), path.toStdString());

    form->RecentFile[0]->trigger();
    EXPECT_EQ(form->CurrentFilename, path.toStdString());
    EXPECT_EQ(form->TabControl1->tabText(0), "drawn.trz");
    EXPECT_EQ(networkBytes(Net()), drawn);
    EXPECT_TRUE(form->RadioButtonMetricUnits->isChecked());
    ExpectQuestion(Overwrite, true);
    form->Save1->trigger();
    EXPECT_EQ(fileBytes(path), saved);
}

TEST_F(FileCommands, NewOffersANewTabAndTheIsometricGrid)
{
    addTwoTanks();
    ExpectQuestion(NewTabQuestion, true);
    ExpectQuestion(IsometricQuestion, true);
    form->FileNewClick();
    EXPECT_EQ(form->TabCount(), 2);
    EXPECT_EQ(form->CurrentTabIndex, 2);
    EXPECT_EQ(form->TabControl1->tabText(1), "No Name");
    EXPECT_TRUE(Net().IsometricDrawing);
    EXPECT_EQ(form->Networks[1]->GetNodeCount(), 2);

    // With unsaved changes the current grid is given up only on Yes.
    AddNodeAt(Net(), ox, oy);
    form->NetworkStates.SystemUpdatedSinceLoad = true;
    ExpectQuestion(NewTabQuestion, false);
    ExpectQuestion("The current system will be closed. \rAny unsaved changes will be lost. \r\r"
                   "A new grid will be created with the Fluid set to Water.\r\r"
                   "Do you wish to continue with a new grid?",
                   false);
    form->FileNewClick();
    EXPECT_EQ(Nodes(), 1);
}

TEST_F(FileCommands, AutoSaveWritesTheCurrentNetworkBesideItsNameAndOnlyWithTheFolder)
{
    addTwoTanks();
    form->CurrentFilename = filePath("plant.v2.trz").toStdString();
    form->TimerAutoSaveTimer(); // no folder: nothing, silently
    EXPECT_FALSE(QDir(folder.path() + "/AutoSaveFiles").exists());

    ASSERT_TRUE(QDir(folder.path()).mkdir("AutoSaveFiles"));
    form->TimerAutoSaveTimer();
    const QString path = autoSavePath("plant.v2");
    ASSERT_TRUE(QFile::exists(path));
    TNetwork reloaded;
    TScriptedUserInterface quiet;
    reloaded.UserInterface = &quiet;
    TMemoryStream stream;
    stream.LoadFromFile(path.toStdString());
    ASSERT_TRUE(reloaded.Load(stream));
    EXPECT_EQ(networkBytes(reloaded), networkBytes(Net()));
    EXPECT_FALSE(form->NetworkStates.SystemUpdatedSinceLoad);

    // Recovery opens the folder and keeps the automatic-save name.
    form->CurrentFileDir = "Projects";
    dialogs.FileNames.push_back(path);
    form->OpenRecoverfromAutosaveFiles1->trigger();
    EXPECT_EQ(dialogs.FileDialogs.back().Folder, folder.path() + "/AutoSaveFiles/");
    EXPECT_EQ(form->CurrentFileDir, "Projects");
    EXPECT_EQ(form->CurrentFilename, path.toStdString());
    EXPECT_EQ(Nodes(), 2);
}

TEST_F(FileCommands, AutoSaveSkipsTheNetworkTheSolverIsWorkingOn)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("AutoSaveFiles"));
    addTwoTanks();
    TScriptedUserInterface solverPumps;
    int saved = -1;
    solverPumps.OnProcessMessages = [&] {
        if (saved < 0) {
            form->TimerAutoSaveTimer();
            saved = QFile::exists(autoSavePath("")) ? 1 : 0;
        }
    };
    Net().UserInterface = &solverPumps;
    Net().GetNode(1).Elevation_m = 30;
    Net().GetNode(2).Elevation_m = 10;
    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    Net().SolveNetwork(solved, solutionOk, log, privateLog);
    Net().UserInterface = &form->Messages;
    EXPECT_EQ(saved, 0);
    form->TimerAutoSaveTimer();
    EXPECT_TRUE(QFile::exists(autoSavePath("")));
}

TEST_F(FileCommands, AFailedAutoSaveSaysSoOnceUntilAPurge)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("AutoSaveFiles"));
    const QString autoSaveFolder = folder.path() + "/AutoSaveFiles";
    // A folder where the file should go makes every write fail.
    ASSERT_TRUE(QDir(autoSaveFolder).mkpath(QFileInfo(autoSavePath("")).fileName() + "/inside"));
    for (const char *name : {"older_1.trz", "notes.txt"}) {
        QFile file(autoSaveFolder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString failure =
        "Autosave of current file failed.\r\rAn exception occured when trying to autosave which could be caused by "
        "folder and file permission settings or the Auto Save Folder: " +
        autoSaveFolder + "/ may be full.\r\rPlease check the file permissions of the AutoSaveFiles folder and ensure "
                         "there is available disk space to save files.\r\rYou can use the option on the File Menu "
                         "to Purge the Auto Saved Files folder. ";
    dialogs.Expect(TDialogKind::Information, failure);
    form->TimerAutoSaveTimer();
    form->TimerAutoSaveTimer(); // silent now
    EXPECT_EQ(BoxesShown(), 3);

    ExpectQuestion("Are you sure you wish to purge/delete all Auto Saved Files?\r\r"
                   "Once removed, you will not be able to auto recover these systems\r"
                   "(this should not be a problem is you have the original systems saved).\r\r"
                   "Do you wish to remove the Auto Saved Files now?\r",
                   true);
    dialogs.Expect(TDialogKind::Information, "Purge of Auto Saved Files was successful.\r ");
    form->PurgeAutoSavedFiles1->trigger();
    EXPECT_TRUE(QDir(autoSaveFolder).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(autoSaveFolder).exists(QFileInfo(autoSavePath("")).fileName())); // folders stay

    // After the purge a failure is reported again.
    dialogs.Expect(TDialogKind::Information, failure);
    form->TimerAutoSaveTimer();
    EXPECT_TRUE(dialogs.AllShown());
}

TEST_F(FileCommands, TheCalculateHintShowsBesideExampleSystemsInDesignMode)
{
    const struct {
        const char *file;
        bool results;
        bool shown;
    } cases[] = {
        {"/opt/tessaran/ExampleSystems/Common_A.trz", false, true},
        {"/opt/tessaran/ExampleSystemsCompressible/Gases_B.trz", false, true},
        {"/opt/tessaran/ExampleSystems/Common_A.trz", true, false},
        {"/home/me/ExampleSystemsCopy.trz", false, false},
        {"", false, false},
    };
    for (const auto &c : cases) {
        form->CurrentFilename = c.file;
        form->ResultsMode = c.results;
        form->ClickCalculateTextOnOff();
        EXPECT_EQ(form->PanelClickCalculateText->isVisible(), c.shown) << c.file;
    }
    EXPECT_EQ(form->PanelClickCalculateText->geometry(), QRect(440, 2, 290, 23));
}

TEST_F(FileCommands, AnExampleSystemJoinsTheRecentFilesAndShowsTheCalculateHint)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("ExampleSystems"));
    const QString example = folder.path() + "/ExampleSystems/Common_A.trz";
    addTwoTanks();
    Net().SaveToFile(example.toStdString());
    Net().Clear();
    form->ExamplesForm->ExampleIndexLiquids = -1;
    ExpectQuestion("Note: Existing data on current tab will not be saved.\r\rLoad Next Example System on current "
                   "tab?\r",
                   true);
    form->BitBtnNextExampleClick();
    ASSERT_EQ(Nodes(), 2);
    EXPECT_EQ(form->RecentFileStrings->GetFileString(1), example.toStdString());
    EXPECT_TRUE(form->RecentFile[0]->isVisible());
    EXPECT_TRUE(form->PanelClickCalculateText->isVisible());
}

} // namespace
} // namespace tessaran::test
