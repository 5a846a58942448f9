#include "docexport/TrueType_File.h"

#include <algorithm>

namespace tessaran {

namespace {

const char *const RequiredTables[] = {"cmap", "cvt ", "fpgm", "glyf", "head", "hhea", "hmtx", "loca", "maxp", "prep"};

bool IsRequired(const std::string &tag)
{
    return std::any_of(std::begin(RequiredTables), std::end(RequiredTables), [&](const char *t) { return tag == t; });
}

void PutU16(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU32(std::vector<std::uint8_t> &out, std::uint32_t value)
{
    PutU16(out, value >> 16);
    PutU16(out, value & 0xFFFF);
}

void SetU32(std::vector<std::uint8_t> &out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value >> 24);
    out[at + 1] = static_cast<std::uint8_t>(value >> 16);
    out[at + 2] = static_cast<std::uint8_t>(value >> 8);
    out[at + 3] = static_cast<std::uint8_t>(value);
}

} // namespace

std::uint32_t TrueTypeChecksum(const std::uint8_t *data, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < length ? data[i + k] : 0u);
        sum += word;
    }
    return sum;
}

std::uint16_t TTrueTypeFile::U16(std::uint64_t at) const
{
    if (at + 2 > FData.size())
        return 0;
    return static_cast<std::uint16_t>((FData[at] << 8) | FData[at + 1]);
}

std::uint32_t TTrueTypeFile::U32(std::uint64_t at) const
{
    if (at + 4 > FData.size())
        return 0;
    return (static_cast<std::uint32_t>(U16(at)) << 16) | U16(at + 2);
}

TTrueTypeFile::TTrueTypeFile(std::vector<std::uint8_t> data, int faceIndex) : FData(std::move(data))
{
    if (FData.size() < 12)
        return;
    if (U32(0) == 0x74746366) { // "ttcf"
        FCollection = true;
        const std::uint32_t count = U32(8);
        if (faceIndex < 0 || static_cast<std::uint32_t>(faceIndex) >= count)
            return;
        FDirectory = U32(12 + 4 * static_cast<std::uint64_t>(faceIndex));
    }
    const std::uint16_t numTables = U16(FDirectory + 4);
    if (FDirectory + 12 + 16ull * numTables > FData.size())
        return;
    for (int i = 0; i < numTables; ++i) {
        const std::uint64_t record = FDirectory + 12 + 16ull * i;
        Table table;
        table.Tag.assign(reinterpret_cast<const char *>(&FData[record]), 4);
        table.Checksum = U32(record + 4);
        table.Offset = U32(record + 8);
        table.Length = U32(record + 12);
        if (static_cast<std::uint64_t>(table.Offset) + table.Length > FData.size())
            return;
        FTables.push_back(table);
    }
    const Table *head = Find("head");
    const Table *maxp = Find("maxp");
    if (!head || head->Length < 54 || !maxp || maxp->Length < 6)
        return;
    FUnitsPerEm = std::max<int>(1, U16(head->Offset + 18));
    FLocaLong = S16(head->Offset + 50) == 1;
    FNumGlyphs = U16(maxp->Offset + 4);

    if (const Table *loca = Find("loca")) {
        const int entries = FNumGlyphs + 1;
        const std::uint32_t size = FLocaLong ? 4 : 2;
        if (static_cast<std::uint64_t>(entries) * size <= loca->Length)
            for (int i = 0; i < entries; ++i)
                FLoca.push_back(FLocaLong ? U32(loca->Offset + 4ull * i) : 2u * U16(loca->Offset + 2ull * i));
    }
    if (const Table *hhea = Find("hhea"); hhea && hhea->Length >= 36)
        if (const Table *hmtx = Find("hmtx")) {
            const int metrics = std::min<int>(U16(hhea->Offset + 34), static_cast<int>(hmtx->Length / 4));
            int last = 0;
            for (int g = 0; g < FNumGlyphs; ++g) {
                if (g < metrics)
                    last = U16(hmtx->Offset + 4ull * g);
                FAdvances.push_back(last);
            }
        }
    FValid = true;
}

const TTrueTypeFile::Table *TTrueTypeFile::Find(const std::string &tag) const
{
    for (const Table &table : FTables)
        if (table.Tag == tag)
            return &table;
    return nullptr;
}

int TTrueTypeFile::AdvanceWidth(int glyph) const
{
    if (glyph < 0 || glyph >= static_cast<int>(FAdvances.size()))
        return 0;
    return FAdvances[static_cast<std::size_t>(glyph)];
}

