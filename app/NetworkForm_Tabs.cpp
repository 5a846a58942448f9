// The four network tabs: each keeps its view and editing state while
// another tab is current.
#include "app/NetworkForm.h"

#include "app/Status_Bar.h"
#include "app/Viewport_Geometry.h"
#include "network/User_Interface_Seam.h"

#include <QComboBox>
#include <QFileInfo>
#include <QTabBar>
#include <QToolButton>

namespace tessaran {

namespace {
TNetworkTab &recordOf(std::array<TNetworkTab, TNetworkForm::MaxTabs + 1> &tabs, int index)
{
    return tabs.at(static_cast<std::size_t>(index));
}
} // namespace

int TNetworkForm::TabCount() const { return TabControl1->count(); }

void TNetworkForm::SaveNetworkTab(int TabIndex)
{
    TNetworkTab &tab = recordOf(NetworkTabs, TabIndex);
    tab.CurrentFilename = CurrentFilename;
    tab.NetworkStates = NetworkStates;
    SavedScaleItemIndex = ScaleComboBox1->currentIndex();
    tab.SavedScaleItemIndex = SavedScaleItemIndex;
    tab.MetaFileOffsetX = MetaFileOffsetX;
    tab.MetaFileOffsetY = MetaFileOffsetY;
    tab.MetaFileScale = MetaFileScale;
    tab.lastFreeTextColor = lastFreeTextColor;
    tab.lastFreeTextSize = lastFreeTextSize;
    tab.lastFreeTextStyle = lastFreeTextStyle;
    tab.lastFreeTextAngle = lastFreeTextAngle;
    tab.DragStatus = DragStatus;
    tab.DragNodeId = DragNodeId;
    tab.DrawingObject = DrawingObject;
    tab.ResultsMode = ResultsMode;
    tab.FormResultsShow = FormResults ? FormResults->isVisible() : FormResultsVisible;
    tab.PanelInvalidSolutionShow = PanelInvalidSolution->isVisibleTo(this);
    tab.MemoLogTextString = MemoLogText;
    tab.LabelResultsMessage = LabelResultsMessageText;
    tab.LabelResultsMessage2 = LabelResultsMessage2Text;
    tab.ResultsSheetTabIndex = ResultsSheetTabIndex;
    tab.ResultsSheetColWidths = ResultsSheetColWidths;
}

void TNetworkForm::LoadNetworkTab(int TabIndex)
{
    const TNetworkTab &tab = recordOf(NetworkTabs, TabIndex);
    CurrentFilename = tab.CurrentFilename;
    CurrentNetwork = Networks.at(static_cast<std::size_t>(tab.NetworkIndex)).get();
    NetworkStates = tab.NetworkStates;
    SavedScaleItemIndex = tab.SavedScaleItemIndex;
    MetaFileOffsetX = tab.MetaFileOffsetX;
    MetaFileOffsetY = tab.MetaFileOffsetY;
    MetaFileScale = tab.MetaFileScale;
    lastFreeTextColor = tab.lastFreeTextColor;
    lastFreeTextSize = tab.lastFreeTextSize;
    lastFreeTextStyle = tab.lastFreeTextStyle;
    lastFreeTextAngle = tab.lastFreeTextAngle;
    DragStatus = tab.DragStatus;
    DragNodeId = tab.DragNodeId;
    DrawingObject = tab.DrawingObject;
    ResultsMode = tab.ResultsMode;

    MemoLogText = tab.MemoLogTextString;
    LabelResultsMessageText = tab.LabelResultsMessage;
    LabelResultsMessage2Text = tab.LabelResultsMessage2;
    ResultsSheetTabIndex = tab.ResultsSheetTabIndex;

    const QString fileName = QFileInfo(QString::fromStdString(CurrentFilename)).fileName();
    setWindowTitle(QString::fromStdString(WindowTitle) + " - " + fileName);
    StatusBar1->SetPanelText(2, " ");
    RefillFluidZoneList();
    if (ResultsMode)
        SetResultsMode();
    else
        SetDesignMode();
    PanelInvalidSolution->setVisible(tab.PanelInvalidSolutionShow);
    FormResultsVisible = tab.FormResultsShow;
    ResultsSheetColWidths = tab.ResultsSheetColWidths;
    ResultsSheetFollowTab();
    ScaleComboBox1->setCurrentIndex(SavedScaleItemIndex);
    ResultsSheetColWidths = tab.ResultsSheetColWidths;
    PanelTankTypes->hide();
}

void TNetworkForm::ClearNetworkTab(int TabIndex)
{
    TNetworkTab &tab = recordOf(NetworkTabs, TabIndex);
    Networks.at(static_cast<std::size_t>(tab.NetworkIndex))->Clear();
    ClearNetworkStates(tab.NetworkStates);
    TNetworkTab cleared;
    cleared.NetworkIndex = tab.NetworkIndex;
    cleared.NetworkStates = tab.NetworkStates;
    cleared.ResultsSheetColWidths = ResultsSheetColWidths;
    tab = cleared;
}

void TNetworkForm::CopyNetworkTab(int FromTabIndex, int ToTabIndex)
{
    TabControl1->setTabText(ToTabIndex - 1, TabControl1->tabText(FromTabIndex - 1));
    recordOf(NetworkTabs, ToTabIndex) = recordOf(NetworkTabs, FromTabIndex);
}

void TNetworkForm::NewTabSetPosition(int TheCurrentTabIndex)
{
    const int n = TabCount();
    const bool last = TheCurrentTabIndex == n;
    int newLeft = n * TabWidth + 4;
    int deleteLeft = TheCurrentTabIndex * TabWidth - 13;
    if (!last) {
        deleteLeft += 2;
        newLeft -= 4;
    }
    if (n == MaxTabs) {
        SpeedButtonNewTab->hide();
        deleteLeft -= 2;
    } else {
        SpeedButtonNewTab->show();
        if (!last)
            deleteLeft -= 2;
    }
    SpeedButtonNewTab->move(newLeft, SpeedButtonNewTab->y());
    SpeedButtonDeleteTab->move(deleteLeft, SpeedButtonDeleteTab->y());
    SpeedButtonDeleteTab->raise();
    SpeedButtonNewTab->raise();
    SpeedButtonDeleteTab->repaint();
}

void TNetworkForm::SwitchToTab(int t)
{
    if (t != CurrentTabIndex) {
        SaveNetworkTab(CurrentTabIndex);
        CurrentTabIndex = t;
        NewTabSetPosition(t);
        LoadNetworkTab(t);
        ClearActionLog();
        ClickCalculateTextOnOff();
    }
    {
        const QSignalBlocker blocker(TabControl1);
        TabControl1->setCurrentIndex(CurrentTabIndex - 1);
    }
    UpdateFluidDisplay(true);
    UpdateDrawingMenuFromNetwork();
    StatusBarShowCalculationEngine();
    ClickCalculateTextOnOff();
    RefreshScreen(true);
}

void TNetworkForm::TabControl1MouseDown(const QPoint &position)
{
    const int hit = TabControl1->tabAt(position);
    SwitchToTab(hit < 0 ? CurrentTabIndex : hit + 1);
}

void TNetworkForm::SpeedButtonNewTabClick() { NewTab1Click(); }

void TNetworkForm::SpeedButtonDeleteTabClick()
{
    const int n = TabCount();
    if (n == 1) {
        if (Messages.AskYesNo(TMessageKind::Confirmation, "Cannot delete tab. Must always be at least one tab.\r\r"
                                                          "Would you like to start with a new grid?")) {
            SetDesignMode();
            FileNewClick();
        }
        return;
    }
    // A tab's network is thrown away with it: unsaved work is asked about.
    if (TabHasUnsavedChanges(CurrentTabIndex) &&
        !Messages.AskYesNo(TMessageKind::Confirmation,
                           "Any changes to the system on this tab that have not been saved will be lost.\r\r"
                           "Do you wish to continue to delete the tab?"))
        return;
    const QSignalBlocker blocker(TabControl1);
    if (CurrentTabIndex == n) {
        ClearNetworkTab(n);
        TabControl1->removeTab(n - 1);
        --CurrentTabIndex;
    } else {
        const int keptNetworkIndex = recordOf(NetworkTabs, CurrentTabIndex).NetworkIndex;
        for (int k = CurrentTabIndex; k < n; ++k)
            CopyNetworkTab(k + 1, k);
        recordOf(NetworkTabs, n).NetworkIndex = keptNetworkIndex;
        ClearNetworkTab(n);
        TabControl1->removeTab(n - 1);
    }
    NewTabSetPosition(CurrentTabIndex);
    TabControl1->setCurrentIndex(CurrentTabIndex - 1);
    if (TabControl1->isEnabled())
        TabControl1->setFocus();
    LoadNetworkTab(CurrentTabIndex);
    UpdateFluidDisplay(true);
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

void TNetworkForm::RefillFluidZoneList()
{
    const QSignalBlocker blocker(ComboBoxFluidZone);
    ComboBoxFluidZone->clear();
    for (int zone = 1; zone <= CurrentNetwork->FluidZonesCount; ++zone)
        ComboBoxFluidZone->addItem("Fluid Zone " + QString::number(zone));
}

} // namespace tessaran
