#pragma once
// Pictures as the engine's outputs draw them: the encoded bytes of a
// picture (BMP or JPEG) decoded into a bitmap, and a bitmap kept as a
// picture. Metafile pictures have no raster form here.

#include "docexport/Graphics_Attributes.h"
#include "platform/Bitmap.h"
#include "platform/Pascal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessaran {

// False for an empty picture, another format or data that does not decode.
bool DecodePicture(const TdePicture &picture, TBitmap &bitmap);
// A BMP picture of the bitmap.
TdePicture BitmapPicture(const TBitmap &bitmap);

// Round for values that come from untrusted data: what is not finite
// counts as 0 and what lies beyond any page is held at a bound.
inline std::int64_t RoundSafe(long double value)
{
    if (!std::isfinite(value))
        return 0;
    return Round(std::clamp<long double>(value, -1e15L, 1e15L));
}
inline int RoundToInt(long double value)
{
    return static_cast<int>(std::clamp<std::int64_t>(RoundSafe(value), INT32_MIN, INT32_MAX));
}

} // namespace tessaran
