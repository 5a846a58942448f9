#include <gtest/gtest.h>

#include "docexport/Document_Engine.h"
#include "docexport/Page_Settings.h"

namespace tessaran {
namespace {

TEST(TdePageSettings, NewEnginePageIsA4PortraitInInches)
{
    TdeCustomDocumentEngine engine;
    TdePageSettings &page = engine.Page();
    EXPECT_EQ(page.PaperSize(), TdePaperSize::A4);
    EXPECT_EQ(page.Orientation(), TPrinterOrientation::poPortrait);
    EXPECT_NEAR(page.Width(), 8.2677, 1e-12);
    EXPECT_NEAR(page.Height(), 11.6929, 1e-12);
    EXPECT_EQ(page.LeftMargin(), 0);
    EXPECT_EQ(page.HeaderHeight(), 0);
    EXPECT_EQ(page.BinNumber(), 0);
}

TEST(TdePageSettings, SwitchingUnitsKeepsStoredLengths)
{
    TdeCustomDocumentEngine engine;
    engine.Page().SetLeftMargin(0.5);
    engine.SetMeasurementUnit(TdeUnitType::muMM);
    EXPECT_NEAR(engine.Page().Width(), 8.2677 * 72 / 2.83464, 1e-9);
    EXPECT_NEAR(engine.Page().Width(), 210.0, 0.01);
    EXPECT_NEAR(engine.Page().LeftMargin(), 12.7, 0.001);
    engine.SetMeasurementUnit(TdeUnitType::muPoints);
    EXPECT_NEAR(engine.Page().LeftMargin(), 36, 1e-9);
    engine.SetMeasurementUnit(TdeUnitType::muPixels);
    EXPECT_NEAR(engine.Page().LeftMargin(), 0.5 * ScreenPixelsPerInch, 1e-9);
    engine.SetMeasurementUnit(TdeUnitType::muTwips);
    EXPECT_NEAR(engine.Page().LeftMargin(), 720, 1e-9);
}

TEST(TdePageSettings, OrientationSwapsAndPaperSizeFollowsIt)
{
    TdePageSettings page;
    page.SetOrientation(TPrinterOrientation::poLandscape);
    const double perInch = 72 * PixelsPerPoint;
    EXPECT_NEAR(page.Width(), 11.6929 * perInch, 1e-9);
    EXPECT_NEAR(page.Height(), 8.2677 * perInch, 1e-9);
    page.SetOrientation(TPrinterOrientation::poLandscape); // no change the second time
    EXPECT_NEAR(page.Width(), 11.6929 * perInch, 1e-9);
    page.SetPaperSize(TdePaperSize::Letter);
    EXPECT_NEAR(page.Width(), 11 * perInch, 1e-9);
    EXPECT_NEAR(page.Height(), 8.5 * perInch, 1e-9);
    page.SetOrientation(TPrinterOrientation::poPortrait);
    EXPECT_NEAR(page.Width(), 8.5 * perInch, 1e-9);
}

TEST(TdePageSettings, WidthAndHeightOnlyForCustomPaper)
{
    TdeCustomDocumentEngine engine;
    TdePageSettings &page = engine.Page();
    page.SetWidth(5);
    EXPECT_NEAR(page.Width(), 8.2677, 1e-12);
    page.SetPaperSize(TdePaperSize::Custom);
    EXPECT_NEAR(page.Width(), 8.2677, 1e-12); // Custom keeps the previous sizes
    EXPECT_NEAR(page.Height(), 11.6929, 1e-12);
    page.SetWidth(5);
    page.SetHeight(7);
    EXPECT_DOUBLE_EQ(page.Width(), 5);
    EXPECT_DOUBLE_EQ(page.Height(), 7);
}

TEST(TdePageSettings, PaperTableSamples)
{
    const struct {
        TdePaperSize size;
        double width, height;
    } cases[] = {
        {TdePaperSize::Letter, 8.5, 11},          {TdePaperSize::Ledger, 17, 11},
        {TdePaperSize::A3, 11.6929, 16.5354},     {TdePaperSize::B4, 9.8425, 13.8976},
        {TdePaperSize::DSheet, 22, 34},           {TdePaperSize::ESheet, 34, 44},
        {TdePaperSize::EnvB6, 6.9291, 4.9212},    {TdePaperSize::ISOB4, 9.8425, 13.8976},
        {TdePaperSize::FanfoldUS, 14.875, 11},    {TdePaperSize::EnvPersonal, 3.625, 6.5},
    };
    for (const auto &c : cases) {
        TdeCustomDocumentEngine engine;
        engine.Page().SetPaperSize(c.size);
        EXPECT_NEAR(engine.Page().Width(), c.width, 1e-12) << static_cast<int>(c.size);
        EXPECT_NEAR(engine.Page().Height(), c.height, 1e-12) << static_cast<int>(c.size);
    }
    EXPECT_EQ(static_cast<int>(TdePaperSize::DSheet), 23);
    EXPECT_EQ(static_cast<int>(TdePaperSize::Custom), 40);
}

TEST(TdePageSettings, AssignCopiesNativeValuesNotTheFactor)
{
    TdeCustomDocumentEngine inches;
    inches.Page().SetTopMargin(1);
    TdePageSettings copy; // factor 1: reads native values
    copy.Assign(inches.Page());
    EXPECT_DOUBLE_EQ(copy.TopMargin(), ScreenPixelsPerInch);
    EXPECT_EQ(copy.NativeFactor(), 1.0);
}

} // namespace
} // namespace tessaran
