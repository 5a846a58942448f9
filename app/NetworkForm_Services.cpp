// The main window as the dialogs and pump forms see it.
#include "app/NetworkForm.h"

#include "model/Fitting_Set_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "pumps/Pump_Database_Class.h"

namespace tessaran {

namespace {

class TNetworkFormServices : public TMainWindowServices {
public:
    explicit TNetworkFormServices(TNetworkForm &form) : form_(form) {}

    TNetwork &CurrentNetwork() override { return *form_.CurrentNetwork; }
    TNetworkStates &NetworkStates() override { return form_.NetworkStates; }
    void RefreshScreen(bool ShowGridLines) override { form_.RefreshScreen(ShowGridLines); }
    void ClearNetworkStates(TNetworkStates &TheNetworkStates) override { form_.ClearNetworkStates(TheNetworkStates); }
    void ZoomtoPipeBottomOfScreen() override { form_.ZoomtoPipeBottomOfScreen(); }
    void ZoomtoNodeBottomOfScreen() override { form_.ZoomtoNodeBottomOfScreen(); }
    bool ResultsMode() const override { return form_.ResultsMode; }
    void SetResultsMode() override { form_.SetResultsMode(); }
    void SetDesignMode() override { form_.SetDesignMode(); }
    void ShowSplashLoadInfo(const std::string &Text) override { form_.ShowSplashLoadInfo(Text); }
    bool OpenConfigForm(TConfigTabs TheTab, TConfigOptions &TheConfigOptions, TNetwork &TheNetwork, bool ResultsMode,
                        bool TickSelectedPipes) override
    {
        return form_.OpenConfigForm(TheTab, TheConfigOptions, TheNetwork, ResultsMode, TickSelectedPipes);
    }
    TPipeNominalSizeSet &PipeNominalSizeSet() override { return *form_.PipeNominalSizeSet; }
    TFittingSet &FittingsDatabase() override { return *form_.FittingSet; }
    TPumpDatabase &PumpDatabase() override { return *form_.PumpDatabase; }

private:
    TNetworkForm &form_;
};

} // namespace

TMainWindowServices &TNetworkForm::Services()
{
    if (!services_)
        services_ = std::make_unique<TNetworkFormServices>(*this);
    return *services_;
}

} // namespace tessaran
