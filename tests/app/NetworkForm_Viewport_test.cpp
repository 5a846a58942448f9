#include "Main_Window_Fixture.h"

#include "app/Viewport_Geometry.h"

#include <QComboBox>
#include <QScrollBar>
#include <QWheelEvent>

namespace tessaran::test {
namespace {

using Viewport = MainWindowTest;

void chooseScale(TNetworkForm &form, int index)
{
    form.ScaleComboBox1->setCurrentIndex(index);
    form.ScaleComboBox1Click();
}

TEST_F(Viewport, ZoomStopsAtBothEndsOfTheScaleList)
{
    chooseScale(*form, 14);
    ASSERT_DOUBLE_EQ(form->MetaFileScale, 4.0);
    const int x = form->MetaFileOffsetX, y = form->MetaFileOffsetY;
    form->ToolButtonZoomInClick();
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), 14);
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 4.0);
    EXPECT_EQ(form->MetaFileOffsetX, x);
    EXPECT_EQ(form->MetaFileOffsetY, y);

    chooseScale(*form, 0);
    ASSERT_DOUBLE_EQ(form->MetaFileScale, 0.2);
    const int x0 = form->MetaFileOffsetX, y0 = form->MetaFileOffsetY;
    form->ToolButtonZoomOutClick();
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), 0);
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 0.2);
    EXPECT_EQ(form->MetaFileOffsetX, x0);
    EXPECT_EQ(form->MetaFileOffsetY, y0);
}

TEST_F(Viewport, ZoomKeepsTheCentreOfTheView)
{
    form->ZoomtoFitonScreen1Click();
    const double centreX = form->MetaFileOffsetX + form->ViewWidth() / 2.0;
    const double centreY = form->MetaFileOffsetY + form->ViewHeight() / 2.0;
    form->ToolButtonZoomInClick();
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 1.25);
    EXPECT_NEAR(form->MetaFileOffsetX + form->ViewWidth() / 2.0 / 1.25, centreX, 2);
    EXPECT_NEAR(form->MetaFileOffsetY + form->ViewHeight() / 2.0 / 1.25, centreY, 2);
}

TEST_F(Viewport, ZoomToFitOfAnEmptyNetworkCentresTheSheet)
{
    chooseScale(*form, 12);
    form->ScrollBar1->setValue(100);
    form->ZoomtoFitonScreen1Click();
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), ScaleIndex100);
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 1.0);
    EXPECT_NEAR(form->MetaFileOffsetX + form->ViewWidth() / 2, 9030, 2);
    EXPECT_NEAR(form->MetaFileOffsetY + form->ViewHeight() / 2, 6010, 2);
}

TEST_F(Viewport, ZoomToFitShowsAWideNetworkWhole)
{
    const int a = AddNodeAt(*form->CurrentNetwork, 1000, 3000, Tank);
    const int b = AddNodeAt(*form->CurrentNetwork, 1000 + 3 * form->ViewWidth(), 3400, Tank);
    AddPipeBetween(*form->CurrentNetwork, a, b);
    form->ZoomtoFitonScreen1Click();
    EXPECT_LT(form->MetaFileScale, 0.34);
    const int leftPixel = static_cast<int>((1000 - form->MetaFileOffsetX) * form->MetaFileScale);
    const int rightPixel = static_cast<int>((1000 + 3 * form->ViewWidth() - form->MetaFileOffsetX) * form->MetaFileScale);
    EXPECT_GE(leftPixel, 0);
    EXPECT_LE(rightPixel, form->ViewWidth());
}

TEST_F(Viewport, MappingAndSnappingFollowTheViewAndTheDrawingMode)
{
    chooseScale(*form, 3); // 50 %
    form->MetaFileOffsetX = 0;
    form->MetaFileOffsetY = 0;
    int x = 0, y = 0;
    form->CalcMetaFileDrawingXY(123, 45, x, y);
    EXPECT_EQ(x, 246);
    EXPECT_EQ(y, 90);
    form->CalcMetaFileDrawingSnapToGridXY(39 / 2, 61 / 2, x, y);
    EXPECT_EQ(x, 40);
    EXPECT_EQ(y, 80);
    form->CurrentNetwork->IsometricDrawing = true;
    x = 45, y = 0;
    form->CalcSnapToGridXY(x, y);
    EXPECT_EQ(x, 60);
    EXPECT_EQ(y, 0);

    const int node = AddNodeAt(*form->CurrentNetwork, 45, 0);
    const int other = AddNodeAt(*form->CurrentNetwork, 45, 3);
    form->CurrentNetwork->GetNode(node).Selected = true;
    form->SetSelectedNodesXYSnapToGrid();
    EXPECT_EQ(form->CurrentNetwork->GetNode(node).x, 60);
    EXPECT_EQ(form->CurrentNetwork->GetNode(other).x, 45); // not selected
}

