#pragma once
// The please-wait window: a small borderless box that stays on top while a
// command does long work on the user-interface thread. One instance for the
// program's run; callers show it through TFormMessageShown, which hides it
// again on every way out of the work, also by an exception, so that an
// error box is never left behind a window that stays on top.

#include <optional>

#include <QPoint>
#include <QString>
#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;

namespace tessaran {

class TFormMessage : public QWidget {
    Q_OBJECT
public:
    explicit TFormMessage(QWidget *parent = nullptr);

    QFrame *Panel1;
    QGroupBox *GroupBoxMessage;
    QLabel *LabelMessage;
};

// The one instance, created on first use and destroyed with the application.
TFormMessage &FormMessage();

class TFormMessageShown {
public:
    // Shows the text ("\r" starts a new line) centred on centreOn (the active
    // window when null), or with its top-left corner at a screen position,
    // and paints it before the caller's work starts.
    explicit TFormMessageShown(const QString &text, QWidget *centreOn = nullptr);
    TFormMessageShown(const QString &text, QPoint topLeft);
    ~TFormMessageShown();
    TFormMessageShown(const TFormMessageShown &) = delete;
    TFormMessageShown &operator=(const TFormMessageShown &) = delete;

    // Hides the window before the end of the scope.
    void Close();

private:
    void show(const QString &text, std::optional<QPoint> topLeft, QWidget *centreOn);
    bool open_ = false;
};

} // namespace tessaran
