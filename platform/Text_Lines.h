#pragma once
// Multi-line texts held as lists of lines (notes, free texts) and joined
// with CR LF where they are stored as one text.

#include <string>
#include <vector>

namespace tessaran {

// How a line break at the very end of a text is read back.
enum class TTrailingBreak {
    StartsEmptyLine, // the exact inverse of JoinLines without a final break
    IsDropped,       // as a string list reads its text: "a\r\n" is one line
};

// Joins with CR LF between lines, and after the last one when asked.
std::string JoinLines(const std::vector<std::string> &lines, bool breakAfterLast = false);
// Splits at CR LF, LF or CR alone. An empty text gives no lines.
std::vector<std::string> SplitLines(const std::string &text, TTrailingBreak trailing);

} // namespace tessaran
