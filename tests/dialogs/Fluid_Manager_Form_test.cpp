#include "dialogs/Fluid_Manager_Form.h"

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/GasDataCalc_Form.h"
#include "dialogs/Gravity_Helper_Form.h"
#include "dialogs/String_Grid_Procedures.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString NameBlank = "The fluid name cannot be blank.";
const QString DataIncomplete = "The fluid data is not complete.\rPlease enter missing data.";
const QString AddQuestion = "Add new fluid data to Fluid database.\rProceed with this operation?";
const QString RemoveQuestion =
    "The selected fluid data will be permanently removed.\rThis action cannot be reversed.\r\rContinue with removal?";

void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
void Click(QRadioButton *button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, button->height() / 2)); }

std::string Line(const std::string &name, double kelvin, bool gas, const char *density = "998.000")
{
    std::ostringstream line;
    line.setf(std::ios::fixed);
    line.precision(3);
    line << name << "~|~F~|~" << kelvin << "~|~0.000~|~" << density << "~|~1.002~|~" << (gas ? "1.400000" : "2.400000")
         << "~|~" << (gas ? "1" : "0");
    return line.str();
}

class FluidManagerForm : public ::testing::Test {
protected:
    FluidManagerForm()
    {
        QDir(dir.path()).mkdir("FluidTables");
        form.ProgramFolder = dir.path().toStdString() + "/";
    }
    std::string Path(const char *file) const { return dir.path().toStdString() + "/FluidTables/" + file; }
    void Write(const char *file, const std::vector<std::string> &lines, bool header = true)
    {
        std::ofstream out(Path(file), std::ios::binary);
        if (header)
            out << "1.03~|~~|~\r\n";
        for (const std::string &line : lines)
            out << line << "\r\n";
    }
    std::string Read(const char *file) const
    {
        std::ifstream in(Path(file), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return in ? text.str() : std::string("<missing>");
    }
    std::map<std::string, std::string> AllFiles() const
    {
        std::map<std::string, std::string> files;
        for (const char *file : {"trn_Liquids.trli", "trn_Liquids.trliu", "trn_Gases.trga", "trn_Gases.trgau"})
            files[file] = Read(file);
        return files;
    }
    void Open(TFluid &fluid, bool metric, const std::function<void(TFluidDataManagerForm &)> &user,
              bool resultsMode = false)
    {
        QTimer::singleShot(0, [&] {
            user(form);
            if (form.isVisible())
                Click(form.RevertToOriginalBitBtn);
        });
        form.OpenFluidDataManager(fluid, saved, metric, resultsMode);
    }
    // The entry ids of the list's rows not hidden.
    std::vector<std::string> ShownNames() const
    {
        std::vector<std::string> names;
        for (int row = 1; row <= form.FluidDataSet.FluidCount; ++row)
            if (!form.FluidDataStringGrid->isRowHidden(row - 1))
                names.push_back(form.FluidDataStringGrid->Cells(0, row).toStdString());
        return names;
    }
    static void Fill(const TFluidDataManagerForm::TFluidBoxes &boxes, const QStringList &texts)
    {
        QLineEdit *all[] = {boxes.Name,    boxes.Formula,   boxes.Temperature, boxes.Pressure,
                            boxes.Density, boxes.Viscosity, boxes.LastValue};
        for (int i = 0; i < texts.size(); ++i)
            all[i]->setText(texts[i]);
    }

    QTemporaryDir dir;
    test::TScriptedDialogs dialogs;
    TFluidDataManagerForm form;
    bool saved = false;
};

TEST_F(FluidManagerForm, WithoutFilesTheListIsEmptyAndSaveStillWorks)
{
    TFluid zone;
    zone.SetToAir();
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(f.FluidDataSet.FluidCount, 0);
        EXPECT_EQ(f.FluidDataStringGrid->RowCount(), 2);
        EXPECT_TRUE(f.FluidDataStringGrid->isRowHidden(0));
        EXPECT_TRUE(f.NextPageBitBtn->isHidden());
        EXPECT_TRUE(f.PreviousPageBitBtn->isHidden());
        EXPECT_EQ(f.Fm.Name->text(), "Air");
        EXPECT_TRUE(f.ShowingGases());
        EXPECT_TRUE(f.BitBtnSpecificGravity->isVisible());
        EXPECT_EQ(f.windowTitle(), "Fluid data");
        f.Fm.Name->setText("  Dry air");
        Click(f.CloseWindowBitBtn);
    });
    EXPECT_TRUE(saved);
    EXPECT_EQ(zone.name, "Dry air");
    EXPECT_TRUE(zone.FluidIsGas);
    EXPECT_DOUBLE_EQ(zone.density_kgs_m3, 1.204);
    EXPECT_DOUBLE_EQ(zone.centistokes, 0.018 / 1.204 * 1000.0);
}

