// The pump editor's entry boxes: every box and unit list of the data side
// writes its field of the working pump at each change.

#include "pumps/Pump_Data_Form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr int NotesLength = 200;

// The box tinted yellow while the warning is up.
void warnInvalidEntry(TRightEdit *box)
{
    const QPalette saved = box->palette();
    QPalette tinted = saved;
    tinted.setColor(QPalette::Base, QColor(255, 255, 0));
    box->setPalette(tinted);
    Dialogs().ShowMessage(TDialogKind::Warning, QStringLiteral("Numeric entry is not valid"), box->window());
    box->setPalette(saved);
}

// A diameter box read back in the unit it shows: the stored value itself
// while the box still shows that value, so that a value merely shown again
// keeps its exact metres.
double diameterFromBox(const QString &text, double value, TUnit unit, double stored_m)
{
    if (text == q(convertUnitToString(unt_m, unit, 3, stored_m)))
        return stored_m;
    return convertUnit(unit, unt_m, value);
}

} // namespace

void TPumpDataForm::connectEntries()
{
    RightEditPumpSpeed->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterIntegerKey(sender, key, false, 6);
        EditingBaseData = true;
    };
    RightEditImpellerDiameter->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(EditedPump.ImpellerDiameterDisplayUnit), 3);
        EditingBaseData = true;
    };
    for (TRightEdit *box : {RightEditImpellerDiameterMin, RightEditImpellerDiameterMax})
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 4, 3); };
    for (TRightEdit *box : {RightEditPumpSpeedMinRpm, RightEditPumpSpeedMaxRpm, RightEditPumpMotorRpm})
        box->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterIntegerKey(sender, key, false, 6); };
    RightEditPumpStages->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterIntegerKey(sender, key, false, 2); };
    RightEditSetFlowRate->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(EditedPump.SetFlowRateDisplayUnit),
                      unitDecimals(EditedPump.SetFlowRateDisplayUnit));
    };
    RightEditSetFixedHead->OnKeyPress = [this](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, unitEntryDigits(EditedPump.SetFixedHeadDisplayUnit),
                      unitDecimals(EditedPump.SetFixedHeadDisplayUnit));
    };

    auto onChange = [this](QLineEdit *box, auto handler) {
        connect(box, &QLineEdit::textChanged, this, [this, handler] {
            if (!filling_)
                handler();
        });
    };
    onChange(RightEditPumpSpeed, [this] { pumpSpeedChanged(); });
    onChange(RightEditImpellerDiameter, [this] { impellerDiameterChanged(); });
    onChange(RightEditImpellerDiameterMin,
             [this] { impellerLimitChanged(RightEditImpellerDiameterMin, EditedPump.PumpImpellerDiameterMin_m); });
    onChange(RightEditImpellerDiameterMax,
             [this] { impellerLimitChanged(RightEditImpellerDiameterMax, EditedPump.PumpImpellerDiameterMax_m); });
    onChange(RightEditPumpSpeedMinRpm,
             [this] { speedLimitChanged(RightEditPumpSpeedMinRpm, EditedPump.PumpSpeedMinRpm); });
    onChange(RightEditPumpSpeedMaxRpm,
             [this] { speedLimitChanged(RightEditPumpSpeedMaxRpm, EditedPump.PumpSpeedMaxRpm); });
    onChange(RightEditPumpMotorRpm, [this] { motorRpmChanged(); });
    onChange(RightEditPumpStages, [this] { stagesChanged(); });
    onChange(RightEditSetFlowRate, [this] { setFlowChanged(); });
    onChange(RightEditSetFixedHead, [this] { setHeadChanged(); });
    for (QLineEdit *box : {EditPumpName, EditPumpCatalog, EditPumpManufacturer, EditPumpType, EditPumpSize})
        onChange(box, [this] { textBoxChanged(); });
    connect(MemoPumpNotes, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            notesChanged();
    });

    connect(ComboBoxSetFlowUnits, &QComboBox::activated, this, [this](int index) {
        if (!filling_)
            setFlowUnitChanged(index);
    });
    connect(ComboBoxSetFixedHeadUnits, &QComboBox::activated, this, [this](int index) {
        if (!filling_)
            setHeadUnitChanged(index);
    });
    connect(ComboBoxImpellerDiameterUnits, &QComboBox::activated, this, [this](int index) {
        if (!filling_)
            diameterUnitChanged(index);
    });
}

