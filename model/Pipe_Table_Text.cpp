#include "model/Pipe_Table_Text.h"

#include "platform/TextFile.h"

#include <charconv>
#include <cmath>

namespace tessaran {

namespace {

const std::string FieldSeparator = "~|~";

std::string Trimmed(const std::string &text)
{
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

bool IsTableFieldText(std::string_view text)
{
    return text.find(FieldSeparator) == std::string_view::npos && !text.ends_with("~|");
}

std::string CutTableField(std::string_view text, int capacity)
{
    std::string field = CutToShortString(text, capacity);
    if (field.ends_with("~|"))
        field.pop_back();
    return field;
}

std::string TableFieldForLine(std::string_view text)
{
    std::string field(text);
    for (std::size_t p = field.find(FieldSeparator); p != std::string::npos; p = field.find(FieldSeparator, p))
        field[p + 1] = '!';
    if (field.ends_with("~|"))
        field.back() = '!';
    return field;
}

std::vector<std::string> SplitTableFields(const std::string &line, int fieldCount)
{
    std::vector<std::string> fields;
    std::string rest = line;
    for (int i = 1; i < fieldCount; ++i) {
        auto p = rest.find(FieldSeparator);
        if (p == std::string::npos)
            return {};
        fields.push_back(rest.substr(0, p));
        rest.erase(0, p + FieldSeparator.size());
    }
    fields.push_back(rest);
    return fields;
}

bool ReadTableReal(const std::string &text, double &value)
{
    std::string t = Trimmed(text);
    auto comma = t.find(',');
    if (comma != std::string::npos)
        t[comma] = '.';
    if (t.empty())
        return false;
    const char *begin = t.data();
    const char *end = t.data() + t.size();
    if (*begin == '+')
        ++begin;
    double v = 0;
    auto result = std::from_chars(begin, end, v, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ReadTableInteger(const std::string &text, int &value)
{
    std::string t = Trimmed(text);
    if (t.empty())
        return false;
    const char *begin = t.data();
    const char *end = t.data() + t.size();
    if (*begin == '+')
        ++begin;
    int v = 0;
    auto result = std::from_chars(begin, end, v);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    value = v;
    return true;
}

std::string TableRealText(double value, int precision, int decimals)
{
    char buffer[400];
    // Round to the significant digits first, then lay out the decimals.
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, precision - 1);
    double rounded = value;
    std::from_chars(buffer, r.ptr, rounded, std::chars_format::scientific);
    r = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    std::string text(buffer, r.ptr);
    // A value that rounds to nothing is written without a sign.
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
        text.erase(0, 1);
    return text;
}

} // namespace tessaran