TEST_F(Viewport, TheWheelZoomsAnywhereOnTheWindow)
{
    form->ZoomtoFitonScreen1Click();
    auto turn = [&](QWidget *over, int delta) {
        QWheelEvent wheel(QPointF(10, 10), over->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
    };
    turn(form->NetworkImage, 120);
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), ScaleIndex100 + 1);
    turn(form->LeftPanel1, -120);
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), ScaleIndex100);
    turn(form->ScrollBar1, 10); // too small a turn
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), ScaleIndex100);
}

TEST_F(Viewport, ScrollBarsMoveTheViewWithoutRendering)
{
    form->ScrollBar1->setValue(3000);
    form->ScrollBar2->setValue(2000);
    EXPECT_EQ(form->MetaFileOffsetX, 3000);
    EXPECT_EQ(form->MetaFileOffsetY, 2000);
}

TEST_F(Viewport, AnItemOnTheScreenMarksTheNetworkChanged)
{
    EXPECT_FALSE(form->NetworkStates.SystemUpdatedSinceLoad);
    form->NetworkStates.DrawingObject = DrawingPipeAdd;
    form->RefreshScreen(true);
    EXPECT_FALSE(form->NetworkStates.SystemUpdatedSinceLoad);
    form->NetworkStates.DrawingObject = DrawingJoint;
    form->RefreshScreen(true);
    EXPECT_TRUE(form->NetworkStates.SystemUpdatedSinceLoad);
    form->NetworkStates = TNetworkStates{};
    form->NetworkStates.FreeTextId = 2;
    form->RefreshScreen(true);
    EXPECT_TRUE(form->NetworkStates.SystemUpdatedSinceLoad);
}

TEST_F(Viewport, ClearingAStoredTabsStatesAlsoResetsTheCurrentTool)
{
    TNetworkStates states;
    states.CurrentNodeIdSelected = 4;
    states.SelectionStatus = 2;
    states.CursorX = 77;
    states.DrawingObject = DrawingJoint;
    states.SystemUpdatedSinceLoad = true;
    form->DrawingObject = DrawingText;
    form->ClearNetworkStates(states);
    EXPECT_EQ(states.CurrentNodeIdSelected, 0);
    EXPECT_EQ(states.SelectionStatus, 0);
    EXPECT_FALSE(states.SystemUpdatedSinceLoad);
    EXPECT_EQ(states.CursorX, 77);
    EXPECT_EQ(states.DrawingObject, DrawingJoint);
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);
}

TEST_F(Viewport, ZoomToAPipeUsesTheBandLeftOfAResultsSheetOnTheRight)
{
    const int a = AddNodeAt(*form->CurrentNetwork, 5000, 5000);
    const int b = AddNodeAt(*form->CurrentNetwork, 5400, 5000);
    const int pipe = AddPipeBetween(*form->CurrentNetwork, a, b);
    QWidget sheet;
    sheet.setGeometry(600, 0, 600, 800);
    sheet.show();
    form->FormResults = &sheet;
    form->NetworkStates.CurrentPipeIdSelected = pipe;
    form->ScaleComboBox1->setCurrentIndex(3);
    form->ScaleComboBox1Click();

    form->ZoomtoPipe();
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 1.0);
    const int scrollBoxLeft = form->ScrollBox1->mapTo(form.get(), QPoint(0, 0)).x();
    const int bandWidth = form->frameGeometry().left() + scrollBoxLeft - sheet.frameGeometry().left();
    EXPECT_EQ(form->MetaFileOffsetX, 5200 - std::abs(bandWidth) / 2);
    EXPECT_EQ(form->MetaFileOffsetY, 5000 - form->ViewHeight() / 2);

    sheet.hide();
    form->ZoomtoPipe();
    EXPECT_EQ(form->MetaFileOffsetX, 5200 - form->ViewWidth() / 2);
    form->FormResults = nullptr;

    form->ZoomtoPipeBottomOfScreen();
    EXPECT_EQ(form->MetaFileOffsetY, 5000 - (form->ViewHeight() / 8) * 7);
    form->NetworkStates.CurrentNodeIdSelected = b;
    form->ZoomtoNodeBottomOfScreen();
    EXPECT_EQ(form->MetaFileOffsetX, 5400 - form->ViewWidth() / 2);
}

TEST_F(Viewport, IdListsSelectTheirItemWithoutMovingTheView)
{
    const int a = AddNodeAt(*form->CurrentNetwork, 5000, 5000);
    form->ComboBoxNodeId->addItem(QString("Node:%1").arg(a, 4));
    form->ComboBoxNodeId->addItem("Node:abcd");
    const int x = form->MetaFileOffsetX;
    form->ComboBoxNodeId->setCurrentIndex(1);
    form->ComboBoxNodeIdChange();
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 0);
    form->ComboBoxNodeId->setCurrentIndex(0);
    form->ComboBoxNodeIdChange();
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, a);
    EXPECT_EQ(form->MetaFileOffsetX, x);
}

} // namespace
} // namespace tessaran::test
