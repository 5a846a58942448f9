// Cut, copy and paste through the clipboard network; conversions between
// standard and isometric drawing; tank view; mirrors, inversions and
// rotations of the whole drawing and of the selection.
#include "Drawing_Fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include <cmath>
#include <functional>

namespace tessaran::test {
namespace {

const QString IsometricOntoStandard =
    "Items cannot be pasted directly from an Isometric drawing onto a Standard drawing.\r\rYou must either "
    "\r\rSwitch the current grid to Isometric Drawing\r\rOR\r\rSwitch the original Isometric drawing to Standard "
    "drawing mode before selecting the items you wish to copy.";
const QString StandardOntoIsometric =
    "Items cannot be pasted directly from an Standard drawing onto an Isometric drawing.\r\rYou must either "
    "\r\rSwitch the current grid to Standard Drawing\r\rOR\r\rSwitch the original Standard drawing to Isometric "
    "drawing mode before selecting the items you wish to copy.";
const QString ToIsometricNote =
    "The current drawing on the standard grid will be transposed on to the isometric grid.\r\rThe result will be a "
    "flat view of the current drawing on the isometric plane.\r\rNote: The logical model remains the same and any "
    "elevation settings remain unchanged.\r";
const QString ToStandardNote =
    "The current drawing on the isometric grid will be transposed on to the standard square grid.\r\rVertical lines "
    "from the isometric grid will become diagonal lines on the standard grid,\r\rsince Tessaran does not allow two "
    "nodes to appear at the same point on the grid.\r\rThe result is a view from a very high overhead position "
    "where the vertical pipes can still be seen.\r\rNote: The transformation does not produce an exact plan view "
    "(where the vertical lines would not be seen).\r";
const QString RenamePastedQuestion = "The names/ids of the pasted items were copied from the original "
                                     "items.\r\rDo you wish to auto update the item names to match the actual pipe "
                                     "and node ids?\r";

QString NothingSelected(const QString &command)
{
    return "Nothing to " + command +
           ". No items are selected. \r\rThe selection rectangle must enclose a node or other selectable item\r"
           "before the " +
           command + " function can be used.";
}

// Joints on grid points in rows of 100, selected or not; returns the ids.
std::vector<int> AddJoints(TNetwork &network, int count, bool selected)
{
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
        const int id = AddNodeAt(network, 40 + 40 * (i % 100), 40 + 40 * (i / 100));
        network.GetNode(id).Selected = selected;
        ids.push_back(id);
    }
    return ids;
}

class Clipboard : public DrawingTest {
protected:
    // Two joints joined by a pipe and a third one apart; a and b selected.
    void DrawAndSelectPair()
    {
        a = JointAt(ox, oy);
        b = JointAt(ox + 200, oy);
        c = JointAt(ox + 600, oy + 200);
        Pipe(a, b);
        form->ToolButtonSelectionClick();
        Drag(ox - 40, oy - 40, ox + 240, oy + 40);
        ASSERT_EQ(States().SelectionStatus, 2);
        ASSERT_TRUE(Net().GetNode(a).Selected);
        ASSERT_FALSE(Net().GetNode(c).Selected);
    }
    void ExpectInfo(const QString &text) { dialogs.Expect(TDialogKind::Information, text); }
    TNetwork &Clip() { return *form->ClipboardNetwork; }
    bool Pasted() const { return form->NetworkStates.SelectionPasted && form->NetworkStates.SelectionStatus == 2; }

