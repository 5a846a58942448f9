// Cut, Copy and Paste through the clipboard network, the conversions
// between standard and isometric drawing, the isometric tank view, and the
// rotations, mirrors and inversions of the whole drawing or the selection.
// The geometry is the network's; these commands check, ask and redraw.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <cmath>

namespace tessaran {

namespace {

QToolButton *ClipboardToolButton(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    // They take the room the tool bar has to spare and never widen the window.
    button->setMinimumSize(1, 22);
    button->setMaximumSize(34, 22);
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    return button;
}

// What stays unavailable while a pasted selection waits to be dropped.
const char *const PastedSelectionLockedButtons[] = {
    "ToolButtonDelete",      "ToolButtonCut",         "ToolButtonCopy",         "ToolButtonPaste",
    "ToolButtonMirror",      "ToolButtonInvert",      "ToolButtonAdjustPipes",  "ToolButtonAdjustNodes",
    "ToolButtonZoomSelection"};

std::string NothingSelectedText(const char *command)
{
    return std::string("Nothing to ") + command +
           ". No items are selected. \r\rThe selection rectangle must enclose a node or other selectable item\r"
           "before the " +
           command + " function can be used.";
}

std::string CapacityText(const char *items, const char *itemsToAdd, int excess)
{
    return std::string("Problem: Cannot add on selection. \r\rToo many ") + items +
           " to add to existing network.\rReduce number of " + itemsToAdd + " to add by at least " +
           std::to_string(excess) + "." + "\r";
}

} // namespace

void TNetworkForm::createClipboardCommands()
{
    Cut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    SelectionRotate90Degrees1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    SelectionRotate90Degrees2->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
    SelectionMirror1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    SelectionInvert1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));

    connect(Cut1, &QAction::triggered, this, &TNetworkForm::Cut1Click);
    connect(Copy1, &QAction::triggered, this, &TNetworkForm::Copy1Click);
    connect(Paste1, &QAction::triggered, this, &TNetworkForm::Paste1Click);
    connect(SelectionRotate90Degrees1, &QAction::triggered, this, &TNetworkForm::SelectionRotate90Degrees1Click);
    connect(SelectionRotate90Degrees2, &QAction::triggered, this, &TNetworkForm::SelectionRotate90Degrees2Click);
    connect(SelectionMirror1, &QAction::triggered, this, &TNetworkForm::SelectionMirror1Click);
    connect(SelectionInvert1, &QAction::triggered, this, &TNetworkForm::SelectionInvert1Click);
    connect(SetStandardDrawingMode1, &QAction::triggered, this, &TNetworkForm::SetStandardDrawingMode1Click);
    connect(SetIsometricDrawingMode1, &QAction::triggered, this, &TNetworkForm::SetIsometricDrawingMode1Click);
    connect(IsometricTankViewFromLeft1, &QAction::triggered, this, &TNetworkForm::IsometricTankViewFromLeft1Click);
    connect(IsometricTankViewFromRight1, &QAction::triggered, this,
            &TNetworkForm::IsometricTankViewFromRight1Click);
    connect(RotateMirror1, &QAction::triggered, this, &TNetworkForm::RotateMirror1Click);
    connect(RotateInvert1, &QAction::triggered, this, &TNetworkForm::RotateInvert1Click);
    connect(ToolButtonIsometric, &QToolButton::clicked, this, &TNetworkForm::ToolButtonIsometricClick);

    ToolButtonCut = ClipboardToolButton(ToolBar1, "ToolButtonCut", "Cut", "Cut");
    ToolButtonCopy = ClipboardToolButton(ToolBar1, "ToolButtonCopy", "Copy", "Copy");
    ToolButtonPaste = ClipboardToolButton(ToolBar1, "ToolButtonPaste", "Paste", "Paste");
    ToolButtonMirror = ClipboardToolButton(ToolBar1, "ToolButtonMirror", "Mir", "Selection: Mirror Items Left/Right");
    ToolButtonInvert = ClipboardToolButton(ToolBar1, "ToolButtonInvert", "Inv", "Selection: Invert Items Up/Down");
    if (auto *row = qobject_cast<QBoxLayout *>(ToolBar1->layout())) {
        // After the result buttons, in the tool bar's free room.
        int at = row->indexOf(BitBtnShowLog) + 1;
        for (QToolButton *button : {ToolButtonCut, ToolButtonCopy, ToolButtonPaste, ToolButtonMirror, ToolButtonInvert})
            row->insertWidget(at++, button);
    }
    connect(ToolButtonCut, &QToolButton::clicked, this, &TNetworkForm::ToolButtonCutClick);
    connect(ToolButtonCopy, &QToolButton::clicked, this, &TNetworkForm::ToolButtonCopyClick);
    connect(ToolButtonPaste, &QToolButton::clicked, this, &TNetworkForm::ToolButtonPasteClick);
    connect(ToolButtonMirror, &QToolButton::clicked, this, &TNetworkForm::ToolButtonMirrorClick);
    connect(ToolButtonInvert, &QToolButton::clicked, this, &TNetworkForm::ToolButtonInvertClick);
}

