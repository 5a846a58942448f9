#include "docexport/Pdf_Ex_Engine.h"

#include "docexport/Doc_Utils.h"
#include "docexport/TrueType_File.h"
#include "platform/Codepage1252.h"
#include "platform/Font_Services.h"
#include "platform/Pascal.h"

#include <cmath>

namespace tessaran {

namespace {

const std::string CRLF = "\r\n";

std::string N(Extended value) { return FormatPDFNumber(value); }

std::string Hex4(unsigned value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = digits[value & 15];
    return text;
}

} // namespace

std::string TdeExPDFEngine::ShowString(const std::string &utf8, int fi)
{
    TdePDFFont &font = *FFontTable[static_cast<std::size_t>(fi)];
    const WideString text = Utf8ToUtf16(utf8);
    if (font.FontEncoding() != TdeFontEncoding::feCID) {
        font.AddUsedCharacters(text);
        return "(" + Utf8ToCp1252(Utf16ToUtf8(EscapePDFString(text))) + ")";
    }
    auto found = FFieldGlyphMaps.find(fi);
    if (found == FFieldGlyphMaps.end()) {
        std::map<char32_t, std::uint16_t> map;
        if (font.FontInfo().FfiType == TdeFontType::ftTrueType)
            map = TTrueTypeFile(ReadFontFileBytes(font.File()), font.File().FaceIndex).UnicodeMap();
        found = FFieldGlyphMaps.emplace(fi, std::move(map)).first;
    }
    TdeGlyphInfoList glyphs;
    TdeWordArray clusters;
    std::string hex;
    for (char16_t c : text) {
        const auto glyph = found->second.find(c);
        TdeGlyphInfo info;
        info.ID = glyph == found->second.end() ? 0 : glyph->second;
        info.AdvWidth = static_cast<int>(Round(PointsToPixels(font.GlyphWidth(info.ID))));
        clusters.push_back(static_cast<std::uint16_t>(glyphs.size()));
        glyphs.push_back(info);
        hex += Hex4(info.ID);
    }
    font.AddUsedGlyphs(text, glyphs, clusters);
    return "<" + hex + ">";
}

double TdeExPDFEngine::TextWidthPoints(const std::string &utf8, const TFont &font)
{
    return GetTextExtent(Utf8ToUtf16(utf8), font).cx * FPixelToPointMultiplier;
}

std::string TdeExPDFEngine::AppearanceFontEntry(int fi)
{
    return "/Font << /F" + std::to_string(fi) + " " +
           ObjectReference(FFontTable[static_cast<std::size_t>(fi)]->FontInfo().FfiFontObjRef);
}

void TdeExPDFEngine::WriteAppearanceStream(int objNo, const std::string &operators, const std::string &tail)
{
    TMemoryStream data(std::vector<std::uint8_t>(operators.begin(), operators.end()));
    WriteObject("/Length " + std::to_string(data.Size()) + tail + CRLF, objNo, false);
    // Appearance streams are never compressed.
    FWriter.WriteEncodedStreamPart(data);
}

void TdeExPDFEngine::WritePushButtonAppearance(const std::string &caption, int objNo, bool pressed, double W,
                                               double H, TColor back, TColor border, const TFont &font, int fi)
{
    const double X = W / 2 - TextWidthPoints(caption, font) / 2;
    const double Y = std::floor((H - font.Size) / 2);
    const std::string S =
        ColorToPDFRGB(back) + " rg 0 0 " + N(W) + " " + N(H) + " re f " + ColorToPDFRGB(border) + " RG 2 w 1 1 " +
        N(W - 2) + " " + N(H - 2) + (pressed ? " re s 0.502 g 2 2 m 2 " : " re s 1 g 2 2 m 2 ") + N(H - 2) + " l " +
        N(W - 2) + " " + N(H - 2) + " l " + N(W - 4) + " " + N(H - 4) + " l 4 " + N(H - 4) +
        (pressed ? " l 4 4 l f 1 g " : " l 4 4 l f 0.502 g ") + N(W - 2) + " " + N(H - 2) + " m " + N(W - 2) +
        " 2 l 2 2 l 4 4 l " + N(W - 4) + " 4 l " + N(W - 4) + " " + N(H - 4) + " l f q 4 4 " + N(W - 8) + " " +
        N(H - 8) + (pressed ? " re W n 1 0 0 1 2 -2 cm BT /F" : " re W n BT /F") + std::to_string(fi) + " " +
        std::to_string(font.Size) + " Tf " + ColorToPDFRGB(font.Color) + " rg " + " 1 0 0 1 " + N(X) + " " + N(Y) +
        " Tm " + ShowString(caption, fi) + " Tj ET Q";
    WriteAppearanceStream(objNo, S,
                          "/Subtype/Form " + std::string("/BBox [ 0 0 ") + N(W) + " " + N(H) + " ] " +
                              "/Resources << " + "/ProcSet [ /PDF /Text ] " + AppearanceFontEntry(fi) + " >> " +
                              " >>");
}

void TdeExPDFEngine::WriteCheckAppearance(TdeCheckStyle symbol, int objNo, bool on, double W, double H,
                                          TColor back, TColor border, const TFont &font, int fi)
{
    std::string S = ColorToPDFRGB(back) + " rg 0 w 0.6 0.6 " + N(W - 2) + " " + N(H - 2) + " re f " +
                    ColorToPDFRGB(border) + " RG 1 w 0.5 0.5 " + N(W - 1) + " " + N(H - 1) + " re s";
    std::string tail = "/Subtype /Form " + std::string("/BBox [ 0 0 ") + N(W) + " " + N(H) + " ] " + "/Resources << ";
    if (on) {
        S += " q 1 1 " + N(W - 2) + " " + N(H - 2) + " re W n BT /F" + std::to_string(fi) + " " +
             std::to_string(font.Size) + " Tf " + ColorToPDFRGB(font.Color) + " rg " + " 1 0 0 1 0.77 1.405 Tm " +
             ShowString(Utf16ToUtf8(WideString(1, CheckStyleMark(symbol))), fi) + " Tj ET Q";
        tail += "/ProcSet [ /PDF /Text ] " + AppearanceFontEntry(fi) + " >> " + " >>";
    } else {
        tail += "/ProcSet [ /PDF ]" + std::string(">>");
    }
    WriteAppearanceStream(objNo, S, tail);
}

void TdeExPDFEngine::WriteCheckDownAppearance(TdeCheckStyle symbol, int objNo, bool on, double W, double H,
                                              TColor back, TColor border, const TFont &font, int fi)
{
    std::string S = ColorToPDFRGB(back) + " rg 0 w 0.6 0.6 " + N(W - 1) + " " + N(H - 1) + " re f " +
                    ColorToPDFRGB(border) + " RG 0 0 " + N(W) + " " + N(H) + " re f 0 G 1 w 0.5 0.5 " + N(W - 1) +
                    " " + N(H - 1) + " re s";
    std::string tail = "/Subtype /Form " + std::string("/BBox [ 0 0 ") + N(W) + " " + N(H) + " ] " + "/Resources <<";
    if (on) {
        S += " q 1 1 " + N(W - 2) + " " + N(H - 2) + " re W n BT /F" + std::to_string(fi) + " " +
             std::to_string(font.Size) + " Tf " + ColorToPDFRGB(font.Color) + " rg " + " 1 0 0 1 0.77 1.405 Tm " +
             ShowString(Utf16ToUtf8(WideString(1, CheckStyleMark(symbol))), fi) + " Tj ET Q";
        tail += "/ProcSet [ /PDF /Text ]" + AppearanceFontEntry(fi) + " >> " + ">>";
    } else {
        tail += " /ProcSet [ /PDF ]" + std::string(">>");
    }
    WriteAppearanceStream(objNo, S, tail);
}

void TdeExPDFEngine::WriteTextFieldAppearance(const std::string &value, bool multiLine, int objNo, double W,
                                              double H, TColor back, TColor border, const TFont &font, int fi,
                                              bool showBorder)
{
    std::string S = ColorToPDFRGB(back) + " rg 0 0 " + N(W) + " " + N(H) + " re f ";
    if (showBorder)
        S += ColorToPDFRGB(border) + " RG 0.5 0.5 " + N(W - 1) + " " + N(H - 1) + " re S ";
    S += "/Tx BMC q 1 1 " + N(W - 2) + " " + N(H - 2) + " re W n BT /F" + std::to_string(fi) + " " +
         std::to_string(font.Size) + " Tf ";
    if (multiLine) {
        S += LayoutMultiLineText(W, H, value, TdeAnnotAlignment::aalLeft, font, fi);
    } else {
        const double X = W / 2 - TextWidthPoints(value, font) / 2;
        const double Y = std::floor((H - font.Size) / 2);
        S += ColorToPDFRGB(font.Color) + " rg " + N(X) + " " + N(Y) + " Td " + ShowString(value, fi) + " Tj";
    }
    S += " ET Q EMC";
    WriteAppearanceStream(objNo, S,
                          "/Subtype /Form " + std::string("/BBox [0 0 ") + N(W) + " " + N(H) + "]" +
                              "/Resources << " + "/ProcSet [/PDF /Text] " + AppearanceFontEntry(fi) + ">> " + ">>");
}

std::string TdeExPDFEngine::LayoutMultiLineText(double W, double H, const std::string &text,
                                                TdeAnnotAlignment alignment, TFont font, int fi)
{
    if (font.Size == 0)
        font.Size = 11;
    const WideString value = Utf8ToUtf16(text);
    const double hL = PixelsToPoints(GetTextExtent(value, font).cy);
    std::vector<WideString> lines;
    SplitTextToWidth(value, lines, font, false, PointsToPixels(W), PointsToPixels(W));
    double y = H - hL;
    std::string result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TSize extent = GetTextExtent(lines[i], font);
        double lw = PixelsToPoints(extent.cx);
        if (i + 1 == lines.size())
            lw += PixelsToPoints(GetTextExtent(u"\r", font).cx);
        const double lh = PixelsToPoints(extent.cy);
        double x = 2;
        if (alignment == TdeAnnotAlignment::aalRight)
            x = W - lw;
        else if (alignment == TdeAnnotAlignment::aalCenter && W > lw)
            x = W / 2 - lw / 2 + 2;
        result += " " + ColorToPDFRGB(font.Color) + " rg " + "1 0 0 1" + " " + FloatToPDFStr(x) + " " +
                  FloatToPDFStr(y) + " Tm " + ShowString(Utf16ToUtf8(lines[i]), fi) + " Tj";
        y -= lh;
    }
    return result;
}

