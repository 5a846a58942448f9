#include "platform/Graphics.h"

#include <cmath>
#include <cstdlib>

namespace tessaran {

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
