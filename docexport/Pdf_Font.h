#pragma once
// One font of a PDF document: its metrics in thousandths of the em, the
// glyphs and characters the document used, the texts of its font objects
// and its font program, whole or cut down to the used glyphs.

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "docexport/Doc_Types.h"
#include "docexport/Ext_Mem_Stream.h"
#include "docexport/Glyph_Info.h"
#include "platform/Font_Engine.h"
#include "platform/Graphics.h"

namespace tessaran {

enum class TdeFontType : std::uint8_t { ftTrueType, ftType1, ftStdType1 };
enum class TdeFontEncoding : std::uint8_t { feWinAnsi, feCID };

// The character set that stands for the default one (code page 1252).
constexpr int DefaultFontCharset = 0;

struct TdePDFFontInfo {
    int FfiFontObjRef = 0;
    // Codes 32 to 255.
    int FfiWidths[224] = {};
    int FfiFlags = 0;
    TRect FfiFontBBox{-250, -200, 1000, 900};
    double FfiAscent = 800;
    double FfiDescent = -200;
    double FfiCapHeight = 700;
    int FfiAvgWidth = 576;
    int FfiMaxWidth = 576;
    int FfiStemH = 0;
    int FfiStemV = 0;
    int FfiItalicAngle = 0;
    // Points at the font's real size.
    double FfiStrikeoutSize = 0;
    double FfiStrikeoutPosition = 0;
    double FfiUnderscoreSize = 0;
    double FfiUnderscorePosition = -1;
    TdeFontType FfiType = TdeFontType::ftTrueType;
    bool FfiIsFixedPitch = false;
};

class TdePDFFont {
public:
    // subsetTag: the six letters that name this font's subset program.
    TdePDFFont(const TFont &font, int fontObjRef, bool isCID, bool subset, bool charset,
               const std::string &subsetTag = "QTRSNB");

    const std::string &BaseFont() const { return FBaseFont; }
    const TFont &Font() const { return FFont; }
    const TdePDFFontInfo &FontInfo() const { return FFontInfo; }
    bool Subset() const { return FSubset; }
    bool IsIdentityH() const { return FIsIdentityH; }
    void SetIsIdentityH(bool value) { FIsIdentityH = value; }
    TdeFontEncoding FontEncoding() const { return FFontEncoding; }
    // "TAG+" for a subset font, else empty.
    std::string SubsetPrefix() const { return FSubset ? FSubsetTag + "+" : std::string(); }
    const TFontFile &File() const { return FFile; }

    bool IsEqual(const TFont &font, TdeFontEncoding encoding, bool isIdentityH) const;
    bool IsEqual(const TFont &font) const;

    // Glyphs of a shaped run; each glyph stands for the characters of its cluster.
    void AddUsedGlyphs(const WideString &text, const TdeGlyphInfoList &glyphs, const TdeWordArray &logClust);
    void AddUsedCharacters(const WideString &text);
    // Width of a glyph in thousandths of the em (0 when unknown).
    int GlyphWidth(std::uint16_t glyph) const;

    std::string GetWidthsArray() const;
    std::string GetType0FontDictionary(int fontNo, const std::string &unicodeObjRef,
                                       const std::string &desFontObjRef) const;
    std::string GetCIDFontDictionary(const std::string &fontDescriptorRef, const std::string &registry,
                                     const std::string &ordering) const;
    std::string GetFontDescriptor(const std::string &fontFile2Obj) const;
    static std::string GetCIDFontRegistryEntry() { return "Adobe"; }
    static std::string GetCIDFontOrderingEntry() { return "Identity"; }
    // The ToUnicode CMap; nothing without used glyphs.
    void GetCMap(TdeExtMemStream &stream);

    // The font program: one font, also when the face lives in a collection.
    void GetFontFile2(TdeExtMemStream &stream);
    // Only the used glyphs keep their outlines; every glyph keeps its number.
    void GetFontFile2Subset(TdeExtMemStream &stream);

    const std::vector<std::string> &UsedGlyphs() const { return FUsedGlyphs; }

private:
    void ReadFontMetrics(bool subset, bool charset);
    void MakeBaseFontName();
    void ReadCmapGlyphs();
    void AddUsedGlyph(std::uint16_t glyph);

    std::string FBaseFont;
    std::string FPDFCMap;
    std::string FSubsetTag;
    bool FSubset = false;
    TFont FFont;
    TFontFile FFile;
    TdePDFFontInfo FFontInfo;
    TdeFontEncoding FFontEncoding = TdeFontEncoding::feWinAnsi;
    bool FIsIdentityH = true;
    // Per used glyph (CID fonts) or per cmap entry (simple subset fonts).
    std::vector<std::uint16_t> FCID;
    std::vector<WideString> FCharCode;
    std::vector<int> FWidths;
    WideString FIncludedCharCode;
    std::vector<std::string> FUsedGlyphs;
    int FFirstGlyph = INT_MAX;
    int FLastGlyph = 0;
    // Advance widths of every glyph, thousandths of the em.
    std::vector<int> FGlyphWidths;
};

} // namespace tessaran
