// Editing commands and the undo log.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"

namespace tessaran {

// Every tab switch and file load empties the one undo log of all tabs.
void TNetworkForm::ClearActionLog()
{
    if (ActionLog)
        ActionLog->Clear();
}

void TNetworkForm::withdrawLastActionGroup()
{
    TNetwork &n = *CurrentNetwork;
    for (int id = ActionLog->GetNextUndoActionId(); id > 0; id = ActionLog->GetNextUndoActionId()) {
        const TActionRecord &r = ActionLog->GetAction(id);
        if (r.Action == ActionSeparator)
            break;
        switch (r.Action) {
        case ActionAddSupply:
        case ActionAddDischarge:
        case ActionAddEndPressure:
        case ActionAddJoint: n.RemoveNode(r.NodeId); break;
        case ActionAddPipeLink: n.RemovePipeLinkBetweenNodes(r.PipeFromNodeId, r.PipeToNodeId); break;
        case ActionRemovePipeLink: n.AddPipeLink(r.PipeFromNodeId, r.PipeToNodeId, *r.Pipe); break;
        default: break;
        }
    }
    // What was taken back cannot be redone.
    ActionLog->ActionIdHighestRedo = ActionLog->ActionIdCurrent;
}

} // namespace tessaran
