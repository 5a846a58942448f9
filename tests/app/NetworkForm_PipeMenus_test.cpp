// The item chooser, the pipe context menu, zoom to the selection and the
// import of background images.
#include "Drawing_Fixture.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>

namespace tessaran::test {
namespace {

using PipeMenus = DrawingTest;

TEST_F(PipeMenus, TheChooserLeavesOneItemOfThePipeOrNone)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);
    TPipe &pipe = Net().GetPipe(p);
    pipe.PumpCount = 1;
    pipe.ComponentPressureCount = 1;
    // The pump stands near the start of its pipe; the component beside it.
    pipe.ComponentPressurePositionPercentageAlongPipe = 4.5;
    form->ToolButtonCursorArrowClick();
    form->RefreshScreenImageOnly(true);
    ASSERT_TRUE(TNetworkForm::CheckXYMatch(pipe.Pump.x, pipe.Pump.y, pipe.ComponentPressurex,
                                           pipe.ComponentPressurey, 10));

    std::vector<QString> offered;
    QString choice = "ShowPump1";
    form->ExecPopupMenu = [&](QMenu &menu, const QPoint &) -> QAction * {
        EXPECT_EQ(menu.objectName(), "PopupMenu2");
        EXPECT_FALSE(form->NetworkImage->isEnabled());
        offered.clear();
        for (QAction *action : menu.actions())
            if (action->isEnabled())
                offered.push_back(action->objectName());
        QAction *chosen = choice.isEmpty() ? nullptr : menu.findChild<QAction *>(choice);
        if (!chosen)
            for (QAction *action : menu.actions())
                if (action->objectName() == choice)
                    chosen = action;
        if (chosen)
            chosen->trigger();
        return chosen;
    };
    Click(pipe.Pump.x, pipe.Pump.y);
    EXPECT_EQ(offered, (std::vector<QString>{"ShowComponent1", "ShowPump1"}));
    EXPECT_EQ(itemDialogs.Calls, std::vector<std::string>{"Pump " + std::to_string(p)});
    EXPECT_TRUE(form->NetworkImage->isEnabled());

    itemDialogs.Calls.clear();
    choice.clear();
    Click(pipe.Pump.x, pipe.Pump.y);
    EXPECT_TRUE(itemDialogs.Calls.empty());
    EXPECT_EQ(States().PumpPipeId, 0);
    EXPECT_EQ(States().ComponentPressurePipeId, 0);
}

TEST_F(PipeMenus, TheContextMenuOpensOnlyForTheHighlightedPipeInDesignMode)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);
    int menus = 0;
    form->ExecPopupMenu = [&](QMenu &menu, const QPoint &) -> QAction * {
        EXPECT_EQ(menu.objectName(), "PopupMenu1");
        ++menus;
        return nullptr;
    };
    auto rightClick = [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, At(ox + 200, oy), form->NetworkImage->mapToGlobal(At(ox + 200, oy)));
        QApplication::sendEvent(form->NetworkImage, &event);
    };
    rightClick();
    EXPECT_EQ(menus, 0);
    EXPECT_EQ(States().PipeIdClick1, p);
    States().CurrentPipeIdSelected = p;
    form->ResultsMode = true;
    rightClick();
    EXPECT_EQ(menus, 0);
    form->ResultsMode = false;
    rightClick();
    EXPECT_EQ(menus, 1);

    // Its own commands on the highlighted pipe.
    form->PreventBackflow1Click();
    EXPECT_TRUE(Net().GetPipe(p).PreventBackflow);
    AddValveOn(p, FCV);
    dialogs.Expect(TDialogKind::Information,
                   "Backflow is already prevented on pipes that contain a control valve (FCV,PRV,BPV).\r ");
    form->PreventBackflow1Click();
    EXPECT_TRUE(Net().GetPipe(p).PreventBackflow);
    form->ClosePipe1Click();
    EXPECT_TRUE(Net().IsPipeClosed(p));
    form->ClosePipe1Click();
    EXPECT_FALSE(Net().IsPipeClosed(p));
}

TEST_F(PipeMenus, ZoomToSelectionWithoutOneStepsUpToFourHundredPercent)
{
    for (int i = 0; i < 10; ++i)
        form->ToolButtonZoomSelectionClick();
    EXPECT_EQ(form->ScaleComboBox1->currentText(), "400%");
    EXPECT_DOUBLE_EQ(form->MetaFileScale, 4.0);
}

TEST_F(PipeMenus, ZoomToASmallSelectionShowsItAtFourHundredPercentAndDropsIt)
{
    const int a = JointAt(ox + 40, oy + 40);
    form->ToolButtonSelectionClick();
    Drag(ox, oy, ox + 100, oy + 80);
    ASSERT_TRUE(Net().GetNode(a).Selected);
    form->ToolButtonZoomSelectionClick();
    EXPECT_EQ(form->ScaleComboBox1->currentText(), "400%");
    EXPECT_EQ(form->MetaFileOffsetX, ox - 25);
    EXPECT_EQ(form->MetaFileOffsetY, oy - 25);
    EXPECT_EQ(States().SelectionStatus, 0);
    EXPECT_FALSE(Net().GetNode(a).Selected);
}

TEST_F(PipeMenus, ImportedImagesAreLimitedInNumberAndSize)
{
    auto picture = [&](const char *name, int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString path = folder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    };
    const QString wide = picture("wide.png", 4000, 1000), tall = picture("tall.png", 1000, 3000);
    const QString small = picture("small.png", 30, 20);

    dialogs.FileNames.push_back(wide);
    dialogs.Expect(TDialogKind::Information,
                   "Original image is too large at 4000 x 1000 pixels\r\rOn loading the master image will "
                   "automatically be \rscaled down to 2000 x 500 pixels\r\rNote: The image can then be positioned "
                   "and resized on the drawing as appropriate.\r");
    form->ImportImageClick();
    ASSERT_EQ(Net().BackgroundImagesCount, 1);
    EXPECT_EQ(Net().BackgroundImages[1].Bitmap->Width(), 2000);
    EXPECT_EQ(Net().BackgroundImages[1].ImageStretchHeight, 500);
    EXPECT_EQ(form->DrawingObject, DrawingDragNode);

    dialogs.FileNames.push_back(tall);
    dialogs.Expect(TDialogKind::Information,
                   "Original image is too large at 1000 x 3000 pixels\r\rOn loading the master image will "
                   "automatically be \rscaled down to 666 x 2000 pixels\r\rNote: The image can then be positioned "
                   "and resized on the drawing as appropriate.\r");
    form->ImportImageClick();
    EXPECT_EQ(Net().BackgroundImages[2].ImageStretchWidth, 666);
    EXPECT_EQ(Net().BackgroundImages[2].ImageStretchHeight, 2000);

    // A file that is no picture takes no slot.
    QFile broken(folder.filePath("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    dialogs.FileNames.push_back(broken.fileName());
    dialogs.Expect(TDialogKind::Information, "Image File cannot be loaded: Error occured.\r");
    form->ImportImageClick();
    EXPECT_EQ(Net().BackgroundImagesCount, 2);

    for (int i = 3; i <= 10; ++i) {
        dialogs.FileNames.push_back(small);
        form->ImportImageClick();
    }
    ASSERT_EQ(Net().BackgroundImagesCount, 10);
    dialogs.FileNames.push_back(small);
    dialogs.Expect(TDialogKind::Information,
                   "Max number of background images is 10\r\rNo further images can be imported.\r\r");
    form->ImportImageClick();
    EXPECT_EQ(Net().BackgroundImagesCount, 10);
}

} // namespace
} // namespace tessaran::test
