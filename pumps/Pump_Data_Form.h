#pragma once
// The pump data editor: the modal form in which the user defines the one
// pump a pipe carries (its kind, curve points, speed, impeller diameter and
// their limits, catalogue details and drawing symbol). There is one editor
// for the program's run; it keeps its controls between openings and works
// on copies of the caller's pump, handing one copy back when it closes.
//
// The class is split over several files by concern:
//   Pump_Data_Form.cpp        construction, opening, states, save and close
//   Pump_Data_Grid.cpp        the curve-point grid and its unit lists
//   Pump_Data_Entry.cpp       the entry boxes and their unit lists
//   Pump_Data_Icon.cpp        the pump symbol preview and chooser
//   Pump_Data_Graph.cpp       the performance chart and its checked redraws
//   Pump_Data_Adjust.cpp      predictions and model adjustment
//   Pump_Data_Views.cpp       graph options, read-out, large view and images
//   Pump_Data_File.cpp        standalone pump files

#include <functional>
#include <memory>
#include <vector>

#include <QDialog>
#include <QImage>
#include <QString>

#include "model/Pump_Class.h"
#include "units/Graph_Class.h"
#include "units/Units.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTableWidget;
class QToolBar;
class QToolButton;

namespace tessaran {

class TFluid;
class TNetwork;
class TPipe;
class TPumpDatabase;
class TQtCanvas;
class TBitmap;
class TCanvas;
class TRightEdit;
class TImageBox;
class TMetafile;
class TdePDFEngine;

// The flow units of the set-flow and the grid's flow list, by item.
constexpr int PumpFlowUnitItems = 20;
constexpr int PumpFirstMassFlowItem = 14;
TUnit PumpFlowUnitOfItem(int index);
int PumpFlowItemOfUnit(TUnit unit); // -1 when the list has no such unit
// The set-head list and the grid's head list (same units, same order).
constexpr int PumpHeadUnitItems = 11;
TUnit PumpHeadUnitOfItem(int index);
int PumpHeadItemOfUnit(TUnit unit);
// The NPSHr unit that goes with a head item of the grid.
TUnit PumpNPSHrUnitOfHeadItem(int index);
// The impeller diameter list.
constexpr int PumpDiameterUnitItems = 4;
TUnit PumpDiameterUnitOfItem(int index);
int PumpDiameterItemOfUnit(TUnit unit);

// Where the chart's parts stand, in percent of the picture's height from
// the bottom (0 and 0 for a strip not shown).
struct TPumpGraphLayout {
    int HeadFrom, HeadTo, NPSHrFrom, NPSHrTo, PowerFrom, PowerTo;
};
TPumpGraphLayout PumpGraphLayout(bool ShowNPSHr, bool ShowPower);
// The iso-efficiency lines: the step, kept between 1 and 20 %, and the
// values drawn from the smallest to the largest efficiency (at most 500).
constexpr std::size_t MaxIsoEfficiencyLines = 500;
double IsoEfficiencyStep(double EfficiencyIsoPercent);
std::vector<double> IsoEfficiencyValues(double Emin, double Emax, double Step);
// Fades a canvas towards a colour: 0 % leaves it, 100 % covers it.
void ConvertCanvasOpacity(TCanvas &TheCanvas, int TheWidth, int TheHeight, int TheOpacityPercent, TColor TheColor);

class TPumpDataForm : public QDialog {
    Q_OBJECT
public:
    explicit TPumpDataForm(QWidget *parent = nullptr);
    ~TPumpDataForm() override;

    // Shows the editor modally for the pump of a pipe, on the one editor
    // of the program's run. On return ThePump holds the last saved pump
    // (the caller's pump when nothing was saved) with its curves fitted for
    // the pipe's fluid, and DeletePump whether the user chose Delete Pump.
    static void OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                         bool &DeletePump, bool ResultsMode);
    // The one editor, created on first use.
    static TPumpDataForm &Instance();

    void Open(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork, bool &DeletePump,
              bool ResultsMode);

