#pragma once
// Font mapping and text analysis for the PDF text output: which installed
// TrueType face stands for an item's font, and how its text falls into
// runs in visual order, each passed through as characters or shaped into
// the glyphs of a face that really has them.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "docexport/Doc_Types.h"
#include "platform/Graphics.h"

namespace tessaran {

class TdeGlyphInfo {
public:
    std::uint16_t ID = 0;
    // Advance in pixels of the size-1000 analysis font.
    int AdvWidth = 0;
    int AbcA = 0, AbcB = 0, AbcC = 0;
    // Running glyph number over every shaped run of the text.
    int Position = 0;
    std::string FontName;
};
using TdeGlyphInfoList = std::vector<TdeGlyphInfo>;
using TdeWordArray = std::vector<std::uint16_t>;

enum class TdeGlyphType : std::uint8_t { gdComplex, gdLigature, gdRTL };
enum TdeScriptVisAttr : std::uint8_t { svClusterStart = 1, svDiacritic = 2, svZeroWidth = 4 };

struct TdeRunInfo {
    bool Complex = false;
    bool Ligature = false;
    bool RTL = false;
    // Positions in the analysed text, end exclusive.
    int StartPos = 0;
    int EndPos = 0;
    bool IsFontMapped = false;
    // One set of TdeScriptVisAttr bits per glyph.
    std::vector<std::uint8_t> VisAttr;
    bool ScriptProcessingRequired = false;
    std::string MappedFontName;
};

// Text of the run (logical order), its visual position, the number of
// runs, its glyphs (nullptr for a character run), its details and the
// first glyph of each of its characters.
using TdeScriptRunCallback = std::function<void(const WideString &text, int runIndex, int runCount,
                                                TdeGlyphInfoList *glyphs, const TdeRunInfo &info,
                                                const TdeWordArray &logClust)>;

class TdeMapFont {
public:
    TdeMapFont();

    // Sets the face of font to the installed TrueType face to use and returns it.
    TFont &GetTrueTypeFont(const WideString &text, TFont &font);
    // The point size of a font given by its cell height (negative size).
    int GetFontSize(const TFont &font);
    // A face covering text; "Arial" when none does.
    TFont GetMappedFont(const WideString &text, const TFont &font);
    // Faces that shaped a run, newest last.
    const std::vector<std::string> &AllUsedFonts() const { return FAllUsedFonts; }
    void AddUsedFont(const std::string &name);
    const std::vector<std::string> &SysFontList() const { return FSysFontList; }
    bool IsLatinUnicodeRangePresent(const TFont &font);

private:
    std::vector<std::string> FSysFontList;
    std::vector<std::string> FAllUsedFonts;
    std::map<std::string, std::string> FMappedFonts; // lower-case request -> face
    std::map<std::pair<std::string, int>, int> FMappedFontSizeList;
    std::map<std::string, bool> FUnicodeSubRangeInfo;
};

class TdeStringAnalyzer {
public:
    // Reports a run that no installed TrueType face can write.
    std::function<void(const std::string &message)> OnError;

    void StringAnalyze(const WideString &text, TBiDiMode biDiMode, const TFont &font,
                       const TdeScriptRunCallback &callback, TdeMapFont &mapFont);
};

} // namespace tessaran
