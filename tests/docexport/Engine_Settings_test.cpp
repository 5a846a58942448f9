#include <gtest/gtest.h>

#include "docexport/Document_Engine.h"
#include "docexport/Email_Settings.h"
#include "docexport/Engine_Settings.h"

namespace tessaran {
namespace {

// An output engine that writes only a few image formats.
class BitmapOnlyEngine : public TdeCustomDocumentEngine {
public:
    bool IsImageFormatSupported(TdeOutputImageFormat format) override
    {
        return format == TdeOutputImageFormat::ifBMP || format == TdeOutputImageFormat::ifJPEG;
    }
};

TEST(TdeImageSettings, DefaultsAndFormatCheckOfTheOwningEngine)
{
    BitmapOnlyEngine engine;
    TdeImageSettings &settings = engine.ImageSettings();
    EXPECT_EQ(settings.OutputImageFormat(), TdeOutputImageFormat::ifJPEG);
    EXPECT_EQ(settings.ImagePixelFormat, TPixelFormat::pf24bit);
    EXPECT_EQ(settings.JPEGQuality, 100);
    EXPECT_EQ(settings.SourceDPI, ScreenPixelsPerInch);

    EXPECT_THROW(
        {
            try {
                settings.SetOutputImageFormat(TdeOutputImageFormat::ifPNG);
            } catch (const ExInvalidImageFormat &e) {
                EXPECT_STREQ(e.what(), "Invalid Image Format");
                throw;
            }
        },
        ExInvalidImageFormat);
    EXPECT_EQ(settings.OutputImageFormat(), TdeOutputImageFormat::ifJPEG);

    // Through Assign: the values before the format are copied, the rest not.
    TdeImageSettings source; // no owner: unchecked
    source.SetOutputImageFormat(TdeOutputImageFormat::ifPNG);
    source.Center = true;
    source.JPEGQuality = 50;
    EXPECT_THROW(settings.Assign(source), ExInvalidImageFormat);
    EXPECT_TRUE(settings.Center);
    EXPECT_EQ(settings.JPEGQuality, 100);
    EXPECT_EQ(settings.OutputImageFormat(), TdeOutputImageFormat::ifJPEG);
}

TEST(TdeFrame, MarginInEngineUnitsOnlyWithAnEngineOwner)
{
    TdeCustomDocumentEngine engine; // inches
    engine.Frame().SetInternalMargin(MakeDocRect(0.5, 0.25, 0.5, 0.25));
    EXPECT_DOUBLE_EQ(engine.Frame().NativeInternalMargin().Left, 0.5 * ScreenPixelsPerInch);
    EXPECT_DOUBLE_EQ(engine.Frame().InternalMargin().Top, 0.25);

    TdeFrame itemFrame; // as held by text-box items
    itemFrame.Assign(engine.Frame());
    EXPECT_DOUBLE_EQ(itemFrame.InternalMargin().Left, 0.5 * ScreenPixelsPerInch);
    itemFrame.SetInternalMargin(MakeDocRect(1, 2, 3, 4));
    EXPECT_EQ(itemFrame.InternalMargin(), MakeDocRect(1, 2, 3, 4));
}

TEST(EngineSettingSetters, TextFormattingConvertsIndentsOnly)
{
    TdeCustomDocumentEngine engine; // inches
    TdeTextFormatting given;
    given.SetLeftIndent(1);
    given.SetRightIndent(0.5);
    given.SetFirstLineIndent(0.25);
    given.SetBeforeSpace(3);
    given.LineSpacing = 1.5;
    given.Alignment = TdeHAlignment::haJustify;
    given.Border().SpaceFromText = 4;
    engine.SetTextFormatting(given);
    const TdeTextFormatting &own = engine.TextFormatting();
    EXPECT_DOUBLE_EQ(own.LeftIndent(), 1);
    EXPECT_DOUBLE_EQ(own.RightIndent(), 0.5);
    EXPECT_DOUBLE_EQ(own.FirstLineIndent(), 0.25);
    EXPECT_DOUBLE_EQ(own.NativeBeforeSpace(), 3); // taken as it is
    EXPECT_DOUBLE_EQ(own.LineSpacing, 1.5);
    EXPECT_EQ(own.Alignment, TdeHAlignment::haJustify);
    EXPECT_EQ(own.Border().SpaceFromText, 4);
    EXPECT_DOUBLE_EQ(given.LeftIndent(), 1); // the given object is left unchanged
}

TEST(EngineSettingSetters, TableSettingsTakeLengthsInTheEngineUnit)
{
    TdeCustomDocumentEngine engine;
    engine.SetMeasurementUnit(TdeUnitType::muMM);
    TdeTableSettings given;
    given.SetColumnWidth(30);
    given.SetRowHeight(8);
    given.SetTitleHeight(10);
    given.SetInternalMargin(MakeDocRect(1, 2, 1, 2));
    given.AutoAdjustColumnWidth = true;
    given.EnableTitle = true;
    engine.SetTableSettings(given);
    const TdeTableSettings &own = engine.TableSettings();
    EXPECT_NEAR(own.ColumnWidth(), 30, 1e-9);
    EXPECT_NEAR(own.RowHeight(), 8, 1e-9);
    EXPECT_NEAR(own.TitleHeight(), 10, 1e-9);
    EXPECT_NEAR(own.InternalMargin().Top, 2, 1e-9);
    EXPECT_NEAR(own.NativeColumnWidth(), 30 * 2.83464 * PixelsPerPoint, 1e-9);
    EXPECT_TRUE(own.AutoAdjustColumnWidth);
    EXPECT_TRUE(own.EnableTitle);
}

TEST(EngineSettingSetters, ObjectPropertiesAreCopiedPageBorderIsReferenced)
{
    TdeCustomDocumentEngine engine;
    TdeFont font;
    font.Name = "Courier New";
    font.Size = 12;
    engine.SetFont(font);
    font.Size = 20;
    EXPECT_EQ(engine.Font().Size, 12);

    TdeBorder border;
    border.DrawTop = true;
    engine.SetPageBorder(&border);
    border.DrawLeft = true;
    EXPECT_TRUE(engine.PageBorder().DrawLeft);
    engine.SetPageBorder(nullptr); // back to the engine's own
    EXPECT_FALSE(engine.PageBorder().DrawTop);
}

TEST(TdeParaBorder, AssignFromEitherBorderClass)
{
    TdeParaBorder target;
    TdeParaBorder para;
    para.SpaceFromText = 6;
    para.Width = 3;
    target.Assign(para);
    EXPECT_EQ(target.SpaceFromText, 6);
    EXPECT_EQ(target.Width, 3);
    TdeBorder plain;
    plain.DrawBottom = true;
    target.Assign(plain);
    EXPECT_EQ(target.SpaceFromText, 6); // only a paragraph border carries it
    EXPECT_TRUE(target.DrawBottom);
}

TEST(TdeEmailSettings, DefaultsAssignAndClone)
{
    TdeEmailSettings source;
    EXPECT_EQ(source.Port, 25);
    source.RecipientList = {"a@example.org", "b@example.org"};
    source.ReceiptRecipient = "r@example.org";
    source.Subject = "Report";
    TdeEmailSettings copy;
    copy.Assign(source);
    source.RecipientList.push_back("c@example.org");
    EXPECT_EQ(copy.RecipientList.size(), 2u);
    EXPECT_EQ(copy.Subject, "Report");
    const auto clone = copy.Clone();
    EXPECT_EQ(clone->RecipientList, copy.RecipientList);
    EXPECT_EQ(clone->ReceiptRecipient, "r@example.org");

    TdeEmailAdapter adapter;
    EXPECT_EQ(adapter.EMailSettings(), nullptr);
    adapter.SetEMailSettings(source); // nothing to copy into, nothing happens
    adapter.SendEmail();
}

} // namespace
} // namespace tessaran
