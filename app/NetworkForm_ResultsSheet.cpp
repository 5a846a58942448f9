// The main window's side of the results sheet: opening it, keeping its row
// on the selected item, and what the sheet asks of the window.
#include "app/NetworkForm.h"
#include "app/Results_Form.h"
#include "app/Status_Bar.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTableWidget>

namespace tessaran {

namespace {

class TMainWindowSheetHost : public TResultsSheetHost {
public:
    explicit TMainWindowSheetHost(TNetworkForm &form) : form_(form) {}

    bool ResultsMode() const override { return form_.ResultsMode; }
    TNetworkStates &NetworkStates() override { return form_.NetworkStates; }
    void ClearNetworkStates() override { form_.ClearNetworkStates(form_.NetworkStates); }
    void RefreshScreen(bool ShowGridLines) override { form_.RefreshScreen(ShowGridLines); }
    void StatusBarShowPipe(int PipeId) override { form_.StatusBarShowPipe(PipeId); }
    void StatusBarShowPump(int PipeId) override { form_.StatusBarShowPump(PipeId); }
    void StatusBarShowNode(int NodeId) override { form_.StatusBarShowNode(NodeId); }
    void StatusBarShowFitting(int PipeId) override { form_.StatusBarShowFitting(PipeId); }
    void RepaintStatusBar() override
    {
        if (form_.StatusBar1)
            form_.StatusBar1->repaint();
    }
    void HideHoverPanel() override
    {
        if (form_.PanelResultInfo)
            form_.PanelResultInfo->hide();
    }
    void ZoomtoPipe() override { form_.ZoomtoPipe(); }
    void ZoomtoNode() override { form_.ZoomtoNode(); }
    void OpenUnitsOptions(TConfigOptions &TheConfigOptions, TNetwork &TheNetwork) override
    {
        form_.OpenConfigForm(ConfigUnits, TheConfigOptions, TheNetwork, true, false);
    }
    QRect MainWindowFrame() const override { return form_.frameGeometry(); }
    int PanelPipesWidth() const override { return form_.PanelPipes ? form_.PanelPipes->width() : 0; }
    int DrawingAreaWidth() const override { return form_.ScrollBox1 ? form_.ScrollBox1->width() : form_.width(); }

private:
    TNetworkForm &form_;
};

} // namespace

TFormResults *TNetworkForm::ResultsSheetForm()
{
    if (!resultsSheet_) {
        resultsSheetHost_ = std::make_shared<TMainWindowSheetHost>(*this);
        resultsSheet_ = new TFormResults(*resultsSheetHost_, this);
        FormResults = resultsSheet_;
        resultsSheet_->SetCurrentTab(ResultsSheetTabIndex);
        // The tab records keep the sheet's page and column widths.
        connect(resultsSheet_->TabControlResultsGrid, &QTabBar::currentChanged, this,
                [this](int index) { ResultsSheetTabIndex = index; });
        connect(resultsSheet_->StringGridResults->horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int col, int, int width) {
                    if (col >= 0 && col < TNetworkTab::ResultsSheetColumns)
                        ResultsSheetColWidths[static_cast<std::size_t>(col)] = width;
                });
    }
    return resultsSheet_;
}

void TNetworkForm::ShowResultsSheet()
{
    if (!ResultsMode)
        return;
    TFormResults &sheet = *ResultsSheetForm();
    {
        // The page only: the table is filled once, from this tab's network.
        const QSignalBlocker quiet(sheet.TabControlResultsGrid);
        sheet.SetCurrentTab(ResultsSheetTabIndex);
    }
    sheet.SetNetwork(CurrentNetwork);
    sheet.show();
    sheet.showNormal();
    sheet.raise();
    sheet.repaint();
    FormResultsVisible = true;
    if (NetworkStates.CurrentPipeIdSelected < 1) {
        const int topRow = sheet.CurrentTab() == TFormResults::EnergyTab ? 3 : 2;
        sheet.SetGridPosition(1, 2, 1, topRow);
    }
}

void TNetworkForm::ResultsSheetShowPipe(int PipeId)
{
    if (resultsSheet_ && ResultsMode)
        resultsSheet_->DisplayRowWithPipeId(PipeId);
}

void TNetworkForm::ResultsSheetShowNode(int NodeId)
{
    if (resultsSheet_ && ResultsMode)
        resultsSheet_->DisplayRowWithNodeId(NodeId);
}

void TNetworkForm::ResultsSheetShowSelected()
{
    if (!resultsSheet_)
        return;
    resultsSheet_->DisplayRowWithSelectedId();
    // The id cells carry the results colours.
    resultsSheet_->StringGridResults->viewport()->update();
}

void TNetworkForm::CloseResultsSheet()
{
    if (resultsSheet_)
        resultsSheet_->close();
    FormResultsVisible = false;
}

void TNetworkForm::ResultsSheetFollowTab()
{
    if (!FormResultsVisible || !ResultsMode) {
        if (resultsSheet_)
            resultsSheet_->hide();
        return;
    }
    const auto widths = ResultsSheetColWidths;
    ShowResultsSheet();
    for (int col = 0; col < TNetworkTab::ResultsSheetColumns; ++col)
        if (widths[static_cast<std::size_t>(col)] > 0)
            resultsSheet_->StringGridResults->setColumnWidth(col, widths[static_cast<std::size_t>(col)]);
}

} // namespace tessaran
