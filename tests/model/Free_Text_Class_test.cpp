#include "model/Free_Text_Class.h"

#include "Byte_Fixture.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

using test::ByteFixture;

TFreeText SampleText()
{
    TFreeText text;
    text.TextStrings = {"Pump house", "Ø 150 → tank", ""};
    text.x = 120;
    text.y = -40;
    text.Color = 0x0000FF;
    text.Size = 14;
    text.Style = TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut};
    text.Angle = 90;
    return text;
}

TEST(FreeText, RecordStoresTheLinesAsUtf16AndReadsBackWhole)
{
    const TFreeText text = SampleText();
    TMemoryStream stream;
    text.Save(stream);

    const std::u16string joined = u"Pump house\r\nØ 150 → tank\r\n";
    ByteFixture expected;
    expected.Int32(static_cast<std::int32_t>(joined.size()));
    for (char16_t c : joined)
        expected.Byte(static_cast<std::uint8_t>(c & 0xFF)).Byte(static_cast<std::uint8_t>(c >> 8));
    expected.Int32(120).Int32(-40).Int32(0x0000FF).Int32(14).Byte(0x09).Int32(90);
    EXPECT_EQ(stream.Bytes(), expected.bytes);

    stream.Seek(0);
    TFreeText again;
    again.Selected = true;
    again.Load(stream, "7.40");
    EXPECT_EQ(again.TextStrings, text.TextStrings);
    EXPECT_EQ(again.x, 120);
    EXPECT_EQ(again.y, -40);
    EXPECT_EQ(again.Color, 0x0000FF);
    EXPECT_EQ(again.Size, 14);
    EXPECT_EQ(again.Style, text.Style);
    EXPECT_EQ(again.Angle, 90);
    EXPECT_FALSE(again.Selected);
}

TEST(FreeText, EmptyTextStoresLengthZeroAndNoTextBytes)
{
    TFreeText text;
    TMemoryStream stream;
    text.Save(stream);
    ByteFixture expected;
    expected.Int32(0).Int32(0).Int32(0).Int32(0).Int32(10).Byte(0).Int32(0);
    EXPECT_EQ(stream.Bytes(), expected.bytes);
}

TEST(FreeText, VersionsBeforeWideTextReadASingleByteShortString)
{
    ByteFixture fixture;
    fixture.Short("Line one\r\nCaf\xE9", 250).Int32(5).Int32(6).Int32(7).Int32(8).Byte(0x02).Int32(45);
    ASSERT_EQ(fixture.Size(), 251u + 21u);
    for (const char *version : {"5.10", "1.15", "5.1"}) {
        TMemoryStream stream = fixture.Stream();
        TFreeText text;
        text.Load(stream, version);
        EXPECT_EQ(text.TextStrings, (std::vector<std::string>{"Line one", "Café"})) << version;
        EXPECT_EQ(text.Style, TFontStyles{TFontStyle::fsItalic});
        EXPECT_EQ(text.Angle, 45);
        EXPECT_EQ(stream.Remaining(), 0);
    }
}

TEST(FreeText, DamagedRecordsRaiseAndLeaveTheTextCleared)
{
    ByteFixture hugeLength;
    hugeLength.Int32(0x7FFFFFF0).Int32(1);
    ByteFixture negativeLength;
    negativeLength.Int32(-3).Int32(1).Int32(1).Int32(1).Int32(1).Byte(0).Int32(0);
    ByteFixture truncated;
    truncated.Int32(2).Byte('h').Byte(0).Byte('i').Byte(0).Int32(1);
    ByteFixture oldTooLong;
    oldTooLong.Short("x", 250);
    oldTooLong.bytes[0] = 251;

    struct Case {
        const ByteFixture *fixture;
        const char *version;
    } cases[] = {{&hugeLength, "7.40"}, {&negativeLength, "7.40"}, {&truncated, "5.11"}, {&oldTooLong, "5.00"}};
    for (const auto &c : cases) {
        TFreeText text = SampleText();
        TMemoryStream stream = c.fixture->Stream();
        EXPECT_THROW(text.Load(stream, c.version), EStreamError);
        EXPECT_TRUE(text.TextStrings.empty());
        EXPECT_EQ(text.Size, 10);
        EXPECT_EQ(text.x, 0);
    }
}

TEST(FreeText, CopyTakesTheDataAndStartsTheDrawnCornerAtThePosition)
{
    TFreeText from = SampleText();
    from.OrigX = 3;
    from.OrigY = 4;
    from.Selected = true;
    from.xEnd = 999;
    from.yEnd = 998;
    TFreeText to;
    to.CopyFreeText(from);
    EXPECT_EQ(to.TextStrings, from.TextStrings);
    EXPECT_EQ(to.OrigX, 3);
    EXPECT_EQ(to.OrigY, 4);
    EXPECT_TRUE(to.Selected);
    EXPECT_EQ(to.xEnd, 120);
    EXPECT_EQ(to.yEnd, -40);

    to.Clear();
    EXPECT_TRUE(to.TextStrings.empty());
    EXPECT_EQ(to.Size, 10);
    EXPECT_TRUE(to.Style.Empty());
    EXPECT_FALSE(to.Selected);
}

} // namespace
} // namespace tessaran
