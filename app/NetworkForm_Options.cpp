// The main window's commands around the network's options: opening the
// options dialog on a page and refreshing afterwards, the Imperial and
// Metric units commands, the pipe panel's diameter and material buttons,
// the current pipe as default pipe, the edit grid and two forwarding buttons.
#include "app/NetworkForm.h"

#include <QAction>
#include <QBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "app/Config_Form.h"
#include "app/Program_Folder.h"
#include "app/Results_Form.h"
#include "dialogs/Pipe_Diameter_Data_Form.h"
#include "model/Pipe_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

QToolButton *OptionToolButton(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

QAction *MenuAction(QMenu *menu, const char *name, const QString &text)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

QMenu *MenuNamed(QMenuBar *bar, const char *name, const QString &title)
{
    if (auto *menu = bar->findChild<QMenu *>(name))
        return menu;
    // A new menu goes before Help, which stays last.
    auto *menu = new QMenu(title, bar);
    menu->setObjectName(name);
    auto *help = bar->findChild<QMenu *>("Help1");
    if (help)
        bar->insertMenu(help->menuAction(), menu);
    else
        bar->addMenu(menu);
    return menu;
}

const QString DefaultPipeRefused = "The Default Pipe values cannot be amended in Results mode.\r\rSwitch back to "
                                   "Design mode to adjust and reset default pipe values.";

} // namespace

void TNetworkForm::createOptionCommands()
{
    QMenu *units = MenuNamed(menuBar(), "Units1", "&Units");
    ChangeUnits1 = MenuAction(units, "ChangeUnits1", "Specify Units...");
    ImperialUnits1 = MenuAction(units, "ImperialUnits1", "Imperial Units");
    MetricUnits1 = MenuAction(units, "MetricUnits1", "Metric Units");
    QMenu *drawing = MenuNamed(menuBar(), "Drawing1", "&Drawing");
    ConfigureLabelling1 = MenuAction(drawing, "ConfigureLabelling1", "Choose Labeling Options");
    ChangeDefaultPipeData1 = MenuAction(drawing, "ChangeDefaultPipeData1", "Change Default Pipe Values");
    QMenu *tools = MenuNamed(menuBar(), "Tools1", "&Tools");
    Preferences1 = MenuAction(tools, "Preferences1", "Options");
    connect(ChangeUnits1, &QAction::triggered, this, &TNetworkForm::ChangeUnits1Click);
    connect(ImperialUnits1, &QAction::triggered, this, &TNetworkForm::ImperialUnits1Click);
    connect(MetricUnits1, &QAction::triggered, this, &TNetworkForm::MetricUnits1Click);
    connect(ConfigureLabelling1, &QAction::triggered, this, &TNetworkForm::ConfigureLabelling1Click);
    connect(ChangeDefaultPipeData1, &QAction::triggered, this, &TNetworkForm::ChangeDefaultPipeData1Click);
    connect(Preferences1, &QAction::triggered, this, &TNetworkForm::Preferences1Click);
    if (EditGrid)
        connect(EditGrid, &QAction::triggered, this, &TNetworkForm::EditGridClick);
    if (EditGrid2)
        connect(EditGrid2, &QAction::triggered, this, &TNetworkForm::EditGrid2Click);

    ToolButtonConfigureUnits = OptionToolButton(ToolBar1, "ToolButtonConfigureUnits", "Un", "Choose Units");
    ToolButtonConfigureLabelling =
        OptionToolButton(ToolBar1, "ToolButtonConfigureLabelling", "Lab", "Choose Labelling");
    ToolButtonDefaultPipe =
        OptionToolButton(ToolBar1, "ToolButtonDefaultPipe", "Def", "Set Pipe Default Drawing Values");
    ToolButtonAdjustPipes =
        OptionToolButton(ToolBar1, "ToolButtonAdjustPipes", "AdP", "Adjust Attributes of Selected Pipes");
    ToolButtonAdjustNodes =
        OptionToolButton(ToolBar1, "ToolButtonAdjustNodes", "AdN", "Adjust Attributes of Selected Nodes");
    ToolButtonCalculations =
        OptionToolButton(ToolBar1, "ToolButtonCalculations", "Eng", "Choose Calculation Engine");
    ToolButtonEditGrid = OptionToolButton(ToolBar1, "ToolButtonEditGrid", "Grid", "Edit Network Data in Grid View");
    ToolButton6 = OptionToolButton(ToolBar1, "ToolButton6", "PDF", "Create PDF of System Drawing");
    ToolButton8 = OptionToolButton(ToolBar1, "ToolButton8", "Img", "Import Image on to Drawing");
    BitBtnUnits = new QPushButton("Units", PanelDrawingToolbar);
    BitBtnUnits->setObjectName("BitBtnUnits");
    // The option buttons sit compactly at the end of the drawing tool bar.
    if (auto *row = qobject_cast<QBoxLayout *>(PanelDrawingToolbar->layout())) {
        for (QToolButton *button : {ToolButtonConfigureUnits, ToolButtonConfigureLabelling, ToolButtonDefaultPipe,
                                    ToolButtonAdjustPipes, ToolButtonAdjustNodes, ToolButtonCalculations,
                                    ToolButtonEditGrid, ToolButton6, ToolButton8}) {
            button->setParent(PanelDrawingToolbar);
            button->setFixedSize(34, 22);
            row->addWidget(button);
        }
        BitBtnUnits->setFixedWidth(44);
        row->addWidget(BitBtnUnits);
    }
    connect(ToolButtonConfigureUnits, &QToolButton::clicked, this, &TNetworkForm::ToolButtonConfigureUnitsClick);
    connect(ToolButtonConfigureLabelling, &QToolButton::clicked, this,
            &TNetworkForm::ToolButtonConfigureLabellingClick);
    connect(ToolButtonDefaultPipe, &QToolButton::clicked, this, &TNetworkForm::ToolButtonDefaultPipeClick);
    connect(ToolButtonAdjustPipes, &QToolButton::clicked, this, &TNetworkForm::ToolButtonAdjustPipesClick);
    connect(ToolButtonAdjustNodes, &QToolButton::clicked, this, &TNetworkForm::ToolButtonAdjustNodesClick);
    connect(ToolButtonCalculations, &QToolButton::clicked, this, &TNetworkForm::ToolButtonCalculationsClick);
    connect(ToolButtonEditGrid, &QToolButton::clicked, this, &TNetworkForm::ToolButtonEditGridClick);
    connect(ToolButton6, &QToolButton::clicked, this, &TNetworkForm::ToolButton6Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TNetworkForm::ToolButton8Click);
    connect(BitBtnUnits, &QPushButton::clicked, this, &TNetworkForm::BitBtnUnitsClick);

    // Only the user's clicks run the units commands; code sets the buttons
    // with their signals blocked.
    connect(RadioButtonImperialUnits, &QRadioButton::clicked, this, &TNetworkForm::RadioButtonImperialUnitsClick);
    connect(RadioButtonMetricUnits, &QRadioButton::clicked, this, &TNetworkForm::RadioButtonMetricUnitsClick);
}

