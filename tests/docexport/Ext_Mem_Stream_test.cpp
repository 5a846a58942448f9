#include <gtest/gtest.h>

#include "docexport/Ext_Mem_Stream.h"

namespace tessaran {
namespace {

TEST(TdeExtMemStream, WritesAndReadsBigEndian)
{
    TdeExtMemStream s;
    s.WriteByte(0x01);
    s.WriteShort(-2);
    s.WriteUShort(0x1234);
    s.WriteLong(-1000000);
    s.WriteULong(0xDEADBEEF);
    s.WriteString("glyf");
    s.WriteUShortArray({0x0102, 0x0304});
    s.WriteULongArray({0x05060708});
    s.WriteByteArray({9, 10});
    const std::vector<std::uint8_t> expected = {0x01, 0xFF, 0xFE, 0x12, 0x34, 0xFF, 0xF0, 0xBD, 0xC0, 0xDE,
                                                0xAD, 0xBE, 0xEF, 'g',  'l',  'y',  'f',  0x01, 0x02, 0x03,
                                                0x04, 0x05, 0x06, 0x07, 0x08, 9,    10};
    EXPECT_EQ(s.Bytes(), expected);

    s.Seek(0);
    EXPECT_EQ(s.ReadByte(), 0x01);
    EXPECT_EQ(s.ReadShort(), -2);
    EXPECT_EQ(s.ReadUShort(), 0x1234);
    EXPECT_EQ(s.ReadLong(), -1000000);
    EXPECT_EQ(s.ReadULong(), 0xDEADBEEFu);
    EXPECT_EQ(s.ReadString(4), "glyf");
}

TEST(TdeExtMemStream, ReadsPastTheEndGiveZeroFilledValuesWithoutRaising)
{
    TdeExtMemStream s;
    s.WriteByteArray({0xAB, 0xCD, 0xEF});
    s.Seek(1);
    EXPECT_EQ(s.ReadULong(), 0xCDEF0000u);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_EQ(s.ReadUShort(), 0);
    s.Seek(2);
    EXPECT_EQ(s.ReadString(10), "\xEF");
}

TEST(TdeExtMemStream, SkipBytesIsClamped)
{
    TdeExtMemStream s;
    s.WriteByteArray({1, 2, 3, 4});
    s.Seek(1);
    s.SkipBytes(10);
    EXPECT_EQ(s.Position(), 4);
    s.SkipBytes(-10);
    EXPECT_EQ(s.Position(), 0);
}

TEST(TdeExtMemStream, PadTo4Bytes)
{
    const struct {
        int size;
        int pad;
    } cases[] = {{5, 3}, {8, 0}, {0, 0}, {7, 1}, {6, 2}};
    for (const auto &c : cases) {
        TdeExtMemStream s;
        s.WriteByteArray(std::vector<std::uint8_t>(static_cast<std::size_t>(c.size), 0x55));
        s.Seek(0);
        s.PadTo4Bytes();
        EXPECT_EQ(s.Size(), c.size + c.pad) << c.size;
        EXPECT_EQ(s.PadSize(), c.pad) << c.size;
        EXPECT_EQ(s.Position(), s.Size());
        for (std::int64_t i = c.size; i < s.Size(); ++i)
            EXPECT_EQ(s.Bytes()[static_cast<std::size_t>(i)], 0);
    }
}

} // namespace
} // namespace tessaran
