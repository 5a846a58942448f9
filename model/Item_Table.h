#pragma once
// The fixed table behind the node and pipe tables: 1000 preallocated items
// addressed by stable ids 1..1000, with the free slots chained in a free list
// so that an add takes the most recently freed id first.
//
// A slot's link is 0 while it is used; a free slot links to the next free id,
// -1 ending the chain.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Stream.h"

namespace tessaran {

template <typename Item>
class TItemTable {
public:
    static constexpr int MaxItems = 1000;

    struct Slot {
        std::unique_ptr<Item> item = std::make_unique<Item>();
        int NextFreeId = 0;
    };

    TItemTable() { Rechain(); }

    // Clears only the slots ever taken or loaded since the last clear: the
    // rest are as new, so an empty table clears at once.
    void Clear()
    {
        for (int id = 1; id <= touched_; ++id)
            SlotAt(id).item->Clear();
        touched_ = 0;
        Rechain();
    }

    static bool InRange(int id) { return id >= 1 && id <= MaxItems; }
    Slot &SlotAt(int id) { return slots_[static_cast<std::size_t>(id - 1)]; }
    const Slot &SlotAt(int id) const { return slots_[static_cast<std::size_t>(id - 1)]; }
    bool IsUsed(int id) const { return InRange(id) && SlotAt(id).NextFreeId == 0; }

    // Takes the free-list head for a new item; -1 when the table is full.
    int Take()
    {
        if (FreeListHead < 1)
            return -1;
        int id = FreeListHead;
        FreeListHead = SlotAt(id).NextFreeId;
        SlotAt(id).NextFreeId = 0;
        ++UsedCount;
        Touch(id);
        return id;
    }

    // Puts a used id back at the head of the free list, clearing its item.
    void Release(int id)
    {
        Slot &slot = SlotAt(id);
        slot.NextFreeId = FreeListHead;
        slot.item->Clear();
        FreeListHead = id;
        --UsedCount;
    }

    bool ExistsOnFreeList(int id) const
    {
        int current = FreeListHead;
        for (int steps = 0; current > 0 && steps < MaxItems; ++steps) {
            if (current == id)
                return true;
            current = SlotAt(current).NextFreeId;
        }
        return false;
    }

    int NextUsedId(int current) const
    {
        if (current >= MaxItems)
            return -1;
        for (int id = (current < 0 ? 0 : current) + 1; id <= MaxItems; ++id)
            if (SlotAt(id).NextFreeId == 0)
                return id;
        return -1;
    }

    int PreviousUsedId(int current) const
    {
        if (current <= 1)
            return -1;
        for (int id = (current > MaxItems + 1 ? MaxItems + 1 : current) - 1; id >= 1; --id)
            if (SlotAt(id).NextFreeId == 0)
                return id;
        return -1;
    }

    template <typename CopyItem>
    void CopyFrom(const TItemTable &other, CopyItem copyItem)
    {
        for (int id = 1; id <= MaxItems; ++id) {
            copyItem(*SlotAt(id).item, *other.SlotAt(id).item);
            SlotAt(id).NextFreeId = other.SlotAt(id).NextFreeId;
        }
        FreeListHead = other.FreeListHead;
        UsedCount = other.UsedCount;
        touched_ = MaxItems;
    }

    void Save(TStream &stream, const std::string &version) const
    {
        stream.WriteInt32(UsedCount);
        for (int id = 1; id <= MaxItems; ++id) {
            if (SlotAt(id).NextFreeId != 0)
                continue;
            stream.WriteInt32(id);
            SlotAt(id).item->Save(stream, version);
            stream.WriteInt32(0);
        }
    }

    // Reads a table written by Save. Ids come from a file and are not trusted:
    // a bad count, an id outside 1..1000 or an id read twice raises through
    // fail(message); any failure leaves the table cleared.
    template <typename Fail>
    void Load(TStream &stream, const std::string &version, Fail fail)
    {
        Clear();
        try {
            int count = stream.ReadInt32();
            if (count < 0 || count > MaxItems)
                fail("item count " + std::to_string(count) + " outside 0 to " + std::to_string(MaxItems));
            for (int n = 0; n < count; ++n) {
                int id = stream.ReadInt32();
                if (!InRange(id))
                    fail("id " + std::to_string(id) + " outside 1 to " + std::to_string(MaxItems));
                if (SlotAt(id).NextFreeId == 0)
                    fail("id " + std::to_string(id) + " stored twice");
                int successor = SlotAt(id).NextFreeId;
                Touch(id);
                SlotAt(id).item->Load(stream, version);
                stream.ReadInt32(); // the stored link carries nothing
                for (auto &slot : slots_)
                    if (slot.NextFreeId == id)
                        slot.NextFreeId = successor;
                if (FreeListHead == id)
                    FreeListHead = successor;
                SlotAt(id).NextFreeId = 0;
                ++UsedCount;
            }
        } catch (...) {
            Clear();
            throw;
        }
    }

    int FreeListHead = 1;
    int UsedCount = 0;

    // Marks a slot whose item may no longer be as new. Items are reached
    // by id, so a caller that writes an item it did not take says so here.
    void Touch(int id)
    {
        if (id > touched_)
            touched_ = id;
    }

private:
    void Rechain()
    {
        for (int id = 1; id <= MaxItems; ++id)
            SlotAt(id).NextFreeId = id < MaxItems ? id + 1 : -1;
        FreeListHead = 1;
        UsedCount = 0;
    }

    std::array<Slot, MaxItems> slots_;
    int touched_ = 0; // slots above it are as new
};

} // namespace tessaran
