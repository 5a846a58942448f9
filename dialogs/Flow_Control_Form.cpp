#include "dialogs/Flow_Control_Form.h"

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "dialogs/Flow_Unit_List.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Calculations.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

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

} // namespace

TFlowControlForm::TFlowControlForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FlowControlForm"));
    setWindowTitle(QStringLiteral("Set Control Data"));

    LabelPipeId = Named<QLabel>("LabelPipeId", this);
    LabelPipeName = Named<QLabel>("LabelPipeName", this);
    EditName = Named<QLineEdit>("EditName", this);
    EditName->setMaxLength(30);
    RadioButtonFCV = Named<QRadioButton>("RadioButtonFCV", QStringLiteral("Flow Control Valve (FCV)"), this);
    RadioButtonPRV = Named<QRadioButton>("RadioButtonPRV", QStringLiteral("Pressure Reducing Valve (PRV)"), this);
    RadioButtonBPV = Named<QRadioButton>("RadioButtonBPV", QStringLiteral("Back Pressure Valve (BPV)"), this);
    LabelFlowControl = Named<QLabel>("LabelFlowControl", QStringLiteral("Set Flow"), this);
    RightEditFlowControl = Named<TRightEdit>("RightEditFlowControl", this);
    ComboBoxFlowControlUnits = Named<QComboBox>("ComboBoxFlowControlUnits", this);
    LabelFlowControlUnits = Named<QLabel>("LabelFlowControlUnits", this);
    LabelElevation = Named<QLabel>("LabelElevation", QStringLiteral("Elevation"), this);
    RightEditElevation = Named<TRightEdit>("RightEditElevation", this);
    RightEditElevation->setReadOnly(true);
    LabelElevationUnits = Named<QLabel>("LabelElevationUnits", this);
    Panel1 = Named<QFrame>("Panel1", this);
    LabelText2 = Named<QLabel>("LabelText2", Panel1);
    LabelText1 = Named<QLabel>("LabelText1", Panel1);
    auto *notes = new QVBoxLayout(Panel1);
    notes->addWidget(LabelText2);
    notes->addWidget(LabelText1);
    CheckBoxIncludeDpRange =
        Named<QCheckBox>("CheckBoxIncludeDpRange", QStringLiteral("Specify Allowable dP Range (Optional)"), this);
    RightEditFromDpRange = Named<TRightEdit>("RightEditFromDpRange", this);
    RightEditToDpRange = Named<TRightEdit>("RightEditToDpRange", this);
    LabelFromDpRangeUnits = Named<QLabel>("LabelFromDpRangeUnits", this);
    LabelToDpRangeUnits = Named<QLabel>("LabelToDpRangeUnits", this);
    CheckBoxCompressibleChokedFlow =
        Named<QCheckBox>("CheckBoxCompressibleChokedFlow", QStringLiteral("Check for Choked Flow"), this);
    BitBtnChokedFlowText = Named<QPushButton>("BitBtnChokedFlowText", QStringLiteral("?"), this);
    BitBtnChokedFlowText->setToolTip(QStringLiteral("More about choked flow"));
    PanelChokedFlowText = Named<QFrame>("PanelChokedFlowText", this);
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
    ButtonOK = Named<QPushButton>("ButtonOK", QStringLiteral("OK"), this);
    ButtonCancel = Named<QPushButton>("ButtonCancel", QStringLiteral("Cancel"), this);
    ButtonDelete = Named<QPushButton>("ButtonDelete", QStringLiteral("Delete"), this);
    for (QPushButton *button : {BitBtnChokedFlowText, BitBtn2, ButtonOK, ButtonCancel, ButtonDelete})
        button->setAutoDefault(false);

    SelectAllOnEntry(RightEditFlowControl);
    SelectAllOnEntry(EditName);
    for (TRightEdit *box : {RightEditFlowControl, RightEditFromDpRange, RightEditToDpRange})
        box->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
            FilterRealKey(sender, key, false, unitEntryDigits(settings_.UnitOfFlow), 4);
        };

    auto *grid = new QGridLayout(this);
    grid->addWidget(LabelPipeId, 0, 0);
    grid->addWidget(LabelPipeName, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Control Name"), this), 1, 0);
    grid->addWidget(EditName, 1, 1, 1, 3);
    grid->addWidget(RadioButtonFCV, 2, 0, 1, 4);
    grid->addWidget(RadioButtonPRV, 3, 0, 1, 4);
    grid->addWidget(RadioButtonBPV, 4, 0, 1, 4);
    auto *valueRow = new QHBoxLayout;
    valueRow->setSpacing(2);
    valueRow->addWidget(RightEditFlowControl);
    valueRow->addWidget(ComboBoxFlowControlUnits);
    valueRow->addSpacing(3);
    valueRow->addWidget(LabelFlowControlUnits);
    valueRow->addStretch();
    grid->addWidget(LabelFlowControl, 5, 0);
    grid->addLayout(valueRow, 5, 1, 1, 3);
    grid->addWidget(LabelElevation, 6, 0);
    grid->addWidget(RightEditElevation, 6, 1);
    grid->addWidget(LabelElevationUnits, 6, 2);
    grid->addWidget(Panel1, 7, 0, 1, 4);
    grid->addWidget(CheckBoxIncludeDpRange, 8, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("From"), this), 9, 0);
    grid->addWidget(RightEditFromDpRange, 9, 1);
    grid->addWidget(LabelFromDpRangeUnits, 9, 2);
    grid->addWidget(new QLabel(QStringLiteral("To"), this), 10, 0);
    grid->addWidget(RightEditToDpRange, 10, 1);
    grid->addWidget(LabelToDpRangeUnits, 10, 2);
    grid->addWidget(CheckBoxCompressibleChokedFlow, 11, 0, 1, 3);
    grid->addWidget(BitBtnChokedFlowText, 11, 3);
    grid->addWidget(PanelChokedFlowText, 12, 0, 1, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonDelete);
    grid->addLayout(buttons, 13, 0, 1, 4);

    connect(RadioButtonFCV, &QRadioButton::clicked, this, [this] { chooseKind(FCV); });
    connect(RadioButtonPRV, &QRadioButton::clicked, this, [this] { chooseKind(PRV); });
    connect(RadioButtonBPV, &QRadioButton::clicked, this, [this] { chooseKind(BPV); });
    connect(RightEditFlowControl, &QLineEdit::textChanged, this, [this] { valueChanged(); });
    connect(ComboBoxFlowControlUnits, &QComboBox::activated, this, [this](int index) { unitChanged(index); });
    connect(CheckBoxIncludeDpRange, &QCheckBox::toggled, this, [this](bool ticked) { rangeTicked(ticked); });
    connect(BitBtnChokedFlowText, &QPushButton::clicked, PanelChokedFlowText, &QWidget::show);
    connect(BitBtn2, &QPushButton::clicked, PanelChokedFlowText, &QWidget::hide);
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] {
        confirmed_ = false;
        delete_ = false;
        reject();
    });
    connect(ButtonDelete, &QPushButton::clicked, this, [this] {
        confirmed_ = false;
        delete_ = true;
        accept();
    });
}

