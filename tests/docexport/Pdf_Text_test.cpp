#include <array>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <fstream>
#include <regex>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Pdf_Test_Reader.h"
#include "docexport/Doc_Utils.h"
#include "docexport/Pdf_Engine.h"
#include "platform/Font_Engine.h"
#include "platform/Codepage1252.h"

namespace tessaran {
namespace {

namespace fs = std::filesystem;
using namespace pdftest;

// Numbers of the file and of the text reader use "." whatever the locale.
double Number(const std::string &text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

class PdfText : public ::testing::Test {
protected:
    PdfText()
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        folder = fs::temp_directory_path() /
                 ("tessaran_pdftext_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~PdfText() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }
    std::string Write(const std::string &name, const std::function<void()> &draw)
    {
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        draw();
        engine.EndDoc();
        const std::string path = (folder / (name + ".pdf")).string();
        if (HasTool("qpdf")) {
            std::string report;
            EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
        }
        return path;
    }
    static std::string Tool(const std::string &command)
    {
        std::string output;
        RunCommand(command, &output);
        return output;
    }
    static bool HasTools() { return HasTool("pdftotext") && HasTool("pdffonts") && HasTool("qpdf"); }

    TdeCustomPDFEngine engine;
    fs::path folder;
};

TEST_F(PdfText, ScriptsComeBackOutOfTheFile)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
    const struct {
        const char *text;
        const char *font;
        bool rightToLeft;
    } lines[] = {
        {"Latin 25 \u00B0C, 10\u00B3 m\u00B3, 5 \u00B5m, 20 \u20AC (net)", "Arial", false},
        {"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC \u03BA\u03B5\u03AF\u03BC\u03B5\u03BD\u03BF", "Arial", false},
        {"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645", "DejaVu Sans", true},
        {"\u4E2D\u6587\u6587\u672C", "Arial", false},
    };
    const std::string path = Write("scripts", [&] {
        double y = 40;
        for (const auto &line : lines) {
            engine.Font().Name = line.font;
            engine.Font().Size = 14;
            engine.SetBiDiMode(line.rightToLeft ? TBiDiMode::bdRightToLeft : TBiDiMode::bdLeftToRight);
            engine.TextOut(line.rightToLeft ? 500 : 40, y, Utf8ToUtf16(line.text));
            y += 40;
        }
        engine.SetBiDiMode(TBiDiMode::bdLeftToRight);
        engine.SetTextRotation(90);
        engine.TextOut(300, 600, u"Turned upright");
    });
    const std::string text = Tool("pdftotext '" + path + "' -");
    for (const auto &line : lines)
        EXPECT_NE(text.find(line.text), std::string::npos) << line.text << "\n---\n" << text;
    EXPECT_NE(text.find("Turned upright"), std::string::npos) << text;
    // Every font embedded as a subset under its own tag; glyph runs in CID fonts.
    std::istringstream fonts(Tool("pdffonts '" + path + "'"));
    std::string row;
    std::set<std::string> tags;
    int rows = 0, cid = 0;
    while (std::getline(fonts, row)) {
        if (row.size() < 10 || row[6] != '+')
            continue;
        ++rows;
        tags.insert(row.substr(0, 6));
        cid += row.find("CID TrueType") != std::string::npos;
        EXPECT_NE(row.find(" yes yes "), std::string::npos) << row;
    }
    EXPECT_GE(rows, 3);
    EXPECT_EQ(static_cast<int>(tags.size()), rows);
    EXPECT_GE(cid, 2);
}

TEST_F(PdfText, WithoutEmbeddingNoFontProgram)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfNone;
    engine.FontEmbedExcludeList() = {"Verdana"};
    const std::string path = Write("plain", [&] {
        engine.TextOut(40, 40, u"Plain (text) \u00B5");
        engine.Font().Style.Include(TFontStyle::fsBold);
        engine.TextOut(40, 80, u"\u0394p bold");
    });
    const std::string list = Tool("pdffonts '" + path + "'");
    // Neither embedded nor subset: "no  no" in every font row.
    std::istringstream rows(list);
    int fonts = 0;
    for (std::string row; std::getline(rows, row);)
        if (row.find("TrueType") != std::string::npos) {
            ++fonts;
            EXPECT_NE(row.find(" no  no "), std::string::npos) << row;
        }
    EXPECT_EQ(fonts, 3) << list; // plain Arial, and bold Arial as WinAnsi and as CID font
    EXPECT_EQ(list.find('+'), std::string::npos) << list;
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(pdf.find("/FontFile2"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont/Arial,Bold"), std::string::npos);
    const std::string text = Tool("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("Plain (text) \u00B5"), std::string::npos) << text;
    EXPECT_NE(text.find("\u0394p bold"), std::string::npos) << text;
}

// The font programs of a file, read by an independent font library.
TEST_F(PdfText, EmbeddedFontProgramsLoadInAFontLibrary)
{
    if (!HasTools() || RunCommand("/usr/bin/python3 -c 'import fontTools'") != 0)
        GTEST_SKIP() << "qpdf or python3-fonttools missing";
    const std::u16string deep = u"\u01D5\u01D6\u01D7\u01D8\u01DE\u022A"; // composites of composites
    for (const auto embedding : {TdeTTFontEmbedding::etfSubset, TdeTTFontEmbedding::etfFull}) {
        engine.Compression().Enabled = false;
        engine.Preferences().EmbedTrueTypeFonts = embedding;
        const std::string name = embedding == TdeTTFontEmbedding::etfSubset ? "subset" : "full";
        const std::string path = Write(name, [&] {
            engine.Font().Name = "DejaVu Sans";
            engine.TextOut(40, 40, u"Glyphs " + deep);
            engine.Font().Name = "Arial";
            engine.TextOut(40, 80, u"Caf\u00E9 na\u00EFve");
        });
        std::ifstream in(path, std::ios::binary);
        const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::regex program("/FontFile2 ([0-9]+) 0 R");
        int programs = 0;
        for (std::sregex_iterator m(pdf.begin(), pdf.end(), program), end; m != end; ++m) {
            ++programs;
            const std::string font = (folder / (name + (*m)[1].str() + ".ttf")).string();
            ASSERT_EQ(RunCommand("qpdf --show-object=" + (*m)[1].str() + " --filtered-stream-data '" + path + "' > '" +
                                 font + "'"),
                      0);
            // Checksums checked; glyph count as in the installed face; every
            // used glyph keeps its outline and every component, at any depth, is there.
            const std::string script =
                "import sys\n"
                "from fontTools.ttLib import TTFont\n"
                "from fontTools.ttLib.ttFont import TTFont as T\n"
                "sub = TTFont(sys.argv[1], checkChecksums=2)\n"
                "glyf = sub['glyf']\n"
                "names = sub.getGlyphOrder()\n"
                "src = None\n"
                "for path in sys.argv[2:]:\n"
                "    f = TTFont(path)\n"
                "    if f['maxp'].numGlyphs == sub['maxp'].numGlyphs: src = f\n"
                "assert src is not None, 'glyph count changed'\n"
                "cmap = src.getBestCmap()\n"
                "text = " + std::string("'Glyphs \\u01d5\\u01d6\\u01d7\\u01d8\\u01de\\u022a Caf\\u00e9 na\\u00efve'") + "\n"
                "used = [cmap[ord(c)] for c in text if ord(c) in cmap and c != ' ']\n"
                "present = [u for u in used if glyf[u].numberOfContours != 0]\n"
                "assert present, 'no used glyph in this font'\n"
                "for u in present:\n"
                "    assert glyf[u].numberOfContours == src['glyf'][u].numberOfContours, u\n"
                "def walk(g):\n"
                "    if glyf[g].isComposite():\n"
                "        for c in glyf[g].components:\n"
                "            assert glyf[c.glyphName].numberOfContours != 0, c.glyphName\n"
                "            walk(c.glyphName)\n"
                "for u in present: walk(u)\n"
                "print('ok', len(present))\n";
            std::ofstream(folder / "check.py") << script;
            const std::string sources = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf '" +
                                        FindFontFile("Arial", false, false).Path + "'";
            std::string report;
            EXPECT_EQ(RunCommand("/usr/bin/python3 '" + (folder / "check.py").string() + "' '" + font + "' " + sources,
                                 &report),
                      0)
                << name << ": " << report;
        }
        EXPECT_EQ(programs, 2) << name;
    }
}

TEST_F(PdfText, LinkRectangleCoversItsWords)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    engine.Compression().Enabled = false;
    engine.Font().Size = 12;
    const std::string path = Write("link", [&] {
        engine.TextOut(100, 100, u"Mail info@example.com or see www.example.com.");
        engine.SetTextRotation(90);
        engine.TextOut(300, 500, u"www.turned.example");
    });
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex rect("/Rect \\[([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+)\\]");
    std::vector<std::array<double, 4>> rects;
    for (std::sregex_iterator m(pdf.begin(), pdf.end(), rect), end; m != end; ++m)
        rects.push_back({Number((*m)[1]), Number((*m)[2]), Number((*m)[3]), Number((*m)[4])});
    ASSERT_EQ(rects.size(), 2u); // none for the turned line
    EXPECT_NE(pdf.find("/URI<" + StrToHex("mailto:info@example.com") + ">"), std::string::npos);
    EXPECT_NE(pdf.find("/URI<" + StrToHex("www.example.com.") + ">"), std::string::npos);

    // Word boxes from the text reader, in points from the top.
    const std::string boxes = Tool("pdftotext -bbox '" + path + "' -");
    const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
    std::map<std::string, std::array<double, 4>> words;
    for (std::sregex_iterator m(boxes.begin(), boxes.end(), word), end; m != end; ++m)
        words[(*m)[5]] = {Number((*m)[1]), Number((*m)[2]), Number((*m)[3]), Number((*m)[4])};
    const double pageHeight = 1123 * 72.0 / 96;
    const struct {
        const char *word;
        std::size_t rect;
    } links[] = {{"info@example.com", 0}, {"www.example.com.", 1}};
    for (const auto &link : links) {
        ASSERT_TRUE(words.count(link.word)) << boxes;
        const auto &w = words[link.word];
        const auto &r = rects[link.rect];
        const double top = std::max(r[1], r[3]), bottom = std::min(r[1], r[3]);
        EXPECT_NEAR(r[0], w[0], 1.5) << link.word;
        EXPECT_NEAR(r[2], w[2], 1.5) << link.word;
        EXPECT_LE(pageHeight - top, w[1] + 1) << link.word;
        EXPECT_GE(pageHeight - bottom, w[3] - 1) << link.word;
    }
}

TEST_F(PdfText, ParagraphAndTableComeOutInOrder)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    WideString paragraph;
    for (int i = 0; i < 900; ++i)
        paragraph += Utf8ToUtf16("w" + std::to_string(i) + " ");
    const std::string path = Write("layout", [&] {
        engine.Font().Size = 11;
        engine.BeginPara();
        engine.TextOut(paragraph);
        engine.EndPara();
        engine.NewPage();
        TdeTableSettings settings;
        settings.SetColumnWidth(150);
        settings.SetRowHeight(20);
        settings.SetTitleHeight(20);
        settings.EnableTitle = true;
        engine.SetTableSettings(settings);
        auto *columns = engine.BeginTable(0, 0, 2);
        (*columns)[0].Title = u"Row";
        (*columns)[1].Title = u"Value";
        for (int r = 0; r < 100; ++r) {
            engine.NewRow();
            engine.TextOut(0, Utf8ToUtf16("row" + std::to_string(r)));
            engine.TextOut(1, Utf8ToUtf16(std::to_string(r * 7)));
        }
        engine.EndTable();
    });
    std::istringstream text(Tool("pdftotext '" + path + "' -"));
    std::vector<std::string> tokens;
    for (std::string token; text >> token;)
        tokens.push_back(token);
    std::vector<std::string> words, rows;
    for (const auto &token : tokens) {
        if (token.size() > 1 && token[0] == 'w' && std::isdigit(static_cast<unsigned char>(token[1])))
            words.push_back(token);
        if (token.rfind("row", 0) == 0)
            rows.push_back(token);
    }
    ASSERT_EQ(words.size(), 900u);
    for (int i = 0; i < 900; ++i)
        EXPECT_EQ(words[static_cast<std::size_t>(i)], "w" + std::to_string(i));
    ASSERT_EQ(rows.size(), 100u);
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(rows[static_cast<std::size_t>(r)], "row" + std::to_string(r));
    EXPECT_EQ(std::count(tokens.begin(), tokens.end(), "Value"), 1);
}

// The words of each page as the text reader finds them, in points from the
// page's top-left corner.
struct PageWord {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

std::vector<std::vector<PageWord>> WordsByPage(const std::string &bbox)
{
    std::vector<std::vector<PageWord>> pages;
    const std::regex word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                          "yMax=\"([0-9.]+)\">([^<]*)</word>");
    std::size_t at = bbox.find("<page ");
    while (at != std::string::npos) {
        const std::size_t next = bbox.find("<page ", at + 1);
        const std::string page = bbox.substr(at, next == std::string::npos ? std::string::npos : next - at);
        pages.emplace_back();
        for (std::sregex_iterator m(page.begin(), page.end(), word), end; m != end; ++m)
            pages.back().push_back({Number((*m)[1]), Number((*m)[2]), Number((*m)[3]), Number((*m)[4]), (*m)[5]});
        at = next;
    }
    return pages;
}

// A page's words laid into line slots of the given height, counted from the
// first line: a blank line leaves its slot empty.
struct SlotLine {
    std::vector<PageWord> words;
    std::string Joined() const // without blanks: letter spacing splits a word
    {
        std::string text;
        for (const PageWord &w : words)
            text += w.text;
        return text;
    }
    double Left() const { return words.front().xMin; }
    double Right() const { return words.back().xMax; }
};

std::vector<SlotLine> Slots(std::vector<PageWord> words, double lineHeight)
{
    std::vector<SlotLine> slots;
    if (words.empty())
        return slots;
    std::sort(words.begin(), words.end(), [](const PageWord &a, const PageWord &b) {
        return std::abs(a.yMin - b.yMin) > 1 ? a.yMin < b.yMin : a.xMin < b.xMin;
    });
    const double top = words.front().yMin;
    for (const PageWord &w : words) {
        const auto slot = static_cast<std::size_t>(std::lround((w.yMin - top) / lineHeight));
        if (slots.size() <= slot)
            slots.resize(slot + 1);
        slots[slot].words.push_back(w);
    }
    return slots;
}

// A box's lines that end in a line break are written like the others, in
// order, keep a blank line's room, and follow the box's alignment.
TEST_F(PdfText, BoxLinesThatEndInALineBreakAreWritten)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    engine.Font().Size = 12;
    std::string paragraph;
    std::vector<std::string> paragraphWords;
    for (int i = 0; i < 40; ++i) {
        paragraphWords.push_back("w" + std::to_string(i));
        paragraph += (i ? " " : "") + paragraphWords.back();
    }
    const WideString text = u"Notes:\rfirst line\nsecond line\r\nthird line\r\n\r\nafter a blank line\r\n" +
                            Utf8ToUtf16(paragraph) + u"\rlast";
    const double boxLeft = 40, boxTop = 30, boxWidth = 300;
    const TdeHAlignment alignments[] = {TdeHAlignment::haLeft, TdeHAlignment::haCenter, TdeHAlignment::haRight,
                                        TdeHAlignment::haJustify};
    const std::string path = Write("box", [&] {
        for (std::size_t k = 0; k < std::size(alignments); ++k) {
            if (k)
                engine.NewPage();
            engine.TextBox(MakeDocRect(boxLeft, boxTop, boxLeft + boxWidth, boxTop + 600), text, alignments[k],
                           TdeVAlignment::vaTop);
        }
    });
    const auto pages = WordsByPage(Tool("pdftotext -bbox '" + path + "' -"));
    ASSERT_EQ(pages.size(), std::size(alignments));
    const double pt = 72.0 / 96;
    const double lineHeight = engine.TextHeight(u"W") * pt;
    const double blank = engine.TextWidth(u" ") * pt;
    double left = 0; // the box's left edge on the page, from the left-aligned box
    for (std::size_t k = 0; k < pages.size(); ++k) {
        SCOPED_TRACE("alignment " + std::to_string(k));
        const std::vector<SlotLine> lines = Slots(pages[k], lineHeight);
        ASSERT_GE(lines.size(), 9u);
        const char *fixed[] = {"Notes:", "firstline", "secondline", "thirdline", "", "afterablankline"};
        for (std::size_t i = 0; i < std::size(fixed); ++i)
            EXPECT_EQ(lines[i].Joined(), fixed[i]) << "line " << i;
        EXPECT_EQ(lines.back().Joined(), "last");
        // The paragraph wraps over several full lines and loses no word.
        std::vector<std::string> found;
        for (std::size_t i = std::size(fixed); i + 1 < lines.size(); ++i) {
            ASSERT_FALSE(lines[i].words.empty()) << "line " << i;
            for (const PageWord &w : lines[i].words)
                found.push_back(w.text);
        }
        EXPECT_GE(lines.size() - std::size(fixed) - 1, 3u);
        EXPECT_EQ(found, paragraphWords);

        if (k == 0)
            left = lines[0].Left();
        const double right = left + boxWidth * pt;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].words.empty())
                continue;
            const bool last = i + 1 == lines.size();
            // A wrapped line keeps the blank it broke at, which is measured;
            // widths are whole pixels.
            switch (alignments[k]) {
            case TdeHAlignment::haLeft: EXPECT_NEAR(lines[i].Left(), left, 1) << i; break;
            case TdeHAlignment::haCenter:
                EXPECT_NEAR((lines[i].Left() + lines[i].Right()) / 2, (left + right) / 2, blank / 2 + 2) << i;
                break;
            case TdeHAlignment::haRight:
                EXPECT_LE(lines[i].Right(), right + 1) << i;
                EXPECT_GE(lines[i].Right(), right - blank - 2) << i;
                break;
            default:
                EXPECT_NEAR(lines[i].Left(), left, 1) << i;
                if (!last) {
                    EXPECT_GE(lines[i].Right(), right - 2 * blank - 2) << i;
                }
                break;
            }
        }
    }
}

