#pragma once
// The application object: an exception that escapes an event handler
// reaches the main window's exception handler instead of ending the
// process.

#include <QApplication>

#include <exception>
#include <functional>

namespace tessaran {

class TTessaranApplication : public QApplication {
    Q_OBJECT
public:
    TTessaranApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The application's exception event; the message text of an exception
    // that is not a std::exception is "Unknown exception".
    std::function<void(const std::exception &)> OnException;

    static TTessaranApplication *Instance();

private:
    void handle(const std::exception &error);
    bool handling_ = false;
};

} // namespace tessaran