TFlowControl &TFlowControlForm::valve() { return pipe_->FlowControl; }

void TFlowControlForm::OpenForm(TNetwork &TheNetwork, int ThePipeId, const TConfigOptions &TheConfigOptions,
                                bool ResultsMode)
{
    PaintDialogBackground(this, QColor(0xF1, 0xFA, 0xFF));
    PaintDialogBackground(PanelChokedFlowText, QColor(0xF1, 0xFA, 0xFF));
    network_ = &TheNetwork;
    settings_ = TheConfigOptions;
    pipe_ = &TheNetwork.GetPipe(ThePipeId);
    fluid_ = TheNetwork.GetPipeFluid(ThePipeId);
    snapshot_.CopyFlowControl(pipe_->FlowControl);
    snapshotPosition_ = pipe_->FlowControlPositionPercentageAlongPipe;
    confirmed_ = false;
    delete_ = false;

    if (pipe_->FlowControlCount == 0 && !TheNetwork.IsPipeOkToAddFlowControl(ThePipeId)) {
        Dialogs().ShowMessage(
            TDialogKind::Warning,
            QStringLiteral("A control valve (FCV,PRV,BPV) cannot be added to this pipe.\r\rOne of the pipes joining to "
                           "this pipe or from this pipe already contains a control valve.\r\rTo add a control valve "
                           "to this pipe there must be no joining pipes that contain a control valve."),
            this);
        return;
    }

    PanelChokedFlowText->hide();
    CheckBoxCompressibleChokedFlow->setVisible(fluid_.FluidIsGas);
    BitBtnChokedFlowText->setVisible(fluid_.FluidIsGas);

    const QList<QWidget *> editable = {EditName,           RadioButtonFCV,        RadioButtonPRV,       RadioButtonBPV,
                                       RightEditFlowControl, ComboBoxFlowControlUnits, CheckBoxIncludeDpRange,
                                       RightEditFromDpRange, RightEditToDpRange,    ButtonOK,             ButtonDelete,
                                       CheckBoxCompressibleChokedFlow};
    for (QWidget *control : editable)
        control->setEnabled(!ResultsMode);
    ButtonCancel->setEnabled(true);
    if (!ResultsMode && pipe_->FlowControlCount == 0)
        valve().Clear();
    CheckBoxCompressibleChokedFlow->setChecked(valve().CheckCompressibleChokedFlow);

    LabelPipeId->setText(QStringLiteral("Pipe:") + QString::number(ThePipeId));
    LabelPipeName->setText(q(pipe_->Name));
    EditName->setText(q(valve().Name));
    TheNetwork.GetPipeNodes(ThePipeId, fromNodeId_, toNodeId_);

    buildUnitList();
    const int item = FlowUnitListItem(valve().FlowControlDisplayUnit);
    if (item >= 0 && item < ComboBoxFlowControlUnits->count())
        ComboBoxFlowControlUnits->setCurrentIndex(item);

    if (valve().ControlType == FCV) {
        valve().SetEquivalentFlowAndMassFlowRate(fluid_, settings_.Atmosphere_bar_a,
                                                 settings_.GasFlowTemperaturePressureModel);
        RadioButtonFCV->setChecked(true);
        HidePressureFields();
    } else {
        (valve().ControlType == PRV ? RadioButtonPRV : RadioButtonBPV)->setChecked(true);
        ShowPressureFields();
    }

    {
        const QSignalBlocker blocker(CheckBoxIncludeDpRange);
        CheckBoxIncludeDpRange->setChecked(valve().UseAllowedDpRange);
    }
    rangeTicked(valve().UseAllowedDpRange && !ResultsMode);
    if (ResultsMode) {
        RightEditFromDpRange->setEnabled(false);
        RightEditToDpRange->setEnabled(false);
    }
    const TUnit rangeUnit = settings_.UnitOfSurfacePressure;
    const auto rangeText = [&](double difference_bar) {
        const double shown = convertPressure(unt_Bar_G, rangeUnit, difference_bar, settings_.Atmosphere_bar_a,
                                             density()) -
                             convertPressure(unt_Bar_G, rangeUnit, 0, settings_.Atmosphere_bar_a, density());
        return q(formatFixed(unitDecimals(rangeUnit), shown));
    };
    RightEditFromDpRange->setText(rangeText(valve().MinAllowedDp_Bar_g));
    RightEditToDpRange->setText(rangeText(valve().MaxAllowedDp_Bar_g));
    LabelFromDpRangeUnits->setText(q(unitPlainName(rangeUnit)));
    LabelToDpRangeUnits->setText(q(unitPlainName(rangeUnit)));

    exec();

    if (confirmed_) {
        applyEntries();
        valve().CheckCompressibleChokedFlow = CheckBoxCompressibleChokedFlow->isChecked();
    } else {
        // The position too: OK with a PRV or BPV moves the valve before its
        // checks, and a later Cancel must not keep that move.
        valve().CopyFlowControl(snapshot_);
        pipe_->FlowControlPositionPercentageAlongPipe = snapshotPosition_;
    }
    if (delete_) {
        valve().Clear();
        pipe_->FlowControlPositionPercentageAlongPipe = 0.0;
        pipe_->FlowControlCount = 0;
    }
}