bool TNetworkForm::OpenConfigForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork,
                                  bool ResultsMode_, bool TickSelectedPipes)
{
    if (!ConfigForm) {
        ConfigForm = new TConfigForm(this);
        ConfigForm->setWindowFlag(Qt::Window);
        ConfigForm->RefreshScreen = [this] { RefreshScreen(true); };
        ConfigForm->OpenFittingManager = [this](TPipe &DefaultPipe, TUnit DiameterUnit) {
            if (!ItemDialogs)
                return;
            TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, DefaultPipe);
            ItemDialogs->OpenFittingManager(DefaultPipe.FittingSet, -999,
                                            DefaultPipe.GetPipeNameSizeInternalDiameterString(DiameterUnit),
                                            DefaultPipe.NominalDiameterMetric, false, EntryFitting);
        };
        ConfigForm->RefreshScreenImageOnly = [this] {
            RefreshScreenImageOnly(true);
            repaintNetworkImage();
        };
    }
    ConfigForm->PipeSizes = PipeNominalSizeSet.get();
    return ConfigForm->openForm(TheTab, TheConfigOptions, TheNetwork, ResultsMode_, TickSelectedPipes);
}

void TNetworkForm::RefreshAfterOptions(bool WithFluidDisplay)
{
    StatusBarShowCalculationEngine();
    UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    if (WithFluidDisplay)
        UpdateFluidDisplay(true);
    UpdatePanelResultsKey();
    UpdatePanelResultsColorKey();
    RefreshScreenImageOnly(true);
    repaintNetworkImage();
}

// --- commands that open the options dialog -------------------------------------------

void TNetworkForm::ChangeUnits1Click()
{
    OpenConfigForm(ConfigUnits, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, false);
    RefreshAfterOptions(true);
}

void TNetworkForm::ToolButtonConfigureUnitsClick()
{
    NetworkStates.SystemUpdatedSinceLoad = true;
    ChangeUnits1Click();
    // The results sheet shows the tables in the new units.
    if (FormResults && FormResults->isVisible())
        ResultsSheetForm()->SetNetwork(CurrentNetwork);
}

void TNetworkForm::BitBtnUnitsClick() { ChangeUnits1Click(); }
void TNetworkForm::Preferences1Click() { ChangeUnits1Click(); }

void TNetworkForm::ConfigureLabelling1Click()
{
    OpenConfigForm(ConfigDrawing, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, false);
    RefreshAfterOptions(false);
}

void TNetworkForm::ToolButtonConfigureLabellingClick()
{
    NetworkStates.SystemUpdatedSinceLoad = true;
    ConfigureLabelling1Click();
}

void TNetworkForm::ToolButtonDefaultPipeClick()
{
    NetworkStates.SystemUpdatedSinceLoad = true;
    OpenConfigForm(ConfigDefaults, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, false);
    RefreshAfterOptions(false);
}

