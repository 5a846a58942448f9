#include "pumps/Form_Message.h"

#include <stdexcept>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

#include "support/qt/Scripted_Dialogs.h"

namespace tessaran {
namespace {

class PaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        Paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST(FormMessage, IsABorderlessOnTopBoxOfFixedSize)
{
    TFormMessage &form = FormMessage();
    EXPECT_EQ(&form, &FormMessage());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.size(), QSize(432, 182));
    EXPECT_EQ(form.LabelMessage->geometry(), QRect(22, 20, 387, 130));
    EXPECT_EQ(form.findChild<QLabel *>("LabelMessage"), form.LabelMessage);
    EXPECT_EQ(form.findChild<QGroupBox *>("GroupBoxMessage"), form.GroupBoxMessage);
}

TEST(FormMessage, TextIsPaintedBeforeTheWorkAndCutAtTheLabel)
{
    PaintCounter counter;
    FormMessage().LabelMessage->installEventFilter(&counter);
    const QString longLine(400, QLatin1Char('W'));
    {
        TFormMessageShown wait("Searching pump library...\r" + longLine);
        // No event loop has run: the paint came from the window itself.
        EXPECT_GT(counter.Paints, 0);
        EXPECT_TRUE(FormMessage().isVisible());
        EXPECT_EQ(FormMessage().LabelMessage->text(), "Searching pump library...\n" + longLine);
        EXPECT_EQ(FormMessage().LabelMessage->size(), QSize(387, 130));
        EXPECT_EQ(FormMessage().size(), QSize(432, 182));
    }
    EXPECT_FALSE(FormMessage().isVisible());
    FormMessage().LabelMessage->removeEventFilter(&counter);
}

TEST(FormMessage, IsPlacedAtAPointOrCentredOnAWindow)
{
    {
        TFormMessageShown wait("Please wait", QPoint(100, 120));
        EXPECT_EQ(FormMessage().pos(), QPoint(100, 120));
    }
    QWidget mainWindow;
    mainWindow.setGeometry(200, 100, 1000, 800);
    mainWindow.show();
    {
        TFormMessageShown wait("Please wait", &mainWindow);
        const QPoint offCentre = FormMessage().geometry().center() - mainWindow.frameGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2);
    }
}

TEST(FormMessage, ACommandThatThrowsClosesTheWindowBeforeItsErrorBox)
{
    test::TScriptedDialogs dialogs;
    dialogs.Expect(TDialogKind::Error, "Could not read the pump library");
    bool visibleBehindBox = true;
    dialogs.OnMessageBox = [&](const TMessageBoxRequest &) { visibleBehindBox = FormMessage().isVisible(); };
    try {
        TFormMessageShown wait("Searching...");
        ASSERT_TRUE(FormMessage().isVisible());
        throw std::runtime_error("Could not read the pump library");
    } catch (const std::exception &error) {
        Dialogs().ShowMessage(TDialogKind::Error, QString::fromStdString(error.what()));
    }
    EXPECT_FALSE(visibleBehindBox);
}

TEST(FormMessage, CloseBeforeTheEndOfTheScopeHidesItOnce)
{
    TFormMessageShown outer("Indexing...");
    outer.Close();
    EXPECT_FALSE(FormMessage().isVisible());
    outer.Close();
    EXPECT_FALSE(FormMessage().isVisible());
}

} // namespace
} // namespace tessaran
