#include "Main_Window_Fixture.h"

#include "app/Locale_Units.h"
#include "app/Splash_Screen_Form.h"
#include "app/Status_Bar.h"
#include "model/Fitting_Set_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "pumps/Pump_Database_Class.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

namespace tessaran::test {
namespace {

using StartUp = MainWindowTest;

TEST_F(StartUp, MissingFittingTablesAreReportedWithThePathAndStartUpGoesOn)
{
    // Both errors were expected by the fixture, in this order, naming the
    // file and the folder.
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_TRUE(form->FormInitialised);
    ASSERT_TRUE(form->FittingSet);
    EXPECT_EQ(form->FittingSet->FittingCount, 0);
    ASSERT_TRUE(form->PumpDatabase);
    EXPECT_EQ(form->PumpDatabase->pumpCount, 0);

    // The working state after the first show.
    EXPECT_EQ(form->windowTitle(), " Tessaran v7.40");
    EXPECT_EQ(form->CurrentTabIndex, 1);
    EXPECT_EQ(form->TabControl1->count(), 1);
    EXPECT_EQ(form->TabControl1->tabText(0), "No Name");
    for (int tab = 1; tab <= 4; ++tab)
        EXPECT_EQ(form->NetworkTabs[static_cast<std::size_t>(tab)].NetworkIndex, tab);
    EXPECT_EQ(form->CurrentNetwork, form->Networks[1].get());
    EXPECT_EQ(form->DrawingObject, DrawingPipeAdd);
    EXPECT_EQ(form->StatusBar1->Panels[2].Text,
              " Add Pipes: Left click to select node. Left Click to draw pipe. Right click to stop rubber banding.");
    EXPECT_FALSE(form->BitBtnQuickStartGuide->isVisibleTo(form.get()));
    EXPECT_TRUE(form->BitBtnLoadExamples->isVisibleTo(form.get()));
    EXPECT_EQ(form->TimerAutoSave->interval(), 300000);
    EXPECT_FALSE(form->CreatePDFCustomizedReport->isEnabled());
    for (int slot = 2; slot <= 17; ++slot)
        EXPECT_FALSE(form->Cursors[static_cast<std::size_t>(slot)].pixmap().isNull()) << slot;
}

TEST_F(StartUp, TheUsersCountryChoosesInchesOrMetres)
{
    struct Case {
        const char *locale;
        bool inches;
    };
    for (const Case &c : {Case{"en_US", true}, Case{"en_CA", true}, Case{"en_GB", false}, Case{"de_DE", false},
                          Case{"C", false}}) {
        const std::string code = CountryCodeText(QLocale(c.locale).territory());
        form->SetLengthUnitFromCountryCode(code);
        EXPECT_EQ(form->CurrentNetwork->ConfigOptions.UnitOfLength, c.inches ? unt_inch : unt_m) << c.locale;
        EXPECT_EQ(form->RadioButtonImperialUnits->isChecked(), c.inches) << c.locale;
        EXPECT_EQ(form->RadioButtonMetricUnits->isChecked(), !c.inches) << c.locale;
    }
}

TEST_F(StartUp, ClosingAsksAboutEveryTabWithUnsavedChanges)
{
    form->NewTab1Click();
    form->NewTab1Click(); // tabs 1, 2, 3; tab 3 current with nothing unsaved
    form->NetworkTabs[1].NetworkStates.SystemUpdatedSinceLoad = true;
    form->NetworkTabs[2].NetworkStates.SystemUpdatedSinceLoad = true;
    const QString question = "Any changes to the existing system that have not been saved will be lost.\r\r"
                             "Do you wish to continue to close the application?";

    ExpectQuestion(question, true);
    ExpectQuestion(question, false);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->CurrentTabIndex, 2); // the tab asked about is on view

