#include <random>

#include <gtest/gtest.h>

#include "Recording_Engine.h"
#include "docexport/Text_Utils.h"

namespace tessaran {
namespace {

using Engine = RecordingEngine<>;

TFont Font(int size = 10)
{
    TFont font;
    font.Size = size;
    return font;
}

int Width(const WideString &text, const TFont &font = Font()) { return GetTextSize(text, font).cx; }

TEST(TextUtils, SmallRoutines)
{
    EXPECT_EQ(ReverseString(u"abc"), u"cba");
    EXPECT_EQ(StripTrailingCRLF(std::string("ab\r\n")), "ab");
    EXPECT_EQ(StripTrailingCRLF(std::string("ab\n")), "ab\n");
    EXPECT_EQ(StripTrailingCRLF(std::string("\n")), "\n");
    const struct {
        const char16_t *text;
        int end;
    } paths[] = {
        {u"open c:\\dir\\file.txt now", 21},
        {u"open c:\\dir\\file now", 0},
        {u"c:\\dir\\file.txt", 16},
        {u"no path.txt here", 0},
        {u"c:\\a\\b.c|d", 9},
    };
    for (const auto &c : paths)
        EXPECT_EQ(FindFilePathEnd(c.text), c.end) << Utf16ToUtf8(c.text);
}

TEST(TextUtils, JustifyLineSendsTheRemainderToTheEnd)
{
    const TFont font = Font();
    const int blank = Width(u" ");
    // Room for five extra blanks over two gaps: 2 then 3.
    EXPECT_EQ(JustifyLine(u"aa bb cc", font, Width(u"aa bb cc") + 5 * blank + blank / 2), u"aa   bb    cc");
    // A single word is spaced letter by letter.
    EXPECT_EQ(JustifyLine(u"abc", font, Width(u"abc") + 4 * blank), u"a  b  c");
    EXPECT_EQ(JustifyLine(u"aa bb", font, Width(u"aa bb") - 3 * blank), u"aa bb");
    EXPECT_EQ(JustifyLine(u"", font, 100), u"");
    // A line that ends in a line break keeps the break whole at its end.
    EXPECT_EQ(JustifyLine(u"abc\r\n", font, Width(u"abc") + 4 * blank), u"a  b  c\r\n");
    EXPECT_EQ(JustifyLine(u"aa bb cc\r\n", font, Width(u"aa bb cc") + 5 * blank + blank / 2),
              u"aa   bb    cc\r\n");
    EXPECT_EQ(JustifyLine(u"\r\n", font, 100), u"\r\n");
}

TEST(TextUtils, HyperlinksInText)
{
    const struct {
        const char16_t *text;
        int start; // 0: none found
        const char16_t *link;
    } cases[] = {
        {u"Write to john.doe@mail.example.com today", 10, u"john.doe@mail.example.com"},
        {u"See www.example.com.", 5, u"www.example.com."},
        {u"Open C:\\Data\\net.trz now", 6, u"C:\\Data\\net.trz"},
        {u"Ask me@home and www", 0, u""},
        {u"Nothing to see", 0, u""},
        {u"Go to https://x.org/a?b=1 (soon)", 7, u"https://x.org/a?b=1"},
    };
    for (const auto &c : cases) {
        int start = 0;
        WideString link = u"old";
        FindNextHyperlink(c.text, start, link);
        EXPECT_EQ(start, c.start) << Utf16ToUtf8(c.text);
        EXPECT_EQ(link, c.link) << Utf16ToUtf8(c.text);
    }
}

TEST(TextMeasure, ExtentsOfEmptyAndWideTexts)
{
    Engine engine;
    const TFont font = Font();
    const TSize blank = engine.GetTextExtent(u" ", font);
    EXPECT_EQ(engine.GetTextExtent(u"", font).cx, 1);
    EXPECT_EQ(engine.GetTextExtent(u"", font).cy, blank.cy);
    EXPECT_EQ(engine.GetAnsiTextExtent("", font).cx, 1);
    EXPECT_EQ(engine.GetTextExtent(u"ab\r\n", font).cx, engine.GetTextExtent(u"ab", font).cx);
    // Greek measures as Greek, not as question marks.
    EXPECT_NE(engine.GetTextExtent(u"\u03A9\u03A9\u03A9\u03A9", font).cx, engine.GetTextExtent(u"????", font).cx);
    EXPECT_EQ(engine.GetAnsiTextExtent("\x80", font).cx, engine.GetTextExtent(u"\u20AC", font).cx);

    engine.Font().Size = 10;
    EXPECT_EQ(engine.TextWidth(u""), 0);
    EXPECT_DOUBLE_EQ(engine.TextHeight(u""), blank.cy / 96.0);
    EXPECT_DOUBLE_EQ(engine.TextWidth(u"abc"), engine.GetTextExtent(u"abc", font).cx / 96.0);
}

// Words of random length, blanks and hard breaks.
WideString RandomText(std::mt19937 &random)
{
    static const char16_t letters[] = u"abcdefghijklmnopqrstuvwxyzMW\u03B1\u03A9\u00E9";
    std::uniform_int_distribution<int> words(1, 40), length(1, 14), letter(0, 30), kind(0, 9);
    WideString text;
    const int n = words(random);
    for (int w = 0; w < n; ++w) {
        const int l = length(random) * (kind(random) == 0 ? 4 : 1);
        for (int i = 0; i < l; ++i)
            text += letters[letter(random)];
        if (w + 1 < n)
            text += kind(random) == 1 ? u"\r\n" : u" ";
    }
    return text;
}

TEST(WordWrap, RandomTextsFitAndJoinBack)
{
    Engine engine;
    const TFont font = Font(9);
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> widths(6, 300);
    for (int round = 0; round < 300; ++round) {
        const WideString text = RandomText(random);
        const double width = widths(random);
        TWideStrings lines;
        EXPECT_EQ(engine.SplitWideTextToWidth(text, lines, font, false, width, width), static_cast<int>(width));
        WideString joined;
        int hardBreaks = 0;
        for (int i = 0; i < lines.Count(); ++i) {
            // Only a character wider than the whole line may stand alone beyond it.
            if (StripTrailingCRLF(lines[i]).size() > 1) {
                EXPECT_LE(engine.GetTextExtent(lines[i], font).cx, width) << Utf16ToUtf8(lines[i]);
            }
            joined += lines[i];
            hardBreaks += lines[i].ends_with(u"\r\n") ? 1 : 0;
        }
        ASSERT_EQ(joined, text) << "width " << width;
        int pairs = 0;
        for (std::size_t p = text.find(u"\r\n"); p != WideString::npos; p = text.find(u"\r\n", p + 2))
            ++pairs;
        EXPECT_EQ(hardBreaks, pairs);
    }
}

TEST(WordWrap, HardBreaksLongWordsAndContinuation)
{
    Engine engine;
    const TFont font = Font();
    const double wide = 1000;
    std::vector<WideString> lines;
    // The line after a hard break has the whole width, whatever FirstWidth says.
    engine.SplitTextToWidth(u"first line\r\nsecond line", lines, font, false, Width(u"first ", font), wide);
    EXPECT_EQ(lines, (std::vector<WideString>{u"first ", u"line\r\n", u"second line"}));

    lines.clear();
    engine.SplitTextToWidth(u"ends in a break\r\n", lines, font, false, wide, wide);
    EXPECT_EQ(lines, (std::vector<WideString>{u"ends in a break\r\n"}));

    // New text continues the last line.
    lines = {u"start "};
    engine.SplitTextToWidth(u"more", lines, font, false, wide, wide);
    EXPECT_EQ(lines, (std::vector<WideString>{u"start more"}));

    // A word longer than the line is cut into pieces that fit.
    lines.clear();
    const double narrow = Width(u"MMMM", font);
    engine.SplitTextToWidth(u"MMMMMMMMMM ok", lines, font, false, narrow, narrow);
    EXPECT_EQ(lines, (std::vector<WideString>{u"MMMM", u"MMMM", u"MM ok"}));

    // A character wider than the line gets a line of its own and the text goes on.
    lines.clear();
    engine.SplitTextToWidth(u"MMM i", lines, font, false, 2, 2);
    ASSERT_GE(lines.size(), 3u);
    WideString joined;
    for (const auto &line : lines)
        joined += line;
    EXPECT_EQ(joined, u"MMM i");

    // Single-line mode: the text and a blank plus twice the pen width.
    engine.Pen().Width = 3;
    EXPECT_EQ(engine.SplitTextToWidth(u"abc", lines, font, true, 1, 1), Width(u"abc ", font) + 6);
    EXPECT_EQ(lines, (std::vector<WideString>{u"abc"}));
    // No width: the list is left alone.
    engine.SplitTextToWidth(u"x y", lines, font, false, 0, 0);
    EXPECT_EQ(lines, (std::vector<WideString>{u"abc"}));
}

TEST(Templates, ExpandsPagesDatesInformationAndVariables)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(false);
    engine.BeginDoc();
    engine.NewPage();
    engine.NewPage();
    engine.SetWorkingPage(2);
    engine.DocInfo().SetAuthor(u"Ann");
    EXPECT_EQ(engine.ExpandTemplates(u"Page <%pg#%> of <%PGCNT%> by <%Author%>", true), u"Page 2 of 3 by Ann");
    EXPECT_EQ(engine.ExpandTemplates(u"Page <%Pg#%>", false), u"Page <%Pg#%>");

