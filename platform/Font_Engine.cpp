#include "platform/Font_Engine.h"

#include "platform/Codepage1252.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace tessaran {

namespace {

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Scaled font units rounded outwards, so that a glyph's ink always fits.
int scaleUp(long units, int emPixels, int unitsPerEm)
{
    if (unitsPerEm <= 0)
        return 0;
    return static_cast<int>(std::ceil(static_cast<double>(units) * emPixels / unitsPerEm - 1e-9));
}

int scaleRound(long units, int emPixels, int unitsPerEm)
{
    if (unitsPerEm <= 0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(units) * emPixels / unitsPerEm));
}

class FontLibrary {
public:
    static FontLibrary &Instance()
    {
        static FontLibrary library;
        return library;
    }

    TFontFile Find(std::string_view name, bool bold, bool italic)
    {
        auto key = std::make_tuple(lower(name), bold, italic);
        auto found = files_.find(key);
        if (found != files_.end())
            return found->second;
        TFontFile file = match(SubstituteFaceName(name), bold, italic);
        files_.emplace(key, file);
        return file;
    }

    FT_Face Face(const TFontFile &file)
    {
        auto key = std::make_pair(file.Path, file.FaceIndex);
        auto found = faces_.find(key);
        if (found != faces_.end())
            return found->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, file.Path.c_str(), file.FaceIndex, &face) != 0 || face == nullptr)
            throw EFontError("Font file cannot be opened: " + file.Path);
        faces_.emplace(key, face);
        return face;
    }

    FT_Face SizedFace(const TFont &font)
    {
        TFontFile file = Find(font.Name, font.Style.Contains(TFontStyle::fsBold),
                              font.Style.Contains(TFontStyle::fsItalic));
        FT_Face face = Face(file);
        int em = std::max(1, font.PixelHeight());
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0)
            throw EFontError("Font size cannot be set: " + file.Path);
        return face;
    }

private:
    FontLibrary()
    {
        if (FT_Init_FreeType(&library_) != 0)
            throw EFontError("FreeType cannot be initialised");
        config_ = FcInitLoadConfigAndFonts();
    }
    ~FontLibrary()
    {
        for (auto &entry : faces_)
            FT_Done_Face(entry.second);
        FT_Done_FreeType(library_);
        if (config_)
            FcConfigDestroy(config_);
    }

    TFontFile match(const std::string &family, bool bold, bool italic)
    {
        if (!config_)
            throw EFontError("fontconfig cannot be initialised");
        FcPattern *pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config_, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern *matched = FcFontMatch(config_, pattern, &result);
        FcPatternDestroy(pattern);
        if (!matched)
            throw EFontError("No font found for \"" + family + "\"");
        TFontFile file;
        FcChar8 *path = nullptr;
        FcChar8 *chosenFamily = nullptr;
        int index = 0;
        if (FcPatternGetString(matched, FC_FILE, 0, &path) == FcResultMatch && path)
            file.Path = reinterpret_cast<const char *>(path);
        if (FcPatternGetInteger(matched, FC_INDEX, 0, &index) == FcResultMatch)
            file.FaceIndex = index;
        if (FcPatternGetString(matched, FC_FAMILY, 0, &chosenFamily) == FcResultMatch && chosenFamily)
            file.Family = reinterpret_cast<const char *>(chosenFamily);
        FcPatternDestroy(matched);
        if (file.Path.empty())
            throw EFontError("No font file found for \"" + family + "\"");
        return file;
    }

    FT_Library library_ = nullptr;
    FcConfig *config_ = nullptr;
    std::map<std::tuple<std::string, bool, bool>, TFontFile> files_;
    std::map<std::pair<std::string, int>, FT_Face> faces_;
};

} // namespace

std::string SubstituteFaceName(std::string_view name)
{
    static const std::map<std::string, std::string> substitutes = {
        {"arial", "Liberation Sans"},       {"helvetica", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"courier new", "Liberation Mono"},
        {"verdana", "DejaVu Sans"},         {"tahoma", "DejaVu Sans"},
    };
    std::string key = lower(name);
    auto found = substitutes.find(key);
    if (found != substitutes.end())
        return found->second;
    if (key.empty())
        return "Liberation Sans";
    return std::string(name);
}

