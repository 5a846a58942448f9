#include "dialogs/Fitting_Manager_Form.h"

#include <fstream>
#include <functional>
#include <sstream>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/Fitting_ChooseSymbol_Form.h"
#include "dialogs/Fitting_Sudden_Forms.h"
#include "dialogs/String_Grid_Procedures.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString RecordFull =
    "The pipe fitting record is full.\rReturn to the design screen and \rsplit the pipe to add more fittings.";
const QString SaveQuestion = "Add new fitting data to Fitting database.\rProceed with this operation?";

void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void Choose(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

TFitting Fitting(int size, int symbol, const char *type, double k)
{
    TFitting fitting;
    fitting.SetFittingData(size, symbol, type, std::to_string(size) + " mm", "-", std::string(type) + " fitting", k);
    return fitting;
}

class FittingManagerForm : public ::testing::Test {
protected:
    FittingManagerForm()
    {
        QDir(dir.path()).mkdir("FittingTables");
        form.ProgramFolder = dir.path().toStdString() + "/";
        // Each size: its plain pipe entry, an elbow and a valve.
        std::ostringstream standard;
        standard << "1.02~|~~|~\r\n";
        for (int i = 1; i <= TFittingManagerForm::NominalSizeCount; ++i) {
            const int size = TFittingManagerForm::IndexToNominalMetricSize(i);
            standard << size << "~|~0~|~Pipe~|~" << size << " mm~|~-~|~Pipe size " << size << " mm~|~0.00\r\n";
            standard << size << "~|~1~|~Elb~|~" << size << " mm~|~-~|~Elbow " << size << " mm~|~0.50\r\n";
            standard << size << "~|~7~|~GV~|~" << size << " mm~|~-~|~Gate valve " << size << " mm~|~0.20\r\n";
        }
        Write("Trn_Fittings.trfi", standard.str());
        Write("Trn_Fittings.trfiu", "1.02~|~~|~\r\n0~|~40~|~Mine~|~N/A~|~N/A~|~My strainer~|~2.00\r\n");
    }
    std::string Path(const char *file) const { return dir.path().toStdString() + "/FittingTables/" + file; }
    void Write(const char *file, const std::string &text)
    {
        std::ofstream out(Path(file), std::ios::binary);
        out << text;
    }
    std::string Read(const char *file) const
    {
        std::ifstream in(Path(file), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Open(int size, const std::function<void(TFittingManagerForm &)> &user, bool resultsMode = false)
    {
        QTimer::singleShot(0, [&] {
            QCoreApplication::processEvents();
            user(form);
            if (form.isVisible())
                form.reject();
        });
        form.OpenFittingManager(pipe, 7, "P7 50 mm", size, resultsMode, EntryFitting);
    }
    // The database row of the first fitting with this description.
    int RowOf(TFittingManagerForm &f, const QString &description)
    {
        for (int row = 1; row < f.FittingDataStringGrid->RowCount(); ++row)
            if (f.FittingDataStringGrid->Cells(6, row) == description)
                return row;
        return 0;
    }
    void AddFromDatabase(TFittingManagerForm &f, const QString &description)
    {
        const int row = RowOf(f, description);
        ASSERT_GE(row, 1) << description.toStdString();
        f.FittingDataStringGrid->SetRow(row);
        Click(f.AddSelectedItemBitBtn);
    }

    QTemporaryDir dir;
    test::TScriptedDialogs dialogs;
    TFittingManagerForm form;
    TFittingSet pipe{TFittingManagerForm::PipeFittingSetSize};
};

TEST_F(FittingManagerForm, OpensOnThePipesSizeAndKeepsTheSizeListsInStep)
{
    Open(50, [&](TFittingManagerForm &f) {
        EXPECT_EQ(f.windowTitle(), "Pipe fitting friction coefficients");
        EXPECT_EQ(f.PipeIdLabel->text(), "( Pipe Id: 7 )");
        EXPECT_EQ(f.MetricDiameterComboBox2->currentText(), "50 mm");
        EXPECT_EQ(f.MetricDiameterComboBox2->count(), 45);
        EXPECT_EQ(f.MetricDiameterComboBox->itemText(0), "N/A");
        const int top = f.FittingDataStringGrid->TopRow();
        EXPECT_EQ(f.FittingDataStringGrid->Cells(6, top), "Pipe size 50 mm");
        EXPECT_EQ(f.FittingDataStringGrid->Cells(6, top - 1), "Gate valve 40 mm");
        Choose(f.ImperialDiameterComboBox2, 5);
        EXPECT_EQ(f.MetricDiameterComboBox2->currentIndex(), 5);
        EXPECT_EQ(f.FittingDataStringGrid->Cells(6, f.FittingDataStringGrid->TopRow()), "Pipe size 10 mm");
    });
    Open(51, [&](TFittingManagerForm &f) {
        EXPECT_EQ(f.MetricDiameterComboBox2->currentText(), "-");
        EXPECT_EQ(f.FittingDataStringGrid->TopRow(), 1);
    });
    EXPECT_EQ(TFittingManagerForm::NominalMetricSizeToIndex(2100), 44);
    EXPECT_EQ(TFittingManagerForm::NominalMetricSizeToIndex(51), 0);
    EXPECT_EQ(TFittingManagerForm::IndexToNominalMetricSize(45), 0);
}

TEST_F(FittingManagerForm, ThePipesFittingsAreCountedPlacedAndSavedOnlyBySave)
{
    pipe.AddFitting(Fitting(50, 7, "GV", 0.2), 1, ExitFitting);
    pipe.AddFitting(Fitting(50, 7, "GV", 0.2), 2, ExitFitting);
    pipe.AddFitting(Fitting(50, 1, "Elb", 0.5), 1, EntryFitting);
    Open(50, [&](TFittingManagerForm &f) {
        TStringGridWidget *grid = f.PipeFittingDataStringGrid;
        EXPECT_EQ(grid->Cells(9, 1), "Start of Pipe");
        EXPECT_EQ(grid->Cells(9, 2), "End of Pipe");
        EXPECT_EQ(f.TotalKLabel->text(), "Total K = 1.10");
        f.PipeGridRowClicked(1);
        EXPECT_TRUE(f.QuantityComboBox->isVisible());
        EXPECT_TRUE(f.PositionComboBox->isVisible());
        Choose(f.QuantityComboBox, 2);
        EXPECT_EQ(f.TotalKLabel->text(), "Total K = 2.10");
        EXPECT_EQ(grid->Cells(8, 1), "3");
        f.PipeGridRowClicked(5);
        EXPECT_FALSE(f.QuantityComboBox->isVisible());
        AddFromDatabase(f, "Elbow 50 mm");
        AddFromDatabase(f, "Elbow 50 mm");
        EXPECT_EQ(f.WorkingFittingSet.FittingCount, 5);
        dialogs.Expect(TDialogKind::Information, RecordFull);
        AddFromDatabase(f, "Elbow 50 mm");
        EXPECT_EQ(f.WorkingFittingSet.FittingCount, 5);
        Click(f.CancelBitBtn);
    });
    EXPECT_EQ(pipe.FittingCount, 3);
    EXPECT_EQ(pipe.GetQuantity(3), 1);

    Open(50, [&](TFittingManagerForm &f) {
        f.PipeGridRowClicked(2);
        Choose(f.PositionComboBox, 0);
        EXPECT_EQ(f.PipeFittingDataStringGrid->Cells(9, 2), "Start of Pipe");
        f.PipeGridRowClicked(1);
        Choose(f.QuantityComboBox, 3);
        Click(f.SaveBitBtn);
    });
    EXPECT_EQ(pipe.FittingCount, 3);
    EXPECT_EQ(pipe.countEntryFittings(), 2);
    EXPECT_DOUBLE_EQ(pipe.CalculateTotal_KValue(), 4 * 0.5 + 0.2 + 2 * 0.2);

    Open(50, [&](TFittingManagerForm &f) {
        f.PipeGridRowClicked(1);
        Click(f.RemoveFromPipeBitBtn);
        EXPECT_EQ(f.WorkingFittingSet.FittingCount, 2);
        EXPECT_FALSE(f.QuantityComboBox->isVisible());
        EXPECT_EQ(f.TotalKLabel->text(), "Total K = 0.60");
        Click(f.ClearBitBtn);
        EXPECT_EQ(f.TotalKLabel->text(), "Total K = 0.00");
        Click(f.SaveBitBtn);
    });
    EXPECT_EQ(pipe.FittingCount, 0);
}

TEST_F(FittingManagerForm, AColumnTitleSortsUpThenDown)
{
    Open(6, [&](TFittingManagerForm &f) {
        QHeaderView *titles = f.FittingDataStringGrid->horizontalHeader();
        const QPoint description(titles->sectionPosition(6) + 5, 5);
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, description);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, description);
        EXPECT_EQ(f.FittingDataStringGrid->Cells(6, 1), "Elbow 10 mm");
        QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, description);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, description);
        EXPECT_EQ(f.FittingDataStringGrid->Cells(6, 1), "Pipe size 950 mm");
    });
}

