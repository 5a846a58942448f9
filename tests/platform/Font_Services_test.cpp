#include <gtest/gtest.h>

#include "platform/Font_Services.h"

namespace tessaran {
namespace {

TEST(FontServices, RunsInVisualOrderAndShapedGlyphs)
{
    // Hebrew inside a left-to-right line is reversed in place.
    const std::u16string text = u"ab \u05D0\u05D1 cd";
    const auto runs = VisualRuns(text, false);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].Start, 3);
    EXPECT_TRUE(runs[1].RightToLeft());
    const auto rtl = VisualRuns(u"ab \u05D0\u05D1", true);
    ASSERT_EQ(rtl.size(), 2u);
    EXPECT_EQ(rtl[0].Start, 2); // the Hebrew run (with the blank) comes first from the left
    EXPECT_TRUE(IsComplexText(u"\u0627\u0644"));
    EXPECT_FALSE(IsComplexText(u"Latin \u00E9 \u03A9"));

    const TFontFile dejavu = FindFontFile("DejaVu Sans", false, false);
    EXPECT_TRUE(HasTrueTypeOutlines(dejavu));
    const auto glyphs = ShapeText(dejavu, u"AV", false);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[1].Cluster, 1);
    EXPECT_GT(glyphs[0].Advance, 500);
    // Arabic letters join: shaped right to left, clusters falling.
    const auto arabic = ShapeText(dejavu, u"\u0645\u0631\u062D\u0628\u0627", true);
    ASSERT_FALSE(arabic.empty());
    EXPECT_GT(arabic.front().Cluster, arabic.back().Cluster);
    EXPECT_EQ(FontFamilyCovering(u"\u4E2D\u6587", TFont{}).empty(), false);
}

} // namespace
} // namespace tessaran
