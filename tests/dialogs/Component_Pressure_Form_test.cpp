#include "dialogs/Component_Pressure_Form.h"

#include <cmath>
#include <functional>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/String_Grid_Procedures.h"
#include "network/Network_Class.h"
#include "network/Network_Fixture.h"
#include "platform/Stream.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString AtLeastThree = "At least 3 points on the component pressure curve must be specified.\r\rPlease enter "
                             "additional values in grid.";
const QString BlankRow = "Component pressure points cannot contain a blank row between two completed rows.\r\rCheck "
                         "your entry and adjust the values.";

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void Pick(QComboBox *list, const QString &text)
{
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QString Fixed(int decimals, double value) { return QString::fromStdString(formatFixed(decimals, value)); }

// Rows of the curve grid from point 1; empty texts leave a cell empty.
void TypePoints(TComponentPressureForm &f, const std::vector<std::pair<QString, QString>> &points)
{
    for (int row = 1; row <= 8; ++row) {
        const bool given = row <= int(points.size());
        if (row > 1)
            f.StringGridPressureCurve->SetCells(0, row, given ? points[row - 1].first : QString());
        f.StringGridPressureCurve->SetCells(1, row, given ? points[row - 1].second : QString());
    }
}

// Joint A -> joint B in zone 1 (water), joint B -> joint C in zone 2 (a gas).
class ComponentPressureForm : public ::testing::Test {
protected:
    ComponentPressureForm()
    {
        const int a = test::AddJoint(*network, 0, 0);
        const int b = test::AddJoint(*network, 100, 0);
        const int c = test::AddJoint(*network, 200, 0);
        liquidPipe = test::AddPipeBetween(*network, a, b);
        gasPipe = test::AddPipeBetween(*network, b, c, 2);
        network->FluidZonesCount = 2;
        network->FluidZones[1].Fluid.density_kgs_m3 = 998;
        network->FluidZones[1].Fluid.FluidIsGas = false;
        TFluid &gas = network->FluidZones[2].Fluid;
        gas.FluidIsGas = true;
        gas.density_kgs_m3 = 10;
        gas.degrees_K = 288.15;
        gas.pressure_bar_g = 7;
    }
    void Open(int pipeId, const std::function<void(TComponentPressureForm &)> &user, bool resultsMode = false)
    {
        TPipe &pipe = network->GetPipe(pipeId);
        Open(pipe, pipeId, user, resultsMode);
    }
    void Open(TPipe &pipe, int pipeId, const std::function<void(TComponentPressureForm &)> &user,
              bool resultsMode = false)
    {
        QTimer::singleShot(0, [&] {
            user(form);
            if (form.isVisible())
                Click(form.ButtonCancel);
        });
        form.OpenForm(pipe.ComponentPressure, pipe, pipeId, *network, resultsMode);
        QApplication::processEvents();
    }
    TPipe &Pipe(int id) { return network->GetPipe(id); }

    std::unique_ptr<TNetwork> network = test::NewNetwork();
    test::TScriptedDialogs dialogs;
    TComponentPressureForm form;
    int liquidPipe = 0, gasPipe = 0;
};

TEST_F(ComponentPressureForm, GridCheckRefusesBadCurvesInOrder)
{
    struct Case {
        const char *name;
        std::vector<std::pair<QString, QString>> points;
        QString message; // empty: accepted
    };
    const Case cases[] = {
        {"points in rows 1, 2 and 4", {{"0", "1"}, {"1", "2"}, {"", ""}, {"3", "4"}}, AtLeastThree},
        {"rows 1 to 3 and 5", {{"0", "1"}, {"1", "2"}, {"2", "3"}, {"", ""}, {"4", "5"}}, BlankRow},
        {"equal flows",
         {{"0", "1"}, {"1", "2"}, {"1", "3"}},
         "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid for "
         "point 3."},
        {"a flow cell left empty",
         {{"0", "1"}, {"1", "2"}, {"", "3"}},
         "The flow points entered must always be increasing in value.\r\rPlease re-enter the flow value in grid for "
         "point 3."},
        {"falling loss",
         {{"0", "1"}, {"1", "2"}, {"2", "1.5"}},
         "The component loss points entered must always be increasing with increased flow.\r\rPlease re-enter the "
         "loss value in grid for point 3."},
        {"not a number",
         {{"0", "1"}, {"1", "2x"}, {"2", "3"}},
         "Component pressure data for row 2 column 2 is not valid.\r\rCheck your entries and adjust the values to "
         "valid numbers."},
        {"a negative loss in point 1 passes the check and is refused by the read",
         {{"0", "-1"}, {"1", "2"}, {"2", "3"}},
         "Component Pressure data for row 1 is not valid.\r\rCheck your entries and adjust the values to valid "
         "numbers."},
        {"an empty grid is not taken for a curve", {}, AtLeastThree},
        {"equal losses pass", {{"0", "1"}, {"1", "1"}, {"2", "1"}}, ""},
    };
    for (const Case &c : cases) {
        Pipe(liquidPipe).ComponentPressureCount = 0;
        Pipe(liquidPipe).ComponentPressure.Clear();
        if (!c.message.isEmpty())
            dialogs.Expect(TDialogKind::Information, c.message);
        bool stayedOpen = false;
        Open(liquidPipe, [&](TComponentPressureForm &f) {
            Click(f.RadioButtonComponentCurveLoss);
            TypePoints(f, c.points);
            Click(f.ButtonOK);
            stayedOpen = f.isVisible();
        });
        EXPECT_EQ(stayedOpen, !c.message.isEmpty()) << c.name;
        EXPECT_TRUE(dialogs.AllShown()) << c.name;
        EXPECT_EQ(Pipe(liquidPipe).ComponentPressureCount, c.message.isEmpty() ? 1 : 0) << c.name;
    }
    const TComponentPressure &stored = Pipe(liquidPipe).ComponentPressure;
    EXPECT_EQ(stored.PressureType, ComponentPressureCurve);
    ASSERT_EQ(stored.CurvePoints.PointsCount, 3);
    EXPECT_DOUBLE_EQ(stored.CurvePoints.Point(3).Flow_m3s, 2.0);
    EXPECT_DOUBLE_EQ(stored.CurvePoints.Point(3).Flow_kgs, 2.0 * 998);
    EXPECT_DOUBLE_EQ(stored.CurvePoints.Point(3).Loss_mHd, 1.0);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressurePositionPercentageAlongPipe, 30.0);
}