void TdeExPDFEngine::WriteComboBoxAppearance(const std::string &value, int objNo, TColor back, double W, double H,
                                             TColor border, const TFont &font, int fi)
{
    const std::string S =
        ColorToPDFRGB(back) + " rg 0 0 " + N(W) + " " + N(H) + " re f " + ColorToPDFRGB(border) +
        " RG 1 w 0.5 0.5 " + N(W - 1) + " " + N(H - 1) + " re s 0.502 g 1 1 m 1 " + N(H - 1) + " l " + N(W - 1) +
        " " + N(H - 1) + " l " + N(W - 2) + " " + N(H - 2) + " l 2 " + N(H - 2) + " l 2 2 l f 0.7529 g " +
        N(W - 1) + " " + N(H - 1) + " m " + N(W - 1) + " 1 l 1 1 l 2 2 l " + N(W - 2) + " 2 l " + N(W - 2) + " " +
        N(H - 2) + " l f /Tx BMC q 2 2 " + N(W - 4) + " " + N(H - 4) + " re W n BT /F" + std::to_string(fi) + " " +
        std::to_string(font.Size) + " Tf " + ColorToPDFRGB(font.Color) + " rg " + " 1 0 0 1 4 4.59 Tm " +
        ShowString(value, fi) + " Tj ET Q EMC";
    WriteAppearanceStream(objNo, S,
                          "/Subtype /Form " + std::string("/BBox [ 0 0 ") + N(W) + " " + N(H) + " ] " +
                              "/Resources << " + "/ProcSet [ /PDF /Text ] " + AppearanceFontEntry(fi) + " >> " + ">>");
}

