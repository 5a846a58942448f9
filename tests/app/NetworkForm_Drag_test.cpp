// The drag tool, the selection tools and the fluid-zone rectangle driven
// with mouse events.
#include "Drawing_Fixture.h"

namespace tessaran::test {
namespace {

using Dragging = DrawingTest;

TEST_F(Dragging, ItemsAlongAPipeStopShortOfItsEnds)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);
    TPipe &pipe = Net().GetPipe(p);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressurePositionPercentageAlongPipe = 25;
    const int c = JointAt(ox, oy + 200), d = JointAt(ox + 400, oy + 200);
    const int q = Pipe(c, d);
    AddValveOn(q, FCV);
    Net().GetPipe(q).FlowControlPositionPercentageAlongPipe = 75;
    form->ToolButtonDragNodeClick();

    struct Case {
        const char *what;
        std::function<std::pair<int, int>()> at; // where the item stands now
        std::function<double()> value;
        int toStartX, toEndX, y;
        double low, high;
    };
    const Case cases[] = {
        {"pipe label", [&] { return std::pair{pipe.labelx, pipe.labely}; },
         [&] { return pipe.labelPositionPercentageAlongPipe; }, ox + 4, ox + 500, oy, 3, 97},
        {"component", [&] { return std::pair{pipe.ComponentPressurex, pipe.ComponentPressurey}; },
         [&] { return pipe.ComponentPressurePositionPercentageAlongPipe; }, ox + 4, ox + 500, oy, 3, 90},
        {"control valve",
         [&] { return std::pair{Net().GetPipe(q).FlowControlx, Net().GetPipe(q).FlowControly}; },
         [&] { return Net().GetPipe(q).FlowControlPositionPercentageAlongPipe; }, ox + 4, ox + 500, oy + 200, 3, 98},
    };
    for (const Case &k : cases) {
        form->RefreshScreenImageOnly(true);
        auto [x, y] = k.at();
        Drag(x, y, k.toStartX, k.y);
        EXPECT_DOUBLE_EQ(k.value(), k.low) << k.what;
        form->RefreshScreenImageOnly(true);
        std::tie(x, y) = k.at();
        Drag(x, y, k.toEndX, k.y);
        EXPECT_DOUBLE_EQ(k.value(), k.high) << k.what;
    }
    EXPECT_EQ(Nodes(), 4);

    // In results mode components stay; the press pans instead, the point
    // grabbed staying under the mouse.
    pipe.ComponentPressurePositionPercentageAlongPipe = 50;
    form->ResultsMode = true;
    form->RefreshScreenImageOnly(true);
    const int offset = form->MetaFileOffsetX;
    const QPoint from = At(pipe.ComponentPressurex, pipe.ComponentPressurey), to = from - QPoint(100, 0);
    dialogs.Expect(TDialogKind::Information, "Components cannot be moved when in results mode.");
    for (const auto &[type, at, button, held] :
         {std::tuple{QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseMove, to, Qt::NoButton, Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::MouseButtons(Qt::NoButton)}}) {
        QMouseEvent event(type, QPointF(at), QPointF(form->NetworkImage->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(form->NetworkImage, &event);
    }
    EXPECT_EQ(pipe.ComponentPressurePositionPercentageAlongPipe, 50);
    EXPECT_EQ(form->MetaFileOffsetX, offset + 100);
}

TEST_F(Dragging, ALabelOnAPipeWhoseNodesCoincideStaysWhereItIs)
{
    // Such pipes come from files: both nodes on one point.
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);
    Net().GetNode(b).x = ox;
    form->ToolButtonDragNodeClick();
    TPipe &pipe = Net().GetPipe(p);
    pipe.labelx = ox + 200;
    pipe.labely = oy + 200;
    Press(ox + 200, oy + 200);
    ASSERT_EQ(form->DragStatus, 20);
    MoveHeld(ox + 300, oy + 300);
    Release(ox + 300, oy + 300);
    EXPECT_EQ(pipe.labelPositionPercentageAlongPipe, 50);
}

TEST_F(Dragging, ANodeDroppedWhereItCannotStandGoesBackToItsGridPoint)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    Pipe(a, b);
    const int c = JointAt(ox + 200, oy + 200), d = JointAt(ox + 200, oy + 400);
    Pipe(c, d);
    const int lone = JointAt(ox + 600, oy + 200);
    form->ToolButtonDragNodeClick();

    struct Case {
        const char *what;
        int toX, toY;
        const char *refusal;
    };
    const Case cases[] = {
        {"onto a node", ox + 597, oy + 203, "The node cannot be moved on top of another node. "},
        {"onto a pipe", ox + 120, oy + 2, "The node cannot be moved on top of an existing pipe. "},
        {"its pipe over a node", ox + 800, oy + 200,
         "The node cannot be moved to a position which would cause a joining \rpipe to cross over another node "
         "that is not connected to the pipe. "},
    };
    for (const Case &k : cases) {
        dialogs.Expect(TDialogKind::Information, k.refusal);
        Drag(ox + 203, oy + 396, k.toX, k.toY);
        EXPECT_EQ(Net().GetNode(d).x, ox + 200) << k.what;
        EXPECT_EQ(Net().GetNode(d).y, oy + 400) << k.what;
        EXPECT_EQ(form->DragStatus, 0) << k.what;
    }
    Drag(ox + 203, oy + 396, ox + 287, oy + 433);
    EXPECT_EQ(Net().GetNode(d).x, ox + 280);
    EXPECT_EQ(Net().GetNode(d).y, oy + 440);
    (void)lone;
}

