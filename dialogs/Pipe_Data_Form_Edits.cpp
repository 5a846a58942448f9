// The edit grid's writes into the network: the in-cell edit, run on every
// keystroke, and the bulk update of one column of every listed row.

#include "dialogs/Pipe_Data_Form.h"

#include <cmath>
#include <exception>
#include <limits>

#include <QLineEdit>
#include <QTableWidget>

#include "app/Main_Window_Services.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "pumps/Form_Message.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace tessaran {

namespace {

const QString InvalidCellValueMessage =
    QStringLiteral("Value entered is not valid for this cell. The value will be reset.");
const QString VacuumMessage =
    QStringLiteral("The pressure value is less than that of a perfect vacuum, i.e. < 0.0 bar absolute.\r\rThe  value "
                   "will be set to 0.0 bar absolute (or equivalent in other units).\r\r ");

// The fixed conditions of the pump flow conversions.
constexpr double PumpFlowGaugePressure_bar = 0.0;
constexpr double PumpFlowTemperature_K = 288.15;
constexpr double PumpFlowAtmosphere_bar_a = 1.01325;

double PumpFlow(TUnit from, TUnit to, double value, double density)
{
    return convertFlowUnit(from, to, std_15degC_101325Pa, value, density, PumpFlowGaugePressure_bar,
                           PumpFlowTemperature_K, PumpFlowAtmosphere_bar_a);
}

std::string Left(const QString &text, int characters) { return text.left(characters).toStdString(); }

std::vector<std::string> NotesFromCell(const QString &text)
{
    if (text.isEmpty())
        return {};
    return {text.toStdString()};
}

} // namespace

// --- Yes and no ----------------------------------------------------------------------------

bool TPipeDataForm::CheckCellValueYesNoString(const QString &Text, bool &Yes)
{
    for (const char *no : {"No", "No (Not In Use)", "False", "n", "f"})
        if (Text.compare(QLatin1String(no), Qt::CaseInsensitive) == 0) {
            Yes = false;
            return true;
        }
    for (const char *yes : {"Yes", "True", "y", "t", ""})
        if (Text.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0) {
            Yes = true;
            return true;
        }
    return false;
}

QString TPipeDataForm::GetCellValueYesNoString(bool Yes)
{
    return Yes ? QStringLiteral("Yes") : QStringLiteral("No (Not In Use)");
}

bool TPipeDataForm::IsStringYesOrTrue(const QString &Text)
{
    bool yes = false;
    return CheckCellValueYesNoString(Text, yes) && yes;
}

// --- Cell edit -----------------------------------------------------------------------------

void TPipeDataForm::cellTextEdited(QLineEdit *editor, int col, int row, const QString &text)
{
    if (QTableWidgetItem *item = StringGridData->item(row, col)) {
        const QSignalBlocker blocker(StringGridData);
        item->setText(text);
    }
    editor_ = editor;
    StringGridDataSetEditText(col, row, text);
    editor_ = nullptr;
}

TPipeDataForm::TCellRule TPipeDataForm::cellRule(int col) const
{
    const int t = tab();
    switch (t) {
    case TabPipes:
        switch (col) {
        case 1:
        case 3:
        case 4:
        case 8: return TCellRule::Text;
        case 5:
        case 6:
        case 7: return TCellRule::Numeric;
        default: return TCellRule::None;
        }
    case TabTanks:
    case TabEndPressures:
    case TabNodes: {
        const int notes = t == TabEndPressures ? 5 : 6;
        if (col == 2 || col == notes)
            return TCellRule::Text;
        if (col == 3)
            return TCellRule::NumericNegative;
        if (t == TabTanks)
            return col == 4 ? TCellRule::Numeric : col == 5 ? TCellRule::NumericNegative : TCellRule::None;
        if (t == TabEndPressures)
            return col == 4 ? TCellRule::NumericNegative : TCellRule::None;
        return col == 4 || col == 5 ? TCellRule::Numeric : TCellRule::None;
    }
    default: break;
    }
    // The item tabs: pipe name, diameter, item name, values, use flag.
    if (col == 1 || col == 4)
        return TCellRule::Text;
    if (col == 3)
        return TCellRule::Numeric;
    const bool twoValues = t == TabFCVs || t == TabPumpsFixedFlow;
    const int useColumn = t == TabPumpsCurve ? 8 : twoValues ? 7 : 6;
    if (col == useColumn)
        return TCellRule::YesNo;
    if (col == 5 || (twoValues && col == 6))
        return TCellRule::Numeric;
    return TCellRule::None;
}

