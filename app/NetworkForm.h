#pragma once
// The main window: four network tabs over one drawing viewport, the side
// panels, tool bars and status bar, and the objects every command works on
// (the tab networks, the clipboard network, the renderer, the databases).
// Its methods are spread over NetworkForm_*.cpp by concern.

#include "app/Item_Dialogs.h"
#include "app/Main_Window_Services.h"
#include "app/Network_Tab.h"
#include "app/Print_Images.h"
#include "app/Qt_Dialog_Service.h"
#include "app/Recent_File_Strings.h"
#include "model/FileHeader.h"
#include "model/Fitting_Set_Class.h"
#include "model/Fluid_Class.h"
#include "model/Node_Class.h"
#include "model/Pipe_Class.h"
#include "network/Network_Class.h"
#include "network/Network_States.h"
#include "platform/Graphics.h"
#include "platform/Metafile.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QMainWindow>

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QMouseEvent;
class QContextMenuEvent;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabBar;
class QTimer;
class QToolButton;

namespace tessaran {

class TActionLog;
struct TActionRecord;
class TConfigForm;
class TExamplesForm;
class TFittingSet;
class THelpForm;
class TMetaFileDrawing;
class TFormPDFConfig;
class TPdfReports;
class TPrintingForm;
class TPipeNominalSizeSet;
class TPumpDatabase;
class TRightEdit;
class TSplashScreenForm;
class TStatusBar;
struct TToolChoice;

// The screen image of the drawing: the renderer's picture stretched to the
// view. Mouse handlers of the drawing tools hook in here.
class TNetworkImage : public QWidget {
    Q_OBJECT
public:
    explicit TNetworkImage(QWidget *parent = nullptr);
    QImage Picture;
    std::function<void()> OnResize;
    // A double click arrives as a second press.
    std::function<void(QMouseEvent *)> OnMouseDown, OnMouseMove, OnMouseUp;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

public:
    std::function<void(QContextMenuEvent *)> OnContextMenu;
};

class TNetworkForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int MaxTabs = 4;
    static constexpr int TabWidth = 165;
    static constexpr const char *ProgramTitle = " Tessaran v7.40";

    // Messages reach the user through the installed message-and-dialog
    // service; the networks' questions go the same way.
    explicit TNetworkForm(QWidget *parent = nullptr);
    ~TNetworkForm() override;

    // --- start-up and shutdown (NetworkForm.cpp, NetworkForm_Startup.cpp) ---------
    void FormCreate();
    void FormShow();
    void FormInitialise();
    void setWindowSizeToAvailableScreen();
    bool FormCloseQuery();
    void FormClose();
    void Exit1Click();
    void About1Click();
    void TimerSplashOffTimer();
    void GlobalExceptionHandler(const std::exception &error);
    void ShowSplashLoadInfo(const std::string &text);
    // Length unit of the current network from the user's country.
    void SetLengthUnitFromCountryCode(const std::string &countryCode);

    // The single command-line argument, opened by the first show.
    std::vector<std::string> CommandLineArguments;
    // The user's country code; the locale's unless a caller sets another.
    std::string CountryCode;

    // --- viewport (NetworkForm_Viewport.cpp) ------------------------------------
    void RefreshScreen(bool ShowGridLines);
    void RefreshScreenImageOnly(bool ShowGridLines);
    void RefreshScreenOnKeyPress(int Key);
    static void ClearNetworkStates(TNetworkStates &TheNetworkStates, TDrawingObjectEnum &CurrentTool);
    void ClearNetworkStates(TNetworkStates &TheNetworkStates);
    static void ImageClear(QImage &TheImage);
    void DrawNetworkImageFromMetaFileAutomatic(int MetaFileFromX, int MetaFileFromY);
    void DrawImageFromMetaFile(QImage &TheImage, int MetaFileFromX, int MetaFileFromY, int CaptureWidth,
                               int CaptureHeight);
    int GetMetaFileDrawingX(int NetworkImageX) const;
    int GetMetaFileDrawingY(int NetworkImageY) const;
    void CalcMetaFileDrawingXY(int NetworkImageX, int NetworkImageY, int &MetaFileX, int &MetaFileY) const;
    void CalcSnapToGridXY(int &MetaFileX, int &MetaFileY) const;
    void CalcMetaFileDrawingSnapToGridXY(int NetworkImageX, int NetworkImageY, int &MetaFileX,
                                         int &MetaFileY) const;
    void SetSelectedNodesXYSnapToGrid();
    void NetWorkImageRescale(double NewMetaFileScale, bool ReDrawImage);
    void NetWorkImageRescaleFromIndex(int FromComboboxIndex, int NumIntervals, bool RepaintIntervals);
    void ToolButtonZoomInClick();
    void ToolButtonZoomOutClick();
    void ScaleComboBox1Click();
    void FormMouseWheel(int WheelDelta);
    void ZoomtoFitonScreen1Click();
    void ToolButtonZoomCentreClick() { ZoomtoFitonScreen1Click(); }
    void ScrollBar1Change();
    void ScrollBar2Change();
    void ZoomtoPipe();
    void ZoomtoPipeLeftOfScreen();
    void ZoomtoPipeBottomOfScreen();
    void ZoomtoNode();
    void ZoomtoNodeBottomOfScreen();
    void BitBtnZoomToPipeClick() { ZoomtoPipe(); }
    void BitBtnZoomToNodeClick() { ZoomtoNode(); }
    void ComboBoxPipeIdChange();
    void ComboBoxNodeIdChange();
    int ViewWidth() const;
    int ViewHeight() const;
    // The picture the viewport stretches: the renderer's metafile.
    const TMetafile &DrawingMetaFile() const;

