#pragma once
// The main window started as the program starts it, in a program folder of
// its own, with its messages answered by a script.

#include "app/NetworkForm.h"
#include "app/Program_Folder.h"
#include "support/qt/Scripted_Dialogs.h"

#include <QApplication>
#include <QPushButton>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tessaran::test {

inline int AddNodeAt(TNetwork &network, int x, int y, TNodeType type = Joint)
{
    TNode node;
    node.NodeType = type;
    node.x = x;
    node.y = y;
    return network.AddNode(node);
}

inline int AddPipeBetween(TNetwork &network, int fromNodeId, int toNodeId)
{
    TPipe pipe;
    pipe.FluidZoneIndex = 1;
    return network.AddPipeLink(fromNodeId, toNodeId, pipe);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.path().toStdString());
        QDir(folder.path()).mkdir("RecentFiles");
        ExpectStartUpMessages(folder.path());
        form = std::make_unique<TNetworkForm>();
        form->CountryCode = "44";
        Start();
    }
    void TearDown() override
    {
        form.reset();
        SetProgramFolder("");
    }

    // The first show runs the whole start-up; the window then gets a fixed size.
    virtual void Start()
    {
        form->show();
        form->setGeometry(0, 0, 1200, 800);
        QApplication::processEvents();
    }

    // A bare program folder: no fittings file, no pipe tables.
    void ExpectStartUpMessages(const QString &programFolder)
    {
        dialogs.Expect(TDialogKind::Information,
                       "Error reading Fittings database file.\r\rPlease check read/write file permissions on:\r" +
                           programFolder + "/FittingTables/Trn_Fittings.trfi");
        dialogs.Expect(TDialogKind::Information,
                       "Error reading Pipe database files.\r\rPlease check read/write file permissions on:\r" +
                           programFolder + "/PipeTables");
    }

    // The next box is this question, answered Yes or No.
    void ExpectQuestion(const QString &text, bool yes)
    {
        dialogs.Expect(TDialogKind::Confirmation, text, yes ? DialogYes : DialogNo);
    }

    int BoxesShown() const { return static_cast<int>(dialogs.Boxes.size()); }

    QTemporaryDir folder;
    TScriptedDialogs dialogs;
    std::unique_ptr<TNetworkForm> form;
};

} // namespace tessaran::test
