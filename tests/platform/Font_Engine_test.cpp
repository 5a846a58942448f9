#include "platform/Font_Engine.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tessaran {
namespace {

TFont font(const char *name, int size, int ppi = 96, TFontStyles style = {})
{
    TFont f;
    f.Name = name;
    f.Size = size;
    f.PixelsPerInch = ppi;
    f.Style = style;
    return f;
}

TEST(FontEngine, FaceNamesMapToTheFreeMetricCompatibleFaces)
{
    struct Case {
        const char *name;
        bool bold, italic;
        const char *family;
        const char *file;
    } cases[] = {
        {"Arial", false, false, "Liberation Sans", "LiberationSans-Regular"},
        {"arial", true, false, "Liberation Sans", "LiberationSans-Bold"},
        {"Arial", false, true, "Liberation Sans", "LiberationSans-Italic"},
        {"Verdana", false, false, "DejaVu Sans", "DejaVuSans"},
        {"Times New Roman", false, false, "Liberation Serif", "LiberationSerif-Regular"},
        {"Courier New", false, false, "Liberation Mono", "LiberationMono-Regular"},
    };
    for (const Case &c : cases) {
        TFontFile file = FindFontFile(c.name, c.bold, c.italic);
        EXPECT_EQ(file.Family, c.family) << c.name;
        EXPECT_NE(file.Path.find(c.file), std::string::npos) << c.name << ": " << file.Path;
    }
}

TEST(FontEngine, MeasuresAtTheFontsOwnResolution)
{
    TFont arial = font("Arial", 8);
    EXPECT_EQ(arial.PixelHeight(), 11); // 8 pt at 96 per inch, rounded
    TTextMeasure m = MeasureText(arial, std::string_view("Wavy"));
    EXPECT_GT(m.Extent.cx, 15);
    EXPECT_LT(m.Extent.cx, 30);
    EXPECT_EQ(m.Extent.cx, std::accumulate(m.Advances.begin(), m.Advances.end(), 0));
    EXPECT_EQ(m.Extent.cy, MeasureFont(arial).Height);
    EXPECT_GE(m.Extent.cy, 12);
    EXPECT_LE(m.Extent.cy, 14);

    // Twice the resolution, about twice the extent; the screen plays no part.
    TTextMeasure large = MeasureText(font("Arial", 8, 192), std::string_view("Wavy"));
    EXPECT_NEAR(large.Extent.cx, 2 * m.Extent.cx, 3);
    EXPECT_NEAR(large.Extent.cy, 2 * m.Extent.cy, 2);

    // Bold text is wider; the same text measures the same every time.
    TTextMeasure bold = MeasureText(font("Arial", 8, 96, {TFontStyle::fsBold}), std::string_view("Pump curve"));
    TTextMeasure plain = MeasureText(arial, std::string_view("Pump curve"));
    EXPECT_GT(bold.Extent.cx, plain.Extent.cx);
    EXPECT_EQ(MeasureText(arial, std::string_view("Pump curve")).Extent, plain.Extent);
}

TEST(FontEngine, EmptyTextHasTheFontsHeightAndSurrogatePairsOneAdvance)
{
    TFont arial = font("Arial", 10);
    TTextMeasure empty = MeasureText(arial, std::string_view(""));
    EXPECT_EQ(empty.Extent.cx, 0);
    EXPECT_EQ(empty.Extent.cy, MeasureFont(arial).Height);

    std::u16string pair = u"a\U0001D400b";
    TTextMeasure m = MeasureText(arial, std::u16string_view(pair));
    ASSERT_EQ(m.Advances.size(), 4u);
    EXPECT_EQ(m.Advances[2], 0);
}

TEST(FontEngine, MetricsAreConsistent)
{
    TFontMetrics m = MeasureFont(font("Arial", 12));
    EXPECT_EQ(m.Height, m.Ascent + m.Descent);
    EXPECT_GT(m.Ascent, m.Descent);
    EXPECT_GT(m.UnderlinePosition, 0);
    EXPECT_LT(m.UnderlinePosition, m.Descent + 1);
    EXPECT_GT(m.StrikeoutPosition, 0);
    EXPECT_LT(m.StrikeoutPosition, m.Ascent);
}

} // namespace
} // namespace tessaran
