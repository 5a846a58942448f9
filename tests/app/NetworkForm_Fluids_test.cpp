// Fluid zones from the main window: creating, withdrawing, deleting and
// renumbering zones, their colours and flags, the zone box and the pipe
// menu's zone items.
#include "Drawing_Fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include <deque>
#include <optional>

namespace tessaran::test {
namespace {

// The fluid database answered by a script: a fluid taken, or none (cancel).
class TFluidDialogs : public TScriptedItemDialogs {
public:
    bool OpenFluidDataManager(TFluid &TheFluid, bool, bool) override
    {
        Calls.push_back("Fluids");
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected fluid dialog";
            return false;
        }
        const std::optional<TFluid> answer = Answers.front();
        Answers.pop_front();
        if (!answer)
            return false;
        TheFluid.CopyFluid(*answer);
        return true;
    }
    std::deque<std::optional<TFluid>> Answers;
};

TFluid NamedFluid(const std::string &name)
{
    TFluid fluid;
    fluid.name = name;
    return fluid;
}

const QString CreateQuestion =
    "Do you wish to create a new Fluid Zone within your pipe system?\r\rYou will need to select a fluid for the new "
    "fluid zone.\r\rYou will then need to select any pipes that are to be associated with the fluid in this "
    "zone.\r\rChoose Yes to proceed and Open up the Fluid Manager to select the fluid for the new fluid zone.\r";

class Fluids : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        form->ItemDialogs = &fluidDialogs;
    }
    // Zones 1..count named "Fluid 1".. with their pipes, one pipe per zone.
    void MakeZones(int count)
    {
        Net().FluidZonesCount = count;
        for (int zone = 1; zone <= count; ++zone) {
            Net().FluidZones[zone].Fluid.name = "Fluid " + std::to_string(zone);
            const int a = JointAt(ox + 200 * zone, oy), b = JointAt(ox + 200 * zone, oy + 120);
            Net().GetPipe(Pipe(a, b)).FluidZoneIndex = zone;
            pipeOfZone.push_back(Net().GetPipeCount());
        }
        form->RefillFluidZoneList();
    }
    int ZoneOfPipe(int pipeId) { return Net().GetPipe(pipeId).FluidZoneIndex; }
    void ChooseZoneInBox(int zone)
    {
        form->ComboBoxFluidZone->setCurrentIndex(zone - 1);
        emit form->ComboBoxFluidZone->activated(zone - 1);
    }

    TFluidDialogs fluidDialogs;
    std::vector<int> pipeOfZone{0};
};

TEST_F(Fluids, ACancelledFluidDialogWithdrawsOnlyAZoneBeingCreated)
{
    ExpectQuestion(CreateQuestion, true);
    fluidDialogs.Answers = {std::nullopt};
    form->CreateNewFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 1);
    EXPECT_EQ(Net().CurrentFluidZone, 1);
    EXPECT_EQ(form->ComboBoxFluidZone->count(), 1);
    EXPECT_FALSE(form->CreatingFluidZone);

    // A taken fluid keeps the zone; a later cancelled change keeps it too.
    ExpectQuestion(CreateQuestion, true);
    fluidDialogs.Answers = {NamedFluid("Brine"), std::nullopt, std::nullopt};
    form->CreateNewFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 2);
    EXPECT_EQ(Net().CurrentFluidZone, 2);
    EXPECT_EQ(Net().FluidZones[2].Fluid.name, "Brine");
    EXPECT_EQ(form->ComboBoxFluidZone->count(), 2);
    EXPECT_EQ(form->ComboBoxFluidZone->currentIndex(), 1);
    form->EditCurrentFluid1Click();
    form->ChangeFluid1Click();
    EXPECT_EQ(Net().FluidZonesCount, 2);
    EXPECT_EQ(Net().FluidZones[2].Fluid.name, "Brine");
    EXPECT_EQ(fluidDialogs.Calls.size(), 4u);

    // Answered No: no zone and no fluid dialog.
    ExpectQuestion(CreateQuestion, false);
    form->CreateNewFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 2);
    EXPECT_EQ(fluidDialogs.Calls.size(), 4u);
    EXPECT_TRUE(dialogs.AllShown());
}