void TNetworkForm::ChangeDefaultPipeData1Click()
{
    if (ResultsMode) {
        Dialogs().ShowMessage(TDialogKind::Information, DefaultPipeRefused, this);
        return;
    }
    OpenConfigForm(ConfigDefaults, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, false);
    RefreshScreen(true);
}

void TNetworkForm::BitBtnAlterDefaultsClick() { ChangeDefaultPipeData1Click(); }

void TNetworkForm::ToolButtonAdjustPipesClick()
{
    if (NetworkStates.SelectionStatus == 0) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              "No Pipes are selected.\r\rUse the selection tool to select a group of pipes and then "
                              "use this tool to amend the properties of the pipes in one operation.",
                              this);
        return;
    }
    OpenConfigForm(ConfigDefaults, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, true);
    RefreshAfterOptions(true);
}

void TNetworkForm::ToolButtonAdjustNodesClick()
{
    if (NetworkStates.SelectionStatus == 0) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              "No Nodes are selected.\r\rUse the selection tool to select a group of nodes and then "
                              "use this tool to amend the properties of the nodes in one operation.",
                              this);
        return;
    }
    OpenConfigForm(ConfigNodes, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, true);
    StatusBarShowCalculationEngine();
    UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    RefreshScreenImageOnly(true);
    repaintNetworkImage();
}

void TNetworkForm::ToolButtonCalculationsClick()
{
    OpenConfigForm(ConfigSystem, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, false);
    RefreshAfterOptions(true);
}

// --- Imperial and Metric units ---------------------------------------------------------

// Both unit systems: the question (unless code already asked), the two
// buttons set without their signals, then the change and every display.
void TNetworkForm::changeUnitSystem(bool Imperial)
{
    if (UnitsRadioSilent)
        return;
    TConfigOptions &options = CurrentNetwork->ConfigOptions;
    const QString title = Imperial ? "Change To Imperial Units" : "Change To Metric Units";
    const std::string summary = Imperial ? unitsSummaryImperial(options.PressureReference)
                                         : unitsSummaryMetric(options.PressureReference);
    const bool proceed =
        !AskBeforeUnitsChange ||
        Dialogs().AskYesNo(TDialogKind::Confirmation,
                           title + "\r\rThe Units will be set as follows: \r\r" + QString::fromStdString(summary) +
                               "\r\r" + "All existing values will be converted to the new units." + "\r\r" +
                               "Do you wish to proceed?",
                           this);
    {
        const QSignalBlocker imperial(RadioButtonImperialUnits), metric(RadioButtonMetricUnits);
        RadioButtonImperialUnits->setChecked(Imperial == proceed);
        RadioButtonMetricUnits->setChecked(Imperial != proceed);
    }
    if (proceed) {
        if (Imperial)
            options.SetImperialUnits();
        else
            options.SetMetricUnits();
        UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
        UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
        UpdatePanelResultsKey();
        UpdatePanelResultsColorKey();
        RefreshScreen(true);
    }
    AskBeforeUnitsChange = true;
}

void TNetworkForm::ImperialUnits1Click() { changeUnitSystem(true); }

void TNetworkForm::MetricUnits1Click() { changeUnitSystem(false); }

void TNetworkForm::RadioButtonImperialUnitsClick()
{
    ImperialUnits1Click();
    RefreshScreen(true);
}

void TNetworkForm::RadioButtonMetricUnitsClick()
{
    MetricUnits1Click();
    RefreshScreen(true);
}

// --- edit grid and forwarding buttons -------------------------------------------------

namespace {
const QString GridRefused = "Data cannot be edited in the network grid view when in results mode.";
} // namespace

void TNetworkForm::EditGridClick()
{
    if (ResultsMode) {
        Dialogs().ShowMessage(TDialogKind::Information, GridRefused, this);
        return;
    }
    if (ItemDialogs)
        ItemDialogs->PipeDataOpenForm(*CurrentNetwork);
    RefreshScreen(true);
}

void TNetworkForm::EditGrid2Click() { EditGridClick(); }

void TNetworkForm::ToolButtonEditGridClick()
{
    // Edits in the grid would change data behind the results on show: the
    // tool button is refused in results mode like the menu commands.
    if (ResultsMode) {
        Dialogs().ShowMessage(TDialogKind::Information, GridRefused, this);
        return;
    }
    NetworkStates.SystemUpdatedSinceLoad = true;
    ToolButtonCursorArrowClick();
    NetworkStates.CurrentNodeIdSelected = 0;
    NetworkStates.CurrentPipeIdSelected = 0;
    RefreshScreen(true);
    if (ItemDialogs)
        ItemDialogs->PipeDataOpenForm(*CurrentNetwork);
    RefreshScreen(true);
}

void TNetworkForm::ToolButton6Click()
{
    CreatePDFSystemDrawingClick();
}

void TNetworkForm::ToolButton8Click() { ImportImageClick(); }

} // namespace tessaran
