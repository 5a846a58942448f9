#include "docexport/Pdf_Settings.h"

namespace tessaran {

std::string TdeViewerPreferences::GetViewerPreferences(TdePageMode pageMode, TdePageLayout pageLayout,
                                                       bool centerWindow, bool fitWindow, bool hideWindowUI,
                                                       bool hideMenuBar, bool hideToolBar,
                                                       TdeNonFullScreenPageMode nonFullScreenPageMode)
{
    std::string text = "/PageMode";
    switch (pageMode) {
    case TdePageMode::pmUseOutlines: text += "/UseOutlines"; break;
    case TdePageMode::pmUseThumbs: text += "/UseThumbs"; break;
    case TdePageMode::pmFullScreen: text += "/FullScreen"; break;
    default: text += "/UseNone"; break;
    }
    text += "/PageLayout";
    switch (pageLayout) {
    case TdePageLayout::plSinglePage: text += "/SinglePage"; break;
    case TdePageLayout::plTwoColumnLeft: text += "/TwoColumnLeft"; break;
    case TdePageLayout::plTwoColumnRight: text += "/TwoColumnRight"; break;
    default: text += "/OneColumn"; break;
    }
    text += "/ViewerPreferences <<";
    if (centerWindow)
        text += "/CenterWindow true";
    if (fitWindow)
        text += "/FitWindow true";
    if (hideWindowUI)
        text += "/HideWindowUI true";
    if (hideMenuBar)
        text += "/HideMenubar true";
    if (hideToolBar)
        text += "/HideToolbar true";
    // Only a full-screen document says where to go when full screen is left.
    if (pageMode == TdePageMode::pmFullScreen) {
        text += "/NonFullScreenPageMode";
        switch (nonFullScreenPageMode) {
        case TdeNonFullScreenPageMode::nfspmUseOutlines: text += "/UseOutlines"; break;
        case TdeNonFullScreenPageMode::nfspmUseThumbs: text += "/UseThumbs"; break;
        default: text += "/UseNone"; break;
        }
    }
    text += " >>";
    return text;
}

std::string TdeViewerPreferences::GetViewerPreferences() const
{
    return GetViewerPreferences(PageMode, PageLayout, CenterWindow, FitWindow, HideWindowUI, HideMenuBar,
                                HideToolBar, NonFullScreenPageMode);
}

std::string TdeViewerPreferences::GetTransitionEffectAndDuration(int duration, TdeTransitionEffect transitionEffect)
{
    const char *style = "/R";
    switch (transitionEffect) {
    case TdeTransitionEffect::teNone: style = "/R"; break;
    case TdeTransitionEffect::teSplitHorizontalInward: style = "/Split/Dm/H/M/I"; break;
    case TdeTransitionEffect::teSplitHorizontalOutward: style = "/Split/Dm/H/M/O"; break;
    case TdeTransitionEffect::teSplitVerticalInward: style = "/Split/Dm/V/M/I"; break;
    case TdeTransitionEffect::teSplitVerticalOutward: style = "/Split/Dm/V/M/O"; break;
    case TdeTransitionEffect::teBlindsHorizontal: style = "/Blinds/Dm/H"; break;
    case TdeTransitionEffect::teBlindsVertical: style = "/Blinds/Dm/V"; break;
    case TdeTransitionEffect::teBoxInward: style = "/Box/M/I"; break;
    case TdeTransitionEffect::teBoxOutward: style = "/Box/M/O"; break;
    case TdeTransitionEffect::teWipeLeftToRight: style = "/Wipe/Di 0"; break;
    case TdeTransitionEffect::teWipeBottomToTop: style = "/Wipe/Di 90"; break;
    case TdeTransitionEffect::teWipeRightToLeft: style = "/Wipe/Di 180"; break;
    case TdeTransitionEffect::teWipeTopToBottom: style = "/Wipe/Di 270"; break;
    case TdeTransitionEffect::teDissolve: style = "/Dissolve"; break;
    case TdeTransitionEffect::teGlitterLeftToRight: style = "/Glitter/Di 0"; break;
    case TdeTransitionEffect::teGlitterTopToBottom: style = "/Glitter/Di 270"; break;
    case TdeTransitionEffect::teGlitterTopLeftToBottomRight: style = "/Glitter/Di 315"; break;
    }
    const std::string d = std::to_string(duration);
    return "/Dur " + d + "/Trans <</Type/Trans/D " + d + "/S" + style + " >>";
}

std::string TdeViewerPreferences::GetTransitionEffectAndDuration() const
{
    return GetTransitionEffectAndDuration(PresentationMode.Duration, PresentationMode.TransitionEffect);
}

} // namespace tessaran
