#include "app/Tessaran_Application.h"

#include <cstdio>
#include <stdexcept>

namespace tessaran {

TTessaranApplication::TTessaranApplication(int &argc, char **argv) : QApplication(argc, argv) {}

TTessaranApplication *TTessaranApplication::Instance() { return qobject_cast<TTessaranApplication *>(qApp); }

bool TTessaranApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        handle(error);
    } catch (...) {
        handle(std::runtime_error("Unknown exception"));
    }
    return false;
}

void TTessaranApplication::handle(const std::exception &error)
{
    // The handler runs message boxes; a second failure inside them must not
    // start another round of questions.
    if (handling_ || !OnException) {
        std::fprintf(stderr, "Tessaran: %s\n", error.what());
        return;
    }
    handling_ = true;
    try {
        OnException(error);
    } catch (const std::exception &inner) {
        std::fprintf(stderr, "Tessaran: %s\n", inner.what());
    }
    handling_ = false;
}

} // namespace tessaran
