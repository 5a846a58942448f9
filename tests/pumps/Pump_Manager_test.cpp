// The pump library dialog on a temporary library, and the editor's command
// that opens it.

#include "pumps/Pump_Manager_Form.h"

#include <functional>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Data_Form.h"
#include "pumps/Pump_Database_Class.h"
#include "pumps/Pump_Manager_Save_Form.h"
#include "pumps/Sample_Pump.h"
#include "support/qt/Scripted_Dialogs.h"

namespace tessaran {
namespace {

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

// The sample pump under a name, with the speed and diameter ranges a
// search accepts.
void MakePump(TPump &pump, const std::string &name)
{
    test::MakeSamplePump(pump, 2900);
    pump.Name = name;
    pump.PumpSpeedMinRpm = 1000;
    pump.PumpSpeedMaxRpm = 2900;
    pump.PumpImpellerDiameterMin_m = 0.2;
    pump.PumpImpellerDiameterMax_m = 0.25;
    pump.calcPumpCurves(1000);
}

// Runs the action once the dialog is up: opening shows a please-wait window
// first, which lets queued events run before the dialog itself is shown.
void WhenShown(const std::function<void()> &action, int tries = 200)
{
    QTimer::singleShot(tries == 200 ? 0 : 10, [action, tries] {
        if (TPumpManagerForm::Instance().isVisible() || tries <= 0)
            action();
        else
            WhenShown(action, tries - 1);
    });
}

QTreeWidgetItem *FindNode(QTreeWidget *tree, const QString &text)
{
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

class PumpManager : public ::testing::Test {
protected:
    PumpManager()
    {
        QDir(root).removeRecursively();
        QDir().mkpath(root + "/Main/Sub/Deep");
        TPumpManagerSaveForm::LibraryRootOverride = root;
        const int tank = test::AddTank(network, "T", 0.0);
        const int joint = test::AddSolverNode(network, "J", Joint, 0.0);
        pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
        network.FluidZones[1].Fluid.density_kgs_m3 = 1000;
        Write("Main/Alpha.trpm", "Library Alpha");
        Write("Main/Sub/Beta.trpm", "Library Beta");
        Write("Main/Sub/Deep/Gamma.trpm", "Library Gamma");
        MakePump(pump, "Edited");
    }
    ~PumpManager() override
    {
        QDir(root).removeRecursively();
        TPumpManagerSaveForm::LibraryRootOverride.clear();
    }
    void Write(const QString &relative, const std::string &name)
    {
        TPump p;
        MakePump(p, name);
        TMemoryStream stream;
        p.Save(stream, PumpCurrentFileVersion, 1000, true);
        stream.SaveToFile((root + "/" + relative).toStdString());
    }
    // Opens the dialog; the user acts while it is up, and it is cancelled
    // if still open afterwards.
    void Open(const std::function<void(TPumpManagerForm &)> &user)
    {
        bool shown = false;
        WhenShown([&] {
            TPumpManagerForm &f = TPumpManagerForm::Instance();
            if (!f.isVisible())
                return;
            shown = true;
            user(f);
            if (f.isVisible())
                Click(f.BitBtnCancel);
        });
        TPumpManagerForm::OpenForm(database, pump, pumpPipe, network);
        QApplication::processEvents();
        EXPECT_TRUE(shown);
    }
    void Preview(TPumpManagerForm &f, const QString &file)
    {
        QTreeWidgetItem *node = FindNode(f.TreeViewPumps, file);
        ASSERT_NE(node, nullptr) << file.toStdString();
        f.TreeViewPumps->setCurrentItem(node);
    }

    // A library of each test's own: tests run side by side in CI.
    QTemporaryDir temp;
    const QString root = temp.path() + "/Pumps";
    const QString noPreview = "Please select a pump from the list before choosing Select.";
    TNetwork network;
    TPumpDatabase database;
    test::TScriptedDialogs dialogs;
    TPump pump;
    int pumpPipe = 0;
};

TEST_F(PumpManager, BrowsingPreviewsAPumpAndSelectHandsItBack)
{
    Open([&](TPumpManagerForm &f) {
        EXPECT_EQ(f.windowTitle(), "Pump Library");
        EXPECT_TRUE(f.RadioButtonBrowse->isChecked());
        EXPECT_TRUE(f.TreeViewPumps->isEnabled());
        EXPECT_FALSE(f.EditFlow->isEnabled());
        EXPECT_EQ(f.ComboBoxTopFolder->currentText(), "Main");
        EXPECT_EQ(database.pumpCount, 3);
        // Nothing previewed yet: Select refuses and the dialog stays.
        dialogs.Expect(TDialogKind::Information, noPreview);
        Click(f.BitBtnSelect);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.BitBtnSelectPump->isEnabled());

        Preview(f, "Beta.trpm");
        EXPECT_EQ(f.LabelName->text(), "Library Beta");
        EXPECT_EQ(f.LabelRunningSpeed->text(), "2900  rpm");
        EXPECT_EQ(f.LabelRunningDiameter->text(), "250.000 mm");
        EXPECT_TRUE(f.BitBtnSelectPump->isEnabled());
        // The preview was drawn: the chart is no longer plain white.
        const QImage &picture = f.ImagePumpCurve->Picture;
        bool drawn = false;
        for (int y = 0; y < picture.height() && !drawn; y += 3)
            for (int x = 0; x < picture.width() && !drawn; x += 3)
                drawn = picture.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_TRUE(drawn);
        // A head unit of the imperial family redraws with the diameter in inches.
        f.ComboBoxHeadUnit->setCurrentIndex(1);
        emit f.ComboBoxHeadUnit->activated(1);
        EXPECT_EQ(f.PreviewPump.PumpPoints.HeadDisplayUnit, unt_ft_hd_fluid);
        EXPECT_EQ(f.LabelRunningDiameter->text(), "9.843 inch");
        EXPECT_TRUE(f.BitBtnSelectPump->isEnabled());
        f.ComboBoxHeadUnit->setCurrentIndex(0);
        emit f.ComboBoxHeadUnit->activated(0);
        QTest::mouseDClick(f.ImagePumpCurve, Qt::LeftButton);
        EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(pump.Name, "Library Beta");
    EXPECT_EQ(pump.PumpPoints.PointsCount, 5);

    // Cancel after a preview leaves the caller's pump alone, and the next
    // opening refuses Select until a pump of that opening is previewed.
    Open([&](TPumpManagerForm &f) {
        Preview(f, "Alpha.trpm");
        Click(f.BitBtnCancel);
    });
    EXPECT_EQ(pump.Name, "Library Beta");
    Open([&](TPumpManagerForm &f) {
        dialogs.Expect(TDialogKind::Information, noPreview);
        Click(f.BitBtnSelect);
        EXPECT_TRUE(f.isVisible());
    });
    EXPECT_EQ(pump.Name, "Library Beta");
}

TEST_F(PumpManager, APumpFileGoneSinceIndexingIsReportedAndCannotBeChosen)
{
    Open([&](TPumpManagerForm &f) {
        ASSERT_TRUE(QFile::remove(root + "/Main/Alpha.trpm"));
        dialogs.Expect(TDialogKind::Warning, "Cannot open pump file.\r\rThe file may have been moved or deleted: \r\r" +
                                                 root + "/Main/Alpha.trpm");
        Preview(f, "Alpha.trpm");
        EXPECT_FALSE(f.BitBtnSelectPump->isEnabled());
        EXPECT_TRUE(f.LabelName->text().isEmpty());
        dialogs.Expect(TDialogKind::Information, noPreview);
        Click(f.BitBtnSelect);
        EXPECT_TRUE(f.isVisible());
    });
    EXPECT_EQ(pump.Name, "Edited");
}

TEST_F(PumpManager, TheEditorsOpenPumpDatabaseLoadsTheChosenPump)
{
    bool deleted = false;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        TPumpDataForm &editor = TPumpDataForm::Instance();
        if (!editor.isVisible())
            return;
        shown = true;
        WhenShown([&] {
            TPumpManagerForm &f = TPumpManagerForm::Instance();
            ASSERT_TRUE(f.isVisible());
            Preview(f, "Alpha.trpm");
            Click(f.BitBtnSelectPump);
        });
        editor.LoadfromPumpDatabase1->trigger();
        EXPECT_FALSE(TPumpManagerForm::Instance().isVisible());
        EXPECT_EQ(editor.EditedPump.Name, "Library Alpha");
        EXPECT_EQ(editor.EditedPump.Speed_rpm, 2900);
        EXPECT_TRUE(editor.GraphDrawingEnabled);
        Click(editor.BitBtnCancelPump);
    });
    TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, false);
    QApplication::processEvents();
    EXPECT_TRUE(shown);

