// The pipe panel: the selected pipe's values, edited in place, and the
// buttons of the items it carries.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"
#include "app/NetworkForm_Panels.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "platform/Text_Lines.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace tessaran {

namespace {

const QColor NormalColour(0xF1, 0xFA, 0xFF);
const QColor HighlightColour(0xFF, 0xFF, 0x00);

void paintPipePanel(QWidget *panel, const QColor &colour)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    panel->update();
}

QString pipeEntry(int id)
{
    char text[16];
    std::snprintf(text, sizeof text, "Pipe:%4d", id);
    return QString::fromLatin1(text);
}

bool hasDigit(const QString &text)
{
    for (QChar c : text)
        if (c.isDigit())
            return true;
    return false;
}

TPipe *selectedPipe(TNetwork *network, int id)
{
    if (!network || id < 1 || id > TNetwork::MaxPipes)
        return nullptr;
    return &network->GetPipe(id);
}

} // namespace

void TNetworkForm::UpdatePanelsPipe(int ThePipeId, bool Highlight)
{
    if (!CurrentNetwork || !BitBtnPump)
        return;
    TNetwork &n = *CurrentNetwork;
    const TConfigOptions &o = n.ConfigOptions;
    const TPanelSignalBlock blocked({EditPipeName, RightEditPipeLength, RightEditPipeDiameter, RightEditPipeRoughness,
                                     MemoPipeNotes, ComboBoxPipeColors, ComboBoxPipeId, CheckBoxCalcFittings,
                                     CheckBoxCalcComponentPressure, CheckBoxCalcFlowControl, CheckBoxCalcPump});
    if (ThePipeId > TNetwork::MaxPipes)
        ThePipeId = 0;

    // 1. Unit labels, grey labels, the id list.
    LabelPipeLengthUnits->setText(QString::fromStdString(unitName(o.UnitOfLength)));
    LabelPipeDiameterUnits->setText(QString::fromStdString(unitName(o.UnitOfDiameter)));
    LabelPipeRoughnessUnits->setText(QString::fromStdString(unitName(o.UnitOfRoughness)));
    LabelPipeSize->clear();
    LabelPipeMaterial->clear();
    LabelPipeSchedule->clear();
    std::vector<std::string> ids;
    n.GetTStringsOfPipeIdForDropdownList(ids);
    ComboBoxPipeId->clear();
    for (const std::string &entry : ids)
        ComboBoxPipeId->addItem(QString::fromStdString(entry));
    ComboBoxPipeId->setCurrentIndex(ComboBoxPipeId->count() > 0 ? 0 : -1);

    QWidget *const controls[] = {EditPipeName,         RightEditPipeLength,
                                 RightEditPipeDiameter, RightEditPipeRoughness,
                                 MemoPipeNotes,         BitBtnReversePipe,
                                 BitBtnPipeFittings,    BitBtnComponentPressure,
                                 BitBtnFlowControl,     BitBtnPump,
                                 CheckBoxCalcFittings,  CheckBoxCalcComponentPressure,
                                 CheckBoxCalcFlowControl, CheckBoxCalcPump,
                                 LabelInclude,          BitBtnPipeDiameter,
                                 BitBtnPipeMaterial,    BitBtnPipePopupMenu,
                                 ComboBoxPipeColors};
    if (ThePipeId <= 0) {
        // 2. No pipe.
        EditPipeName->clear();
        RightEditPipeLength->setText("0");
        RightEditPipeDiameter->setText("0");
        RightEditPipeRoughness->setText("0");
        ComboBoxPipeColors->setCurrentIndex(0);
        LabelPipeMaterial->clear();
        SetNotesText(MemoPipeNotes, QString());
        for (QWidget *w : controls)
            w->setEnabled(false);
        BitBtnPipeDefaults->setEnabled(false);
        BitBtnAlterDefaults->setEnabled(false);
        TabControlLeftMenu->update();
        PanelPipes->repaint();
        return;
    }

    TPipe &pipe = n.GetPipe(ThePipeId);
    // 3. Enabling by mode: in results mode only the buttons of items switched
    // on for the calculation open, read-only.
    for (QWidget *w : controls)
        w->setEnabled(!ResultsMode);
    BitBtnPipeDefaults->setEnabled(false);
    BitBtnAlterDefaults->setEnabled(false);
    const int fittings = pipe.GetFittingCountIncludingQuantities();
    if (ResultsMode) {
        BitBtnPump->setEnabled(pipe.PumpCount > 0 && pipe.PumpUseInCalc);
        BitBtnPipeFittings->setEnabled(fittings > 0 && pipe.FittingsUseInCalc);
        BitBtnComponentPressure->setEnabled(pipe.ComponentPressureCount > 0 && pipe.ComponentPressureUseInCalc);
        BitBtnFlowControl->setEnabled(pipe.FlowControlCount > 0 && pipe.FlowControlUseInCalc);
    }

    // 4. Highlight and id entry.
    paintPipePanel(PanelPipes,
                   Highlight && ThePipeId != NetworkStates.CurrentPanelPipeId ? HighlightColour : NormalColour);
    NetworkStates.CurrentPanelPipeId = ThePipeId;
    ComboBoxPipeId->setCurrentIndex(ComboBoxPipeId->findText(pipeEntry(ThePipeId)));

    // 5. Values.
    EditPipeName->setText(QString::fromStdString(pipe.Name));
    RightEditPipeLength->setText(QString::fromStdString(convertAndFormat(unt_m, o.UnitOfLength, pipe.Length_m)));
    RightEditPipeDiameter->setText(
        QString::fromStdString(convertAndFormat(unt_m, o.UnitOfDiameter, pipe.InnerDiameter_m)));
    RightEditPipeRoughness->setText(
        QString::fromStdString(formatFixed(6, convertUnit(unt_m, o.UnitOfRoughness, pipe.InnerRoughness_m))));
    int colour = 0;
    for (int i = 0; i < ComboBoxPipeColors->count() && i < 18; ++i)
        if (PipeLineColors[static_cast<std::size_t>(i % 6)] == pipe.LineColor &&
            PipeLineWidths[static_cast<std::size_t>(i / 6)] == pipe.LineWidth)
            colour = i;
    ComboBoxPipeColors->setCurrentIndex(colour);
    LabelPipeSize->setText(QString::fromStdString(pipe.getNominalDiameterLabelString(o.UnitOfDiameter)));
    LabelPipeMaterial->setText(QString::fromStdString(pipe.Material));
    LabelPipeSchedule->setText(QString::fromStdString(pipe.ScheduleClass));
    SetNotesText(MemoPipeNotes, QString::fromStdString(JoinLines(pipe.Notes)).replace("\r\n", "\n"));

    // 6. Item buttons: the count of items switched on; the Include box only
    // beside an item the pipe has.
    const auto item = [this](QPushButton *button, QCheckBox *box, int count, bool useInCalc) {
        button->setText(QString::number(count > 0 && useInCalc ? count : 0));
        box->setVisible(count > 0);
        box->setEnabled(count > 0 && !ResultsMode);
        box->setChecked(useInCalc);
    };
    item(BitBtnPump, CheckBoxCalcPump, pipe.PumpCount > 0 ? 1 : 0, pipe.PumpUseInCalc);
    item(BitBtnPipeFittings, CheckBoxCalcFittings, fittings, pipe.FittingsUseInCalc);
    BitBtnPipeFittings->setStyleSheet(fittings < 10 ? "padding: 3px 2px;" : "padding: 1px 1px;");
    item(BitBtnComponentPressure, CheckBoxCalcComponentPressure, pipe.ComponentPressureCount > 0 ? 1 : 0,
         pipe.ComponentPressureUseInCalc);
    item(BitBtnFlowControl, CheckBoxCalcFlowControl, pipe.FlowControlCount > 0 ? 1 : 0, pipe.FlowControlUseInCalc);
    // 7.
    LabelInclude->setVisible(fittings + pipe.PumpCount + pipe.ComponentPressureCount + pipe.FlowControlCount > 0);
    // 8.
    if (Highlight)
        TimerPipePanelHighlight->start(500);
    // 9.
    PanelPipes->repaint();
}