    // --- tabs and chrome (NetworkForm_Tabs.cpp, NetworkForm_Chrome.cpp) ---------
    void SaveNetworkTab(int TabIndex);
    void LoadNetworkTab(int TabIndex);
    void ClearNetworkTab(int TabIndex);
    void CopyNetworkTab(int FromTabIndex, int ToTabIndex);
    void NewTabSetPosition(int TheCurrentTabIndex);
    void SwitchToTab(int t);
    void TabControl1MouseDown(const QPoint &position);
    void SpeedButtonNewTabClick();
    void SpeedButtonDeleteTabClick();
    int TabCount() const;
    void ShowLeftPanel();
    void HideLeftPanel();
    void ButtonLeftMenuCollapse1Click();
    void TabControlLeftMenuChange();
    void StatusBar1DrawPanel(QPainter &painter, int panelIndex, const QRect &rect);
    void TimerStatusBarHintTimer();
    void UpdateDrawingMenuFromNetwork();
    void FormResize();
    void CopyInfoPanelToClipboard();
    void RefillFluidZoneList();
    // Whether the tab's network has changes not saved to its file.
    bool TabHasUnsavedChanges(int TabIndex) const;

    // --- drawing tools (NetworkForm_Tools.cpp) -----------------------------------
    void ToolButtonTank1Click();
    void ToolButtonDemandPressureClick();
    void ToolButtonDemandFlowClick();
    void ToolButtonPumpAdd1Click();
    void ToolButtonFittingsAddClick();
    void ToolButtonComponentPressureLossAddClick();
    void ToolButtonFlowControlAddClick();
    void ToolButtonJoint1Click();
    void ToolButtonPipeAdd1Click();
    void ToolButtonHand1Click();
    void ToolButtonCursorArrowClick();
    void ToolButtonDragNodeClick();
    void ToolButtonTextClick();
    void ToolButtonClosePipeClick();
    void ToolButtonSelectionClick();
    void ToolButtonSelection2Click();

    // --- the canvas's mouse (NetworkForm_Mouse.cpp); canvas pixels -----------------
    // Shift state: whether the left button is held, and whether the press is
    // the second of a double click.
    void NetworkImageMouseDown(Qt::MouseButton Button, bool LeftHeld, bool DoubleClick, int X, int Y);
    void NetworkImageMouseMove(bool LeftHeld, int X, int Y);
    void NetworkImageMouseUp(Qt::MouseButton Button, int X, int Y);
    // Keys the window previews; Escape is a right press on the canvas.
    void FormKeyPress(int Key);

    // --- item placement (NetworkForm_Placement.cpp); drawing units ----------------
    void AddTankContainer(int X, int Y, int NodeImageIndex);
    void AddDemandPressure(int X, int Y, int NodeImageIndex);
    void AddDemandFlow(int X, int Y, int NodeImageIndex);
    int AddJoint(int X, int Y, int NodeImageIndex, double Elevation_m);
    bool AddPipeLink(int TheFromNodeId, int ToNodeId);
    void AddPump(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid);
    void AddFittings(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid);
    void AddComponentPressureLoss(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid,
                                  int MetaFileySnappedToGrid);
    void AddFlowControl(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid);
    void AddFreeText(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid);
    // The pump dialog for the pipe's pump; a pump the user deletes leaves
    // the pipe and empties the undo log.
    void OpenPumpDialog(int PipeId);
    // The item under the mouse in the Show Item Info tool opens its dialog.
    void OpenPipeItemsSelectPopupMenuIfNeeded();
    // The pipe-size database on the highlighted pipe ("Diam?", "Material").
    void BitBtnPipeDiameterClick();
    void BitBtnPipeMaterialClick();
    void BitBtnPipeDefaultsClick();

    // --- pipe menus, zoom to selection, image import (NetworkForm_PipeMenus.cpp) ---
    void ShowFittings1Click();
    void ShowControlValve1Click();
    void ShowComponent1Click();
    void ShowPump1Click();
    // Whether the pipe context menu opens for a right click at a canvas point.
    bool NetworkImageContextPopup(int X, int Y);
    void PreventBackflow1Click();
    void ClosePipe1Click();
    void BitBtnPipePopupMenuClick();
    void ToolButtonZoomSelectionClick();
    void ImportImageClick();
    // Shows a pop-up menu at a screen point and returns the item chosen
    // (already run), or none; tests put a script here.
    std::function<QAction *(QMenu &, const QPoint &)> ExecPopupMenu;
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *ShowFittings1 = nullptr, *ShowControlValve1 = nullptr, *ShowComponent1 = nullptr, *ShowPump1 = nullptr;
    // The hover panel's texts for a node or a pipe.
    void UpdatePanelResultNodeInfo(int NodeId);
    void UpdatePanelResultPipeInfo(int PipeId);

    // --- editing commands and the undo log (NetworkForm_Edit.cpp) ----------------
    void ToolButtonUndo1Click();
    void ToolButtonRedo1Click();
    void Undo1Click() { ToolButtonUndo1Click(); }
    void Redo1Click() { ToolButtonRedo1Click(); }
    void Delete1Click();
    void ToolButtonDeleteClick() { Delete1Click(); }
    void MovePipe1Click();

