// The document commands against the guides shipped in data/Documents: each
// command names a file that is there and hands it to the desktop.

#include "app/Email_Links.h"
#include "app/Maker_Addresses.h"
#include "app/Program_Folder.h"
#include "support/qt/Scripted_Dialogs.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace tessaran::test {
namespace {

class ShippedDocumentCommands : public ::testing::Test {
protected:
    void SetUp() override { SetProgramFolder(std::string(TESSARAN_SOURCE_DIR) + "/data/"); }
    void TearDown() override { SetProgramFolder(""); }

    static QString ShippedPath(const TDocumentCommand &document)
    {
        return QString(TESSARAN_SOURCE_DIR) + "/data/Documents/" + document.FileName;
    }

    TScriptedDialogs dialogs;
};

TEST_F(ShippedDocumentCommands, EveryCommandOpensItsShippedGuide)
{
    ASSERT_EQ(DocumentCommands().size(), 7u);
    for (const TDocumentCommand &document : DocumentCommands()) {
        SCOPED_TRACE(document.Caption);
        const QString path = ShippedPath(document);
        EXPECT_TRUE(QFileInfo(path).isFile() && QFileInfo(path).size() > 1000) << path.toStdString();
        EXPECT_TRUE(OpenDocument(document, nullptr));
        ASSERT_FALSE(dialogs.Opened.empty());
        EXPECT_EQ(QFileInfo(dialogs.Opened.back()).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
    }
    EXPECT_EQ(dialogs.Opened.size(), DocumentCommands().size());
    EXPECT_TRUE(dialogs.Boxes.empty());
}

// A guide that is there but that the desktop cannot open (no PDF viewer)
// gets the same report as a missing one.
TEST_F(ShippedDocumentCommands, ADesktopThatCannotOpenTheGuideGivesTheReport)
{
    dialogs.OpenSucceeds = false;
    const TDocumentCommand &guide = DocumentCommands()[3];
    dialogs.Expect(TDialogKind::Information, QString(guide.Message) + MakerSupportEmail);
    EXPECT_FALSE(OpenDocument(guide, nullptr));
    ASSERT_EQ(dialogs.Opened.size(), 1u);
    EXPECT_EQ(QFileInfo(dialogs.Opened[0]).canonicalFilePath(), QFileInfo(ShippedPath(guide)).canonicalFilePath());
}

} // namespace
} // namespace tessaran::test