TEST_F(ComponentPressureForm, LossesKeepHeadOrPressureByTheirUnitWhenTheDensityChanges)
{
    struct Case {
        QString unit;
        bool storedAsWater;
    };
    for (const Case &c : {Case{"m Fluid", false}, Case{"bar", true}, Case{"in.H²O", true}, Case{"ft Fluid", false}}) {
        network->FluidZones[1].Fluid.density_kgs_m3 = 998;
        Pipe(liquidPipe).ComponentPressure.Clear();
        Open(liquidPipe, [&](TComponentPressureForm &f) {
            Click(f.RadioButtonComponentFixedLoss);
            Pick(f.ComboBoxFixedLossUnits, c.unit);
            EXPECT_EQ(f.ComboBoxComponentPressureLossUnits->currentIndex(), f.ComboBoxFixedLossUnits->currentIndex());
            f.RightEditComponentPressure->setText("2.5");
            Click(f.ButtonOK);
        });
        EXPECT_EQ(Pipe(liquidPipe).ComponentPressure.SetPressureLoss_Stored_mH2O, c.storedAsWater)
            << c.unit.toStdString();
        network->FluidZones[1].Fluid.density_kgs_m3 = 700;
        Open(liquidPipe, [&](TComponentPressureForm &f) {
            EXPECT_EQ(f.ComboBoxFixedLossUnits->currentText(), c.unit);
            EXPECT_EQ(f.RightEditComponentPressure->text(), Fixed(4, 2.5)) << c.unit.toStdString();
        });
    }

    // A curve in bar keeps its pressures too; the curve's loss list moves the
    // stored points onto the new basis.
    network->FluidZones[1].Fluid.density_kgs_m3 = 998;
    Pipe(liquidPipe).ComponentPressure.Clear();
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentCurveLoss);
        TypePoints(f, {{"0", "1"}, {"1", "2"}, {"2", "3"}});
        Pick(f.ComboBoxComponentPressureLossUnits, "bar.g");
        // The typed points were metres of fluid; shown again in bar.
        EXPECT_EQ(f.StringGridPressureCurve->Cells(1, 2),
                  QString::fromStdString(convertHeadPressureUnitToString(unt_m_hd_fluid, unt_Bar_G, 3, 2, 998)));
        TypePoints(f, {{"0", "1"}, {"1", "2"}, {"2", "3"}});
        Click(f.ButtonOK);
    });
    EXPECT_TRUE(Pipe(liquidPipe).ComponentPressure.SetPressureLoss_Stored_mH2O);
    network->FluidZones[1].Fluid.density_kgs_m3 = 700;
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        EXPECT_EQ(f.ComboBoxComponentPressureLossUnits->currentText(), "bar.g");
        EXPECT_EQ(f.StringGridPressureCurve->Cells(1, 3), Fixed(3, 3));
    });

    // Metres of water are not in the lists: shown and kept as millimetres.
    TComponentPressure &component = Pipe(liquidPipe).ComponentPressure;
    component.Clear();
    component.SetPressureLoss_Stored_mH2O = true;
    component.FixedPressureLoss_mHd = 1.5;
    component.CurvePoints.LossDisplayUnit = unt_m_H2O;
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        EXPECT_EQ(f.ComboBoxFixedLossUnits->currentText(), "mm.H²O");
        EXPECT_EQ(f.RightEditComponentPressure->text(), Fixed(4, 1500));
        Click(f.ButtonOK);
    });
    EXPECT_EQ(component.CurvePoints.LossDisplayUnit, unt_mm_H2O);
    EXPECT_DOUBLE_EQ(component.FixedPressureLoss_mHd, 1.5);
}

