#include "dialogs/Component_Pressure_Form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "dialogs/String_Grid_Procedures.h"
#include "drawing/Canvas_Drawings.h"
#include "drawing/Component_Symbols.h"
#include "model/Pipe_Class.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr double WaterDensity_kg_m3 = 998.0;
const char *const ComponentFileVersion = "7.40";
const QColor PanelColour(0xF1, 0xFA, 0xFF);

const TUnit LossUnits[] = {unt_m_hd_fluid, unt_ft_hd_fluid, unt_mm_hd_fluid, unt_in_hd_fluid, unt_Bar_G, unt_Psi_G,
                           unt_kPa_G,      unt_mm_Hg,       unt_in_Hg,       unt_mm_H2O,      unt_in_H2O};
const char *const FixedLossNames[] = {"m Fluid", "ft Fluid", "mm Fluid", "in. Fluid", "bar",   "psi",
                                      "kPa",     "mm Hg",    "in. Hg",   "mm.H²O",    "in.H²O"};
const char *const CurveLossNames[] = {"m Fluid", "ft Fluid", "mm Fluid", "in. Fluid", "bar.g", "psi.g",
                                      "kPa.g",   "mm Hg",    "in. Hg",   "mm.H²O",    "in.H²O"};
const char *const CalculatorLossNames[] = {"m Fluid", "ft Fluid", "mm Fluid", "in. Fluid", "bar",    "psi",
                                           "kPa",     "mm Hg",    "in. Hg",   "mm H20",    "in. H20"};
const TUnit MassFlowUnits[] = {unt_kg_sec, unt_kg_min, unt_kg_hour, unt_lb_sec, unt_lb_min, unt_lb_hour};
const char *const CurveFlowNames[] = {"m³/sec",  "m³/min",   "m³/hour", "l/sec",   "l/min",    "l/hour", "ft³/sec",
                                      "ft³/min", "ft³/hour", "in³/sec", "in³/min", "in³/hour", "gpm,UK", "gpm,US",
                                      "kg/sec",  "kg/min",   "kg/hour", "lb/sec",  "lb/min",   "lb/hour"};
const char *const CalculatorFlowNames[] = {"m³/sec",  "m³/min",   "m³/hour", "l/sec",   "l/min",    "l/hour", "ft³/sec",
                                           "ft³/min", "ft³/hour", "in³/sec", "in³/min", "in³/hour", "UK gpm", "US gpm",
                                           "kg/sec",  "kg/min",   "kg/hour", "lb/sec",  "lb/min",   "lb/hour"};
constexpr int FlowItems = 20;
constexpr int LossItems = 11;
constexpr int PointRows = TComponentPressureCurvePoints::MaxPoints;

const char *const ChokedFlowLines[] = {"",
                                       "If the component / valve has a contraction",
                                       "restriction then the flow velocity can ",
                                       "become sonic resulting in choked flow.",
                                       "",
                                       "The Critical Pressure Drop Ratio for gases",
                                       "(Pressure downstream/Pressure upstream)",
                                       "at which choked flow occurs, can be ",
                                       "expressed as",
                                       "",
                                       "P*/P1 = (2/(k+1))^(k/(k-1))",
                                       "",
                                       "where",
                                       "",
                                       "P*  = Crictical Pressure downstream ",
                                       "P1  = Pressure upstream",
                                       "k = Specific Heat Ratio of the gas"};

char separator() { return static_cast<char>(LocaleDecimalSeparator()); }

double readReal(const QString &text, bool &valid, bool allowZero, bool allowNegative)
{
    return ReadRealFromString(text.toStdString(), valid, allowZero, allowNegative, separator());
}

} // namespace

TUnit ComponentLossUnitOfItem(int item) { return item >= 0 && item < LossItems ? LossUnits[item] : unt_m_hd_fluid; }

int ComponentLossItemOfUnit(TUnit unit)
{
    for (int item = 0; item < LossItems; ++item)
        if (LossUnits[item] == unit)
            return item;
    return -1;
}

TUnit ComponentFlowUnitOfItem(int item)
{
    if (item >= 0 && item < 14)
        return static_cast<TUnit>(unt_m3_sec + item);
    if (item >= 14 && item < FlowItems)
        return MassFlowUnits[item - 14];
    return unt_m3_sec;
}

int ComponentFlowItemOfUnit(TUnit unit)
{
    if (unit >= unt_m3_sec && unit <= unt_gpm_USA)
        return unit - unt_m3_sec;
    for (int i = 0; i < 6; ++i)
        if (MassFlowUnits[i] == unit)
            return 14 + i;
    return -1;
}

