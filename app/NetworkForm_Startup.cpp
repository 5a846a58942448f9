// Start-up, the splash window, closing and the application's exception handler.
#include "app/NetworkForm.h"

#include "app/Cursor_Pictures.h"
#include "app/Locale_Units.h"
#include "app/Program_Folder.h"
#include "app/Splash_Screen_Form.h"
#include "app/Status_Bar.h"
#include "app/Tessaran_Application.h"
#include "app/Viewport_Geometry.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "drawing/Node_Symbols.h"
#include "model/Fitting_Set_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "network/User_Interface_Seam.h"
#include "platform/Stream.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Pump_Database_Class.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QThread>
#include <QTimer>

#include <fstream>

namespace tessaran {

namespace {

const QColor PanelColour(241, 250, 255);

void setBackground(QWidget *widget, const QBrush &brush)
{
    QPalette colours = widget->palette();
    colours.setBrush(QPalette::Window, brush);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

} // namespace

void TNetworkForm::FormCreate()
{
    FormInitialised = false;
    if (auto *application = TTessaranApplication::Instance())
        application->OnException = [this](const std::exception &error) { GlobalExceptionHandler(error); };
    MetaFileDrawing = std::make_unique<TMetaFileDrawing>(SheetWidth, SheetHeight);
    MetaFileScale = 1.0;
    MetaFileOffsetX = (SheetWidth - static_cast<int>(ViewWidth() / MetaFileScale)) / 2;
    MetaFileOffsetY = (SheetHeight - static_cast<int>(ViewHeight() / MetaFileScale)) / 2;
    ScrollBar1->setRange(0, SheetWidth);
    ScrollBar2->setRange(0, SheetHeight);
    ScaleComboBox1->setCurrentIndex(ScaleIndex100);
    CountryCode = GetUserLocaleCountryCodeText();
    // The recent-file list is made by the file commands; panel 2 of the
    // status bar is painted by StatusBar1DrawPanel.
}

void TNetworkForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Show events also come when the window is restored; start-up runs once.
    if (!FormInitialised)
        FormShow();
}

void TNetworkForm::FormShow()
{
    QThread::msleep(100);
    FormResize();
    if (!FormInitialised) {
        FormInitialised = true;
        SplashScreenForm->show();
        SplashScreenForm->repaint();
        setWindowSizeToAvailableScreen();
        FormInitialise();
        SplashScreenForm->FormCloseDown();
    }
    if (CommandLineArguments.size() == 1)
        LoadFileName(CommandLineArguments.front());

    BitBtnLoadExamples->setVisible(true);
    BitBtnLoadExamples->setEnabled(true);
    BitBtnNextExample->setVisible(true);
    BitBtnNextExample->setEnabled(true);
    BitBtnQuickStartGuide->setVisible(false);
    ToolButtonExampleSystemSeparator->setVisible(false);
    TimerAutoSave->setInterval(300000);

    SetLengthUnitFromCountryCode(CountryCode);

    RefreshScreen(true);
    RefillFluidZoneList();
    UpdateFluidDisplay(true);
}

void TNetworkForm::SetLengthUnitFromCountryCode(const std::string &countryCode)
{
    const bool inches = CountryCodeUsesInches(countryCode);
    CurrentNetwork->ConfigOptions.UnitOfLength = inches ? unt_inch : unt_m;
    // Set from code: the units commands' question and conversion stay quiet.
    QRadioButton *button = inches ? RadioButtonImperialUnits : RadioButtonMetricUnits;
    const QSignalBlocker blocker(button);
    button->setChecked(true);
}

void TNetworkForm::setWindowSizeToAvailableScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect workArea = screen->availableGeometry();
    setGeometry(0, 0, workArea.width(), workArea.height());
}

void TNetworkForm::ShowSplashLoadInfo(const std::string &text)
{
    SplashScreenForm->ShowLoadInfo(QString::fromStdString(text));
}