TEST_F(ComponentPressureForm, UnitChangesRefusedByTheGridPutTheListBack)
{
    dialogs.Expect(TDialogKind::Information, BlankRow);
    dialogs.Expect(TDialogKind::Information, BlankRow);
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentCurveLoss);
        TypePoints(f, {{"0", "1"}, {"1", "2"}, {"2", "3"}, {"", ""}, {"4", "5"}});
        Pick(f.ComboBoxComponentPressureFlowUnits, "l/min");
        EXPECT_EQ(f.ComboBoxComponentPressureFlowUnits->currentText(), "m³/sec");
        Pick(f.ComboBoxComponentPressureLossUnits, "kPa.g");
        EXPECT_EQ(f.ComboBoxComponentPressureLossUnits->currentText(), "m Fluid");
        EXPECT_FALSE(f.WorkingCopy().SetPressureLoss_Stored_mH2O);
        // A change that passes converts the shown points.
        TypePoints(f, {{"0", "1"}, {"0.001", "2"}, {"0.002", "3"}});
        Pick(f.ComboBoxComponentPressureFlowUnits, "l/min");
        EXPECT_EQ(f.StringGridPressureCurve->Cells(0, 3), Fixed(4, 120));
        EXPECT_FALSE(f.WorkingCopy().CurvePoints.UseMassFlow);
        Pick(f.ComboBoxComponentPressureFlowUnits, "kg/sec");
        EXPECT_EQ(f.StringGridPressureCurve->Cells(0, 3), Fixed(4, 0.002 * 998));
        EXPECT_TRUE(f.WorkingCopy().CurvePoints.UseMassFlow);
    });
}

TEST_F(ComponentPressureForm, GenerateCurveMakesEightPointsFromThree)
{
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentCurveLoss);
        // loss = 1 + q²
        TypePoints(f, {{"0", "1"}, {"1", "2"}, {"2", "5"}});
        Click(f.ButtonGenerateCurve);
        for (int row = 1; row <= 8; ++row) {
            const double flow = 2.0 * (row - 1) / 7;
            EXPECT_EQ(f.StringGridPressureCurve->Cells(0, row), row == 1 ? "0" : Fixed(4, flow)) << row;
            EXPECT_EQ(f.StringGridPressureCurve->Cells(1, row), Fixed(3, 1 + flow * flow)) << row;
        }
        EXPECT_EQ(f.WorkingCopy().CurvePoints.PointsCount, 8);
    });

    dialogs.Expect(TDialogKind::Information,
                   "The first three points only must entered to generate a second order curve.");
    // Falls below zero between its points: the curve stays, with the warning.
    dialogs.Expect(TDialogKind::Information,
                   "The quadratic fit generated some points with negative values.\r\rPlease review the curve data and "
                   "correct the entries to be all positive values.");
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentCurveLoss);
        TypePoints(f, {{"0", "1"}, {"1", "2"}, {"2", "5"}, {"3", "10"}});
        Click(f.ButtonGenerateCurve);
        EXPECT_EQ(f.StringGridPressureCurve->Cells(0, 4), "3");
        TypePoints(f, {{"0", "0"}, {"1", "0"}, {"2", "1"}});
        Click(f.ButtonGenerateCurve);
        EXPECT_EQ(f.WorkingCopy().CurvePoints.PointsCount, 8);
    });
}

