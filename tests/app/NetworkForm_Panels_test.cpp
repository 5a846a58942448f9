// The node and pipe property panels: what a fill shows, what typing writes,
// the refusals, and that showing an item never changes it.
#include "Drawing_Fixture.h"

#include "drawing_qt/Reference_Image.h"
#include "platform/Stream.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QToolButton>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>

namespace tessaran::test {
namespace {

class Panels : public DrawingTest {
protected:
    // Selects an item the way a click does and fills both panels.
    void SelectNode(int id)
    {
        States().CurrentNodeIdSelected = id;
        form->UpdatePanelsNode(id, true);
    }
    void SelectPipe(int id)
    {
        States().CurrentPipeIdSelected = id;
        form->UpdatePanelsPipe(id, true);
    }
    // Replaces a box's text by typing, as the user does.
    static void Type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    std::vector<std::uint8_t> Saved()
    {
        TMemoryStream stream;
        Net().Save(stream);
        return stream.Bytes();
    }
    TConfigOptions &Options() { return Net().ConfigOptions; }
};

TEST_F(Panels, TypedPipeValuesFollowTheirZeroRulesAndUnits)
{
    const int p = Pipe(JointAt(ox, oy), JointAt(ox + 400, oy));
    TPipe &pipe = Net().GetPipe(p);
    pipe.Length_m = 12.3456789;
    pipe.InnerRoughness_m = 0.000045;
    pipe.InnerDiameter_m = 0.1;
    SelectPipe(p);
    EXPECT_EQ(form->RightEditPipeRoughness->text(), "0.045000");
    EXPECT_EQ(pipe.Length_m, 12.3456789) << "showing the pipe keeps its unrounded value";

    Type(form->RightEditPipeRoughness, "0");
    EXPECT_DOUBLE_EQ(pipe.InnerRoughness_m, 0.000045) << "a roughness of 0 is not written";
    Type(form->RightEditPipeRoughness, "0.2");
    EXPECT_DOUBLE_EQ(pipe.InnerRoughness_m, 0.0002);
    Type(form->RightEditPipeDiameter, "0");
    EXPECT_DOUBLE_EQ(pipe.InnerDiameter_m, 0.1) << "a diameter of 0 is not written";
    Type(form->RightEditPipeLength, "0");
    EXPECT_DOUBLE_EQ(pipe.Length_m, 0.0) << "a length of 0 is written";

    // Every change of the text converts from the display unit.
    // The options dialog's OK refills the panels in the new units.
    Options().UnitOfLength = unt_ft;
    form->RefreshAfterOptions(false);
    EXPECT_EQ(form->LabelPipeLengthUnits->text(), QString::fromStdString(unitName(unt_ft)));
    Type(form->RightEditPipeLength, "10");
    EXPECT_NEAR(pipe.Length_m, 3.048, 1e-12);
    Type(form->EditPipeName, "Main line");
    EXPECT_EQ(pipe.Name, "Main line");
}

TEST_F(Panels, ASurfacePressureBelowVacuumStoresTheVacuumLimit)
{
    const int t = AddNodeAt(Net(), ox, oy, Tank);
    Options().UnitOfSurfacePressure = unt_Bar_G;
    Options().Atmosphere_bar_a = 1.01325;
    SelectNode(t);
    dialogs.Expect(TDialogKind::Information,
                   "The pressure value is less than that of a perfect vacuum, i.e. < 0.0 bar absolute.\r\rThe  value "
                   "will be set to 0.0 bar absolute (or equivalent in other units).\r\r ");
    Type(form->RightEditSurfacePressure, "-2");
    EXPECT_NEAR(Net().GetNode(t).Surface_Pressure_Bar_g, -1.01325, 1e-12);
    EXPECT_EQ(form->RightEditSurfacePressure->text(),
              QString::fromStdString(convertPressureAndFormat(unt_Bar_G, unt_Bar_G, -1.01325, 1.01325, 1000)));
    Type(form->RightEditSurfacePressure, "-0.5");
    EXPECT_DOUBLE_EQ(Net().GetNode(t).Surface_Pressure_Bar_g, -0.5);
}

TEST_F(Panels, KeysBeyondABoxsLimitsAreRefused)
{
    const int t = AddNodeAt(Net(), ox, oy, Tank);
    Options().UnitOfLiquidLevel = unt_m;
    SelectNode(t);
    // The liquid level takes three decimals whatever its unit shows.
    dialogs.Expect(TDialogKind::Information, QString::fromUtf8(MaxPostDecimalDigitsMessage.data(),
                                                               static_cast<qsizetype>(MaxPostDecimalDigitsMessage.size())));
    Type(form->RightEditLiquidLevel, "1.2345");
    EXPECT_EQ(form->RightEditLiquidLevel->text(), "1.234");
    EXPECT_DOUBLE_EQ(Net().GetNode(t).LiquidLevel_m, 1.234);
    EXPECT_FALSE(form->ImageTank1->isHidden()) << "a tank with liquid shows its liquid";

    // No minus where negatives are not allowed; elevations take one.
    const int p = Pipe(t, JointAt(ox + 400, oy));
    SelectPipe(p);
    Type(form->RightEditPipeLength, "-5");
    EXPECT_EQ(form->RightEditPipeLength->text(), "5");
    EXPECT_DOUBLE_EQ(Net().GetPipe(p).Length_m, 5.0);
    Type(form->RightEditTankElevation, "-3");
    EXPECT_DOUBLE_EQ(Net().GetNode(t).Elevation_m, -3.0);
}

TEST_F(Panels, EqualDemandsZeroTheOtherSide)
{
    const int j = JointAt(ox, oy);
    TNode &node = Net().GetNode(j);
    Options().UnitOfFlow = unt_L_sec;
    node.JointSupply_m3s = convertUnit(unt_L_sec, unt_m3_sec, 2);
    SelectNode(j);
    // The demand boxes are edited through their dialog; enabled here to type.
    form->RightEditDemandOutFlow->setEnabled(true);
    dialogs.Expect(TDialogKind::Information,
                   "In-flow and Out-flow demands are set to the same value.\r\rThis is not allowed since it has no "
                   "effect on the solved system results.\r\rDemand flows define an amount of flow entering or leaving "
                   "the system at a specific point (from or to an external source). \r\rThe Out-flow demand will be "
                   "set to zero.\r\rPlease re-enter the demand flows as appropriate.");
    Type(form->RightEditDemandOutFlow, "2");
    EXPECT_EQ(node.JointDischarge_m3s, 0.0);
    EXPECT_DOUBLE_EQ(node.JointSupply_m3s, 0.002);

    node.JointDischarge_m3s = convertUnit(unt_L_sec, unt_m3_sec, 3);
    node.JointSupply_m3s = 0;
    form->UpdatePanelsNode(j, false);
    form->RightEditDemandInFlow->setEnabled(true);
    dialogs.Expect(TDialogKind::Information,
                   "In-flow and Out-flow demands are set to the same value.\r\rThis is not allowed since it has no "
                   "effect on the solved system results.\r\rDemand flows define an amount of flow entering or leaving "
                   "the system at a specific point (from or to an external source). \r\rThe In-flow demand will be "
                   "set to zero.\r\rPlease re-enter the demand flows as appropriate.");
    Type(form->RightEditDemandInFlow, "3");
    EXPECT_EQ(node.JointSupply_m3s, 0.0);
    EXPECT_DOUBLE_EQ(node.JointDischarge_m3s, 0.003);
}

TEST_F(Panels, MassAndGasDemandsShowTheVolumeFlowUnitsDecimals)
{
    TUnit threeDecimals = unt_m3_sec;
    for (int u = unt_m3_sec; u <= unt_Barrels_Oil_day; ++u)
        if (unitDecimals(static_cast<TUnit>(u)) == 3)
            threeDecimals = static_cast<TUnit>(u);
    ASSERT_EQ(unitDecimals(threeDecimals), 3);
    Options().UnitOfFlow = threeDecimals;
    Options().UnitOfMassFlow = unt_kg_sec;
    Options().UnitOfGasFlow = unt_SCMH;
    ASSERT_NE(unitDecimals(unt_kg_sec), 3);

    const int j = JointAt(ox, oy);
    TNode &node = Net().GetNode(j);
    node.JointDemandUseFlowType = MassFlow;
    node.JointDischarge_kgs = 1.23456;
    SelectNode(j);
    EXPECT_EQ(form->RightEditDemandOutFlow->text(), QString::fromStdString(formatFixed(3, 1.23456)));
    EXPECT_EQ(form->LabelDemandOutFlowUnits->text(), QString::fromStdString(unitName(unt_kg_sec)));
    EXPECT_FALSE(form->RightEditDemandOutFlow->isEnabled());
    EXPECT_EQ(node.JointDischarge_kgs, 1.23456) << "the shown, rounded figure is not written back";

    node.JointDemandUseFlowType = GasFlow;
    node.JointSupply_SCMH = 7.654321;
    form->UpdatePanelsNode(j, false);
    EXPECT_EQ(form->RightEditDemandInFlow->text(), QString::fromStdString(formatFixed(3, 7.654321)));
    EXPECT_EQ(form->LabelDemandInFlowUnits->text(), QString::fromStdString(unitName(unt_SCMH)));
}

TEST_F(Panels, NodeTypeChangesAreRefusedWhereTheyCannotStand)
{
    // a -> b -> c: b has one pipe in and one out.
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy), c = JointAt(ox + 800, oy);
    Pipe(a, b);
    const int bc = Pipe(b, c);
    auto choose = [&](int node, int entry) {
        SelectNode(node);
        form->ComboBoxNodeType->setCurrentIndex(entry);
        form->ComboBoxNodeTypeChange();
    };