void TFlowControlForm::buildUnitList()
{
    FitFlowUnitList(ComboBoxFlowControlUnits, fluid_.FluidIsGas, fluid_.FluidIsGas && valve().ControlType == FCV);
}

QString TFlowControlForm::setFlowText() const
{
    const TFlowControl &shown = pipe_->FlowControl;
    TUnit from = unt_m3_sec;
    double value = shown.FlowControl_m3s;
    if (shown.FlowControlFlowType == MassFlow) {
        from = unt_kg_sec;
        value = shown.FlowControl_kgs;
    } else if (shown.FlowControlFlowType == GasFlow) {
        from = unt_SCMH;
        value = shown.FlowControl_SCMH;
    }
    const double converted =
        convertFlowUnit(from, shown.FlowControlDisplayUnit, settings_.GasFlowTemperaturePressureModel, value,
                        density(), fluid_.pressure_bar_g, fluid_.degrees_K, settings_.Atmosphere_bar_a);
    return q(formatFixed(4, converted));
}

void TFlowControlForm::showValue(const QString &text)
{
    // What the form shows is not an entry: the stored value stays exact.
    filling_ = true;
    RightEditFlowControl->setText(text);
    filling_ = false;
    fitValueBox();
}

void TFlowControlForm::HidePressureFields()
{
    valve().ControlType = FCV;
    LabelFlowControl->setText(QStringLiteral("Set Flow"));
    LabelFlowControlUnits->setText(q(unitName(valve().FlowControlDisplayUnit)));
    showValue(setFlowText());
    for (QWidget *control : {static_cast<QWidget *>(LabelElevation), static_cast<QWidget *>(RightEditElevation),
                             static_cast<QWidget *>(LabelElevationUnits), static_cast<QWidget *>(Panel1)})
        control->hide();
    ComboBoxFlowControlUnits->setEnabled(RadioButtonFCV->isEnabled());
    ComboBoxFlowControlUnits->show();
    buildUnitList();
}