// The record of a component file written before files carried a marker:
// the name first, no coefficients, the fixed loss in bar, no mass flows.
std::vector<std::uint8_t> PreMarkerFile()
{
    TMemoryStream s;
    s.WriteShortString("Old valve", 20);
    s.WriteInt32(3);
    s.WriteByte(ComponentPressureCurve);
    s.WriteDouble(0.5); // bar
    s.WriteByte(unt_L_sec);
    s.WriteByte(unt_m_H2O);
    s.WriteInt32(3);
    for (int k = 1; k <= 8; ++k) {
        s.WriteDouble(k <= 3 ? 0.001 * (k - 1) : 0.0);
        s.WriteDouble(k <= 3 ? 2.0 * k : 0.0);
    }
    return s.Bytes();
}

TEST_F(ComponentPressureForm, ComponentFilesSaveAndLoadBack)
{
    QTemporaryDir folder;
    const QString first = folder.filePath("valve.trco");
    const QString second = folder.filePath("again");
    Pipe(liquidPipe).ComponentPressure.Name = "Gate";
    dialogs.FileNames = {first, first, second};
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentCurveLoss);
        Pick(f.ComboBoxComponentPressureFlowUnits, "l/min");
        Pick(f.ComboBoxComponentPressureLossUnits, "psi.g");
        TypePoints(f, {{"0", "1"}, {"10", "2"}, {"20", "4"}});
        Click(f.ButtonSaveFile);
        f.EditName->setText("Changed");
        Click(f.ButtonLoadFile);
        EXPECT_EQ(f.EditName->text(), "Gate");
        EXPECT_EQ(f.ComboBoxComponentPressureFlowUnits->currentText(), "l/min");
        EXPECT_EQ(f.StringGridPressureCurve->Cells(0, 3), Fixed(4, 20));
        EXPECT_EQ(f.StringGridPressureCurve->Cells(1, 3), Fixed(3, 4));
        Click(f.ButtonSaveFile);
    });
    ASSERT_EQ(dialogs.FileDialogs.size(), 3u);
    EXPECT_EQ(dialogs.FileDialogs[0].Filter, "Tessaran Component (*.trco)");
    EXPECT_EQ(dialogs.FileDialogs[0].DefaultSuffix, "trco");
    const std::vector<std::uint8_t> bytes = ReadWholeFile(first.toStdString());
    EXPECT_EQ(ReadWholeFile((second + ".trco").toStdString()), bytes);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 16), "trcowithversion");
    EXPECT_EQ(std::string(bytes.begin() + 22, bytes.begin() + 26), "7.40");

    // Overwriting asks; No keeps the file.
    dialogs.FileNames = {first, first};
    dialogs.Expect(TDialogKind::Confirmation, "File already exists. Do wish to overwrite? \r", DialogNo);
    dialogs.Expect(TDialogKind::Confirmation, "File already exists. Do wish to overwrite? \r", DialogYes);
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        f.EditName->setText("Other");
        Click(f.ButtonSaveFile);
        EXPECT_EQ(ReadWholeFile(first.toStdString()), bytes);
        Click(f.ButtonSaveFile);
    });
    EXPECT_NE(ReadWholeFile(first.toStdString()), bytes);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(ComponentPressureForm, OldAndUnreadableComponentFiles)
{
    QTemporaryDir folder;
    const QString old = folder.filePath("old.trco");
    SaveFileAtomically(old.toStdString(), PreMarkerFile());
    const QString broken = folder.filePath("broken.trco");
    std::vector<std::uint8_t> cut = PreMarkerFile();
    cut.resize(40);
    SaveFileAtomically(broken.toStdString(), cut);
    const QString question =
        "The component file version is 0\r\rThe component data was previously stored in m H2O (m Water).\rYou can "
        "choose to accept the head values as m Head of the current fluid in the pipe?\rOr you can decline and "
        "convert the m H2O to the equivalent m head of the fluid in the pipe?\r\rChoose Yes to accept the head values "
        "as m Head of the current fluid in the pipe.\r \r";

    const QString unwritable = folder.filePath("missing/new.trco");
    dialogs.FileNames = {broken, old, old, unwritable};
    dialogs.Expect(TDialogKind::Error, "The component file could not be read.\r\r" + broken);
    dialogs.Expect(TDialogKind::Confirmation, question, DialogYes);
    dialogs.Expect(TDialogKind::Confirmation, question, DialogNo);
    dialogs.Expect(TDialogKind::Error, "The component file could not be saved.\r\r" + unwritable);
    network->FluidZones[1].Fluid.density_kgs_m3 = 800;
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        f.EditName->setText("Mine");
        Click(f.ButtonLoadFile);
        EXPECT_EQ(f.EditName->text(), "Mine");
        Click(f.ButtonLoadFile);
        EXPECT_EQ(f.EditName->text(), "Old valve");
        EXPECT_EQ(f.ComboBoxComponentPressureLossUnits->currentText(), "m Fluid");
        EXPECT_EQ(f.ComboBoxFixedLossUnits->currentText(), "m Fluid");
        EXPECT_TRUE(f.RadioButtonComponentCurveLoss->isChecked());
        // Taken as heads of the fluid, unconverted.
        EXPECT_EQ(f.StringGridPressureCurve->Cells(1, 2), Fixed(3, 4));
        EXPECT_EQ(f.StringGridPressureCurve->Cells(0, 3), Fixed(4, 2)); // l/sec
        // No: the heads stay water and are shown in the small water unit.
        Click(f.ButtonLoadFile);
        EXPECT_EQ(f.ComboBoxComponentPressureLossUnits->currentText(), "mm.H²O");
        EXPECT_EQ(f.StringGridPressureCurve->Cells(1, 2), Fixed(3, 4000));
        EXPECT_EQ(f.WorkingCopy().CurvePoints.LossDisplayUnit, unt_mm_H2O);
        // A file that cannot be created is reported, not taken for saved.
        Click(f.ButtonSaveFile);
        EXPECT_TRUE(f.isVisible());
    });
    EXPECT_FALSE(QFile::exists(unwritable));
}

