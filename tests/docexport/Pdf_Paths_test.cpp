#include "docexport/Pdf_Paths.h"

#include "docexport/Pdf_Graphics.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

const std::string CRLF = "\r\n";

// 96 native units are 72 points; the page is 72 points high.
class PdfPaths : public ::testing::Test {
protected:
    PdfPaths()
    {
        page.PageHeight = 72;
        page.BeginPage();
        pen.Width = 4; // 3 points
        brush.Color = clRed;
    }

    std::string Text() const
    {
        const auto &bytes = page.FContentStream.Bytes();
        return std::string(bytes.begin(), bytes.end());
    }
    void Path(TdePathOperation op, bool evenOdd = false, std::uint32_t mode = 0)
    {
        TdePathItem item;
        item.PathOperation = op;
        item.FillAlternate = evenOdd;
        item.Mode = mode;
        item.SetPen(pen);
        item.SetBrush(brush);
        RenderPathItem(page, item);
    }
    void Clip(std::vector<TRect> rects, std::uint32_t mode, bool restore = false)
    {
        TdeClipItem item;
        item.Mode = mode;
        item.Restore = restore;
        item.ClipRects() = std::move(rects);
        RenderClipItem(page, item);
    }
    void EndOfFigure(bool status)
    {
        TdeEOFItem item;
        item.Status = status;
        RenderEOFItem(page, item);
    }

    TdePDFPageContent page;
    TdePen pen;
    TdeBrush brush;
};

TEST_F(PdfPaths, FillPathWritesTheCollectedRectangle)
{
    Path(TdePathOperation::poBeginPath);
    DrawRectangleShape(page, pen, nullptr, 0, 0, 96, 48);
    EXPECT_EQ(Text(), ""); // nothing painted before the fill
    Path(TdePathOperation::poEndPath);
    Path(TdePathOperation::poFillPath);
    EXPECT_EQ(Text(), "[]0 d 3.0000 w 0.0000 0.0000 0.0000 RG 1.0000 0.0000 0.0000 rg " + CRLF +
                          "0.0000 36.0000 72.0000 36.0000 re h f" + CRLF);
    EXPECT_EQ(page.FPath, "");
    EXPECT_EQ(page.FPathStatus, TdePathStatus::psNoPath);
}

TEST_F(PdfPaths, PaintOperatorsFollowPenBrushClosureAndFillRule)
{
    struct Case {
        TPenStyle penStyle;
        TBrushStyle brushStyle;
        bool closeFigure;
        bool evenOdd;
        TdePathOperation op;
        const char *expected;
    } cases[] = {
        {TPenStyle::psSolid, TBrushStyle::bsSolid, false, false, TdePathOperation::poStrokeAndFillPath, "B"},
        {TPenStyle::psSolid, TBrushStyle::bsSolid, true, false, TdePathOperation::poStrokeAndFillPath, "b"},
        {TPenStyle::psSolid, TBrushStyle::bsSolid, false, true, TdePathOperation::poStrokeAndFillPath, "B*"},
        {TPenStyle::psSolid, TBrushStyle::bsSolid, true, true, TdePathOperation::poStrokeAndFillPath, "b*"},
        {TPenStyle::psClear, TBrushStyle::bsSolid, false, false, TdePathOperation::poStrokeAndFillPath, "F"},
        {TPenStyle::psClear, TBrushStyle::bsSolid, true, false, TdePathOperation::poStrokeAndFillPath, "f"},
        {TPenStyle::psClear, TBrushStyle::bsSolid, true, true, TdePathOperation::poStrokeAndFillPath, "f*"},
        {TPenStyle::psSolid, TBrushStyle::bsClear, true, true, TdePathOperation::poStrokeAndFillPath, "s"},
        {TPenStyle::psSolid, TBrushStyle::bsClear, false, false, TdePathOperation::poStrokeAndFillPath, "S"},
        {TPenStyle::psSolid, TBrushStyle::bsSolid, false, false, TdePathOperation::poStrokePath, "S"},
        {TPenStyle::psSolid, TBrushStyle::bsSolid, true, false, TdePathOperation::poStrokePath, "s"},
        {TPenStyle::psSolid, TBrushStyle::bsSolid, false, true, TdePathOperation::poFillPath, "h f*"},
    };
    for (const Case &c : cases) {
        page.BeginPage();
        pen.Style = c.penStyle;
        brush.Style = c.brushStyle;
        Path(TdePathOperation::poBeginPath);
        DrawLineShape(page, pen, 0, 0, 96, 0);
        DrawLineShape(page, pen, 96, 0, 96, 96);
        if (c.closeFigure)
            Path(TdePathOperation::poCloseFigure);
        Path(c.op, c.evenOdd);
        const std::string text = Text();
        EXPECT_EQ(text.substr(text.size() - std::string(c.expected).size() - 3), std::string(" ") + c.expected + CRLF)
            << c.expected;
    }
    // The state prefix: fill colour alone without a pen, stroke alone without a brush.
    EXPECT_EQ(Text().substr(0, 24), "[]0 d 3.0000 w 0.0000 0.");
}

