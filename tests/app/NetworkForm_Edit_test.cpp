// Undo, redo and delete on networks drawn with the mouse.
#include "Drawing_Fixture.h"

namespace tessaran::test {
namespace {

using Editing = DrawingTest;

const QString DeletePipeQuestion = "Are you sure you wish to delete the current highlighted pipe? ";
const QString DeleteNodeQuestion = "Are you sure you wish to delete the current highlighted node and all pipes that "
                                   "connect to the highlighted node?\r\rYou will not be able to undo this action.";

TEST_F(Editing, UndoAndRedoWalkTheLogByGroups)
{
    // A new log: nothing happens.
    form->ToolButtonUndo1Click();
    form->ToolButtonRedo1Click();
    EXPECT_EQ(Nodes(), 0);

    form->ToolButtonJoint1Click();
    Click(ox, oy);
    ASSERT_EQ(Nodes(), 1);
    form->ToolButtonUndo1Click();
    EXPECT_EQ(Nodes(), 0);
    form->ToolButtonRedo1Click();
    EXPECT_EQ(Nodes(), 1);
    EXPECT_GT(Net().ExistsNodeWithSamePosition(ox, oy, 0), 0);
    form->ToolButtonRedo1Click();
    EXPECT_EQ(Nodes(), 1);

    // Two more groups; undo both, redo one, then a new edit: the other is gone.
    form->ToolButtonJoint1Click();
    Click(ox + 200, oy);
    Click(ox + 400, oy);
    ASSERT_EQ(Nodes(), 3);
    form->ToolButtonUndo1Click();
    form->ToolButtonUndo1Click();
    EXPECT_EQ(Nodes(), 1);
    form->ToolButtonRedo1Click();
    EXPECT_EQ(Nodes(), 2);
    form->ToolButtonJoint1Click();
    Click(ox + 600, oy);
    form->ToolButtonRedo1Click();
    EXPECT_EQ(Nodes(), 3);
    EXPECT_EQ(Net().ExistsNodeWithSamePosition(ox + 400, oy, 0), 0);
    // Undo goes back through every group to the first.
    for (int i = 0; i < 5; ++i)
        form->ToolButtonUndo1Click();
    EXPECT_EQ(Nodes(), 0);
}

TEST_F(Editing, AJointSplitAndItsPipeComeAndGoTogether)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b, "Main");
    form->ToolButtonJoint1Click();
    ExpectQuestion("A Node cannot be added on top of an existing pipe line in the Network without splitting the pipe "
                   "into two sections. \r\rIf the pipe is split you will need to reset the pipe details manually. "
                   "\r\rDo you wish to add the node and split the pipe?",
                   true);
    Click(ox + 200, oy);
    ASSERT_EQ(Pipes(), 2);
    form->ToolButtonUndo1Click();
    EXPECT_EQ(Nodes(), 2);
    EXPECT_EQ(Pipes(), 1);
    EXPECT_TRUE(Net().ExistsPipeLink(a, b));
    EXPECT_EQ(Net().GetPipe(Net().GetNextPipeId(0)).Name, "Main");
    form->ToolButtonRedo1Click();
    EXPECT_EQ(Nodes(), 3);
    EXPECT_EQ(Pipes(), 2);
    EXPECT_FALSE(Net().ExistsPipeLink(a, b));
    (void)p;
}