TEST_F(FluidManagerForm, SaveChecksTheTopRow)
{
    struct Case {
        QStringList texts; // name, formula, temperature, pressure, density, viscosity, last
        QString message;
        double vapour_bar_a;
    };
    const Case cases[] = {
        {{"", "H2O", "20", "0", "998", "1", "2.4"}, NameBlank, 0},
        {{"   ", "H2O", "20", "0", "998", "1", "2.4"}, NameBlank, 0},
        {{"Water", "H2O", "20", "0", "", "1", "2.4"}, DataIncomplete, 0},
        {{"Water", "H2O", "20", "-1", "998", "1", "2.4"}, DataIncomplete, 0},
        {{"Water", "H2O", "x", "0", "998", "1", "2.4"}, DataIncomplete, 0},
        {{"Water", "H2O", "20", "0", "998", "0", "2.4"}, DataIncomplete, 0},
        {{"Water", "H2O", "-5", "0", "998", "1", ""}, QString(), 0},
        {{"Water", "H2O", "20", "0", "998", "1", "2.4"}, QString(), 0.024},
    };
    for (const Case &c : cases) {
        TFluid zone;
        zone.name = "Before";
        if (!c.message.isEmpty())
            dialogs.Expect(TDialogKind::Warning, c.message);
        Open(zone, true, [&](TFluidDataManagerForm &f) {
            Fill(f.Fm, c.texts);
            Click(f.CloseWindowBitBtn);
        });
        EXPECT_EQ(saved, c.message.isEmpty()) << c.texts.join('|').toStdString();
        if (c.message.isEmpty()) {
            EXPECT_EQ(zone.name, "Water");
            EXPECT_DOUBLE_EQ(zone.vapourPressure_bar_a, c.vapour_bar_a);
        } else {
            EXPECT_EQ(zone.name, "Before");
        }
    }
}

TEST_F(FluidManagerForm, UnitChoiceConvertsTheBoxesThatRead)
{
    TFluid zone;
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(f.FluidDataStringGrid->Cells(2, 0), "Temperature\n°C");
        Fill(f.Fm, {"Water", "H2O", "20", "0", "1000", "1", "101.325"});
        Click(f.ImperialRadioButton);
        EXPECT_EQ(f.Fm.Temperature->text(), "68.000");
        EXPECT_EQ(f.Fm.Pressure->text(), "0");
        EXPECT_EQ(f.Fm.Density->text(), "62.427961");
        EXPECT_EQ(f.Fm.LastValue->text(), "14.695949");
        EXPECT_EQ(f.FluidDataStringGrid->Cells(2, 0), "Temperature\n°F");
        EXPECT_EQ(f.FluidDataStringGrid->Cells(6, 0), "Vapour Press.\npsi (abs)");
    });
}

