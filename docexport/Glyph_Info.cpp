#include "docexport/Glyph_Info.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/Codepage1252.h"
#include "platform/Font_Engine.h"
#include "platform/Font_Services.h"
#include "platform/Pascal.h"

namespace tessaran {

namespace {

std::string Lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool SameName(const std::string &a, const std::string &b) { return Lower(a) == Lower(b); }

// A face that can write text: installed, with TrueType outlines.
bool IsTrueTypeFace(const std::string &name, const TFont &style)
{
    if (!IsFontFamilyInstalled(name))
        return false;
    try {
        return HasTrueTypeOutlines(FindFontFile(name, style.Style.Contains(TFontStyle::fsBold),
                                                style.Style.Contains(TFontStyle::fsItalic)));
    } catch (const EFontError &) {
        return false;
    }
}

} // namespace

TdeMapFont::TdeMapFont()
{
    FSysFontList = InstalledFontFamilies();
    // The program's face names stand for installed free faces.
    for (const char *name : {"Arial", "Times New Roman", "Courier New", "Verdana", "Tahoma"})
        if (IsFontFamilyInstalled(name))
            FSysFontList.push_back(name);
    if (IsFontFamilyInstalled("Courier New"))
        FMappedFonts["courier"] = "Courier New";
    if (IsFontFamilyInstalled("Arial"))
        FMappedFonts["ms sans serif"] = "Arial";
}

TFont &TdeMapFont::GetTrueTypeFont(const WideString &text, TFont &font)
{
    const std::string key = Lower(font.Name);
    auto found = FMappedFonts.find(key);
    if (found != FMappedFonts.end()) {
        font.Name = found->second;
        return font;
    }
    if (IsTrueTypeFace(font.Name, font)) {
        FMappedFonts[key] = font.Name;
        return font;
    }
    const TFont mapped = GetMappedFont(text, font);
    FMappedFonts[key] = mapped.Name;
    font.Name = mapped.Name;
    return font;
}

TFont TdeMapFont::GetMappedFont(const WideString &text, const TFont &font)
{
    TFont result = font;
    result.Name = "Arial";
    const std::string covering = FontFamilyCovering(text, font);
    if (!covering.empty())
        result.Name = covering;
    return result;
}

int TdeMapFont::GetFontSize(const TFont &font)
{
    const auto key = std::make_pair(Lower(font.Name), font.Size);
    auto found = FMappedFontSizeList.find(key);
    if (found != FMappedFontSizeList.end())
        return found->second;
    // The cell height is the em plus the internal leading: the em is the
    // cell height scaled by the face's em over its ascent plus descent.
    TFont reference = font;
    reference.Size = 72;
    reference.PixelsPerInch = 96;
    const TFontMetrics metrics = MeasureFont(reference);
    const double cell = std::abs(font.Size) * 96.0 / 72;
    const double em = metrics.Height > 0 ? cell * 96.0 / metrics.Height : cell;
    const int size = static_cast<int>(Round(em * 72 / 96));
    FMappedFontSizeList.emplace(key, size);
    return size;
}

bool TdeMapFont::IsLatinUnicodeRangePresent(const TFont &font)
{
    const std::string key = Lower(font.Name);
    auto found = FUnicodeSubRangeInfo.find(key);
    if (found != FUnicodeSubRangeInfo.end())
        return found->second;
    bool latin = false;
    try {
        latin = FaceCoversText(FindFontFile(font), u"AZaz09");
    } catch (const EFontError &) {
    }
    FUnicodeSubRangeInfo.emplace(key, latin);
    return latin;
}

void TdeMapFont::AddUsedFont(const std::string &name)
{
    if (std::find(FAllUsedFonts.begin(), FAllUsedFonts.end(), name) == FAllUsedFonts.end())
        FAllUsedFonts.push_back(name);
}

void TdeStringAnalyzer::StringAnalyze(const WideString &text, TBiDiMode biDiMode, const TFont &font,
                                      const TdeScriptRunCallback &callback, TdeMapFont &mapFont)
{
    if (text.empty() || !callback)
        return;
    const bool rightToLeft = biDiMode != TBiDiMode::bdLeftToRight;
    const std::vector<TBidiRun> runs = VisualRuns(text, rightToLeft);
    const int runCount = static_cast<int>(runs.size());
    const bool bold = font.Style.Contains(TFontStyle::fsBold);
    const bool italic = font.Style.Contains(TFontStyle::fsItalic);
    int position = 0;
    for (int v = 0; v < runCount; ++v) {
        const TBidiRun &item = runs[static_cast<std::size_t>(v)];
        const WideString runText = text.substr(static_cast<std::size_t>(item.Start),
                                               static_cast<std::size_t>(item.End - item.Start));
        const bool simple = std::all_of(runText.begin(), runText.end(), [](char16_t c) { return c >= 0x20 && c <= 0xFF; });
        const bool complex = IsComplexText(runText);
        TdeRunInfo info;
        info.StartPos = item.Start;
        info.EndPos = item.End;
        if (!rightToLeft && !complex && simple && mapFont.IsLatinUnicodeRangePresent(font)) {
            info.MappedFontName = font.Name;
            callback(runText, v, runCount, nullptr, info, TdeWordArray(runText.size(), 0));
            continue;
        }

        // Faces in the fallback order: the requested one, those already
        // used (newest first), the face covering the text, then every
        // installed face. Only faces with TrueType outlines can be written.
        std::vector<std::string> candidates{font.Name};
        const auto &used = mapFont.AllUsedFonts();
        for (auto name = used.rbegin(); name != used.rend(); ++name) {
            std::string face = *name;
            if (!font.Name.starts_with("@") && face.starts_with("@"))
                face.erase(0, 1);
            candidates.push_back(face);
        }
        candidates.push_back(mapFont.GetMappedFont(runText, font).Name);
        for (const std::string &name : mapFont.SysFontList())
            candidates.push_back(name);
        std::vector<std::string> tried;
        std::vector<TShapedGlyph> shaped;
        std::string chosen;
        for (const std::string &name : candidates) {
            if (std::any_of(tried.begin(), tried.end(), [&](const std::string &t) { return SameName(t, name); }))
                continue;
            tried.push_back(name);
            if (!IsFontFamilyInstalled(name))
                continue;
            TFontFile file;
            try {
                file = FindFontFile(name, bold, italic);
            } catch (const EFontError &) {
                continue;
            }
            if (!HasTrueTypeOutlines(file))
                continue;
            shaped = ShapeText(file, runText, item.RightToLeft());
            const bool missing =
                shaped.empty() || std::any_of(shaped.begin(), shaped.end(), [](const TShapedGlyph &g) { return g.GlyphId == 0; });
            if (!missing) {
                chosen = name;
                break;
            }
        }
        if (chosen.empty()) {
            if (OnError)
                OnError("No installed TrueType font can write the text \"" + Utf16ToUtf8(runText) + "\"");
            continue;
        }
        mapFont.AddUsedFont(chosen);
        info.MappedFontName = chosen;
        info.IsFontMapped = !SameName(chosen, font.Name);
        info.ScriptProcessingRequired = true;
        info.Complex = complex;
        info.Ligature = !complex && shaped.size() < runText.size();
        info.RTL = item.RightToLeft();

        TdeGlyphInfoList glyphs;
        TdeWordArray logClust(runText.size(), 0);
        std::vector<bool> clusterSeen(runText.size() + 1, false);
        for (std::size_t g = 0; g < shaped.size(); ++g) {
            const TShapedGlyph &s = shaped[g];
            TdeGlyphInfo glyph;
            glyph.ID = s.GlyphId;
            // Thousandths of the em to pixels of the size-1000 font.
            glyph.AdvWidth = static_cast<int>(Round(s.Advance * 96.0 / 72));
            glyph.AbcB = glyph.AdvWidth;
            glyph.Position = position++;
            glyph.FontName = chosen;
            glyphs.push_back(glyph);
            const std::size_t cluster = std::min<std::size_t>(static_cast<std::size_t>(std::max(0, s.Cluster)), runText.size());
            std::uint8_t attributes = 0;
            if (!clusterSeen[cluster])
                attributes |= svClusterStart;
            if (s.Advance == 0)
                attributes |= svZeroWidth | (clusterSeen[cluster] ? svDiacritic : 0);
            clusterSeen[cluster] = true;
            info.VisAttr.push_back(attributes);
        }
        // Each character points at the first glyph (in glyph order) of its cluster.
        for (std::size_t j = 0; j < runText.size(); ++j) {
            std::size_t cluster = 0;
            for (const TShapedGlyph &s : shaped)
                if (static_cast<std::size_t>(s.Cluster) <= j)
                    cluster = std::max<std::size_t>(cluster, static_cast<std::size_t>(s.Cluster));
            for (std::size_t g = 0; g < shaped.size(); ++g)
                if (static_cast<std::size_t>(shaped[g].Cluster) == cluster) {
                    logClust[j] = static_cast<std::uint16_t>(g);
                    break;
                }
        }
        callback(runText, v, runCount, &glyphs, info, logClust);
    }
}

} // namespace tessaran
