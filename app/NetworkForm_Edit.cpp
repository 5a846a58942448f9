// Editing commands and the undo log: undo and redo by groups, delete of
// the highlighted item or of the selection, and freeing the end of a pipe.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"

#include <QToolButton>

namespace tessaran {

// Every tab switch and file load empties the one undo log of all tabs.
void TNetworkForm::ClearActionLog()
{
    if (ActionLog)
        ActionLog->Clear();
}

// A node comes back under the id the network gives it; when that is not
// the id its records name, the records are told, so that the pipes of this
// and later groups join the node they were drawn to.
void TNetworkForm::restoreLoggedNode(const TActionRecord &r)
{
    const int loggedId = r.NodeId;
    const int id = CurrentNetwork->AddNode(*r.Node);
    if (id != loggedId)
        ActionLog->SwapNodeIds(loggedId, id);
}

void TNetworkForm::applyActionRecord(const TActionRecord &r, bool undo)
{
    TNetwork &n = *CurrentNetwork;
    const bool addsNode = r.Action >= ActionAddSupply && r.Action <= ActionAddJoint;
    const bool removesNode = r.Action >= ActionRemoveSupply && r.Action <= ActionRemoveJoint;
    try {
        if (addsNode || removesNode) {
            if (addsNode == undo)
                n.RemoveNode(r.NodeId);
            else
                restoreLoggedNode(r);
        } else if (r.Action == ActionAddPipeLink || r.Action == ActionRemovePipeLink) {
            if ((r.Action == ActionAddPipeLink) == undo)
                n.RemovePipeLinkBetweenNodes(r.PipeFromNodeId, r.PipeToNodeId);
            else
                n.AddPipeLink(r.PipeFromNodeId, r.PipeToNodeId, *r.Pipe);
        }
    } catch (const std::exception &) {
        // An item the record names is no longer there: nothing to take back.
    }
}

void TNetworkForm::undoActionGroup()
{
    for (int id = ActionLog->GetNextUndoActionId(); id > 0; id = ActionLog->GetNextUndoActionId()) {
        const TActionRecord &r = ActionLog->GetAction(id);
        if (r.Action == ActionSeparator)
            break;
        applyActionRecord(r, true);
    }
}

void TNetworkForm::withdrawLastActionGroup()
{
    undoActionGroup();
    // What was taken back cannot be redone.
    ActionLog->ActionIdHighestRedo = ActionLog->ActionIdCurrent;
}

void TNetworkForm::showAfterUndoOrRedo()
{
    ClearNetworkStates(NetworkStates);
    UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    renderNetwork(true);
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
    repaintNetworkImage();
}

void TNetworkForm::ToolButtonUndo1Click()
{
    ClearNetworkStates(NetworkStates);
    undoActionGroup();
    showAfterUndoOrRedo();
}

void TNetworkForm::ToolButtonRedo1Click()
{
    ClearNetworkStates(NetworkStates);
    const int current = ActionLog->ActionIdCurrent;
    if (current >= 1 && ActionLog->GetAction(current).Action != ActionSeparator)
        ActionLog->GetNextRedoActionId();
    for (int id = ActionLog->GetNextRedoActionId(); id > 0; id = ActionLog->GetNextRedoActionId()) {
        const TActionRecord &r = ActionLog->GetAction(id);
        if (r.Action == ActionNone || r.Action == ActionSeparator)
            break;
        applyActionRecord(r, false);
    }
    showAfterUndoOrRedo();
    RefreshScreen(true);
}

void TNetworkForm::Delete1Click()
{
    TNetworkStates &s = NetworkStates;
    TNetwork &n = *CurrentNetwork;
    switch (s.SelectionStatus) {
    case 0:
        if (s.CurrentPipeIdSelected < 1 && s.CurrentNodeIdSelected < 1) {
            info("No Items are selected. \r\rHighlight a pipe or node and then click on delete or\r\rUse the "
                 "selection tool to draw a rectangle around a group of items you wish to delete and then click on "
                 "delete.");
            return;
        }
        if (s.CurrentPipeIdSelected > 0 && ask("Are you sure you wish to delete the current highlighted pipe? ")) {
            int fromId = -1, toId = -1;
            n.GetFromAndToNodeIds(s.CurrentPipeIdSelected, fromId, toId);
            ActionLog->Clear();
            ActionLog->AddSeparator();
            ActionLog->RemovePipeLink(fromId, toId, n.GetPipe(s.CurrentPipeIdSelected));
            n.RemovePipeLink(s.CurrentPipeIdSelected);
            s.CurrentPipeIdSelected = s.PipeIdClick1 = s.PipeIdClick2 = 0;
        }
        if (s.CurrentNodeIdSelected > 0 &&
            ask("Are you sure you wish to delete the current highlighted node and all pipes that connect to the "
                "highlighted node?\r\rYou will not be able to undo this action.")) {
            ActionLog->Clear();
            n.RemoveAllPipeLinksFromToNode(s.CurrentNodeIdSelected);
            n.RemoveNode(s.CurrentNodeIdSelected);
            s.CurrentNodeIdSelected = 0;
        }
        RefreshScreen(true);
        return;
    case 9:
        if (ask("Are you sure you wish to delete the selected Items?\r\rAny pipes that connect to selected nodes "
                "will also be deleted.\r\rYou will not be able to undo this action."))
            deleteSelection();
        return;
    case 2:
    case 3:
    case 4:
        if (ask("Are you sure you wish to delete the selected Nodes and all pipes that connect to these "
                "nodes?\r\rYou will not be able to undo this action."))
            deleteSelection();
        return;
    default: return;
    }
}

void TNetworkForm::deleteSelection()
{
    ActionLog->Clear();
    CurrentNetwork->DeleteSelectedItems();
    NetworkStates.SelectionStatus = 0;
    SetDesignMode();
    RefreshScreenImageOnly(true);
    repaintNetworkImage();
}

void TNetworkForm::MovePipe1Click()
{
    TNetworkStates &s = NetworkStates;
    const int pipeId = s.CurrentPipeIdSelected;
    if (pipeId < 1)
        return;
    TNetwork &n = *CurrentNetwork;
    int fromId = -1, toId = -1;
    n.GetFromAndToNodeIds(pipeId, fromId, toId);
    s.CurrentNodeIdSelected = s.NodeIdClick1 = fromId;
    s.NodeIdClick2 = 0;
    ScratchPipes[0]->Copy(n.GetPipe(pipeId));
    ActionLog->AddSeparator();
    ActionLog->RemovePipeLink(fromId, toId, n.GetPipe(pipeId));
    n.RemovePipeLink(pipeId);
    ToolButtonPipeAdd1Click();
    ToolButtonPipeAdd1->setChecked(true);
    s.CurrentNodeIdSelected = s.NodeIdClick1 = fromId;
    s.CurrentPipeIdSelected = -1;
    s.RubberBand = true;
    s.MovingPipe = true;
    RefreshScreenImageOnly(true);
}

} // namespace tessaran