void TFlowControlForm::ShowPressureFields()
{
    const bool prv = RadioButtonPRV->isChecked();
    valve().ControlType = prv ? PRV : BPV;
    LabelText2->setText(prv ? QStringLiteral(" PRV placed at end of pipe") : QStringLiteral(" BPV placed at start of pipe"));
    LabelText1->setText(prv ? QStringLiteral(" Elevation set from end node")
                            : QStringLiteral(" Elevation set from start node"));
    const TNode &node = network_->GetNode(prv ? toNodeId_ : fromNodeId_);
    RightEditElevation->setText(q(formatFixed(unitDecimals(settings_.UnitOfElevation),
                                              convertUnit(unt_m, settings_.UnitOfElevation, node.Elevation_m))));
    LabelElevationUnits->setText(q(unitName(settings_.UnitOfElevation)));
    LabelFlowControl->setText(QStringLiteral("Set Pressure"));
    const TUnit unit = settings_.UnitOfSurfacePressure;
    LabelFlowControlUnits->setText(q(unitName(unit)));
    showValue(q(formatFixed(unitDecimals(unit), convertPressure(unt_Bar_G, unit, valve().RegulatedPressure_Bar_g,
                                                                settings_.Atmosphere_bar_a, density()))));
    for (QWidget *control : {static_cast<QWidget *>(LabelElevation), static_cast<QWidget *>(RightEditElevation),
                             static_cast<QWidget *>(LabelElevationUnits), static_cast<QWidget *>(Panel1)})
        control->show();
    ComboBoxFlowControlUnits->setEnabled(false);
    ComboBoxFlowControlUnits->hide();
}

void TFlowControlForm::chooseKind(TControlType kind)
{
    if (kind == PRV && network_->GetNode(toNodeId_).NodeType != Joint) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("A PRV cannot be placed on a pipe that flows in to a Tank or End Pressure "
                                             "node. \r\rA PRV control can only be added to a pipe that flows in to a "
                                             "Join Point. \r\rThe control valve type will be set to FCV (Flow Control "
                                             "Valve)."),
                              this);
        kind = FCV;
    } else if (kind == BPV && network_->GetNode(fromNodeId_).NodeType != Joint) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("A BPV cannot be placed on a pipe that comes out of a Tank.\r\rA BPV "
                                             "control can only be added to a pipe that flows out of a Join Point. "
                                             "\r\rThe control valve type will be set to FCV (Flow Control Valve)."),
                              this);
        kind = FCV;
    }
    if (kind == FCV) {
        RadioButtonFCV->setChecked(true);
        HidePressureFields();
    } else {
        ShowPressureFields();
    }
}

