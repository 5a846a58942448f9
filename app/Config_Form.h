#pragma once
// The options dialog: a network's settings record edited page by page
// (labels, units, default pipe, results colours, calculation settings) in a
// working copy that goes back only on OK, and the bulk updates of the
// network's pipes and nodes, which act on the network at once.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_Window_Services.h"
#include "network/Config_Options.h"
#include "platform/Graphics.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTableWidget;
class QToolButton;
class QWidget;

namespace tessaran {

class TNetwork;
class TPipe;
class TPipeNominalSizeSet;
class TRightEdit;

class TConfigForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxListedPipes = 1000;
    static constexpr std::array<TColor, 6> PipeColorChoices{0x000000, 0x008080, 0x0000FF, 0x00FF00, 0xFFB000, 0xC0C0C0};
    static constexpr std::array<int, 3> PipeWidthChoices{0, 3, 5};
    static constexpr std::array<TColor, 6> NodeImageColors{0x00FF00, 0x008080, 0x0000FF, 0xFFFF00, 0xC0C0C0, 0x000000};
    // Low, middle and high colours of the eight sample gradients.
    static constexpr std::array<std::array<TColor, 3>, 8> SampleGradients{{{0x00FF00, 0x00FFFF, 0x0000FF},
                                                                           {0x0000FF, 0x00FFFF, 0x00FF00},
                                                                           {0xF0FF01, 0xFF80FF, 0x800080},
                                                                           {0x800080, 0xFF80FF, 0xF0FF01},
                                                                           {0x40FFFF, 0x0099FF, 0x0000FF},
                                                                           {0x0000FF, 0x0099FF, 0x40FFFF},
                                                                           {0xFFE79F, 0xFDCA2D, 0xFF0000},
                                                                           {0xFF0000, 0xFDCA2D, 0xFFE79F}}};

    explicit TConfigForm(QWidget *parent = nullptr);
    ~TConfigForm() override;

