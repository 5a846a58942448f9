#pragma once
// One fitting: a bend, valve, entry, exit, contraction or expansion with its
// loss coefficient K, as the fittings database and every pipe's fitting set
// hold it.

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaran {

class TStream;

class EFittingClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFitting {
public:
    static constexpr int PartTypeStrLength = 40;
    static constexpr int MetricDiameterLength = 16;
    static constexpr int ImperialDiameterLength = 16;
    static constexpr int DescriptionLength = 80;
    // MetricSize, ImageIndex, four short strings and KValue.
    static constexpr int RecordSize = 4 + 4 + (PartTypeStrLength + 1) + (MetricDiameterLength + 1) +
                                      (ImperialDiameterLength + 1) + (DescriptionLength + 1) + 8;
    static constexpr std::string_view TextSeparator = "~|~";
    // Symbols 7 to 20 are valves.
    static constexpr int FirstValveImageIndex = 7;
    static constexpr int LastValveImageIndex = 20;

    TFitting() { Clear(); }

    void Clear();
    void CopyFitting(const TFitting &the_Fitting) { *this = the_Fitting; }
    void SetFittingData(int the_MetricSize, int the_ImageIndex, std::string_view the_PartTypeStr,
                        std::string_view the_MetricDiameter, std::string_view the_ImperialDiameter,
                        std::string_view the_Description, double the_KValue);

    bool IsValve() const { return ImageIndex >= FirstValveImageIndex && ImageIndex <= LastValveImageIndex; }

    // One field as a fixed-width text for sorting (0 ImageIndex .. 6 KValue);
    // any other field number gives an empty text.
    std::string GetSizedField(int field) const;
    // Three sized fields, a tab and the fitting id.
    std::string GetSortString(int firstField, int secondField, int thirdField, int fittingId) const;
    // The seven cells of a fittings grid row: MetricSize, ImageIndex,
    // PartTypeStr, MetricDiameter, ImperialDiameter, Description, KValue.
    std::vector<std::string> DisplayOnStringGrid() const;

    void Save(TStream &theFileStream) const;
    // Raises the stream's error on a damaged record and leaves the fitting
    // cleared.
    void Load(TStream &theFileStream);

    // The fitting line: seven fields joined by "~|~", "." as decimal
    // separator, K with as many decimals as it needs to read back (two at
    // least).
    std::string GetTextLine() const;
    void SaveToText(std::ostream &f) const;
    // Parses one fitting line, accepting "." or "," in K. On a malformed line
    // raises EFittingClass and leaves the fitting cleared.
    void SetFromTextLine(std::string_view line);
    void LoadFromText(std::istream &f);

    int ImageIndex;
    int MetricSize;
    std::string PartTypeStr;
    std::string MetricDiameter;
    std::string ImperialDiameter;
    std::string Description;
    double KValue;
};

} // namespace tessaran