TEST_F(Fluids, ANewZoneCanTakeTheHighlightedPipe)
{
    MakeZones(1);
    const int pipe = pipeOfZone[1];
    for (const bool yes : {true, false}) {
        States().CurrentPipeIdSelected = States().PipeIdClick1 = pipe;
        ExpectQuestion(CreateQuestion, true);
        ExpectQuestion("Do you wish to change the current highlighted pipe to use the new fluid zone?\r", yes);
        fluidDialogs.Answers = {NamedFluid("Oil")};
        form->CreateNewFluidZone1Click();
        EXPECT_TRUE(dialogs.AllShown());
        if (yes) {
            EXPECT_EQ(ZoneOfPipe(pipe), 2);
            EXPECT_EQ(States().CurrentPipeIdSelected, pipe);
            Net().GetPipe(pipe).FluidZoneIndex = 1;
        } else {
            EXPECT_EQ(ZoneOfPipe(pipe), 1);
            EXPECT_EQ(States().CurrentPipeIdSelected, 0);
            EXPECT_EQ(States().PipeIdClick1, 0);
            EXPECT_EQ(Net().CurrentFluidZone, 3);
        }
    }
}

TEST_F(Fluids, TheFluidButtonOffersTheZoneCommandsAndATakenGasMakesVolumeDemandsGasFlows)
{
    const int a = JointAt(ox, oy + 600), b = JointAt(ox + 200, oy + 600);
    Net().GetPipe(Pipe(a, b)).FluidZoneIndex = 2;
    Net().GetNode(a).JointDemandUseFlowType = VolumeFlow;
    Net().FluidZonesCount = 2;
    Net().CurrentFluidZone = 2;
    States().SystemUpdatedSinceLoad = false;

    QStringList offered;
    form->ExecPopupMenu = [&](QMenu &menu, const QPoint &) -> QAction * {
        EXPECT_EQ(menu.objectName(), "PopupMenuFluids");
        for (QAction *action : menu.actions())
            if (!action->isSeparator())
                offered << action->text();
        QAction *chosen = menu.findChild<QAction *>("EditCurrentFluid1");
        chosen->trigger();
        return chosen;
    };
    TFluid air;
    air.SetToAir();
    fluidDialogs.Answers = {air};
    QTest::mouseClick(form->BitBtnFluid, Qt::LeftButton);
    EXPECT_EQ(offered, QStringList({"Change Fluid", "Create New Fluid Zone", "Delete Current Fluid Zone",
                                    "Change Color for this Fluid Zone", "Select / Add Pipes to this Fluid Zone",
                                    "On / Off  Show Colors for Fluid Zones", "Reset Fluid Zones to Default Colors",
                                    "Close"}));
    EXPECT_TRUE(States().SystemUpdatedSinceLoad);
    EXPECT_TRUE(Net().FluidZones[2].Fluid.FluidIsGas);
    EXPECT_EQ(Net().GetNode(a).JointDemandUseFlowType, GasFlow);
    EXPECT_EQ(form->EditFluid->text().toStdString(), Net().FluidZones[2].Fluid.name);

    // The main menu's "Fluid" holds the same commands but "Close".
    QMenu *fluid = form->findChild<QMenu *>("Fluid1");
    ASSERT_NE(fluid, nullptr);
    EXPECT_EQ(fluid->title(), "Fluid");
    QStringList commands;
    for (QAction *action : fluid->actions())
        commands << action->text();
    offered.removeLast();
    EXPECT_EQ(commands, offered);
}