TEST_F(FittingManagerForm, RemovingAStandardFittingRewritesOnlyTheStandardFile)
{
    const std::string user = Read("Trn_Fittings.trfiu");
    dialogs.Expect(TDialogKind::Information, "The plain pipe size entries (symbol 0) cannot be removed.");
    dialogs.Expect(TDialogKind::Confirmation,
                   "This is a standard fitting it will be permanently removed.\rThis action cannot be "
                   "reversed.\r\rContinue with removal?",
                   DialogYes);
    Open(6, [&](TFittingManagerForm &f) {
        f.FittingDataStringGrid->SetRow(RowOf(f, "Pipe size 6 mm"));
        Click(f.RemoveFittingBitBtn);
        const int row = RowOf(f, "Gate valve 6 mm");
        f.FittingDataStringGrid->SetRow(row);
        Click(f.RemoveFittingBitBtn);
        EXPECT_EQ(RowOf(f, "Gate valve 6 mm"), 0);
        EXPECT_EQ(f.FittingDataStringGrid->Row(), row);
    });
    EXPECT_EQ(Read("Trn_Fittings.trfiu"), user);
    const std::string standard = Read("Trn_Fittings.trfi");
    EXPECT_EQ(standard.find("Gate valve 6 mm"), std::string::npos);
    EXPECT_NE(standard.find("Gate valve 7 mm"), std::string::npos);
    EXPECT_EQ(standard.find("My strainer"), std::string::npos);
    EXPECT_EQ(standard.rfind("1.02~|~~|~\r\n", 0), 0u);
}