// --- Cut and Copy --------------------------------------------------------------------

void TNetworkForm::copySelectionToClipboard()
{
    ClipboardNetwork->Clear();
    ClipboardNetwork->IsometricDrawing = CurrentNetwork->IsometricDrawing;
    ClipboardNetwork->CopyFluidZonesFrom(*CurrentNetwork);
    ClipboardNetwork->AddOnNetworkSelection(*CurrentNetwork);
    CopyBufferFilled = true;
}

void TNetworkForm::Copy1Click()
{
    NetworkStates.SelectionPasted = false;
    // Only nodes and free texts count: a pipe goes with its two ends.
    if (CurrentNetwork->GetNumberOfItemsSelected() == 0)
        Messages.ShowMessage(TMessageKind::Information, NothingSelectedText("Copy"));
    else
        copySelectionToClipboard();
    UpdateDrawingMenuFromNetwork();
}

void TNetworkForm::Cut1Click()
{
    TNetworkStates &s = NetworkStates;
    if (CurrentNetwork->GetNumberOfItemsSelected() == 0) {
        Messages.ShowMessage(TMessageKind::Information, NothingSelectedText("Cut"));
    } else if (s.SelectionStatus > 1 &&
               Messages.AskYesNo(TMessageKind::Confirmation,
                                 "Are you sure you wish to cut the selected Nodes \rand all pipes that connect to "
                                 "these nodes?\r\rYou will not be able to undo this action, however \ryou will be "
                                 "able to paste back the cut items.")) {
        s.SelectionPasted = false;
        copySelectionToClipboard();
        CurrentNetwork->DeleteSelectedItems();
        ActionLog->Clear();
        s.SelectionStatus = 0;
        s.SelectionPasted = false;
        SetDesignMode();
        RefreshScreenImageOnly(true);
        NetworkImage->repaint();
    }
    UpdateDrawingMenuFromNetwork();
}

// --- Paste ---------------------------------------------------------------------------

// The refusals that need neither the grid nor a redraw; true when the paste may go on.
bool TNetworkForm::pasteAllowedBeforeDrawingChecks()
{
    if (qobject_cast<QLineEdit *>(QApplication::focusWidget())) {
        Messages.ShowMessage(
            TMessageKind::Information,
            "Cursor is currently active in a text box.\r\rPaste is not supported within text box areas on this "
            "screen (for validation reasons).\r\rIf you are trying to Paste previously copied items to the drawing "
            "then please click anywhere on the drawing first, in order to de-activate the current text box.");
        return false;
    }
    if (!CopyBufferFilled) {
        Messages.ShowMessage(TMessageKind::Information,
                             "Nothing to Paste. No item has been selected. \r\rFirst use the selection tool to draw "
                             "a rectangle around the selected items and then Cut or Copy the items to the "
                             "clipboard.");
        UpdateDrawingMenuFromNetwork();
        return false;
    }
    const bool drawingIso = CurrentNetwork->IsometricDrawing;
    const bool clipboardIso = ClipboardNetwork->IsometricDrawing;
    if (!drawingIso && clipboardIso) {
        Messages.ShowMessage(TMessageKind::Information,
                             "Items cannot be pasted directly from an Isometric drawing onto a Standard "
                             "drawing.\r\rYou must either \r\rSwitch the current grid to Isometric "
                             "Drawing\r\rOR\r\rSwitch the original Isometric drawing to Standard drawing mode before "
                             "selecting the items you wish to copy.");
        UpdateDrawingMenuFromNetwork();
        return false;
    }
    if (drawingIso && !clipboardIso) {
        Messages.ShowMessage(TMessageKind::Information,
                             "Items cannot be pasted directly from an Standard drawing onto an Isometric "
                             "drawing.\r\rYou must either \r\rSwitch the current grid to Standard "
                             "Drawing\r\rOR\r\rSwitch the original Standard drawing to Isometric drawing mode before "
                             "selecting the items you wish to copy.");
        UpdateDrawingMenuFromNetwork();
        return false;
    }
    return true;
}