    dialogs.Expect(TDialogKind::Information, "The node cannot be converted to an End Pressure node.\r\rDemand "
                                             "Pressure nodes must be at the end of a single pipe.");
    choose(b, 1);
    EXPECT_EQ(Net().GetNode(b).NodeType, Joint);
    EXPECT_EQ(form->ComboBoxNodeType->currentIndex(), 2) << "the box shows the type kept";

    AddValveOn(bc, PRV);
    form->RefreshScreen(true);
    const std::vector<std::uint8_t> before = Saved();
    dialogs.Expect(TDialogKind::Information, "Node cannot be changed to a tank. \r\rAt least one pipe coming in to "
                                             "the node contains a PRV, which is not allowed.");
    choose(c, 0);
    EXPECT_TRUE(Saved() == before) << "a refused change leaves the network as it was";

    AddValveOn(bc, BPV);
    dialogs.Expect(TDialogKind::Information, "Node cannot be changed to a tank.\r\rAt least one pipe leaving the "
                                             "node contains a BPV, which is not allowed.");
    choose(b, 0);
    EXPECT_EQ(Net().GetNode(b).NodeType, Joint);

    // Allowed: the end of a single pipe becomes an end-pressure node.
    Net().GetPipe(bc).FlowControlCount = 0;
    Net().GetNode(c).JointDischarge_m3s = 0.01;
    choose(c, 1);
    EXPECT_EQ(Net().GetNode(c).NodeType, EndPressure);
    EXPECT_EQ(Net().GetNode(c).NodeImageIndex, 5);
    EXPECT_EQ(Net().GetNode(c).JointDischarge_m3s, 0.0);
    EXPECT_EQ(form->LabelNodeType->text(), "End Pressure");
}

TEST_F(Panels, PumpAndValveExcludeEachOther)
{
    const int p = Pipe(JointAt(ox, oy), JointAt(ox + 400, oy));
    AddValveOn(p, FCV);
    SelectPipe(p);
    dialogs.Expect(TDialogKind::Information, "Pump cannot be added on to a pipe with a Control Valve on. \r\rEither "
                                             "remove the Control Valve, or add the Pump to a different pipe.\r");
    QTest::mouseClick(form->BitBtnPump, Qt::LeftButton);
    EXPECT_EQ(Net().GetPipe(p).PumpCount, 0);

    Net().GetPipe(p).FlowControlCount = 0;
    Net().GetPipe(p).PumpCount = 1;
    form->UpdatePanelsPipe(p, false);
    dialogs.Expect(TDialogKind::Information,
                   "Control valve component cannot be added on to a pipe with a pump on. \r\rEither remove the pump, "
                   "or add the control valve to a different pipe.\r\rNote: If the pump type is 'variable speed' then "
                   "the flow can be set directly on the pump.");
    QTest::mouseClick(form->BitBtnFlowControl, Qt::LeftButton);
    EXPECT_EQ(Net().GetPipe(p).FlowControlCount, 0);
    EXPECT_TRUE(itemDialogs.Calls.empty());

    // Otherwise the buttons open their dialogs.
    QTest::mouseClick(form->BitBtnPump, Qt::LeftButton);
    QTest::mouseClick(form->BitBtnComponentPressure, Qt::LeftButton);
    QTest::mouseClick(form->BitBtnPipeFittings, Qt::LeftButton);
    EXPECT_EQ(itemDialogs.Calls, (std::vector<std::string>{"Pump " + std::to_string(p),
                                                           "Component " + std::to_string(p),
                                                           "Fittings " + std::to_string(p) + " entry"}));
}

TEST_F(Panels, ItemButtonsCountOnlyItemsSwitchedOn)
{
    const int p = Pipe(JointAt(ox, oy), JointAt(ox + 400, oy));
    TPipe &pipe = Net().GetPipe(p);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressureUseInCalc = false;
    pipe.PumpCount = 1;
    SelectPipe(p);
    EXPECT_EQ(form->BitBtnComponentPressure->text(), "0");
    EXPECT_FALSE(form->CheckBoxCalcComponentPressure->isHidden());
    EXPECT_FALSE(form->CheckBoxCalcComponentPressure->isChecked());
    EXPECT_EQ(form->BitBtnPump->text(), "1");
    EXPECT_TRUE(form->CheckBoxCalcPump->isChecked());
    EXPECT_TRUE(form->CheckBoxCalcFlowControl->isHidden()) << "no valve, no Include box";
    EXPECT_FALSE(form->LabelInclude->isHidden());
    EXPECT_TRUE(pipe.PumpUseInCalc) << "setting the boxes wrote nothing";

    QTest::mouseClick(form->CheckBoxCalcComponentPressure, Qt::LeftButton);
    EXPECT_TRUE(pipe.ComponentPressureUseInCalc);
    EXPECT_EQ(form->BitBtnComponentPressure->text(), "1");

    // In results mode only the items in use open, read-only.
    form->ResultsMode = true;
    pipe.PumpUseInCalc = false;
    form->UpdatePanelsPipe(p, false);
    EXPECT_FALSE(form->BitBtnPump->isEnabled());
    EXPECT_TRUE(form->BitBtnComponentPressure->isEnabled());
    EXPECT_FALSE(form->RightEditPipeLength->isEnabled());
    form->ResultsMode = false;
}

TEST_F(Panels, ShowingEveryItemOfAnExampleChangesNothing)
{
    QStringList files;
    for (const char *folder : {"/data/ExampleSystems", "/data/ExampleSystemsCompressible"}) {
        const QDir examples(QStringLiteral(TESSARAN_SOURCE_DIR) + folder);
        for (const QString &file : examples.entryList({"*.trz"}, QDir::Files))
            files << examples.filePath(file);
    }
    ASSERT_FALSE(files.isEmpty());
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        TMemoryStream stream;
        stream.LoadFromFile(file.toStdString());
        Net().Load(stream);
        form->RefreshScreen(true);
        const std::vector<std::uint8_t> before = Saved();
        for (int id = Net().GetNextNodeId(0); id > 0; id = Net().GetNextNodeId(id)) {
            SelectNode(id);
            form->RefreshScreen(true);
        }
        for (int id = Net().GetNextPipeId(0); id > 0; id = Net().GetNextPipeId(id)) {
            SelectPipe(id);
            form->RefreshScreen(true);
        }
        EXPECT_TRUE(Saved() == before);
        States().CurrentNodeIdSelected = States().CurrentPipeIdSelected = 0;
    }
}

