#include "dialogs/GasDataCalc_Form.h"

#include <fstream>
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/Gravity_Helper_Form.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString ChangeOfState =
    "Cannot calculate gas data for the given temperature and pressure condition.\r\rThe values specified may be "
    "outside of the range of conditions for which the software can calculate the gas properties (this includes "
    "conditions at which the gas approaches a change of state or conditions where the gas has already changed "
    "state)\r\rPlease check appropriate values have been entered in the correct units and try again.";
const QString OutsideTable =
    "Cannot calculate gas data for the given temperature and pressure condition.\r\rThe values specified may be "
    "outside of the range of conditions for which the software can calculate the gas properties.\r\rPlease check "
    "appropriate values have been entered in the correct units and try again.";
const QString ValidValuesNeeded = "Valid values must be provided for Specific Gravity, Temperature, Pressure.";

void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

struct Row {
    const char *t, *p, *density, *z, *viscosity, *ratio;
};

class GasDataCalc : public ::testing::Test {
protected:
    GasDataCalc()
    {
        QDir(dir.path()).mkdir("FluidTables");
        form.ProgramFolder = dir.path().toStdString() + "/";
    }
    std::string Path(const std::string &file) const { return dir.path().toStdString() + "/FluidTables/" + file; }
    void Table(const std::string &file, const char *name, const std::vector<Row> &rows)
    {
        std::ofstream out(Path(file), std::ios::binary);
        out << "1.00~|~" << name << "~|~X2~|~\r\n";
        for (const Row &r : rows)
            out << r.t << "~|~" << r.p << "~|~" << r.density << "~|~" << r.z << "~|~" << r.viscosity << "~|~" << r.ratio
                << "\r\n";
    }
    // The four-corner table of 0 and 100 °C by 0 and 10 bar g.
    void Square(const char *zAtHotHigh = "1.0")
    {
        Table("Test.trzgp", "Testgas",
              {{"0", "0", "1.25", "1.0", "0.017", "1.40"},
               {"0", "10", "13.0", "1.0", "0.018", "1.41"},
               {"100", "0", "0.5", "1.0", "0.021", "1.38"},
               {"100", "10", "9.0", zAtHotHigh, "0.022", "1.39"}});
    }
    void Open(const std::function<void(TFormGasDataCalc &)> &user, bool metric = true)
    {
        QTimer::singleShot(0, [&] {
            user(form);
            if (form.isVisible())
                Click(form.CancelBitBtn);
        });
        form.OpenForm(fluid, toCurrent, toDatabase, metric);
    }
    static void Calculate(TFormGasDataCalc &f, const QString &t, const QString &p)
    {
        f.EditTemperature->setText(t);
        f.EditPressure->setText(p);
        Click(f.CalculateGasDataBitBtn);
    }

    QTemporaryDir dir;
    test::TScriptedDialogs dialogs;
    TFormGasDataCalc form;
    TFluid fluid;
    bool toCurrent = false, toDatabase = false;
};

TEST_F(GasDataCalc, InterpolatesBetweenTheFourCornersAndTakesTheDensityFromTheZeroRow)
{
    Square();
    Table("Another.trzgp", "Another", {{"0", "0", "1", "1", "1", "1"}});
    Open([&](TFormGasDataCalc &f) {
        EXPECT_EQ(f.ComboBoxGasName->count(), 2);
        EXPECT_EQ(f.ComboBoxGasName->itemText(1), "Testgas");
        EXPECT_EQ(f.EditTemperature->text(), "20.0");
        EXPECT_EQ(f.EditPressure->text(), "0.0");
        EXPECT_EQ(f.ComboBoxTemperatureUnits->currentText(), "°C");
        f.ComboBoxGasName->setCurrentIndex(1);
        EXPECT_FALSE(f.SaveToFluidDatabaseBitBtn->isEnabled());
        Calculate(f, "50", "5");
        EXPECT_EQ(f.EditViscosity->text(), "0.019500");
        EXPECT_EQ(f.EditSpecificHeatRatio->text(), "1.395000");
        EXPECT_EQ(f.LabelZ->text(), "Z = 1.000000");
        const double density = 1.25 * 6.01325 / 1.01325 * 273.15 / 323.15;
        EXPECT_NEAR(f.EditDensity->text().toDouble(), density, 1e-6);
        EXPECT_TRUE(f.SaveToFluidDatabaseBitBtn->isEnabled());
        Click(f.SaveToFluidDatabaseBitBtn);
    });
    EXPECT_TRUE(toDatabase);
    EXPECT_FALSE(toCurrent);
    EXPECT_EQ(fluid.name, "Testgas");
    EXPECT_EQ(fluid.chemicalFormula, "X2");
    EXPECT_TRUE(fluid.FluidIsGas);
    EXPECT_NEAR(fluid.degrees_K, 323.15, 1e-9);
    EXPECT_NEAR(fluid.pressure_bar_g, 5.0, 1e-12);
    EXPECT_NEAR(fluid.centipoise, 0.0195, 1e-12);
    EXPECT_NEAR(fluid.density_kgs_m3, 1.25 * 6.01325 / 1.01325 * 273.15 / 323.15, 1e-9);
}