    TdeDateTimeFormats formats;
    formats.ShortDate = "%Y";
    formats.LongTime = "T";
    SetUserDateTimeFormats(formats);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(engine.ExpandTemplates(u"<%ShortDate%>|<%LongTime%>", false),
              Utf8ToUtf16(std::to_string(local.tm_year + 1900) + "|T"));
    SetUserDateTimeFormats(TdeDateTimeFormats{});

    std::vector<WideString> asked;
    engine.OnCalcVariables = [&](TdeCustomDocumentEngine *, const WideString &name, WideString &value) {
        asked.push_back(name);
        if (name == u"Name")
            value = u"Pump <%Unit%>";
        else if (name == u"Unit")
            value = u"P1";
        else if (name == u"Self")
            value = u"ab<%Self%>";
    };
    EXPECT_EQ(engine.ExpandTemplates(u"<%Name%>, <%Empty%>!<%%>", false), u"Pump P1, !<%%>");
    EXPECT_EQ(asked, (std::vector<WideString>{u"Name", u"Unit", u"Empty"}));
    // A value that holds its own variable ends.
    const WideString self = engine.ExpandTemplates(u"<%Self%>", false);
    EXPECT_TRUE(self.starts_with(u"ababab") && self.ends_with(u"<%Self%>")) << Utf16ToUtf8(self);

