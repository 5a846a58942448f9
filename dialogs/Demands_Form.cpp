#include "dialogs/Demands_Form.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/Dialog_Look.h"
#include "dialogs/Flow_Unit_List.h"
#include "model/Node_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr int M3s = 0, Kgs = 1, Scmh = 2;
constexpr TUnit FormUnits[3] = {unt_m3_sec, unt_kg_sec, unt_SCMH};

TFlowType FlowTypeOf(TUnit unit)
{
    return isMassFlowUnit(unit) ? MassFlow : isGasFlowUnit(unit) ? GasFlow : VolumeFlow;
}

const QString ConvertedTo = QStringLiteral("The Demand Flow values will be converted and displayed in the current "
                                           "default unit for ");
const QString CanBeChanged =
    QStringLiteral("\r\rThis unit can be changed on the Units tab of the Configuration Options screen.\r");

} // namespace

bool TDemandsForm::FocusDemandInFlow = false;

TDemandsForm::TDemandsForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DemandsForm"));
    setWindowTitle(QStringLiteral("Set Flow Demands"));
    LabelNodeId = Named<QLabel>("LabelNodeId", this);
    QFont bold = LabelNodeId->font();
    bold.setBold(true);
    LabelNodeId->setFont(bold);
    LabelNodeId->setAutoFillBackground(true);
    QPalette yellow = LabelNodeId->palette();
    yellow.setColor(QPalette::Window, Qt::yellow);
    LabelNodeId->setPalette(yellow);
    LabelNodeName = Named<QLabel>("LabelNodeName", this);
    Label1 = Named<QLabel>("Label1", QStringLiteral("Additional Demand Flows"), this);
    LabelDemandInFlow = Named<QLabel>("LabelDemandInFlow", QStringLiteral("In Flow"), this);
    LabelDemandOutFlow = Named<QLabel>("LabelDemandOutFlow", QStringLiteral("Out Flow"), this);
    RightEditDemandInFlow = Named<TRightEdit>("RightEditDemandInFlow", this);
    RightEditDemandOutFlow = Named<TRightEdit>("RightEditDemandOutFlow", this);
    ComboBoxDemandInUnits = Named<QComboBox>("ComboBoxDemandInUnits", this);
    ComboBoxDemandOutUnits = Named<QComboBox>("ComboBoxDemandOutUnits", this);
    ButtonOK = Named<QPushButton>("ButtonOK", QStringLiteral("OK"), this);
    ButtonCancel = Named<QPushButton>("ButtonCancel", QStringLiteral("Cancel"), this);
    ButtonClear = Named<QPushButton>("ButtonClear", QStringLiteral("Clear"), this);
    for (QPushButton *button : {ButtonOK, ButtonCancel, ButtonClear})
        button->setAutoDefault(false);
    for (QComboBox *list : {ComboBoxDemandInUnits, ComboBoxDemandOutUnits})
        list->setMaxVisibleItems(30);

    for (TRightEdit *box : {RightEditDemandInFlow, RightEditDemandOutFlow}) {
        SelectAllOnEntry(box);
        box->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
            if (resultsMode_) {
                key = KeyNone;
                return;
            }
            const TUnit unit = defaultUnitOfFlowType();
            FilterRealKey(sender, key, false, unitEntryDigits(unit), unitDecimals(unit));
        };
    }
    connect(RightEditDemandInFlow, &QLineEdit::textChanged, this, [this] { boxChanged(RightEditDemandInFlow, in_); });
    connect(RightEditDemandOutFlow, &QLineEdit::textChanged, this,
            [this] { boxChanged(RightEditDemandOutFlow, out_); });
    connect(ComboBoxDemandInUnits, &QComboBox::activated, this, [this](int index) { unitChanged(index); });
    connect(ComboBoxDemandOutUnits, &QComboBox::activated, this, [this](int index) { unitChanged(index); });
    connect(ButtonOK, &QPushButton::clicked, this, [this] {
        confirmed_ = true;
        accept();
    });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] {
        confirmed_ = false;
        reject();
    });
    connect(ButtonClear, &QPushButton::clicked, this, [this] {
        RightEditDemandInFlow->setText(QStringLiteral("0.0"));
        RightEditDemandOutFlow->setText(QStringLiteral("0.0"));
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(LabelNodeId, 0, 0);
    grid->addWidget(LabelNodeName, 0, 1, 1, 2);
    grid->addWidget(Label1, 1, 0, 1, 3);
    grid->addWidget(LabelDemandInFlow, 2, 0);
    grid->addWidget(RightEditDemandInFlow, 2, 1);
    grid->addWidget(ComboBoxDemandInUnits, 2, 2);
    grid->addWidget(LabelDemandOutFlow, 3, 0);
    grid->addWidget(RightEditDemandOutFlow, 3, 1);
    grid->addWidget(ComboBoxDemandOutUnits, 3, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonClear);
    grid->addLayout(buttons, 4, 0, 1, 3);
}

double TDemandsForm::convert(TUnit from, TUnit to, double value) const
{
    return convertFlowUnit(from, to, settings_.GasFlowTemperaturePressureModel, value, fluid_.density_kgs_m3,
                           fluid_.pressure_bar_g, fluid_.degrees_K, settings_.Atmosphere_bar_a);
}

TUnit TDemandsForm::formUnit() const
{
    return flowType_ == MassFlow ? unt_kg_sec : flowType_ == GasFlow ? unt_SCMH : unt_m3_sec;
}

TUnit TDemandsForm::defaultUnitOfFlowType() const
{
    return flowType_ == MassFlow ? settings_.UnitOfMassFlow
           : flowType_ == GasFlow ? settings_.UnitOfGasFlow
                                  : settings_.UnitOfFlow;
}

void TDemandsForm::OpenForm(TNode &TheNode, int TheNodeId, const TConfigOptions &TheConfigOptions,
                            const TFluid &TheFluid, bool ResultsMode)
{
    PaintDialogBackground(this);
    settings_ = TheConfigOptions;
    fluid_ = TheFluid;
    resultsMode_ = ResultsMode;

    flowType_ = TheNode.JointDemandUseFlowType;
    if (flowType_ == MassFlow) {
        displayUnit_ = settings_.UnitOfMassFlow;
    } else if (flowType_ == GasFlow && fluid_.FluidIsGas) {
        displayUnit_ = settings_.UnitOfGasFlow;
    } else if (flowType_ == GasFlow) {
        flowType_ = VolumeFlow;
        displayUnit_ = settings_.UnitOfFlow;
    } else if (fluid_.FluidIsGas) {
        flowType_ = GasFlow;
        displayUnit_ = settings_.UnitOfGasFlow;
        TheNode.JointSupply_SCMH = convert(unt_m3_sec, unt_SCMH, TheNode.JointSupply_m3s);
        TheNode.JointDischarge_SCMH = convert(unt_m3_sec, unt_SCMH, TheNode.JointDischarge_m3s);
    } else {
        displayUnit_ = settings_.UnitOfFlow;
    }

    for (QWidget *control : {static_cast<QWidget *>(ComboBoxDemandInUnits),
                             static_cast<QWidget *>(ComboBoxDemandOutUnits), static_cast<QWidget *>(ButtonOK),
                             static_cast<QWidget *>(ButtonClear)})
        control->setEnabled(!ResultsMode);
    LabelNodeId->setText(QStringLiteral("Node:") + QString::number(TheNodeId));
    LabelNodeName->setText(q(TheNode.Name));

    int item = FlowUnitListItem(displayUnit_);
    if (item < 0 || (!fluid_.FluidIsGas && item >= FlowUnitListLiquidItems)) {
        displayUnit_ = unt_kg_hour;
        flowType_ = MassFlow;
        item = FlowUnitListItem(unt_kg_hour);
    }
    for (QComboBox *list : {ComboBoxDemandInUnits, ComboBoxDemandOutUnits}) {
        FitFlowUnitList(list, fluid_.FluidIsGas, fluid_.FluidIsGas);
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(item);
    }

    const int form = flowType_ == MassFlow ? Kgs : flowType_ == GasFlow ? Scmh : M3s;
    const double storedIn[3] = {TheNode.JointSupply_m3s, TheNode.JointSupply_kgs, TheNode.JointSupply_SCMH};
    const double storedOut[3] = {TheNode.JointDischarge_m3s, TheNode.JointDischarge_kgs, TheNode.JointDischarge_SCMH};
    for (int i = 0; i < 3; ++i) {
        in_[static_cast<std::size_t>(i)] = convert(FormUnits[form], FormUnits[i], storedIn[form]);
        out_[static_cast<std::size_t>(i)] = convert(FormUnits[form], FormUnits[i], storedOut[form]);
    }
    fillBox(RightEditDemandInFlow, in_);
    fillBox(RightEditDemandOutFlow, out_);

    confirmed_ = false;
    exec();
    if (confirmed_)
        writeBack(TheNode);
}

void TDemandsForm::fillBox(TRightEdit *box, const TDemand &demand)
{
    // What the form shows is not an entry: a demand too small for four
    // decimals keeps its value.
    filling_ = true;
    box->setText(q(formatFixed(4, convert(unt_m3_sec, displayUnit_, demand[M3s]))));
    filling_ = false;
}

void TDemandsForm::boxChanged(TRightEdit *box, TDemand &demand)
{
    if (filling_)
        return;
    bool valid = false;
    const double value = ReadRealFromEdit(box, valid, true, true);
    if (!valid)
        return;
    demand[M3s] = convert(displayUnit_, unt_m3_sec, value);
    demand[Kgs] = convert(unt_m3_sec, unt_kg_sec, demand[M3s]);
    demand[Scmh] = convert(unt_m3_sec, unt_SCMH, demand[M3s]);
}

void TDemandsForm::unitChanged(int index)
{
    if (index < 0)
        return;
    displayUnit_ = FlowUnitOfListItem(index);
    flowType_ = FlowTypeOf(displayUnit_);
    // The two lists show one unit, and both boxes show their demand in it.
    for (QComboBox *list : {ComboBoxDemandInUnits, ComboBoxDemandOutUnits}) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(index);
    }
    fillBox(RightEditDemandInFlow, in_);
    fillBox(RightEditDemandOutFlow, out_);
}

