#include "docexport/Doc_Utils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <numbers>

#include "docexport/Measurement_Units.h"
#include "platform/Font_Engine.h"

namespace tessaran {

namespace {

// Decimal digits and exponent of value rounded to `precision` significant
// digits: value ~ 0.d1d2d3... x 10^(exponent + 1).
struct Decimal {
    bool negative = false;
    std::string digits; // at least one digit, no leading zero unless the value is 0
    int exponent = 0;   // of the first digit
};

Decimal ToDecimal(double value, int precision)
{
    Decimal result;
    result.negative = std::signbit(value);
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                                   precision - 1);
    (void)ec;
    std::string text(buffer, end);
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            result.digits += text[i];
    result.exponent = std::atoi(text.c_str() + e + 1);
    return result;
}

std::string NonFinite(double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string FormatExponent(double value, int precision, int digits)
{
    const Decimal d = ToDecimal(value, precision);
    std::string text = d.negative ? "-" : "";
    text += d.digits[0];
    if (d.digits.size() > 1) {
        text += '.';
        text += d.digits.substr(1);
    }
    std::string exponent = std::to_string(std::abs(d.exponent));
    while (static_cast<int>(exponent.size()) < digits)
        exponent.insert(exponent.begin(), '0');
    text += d.exponent < 0 ? "E-" : "E+";
    return text + exponent;
}

std::string FormatGeneral(double value, int precision)
{
    if (value == 0)
        return "0";
    Decimal d = ToDecimal(value, precision);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    std::string text = d.negative ? "-" : "";
    if (d.exponent >= precision || d.exponent < -4) {
        text += d.digits[0];
        if (d.digits.size() > 1)
            text += "." + d.digits.substr(1);
        return text + "E" + std::to_string(d.exponent);
    }
    if (d.exponent < 0) {
        text += "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
        return text;
    }
    const std::size_t integerDigits = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= integerDigits)
        return text + d.digits + std::string(integerDigits - d.digits.size(), '0');
    return text + d.digits.substr(0, integerDigits) + "." + d.digits.substr(integerDigits);
}

std::string FormatFixed(double value, int precision, int digits)
{
    if (value != 0) {
        const Decimal d = ToDecimal(value, precision);
        if (d.exponent + 1 > precision)
            return FormatExponent(value, precision, 0);
        // Round to the significant digits first, as the run-time formatting does;
        // beyond 17 digits a double carries nothing more.
        if (precision < 17) {
            std::string text = (d.negative ? "-0." : "0.") + d.digits + "e" + std::to_string(d.exponent + 1);
            std::from_chars(text.data(), text.data() + text.size(), value);
        }
    }
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
    (void)ec;
    std::string text(buffer, end);
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

const char kHexDigits[] = "0123456789ABCDEF";

char16_t FoldCase(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + 32);
    // Latin-1 capitals, except the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 32);
    return c;
}

} // namespace

std::string FloatToPDFStrF(TFloatFormat format, int precision, int digits, double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    precision = std::clamp(precision, 1, 18);
    switch (format) {
    case TFloatFormat::ffExponent:
        return FormatExponent(value, precision, std::clamp(digits, 0, 4));
    case TFloatFormat::ffFixed:
        return FormatFixed(value, precision, std::clamp(digits, 0, 18));
    case TFloatFormat::ffGeneral:
        break;
    }
    return FormatGeneral(value, precision);
}

std::string FloatToPDFStr(double value)
{
    return FloatToPDFStrF(TFloatFormat::ffGeneral, 15, 0, value);
}

TColor GetSysColor(int index)
{
    if (index < 0 || index > 0xFF)
        return clBlack;
    return ColorToRGB(clSystemColor | index);
}

void ResolveSysColor(TColor &color)
{
    const auto bits = static_cast<std::uint32_t>(color);
    if ((bits >> 24) == 0xFF)
        color = GetSysColor(static_cast<int>(bits & 0xFFFFFF));
}

namespace {
// Either form of system colour resolved, then red, green, blue bytes.
std::uint32_t ResolvedRGB(TColor color)
{
    ResolveSysColor(color);
    return static_cast<std::uint32_t>(ColorToRGB(color)) & 0xFFFFFF;
}
} // namespace

