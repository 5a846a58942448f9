#include "platform/Graphics.h"

#include <cmath>
#include <cstdlib>

namespace tessaran {

TColor ColorToRGB(TColor color)
{
    if ((static_cast<std::uint32_t>(color) & 0xFF000000u) != 0x80000000u)
        return static_cast<TColor>(static_cast<std::uint32_t>(color) & 0x00FFFFFFu);
    // The standard desktop shades, by element index.
    static const TColor shades[] = {
        0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000,
        0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000,
        0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xD77800,
        0xF0F0F0,
    };
    std::uint32_t index = static_cast<std::uint32_t>(color) & 0xFFu;
    return index < sizeof shades / sizeof shades[0] ? shades[index] : clBlack;
}

int TFont::PixelHeight() const
{
    // Points to pixels rounded half away from zero, as logical fonts are made.
    long long scaled = static_cast<long long>(std::abs(Size)) * PixelsPerInch;
    return static_cast<int>((scaled + 36) / 72);
}

void TFont::SetHeight(int height)
{
    if (PixelsPerInch <= 0)
        return;
    long long scaled = static_cast<long long>(std::abs(height)) * 72;
    Size = static_cast<int>((scaled + PixelsPerInch / 2) / PixelsPerInch);
}

} // namespace tessaran