TEST_F(Panels, ANodeInAnotherZoneIsShownAndStoredWithItsOwnFluid)
{
    const int a = JointAt(ox, oy);
    const int t = AddNodeAt(Net(), ox + 400, oy, Tank);
    const int p = Pipe(a, t);
    Net().FluidZonesCount = 2;
    Net().FluidZones[2].Fluid = Net().FluidZones[1].Fluid;
    Net().FluidZones[2].Fluid.density_kgs_m3 = 500;
    Net().GetPipe(p).FluidZoneIndex = 2;
    Net().CurrentFluidZone = 1;
    ASSERT_EQ(Net().GetNodeFluidZoneIndex(t), 2);
    Options().UnitOfSurfacePressure = unt_m_hd_fluid;
    Net().GetNode(t).Surface_Pressure_Bar_g = 1.0;

    SelectNode(t);
    EXPECT_EQ(form->RightEditSurfacePressure->text(),
              QString::fromStdString(convertPressureAndFormat(unt_Bar_G, unt_m_hd_fluid, 1.0,
                                                              Options().Atmosphere_bar_a, 500)));
    Type(form->RightEditSurfacePressure, "10");
    EXPECT_NEAR(Net().GetNode(t).Surface_Pressure_Bar_g,
                convertPressure(unt_m_hd_fluid, unt_Bar_G, 10, Options().Atmosphere_bar_a, 500), 1e-12);
}

