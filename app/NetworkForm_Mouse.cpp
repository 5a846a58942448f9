// The canvas's mouse: a press acts by the current tool (placing items,
// drawing pipes with the rubber band, moving the end of a pipe, showing the
// item under the mouse), a move pans, follows the rubber band and shows the
// hover panel, a release ends a pan. Escape is a right press on the canvas.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"
#include "app/Status_Bar.h"
#include "app/Viewport_Geometry.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include <cstdlib>

namespace tessaran {

namespace {

constexpr int NearGridTolerance = 14;
constexpr int PanCursorSlot = 13, GrabCursorSlot = 14, DragCursorSlot = 17;
constexpr int InfoPicture = 4, FreeTextPicture = 17;

bool applicationActive() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

// Clears a flag when the press that set it ends, however it ends.
struct TPressGuard {
    explicit TPressGuard(bool &flag) : flag_(flag) { flag_ = true; }
    ~TPressGuard() { flag_ = false; }
    bool &flag_;
};

} // namespace

// --- press ---------------------------------------------------------------------

void TNetworkForm::NetworkImageMouseDown(Qt::MouseButton Button, bool, bool DoubleClick, int X, int Y)
{
    // A press ends by handling the events waiting meanwhile; a press among
    // them would act on the state of an edit still under way.
    if (mouseDownRunning_)
        return;
    TPressGuard guard(mouseDownRunning_);
    pressCanvasX_ = X;
    pressCanvasY_ = Y;
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;

    s.HideAllImages = false;
    if (StatusBar1->isEnabled())
        StatusBar1->setFocus(Qt::MouseFocusReason);

    int rawX = 0, rawY = 0;
    CalcMetaFileDrawingXY(X, Y, rawX, rawY);
    int snappedX = rawX, snappedY = rawY;
    CalcSnapToGridXY(snappedX, snappedY);
    const bool nearGrid = CheckXYMatch(rawX, rawY, snappedX, snappedY, NearGridTolerance + 1);
    ImageDrawCursorType->hide();
    PressFittingPosition = EntryFitting;

    if (Button == Qt::LeftButton) {
        DragStatus = 0;
        mouseDownLeft(rawX, rawY, snappedX, snappedY, nearGrid, DoubleClick);
    } else if (Button == Qt::RightButton) {
        mouseDownRight(rawX, rawY);
    }

    if (s.CurrentNodeIdSelected < 1) {
        UpdatePanelsNode(0, false);
    } else {
        // The fluid-zone rectangle assigns the zone chosen before it was
        // started; a node still highlighted from earlier must not replace it.
        if (s.CurrentPipeIdSelected < 1 && DrawingObject != DrawingFluidZone) {
            const int zone = n.GetNodeFluidZoneIndex(s.CurrentNodeIdSelected);
            if (zone >= 1 && zone <= n.FluidZonesCount)
                n.CurrentFluidZone = zone;
        }
        UpdatePanelsNode(s.CurrentNodeIdSelected, false);
        if (ResultsMode)
            ResultsSheetShowNode(s.CurrentNodeIdSelected);
    }
    UpdatePanelsPipe(s.CurrentPipeIdSelected > 0 ? s.CurrentPipeIdSelected : 0, false);
    if (ResultsMode && s.CurrentPipeIdSelected > 0)
        ResultsSheetShowPipe(s.CurrentPipeIdSelected);
    UpdateFluidDisplay(true);
    UpdateDrawingMenuFromNetwork();
    if (s.CurrentNodeIdSelected > 0 && PanelTankTypes->isVisible())
        ButtonTankTypeClick();
    else
        PanelTankTypes->hide();
    if (DrawingObject != DrawingHand && DrawingObject != DrawingSelection && DragStatus == 0)
        ImageDrawCursorType->show();
    RefreshScreenImageOnly(true);
    NetworkImage->repaint();
    repaint();
    QApplication::processEvents();
}

void TNetworkForm::mouseDownLeft(int rawX, int rawY, int snappedX, int snappedY, bool nearGrid, bool doubleClick)
{
    auto logged = [this](auto add) {
        ActionLog->AddSeparator();
        const int separator = ActionLog->ActionIdCurrent;
        add();
        // Nothing was added: the group would be empty.
        if (ActionLog->ActionIdCurrent == separator &&
            ActionLog->GetAction(separator).Action == ActionSeparator)
            ActionLog->RemoveSeparator();
    };
    switch (DrawingObject) {
    case DrawingSupply: logged([&] { AddTankContainer(snappedX, snappedY, 0); }); break;
    case DrawingDemandPressure: logged([&] { AddDemandPressure(snappedX, snappedY, 5); }); break;
    case DrawingDemandFlow: AddDemandFlow(snappedX, snappedY, 5); break;
    case DrawingPump: AddPump(rawX, rawY, snappedX, snappedY); break;
    case DrawingFittings: AddFittings(rawX, rawY, snappedX, snappedY); break;
    case DrawingComponentPressure: AddComponentPressureLoss(rawX, rawY, snappedX, snappedY); break;
    case DrawingFlowControl: AddFlowControl(rawX, rawY, snappedX, snappedY); break;
    case DrawingJoint: logged([&] { AddJoint(snappedX, snappedY, 0, 0); }); break;
    case DrawingPipeAdd: pipeDrawingPress(rawX, rawY, snappedX, snappedY, nearGrid); break;
    case DrawingHand: startPan(1, rawX, rawY); break;
    case DrawingStandardCursor: showItemInfoPress(rawX, rawY, snappedX, snappedY, doubleClick); break;
    case DrawingText: AddFreeText(rawX, rawY, snappedX, snappedY); break;
    case DrawingClosePipe: {
        TNetwork &n = *CurrentNetwork;
        int pipeId = n.IsPointOnAnyNetworkLine(rawX, rawY);
        if (pipeId == 0)
            pipeId = n.IsPointOnAnyClosedNetworkLine(rawX, rawY);
        if (pipeId > 0) {
            NetworkStates.CurrentPipeIdSelected = pipeId;
            if (n.IsPipeClosed(pipeId))
                n.RestoreNodeLinkForClosedPipe(pipeId);
            else
                n.RemoveNodeLinkAddClosedPipeLink(pipeId);
            RefreshScreen(true);
        }
        break;
    }
    case DrawingDragNode: dragPress(rawX, rawY); break;
    case DrawingSelection: selectionPress(rawX, rawY); break;
    case DrawingFluidZone: fluidZonePress(pressCanvasX_, pressCanvasY_, rawX, rawY); break;
    default: break;
    }
}

void TNetworkForm::pipeDrawingPress(int rawX, int rawY, int snappedX, int snappedY, bool nearGrid)
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    if (s.NodeIdClick1 > 0) {
        s.NodeIdClick2 = CheckNodeClick(rawX, rawY);
        if (s.NodeIdClick2 > 0) {
            s.CurrentNodeIdSelected = s.NodeIdClick2;
            s.RubberBand = true;
        } else {
            const TNode start = n.GetNode(s.NodeIdClick1);
            if (n.ExistsNodesOnPipeLine(start.x, start.y, snappedX, snappedY)) {
                info("Pipe cannot be added. \r\rThe pipe would pass through other nodes on the drawing \rand then "
                     "some nodes would appear to be connected when \rthey were not. This is not allowed so as to "
                     "avoid confusion. \r\rIn order to create a flow between the chosen points, \rfirst add a "
                     "separate joint elsewhere and then connect \rthe nodes via the joint.");
            } else if (n.IsPointOnAnyLineFromThisNode(s.NodeIdClick1, snappedX, snappedY) > 0) {
                info("Pipe cannot be added. \r\rCannot draw a pipe line back along a pipe alrady connecting to \rto "
                     "this node.");
            } else if (n.ExistsNodeWithSamePosition(snappedX, snappedY, 0) > 0) {
                s.NodeIdClick1 = s.NodeIdClick2 = 0;
                ImageDrawCursorType->hide();
                s.RubberBand = false;
            } else if (nearGrid) {
                ActionLog->AddSeparator();
                const int joint = AddJoint(snappedX, snappedY, start.NodeImageIndex, start.Elevation_m);
                if (joint < 1) {
                    ActionLog->RemoveSeparator();
                } else if (AddPipeLink(s.NodeIdClick1, joint)) {
                    s.NodeIdClick1 = joint;
                    s.CurrentNodeIdSelected = joint;
                    s.NodeIdClick2 = 0;
                    s.RubberBand = true;
                } else {
                    // The joint may have split a pipe: the whole group is
                    // taken back, so that no pipe is left on a missing node.
                    withdrawLastActionGroup();
                    s.NodeIdClick2 = 0;
                    s.CurrentNodeIdSelected = s.NodeIdClick1;
                    s.CurrentPipeIdSelected = s.PipeIdClick1 = s.PipeIdClick2 = 0;
                }
            }
        }
    } else {
        s.MovingPipe = false;
        s.NodeIdClick1 = CheckNodeClick(rawX, rawY);
        if (s.NodeIdClick1 < 1) {
            s.NodeIdClick1 = 0;
            int pipeId = n.IsPointOnAnyNetworkLine(rawX, rawY);
            if (pipeId < 0)
                pipeId = 0;
            if (pipeId == 0) {
                if (n.ExistsNodeWithSamePosition(snappedX, snappedY, 0) < 1 && nearGrid) {
                    ActionLog->AddSeparator();
                    const int joint = AddJoint(snappedX, snappedY, 0, 0);
                    if (joint > 0) {
                        s.NodeIdClick1 = joint;
                        s.CurrentNodeIdSelected = joint;
                    } else {
                        ActionLog->RemoveSeparator();
                    }
                }
            } else if (pipeId == s.CurrentPipeIdSelected) {
                int fromId = -1, toId = -1;
                n.GetFromAndToNodeIds(pipeId, fromId, toId);
                s.CurrentNodeIdSelected = fromId;
                s.NodeIdClick1 = fromId;
                s.NodeIdClick2 = 0;
                s.CurrentPipeIdSelected = -1;
                s.RubberBand = true;
                s.MovingPipe = true;
                ScratchPipes[0]->Copy(n.GetPipe(pipeId));
                ActionLog->AddSeparator();
                ActionLog->RemovePipeLink(fromId, toId, n.GetPipe(pipeId));
                n.RemovePipeLink(pipeId);
            } else {
                s.CurrentPipeIdSelected = pipeId;
                s.NodeIdClick1 = 0;
            }
        }
        s.CurrentNodeIdSelected = s.NodeIdClick1;
        s.RubberBand = true;
        if (s.NodeIdClick1 > 0 && n.GetNode(s.NodeIdClick1).NodeType == EndPressure) {
            info("Demand pressure nodes cannot have any out flow pipes. \r\rIf you wish to draw a pipe from this "
                 "node then you will first\rneed to change the node type to either a Joint or a tank.");
            s.NodeIdClick1 = 0;
            s.CurrentNodeIdSelected = 0;
            s.RubberBand = false;
        }
    }

