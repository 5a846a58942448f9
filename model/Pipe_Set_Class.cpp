#include "model/Pipe_Set_Class.h"

namespace tessaran {

namespace {

[[noreturn]] void OutOfRange(const char *operation, int id)
{
    throw EPipeClass(std::string("TPipeSet.") + operation + " Failed: Specified PipeId=" + std::to_string(id) +
                     " is outside 1 to " + std::to_string(TPipeSet::MaxNumberOfPipes));
}

} // namespace

void TPipeSet::Clear() { PipeArray.Clear(); }

void TPipeSet::CopyPipeSet(const TPipeSet &ThePipeSet)
{
    PipeArray.CopyFrom(ThePipeSet.PipeArray, [](TPipe &to, const TPipe &from) { to.Copy(from); });
}

void TPipeSet::DeSelectPipes()
{
    for (int id = 1; id <= MaxNumberOfPipes; ++id)
        PipeArray.SlotAt(id).item->Selected = false;
}

int TPipeSet::AddPipe(const TPipe &ThePipe)
{
    int id = PipeArray.Take();
    if (id < 1)
        throw EPipeClass("TPipeSet.AddPipe Failed: May have reached Max number of pipes allowed");
    PipeArray.SlotAt(id).item->Copy(ThePipe);
    return id;
}

void TPipeSet::RemovePipe(int ThePipeId)
{
    if (ThePipeId < 1)
        return;
    if (ThePipeId <= MaxNumberOfPipes && PipeArray.ExistsOnFreeList(ThePipeId))
        return;
    if (!PipeArray.IsUsed(ThePipeId))
        throw EPipeClass("TPipeSet.RemovePipe Failed: Specified PipeId=" + std::to_string(ThePipeId) +
                         " may not be valid (or is not a used Pipe)");
    PipeArray.Release(ThePipeId);
}

void TPipeSet::ReplacePipe(int ThePipeId, const TPipe &ThePipe) { GetPipe(ThePipeId).Copy(ThePipe); }

TPipe &TPipeSet::GetPipe(int ThePipeId)
{
    if (!PipeArray.InRange(ThePipeId))
        OutOfRange("GetPipe", ThePipeId);
    PipeArray.Touch(ThePipeId); // the caller may change it
    return *PipeArray.SlotAt(ThePipeId).item;
}

const TPipe &TPipeSet::GetPipe(int ThePipeId) const
{
    if (!PipeArray.InRange(ThePipeId))
        OutOfRange("GetPipe", ThePipeId);
    return *PipeArray.SlotAt(ThePipeId).item;
}

int TPipeSet::NextFreeId(int ThePipeId) const
{
    if (!PipeArray.InRange(ThePipeId))
        OutOfRange("NextFreeId", ThePipeId);
    return PipeArray.SlotAt(ThePipeId).NextFreeId;
}

bool TPipeSet::ExistsOnFreeList(int ThePipeId) const { return PipeArray.ExistsOnFreeList(ThePipeId); }

int TPipeSet::GetPipeIdFromName(const std::string &ThePipeName) const
{
    for (int id = MaxNumberOfPipes; id >= 1; --id)
        if (PipeArray.IsUsed(id) && PipeArray.SlotAt(id).item->Name == ThePipeName)
            return id;
    return -1;
}

void TPipeSet::Save(TStream &TheFileStream, const std::string &FileVersion) const
{
    PipeArray.Save(TheFileStream, FileVersion);
}

void TPipeSet::Load(TStream &TheFileStream, const std::string &FileVersion)
{
    PipeArray.Load(TheFileStream, FileVersion,
                   [](const std::string &why) { throw EPipeClass("TPipeSet.Load Failed: " + why); });
}

} // namespace tessaran
