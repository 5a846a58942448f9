#pragma once
// Enhanced metafiles: the picture format of the network drawing, its .emf
// export and the pages of the PDF export. A TMetafile holds one complete
// metafile in the platform's binary format (a header record, drawing
// records, an end-of-file record; little-endian, every record starting with
// its 4-byte type and 4-byte size). TMetafileCanvas (MetafileCanvas.h)
// records one; the records can be enumerated one by one with bounded field
// readers, since a metafile read from a file is untrusted.

#include "platform/Graphics.h"
#include "platform/Stream.h"

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

class EMetafileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Record types of the enhanced-metafile format.
namespace emr {
constexpr std::uint32_t EMR_HEADER = 1;
constexpr std::uint32_t EMR_POLYBEZIER = 2;
constexpr std::uint32_t EMR_POLYGON = 3;
constexpr std::uint32_t EMR_POLYLINE = 4;
constexpr std::uint32_t EMR_POLYBEZIERTO = 5;
constexpr std::uint32_t EMR_POLYLINETO = 6;
constexpr std::uint32_t EMR_POLYPOLYLINE = 7;
constexpr std::uint32_t EMR_POLYPOLYGON = 8;
constexpr std::uint32_t EMR_SETWINDOWEXTEX = 9;
constexpr std::uint32_t EMR_SETWINDOWORGEX = 10;
constexpr std::uint32_t EMR_SETVIEWPORTEXTEX = 11;
constexpr std::uint32_t EMR_SETVIEWPORTORGEX = 12;
constexpr std::uint32_t EMR_SETBRUSHORGEX = 13;
constexpr std::uint32_t EMR_EOF = 14;
constexpr std::uint32_t EMR_SETPIXELV = 15;
constexpr std::uint32_t EMR_SETMAPPERFLAGS = 16;
constexpr std::uint32_t EMR_SETMAPMODE = 17;
constexpr std::uint32_t EMR_SETBKMODE = 18;
constexpr std::uint32_t EMR_SETPOLYFILLMODE = 19;
constexpr std::uint32_t EMR_SETROP2 = 20;
constexpr std::uint32_t EMR_SETSTRETCHBLTMODE = 21;
constexpr std::uint32_t EMR_SETTEXTALIGN = 22;
constexpr std::uint32_t EMR_SETCOLORADJUSTMENT = 23;
constexpr std::uint32_t EMR_SETTEXTCOLOR = 24;
constexpr std::uint32_t EMR_SETBKCOLOR = 25;
constexpr std::uint32_t EMR_OFFSETCLIPRGN = 26;
constexpr std::uint32_t EMR_MOVETOEX = 27;
constexpr std::uint32_t EMR_SETMETARGN = 28;
constexpr std::uint32_t EMR_EXCLUDECLIPRECT = 29;
constexpr std::uint32_t EMR_INTERSECTCLIPRECT = 30;
constexpr std::uint32_t EMR_SCALEVIEWPORTEXTEX = 31;
constexpr std::uint32_t EMR_SCALEWINDOWEXTEX = 32;
constexpr std::uint32_t EMR_SAVEDC = 33;
constexpr std::uint32_t EMR_RESTOREDC = 34;
constexpr std::uint32_t EMR_SETWORLDTRANSFORM = 35;
constexpr std::uint32_t EMR_MODIFYWORLDTRANSFORM = 36;
constexpr std::uint32_t EMR_SELECTOBJECT = 37;
constexpr std::uint32_t EMR_CREATEPEN = 38;
constexpr std::uint32_t EMR_CREATEBRUSHINDIRECT = 39;
constexpr std::uint32_t EMR_DELETEOBJECT = 40;
constexpr std::uint32_t EMR_ANGLEARC = 41;
constexpr std::uint32_t EMR_ELLIPSE = 42;
constexpr std::uint32_t EMR_RECTANGLE = 43;
constexpr std::uint32_t EMR_ROUNDRECT = 44;
constexpr std::uint32_t EMR_ARC = 45;
constexpr std::uint32_t EMR_CHORD = 46;
constexpr std::uint32_t EMR_PIE = 47;
constexpr std::uint32_t EMR_SELECTPALETTE = 48;
constexpr std::uint32_t EMR_CREATEPALETTE = 49;
constexpr std::uint32_t EMR_SETPALETTEENTRIES = 50;
constexpr std::uint32_t EMR_RESIZEPALETTE = 51;
constexpr std::uint32_t EMR_REALIZEPALETTE = 52;
constexpr std::uint32_t EMR_EXTFLOODFILL = 53;
constexpr std::uint32_t EMR_LINETO = 54;
constexpr std::uint32_t EMR_ARCTO = 55;
constexpr std::uint32_t EMR_POLYDRAW = 56;
constexpr std::uint32_t EMR_SETARCDIRECTION = 57;
constexpr std::uint32_t EMR_SETMITERLIMIT = 58;
constexpr std::uint32_t EMR_BEGINPATH = 59;
constexpr std::uint32_t EMR_ENDPATH = 60;
constexpr std::uint32_t EMR_CLOSEFIGURE = 61;
constexpr std::uint32_t EMR_FILLPATH = 62;
constexpr std::uint32_t EMR_STROKEANDFILLPATH = 63;
constexpr std::uint32_t EMR_STROKEPATH = 64;
constexpr std::uint32_t EMR_FLATTENPATH = 65;
constexpr std::uint32_t EMR_WIDENPATH = 66;
constexpr std::uint32_t EMR_SELECTCLIPPATH = 67;
constexpr std::uint32_t EMR_ABORTPATH = 68;
constexpr std::uint32_t EMR_GDICOMMENT = 70;
constexpr std::uint32_t EMR_FILLRGN = 71;
constexpr std::uint32_t EMR_FRAMERGN = 72;
constexpr std::uint32_t EMR_INVERTRGN = 73;
constexpr std::uint32_t EMR_PAINTRGN = 74;
constexpr std::uint32_t EMR_EXTSELECTCLIPRGN = 75;
constexpr std::uint32_t EMR_BITBLT = 76;
constexpr std::uint32_t EMR_STRETCHBLT = 77;
constexpr std::uint32_t EMR_MASKBLT = 78;
constexpr std::uint32_t EMR_PLGBLT = 79;
constexpr std::uint32_t EMR_SETDIBITSTODEVICE = 80;
constexpr std::uint32_t EMR_STRETCHDIBITS = 81;
constexpr std::uint32_t EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr std::uint32_t EMR_EXTTEXTOUTA = 83;
constexpr std::uint32_t EMR_EXTTEXTOUTW = 84;
constexpr std::uint32_t EMR_POLYBEZIER16 = 85;
constexpr std::uint32_t EMR_POLYGON16 = 86;
constexpr std::uint32_t EMR_POLYLINE16 = 87;
constexpr std::uint32_t EMR_POLYBEZIERTO16 = 88;
constexpr std::uint32_t EMR_POLYLINETO16 = 89;
constexpr std::uint32_t EMR_POLYPOLYLINE16 = 90;
constexpr std::uint32_t EMR_POLYPOLYGON16 = 91;
constexpr std::uint32_t EMR_POLYDRAW16 = 92;
constexpr std::uint32_t EMR_CREATEMONOBRUSH = 93;
constexpr std::uint32_t EMR_CREATEDIBPATTERNBRUSHPT = 94;
constexpr std::uint32_t EMR_EXTCREATEPEN = 95;
constexpr std::uint32_t EMR_POLYTEXTOUTA = 96;
constexpr std::uint32_t EMR_POLYTEXTOUTW = 97;
constexpr std::uint32_t EMR_SETICMMODE = 98;

// The record's name ("EMR_LINETO"), or "EMR_<number>" for an unknown type.
std::string RecordName(std::uint32_t type);

// Stock objects are selected by index with the top bit set.
constexpr std::uint32_t STOCK_OBJECT = 0x80000000u;
constexpr std::uint32_t WHITE_BRUSH = 0;
constexpr std::uint32_t NULL_BRUSH = 5;
constexpr std::uint32_t BLACK_PEN = 7;
constexpr std::uint32_t NULL_PEN = 8;
constexpr std::uint32_t SYSTEM_FONT = 13;

constexpr std::uint32_t ENHMETA_SIGNATURE = 0x464D4520; // " EMF"
constexpr std::uint32_t HEADER_SIZE = 108;               // with both header extensions
} // namespace emr