    if (s.NodeIdClick2 > 0 && s.NodeIdClick2 == s.NodeIdClick1) {
        if (s.RubberBand) {
            s.CurrentNodeIdSelected = s.NodeIdClick1;
            s.NodeIdClick1 = s.NodeIdClick2 = 0;
            ImageDrawCursorType->hide();
            s.RubberBand = false;
        } else {
            s.CurrentNodeIdSelected = s.NodeIdClick1;
            s.NodeIdClick2 = 0;
            s.RubberBand = true;
        }
    }

    if (s.NodeIdClick1 > 0 && s.NodeIdClick2 > 0 && s.NodeIdClick2 != s.NodeIdClick1) {
        const bool endPressure = n.GetNode(s.NodeIdClick2).NodeType == EndPressure;
        if (endPressure && n.GetNumberOfInFlowPipes(s.NodeIdClick2) > 0) {
            info("Pipe cannot be added. \r\rCannot connect more than one pipe to a End Pressure Demand node.\r");
            s.NodeIdClick2 = 0;
            s.CurrentNodeIdSelected = s.NodeIdClick1;
        } else if (s.RubberBand) {
            ActionLog->AddSeparator();
            if (AddPipeLink(s.NodeIdClick1, s.NodeIdClick2)) {
                s.NodeIdClick1 = s.NodeIdClick2;
                s.CurrentNodeIdSelected = s.NodeIdClick2;
                s.NodeIdClick2 = 0;
                if (endPressure) {
                    s.CurrentNodeIdSelected = s.NodeIdClick1 = 0;
                    s.RubberBand = false;
                }
            } else {
                ActionLog->RemoveSeparator();
                s.NodeIdClick2 = 0;
                s.CurrentNodeIdSelected = s.NodeIdClick1;
            }
        } else {
            s.CurrentNodeIdSelected = s.NodeIdClick1;
            s.NodeIdClick2 = 0;
            s.RubberBand = true;
        }
    }

