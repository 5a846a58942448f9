#pragma once
// The pipe table of a network: 1000 preallocated pipes with stable ids.

#include <string>

#include "model/Item_Table.h"
#include "model/Pipe_Class.h"

namespace tessaran {

class TPipeSet {
public:
    static constexpr int MaxNumberOfPipes = TItemTable<TPipe>::MaxItems;

    TPipeSet() = default;
    TPipeSet(const TPipeSet &) = delete;
    TPipeSet &operator=(const TPipeSet &) = delete;

    void Clear();
    void CopyPipeSet(const TPipeSet &ThePipeSet);
    void DeSelectPipes();
    int AddPipe(const TPipe &ThePipe);
    void RemovePipe(int ThePipeId);
    void ReplacePipe(int ThePipeId, const TPipe &ThePipe);
    // The slot's pipe, used or not; an id outside 1..1000 raises EPipeClass.
    TPipe &GetPipe(int ThePipeId);
    const TPipe &GetPipe(int ThePipeId) const;
    bool ExistsOnFreeList(int ThePipeId) const;
    int GetPipeIdFromName(const std::string &ThePipeName) const;
    void Save(TStream &TheFileStream, const std::string &FileVersion) const;
    void Load(TStream &TheFileStream, const std::string &FileVersion);

    int NumberOfPipesUsed() const { return PipeArray.UsedCount; }
    int FreeListPipeId() const { return PipeArray.FreeListHead; }
    int NextFreeId(int ThePipeId) const;

    TItemTable<TPipe> PipeArray;
};

} // namespace tessaran