TEST_F(FittingManagerForm, ADatabaseRowFillsThePanelAndTheEndOfPipeBecomesCurrent)
{
    Open(50, [&](TFittingManagerForm &f) {
        const int row = RowOf(f, "Gate valve 65 mm");
        f.FittingDataStringGrid->SetRow(row);
        f.FittingDataStringGridClick();
        EXPECT_FALSE(f.NewFittingPanel->isVisible());
        EXPECT_EQ(f.FittingTypeEdit->text(), "GV");
        EXPECT_EQ(f.SizeIndexEdit->text(), "65");
        EXPECT_EQ(f.MetricDiameterComboBox->currentText(), "65 mm");
        EXPECT_EQ(f.ImperialDiameterComboBox->currentIndex(), 15);
        EXPECT_EQ(f.DescriptionEdit->text(), "Gate valve 65 mm");
        EXPECT_EQ(f.KValueEdit->text(), "0.2000");
        EXPECT_EQ(f.ImageIndexEdit->text(), "7");

        Click(f.CreateNewFittingBitBtn);
        EXPECT_EQ(f.FittingDataStringGrid->height(), TFittingManagerForm::ShortDatabaseGridHeight);
        f.DescriptionEdit->setText(QString(100, 'D'));
        Choose(f.MetricDiameterComboBox, 14);
        EXPECT_EQ(f.ImperialDiameterComboBox->currentIndex(), 14);
        EXPECT_EQ(f.SizeIndexEdit->text(), "50");
        Click(f.BitBtn1);
        EXPECT_EQ(f.FittingDataStringGrid->height(), TFittingManagerForm::DatabaseGridHeight);
        ASSERT_EQ(f.WorkingFittingSet.FittingCount, 1);
        EXPECT_EQ(f.WorkingFittingSet.GetFitting(1).Description, std::string(80, 'D'));
        EXPECT_EQ(f.WorkingFittingSet.GetFitting(1).MetricSize, 50);

        // Later additions from the database go to the end as well, and the
        // end-of-pipe rows are the highlighted ones.
        AddFromDatabase(f, "Elbow 50 mm");
        EXPECT_EQ(f.WorkingFittingSet.GetFittingPosition(2), ExitFitting);
        EXPECT_EQ(f.PipeFittingDataStringGrid->item(0, 3)->background().color(), QColor(255, 255, 224));
        f.PipeGridRowClicked(2);
        Choose(f.PositionComboBox, 0);
        EXPECT_EQ(f.PipeFittingDataStringGrid->Cells(9, 1), "Start of Pipe");
        EXPECT_EQ(f.PipeFittingDataStringGrid->item(0, 3)->background().color(), QColor(249, 249, 249));
    });
}

