#pragma once
// The main window started as the program starts it, in a program folder of
// its own, with its messages answered by a script.

#include "app/NetworkForm.h"
#include "app/Program_Folder.h"
#include "support/Scripted_User_Interface.h"

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
        form = std::make_unique<TNetworkForm>(ui);
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

    bool Asked(const std::string &text) const
    {
        for (const auto &shown : ui.Messages)
            if (shown.Text == text)
                return true;
        return false;
    }

    QTemporaryDir folder;
    TScriptedUserInterface ui;
    std::unique_ptr<TNetworkForm> form;
};

} // namespace tessaran::test
