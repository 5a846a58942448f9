#pragma once
// Line-oriented text files as the program's tables store them: one record a
// line, single-byte code page 1252 on disk, lines ended by CR LF. In memory
// every line is UTF-8.

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace tessaran {

// True while the stream holds at least one more character, i.e. one more
// line (a last line without a line break counts).
bool HasAnotherTextLine(std::istream &stream);

// Reads one line (ended by CR LF, LF or the end of the stream) and returns it
// as UTF-8 without its line break. At the end of the stream the line is empty.
std::string ReadTextLine(std::istream &stream);

// Writes the UTF-8 text as code page 1252 followed by CR LF. Raises
// EStreamError when the stream fails.
void WriteTextLine(std::ostream &stream, std::string_view utf8);

// The UTF-8 text cut to at most `capacity` characters of code page 1252, as a
// short string of that capacity holds it.
std::string CutToShortString(std::string_view utf8, int capacity);

} // namespace tessaran
