#include <gtest/gtest.h>

#include "docexport/Pdf_Engine.h"
#include "platform/Codepage1252.h"

#include <regex>

namespace tessaran {
namespace {

TFont Face(const std::string &name, bool bold = false, bool italic = false)
{
    TFont font;
    font.Name = name;
    font.Size = 12;
    if (bold)
        font.Style.Include(TFontStyle::fsBold);
    if (italic)
        font.Style.Include(TFontStyle::fsItalic);
    return font;
}

TdeGlyphInfoList Glyphs(std::initializer_list<std::uint16_t> ids)
{
    TdeGlyphInfoList list;
    for (std::uint16_t id : ids) {
        TdeGlyphInfo glyph;
        glyph.ID = id;
        glyph.AdvWidth = 741; // 556 thousandths
        list.push_back(glyph);
    }
    return list;
}

TEST(PdfFont, NamesAndDictionaries)
{
    EXPECT_EQ(TdePDFFont(Face("Courier New", true, true), 7, false, false, true).BaseFont(), "CourierNew,BoldItalic");
    EXPECT_EQ(TdePDFFont(Face("Arial"), 7, false, false, true).BaseFont(), "Arial");
    EXPECT_EQ(TdeCustomPDFEngine::EscapeNameChars("a/b(c)<d>[e]{f}%"), "a#2Fb#28c#29#3Cd#3E#5Be#5D#7Bf#7D#25");

    TdePDFFont font(Face("Arial"), 7, true, true, true, "ABCDEF");
    font.AddUsedGlyphs(u"AB", Glyphs({36, 37}), {0, 1});
    font.AddUsedGlyphs(u"A", Glyphs({36}), {0});
    EXPECT_EQ(font.GetWidthsArray(), "36[556]37[556]");
    EXPECT_EQ(font.GetType0FontDictionary(3, "12 0 R", "13 0 R"),
              "/Type/Font/Subtype/Type0/Name/F3/BaseFont/ABCDEF+Arial/Encoding/Identity-H/ToUnicode 12 0 R"
              "/DescendantFonts [13 0 R]\r\n");
    font.SetIsIdentityH(false);
    EXPECT_NE(font.GetType0FontDictionary(3, "1", "2").find("/Encoding/Identity-V"), std::string::npos);
    const std::string cid = font.GetCIDFontDictionary("9 0 R", "(Adobe)", "(Identity)");
    EXPECT_EQ(cid.rfind("/Type/Font/Subtype/CIDFontType2/BaseFont/ABCDEF+Arial/FontDescriptor 9 0 R", 0), 0u);
    EXPECT_NE(cid.find("/W [36[556]37[556]]"), std::string::npos);
    EXPECT_NE(font.GetFontDescriptor("").find("/FontName/ABCDEF+Arial/Flags 32"), std::string::npos);
    EXPECT_EQ(font.GetFontDescriptor("").find("/FontFile2"), std::string::npos);
    EXPECT_NE(font.GetFontDescriptor("5 0 R").find("/FontFile2 5 0 R"), std::string::npos);

    // A fixed-pitch face: no widths array, its first width as default.
    TdePDFFont mono(Face("Courier New"), 8, true, false, true);
    mono.AddUsedGlyphs(u"x", Glyphs({90}), {0});
    const std::string fixed = mono.GetCIDFontDictionary("1 0 R", "a", "b");
    EXPECT_EQ(fixed.find("/W "), std::string::npos);
    EXPECT_NE(fixed.find("/DW 556/"), std::string::npos) << fixed;
}

TEST(PdfFont, ToUnicodeFollowsTheClustersInBlocksOfAHundred)
{
    TdePDFFont font(Face("DejaVu Sans"), 7, true, true, true);
    // One glyph made of two characters, as a ligature.
    font.AddUsedGlyphs(u"fi", Glyphs({500}), {0, 0});
    TdeGlyphInfoList many;
    TdeWordArray clusters;
    WideString text;
    for (std::uint16_t g = 0; g < 149; ++g) {
        many.push_back(Glyphs({static_cast<std::uint16_t>(1000 + g)})[0]);
        clusters.push_back(g);
        text += static_cast<char16_t>(u'a' + g % 26);
    }
    font.AddUsedGlyphs(text, many, clusters);
    TdeExtMemStream stream;
    font.GetCMap(stream);
    const std::string cmap(stream.Bytes().begin(), stream.Bytes().end());
    EXPECT_NE(cmap.find("<01F4><01F4><00660069>"), std::string::npos);
    EXPECT_NE(cmap.find("100 beginbfrange"), std::string::npos);
    EXPECT_NE(cmap.find("50 beginbfrange"), std::string::npos);
    EXPECT_NE(cmap.find("<01F4><047C>"), std::string::npos); // used glyph range
    EXPECT_EQ(cmap.substr(cmap.size() - 7), "end end");
}

TEST(PdfFont, WidthsOfTheCodePageCharacters)
{
    TdePDFFont font(Face("Arial"), 7, false, false, true);
    const auto &widths = font.FontInfo().FfiWidths;
    EXPECT_EQ(widths['A' - 32], 667);
    // 0x80 is the euro sign in code page 1252, not a control character.
    EXPECT_EQ(widths[0x80 - 32], 556);
    EXPECT_EQ(widths[0x93 - 32], 333);
}

// The engine with its item list open to the test.
class OpenEngine : public TdeCustomPDFEngine {
public:
    using TdeCustomPDFEngine::AddItem;
};

class PdfContent : public ::testing::Test {
protected:
    std::string Write(const std::function<void()> &draw)
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOutputToUserStream(true);
        engine.Compression().Enabled = false;
        engine.SetUserStream(&out);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        engine.BeginDoc();
        engine.Font().Size = 12;
        draw();
        engine.EndDoc();
        return std::string(out.Bytes().begin(), out.Bytes().end());
    }
    OpenEngine engine;
    TMemoryStream out;
};

TEST_F(PdfContent, TextBlocksOfCharacterAndGlyphRuns)
{
    const std::string pdf = Write([&] {
        engine.Brush().Style = TBrushStyle::bsClear;
        engine.TextOut(10, 10, u"Plain (x)");
        engine.TextEffects().TextRise = TdeTextRise::trSuperscript;
        engine.TextOut(10, 40, u"up");
        engine.TextEffects().TextRise = TdeTextRise::trNormal;
        engine.SetTextRotation(90);
        engine.TextOut(10, 70, u"turned www.example.com");
        engine.SetTextRotation(0);
        engine.TextOut(10, 100, u"\u03B1\u03B2");
    });
    EXPECT_NE(pdf.find(" q BT\r\n0 Tr\r\n0.0000 0.0000 0.0000 rg\r\n/F0 12 Tf\r\n"), std::string::npos);
    EXPECT_NE(pdf.find(" Td (Plain \\(x\\)) Tj\r\nET Q "), std::string::npos);
    EXPECT_NE(pdf.find("0 Tr 6.0000 Ts"), std::string::npos);
    EXPECT_NE(pdf.find("0.0000 1.0000 -1.0000 0.0000 "), std::string::npos);
    EXPECT_EQ(pdf.find("/Annot"), std::string::npos);
    const auto glyphs = pdf.find("> Tj");
    ASSERT_NE(glyphs, std::string::npos);
    EXPECT_EQ(pdf[glyphs - 9], '<');
}

TEST_F(PdfContent, MetafileAdvancesAndUnwritableText)
{
    std::vector<std::string> errors;
    engine.OnErrorMessage = [&](TdeBaseComponent *, const std::exception &e) { errors.push_back(e.what()); };
    const std::string pdf = Write([&] {
        auto item = std::make_unique<TdeTextItem>();
        item->X = 20;
        item->Y = 20;
        item->Lines.Add(u"abc");
        item->Font = engine.Font();
        item->Brush.Style = TBrushStyle::bsClear;
        item->IsFromMetafile = true;
        item->CharSpaceArray = {9, 9, 9};
        engine.AddItem(std::move(item));
        engine.TextOut(20, 60, u"ok");
        engine.TextOut(20, 90, u"\U00010FFF");
    });
    // One adjustment between every two characters.
    EXPECT_NE(pdf.find("[(a)"), std::string::npos);
    const auto shown = pdf.find("[(a)");
    const std::string array = pdf.substr(shown, pdf.find("] TJ", shown) - shown);
    EXPECT_NE(array.find(")-"), std::string::npos) << array;
    EXPECT_EQ(std::count(array.begin(), array.end(), '('), 3) << array;
    // A character no installed face has is reported, the rest still written.
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("No installed TrueType font"), std::string::npos);
    EXPECT_NE(pdf.find("(ok) Tj"), std::string::npos);
}