TEST_F(Panels, NotesStopAtTheStoredLength)
{
    const int j = JointAt(ox, oy);
    SelectNode(j);
    form->MemoNodeNotes->setFocus();
    QTest::keyClicks(form->MemoNodeNotes, QString(195, 'a'));
    QTest::keyClicks(form->MemoNodeNotes, QString(10, 'b'));
    EXPECT_EQ(form->MemoNodeNotes->toPlainText(), QString(195, 'a') + QString(5, 'b'));
    ASSERT_EQ(Net().GetNode(j).Notes.size(), 1u);
    EXPECT_EQ(Net().GetNode(j).Notes[0], std::string(195, 'a') + std::string(5, 'b'));
    // A line break takes two of the stored characters.
    QTest::keyClick(form->MemoNodeNotes, Qt::Key_Backspace);
    QTest::keyClick(form->MemoNodeNotes, Qt::Key_Return);
    QTest::keyClick(form->MemoNodeNotes, Qt::Key_C);
    EXPECT_EQ(form->MemoNodeNotes->toPlainText(), QString(195, 'a') + QString(4, 'b') + "\n");
    EXPECT_EQ(Net().GetNode(j).Notes, std::vector<std::string>{std::string(195, 'a') + std::string(4, 'b')});

    const int p = Pipe(j, JointAt(ox + 400, oy));
    SelectPipe(p);
    form->MemoPipeNotes->setFocus();
    QTest::keyClicks(form->MemoPipeNotes, QString(230, 'x'));
    ASSERT_EQ(Net().GetPipe(p).Notes.size(), 1u);
    EXPECT_EQ(Net().GetPipe(p).Notes[0].size(), 200u);
}

