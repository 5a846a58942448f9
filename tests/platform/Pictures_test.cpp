#include "platform/Bitmap.h"
#include "platform/Bmp_Codec.h"
#include "platform/Jpeg_Image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tessaran {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes &b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes &b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP file with a 40-byte info header (or a 12-byte core header), an
// optional colour table or masks and the given pixel bytes.
Bytes makeBmp(int width, int height, int bitCount, std::uint32_t compression, const Bytes &table, const Bytes &bits,
              bool core = false)
{
    Bytes info;
    if (core) {
        put32(info, 12);
        put16(info, static_cast<std::uint16_t>(width));
        put16(info, static_cast<std::uint16_t>(height));
        put16(info, 1);
        put16(info, static_cast<std::uint16_t>(bitCount));
    } else {
        put32(info, 40);
        put32(info, static_cast<std::uint32_t>(width));
        put32(info, static_cast<std::uint32_t>(height));
        put16(info, 1);
        put16(info, static_cast<std::uint16_t>(bitCount));
        put32(info, compression);
        put32(info, static_cast<std::uint32_t>(bits.size()));
        put32(info, 0);
        put32(info, 0);
        put32(info, 0);
        put32(info, 0);
    }
    Bytes out = {'B', 'M'};
    std::uint32_t offBits = static_cast<std::uint32_t>(14 + info.size() + table.size());
    put32(out, offBits + static_cast<std::uint32_t>(bits.size()));
    put32(out, 0);
    put32(out, offBits);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

// Colour table entries blue, green, red, reserved: red, green, blue, white.
const Bytes kTable4 = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

struct DecodeCase {
    const char *name;
    Bytes bmp;
    // Expected 2 x 2 pixels, top row first.
    TColor topLeft, topRight, bottomLeft, bottomRight;
};

TEST(Bmp, DecodesEveryCommonVariant)
{
    Bytes table2 = {0, 0, 0, 0, 255, 255, 255, 0}; // black, white
    Bytes table16 = kTable4;
    table16.resize(64, 0);
    Bytes table256 = kTable4;
    table256.resize(1024, 0);
    Bytes coreTable = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}; // three bytes each
    coreTable.resize(3 * 256, 0);
    std::vector<DecodeCase> cases = {
        // Bottom-up rows padded to 4 bytes: the first stored row is the bottom one.
        {"1 bit", makeBmp(2, 2, 1, 0, table2, {0x40, 0, 0, 0, 0x80, 0, 0, 0}), clWhite, clBlack, clBlack, clWhite},
        {"4 bits", makeBmp(2, 2, 4, 0, table16, {0x23, 0, 0, 0, 0x01, 0, 0, 0}), clRed, clLime, clBlue, clWhite},
        {"8 bits", makeBmp(2, 2, 8, 0, table256, {2, 3, 0, 0, 0, 1, 0, 0}), clRed, clLime, clBlue, clWhite},
        {"8 bits, core header", makeBmp(2, 2, 8, 0, coreTable, {2, 3, 0, 0, 0, 1, 0, 0}, true), clRed, clLime,
         clBlue, clWhite},
        {"16 bits 5-5-5", makeBmp(2, 2, 16, 0, {}, {0x1F, 0x00, 0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03}), clRed,
         clLime, clBlue, clWhite},
        {"16 bits 5-6-5 masks",
         makeBmp(2, 2, 16, 3, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0},
                 {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07}),
         clRed, clLime, clBlue, clWhite},
        {"24 bits", makeBmp(2, 2, 24, 0, {}, {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}), clRed,
         clLime, clBlue, clWhite},
        {"top-down 24 bits", makeBmp(2, -2, 24, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}),
         clRed, clLime, clBlue, clWhite},
        {"run-length 8", makeBmp(2, 2, 8, 1, table256, {2, 2, 0, 0, 1, 0, 1, 1, 0, 1}), clRed, clLime, clBlue,
         clBlue},
        {"run-length 4", makeBmp(2, 2, 4, 2, table16, {2, 0x01, 0, 0, 2, 0x23, 0, 1}), clBlue, clWhite, clRed,
         clLime},
        {"run-length 8, absolute run", makeBmp(2, 2, 8, 1, table256, {0, 3, 3, 2, 1, 0, 0, 0, 2, 2, 0, 1}), clBlue,
         clBlue, clWhite, clBlue},
    };
    for (const DecodeCase &c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap bmp = DecodeBmp(c.bmp);
        ASSERT_EQ(bmp.Width(), 2);
        ASSERT_EQ(bmp.Height(), 2);
        EXPECT_EQ(bmp.Pixel(0, 0), c.topLeft);
        EXPECT_EQ(bmp.Pixel(1, 0), c.topRight);
        EXPECT_EQ(bmp.Pixel(0, 1), c.bottomLeft);
        EXPECT_EQ(bmp.Pixel(1, 1), c.bottomRight);
    }
}

