#pragma once
// A device-independent bitmap of 24 or 32 bits per pixel, rows top-down,
// pixels in blue, green, red (and a fourth byte) order. A bitmap loaded from
// BMP data keeps those bytes and saves them unchanged as long as no pixel,
// size or format is changed, so stored pictures round-trip exactly.

#include "platform/Graphics.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

// Raised for picture data that cannot be decoded or encoded.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The formats an engine's image settings may ask for. A bitmap itself keeps
// its pixels at 24 or 32 bits: any other format is held as 24 bits.
enum class TPixelFormat : std::uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmap {
public:
    // Pictures above this many pixels are refused as malformed.
    static constexpr std::int64_t MaxPixels = 100'000'000;

    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TPixelFormat PixelFormat() const { return format_; }
    int BytesPerPixel() const { return format_ == TPixelFormat::pf32bit ? 4 : 3; }
    int BytesPerLine() const { return width_ * BytesPerPixel(); }

    // New pixels are black; existing pixels keep their place.
    void SetSize(int width, int height);
    // Converts the pixels (a new fourth byte is 0).
    void SetPixelFormat(TPixelFormat format);

    std::uint8_t *ScanLine(int y);
    const std::uint8_t *ScanLine(int y) const;
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    void Fill(TColor color);

    // BMP data (see Bmp_Codec.h): reading takes 1, 4, 8, 16, 24 and 32 bits
    // per pixel and run-length data; the result is 32-bit for 32-bit data,
    // 24-bit otherwise. Raises EInvalidGraphic for malformed data.
    void LoadFromBytes(std::span<const std::uint8_t> bmp);
    // The original bytes when nothing changed since loading, otherwise a new
    // BMP file of the bitmap's format.
    std::vector<std::uint8_t> SaveToBytes() const;
    void LoadFromFile(const std::string &path);
    void SaveToFile(const std::string &path) const;

    // The bytes this bitmap was loaded from, empty once it has changed.
    const std::vector<std::uint8_t> &OriginalBytes() const { return original_; }

    friend bool SamePixels(const TBitmap &a, const TBitmap &b);

private:
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> original_;
};

} // namespace tessaran
