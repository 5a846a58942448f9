// The options dialog: opening, page switching, OK and Cancel, and the
// Labels, Units and Results Colors pages. The Pipe Data and Node Data pages
// are in Config_Form_Copy.cpp, the Calculations page in
// Config_Form_Calculations.cpp.
#include "app/Config_Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>

#include "dialogs/Dialog_Look.h"
#include "drawing/Canvas_Drawings.h"
#include "model/Pipe_Class.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

struct TUnitItem {
    const char *Caption;
    TUnit Unit;
};

const std::vector<TUnitItem> LengthItems{
    {"metres", unt_m}, {"millimetres", unt_mm}, {"feet", unt_ft}, {"inches", unt_inch}};

const std::array<TUnitItem, 7> AbsolutePressureItems{{{"bar a", unt_Bar_A},
                                                      {"psi a", unt_Psi_A},
                                                      {"kPa a", unt_kPa_A},
                                                      {"m H20 a", unt_m_H2O_A},
                                                      {"ft H20 a", unt_ft_H2O_A},
                                                      {"mm Hg a", unt_mm_Hg_A},
                                                      {"in Hg a", unt_in_Hg_A}}};
const std::array<TUnitItem, 7> GaugePressureItems{{{"bar g", unt_Bar_G},
                                                   {"psi g", unt_Psi_G},
                                                   {"kPa g", unt_kPa_G},
                                                   {"m H20", unt_m_H2O},
                                                   {"ft H20", unt_ft_H2O},
                                                   {"mm Hg", unt_mm_Hg},
                                                   {"in Hg", unt_in_Hg}}};

// The results colour items in the order of the list's rows.
const std::array<TResultsColorItemEnum, 15> ResultsColorItemsInListOrder{
    ResultsFlow,
    ResultsMassFlow,
    ResultsVelocity,
    ResultsPipeTotalPressureLossIncludingElevationChange,
    ResultsPipeTotalPressureLossIncludingElevationChangePer100,
    ResultsPipeFrictionLoss,
    ResultsPipeFrictionLossPer100,
    ResultsPipeTotalK,
    ResultsPipeFittingsLoss,
    ResultsPipeReynoldsNumber,
    ResultsPipeInternalDiameter,
    ResultsPipeLength,
    ResultsPressure,
    ResultsHGL,
    ResultsElevation};

// One unit combo of the Units page: its items and the field it edits.
struct TUnitCombo {
    QComboBox *Combo;
    TUnit TConfigOptions::*Field;
    std::vector<TUnitItem> Items;
};

std::vector<TUnitCombo> UnitCombos(const TConfigForm &form)
{
    std::vector<TUnitItem> flows;
    static const char *flowCaptions[19] = {"m³/sec",      "m³/min",      "m³/hour ",     "Litres/sec ", "Litres/min ",
                                           "Litres/hour", "ft³/sec",     "ft³/min",      "ft³/hour ",   "inches³/sec",
                                           "inches³/min", "inches³/hour", "UK gpm",      "US gpm",      "UK MGD",
                                           "US MGD ",     "Barrels/min", "Barrels/hour", "Barrels/day"};
    for (int i = 0; i < 19; ++i)
        flows.push_back({flowCaptions[i], static_cast<TUnit>(unt_m3_sec + i)});
    std::vector<TUnitItem> gasFlows;
    static const char *gasCaptions[10] = {"SCCM ", "SLM",  "SCMH", "MMSCMH", "MMSCMD",
                                          "SCFM",  "SCFH", "SCFD", "MMSCFH", "MMSCFD"};
    for (int i = 0; i < 10; ++i)
        gasFlows.push_back({gasCaptions[i], static_cast<TUnit>(unt_SCCM + i)});
    std::vector<TUnitCombo> combos{
        {form.ComboBoxLengthUnits, &TConfigOptions::UnitOfLength, LengthItems},
        {form.ComboBoxDiameterUnits, &TConfigOptions::UnitOfDiameter, LengthItems},
        {form.ComboBoxRoughnessUnits, &TConfigOptions::UnitOfRoughness, LengthItems},
        {form.ComboBoxWeightUnits, &TConfigOptions::UnitOfWeight, {{"kgs", unt_kgs}, {"lbs", unt_lbs}}},
        {form.ComboBoxAreaUnits,
         &TConfigOptions::UnitOfArea,
         {{"m²", unt_m2}, {"mm²", unt_mm2}, {"ft²", unt_ft2}, {"in²", unt_in2}}},
        {form.ComboBoxFlowRateUnits, &TConfigOptions::UnitOfFlow, flows},
        {form.ComboBoxVelocityUnits, &TConfigOptions::UnitOfVelocity, {{"m/sec", unt_m_Sec}, {"ft/sec", unt_ft_Sec}}},
        {form.ComboBoxVolumeUnits,
         &TConfigOptions::UnitOfVolume,
         {{"m³", unt_m3}, {"mm³", unt_mm3}, {"ft³", unt_ft3}, {"in³", unt_in3}}},
        {form.ComboBoxPressureLossUnits,
         &TConfigOptions::UnitOfPressureLoss,
         {{"m fluid", unt_m_hd_fluid},
          {"ft fluid", unt_ft_hd_fluid},
          {"bar", unt_Bar_G},
          {"psi", unt_Psi_G},
          {"kPa", unt_kPa_G},
          {"m H2O", unt_m_H2O},
          {"mm H2O", unt_mm_H2O},
          {"mm Hg", unt_mm_Hg},
          {"ft H2O", unt_ft_H2O},
          {"in H2O", unt_in_H2O},
          {"in Hg", unt_in_Hg}}},
        {form.ComboBoxMassFlowUnits,
         &TConfigOptions::UnitOfMassFlow,
         {{"kgs/sec", unt_kg_sec},
          {"kgs/min", unt_kg_min},
          {"kgs/hour", unt_kg_hour},
          {"lb/sec", unt_lb_sec},
          {"lb/min", unt_lb_min},
          {"lb/hour", unt_lb_hour}}},
        {form.ComboBoxEnergyUnits, &TConfigOptions::UnitOfEnergy, {{"KiloWatts", unt_KW}, {"HorsePower", unt_HP}}},
        {form.ComboBoxGasFlowUnits, &TConfigOptions::UnitOfGasFlow, gasFlows},
        {form.ComboBoxTemperatureUnits,
         &TConfigOptions::UnitOfTemperature,
         {{"°C - Centigrade", unt_degrees_C}, {"°F - Fahrenheit", unt_degrees_F}, {"°K - Kelvin", unt_degrees_K}}},
        {form.ComboBoxDensityUnits, &TConfigOptions::UnitOfDensity, {{"kg/m³", unt_kg_m3}, {"lb/ft³", unt_lb_ft3}}},
        {form.ComboBoxLiquidLevelUnits, &TConfigOptions::UnitOfLiquidLevel, LengthItems},
        {form.ComboBoxElevationUnits, &TConfigOptions::UnitOfElevation, LengthItems},
        {form.ComboBoxSurfacePressureUnits,
         &TConfigOptions::UnitOfSurfacePressure,
         {{"bar g", unt_Bar_G}, {"psi g", unt_Psi_G}, {"kPa g", unt_kPa_G}}},
    };
    return combos;
}

