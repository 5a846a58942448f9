#include "Sample_Pump.h"
#include "pumps/Pump_Data_Form.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Database_Class.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void Pick(QComboBox *list, const QString &caption)
{
    const int index = list->findText(caption);
    ASSERT_GE(index, 0) << caption.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

using Rows = std::vector<std::vector<QString>>;

void FillGrid(TPumpDataForm &f, const Rows &rows)
{
    for (int r = 2; r <= 11; ++r)
        for (int c = 0; c < 4; ++c)
            f.SetCell(c, r, QString());
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t c = 0; c < rows[i].size(); ++c)
            f.SetCell(static_cast<int>(c), static_cast<int>(i) + 2, rows[i][c]);
}

const QString AtLeast3 = "At least 3 points on the pump curve must be specified\rbefore a graph can be drawn.\r\rPlease "
                         "enter the values in grid on the left hand side.";
const QString HeadTrend = "The head points should generally decrease as the flow increases such that the last head "
                          "value is less than the first head value.\r\rPlease re-enter the head values to meet this "
                          "requirement.";

// A pump of five points at 1450 rpm and 250 mm, in m³/h and m of fluid.
void MakePump(TPump &pump, double density = 1000) { test::MakeSamplePump(pump, 1450, density); }

// Tank (elevation 2 m) -> pump pipe -> joint -> end pressure (elevation 5 m).
class PumpDataForm : public ::testing::Test {
protected:
    PumpDataForm()
    {
        tank = test::AddTank(network, "T", 2.0);
        joint = test::AddSolverNode(network, "J", Joint, 3.0);
        outlet = test::AddSolverNode(network, "E", EndPressure, 5.0);
        pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
        test::AddSolverPipe(network, joint, outlet, 200, 0.1, "Out");
        MakePump(pump, density());
    }

    // Opens the editor on the pump pipe; the user acts while it is up and
    // the editor is cancelled if still open.
    void Open(const std::function<void(TPumpDataForm &)> &user, bool resultsMode = false)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            TPumpDataForm &f = TPumpDataForm::Instance();
            if (!f.isVisible())
                return;
            shown = true;
            user(f);
            if (f.isVisible())
                Click(f.BitBtnCancelPump);
        });
        TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, resultsMode);
        QApplication::processEvents();
        EXPECT_TRUE(shown);
    }

public:
    double density() const { return network.FluidZones[1].Fluid.density_kgs_m3; }
    TPipe &Pipe() { return network.GetPipe(pumpPipe); }
    TNetwork network;
    TPumpDatabase database;
    test::TScriptedDialogs dialogs;
    TPump pump;
    bool deleted = false;
    int tank = 0, joint = 0, outlet = 0, pumpPipe = 0;
};

TEST_F(PumpDataForm, GridCheckTable)
{
    struct Case {
        const char *name;
        Rows rows;
        bool valid;
        int firstBlankRow;
        QString message;
    };
    const Case cases[] = {
        {"empty grid", {}, false, 2, AtLeast3},
        {"three points", {{"0", "50"}, {"10", "45"}, {"20", "30"}}, true, 5, ""},
        // With two points the trend check compares point 2 with point 1.
        {"two points, head falling", {{"0", "50"}, {"10", "45"}}, false, 4, HeadTrend},
        {"two points, head rising", {{"0", "40"}, {"10", "45"}}, false, 4, AtLeast3},
        {"equal flows", {{"0", "50"}, {"10", "45"}, {"10", "40"}, {"30", "20"}}, false, 6,
         "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid for "
         "point 3."},
        {"text in a cell", {{"0", "50"}, {"10", "4S"}, {"20", "30"}}, false, 12,
         "Pump data for row 3 column 2 is not valid.\r\rCheck your entries and adjust the values to valid numbers."},
        {"blank row between", {{"0", "40"}, {"10", "45"}, {"20", "30"}, {}, {"40", "10"}}, false, 5,
         "Pump data points cannot contain a blank row between two completed rows.\r\rCheck your entry and adjust "
         "the values."},
        {"NPSHr falling", {{"0", "50", "0", "3"}, {"10", "45", "50", "3"}, {"20", "30", "60", "2"}}, false, 5,
         "The NPSHr points entered should generally increase as the flow increases such that the last NPSHr value is "
         "greater than the first NPSHr value.\r\rPlease re-enter the NPSHr values to meet this requirement."},
    };
    TPumpDataForm form;
    for (const Case &c : cases) {
        FillGrid(form, c.rows);
        bool valid = !c.valid;
        int firstBlankRow = 0;
        QString message;
        form.CheckStringGridValid(valid, firstBlankRow, message);
        EXPECT_EQ(valid, c.valid) << c.name;
        EXPECT_EQ(firstBlankRow, c.firstBlankRow) << c.name;
        EXPECT_EQ(message.toStdString(), c.message.toStdString()) << c.name;
    }
    // The efficiency and NPSHr columns, left empty, are completed with "0".
    FillGrid(form, {{"0", "50"}, {"10", "45"}, {"20", "30"}});
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    form.CheckStringGridValid(valid, firstBlankRow, message);
    for (int r = 2; r <= 4; ++r) {
        EXPECT_EQ(form.Cell(2, r), "0") << r;
        EXPECT_EQ(form.Cell(3, r), "0") << r;
    }
    EXPECT_EQ(form.Cell(2, 5), "");
}