void TNetworkForm::TimerPipePanelHighlightTimer()
{
    TimerPipePanelHighlight->stop();
    paintPipePanel(PanelPipes, NormalColour);
}

// --- pipe edits --------------------------------------------------------------------

void TNetworkForm::EditPipeNameChange()
{
    if (TPipe *pipe = selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected))
        pipe->Name = EditPipeName->text().left(TNode::NameLength).toStdString();
}

void TNetworkForm::MemoPipeNotesChange()
{
    TPipe *pipe = selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected);
    if (!pipe || !LimitNotesAtEntry(MemoPipeNotes, TNode::NotesLength))
        return;
    pipe->Notes = SplitLines(MemoPipeNotes->toPlainText().toStdString(), TTrailingBreak::IsDropped);
}

void TNetworkForm::RightEditPipeLengthChange()
{
    TPipe *pipe = selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditPipeLength, valid, true, false);
    if (pipe && valid && hasDigit(RightEditPipeLength->text()))
        pipe->Length_m = convertUnit(CurrentNetwork->ConfigOptions.UnitOfLength, unt_m, value);
}

void TNetworkForm::RightEditPipeDiameterChange()
{
    TPipe *pipe = selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditPipeDiameter, valid, false, false);
    if (!pipe || !valid)
        return;
    pipe->InnerDiameter_m = convertUnit(CurrentNetwork->ConfigOptions.UnitOfDiameter, unt_m, value);
    if (PipeNominalSizeSet)
        TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, *pipe);
    LabelPipeSize->setText(
        QString::fromStdString(pipe->getNominalDiameterLabelString(CurrentNetwork->ConfigOptions.UnitOfDiameter)));
}

