#include <charconv>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "Recording_Engine.h"
#include "platform/Pascal.h"

namespace tessaran {
namespace {

using Engine = RecordingEngine<>;

// Pages of 600 by 400 pixels with 20-pixel margins and no header or footer.
void SmallPages(Engine &engine)
{
    engine.SetMeasurementUnit(TdeUnitType::muPixels);
    engine.Preferences().SetProcessAfterEachPage(true);
    TdePageSettings &page = engine.Page();
    page.SetPaperSize(TdePaperSize::Custom);
    page.SetWidth(600);
    page.SetHeight(400);
    page.SetLeftMargin(20);
    page.SetRightMargin(20);
    page.SetTopMargin(20);
    page.SetBottomMargin(20);
}

WideString Words(int count)
{
    WideString text;
    for (int i = 0; i < count; ++i)
        text += Utf8ToUtf16("word" + std::to_string(i) + (i + 1 < count ? " " : ""));
    return text;
}

// The texts the render order handed out, by page.
std::map<int, std::vector<std::string>> TextsByPage(const std::vector<std::string> &log)
{
    std::map<int, std::vector<std::string>> pages;
    int page = 0;
    for (const auto &line : log) {
        if (line.rfind("begin page ", 0) == 0)
            page = std::stoi(line.substr(11));
        else if (line.rfind("text ", 0) == 0)
            pages[page].push_back(line.substr(5));
    }
    return pages;
}

std::string TextOf(const std::string &entry) { return entry.substr(0, entry.rfind('@')); }
// Positions in the log are written with "." whatever the locale.
double Number(const std::string &text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}
double XOf(const std::string &entry) { return Number(entry.substr(entry.rfind('@') + 1)); }
double YOf(const std::string &entry) { return Number(entry.substr(entry.rfind(',') + 1)); }

TEST(Paragraphs, ThreePagesWithAndWithoutAutoPaginate)
{
    for (const bool paginate : {true, false}) {
        Engine engine;
        SmallPages(engine);
        engine.SetAutoPaginate(paginate);
        engine.Font().Size = 10;
        engine.BeginDoc();
        const double h = engine.GetTextExtent(u"W", engine.Font()).cy;
        const int perPage = static_cast<int>(360 / h);
        // About two and a half pages of lines.
        WideString text;
        for (int n = 10;; n += 10) {
            text = Words(n);
            TWideStrings lines;
            engine.SplitWideTextToWidth(text, lines, engine.Font(), false, 560, 560);
            if (lines.Count() * 2 >= perPage * 5)
                break;
        }
        engine.BeginPara();
        // The room left below the text on its last page.
        EXPECT_GT(engine.TextOut(text), 0);
        engine.EndPara();
        EXPECT_EQ(engine.CurrentPage(), paginate ? 3 : 1);
        if (paginate) {
            EXPECT_GT(engine.CurrentOffsetY(), 0);
        }
        engine.EndDoc();

        const auto pages = TextsByPage(engine.Log);
        std::string joined;
        for (const auto &[page, texts] : pages)
            for (const auto &entry : texts) {
                joined += TextOf(entry);
                EXPECT_LT(YOf(entry) + h, 400 - 20 + 0.001) << entry;
            }
        if (paginate) {
            EXPECT_EQ(pages.size(), 3u);
            EXPECT_EQ(joined, Utf16ToUtf8(text));
        } else {
            EXPECT_EQ(pages.size(), 1u);
            EXPECT_LE(static_cast<int>(pages.at(1).size()), perPage);
            EXPECT_EQ(Utf16ToUtf8(text).rfind(joined, 0), 0u);
        }
    }
}

TEST(Paragraphs, OffsetsAlignmentAndBounds)
{
    Engine engine;
    SmallPages(engine);
    engine.Font().Size = 10;
    engine.BeginDoc();
    const double h = engine.GetTextExtent(u"W", engine.Font()).cy;
    TdeTextFormatting format;
    format.SetBeforeSpace(7);
    format.Alignment = TdeHAlignment::haRight;
    engine.SetTextFormatting(format);
    engine.BeginPara();
    const double left = engine.TextOut(u"short");
    EXPECT_DOUBLE_EQ(left, 360 - 7 - h);
    engine.EndPara();
    EXPECT_DOUBLE_EQ(engine.CurrentOffsetY(), 7 + h);
    engine.BeginPara();
    engine.TextOut(u"second");
    engine.EndPara();
    EXPECT_DOUBLE_EQ(engine.CurrentOffsetY(), 14 + 2 * h);
    engine.NewPage();
    const auto texts = TextsByPage(engine.Log).at(1);
    ASSERT_EQ(texts.size(), 2u);
    // Right-aligned lines end at the band's right edge.
    const double x = XOf(texts[1]);
    EXPECT_DOUBLE_EQ(x + engine.GetTextExtent(u"second", engine.Font()).cx, 580);
    EXPECT_DOUBLE_EQ(YOf(texts[1]), 20 + 14 + h);

    // Zero line spacing and a line taller than the band end.
    format.Alignment = TdeHAlignment::haLeft;
    format.LineSpacing = 0;
    format.SetBeforeSpace(0);
    engine.SetTextFormatting(format);
    engine.BeginPara();
    engine.TextOut(Words(200));
    engine.EndPara();
    format.LineSpacing = 1;
    engine.SetTextFormatting(format);
    engine.Font().Size = 400;
    engine.BeginPara();
    engine.TextOut(u"huge words here");
    engine.EndPara();
    // One page per line at most.
    EXPECT_LT(engine.CurrentPage(), 30);
    engine.EndDoc();
}

TEST(Paragraphs, FooterDropsWhatDoesNotFit)
{
    Engine engine;
    SmallPages(engine);
    engine.Page().SetFooterHeight(30);
    engine.Font().Size = 10;
    engine.BeginDoc();
    engine.BeginFooter();
    engine.BeginPara();
    EXPECT_EQ(engine.TextOut(Words(400)), -1);
    engine.EndPara();
    engine.EndFooter();
    EXPECT_EQ(engine.CurrentPage(), 1);
    engine.EndDoc();
}

struct Tables : ::testing::Test {
    Engine engine;
    double h = 0;
    void SetUp() override
    {
        SmallPages(engine);
        engine.Page().SetHeight(760);
        engine.Page().SetHeaderHeight(15);
        engine.Font().Size = 10;
        TdeTableSettings settings;
        settings.SetColumnWidth(100);
        settings.SetRowHeight(20);
        settings.SetTitleHeight(25);
        settings.EnableTitle = true;
        settings.SetInternalMargin(TdeRect{2, 2, 2, 2});
        engine.SetTableSettings(settings);
        engine.BeginDoc();
        h = engine.GetTextExtent(u"W", engine.Font()).cy;
    }
    void Table(int rows, const std::string &name)
    {
        auto *columns = engine.BeginTable(0, 0, 2);
        ASSERT_NE(columns, nullptr);
        (*columns)[0].Title = u"Name";
        (*columns)[1].Title = u"Value";
        for (int r = 0; r < rows; ++r) {
            engine.NewRow();
            engine.TextOut(0, Utf8ToUtf16(name + std::to_string(r)));
            engine.TextOut(1, u"v");
        }
        engine.EndTable();
    }
};

TEST_F(Tables, HundredRowsOverThreePages)
{
    auto *columns = engine.BeginTable(0, 0, 3);
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->size(), 3u);
    EXPECT_EQ((*columns)[1].Width, 100);
    engine.EndTable();
    engine.NewPage();

