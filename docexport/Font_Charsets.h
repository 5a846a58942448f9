#pragma once
// The character sets a font family offers, as the platform's font
// enumeration lists them.

#include <string>
#include <vector>

namespace tessaran {

// Appends to list, without repeats, each of the 18 accepted character
// sets that the family offers (0 ANSI, 2 SYMBOL, 77 MAC, 128 SHIFTJIS, 129
// HANGEUL, 130 JOHAB, 134 GB2312, 136 CHINESEBIG5, 161 GREEK, 162 TURKISH,
// 163 VIETNAMESE, 177 HEBREW, 178 ARABIC, 186 BALTIC, 204 RUSSIAN, 222
// THAI, 238 EASTEUROPE, 255 OEM). A family that is not installed adds nothing.
void GetFontCharsets(const std::string &faceName, std::vector<int> &list);

} // namespace tessaran
