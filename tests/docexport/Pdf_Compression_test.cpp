#include "docexport/Pdf_Compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace tessaran {
namespace {

std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t> &data, std::size_t expected)
{
    std::vector<std::uint8_t> out(expected + 16);
    uLongf outLen = static_cast<uLongf>(out.size());
    int rc = uncompress(out.data(), &outLen, data.data(), static_cast<uLong>(data.size()));
    EXPECT_EQ(rc, Z_OK);
    out.resize(outLen);
    return out;
}

std::vector<std::uint8_t> RandomBytes(std::size_t n)
{
    std::mt19937 gen(7);
    std::vector<std::uint8_t> bytes(n);
    for (auto &b : bytes)
        b = static_cast<std::uint8_t>(gen());
    return bytes;
}

TEST(PdfCompression, EveryLevelWritesZlibDataOfThatLevel)
{
    // The second header byte carries zlib's level class: 01 fastest,
    // 9C default, DA best.
    struct Case {
        TdeCompressionLevel level;
        std::uint8_t flagByte;
    } cases[] = {
        {TdeCompressionLevel::clFastest, 0x01},
        {TdeCompressionLevel::clNormal, 0x9C},
        {TdeCompressionLevel::clMaxCompress, 0xDA},
    };
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "0.0000 0.0000 1.0000 RG 10.0000 20.0000 m 30.0000 40.0000 l S\r\n";
    TMemoryStream source(std::vector<std::uint8_t>(text.begin(), text.end()));
    for (const Case &c : cases) {
        TMemoryStream dest;
        dest.WriteBuffer("xyz", 3); // data goes after what the destination holds
        std::int64_t n = WriteStreamData(source, dest, true, c.level);
        ASSERT_EQ(n, dest.Size() - 3);
        std::vector<std::uint8_t> zdata(dest.Bytes().begin() + 3, dest.Bytes().end());
        EXPECT_EQ(zdata[0], 0x78);
        EXPECT_EQ(zdata[1], c.flagByte);
        EXPECT_EQ(Inflate(zdata, text.size()), source.Bytes());
    }
}

TEST(PdfCompression, WithoutCompressionTheBytesAreCopied)
{
    TMemoryStream source(std::vector<std::uint8_t>{1, 2, 3, 4});
    TMemoryStream dest;
    EXPECT_EQ(WriteStreamData(source, dest, false, TdeCompressionLevel::clMaxCompress), 4);
    EXPECT_EQ(dest.Bytes(), source.Bytes());
}

TEST(PdfCompression, EmptyInputStillGivesACompleteStream)
{
    TMemoryStream dest;
    {
        TCompressionStream z(TCompressionLevel::clMax, dest);
        EXPECT_EQ(z.CompressionRate(), 0.0f);
    } // finished by the destructor
    ASSERT_GT(dest.Size(), 2);
    EXPECT_TRUE(Inflate(dest.Bytes(), 0).empty());
}

TEST(PdfCompression, ProgressIsReportedOncePerFullBuffer)
{
    // Random bytes do not shrink: 300000 of them fill two 128 KB buffers.
    std::vector<std::uint8_t> data = RandomBytes(300000);
    TMemoryStream dest;
    int calls = 0;
    TCompressionStream z(dest, TCompressionLevel::clFastest);
    z.OnProgress = [&](TCompressionStream &sender) {
        EXPECT_EQ(&sender, &z);
        ++calls;
    };
    z.Write(data.data(), 100000);
    z.Write(data.data() + 100000, 200000);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(dest.Size(), 2 * static_cast<std::int64_t>(TCompressionStream::BufferSize));
    EXPECT_EQ(z.Position(), 300000);
    z.Finish();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(Inflate(dest.Bytes(), data.size()), data);
    EXPECT_LT(z.CompressionRate(), 0.0f); // random data grows a little
}

TEST(PdfCompression, ReadingSeekingAndBadLevelsRaise)
{
    TMemoryStream dest;
    TCompressionStream z(TCompressionLevel::clDefault, dest);
    char c;
    EXPECT_THROW(z.ReadBuffer(&c, 1), EZCompressionError);
    EXPECT_THROW(z.Seek(0), EZCompressionError);
    try {
        TCompressionStream bad(static_cast<TCompressionLevel>(42), dest);
        FAIL() << "level 42 accepted";
    } catch (const EZCompressionError &e) {
        EXPECT_STREQ(e.what(), "stream error");
    }
    TMemoryStream source(std::vector<std::uint8_t>{1});
    EXPECT_THROW(WriteStreamData(source, dest, true, static_cast<TdeCompressionLevel>(3)), EZCompressionError);
}

} // namespace
} // namespace tessaran