    ExpectQuestion(question, true);
    ExpectQuestion(question, true);
    EXPECT_TRUE(form->close());
}

TEST_F(StartUp, ClosingWithNothingUnsavedAsksNothing)
{
    const int before = BoxesShown();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(BoxesShown(), before);
}

TEST_F(StartUp, TheExceptionHandlerOffersABackupAndReportsAFailedOne)
{
    const QString autoSave = folder.path() + "/AutoSaveFiles/";
    const QString question = "A backup of your current system is automatically saved periodically in\r\r" +
                             folder.path() + "/AutoSaveFiles\r\r" +
                             "Do you wish to also try and save your current system now as \r\r" + autoSave +
                             ".trz?\r\r";
    const QString closing = "The Tessaran application will now be closed.\r\r"
                            "You may then restart Tessaran and continue with your work.\r\r";
    // The folder is missing: the write fails and says so.
    ExpectQuestion(question, true);
    dialogs.Expect(TDialogKind::Information,
                   "Autosave of current file failed.\r\rCould not write the file:\r" + autoSave + ".trz");
    dialogs.Expect(TDialogKind::Information, closing);
    form->GlobalExceptionHandler(std::runtime_error("boom"));
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_FALSE(form->TimerAutoSave->isActive());

    // With the folder there, the network is written and loads back.
    ASSERT_TRUE(QDir(folder.path()).mkdir("AutoSaveFiles"));
    AddNodeAt(*form->CurrentNetwork, 400, 400, Tank);
    ExpectQuestion(question, true);
    dialogs.Expect(TDialogKind::Information, closing);
    form->GlobalExceptionHandler(std::runtime_error("boom"));
    EXPECT_TRUE(QFile::exists(autoSave + ".trz"));
}

TEST_F(StartUp, AFailureDuringACalculationClosesWithoutABackup)
{
    // The folder is there, so only the calculation keeps the question away:
    // the network then holds the solver's prepared links and stand-in items.
    ASSERT_TRUE(QDir(folder.path()).mkdir("AutoSaveFiles"));
    AddNodeAt(*form->CurrentNetwork, 400, 400, Tank);
    dialogs.Expect(TDialogKind::Information, "The Tessaran application will now be closed.\r\r"
                                             "You may then restart Tessaran and continue with your work.\r\r");
    bool handled = false;
    QTimer::singleShot(0, form.get(), [&] {
        EXPECT_TRUE(form->CurrentNetwork->IsCalculating());
        form->GlobalExceptionHandler(std::runtime_error("boom"));
        handled = true;
    });
    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    // The solver lets the window's events run as it starts.
    form->CurrentNetwork->SolveNetworkCompressibleIsothermalNodeAdjustments(solved, solutionOk, log, privateLog);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_FALSE(QFile::exists(folder.path() + "/AutoSaveFiles/.trz"));
}

TEST_F(StartUp, AboutShowsTheSplashUntilItsTimerOrAClick)
{
    QApplication::processEvents();
    form->About1Click();
    EXPECT_TRUE(form->SplashScreenForm->isVisible());
    EXPECT_EQ(form->TimerSplashOff->interval(), 6000);
    EXPECT_EQ(form->SplashScreenForm->LabelVersion->text(), "Version 7.40");
    form->SplashScreenForm->Image1Click();
    EXPECT_FALSE(form->TimerSplashOff->isActive());
    EXPECT_TRUE(form->SplashScreenForm->TimerFadeOut->isActive());
    EXPECT_EQ(form->SplashScreenForm->TimerFadeOut->interval(), 25);
    // 255 in steps of 12: 21 steps down, the 22nd closes.
    for (int tick = 0; tick < 21; ++tick)
        form->SplashScreenForm->TimerFadeOutTimer();
    EXPECT_EQ(form->SplashScreenForm->AlphaBlendValue(), 255 - 21 * 12);
    form->SplashScreenForm->TimerFadeOutTimer();
    EXPECT_EQ(form->SplashScreenForm->AlphaBlendValue(), 0);
    EXPECT_FALSE(form->SplashScreenForm->isVisible());
}

} // namespace
} // namespace tessaran::test

namespace tessaran::test {
namespace {

TEST(StartUpWithShippedData, TheFittingsAndPipeTablesLoadWithoutAMessage)
{
    SetProgramFolder(TESSARAN_SOURCE_DIR "/data");
    {
        TScriptedDialogs dialogs; // any other message box fails the test
        // The source tree is no installation: it has no folder for the recent-file list.
        dialogs.Expect(TDialogKind::Warning, "Warning: Could not access the recent files folder.\r\r"
                                             "Please ensure a folder named 'RecentFiles' exists in the folder "
                                             "where you installed your application.\r\r");
        auto form = std::make_unique<TNetworkForm>();
        form->CountryCode = "44";
        form->show();
        QApplication::processEvents();
        EXPECT_GT(form->FittingSet->FittingCount, 100);
        EXPECT_GT(form->PipeNominalSizeSet->PipeCount, 100);
        EXPECT_GT(form->PipeNominalSizeSet->MaterialCount, 5);
    }
    SetProgramFolder("");
}

} // namespace
} // namespace tessaran::test
