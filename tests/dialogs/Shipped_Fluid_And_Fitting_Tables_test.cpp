// The fluid and fitting dialogs on the tables the program ships with.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/Fitting_Manager_Form.h"
#include "dialogs/Fluid_Manager_Form.h"
#include "dialogs/GasDataCalc_Form.h"
#include "dialogs/String_Grid_Procedures.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const std::string ShippedData = std::string(TESSARAN_SOURCE_DIR) + "/data/";

TEST(ShippedTables, FluidsLoadAndAirIsCalculatedFromItsTable)
{
    test::TScriptedDialogs dialogs;
    TFluidDataManagerForm form;
    form.ProgramFolder = ShippedData;
    TFluid zone;
    zone.SetToAir();
    bool saved = false;
    QTimer::singleShot(0, [&] {
        int liquids = 0, gases = 0;
        for (int id = 1; id <= form.FluidDataSet.FluidCount; ++id)
            (form.FluidDataSet.GetFluidDataRec(id).Fluid->FluidIsGas ? gases : liquids)++;
        EXPECT_GT(liquids, 0);
        EXPECT_GT(gases, 0);
        EXPECT_GE(form.FluidDataSet.FindEntryNameId("Water"), 1);
        EXPECT_GE(form.FluidDataSet.FindEntryNameId("Air"), 1);
        QTimer::singleShot(0, [&] {
            TFormGasDataCalc &calculator = *form.GasDataCalcForm;
            EXPECT_GE(calculator.ComboBoxGasName->count(), 11);
            calculator.ComboBoxGasName->setCurrentIndex(calculator.ComboBoxGasName->findText("Air"));
            calculator.EditTemperature->setText("20");
            calculator.EditPressure->setText("0");
            QTest::mouseClick(calculator.CalculateGasDataBitBtn, Qt::LeftButton);
            EXPECT_NEAR(calculator.EditDensity->text().toDouble(), 1.292315 * 273.15 / 293.15, 1e-6);
            EXPECT_NEAR(calculator.EditViscosity->text().toDouble(), 0.0181, 0.0005);
            QTest::mouseClick(calculator.SaveAsCurrentFluidBitBtn, Qt::LeftButton);
        });
        QTest::mouseClick(form.CalculateGasDataBitBtn, Qt::LeftButton);
        EXPECT_EQ(form.Fm.Name->text(), "Air");
        QTest::mouseClick(form.CloseWindowBitBtn, Qt::LeftButton);
    });
    form.OpenFluidDataManager(zone, saved, true, false);
    ASSERT_TRUE(saved);
    EXPECT_NEAR(zone.density_kgs_m3, 1.292315 * 273.15 / 293.15, 1e-5);
    EXPECT_NEAR(zone.degrees_K, 293.15, 1e-9);
}

TEST(ShippedTables, FittingsOpenOnThePipesSize)
{
    test::TScriptedDialogs dialogs;
    TFittingManagerForm form;
    form.ProgramFolder = ShippedData;
    TFittingSet pipe(TFittingManagerForm::PipeFittingSetSize);
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(form.MetricDiameterComboBox2->currentText(), "50 mm");
        EXPECT_EQ(form.ImperialDiameterComboBox2->currentText(), "2\"");
        EXPECT_EQ(form.FittingDataStringGrid->Cells(6, form.FittingDataStringGrid->TopRow()), "Pipe size 50 mm");
        form.reject();
    });
    form.OpenFittingManager(pipe, 1, "P1", 50, false, EntryFitting);
    EXPECT_GT(form.FittingDataSet.FittingCount, 44);
}

} // namespace
} // namespace tessaran
