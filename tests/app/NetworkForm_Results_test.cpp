// The results display: what each mode switches on and off, the results key
// and the colour key with its range buttons, the floating key panels, the
// status-bar item texts, and a results-mode window against its picture.

#include "Drawing_Fixture.h"

#include "app/Results_Log_Form.h"
#include "app/Status_Bar.h"
#include "drawing_qt/Reference_Image.h"
#include "platform/qt/Qt_Canvas.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <cstdlib>

namespace tessaran::test {
namespace {

// Equal within the rounding of a gradient's first step.
bool Near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

class ResultsDisplay : public DrawingTest {
protected:
    int Tank(int x, int y, double elevation)
    {
        const int id = AddNodeAt(Net(), x, y, ::tessaran::Tank);
        Net().GetNode(id).Elevation_m = elevation;
        return id;
    }
    int Pipe(int from, int to)
    {
        TPipe pipe;
        pipe.Copy(*Net().ConfigOptions.DefaultPipe);
        pipe.FluidZoneIndex = 1;
        pipe.Length_m = 100;
        return Net().AddPipeLink(from, to, pipe);
    }
    bool Enabled(const char *name) const
    {
        auto *button = form->findChild<QToolButton *>(name);
        EXPECT_NE(button, nullptr) << name;
        return button && button->isEnabled();
    }
    QString StatusText(int panel) const { return form->StatusBar1->Panels[static_cast<std::size_t>(panel)].Text; }
    void SetRange(double axisMin, double min, double max, double axisMax)
    {
        TConfigOptions &o = Net().ConfigOptions;
        o.ResultsColorItem = ResultsPipeReynoldsNumber; // shown as stored
        o.ResultsColorItemAxisMinValue = axisMin;
        o.ResultsColorItemMinValue = min;
        o.ResultsColorItemMaxValue = max;
        o.ResultsColorItemAxisMaxValue = axisMax;
    }
};

TEST_F(ResultsDisplay, EachModeSwitchesItsButtons)
{
    const char *editing[] = {"ToolButtonTank1",  "ToolButtonPipeAdd1", "ToolButtonJoint1",    "ToolButtonPumpAdd1",
                             "ToolButtonSelection", "ToolButtonSelection2", "ToolButtonDemandFlow",
                             "ToolButtonClosePipe"};
    form->SetResultsMode();
    EXPECT_TRUE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "RE-DESIGN");
    for (const char *name : editing)
        EXPECT_FALSE(Enabled(name)) << name;
    for (const char *name : {"ToolButtonCursorArrow", "ToolButtonDragNode", "ToolButtonHand1", "ToolButtonText"})
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_TRUE(form->BitBtnResultsTable->isEnabled());
    EXPECT_FALSE(form->BitBtnLoadExamples->isVisibleTo(form.get()));
    EXPECT_TRUE(form->CreatePDFCustomizedReport->isEnabled());
    EXPECT_EQ(StatusText(2), " RESULTS MODE - Click on Re-Design button to return to edit mode.");
    EXPECT_TRUE(form->PanelResultsKey->isVisible());
    EXPECT_EQ(form->PanelResultsKey->pos(), QPoint(18, -1));
    EXPECT_EQ(form->PanelResultsColorKey->pos(), QPoint(222, -1));
    EXPECT_EQ(form->PanelResultsColorKey->isVisible(), Net().ConfigOptions.UseResultsColors);

    form->SetDesignMode();
    EXPECT_FALSE(form->ResultsMode);
    EXPECT_EQ(form->BitBtnCalculate->text(), "CALCULATE");
    for (const char *name : editing)
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_TRUE(form->ToolButtonCursorArrow->isChecked());
    EXPECT_FALSE(form->BitBtnResultsTable->isEnabled());
    EXPECT_FALSE(form->BitBtnShowLog->isEnabled());
    EXPECT_TRUE(form->BitBtnLoadExamples->isVisibleTo(form.get()));
    EXPECT_FALSE(form->CreatePDFCustomizedReport->isEnabled());
    EXPECT_FALSE(form->PanelResultsKey->isVisible());
    EXPECT_FALSE(form->PanelResultsColorKey->isVisible());
    EXPECT_EQ(StatusText(2), "Show Info: Left click on an item to show its details in the left hand panel.");
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);