int PositionOf(const std::array<TUnitItem, 7> &list, TUnit unit)
{
    for (int i = 0; i < 7; ++i)
        if (list[static_cast<std::size_t>(i)].Unit == unit)
            return i;
    return -1;
}

QString Q(const std::string &text) { return QString::fromStdString(text); }

QWidget *Panel(QWidget *parent, const char *name)
{
    auto *panel = Named<QWidget>(name, parent);
    panel->setGeometry(8, 24, 590, 495);
    return panel;
}

template <class Button>
Button *Place(Button *button, int x, int y, int w = 200, int h = 20)
{
    button->setGeometry(x, y, w, h);
    return button;
}

} // namespace

// --- construction -----------------------------------------------------------------

TConfigForm::TConfigForm(QWidget *parent) : QDialog(parent), DefaultPipeCopy(std::make_unique<TPipe>())
{
    setObjectName("ConfigForm");
    setWindowTitle("Configuration Options");
    setModal(true);
    setFixedSize(626, 635);

    TabControlConfigOptions = Named<QTabBar>("TabControlConfigOptions", this);
    TabControlConfigOptions->setGeometry(8, 8, 610, 24);
    for (const char *caption : {"Labels", "Units", "Pipe Data", "Node Data", "Results Colors", "Calculations"})
        TabControlConfigOptions->addTab(caption);
    TabControlConfigOptions->setStyleSheet("QTabBar::tab { width: 96px; }");
    connect(TabControlConfigOptions, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index < 0 || index == TabControlConfigOptions->currentIndex())
            return;
        const QSignalBlocker blocker(TabControlConfigOptions);
        TabControlConfigOptions->setCurrentIndex(index);
        TabControlConfigOptionsChange();
    });

    auto *pages = new QWidget(this);
    pages->setGeometry(8, 32, 610, 535);
    PanelConfigDrawing = Panel(pages, "PanelConfigDrawing");
    PanelConfigUnits = Panel(pages, "PanelConfigUnits");
    PanelConfigPipeDefaults = Panel(pages, "PanelConfigPipeDefaults");
    PanelConfigNodes = Panel(pages, "PanelConfigNodes");
    PanelConfigResultsColors = Panel(pages, "PanelConfigResultsColors");
    PanelConfigCalculations = Panel(pages, "PanelConfigCalculations");
    PanelConfigNotes = Panel(pages, "PanelConfigNotes");

    ButtonOK = Place(Named<QPushButton>("ButtonOK", "OK", this), 430, 590, 80, 28);
    ButtonCancel = Place(Named<QPushButton>("ButtonCancel", "Cancel", this), 520, 590, 80, 28);
    connect(ButtonOK, &QPushButton::clicked, this, &TConfigForm::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TConfigForm::ButtonCancelClick);

    createLabelsPage();
    createUnitsPage();
    createPipeDataPage();
    createNodeDataPage();
    createResultsColorsPage();
    createCalculationsPage();
}

TConfigForm::~TConfigForm() = default;

void TConfigForm::showText(TRightEdit *edit, const std::string &text)
{
    const bool wasFilling = filling_;
    filling_ = true;
    edit->setText(Q(text));
    filling_ = wasFilling;
}

