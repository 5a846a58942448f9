#include "Main_Window_Fixture.h"

#include "app/Status_Bar.h"

#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace tessaran::test {
namespace {

using Tools = MainWindowTest;

TEST_F(Tools, EachButtonChoosesItsToolWithItsStatusTextAndCursors)
{
    struct Case {
        const char *button;
        TDrawingObjectEnum tool;
        const char *status;
        bool cursorImage;
        Qt::CursorShape screen; // BitmapCursor: one of the tools' own
    };
    const Case cases[] = {
        {"ToolButtonTank1", DrawingSupply, " Add Tank: Left click on the drawing to add a Tank at the cursor position.",
         true, Qt::ArrowCursor},
        {"ToolButtonDemandPressure", DrawingDemandPressure,
         " Add Demand Pressure: Left click on the drawing to add a fixed pressure demand.", true, Qt::ArrowCursor},
        {"ToolButtonDemandFlow", DrawingDemandFlow,
         " Add Demand Flow: Left click on a node to set a demand flow at that point.", true, Qt::ArrowCursor},
        {"ToolButtonPumpAdd1", DrawingPump, " Add Pump: Left click on a pipe to add the pump at the cursor position.",
         true, Qt::ArrowCursor},
        {"ToolButtonFittingsAdd", DrawingFittings,
         " Add Fittings: Left click on a pipe to add Fittings at the cursor position.", true, Qt::ArrowCursor},
        {"ToolButtonComponentPressureLossAdd", DrawingComponentPressure,
         " Add Component: Left click on a pipe to add a Component with a Pressure Loss.", true, Qt::ArrowCursor},
        {"ToolButtonFlowControlAdd", DrawingFlowControl,
         " Add Control Valve: Left click on a pipe to add a Control valve component.", true, Qt::ArrowCursor},
        {"ToolButtonJoint1", DrawingJoint,
         " Add Joint: Left click on the drawing to add a Joint at the cursor position.", true, Qt::ArrowCursor},
        {"ToolButtonPipeAdd1", DrawingPipeAdd,
         " Add Pipes: Left click to select node. Left Click to draw pipe. Right click to stop rubber banding.", true,
         Qt::ArrowCursor},
        {"ToolButtonHand1", DrawingHand,
         " Pan Drawing: Left click and hold down, then move mouse to pan the drawing.", false, Qt::BitmapCursor},
        {"ToolButtonCursorArrow", DrawingStandardCursor,
         " Show Info: Left click on an item to show its details in the left hand panel.", true, Qt::ArrowCursor},
        {"ToolButtonDragNode", DrawingDragNode,
         " Drag Node: Left click on a highlighted object and hold down while dragging to new position.", true,
         Qt::BitmapCursor},
        {"ToolButtonText", DrawingText, " Add Free Text: Click on the grid at the position to add text.", true,
         Qt::ArrowCursor},
        {"ToolButtonClosePipe", DrawingClosePipe,
         " Toggle to Open /Close Pipe: Left click on a pipe to toggle between closed and open.", true,
         Qt::ArrowCursor},
    };
    for (const Case &c : cases) {
        auto *button = form->findChild<QToolButton *>(c.button);
        ASSERT_TRUE(button) << c.button;
        form->StatusBarHintColor = form->StatusBarDefaultColor;
        button->click();
        EXPECT_EQ(form->DrawingObject, c.tool) << c.button;
        EXPECT_EQ(form->NetworkStates.DrawingObject, c.tool) << c.button;
        EXPECT_EQ(form->StatusBar1->Panels[2].Text.toStdString(), c.status) << c.button;
        EXPECT_EQ(form->ImageDrawCursorType->isVisibleTo(form.get()), c.cursorImage) << c.button;
        EXPECT_EQ(form->NetworkImage->cursor().shape(), c.screen) << c.button;
        EXPECT_EQ(form->StatusBarHintColor, 0x00FFFF) << c.button;
        EXPECT_EQ(form->TimerStatusBarHint->interval(), 800) << c.button;
    }
}

TEST_F(Tools, WhatEachToolKeepsOfTheEditorState)
{
    auto highlight = [&] {
        TNetworkStates &s = form->NetworkStates;
        s.CurrentNodeIdSelected = 3;
        s.CurrentPipeIdSelected = 4;
        s.NodeIdClick1 = 3;
        s.PipeIdClick1 = 5;
        s.RubberBand = true;
        s.SelectionStatus = 4;
        s.SystemUpdatedSinceLoad = false;
    };
    highlight();
    form->ToolButtonJoint1Click();
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 0);
    EXPECT_EQ(form->NetworkStates.PipeIdClick1, 0);
    EXPECT_FALSE(form->NetworkStates.RubberBand);
    EXPECT_EQ(form->NetworkStates.SelectionStatus, 0);

    highlight();
    form->ToolButtonPipeAdd1Click(); // nothing in hand, yet the network counts as changed
    EXPECT_TRUE(form->NetworkStates.SystemUpdatedSinceLoad);

    highlight();
    form->ToolButtonHand1Click();
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 0);
    EXPECT_TRUE(form->NetworkStates.RubberBand);
    EXPECT_EQ(form->NetworkStates.SelectionStatus, 4);
    EXPECT_TRUE(form->ToolButtonHand1->isChecked());

    highlight();
    form->ToolButtonDragNodeClick();
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 3);
    EXPECT_EQ(form->NetworkStates.CurrentPipeIdSelected, 4);
    EXPECT_FALSE(form->NetworkStates.RubberBand);
    EXPECT_EQ(form->NetworkStates.SelectionStatus, 0);
    EXPECT_FALSE(form->ToolButtonHand1->isChecked());

    // Show Item Info keeps the pipe clicked last highlighted.
    highlight();
    form->ToolButtonCursorArrowClick();
    EXPECT_EQ(form->NetworkStates.CurrentPipeIdSelected, 5);
    EXPECT_EQ(form->NetworkStates.CurrentNodeIdSelected, 0);
    EXPECT_TRUE(form->ToolButtonCursorArrow->isChecked());
}

} // namespace
} // namespace tessaran::test
