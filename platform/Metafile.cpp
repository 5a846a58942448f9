#include "platform/Metafile.h"

#include "platform/Emf_Writer.h"

#include <array>
#include <cmath>
#include <cstring>

namespace tessaran {

namespace emr {
std::string RecordName(std::uint32_t type)
{
    static const std::array<const char *, 99> names = {
        nullptr,
        "EMR_HEADER", "EMR_POLYBEZIER", "EMR_POLYGON", "EMR_POLYLINE", "EMR_POLYBEZIERTO",
        "EMR_POLYLINETO", "EMR_POLYPOLYLINE", "EMR_POLYPOLYGON", "EMR_SETWINDOWEXTEX",
        "EMR_SETWINDOWORGEX", "EMR_SETVIEWPORTEXTEX", "EMR_SETVIEWPORTORGEX", "EMR_SETBRUSHORGEX",
        "EMR_EOF", "EMR_SETPIXELV", "EMR_SETMAPPERFLAGS", "EMR_SETMAPMODE", "EMR_SETBKMODE",
        "EMR_SETPOLYFILLMODE", "EMR_SETROP2", "EMR_SETSTRETCHBLTMODE", "EMR_SETTEXTALIGN",
        "EMR_SETCOLORADJUSTMENT", "EMR_SETTEXTCOLOR", "EMR_SETBKCOLOR", "EMR_OFFSETCLIPRGN",
        "EMR_MOVETOEX", "EMR_SETMETARGN", "EMR_EXCLUDECLIPRECT", "EMR_INTERSECTCLIPRECT",
        "EMR_SCALEVIEWPORTEXTEX", "EMR_SCALEWINDOWEXTEX", "EMR_SAVEDC", "EMR_RESTOREDC",
        "EMR_SETWORLDTRANSFORM", "EMR_MODIFYWORLDTRANSFORM", "EMR_SELECTOBJECT", "EMR_CREATEPEN",
        "EMR_CREATEBRUSHINDIRECT", "EMR_DELETEOBJECT", "EMR_ANGLEARC", "EMR_ELLIPSE", "EMR_RECTANGLE",
        "EMR_ROUNDRECT", "EMR_ARC", "EMR_CHORD", "EMR_PIE", "EMR_SELECTPALETTE", "EMR_CREATEPALETTE",
        "EMR_SETPALETTEENTRIES", "EMR_RESIZEPALETTE", "EMR_REALIZEPALETTE", "EMR_EXTFLOODFILL",
        "EMR_LINETO", "EMR_ARCTO", "EMR_POLYDRAW", "EMR_SETARCDIRECTION", "EMR_SETMITERLIMIT",
        "EMR_BEGINPATH", "EMR_ENDPATH", "EMR_CLOSEFIGURE", "EMR_FILLPATH", "EMR_STROKEANDFILLPATH",
        "EMR_STROKEPATH", "EMR_FLATTENPATH", "EMR_WIDENPATH", "EMR_SELECTCLIPPATH", "EMR_ABORTPATH",
        nullptr, "EMR_GDICOMMENT", "EMR_FILLRGN", "EMR_FRAMERGN", "EMR_INVERTRGN", "EMR_PAINTRGN",
        "EMR_EXTSELECTCLIPRGN", "EMR_BITBLT", "EMR_STRETCHBLT", "EMR_MASKBLT", "EMR_PLGBLT",
        "EMR_SETDIBITSTODEVICE", "EMR_STRETCHDIBITS", "EMR_EXTCREATEFONTINDIRECTW", "EMR_EXTTEXTOUTA",
        "EMR_EXTTEXTOUTW", "EMR_POLYBEZIER16", "EMR_POLYGON16", "EMR_POLYLINE16", "EMR_POLYBEZIERTO16",
        "EMR_POLYLINETO16", "EMR_POLYPOLYLINE16", "EMR_POLYPOLYGON16", "EMR_POLYDRAW16",
        "EMR_CREATEMONOBRUSH", "EMR_CREATEDIBPATTERNBRUSHPT", "EMR_EXTCREATEPEN", "EMR_POLYTEXTOUTA",
        "EMR_POLYTEXTOUTW", "EMR_SETICMMODE",
    };
    if (type < names.size() && names[type])
        return names[type];
    return "EMR_" + std::to_string(type);
}
} // namespace emr

namespace {
std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}
} // namespace

void TEmfRecord::check(std::size_t offset, std::size_t count) const
{
    if (!Has(offset, count))
        throw EMetafileError("Metafile record " + std::to_string(index_) + " (" + emr::RecordName(Type()) +
                             ") is too short: " + std::to_string(count) + " bytes at offset " +
                             std::to_string(offset) + " lie beyond its size of " + std::to_string(size_));
}

std::uint8_t TEmfRecord::U8(std::size_t offset) const
{
    check(offset, 1);
    return data_[offset];
}

