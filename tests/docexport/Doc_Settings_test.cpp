#include <memory>

#include <gtest/gtest.h>

#include "docexport/Doc_Settings.h"
#include "docexport/Document_Engine.h"

namespace tessaran {
namespace {

struct LinkedEngines : ::testing::Test {
    TdeDocSettings settings;
    TdeCustomDocumentEngine engine1, engine2;
    void SetUp() override
    {
        settings.SetMeasurementUnit(TdeUnitType::muInches);
        engine1.SetSettings(&settings);
        engine2.SetSettings(&settings);
    }
    void TearDown() override
    {
        engine1.SetSettings(nullptr);
        engine2.SetSettings(nullptr);
    }
};

TEST_F(LinkedEngines, LinkingCopiesTheSharedSettings)
{
    TdeDocSettings shared;
    shared.SetMeasurementUnit(TdeUnitType::muMM);
    shared.Page().SetLeftMargin(20);
    shared.DocInfo().SetAuthor(u"Someone");
    shared.Preferences().SetProcessAfterEachPage(true);
    shared.SetBackgroundColor(0x00FF00);
    TdeCustomDocumentEngine engine;
    engine.SetSettings(&shared);
    ASSERT_EQ(shared.EngineList().size(), 1u);
    EXPECT_EQ(engine.MeasurementUnit(), TdeUnitType::muMM);
    EXPECT_NEAR(engine.Page().LeftMargin(), 20, 1e-9);
    EXPECT_EQ(engine.DocInfo().Author(), u"Someone");
    EXPECT_TRUE(engine.Preferences().ProcessAfterEachPage());
    EXPECT_EQ(engine.BackgroundColor(), 0x00FF00u);
    engine.SetSettings(nullptr);
    EXPECT_TRUE(shared.EngineList().empty());
}

TEST_F(LinkedEngines, IndividuallyChangedValuesAreKept)
{
    engine2.Page().SetLeftMargin(1.5);
    settings.Page().SetLeftMargin(0.75);
    EXPECT_NEAR(engine1.Page().LeftMargin(), 0.75, 1e-12);
    EXPECT_NEAR(engine2.Page().LeftMargin(), 1.5, 1e-12);

    engine1.DocInfo().SetTitle(u"Own title");
    settings.DocInfo().SetTitle(u"Shared title");
    EXPECT_EQ(engine1.DocInfo().Title(), u"Own title");
    EXPECT_EQ(engine2.DocInfo().Title(), u"Shared title");

    engine1.Preferences().SetOpenAfterCreate(false);
    settings.Preferences().SetOpenAfterCreate(false);
    settings.Preferences().SetOpenAfterCreate(true);
    EXPECT_TRUE(engine1.Preferences().OpenAfterCreate()); // followed once it matched again
    EXPECT_TRUE(engine2.Preferences().OpenAfterCreate());

    engine2.SetBackgroundColor(clRed);
    settings.SetBackgroundColor(clBlue);
    EXPECT_EQ(engine1.BackgroundColor(), clBlue);
    EXPECT_EQ(engine2.BackgroundColor(), clRed);
}

TEST_F(LinkedEngines, PaperSizeOrientationAndCustomSizes)
{
    settings.Page().SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_NEAR(engine1.Page().Width(), 11.6929, 1e-12);
    engine2.Page().SetPaperSize(TdePaperSize::Letter);
    settings.Page().SetPaperSize(TdePaperSize::A3);
    EXPECT_NEAR(engine1.Page().Width(), 16.5354, 1e-12); // landscape A3
    EXPECT_NEAR(engine2.Page().Width(), 11, 1e-12);      // kept its Letter

    settings.Page().SetPaperSize(TdePaperSize::Custom);
    EXPECT_EQ(engine1.Page().PaperSize(), TdePaperSize::Custom);
    settings.Page().SetWidth(10);
    EXPECT_NEAR(engine1.Page().Width(), 10, 1e-12);
    EXPECT_NEAR(engine2.Page().Width(), 11, 1e-12); // not Custom: sizes untouched
}

TEST_F(LinkedEngines, UnitBackgroundImageAndPlainStores)
{
    settings.SetMeasurementUnit(TdeUnitType::muMM);
    EXPECT_EQ(engine1.MeasurementUnit(), TdeUnitType::muMM);
    EXPECT_NEAR(settings.Page().Width(), 210, 0.01);

    TdePicture picture;
    picture.Format = "bmp";
    picture.Data = {1, 2, 3};
    engine2.BackgroundImage().Data = {9};
    settings.SetBackgroundImage(picture);
    EXPECT_EQ(engine1.BackgroundImage(), picture);
    EXPECT_EQ(engine2.BackgroundImage(), picture); // reaches engines changed individually too

    settings.Preferences().SetCalculateVariables(false);
    EXPECT_TRUE(engine1.Preferences().CalculateVariables());
    settings.Page().SetBinNumber(3);
    EXPECT_EQ(engine1.Page().BinNumber(), 0);
}

TEST(TdeDocSettingsLifetime, DestroyedEngineLeavesTheEngineList)
{
    TdeDocSettings settings;
    {
        TdeCustomDocumentEngine engine;
        engine.SetSettings(&settings);
        EXPECT_EQ(settings.EngineList().size(), 1u);
    }
    EXPECT_TRUE(settings.EngineList().empty());
    settings.Page().SetLeftMargin(1); // would reach a destroyed engine otherwise
    settings.DocInfo().SetAuthor(u"x");
}

TEST(TdeDocSettingsLifetime, DestroyedSettingsUnlinksItsEngines)
{
    TdeCustomDocumentEngine engine;
    {
        TdeDocSettings settings;
        engine.SetSettings(&settings);
    }
    EXPECT_EQ(engine.Settings(), nullptr);
    engine.SetSettings(nullptr);
}

TEST(TdeDocSettingsLifetime, SiblingComponentsAreToldOfRemoval)
{
    TdeBaseComponent form;
    TdeCustomDocumentEngine engine(&form);
    auto settings = std::make_unique<TdeDocSettings>(&form);
    engine.SetSettings(settings.get());
    settings.reset();
    EXPECT_EQ(engine.Settings(), nullptr);
}

} // namespace
} // namespace tessaran
