#include "docexport/Pdf_Font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "docexport/Doc_Utils.h"
#include "docexport/Font_Charsets.h"
#include "docexport/Measurement_Units.h"
#include "docexport/TrueType_File.h"
#include "platform/Codepage1252.h"
#include "platform/Font_Services.h"
#include "platform/Pascal.h"

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string Hex4(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

TTrueTypeFile LoadFont(const TFontFile &file) { return TTrueTypeFile(ReadFontFileBytes(file), file.FaceIndex); }

// The Unicode character a code of code page 1252 stands for.
char16_t Cp1252Character(int code)
{
    const std::string byte(1, static_cast<char>(code));
    const std::u16string text = Utf8ToUtf16(Cp1252ToUtf8(byte));
    return text.empty() ? static_cast<char16_t>(code) : text[0];
}

} // namespace

TdePDFFont::TdePDFFont(const TFont &font, int fontObjRef, bool isCID, bool subset, bool charset,
                       const std::string &subsetTag)
    : FSubsetTag(subsetTag), FFont(font)
{
    FFontInfo.FfiFontObjRef = fontObjRef;
    FFontInfo.FfiStrikeoutSize = font.Size / 20;
    FFontInfo.FfiStrikeoutPosition = std::abs(font.Height()) / 5;
    FFontInfo.FfiUnderscoreSize = font.Size / 10;
    ReadFontMetrics(subset, charset);
    MakeBaseFontName();
    FSubset = subset;
    FFontEncoding = isCID ? TdeFontEncoding::feCID : TdeFontEncoding::feWinAnsi;
    if (FFontInfo.FfiType == TdeFontType::ftTrueType && FFontEncoding == TdeFontEncoding::feWinAnsi && subset)
        ReadCmapGlyphs();
}

