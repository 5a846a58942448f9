// A valve and a demand set through their dialogs hold in a solved network.

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/Demands_Form.h"
#include "dialogs/Flow_Control_Form.h"
#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "support/Scripted_User_Interface.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

template <class Form, class Open>
void WhileOpen(Form &form, Open open, const std::function<void(Form &)> &user)
{
    QTimer::singleShot(0, [&] {
        user(form);
        if (form.isVisible())
            form.reject();
    });
    open();
}

TEST(ValveAndDemandDialogs, APrvAndADemandSetInTheDialogsHoldWhenSolved)
{
    TNetwork network;
    test::TScriptedUserInterface ui;
    network.UserInterface = &ui;
    const int high = test::AddTank(network, "High", 0, 0, 6.0);
    const int a = test::AddSolverNode(network, "A", Joint);
    const int b = test::AddSolverNode(network, "B", Joint);
    test::AddSolverPipe(network, high, a, 100, 0.1, "feed");
    const int valvePipe = test::AddSolverPipe(network, a, b, 50, 0.1, "valve");

    test::TScriptedDialogs dialogs;
    TFlowControlForm valveForm;
    WhileOpen<TFlowControlForm>(
        valveForm, [&] { valveForm.OpenForm(network, valvePipe, network.ConfigOptions, false); },
        [](TFlowControlForm &f) {
            QTest::mouseClick(f.RadioButtonPRV, Qt::LeftButton);
            f.RightEditFlowControl->setText("3.5");
            QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
        });

    dialogs.Expect(TDialogKind::Information, "The Demand Flow values will be converted and displayed in the current "
                                             "default unit for volumetric flow, which is m³/sec\r\rThis unit can be "
                                             "changed on the Units tab of the Configuration Options screen.\r");
    TDemandsForm demandsForm;
    WhileOpen<TDemandsForm>(
        demandsForm,
        [&] { demandsForm.OpenForm(network.GetNode(b), b, network.ConfigOptions, network.FluidZones[1].Fluid, false); },
        [](TDemandsForm &f) {
            const int item = f.ComboBoxDemandOutUnits->findText("l/min");
            f.ComboBoxDemandOutUnits->setCurrentIndex(item);
            emit f.ComboBoxDemandOutUnits->activated(item);
            f.RightEditDemandOutFlow->setText("120");
            QTest::mouseClick(f.ButtonOK, Qt::LeftButton);
        });

    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    network.SolveNetwork(solved, solutionOk, log, privateLog);
    ASSERT_TRUE(solved) << ::testing::PrintToString(log.Lines);
    EXPECT_TRUE(solutionOk) << ::testing::PrintToString(log.Lines);
    EXPECT_NEAR(network.GetNode(b).Pressure_Bar_g, 3.5, 1e-6);
    EXPECT_NEAR(network.GetPipe(valvePipe).FlowUncompressed_m3s, 0.002, 1e-9);
    EXPECT_GT(network.GetNode(a).Pressure_Bar_g, 3.5);

    WhileOpen<TFlowControlForm>(
        valveForm, [&] { valveForm.OpenForm(network, valvePipe, network.ConfigOptions, false); },
        [](TFlowControlForm &f) {
            EXPECT_TRUE(f.RadioButtonPRV->isChecked());
            EXPECT_EQ(f.RightEditFlowControl->text(), "3.5000");
        });
    WhileOpen<TDemandsForm>(
        demandsForm,
        [&] { demandsForm.OpenForm(network.GetNode(b), b, network.ConfigOptions, network.FluidZones[1].Fluid, false); },
        [](TDemandsForm &f) {
            EXPECT_EQ(f.ComboBoxDemandOutUnits->currentText(), "m³/sec");
            EXPECT_EQ(f.RightEditDemandOutFlow->text(), "0.0020");
        });
    EXPECT_EQ(network.GetPipe(valvePipe).FlowControl.ControlType, PRV);
    EXPECT_DOUBLE_EQ(network.GetNode(b).JointDischarge_m3s, 0.002);
}

} // namespace
} // namespace tessaran
