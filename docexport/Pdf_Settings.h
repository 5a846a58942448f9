#pragma once
// Settings of the PDF writer: stream compression, how a viewer opens the
// document (page mode, layout, window options) and the page transition of
// a presentation, with the catalog and page entries they produce.

#include "docexport/Pdf_Compression.h"

#include <cstdint>
#include <string>

namespace tessaran {

struct TdeCompression {
    bool Enabled = true;
    TdeCompressionLevel Level = TdeCompressionLevel::clMaxCompress;
};

enum class TdePDFFontEncoding : std::uint8_t {
    feWinAnsiEncoding,
    feMacRomanEncoding,
    feMacExpertEncoding,
    feStandardEncoding,
    fePDFDocEncoding
};

enum class TdeTTFontEmbedding : std::uint8_t { etfNone, etfFull, etfSubset };

enum class TdePageLayout : std::uint8_t { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum class TdePageMode : std::uint8_t { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum class TdeNonFullScreenPageMode : std::uint8_t { nfspmUseNone, nfspmUseOutlines, nfspmUseThumbs };

enum class TdeTransitionEffect : std::uint8_t {
    teNone,
    teSplitHorizontalInward,
    teSplitHorizontalOutward,
    teSplitVerticalInward,
    teSplitVerticalOutward,
    teBlindsHorizontal,
    teBlindsVertical,
    teBoxInward,
    teBoxOutward,
    teWipeLeftToRight,
    teWipeBottomToTop,
    teWipeRightToLeft,
    teWipeTopToBottom,
    teDissolve,
    teGlitterLeftToRight,
    teGlitterTopToBottom,
    teGlitterTopLeftToBottomRight
};

struct TdePresentationMode {
    int Duration = 1;
    TdeTransitionEffect TransitionEffect = TdeTransitionEffect::teNone;
};

struct TdeViewerPreferences {
    TdePageLayout PageLayout = TdePageLayout::plOneColumn;
    TdePageMode PageMode = TdePageMode::pmUseNone;
    bool HideToolBar = false;
    bool HideMenuBar = false;
    bool HideWindowUI = false;
    bool FitWindow = false;
    bool CenterWindow = false;
    TdeNonFullScreenPageMode NonFullScreenPageMode = TdeNonFullScreenPageMode::nfspmUseNone;
    TdePresentationMode PresentationMode;

    // Catalog entries: page mode, page layout and the viewer preference
    // dictionary (written even when empty).
    static std::string GetViewerPreferences(TdePageMode pageMode, TdePageLayout pageLayout, bool centerWindow,
                                            bool fitWindow, bool hideWindowUI, bool hideMenuBar, bool hideToolBar,
                                            TdeNonFullScreenPageMode nonFullScreenPageMode);
    std::string GetViewerPreferences() const;
    // Page entries: display duration and transition style.
    static std::string GetTransitionEffectAndDuration(int duration, TdeTransitionEffect transitionEffect);
    std::string GetTransitionEffectAndDuration() const;
};

// One output page: its page object and its size in points.
struct TdePageInfo {
    int ObjNo = 0;
    double Width = 0;
    double Height = 0;
};

} // namespace tessaran
