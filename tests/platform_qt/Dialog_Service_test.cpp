#include "platform/qt/Dialog_Service.h"

#include <stdexcept>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/qt/Scripted_Dialogs.h"

namespace tessaran {
namespace {

TEST(DialogService, TheInstalledServiceAnswersAndIsRemovedAfterwards)
{
    EXPECT_THROW(Dialogs(), std::logic_error);
    {
        test::TScriptedDialogs dialogs;
        dialogs.Expect(TDialogKind::Confirmation, "Save changes?", DialogYes)
            .Expect(TDialogKind::Confirmation, "Delete?", DialogNo)
            .Expect(TDialogKind::Warning, "Replace?", DialogCancel);
        EXPECT_TRUE(Dialogs().AskYesNo(TDialogKind::Confirmation, "Save changes?"));
        EXPECT_FALSE(Dialogs().AskYesNo(TDialogKind::Confirmation, "Delete?"));
        EXPECT_EQ(Dialogs().AskYesNoCancel(TDialogKind::Warning, "Replace?"), DialogCancel);
        ASSERT_EQ(dialogs.Boxes.size(), 3u);
        EXPECT_EQ(dialogs.Boxes[2].Request.Buttons, DialogYesNoCancel);
    }
    EXPECT_EQ(InstalledDialogs(), nullptr);
}

TEST(DialogService, TheScriptCatchesAWrongTextKindOrUnexpectedBox)
{
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScriptedDialogs dialogs;
            dialogs.Expect(TDialogKind::Error, "File not found");
            Dialogs().ShowMessage(TDialogKind::Warning, "File not found");
        },
        "Warning");
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScriptedDialogs dialogs;
            dialogs.Expect(TDialogKind::Error, "File not found");
            Dialogs().ShowMessage(TDialogKind::Error, "File missing");
        },
        "File missing");
    EXPECT_NONFATAL_FAILURE(
        {
            test::TScriptedDialogs dialogs;
            EXPECT_FALSE(Dialogs().AskYesNo(TDialogKind::Confirmation, "Quit?"));
        },
        "Unexpected message box");
    EXPECT_NONFATAL_FAILURE({ test::TScriptedDialogs dialogs; dialogs.Expect(TDialogKind::Error, "Never"); },
                            "not shown");
}

TEST(DialogService, CarriageReturnsBecomeLineBreaks)
{
    EXPECT_EQ(DialogDisplayText("Line 1\r\rLine 3\r\nLine 4"), "Line 1\n\nLine 3\nLine 4");
    EXPECT_EQ(DialogCaption(TDialogKind::Confirmation), "Confirm");
}

} // namespace
} // namespace tessaran
