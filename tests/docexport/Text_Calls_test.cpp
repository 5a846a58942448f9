#include <gtest/gtest.h>

#include "Recording_Engine.h"

namespace tessaran {
namespace {

using Engine = RecordingEngine<>;

// Items of the current page, read back through the render order.
struct TextCalls : ::testing::Test {
    Engine engine;
    void SetUp() override
    {
        engine.Preferences().SetProcessAfterEachPage(true);
        engine.SetMeasurementUnit(TdeUnitType::muPixels);
        engine.BeginDoc();
    }
    void TearDown() override { engine.EndDoc(); }
    std::vector<std::string> Rendered()
    {
        engine.Log.clear();
        engine.NewPage();
        std::vector<std::string> items;
        for (const auto &line : engine.Log)
            if (line.rfind("text ", 0) == 0 || line.rfind("box ", 0) == 0)
                items.push_back(line);
        return items;
    }
};

TEST_F(TextCalls, PointTextsInsideTheBandOnly)
{
    const TdeRect band = engine.BandRect();
    const double w = band.Right - band.Left, h = band.Bottom - band.Top;
    const struct {
        double x, y;
        bool kept;
    } points[] = {{0, 0, true}, {w - 1, h - 1, true}, {w, 10, false}, {10, h, false}, {-1, 10, false}};
    for (const auto &p : points) {
        engine.TextOut(p.x, p.y, u"t");
        EXPECT_EQ(Rendered().size(), p.kept ? 1u : 0u) << p.x << "," << p.y;
    }
    const struct {
        int angle, stored;
    } angles[] = {{450, 90}, {-30, -30}, {-450, -90}, {360, 0}};
    for (const auto &a : angles) {
        engine.SetTextRotation(a.angle);
        EXPECT_EQ(engine.TextRotationAngle(), a.stored);
    }
}

TEST_F(TextCalls, ItemsCarryTheStateOfTheirCall)
{
    engine.Font().Style.Include(TFontStyle::fsBold);
    engine.SetTextRotation(90);
    engine.TextOut(5, 6, u"bold");
    engine.Font().Style.Exclude(TFontStyle::fsBold);
    TdeTextItem *item = nullptr;
    auto &items = *engine.CurrentPageItem();
    ASSERT_EQ(items.DocumentItems.size(), 1u);
    item = dynamic_cast<TdeTextItem *>(items.DocumentItems[0].get());
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Font.Style.Contains(TFontStyle::fsBold));
    EXPECT_EQ(item->RotationAngle, 90);
    EXPECT_EQ(item->X, engine.BandRect().Left + 5);

    engine.TextRect(TdeRect{1, 2, 30, 40}, 5, 6, u"clipped");
    auto *clipped = dynamic_cast<TdeTextItem *>(items.DocumentItems[1].get());
    ASSERT_NE(clipped, nullptr);
    EXPECT_TRUE(clipped->IsClipRect());
    EXPECT_EQ(clipped->ClipRect(), (TdeRect{1, 2, 30, 40}));
}

TEST_F(TextCalls, VerticalTextStepsByTheTextHeight)
{
    engine.TextOutV(10, 10, u"abc", true);
    const double h = engine.TextHeight(u"abc");
    const TdeRect band = engine.BandRect();
    const auto items = Rendered();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2], "text c@" + FloatToPDFStr(band.Left + 10) + "," + FloatToPDFStr(band.Top + 10 + 2 * h));
}