    int a = 0, b = 0, c = 0;
};

TEST_F(Clipboard, CopyAndCutCountOnlyNodesAndFreeTexts)
{
    const int n1 = JointAt(ox, oy), n2 = JointAt(ox + 200, oy);
    const int p = Pipe(n1, n2);
    Net().GetPipe(p).Selected = true;
    States().SelectionStatus = 2;
    ExpectInfo(NothingSelected("Copy"));
    form->ToolButtonCopy->click();
    EXPECT_FALSE(form->CopyBufferFilled);
    EXPECT_EQ(Clip().GetPipeCount(), 0);
    ExpectInfo(NothingSelected("Cut"));
    form->Cut1Click();
    EXPECT_EQ(Pipes(), 1);

    // A free text alone is something to copy.
    const int text = Net().AddFreeText("Pump house", ox, oy + 200, 0, 8, {});
    Net().GetFreeText(text).Selected = true;
    form->Copy1Click();
    EXPECT_TRUE(form->CopyBufferFilled);
    EXPECT_EQ(Clip().FreeTextsCount, 1);
    EXPECT_EQ(Clip().GetNodeCount(), 0);
}

TEST_F(Clipboard, CutAsksThenMovesTheSelectionToTheClipboard)
{
    DrawAndSelectPair();
    const QString question = "Are you sure you wish to cut the selected Nodes \rand all pipes that connect to these "
                             "nodes?\r\rYou will not be able to undo this action, however \ryou will be able to "
                             "paste back the cut items.";
    ExpectQuestion(question, false);
    form->ToolButtonCut->click();
    EXPECT_EQ(Nodes(), 3);
    EXPECT_FALSE(form->CopyBufferFilled);

    // Something in the undo log that the cut must empty.
    form->ActionLog->AddSeparator();
    ExpectQuestion(question, true);
    form->Cut1Click();
    EXPECT_EQ(Nodes(), 1);
    EXPECT_EQ(Pipes(), 0);
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);
    EXPECT_EQ(States().SelectionStatus, 0);
    EXPECT_TRUE(form->CopyBufferFilled);
    EXPECT_EQ(Clip().GetNodeCount(), 2);
    EXPECT_EQ(Clip().GetPipeCount(), 1);
}

TEST_F(Clipboard, APasteLandsTenUnitsRightAndDownAsALockedSelection)
{
    DrawAndSelectPair();
    form->Copy1Click();
    ASSERT_TRUE(form->CopyBufferFilled);
    form->ToolButtonPaste->click();
    ASSERT_EQ(Nodes(), 5);
    EXPECT_EQ(Pipes(), 2);
    EXPECT_TRUE(Pasted());
    EXPECT_EQ(form->DrawingObject, DrawingSelection);
    // The originals were set down; the new pair is the selection.
    EXPECT_FALSE(Net().GetNode(a).Selected);
    int selected = 0;
    for (int id = Net().GetNextNodeId(0); id > 0; id = Net().GetNextNodeId(id))
        if (Net().GetNode(id).Selected) {
            ++selected;
            const int x = Net().GetNode(id).x, y = Net().GetNode(id).y;
            EXPECT_TRUE((x == ox + 10 || x == ox + 210) && y == oy + 10) << x << "," << y;
        }
    EXPECT_EQ(selected, 2);
    int x1, y1, x2, y2;
    Net().GetMinMaxXYSelection(x1, y1, x2, y2, false);
    EXPECT_EQ(States().SelectionStartX, x1);
    EXPECT_EQ(States().SelectionStartY, y1);
    EXPECT_EQ(States().SelectionEndX, x2);
    EXPECT_EQ(States().SelectionEndY, y2);
    for (QToolButton *button : {form->ToolButtonCut, form->ToolButtonCopy, form->ToolButtonPaste,
                                form->ToolButtonMirror, form->ToolButtonInvert, form->ToolButtonAdjustPipes,
                                form->ToolButtonAdjustNodes})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_FALSE(form->findChild<QMenu *>("Edit1")->menuAction()->isEnabled());
}