    const bool pipeItem =
        s.PumpPipeId > 0 || s.FittingsPipeId > 0 || s.ComponentPressurePipeId > 0 || s.FlowControlPipeId > 0;
    if (s.NodeIdClick2 < 1 && !pipeItem)
        startPan(1, rawX, rawY);
    s.CursorX = snappedX;
    s.CursorY = snappedY;
}

void TNetworkForm::showItemInfoPress(int rawX, int rawY, int snappedX, int snappedY, bool doubleClick)
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    s.PumpPipeId = s.FittingsPipeId = s.ComponentPressurePipeId = s.FlowControlPipeId = 0;
    s.DemandinNodeId = s.DemandOutNodeId = 0;

    bool nodeFound = false;
    auto demandTest = [&] {
        s.DemandinNodeId = CheckNodeDemandInClick(rawX, rawY);
        s.DemandOutNodeId = CheckNodeDemandOutClick(rawX, rawY);
        const int node = s.DemandinNodeId > 0 ? s.DemandinNodeId : s.DemandOutNodeId;
        if (node < 1)
            return;
        nodeFound = true;
        RefreshScreen(true);
        if (ItemDialogs)
            ItemDialogs->DemandsOpenForm(n.GetNode(node), node, n.ConfigOptions, nodeFluid(node), ResultsMode,
                                         s.DemandinNodeId > 0);
        s.NodeIdClick1 = node;
        s.CurrentNodeIdSelected = node;
    };
    const int node = CheckNodeClick(rawX, rawY);
    if (s.NodeIdClick1 > 0) {
        s.NodeIdClick2 = node;
        if (node == s.NodeIdClick1) {
            s.NodeIdClick1 = s.NodeIdClick2 = s.CurrentNodeIdSelected = 0;
            nodeFound = true;
        } else if (node > 0) {
            s.NodeIdClick1 = node;
            s.CurrentNodeIdSelected = node;
            nodeFound = true;
        } else {
            demandTest();
        }
    } else {
        s.NodeIdClick1 = node;
        if (node > 0) {
            s.CurrentNodeIdSelected = node;
            ShowLeftPanel();
            nodeFound = true;
        } else {
            demandTest();
        }
    }

    auto pipeItemSet = [&] {
        return s.PumpPipeId > 0 || s.FittingsPipeId > 0 || s.ComponentPressurePipeId > 0 || s.FlowControlPipeId > 0;
    };
    auto itemTest = [&] {
        s.PumpPipeId = CheckPumpClick(rawX, rawY);
        int fittingsPipe = 0;
        CheckPipeFittingClick(rawX, rawY, fittingsPipe, PressFittingPosition);
        s.FittingsPipeId = fittingsPipe;
        s.ComponentPressurePipeId = CheckPipeComponentPressureClick(rawX, rawY);
        s.FlowControlPipeId = CheckTessaranControlClick(rawX, rawY);
        OpenPipeItemsSelectPopupMenuIfNeeded();
        if (s.PumpPipeId > 0) {
            n.CurrentFluidZone = n.GetPipe(s.PumpPipeId).FluidZoneIndex;
            UpdateFluidDisplay(true);
            OpenPumpDialog(s.PumpPipeId);
        } else if (s.FittingsPipeId > 0) {
            RefreshScreen(true);
            TPipe &pipe = n.GetPipe(s.FittingsPipeId);
            TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, pipe);
            if (ItemDialogs)
                ItemDialogs->OpenFittingManager(
                    pipe.FittingSet, s.FittingsPipeId,
                    pipe.GetPipeNameSizeInternalDiameterString(n.ConfigOptions.UnitOfDiameter),
                    pipe.NominalDiameterMetric, ResultsMode, PressFittingPosition);
        } else if (s.ComponentPressurePipeId > 0) {
            RefreshScreen(true);
            TPipe &pipe = n.GetPipe(s.ComponentPressurePipeId);
            if (ItemDialogs)
                ItemDialogs->ComponentPressureOpenForm(pipe.ComponentPressure, pipe, s.ComponentPressurePipeId, n,
                                                       ResultsMode);
        } else if (s.FlowControlPipeId > 0) {
            RefreshScreen(true);
            if (ItemDialogs)
                ItemDialogs->FlowControlOpenForm(n, s.FlowControlPipeId, n.ConfigOptions, ResultsMode);
        }
    };
    if (!nodeFound) {
        const int pipe = CheckPipeClick(rawX, rawY);
        if (s.PipeIdClick1 > 0) {
            s.PipeIdClick2 = pipe;
            if (pipe == s.PipeIdClick1) {
                itemTest();
                if (!pipeItemSet() && !doubleClick) {
                    s.PipeIdClick1 = s.PipeIdClick2 = 0;
                    s.CurrentPipeIdSelected = 0;
                }
            } else {
                s.PipeIdClick1 = pipe;
            }
        } else {
            s.PipeIdClick1 = pipe;
        }
        if (s.PipeIdClick1 > 0 && !pipeItemSet()) {
            s.CurrentPipeIdSelected = s.PipeIdClick1;
            if (PanelPipes)
                PanelPipes->raise();
            itemTest();
        }
    }

    if (s.NodeIdClick2 < 1 && s.PipeIdClick1 < 1 && s.PipeIdClick2 < 1 && !pipeItemSet())
        startPan(1, rawX, rawY);

    if (!ResultsMode) {
        if (CheckFreeTextClick(rawX, rawY) > 0)
            AddFreeText(rawX, rawY, snappedX, snappedY);
        if (doubleClick && s.CurrentPipeIdSelected > 0)
            BitBtnPipeDiameterClick();
        return;
    }
    if (s.CurrentPipeIdSelected > 0) {
        StatusBarShowPipe(s.CurrentPipeIdSelected);
        // The item on the pipe under the click tells its own results.
        const std::pair<int, void (TNetworkForm::*)(int)> items[] = {
            {CheckPumpClick(rawX, rawY), &TNetworkForm::StatusBarShowPump},
            {s.FittingsPipeId, &TNetworkForm::StatusBarShowFitting},
            {CheckPipeComponentPressureClick(rawX, rawY), &TNetworkForm::StatusBarShowComponent},
            {CheckTessaranControlClick(rawX, rawY), &TNetworkForm::StatusBarShowFlowControl}};
        for (const auto &[pipe, show] : items)
            if (pipe > 0) {
                s.CurrentPipeIdSelected = pipe;
                (this->*show)(pipe);
            }
    }
    if (s.CurrentNodeIdSelected > 0 &&
        (CheckNodeClick(rawX, rawY) == s.CurrentNodeIdSelected || s.CurrentPipeIdSelected < 1))
        StatusBarShowNode(s.CurrentNodeIdSelected);
    if (s.CurrentNodeIdSelected < 1 && s.CurrentPipeIdSelected < 1)
        showResultsModeStatus();
}

