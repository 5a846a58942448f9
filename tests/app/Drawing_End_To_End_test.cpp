// A network drawn with the mouse alone, then calculated and compared with
// its reference picture.
#include "Drawing_Fixture.h"

#include "drawing_qt/Reference_Image.h"

#include <QDir>
#include <QImage>

#include <cstdlib>

namespace tessaran::test {
namespace {

using DrawnByMouse = DrawingTest;

TEST_F(DrawnByMouse, TwoTanksAndAPipeFlowFromTheHigherTank)
{
    form->ToolButtonTank1Click();
    Click(ox + 203, oy + 198);
    Click(ox + 597, oy + 402);
    ASSERT_EQ(Nodes(), 2);
    const int high = Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0);
    const int low = Net().ExistsNodeWithSamePosition(ox + 600, oy + 400, 0);
    ASSERT_GT(high, 0);
    ASSERT_GT(low, 0);
    EXPECT_EQ(Net().GetNode(high).NodeType, Tank);

    form->ToolButtonPipeAdd1Click();
    Click(ox + 200, oy + 200);
    ExpectFirstPipeReminder(false);
    Click(ox + 600, oy + 400);
    ASSERT_EQ(Pipes(), 1);
    const int pipe = Net().GetNextPipeId(0);
    int from = 0, to = 0;
    Net().GetFromAndToNodeIds(pipe, from, to);
    EXPECT_EQ(from, high);
    EXPECT_EQ(to, low);
    Click(ox + 400, oy + 600, Qt::RightButton); // drawing stops
    EXPECT_EQ(LogText(), "|+S|+S|+P");

    Net().GetNode(high).Elevation_m = 30;
    Net().GetNode(low).Elevation_m = 10;
    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    Net().SolveNetwork(solved, solutionOk, log, privateLog);
    ASSERT_TRUE(solved);
    EXPECT_GT(Net().GetPipe(pipe).FlowUncompressed_m3s, 0.001);

    form->ToolButtonCursorArrowClick();
    const QImage image = form->NetworkImage->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectMatchesReferenceIn(QStringLiteral(TESSARAN_TEST_DATA_DIR "/app/"), image, "drawn_two_tanks.png", 0.01);
}

} // namespace
} // namespace tessaran::test

namespace tessaran::test {
namespace {

TEST_F(DrawnByMouse, ASelectionMovedThenAPipeUndoneAndRedone)
{
    // Three joints and two pipes: a - b - c.
    form->ToolButtonPipeAdd1Click();
    Click(ox + 200, oy + 200);
    ExpectFirstPipeReminder(false);
    Click(ox + 400, oy + 200);
    Click(ox + 400, oy + 400);
    Click(ox + 400, oy + 400); // stops
    ASSERT_EQ(Nodes(), 3);
    ASSERT_EQ(Pipes(), 2);
    const int a = Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0);
    const int b = Net().ExistsNodeWithSamePosition(ox + 400, oy + 200, 0);
    const int c = Net().ExistsNodeWithSamePosition(ox + 400, oy + 400, 0);

    // a and b in a rectangle, dragged 80 units right and down, dropped.
    form->ToolButtonSelectionClick();
    Drag(ox + 150, oy + 150, ox + 450, oy + 250);
    ASSERT_TRUE(Net().GetNode(a).Selected);
    ASSERT_FALSE(Net().GetNode(c).Selected);
    Drag(ox + 300, oy + 200, ox + 380, oy + 280);
    Click(ox + 900, oy + 600); // outside: dropped
    EXPECT_EQ(States().SelectionStatus, 0);
    EXPECT_EQ(Net().GetNode(a).x, ox + 280);
    EXPECT_EQ(Net().GetNode(a).y, oy + 280);
    EXPECT_EQ(Net().GetNode(b).x, ox + 480);
    EXPECT_EQ(Net().GetNode(c).y, oy + 400);

    form->ToolButtonUndo1Click();
    EXPECT_FALSE(Net().ExistsPipeLink(b, c));
    EXPECT_TRUE(Net().ExistsPipeLink(a, b));
    form->ToolButtonRedo1Click();
    EXPECT_TRUE(Net().ExistsPipeLink(b, c));
    EXPECT_EQ(Pipes(), 2);

    form->ToolButtonCursorArrowClick();
    const QImage image = form->NetworkImage->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectMatchesReferenceIn(QStringLiteral(TESSARAN_TEST_DATA_DIR "/app/"), image, "moved_selection.png", 0.01);
}

} // namespace
} // namespace tessaran::test
