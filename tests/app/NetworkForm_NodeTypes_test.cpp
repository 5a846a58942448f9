// The node icon chooser: its opening size, the crowding refusal of a larger
// size, the styles each node type offers and the liquid colour.
#include "Drawing_Fixture.h"

#include "drawing/MetaFileDrawing_Class.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

namespace tessaran::test {
namespace {

class NodeTypes : public DrawingTest {
protected:
    int SelectedNode(TNodeType type, int x, int y)
    {
        const int id = AddNodeAt(Net(), x, y, type);
        States().CurrentNodeIdSelected = id;
        return id;
    }
    void ChooseSize(const QString &size)
    {
        const int entry = form->ComboBoxIconSize->findText(size);
        ASSERT_GE(entry, 0);
        form->ComboBoxIconSize->setCurrentIndex(entry);
        emit form->ComboBoxIconSize->activated(entry);
    }
    // Entries of the list in which a symbol was drawn: any pixel differs
    // from the entry's background.
    int DrawnEntries()
    {
        int drawn = 0;
        for (int entry = 0; entry < form->ListBoxNodeTypes->count(); ++entry) {
            QImage image(88, 40, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                form->ListBoxNodeTypesDrawItem(painter, entry, image.rect());
            }
            const QRgb background = image.pixel(1, 1);
            bool marked = false;
            for (int y = 0; y < image.height() && !marked; ++y)
                for (int x = 0; x < image.width() && !marked; ++x)
                    marked = image.pixel(x, y) != background;
            drawn += marked;
        }
        return drawn;
    }
};

TEST_F(NodeTypes, TheChooserOpensOnTheSizeEntryOfTheNodesScale)
{
    const struct {
        double Scale;
        const char *Entry;
    } cases[] = {{1.0, "100%"}, {1.2, "150%"}, {1.5, "150%"}, {2.2, "250%"}, {3.5, "400%"}, {4.0, "400%"},
                 {5.0, "100%"}};
    const int id = SelectedNode(Tank, ox, oy);
    for (const auto &c : cases) {
        Net().GetNode(id).NodeScale = c.Scale;
        form->ButtonTankTypeClick();
        EXPECT_EQ(form->ComboBoxIconSize->currentText().toStdString(), c.Entry) << c.Scale;
        EXPECT_EQ(form->ListBoxNodeTypes->count(), 10);
        EXPECT_TRUE(form->PanelTankTypes->isVisible());
    }
    // Opening looks only: the scale is kept.
    EXPECT_DOUBLE_EQ(Net().GetNode(id).NodeScale, 5.0);
}

TEST_F(NodeTypes, ALargerSizeIsRefusedWhenANeighbourIsWithinOneAndAHalfGrids)
{
    form->MetaFileDrawing->MetaFileDrawing_XGridSpacing = 20;
    form->MetaFileDrawing->MetaFileDrawing_YGridSpacing = 20;
    const int id = SelectedNode(EndPressure, ox, oy);
    const int neighbour = AddNodeAt(Net(), ox + 20, oy);
    TNode &node = Net().GetNode(id);
    node.NodeScale = 1.2;
    node.labelRelativex = 15;
    node.labelRelativey = -7;
    form->ButtonTankTypeClick();

    dialogs.Expect(TDialogKind::Information,
                   "Node cannot be scaled up to this size since it may cover or interfere with an existing node on "
                   "the drawing:\r\rPlease reposition this node before scaling up so that there is room to draw it "
                   "at the larger scale.\r");
    ChooseSize("400%");
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_DOUBLE_EQ(node.NodeScale, 1.2);
    EXPECT_EQ(node.labelRelativex, 15);
    EXPECT_EQ(node.labelRelativey, -7);
    EXPECT_EQ(form->ComboBoxIconSize->currentText(), "150%");

    // 100 % crowds nothing, whatever the neighbours: the label goes back
    // to its default place, which the redraw puts in.
    ChooseSize("100%");
    EXPECT_DOUBLE_EQ(node.NodeScale, 1.0);
    EXPECT_FALSE(node.labelRelativex == 15 && node.labelRelativey == -7);

    // A neighbour 30 units away is outside Trunc(1.5 x 20).
    Net().GetNode(neighbour).x = ox + 30;
    ChooseSize("400%");
    EXPECT_DOUBLE_EQ(node.NodeScale, 4.0);
    ChooseSize("250%");
    EXPECT_DOUBLE_EQ(node.NodeScale, 2.5);
    EXPECT_EQ(BoxesShown(), 3); // the two start-up boxes and the refusal
}

TEST_F(NodeTypes, EachNodeTypeListsItsOwnStylesAndEmptyEntriesCannotBeChosen)
{
    const struct {
        TNodeType Type;
        int Styles;
        bool ColourButton;
    } cases[] = {{Tank, 10, true}, {EndPressure, 9, false}, {Joint, 6, false}};
    int x = ox;
    for (const auto &c : cases) {
        const int id = SelectedNode(c.Type, x, oy);
        x += 200;
        form->ButtonTankTypeClick();
        EXPECT_EQ(DrawnEntries(), c.Styles) << c.Type;
        EXPECT_EQ(form->BitBtnNodeLiquidColor->isVisible(), c.ColourButton) << c.Type;

        form->ListBoxNodeTypesClick(c.Styles - 1);
        EXPECT_EQ(Net().GetNode(id).NodeImageIndex, c.Styles - 1);
        if (c.Styles < 10) {
            form->ListBoxNodeTypesClick(c.Styles);
            EXPECT_EQ(Net().GetNode(id).NodeImageIndex, c.Styles - 1) << "an empty entry chose no style";
        }
    }
    // No node selected: the chooser closes and draws nothing.
    States().CurrentNodeIdSelected = 0;
    EXPECT_EQ(DrawnEntries(), 0);
    EXPECT_FALSE(form->PanelTankTypes->isVisible());
}

TEST_F(NodeTypes, TheLiquidColourDialogStartsOnTheZoneColourAndItsCancelChangesNothing)
{
    const int id = SelectedNode(Tank, ox, oy);
    TNode &tank = Net().GetNode(id);
    tank.LiquidColor = 0x123456;
    form->ButtonTankTypeClick();

    dialogs.Colours = {std::nullopt, QColor(10, 20, 30)};
    QTest::mouseClick(form->BitBtnNodeLiquidColor, Qt::LeftButton);
    EXPECT_EQ(tank.LiquidColor, 0x123456u) << "a cancelled dialog keeps the colour";
    QTest::mouseClick(form->BitBtnNodeLiquidColor, Qt::LeftButton);
    EXPECT_EQ(tank.LiquidColor, 0x1E140Au);
    ASSERT_EQ(dialogs.ColourDialogsInitial.size(), 2u);
    EXPECT_EQ(dialogs.ColourDialogsInitial[0], QColor(0x00, 0x80, 0xFF)); // $FF8000 in zone 1

    Net().FluidZonesCount = 2;
    Net().CurrentFluidZone = 2;
    Net().FluidZones[2].Color = 0x6FA9FF;
    dialogs.Colours = {std::nullopt};
    QTest::mouseClick(form->BitBtnNodeLiquidColor, Qt::LeftButton);
    EXPECT_EQ(dialogs.ColourDialogsInitial.back(), QColor(255, 169, 111));
    EXPECT_EQ(tank.LiquidColor, 0x1E140Au);

    QTest::mouseClick(form->BitBtnSavePumpIcon, Qt::LeftButton);
    EXPECT_FALSE(form->PanelTankTypes->isVisible());
}

TEST_F(NodeTypes, AnOpenChooserFollowsTheNodeClickedOnTheDrawing)
{
    const int first = SelectedNode(Tank, ox, oy);
    const int second = AddNodeAt(Net(), ox + 400, oy, EndPressure);
    Net().GetNode(second).NodeScale = 2.0;
    form->ToolButtonCursorArrowClick();
    States().CurrentNodeIdSelected = first;
    form->ButtonTankTypeClick();
    ASSERT_EQ(form->ComboBoxIconSize->currentText(), "100%");

    Click(ox + 400, oy);
    ASSERT_EQ(States().CurrentNodeIdSelected, second);
    EXPECT_TRUE(form->PanelTankTypes->isVisible());
    EXPECT_EQ(form->ComboBoxIconSize->currentText(), "200%");
    EXPECT_EQ(DrawnEntries(), 9);
}

} // namespace
} // namespace tessaran::test