// The refusals and questions that look at the drawing; true when the paste may go on.
bool TNetworkForm::pasteAllowedOnDrawing()
{
    TNetwork &n = *CurrentNetwork;
    const TNetwork &clip = *ClipboardNetwork;
    // A selection already on the drawing is set down where it stands.
    SetSelectedNodesXYSnapToGrid();
    if (n.ExistsAnyNodeOrPipeDrawingIssue()) {
        Messages.ShowMessage(TMessageKind::Information,
                             "Cannot paste current selection because the existing selected items need to\r\rbe "
                             "de-selected and placed on the drawing at their current position, \r\rhowever either a "
                             "node is currently placed on top of an existing node or \ra pipe from one of the nodes "
                             "now crosses over another node.\r\rPlease move the current selection to an area where "
                             "it can deselected\r\rwithout the above problem occuring.");
        return false;
    }
    const int nodeExcess = n.GetNodeCount() + clip.GetNodeCount() - TNetwork::MaxNodes;
    const int pipeExcess = n.GetPipeCount() + clip.GetPipeCount() - TNetwork::MaxPipes;
    const int textExcess = n.FreeTextsCount + clip.FreeTextsCount - TNetwork::MaxFreeTexts;
    if (nodeExcess > 0) {
        Messages.ShowMessage(TMessageKind::Information, CapacityText("nodes", "nodes", nodeExcess));
        return false;
    }
    if (pipeExcess > 0) {
        Messages.ShowMessage(TMessageKind::Information, CapacityText("pipes", "pipes", pipeExcess));
        return false;
    }
    if (textExcess > 0) {
        Messages.ShowMessage(TMessageKind::Information, CapacityText("text items", "text items", textExcess));
        return false;
    }
    if (clip.FluidZonesCount > n.FluidZonesCount) {
        if (!Messages.AskYesNo(TMessageKind::Confirmation,
                               "Cannot paste current selection because the system where the selection came from "
                               "has " +
                                   std::to_string(clip.FluidZonesCount) + " fluid zones and the current " +
                                   "system only has " + std::to_string(n.FluidZonesCount) + " fluid zones." +
                                   "\r\r" + "Do you wish to copy and update all fluid zones in the current system " +
                                   "and then proceed with the paste operation?"))
            return false;
        n.CopyFluidZonesFrom(clip);
        RefillFluidZoneList();
        UpdateFluidDisplay(true);
    }
    if (n.FluidZonesCount > clip.FluidZonesCount &&
        !Messages.AskYesNo(TMessageKind::Confirmation,
                           "Current system has more fluid zones (" + std::to_string(n.FluidZonesCount) + ") " +
                               "than exist (" + std::to_string(clip.FluidZonesCount) + ") " +
                               "in the system where the selection occured." + "\r\r" +
                               "The pipes will be copied with their existing fluid zone id and this will determine " +
                               "their fluid zone in the current system (which may have different fluid proprties)." +
                               "\r\r" + "Proceed with the paste operation?"))
        return false;
    return true;
}