TEST_F(PdfPaths, CloseFigureThenEndPathLeavesTheFigureOpen)
{
    Path(TdePathOperation::poBeginPath);
    DrawLineShape(page, pen, 0, 0, 96, 0);
    Path(TdePathOperation::poCloseFigure);
    EXPECT_TRUE(page.FIsPathClosed);
    EXPECT_TRUE(page.FFirstPoint);
    Path(TdePathOperation::poEndPath);
    Path(TdePathOperation::poStrokePath);
    EXPECT_EQ(Text().substr(Text().size() - 4), " S" + CRLF);
}

TEST_F(PdfPaths, AbortDropsThePath)
{
    Path(TdePathOperation::poBeginPath);
    DrawLineShape(page, pen, 0, 0, 96, 0);
    Path(TdePathOperation::poAbortPath);
    EXPECT_EQ(Text(), " n " + CRLF);
    EXPECT_EQ(page.FPathStatus, TdePathStatus::psNoPath);
    // Shapes paint again after the abort.
    DrawLineShape(page, pen, 0, 0, 96, 0);
    EXPECT_NE(Text().find(" S" + CRLF + "Q"), std::string::npos);
}

TEST_F(PdfPaths, PolyDrawOnlyInsideAPathBracket)
{
    TdePolyDrawItem item;
    item.NoPoints = 8;
    item.SetPoints();
    item.Operations = {6, 2, 4, 4, 5, 3, 5, 4};
    for (int i = 0; i < 8; ++i)
        item.Points[i] = {i * 12.0, i * 12.0};
    RenderPolyDrawItem(page, item);
    EXPECT_EQ(page.FPath, "");
    EXPECT_EQ(Text(), "");

    Path(TdePathOperation::poBeginPath);
    RenderPolyDrawItem(page, item);
    // Move, line, a Bezier that closes the figure, a closing line, a lone
    // closing Bezier point (skipped) and an incomplete Bezier (dropped).
    EXPECT_EQ(page.FPath, "0.0000 72.0000 m " + CRLF + "9.0000 63.0000 l " + CRLF +
                              "18.0000 54.0000 27.0000 45.0000 36.0000 36.0000 c " + "45.0000 27.0000 l " + CRLF);
    EXPECT_TRUE(page.FIsPathClosed);
}

