// The tools that move things: the drag tool (nodes, labels, demand arrows,
// components, control valves, free texts, background images), the
// rectangle and pick selections with their moves and drops, and the
// fluid-zone rectangle.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"
#include "app/Viewport_Geometry.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace tessaran {

namespace {

constexpr int SelectionCursorSlot = 15, SelectionDragCursorSlot = 16, PanCursorSlot = 13, GrabCursorSlot = 14;

bool strictlyInside(const TNetworkStates &s, int x, int y)
{
    return std::min(s.SelectionStartX, s.SelectionEndX) < x && x < std::max(s.SelectionStartX, s.SelectionEndX) &&
           std::min(s.SelectionStartY, s.SelectionEndY) < y && y < std::max(s.SelectionStartY, s.SelectionEndY);
}

void normalise(TNetworkStates &s)
{
    if (s.SelectionStartX > s.SelectionEndX)
        std::swap(s.SelectionStartX, s.SelectionEndX);
    if (s.SelectionStartY > s.SelectionEndY)
        std::swap(s.SelectionStartY, s.SelectionEndY);
}

void clearRectangle(TNetworkStates &s) { s.SelectionStartX = s.SelectionStartY = s.SelectionEndX = s.SelectionEndY = 0; }

} // namespace

// --- the drag tool -------------------------------------------------------------

void TNetworkForm::dragPress(int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    PressPointX = rawX;
    PressPointY = rawY;
    int imageId = 0, handle = 0;
    CheckBackgroundImageClick(rawX, rawY, imageId, handle);
    s.ImageId = imageId;
    s.ImagePointId = handle;
    if (imageId > 0 && handle == 10 && ItemDialogs)
        ItemDialogs->ImageEditOpenForm(imageId, n, s);

    DragNodeId = CheckNodeClick(rawX, rawY);
    s.TextPipeId = CheckPipeTextClick(rawX, rawY);
    s.DemandinNodeId = CheckNodeDemandInClick(rawX, rawY);
    s.DemandOutNodeId = CheckNodeDemandOutClick(rawX, rawY);
    s.TextNodeId = CheckNodeTextClick(rawX, rawY);
    s.ComponentPressurePipeId = CheckPipeComponentPressureClick(rawX, rawY);
    s.FlowControlPipeId = CheckTessaranControlClick(rawX, rawY);
    s.FreeTextId = CheckFreeTextClick(rawX, rawY);
    s.PumpPipeId = s.FittingsPipeId = 0;

    if (ResultsMode && s.ComponentPressurePipeId > 0 && s.ImageId < 1 && s.TextPipeId < 1 && s.DemandinNodeId < 1 &&
        s.DemandOutNodeId < 1 && s.TextNodeId < 1) {
        info("Components cannot be moved when in results mode.");
        s.ComponentPressurePipeId = 0;
    }
    if (ResultsMode && s.FlowControlPipeId > 0 && s.ImageId < 1 && s.TextPipeId < 1 && s.DemandinNodeId < 1 &&
        s.DemandOutNodeId < 1 && s.TextNodeId < 1 && s.ComponentPressurePipeId < 1) {
        info("Control valves cannot be moved when in results mode.");
        s.FlowControlPipeId = 0;
    }
    if (s.ImageId > 0 && handle >= 1 && handle <= 9)
        DragStatus = 300;
    else if (s.TextPipeId > 0)
        DragStatus = 20;
    else if (s.DemandinNodeId > 0)
        DragStatus = 40;
    else if (s.DemandOutNodeId > 0)
        DragStatus = 30;
    else if (s.TextNodeId > 0)
        DragStatus = 50;
    else if (s.ComponentPressurePipeId > 0)
        DragStatus = 70;
    else if (s.FlowControlPipeId > 0)
        DragStatus = 80;
    else if (s.FreeTextId > 0)
        DragStatus = 90;
    else if (DragNodeId > 0)
        DragStatus = 1;
    if (DragStatus == 0)
        startPan(200, rawX, rawY);
}

