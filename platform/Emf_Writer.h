#pragma once
// Low-level writer of enhanced-metafile bytes: records are opened, filled
// with little-endian fields and closed (padded to 4 bytes, size written).
// Finish writes the end-of-file record and completes the header.

#include "platform/Graphics.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaran {

class TEmfWriter {
public:
    // Starts a metafile with its header record for a picture of width x height
    // logical units (pixels at 96 per inch).
    TEmfWriter(int width, int height);

    std::size_t Begin(std::uint32_t type);
    void End(std::size_t start);
    // Appends a complete record as it is (type and size included).
    void AppendRecord(std::span<const std::uint8_t> record);

    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v);
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v);
    void Point(TPoint p)
    {
        I32(p.X);
        I32(p.Y);
    }
    void RectL(const TRect &r)
    {
        I32(r.Left);
        I32(r.Top);
        I32(r.Right);
        I32(r.Bottom);
    }
    void Bytes(std::span<const std::uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
    void Pad4();
    std::size_t Position() const { return bytes_.size(); }
    void PatchU32(std::size_t at, std::uint32_t v);

    // Widens the picture's bounds by an inclusive rectangle of drawing.
    void AddBounds(const TRect &inclusive);
    void NoteHandle(std::uint32_t index)
    {
        if (index + 1 > handles_)
            handles_ = index + 1;
    }

    // Writes the end-of-file record, completes the header and hands out the bytes.
    std::vector<std::uint8_t> Finish();

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t records_ = 0;
    std::uint32_t handles_ = 1;
    bool hasBounds_ = false;
    TRect bounds_{0, 0, -1, -1};
};

} // namespace tessaran