void TPipeDataForm::StringGridDataSetEditText(int ACol, int ARow, const QString &Value)
{
    if (!network_)
        return;
    try {
        const int id = GetCellIdValue(ARow);
        if (id > 0) {
            const TCellRule rule = cellRule(ACol);
            if (rule == TCellRule::None) {
                putBack(ACol, ARow);
            } else if (rule == TCellRule::Numeric || rule == TCellRule::NumericNegative) {
                bool valid = false;
                const double value = ReadRealFromString(Value.toStdString(), valid, true,
                                                        rule == TCellRule::NumericNegative, userDecimalSeparator());
                if (valid) {
                    applyCellRule(ACol, ARow, id, Value, value);
                    keepWrittenText(ACol, ARow);
                } else if (Value.isEmpty() || (!isPipeTab() && Value == QStringLiteral("-"))) {
                    // Typing goes on.
                } else {
                    Dialogs().ShowMessage(TDialogKind::Confirmation, InvalidCellValueMessage, this);
                    putBack(ACol, ARow);
                }
            } else {
                applyCellRule(ACol, ARow, id, Value, 0);
                keepWrittenText(ACol, ARow);
            }
        } else if (!Value.isEmpty()) {
            Dialogs().ShowMessage(TDialogKind::Confirmation, QStringLiteral("This cell cannot be edited."), this);
            putBack(ACol, ARow);
        }
        mainWindow_.RefreshScreen(true);
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Confirmation, InvalidCellValueMessage, this);
        refillKeepingFilter();
        mainWindow_.RefreshScreen(true);
        StringGridData->viewport()->update();
    }
}

// A cell put back after a later bad key shows the value last written
// into the item, not the text it had before the edit began.
void TPipeDataForm::keepWrittenText(int col, int row)
{
    if (col == selectedColumn_ && row == selectedRow_)
        savedCellText_ = cell(col, row);
}

const TFluid &TPipeDataForm::nodeFluid(int nodeId) const
{
    int zone = network_->GetNodeFluidZoneIndex(nodeId);
    if (zone < 1 || zone > TNetwork::MaxFluidZones)
        zone = 1;
    return network_->FluidZones[static_cast<std::size_t>(zone)].Fluid;
}

