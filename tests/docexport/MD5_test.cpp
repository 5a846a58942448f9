#include <string>

#include <gtest/gtest.h>

#include "docexport/Doc_Utils.h"
#include "docexport/MD5.h"
#include "platform/Stream.h"

namespace tessaran {
namespace {

std::string Hex(const MD5Digest &digest)
{
    std::string text;
    for (auto b : digest)
        text += StrToHex(std::string(1, static_cast<char>(b)));
    return text;
}

TdeByteArray1 Bytes(const std::string &text) { return TdeByteArray1(text.begin(), text.end()); }

// The test suite of RFC 1321.
const struct {
    const char *input;
    const char *digest;
} kRfc1321[] = {
    {"", "D41D8CD98F00B204E9800998ECF8427E"},
    {"a", "0CC175B9C0F1B6A831C399E269772661"},
    {"abc", "900150983CD24FB0D6963F7D28E17F72"},
    {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
    {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57EDF4A22BE3C955AC49DA2E2107B67A"},
};

TEST(TdeMD5, GetHashMatchesRfc1321AndRepeats)
{
    TdeMD5 md5;
    for (const auto &c : kRfc1321) {
        const TdeByteArray1 input = Bytes(c.input);
        EXPECT_EQ(Hex(md5.GetHash(input, static_cast<std::uint32_t>(input.size()))), c.digest) << c.input;
        EXPECT_EQ(Hex(md5.GetHash(input, static_cast<std::uint32_t>(input.size()))), c.digest) << c.input;
    }
}

TEST(TdeMD5, IncrementalUpdatesAcrossBlockBoundaries)
{
    const std::string text = kRfc1321[6].input; // 80 bytes: more than one block
    for (std::size_t split : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65}}) {
        TdeMD5 md5;
        md5.Update(text.data(), static_cast<std::uint32_t>(split), true);
        md5.Update(text.data() + split, static_cast<std::uint32_t>(text.size() - split), true);
        EXPECT_EQ(Hex(md5.Finalize()), kRfc1321[6].digest) << split;
        // Finalize clears the context.
        EXPECT_EQ(md5.Context().State[0], 0u);
        EXPECT_EQ(md5.Context().Count[0], 0u);
    }
}

TEST(TdeMD5, StreamDigestReadsFromTheStart)
{
    TMemoryStream stream;
    const std::string text = "message digest";
    stream.WriteBuffer(text.data(), text.size());
    TdeMD5 md5;
    EXPECT_EQ(Hex(md5.GetHash(stream)), "F96B697D7CB7938D525A2F31AAF161D0");
    const MD5Digest a = md5.GetHash(stream);
    const TdeByteArray1 other = Bytes("message digesT");
    EXPECT_TRUE(TdeMD5::CompareHash(a, md5.GetHash(stream)));
    EXPECT_FALSE(TdeMD5::CompareHash(a, md5.GetHash(other, 14)));
}

} // namespace
} // namespace tessaran