TComponentPressureForm::TComponentPressureForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ComponentPressureForm"));
    setWindowTitle(QStringLiteral("Set Component Pressure Loss"));

    EditName = Named<QLineEdit>("EditName", this);
    EditName->setMaxLength(30);
    ImageComponentPressureSymbol = Named<QLabel>("ImageComponentPressureSymbol", this);
    ImageComponentPressureSymbol->setFixedSize(25, 22);
    UpDown1 = Named<QSpinBox>("UpDown1", this);
    // Only the arrows count: the value is the component's style, kept by the form.
    UpDown1->setRange(-1, ComponentStyleCount);
    UpDown1->setFixedWidth(18);
    UpDown1->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    LabelPipeId = Named<QLabel>("LabelPipeId", this);
    LabelPipeName = Named<QLabel>("LabelPipeName", this);
    RadioButtonComponentFixedLoss =
        Named<QRadioButton>("RadioButtonComponentFixedLoss", QStringLiteral("Fixed Loss"), this);
    RadioButtonComponentCurveLoss =
        Named<QRadioButton>("RadioButtonComponentCurveLoss", QStringLiteral("Curve Loss"), this);
    RadioButtonComponentCv = Named<QRadioButton>("RadioButtonComponentCv", QStringLiteral("Cv"), this);
    RadioButtonComponentKv = Named<QRadioButton>("RadioButtonComponentKv", QStringLiteral("Kv"), this);
    RadioButtonSprinklerKimperial =
        Named<QRadioButton>("RadioButtonSprinklerKimperial", QStringLiteral("Sprinkler K"), this);
    RadioButtonSprinklerKmetric =
        Named<QRadioButton>("RadioButtonSprinklerKmetric", QStringLiteral("Sprinkler K"), this);
    RightEditComponentPressure = Named<TRightEdit>("RightEditComponentPressure", this);
    ComboBoxFixedLossUnits = Named<QComboBox>("ComboBoxFixedLossUnits", this);
    ComboBoxComponentPressureFlowUnits = Named<QComboBox>("ComboBoxComponentPressureFlowUnits", this);
    ComboBoxComponentPressureLossUnits = Named<QComboBox>("ComboBoxComponentPressureLossUnits", this);
    for (int item = 0; item < LossItems; ++item) {
        ComboBoxFixedLossUnits->addItem(QString::fromUtf8(FixedLossNames[item]));
        ComboBoxComponentPressureLossUnits->addItem(QString::fromUtf8(CurveLossNames[item]));
    }
    for (int item = 0; item < FlowItems; ++item)
        ComboBoxComponentPressureFlowUnits->addItem(QString::fromUtf8(CurveFlowNames[item]));
    StringGridPressureCurve = Named<TStringGridWidget>("StringGridPressureCurve", this);
    StringGridPressureCurve->SetColCount(2);
    StringGridPressureCurve->SetRowCount(PointRows + 1);
    // The two unit lists stand where the title row would be.
    StringGridPressureCurve->horizontalHeader()->hide();
    StringGridPressureCurve->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int row = 1; row <= PointRows; ++row)
        for (int col = 0; col < 2; ++col)
            StringGridPressureCurve->SetCells(col, row, QString());
    // The first point's flow is always 0.
    if (QTableWidgetItem *first = StringGridPressureCurve->item(0, 0))
        first->setFlags(Qt::ItemIsEnabled);
    StringGridPressureCurve->setColumnWidth(0, 110);
    StringGridPressureCurve->setColumnWidth(1, 110);
    for (int row = 0; row < PointRows; ++row)
        StringGridPressureCurve->setRowHeight(row, 20);
    StringGridPressureCurve->setFixedSize(224, PointRows * 20 + 4);
    ButtonGenerateCurve = Named<QPushButton>("ButtonGenerateCurve", QStringLiteral("Generate Curve"), this);
    auto *generateNote = new QLabel(QStringLiteral("To generate a 2nd order curve first enter three points"), this);
    generateNote->setWordWrap(true);

    RightEditCv = Named<TRightEdit>("RightEditCv", this);
    RightEditKv = Named<TRightEdit>("RightEditKv", this);
    RightEditSprinklerKimperial = Named<TRightEdit>("RightEditSprinklerKimperial", this);
    RightEditSprinklerKmetric = Named<TRightEdit>("RightEditSprinklerKmetric", this);
    BitBtnCalcCv = Named<QPushButton>("BitBtnCalcCv", QStringLiteral("..."), this);
    BitBtnCalcCv->setToolTip(QStringLiteral("Calculate Cv from a flow and pressure loss"));
    BitBtnCalcKv = Named<QPushButton>("BitBtnCalcKv", QStringLiteral("..."), this);
    BitBtnCalcKv->setToolTip(QStringLiteral("Calculate Kv from a flow and pressure loss"));
    BitBtnCalcSprinklerKimperial = Named<QPushButton>("BitBtnCalcSprinklerKimperial", QStringLiteral("..."), this);
    BitBtnCalcSprinklerKimperial->setToolTip(QStringLiteral("Calculate Sprinkler K from a flow and pressure loss"));
    BitBtnCalcSprinklerKmetric = Named<QPushButton>("BitBtnCalcSprinklerKmetric", QStringLiteral("..."), this);
    BitBtnCalcSprinklerKmetric->setToolTip(QStringLiteral("Calculate Sprinkler K from a flow and pressure loss"));

    CheckBoxCompressibleChokedFlow =
        Named<QCheckBox>("CheckBoxCompressibleChokedFlow", QStringLiteral("Check for Choked Flow"), this);
    CheckBoxCompressibleChokedFlow->setChecked(true);
    BitBtnChokedFlowText = Named<QPushButton>("BitBtnChokedFlowText", QStringLiteral("?"), this);
    BitBtnChokedFlowText->setToolTip(QStringLiteral("More about choked flow"));
    ButtonOK = Named<QPushButton>("ButtonOK", QStringLiteral("OK"), this);
    ButtonCancel = Named<QPushButton>("ButtonCancel", QStringLiteral("Cancel"), this);
    ButtonClear = Named<QPushButton>("ButtonClear", QStringLiteral("Clear"), this);
    ButtonDelete = Named<QPushButton>("ButtonDelete", QStringLiteral("Delete"), this);
    ButtonSaveFile = Named<QPushButton>("ButtonSaveFile", QStringLiteral("Save To File"), this);
    ButtonLoadFile = Named<QPushButton>("ButtonLoadFile", QStringLiteral("Load From File"), this);

    // The two panels lie over the lower part of the form, outside its layout.
    PanelChokedFlowText = Named<QFrame>("PanelChokedFlowText", this);
    PanelChokedFlowText->setFrameShape(QFrame::Panel);
    MemoChokedFlowText = Named<QPlainTextEdit>("MemoChokedFlowText", PanelChokedFlowText);
    MemoChokedFlowText->setReadOnly(true);
    QStringList chokedLines;
    for (const char *line : ChokedFlowLines)
        chokedLines << QString::fromLatin1(line);
    MemoChokedFlowText->setPlainText(chokedLines.join(QLatin1Char('\n')));
    BitBtn2 = Named<QPushButton>("BitBtn2", QStringLiteral("Close"), PanelChokedFlowText);
    auto *chokedLayout = new QVBoxLayout(PanelChokedFlowText);
    chokedLayout->addWidget(MemoChokedFlowText);
    chokedLayout->addWidget(BitBtn2);
    PanelChokedFlowText->resize(330, 200);

    PanelCalcCvKvSprinklerK = Named<QFrame>("PanelCalcCvKvSprinklerK", this);
    PanelCalcCvKvSprinklerK->setFrameShape(QFrame::Panel);
    GroupBoxCalcCvKv = Named<QGroupBox>("GroupBoxCalcCvKv", PanelCalcCvKvSprinklerK);
    LabelCalcDescription =
        Named<QLabel>("LabelCalcDescription", QStringLiteral("Using Fluid Data from pipe:"), GroupBoxCalcCvKv);
    LabelCalcDescription->setAutoFillBackground(true);
    RightEditDensity = Named<TRightEdit>("RightEditDensity", GroupBoxCalcCvKv);
    RightEditDensity->setEnabled(false);
    LabelDensityUnits = Named<QLabel>("LabelDensityUnits", GroupBoxCalcCvKv);
    RightEditFlowRate = Named<TRightEdit>("RightEditFlowRate", GroupBoxCalcCvKv);
    ComboBoxFlowRateUnits = Named<QComboBox>("ComboBoxFlowRateUnits", GroupBoxCalcCvKv);
    for (const char *name : CalculatorFlowNames)
        ComboBoxFlowRateUnits->addItem(QString::fromUtf8(name));
    RightEditLoss = Named<TRightEdit>("RightEditLoss", GroupBoxCalcCvKv);
    ComboBoxLossUnits = Named<QComboBox>("ComboBoxLossUnits", GroupBoxCalcCvKv);
    for (const char *name : CalculatorLossNames)
        ComboBoxLossUnits->addItem(QString::fromUtf8(name));
    ButtonCalc = Named<QPushButton>("ButtonCalc", QStringLiteral("Calculate"), GroupBoxCalcCvKv);
    ButtonCancelCalc = Named<QPushButton>("ButtonCancelCalc", QStringLiteral("Cancel"), GroupBoxCalcCvKv);
    auto *calcGrid = new QGridLayout(GroupBoxCalcCvKv);
    calcGrid->addWidget(LabelCalcDescription, 0, 0, 1, 3);
    calcGrid->addWidget(new QLabel(QStringLiteral("Fluid Density"), GroupBoxCalcCvKv), 1, 0);
    calcGrid->addWidget(RightEditDensity, 1, 1);
    calcGrid->addWidget(LabelDensityUnits, 1, 2);
    calcGrid->addWidget(new QLabel(QStringLiteral("Flow Rate"), GroupBoxCalcCvKv), 2, 0);
    calcGrid->addWidget(RightEditFlowRate, 2, 1);
    calcGrid->addWidget(ComboBoxFlowRateUnits, 2, 2);
    calcGrid->addWidget(new QLabel(QStringLiteral("Pressure Loss"), GroupBoxCalcCvKv), 3, 0);
    calcGrid->addWidget(RightEditLoss, 3, 1);
    calcGrid->addWidget(ComboBoxLossUnits, 3, 2);
    auto *calcButtons = new QHBoxLayout;
    calcButtons->addWidget(ButtonCalc);
    calcButtons->addWidget(ButtonCancelCalc);
    calcGrid->addLayout(calcButtons, 4, 0, 1, 3);
    auto *calcLayout = new QVBoxLayout(PanelCalcCvKvSprinklerK);
    calcLayout->addWidget(GroupBoxCalcCvKv);
    PanelCalcCvKvSprinklerK->resize(PanelCalcCvKvSprinklerK->sizeHint().expandedTo(QSize(360, 0)));

    for (QPushButton *button : {ButtonGenerateCurve, BitBtnCalcCv, BitBtnCalcKv, BitBtnCalcSprinklerKimperial,
                                BitBtnCalcSprinklerKmetric, BitBtnChokedFlowText, ButtonOK, ButtonCancel, ButtonClear,
                                ButtonDelete, ButtonSaveFile, ButtonLoadFile, BitBtn2, ButtonCalc, ButtonCancelCalc})
        button->setAutoDefault(false);

    SelectAllOnEntry(EditName);
    for (TRightEdit *box : {RightEditComponentPressure, RightEditCv, RightEditKv, RightEditSprinklerKimperial,
                            RightEditSprinklerKmetric}) {
        SelectAllOnEntry(box);
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, true, 6, 4); };
    }
    for (TRightEdit *box : {RightEditFlowRate, RightEditLoss}) {
        SelectAllOnEntry(box);
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 6, 4); };
    }

    // Layout of the form.
    auto *grid = new QGridLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(LabelPipeId);
    top->addWidget(LabelPipeName, 1);
    grid->addLayout(top, 0, 0, 1, 4);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Component Name"), this));
    nameRow->addWidget(EditName, 1);
    nameRow->addSpacing(8);
    nameRow->addWidget(new QLabel(QStringLiteral("Symbol"), this));
    nameRow->addWidget(ImageComponentPressureSymbol);
    nameRow->addWidget(UpDown1);
    grid->addLayout(nameRow, 1, 0, 1, 4);
    grid->addWidget(RadioButtonComponentFixedLoss, 2, 0);
    grid->addWidget(RightEditComponentPressure, 2, 1);
    grid->addWidget(ComboBoxFixedLossUnits, 2, 2);
    grid->addWidget(RadioButtonComponentCurveLoss, 3, 0);
    auto *curve = new QGridLayout;
    curve->setSpacing(0);
    curve->addWidget(ComboBoxComponentPressureFlowUnits, 0, 0);
    curve->addWidget(ComboBoxComponentPressureLossUnits, 0, 1);
    curve->addWidget(StringGridPressureCurve, 1, 0, 1, 2);
    grid->addLayout(curve, 3, 1, 1, 2);
    auto *generate = new QVBoxLayout;
    generate->addWidget(ButtonGenerateCurve);
    generate->addWidget(generateNote);
    generate->addStretch();
    grid->addLayout(generate, 3, 3);
    struct CoefficientRow {
        QRadioButton *radio;
        const char *label;
        TRightEdit *box;
        QPushButton *calc;
        const char *definition;
    };
    const CoefficientRow rows[] = {
        {RadioButtonComponentCv, nullptr, RightEditCv, BitBtnCalcCv, "Cv = US gpm (water) for a 1 psi loss"},
        {RadioButtonComponentKv, nullptr, RightEditKv, BitBtnCalcKv, "Kv = m³/hour (water) for a 1 bar loss"},
        {RadioButtonSprinklerKimperial, "(imperial)", RightEditSprinklerKimperial, BitBtnCalcSprinklerKimperial,
         "K = gpm (water) / SQRT(loss in psi)"},
        {RadioButtonSprinklerKmetric, "(metric)", RightEditSprinklerKmetric, BitBtnCalcSprinklerKmetric,
         "K = L/min (water) / SQRT(loss in bar)"},
    };
    int row = 4;
    for (const CoefficientRow &r : rows) {
        auto *kind = new QHBoxLayout;
        kind->addWidget(r.radio);
        if (r.label)
            kind->addWidget(new QLabel(QString::fromLatin1(r.label), this));
        kind->addStretch();
        grid->addLayout(kind, row, 0);
        grid->addWidget(r.box, row, 1);
        grid->addWidget(r.calc, row, 2, Qt::AlignLeft);
        grid->addWidget(new QLabel(QString::fromUtf8(r.definition), this), row, 3);
        ++row;
    }
    auto *choked = new QHBoxLayout;
    choked->addWidget(CheckBoxCompressibleChokedFlow);
    choked->addWidget(BitBtnChokedFlowText);
    choked->addStretch();
    grid->addLayout(choked, row++, 0, 1, 4);
    // Extra height goes above the buttons, not into the curve's rows.
    grid->setRowStretch(row++, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {ButtonOK, ButtonCancel, ButtonClear, ButtonDelete, ButtonSaveFile, ButtonLoadFile})
        buttons->addWidget(button);
    grid->addLayout(buttons, row, 0, 1, 4);
    // The two panels open at a fixed place over the lower part of the form
    // and must fit inside it.
    setMinimumHeight(309 + std::max(PanelCalcCvKvSprinklerK->height(), PanelChokedFlowText->height()) + 8);

    connect(RadioButtonComponentFixedLoss, &QRadioButton::clicked, this,
            [this] { chooseKind(ComponentPressureFixed); });
    connect(RadioButtonComponentCurveLoss, &QRadioButton::clicked, this,
            [this] { chooseKind(ComponentPressureCurve); });
    connect(RadioButtonComponentCv, &QRadioButton::clicked, this, [this] { chooseKind(ComponentPressureCv); });
    connect(RadioButtonComponentKv, &QRadioButton::clicked, this, [this] { chooseKind(ComponentPressureKv); });
    connect(RadioButtonSprinklerKimperial, &QRadioButton::clicked, this,
            [this] { chooseKind(ComponentPressureSprinklerKimperial); });
    connect(RadioButtonSprinklerKmetric, &QRadioButton::clicked, this,
            [this] { chooseKind(ComponentPressureSprinklerKmetric); });
    connect(UpDown1, &QSpinBox::valueChanged, this, [this](int value) {
        if (filling_)
            return;
        // The box stands at the style between clicks; one step either way.
        const int step = value > working_.ImageIndex ? 1 : -1;
        UpDown1Click(step);
    });
    connect(EditName, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!filling_)
            working_.Name = text.left(TComponentPressure::ShortStringLength).toStdString();
    });
    connect(ButtonGenerateCurve, &QPushButton::clicked, this, [this] { ButtonGenerateCurveClick(); });
    connect(ComboBoxComponentPressureFlowUnits, &QComboBox::activated, this,
            [this](int item) { ComboBoxComponentPressureFlowUnitsChange(item); });
    connect(ComboBoxComponentPressureLossUnits, &QComboBox::activated, this,
            [this](int item) { ComboBoxComponentPressureLossUnitsChange(item); });
    connect(ComboBoxFixedLossUnits, &QComboBox::activated, this,
            [this](int item) { ComboBoxFixedLossUnitsChange(item); });
    connect(BitBtnCalcCv, &QPushButton::clicked, this, [this] { openCalculator(CoefficientCv); });
    connect(BitBtnCalcKv, &QPushButton::clicked, this, [this] { openCalculator(CoefficientKv); });
    connect(BitBtnCalcSprinklerKimperial, &QPushButton::clicked, this,
            [this] { openCalculator(CoefficientKimperial); });
    connect(BitBtnCalcSprinklerKmetric, &QPushButton::clicked, this, [this] { openCalculator(CoefficientKmetric); });
    connect(ButtonCalc, &QPushButton::clicked, this, [this] { ButtonCalcClick(); });
    connect(ButtonCancelCalc, &QPushButton::clicked, PanelCalcCvKvSprinklerK, &QWidget::hide);
    connect(ComboBoxFlowRateUnits, &QComboBox::activated, this,
            [this](int item) { ComboBoxFlowRateUnitsChange(item); });
    connect(ComboBoxLossUnits, &QComboBox::activated, this, [this](int item) { ComboBoxLossUnitsChange(item); });
    connect(BitBtnChokedFlowText, &QPushButton::clicked, this, [this] {
        PanelChokedFlowText->show();
        PanelChokedFlowText->raise();
    });
    connect(BitBtn2, &QPushButton::clicked, PanelChokedFlowText, &QWidget::hide);
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] {
        working_.CopyComponentPressure(snapshot_);
        reject();
    });
    connect(ButtonDelete, &QPushButton::clicked, this, [this] { ButtonDeleteClick(); });
    connect(ButtonClear, &QPushButton::clicked, this, [this] { ButtonClearClick(); });
    connect(ButtonSaveFile, &QPushButton::clicked, this, [this] { ButtonSaveFileClick(); });
    connect(ButtonLoadFile, &QPushButton::clicked, this, [this] { ButtonLoadFileClick(); });
    connect(StringGridPressureCurve, &QTableWidget::currentCellChanged, this, [this] { paintGrid(); });
}

