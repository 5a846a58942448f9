#include "platform/Font_Services.h"

#include <fontconfig/fontconfig.h>
#include <fribidi.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

namespace tessaran {

namespace {

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<char32_t> CodePoints(std::u16string_view text)
{
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        points.push_back(c);
    }
    return points;
}

// Faces opened once for the life of the process.
class Faces {
public:
    static Faces &Instance()
    {
        static Faces faces;
        return faces;
    }
    FT_Face Get(const TFontFile &file)
    {
        const auto key = std::make_pair(file.Path, file.FaceIndex);
        auto found = FFaces.find(key);
        if (found != FFaces.end())
            return found->second;
        FT_Face face = nullptr;
        if (FT_New_Face(FLibrary, file.Path.c_str(), file.FaceIndex, &face) != 0)
            face = nullptr;
        FFaces.emplace(key, face);
        return face;
    }
    FcConfig *Config() const { return FConfig; }

private:
    Faces()
    {
        if (FT_Init_FreeType(&FLibrary) != 0)
            throw EFontError("FreeType cannot be initialised");
        FConfig = FcInitLoadConfigAndFonts();
    }
    ~Faces()
    {
        for (auto &entry : FFaces)
            if (entry.second)
                FT_Done_Face(entry.second);
        FT_Done_FreeType(FLibrary);
        if (FConfig)
            FcConfigDestroy(FConfig);
    }
    FT_Library FLibrary = nullptr;
    FcConfig *FConfig = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> FFaces;
};

struct PatternDeleter {
    void operator()(FcPattern *p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter {
    void operator()(FcFontSet *s) const { FcFontSetDestroy(s); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet *s) const { FcObjectSetDestroy(s); }
};

// Every installed face of a family: file and face index.
std::vector<TFontFile> FamilyFaces(std::string_view faceName)
{
    std::vector<TFontFile> files;
    FcConfig *config = Faces::Instance().Config();
    if (!config)
        return files;
    const std::string family = SubstituteFaceName(faceName);
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(config, pattern.get(), objects.get()));
    if (!set)
        return files;
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8 *path = nullptr;
        int index = 0;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &path) != FcResultMatch || !path)
            continue;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        files.push_back(TFontFile{reinterpret_cast<const char *>(path), index, family});
    }
    return files;
}

} // namespace

std::vector<int> FontFamilyCharsets(std::string_view faceName)
{
    // Code-page bits of the OS/2 table and the character set each stands for.
    static const std::pair<int, int> bits[] = {
        {0, 0},    {1, 238},  {2, 204},  {3, 161},  {4, 162},  {5, 177},  {6, 178},  {7, 186},  {8, 163},
        {16, 222}, {17, 128}, {18, 134}, {19, 129}, {20, 136}, {21, 130}, {29, 77},  {30, 255}, {31, 2},
    };
    std::vector<int> charsets;
    for (const TFontFile &file : FamilyFaces(faceName)) {
        FT_Face face = Faces::Instance().Get(file);
        if (!face)
            continue;
        const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (!os2 || os2->version == 0xFFFF)
            continue;
        for (const auto &[bit, charset] : bits)
            if ((os2->ulCodePageRange1 >> bit) & 1u)
                if (std::find(charsets.begin(), charsets.end(), charset) == charsets.end())
                    charsets.push_back(charset);
    }
    return charsets;
}

std::vector<std::string> InstalledFontFamilies()
{
    std::set<std::string> names;
    FcConfig *config = Faces::Instance().Config();
    if (!config)
        return {};
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(FcObjectSetBuild(FC_FAMILY, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(config, pattern.get(), objects.get()));
    if (!set)
        return {};
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8 *family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
            names.insert(reinterpret_cast<const char *>(family));
    }
    return std::vector<std::string>(names.begin(), names.end());
}

bool IsFontFamilyInstalled(std::string_view faceName) { return !FamilyFaces(faceName).empty(); }