void TPumpDataForm::pumpSpeedChanged()
{
    bool valid = false;
    const int speed = ReadIntegerFromEdit(RightEditPumpSpeed, valid, true, false);
    if (!valid) {
        if (!RightEditPumpSpeed->text().isEmpty())
            warnInvalidEntry(RightEditPumpSpeed);
        return;
    }
    EditedPump.Speed_rpm = speed;
    if (EditingBaseData) {
        EditedPump.BaseDataSpeed_rpm = speed;
        EditedPump.PumpSpeedRpmGraph = EditedPump.Speed_rpm;
        ++filling_;
        RightEditPumpSpeedRpmGraph->setText(RightEditPumpSpeed->text());
        --filling_;
    }
}

void TPumpDataForm::impellerDiameterChanged()
{
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditImpellerDiameter, valid, true, false);
    if (!valid) {
        if (!RightEditImpellerDiameter->text().isEmpty())
            warnInvalidEntry(RightEditImpellerDiameter);
        return;
    }
    EditedPump.ImpellerDiameter_m = convertUnit(EditedPump.ImpellerDiameterDisplayUnit, unt_m, value);
    if (EditingBaseData) {
        EditedPump.BaseDataImpellerDiameter_m = EditedPump.ImpellerDiameter_m;
        EditedPump.PumpImpellerDiameterGraph_m = EditedPump.ImpellerDiameter_m;
        ++filling_;
        RightEditPumpImpellerDiameterGraph->setText(RightEditImpellerDiameter->text());
        --filling_;
    }
}

void TPumpDataForm::impellerLimitChanged(TRightEdit *box, double &field)
{
    bool valid = false;
    const double value = ReadRealFromEdit(box, valid, true, false);
    field = valid ? convertUnit(EditedPump.ImpellerDiameterDisplayUnit, unt_m, value) : 0.0;
}

void TPumpDataForm::speedLimitChanged(TRightEdit *box, std::int32_t &field)
{
    bool valid = false;
    const int value = ReadIntegerFromEdit(box, valid, false, false);
    field = valid && value > 0 ? value : 0;
}

void TPumpDataForm::motorRpmChanged()
{
    bool valid = false;
    const int value = ReadIntegerFromEdit(RightEditPumpMotorRpm, valid, false, false);
    if (valid && value > 0)
        EditedPump.PumpMotorRpm = value;
}

void TPumpDataForm::stagesChanged()
{
    bool valid = false;
    const int value = ReadIntegerFromEdit(RightEditPumpStages, valid, true, false);
    if (valid)
        EditedPump.PumpStages = value;
}

void TPumpDataForm::setFlowChanged()
{
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditSetFlowRate, valid, true, false);
    if (!valid)
        return;
    TPump &p = EditedPump;
    if (p.isSetFlowRateUsingMassFlow()) {
        p.SetFlowRate_kgs = convertUnit(p.SetFlowRateDisplayUnit, unt_kg_sec, value);
        p.SetFlowRate_m3s = p.SetFlowRate_kgs / density_;
    } else {
        p.SetFlowRate_m3s = convertUnit(p.SetFlowRateDisplayUnit, unt_m3_sec, value);
        p.SetFlowRate_kgs = p.SetFlowRate_m3s * density_;
    }
}

void TPumpDataForm::setFlowUnitChanged(int index)
{
    TPump &p = EditedPump;
    const bool toMass = index >= PumpFirstMassFlowItem;
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditSetFlowRate, valid, true, false);
    if (valid) {
        const double kept = convertFlowUnit(p.SetFlowRateDisplayUnit, toMass ? unt_kg_sec : unt_m3_sec,
                                            std_15degC_101325Pa, value, density_, 0, 288.15, atmosphere());
        if (toMass) {
            p.SetFlowRate_kgs = kept;
            p.SetFlowRate_m3s = kept / density_;
        } else {
            p.SetFlowRate_m3s = kept;
            p.SetFlowRate_kgs = kept * density_;
        }
    } else {
        p.SetFlowRate_m3s = 0;
        p.SetFlowRate_kgs = 0;
    }
    p.SetFlowRateDisplayUnit = PumpFlowUnitOfItem(index);
    ++filling_;
    RightEditSetFlowRate->setText(toMass ? q(convertUnitToString(unt_kg_sec, p.SetFlowRateDisplayUnit, 4,
                                                                 p.SetFlowRate_kgs))
                                         : q(convertUnitToString(unt_m3_sec, p.SetFlowRateDisplayUnit, 4,
                                                                 p.SetFlowRate_m3s)));
    --filling_;
}