TEST(Bmp, ThirtyTwoBitDataStaysThirtyTwoBit)
{
    TBitmap bmp = DecodeBmp(makeBmp(1, 1, 32, 0, {}, {1, 2, 3, 4}));
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(bmp.Pixel(0, 0), RGB(3, 2, 1));
    EXPECT_EQ(bmp.ScanLine(0)[3], 4);
    TBitmap again = DecodeBmp(EncodeBmp(bmp));
    EXPECT_TRUE(SamePixels(bmp, again));
}

TEST(Bmp, WritesAndReadsBackOddWidths)
{
    TBitmap bmp(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bmp.SetPixel(x, y, RGB(x * 40, y * 80, 7));
    Bytes data = EncodeBmp(bmp);
    EXPECT_EQ(data.size(), 54u + 3 * 16); // rows of 15 bytes padded to 16
    EXPECT_EQ(data[28], 24);
    TBitmap back = DecodeBmp(data);
    EXPECT_TRUE(SamePixels(bmp, back));
}

TEST(Bmp, LoadedBytesAreSavedUnchangedUntilAPixelChanges)
{
    Bytes original = makeBmp(2, 2, 8, 0, [] {
        Bytes t = kTable4;
        t.resize(1024);
        return t;
    }(), {2, 3, 0, 0, 0, 1, 0, 0});
    TBitmap bmp;
    bmp.LoadFromBytes(original);
    EXPECT_EQ(bmp.SaveToBytes(), original);
    bmp.SetPixel(0, 0, clBlack);
    Bytes changed = bmp.SaveToBytes();
    EXPECT_NE(changed, original);
    EXPECT_EQ(changed[28], 24);
}

TEST(Bmp, MalformedDataIsRefused)
{
    Bytes good = makeBmp(2, 2, 24, 0, {}, Bytes(16, 0));
    auto with32 = [&](std::size_t at, std::uint32_t v) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i)
            b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
        return b;
    };
    struct Case {
        const char *name;
        Bytes data;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"not BM", Bytes(good.begin() + 2, good.end())},
        {"pixels cut off", Bytes(good.begin(), good.end() - 1)},
        {"header cut off", Bytes(good.begin(), good.begin() + 30)},
        {"zero width", with32(18, 0)},
        {"negative width", with32(18, 0xFFFFFFFF)},
        {"oversized", [&] {
             Bytes b = with32(18, 200000);
             for (int i = 0; i < 4; ++i)
                 b[22 + i] = static_cast<std::uint8_t>(200000 >> (8 * i));
             return b;
         }()},
        {"bit count 7", [&] {
             Bytes b = good;
             b[28] = 7;
             return b;
         }()},
        {"unknown header size", with32(14, 20)},
        {"pixel offset outside", with32(10, 5000)},
        {"run-length 24 bits", with32(30, 1)},
        {"run-length without end", makeBmp(2, 2, 8, 1, Bytes(1024, 0), {2, 1, 2, 1})},
        {"colour table too large", [&] {
             Bytes b = makeBmp(2, 2, 8, 0, Bytes(1024, 0), Bytes(8, 0));
             for (int i = 0; i < 4; ++i)
                 b[46 + i] = static_cast<std::uint8_t>(100000 >> (8 * i));
             return b;
         }()},
    };
    for (const Case &c : cases) {
        TBitmap bmp(1, 1);
        bmp.SetPixel(0, 0, clRed);
        EXPECT_THROW(bmp.LoadFromBytes(c.data), EInvalidGraphic) << c.name;
        EXPECT_EQ(bmp.Width(), 1) << c.name << ": a refused load leaves the bitmap as it was";
        EXPECT_EQ(bmp.Pixel(0, 0), clRed) << c.name;
    }
}

