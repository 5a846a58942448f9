// A network drawn with the mouse, its data typed into the side panel, a
// second fluid zone given to its pipe by the zone rectangle, calculated from
// the button, saved and opened again.
#include "Drawing_Fixture.h"

#include "app/Results_Log_Form.h"
#include "platform/Stream.h"
#include "units/widgets/RightEdit.h"

#include <QComboBox>
#include <QPushButton>

#include <deque>

namespace tessaran::test {
namespace {

// The fluid database answering with one fluid per question.
class TFluidAnswers : public TScriptedItemDialogs {
public:
    bool OpenFluidDataManager(TFluid &TheFluid, bool, bool) override
    {
        Calls.push_back("Fluids");
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected fluid dialog";
            return false;
        }
        TheFluid.CopyFluid(Answers.front());
        Answers.pop_front();
        return true;
    }
    std::deque<TFluid> Answers;
};

class PanelsEndToEnd : public DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        form->ItemDialogs = &fluidAnswers;
        form->ResultsLogForm->ModalRunner = [this](TResultsLogForm &log) {
            ++LogsShown;
            QTest::mouseClick(log.ButtonOk->isVisibleTo(&log) ? log.ButtonOk : log.BitBtnViewDrawing,
                              Qt::LeftButton);
        };
    }
    static void Type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    void ExpectNoSizeTables()
    {
        dialogs.Expect(TDialogKind::Warning,
                       "Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                       "start up.\r\rUser needs full read/write permission to the file:\r" +
                           folder.path() +
                           "/PipeTables/PipeNominalSizeSet.trns\r\rPlease correct this issue and restart the "
                           "software.\r\rCalculations will run WITHOUT automatic fitting updates.\r");
    }

    TFluidAnswers fluidAnswers;
    int LogsShown = 0;
};