TEST_F(FluidManagerForm, AddingAndRemovingRewriteOnlyTheirCategorysFile)
{
    Write("trn_Liquids.trli", {Line("Water", 293.15, false), Line("Benzene", 293.15, false)});
    Write("trn_Liquids.trliu", {Line("Brine", 293.15, false)});
    Write("trn_Gases.trga", {Line("Air", 293.15, true, "1.204")});
    Write("trn_Gases.trgau", {Line("Biogas", 293.15, true, "1.100")});
    TFluid zone;
    zone.SetToAir();
    const auto before = AllFiles();

    dialogs.Expect(TDialogKind::Confirmation, AddQuestion, DialogYes);
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Air", "Biogas"}));
        Click(f.CreateNewEntryBitBtn);
        EXPECT_TRUE(f.AddFluidPanel->isVisible());
        EXPECT_EQ(f.User.State->currentText(), "Gas");
        Fill(f.User, {"Argon", "Ar", "20", "-0.5", "1.66", "0.022", "1.67"});
        Click(f.AddNewEntryBitBtn);
        EXPECT_FALSE(f.AddFluidPanel->isVisible());
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Air", "Argon", "Biogas"}));
        EXPECT_EQ(f.FluidDataStringGrid->Row(), 1 + 3 + 1);
    });
    auto after = AllFiles();
    EXPECT_EQ(after["trn_Liquids.trli"], before.at("trn_Liquids.trli"));
    EXPECT_EQ(after["trn_Liquids.trliu"], before.at("trn_Liquids.trliu"));
    EXPECT_EQ(after["trn_Gases.trga"], before.at("trn_Gases.trga"));
    // Written before the set is sorted again: the new entry last.
    EXPECT_EQ(after["trn_Gases.trgau"], "1.03~|~~|~\r\n" + Line("Biogas", 293.15, true, "1.100") + "\r\n" +
                                            "Argon~|~Ar~|~293.150~|~-0.500~|~1.660~|~0.022~|~1.670000~|~1\r\n");

    // A standard liquid removed: its file alone is rewritten.
    zone.SetToWater();
    dialogs.Expect(TDialogKind::Confirmation, RemoveQuestion, DialogYes);
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Benzene", "Brine", "Water"}));
        f.FluidDataStringGrid->SetRow(1);
        Click(f.RemoveEntryBitBtn);
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Brine", "Water"}));
        EXPECT_EQ(f.FluidDataStringGrid->Row(), 1);
    });
    const auto last = AllFiles();
    EXPECT_EQ(last.at("trn_Liquids.trli"), "1.03~|~~|~\r\n" + Line("Water", 293.15, false) + "\r\n");
    EXPECT_EQ(last.at("trn_Liquids.trliu"), before.at("trn_Liquids.trliu"));
    EXPECT_EQ(last.at("trn_Gases.trga"), before.at("trn_Gases.trga"));
    EXPECT_EQ(last.at("trn_Gases.trgau"), after["trn_Gases.trgau"]);
}

TEST_F(FluidManagerForm, AddRefusesBadEntriesWithTheirReason)
{
    struct Case {
        QStringList texts;
        QString reason;
    };
    const Case cases[] = {
        {{"Oil", "", "x", "0", "900", "5", ""}, "Temperature value is incorrect"},
        {{"Oil", "", "20", "", "900", "5", ""}, "Pressure value is incorrect"},
        {{"Oil", "", "20", "0", "0", "5", ""}, "Density value is incorrect"},
        {{"Oil", "", "20", "0", "900", "", ""}, "Viscosity value is incorrect"},
        {{"Oil~|~Gas", "", "20", "0", "900", "5", ""}, "Name and formula cannot hold \"~|~\" or a line break"},
    };
    TFluid zone;
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        Click(f.CreateNewEntryBitBtn);
        for (const Case &c : cases) {
            dialogs.Expect(TDialogKind::Warning,
                           "The fluid data cannot be added.\r" + c.reason + "\rPlease correct the data.");
            Fill(f.User, c.texts);
            Click(f.AddNewEntryBitBtn);
        }
        dialogs.Expect(TDialogKind::Confirmation, AddQuestion, DialogNo);
        Fill(f.User, {"Oil", "", "20", "0", "900", "5", ""});
        Click(f.AddNewEntryBitBtn);
        EXPECT_EQ(f.FluidDataSet.FluidCount, 0);
    });
    EXPECT_EQ(Read("trn_Liquids.trliu"), "<missing>");
}

TEST_F(FluidManagerForm, AFileThatDidNotLoadIsNeverRewrittenFromThePartialSet)
{
    Write("trn_Liquids.trli", {Line("Water", 293.15, false)});
    const std::string damaged = "1.03~|~~|~\r\n" + Line("Mine", 293.15, false) + "\r\nbroken line\r\n";
    {
        std::ofstream out(Path("trn_Liquids.trliu"), std::ios::binary);
        out << damaged;
    }
    TFluid zone;
    dialogs.Expect(TDialogKind::Error, "trn_Liquids.trliu\r\rCode -01: Error on line number 3");
    dialogs.Expect(TDialogKind::Confirmation, AddQuestion, DialogYes);
    dialogs.Expect(TDialogKind::Error, "The file trn_Liquids.trliu did not load completely when the fluid database "
                                       "was opened, so it is not rewritten.\r\rThe change has not been made.");
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(f.FluidDataSet.FluidCount, 1);
        Click(f.CreateNewEntryBitBtn);
        Fill(f.User, {"Oil", "", "20", "0", "900", "5", ""});
        Click(f.AddNewEntryBitBtn);
        EXPECT_EQ(f.FluidDataSet.FluidCount, 1);
    });
    EXPECT_EQ(Read("trn_Liquids.trliu"), damaged);

    // Mended outside the program, the file is read at the next opening.
    Write("trn_Liquids.trliu", {Line("Mine", 293.15, false)});
    Open(zone, true, [&](TFluidDataManagerForm &f) { EXPECT_EQ(f.FluidDataSet.FluidCount, 2); });
}