// The gas note of the calculator as the user reads it.
QString GasNote(const QString &n, bool tolerance, const QString &flow, const QString &flowUnit, const QString &loss,
                const QString &lossUnit, const QString &result)
{
    QString text = "IMPORTANT NOTE for " + n + " calculation from Gas data: \r\rThe " + n +
                   " value will be calculated by converting the specified flow rate to mass flow using the density of "
                   "the current fluid zone, and this mass flow will then be converted to an equivalent volume of "
                   "water at normal conditions.\r\rThe volume of water and the stated pressure drop will then be used "
                   "to calculate a " +
                   n +
                   " value for this component.\r\rNOTE:\rWHEN ENTERING DATA FOR USE WITH THIS HELPER CALCULATOR, THE "
                   "SPECIFIED FLOW RATE AND PRESSURE DROP ARE FOR THE DENSITY OF FLUID DEFINED IN THE CURRENT FLUID "
                   "ZONE.\r\r";
    if (tolerance)
        text += "Tolerance: \r\rWhen selecting a valve for a maximum flow and pressure loss condition \rit is "
                "recommended that 30% is added to the calculated " +
                n + " value to \rensure the valve is not undersized.\r\r";
    text += "The equivalent " + n + " value will now be calculated based on this data:\r\rFluid Density = " +
            Fixed(unitDecimals(unt_kg_m3), 10) + " kg/m³ at " + Fixed(1, 7) + " bar.g\rFlow Rate = " + flow + " " +
            flowUnit + "\rPresure Loss = " + loss + " " + lossUnit + "\r\r" + n + " = " + result + "\r\r";
    return text;
}