void TdePDFFont::ReadFontMetrics(bool subset, bool charset)
{
    try {
        FFile = FindFontFile(FFont);
    } catch (const EFontError &) {
        FFontInfo.FfiType = TdeFontType::ftType1;
        return;
    }
    const TTrueTypeFile font = LoadFont(FFile);
    if (!font.Valid() || !HasTrueTypeOutlines(FFile)) {
        // Outlines we cannot embed: described as a Type 1 font, so no text goes out in it.
        FFontInfo.FfiType = TdeFontType::ftType1;
        return;
    }
    FFontInfo.FfiType = TdeFontType::ftTrueType;
    if (charset) {
        // The font adopts its family's one character set when it asked for the default.
        std::vector<int> charsets;
        GetFontCharsets(FFont.Name, charsets);
        if (FFont.Charset == 1 && charsets.size() == 1)
            FFont.Charset = static_cast<std::uint8_t>(charsets.front());
    }
    const double upem = font.UnitsPerEm();
    auto units = [&](double value) { return value * 1000.0 / upem; };
    // Pixels of the size-1000 font on the screen, as the platform measures.
    auto pixels = [&](double value) { return Round(value * 1000.0 / upem * ScreenPixelsPerInch / 72); };
    const TTrueTypeFile::Table *post = font.Find("post");
    const TTrueTypeFile::Table *os2 = font.Find("OS/2");
    const TTrueTypeFile::Table *head = font.Find("head");
    FFontInfo.FfiIsFixedPitch = post && post->Length >= 16 && font.U32(post->Offset + 12) != 0;

    FGlyphWidths.resize(static_cast<std::size_t>(font.NumGlyphs()));
    for (int g = 0; g < font.NumGlyphs(); ++g)
        FGlyphWidths[static_cast<std::size_t>(g)] = static_cast<int>(Round(units(font.AdvanceWidth(g))));
    const auto unicode = font.UnicodeMap();
    auto widthOf = [&](char16_t c) {
        auto found = unicode.find(c);
        return GlyphWidth(found == unicode.end() ? 0 : found->second);
    };
    if (FFontInfo.FfiIsFixedPitch && !subset)
        FFontInfo.FfiMaxWidth = widthOf(u' ');
    // Codes 128 to 159 are written as their code page 1252 characters.
    for (int c = 32; c <= 255; ++c)
        FFontInfo.FfiWidths[c - 32] = widthOf(Cp1252Character(c));

    int flags = FFontInfo.FfiIsFixedPitch ? 1 : 0;
    bool italic = FFont.Style.Contains(TFontStyle::fsItalic);
    if (os2 && os2->Length >= 78) {
        const std::uint8_t familyType = font.Data()[os2->Offset + 32];
        const std::uint8_t serifStyle = font.Data()[os2->Offset + 33];
        if (familyType == 2 && serifStyle >= 2 && serifStyle <= 10)
            flags += 2;
        if (familyType == 3)
            flags += 8;
        italic = italic || (font.U16(os2->Offset + 62) & 1);
    }
    if (FFont.Charset == 2)
        flags += 4;
    else
        flags += 32;
    if (italic)
        flags += 64;
    FFontInfo.FfiFlags = flags;

    double ascent = 0, descent = 0;
    if (os2 && os2->Length >= 78) {
        ascent = font.U16(os2->Offset + 74);
        descent = font.U16(os2->Offset + 76);
        const auto average = pixels(font.S16(os2->Offset + 2));
        FFontInfo.FfiAvgWidth = static_cast<int>(average / ScreenPixelsPerInch * 72);
        FFontInfo.FfiStrikeoutSize = FFont.Size * units(font.S16(os2->Offset + 26)) / 1000;
        FFontInfo.FfiStrikeoutPosition = FFont.Size * units(font.S16(os2->Offset + 28)) / 1000;
    } else if (const TTrueTypeFile::Table *hhea = font.Find("hhea")) {
        ascent = font.S16(hhea->Offset + 4);
        descent = -font.S16(hhea->Offset + 6);
    }
    FFontInfo.FfiAscent = pixels(ascent) / static_cast<double>(ScreenPixelsPerInch) * 72;
    FFontInfo.FfiDescent = -(pixels(descent) / static_cast<double>(ScreenPixelsPerInch) * 72);
    FFontInfo.FfiCapHeight = FFontInfo.FfiAscent;
    if (!FFontInfo.FfiIsFixedPitch && head) {
        int widest = 0;
        for (int width : FGlyphWidths)
            widest = std::max(widest, width);
        FFontInfo.FfiMaxWidth = static_cast<int>(pixels(widest * upem / 1000.0) / ScreenPixelsPerInch * 72);
    }
    FFontInfo.FfiFontBBox = TRect{-250, static_cast<int>(Round(FFontInfo.FfiAscent)), FFontInfo.FfiMaxWidth,
                                  static_cast<int>(Round(FFontInfo.FfiDescent))};
    if (post && post->Length >= 12) {
        FFontInfo.FfiItalicAngle = static_cast<std::int16_t>(font.U16(post->Offset + 4));
        FFontInfo.FfiUnderscorePosition = FFont.Size * units(font.S16(post->Offset + 8)) / 1000;
        FFontInfo.FfiUnderscoreSize = FFont.Size * units(font.S16(post->Offset + 10)) / 1000;
    }
    FFontInfo.FfiStemV = 78;
}

void TdePDFFont::MakeBaseFontName()
{
    FBaseFont.clear();
    for (char c : FFont.Name)
        if (c != ' ')
            FBaseFont += c;
    if (FFont.Name == "Symbol")
        return;
    const bool bold = FFont.Style.Contains(TFontStyle::fsBold);
    const bool italic = FFont.Style.Contains(TFontStyle::fsItalic);
    if (bold || italic)
        FBaseFont += ",";
    if (bold)
        FBaseFont += "Bold";
    if (italic)
        FBaseFont += "Italic";
}

void TdePDFFont::ReadCmapGlyphs()
{
    const TTrueTypeFile font = LoadFont(FFile);
    for (const auto &[code, glyph] : font.UnicodeMap()) {
        if (code > 0xFFFF)
            continue;
        FCID.push_back(glyph);
        FCharCode.push_back(WideString(1, static_cast<char16_t>(code)));
    }
}

bool TdePDFFont::IsEqual(const TFont &font, TdeFontEncoding encoding, bool isIdentityH) const
{
    return IsEqual(font) && encoding == FFontEncoding && isIdentityH == FIsIdentityH;
}

bool TdePDFFont::IsEqual(const TFont &font) const
{
    return font.Name == FFont.Name &&
           font.Style.Contains(TFontStyle::fsBold) == FFont.Style.Contains(TFontStyle::fsBold) &&
           font.Style.Contains(TFontStyle::fsItalic) == FFont.Style.Contains(TFontStyle::fsItalic);
}

