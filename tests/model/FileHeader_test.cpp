#include "model/FileHeader.h"

#include "Byte_Fixture.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaran {
namespace {

using test::ByteFixture;

TEST(FileHeader, BinaryRecordIs83BytesAndReadsBackFieldForField)
{
    ByteFixture fixture;
    fixture.Short("7.40", 24).Short("Plant room.trz", 40).Short("2026-12-10", 16);
    ASSERT_EQ(fixture.Size(), 83u);
    ASSERT_EQ(TFileHeader::RecordSize, 83);

    TMemoryStream stream = fixture.Stream();
    TFileHeader header;
    header.Load(stream);
    EXPECT_EQ(header.VersionReference, "7.40");
    EXPECT_EQ(header.Filename, "Plant room.trz");
    EXPECT_EQ(header.FileDate, "2026-12-10");
    EXPECT_EQ(stream.Position(), 83);

    TMemoryStream written;
    header.Save(written);
    ASSERT_EQ(written.Size(), 83);
    written.Seek(0);
    TFileHeader again;
    again.Load(written);
    EXPECT_EQ(again.VersionReference, header.VersionReference);
    EXPECT_EQ(again.Filename, header.Filename);
    EXPECT_EQ(again.FileDate, header.FileDate);
}

TEST(FileHeader, DamagedBinaryRecordRaisesAndLeavesHeaderCleared)
{
    ByteFixture tooLong;
    tooLong.Short("7.40", 24).Short("a", 40).Short("", 16);
    tooLong.bytes[25] = 41; // file name length above its 40 characters
    ByteFixture truncated;
    truncated.Short("7.40", 24).Short("a", 40);

    for (const ByteFixture *fixture : {&tooLong, &truncated}) {
        TFileHeader header;
        header.SetData("6.00", "old", "date");
        TMemoryStream stream = fixture->Stream();
        EXPECT_THROW(header.Load(stream), EStreamError);
        EXPECT_EQ(header.VersionReference, "");
        EXPECT_EQ(header.Filename, "");
    }
}

TEST(FileHeader, SetDataPointsTheVersionAndCutsTexts)
{
    TFileHeader header;
    header.SetData("7,40", std::string(50, 'n'), "10.12.2026 12:00:00", ',');
    EXPECT_EQ(header.VersionReference, "7.40");
    EXPECT_EQ(header.Filename, std::string(40, 'n'));
    EXPECT_EQ(header.FileDate, "10.12.2026 12:00");

    // Only the first separator is replaced, and only the locale's own.
    header.SetData("1,2,3", "", "", ',');
    EXPECT_EQ(header.VersionReference, "1.2,3");
    header.SetData("7.40", "", "", ',');
    EXPECT_EQ(header.VersionReference, "7.40");
    header.SetData(std::string(30, '9'), "", "");
    EXPECT_EQ(header.VersionReference, std::string(24, '9'));
}

TEST(FileHeader, TextLineWritesAndReadsItsThreeFields)
{
    TFileHeader header;
    header.SetData("1.02", "", "");
    std::ostringstream out;
    header.SaveToText(out);
    EXPECT_EQ(out.str(), "1.02~|~~|~\r\n");

    struct Case {
        const char *line;
        const char *version, *name, *date;
    } cases[] = {
        {"1.02~|~~|~\r\n", "1.02", "", ""},
        {"7.40~|~Pipes.trpi~|~2026-12-10\r\n", "7.40", "Pipes.trpi", "2026-12-10"},
        {"7.40~|~a~|~b~|~c\n", "7.40", "a", "b~|~c"},
        {"7.40~|~x~|~0123456789abcdefXYZ", "7.40", "x", "0123456789abcdef"},
    };
    for (const Case &c : cases) {
        std::istringstream in(c.line);
        TFileHeader read;
        read.LoadFromText(in);
        EXPECT_EQ(read.VersionReference, c.version) << c.line;
        EXPECT_EQ(read.Filename, c.name) << c.line;
        EXPECT_EQ(read.FileDate, c.date) << c.line;
    }
}

// A header line that lacks its separators is not a header of any version:
// refusing it keeps a damaged table from being read in the oldest layout.
TEST(FileHeader, LineWithoutBothSeparatorsIsRefused)
{
    for (const char *line : {"7.40\r\n", "7.40~|~name only\r\n", "", "1.02 | | \r\n"}) {
        std::istringstream in(line);
        TFileHeader header;
        header.SetData("6.00", "x", "y");
        try {
            header.LoadFromText(in);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const EFileHeaderClass &e) {
            EXPECT_STREQ(e.what(), "TFileHeader.LoadFromText Failed");
        }
        EXPECT_EQ(header.VersionReference, "");
    }
}

} // namespace
} // namespace tessaran
