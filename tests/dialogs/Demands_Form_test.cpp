#include "dialogs/Demands_Form.h"

#include <functional>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "model/Node_Class.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString OutFlowInvalid = "Joint Out Flow value entered was not valid (may have been empty). \r\rThe value will "
                               "be set to zero. \r\rPlease reset the Out Flow to a valid value.";

void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void PickUnit(QComboBox *list, const QString &unit)
{
    const int index = list->findText(unit);
    ASSERT_GE(index, 0) << unit.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

class DemandsForm : public ::testing::Test {
protected:
    DemandsForm()
    {
        node.NodeType = Joint;
        node.Name = "J7";
        water.density_kgs_m3 = 1000;
        gas.FluidIsGas = true;
        gas.density_kgs_m3 = 10;
        gas.degrees_K = 288.15;
        gas.pressure_bar_g = 7;
    }
    double Convert(TUnit from, TUnit to, double value, const TFluid &fluid) const
    {
        return convertFlowUnit(from, to, settings.GasFlowTemperaturePressureModel, value, fluid.density_kgs_m3,
                               fluid.pressure_bar_g, fluid.degrees_K, settings.Atmosphere_bar_a);
    }
    void Open(const TFluid &fluid, const std::function<void(TDemandsForm &)> &user, bool resultsMode = false)
    {
        QTimer::singleShot(0, [&] {
            user(form);
            if (form.isVisible())
                Click(form.ButtonCancel);
        });
        form.OpenForm(node, 7, settings, fluid, resultsMode);
    }

    TNode node;
    TFluid water, gas;
    TConfigOptions settings;
    test::TScriptedDialogs dialogs;
    TDemandsForm form;
};

TEST_F(DemandsForm, OpensInTheFlowTypeTheZoneAllows)
{
    // Volume demands in a gas zone: shown as gas flow; the standard flows
    // are refreshed even on Cancel.
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointSupply_m3s = 0.02;
    node.JointDischarge_m3s = 0.01;
    node.JointSupply_SCMH = node.JointDischarge_SCMH = 0;
    const double inScmh = Convert(unt_m3_sec, unt_SCMH, 0.02, gas);
    Open(gas, [&](TDemandsForm &f) {
        EXPECT_EQ(f.ComboBoxDemandInUnits->count(), 30);
        EXPECT_EQ(f.ComboBoxDemandInUnits->currentText(), "SCMH");
        EXPECT_EQ(f.RightEditDemandInFlow->text(), QString::fromStdString(formatFixed(4, inScmh)));
        EXPECT_EQ(f.LabelNodeId->text(), "Node:7");
        EXPECT_EQ(f.LabelNodeName->text(), "J7");
    });
    EXPECT_DOUBLE_EQ(node.JointSupply_SCMH, inScmh);
    EXPECT_DOUBLE_EQ(node.JointDischarge_SCMH, Convert(unt_m3_sec, unt_SCMH, 0.01, gas));
    EXPECT_EQ(node.JointDemandUseFlowType, VolumeFlow);

    // Gas demands in a liquid zone: volume flow in the settings' unit.
    node.JointDemandUseFlowType = GasFlow;
    settings.UnitOfFlow = unt_L_sec;
    Open(water, [](TDemandsForm &f) {
        EXPECT_EQ(f.ComboBoxDemandOutUnits->count(), 20);
        EXPECT_EQ(f.ComboBoxDemandOutUnits->currentText(), "l/sec");
        EXPECT_EQ(f.RightEditDemandInFlow->text(), "20.0000");
        EXPECT_EQ(f.RightEditDemandOutFlow->text(), "10.0000");
    });

    // A settings unit the list does not offer falls back to kg/hour.
    node.JointDemandUseFlowType = VolumeFlow;
    settings.UnitOfFlow = unt_MGD_UK;
    Open(water, [](TDemandsForm &f) { EXPECT_EQ(f.ComboBoxDemandInUnits->currentText(), "kg/hour"); });
}

TEST_F(DemandsForm, BothListsShowOneUnitAndBothBoxesFollow)
{
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointSupply_m3s = 0.02;
    node.JointDischarge_m3s = 0.001;
    dialogs.Expect(TDialogKind::Information, "The Demand Flow values will be converted and displayed in the current "
                                             "default unit for mass flow, which is kg/sec\r\rThis unit can be changed "
                                             "on the Units tab of the Configuration Options screen.\r");
    Open(water, [](TDemandsForm &f) {
        PickUnit(f.ComboBoxDemandOutUnits, "kg/hour");
        EXPECT_EQ(f.ComboBoxDemandInUnits->currentText(), "kg/hour");
        // Both boxes are shown again in the new unit.
        EXPECT_EQ(f.RightEditDemandInFlow->text(), "72000.0000");
        EXPECT_EQ(f.RightEditDemandOutFlow->text(), "3600.0000");
        f.RightEditDemandInFlow->setText("36000");
        Click(f.ButtonOK);
    });
    EXPECT_EQ(node.JointDemandUseFlowType, MassFlow);
    EXPECT_DOUBLE_EQ(node.JointSupply_kgs, 10);
    EXPECT_DOUBLE_EQ(node.JointSupply_m3s, 0.01);
    EXPECT_DOUBLE_EQ(node.JointDischarge_m3s, 0.001);
}

TEST_F(DemandsForm, WriteBackOfEveryFormAndItsMessages)
{
    struct Case {
        const char *name;
        double storedIn, storedOut;
        std::function<void(TDemandsForm &)> user;
        std::vector<QString> messages;
        double in, out;
    };
    const Case cases[] = {
        {"empty out-flow", 0.02, 0.01,
         [](TDemandsForm &f) {
             f.RightEditDemandOutFlow->clear();
             Click(f.ButtonOK);
         },
         {OutFlowInvalid}, 0.02, 0},
        {"Clear", 0.02, 0.01,
         [](TDemandsForm &f) {
             Click(f.ButtonClear);
             EXPECT_EQ(f.RightEditDemandInFlow->text(), "0.0");
             Click(f.ButtonOK);
         },
         {}, 0, 0},
        {"a demand below the box's decimals", 0.00001, 0.000002,
         [](TDemandsForm &f) {
             EXPECT_EQ(f.RightEditDemandInFlow->text(), "0.0000");
             Click(f.ButtonOK);
         },
         {}, 0.00001, 0.000002},
        {"Cancel", 0.02, 0.01,
         [](TDemandsForm &f) {
             f.RightEditDemandInFlow->setText("5");
             Click(f.ButtonCancel);
         },
         {}, 0.02, 0.01},
    };
    for (const Case &c : cases) {
        node.JointDemandUseFlowType = VolumeFlow;
        node.JointSupply_m3s = c.storedIn;
        node.JointSupply_kgs = c.storedIn * 1000;
        node.JointDischarge_m3s = c.storedOut;
        for (const QString &message : c.messages)
            dialogs.Expect(TDialogKind::Information, message);
        Open(water, c.user);
        EXPECT_DOUBLE_EQ(node.JointSupply_m3s, c.in) << c.name;
        EXPECT_DOUBLE_EQ(node.JointDischarge_m3s, c.out) << c.name;
        EXPECT_DOUBLE_EQ(node.JointSupply_kgs, c.in * 1000) << c.name;
        EXPECT_TRUE(dialogs.AllShown()) << c.name;
    }
}

TEST_F(DemandsForm, AVolumeUnitForAGasAlwaysGivesTheLongNotice)
{
    node.JointDemandUseFlowType = GasFlow;
    node.JointSupply_SCMH = 100;
    dialogs.Expect(TDialogKind::Information,
                   "The chosen Demand Flow units specify the Actual Volume of gas at the density defined in the fluid "
                   "properties for this fluid zone.\r\rThis is not defining the volume of gas at Standard Atmospheric "
                   "and Temperature conditions.\r\rFlow of gas is normally specified at 'Standard Volume Conditions', "
                   "such as\r\rSCMH (Standard Cubic Metres per Hour)\rSCFH (Standard Cubic Feet per Hour)\rSCFM "
                   "(Standard Cubic Feet per Minute)\rEtc.\r\rThe Demand Flow values will be converted and displayed "
                   "in the current default unit for gas flow at standard conditions, which is SCMH\r\rThe default gas "
                   "flow units can be selected on the Units tab of the Configuration Options screen, as can the "
                   "Standard Conditions model.\r");
    Open(gas, [](TDemandsForm &f) {
        EXPECT_EQ(f.RightEditDemandInFlow->text(), "100.0000");
        PickUnit(f.ComboBoxDemandInUnits, "m³/sec");
        Click(f.ButtonOK);
    });
    EXPECT_EQ(node.JointDemandUseFlowType, VolumeFlow);
    EXPECT_NEAR(node.JointSupply_SCMH, 100, 1e-9);
}

TEST_F(DemandsForm, ResultsModeTakesNoKeysAndWritesNothing)
{
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointSupply_m3s = 0.02;
    Open(
        water,
        [](TDemandsForm &f) {
            EXPECT_FALSE(f.ButtonOK->isEnabled());
            EXPECT_FALSE(f.ButtonClear->isEnabled());
            EXPECT_FALSE(f.ComboBoxDemandInUnits->isEnabled());
            QTest::keyClicks(f.RightEditDemandInFlow, "9");
            EXPECT_EQ(f.RightEditDemandInFlow->text(), "0.0200");
        },
        true);
    EXPECT_DOUBLE_EQ(node.JointSupply_m3s, 0.02);
}

} // namespace
} // namespace tessaran