    // The rectangle tool and the individual-item tool.
    form->ToolButtonSelectionClick();
    EXPECT_FALSE(form->ToolButtonCursorArrow->isEnabled());
    EXPECT_FALSE(Enabled("ToolButtonTank1"));
    EXPECT_FALSE(Enabled("ToolButtonHand1"));
    EXPECT_EQ(form->DrawingObject, DrawingSelection);
    form->SetDesignMode();
    form->ToolButtonSelection2Click();
    EXPECT_TRUE(form->ToolButtonCursorArrow->isEnabled());
    EXPECT_EQ(States().SelectionStatus, 9);
    EXPECT_FALSE(form->PanelResultsKey->isVisible());
}

TEST_F(ResultsDisplay, ResultsKeyShowsTheLastChosenLabel)
{
    TConfigOptions &o = Net().ConfigOptions;
    struct Case {
        bool Flow, Mass, Gas, Velocity, Loss;
        std::string Key;
    };
    const Case cases[] = {
        {true, false, false, false, false, "f = flow in " + unitPlainName(o.UnitOfFlow)},
        {true, false, false, true, false, "v = velocity in " + unitPlainName(o.UnitOfVelocity)},
        {false, true, true, false, false, "gf = flow in " + unitPlainName(o.UnitOfGasFlow)},
        {true, false, false, true, true, "dP = pressure drop in " + unitPlainName(o.UnitOfPressureLoss)},
        {false, false, false, false, false, "dP = pressure drop in " + unitPlainName(o.UnitOfPressureLoss)},
    };
    for (const Case &c : cases) {
        o.ShowPipeFlowRate = c.Flow;
        o.ShowPipeMassFlowRate = c.Mass;
        o.ShowPipeGasFlowRate = c.Gas;
        o.ShowPipeVelocity = c.Velocity;
        o.ShowPipePressureLoss = c.Loss;
        form->UpdatePanelResultsKey();
        EXPECT_EQ(form->LabelResultsKey->text().toStdString(), c.Key); // none on: the caption stays
    }
}

TEST_F(ResultsDisplay, ColourKeyDecimalsFollowTheAxisMaximum)
{
    const std::tuple<TResultsColorItemEnum, double, int> cases[] = {
        {ResultsVelocity, 0.5, 4},    {ResultsVelocity, 1, 3},      {ResultsVelocity, 10, 2},
        {ResultsVelocity, 250, 1},    {ResultsVelocity, 1000, 0},   {ResultsPipeReynoldsNumber, 0.5, 0},
        {ResultsPipeTotalK, 0.5, 4}};
    for (auto [item, axisMax, decimals] : cases)
        EXPECT_EQ(TNetworkForm::ColorKeyDecimals(item, axisMax), decimals) << axisMax;
}

TEST_F(ResultsDisplay, ColourKeyTitleNamesTheItemAndItsUnit)
{
    TConfigOptions &o = Net().ConfigOptions;
    o.UseResultsColors = true;
    for (TResultsColorItemEnum item : {ResultsPipeReynoldsNumber, ResultsPipeTotalK, ResultsVelocity}) {
        o.ResultsColorItem = item;
        form->SetResultsMode();
        const std::string caption = Net().GetResultsColorItemStringsText(item);
        const std::string title = form->LabelColorKeyTitle->text().toStdString();
        if (item == ResultsVelocity)
            EXPECT_EQ(title, " Color of " + caption + " in " + unitName(Net().GetResultsColorItemUnit(item)));
        else
            EXPECT_EQ(title, " Color of " + caption); // dimensionless
        EXPECT_TRUE(form->PanelResultsColorKey->isVisible());
    }
    o.UseResultsColors = false;
    form->UpdatePanelResultsColorKey();
    EXPECT_FALSE(form->PanelResultsColorKey->isVisible());
}

TEST_F(ResultsDisplay, RangeButtonsKeepTheEndsApartAndOnTheScale)
{
    form->SetResultsMode();
    SetRange(0, 2, 8, 10); // one step is 0.5
    TConfigOptions &o = Net().ConfigOptions;
    for (int i = 0; i < 30; ++i) {
        form->Button1->click(); // bottom end up
        ASSERT_LT(o.ResultsColorItemMinValue, o.ResultsColorItemMaxValue);
    }
    EXPECT_DOUBLE_EQ(o.ResultsColorItemMinValue, 7.5);
    for (int i = 0; i < 30; ++i) {
        form->Button3->click(); // top end down
        ASSERT_GT(o.ResultsColorItemMaxValue, o.ResultsColorItemMinValue);
    }
    EXPECT_DOUBLE_EQ(o.ResultsColorItemMaxValue, 8);
    for (int i = 0; i < 30; ++i)
        form->Button2->click();
    EXPECT_DOUBLE_EQ(o.ResultsColorItemMinValue, 0);
    for (int i = 0; i < 30; ++i)
        form->Button4->click();
    EXPECT_DOUBLE_EQ(o.ResultsColorItemMaxValue, 10);
    for (int i = 0; i < 30; ++i)
        form->Button3->click();
    EXPECT_DOUBLE_EQ(o.ResultsColorItemMaxValue, 0.5);
}

