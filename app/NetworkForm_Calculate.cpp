// The calculate command: the checks and fix-ups before a solve, the window
// locked down with the progress panel and its Stop button while the solver
// runs, and the way to the results (or back to design mode).
#include "app/NetworkForm.h"

#include "app/Program_Folder.h"
#include "app/Results_Log_Form.h"
#include "app/Status_Bar.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

namespace tessaran {

namespace {

constexpr TColor Yellow = 0x00FFFF;
const QColor LightBlueColour(241, 250, 255);
const QColor YellowColour(255, 255, 0);

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

template <typename Widget> Widget *placed(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

void writeLogHeader(TResultsLog &log)
{
    LogAddBreakLine(log);
    log.Add("Tessaran - Results Log");
    LogAddBreakLine(log);
}

} // namespace

int TNetworkForm::CalculationAnimationDelay(int NodeLinksCount)
{
    // A network without links animates as slowly as the smallest one.
    int delay = NodeLinksCount > 0 ? 800 / NodeLinksCount : 50;
    if (delay > 50)
        delay = 50;
    if (delay < 10)
        delay = 20;
    return delay;
}

int TNetworkForm::CalculationTimerInterval(int NodeCount)
{
    if (NodeCount > 500)
        return 2500;
    if (NodeCount > 300)
        return 1500;
    return 800;
}

void TNetworkForm::createCalculationComponents()
{
    BitBtnCalculate = new QPushButton("CALCULATE", ToolBar1);
    BitBtnCalculate->setObjectName("BitBtnCalculate");
    QFont bold = BitBtnCalculate->font();
    bold.setBold(true);
    BitBtnCalculate->setFont(bold);
    if (auto *row = qobject_cast<QHBoxLayout *>(ToolBar1->layout()))
        row->insertWidget(row->indexOf(BitBtnResultsTable), BitBtnCalculate);
    BitBtnResultsTable->setText("Results Sheet");
    BitBtnShowLog->setText("Show Log");
    connect(BitBtnCalculate, &QPushButton::clicked, this, &TNetworkForm::BitBtnCalculateClick);
    connect(BitBtnShowLog, &QPushButton::clicked, this, &TNetworkForm::BitBtnShowLogClick);
    connect(BitBtnResultsTable, &QPushButton::clicked, this, &TNetworkForm::BitBtnResultsTableClick);

    // The progress panel floats over the drawing: a black frame round a
    // light blue panel.
    PanelCalculating->setParent(ScrollBox1);
    PanelCalculating->resize(350, 152);
    setBackground(PanelCalculating, Qt::black);
    PanelCalculating2->setGeometry(2, 2, 346, 148);
    LabelCalculating = placed(new QLabel("Calculating Results...", PanelCalculating2), "LabelCalculating",
                              {12, 8, 220, 20});
    LabelCalculating->setFont(bold);
    LabelIterationCount = placed(new QLabel("Iteration 0", PanelCalculating2), "LabelIterationCount",
                                 {240, 8, 100, 20});
    GroupBoxCalculating->setParent(PanelCalculating2);
    GroupBoxCalculating->setGeometry(12, 34, 322, 60);
    LabelCalculatingUpdate->setGeometry(8, 8, 306, 44);
    LabelCalculatingUpdate->setText("Calculating");
    LabelCalculatingUpdate->setWordWrap(true);
    ButtonStopCalculating = placed(new QPushButton("Stop", PanelCalculating2), "ButtonStopCalculating",
                                   {133, 106, 80, 30});
    connect(ButtonStopCalculating, &QPushButton::clicked, this, &TNetworkForm::ButtonStopCalculatingClick);
    PanelCalculating->hide();

    PanelInvalidSolution->setParent(ScrollBox1);
    PanelInvalidSolution->setGeometry(0, 0, 420, 44);
    setBackground(PanelInvalidSolution, Qt::red);
    auto *invalid = placed(new QLabel("Solution is NOT VALID", PanelInvalidSolution), "LabelInvalidSolution",
                           {8, 2, 404, 20});
    invalid->setFont(bold);
    placed(new QLabel("Values shown are for troubleshooting only", PanelInvalidSolution), "LabelInvalidSolution2",
           {8, 22, 404, 20});
    for (QLabel *label : PanelInvalidSolution->findChildren<QLabel *>()) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(colours);
    }
    PanelInvalidSolution->hide();

