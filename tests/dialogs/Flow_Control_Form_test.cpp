#include "dialogs/Flow_Control_Form.h"

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "network/Network_Class.h"
#include "network/Network_Fixture.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Calculations.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString PrvRefused = "A PRV cannot be placed on a pipe that flows in to a Tank or End Pressure node. \r\rA PRV "
                           "control can only be added to a pipe that flows in to a Join Point. \r\rThe control valve "
                           "type will be set to FCV (Flow Control Valve).";
const QString BpvRefused = "A BPV cannot be placed on a pipe that comes out of a Tank.\r\rA BPV control can only be "
                           "added to a pipe that flows out of a Join Point. \r\rThe control valve type will be set to "
                           "FCV (Flow Control Valve).";

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void PickUnit(TFlowControlForm &f, const QString &unit)
{
    const int index = f.ComboBoxFlowControlUnits->findText(unit);
    ASSERT_GE(index, 0) << unit.toStdString();
    f.ComboBoxFlowControlUnits->setCurrentIndex(index);
    emit f.ComboBoxFlowControlUnits->activated(index);
}

// Tank T -> joint A -> joint B -> end pressure E, and a branch B -> C;
// pipe ids in that order, 100 mm bore. Zone 2 holds a gas.
class FlowControlForm : public ::testing::Test {
protected:
    FlowControlForm()
    {
        const int t = test::AddJoint(network, 0, 0, Tank);
        const int a = test::AddJoint(network, 100, 0);
        const int b = test::AddJoint(network, 200, 0);
        const int e = test::AddJoint(network, 300, 0, EndPressure);
        const int c = test::AddJoint(network, 200, 100);
        tankToA = test::AddPipeBetween(network, t, a);
        aToB = test::AddPipeBetween(network, a, b);
        bToEnd = test::AddPipeBetween(network, b, e);
        bToC = test::AddPipeBetween(network, b, c);
        for (int id : {tankToA, aToB, bToEnd, bToC})
            network.GetPipe(id).InnerDiameter_m = 0.1;
        network.FluidZonesCount = 2;
        TFluid &gas = network.FluidZones[2].Fluid;
        gas.FluidIsGas = true;
        gas.density_kgs_m3 = 10;
        gas.degrees_K = 288.15;
        gas.pressure_bar_g = 7;
    }
    // Opens the dialog on a pipe; user acts while it is up (not called when
    // the dialog refuses to open).
    bool Open(int pipeId, const std::function<void(TFlowControlForm &)> &user, bool resultsMode = false)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (!form.isVisible())
                return;
            shown = true;
            user(form);
            if (form.isVisible())
                Click(form.ButtonCancel);
        });
        form.OpenForm(network, pipeId, network.ConfigOptions, resultsMode);
        QApplication::processEvents();
        return shown;
    }
    TPipe &Pipe(int id) { return network.GetPipe(id); }

public:
    TNetwork network;
    test::TScriptedDialogs dialogs;
    TFlowControlForm form;
    int tankToA = 0, aToB = 0, bToEnd = 0, bToC = 0;
};

TEST_F(FlowControlForm, ValvesStandWhereTheirKindAllows)
{
    struct Case {
        const char *name;
        int FlowControlForm::*pipe;
        int kind; // 0 FCV, 1 PRV, 2 BPV
        const QString *refusal;
        TControlType stored;
        double position;
    };
    const Case cases[] = {
        {"FCV", &FlowControlForm::aToB, 0, nullptr, FCV, 70.0},
        {"PRV into a joint", &FlowControlForm::tankToA, 1, nullptr, PRV, 98.0},
        {"PRV into an end pressure", &FlowControlForm::bToEnd, 1, &PrvRefused, FCV, 70.0},
        {"BPV out of a joint", &FlowControlForm::aToB, 2, nullptr, BPV, 3.0},
        {"BPV out of a tank", &FlowControlForm::tankToA, 2, &BpvRefused, FCV, 70.0},
    };
    for (const Case &c : cases) {
        const int id = this->*c.pipe;
        for (int other : {tankToA, aToB, bToEnd, bToC}) {
            Pipe(other).FlowControlCount = 0;
            Pipe(other).FlowControlPositionPercentageAlongPipe = 0;
        }
        if (c.refusal)
            dialogs.Expect(TDialogKind::Information, *c.refusal);
        EXPECT_TRUE(Open(id, [&](TFlowControlForm &f) {
            EXPECT_TRUE(f.RadioButtonFCV->isChecked());
            EXPECT_EQ(f.RightEditFlowControl->text(), "0.0000");
            EXPECT_EQ(f.LabelFlowControlUnits->text(), "m³/sec");
            Click(c.kind == 0 ? f.RadioButtonFCV : c.kind == 1 ? f.RadioButtonPRV : f.RadioButtonBPV);
            EXPECT_EQ(f.RadioButtonFCV->isChecked(), c.stored == FCV) << c.name;
            Click(f.ButtonOK);
        })) << c.name;
        EXPECT_EQ(Pipe(id).FlowControlCount, 1) << c.name;
        EXPECT_EQ(Pipe(id).FlowControl.ControlType, c.stored) << c.name;
        EXPECT_EQ(Pipe(id).FlowControlPositionPercentageAlongPipe, c.position) << c.name;
    }
}

