#pragma once
// JPEG pictures through libjpeg. A picture loaded from JPEG data keeps those
// bytes and saves them unchanged; only a picture assigned from a bitmap is
// encoded, at CompressionQuality, in grey when Grayscale is set.

#include "platform/Bitmap.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessaran {

class TJPEGImage {
public:
    // The picture library's default settings.
    int CompressionQuality = 90;
    bool Grayscale = false;

    bool Empty() const { return bytes_.empty(); }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }

    // Decodes the data at once, so that malformed or truncated data is
    // refused here (EInvalidGraphic) and the picture stays as it was.
    // Grayscale tells whether the data holds one colour component.
    void LoadFromBytes(std::span<const std::uint8_t> jpeg);
    const std::vector<std::uint8_t> &SaveToBytes() const { return bytes_; }
    void LoadFromFile(const std::string &path);
    void SaveToFile(const std::string &path) const;

    // Encodes a bitmap with the current quality and grey setting.
    void Assign(const TBitmap &bitmap);
    // The decoded pixels, 24 bits per pixel.
    const TBitmap &Bitmap() const { return bitmap_; }
    void Clear();

private:
    std::vector<std::uint8_t> bytes_;
    TBitmap bitmap_;
};

TBitmap DecodeJpeg(std::span<const std::uint8_t> jpeg, bool *grayscale = nullptr);
std::vector<std::uint8_t> EncodeJpeg(const TBitmap &bitmap, int quality, bool grayscale);

} // namespace tessaran