void TFlowControlForm::valueChanged()
{
    if (filling_ || !pipe_)
        return;
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditFlowControl, valid, true, true);
    if (!valid)
        return;
    TFlowControl &edited = valve();
    if (edited.ControlType != FCV) {
        const TUnit unit = settings_.UnitOfSurfacePressure;
        double pressure_bar_g = convertPressure(unit, unt_Bar_G, value, settings_.Atmosphere_bar_a, density());
        const double vacuum_bar_g = convertPressure(unt_Bar_A, unt_Bar_G, 0, settings_.Atmosphere_bar_a, density());
        if (pressure_bar_g < vacuum_bar_g) {
            Dialogs().ShowMessage(
                TDialogKind::Information,
                QStringLiteral("The pressure value is less than that of a perfect vacuum, i.e. < 0.0 bar "
                               "absolute.\r\rThe  value will be set to 0.0 bar absolute (or equivalent in other "
                               "units).\r\r "),
                this);
            pressure_bar_g = vacuum_bar_g;
            showValue(q(formatFixed(unitDecimals(unit), convertPressure(unt_Bar_G, unit, vacuum_bar_g,
                                                                        settings_.Atmosphere_bar_a, density()))));
        }
        edited.RegulatedPressure_Bar_g = pressure_bar_g;
        return;
    }
    const TUnit unit = edited.FlowControlDisplayUnit;
    const auto to = [&](TUnit target) {
        return convertFlowUnit(unit, target, settings_.GasFlowTemperaturePressureModel, value, density(),
                               fluid_.pressure_bar_g, fluid_.degrees_K, settings_.Atmosphere_bar_a);
    };
    if (isMassFlowUnit(unit)) {
        edited.FlowControl_kgs = to(unt_kg_sec);
        edited.FlowControlFlowType = MassFlow;
    } else if (isGasFlowUnit(unit)) {
        edited.FlowControl_SCMH = to(unt_SCMH);
        edited.FlowControlFlowType = GasFlow;
    } else {
        edited.FlowControl_m3s = to(unt_m3_sec);
        edited.FlowControlFlowType = VolumeFlow;
    }
    edited.SetEquivalentFlowAndMassFlowRate(fluid_, settings_.Atmosphere_bar_a, settings_.GasFlowTemperaturePressureModel);
    fitValueBox();
}

void TFlowControlForm::fitValueBox()
{
    const auto length = RightEditFlowControl->text().size();
    RightEditFlowControl->setFixedWidth(length < 11 ? 67 : length < 13 ? 80 : 100);
}

void TFlowControlForm::unitChanged(int index)
{
    if (index < 0)
        return;
    TFlowControl &edited = valve();
    edited.SetEquivalentFlowAndMassFlowRate(fluid_, settings_.Atmosphere_bar_a, settings_.GasFlowTemperaturePressureModel);
    const TUnit unit = FlowUnitOfListItem(index);
    edited.FlowControlDisplayUnit = unit;
    edited.FlowControlFlowType = isMassFlowUnit(unit) ? MassFlow : isGasFlowUnit(unit) ? GasFlow : VolumeFlow;
    LabelFlowControlUnits->setText(q(unitName(unit)));
    showValue(setFlowText());
}

void TFlowControlForm::rangeTicked(bool ticked)
{
    for (TRightEdit *box : {RightEditFromDpRange, RightEditToDpRange}) {
        box->setEnabled(ticked);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, ticked ? QColor(Qt::white) : QColor(0xC0, 0xC0, 0xC0));
        box->setPalette(palette);
    }
}

bool TFlowControlForm::checkBox(TRightEdit *box, const QString &emptyMessage, const QString &invalidMessage)
{
    if (box->text().trimmed().isEmpty()) {
        Dialogs().ShowMessage(TDialogKind::Information, emptyMessage, this);
        box->setText(QStringLiteral("0"));
        return false;
    }
    if (!IsRealText(box->text().toStdString(), static_cast<char>(LocaleDecimalSeparator()))) {
        Dialogs().ShowMessage(TDialogKind::Information, invalidMessage, this);
        return false;
    }
    return true;
}