// One record inside a metafile's bytes: every read is checked against the
// record's size and raises EMetafileError beyond it.
class TEmfRecord {
public:
    TEmfRecord(const std::uint8_t *data, std::uint32_t size, std::size_t index)
        : data_(data), size_(size), index_(index)
    {
    }
    std::uint32_t Type() const { return U32(0); }
    std::uint32_t Size() const { return size_; }
    std::size_t Index() const { return index_; }
    // The record's whole bytes, type and size included.
    std::span<const std::uint8_t> Bytes() const { return {data_, size_}; }

    bool Has(std::size_t offset, std::size_t count) const
    {
        return offset <= size_ && count <= size_ - offset;
    }
    std::uint8_t U8(std::size_t offset) const;
    std::uint16_t U16(std::size_t offset) const;
    std::int16_t I16(std::size_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
    std::uint32_t U32(std::size_t offset) const;
    std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
    float F32(std::size_t offset) const;
    TPoint PointL(std::size_t offset) const { return TPoint{I32(offset), I32(offset + 4)}; }
    TPoint PointS(std::size_t offset) const { return TPoint{I16(offset), I16(offset + 2)}; }
    TRect RectL(std::size_t offset) const { return TRect{I32(offset), I32(offset + 4), I32(offset + 8), I32(offset + 12)}; }
    std::span<const std::uint8_t> Slice(std::size_t offset, std::size_t count) const;

private:
    void check(std::size_t offset, std::size_t count) const;
    const std::uint8_t *data_;
    std::uint32_t size_;
    std::size_t index_;
};

class TMetafile {
public:
    // The picture's size in logical units (pixels at 96 per inch), which a
    // recording uses as its frame and a stretch maps onto the destination.
    int Width = 0;
    int Height = 0;

