#include "units/Util_Functions.h"

#include "platform/Codepage1252.h"
#include "platform/Pascal.h"

#include <algorithm>
#include <stdexcept>

namespace tessaran {

void ColorToTriVertex(TColor Color, std::uint16_t &Red, std::uint16_t &Green, std::uint16_t &Blue)
{
    TColor rgb = ColorToRGB(Color);
    Red = static_cast<std::uint16_t>(GetRValue(rgb) << 8);
    Green = static_cast<std::uint16_t>(GetGValue(rgb) << 8);
    Blue = static_cast<std::uint16_t>(GetBValue(rgb) << 8);
}

void FillGradientRect(TCanvas &Canvas, const TRect &Rect, TColor TopColor, TColor BottomColor)
{
    std::uint16_t r1, g1, b1, r2, g2, b2;
    ColorToTriVertex(TopColor, r1, g1, b1);
    ColorToTriVertex(BottomColor, r2, g2, b2);
    Canvas.GradientFillVertical(Rect, RGB(r1 >> 8, g1 >> 8, b1 >> 8), RGB(r2 >> 8, g2 >> 8, b2 >> 8));
}

void WriteBitmapToStream(TStream &Stream, const TBitmap &Bitmap)
{
    // The whole BMP file is made first so that its length is known.
    std::vector<std::uint8_t> data = Bitmap.Empty() ? std::vector<std::uint8_t>() : Bitmap.SaveToBytes();
    Stream.WriteInt32(static_cast<std::int32_t>(data.size()));
    Stream.WriteBytes(data);
}

namespace {
std::vector<std::uint8_t> readBlob(TStream &Stream)
{
    std::int32_t length = Stream.ReadInt32();
    if (length < 0 || length > Stream.Remaining())
        throw EStreamError("Stream read failed: picture of " + std::to_string(length) +
                           " bytes runs past the end of the stream");
    return Stream.ReadBytes(static_cast<std::size_t>(length));
}
} // namespace

void ReadBitmapFromStream(TStream &Stream, TBitmap &Bitmap)
{
    std::vector<std::uint8_t> data = readBlob(Stream);
    if (data.empty()) {
        Bitmap = TBitmap();
        return;
    }
    Bitmap.LoadFromBytes(data);
}

void WriteJpegToStream(TStream &Stream, const TJPEGImage &Jpeg)
{
    const std::vector<std::uint8_t> &data = Jpeg.SaveToBytes();
    Stream.WriteInt32(static_cast<std::int32_t>(data.size()));
    Stream.WriteBytes(data);
}

void ReadJpegFromStream(TStream &Stream, TJPEGImage &Jpeg)
{
    std::vector<std::uint8_t> data = readBlob(Stream);
    if (data.empty()) {
        Jpeg.Clear();
        return;
    }
    Jpeg.LoadFromBytes(data);
}

TColor LightenColor(TColor Color)
{
    auto lighten = [](int byte) { return std::min(byte + 102, 224); };
    return RGB(lighten(GetRValue(Color)), lighten(GetGValue(Color)), lighten(GetBValue(Color)));
}

std::uint8_t GrayOfPixel(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Method)
{
    switch (Method) {
    case 0:
        return static_cast<std::uint8_t>((Red + Green + Blue) / 3);
    case 1:
        return static_cast<std::uint8_t>((std::max({Red, Green, Blue}) + std::min({Red, Green, Blue})) / 2);
    case 2:
        return static_cast<std::uint8_t>(Round(0.2989L * Red + 0.587L * Green + 0.1141L * Blue));
    default:
        throw std::runtime_error("Unknown Color2Grayscale value");
    }
}

void ConvertBitmapToGrayscale(TBitmap &Bitmap, std::uint8_t Method)
{
    if (Bitmap.PixelFormat() != TPixelFormat::pf24bit)
        throw std::runtime_error("Not implemented. PixelFormat has to be \"pf24bit\"");
    for (int y = 0; y < Bitmap.Height(); ++y) {
        std::uint8_t *line = Bitmap.ScanLine(y);
        for (int x = 0; x < Bitmap.Width(); ++x) {
            std::uint8_t *p = line + 3 * static_cast<std::size_t>(x);
            std::uint8_t grey = GrayOfPixel(p[2], p[1], p[0], Method);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

int CompareListStrings(const std::vector<std::string> &List, int Index1, int Index2)
{
    std::u16string a = Utf8ToUtf16(List.at(static_cast<std::size_t>(Index1)));
    std::u16string b = Utf8ToUtf16(List.at(static_cast<std::size_t>(Index2)));
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace tessaran