void TPipeDataForm::applyCellRule(int col, int row, int id, const QString &text, double value)
{
    const TConfigOptions &o = network_->ConfigOptions;
    const int t = tab();

    if (!isPipeTab()) {
        TNode &node = network_->GetNode(id);
        const int notes = t == TabEndPressures ? 5 : 6;
        if (col == 2)
            node.Name = Left(text, 20);
        else if (col == notes)
            node.Notes = NotesFromCell(text);
        else if (col == 3)
            node.Elevation_m = convertUnit(o.UnitOfElevation, unt_m, value);
        else if (t == TabTanks && col == 4)
            node.LiquidLevel_m = convertUnit(o.UnitOfLiquidLevel, unt_m, value);
        else if ((t == TabTanks && col == 5) || (t == TabEndPressures && col == 4))
            nodePressure(node, id, value, col, row, true);
        else if (t == TabNodes && (col == 4 || col == 5))
            nodeDemand(node, id, value, col == 4);
        else
            return;
        markChanged();
        return;
    }

    TPipe &pipe = network_->GetPipe(id);
    if (col == 1) {
        pipe.Name = Left(text, 20);
        markChanged();
        return;
    }
    if (t == TabPipes) {
        switch (col) {
        case 3: pipe.Material = Left(text, 40); break;
        case 4: pipe.ScheduleClass = Left(text, 20); break;
        case 5: pipeDiameter(pipe, id, value, row, 2); break;
        case 6: pipe.InnerRoughness_m = convertUnit(o.UnitOfRoughness, unt_m, value); break;
        case 7: pipe.Length_m = convertUnit(o.UnitOfLength, unt_m, value); break;
        case 8: pipe.Notes = NotesFromCell(text); break;
        default: return;
        }
        markChanged();
        return;
    }
    if (col == 3) {
        pipeDiameter(pipe, id, value, row, 2);
        markChanged();
        return;
    }
    if (cellRule(col) == TCellRule::YesNo) {
        if (text.isEmpty())
            return;
        bool yes = false;
        if (!CheckCellValueYesNoString(text, yes)) {
            putBack(col, row);
            return;
        }
        setUseFlag(pipe, yes);
        setCell(col, row, GetCellValueYesNoString(yes));
        markChanged();
        return;
    }
    const double density = network_->GetPipeFluid(id).density_kgs_m3;
    switch (t) {
    case TabFCVs:
    case TabPRVs:
    case TabBPVs:
        if (col == 4)
            pipe.FlowControl.Name = Left(text, 20);
        else if (t == TabFCVs)
            valveFlow(pipe, id, value, col == 6, row, true);
        else
            pipe.FlowControl.RegulatedPressure_Bar_g =
                convertPressure(o.UnitOfSurfacePressure, unt_Bar_G, value, o.Atmosphere_bar_a, density);
        break;
    case TabCvValues:
    case TabKvValues:
    case TabFixedLosses: {
        TComponentPressure &component = pipe.ComponentPressure;
        if (col == 4)
            component.Name = Left(text, 20);
        else if (t == TabCvValues)
            component.Cv = value;
        else if (t == TabKvValues)
            component.Kv = value;
        else
            component.FixedPressureLoss_mHd = convertHeadPressureUnit(
                o.UnitOfPressureLoss, component.SetPressureLoss_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid, value,
                density);
        break;
    }
    case TabPumpsFixedFlow:
    case TabPumpsFixedHead:
    case TabPumpsCurve: {
        TPump &pump = pipe.Pump;
        if (col == 4)
            pump.Name = Left(text, 20);
        else if (t == TabPumpsFixedFlow)
            pumpFlow(pipe, id, value, col == 6, row, true);
        else if (t == TabPumpsFixedHead)
            pump.SetFixedHead_FluidHead_m =
                convertPressureUnit(o.UnitOfPressureLoss, pump.SetFixedHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid,
                                    value, o.Atmosphere_bar_a, density);
        else {
            // Speed and impeller diameter of a curve pump are changed in the
            // pump data editor or by a bulk update.
            putBack(col, row);
            return;
        }
        break;
    }
    default: return;
    }
    markChanged();
}

void TPipeDataForm::pipeDiameter(TPipe &pipe, int, double value, int row, int nominalColumn)
{
    const TUnit unit = network_->ConfigOptions.UnitOfDiameter;
    pipe.InnerDiameter_m = convertUnit(unit, unt_m, value);
    pipe.OuterDiameter_m = pipe.InnerDiameter_m + 2.0 * pipe.WallThickness_m;
    TNetwork::SetNominalPipeSize(mainWindow_.PipeNominalSizeSet(), pipe);
    if (row >= 0)
        setCell(nominalColumn, row, QString::fromStdString(pipe.getNominalDiameterString(unit)));
}

void TPipeDataForm::nodePressure(TNode &node, int nodeId, double value, int col, int row, bool vacuumLimit)
{
    const TConfigOptions &o = network_->ConfigOptions;
    const double density = nodeFluid(nodeId).density_kgs_m3;
    // Through the atmosphere, so that an absolute display unit converts too.
    node.Surface_Pressure_Bar_g = convertPressure(o.UnitOfSurfacePressure, unt_Bar_G, value, o.Atmosphere_bar_a, density);
    if (!vacuumLimit)
        return;
    const double limit = convertPressure(unt_Bar_A, unt_Bar_G, 0, o.Atmosphere_bar_a, density);
    if (node.Surface_Pressure_Bar_g < limit) {
        Dialogs().ShowMessage(TDialogKind::Information, VacuumMessage, this);
        node.Surface_Pressure_Bar_g = limit;
        setCell(col, row,
                QString::fromStdString(convertPressureAndFormat(unt_Bar_G, o.UnitOfSurfacePressure, limit,
                                                                o.Atmosphere_bar_a, density)));
    }
}

