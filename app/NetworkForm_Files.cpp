// File commands: new, new tab, open, save, save as, the recent-file list,
// loading a named file, automatic saving with recovery and purging, and the
// calculate hint shown beside example systems.
#include "app/NetworkForm.h"

#include "app/Machine_Identifier.h"
#include "app/Print_Images.h"
#include "app/Program_Folder.h"
#include "app/Recent_File_Strings.h"
#include "app/Status_Bar.h"
#include "app/Viewport_Geometry.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "network/User_Interface_Seam.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace tessaran {

namespace {

const char *const NetworkFilter = "Tessaran Network (*.trz)";
const char *const NetworkSuffix = "trz";
const char *const AutoSaveFolderName = "AutoSaveFiles";
const char *const SystemsFolderName = "TessaranSystems";
// The File menu items the recent files are shown on start here.
constexpr int RecentFileMenuItems = 4;

QString fileNamePart(const std::string &path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

// The folder a dialog starts in for a folder name of the program's.
QString programSubFolder(const std::string &name)
{
    if (name == AutoSaveFolderName)
        return QString::fromStdString(WritableProgramDataFolder(name));
    return QString::fromStdString(ProgramFolder() + name);
}

void showFileName(TNetworkForm &form, const std::string &path)
{
    form.setWindowTitle(QString::fromStdString(form.WindowTitle) + " - " + fileNamePart(path));
    form.TabControl1->setTabText(form.CurrentTabIndex - 1, fileNamePart(path));
}

// The current network without a file: nothing saves it over another file
// unasked.
void showUnnamed(TNetworkForm &form)
{
    form.CurrentFilename.clear();
    form.setWindowTitle(QString::fromStdString(form.WindowTitle));
    form.TabControl1->setTabText(form.CurrentTabIndex - 1, "No Name");
}

void clearPrintPageHeading(TNetworkForm &form)
{
    if (form.PrintingForm && form.PrintingForm->EditPageHeading)
        form.PrintingForm->EditPageHeading->clear();
}

// The unit-system buttons follow the network's length unit, set without
// running the units commands.
void showUnitSystemOfNetwork(TNetworkForm &form)
{
    const TUnit length = form.CurrentNetwork->ConfigOptions.UnitOfLength;
    const bool metric = length == unt_m || length == unt_mm || length == unt_km;
    form.UnitsRadioSilent = true;
    form.AskBeforeUnitsChange = false;
    (metric ? form.RadioButtonMetricUnits : form.RadioButtonImperialUnits)->setChecked(true);
}

void armUnitsCommands(TNetworkForm &form)
{
    form.AskBeforeUnitsChange = true;
    form.UnitsRadioSilent = false;
}

// Reads a network file into the current tab. A file that cannot be read
// raises and leaves the window as it was. A file the network refuses leaves
// the network cleared and without a name, so that the next Save does not
// write the empty network over it; only a file taken whole gets the name,
// the caption and a place on the recent-file list. True when taken.
bool readNetworkFile(TNetworkForm &form, const std::string &path)
{
    TMemoryStream stream;
    stream.LoadFromFile(path);
    const bool loaded = form.CurrentNetwork->Load(stream);
    form.NetworkStates.SystemUpdatedSinceLoad = false;
    if (loaded) {
        form.CurrentFilename = path;
        showFileName(form, path);
    } else {
        showUnnamed(form);
    }
    form.StatusBar1->SetPanelText(2, " ");
    form.ToolButtonZoomCentreClick();
    if (loaded)
        form.AddRecentFile(path);
    form.RefillFluidZoneList();
    return loaded;
}

} // namespace

void TNetworkForm::createFileCommands()
{
    RecentFileStrings = std::make_unique<TRecentFileStrings>("RecentFiles/RecentFiles.txt", RecentFileMenuItems, 50,
                                                             GetMacAddressString());

    auto action = [this](const char *text, const char *name) {
        auto *item = new QAction(QString::fromLatin1(text), this);
        item->setObjectName(name);
        return item;
    };
    FileNew1 = action("New...", "FileNew1");
    NewTab1 = action("New Tab", "NewTab1");
    NewTab1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Open1 = action("Open...", "Open1");
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    OpenRecoverfromAutosaveFiles1 = action("Recover from AutoSave Files", "OpenRecoverfromAutosaveFiles1");
    PurgeAutoSavedFiles1 = action("Purge Auto Saved Files", "PurgeAutoSavedFiles1");
    Save1 = action("Save", "Save1");
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = action("Save As...", "SaveAs1");

    QAction *first = File1->actions().value(0);
    for (QAction *item : {FileNew1, NewTab1, Open1, OpenRecoverfromAutosaveFiles1, PurgeAutoSavedFiles1})
        File1->insertAction(first, item);
    File1->insertSeparator(first);
    File1->insertAction(first, Save1);
    File1->insertAction(first, SaveAs1);
    File1->insertSeparator(first);
    for (int i = 0; i < RecentFileMenuItems; ++i) {
        const std::string name = "RecentFile" + std::to_string(i + 1);
        QAction *item = action("", name.c_str());
        item->setVisible(false);
        File1->insertAction(Exit1, item);
        RecentFile[static_cast<std::size_t>(i)] = item;
        connect(item, &QAction::triggered, this,
                [this, item] { RecentFileStringsClick(File1->actions().indexOf(item)); });
    }
    File1->insertSeparator(Exit1);

    connect(FileNew1, &QAction::triggered, this, &TNetworkForm::FileNewClick);
    connect(NewTab1, &QAction::triggered, this, &TNetworkForm::NewTab1Click);
    connect(Open1, &QAction::triggered, this, &TNetworkForm::Open1Click);
    connect(OpenRecoverfromAutosaveFiles1, &QAction::triggered, this,
            &TNetworkForm::OpenRecoverfromAutosaveFiles1Click);
    connect(PurgeAutoSavedFiles1, &QAction::triggered, this, &TNetworkForm::PurgeAutoSavedFiles1Click);
    connect(Save1, &QAction::triggered, this, &TNetworkForm::Save1Click);
    connect(SaveAs1, &QAction::triggered, this, &TNetworkForm::SaveAs1Click);

    // The tool bar's file buttons lead the drawing tool bar.
    int position = 0;
    auto button = [this, &position](const char *name, const char *hint, void (TNetworkForm::*handler)()) {
        auto *item = new QToolButton(ToolBar2);
        item->setObjectName(name);
        item->setText(QString::fromLatin1(hint).left(5));
        item->setToolTip(QString::fromLatin1(hint));
        if (auto *bar = qobject_cast<QBoxLayout *>(ToolBar2->layout()))
            bar->insertWidget(position++, item);
        connect(item, &QToolButton::clicked, this, handler);
        return item;
    };
    ToolButtonNewGrid = button("ToolButtonNewGrid", "New Grid", &TNetworkForm::FileNewClick);
    ToolButtonLoad = button("ToolButtonLoad", "Open File", &TNetworkForm::Open1Click);
    ToolButtonSave = button("ToolButtonSave", "Save File", &TNetworkForm::ToolButtonSaveClick);

    PanelClickCalculateText = new QWidget(ToolBar1);
    PanelClickCalculateText->setObjectName("PanelClickCalculateText");
    PanelClickCalculateText->setAutoFillBackground(true);
    QPalette white = PanelClickCalculateText->palette();
    white.setColor(QPalette::Window, Qt::white);
    PanelClickCalculateText->setPalette(white);
    LabelClickCalculateText =
        new QLabel(QStringLiteral("<= Click CALCULATE to solve this Example."), PanelClickCalculateText);
    LabelClickCalculateText->setObjectName("LabelClickCalculateText");
    QPalette blue = LabelClickCalculateText->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    LabelClickCalculateText->setPalette(blue);
    LabelClickCalculateText->setGeometry(4, 0, 286, 23);
    PanelClickCalculateText->setGeometry(440, 2, 290, 23);
    PanelClickCalculateText->hide();

    TimerAutoSave->setInterval(300000);
    connect(TimerAutoSave, &QTimer::timeout, this, &TNetworkForm::TimerAutoSaveTimer);
    TimerAutoSave->start();
}

// --- the recent-file list ---------------------------------------------------------

void TNetworkForm::LoadRecentFileList()
{
    RecentFileStrings->LoadFile();
    RecentFileStrings->ShowRecentFileStringsOnMenu(*File1, File1->actions().indexOf(RecentFile[0]));
}

void TNetworkForm::AddRecentFile(const std::string &FileName)
{
    if (RecentFileStrings->AddFileString(FileName))
        RecentFileStrings->SaveFile();
    RecentFileStrings->ShowRecentFileStringsOnMenu(*File1, File1->actions().indexOf(RecentFile[0]));
}

void TNetworkForm::RecentFileStringsClick(int MenuIndex)
{
    if (NetworkStates.SystemUpdatedSinceLoad &&
        !ask("Any changes to the existing system that have not been saved will be lost.\r\r"
             "Do you wish to continue to load a new system?"))
        return;
    ClearNetworkStates(NetworkStates);
    const std::string path =
        RecentFileStrings->GetFileString(MenuIndex - File1->actions().indexOf(RecentFile[0]) + 1);
    try {
        readNetworkFile(*this, path);
        NetworkStates.DrawingObject = DrawingStandardCursor;
        ClearActionLog();
        clearPrintPageHeading(*this);
        showUnitSystemOfNetwork(*this);
        if (PipeNominalSizeSet)
            CurrentNetwork->UpdateNominalPipeSizes(*PipeNominalSizeSet);
        SetDesignMode();
        armUnitsCommands(*this);
        ZoomtoFitonScreen1Click();
        UpdateDrawingMenuFromNetwork();
        ClickCalculateTextOnOff();
        RefreshScreen(true);
        StatusBar1->repaint();
    } catch (const std::exception &) {
        armUnitsCommands(*this);
        info("Cannot open " + path + "\r\r" + "File may no longer exist or is not accessible?");
    }
}

// --- open -------------------------------------------------------------------------------

void TNetworkForm::Open1Click()
{
    try {
        if (!NetworkStates.SystemUpdatedSinceLoad ||
            ask("Any changes to the existing system that have not been saved will be lost.\r\r"
                "Do you wish to continue to load a new system?")) {
            if (CurrentFileDir.empty())
                CurrentFileDir = SystemsFolderName;
            TFileDialogRequest request;
            request.Caption = "Open";
            request.Folder = programSubFolder(CurrentFileDir);
            request.Filter = NetworkFilter;
            request.DefaultSuffix = NetworkSuffix;
            request.Parent = this;
            AskBeforeUnitsChange = false;
            if (const std::optional<QString> chosen = Dialogs().OpenFileName(request)) {
                readNetworkFile(*this, chosen->toStdString());
                NetworkStates.DrawingObject = DrawingStandardCursor;
                ClearActionLog();
            }
            ClearNetworkStates(NetworkStates);
            clearPrintPageHeading(*this);
            showUnitSystemOfNetwork(*this);
            if (PipeNominalSizeSet)
                CurrentNetwork->UpdateNominalPipeSizes(*PipeNominalSizeSet);
            SetDesignMode();
            armUnitsCommands(*this);
            ClickCalculateTextOnOff();
        }
        ZoomtoFitonScreen1Click();
        UpdateFluidDisplay(true);
        UpdateDrawingMenuFromNetwork();
        RefreshScreen(true);
    } catch (const std::exception &) {
        armUnitsCommands(*this);
        info("Could not open specified file.\r\r"
             "File does not exist or you do not have permission to access this file.\r ");
    }
}

void TNetworkForm::LoadFileName(const std::string &FileName)
{
    try {
        readNetworkFile(*this, FileName);
        ClearNetworkStates(NetworkStates);
        clearPrintPageHeading(*this);
        showUnitSystemOfNetwork(*this);
        SetDesignMode();
        armUnitsCommands(*this);
        UpdateDrawingMenuFromNetwork();
        ClickCalculateTextOnOff();
        RefreshScreen(true);
    } catch (const std::exception &) {
        armUnitsCommands(*this);
        info("An error occured while attempting to auto load the file which was clicked on. \r\r"
             "Please check the file is valid or try to load it using File->Open.");
        CurrentNetwork->Clear();
        showUnnamed(*this);
        RefreshScreen(true);
    }
}

// --- save -------------------------------------------------------------------------------

namespace {

// Asks before replacing a file on disk; a file that may not be replaced is
// left alone and said so. The network goes to a temporary file renamed over
// the old one, so a failed write leaves the old file whole. False when
// nothing was written; raises when writing fails.
bool writeNetworkFile(TNetworkForm &form, const std::string &path)
{
    const QFileInfo existing(QString::fromStdString(path));
    if (existing.exists()) {
        if (!form.Messages.AskYesNo(TMessageKind::Confirmation, "File already exists. Do wish to overwrite? \r"))
            return false;
        if (!existing.isWritable()) {
            form.Messages.ShowMessage(
                TMessageKind::Information,
                "Current network not saved.\r\rCould not remove existing file.\r\r"
                "Please check the file permissions of the existing file or\r"
                "choose 'Save As' to save the current network under a different file name.");
            return false;
        }
    }
    form.CurrentNetwork->SaveToFile(path);
    return true;
}

const char *const ReadOnlyFolderHint = "It may be that the folder you are trying to save to is read only.";

// writeNetworkFile with a failure told as the command's own text followed by
// the path and the read-only hint. True when the network went to the file.
bool saveNetworkFile(TNetworkForm &form, const std::string &path, const std::string &failure)
{
    try {
        return writeNetworkFile(form, path);
    } catch (const std::exception &) {
        form.Messages.ShowMessage(TMessageKind::Information,
                                  failure + path + "\r\r" + ReadOnlyFolderHint + " " + "\r\r");
        return false;
    }
}

} // namespace

// A file just written is the one the window stands for now.
void TNetworkForm::rememberSavedFile(const std::string &path)
{
    AddRecentFile(path);
    NetworkStates.SystemUpdatedSinceLoad = false;
    ToolButtonCursorArrowClick();
}

// An active selection is not part of the network yet: no save while one lasts.
bool TNetworkForm::refuseSaveDuringSelection()
{
    if (NetworkStates.SelectionStatus <= 0)
        return false;
    info("Files cannot be saved while there is an active selection.\r\r"
         "Please complete your copy opertaion or clear the active selection.");
    return true;
}

void TNetworkForm::SaveFile()
{
    if (refuseSaveDuringSelection())
        return;
    if (CurrentFilename.empty()) {
        SaveFileAs();
        return;
    }
    if (saveNetworkFile(*this, CurrentFilename,
                        "Save File operation failed.\r\rPlease check that you have the correct permission to save "
                        "the file as:\r\r"))
        rememberSavedFile(CurrentFilename);
    RefreshScreen(true);
}

void TNetworkForm::SaveFileAs()
{
    if (refuseSaveDuringSelection())
        return;
    TFileDialogRequest request;
    request.Caption = "Save As";
    request.FileName = fileNamePart(CurrentFilename);
    request.Folder = CurrentFilename.empty() ? QDir::currentPath()
                                             : QFileInfo(QString::fromStdString(CurrentFilename)).absolutePath();
    request.Filter = NetworkFilter;
    request.DefaultSuffix = NetworkSuffix;
    request.Parent = this;
    if (const std::optional<QString> chosen = Dialogs().SaveFileName(request)) {
        const std::string path = chosen->toStdString();
        if (saveNetworkFile(*this, path,
                            "Save File As operation failed.\r\rPlease check that you the correct permission to save "
                            "the file as:\r\r")) {
            CurrentFilename = path;
            showFileName(*this, path);
            rememberSavedFile(path);
        }
    }
    RefreshScreen(true);
}

// --- new --------------------------------------------------------------------------------

void TNetworkForm::FileNewClick()
{
    if (TabCount() < MaxTabs && ask("Open New Grid on a New Tab?\r\r")) {
        NewTab1Click();
        NetworkStates.SystemUpdatedSinceLoad = false;
    }
    if (NetworkStates.SystemUpdatedSinceLoad &&
        !ask("The current system will be closed. \rAny unsaved changes will be lost. \r\r"
             "A new grid will be created with the Fluid set to Water.\r\r"
             "Do you wish to continue with a new grid?"))
        return;

    // The units the buttons show now: the panel refreshes below set the
    // buttons from the cleared network.
    const bool imperial = RadioButtonImperialUnits->isChecked();
    ClearNetworkStates(NetworkStates);
    SetDesignMode();
    ClearNetworkTab(CurrentTabIndex);
    CurrentNetwork->Clear();
    CurrentNetwork->SetNormalDrawing();
    if (ask("Set grid display for Isometric Drawing?\r"))
        CurrentNetwork->SetisometricDrawing();

    CurrentNetwork->CurrentFluidZone = 1;
    CurrentNetwork->FluidZonesCount = 1;
    {
        const QSignalBlocker blocker(ComboBoxFluidZone);
        ComboBoxFluidZone->clear();
        ComboBoxFluidZone->addItem("Fluid Zone 1");
    }
    UpdateFluidDisplay(true);

    if (imperial)
        CurrentNetwork->ConfigOptions.SetImperialUnits();
    else
        CurrentNetwork->ConfigOptions.SetMetricUnits();

    showUnnamed(*this);
    clearPrintPageHeading(*this);
    NetworkStates.SystemUpdatedSinceLoad = false;

    MetaFileOffsetX = (SheetWidth - static_cast<int>(ScrollBar1->width() / MetaFileScale)) / 2;
    MetaFileOffsetY = (SheetHeight - static_cast<int>(ScrollBar2->height() / MetaFileScale)) / 2;
    NetWorkImageRescaleFromIndex(ScaleComboBox1->currentIndex(), 1, false);
    StatusBar1->SetPanelText(2, "");
    RefreshScreen(true);
    UpdateDrawingMenuFromNetwork();
    SetDesignMode();
    ClickCalculateTextOnOff();
}

void TNetworkForm::NewTab1Click()
{
    if (TabCount() >= MaxTabs) {
        info("Cannot create new tab. Max tab limit reached.");
    } else {
        SaveNetworkTab(CurrentTabIndex);
        const QSignalBlocker blocker(TabControl1);
        TabControl1->addTab("No Name");
        CurrentTabIndex = TabCount();
        NewTabSetPosition(CurrentTabIndex);
        TabControl1->setCurrentIndex(CurrentTabIndex - 1);
        LoadNetworkTab(CurrentTabIndex);
        if (TabControl1->isEnabled())
            TabControl1->setFocus();
    }
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

// --- automatic saving -------------------------------------------------------------------

std::string TNetworkForm::AutoSaveFileName() const
{
    std::string identifier = GetMacAddressString();
    if (identifier.empty())
        identifier = NoMachineIdentifier;
    const std::string name = QFileInfo(QString::fromStdString(CurrentFilename)).completeBaseName().toStdString();
    return WritableProgramDataFolder(AutoSaveFolderName) + name + "_" + identifier + ".trz";
}

void TNetworkForm::TimerAutoSaveTimer()
{
    // The timer also fires while the solver pumps messages; the network then
    // holds the solver's working state, which is no system to keep.
    if (CurrentNetwork == nullptr || CurrentNetwork->IsCalculating())
        return;
    const std::string folder = WritableProgramDataFolder(AutoSaveFolderName);
    if (!QDir(QString::fromStdString(folder)).exists())
        return;
    try {
        const std::string path = AutoSaveFileName();
        const QFileInfo existing(QString::fromStdString(path));
        if (existing.exists() && !existing.isWritable() && !AutoSaveErrorShown) {
            AutoSaveErrorShown = true;
            info("Autosave of current file failed.\r\rCould not remove existing autosave file.\r\r"
                 "Please check the file permissions of the AutoSaveFiles folder within the Tessaran installation "
                 "folder.\r\r");
        }
        if (!AutoSaveErrorShown)
            CurrentNetwork->SaveToFile(path);
    } catch (const std::exception &) {
        if (!AutoSaveErrorShown) {
            AutoSaveErrorShown = true;
            info(std::string("Autosave of current file failed.\r\rAn exception occured when trying to autosave which "
                             "could be caused by folder and file permission settings or the Auto Save Folder: ") +
                 folder + " may be full." + "\r\r" + "Please check the file permissions of the " +
                 AutoSaveFolderName + " folder and ensure there is available disk space to save files." + "\r\r" +
                 "You can use the option on the File Menu to Purge the Auto Saved Files folder." + " ");
        }
    }
}

void TNetworkForm::OpenRecoverfromAutosaveFiles1Click()
{
    const std::string kept = CurrentFileDir;
    CurrentFileDir = AutoSaveFolderName;
    Open1Click();
    CurrentFileDir = kept;
}

void TNetworkForm::PurgeAutoSavedFiles1Click()
{
    if (!ask("Are you sure you wish to purge/delete all Auto Saved Files?\r\r"
             "Once removed, you will not be able to auto recover these systems\r"
             "(this should not be a problem is you have the original systems saved).\r\r"
             "Do you wish to remove the Auto Saved Files now?\r"))
        return;
    try {
        const QDir folder(QString::fromStdString(WritableProgramDataFolder(AutoSaveFolderName)));
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
            QFile::remove(folder.filePath(name)); // a file that stays is no reason to stop
        AutoSaveErrorShown = false;
        info("Purge of Auto Saved Files was successful.\r ");
    } catch (const std::exception &) {
        info("Purge of Auto Saved Files failed.\r\rPlease check the file permissions of the AutoSaveFiles folder.");
    }
}

// --- calculate hint ---------------------------------------------------------------------

void TNetworkForm::ClickCalculateTextOnOff()
{
    if (!PanelClickCalculateText)
        return;
    PanelClickCalculateText->setGeometry(440, 2, 290, 23);
    const QString folder = QFileInfo(QString::fromStdString(CurrentFilename)).path();
    const bool example = !CurrentFilename.empty() && folder.contains("/ExampleSystems");
    PanelClickCalculateText->setVisible(!ResultsMode && example);
    if (PanelClickCalculateText->isVisible())
        PanelClickCalculateText->raise();
}

} // namespace tessaran
