#include "dialogs/Fluid_Data_Set_Class.h"

#include <algorithm>
#include <utility>

#include "platform/TextFile.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

constexpr std::string_view Separator = "~|~";

// Cuts the text before the next separator off the line; false when the
// line holds no further separator.
bool TakeField(std::string_view &line, std::string &field)
{
    const std::size_t at = line.find(Separator);
    if (at == std::string_view::npos)
        return false;
    field.assign(line.substr(0, at));
    line.remove_prefix(at + Separator.size());
    return true;
}

bool TakeNumber(std::string_view &line, double &value)
{
    std::string field;
    if (!TakeField(line, field))
        return false;
    const char separator = userDecimalSeparator();
    NormaliseDecimalSeparator(field, separator);
    bool valid = false;
    value = ReadRealFromString(field, valid, true, true, separator);
    return valid;
}

// Name, formula and the four numbers every line starts with.
bool TakeCommonFields(std::string_view &line, TFluid &fluid, double &fifth)
{
    std::string name, formula;
    double temperature = 0, pressure = 0, density = 0, viscosity = 0;
    if (!TakeField(line, name) || !TakeField(line, formula) || !TakeNumber(line, temperature) ||
        !TakeNumber(line, pressure) || !TakeNumber(line, density) || !TakeNumber(line, viscosity) ||
        !TakeNumber(line, fifth))
        return false;
    fluid.name = CutToShortString(name, TFluid::NameLength);
    fluid.chemicalFormula = CutToShortString(formula, TFluid::ChemicalFormulaLength);
    fluid.degrees_K = temperature;
    fluid.pressure_bar_g = pressure;
    fluid.density_kgs_m3 = density;
    fluid.centipoise = viscosity;
    return true;
}

void DeriveCentistokes(TFluid &fluid) { fluid.centistokes = fluid.centipoise / fluid.density_kgs_m3 * 1000.0; }

} // namespace

std::string FluidCategoryFileName(TFluidCategory category)
{
    switch (category) {
    case TFluidCategory::StandardLiquids:
        return std::string(TFluidFileNames::Liquids) + std::string(TFluidFileNames::StandardLiquidsExtension);
    case TFluidCategory::UserLiquids:
        return std::string(TFluidFileNames::Liquids) + std::string(TFluidFileNames::UserLiquidsExtension);
    case TFluidCategory::StandardGases:
        return std::string(TFluidFileNames::Gases) + std::string(TFluidFileNames::StandardGasesExtension);
    case TFluidCategory::UserGases:
        return std::string(TFluidFileNames::Gases) + std::string(TFluidFileNames::UserGasesExtension);
    }
    return {};
}

TFluidCategory FluidCategoryOf(bool isUser, bool isGas)
{
    if (isGas)
        return isUser ? TFluidCategory::UserGases : TFluidCategory::StandardGases;
    return isUser ? TFluidCategory::UserLiquids : TFluidCategory::StandardLiquids;
}

bool BreaksFluidLine(std::string_view text)
{
    return text.find(Separator) != std::string_view::npos || text.find_first_of("\r\n") != std::string_view::npos;
}

std::string FluidToString(const TFluid &theFluid)
{
    // A name or formula holding the separator or a line break would shift
    // every later field of its line, or split the line in two.
    if (BreaksFluidLine(theFluid.name) || BreaksFluidLine(theFluid.chemicalFormula))
        throw EFluidDataSetClass("TFluidDataSet.FluidToString Failed: Name or formula holds \"~|~\" or a line break");
    std::string line = theFluid.name;
    line += Separator;
    line += theFluid.chemicalFormula;
    line += Separator;
    for (double value : {theFluid.degrees_K, theFluid.pressure_bar_g, theFluid.density_kgs_m3, theFluid.centipoise}) {
        line += formatFixed(3, value);
        line += Separator;
    }
    line += formatFixed(6, theFluid.FluidIsGas ? theFluid.specificHeatRatio : theFluid.vapourPressure_bar_a * 100.0);
    line += Separator;
    line += theFluid.FluidIsGas ? "1" : "0";
    return line;
}

void SetFluidFromString(std::string_view s, TFluidDataRec &theFluidDataRec)
{
    TFluid &fluid = *theFluidDataRec.Fluid;
    const bool isGas = !s.empty() && s.back() != '0';
    double fifth = 0;
    std::string_view line = s;
    if (s.empty() || !TakeCommonFields(line, fluid, fifth))
        throw EFluidDataSetClass("TFluidDataSetClass.SetFluidFromString Failed: String format may not be correct");
    fluid.FluidIsGas = isGas;
    if (isGas)
        fluid.specificHeatRatio = fifth;
    else
        fluid.vapourPressure_bar_a = fifth / 100.0;
    DeriveCentistokes(fluid);
}

