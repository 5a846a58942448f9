#include "model/Fitting_Set_Class.h"

#include "platform/Stream.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

namespace tessaran {
namespace {

bool IsContraction(const TFitting &f) { return f.MetricSize <= 0 && (f.PartTypeStr == "SuCon" || f.PartTypeStr == "GrCon"); }
bool IsExpansion(const TFitting &f) { return f.MetricSize <= 0 && (f.PartTypeStr == "SuEn" || f.PartTypeStr == "GrEn"); }

// Sort keys compare without regard to letter case.
bool KeyLess(const std::string &a, const std::string &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) < std::tolower(y);
    });
}

} // namespace

TFittingSet::TFittingSet(int fittingSetSize)
{
    if (fittingSetSize < 0)
        throw EFittingSetClass("TFittingSet.Create Failed: negative size");
    MaxFittingCount = fittingSetSize;
    FittingArray.SetCapacity(fittingSetSize);
    TempSortFittingArray.SetCapacity(fittingSetSize);
    Clear();
}

void TFittingSet::Clear()
{
    for (int i = 1; i <= MaxFittingCount; ++i)
        FittingArray[i] = TFittingData{};
    FittingCount = 0;
}

void TFittingSet::CopyFittingSet(const TFittingSet &theFittingSet)
{
    if (theFittingSet.FittingCount > MaxFittingCount)
        throw EFittingSetClass("TFittingSet.CopyFittingSet Failed: too many fittings for this set");
    for (int i = 1; i <= theFittingSet.FittingCount; ++i)
        FittingArray[i] = theFittingSet.FittingArray[i];
    for (int i = theFittingSet.FittingCount + 1; i <= MaxFittingCount; ++i)
        FittingArray[i] = TFittingData{};
    FittingCount = theFittingSet.FittingCount;
}

int TFittingSet::AddFitting(const TFitting &theFitting, int theQuantity, TFittingPosition theFittingPosition)
{
    if (FittingCount >= MaxFittingCount)
        throw EFittingSetClass("TFittingSet.AddFitting Failed: May have reached Max number of Fittings allowed");
    ++FittingCount;
    FittingArray[FittingCount] = TFittingData{theFitting, theQuantity, FittingFileUser, theFittingPosition};
    return FittingCount;
}

void TFittingSet::RemoveFitting(int theFittingId)
{
    if (theFittingId < 1 || theFittingId > FittingCount || FittingArray[theFittingId].Fitting.ImageIndex < 0)
        throw EFittingSetClass("TFittingSet.RemoveFitting Failed: Specified FittingId may not be valid (or is not "
                               "a used Fitting)");
    for (int i = theFittingId; i < MaxFittingCount; ++i)
        FittingArray[i] = FittingArray[i + 1];
    FittingArray[MaxFittingCount] = TFittingData{};
    --FittingCount;
}

void TFittingSet::RemoveFittingsAt(TFittingPosition position)
{
    int kept = 0;
    for (int i = 1; i <= FittingCount; ++i)
        if (FittingArray[i].FittingPosition != position)
            FittingArray[++kept] = FittingArray[i];
    for (int i = kept + 1; i <= FittingCount; ++i)
        FittingArray[i] = TFittingData{};
    FittingCount = kept;
}

TFittingData &TFittingSet::UsedEntry(int theFittingId, const char *operation)
{
    return const_cast<TFittingData &>(std::as_const(*this).UsedEntry(theFittingId, operation));
}

const TFittingData &TFittingSet::UsedEntry(int theFittingId, const char *operation) const
{
    if (theFittingId < 1 || theFittingId > FittingCount)
        throw EFittingSetClass(std::string("TFittingSet.") + operation +
                               " Failed: Specified FittingId may not be valid");
    return FittingArray[theFittingId];
}

void TFittingSet::ReplaceFitting(int theFittingId, const TFitting &theFitting)
{
    UsedEntry(theFittingId, "ReplaceFitting").Fitting = theFitting;
}

