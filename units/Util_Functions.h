#pragma once
// Small routines shared by the whole program: a vertical colour gradient,
// the picture blobs with which pictures are stored inside the program's
// binary files, a lightened colour for highlights, grey levels of bitmaps and
// the ordinal string comparison used to sort string lists.
//
// A picture blob is a 4-byte signed length L followed by L bytes of a
// complete BMP or JPEG file (the reader knows which); L = 0 is an empty
// picture with no bytes after it.

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Jpeg_Image.h"
#include "platform/Stream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessaran {

// The colour as RGB (system colours resolved), each 8-bit channel shifted
// into the 16-bit range of a gradient vertex.
void ColorToTriVertex(TColor Color, std::uint16_t &Red, std::uint16_t &Green, std::uint16_t &Blue);
// Fills the rectangle from TopColor at the top edge to BottomColor at the bottom edge.
void FillGradientRect(TCanvas &Canvas, const TRect &Rect, TColor TopColor, TColor BottomColor);

// Blobs. Reading leaves the stream just behind the blob; a stream that ends
// inside it raises EStreamError, data that does not decode EInvalidGraphic.
void WriteBitmapToStream(TStream &Stream, const TBitmap &Bitmap);
void ReadBitmapFromStream(TStream &Stream, TBitmap &Bitmap);
void WriteJpegToStream(TStream &Stream, const TJPEGImage &Jpeg);
void ReadJpegFromStream(TStream &Stream, TJPEGImage &Jpeg);

// Each of the red, green and blue bytes raised by 102, at most 224.
TColor LightenColor(TColor Color);

// The grey level of a pixel: 0 the average, 1 the mean of the largest and
// smallest channel, 2 the luminance. Another method raises
// std::runtime_error "Unknown Color2Grayscale value".
std::uint8_t GrayOfPixel(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Method);
// Turns a 24-bit bitmap grey in place; another format raises
// std::runtime_error before any pixel changes.
void ConvertBitmapToGrayscale(TBitmap &Bitmap, std::uint8_t Method);

// -1, 0 or 1 as List[Index1] is below, equal to or above List[Index2],
// comparing character codes (case-sensitive, no locale rules).
int CompareListStrings(const std::vector<std::string> &List, int Index1, int Index2);

} // namespace tessaran