TEST_F(Fluids, DeletingAZoneMovesItsPipesToZoneOneAndRenumbersTheLaterZones)
{
    MakeZones(4);
    Net().FluidZones[4].Color = 0x112233;
    Net().CurrentFluidZone = 3;
    ExpectQuestion("Please confirm that you wish to delete Fluid Zone 3\r\rAll pipes in the deleted fluid zone will be "
                   "updated to be use the fluid from Fluid Zone 1.\r\rAll remaining Fluid Zones will be renumbered "
                   "starting from Fluid Zone 1\r\rChoose Yes to proceed or No to cancel.\r",
                   true);
    form->DeleteCurrentFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 3);
    EXPECT_EQ(Net().CurrentFluidZone, 1);
    EXPECT_EQ(ZoneOfPipe(pipeOfZone[1]), 1);
    EXPECT_EQ(ZoneOfPipe(pipeOfZone[2]), 2);
    EXPECT_EQ(ZoneOfPipe(pipeOfZone[3]), 1);
    EXPECT_EQ(ZoneOfPipe(pipeOfZone[4]), 3);
    EXPECT_EQ(Net().FluidZones[3].Fluid.name, "Fluid 4");
    EXPECT_EQ(Net().FluidZones[3].Color, 0x112233u);
    EXPECT_EQ(form->ComboBoxFluidZone->count(), 3);

    // No keeps everything; zone 1 is never deleted.
    Net().CurrentFluidZone = 2;
    ExpectQuestion("Please confirm that you wish to delete Fluid Zone 2\r\rAll pipes in the deleted fluid zone will be "
                   "updated to be use the fluid from Fluid Zone 1.\r\rAll remaining Fluid Zones will be renumbered "
                   "starting from Fluid Zone 1\r\rChoose Yes to proceed or No to cancel.\r",
                   false);
    form->DeleteCurrentFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 3);
    EXPECT_EQ(ZoneOfPipe(pipeOfZone[2]), 2);
    Net().CurrentFluidZone = 1;
    dialogs.Expect(TDialogKind::Information,
                   "Fluid Zone 1 cannot be deleted since it is always the default zone.\r\r ");
    form->DeleteCurrentFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 3);
    EXPECT_TRUE(dialogs.AllShown());
}

TEST_F(Fluids, RefusalsLeaveTheZonesAsTheyWere)
{
    // The 21st zone, before any question.
    Net().FluidZonesCount = 20;
    dialogs.Expect(TDialogKind::Information, "A maximum of 20 Fluid Zones are allowed.\r\r ");
    form->CreateNewFluidZone1Click();
    EXPECT_EQ(Net().FluidZonesCount, 20);
    EXPECT_TRUE(fluidDialogs.Calls.empty());

    // Results mode refuses each change of zones.
    Net().FluidZonesCount = 3;
    Net().CurrentFluidZone = 2;
    form->ResultsMode = true;
    const struct {
        void (TNetworkForm::*Command)();
        const char *Text;
    } refusals[] = {
        {&TNetworkForm::ChangeFluid1Click, "Fluid Data cannot be changed in results mode."},
        {&TNetworkForm::CreateNewFluidZone1Click, "New Fluid Zones cannot be created in results mode."},
        {&TNetworkForm::DeleteCurrentFluidZone1Click, "Fluid Zones cannot be deleted in results mode."},
        {&TNetworkForm::SelectAddPipestothisFluidZone1Click, "Pipe Fluid Zones cannot be changed in results mode."},
    };
    for (const auto &r : refusals) {
        dialogs.Expect(TDialogKind::Information, r.Text);
        (form.get()->*r.Command)();
        EXPECT_TRUE(dialogs.AllShown()) << r.Text;
        EXPECT_EQ(Net().FluidZonesCount, 3);
        EXPECT_EQ(Net().CurrentFluidZone, 2);
    }
    EXPECT_TRUE(fluidDialogs.Calls.empty());
    form->ResultsMode = false;

    // With one zone there is nothing to assign; zone 1 keeps its colour.
    Net().FluidZonesCount = 1;
    Net().CurrentFluidZone = 1;
    dialogs.Expect(TDialogKind::Information,
                   "Only the default Fluid Zones exists.\r\rAll pipes are already associated with default fluid zone.\r");
    form->SelectAddPipestothisFluidZone1Click();
    EXPECT_NE(form->DrawingObject, DrawingFluidZone);
    dialogs.Expect(TDialogKind::Information,
                   "The color of Fluid Zone 1 cannot be changed.\r\rFluid Zone 1 is the default zone and pipes in this "
                   "zone are not background highlighted.\r\r ");
    form->ChangeColorforthisFluid1Click();
    EXPECT_TRUE(dialogs.AllShown());
    EXPECT_TRUE(dialogs.ColourDialogsInitial.empty());
}

