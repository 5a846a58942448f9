#include <gtest/gtest.h>

#include "docexport/Glyph_Info.h"

namespace tessaran {
namespace {

struct Run {
    WideString text;
    int index;
    int count;
    std::size_t glyphs;
    TdeRunInfo info;
};

std::vector<Run> Analyse(const WideString &text, TBiDiMode mode, const std::string &face, TdeMapFont &map)
{
    TFont font;
    font.Name = face;
    font.Size = 1000;
    std::vector<Run> runs;
    TdeStringAnalyzer().StringAnalyze(
        text, mode, font,
        [&](const WideString &t, int i, int n, TdeGlyphInfoList *g, const TdeRunInfo &info, const TdeWordArray &clusters) {
            EXPECT_EQ(clusters.size(), t.size());
            runs.push_back(Run{t, i, n, g ? g->size() : 0, info});
        },
        map);
    return runs;
}

TEST(StringAnalyzer, PlainShapedAndVisualRuns)
{
    TdeMapFont map;
    // Latin in a Latin face: one run passed on as characters.
    auto runs = Analyse(u"Plain text", TBiDiMode::bdLeftToRight, "Arial", map);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FALSE(runs[0].info.ScriptProcessingRequired);
    EXPECT_EQ(runs[0].glyphs, 0u);
    // Right-to-left mode shapes even Latin; a character above 0xFF too.
    runs = Analyse(u"Plain", TBiDiMode::bdRightToLeft, "Arial", map);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(runs[0].info.ScriptProcessingRequired);
    EXPECT_EQ(runs[0].glyphs, 5u);
    runs = Analyse(u"\u20AC", TBiDiMode::bdLeftToRight, "Arial", map);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(runs[0].info.ScriptProcessingRequired);
    // Arabic and Latin in right-to-left mode: visual order, the Arabic run marked.
    runs = Analyse(u"abc \u0645\u0631\u062D\u0628\u0627", TBiDiMode::bdRightToLeft, "DejaVu Sans", map);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].index, 0);
    EXPECT_EQ(runs[0].count, 2);
    EXPECT_TRUE(runs[0].info.RTL);
    EXPECT_TRUE(runs[0].info.Complex);
    EXPECT_EQ(runs[0].info.StartPos, 3);
    EXPECT_FALSE(runs[1].info.RTL);
    // A face without the glyphs hands the run to one that has them.
    runs = Analyse(u"\u4E2D\u6587", TBiDiMode::bdLeftToRight, "Arial", map);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(runs[0].info.IsFontMapped);
    EXPECT_NE(runs[0].info.MappedFontName, "Arial");
    EXPECT_EQ(map.AllUsedFonts().back(), runs[0].info.MappedFontName);
}

TEST(MapFont, NamesSizesAndFallbacks)
{
    TdeMapFont map;
    TFont font;
    font.Name = "Courier";
    EXPECT_EQ(map.GetTrueTypeFont(u"x", font).Name, "Courier New");
    font.Name = "No Such Face";
    EXPECT_FALSE(map.GetTrueTypeFont(u"abc", font).Name.empty());
    EXPECT_NE(font.Name, "No Such Face");
    // A cell height of 16 pixels (12 points) is an em of less than 12 points.
    font.Name = "Arial";
    font.Size = -12;
    const int size = map.GetFontSize(font);
    EXPECT_GE(size, 9);
    EXPECT_LE(size, 11);
    EXPECT_EQ(map.GetFontSize(font), size);
}

} // namespace
} // namespace tessaran