void TPumpDataForm::setHeadChanged()
{
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditSetFixedHead, valid, true, false);
    if (!valid)
        return;
    TPump &p = EditedPump;
    p.SetFixedHead_Stored_mH2O = !isFluidHeadUnit(p.SetFixedHeadDisplayUnit);
    p.SetFixedHead_FluidHead_m = convertPressure(p.SetFixedHeadDisplayUnit,
                                                 p.SetFixedHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid, value,
                                                 atmosphere(), density_);
}

void TPumpDataForm::setHeadUnitChanged(int index)
{
    TPump &p = EditedPump;
    p.SetFixedHeadDisplayUnit = PumpHeadUnitOfItem(index);
    p.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density_);
    const TUnit to = p.SetFixedHeadDisplayUnit;
    const double shown = convertPressure(p.SetFixedHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid, to,
                                         p.SetFixedHead_FluidHead_m, atmosphere(), density_);
    ++filling_;
    RightEditSetFixedHead->setText(q(formatFixed(unitDecimals(to), shown)));
    --filling_;
}

void TPumpDataForm::diameterUnitChanged(int index)
{
    TPump &p = EditedPump;
    const TUnit oldUnit = p.ImpellerDiameterDisplayUnit;
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditImpellerDiameter, valid, true, false);
    if (!valid) {
        // The list goes back to the unit the pump uses.
        ++filling_;
        ComboBoxImpellerDiameterUnits->setCurrentIndex(rememberedDiameterIndex_);
        --filling_;
        return;
    }
    p.ImpellerDiameter_m = diameterFromBox(RightEditImpellerDiameter->text(), value, oldUnit, p.ImpellerDiameter_m);
    for (auto [box, field] : {std::pair{RightEditImpellerDiameterMin, &p.PumpImpellerDiameterMin_m},
                              std::pair{RightEditImpellerDiameterMax, &p.PumpImpellerDiameterMax_m}}) {
        bool limitValid = false;
        const double limit = ReadRealFromEdit(box, limitValid, true, false);
        if (limitValid)
            *field = diameterFromBox(box->text(), limit, oldUnit, *field);
    }
    p.ImpellerDiameterDisplayUnit = PumpDiameterUnitOfItem(index);
    rememberedDiameterIndex_ = index;
    const TUnit unit = p.ImpellerDiameterDisplayUnit;
    ++filling_;
    RightEditImpellerDiameter->setText(q(convertUnitToString(unt_m, unit, 3, p.ImpellerDiameter_m)));
    RightEditImpellerDiameterMin->setText(q(convertUnitToString(unt_m, unit, 3, p.PumpImpellerDiameterMin_m)));
    RightEditImpellerDiameterMax->setText(q(convertUnitToString(unt_m, unit, 3, p.PumpImpellerDiameterMax_m)));
    --filling_;
    LabelPumpMinDiam->setText(q(unitName(unit)));
    LabelPumpMaxDiam->setText(q(unitName(unit)));
}

void TPumpDataForm::textBoxChanged()
{
    EditedPump.Name = EditPumpName->text().left(20).toStdString();
    EditedPump.PumpCatalog = EditPumpCatalog->text().left(30).toStdString();
    EditedPump.PumpManufacturer = EditPumpManufacturer->text().left(30).toStdString();
    EditedPump.PumpTypeKind = EditPumpType->text().left(30).toStdString();
    EditedPump.PumpSize = EditPumpSize->text().left(20).toStdString();
}

void TPumpDataForm::notesChanged()
{
    QString text = MemoPumpNotes->toPlainText();
    if (text.size() > NotesLength) {
        text.truncate(NotesLength);
        ++filling_;
        MemoPumpNotes->setPlainText(text);
        QTextCursor cursor = MemoPumpNotes->textCursor();
        cursor.movePosition(QTextCursor::End);
        MemoPumpNotes->setTextCursor(cursor);
        --filling_;
    }
    EditedPump.SetNotesText(text.toStdString());
}

} // namespace tessaran