TEST_F(Fluids, ShowColoursTwiceRestoresEveryFlagAndResetGivesTheDefaultColours)
{
    bool before[21] = {};
    for (int zone = 1; zone <= 20; ++zone) {
        before[zone] = zone % 3 != 0;
        Net().FluidZones[zone].ShowColor = before[zone];
    }
    form->OnOffShowColorforthisFluidZone1Click();
    for (int zone = 1; zone <= 20; ++zone)
        EXPECT_EQ(Net().FluidZones[zone].ShowColor, !before[zone]) << zone;
    form->OnOffShowColorforthisFluidZone1Click();
    for (int zone = 1; zone <= 20; ++zone)
        EXPECT_EQ(Net().FluidZones[zone].ShowColor, before[zone]) << zone;

    // Red, green, blue of zones 1 to 20.
    const int rgb[21][3] = {{0, 0, 0},       {255, 255, 255}, {255, 192, 192}, {208, 160, 160}, {255, 169, 111},
                            {230, 230, 192}, {192, 255, 192}, {192, 255, 255}, {192, 224, 255}, {255, 192, 255},
                            {192, 192, 255}, {201, 201, 201}, {255, 64, 64},   {192, 96, 96},   {255, 128, 64},
                            {192, 192, 0},   {128, 255, 128}, {128, 255, 255}, {96, 208, 255},  {255, 128, 255},
                            {128, 128, 255}};
    for (int zone = 1; zone <= 20; ++zone)
        Net().FluidZones[zone].Color = 0x010203;
    form->ResetFluidZonestoDefaultColors1Click();
    for (int zone = 1; zone <= 20; ++zone)
        EXPECT_EQ(Net().FluidZones[zone].Color,
                  static_cast<TColor>(rgb[zone][0] | rgb[zone][1] << 8 | rgb[zone][2] << 16))
            << zone;

    // A zone's own colour: a cancelled dialog keeps it.
    Net().FluidZonesCount = 2;
    Net().CurrentFluidZone = 2;
    dialogs.Colours = {std::nullopt, QColor(1, 2, 3)};
    form->ChangeColorforthisFluid1Click();
    EXPECT_EQ(Net().FluidZones[2].Color, 0xC0C0FFu);
    form->ChangeColorforthisFluid1Click();
    EXPECT_EQ(Net().FluidZones[2].Color, 0x030201u);
    EXPECT_EQ(dialogs.ColourDialogsInitial.front(), QColor(255, 192, 192));
    EXPECT_EQ(form->ComboBoxFluidZone->palette().color(QPalette::Button), QColor(1, 2, 3));
}

TEST_F(Fluids, ChoosingAZoneInTheBoxAsksToMoveTheHighlightedPipe)
{
    MakeZones(3);
    const int pipe = pipeOfZone[2];
    const struct {
        bool ResultsMode;
        std::optional<bool> Answer;
        int PipeZone;
        int Selected;
        int Click1;
    } cases[] = {{false, false, 2, 0, 0}, {false, true, 3, pipe, pipe}, {true, std::nullopt, 2, 0, pipe}};
    for (const auto &c : cases) {
        Net().GetPipe(pipe).FluidZoneIndex = 2;
        form->ResultsMode = c.ResultsMode;
        States().CurrentPipeIdSelected = States().PipeIdClick1 = States().PipeIdClick2 = pipe;
        if (c.Answer)
            ExpectQuestion("Do you wish to change the current highlighted pipe to use this fluid zone?\r", *c.Answer);
        ChooseZoneInBox(3);
        EXPECT_TRUE(dialogs.AllShown());
        EXPECT_EQ(ZoneOfPipe(pipe), c.PipeZone);
        EXPECT_EQ(States().CurrentPipeIdSelected, c.Selected);
        EXPECT_EQ(States().PipeIdClick1, c.Click1);
        EXPECT_EQ(Net().CurrentFluidZone, 3);
        EXPECT_EQ(form->ComboBoxFluidZone->currentIndex(), 2);
    }
    form->ResultsMode = false;

    // Without a highlighted pipe the box only makes the zone current.
    ChooseZoneInBox(2);
    EXPECT_EQ(Net().CurrentFluidZone, 2);
    // A highlighted pipe shows its own zone.
    States().CurrentPipeIdSelected = pipeOfZone[1];
    form->UpdateFluidDisplay(true);
    EXPECT_EQ(Net().CurrentFluidZone, 1);
    EXPECT_EQ(form->ComboBoxFluidZone->currentIndex(), 0);
}

