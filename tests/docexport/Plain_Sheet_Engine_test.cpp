#include <gtest/gtest.h>

#include "Recording_Engine.h"
#include "docexport/Plain_Sheet_Engine.h"

namespace tessaran {
namespace {

using Engine = RecordingEngine<TdeCustomPlainSheetEngine>;

TEST(TdeCustomPlainSheetEngine, TableOfContentsEntries)
{
    Engine engine;
    EXPECT_EQ(engine.AddTOCItem(u"Before", -1, 1, 0), -1);
    engine.BeginDoc();
    EXPECT_EQ(engine.AddTOCItem(u"Summary", -1, 1, 12.5), 0);
    EXPECT_EQ(engine.AddTOCItem(u"Pipes", 0, 1, 100), 1);
    const struct {
        int parent, page;
    } refused[] = {{2, 1}, {-2, 1}, {0, 0}, {0, 2}};
    for (const auto &c : refused)
        EXPECT_EQ(engine.AddTOCItem(u"x", c.parent, c.page, 0), -1) << c.parent << " " << c.page;
    engine.NewPage();
    EXPECT_EQ(engine.AddTOCItem(u"Nodes", 1, 2, 5), 2);
    EXPECT_EQ(engine.AddTOCItem(u"Web", -1, "https://example.org"), 3);
    EXPECT_EQ(engine.AddTOCItem(u"Bad parent", 4, "https://example.org"), -1);

    const auto &list = *engine.TOCItemList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]->Title, u"Summary");
    EXPECT_EQ(list[0]->Y, 12.5); // stored as given: native, not converted
    EXPECT_EQ(list[0]->X, 0);
    EXPECT_EQ(list[2]->ParentNode, 1);
    EXPECT_EQ(list[2]->PageNumber, 2);
    EXPECT_EQ(list[3]->PageNumber, 0);
    EXPECT_EQ(list[3]->URL, "https://example.org");

    engine.EndDoc();
    EXPECT_EQ(engine.TOCItemList(), nullptr);
    EXPECT_EQ(engine.AddTOCItem(u"After", -1, "https://example.org"), -1);
}

TEST(TdeCustomPlainSheetEngine, SecondBeginDocKeepsTheEntries)
{
    Engine engine;
    engine.BeginDoc();
    engine.AddTOCItem(u"Kept", -1, 1, 0);
    engine.BeginDoc();
    EXPECT_EQ(engine.TOCItemList()->size(), 1u);
    engine.EndDoc();
}

TEST(TdeCustomPlainSheetEngine, CancelledStartKeepsNoEntries)
{
    Engine engine;
    engine.DialogResult = mrCancel;
    engine.BeginDoc();
    EXPECT_EQ(engine.AddTOCItem(u"x", -1, "u"), -1);
    engine.DialogResult = mrOk;
    engine.BeginDoc();
    EXPECT_TRUE(engine.TOCItemList()->empty());
    engine.EndDoc();
}

TEST(TdeCustomPlainSheetEngine, PreferencesAddActiveHyperLinks)
{
    Engine engine;
    EXPECT_TRUE(engine.Preferences().ActiveHyperLinks);
    engine.Preferences().ActiveHyperLinks = false;
    TdePlainSheetPreferences other;
    other.ActiveHyperLinks = true;
    other.SetProcessAfterEachPage(true);
    engine.SetPreferences(other);
    EXPECT_FALSE(engine.Preferences().ActiveHyperLinks);
    EXPECT_TRUE(engine.Preferences().ProcessAfterEachPage());
}

TEST(TdeCustomPlainSheetEngine, ManyPageDocumentWithBandsAndItems)
{
    Engine engine;
    engine.Preferences().SetProcessAfterEachPage(true);
    engine.Page().SetTopMargin(0.5);
    engine.Page().SetHeaderHeight(0.5);
    engine.OnAfterBeginPage = [&engine](TdeBaseComponent *) {
        engine.ClearFooter();
        engine.BeginFooter();
        engine.AddText(0, 0, "p" + std::to_string(engine.CurrentPage()));
        engine.EndFooter();
    };
    engine.BeginDoc();
    engine.BeginHeader();
    engine.AddText(0, 0, "Report");
    engine.EndHeader();
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            engine.NewPage();
        engine.AddTOCItem(u"Section", -1, page, 0);
        engine.AddText(1, 2, "body " + std::to_string(page));
        engine.AddItem(std::make_unique<TdeShapeItem>(false, TdeShapeType::stLine)); // no points: draws nothing
    }
    engine.EndDoc();
    const std::vector<std::string> expected = {
        "begin doc",
        "metafile 794x1123 at 0,96", "begin page 1", "header text Report@0,0", "text body 1@1,2", "eof",
        "footer text p1@0,0", "end page 1",
        "metafile 794x1123 at 0,96", "begin page 2", "header text Report@0,0", "text body 2@1,2", "eof",
        "footer text p2@0,0", "end page 2",
        "metafile 794x1123 at 0,96", "begin page 3", "header text Report@0,0", "text body 3@1,2", "eof",
        "footer text p3@0,0", "end page 3",
        "end doc"};
    EXPECT_EQ(engine.Log, expected);
}

} // namespace
} // namespace tessaran