void TFlowControlForm::ButtonOKClick()
{
    bool ok = true;
    if (RadioButtonFCV->isChecked()) {
        ok &= checkBox(RightEditFlowControl,
                       QStringLiteral("Flow value is empty. \r\rFlow will be set to zero. \r\rPlease reset the Flow to "
                                      "a valid value."),
                       QStringLiteral("Flow value entered is invalid. \r\rPlease reset the Flow to a valid value."));
    } else {
        pipe_->FlowControlPositionPercentageAlongPipe = RadioButtonPRV->isChecked() ? 98.0 : 3.0;
        ok &= checkBox(RightEditFlowControl,
                       QStringLiteral("Pressure value is empty. \r\rPressure will be set to zero. \r\rPlease reset the "
                                      "Pressure to a valid value."),
                       QStringLiteral("Pressure value entered is invalid. \r\rPlease reset the Pressure to a valid "
                                      "value."));
    }
    if (CheckBoxIncludeDpRange->isChecked()) {
        const bool from = checkBox(RightEditFromDpRange,
                                   QStringLiteral("From dP value is empty. \r\rFrom dP will be set to zero. \r\rPlease "
                                                  "reset the From dP to a valid value."),
                                   QStringLiteral("From dP value entered is invalid. \r\rPlease reset the From dP to a "
                                                  "valid value."));
        const bool to = checkBox(RightEditToDpRange,
                                 QStringLiteral("To dP value is empty. \r\rTo dP will be set to zero. \r\rPlease reset "
                                                "the To dP to a valid value."),
                                 QStringLiteral("To dP value entered is invalid. \r\rPlease reset the To dP to a valid "
                                                "value."));
        ok &= from && to;
        if (from && to) {
            bool fromValid = false, toValid = false;
            const double low = ReadRealFromEdit(RightEditFromDpRange, fromValid, false, false);
            const double high = ReadRealFromEdit(RightEditToDpRange, toValid, false, false);
            if (!fromValid || !toValid) {
                Dialogs().ShowMessage(TDialogKind::Information,
                                      QStringLiteral("The dP range values must be numbers greater than zero. \r\rPlease reset "
                                                     "the From dP and To dP to valid values."),
                                      this);
                ok = false;
            } else if (low >= high) {
                Dialogs().ShowMessage(TDialogKind::Information,
                                      QStringLiteral("The dP range entered is invalid. \r\rPlease reset the From dP to "
                                                     "be less than the To dP value."),
                                      this);
                ok = false;
            }
        }
    }
    if (!ok)
        return;
    confirmed_ = true;
    delete_ = false;
    accept();
}

double TFlowControlForm::pressureFromBox(const TRightEdit *box) const
{
    bool valid = false;
    const double value = ReadRealFromString(box->text().toStdString(), valid, true, true,
                                            static_cast<char>(LocaleDecimalSeparator()));
    if (!valid)
        return 0;
    return convertPressure(settings_.UnitOfSurfacePressure, unt_Bar_G, value, settings_.Atmosphere_bar_a, density());
}

double TFlowControlForm::pressureDifferenceFromBox(const TRightEdit *box) const
{
    bool valid = false;
    const double value = ReadRealFromString(box->text().toStdString(), valid, true, true,
                                            static_cast<char>(LocaleDecimalSeparator()));
    if (!valid)
        return 0;
    // A difference: an absolute unit's offset cancels out.
    const TUnit unit = settings_.UnitOfSurfacePressure;
    return convertPressure(unit, unt_Bar_G, value, settings_.Atmosphere_bar_a, density()) -
           convertPressure(unit, unt_Bar_G, 0, settings_.Atmosphere_bar_a, density());
}

