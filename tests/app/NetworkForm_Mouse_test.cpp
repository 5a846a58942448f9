// The canvas driven with QTest mouse events, as a user draws.
#include "Drawing_Fixture.h"

#include "app/Status_Bar.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

namespace tessaran::test {
namespace {

using Mouse = DrawingTest;

const QString NoOutFlowFromEndPressure =
    "Demand pressure nodes cannot have any out flow pipes. \r\rIf you wish to draw a pipe from this node then you "
    "will first\rneed to change the node type to either a Joint or a tank.";

void PressEscape(QWidget *window)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window, Qt::Key_Escape);
    QApplication::processEvents();
}

TEST_F(Mouse, PipeToolDrawsThroughNewJointsUntilTheStartNodeIsClickedAgain)
{
    const int a = JointAt(ox, oy);
    ASSERT_EQ(form->DrawingObject, DrawingPipeAdd);
    Click(ox + 3, oy - 4);
    EXPECT_EQ(States().NodeIdClick1, a);
    EXPECT_TRUE(States().RubberBand);

    // Empty ground within 14 units of a grid point: a joint there and a pipe.
    ExpectFirstPipeReminder(false);
    Click(ox + 214, oy - 14);
    ASSERT_EQ(Nodes(), 2);
    ASSERT_EQ(Pipes(), 1);
    const int j = Net().ExistsNodeWithSamePosition(ox + 200, oy, 0);
    ASSERT_GT(j, 0);
    EXPECT_TRUE(Net().ExistsPipeLink(a, j));
    EXPECT_EQ(States().NodeIdClick1, j);
    EXPECT_EQ(States().CurrentNodeIdSelected, j);
    EXPECT_TRUE(States().RubberBand);

    // 15 units off the grid: nothing, and the drawing goes on from j.
    Click(ox + 215, oy + 120);
    EXPECT_EQ(Nodes(), 2);
    EXPECT_EQ(States().NodeIdClick1, j);

    Click(ox + 200, oy + 200);
    const int k = Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0);
    ASSERT_GT(k, 0);
    EXPECT_TRUE(Net().ExistsPipeLink(j, k));
    EXPECT_EQ(LogText(), "|+J+P|+J+P");

    // The start node again stops without a pipe.
    Click(ox + 200, oy + 200);
    EXPECT_FALSE(States().RubberBand);
    EXPECT_EQ(States().NodeIdClick1, 0);
    EXPECT_EQ(States().CurrentNodeIdSelected, k);
    EXPECT_EQ(Pipes(), 2);
    EXPECT_EQ(form->DrawingObject, DrawingPipeAdd);
}

TEST_F(Mouse, EndPressureNodesTakeOnePipeInAndNoneOut)
{
    const int e = AddNodeAt(Net(), ox, oy, EndPressure);
    const int a = JointAt(ox + 200, oy), b = JointAt(ox + 200, oy + 200);
    dialogs.Expect(TDialogKind::Information, NoOutFlowFromEndPressure);
    Click(ox, oy);
    EXPECT_FALSE(States().RubberBand);
    EXPECT_EQ(States().NodeIdClick1, 0);
    EXPECT_EQ(States().CurrentNodeIdSelected, 0);

    // A pipe into it ends the drawing.
    Click(ox + 200, oy);
    ExpectFirstPipeReminder(false);
    Click(ox, oy);
    EXPECT_TRUE(Net().ExistsPipeLink(a, e));
    EXPECT_EQ(States().NodeIdClick1, 0);
    EXPECT_FALSE(States().RubberBand);

    // A second pipe into it is refused; the drawing stays at its start.
    Click(ox + 200, oy + 200);
    dialogs.Expect(TDialogKind::Information,
                   "Pipe cannot be added. \r\rCannot connect more than one pipe to a End Pressure Demand node.\r");
    Click(ox, oy);
    EXPECT_EQ(Pipes(), 1);
    EXPECT_EQ(States().NodeIdClick1, b);
    EXPECT_EQ(States().CurrentNodeIdSelected, b);
}

TEST_F(Mouse, PressingTheHighlightedPipeFreesItsEndToBeRelinkedWithItsData)
{
    Pipe(JointAt(ox, oy + 400), JointAt(ox + 400, oy + 400)); // not the first pipe: no reminder
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy), c = JointAt(ox + 200, oy + 200);
    const int p = Pipe(a, b, "Main");
    Net().GetPipe(p).Length_m = 123;

    Click(ox + 200, oy + 2);
    EXPECT_EQ(States().CurrentPipeIdSelected, p);
    EXPECT_EQ(States().NodeIdClick1, 0);
    Click(ox + 200, oy + 2);
    EXPECT_EQ(Pipes(), 1);
    EXPECT_TRUE(States().MovingPipe);
    EXPECT_TRUE(States().RubberBand);
    EXPECT_EQ(States().NodeIdClick1, a);
    EXPECT_EQ(States().CurrentPipeIdSelected, -1);

    Click(ox + 200, oy + 200);
    ASSERT_TRUE(Net().ExistsPipeLink(a, c));
    EXPECT_FALSE(Net().ExistsPipeLink(a, b));
    const int moved = States().CurrentPipeIdSelected;
    EXPECT_EQ(Net().GetPipe(moved).Length_m, 123);
    EXPECT_EQ(Net().GetPipe(moved).Name, "P" + std::to_string(moved));
    EXPECT_FALSE(States().MovingPipe);
    EXPECT_EQ(LogText(), "|-P|+P");
    EXPECT_EQ(form->ActionLog->GetAction(2).Pipe->Name, "Main");

    // A right press instead leaves the pipe removed and the tool chosen.
    Click(ox + 200, oy + 200); // stops at c; the moved pipe stays highlighted
    Click(ox + 100, oy + 100);
    ASSERT_TRUE(States().MovingPipe);
    Click(ox + 300, oy + 300, Qt::RightButton);
    EXPECT_EQ(Pipes(), 1);
    EXPECT_FALSE(States().MovingPipe);
    EXPECT_FALSE(States().RubberBand);
    EXPECT_EQ(form->DrawingObject, DrawingPipeAdd);
    // A second right press leaves the tool.
    Click(ox + 300, oy + 300, Qt::RightButton);
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);
}