void TConfigForm::createLabelsPage()
{
    auto *group = Named<QGroupBox>("GroupBoxDrawingOptions", " Drawing Options", PanelConfigDrawing);
    group->setGeometry(0, 0, 590, 495);
    auto box = [group](const char *caption, int x, int y, int w, int h) {
        auto *b = new QGroupBox(caption, group);
        b->setGeometry(x, y, w, h);
        return b;
    };
    int y = 0;
    auto check = [&y](QGroupBox *g, const char *name, const char *caption) {
        y += 22;
        return Place(Named<QCheckBox>(name, caption, g), 10, y);
    };
    auto radio = [&y](QGroupBox *g, const char *name, const char *caption) {
        y += 22;
        return Place(Named<QRadioButton>(name, caption, g), 10, y, 260);
    };
    QGroupBox *pipes = box(" Pipes", 10, 20, 280, 160);
    y = 0;
    CheckBoxDrawingShowPipeId = check(pipes, "CheckBoxDrawingShowPipeId", "Show Pipe#");
    CheckBoxDrawingShowPipeName = check(pipes, "CheckBoxDrawingShowPipeName", "Show Name");
    CheckBoxDrawingShowPipeDiam = check(pipes, "CheckBoxDrawingShowPipeDiam", "Show Diameter");
    CheckBoxDrawingShowPipeLength = check(pipes, "CheckBoxDrawingShowPipeLength", "Show Length");
    CheckBoxDrawingShowComponentName = check(pipes, "CheckBoxDrawingShowComponentName", "Component Name");
    CheckBoxDrawingShowFlowControlName = check(pipes, "CheckBoxDrawingShowFlowControlName", "Flow Control Name");
    QGroupBox *pipeResults = box(" Pipe Results ", 300, 20, 280, 140);
    y = 0;
    RadioButtonShowFlowRate = radio(pipeResults, "RadioButtonShowFlowRate", "Show Flow Rate");
    RadioButtonShowVelocity = radio(pipeResults, "RadioButtonShowVelocity", "Show Velocity");
    RadioButtonShowPipePressureLoss =
        radio(pipeResults, "RadioButtonShowPipePressureLoss", "Show dP (Total Pressure Drop)");
    RadioButtonShowMassFlowRate = radio(pipeResults, "RadioButtonShowMassFlowRate", "Show Mass Flow");
    RadioButtonShowGasFlowRate = radio(pipeResults, "RadioButtonShowGasFlowRate", "Show Gas Flow (Std Vol)");
    QGroupBox *nodes = box(" Nodes ", 10, 185, 280, 115);
    y = 0;
    CheckBoxDrawingShowNodeId = check(nodes, "CheckBoxDrawingShowNodeId", "Show Node#");
    CheckBoxDrawingShowNodeName = check(nodes, "CheckBoxDrawingShowNodeName", "Show Name");
    CheckBoxDrawingShowNodeElevation = check(nodes, "CheckBoxDrawingShowNodeElevation", "Show Elevation");
    CheckBoxDrawingShowNodeTankInfo = check(nodes, "CheckBoxDrawingShowNodeTankInfo", "Show Tank Info");
    QGroupBox *nodeResults = box(" Node Results ", 300, 165, 280, 70);
    y = 0;
    RadioButtonShowNodePressure = radio(nodeResults, "RadioButtonShowNodePressure", "Show Pressure at Node");
    RadioButtonShowNodeNothing = radio(nodeResults, "RadioButtonShowNodeNothing", "Do Not Show on drawing");
    QGroupBox *fittings = box(" Fittings ", 10, 305, 280, 95);
    y = 0;
    CheckBoxDrawingShowFittingsValves = check(fittings, "CheckBoxDrawingShowFittingsValves", "Show Valve Symbols");
    CheckBoxDrawingShowFittingsKValue = check(fittings, "CheckBoxDrawingShowFittingsKValue", "Show K Values");
    CheckBoxDrawingShowFittingsBends = check(fittings, "CheckBoxDrawingShowFittingsBends", "Show Fitting Symbols");
    QGroupBox *pumps = box(" Pumps", 10, 405, 280, 50);
    y = -22;
    CheckBoxDrawingShowPumpDistance = check(pumps, "CheckBoxDrawingShowPumpDistance", "Show Distance on Pipe ");
    y = -22;
    CheckBoxDrawingShowPumpElevation = check(pumps, "CheckBoxDrawingShowPumpElevation", "Show Elevation");
    y = 0;
    CheckBoxDrawingShowPumpName = check(pumps, "CheckBoxDrawingShowPumpName", "Show Pump Name");
    CheckBoxDrawingShowPumpDistance->setVisible(false);
    CheckBoxDrawingShowPumpElevation->setVisible(false);
    QGroupBox *fittingResults = box(" Fitting Results ", 300, 240, 280, 70);
    y = 0;
    RadioButtonShowFittingsNothing = radio(fittingResults, "RadioButtonShowFittingsNothing", "Do Not Show on drawing");
    RadioButtonShowFittingsPressureLoss =
        radio(fittingResults, "RadioButtonShowFittingsPressureLoss", "Show Fitting Pressure Losses ");
    QGroupBox *pumpResults = box(" Pump Results ", 300, 315, 280, 95);
    y = 0;
    RadioButtonShowPumpHead = radio(pumpResults, "RadioButtonShowPumpHead", "Show Pump Head");
    RadioButtonShowPumpNPSHa = radio(pumpResults, "RadioButtonShowPumpNPSHa", "Show NPSH available");
    RadioButtonShowPumpNothing = radio(pumpResults, "RadioButtonShowPumpNothing", "Do Not Show on drawing");
    QGroupBox *system = box(" System ", 300, 415, 280, 60);
    Place(new QLabel("Drawing Text Size", system), 10, 25, 120);
    ComboBoxTextSize = Place(Named<QComboBox>("ComboBoxTextSize", system), 140, 22, 60, 22);
    for (int size = 7; size <= 12; ++size)
        ComboBoxTextSize->addItem(QString::number(size));
    connect(ComboBoxTextSize, &QComboBox::activated, this, [this](int i) {
        working_.DefaultTextSize = 7 + i;
        working_.DemandTextSize = 8 + i;
        working_.NodeLabelSpacingY = 11 + i;
    });
}