TEST_F(Panels, UpAndDownWalkTheItemsAndWrap)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy), c = JointAt(ox + 800, oy);
    const int p1 = Pipe(a, b), p2 = Pipe(b, c);
    States().CurrentNodeIdSelected = c;
    form->UpDownNodeClick(false);
    EXPECT_EQ(States().CurrentNodeIdSelected, a);
    form->UpDownNodeClick(true);
    EXPECT_EQ(States().CurrentNodeIdSelected, c);
    EXPECT_EQ(form->ComboBoxNodeId->currentText(), QString("Node:%1").arg(c, 4));
    States().CurrentPipeIdSelected = p1;
    QTest::mouseClick(form->UpDownPipeUp, Qt::LeftButton);
    EXPECT_EQ(States().CurrentPipeIdSelected, p2);
    QTest::mouseClick(form->UpDownPipeDown, Qt::LeftButton);
    EXPECT_EQ(States().CurrentPipeIdSelected, p1);
}

TEST_F(Panels, AClickHighlightsAPanelUntilItsTimer)
{
    const int p1 = Pipe(JointAt(ox, oy), JointAt(ox + 400, oy));
    const QColor normal = form->PanelPipes->palette().color(QPalette::Window);
    SelectPipe(p1);
    EXPECT_EQ(form->PanelPipes->palette().color(QPalette::Window), QColor(Qt::yellow));
    EXPECT_TRUE(form->TimerPipePanelHighlight->isActive());
    EXPECT_EQ(form->TimerPipePanelHighlight->interval(), 500);
    form->TimerPipePanelHighlightTimer();
    EXPECT_FALSE(form->TimerPipePanelHighlight->isActive());
    EXPECT_EQ(form->PanelPipes->palette().color(QPalette::Window), normal);
    SelectPipe(p1);
    EXPECT_EQ(form->PanelPipes->palette().color(QPalette::Window), normal) << "the same pipe again: no highlight";
}