void TFittingSet::UpdateFittingQuantity(int theFittingId, int theQuantity)
{
    UsedEntry(theFittingId, "UpdateFittingQuantity").Quantity = theQuantity;
}

void TFittingSet::UpdateFittingPosition(int theFittingId, TFittingPosition theFittingPosition)
{
    UsedEntry(theFittingId, "UpdateFittingPosition").FittingPosition = theFittingPosition;
}

void TFittingSet::SetFittingFileType(int theFittingId, TFittingFileType theFittingFileType)
{
    UsedEntry(theFittingId, "SetFittingFileType").FittingFileType = theFittingFileType;
}

int TFittingSet::GetQuantity(int theFittingId) const { return UsedEntry(theFittingId, "GetQuantity").Quantity; }

const TFitting &TFittingSet::GetFitting(int theFittingId) const
{
    return UsedEntry(theFittingId, "GetFitting").Fitting;
}

TFittingFileType TFittingSet::GetFittingFileType(int theFittingId) const
{
    return UsedEntry(theFittingId, "GetFittingFileType").FittingFileType;
}

TFittingPosition TFittingSet::GetFittingPosition(int theFittingId) const
{
    return UsedEntry(theFittingId, "GetFittingPosition").FittingPosition;
}

int TFittingSet::GetFittingCountIncludingQuantities() const
{
    int total = 0;
    for (int i = 1; i <= FittingCount; ++i)
        total += FittingArray[i].Quantity;
    return total;
}

double TFittingSet::CalculateTotal_KValue() const
{
    double total = 0;
    for (int i = 1; i <= FittingCount; ++i)
        total += FittingArray[i].Quantity * FittingArray[i].Fitting.KValue;
    return total;
}

double TFittingSet::CalculateEntryFittingsKValue() const
{
    double total = 0;
    for (int i = 1; i <= FittingCount; ++i)
        if (FittingArray[i].FittingPosition == EntryFitting)
            total += FittingArray[i].Quantity * FittingArray[i].Fitting.KValue;
    return total;
}

double TFittingSet::CalculateExitFittingsKValue() const
{
    double total = 0;
    for (int i = 1; i <= FittingCount; ++i)
        if (FittingArray[i].FittingPosition == ExitFitting)
            total += FittingArray[i].Quantity * FittingArray[i].Fitting.KValue;
    return total;
}

namespace {
template <typename Predicate>
int CountWhere(const TFittingSet &set, Predicate predicate)
{
    int count = 0;
    for (int i = 1; i <= set.FittingCount; ++i)
        if (predicate(set.FittingArray[i]))
            ++count;
    return count;
}
} // namespace

int TFittingSet::countEntryFittings() const
{
    return CountWhere(*this, [](const TFittingData &d) { return d.FittingPosition == EntryFitting; });
}

int TFittingSet::countExitFittings() const
{
    return CountWhere(*this, [](const TFittingData &d) { return d.FittingPosition == ExitFitting; });
}

int TFittingSet::countEntryFittingsValves() const
{
    return CountWhere(*this,
                      [](const TFittingData &d) { return d.FittingPosition == EntryFitting && d.Fitting.IsValve(); });
}

int TFittingSet::countExitFittingsValves() const
{
    return CountWhere(*this,
                      [](const TFittingData &d) { return d.FittingPosition == ExitFitting && d.Fitting.IsValve(); });
}

int TFittingSet::countBespokeNominalSizeZeroFittings() const
{
    return CountWhere(*this, [](const TFittingData &d) { return d.Fitting.MetricSize < 1; });
}

int TFittingSet::countContractionFittings() const
{
    return CountWhere(*this, [](const TFittingData &d) { return IsContraction(d.Fitting); });
}

int TFittingSet::countExpansionFittings() const
{
    return CountWhere(*this, [](const TFittingData &d) { return IsExpansion(d.Fitting); });
}

int TFittingSet::countContractionFittingsAtStartOfPipe() const
{
    return CountWhere(*this,
                      [](const TFittingData &d) { return d.FittingPosition == EntryFitting && IsContraction(d.Fitting); });
}

