#include "model/Pipe_Nominal_Size_Set_Class.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "model/Pipe_Table_Text.h"
#include "platform/TextFile.h"
#include "platform/Pascal.h"
#include "units/Calculations.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

// User tables older than this take their nominal sizes from the default table.
constexpr const char *UserNominalSizesVersion = "1.05";
constexpr int ScratchTableCapacity = 5000;

bool StartsWith(const std::string &text, const std::string &prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The prefix passes of the material and schedule choice: a key of at least
// 3 characters matches a longer text that begins with it, or a shorter text
// it begins with.
bool LongerBeginsWith(const std::string &slot, const std::string &key)
{
    return key.size() >= 3 && slot.size() > key.size() && StartsWith(slot, key);
}

bool ShorterBeginning(const std::string &slot, const std::string &key)
{
    return key.size() >= 3 && slot.size() < key.size() && StartsWith(key, slot);
}

std::string LowerExtension(const std::filesystem::path &path)
{
    std::string ext = path.extension().string();
    for (char &c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace

TPipeNominalSizeSet::TPipeNominalSizeSet(int PipeMaterialSizeSet, int PipeNominalSizeSetSize)
    : MaxMaterialCount(std::max(0, PipeMaterialSizeSet)), MaxPipeCount(std::max(0, PipeNominalSizeSetSize)),
      PipeMaterialDataArray(static_cast<std::size_t>(MaxMaterialCount)),
      PipeNominalSizeDataArray(static_cast<std::size_t>(MaxPipeCount))
{
    Clear();
}

void TPipeNominalSizeSet::Clear()
{
    std::fill(PipeMaterialDataArray.begin(), PipeMaterialDataArray.end(), TPipeMaterialData{});
    std::fill(PipeNominalSizeDataArray.begin(), PipeNominalSizeDataArray.end(), TPipeNominalSizeData{});
    MaterialCount = 0;
    PipeCount = 0;
    LastDefaultPipeIndex = 0;
}

void TPipeNominalSizeSet::CopyPipeNominalSizeData(const TPipeNominalSizeData &FromPipeNominalSizeData,
                                                  TPipeNominalSizeData &ToPipeNominalSizeData)
{
    ToPipeNominalSizeData = FromPipeNominalSizeData;
}

void TPipeNominalSizeSet::SwitchPipeNominalSizeData(TPipeNominalSizeData &PipeNominalSizeData1,
                                                    TPipeNominalSizeData &PipeNominalSizeData2)
{
    std::swap(PipeNominalSizeData1, PipeNominalSizeData2);
}

void TPipeNominalSizeSet::SwitchPipeMaterialData(TPipeMaterialData &PipeMaterialData1,
                                                 TPipeMaterialData &PipeMaterialData2)
{
    std::swap(PipeMaterialData1, PipeMaterialData2);
}

TPipeNominalSizeData TPipeNominalSizeSet::getPipeNominalSizeData(int Index) const
{
    if (Index < 1 || Index > PipeCount)
        Index = 1;
    if (Index > MaxPipeCount)
        return TPipeNominalSizeData{};
    return Row(Index);
}

const TPipeMaterialData &TPipeNominalSizeSet::getPipeMaterialData(int Index) const
{
    static const TPipeMaterialData blank;
    if (Index < 1 || Index > MaterialCount)
        return blank;
    return MaterialSlot(Index);
}

bool TPipeNominalSizeSet::ExistsExactMaterialScheduleMatch(const std::string &MaterialString,
                                                           const std::string &ScheduleString) const
{
    const std::string material = RemoveSpaces(MaterialString);
    const std::string schedule = RemoveSpaces(ScheduleString);
    for (int i = 1; i <= MaterialCount; ++i)
        if (RemoveSpaces(MaterialSlot(i).Material) == material &&
            RemoveSpaces(MaterialSlot(i).ScheduleClass) == schedule)
            return true;
    return false;
}

void TPipeNominalSizeSet::getMaterialAndScheduleString(const std::string &MaterialString,
                                                       const std::string &ScheduleString,
                                                       std::string &TheSelecedMaterialString,
                                                       std::string &TheSelectedScehduleString,
                                                       std::string &ThePipeDataFilename) const
{
    const std::string k = NameMatchKey(MaterialString);
    const std::string ks = NameMatchKey(ScheduleString);

    // Material: the first slot that satisfies a pass, the passes tried in turn.
    int chosen = 0;
    for (int pass = 1; pass <= 4 && chosen == 0; ++pass) {
        for (int i = 1; i <= MaterialCount && chosen == 0; ++i) {
            const std::string &m = MaterialSlot(i).Material;
            bool hit = false;
            switch (pass) {
            case 1: hit = m == k; break;
            case 2: hit = LongerBeginsWith(m, k); break;
            case 3: hit = ShorterBeginning(m, k); break;
            default: hit = k.size() >= 6 && m.size() >= 6 && m.compare(0, 6, k, 0, 6) == 0; break;
            }
            if (hit)
                chosen = i;
        }
    }
    const std::string M = chosen > 0 ? MaterialSlot(chosen).Material
                                     : (MaterialCount > 0 ? MaterialSlot(1).Material : std::string());

    // Schedule: among the slots of that material.
    int hitSlot = 0;
    for (int pass = 1; pass <= 3 && hitSlot == 0; ++pass) {
        for (int i = 1; i <= MaterialCount && hitSlot == 0; ++i) {
            if (MaterialSlot(i).Material != M)
                continue;
            const std::string &s = MaterialSlot(i).ScheduleClass;
            bool hit = false;
            switch (pass) {
            case 1: hit = s == ks; break;
            case 2: hit = LongerBeginsWith(s, ks); break;
            default: hit = ShorterBeginning(s, ks); break;
            }
            if (hit)
                hitSlot = i;
        }
    }
    if (hitSlot > 0) {
        TheSelecedMaterialString = M;
        TheSelectedScehduleString = MaterialSlot(hitSlot).ScheduleClass;
        ThePipeDataFilename = MaterialSlot(hitSlot).PipeDataFilename;
    } else {
        const TPipeNominalSizeData first = getPipeNominalSizeData(1);
        TheSelecedMaterialString = first.Material;
        TheSelectedScehduleString = first.ScheduleClass;
        ThePipeDataFilename.clear();
    }
}

bool TPipeNominalSizeSet::SameBlock(int row, const std::string &material, const std::string &schedule) const
{
    return row >= 1 && row <= PipeCount && Row(row).Material == material && Row(row).ScheduleClass == schedule;
}

int TPipeNominalSizeSet::getIDPipeNominalSizeSetIndex(double InnerDiameter_m, const std::string &MaterialString,
                                                      const std::string &ScheduleString) const
{
    const std::string material = NameMatchKey(MaterialString);
    const std::string schedule = NameMatchKey(ScheduleString);
    for (int r = 1; r <= PipeCount; ++r) {
        if (!SameBlock(r, material, schedule))
            continue;
        if (Row(r).OuterDiameter_m > InnerDiameter_m)
            return r;
        if (!SameBlock(r + 1, material, schedule))
            return r; // the block's last row: the diameter is above every size
    }
    return PipeCount;
}

int TPipeNominalSizeSet::getODPipeNominalSizeSetIndex(double OuterDiameter_m, const std::string &MaterialString,
                                                      const std::string &ScheduleString) const
{
    for (int r = 1; r <= PipeCount; ++r) {
        if (!SameBlock(r, MaterialString, ScheduleString))
            continue;
        if (OuterDiameter_m < Row(r).OuterDiameter_m)
            return r;
        if (r == PipeCount || !SameBlock(r + 1, MaterialString, ScheduleString))
            return r;
        if (OuterDiameter_m >= Row(r + 1).OuterDiameter_m)
            continue;
        const double mid = Row(r).OuterDiameter_m + (Row(r + 1).OuterDiameter_m - Row(r).OuterDiameter_m) * 50 / 100;
        return OuterDiameter_m > mid ? r + 1 : r;
    }
    return PipeCount;
}

// Completes the outputs from one row and says whether the resulting outer
// diameter lies within 6 % of the row's.
bool TPipeNominalSizeSet::TakeRow(int row, double InnerDiameter_m, double &WallThickness_m, double &OuterDiameter_m,
                                  double &WeightPerMetre_kg, int &NominalMetricSize, std::string &NominalMetricString,
                                  std::string &NominalImperialString) const
{
    const TPipeNominalSizeData &r = Row(row);
    WallThickness_m = r.WallThickness_m;
    OuterDiameter_m = InnerDiameter_m + 2.0 * WallThickness_m;
    WeightPerMetre_kg = calcPipeWeightPerLength(InnerDiameter_m, OuterDiameter_m, r.Density_lb_per_inch3);
    NominalMetricSize = r.NominalDiameterMetric;
    NominalMetricString = r.NominalDiameterMetricString;
    NominalImperialString = r.NominalDiameterImperialString;
    return 0.94 * r.OuterDiameter_m < OuterDiameter_m && OuterDiameter_m < 1.06 * r.OuterDiameter_m;
}

void TPipeNominalSizeSet::GetMatchingDiameterData(const std::string &MaterialString, const std::string &ScheduleString,
                                                  double InnerDiameter_m, double &WallThickness_m,
                                                  double &OuterDiameter_m, double &WeightPerMetre_kg,
                                                  int &NominalMetricSize, std::string &NominalMetricString,
                                                  std::string &NominalImperialString, bool &foundMatch) const
{
    foundMatch = false;
    // Only rows of the material and schedule being matched are candidates:
    // a row of another block would give the pipe another pipe's sizes.
    auto tryBlock = [&](const std::string &M, const std::string &S, bool tryNextRow) {
        const int i = getIDPipeNominalSizeSetIndex(InnerDiameter_m, M, S);
        if (!SameBlock(i, M, S))
            return false;
        WallThickness_m = Row(i).WallThickness_m;
        OuterDiameter_m = InnerDiameter_m + 2.0 * WallThickness_m;
        const int j = getODPipeNominalSizeSetIndex(OuterDiameter_m, M, S);
        if (!SameBlock(j, M, S))
            return false;
        if (TakeRow(j, InnerDiameter_m, WallThickness_m, OuterDiameter_m, WeightPerMetre_kg, NominalMetricSize,
                    NominalMetricString, NominalImperialString))
            return true;
        return tryNextRow && SameBlock(j + 1, M, S) &&
               TakeRow(j + 1, InnerDiameter_m, WallThickness_m, OuterDiameter_m, WeightPerMetre_kg,
                       NominalMetricSize, NominalMetricString, NominalImperialString);
    };

    std::string M, S, fileName;
    getMaterialAndScheduleString(MaterialString, ScheduleString, M, S, fileName);
    foundMatch = tryBlock(M, S, true);
    if (!foundMatch && PipeCount > 0) {
        // The default table's material, held to the same tolerance.
        foundMatch = tryBlock(Row(1).Material, Row(1).ScheduleClass, false);
    }
}

void TPipeNominalSizeSet::CalcNominalMetricSize(double InnerDiameter_m, const std::string &MaterialString,
                                                const std::string &ScheduleString, int &NominalDiameter_mm,
                                                std::string &NominalDiameterMetricString,
                                                std::string &NominalDiameterImperialString, bool &Updated) const
{
    Updated = false;
    double wall = 0, outer = 0, weight = 0;
    int nominal = NominalDiameter_mm;
    std::string metric = NominalDiameterMetricString;
    std::string imperial = NominalDiameterImperialString;
    bool found = false;
    GetMatchingDiameterData(MaterialString, ScheduleString, InnerDiameter_m, wall, outer, weight, nominal, metric,
                            imperial, found);
    if (!found)
        return;
    Updated = true;
    NominalDiameter_mm = nominal;
    NominalDiameterMetricString = metric;
    NominalDiameterImperialString = imperial;
}

void TPipeNominalSizeSet::UpdatePipeDiameterSetToDefaultNominalSizes(TPipeDiameterSet &ThePipeDiameterSet) const
{
    const TPipeNominalSizeData first = getPipeNominalSizeData(1);
    for (int id = 1; id <= ThePipeDiameterSet.PipeCount; ++id) {
        TPipe &pipe = ThePipeDiameterSet.GetPipeDiameterData(id);
        int nominal = pipe.NominalDiameterMetric;
        std::string metric = pipe.NominalDiameterMetricString;
        std::string imperial = pipe.NominalDiameterImperialString;
        bool updated = false;
        CalcNominalMetricSize(pipe.InnerDiameter_m, first.Material, first.ScheduleClass, nominal, metric, imperial,
                              updated);
        if (updated) {
            pipe.NominalDiameterMetric = nominal;
            pipe.NominalDiameterMetricString = CutToShortString(metric, 20);
            pipe.NominalDiameterImperialString = CutToShortString(imperial, 20);
        }
    }
}

void TPipeNominalSizeSet::AddOnPipeDiameterSetData(const TPipeDiameterSet &ThePipeDiameterSet,
                                                   const TWarningProc &Warning)
{
    for (int id = 1; id <= ThePipeDiameterSet.PipeCount; ++id) {
        if (PipeCount >= MaxPipeCount) {
            if (Warning)
                Warning("Pipe Nominal Size set File too large. Max Pipes allowed in file is " +
                        std::to_string(MaxPipeCount) + ".\r");
            return;
        }
        const TPipe &pipe = ThePipeDiameterSet.GetPipeDiameterData(id);
        TPipeNominalSizeData &row = Row(++PipeCount);
        row.Material = CutToShortString(NameMatchKey(pipe.Material), 40);
        row.ScheduleClass = CutToShortString(NameMatchKey(pipe.ScheduleClass), 20);
        row.InnerRoughness_m = pipe.InnerRoughness_m;
        row.NominalDiameterMetric = pipe.NominalDiameterMetric;
        row.NominalDiameterMetricString = pipe.NominalDiameterMetricString;
        row.NominalDiameterImperialString = pipe.NominalDiameterImperialString;
        row.WallThickness_m = pipe.WallThickness_m;
        row.OuterDiameter_m = pipe.OuterDiameter_m;
        row.Density_lb_per_inch3 =
            calcMaterialDensityFromPipeWeight(pipe.InnerDiameter_m, pipe.OuterDiameter_m, pipe.WeightPerMetre_kg);
        row.InnerDiameter_m = row.OuterDiameter_m - 2.0 * row.WallThickness_m;
    }
}

void TPipeNominalSizeSet::AddToPipeMaterialSetData(const std::string &TheMaterial, const std::string &TheSchedule,
                                                   const std::string &TheFilename, const TWarningProc &Warning)
{
    if (MaterialCount >= MaxMaterialCount) {
        if (Warning)
            Warning("Pipe Nominal Size set File too large. Max Pipes allowed in file is " +
                    std::to_string(MaxPipeCount) + ".\r");
        return;
    }
    TPipeMaterialData &slot = MaterialSlot(++MaterialCount);
    slot.Material = CutToShortString(NameMatchKey(TheMaterial), 40);
    slot.ScheduleClass = CutToShortString(NameMatchKey(TheSchedule), 20);
    slot.PipeDataFilename = CutToShortString(TheFilename, 100);
}

std::string TPipeNominalSizeSet::PipeNominalSizeDataStringToSortOn(int PipeNominalSizeDataArrayIndex) const
{
    const TPipeNominalSizeData &row = Row(PipeNominalSizeDataArrayIndex);
    std::string outer = TableRealText(row.OuterDiameter_m, 15, 6);
    if (outer.size() < 20)
        outer.insert(0, 20 - outer.size(), ' ');
    return CutToShortString(row.Material + row.ScheduleClass, 60) + outer;
}

void TPipeNominalSizeSet::QuickSortPipeNominalSizeDataByMaterialScheduleOD(int iLo, int iHi)
{
    if (iLo >= iHi)
        return;
    const std::string pivot = PipeNominalSizeDataStringToSortOn((iLo + iHi) / 2);
    int i = iLo;
    int j = iHi;
    do {
        while (PipeNominalSizeDataStringToSortOn(i) < pivot)
            ++i;
        while (PipeNominalSizeDataStringToSortOn(j) > pivot)
            --j;
        if (i <= j) {
            SwitchPipeNominalSizeData(Row(i), Row(j));
            ++i;
            --j;
        }
    } while (i <= j);
    if (iLo < j)
        QuickSortPipeNominalSizeDataByMaterialScheduleOD(iLo, j);
    if (i < iHi)
        QuickSortPipeNominalSizeDataByMaterialScheduleOD(i, iHi);
}

std::string TPipeNominalSizeSet::PipeMaterialDataStringToSortOn(int PipeMaterialDataArrayIndex) const
{
    const TPipeMaterialData &slot = MaterialSlot(PipeMaterialDataArrayIndex);
    return slot.Material + " " + slot.ScheduleClass;
}

void TPipeNominalSizeSet::BubbleSortPipeMaterialDataByMaterial()
{
    if (MaterialCount < 2)
        return;
    for (int p = 1; p <= MaterialCount - 1; ++p)
        for (int b = 1; b <= MaterialCount - p; ++b)
            if (PipeMaterialDataStringToSortOn(b + 1) < PipeMaterialDataStringToSortOn(b))
                SwitchPipeMaterialData(MaterialSlot(b), MaterialSlot(b + 1));
}

void TPipeNominalSizeSet::SaveToTextPipeNominalSizeData(std::ostream &F) const
{
    const std::string sep = "~|~";
    try {
    for (int r = 1; r <= PipeCount; ++r) {
        const TPipeNominalSizeData &row = Row(r);
        WriteTextLine(F, TableFieldForLine(row.Material) + sep + TableFieldForLine(row.ScheduleClass) + sep +
                                  TableRealText(convertUnit(unt_m, unt_inch, row.InnerRoughness_m), 7, 6) + sep +
                                  std::to_string(row.NominalDiameterMetric) + sep +
                                  TableFieldForLine(row.NominalDiameterMetricString) + sep +
                                  TableFieldForLine(row.NominalDiameterImperialString) + sep +
                                  TableRealText(convertUnit(unt_m, unt_inch, row.WallThickness_m), 7, 3) + sep +
                                  TableRealText(convertUnit(unt_m, unt_inch, row.OuterDiameter_m), 7, 3));
    }
    } catch (const EStreamError &) {
        throw EPipeNominalSizeSetClass("Code -03: Could not save Pipe Nominal Size Set file.");
    }
}

void TPipeNominalSizeSet::LoadFromPipeDiameterSetData(const std::string &PipeFolderPath,
                                                      const TFunctionParameter &proc1, const TWarningProc &Warning)
{
    namespace fs = std::filesystem;
    auto progress = [&](const std::string &text) {
        currentFilename = text;
        if (proc1)
            proc1(text);
    };
    std::string beingRead = PipeFolderPath;
    try {
        progress("Loading Pipe Tables...");
        // Tables of one kind load in the order of their names, whatever
        // order the folder lists them in.
        std::vector<std::string> defaults, listed, programs, users;
        for (const auto &entry : fs::directory_iterator(fs::path(PipeFolderPath))) {
            if (!entry.is_regular_file())
                continue;
            const std::string ext = LowerExtension(entry.path());
            const std::string name = entry.path().filename().string();
            if (ext == ".trpin")
                defaults.push_back(name);
            else if (ext == ".trpil")
                listed.push_back(name);
            else if (ext == ".trpi")
                programs.push_back(name);
            else if (ext == ".trpiu")
                users.push_back(name);
        }
        for (auto *names : {&defaults, &listed, &programs, &users})
            std::sort(names->begin(), names->end());

        TPipeDiameterSet scratch(ScratchTableCapacity);
        auto readTable = [&](const std::string &name, bool userTable) {
            scratch.Clear();
            progress("Loading: " + name);
            const std::string path = (fs::path(PipeFolderPath) / name).string();
            beingRead = path;
            std::ifstream file(path, std::ios::binary);
            if (!file)
                throw EPipeNominalSizeSetClass("cannot open " + path);
            FileHeader.LoadFromText(file);
            const std::string version = FileHeader.VersionReference;
            if (userTable) {
                scratch.LoadUserPipes_DiameterData_FromText(file, path, version, Warning);
                if (VersionBelow(version, UserNominalSizesVersion))
                    UpdatePipeDiameterSetToDefaultNominalSizes(scratch);
            } else {
                scratch.LoadFromText_DiameterData(file, path, version, Warning);
            }
            AddOnPipeDiameterSetData(scratch, Warning);
        };
        auto addMaterial = [&](const std::string &name) {
            const TPipe &first = scratch.GetPipeDiameterData(1);
            AddToPipeMaterialSetData(first.Material, first.ScheduleClass, name, Warning);
        };

        if (!defaults.empty())
            readTable(defaults.front(), false);
        LastDefaultPipeIndex = PipeCount;
        for (auto *names : {&listed, &programs})
            for (const auto &name : *names) {
                readTable(name, false);
                addMaterial(name);
            }
        for (const auto &name : users) {
            readTable(name, true);
            addMaterial(name);
        }

        progress("Sorting Pipe Diameter Data...");
        QuickSortPipeNominalSizeDataByMaterialScheduleOD(LastDefaultPipeIndex + 1, PipeCount);
        progress("Sorting Pipe Material Data...");
        BubbleSortPipeMaterialDataByMaterial();
        progress("");
    } catch (const std::exception &) {
        if (Warning)
            Warning("Error reading Pipe database files.\r\rPlease check read/write file permissions on:\r" +
                    beingRead);
    }
}

} // namespace tessaran