    // In results mode the library is not opened.
    shown = false;
    QTimer::singleShot(0, [&] {
        TPumpDataForm &editor = TPumpDataForm::Instance();
        if (!editor.isVisible())
            return;
        shown = true;
        dialogs.Expect(TDialogKind::Information, "Cannot open Pump Database in Results Mode.\r\r");
        editor.LoadfromPumpDatabase1Click();
        Click(editor.BitBtnCancelPump);
    });
    TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, true);
    QApplication::processEvents();
    EXPECT_TRUE(shown);
}

TEST_F(PumpManager, FindPumpsChecksItsInputsAndListsThePumpsThatMeetTheDuty)
{
    Open([&](TPumpManagerForm &f) {
        f.RadioButtonSearch->setChecked(true);
        EXPECT_TRUE(f.EditFlow->isEnabled());
        EXPECT_FALSE(f.TreeViewPumps->isEnabled());
        EXPECT_FALSE(f.BitBtnAddToFilteredList->isEnabled());
        auto find = [&](const QString &flow, const QString &head, const QString &speedMin, const QString &speedMax) {
            f.EditFlow->setText(flow);
            f.EditHead->setText(head);
            f.EditSpeedMin->setText(speedMin);
            f.EditSpeedMax->setText(speedMax);
            Click(f.BitBtnFindPumps);
        };
        struct Check {
            QString flow, head, speedMin, speedMax, message;
        } checks[] = {
            {"36", "35", "3000", "1000", "Maximum speed must be greater than minimum speed.\r"},
            {"36", "35", "0", "0", "Maximum speed must be greater than zero.\r"},
            {"0", "35", "1000", "3000", "Flow must be greater than zero.\r"},
            {"36", "0", "1000", "3000", "Head must be greater than zero.\r"},
        };
        for (const Check &c : checks) {
            dialogs.Expect(TDialogKind::Error, c.message);
            find(c.flow, c.head, c.speedMin, c.speedMax);
            EXPECT_FALSE(f.BitBtnSelectPump->isEnabled()) << c.message.toStdString();
        }

        // Far beyond every curve: nothing listed, nothing to choose.
        find("500", "35", "1000", "3000");
        EXPECT_EQ(f.GroupBoxResults->title(), "Filtered Results: 0 Pumps");
        EXPECT_FALSE(f.BitBtnSelectPump->isEnabled());

        // 90 % of the base speed: every pump of the folder meets it slower.
        find("36", "35.64", "1000", "3000");
        EXPECT_EQ(f.GroupBoxResults->title(), "Filtered Results: 3 Pumps");
        ASSERT_TRUE(f.BitBtnSelectPump->isEnabled());
        const int entry = f.StringGridPumps->item(2, 0)->text().toInt();
        ASSERT_GE(entry, 1);
        const TPump &matched = database.Entry(entry).Pump;
        EXPECT_LT(matched.Speed_rpm, 2900);
        EXPECT_GT(matched.Speed_rpm, 2000);
        EXPECT_EQ(f.PreviewPump.Speed_rpm, matched.Speed_rpm);
        EXPECT_EQ(f.LabelRunningSpeed->text(), QString::number(matched.Speed_rpm) + "  rpm");
        Click(f.BitBtnSelectPump);
    });
    EXPECT_EQ(pump.PumpPoints.PointsCount, 5);
    EXPECT_LT(pump.Speed_rpm, 2900);
    EXPECT_GT(pump.Speed_rpm, 2000);

    // The next opening starts in browse mode with the results gone.
    Open([&](TPumpManagerForm &f) {
        EXPECT_TRUE(f.RadioButtonBrowse->isChecked());
        EXPECT_EQ(f.GroupBoxResults->title(), "Filtered Results");
        EXPECT_EQ(f.StringGridPumps->item(2, 0), nullptr);
    });
}