std::map<char32_t, std::uint16_t> TTrueTypeFile::UnicodeMap() const
{
    std::map<char32_t, std::uint16_t> map;
    const Table *cmap = Find("cmap");
    if (!cmap)
        return map;
    const std::uint64_t base = cmap->Offset;
    const std::uint64_t end = base + cmap->Length;
    const int count = U16(base + 2);
    std::uint64_t sub = 0;
    for (int i = 0; i < count && base + 4 + 8ull * i + 8 <= end; ++i) {
        const std::uint16_t platform = U16(base + 4 + 8ull * i);
        const std::uint16_t encoding = U16(base + 6 + 8ull * i);
        if (platform == 3 && (encoding == 1 || encoding == 0)) {
            sub = base + U32(base + 8 + 8ull * i);
            break;
        }
    }
    if (sub == 0 || sub + 14 > end || U16(sub) != 4)
        return map;
    const std::uint64_t length = std::min<std::uint64_t>(U16(sub + 2), end - sub);
    const int segments = U16(sub + 6) / 2;
    const std::uint64_t ends = sub + 14, starts = ends + 2ull * segments + 2, deltas = starts + 2ull * segments,
                        ranges = deltas + 2ull * segments;
    if (ranges + 2ull * segments > sub + length)
        return map;
    for (int i = 0; i < segments; ++i) {
        const std::uint32_t endCode = U16(ends + 2ull * i), startCode = U16(starts + 2ull * i);
        const std::uint16_t delta = U16(deltas + 2ull * i), rangeOffset = U16(ranges + 2ull * i);
        for (std::uint32_t c = startCode; c <= endCode && c < 0xFFFF; ++c) {
            std::uint16_t glyph = 0;
            if (rangeOffset == 0) {
                glyph = static_cast<std::uint16_t>(c + delta);
            } else {
                const std::uint64_t at = ranges + 2ull * i + rangeOffset + 2ull * (c - startCode);
                if (at + 2 > sub + length)
                    continue;
                const std::uint16_t value = U16(at);
                glyph = value == 0 ? 0 : static_cast<std::uint16_t>(value + delta);
            }
            if (glyph != 0 && glyph < FNumGlyphs)
                map.emplace(c, glyph);
        }
    }
    return map;
}

std::pair<std::uint32_t, std::uint32_t> TTrueTypeFile::GlyphRange(int glyph) const
{
    const Table *glyf = Find("glyf");
    if (!glyf || glyph < 0 || glyph + 1 >= static_cast<int>(FLoca.size()))
        return {0, 0};
    const std::uint32_t begin = FLoca[static_cast<std::size_t>(glyph)];
    const std::uint32_t end = FLoca[static_cast<std::size_t>(glyph) + 1];
    if (end <= begin || end > glyf->Length)
        return {0, 0};
    return {glyf->Offset + begin, glyf->Offset + end};
}

std::vector<std::uint16_t> TTrueTypeFile::Components(int glyph) const
{
    std::vector<std::uint16_t> components;
    const auto [begin, end] = GlyphRange(glyph);
    if (end - begin < 10 || S16(begin) != -1)
        return components;
    std::uint64_t at = begin + 10;
    while (at + 4 <= end) {
        const std::uint16_t flags = U16(at);
        components.push_back(U16(at + 2));
        if (!(flags & 0x0020))
            break;
        at += 4 + ((flags & 0x0001) ? 4 : 2);
        if (flags & 0x0008)
            at += 2;
        else if (flags & 0x0040)
            at += 4;
        else if (flags & 0x0080)
            at += 8;
    }
    return components;
}

std::vector<std::uint8_t> TTrueTypeFile::Write(const std::set<int> &keep, bool keepAll, bool requiredTablesOnly) const
{
    std::vector<std::uint8_t> glyf, loca;
    for (int g = 0; g <= FNumGlyphs; ++g) {
        if (FLocaLong)
            PutU32(loca, static_cast<std::uint32_t>(glyf.size()));
        else
            PutU16(loca, static_cast<std::uint32_t>(glyf.size() / 2));
        if (g == FNumGlyphs)
            break;
        if (keepAll || keep.count(g)) {
            const auto [begin, end] = GlyphRange(g);
            glyf.insert(glyf.end(), FData.begin() + begin, FData.begin() + end);
            // Short offsets count words: keep every glyph on an even offset.
            while (glyf.size() % (FLocaLong ? 1 : 2))
                glyf.push_back(0);
        }
    }
    std::vector<const Table *> tables;
    for (const Table &table : FTables)
        if (!requiredTablesOnly || IsRequired(table.Tag))
            tables.push_back(&table);
    const std::uint32_t numTables = static_cast<std::uint32_t>(tables.size());
    std::uint32_t power = 1, log2 = 0;
    while (power * 2 <= numTables) {
        power *= 2;
        ++log2;
    }
    std::vector<std::uint8_t> out;
    PutU32(out, 0x00010000);
    PutU16(out, numTables);
    PutU16(out, 16 * power);
    PutU16(out, log2);
    PutU16(out, 16 * numTables - 16 * power);
    const std::size_t directory = out.size();
    out.resize(out.size() + 16 * tables.size());
    std::size_t headAt = 0;
    bool hasHead = false;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const Table &table = *tables[i];
        const std::size_t offset = out.size();
        if (table.Tag == "glyf")
            out.insert(out.end(), glyf.begin(), glyf.end());
        else if (table.Tag == "loca")
            out.insert(out.end(), loca.begin(), loca.end());
        else
            out.insert(out.end(), FData.begin() + table.Offset, FData.begin() + table.Offset + table.Length);
        const std::size_t length = out.size() - offset;
        while (out.size() % 4)
            out.push_back(0);
        if (table.Tag == "head" && length >= 12) {
            headAt = offset;
            hasHead = true;
            SetU32(out, offset + 8, 0);
        }
        const std::size_t record = directory + 16 * i;
        std::copy(table.Tag.begin(), table.Tag.end(), out.begin() + static_cast<std::ptrdiff_t>(record));
        SetU32(out, record + 4, TrueTypeChecksum(out.data() + offset, length));
        SetU32(out, record + 8, static_cast<std::uint32_t>(offset));
        SetU32(out, record + 12, static_cast<std::uint32_t>(length));
    }
    if (hasHead)
        SetU32(out, headAt + 8, 0xB1B0AFBAu - TrueTypeChecksum(out.data(), out.size()));
    return out;
}

} // namespace tessaran