TEST_F(Panels, PanelsSayHowToSelectAndTheDemandButtonsOpenTheirDialog)
{
    form->ShowLeftPanel();
    dialogs.Expect(TDialogKind::Information, "No pipe selected. Click on a pipe on the drawing to select it.");
    QTest::mouseClick(form->PanelPipes, Qt::LeftButton, Qt::NoModifier, QPoint(190, 150));
    dialogs.Expect(TDialogKind::Information, "No node selected. Click on a node on the drawing to select it.");
    QTest::mouseClick(form->PanelNodeHeader, Qt::LeftButton, Qt::NoModifier, QPoint(190, 78));

    const int j = JointAt(ox, oy);
    SelectNode(j);
    QTest::mouseClick(form->BitBtnDemandOutFlow, Qt::LeftButton);
    QTest::mouseClick(form->BitBtnDemandInFlow, Qt::LeftButton);
    EXPECT_EQ(itemDialogs.Calls, (std::vector<std::string>{"Demands " + std::to_string(j) + " out",
                                                           "Demands " + std::to_string(j) + " in"}));
}

TEST_F(Panels, TheColourListSetsColourAndWidth)
{
    const int p = Pipe(JointAt(ox, oy), JointAt(ox + 400, oy));
    TPipe &pipe = Net().GetPipe(p);
    pipe.LineColor = 0x0000FF;
    pipe.LineWidth = 3;
    SelectPipe(p);
    ASSERT_EQ(form->ComboBoxPipeColors->count(), 18);
    EXPECT_EQ(form->ComboBoxPipeColors->currentIndex(), 8);
    EXPECT_EQ(form->ComboBoxPipeColors->currentText(), "Red");
    form->ComboBoxPipeColorsClick(16);
    EXPECT_EQ(pipe.LineColor, 0xFFB000u);
    EXPECT_EQ(pipe.LineWidth, 5);
}

TEST_F(Panels, ThePipeMenuRunsThePanelsButtons)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b);
    SelectPipe(p);
    auto run = [&](const char *name) {
        for (QAction *action : form->PopupMenu1->actions())
            if (action->objectName() == name)
                action->trigger();
    };
    run("AddEditFittings1");
    run("AddEditComponentLoss1");
    run("AddEditControlValve1");
    run("AddEditPump1");
    EXPECT_EQ(itemDialogs.Calls,
              (std::vector<std::string>{"Fittings " + std::to_string(p) + " entry", "Component " + std::to_string(p),
                                        "FlowControl " + std::to_string(p), "Pump " + std::to_string(p)}));
    run("ReversePipedirection1");
    int from = 0, to = 0;
    Net().GetFromAndToNodeIds(p, from, to);
    EXPECT_EQ(from, b);
    EXPECT_EQ(to, a);

    // "More..." opens the pipe menu; "Diam?" and "Material" the size database.
    QString shown;
    form->ExecPopupMenu = [&](QMenu &menu, const QPoint &) -> QAction * {
        shown = menu.objectName();
        return nullptr;
    };
    QTest::mouseClick(form->BitBtnPipePopupMenu, Qt::LeftButton);
    EXPECT_EQ(shown, "PopupMenu1");
    itemDialogs.Calls.clear();
    QTest::mouseClick(form->BitBtnPipeDiameter, Qt::LeftButton);
    QTest::mouseClick(form->BitBtnPipeMaterial, Qt::LeftButton);
    EXPECT_EQ(itemDialogs.Calls, (std::vector<std::string>{"Diameter " + std::to_string(p),
                                                           "Material " + std::to_string(p)}));

    // Without a selection the zoom button steps the scale up.
    const int scale = form->ScaleComboBox1->currentIndex();
    QTest::mouseClick(form->ToolButtonZoomSelection, Qt::LeftButton);
    EXPECT_EQ(form->ScaleComboBox1->currentIndex(), scale + 1);
}

TEST_F(Panels, TheLeftPanelMatchesItsReferencePicture)
{
    const int a = AddNodeAt(Net(), ox, oy, Tank);
    const int b = JointAt(ox + 400, oy);
    const int p = Pipe(a, b, "Feed");
    TNode &tank = Net().GetNode(a);
    tank.Name = "Source";
    tank.LiquidLevel_m = 2.5;
    tank.Elevation_m = 12;
    Net().GetPipe(p).Length_m = 150;
    Net().GetPipe(p).InnerDiameter_m = 0.1;
    Net().GetPipe(p).PumpCount = 1;
    form->ShowLeftPanel();
    States().CurrentNodeIdSelected = a;
    States().CurrentPipeIdSelected = p;
    form->RefreshScreen(true);
    QApplication::processEvents();
    const QImage image = form->GroupBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ExpectMatchesReferenceIn(QStringLiteral(TESSARAN_TEST_DATA_DIR "/app/"), image, "left_panel.png", 0.01);
}

} // namespace
} // namespace tessaran::test
