#pragma once
// The fluid database: a fixed-capacity set of named liquids and gases, each
// marked standard or user-defined, and its four text files ("trn_Liquids"
// and "trn_Gases", standard and user) plus the reader of the single fluid
// file of older versions. Free of Qt: the dialog shows what the loaders
// report.

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/Fluid_Class.h"

namespace tessaran {

class EFluidDataSetClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TFluidDataRec {
    // The set's own object; adding and replacing copy from it.
    TFluid *Fluid = nullptr;
    bool Is_UserFluidData = false;
};

// The four categories of entries, each with its own file, in the order
// the dialog loads their files.
enum class TFluidCategory { StandardLiquids, UserLiquids, StandardGases, UserGases };

struct TFluidFileNames {
    static constexpr std::string_view Folder = "FluidTables";
    static constexpr std::string_view Liquids = "trn_Liquids";
    static constexpr std::string_view Gases = "trn_Gases";
    static constexpr std::string_view StandardLiquidsExtension = ".trli";
    static constexpr std::string_view UserLiquidsExtension = ".trliu";
    static constexpr std::string_view StandardGasesExtension = ".trga";
    static constexpr std::string_view UserGasesExtension = ".trgau";
    static constexpr std::string_view OldFluids = "trn_Fluids";
    static constexpr std::string_view OldFluidsExtension = ".trflu";
    static constexpr std::string_view OldFluidsRenamed = "trn_Fluids_OLD";
    static constexpr std::string_view OldFluidsRenamedExtension = ".trfluOLD";
    // The header version the writers put.
    static constexpr std::string_view Version = "1.03";
};

// File name with extension of a category.
std::string FluidCategoryFileName(TFluidCategory category);
TFluidCategory FluidCategoryOf(bool isUser, bool isGas);

// The fluid's line of the current files: eight fields joined by "~|~", the
// numbers with the user's decimal separator.
std::string FluidToString(const TFluid &theFluid);
// Parse a current line or a line of the old combined file into the record's
// fluid; a malformed line raises EFluidDataSetClass.
void SetFluidFromString(std::string_view s, TFluidDataRec &theFluidDataRec);
void SetFluidFromV639String(std::string_view s, TFluidDataRec &theFluidDataRec);
// A text that would break a line of the fluid files: it holds the field
// separator or a line break.
bool BreaksFluidLine(std::string_view text);

class TFluidDataSet {
public:
    explicit TFluidDataSet(int FluidDataSetSize);
    TFluidDataSet(const TFluidDataSet &) = delete;
    TFluidDataSet &operator=(const TFluidDataSet &) = delete;

    void ClearFluidDataArray();
    void ClearFluidDataRec(int TheFluidDataId);
    void ReplaceFluidDataRec(int TheFluidDataId, const TFluidDataRec &The_FluidDataRec);
    void CopyFluidDataRec(int TheFluidDataId, const TFluidDataRec &The_FluidDataRec)
    {
        ReplaceFluidDataRec(TheFluidDataId, The_FluidDataRec);
    }
    TFluidDataRec GetFluidDataRec(int TheFluidDataId) const;
    int AddFluidDataRec(const TFluidDataRec &The_FluidDataRec);
    void RemoveFluidDataRec(int TheFluidDataId);
    int FindEntryNameId(std::string_view s) const;
    int FindEntryNameIDAndTemperaturePressure(std::string_view s, double temperature_deg_K,
                                              double pressure_bar_g) const;
    void SortFluidDataSet(bool AscDec);

    // Append the file's fluid lines (the stream stands after the header).
    // A malformed line raises EFluidDataSetClass "Code -01: Error on line
    // number n"; a file with more lines than free slots returns its
    // "Code -02" text for the user interface. Either way the count stays as
    // it was; otherwise the result is empty.
    [[nodiscard]] std::string LoadFromText_LiquidsDataSet(std::istream &f);
    [[nodiscard]] std::string LoadFromText_UserLiquidsDataSet(std::istream &f);
    [[nodiscard]] std::string LoadFromText_GasesDataSet(std::istream &f);
    [[nodiscard]] std::string LoadFromText_UserGasesDataSet(std::istream &f);
    [[nodiscard]] std::string LoadFromText_V639FluidsDataSet(std::istream &f);

    // Write the lines of one category; a failure raises EFluidDataSetClass
    // with the category's "Code -03" text.
    void SaveToText_LiquidsDataSet(std::ostream &f) const;
    void SaveToText_UserLiquidsDataSet(std::ostream &f) const;
    void SaveToText_GasesDataSet(std::ostream &f) const;
    void SaveToText_UserGasesDataSet(std::ostream &f) const;
    void SaveToText(TFluidCategory category, std::ostream &f) const;

    // Entries 1 .. FluidCount are in use.
    std::vector<TFluidDataRec> FluidDataArray;
    int FluidCount = 0;
    int MaxFluidCount = 0;
    std::vector<TFluidDataRec> TempSortFluidDataArray;

private:
    enum class TLineKind { Current, V639 };
    enum class TFlagFrom { Standard, User, LastCharacter };
    std::string loadLines(std::istream &f, TLineKind kind, TFlagFrom flag, const char *tooLarge);
    void saveCategory(std::ostream &f, bool isUser, bool isGas, const char *failure) const;

    // The fluid objects, never reallocated: the records point into them.
    std::vector<TFluid> fluids_;
    std::vector<TFluid> sortFluids_;
};

} // namespace tessaran