TEST_F(FittingManagerForm, PagesMoveByTheGridsHeight)
{
    Open(6, [&](TFittingManagerForm &f) {
        TStringGridWidget *grid = f.FittingDataStringGrid;
        const int page = TFittingManagerForm::DatabaseGridHeight / TFittingManagerForm::DatabaseRowHeight - 2;
        const int top = grid->TopRow();
        Click(f.NextPageBitBtn);
        EXPECT_EQ(grid->TopRow(), top + page);
        EXPECT_EQ(grid->Row(), top + page);
        Click(f.PreviousPageBitBtn);
        Click(f.PreviousPageBitBtn);
        EXPECT_EQ(grid->TopRow(), 1);
        EXPECT_EQ(grid->Row(), 1);
    });
}

TEST_F(FittingManagerForm, AFileThatCannotBeWrittenLeavesTheDatabaseAsItWas)
{
    Open(6, [&](TFittingManagerForm &f) {
        const int count = f.FittingDataSet.FittingCount;
        ASSERT_TRUE(QDir(dir.path() + "/FittingTables").removeRecursively());
        const QString path = QString::fromStdString(Path("Trn_Fittings.trfiu"));
        dialogs.Expect(TDialogKind::Confirmation, SaveQuestion, DialogYes);
        dialogs.Expect(TDialogKind::Error, "Cannot write file " + path + "\r\rThe change has not been made.");
        f.ImageIndexEdit->setText("33");
        f.KValueEdit->setText("1.0");
        Click(f.SaveNewEntryBitBtn);
        EXPECT_EQ(f.FittingDataSet.FittingCount, count);

        const QString standard = QString::fromStdString(Path("Trn_Fittings.trfi"));
        dialogs.Expect(TDialogKind::Confirmation,
                       "This is a standard fitting it will be permanently removed.\rThis action cannot be "
                       "reversed.\r\rContinue with removal?",
                       DialogYes);
        dialogs.Expect(TDialogKind::Error, "Cannot write file " + standard + "\r\rThe change has not been made.");
        f.FittingDataStringGrid->SetRow(RowOf(f, "Elbow 6 mm"));
        Click(f.RemoveFittingBitBtn);
        EXPECT_EQ(f.FittingDataSet.FittingCount, count);
        EXPECT_GE(RowOf(f, "Elbow 6 mm"), 1);
    });
}

TEST_F(FittingManagerForm, ChooserGivesTheSymbolOfTheCellOrKeepsTheOld)
{
    EXPECT_EQ(TChooseSymbolForm::SymbolIndexFromGridCell(4, 3), 31);
    EXPECT_EQ(TChooseSymbolForm::SymbolIndexFromGridCell(6, 6), 48);
    Open(6, [&](TFittingManagerForm &f) {
        f.ImageIndexEdit->setText("5");
        QTimer::singleShot(0, [&] {
            EXPECT_EQ(f.ChooseSymbolForm->SymbolDrawGrid->currentRow(), 0);
            EXPECT_EQ(f.ChooseSymbolForm->SymbolDrawGrid->currentColumn(), 5);
            f.ChooseSymbolForm->SymbolDrawGrid->setCurrentCell(4, 3);
            Click(f.ChooseSymbolForm->OKBitBtn);
        });
        Click(f.ChangeImageButton);
        EXPECT_EQ(f.ImageIndexEdit->text(), "31");
        QTimer::singleShot(0, [&] {
            f.ChooseSymbolForm->SymbolDrawGrid->setCurrentCell(1, 1);
            Click(f.ChooseSymbolForm->CancelBitBtn);
        });
        Click(f.ChangeImageButton);
        EXPECT_EQ(f.ImageIndexEdit->text(), "31");
    });
}

