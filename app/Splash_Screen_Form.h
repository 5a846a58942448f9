#pragma once
// The start-up window: the program's picture, version and the progress
// text of the one-time initialisation; fades in and out.

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace tessaran {

class TSplashScreenForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashScreenForm(QWidget *parent = nullptr);

    void FormShow();
    void TimerFadeInTimer();
    void TimerFadeOutTimer();
    void Image1Click();
    void FormCloseDown();
    // Puts a progress text on the window and paints it at once.
    void ShowLoadInfo(const QString &text);

    int AlphaBlendValue() const { return alpha_; }
    void SetAlphaBlendValue(int alpha);

    // Stops the main window's timer that ends the About display.
    std::function<void()> StopSplashOffTimer;

    QLabel *Image1 = nullptr;
    QLabel *LabelVersion = nullptr;
    QLabel *LabelYear = nullptr;
    QLabel *LabelLoadInfo = nullptr;
    QLabel *LabelLiquidsAndGases = nullptr;
    QTimer *TimerFadeIn = nullptr;
    QTimer *TimerFadeOut = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int alpha_ = 255;
};

} // namespace tessaran