TEST_F(FluidManagerForm, AFileLargerThanTheFreeSlotsIsReportedAndLeftOut)
{
    std::vector<std::string> lines;
    for (int i = 0; i <= TFluidDataManagerForm::FluidDataSetSize; ++i)
        lines.push_back(Line("L" + std::to_string(i), 293.15, false));
    Write("trn_Liquids.trli", lines);
    Write("trn_Gases.trga", {Line("Air", 293.15, true, "1.204")});
    dialogs.Expect(TDialogKind::Error, "Code -02: File too large - Read past max number of Fluid entries.",
                   DialogAbort);
    TFluid zone;
    Open(zone, true, [&](TFluidDataManagerForm &f) { EXPECT_EQ(f.FluidDataSet.FluidCount, 1); });
    ASSERT_FALSE(dialogs.Boxes.empty());
    EXPECT_EQ(dialogs.Boxes.front().Request.Buttons, DialogAbort);
}

TEST_F(FluidManagerForm, TheNameTitleSortsDescendingFirstThenBack)
{
    Write("trn_Liquids.trli",
          {Line("Water", 293.15, false), Line("Benzene", 293.15, false), Line("Acetone", 293.15, false)});
    TFluid zone;
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Acetone", "Benzene", "Water"}));
        QHeaderView *titles = f.FluidDataStringGrid->horizontalHeader();
        const QPoint name(titles->sectionPosition(0) + 5, 5);
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, name);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, name);
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Water", "Benzene", "Acetone"}));
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, name);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, name);
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Acetone", "Benzene", "Water"}));
    });
}

TEST_F(FluidManagerForm, ResultsModeOnlyShows)
{
    Write("trn_Gases.trga", {Line("Air", 293.15, true, "1.204")});
    TFluid zone;
    zone.SetToAir();
    Open(
        zone, true,
        [&](TFluidDataManagerForm &f) {
            EXPECT_TRUE(f.Fm.Name->isReadOnly());
            EXPECT_FALSE(f.CloseWindowBitBtn->isEnabled());
            EXPECT_FALSE(f.UseSelectedFluidBitBtn->isEnabled());
            EXPECT_FALSE(f.CreateNewEntryBitBtn->isEnabled());
            EXPECT_FALSE(f.MetricRadioButton->isEnabled());
            EXPECT_TRUE(f.RemoveEntryBitBtn->isHidden());
            EXPECT_TRUE(f.BitBtnSpecificGravity->isHidden());
            f.FluidDataStringGrid->SetRow(1);
            emit f.FluidDataStringGrid->cellDoubleClicked(0, 0);
            EXPECT_EQ(f.Fm.Name->text(), "Air");
            EXPECT_FALSE(f.SelectNewSizeTimer->isActive());
        },
        true);
    EXPECT_FALSE(saved);
}

TEST_F(FluidManagerForm, AUserLiquidAddedInImperialUnitsReachesTheZoneAndTheFolder)
{
    Write("trn_Liquids.trli", {Line("Water", 293.15, false)});
    TFluid zone;
    zone.SetToWater();
    zone.compressedFlowFactor = 0.75;
    dialogs.Expect(TDialogKind::Confirmation, AddQuestion, DialogYes);
    Open(zone, false, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(f.Fm.Temperature->text(), "68.000");
        Click(f.CreateNewEntryBitBtn);
        EXPECT_EQ(f.User.State->currentText(), "Liquid");
        Fill(f.User, {"Glycol 30%", "C2H6O2", "68", "0", "64.3", "2.5", "0.348"});
        Click(f.AddNewEntryBitBtn);
        const int row = f.FluidDataStringGrid->Row();
        ASSERT_GE(row, 1);
        EXPECT_EQ(f.FluidDataStringGrid->Cells(0, row), "Glycol 30%");
        EXPECT_TRUE(f.FluidDataStringGrid->item(row - 1, 0)->data(Qt::UserRole).toBool());
        Click(f.UseSelectedFluidBitBtn);
        EXPECT_EQ(f.Fm.Name->text(), "Glycol 30%");
        EXPECT_TRUE(f.SelectNewSizeTimer->isActive());
        Click(f.CloseWindowBitBtn);
    });
    ASSERT_TRUE(saved);
    EXPECT_EQ(zone.name, "Glycol 30%");
    EXPECT_NEAR(zone.degrees_K, 293.15, 1e-9);
    EXPECT_NEAR(zone.density_kgs_m3, 64.3 / 0.062427961, 1e-3);
    EXPECT_NEAR(zone.vapourPressure_bar_a, 0.348 * 0.0689476, 1e-5);
    EXPECT_FALSE(zone.FluidIsGas);

    TFluidDataManagerForm fresh;
    fresh.ProgramFolder = form.ProgramFolder;
    TFluid other;
    QTimer::singleShot(0, [&] {
        const int id = fresh.FluidDataSet.FindEntryNameId("Glycol 30%");
        ASSERT_GE(id, 1);
        EXPECT_TRUE(fresh.FluidDataSet.GetFluidDataRec(id).Is_UserFluidData);
        EXPECT_NEAR(fresh.FluidDataSet.GetFluidDataRec(id).Fluid->degrees_K, 293.15, 1e-9);
        Click(fresh.RevertToOriginalBitBtn);
    });
    bool freshSaved = true;
    fresh.OpenFluidDataManager(other, freshSaved, true, false);
    EXPECT_FALSE(freshSaved);
}