// Where along its pipe, in per cent, a point is; none for a pipe whose two
// nodes stand on one point.
bool TNetworkForm::percentAlong(int pipeId, int rawX, int rawY, double &percent, bool &reversed) const
{
    int fromId = -1, toId = -1;
    CurrentNetwork->GetFromAndToNodeIds(pipeId, fromId, toId);
    if (fromId < 1 || toId < 1)
        return false;
    const TNode &from = CurrentNetwork->GetNode(fromId);
    const TNode &to = CurrentNetwork->GetNode(toId);
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (length <= 0)
        return false;
    percent = std::hypot(rawX - from.x, rawY - from.y) / length * 100;
    reversed = to.x < from.x;
    return true;
}

void TNetworkForm::dragMove(int X, int Y, int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    double percent = 0;
    bool reversed = false;
    switch (DragStatus) {
    case 1:
        if (DragNodeId > 0) {
            n.GetNode(DragNodeId).x = rawX;
            n.GetNode(DragNodeId).y = rawY;
        }
        break;
    case 20:
        if (percentAlong(s.TextPipeId, rawX, rawY, percent, reversed))
            n.GetPipe(s.TextPipeId).labelPositionPercentageAlongPipe =
                std::clamp(reversed ? 100 - percent : percent, 3.0, 97.0);
        break;
    case 30: {
        TNode &node = n.GetNode(s.DemandOutNodeId);
        node.JointDischargeRelativeX = rawX - node.x;
        node.JointDischargeRelativeY = rawY - node.y;
        break;
    }
    case 40: {
        TNode &node = n.GetNode(s.DemandinNodeId);
        node.JointSupplyRelativeX = rawX - node.x;
        node.JointSupplyRelativeY = rawY - node.y;
        break;
    }
    case 50: {
        TNode &node = n.GetNode(s.TextNodeId);
        const double scale = node.NodeScale;
        node.labelRelativex = std::clamp(rawX - node.x, static_cast<int>(scale * -80), static_cast<int>(scale * 20));
        node.labelRelativey = std::clamp(rawY - node.y, static_cast<int>(scale * -38), static_cast<int>(scale * 25));
        break;
    }
    case 70:
        if (percentAlong(s.ComponentPressurePipeId, rawX, rawY, percent, reversed))
            n.GetPipe(s.ComponentPressurePipeId).ComponentPressurePositionPercentageAlongPipe =
                std::clamp(percent, 3.0, 90.0);
        break;
    case 80:
        if (percentAlong(s.FlowControlPipeId, rawX, rawY, percent, reversed))
            n.GetPipe(s.FlowControlPipeId).FlowControlPositionPercentageAlongPipe = std::clamp(percent, 3.0, 98.0);
        break;
    case 90:
        if (s.FreeTextId >= 1 && s.FreeTextId <= n.FreeTextsCount) {
            n.GetFreeText(s.FreeTextId).x = rawX;
            n.GetFreeText(s.FreeTextId).y = rawY;
        }
        break;
    case 200: panTo(X, Y); break;
    case 300: dragImageHandle(rawX, rawY); break;
    default: break;
    }
}

void TNetworkForm::dragImageHandle(int mx, int my)
{
    const int id = NetworkStates.ImageId;
    if (id < 1 || id > CurrentNetwork->BackgroundImagesCount)
        return;
    TBackgroundImage &image = CurrentNetwork->BackgroundImages[static_cast<std::size_t>(id)];
    auto left = [&] {
        image.ImageStretchWidth += image.ImageX - mx;
        image.ImageX = mx;
    };
    auto top = [&] {
        image.ImageStretchHeight += image.ImageY - my;
        image.ImageY = my;
    };
    auto right = [&] { image.ImageStretchWidth = mx - image.ImageX; };
    auto bottom = [&] { image.ImageStretchHeight = my - image.ImageY; };
    switch (NetworkStates.ImagePointId) {
    case 1: left(); top(); break;
    case 2: top(); break;
    case 3: right(); top(); break;
    case 4: right(); break;
    case 5: right(); bottom(); break;
    case 6: bottom(); break;
    case 7: left(); bottom(); break;
    case 8: left(); break;
    case 9:
        NetworkImage->setCursor(Cursors[GrabCursorSlot]);
        image.ImageX = mx - image.ImageStretchWidth / 2;
        image.ImageY = my - image.ImageStretchHeight / 2;
        break;
    default: break;
    }
    image.ImageStretchWidth = std::max(image.ImageStretchWidth, 10);
    image.ImageStretchHeight = std::max(image.ImageStretchHeight, 10);
}