TEST_F(PumpManager, AddToFilteredListTakesSelectedPumpsUpToTwoLevelsDown)
{
    Open([&](TPumpManagerForm &f) {
        for (const QString &file : {"Alpha.trpm", "Beta.trpm", "Gamma.trpm"}) {
            QTreeWidgetItem *node = FindNode(f.TreeViewPumps, file);
            ASSERT_NE(node, nullptr);
            node->setSelected(true);
        }
        Click(f.BitBtnAddToFilteredList);
        EXPECT_EQ(f.GroupBoxResults->title(), "Filtered List: 2 Pumps");
        // Marks accumulate until the results are cleared.
        Click(f.BitBtnAddToFilteredList);
        EXPECT_EQ(f.GroupBoxResults->title(), "Filtered List: 2 Pumps");
        // A listed pump whose file has gone since: reported, its row dropped.
        int alphaRow = -1;
        for (int r = 0; r < f.StringGridPumps->rowCount(); ++r)
            if (f.StringGridPumps->item(r, 1) && f.StringGridPumps->item(r, 1)->text() == "Alpha.trpm")
                alphaRow = r;
        ASSERT_GE(alphaRow, 2);
        const int rows = f.StringGridPumps->rowCount();
        ASSERT_TRUE(QFile::remove(root + "/Main/Alpha.trpm"));
        dialogs.Expect(TDialogKind::Warning, "Cannot open pump file.\r\rThe file may have been moved or deleted: \r\r" +
                                                 root + "/Main/Alpha.trpm");
        f.PreviewGridRow(alphaRow);
        EXPECT_EQ(f.StringGridPumps->rowCount(), rows - 1);
        EXPECT_FALSE(f.BitBtnSelectPump->isEnabled());
        Click(f.BitBtnClearFilteredResults);
        EXPECT_EQ(f.GroupBoxResults->title(), "Filtered Results");
        int marked = 0;
        for (int i = 1; i <= database.pumpCount; ++i)
            marked += database.Entry(i).Selected ? 1 : 0;
        EXPECT_EQ(marked, 0);
    });
}

