#pragma once
// The undo log: a ring of 3000 records of node and pipe additions and
// removals, grouped by separator records. One log serves all tabs; every
// record owns a node and a pipe made once and only copied into afterwards.

#include "model/Node_Class.h"
#include "model/Pipe_Class.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaran {

enum TActionType : std::uint8_t {
    ActionNone,
    ActionSeparator,
    ActionAddSupply,
    ActionAddDischarge,
    ActionAddEndPressure,
    ActionAddJoint,
    ActionAddPipeLink,
    ActionRemoveSupply,
    ActionRemoveDischarge,
    ActionRemoveEndPressure,
    ActionRemoveJoint,
    ActionRemovePipeLink,
};

struct TActionRecord {
    TActionType Action = ActionNone;
    std::int32_t NodeId = 0;
    TNode *Node = nullptr; // the record's own node
    std::int32_t PipeFromNodeId = 0;
    std::int32_t PipeToNodeId = 0;
    std::int32_t PipeId = 0;
    TPipe *Pipe = nullptr; // the record's own pipe
};

class TActionLog {
public:
    static constexpr int MaxActions = 3000;

    TActionLog();
    TActionLog(const TActionLog &) = delete;
    TActionLog &operator=(const TActionLog &) = delete;

    void Clear();
    static int GetNextId(int TheId);
    static int GetPreviousId(int TheId);
    int GetNextActionId();
    int GetNextUndoActionId();
    int GetNextRedoActionId();
    // The record of that id (1..3000); its node and pipe are the record's own.
    const TActionRecord &GetAction(int TheActionId) const;

    void AddSeparator();
    void AddSupply(int TheNodeId, const TNode &TheNode) { addNode(ActionAddSupply, TheNodeId, TheNode); }
    void AddDischarge(int TheNodeId, const TNode &TheNode) { addNode(ActionAddDischarge, TheNodeId, TheNode); }
    void AddEndPressure(int TheNodeId, const TNode &TheNode) { addNode(ActionAddEndPressure, TheNodeId, TheNode); }
    void AddJoint(int TheNodeId, const TNode &TheNode) { addNode(ActionAddJoint, TheNodeId, TheNode); }
    void AddPipeLink(int TheFromNodeId, int TheToNodeId, int ThePipeId, const TPipe &ThePipe);
    void RemovePipeLink(int TheFromNodeId, int TheToNodeId, const TPipe &ThePipe);
    // Withdraws the separator just added, when its edit was refused.
    void RemoveSeparator();
    // A node brought back under another id than its records name: every
    // record naming one of the two ids names the other from then on.
    void SwapNodeIds(int FirstNodeId, int SecondNodeId);

    std::int32_t ActionIdCurrent = 0;
    std::int32_t ActionIdLowestUndo = 0;
    std::int32_t ActionIdHighestRedo = 0;

private:
    TActionRecord &record(int TheActionId);
    void addNode(TActionType TheAction, int TheNodeId, const TNode &TheNode);

    std::vector<TActionRecord> ActionLogArray; // index 0 unused
    std::vector<std::unique_ptr<TNode>> nodes_;
    std::vector<std::unique_ptr<TPipe>> pipes_;
};

} // namespace tessaran