void TNetworkForm::mouseDownRight(int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    switch (DrawingObject) {
    case DrawingPipeAdd:
        DragStatus = 0;
        s.NodeIdClick1 = s.NodeIdClick2 = 0;
        if (s.RubberBand) {
            s.RubberBand = false;
            s.MovingPipe = false;
            if (CheckNodeClick(rawX, rawY) > 0)
                s.CurrentPipeIdSelected = s.PipeIdClick1 = s.PipeIdClick2 = 0;
        } else {
            ToolButtonCursorArrowClick();
        }
        break;
    case DrawingStandardCursor:
        DragStatus = 0;
        s.NodeIdClick1 = s.NodeIdClick2 = 0;
        s.RubberBand = false;
        break;
    case DrawingSelection: selectionDropOrLeave(); break;
    default: ToolButtonCursorArrowClick(); break;
    }
}

void TNetworkForm::startPan(int code, int rawX, int rawY)
{
    DragStatus = code;
    ImageDrawCursorType->hide();
    ImageDrawCursorType->move(-50, -50);
    NetworkImage->setCursor(Cursors[GrabCursorSlot]);
    PressPointX = rawX;
    PressPointY = rawY;
}

// The point grabbed at the press stays under the mouse.
void TNetworkForm::panTo(int X, int Y)
{
    MetaFileOffsetX = static_cast<int>(PressPointX - X / MetaFileScale);
    MetaFileOffsetY = static_cast<int>(PressPointY - Y / MetaFileScale);
    {
        const QSignalBlocker blockX(ScrollBar1), blockY(ScrollBar2);
        ScrollBar1->setValue(static_cast<int>(static_cast<double>(MetaFileOffsetX) / SheetWidth * ScrollBar1->maximum()));
        ScrollBar2->setValue(
            static_cast<int>(static_cast<double>(MetaFileOffsetY) / SheetHeight * ScrollBar2->maximum()));
    }
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
    repaintNetworkImage();
}