void TNetworkForm::applyStartUpColours()
{
    for (QWidget *widget : std::initializer_list<QWidget *>{
             this, PanelDrawingToolbar, ToolBar2, GroupBox1, LeftPanel1, PanelNodeDetailJoint, PanelNodeDetailSupply,
             PanelNodeHeader, PanelNodeNotes, PanelPipes, PanelCalculating2, LabelCalculatingUpdate})
        setBackground(widget, PanelColour);
    QLinearGradient gradient(0, 0, 0, 40);
    gradient.setColorAt(0, QColor(183, 225, 255));
    gradient.setColorAt(1, PanelColour);
    setBackground(ToolBar1, gradient);
    setBackground(GroupBoxCalculating, Qt::white);
    StatusBarDefaultColor = 0xFFFAF1;
    StatusBarHintColor = StatusBarDefaultColor;
}

void TNetworkForm::applyLeftPanelGeometry()
{
    LeftPanel1->setFixedWidth(201);
    PanelNodeHeader->setGeometry(0, 0, 201, 83);
    PanelTankTypes->setGeometry(112, 9, 92, 506);
    PanelTankTypes->hide();
    PanelNodeDetailSupply->setGeometry(0, 83, 201, 144);
    PanelNodeDetailJoint->setGeometry(0, 83, 201, 144);
    PanelNodeDetailJoint->hide();
    PanelNodeNotes->setGeometry(0, 83 + PanelNodeDetailSupply->height(), 201, 60);
    PanelNodeNotes->show();
    PanelPipes->setGeometry(0, PanelNodeNotes->geometry().bottom() + 1, 201, 300);
    PanelPipes->show();
    BitBtnReOpenPipe->setGeometry(120, 6, 70, 14);
    BitBtnShutOff->setGeometry(120, 6, 70, 14);
    BitBtnReOpenPipe->hide();
    BitBtnReversePipe->setGeometry(120, 20, 70, 22);
    Bevel1->setFixedHeight(1);
    Bevel2->setFixedHeight(1);
    NetworkImage->move(0, 0);
    for (QLabel *image : {ImageTank1, ImageTank1Empty, ImageEndPressure})
        image->setGeometry(109, 33, 80, 80);
}