void TdeExPDFEngine::WriteListBoxAppearance(const std::vector<std::string> &items, int objNo, double W, double H,
                                            TColor back, TColor border, const TFont &font, int fi)
{
    const double s = font.Size;
    std::string S =
        ColorToPDFRGB(back) + " rg 0 0 " + N(W) + " " + N(H) + " re f " + ColorToPDFRGB(border) +
        " RG 1 w 0.5 0.5 " + N(W - 1) + " " + N(H - 1) + " re s 0.502 g 1 1 m 1 " + N(H - 1) + " l " + N(W - 1) +
        " " + N(H - 1) + " l " + N(W - 2) + " " + N(H - 2) + " l 2 " + N(H - 2) + " l 2 2 l f 0.7529 g " +
        N(W - 1) + " " + N(H - 1) + " m " + N(W - 1) + " 1 l 1 1 l 2 2 l " + N(W - 2) + " 2 l " + N(W - 2) + " " +
        N(H - 2) + " l f /Tx BMC q 2 2 " + N(W - 4) + " " + N(H - 4) + " re W n 0 0 0.502 rg 2 " + N(H - s - 2) +
        " " + N(W - 4) + " " + N(s) + " re f BT /F" + std::to_string(fi) + " " + std::to_string(font.Size) +
        " Tf " + ColorToPDFRGB(font.Color) + " rg " + " 1 0 0 1 2 " + N(H) + " Tm 1 g 2 " +
        std::to_string(-font.Size) + " Td " + ShowString(items.empty() ? std::string() : items.front(), fi) +
        " Tj ";
    double used = s;
    for (std::size_t k = 1; k < items.size() && used + s < H; ++k, used += s)
        S += ColorToPDFRGB(font.Color) + " rg 0 " + std::to_string(-font.Size) + " Td " + ShowString(items[k], fi) +
             " Tj ";
    S += " ET Q EMC";
    WriteAppearanceStream(objNo, S,
                          "/Subtype /Form " + std::string("/BBox [ 0 0 ") + N(W) + " " + N(H) + " ] " +
                              "/Resources << " + "/ProcSet [ /PDF /Text ] " + AppearanceFontEntry(fi) + " >> " + ">>");
}

} // namespace tessaran