    // --- state --------------------------------------------------------------
    TPump SavedPump;
    TPump EditedPump;
    TPump GraphOptionsPump;
    TPump DrawingPump;
    bool EditingBaseData = false;
    bool GraphDrawingEnabled = false;

    // --- operations shared by the editor's parts ------------------------------
    void UpdateFormFromPump(TPump &ThePump);
    void SetPumpDisplayUnits();
    void SetPumpStringGridState();
    void SetLabelOrigCurve(const TPump &ThePump);
    void UpdatePumpImageSymbol(int PumpImageIndex);
    void RadioButtonFixedSpeedClick();
    void RadioButtonFixedFlowClick();
    void RadioButtonFixedHeadRiseClick();
    void SaveToPipe1Click();
    void BitBtnClearPumpClick();
    void BitBtnDeletePumpClick();
    void BitBtnCancelPumpClick();
    void Exit1Click();
    void LabelOrigCurveTextClick();
    void SetPumpToBaseData();

    // The curve-point grid (Pump_Data_Grid.cpp).
    void CheckStringGridValid(bool &Valid, int &firstBlankRow, QString &errorMessage);
    void CheckSetStringGridEfficiencyAndNPSHr();
    void UpdatePumpFromStringGrid(TPump &ThePump, bool &Valid);
    void UpdateStringGridFromPump(TPump &ThePump, bool &Valid);
    bool IsStringGridEmpty() const;
    void StringGridPumpPointsExit();
    void ComboBoxPumpFlowUnitsChange();
    void ComboBoxPumpHeadUnitsChange();
    // The cell at column c, row r as the grid shows it.
    QString Cell(int c, int r) const;
    void SetCell(int c, int r, const QString &text);
    // Paints every cell by the editor's state.
    void RepaintStringGrid();

    // The pump symbol chooser (Pump_Data_Icon.cpp).
    void BitBtnPumpIconClick();
    void BitBtnSavePumpIconClick();
    // Draws the symbol of a style into a picture, placed as the preview and
    // the style list place it.
    static void DrawPumpStyleSymbol(QImage &Picture, int Style, int ColorIndex);

    // The chart (Pump_Data_Graph.cpp).
    void DrawGraph1Click();
    void DrawPumpGraphAndCheckData(bool ForceDrawGraph);
    void ClearPumpGraph();
    void DrawPumpGraph(TGraph &PumpGraph, bool PDFversion, int xOffset, TPump &ThePump);
    void DrawPumpGraphAfterUpdateFromStringGrid(TGraph &PumpGraph, bool PDFversion, int xOffset, TPump &ThePump);

    // Predictions and model adjustment (Pump_Data_Adjust.cpp).
    void UpdateGraphOptionsFromPump(TPump &ThePump);
    void UpdateGraphOptionsUpdateRunningDataDrawGraph(TPump &ThePump);
    void SetMemoMultiplierStrings();
    void UpdateFormFromRightEditPumpSpeedRpmGraph();
    void UpdateFormFromRightEditPumpImpellerDiameterGraph();
    void PopulateComboBoxDropDowns();
    void SaveFlowHeadCustomizedMultipliers();
    void RestoreFlowHeadCustomizedMultipliers();
    void SaveEfficiencyCustomizedMultipliers();
    void RestoreEfficiencyCustomizedMultipliers();
    void UpDownSpeedClick(bool Up);
    void UpDownImpellerDiameterClick(bool Up);
    void MoveHeadClick(bool MaxImpeller, bool Up);
    void CurvatureClick(bool MaxImpeller, bool Up);
    void TrackBarChange(int Which);
    void ComboBoxDesignCurveChange();
    void ComboBoxEfficiencyCurveChange();
    void UpDownIndividualEfficiencyClick(bool Up);
    void BitBtnMoveToProblemDiamClick();
    void PanelGraphOptionsSetPosition();

    // Standalone pump files (Pump_Data_File.cpp).
    void SavePumpClick();
    void LoadPumpClick();
    void SavetoPumpDatabase1Click();
    void LoadfromPumpDatabase1Click();

