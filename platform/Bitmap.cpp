#include "platform/Bitmap.h"

#include "platform/Bmp_Codec.h"
#include "platform/Stream.h"

#include <algorithm>
#include <cstring>

namespace tessaran {

namespace {

TPixelFormat storedFormat(TPixelFormat format)
{
    return format == TPixelFormat::pf32bit ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
}

} // namespace

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(storedFormat(format))
{
    SetSize(width, height);
}

void TBitmap::SetSize(int width, int height)
{
    if (width < 0 || height < 0 || static_cast<std::int64_t>(width) * height > MaxPixels)
        throw EInvalidGraphic("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                              " is not valid");
    if (width == width_ && height == height_)
        return;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * BytesPerPixel(), 0);
    int copyWidth = std::min(width, width_) * BytesPerPixel();
    for (int y = 0; y < std::min(height, height_); ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * width * BytesPerPixel(), ScanLine(y),
                    static_cast<std::size_t>(copyWidth));
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    original_.clear();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    format = storedFormat(format);
    if (format == format_)
        return;
    int from = BytesPerPixel();
    int to = format == TPixelFormat::pf32bit ? 4 : 3;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * height_ * to, 0);
    for (std::size_t i = 0, n = static_cast<std::size_t>(width_) * height_; i < n; ++i)
        for (int k = 0; k < 3; ++k)
            pixels[i * to + k] = pixels_[i * from + k];
    pixels_ = std::move(pixels);
    format_ = format;
    original_.clear();
}

std::uint8_t *TBitmap::ScanLine(int y)
{
    original_.clear();
    return const_cast<std::uint8_t *>(static_cast<const TBitmap *>(this)->ScanLine(y));
}

const std::uint8_t *TBitmap::ScanLine(int y) const
{
    if (y < 0 || y >= height_)
        throw std::out_of_range("TBitmap: scan line " + std::to_string(y) + " outside 0.." +
                                std::to_string(height_ - 1));
    return pixels_.data() + static_cast<std::size_t>(y) * BytesPerLine();
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        return clBlack;
    const std::uint8_t *p = ScanLine(y) + static_cast<std::size_t>(x) * BytesPerPixel();
    return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        return;
    std::uint8_t *p = ScanLine(y) + static_cast<std::size_t>(x) * BytesPerPixel();
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}

void TBitmap::Fill(TColor color)
{
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            SetPixel(x, y, color);
    original_.clear();
}

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> bmp)
{
    TBitmap decoded = DecodeBmp(bmp);
    *this = std::move(decoded);
    original_.assign(bmp.begin(), bmp.end());
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const
{
    if (!original_.empty())
        return original_;
    return EncodeBmp(*this);
}

void TBitmap::LoadFromFile(const std::string &path)
{
    LoadFromBytes(ReadWholeFile(path));
}

void TBitmap::SaveToFile(const std::string &path) const
{
    SaveFileAtomically(path, SaveToBytes());
}

bool SamePixels(const TBitmap &a, const TBitmap &b)
{
    return a.width_ == b.width_ && a.height_ == b.height_ && a.format_ == b.format_ && a.pixels_ == b.pixels_;
}

} // namespace tessaran