TEST_F(Clipboard, PasteRefusalsComeInOrderAndChangeNothing)
{
    // No clipboard yet: said before any question of drawing modes.
    Clip().IsometricDrawing = true;
    ExpectInfo("Nothing to Paste. No item has been selected. \r\rFirst use the selection tool to draw a rectangle "
               "around the selected items and then Cut or Copy the items to the clipboard.");
    form->Paste1Click();

    // A text box with the cursor in it comes first of all.
    form->CopyBufferFilled = true;
    auto *box = new QLineEdit(form->ScrollBox1);
    box->show();
    form->activateWindow();
    box->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() == box) {
        ExpectInfo("Cursor is currently active in a text box.\r\rPaste is not supported within text box areas on "
                   "this screen (for validation reasons).\r\rIf you are trying to Paste previously copied items to "
                   "the drawing then please click anywhere on the drawing first, in order to de-activate the "
                   "current text box.");
        form->Paste1Click();
    } else {
        ADD_FAILURE() << "the text box did not take the focus";
    }
    delete box;

    // The two drawing modes do not mix, either way round.
    Clip().IsometricDrawing = true;
    ExpectInfo(IsometricOntoStandard);
    form->Paste1Click();
    Clip().IsometricDrawing = false;
    Net().IsometricDrawing = true;
    ExpectInfo(StandardOntoIsometric);
    form->Paste1Click();
    Net().IsometricDrawing = false;

    // A selection already on the drawing that overlaps a node cannot be set down.
    const int n1 = JointAt(ox, oy);
    const int n2 = JointAt(ox, oy);
    Net().GetNode(n2).Selected = true;
    States().SelectionStatus = 2;
    ExpectInfo("Cannot paste current selection because the existing selected items need to\r\rbe de-selected and "
               "placed on the drawing at their current position, \r\rhowever either a node is currently placed on "
               "top of an existing node or \ra pipe from one of the nodes now crosses over another node.\r\rPlease "
               "move the current selection to an area where it can deselected\r\rwithout the above problem "
               "occuring.");
    form->Paste1Click();
    EXPECT_EQ(Nodes(), 2);
    EXPECT_FALSE(form->NetworkStates.SelectionPasted);
    (void)n1;
}

TEST_F(Clipboard, PasteBeyondTheCapacityReportsTheExcess)
{
    struct Case {
        const char *name;
        std::function<void(TNetwork &net, TNetwork &clip)> fill;
        QString text;
    };
    const auto grid = [](TNetwork &n, int side) {
        // side x side selected joints 80 apart, each joined to its right and lower neighbours.
        std::vector<int> ids;
        for (int r = 0; r < side; ++r)
            for (int k = 0; k < side; ++k) {
                ids.push_back(AddNodeAt(n, 80 + 80 * k, 80 + 80 * r));
                n.GetNode(ids.back()).Selected = true;
            }
        const auto at = [&](int r, int k) { return ids[static_cast<std::size_t>(r * side + k)]; };
        for (int r = 0; r < side; ++r)
            for (int k = 0; k < side; ++k) {
                if (k + 1 < side)
                    n.GetPipe(AddPipeBetween(n, at(r, k), at(r, k + 1))).Selected = true;
                if (r + 1 < side)
                    n.GetPipe(AddPipeBetween(n, at(r, k), at(r + 1, k))).Selected = true;
            }
    };
    const Case cases[] = {
        {"600 nodes into 500",
         [](TNetwork &net, TNetwork &clip) {
             AddJoints(net, 500, false);
             AddJoints(clip, 600, true);
         },
         "Problem: Cannot add on selection. \r\rToo many nodes to add to existing network.\rReduce number of nodes to "
         "add by at least 100.\r"},
        {"760 pipes into 760",
         [&](TNetwork &net, TNetwork &clip) {
             grid(net, 20);
             grid(clip, 20);
         },
         "Problem: Cannot add on selection. \r\rToo many pipes to add to existing network.\rReduce number of pipes to "
         "add by at least 520.\r"},
        {"600 texts into 401",
         [](TNetwork &net, TNetwork &clip) {
             for (int i = 0; i < 401; ++i)
                 net.AddFreeText("t", 40, 40 + 40 * i, 0, 8, {});
             for (int i = 0; i < 600; ++i)
                 clip.GetFreeText(clip.AddFreeText("t", 40, 40 + 40 * i, 0, 8, {})).Selected = true;
         },
         "Problem: Cannot add on selection. \r\rToo many text items to add to existing network.\rReduce number of "
         "text items to add by at least 1.\r"},
    };
    form->CopyBufferFilled = true;
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        Net().Clear();
        Clip().Clear();
        test.fill(Net(), Clip());
        // Different fluid zones too: the capacity is told first and nothing is asked.
        Clip().FluidZonesCount = 3;
        const int nodes = Nodes(), pipes = Pipes(), texts = Net().FreeTextsCount;
        ExpectInfo(test.text);
        form->Paste1Click();
        EXPECT_TRUE(dialogs.AllShown());
        EXPECT_EQ(Nodes(), nodes);
        EXPECT_EQ(Pipes(), pipes);
        EXPECT_EQ(Net().FreeTextsCount, texts);
        EXPECT_EQ(Net().FluidZonesCount, 1);
        EXPECT_FALSE(Pasted());
    }
}