namespace {

// The Labels page's controls with the flags they show.
template <class Form>
std::vector<std::pair<QAbstractButton *, bool TConfigOptions::*>> LabelFlags(Form &f)
{
    return {{f.CheckBoxDrawingShowPipeId, &TConfigOptions::ShowPipeId},
            {f.CheckBoxDrawingShowPipeName, &TConfigOptions::ShowPipeName},
            {f.CheckBoxDrawingShowPipeDiam, &TConfigOptions::ShowPipeDiam},
            {f.CheckBoxDrawingShowPipeLength, &TConfigOptions::ShowPipeLength},
            {f.CheckBoxDrawingShowComponentName, &TConfigOptions::ShowComponentName},
            {f.CheckBoxDrawingShowFlowControlName, &TConfigOptions::ShowFlowControlName},
            {f.RadioButtonShowFlowRate, &TConfigOptions::ShowPipeFlowRate},
            {f.RadioButtonShowVelocity, &TConfigOptions::ShowPipeVelocity},
            {f.RadioButtonShowPipePressureLoss, &TConfigOptions::ShowPipePressureLoss},
            {f.RadioButtonShowMassFlowRate, &TConfigOptions::ShowPipeMassFlowRate},
            {f.RadioButtonShowGasFlowRate, &TConfigOptions::ShowPipeGasFlowRate},
            {f.CheckBoxDrawingShowNodeId, &TConfigOptions::ShowNodeId},
            {f.CheckBoxDrawingShowNodeName, &TConfigOptions::ShowNodeName},
            {f.CheckBoxDrawingShowNodeElevation, &TConfigOptions::ShowNodeElevation},
            {f.CheckBoxDrawingShowNodeTankInfo, &TConfigOptions::ShowNodeTankInfo},
            {f.RadioButtonShowNodePressure, &TConfigOptions::ShowNodePressure},
            {f.RadioButtonShowNodeNothing, &TConfigOptions::ShowNodeNothing},
            {f.CheckBoxDrawingShowFittingsValves, &TConfigOptions::ShowFittingsValves},
            {f.CheckBoxDrawingShowFittingsKValue, &TConfigOptions::ShowFittingsKValue},
            {f.CheckBoxDrawingShowFittingsBends, &TConfigOptions::ShowFittingsBends},
            {f.CheckBoxDrawingShowPumpDistance, &TConfigOptions::ShowPumpDistance},
            {f.CheckBoxDrawingShowPumpElevation, &TConfigOptions::ShowPumpElevation},
            {f.CheckBoxDrawingShowPumpName, &TConfigOptions::ShowPumpName},
            {f.RadioButtonShowFittingsNothing, &TConfigOptions::ShowFittingsNothing},
            {f.RadioButtonShowFittingsPressureLoss, &TConfigOptions::ShowFittingsPressureLoss},
            {f.RadioButtonShowPumpHead, &TConfigOptions::ShowPumpHead},
            {f.RadioButtonShowPumpNPSHa, &TConfigOptions::ShowPumpNPSHa},
            {f.RadioButtonShowPumpNothing, &TConfigOptions::ShowPumpNothing}};
}

void SetButtonState(QAbstractButton *button, bool checked)
{
    // A radio button of a group can be unchecked only outside its group's
    // exclusiveness; two flags stored True both show.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

} // namespace

void TConfigForm::SetConfigOptionsFromLabelsTab()
{
    for (const auto &[button, flag] : LabelFlags(*this))
        working_.*flag = button->isChecked();
    // A stored size outside the list shows no item; it is kept as it was.
    const int i = ComboBoxTextSize->currentIndex();
    if (i >= 0) {
        working_.DefaultTextSize = 7 + i;
        working_.DemandTextSize = 8 + i;
        working_.NodeLabelSpacingY = 11 + i;
    }
}

void TConfigForm::createUnitsPage()
{
    auto *group = new QGroupBox(" Units Settings ", PanelConfigUnits);
    group->setGeometry(0, 0, 590, 495);
    auto box = [group](const char *caption, int x, int y, int w, int h) {
        auto *b = new QGroupBox(caption, group);
        b->setGeometry(x, y, w, h);
        return b;
    };
    int y = 0;
    auto combo = [&y](QGroupBox *g, const char *label, const char *name) {
        y += 26;
        Place(new QLabel(label, g), 10, y + 2, 90);
        return Place(Named<QComboBox>(name, g), 105, y, 160, 22);
    };
    QGroupBox *pipes = box(" Pipes ", 10, 20, 280, 400);
    y = 0;
    ComboBoxLengthUnits = combo(pipes, "Length", "ComboBoxLengthUnits");
    ComboBoxDiameterUnits = combo(pipes, "Diameter", "ComboBoxDiameterUnits");
    ComboBoxRoughnessUnits = combo(pipes, "Roughness", "ComboBoxRoughnessUnits");
    ComboBoxWeightUnits = combo(pipes, "Weight", "ComboBoxWeightUnits");
    ComboBoxAreaUnits = combo(pipes, "Surface Area", "ComboBoxAreaUnits");
    ComboBoxFlowRateUnits = combo(pipes, "Flow Rate", "ComboBoxFlowRateUnits");
    ComboBoxVelocityUnits = combo(pipes, "Velocity", "ComboBoxVelocityUnits");
    ComboBoxVolumeUnits = combo(pipes, "Volume", "ComboBoxVolumeUnits");
    ComboBoxPressureLossUnits = combo(pipes, "Pressure Loss", "ComboBoxPressureLossUnits");
    ComboBoxMassFlowUnits = combo(pipes, "Mass Flow", "ComboBoxMassFlowUnits");
    ComboBoxEnergyUnits = combo(pipes, "Energy", "ComboBoxEnergyUnits");
    ComboBoxGasFlowUnits = combo(pipes, "Gas Flow", "ComboBoxGasFlowUnits");
    ComboBoxGasFlowTemperaturePressureModel = combo(pipes, "@ Standard", "ComboBoxGasFlowTemperaturePressureModel");
    for (const char *model : {"0°C, 100.000 kPa.a", "0°C, 101.325 kPa.a", "15°C, 101.325 kPa.a", "20°C, 101.325 kPa.a",
                              "25°C, 101.325 kPa.a", "60°F,  14.696 psi.a", "68°F,  14.696 psi.a"})
        ComboBoxGasFlowTemperaturePressureModel->addItem(model);
    connect(ComboBoxGasFlowTemperaturePressureModel, &QComboBox::activated, this, [this](int i) {
        if (i >= 0)
            working_.GasFlowTemperaturePressureModel = static_cast<TGasFlowTemperaturePressureModel>(i);
    });

    QGroupBox *results = box(" System Results ", 300, 20, 280, 190);
    y = 0;
    ComboBoxTemperatureUnits = combo(results, "Temperature", "ComboBoxTemperatureUnits");
    y += 26;
    Place(new QLabel("Pressure Ref", results), 10, y + 2, 90);
    RadioButtonAbsolute = Place(Named<QRadioButton>("RadioButtonAbsolute", "Absolute", results), 105, y, 80);
    RadioButtonGage = Place(Named<QRadioButton>("RadioButtonGage", "Gage", results), 190, y, 70);
    connect(RadioButtonAbsolute, &QRadioButton::clicked, this, &TConfigForm::RadioButtonAbsoluteClick);
    connect(RadioButtonGage, &QRadioButton::clicked, this, &TConfigForm::RadioButtonGageClick);
    y += 26;
    Place(new QLabel("Atmosphere", results), 10, y + 2, 90);
    RightEditAtmosphere = Place(Named<TRightEdit>("RightEditAtmosphere", results), 105, y, 100, 22);
    LabelAtmosphereUnit = Place(Named<QLabel>("LabelAtmosphereUnit", results), 210, y + 2, 60);
    RightEditAtmosphere->OnKeyPress = [](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, 6, 6);
    };
    SelectAllOnEntry(RightEditAtmosphere);
    ComboBoxFluidPressureUnits = combo(results, "Pressure", "ComboBoxFluidPressureUnits");
    connect(ComboBoxFluidPressureUnits, &QComboBox::activated, this, &TConfigForm::ComboBoxFluidPressureUnitsChange);
    ComboBoxDensityUnits = combo(results, "Density", "ComboBoxDensityUnits");