// Only the lines that fit the box are written, the first ones, also when
// they end in line breaks; paragraphs and table cells keep their lines too.
TEST_F(PdfText, BrokenLinesInBoxesParagraphsAndCells)
{
    if (!HasTools())
        GTEST_SKIP() << "poppler-utils or qpdf missing";
    engine.Font().Size = 12;
    const double lineHeight = engine.TextHeight(u"W");
    const std::string path = Write("broken", [&] {
        // Room for three lines (3.4 rounds down), no frame margins.
        engine.TextBox(MakeDocRect(40, 30, 400, 30 + 3.4 * lineHeight), u"one\rtwo\r\nthree\nfour\rfive",
                       TdeHAlignment::haLeft, TdeVAlignment::vaTop);
        engine.NewPage();
        engine.TextFormatting().Alignment = TdeHAlignment::haJustify;
        engine.TextFormatting().SetRightIndent(400);
        engine.BeginPara();
        engine.TextOut(u"log one\r\nlog two\r\nsolitary\r\nlog three");
        engine.EndPara();
        engine.NewPage();
        TdeTableSettings settings;
        settings.SetColumnWidth(200);
        settings.SetRowHeight(5 * lineHeight);
        settings.EnableTitle = false;
        engine.SetTableSettings(settings);
        engine.BeginTable(0, 0, 1);
        engine.NewRow();
        engine.TextOut(0, u"cell one\r\ncell two\r\ncell three");
        engine.EndTable();
    });
    const auto pages = WordsByPage(Tool("pdftotext -bbox '" + path + "' -"));
    ASSERT_EQ(pages.size(), 3u);
    const std::vector<std::vector<std::string>> expected = {
        {"one", "two", "three"}, {"logone", "logtwo", "solitary", "logthree"}, {"cellone", "celltwo", "cellthree"}};
    for (std::size_t k = 0; k < pages.size(); ++k) {
        std::vector<std::string> joined;
        for (const SlotLine &line : Slots(pages[k], lineHeight * 72 / 96))
            joined.push_back(line.Joined());
        EXPECT_EQ(joined, expected[k]) << "page " << k + 1;
    }
}

} // namespace
} // namespace tessaran