TEST_F(Clipboard, FluidZonesAreAskedAboutBothWays)
{
    DrawAndSelectPair();
    form->Copy1Click();
    const QString clipboardHasMore =
        "Cannot paste current selection because the system where the selection came from has 3 fluid zones and the "
        "current system only has 1 fluid zones.\r\rDo you wish to copy and update all fluid zones in the current "
        "system and then proceed with the paste operation?";
    Clip().FluidZonesCount = 3;
    Clip().FluidZones[3].Color = 0x123456;
    ExpectQuestion(clipboardHasMore, false);
    form->Paste1Click();
    EXPECT_EQ(Nodes(), 3);
    EXPECT_EQ(Net().FluidZonesCount, 1);
    EXPECT_FALSE(Pasted());

    ExpectQuestion(clipboardHasMore, true);
    form->Paste1Click();
    EXPECT_EQ(Nodes(), 5);
    EXPECT_EQ(Net().FluidZonesCount, 3);
    EXPECT_EQ(Net().FluidZones[3].Color, 0x123456);
    EXPECT_TRUE(Pasted());

    // Now the drawing has more zones than the clipboard (the pasted pair set
    // down well apart from the originals first).
    for (int id = Net().GetNextNodeId(0); id > 0; id = Net().GetNextNodeId(id))
        if (Net().GetNode(id).Selected)
            Net().GetNode(id).y = oy + 400;
    Net().DeselectItems();
    Clip().FluidZonesCount = 2;
    ExpectQuestion("Current system has more fluid zones (3) than exist (2) in the system where the selection "
                   "occured.\r\rThe pipes will be copied with their existing fluid zone id and this will determine "
                   "their fluid zone in the current system (which may have different fluid proprties).\r\rProceed "
                   "with the paste operation?",
                   false);
    form->Paste1Click();
    EXPECT_EQ(Nodes(), 5);
}

TEST_F(Clipboard, TwoCopiedNodesPasteIntoTabTwo)
{
    // Drawn and selected with the mouse, copied from the menu, pasted with the tool button.
    form->ToolButtonJoint1Click();
    Click(ox, oy);
    Click(ox + 200, oy);
    form->ToolButtonSelectionClick();
    Drag(ox - 40, oy - 40, ox + 240, oy + 40);
    ASSERT_TRUE(form->Copy1->isEnabled());
    form->Copy1->trigger();
    ASSERT_TRUE(form->CopyBufferFilled);

    form->NewTab1Click();
    ASSERT_EQ(form->CurrentTabIndex, 2);
    ASSERT_EQ(Nodes(), 0);
    form->ToolButtonPaste->click();
    ASSERT_EQ(Nodes(), 2);
    ASSERT_TRUE(Pasted());
    ASSERT_DOUBLE_EQ(form->MetaFileScale, 1.0);

    // A press outside the pasted selection sets it down on the grid, asking about the names.
    ExpectQuestion(RenamePastedQuestion, false);
    Click(ox + 800, oy + 400);
    EXPECT_EQ(States().SelectionStatus, 0);
    EXPECT_FALSE(States().SelectionPasted);
    EXPECT_GT(Net().ExistsNodeWithSamePosition(ox, oy, 0), 0);
    EXPECT_GT(Net().ExistsNodeWithSamePosition(ox + 200, oy, 0), 0);
    EXPECT_EQ(form->Networks[1]->GetNodeCount(), 2);
}

TEST_F(Clipboard, APasteOutOfViewZoomsToFit)
{
    // Copied far from where the view stands.
    AddJoints(Clip(), 2, true);
    for (int id = Clip().GetNextNodeId(0); id > 0; id = Clip().GetNextNodeId(id))
        Clip().GetNode(id).x += 16000;
    form->CopyBufferFilled = true;
    const int offsetX = form->MetaFileOffsetX;
    ASSERT_LT(offsetX + form->ViewWidth(), 16000);
    form->Paste1Click();
    ASSERT_TRUE(Pasted());
    EXPECT_NE(form->MetaFileOffsetX, offsetX);
}