std::uint16_t TEmfRecord::U16(std::size_t offset) const
{
    check(offset, 2);
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

std::uint32_t TEmfRecord::U32(std::size_t offset) const
{
    // The type field always exists: a record is at least 8 bytes.
    if (offset + 4 > size_)
        check(offset, 4);
    return readU32({data_, size_}, offset);
}

float TEmfRecord::F32(std::size_t offset) const
{
    std::uint32_t bits = U32(offset);
    float v = 0;
    std::memcpy(&v, &bits, 4);
    return v;
}

std::span<const std::uint8_t> TEmfRecord::Slice(std::size_t offset, std::size_t count) const
{
    check(offset, count);
    return {data_ + offset, count};
}

void TMetafile::Validate(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 88)
        throw EMetafileError("Not an enhanced metafile: " + std::to_string(bytes.size()) + " bytes are too few");
    if (readU32(bytes, 0) != emr::EMR_HEADER)
        throw EMetafileError("Not an enhanced metafile: the first record is not a header");
    if (readU32(bytes, 40) != emr::ENHMETA_SIGNATURE)
        throw EMetafileError("Not an enhanced metafile: the header signature is wrong");
    std::size_t at = 0;
    std::size_t index = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8)
            throw EMetafileError("Metafile record " + std::to_string(index) + " is cut off");
        std::uint32_t type = readU32(bytes, at);
        std::uint32_t size = readU32(bytes, at + 4);
        if (size < 8 || size % 4 != 0)
            throw EMetafileError("Metafile record " + std::to_string(index) + " has an invalid size of " +
                                 std::to_string(size));
        if (size > bytes.size() - at)
            throw EMetafileError("Metafile record " + std::to_string(index) + " (" + emr::RecordName(type) +
                                 ") runs past the end of the data");
        if (index == 0 && size < 88)
            throw EMetafileError("Not an enhanced metafile: the header record is too short");
        if (index > 0 && type == emr::EMR_HEADER)
            throw EMetafileError("Metafile record " + std::to_string(index) + " is a second header");
        at += size;
        ++index;
        if (type == emr::EMR_EOF)
            return;
    }
    throw EMetafileError("Metafile has no end-of-file record");
}

std::vector<std::uint8_t> TMetafile::EmptyPicture(int width, int height)
{
    TEmfWriter writer(width, height);
    return writer.Finish();
}

void TMetafile::SetBytes(std::vector<std::uint8_t> bytes)
{
    Validate(bytes);
    // The frame is in hundredths of a millimetre; logical units are pixels at 96 per inch.
    auto frame = [&](std::size_t at) { return static_cast<std::int32_t>(readU32(bytes, at)); };
    double w = (static_cast<double>(frame(32)) - frame(24)) * 96.0 / 2540.0;
    double h = (static_cast<double>(frame(36)) - frame(28)) * 96.0 / 2540.0;
    if (!(w >= 0 && w < 1e7 && h >= 0 && h < 1e7))
        throw EMetafileError("Metafile header has an invalid frame");
    // Trailing bytes after the end-of-file record are not part of the picture.
    std::size_t length = 0;
    while (true) {
        std::uint32_t type = readU32(bytes, length);
        length += readU32(bytes, length + 4);
        if (type == emr::EMR_EOF)
            break;
    }
    bytes.resize(length);
    bytes_ = std::move(bytes);
    Width = static_cast<int>(std::lround(w));
    Height = static_cast<int>(std::lround(h));
}

void TMetafile::LoadFromFile(const std::string &path)
{
    SetBytes(ReadWholeFile(path));
}

void TMetafile::SaveToFile(const std::string &path) const
{
    SaveFileAtomically(path, bytes_.empty() ? EmptyPicture(Width, Height) : bytes_);
}

void TMetafile::LoadFromStream(TStream &stream, std::size_t count)
{
    if (static_cast<std::int64_t>(count) > stream.Remaining())
        throw EStreamError("Stream read failed: metafile of " + std::to_string(count) +
                           " bytes runs past the end of the stream");
    SetBytes(stream.ReadBytes(count));
}

void TMetafile::SaveToStream(TStream &stream) const
{
    stream.WriteBytes(bytes_.empty() ? EmptyPicture(Width, Height) : bytes_);
}

std::vector<TEmfRecord> TMetafile::Records() const
{
    std::vector<TEmfRecord> records;
    Enumerate([&](const TEmfRecord &r) {
        records.push_back(r);
        return true;
    });
    return records;
}

void TMetafile::Enumerate(const std::function<bool(const TEmfRecord &)> &visit) const
{
    // The bytes were validated when they were taken in.
    std::size_t at = 0;
    std::size_t index = 0;
    while (at + 8 <= bytes_.size()) {
        std::uint32_t size = readU32(bytes_, at + 4);
        TEmfRecord record(bytes_.data() + at, size, index);
        if (!visit(record))
            return;
        if (record.Type() == emr::EMR_EOF)
            return;
        at += size;
        ++index;
    }
}

TRect TMetafile::Bounds() const
{
    if (bytes_.empty())
        return TRect{0, 0, -1, -1};
    TEmfRecord header(bytes_.data(), readU32(bytes_, 4), 0);
    return header.RectL(8);
}

} // namespace tessaran
