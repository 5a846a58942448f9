// The calculate command from the window: the refusals and questions before
// a solve, the lock-down while the solver runs with Stop and the progress
// display, and the window given back whole however the run ends.

#include "Main_Window_Fixture.h"

#include "app/Results_Log_Form.h"
#include "app/Status_Bar.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace tessaran::test {
namespace {

TEST(CalculationTiming, AnimationDelayAndTimerFollowTheNetworkSize)
{
    // Links -> frame delay (ms); no links must not divide by zero.
    const std::pair<int, int> delays[] = {{0, 50}, {1, 50}, {16, 50}, {17, 47}, {40, 20}, {80, 10}, {81, 20}};
    for (auto [links, delay] : delays)
        EXPECT_EQ(TNetworkForm::CalculationAnimationDelay(links), delay) << links << " links";
    const std::pair<int, int> intervals[] = {{2, 800}, {300, 800}, {301, 1500}, {500, 1500}, {501, 2500}};
    for (auto [nodes, interval] : intervals)
        EXPECT_EQ(TNetworkForm::CalculationTimerInterval(nodes), interval) << nodes << " nodes";
}

// Passes the network's boxes and questions on to the window's own service
// and lets a test act inside the solver's event pumping.
class TPumpWatch : public TUserInterfaceSeam {
public:
    explicit TPumpWatch(TUserInterfaceSeam &inner) : inner_(inner) {}
    void ShowMessage(TMessageKind kind, const std::string &text) override { inner_.ShowMessage(kind, text); }
    bool AskYesNo(TMessageKind kind, const std::string &text) override { return inner_.AskYesNo(kind, text); }
    void ProcessMessages() override
    {
        ++Pumps;
        if (OnPump)
            OnPump();
        inner_.ProcessMessages();
    }
    int TestResultsMode() const override { return 0; }
    std::function<void()> OnPump;
    int Pumps = 0;

private:
    TUserInterfaceSeam &inner_;
};

class CalculateCommand : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        form->ResultsLogForm->ModalRunner = [this](TResultsLogForm &log) {
            LogShown = true;
            LogText = log.MemoLog->toPlainText().toStdString();
            Summary = log.LabelResultsMessage->text().toStdString();
            // The menu, the tabs and the tools are back before the log opens.
            RestoredBeforeLog = WindowGivenBack(false);
            QTest::mouseClick(log.ButtonOk->isVisibleTo(&log) ? log.ButtonOk : log.BitBtnViewDrawing,
                              Qt::LeftButton);
        };
    }

    TNetwork &Net() { return *form->CurrentNetwork; }

    int Tank(int x, int y, double elevation)
    {
        const int id = AddNodeAt(Net(), x, y, ::tessaran::Tank);
        Net().GetNode(id).Elevation_m = elevation;
        return id;
    }
    int Joint(int x, int y, double elevation)
    {
        const int id = AddNodeAt(Net(), x, y, ::tessaran::Joint);
        Net().GetNode(id).Elevation_m = elevation;
        return id;
    }
    int Pipe(int from, int to, double length_m, int zone = 1)
    {
        TPipe pipe;
        pipe.Copy(*Net().ConfigOptions.DefaultPipe);
        pipe.FluidZoneIndex = zone;
        pipe.Length_m = length_m;
        return Net().AddPipeLink(from, to, pipe);
    }
    // Two tanks 20 m apart in height joined by one pipe.
    void TwoTanks()
    {
        const int high = Tank(4000, 4000, 30);
        const int low = Tank(4400, 4200, 10);
        Pipe(high, low, 100);
    }

    void ExpectNoSizeTables()
    {
        dialogs.Expect(TDialogKind::Warning,
                       "Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                       "start up.\r\rUser needs full read/write permission to the file:\r" +
                           folder.path() +
                           "/PipeTables/PipeNominalSizeSet.trns\r\rPlease correct this issue and restart the "
                           "software.\r\rCalculations will run WITHOUT automatic fitting updates.\r");
    }

    // Whether the window is usable again (and, with the calculate button,
    // wholly so).
    bool WindowGivenBack(bool withCalculateButton) const
    {
        bool ok = form->TabControl1->isEnabled() && form->SpeedButtonNewTab->isEnabled() &&
                  form->NetworkImage->isEnabled() && form->LeftPanel1->isEnabled() &&
                  form->ToolBar1->isEnabled() && form->PanelDrawingToolbar->isEnabled() &&
                  !form->MainMenuBlank->menuAction()->isVisible() && !form->PanelCalculating->isVisible();
        for (QAction *item : form->menuBar()->actions())
            if (item->menu() && item->menu() != form->MainMenuBlank)
                ok = ok && item->isVisible() && item->menu()->isEnabled();
        if (withCalculateButton)
            ok = ok && form->BitBtnCalculate->isEnabled() && form->ToolBar2->isEnabled() &&
                 !form->TimerCalculating->isActive() && !form->CalculationRunning;
        return ok;
    }

    QString StatusText(int panel) const { return form->StatusBar1->Panels[static_cast<std::size_t>(panel)].Text; }

    bool LogShown = false;
    bool RestoredBeforeLog = false;
    std::string LogText;
    std::string Summary;
};