int TFittingSet::countExpansionFittingsAtStartOfPipe() const
{
    return CountWhere(*this,
                      [](const TFittingData &d) { return d.FittingPosition == EntryFitting && IsExpansion(d.Fitting); });
}

TFittingSetSymbolType TFittingSet::GetFittingSetSymbolType(bool showBends, bool showValves) const
{
    bool bend = showBends && CountWhere(*this, [](const TFittingData &d) { return !d.Fitting.IsValve(); }) > 0;
    bool valve = showValves && CountWhere(*this, [](const TFittingData &d) { return d.Fitting.IsValve(); }) > 0;
    if (bend && valve)
        return FittingSetSymbolBendAndValve;
    if (bend)
        return FittingSetSymbolBend;
    if (valve)
        return FittingSetSymbolValve;
    return FittingSetSymbolNone;
}

void TFittingSet::GetFittingSameTypeNewSize(TFittingFileType theFittingFileType, int theMetricSize_mm,
                                            TFitting &theFitting, bool &fittingFound) const
{
    fittingFound = false;
    const std::string partType = theFitting.PartTypeStr;
    for (int i = 1; i <= FittingCount; ++i) {
        const TFittingData &d = FittingArray[i];
        if (d.FittingFileType == theFittingFileType && d.Fitting.PartTypeStr == partType &&
            0.925 * theMetricSize_mm < d.Fitting.MetricSize && d.Fitting.MetricSize <= theMetricSize_mm) {
            theFitting = d.Fitting;
            fittingFound = true;
        }
    }
}

bool TFittingSet::CheckForDuplicateFittingReference(std::string_view the_PartType, int the_SizeIndex) const
{
    return FindFittingReference(the_PartType, the_SizeIndex) != -1;
}

int TFittingSet::FindFittingReference(std::string_view the_PartType, int the_SizeIndex) const
{
    for (int i = FittingCount; i >= 1; --i)
        if (FittingArray[i].Fitting.PartTypeStr == the_PartType && FittingArray[i].Fitting.MetricSize == the_SizeIndex)
            return i;
    return -1;
}

void TFittingSet::SortFittingSet(int sortCol, bool ascDec)
{
    int f1, f2, f3;
    switch (sortCol) {
    case 0: f1 = 0, f2 = 1, f3 = 2; break;
    case 3: f1 = 2, f2 = 1, f3 = 5; break;
    case 4:
    case 5: f1 = 1, f2 = 2, f3 = 5; break;
    case 6: f1 = 5, f2 = 1, f3 = 2; break;
    case 7: f1 = 6, f2 = 5, f3 = 2; break;
    case 8: f1 = 1, f2 = 1, f3 = 1; break;
    default: f1 = 1, f2 = 0, f3 = 5; break;
    }
    struct Key {
        std::string text;
        int id;
    };
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(FittingCount));
    for (int i = 1; i <= FittingCount; ++i) {
        TempSortFittingArray[i] = FittingArray[i];
        std::string text = FittingArray[i].Fitting.GetSortString(f1, f2, f3, i);
        if (sortCol == 8)
            text.insert(0, 1, static_cast<char>('0' + FittingArray[i].FittingPosition));
        keys.push_back({std::move(text), i});
    }
    std::sort(keys.begin(), keys.end(), [](const Key &a, const Key &b) { return KeyLess(a.text, b.text); });
    if (!ascDec)
        std::reverse(keys.begin(), keys.end());
    for (int i = 1; i <= FittingCount; ++i)
        FittingArray[i] = TempSortFittingArray[keys[static_cast<std::size_t>(i - 1)].id];
}

std::string TFittingSet::DisplayQuantityOnStringGrid(int theFittingId) const
{
    return std::to_string(GetQuantity(theFittingId));
}

std::string TFittingSet::DisplayPositionOnStringGrid(int theFittingId) const
{
    return GetFittingPosition(theFittingId) == EntryFitting ? "Start of Pipe" : "End of Pipe";
}

