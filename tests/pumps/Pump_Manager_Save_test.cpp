// The add-to-library dialog on a temporary library.

#include "Sample_Pump.h"
#include "pumps/Pump_Manager_Save_Form.h"

#include <functional>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "network/Liquid_Network_Fixture.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "pumps/Pump_Data_Form.h"
#include "pumps/Pump_Database_Class.h"
#include "support/qt/Scripted_Dialogs.h"

namespace tessaran {
namespace {

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void MakePump(TPump &pump) { test::MakeSamplePump(pump, 2900); }

QTreeWidgetItem *Node(TPumpManagerSaveForm &f, const QString &folder, const QString &file = QString())
{
    QTreeWidgetItem *root = f.TreeViewFolders->topLevelItem(0);
    if (!root)
        return nullptr;
    if (folder.isEmpty())
        return root;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->text(0) == folder) {
            QTreeWidgetItem *node = root->child(i);
            if (file.isEmpty())
                return node;
            for (int j = 0; j < node->childCount(); ++j)
                if (node->child(j)->text(0) == file)
                    return node->child(j);
        }
    return nullptr;
}

class PumpManagerSave : public ::testing::Test {
protected:
    PumpManagerSave()
    {
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        TPumpManagerSaveForm::LibraryRootOverride = root;
        const int tank = test::AddTank(network, "T", 0.0);
        const int joint = test::AddSolverNode(network, "J", Joint, 0.0);
        pumpPipe = test::AddSolverPipe(network, tank, joint, 100, 0.1, "Pumped");
        network.FluidZones[1].Fluid.density_kgs_m3 = 1000;
        MakePump(pump);
    }
    ~PumpManagerSave() override
    {
        QDir(root).removeRecursively();
        TPumpManagerSaveForm::LibraryRootOverride.clear();
    }
    void Open(const std::function<void(TPumpManagerSaveForm &)> &user)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            TPumpManagerSaveForm &f = TPumpManagerSaveForm::Instance();
            if (!f.isVisible())
                return;
            shown = true;
            user(f);
            if (f.isVisible())
                Click(f.BitBtnCancel);
        });
        TPumpManagerSaveForm::OpenForm(database, pump, pumpPipe, network);
        QApplication::processEvents();
        EXPECT_TRUE(shown);
    }

    // A folder of each test's own: tests run side by side in CI.
    QTemporaryDir temp;
    const QString root = temp.path() + "/Pumps";
    TNetwork network;
    TPumpDatabase database;
    test::TScriptedDialogs dialogs;
    TPump pump;
    int pumpPipe = 0;
};

TEST_F(PumpManagerSave, FoldersAreCreatedByTheirRules)
{
    const QString blank = "Folder name cannot be blank.\r\rPlease enter a folder name and try again. ";
    Open([&](TPumpManagerSaveForm &f) {
        struct Case {
            QString typed;
            QString message; // empty: created
            QString folder;
        } cases[] = {
            {"Pumps", "Sub folder called Pumps is not allowed.", ""},
            {"pumps", "", "pumps"},
            {"Main Line!", "", "MainLine"},
            {"Old.TRPM", "", "Old"},
            {"@#$", blank, ""},
            {"..", blank, ""},
            {"*.trpm", blank, ""},
        };
        for (const Case &c : cases) {
            f.EditFolderName->setText(c.typed);
            if (!c.message.isEmpty())
                dialogs.Expect(TDialogKind::Warning, c.message);
            Click(f.BitBtnCreateFolder);
            if (!c.folder.isEmpty()) {
                EXPECT_TRUE(QDir(root + "/" + c.folder).exists()) << c.typed.toStdString();
                EXPECT_NE(Node(f, c.folder), nullptr) << c.typed.toStdString();
            }
        }
        EXPECT_FALSE(QDir(root + "/Pumps").exists());
        EXPECT_EQ(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 3);
    });
}