// Underline and strike-out are stroked lines under and through the text, in
// its colour; a solid brush fills the text's box behind it, a clear one not.
TEST_F(PdfContent, UnderlineStrikeOutAndBackground)
{
    const std::string pdf = Write([&] {
        engine.Brush().Style = TBrushStyle::bsClear;
        engine.TextOut(10, 10, u"plain");
        engine.Font().Style.Include(TFontStyle::fsUnderline);
        engine.TextOut(10, 40, u"under");
        engine.Font().Style.Include(TFontStyle::fsStrikeOut);
        engine.Font().Color = 0x0000FF; // red
        engine.Brush() = TdeBrush{0x00FFFF, TBrushStyle::bsSolid};
        engine.TextOut(10, 70, u"both");
    });
    // Stroked lines: colour, width, start and end.
    const std::regex stroke(R"(([0-9.]+) ([0-9.]+) ([0-9.]+) RG ([0-9.]+) w ([-0-9.]+) ([-0-9.]+) m ([-0-9.]+) ([-0-9.]+) l S)");
    std::vector<std::smatch> lines;
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), stroke); it != std::sregex_iterator(); ++it)
        lines.push_back(*it);
    ASSERT_EQ(lines.size(), 3u) << "one under \"under\", two on \"both\"";
    const auto number = [](const std::ssub_match &m) { return std::stod(m.str()); };
    for (const auto &line : lines) {
        EXPECT_GT(number(line[4]), 0.0) << line.str();
        EXPECT_EQ(number(line[6]), number(line[8])) << "level: " << line.str();
        EXPECT_GT(number(line[7]), number(line[5])) << "left to right: " << line.str();
    }
    EXPECT_EQ(lines[0][1].str() + lines[0][2].str() + lines[0][3].str(), "0.00000.00000.0000");
    EXPECT_EQ(lines[1][1].str() + lines[1][2].str() + lines[1][3].str(), "1.00000.00000.0000");
    // On "both" the strike-out lies above the underline (PDF y grows upwards).
    EXPECT_GT(number(lines[2][6]), number(lines[1][6]));
    // "under" is 30 pixels above "both" on the page.
    EXPECT_GT(number(lines[0][6]), number(lines[1][6]));
    // Only the solid brush filled a box behind its text.
    std::size_t fills = 0;
    for (auto at = pdf.find(" l  f"); at != std::string::npos; at = pdf.find(" l  f", at + 1))
        ++fills;
    EXPECT_EQ(fills, 1u);
}