    // Graph options, read-out and views (Pump_Data_Views.cpp).
    void GraphOptions1Click();
    void ButtonGraphOptionsOkClick();
    void ButtonCancelClick();
    void BitBtnGraphOptionsPanelMoveClick();
    void ButtonCalcCurvePointClick();
    void BitBtnEnlargeGraphClick();
    void BitBtn2Click();
    void ImagePumpCurveLargeMouseMove(QPoint at);
    // A click on a chart at a point of its picture.
    void PickPredictedPoint(bool LargeGraph, QPoint at);
    void TrackBarImageOpacityChange(bool LargeGraph);
    void ImportPumpSheetImage1Click();
    void ImportLogoImageontograph1Click();
    void CopyGraphImage1Click();
    void ColourSwatchClick(QLabel *Swatch);
    // Opens the curve-image digitiser on the pump; set by the program once
    // the digitiser is there, without it the import is not offered.
    static inline std::function<void(TPump &ThePump, const TFluid &TheFluid)> OpenCurveImageDigitiser;
    // The PDF pump data sheet (Pump_Pdf_Sheet.cpp): standalone (its own
    // document, written and opened) or as a page of a report being built.
    void CreatePDFPumpSheet(TNetwork &TheNetwork, int ThePipeId, TPump &ThePump, TdePDFEngine &ThePDFEngine,
                            bool CreatePDFDocument, bool TheResultsMode);
    void CreatePDFPumpSheet1Click();
    void PDFSetUpPDFEngineAndVariables(TdePDFEngine &ThePDFEngine, const std::string &PDFfilename,
                                       const TMetafile &PDFMetaFile);
    // The folder the standalone sheet is written to, ending with a
    // separator: one of this user's own, never a shared one. Set by the
    // program; it raises when no such folder can be had.
    static inline std::function<std::string()> PumpSheetFolder;
    // The addresses the sheet and its messages name; set by the program.
    struct TPumpSheetAddresses {
        std::string WebAddress;
        std::string SupportEmail;
        std::string PdfViewerWebAddress;
    };
    static inline TPumpSheetAddresses PumpSheetAddresses;
    // The editor's own engine for standalone sheets.
    std::unique_ptr<TdePDFEngine> dePDFEngine1;
    // The selected predicted point: its curve, number (0 none) and the
    // efficiencies at it and its neighbours.
    bool SelectedPointOnMinimum() const { return selectedPointOnMinimum_; }
    int SelectedPoint() const { return selectedPoint_; }
    bool MagnifierOn() const { return magnifierOn_; }
    QImage ImageSaved;

    // --- components -----------------------------------------------------------
    QMenuBar *MainMenu;
    QAction *LoadfromPumpDatabase1, *SavetoPumpDatabase1, *LoadPump1, *SavePump1, *SaveToPipe1, *Exit1;
    QAction *GraphOptions1, *CopyGraphImage1;
    QAction *DrawGraph1, *ImportLogoImageontograph1, *ImportPumpSheetImage1, *CreatePDFPumpSheet1;
    QToolBar *ToolBar1;
    QToolButton *ToolButtonLoadPump, *ToolButtonSavePump, *ToolButtonOpenPumpDatabase, *ToolButtonAddToPumpDatabase,
        *ToolButtonImportCurveImage, *ToolButtonPDF, *ToolButtonGraphOptions, *ToolButtonDrawGraph,
        *ToolButtonCopyGraph;
    QPushButton *BitBtnOpenPumpDatabase, *BitBtnAddPumpToDatabase, *BitBtnImportCurveImage, *BitBtnCreatePumpSheet;

