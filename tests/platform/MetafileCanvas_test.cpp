#include "platform/Bitmap.h"
#include "platform/MetafileCanvas.h"

#include <gtest/gtest.h>

#include <emf2svg.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

// The independent reader keeps a few bytes to the end of the process; that
// is its own matter, not a leak of ours, when the tests run under the
// address sanitizer.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:emf2svg\n";
}

namespace tessaran {
namespace {

std::vector<std::string> recordNames(const TMetafile &mf)
{
    std::vector<std::string> names;
    for (const TEmfRecord &r : mf.Records())
        names.push_back(emr::RecordName(r.Type()));
    return names;
}

// A small drawing that uses every kind of record the recorder writes.
void drawSample(TCanvas &c)
{
    c.Pen.Color = clRed;
    c.Pen.Width = 0;
    c.MoveTo(10, 10);
    c.LineTo(90, 10);
    c.Brush.Color = clYellow;
    c.Rectangle(10, 20, 50, 40);
    c.Ellipse(60, 20, 90, 40);
    TPoint tri[3] = {{10, 50}, {30, 70}, {10, 70}};
    c.Polygon(tri);
    c.Chord(40, 50, 80, 90, 40, 60, 80, 60);
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = clBlue;
    c.TextOut(10, 95, "Pump 1");
}

TEST(MetafileCanvas, RecordsObjectsOnceAndOnlyWhenTheyChange)
{
    TMetafile mf;
    mf.Width = 100;
    mf.Height = 120;
    TMetafileCanvas canvas(mf);
    drawSample(canvas);
    canvas.Close();

    std::vector<std::string> expected = {
        "EMR_HEADER",
        "EMR_MOVETOEX",
        "EMR_CREATEPEN", "EMR_SELECTOBJECT", "EMR_LINETO",
        "EMR_CREATEBRUSHINDIRECT", "EMR_SELECTOBJECT", "EMR_RECTANGLE",
        "EMR_ELLIPSE",
        "EMR_POLYGON16",
        "EMR_CHORD",
        "EMR_EXTCREATEFONTINDIRECTW", "EMR_SELECTOBJECT", "EMR_SETTEXTCOLOR", "EMR_SETBKMODE",
        "EMR_EXTTEXTOUTW",
        "EMR_EOF",
    };
    EXPECT_EQ(recordNames(mf), expected);

    auto records = mf.Records();
    // The pen: width 0 (one pixel), red.
    EXPECT_EQ(records[2].U32(12), 0u);  // solid
    EXPECT_EQ(records[2].I32(16), 0);   // width
    EXPECT_EQ(records[2].U32(24), 0x0000FFu);
    // The polygon's three 16-bit points and bounds.
    const TEmfRecord &poly = records[9];
    EXPECT_EQ(poly.RectL(8), (TRect{10, 50, 30, 70}));
    EXPECT_EQ(poly.U32(24), 3u);
    EXPECT_EQ(poly.PointS(28 + 4), (TPoint{30, 70}));
    // Text: top-left reference, characters, one advance per character.
    const TEmfRecord &text = records[15];
    EXPECT_EQ(text.PointL(36), (TPoint{10, 95}));
    ASSERT_EQ(text.U32(44), 6u);
    EXPECT_EQ(text.U16(text.U32(48)), u'P');
    int sum = 0;
    for (int i = 0; i < 6; ++i)
        sum += text.I32(text.U32(72) + 4 * static_cast<std::size_t>(i));
    TFont font;
    EXPECT_EQ(sum, canvas.TextWidth("Pump 1"));
    // Header: frame, counts, handles, bounds.
    const TEmfRecord &header = records[0];
    EXPECT_EQ(header.U32(40), emr::ENHMETA_SIGNATURE);
    EXPECT_EQ(header.U32(48), mf.Bytes().size());
    EXPECT_EQ(header.U32(52), records.size());
    EXPECT_EQ(header.U16(56), 4); // three objects and the reserved index 0
    EXPECT_EQ(mf.Bounds().Left, 10);
    EXPECT_EQ(mf.Width, 100);
    EXPECT_EQ(mf.Height, 120);
}

TEST(MetafileCanvas, ReplacesAndDeletesObjectsAsTheyChange)
{
    TMetafile mf;
    mf.Width = mf.Height = 50;
    TMetafileCanvas canvas(mf);
    canvas.Pen.Color = clRed;
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 10);
    canvas.Pen.Color = clBlue;
    canvas.LineTo(20, 10);
    canvas.LineTo(20, 20); // same pen: nothing new
    canvas.Close();
    std::vector<std::string> expected = {"EMR_HEADER", "EMR_MOVETOEX", "EMR_CREATEPEN", "EMR_SELECTOBJECT",
                                         "EMR_LINETO", "EMR_CREATEPEN", "EMR_SELECTOBJECT", "EMR_DELETEOBJECT",
                                         "EMR_LINETO", "EMR_LINETO", "EMR_EOF"};
    EXPECT_EQ(recordNames(mf), expected);
    auto r = mf.Records();
    EXPECT_EQ(r[2].U32(8), 1u);
    EXPECT_EQ(r[5].U32(8), 2u);
    EXPECT_EQ(r[7].U32(8), 1u); // the first pen goes once the second is selected
}

TEST(MetafileCanvas, UsesThirtyTwoBitRecordsOnlyWhenPointsDoNotFit)
{
    TMetafile mf;
    mf.Width = mf.Height = 100;
    TMetafileCanvas canvas(mf);
    TPoint small[2] = {{0, 0}, {32767, -32768}};
    TPoint large[2] = {{0, 0}, {40000, 5}};
    canvas.Polyline(small);
    canvas.Polyline(large);
    canvas.PolyBezier(std::vector<TPoint>{{0, 0}, {1, 1}, {2, 2}, {3, 3}});
    canvas.Close();
    auto names = recordNames(mf);
    EXPECT_EQ(names[3], "EMR_POLYLINE16");
    EXPECT_EQ(names[4], "EMR_POLYLINE");
    EXPECT_EQ(names[5], "EMR_POLYBEZIER16");
    EXPECT_EQ(mf.Records()[4].PointL(28 + 8), (TPoint{40000, 5}));
}

TEST(MetafileCanvas, SavedStatesKeepObjectsSelectedInThemAlive)
{
    TMetafile mf;
    mf.Width = mf.Height = 100;
    TMetafileCanvas canvas(mf);
    canvas.Pen.Color = clRed;
    canvas.LineTo(1, 1);
    canvas.SaveState();
    canvas.IntersectClipRect(TRect{0, 0, 50, 50});
    canvas.Pen.Color = clBlue;
    canvas.LineTo(2, 2);
    canvas.RestoreState();
    canvas.Pen.Color = clRed;
    canvas.LineTo(3, 3);
    canvas.RestoreState(); // nothing saved: ignored
    canvas.Close();
    std::vector<std::string> expected = {
        "EMR_HEADER",       "EMR_CREATEPEN",    "EMR_SELECTOBJECT",      "EMR_LINETO",
        "EMR_SAVEDC",       "EMR_INTERSECTCLIPRECT",
        "EMR_CREATEPEN",    "EMR_SELECTOBJECT", "EMR_LINETO",
        "EMR_RESTOREDC",    "EMR_DELETEOBJECT", // the blue pen, no longer selected
        "EMR_SETROP2",      "EMR_LINETO",       // the red pen is selected again by the restore
        "EMR_EOF"};
    EXPECT_EQ(recordNames(mf), expected);
    auto r = mf.Records();
    EXPECT_EQ(r[9].I32(8), -1);
    EXPECT_EQ(r[10].U32(8), 2u);
}

TEST(MetafileCanvas, PathsAreRecordedAndReadBackFlattened)
{
    TMetafile mf;
    mf.Width = mf.Height = 100;
    TMetafileCanvas canvas(mf);
    canvas.BeginPath();
    std::vector<TPoint> curve = {{0, 50}, {0, 0}, {100, 0}, {100, 50}};
    canvas.PolyBezier(curve);
    canvas.EndPath();
    EXPECT_EQ(canvas.GetPath().size(), 4u);
    canvas.FlattenPath();
    TPointArray flat = canvas.GetPath();
    ASSERT_GT(flat.size(), 8u);
    EXPECT_EQ(flat.front(), (TPoint{0, 50}));
    EXPECT_EQ(flat.back(), (TPoint{100, 50}));
    for (std::size_t i = 1; i < flat.size(); ++i)
        EXPECT_NE(flat[i], flat[i - 1]);
    canvas.BeginPath();
    canvas.Rectangle(10, 10, 20, 20);
    canvas.EndPath();
    canvas.StrokeAndFillPath();
    canvas.Close();
    std::vector<std::string> expected = {"EMR_HEADER",     "EMR_BEGINPATH",    "EMR_POLYBEZIER16",
                                         "EMR_ENDPATH",    "EMR_BEGINPATH",    "EMR_RECTANGLE",
                                         "EMR_ENDPATH",    "EMR_CREATEPEN",    "EMR_SELECTOBJECT",
                                         "EMR_CREATEBRUSHINDIRECT", "EMR_SELECTOBJECT",
                                         "EMR_STROKEANDFILLPATH", "EMR_EOF"};
    EXPECT_EQ(recordNames(mf), expected);
}

TEST(MetafileCanvas, WithoutCloseThePreviousPictureStays)
{
    TMetafile mf;
    mf.Width = mf.Height = 10;
    {
        TMetafileCanvas first(mf);
        first.LineTo(5, 5);
        first.Close();
    }
    std::vector<std::uint8_t> before = mf.Bytes();
    {
        TMetafileCanvas failed(mf);
        failed.Rectangle(0, 0, 3, 3);
    }
    EXPECT_EQ(mf.Bytes(), before);
}

TEST(MetafileCanvas, PlaysAMetafileIntoAnotherRecordingStretched)
{
    TMetafile inner;
    inner.Width = 100;
    inner.Height = 50;
    {
        TMetafileCanvas c(inner);
        c.Pen.Color = clGreen;
        c.Rectangle(0, 0, 100, 50);
        c.Close();
    }
    TMetafile outer;
    outer.Width = outer.Height = 400;
    TMetafileCanvas c(outer);
    c.Pen.Color = clRed;
    c.LineTo(1, 1); // the red pen takes index 1
    c.StretchDraw(TRect{100, 100, 300, 200}, inner);
    c.LineTo(2, 2); // the red pen is selected again after the play
    c.Close();
    std::vector<std::string> expected = {
        "EMR_HEADER", "EMR_CREATEPEN", "EMR_SELECTOBJECT", "EMR_LINETO",
        "EMR_SAVEDC", "EMR_SELECTOBJECT", "EMR_SELECTOBJECT", "EMR_MODIFYWORLDTRANSFORM",
        "EMR_CREATEPEN", "EMR_SELECTOBJECT", "EMR_CREATEBRUSHINDIRECT", "EMR_SELECTOBJECT", "EMR_RECTANGLE",
        "EMR_RESTOREDC", "EMR_DELETEOBJECT", "EMR_DELETEOBJECT",
        "EMR_SETROP2", "EMR_LINETO", "EMR_EOF"};
    EXPECT_EQ(recordNames(outer), expected);
    auto r = outer.Records();
    EXPECT_FLOAT_EQ(r[7].F32(8), 2.0f);   // 200 / 100
    EXPECT_FLOAT_EQ(r[7].F32(20), 2.0f);  // 100 / 50
    EXPECT_FLOAT_EQ(r[7].F32(24), 100.0f);
    EXPECT_EQ(r[7].U32(32), 2u);          // applied before the current transform
    EXPECT_EQ(r[8].U32(8), 2u);           // the played pen is renumbered past the live one
    EXPECT_EQ(r[10].U32(8), 3u);
    EXPECT_EQ(r[9].U32(8), 2u);
}

TEST(MetafileCanvas, BitmapsAndGradientsBecomeStretchedDibs)
{
    TBitmap bmp(3, 2);
    bmp.SetPixel(0, 0, clRed);
    bmp.SetPixel(2, 1, clBlue);
    TMetafile mf;
    mf.Width = mf.Height = 100;
    TMetafileCanvas c(mf);
    c.StretchDraw(TRect{10, 10, 40, 30}, bmp);
    c.GradientFillVertical(TRect{0, 0, 10, 5}, clBlack, clWhite);
    c.Close();
    auto r = mf.Records();
    ASSERT_EQ(r.size(), 4u);
    ASSERT_EQ(r[1].Type(), emr::EMR_STRETCHDIBITS);
    EXPECT_EQ(r[1].I32(72), 30); // cxDest
    EXPECT_EQ(r[1].I32(76), 20); // cyDest
    EXPECT_EQ(r[1].I32(40), 3);  // cxSrc
    EXPECT_EQ(r[1].U32(68), 0x00CC0020u);
    std::size_t bits = r[1].U32(56);
    // Bottom-up rows, padded to 4 bytes: the first stored row is the image's last.
    EXPECT_EQ(r[1].U8(bits + 6), 0xFF); // blue of pixel (2, 1)
    EXPECT_EQ(r[1].U8(bits + 12 + 2), 0xFF); // red of pixel (0, 0)
    ASSERT_EQ(r[2].Type(), emr::EMR_STRETCHDIBITS);
    std::size_t gbits = r[2].U32(56);
    EXPECT_EQ(r[2].U8(gbits), 0xFF);          // bottom row white
    EXPECT_EQ(r[2].U8(gbits + 4 * 4), 0x00);  // top row black
}

TEST(Metafile, SaveAndLoadRoundTripsAndEnumerates)
{
    TMetafile mf;
    mf.Width = 100;
    mf.Height = 120;
    TMetafileCanvas canvas(mf);
    drawSample(canvas);
    canvas.Close();
    std::string path = (std::filesystem::temp_directory_path() / ("tessaran_sample_" + std::to_string(::getpid()) + ".emf")).string();
    mf.SaveToFile(path);
    TMetafile loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Bytes(), mf.Bytes());
    EXPECT_EQ(loaded.Width, 100);
    EXPECT_EQ(loaded.Height, 120);
    EXPECT_EQ(recordNames(loaded), recordNames(mf));
    std::filesystem::remove(path);

