#include "units/widgets/RightEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/qt/Scripted_Dialogs.h"
#include "units/Numeric_Entry.h"

namespace tessaran {
namespace {

// What the next modal box showed; the box is closed as soon as it is up.
struct SeenBox {
    bool shown = false;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPoint position;
    QColor editColour;
};

void CloseNextModal(SeenBox &seen, const QLineEdit *edit = nullptr)
{
    QTimer::singleShot(0, [&seen, edit] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.shown = true;
        seen.text = box->text();
        seen.icon = box->icon();
        seen.position = box->pos();
        if (edit)
            seen.editColour = edit->palette().color(QPalette::Base);
        box->close();
    });
}

void Type(QWidget *widget, const QString &keys)
{
    for (const QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

TEST(RightEdit, IsRightJustified)
{
    TRightEdit edit;
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
}

TEST(RightEdit, KeyPressHandlerFiltersTypedKeys)
{
    ASSERT_EQ(LocaleDecimalSeparator(), u'.');  // the test environment's locale
    TRightEdit edit;
    edit.OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 5, 2); };
    Type(&edit, "12a.3-.4x");
    EXPECT_EQ(edit.text(), "12.34");

    SeenBox seen;
    CloseNextModal(seen);
    Type(&edit, "5");  // a third decimal
    EXPECT_EQ(edit.text(), "12.34");
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.text, "Maximum number of post-decimal digits reached.\n\n"
                         "Delete some post-decimal digits and then update the value as required.");

    edit.selectAll();
    Type(&edit, "9");  // typing replaces the selection
    EXPECT_EQ(edit.text(), "9");
}

TEST(RightEdit, IntegerKeysRespectTheSelection)
{
    TRightEdit edit;
    edit.OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterIntegerKey(sender, key, true, 3); };
    Type(&edit, "-12345");
    EXPECT_EQ(edit.text(), "-12");
    edit.setSelection(1, 2);
    Type(&edit, "7");
    EXPECT_EQ(edit.text(), "-7");
}

TEST(RightEdit, ReadersUseTheBoxText)
{
    QLineEdit edit;
    bool valid = false;
    edit.setText("1,5");  // the other separator is accepted
    EXPECT_DOUBLE_EQ(ReadRealFromEdit(&edit, valid, false, false), 1.5);
    EXPECT_TRUE(valid);
    edit.setText("-");
    valid = true;
    EXPECT_EQ(ReadRealFromEdit(&edit, valid, false, true), 0.0);
    EXPECT_FALSE(valid);
    edit.setText("");
    valid = true;
    EXPECT_EQ(ReadIntegerFromEdit(&edit, valid, true, true), -1);
    EXPECT_FALSE(valid);
    edit.setText("12");
    EXPECT_EQ(ReadIntegerFromEdit(&edit, valid, true, true), 12);
    EXPECT_TRUE(valid);
    edit.setText("0");
    EXPECT_EQ(ReadPositiveRealFromEdit(&edit, valid, false), 0.0);
    EXPECT_FALSE(valid);

    edit.setText("2,5,1");
    NormaliseEditDecimalSeparator(&edit);
    EXPECT_EQ(edit.text(), "2.5,1");
}

TEST(RightEdit, CheckRealInEditRestoresThePreviousText)
{
    QLineEdit edit;
    edit.setText("abc");
    EXPECT_FALSE(CheckRealInEdit(&edit, "4.5", false));
    EXPECT_EQ(edit.text(), "4.5");
    edit.setText("-1");
    EXPECT_FALSE(CheckRealInEdit(&edit, "4.5", false));
    EXPECT_EQ(edit.text(), "4.5");
    edit.setText("-1");
    EXPECT_TRUE(CheckRealInEdit(&edit, "4.5", true));
    EXPECT_EQ(edit.text(), "-1");
}

TEST(RightEdit, ShowInvalidNumericEntryWarnsAtTheBoxAndRestoresIt)
{
    QWidget form;
    auto *edit = new TRightEdit(&form);
    edit->move(30, 40);
    form.show();
    const QColor original = edit->palette().color(QPalette::Base);

    SeenBox seen;
    CloseNextModal(seen, edit);
    ShowInvalidNumericEntry(edit, QColor(Qt::yellow), 100, 200, 5, 6);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.text, "Numeric entry is not valid");
    EXPECT_EQ(seen.position, QPoint(30 + 100 + 5, 40 + 200 + 6));
    EXPECT_EQ(seen.editColour, QColor(Qt::yellow));
    EXPECT_EQ(edit->palette().color(QPalette::Base), original);
    EXPECT_EQ(form.focusWidget(), edit);

    // The default window colour leaves the box unpainted.
    SeenBox plain;
    CloseNextModal(plain, edit);
    ShowInvalidNumericEntry(edit, QApplication::palette().color(QPalette::Base), 0, 0, 0, 0);
    EXPECT_TRUE(plain.shown);
    EXPECT_EQ(plain.editColour, original);
}

TEST(RightEdit, GridCellFilterReadsTheOpenEditorOrTheWholeCell)
{
    ASSERT_EQ(LocaleDecimalSeparator(), u'.');
    const QString preMessage = QString::fromUtf8(MaxPreDecimalDigitsMessage.data(),
                                                 static_cast<qsizetype>(MaxPreDecimalDigitsMessage.size()));
    const QString postMessage = QString::fromUtf8(MaxPostDecimalDigitsMessage.data(),
                                                  static_cast<qsizetype>(MaxPostDecimalDigitsMessage.size()));
    struct Case {
        QString cell;
        bool editing;
        int cursor; // in the open editor
        char16_t key;
        bool survives;
        const QString *message;
    };
    const Case cases[] = {
        {"123.45", false, 0, u'9', true, nullptr},     // typing over a cell replaces it all
        {"123.45", false, 0, u'-', false, nullptr},    // no minus allowed
        {"123", true, 3, u'4', false, &preMessage},   // three digits before the point
        {"123.45", true, 6, u'6', false, &postMessage}, // two after it
        {"123.4", true, 5, u'5', true, nullptr},
        {"12", true, 2, u'.', true, nullptr},
        {"1.2", true, 3, u'.', false, nullptr},        // one point only
    };
    for (const Case &c : cases) {
        test::TScriptedDialogs dialogs;
        if (c.message)
            dialogs.Expect(TDialogKind::Information, *c.message);
        QTableWidget grid(2, 2);
        grid.setItem(1, 1, new QTableWidgetItem(c.cell));
        grid.show();
        grid.setCurrentCell(1, 1);
        if (c.editing) {
            grid.editItem(grid.item(1, 1));
            auto *editor = grid.viewport()->findChild<QLineEdit *>();
            ASSERT_NE(editor, nullptr);
            editor->deselect();
            editor->setCursorPosition(c.cursor);
        }
        char16_t key = c.key;
        EXPECT_EQ(FilterRealKey(&grid, key, false, 3, 2), c.survives) << c.cell.toStdString() << " " << char(c.key);
        EXPECT_EQ(key == c.key, c.survives);
    }
}

} // namespace
} // namespace tessaran