void TDemandsForm::writeBack(TNode &TheNode)
{
    TheNode.JointDemandUseFlowType = flowType_;
    // An unreadable or negative box gives a zero demand and its message.
    const auto write = [this](const TRightEdit *box, const TDemand &demand, double &m3s, double &kgs, double &scmh,
                              const QString &which) {
        bool valid = false;
        ReadRealFromString(box->text().toStdString(), valid, true, false, static_cast<char>(LocaleDecimalSeparator()));
        m3s = valid ? demand[M3s] : 0;
        kgs = valid ? demand[Kgs] : 0;
        scmh = valid ? demand[Scmh] : 0;
        if (!valid)
            Dialogs().ShowMessage(TDialogKind::Information,
                                  QStringLiteral("Joint %1 Flow value entered was not valid (may have been empty). "
                                                 "\r\rThe value will be set to zero. \r\rPlease reset the %1 Flow to a "
                                                 "valid value.")
                                      .arg(which),
                                  this);
    };
    write(RightEditDemandOutFlow, out_, TheNode.JointDischarge_m3s, TheNode.JointDischarge_kgs,
          TheNode.JointDischarge_SCMH, QStringLiteral("Out"));
    write(RightEditDemandInFlow, in_, TheNode.JointSupply_m3s, TheNode.JointSupply_kgs, TheNode.JointSupply_SCMH,
          QStringLiteral("In"));

    QString notice;
    if (flowType_ == VolumeFlow && fluid_.FluidIsGas) {
        notice = QStringLiteral(
                     "The chosen Demand Flow units specify the Actual Volume of gas at the density defined in the fluid "
                     "properties for this fluid zone.\r\rThis is not defining the volume of gas at Standard Atmospheric "
                     "and Temperature conditions.\r\rFlow of gas is normally specified at 'Standard Volume Conditions', "
                     "such as\r\rSCMH (Standard Cubic Metres per Hour)\rSCFH (Standard Cubic Feet per Hour)\rSCFM "
                     "(Standard Cubic Feet per Minute)\rEtc.\r\rThe Demand Flow values will be converted and displayed "
                     "in the current default unit for gas flow at standard conditions, which is ") +
                 q(unitName(settings_.UnitOfGasFlow)) +
                 QStringLiteral("\r\rThe default gas flow units can be selected on the Units tab of the Configuration "
                                "Options screen, as can the Standard Conditions model.\r");
    } else if (flowType_ == VolumeFlow && displayUnit_ != settings_.UnitOfFlow) {
        notice = ConvertedTo + QStringLiteral("volumetric flow, which is ") + q(unitName(settings_.UnitOfFlow)) +
                 CanBeChanged;
    } else if (flowType_ == GasFlow && displayUnit_ != settings_.UnitOfGasFlow) {
        notice = ConvertedTo + QStringLiteral("gas flow, which is ") + q(unitName(settings_.UnitOfGasFlow)) +
                 CanBeChanged;
    } else if (flowType_ == MassFlow && displayUnit_ != settings_.UnitOfMassFlow) {
        notice = ConvertedTo + QStringLiteral("mass flow, which is ") + q(unitName(settings_.UnitOfMassFlow)) +
                 CanBeChanged;
    }
    if (!notice.isEmpty())
        Dialogs().ShowMessage(TDialogKind::Information, notice, this);
}

void TDemandsForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    TRightEdit *box = FocusDemandInFlow ? RightEditDemandInFlow : RightEditDemandOutFlow;
    if (box->isEnabled())
        box->setFocus();
}

} // namespace tessaran