    // An empty metafile saves as a valid empty picture.
    TMetafile empty;
    empty.Width = 18060;
    empty.Height = 12020;
    TMemoryStream stream;
    empty.SaveToStream(stream);
    stream.Seek(0);
    TMetafile back;
    back.LoadFromStream(stream, static_cast<std::size_t>(stream.Size()));
    EXPECT_EQ(back.Width, 18060);
    EXPECT_EQ(back.Height, 12020);
    EXPECT_EQ(recordNames(back), (std::vector<std::string>{"EMR_HEADER", "EMR_EOF"}));
}

TEST(Metafile, MalformedDataIsRefusedWithAReason)
{
    TMetafile good;
    good.Width = good.Height = 10;
    {
        TMetafileCanvas c(good);
        c.LineTo(3, 3);
        c.Close();
    }
    const std::vector<std::uint8_t> bytes = good.Bytes();
    auto withU32 = [&](std::size_t at, std::uint32_t v) {
        std::vector<std::uint8_t> b = bytes;
        for (int i = 0; i < 4; ++i)
            b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
        return b;
    };
    std::size_t second = 108; // the record after the header
    struct Case {
        const char *name;
        std::vector<std::uint8_t> data;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"truncated", std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 4)},
        {"no end record", std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 20)},
        {"bad signature", withU32(40, 0x12345678)},
        {"zero record size", withU32(second + 4, 0)},
        {"unaligned record size", withU32(second + 4, 10)},
        {"record past the end", withU32(second + 4, 0x7FFFFFF0)},
        {"header first", withU32(0, emr::EMR_LINETO)},
    };
    for (const Case &c : cases) {
        TMetafile mf = good;
        EXPECT_THROW(mf.SetBytes(c.data), EMetafileError) << c.name;
        EXPECT_EQ(mf.Bytes(), bytes) << c.name << ": a refused load leaves the picture as it was";
    }
}

