#include "platform/Raster_Operations.h"

#include <gtest/gtest.h>

#include <functional>

namespace tessaran {
namespace {

TEST(RasterOperations, TheNamedCodesCombinePatternSourceAndDestination)
{
    using F = std::function<int(int, int, int)>;
    const std::pair<std::uint32_t, F> cases[] = {
        {rop::BLACKNESS, [](int, int, int) { return 0; }},
        {rop::NOTSRCERASE, [](int, int s, int d) { return ~(s | d); }},
        {rop::NOTSRCCOPY, [](int, int s, int) { return ~s; }},
        {rop::SRCERASE, [](int, int s, int d) { return s & ~d; }},
        {rop::DSTINVERT, [](int, int, int d) { return ~d; }},
        {rop::PATINVERT, [](int p, int, int d) { return p ^ d; }},
        {rop::SRCINVERT, [](int, int s, int d) { return s ^ d; }},
        {rop::SRCAND, [](int, int s, int d) { return s & d; }},
        {rop::MERGEPAINT, [](int, int s, int d) { return ~s | d; }},
        {rop::MERGECOPY, [](int p, int s, int) { return p & s; }},
        {rop::SRCCOPY, [](int, int s, int) { return s; }},
        {rop::SRCPAINT, [](int, int s, int d) { return s | d; }},
        {rop::PATCOPY, [](int p, int, int) { return p; }},
        {rop::PATPAINT, [](int p, int s, int d) { return p | ~s | d; }},
        {rop::WHITENESS, [](int, int, int) { return 0xFF; }},
    };
    for (const auto &[code, expected] : cases) {
        EXPECT_TRUE(IsNamedRasterOperation(code));
        for (int p : {0x00, 0xF0, 0x3C})
            for (int s : {0x00, 0xAA, 0x0F})
                for (int d : {0x00, 0xCC, 0x55})
                    EXPECT_EQ(ApplyRasterOperation(code, std::uint8_t(p), std::uint8_t(s), std::uint8_t(d)),
                              expected(p, s, d) & 0xFF)
                        << std::hex << code << " p " << p << " s " << s << " d " << d;
    }
    EXPECT_FALSE(IsNamedRasterOperation(0x00123456));
}

TEST(RasterOperations, DrawingIsCutAtTheEdgesAndStretchingCoversTheDestination)
{
    TBitmap dest(4, 4);
    dest.Fill(clWhite);
    TBitmap source(3, 3);
    source.Fill(clRed);
    DrawBitmap(dest, 2, -1, source, rop::SRCAND);
    EXPECT_EQ(dest.Pixel(2, 0), clRed);
    EXPECT_EQ(dest.Pixel(3, 1), clRed);
    EXPECT_EQ(dest.Pixel(1, 0), clWhite);
    EXPECT_EQ(dest.Pixel(2, 2), clWhite);

    TBitmap halves(2, 1);
    halves.SetPixel(0, 0, clBlue);
    halves.SetPixel(1, 0, clLime);
    TBitmap wide(6, 3);
    StretchDrawBitmap(wide, halves);
    EXPECT_EQ(wide.Pixel(2, 2), clBlue);
    EXPECT_EQ(wide.Pixel(3, 0), clLime);
}

} // namespace
} // namespace tessaran