TEST_F(PanelsEndToEnd, TypedValuesAndAZoneGivenByRectangleSurviveCalculateSaveAndReopen)
{
    // Two tanks and a pipe from the higher to the lower, all with the mouse.
    DrawTwoTanksAndAPipe();
    ASSERT_EQ(Nodes(), 2);
    ASSERT_EQ(Pipes(), 1);
    const int high = Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0);
    const int low = Net().ExistsNodeWithSamePosition(ox + 600, oy + 400, 0);
    const int pipe = Net().GetNextPipeId(0);
    ASSERT_GT(high, 0);
    ASSERT_GT(low, 0);

    // Level and elevation typed into the node panel of each clicked tank.
    Net().ConfigOptions.UnitOfLiquidLevel = unt_m;
    Net().ConfigOptions.UnitOfElevation = unt_m;
    form->ToolButtonCursorArrowClick();
    const std::pair<int, std::pair<const char *, const char *>> typed[] = {{high, {"2.5", "30"}},
                                                                           {low, {"1.25", "10"}}};
    for (const auto &[node, values] : typed) {
        const TNode &shown = Net().GetNode(node);
        Click(shown.x, shown.y);
        ASSERT_EQ(States().CurrentNodeIdSelected, node);
        ASSERT_TRUE(form->RightEditLiquidLevel->isEnabled());
        Type(form->RightEditLiquidLevel, values.first);
        Type(form->RightEditTankElevation, values.second);
    }
    EXPECT_DOUBLE_EQ(Net().GetNode(high).LiquidLevel_m, 2.5);
    EXPECT_DOUBLE_EQ(Net().GetNode(high).Elevation_m, 30.0);
    EXPECT_DOUBLE_EQ(Net().GetNode(low).LiquidLevel_m, 1.25);
    EXPECT_DOUBLE_EQ(Net().GetNode(low).Elevation_m, 10.0);

    // Zone 2 with a fluid of its own, then the pipe put into it by the rectangle.
    TFluid brine = Net().FluidZones[1].Fluid;
    brine.name = "Brine";
    brine.density_kgs_m3 = 1200;
    fluidAnswers.Answers = {brine};
    ExpectQuestion("Do you wish to create a new Fluid Zone within your pipe system?\r\rYou will need to select a "
                   "fluid for the new fluid zone.\r\rYou will then need to select any pipes that are to be "
                   "associated with the fluid in this zone.\r\rChoose Yes to proceed and Open up the Fluid Manager "
                   "to select the fluid for the new fluid zone.\r",
                   true);
    // The pipe drawn last is still highlighted: not this way, by the rectangle.
    ExpectQuestion("Do you wish to change the current highlighted pipe to use the new fluid zone?\r", false);
    form->CreateNewFluidZone1Click();
    ASSERT_TRUE(dialogs.AllShown());
    ASSERT_EQ(Net().FluidZonesCount, 2);
    ASSERT_EQ(Net().CurrentFluidZone, 2);
    EXPECT_EQ(Net().GetPipe(pipe).FluidZoneIndex, 1);
    // The low tank, clicked last, is still highlighted: the rectangle's
    // press must not make its zone the current one.
    ASSERT_EQ(States().CurrentNodeIdSelected, low);
    form->SelectAddPipestothisFluidZone1Click();
    Drag(ox + 150, oy + 150, ox + 650, oy + 450);
    EXPECT_EQ(Net().CurrentFluidZone, 2);
    EXPECT_EQ(Net().GetPipe(pipe).FluidZoneIndex, 2);

    // CALCULATE from its button: the drawn pipe is shorter than the fall
    // between the tanks and takes the fall as its length; the high tank
    // feeds the low one.
    bool lengthsOk = true;
    std::string shortPipe;
    int shortId = 0, link = 0;
    Net().IsNetworkOkForPipeLengths(1, lengthsOk, shortPipe, shortId, link);
    ASSERT_FALSE(lengthsOk);
    ExpectNoSizeTables();
    ExpectQuestion(QString::fromStdString(shortPipe) +
                       "\r\rAutomatically update pipe length to difference in start and end elevation?\r\r(choose "
                       "'Cancel' to stop further checks of pipe length)\r\r",
                   true);
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    ASSERT_TRUE(dialogs.AllShown());
    EXPECT_EQ(LogsShown, 1);
    ASSERT_TRUE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "RE-DESIGN");
    EXPECT_GT(Net().GetPipe(pipe).FlowUncompressed_m3s, 0.001);
    EXPECT_DOUBLE_EQ(Net().GetPipe(pipe).Length_m, 20.0);

    // Saved and opened again: the typed values and the zone with its fluid.
    const std::string path = folder.filePath("drawn.trn").toStdString();
    {
        TMemoryStream stream;
        Net().Save(stream);
        stream.SaveToFile(path);
    }
    ExpectQuestion("Open New Grid on a New Tab?\r\r", false);
    ExpectQuestion("Set grid display for Isometric Drawing?\r", false);
    form->FileNewClick();
    ASSERT_EQ(Nodes(), 0);
    form->LoadFileName(path);
    ASSERT_TRUE(dialogs.AllShown());
    ASSERT_EQ(Nodes(), 2);
    ASSERT_EQ(Pipes(), 1);
    EXPECT_DOUBLE_EQ(Net().GetNode(high).LiquidLevel_m, 2.5);
    EXPECT_DOUBLE_EQ(Net().GetNode(high).Elevation_m, 30.0);
    EXPECT_DOUBLE_EQ(Net().GetNode(low).LiquidLevel_m, 1.25);
    EXPECT_DOUBLE_EQ(Net().GetNode(low).Elevation_m, 10.0);
    EXPECT_EQ(Net().FluidZonesCount, 2);
    EXPECT_EQ(Net().FluidZones[2].Fluid.name, "Brine");
    EXPECT_DOUBLE_EQ(Net().FluidZones[2].Fluid.density_kgs_m3, 1200.0);
    EXPECT_EQ(Net().GetPipe(pipe).FluidZoneIndex, 2);
    EXPECT_DOUBLE_EQ(Net().GetPipe(pipe).Length_m, 20.0);
    EXPECT_EQ(form->ComboBoxFluidZone->count(), 2);

    // The reopened tank shows what was typed.
    form->ToolButtonCursorArrowClick();
    Click(Net().GetNode(high).x, Net().GetNode(high).y);
    EXPECT_DOUBLE_EQ(form->RightEditTankElevation->text().toDouble(), 30.0);
    EXPECT_DOUBLE_EQ(form->RightEditLiquidLevel->text().toDouble(), 2.5);
}

} // namespace
} // namespace tessaran::test
