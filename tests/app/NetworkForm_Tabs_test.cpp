#include "Main_Window_Fixture.h"

#include "app/Status_Bar.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace tessaran::test {
namespace {

using Tabs = MainWindowTest;

void clickTab(TNetworkForm &form, int tab)
{
    QTest::mouseClick(form.TabControl1, Qt::LeftButton, Qt::NoModifier,
                      form.TabControl1->tabRect(tab - 1).center());
}

TEST_F(Tabs, LeavingATabAndComingBackRestoresItsViewAndState)
{
    form->ScaleComboBox1->setCurrentIndex(11);
    form->ScaleComboBox1Click();
    form->MetaFileOffsetX = 1234;
    form->MetaFileOffsetY = 567;
    form->NetworkStates.CurrentNodeIdSelected = 3;
    form->NetworkStates.SelectionStatus = 2;
    form->DrawingObject = DrawingJoint;
    form->MemoLogText = "Solved";
    form->LabelResultsMessageText = "All ok";
    form->ResultsSheetColWidths[25] = 88;
    form->SetResultsMode();

    form->NewTab1Click();
    ASSERT_EQ(form->CurrentTabIndex, 2);
    clickTab(*form, 1);
    clickTab(*form, 2);
    EXPECT_EQ(form->CurrentTabIndex, 2);
    EXPECT_EQ(form->CurrentNetwork, form->Networks[2].get());
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 0);
    EXPECT_EQ(form->MemoLogText, "");

    clickTab(*form, 1);
    EXPECT_EQ(form->CurrentTabIndex, 1);
    EXPECT_EQ(form->CurrentNetwork, form->Networks[1].get());
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), 11);
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 2.0);
    EXPECT_EQ(form->MetaFileOffsetX, 1234);
    EXPECT_EQ(form->MetaFileOffsetY, 567);
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 3);
    EXPECT_EQ(form->NetworkStates.SelectionStatus, 2);
    // Results mode comes back with the Show Item Info tool.
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);
    EXPECT_TRUE(form->ResultsMode);
    EXPECT_EQ(form->MemoLogText, "Solved");
    EXPECT_EQ(form->LabelResultsMessageText, "All ok");
    EXPECT_EQ(form->ResultsSheetColWidths[25], 88);
    EXPECT_FALSE(form->Undo1->isEnabled()); // results mode on the menu again

    // A press beside every tab stays on the current one.
    QTest::mouseClick(form->TabControl1, Qt::LeftButton, Qt::NoModifier,
                      QPoint(form->TabControl1->width() - 2, 5));
    EXPECT_EQ(form->CurrentTabIndex, 1);
}

TEST_F(Tabs, DeletingAMiddleTabMovesTheLaterOneAndFreesItsNetwork)
{
    form->NewTab1Click();
    form->NewTab1Click();
    form->TabControl1->setTabText(2, "three.trz");
    form->CurrentFilename = "three.trz"; // tab 3 is current
    clickTab(*form, 2);
    TNetwork *second = form->CurrentNetwork;
    AddNodeAt(*second, 400, 400);
    ASSERT_EQ(second, form->Networks[2].get());

    form->SpeedButtonDeleteTab->click(); // nothing unsaved: no question
    EXPECT_EQ(form->TabControl1->count(), 2);
    EXPECT_EQ(form->CurrentTabIndex, 2);
    EXPECT_EQ(form->TabControl1->tabText(1), "three.trz");
    EXPECT_EQ(form->CurrentFilename, "three.trz");
    EXPECT_EQ(form->CurrentNetwork, form->Networks[3].get());
    EXPECT_EQ(form->NetworkTabs[3].NetworkIndex, 2);
    EXPECT_EQ(second->GetNodeCount(), 0);

    form->NewTab1Click(); // reuses the freed network
    EXPECT_EQ(form->CurrentNetwork, second);
}

TEST_F(Tabs, DeletingTheLastTabReturnsToThePreviousOneAsItWasLeft)
{
    form->NetworkStates.CurrentPipeIdSelected = 7;
    form->NewTab1Click();
    form->SpeedButtonDeleteTab->click();
    EXPECT_EQ(form->TabControl1->count(), 1);
    EXPECT_EQ(form->CurrentTabIndex, 1);
    EXPECT_EQ(form->NetworkStates.CurrentPipeIdSelected, 7);
}

TEST_F(Tabs, DeletingATabWithUnsavedChangesAsksFirst)
{
    form->NewTab1Click();
    form->NetworkStates.SystemUpdatedSinceLoad = true;
    const QString question = "Any changes to the system on this tab that have not been saved will be lost.\r\r"
                             "Do you wish to continue to delete the tab?";
    ExpectQuestion(question, false);
    form->SpeedButtonDeleteTab->click();
    EXPECT_EQ(form->TabControl1->count(), 2);
    ExpectQuestion(question, true);
    form->SpeedButtonDeleteTab->click();
    EXPECT_EQ(form->TabControl1->count(), 1);

    // The only tab is never deleted; Yes starts a new drawing instead.
    AddNodeAt(*form->CurrentNetwork, 400, 400);
    ExpectQuestion("Cannot delete tab. Must always be at least one tab.\r\rWould you like to start with a new grid?",
                   true);
    ExpectQuestion("Open New Grid on a New Tab?\r\r", false);
    ExpectQuestion("Set grid display for Isometric Drawing?\r", false);
    form->SpeedButtonDeleteTab->click();
    EXPECT_EQ(form->TabControl1->count(), 1);
    EXPECT_EQ(form->CurrentNetwork->GetNodeCount(), 0);
}