void TNetworkForm::dropNode(int rawX, int rawY)
{
    TNetwork &n = *CurrentNetwork;
    TNode &node = n.GetNode(DragNodeId);
    int x = rawX, y = rawY;
    CalcSnapToGridXY(x, y);
    CalcSnapToGridXY(node.x, node.y);
    node.x = x;
    node.y = y;
    const char *refusal = nullptr;
    if (n.ExistsNodeWithSamePosition(x, y, DragNodeId) > 0)
        refusal = "The node cannot be moved on top of another node. ";
    else if (n.IsPointOnAnyLineNotFromThisNode(DragNodeId, x, y) > 0)
        refusal = "The node cannot be moved on top of an existing pipe. ";
    else if (n.ExistsNodesOnAnyLineFromThisNode(DragNodeId))
        refusal = "The node cannot be moved to a position which would cause a joining \rpipe to cross over another "
                  "node that is not connected to the pipe. ";
    if (refusal) {
        int backX = PressPointX, backY = PressPointY;
        CalcSnapToGridXY(backX, backY);
        node.x = backX;
        node.y = backY;
        info(refusal);
    }
    DragStatus = 0;
    DragNodeId = 0;
    RefreshScreenImageOnly(true);
}

// --- the selection tools -------------------------------------------------------------

void TNetworkForm::selectionPress(int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    if (s.SelectionStatus == 9) {
        if (const int node = CheckNodeClick(rawX, rawY); node > 0) {
            n.GetNode(node).Selected = !n.GetNode(node).Selected;
            RefreshScreen(true);
        } else if (const int pipe = CheckPipeClick(rawX, rawY); pipe > 0) {
            n.GetPipe(pipe).Selected = !n.GetPipe(pipe).Selected;
            RefreshScreen(true);
        } else {
            startPan(1, rawX, rawY);
        }
        return;
    }
    if (s.SelectionStatus == 0) {
        s.SelectionStatus = 1;
        s.SelectionStartX = s.SelectionEndX = rawX;
        s.SelectionStartY = s.SelectionEndY = rawY;
    } else if (s.SelectionStatus == 2 && strictlyInside(s, rawX, rawY)) {
        s.SelectionStatus = 3;
        PressPointX = rawX;
        PressPointY = rawY;
        SelectionMoveStart = s;
    } else if (s.SelectionStatus == 4) {
        s.SelectionStatus = 3;
        PressPointX = rawX;
        PressPointY = rawY;
        SelectionMoveStart = s;
    }
    if ((s.SelectionStatus == 2 || s.SelectionStatus == 3) && !strictlyInside(s, rawX, rawY))
        selectionDropOrLeave();
}

void TNetworkForm::selectionDropOrLeave()
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    auto leave = [&] {
        clearRectangle(s);
        n.SetSelectedItems(s);
        NetworkImage->setCursor(Cursors[SelectionCursorSlot]);
        SetDesignMode();
    };
    if (s.SelectionStatus == 0) {
        leave();
        return;
    }
    SetSelectedNodesXYSnapToGrid();
    auto keepSelected = [&] {
        n.GetMinMaxXYSelection(s.SelectionStartX, s.SelectionStartY, s.SelectionEndX, s.SelectionEndY, false);
        s.SelectionStatus = 2;
    };
    if (n.ExistsSelectedNodeOffScreen()) {
        info("The selection cannot be moved off the drawing grid.\r\rPlease reposition the selection elsewhere.");
        n.ResetSelectedNodesXY(0, 0);
        keepSelected();
        return;
    }
    if (n.ExistsAnyNodeOrPipeDrawingIssue()) {
        if (ask("The selection cannot be moved to this position. \r\rEither a node has been placed on top of an "
                "existing node or \ra pipe from one of the nodes now crosses over an unconnected node.\r\rThis type of "
                "drawing overlap is disallowed to avoid confusion.\r\rYou can now either delete the selected items or "
                "try to reposition them.\r\r\rChoose 'No' to delete the currently selected items.\r\rChoose 'Yes' to "
                "reposition the selection elsewhere.")) {
            n.ResetSelectedNodesXY(0, 0);
            n.MoveSelectedNodes(10, 10);
            keepSelected();
        } else {
            ActionLog->Clear();
            n.DeleteSelectedItems();
            s.SelectionStatus = 0;
            leave();
        }
        return;
    }
    if (s.SelectionPasted && n.GetNumberOfNodesSelected() > 0 &&
        ask("The names/ids of the pasted items were copied from the original items.\r\rDo you wish to auto update the "
            "item names to match the actual pipe and node ids?\r"))
        n.UpdateSelectedItemsToAutoNameIds();
    s.SelectionStatus = 0;
    s.SelectionPasted = false;
    leave();
}