TEST_F(PdfPaths, ClipRectanglesOpenAGroupThatARestoreCloses)
{
    Clip({{0, 0, 96, 96}, {0, 0, 48, 48}, {48, 48, 96, 96}}, ClipModeIntersect);
    const std::string figure1 = "0.0000 72.0000 m " + CRLF + "36.0000 72.0000 l " + CRLF + "36.0000 36.0000 l " +
                                CRLF + "0.0000 36.0000 l " + CRLF + "0.0000 72.0000 l " + CRLF;
    const std::string figure2 = "36.0000 36.0000 m " + CRLF + "72.0000 36.0000 l " + CRLF + "72.0000 0.0000 l " +
                                CRLF + "36.0000 0.0000 l " + CRLF + "36.0000 36.0000 l " + CRLF;
    EXPECT_EQ(Text(), " q " + figure1 + figure2 + " W* n " + CRLF);
    EXPECT_TRUE(page.FIsClipState());
    DrawLineShape(page, pen, 0, 0, 96, 0); // held by the group: no save of its own
    EXPECT_EQ(Text().find("q ["), std::string::npos);
    Clip({}, ClipModeIntersect, true);
    EXPECT_EQ(Text().substr(Text().size() - 5), " Q " + CRLF);
    EXPECT_FALSE(page.FIsClipState());

    // Nothing to restore: nothing written.
    page.BeginPage();
    Clip({}, ClipModeIntersect, true);
    EndOfFigure(true);
    EndOfFigure(false);
    EXPECT_EQ(Text(), "");

    // Replace opens a group without a clipping path; one rectangle is the
    // clip itself.
    Clip({{0, 0, 96, 96}}, ClipModeReplace);
    EXPECT_EQ(Text(), " q " + CRLF);
    Clip({{0, 0, 48, 48}}, ClipModeIntersect); // one rectangle inside a group: nothing
    EXPECT_EQ(Text(), " q " + CRLF);
    EndOfFigure(true);
    EXPECT_EQ(Text(), " q " + CRLF + " Q ");
}

// Each group opened is one "q"; closing writes one "Q" for each, so nested
// intersections and modes that cannot clip leave saves and restores balanced.
TEST_F(PdfPaths, NestedAndUnknownClipGroupsStayBalanced)
{
    const std::vector<TRect> two = {{0, 0, 96, 96}, {0, 0, 48, 48}, {48, 48, 96, 96}};
    Clip(two, ClipModeIntersect);
    Clip(two, ClipModeIntersect);
    EXPECT_EQ(page.ClipDepth(), 2);
    Clip({}, ClipModeIntersect, true);
    EXPECT_EQ(Text().substr(Text().size() - 10), " Q " + CRLF + " Q " + CRLF);

    for (std::uint32_t mode : {2u, 3u, 4u}) {
        page.BeginPage();
        Clip(two, mode);
        Path(TdePathOperation::poBeginPath);
        DrawRectangleShape(page, pen, nullptr, 0, 0, 96, 48);
        Path(TdePathOperation::poEndPath);
        Path(TdePathOperation::poSelectClipPath, false, mode);
        EXPECT_EQ(Text(), "") << "mode " << mode;
        EXPECT_FALSE(page.FIsClipState());
        EXPECT_EQ(page.FPathStatus, TdePathStatus::psNoPath);
    }
}

TEST_F(PdfPaths, ClipPathsCloseTheirFigureAndIntersect)
{
    Path(TdePathOperation::poBeginPath);
    DrawLineShape(page, pen, 0, 0, 96, 0);
    DrawLineShape(page, pen, 96, 0, 96, 96);
    Path(TdePathOperation::poCloseFigure);
    Path(TdePathOperation::poSelectClipPath, false, ClipModeReplace);
    EXPECT_EQ(Text(), CRLF + " q " + CRLF + "0.0000 72.0000 m 72.0000 72.0000 l 72.0000 0.0000 l 0.0000 72.0000 l " +
                          " W* n " + CRLF);
    EXPECT_TRUE(page.FIsClipPath);
    EXPECT_TRUE(page.FIsClipState());

    // A second clip path intersects with the non-zero rule.
    Path(TdePathOperation::poBeginPath);
    DrawEllipseShape(page, pen, nullptr, 0, 0, 96, 96);
    Path(TdePathOperation::poEndPath);
    Path(TdePathOperation::poSelectClipPath, false, ClipModeIntersect);
    EXPECT_NE(Text().find(" c  W n " + CRLF), std::string::npos);
    EXPECT_EQ(page.ClipDepth(), 2);
}

} // namespace
} // namespace tessaran
