#pragma once
// Number, colour and string formatting for the writers of the document
// export engine. Every number text uses "." as the decimal separator,
// whatever the locale: formatting goes through std::to_chars, which never
// consults it.

#include <cstdint>
#include <string>

#include "docexport/Doc_Types.h"
#include "docexport/Graphics_Attributes.h"

namespace tessaran {

enum class TFloatFormat : std::uint8_t { ffGeneral, ffExponent, ffFixed };

// The run-time float formatting with "." as decimal separator.
// ffFixed: rounded to `precision` significant digits, then written with
// exactly `digits` decimals (exponent form when the integer part has more
// than `precision` digits); a value that rounds to zero has no minus sign.
// ffGeneral: the shortest text of at most `precision` significant digits.
// ffExponent: d.ddd..E+dd with `precision` digits and at least `digits`
// exponent digits. The PDF writer uses (ffFixed, 18, 4): 1 gives "1.0000".
std::string FloatToPDFStrF(TFloatFormat format, int precision, int digits, double value);
// General format with up to 15 significant digits and no trailing zeros;
// exponent form ("1E20", "1.5E-7") for very large and very small values.
std::string FloatToPDFStr(double value);

// The colour of a system colour index (the desktop's standard shades).
TColor GetSysColor(int index);
// Replaces a system colour given with the high byte 0xFF by its colour value.
// (The platform's own system-colour constants are resolved by ColorToRGB.)
void ResolveSysColor(TColor &color);
// "r g b" with each byte / 255 to four decimals: red gives "1.0000 0.0000 0.0000".
std::string ColorToPDFRGB(TColor color);
// Red, green, blue as two upper-case hexadecimal digits each: "FF0000" for red.
std::string ColorToHex(TColor color);

// Two upper-case hexadecimal digits per byte ("abc" gives "616263").
std::string StrToHex(const std::string &text);
// Four upper-case hexadecimal digits per UTF-16 code unit ("A" gives "0041").
std::string WideStrToHex(const WideString &text);
// True when every character is a hexadecimal digit (vacuously for "").
bool IsHexString(const std::string &text);
// Sets value to the digits' value modulo 256 and returns false; returns true
// with value 0 when any character is not a hexadecimal digit.
bool HexToByte(const std::string &text, std::uint8_t &value);

// The body of a PDF literal string: ( ) \ CR LF BS FF escaped, tabs expanded
// to blanks up to the next stop of every 8 columns.
WideString EscapePDFString(const WideString &text);

// The extent of a text in a font, in pixels at the font's resolution (the
// screen's unless the font says otherwise), measured as every canvas measures.
TSize GetTextSize(const WideString &text, const TFont &font);

long double PixelsToPoints(long double pixels);
long double PointsToPixels(long double points);
double DegToRad(double degrees);
double RadToDeg(double radians);
inline int IfThen(bool condition, int whenTrue, int whenFalse) { return condition ? whenTrue : whenFalse; }
inline std::int64_t IfThen(bool condition, std::int64_t whenTrue, std::int64_t whenFalse)
{
    return condition ? whenTrue : whenFalse;
}

// The last count characters (all of them when the text is shorter).
WideString RightWideStr(const WideString &text, int count);
// count characters from the 1-based position start.
WideString CopyWideStr(const WideString &text, int start, int count);
// 1-based position of pattern at or after the 1-based position start; 0 when absent.
int PosWideStr(const WideString &pattern, const WideString &text, int start);
// Replaces every occurrence of oldPattern, compared without regard to case.
WideString ReplaceAllText(const WideString &text, const WideString &oldPattern, const WideString &newPattern);

} // namespace tessaran