void TNetworkForm::RightEditPipeRoughnessChange()
{
    TPipe *pipe = selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected);
    bool valid = false;
    const double value = ReadRealFromEdit(RightEditPipeRoughness, valid, false, false);
    if (pipe && valid)
        pipe->InnerRoughness_m = convertUnit(CurrentNetwork->ConfigOptions.UnitOfRoughness, unt_m, value);
}

void TNetworkForm::ComboBoxPipeColorsClick(int Index)
{
    TPipe *pipe = selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected);
    if (!pipe || Index < 0 || Index >= 18)
        return;
    pipe->LineColor = PipeLineColors[static_cast<std::size_t>(Index % 6)];
    pipe->LineWidth = PipeLineWidths[static_cast<std::size_t>(Index / 6)];
    RefreshScreen(true);
}

// --- item buttons and Include boxes ------------------------------------------------

void TNetworkForm::BitBtnPipeFittingsClick()
{
    const int id = NetworkStates.CurrentPipeIdSelected;
    TPipe *pipe = selectedPipe(CurrentNetwork, id);
    if (!pipe)
        return;
    if (PipeNominalSizeSet)
        TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, *pipe);
    if (ItemDialogs)
        ItemDialogs->OpenFittingManager(
            pipe->FittingSet, id,
            pipe->GetPipeNameSizeInternalDiameterString(CurrentNetwork->ConfigOptions.UnitOfDiameter),
            pipe->NominalDiameterMetric, ResultsMode, EntryFitting);
    UpdatePanelsPipe(id, false);
    RefreshScreen(true);
}

void TNetworkForm::BitBtnPumpClick()
{
    const int id = NetworkStates.CurrentPipeIdSelected;
    TPipe *pipe = selectedPipe(CurrentNetwork, id);
    if (!pipe)
        return;
    if (pipe->FlowControlCount >= 1) {
        info("Pump cannot be added on to a pipe with a Control Valve on. \r\rEither remove the Control Valve, or add "
             "the Pump to a different pipe.\r");
        return;
    }
    bool deletePump = false;
    if (ItemDialogs && PumpDatabase)
        ItemDialogs->PumpDataOpenForm(*PumpDatabase, pipe->Pump, id, *CurrentNetwork, deletePump, ResultsMode);
    if (!ResultsMode) {
        pipe->PumpCount = 1;
        if (deletePump) {
            ActionLog->Clear();
            pipe->RemovePump();
        }
    }
    UpdatePanelsPipe(id, false);
    RefreshScreenImageOnly(true);
}

