#include "platform/Codepage1252.h"
#include "platform/Pascal.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <limits>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessaran;

TEST(Pascal, RoundsHalfToEvenAndTruncatesTowardZero)
{
    struct Case {
        long double value;
        std::int64_t rounded, truncated;
    } cases[] = {{2.5L, 2, 2}, {3.5L, 4, 3}, {-2.5L, -2, -2}, {-3.5L, -4, -3},
                 {2.4999L, 2, 2}, {-0.6L, -1, 0}, {0.5L, 0, 0}, {1.5L, 2, 1},
                 // Beyond the range: its nearest end; not a number: 0.
                 {1e31L, INT64_MAX, INT64_MAX}, {-1.38649e31L, INT64_MIN, INT64_MIN},
                 {std::numeric_limits<long double>::quiet_NaN(), 0, 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(Round(c.value), c.rounded) << static_cast<double>(c.value);
        EXPECT_EQ(Trunc(c.value), c.truncated) << static_cast<double>(c.value);
    }
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Mod(-7, 2), -1);
}

TEST(Pascal, OneBasedArrayKeepsCapacityAndClosesGaps)
{
    OneBasedArray<int> items(3);
    EXPECT_EQ(items.Add(10), 1);
    items.Add(20);
    items.Add(30);
    EXPECT_THROW(items.Add(40), ERangeError);
    items.Delete(1);
    EXPECT_EQ(items.Count, 2);
    EXPECT_EQ(items[1], 20);
    EXPECT_EQ(items[2], 30);
    EXPECT_THROW(items[0], ERangeError);
    EXPECT_THROW(items[4], ERangeError);
    EXPECT_THROW(items.Delete(3), ERangeError);
}

TEST(Pascal, VersionTextsCompareAsStrings)
{
    EXPECT_TRUE(VersionAtLeast("6.44", "6.4"));
    EXPECT_TRUE(VersionBelow("7.4", "7.40"));
    EXPECT_TRUE(VersionAtLeast("7.40", "7.17"));
    EXPECT_TRUE(VersionBelow("1.15", "2.06"));
}

TEST(Codepage1252, RoundTripsTheHighCharacters)
{
    const std::string utf8 = "\xE2\x82\xAC 25 \xC2\xB0" "C \xC3\xA9t\xC3\xA9 \xE2\x80\x93 m\xC2\xB3";
    std::string single = Utf8ToCp1252(utf8);
    EXPECT_EQ(single, "\x80 25 \xB0" "C \xE9t\xE9 \x96 m\xB3");
    EXPECT_EQ(Cp1252ToUtf8(single), utf8);
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?"); // not in the code page
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(everyByte)), everyByte);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(utf8 + "\xF0\x9F\x98\x80")), utf8 + "\xF0\x9F\x98\x80");
}

TEST(Stream, WritesPackedLittleEndianFields)
{
    TMemoryStream stream;
    stream.WriteInt32(0x01020304);
    stream.WriteDouble(1.0);
    stream.WriteBool(true);
    stream.WriteShortString("ab", 4);
    const std::vector<std::uint8_t> expected = {0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F,
                                                1,    2,    'a',  'b',  0, 0};
    EXPECT_EQ(stream.Bytes(), expected);

    stream.Seek(0);
    EXPECT_EQ(stream.ReadInt32(), 0x01020304);
    EXPECT_EQ(stream.ReadDouble(), 1.0);
    EXPECT_TRUE(stream.ReadBool());
    EXPECT_EQ(stream.ReadShortString(4), "ab");
    EXPECT_THROW(stream.ReadByte(), EStreamError);
}

TEST(Stream, RefusesBadLengthsAndShortData)
{
    TMemoryStream longString(std::vector<std::uint8_t>{5, 'a', 'b', 'c', 'd'});
    EXPECT_THROW(longString.ReadShortString(4), EStreamError);

    TMemoryStream hugeWide(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 'a', 0});
    EXPECT_THROW(hugeWide.ReadWideString(), EStreamError);

    TMemoryStream shortInt(std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_THROW(shortInt.ReadInt32(), EStreamError);

    TMemoryStream badEnum(std::vector<std::uint8_t>{7});
    EXPECT_THROW(badEnum.ReadEnum<int>(3), EStreamError);
}

TEST(Stream, SavesAtomicallyAndKeepsTheOldFileOnFailure)
{
    std::string path = ::testing::TempDir() + "/atomic_save.bin";
    SaveFileAtomically(path, {1, 2, 3});
    EXPECT_EQ(ReadWholeFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_THROW(SaveFileAtomically(::testing::TempDir() + "/no/such/folder/x.bin", {1}), EStreamError);
    EXPECT_EQ(ReadWholeFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
}

// A save killed part way keeps the old file whole; the next save removes
// the temporary it left. Permissions stay, and a link stays a link.
TEST(Stream, AKilledSaveLeavesTheOldFileAndNoTemporary)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(::testing::TempDir()) / "killed_save";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string path = (folder / "net.trz").string();
    const std::vector<std::uint8_t> old(1000, 7), big(64 << 20, 9);
    SaveFileAtomically(path, old);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            for (;;)
                SaveFileAtomically(path, big);
        } catch (...) {
        }
        ::_exit(1);
    }
    auto temporaries = [&] {
        int count = 0;
        for (const auto &entry : fs::directory_iterator(folder))
            count += entry.path().filename().string().rfind("net.trz.tmp", 0) == 0;
        return count;
    };
    for (int i = 0; i < 5000 && temporaries() == 0; ++i)
        ::usleep(1000);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const auto afterKill = ReadWholeFile(path);
    EXPECT_TRUE(afterKill == old || afterKill == big) << afterKill.size();

    ::chmod(path.c_str(), 0640);
    const std::string link = (folder / "link.trz").string();
    fs::create_symlink("net.trz", link);
    SaveFileAtomically(link, {4, 5});
    EXPECT_EQ(temporaries(), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadWholeFile(path), (std::vector<std::uint8_t>{4, 5}));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::remove_all(folder);
}
