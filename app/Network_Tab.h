#pragma once
// The view and editing state one network tab keeps while another tab is
// current; the main window saves its live state into it when the user
// leaves the tab and loads it back when the user returns.

#include "network/Network_States.h"
#include "platform/Graphics.h"

#include <array>
#include <string>

namespace tessaran {

struct TNetworkTab {
    static constexpr int ResultsSheetColumns = 26;

    std::string CurrentFilename;
    int NetworkIndex = 0;
    TNetworkStates NetworkStates;
    int SavedScaleItemIndex = 8;
    int MetaFileOffsetX = 0;
    int MetaFileOffsetY = 0;
    double MetaFileScale = 1.0;
    TColor lastFreeTextColor = 0;
    int lastFreeTextSize = 7;
    TFontStyles lastFreeTextStyle;
    int lastFreeTextAngle = 0;
    int DragStatus = 0;
    int DragNodeId = 0;
    TDrawingObjectEnum DrawingObject = DrawingStandardCursor;
    bool ResultsMode = false;
    bool FormResultsShow = false;
    bool PanelInvalidSolutionShow = false;
    std::string MemoLogTextString;
    std::string LabelResultsMessage;
    std::string LabelResultsMessage2;
    bool IsometricDrawing = false;
    int ResultsSheetTabIndex = 0;
    std::array<int, ResultsSheetColumns> ResultsSheetColWidths{};
};

} // namespace tessaran