TEST_F(Fluids, ThePipeMenuListsTheZonesInUseAndMovesTheHighlightedPipe)
{
    MakeZones(3);
    Net().FluidZones[2].Fluid.name = "Brine";
    QMenu *menu = form->PopupMenu1->findChild<QMenu *>("ChangeFluidZone1");
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList shown;
    for (QAction *action : menu->actions())
        if (action->isVisible())
            shown << action->objectName();
    EXPECT_EQ(shown, QStringList({"FluidZone1", "FluidZone2", "FluidZone3"}));
    const QString text = menu->findChild<QAction *>("FluidZone2")->text();
    EXPECT_TRUE(text.startsWith("Zone 2: Brine [")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("]")) << text.toStdString();
    EXPECT_TRUE(text.contains(" at ")) << text.toStdString();

    const int pipe = pipeOfZone[1];
    States().CurrentPipeIdSelected = pipe;
    menu->findChild<QAction *>("FluidZone3")->trigger();
    EXPECT_EQ(ZoneOfPipe(pipe), 3);
    EXPECT_EQ(Net().CurrentFluidZone, 3);
}

TEST_F(Fluids, TheRectangleToolPutsThePipesInsideItIntoTheCurrentZone)
{
    MakeZones(2);
    Net().CurrentFluidZone = 2;
    const int a = JointAt(ox, oy + 400), b = JointAt(ox + 120, oy + 400), c = JointAt(ox + 600, oy + 400);
    const int inside = Pipe(a, b), across = Pipe(b, c);
    States().CurrentPipeIdSelected = States().PipeIdClick1 = inside;
    form->SelectAddPipestothisFluidZone1Click();
    EXPECT_EQ(form->DrawingObject, DrawingFluidZone);
    EXPECT_EQ(States().CurrentPipeIdSelected, 0);
    EXPECT_EQ(States().PipeIdClick1, 0);
    EXPECT_FALSE(form->Cut1->isEnabled());
    EXPECT_FALSE(form->ToolButtonTank1->isEnabled());

    Drag(ox - 40, oy + 360, ox + 160, oy + 440);
    EXPECT_EQ(ZoneOfPipe(inside), 2);
    EXPECT_EQ(ZoneOfPipe(across), 1);
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);
    EXPECT_TRUE(form->ToolButtonTank1->isEnabled());
}

TEST_F(Fluids, TheInformationPanelShowsTheFluidOfTheChosenZoneWhileTheMouseIsOverTheBox)
{
    MakeZones(2);
    Net().FluidZones[2].Fluid.name = "Brine";
    Net().FluidZones[2].Color = 0x6FA9FF;
    Net().CurrentFluidZone = 2;
    form->UpdateFluidDisplay(false);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(form->ComboBoxFluidZone, &enter);
    EXPECT_TRUE(form->PanelResultInfo->isVisible());
    EXPECT_EQ(form->LabelInfoTitle->text(), "  Fluid Data");
    EXPECT_TRUE(form->LabelInfo1->text().startsWith("Name:Brine\n")) << form->LabelInfo1->text().toStdString();
    EXPECT_EQ(form->PanelResultInfo->palette().color(QPalette::Window), QColor(255, 169, 111));
    EXPECT_EQ(form->PanelResultInfo->height(), form->LabelInfo1->height() + 20);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form->ComboBoxFluidZone, &leave);
    EXPECT_FALSE(form->PanelResultInfo->isVisible());

    // The box's entries are drawn in their zone's colour; keys choose nothing.
    QImage entry(300, 18, QImage::Format_RGB32);
    entry.fill(Qt::white);
    {
        QPainter painter(&entry);
        form->ComboBoxFluidZoneDrawItem(painter, 1, entry.rect());
    }
    EXPECT_EQ(QColor(entry.pixel(250, 16)), QColor(255, 169, 111));
    bool black = false;
    for (int x = 0; x < 100 && !black; ++x)
        for (int y = 0; y < 18 && !black; ++y)
            black = qGray(entry.pixel(x, y)) < 80;
    EXPECT_TRUE(black) << "the zone text is written";
    QTest::keyClick(form->ComboBoxFluidZone, Qt::Key_Up);
    EXPECT_EQ(Net().CurrentFluidZone, 2);
    EXPECT_EQ(form->ComboBoxFluidZone->currentIndex(), 1);
}

} // namespace
} // namespace tessaran::test
