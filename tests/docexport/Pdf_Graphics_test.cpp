#include "docexport/Pdf_Graphics.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

const std::string CRLF = "\r\n";

std::string Text(const TdePDFPageContent &page)
{
    const auto &bytes = page.FContentStream.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

int Count(const std::string &text, const std::string &what)
{
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// 96 native units are 72 points; a page 72 points high flips y so that
// native (0, 0) is page (0, 72).
class PdfGraphics : public ::testing::Test {
protected:
    PdfGraphics()
    {
        page.PageHeight = 72;
        page.Writer = &writer;
        page.Patterns = &patterns;
        writer.Begin(out);
        page.BeginPage();
    }
    TMemoryStream out;
    TdePDFObjectWriter writer;
    TdePDFPatterns patterns;
    TdePDFPageContent page;
    TdePen pen;
};

TEST_F(PdfGraphics, LineIsStrokedInItsOwnSaveRestorePair)
{
    DrawLineShape(page, pen, 0, 0, 96, 48);
    EXPECT_EQ(Text(page), CRLF + "q []0 d 0.7500 w 0.0000 0.0000 0.0000 RG 0.0000 72.0000 m 72.0000 36.0000 l S" +
                              CRLF + "Q");
}

TEST_F(PdfGraphics, PenStylesJoinsAndCaps)
{
    struct Case {
        TPenStyle style;
        int join, cap;
        const char *operators;
    } cases[] = {
        {TPenStyle::psSolid, 0, 0, "[]0 d "},
        {TPenStyle::psDash, 1, 1, "[16 8]0 d 2 j 1 J "},
        {TPenStyle::psDot, 2, 2, "[3 4]0 d 0 j 2 J "},
        {TPenStyle::psDashDot, 3, 3, "[8 4 2 4]0 d 1 j 0 J "},
        {TPenStyle::psDashDotDot, 0, 0, "[8 4 2 4 2 8]0 d "},
        {TPenStyle::psInsideFrame, 0, 0, ""}, // no dash array, no " d "
        {TPenStyle::psClear, 3, 0, "1 j "},
    };
    for (const Case &c : cases) {
        page.PenJoin = c.join;
        page.PenCap = c.cap;
        EXPECT_EQ(page.GetPenStyleOperators(c.style), c.operators);
    }
}

TEST_F(PdfGraphics, ZeroWidthPensStrokeSomeShapesAndNotOthers)
{
    pen.Width = 0;
    const TdePoints four = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    DrawLineShape(page, pen, 0, 0, 10, 10);
    DrawRectangleShape(page, pen, nullptr, 0, 0, 10, 10);
    DrawRoundRectShape(page, pen, nullptr, 0, 0, 10, 10, 2, 2);
    DrawEllipseShape(page, pen, nullptr, 0, 0, 10, 10);
    DrawPolygonShape(page, four, 4, true, pen, nullptr);
    DrawPolyPolygon(page, four, {4, 4}, pen, TdeBrush{clWhite, TBrushStyle::bsClear}, false);
    EXPECT_EQ(Count(Text(page), "0.0000 w"), 6);

    page.BeginPage();
    DrawArcShape(page, pen, 0, 0, 10, 10, 10, 5, 5, 0);
    DrawPieShape(page, pen, nullptr, 0, 0, 10, 10, 10, 5, 5, 0);
    DrawChordShape(page, pen, nullptr, 0, 0, 10, 10, 10, 5, 5, 0);
    DrawPolyShape(page, {four}, pen, nullptr, false, false);
    DrawPolyBezierShape(page, four, 4, pen);
    EXPECT_EQ(Text(page), "");
}

TEST_F(PdfGraphics, RectangleFillsThenStrokesFromItsLowerLeftCorner)
{
    TdeBrush brush{clRed, TBrushStyle::bsSolid};
    DrawRectangleShape(page, pen, &brush, 96, 0, 192, 48);
    const std::string r = "72.0000 36.0000 72.0000 36.0000 re";
    EXPECT_EQ(Text(page), CRLF + "q" + CRLF + "1.0000 0.0000 0.0000 rg " + r + " f " +
                              "[]0 d 0.7500 w 0.0000 0.0000 0.0000 RG " + r + " s" + CRLF + "Q");
}

TEST_F(PdfGraphics, HatchBrushesShareOnePatternEach)
{
    TdeBrush cross{clBlue, TBrushStyle::bsCross};
    for (int i = 0; i < 3; ++i)
        DrawRectangleShape(page, pen, &cross, 0, 0, 10, 10);
    TdeBrush diagonal{clBlue, TBrushStyle::bsFDiagonal};
    DrawEllipseShape(page, pen, &diagonal, 0, 0, 10, 10);
    EXPECT_EQ(Count(Text(page), "/CSP cs 0.0000 0.0000 1.0000 /PC scn n "), 3);
    ASSERT_EQ(patterns.Entries().size(), 2u);
    EXPECT_EQ(patterns.Entries()[0], std::make_pair(std::string("PC"), 6));
    EXPECT_EQ(patterns.Entries()[1], std::make_pair(std::string("PFD"), 7));
    EXPECT_EQ(patterns.ResourceEntries(),
              "/ColorSpace <</CSP [/Pattern /DeviceRGB]>>" + CRLF + "/Pattern <</PC 6 0 R/PFD 7 0 R>>" + CRLF);

    // Without compression the length is in the dictionary; with it, in an
    // object of its own that follows the stream.
    TdeCompression off;
    off.Enabled = false;
    patterns.WritePatterns(writer, off);
    std::string written(out.Bytes().begin(), out.Bytes().end());
    EXPECT_EQ(written.substr(0, written.find("stream")),
              "6 0 obj" + CRLF + "<<" + CRLF + "/Type /Pattern" + CRLF + "/Resources << /ProcSet [/PDF ] >>" + CRLF +
                  "/PatternType 1" + CRLF + "/PaintType 2" + CRLF + "/TilingType 1" + CRLF + "/BBox [0 0 5 5]" +
                  CRLF + "/XStep 5" + CRLF + "/YStep 5" + CRLF + "/Length 47" + CRLF + ">>" + CRLF);
    EXPECT_NE(written.find("stream" + CRLF + "2 J 2 j 0.3 w 0 2.5 m 5 2.5 l 2.5 0 m 2.5 5 l S" + CRLF + "endstream"),
              std::string::npos);
    out.Clear();
    patterns.WritePatterns(writer, TdeCompression{});
    written.assign(out.Bytes().begin(), out.Bytes().end());
    EXPECT_NE(written.find("/YStep 5" + CRLF + "/Length" + CRLF + "8 0 R/Filter/FlateDecode>>"), std::string::npos);
    EXPECT_NE(written.find("endobj" + CRLF + "8 0 obj" + CRLF), std::string::npos);
    EXPECT_TRUE(writer.IsWritten(9)); // the second pattern's length
}

TEST_F(PdfGraphics, CirclesAndArcsAreBezierSegments)
{
    TdeBrush brush{clWhite, TBrushStyle::bsClear};
    DrawEllipseShape(page, pen, &brush, 0, 0, 96, 96);
    EXPECT_EQ(Text(page), CRLF + "q" + CRLF + "[]0 d 0.7500 w 0.0000 0.0000 0.0000 RG " +
                              "36.0000 72.0000 m 55.8823 72.0000 72.0000 55.8823 72.0000 36.0000 c "
                              "72.0000 16.1177 55.8823 0.0000 36.0000 0.0000 c "
                              "16.1177 0.0000 0.0000 16.1177 0.0000 36.0000 c "
                              "0.0000 55.8823 16.1177 72.0000 36.0000 72.0000 c  s" +
                              CRLF + "Q");

    // A quarter from the right to the top, counter-clockwise on the page.
    EXPECT_EQ(BuildArcPath(0, 72, 72, 0, 72, 36, 36, 72),
              "72.0000 36.0000 m 72.0000 55.8823 55.8823 72.0000 36.0000 72.0000 c");
    // Equal radial points: a full turn in four quarters back to the start.
    std::string full = BuildArcPath(0, 72, 72, 0, 72, 36, 72, 36);
    EXPECT_EQ(Count(full, " c"), 4);
    EXPECT_EQ(full.substr(0, 15), "72.0000 36.0000");
    EXPECT_EQ(full.substr(full.size() - 17), "72.0000 36.0000 c");
    // A degenerate box gives coincident points and "y" segments.
    EXPECT_NE(BuildArcPath(10, 10, 10, 10, 20, 10, 10, 20).find(" y"), std::string::npos);

    page.BeginPage();
    TdeBrush fill{clRed, TBrushStyle::bsSolid};
    DrawPieShape(page, pen, &fill, 0, 0, 96, 96, 96, 48, 48, 0);
    EXPECT_NE(Text(page).find("36.0000 72.0000 c 36.0000 36.0000 l f "), std::string::npos);
    EXPECT_NE(Text(page).find("36.0000 72.0000 c 36.0000 36.0000 l s"), std::string::npos);
}

TEST_F(PdfGraphics, PolyBezierWritesWholeCurvesOnly)
{
    TdePoints points;
    for (int i = 0; i < 7; ++i)
        points.push_back({i * 8.0, i * 4.0});
    struct Case {
        int noPoints;
        int curves;
    } cases[] = {{3, 0}, {4, 1}, {5, 1}, {6, 1}, {7, 2}};
    for (const Case &c : cases) {
        page.BeginPage();
        DrawPolyBezierShape(page, points, c.noPoints, pen);
        EXPECT_EQ(Count(Text(page), " c "), c.curves) << c.noPoints << " points";
        EXPECT_EQ(Text(page).empty(), c.curves == 0);
    }
}

TEST_F(PdfGraphics, PolygonsAndPolylines)
{
    const TdePoints tri = {{0, 0}, {96, 0}, {0, 96}};
    TdeBrush brush{clRed, TBrushStyle::bsSolid};
    DrawPolygonShape(page, tri, 3, true, pen, &brush);
    const std::string s = "0.0000 72.0000 m 72.0000 72.0000 l 0.0000 0.0000 l ";
    EXPECT_EQ(Text(page), CRLF + "q" + CRLF + "1.0000 0.0000 0.0000 rg []0 d 0.7500 w 0.0000 0.0000 0.0000 RG " + s +
                              "0.0000 72.0000 l B* " + CRLF + "Q ");
    page.BeginPage();
    DrawPolygonShape(page, tri, 3, false, pen, nullptr);
    EXPECT_EQ(Text(page), CRLF + "q" + CRLF + "[]0 d 0.7500 w 0.0000 0.0000 0.0000 RG " + s + " S " + CRLF + "Q ");

    // Several polylines in one item stay open; polygons close each figure.
    page.BeginPage();
    DrawPolyShape(page, {tri, tri}, pen, nullptr, false, false);
    std::string open = Text(page);
    EXPECT_EQ(open.substr(open.size() - 7), " l S" + CRLF + "Q");
    page.BeginPage();
    DrawPolyShape(page, {tri, tri}, pen, &brush, true, true);
    std::string closed = Text(page);
    EXPECT_NE(closed.find(" rg" + CRLF), std::string::npos);
    EXPECT_NE(closed.find(CRLF + "f*" + CRLF), std::string::npos);
    EXPECT_EQ(Count(closed, "0.0000 72.0000 l "), 4); // both figures closed, in fill and stroke
}

TEST_F(PdfGraphics, PolyPolygonStartsEachPolygonWithAMove)
{
    const TdePoints points = {{0, 0}, {96, 0}, {0, 96}, {10, 10}, {20, 10}, {20, 20}, {10, 20}};
    DrawPolyPolygon(page, points, {7, 3, 4}, pen, TdeBrush{clRed, TBrushStyle::bsSolid}, true);
    const std::string text = Text(page);
    EXPECT_EQ(Count(text, " m " + CRLF), 4); // two polygons, in fill and stroke
    EXPECT_EQ(Count(text, " l " + CRLF), 10);
    EXPECT_NE(text.find("7.5000 64.5000 m "), std::string::npos); // point 3 starts polygon 2
    EXPECT_NE(text.find(CRLF + "f*" + CRLF), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 6), " s" + CRLF + "Q ");
}

TEST_F(PdfGraphics, PathBracketCollectsShapesInsteadOfPainting)
{
    page.FPathStatus = TdePathStatus::psPathBegins;
    DrawRectangleShape(page, pen, nullptr, 0, 0, 96, 48);
    EXPECT_EQ(page.FPath, "0.0000 36.0000 72.0000 36.0000 re ");
    DrawLineShape(page, pen, 0, 0, 96, 0);
    DrawLineShape(page, pen, 96, 0, 96, 96);
    EXPECT_EQ(page.FPath, "0.0000 36.0000 72.0000 36.0000 re 0.0000 72.0000 m 72.0000 72.0000 l 72.0000 0.0000 l ");
    EXPECT_FALSE(page.FFirstPoint);
    EXPECT_EQ(page.FInitialPos, (TdePoint{0, 0}));
    EXPECT_EQ(Text(page), "");

    // An ellipse in a path starts on its lower edge on the page.
    page.FPath.clear();
    page.FFirstPoint = true;
    DrawEllipseShape(page, pen, nullptr, 0, 0, 96, 96);
    EXPECT_EQ(page.FPath.substr(0, 20), "36.0000 0.0000 m 55.");
    EXPECT_EQ(page.FInitialPos, (TdePoint{48, 96}));
}

TEST_F(PdfGraphics, ClipGroupsHoldTheStateOfPaintedShapes)
{
    page.OpenClipGroup();
    DrawLineShape(page, pen, 0, 0, 96, 48);
    DrawRectangleShape(page, pen, nullptr, 0, 0, 96, 48);
    EXPECT_EQ(Text(page), CRLF + "[]0 d 0.7500 w 0.0000 0.0000 0.0000 RG 0.0000 72.0000 m 72.0000 36.0000 l S" +
                              CRLF + CRLF + "[]0 d 0.7500 w 0.0000 0.0000 0.0000 RG 0.0000 36.0000 72.0000 36.0000 re s" +
                              CRLF);
}

} // namespace
} // namespace tessaran
