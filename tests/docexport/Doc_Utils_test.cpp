// Formatting for PDF syntax must not follow the locale: this executable also
// runs under a comma-decimal locale (.comma tests).
#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>

#include "docexport/Doc_Utils.h"
#include "docexport/Measurement_Units.h"
#include "platform/Font_Engine.h"

namespace tessaran {
namespace {

TEST(FloatToPDFStrF, FixedFourDigitsAsThePdfWriterUsesIt)
{
    const struct {
        double value;
        const char *expected;
    } cases[] = {
        {0, "0.0000"},          {1, "1.0000"},        {0.5, "0.5000"},
        {-12.25, "-12.2500"},   {1234567.125, "1234567.1250"},
        {-0.00001, "0.0000"},   {841.8897637795, "841.8898"}, {1e-9, "0.0000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FloatToPDFStrF(TFloatFormat::ffFixed, 18, 4, c.value), c.expected) << c.value;
}

TEST(FloatToPDFStrF, StaysPointUnderCommaLocaleAndLeavesTheLocaleAlone)
{
    // The process may run under a comma locale (the .comma run sets it from
    // the environment); the C library's own formatting then shows a comma.
    char localeFormatted[32];
    std::snprintf(localeFormatted, sizeof localeFormatted, "%.1f", 2.5);
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_EQ(FloatToPDFStrF(TFloatFormat::ffFixed, 18, 4, 2.5), "2.5000");
    EXPECT_EQ(FloatToPDFStr(2.5), "2.5");
    EXPECT_EQ(ColorToPDFRGB(0x808080), "0.5020 0.5020 0.5020");
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), before);
    char after[32];
    std::snprintf(after, sizeof after, "%.1f", 2.5);
    EXPECT_STREQ(after, localeFormatted);
}

TEST(FloatToPDFStrF, OtherFormatsAndPrecisions)
{
    EXPECT_EQ(FloatToPDFStrF(TFloatFormat::ffFixed, 5, 4, 123.45678), "123.4600");
    EXPECT_EQ(FloatToPDFStrF(TFloatFormat::ffFixed, 3, 2, 12345.0), "1.23E+4");
    EXPECT_EQ(FloatToPDFStrF(TFloatFormat::ffExponent, 5, 2, 1234.5), "1.2345E+03");
    EXPECT_EQ(FloatToPDFStrF(TFloatFormat::ffExponent, 3, 0, -0.000123), "-1.23E-4");
}

TEST(FloatToPDFStr, GeneralFormat)
{
    const struct {
        double value;
        const char *expected;
    } cases[] = {
        {0, "0"},           {1, "1"},           {-0.25, "-0.25"},   {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},         {0.0001, "0.0001"}, {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"}, {1e20, "1E20"},     {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},     {-905.5, "-905.5"}, {1200, "1200"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FloatToPDFStr(c.value), c.expected) << c.value;
}

TEST(ColorFormatting, PdfOperandsAndHex)
{
    EXPECT_EQ(ColorToPDFRGB(clRed), "1.0000 0.0000 0.0000");
    EXPECT_EQ(ColorToPDFRGB(clBlue), "0.0000 0.0000 1.0000");
    EXPECT_EQ(ColorToPDFRGB(clWhite), "1.0000 1.0000 1.0000");
    EXPECT_EQ(ColorToHex(clRed), "FF0000");
    EXPECT_EQ(ColorToHex(0x123456), "563412");
    // System colours resolve to their scheme value.
    EXPECT_EQ(ColorToHex(clWindow), "FFFFFF");
    EXPECT_EQ(ColorToPDFRGB(clWindowText), "0.0000 0.0000 0.0000");
    // A system colour given with the high byte 0xFF (inactive border).
    TColor c = static_cast<TColor>(0xFF00000Bu);
    ResolveSysColor(c);
    EXPECT_EQ(c, 0xFCF7F4);
    EXPECT_EQ(ColorToHex(static_cast<TColor>(0xFF000005u)), "FFFFFF");
    TColor plain = clRed;
    ResolveSysColor(plain);
    EXPECT_EQ(plain, clRed);
}

TEST(HexHelpers, EncodeAndDecode)
{
    EXPECT_EQ(StrToHex("abc"), "616263");
    EXPECT_EQ(StrToHex(std::string("\x00\xff", 2)), "00FF");
    EXPECT_EQ(WideStrToHex(u"A"), "0041");
    EXPECT_EQ(WideStrToHex(u"\u20AC"), "20AC");

    const struct {
        const char *text;
        int value;
        bool failed;
    } cases[] = {{"7F", 127, false}, {"ff", 255, false}, {"G1", 0, true}, {"", 0, false},
                 {"1FF", 255, false}, {" 1", 0, true}};
    for (const auto &c : cases) {
        std::uint8_t value = 99;
        EXPECT_EQ(HexToByte(c.text, value), c.failed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(IsHexString(c.text), !c.failed) << c.text;
    }
}

TEST(EscapePDFString, EscapesAndExpandsTabs)
{
    const struct {
        WideString input;
        WideString expected;
    } cases[] = {
        {u"a(b)", u"a\\(b\\)"},
        {u"x\ty", u"x       y"},
        {u"\t", u"        "},
        {u"12345678\t", u"12345678        "},
        {u"back\\slash", u"back\\\\slash"},
        {u"a\r\nb", u"a\\r\\nb"},
        // BS and FF take no column; CR and LF do.
        {u"\b\fa\tb", u"\\b\\fa       b"},
        {u"\r\t", u"\\r       "},
        {u"\u00e9\u4e2d", u"\u00e9\u4e2d"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EscapePDFString(c.input), c.expected);
}

TEST(WideStringHelpers, CopyFindReplace)
{
    EXPECT_EQ(RightWideStr(u"abcdef", 2), u"ef");
    EXPECT_EQ(RightWideStr(u"ab", 5), u"ab");
    EXPECT_EQ(CopyWideStr(u"abcdef", 2, 3), u"bcd");
    EXPECT_EQ(CopyWideStr(u"abc", 4, 1), u"");
    EXPECT_EQ(PosWideStr(u"b", u"abab", 1), 2);
    EXPECT_EQ(PosWideStr(u"b", u"abab", 3), 4);
    EXPECT_EQ(PosWideStr(u"x", u"abab", 1), 0);
    EXPECT_EQ(ReplaceAllText(u"Page [PAGE] of [page]", u"[Page]", u"3"), u"Page 3 of 3");
    EXPECT_EQ(ReplaceAllText(u"", u"a", u"b"), u"");
    EXPECT_EQ(ReplaceAllText(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(ReplaceAllText(u"aaa", u"a", u"aa"), u"aaaaaa");
}

TEST(GetTextSize, MeasuresLikeTheCanvases)
{
    TFont font;
    font.Name = "Arial";
    font.Size = 10;
    const TSize w = GetTextSize(u"W", font);
    const TSize ww = GetTextSize(u"WW", font);
    EXPECT_GT(w.cx, 0);
    EXPECT_EQ(ww.cx, 2 * w.cx);
    EXPECT_EQ(w.cy, MeasureFont(font).Height);
    EXPECT_EQ(GetTextSize(u"", font).cx, 0);
}

TEST(PixelPointConversions, RoundTripAtScreenResolution)
{
    EXPECT_DOUBLE_EQ(static_cast<double>(PixelsToPoints(ScreenPixelsPerInch)), 72.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(PointsToPixels(72)), ScreenPixelsPerInch);
    EXPECT_NEAR(DegToRad(180), 3.14159265358979, 1e-12);
    EXPECT_NEAR(RadToDeg(DegToRad(33)), 33, 1e-12);
}

} // namespace
} // namespace tessaran
