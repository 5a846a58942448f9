#include "model/Fitting_Class.h"

#include "model/Pipe_Table_Text.h"

#include "platform/Stream.h"
#include "platform/TextFile.h"
#include "units/Unit_Format.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tessaran {
namespace {

const char *const LoadFromTextFailed = "TFitting.LoadFromText Failed: String format may not be correct";

// Fixed-point text with at least two decimals and as many more as the value
// needs to read back exactly.
std::string FormatKValue(double value)
{
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    std::string text(buffer, result.ptr);
    auto point = text.find('.');
    if (point == std::string::npos) {
        text += '.';
        point = text.size() - 1;
    }
    while (text.size() - point - 1 < 2)
        text += '0';
    return text;
}

std::string PadLeft(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

std::string PadRight(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

int ParseInteger(std::string_view text)
{
    text = TrimBlanks(text);
    int value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        throw EFittingClass(LoadFromTextFailed);
    return value;
}

// Tables may come with either decimal separator.
double ParseKValue(std::string_view field)
{
    std::string text(TrimBlanks(field));
    if (auto comma = text.find(','); comma != std::string::npos)
        text[comma] = '.';
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        throw EFittingClass(LoadFromTextFailed);
    return value;
}

} // namespace

void TFitting::Clear()
{
    ImageIndex = -1;
    MetricSize = -1;
    PartTypeStr.clear();
    MetricDiameter.clear();
    ImperialDiameter.clear();
    Description.clear();
    KValue = 0;
}

void TFitting::SetFittingData(int the_MetricSize, int the_ImageIndex, std::string_view the_PartTypeStr,
                              std::string_view the_MetricDiameter, std::string_view the_ImperialDiameter,
                              std::string_view the_Description, double the_KValue)
{
    // The texts are fields of the fittings text tables.
    for (std::string_view text : {the_PartTypeStr, the_MetricDiameter, the_ImperialDiameter, the_Description})
        if (!IsTableFieldText(text))
            throw EFittingClass("Fitting texts may not hold \"~|~\" or end in \"~|\": " + std::string(text));
    MetricSize = the_MetricSize;
    ImageIndex = the_ImageIndex;
    PartTypeStr = CutTableField(the_PartTypeStr, PartTypeStrLength);
    MetricDiameter = CutTableField(the_MetricDiameter, MetricDiameterLength);
    ImperialDiameter = CutTableField(the_ImperialDiameter, ImperialDiameterLength);
    Description = CutTableField(the_Description, DescriptionLength);
    KValue = the_KValue;
}

std::string TFitting::GetSizedField(int field) const
{
    switch (field) {
    case 0:
        return PadLeft(std::to_string(ImageIndex), 4);
    case 1:
        return PadLeft(std::to_string(MetricSize), 4);
    case 2:
        return PadRight(PartTypeStr, PartTypeStrLength);
    case 3:
        return PadLeft(MetricDiameter, MetricDiameterLength);
    case 4:
        return PadLeft(ImperialDiameter, ImperialDiameterLength);
    case 5:
        return PadRight(Description, DescriptionLength);
    case 6:
        return PadLeft(formatFixed(2, KValue, '.'), 16);
    default:
        return {};
    }
}

std::string TFitting::GetSortString(int firstField, int secondField, int thirdField, int fittingId) const
{
    return GetSizedField(firstField) + GetSizedField(secondField) + GetSizedField(thirdField) + '\t' +
           std::to_string(fittingId);
}

std::vector<std::string> TFitting::DisplayOnStringGrid() const
{
    return {std::to_string(MetricSize), std::to_string(ImageIndex), PartTypeStr,        MetricDiameter,
            ImperialDiameter,           Description,                formatFixed(4, KValue)};
}

void TFitting::Save(TStream &theFileStream) const
{
    theFileStream.WriteInt32(MetricSize);
    theFileStream.WriteInt32(ImageIndex);
    theFileStream.WriteShortString(PartTypeStr, PartTypeStrLength);
    theFileStream.WriteShortString(MetricDiameter, MetricDiameterLength);
    theFileStream.WriteShortString(ImperialDiameter, ImperialDiameterLength);
    theFileStream.WriteShortString(Description, DescriptionLength);
    theFileStream.WriteDouble(KValue);
}

void TFitting::Load(TStream &theFileStream)
{
    Clear();
    TFitting read;
    read.MetricSize = theFileStream.ReadInt32();
    read.ImageIndex = theFileStream.ReadInt32();
    read.PartTypeStr = theFileStream.ReadShortString(PartTypeStrLength);
    read.MetricDiameter = theFileStream.ReadShortString(MetricDiameterLength);
    read.ImperialDiameter = theFileStream.ReadShortString(ImperialDiameterLength);
    read.Description = theFileStream.ReadShortString(DescriptionLength);
    read.KValue = theFileStream.ReadDouble();
    *this = read;
}

std::string TFitting::GetTextLine() const
{
    std::string line;
    for (const std::string &field : {std::to_string(MetricSize), std::to_string(ImageIndex), PartTypeStr,
                                     MetricDiameter, ImperialDiameter, Description}) {
        line += TableFieldForLine(field);
        line += TextSeparator;
    }
    line += FormatKValue(KValue);
    return line;
}

void TFitting::SaveToText(std::ostream &f) const { WriteTextLine(f, GetTextLine()); }

void TFitting::SetFromTextLine(std::string_view line)
{
    Clear();
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (int i = 0; i < 6; ++i) {
        auto separator = line.find(TextSeparator, start);
        if (separator == std::string_view::npos)
            throw EFittingClass(LoadFromTextFailed);
        fields.push_back(line.substr(start, separator - start));
        start = separator + TextSeparator.size();
    }
    fields.push_back(line.substr(start));

    TFitting read;
    read.SetFittingData(ParseInteger(fields[0]), ParseInteger(fields[1]), fields[2], fields[3], fields[4], fields[5],
                        ParseKValue(fields[6]));
    *this = read;
}

void TFitting::LoadFromText(std::istream &f) { SetFromTextLine(ReadTextLine(f)); }

} // namespace tessaran