double TComponentPressureForm::atmosphere() const
{
    return network_ ? network_->ConfigOptions.Atmosphere_bar_a : 1.01325;
}

TUnit TComponentPressureForm::basisUnit() const
{
    return working_.SetPressureLoss_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid;
}

QRadioButton *TComponentPressureForm::radioOf(TPressureType kind) const
{
    switch (kind) {
    case ComponentPressureFixed:
        return RadioButtonComponentFixedLoss;
    case ComponentPressureCurve:
        return RadioButtonComponentCurveLoss;
    case ComponentPressureCv:
        return RadioButtonComponentCv;
    case ComponentPressureKv:
        return RadioButtonComponentKv;
    case ComponentPressureSprinklerKimperial:
        return RadioButtonSprinklerKimperial;
    case ComponentPressureSprinklerKmetric:
        return RadioButtonSprinklerKmetric;
    }
    return RadioButtonComponentFixedLoss;
}

TPressureType TComponentPressureForm::selectedKind() const
{
    for (TPressureType kind : {ComponentPressureFixed, ComponentPressureCurve, ComponentPressureCv, ComponentPressureKv,
                               ComponentPressureSprinklerKimperial, ComponentPressureSprinklerKmetric})
        if (radioOf(kind)->isChecked())
            return kind;
    return ComponentPressureFixed;
}