void SetFluidFromV639String(std::string_view s, TFluidDataRec &theFluidDataRec)
{
    TFluid &fluid = *theFluidDataRec.Fluid;
    double fifth = 0;
    std::string_view line = s;
    if (!TakeCommonFields(line, fluid, fifth))
        throw EFluidDataSetClass("TFluidDataSetClass.SetFluidFromV639String Failed: String format may not be correct");
    fluid.vapourPressure_bar_a = fifth / 100.0;
    std::string state;
    // A state field without a following separator reads as empty: a gas.
    TakeField(line, state);
    fluid.FluidIsGas = state != "0";
    if (fluid.FluidIsGas) {
        fluid.vapourPressure_bar_a = 0;
        fluid.specificHeatRatio = 0;
    }
    DeriveCentistokes(fluid);
}

TFluidDataSet::TFluidDataSet(int FluidDataSetSize)
    : FluidDataArray(static_cast<std::size_t>(FluidDataSetSize) + 1), MaxFluidCount(FluidDataSetSize),
      TempSortFluidDataArray(static_cast<std::size_t>(FluidDataSetSize) + 1),
      fluids_(static_cast<std::size_t>(FluidDataSetSize) + 1),
      sortFluids_(static_cast<std::size_t>(FluidDataSetSize) + 1)
{
    for (int i = 1; i <= MaxFluidCount; ++i) {
        FluidDataArray[i].Fluid = &fluids_[i];
        TempSortFluidDataArray[i].Fluid = &sortFluids_[i];
    }
}

void TFluidDataSet::ClearFluidDataArray()
{
    for (int i = 1; i <= MaxFluidCount; ++i)
        ClearFluidDataRec(i);
    FluidCount = 0;
}

void TFluidDataSet::ClearFluidDataRec(int TheFluidDataId)
{
    if (TheFluidDataId < 1 || TheFluidDataId > MaxFluidCount)
        return;
    FluidDataArray[TheFluidDataId].Fluid->Clear();
    FluidDataArray[TheFluidDataId].Is_UserFluidData = false;
}

void TFluidDataSet::ReplaceFluidDataRec(int TheFluidDataId, const TFluidDataRec &The_FluidDataRec)
{
    if (TheFluidDataId < 1 || TheFluidDataId > MaxFluidCount || !The_FluidDataRec.Fluid)
        throw EFluidDataSetClass("TFluidDataSet.ReplaceFluidData Failed: Specified Id may not be valid");
    FluidDataArray[TheFluidDataId].Fluid->CopyFluid(*The_FluidDataRec.Fluid);
    FluidDataArray[TheFluidDataId].Is_UserFluidData = The_FluidDataRec.Is_UserFluidData;
}

TFluidDataRec TFluidDataSet::GetFluidDataRec(int TheFluidDataId) const
{
    if (TheFluidDataId < 1 || TheFluidDataId > MaxFluidCount)
        throw EFluidDataSetClass("TFluidDataSet.GetFluidData Failed: Specified Id may not be valid");
    return FluidDataArray[TheFluidDataId];
}

int TFluidDataSet::AddFluidDataRec(const TFluidDataRec &The_FluidDataRec)
{
    if (FluidCount >= MaxFluidCount || !The_FluidDataRec.Fluid)
        throw EFluidDataSetClass("TFluidDataSet.AddFluidData Failed: May have reached Max number of Fluids allowed");
    ReplaceFluidDataRec(FluidCount + 1, The_FluidDataRec);
    return ++FluidCount;
}

void TFluidDataSet::RemoveFluidDataRec(int TheFluidDataId)
{
    if (TheFluidDataId < 1 || TheFluidDataId > FluidCount)
        throw EFluidDataSetClass("TFluidDataSet.RemoveFluidData Failed: Specified Id may not be valid");
    for (int i = TheFluidDataId; i < MaxFluidCount; ++i)
        ReplaceFluidDataRec(i, FluidDataArray[i + 1]);
    ClearFluidDataRec(MaxFluidCount);
    --FluidCount;
}

int TFluidDataSet::FindEntryNameId(std::string_view s) const
{
    for (int i = FluidCount; i >= 1; --i)
        if (FluidDataArray[i].Fluid->name == s)
            return i;
    return -1;
}

int TFluidDataSet::FindEntryNameIDAndTemperaturePressure(std::string_view s, double temperature_deg_K,
                                                         double pressure_bar_g) const
{
    for (int i = FluidCount; i >= 1; --i) {
        const TFluid &fluid = *FluidDataArray[i].Fluid;
        if (fluid.name == s && fluid.degrees_K == temperature_deg_K && fluid.pressure_bar_g == pressure_bar_g)
            return i;
    }
    return -1;
}