TEST_F(ResultsDisplay, ColourKeyColoursOnlyTheChosenRange)
{
    form->SetResultsMode();
    TConfigOptions &o = Net().ConfigOptions;
    ASSERT_TRUE(form->UpdateResultsColorKey); // the print's hook
    auto leftEnd = [&](int x) {
        QImage key(600, 60, QImage::Format_RGB32);
        key.fill(Qt::black);
        form->UpdateResultsColorKey(key, 12, 0x000000, 0x000000, 8);
        return key.pixelColor(x, 5);
    };
    SetRange(0, 0, 100, 100);
    EXPECT_TRUE(Near(leftEnd(27), ToQColor(o.ResultsColor1)));
    EXPECT_EQ(leftEnd(10), QColor(Qt::white));
    // The bottom quarter of the scale left uncoloured.
    SetRange(0, 25, 100, 100);
    EXPECT_EQ(leftEnd(27), QColor(Qt::white));
    EXPECT_TRUE(Near(leftEnd(25 + 550 / 4 + 3), ToQColor(o.ResultsColor1)));
    // A zero scale draws the whole bar.
    SetRange(5, 5, 5, 5);
    EXPECT_TRUE(Near(leftEnd(27), ToQColor(o.ResultsColor1)));

    // On a canvas: a black frame with the bar inside it.
    SetRange(0, 0, 100, 100);
    QImage page(800, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        TQtCanvas canvas(&page);
        form->UpdateResultsColorKeyOnCanvas(canvas, 0, 0, 700, 90, 10, 0x000000, 0x000000, 5);
    }
    EXPECT_EQ(page.pixelColor(0, 50), QColor(Qt::black));
    EXPECT_TRUE(Near(page.pixelColor(72, 20), ToQColor(o.ResultsColor1)));
    EXPECT_EQ(page.pixelColor(750, 50), QColor(Qt::white));
}