TEST_F(FluidManagerForm, TheOldFluidFileIsImportedOnceAndMovedAside)
{
    {
        std::ofstream out(Path("trn_Fluids.trflu"), std::ios::binary);
        out << "1.00~|~~|~\r\n"
            << "Oil~|~-~|~293.150~|~0.000~|~850.000~|~5.000~|~1.000000~|~0~|~1\r\n"
            << "Gas~|~-~|~293.150~|~0.000~|~1.200~|~0.018~|~1.000000~|~1~|~1\r\n";
    }
    dialogs.Expect(TDialogKind::Confirmation,
                   "User defined Fluid data from an old version of Tessaran has been found in file: \r\r"
                   "trn_Fluids.trflu\r\rImport and Save this data to the latest Fluid Database?\r",
                   DialogYes);
    TFluid zone;
    Open(zone, true, [&](TFluidDataManagerForm &f) { EXPECT_EQ(f.FluidDataSet.FluidCount, 2); });
    EXPECT_EQ(Read("trn_Liquids.trliu"),
              "1.03~|~~|~\r\nOil~|~-~|~293.150~|~0.000~|~850.000~|~5.000~|~1.000000~|~0\r\n");
    EXPECT_EQ(Read("trn_Gases.trgau"), "1.03~|~~|~\r\nGas~|~-~|~293.150~|~0.000~|~1.200~|~0.018~|~0.000000~|~1\r\n");
    EXPECT_EQ(Read("trn_Fluids.trflu"), "<missing>");
    EXPECT_NE(Read("trn_Fluids_OLD.trfluOLD"), "<missing>");
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST_F(FluidManagerForm, KeysAndPagesStayOnTheShownState)
{
    std::vector<std::string> liquids, gases;
    for (int i = 0; i < 10; ++i)
        liquids.push_back(Line("L" + std::to_string(i), 293.15, false));
    for (int i = 0; i < 5; ++i)
        gases.push_back(Line("G" + std::to_string(i), 293.15, true, "1.200"));
    Write("trn_Liquids.trli", liquids);
    Write("trn_Gases.trga", gases);
    TFluid zone;
    zone.SetToAir();
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        TStringGridWidget *grid = f.FluidDataStringGrid;
        ASSERT_TRUE(f.ShowingGases());
        grid->setFocus();
        grid->SetRow(11);
        QTest::keyClick(grid, Qt::Key_Up);
        EXPECT_EQ(grid->Row(), 11);
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(grid->Row(), 12);
        // Fewer than a page of gases follow: the top row stays and is selected.
        const int top = grid->TopRow();
        Click(f.NextPageBitBtn);
        EXPECT_EQ(grid->TopRow(), top);
        EXPECT_EQ(grid->Row(), top);
        Click(f.UseSelectedFluidBitBtn);
        EXPECT_EQ(f.Fm.Name->text(), grid->Cells(0, top));
    });
}