TFontFile FindFontFile(std::string_view name, bool bold, bool italic)
{
    return FontLibrary::Instance().Find(name, bold, italic);
}

TFontFile FindFontFile(const TFont &font)
{
    return FindFontFile(font.Name, font.Style.Contains(TFontStyle::fsBold), font.Style.Contains(TFontStyle::fsItalic));
}

namespace {

TFontMetrics computeMetrics(FT_Face face, int em)
{
    int upem = face->units_per_EM;
    TFontMetrics m;
    auto *os2 = static_cast<TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && (os2->usWinAscent + os2->usWinDescent) > 0) {
        m.Ascent = scaleUp(os2->usWinAscent, em, upem);
        m.Descent = scaleUp(os2->usWinDescent, em, upem);
        m.StrikeoutPosition = scaleRound(os2->yStrikeoutPosition, em, upem);
        m.StrikeoutThickness = std::max(1, scaleRound(os2->yStrikeoutSize, em, upem));
    } else {
        m.Ascent = scaleUp(face->ascender, em, upem);
        m.Descent = scaleUp(-face->descender, em, upem);
        m.StrikeoutPosition = m.Ascent / 3;
        m.StrikeoutThickness = std::max(1, em / 14);
    }
    m.Height = m.Ascent + m.Descent;
    m.UnderlinePosition = std::max(1, scaleRound(-face->underline_position, em, upem));
    m.UnderlineThickness = std::max(1, scaleRound(face->underline_thickness, em, upem));
    return m;
}

// Measured values per face and pixel size: renders measure the same few
// fonts over and over.
struct SizedFaceCache {
    TFontMetrics metrics;
    std::map<char32_t, int> advances;
};

SizedFaceCache &cacheFor(const TFont &font, FT_Face &face)
{
    static std::map<std::tuple<std::string, bool, bool, int>, std::pair<FT_Face, SizedFaceCache>> caches;
    int em = std::max(1, font.PixelHeight());
    auto key = std::make_tuple(lower(font.Name), font.Style.Contains(TFontStyle::fsBold),
                               font.Style.Contains(TFontStyle::fsItalic), em);
    auto found = caches.find(key);
    if (found == caches.end()) {
        FT_Face sized = FontLibrary::Instance().SizedFace(font);
        SizedFaceCache cache;
        cache.metrics = computeMetrics(sized, em);
        found = caches.emplace(key, std::make_pair(sized, std::move(cache))).first;
    }
    face = found->second.first;
    return found->second.second;
}

} // namespace

TFontMetrics MeasureFont(const TFont &font)
{
    FT_Face face = nullptr;
    return cacheFor(font, face).metrics;
}

TTextMeasure MeasureText(const TFont &font, std::u16string_view text)
{
    FT_Face face = nullptr;
    SizedFaceCache &cache = cacheFor(font, face);
    bool sized = false;
    TTextMeasure result;
    result.Advances.reserve(text.size());
    int width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        bool pair = false;
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            pair = true;
        }
        int advance = 0;
        auto known = cache.advances.find(code);
        if (known != cache.advances.end()) {
            advance = known->second;
        } else {
            // The face is shared by every size: set this one before loading.
            if (!sized) {
                FontLibrary::Instance().SizedFace(font);
                sized = true;
            }
            FT_UInt glyph = FT_Get_Char_Index(face, code);
            if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0)
                advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
            cache.advances.emplace(code, advance);
        }
        result.Advances.push_back(advance);
        width += advance;
        if (pair) {
            result.Advances.push_back(0);
            ++i;
        }
    }
    result.Extent = TSize{width, cache.metrics.Height};
    return result;
}

TTextMeasure MeasureText(const TFont &font, std::string_view utf8)
{
    return MeasureText(font, std::u16string_view(Utf8ToUtf16(utf8)));
}

} // namespace tessaran