TEST_F(Clipboard, ConversionsClearTheUndoLogAndToStandardEmptiesTheClipboard)
{
    DrawAndSelectPair();
    form->Copy1Click();
    Click(ox + 900, oy + 400, Qt::RightButton);
    form->ToolButtonCursorArrowClick();
    form->ActionLog->AddSeparator();
    States().SystemUpdatedSinceLoad = false;
    const int scaleItem = form->ScaleComboBox1->currentIndex();

    ExpectInfo(ToIsometricNote);
    form->SetIsometricDrawingMode1->trigger();
    ASSERT_TRUE(Net().IsometricDrawing);
    EXPECT_GT(Net().IsometricXRadAng, 0);
    EXPECT_TRUE(form->SetIsometricDrawingMode1->isChecked());
    EXPECT_FALSE(form->SetStandardDrawingMode1->isChecked());
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), scaleItem);
    EXPECT_FALSE(States().SystemUpdatedSinceLoad);
    // Already isometric: nothing.
    form->SetIsometricDrawingMode1Click();

    ExpectInfo(StandardOntoIsometric);
    form->Paste1Click();
    EXPECT_EQ(Nodes(), 3);

    // Converted back to standard by the tool button, which marks the network changed.
    form->ActionLog->AddSeparator();
    ExpectInfo(ToStandardNote);
    form->ToolButtonIsometric->click();
    ASSERT_FALSE(Net().IsometricDrawing);
    EXPECT_TRUE(States().SystemUpdatedSinceLoad);
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);
    EXPECT_TRUE(form->SetStandardDrawingMode1->isChecked());
    EXPECT_EQ(Clip().GetNodeCount(), 0);
    EXPECT_TRUE(Clip().IsometricDrawing);
    EXPECT_TRUE(form->CopyBufferFilled);
    ExpectInfo(IsometricOntoStandard);
    form->Paste1Click();
    EXPECT_EQ(Nodes(), 3);

    // An empty drawing converts without a note.
    Net().Clear();
    form->SetIsometricDrawingMode1Click();
    EXPECT_TRUE(Net().IsometricDrawing);
}

TEST_F(Clipboard, TankViewChangesOnlyTheSignOfTheAngle)
{
    JointAt(ox, oy);
    ExpectInfo(ToIsometricNote);
    form->SetIsometricDrawingMode1Click();
    const double angle = Net().IsometricXRadAng;
    const int x = Net().GetNode(Net().GetNextNodeId(0)).x;
    ASSERT_GT(angle, 0);
    form->IsometricTankViewFromRight1->trigger();
    EXPECT_DOUBLE_EQ(Net().IsometricXRadAng, -angle);
    EXPECT_TRUE(form->IsometricTankViewFromRight1->isChecked());
    EXPECT_FALSE(form->IsometricTankViewFromLeft1->isChecked());
    form->IsometricTankViewFromRight1Click();
    EXPECT_DOUBLE_EQ(Net().IsometricXRadAng, -angle);
    form->IsometricTankViewFromLeft1->trigger();
    EXPECT_DOUBLE_EQ(Net().IsometricXRadAng, angle);
    EXPECT_TRUE(form->IsometricTankViewFromLeft1->isChecked());
    EXPECT_FALSE(form->IsometricTankViewFromRight1->isChecked());
    EXPECT_EQ(Net().GetNode(Net().GetNextNodeId(0)).x, x);

    // Leaving the isometric drawing from the right keeps the right-hand view's sign on the way.
    form->IsometricTankViewFromRight1Click();
    ExpectInfo(ToStandardNote);
    form->SetStandardDrawingMode1Click();
    EXPECT_FALSE(Net().IsometricDrawing);
    EXPECT_TRUE(form->IsometricTankViewFromRight1->isChecked());
}

