#include <gtest/gtest.h>

#include "docexport/Document_Items.h"
#include "docexport/Measurement_Units.h"
#include "docexport/Wide_Strings.h"

namespace tessaran {
namespace {

TEST(TWideStrings, SetTextStrSplitsAtCrLfAndNul)
{
    const struct {
        WideString text;
        std::vector<WideString> lines;
    } cases[] = {
        {u"a\r\nb\n\nc", {u"a", u"b", u"", u"c"}},
        {u"a\r\rb", {u"a", u"", u"b"}},
        {u"one\r\n", {u"one"}},
        {WideString(u"x\0y", 3), {u"x"}},
        {u"", {}},
        {u"\n", {u""}},
    };
    for (const auto &c : cases) {
        TWideStrings list;
        list.Add(u"old");
        list.SetTextStr(c.text);
        EXPECT_EQ(list.Strings(), c.lines);
    }
}

TEST(TWideStrings, OutOfRangeIndexesAreIgnored)
{
    TWideStrings list;
    EXPECT_EQ(list.Add(u"a"), 0);
    EXPECT_EQ(list.Add(u"b"), 1);
    EXPECT_EQ(list.Get(-1), u"");
    EXPECT_EQ(list.Get(2), u"");
    list.Put(5, u"x");
    list.Insert(-1, u"x");
    list.Insert(3, u"x");
    list.Delete(2);
    list.Delete(-1);
    EXPECT_EQ(list.Strings(), (std::vector<WideString>{u"a", u"b"}));
    list.Put(2, u"c");   // index = Count appends
    list.Insert(0, u"z"); // shifts up
    list.Put(1, u"A");
    list.Delete(3);
    EXPECT_EQ(list.Strings(), (std::vector<WideString>{u"z", u"A", u"b"}));
    EXPECT_EQ(list.IndexOf(u"a"), -1);
    EXPECT_EQ(list.IndexOfIgnoreCase(u"a"), 1);
    EXPECT_EQ(list.IndexOfIgnoreCase(u"Z"), 0);
}

TEST(TWideStrings, LoadFromStreamReadsUtf16FromThePosition)
{
    TMemoryStream stream;
    stream.WriteByte(0xEE); // skipped: reading starts at the position
    for (char16_t c : WideString(u"h\u00e9\r\nw"))
        stream.WriteInt16(static_cast<std::int16_t>(c));
    stream.WriteByte(0x41); // odd trailing byte: not a character
    stream.Seek(1);
    TWideStrings list;
    list.LoadFromStream(stream);
    EXPECT_EQ(list.Strings(), (std::vector<WideString>{u"h\u00e9", u"w"}));
}

TEST(DocumentItems, ImageFromReversedRectangleIsNormalised)
{
    TdeImageItem item(MakeDocRect(300, 250, 100, 50));
    EXPECT_EQ(item.X, 100);
    EXPECT_EQ(item.Y, 50);
    EXPECT_EQ(item.Width, 200);
    EXPECT_EQ(item.Height, 200);
    EXPECT_EQ(item.DisplayRect, MakeDocRect(100, 50, 300, 250));
    TdeImageStream stream(MakeDocRect(10, 10, 0, 0));
    EXPECT_EQ(stream.Width, 10);
    EXPECT_EQ(stream.Stream.Size(), 0);
}

TEST(DocumentItems, ShapeBrushOnlyWhenFilled)
{
    TdeShapeItem outline(false, TdeShapeType::stRectangle);
    EXPECT_EQ(outline.Brush(), nullptr);
    TdeBrush red;
    red.Color = clRed;
    outline.SetBrush(red);
    EXPECT_EQ(outline.Brush(), nullptr);

    TdeShapeItem filled(true, TdeShapeType::stEllipse);
    ASSERT_NE(filled.Brush(), nullptr);
    filled.SetBrush(red);
    EXPECT_EQ(filled.Brush()->Color, clRed);
    filled.SetPoints({{1, 2}, {3, 4}});
    EXPECT_EQ(filled.NoPoints(), 2);
    EXPECT_EQ(filled.PenJoinStyle, TdePenJoinStyle::pjsNone);
}

TEST(DocumentItems, TextClipRectResetWhenClippingIsSwitchedOff)
{
    TdeTextItem item;
    EXPECT_FALSE(item.IsClipRect());
    item.SetClipRect(MakeDocRect(1, 2, 3, 4));
    item.SetIsClipRect(true);
    EXPECT_EQ(item.ClipRect(), MakeDocRect(1, 2, 3, 4));
    item.SetIsClipRect(false);
    EXPECT_EQ(item.ClipRect(), TdeRect{});
    EXPECT_EQ(item.Alignment, TdeHAlignment::haLeft);
}

TEST(DocumentItems, PolyPolygonCounts)
{
    TdePolyPolygonItem item;
    item.NoPoly = 2;
    item.SetNoPoints();
    item.NoPoints[0] = 7;
    item.NoPoints[1] = 3;
    item.NoPoints[2] = 4;
    item.SetPoints();
    EXPECT_EQ(item.NoPoints, (std::vector<int>{7, 3, 4}));
    EXPECT_EQ(item.Points.size(), 7u);
    item.Points[6] = {5, 6};
    TdePoint p{-1, -1};
    item.GetPoints(7, p);
    EXPECT_EQ(p, (TdePoint{-1, -1}));
    item.GetPoints(6, p);
    EXPECT_EQ(p, (TdePoint{5, 6}));
}

TEST(DocumentItems, ClipRectsAndPathBrushes)
{
    TdeClipItem clip;
    clip.SetRects(2);
    clip.ClipRects()[1] = TRect{1, 2, 3, 4};
    EXPECT_EQ(clip.NoRects(), 2);
    EXPECT_EQ(clip.GetRects(1), (TRect{1, 2, 3, 4}));
    EXPECT_EQ(clip.GetRects(2), TRect{});

    TdePathItem path;
    EXPECT_EQ(path.Brush(), nullptr);
    EXPECT_EQ(path.Pen(), nullptr);
    TdePen pen;
    pen.Width = 3;
    path.SetPen(pen);
    ASSERT_NE(path.Pen(), nullptr);
    EXPECT_EQ(path.Pen()->Width, 3);

    TdePolyDrawItem draw;
    draw.NoPoints = 3;
    draw.SetPoints();
    EXPECT_EQ(draw.Operations.size(), 3u);
    EXPECT_EQ(draw.Points.size(), 3u);
}

TEST(DocumentItems, PageItemHoldsNativePageSettings)
{
    TdePageItem page(nullptr);
    TdePageSettings inches;
    inches.SetNativeFactor(ScreenPixelsPerInch);
    inches.SetLeftMargin(1);
    page.SetSettings(inches);
    EXPECT_DOUBLE_EQ(page.Settings().LeftMargin(), ScreenPixelsPerInch);
    EXPECT_EQ(page.OffsetY, 0);
}

} // namespace
} // namespace tessaran