TEST_F(Editing, RedoneNodesKeepTheirPipesWhateverIdTheyComeBackUnder)
{
    // Group 1 a joint j; group 2 a pipe from j to a new joint k.
    form->ToolButtonJoint1Click();
    Click(ox, oy);
    form->ToolButtonPipeAdd1Click();
    Click(ox, oy);
    ExpectFirstPipeReminder(false);
    Click(ox + 200, oy);
    ASSERT_EQ(Pipes(), 1);
    form->ToolButtonUndo1Click();
    form->ToolButtonUndo1Click();
    ASSERT_EQ(Nodes(), 0);
    // Meanwhile a node the log does not know takes the first free ids.
    const int stranger = JointAt(ox, oy + 400);
    const int stranger2 = JointAt(ox + 200, oy + 400);
    form->ToolButtonRedo1Click();
    form->ToolButtonRedo1Click();
    ASSERT_EQ(Nodes(), 4);
    ASSERT_EQ(Pipes(), 1);
    const int j = Net().ExistsNodeWithSamePosition(ox, oy, 0);
    const int k = Net().ExistsNodeWithSamePosition(ox + 200, oy, 0);
    EXPECT_TRUE(Net().ExistsPipeLink(j, k));
    EXPECT_FALSE(Net().ExistsPipeLink(stranger, stranger2));
    // And undo takes away the right ones again.
    form->ToolButtonUndo1Click();
    form->ToolButtonUndo1Click();
    EXPECT_EQ(Nodes(), 2);
    EXPECT_EQ(Net().GetNode(stranger).x, ox);
    EXPECT_EQ(Net().GetNode(stranger2).x, ox + 200);
}

TEST_F(Editing, ADeletedPipeComesBackByUndoADeletedNodeDoesNot)
{
    form->ToolButtonJoint1Click();
    Click(ox + 800, oy + 400);
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    Pipe(JointAt(ox, oy + 200), JointAt(ox + 400, oy + 200));
    const int p = Pipe(a, b, "Main");
    Net().GetPipe(p).Length_m = 77;
    States().CurrentNodeIdSelected = 0;

    dialogs.Expect(TDialogKind::Information,
                   "No Items are selected. \r\rHighlight a pipe or node and then click on delete or\r\rUse the "
                   "selection tool to draw a rectangle around a group of items you wish to delete and then click on "
                   "delete.");
    form->Delete1Click();

    States().CurrentPipeIdSelected = p;
    ExpectQuestion(DeletePipeQuestion, true);
    form->Delete1Click();
    EXPECT_FALSE(Net().ExistsPipeLink(a, b));
    EXPECT_EQ(States().CurrentPipeIdSelected, 0);
    form->ToolButtonUndo1Click();
    ASSERT_TRUE(Net().ExistsPipeLink(a, b));
    EXPECT_EQ(Nodes(), 5) << "the log was emptied before the deletion";
    int back = 0;
    for (int id = Net().GetNextPipeId(0); id > 0; id = Net().GetNextPipeId(id))
        if (Net().GetPipe(id).Name == "Main")
            back = id;
    EXPECT_EQ(Net().GetPipe(back).Length_m, 77);

    States().CurrentNodeIdSelected = a;
    ExpectQuestion(DeleteNodeQuestion, true);
    form->Delete1Click();
    EXPECT_EQ(Nodes(), 4);
    EXPECT_EQ(Pipes(), 1);
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);
    form->ToolButtonUndo1Click();
    EXPECT_EQ(Nodes(), 4);
}

TEST_F(Editing, MovingThePipeEndKeepsItsDataAndCanBeUndone)
{
    Pipe(JointAt(ox, oy + 400), JointAt(ox + 400, oy + 400));
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy), c = JointAt(ox + 200, oy + 200);
    const int p = Pipe(a, b, "Main");
    States().CurrentPipeIdSelected = p;
    form->MovePipe1Click();
    EXPECT_EQ(form->DrawingObject, DrawingPipeAdd);
    EXPECT_TRUE(States().MovingPipe);
    EXPECT_EQ(States().NodeIdClick1, a);
    Click(ox + 200, oy + 200);
    EXPECT_TRUE(Net().ExistsPipeLink(a, c));
    form->ToolButtonUndo1Click();
    EXPECT_FALSE(Net().ExistsPipeLink(a, c));
    form->ToolButtonUndo1Click();
    EXPECT_TRUE(Net().ExistsPipeLink(a, b));
}

} // namespace
} // namespace tessaran::test
