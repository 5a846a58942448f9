// Damaged copies of valid pictures and metafiles: every one either loads or
// is refused with the reader's own error, never a crash or an endless loop.
#include "platform/Bitmap.h"
#include "platform/Bmp_Codec.h"
#include "platform/Jpeg_Image.h"
#include "platform/MetafileCanvas.h"

#include <gtest/gtest.h>

#include <random>

namespace tessaran {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Flips, overwrites with extreme values or cuts the data at random places.
std::vector<Bytes> damagedCopies(const Bytes &good, int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<Bytes> copies;
    for (int i = 0; i < count; ++i) {
        Bytes b = good;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !b.empty(); ++e) {
            std::size_t at = random() % b.size();
            switch (random() % 4) {
            case 0:
                b[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
                break;
            case 1:
                b[at] = 0xFF;
                break;
            case 2:
                b[at] = 0x00;
                break;
            default:
                b.resize(at);
                break;
            }
        }
        copies.push_back(std::move(b));
    }
    return copies;
}

TEST(MalformedInput, DamagedMetafilesLoadOrAreRefused)
{
    TMetafile mf;
    mf.Width = 200;
    mf.Height = 100;
    {
        TMetafileCanvas c(mf);
        c.Pen.Color = clRed;
        c.MoveTo(1, 1);
        c.LineTo(50, 50);
        c.Rectangle(10, 10, 40, 40);
        c.Font.Escapement = 450;
        c.TextOut(5, 60, "Tank 7");
        TPoint pts[4] = {{0, 0}, {10, 30}, {40, 30}, {50, 0}};
        c.PolyBezier(pts);
        TBitmap bmp(3, 3);
        c.StretchDraw(TRect{100, 10, 130, 40}, bmp);
        c.Close();
    }
    int loaded = 0;
    for (const Bytes &data : damagedCopies(mf.Bytes(), 1500, 7)) {
        TMetafile damaged;
        try {
            damaged.SetBytes(data);
        } catch (const EMetafileError &) {
            continue;
        }
        ++loaded;
        TMetafile target;
        target.Width = target.Height = 100;
        TMetafileCanvas canvas(target);
        damaged.Width = std::max(damaged.Width, 1);
        damaged.Height = std::max(damaged.Height, 1);
        canvas.StretchDraw(TRect{0, 0, 100, 100}, damaged);
        canvas.Close();
        EXPECT_NO_THROW(TMetafile::Validate(target.Bytes()));
    }
    EXPECT_GT(loaded, 0);
}

TEST(MalformedInput, DamagedBitmapsLoadOrAreRefused)
{
    TBitmap source(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            source.SetPixel(x, y, RGB(x * 30, y * 50, 99));
    std::vector<Bytes> goods = {EncodeBmp(source)};
    source.SetPixelFormat(TPixelFormat::pf32bit);
    goods.push_back(EncodeBmp(source));
    // An 8-bit run-length bitmap with a colour table.
    Bytes rle = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54 + 8, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0, 1, 0, 8, 0,
                 1, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    Bytes table(1024, 0);
    table[4] = 255;
    rle.insert(rle.end(), table.begin(), table.begin() + 8);
    rle.insert(rle.end(), {4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 2, 1, 1, 0, 1});
    goods.push_back(rle);
    ASSERT_NO_THROW(DecodeBmp(rle));
    unsigned seed = 11;
    for (const Bytes &good : goods) {
        for (const Bytes &data : damagedCopies(good, 1500, seed++)) {
            TBitmap bmp;
            try {
                bmp.LoadFromBytes(data);
            } catch (const EInvalidGraphic &) {
                continue;
            }
            EXPECT_GT(bmp.Width(), 0);
            EXPECT_LE(static_cast<std::int64_t>(bmp.Width()) * bmp.Height(), TBitmap::MaxPixels);
        }
    }
}

TEST(MalformedInput, DamagedJpegsLoadOrAreRefused)
{
    TBitmap source(24, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            source.SetPixel(x, y, RGB(x * 10, y * 15, 200));
    TJPEGImage jpeg;
    jpeg.Assign(source);
    for (const Bytes &data : damagedCopies(jpeg.SaveToBytes(), 600, 23)) {
        TJPEGImage damaged;
        try {
            damaged.LoadFromBytes(data);
        } catch (const EInvalidGraphic &) {
            continue;
        }
        EXPECT_GT(damaged.Width(), 0);
    }
}

} // namespace
} // namespace tessaran
