#pragma once
// CCITT coding of one-bit images: one-dimensional Modified Huffman coding
// (T.4) and two-dimensional Group 4 coding (T.6). Bits are packed most
// significant first; the last byte is completed with 0 bits.

#include "platform/Bitmap.h"
#include "platform/Stream.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaran {

// One byte per pixel, rows top to bottom: 0 is black, anything else white.
std::unique_ptr<TMemoryStream> EncodeCCITT1D(const std::vector<std::uint8_t> &samples, int width, int height);
std::unique_ptr<TMemoryStream> EncodeCCITTGroup4(const std::vector<std::uint8_t> &samples, int width, int height);

// The samples of a bitmap made monochrome: 0 for dark pixels, 255 for light.
std::vector<std::uint8_t> MonochromeSamples(const TBitmap &bitmap);

} // namespace tessaran
