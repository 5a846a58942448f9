#include "app/Action_Log_Class.h"

#include <stdexcept>
#include <string>

namespace tessaran {

TActionLog::TActionLog() : ActionLogArray(MaxActions + 1)
{
    nodes_.reserve(MaxActions);
    pipes_.reserve(MaxActions);
    for (int id = 1; id <= MaxActions; ++id) {
        nodes_.push_back(std::make_unique<TNode>());
        pipes_.push_back(std::make_unique<TPipe>());
        ActionLogArray[static_cast<std::size_t>(id)].Node = nodes_.back().get();
        ActionLogArray[static_cast<std::size_t>(id)].Pipe = pipes_.back().get();
    }
}

TActionRecord &TActionLog::record(int TheActionId)
{
    if (TheActionId < 1 || TheActionId > MaxActions)
        throw std::out_of_range("TActionLog: action id " + std::to_string(TheActionId) + " outside 1..3000");
    return ActionLogArray[static_cast<std::size_t>(TheActionId)];
}

const TActionRecord &TActionLog::GetAction(int TheActionId) const
{
    return const_cast<TActionLog *>(this)->record(TheActionId);
}

void TActionLog::Clear()
{
    for (int id = 1; id <= MaxActions; ++id) {
        TActionRecord &r = record(id);
        r.Action = ActionNone;
        r.NodeId = r.PipeFromNodeId = r.PipeToNodeId = r.PipeId = 0;
        r.Node->Clear();
        r.Pipe->Clear();
    }
    ActionIdCurrent = ActionIdLowestUndo = ActionIdHighestRedo = 0;
}

int TActionLog::GetNextId(int TheId) { return TheId + 1 > MaxActions ? 1 : TheId + 1; }

int TActionLog::GetPreviousId(int TheId) { return TheId - 1 < 1 ? MaxActions : TheId - 1; }

int TActionLog::GetNextActionId()
{
    ++ActionIdCurrent;
    if (ActionIdCurrent > MaxActions) {
        ActionIdCurrent = 1;
        ActionIdLowestUndo = 1;
    }
    if (ActionIdLowestUndo == ActionIdCurrent)
        ActionIdLowestUndo = GetNextId(ActionIdLowestUndo);
    ActionIdHighestRedo = ActionIdCurrent;
    return ActionIdCurrent;
}

int TActionLog::GetNextUndoActionId()
{
    if (GetNextId(ActionIdLowestUndo) == ActionIdCurrent || ActionIdCurrent < 1)
        return 0;
    const int id = ActionIdCurrent;
    ActionIdCurrent = GetPreviousId(ActionIdCurrent);
    return id;
}

int TActionLog::GetNextRedoActionId()
{
    if (ActionIdCurrent == ActionIdHighestRedo)
        return 0;
    ActionIdCurrent = GetNextId(ActionIdCurrent);
    return ActionIdCurrent;
}

void TActionLog::AddSeparator() { record(GetNextActionId()).Action = ActionSeparator; }

void TActionLog::addNode(TActionType TheAction, int TheNodeId, const TNode &TheNode)
{
    TActionRecord &r = record(GetNextActionId());
    r.Action = TheAction;
    r.NodeId = TheNodeId;
    r.Node->Copy(TheNode);
    r.PipeFromNodeId = r.PipeToNodeId = r.PipeId = 0;
    r.Pipe->Clear();
}

void TActionLog::AddPipeLink(int TheFromNodeId, int TheToNodeId, int ThePipeId, const TPipe &ThePipe)
{
    TActionRecord &r = record(GetNextActionId());
    r.Action = ActionAddPipeLink;
    r.NodeId = 0;
    r.Node->Clear();
    r.PipeFromNodeId = TheFromNodeId;
    r.PipeToNodeId = TheToNodeId;
    r.PipeId = ThePipeId;
    r.Pipe->Copy(ThePipe);
}

void TActionLog::RemovePipeLink(int TheFromNodeId, int TheToNodeId, const TPipe &ThePipe)
{
    TActionRecord &r = record(GetNextActionId());
    r.Action = ActionRemovePipeLink;
    r.NodeId = 0;
    r.Node->Clear();
    r.PipeFromNodeId = TheFromNodeId;
    r.PipeToNodeId = TheToNodeId;
    r.PipeId = 0;
    r.Pipe->Copy(ThePipe);
}

void TActionLog::RemoveSeparator()
{
    if (ActionIdCurrent < 1)
        return;
    record(ActionIdCurrent).Action = ActionNone;
    ActionIdCurrent = GetNextUndoActionId();
}

void TActionLog::SwapNodeIds(int FirstNodeId, int SecondNodeId)
{
    auto swapped = [&](std::int32_t &id) {
        if (id == FirstNodeId)
            id = SecondNodeId;
        else if (id == SecondNodeId)
            id = FirstNodeId;
    };
    for (int id = 1; id <= MaxActions; ++id) {
        TActionRecord &r = record(id);
        if (r.Action == ActionNone || r.Action == ActionSeparator)
            continue;
        swapped(r.NodeId);
        swapped(r.PipeFromNodeId);
        swapped(r.PipeToNodeId);
    }
}

} // namespace tessaran