void TNetworkForm::Paste1Click()
{
    if (!pasteAllowedBeforeDrawingChecks())
        return;
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    const bool pasted = pasteAllowedOnDrawing();
    if (pasted) {
        // The window goes into selection mode with the pasted items as the selection.
        SetSelectionMode();
        n.DeselectItems();
        n.AddOnNetworkSelection(*ClipboardNetwork);
        n.MoveSelectedNodes(10, 10);
        n.GetMinMaxXYSelection(s.SelectionStartX, s.SelectionStartY, s.SelectionEndX, s.SelectionEndY, false);
        s.SelectionPasted = true;
        s.SelectionStatus = 2;
        for (const char *name : PastedSelectionLockedButtons)
            if (auto *button = findChild<QToolButton *>(name))
                button->setEnabled(false);
        if (auto *edit = findChild<QMenu *>("Edit1"))
            edit->menuAction()->setEnabled(false);
        UpdateFluidDisplay(true);
    }
    RefreshScreenImageOnly(true);
    NetworkImage->repaint();
    if (pasted) {
        // The pasted items may lie where the view does not reach: then show the whole drawing.
        const int viewWidth = static_cast<int>(ViewWidth() / MetaFileScale);
        const int viewHeight = static_cast<int>(ViewHeight() / MetaFileScale);
        if (s.SelectionEndX < MetaFileOffsetX || s.SelectionEndY < MetaFileOffsetY ||
            s.SelectionStartX > MetaFileOffsetX + viewWidth || s.SelectionStartY > MetaFileOffsetY + viewHeight)
            ZoomtoFitonScreen1Click();
    }
    UpdateDrawingMenuFromNetwork();
}

// --- Standard and isometric drawing -------------------------------------------------------

// Zooms to fit, then goes back to the scale the list showed before a whole-drawing change.
void TNetworkForm::zoomToFitKeepingScale(int ScaleItemIndex)
{
    ZoomtoFitonScreen1Click();
    ScaleComboBox1->setCurrentIndex(ScaleItemIndex);
    NetWorkImageRescaleFromIndex(ScaleItemIndex, 1, false);
}

void TNetworkForm::SetIsometricDrawingMode1Click()
{
    TNetwork &n = *CurrentNetwork;
    if (n.IsometricDrawing)
        return;
    if (n.GetNodeCount() > 0)
        Messages.ShowMessage(TMessageKind::Information,
                             "The current drawing on the standard grid will be transposed on to the isometric "
                             "grid.\r\rThe result will be a flat view of the current drawing on the isometric "
                             "plane.\r\rNote: The logical model remains the same and any elevation settings remain "
                             "unchanged.\r");
    const int scaleItem = ScaleComboBox1->currentIndex();
    SetIsometricDrawingMode1->setChecked(true);
    SetStandardDrawingMode1->setChecked(false);
    ActionLog->Clear();
    n.RotateNormalDrawingToIso();
    zoomToFitKeepingScale(scaleItem);
    RefreshScreen(true);
}

void TNetworkForm::SetStandardDrawingMode1Click()
{
    TNetwork &n = *CurrentNetwork;
    if (!n.IsometricDrawing)
        return;
    if (n.GetNodeCount() > 0)
        Messages.ShowMessage(TMessageKind::Information,
                             "The current drawing on the isometric grid will be transposed on to the standard "
                             "square grid.\r\rVertical lines from the isometric grid will become diagonal lines on "
                             "the standard grid,\r\rsince Tessaran does not allow two nodes to appear at the same "
                             "point on the grid.\r\rThe result is a view from a very high overhead position where "
                             "the vertical pipes can still be seen.\r\rNote: The transformation does not produce an "
                             "exact plan view (where the vertical lines would not be seen).\r");
    const int scaleItem = ScaleComboBox1->currentIndex();
    SetIsometricDrawingMode1->setChecked(false);
    SetStandardDrawingMode1->setChecked(true);
    ActionLog->Clear();
    // Items copied from the isometric drawing would not fit the converted one.
    ClipboardNetwork->Clear();
    ClipboardNetwork->IsometricDrawing = n.IsometricDrawing;
    n.IsometricXRadAng = std::fabs(n.IsometricXRadAng);
    if (IsometricTankViewFromRight1->isChecked())
        IsometricTankViewFromRight1Click();
    n.RotateIsoDrawingToNormal();
    zoomToFitKeepingScale(scaleItem);
    RefreshScreen(true);
}

