#include "docexport/Pdf_Outlines.h"

#include <gtest/gtest.h>

#include <map>

namespace tessaran {
namespace {

// The text of every object written, by number.
std::map<int, std::string> Objects(const TMemoryStream &out)
{
    std::string text(out.Bytes().begin(), out.Bytes().end());
    std::map<int, std::string> objects;
    std::size_t at = 0;
    while ((at = text.find(" 0 obj\r\n", at)) != std::string::npos) {
        std::size_t start = text.rfind('\n', at);
        start = start == std::string::npos ? 0 : start + 1;
        int number = std::stoi(text.substr(start, at - start));
        std::size_t end = text.find("endobj", at);
        objects[number] = text.substr(at + 8, end - at - 8);
        at = end;
    }
    return objects;
}

TdeOutlineEntry Entry(const char16_t *title, int parent, int page, std::string url = "")
{
    TdeOutlineEntry e;
    e.Title = title;
    e.ParentNode = parent;
    e.PageNumber = page;
    e.Y = 96;
    e.URL = std::move(url);
    return e;
}

TdeOutlinePages TwoPages()
{
    TdeOutlinePages pages;
    pages.PageObject = [](int page) { return page == 1 ? 20 : page == 2 ? 30 : 0; };
    pages.PixelToPointX = [](Extended x) { return x * 0.75; };
    pages.PixelToPointY = [](int, Extended y) { return 842 - y * 0.75; };
    return pages;
}

TEST(PdfOutlines, TreeOfItemsWithCountsLinksAndDestinations)
{
    const std::vector<TdeOutlineEntry> entries = {
        Entry(u"A", -1, 1),        Entry(u"A1", 0, 2),  Entry(u"A1a", 1, 2), Entry(u"A1b", 1, 2),
        Entry(u"A2", 0, 1, " http://x.org "), Entry(u"B", -1, 9), Entry(u"C", -1, 1),
    };
    TMemoryStream out;
    TdePDFObjectWriter writer;
    writer.Begin(out);
    const int root = writer.NewObjectNumber();
    ASSERT_TRUE(HasOutlineRoot(entries));
    WriteOutlines(writer, root, entries, TwoPages());
    auto objects = Objects(out);
    EXPECT_EQ(writer.LastObjNo(), 13);
    for (int n = 6; n <= 13; ++n)
        EXPECT_TRUE(writer.IsWritten(n)) << n;
    EXPECT_EQ(objects[6], "<<\r\n/First 7 0 R/Last 9 0 R/Count 3\r\n>>\r\n");
    EXPECT_EQ(objects[7], "<<\r\n/Title <FEFF0041>/Dest [20 0 R /XYZ 0.0000 770.0000 null]/Parent 6 0 R"
                          "/Next 8 0 R/First 10 0 R/Last 11 0 R/Count 2\r\n>>\r\n");
    // A page that was not written: no destination, still in the tree.
    EXPECT_EQ(objects[8], "<<\r\n/Title <FEFF0042>/Parent 6 0 R/Prev 7 0 R/Next 9 0 R\r\n>>\r\n");
    EXPECT_EQ(objects[10], "<<\r\n/Title <FEFF00410031>/Dest [30 0 R /XYZ 0.0000 770.0000 null]/Parent 7 0 R"
                           "/Next 11 0 R/First 12 0 R/Last 13 0 R/Count -2\r\n>>\r\n");
    // A link opens its address and has no destination.
    EXPECT_EQ(objects[11], "<<\r\n/Title <FEFF00410032>/A <</S /URI /URI<687474703A2F2F782E6F7267> >>"
                           "/Parent 7 0 R/Prev 10 0 R\r\n>>\r\n");
}

TEST(PdfOutlines, TitlesAreUtf16Hexadecimal)
{
    EXPECT_EQ(EncodeInfoString(u"A"), "FEFF0041");
    EXPECT_EQ(EncodeInfoString(u"\u00e9\u20ac"), "FEFF00E920AC");
    EXPECT_EQ(EncodeInfoString(u""), "FEFF");
}

TEST(PdfOutlines, NoTopLevelItemNoOutline)
{
    EXPECT_FALSE(HasOutlineRoot({}));
    EXPECT_FALSE(HasOutlineRoot({Entry(u"orphan", 3, 1)}));
}

} // namespace
} // namespace tessaran
