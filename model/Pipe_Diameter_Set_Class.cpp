#include "model/Pipe_Diameter_Set_Class.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "model/Pipe_Table_Text.h"
#include "platform/Stream.h"
#include "platform/TextFile.h"

namespace tessaran {

namespace {

const std::string SupportContact = "Tessaran support.";

bool IsBlank(const std::string &line) { return line.find_first_not_of(" \t") == std::string::npos; }

} // namespace

TPipeDiameterSet::TPipeDiameterSet(int PipeDiameterSetSize)
    : MaxPipeCount(PipeDiameterSetSize < 0 ? 0 : PipeDiameterSetSize),
      PipeDiameterDataArray(static_cast<std::size_t>(MaxPipeCount))
{
}

TPipeData &TPipeDiameterSet::Slot(int id) const
{
    TPipeData &slot = PipeDiameterDataArray[static_cast<std::size_t>(id - 1)];
    if (!slot.Pipe)
        slot.Pipe = std::make_unique<TPipe>();
    return slot;
}

void TPipeDiameterSet::CheckId(int id, const char *operation) const
{
    if (id < 1 || id > MaxPipeCount)
        throw EPipeDiameterSetClass(std::string("TPipeDiameterSet.") + operation + " Failed: Specified Id " +
                                    std::to_string(id) + " is outside 1 to " + std::to_string(MaxPipeCount));
}

void TPipeDiameterSet::Clear()
{
    for (auto &slot : PipeDiameterDataArray)
        if (slot.Pipe)
            slot.Pipe->Clear();
    PipeCount = 0;
}

void TPipeDiameterSet::ReplacePipeDiameterData(int ThePipeDiameterDataId, const TPipe &The_PipeDiameterData)
{
    CheckId(ThePipeDiameterDataId, "ReplacePipeDiameterData");
    Slot(ThePipeDiameterDataId).Pipe->Copy(The_PipeDiameterData);
}

TPipe &TPipeDiameterSet::GetPipeDiameterData(int ThePipeDiameterDataId)
{
    CheckId(ThePipeDiameterDataId, "GetPipeDiameterData");
    return *Slot(ThePipeDiameterDataId).Pipe;
}

const TPipe &TPipeDiameterSet::GetPipeDiameterData(int ThePipeDiameterDataId) const
{
    CheckId(ThePipeDiameterDataId, "GetPipeDiameterData");
    return *Slot(ThePipeDiameterDataId).Pipe;
}

TPipeFileType TPipeDiameterSet::GetPipeDiameterFileType(int ThePipeDiameterDataId) const
{
    CheckId(ThePipeDiameterDataId, "GetPipeDiameterFileType");
    return Slot(ThePipeDiameterDataId).PipeFileType;
}

void TPipeDiameterSet::SetPipeFileType(int ThePipeDiameterDataId, TPipeFileType ThePipeFileType)
{
    CheckId(ThePipeDiameterDataId, "SetPipeFileType");
    Slot(ThePipeDiameterDataId).PipeFileType = ThePipeFileType;
}

int TPipeDiameterSet::AddPipeDiameterData(const TPipe &The_PipeDiameterData)
{
    if (PipeCount >= MaxPipeCount)
        throw EPipeDiameterSetClass(
            "TPipeDiameterSet.AddPipeDiameterData Failed: May have reached Max number of Pipes allowed");
    TPipeData &slot = Slot(PipeCount + 1);
    slot.Pipe->Copy(The_PipeDiameterData);
    slot.PipeFileType = PipeFileUser;
    return ++PipeCount;
}

void TPipeDiameterSet::RemovePipeDiameterData(int ThePipeDiameterDataId)
{
    if (ThePipeDiameterDataId < 1 || ThePipeDiameterDataId > PipeCount)
        throw EPipeDiameterSetClass("TPipeDiameterSet.RemovePipeDiameterData Failed: Specified Id may not be valid");
    // Rotate the removed slot's pipe to the end rather than copying every row.
    auto first = PipeDiameterDataArray.begin() + (ThePipeDiameterDataId - 1);
    std::rotate(first, first + 1, PipeDiameterDataArray.begin() + PipeCount);
    Slot(PipeCount).Pipe->Clear();
    Slot(PipeCount).PipeFileType = PipeFileUser;
    --PipeCount;
}

void TPipeDiameterSet::SortPipeSet(bool AscDec)
{
    std::vector<std::pair<std::string, int>> keys;
    for (int id = 1; id <= PipeCount; ++id) {
        std::string key = TableRealText(Slot(id).Pipe->OuterDiameter_m, 15, 4);
        if (key.size() < 16)
            key.insert(0, 16 - key.size(), ' ');
        keys.emplace_back(key + "\t" + std::to_string(id), id);
    }
    std::sort(keys.begin(), keys.end());
    if (!AscDec)
        std::reverse(keys.begin(), keys.end());
    std::vector<TPipeData> sorted;
    sorted.reserve(PipeDiameterDataArray.size());
    for (const auto &key : keys)
        sorted.push_back(std::move(Slot(key.second)));
    for (int id = PipeCount + 1; id <= MaxPipeCount; ++id)
        sorted.push_back(std::move(PipeDiameterDataArray[static_cast<std::size_t>(id - 1)]));
    PipeDiameterDataArray = std::move(sorted);
}

void TPipeDiameterSet::SaveToText_DiameterData(std::ostream &F) const
{
    try {
        for (int id = 1; id <= PipeCount; ++id)
            if (Slot(id).PipeFileType == PipeFileTessaran)
                Slot(id).Pipe->SaveDiameterDataToText(F);
    } catch (const EStreamError &) {
        throw EPipeDiameterSetClass("Code -03: Could not save file.");
    }
}

void TPipeDiameterSet::SaveUserPipes_DiameterData_ToText(std::ostream &F) const
{
    try {
        for (int id = 1; id <= PipeCount; ++id)
            if (Slot(id).PipeFileType == PipeFileUser)
                Slot(id).Pipe->SaveDiameterDataToText(F);
    } catch (const EStreamError &) {
        throw EPipeDiameterSetClass("Code -03a: Could not save file.");
    }
}

void TPipeDiameterSet::LoadRows(std::istream &F, const std::string &FileName, const std::string &Version,
                                const TWarningProc &Warning, bool userRows)
{
    auto warn = [&](const std::string &text) {
        if (Warning)
            Warning(text);
    };
    int slot = PipeCount + 1;
    int lineNumber = 1; // the header is line 1
    while (HasAnotherTextLine(F)) {
        const std::string line = ReadTextLine(F);
        ++lineNumber;
        if (IsBlank(line))
            continue;
        if (slot > MaxPipeCount) {
            // The rows that fit are kept: dropping the whole table would lose
            // every size of it over one row too many.
            if (userRows)
                warn("Too many pipes in file " + FileName + ". Ignore remaining data in file.");
            else
                warn("File too large. Max Pipes allowed in file is " + std::to_string(MaxPipeCount) + ".\r");
            break;
        }
        bool ok = false;
        Slot(slot).Pipe->LoadDiameterDataFromLine(line, FileName, Version, ok);
        if (ok) {
            Slot(slot).PipeFileType = userRows ? PipeFileUser : PipeFileTessaran;
            ++slot;
        } else {
            warn("Line " + std::to_string(lineNumber) + " of " + FileName +
                 " is not a valid pipe size row and was skipped.");
        }
    }
    PipeCount = slot - 1;
    if (F.bad()) {
        if (userRows)
            throw EPipeDiameterSetClass("Code -01: Error on line number " + std::to_string(slot));
        const bool noRowYet = slot == 1;
        PipeCount = 0;
        warn("Error in File: " + FileName + "\r\r" +
             (noRowYet ? "Format of data file in not valid. Please report error to "
                       : "Possible blank lines at end of file. Please report error to ") +
             SupportContact);
    }
}

void TPipeDiameterSet::LoadFromText_DiameterData(std::istream &F, const std::string &FileName,
                                                 const std::string &Version, const TWarningProc &Warning)
{
    LoadRows(F, FileName, Version, Warning, false);
}

void TPipeDiameterSet::LoadUserPipes_DiameterData_FromText(std::istream &F, const std::string &FileName,
                                                           const std::string &Version, const TWarningProc &Warning)
{
    LoadRows(F, FileName, Version, Warning, true);
}

} // namespace tessaran
