#include "printing/Print_Dib.h"

#include "support/Recording_Print_Device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tessaran {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes &b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes &b, std::uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// An info header block (40 bytes, masks, colour table).
Bytes infoHeader(int width, int height, int bits, std::uint32_t compression, std::uint32_t imageSize,
                 std::uint32_t clrUsed, int tableEntries, int masks = 0)
{
    Bytes b;
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(width));
    put32(b, static_cast<std::uint32_t>(height));
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(bits));
    put32(b, compression);
    put32(b, imageSize);
    put32(b, 0);
    put32(b, 0);
    put32(b, clrUsed);
    put32(b, clrUsed);
    for (int i = 0; i < masks; ++i)
        put32(b, 0);
    for (int i = 0; i < tableEntries; ++i)
        put32(b, static_cast<std::uint32_t>(i * 0x010101));
    return b;
}

// A BMP file image: file header, header block, bits.
Bytes bmpFile(const Bytes &header, const Bytes &bits, std::uint32_t offsetOverride = 0)
{
    Bytes b;
    put16(b, 0x4D42);
    put32(b, static_cast<std::uint32_t>(14 + header.size() + bits.size()));
    put32(b, 0);
    put32(b, offsetOverride ? offsetOverride : static_cast<std::uint32_t>(14 + header.size()));
    b.insert(b.end(), header.begin(), header.end());
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

TEST(PrinterPageMetrics, MarginsAreTheWidestUnprintableStrip)
{
    struct Case {
        int physW, physH, horz, vert, offX, offY;
        PageMetrics expected;
    };
    // Offsets 100 and 120, unprintable right 80 and bottom 150: four margins of 150.
    PageMetrics a{100, 120, 80, 150, 5000, 7000, 4820, 6730, 150, 150, 150, 150, 4700, 6700, 50, 30, 600, 600};
    // A device that knows no physical size prints on its printable area.
    PageMetrics b{30, 40, -30, -40, 4000, 6000, 4000, 6000, 40, 40, 40, 40, 3920, 5920, 10, 0, 600, 600};
    const Case cases[] = {{5000, 7000, 4820, 6730, 100, 120, a}, {0, 0, 4000, 6000, 30, 40, b}};
    for (const Case &c : cases) {
        test::TRecordingPrintDevice device(c.horz, c.vert);
        device.Caps[TDeviceCap::PhysicalWidth] = c.physW;
        device.Caps[TDeviceCap::PhysicalHeight] = c.physH;
        device.Caps[TDeviceCap::PhysicalOffsetX] = c.offX;
        device.Caps[TDeviceCap::PhysicalOffsetY] = c.offY;
        PageMetrics metrics;
        ASSERT_EQ(GetPrinterPageMetrics(&device, &metrics), LongTrue);
        EXPECT_EQ(metrics, c.expected);
    }
    EXPECT_EQ(GetPrinterPageMetrics(nullptr, nullptr), LongFalse);
}

TEST(DibHeaders, SizesValidityAndColourTables)
{
    TDIBSizes sizes;
    // 8 bits with biClrUsed 0 take a full table: 40 + 4 x 256.
    EXPECT_EQ(GetDIBSizes(infoHeader(10, 10, 8, 0, 0, 0, 256), sizes), 1064u);
    EXPECT_EQ(sizes.Colors, 256);
    EXPECT_EQ(sizes.BytesPerRow, 12);
    // 16-bit bit fields without colours: header and three masks.
    EXPECT_EQ(GetDIBSizes(infoHeader(10, -10, 16, 3, 200, 0, 0, 3), sizes), 52u);
    EXPECT_EQ(sizes.Masks, 3);
    EXPECT_TRUE(sizes.TopDown);

    EXPECT_EQ(IsValidDIBHeader(infoHeader(4, -4, 32, 0, 0, 0, 0)), LongTrue);
    EXPECT_EQ(IsValidDIBHeader(infoHeader(4, -4, 8, 1, 64, 0, 256)), LongFalse) << "top-down run-length";
    EXPECT_EQ(IsValidDIBHeader(infoHeader(4, 4, 8, 1, 0, 0, 256)), LongFalse) << "run-length without size";
    // A table the block does not hold (biClrUsed unbounded) is refused.
    EXPECT_EQ(IsValidDIBHeader(infoHeader(4, 4, 8, 0, 0, 100000, 16)), LongFalse);
    EXPECT_EQ(IsValidDIBHeader(infoHeader(4, 4, 8, 0, 0, 0, 200)), LongFalse);
    EXPECT_EQ(IsValidDIBHeader({}), LongFalse);

    // A core header converts to the info form with a 4-byte table.
    Bytes core;
    put32(core, 12);
    put16(core, 3);
    put16(core, 2);
    put16(core, 1);
    put16(core, 1);
    core.insert(core.end(), {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(IsCoreHeader(core), LongTrue);
    ASSERT_EQ(GetDIBSizes(core, sizes), 48u);
    Bytes info(48, 0xEE);
    ASSERT_EQ(CoreToInfoHeader(core, info, sizes.Colors, sizes.ImageSize), LongTrue);
    EXPECT_EQ(Bytes(info.begin() + 40, info.end()), (Bytes{1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_EQ(info[32], 2);
}

TEST(DibFromBmpStream, ReadsGoodFilesAndRefusesBadOnes)
{
    TBitmap picture(7, 5);
    picture.Fill(0x00336699);
    THeapBlock header, bits;
    int width = -1, height = -1;
    ASSERT_EQ(BitmapToDIB(picture, header, bits, width, height), LongTrue);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(header.Size(), 40u);
    EXPECT_EQ(bits.Size(), 5u * 24);

    const Bytes rows24(4 * 12, 0);
    struct Case {
        const char *what;
        Bytes file;
    };
    Bytes header108 = infoHeader(4, 4, 24, 0, 0, 0, 0);
    header108[0] = 108;
    header108.resize(108, 0);
    Bytes header124 = header108;
    header124[0] = 124;
    header124.resize(124, 0);
    const Case bad[] = {
        {"108-byte header", bmpFile(header108, rows24)},
        {"124-byte header", bmpFile(header124, rows24)},
        {"1 x 1 pixel has 4 bits bytes", bmpFile(infoHeader(1, 1, 24, 0, 0, 0, 0), Bytes(4, 0))},
        {"bits offset 14", bmpFile(infoHeader(4, 4, 24, 0, 0, 0, 0), rows24, 14)},
        {"ends at its bits offset", bmpFile(infoHeader(4, 4, 24, 0, 0, 0, 0), {})},
        {"bits shorter than the rows", bmpFile(infoHeader(4, 4, 24, 0, 40, 0, 0), Bytes(40, 0))},
        {"stream shorter than its rows", bmpFile(infoHeader(40, 40, 24, 0, 0, 0, 0), rows24)},
    };
    for (const Case &c : bad) {
        TMemoryStream stream(c.file);
        EXPECT_EQ(DIBFromBMPStream(&stream, header, bits, width, height), LongFalse) << c.what;
        EXPECT_FALSE(header) << c.what;
        EXPECT_FALSE(bits) << c.what;
        EXPECT_EQ(width, 0) << c.what;
    }
}

// Decodes run-length bits of a width x height picture into a new buffer.
Bytes decode(Bytes header, const Bytes &codes, bool &ok)
{
    TDIBSizes sizes;
    GetDIBSizes(header, sizes);
    Bytes output(sizes.ImageSize, 0xCC);
    TRLEDecodeState state;
    state.Header = header;
    state.Colors = sizes.Colors;
    state.ImageSize = sizes.ImageSize;
    state.BytesPerRow = sizes.BytesPerRow;
    state.Output = output;
    ok = DecodeRLE(header, codes, state) != 0;
    if (ok) {
        EXPECT_EQ(header[16], 0) << "the working header becomes uncompressed";
    }
    return output;
}

TEST(RunLengthDecoding, BackgroundRunsAndBounds)
{
    // White at index 5: what a line leaves out stays 5; without white, 0.
    Bytes withWhite = infoHeader(6, 2, 8, 1, 8, 8, 8);
    std::memset(&withWhite[40 + 5 * 4], 255, 3);
    const Bytes shortLines{2, 7, 0, 0, 1, 9, 0, 1};
    bool ok = false;
    EXPECT_EQ(decode(withWhite, shortLines, ok), (Bytes{7, 7, 5, 5, 5, 5, 5, 5, 9, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(decode(infoHeader(6, 2, 8, 1, 8, 8, 8), shortLines, ok),
              (Bytes{7, 7, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0}));

    // RLE4: an absolute run of five pixels from an odd column takes the five
    // nibbles in order and uses four bytes after its codes.
    const Bytes rle4{1, 0x10, 0, 5, 0x23, 0x45, 0x60, 0x00, 2, 0x77, 0, 1};
    const Bytes out4 = decode(infoHeader(8, 1, 4, 2, 12, 16, 16), rle4, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(out4, (Bytes{0x12, 0x34, 0x56, 0x77}));

    // Data that would write outside the picture, or that ends inside an
    // absolute run, is refused.
    const Bytes bad[] = {{255, 1, 0, 1}, {0, 2, 0, 200, 1, 1}, {0, 9, 1, 2}};
    for (const Bytes &codes : bad) {
        decode(infoHeader(6, 2, 8, 1, 8, 0, 256), codes, ok);
        EXPECT_FALSE(ok);
    }
}

TEST(DibPalette, FromTheColourTable)
{
    Bytes header = infoHeader(4, 4, 4, 0, 0, 0, 16);
    header[40 + 4] = 10; // entry 1: blue 10
    header[40 + 6] = 30; // red 30
    auto palette = CreateDIBPalette(header);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->Version, 0x300);
    ASSERT_EQ(palette->Entries.size(), 16u);
    EXPECT_EQ(palette->Entries[1], (TPaletteEntry{30, 1, 10, 0}));
    EXPECT_FALSE(CreateDIBPalette(infoHeader(4, 4, 24, 0, 0, 0, 0)));

    test::TRecordingPrintDevice device(10, 10);
    EXPECT_EQ(IsPaletteDevice(&device), LongFalse);
    device.Caps[TDeviceCap::BitsPixel] = 8;
    device.Caps[TDeviceCap::RasterCaps] |= RC_PALETTE;
    EXPECT_EQ(IsPaletteDevice(&device), LongTrue);
    EXPECT_EQ(IsPaletteDevice(nullptr), LongFalse);
}

} // namespace
} // namespace tessaran
