#include "model/Node_Set_Class.h"

#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

TNode NamedNode(const std::string &name, int x = 0, int y = 0)
{
    TNode node;
    node.Name = name;
    node.NodeType = Joint;
    node.x = x;
    node.y = y;
    return node;
}

std::vector<int> FreeChain(const TNodeSet &set, int limit = 5)
{
    std::vector<int> chain;
    for (int id = set.FreeListNodeId(); id > 0 && static_cast<int>(chain.size()) < limit; id = set.NextFreeId(id))
        chain.push_back(id);
    return chain;
}

TEST(NodeSet, AddsTakeTheMostRecentlyFreedIdFirst)
{
    struct Step {
        char op; // 'a' add, 'r' remove
        int id;  // expected id of an add, id to remove
    } steps[] = {{'a', 1}, {'a', 2}, {'a', 3}, {'r', 2}, {'a', 2}, {'r', 1}, {'r', 3}, {'a', 3}, {'a', 1}, {'a', 4}};
    TNodeSet set;
    EXPECT_EQ(set.NumberOfNodesUsed(), 0);
    EXPECT_EQ(FreeChain(set), (std::vector<int>{1, 2, 3, 4, 5}));
    int used = 0;
    for (const auto &step : steps) {
        if (step.op == 'a') {
            EXPECT_EQ(set.AddNode(NamedNode("n" + std::to_string(step.id))), step.id);
            ++used;
        } else {
            set.RemoveNode(step.id);
            --used;
        }
        EXPECT_EQ(set.NumberOfNodesUsed(), used);
    }
    EXPECT_EQ(set.GetNode(3).Name, "n3");
    EXPECT_EQ(set.NextFreeId(3), 0);
    EXPECT_EQ(FreeChain(set, 3), (std::vector<int>{5, 6, 7}));
}

TEST(NodeSet, AFullTableRefusesTheNextAddCleanly)
{
    TNodeSet set;
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(set.AddNode(NamedNode("n")), i);
    EXPECT_EQ(set.FreeListNodeId(), -1);
    try {
        set.AddNode(NamedNode("one too many"));
        ADD_FAILURE();
    } catch (const ENodeClass &e) {
        EXPECT_STREQ(e.what(), "TNodeSet.AddNode Failed: May have reached Max number of nodes allowed");
    }
    EXPECT_EQ(set.NumberOfNodesUsed(), 1000);
    set.RemoveNode(417);
    EXPECT_EQ(set.AddNode(NamedNode("back")), 417);
    EXPECT_EQ(set.GetNode(417).Name, "back");
}

