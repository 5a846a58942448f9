#pragma once
// Pictures as the engine's outputs draw them: the encoded bytes of a
// picture (BMP or JPEG) decoded into a bitmap, and a bitmap kept as a
// picture. Metafile pictures have no raster form here.

#include "docexport/Graphics_Attributes.h"
#include "platform/Bitmap.h"

namespace tessaran {

// False for an empty picture, another format or data that does not decode.
bool DecodePicture(const TdePicture &picture, TBitmap &bitmap);
// A BMP picture of the bitmap.
TdePicture BitmapPicture(const TBitmap &bitmap);

} // namespace tessaran