std::string FontFamilyCovering(std::u16string_view text, const TFont &font)
{
    FcConfig *config = Faces::Instance().Config();
    if (!config || text.empty())
        return {};
    FcCharSet *characters = FcCharSetCreate();
    for (char32_t c : CodePoints(text))
        if (c > 0x20)
            FcCharSetAddChar(characters, c);
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, characters);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcPatternAddString(pattern.get(), FC_FONTFORMAT, reinterpret_cast<const FcChar8 *>("TrueType"));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                        font.Style.Contains(TFontStyle::fsBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, FontSetDeleter> sorted(FcFontSort(config, pattern.get(), FcFalse, nullptr, &result));
    std::string best;
    if (sorted)
        for (int i = 0; i < sorted->nfont && best.empty(); ++i) {
            FcCharSet *has = nullptr;
            FcChar8 *family = nullptr;
            FcChar8 *path = nullptr;
            int index = 0;
            if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &has) != FcResultMatch ||
                FcPatternGetString(sorted->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch ||
                FcPatternGetString(sorted->fonts[i], FC_FILE, 0, &path) != FcResultMatch)
                continue;
            FcPatternGetInteger(sorted->fonts[i], FC_INDEX, 0, &index);
            if (!FcCharSetIsSubset(characters, has))
                continue;
            if (!HasTrueTypeOutlines(TFontFile{reinterpret_cast<const char *>(path), index, {}}))
                continue;
            best = reinterpret_cast<const char *>(family);
        }
    FcCharSetDestroy(characters);
    return best;
}

bool HasTrueTypeOutlines(const TFontFile &file)
{
    FT_Face face = Faces::Instance().Get(file);
    if (!face || !FT_IS_SFNT(face))
        return false;
    FT_ULong length = 0;
    return FT_Load_Sfnt_Table(face, TTAG_glyf, 0, nullptr, &length) == 0 && length > 0;
}

bool FaceCoversText(const TFontFile &file, std::u16string_view text)
{
    FT_Face face = Faces::Instance().Get(file);
    if (!face)
        return false;
    for (char32_t c : CodePoints(text))
        if (c >= 0x20 && FT_Get_Char_Index(face, c) == 0)
            return false;
    return true;
}

std::vector<std::uint8_t> ReadFontFileBytes(const TFontFile &file)
{
    std::ifstream in(file.Path, std::ios::binary);
    if (!in)
        return {};
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<TBidiRun> VisualRuns(std::u16string_view text, bool rightToLeftBase)
{
    std::vector<TBidiRun> runs;
    const int n = static_cast<int>(text.size());
    if (n == 0)
        return runs;
    // Work in UTF-16 units: surrogates take the class of a letter, which
    // keeps a pair together in one run.
    std::vector<FriBidiChar> units(text.begin(), text.end());
    std::vector<FriBidiCharType> types(static_cast<std::size_t>(n));
    std::vector<FriBidiBracketType> brackets(static_cast<std::size_t>(n));
    std::vector<FriBidiLevel> levels(static_cast<std::size_t>(n));
    fribidi_get_bidi_types(units.data(), n, types.data());
    fribidi_get_bracket_types(units.data(), n, types.data(), brackets.data());
    FriBidiParType direction = rightToLeftBase ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction, levels.data()))
        std::fill(levels.begin(), levels.end(), rightToLeftBase ? 1 : 0);

    // Runs of one level and one script (common characters join their neighbour).
    hb_unicode_funcs_t *unicode = hb_unicode_funcs_get_default();
    hb_script_t script = HB_SCRIPT_COMMON;
    for (int i = 0; i < n; ++i) {
        hb_script_t s = hb_unicode_script(unicode, text[static_cast<std::size_t>(i)]);
        if (text[static_cast<std::size_t>(i)] >= 0xD800 && text[static_cast<std::size_t>(i)] <= 0xDFFF)
            s = HB_SCRIPT_COMMON;
        const bool common = s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN;
        const bool newRun = runs.empty() || runs.back().Level != levels[static_cast<std::size_t>(i)] ||
                            (!common && script != HB_SCRIPT_COMMON && s != script);
        if (newRun) {
            runs.push_back(TBidiRun{i, i + 1, levels[static_cast<std::size_t>(i)]});
            script = common ? HB_SCRIPT_COMMON : s;
        } else {
            runs.back().End = i + 1;
            if (!common)
                script = s;
        }
    }
    // Visual order: from the highest level down, reverse every stretch of
    // runs at that level or above.
    int highest = 0, lowestOdd = 255;
    for (const TBidiRun &run : runs) {
        highest = std::max(highest, run.Level);
        if (run.Level & 1)
            lowestOdd = std::min(lowestOdd, run.Level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        std::size_t i = 0;
        while (i < runs.size()) {
            if (runs[i].Level < level) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < runs.size() && runs[j].Level >= level)
                ++j;
            std::reverse(runs.begin() + static_cast<std::ptrdiff_t>(i), runs.begin() + static_cast<std::ptrdiff_t>(j));
            i = j;
        }
    }
    return runs;
}