TEST_F(ResultsDisplay, KeyPanelsAreDraggedInsideTheDrawingArea)
{
    form->SetResultsMode();
    QWidget *panel = form->PanelResultsKey;
    QLabel *title = form->LabelresultsKeyTitle;
    const QPoint start = panel->pos();
    // The press, then a move of the held button by (dx, dy).
    auto drag = [&](int dx, int dy) {
        const QPointF from(20, 8);
        const QPointF globalFrom = title->mapToGlobal(from);
        QMouseEvent press(QEvent::MouseButtonPress, from, globalFrom, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(title, &press);
        const QPointF to = from + QPointF(dx, dy);
        QMouseEvent move(QEvent::MouseMove, to, globalFrom + QPointF(dx, dy), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(title, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, globalFrom + QPointF(dx, dy), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(title, &release);
    };
    drag(100, 100);
    EXPECT_EQ(panel->pos(), start + QPoint(100, 100));

    // Far past the bottom right: it stops at the edge.
    drag(5000, 5000);
    const QWidget *area = panel->parentWidget();
    EXPECT_EQ(panel->x() + panel->width(), area->width());
    EXPECT_EQ(panel->y() + panel->height(), area->height());

    // Results mode again puts it back.
    form->SetResultsMode();
    EXPECT_EQ(panel->pos(), QPoint(18, -1));
}

TEST_F(ResultsDisplay, StatusBarTellsAboutTheClickedPipe)
{
    const int a = Tank(ox + 200, oy + 200, 30);
    const int b = Tank(ox + 600, oy + 200, 10);
    const int pipe = Pipe(a, b);
    Net().GetPipe(pipe).Name = "P1";
    Net().GetNode(a).Pressure_Bar_g = 1.5;
    Net().GetNode(b).Pressure_Bar_g = 1.0;

    // A gas pipe at rest: its pressure drop and nothing after "at Flow ".
    Net().FluidZones[1].Fluid.FluidIsGas = true;
    Net().GetPipe(pipe).FlowUncompressed_m3s = 0;
    form->StatusBarShowPipe(pipe);
    const std::string gas = StatusText(2).toStdString();
    EXPECT_EQ(gas.rfind(" Pipe " + std::to_string(pipe) + ", P1, dP ", 0), 0u) << gas;
    EXPECT_EQ(gas.substr(gas.size() - 9), " at Flow ") << gas;
    EXPECT_EQ(form->StatusBarHintColor, 0x00FFFFu);

    // A liquid pipe: the drop in both units, the flow and the velocity.
    Net().FluidZones[1].Fluid.FluidIsGas = false;
    Net().GetPipe(pipe).FlowUncompressed_m3s = 0.01;
    Net().GetPipe(pipe).Velocity_ms = 1.25;
    form->StatusBarShowPipe(pipe);
    const std::string liquid = StatusText(2).toStdString();
    EXPECT_NE(liquid.find(") at Flow "), std::string::npos) << liquid;
    EXPECT_NE(liquid.find(" @ "), std::string::npos) << liquid;
    EXPECT_NE(liquid.find(", Velocity "), std::string::npos) << liquid;

    // A closed pipe says so, and the hint colour stays plain.
    Net().RemoveNodeLinkAddClosedPipeLink(pipe);
    form->StatusBarShowPipe(pipe);
    EXPECT_EQ(StatusText(2).toStdString(), " Pipe " + std::to_string(pipe) + " is closed.");
    EXPECT_EQ(form->StatusBarHintColor, form->StatusBarDefaultColor);

    // The hover panel names the item.
    form->UpdatePanelResultPipeInfo(pipe);
    EXPECT_EQ(form->LabelInfoTitle->text().toStdString(), "   Pipe " + std::to_string(pipe) + " (P1)");
    EXPECT_FALSE(form->LabelInfo1->text().isEmpty());

    // A node: its kind, pressure and elevation.
    form->StatusBarShowNode(a);
    const std::string node = StatusText(2).toStdString();
    EXPECT_EQ(node.rfind(" Node " + std::to_string(a) + ", " + Net().GetNode(a).Name + ", Tank, ", 0), 0u) << node;
    EXPECT_EQ(node.substr(node.size() - 10), " elevation") << node;
}

TEST_F(ResultsDisplay, AClickOnAComponentInResultsModeTellsItsPressureDrop)
{
    const int a = Tank(ox + 200, oy + 200, 30);
    const int b = Tank(ox + 600, oy + 200, 10);
    const int pipe = Pipe(a, b);
    TPipe &p = Net().GetPipe(pipe);
    p.ComponentPressureCount = 1;
    p.ComponentPressure.Name = "V1";
    p.ComponentPressurePositionPercentageAlongPipe = 50;
    p.ComponentPressureLoss_mHd_Fluid = 2;
    form->SetResultsMode(); // the render places the component
    ASSERT_GT(p.ComponentPressurex, 0);
    Click(p.ComponentPressurex, p.ComponentPressurey);
    const std::string text = StatusText(2).toStdString();
    EXPECT_EQ(text.rfind(" Component on Pipe " + std::to_string(pipe) + ", V1, dP ", 0), 0u) << text;
}

TEST_F(ResultsDisplay, ResultsWindowMatchesItsPicture)
{
    // Drawn by mouse, calculated with the button, shown with both keys.
    DrawTwoTanksAndAPipe({203, 198}, {597, 402});
    ASSERT_EQ(Pipes(), 1);
    const int high = Net().ExistsNodeWithSamePosition(ox + 200, oy + 200, 0);
    const int low = Net().ExistsNodeWithSamePosition(ox + 600, oy + 400, 0);
    Net().GetNode(high).Elevation_m = 30;
    Net().GetNode(low).Elevation_m = 28;

    dialogs.Expect(TDialogKind::Warning,
                   "Cannot automatically check and update fitting sizes.\r\rNominal Size Data was not loaded on "
                   "start up.\r\rUser needs full read/write permission to the file:\r" +
                       folder.path() +
                       "/PipeTables/PipeNominalSizeSet.trns\r\rPlease correct this issue and restart the "
                       "software.\r\rCalculations will run WITHOUT automatic fitting updates.\r");
    form->ResultsLogForm->ModalRunner = [](TResultsLogForm &log) { log.BitBtnViewDrawing->click(); };
    QTest::mouseClick(form->BitBtnCalculate, Qt::LeftButton);
    ASSERT_TRUE(form->ResultsMode);
    ASSERT_TRUE(form->PanelResultsColorKey->isVisible());

    QApplication::processEvents();
    const QImage image = form->ScrollBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectMatchesReferenceIn(QStringLiteral(TESSARAN_TEST_DATA_DIR "/app/"), image, "results_mode_two_tanks.png", 0.01);
}

} // namespace
} // namespace tessaran::test