void TComponentPressureForm::chooseKind(TPressureType kind)
{
    radioOf(kind)->setChecked(true);
    if (kind == ComponentPressureFixed || kind == ComponentPressureCurve)
        working_.PressureType = kind;
    if (resultsMode_)
        return;
    const bool fixed = kind == ComponentPressureFixed, curve = kind == ComponentPressureCurve;
    RightEditComponentPressure->setEnabled(fixed);
    ComboBoxFixedLossUnits->setEnabled(fixed);
    for (QWidget *control :
         {static_cast<QWidget *>(StringGridPressureCurve), static_cast<QWidget *>(ButtonGenerateCurve),
          static_cast<QWidget *>(ComboBoxComponentPressureFlowUnits),
          static_cast<QWidget *>(ComboBoxComponentPressureLossUnits)})
        control->setEnabled(curve);
    RightEditCv->setEnabled(kind == ComponentPressureCv);
    BitBtnCalcCv->setEnabled(kind == ComponentPressureCv);
    RightEditKv->setEnabled(kind == ComponentPressureKv);
    BitBtnCalcKv->setEnabled(kind == ComponentPressureKv);
    RightEditSprinklerKimperial->setEnabled(kind == ComponentPressureSprinklerKimperial);
    BitBtnCalcSprinklerKimperial->setEnabled(kind == ComponentPressureSprinklerKimperial);
    RightEditSprinklerKmetric->setEnabled(kind == ComponentPressureSprinklerKmetric);
    BitBtnCalcSprinklerKmetric->setEnabled(kind == ComponentPressureSprinklerKmetric);
    paintGrid();
}

void TComponentPressureForm::paintGrid()
{
    const bool fixed = RadioButtonComponentFixedLoss->isChecked();
    const bool curve = RadioButtonComponentCurveLoss->isChecked();
    const QColor text = fixed || resultsMode_ ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::black);
    for (int row = 1; row <= PointRows; ++row)
        for (int col = 0; col < 2; ++col) {
            QTableWidgetItem *cell = StringGridPressureCurve->item(row - 1, col);
            if (!cell)
                continue;
            cell->setForeground(text);
            if (fixed || (row == 1 && col == 0))
                cell->setBackground(QColor(0xE0, 0xE0, 0xE0));
            else if (curve)
                cell->setBackground(QColor(Qt::white));
            else
                cell->setBackground(QBrush());
        }
}

void TComponentPressureForm::OpenForm(TComponentPressure &TheComponentPressure, TPipe &ThePipe, int ThePipeId,
                                      TNetwork &TheNetwork, bool ResultsMode)
{
    PaintDialogBackground(this, PanelColour);
    PaintDialogBackground(PanelCalcCvKvSprinklerK, PanelColour);
    PaintDialogBackground(PanelChokedFlowText, PanelColour);
    resultsMode_ = ResultsMode;
    network_ = &TheNetwork;
    pipe_ = &ThePipe;
    caller_ = &TheComponentPressure;
    const int zone = std::clamp(ThePipe.FluidZoneIndex, 1, TNetwork::MaxFluidZones);
    fluid_ = TheNetwork.FluidZones[static_cast<std::size_t>(zone)].Fluid;
    snapshot_ = TheComponentPressure;
    working_ = TheComponentPressure;

    if (ThePipeId > 0) {
        LabelPipeId->setText(QStringLiteral("Pipe:") + QString::number(ThePipeId));
        LabelPipeName->setText(q(ThePipe.Name));
    } else {
        LabelPipeId->setText(QStringLiteral("Pipe: None"));
        LabelPipeName->setText(QStringLiteral("Default Pipe"));
    }
    StringGridPressureCurve->SetCells(0, 0, q(unitName(TheNetwork.ConfigOptions.UnitOfFlow)));
    StringGridPressureCurve->SetCells(1, 0, q(unitName(TheNetwork.ConfigOptions.UnitOfPressureLoss)));
    confirmed_ = false;
    delete_ = false;
    PanelCalcCvKvSprinklerK->hide();
    PanelCalcCvKvSprinklerK->move(7, 309);
    initialiseCalculator();
    PanelChokedFlowText->hide();
    PanelChokedFlowText->move(2, 309);
    CheckBoxCompressibleChokedFlow->setVisible(fluid_.FluidIsGas);
    BitBtnChokedFlowText->setVisible(fluid_.FluidIsGas);

    const QList<QWidget *> all = findChildren<QWidget *>();
    for (QWidget *control : all)
        if (qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
            qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
            control == StringGridPressureCurve)
            control->setEnabled(!ResultsMode);
    RightEditDensity->setEnabled(false);
    ButtonCancel->setEnabled(true);

    working_.SetEquivalentFlowAndMassFlowRate(density());
    UpdateFormAndDisplayUnitsFromComponentPressure();
    paintGrid();

    exec();

    if (confirmed_) {
        caller_->CopyComponentPressure(working_);
        if (pipe_->ComponentPressurePositionPercentageAlongPipe == 0.0)
            pipe_->ComponentPressurePositionPercentageAlongPipe = 30.0;
        pipe_->ComponentPressureCount = 1;
        network_->SetAllComponentEquivalentMassFlowRates();
    }
    if (delete_)
        pipe_->RemoveComponentPressure();
}

void TComponentPressureForm::setUnitsQuietly(QComboBox *list, int item)
{
    if (item < 0)
        return;
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(item);
}

void TComponentPressureForm::UpdateFormUnitDropDownsFromComponentPressure()
{
    auto &points = working_.CurvePoints;
    setUnitsQuietly(ComboBoxComponentPressureFlowUnits, ComponentFlowItemOfUnit(points.FlowDisplayUnit));
    // Metres and feet of water are shown, and kept, as their small twins.
    if (points.LossDisplayUnit == unt_m_H2O)
        points.LossDisplayUnit = unt_mm_H2O;
    else if (points.LossDisplayUnit == unt_ft_H2O)
        points.LossDisplayUnit = unt_in_H2O;
    setUnitsQuietly(ComboBoxComponentPressureLossUnits, ComponentLossItemOfUnit(points.LossDisplayUnit));
}