    // Shows the dialog modally on the page asked for, for the network's own
    // settings record; true when the user accepted (OK).
    bool openForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork, bool ResultsMode,
                  bool TickSelectedPipes);

    // What the dialog asks of the main window: redraws after the bulk
    // commands, the pipe-size table of the diameter and material screens,
    // and the fittings manager for the default pipe's fittings.
    std::function<void()> RefreshScreen;
    std::function<void()> RefreshScreenImageOnly;
    TPipeNominalSizeSet *PipeSizes = nullptr;
    std::function<void(TPipe &DefaultPipe, TUnit DiameterUnit)> OpenFittingManager;

    const TConfigOptions &Working() const { return working_; }
    bool Accepted() const { return OptionsAccepted; }
    int ChosenNodeImageIndex = 0;
    double RememberedElevation_m = 0;

    // --- components -------------------------------------------------------------
    QTabBar *TabControlConfigOptions;
    QWidget *PanelConfigDrawing, *PanelConfigUnits, *PanelConfigPipeDefaults, *PanelConfigNodes,
        *PanelConfigResultsColors, *PanelConfigCalculations, *PanelConfigNotes;
    QPushButton *ButtonOK, *ButtonCancel;

    // Labels page
    QCheckBox *CheckBoxDrawingShowPipeId, *CheckBoxDrawingShowPipeName, *CheckBoxDrawingShowPipeDiam,
        *CheckBoxDrawingShowPipeLength, *CheckBoxDrawingShowComponentName, *CheckBoxDrawingShowFlowControlName,
        *CheckBoxDrawingShowNodeId, *CheckBoxDrawingShowNodeName, *CheckBoxDrawingShowNodeElevation,
        *CheckBoxDrawingShowNodeTankInfo, *CheckBoxDrawingShowFittingsValves, *CheckBoxDrawingShowFittingsKValue,
        *CheckBoxDrawingShowFittingsBends, *CheckBoxDrawingShowPumpDistance, *CheckBoxDrawingShowPumpElevation,
        *CheckBoxDrawingShowPumpName;
    QRadioButton *RadioButtonShowFlowRate, *RadioButtonShowVelocity, *RadioButtonShowPipePressureLoss,
        *RadioButtonShowMassFlowRate, *RadioButtonShowGasFlowRate, *RadioButtonShowNodePressure,
        *RadioButtonShowNodeNothing, *RadioButtonShowFittingsNothing, *RadioButtonShowFittingsPressureLoss,
        *RadioButtonShowPumpHead, *RadioButtonShowPumpNPSHa, *RadioButtonShowPumpNothing;
    QComboBox *ComboBoxTextSize;

    // Units page
    QComboBox *ComboBoxLengthUnits, *ComboBoxDiameterUnits, *ComboBoxRoughnessUnits, *ComboBoxWeightUnits,
        *ComboBoxAreaUnits, *ComboBoxFlowRateUnits, *ComboBoxVelocityUnits, *ComboBoxVolumeUnits,
        *ComboBoxPressureLossUnits, *ComboBoxMassFlowUnits, *ComboBoxEnergyUnits, *ComboBoxGasFlowUnits,
        *ComboBoxGasFlowTemperaturePressureModel, *ComboBoxTemperatureUnits, *ComboBoxFluidPressureUnits,
        *ComboBoxDensityUnits, *ComboBoxLiquidLevelUnits, *ComboBoxElevationUnits, *ComboBoxSurfacePressureUnits;
    QRadioButton *RadioButtonAbsolute, *RadioButtonGage, *RadioButtonImperialUnits, *RadioButtonMetricUnits;
    TRightEdit *RightEditAtmosphere;
    QLabel *LabelAtmosphereUnit;

    // Pipe Data page
    TRightEdit *RightEditPipeDiameter, *RightEditPipeRoughness, *RightEditPipeLength;
    QLabel *LabelPipeDiameterUnits, *LabelPipeRoughnessUnits, *LabelPipeLengthUnits, *LabelPipeSize,
        *LabelPipeMaterial, *LabelPipeSchedule, *LabelSelectedPipeCount;
    QPushButton *BitBtnPipeFittings, *BitBtnComponents, *BitBtnPipeDiameter, *BitBtnPipeMaterial, *BitBtnPipeUnits;
    QComboBox *ComboBoxPipeColors;
    QListWidget *CheckListPipes;
    QPushButton *BitBtnCopyAllPipeData, *BitBtnCopyInternalDiam, *BitBtnCopyRoughness, *BitBtnCopyPipeLength,
        *BitBtnCopyAllDiamData, *BitBtnCopyAllMaterialData, *BitBtn1, *BitBtnCopyPipeFittings, *BitBtnCopyComponents,
        *BitBtnOpenPipes, *BitBtnClosePipes;

    // Node Data page
    QLabel *ImageNodeSymbol, *LabelSelectedNodeCount, *LabelJointElevationUnits, *LabelDemandInUnits,
        *LabelDemandOutUnits;
    QToolButton *UpDown1Up, *UpDown1Down;
    TRightEdit *RightEditJointElevation, *RightEditDemandIn, *RightEditDemandOut;
    QListWidget *CheckListNodes;
    QPushButton *BitBtnNodeUnits, *BitBtnCopyNodeImageAndElevation, *BitBtnCopyNodeImage, *BitBtnCopyNodeElevation,
        *BitBtnCopyDemandIn, *BitBtn2;

    // Results Colors page
    QRadioButton *RadioButtonUseDesignColors, *RadioButtonUseResultsColors;
    QCheckBox *CheckBoxShowColorKey;
    QLabel *ImageColorBar;
    QListWidget *ListBoxResultsColorItems;
    QPushButton *ButtonLowColor, *ButtonMiddleColor, *ButtonHighColor;
    QComboBox *ComboBoxSetColors;

    // Calculations page
    QComboBox *ComboBoxMethodOfSolution, *ComboBoxMethodOfCalculationNonCompressible,
        *ComboBoxMethodOfCalculationCompressible, *ComboBoxZ;
    TRightEdit *RightEditPipelineEfficiency, *RightEditZ, *RightEditNodeBalancingTolerance;
    QLabel *LabelPipelineEfficiency, *LabelZ, *LabelNodeBalanceFinal, *LabelNodeBalanceFinalUnits;
    QCheckBox *CheckBoxFinalNodeBalanceUsePercent;
    QTableWidget *ValueListEditor1;
    QPushButton *ButtonResetAllToDefaults, *ButtonRelaxNodeAdjust, *BitBtnCompressibleFlowEquations;

    // --- routines ---------------------------------------------------------------
    void SetOpeningTab(TConfigTabs TheTab);
    void SetSelectedTab(int TheTabIndex);
    void SetTabStartValues(const TConfigOptions &R);
    void SetConfigOptionsFromLabelsTab();
    void UpdateResultsColors();
    void SetTabDefaultValues(const TConfigOptions &R);
    void PopulateCheckListPipes();
    void PopulateCheckListNodes();
    void UpdateDefaultsButtons();
    void UpdateNodeImage();
    void CheckListPipesClick();
    void CheckListNodesClick();
    void SetCompressibleEntryValues(const TConfigOptions &R);
    void UpdateDisplayMethodOfCalculationCompressible(const TConfigOptions &R);
    void SetTopRowForValueListEditor(TMethodOfSolution TheMethodOfSolution);

    // --- handlers ---------------------------------------------------------------
    void TabControlConfigOptionsChange();
    void ButtonOKClick();
    void ButtonCancelClick();
    void RadioButtonAbsoluteClick();
    void RadioButtonGageClick();
    void RadioButtonImperialUnitsClick();
    void RadioButtonMetricUnitsClick();
    void ComboBoxFluidPressureUnitsChange();
    void RadioButtonUseDesignColorsClick();
    void RadioButtonUseResultsColorsClick();
    void ButtonColorClick(int which);
    void ComboBoxSetColorsClick();
    void BitBtnPipeDiameterOrMaterialClick(bool material);
    void CopyPipes(QPushButton *command);
    void CopyNodes(QPushButton *command);
    void UpDown1Click(bool up);
    void ComboBoxMethodOfSolutionChange();
    void ComboBoxMethodOfCalculationCompressibleChange();
    void ComboBoxZChange();
    void CheckBoxFinalNodeBalanceUsePercentClick();
    void ButtonResetAllToDefaultsClick();
    void ButtonRelaxNodeAdjustClick();
    void BitBtnCompressibleFlowEquationsClick();

private:
    void createLabelsPage();
    void createUnitsPage();
    void createPipeDataPage();
    void createNodeDataPage();
    void createResultsColorsPage();
    void createCalculationsPage();
    void fillUnitCombos(const TConfigOptions &R);
    void showAtmosphere(int decimals);
    void setPressureList(TPressureReference reference, int position);
    void choosePressureReference(TPressureReference Reference);
    void fillParameterEditor();
    void readBackParameterEditor();
    void applyUnitPreset(bool imperial);
    // Sets an entry's text from code: its change handler stores nothing, so
    // a value the user does not touch keeps its stored precision.
    void showText(TRightEdit *edit, const std::string &text);
    std::vector<int> tickedNodeIds() const;

    TConfigOptions working_;
    std::unique_ptr<TPipe> DefaultPipeCopy;
    TNetwork *TheNetwork = nullptr;
    bool ResultsMode = false;
    bool OptionsAccepted = false;
    bool SuppressUnitPresets = false;
    bool filling_ = false;
    std::array<int, MaxListedPipes> RowPipeIds{};
    std::string atmosphereShown_;
    std::vector<std::string> parametersShown_;
    int openTabIndex_ = 0;
};

} // namespace tessaran