TEST(NodeSet, RemoveAndGetRefuseIdsThatAreNotUsedNodes)
{
    TNodeSet set;
    set.AddNode(NamedNode("a"));
    set.AddNode(NamedNode("b"));
    set.RemoveNode(0);
    set.RemoveNode(-5);
    EXPECT_EQ(set.NumberOfNodesUsed(), 2);

    struct Case {
        int id;
        std::string message;
    } cases[] = {
        {1000, "TNodeSet.RemoveNode Failed: Specified NodeId 1000 may not be valid (or is not a used Node). "
               "NextNodeId=-1"},
        {3, "TNodeSet.RemoveNode Failed: Specified NodeId 3 may not be valid (or is not a used Node). NextNodeId=4"},
        {1001, "TNodeSet.RemoveNode Failed: Specified NodeId 1001 may not be valid (or is not a used Node)."},
    };
    for (const auto &c : cases) {
        try {
            set.RemoveNode(c.id);
            ADD_FAILURE() << c.id;
        } catch (const ENodeClass &e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(set.NumberOfNodesUsed(), 2);
    for (int id : {0, 1001, -1})
        EXPECT_THROW(set.GetNode(id), ENodeClass) << id;
    EXPECT_NO_THROW(set.GetNode(1000)); // free slots are reachable
}

TEST(NodeSet, IterationWalksUsedIdsInOrder)
{
    TNodeSet set;
    EXPECT_EQ(set.getNextNodeId(0), -1);
    EXPECT_EQ(set.getPreviousNodeId(1), -1);
    EXPECT_EQ(set.getHighestNodeId(), -1);
    for (int i = 0; i < 6; ++i)
        set.AddNode(NamedNode("n"));
    set.RemoveNode(2);
    set.RemoveNode(6);
    std::vector<int> ids;
    for (int id = set.getNextNodeId(0); id > 0; id = set.getNextNodeId(id))
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(set.getHighestNodeId(), 5);
    EXPECT_EQ(set.getPreviousNodeId(3), 1);
    EXPECT_EQ(set.getPreviousNodeId(1), -1);
    EXPECT_EQ(set.getNextNodeId(5), -1);
    EXPECT_EQ(set.getNextNodeId(1000), -1);
    EXPECT_EQ(set.getPreviousNodeId(5000), 5);
}

TEST(NodeSet, PositionSearchesGiveTheHighestOtherUsedId)
{
    TNodeSet set;
    set.AddNode(NamedNode("a", 100, 200));
    set.AddNode(NamedNode("b", 100, 200));
    TNode small = NamedNode("c", 104, 197);
    small.NodeScale = 0.5;
    set.AddNode(small);
    set.AddNode(NamedNode("d", 100, 200));
    set.RemoveNode(4);
    EXPECT_EQ(set.ExistsNodeWithSamePosition(100, 200, 0), 2);
    EXPECT_EQ(set.ExistsNodeWithSamePosition(100, 200, 2), 1);
    EXPECT_EQ(set.ExistsNodeWithSamePosition(101, 200, 0), 0);
    EXPECT_EQ(set.ExistsNodeWithinGivenDistance(102, 199, 5, 5, 0.5, 0), 3);
    EXPECT_EQ(set.ExistsNodeWithinGivenDistance(102, 199, 5, 5, 1.0, 0), 2);
    EXPECT_EQ(set.ExistsNodeWithinGivenDistance(102, 199, 2, 5, 1.0, 0), 0); // |100 - 102| is not below 2
}

TEST(NodeSet, SavedUsedIdsLoadBackAndTheRestStayFreeInOrder)
{
    TNodeSet set;
    for (int i = 1; i <= 900; ++i)
        set.AddNode(NamedNode("n" + std::to_string(i), i, -i));
    for (int i = 1; i <= 900; ++i)
        if (i != 5 && i != 900)
            set.RemoveNode(i);
    ASSERT_EQ(set.NumberOfNodesUsed(), 2);

    TMemoryStream stream;
    set.Save(stream, "7.40");
    stream.Seek(0);
    EXPECT_EQ(stream.ReadInt32(), 2);
    EXPECT_EQ(stream.ReadInt32(), 5);
    stream.Seek(0);

    TNodeSet loaded;
    loaded.AddNode(NamedNode("stale"));
    loaded.Load(stream, "7.40");
    EXPECT_EQ(stream.Remaining(), 0);
    EXPECT_EQ(loaded.NumberOfNodesUsed(), 2);
    EXPECT_EQ(loaded.GetNode(5).Name, "n5");
    EXPECT_EQ(loaded.GetNode(900).y, -900);
    EXPECT_EQ(FreeChain(loaded, 6), (std::vector<int>{1, 2, 3, 4, 6, 7}));
    EXPECT_EQ(loaded.AddNode(NamedNode("new")), 1);

    TNodeSet copy;
    copy.CopyNodeSet(loaded);
    EXPECT_EQ(copy.NumberOfNodesUsed(), 3);
    EXPECT_EQ(copy.GetNode(900).Name, "n900");
    EXPECT_EQ(copy.AddNode(NamedNode("x")), 2);
}

TEST(NodeSet, UntrustedTablesAreRefusedAndLeaveTheTableCleared)
{
    TNode node = NamedNode("n");
    auto table = [&](std::vector<int> ids, int count) {
        TMemoryStream stream;
        stream.WriteInt32(count);
        for (int id : ids) {
            stream.WriteInt32(id);
            node.Save(stream, "7.40");
            stream.WriteInt32(0);
        }
        stream.Seek(0);
        return stream;
    };
    struct Case {
        std::vector<int> ids;
        int count;
        bool streamError;
    } cases[] = {
        {{}, 1001, false}, {{}, -1, false}, {{0}, 1, false}, {{1001}, 1, false}, {{7, 7}, 2, false},
        {{3}, 2, true}, // ends inside the table
    };
    for (const auto &c : cases) {
        TNodeSet set;
        set.AddNode(NamedNode("before"));
        TMemoryStream stream = table(c.ids, c.count);
        if (c.streamError)
            EXPECT_THROW(set.Load(stream, "7.40"), EStreamError);
        else
            EXPECT_THROW(set.Load(stream, "7.40"), ENodeClass);
        EXPECT_EQ(set.NumberOfNodesUsed(), 0);
        EXPECT_EQ(set.FreeListNodeId(), 1);
        EXPECT_EQ(set.AddNode(NamedNode("after")), 1);
    }
}

} // namespace
} // namespace tessaran