void TPipeDataForm::nodeDemand(TNode &node, int nodeId, double value, bool supply)
{
    const TConfigOptions &o = network_->ConfigOptions;
    const TFluid &fluid = nodeFluid(nodeId);
    const auto flow = [&](TUnit from, TUnit to) {
        return convertFlowUnit(from, to, o.GasFlowTemperaturePressureModel, value, fluid.density_kgs_m3,
                               fluid.pressure_bar_g, fluid.degrees_K, o.Atmosphere_bar_a);
    };
    if (network_->IsAllGasSystem()) {
        node.JointDemandUseFlowType = GasFlow;
        (supply ? node.JointSupply_SCMH : node.JointDischarge_SCMH) = flow(o.UnitOfGasFlow, unt_SCMH);
    } else {
        node.JointDemandUseFlowType = VolumeFlow;
        (supply ? node.JointSupply_m3s : node.JointDischarge_m3s) = flow(o.UnitOfFlow, unt_m3_sec);
    }
    node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(fluid, o.Atmosphere_bar_a,
                                                                     o.GasFlowTemperaturePressureModel);
}

void TPipeDataForm::valveFlow(TPipe &pipe, int pipeId, double value, bool massFlow, int row, bool writeOtherCell)
{
    const TConfigOptions &o = network_->ConfigOptions;
    const TFluid &fluid = network_->GetPipeFluid(pipeId);
    const bool allGas = network_->IsAllGasSystem();
    const TUnit flowUnit = allGas ? o.UnitOfGasFlow : o.UnitOfFlow;
    const auto flow = [&](TUnit from, TUnit to, double v) {
        return convertFlowUnit(from, to, o.GasFlowTemperaturePressureModel, v, fluid.density_kgs_m3,
                               fluid.pressure_bar_g, fluid.degrees_K, o.Atmosphere_bar_a);
    };
    TFlowControl &valve = pipe.FlowControl;
    if (massFlow) {
        valve.FlowControlFlowType = MassFlow;
        valve.FlowControl_kgs = flow(o.UnitOfMassFlow, unt_kg_sec, value);
    } else if (allGas) {
        valve.FlowControlFlowType = GasFlow;
        valve.FlowControl_SCMH = flow(o.UnitOfGasFlow, unt_SCMH, value);
    } else {
        valve.FlowControlFlowType = VolumeFlow;
        valve.FlowControl_m3s = flow(o.UnitOfFlow, unt_m3_sec, value);
    }
    valve.SetEquivalentFlowAndMassFlowRate(fluid, o.Atmosphere_bar_a, o.GasFlowTemperaturePressureModel);
    if (!writeOtherCell)
        return;
    if (massFlow)
        setCell(5, row, QString::fromStdString(formatFixed(4, flow(unt_kg_sec, flowUnit, valve.FlowControl_kgs))));
    else
        setCell(6, row,
                QString::fromStdString(formatFixed(4, flow(unt_kg_sec, o.UnitOfMassFlow, valve.FlowControl_kgs))));
}

void TPipeDataForm::pumpFlow(TPipe &pipe, int pipeId, double value, bool massFlow, int row, bool writeOtherCell)
{
    const TConfigOptions &o = network_->ConfigOptions;
    const double density = network_->GetPipeFluid(pipeId).density_kgs_m3;
    const TUnit from = massFlow ? o.UnitOfMassFlow : o.UnitOfFlow;
    TPump &pump = pipe.Pump;
    pump.SetFlowRate_kgs = PumpFlow(from, unt_kg_sec, value, density);
    pump.SetFlowRate_m3s = PumpFlow(unt_kg_sec, unt_m3_sec, pump.SetFlowRate_kgs, density);
    if (writeOtherCell) {
        const TUnit other = massFlow ? o.UnitOfFlow : o.UnitOfMassFlow;
        setCell(massFlow ? 5 : 6, row, QString::fromStdString(formatFixed(4, PumpFlow(from, other, value, density))));
    }
}