std::string ColorToPDFRGB(TColor color)
{
    const std::uint32_t rgb = ResolvedRGB(color);
    std::string text;
    for (int shift = 0; shift <= 16; shift += 8) {
        char buffer[32];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, ((rgb >> shift) & 0xFF) / 255.0,
                                       std::chars_format::fixed, 4);
        (void)ec;
        if (!text.empty())
            text += ' ';
        text.append(buffer, end);
    }
    return text;
}

std::string ColorToHex(TColor color)
{
    const std::uint32_t rgb = ResolvedRGB(color);
    std::string text;
    for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned byte = (rgb >> shift) & 0xFF;
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0xF];
    }
    return text;
}

std::string StrToHex(const std::string &text)
{
    std::string result;
    result.reserve(text.size() * 2);
    for (unsigned char c : text) {
        result += kHexDigits[c >> 4];
        result += kHexDigits[c & 0xF];
    }
    return result;
}

std::string WideStrToHex(const WideString &text)
{
    std::string result;
    result.reserve(text.size() * 4);
    for (char16_t c : text)
        for (int shift = 12; shift >= 0; shift -= 4)
            result += kHexDigits[(c >> shift) & 0xF];
    return result;
}

bool IsHexString(const std::string &text)
{
    for (char c : text)
        if (HexDigitValue(c) < 0)
            return false;
    return true;
}

bool HexToByte(const std::string &text, std::uint8_t &value)
{
    value = 0;
    if (!IsHexString(text))
        return true;
    unsigned accumulated = 0;
    unsigned weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        accumulated = (accumulated + static_cast<unsigned>(HexDigitValue(*it)) * weight) & 0xFF;
        weight = (weight * 16) & 0xFF; // past two digits the weight is 0 modulo 256
    }
    value = static_cast<std::uint8_t>(accumulated);
    return false;
}

WideString EscapePDFString(const WideString &text)
{
    constexpr int kTabStop = 8;
    WideString result;
    result.reserve(text.size());
    int column = kTabStop; // columns left to the next tab stop
    for (char16_t c : text) {
        switch (c) {
        case u'(': result += u"\\("; --column; break;
        case u')': result += u"\\)"; --column; break;
        case u'\\': result += u"\\\\"; --column; break;
        case u'\r': result += u"\\r"; --column; break;
        case u'\n': result += u"\\n"; --column; break;
        case u'\b': result += u"\\b"; break;
        case u'\f': result += u"\\f"; break;
        case u'\t':
            result.append(static_cast<std::size_t>(column), u' ');
            column = 0;
            break;
        default: result += c; --column; break;
        }
        if (column == 0)
            column = kTabStop;
    }
    return result;
}

TSize GetTextSize(const WideString &text, const TFont &font) { return MeasureText(font, text).Extent; }

long double PixelsToPoints(long double pixels) { return pixels / ScreenPixelsPerInch * 72; }
long double PointsToPixels(long double points) { return points * PixelsPerPoint; }
double DegToRad(double degrees) { return degrees * std::numbers::pi / 180; }
double RadToDeg(double radians) { return radians * 180 / std::numbers::pi; }

WideString RightWideStr(const WideString &text, int count)
{
    if (count <= 0)
        return {};
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(count));
    return text.substr(text.size() - n);
}

WideString CopyWideStr(const WideString &text, int start, int count)
{
    if (start < 1)
        start = 1;
    if (count <= 0 || static_cast<std::size_t>(start) > text.size())
        return {};
    return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

int PosWideStr(const WideString &pattern, const WideString &text, int start)
{
    if (pattern.empty() || start < 1 || static_cast<std::size_t>(start) > text.size())
        return 0;
    const std::size_t found = text.find(pattern, static_cast<std::size_t>(start - 1));
    return found == WideString::npos ? 0 : static_cast<int>(found) + 1;
}

WideString ReplaceAllText(const WideString &text, const WideString &oldPattern, const WideString &newPattern)
{
    if (text.empty())
        return {};
    if (oldPattern.empty())
        return text;
    WideString folded(text), foldedPattern(oldPattern);
    for (auto &c : folded)
        c = FoldCase(c);
    for (auto &c : foldedPattern)
        c = FoldCase(c);
    WideString result;
    std::size_t from = 0;
    for (std::size_t at = folded.find(foldedPattern); at != WideString::npos;
         at = folded.find(foldedPattern, from)) {
        result.append(text, from, at - from);
        result += newPattern;
        from = at + oldPattern.size();
    }
    result.append(text, from, WideString::npos);
    return result;
}

} // namespace tessaran
