#include "app/Splash_Screen_Form.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace tessaran {

namespace {

QPixmap splashPicture()
{
    QPixmap picture(400, 260);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, 260);
    gradient.setColorAt(0, QColor(183, 225, 255));
    gradient.setColorAt(1, QColor(241, 250, 255));
    painter.fillRect(picture.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    // A tank feeding a pipe run: the program in one line.
    painter.setPen(QPen(QColor(0, 64, 160), 4));
    painter.setBrush(QColor(0, 128, 255));
    painter.drawRect(60, 120, 60, 80);
    painter.drawLine(120, 180, 340, 180);
    painter.drawEllipse(QPoint(230, 180), 18, 18);
    QFont font("Liberation Sans", 36, QFont::Bold);
    painter.setFont(font);
    painter.setPen(QColor(0, 48, 120));
    painter.drawText(QRect(0, 20, 400, 80), Qt::AlignCenter, "Tessaran");
    return picture;
}

} // namespace

TSplashScreenForm::TSplashScreenForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("SplashScreenForm");
    setFixedSize(400, 400);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(241, 250, 255));
    setPalette(colours);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 400, 260);
    Image1->setPixmap(splashPicture());
    Image1->installEventFilter(this);
    LabelLiquidsAndGases = new QLabel("for Liquids & Gases", this);
    LabelLiquidsAndGases->setObjectName("LabelLiquidsAndGases");
    LabelLiquidsAndGases->setGeometry(0, 270, 400, 24);
    LabelLiquidsAndGases->setAlignment(Qt::AlignCenter);
    LabelVersion = new QLabel(this);
    LabelVersion->setObjectName("LabelVersion");
    LabelVersion->setGeometry(0, 300, 400, 20);
    LabelVersion->setAlignment(Qt::AlignCenter);
    LabelYear = new QLabel(this);
    LabelYear->setObjectName("LabelYear");
    LabelYear->setGeometry(0, 322, 400, 20);
    LabelYear->setAlignment(Qt::AlignCenter);
    LabelLoadInfo = new QLabel(this);
    LabelLoadInfo->setObjectName("LabelLoadInfo");
    LabelLoadInfo->setGeometry(10, 360, 380, 24);

    TimerFadeIn = new QTimer(this);
    TimerFadeIn->setObjectName("TimerFadeIn");
    connect(TimerFadeIn, &QTimer::timeout, this, &TSplashScreenForm::TimerFadeInTimer);
    // Created stopped: a fade-out only ever starts from FormCloseDown.
    TimerFadeOut = new QTimer(this);
    TimerFadeOut->setObjectName("TimerFadeOut");
    TimerFadeOut->setInterval(1000);
    connect(TimerFadeOut, &QTimer::timeout, this, &TSplashScreenForm::TimerFadeOutTimer);
}

void TSplashScreenForm::SetAlphaBlendValue(int alpha)
{
    alpha_ = alpha;
    setWindowOpacity(alpha / 255.0);
}

void TSplashScreenForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TSplashScreenForm::FormShow()
{
    LabelYear->setText("2016");
    LabelVersion->setText("Version 7.40");
    SetAlphaBlendValue(255);
    TimerFadeIn->start(1000);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TSplashScreenForm::TimerFadeInTimer()
{
    const int step = static_cast<int>(TimerFadeIn->interval() / 1500.0 * 255);
    if (alpha_ + step < 255) {
        SetAlphaBlendValue(alpha_ + step);
    } else {
        SetAlphaBlendValue(255);
        TimerFadeIn->stop();
    }
}

void TSplashScreenForm::FormCloseDown()
{
    show();
    repaint();
    TimerFadeIn->stop();
    if (StopSplashOffTimer)
        StopSplashOffTimer();
    TimerFadeOut->start(25);
    QApplication::processEvents();
}

void TSplashScreenForm::TimerFadeOutTimer()
{
    const int interval = TimerFadeOut->interval();
    const int value = interval > 0 ? alpha_ - static_cast<int>(255 / (1000.0 / (2 * interval))) : 0;
    if (value > 0) {
        SetAlphaBlendValue(value);
        return;
    }
    TimerFadeOut->stop();
    SetAlphaBlendValue(0);
    QApplication::processEvents();
    close();
}

void TSplashScreenForm::Image1Click() { FormCloseDown(); }

void TSplashScreenForm::ShowLoadInfo(const QString &text)
{
    LabelLoadInfo->setText(text);
    repaint();
}

bool TSplashScreenForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress)
        Image1Click();
    return QWidget::eventFilter(watched, event);
}

} // namespace tessaran