    QGroupBox *tanks = box(" Tanks, Nodes, Controls && Components ", 300, 215, 280, 110);
    y = 0;
    ComboBoxLiquidLevelUnits = combo(tanks, "Liquid Level", "ComboBoxLiquidLevelUnits");
    ComboBoxElevationUnits = combo(tanks, "Elevation", "ComboBoxElevationUnits");
    ComboBoxSurfacePressureUnits = combo(tanks, "Pressure", "ComboBoxSurfacePressureUnits");

    QGroupBox *all = box(" Change All Units ", 300, 330, 280, 60);
    RadioButtonImperialUnits = Place(Named<QRadioButton>("RadioButtonImperialUnits", "Imperial", all), 20, 25, 100);
    RadioButtonMetricUnits = Place(Named<QRadioButton>("RadioButtonMetricUnits", "Metric", all), 140, 25, 100);
    connect(RadioButtonImperialUnits, &QRadioButton::clicked, this, &TConfigForm::RadioButtonImperialUnitsClick);
    connect(RadioButtonMetricUnits, &QRadioButton::clicked, this, &TConfigForm::RadioButtonMetricUnitsClick);

    for (const TUnitCombo &unitCombo : UnitCombos(*this)) {
        for (const TUnitItem &item : unitCombo.Items)
            unitCombo.Combo->addItem(QString::fromUtf8(item.Caption));
        QComboBox *c = unitCombo.Combo;
        TUnit TConfigOptions::*field = unitCombo.Field;
        const std::vector<TUnitItem> items = unitCombo.Items;
        connect(c, &QComboBox::activated, this, [this, c, field, items](int i) {
            if (c == ComboBoxTemperatureUnits && i != 1 && i != 2) {
                working_.UnitOfTemperature = unt_degrees_C;
                return;
            }
            if (c == ComboBoxDensityUnits && i != 1) {
                working_.UnitOfDensity = unt_kg_m3;
                return;
            }
            if (i >= 0 && i < static_cast<int>(items.size()))
                working_.*field = items[static_cast<std::size_t>(i)].Unit;
        });
    }
}

void TConfigForm::fillUnitCombos(const TConfigOptions &R)
{
    for (const TUnitCombo &unitCombo : UnitCombos(*this)) {
        for (std::size_t i = 0; i < unitCombo.Items.size(); ++i)
            if (unitCombo.Items[i].Unit == R.*unitCombo.Field) {
                const QSignalBlocker blocker(unitCombo.Combo);
                unitCombo.Combo->setCurrentIndex(static_cast<int>(i));
            }
    }
    if (R.GasFlowTemperaturePressureModel <= std_68degF_14pt696Psi)
        ComboBoxGasFlowTemperaturePressureModel->setCurrentIndex(static_cast<int>(R.GasFlowTemperaturePressureModel));
}

void TConfigForm::setPressureList(TPressureReference reference, int position)
{
    const QSignalBlocker blocker(ComboBoxFluidPressureUnits);
    ComboBoxFluidPressureUnits->clear();
    for (const TUnitItem &item : reference == PressureAbsolute ? AbsolutePressureItems : GaugePressureItems)
        ComboBoxFluidPressureUnits->addItem(item.Caption);
    ComboBoxFluidPressureUnits->setCurrentIndex(position);
}

void TConfigForm::showAtmosphere(int decimals)
{
    const std::string text = convertAbsolutePressureUnitToString(unt_Bar_A, working_.UnitOfAtmosphere, decimals,
                                                                 working_.Atmosphere_bar_a, working_.Atmosphere_bar_a);
    showText(RightEditAtmosphere, text);
    atmosphereShown_ = text;
    LabelAtmosphereUnit->setText(Q(unitName(working_.UnitOfAtmosphere)));
}

void TConfigForm::SetTabStartValues(const TConfigOptions &R)
{
    // 1. The pressure list of the reference in force.
    const bool absolute = R.PressureReference == PressureAbsolute;
    const int position = PositionOf(absolute ? AbsolutePressureItems : GaugePressureItems, R.UnitOfPressure);
    setPressureList(R.PressureReference, position >= 0 ? position : ComboBoxFluidPressureUnits->currentIndex());
    // 2. Length, with the unit-system buttons set without their presets.
    SuppressUnitPresets = true;
    const bool metric = R.UnitOfLength == unt_m || R.UnitOfLength == unt_mm || R.UnitOfLength == unt_km;
    RadioButtonMetricUnits->setChecked(metric);
    RadioButtonImperialUnits->setChecked(!metric);
    SuppressUnitPresets = false;
    // 3 and 6. The other combos.
    fillUnitCombos(R);
    // 4. The atmosphere in the absolute twin of the pressure unit.
    RightEditAtmosphere->setEnabled(!ResultsMode);
    working_.UnitOfAtmosphere = associatedAbsolutePressureUnit(working_.UnitOfPressure);
    showAtmosphere(6);
    // 5. The reference buttons.
    RadioButtonAbsolute->setChecked(absolute);
    RadioButtonGage->setChecked(!absolute);
    // 7. The Labels page.
    for (const auto &[button, flag] : LabelFlags(*this))
        SetButtonState(button, R.*flag);
    ComboBoxTextSize->setCurrentIndex(working_.DefaultTextSize >= 7 && working_.DefaultTextSize <= 12
                                          ? working_.DefaultTextSize - 7
                                          : -1);
    // 8-10. Pipe Data and Node Data pages.
    SetTabDefaultValues(R);
    PopulateCheckListPipes();
    PopulateCheckListNodes();
    showText(RightEditJointElevation, convertAndFormat(unt_m, R.UnitOfElevation, RememberedElevation_m));
    LabelJointElevationUnits->setText(Q(unitName(R.UnitOfElevation)));
    // 11. The results colour list.
    {
        const QSignalBlocker blocker(ListBoxResultsColorItems);
        ListBoxResultsColorItems->clear();
        for (TResultsColorItemEnum item : ResultsColorItemsInListOrder)
            ListBoxResultsColorItems->addItem(Q(TheNetwork->GetResultsColorItemStringsText(item)));
    }
    UpdateResultsColors();
    // 12. The calculation page.
    const std::string tolerance =
        formatFixed(6, convertPressure(unt_Bar_G, R.UnitOfPressure, R.NodeBalancingToleranceFinal_bar, 0, 0));
    showText(RightEditNodeBalancingTolerance, tolerance);
    LabelNodeBalanceFinalUnits->setText(Q(unitPlainName(R.UnitOfPressure)));
    {
        const QSignalBlocker blocker(ComboBoxMethodOfSolution);
        switch (R.MethodOfSolution) {
        case LinearTheoryThenNewton: ComboBoxMethodOfSolution->setCurrentIndex(0); break;
        case LinearTheoryOnly: ComboBoxMethodOfSolution->setCurrentIndex(1); break;
        case CompressibleNodeAdjust: ComboBoxMethodOfSolution->setCurrentIndex(2); break;
        default: ComboBoxMethodOfSolution->setCurrentIndex(-1); break;
        }
    }
    ComboBoxMethodOfCalculationNonCompressible->setCurrentIndex(0);
    SetCompressibleEntryValues(R);
}

