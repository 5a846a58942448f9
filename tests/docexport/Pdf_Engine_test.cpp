#include "docexport/Pdf_Engine.h"
#include "docexport/Pdf_Paths.h"

#include "Pdf_Test_Reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <stdexcept>
#include <regex>

namespace tessaran {
namespace {

using namespace pdftest;
namespace fs = std::filesystem;

const std::string CRLF = "\r\n";

class PdfEngine : public ::testing::Test {
protected:
    PdfEngine()
    {
        engine.Preferences().SetShowSetupDialog(false);
        engine.Preferences().SetOpenAfterCreate(false);
        folder = fs::temp_directory_path() /
                 ("tessaran_pdf_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~PdfEngine() override
    {
        if (!std::getenv("TESSARAN_KEEP_TEST_FILES"))
            fs::remove_all(folder);
    }

    // Written into a memory stream instead of a file.
    std::string WriteToStream(const std::function<void()> &draw = {})
    {
        engine.Preferences().SetOutputToUserStream(true);
        engine.SetUserStream(&out);
        engine.BeginDoc();
        if (draw)
            draw();
        engine.EndDoc();
        return std::string(out.Bytes().begin(), out.Bytes().end());
    }

    // The checker accepts the bytes written to the memory stream.
    void ExpectCheckerAccepts(const std::string &pdf)
    {
        if (!HasTool("qpdf"))
            return;
        const std::string path = (folder / "stream.pdf").string();
        std::ofstream(path, std::ios::binary) << pdf;
        std::string report;
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
    }

    std::string WriteToFile(const std::string &name, const std::function<void()> &draw)
    {
        engine.SetFileName((folder / name).string());
        engine.BeginDoc();
        draw();
        engine.EndDoc();
        return (folder / (name + ".pdf")).string();
    }

    TdeCustomPDFEngine engine;
    TMemoryStream out;
    fs::path folder;
};

// Checks that every entry of the cross-reference table is in use and points
// at its own object, and that startxref points at the table.
void ExpectCrossReferencesPointAtTheirObjects(const std::string &pdf)
{
    const std::size_t startxref = pdf.rfind("startxref\r\n");
    ASSERT_NE(startxref, std::string::npos);
    const std::size_t xref = std::stoul(pdf.substr(startxref + 11));
    ASSERT_EQ(pdf.compare(xref, 6, "xref\r\n"), 0);
    std::istringstream table(pdf.substr(xref + 6));
    int first, count;
    table >> first >> count;
    ASSERT_EQ(first, 0);
    EXPECT_EQ(IntAfter(pdf, "/Size "), count);
    for (int n = 0; n < count; ++n) {
        std::string offset, generation, kind;
        table >> offset >> generation >> kind;
        if (n == 0) {
            EXPECT_EQ(offset + " " + generation + " " + kind, "0000000000 65535 f");
            continue;
        }
        ASSERT_EQ(kind, "n") << "object " << n << " was numbered but not written";
        const std::string header = std::to_string(n) + " 0 obj\r\n";
        EXPECT_EQ(pdf.compare(std::stoul(offset), header.size(), header), 0) << "object " << n;
    }
}

TEST_F(PdfEngine, OnePageEmptyDocumentByteByByte)
{
    engine.Compression().Enabled = false;
    const std::string pdf = WriteToStream();

    EXPECT_EQ(pdf.substr(0, 21), "%PDF-1.4\r\n%\xC3\xA2\xC3\xA3\xC3\x8F\xC3\x93\r\n");
    EXPECT_EQ(pdf.substr(21, 9), "6 0 obj\r\n"); // the page is the first object written
    EXPECT_EQ(ObjectText(pdf, 6), "<<\r\n/Type/Page/Parent 2 0 R/MediaBox [0 0 595.2744 841.8888]/Resources 5 0 R"
                                  "/Contents 7 0 R/Dur 1/Trans <</Type/Trans/D 1/S/R >>\r\n>>\r\n");
    // The prologue, the white page background, the page end.
    EXPECT_EQ(ObjectText(pdf, 7), "<<\r\n/Length 8 0 R\r\n>>\r\nstream\r\nq 1.0000 0 0 1.0000 0 0 cm\r\n"
                                  "\r\nq\r\n1.0000 1.0000 1.0000 rg n 0.0000 0.0000 595.2744 841.8888 re f \r\n\r\nQ "
                                  "\r\n\r\nQ\r\n\r\nendstream\r\n");
    EXPECT_EQ(ObjectText(pdf, 8), "109\r\n");
    EXPECT_NE(pdf.find("\r\n5 0 obj\r\n<<\r\n/ProcSet 4 0 R\r\n>>\r\nendobj\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("\r\n4 0 obj\r\n[/PDF /Text /ImageC]\r\nendobj\r\n"), std::string::npos);
    EXPECT_EQ(ObjectText(pdf, 2), "<<\r\n/Type/Pages/Count 1/Kids [6 0 R]\r\n>>\r\n");
    EXPECT_NE(pdf.find("xref\r\n0 9\r\n0000000000 65535 f\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("trailer\r\n<<\r\n/Root 1 0 R/Info 3 0 R/Size 9\r\n>>\r\nstartxref\r\n"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 7), "\r\n%%EOF");
    ExpectCrossReferencesPointAtTheirObjects(pdf);
    ExpectCheckerAccepts(pdf);
}

TEST_F(PdfEngine, CatalogAndInformationDictionary)
{
    // As the program sets the viewer preferences.
    engine.ViewerPreferences().CenterWindow = true;
    engine.ViewerPreferences().NonFullScreenPageMode = TdeNonFullScreenPageMode::nfspmUseThumbs;
    engine.DocInfo().SetAuthor(u"A");
    engine.DocInfo().SetTitle(u"  ");
    engine.DocInfo().SetSubject(u"\u00e9t\u00e9");
    const std::string pdf = WriteToStream();
    EXPECT_NE(pdf.find("1 0 obj\r\n<<\r\n/Type/Catalog/Pages 2 0 R/PageMode/UseNone/PageLayout/OneColumn"
                       "/ViewerPreferences <</CenterWindow true >>\r\n>>\r\nendobj\r\n"),
              std::string::npos);
    const std::string info = ObjectText(pdf, 3);
    // Dates as hexadecimal text of "D:yyyymmddhhnnss+hh'mm'".
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex("^<<\r\n/CreationDate <([0-9A-F]+)>/ModDate <([0-9A-F]+)>")));
    EXPECT_EQ(m[1], m[2]);
    std::string date;
    for (std::size_t i = 0; i < static_cast<std::size_t>(m[1].length()); i += 2)
        date += static_cast<char>(std::stoi(m[1].str().substr(i, 2), nullptr, 16));
    EXPECT_TRUE(std::regex_match(date, std::regex(R"(D:\d{14}[+-]\d\d'\d\d')"))) << date;
    EXPECT_NE(info.find("/Producer <FEFF"), std::string::npos);
    EXPECT_NE(info.find("/Author <FEFF0041>/Subject <FEFF00E9007400E9>\r\n>>"), std::string::npos);
    EXPECT_EQ(info.find("/Title"), std::string::npos); // blank values are left out
}

TEST(PdfEngineDefaults, CapabilitiesPreferencesAndImageFormats)
{
    TdeCustomPDFEngine engine;
    EXPECT_EQ(engine.Capabilities().Value(), 0x0787);
    EXPECT_EQ(engine.FileExtension(), "pdf");
    EXPECT_EQ(engine.FileDescription(), "PDF Files");
    EXPECT_EQ(engine.Preferences().EmbedTrueTypeFonts, TdeTTFontEmbedding::etfNone);
    EXPECT_TRUE(engine.Preferences().ApplyEmfCharSpacing);
    EXPECT_TRUE(engine.Preferences().ActiveHyperLinks);
    EXPECT_TRUE(engine.Compression().Enabled);
    EXPECT_EQ(engine.Compression().Level, TdeCompressionLevel::clMaxCompress);
    EXPECT_EQ(engine.FontEncoding(), TdePDFFontEncoding::feWinAnsiEncoding);
    struct Case {
        TdeOutputImageFormat format;
        bool supported;
    } cases[] = {
        {TdeOutputImageFormat::ifBMP, true},    {TdeOutputImageFormat::ifJPEG, true},
        {TdeOutputImageFormat::ifGIF, false},   {TdeOutputImageFormat::ifPNG, false},
        {TdeOutputImageFormat::ifMetafile, false}, {TdeOutputImageFormat::ifCCITT3, true},
        {TdeOutputImageFormat::ifCCITT4, true},
    };
    for (const Case &c : cases) {
        std::string message;
        EXPECT_EQ(engine.IsImageFormatSupported(c.format, message), c.supported);
        EXPECT_EQ(message, c.supported ? "" : "The PDF Engine does not support image format");
    }
}

TEST(PdfCreationTime, OffsetFromUtc)
{
    std::tm t{};
    t.tm_year = 116;
    t.tm_mon = 10;
    t.tm_mday = 1;
    t.tm_hour = 9;
    t.tm_min = 30;
    t.tm_sec = 15;
    struct Case {
        int bias;
        const char *text;
    } cases[] = {
        {-60, "D:20161101093015+01'00'"}, {300, "D:20161101093015-05'00'"}, {-330, "D:20161101093015+05'30'"},
        {210, "D:20161101093015-03'30'"}, {0, "D:20161101093015+00'00'"},   {30, "D:20161101093015-00'30'"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatCreationTime(t, c.bias), c.text);
}

// Every shape call, with solid, dashed and hatch pens and brushes, on two
// pages of 8 by 4 inches, and a third page with nothing on it.
void DrawShapes(TdeCustomPDFEngine &engine)
{
    engine.Pen().Width = 2;
    engine.Brush() = TdeBrush{0x0000FF, TBrushStyle::bsSolid}; // red
    engine.Rectangle(0.5, 0.5, 2.5, 1.5, true);
    engine.Brush() = TdeBrush{0xFF0000, TBrushStyle::bsSolid}; // blue
    engine.Ellipse(3, 0.5, 5, 1.5, true);
    engine.Brush() = TdeBrush{0x00A000, TBrushStyle::bsSolid}; // green
    engine.RoundRect(5.5, 0.5, 7.5, 1.5, 0.5, 0.5, true);
    engine.Pen().Style = TPenStyle::psDash;
    engine.Pen().Color = 0x808080;
    engine.Line(0.5, 2, 7.5, 2);
    engine.Pen().Style = TPenStyle::psSolid;
    engine.Pen().Color = clBlack;
    engine.Brush() = TdeBrush{0x00FFFF, TBrushStyle::bsSolid}; // yellow
    engine.Polygon({{0.5, 3.5}, {1.5, 2.5}, {2.5, 3.5}}, true);
    engine.PolyLine({{3, 3.5}, {3.5, 2.5}, {4, 3.5}, {4.5, 2.5}, {5, 3.5}});
    engine.PolyBezier({{5.5, 3.5}, {5.5, 2.3}, {7.5, 2.3}, {7.5, 3.5}});

    engine.NewPage();
    engine.Arc(0.5, 0.5, 2.5, 2.5, 2.5, 1.5, 1.5, 0.5);
    engine.Brush() = TdeBrush{0xFF0000, TBrushStyle::bsSolid};
    engine.Pie(3, 0.5, 5, 2.5, 5, 1.5, 4, 0.5, true);
    engine.Brush() = TdeBrush{0x0000FF, TBrushStyle::bsSolid};
    engine.Chord(5.5, 0.5, 7.5, 2.5, 7.5, 1.5, 5.5, 1.5, true);
    const TBrushStyle hatches[] = {TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsFDiagonal,
                                   TBrushStyle::bsBDiagonal,  TBrushStyle::bsCross,    TBrushStyle::bsDiagCross};
    double x = 0.5;
    for (TBrushStyle hatch : hatches) {
        engine.Brush() = TdeBrush{0x800000, hatch}; // navy lines
        engine.Rectangle(x, 2.8, x + 1, 3.6, true);
        x += 1.2;
    }
    engine.NewPage();
}

void UsePage8By4(TdeCustomPDFEngine &engine)
{
    engine.Page().SetPaperSize(TdePaperSize::Custom);
    engine.Page().SetWidth(8);
    engine.Page().SetHeight(4);
}

TEST_F(PdfEngine, ShapeDocumentsPassTheCheckerAtEveryCompressionSetting)
{
    if (!HasTool("qpdf"))
        GTEST_SKIP() << "qpdf is not installed";
    UsePage8By4(engine);
    struct Setting {
        const char *name;
        bool enabled;
        TdeCompressionLevel level;
        int flagByte; // second byte of the zlib header
    } settings[] = {
        {"off", false, TdeCompressionLevel::clMaxCompress, -1},
        {"fastest", true, TdeCompressionLevel::clFastest, 0x01},
        {"normal", true, TdeCompressionLevel::clNormal, 0x9C},
        {"max", true, TdeCompressionLevel::clMaxCompress, 0xDA},
    };
    for (const Setting &s : settings) {
        SCOPED_TRACE(s.name);
        engine.Compression().Enabled = s.enabled;
        engine.Compression().Level = s.level;
        const std::string path = WriteToFile(s.name, [&] { DrawShapes(engine); });
        std::string report;
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
        const std::string pdf = ReadFileText(path);
        ExpectCrossReferencesPointAtTheirObjects(pdf);
        const std::vector<std::string> pages = PageContents(pdf);
        ASSERT_EQ(pages.size(), 3u);
        for (const std::string &content : pages)
            EXPECT_TRUE(SavesAndRestoresBalance(content)) << content;
        // Six hatch patterns, one object each, whatever the number of uses.
        EXPECT_NE(ObjectText(pdf, 5).find("/Pattern <</PH "), std::string::npos);
        const int contents = IntAfter(ObjectText(pdf, 6), "/Contents ");
        const std::string stream = ObjectText(pdf, contents);
        if (s.enabled) {
            EXPECT_NE(stream.find("/Filter /FlateDecode"), std::string::npos);
            const std::size_t data = stream.find("stream\r\n") + 8;
            EXPECT_EQ(static_cast<unsigned char>(stream[data]), 0x78);
            EXPECT_EQ(static_cast<unsigned char>(stream[data + 1]), s.flagByte);
        } else {
            // The length object holds the exact size of the content, page end included.
            EXPECT_EQ(stream.find("/Filter"), std::string::npos);
            const int length = std::stoi(ObjectText(pdf, IntAfter(stream, "/Length ")));
            EXPECT_EQ(static_cast<std::size_t>(length), pages[0].size());
            EXPECT_EQ(pages[0].substr(pages[0].size() - 7), "\r\n\r\nQ\r\n");
        }
    }
}

// Rendered pages against reference images of the same shapes, made once
// from this writer's output and checked by eye.
TEST_F(PdfEngine, RenderedPagesMatchTheReferenceImages)
{
    if (!HasTool("pdftoppm"))
        GTEST_SKIP() << "pdftoppm is not installed";
    UsePage8By4(engine);
    const std::string path = WriteToFile("shapes", [&] { DrawShapes(engine); });
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string prefix = (folder / ("page" + std::to_string(page))).string();
        ASSERT_EQ(RunCommand("pdftoppm -r 24 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                      " -singlefile '" + path + "' '" + prefix + "'"),
                  0);
        const Image actual = ReadPPM(prefix + ".ppm");
        const std::string reference =
            std::string(TESSARAN_TEST_DATA_DIR) + "/pdf_shapes_page" + std::to_string(page) + ".ppm";
        // Set to write new references after a deliberate change of the
        // output; look at them before committing.
        if (std::getenv("TESSARAN_WRITE_REFERENCE_IMAGES"))
            fs::copy_file(prefix + ".ppm", reference, fs::copy_options::overwrite_existing);
        const Image expected = ReadPPM(reference);
        ASSERT_EQ(actual.Width, 192);
        ASSERT_EQ(actual.Height, 96);
        ASSERT_EQ(expected.Width, actual.Width);
        ASSERT_EQ(expected.Height, actual.Height);
        int differing = 0;
        for (std::size_t i = 0; i < actual.Rgb.size(); ++i)
            if (std::abs(actual.Rgb[i] - expected.Rgb[i]) > 48)
                ++differing;
        EXPECT_LE(differing, static_cast<int>(actual.Rgb.size() / 200)) << "more than 0.5 % of the samples differ";
    }
}

TEST_F(PdfEngine, ACompressionErrorLeavesNoFileBehind)
{
    engine.Compression().Level = static_cast<TdeCompressionLevel>(9); // not a level zlib accepts
    engine.SetFileName((folder / "broken").string());
    engine.BeginDoc();
    engine.Line(0, 0, 1, 1);
    EXPECT_THROW(engine.EndDoc(), EZCompressionError);
    EXPECT_FALSE(fs::exists(folder / "broken.pdf"));
    // The engine survives: a later document with a sound level is written.
    engine.EndDoc();
    engine.Compression().Level = TdeCompressionLevel::clNormal;
    engine.SetFileName((folder / "sound").string());
    engine.BeginDoc();
    engine.Line(0, 0, 1, 1);
    engine.EndDoc();
    EXPECT_TRUE(fs::exists(folder / "sound.pdf"));
}

TEST_F(PdfEngine, PagesNotOutputAreLeftOutOfThePageTree)
{
    // Pages streamed as they are closed, and held until the end.
    for (bool streamed : {true, false}) {
        SCOPED_TRACE(streamed ? "streamed" : "held");
        engine.Preferences().SetProcessAfterEachPage(streamed);
        engine.SetPagesToRender("1,3");
        out.Clear();
        const std::string pdf = WriteToStream([&] {
            engine.Line(0, 0, 1, 1);
            engine.NewPage();
            engine.Line(0, 0, 2, 2);
            engine.NewPage();
            engine.Line(0, 0, 3, 3);
        });
        EXPECT_EQ(ObjectText(pdf, 2), "<<\r\n/Type/Pages/Count 2/Kids [6 0 R 9 0 R]\r\n>>\r\n");
        const std::vector<std::string> pages = PageContents(pdf);
        ASSERT_EQ(pages.size(), 2u);
        EXPECT_NE(pages[1].find("216.0000 625.8888 l"), std::string::npos); // the third page's line
        ExpectCrossReferencesPointAtTheirObjects(pdf);
        ExpectCheckerAccepts(pdf);
    }
}

TEST_F(PdfEngine, OutlineFromTheContentsEntries)
{
    std::string pdf = WriteToStream([&] {
        engine.NewPage();
        ASSERT_EQ(engine.AddTOCItem(u"Page one", -1, 1, 96), 0);
        ASSERT_EQ(engine.AddTOCItem(u"Below", 0, 2, 192), 1);
        ASSERT_EQ(engine.AddTOCItem(u"Link", 0, "http://x.org"), 2);
        ASSERT_EQ(engine.AddTOCItem(u"Two", -1, 2, 0), 3);
    });
    // Pages 6 and 9; the root takes the first number after the pages.
    EXPECT_NE(pdf.find("/Type/Catalog/Pages 2 0 R/Outlines 12 0 R/PageMode"), std::string::npos);
    EXPECT_EQ(ObjectText(pdf, 12), "<<\r\n/First 13 0 R/Last 14 0 R/Count 2\r\n>>\r\n");
    EXPECT_NE(ObjectText(pdf, 13).find("/Dest [6 0 R /XYZ 0.0000 769.8888 null]"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 13).find("/First 15 0 R/Last 16 0 R/Count 2"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 15).find("/Dest [9 0 R /XYZ 0.0000 697.8888 null]"), std::string::npos);
    EXPECT_NE(ObjectText(pdf, 16).find("/A <</S /URI /URI<687474703A2F2F782E6F7267> >>"), std::string::npos);
    ExpectCrossReferencesPointAtTheirObjects(pdf);
    ExpectCheckerAccepts(pdf);

    // A document without contents entries has no outline.
    out.Clear();
    pdf = WriteToStream();
    EXPECT_EQ(pdf.find("/Outlines"), std::string::npos);
    ExpectCrossReferencesPointAtTheirObjects(pdf);
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

// Places the items that only the metafile interpreter makes.
class ItemEngine : public TdeCustomPDFEngine {
public:
    template <typename Item>
    Item &Add(std::unique_ptr<Item> item)
    {
        Item &ref = *item;
        AddItem(std::move(item));
        return ref;
    }
    void Clip(std::vector<TRect> rects, std::uint32_t mode, bool restore = false)
    {
        auto item = std::make_unique<TdeClipItem>();
        item->ClipRects() = std::move(rects);
        item->Mode = mode;
        item->Restore = restore;
        Add(std::move(item));
    }
    void Path(TdePathOperation op, std::uint32_t mode = 0)
    {
        auto item = std::make_unique<TdePathItem>();
        item->PathOperation = op;
        item->Mode = mode;
        item->SetPen(Pen());
        item->SetBrush(Brush());
        Add(std::move(item));
    }
};

TEST_F(PdfEngine, ClippedPagesRenderOnlyInsideTheirClipAndStayBalanced)
{
    if (!HasTool("qpdf") || !HasTool("pdftoppm"))
        GTEST_SKIP() << "qpdf or pdftoppm is not installed";
    ItemEngine e;
    e.Preferences().SetShowSetupDialog(false);
    e.Preferences().SetOpenAfterCreate(false);
    UsePage8By4(e);
    e.SetFileName((folder / "clipped").string());
    e.BeginDoc();
    // Page 1: a red rectangle over the whole page, clipped to two squares
    // (inches 1-2 and 3-4 across, 1-2 down), then a blue triangle built in
    // a path bracket and filled.
    e.Clip({{96, 96, 384, 192}, {96, 96, 192, 192}, {288, 96, 384, 192}}, ClipModeIntersect);
    e.Brush() = TdeBrush{0x0000FF, TBrushStyle::bsSolid};
    e.Pen().Style = TPenStyle::psClear;
    e.Rectangle(0, 0, 8, 4, true);
    e.Clip({}, 0, true);
    e.Brush() = TdeBrush{0xFF0000, TBrushStyle::bsSolid};
    e.Path(TdePathOperation::poBeginPath);
    e.Polygon({{5, 3.5}, {6, 2.5}, {7, 3.5}}, true);
    e.Path(TdePathOperation::poEndPath);
    e.Path(TdePathOperation::poStrokeAndFillPath);
    // Page 2: nested clip groups and a clip path, left open at the page end,
    // and a mode that cannot clip.
    e.NewPage();
    e.Clip({{0, 0, 768, 384}, {0, 0, 384, 384}, {384, 0, 768, 192}}, ClipModeIntersect);
    e.Clip({{0, 0, 768, 384}, {96, 96, 192, 192}, {480, 96, 576, 192}}, ClipModeIntersect);
    e.Path(TdePathOperation::poBeginPath);
    e.Rectangle(0, 0, 1.5, 4, false);
    e.Path(TdePathOperation::poEndPath);
    e.Path(TdePathOperation::poSelectClipPath, ClipModeIntersect);
    e.Clip({{0, 0, 10, 10}}, 3);
    e.Brush() = TdeBrush{0x00A000, TBrushStyle::bsSolid};
    e.Rectangle(0, 0, 8, 4, true);
    e.EndDoc();

    const std::string path = (folder / "clipped.pdf").string();
    std::string report;
    EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
    const std::string pdf = ReadFileText(path);
    ExpectCrossReferencesPointAtTheirObjects(pdf);
    for (const std::string &content : PageContents(pdf))
        EXPECT_TRUE(SavesAndRestoresBalance(content)) << content;

    // At 24 dpi one inch is 24 pixels.
    struct Sample {
        int page, x, y;
        unsigned char r, g, b;
    } samples[] = {
        {1, 36, 36, 255, 0, 0},     {1, 84, 36, 255, 0, 0},   {1, 60, 36, 255, 255, 255}, {1, 12, 12, 255, 255, 255},
        {1, 144, 80, 0, 0, 255},    {1, 144, 40, 255, 255, 255},
        {2, 30, 36, 0, 160, 0},     {2, 42, 36, 255, 255, 255}, {2, 126, 36, 255, 255, 255}, {2, 12, 84, 255, 255, 255},
    };
    for (int page = 1; page <= 2; ++page) {
        const std::string prefix = (folder / ("clip" + std::to_string(page))).string();
        ASSERT_EQ(RunCommand("pdftoppm -r 24 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                             " -singlefile '" + path + "' '" + prefix + "'"),
                  0);
        const Image image = ReadPPM(prefix + ".ppm");
        ASSERT_EQ(image.Width, 192);
        for (const Sample &s : samples) {
            if (s.page != page)
                continue;
            const unsigned char *p = image.At(s.x, s.y);
            EXPECT_NEAR(p[0], s.r, 8) << "page " << page << " at " << s.x << "," << s.y;
            EXPECT_NEAR(p[1], s.g, 8) << "page " << page << " at " << s.x << "," << s.y;
            EXPECT_NEAR(p[2], s.b, 8) << "page " << page << " at " << s.x << "," << s.y;
        }
    }
}

// Numbers no PDF reader accepts never reach the file: huge ones are clamped,
// non-finite shapes are refused at the call, a position that is not a
// number leaves the outline's view as it is and a negative pen draws the
// thinnest line. Bad page settings are refused when set, and a document
// that fails leaves no file.
TEST_F(PdfEngine, BadNumbersNeverReachTheFile)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    engine.Compression().Enabled = false;
    engine.Page().SetPaperSize(TdePaperSize::Custom);
    const double width = engine.Page().Width();
    for (double bad : {nan, inf, -1.0, 0.0, 1e300})
        EXPECT_THROW(engine.Page().SetWidth(bad), std::invalid_argument) << bad;
    EXPECT_THROW(engine.Page().SetHeight(nan), std::invalid_argument);
    EXPECT_THROW(engine.Page().SetLeftMargin(-1), std::invalid_argument);
    EXPECT_EQ(engine.Page().Width(), width);
    engine.Page().SetPaperSize(TdePaperSize::A4);

    const std::string path = WriteToFile("bad_numbers", [&] {
        EXPECT_THROW(engine.Line(nan, 0, 1, 1), std::invalid_argument);
        EXPECT_THROW(engine.Rectangle(0, inf, 1, 1, false), std::invalid_argument);
        engine.Line(-1e300, 1e21, 1e300, -1e21);
        engine.Pen().Width = -5;
        engine.Rectangle(1, 1, 2, 2, false);
        ASSERT_EQ(engine.AddTOCItem(u"Lost", -1, 1, nan), 0);
    });
    const std::string pdf = ReadFileText(path);
    for (const char *token : {"NAN", "INF", "nan", "inf", "E+", "E-", "e+"})
        EXPECT_EQ(pdf.find(token), std::string::npos) << token;
    EXPECT_NE(pdf.find("1000000000000000.0000"), std::string::npos);
    EXPECT_NE(pdf.find("0.0000 w"), std::string::npos);
    EXPECT_NE(pdf.find("/XYZ 0.0000 null null]"), std::string::npos);
    if (HasTool("qpdf")) {
        std::string report;
        EXPECT_EQ(RunCommand("qpdf --check '" + path + "'", &report), 0) << report;
    }
    if (HasTool("pdftoppm")) {
        std::string report;
        EXPECT_EQ(RunCommand("pdftoppm -r 10 '" + path + "' '" + (folder / "bad").string() + "' 2>&1", &report), 0);
        EXPECT_EQ(report, "");
    }
}

// An engine whose output fails once the file has been started.
class FailingEngine : public TdeCustomPDFEngine {
protected:
    void BeginDocOutput() override
    {
        TdeCustomPDFEngine::BeginDocOutput();
        throw std::runtime_error("output failed");
    }
};

TEST_F(PdfEngine, ADocumentThatFailsToBeginLeavesNoFile)
{
    FailingEngine failing;
    failing.Preferences().SetShowSetupDialog(false);
    failing.Preferences().SetOpenAfterCreate(false);
    failing.SetFileName((folder / "failed").string());
    EXPECT_THROW(failing.BeginDoc(), std::runtime_error);
    EXPECT_FALSE(fs::exists(folder / "failed.pdf"));
    EXPECT_FALSE(failing.IsDocumentStarted());
}

} // namespace
} // namespace tessaran
