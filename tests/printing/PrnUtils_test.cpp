#include "printing/Abort_Dialog.h"
#include "printing/PrnUtils.h"

#include "support/Recording_Print_Device.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

// A picture in four coloured quadrants, so orientation and scaling show.
TBitmap quadrants(int width, int height)
{
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            picture.SetPixel(x, y, right ? (bottom ? 0x0000FF00 : 0x00FF0000) : (bottom ? 0x000000FF : 0x00000000));
        }
    return picture;
}

struct TDib {
    THeapBlock Header;
    THeapBlock Bits;
    int Width = 0;
    int Height = 0;
};

TDib dibOf(const TBitmap &picture)
{
    TDib dib;
    EXPECT_EQ(BitmapToDIB(picture, dib.Header, dib.Bits, dib.Width, dib.Height), LongTrue);
    return dib;
}

// The same picture with its rows stored top-down.
TDib topDownOf(const TDib &dib)
{
    TDib flipped;
    flipped.Header = GlobalAllocZeroed(dib.Header.Size());
    std::copy(dib.Header.Bytes().begin(), dib.Header.Bytes().end(), flipped.Header.Data());
    const std::int32_t height = -dib.Height;
    std::memcpy(flipped.Header.Data() + 8, &height, 4);
    flipped.Bits = GlobalAllocZeroed(dib.Bits.Size());
    const std::size_t row = dib.Bits.Size() / dib.Height;
    for (int r = 0; r < dib.Height; ++r)
        std::memcpy(flipped.Bits.Data() + r * row, dib.Bits.Data() + (dib.Height - 1 - r) * row, row);
    flipped.Width = dib.Width;
    flipped.Height = dib.Height;
    return flipped;
}

int stretch(test::TRecordingPrintDevice &device, const TDib &dib, TRect dest, TRect source,
            ProgressCallback progress = nullptr, void *data = nullptr,
            TRect clip = TRect{-100000, -100000, 100000, 100000})
{
    return StretchDIBToDevice(&device, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Left, source.Top,
                              source.Width(), source.Height(), dib.Header.Bytes(), dib.Bits.Bytes(), nullptr,
                              LongTrue, LongFalse, clip, progress, data);
}

TEST(Tiling, CountsAndWalksRowsFromTheTop)
{
    TileInfo info;
    ASSERT_EQ(CountTiles(TRect{0, 0, 100, 25}, 40, 10, &info), LongTrue);
    EXPECT_EQ(info.TileCount, 9);
    EXPECT_EQ(CountTiles(TRect{0, 0, 0, 0}, 40, 10, &info), LongTrue);
    EXPECT_EQ(info.TileCount, 0);
    EXPECT_EQ(CountTiles(TRect{0, 0, 10, 10}, 0, 10, &info), LongFalse);
    EXPECT_EQ(CountTiles(TRect{10, 0, 0, 10}, 5, 5, &info), LongFalse);

    static std::vector<TileInfo> seen;
    seen.clear();
    ASSERT_EQ(ForEachTile(TRect{0, 0, 100, 25}, 40, 10,
                          [](TileInfo *tile) -> TLongBool {
                              seen.push_back(*tile);
                              return LongTrue;
                          },
                          nullptr, nullptr),
              LongTrue);
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen[2].Tile, (TRect{80, 0, 100, 10}));
    EXPECT_EQ(seen[8].Tile, (TRect{80, 20, 100, 25}));
    EXPECT_EQ(seen[8].Row, 3);
    EXPECT_EQ(seen[8].Column, 3);
    EXPECT_EQ(seen[8].TileIndex, 9);
    EXPECT_EQ(seen[8].TileCount, 9);
}

TEST(StretchDIBToDevice, TilesBoundedByScreenAndBands)
{
    const TDib dib = dibOf(quadrants(1000, 1000));
    test::TRecordingPrintDevice device(2000, 2000);
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 1000, 1000}, TRect{0, 0, 1000, 1000}), PrintDone);
    EXPECT_EQ(device.Count("StretchDIBits"), 1);

    // Without 64 KB bitmaps a 1920-pixel, 24-bit band is 11 rows: 91 tiles.
    test::TRecordingPrintDevice banded(2000, 2000);
    banded.SetBitmap64(false);
    EXPECT_EQ(stretch(banded, dib, TRect{0, 0, 1000, 1000}, TRect{0, 0, 1000, 1000}), PrintDone);
    ASSERT_EQ(banded.Count("StretchDIBits"), 91);
    EXPECT_EQ(banded.Calls.back().Dest, (TRect{0, 990, 1000, 1000}));
    EXPECT_TRUE(SamePixels(device.Page, banded.Page));
    EXPECT_EQ(banded.Page.Pixel(250, 250), 0);
    EXPECT_EQ(banded.Page.Pixel(750, 750), 0x0000FF00);
}

