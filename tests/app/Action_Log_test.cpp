#include "app/Action_Log_Class.h"

#include <gtest/gtest.h>

namespace tessaran::test {
namespace {

TEST(ActionLog, RecordsClaimIdsAroundTheRingAndKeepTheirOwnCopies)
{
    TActionLog log;
    EXPECT_EQ(log.GetNextUndoActionId(), 0);
    EXPECT_EQ(log.GetNextRedoActionId(), 0);
    EXPECT_EQ(log.ActionIdCurrent, 0);

    TNode node;
    node.Name = "N7";
    TPipe pipe;
    pipe.Name = "P3";
    log.AddSeparator();
    log.AddJoint(7, node);
    log.AddPipeLink(7, 8, 3, pipe);
    node.Name = "changed";
    pipe.Name = "changed";
    EXPECT_EQ(log.GetAction(1).Action, ActionSeparator);
    EXPECT_EQ(log.GetAction(2).Action, ActionAddJoint);
    EXPECT_EQ(log.GetAction(2).NodeId, 7);
    EXPECT_EQ(log.GetAction(2).Node->Name, "N7");
    EXPECT_EQ(log.GetAction(3).PipeFromNodeId, 7);
    EXPECT_EQ(log.GetAction(3).PipeToNodeId, 8);
    EXPECT_EQ(log.GetAction(3).PipeId, 3);
    EXPECT_EQ(log.GetAction(3).Pipe->Name, "P3");
    const TNode *own = log.GetAction(2).Node;

    // A separator withdrawn at once leaves nothing to undo.
    log.Clear();
    log.AddSeparator();
    log.RemoveSeparator();
    EXPECT_EQ(log.ActionIdCurrent, 0);
    EXPECT_EQ(log.GetAction(1).Action, ActionNone);
    EXPECT_EQ(log.GetNextUndoActionId(), 0);
    EXPECT_EQ(log.ActionIdCurrent, 0) << "never steps below record 1";

    // Past 3000 records the oldest are overwritten and the undo boundary
    // stays one ahead of the newest record; the objects are never replaced.
    for (int i = 0; i < 3001; ++i)
        log.AddSeparator();
    EXPECT_EQ(log.ActionIdCurrent, 1);
    EXPECT_EQ(log.ActionIdLowestUndo, 2);
    log.AddJoint(1, node);
    EXPECT_EQ(log.ActionIdCurrent, 2);
    EXPECT_EQ(log.ActionIdLowestUndo, 3);
    EXPECT_EQ(log.GetAction(2).Node, own);
    EXPECT_EQ(log.GetNextUndoActionId(), 2);
    EXPECT_EQ(log.GetNextUndoActionId(), 1);
    EXPECT_EQ(log.GetNextUndoActionId(), 3000);
    EXPECT_EQ(log.GetNextRedoActionId(), 3000);
}

} // namespace
} // namespace tessaran::test