TEST_F(FlowControlForm, OneValvePerJunction)
{
    Pipe(aToB).FlowControlCount = 1;
    dialogs.Expect(TDialogKind::Warning,
                   "A control valve (FCV,PRV,BPV) cannot be added to this pipe.\r\rOne of the pipes joining to this "
                   "pipe or from this pipe already contains a control valve.\r\rTo add a control valve to this pipe "
                   "there must be no joining pipes that contain a control valve.");
    EXPECT_FALSE(Open(bToC, [](TFlowControlForm &) {}));
    EXPECT_EQ(Pipe(bToC).FlowControlCount, 0);
    // The pipe that has the valve opens as usual.
    EXPECT_TRUE(Open(aToB, [](TFlowControlForm &) {}));
}

TEST_F(FlowControlForm, UnitListsAndAUnitChangeUndoneByCancel)
{
    Open(aToB, [](TFlowControlForm &f) { EXPECT_EQ(f.ComboBoxFlowControlUnits->count(), 20); });
    Pipe(bToC).FluidZoneIndex = 2;
    Open(bToC, [](TFlowControlForm &f) {
        EXPECT_EQ(f.ComboBoxFlowControlUnits->count(), 30);
        EXPECT_EQ(f.ComboBoxFlowControlUnits->itemData(0, Qt::BackgroundRole).value<QColor>(), QColor(0xF0, 0xF0, 0xF0));
        EXPECT_EQ(f.ComboBoxFlowControlUnits->itemData(14, Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
        EXPECT_EQ(f.ComboBoxFlowControlUnits->itemText(29), "MMSCFD");
    });

    // A valve of 36 m³/hour.
    TFlowControl &valve = Pipe(aToB).FlowControl;
    Pipe(aToB).FlowControlCount = 1;
    valve.FlowControl_m3s = 0.01;
    valve.FlowControlDisplayUnit = unt_m3_hour;
    const double density = network.FluidZones[1].Fluid.density_kgs_m3;
    Open(aToB, [&](TFlowControlForm &f) {
        EXPECT_EQ(f.RightEditFlowControl->text(), "36.0000");
        PickUnit(f, "kg/hour");
        EXPECT_EQ(f.RightEditFlowControl->text(), QString::fromStdString(formatFixed(4, 36 * density)));
        EXPECT_EQ(f.LabelFlowControlUnits->text(), "kg/hour");
        EXPECT_EQ(Pipe(aToB).FlowControl.FlowControlFlowType, MassFlow);
        EXPECT_EQ(f.RightEditFlowControl->width(), 67);
        f.RightEditFlowControl->setText("7200");
        EXPECT_NEAR(Pipe(aToB).FlowControl.FlowControl_kgs, 2.0, 1e-12);
        f.RightEditFlowControl->setText("123456789.01");
        EXPECT_EQ(f.RightEditFlowControl->width(), 80);
        f.RightEditFlowControl->setText("7200");
        Click(f.ButtonCancel);
    });
    EXPECT_EQ(valve.FlowControlDisplayUnit, unt_m3_hour);
    EXPECT_EQ(valve.FlowControlFlowType, VolumeFlow);
    EXPECT_DOUBLE_EQ(valve.FlowControl_m3s, 0.01);
}

TEST_F(FlowControlForm, OkChecksEveryEntry)
{
    const QString emptyFlow = "Flow value is empty. \r\rFlow will be set to zero. \r\rPlease reset the Flow to a valid "
                              "value.";
    const QString invalidFlow = "Flow value entered is invalid. \r\rPlease reset the Flow to a valid value.";
    const QString emptyFrom =
        "From dP value is empty. \r\rFrom dP will be set to zero. \r\rPlease reset the From dP to a valid value.";
    const QString invalidFrom = "From dP value entered is invalid. \r\rPlease reset the From dP to a valid value.";
    const QString emptyTo = "To dP value is empty. \r\rTo dP will be set to zero. \r\rPlease reset the To dP to a "
                            "valid value.";
    const QString invalidTo = "To dP value entered is invalid. \r\rPlease reset the To dP to a valid value.";
    const QString badRange = "The dP range entered is invalid. \r\rPlease reset the From dP to be less than the To dP "
                             "value.";
    const QString notAbove0 = "The dP range values must be numbers greater than zero. \r\rPlease reset the From dP and To dP "
                              "to valid values.";
    struct Case {
        QString flow, from, to;
        std::vector<const QString *> messages;
    };
    const Case cases[] = {
        {"", "", "", {&emptyFlow}},
        {"1.2x", "", "", {&invalidFlow}},
        {"1", "", "1", {&emptyFrom}},
        {"1", "a", "1", {&invalidFrom}},
        {"1", "1", "", {&emptyTo}},
        {"1", "1", "1x", {&invalidTo}},
        {"1", "1", "1..", {&notAbove0}}, // number-like text that reads as no number
        {"1", "1.5", "1.5", {&badRange}},
        {"1", "0", "1.5", {&notAbove0}},
        {"", "", "", {&emptyFlow, &emptyFrom, &emptyTo}}, // every check runs
        {"0.01", "0.5", "1.5", {}},
    };
    int index = 0;
    for (const Case &c : cases) {
        const bool withRange = index++ >= 2;
        for (const QString *message : c.messages)
            dialogs.Expect(TDialogKind::Information, *message);
        bool stayedOpen = false;
        Open(aToB, [&](TFlowControlForm &f) {
            f.RightEditFlowControl->setText(c.flow);
            f.CheckBoxIncludeDpRange->setChecked(withRange);
            f.RightEditFromDpRange->setText(c.from);
            f.RightEditToDpRange->setText(c.to);
            Click(f.ButtonOK);
            stayedOpen = f.isVisible();
            if (c.flow.isEmpty())
                EXPECT_EQ(f.RightEditFlowControl->text(), "0");
        });
        EXPECT_EQ(stayedOpen, !c.messages.empty()) << c.flow.toStdString() << " " << c.from.toStdString();
        EXPECT_TRUE(dialogs.AllShown());
    }
    const TFlowControl &valve = Pipe(aToB).FlowControl;
    EXPECT_EQ(Pipe(aToB).FlowControlCount, 1);
    EXPECT_TRUE(valve.UseAllowedDpRange);
    EXPECT_DOUBLE_EQ(valve.MinAllowedDp_Bar_g, 0.5);
    EXPECT_DOUBLE_EQ(valve.MaxAllowedDp_Bar_g, 1.5);
    EXPECT_DOUBLE_EQ(valve.FlowControl_m3s, 0.01);
}

TEST_F(FlowControlForm, HighVelocitiesAreWarnedOfAfterOk)
{
    // 0.5 m³/s through 100 mm.
    const double velocity = calcVelocity(0.5, 0.1, 1.0);
    dialogs.Expect(TDialogKind::Warning, "The set flow rate is high in comparison to the current diameter of the "
                                         "pipe.\r\rThis will cause a High Liquid Flow Velocity (" +
                                             QString::fromStdString(formatFixed(3, velocity)) + "m/sec)");
    Open(aToB, [](TFlowControlForm &f) {
        f.RightEditFlowControl->setText("0.5");
        Click(f.ButtonOK);
    });
    EXPECT_DOUBLE_EQ(Pipe(aToB).Velocity_ms, velocity);
    EXPECT_DOUBLE_EQ(Pipe(aToB).FlowUncompressed_m3s, 0.5);

    // A gas in m³/sec: the velocity warning names the pressure below which
    // the gas would flow too fast, then the note on volumetric units.
    Pipe(aToB).FlowControlCount = 0;
    Pipe(bToC).FluidZoneIndex = 2;
    const double highGas = network.ConfigOptions.getHighGasVelocity_ms();
    const double gasVelocity = calcVelocity(1.0, 0.1, 1.0);
    const double limit = (7 + 1.01325) * gasVelocity / highGas - 1.01325;
    dialogs.Expect(TDialogKind::Warning,
                   "When the system is solved:\r\rIf the pressure after the FCV is lower than " +
                       QString::fromStdString(formatFixed(unitDecimals(unt_Bar_G), limit)) +
                       " bar.g then this will cause a Gas Flow Velocity > " +
                       QString::fromStdString(formatFixed(3, highGas)) +
                       " m/sec\r\rThe high velocity warning value can be set on the Calculations Tab of Configuration "
                       "Options screen.");
    dialogs.Expect(TDialogKind::Confirmation,
                   "The FCV is currently showing in units of volumetric flow (m³/sec) \r\rThe flow rate refers to the "
                   "volume of flow at the current fluid zone density used with this pipe (" +
                       QString::fromStdString(formatFixed(unitDecimals(unt_kg_m3), 10)) +
                       "kg/m³).\r\rNOTE: \rThis is not a volume at standard conditions (unless the fluid data is "
                       "defined for standard conditions).\r\rUse Gas Flow units such as SCMH to define flow rate in "
                       "standard volume.\r");
    Open(bToC, [](TFlowControlForm &f) {
        f.RightEditFlowControl->setText("1.0");
        Click(f.ButtonOK);
    });
}

TEST_F(FlowControlForm, SetPressuresKeepToTheirUnitAndAboveVacuum)
{
    dialogs.Expect(TDialogKind::Information, "The pressure value is less than that of a perfect vacuum, i.e. < 0.0 "
                                             "bar absolute.\r\rThe  value will be set to 0.0 bar absolute (or "
                                             "equivalent in other units).\r\r ");
    Open(tankToA, [this](TFlowControlForm &f) {
        Click(f.RadioButtonPRV);
        EXPECT_EQ(f.LabelFlowControl->text(), "Set Pressure");
        f.RightEditFlowControl->setText("-2");
        EXPECT_EQ(f.RightEditFlowControl->text(), QString::fromStdString(formatFixed(unitDecimals(unt_Bar_G), -1.01325)));
        EXPECT_DOUBLE_EQ(Pipe(tankToA).FlowControl.RegulatedPressure_Bar_g, -1.01325);
        f.RightEditFlowControl->setText("3.5");
        Click(f.ButtonOK);
    });
    EXPECT_DOUBLE_EQ(Pipe(tankToA).FlowControl.RegulatedPressure_Bar_g, 3.5);

    // In an absolute unit the set pressure and the range read as the box
    // shows them.
    network.ConfigOptions.UnitOfSurfacePressure = unt_Bar_A;
    Open(tankToA, [](TFlowControlForm &f) {
        EXPECT_EQ(f.RightEditFlowControl->text(), QString::fromStdString(formatFixed(unitDecimals(unt_Bar_A), 4.51325)));
        f.RightEditFlowControl->setText("5.5");
        f.CheckBoxIncludeDpRange->setChecked(true);
        f.RightEditFromDpRange->setText("0.5");
        f.RightEditToDpRange->setText("1.5");
        Click(f.ButtonOK);
    });
    const TFlowControl &valve = Pipe(tankToA).FlowControl;
    EXPECT_NEAR(valve.RegulatedPressure_Bar_g, 5.5 - 1.01325, 1e-12);
    EXPECT_NEAR(valve.MinAllowedDp_Bar_g, 0.5, 1e-12);
    EXPECT_NEAR(valve.MaxAllowedDp_Bar_g, 1.5, 1e-12);
}

TEST_F(FlowControlForm, CancelDeleteAndResultsModeLeaveTheValveAsTheyShould)
{
    TPipe &pipe = Pipe(aToB);
    pipe.FlowControlCount = 1;
    pipe.FlowControlPositionPercentageAlongPipe = 40;
    pipe.FlowControl.FlowControl_m3s = 0.00001; // shows as 0.0000 m³/sec
    pipe.FlowControl.Name = "Valve 1";

    // A PRV refused on OK, then Cancel: nothing moved.
    dialogs.Expect(TDialogKind::Information, "Pressure value is empty. \r\rPressure will be set to zero. \r\rPlease "
                                             "reset the Pressure to a valid value.");
    Open(aToB, [](TFlowControlForm &f) {
        Click(f.RadioButtonPRV);
        f.RightEditFlowControl->clear();
        Click(f.ButtonOK);
        EXPECT_TRUE(f.isVisible());
        Click(f.ButtonCancel);
    });
    EXPECT_EQ(pipe.FlowControlPositionPercentageAlongPipe, 40);
    EXPECT_EQ(pipe.FlowControl.ControlType, FCV);

    // Opening and OK keep a flow too small for the box's decimals.
    Open(aToB, [](TFlowControlForm &f) { Click(f.ButtonOK); });
    EXPECT_DOUBLE_EQ(pipe.FlowControl.FlowControl_m3s, 0.00001);
    EXPECT_EQ(pipe.FlowControl.Name, "Valve 1");

    Open(
        aToB,
        [](TFlowControlForm &f) {
            EXPECT_FALSE(f.ButtonOK->isEnabled());
            EXPECT_FALSE(f.RightEditFlowControl->isEnabled());
            EXPECT_TRUE(f.ButtonCancel->isEnabled());
        },
        true);
    EXPECT_EQ(pipe.FlowControlCount, 1);

    Open(aToB, [](TFlowControlForm &f) { Click(f.ButtonDelete); });
    EXPECT_EQ(pipe.FlowControlCount, 0);
    EXPECT_EQ(pipe.FlowControlPositionPercentageAlongPipe, 0.0);
    EXPECT_EQ(pipe.FlowControl.Name, "");
}

} // namespace
} // namespace tessaran