TEST_F(Tabs, FourTabsHideNewTabAndAFifthIsRefused)
{
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(form->SpeedButtonNewTab->isHidden());
        form->SpeedButtonNewTab->click();
    }
    EXPECT_EQ(form->TabControl1->count(), 4);
    EXPECT_TRUE(form->SpeedButtonNewTab->isHidden());
    // The delete button sits at the right end of the current tab.
    EXPECT_EQ(form->SpeedButtonDeleteTab->x(), 4 * TNetworkForm::TabWidth - 13 - 2);
    dialogs.Expect(TDialogKind::Information, "Cannot create new tab. Max tab limit reached.");
    form->NewTab1Click();
    EXPECT_EQ(form->TabControl1->count(), 4);
    EXPECT_EQ(form->TabControl1->tabRect(0).width(), TNetworkForm::TabWidth);
}

TEST_F(Tabs, TheLeftPanelCollapsesAndComesBack)
{
    form->ButtonLeftMenuCollapse1->click();
    EXPECT_EQ(form->LeftPanel1->width(), 15);
    EXPECT_EQ(form->ButtonLeftMenuCollapse1->text(), ">");
    form->ButtonLeftMenuCollapse1->click();
    EXPECT_EQ(form->LeftPanel1->width(), 201);
    EXPECT_EQ(form->ButtonLeftMenuCollapse1->text(), "<");
}

TEST_F(Tabs, TheStatusHintTurnsYellowAndBackAfterItsTimer)
{
    auto panelColour = [&] {
        const QImage image = form->StatusBar1->grab().toImage();
        // Below the text, clear of the panel border.
        return image.pixelColor(form->StatusBar1->PanelRect(2).bottomRight() - QPoint(4, 1));
    };
    form->StatusBarHintColor = 0x00FFFF;
    form->StatusBar1->repaint();
    EXPECT_EQ(panelColour(), QColor(255, 255, 0));
    form->TimerStatusBarHintTimer();
    EXPECT_EQ(panelColour(), QColor(241, 250, 255));

    // In results mode with nothing selected the panel stays plain.
    form->StatusBarHintColor = 0x00FFFF;
    form->ResultsMode = true;
    form->StatusBar1->repaint();
    EXPECT_EQ(panelColour(), QColor(241, 250, 255));
}

TEST_F(Tabs, DrawingMenuFollowsTheSelectionAndMode)
{
    form->NetworkStates.SelectionStatus = 0;
    form->UpdateDrawingMenuFromNetwork();
    EXPECT_FALSE(form->Delete1->isEnabled());
    EXPECT_FALSE(form->Paste1->isEnabled());
    form->CopyBufferFilled = true;
    form->NetworkStates.CurrentNodeIdSelected = 2;
    form->UpdateDrawingMenuFromNetwork();
    EXPECT_TRUE(form->Delete1->isEnabled());
    EXPECT_TRUE(form->Paste1->isEnabled());
    EXPECT_FALSE(form->Cut1->isEnabled());
    form->NetworkStates.SelectionStatus = 2;
    form->NetworkStates.DrawingObject = DrawingSelection;
    form->UpdateDrawingMenuFromNetwork();
    EXPECT_TRUE(form->Cut1->isEnabled());
    EXPECT_FALSE(form->SetIsometricDrawingMode1->isEnabled());
    form->CurrentNetwork->IsometricDrawing = true;
    form->NetworkStates.DrawingObject = DrawingPipeAdd;
    form->UpdateDrawingMenuFromNetwork();
    EXPECT_TRUE(form->SetIsometricDrawingMode1->isChecked());
    EXPECT_FALSE(form->SetStandardDrawingMode1->isChecked());
    form->ResultsMode = true;
    form->UpdateDrawingMenuFromNetwork();
    EXPECT_FALSE(form->Cut1->isEnabled());
    EXPECT_FALSE(form->EditGrid2->isEnabled());
    EXPECT_TRUE(form->EditGrid->isEnabled());
}

TEST_F(Tabs, CtrlCCopiesTheInfoPanelAndTabStaysInAPanelEditor)
{
    form->LabelInfoTitle->setText("Pipe P1");
    form->LabelInfo1->setText("Flow 2 m3/h");
    form->activateWindow();
    QTest::keyRelease(form.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Pipe P1\rFlow 2 m3/h");

    // The pipe panel's boxes take the focus only with a pipe selected.
    TNetwork &network = *form->CurrentNetwork;
    form->NetworkStates.CurrentPipeIdSelected =
        AddPipeBetween(network, AddNodeAt(network, 200, 200), AddNodeAt(network, 400, 200));
    form->RefreshScreen(true);
    form->EditPipeName->setFocus();
    QApplication::processEvents();
    QTest::keyClick(form->EditPipeName, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->EditPipeName);
}

} // namespace
} // namespace tessaran::test