TEST_F(GasDataCalc, RealDensityIsStoredWhileTheKinematicViscosityKeepsTheIdealOne)
{
    Table("Z.trzgp", "Zgas",
          {{"0", "0", "0.9", "0.9", "0.02", "1.3"},
           {"0", "10", "0.9", "0.9", "0.02", "1.3"},
           {"100", "0", "0.9", "0.9", "0.02", "1.3"},
           {"100", "10", "0.9", "0.9", "0.02", "1.3"}});
    Open([&](TFormGasDataCalc &f) {
        f.CheckBoxUseRealDensity->setChecked(true);
        Calculate(f, "0", "0");
        EXPECT_EQ(f.EditDensity->text(), "1.000000");
        EXPECT_EQ(f.LabelDensity->text(), "Density (from Real Gas Law)");
        EXPECT_EQ(f.LabelRealDensity->text(), "Real Density = 1.000000 kg/m³");
        Click(f.SaveAsCurrentFluidBitBtn);
    });
    EXPECT_TRUE(toCurrent);
    EXPECT_NEAR(fluid.density_kgs_m3, 1.0, 1e-12);
    EXPECT_NEAR(fluid.centistokes, 0.02 / 0.9 * 1000.0, 1e-9);
}

TEST_F(GasDataCalc, PointsItCannotCalculateGiveNoResultToSave)
{
    Square("0.55");
    dialogs.Expect(TDialogKind::Information, ChangeOfState);
    dialogs.Expect(TDialogKind::Information, OutsideTable);
    dialogs.Expect(TDialogKind::Information, OutsideTable);
    Open([&](TFormGasDataCalc &f) {
        Calculate(f, "50", "5");
        EXPECT_EQ(f.EditViscosity->text(), "");
        EXPECT_FALSE(f.SaveAsCurrentFluidBitBtn->isEnabled());
        // Outside the table: a corner has no row at all.
        Calculate(f, "150", "5");
        Calculate(f, "50", "-1");
        EXPECT_FALSE(f.SaveAsCurrentFluidBitBtn->isEnabled());
        EXPECT_FALSE(f.SaveToFluidDatabaseBitBtn->isEnabled());
    });
    EXPECT_FALSE(toCurrent);
    EXPECT_FALSE(toDatabase);
}

TEST_F(GasDataCalc, ChangedInputsTakeBackTheResult)
{
    Square();
    Open([&](TFormGasDataCalc &f) {
        Calculate(f, "50", "5");
        ASSERT_TRUE(f.SaveToFluidDatabaseBitBtn->isEnabled());
        f.EditPressure->setText("6");
        EXPECT_EQ(f.EditViscosity->text(), "");
        EXPECT_FALSE(f.SaveToFluidDatabaseBitBtn->isEnabled());
        EXPECT_FALSE(f.SaveAsCurrentFluidBitBtn->isEnabled());
    });
    EXPECT_FALSE(toDatabase);
    EXPECT_EQ(fluid.name, "Water");
}

TEST_F(GasDataCalc, LongTablesLoadTheirFirst5000Rows)
{
    for (int rows : {5000, 5001}) {
        std::vector<Row> table(static_cast<std::size_t>(rows), Row{"0", "0", "1", "1", "0.01", "1.4"});
        Table("Long.trzgp", "Long", table);
        const std::string path = Path("Long.trzgp");
        if (rows > 5000)
            dialogs.Expect(TDialogKind::Warning,
                           QString::fromStdString("Gas data file: " + path +
                                                  "\r\rContains more than 5000 rows.\r\rLoaded first 5000 data "
                                                  "points.\r\rAny data outside of these points cannot be used for "
                                                  "calculations."));
        form.LoadFromText_GasDataArray(path);
        EXPECT_EQ(form.GasDataCount, 5000);
    }
    dialogs.Expect(TDialogKind::Warning,
                   QString::fromStdString("Cannot load/read gas data file: " + Path("Missing.trzgp")));
    form.LoadFromText_GasDataArray(Path("Missing.trzgp"));
    EXPECT_EQ(form.GasDataCount, 0);
}

TEST(SpecificGravity, DensityOfAGasByTheIdealGasLaw)
{
    test::TScriptedDialogs dialogs;
    TFormSpecificGravity form;
    struct Case {
        QString pressure;
        QString density;
    };
    for (const Case &c : {Case{"0", "1.205000"}, Case{"1.01325", "2.410000"}}) {
        double kelvin = 293.15, bar = 0, density = -1;
        bool save = true;
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(form.windowTitle(), "Specific Gravity Helper");
            EXPECT_EQ(form.EditTemperature->text(), "20.000");
            EXPECT_EQ(form.LabelPressureUnits->text(), "bar.g");
            form.EditSpecificGravity->setText("1.0");
            form.EditPressure->setText(c.pressure);
            Click(form.BitBtnCalcDensity);
            EXPECT_EQ(form.EditDensity->text(), c.density);
            Click(form.CloseWindowBitBtn);
        });
        form.OpenFormSpecificGravity(false, true, kelvin, bar, density, save);
        EXPECT_TRUE(save);
        EXPECT_NEAR(density, c.density.toDouble(), 1e-9);
        EXPECT_NEAR(bar, c.pressure.toDouble(), 1e-12);
    }

    // A blank temperature: no calculation and no Save; liquids refused.
    dialogs.Expect(TDialogKind::Warning, ValidValuesNeeded);
    dialogs.Expect(TDialogKind::Warning, "Specific Gravity helper not currently available for liquids.");
    double kelvin = 293.15, bar = 0, density = 0;
    bool save = true;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(form.MemoLiquid->isVisibleTo(&form));
        form.EditSpecificGravity->setText("0.8");
        form.EditTemperature->clear();
        Click(form.CloseWindowBitBtn);
        EXPECT_TRUE(form.isVisible());
        form.EditTemperature->setText("20");
        Click(form.BitBtnCalcDensity);
        Click(form.CancelBitBtn);
    });
    form.OpenFormSpecificGravity(true, true, kelvin, bar, density, save);
    EXPECT_FALSE(save);
}

} // namespace
} // namespace tessaran