TEST_F(PdfContent, LinksOncePerItemWhateverItsRuns)
{
    const std::string pdf = Write([&] { engine.TextOut(20, 20, u"\u03A9 see www.example.com"); });
    std::size_t links = 0;
    for (auto at = pdf.find("/Subtype/Link"); at != std::string::npos; at = pdf.find("/Subtype/Link", at + 1))
        ++links;
    EXPECT_EQ(links, 1u);
    EXPECT_NE(pdf.find("/Annots [ "), std::string::npos);
}

TEST_F(PdfContent, ExcludedFacesAreNeitherSubsetNorEmbedded)
{
    engine.Preferences().EmbedTrueTypeFonts = TdeTTFontEmbedding::etfSubset;
    engine.FontEmbedExcludeList() = {"Arial"};
    const std::string pdf = Write([&] {
        engine.TextOut(20, 20, u"plain");
        engine.Font().Name = "DejaVu Sans";
        engine.TextOut(20, 60, u"embedded");
    });
    EXPECT_NE(pdf.find("/BaseFont /Arial "), std::string::npos);
    EXPECT_NE(pdf.find("/FontName /Arial "), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /QTRSNC+DejaVuSans "), std::string::npos);
    std::size_t programs = 0;
    for (auto at = pdf.find("/FontFile2"); at != std::string::npos; at = pdf.find("/FontFile2", at + 1))
        ++programs;
    EXPECT_EQ(programs, 1u);
}

} // namespace
} // namespace tessaran