TEST_F(FluidManagerForm, GasDataAndSpecificGravityHelpersFillTheRows)
{
    {
        std::ofstream out(Path("Test.trzgp"), std::ios::binary);
        out << "1.00~|~Testgas~|~X2~|~\r\n"
            << "0~|~0~|~1.25~|~1.0~|~0.017~|~1.40\r\n0~|~10~|~13.0~|~1.0~|~0.018~|~1.41\r\n"
            << "100~|~0~|~0.5~|~1.0~|~0.021~|~1.38\r\n100~|~10~|~9.0~|~1.0~|~0.022~|~1.39\r\n";
    }
    TFluid zone;
    zone.SetToAir();
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        QTimer::singleShot(0, [&] {
            f.GasDataCalcForm->EditTemperature->setText("50");
            f.GasDataCalcForm->EditPressure->setText("5");
            Click(f.GasDataCalcForm->CalculateGasDataBitBtn);
            Click(f.GasDataCalcForm->SaveToFluidDatabaseBitBtn);
        });
        Click(f.CalculateGasDataBitBtn);
        ASSERT_EQ(f.FluidDataSet.FluidCount, 1);
        const int row = f.FluidDataStringGrid->Row();
        EXPECT_EQ(row, 1);
        EXPECT_EQ(f.FluidDataStringGrid->Cells(0, 1), "Testgas");
        EXPECT_EQ(f.FluidDataStringGrid->Cells(5, 1), "0.019500");

        QTimer::singleShot(0, [&] {
            EXPECT_EQ(f.SpecificGravityForm->EditTemperature->text(), "20.000");
            f.SpecificGravityForm->EditSpecificGravity->setText("1");
            Click(f.SpecificGravityForm->BitBtnCalcDensity);
            Click(f.SpecificGravityForm->CloseWindowBitBtn);
        });
        Click(f.BitBtnSpecificGravity);
        EXPECT_EQ(f.Fm.Density->text(), "1.205000");
        EXPECT_EQ(f.Fm.Temperature->text(), "20.000");
    });
    EXPECT_NE(Read("trn_Gases.trgau").find("Testgas~|~X2~|~323.150~|~5.000~|~"), std::string::npos);
}

TEST_F(FluidManagerForm, AFileThatCannotBeWrittenLeavesTheSetAsItWas)
{
    Write("trn_Liquids.trli", {Line("Water", 293.15, false), Line("Benzene", 293.15, false)});
    TFluid zone;
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        ASSERT_TRUE(QDir(dir.path() + "/FluidTables").removeRecursively());
        dialogs.Expect(TDialogKind::Confirmation, RemoveQuestion, DialogYes);
        dialogs.Expect(TDialogKind::Error, QString::fromStdString("Cannot write file " + Path("trn_Liquids.trli")) +
                                               "\r\rThe change has not been made.");
        f.FluidDataStringGrid->SetRow(1);
        Click(f.RemoveEntryBitBtn);
        EXPECT_EQ(ShownNames(), (std::vector<std::string>{"Benzene", "Water"}));
    });
}

TEST_F(FluidManagerForm, AFluidAddedUnderACommaLocaleReadsBackUnderAPoint)
{
    const char savedSeparator = userDecimalSeparator();
    const QLocale savedLocale;
    setUserDecimalSeparator(',');
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TFluid zone;
    dialogs.Expect(TDialogKind::Confirmation, AddQuestion, DialogYes);
    Open(zone, true, [&](TFluidDataManagerForm &f) {
        EXPECT_EQ(f.Fm.Temperature->text(), "20,000");
        Click(f.CreateNewEntryBitBtn);
        Fill(f.User, {"Brine", "NaCl", "15,5", "0", "1100,25", "1,5", "1,7"});
        Click(f.AddNewEntryBitBtn);
        Click(f.ImperialRadioButton);
        EXPECT_EQ(f.Fm.Temperature->text(), "68,000");
    });
    setUserDecimalSeparator(savedSeparator);
    QLocale::setDefault(savedLocale);
    EXPECT_EQ(Read("trn_Liquids.trliu"),
              "1.03~|~~|~\r\nBrine~|~NaCl~|~288,650~|~0,000~|~1100,250~|~1,500~|~1,700000~|~0\r\n");

    TFluidDataManagerForm fresh;
    fresh.ProgramFolder = form.ProgramFolder;
    TFluid other;
    bool freshSaved = false;
    QTimer::singleShot(0, [&] {
        const int id = fresh.FluidDataSet.FindEntryNameId("Brine");
        ASSERT_GE(id, 1);
        EXPECT_DOUBLE_EQ(fresh.FluidDataSet.GetFluidDataRec(id).Fluid->density_kgs_m3, 1100.25);
        EXPECT_DOUBLE_EQ(fresh.FluidDataSet.GetFluidDataRec(id).Fluid->vapourPressure_bar_a, 0.017);
        fresh.reject();
    });
    fresh.OpenFluidDataManager(other, freshSaved, true, false);
}

} // namespace
} // namespace tessaran