TEST(StretchDIBToDevice, ResultsForEdgeCases)
{
    const TDib dib = dibOf(quadrants(40, 20));
    test::TRecordingPrintDevice device(200, 200);
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 40, 20}, TRect{0, 0, 41, 20}), PrintBadArguments);
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 40, 20}, TRect{-1, 0, 39, 20}), PrintBadArguments);
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 40, 20}, TRect{0, 0, 40, 20}, nullptr, nullptr,
                      TRect{100, 100, 150, 150}),
              PrintNothingVisible);
    EXPECT_TRUE(device.Calls.empty());

    // A cancel at the first callback stops before any output.
    int calls = 0;
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 40, 20}, TRect{0, 0, 40, 20},
                      [](int, int, void *count) -> TLongBool {
                          ++*static_cast<int *>(count);
                          return LongFalse;
                      },
                      &calls),
              PrintOutputFailed);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(device.Calls.empty());

    // Bits shorter than the header's rows are refused, not read past.
    TDib shortBits = dibOf(quadrants(40, 20));
    EXPECT_EQ(StretchDIBToDevice(&device, 0, 0, 40, 20, 0, 0, 40, 20, shortBits.Header.Bytes(),
                                 shortBits.Bits.Bytes().first(100), nullptr, LongTrue, LongFalse,
                                 TRect{0, 0, 200, 200}, nullptr, nullptr),
              PrintBadArguments);
}

TEST(StretchDIBToDevice, RefusedStretchDIBitsFallsBackForTheRestOfTheCall)
{
    const TDib dib = dibOf(quadrants(1000, 100));
    test::TRecordingPrintDevice device(3000, 200);
    device.RefuseStretchDIBits = true;
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 3000, 100}, TRect{0, 0, 1000, 100}), PrintDone);
    // Two tiles: the first is refused once and then copied; the second goes
    // straight to the copy.
    EXPECT_EQ(device.Count("StretchDIBits"), 1);
    EXPECT_EQ(device.Count("BitBlt"), 2);
    EXPECT_EQ(device.Page.Pixel(2999, 99), 0x0000FF00);

    device.Calls.clear();
    device.RefuseStretchDIBits = false;
    EXPECT_EQ(stretch(device, dib, TRect{0, 0, 3000, 100}, TRect{0, 0, 1000, 100}), PrintDone);
    EXPECT_EQ(device.Count("StretchDIBits"), 2);
    EXPECT_EQ(device.Count("BitBlt"), 0);
}

TEST(StretchDIBToDevice, TopDownPrintsAsBottomUp)
{
    const TDib bottomUp = dibOf(quadrants(64, 48));
    const TDib topDown = topDownOf(bottomUp);
    test::TRecordingPrintDevice a(200, 200), b(200, 200);
    EXPECT_EQ(stretch(a, bottomUp, TRect{10, 10, 138, 106}, TRect{0, 0, 64, 48}), PrintDone);
    EXPECT_EQ(stretch(b, topDown, TRect{10, 10, 138, 106}, TRect{0, 0, 64, 48}), PrintDone);
    EXPECT_TRUE(SamePixels(a.Page, b.Page));
    EXPECT_EQ(a.Page.Pixel(20, 20), 0);
    EXPECT_EQ(a.Page.Pixel(130, 100), 0x0000FF00);
    // A source rectangle picks image rows counted from the top.
    test::TRecordingPrintDevice c(100, 100);
    EXPECT_EQ(stretch(c, topDown, TRect{0, 0, 32, 24}, TRect{32, 24, 64, 48}), PrintDone);
    EXPECT_EQ(c.Page.Pixel(5, 5), 0x0000FF00);
}

TEST(PrintDIBFitToPage, FillsTheUsableAreaCentredOrNot)
{
    const TDib dib = dibOf(quadrants(200, 100)); // twice as wide as high
    for (const bool centre : {true, false}) {
        test::TRecordingPrintDevice device(1000, 1400);
        device.Caps[TDeviceCap::PhysicalWidth] = 1100;
        device.Caps[TDeviceCap::PhysicalHeight] = 1500;
        device.Caps[TDeviceCap::PhysicalOffsetX] = 50;
        device.Caps[TDeviceCap::PhysicalOffsetY] = 50;
        EXPECT_EQ(PrintDIBFitToPage(&device, dib.Header.Bytes(), dib.Bits.Bytes(), centre ? LongTrue : LongFalse,
                                    LongTrue, nullptr, nullptr),
                  PrintDone);
        // Margins 50 all round: usable 1000 x 1400 from the printable origin.
        ASSERT_EQ(device.Count("StretchDIBits"), 1);
        const TRect expected = centre ? TRect{0, 450, 1000, 950} : TRect{0, 0, 1000, 500};
        EXPECT_EQ(device.Calls[0].Dest, expected);
    }
}

TEST(AbortDialog, CancelIsSeenByTheNextQuestion)
{
    TAbortDialog *dialog = CreateAbortDialog(nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Printing"));
    EXPECT_EQ(AbortDialogCanceled(dialog), LongFalse);
    SetAbortDialogCaption(dialog, u"50 %");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("50 %"));
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
    EXPECT_EQ(AbortDialogCanceled(dialog), LongTrue);
    FreeAbortDialog(dialog);
}

} // namespace
} // namespace tessaran