TEST_F(PumpManagerSave, SavingOverwritingAndDeleting)
{
    QDir().mkpath(root + "/Main");
    Open([&](TPumpManagerSaveForm &f) {
        // The root is no folder to save to; a name is needed.
        f.TreeViewFolders->setCurrentItem(Node(f, ""));
        f.EditPumpFileName->setText("A");
        dialogs.Expect(TDialogKind::Information, "Please select a pump folder to save to.");
        Click(f.BitBtnSavePump);
        f.TreeViewFolders->setCurrentItem(Node(f, "Main"));
        f.EditPumpFileName->clear();
        dialogs.Expect(TDialogKind::Information, "Please enter a filename.");
        Click(f.BitBtnSavePump);
        // ".TRPM" typed in the name is dropped before the extension is added.
        f.EditPumpFileName->setText("Duty.TRPM");
        dialogs.Expect(TDialogKind::Information, "The Pump has been saved to the Pump Database.");
        Click(f.BitBtnSavePump);
        EXPECT_FALSE(f.isVisible());
    });
    const QString file = root + "/Main/Duty.trpm";
    ASSERT_TRUE(QFile::exists(file));
    TPump back;
    {
        QFile in(file);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray data = in.readAll();
        TMemoryStream stream(std::vector<std::uint8_t>(data.begin(), data.end()));
        back.Load(stream, PumpCurrentFileVersion, 1000, true);
    }
    EXPECT_EQ(back.Name, "P-1");
    EXPECT_EQ(back.PumpFileVersionString, PumpCurrentFileVersion);

    pump.Name = "Changed";
    Open([&](TPumpManagerSaveForm &f) {
        // Clicking a pump copies its name; "No" to overwriting keeps the file.
        QTreeWidgetItem *node = Node(f, "Main", "Duty.trpm");
        ASSERT_NE(node, nullptr);
        f.TreeViewFolders->setCurrentItem(node);
        emit f.TreeViewFolders->itemClicked(node, 0);
        EXPECT_EQ(f.EditPumpFileName->text(), "Duty");
        const QByteArray before = [&] {
            QFile in(file);
            in.open(QIODevice::ReadOnly);
            return in.readAll();
        }();
        dialogs.Expect(TDialogKind::Confirmation,
                       "File already exists in selected Pump Folder\r\rDo wish to overwrite the existing file?",
                       DialogNo);
        Click(f.BitBtnSavePump);
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        EXPECT_EQ(in.readAll(), before);
        // A folder that holds a pump is not deleted.
        f.TreeViewFolders->setCurrentItem(Node(f, "Main"));
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to delete the selected folder?\r", DialogYes);
        dialogs.Expect(TDialogKind::Warning, "Cannot delete folder.\r\rFolder must be empty before it can be deleted.");
        f.DeleteClick();
        EXPECT_TRUE(QFile::exists(file));
        // The pump, then the empty folder.
        f.TreeViewFolders->setCurrentItem(Node(f, "Main", "Duty.trpm"));
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to delete the selected pump?\r", DialogYes);
        f.DeleteClick();
        EXPECT_FALSE(QFile::exists(file));
        f.TreeViewFolders->setCurrentItem(Node(f, "Main"));
        dialogs.Expect(TDialogKind::Confirmation, "Are you sure you wish to delete the selected folder?\r", DialogYes);
        f.DeleteClick();
        EXPECT_FALSE(QDir(root + "/Main").exists());
        EXPECT_EQ(Node(f, "Main"), nullptr);
    });
}

// From the editor: "Add to Pump Database" into a new top folder.
TEST_F(PumpManagerSave, EditorAddsItsPumpToANewTopFolder)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        TPumpDataForm &editor = TPumpDataForm::Instance();
        QTimer::singleShot(0, [&] {
            TPumpManagerSaveForm &f = TPumpManagerSaveForm::Instance();
            shown = f.isVisible();
            f.EditFolderName->setText("Site");
            Click(f.BitBtnCreateFolder);
            f.TreeViewFolders->setCurrentItem(Node(f, "Site"));
            f.EditPumpFileName->setText("Booster");
            dialogs.Expect(TDialogKind::Information, "The Pump has been saved to the Pump Database.");
            Click(f.BitBtnSavePump);
        });
        Click(editor.BitBtnAddPumpToDatabase);
        Click(editor.BitBtnCancelPump);
    });
    bool deleted = false;
    TPumpDataForm::OpenForm(database, pump, pumpPipe, network, deleted, false);
    QApplication::processEvents();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(QFile::exists(root + "/Site/Booster.trpm"));
}

} // namespace
} // namespace tessaran