int TdePDFFont::GlyphWidth(std::uint16_t glyph) const
{
    return glyph < FGlyphWidths.size() ? FGlyphWidths[glyph] : 0;
}

void TdePDFFont::AddUsedGlyph(std::uint16_t glyph)
{
    const std::string number = std::to_string(glyph);
    if (std::find(FUsedGlyphs.begin(), FUsedGlyphs.end(), number) == FUsedGlyphs.end())
        FUsedGlyphs.push_back(number);
}

void TdePDFFont::AddUsedGlyphs(const WideString &text, const TdeGlyphInfoList &glyphs, const TdeWordArray &logClust)
{
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const std::uint16_t id = glyphs[i].ID;
        if (std::find(FCID.begin(), FCID.end(), id) != FCID.end())
            continue;
        // The characters of the glyph's cluster, through the cluster map:
        // shaping merges and reorders, so glyph i is not character i.
        WideString characters;
        for (std::size_t j = 0; j < logClust.size() && j < text.size(); ++j)
            if (logClust[j] == i)
                characters += text[j];
        FCID.push_back(id);
        AddUsedGlyph(id);
        FCharCode.push_back(characters);
        if (FSubset)
            for (char16_t c : characters)
                if (c != u' ' && FIncludedCharCode.find(c) == WideString::npos)
                    FIncludedCharCode += c;
        FWidths.push_back(static_cast<int>(Round(PixelsToPoints(glyphs[i].AdvWidth))));
        FFirstGlyph = std::min<int>(FFirstGlyph, id);
        FLastGlyph = std::max<int>(FLastGlyph, id);
    }
}

void TdePDFFont::AddUsedCharacters(const WideString &text)
{
    if (!FSubset)
        return;
    for (char16_t c : text) {
        if (c == u' ' || FIncludedCharCode.find(c) != WideString::npos)
            continue;
        FIncludedCharCode += c;
        for (std::size_t i = 0; i < FCharCode.size(); ++i)
            if (FCharCode[i].size() == 1 && FCharCode[i][0] == c) {
                AddUsedGlyph(FCID[i]);
                break;
            }
    }
}

std::string TdePDFFont::GetWidthsArray() const
{
    if (FFontInfo.FfiIsFixedPitch)
        return {};
    std::string text;
    for (std::size_t i = 0; i < FCID.size(); ++i)
        text += std::to_string(FCID[i]) + "[" + std::to_string(FWidths[i]) + "]";
    return text;
}

std::string TdePDFFont::GetType0FontDictionary(int fontNo, const std::string &unicodeObjRef,
                                               const std::string &desFontObjRef) const
{
    return "/Type/Font/Subtype/Type0/Name/F" + std::to_string(fontNo) + "/BaseFont/" + SubsetPrefix() + FBaseFont +
           (FIsIdentityH ? "/Encoding/Identity-H" : "/Encoding/Identity-V") + "/ToUnicode " + unicodeObjRef +
           "/DescendantFonts [" + desFontObjRef + "]" + CRLF;
}

std::string TdePDFFont::GetCIDFontDictionary(const std::string &fontDescriptorRef, const std::string &registry,
                                             const std::string &ordering) const
{
    std::string text = "/Type/Font/Subtype/CIDFontType2/BaseFont/" + SubsetPrefix() + FBaseFont + "/FontDescriptor " +
                       fontDescriptorRef + "/CIDSystemInfo<</Registry" + registry + "/Ordering" + ordering +
                       "/Supplement 0>>";
    if (!FFontInfo.FfiIsFixedPitch)
        text += "/W [" + GetWidthsArray() + "]";
    const int defaultWidth = FFontInfo.FfiIsFixedPitch && !FWidths.empty() && FWidths.front() != 0
                                 ? FWidths.front()
                                 : FFontInfo.FfiMaxWidth;
    return text + "/DW " + std::to_string(defaultWidth) + "/CIDToGIDMap/Identity";
}

