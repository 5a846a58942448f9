#pragma once
// The node table of a network: 1000 preallocated nodes with stable ids.

#include <stdexcept>
#include <string>

#include "model/Item_Table.h"
#include "model/Node_Class.h"

namespace tessaran {

class ENodeClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TNodeSet {
public:
    static constexpr int MaxNumberOfNodes = TItemTable<TNode>::MaxItems;

    TNodeSet() = default;
    TNodeSet(const TNodeSet &) = delete;
    TNodeSet &operator=(const TNodeSet &) = delete;

    void Clear();
    void CopyNodeSet(const TNodeSet &TheNodeSet);
    void DeSelectNodes();
    int AddNode(const TNode &TheNode);
    void RemoveNode(int TheNodeId);
    void ReplaceNode(int TheNodeId, const TNode &TheNode);
    // The slot's node, used or not; an id outside 1..1000 raises ENodeClass.
    TNode &GetNode(int TheNodeId);
    const TNode &GetNode(int TheNodeId) const;
    int GetNodeSetClass_MaxNumberOfNodes() const { return MaxNumberOfNodes; }
    int getNextNodeId(int CurrentNodeId) const;
    int getPreviousNodeId(int CurrentNodeId) const;
    int getHighestNodeId() const;
    int ExistsNodeWithSamePosition(int X, int Y, int CurrentNodeId) const;
    int ExistsNodeWithinGivenDistance(int X, int Y, int xDistance, int yDistance, double OfScaleOrHigher,
                                      int CurrentNodeId) const;
    void Save(TStream &TheFileStream, const std::string &FileVersion) const;
    void Load(TStream &TheFileStream, const std::string &FileVersion);

    int NumberOfNodesUsed() const { return NodeArray.UsedCount; }
    int FreeListNodeId() const { return NodeArray.FreeListHead; }
    // The free-list link of a slot: 0 while used, else the next free id or -1.
    int NextFreeId(int TheNodeId) const;

    TItemTable<TNode> NodeArray;
    TNode TempNode;
};

} // namespace tessaran
