#include "units/Util_Functions.h"

#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace tessaran {
namespace {

TEST(UtilFunctions, LightenColour)
{
    struct Case {
        TColor in, out;
    } cases[] = {
        {0x000000, 0x666666}, {0x7B7B7B, 0xE0E0E0}, {0xFFFFFF, 0xE0E0E0}, {0x0000FF, 0x6666E0},
        {static_cast<TColor>(0x80000005u), 0x66666B}, // the top byte is dropped, not resolved
    };
    for (const Case &c : cases)
        EXPECT_EQ(LightenColor(c.in), c.out) << std::hex << c.in;
}

TEST(UtilFunctions, GreyOfPixelByMethod)
{
    EXPECT_EQ(GrayOfPixel(255, 0, 0, 0), 85);
    EXPECT_EQ(GrayOfPixel(255, 0, 0, 1), 127);
    EXPECT_EQ(GrayOfPixel(255, 0, 0, 2), 76);
    EXPECT_EQ(GrayOfPixel(255, 255, 255, 2), 255);
    try {
        GrayOfPixel(1, 2, 3, 3);
        FAIL() << "method 3 must raise";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "Unknown Color2Grayscale value");
    }
}

TEST(UtilFunctions, GreyscaleConversionOnlyOfTwentyFourBitBitmaps)
{
    TBitmap bmp(2, 1);
    bmp.SetPixel(0, 0, RGB(255, 0, 0));
    bmp.SetPixel(1, 0, RGB(10, 20, 30));
    ConvertBitmapToGrayscale(bmp, 2);
    EXPECT_EQ(bmp.Pixel(0, 0), RGB(76, 76, 76));
    EXPECT_EQ(bmp.Pixel(1, 0), RGB(18, 18, 18));

    TBitmap wide(1, 1, TPixelFormat::pf32bit);
    wide.SetPixel(0, 0, clRed);
    try {
        ConvertBitmapToGrayscale(wide, 0);
        FAIL() << "a 32-bit bitmap must raise";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "Not implemented. PixelFormat has to be \"pf24bit\"");
    }
    EXPECT_EQ(wide.Pixel(0, 0), clRed);
}

TEST(UtilFunctions, OrdinalStringSort)
{
    std::vector<std::string> list = {"b", "B", "a", "Äther", "Z"};
    std::vector<int> order = {0, 1, 2, 3, 4};
    std::sort(order.begin(), order.end(), [&](int i, int j) { return CompareListStrings(list, i, j) < 0; });
    std::vector<std::string> sorted;
    for (int i : order)
        sorted.push_back(list[static_cast<std::size_t>(i)]);
    EXPECT_EQ(sorted, (std::vector<std::string>{"B", "Z", "a", "b", "Äther"}));
    EXPECT_EQ(CompareListStrings(list, 0, 0), 0);
    EXPECT_EQ(CompareListStrings(list, 0, 1), 1);
}

TEST(UtilFunctions, BitmapBlobRoundTripsAndLeavesTheStreamBehindIt)
{
    TBitmap bmp(2, 2);
    bmp.SetPixel(0, 0, clRed);
    bmp.SetPixel(1, 1, clBlue);
    TMemoryStream stream;
    WriteBitmapToStream(stream, bmp);
    stream.WriteInt32(12345);
    const auto &bytes = stream.Bytes();
    std::int32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (bytes[3] << 24);
    EXPECT_EQ(length, 54 + 2 * 8);
    EXPECT_EQ(bytes[4], 'B');
    EXPECT_EQ(bytes[5], 'M');

    stream.Seek(0);
    TBitmap back;
    ReadBitmapFromStream(stream, back);
    EXPECT_TRUE(SamePixels(bmp, back));
    EXPECT_EQ(stream.ReadInt32(), 12345);

    // Loaded bytes are written back unchanged.
    TMemoryStream again;
    WriteBitmapToStream(again, back);
    EXPECT_EQ(std::vector<std::uint8_t>(again.Bytes().begin(), again.Bytes().end()),
              std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 4));
}

TEST(UtilFunctions, EmptyAndBadBlobs)
{
    TMemoryStream empty;
    WriteBitmapToStream(empty, TBitmap());
    EXPECT_EQ(empty.Size(), 4);
    empty.Seek(0);
    TBitmap bmp(1, 1);
    ReadBitmapFromStream(empty, bmp);
    EXPECT_TRUE(bmp.Empty());

    struct Case {
        const char *name;
        std::vector<std::uint8_t> data;
    };
    std::vector<Case> cases = {
        {"length past the end", {10, 0, 0, 0, 'B', 'M'}},
        {"negative length", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"length cut off", {1, 0}},
    };
    for (const Case &c : cases) {
        TMemoryStream s(c.data);
        TBitmap b;
        EXPECT_THROW(ReadBitmapFromStream(s, b), EStreamError) << c.name;
    }
    TMemoryStream garbage(std::vector<std::uint8_t>{4, 0, 0, 0, 1, 2, 3, 4});
    TBitmap b;
    EXPECT_THROW(ReadBitmapFromStream(garbage, b), EInvalidGraphic);
}

TEST(UtilFunctions, JpegBlobStartsWithTheStartOfImageMarker)
{
    TBitmap bmp(8, 8);
    bmp.Fill(clTeal);
    TJPEGImage jpeg;
    jpeg.Assign(bmp);
    TMemoryStream stream;
    WriteJpegToStream(stream, jpeg);
    EXPECT_EQ(stream.Bytes()[4], 0xFF);
    EXPECT_EQ(stream.Bytes()[5], 0xD8);
    stream.Seek(0);
    TJPEGImage back;
    ReadJpegFromStream(stream, back);
    EXPECT_EQ(back.SaveToBytes(), jpeg.SaveToBytes());
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(UtilFunctions, GradientFillResolvesSystemColours)
{
    TCanvasLog canvas;
    FillGradientRect(canvas, TRect{0, 0, 10, 20}, clBtnFace, clBlue);
    ASSERT_EQ(canvas.Lines.size(), 1u);
    EXPECT_EQ(canvas.Lines[0], "GradientFillVertical 0,0 10,20 F0F0F0 FF0000");
    std::uint16_t r, g, b;
    ColorToTriVertex(0x0000FF, r, g, b);
    EXPECT_EQ(r, 0xFF00);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
}

} // namespace
} // namespace tessaran