// --- opening, tabs, OK and Cancel ---------------------------------------------------

void TConfigForm::SetOpeningTab(TConfigTabs TheTab)
{
    for (QWidget *panel : {PanelConfigDrawing, PanelConfigUnits, PanelConfigPipeDefaults, PanelConfigNodes,
                           PanelConfigResultsColors, PanelConfigCalculations, PanelConfigNotes})
        panel->setVisible(false);
    ButtonOK->setVisible(true);
    ButtonOK->setEnabled(true);
    ButtonCancel->setVisible(true);
    ButtonCancel->setEnabled(true);
    if (TheTab == ConfigNotes) {
        PanelConfigNotes->setVisible(true);
        return;
    }
    const QSignalBlocker blocker(TabControlConfigOptions);
    TabControlConfigOptions->setCurrentIndex(static_cast<int>(TheTab));
    if (TheTab == ConfigDefaults || TheTab == ConfigNodes) {
        ButtonCancel->setVisible(false);
        ButtonCancel->setEnabled(false);
    }
}

void TConfigForm::SetSelectedTab(int TheTabIndex)
{
    for (QWidget *panel : {PanelConfigDrawing, PanelConfigUnits, PanelConfigPipeDefaults, PanelConfigNodes,
                           PanelConfigResultsColors, PanelConfigCalculations, PanelConfigNotes})
        panel->setVisible(false);
    ButtonOK->setVisible(true);
    ButtonOK->setEnabled(true);
    ButtonCancel->setVisible(true);
    ButtonCancel->setEnabled(true);
    ButtonResetAllToDefaults->setEnabled(true);
    ButtonRelaxNodeAdjust->setEnabled(true);
    switch (TheTabIndex) {
    case 0: PanelConfigDrawing->setVisible(true); break;
    case 1:
        PanelConfigUnits->setVisible(true);
        ComboBoxGasFlowTemperaturePressureModel->setEnabled(!ResultsMode);
        break;
    case 2:
    case 3:
        (TheTabIndex == 2 ? PanelConfigPipeDefaults : PanelConfigNodes)->setVisible(true);
        ButtonCancel->setVisible(false);
        ButtonCancel->setEnabled(false);
        break;
    case 4: PanelConfigResultsColors->setVisible(true); break;
    case 5:
        PanelConfigCalculations->setVisible(true);
        if (ResultsMode) {
            ButtonOK->setVisible(false);
            ButtonOK->setEnabled(false);
            ButtonResetAllToDefaults->setEnabled(false);
            ButtonRelaxNodeAdjust->setEnabled(false);
        }
        break;
    default: PanelConfigNotes->setVisible(true); break;
    }
}

namespace {
const QString PipeDataRefused = "The Default Pipe values cannot be amended in Results mode.\r\rSwitch back to "
                                "Design mode to adjust and reset default pipe values.";
const QString NodeDataRefused =
    "Node updates cannot be amended in Results mode.\r\rSwitch back to Design mode to adjust and reset nodes values.";
} // namespace

bool TConfigForm::openForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork_,
                           bool ResultsMode_, bool /*TickSelectedPipes: the lists start from the items' flags*/)
{
    PaintDialogBackground(this, QColor(0xF1, 0xFA, 0xFF));
    SuppressUnitPresets = false;
    ResultsMode = ResultsMode_;
    TheNetwork = &TheNetwork_;

    working_ = TheConfigOptions;
    if (TheConfigOptions.DefaultPipe)
        DefaultPipeCopy->Copy(*TheConfigOptions.DefaultPipe);
    working_.DefaultPipe = DefaultPipeCopy.get();

    SetOpeningTab(TheTab);
    SetTabStartValues(TheConfigOptions);
    SetSelectedTab(TheTab == ConfigNotes ? -1 : TabControlConfigOptions->currentIndex());

    if (ResultsMode && TheTab != ConfigNotes) {
        const int tab = TabControlConfigOptions->currentIndex();
        if (tab == 2 || tab == 3) {
            Dialogs().ShowMessage(TDialogKind::Information, tab == 2 ? PipeDataRefused : NodeDataRefused, this);
            return false;
        }
    }

    {
        const QSignalBlocker blocker(ComboBoxPipeColors);
        ComboBoxPipeColors->setCurrentIndex(0);
        for (int i = 0; i < 18; ++i)
            if (PipeColorChoices[static_cast<std::size_t>(i % 6)] == DefaultPipeCopy->LineColor &&
                PipeWidthChoices[static_cast<std::size_t>(i / 6)] == DefaultPipeCopy->LineWidth) {
                ComboBoxPipeColors->setCurrentIndex(i);
                break;
            }
    }
    CheckListPipesClick();
    RememberedElevation_m = 0;
    CheckListNodesClick();
    fillParameterEditor();

    OptionsAccepted = false;
    exec();
    if (!OptionsAccepted)
        return false;

    readBackParameterEditor();
    TPipe *ownDefaultPipe = TheConfigOptions.DefaultPipe;
    TheConfigOptions = working_;
    TheConfigOptions.DefaultPipe = ownDefaultPipe;
    if (ownDefaultPipe)
        ownDefaultPipe->Copy(*DefaultPipeCopy);
    TheNetwork->SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
    TheNetwork->SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();
    TheNetwork->SetAllComponentEquivalentMassFlowRates();
    TheNetwork->SetAllFlowControlEquivalentMassFlowRates();
    TheNetwork->SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
    if (ResultsMode)
        TheNetwork->SetResultsColorItemMinMaxValues();
    return true;
}