void TComponentPressureForm::UpdateFormAndDisplayUnitsFromComponentPressure()
{
    UpdateFormUnitDropDownsFromComponentPressure();
    lastFlowItem_ = ComboBoxComponentPressureFlowUnits->currentIndex();
    lastLossItem_ = ComboBoxComponentPressureLossUnits->currentIndex();
    setUnitsQuietly(ComboBoxFixedLossUnits, lastLossItem_);
    UpdateFormFromComponentPressure();
}

void TComponentPressureForm::UpdateFormFromComponentPressure()
{
    filling_ = true;
    EditName->setText(q(working_.Name));
    UpDown1->setValue(working_.ImageIndex);
    filling_ = false;
    UpdateComponentPressureImageSymbol();
    RightEditComponentPressure->setText(q(convertHeadPressureUnitToString(
        basisUnit(), working_.CurvePoints.LossDisplayUnit, 4, working_.FixedPressureLoss_mHd, density())));
    chooseKind(working_.PressureType);
    working_.SetEquivalentFlowAndMassFlowRate(density());
    showCurveRows();
    RightEditCv->setText(q(formatFixed(4, working_.Cv)));
    RightEditKv->setText(q(formatFixed(4, working_.Kv)));
    RightEditSprinklerKimperial->setText(q(formatFixed(4, working_.SprinklerKimperial)));
    RightEditSprinklerKmetric->setText(q(formatFixed(4, working_.SprinklerKmetric)));
    CheckBoxCompressibleChokedFlow->setChecked(working_.CheckCompressibleChokedFlow);
}

void TComponentPressureForm::showCurveRows()
{
    const auto &points = working_.CurvePoints;
    const TGasFlowTemperaturePressureModel model = network_->ConfigOptions.GasFlowTemperaturePressureModel;
    for (int row = 1; row <= PointRows; ++row) {
        if (row <= points.PointsCount) {
            const auto &point = points.Point(row);
            StringGridPressureCurve->SetCells(
                0, row,
                q(convertFlowUnitToString(unt_m3_sec, points.FlowDisplayUnit, 4, model, point.Flow_m3s, density(),
                                          fluid_.pressure_bar_g, fluid_.degrees_K, atmosphere())));
            StringGridPressureCurve->SetCells(
                1, row,
                q(convertHeadPressureUnitToString(basisUnit(), points.LossDisplayUnit, 3, point.Loss_mHd, density())));
        } else {
            StringGridPressureCurve->SetCells(0, row, QString());
            StringGridPressureCurve->SetCells(1, row, QString());
        }
    }
    StringGridPressureCurve->SetCells(0, 1, QStringLiteral("0"));
    StringGridPressureCurve->setCurrentCell(0, 1);
}

void TComponentPressureForm::UpdateComponentPressureImageSymbol()
{
    QImage &image = symbol_;
    {
        TQtCanvas canvas(&image);
        DrawStyledRectangle(canvas, 0, 0, 25, 22, clBtnFace, TPenStyle::psSolid, TBrushStyle::bsSolid);
        DrawComponentSymbol(working_.ImageIndex, canvas, 0, 11, 12, 11, "", clBlack, false, 0.0, 0.0, 1.0, 7);
    }
    ImageComponentPressureSymbol->setPixmap(QPixmap::fromImage(image));
    update();
}

void TComponentPressureForm::UpDown1Click(int step)
{
    int index = working_.ImageIndex + step;
    if (index > ComponentStyleCount - 1)
        index = 0;
    if (index < 0)
        index = ComponentStyleCount - 1;
    working_.ImageIndex = index;
    filling_ = true;
    UpDown1->setValue(index);
    filling_ = false;
    UpdateComponentPressureImageSymbol();
}

bool TComponentPressureForm::UpdateComponentPressureFromFormFields(TRightEdit **offending)
{
    const TPressureType kind = selectedKind();
    bool valid = true;
    working_.Name = EditName->text().left(TComponentPressure::ShortStringLength).toStdString();
    // A box that does not read keeps the stored value; the selected kind's
    // box must read.
    const auto readBox = [&](TRightEdit *box, bool mine, double &target, bool isLoss) {
        bool read = false;
        const double value = readReal(box->text(), read, true, true);
        if (read)
            target = isLoss
                         ? convertHeadPressureUnit(working_.CurvePoints.LossDisplayUnit, basisUnit(), value, density())
                         : value;
        else if (mine) {
            valid = false;
            if (offending && !*offending)
                *offending = box;
        }
    };
    readBox(RightEditComponentPressure, kind == ComponentPressureFixed, working_.FixedPressureLoss_mHd, true);
    working_.PressureType = kind;
    readBox(RightEditCv, kind == ComponentPressureCv, working_.Cv, false);
    readBox(RightEditKv, kind == ComponentPressureKv, working_.Kv, false);
    readBox(RightEditSprinklerKimperial, kind == ComponentPressureSprinklerKimperial, working_.SprinklerKimperial,
            false);
    readBox(RightEditSprinklerKmetric, kind == ComponentPressureSprinklerKmetric, working_.SprinklerKmetric, false);
    working_.CheckCompressibleChokedFlow = CheckBoxCompressibleChokedFlow->isChecked();
    return valid;
}

bool TComponentPressureForm::IsStringGridEmpty() const
{
    for (int row = 1; row <= PointRows; ++row)
        for (int col = 0; col < 2; ++col)
            if (!(row == 1 && col == 0) && !StringGridPressureCurve->Cells(col, row).trimmed().isEmpty())
                return false;
    return true;
}

bool TComponentPressureForm::CheckStringGridValid(int &firstEmptyRow, QString &message) const
{
    bool valid = true;
    firstEmptyRow = PointRows + 1;
    message.clear();
    const auto cell = [this](int col, int row) { return StringGridPressureCurve->Cells(col, row).trimmed(); };
    for (int row = 1; row <= PointRows && valid; ++row) {
        for (int col = 0; col < 2 && valid; ++col) {
            const QString text = cell(col, row);
            if (!text.isEmpty() && !IsRealText(text.toStdString(), separator())) {
                valid = false;
                message = QStringLiteral("Component pressure data for row ") + QString::number(row) +
                          QStringLiteral(" column ") + QString::number(col + 1) + QStringLiteral(" is not valid.") +
                          QStringLiteral("\r\r") +
                          QStringLiteral("Check your entries and adjust the values to valid numbers.");
            }
        }
        if (!valid)
            break;
        const bool empty = cell(0, row).isEmpty() && cell(1, row).isEmpty();
        if (empty && firstEmptyRow > PointRows)
            firstEmptyRow = row;
        else if (!empty && row > firstEmptyRow) {
            valid = false;
            message = QStringLiteral("Component pressure points cannot contain a blank row between two completed "
                                     "rows.\r\rCheck your entry and adjust the values.");
        }
    }
    if (firstEmptyRow < 4) {
        valid = false;
        message = QStringLiteral("At least 3 points on the component pressure curve must be specified.\r\rPlease enter "
                                 "additional values in grid.");
    }
    for (int i = 2; valid && i < firstEmptyRow; ++i) {
        bool ignored = false;
        const double flow = readReal(cell(0, i), ignored, true, true);
        const double previousFlow = readReal(cell(0, i - 1), ignored, true, true);
        if (!(flow > previousFlow)) {
            valid = false;
            message = QStringLiteral("The flow points entered must always be increasing in value.\r\rPlease re-enter "
                                     "the flow value in grid for point ") +
                      QString::number(i) + QStringLiteral(".");
            break;
        }
        const double loss = readReal(cell(1, i), ignored, true, true);
        const double previousLoss = readReal(cell(1, i - 1), ignored, true, true);
        if (loss < previousLoss) {
            valid = false;
            message = QStringLiteral("The component loss points entered must always be increasing with increased "
                                     "flow.\r\rPlease re-enter the loss value in grid for point ") +
                      QString::number(i) + QStringLiteral(".");
        }
    }
    return valid;
}

