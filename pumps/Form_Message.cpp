#include "pumps/Form_Message.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>

#include "platform/qt/Dialog_Service.h"

namespace tessaran {

namespace {

TFormMessage *instance = nullptr;

void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

} // namespace

TFormMessage::TFormMessage(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormMessage"));
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(432, 182);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(0, 0, 432, 182);
    Panel1->setAutoFillBackground(true);
    QPalette tip = Panel1->palette();
    tip.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
    tip.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ToolTipText));
    Panel1->setPalette(tip);

    GroupBoxMessage = new QGroupBox(Panel1);
    GroupBoxMessage->setObjectName(QStringLiteral("GroupBoxMessage"));
    GroupBoxMessage->setGeometry(2, 2, 428, 178);

    LabelMessage = new QLabel(QStringLiteral("Message"), GroupBoxMessage);
    LabelMessage->setObjectName(QStringLiteral("LabelMessage"));
    LabelMessage->setGeometry(22, 20, 387, 130);
    LabelMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelMessage->setWordWrap(false);
    LabelMessage->setTextFormat(Qt::PlainText);
}

TFormMessage &FormMessage()
{
    if (!instance) {
        instance = new TFormMessage;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

TFormMessageShown::TFormMessageShown(const QString &text, QWidget *centreOn) { show(text, std::nullopt, centreOn); }

TFormMessageShown::TFormMessageShown(const QString &text, QPoint topLeft) { show(text, topLeft, nullptr); }

TFormMessageShown::~TFormMessageShown() { Close(); }

void TFormMessageShown::Close()
{
    if (!open_)
        return;
    open_ = false;
    FormMessage().hide();
}

void TFormMessageShown::show(const QString &text, std::optional<QPoint> topLeft, QWidget *centreOn)
{
    TFormMessage &form = FormMessage();
    form.LabelMessage->setText(DialogDisplayText(text));
    if (topLeft) {
        form.move(*topLeft);
    } else {
        QWidget *owner = centreOn ? centreOn->window() : QApplication::activeWindow();
        QRect area;
        if (owner && owner != &form)
            area = owner->frameGeometry();
        else if (QScreen *screen = QApplication::primaryScreen())
            area = screen->availableGeometry();
        form.move(area.center() - QPoint(form.width() / 2, form.height() / 2));
    }
    form.show();
    open_ = true;
    // The work that follows blocks the event loop: let the window system
    // expose the window, then paint it at once.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    form.GroupBoxMessage->repaint();
}

} // namespace tessaran