TEST_F(Dragging, AnImageHandleDraggedPastTheOppositeEdgeLeavesTenUnits)
{
    Net().BackgroundImagesCount = 1;
    TBackgroundImage &image = Net().BackgroundImages[1];
    image.ImageX = ox;
    image.ImageY = oy;
    image.ImageStretchWidth = 200;
    image.ImageStretchHeight = 100;
    form->ToolButtonDragNodeClick();
    Drag(ox + 200, oy + 100, ox - 300, oy - 300); // bottom-right handle
    EXPECT_EQ(image.ImageStretchWidth, 10);
    EXPECT_EQ(image.ImageStretchHeight, 10);
    EXPECT_EQ(image.ImageX, ox);
    image.ImageStretchWidth = 200;
    image.ImageStretchHeight = 100;
    Drag(ox, oy, ox + 500, oy + 40); // top-left handle
    EXPECT_EQ(image.ImageStretchWidth, 10);
    EXPECT_EQ(image.ImageStretchHeight, 60);
    EXPECT_EQ(image.ImageX, ox + 500);
}

TEST_F(Dragging, RectanglesSelectTheSameItemsDrawnEitherWay)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 200, oy), c = JointAt(ox + 600, oy);
    Pipe(a, b);
    Pipe(b, c);
    for (const bool backwards : {false, true}) {
        // Dropping a selection returns to design mode: the tool again.
        form->ToolButtonSelectionClick();
        if (backwards)
            Drag(ox + 300, oy + 100, ox - 100, oy - 100);
        else
            Drag(ox - 100, oy - 100, ox + 300, oy + 100);
        EXPECT_EQ(States().SelectionStatus, 2) << backwards;
        EXPECT_TRUE(Net().GetNode(a).Selected) << backwards;
        EXPECT_TRUE(Net().GetNode(b).Selected) << backwards;
        EXPECT_FALSE(Net().GetNode(c).Selected) << backwards;
        EXPECT_LT(States().SelectionStartX, States().SelectionEndX) << backwards;
        // A right press drops the selection; another leaves it.
        Click(ox + 900, oy + 300, Qt::RightButton);
        EXPECT_EQ(States().SelectionStatus, 0);
        EXPECT_FALSE(Net().GetNode(a).Selected);
    }
}

TEST_F(Dragging, ASelectionMovedPartlyOffTheSheetStaysSelected)
{
    const int a = JointAt(80, 80), b = JointAt(ox, oy);
    form->ToolButtonSelectionClick();
    form->MetaFileOffsetX = 0;
    form->MetaFileOffsetY = 0;
    ox = 0;
    oy = 0;
    Drag(40, 40, 120, 120);
    ASSERT_TRUE(Net().GetNode(a).Selected);
    Drag(80, 80, 80 - 200, 80);
    dialogs.Expect(TDialogKind::Information,
                   "The selection cannot be moved off the drawing grid.\r\rPlease reposition the selection elsewhere.");
    Click(400, 400);
    EXPECT_EQ(States().SelectionStatus, 2);
    EXPECT_TRUE(Net().GetNode(a).Selected);
    EXPECT_EQ(Net().GetNode(a).x, -120);
    (void)b;
}

TEST_F(Dragging, ASelectionDroppedOntoANodeMovesAsideOrIsDeleted)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 200, oy);
    form->ToolButtonSelectionClick();
    Drag(ox - 40, oy - 40, ox + 40, oy + 40);
    ASSERT_TRUE(Net().GetNode(a).Selected);
    Drag(ox, oy, ox + 200, oy);
    const QString overlap =
        "The selection cannot be moved to this position. \r\rEither a node has been placed on top of an existing "
        "node or \ra pipe from one of the nodes now crosses over an unconnected node.\r\rThis type of drawing "
        "overlap is disallowed to avoid confusion.\r\rYou can now either delete the selected items or try to "
        "reposition them.\r\r\rChoose 'No' to delete the currently selected items.\r\rChoose 'Yes' to reposition "
        "the selection elsewhere.";
    ExpectQuestion(overlap, true);
    Click(ox + 900, oy + 600);
    EXPECT_EQ(States().SelectionStatus, 2);
    EXPECT_EQ(Net().GetNode(a).x, ox + 210);
    EXPECT_EQ(Net().GetNode(a).y, oy + 10);
    // Dropped again it snaps back onto b: this time No deletes it.
    ExpectQuestion(overlap, false);
    Click(ox + 900, oy + 600);
    EXPECT_EQ(States().SelectionStatus, 0);
    EXPECT_EQ(Nodes(), 1);
    EXPECT_EQ(Net().GetNode(b).x, ox + 200);
}

TEST_F(Dragging, PickSelectionTogglesWhatIsClicked)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);
    form->ToolButtonSelection2Click();
    EXPECT_EQ(States().SelectionStatus, 9);
    Click(ox, oy);
    EXPECT_TRUE(Net().GetNode(a).Selected);
    Click(ox + 200, oy);
    EXPECT_TRUE(Net().GetPipe(p).Selected);
    Click(ox, oy);
    EXPECT_FALSE(Net().GetNode(a).Selected);
}

TEST_F(Dragging, AFluidZoneRectangleTakesThePipesWhollyInside)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 200, oy), c = JointAt(ox + 600, oy);
    const int inside = Pipe(a, b), across = Pipe(b, c);
    Net().FluidZonesCount = 2;
    Net().CurrentFluidZone = 2;
    form->DrawingObject = DrawingFluidZone;
    States().DrawingObject = DrawingFluidZone;
    Drag(ox + 300, oy + 100, ox - 100, oy - 100);
    EXPECT_EQ(Net().GetPipe(inside).FluidZoneIndex, 2);
    EXPECT_EQ(Net().GetPipe(across).FluidZoneIndex, 1);
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);
    EXPECT_FALSE(Net().GetNode(a).Selected);
}

} // namespace
} // namespace tessaran::test