TEST_F(PumpDataForm, TenRowsAndARefusedRowLeavesTheCurveWhole)
{
    TPumpDataForm form;
    TPump target;
    MakePump(target, density());
    target.PumpPoints.FlowDisplayUnit = unt_m3_sec;
    Rows ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back({QString::number(i * 0.01), QString::number(60 - i * i * 0.5), QString::number(i * 5), "1"});
    FillGrid(form, ten);
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    form.CheckStringGridValid(valid, firstBlankRow, message);
    EXPECT_TRUE(valid) << message.toStdString();
    EXPECT_EQ(firstBlankRow, 12);
    form.UpdatePumpFromStringGrid(target, valid);
    ASSERT_TRUE(valid);
    EXPECT_EQ(target.PumpPoints.PointsCount, 10);
    EXPECT_NEAR(target.PumpPoints.Points[10].Flow_m3s, 0.09, 1e-12);

    // A negative efficiency passes the text check but not the reading: the
    // curve read before stays whole.
    const TPumpPoints before = target.PumpPoints;
    FillGrid(form, {{"0", "50", "0", "1"}, {"0.01", "45", "60", "1"}, {"0.02", "30", "-5", "2"}});
    dialogs.Expect(TDialogKind::Information,
                   "Pump data for row 3 is not valid.\r\rCheck your entries and adjust the values to valid numbers.");
    form.UpdatePumpFromStringGrid(target, valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(target.PumpPoints, before);
}

TEST_F(PumpDataForm, OpensOnThePipesPumpAndCancelKeepsIt)
{
    Pipe().PumpCount = 1;
    Pipe().PumpElevation_m = 0;
    const TPump before = [&] {
        TPump copy;
        copy.CopyPump(pump);
        return copy;
    }();
    Open([&](TPumpDataForm &f) {
        EXPECT_EQ(f.windowTitle(), "Pump Data");
        EXPECT_TRUE(f.RadioButtonFixedSpeed->isChecked());
        EXPECT_EQ(f.ComboBoxPumpFlowUnits->currentText(), "m³/hour");
        EXPECT_EQ(f.ComboBoxPumpHeadUnits->currentText(), "m Fluid");
        EXPECT_EQ(f.Cell(0, 3), "20.0000");
        EXPECT_EQ(f.Cell(1, 3), "48.000");
        EXPECT_EQ(f.Cell(2, 3), "50.00");
        EXPECT_EQ(f.RightEditPumpSpeed->text(), "1450");
        EXPECT_EQ(f.RightEditImpellerDiameter->text(), "250.000");
        EXPECT_EQ(f.BitBtnDrawGraph->text(), "Draw Graph");
        EXPECT_TRUE(f.StringGridPumpPoints->isEnabled());
        EXPECT_FALSE(f.EditingBaseData); // until a speed or diameter is typed
        EXPECT_FALSE(f.PanelWarning->isVisible());
        EXPECT_EQ(f.GroupBoxPumpData->title(), " Details of pump on pipe 1, Pumped ");
        f.EditPumpName->setText("Changed");
        f.SetCell(1, 3, "47");
        EXPECT_EQ(f.EditedPump.Name, "Changed");
    });
    EXPECT_FALSE(deleted);
    EXPECT_EQ(pump.Name, before.Name);
    EXPECT_EQ(pump.PumpPoints, before.PumpPoints);
    // The pump stands at the start node's elevation from the first opening.
    EXPECT_DOUBLE_EQ(Pipe().PumpElevation_m, 2.0);

    // In a gas zone the pump is a fan, blower or compressor.
    network.FluidZonesCount = 2;
    network.FluidZones[2].Fluid = network.FluidZones[1].Fluid;
    network.FluidZones[2].Fluid.FluidIsGas = true;
    Pipe().FluidZoneIndex = 2;
    Open([](TPumpDataForm &f) { EXPECT_EQ(f.windowTitle(), "Pump Data (Fan / Blower / Compressor)"); });
}

TEST_F(PumpDataForm, ResultsModeIsReadOnlyAndTheCloseBoxAsksOnlyInDesignMode)
{
    Open(
        [](TPumpDataForm &f) {
            EXPECT_TRUE(f.PanelWarning->isVisible());
            EXPECT_FALSE(f.StringGridPumpPoints->isEnabled());
            EXPECT_FALSE(f.BitBtnSavePump->isEnabled());
            EXPECT_FALSE(f.BitBtnDeletePump->isEnabled());
            EXPECT_FALSE(f.RadioButtonFixedFlow->isEnabled());
            EXPECT_FALSE(f.SaveToPipe1->isEnabled());
            EXPECT_TRUE(f.BitBtnCancelPump->isEnabled());
            EXPECT_TRUE(f.LabelOrigCurve->isVisible());
            f.close(); // no question in results mode
            EXPECT_FALSE(f.isVisible());
        },
        true);

    const QString closeQuestion = "To save changes you must click Save Pump.\r\rCancel without saving changes?";
    Open([&](TPumpDataForm &f) {
        f.EditPumpName->setText("Renamed");
        dialogs.Expect(TDialogKind::Confirmation, closeQuestion, DialogNo);
        f.close();
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.EditedPump.Name, "Renamed");
        dialogs.Expect(TDialogKind::Confirmation, closeQuestion, DialogYes);
        f.close();
        EXPECT_FALSE(f.isVisible());
        // Every close puts the saved pump back into the working copy.
        EXPECT_EQ(f.EditedPump.Name, "P-1");
    });
    EXPECT_EQ(pump.Name, "P-1");
}