void TConfigForm::TabControlConfigOptionsChange()
{
    SetConfigOptionsFromLabelsTab();
    SetTabStartValues(working_);
    int tab = TabControlConfigOptions->currentIndex();
    if (ResultsMode && (tab == 2 || tab == 3)) {
        Dialogs().ShowMessage(TDialogKind::Information, tab == 2 ? PipeDataRefused : NodeDataRefused, this);
        const QSignalBlocker blocker(TabControlConfigOptions);
        TabControlConfigOptions->setCurrentIndex(1);
        tab = 1;
    }
    SetSelectedTab(tab);
}

void TConfigForm::ButtonOKClick()
{
    if (working_.ResultsColorItem == ResultsHGL && TheNetwork->IsAllGasSystem()) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              "HGL is not displayed for gas systems. \r\rColor gradient will be set to show Node "
                              "Pressures.",
                              this);
        working_.ResultsColorItem = ResultsPressure;
    }
    SetConfigOptionsFromLabelsTab();
    // An atmosphere the user did not retype keeps its stored precision.
    const std::string text = RightEditAtmosphere->text().toStdString();
    if (text != atmosphereShown_) {
        bool valid = false;
        const double value = ReadRealFromEdit(RightEditAtmosphere, valid, true, false);
        if (valid)
            working_.Atmosphere_bar_a =
                convertAbsolutePressureUnit(working_.UnitOfAtmosphere, unt_Bar_A, value, working_.Atmosphere_bar_a);
        else
            Dialogs().ShowMessage(TDialogKind::Information, "Atmosphere value is invalid.", this);
    }
    OptionsAccepted = true;
    accept();
}

void TConfigForm::ButtonCancelClick()
{
    OptionsAccepted = false;
    reject();
}

// --- Units page ----------------------------------------------------------------------

// A click on the reference already chosen unchecks it in Qt: the pair stays
// exclusive, and the unit keeps its place in the other list.
void TConfigForm::choosePressureReference(TPressureReference Reference)
{
    const bool absolute = Reference == PressureAbsolute;
    QRadioButton *chosen = absolute ? RadioButtonAbsolute : RadioButtonGage;
    QRadioButton *other = absolute ? RadioButtonGage : RadioButtonAbsolute;
    if (!chosen->isChecked()) {
        other->setChecked(true);
        return;
    }
    const int position = std::max(0, ComboBoxFluidPressureUnits->currentIndex());
    working_.PressureReference = Reference;
    working_.UnitOfPressure = absolute ? AbsolutePressureItems[static_cast<std::size_t>(position)].Unit
                                       : GaugePressureItems[static_cast<std::size_t>(position)].Unit;
    other->setChecked(false);
    setPressureList(Reference, position);
    working_.UnitOfAtmosphere = associatedAbsolutePressureUnit(working_.UnitOfPressure);
    showAtmosphere(6);
}

void TConfigForm::RadioButtonAbsoluteClick() { choosePressureReference(PressureAbsolute); }

void TConfigForm::RadioButtonGageClick() { choosePressureReference(PressureGage); }

void TConfigForm::ComboBoxFluidPressureUnitsChange()
{
    const int position = ComboBoxFluidPressureUnits->currentIndex();
    if (position < 0)
        return;
    const auto &list = RadioButtonAbsolute->isChecked() ? AbsolutePressureItems : GaugePressureItems;
    working_.UnitOfPressure = list[static_cast<std::size_t>(position)].Unit;
    working_.UnitOfAtmosphere = associatedAbsolutePressureUnit(working_.UnitOfPressure);
    showAtmosphere(3);
}

void TConfigForm::applyUnitPreset(bool imperial)
{
    if (SuppressUnitPresets)
        return;
    TConfigOptions &w = working_;
    const bool gage = RadioButtonGage->isChecked();
    w.UnitOfLength = imperial ? unt_ft : unt_m;
    w.UnitOfDiameter = w.UnitOfRoughness = imperial ? unt_inch : unt_mm;
    w.UnitOfPressureLoss = imperial ? unt_ft_hd_fluid : unt_m_hd_fluid;
    w.UnitOfFlow = imperial ? unt_ft3_sec : unt_m3_sec;
    w.UnitOfMassFlow = imperial ? unt_lb_sec : unt_kg_sec;
    w.UnitOfGasFlow = imperial ? unt_SCFM : unt_SCMH;
    w.GasFlowTemperaturePressureModel = imperial ? std_60degF_14pt696Psi : std_15degC_101325Pa;
    w.UnitOfVelocity = imperial ? unt_ft_Sec : unt_m_Sec;
    w.UnitOfWeight = imperial ? unt_lbs : unt_kgs;
    w.UnitOfArea = imperial ? unt_ft2 : unt_m2;
    w.UnitOfVolume = imperial ? unt_ft3 : unt_m3;
    w.UnitOfSurfacePressure = imperial ? unt_Psi_G : unt_Bar_G;
    w.UnitOfLiquidLevel = w.UnitOfElevation = imperial ? unt_ft : unt_m;
    w.UnitOfTemperature = imperial ? unt_degrees_F : unt_degrees_C;
    w.UnitOfDensity = imperial ? unt_lb_ft3 : unt_kg_m3;
    w.UnitOfEnergy = imperial ? unt_HP : unt_KW;
    if (imperial)
        w.UnitOfPressure = w.UnitOfAtmosphere = gage ? unt_Psi_G : unt_Psi_A;
    else
        w.UnitOfPressure = w.UnitOfAtmosphere = gage ? unt_Bar_G : unt_Bar_A;
    RadioButtonImperialUnits->setChecked(imperial);
    RadioButtonMetricUnits->setChecked(!imperial);
    SetTabStartValues(working_);
}

void TConfigForm::RadioButtonImperialUnitsClick() { applyUnitPreset(true); }
void TConfigForm::RadioButtonMetricUnitsClick() { applyUnitPreset(false); }

// --- Results Colors page ------------------------------------------------------------