TEST_F(Mouse, APressDuringAnotherStartsNoSecondEdit)
{
    form->ToolButtonJoint1Click();
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    Pipe(a, b);
    int pressesInside = 0;
    dialogs.OnMessageBox = [&](const TMessageBoxRequest &) {
        ++pressesInside;
        Click(ox + 200, oy + 200);
    };
    ExpectQuestion("A Node cannot be added on top of an existing pipe line in the Network without splitting the pipe "
                   "into two sections. \r\rIf the pipe is split you will need to reset the pipe details manually. "
                   "\r\rDo you wish to add the node and split the pipe?",
                   true);
    Click(ox + 200, oy);
    EXPECT_EQ(pressesInside, 1);
    EXPECT_EQ(Nodes(), 3);
    EXPECT_EQ(Pipes(), 2);
    EXPECT_EQ(Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0), 0);
    EXPECT_EQ(LogText(), "|-P+J+P+P");
    // The next press is a press again.
    dialogs.OnMessageBox = nullptr;
    Click(ox + 200, oy + 200);
    EXPECT_EQ(Nodes(), 4);
}

TEST_F(Mouse, EscapeIsARightPressOnTheCanvasOnly)
{
    JointAt(ox, oy);
    Click(ox, oy);
    ASSERT_TRUE(States().RubberBand);
    QCursor::setPos(form->ToolBar1->mapToGlobal(QPoint(5, 5)));
    PressEscape(form.get());
    EXPECT_TRUE(States().RubberBand);
    QCursor::setPos(form->NetworkImage->mapToGlobal(At(ox + 100, oy + 100)));
    PressEscape(form.get());
    EXPECT_FALSE(States().RubberBand);
    EXPECT_EQ(States().NodeIdClick1, 0);
    EXPECT_EQ(form->DrawingObject, DrawingPipeAdd);
}

TEST_F(Mouse, ShowItemInfoSelectsAndDeselectsAndOpensTheItemClicked)
{
    form->ToolButtonCursorArrowClick();
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);

    Click(ox + 5, oy);
    EXPECT_EQ(States().CurrentNodeIdSelected, a);
    Click(ox, oy + 5);
    EXPECT_EQ(States().CurrentNodeIdSelected, 0);

    Click(ox + 200, oy);
    EXPECT_EQ(States().CurrentPipeIdSelected, p);
    Click(ox + 200, oy);
    EXPECT_EQ(States().CurrentPipeIdSelected, 0);
    EXPECT_TRUE(itemDialogs.Calls.empty());

    Click(ox + 200, oy);
    DoubleClick(ox + 200, oy);
    EXPECT_EQ(States().CurrentPipeIdSelected, p);
    EXPECT_EQ(itemDialogs.Calls, std::vector<std::string>{"Diameter " + std::to_string(p)});

    // The component where the last render put it opens its dialog.
    TPipe &pipe = Net().GetPipe(p);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressurePositionPercentageAlongPipe = 75;
    form->RefreshScreenImageOnly(true);
    itemDialogs.Calls.clear();
    Click(pipe.ComponentPressurex + 4, pipe.ComponentPressurey - 4);
    EXPECT_EQ(itemDialogs.Calls, std::vector<std::string>{"Component " + std::to_string(p)});

    // A demand arrow opens the node's demands with its own box first.
    Net().GetNode(b).JointDischarge_m3s = 0.01;
    form->RefreshScreenImageOnly(true);
    const TNode &node = Net().GetNode(b);
    itemDialogs.Calls.clear();
    Click(node.x + node.JointDischargeRelativeX, node.y + node.JointDischargeRelativeY);
    EXPECT_EQ(itemDialogs.Calls, std::vector<std::string>{"Demands " + std::to_string(b) + " out"});
    EXPECT_EQ(States().CurrentNodeIdSelected, b);
}

TEST_F(Mouse, TheHoverPanelAndTheGridPositionFollowTheMouse)
{
    form->ToolButtonCursorArrowClick();
    const int a = JointAt(ox, oy);
    QTest::mouseMove(form->NetworkImage, At(ox + 4, oy + 4));
    QApplication::processEvents();
    EXPECT_TRUE(form->PanelResultInfo->isVisible());
    EXPECT_EQ(form->PanelResultInfo->pos(), At(ox + 4, oy + 4) + QPoint(11, 14));
    EXPECT_EQ(form->StatusBar1->Panels[1].Text,
              QString(" Grid  X=%1  Y=%2").arg((ox + 4) / 40).arg((oy + 4) / 40));
    QTest::mouseMove(form->NetworkImage, At(ox + 100, oy + 100));
    QApplication::processEvents();
    EXPECT_FALSE(form->PanelResultInfo->isVisible());
    (void)a;
}

} // namespace
} // namespace tessaran::test