TEST(Metafile, FieldReadsAreBoundedByTheRecordSize)
{
    TMetafile mf;
    mf.Width = mf.Height = 10;
    {
        TMetafileCanvas c(mf);
        c.MoveTo(1, 2);
        c.Close();
    }
    TEmfRecord move = mf.Records()[1];
    EXPECT_EQ(move.PointL(8), (TPoint{1, 2}));
    EXPECT_THROW(move.U32(16), EMetafileError);
    EXPECT_THROW(move.Slice(12, 8), EMetafileError);
    EXPECT_FALSE(move.Has(static_cast<std::size_t>(-4), 8));
}

// An independent reader accepts what we record and sees the same records.
TEST(Metafile, IndependentReaderParsesTheRecording)
{
    TMetafile mf;
    mf.Width = 100;
    mf.Height = 120;
    TMetafileCanvas canvas(mf);
    drawSample(canvas);
    canvas.BeginPath();
    canvas.PolyBezier(std::vector<TPoint>{{0, 50}, {0, 0}, {100, 0}, {100, 50}});
    canvas.EndPath();
    canvas.StrokePath();
    TBitmap bmp(2, 2);
    canvas.StretchDraw(TRect{0, 0, 4, 4}, bmp);
    canvas.Close();

    std::vector<char> data(mf.Bytes().begin(), mf.Bytes().end());
    generatorOptions options{};
    options.nameSpace = const_cast<char *>("svg");
    options.verbose = true;
    options.svgDelimiter = true;
    options.imgWidth = 100;
    options.imgHeight = 120;
    char *svg = nullptr;
    std::size_t svgLength = 0;

    // The verbose reader names every record it parses on standard output.
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    int ok = emf2svg(data.data(), data.size(), &svg, &svgLength, &options);
    std::string log = testing::internal::GetCapturedStdout();
    ASSERT_EQ(ok, 1);
    ASSERT_NE(svg, nullptr);
    std::string text(svg, svgLength);
    std::free(svg);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Pump 1"), std::string::npos);

    std::vector<std::string> seen;
    std::size_t at = 0;
    while ((at = log.find("EMR_", at)) != std::string::npos) {
        std::size_t end = log.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", at);
        std::string name = log.substr(at, end - at);
        if (seen.empty() || seen.back() != name)
            seen.push_back(name);
        at = end;
    }
    EXPECT_EQ(seen, recordNames(mf));
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST(MetafileCanvas, PenBrushAndFontFieldsAreThoseOfTheLogicalObjects)
{
    TMetafile mf;
    mf.Width = mf.Height = 10;
    TMetafileCanvas c(mf);
    for (int s = 0; s <= static_cast<int>(TPenStyle::psInsideFrame); ++s) {
        c.Pen.Style = static_cast<TPenStyle>(s);
        c.LineTo(s, s);
    }
    for (int s = 0; s <= static_cast<int>(TBrushStyle::bsDiagCross); ++s) {
        c.Brush.Style = static_cast<TBrushStyle>(s);
        c.Brush.Color = 0x123456;
        c.Rectangle(0, 0, 5, 5);
    }
    c.Font.Name = "Verdana";
    c.Font.Size = 10;
    c.Font.Style = TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline};
    c.Font.Escapement = -455;
    c.TextOut(1, 1, "x");
    c.Close();

    std::vector<std::uint32_t> penStyles, brushStyles, hatches;
    for (const TEmfRecord &r : mf.Records()) {
        if (r.Type() == emr::EMR_CREATEPEN)
            penStyles.push_back(r.U32(12));
        if (r.Type() == emr::EMR_CREATEBRUSHINDIRECT) {
            brushStyles.push_back(r.U32(12));
            hatches.push_back(r.U32(20));
            EXPECT_EQ(r.U32(16), 0x123456u);
        }
        if (r.Type() == emr::EMR_EXTCREATEFONTINDIRECTW) {
            EXPECT_EQ(r.I32(12), -13); // 10 points at 96 per inch
            EXPECT_EQ(r.I32(20), -455);
            EXPECT_EQ(r.I32(24), -455);
            EXPECT_EQ(r.I32(28), 700);
            EXPECT_EQ(r.U8(32), 0);
            EXPECT_EQ(r.U8(33), 1);
            EXPECT_EQ(r.U16(40), u'V');
            EXPECT_EQ(r.U16(40 + 14), 0);
            EXPECT_EQ(r.Size(), 332u);
        }
    }
    EXPECT_EQ(penStyles, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(brushStyles, (std::vector<std::uint32_t>{0, 1, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(hatches, (std::vector<std::uint32_t>{0, 0, 0, 1, 2, 3, 4, 5}));
}

TEST(MetafileCanvas, ARecordingCanExtendThePictureOfItsOwnMetafile)
{
    TMetafile mf;
    mf.Width = 100;
    mf.Height = 100;
    {
        TMetafileCanvas first(mf);
        first.Rectangle(0, 0, 10, 10);
        first.Close();
    }
    {
        TMetafileCanvas more(mf);
        more.StretchDraw(TRect{0, 0, 100, 100}, mf);
        more.Ellipse(20, 20, 30, 30);
        more.Close();
    }
    std::vector<std::uint32_t> shapes;
    for (const TEmfRecord &r : mf.Records())
        if (r.Type() == emr::EMR_RECTANGLE || r.Type() == emr::EMR_ELLIPSE)
            shapes.push_back(r.Type());
    EXPECT_EQ(shapes, (std::vector<std::uint32_t>{emr::EMR_RECTANGLE, emr::EMR_ELLIPSE}));
}

} // namespace
} // namespace tessaran
