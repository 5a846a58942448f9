#include "docexport/Pdf_Object_Writer.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

std::string Text(const TMemoryStream &stream) { return std::string(stream.Bytes().begin(), stream.Bytes().end()); }

TEST(PdfObjectWriter, NumbersHaveFourDecimalsAndAPoint)
{
    struct Case {
        Extended value;
        const char *text;
    } cases[] = {
        {0, "0.0000"},           {1, "1.0000"},           {0.5, "0.5000"},         {-12.25, "-12.2500"},
        {1234567.125, "1234567.1250"}, {-0.00001, "0.0000"}, {841.88976, "841.8898"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatPDFNumber(c.value), c.text);
}

TEST(PdfObjectWriter, ObjectsAreNumberedFromSixAndWrappedByKind)
{
    TMemoryStream out;
    out.WriteBuffer("0123456789", 10);
    TdePDFObjectWriter writer;
    writer.Begin(out);
    EXPECT_EQ(writer.NewObjectNumber(), 6);
    EXPECT_EQ(writer.NewObjectNumber(), 7);
    writer.WriteObject("1234", 8, true);
    writer.WriteObject("/Type/Pages/Count 0/Kids []\r\n", 2, true);
    EXPECT_EQ(Text(out), "0123456789"
                         "8 0 obj\r\n1234\r\nendobj\r\n"
                         "2 0 obj\r\n<<\r\n/Type/Pages/Count 0/Kids []\r\n>>\r\nendobj\r\n");
    EXPECT_TRUE(writer.IsWritten(8));
    EXPECT_FALSE(writer.IsWritten(6));
    EXPECT_EQ(TdePDFObjectWriter::FormatXRefEntry(21, 0, 'n'), "0000000021 00000 n");
}

TEST(PdfObjectWriter, StreamLengthIsTheBytesBetweenTheKeywords)
{
    TMemoryStream content;
    content.WriteBuffer("q 1 0 0 1 0 0 cm\r\n\r\n\r\n", 22);
    for (bool compress : {false, true}) {
        TMemoryStream out;
        TdePDFObjectWriter writer;
        writer.Begin(out);
        TdeCompression compression;
        compression.Enabled = compress;
        writer.WriteStreamWithLengthObject(7, "/Length 8 0 R\r\n", 8, content, compression);
        std::string text = Text(out);
        std::size_t start = text.find("stream\r\n") + 8;
        std::size_t end = text.find("\r\nendstream\r\nendobj\r\n8 0 obj\r\n");
        ASSERT_NE(end, std::string::npos);
        std::string length = std::to_string(end - start);
        EXPECT_EQ(text.substr(end + 30), length + "\r\nendobj\r\n");
        if (!compress) {
            EXPECT_EQ(length, "22");
        }
    }
}

TEST(PdfObjectWriter, CrossReferenceTableAndTrailer)
{
    TMemoryStream out;
    TdePDFObjectWriter writer;
    writer.Begin(out);
    writer.Write("%PDF-1.4\r\n");
    for (int n = 1; n <= 5; ++n)
        writer.WriteObject("null", n, true);
    int page = writer.NewObjectNumber();
    writer.NewObjectNumber(); // allocated, never written
    writer.WriteObject("null", page, true);
    std::int64_t xref = out.Size();
    writer.WriteXRefAndTrailer("/Root 1 0 R/Info 3 0 R/Size 8");
    std::string tail = Text(out).substr(static_cast<std::size_t>(xref));
    EXPECT_EQ(tail, "xref\r\n0 8\r\n"
                    "0000000000 65535 f\r\n"
                    "0000000010 00000 n\r\n"
                    "0000000033 00000 n\r\n"
                    "0000000056 00000 n\r\n"
                    "0000000079 00000 n\r\n"
                    "0000000102 00000 n\r\n"
                    "0000000125 00000 n\r\n"
                    "0000000000 00000 f\r\n"
                    "trailer\r\n<<\r\n/Root 1 0 R/Info 3 0 R/Size 8\r\n>>\r\nstartxref\r\n" +
                        std::to_string(xref) + "\r\n%%EOF");
}

} // namespace
} // namespace tessaran