bool TComponentPressureForm::UpdateComponentPressureFromStringGrid()
{
    if (IsStringGridEmpty()) {
        working_.ClearComponentPressureCurve();
        return true;
    }
    int firstEmptyRow = 0;
    QString ignored;
    if (!CheckStringGridValid(firstEmptyRow, ignored))
        return false;
    working_.Name = EditName->text().left(TComponentPressure::ShortStringLength).toStdString();
    // Read into a copy: a row refused half-way leaves the curve as it was.
    TComponentPressure read = working_;
    read.ClearComponentPressureCurve();
    const auto &points = working_.CurvePoints;
    const TGasFlowTemperaturePressureModel model = network_->ConfigOptions.GasFlowTemperaturePressureModel;
    const int last = std::min(firstEmptyRow - 1, PointRows);
    for (int row = 1; row <= last; ++row) {
        bool flowValid = false, lossValid = false;
        const double flow = readReal(StringGridPressureCurve->Cells(0, row).trimmed(), flowValid, true, false);
        const double loss = readReal(StringGridPressureCurve->Cells(1, row).trimmed(), lossValid, true, false);
        if (!flowValid || !lossValid) {
            Dialogs().ShowMessage(TDialogKind::Information,
                                  QStringLiteral("Component Pressure data for row ") + QString::number(row) +
                                      QStringLiteral(" is not valid.") + QStringLiteral("\r\r") +
                                      QStringLiteral("Check your entries and adjust the values to valid numbers."),
                                  this);
            return false;
        }
        const auto convert = [&](TUnit target) {
            return convertFlowUnit(points.FlowDisplayUnit, target, model, flow, density(), fluid_.pressure_bar_g,
                                   fluid_.degrees_K, atmosphere());
        };
        const double flow_m3s =
            points.UseMassFlow ? (density() != 0 ? convert(unt_kg_sec) / density() : 0.0) : convert(unt_m3_sec);
        read.AddCurvePointFlowm3s(
            flow_m3s, convertHeadPressureUnit(points.LossDisplayUnit, basisUnit(), loss, density()), density());
    }
    read.CurvePoints.PointsCount = last;
    working_.CurvePoints = read.CurvePoints;
    return true;
}

bool TComponentPressureForm::readCurveForChange()
{
    if (IsStringGridEmpty()) {
        working_.ClearComponentPressureCurve();
        return true;
    }
    int firstEmptyRow = 0;
    QString message;
    if (!CheckStringGridValid(firstEmptyRow, message)) {
        Dialogs().ShowMessage(TDialogKind::Information, message, this);
        return false;
    }
    return UpdateComponentPressureFromStringGrid();
}

bool TComponentPressureForm::UpdateComponentPressureFromForm()
{
    TRightEdit *offending = nullptr;
    if (!UpdateComponentPressureFromFormFields(&offending))
        return false;
    if (selectedKind() != ComponentPressureCurve)
        return true;
    return readCurveForChange();
}

void TComponentPressureForm::ButtonOKClick()
{
    confirmed_ = false;
    delete_ = false;
    TRightEdit *offending = nullptr;
    if (!UpdateComponentPressureFromFormFields(&offending)) {
        // Storing -1 for a box that does not read would pass for a value.
        Dialogs().ShowMessage(TDialogKind::Warning, q(std::string(InvalidNumericEntryMessage)), this);
        if (offending && offending->isEnabled())
            offending->setFocus();
        return;
    }
    if (selectedKind() == ComponentPressureCurve) {
        int firstEmptyRow = 0;
        QString message;
        if (!CheckStringGridValid(firstEmptyRow, message)) {
            // An empty grid too: closing would pass for an accepted curve
            // while the component stayed as it was.
            Dialogs().ShowMessage(TDialogKind::Information, message, this);
            return;
        }
        working_.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density());
        if (!UpdateComponentPressureFromStringGrid())
            return;
    }
    snapshot_ = working_;
    confirmed_ = true;
    accept();
}

void TComponentPressureForm::ButtonDeleteClick()
{
    if (!Dialogs().AskYesNo(
            TDialogKind::Confirmation,
            QStringLiteral("Are you sure you wish to delete the component \rand its data from this pipe?"), this))
        return;
    delete_ = true;
    confirmed_ = false;
    accept();
}

void TComponentPressureForm::ButtonClearClick()
{
    RightEditComponentPressure->setText(QStringLiteral("0.0"));
    for (int row = 1; row <= PointRows; ++row) {
        StringGridPressureCurve->SetCells(0, row, QString());
        StringGridPressureCurve->SetCells(1, row, QString());
    }
    StringGridPressureCurve->SetCells(0, 1, QStringLiteral("0"));
    for (TRightEdit *box : {RightEditCv, RightEditKv, RightEditSprinklerKimperial, RightEditSprinklerKmetric})
        box->setText(QStringLiteral("0.0"));
}

void TComponentPressureForm::ButtonGenerateCurveClick()
{
    if (!readCurveForChange())
        return;
    if (working_.CurvePoints.PointsCount != 3) {
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("The first three points only must entered to generate a second order curve."), this);
        return;
    }
    try {
        working_.CreateQuadraticCurvePointsFromFirst3Points(density());
    } catch (const std::exception &) {
        // Three points the quadratic cannot pass through leave the curve as it was.
        return;
    }
    showCurveRows();
    paintGrid();
    bool negative = false;
    working_.CheckIfCurveContainsNegativeValues(negative);
    if (negative)
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("The quadratic fit generated some points with negative values.\r\rPlease "
                           "review the curve data and correct the entries to be all positive values."),
            this);
}

void TComponentPressureForm::ComboBoxComponentPressureFlowUnitsChange(int item)
{
    if (item < 0 || item >= FlowItems)
        return;
    if (!readCurveForChange()) {
        setUnitsQuietly(ComboBoxComponentPressureFlowUnits, lastFlowItem_);
        return;
    }
    working_.CurvePoints.FlowDisplayUnit = ComponentFlowUnitOfItem(item);
    working_.CurvePoints.UseMassFlow = item >= 14;
    lastFlowItem_ = item;
    if (working_.CurvePoints.PointsCount > 0) {
        working_.SetEquivalentFlowAndMassFlowRate(density());
        showCurveRows();
        paintGrid();
    }
}

void TComponentPressureForm::ComboBoxComponentPressureLossUnitsChange(int item)
{
    if (item < 0 || item >= LossItems)
        return;
    const bool oldBasis = working_.SetPressureLoss_Stored_mH2O;
    const TUnit oldBasisUnit = basisUnit();
    working_.SetPressureLoss_Stored_mH2O = item > 3;
    if (!readCurveForChange()) {
        working_.SetPressureLoss_Stored_mH2O = oldBasis;
        setUnitsQuietly(ComboBoxComponentPressureLossUnits, lastLossItem_);
        return;
    }
    working_.CurvePoints.LossDisplayUnit = ComponentLossUnitOfItem(item);
    working_.FixedPressureLoss_mHd =
        convertHeadPressureUnit(oldBasisUnit, basisUnit(), working_.FixedPressureLoss_mHd, density());
    setUnitsQuietly(ComboBoxFixedLossUnits, item);
    lastLossItem_ = item;
    RightEditComponentPressure->setText(q(convertHeadPressureUnitToString(
        basisUnit(), working_.CurvePoints.LossDisplayUnit, 4, working_.FixedPressureLoss_mHd, density())));
    if (working_.CurvePoints.PointsCount > 0) {
        showCurveRows();
        paintGrid();
        UpdateComponentPressureFromStringGrid();
    }
}