void TNetworkForm::BitBtnComponentPressureClick()
{
    const int id = NetworkStates.CurrentPipeIdSelected;
    TPipe *pipe = selectedPipe(CurrentNetwork, id);
    if (!pipe)
        return;
    if (ItemDialogs)
        ItemDialogs->ComponentPressureOpenForm(pipe->ComponentPressure, *pipe, id, *CurrentNetwork, ResultsMode);
    UpdatePanelsPipe(id, false);
    RefreshScreen(true);
}

void TNetworkForm::BitBtnFlowControlClick()
{
    const int id = NetworkStates.CurrentPipeIdSelected;
    TPipe *pipe = selectedPipe(CurrentNetwork, id);
    if (!pipe)
        return;
    if (pipe->PumpCount > 0) {
        info("Control valve component cannot be added on to a pipe with a pump on. \r\rEither remove the pump, or "
             "add the control valve to a different pipe.\r\rNote: If the pump type is 'variable speed' then the flow "
             "can be set directly on the pump.");
        return;
    }
    if (ItemDialogs)
        ItemDialogs->FlowControlOpenForm(*CurrentNetwork, id, CurrentNetwork->ConfigOptions, ResultsMode);
    UpdatePanelsPipe(id, false);
    RefreshScreen(true);
}

namespace {

void setUseInCalc(TNetwork *network, int id, bool TPipe::*field, const QCheckBox *box)
{
    if (TPipe *pipe = selectedPipe(network, id))
        pipe->*field = box->isChecked();
}

} // namespace

void TNetworkForm::CheckBoxCalcFittingsClick()
{
    setUseInCalc(CurrentNetwork, NetworkStates.CurrentPipeIdSelected, &TPipe::FittingsUseInCalc, CheckBoxCalcFittings);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    RefreshScreen(true);
}

void TNetworkForm::CheckBoxCalcComponentPressureClick()
{
    setUseInCalc(CurrentNetwork, NetworkStates.CurrentPipeIdSelected, &TPipe::ComponentPressureUseInCalc,
                 CheckBoxCalcComponentPressure);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    RefreshScreen(true);
}

void TNetworkForm::CheckBoxCalcFlowControlClick()
{
    setUseInCalc(CurrentNetwork, NetworkStates.CurrentPipeIdSelected, &TPipe::FlowControlUseInCalc,
                 CheckBoxCalcFlowControl);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    RefreshScreen(true);
}

void TNetworkForm::CheckBoxCalcPumpClick()
{
    setUseInCalc(CurrentNetwork, NetworkStates.CurrentPipeIdSelected, &TPipe::PumpUseInCalc, CheckBoxCalcPump);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    RefreshScreen(true);
}

void TNetworkForm::BitBtnReversePipeClick()
{
    if (selectedPipe(CurrentNetwork, NetworkStates.CurrentPipeIdSelected))
        CurrentNetwork->ReversePipeLink(NetworkStates.CurrentPipeIdSelected);
    RefreshScreen(true);
}

void TNetworkForm::PanelPipesClick()
{
    if (NetworkStates.CurrentPipeIdSelected <= 0) {
        info("No pipe selected. Click on a pipe on the drawing to select it.");
        RefreshScreen(true);
    }
}

void TNetworkForm::UpDownPipeClick(bool Up)
{
    TNetwork &n = *CurrentNetwork;
    const int current = NetworkStates.CurrentPipeIdSelected;
    int id = Up ? n.GetPreviousPipeId(current) : n.GetNextPipeId(current);
    if (id <= 0)
        id = Up ? n.GetHighestPipeId() : n.GetNextPipeId(0);
    NetworkStates.CurrentPipeIdSelected = id;
    RefreshScreen(true);
}

} // namespace tessaran