TEST_F(PumpManager, DeleteRemovesPumpFilesAndOnlyEmptyFolders)
{
    QDir().mkpath(root + "/Main/Empty");
    QDir().mkpath(root + "/Other");
    Write("Other/Delta.trpm", "Library Delta");
    Open([&](TPumpManagerForm &f) {
        QAction *remove = f.TreeViewPumps->findChild<QAction *>("Delete1");
        ASSERT_NE(remove, nullptr);
        f.TreeViewPumps->setCurrentItem(nullptr);
        dialogs.Expect(TDialogKind::Warning, "Error occured: Cannot delete folder.\r\r ");
        remove->trigger();

        // A folder holding pumps stays, on disk and in the tree.
        f.TreeViewPumps->setCurrentItem(FindNode(f.TreeViewPumps, "Sub"));
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to delete the selected folder?\r", DialogYes);
        dialogs.Expect(TDialogKind::Warning, "Cannot delete folder.\r\rFolder must be empty before it can be deleted.");
        remove->trigger();
        EXPECT_TRUE(QDir(root + "/Main/Sub").exists());
        EXPECT_NE(FindNode(f.TreeViewPumps, "Sub"), nullptr);

        // "No" keeps the pump; "Yes" deletes its file and its node.
        Preview(f, "Alpha.trpm");
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to delete the selected pump?\r", DialogNo);
        remove->trigger();
        EXPECT_TRUE(QFile::exists(root + "/Main/Alpha.trpm"));
        Preview(f, "Beta.trpm");
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to delete the selected pump?\r", DialogYes);
        remove->trigger();
        EXPECT_FALSE(QFile::exists(root + "/Main/Sub/Beta.trpm"));
        EXPECT_EQ(FindNode(f.TreeViewPumps, "Beta.trpm"), nullptr);

        // Changing the top folder rebuilds index and tree.
        f.ComboBoxTopFolder->setCurrentText("Other");
        f.TopFolderChange();
        EXPECT_EQ(database.pumpCount, 1);
        EXPECT_NE(FindNode(f.TreeViewPumps, "Delta.trpm"), nullptr);
    });
    // The last top folder is shown again; one that has gone falls back to the first.
    Open([&](TPumpManagerForm &f) { EXPECT_EQ(f.ComboBoxTopFolder->currentText(), "Other"); });
    QDir(root + "/Other").removeRecursively();
    Open([&](TPumpManagerForm &f) { EXPECT_EQ(f.ComboBoxTopFolder->currentText(), "Main"); });
}

} // namespace
} // namespace tessaran