void TComponentPressureForm::ComboBoxFixedLossUnitsChange(int item)
{
    if (item < 0 || item >= LossItems)
        return;
    // What the boxes hold goes in first, so the typed loss is converted
    // rather than lost.
    UpdateComponentPressureFromFormFields(nullptr);
    working_.CurvePoints.LossDisplayUnit = ComponentLossUnitOfItem(item);
    working_.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density());
    setUnitsQuietly(ComboBoxComponentPressureLossUnits, item);
    working_.SetPressureLoss_Stored_mH2O = !isFluidHeadUnit(working_.CurvePoints.LossDisplayUnit);
    UpdateFormFromComponentPressure();
    lastLossItem_ = item;
}

void TComponentPressureForm::ButtonSaveFileClick()
{
    working_.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density());
    if (!UpdateComponentPressureFromForm()) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Component is not valid and therefore cannot be saved. \r"), this);
        return;
    }
    TFileDialogRequest request;
    request.Caption = QStringLiteral("Save Component");
    request.Filter = QStringLiteral("Tessaran Component (*.trco)");
    request.DefaultSuffix = QStringLiteral("trco");
    request.Parent = this;
    std::optional<QString> chosen = Dialogs().SaveFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".trco");
    if (QFileInfo::exists(path) &&
        !Dialogs().AskYesNo(TDialogKind::Confirmation, QStringLiteral("File already exists. Do wish to overwrite? \r"),
                            this))
        return;
    TComponentPressure saved = working_;
    TMemoryStream stream;
    try {
        saved.Save(stream, ComponentFileVersion, true);
        // Written beside the file and renamed over it, so a failed save
        // keeps the file that was there.
        stream.SaveToFile(path.toStdString());
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Error, QStringLiteral("The component file could not be saved.\r\r") + path,
                              this);
        return;
    }
    working_.ComponentFileVersionMarker = saved.ComponentFileVersionMarker;
    working_.ComponentFileVersionString = saved.ComponentFileVersionString;
}

void TComponentPressureForm::ButtonLoadFileClick()
{
    TFileDialogRequest request;
    request.Caption = QStringLiteral("Load Component");
    request.Filter = QStringLiteral("Tessaran Component (*.trco)");
    request.DefaultSuffix = QStringLiteral("trco");
    request.Parent = this;
    std::optional<QString> chosen = Dialogs().OpenFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    TComponentPressure loaded;
    try {
        TMemoryStream stream(ReadWholeFile(chosen->toStdString()));
        loaded.Load(stream, ComponentFileVersion, true);
    } catch (const std::exception &) {
        // The user's entries stay as they were.
        Dialogs().ShowMessage(TDialogKind::Error, QStringLiteral("The component file could not be read.\r\r") + *chosen,
                              this);
        return;
    }
    working_ = loaded;
    const std::string v = working_.ComponentFileVersionString;
    if ((v.empty() || (v >= "0" && v < "4.10")) && working_.SetPressureLoss_Stored_mH2O) {
        const QString version = q(v);
        if (Dialogs().AskYesNo(
                TDialogKind::Confirmation,
                QStringLiteral("The component file version is ") + version + QStringLiteral("\r\r") +
                    QStringLiteral("The component data was previously stored in m H2O (m Water).") +
                    QStringLiteral("\r") +
                    QStringLiteral("You can choose to accept the head values as m Head of the current fluid in the "
                                   "pipe?") +
                    QStringLiteral("\r") +
                    QStringLiteral("Or you can decline and convert the m H2O to the equivalent m head of the fluid in "
                                   "the pipe?") +
                    QStringLiteral("\r\r") +
                    QStringLiteral("Choose Yes to accept the head values as m Head of the current fluid in the pipe.") +
                    QStringLiteral("\r") + QStringLiteral(" ") + QStringLiteral("\r"),
                this)) {
            working_.SetPressureLoss_Stored_mH2O = false;
            working_.CurvePoints.LossDisplayUnit = unt_m_hd_fluid;
        }
    } else if (v == "4.10" && !isFluidHeadUnit(working_.CurvePoints.LossDisplayUnit)) {
        const QString version = q(v);
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("The component file version is ") + version + QStringLiteral("\r\r") +
                                  QStringLiteral("Due to a specific issue with program release ") + version +
                                  QStringLiteral(" it may be that the data") + QStringLiteral("\r") +
                                  QStringLiteral("for this individual component was not saved correctly.") +
                                  QStringLiteral("\r\r") +
                                  QStringLiteral("Please review the data to ensure it appears as you would expect.") +
                                  QStringLiteral("\r") + QStringLiteral(" ") + QStringLiteral("\r"),
                              this);
        working_.SetPressureLoss_Stored_mH2O = true;
    }
    working_.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density());
    working_.SetEquivalentFlowAndMassFlowRate(density());
    UpdateFormAndDisplayUnitsFromComponentPressure();
    paintGrid();
}

// --- The coefficient calculator ---------------------------------------------------

TRightEdit *TComponentPressureForm::coefficientBox(TCoefficient kind) const
{
    switch (kind) {
    case CoefficientCv:
        return RightEditCv;
    case CoefficientKv:
        return RightEditKv;
    case CoefficientKimperial:
        return RightEditSprinklerKimperial;
    case CoefficientKmetric:
        return RightEditSprinklerKmetric;
    }
    return RightEditCv;
}

void TComponentPressureForm::initialiseCalculator()
{
    calculatorFlowUnit_ = network_->ConfigOptions.UnitOfFlow;
    calculatorLossUnit_ = network_->ConfigOptions.UnitOfPressureLoss;
    setUnitsQuietly(ComboBoxFlowRateUnits, ComponentFlowItemOfUnit(calculatorFlowUnit_));
    setUnitsQuietly(ComboBoxLossUnits, ComponentLossItemOfUnit(calculatorLossUnit_));
}

void TComponentPressureForm::openCalculator(TCoefficient kind)
{
    calculatorKind_ = kind;
    LabelCalcDescription->setText(QStringLiteral("For Current Fluid flowing at:"));
    QPalette palette = LabelCalcDescription->palette();
    palette.setColor(QPalette::Window, QColor(Qt::yellow));
    LabelCalcDescription->setPalette(palette);
    static const char *const captions[] = {" Calculate Cv value", " Calculate Kv value",
                                           " Calculate Sprinkler K (Imperial)", " Calculate Sprinkler K (Metric)"};
    GroupBoxCalcCvKv->setTitle(QString::fromLatin1(captions[kind]));
    PanelCalcCvKvSprinklerK->show();
    PanelCalcCvKvSprinklerK->raise();
    const TUnit densityUnit = kind == CoefficientCv || kind == CoefficientKimperial ? unt_lb_ft3 : unt_kg_m3;
    RightEditDensity->setEnabled(false);
    RightEditDensity->setText(q(convertAndFormat(unt_kg_m3, densityUnit, density())));
    LabelDensityUnits->setText(q(unitName(densityUnit)));

    bool valid = false;
    double x = readReal(coefficientBox(kind)->text(), valid, true, false);
    if (!valid)
        x = 1.0;
    const double rho = density();
    const double loss = 1.0;
    double flow = 0;
    switch (kind) {
    case CoefficientCv:
    case CoefficientKv:
        flow = x / std::sqrt((rho / WaterDensity_kg_m3) / loss);
        calculatorFlowUnit_ = kind == CoefficientCv ? unt_gpm_USA : unt_m3_hour;
        calculatorLossUnit_ = kind == CoefficientCv ? unt_Psi_G : unt_Bar_G;
        break;
    case CoefficientKimperial:
    case CoefficientKmetric:
        flow = std::sqrt(x * x * loss) * WaterDensity_kg_m3 / rho;
        calculatorFlowUnit_ = kind == CoefficientKimperial ? unt_gpm_USA : unt_L_min;
        calculatorLossUnit_ = kind == CoefficientKimperial ? unt_Psi_G : unt_Bar_G;
        break;
    }
    if (!std::isfinite(flow))
        flow = 0;
    RightEditLoss->setText(q(formatFixed(4, loss)));
    RightEditFlowRate->setText(q(formatFixed(4, flow)));
    setUnitsQuietly(ComboBoxFlowRateUnits, ComponentFlowItemOfUnit(calculatorFlowUnit_));
    setUnitsQuietly(ComboBoxLossUnits, ComponentLossItemOfUnit(calculatorLossUnit_));
}