TEST_F(FittingManagerForm, NewFittingsThatWouldBreakTheDatabaseAreRefused)
{
    const std::string user = Read("Trn_Fittings.trfiu");
    dialogs.Expect(TDialogKind::Information, "The 'K' value is not valid");
    dialogs.Expect(TDialogKind::Information,
                   "Choose a symbol for the new fitting: symbol 0 is kept for the plain pipe size entries.");
    dialogs.Expect(TDialogKind::Information, "The fitting type and description cannot hold \"~|~\".");
    Open(6, [&](TFittingManagerForm &f) {
        Click(f.CreateNewFittingBitBtn);
        f.KValueEdit->setText("x");
        Click(f.SaveNewEntryBitBtn);
        f.KValueEdit->setText("1.5");
        f.ImageIndexEdit->setText("0");
        Click(f.SaveNewEntryBitBtn);
        f.ImageIndexEdit->setText("3");
        f.DescriptionEdit->setText("A~|~B");
        Click(f.SaveNewEntryBitBtn);
    });
    EXPECT_EQ(Read("Trn_Fittings.trfiu"), user);
}

TEST_F(FittingManagerForm, ResultsModeOnlyShows)
{
    pipe.AddFitting(Fitting(50, 1, "Elb", 0.5), 1, EntryFitting);
    Open(
        50,
        [&](TFittingManagerForm &f) {
            for (QWidget *control : std::initializer_list<QWidget *>{
                     f.SaveBitBtn, f.CancelBitBtn, f.ClearBitBtn, f.FittingDataStringGrid, f.AddSelectedItemBitBtn,
                     f.RemoveFittingBitBtn, f.SuddenContractionBitBtn, f.CreateNewFittingBitBtn})
                EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        },
        true);
    EXPECT_EQ(pipe.FittingCount, 1);
}

TEST_F(FittingManagerForm, ACalculatedFittingIsStoredAndPutOnThePipe)
{
    Open(50, [&](TFittingManagerForm &f) {
        QTimer::singleShot(0, [&] {
            TSuddenContractionCalculationForm *calculator = f.SuddenContractionCalculationForm;
            EXPECT_EQ(f.KValueEdit->text(), "1.50");
            calculator->LargeDiameterEdit->setText("2");
            calculator->SmallDiameterEdit->setText("1");
            Click(calculator->CreateNewFittingBitBtn);
        });
        Click(f.SuddenContractionBitBtn);
        EXPECT_EQ(f.KValueEdit->text(), "6.00");
        EXPECT_EQ(f.FittingTypeEdit->text(), "SuCon");
        EXPECT_EQ(f.DescriptionEdit->text(), "Sudden contraction");
        EXPECT_EQ(f.ImageIndexEdit->text(), "32");
        EXPECT_EQ(f.MetricDiameterComboBox->currentText(), "N/A");
        EXPECT_EQ(f.SizeIndexEdit->text(), "0");

        dialogs.Expect(TDialogKind::Confirmation, SaveQuestion, DialogYes);
        Click(f.SaveNewEntryBitBtn);
        EXPECT_FALSE(f.NewFittingPanel->isVisible());
        Click(f.CreateNewFittingBitBtn);
        Click(f.BitBtn1);
        EXPECT_EQ(f.CurrentPosition(), ExitFitting);
        ASSERT_EQ(f.WorkingFittingSet.FittingCount, 1);
        EXPECT_TRUE(f.QuantityComboBox->isVisible());
        Choose(f.QuantityComboBox, 1);
        Click(f.SaveBitBtn);
    });
    ASSERT_EQ(pipe.FittingCount, 1);
    EXPECT_EQ(pipe.GetFittingPosition(1), ExitFitting);
    EXPECT_EQ(QString::fromStdString(formatFixed(2, pipe.CalculateTotal_KValue())), "12.00");

    TFittingManagerForm fresh;
    fresh.ProgramFolder = form.ProgramFolder;
    TFittingSet other(TFittingManagerForm::PipeFittingSetSize);
    QTimer::singleShot(0, [&] {
        const int row = RowOf(fresh, "Sudden contraction");
        ASSERT_GE(row, 1);
        const int id = fresh.DatabaseRowFittingId(row);
        EXPECT_EQ(fresh.FittingDataSet.GetFittingFileType(id), FittingFileUser);
        EXPECT_EQ(fresh.FittingDataStringGrid->Cells(7, row), "6.0000");
        EXPECT_EQ(fresh.FittingDataStringGrid->Cells(2, row), "32");
        fresh.reject();
    });
    fresh.OpenFittingManager(other, 1, "P1", 50, false, EntryFitting);
}

} // namespace
} // namespace tessaran