TEST_F(PumpDataForm, SaveChecksTable)
{
    const QString equalDiameters = "The pump's Min Impeller Diameter must be less than the Max Impeller Diameter. \r";
    struct Case {
        const char *name;
        std::function<void(PumpDataForm &)> setUp;
        std::vector<QString> messages;
        bool saved;
    };
    const QString tooFar = QStringLiteral("The distance of the pump from the start of the pipe \rcannot be greater than "
                                          "the length of the pipe (") +
                           q(formatForUnit(unt_m, 100.0)) + " m)";
    const Case cases[] = {
        {"equal speeds pass",
         [](PumpDataForm &t) {
             t.pump.PumpSpeedMinRpm = 1450;
             t.pump.PumpSpeedMaxRpm = 1450;
         },
         {},
         true},
        {"speeds the wrong way round",
         [](PumpDataForm &t) {
             t.pump.PumpSpeedMinRpm = 1500;
             t.pump.PumpSpeedMaxRpm = 1400;
         },
         {"The pump's Min Speed must be less than the Max Speed. \r"},
         false},
        {"running speed outside",
         [](PumpDataForm &t) {
             t.pump.PumpSpeedMinRpm = 1000;
             t.pump.PumpSpeedMaxRpm = 1400;
         },
         {"The pump's Base Data Speed must be between the Min and Max Speed.\r"},
         false},
        {"equal diameters fail",
         [](PumpDataForm &t) {
             t.pump.PumpImpellerDiameterMin_m = 0.25;
             t.pump.PumpImpellerDiameterMax_m = 0.25;
         },
         {equalDiameters},
         false},
        {"base diameter outside the limits",
         [](PumpDataForm &t) {
             t.pump.PumpImpellerDiameterMin_m = 0.26;
             t.pump.PumpImpellerDiameterMax_m = 0.30;
         },
         {"The Impeller Diameter for the pump's base data must be greater than the Min Impeller size and less than "
          "the Max Impeller size. \r"},
         false},
        {"distance beyond the length and equal diameters: both told",
         [](PumpDataForm &t) {
             t.Pipe().PumpDistanceFromStartOfPipe_m = 150;
             t.pump.PumpImpellerDiameterMin_m = 0.25;
             t.pump.PumpImpellerDiameterMax_m = 0.25;
         },
         {tooFar, equalDiameters},
         false},
    };
    for (const Case &c : cases) {
        MakePump(pump, density());
        Pipe().PumpDistanceFromStartOfPipe_m = 0;
        Pipe().PumpPositionPercentageAlongPipe = 30;
        c.setUp(*this);
        pump.Name = "Before";
        bool closedBySave = false;
        Open([&](TPumpDataForm &f) {
            f.EditPumpName->setText("After");
            for (const QString &message : c.messages)
                dialogs.Expect(TDialogKind::Information, message);
            Click(f.BitBtnSavePump);
            closedBySave = !f.isVisible();
        });
        EXPECT_TRUE(dialogs.AllShown()) << c.name;
        EXPECT_EQ(closedBySave, c.saved) << c.name;
        EXPECT_EQ(pump.Name, c.saved ? "After" : "Before") << c.name;
        if (c.saved) {
            EXPECT_EQ(Pipe().PumpDistanceFromStartOfPipe_m, 0) << c.name;
            EXPECT_EQ(Pipe().PumpPositionPercentageAlongPipe, 0) << c.name;
        }
    }
}