    QGroupBox *GroupBoxPumpData;
    QLineEdit *EditPumpName;
    TRightEdit *RightEditElevation;
    QLabel *LabelElevationUnit;
    TImageBox *ImagePumpSymbol;
    QPushButton *BitBtnPumpIcon;
    QGroupBox *GroupBoxModelPump;
    QRadioButton *RadioButtonFixedFlow, *RadioButtonFixedHeadRise, *RadioButtonFixedSpeed;
    TRightEdit *RightEditSetFlowRate;
    QComboBox *ComboBoxSetFlowUnits;
    TRightEdit *RightEditSetFixedHead;
    QComboBox *ComboBoxSetFixedHeadUnits;
    QLabel *LabelOrigCurveText;
    QLabel *LabelOrigCurve;
    TRightEdit *RightEditPumpSpeed;
    TRightEdit *RightEditImpellerDiameter;
    QComboBox *ComboBoxImpellerDiameterUnits;
    QTableWidget *StringGridPumpPoints;
    QComboBox *ComboBoxPumpFlowUnits;
    QComboBox *ComboBoxPumpHeadUnits;
    QFrame *PanelWarning;
    QGroupBox *GroupBoxPreferredRegion;
    TRightEdit *RightEditPreferredOpRegionFromPercent, *RightEditPreferredOpRegionToPercent;
    QPushButton *BitBtnClearPump, *BitBtnDeletePump, *BitBtnCancelPump, *BitBtnGraphOptions, *BitBtnDrawGraph,
        *BitBtnSavePump;

    QGroupBox *GroupBoxPumpGraph;
    QLineEdit *EditPumpCatalog, *EditPumpManufacturer, *EditPumpType, *EditPumpSize;
    TRightEdit *RightEditPumpMotorRpm, *RightEditPumpStages;
    QGroupBox *GroupBoxPumpNotes;
    QPlainTextEdit *MemoPumpNotes;
    TRightEdit *RightEditPumpSpeedMinRpm, *RightEditPumpSpeedMaxRpm;
    TRightEdit *RightEditImpellerDiameterMin, *RightEditImpellerDiameterMax;
    QLabel *LabelPumpMinDiam, *LabelPumpMaxDiam;
    TImageBox *ImagePumpCurve;
    TRightEdit *RightEditPumpSpeedRpmGraph, *RightEditPumpImpellerDiameterGraph;
    QToolButton *UpDownSpeedUp, *UpDownSpeedDown, *UpDownImpellerDiameterUp, *UpDownImpellerDiameterDown;
    QPushButton *BitBtnEnlargeGraph, *BitBtnAddLogo;
    QGroupBox *GroupBoxShowPoint;
    TRightEdit *RightEditFlow, *RightEditHead;
    QLabel *LabelShowFlow, *LabelShowHead, *LabelShowEffic, *LabelShowNPSHr, *LabelShowPower;
    QPushButton *ButtonCalcCurvePoint;
    QGroupBox *GroupBoxGraphMessage;
    QLabel *LabelGraphMessage;
    QPushButton *BitBtnMoveToProblemDiam;
    QGroupBox *GroupBoxImageOpacity, *GroupBoxImageOpacity2;
    QFrame *PanelPointEfficiencies;
    QFrame *PanelGraphOptions;
    QCheckBox *CheckBoxHead, *CheckBoxNPSHr, *CheckBoxGridLines, *CheckBoxPower, *CheckBoxPrefOp, *CheckBoxEffic;
    QFrame *Panel2;
    TImageBox *ImagePumpCurveLarge;
    QToolButton *UpDownSpeedLargeGraphUp, *UpDownSpeedLargeGraphDown, *UpDownImpellerDiameterLargeGraphUp,
        *UpDownImpellerDiameterLargeGraphDown;
    QGroupBox *GroupBoxNoteSingleCurve;
    QPlainTextEdit *Memo1;
    QGroupBox *GroupBoxNotes;
    QPlainTextEdit *Memo2;

