#include "platform/TextFile.h"

#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaran {
namespace {

TEST(TextFile, LinesReadWithEitherBreakAndConvertFromCodePage1252)
{
    std::istringstream in("first\r\nsecond\n\xB0" "C\r\nlast");
    std::vector<std::string> lines;
    while (HasAnotherTextLine(in))
        lines.push_back(ReadTextLine(in));
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "\u00B0C", "last"}));
    EXPECT_EQ(ReadTextLine(in), "");
}

TEST(TextFile, LinesWriteInCodePage1252WithCrLfAndReportFailure)
{
    std::ostringstream out;
    WriteTextLine(out, "20 \u00B0C");
    EXPECT_EQ(out.str(), "20 \xB0" "C\r\n");
    std::ostringstream failing;
    failing.setstate(std::ios::badbit);
    EXPECT_THROW(WriteTextLine(failing, "x"), EStreamError);
}

TEST(TextFile, CutCountsCodePageCharactersNotUtf8Bytes)
{
    EXPECT_EQ(CutToShortString("\u00B0\u00B0\u00B0", 2), "\u00B0\u00B0");
    EXPECT_EQ(CutToShortString("abc", 5), "abc");
    EXPECT_EQ(CutToShortString("abc", 0), "");
}

} // namespace
} // namespace tessaran