    engine.Preferences().SetCalculateVariables(false);
    EXPECT_EQ(engine.ExpandTemplates(u"<%Pg#%> <%Name%>", true), u"<%Pg#%> <%Name%>");
    engine.EndDoc();
}

TEST(TextLines, LinesThatFitTheBoxAndTheirPlaces)
{
    Engine engine;
    engine.BeginDoc();
    TdeTextItem item;
    item.Font.Assign(Font());
    item.X = 100;
    item.Y = 200;
    for (const char16_t *line : {u"one ", u"two ", u"three ", u"four ", u"five"})
        item.Lines.Add(line);
    const double h = engine.GetTextExtent(u"W", item.Font).cy;
    const struct {
        double lines;
        int shown;
    } heights[] = {{3.5, 4}, {2.5, 2}, {9, 5}, {0.4, 0}};
    for (const auto &c : heights) {
        engine.Log.clear();
        engine.RenderTextLines(item, TdeHAlignment::haLeft, TdeVAlignment::vaTop, 400, c.lines * h, TdeRect{});
        EXPECT_EQ(static_cast<int>(engine.Log.size()), c.shown) << c.lines;
    }
    // Bottom alignment with 2-pixel margins: the last line ends 2 pixels above the box bottom.
    engine.Log.clear();
    const double boxHeight = 10 * h;
    engine.RenderTextLines(item, TdeHAlignment::haLeft, TdeVAlignment::vaBottom, 400, boxHeight, TdeRect{2, 2, 2, 2});
    ASSERT_EQ(engine.Log.size(), 5u);
    EXPECT_EQ(engine.Log.back(), "text five@102," + FloatToPDFStr(200 + boxHeight - 2 - h));
    // Justified: every line but the last is widened.
    engine.Log.clear();
    engine.RenderTextLines(item, TdeHAlignment::haJustify, TdeVAlignment::vaTop, 400, 10 * h, TdeRect{});
    ASSERT_EQ(engine.Log.size(), 5u);
    EXPECT_NE(engine.Log[0].find("o  "), std::string::npos);
    EXPECT_EQ(engine.Log[4], "text five@100," + FloatToPDFStr(200 + 4 * h));
    engine.EndDoc();
}

TEST(TextLines, TransformTextReadsFromTheRight)
{
    Engine engine;
    EXPECT_EQ(engine.TransformText(u"\u05D0\u05D1 12"), u"12 \u05D1\u05D0");
    EXPECT_EQ(engine.TransformText(u"abc"), u"abc");
}

} // namespace
} // namespace tessaran