TEST_F(CalculateCommand, TwoTanksAreSolvedThenReDesignReturnsToDesignMode)
{
    TwoTanks();
    ExpectNoSizeTables();
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    ASSERT_TRUE(dialogs.AllShown());
    ASSERT_TRUE(LogShown);
    EXPECT_TRUE(RestoredBeforeLog);
    EXPECT_EQ(Summary.rfind("The network was solved successfully.", 0), 0u) << Summary;
    EXPECT_NE(LogText.find("Tessaran - Results Log"), std::string::npos);
    EXPECT_NE(LogText.find("Calculation Engine:"), std::string::npos);
    EXPECT_NE(LogText.find("Start Calculations"), std::string::npos);
    EXPECT_GT(Net().GetPipe(Net().GetNextPipeId(0)).FlowUncompressed_m3s, 0.001);

    EXPECT_TRUE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "RE-DESIGN");
    EXPECT_TRUE(WindowGivenBack(true));
    EXPECT_TRUE(form->BitBtnResultsTable->isEnabled());
    EXPECT_TRUE(form->BitBtnShowLog->isEnabled());
    EXPECT_FALSE(form->ToolButtonTank1->isEnabled());
    EXPECT_TRUE(form->PanelResultsKey->isVisible());
    EXPECT_EQ(form->StatusBarHintColor, 0x00FFFFu);
    EXPECT_EQ(StatusText(0), "  Results Mode");
    EXPECT_EQ(StatusText(2).toStdString(),
              " " + Net().ConfigOptions.GetMethodOfSolutionAndCalculationString());

    // "Show Log" shows the same log again.
    LogShown = false;
    QTest::mouseClick(form->BitBtnShowLog, Qt::LeftButton);
    EXPECT_TRUE(LogShown);
    EXPECT_NE(LogText.find("Start Calculations"), std::string::npos);

    // RE-DESIGN: back to design mode without a check or a question.
    const int boxes = BoxesShown();
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    EXPECT_EQ(BoxesShown(), boxes);
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "CALCULATE");
    EXPECT_TRUE(form->ToolButtonTank1->isEnabled());
    EXPECT_FALSE(form->BitBtnResultsTable->isEnabled());
    EXPECT_FALSE(form->PanelResultsKey->isVisible());
    EXPECT_TRUE(WindowGivenBack(true));
}