void TFluidDataSet::SortFluidDataSet(bool AscDec)
{
    for (int i = 1; i <= MaxFluidCount; ++i) {
        TempSortFluidDataArray[i].Fluid->Clear();
        TempSortFluidDataArray[i].Is_UserFluidData = false;
    }
    std::vector<std::pair<std::string, int>> keys;
    keys.reserve(static_cast<std::size_t>(FluidCount));
    for (int i = 1; i <= FluidCount; ++i) {
        TempSortFluidDataArray[i].Fluid->CopyFluid(*FluidDataArray[i].Fluid);
        TempSortFluidDataArray[i].Is_UserFluidData = FluidDataArray[i].Is_UserFluidData;
        const TFluid &fluid = *FluidDataArray[i].Fluid;
        std::string temperature = formatFixed(3, fluid.degrees_K);
        std::string pressure = formatFixed(3, fluid.pressure_bar_g);
        PadLeft(temperature, 16);
        PadLeft(pressure, 16);
        keys.emplace_back(
            (fluid.FluidIsGas ? "Gas" : "Fluid") + fluid.name + temperature + pressure + "\t" + std::to_string(i), i);
    }
    // Ordinal comparison by character code.
    std::sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) {
        return std::lexicographical_compare(
            a.first.begin(), a.first.end(), b.first.begin(), b.first.end(),
            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
    for (int i = 1; i <= FluidCount; ++i) {
        const int from = AscDec ? keys[static_cast<std::size_t>(i - 1)].second
                                : keys[static_cast<std::size_t>(FluidCount - i)].second;
        ReplaceFluidDataRec(i, TempSortFluidDataArray[from]);
    }
}

std::string TFluidDataSet::loadLines(std::istream &f, TLineKind kind, TFlagFrom flag, const char *tooLarge)
{
    int next = FluidCount + 1;
    while (HasAnotherTextLine(f)) {
        const std::string line = ReadTextLine(f);
        if (next > MaxFluidCount)
            return tooLarge;
        TFluidDataRec &slot = FluidDataArray[next];
        try {
            if (kind == TLineKind::Current)
                SetFluidFromString(line, slot);
            else
                SetFluidFromV639String(line, slot);
        } catch (const EFluidDataSetClass &) {
            throw EFluidDataSetClass("Code -01: Error on line number " + std::to_string(next));
        }
        switch (flag) {
        case TFlagFrom::Standard: slot.Is_UserFluidData = false; break;
        case TFlagFrom::User: slot.Is_UserFluidData = true; break;
        case TFlagFrom::LastCharacter: slot.Is_UserFluidData = line.empty() || line.back() != '0'; break;
        }
        ++next;
    }
    FluidCount = next - 1;
    return {};
}

std::string TFluidDataSet::LoadFromText_LiquidsDataSet(std::istream &f)
{
    return loadLines(f, TLineKind::Current, TFlagFrom::Standard,
                     "Code -02: File too large - Read past max number of Fluid entries.");
}

std::string TFluidDataSet::LoadFromText_UserLiquidsDataSet(std::istream &f)
{
    return loadLines(f, TLineKind::Current, TFlagFrom::User,
                     "Code -02a: File too large - Read past max number of Fluids.");
}

std::string TFluidDataSet::LoadFromText_GasesDataSet(std::istream &f)
{
    return loadLines(f, TLineKind::Current, TFlagFrom::Standard,
                     "Code -02b: File too large - Read past max number of Fluid entries.");
}

std::string TFluidDataSet::LoadFromText_UserGasesDataSet(std::istream &f)
{
    return loadLines(f, TLineKind::Current, TFlagFrom::User,
                     "Code -02c: File too large - Read past max number of Fluids.");
}

std::string TFluidDataSet::LoadFromText_V639FluidsDataSet(std::istream &f)
{
    return loadLines(f, TLineKind::V639, TFlagFrom::LastCharacter,
                     "Code -02: File too large - Read past max number of Fluid entries.");
}

void TFluidDataSet::saveCategory(std::ostream &f, bool isUser, bool isGas, const char *failure) const
{
    try {
        for (int i = 1; i <= FluidCount; ++i) {
            const TFluidDataRec &entry = FluidDataArray[i];
            if (entry.Is_UserFluidData == isUser && entry.Fluid->FluidIsGas == isGas)
                WriteTextLine(f, FluidToString(*entry.Fluid));
        }
    } catch (const std::exception &) {
        throw EFluidDataSetClass(failure);
    }
}

void TFluidDataSet::SaveToText_LiquidsDataSet(std::ostream &f) const
{
    saveCategory(f, false, false, "Code -03: Could not save Standard Liquids file.");
}

void TFluidDataSet::SaveToText_UserLiquidsDataSet(std::ostream &f) const
{
    saveCategory(f, true, false, "Code -03a: Could not save User Liquids file.");
}

void TFluidDataSet::SaveToText_GasesDataSet(std::ostream &f) const
{
    saveCategory(f, false, true, "Code -03b: Could not save Standard Gases file.");
}

void TFluidDataSet::SaveToText_UserGasesDataSet(std::ostream &f) const
{
    saveCategory(f, true, true, "Code -03c: Could not save User Gases file.");
}

void TFluidDataSet::SaveToText(TFluidCategory category, std::ostream &f) const
{
    switch (category) {
    case TFluidCategory::StandardLiquids: SaveToText_LiquidsDataSet(f); break;
    case TFluidCategory::UserLiquids: SaveToText_UserLiquidsDataSet(f); break;
    case TFluidCategory::StandardGases: SaveToText_GasesDataSet(f); break;
    case TFluidCategory::UserGases: SaveToText_UserGasesDataSet(f); break;
    }
}

} // namespace tessaran