void TNetworkForm::FormInitialise()
{
    // 1-5
    FormInitialised = true;
    AutoSaveErrorShown = false;
    PDFFirstReportPending = true;
    CreatePDFCustomizedReport->setEnabled(false);
    applyStartUpColours();
    ImageTessaranLogo->setVisible(width() > 1399);
    WindowTitle = ProgramTitle;
    setWindowTitle(QString::fromStdString(WindowTitle));
    ResultsMode = false;

    // 6-7
    Cursors = LoadToolCursors();
    loadCursorTypeImages();
    ImageDrawCursorType->hide();
    ShowSplashLoadInfo("Loading Database Files...");

    // 8-9: the tab networks, each answering its questions through the
    // window's message service.
    for (int tab = 1; tab <= MaxTabs; ++tab) {
        auto &network = Networks[static_cast<std::size_t>(tab)];
        network = std::make_unique<TNetwork>();
        network->Clear();
        network->UserInterface = &Messages;
        NetworkTabs[static_cast<std::size_t>(tab)].NetworkIndex = tab;
        CurrentNetwork = network.get();
        SaveNetworkTab(tab);
    }
    CurrentTabIndex = 1;
    CurrentNetwork = Networks[static_cast<std::size_t>(NetworkTabs[1].NetworkIndex)].get();
    NewTabSetPosition(1);
    ClipboardNetwork = std::make_unique<TNetwork>();
    ClipboardNetwork->Clear();
    ClipboardNetwork->UserInterface = &Messages;

    // 10-12
    BitBtnResultsTable->setEnabled(false);
    BitBtnResultsPDF->setEnabled(false);
    BitBtnShowLog->setEnabled(false);
    OffScreenImage = QImage(NetworkImage->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    ImageClear(OffScreenImage);
    for (auto &pipe : ScratchPipes)
        pipe = std::make_unique<TPipe>();
    FillPipeColorList();
    ComboBoxFluidZone->clear();

    // 13-14
    StatusBar1->SetPanelText(0, " ");
    StatusBar1->SetPanelText(1, " ");
    StatusBar1->SetPanelText(
        2, " Add Pipes: Left click to select node. Left Click to draw pipe. Right click to stop rubber banding.");
    QFont statusFont = StatusBar1->font();
    statusFont.setPixelSize(std::max(8, static_cast<int>(logicalDpiY() * 8 / 72)));
    StatusBar1->setFont(statusFont);
    NetworkImage->setCursor(Qt::ArrowCursor);
    DrawingObject = DrawingPipeAdd;
    NetworkStates.DrawingObject = DrawingPipeAdd;
    showToolCursorImage(0);

    // 15-17
    NetWorkImageRescaleFromIndex(ScaleComboBox1->currentIndex(), 1, false);
    const TDrawingObjectEnum tool = NetworkStates.DrawingObject;
    NetworkStates = TNetworkStates{};
    NetworkStates.DrawingObject = tool;
    ClearActionLog();

    // 18-23
    applyLeftPanelGeometry();
    QImage symbol(48, 48, QImage::Format_RGB32);
    symbol.fill(QColor(0xE0, 0xDF, 0xE3));
    {
        TQtCanvas canvas(&symbol);
        DrawTankSymbol0(canvas, 20, 20, 0xFF8000, clBlack, 0, 0, 1);
    }
    ImageNodeSymbol->setPixmap(QPixmap::fromImage(symbol));
    UpdatePanelsNode(0, false);
    UpdatePanelsPipe(0, false);
    PanelResultsKey->hide();
    PanelResultsColorKey->hide();
    PanelCalculating->hide();
    CurrentFilename.clear();
    CurrentFileDir.clear();
    LoadRecentFileList();
    UpdateFluidDisplay(true);
    UpdateDrawingMenuFromNetwork();
    lastFreeTextColor = 0;
    lastFreeTextSize = 10;
    lastFreeTextStyle = TFontStyles{};
    lastFreeTextAngle = 0;

    // 24-26
    PumpDatabase = std::make_unique<TPumpDatabase>();
    loadFittingsDatabase();
    loadPipeTables();
}

void TNetworkForm::loadFittingsDatabase()
{
    FittingsFileHeader = TFileHeader{};
    FittingSet = std::make_unique<TFittingSet>(5000);
    FittingSet->Clear();
    const std::string path = ProgramFolder() + "FittingTables/Trn_Fittings.trfi";
    ShowSplashLoadInfo("Load Fittings file: Trn_Fittings.trfi");
    try {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            throw std::runtime_error("cannot open " + path);
        FittingsFileHeader.LoadFromText(file);
        const std::string overflow = FittingSet->LoadFromTextWithoutQuantity(file);
        if (!overflow.empty())
            Messages.ShowMessage(TMessageKind::Information, overflow);
    } catch (const std::exception &) {
        Messages.ShowMessage(TMessageKind::Information,
                             "Error reading Fittings database file.\r\rPlease check read/write file permissions on:\r" +
                                 path);
    }
}

void TNetworkForm::loadPipeTables()
{
    const std::string folder = ProgramFolder() + "PipeTables";
    FittingsFileHeader = TFileHeader{};
    ShowSplashLoadInfo("Create Nominal Pipe Size Data");
    try {
        PipeNominalSizeSet = std::make_unique<TPipeNominalSizeSet>(500, 5000);
        PipeNominalSizeSet->Clear();
        // The loader reports its own failures, naming the file it was reading.
        PipeNominalSizeSet->LoadFromPipeDiameterSetData(
            folder, [this](const std::string &text) { ShowSplashLoadInfo(text); },
            [this](const std::string &warning) { Messages.ShowMessage(TMessageKind::Information, warning); });
    } catch (const std::exception &) {
        Messages.ShowMessage(
            TMessageKind::Information,
            "Error reading Pipe Nominal Size Set file.\r\rPlease check read/write file permissions on:\r" + folder);
    }
}

void TNetworkForm::Exit1Click() { close(); }

void TNetworkForm::About1Click()
{
    TimerSplashOff->start(6000);
    SplashScreenForm->show();
    SplashScreenForm->FormShow();
    SplashScreenForm->repaint();
}

void TNetworkForm::TimerSplashOffTimer()
{
    TimerSplashOff->stop();
    SplashScreenForm->FormCloseDown();
}

bool TNetworkForm::TabHasUnsavedChanges(int TabIndex) const
{
    if (TabIndex == CurrentTabIndex)
        return NetworkStates.SystemUpdatedSinceLoad;
    return NetworkTabs[static_cast<std::size_t>(TabIndex)].NetworkStates.SystemUpdatedSinceLoad;
}

bool TNetworkForm::FormCloseQuery()
{
    // The solver works on the current network while it pumps events: the
    // window stays open until the calculation ends or is stopped.
    if (CalculationRunning)
        return false;
    // Every tab with unsaved changes is asked about, each shown while asked.
    const int startTab = CurrentTabIndex;
    std::vector<int> order{startTab};
    for (int tab = 1; tab <= TabCount(); ++tab)
        if (tab != startTab)
            order.push_back(tab);
    for (int tab : order) {
        if (!TabHasUnsavedChanges(tab))
            continue;
        if (tab != CurrentTabIndex)
            SwitchToTab(tab);
        if (!Messages.AskYesNo(TMessageKind::Confirmation,
                               "Any changes to the existing system that have not been saved will be lost.\r\r"
                               "Do you wish to continue to close the application?"))
            return false;
    }
    return true;
}

void TNetworkForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TNetworkForm::FormClose()
{
    try {
        QApplication::processEvents();
        QThread::msleep(200);
        for (QTimer *timer : {TimerSplashOff, TimerNodePanelHighlight, TimerPipePanelHighlight, TimerStatusBarHint}) {
            timer->setInterval(0);
            timer->stop();
        }
        TimerAutoSave->stop();
        QApplication::processEvents();
        SplashScreenForm->close();
    } catch (...) {
        // Nothing of closing is worth stopping the exit for.
    }
}

void TNetworkForm::GlobalExceptionHandler(const std::exception &)
{
    TimerAutoSave->stop();
    const std::string autoSaveFolder = WritableProgramDataFolder("AutoSaveFiles");
    const std::string backupPath =
        autoSaveFolder + QFileInfo(QString::fromStdString(CurrentFilename)).completeBaseName().toStdString() + ".trz";
    // A network that failed mid-calculation holds the solver's prepared
    // links and stand-in items: saving it would store a damaged system.
    if (!CurrentNetwork->IsCalculating() &&
        Messages.AskYesNo(TMessageKind::Confirmation,
                          "A backup of your current system is automatically saved periodically in\r\r" +
                              autoSaveFolder.substr(0, autoSaveFolder.size() - 1) + "\r\r" +
                              "Do you wish to also try and save your current system now as " + "\r\r" + backupPath +
                              "?" + "\r\r")) {
        QFile existing(QString::fromStdString(backupPath));
        if (existing.exists() && !existing.remove()) {
            Messages.ShowMessage(TMessageKind::Information,
                                 "Autosave of current file failed.\r\rCould not remove existing autosave file.\r\r"
                                 "Please check the file permissions of the AutoSaveFiles folder within the Tessaran "
                                 "installation folder.\r\r");
        } else {
            try {
                CurrentNetwork->SaveToFile(backupPath);
            } catch (const std::exception &) {
                Messages.ShowMessage(TMessageKind::Information,
                                     "Autosave of current file failed.\r\rCould not write the file:\r" + backupPath);
            }
        }
    }
    Messages.ShowMessage(TMessageKind::Information, "The Tessaran application will now be closed.\r\r"
                                                    "You may then restart Tessaran and continue with your work.\r\r");
    // Closing runs from the event loop, clear of the failed handler.
    QTimer::singleShot(0, this, [this] { close(); });
}

} // namespace tessaran