// --- move ----------------------------------------------------------------------

void TNetworkForm::NetworkImageMouseMove(bool LeftHeld, int X, int Y)
{
    TNetworkStates &s = NetworkStates;
    s.HideAllImages = false;
    int rawX = 0, rawY = 0;
    CalcMetaFileDrawingXY(X, Y, rawX, rawY);

    auto follow = [this](int x, int y) {
        ImageDrawCursorType->move(x, y);
        ImageDrawCursorType->show();
    };
    switch (DrawingObject) {
    case DrawingSupply:
    case DrawingDemandPressure:
    case DrawingDemandFlow:
    case DrawingPump:
    case DrawingFittings:
    case DrawingComponentPressure:
    case DrawingFlowControl:
    case DrawingJoint:
    case DrawingText: follow(X + 15, Y + 21); break;
    case DrawingPipeAdd:
        follow(X + 15, Y + 21);
        if (DragStatus == 1 && LeftHeld) {
            ImageDrawCursorType->hide();
            panTo(X, Y);
        } else {
            NetworkImage->setCursor(Qt::ArrowCursor);
        }
        if (s.CurrentNodeIdSelected > 0 && s.RubberBand) {
            s.CursorX = rawX;
            s.CursorY = rawY;
            if (applicationActive())
                RefreshScreenImageOnly(true);
        }
        break;
    case DrawingHand:
        ImageDrawCursorType->hide();
        if (DragStatus == 1 && LeftHeld)
            panTo(X, Y);
        else
            NetworkImage->setCursor(Cursors[PanCursorSlot]);
        break;
    case DrawingStandardCursor: {
        ImageDrawCursorType->move(X + 12, Y + 20);
        if (DragStatus == 1 && LeftHeld) {
            ImageDrawCursorType->hide();
            panTo(X, Y);
        } else {
            NetworkImage->setCursor(Qt::ArrowCursor);
            const int picture = CheckFreeTextClick(rawX, rawY) > 0 ? FreeTextPicture : InfoPicture;
            if (picture != toolCursorPicture_) {
                showToolCursorImage(picture);
                toolCursorPicture_ = picture;
            }
            ImageDrawCursorType->show();
        }
        break;
    }
    case DrawingDragNode:
        ImageDrawCursorType->move(X + 12, Y + 23);
        NetworkImage->setCursor(Cursors[DragCursorSlot]);
        if (LeftHeld)
            dragMove(X, Y, rawX, rawY);
        if (DragStatus >= 1 && applicationActive()) {
            RefreshScreenImageOnly(true);
            repaint();
        }
        break;
    case DrawingClosePipe: ImageDrawCursorType->move(X + 11, Y + 20); break;
    case DrawingSelection: selectionMove(X, Y, LeftHeld, rawX, rawY); break;
    case DrawingFluidZone: fluidZoneMove(X, Y, rawX, rawY); break;
    default: break;
    }

    if (ResultsMode && s.CurrentNodeIdSelected < 1 && s.CurrentPipeIdSelected < 1)
        showResultsModeStatus();

    const bool pickSelection = DrawingObject == DrawingSelection && s.SelectionStatus == 9;
    if ((DrawingObject == DrawingStandardCursor || pickSelection) && DragStatus == 0)
        updateHoverPanel(X, Y, rawX, rawY);

    const int gridX = MetaFileDrawing->MetaFileDrawing_XGridSpacing;
    const int gridY = MetaFileDrawing->MetaFileDrawing_YGridSpacing;
    StatusBar1->SetPanelText(
        1, QString(" Grid  X=%1  Y=%2")
               .arg(static_cast<int>((X / MetaFileScale + MetaFileOffsetX) / gridX))
               .arg(static_cast<int>((Y / MetaFileScale + MetaFileOffsetY) / gridY)));
}