    // The model adjustment and the graph options.
    QGroupBox *GroupBoxGraphOptions, *GroupBoxCurveMultipliers, *GroupBoxMultiplierInfo;
    QGroupBox *GroupBoxGraphOptionsMultipliers, *GroupBoxGraphOptionsEfficiency, *GroupBoxAdjustPumpGraphs;
    QComboBox *ComboBoxDesignCurve, *ComboBoxEfficiencyCurve;
    QPlainTextEdit *MemoMinImpellerMultipliers, *MemoMaxImpellerMultipliers;
    QPushButton *BitBtnNotes, *BitBtnAdjustPumpGraphs, *BitBtnExitAdjustPumpGraphs, *BitBtnCloseNotes;
    QToolButton *UpDown1Up, *UpDown1Down, *UpDown2Up, *UpDown2Down, *UpDown3Up, *UpDown3Down, *UpDown4Up,
        *UpDown4Down;
    QSlider *TrackBar1, *TrackBar2, *TrackBar3, *TrackBar4;
    QToolButton *UpDownNPSHstartMaxImpellerUp, *UpDownNPSHstartMaxImpellerDown, *UpDownNPSHEndMaxImpellerUp,
        *UpDownNPSHEndMaxImpellerDown, *UpDownNPSHStartMinImpellerUp, *UpDownNPSHStartMinImpellerDown,
        *UpDownNPSHEndMinImpellerUp, *UpDownNPSHEndMinImpellerDown, *UpDownEfficiencyMaxSpeedUp,
        *UpDownEfficiencyMaxSpeedDown, *UpDownMinFlowLineMaxDiamUp, *UpDownMinFlowLineMaxDiamDown,
        *UpDownMinFlowLineMinDiamUp, *UpDownMinFlowLineMinDiamDown, *UpDown6Up, *UpDown6Down;
    QLabel *LabelNPSHStartMinDiamPercentIncrease, *LabelNPSHEndMinDiamPercentIncrease,
        *LabelNPSHStartMaxDiamPercentIncrease, *LabelNPSHEndMaxDiamPercentIncrease,
        *LabelEfficiencyMaxSpeedPercentIncrease, *LabelMinDiamMinFlowPercent, *LabelMaxDiamMinFlowPercent;
    QPushButton *ButtonUpdateIndividualPoints;
    QLabel *LabelIndividualEffics, *LabelMaxDiamAdjustedPoints, *LabelMinDiamAdjustedPoints;
    QPushButton *BitBtnReturnToGroupAdjustments, *BitBtnClearMaxDiamEfficAdjustments,
        *BitBtnClearMinDiamEfficAdjustments;
    QGroupBox *GroupBoxPointEffic, *GroupBoxPointEfficLargeGraph;
    QLabel *LabelPointEffic, *LabelPointEfficLargeGraph;
    QToolButton *UpDownIndividualEfficiencyUp, *UpDownIndividualEfficiencyDown,
        *UpDownIndividualEfficiencyLargeGraphUp, *UpDownIndividualEfficiencyLargeGraphDown;
    QPushButton *ButtonPointEfiicOk, *ButtonPointEfficOkLargeGraph;
    QCheckBox *CheckBoxEnvelope, *CheckBoxDesignPoint, *CheckBoxSystemCurve, *CheckBoxMinFlowLine,
        *CheckBoxImportedLogo, *CheckBoxImportedPumpSheet;
    QRadioButton *RadioButtonEfficLine, *RadioButtonEfficIso, *RadioButtonGridStandard, *RadioButtonGridFine;
    QLabel *LabelIsoPercent;
    TRightEdit *RightEditSystemCurveStartHead;
    QLabel *LabelStartHeadUnit;
    QLabel *LabelColorDesignCurve, *LabelColorEnvelope, *LabelColorPrefOpRange, *LabelColorEfficiency,
        *LabelColorPower, *LabelColorNpshr, *LabelColorGridLines, *LabelColorDesignPoint, *LabelColorSystemCurve,
        *LabelColorMinFlowLine;
    QPushButton *BitBtnGraphOptionsPanelMove, *ButtonGraphOptionsOk, *ButtonCancel;
    QLabel *LabelHeaderPower;
    QSlider *TrackBarImageOpacity, *TrackBarImageOpacity2;
    QPushButton *BitBtn1, *BitBtn2;
    QLabel *LabelFlow, *LabelHead, *LabelSpeedLargeGraph, *LabelDiameterLargeGraph;

    QFrame *PanelPumpIcon;
    QComboBox *ComboBoxPumpScale;
    QComboBox *ColorBoxPump;
    QListWidget *ListBoxPumpTypes;
    QPushButton *BitBtnSavePumpIcon;

