#include "units/Numeric_Entry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace tessaran {

namespace {

// An empty box must never read as valid: it is replaced by a text that
// fails every test.
constexpr std::string_view Unreadable = "A";

bool isDigit(char16_t key) { return key >= u'0' && key <= u'9'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool refuse(char16_t &key)
{
    key = KeyNone;
    return false;
}

std::u16string removeAll(std::u16string text, std::u16string_view part)
{
    if (part.empty())
        return text;
    for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at))
        text.erase(at, part.size());
    return text;
}

// The entry's text with its selected part removed: typing replaces the
// selection. A selection outside the text is clipped to it.
std::u16string withoutSelection(const TEntryText &entry, std::u16string *selected = nullptr)
{
    const int size = static_cast<int>(entry.text.size());
    const int start = std::clamp(entry.selStart, 0, size);
    const int length = std::clamp(entry.selLength, 0, size - start);
    if (selected)
        *selected = entry.text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    std::u16string text = entry.text;
    text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    return text;
}

std::string_view trimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A real written with the given decimal separator: optional sign, digits
// with at most one separator, optional exponent. Blanks around it are
// ignored. Anything else, or a value out of range, fails.
bool convertReal(std::string_view text, char decimalSeparator, double &value)
{
    text = trimBlanks(text);
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool separatorSeen = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            plain += c;
            ++mantissaDigits;
        } else if (c == decimalSeparator && !separatorSeen) {
            plain += '.';
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        int exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++exponentDigits)
            plain += text[i];
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (result.ec != std::errc() || result.ptr != plain.data() + plain.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

template <typename Integer>
bool convertInteger(std::string_view text, Integer &value)
{
    if (text.empty() || text == "-")
        return false;
    Integer parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

template <typename Number>
void applyZeroAndSign(Number value, bool &valid, bool allowZero, bool allowNegative)
{
    if (value == 0 && !allowZero)
        valid = false;
    if (value < 0 && !allowNegative)
        valid = false;
}

template <typename Integer>
Integer readInteger(std::string_view text, bool &valid, bool allowZero, bool allowNegative)
{
    if (text.empty())
        text = Unreadable;
    Integer value = 0;
    if (!IsIntegerText(text) || !convertInteger(text, value)) {
        valid = false;
        return -1;
    }
    valid = true;
    applyZeroAndSign(value, valid, allowZero, allowNegative);
    return value;
}

int characterCount(const std::string &text)
{
    int count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace

bool FilterNumericKey(std::u16string_view text, char16_t &key, bool allowNegative, char16_t decimalSeparator)
{
    const bool inSet = key == KeyBackspace || isDigit(key) || key == decimalSeparator ||
                       (key == u'-' && allowNegative);
    if (!inSet)
        return refuse(key);
    if ((key == u'-' || key == decimalSeparator) && text.find(key) != std::u16string_view::npos)
        return refuse(key);
    return true;
}

bool FilterIntegerKey(const TEntryText &entry, char16_t &key, bool allowNegative, int maximumLength)
{
    const std::u16string text = withoutSelection(entry);
    const bool inSet = key == KeyBackspace || key == KeyTab || key == KeyReturn || isDigit(key) ||
                       (key == u'-' && allowNegative);
    if (!inSet)
        return refuse(key);
    if (key == u'-' && text.find(u'-') != std::u16string::npos)
        return refuse(key);
    if (isDigit(key) && static_cast<int>(text.size()) >= maximumLength)
        return refuse(key);
    return true;
}

bool FilterRealKey(const TEntryText &entry, char16_t &key, bool allowNegative, int maximumPreDecimalDigits,
                   int maximumPostDecimalDigits, char16_t decimalSeparator, std::string *message)
{
    if (message)
        message->clear();
    std::u16string selected;
    const std::u16string text = withoutSelection(entry, &selected);
    const int cursor = std::clamp(entry.selStart, 0, static_cast<int>(entry.text.size()));

    const bool inSet = key == KeyBackspace || key == KeyTab || key == KeyReturn || isDigit(key) ||
                       key == decimalSeparator || (key == u'-' && allowNegative);
    if (!inSet)
        return refuse(key);

    if (key == u'-' || key == decimalSeparator) {
        if (removeAll(text, selected).find(key) != std::u16string::npos)
            return refuse(key);
        return true;
    }

    if (isDigit(key)) {
        const std::size_t at = text.find(decimalSeparator);
        const int length = static_cast<int>(text.size());
        // 1-based position of the separator, or just past the end.
        const int separator = at == std::u16string::npos ? length + 1 : static_cast<int>(at) + 1;
        if (separator > maximumPreDecimalDigits && cursor <= maximumPreDecimalDigits) {
            if (message)
                *message = MaxPreDecimalDigitsMessage;
            return refuse(key);
        }
        if (length - separator >= maximumPostDecimalDigits && cursor >= separator) {
            if (message)
                *message = MaxPostDecimalDigitsMessage;
            return refuse(key);
        }
    }
    return true;
}

bool FilterFileNameKey(char16_t &key, bool allowPoint)
{
    const bool inSet = key == KeyBackspace || key == u'-' || isDigit(key) || (key >= u'A' && key <= u'Z') ||
                       key == u'_' || (key >= u'a' && key <= u'z') || (key == u'.' && allowPoint);
    return inSet ? true : refuse(key);
}

double ReadRealFromString(std::string_view text, bool &valid, bool allowZero, bool allowNegative,
                          char decimalSeparator)
{
    std::string normalised(text);
    NormaliseDecimalSeparator(normalised, decimalSeparator);
    if (normalised.empty())
        normalised = Unreadable;
    double value = 0.0;
    if (!IsRealText(normalised, decimalSeparator) || !convertReal(normalised, decimalSeparator, value)) {
        valid = false;
        return -1.0;
    }
    valid = true;
    applyZeroAndSign(value, valid, allowZero, allowNegative);
    return value;
}

double ReadRealFromEdit(std::string_view editText, bool &valid, bool allowZero, bool allowNegative,
                        char decimalSeparator)
{
    // A lone minus is a negative number on its way: it reads as 0 and is
    // judged as 0, so a caller's earlier flag never decides.
    if (editText == "-") {
        valid = true;
        applyZeroAndSign(0.0, valid, allowZero, allowNegative);
        return 0.0;
    }
    return ReadRealFromString(editText, valid, allowZero, allowNegative, decimalSeparator);
}

std::int32_t ReadIntegerFromString(std::string_view text, bool &valid, bool allowZero, bool allowNegative)
{
    return readInteger<std::int32_t>(text, valid, allowZero, allowNegative);
}

std::int32_t ReadIntegerFromEdit(std::string_view editText, bool &valid, bool allowZero, bool allowNegative)
{
    return readInteger<std::int32_t>(editText, valid, allowZero, allowNegative);
}

std::int64_t ReadInt64FromString(std::string_view text, bool &valid, bool allowZero, bool allowNegative)
{
    return readInteger<std::int64_t>(text, valid, allowZero, allowNegative);
}

double ReadPositiveRealFromEdit(std::string_view editText, bool &valid, bool allowZeroOrNegative,
                                char decimalSeparator)
{
    std::string normalised(editText);
    NormaliseDecimalSeparator(normalised, decimalSeparator);
    if (normalised.empty())
        normalised = Unreadable;
    double value = 0.0;
    if (!convertReal(normalised, decimalSeparator, value)) {
        valid = false;
        return -1.0;
    }
    valid = value > 0.0 || allowZeroOrNegative;
    return value;
}

bool CheckRealInEdit(std::string_view editText, bool allowZeroOrNegative, char decimalSeparator)
{
    bool valid = false;
    ReadPositiveRealFromEdit(editText, valid, allowZeroOrNegative, decimalSeparator);
    return valid;
}

void NormaliseDecimalSeparator(std::string &text, char decimalSeparator)
{
    const char other = decimalSeparator == '.' ? ',' : decimalSeparator == ',' ? '.' : '\0';
    if (other == '\0')
        return;
    const std::size_t at = text.find(other);
    if (at != std::string::npos)
        text[at] = decimalSeparator;
}

std::string DecimalSeparatorToPoint(std::string_view text, char decimalSeparator)
{
    std::string result(text);
    const std::size_t at = result.find(decimalSeparator);
    if (at != std::string::npos)
        result[at] = '.';
    return result;
}

bool IsIntegerText(std::string_view text)
{
    for (const char c : text)
        if (!isDigit(c) && c != '-')
            return false;
    return true;
}

bool IsRealText(std::string_view text, char decimalSeparator)
{
    for (const char c : text)
        if (!isDigit(c) && c != '-' && c != decimalSeparator)
            return false;
    return true;
}

void PadLeft(std::string &text, int width) { PadLeftWith(text, ' ', width); }

void PadRight(std::string &text, int width)
{
    const int count = characterCount(text);
    if (count < width)
        text.append(static_cast<std::size_t>(width - count), ' ');
}

void PadLeftWith(std::string &text, char character, int width)
{
    const int count = characterCount(text);
    if (count < width)
        text.insert(0, static_cast<std::size_t>(width - count), character);
}

std::string LineBreaksToSpaces(std::string_view text) { return ReplaceLineBreaks(text, " "); }

std::string ReplaceLineBreaks(std::string_view text, std::string_view replacement)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '\n')
            continue;
        if (c == '\r')
            result += replacement;
        else
            result += c;
    }
    return result;
}

std::string RemoveSpaces(std::string_view text)
{
    std::string result;
    for (const char c : text)
        if (c != ' ')
            result += c;
    return result;
}

namespace {

std::string matchKey(std::string_view text, bool dropPoints)
{
    std::string result;
    for (char c : text) {
        if (c == ' ' || c == '-' || (dropPoints && c == '.'))
            continue;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        result += c;
    }
    return result;
}

} // namespace

std::string FilterMatchKey(std::string_view text) { return matchKey(text, false); }

std::string NameMatchKey(std::string_view text) { return matchKey(text, true); }

} // namespace tessaran
