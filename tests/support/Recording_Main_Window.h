#pragma once
// The main window's services for form tests: owns a network and the
// databases, records every call in order and answers the options dialog
// from a script.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Main_Window_Services.h"
#include "model/Fitting_Set_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "network/Network_Class.h"

namespace tessaran::test {

class TRecordingMainWindow : public TMainWindowServices {
public:
    TNetwork &CurrentNetwork() override { return Network; }
    TNetworkStates &NetworkStates() override { return States; }

    void RefreshScreen(bool ShowGridLines) override
    {
        Calls.push_back(ShowGridLines ? "RefreshScreen(true)" : "RefreshScreen(false)");
        if (OnRefreshScreen)
            OnRefreshScreen();
    }
    void ClearNetworkStates(TNetworkStates &TheNetworkStates) override
    {
        Calls.push_back("ClearNetworkStates");
        const std::int32_t cursorX = TheNetworkStates.CursorX, cursorY = TheNetworkStates.CursorY;
        const TDrawingObjectEnum drawingObject = TheNetworkStates.DrawingObject;
        TheNetworkStates = TNetworkStates{};
        TheNetworkStates.CursorX = cursorX;
        TheNetworkStates.CursorY = cursorY;
        TheNetworkStates.DrawingObject = drawingObject;
    }
    void ZoomtoPipeBottomOfScreen() override { Calls.push_back("ZoomtoPipeBottomOfScreen"); }
    void ZoomtoNodeBottomOfScreen() override { Calls.push_back("ZoomtoNodeBottomOfScreen"); }

    bool ResultsMode() const override { return Results; }
    void SetResultsMode() override
    {
        Calls.push_back("SetResultsMode");
        Results = true;
    }
    void SetDesignMode() override
    {
        Calls.push_back("SetDesignMode");
        Results = false;
    }

    void ShowSplashLoadInfo(const std::string &Text) override { SplashTexts.push_back(Text); }

    bool OpenConfigForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork, bool ResultsMode,
                        bool TickSelectedPipes) override
    {
        Calls.push_back("OpenConfigForm(" + std::to_string(static_cast<int>(TheTab)) + ")");
        if (OnOpenConfigForm)
            return OnOpenConfigForm(TheTab, TheConfigOptions, TheNetwork, ResultsMode, TickSelectedPipes);
        return false;
    }

    TPipeNominalSizeSet &PipeNominalSizeSet() override
    {
        if (!pipeSizes_)
            pipeSizes_ = std::make_unique<TPipeNominalSizeSet>(500, 5000);
        return *pipeSizes_;
    }
    TFittingSet &FittingsDatabase() override
    {
        if (!fittings_)
            fittings_ = std::make_unique<TFittingSet>(5000);
        return *fittings_;
    }
    TPumpDatabase &PumpDatabase() override
    {
        if (!PumpDatabaseInUse)
            throw std::logic_error("the test gave the main window no pump database");
        return *PumpDatabaseInUse;
    }

    int CallCount(const std::string &call) const
    {
        int count = 0;
        for (const std::string &c : Calls)
            count += c == call;
        return count;
    }

    TNetwork Network;
    TNetworkStates States;
    bool Results = false;
    TPumpDatabase *PumpDatabaseInUse = nullptr;
    std::vector<std::string> Calls;
    std::vector<std::string> SplashTexts;
    std::function<void()> OnRefreshScreen;
    std::function<bool(TConfigTabs, TConfigOptions &, TNetwork &, bool, bool)> OnOpenConfigForm;

private:
    std::unique_ptr<TPipeNominalSizeSet> pipeSizes_;
    std::unique_ptr<TFittingSet> fittings_;
};

} // namespace tessaran::test
