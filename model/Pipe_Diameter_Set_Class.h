#pragma once
// The rows of one pipe-size table, read from and written to its text file.

#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Pipe_Class.h"

namespace tessaran {

class EPipeDiameterSetClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a row came from: one of the program's tables or the user's own.
enum TPipeFileType : std::uint8_t { PipeFileTessaran = 0, PipeFileUser = 1 };

// A slot's pipe is made when the slot is first used, so a large scratch set
// costs nothing for the rows a table does not fill.
struct TPipeData {
    std::unique_ptr<TPipe> Pipe;
    TPipeFileType PipeFileType = PipeFileUser;
};

// Receives the warnings of a load, for the caller to show.
using TWarningProc = std::function<void(const std::string &)>;

class TPipeDiameterSet {
public:
    explicit TPipeDiameterSet(int PipeDiameterSetSize);
    TPipeDiameterSet(const TPipeDiameterSet &) = delete;
    TPipeDiameterSet &operator=(const TPipeDiameterSet &) = delete;

    void Clear();
    void ReplacePipeDiameterData(int ThePipeDiameterDataId, const TPipe &The_PipeDiameterData);
    TPipe &GetPipeDiameterData(int ThePipeDiameterDataId);
    const TPipe &GetPipeDiameterData(int ThePipeDiameterDataId) const;
    TPipeFileType GetPipeDiameterFileType(int ThePipeDiameterDataId) const;
    void SetPipeFileType(int ThePipeDiameterDataId, TPipeFileType ThePipeFileType);
    int AddPipeDiameterData(const TPipe &The_PipeDiameterData);
    void RemovePipeDiameterData(int ThePipeDiameterDataId);
    void SortPipeSet(bool AscDec);

    void SaveToText_DiameterData(std::ostream &F) const;
    void SaveUserPipes_DiameterData_ToText(std::ostream &F) const;
    // Both append the row lines that follow the header line the caller has
    // read; rows that do not parse are skipped and reported to Warning.
    void LoadFromText_DiameterData(std::istream &F, const std::string &FileName, const std::string &Version,
                                   const TWarningProc &Warning);
    void LoadUserPipes_DiameterData_FromText(std::istream &F, const std::string &FileName,
                                             const std::string &Version, const TWarningProc &Warning);

    int PipeCount = 0;
    int MaxPipeCount = 0;

private:
    TPipeData &Slot(int id) const;
    void CheckId(int id, const char *operation) const;
    void LoadRows(std::istream &F, const std::string &FileName, const std::string &Version,
                  const TWarningProc &Warning, bool userRows);

    mutable std::vector<TPipeData> PipeDiameterDataArray;
};

} // namespace tessaran