void TFlowControlForm::applyEntries()
{
    TFlowControl &edited = valve();
    edited.Name = EditName->text().left(TFlowControl::NameLength).toStdString();
    if (RadioButtonFCV->isChecked()) {
        edited.ControlType = FCV;
        pipe_->FlowUncompressed_m3s = edited.FlowControl_m3s;
        pipe_->Velocity_ms = calcVelocity(edited.FlowControl_m3s, pipe_->InnerDiameter_m, 1.0);
        const double velocity = pipe_->Velocity_ms;
        const double highLiquid = network_->ConfigOptions.getHighLiquidVelocity_ms();
        const double highGas = network_->ConfigOptions.getHighGasVelocity_ms();
        if (!fluid_.FluidIsGas && velocity > highLiquid) {
            Dialogs().ShowMessage(
                TDialogKind::Warning,
                QStringLiteral("The set flow rate is high in comparison to the current diameter of the pipe.\r\rThis "
                               "will cause a High Liquid Flow Velocity (") +
                    q(formatFixed(3, convertUnit(unt_m_Sec, settings_.UnitOfVelocity, velocity))) +
                    q(unitName(settings_.UnitOfVelocity)) + QStringLiteral(")"),
                this);
        }
        if (fluid_.FluidIsGas && velocity > highGas) {
            const double limit_bar_g =
                scaleAbsolutePressure(highGas, velocity, fluid_.pressure_bar_g, settings_.Atmosphere_bar_a);
            const TNode &end = network_->GetNode(toNodeId_);
            const bool heldAbove = (end.NodeType == Tank || end.NodeType == EndPressure) &&
                                   end.getSurfacePlusLiquidPressure_bar_g(settings_.Atmosphere_bar_a, density()) >
                                       limit_bar_g;
            if (!heldAbove) {
                const TUnit pressureUnit = settings_.UnitOfPressure;
                Dialogs().ShowMessage(
                    TDialogKind::Warning,
                    QStringLiteral("When the system is solved:\r\rIf the pressure after the FCV is lower than ") +
                        q(formatFixed(unitDecimals(pressureUnit),
                                      convertPressure(unt_Bar_G, pressureUnit, limit_bar_g,
                                                      settings_.Atmosphere_bar_a, density()))) +
                        QStringLiteral(" ") + q(unitName(pressureUnit)) +
                        QStringLiteral(" then this will cause a Gas Flow Velocity > ") +
                        q(formatFixed(3, convertUnit(unt_m_Sec, settings_.UnitOfVelocity, highGas))) +
                        QStringLiteral(" ") + q(unitName(settings_.UnitOfVelocity)) + QStringLiteral("\r\r") +
                        QStringLiteral("The high velocity warning value can be set on the Calculations Tab of "
                                       "Configuration Options screen."),
                    this);
            }
        }
        if (fluid_.FluidIsGas && edited.FlowControlFlowType == VolumeFlow) {
            const TUnit densityUnit = network_->ConfigOptions.UnitOfDensity;
            Dialogs().ShowMessage(
                TDialogKind::Confirmation,
                QStringLiteral("The FCV is currently showing in units of volumetric flow (") +
                    q(unitName(edited.FlowControlDisplayUnit)) + QStringLiteral(") ") + QStringLiteral("\r\r") +
                    QStringLiteral("The flow rate refers to the volume of flow ") +
                    QStringLiteral("at the current fluid zone density used with this pipe (") +
                    q(formatFixed(unitDecimals(densityUnit), convertUnit(unt_kg_m3, densityUnit, density()))) +
                    q(unitName(densityUnit)) + QStringLiteral(").") + QStringLiteral("\r\r") +
                    QStringLiteral("NOTE: ") + QStringLiteral("\r") +
                    QStringLiteral("This is not a volume at standard conditions (unless the fluid data is defined for "
                                   "standard conditions).") +
                    QStringLiteral("\r\r") +
                    QStringLiteral("Use Gas Flow units such as SCMH to define flow rate in standard volume.") +
                    QStringLiteral("\r"),
                this);
        }
    } else {
        edited.ControlType = RadioButtonPRV->isChecked() ? PRV : BPV;
        edited.RegulatedPressure_Bar_g = pressureFromBox(RightEditFlowControl);
    }
    if (CheckBoxIncludeDpRange->isChecked()) {
        edited.UseAllowedDpRange = true;
        edited.MinAllowedDp_Bar_g = pressureDifferenceFromBox(RightEditFromDpRange);
        edited.MaxAllowedDp_Bar_g = pressureDifferenceFromBox(RightEditToDpRange);
    } else {
        edited.UseAllowedDpRange = false;
    }
    if (pipe_->FlowControlPositionPercentageAlongPipe == 0.0)
        pipe_->FlowControlPositionPercentageAlongPipe = 70.0;
    pipe_->FlowControlCount = 1;
}

} // namespace tessaran
