#pragma once
// An ordered, fixed-capacity list of fittings, each with a quantity, the list
// it came from and its place on the pipe. Every pipe owns a set of five; the
// fittings database is one large set filled from the standard and the user's
// text tables.

#include "model/Fitting_Class.h"
#include "platform/Pascal.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaran {

class TStream;

class EFittingSetClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One byte in files.
enum TFittingFileType : std::uint8_t {
    FittingFileTessaran = 0, // the standard list
    FittingFileUser = 1,     // the user's own list
};

// One byte in files.
enum TFittingPosition : std::uint8_t {
    EntryFitting = 0, // at the start of the pipe
    ExitFitting = 1,  // at its end
};

enum TFittingSetSymbolType : std::uint8_t {
    FittingSetSymbolNone,
    FittingSetSymbolBend,
    FittingSetSymbolValve,
    FittingSetSymbolBendAndValve,
};

struct TFittingData {
    TFitting Fitting;
    int Quantity = 0;
    TFittingFileType FittingFileType = FittingFileUser;
    TFittingPosition FittingPosition = EntryFitting;
};

class TFittingSet {
public:
    // The file names of the two tables in the "FittingTables" folder.
    static constexpr std::string_view FittingTablesFolder = "FittingTables";
    static constexpr std::string_view StandardFittingsFileName = "Trn_Fittings.trfi";
    static constexpr std::string_view UserFittingsFileName = "Trn_Fittings.trfiu";
    // Version the fittings manager writes into the tables' header line.
    static constexpr std::string_view FittingTablesVersion = "1.02";
    // Texts the user interface shows when a table has more lines than the
    // set can take.
    static constexpr std::string_view StandardTableTooLargeMessage =
        "Code -02: File too large - Read past max number of fittings.";
    static constexpr std::string_view UserTableTooLargeMessage =
        "Code -02u: File too large - Read past max number of fittings.";

    explicit TFittingSet(int fittingSetSize);

    void Clear();
    // Raises EFittingSetClass when this set cannot hold the other's count.
    void CopyFittingSet(const TFittingSet &theFittingSet);

    int AddFitting(const TFitting &theFitting, int theQuantity, TFittingPosition theFittingPosition);
    void RemoveFitting(int theFittingId);
    void RemoveEntryFittings() { RemoveFittingsAt(EntryFitting); }
    void RemoveExitFittings() { RemoveFittingsAt(ExitFitting); }
    void ReplaceFitting(int theFittingId, const TFitting &theFitting);

    // Entry accessors; an id outside 1..FittingCount raises EFittingSetClass.
    void UpdateFittingQuantity(int theFittingId, int theQuantity);
    void UpdateFittingPosition(int theFittingId, TFittingPosition theFittingPosition);
    void SetFittingFileType(int theFittingId, TFittingFileType theFittingFileType);
    int GetQuantity(int theFittingId) const;
    const TFitting &GetFitting(int theFittingId) const;
    TFittingFileType GetFittingFileType(int theFittingId) const;
    TFittingPosition GetFittingPosition(int theFittingId) const;

    int GetFittingCountIncludingQuantities() const;
    double CalculateTotal_KValue() const;
    double CalculateEntryFittingsKValue() const;
    double CalculateExitFittingsKValue() const;

    int countEntryFittings() const;
    int countExitFittings() const;
    int countEntryFittingsValves() const;
    int countExitFittingsValves() const;
    int countBespokeNominalSizeZeroFittings() const;
    int countContractionFittings() const;
    int countExpansionFittings() const;
    int countContractionFittingsAtStartOfPipe() const;
    int countExpansionFittingsAtStartOfPipe() const;

    TFittingSetSymbolType GetFittingSetSymbolType(bool showBends, bool showValves) const;
    // Among the entries of the given list, a fitting of the same part type
    // whose size lies in (0.925 x size, size]; the last match is copied into
    // theFitting.
    void GetFittingSameTypeNewSize(TFittingFileType theFittingFileType, int theMetricSize_mm, TFitting &theFitting,
                                   bool &fittingFound) const;
    bool CheckForDuplicateFittingReference(std::string_view the_PartType, int the_SizeIndex) const;
    // The highest id with that part type and size, -1 when none.
    int FindFittingReference(std::string_view the_PartType, int the_SizeIndex) const;

    void SortFittingSet(int sortCol, bool ascDec);

    // Cell texts for the fittings grids.
    std::string DisplayQuantityOnStringGrid(int theFittingId) const;
    std::string DisplayPositionOnStringGrid(int theFittingId) const;

    // The set inside the pipe record; Save writes what Load reads for the
    // same version. Load refuses a count outside
    // 0..MaxFittingCount or a bad position byte with a raise and leaves the
    // set cleared.
    void Save(TStream &theFileStream, const std::string &fileVersion) const;
    void Load(TStream &theFileStream, const std::string &fileVersion);

    // The fittings tables, after the header line the caller handles.
    void SaveToTextWithoutQuantity(std::ostream &f) const;
    void SaveUserFittings_ToTextWithoutQuantity(std::ostream &f) const;
    // Fill the set from entry 1 (standard list) or append after the count
    // (user list). A damaged line raises EFittingClass "Code -01: Error on
    // line number n" and leaves the set as it was. When the set fills up
    // before the end of the file, the fittings that fit are kept and the
    // "Code -02" text is returned for the user interface to show; otherwise
    // the result is empty.
    [[nodiscard]] std::string LoadFromTextWithoutQuantity(std::istream &f);
    [[nodiscard]] std::string LoadUserFittings_FromTextWithoutQuantity(std::istream &f);

    OneBasedArray<TFittingData> FittingArray;
    int FittingCount = 0;
    int MaxFittingCount = 0;
    OneBasedArray<TFittingData> TempSortFittingArray;

private:
    TFittingData &UsedEntry(int theFittingId, const char *operation);
    const TFittingData &UsedEntry(int theFittingId, const char *operation) const;
    void RemoveFittingsAt(TFittingPosition position);
    void SaveListToText(std::ostream &f, TFittingFileType list, const char *failure) const;
    std::string LoadListFromText(std::istream &f, int firstId, TFittingFileType list, const char *lineError,
                                 std::string_view tooLarge);
};

} // namespace tessaran