    // --- clipboard and drawing transforms (NetworkForm_Clipboard.cpp) ---
    void createClipboardCommands();
    void Cut1Click();
    void ToolButtonCutClick() { Cut1Click(); }
    void Copy1Click();
    void ToolButtonCopyClick() { Copy1Click(); }
    void Paste1Click();
    void ToolButtonPasteClick() { Paste1Click(); }
    void SetIsometricDrawingMode1Click();
    void SetStandardDrawingMode1Click();
    void ToolButtonIsometricClick();
    void IsometricTankViewFromLeft1Click();
    void IsometricTankViewFromRight1Click();
    void RotateMirror1Click();
    void RotateInvert1Click();
    void SelectionRotate90Degrees1Click();
    void SelectionRotate90Degrees2Click();
    void SelectionMirror1Click();
    void ToolButtonMirrorClick() { SelectionMirror1Click(); }
    void SelectionInvert1Click();
    void ToolButtonInvertClick() { SelectionInvert1Click(); }
    QToolButton *ToolButtonCut = nullptr, *ToolButtonCopy = nullptr, *ToolButtonPaste = nullptr,
                *ToolButtonMirror = nullptr, *ToolButtonInvert = nullptr;

private:
    void copySelectionToClipboard();
    bool pasteAllowedBeforeDrawingChecks();
    bool pasteAllowedOnDrawing();
    void zoomToFitKeepingScale(int ScaleItemIndex);
    bool selectionToTransform(const char *verb);
    void selectionTransformed();

public:
    // --- hit tests (NetworkForm_HitTests.cpp); drawing units ---------------------
    static bool CheckXYMatch(int X1, int Y1, int X2, int Y2, int tolerance);
    int CheckNodeClick(int X, int Y) const;
    int CheckPipeClick(int X, int Y) const;
    int CheckClosedPipeClick(int X, int Y) const;
    int CheckPumpClick(int X, int Y) const;
    void CheckPipeFittingClick(int X, int Y, int &PipeId, TFittingPosition &FittingPosition) const;
    int CheckPipeComponentPressureClick(int X, int Y) const;
    int CheckTessaranControlClick(int X, int Y) const;
    int CheckPipeTextClick(int X, int Y) const;
    int CheckNodeDemandInClick(int X, int Y) const;
    int CheckNodeDemandOutClick(int X, int Y) const;
    int CheckNodeTextClick(int X, int Y) const;
    int CheckFreeTextClick(int X, int Y) const;
    void CheckBackgroundImageClick(int X, int Y, int &ImageId, int &Handle) const;