    // While solving, the menu bar shows one item.
    MainMenuBlank = new QMenu("Calculating", this);
    MainMenuBlank->setObjectName("MainMenuBlank");
    menuBar()->addMenu(MainMenuBlank);
    MainMenuBlank->menuAction()->setVisible(false);

    connect(TimerCalculating, &QTimer::timeout, this, &TNetworkForm::TimerCalculatingTimer);
    ResultsLogForm = new TResultsLogForm(this);
    createResultsKeys();
    UpdateResultsColorKey = [this](QImage &image, int textSize, TColor textColour, TColor axisColour, int tick) {
        DrawResultsColorKey(image, textSize, textColour, axisColour, tick);
    };
}

void TNetworkForm::ButtonStopCalculatingClick()
{
    if (CurrentNetwork)
        CurrentNetwork->StopCalculating = true;
}

namespace {

// The window's commands are locked away while the solver runs: the tabs,
// the example buttons, the tools and the menu (one "Calculating" item).
// The drawing and the side panels go too: a press with a placing tool or
// an edit in a panel would change the network under the solver.
void lockDown(TNetworkForm &form, bool locked)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             form.TabControl1, form.SpeedButtonNewTab, form.BitBtnLoadExamples, form.BitBtnNextExample,
             form.PanelDrawingToolbar, form.ToolBar1, form.NetworkImage, form.LeftPanel1})
        control->setEnabled(!locked);
    for (QAction *item : form.menuBar()->actions()) {
        if (item == form.MainMenuBlank->menuAction()) {
            item->setVisible(locked);
            continue;
        }
        if (!item->menu())
            continue;
        item->setVisible(!locked);
        item->menu()->setEnabled(!locked);
    }
}

} // namespace

void TNetworkForm::TimerCalculatingTimer()
{
    TNetwork &net = *CurrentNetwork;
    auto render = [&](bool animate, int frame) {
        MetaFileDrawing->DrawMetaFileFromNetwork(net, NetworkStates, true, false, animate, frame, true);
        DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
        NetworkImage->repaint();
    };
    if (net.HighlightPipeIdForNetworkFormTimer != 0) {
        NetworkStates.CurrentPipeIdSelected = net.HighlightPipeIdForNetworkFormTimer;
        NetworkStates.CurrentNodeIdSelected = 0;
        PanelCalculating->hide();
        render(false, 0);
    } else {
        PanelCalculating->show();
        PanelCalculating->raise();
        const QColor now = LabelCalculatingUpdate->palette().color(QPalette::Window);
        if (now == YellowColour) {
            setBackground(LabelCalculatingUpdate, LightBlueColour);
            render(true, 1);
        } else if (now == LightBlueColour) {
            setBackground(LabelCalculatingUpdate, YellowColour);
            render(true, 0);
        }
    }
    LabelIterationCount->setText("Iteration " + QString::number(net.getIterationCountTotal()));
    LabelCalculatingUpdate->setText(QString::fromStdString(net.CalculatingString));
    PanelCalculating2->repaint();
    if (net.CalculatingString.empty()) {
        render(false, 0);
        TimerCalculating->stop();
    }
}

void TNetworkForm::StatusBarShowCalculationEngine()
{
    StatusBar1->SetPanelText(0, ResultsMode ? "  Results Mode" : "  Design Mode");
    StatusBar1->SetPanelText(1, " ");
    StatusBar1->SetPanelText(2, " ");
    try {
        StatusBar1->SetPanelText(
            2, QString::fromStdString(" " + CurrentNetwork->ConfigOptions.GetMethodOfSolutionAndCalculationString()));
    } catch (const std::exception &) {
        StatusBar1->SetPanelText(2, " ");
    }
}

