#include "platform/Raster_Operations.h"

#include <algorithm>

namespace tessaran {

bool IsNamedRasterOperation(std::uint32_t code)
{
    switch (code) {
    case rop::BLACKNESS:
    case rop::NOTSRCERASE:
    case rop::NOTSRCCOPY:
    case rop::SRCERASE:
    case rop::DSTINVERT:
    case rop::PATINVERT:
    case rop::SRCINVERT:
    case rop::SRCAND:
    case rop::MERGEPAINT:
    case rop::MERGECOPY:
    case rop::SRCCOPY:
    case rop::SRCPAINT:
    case rop::PATCOPY:
    case rop::PATPAINT:
    case rop::WHITENESS: return true;
    default: return false;
    }
}

std::uint8_t ApplyRasterOperation(std::uint32_t code, std::uint8_t pattern, std::uint8_t source,
                                  std::uint8_t destination)
{
    const unsigned table = (code >> 16) & 0xFF;
    unsigned result = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const unsigned index = (((pattern >> bit) & 1u) << 2) | (((source >> bit) & 1u) << 1) |
                               ((destination >> bit) & 1u);
        result |= ((table >> index) & 1u) << bit;
    }
    return static_cast<std::uint8_t>(result);
}

void DrawBitmap(TBitmap &dest, int x, int y, const TBitmap &source, std::uint32_t code, TColor pattern)
{
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(dest.Width(), x + source.Width());
    const int y1 = std::min(dest.Height(), y + source.Height());
    if (x0 >= x1 || y0 >= y1)
        return;
    // Bitmaps keep blue, green, red.
    const std::uint8_t patternBytes[3] = {GetBValue(pattern), GetGValue(pattern), GetRValue(pattern)};
    const int dp = dest.BytesPerPixel(), sp = source.BytesPerPixel();
    for (int row = y0; row < y1; ++row) {
        std::uint8_t *d = dest.ScanLine(row);
        const std::uint8_t *s = source.ScanLine(row - y);
        for (int col = x0; col < x1; ++col) {
            std::uint8_t *dpx = d + static_cast<std::size_t>(col) * dp;
            const std::uint8_t *spx = s + static_cast<std::size_t>(col - x) * sp;
            for (int k = 0; k < 3; ++k)
                dpx[k] = code == rop::SRCCOPY ? spx[k] : ApplyRasterOperation(code, patternBytes[k], spx[k], dpx[k]);
        }
    }
}

void StretchDrawBitmap(TBitmap &dest, const TBitmap &source)
{
    if (dest.Empty() || source.Empty())
        return;
    const int dp = dest.BytesPerPixel(), sp = source.BytesPerPixel();
    for (int row = 0; row < dest.Height(); ++row) {
        const int sy = static_cast<int>(static_cast<std::int64_t>(row) * source.Height() / dest.Height());
        std::uint8_t *d = dest.ScanLine(row);
        const std::uint8_t *s = source.ScanLine(sy);
        for (int col = 0; col < dest.Width(); ++col) {
            const int sx = static_cast<int>(static_cast<std::int64_t>(col) * source.Width() / dest.Width());
            std::copy_n(s + static_cast<std::size_t>(sx) * sp, 3, d + static_cast<std::size_t>(col) * dp);
        }
    }
}

} // namespace tessaran