bool IsComplexText(std::u16string_view text)
{
    hb_unicode_funcs_t *unicode = hb_unicode_funcs_get_default();
    for (char32_t c : CodePoints(text)) {
        const hb_script_t s = hb_unicode_script(unicode, c);
        switch (s) {
        case HB_SCRIPT_ARABIC:
        case HB_SCRIPT_HEBREW:
        case HB_SCRIPT_SYRIAC:
        case HB_SCRIPT_THAANA:
        case HB_SCRIPT_DEVANAGARI:
        case HB_SCRIPT_BENGALI:
        case HB_SCRIPT_GURMUKHI:
        case HB_SCRIPT_GUJARATI:
        case HB_SCRIPT_ORIYA:
        case HB_SCRIPT_TAMIL:
        case HB_SCRIPT_TELUGU:
        case HB_SCRIPT_KANNADA:
        case HB_SCRIPT_MALAYALAM:
        case HB_SCRIPT_SINHALA:
        case HB_SCRIPT_THAI:
        case HB_SCRIPT_LAO:
        case HB_SCRIPT_TIBETAN:
        case HB_SCRIPT_MYANMAR:
        case HB_SCRIPT_KHMER:
        case HB_SCRIPT_HANGUL: return true;
        default: break;
        }
        if (hb_unicode_general_category(unicode, c) == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK)
            return true;
    }
    return false;
}

std::vector<TShapedGlyph> ShapeText(const TFontFile &file, std::u16string_view text, bool rightToLeft)
{
    // HarfBuzz's own reading of the face, in font units: the advances do not
    // depend on any pixel size.
    static std::map<std::pair<std::string, int>, hb_font_t *> fonts;
    std::vector<TShapedGlyph> glyphs;
    if (text.empty())
        return glyphs;
    const auto key = std::make_pair(file.Path, file.FaceIndex);
    auto found = fonts.find(key);
    if (found == fonts.end()) {
        hb_blob_t *blob = hb_blob_create_from_file_or_fail(file.Path.c_str());
        hb_font_t *font = nullptr;
        if (blob) {
            hb_face_t *face = hb_face_create(blob, static_cast<unsigned>(file.FaceIndex));
            font = hb_font_create(face);
            hb_face_destroy(face);
            hb_blob_destroy(blob);
        }
        found = fonts.emplace(key, font).first;
    }
    hb_font_t *font = found->second;
    if (!font)
        return glyphs;
    const unsigned upem = std::max(1u, hb_face_get_upem(hb_font_get_face(font)));
    hb_font_set_scale(font, static_cast<int>(upem), static_cast<int>(upem));
    hb_buffer_t *buffer = hb_buffer_create();
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t *>(text.data()), static_cast<int>(text.size()), 0,
                        static_cast<int>(text.size()));
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_shape(font, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t *position = hb_buffer_get_glyph_positions(buffer, &count);
    for (unsigned i = 0; i < count; ++i)
        glyphs.push_back(TShapedGlyph{static_cast<std::uint16_t>(info[i].codepoint), static_cast<int>(info[i].cluster),
                                      static_cast<int>(std::lround(position[i].x_advance * 1000.0 / upem))});
    hb_buffer_destroy(buffer);
    return glyphs;
}

} // namespace tessaran
