#include "platform/Emf_Writer.h"

#include "platform/Metafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tessaran {

namespace {
// The reference device of every recording: a 96 dots-per-inch screen.
constexpr std::int32_t kDevicePixelsX = 1920;
constexpr std::int32_t kDevicePixelsY = 1080;
constexpr std::int32_t kDeviceMillimetresX = 508; // 1920 px at 96 per inch
constexpr std::int32_t kDeviceMillimetresY = 286;

std::int32_t toHundredthsOfMillimetre(int pixels)
{
    return static_cast<std::int32_t>(std::lround(pixels * 2540.0 / 96.0));
}
} // namespace

TEmfWriter::TEmfWriter(int width, int height)
{
    std::size_t start = Begin(emr::EMR_HEADER);
    RectL(TRect{0, 0, -1, -1}); // bounds, completed by Finish
    RectL(TRect{0, 0, toHundredthsOfMillimetre(width), toHundredthsOfMillimetre(height)});
    U32(emr::ENHMETA_SIGNATURE);
    U32(0x10000); // version
    U32(0);       // nBytes, completed by Finish
    U32(0);       // nRecords, completed by Finish
    U16(0);       // nHandles, completed by Finish
    U16(0);       // reserved
    U32(0);       // nDescription
    U32(0);       // offDescription
    U32(0);       // nPalEntries
    I32(kDevicePixelsX);
    I32(kDevicePixelsY);
    I32(kDeviceMillimetresX);
    I32(kDeviceMillimetresY);
    U32(0); // cbPixelFormat
    U32(0); // offPixelFormat
    U32(0); // bOpenGL
    I32(kDeviceMillimetresX * 1000);
    I32(kDeviceMillimetresY * 1000);
    End(start);
}

std::size_t TEmfWriter::Begin(std::uint32_t type)
{
    std::size_t start = bytes_.size();
    U32(type);
    U32(0);
    return start;
}

void TEmfWriter::End(std::size_t start)
{
    Pad4();
    PatchU32(start + 4, static_cast<std::uint32_t>(bytes_.size() - start));
    ++records_;
}

void TEmfWriter::AppendRecord(std::span<const std::uint8_t> record)
{
    Bytes(record);
    Pad4();
    ++records_;
}

void TEmfWriter::U16(std::uint16_t v)
{
    bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void TEmfWriter::U32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void TEmfWriter::F32(float v)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    U32(bits);
}

void TEmfWriter::Pad4()
{
    while (bytes_.size() % 4 != 0)
        bytes_.push_back(0);
}

void TEmfWriter::PatchU32(std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

void TEmfWriter::AddBounds(const TRect &r)
{
    TRect n{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
    if (!hasBounds_) {
        bounds_ = n;
        hasBounds_ = true;
        return;
    }
    bounds_.Left = std::min(bounds_.Left, n.Left);
    bounds_.Top = std::min(bounds_.Top, n.Top);
    bounds_.Right = std::max(bounds_.Right, n.Right);
    bounds_.Bottom = std::max(bounds_.Bottom, n.Bottom);
}

std::vector<std::uint8_t> TEmfWriter::Finish()
{
    std::size_t start = Begin(emr::EMR_EOF);
    U32(0);  // nPalEntries
    U32(16); // offPalEntries
    U32(20); // nSizeLast
    End(start);
    PatchU32(8, static_cast<std::uint32_t>(bounds_.Left));
    PatchU32(12, static_cast<std::uint32_t>(bounds_.Top));
    PatchU32(16, static_cast<std::uint32_t>(bounds_.Right));
    PatchU32(20, static_cast<std::uint32_t>(bounds_.Bottom));
    PatchU32(48, static_cast<std::uint32_t>(bytes_.size()));
    PatchU32(52, records_);
    bytes_[56] = static_cast<std::uint8_t>(handles_ & 0xFF);
    bytes_[57] = static_cast<std::uint8_t>((handles_ >> 8) & 0xFF);
    return std::move(bytes_);
}

} // namespace tessaran