TEST_F(CalculateCommand, LiquidAndGasZonesAreRefusedWithoutAQuestion)
{
    TwoTanks();
    Net().FluidZones[2].Fluid = Net().FluidZones[1].Fluid;
    Net().FluidZones[2].Fluid.FluidIsGas = true;
    const int a = Joint(4000, 4400, 0);
    const int b = Joint(4400, 4400, 0);
    Pipe(a, b, 50, 2);
    dialogs.Expect(TDialogKind::Information,
                   "The system contains some fluid zones that are liquids and some that are gases.\r\rA system must "
                   "have all fluid zones defined as either liquid or gas.\r\rA system cannot be solved when both "
                   "liquid and gas data is present in the same system.\r");
    form->BitBtnCalculateClick();
    EXPECT_EQ(BoxesShown(), 3); // the two start-up boxes and the refusal
    EXPECT_FALSE(LogShown);
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "CALCULATE");
    EXPECT_TRUE(WindowGivenBack(true));
}

TEST_F(CalculateCommand, StopPressedWhileTheSolverPumpsEndsUnsolved)
{
    TwoTanks();
    TPumpWatch watch(form->Messages);
    Net().UserInterface = &watch;
    bool lockedDuringSolve = false, closeRefused = false;
    form->ToolButtonTank1Click();
    watch.OnPump = [&] {
        // A press with the tank tool adds nothing while the solver runs.
        QTest::mouseClick(form->NetworkImage, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        lockedDuringSolve = !form->TabControl1->isEnabled() && !form->ToolBar1->isEnabled() &&
                            !form->PanelDrawingToolbar->isEnabled() && !form->BitBtnCalculate->isEnabled() &&
                            form->MainMenuBlank->menuAction()->isVisible() && form->PanelCalculating->isVisible() &&
                            form->TimerCalculating->isActive();
        // Closing the window now would free the network under the solver.
        closeRefused = !form->close() && form->isVisible();
        QTest::mouseClick(form->ButtonStopCalculating, Qt::LeftButton);
    };
    ExpectNoSizeTables();
    form->BitBtnCalculateClick();
    Net().UserInterface = &form->Messages;
    EXPECT_GT(watch.Pumps, 0);
    EXPECT_TRUE(lockedDuringSolve);
    EXPECT_TRUE(closeRefused);
    EXPECT_EQ(Net().GetNodeCount(), 2);
    ASSERT_TRUE(LogShown);
    EXPECT_NE(LogText.find("*** Calculation Stopped. System was not solved."), std::string::npos);
    EXPECT_NE(LogText.find("Network was not solved."), std::string::npos);
    EXPECT_EQ(Summary, "The network was not solved.");
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "CALCULATE");
    EXPECT_TRUE(RestoredBeforeLog);
    EXPECT_TRUE(WindowGivenBack(true));

    // The stop belonged to that run: the next one solves.
    ExpectNoSizeTables();
    LogShown = false;
    form->BitBtnCalculateClick();
    EXPECT_TRUE(LogShown);
    EXPECT_TRUE(form->ResultsMode);
}

TEST_F(CalculateCommand, AnExceptionDuringTheSolveGivesTheWholeWindowBack)
{
    TwoTanks();
    TPumpWatch watch(form->Messages);
    Net().UserInterface = &watch;
    watch.OnPump = [] { throw std::runtime_error("solver failed"); };
    ExpectNoSizeTables();
    EXPECT_THROW(form->BitBtnCalculateClick(), std::runtime_error);
    Net().UserInterface = &form->Messages;
    EXPECT_FALSE(LogShown);
    EXPECT_TRUE(WindowGivenBack(true));
    EXPECT_EQ(form->BitBtnCalculate->text(), "CALCULATE");
}

