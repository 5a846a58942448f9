#pragma once
// What the dialogs and the pump forms ask of the main window: redrawing,
// the editing state, zooming to the selected item, the results-mode state,
// the splash window's load text, the options dialog and the databases the
// main window owns. The main window implements it; the forms below it in the
// layering reach the main window only through this class.

#include <cstdint>
#include <string>

#include "network/Network_States.h"

namespace tessaran {

class TNetwork;
class TFittingSet;
class TPipeNominalSizeSet;
class TPumpDatabase;
struct TConfigOptions;

// The pages of the options dialog.
enum TConfigTabs : std::uint8_t {
    ConfigDrawing,
    ConfigUnits,
    ConfigDefaults,
    ConfigNodes,
    ConfigResults,
    ConfigSystem,
    ConfigNotes,
};

class TMainWindowServices {
public:
    virtual ~TMainWindowServices() = default;

    // The current tab's network, the one every dialog works on.
    virtual TNetwork &CurrentNetwork() = 0;
    // The main window's editing state of the current tab.
    virtual TNetworkStates &NetworkStates() = 0;

    // Redraws the whole main window from the current network.
    virtual void RefreshScreen(bool ShowGridLines) = 0;
    // Resets the editing-state record (selection, clicked ids, rubber band,
    // image ids, unsaved-changes flag) and selects the standard cursor.
    virtual void ClearNetworkStates(TNetworkStates &TheNetworkStates) = 0;
    // Scale 100 %, the selected pipe (node) centred horizontally 7/8 down the
    // view; redraws.
    virtual void ZoomtoPipeBottomOfScreen() = 0;
    virtual void ZoomtoNodeBottomOfScreen() = 0;

    // True while the current tab shows results.
    virtual bool ResultsMode() const = 0;
    virtual void SetResultsMode() = 0;
    virtual void SetDesignMode() = 0;

    // The splash window's load-information text, repainted at once.
    virtual void ShowSplashLoadInfo(const std::string &Text) = 0;

    // The options dialog on a page, editing a copy of the settings that is
    // copied back on OK; true when the user pressed OK.
    virtual bool OpenConfigForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork,
                                bool ResultsMode, bool TickSelectedPipes) = 0;

    // The databases the main window keeps from start-up to exit.
    virtual TPipeNominalSizeSet &PipeNominalSizeSet() = 0;
    virtual TFittingSet &FittingsDatabase() = 0;
    virtual TPumpDatabase &PumpDatabase() = 0;
};

} // namespace tessaran
