#pragma once
// Reading and rewriting TrueType font files for embedding. Every offset
// and length the file gives is checked against its size: a damaged font
// reads as invalid or gives empty glyphs, never a read outside the data.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessaran {

class TTrueTypeFile {
public:
    struct Table {
        std::string Tag;
        std::uint32_t Checksum = 0;
        std::uint32_t Offset = 0;
        std::uint32_t Length = 0;
    };

    // A font file, or member faceIndex of a collection.
    TTrueTypeFile(std::vector<std::uint8_t> data, int faceIndex);

    bool Valid() const { return FValid; }
    bool IsCollection() const { return FCollection; }
    const std::vector<std::uint8_t> &Data() const { return FData; }
    // Byte offset of the face's table directory in the data.
    std::uint32_t DirectoryOffset() const { return FDirectory; }
    const std::vector<Table> &Tables() const { return FTables; }
    const Table *Find(const std::string &tag) const;

    int NumGlyphs() const { return FNumGlyphs; }
    int UnitsPerEm() const { return FUnitsPerEm; }
    bool LocaIsLong() const { return FLocaLong; }
    // Font units per glyph.
    int AdvanceWidth(int glyph) const;
    // Unicode to glyph from the (3,1) or (3,0) subtable, format 4.
    std::map<char32_t, std::uint16_t> UnicodeMap() const;
    // The glyph's bytes in glyf as [begin, end) of the data; empty when
    // the glyph has no outline or its entries are out of range.
    std::pair<std::uint32_t, std::uint32_t> GlyphRange(int glyph) const;
    // Components of a composite glyph (one level).
    std::vector<std::uint16_t> Components(int glyph) const;

    // Bounded big-endian reads at absolute positions; 0 past the end.
    std::uint16_t U16(std::uint64_t at) const;
    std::int16_t S16(std::uint64_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::uint64_t at) const;

    // A standalone font of the face's required tables (or all tables)
    // where only the glyphs in keep keep their outlines (all when keepAll).
    std::vector<std::uint8_t> Write(const std::set<int> &keep, bool keepAll, bool requiredTablesOnly) const;

private:
    std::vector<std::uint8_t> FData;
    std::vector<Table> FTables;
    std::vector<std::uint32_t> FLoca;
    std::vector<int> FAdvances;
    std::uint32_t FDirectory = 0;
    int FNumGlyphs = 0;
    int FUnitsPerEm = 1000;
    bool FLocaLong = false;
    bool FValid = false;
    bool FCollection = false;
};

// Sum of the big-endian 32-bit words of data, zero-padded to 4 bytes.
std::uint32_t TrueTypeChecksum(const std::uint8_t *data, std::size_t length);

} // namespace tessaran