TEST_F(CalculateCommand, PipeLengthQuestionsGoPipeByPipeUntilCancel)
{
    // Each pipe is shorter than the rise between its ends.
    const int top = Tank(4000, 4000, 100);
    const int middle = Joint(4400, 4000, 0);
    const int bottom = Tank(4800, 4000, 50);
    const int first = Pipe(top, middle, 10);
    const int second = Pipe(middle, bottom, 5);
    auto question = [&](int fromLink, int &link) {
        bool ok = true;
        std::string message;
        int pipe = 0;
        Net().IsNetworkOkForPipeLengths(fromLink, ok, message, pipe, link);
        return QString::fromStdString(message) +
               "\r\rAutomatically update pipe length to difference in start and end elevation?\r\r(choose "
               "'Cancel' to stop further checks of pipe length)\r\r";
    };
    int link1 = 0, link2 = 0;
    const QString ask1 = question(1, link1);
    const QString ask2 = question(link1 + 1, link2);
    ASSERT_NE(ask1, ask2);

    struct Case {
        std::vector<TDialogButton> Answers;
        double FirstLength, SecondLength;
        const char *LogLine;
    };
    const Case cases[] = {
        {{DialogNo, DialogCancel}, 10, 5, " [not changed] is less than diff in start and end elevation."},
        {{DialogCancel}, 10, 5, nullptr},
        {{DialogYes, DialogNo}, 100, 5, "Length changed from "},
    };
    for (const Case &c : cases) {
        Net().GetPipe(first).Length_m = 10;
        Net().GetPipe(second).Length_m = 5;
        ExpectNoSizeTables();
        dialogs.Expect(TDialogKind::Confirmation, ask1, c.Answers[0]);
        if (c.Answers.size() > 1)
            dialogs.Expect(TDialogKind::Confirmation, ask2, c.Answers[1]);
        LogShown = false;
        form->BitBtnCalculateClick();
        EXPECT_TRUE(dialogs.AllShown());
        EXPECT_DOUBLE_EQ(Net().GetPipe(first).Length_m, c.FirstLength);
        EXPECT_DOUBLE_EQ(Net().GetPipe(second).Length_m, c.SecondLength);
        if (c.LogLine) {
            EXPECT_NE(LogText.find(c.LogLine), std::string::npos) << LogText;
        }
        if (form->ResultsMode)
            form->BitBtnCalculateClick(); // back to design mode
    }
}

TEST_F(CalculateCommand, AGasSystemShowsPressureLossInAGaugeUnit)
{
    // One gas pipe between two joints: nothing holds the pressure, so the
    // run ends at the validity check after the fix-ups.
    Net().FluidZones[1].Fluid.FluidIsGas = true;
    const int a = Joint(4000, 4000, 0);
    const int b = Joint(4400, 4000, 0);
    Pipe(a, b, 100);
    bool ok = true;
    std::string refusal;
    int zoomPipe = 0, zoomNode = 0;
    Net().IsNetworkOkToCalculate(ok, refusal, zoomPipe, zoomNode);
    ASSERT_FALSE(ok);

    struct Case {
        TUnit From, To;
    };
    for (const Case &c : {Case{unt_m_hd_fluid, unt_Bar_G}, Case{unt_ft_hd_fluid, unt_Psi_G},
                          Case{unt_kPa_G, unt_kPa_G}, Case{unt_Psi_G, unt_Psi_G}}) {
        SCOPED_TRACE(unitName(c.From));
        Net().ConfigOptions.MethodOfSolution = CompressibleNodeAdjust;
        Net().ConfigOptions.ShowPipeFlowRate = false;
        Net().ConfigOptions.UnitOfPressureLoss = c.From;
        ExpectNoSizeTables();
        if (c.From != c.To) {
            const QString from = QString::fromStdString(unitPlainName(c.From));
            const QString to = QString::fromStdString(unitPlainName(c.To));
            dialogs.Expect(TDialogKind::Information,
                           "Configuration Options => Units:\r\rPressure Loss is set to show in " + from +
                               ".\r\rThis will be updated to show in " + to +
                               ".\r\rNote:\r\rPressure loss for a gas system, when reported in " + from +
                               "\rwould refer to the pressure loss in terms of height of the fluid\rat the specified "
                               "fluid zone density, but actual density of the gas\rwill vary throughout the system, "
                               "therefore it is better to report\rpressure loss in a none relative and consistent "
                               "unit.\r\r");
        }
        dialogs.Expect(TDialogKind::Information, QString::fromStdString(refusal));
        form->BitBtnCalculateClick();
        EXPECT_TRUE(dialogs.AllShown());
        EXPECT_EQ(Net().ConfigOptions.UnitOfPressureLoss, c.To);
        EXPECT_FALSE(LogShown);
        EXPECT_FALSE(form->ResultsMode);
        EXPECT_TRUE(WindowGivenBack(true));
    }
}

