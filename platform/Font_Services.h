#pragma once
// What the document writer asks of the system's font services, answered
// from fontconfig, FreeType, HarfBuzz and FriBidi: the character sets a
// family offers, the installed families, a face that covers a text, whether
// a face has TrueType outlines, the bytes of a font file, the bidi runs of
// a text and the glyphs a face shapes a run into.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Font_Engine.h"

namespace tessaran {

// The platform's character-set numbers a family offers, from the code-page
// bits of each of its faces, in bit order without repeats: 0 ANSI, 2
// SYMBOL, 77 MAC, 128 SHIFTJIS, 129 HANGEUL, 130 JOHAB, 134 GB2312, 136
// CHINESEBIG5, 161 GREEK, 162 TURKISH, 163 VIETNAMESE, 177 HEBREW, 178
// ARABIC, 186 BALTIC, 204 RUSSIAN, 222 THAI, 238 EASTEUROPE, 255 OEM.
// Empty for a family that is not installed.
std::vector<int> FontFamilyCharsets(std::string_view faceName);

// Installed scalable families, sorted, without repeats.
std::vector<std::string> InstalledFontFamilies();
// Whether the face name (after the free-face substitution) names an
// installed family.
bool IsFontFamilyInstalled(std::string_view faceName);

// The family fontconfig finds best for every character of text in the
// style of font, preferring faces with TrueType outlines; empty when none
// covers the text.
std::string FontFamilyCovering(std::u16string_view text, const TFont &font);

// Whether the face has TrueType (glyf) outlines, not CFF.
bool HasTrueTypeOutlines(const TFontFile &file);
// Whether the face maps every character of text to a glyph.
bool FaceCoversText(const TFontFile &file, std::u16string_view text);

// The whole font file (a collection file for a collection member).
std::vector<std::uint8_t> ReadFontFileBytes(const TFontFile &file);

// One level run of a text, in logical positions (end exclusive).
struct TBidiRun {
    int Start = 0;
    int End = 0;
    int Level = 0;
    bool RightToLeft() const { return (Level & 1) != 0; }
};
// The runs of equal bidi level and script, in visual order (left to right).
std::vector<TBidiRun> VisualRuns(std::u16string_view text, bool rightToLeftBase);
// Whether a text needs shaping beyond one glyph per character.
bool IsComplexText(std::u16string_view text);

struct TShapedGlyph {
    std::uint16_t GlyphId = 0;
    // Index of the first UTF-16 unit of the glyph's cluster in the run.
    int Cluster = 0;
    // Thousandths of the em.
    int Advance = 0;
};
// The glyphs of a run in visual order.
std::vector<TShapedGlyph> ShapeText(const TFontFile &file, std::u16string_view text, bool rightToLeft);

} // namespace tessaran
