#pragma once
// Fields of the pipe-size text tables: joined by "~|~", numbers read with
// either "." or "," and written with ".".

#include <string>
#include <string_view>
#include <vector>

namespace tessaran {

// Splits a line into exactly fieldCount fields at the first fieldCount - 1
// separators, the last field taking the rest of the line. Returns an empty
// list when a separator is missing.
std::vector<std::string> SplitTableFields(const std::string &line, int fieldCount);

// Reads a real written with "." or "," as its decimal separator (only the
// first one is taken as such), blanks around it allowed; false when the text
// is not a whole finite number.
bool ReadTableReal(const std::string &text, double &value);
bool ReadTableInteger(const std::string &text, int &value);

// A text that can stand as a field of a line: it neither holds the
// separator nor ends in "~|", which the separator after it would complete.
bool IsTableFieldText(std::string_view text);
// The text cut to capacity characters (as CutToShortString), a trailing "~|"
// (which a cut can leave) taken back to "~".
std::string CutTableField(std::string_view text, int capacity);
// The field as written into a line. Entry refuses the separator, but a text
// read from a binary file may hold it: its "|" is then written as "!" so
// that the line still splits back into its fields.
std::string TableFieldForLine(std::string_view text);

// Fixed-point text of value rounded to `precision` significant digits and
// written with exactly `decimals` decimals and "." as separator.
std::string TableRealText(double value, int precision, int decimals);

} // namespace tessaran