TEST_F(ComponentPressureForm, CalculatorPresetThenCalculateGivesTheValueBack)
{
    using F = TComponentPressureForm;
    struct Kind {
        const char *name;
        QRadioButton *F::*radio;
        TRightEdit *F::*box;
        QPushButton *F::*button;
        const char *flowItem, *lossItem, *caption, *densityUnit;
        TUnit flowUnit, lossUnit;
        bool tolerance;
    };
    const Kind kinds[] = {
        {"Cv", &F::RadioButtonComponentCv, &F::RightEditCv, &F::BitBtnCalcCv, "US gpm", "psi", " Calculate Cv value",
         "lb/ft³", unt_gpm_USA, unt_Psi_G, true},
        {"Kv", &F::RadioButtonComponentKv, &F::RightEditKv, &F::BitBtnCalcKv, "m³/hour", "bar", " Calculate Kv value",
         "kg/m³", unt_m3_hour, unt_Bar_G, true},
        {"Sprinkler K (imperial)", &F::RadioButtonSprinklerKimperial, &F::RightEditSprinklerKimperial,
         &F::BitBtnCalcSprinklerKimperial, "US gpm", "psi", " Calculate Sprinkler K (Imperial)", "lb/ft³", unt_gpm_USA,
         unt_Psi_G, false},
        {"Sprinkler K (metric)", &F::RadioButtonSprinklerKmetric, &F::RightEditSprinklerKmetric,
         &F::BitBtnCalcSprinklerKmetric, "l/min", "bar", " Calculate Sprinkler K (Metric)", "kg/m³", unt_L_min,
         unt_Bar_G, false},
    };
    const auto name = [](TUnit unit) { return QString::fromStdString(unitName(unit)); };
    for (const Kind &k : kinds) {
        for (int pipe : {liquidPipe, gasPipe}) {
            const bool gas = pipe == gasPipe;
            const QString value = "12.3456";
            Open(pipe, [&](F &f) {
                Click(f.*k.radio);
                EXPECT_TRUE((f.*k.button)->isEnabled());
                EXPECT_FALSE(f.PanelCalcCvKvSprinklerK->isVisible());
                (f.*k.box)->setText(value);
                Click(f.*k.button);
                EXPECT_TRUE(f.PanelCalcCvKvSprinklerK->isVisible()) << k.name;
                EXPECT_EQ(f.GroupBoxCalcCvKv->title(), k.caption);
                EXPECT_EQ(f.LabelCalcDescription->text(), "For Current Fluid flowing at:");
                EXPECT_EQ(f.ComboBoxFlowRateUnits->currentText(), QString::fromUtf8(k.flowItem));
                EXPECT_EQ(f.ComboBoxLossUnits->currentText(), k.lossItem);
                EXPECT_EQ(f.LabelDensityUnits->text(), QString::fromUtf8(k.densityUnit));
                EXPECT_EQ(f.RightEditLoss->text(), Fixed(4, 1));
                // For water at a loss of one unit the flow is the value itself.
                if (!gas) {
                    EXPECT_EQ(f.RightEditFlowRate->text(), value) << k.name;
                } else {
                    dialogs.Expect(TDialogKind::Warning,
                                   GasNote(k.name, k.tolerance, f.RightEditFlowRate->text(), name(k.flowUnit),
                                           f.RightEditLoss->text(), name(k.lossUnit), value));
                }
                (f.*k.box)->setText("0");
                Click(f.ButtonCalc);
                EXPECT_EQ((f.*k.box)->text(), value) << k.name << (gas ? " gas" : " water");
                EXPECT_FALSE(f.PanelCalcCvKvSprinklerK->isVisible());
            });
            EXPECT_TRUE(dialogs.AllShown()) << k.name;
        }
    }
}

TEST_F(ComponentPressureForm, CalculatorResetsWhatDoesNotReadAndConvertsOnUnitChanges)
{
    dialogs.Expect(TDialogKind::Information, "Pressure Loss is not valid. It will be reset to unity.\r");
    dialogs.Expect(TDialogKind::Information, "Flow rate is not valid. It will be reset to unity.\r");
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentKv);
        f.RightEditKv->setText("-3"); // taken as 1
        Click(f.BitBtnCalcKv);
        EXPECT_EQ(f.RightEditFlowRate->text(), Fixed(4, 1));
        f.RightEditLoss->clear();
        Click(f.ButtonCalc);
        EXPECT_EQ(f.RightEditLoss->text(), "1.0");
        EXPECT_EQ(f.RightEditKv->text(), "-3");
        EXPECT_TRUE(f.PanelCalcCvKvSprinklerK->isVisible());
        f.RightEditFlowRate->setText("0");
        f.RightEditLoss->setText("x");
        Click(f.ButtonCalc);
        EXPECT_EQ(f.RightEditFlowRate->text(), "1.0");
        EXPECT_EQ(f.RightEditLoss->text(), "x");

        // 36 m³/hour is 600 l/min; text that does not read turns into 0.
        f.RightEditFlowRate->setText("36");
        Pick(f.ComboBoxFlowRateUnits, "l/min");
        EXPECT_EQ(f.RightEditFlowRate->text(), Fixed(4, 600));
        f.RightEditLoss->setText("1");
        Pick(f.ComboBoxLossUnits, "kPa");
        EXPECT_EQ(f.RightEditLoss->text(), Fixed(unitDecimals(unt_kPa_G), 100));
        f.RightEditFlowRate->setText("?");
        Pick(f.ComboBoxFlowRateUnits, "m³/hour");
        EXPECT_EQ(f.RightEditFlowRate->text(), Fixed(4, 0));
        // Kv of 600 l/min at 100 kPa of water.
        f.RightEditFlowRate->setText("36");
        Click(f.ButtonCalc);
        EXPECT_EQ(f.RightEditKv->text(), Fixed(4, 36));
        Click(f.ButtonOK);
    });
    EXPECT_DOUBLE_EQ(Pipe(liquidPipe).ComponentPressure.Kv, 36);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressure.PressureType, ComponentPressureKv);
}