    // --- methods the panel, fluid, results and file commands fill --------------
    void UpdatePanelsNode(int NodeId, bool Highlight);
    void UpdatePanelsPipe(int PipeId, bool Highlight);
    void UpdateFluidDisplay(bool UseCurrentPipeIdSelected);
    void UpdatePanelResultsKey();
    void UpdatePanelResultsColorKey();
    void SetResultsMode();
    void SetDesignMode();
    void StatusBarShowCalculationEngine();
    void StatusBarShowPipe(int PipeId);
    void StatusBarShowNode(int NodeId);
    void ClickCalculateTextOnOff();
    void ClearActionLog();
    void LoadFileName(const std::string &FileName);
    void FileNewClick();
    void NewTab1Click();
    bool OpenConfigForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork, bool ResultsMode,
                        bool TickSelectedPipes);

    // --- calculation and results display (NetworkForm_Calculate.cpp, NetworkForm_Results.cpp) ---
    void createCalculationComponents();
    void createResultsKeys();
    void BitBtnCalculateClick();
    void ButtonStopCalculatingClick();
    void TimerCalculatingTimer();
    void BitBtnShowLogClick();
    // Frame delay of the start animation for a number of pipe links.
    static int CalculationAnimationDelay(int NodeLinksCount);
    // Progress timer interval for a number of nodes.
    static int CalculationTimerInterval(int NodeCount);
    void SetSelectionMode();
    void StatusBarShowPump(int PipeId);
    void StatusBarShowFitting(int PipeId);
    void StatusBarShowComponent(int PipeId);
    void StatusBarShowFlowControl(int PipeId);
    // The colour key into any image (text size, text colour, axis colour,
    // tick length), and framed with its title into a rectangle of a canvas.
    void DrawResultsColorKey(QImage &Image, int TextSize, TColor TextColor, TColor AxisColor, int TickLength);
    void UpdateResultsColorKeyOnCanvas(class TCanvas &Canvas, int X1, int Y1, int X2, int Y2, int TextSize,
                                       TColor TextColor, TColor AxisColor, int TickLength);
    // Decimals of the canvas key's scale labels for a converted axis maximum.
    static int ColorKeyDecimals(TResultsColorItemEnum Item, double AxisMax);
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void ResultsColorsSelect();
    void BitBtnResultsTableClick();
    // True from the start of a calculation until its window lock-down ends.
    bool CalculationRunning = false;
    QPushButton *BitBtnCalculate = nullptr;
    QPushButton *ButtonStopCalculating = nullptr;
    QLabel *LabelCalculating = nullptr, *LabelIterationCount = nullptr;
    QMenu *MainMenuBlank = nullptr;
    QLabel *LabelresultsKeyTitle = nullptr, *LabelResultsKey = nullptr, *LabelColorKeyTitle = nullptr,
           *ImageResultsColors = nullptr;
    QPushButton *BitBtnresultsKeyLabel = nullptr, *BitBtnResultsKeyUnits = nullptr, *BitBtnResultsColorKey = nullptr,
                *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button4 = nullptr;
    class TResultsLogForm *ResultsLogForm = nullptr;
    // The log the checks and the solver write; the results log form shows it.
    TResultsLog CalculationLog, CalculationPrivateLog;
    // --- end of calculation and results display ----------------------------------

    // --- fluid zones and node icons (NetworkForm_Fluids.cpp, NetworkForm_NodeTypes.cpp) ---
    void createFluidCommands();
    void BitBtnFluidClick();
    void ChangeFluid1Click();
    void EditCurrentFluid1Click();
    void CreateNewFluidZone1Click();
    void DeleteCurrentFluidZone1Click();
    void ChangeColorforthisFluid1Click();
    void SelectAddPipestothisFluidZone1Click();
    void OnOffShowColorforthisFluidZone1Click();
    void ResetFluidZonestoDefaultColors1Click();
    void ComboBoxFluidZoneClick(int Index);
    void ComboBoxFluidZoneDrawItem(QPainter &Painter, int Index, const QRect &Rect);
    void ComboBoxFluidZoneMouseEnter();
    void ComboBoxFluidZoneMouseLeave();
    void ChangeFluidZone1Click();
    // FluidZone1Click to FluidZone20Click: the highlighted pipe into that zone.
    void FluidZoneClick(int Zone);
    // "Zone 2: Water [998 kg/m3 at 0.0bar.g, 20°C]"
    std::string FluidZoneText(int Zone) const;
    bool FluidChanged = false;      // the last fluid dialog took a fluid
    bool CreatingFluidZone = false; // the fluid dialog is open for a new zone
    QPushButton *BitBtnFluid = nullptr;
    QLineEdit *EditFluid = nullptr;
    QMenu *PopupMenuFluids = nullptr;
    QMenu *Fluid1 = nullptr;
    QMenu *ChangeFluidZone1 = nullptr;
    std::array<QAction *, TNetwork::MaxFluidZones + 1> FluidZoneItems{}; // 1-based

    // The node icon chooser over the node panel.
    void createNodeTypeChooser();
    void ButtonTankTypeClick();
    void ListBoxNodeTypesDrawItem(QPainter &Painter, int Index, const QRect &Rect);
    void ListBoxNodeTypesClick(int Index);
    void ListBoxNodeTypesMouseMove();
    void PanelTankTypesMouseLeave() {}
    void ComboBoxIconSizeChange();
    void BitBtnNodeLiquidColorClick();
    void BitBtnSavePumpIconClick();
    QWidget *PanelIconSize = nullptr;
    QComboBox *ComboBoxIconSize = nullptr;
    QPushButton *BitBtnNodeLiquidColor = nullptr;
    QListWidget *ListBoxNodeTypes = nullptr;
    QPushButton *BitBtnSavePumpIcon = nullptr;
    // --- end of fluid zones and node icons ------------------------------------------

    // --- file commands (NetworkForm_Files.cpp) ---------------------------------------
    void createFileCommands();
    void Open1Click();
    void Save1Click() { SaveFile(); }
    void ToolButtonSaveClick() { SaveFile(); }
    void SaveAs1Click() { SaveFileAs(); }
    void SaveFile();
    void SaveFileAs();
    // The recent-file item at this index of the File menu was chosen.
    void RecentFileStringsClick(int MenuIndex);
    void OpenRecoverfromAutosaveFiles1Click();
    void PurgeAutoSavedFiles1Click();
    void TimerAutoSaveTimer();
    // Reads the recent-file list and shows it on the File menu (start-up).
    void LoadRecentFileList();
    // A file loaded or saved joins the recent-file list, which is written
    // and shown again; raises when the list file cannot be written.
    void AddRecentFile(const std::string &FileName);
    // Where the current network is saved automatically.
    std::string AutoSaveFileName() const;
    std::unique_ptr<TRecentFileStrings> RecentFileStrings;
    QAction *FileNew1 = nullptr, *NewTab1 = nullptr, *Open1 = nullptr, *Save1 = nullptr, *SaveAs1 = nullptr,
            *OpenRecoverfromAutosaveFiles1 = nullptr, *PurgeAutoSavedFiles1 = nullptr;
    std::array<QAction *, 4> RecentFile{}; // RecentFile1 to RecentFile4
    QToolButton *ToolButtonNewGrid = nullptr, *ToolButtonLoad = nullptr, *ToolButtonSave = nullptr;
    QWidget *PanelClickCalculateText = nullptr;
    QLabel *LabelClickCalculateText = nullptr;
    // --- end of file commands ----------------------------------------------------------

    // --- options and units commands (NetworkForm_Options.cpp) --------------------
    void createOptionCommands();
    void RefreshAfterOptions(bool WithFluidDisplay);
    void ChangeUnits1Click();
    void ToolButtonConfigureUnitsClick();
    void BitBtnUnitsClick();
    void Preferences1Click();
    void ConfigureLabelling1Click();
    void ToolButtonConfigureLabellingClick();
    void ToolButtonDefaultPipeClick();
    void ChangeDefaultPipeData1Click();
    void BitBtnAlterDefaultsClick();
    void ToolButtonAdjustPipesClick();
    void ToolButtonAdjustNodesClick();
    void ToolButtonCalculationsClick();
    void ImperialUnits1Click();
    void MetricUnits1Click();
    void changeUnitSystem(bool Imperial);
    void RadioButtonImperialUnitsClick();
    void RadioButtonMetricUnitsClick();
    void EditGridClick();
    void EditGrid2Click();
    void ToolButtonEditGridClick();
    void ToolButton6Click();
    void ToolButton8Click();
    // True while code sets the Imperial/Metric buttons: the units commands do nothing.
    bool UnitsRadioSilent = false;
    bool AskBeforeUnitsChange = true;
    TConfigForm *ConfigForm = nullptr; // a child window, made at its first opening and kept to exit
    QAction *ChangeUnits1 = nullptr, *ImperialUnits1 = nullptr, *MetricUnits1 = nullptr, *Preferences1 = nullptr,
            *ConfigureLabelling1 = nullptr, *ChangeDefaultPipeData1 = nullptr;
    QToolButton *ToolButtonConfigureUnits = nullptr, *ToolButtonConfigureLabelling = nullptr,
                *ToolButtonDefaultPipe = nullptr, *ToolButtonAdjustPipes = nullptr, *ToolButtonAdjustNodes = nullptr,
                *ToolButtonCalculations = nullptr, *ToolButtonEditGrid = nullptr, *ToolButton6 = nullptr,
                *ToolButton8 = nullptr;
    QPushButton *BitBtnUnits = nullptr;
    // --- end of options and units commands ------------------------------------------
    // --- results sheet (NetworkForm_ResultsSheet.cpp) -----------------------------
    // Opens the results sheet on the current network's tables (results mode
    // only); the "Results Sheet" button's work before its pause and redraw.
    void ShowResultsSheet();
    // The sheet's row follows the drawing's selection (results mode only).
    void ResultsSheetShowPipe(int PipeId);
    void ResultsSheetShowNode(int NodeId);
    void ResultsSheetShowSelected();
    // Back to design mode: the sheet closes.
    void CloseResultsSheet();
    // A tab switch: the sheet reopens on the tab's network, page and column
    // widths when the tab had it open, else it hides.
    void ResultsSheetFollowTab();
    // The sheet window, made at its first use and kept to exit.
    class TFormResults *ResultsSheetForm();
    class TFormResults *resultsSheet_ = nullptr;
    std::shared_ptr<class TResultsSheetHost> resultsSheetHost_;
    // --- end of results sheet ---------------------------------------------------------
    // --- PDF reports (NetworkForm_Reports.cpp) ------------------------------------
    void createReportCommands();
    void CreatePDFSystemDrawingClick();
    void CreatePDFCustomizedReportClick();
    bool PDFCreateFileSystemDrawing(const std::string &PDFfilename);
    bool PDFCreateFileSpreadsheetResults(const std::string &PDFfilename, const TReportOptions &TheReportOptions);
    // The report generators with their PDF engine, and the report options
    // dialog with the work grid; both made on first use.
    TPdfReports &PdfReports();
    TFormPDFConfig &FormPDFConfig();
    QAction *CreatePDFSystemDrawing = nullptr;
    std::shared_ptr<TPdfReports> pdfReports_;
    TFormPDFConfig *formPDFConfig_ = nullptr;

    // --- state ------------------------------------------------------------------
    bool FormInitialised = false;
    std::array<std::unique_ptr<TNetwork>, MaxTabs + 1> Networks; // 1-based
    std::array<TNetworkTab, MaxTabs + 1> NetworkTabs;            // 1-based
    int CurrentTabIndex = 1;
    std::string CurrentFilename;
    std::string CurrentFileDir;
    std::string WindowTitle;

    TNetwork *CurrentNetwork = nullptr;
    TNetworkStates NetworkStates;
    TDrawingObjectEnum DrawingObject = DrawingNone;
    bool ResultsMode = false;
    int MetaFileOffsetX = 0;
    int MetaFileOffsetY = 0;
    double MetaFileScale = 1.0;
    int SavedScaleItemIndex = 8;
    int DragStatus = 0;
    int DragNodeId = 0;
    TColor lastFreeTextColor = 0;
    int lastFreeTextSize = 7;
    TFontStyles lastFreeTextStyle;
    int lastFreeTextAngle = 0;
    TColor StatusBarDefaultColor = 0xFFFAF1;
    TColor StatusBarHintColor = 0xFFFAF1;
    bool AutoSaveErrorShown = false;
    bool PDFFirstReportPending = false;

    std::unique_ptr<TNetwork> ClipboardNetwork;
    bool CopyBufferFilled = false;
    std::array<TNode, 3> ScratchNodes;
    std::array<std::unique_ptr<TPipe>, 2> ScratchPipes;
    TFluid ScratchFluid;
    std::unique_ptr<TPumpDatabase> PumpDatabase;
    TFileHeader FittingsFileHeader;
    std::unique_ptr<TFittingSet> FittingSet;
    std::unique_ptr<TPipeNominalSizeSet> PipeNominalSizeSet;
    std::unique_ptr<TMetaFileDrawing> MetaFileDrawing; // the one renderer, the whole sheet
    QImage OffScreenImage;
    std::array<QCursor, 18> Cursors; // slots 2 to 17 are the tools' own

    // What the results windows showed for the current tab (the results log
    // and results sheet keep it while they are open).
    std::string MemoLogText;
    std::string LabelResultsMessageText;
    std::string LabelResultsMessage2Text;
    bool FormResultsVisible = false;
    int ResultsSheetTabIndex = 0;
    std::array<int, TNetworkTab::ResultsSheetColumns> ResultsSheetColWidths{};
    // The results sheet window, when one exists: zooming keeps items clear of it.
    QWidget *FormResults = nullptr;

    // --- node and pipe panels (NetworkForm_Panels.cpp) ---
    void createPanelControls();
    void FillPipeColorList();
    void UpdatePanelsNodeImage(TNode &TheNode, TColor TheBgColor);
    void UpdatePanelsNodeImageClear(TColor TheBgColor);
    void TimerNodePanelHighlightTimer();
    void TimerPipePanelHighlightTimer();
    void EditNodeNameChange();
    void EditPipeNameChange();
    void MemoNodeNotesChange();
    void MemoPipeNotesChange();
    void RightEditPipeLengthChange();
    void RightEditPipeDiameterChange();
    void RightEditPipeRoughnessChange();
    void RightEditSurfacePressureChange();
    void RightEditLiquidLevelChange();
    void RightEditTankElevationChange();
    void RightEditJointElevationChange();
    void RightEditDemandOutFlowChange();
    void RightEditDemandInFlowChange();
    void ComboBoxNodeTypeChange();
    void BitBtnPipeFittingsClick();
    void BitBtnPumpClick();
    void BitBtnComponentPressureClick();
    void BitBtnFlowControlClick();
    void CheckBoxCalcFittingsClick();
    void CheckBoxCalcComponentPressureClick();
    void CheckBoxCalcFlowControlClick();
    void CheckBoxCalcPumpClick();
    void BitBtnDemandOutFlowClick();
    void BitBtnDemandInFlowClick();
    void BitBtnReversePipeClick();
    void ComboBoxPipeColorsClick(int Index);
    void PanelNodeHeaderClick();
    void PanelNodeDetailSupplyClick();
    void PanelNodeDetailJointClick();
    void PanelPipesClick();
    void UpDownPipeClick(bool Up);
    void UpDownNodeClick(bool Up);
    // The line colours and widths of the pipe colour list: entry i is colour
    // i mod 6 at width i div 6.
    static constexpr std::array<TColor, 6> PipeLineColors = {0x000000, 0x008080, 0x0000FF, 0x00FF00, 0xFFB000, 0xC0C0C0};
    static constexpr std::array<int, 3> PipeLineWidths = {0, 3, 5};
    QLabel *LabelNodeName = nullptr, *LabelSymbol = nullptr, *LabelNodeType = nullptr, *LabelSurfacePressure = nullptr,
           *LabelSurfacePressureUnits = nullptr, *LabelLiquidLevel = nullptr, *LabelLiquidLevelUnits = nullptr,
           *LabelElevation = nullptr, *LabelElevationUnits = nullptr, *ImageTankGas1 = nullptr,
           *LabelJointElevation = nullptr, *LabelJointElevationUnits = nullptr, *LabelDemandOutFlow = nullptr,
           *LabelDemandOutFlowUnits = nullptr, *LabelDemandInFlow = nullptr, *LabelDemandInFlowUnits = nullptr,
           *LabelNodeNotes = nullptr, *LabelPipeName = nullptr, *LabelPipeLength = nullptr,
           *LabelPipeDiameter = nullptr, *LabelPipeRoughness = nullptr, *LabelPipeLengthUnits = nullptr,
           *LabelPipeDiameterUnits = nullptr, *LabelPipeRoughnessUnits = nullptr, *LabelPipeSize = nullptr,
           *LabelPipeMaterial = nullptr, *LabelPipeSchedule = nullptr,
           *LabelInclude = nullptr;
    QPushButton *ButtonTankType = nullptr, *BitBtnDemandOutFlow = nullptr, *BitBtnDemandInFlow = nullptr,
                *BitBtnPipeDiameter = nullptr, *BitBtnPipeMaterial = nullptr, *BitBtnPipeDefaults = nullptr,
                *BitBtnAlterDefaults = nullptr, *BitBtnPipePopupMenu = nullptr, *BitBtnPipeFittings = nullptr,
                *BitBtnComponentPressure = nullptr, *BitBtnFlowControl = nullptr, *BitBtnPump = nullptr;
    QCheckBox *CheckBoxCalcFittings = nullptr, *CheckBoxCalcComponentPressure = nullptr,
              *CheckBoxCalcFlowControl = nullptr, *CheckBoxCalcPump = nullptr;
    TRightEdit *RightEditDemandOutFlow = nullptr, *RightEditDemandInFlow = nullptr;
    QToolButton *UpDownNodeUp = nullptr, *UpDownNodeDown = nullptr, *UpDownPipeUp = nullptr,
                *UpDownPipeDown = nullptr, *ToolButtonZoomSelection = nullptr;
    // --- end of node and pipe panels ------------------------------------------------

    // --- components (named as the design names them) ---------------------------
    QWidget *ToolBar1 = nullptr;
    QWidget *ToolBar2 = nullptr;
    QWidget *PanelDrawingToolbar = nullptr;
    QToolButton *ToolButtonZoomIn = nullptr;
    QToolButton *ToolButtonZoomOut = nullptr;
    QToolButton *ToolButtonZoomCentre = nullptr;
    QToolButton *ToolButtonIsometric = nullptr;
    QComboBox *ScaleComboBox1 = nullptr;
    QRadioButton *RadioButtonImperialUnits = nullptr;
    QRadioButton *RadioButtonMetricUnits = nullptr;
    QPushButton *BitBtnLoadExamples = nullptr;
    QPushButton *BitBtnNextExample = nullptr;
    QPushButton *BitBtnQuickStartGuide = nullptr;
    QFrame *ToolButtonExampleSystemSeparator = nullptr;
    QPushButton *BitBtnResultsTable = nullptr;
    QPushButton *BitBtnResultsPDF = nullptr;
    QPushButton *BitBtnShowLog = nullptr;
    QLabel *ImageTessaranLogo = nullptr;
    QLabel *ImageDrawCursorType = nullptr;

    QWidget *TabRow = nullptr;
    QTabBar *TabControl1 = nullptr;
    QToolButton *SpeedButtonNewTab = nullptr;
    QToolButton *SpeedButtonDeleteTab = nullptr;

    QWidget *LeftPanel1 = nullptr;
    QPushButton *ButtonLeftMenuCollapse1 = nullptr;
    QTabBar *TabControlLeftMenu = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QWidget *PanelNodeHeader = nullptr;
    QWidget *PanelTankTypes = nullptr;
    QWidget *PanelNodeDetailSupply = nullptr;
    QWidget *PanelNodeDetailJoint = nullptr;
    QWidget *PanelNodeNotes = nullptr;
    QWidget *PanelPipes = nullptr;
    QLineEdit *EditNodeName = nullptr;
    QComboBox *ComboBoxNodeType = nullptr;
    QComboBox *ComboBoxNodeId = nullptr;
    QPushButton *BitBtnZoomToNode = nullptr;
    QLabel *ImageNodeSymbol = nullptr;
    TRightEdit *RightEditSurfacePressure = nullptr;
    TRightEdit *RightEditLiquidLevel = nullptr;
    TRightEdit *RightEditTankElevation = nullptr;
    TRightEdit *RightEditJointElevation = nullptr;
    QLabel *ImageTank1 = nullptr;
    QLabel *ImageTank1Empty = nullptr;
    QLabel *ImageEndPressure = nullptr;
    QPlainTextEdit *MemoNodeNotes = nullptr;
    QLineEdit *EditPipeName = nullptr;
    QComboBox *ComboBoxPipeId = nullptr;
    QPushButton *BitBtnZoomToPipe = nullptr;
    TRightEdit *RightEditPipeLength = nullptr;
    TRightEdit *RightEditPipeDiameter = nullptr;
    TRightEdit *RightEditPipeRoughness = nullptr;
    QPlainTextEdit *MemoPipeNotes = nullptr;
    QPushButton *BitBtnReOpenPipe = nullptr;
    QPushButton *BitBtnShutOff = nullptr;
    QPushButton *BitBtnReversePipe = nullptr;
    QFrame *Bevel1 = nullptr;
    QFrame *Bevel2 = nullptr;
    QComboBox *ComboBoxPipeColors = nullptr;
    QComboBox *ComboBoxFluidZone = nullptr;
    QWidget *PanelResultInfo = nullptr;
    QLabel *LabelInfoTitle = nullptr;
    QLabel *LabelInfo1 = nullptr;
    QWidget *PanelResultsKey = nullptr;
    QWidget *PanelResultsColorKey = nullptr;
    QWidget *PanelCalculating = nullptr;
    QWidget *PanelCalculating2 = nullptr;
    QGroupBox *GroupBoxCalculating = nullptr;
    QLabel *LabelCalculatingUpdate = nullptr;
    QWidget *PanelInvalidSolution = nullptr;

    QWidget *ScrollBox1 = nullptr;
    TNetworkImage *NetworkImage = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QScrollBar *ScrollBar2 = nullptr;
    TStatusBar *StatusBar1 = nullptr;

    QMenu *File1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *About1 = nullptr;
    QAction *ZoomtoFitonScreen1 = nullptr;
    QAction *CreatePDFCustomizedReport = nullptr;
    QAction *Undo1 = nullptr, *Redo1 = nullptr, *Cut1 = nullptr, *Copy1 = nullptr, *Paste1 = nullptr,
            *Delete1 = nullptr;
    QAction *SelectionRotate90Degrees1 = nullptr, *SelectionRotate90Degrees2 = nullptr,
            *SelectionMirror1 = nullptr, *SelectionInvert1 = nullptr;
    QAction *EditGrid = nullptr, *EditGrid2 = nullptr;
    QAction *SetStandardDrawingMode1 = nullptr, *SetIsometricDrawingMode1 = nullptr,
            *IsometricTankViewFromLeft1 = nullptr, *IsometricTankViewFromRight1 = nullptr,
            *RotateMirror1 = nullptr, *RotateInvert1 = nullptr;

    QToolButton *ToolButtonCursorArrow = nullptr, *ToolButtonHand1 = nullptr, *ToolButtonTank1 = nullptr,
                *ToolButtonPipeAdd1 = nullptr, *ToolButtonJoint1 = nullptr, *ToolButtonDemandPressure = nullptr,
                *ToolButtonDemandFlow = nullptr, *ToolButtonPumpAdd1 = nullptr, *ToolButtonFittingsAdd = nullptr,
                *ToolButtonComponentPressureLossAdd = nullptr, *ToolButtonFlowControlAdd = nullptr,
                *ToolButtonDragNode = nullptr, *ToolButtonText = nullptr, *ToolButtonClosePipe = nullptr,
                *ToolButtonSelection = nullptr, *ToolButtonSelection2 = nullptr;
    std::vector<QPixmap> ImageListCursorTypes;

    QTimer *TimerAutoSave = nullptr;
    QTimer *TimerSplashOff = nullptr;
    QTimer *TimerNodePanelHighlight = nullptr;
    QTimer *TimerPipePanelHighlight = nullptr;
    QTimer *TimerStatusBarHint = nullptr;
    QTimer *TimerCalculating = nullptr;

    TSplashScreenForm *SplashScreenForm = nullptr;
    TDialogSeam Messages;
    // The one undo log of all tabs.
    std::unique_ptr<TActionLog> ActionLog;
    // The item and pump dialogs; none installed opens nothing.
    TItemDialogs *ItemDialogs = nullptr;
    // Where the last press was, drawing units: the anchor of panning.
    int PressPointX = 0, PressPointY = 0;
    // The editor state when a selection move started: its rectangle is the
    // rectangle before the move.
    TNetworkStates SelectionMoveStart;
    // The position along the pipe of the fittings under the last press.
    TFittingPosition PressFittingPosition = EntryFitting;

    // --- printing, screen images, examples, e-mail, documents and help -----------
    // (NetworkForm_Printing.cpp)
    void createPrintingCommands();
    void Print1Click();
    void ToolButtonPrintClick() { Print1Click(); }
    void PrintSetup2Click();
    void PrintImageDisplayedOnScreen(const std::string &PageHeading, int PagesWide, int PagesHigh);
    void SaveScreenImage1Click();
    void SaveScree1Click();
    void OpenExamples1Click();
    void ReviewExampleSystems1Click() { OpenExamples1Click(); }
    void BitBtnLoadExamplesClick() { OpenExamples1Click(); }
    void BitBtnNextExampleClick();
    void Emai1Click();
    void ToolButtonEmailClick() { Emai1Click(); }
    void EmailScreenImage1Click();
    void ToolButtonEmailScreenClick() { EmailScreenImage1Click(); }
    void Contents1Click();
    void Index1Click();
    void OpenDocumentCommand(int DocumentIndex);
    void ImageTessaranLogoClick();
    void GoToWebSite1Click();
    // The visible sheet area drawn onto an image of the given width.
    QImage VisibleDrawingImage(int ImageWidth, int ImageHeight);
    std::unique_ptr<TPrinterJob> Printer;
    TPrintingForm *PrintingForm = nullptr;
    TExamplesForm *ExamplesForm = nullptr;
    THelpForm *HelpForm = nullptr;
    // Draws the results colour key into an image (text size, text colour,
    // axis colour, tick length); set by the results display.
    std::function<void(QImage &, int, TColor, TColor, int)> UpdateResultsColorKey;
    // --- end of printing block ----------------------------------------------------

    // What the dialogs and pump forms may ask of this window.
    TMainWindowServices &Services();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createComponents();
    void createMenus();
    void createToolBars(QWidget *parent);
    void createTabRow(QWidget *parent);
    void createLeftPanel(QWidget *parent);
    void createDrawingArea(QWidget *parent);
    void createTimers();
    void createToolButtons();
    void loadCursorTypeImages();
    void showToolCursorImage(int imageIndex);
    void flashStatusBarHint();
    void chooseTool(const TToolChoice &choice, int clearing, bool refreshWholeWindow);
    void applyStartUpColours();
    void applyLeftPanelGeometry();
    void loadFittingsDatabase();
    void loadPipeTables();
    void renderNetwork(bool ShowGridLines);
    bool handlePanelEditorTab(QObject *editor);
    void repaintNetworkImage();
    // Mouse helpers (NetworkForm_Mouse.cpp).
    void mouseDownLeft(int rawX, int rawY, int snappedX, int snappedY, bool nearGrid, bool doubleClick);
    void mouseDownRight(int rawX, int rawY);
    void pipeDrawingPress(int rawX, int rawY, int snappedX, int snappedY, bool nearGrid);
    void showItemInfoPress(int rawX, int rawY, int snappedX, int snappedY, bool doubleClick);
    void startPan(int code, int rawX, int rawY);
    void panTo(int X, int Y);
    void updateHoverPanel(int X, int Y, int rawX, int rawY);
    void showResultsModeStatus();
    void openPipeSizeDatabase(bool DisplayChangeMaterial);
    // Placement helpers (NetworkForm_Placement.cpp).
    bool nodeTooCloseToScaledNode(int X, int Y) const;
    void addNodeOfType(int X, int Y, int NodeImageIndex, bool tank);
    void splitPipeAtJoint(int pipeId, TNode &joint, int &jointId);
    int pipeForItemPlacement(int rawX, int rawY, int snappedX, int snappedY, const char *sameNodeText,
                             const char *blankText);
    double percentageAlongPipe(int pipeId, int rawX, int rawY) const;
    void placePump(int pipeId, int rawX, int rawY);
    void info(const std::string &text);
    bool ask(const std::string &text);
    bool refuseSaveDuringSelection();
    void rememberSavedFile(const std::string &path);
    const TFluid &nodeFluid(int NodeId) const;
    // Takes back the records of the newest undo group and forgets them.
    void withdrawLastActionGroup();
    void undoActionGroup();
    void applyActionRecord(const TActionRecord &r, bool undo);
    void restoreLoggedNode(const TActionRecord &r);
    void showAfterUndoOrRedo();
    void deleteSelection();
    // The moving tools (NetworkForm_Drag.cpp).
    void dragPress(int rawX, int rawY);
    bool percentAlong(int pipeId, int rawX, int rawY, double &percent, bool &reversed) const;
    void dragMove(int X, int Y, int rawX, int rawY);
    void dragImageHandle(int mx, int my);
    void dropNode(int rawX, int rawY);
    void selectionPress(int rawX, int rawY);
    void selectionDropOrLeave();
    void selectionMove(int X, int Y, bool LeftHeld, int rawX, int rawY);
    void selectionRelease();
    void fluidZonePress(int X, int Y, int rawX, int rawY);
    void fluidZoneMove(int X, int Y, int rawX, int rawY);
    void fluidZoneRelease();
    int pressCanvasX_ = 0, pressCanvasY_ = 0;
    void createPipeMenus();
    bool mouseDownRunning_ = false;
    int toolCursorPicture_ = -1;
    bool zoomToItemAt100(bool pipe, int &itemX, int &itemY);
    void zoomBesideResultsSheet(bool pipe);
    void zoomToFixedPlacement(bool pipe, int viewWidthDivisor, bool nearBottom);

    std::vector<QObject *> panelEditors_;
    std::unique_ptr<TMainWindowServices> services_;
    std::unique_ptr<TItemDialogs> programItemDialogs_;
};

} // namespace tessaran
