#include "model/Node_Set_Class.h"

#include <cstdlib>

namespace tessaran {

namespace {

[[noreturn]] void OutOfRange(const char *operation, int id)
{
    throw ENodeClass(std::string("TNodeSet.") + operation + " Failed: Specified NodeId " + std::to_string(id) +
                     " is outside 1 to " + std::to_string(TNodeSet::MaxNumberOfNodes));
}

} // namespace

void TNodeSet::Clear() { NodeArray.Clear(); }

void TNodeSet::CopyNodeSet(const TNodeSet &TheNodeSet)
{
    NodeArray.CopyFrom(TheNodeSet.NodeArray, [](TNode &to, const TNode &from) { to.Copy(from); });
}

void TNodeSet::DeSelectNodes()
{
    for (int id = 1; id <= MaxNumberOfNodes; ++id)
        NodeArray.SlotAt(id).item->Selected = false;
}

int TNodeSet::AddNode(const TNode &TheNode)
{
    int id = NodeArray.Take();
    if (id < 1)
        throw ENodeClass("TNodeSet.AddNode Failed: May have reached Max number of nodes allowed");
    NodeArray.SlotAt(id).item->Copy(TheNode);
    return id;
}

void TNodeSet::RemoveNode(int TheNodeId)
{
    if (TheNodeId < 1)
        return;
    if (TheNodeId > MaxNumberOfNodes)
        throw ENodeClass("TNodeSet.RemoveNode Failed: Specified NodeId " + std::to_string(TheNodeId) +
                         " may not be valid (or is not a used Node).");
    if (!NodeArray.IsUsed(TheNodeId))
        throw ENodeClass("TNodeSet.RemoveNode Failed: Specified NodeId " + std::to_string(TheNodeId) +
                         " may not be valid (or is not a used Node). NextNodeId=" +
                         std::to_string(NodeArray.SlotAt(TheNodeId).NextFreeId));
    NodeArray.Release(TheNodeId);
}

void TNodeSet::ReplaceNode(int TheNodeId, const TNode &TheNode) { GetNode(TheNodeId).Copy(TheNode); }

TNode &TNodeSet::GetNode(int TheNodeId)
{
    if (!NodeArray.InRange(TheNodeId))
        OutOfRange("GetNode", TheNodeId);
    NodeArray.Touch(TheNodeId); // the caller may change it
    return *NodeArray.SlotAt(TheNodeId).item;
}

const TNode &TNodeSet::GetNode(int TheNodeId) const
{
    if (!NodeArray.InRange(TheNodeId))
        OutOfRange("GetNode", TheNodeId);
    return *NodeArray.SlotAt(TheNodeId).item;
}

int TNodeSet::NextFreeId(int TheNodeId) const
{
    if (!NodeArray.InRange(TheNodeId))
        OutOfRange("NextFreeId", TheNodeId);
    return NodeArray.SlotAt(TheNodeId).NextFreeId;
}

int TNodeSet::getNextNodeId(int CurrentNodeId) const { return NodeArray.NextUsedId(CurrentNodeId); }

int TNodeSet::getPreviousNodeId(int CurrentNodeId) const { return NodeArray.PreviousUsedId(CurrentNodeId); }

int TNodeSet::getHighestNodeId() const { return NodeArray.PreviousUsedId(MaxNumberOfNodes + 1); }

int TNodeSet::ExistsNodeWithSamePosition(int X, int Y, int CurrentNodeId) const
{
    for (int id = MaxNumberOfNodes; id >= 1; --id) {
        if (id == CurrentNodeId || !NodeArray.IsUsed(id))
            continue;
        const TNode &node = *NodeArray.SlotAt(id).item;
        if (node.x == X && node.y == Y)
            return id;
    }
    return 0;
}

int TNodeSet::ExistsNodeWithinGivenDistance(int X, int Y, int xDistance, int yDistance, double OfScaleOrHigher,
                                            int CurrentNodeId) const
{
    for (int id = MaxNumberOfNodes; id >= 1; --id) {
        if (id == CurrentNodeId || !NodeArray.IsUsed(id))
            continue;
        const TNode &node = *NodeArray.SlotAt(id).item;
        if (std::abs(node.x - X) < xDistance && std::abs(node.y - Y) < yDistance && node.NodeScale >= OfScaleOrHigher)
            return id;
    }
    return 0;
}

void TNodeSet::Save(TStream &TheFileStream, const std::string &FileVersion) const
{
    NodeArray.Save(TheFileStream, FileVersion);
}

void TNodeSet::Load(TStream &TheFileStream, const std::string &FileVersion)
{
    NodeArray.Load(TheFileStream, FileVersion,
                   [](const std::string &why) { throw ENodeClass("TNodeSet.Load Failed: " + why); });
}

} // namespace tessaran