void TPipeDataForm::setUseFlag(TPipe &pipe, bool yes)
{
    switch (tab()) {
    case TabFCVs:
    case TabPRVs:
    case TabBPVs: pipe.FlowControlUseInCalc = yes; break;
    case TabCvValues:
    case TabKvValues:
    case TabFixedLosses: pipe.ComponentPressureUseInCalc = yes; break;
    case TabPumpsFixedFlow:
    case TabPumpsFixedHead:
    case TabPumpsCurve: pipe.PumpUseInCalc = yes; break;
    default: break;
    }
}

// --- Bulk update ---------------------------------------------------------------------------

void TPipeDataForm::BitBtnUpdateRowsClick()
{
    if (!network_)
        return;
    const QString column = ComboBoxUpdateColumn->currentText();
    const QString value = EditUpdateValue->text();
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Confirm update of ALL rows listed in edit grid.\r\rSet ") + column +
                                QStringLiteral(" = ") + value + QStringLiteral(" ?") + QStringLiteral("\r"),
                            this))
        return;
    TFormMessageShown wait(QStringLiteral("Updating Rows in Edit Grid... \r\rPlease Wait..."), this);
    StringGridData->setEnabled(false);
    bool valid = true;
    try {
        UpdateStringGridForSelectedTabAndUpdateColumn(valid);
    } catch (const std::exception &error) {
        // The rows written before the error stay written and are shown.
        wait.Close();
        Dialogs().ShowMessage(TDialogKind::Error,
                              QStringLiteral("Update column ") + column + QStringLiteral(" = ") + value +
                                  QStringLiteral(" failed.\r\r") + QString::fromStdString(error.what()),
                              this);
        refillKeepingFilter();
        StringGridData->setEnabled(true);
        return;
    }
    if (valid) {
        if (CheckBoxFilter->isChecked() && !EditShowValue->text().trimmed().isEmpty()) {
            refillKeepingFilter();
        } else {
            if (CheckBoxFilter->isChecked())
                CheckBoxFilter->setChecked(false);
            CheckBoxFilterClick();
        }
    } else {
        wait.Close();
        Dialogs().ShowMessage(TDialogKind::Confirmation,
                              QStringLiteral("Update column ") + column + QStringLiteral(" = ") + value +
                                  QStringLiteral(" is not valid.") + QStringLiteral("\r\r") +
                                  QStringLiteral("Please correct the value and try again.") + QStringLiteral("\r"),
                              this);
    }
    StringGridData->setEnabled(true);
}

void TPipeDataForm::UpdateStringGridForSelectedTabAndUpdateColumn(bool &Valid)
{
    Valid = true;
    const int choice = ComboBoxUpdateColumn->currentIndex();
    for (int row = 2; row < StringGridData->rowCount() && Valid; ++row)
        if (GetCellIdValue(row) > 0)
            UpdateValueForSelectedTabAndColumnAndRow(tab(), choice, Valid, row);
}

