#pragma once
// Drawing one bitmap onto another as a device context does: at a position
// with a raster operation (the canvas's copy mode), or stretched over the
// whole destination. Raster operations are the platform's ternary codes: bits
// 16 to 23 hold the result for every combination of pattern, source and
// destination bits, so every code, the fifteen named ones included, is
// applied the same way. The pattern is a solid colour (the canvas's brush).

#include "platform/Bitmap.h"

#include <cstdint>

namespace tessaran {

namespace rop {
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t SRCERASE = 0x00440328;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t PATINVERT = 0x005A0049;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
constexpr std::uint32_t MERGECOPY = 0x00C000CA;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t PATPAINT = 0x00FB0A09;
constexpr std::uint32_t WHITENESS = 0x00FF0062;
} // namespace rop

// True for the fifteen raster operations the platform names.
bool IsNamedRasterOperation(std::uint32_t code);

// Combines one byte of pattern, source and destination by a ternary code.
std::uint8_t ApplyRasterOperation(std::uint32_t code, std::uint8_t pattern, std::uint8_t source,
                                  std::uint8_t destination);

// Draws source with its top-left at (x, y); what falls outside dest is cut off.
void DrawBitmap(TBitmap &dest, int x, int y, const TBitmap &source, std::uint32_t code = rop::SRCCOPY,
                TColor pattern = clWhite);

// Stretches source over the whole of dest (nearest pixel).
void StretchDrawBitmap(TBitmap &dest, const TBitmap &source);

} // namespace tessaran