TEST_F(ComponentPressureForm, SymbolImagesAndTheirWrappingStyles)
{
    const QString referenceDir = QStringLiteral(TESSARAN_TEST_DATA_DIR "/dialogs/");
    Open(liquidPipe, [&](TComponentPressureForm &f) {
        EXPECT_EQ(f.WorkingCopy().ImageIndex, 0);
        f.UpDown1->stepDown();
        EXPECT_EQ(f.WorkingCopy().ImageIndex, 14);
        f.UpDown1->stepUp();
        EXPECT_EQ(f.WorkingCopy().ImageIndex, 0);
        for (int style : {0, 7, 13}) {
            while (f.WorkingCopy().ImageIndex != style)
                f.UpDown1->stepUp();
            const QImage image = f.SymbolImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(image.size(), QSize(25, 22));
            const QString path = referenceDir + QStringLiteral("component_symbol_%1.png").arg(style);
            if (qEnvironmentVariableIsSet("TESSARAN_WRITE_REFERENCES")) {
                QDir().mkpath(referenceDir);
                ASSERT_TRUE(image.save(path));
            }
            const QImage reference = QImage(path).convertToFormat(QImage::Format_RGB32);
            ASSERT_FALSE(reference.isNull()) << "missing reference " << path.toStdString();
            EXPECT_EQ(image, reference) << style;
        }
        Click(f.ButtonOK);
    });
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressure.ImageIndex, 13);
}