void TPipeDataForm::UpdateValueForSelectedTabAndColumnAndRow(int Tab, int Choice, bool &Valid, int Row)
{
    const int id = GetCellIdValue(Row);
    if (id <= 0 || !network_)
        return;
    const TConfigOptions &o = network_->ConfigOptions;
    const QString text = EditUpdateValue->text();
    const QString choice = ComboBoxUpdateColumn->itemText(Choice);
    const auto number = [&](bool allowZero, bool allowNegative) {
        bool valid = false;
        const double value =
            ReadRealFromString(text.toStdString(), valid, allowZero, allowNegative, userDecimalSeparator());
        Valid = valid;
        return value;
    };
    const bool isName = choice.endsWith(QStringLiteral("Name"));
    const bool isUse = choice == QStringLiteral("Used in Model");

    if (Tab == TabTanks || Tab == TabEndPressures || Tab == TabNodes) {
        TNode &node = network_->GetNode(id);
        const bool elevation = choice == QStringLiteral("Elevation");
        const double value = number(true, elevation);
        if (!Valid)
            return;
        if (elevation)
            node.Elevation_m = convertUnit(o.UnitOfElevation, unt_m, value);
        else if (choice == QStringLiteral("Liquid Level"))
            node.LiquidLevel_m = convertUnit(o.UnitOfLiquidLevel, unt_m, value);
        else if (choice == QStringLiteral("Surface Press.") || choice == QStringLiteral("End Pressure"))
            nodePressure(node, id, value, -1, -1, false);
        else
            nodeDemand(node, id, value, choice == QStringLiteral("In-Flow Demand"));
        markChanged();
        return;
    }

    TPipe &pipe = network_->GetPipe(id);
    if (isUse) {
        bool yes = false;
        Valid = CheckCellValueYesNoString(text, yes);
        if (!Valid)
            return;
        setUseFlag(pipe, yes);
        markChanged();
        return;
    }
    if (isName) {
        const std::string name = Left(text, 20);
        if (Tab == TabFCVs || Tab == TabPRVs || Tab == TabBPVs)
            pipe.FlowControl.Name = name;
        else if (Tab == TabCvValues || Tab == TabKvValues || Tab == TabFixedLosses)
            pipe.ComponentPressure.Name = name;
        else
            pipe.Pump.Name = name;
        markChanged();
        return;
    }
    const double value = number(false, false);
    if (!Valid)
        return;
    const double density = network_->GetPipeFluid(id).density_kgs_m3;
    switch (Tab) {
    case TabPipes:
        if (choice == QStringLiteral("Diameter"))
            // As the cell edit: the outer diameter and nominal size follow.
            pipeDiameter(pipe, id, value, -1, 2);
        else if (choice == QStringLiteral("Roughness"))
            pipe.InnerRoughness_m = convertUnit(o.UnitOfRoughness, unt_m, value);
        else
            pipe.Length_m = convertUnit(o.UnitOfLength, unt_m, value);
        break;
    case TabFCVs: valveFlow(pipe, id, value, choice == QStringLiteral("Mass Flow Rate"), Row, false); break;
    case TabPRVs:
    case TabBPVs:
        pipe.FlowControl.RegulatedPressure_Bar_g =
            convertPressure(o.UnitOfSurfacePressure, unt_Bar_G, value, o.Atmosphere_bar_a, density);
        break;
    case TabCvValues: pipe.ComponentPressure.Cv = value; break;
    case TabKvValues: pipe.ComponentPressure.Kv = value; break;
    case TabFixedLosses:
        pipe.ComponentPressure.FixedPressureLoss_mHd = convertHeadPressureUnit(
            o.UnitOfPressureLoss, pipe.ComponentPressure.SetPressureLoss_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid,
            value, density);
        break;
    case TabPumpsFixedFlow: pumpFlow(pipe, id, value, choice == QStringLiteral("Mass Flow"), Row, false); break;
    case TabPumpsFixedHead:
        pipe.Pump.SetFixedHead_FluidHead_m = convertHeadPressureUnit(
            o.UnitOfPressureLoss, pipe.Pump.SetFixedHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid, value, density);
        break;
    case TabPumpsCurve: {
        TPump &pump = pipe.Pump;
        if (choice == QStringLiteral("Speed")) {
            const double speed = std::trunc(value);
            if (speed < 1 || speed > std::numeric_limits<std::int32_t>::max()) {
                Valid = false;
                return;
            }
            pump.Speed_rpm = static_cast<std::int32_t>(speed);
        } else {
            // In the column's unit, the unit the grid shows the diameter in.
            pump.ImpellerDiameter_m = convertUnit(o.UnitOfDiameter, unt_m, value);
        }
        bool updated = false;
        pump.UpdateRunningDataForSpeedAndImpellerDiameter2(pump.Speed_rpm, pump.ImpellerDiameter_m, density, updated);
        break;
    }
    default: return;
    }
    markChanged();
}

} // namespace tessaran
