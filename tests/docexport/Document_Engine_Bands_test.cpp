#include <gtest/gtest.h>

#include "Recording_Engine.h"

namespace tessaran {
namespace {

using Engine = RecordingEngine<>;
constexpr double kInch = ScreenPixelsPerInch;

// Where a caller's (x, y) in the current band lands, in native units.
TdePoint Landing(Engine &engine, double x, double y)
{
    TdePoints points{{x, y}};
    engine.PointsToNative(points, 1);
    return points[0];
}

struct Margins : ::testing::Test {
    Engine engine;
    void SetUp() override
    {
        TdePageSettings &page = engine.Page();
        page.SetLeftMargin(0.5);
        page.SetRightMargin(0.5);
        page.SetTopMargin(0.5);
        page.SetBottomMargin(0.5);
        page.SetHeaderHeight(0.8);
        page.SetFooterHeight(0.6);
        engine.BeginDoc();
    }
    void TearDown() override { engine.EndDoc(); }
};

TEST_F(Margins, BandOriginsFromMarginsAndBandHeights)
{
    const double width = 8.2677 * kInch, height = 11.6929 * kInch;
    const struct {
        void (Engine::*begin)();
        TdeBandType band;
        TdeRect rect;
    } cases[] = {
        {&Engine::BeginHeader, TdeBandType::btHeader, {0.5 * kInch, 0.5 * kInch, width - 0.5 * kInch, 1.3 * kInch}},
        {&Engine::BeginFooter, TdeBandType::btFooter,
         {0.5 * kInch, height - 1.1 * kInch, width - 0.5 * kInch, height - 0.5 * kInch}},
        {&Engine::BeginWaterMark, TdeBandType::btWatermark,
         {0.5 * kInch, 0.5 * kInch, width - 0.5 * kInch, height - 0.5 * kInch}},
        {&Engine::BeginStamp, TdeBandType::btStamp,
         {0.5 * kInch, 0.5 * kInch, width - 0.5 * kInch, height - 0.5 * kInch}},
    };
    for (const auto &c : cases) {
        (engine.*c.begin)();
        EXPECT_EQ(engine.BandType(), c.band);
        EXPECT_NEAR(engine.BandRect().Left, c.rect.Left, 1e-9);
        EXPECT_NEAR(engine.BandRect().Top, c.rect.Top, 1e-9);
        EXPECT_NEAR(engine.BandRect().Right, c.rect.Right, 1e-9);
        EXPECT_NEAR(engine.BandRect().Bottom, c.rect.Bottom, 1e-9);
        engine.EndHeader();
    }
    // (0, 0) in the header lands 0.5 inch from the top; in the content 1.3 inch.
    engine.BeginHeader();
    EXPECT_NEAR(Landing(engine, 0, 0).Y, 0.5 * kInch, 1e-9);
    engine.EndHeader();
    EXPECT_EQ(engine.BandType(), TdeBandType::btContent);
    EXPECT_NEAR(Landing(engine, 0, 0).Y, 1.3 * kInch, 1e-9);
    EXPECT_NEAR(Landing(engine, 1, 2).X, 1.5 * kInch, 1e-9);
    EXPECT_NEAR(engine.BandRect().Bottom, height - 1.1 * kInch, 1e-9);
}

TEST_F(Margins, PageAndMarginReferencePoints)
{
    engine.SetReferencePoint(TdeReferencePoint::rpPage);
    for (auto begin : {&Engine::BeginHeader, &Engine::BeginFooter, &Engine::BeginStamp}) {
        (engine.*begin)();
        EXPECT_EQ(Landing(engine, 0, 0), (TdePoint{0, 0}));
        engine.EndFooter();
    }
    EXPECT_EQ(Landing(engine, 0, 0), (TdePoint{0, 0}));
    engine.SetReferencePoint(TdeReferencePoint::rpMargin);
    engine.BeginFooter();
    EXPECT_NEAR(Landing(engine, 0, 0).Y, 0.5 * kInch, 1e-9);
    EXPECT_NEAR(engine.BandRect().Bottom, (11.6929 - 0.5) * kInch, 1e-9);
    engine.EndFooter();
}

TEST_F(Margins, BandRectIsRecomputedOnlyWhenTheBandChanges)
{
    const double top = engine.BandRect().Top;
    engine.Page().SetTopMargin(2);
    EXPECT_EQ(engine.BandRect().Top, top);
    engine.NewPage(); // the new page takes the new settings
    EXPECT_NEAR(engine.BandRect().Top, 2.8 * kInch, 1e-9);
    engine.SetWorkingPage(1);
    EXPECT_NEAR(engine.BandRect().Top, 2.8 * kInch, 1e-9);
    engine.BeginHeader();
    EXPECT_NEAR(engine.BandRect().Top, 0.5 * kInch, 1e-9); // page 1's own settings
    engine.EndHeader();
}

TEST_F(Margins, EndOfAnotherBandStoresIntoTheBandItNames)
{
    engine.BeginFooter();
    engine.AddText(0, 0, "in footer");
    engine.EndHeader();
    EXPECT_EQ(engine.BandType(), TdeBandType::btContent);
    engine.AddText(0, 0, "in content");
    engine.NewPage(); // pages held: nothing rendered yet
    engine.EndDoc();
    EXPECT_NE(std::find(engine.Log.begin(), engine.Log.end(), "footer text in footer@0,0"), engine.Log.end());
    EXPECT_NE(std::find(engine.Log.begin(), engine.Log.end(), "text in content@0,0"), engine.Log.end());
    engine.BeginDoc();
}

TEST_F(Margins, ClearedBandRendersNothing)
{
    engine.BeginWaterMark();
    engine.AddText(0, 0, "draft");
    engine.EndWaterMark();
    engine.ClearWaterMark();
    engine.EndDoc();
    for (const auto &line : engine.Log)
        EXPECT_EQ(line.find("watermark"), std::string::npos) << line;
    engine.BeginDoc();
}

TEST(Bands, CallsWithoutDocumentDoNothing)
{
    Engine engine;
    engine.ClearHeader();
    engine.BeginHeader();
    engine.EndHeader();
    engine.ClearStamp();
    EXPECT_EQ(engine.BandType(), TdeBandType::btContent);
    engine.BeginDoc();
    engine.EndDoc();
    engine.ClearFooter();
    engine.BeginFooter();
    EXPECT_EQ(engine.BandType(), TdeBandType::btContent);
}

TEST(Bands, PageBorderFollowsTheMargins)
{
    const struct {
        bool left, right, top, bottom;
        std::vector<std::string> lines;
    } cases[] = {
        {false, false, true, false, {"line 96,48-793.6992,48 w2"}},
        {true, true, false, true,
         {"line 96,48-96,1122.5184 w2", "line 793.6992,48-793.6992,1122.5184 w2",
          "line 96,1122.5184-793.6992,1122.5184 w2"}},
        {false, false, false, false, {}},
    };
    for (const auto &c : cases) {
        Engine engine;
        engine.Page().SetLeftMargin(1);
        engine.Page().SetTopMargin(0.5);
        engine.SetReferencePoint(TdeReferencePoint::rpPage); // the border ignores it
        engine.PageBorder().Width = 2;
        engine.PageBorder().DrawLeft = c.left;
        engine.PageBorder().DrawRight = c.right;
        engine.PageBorder().DrawTop = c.top;
        engine.PageBorder().DrawBottom = c.bottom;
        engine.BeginDoc();
        engine.EndDoc();
        std::vector<std::string> lines;
        for (const auto &line : engine.Log)
            if (line.rfind("line", 0) == 0)
                lines.push_back(line);
        EXPECT_EQ(lines, c.lines);
    }
}

TEST(Bands, UnitConversionAndInputResolution)
{
    Engine engine;
    const struct {
        TdeUnitType unit;
        int inputRes;
        double x, native;
    } cases[] = {
        {TdeUnitType::muPixels, 96, 100, 100},
        {TdeUnitType::muPixels, 192, 100, 50},
        {TdeUnitType::muInches, 192, 1, kInch}, // input resolution plays no part
        {TdeUnitType::muPoints, 96, 72, kInch},
        {TdeUnitType::muMM, 96, 25.4, 25.4 * 2.83464 * PixelsPerPoint},
        {TdeUnitType::muTwips, 96, 1440, kInch},
    };
    for (const auto &c : cases) {
        engine.SetMeasurementUnit(c.unit);
        engine.SetInputXRes(c.inputRes);
        engine.SetInputYRes(c.inputRes);
        EXPECT_NEAR(engine.UnitToNativeX(c.x), c.native, 1e-9);
        EXPECT_NEAR(engine.UnitToNativeY(c.x), c.native, 1e-9);
        const TdeRect r = engine.UnitToNativeRect(MakeDocRect(c.x, 0, 0, c.x));
        EXPECT_NEAR(r.Left, c.native, 1e-9);
        EXPECT_NEAR(r.Bottom, c.native, 1e-9);
    }
}

TEST(Bands, BandRectScalesWithInputResolution)
{
    Engine engine;
    engine.SetMeasurementUnit(TdeUnitType::muPixels);
    engine.SetInputXRes(192);
    engine.Page().SetLeftMargin(10);
    engine.Page().SetTopMargin(20);
    engine.BeginDoc();
    EXPECT_DOUBLE_EQ(engine.BandRect().Left, 20);
    EXPECT_DOUBLE_EQ(engine.BandRect().Top, 20);
    EXPECT_DOUBLE_EQ(Landing(engine, 40, 0).X, 40);
    engine.EndDoc();
}

TEST(Bands, IsInsideBandIncludesTheTopLeftEdgesOnly)
{
    Engine engine;
    engine.SetReferencePoint(TdeReferencePoint::rpPage);
    engine.BeginDoc();
    const double w = engine.BandRect().Right, h = engine.BandRect().Bottom;
    EXPECT_TRUE(engine.IsInsideBand(0, 0));
    EXPECT_TRUE(engine.IsInsideBand(w - 0.001, h - 0.001));
    EXPECT_FALSE(engine.IsInsideBand(w, 0));
    EXPECT_FALSE(engine.IsInsideBand(0, h));
    EXPECT_FALSE(engine.IsInsideBand(-0.001, 5));
    engine.EndDoc();
}

} // namespace
} // namespace tessaran