void TNetworkForm::selectionMove(int X, int Y, bool LeftHeld, int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    if (s.SelectionStatus == 9) {
        ImageDrawCursorType->move(X + 12, Y + 23);
        if (DragStatus == 1 && LeftHeld) {
            panTo(X, Y);
            RefreshScreenImageOnly(true);
        } else {
            NetworkImage->setCursor(Qt::ArrowCursor);
        }
        return;
    }
    ImageDrawCursorType->hide();
    NetworkImage->setCursor(Cursors[SelectionCursorSlot]);
    switch (s.SelectionStatus) {
    case 1:
        NetworkImage->setCursor(Cursors[SelectionDragCursorSlot]);
        s.SelectionEndX = rawX;
        s.SelectionEndY = rawY;
        RefreshScreenImageOnly(true);
        break;
    case 2:
    case 4: NetworkImage->setCursor(Cursors[PanCursorSlot]); break;
    case 3: {
        NetworkImage->setCursor(Cursors[PanCursorSlot]);
        const int dx = rawX - PressPointX, dy = rawY - PressPointY;
        s.SelectionStartX = SelectionMoveStart.SelectionStartX + dx;
        s.SelectionStartY = SelectionMoveStart.SelectionStartY + dy;
        s.SelectionEndX = SelectionMoveStart.SelectionEndX + dx;
        s.SelectionEndY = SelectionMoveStart.SelectionEndY + dy;
        CurrentNetwork->MoveSelectedNodes(dx, dy);
        RefreshScreenImageOnly(true);
        break;
    }
    default: break;
    }
}

void TNetworkForm::selectionRelease()
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    switch (s.SelectionStatus) {
    case 1:
        s.SelectionStatus = 2;
        normalise(s);
        n.SetSelectedItems(s);
        break;
    case 3:
        SetSelectedNodesXYSnapToGrid();
        n.ResetSelectedNodesXY(0, 0);
        n.GetMinMaxXYSelection(s.SelectionStartX, s.SelectionStartY, s.SelectionEndX, s.SelectionEndY, false);
        SelectionMoveStart = s;
        RefreshScreenImageOnly(true);
        repaintNetworkImage();
        s.SelectionStatus = 4;
        break;
    case 4: s.SelectionStatus = 3; break;
    default: break;
    }
}

// --- the fluid-zone rectangle -------------------------------------------------------

void TNetworkForm::fluidZonePress(int X, int Y, int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    ImageDrawCursorType->move(X + 8, Y + 24);
    ImageDrawCursorType->show();
    if (s.SelectionStatus == 0) {
        s.SelectionStatus = 1;
        s.SelectionStartX = s.SelectionEndX = rawX;
        s.SelectionStartY = s.SelectionEndY = rawY;
    }
}

void TNetworkForm::fluidZoneMove(int X, int Y, int rawX, int rawY)
{
    TNetworkStates &s = NetworkStates;
    NetworkImage->setCursor(Cursors[SelectionCursorSlot]);
    ImageDrawCursorType->move(X + 8, Y + 24);
    if (s.SelectionStatus == 1) {
        NetworkImage->setCursor(Cursors[SelectionDragCursorSlot]);
        ImageDrawCursorType->move(X + 15, Y + 33);
        s.SelectionEndX = rawX;
        s.SelectionEndY = rawY;
        RefreshScreenImageOnly(true);
    }
}

void TNetworkForm::fluidZoneRelease()
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    ImageDrawCursorType->hide();
    if (s.SelectionStatus == 1) {
        s.SelectionStatus = 0;
        normalise(s);
        n.SetSelectedItems(s);
        n.UpdateSelectedItemsToFluidZone(n.CurrentFluidZone);
    }
    clearRectangle(s);
    ToolButtonCursorArrowClick();
    RefreshScreenImageOnly(true);
}

} // namespace tessaran