TBitmap gradientBitmap(int w, int h)
{
    TBitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.SetPixel(x, y, RGB(x * 255 / (w - 1), y * 255 / (h - 1), 128));
    return bmp;
}

TEST(Jpeg, EncodesAtTheQualityAndDecodesClose)
{
    TBitmap bmp = gradientBitmap(32, 16);
    TJPEGImage jpeg;
    jpeg.CompressionQuality = 95;
    jpeg.Assign(bmp);
    const Bytes &data = jpeg.SaveToBytes();
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(data[0], 0xFF);
    EXPECT_EQ(data[1], 0xD8);
    EXPECT_FALSE(jpeg.Grayscale);
    EXPECT_EQ(jpeg.Width(), 32);
    EXPECT_EQ(jpeg.Height(), 16);
    int worst = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            TColor a = bmp.Pixel(x, y), b = jpeg.Bitmap().Pixel(x, y);
            worst = std::max({worst, std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                              std::abs(GetBValue(a) - GetBValue(b))});
        }
    EXPECT_LE(worst, 12);

    TJPEGImage low;
    low.CompressionQuality = 10;
    low.Assign(bmp);
    EXPECT_LT(low.SaveToBytes().size(), data.size());
}

TEST(Jpeg, LoadedBytesRoundTripExactlyAndGreyIsDetected)
{
    TJPEGImage grey;
    grey.Grayscale = true;
    grey.Assign(gradientBitmap(8, 8));
    Bytes bytes = grey.SaveToBytes();

    TJPEGImage loaded;
    loaded.LoadFromBytes(bytes);
    EXPECT_TRUE(loaded.Grayscale);
    EXPECT_EQ(loaded.SaveToBytes(), bytes);
    TColor c = loaded.Bitmap().Pixel(3, 3);
    EXPECT_EQ(GetRValue(c), GetGValue(c));
    EXPECT_EQ(GetGValue(c), GetBValue(c));

    TJPEGImage colour;
    colour.Assign(gradientBitmap(8, 8));
    TJPEGImage colourLoaded;
    colourLoaded.LoadFromBytes(colour.SaveToBytes());
    EXPECT_FALSE(colourLoaded.Grayscale);
}

TEST(Jpeg, TruncatedAndCorruptDataIsRefused)
{
    TJPEGImage source;
    source.Assign(gradientBitmap(64, 64));
    const Bytes &good = source.SaveToBytes();
    Bytes corrupt = good;
    for (std::size_t i = 20; i < 200 && i < corrupt.size(); ++i)
        corrupt[i] = 0xFF;
    std::vector<std::pair<const char *, Bytes>> cases = {
        {"empty", {}},
        {"no start marker", Bytes(good.begin() + 2, good.end())},
        {"header only", Bytes(good.begin(), good.begin() + 30)},
        {"cut in the scan", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2))},
        {"corrupt tables", corrupt},
    };
    for (auto &[name, data] : cases) {
        TJPEGImage jpeg;
        jpeg.Assign(gradientBitmap(4, 4));
        Bytes before = jpeg.SaveToBytes();
        EXPECT_THROW(jpeg.LoadFromBytes(data), EInvalidGraphic) << name;
        EXPECT_EQ(jpeg.SaveToBytes(), before) << name << ": a refused load leaves the picture as it was";
    }
}

} // namespace
} // namespace tessaran