TEST_F(Clipboard, SelectionTransformsNeedASelection)
{
    const int n1 = JointAt(ox, oy), n2 = JointAt(ox + 200, oy);
    Pipe(n1, n2);
    struct Case {
        QAction *action;
        QString text;
    };
    const Case cases[] = {
        {form->SelectionRotate90Degrees1, "Nothing to Rotate. No Items are selected. "},
        {form->SelectionRotate90Degrees2, "Nothing to Rotate. No Items are selected. "},
        {form->SelectionMirror1, "Nothing to Mirror. No Items are selected. "},
        {form->SelectionInvert1, "Nothing to Invert. No Items are selected. "},
    };
    for (const Case &test : cases) {
        ExpectInfo(test.text);
        // Straight to the handler: the menu item itself is disabled without a selection.
        emit test.action->triggered();
        EXPECT_EQ(Net().GetNode(n1).x, ox);
        EXPECT_EQ(Net().GetNode(n2).x, ox + 200);
    }
    ExpectInfo("Nothing to Mirror. No Items are selected. ");
    form->ToolButtonMirror->click();
    ExpectInfo("Nothing to Invert. No Items are selected. ");
    form->ToolButtonInvert->click();
}

TEST_F(Clipboard, SelectionTransformsMoveOnlyTheSelectionAndItsRectangle)
{
    DrawAndSelectPair();
    const int cx = Net().GetNode(c).x, cy = Net().GetNode(c).y;
    auto expectRectangleOnSelection = [&](const char *what) {
        int x1, y1, x2, y2;
        Net().GetMinMaxXYSelection(x1, y1, x2, y2, false);
        EXPECT_EQ(States().SelectionStartX, x1) << what;
        EXPECT_EQ(States().SelectionStartY, y1) << what;
        EXPECT_EQ(States().SelectionEndX, x2) << what;
        EXPECT_EQ(States().SelectionEndY, y2) << what;
        EXPECT_EQ(form->SelectionMoveStart.SelectionStartX, x1) << what;
        EXPECT_EQ(form->SelectionMoveStart.SelectionEndY, y2) << what;
        EXPECT_EQ(Net().GetNode(c).x, cx) << what;
        EXPECT_EQ(Net().GetNode(c).y, cy) << what;
    };

    form->SelectionMirror1Click();
    EXPECT_GT(Net().GetNode(a).x, Net().GetNode(b).x);
    EXPECT_EQ(Net().GetNode(a).y, Net().GetNode(b).y);
    expectRectangleOnSelection("mirror");

    form->SelectionRotate90Degrees1Click();
    EXPECT_EQ(Net().GetNode(a).x, Net().GetNode(b).x);
    EXPECT_NE(Net().GetNode(a).y, Net().GetNode(b).y);
    expectRectangleOnSelection("rotate");

    const int ay = Net().GetNode(a).y, by = Net().GetNode(b).y;
    form->SelectionInvert1Click();
    EXPECT_EQ(Net().GetNode(a).y > Net().GetNode(b).y, ay < by);
    expectRectangleOnSelection("invert");

    form->SelectionRotate90Degrees2Click();
    EXPECT_EQ(Net().GetNode(a).y, Net().GetNode(b).y);
    expectRectangleOnSelection("rotate back");
}

TEST_F(Clipboard, WholeDrawingMirrorAndInvertKeepTheUndoLogAndTheScale)
{
    const int n1 = JointAt(ox, oy), n2 = JointAt(ox + 200, oy + 80);
    Pipe(n1, n2);
    form->ActionLog->AddSeparator();
    const int logged = form->ActionLog->ActionIdCurrent;
    const int scaleItem = form->ScaleComboBox1->currentIndex();

    form->RotateMirror1->trigger();
    EXPECT_GT(Net().GetNode(n1).x, Net().GetNode(n2).x);
    EXPECT_LT(Net().GetNode(n1).y, Net().GetNode(n2).y);
    form->RotateInvert1->trigger();
    EXPECT_GT(Net().GetNode(n1).y, Net().GetNode(n2).y);
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, logged);
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), scaleItem);
    EXPECT_TRUE(Net().ExistsPipeLink(n1, n2));
}

} // namespace
} // namespace tessaran::test