void TConfigForm::createResultsColorsPage()
{
    auto *group = new QGroupBox(" Results Colors ", PanelConfigResultsColors);
    group->setGeometry(0, 0, 590, 495);
    Place(new QLabel("Color Gradient: Used to highlight items on the Results Screen", group), 10, 20, 560);
    RadioButtonUseDesignColors =
        Place(Named<QRadioButton>("RadioButtonUseDesignColors", "Use Design Colors", group), 20, 45);
    RadioButtonUseResultsColors =
        Place(Named<QRadioButton>("RadioButtonUseResultsColors", "Use Color Gradient", group), 20, 70);
    connect(RadioButtonUseDesignColors, &QRadioButton::clicked, this, &TConfigForm::RadioButtonUseDesignColorsClick);
    connect(RadioButtonUseResultsColors, &QRadioButton::clicked, this,
            &TConfigForm::RadioButtonUseResultsColorsClick);
    CheckBoxShowColorKey =
        Place(Named<QCheckBox>("CheckBoxShowColorKey", "Show Color Key on Results Screen", group), 240, 70, 260);
    CheckBoxShowColorKey->setVisible(false);
    // The key flag goes into the working copy: Cancel leaves the network's own.
    connect(CheckBoxShowColorKey, &QCheckBox::toggled, this,
            [this](bool checked) { working_.ShowResultsColorKey = checked; });

    auto *gradient = new QGroupBox(" Color Gradient", group);
    gradient->setGeometry(10, 100, 570, 380);
    Place(new QLabel("Determine the Results Color based on:", gradient), 10, 20, 300);
    ListBoxResultsColorItems = Place(Named<QListWidget>("ListBoxResultsColorItems", gradient), 10, 42, 300, 280);
    connect(ListBoxResultsColorItems, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = ListBoxResultsColorItems->row(item);
        if (row >= 0 && row < 15)
            working_.ResultsColorItem = ResultsColorItemsInListOrder[static_cast<std::size_t>(row)];
    });
    connect(ListBoxResultsColorItems, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const int row = ListBoxResultsColorItems->row(item);
        if (row >= 0 && row < 15)
            working_.ResultsColorItem = ResultsColorItemsInListOrder[static_cast<std::size_t>(row)];
        ButtonOKClick();
    });
    ImageColorBar = Place(Named<QLabel>("ImageColorBar", gradient), 330, 42, 220, 30);
    ButtonLowColor = Place(Named<QPushButton>("ButtonLowColor", "Low Color", gradient), 330, 85, 100, 26);
    ButtonMiddleColor = Place(Named<QPushButton>("ButtonMiddleColor", "Middle Color", gradient), 330, 115, 100, 26);
    ButtonHighColor = Place(Named<QPushButton>("ButtonHighColor", "High Color", gradient), 330, 145, 100, 26);
    connect(ButtonLowColor, &QPushButton::clicked, this, [this] { ButtonColorClick(1); });
    connect(ButtonMiddleColor, &QPushButton::clicked, this, [this] { ButtonColorClick(2); });
    connect(ButtonHighColor, &QPushButton::clicked, this, [this] { ButtonColorClick(3); });
    Place(new QLabel("Sample Gradients", gradient), 330, 185, 150);
    ComboBoxSetColors = Place(Named<QComboBox>("ComboBoxSetColors", gradient), 330, 207, 160, 24);
    for (int i = 0; i < 8; ++i) {
        QImage swatch(140, 16, QImage::Format_RGB32);
        swatch.fill(Qt::white);
        {
            TQtCanvas canvas(&swatch);
            const auto &colours = SampleGradients[static_cast<std::size_t>(i)];
            DrawThreeColorGradientBar(canvas, 0, 0, swatch.width(), swatch.height(), colours[0], colours[1],
                                      colours[2]);
        }
        ComboBoxSetColors->addItem(QIcon(QPixmap::fromImage(swatch)), QString::number(i));
    }
    ComboBoxSetColors->setIconSize(QSize(140, 16));
    ComboBoxSetColors->setCurrentIndex(0);
    connect(ComboBoxSetColors, &QComboBox::activated, this, &TConfigForm::ComboBoxSetColorsClick);
}

void TConfigForm::RadioButtonUseDesignColorsClick()
{
    working_.UseResultsColors = false;
    UpdateResultsColors();
}

void TConfigForm::RadioButtonUseResultsColorsClick()
{
    working_.UseResultsColors = true;
    working_.ShowResultsColorKey = true;
    CheckBoxShowColorKey->setChecked(true);
    UpdateResultsColors();
}

void TConfigForm::UpdateResultsColors()
{
    QImage bar(std::max(1, ImageColorBar->width()), std::max(1, ImageColorBar->height()), QImage::Format_RGB32);
    bar.fill(Qt::white);
    {
        TQtCanvas canvas(&bar);
        DrawThreeColorGradientBar(canvas, 0, 0, bar.width(), bar.height(), working_.ResultsColor1,
                                  working_.ResultsColor2, working_.ResultsColor3);
    }
    ImageColorBar->setPixmap(QPixmap::fromImage(bar));
    RadioButtonUseResultsColors->setChecked(working_.UseResultsColors);
    RadioButtonUseDesignColors->setChecked(!working_.UseResultsColors);
    for (QWidget *control : std::initializer_list<QWidget *>{CheckBoxShowColorKey, ListBoxResultsColorItems,
                                                             ButtonLowColor, ButtonMiddleColor, ButtonHighColor,
                                                             ComboBoxSetColors})
        control->setEnabled(working_.UseResultsColors);
    const QSignalBlocker blocker(ListBoxResultsColorItems);
    for (int row = 0; row < 15; ++row)
        if (ResultsColorItemsInListOrder[static_cast<std::size_t>(row)] == working_.ResultsColorItem)
            ListBoxResultsColorItems->setCurrentRow(row);
}

void TConfigForm::ButtonColorClick(int which)
{
    TColor &field = which == 1 ? working_.ResultsColor1 : which == 2 ? working_.ResultsColor2 : working_.ResultsColor3;
    if (std::optional<QColor> chosen = Dialogs().ChooseColour(ToQColor(field), this))
        field = static_cast<TColor>(chosen->red() | (chosen->green() << 8) | (chosen->blue() << 16));
    UpdateResultsColors();
}

void TConfigForm::ComboBoxSetColorsClick()
{
    const int i = ComboBoxSetColors->currentIndex();
    if (i < 0 || i > 7)
        return;
    const auto &colours = SampleGradients[static_cast<std::size_t>(i)];
    working_.ResultsColor1 = colours[0];
    working_.ResultsColor2 = colours[1];
    working_.ResultsColor3 = colours[2];
    UpdateResultsColors();
}

} // namespace tessaran
