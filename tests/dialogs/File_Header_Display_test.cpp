#include "dialogs/File_Header_Display.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "model/FileHeader.h"

namespace tessaran {
namespace {

// Presses the keys on a widget and reports what "File data" showed (empty
// when it did not open).
QStringList ShownAfter(QWidget *target, Qt::KeyboardModifiers modifiers)
{
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        TFileHeaderDisplayForm &form = FileHeaderDisplayForm();
        if (!form.isVisible())
            return;
        shown = {form.windowTitle(), form.VersionReferenceLabel->text(), form.FilenameLabel->text(),
                 form.FileDateLabel->text()};
        form.reject();
    });
    QTest::keyClick(target, Qt::Key_F12, modifiers);
    QApplication::processEvents();
    return shown;
}

struct Dialog {
    explicit Dialog(bool fromAnyControl)
    {
        header.SetData("1.02", "Trn_Fittings.trfi", "2024-03-01", '.');
        edit = new QLineEdit(&dialog);
        edit->setObjectName("EditSearch");
        InstallFileDataKey(&dialog, &header, fromAnyControl);
        dialog.show();
    }
    QDialog dialog;
    QLineEdit *edit;
    TFileHeader header;
};

TEST(FileData, CtrlShiftF12ShowsTheDialogsHeader)
{
    Dialog database(false);
    database.dialog.setFocus();
    const QStringList expected = {"File data", "1.02", "Trn_Fittings.trfi", "2024-03-01"};
    EXPECT_EQ(ShownAfter(&database.dialog, Qt::ControlModifier | Qt::ShiftModifier), expected);
    // The header is read when the key comes.
    database.header.SetData("1.05", "Steel.trpi", "2025-01-02", '.');
    EXPECT_EQ(ShownAfter(&database.dialog, Qt::ControlModifier | Qt::ShiftModifier).value(2), "Steel.trpi");
    EXPECT_EQ(FileHeaderDisplayForm().size(), QSize(280, 94));
}

TEST(FileData, OnlyExactlyCtrlAndShiftOpenIt)
{
    Dialog database(true);
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, Qt::KeyboardModifiers(Qt::NoModifier)})
        EXPECT_TRUE(ShownAfter(&database.dialog, modifiers).isEmpty()) << modifiers.toInt();
}

TEST(FileData, FromAControlOnlyWhereTheDialogPreviewsKeys)
{
    Dialog preview(true);
    preview.edit->setFocus();
    EXPECT_EQ(ShownAfter(preview.edit, Qt::ControlModifier | Qt::ShiftModifier).value(1), "1.02");

    Dialog plain(false);
    plain.dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&plain.dialog));
    plain.edit->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), plain.edit);
    EXPECT_TRUE(ShownAfter(plain.edit, Qt::ControlModifier | Qt::ShiftModifier).isEmpty());
}

} // namespace
} // namespace tessaran
