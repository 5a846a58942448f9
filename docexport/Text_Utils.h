#pragma once
// Small text routines shared by the engine's text layout and the PDF text
// output: line justification, reversing, trailing line breaks, file paths
// and web links found inside a text, and the user's date and time formats.

#include <ctime>
#include <string>

#include "docexport/Doc_Types.h"
#include "platform/Graphics.h"

namespace tessaran {

// The characters of text in reverse order.
WideString ReverseString(const WideString &text);

// Fills a line to width (native pixels) with extra blanks: between the
// words, or between the letters of a single word. Integer division sends
// the remainder towards the end (5 blanks over 3 gaps: 1, 2, 2). A CR LF
// that ends the line stays at its end, outside the spacing.
WideString JustifyLine(const WideString &line, const TFont &font, double width);

// text without one trailing CR LF pair.
std::string StripTrailingCRLF(const std::string &text);
WideString StripTrailingCRLF(const WideString &text);

// 1-based position just past the dotted file name that follows the last
// backslash: the first blank, double quote, '*', '?' or '|' after its dot;
// length + 1 when nothing follows the dot; 0 without a backslash or a dot.
int FindFilePathEnd(const WideString &text);

// The first web address, e-mail address or drive path in text. Link is
// empty when there is none; otherwise start is its 1-based position.
void FindNextHyperlink(const WideString &text, int &start, WideString &link);

// The user's date and time formats (strftime patterns), handed in by the
// application from its locale as the decimal separator is.
struct TdeDateTimeFormats {
    std::string ShortDate = "%d/%m/%Y";
    std::string LongDate = "%A, %d %B %Y";
    std::string ShortTime = "%H:%M";
    std::string LongTime = "%H:%M:%S";
};
const TdeDateTimeFormats &UserDateTimeFormats();
void SetUserDateTimeFormats(const TdeDateTimeFormats &formats);
std::string FormatDateTime(const std::string &format, const std::tm &time);

} // namespace tessaran