namespace {

// Steps before the solve that may change the network: sizes, fittings, pipe
// lengths, items at the ends of their pipes, and the engine for the fluid.
// False when the network cannot be calculated (the user has been told).
bool prepareForSolve(TNetworkForm &form, TResultsLog &log)
{
    TNetwork &net = *form.CurrentNetwork;
    TConfigOptions &options = net.ConfigOptions;
    auto info = [&](TMessageKind kind, const std::string &text) { form.Messages.ShowMessage(kind, text); };
    auto ask = [&](const std::string &text) { return form.Messages.AskYesNo(TMessageKind::Confirmation, text); };

    double temperature = 0, pressure = 0;
    gasStandardConditions(options.GasFlowTemperaturePressureModel, temperature, pressure);
    net.GasModel_Std_Temp_degrees_k = temperature;
    net.GasModel_Std_Pressure_Pa_a = pressure;
    net.SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
    net.SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();
    net.SetAllComponentEquivalentMassFlowRates();
    net.SetAllFlowControlEquivalentMassFlowRates();
    net.SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
    net.SetEquivalentMassFlowRateFromVolumeFlowForAllPumpPoints();
    log.Clear();
    writeLogHeader(log);

    // Pipe and fitting sizes against the size tables.
    if (!form.PipeNominalSizeSet || form.PipeNominalSizeSet->PipeCount < 1) {
        info(TMessageKind::Warning,
             std::string("Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                         "start up.\r\rUser needs full read/write permission to the file:\r") +
                 ProgramFolder() + "PipeTables" + "/" + "PipeNominalSizeSet.trns" + "\r\r" +
                 "Please correct this issue and restart the software." + "\r\r" +
                 "Calculations will run WITHOUT automatic fitting updates." + "\r");
    } else {
        bool consistent = true;
        net.CheckPipeSizesConsistent(consistent, log, true);
        if (!consistent &&
            ask("The Outer Diameter and Wall Thickness of some pipes is not consistent with the Internal "
                "Diameter.\r\rUpdate the Outer Diameters, Wall Thicknesses & Nominal Sizes to make the pipe data "
                "consistent?\r(Recommended)")) {
            log.Clear();
            writeLogHeader(log);
            net.UpdatePipeWallThicknessAndOuterDiameters(*form.PipeNominalSizeSet, log, true);
        }
        net.UpdateNominalPipeSizes(*form.PipeNominalSizeSet);
        bool fittingsMatch = true;
        net.CheckFittingSizesConsistent(fittingsMatch, log, false);
        if (fittingsMatch) {
            net.ReportBespokeFittings(log);
        } else if (ask("The network has fittings with nominal sizes that do not match the pipe's nominal "
                       "size.\r\rDo you wish to automatically update the fitting sizes?\r")) {
            net.UpdateFittingsToMatchPipeSizes(*form.FittingSet, log, true);
            net.CheckFittingSizesConsistent(fittingsMatch, log, true);
            net.ReportBespokeFittings(log);
            if (!fittingsMatch)
                info(TMessageKind::Information, "Not all fittings were updated to match the pipe sizes.\r\rThese "
                                                "will be listed in the Results Log. ");
        }
    }

    // Pipes shorter than the rise between their ends, one question each.
    const TUnit lengthUnit = options.UnitOfLength;
    auto length = [&](double metres) { return convertAndFormat(unt_m, lengthUnit, metres) + " " + unitName(lengthUnit); };
    int fromLink = 1;
    for (;;) {
        bool ok = true;
        std::string message;
        int pipeId = 0, pipeLink = 0;
        net.IsNetworkOkForPipeLengths(fromLink, ok, message, pipeId, pipeLink);
        if (ok || pipeId < 1)
            break;
        fromLink = pipeLink + 1;
        form.NetworkStates.CurrentPipeIdSelected = pipeId;
        form.ZoomtoPipeLeftOfScreen();
        const TDialogButton answer = Dialogs().AskYesNoCancel(
            TDialogKind::Confirmation,
            QString::fromStdString(message + "\r\r" + "Automatically update pipe length to difference in start and "
                                                      "end elevation?" +
                                   "\r\r" + "(choose 'Cancel' to stop further checks of pipe length)" + "\r\r"),
            &form);
        if (answer == DialogYes) {
            double oldLength = 0, newLength = 0;
            net.UpdatePipeLengthToDiffInStartEndElevation(pipeId, oldLength, newLength);
            log.Add("Pipe " + std::to_string(pipeId) + ": " + "Length changed from " + length(oldLength) + " to " +
                    length(newLength));
        } else if (answer == DialogNo) {
            log.Add("Pipe " + std::to_string(pipeId) + ": Length " + length(net.GetPipe(pipeId).Length_m) +
                    " [not changed] is less than diff in start and end elevation.");
        } else {
            break;
        }
    }

    bool checked = true;
    net.CheckPipeLengthsVersusElevationChange(checked, log);
    net.CheckShortPipeLengths(checked, log);
    net.CheckAndSetPumpsAtStartOfPipe(log);
    net.CheckAndSetComponentsAtEndOfPipe(log);
    net.CheckAndSetFCVsAtEndOfPipe(log);

    // The engine and the labels against the kind of fluid.
    const bool allGas = net.IsAllGasSystem();
    if (!allGas && options.IsMethodOfSolutionCompressibleEngine()) {
        info(TMessageKind::Warning,
             "The fluids in this system are not all gases.\r\rUSE NON-COMPRESSIBLE CALCULATIONS\r(Cannot use "
             "compressible gas flow equations with liquids)\r\rCalculations will be changed to use:\r\r"
             "Non-Compressible Flow Adjust Engine with\rDarcy-Weisbach Equation?\r");
        options.MethodOfSolution = LinearTheoryThenNewton;
        options.MethodOfCalculationNonCompressible = DarcyWeisbachEquation;
        options.ShowPipeFlowRate = true;
        options.ShowPipeGasFlowRate = false;
    }
    net.SetAllTankLiquidLevelsEqualZeroWhereFluidIsGas();
    if (allGas && options.MethodOfSolution != CompressibleNodeAdjust &&
        options.MethodOfSolution != CompressibleFlowAdjust &&
        ask("USE COMPRESSIBLE FLOW CALCULATIONS\r(Recommended)\r\rChange calculation to use:\r\rCompressible Node "
            "Adjust Engine with\rGeneral Isothermal Flow Equation?\r")) {
        options.MethodOfSolution = CompressibleNodeAdjust;
        options.MethodOfCalculationCompressible = GeneralIsothermalFlowEquation;
        options.GasSystemCheckFinalNodeBalanceUsePercent = true;
        options.ShowPipeFlowRate = false;
        options.ShowPipeMassFlowRate = false;
        options.ShowPipeGasFlowRate = true;
    }
    if (allGas && options.ShowPipeFlowRate) {
        info(TMessageKind::Information,
             "For gas systems, flow rate on pipe drawing will show in gas flow units.\r\rConfiguration Options on "
             "Labels Tab will be updated to select [Show Gas Flow Rate].");
        options.ShowPipeFlowRate = false;
        options.ShowPipeMassFlowRate = false;
        options.ShowPipeGasFlowRate = true;
    }
    const TUnit lossUnit = options.UnitOfPressureLoss;
    if (allGas && lossUnit != unt_Bar_G && lossUnit != unt_Psi_G && lossUnit != unt_kPa_G) {
        const TUnit newUnit = isMetricUnit(lossUnit) ? unt_Bar_G : unt_Psi_G;
        options.UnitOfPressureLoss = newUnit;
        const std::string oldName = unitPlainName(lossUnit);
        const std::string newName = unitPlainName(newUnit);
        info(TMessageKind::Information,
             std::string("Configuration Options => Units:\r\rPressure Loss is set to show in ") + oldName + "." +
                 "\r\r" + "This will be updated to show in " + newName + "." + "\r\r" + "Note:" + "\r\r" +
                 "Pressure loss for a gas system, when reported in " + oldName + "\r" +
                 "would refer to the pressure loss in terms of height of the fluid" + "\r" +
                 "at the specified fluid zone density, but actual density of the gas" + "\r" +
                 "will vary throughout the system, therefore it is better to report" + "\r" +
                 "pressure loss in a none relative and consistent unit." + "\r\r");
    }

    // Whether it can be calculated at all; if not, show where.
    bool networkOk = true;
    std::string message;
    int zoomPipe = 0, zoomNode = 0;
    net.IsNetworkOkToCalculate(networkOk, message, zoomPipe, zoomNode);
    if (!networkOk) {
        info(TMessageKind::Information, message);
        if (zoomPipe > 0) {
            form.NetworkStates.CurrentPipeIdSelected = zoomPipe;
            form.ZoomtoPipe();
        } else if (zoomNode > 0) {
            form.NetworkStates.CurrentNodeIdSelected = zoomNode;
            form.ZoomtoNode();
        }
    }
    return networkOk;
}

void logEngine(const TConfigOptions &options, TResultsLog &log)
{
    log.Add(" ");
    log.Add("Calculation Engine:");
    log.Add("Method of Solution: " + options.GetMethodOfSolutionString());
    log.Add("Method of Calculation: " + options.GetMethodOfCalculationString());
    log.Add("Friction Model: " + options.GetFrictionModelString());
    if (options.MethodOfSolution == CompressibleNodeAdjust || options.MethodOfSolution == CompressibleFlowAdjust) {
        log.Add("Compressibility Model: " + options.GetCompressibilityModelString());
        if (options.ZCompressibilityModel != IdealGasLawModel) {
            log.Add(" ");
            log.Add("Note:");
            log.Add("Fluid data should be defined using ideal gas law.");
            log.Add("Compressibility factor will be applied during calculations.");
        }
    }
    log.Add(" ");
    log.Add(" ");
}

} // namespace

void TNetworkForm::BitBtnCalculateClick()
{
    if (CalculationRunning || !CurrentNetwork)
        return;
    BitBtnCalculate->setText("RE-DESIGN");
    BitBtnCalculate->setEnabled(false);
    ToolBar2->setEnabled(false);
    TNetwork &net = *CurrentNetwork;
    TResultsLog &log = CalculationLog;
    bool Solved = false;
    bool SolutionOk = false;
    bool lockedDown = false;

    try {
        bool redesign = ResultsMode;
        if (!net.IsAllLiquidSystem() && !net.IsAllGasSystem()) {
            Messages.ShowMessage(
                TMessageKind::Information,
                "The system contains some fluid zones that are liquids and some that are gases.\r\rA system must "
                "have all fluid zones defined as either liquid or gas.\r\rA system cannot be solved when both "
                "liquid and gas data is present in the same system.\r");
            redesign = true;
        }
        if (redesign) {
            StatusBarHintColor = StatusBarDefaultColor;
            StatusBar1->SetPanelText(2, " ");
            SetDesignMode();
        } else if (prepareForSolve(*this, log)) {
            CalculationRunning = true;
            // The progress panel, centred over the drawing.
            LabelCalculatingUpdate->setText("Solving Network...");
            LabelIterationCount->setText("Iteration 1");
            PanelCalculating->move(ScrollBar1->width() / 2 - PanelCalculating->width() / 2,
                                   ScrollBar2->height() / 2 - PanelCalculating->height() / 2);
            PanelCalculating->show();
            PanelCalculating->raise();
            PanelCalculating->repaint();
            PanelCalculating2->repaint();
            net.solvedSuccessful = false;

            // A short flow animation before the solve.
            const int delay = CalculationAnimationDelay(net.NodeLinksCount);
            for (int frame = 1; frame <= 11; ++frame) {
                MetaFileDrawing->DrawMetaFileFromNetwork(net, NetworkStates, true, false, true,
                                                         frame <= 10 ? frame % 2 : 2, true);
                DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
                NetworkImage->repaint();
                if (frame <= 10)
                    QThread::msleep(static_cast<unsigned long>(delay));
            }
            QApplication::processEvents();

            logEngine(net.ConfigOptions, log);
            net.CheckPumpsVolumeFlowRate(log);
            net.CheckComponentsVolumeFlowRate(log);
            log.Add("Start Calculations");
            LogAddBreakLine(log);
            net.ConfigOptions.LogAddMethodOfSolution(log);
            log.Add("Generating Network equations...");
            log.Add("Solving Network equations...");
            log.Add(" ");

            TimerCalculating->start(CalculationTimerInterval(net.GetNodeCount()));
            lockDown(*this, true);
            lockedDown = true;

            // A Stop pressed during an earlier run must not end this one.
            net.StopCalculating = false;
            net.SolveNetwork(Solved, SolutionOk, log, CalculationPrivateLog);

            lockDown(*this, false);
            lockedDown = false;
            CalculationRunning = false;
            ClearNetworkStates(NetworkStates);
            RefreshScreen(true);
            PanelInvalidSolution->hide();
            bool viewInvalid = false;
            if (Solved && !SolutionOk) {
                Solved = false;
                if (Messages.AskYesNo(TMessageKind::Confirmation,
                                      "The network was NOT SOLVED to an accurate solution.\r\rDo you wish to view "
                                      "the INVALID solution for troubleshooting purposes?\r")) {
                    viewInvalid = true;
                    PanelInvalidSolution->show();
                    PanelInvalidSolution->raise();
                    Solved = true;
                }
            }

            TimerCalculating->stop();
            PanelCalculating->hide();
            bool showSheet = false, showPdf = false;
            if (Solved) {
                SetResultsMode();
                StatusBarHintColor = Yellow;
                StatusBar1->SetPanelText(0, "           Results Mode");
                const std::string engine = net.ConfigOptions.GetMethodOfSolutionAndCalculationString();
                StatusBar1->SetPanelText(
                    2, QString::fromStdString(viewInvalid ? " INVALID SOLUTION: " + engine : " " + engine));
                log.Add(" ");
                net.CheckResults(log, Solved, net.WarningCount);
                net.HighlightPipeIdForNetworkFormTimer = 0;
            } else {
                log.Add(" ");
                log.Add("Network was not solved.");
                log.Add(" ");
                log.Add("It may be that the system is over-controlled, or that flow rates cannot be met with the "
                        "defined pressure conditions.");
                if (net.FinalPressureBalanceToleranceMaybeTooSmall) {
                    log.Add(" ");
                    log.Add("Final Pressure balance tolerance may be too small for this system to be solved.");
                    log.Add(" ");
                    log.Add("NOTE: It is not normally necessary to adjust the configuration options related to the "
                            "system calculations, however in a very finely balanced system, it may be necessary to "
                            "do so.");
                    log.Add(" ");
                    log.Add("Adjusting the final pressure balance tolerance under calculations options:");
                    log.Add("If a solution can be found with a larger final pressure balance tolerance then note the "
                            "velocity at several discharge points and reconfigure the minimum and maximum discharge "
                            "estimates that are specified under calculations options (such that these bound the "
                            "range of discharge velocities found in the less accurate solution). Specifying a shorter "
                            "range for the minimum and maximum discharge velocity estimates (provided the range "
                            "bounds the final solution) may allow the program to converge to an accurate solution "
                            "for the original lower final pressure balance tolerance (or some suitable tolerance "
                            "that provides for a sufficiently accurate solution.");
                }
                log.Add(" ");
                bool notSolved = false;
                net.CheckResults(log, notSolved, net.WarningCount);
            }
            ResultsLogForm->SetLogLines(log.Lines);
            ResultsLogForm->OpenForm(Solved, SolutionOk, net.WarningCount, net.CommentCount, showSheet, showPdf,
                                     net.FinalPressureBalanceToleranceMaybeTooSmall);
            MemoLogText = ResultsLogForm->LogText();
            LabelResultsMessageText = ResultsLogForm->LabelResultsMessage->text().toStdString();
            LabelResultsMessage2Text = ResultsLogForm->LabelResultsMessage2->text().toStdString();
            if (Solved && showSheet)
                BitBtnResultsTableClick();
            if (Solved && showPdf)
                CreatePDFCustomizedReportClick();
        }

        if (!Solved) {
            StatusBarHintColor = StatusBarDefaultColor;
            StatusBar1->SetPanelText(2, " ");
            SetDesignMode();
        } else if (SolutionOk && ResultsMode) {
            SetResultsMode();
        }
        StatusBarShowCalculationEngine();
        UpdateDrawingMenuFromNetwork();
    } catch (...) {
        // Whatever failed, the window comes back whole: menu, tabs, tools,
        // no progress panel, no running timer.
        TimerCalculating->stop();
        PanelCalculating->hide();
        net.HighlightPipeIdForNetworkFormTimer = 0;
        if (lockedDown)
            lockDown(*this, false);
        CalculationRunning = false;
        BitBtnCalculate->setText(ResultsMode ? "RE-DESIGN" : "CALCULATE");
        BitBtnCalculate->setEnabled(true);
        ToolBar2->setEnabled(true);
        throw;
    }
    BitBtnCalculate->setEnabled(true);
    ToolBar2->setEnabled(true);
}

void TNetworkForm::BitBtnShowLogClick()
{
    bool showSheet = false, showPdf = false;
    ResultsLogForm->SetLogText(MemoLogText);
    ResultsLogForm->LabelResultsMessage->setText(QString::fromStdString(LabelResultsMessageText));
    ResultsLogForm->LabelResultsMessage2->setText(QString::fromStdString(LabelResultsMessage2Text));
    ResultsLogForm->ShowAgain(showSheet, showPdf);
    if (showSheet)
        BitBtnResultsTableClick();
    if (showPdf)
        CreatePDFCustomizedReportClick();
}

} // namespace tessaran