void TNetworkForm::updateHoverPanel(int X, int Y, int rawX, int rawY)
{
    const int node = CheckNodeClick(rawX, rawY);
    const int pipe = node > 0 ? -1 : CheckPipeClick(rawX, rawY);
    if (node < 1 && pipe < 1) {
        PanelResultInfo->hide();
        return;
    }
    if (node > 0)
        UpdatePanelResultNodeInfo(node);
    else
        UpdatePanelResultPipeInfo(pipe);
    PanelResultInfo->resize(PanelResultInfo->width(), LabelInfo1->height() + 30);
    // Just below and right of the mouse, or lifted clear of the bottom of
    // the view.
    const QWidget *parent = PanelResultInfo->parentWidget();
    QPoint at = parent->mapFrom(this, NetworkImage->mapTo(this, QPoint(X + 11, Y + 14)));
    const int viewBottom = parent->mapFrom(this, ScrollBar2->mapTo(this, QPoint(0, ScrollBar2->height()))).y();
    if (at.y() + PanelResultInfo->height() > viewBottom)
        at.setY(viewBottom - 10 - PanelResultInfo->height());
    PanelResultInfo->move(at);
    PanelResultInfo->show();
    PanelResultInfo->raise();
}

void TNetworkForm::showResultsModeStatus()
{
    StatusBarHintColor = 0x00FFFF;
    StatusBar1->SetPanelText(0, "           Results Mode");
    StatusBar1->SetPanelText(2, QString::fromStdString(" " + CurrentNetwork->ConfigOptions.GetMethodOfSolutionAndCalculationString()));
}

