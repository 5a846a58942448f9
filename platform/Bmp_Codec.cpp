#include "platform/Bmp_Codec.h"

#include <array>
#include <bit>
#include <string>

namespace tessaran {

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;

[[noreturn]] void fail(const std::string &why)
{
    throw EInvalidGraphic("Bitmap image is not valid: " + why);
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    std::uint32_t U32(std::size_t at) const
    {
        need(at, 4);
        return data_[at] | (data_[at + 1] << 8) | (data_[at + 2] << 16) | (static_cast<std::uint32_t>(data_[at + 3]) << 24);
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::uint16_t U16(std::size_t at) const
    {
        need(at, 2);
        return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    std::int16_t I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint8_t U8(std::size_t at) const
    {
        need(at, 1);
        return data_[at];
    }
    void need(std::size_t at, std::size_t count) const
    {
        if (at > data_.size() || count > data_.size() - at)
            fail("the data is truncated");
    }
    std::size_t size() const { return data_.size(); }

private:
    std::span<const std::uint8_t> data_;
};

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    std::uint8_t get(std::uint32_t v) const
    {
        if (mask == 0)
            return 0;
        std::uint32_t raw = (v & mask) >> shift;
        if (bits >= 8)
            return static_cast<std::uint8_t>(raw >> (bits - 8));
        std::uint32_t max = (1u << bits) - 1;
        return static_cast<std::uint8_t>((raw * 255 + max / 2) / max);
    }
};

Channel channelOf(std::uint32_t mask)
{
    Channel c;
    c.mask = mask;
    if (mask == 0)
        return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    if (((mask >> c.shift) & ((c.bits >= 32) ? 0xFFFFFFFFu : ((1u << c.bits) - 1))) != (mask >> c.shift))
        fail("a colour mask is not contiguous");
    return c;
}

} // namespace

TBitmap DecodeBmp(std::span<const std::uint8_t> bmp)
{
    Reader r(bmp);
    if (bmp.size() < 14 + 12 || bmp[0] != 'B' || bmp[1] != 'M')
        fail("it does not start with a BMP file header");
    std::uint32_t offBits = r.U32(10);
    std::uint32_t infoSize = r.U32(14);
    const std::size_t info = 14;

    std::int64_t width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = BI_RGB, clrUsed = 0;
    int paletteEntrySize = 4;
    if (infoSize == 12) {
        width = r.U16(info + 4);
        height = r.I16(info + 6);
        if (r.U16(info + 8) != 1)
            fail("the plane count is not 1");
        bitCount = r.U16(info + 10);
        paletteEntrySize = 3;
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124) {
        r.need(info, infoSize);
        width = r.I32(info + 4);
        height = r.I32(info + 8);
        if (r.U16(info + 12) != 1)
            fail("the plane count is not 1");
        bitCount = r.U16(info + 14);
        compression = r.U32(info + 16);
        clrUsed = r.U32(info + 32);
    } else {
        fail("the header size " + std::to_string(infoSize) + " is not supported");
    }

    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0)
        fail("the size is not positive");
    if (width > 1'000'000 || height > 1'000'000 || width * height > TBitmap::MaxPixels)
        fail("the picture is too large");
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        fail("the bit count " + std::to_string(bitCount) + " is not supported");
    }
    bool validCompression = compression == BI_RGB || (compression == BI_RLE8 && bitCount == 8) ||
                            (compression == BI_RLE4 && bitCount == 4) ||
                            (compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32));
    if (!validCompression)
        fail("the compression " + std::to_string(compression) + " does not suit " + std::to_string(bitCount) +
             " bits per pixel");
    if (topDown && (compression == BI_RLE8 || compression == BI_RLE4))
        fail("run-length data cannot be stored top-down");

    // Colour masks and the colour table follow the info header.
    std::size_t after = info + infoSize;
    Channel red, green, blue, alpha;
    if (compression == BI_BITFIELDS) {
        std::size_t masks = infoSize >= 52 ? info + 40 : after;
        red = channelOf(r.U32(masks));
        green = channelOf(r.U32(masks + 4));
        blue = channelOf(r.U32(masks + 8));
        if (infoSize >= 56)
            alpha = channelOf(r.U32(info + 52));
        if (infoSize == 40)
            after += 12;
    } else if (bitCount == 16) {
        red = channelOf(0x7C00);
        green = channelOf(0x03E0);
        blue = channelOf(0x001F);
    }
    std::vector<TColor> palette;
    if (bitCount <= 8) {
        std::uint32_t entries = clrUsed != 0 ? clrUsed : (1u << bitCount);
        if (entries > 256)
            fail("the colour table has " + std::to_string(entries) + " entries");
        r.need(after, std::size_t(entries) * paletteEntrySize);
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::size_t at = after + std::size_t(i) * paletteEntrySize;
            palette.push_back(RGB(bmp[at + 2], bmp[at + 1], bmp[at]));
        }
    }
    if (offBits == 0 || offBits >= bmp.size())
        fail("the pixel data offset lies outside the file");

    TPixelFormat format = (bitCount == 32) ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    int w = static_cast<int>(width), h = static_cast<int>(height);
    TBitmap out(w, h, format);
    auto rowOf = [&](int stored) { return topDown ? stored : h - 1 - stored; };
    auto paletteColor = [&](std::uint32_t index) {
        return index < palette.size() ? palette[index] : clBlack;
    };

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        std::size_t at = offBits;
        int x = 0, y = 0; // y counts stored rows from the bottom
        bool four = compression == BI_RLE4;
        auto put = [&](std::uint32_t index) {
            if (x < w && y < h)
                out.SetPixel(x, rowOf(y), paletteColor(index));
            ++x;
        };
        while (true) {
            if (at + 2 > bmp.size())
                fail("the run-length data is truncated");
            std::uint8_t count = bmp[at], value = bmp[at + 1];
            at += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i)
                    put(four ? ((i % 2 == 0) ? (value >> 4) : (value & 0x0F)) : value);
                continue;
            }
            if (value == 0) { // end of line
                x = 0;
                ++y;
                if (y >= h)
                    break;
            } else if (value == 1) { // end of bitmap
                break;
            } else if (value == 2) { // delta
                if (at + 2 > bmp.size())
                    fail("the run-length data is truncated");
                x += bmp[at];
                y += bmp[at + 1];
                at += 2;
                if (y >= h)
                    break;
            } else { // absolute run
                std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : value;
                std::size_t padded = (bytes + 1) / 2 * 2;
                if (at + padded > bmp.size())
                    fail("the run-length data is truncated");
                for (int i = 0; i < value; ++i) {
                    std::uint8_t b = bmp[at + (four ? std::size_t(i) / 2 : std::size_t(i))];
                    put(four ? ((i % 2 == 0) ? (b >> 4) : (b & 0x0F)) : b);
                }
                at += padded;
            }
        }
        return out;
    }

    std::size_t stride = (std::size_t(w) * bitCount + 31) / 32 * 4;
    r.need(offBits, stride * std::size_t(h));
    for (int stored = 0; stored < h; ++stored) {
        const std::uint8_t *src = bmp.data() + offBits + stride * std::size_t(stored);
        std::uint8_t *dst = out.ScanLine(rowOf(stored));
        for (int x = 0; x < w; ++x) {
            TColor c = clBlack;
            switch (bitCount) {
            case 1:
                c = paletteColor((src[x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                c = paletteColor((x % 2 == 0) ? (src[x / 2] >> 4) : (src[x / 2] & 0x0F));
                break;
            case 8:
                c = paletteColor(src[x]);
                break;
            case 16: {
                std::uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
                c = RGB(red.get(v), green.get(v), blue.get(v));
                break;
            }
            case 24:
                dst[3 * x] = src[3 * x];
                dst[3 * x + 1] = src[3 * x + 1];
                dst[3 * x + 2] = src[3 * x + 2];
                continue;
            case 32:
                if (compression == BI_RGB) {
                    for (int k = 0; k < 4; ++k)
                        dst[4 * x + k] = src[4 * x + k];
                } else {
                    std::uint32_t v = src[4 * x] | (src[4 * x + 1] << 8) | (src[4 * x + 2] << 16) |
                                      (static_cast<std::uint32_t>(src[4 * x + 3]) << 24);
                    dst[4 * x] = blue.get(v);
                    dst[4 * x + 1] = green.get(v);
                    dst[4 * x + 2] = red.get(v);
                    dst[4 * x + 3] = alpha.get(v);
                }
                continue;
            }
            int bpp = out.BytesPerPixel();
            dst[bpp * x] = GetBValue(c);
            dst[bpp * x + 1] = GetGValue(c);
            dst[bpp * x + 2] = GetRValue(c);
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmp(const TBitmap &bitmap)
{
    int bpp = bitmap.BytesPerPixel();
    std::uint32_t stride = static_cast<std::uint32_t>((bitmap.Width() * bpp + 3) / 4 * 4);
    std::uint32_t bitsSize = stride * static_cast<std::uint32_t>(bitmap.Height());
    std::vector<std::uint8_t> out;
    out.reserve(54 + bitsSize);
    auto u16 = [&](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    };
    out.push_back('B');
    out.push_back('M');
    u32(54 + bitsSize);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(bitmap.Width()));
    u32(static_cast<std::uint32_t>(bitmap.Height()));
    u16(1);
    u16(static_cast<std::uint16_t>(bpp * 8));
    u32(BI_RGB);
    u32(bitsSize);
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const std::uint8_t *line = bitmap.ScanLine(y);
        out.insert(out.end(), line, line + bitmap.BytesPerLine());
        for (int pad = bitmap.BytesPerLine(); pad < static_cast<int>(stride); ++pad)
            out.push_back(0);
    }
    return out;
}

} // namespace tessaran