TEST_F(CalculateCommand, AnInvalidSolutionIsShownOnlyWhenTheUserAsks)
{
    // A siphon over a summit 90 m above the supply: the summit's pressure
    // falls below absolute zero, so the solution is not valid.
    const int supply = Tank(4000, 4000, 10);
    const int summit = Joint(4400, 4000, 100);
    const int outlet = Tank(4800, 4000, 0);
    Pipe(supply, summit, 200);
    Pipe(summit, outlet, 200);
    const QString question = "The network was NOT SOLVED to an accurate solution.\r\rDo you wish to view the "
                             "INVALID solution for troubleshooting purposes?\r";
    for (const bool view : {false, true}) {
        SCOPED_TRACE(view);
        ExpectNoSizeTables();
        ExpectQuestion(question, view);
        LogShown = false;
        form->BitBtnCalculateClick();
        ASSERT_TRUE(dialogs.AllShown());
        ASSERT_TRUE(LogShown);
        EXPECT_EQ(form->ResultsMode, view);
        EXPECT_EQ(form->PanelInvalidSolution->isVisible(), view);
        if (view) {
            EXPECT_EQ(Summary.rfind("INVALID SOLUTION: ", 0), 0u) << Summary;
            EXPECT_EQ(form->BitBtnCalculate->text(), "RE-DESIGN");
            form->BitBtnCalculateClick(); // back to design mode
            EXPECT_FALSE(form->PanelInvalidSolution->isVisible());
        } else {
            EXPECT_EQ(Summary, "The network was not solved.");
            EXPECT_NE(LogText.find("Network was not solved."), std::string::npos);
        }
        EXPECT_TRUE(WindowGivenBack(true));
    }
}

TEST_F(CalculateCommand, ProgressTimerBlinksCountsAndStopsWhenTheSolverIsDone)
{
    TwoTanks();
    const int pipe = Net().GetNextPipeId(0);
    auto background = [&] { return form->LabelCalculatingUpdate->palette().color(QPalette::Window); };
    const QColor lightBlue(241, 250, 255), yellow(255, 255, 0);
    ASSERT_EQ(background(), lightBlue);
    form->TimerCalculating->start(800);
    Net().CalculatingString = "Solving Network Equations...";
    form->TimerCalculatingTimer();
    EXPECT_EQ(background(), yellow);
    EXPECT_TRUE(form->PanelCalculating->isVisible());
    EXPECT_EQ(form->LabelIterationCount->text(), "Iteration " + QString::number(Net().getIterationCountTotal()));
    EXPECT_EQ(form->LabelCalculatingUpdate->text(), "Solving Network Equations...");
    form->TimerCalculatingTimer();
    EXPECT_EQ(background(), lightBlue);
    EXPECT_TRUE(form->TimerCalculating->isActive());

    // The solver asks to show a pipe: the panel steps aside.
    Net().HighlightPipeIdForNetworkFormTimer = pipe;
    form->TimerCalculatingTimer();
    EXPECT_EQ(form->NetworkStates.CurrentPipeIdSelected, pipe);
    EXPECT_FALSE(form->PanelCalculating->isVisible());
    EXPECT_EQ(background(), lightBlue);

    // No activity text: the last tick stops the timer.
    Net().HighlightPipeIdForNetworkFormTimer = 0;
    Net().CalculatingString.clear();
    form->TimerCalculatingTimer();
    EXPECT_FALSE(form->TimerCalculating->isActive());
}

} // namespace
} // namespace tessaran::test