    // The two charts, on ImagePumpCurve and ImagePumpCurveLarge.
    std::unique_ptr<TGraph> PumpGraphSmall, PumpGraphLarge;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenusAndTools();
    void buildPumpDataSide();
    void buildGraphSide();
    void buildIconPanel();
    void buildAdjustmentPanel();
    void buildViewControls();
    void connectAdjustment();
    void connectViews();
    void connectPumpFiles();
    void connectPdfSheet();
    void dePDFEngine1BeforeBeginPage();
    void dePDFEngine1AfterBeginPage();
    bool viewEventFilter(QObject *watched, QEvent *event);
    void writeOptionFromControls(QObject *control);
    void redrawSmallAndLarge();
    void setColourSwatch(QLabel *swatch, TColor colour);
    void preferredRegionChanged(TRightEdit *box, std::int32_t &field);
    void connectEntries();
    void connectGrid();
    double density() const { return density_; }
    double atmosphere() const;
    void setBoxEnabled(QWidget *box, bool enabled);
    void applyTypeEnabling(TPumpType type);
    void setCurveControlsEnabled(bool enabled);
    void setResultsModeEnabling();
    void setLibraryCommandsEnabled(bool enabled);
    void showGraphMessage(const QString &text);
    // Both charts from the pump as it stands, without checks.
    void drawBothCharts();
    // Editing points of a pump running on predicted data: which data?
    void askBaseOrPredictedData();
    void drawTracedImage(TGraph &PumpGraph, const TPump &ThePump);
    void drawLogo(TGraph &PumpGraph, const TBitmap &Logo);
    void writeGridTitles();
    void writeGridRows(TPump &ThePump);
    void selectGridUnitLists();
    void gridFocusChanged(QWidget *old, QWidget *now);

    // Entry handlers (Pump_Data_Entry.cpp).
    void pumpSpeedChanged();
    void impellerDiameterChanged();
    void impellerLimitChanged(TRightEdit *box, double &field);
    void speedLimitChanged(TRightEdit *box, std::int32_t &field);
    void motorRpmChanged();
    void stagesChanged();
    void setFlowChanged();
    void setFlowUnitChanged(int index);
    void setHeadChanged();
    void setHeadUnitChanged(int index);
    void diameterUnitChanged(int index);
    void textBoxChanged();
    void notesChanged();

    // Icon chooser handlers (Pump_Data_Icon.cpp).
    void listBoxPumpTypesClick();
    void colorBoxPumpChange(int index);
    void comboBoxPumpScaleChange(int index);
    void fillStyleList();

    TNetwork *network_ = nullptr;
    TPipe *pipe_ = nullptr;
    int pipeId_ = 0;
    TPumpDatabase *pumpDatabase_ = nullptr;
    bool resultsMode_ = false;
    double density_ = 1000.0;
    double openingDistance_m_ = 0;
    double openingElevation_m_ = 0;
    bool deleted_ = false;
    // The grid's list indexes after the last accepted change.
    int rememberedFlowIndex_ = 0;
    int rememberedHeadIndex_ = 0;
    // The diameter list's index while it shows the pump's unit.
    int rememberedDiameterIndex_ = 0;
    // Set while the form itself writes its controls.
    int filling_ = 0;
    // The impeller diameter whose predicted efficiency curve has a bump.
    double problemDiameter_m_ = 0;
    // The predicted point picked on the chart: its number (0 none) and curve.
    int selectedPoint_ = 0;
    bool selectedPointOnMinimum_ = true;
    double selectedEfficiency_ = 0;
    double selectedEfficiencyBefore_ = 0, selectedEfficiencyAfter_ = 0;
    bool magnifierOn_ = false;
    // The user-defined match of the two preset lists.
    TPumpArray<double, 2> userFlowHeadMax_, userFlowHeadMin_;
    TPumpArray<double, 2> userEfficiencyMax_, userEfficiencyMin_;
    TPumpArray<double, MaxPumpPoints> userPointMax_, userPointMin_;
};

} // namespace tessaran
