#pragma once
// The BMP file format: reading of every common variant (1, 4, 8 bits with a
// colour table, 16 bits 5-5-5 or with bit masks, 24 and 32 bits, run-length
// 4 and 8 bits, bottom-up and top-down rows, the 12-byte core header and the
// 40 to 124-byte info headers) and writing of 24 and 32-bit files. Malformed
// data raises EInvalidGraphic and never reads outside the data.

#include "platform/Bitmap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaran {

// Decodes a whole BMP file. The result is 32-bit for 32-bit data, 24-bit
// otherwise; it does not keep the original bytes.
TBitmap DecodeBmp(std::span<const std::uint8_t> bmp);

// A BMP file of the bitmap: 40-byte info header, bottom-up rows, 24 or 32
// bits per pixel as the bitmap's format.
std::vector<std::uint8_t> EncodeBmp(const TBitmap &bitmap);

} // namespace tessaran