// --- release -------------------------------------------------------------------

void TNetworkForm::NetworkImageMouseUp(Qt::MouseButton Button, int X, int Y)
{
    NetworkStates.HideAllImages = false;
    int rawX = 0, rawY = 0;
    CalcMetaFileDrawingXY(X, Y, rawX, rawY);
    if (Button == Qt::LeftButton) {
        switch (DrawingObject) {
        case DrawingPipeAdd:
        case DrawingStandardCursor:
            DragStatus = 0;
            NetworkImage->setCursor(Qt::ArrowCursor);
            break;
        case DrawingHand:
            DragStatus = 0;
            NetworkImage->setCursor(Cursors[PanCursorSlot]);
            break;
        case DrawingDragNode:
            if (DragStatus == 1 && DragNodeId > 0) {
                dropNode(rawX, rawY);
            } else {
                DragStatus = 0;
                DragNodeId = 0;
            }
            break;
        case DrawingSelection: selectionRelease(); break;
        case DrawingFluidZone: fluidZoneRelease(); break;
        default: break;
        }
    }
    UpdateDrawingMenuFromNetwork();
    RefreshScreenImageOnly(true);
    repaintNetworkImage();
}

// --- keys ------------------------------------------------------------------------

void TNetworkForm::FormKeyPress(int Key)
{
    if (Key != 27)
        return;
    // A right press and release on the canvas where the mouse is; with the
    // mouse elsewhere nothing else receives a click.
    const QPoint at = NetworkImage->mapFromGlobal(QCursor::pos());
    if (!NetworkImage->rect().contains(at))
        return;
    const QPointF local(at), global(NetworkImage->mapToGlobal(at));
    QCoreApplication::postEvent(NetworkImage, new QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::RightButton,
                                                              Qt::RightButton, Qt::NoModifier));
    QCoreApplication::postEvent(NetworkImage, new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                              Qt::RightButton, Qt::NoButton, Qt::NoModifier));
}

// --- pipe items --------------------------------------------------------------------

// The pipe-size database on the highlighted pipe: its size list, or its
// material list.
void TNetworkForm::openPipeSizeDatabase(bool DisplayChangeMaterial)
{
    const int pipeId = NetworkStates.CurrentPipeIdSelected;
    if (pipeId < 1)
        return;
    TNetwork &n = *CurrentNetwork;
    TPipe &pipe = n.GetPipe(pipeId);
    const bool metric = n.ConfigOptions.UnitOfDiameter == unt_m || n.ConfigOptions.UnitOfDiameter == unt_mm;
    TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, pipe);
    if (ItemDialogs)
        ItemDialogs->OpenPipeDiameterManager(*PipeNominalSizeSet, pipe, pipeId, metric, DisplayChangeMaterial);
    TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, pipe);
    UpdatePanelsPipe(pipeId, false);
    RefreshScreen(true);
}

void TNetworkForm::BitBtnPipeDiameterClick() { openPipeSizeDatabase(false); }

void TNetworkForm::BitBtnPipeMaterialClick() { openPipeSizeDatabase(true); }

void TNetworkForm::BitBtnPipeDefaultsClick()
{
    if (ask("Use the values from this pipe as the default values when drawing new pipes?") &&
        NetworkStates.CurrentPipeIdSelected > 0)
        CurrentNetwork->ConfigOptions.DefaultPipe->Copy(CurrentNetwork->GetPipe(NetworkStates.CurrentPipeIdSelected));
}

} // namespace tessaran