    Table(100, "r");
    ASSERT_EQ(engine.RowsOnPage().size(), 2u);
    const std::vector<int> &counts = engine.RowsOnPage()[1];
    ASSERT_EQ(counts.size(), 5u);
    EXPECT_EQ(counts[0], 2);
    EXPECT_EQ(counts[1] + counts[2] + counts[3], 100);
    EXPECT_EQ(counts[4], 0);
    EXPECT_EQ(engine.CurrentPage(), 4);
    engine.EndDoc();

    const auto pages = TextsByPage(engine.Log);
    std::vector<std::string> names;
    int titles = 0;
    for (const auto &[page, texts] : pages)
        for (const auto &entry : texts) {
            const std::string text = TextOf(entry);
            if (text == "Name") {
                ++titles;
                EXPECT_EQ(page, 2);
            } else if (text[0] == 'r') {
                names.push_back(text);
            }
        }
    EXPECT_EQ(titles, 1);
    ASSERT_EQ(names.size(), 100u);
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(names[static_cast<std::size_t>(r)], "r" + std::to_string(r));
    // Later pages start at the top margin plus the header, inside the cell margin.
    for (const int page : {3, 4})
        EXPECT_DOUBLE_EQ(YOf(pages.at(page).front()), 20 + 15 + 2) << page;
    EXPECT_TRUE(engine.TableOnLastpage()[1]);
}

TEST_F(Tables, CellTextGrowsItsRowOrItsColumn)
{
    auto *columns = engine.BeginTable(0, 0, 2);
    ASSERT_NE(columns, nullptr);
    const double first = engine.NewRow();
    engine.TextOut(0, Words(12));
    engine.TextOut(0, u"second text of the same cell");
    engine.TextOut(5, u"no such column");
    const double second = engine.NewRow();
    // The grown row counts in full.
    EXPECT_GT(first - second, 20);
    engine.TextOut(0, u"next");
    engine.EndTable();
    engine.EndDoc();
    std::vector<double> wordY;
    double nextY = 0;
    for (const auto &[page, texts] : TextsByPage(engine.Log))
        for (const auto &entry : texts) {
            if (TextOf(entry).rfind("word", 0) == 0)
                wordY.push_back(YOf(entry));
            if (TextOf(entry) == "next")
                nextY = YOf(entry);
        }
    // Twelve words in a 96-pixel cell need several lines, all drawn, and
    // the next row starts below them and the cell margins.
    ASSERT_GT(wordY.size(), 2u);
    EXPECT_DOUBLE_EQ(nextY - wordY.front(), Round(wordY.size() * h) + 4);
    EXPECT_EQ(std::string::npos, engine.Joined().find("second text"));

    Engine wide;
    SmallPages(wide);
    TdeTableSettings settings;
    settings.SetColumnWidth(30);
    settings.AutoAdjustColumnWidth = true;
    wide.SetTableSettings(settings);
    wide.BeginDoc();
    auto *cols = wide.BeginTable(0, 0, 1);
    wide.NewRow();
    wide.TextOut(0, u"a rather long single line");
    EXPECT_GT((*cols)[0].Width, 30);
    wide.EndTable();
    wide.EndDoc();
}

TEST_F(Tables, WithoutAutoPaginateTheTableIsPlacedOnce)
{
    engine.SetAutoPaginate(false);
    Table(40, "r");
    EXPECT_EQ(engine.CurrentPage(), 1);
    int placements = 0;
    for (const auto &item : engine.CurrentPageItem()->DocumentItems)
        placements += dynamic_cast<TdeTablePlacement *>(item.get()) != nullptr;
    EXPECT_EQ(placements, 1);
    engine.EndDoc();
    int titles = 0;
    const auto pages = TextsByPage(engine.Log);
    for (const auto &entry : pages.at(1))
        titles += TextOf(entry) == "Name";
    EXPECT_EQ(titles, 1);
}

TEST_F(Tables, SkippedPagesDoNotMixTables)
{
    engine.SetPagesToRender("3");
    Table(50, "a"); // pages 1 and 2
    engine.NewPage();
    Table(3, "b"); // page 3
    engine.EndDoc();
    const auto pages = TextsByPage(engine.Log);
    ASSERT_EQ(pages.size(), 1u);
    std::vector<std::string> cells;
    for (const auto &entry : pages.at(3))
        if (TextOf(entry) != "Name" && TextOf(entry) != "Value" && TextOf(entry) != "v")
            cells.push_back(TextOf(entry));
    EXPECT_EQ(cells, (std::vector<std::string>{"b0", "b1", "b2"}));
}

TEST_F(Tables, CellDrawEventRestylesCells)
{
    std::vector<int> rows;
    engine.OnCellDraw = [&](TdeCustomDocumentEngine *, int row, int column, TdePen &, TdeBrush &, TdeFont &,
                            TdeFrame &frame, TdeHAlignment &align) {
        rows.push_back(row);
        if (row == 0 && column == 0) {
            frame.IsLeft = false;
            align = TdeHAlignment::haRight;
        }
    };
    Table(1, "x");
    engine.Log.clear();
    engine.EndDoc();
    EXPECT_EQ(rows, (std::vector<int>{-1, -1, 0, 0}));
    int verticalAtLeft = 0;
    for (const auto &entry : engine.Log)
        verticalAtLeft += entry.rfind("line 20,", 0) == 0 && entry.find("-20,") != std::string::npos;
    // The title cell keeps its left line; the data cell lost it.
    EXPECT_EQ(verticalAtLeft, 1);
    const auto texts = TextsByPage(engine.Log).at(1);
    for (const auto &entry : texts)
        if (TextOf(entry) == "x0") {
            const double x = XOf(entry);
            EXPECT_DOUBLE_EQ(x + engine.GetTextExtent(u"x0", engine.Font()).cx, 20 + 100 - 2);
        }
}

} // namespace
} // namespace tessaran