void TComponentPressureForm::ButtonCalcClick()
{
    const double rho = density();
    const double atm = atmosphere();
    const TGasFlowTemperaturePressureModel model = network_->ConfigOptions.GasFlowTemperaturePressureModel;
    bool flowValid = false, lossValid = false;
    const double flow = readReal(RightEditFlowRate->text(), flowValid, false, false);
    double loss = 0;
    if (flowValid)
        loss = readReal(RightEditLoss->text(), lossValid, false, false);
    const auto flowTo = [&](TUnit target, double value, TUnit from, double withDensity) {
        return convertFlowUnit(from, target, model, value, withDensity, fluid_.pressure_bar_g, fluid_.degrees_K, atm);
    };
    static const char *const names[] = {"Cv", "Kv", "Sprinkler K (imperial)", "Sprinkler K (metric)"};
    const QString name = QString::fromLatin1(names[calculatorKind_]);
    if (flowValid && lossValid) {
        double result = 0;
        switch (calculatorKind_) {
        case CoefficientCv:
        case CoefficientKv: {
            const bool cv = calculatorKind_ == CoefficientCv;
            const double q = flowTo(cv ? unt_gpm_USA : unt_m3_hour, flow, calculatorFlowUnit_, rho);
            const double dp = convertPressure(calculatorLossUnit_, cv ? unt_Psi_G : unt_Bar_G, loss, atm, rho);
            result = std::sqrt((rho / WaterDensity_kg_m3) / dp) * q;
            break;
        }
        case CoefficientKimperial:
        case CoefficientKmetric: {
            const bool imperial = calculatorKind_ == CoefficientKimperial;
            const double kgs = flowTo(unt_kg_sec, flow, calculatorFlowUnit_, rho);
            const double water = flowTo(imperial ? unt_gpm_USA : unt_L_min, kgs, unt_kg_sec, WaterDensity_kg_m3);
            const double dp = convertPressure(calculatorLossUnit_, imperial ? unt_Psi_G : unt_Bar_G, loss, atm, rho);
            result = std::sqrt(water * water / dp);
            break;
        }
        }
        coefficientBox(calculatorKind_)->setText(q(formatFixed(4, result)));
        PanelCalcCvKvSprinklerK->hide();
    }
    if (!flowValid) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Flow rate is not valid. It will be reset to unity.\r"), this);
        RightEditFlowRate->setText(QStringLiteral("1.0"));
    } else if (!lossValid) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Pressure Loss is not valid. It will be reset to unity.\r"), this);
        RightEditLoss->setText(QStringLiteral("1.0"));
    } else if (fluid_.FluidIsGas) {
        const TConfigOptions &settings = network_->ConfigOptions;
        QString text = QStringLiteral("IMPORTANT NOTE for ") + name + QStringLiteral(" calculation from Gas data: ") +
                       QStringLiteral("\r\r") + QStringLiteral("The ") + name +
                       QStringLiteral(" value will be calculated by converting the specified flow rate to mass flow ") +
                       QStringLiteral("using the density of the current fluid zone, and this mass flow will then be "
                                      "converted to an equivalent volume of water at normal conditions.") +
                       QStringLiteral("\r\r") +
                       QStringLiteral("The volume of water and the stated pressure drop will then be used to "
                                      "calculate a ") +
                       name + QStringLiteral(" value for this component.") + QStringLiteral("\r\r") +
                       QStringLiteral("NOTE:") + QStringLiteral("\r") +
                       QStringLiteral("WHEN ENTERING DATA FOR USE WITH THIS HELPER CALCULATOR, THE SPECIFIED FLOW RATE "
                                      "AND PRESSURE DROP ARE FOR THE DENSITY OF FLUID DEFINED IN THE CURRENT FLUID "
                                      "ZONE.") +
                       QStringLiteral("\r\r");
        if (calculatorKind_ == CoefficientCv || calculatorKind_ == CoefficientKv)
            text += QStringLiteral("Tolerance: ") + QStringLiteral("\r\r") +
                    QStringLiteral("When selecting a valve for a maximum flow and pressure loss condition ") +
                    QStringLiteral("\r") + QStringLiteral("it is recommended that 30% is added to the calculated ") +
                    name + QStringLiteral(" value to ") + QStringLiteral("\r") +
                    QStringLiteral("ensure the valve is not undersized.") + QStringLiteral("\r\r");
        text += QStringLiteral("The equivalent ") + name +
                QStringLiteral(" value will now be calculated based on this data:") + QStringLiteral("\r\r") +
                QStringLiteral("Fluid Density = ") + q(convertAndFormat(unt_kg_m3, settings.UnitOfDensity, rho)) +
                QStringLiteral(" ") + q(unitName(settings.UnitOfDensity)) + QStringLiteral(" at ") +
                q(formatFixed(
                    1, convertPressure(unt_Bar_G, settings.UnitOfSurfacePressure, fluid_.pressure_bar_g, atm, rho))) +
                QStringLiteral(" ") + q(unitName(settings.UnitOfSurfacePressure)) + QStringLiteral("\r") +
                QStringLiteral("Flow Rate = ") + RightEditFlowRate->text() + QStringLiteral(" ") +
                q(unitName(calculatorFlowUnit_)) + QStringLiteral("\r") + QStringLiteral("Presure Loss = ") +
                RightEditLoss->text() + QStringLiteral(" ") + q(unitName(calculatorLossUnit_)) + QStringLiteral("\r") +
                QStringLiteral("\r") + name + QStringLiteral(" = ") + coefficientBox(calculatorKind_)->text() +
                QStringLiteral("\r\r");
        Dialogs().ShowMessage(TDialogKind::Warning, text, this);
    }
}

void TComponentPressureForm::ComboBoxFlowRateUnitsChange(int item)
{
    if (item < 0)
        return;
    const TUnit unit = ComponentFlowUnitOfItem(item);
    bool valid = false;
    double value = readReal(RightEditFlowRate->text(), valid, true, true);
    if (!valid)
        value = 0;
    RightEditFlowRate->setText(
        q(convertFlowUnitToString(calculatorFlowUnit_, unit, 4, network_->ConfigOptions.GasFlowTemperaturePressureModel,
                                  value, density(), fluid_.pressure_bar_g, fluid_.degrees_K, atmosphere())));
    calculatorFlowUnit_ = unit;
}

void TComponentPressureForm::ComboBoxLossUnitsChange(int item)
{
    if (item < 0)
        return;
    const TUnit unit = ComponentLossUnitOfItem(item);
    bool valid = false;
    double value = readReal(RightEditLoss->text(), valid, true, true);
    if (!valid)
        value = 0;
    RightEditLoss->setText(q(convertPressureAndFormat(calculatorLossUnit_, unit, value, atmosphere(), density())));
    calculatorLossUnit_ = unit;
}

} // namespace tessaran