TEST_F(ComponentPressureForm, OpeningsOkCancelDeleteAndResultsMode)
{
    // From the options form: no pipe of the network.
    TPipe defaultPipe;
    Open(defaultPipe, -999, [](TComponentPressureForm &f) {
        EXPECT_EQ(f.LabelPipeId->text(), "Pipe: None");
        EXPECT_EQ(f.LabelPipeName->text(), "Default Pipe");
        EXPECT_FALSE(f.CheckBoxCompressibleChokedFlow->isVisible());
        f.EditName->setText("A name longer than twenty");
        Click(f.ButtonOK);
    });
    EXPECT_EQ(defaultPipe.ComponentPressure.Name, "A name longer than t");

    Pipe(liquidPipe).Name = "Main";
    Pipe(liquidPipe).ComponentPressurePositionPercentageAlongPipe = 55;
    // A box that does not read is refused, not stored as -1.
    dialogs.Expect(TDialogKind::Warning, "Numeric entry is not valid");
    Open(liquidPipe, [this](TComponentPressureForm &f) {
        EXPECT_EQ(f.LabelPipeId->text(), QString("Pipe:%1").arg(liquidPipe));
        EXPECT_EQ(f.LabelPipeName->text(), "Main");
        Click(f.RadioButtonComponentCv);
        EXPECT_FALSE(f.RightEditComponentPressure->isEnabled());
        EXPECT_FALSE(f.StringGridPressureCurve->isEnabled());
        EXPECT_FALSE(f.BitBtnCalcKv->isEnabled());
        f.RightEditCv->setText("1..2");
        Click(f.ButtonOK);
        EXPECT_TRUE(f.isVisible());
        f.RightEditCv->setText("4.5");
        Click(f.ButtonOK);
    });
    EXPECT_DOUBLE_EQ(Pipe(liquidPipe).ComponentPressure.Cv, 4.5);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressurePositionPercentageAlongPipe, 55);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressureCount, 1);

    // Cancel hands nothing back.
    Open(liquidPipe, [](TComponentPressureForm &f) {
        f.RightEditCv->setText("9");
        Click(f.RadioButtonComponentFixedLoss);
        Click(f.ButtonClear);
        EXPECT_EQ(f.RightEditCv->text(), "0.0");
        EXPECT_EQ(f.StringGridPressureCurve->Cells(0, 1), "0");
    });
    EXPECT_DOUBLE_EQ(Pipe(liquidPipe).ComponentPressure.Cv, 4.5);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressure.PressureType, ComponentPressureCv);

    // Results mode: only Cancel.
    Open(
        gasPipe,
        [](TComponentPressureForm &f) {
            EXPECT_TRUE(f.CheckBoxCompressibleChokedFlow->isVisible());
            EXPECT_TRUE(f.BitBtnChokedFlowText->isVisible());
            for (QWidget *control : std::initializer_list<QWidget *>{
                     f.ButtonOK, f.ButtonDelete, f.ButtonClear, f.ButtonSaveFile, f.ButtonLoadFile, f.EditName,
                     f.RightEditComponentPressure, f.RadioButtonComponentCv, f.UpDown1, f.StringGridPressureCurve,
                     f.CheckBoxCompressibleChokedFlow})
                EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
            EXPECT_TRUE(f.ButtonCancel->isEnabled());
            EXPECT_EQ(f.StringGridPressureCurve->item(0, 1)->foreground().color(), QColor(0xC0, 0xC0, 0xC0));
        },
        true);

    // Delete asks first.
    const QString question = "Are you sure you wish to delete the component \rand its data from this pipe?";
    dialogs.Expect(TDialogKind::Confirmation, question, DialogNo);
    dialogs.Expect(TDialogKind::Confirmation, question, DialogYes);
    Open(liquidPipe, [](TComponentPressureForm &f) {
        Click(f.ButtonDelete);
        EXPECT_TRUE(f.isVisible());
        Click(f.ButtonDelete);
    });
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressureCount, 0);
    EXPECT_DOUBLE_EQ(Pipe(liquidPipe).ComponentPressure.Cv, 0);
}

TEST_F(ComponentPressureForm, CurveEnteredGeneratedSavedWithTheNetworkAndReopened)
{
    Open(liquidPipe, [](TComponentPressureForm &f) {
        Click(f.RadioButtonComponentCurveLoss);
        Pick(f.ComboBoxComponentPressureFlowUnits, "l/min");
        Pick(f.ComboBoxComponentPressureLossUnits, "kPa.g");
        TypePoints(f, {{"0", "5"}, {"100", "20"}, {"200", "65"}});
        Click(f.ButtonGenerateCurve);
        Click(f.ButtonOK);
    });
    ASSERT_EQ(Pipe(liquidPipe).ComponentPressureCount, 1);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressurePositionPercentageAlongPipe, 30.0);

    QTemporaryDir folder;
    const std::string path = folder.filePath("system.trz").toStdString();
    network->SaveToFile(path);
    network = test::NewNetwork();
    TMemoryStream stream(ReadWholeFile(path));
    network->Load(stream);
    ASSERT_EQ(Pipe(liquidPipe).ComponentPressureCount, 1);
    EXPECT_EQ(Pipe(liquidPipe).ComponentPressurePositionPercentageAlongPipe, 30.0);
    Open(liquidPipe, [](TComponentPressureForm &f) {
        EXPECT_TRUE(f.RadioButtonComponentCurveLoss->isChecked());
        EXPECT_EQ(f.ComboBoxComponentPressureFlowUnits->currentText(), "l/min");
        EXPECT_EQ(f.ComboBoxComponentPressureLossUnits->currentText(), "kPa.g");
        // loss = 5 + 0.001 5 q²/... through (0, 5), (100, 20), (200, 65): 5 + 0.0015 q²
        for (int row = 1; row <= 8; ++row) {
            const double flow = 200.0 * (row - 1) / 7;
            EXPECT_EQ(f.StringGridPressureCurve->Cells(0, row), row == 1 ? "0" : Fixed(4, flow)) << row;
            EXPECT_EQ(f.StringGridPressureCurve->Cells(1, row), Fixed(3, 5 + 0.0015 * flow * flow)) << row;
        }
    });
}

} // namespace
} // namespace tessaran
