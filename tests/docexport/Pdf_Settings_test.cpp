#include "docexport/Pdf_Settings.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

TEST(PdfViewerPreferences, CatalogEntries)
{
    TdeViewerPreferences defaults;
    EXPECT_EQ(defaults.GetViewerPreferences(), "/PageMode/UseNone/PageLayout/OneColumn/ViewerPreferences << >>");

    // As the program sets them: the non-full-screen mode is not written.
    TdeViewerPreferences program;
    program.CenterWindow = true;
    program.FitWindow = false;
    program.PageLayout = TdePageLayout::plOneColumn;
    program.NonFullScreenPageMode = TdeNonFullScreenPageMode::nfspmUseThumbs;
    EXPECT_EQ(program.GetViewerPreferences(),
              "/PageMode/UseNone/PageLayout/OneColumn/ViewerPreferences <</CenterWindow true >>");

    TdeViewerPreferences all;
    all.PageMode = TdePageMode::pmFullScreen;
    all.PageLayout = TdePageLayout::plTwoColumnRight;
    all.CenterWindow = all.FitWindow = all.HideWindowUI = all.HideMenuBar = all.HideToolBar = true;
    all.NonFullScreenPageMode = TdeNonFullScreenPageMode::nfspmUseOutlines;
    EXPECT_EQ(all.GetViewerPreferences(),
              "/PageMode/FullScreen/PageLayout/TwoColumnRight/ViewerPreferences <</CenterWindow true/FitWindow "
              "true/HideWindowUI true/HideMenubar true/HideToolbar true/NonFullScreenPageMode/UseOutlines >>");

    struct Case {
        TdePageMode mode;
        TdePageLayout layout;
        const char *expected;
    } cases[] = {
        {TdePageMode::pmUseOutlines, TdePageLayout::plSinglePage, "/PageMode/UseOutlines/PageLayout/SinglePage"},
        {TdePageMode::pmUseThumbs, TdePageLayout::plTwoColumnLeft, "/PageMode/UseThumbs/PageLayout/TwoColumnLeft"},
    };
    for (const Case &c : cases) {
        std::string text = TdeViewerPreferences::GetViewerPreferences(c.mode, c.layout, false, false, false, false,
                                                                      false,
                                                                      TdeNonFullScreenPageMode::nfspmUseThumbs);
        EXPECT_EQ(text, std::string(c.expected) + "/ViewerPreferences << >>");
    }
}

TEST(PdfViewerPreferences, PageTransitions)
{
    TdeViewerPreferences defaults;
    EXPECT_EQ(defaults.GetTransitionEffectAndDuration(), "/Dur 1/Trans <</Type/Trans/D 1/S/R >>");
    struct Case {
        TdeTransitionEffect effect;
        const char *style;
    } cases[] = {
        {TdeTransitionEffect::teSplitHorizontalInward, "/Split/Dm/H/M/I"},
        {TdeTransitionEffect::teSplitVerticalOutward, "/Split/Dm/V/M/O"},
        {TdeTransitionEffect::teBlindsVertical, "/Blinds/Dm/V"},
        {TdeTransitionEffect::teBoxOutward, "/Box/M/O"},
        {TdeTransitionEffect::teWipeBottomToTop, "/Wipe/Di 90"},
        {TdeTransitionEffect::teWipeTopToBottom, "/Wipe/Di 270"},
        {TdeTransitionEffect::teDissolve, "/Dissolve"},
        {TdeTransitionEffect::teGlitterTopLeftToBottomRight, "/Glitter/Di 315"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TdeViewerPreferences::GetTransitionEffectAndDuration(12, c.effect),
                  std::string("/Dur 12/Trans <</Type/Trans/D 12/S") + c.style + " >>");
}

} // namespace
} // namespace tessaran
