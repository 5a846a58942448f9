#include <random>

#include <gtest/gtest.h>

#include "docexport/TrueType_File.h"
#include "platform/Font_Engine.h"
#include "platform/Font_Services.h"

namespace tessaran {
namespace {

std::vector<std::uint8_t> DejaVu() { return ReadFontFileBytes(FindFontFile("DejaVu Sans", false, false)); }

std::uint32_t U32(const std::vector<std::uint8_t> &d, std::size_t at)
{
    return (std::uint32_t(d[at]) << 24) | (std::uint32_t(d[at + 1]) << 16) | (std::uint32_t(d[at + 2]) << 8) | d[at + 3];
}

// Every table's checksum and the file's adjustment agree with the bytes.
void ExpectChecksums(const std::vector<std::uint8_t> &font)
{
    const TTrueTypeFile file(font, 0);
    ASSERT_TRUE(file.Valid());
    for (const auto &table : file.Tables()) {
        std::vector<std::uint8_t> bytes(font.begin() + table.Offset, font.begin() + table.Offset + table.Length);
        if (table.Tag == "head")
            std::fill(bytes.begin() + 8, bytes.begin() + 12, 0);
        EXPECT_EQ(TrueTypeChecksum(bytes.data(), bytes.size()), table.Checksum) << table.Tag;
    }
    EXPECT_EQ(TrueTypeChecksum(font.data(), font.size()), 0xB1B0AFBAu);
}

TEST(TrueTypeFile, SubsetKeepsNumbersOutlinesAndComponentsAtEveryDepth)
{
    const TTrueTypeFile source(DejaVu(), 0);
    ASSERT_TRUE(source.Valid());
    const auto map = source.UnicodeMap();
    // A composite whose components are themselves composite.
    const int deep = map.at(0x01D5);
    const auto components = source.Components(deep);
    ASSERT_FALSE(components.empty());
    bool nested = false;
    for (auto c : components)
        nested = nested || !source.Components(c).empty();
    ASSERT_TRUE(nested);

    const int last = source.NumGlyphs() - 1;
    std::set<int> keep{map.at('A'), last};
    // The subset writer follows components itself only through the font
    // object; here the caller names the whole tree.
    std::vector<int> pending{deep};
    while (!pending.empty()) {
        const int g = pending.back();
        pending.pop_back();
        if (keep.insert(g).second)
            for (auto c : source.Components(g))
                pending.push_back(c);
    }
    const std::vector<std::uint8_t> subset = source.Write(keep, false, true);
    ExpectChecksums(subset);
    const TTrueTypeFile result(subset, 0);
    EXPECT_EQ(result.NumGlyphs(), source.NumGlyphs());
    EXPECT_EQ(result.Tables().size(), 10u);
    for (int g : keep) {
        const auto a = source.GlyphRange(g), b = result.GlyphRange(g);
        ASSERT_EQ(a.second - a.first, b.second - b.first) << g;
        EXPECT_TRUE(std::equal(source.Data().begin() + a.first, source.Data().begin() + a.second,
                               result.Data().begin() + b.first))
            << g;
    }
    EXPECT_EQ(result.GlyphRange(map.at('B')).second, 0u);
    EXPECT_LT(subset.size(), source.Data().size() / 4);
}

TEST(TrueTypeFile, CollectionMemberIsWrittenAlone)
{
    // A collection of one member, built around the plain font.
    const std::vector<std::uint8_t> plain = DejaVu();
    std::vector<std::uint8_t> ttc = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 16};
    std::vector<std::uint8_t> moved = plain;
    const int tables = (moved[4] << 8) | moved[5];
    for (int i = 0; i < tables; ++i) {
        const std::size_t at = 12 + 16 * static_cast<std::size_t>(i) + 8;
        const std::uint32_t offset = U32(moved, at) + 16;
        for (int k = 0; k < 4; ++k)
            moved[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(offset >> (24 - 8 * k));
    }
    ttc.insert(ttc.end(), moved.begin(), moved.end());
    const TTrueTypeFile member(ttc, 0);
    ASSERT_TRUE(member.IsCollection());
    ASSERT_TRUE(member.Valid());
    EXPECT_EQ(member.DirectoryOffset(), 16u);
    const std::vector<std::uint8_t> alone = member.Write({}, true, false);
    ExpectChecksums(alone);
    const TTrueTypeFile result(alone, 0);
    EXPECT_FALSE(result.IsCollection());
    EXPECT_EQ(result.Tables().size(), TTrueTypeFile(plain, 0).Tables().size());
    EXPECT_EQ(result.UnicodeMap(), TTrueTypeFile(plain, 0).UnicodeMap());
    EXPECT_FALSE(TTrueTypeFile(ttc, 1).Valid());
}

TEST(TrueTypeFile, DamagedFontsAreReadWithinTheirBytes)
{
    const std::vector<std::uint8_t> plain = DejaVu();
    const TTrueTypeFile source(plain, 0);
    // Damage the directory, the head, loca and the first glyphs.
    std::vector<std::size_t> hot;
    for (std::size_t i = 0; i < 12 + 16 * source.Tables().size(); ++i)
        hot.push_back(i);
    for (const char *tag : {"head", "loca", "cmap", "maxp", "hhea"})
        if (const auto *t = source.Find(tag))
            for (std::size_t i = 0; i < std::min<std::size_t>(t->Length, 600); ++i)
                hot.push_back(t->Offset + i);
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> damaged = plain;
        for (int k = 0; k < 8; ++k)
            damaged[hot[random() % hot.size()]] = static_cast<std::uint8_t>(random());
        if (round % 3 == 0)
            damaged.resize(random() % damaged.size());
        const TTrueTypeFile font(damaged, 0);
        if (!font.Valid())
            continue;
        font.UnicodeMap();
        for (int g = 0; g < std::min(font.NumGlyphs(), 50); ++g)
            font.Components(g);
        font.Write({1, 2, 3, 36}, false, true);
    }
    EXPECT_FALSE(TTrueTypeFile({1, 2, 3}, 0).Valid());
}

} // namespace
} // namespace tessaran
