#pragma once
// Single-byte texts on disk are code page 1252; in memory they are UTF-8.
// Wide texts on disk are UTF-16 little-endian.

#include <string>
#include <string_view>

namespace tessaran {

// UTF-8 to code page 1252; characters the code page lacks become '?'.
// Invalid UTF-8 bytes are taken as code page 1252 characters themselves.
std::string Utf8ToCp1252(std::string_view utf8);
// Code page 1252 to UTF-8; the five unassigned bytes map to the C1 control
// characters of the same value, so every byte string round-trips.
std::string Cp1252ToUtf8(std::string_view cp1252);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace tessaran
