#include "app/Viewport_Geometry.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

TEST(ViewportGeometry, SnapsToThePlanAndIsometricGrids)
{
    struct Case {
        bool isometric;
        int x, y, snappedX, snappedY;
    };
    const Case cases[] = {
        {false, 39, 61, 40, 80},       {false, 20, 20, 40, 40},   {false, 0, 0, 0, 0},
        {false, 18059, 5, 18020, 40},  {false, 18040, 80, 18040, 80}, // on the grid: left alone
        {false, -30, 12019, 40, 11980}, {true, 0, 0, 20, 20},      {true, 45, 0, 60, 0},
        {true, 100, 50, 100, 60},
    };
    for (const Case &c : cases) {
        int x = c.x, y = c.y;
        SnapToGrid(c.isometric, GridSpacing, GridSpacing, x, y);
        EXPECT_EQ(x, c.snappedX) << c.isometric << " " << c.x << "," << c.y;
        EXPECT_EQ(y, c.snappedY) << c.isometric << " " << c.x << "," << c.y;
    }
}

TEST(ViewportGeometry, IsometricSnapLandsOnACrossingOfTheGridLines)
{
    for (int x = 0; x < 400; x += 7)
        for (int y = 0; y < 400; y += 11) {
            int sx = x, sy = y;
            SnapToGrid(true, GridSpacing, GridSpacing, sx, sy);
            EXPECT_EQ(sx % 40, 20);
            EXPECT_EQ(sy % 20, 0);
            EXPECT_EQ((sx / 40 + sy / 20) % 2, 1) << x << "," << y;
        }
}

TEST(ViewportGeometry, ImagePixelsBecomeDrawingUnitsAtEachScale)
{
    struct Case {
        double scale;
        int x, y;
    };
    for (const Case &c : {Case{1.0, 123, 45}, Case{0.5, 246, 90}, Case{1.25, 98, 36}}) {
        EXPECT_EQ(ImageToDrawing(123, c.scale, 0), c.x) << c.scale;
        EXPECT_EQ(ImageToDrawing(45, c.scale, 0), c.y) << c.scale;
    }
    EXPECT_EQ(ImageToDrawing(10, 1.0, 500), 510);
}

TEST(ViewportGeometry, ScaleTextsAndUnreadableOnes)
{
    EXPECT_DOUBLE_EQ(ScaleFromScaleText("20%"), 0.2);
    EXPECT_DOUBLE_EQ(ScaleFromScaleText("400%"), 4.0);
    EXPECT_DOUBLE_EQ(ScaleFromScaleText("x%"), 1.0);
    EXPECT_DOUBLE_EQ(ScaleFromScaleText(""), 1.0);
    EXPECT_DOUBLE_EQ(ScaleFromScaleText("99999999999999%"), 1.0);
}

TEST(ViewportGeometry, ZoomToFitCentresAndNeverEnlarges)
{
    // The extents of an empty drawing lie around the sheet's middle.
    const TViewPlacement empty = ZoomToFitPlacement(9029, 6009, 9031, 6011, 1000, 600);
    EXPECT_EQ(empty.ScaleIndex, ScaleIndex100);
    EXPECT_NEAR(empty.OffsetX + 1000 / 2, 9030, 2);
    EXPECT_NEAR(empty.OffsetY + 600 / 2, 6010, 2);

    // Twice as wide as the view: 50 %.
    const TViewPlacement wide = ZoomToFitPlacement(1000, 1000, 3000, 1200, 1000, 600);
    EXPECT_EQ(wide.ScaleIndex, 3);
    const TViewPlacement tall = ZoomToFitPlacement(0, 0, 100, 6000, 1000, 600);
    EXPECT_EQ(tall.ScaleIndex, 0); // a tenth of the height: the smallest entry
}

TEST(ViewportGeometry, AnItemBesideTheResultsSheetGoesIntoTheFreeBand)
{
    const TScreenRect window{0, 0, 1200, 800};
    // Sheet over the right half: the band left of it.
    auto left = PlaceBesideResultsSheet(5000, 4000, 999, 700, window, 201, 80, true, {600, 0, 600, 800});
    ASSERT_TRUE(left);
    EXPECT_EQ(left->X, 5000 - (600 - 201) / 2);
    EXPECT_EQ(left->Y, 4000 - 700 / 2);
    // Sheet over the lower part: the band above it.
    auto above = PlaceBesideResultsSheet(5000, 4000, 999, 700, window, 201, 80, true, {0, 400, 1200, 400});
    ASSERT_TRUE(above);
    EXPECT_EQ(above->X, 5000 - 999 / 2);
    EXPECT_EQ(above->Y, 4000 - (400 - 80) / 2);
    // Sheet beside the window, or hidden: centred.
    for (const auto &placed : {PlaceBesideResultsSheet(5000, 4000, 999, 700, window, 201, 80, true, {1300, 0, 300, 800}),
                               PlaceBesideResultsSheet(5000, 4000, 999, 700, window, 201, 80, false, {600, 0, 600, 800})}) {
        ASSERT_TRUE(placed);
        EXPECT_EQ(placed->X, 5000 - 999 / 2);
        EXPECT_EQ(placed->Y, 4000 - 700 / 2);
    }
    // Sheet covering the whole window: no band, the view stays.
    EXPECT_FALSE(PlaceBesideResultsSheet(5000, 4000, 999, 700, window, 201, 80, true, {0, 0, 1200, 800}));
}

} // namespace
} // namespace tessaran