TEST_F(TextCalls, MarkupRunsAndEscapes)
{
    const TdeRect band = engine.BandRect();
    const struct {
        const char16_t *markup;
        std::vector<std::string> runs;
    } cases[] = {
        {u"<B>Bold</B> plain", {"Bold", " plain"}},
        {u"a//b", {"a/b"}},
        {u"x /< y />", {"x < y >"}},
        {u"<I>open<X>tag", {"open", "tag"}},
        {u"1 < 2", {"1 ", " 2"}},
        {u"<b", {"b"}},
    };
    for (const auto &c : cases) {
        engine.HTMLTextOut(0, 0, c.markup);
        EXPECT_FALSE(engine.Font().Style.Contains(TFontStyle::fsBold));
        EXPECT_FALSE(engine.Font().Style.Contains(TFontStyle::fsItalic));
        EXPECT_EQ(engine.MeasurementUnit(), TdeUnitType::muPixels);
        std::vector<std::string> runs;
        for (const auto &line : Rendered())
            runs.push_back(line.substr(5, line.find('@') - 5));
        EXPECT_EQ(runs, c.runs) << Utf16ToUtf8(c.markup);
    }
    // The first run is bold, the second starts where the first ends.
    engine.HTMLTextOut(0, 0, u"<B>Bold</B> plain");
    auto &items = engine.CurrentPageItem()->DocumentItems;
    ASSERT_EQ(items.size(), 2u);
    auto *bold = dynamic_cast<TdeTextItem *>(items[0].get());
    auto *plain = dynamic_cast<TdeTextItem *>(items[1].get());
    EXPECT_TRUE(bold->Font.Style.Contains(TFontStyle::fsBold));
    EXPECT_FALSE(plain->Font.Style.Contains(TFontStyle::fsBold));
    EXPECT_EQ(plain->X, band.Left + engine.GetTextExtent(u"Bold", bold->Font).cx);
    EXPECT_EQ(plain->Y, bold->Y);
}

// Measuring fails in the middle of a markup text.
class FailingEngine : public Engine {
public:
    TSize GetTextExtent(const WideString &text, const TFont &font) override
    {
        if (text == u"boom")
            throw std::runtime_error("measure");
        return Engine::GetTextExtent(text, font);
    }
};

TEST(TextCallsFailure, MarkupRestoresFontAndUnitWhenACallRaises)
{
    FailingEngine engine;
    engine.SetMeasurementUnit(TdeUnitType::muMM);
    engine.BeginDoc();
    EXPECT_THROW(engine.HTMLTextOut(1, 1, u"<U><B>boom</B>"), std::runtime_error);
    EXPECT_FALSE(engine.Font().Style.Contains(TFontStyle::fsBold));
    EXPECT_FALSE(engine.Font().Style.Contains(TFontStyle::fsUnderline));
    EXPECT_EQ(engine.MeasurementUnit(), TdeUnitType::muMM);
    engine.EndDoc();
}

// Text boxes drawn by the engine's own hook.
class BoxEngine : public Engine {
protected:
    void RenderTextBoxItem(TdeTextBoxItem &item) override { TdeCustomDocumentEngine::RenderTextBoxItem(item); }
};

TEST(TextBoxes, WrapClampAndDrawTheFrame)
{
    BoxEngine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.SetMeasurementUnit(TdeUnitType::muPixels);
    engine.BeginDoc();
    engine.Frame().IsTop = false;
    const TdeRect band = engine.BandRect();
    engine.TextBox(TdeRect{10, 10, 80, 100000}, u"several words that need more than one line here",
                   TdeHAlignment::haLeft, TdeVAlignment::vaTop);
    auto &items = engine.CurrentPageItem()->DocumentItems;
    ASSERT_EQ(items.size(), 1u);
    auto *box = dynamic_cast<TdeTextBoxItem *>(items[0].get());
    ASSERT_NE(box, nullptr);
    EXPECT_GT(box->Lines.Count(), 2);
    EXPECT_EQ(box->Y + box->Boxheight, band.Bottom);
    engine.Log.clear();
    engine.NewPage();
    int lines = 0, texts = 0;
    for (const auto &entry : engine.Log) {
        lines += entry.rfind("line ", 0) == 0;
        texts += entry.rfind("text ", 0) == 0;
    }
    EXPECT_EQ(lines, 3);
    EXPECT_GT(texts, 2);
    // A box whose corner lies outside the band adds nothing.
    engine.TextBox(TdeRect{-5, 10, 80, 100}, u"x", TdeHAlignment::haLeft, TdeVAlignment::vaTop);
    EXPECT_TRUE(engine.CurrentPageItem()->DocumentItems.empty());
    engine.EndDoc();
}

} // namespace
} // namespace tessaran
