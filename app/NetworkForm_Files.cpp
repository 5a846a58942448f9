// File commands: new, new tab, loading a named file.
#include "app/NetworkForm.h"

#include "app/Status_Bar.h"
#include "network/User_Interface_Seam.h"
#include "platform/Stream.h"

#include <QFileInfo>
#include <QTabBar>

namespace tessaran {

namespace {
QString fileNamePart(const std::string &path) { return QFileInfo(QString::fromStdString(path)).fileName(); }
} // namespace

void TNetworkForm::LoadFileName(const std::string &FileName)
{
    try {
        CurrentFilename = FileName;
        setWindowTitle(QString::fromStdString(WindowTitle) + " - " + fileNamePart(FileName));
        StatusBar1->SetPanelText(2, " ");
        TMemoryStream stream;
        stream.LoadFromFile(FileName);
        CurrentNetwork->Load(stream);
        NetworkStates.SystemUpdatedSinceLoad = false;
        TabControl1->setTabText(CurrentTabIndex - 1, fileNamePart(FileName));
        RefillFluidZoneList();
        StatusBar1->SetPanelText(2, " ");
        ZoomtoFitonScreen1Click();
        ClearNetworkStates(NetworkStates);
        SetDesignMode();
        UpdateDrawingMenuFromNetwork();
        ClickCalculateTextOnOff();
        RefreshScreen(true);
    } catch (const std::exception &) {
        Messages.ShowMessage(TMessageKind::Information,
                             "An error occured while attempting to auto load the file which was clicked on. \r\r"
                             "Please check the file is valid or try to load it using File->Open.");
        CurrentNetwork->Clear();
    }
}

void TNetworkForm::FileNewClick()
{
    CurrentNetwork->Clear();
    ClearNetworkStates(NetworkStates);
    CurrentFilename.clear();
    TabControl1->setTabText(CurrentTabIndex - 1, "No Name");
    setWindowTitle(QString::fromStdString(WindowTitle) + " - ");
    NetworkStates.SystemUpdatedSinceLoad = false;
    RefillFluidZoneList();
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

void TNetworkForm::NewTab1Click()
{
    if (TabCount() >= MaxTabs) {
        Messages.ShowMessage(TMessageKind::Information, "Cannot create new tab. Max tab limit reached.");
    } else {
        SaveNetworkTab(CurrentTabIndex);
        const QSignalBlocker blocker(TabControl1);
        TabControl1->addTab("No Name");
        CurrentTabIndex = TabCount();
        NewTabSetPosition(CurrentTabIndex);
        TabControl1->setCurrentIndex(CurrentTabIndex - 1);
        LoadNetworkTab(CurrentTabIndex);
        if (TabControl1->isEnabled())
            TabControl1->setFocus();
    }
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

} // namespace tessaran