void TNetworkForm::ToolButtonIsometricClick()
{
    NetworkStates.SystemUpdatedSinceLoad = true;
    if (CurrentNetwork->IsometricDrawing)
        SetStandardDrawingMode1Click();
    else
        SetIsometricDrawingMode1Click();
}

void TNetworkForm::IsometricTankViewFromLeft1Click()
{
    IsometricTankViewFromLeft1->setChecked(true);
    IsometricTankViewFromRight1->setChecked(false);
    CurrentNetwork->IsometricXRadAng = std::fabs(CurrentNetwork->IsometricXRadAng);
    RefreshScreen(true);
}

void TNetworkForm::IsometricTankViewFromRight1Click()
{
    IsometricTankViewFromLeft1->setChecked(false);
    IsometricTankViewFromRight1->setChecked(true);
    CurrentNetwork->IsometricXRadAng = -std::fabs(CurrentNetwork->IsometricXRadAng);
    RefreshScreen(true);
}

// --- Whole drawing -------------------------------------------------------------------------

void TNetworkForm::RotateMirror1Click()
{
    const int scaleItem = ScaleComboBox1->currentIndex();
    CurrentNetwork->RotateMirrorLeftRight(NetworkStates, false);
    zoomToFitKeepingScale(scaleItem);
    RefreshScreen(true);
}

void TNetworkForm::RotateInvert1Click()
{
    const int scaleItem = ScaleComboBox1->currentIndex();
    CurrentNetwork->RotateFlipUpDown(NetworkStates, false);
    zoomToFitKeepingScale(scaleItem);
    RefreshScreen(true);
}

// --- The selection ---------------------------------------------------------------------------

bool TNetworkForm::selectionToTransform(const char *verb)
{
    if (NetworkStates.SelectionStatus != 0)
        return true;
    Messages.ShowMessage(TMessageKind::Information, std::string("Nothing to ") + verb + ". No Items are selected. ");
    return false;
}

void TNetworkForm::selectionTransformed()
{
    TNetworkStates &s = NetworkStates;
    CurrentNetwork->GetMinMaxXYSelection(s.SelectionStartX, s.SelectionStartY, s.SelectionEndX, s.SelectionEndY,
                                         false);
    // The drag of the selection starts from the new extents.
    SelectionMoveStart.SelectionStartX = s.SelectionStartX;
    SelectionMoveStart.SelectionStartY = s.SelectionStartY;
    SelectionMoveStart.SelectionEndX = s.SelectionEndX;
    SelectionMoveStart.SelectionEndY = s.SelectionEndY;
    RefreshScreen(true);
}

void TNetworkForm::SelectionRotate90Degrees1Click()
{
    if (!selectionToTransform("Rotate"))
        return;
    if (CurrentNetwork->IsometricDrawing)
        CurrentNetwork->RotateIsoDrawingPlus90Degrees(NetworkStates, true);
    else
        CurrentNetwork->RotateNormalDrawingPlus90Degrees(NetworkStates, true);
    selectionTransformed();
}

void TNetworkForm::SelectionRotate90Degrees2Click()
{
    if (!selectionToTransform("Rotate"))
        return;
    if (CurrentNetwork->IsometricDrawing)
        CurrentNetwork->RotateIsoDrawingMinus90Degrees(NetworkStates, true);
    else
        CurrentNetwork->RotateNormalDrawingMinus90Degrees(NetworkStates, true);
    selectionTransformed();
}

void TNetworkForm::SelectionMirror1Click()
{
    if (!selectionToTransform("Mirror"))
        return;
    CurrentNetwork->RotateMirrorLeftRight(NetworkStates, true);
    selectionTransformed();
}

void TNetworkForm::SelectionInvert1Click()
{
    if (!selectionToTransform("Invert"))
        return;
    CurrentNetwork->RotateFlipUpDown(NetworkStates, true);
    selectionTransformed();
}

} // namespace tessaran