std::string TdePDFFont::GetFontDescriptor(const std::string &fontFile2Obj) const
{
    const TRect &box = FFontInfo.FfiFontBBox;
    std::string text = "/Type/FontDescriptor/FontName/" + SubsetPrefix() + FBaseFont + "/Flags " +
                       std::to_string(FFontInfo.FfiFlags) + "/FontBBox [" + std::to_string(box.Left) + " " +
                       std::to_string(box.Bottom) + " " + std::to_string(box.Right) + " " + std::to_string(box.Top) +
                       "]" + "/Ascent " + FloatToPDFStr(FFontInfo.FfiAscent) + "/Descent " +
                       FloatToPDFStr(FFontInfo.FfiDescent) + "/CapHeight " + FloatToPDFStr(FFontInfo.FfiCapHeight) +
                       "/AvgWidth " + std::to_string(FFontInfo.FfiAvgWidth) + "/MaxWidth " +
                       std::to_string(FFontInfo.FfiMaxWidth) + "/MissingWidth " +
                       std::to_string(FFontInfo.FfiMaxWidth) + "/StemV " + std::to_string(FFontInfo.FfiStemV) +
                       "/ItalicAngle " + std::to_string(FFontInfo.FfiItalicAngle);
    if (!fontFile2Obj.empty())
        text += "/FontFile2 " + fontFile2Obj;
    return text + CRLF;
}

void TdePDFFont::GetCMap(TdeExtMemStream &stream)
{
    if (FCID.empty())
        return;
    std::string text = "/CIDInit /ProcSet findresource begin" + CRLF + "12 dict begin" + CRLF + "begincmap" + CRLF +
                       "/CIDSystemInfo" + CRLF + "<</Registry(Adobe)/Ordering(UCS)/Supplement 0>> def" + CRLF +
                       "/CMapName /Adobe-Identity-UCS def" + CRLF + "/CMapType 2 def" + CRLF +
                       "1 begincodespacerange" + CRLF + "<" + Hex4(static_cast<unsigned>(FFirstGlyph)) + "><" +
                       Hex4(static_cast<unsigned>(FLastGlyph)) + ">" + CRLF + "endcodespacerange" + CRLF;
    // The format allows at most 100 pairs per block.
    for (std::size_t start = 0; start < FCID.size(); start += 100) {
        const std::size_t end = std::min(FCID.size(), start + 100);
        text += std::to_string(end - start) + " beginbfrange" + CRLF;
        for (std::size_t i = start; i < end; ++i) {
            std::string characters;
            for (char16_t c : FCharCode[i])
                characters += Hex4(c);
            if (characters.empty())
                characters = "FFFD";
            text += "<" + Hex4(FCID[i]) + "><" + Hex4(FCID[i]) + "><" + characters + ">" + CRLF;
        }
        text += "endbfrange" + CRLF;
    }
    text += "endcmap" + CRLF + "CMapName currentdict /CMap defineresource pop" + CRLF + "end end";
    FPDFCMap = text;
    stream.WriteString(text);
}

void TdePDFFont::GetFontFile2(TdeExtMemStream &stream)
{
    if (FFontInfo.FfiType != TdeFontType::ftTrueType)
        return;
    std::vector<std::uint8_t> data = ReadFontFileBytes(FFile);
    const TTrueTypeFile font(data, FFile.FaceIndex);
    // A font file holds one font: a collection member is written out alone.
    if (font.IsCollection()) {
        if (!font.Valid())
            return;
        data = font.Write({}, true, false);
    }
    stream.WriteByteArray(data);
}

void TdePDFFont::GetFontFile2Subset(TdeExtMemStream &stream)
{
    if (FFontInfo.FfiType != TdeFontType::ftTrueType)
        return;
    const TTrueTypeFile font(ReadFontFileBytes(FFile), FFile.FaceIndex);
    TdeExtMemStream whole;
    GetFontFile2(whole);
    if (!font.Valid()) {
        stream.WriteByteArray(whole.Bytes());
        return;
    }
    // Used glyphs and, at every depth, the components they are built of.
    std::set<int> keep;
    std::vector<int> pending;
    for (const std::string &number : FUsedGlyphs) {
        try {
            pending.push_back(std::stoi(number));
        } catch (const std::exception &) {
        }
    }
    while (!pending.empty()) {
        const int glyph = pending.back();
        pending.pop_back();
        if (glyph < 0 || glyph >= font.NumGlyphs() || !keep.insert(glyph).second)
            continue;
        for (std::uint16_t component : font.Components(glyph))
            pending.push_back(component);
    }
    const std::vector<std::uint8_t> subset = font.Write(keep, false, true);
    if (!subset.empty() && subset.size() < whole.Bytes().size())
        stream.WriteByteArray(subset);
    else
        stream.WriteByteArray(whole.Bytes());
}

} // namespace tessaran