void TFittingSet::Save(TStream &theFileStream, const std::string &fileVersion) const
{
    theFileStream.WriteInt32(FittingCount);
    for (int i = 1; i <= FittingCount; ++i) {
        FittingArray[i].Fitting.Save(theFileStream);
        theFileStream.WriteInt32(FittingArray[i].Quantity);
        // Older records derive the position from the part type on reading.
        if (VersionAtLeast(fileVersion, "6.40"))
            theFileStream.WriteEnum(FittingArray[i].FittingPosition);
    }
}

void TFittingSet::Load(TStream &theFileStream, const std::string &fileVersion)
{
    Clear();
    std::int32_t count = theFileStream.ReadInt32();
    if (count < 0 || count > MaxFittingCount)
        throw EFittingSetClass("TFittingSet.Load Failed: fitting count " + std::to_string(count) +
                               " outside 0.." + std::to_string(MaxFittingCount));
    try {
        for (int i = 1; i <= count; ++i) {
            TFittingData &d = FittingArray[i];
            d.Fitting.Load(theFileStream);
            d.Quantity = theFileStream.ReadInt32();
            if (VersionAtLeast(fileVersion, "6.40"))
                d.FittingPosition = theFileStream.ReadEnum<TFittingPosition>(ExitFitting);
            else
                d.FittingPosition = (d.Fitting.PartTypeStr == "ExitCon" || d.Fitting.PartTypeStr == "Open")
                                        ? ExitFitting
                                        : EntryFitting;
        }
    } catch (...) {
        Clear();
        throw;
    }
    FittingCount = count;
}

void TFittingSet::SaveListToText(std::ostream &f, TFittingFileType list, const char *failure) const
{
    try {
        for (int i = 1; i <= FittingCount; ++i)
            if (FittingArray[i].FittingFileType == list)
                FittingArray[i].Fitting.SaveToText(f);
    } catch (const EStreamError &) {
        throw EFittingClass(failure);
    }
}

void TFittingSet::SaveToTextWithoutQuantity(std::ostream &f) const
{
    SaveListToText(f, FittingFileTessaran, "Code -03: Could not save file.");
}

void TFittingSet::SaveUserFittings_ToTextWithoutQuantity(std::ostream &f) const
{
    SaveListToText(f, FittingFileUser, "Code -03u: Could not save file.");
}

std::string TFittingSet::LoadListFromText(std::istream &f, int firstId, TFittingFileType list, const char *lineError,
                                          std::string_view tooLarge)
{
    // Read into a scratch list first, so a damaged line leaves the set as it was.
    std::vector<TFitting> read;
    int lineNumber = 0;
    bool full = false;
    while (HasAnotherTextLine(f)) {
        if (firstId + static_cast<int>(read.size()) > MaxFittingCount) {
            full = true;
            break;
        }
        ++lineNumber;
        TFitting fitting;
        try {
            fitting.LoadFromText(f);
        } catch (const EFittingClass &) {
            throw EFittingClass(lineError + std::to_string(lineNumber));
        }
        read.push_back(fitting);
    }
    int id = firstId;
    for (const TFitting &fitting : read)
        FittingArray[id++] = TFittingData{fitting, 0, list, EntryFitting};
    for (int i = id; i <= FittingCount; ++i)
        FittingArray[i] = TFittingData{};
    FittingCount = id - 1;
    return full ? std::string(tooLarge) : std::string();
}

std::string TFittingSet::LoadFromTextWithoutQuantity(std::istream &f)
{
    return LoadListFromText(f, 1, FittingFileTessaran, "Code -01: Error on line number ", StandardTableTooLargeMessage);
}

std::string TFittingSet::LoadUserFittings_FromTextWithoutQuantity(std::istream &f)
{
    return LoadListFromText(f, FittingCount + 1, FittingFileUser, "Code -01u: Error on line number ",
                            UserTableTooLargeMessage);
}

} // namespace tessaran