TEST_F(PumpDataForm, SaveWithAnEmptyOrAPartGridClearAndDelete)
{
    // A partly filled grid: its message, the editor stays open.
    Open([&](TPumpDataForm &f) {
        FillGrid(f, {{"0", "40"}, {"10", "45"}});
        dialogs.Expect(TDialogKind::Information, AtLeast3);
        Click(f.BitBtnSavePump);
        EXPECT_TRUE(f.isVisible());
        // Cleared, it saves as a pump without a curve.
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to clear the pump curve data?\r", DialogYes);
        Click(f.BitBtnClearPump);
        EXPECT_TRUE(f.IsStringGridEmpty());
        Click(f.BitBtnSavePump);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(pump.PumpPoints.PointsCount, 0);

    MakePump(pump, density());
    const QString deleteQuestion = "Are you sure you wish to delete the pump \rand all pump data from this pipe?";
    Open([&](TPumpDataForm &f) {
        dialogs.Expect(TDialogKind::Confirmation, deleteQuestion, DialogNo);
        Click(f.BitBtnDeletePump);
        EXPECT_TRUE(f.isVisible());
        f.EditPumpName->setText("Edited");
        dialogs.Expect(TDialogKind::Confirmation, deleteQuestion, DialogYes);
        Click(f.BitBtnDeletePump);
    });
    EXPECT_TRUE(deleted);
    EXPECT_EQ(pump.Name, "P-1");
    EXPECT_EQ(pump.PumpPoints.PointsCount, 5);
}

TEST_F(PumpDataForm, MassFlowCurveIsNotedAndStoredAsVolumeFlow)
{
    pump.PumpPoints.FlowDisplayUnit = unt_kg_hour;
    Open([&](TPumpDataForm &f) {
        EXPECT_EQ(f.ComboBoxPumpFlowUnits->currentText(), "kg/hour");
        dialogs.Expect(
            TDialogKind::Confirmation,
            "Pump Curve is currently showing in units of mass flow (kg/hour) \r\rThe values will be converted and the "
            "pump's data will be stored in equivalent units of volumetric flow, based on the current fluid density "
            "used in this pipe (" +
                q(formatForUnit(unt_kg_m3, density())) +
                "kg/m³).\r\rNOTE: \rIf this pump is used on a pipe in a different fluid zone then the base data "
                "that is stored in volumetric flow will be converted to show the equivalent mass flow for the fluid "
                "in that zone. \r\ri.e. if this pump is used in a fluid zone with a different fluid density then the "
                "pump curve flow values (stored in volumetric flow) will convert to produce different mass flow values "
                "depending on the density of that fluid zone.\r");
        Click(f.BitBtnSavePump);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_NEAR(pump.PumpPoints.Points[2].Flow_m3s, 20.0 / 3600, 1e-9);
}

TEST_F(PumpDataForm, GridUnitChanges)
{
    Open([&](TPumpDataForm &f) {
        // A valid curve changes unit and shows its points converted.
        Pick(f.ComboBoxPumpFlowUnits, "US gpm");
        EXPECT_EQ(f.EditedPump.PumpPoints.FlowDisplayUnit, unt_gpm_USA);
        EXPECT_EQ(f.Cell(0, 3), q(convertUnitToString(unt_m3_hour, unt_gpm_USA, 4, 20)));
        // The points are read back from the grid as shown, in 4 decimals of US gpm.
        EXPECT_NEAR(f.EditedPump.PumpPoints.Points[2].Flow_m3s, 20.0 / 3600, 1e-7);
        EXPECT_EQ(f.LabelShowFlow->text(), "Flow US gpm");
        Pick(f.ComboBoxPumpHeadUnits, "ft Fluid");
        EXPECT_EQ(f.Cell(1, 3), q(convertHeadPressureUnitToString(unt_m_hd_fluid, unt_ft_hd_fluid, 3, 48, density())));
        EXPECT_EQ(f.Cell(3, 1), q(unitName(unt_ft_hd_fluid)));

        // An invalid curve of two rows asks to clear; No keeps the unit.
        const QString question = "The flow units can only be changed when there is a valid set of pump data or when "
                                 "the pump data is empty.\r\rClear the pump data and change the flow units?";
        FillGrid(f, {{"0", "50"}, {"10", "45"}});
        dialogs.Expect(TDialogKind::Information, question, DialogNo);
        Pick(f.ComboBoxPumpFlowUnits, "l/sec");
        EXPECT_EQ(f.ComboBoxPumpFlowUnits->currentText(), "US gpm");
        EXPECT_EQ(f.EditedPump.PumpPoints.FlowDisplayUnit, unt_gpm_USA);
        dialogs.Expect(TDialogKind::Information, question, DialogYes);
        Pick(f.ComboBoxPumpFlowUnits, "l/sec");
        EXPECT_EQ(f.EditedPump.PumpPoints.FlowDisplayUnit, unt_L_sec);
        EXPECT_TRUE(f.IsStringGridEmpty());
        EXPECT_EQ(f.EditedPump.PumpPoints.PointsCount, 0);

        // An invalid curve of three rows or more is refused with its message.
        FillGrid(f, {{"0", "50"}, {"10", "45"}, {"5", "30"}});
        dialogs.Expect(TDialogKind::Information, "The flow points entered must always be increasing in value.\r\r"
                                                 "Please re-enter the flow value in grid for point 3.");
        Pick(f.ComboBoxPumpHeadUnits, "bar.g");
        EXPECT_EQ(f.ComboBoxPumpHeadUnits->currentText(), "ft Fluid");
    });

    // A pump kept in m of water opens in mm of water.
    MakePump(pump, density());
    pump.PumpPoints.HeadDisplayUnit = unt_m_H2O;
    Open([](TPumpDataForm &f) {
        EXPECT_EQ(f.ComboBoxPumpHeadUnits->currentText(), "mm.H²O");
        EXPECT_EQ(f.EditedPump.PumpPoints.HeadDisplayUnit, unt_mm_H2O);
        EXPECT_EQ(f.EditedPump.PumpPoints.NPSHrDisplayUnit, unt_m_hd_fluid);
    });
}

TEST_F(PumpDataForm, EntryBoxes)
{
    pump.PumpMotorRpm = 1475;
    Open([&](TPumpDataForm &f) {
        TPump &p = f.EditedPump;
        // Set flow: kg/hour stored in kg/s and m³/s; l/min then shows it again.
        Click(f.RadioButtonFixedFlow);
        EXPECT_EQ(p.PumpType, PumpFixedFlow);
        EXPECT_TRUE(f.RightEditSetFlowRate->isEnabled());
        EXPECT_FALSE(f.StringGridPumpPoints->isEnabled());
        EXPECT_FALSE(f.BitBtnDrawGraph->isEnabled());
        Pick(f.ComboBoxSetFlowUnits, "kg/hour");
        f.RightEditSetFlowRate->setText("7200");
        EXPECT_NEAR(p.SetFlowRate_kgs, 2.0, 1e-12);
        EXPECT_NEAR(p.SetFlowRate_m3s, 2.0 / density(), 1e-12);
        Pick(f.ComboBoxSetFlowUnits, "l/min");
        EXPECT_EQ(f.RightEditSetFlowRate->text(), q(formatFixed(4, 2.0 / density() * 60000)));
        EXPECT_NEAR(p.SetFlowRate_m3s, 2.0 / density(), 1e-12);
        // An unreadable set flow becomes 0 in both units at the next unit change.
        f.RightEditSetFlowRate->setText("x");
        Pick(f.ComboBoxSetFlowUnits, "m³/hour");
        EXPECT_EQ(p.SetFlowRate_m3s, 0);
        EXPECT_EQ(p.SetFlowRate_kgs, 0);

        // Set head: bar.g stored in m of water, ft Fluid in m of fluid.
        Click(f.RadioButtonFixedHeadRise);
        EXPECT_EQ(p.PumpType, PumpFixedHead);
        Pick(f.ComboBoxSetFixedHeadUnits, "bar.g");
        f.RightEditSetFixedHead->setText("1");
        EXPECT_TRUE(p.SetFixedHead_Stored_mH2O);
        EXPECT_NEAR(p.SetFixedHead_FluidHead_m, convertUnit(unt_Bar_G, unt_m_H2O, 1.0), 1e-9);
        Pick(f.ComboBoxSetFixedHeadUnits, "ft Fluid");
        f.RightEditSetFixedHead->setText("10");
        EXPECT_FALSE(p.SetFixedHead_Stored_mH2O);
        EXPECT_NEAR(p.SetFixedHead_FluidHead_m, 3.048, 1e-9);

        Click(f.RadioButtonFixedSpeed);
        EXPECT_EQ(p.PumpType, PumpFixedSpeed);
        EXPECT_TRUE(f.StringGridPumpPoints->isEnabled());
        // Motor 0 is not stored; limits of 0 or empty are no limit.
        f.RightEditPumpMotorRpm->setText("0");
        EXPECT_EQ(p.PumpMotorRpm, 1475);
        f.RightEditPumpSpeedMinRpm->setText("1000");
        EXPECT_EQ(p.PumpSpeedMinRpm, 1000);
        f.RightEditPumpSpeedMinRpm->setText("0");
        EXPECT_EQ(p.PumpSpeedMinRpm, 0);
        f.RightEditImpellerDiameterMax->setText("270");
        EXPECT_NEAR(p.PumpImpellerDiameterMax_m, 0.27, 1e-12);
        f.RightEditImpellerDiameterMin->setText("");
        EXPECT_EQ(p.PumpImpellerDiameterMin_m, 0);
        f.RightEditPumpStages->setText("3");
        EXPECT_EQ(p.PumpStages, 3);

        // A typed speed moves the base data along while on the base data.
        f.RightEditPumpSpeed->clear();
        QTest::keyClicks(f.RightEditPumpSpeed, "2900");
        EXPECT_EQ(p.Speed_rpm, 2900);
        EXPECT_EQ(p.BaseDataSpeed_rpm, 2900);
        EXPECT_EQ(f.RightEditPumpSpeedRpmGraph->text(), "2900");
        // Key filters: no sign and at most 6 digits.
        QTest::keyClicks(f.RightEditPumpSpeed, "-12345");
        EXPECT_EQ(f.RightEditPumpSpeed->text().size(), 6);
        f.RightEditPumpStages->clear();
        QTest::keyClicks(f.RightEditPumpStages, "123");
        EXPECT_EQ(f.RightEditPumpStages->text(), "12");

        // The diameter unit converts all three diameters ...
        Pick(f.ComboBoxImpellerDiameterUnits, "metres");
        EXPECT_EQ(f.RightEditImpellerDiameter->text(), q(formatFixed(3, 0.25)));
        EXPECT_EQ(f.RightEditImpellerDiameterMax->text(), q(formatFixed(3, 0.27)));
        EXPECT_EQ(f.LabelPumpMinDiam->text(), "m");
        // ... the exact diameter kept, so the pump still runs on its base data.
        Pick(f.ComboBoxImpellerDiameterUnits, "inches");
        Pick(f.ComboBoxImpellerDiameterUnits, "millimetres");
        EXPECT_EQ(p.ImpellerDiameter_m, 0.25);
        EXPECT_TRUE(p.isRunningOnBaseData());
        // ... and with an empty box changes nothing, the list back on the pump's unit.
        f.RightEditImpellerDiameter->setText("");
        Pick(f.ComboBoxImpellerDiameterUnits, "feet");
        EXPECT_EQ(p.ImpellerDiameterDisplayUnit, unt_mm);
        EXPECT_EQ(f.ComboBoxImpellerDiameterUnits->currentText(), "millimetres");
        EXPECT_EQ(p.ImpellerDiameter_m, 0.25);

        // Text limits.
        QTest::keyClicks(f.EditPumpName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        EXPECT_EQ(p.Name.size(), 20u);
        f.MemoPumpNotes->setPlainText(QString(250, QLatin1Char('n')));
        EXPECT_EQ(p.NotesText().size(), 200u + 2u);
    });
}

TEST_F(PumpDataForm, PredictedDataLocksTheGridUntilEditOrigCurve)
{
    pump.Speed_rpm = 2900; // running off the base data
    Open([&](TPumpDataForm &f) {
        EXPECT_EQ(f.BitBtnDrawGraph->text(), "Edit Pump Points");
        EXPECT_FALSE(f.StringGridPumpPoints->isEnabled());
        EXPECT_FALSE(f.RightEditPumpSpeed->isEnabled());
        EXPECT_TRUE(f.RightEditPumpSpeedRpmGraph->isEnabled());
        EXPECT_FALSE(f.EditingBaseData);
        EXPECT_TRUE(f.LabelOrigCurve->isVisible());
        EXPECT_EQ(f.LabelOrigCurve->text(), "Speed: 1450 rpm, Diam: 250.000 mm");
        QTest::mouseClick(f.LabelOrigCurveText, Qt::LeftButton);
        EXPECT_EQ(f.EditedPump.Speed_rpm, 1450);
        EXPECT_EQ(f.BitBtnDrawGraph->text(), "Draw Graph");
        EXPECT_TRUE(f.StringGridPumpPoints->isEnabled());
        EXPECT_TRUE(f.EditingBaseData);
        EXPECT_FALSE(f.LabelOrigCurve->isVisible());
    });
}

TEST_F(PumpDataForm, TypeButtonsAndTheSetSpeedGraph)
{
    pump.PumpType = PumpFixedFlow;
    Open([&](TPumpDataForm &f) {
        EXPECT_TRUE(f.RadioButtonFixedFlow->isChecked());
        EXPECT_FALSE(f.StringGridPumpPoints->isEnabled());
        // The grid of a fixed-type pump is grey with silver text.
        EXPECT_EQ(f.StringGridPumpPoints->item(3, 1)->background().color(), QColor(224, 224, 224));
        EXPECT_EQ(f.StringGridPumpPoints->item(3, 1)->foreground().color(), QColor(192, 192, 192));
        // The chart shows how to enter a curve.
        EXPECT_EQ(f.ImagePumpCurve->Picture.pixelColor(2, 2), QColor(0xE0, 0xE0, 0xE0));
        Click(f.RadioButtonFixedSpeed);
        EXPECT_FALSE(f.RadioButtonFixedFlow->isChecked());
        EXPECT_EQ(f.StringGridPumpPoints->item(3, 1)->background().color(), QColor(Qt::white));
        EXPECT_EQ(f.StringGridPumpPoints->item(2, 0)->background().color(), QColor(192, 192, 192));
        // The valid grid is drawn at once.
        EXPECT_EQ(f.ImagePumpCurve->Picture.pixelColor(2, 2), QColor(Qt::white));
        EXPECT_TRUE(f.BitBtnEnlargeGraph->isEnabled());
    });
}

TEST_F(PumpDataForm, SymbolChooser)
{
    pump.PumpScale = 3.0;
    pump.PumpImageIndex = 4;
    pump.PumpColorIndex = 1;
    Open([&](TPumpDataForm &f) {
        EXPECT_FALSE(f.PanelPumpIcon->isVisible());
        Click(f.BitBtnPumpIcon);
        EXPECT_TRUE(f.PanelPumpIcon->isVisible());
        EXPECT_EQ(f.ComboBoxPumpScale->currentText(), "100%");
        EXPECT_EQ(f.ColorBoxPump->currentText(), "Blue");
        EXPECT_EQ(f.ListBoxPumpTypes->count(), 10);
        Pick(f.ColorBoxPump, "Green");
        Pick(f.ComboBoxPumpScale, "200%");
        f.ListBoxPumpTypes->setCurrentRow(7);
        emit f.ListBoxPumpTypes->itemClicked(f.ListBoxPumpTypes->item(7));
        Click(f.BitBtnSavePumpIcon);
        EXPECT_FALSE(f.PanelPumpIcon->isVisible());
        EXPECT_EQ(f.EditedPump.PumpImageIndex, 7);
        EXPECT_EQ(f.EditedPump.PumpColorIndex, 2);
        EXPECT_EQ(f.EditedPump.PumpScale, 2.0);
        Click(f.BitBtnSavePump);
    });
    EXPECT_EQ(pump.PumpImageIndex, 7);
    EXPECT_EQ(pump.PumpColorIndex, 2);
    EXPECT_EQ(pump.PumpScale, 2.0);
}

// The share of pixels that differ clearly from the stored picture; setting
// TESSARAN_WRITE_REFERENCES writes the pictures instead.
void ExpectMatchesPicture(const QImage &image, const QString &name)
{
    const QString dir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/pumps/");
    if (std::getenv("TESSARAN_WRITE_REFERENCES")) {
        QDir().mkpath(dir);
        ASSERT_TRUE(image.save(dir + name));
        return;
    }
    const QImage reference = QImage(dir + name).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "missing " << name.toStdString();
    ASSERT_EQ(reference.size(), image.size());
    long differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = reference.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 64 || std::abs(qGreen(a) - qGreen(b)) > 64 ||
                std::abs(qBlue(a) - qBlue(b)) > 64)
                ++differing;
        }
    EXPECT_LE(double(differing) / (image.width() * image.height()), 0.005) << name.toStdString();
}

TEST(PumpSymbolPreview, StylesInTwoColoursMatchTheirPictures)
{
    TPumpDataForm form;
    for (int style : {0, 3, 7})
        for (int colour : {0, 3}) {
            form.EditedPump.PumpColorIndex = colour;
            form.UpdatePumpImageSymbol(style);
            const QImage image = form.ImagePumpSymbol->Picture.convertToFormat(QImage::Format_RGB32);
            // Something of the pump's colour is drawn on the face.
            EXPECT_NE(image.pixelColor(50, 30), QColor(0xF0, 0xF0, 0xF0)) << style << "/" << colour;
            ExpectMatchesPicture(image, QStringLiteral("pump_symbol_%1_%2.png").arg(style).arg(colour));
        }
    // A style outside 0 to 9 leaves the bare face.
    form.UpdatePumpImageSymbol(12);
    EXPECT_EQ(form.ImagePumpSymbol->Picture.pixelColor(50, 30), QColor(0xF0, 0xF0, 0xF0));
}

TEST_F(PumpDataForm, EndToEndDefinedSavedReloadedAndSolved)
{
    TPump empty;
    empty.Clear();
    empty.PumpType = PumpFixedFlow;
    pump.CopyPump(empty);
    Open([&](TPumpDataForm &f) {
        Click(f.RadioButtonFixedSpeed);
        Pick(f.ComboBoxPumpFlowUnits, "m³/hour");
        Pick(f.ComboBoxPumpHeadUnits, "m Fluid");
        const Rows rows = {{"0", "40", "0", "1"},
                           {"20", "38", "55", "1.5"},
                           {"40", "34", "70", "2"},
                           {"60", "27", "74", "3"},
                           {"80", "17", "65", "4.5"}};
        FillGrid(f, rows);
        f.RightEditPumpSpeed->clear();
        QTest::keyClicks(f.RightEditPumpSpeed, "2900");
        f.RightEditImpellerDiameter->clear();
        QTest::keyClicks(f.RightEditImpellerDiameter, "250");
        Click(f.BitBtnSavePump);
        EXPECT_FALSE(f.isVisible());
    });
    ASSERT_EQ(pump.PumpPoints.PointsCount, 5);
    EXPECT_EQ(pump.Speed_rpm, 2900);
    EXPECT_EQ(pump.BaseDataSpeed_rpm, 2900);
    EXPECT_NEAR(pump.ImpellerDiameter_m, 0.25, 1e-12);
    Pipe().AddPump(pump);

    TMemoryStream stream;
    network.Save(stream);
    stream.Seek(0);
    TNetwork reloaded;
    reloaded.Load(stream);
    TPump &stored = reloaded.GetPipe(pumpPipe).Pump;
    ASSERT_EQ(reloaded.GetPipe(pumpPipe).PumpCount, 1);

    TPump reopened;
    reopened.CopyPump(stored);
    TPumpDatabase db;
    bool gone = false;
    QTimer::singleShot(0, [&] {
        TPumpDataForm &f = TPumpDataForm::Instance();
        EXPECT_TRUE(f.RadioButtonFixedSpeed->isChecked());
        EXPECT_EQ(f.ComboBoxPumpFlowUnits->currentText(), "m³/hour");
        EXPECT_EQ(f.ComboBoxPumpHeadUnits->currentText(), "m Fluid");
        EXPECT_EQ(f.Cell(0, 4), "40.0000");
        EXPECT_EQ(f.Cell(1, 4), "34.000");
        EXPECT_EQ(f.Cell(2, 5), "74.00");
        EXPECT_EQ(f.Cell(3, 6), "4.500");
        EXPECT_EQ(f.RightEditPumpSpeed->text(), "2900");
        EXPECT_EQ(f.RightEditImpellerDiameter->text(), "250.000");
        Click(f.BitBtnCancelPump);
    });
    TPumpDataForm::OpenForm(db, reopened, pumpPipe, reloaded, gone, false);

    bool solved = false, solutionOk = false;
    TResultsLog log, privateLog;
    reloaded.SolveNetwork(solved, solutionOk, log, privateLog);
    ASSERT_TRUE(solved);
    const TPipe &pumped = reloaded.GetPipe(pumpPipe);
    const double flow = pumped.FlowUncompressed_m3s;
    EXPECT_GT(flow, 0);
    EXPECT_LT(flow, 80.0 / 3600);
    EXPECT_NEAR(pumped.Pump_mHd_Fluid, pumped.Pump.calcPumpHead_mHd_Fluid(flow, density()), 0.05);
}

} // namespace
} // namespace tessaran
