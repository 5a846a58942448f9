// Design and results modes, the results keys and the status-bar item texts.
#include "app/NetworkForm.h"

namespace tessaran {

void TNetworkForm::SetResultsMode()
{
    ResultsMode = true;
    UpdateDrawingMenuFromNetwork();
}

void TNetworkForm::SetDesignMode()
{
    ResultsMode = false;
    UpdateDrawingMenuFromNetwork();
}

void TNetworkForm::UpdatePanelResultsKey() {}

void TNetworkForm::UpdatePanelResultsColorKey() {}

void TNetworkForm::StatusBarShowCalculationEngine() {}

void TNetworkForm::StatusBarShowPipe(int) {}

void TNetworkForm::UpdatePanelResultNodeInfo(int) {}

void TNetworkForm::UpdatePanelResultPipeInfo(int) {}

void TNetworkForm::StatusBarShowNode(int) {}

void TNetworkForm::ClickCalculateTextOnOff() {}

} // namespace tessaran