    bool Empty() const { return bytes_.empty(); }
    void Clear() { bytes_.clear(); }
    const std::vector<std::uint8_t> &Bytes() const { return bytes_; }
    // Takes a complete metafile, checked first (see Validate); Width and
    // Height come from its frame. On error the metafile is left as it was.
    void SetBytes(std::vector<std::uint8_t> bytes);

    void LoadFromFile(const std::string &path);
    // Saves atomically; an empty metafile is saved as a valid empty picture.
    void SaveToFile(const std::string &path) const;
    // Reads count bytes of the stream as one metafile.
    void LoadFromStream(TStream &stream, std::size_t count);
    void SaveToStream(TStream &stream) const;

    // The records in file order, header and end-of-file included.
    std::vector<TEmfRecord> Records() const;
    // Calls visit for each record in order until it returns false.
    void Enumerate(const std::function<bool(const TEmfRecord &)> &visit) const;
    // The header's bounds, inclusive, in logical units.
    TRect Bounds() const;

    // Checks a whole metafile: the header record and its signature, every
    // record's size (at least 8, a multiple of 4, inside the data) and a
    // final end-of-file record. Raises EMetafileError with the reason.
    static void Validate(std::span<const std::uint8_t> bytes);
    // The bytes of a metafile with nothing drawn, of the given size.
    static std::vector<std::uint8_t> EmptyPicture(int width, int height);

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace tessaran
