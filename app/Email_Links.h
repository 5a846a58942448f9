#pragma once
// E-mail through the desktop's mail handler (xdg-email), the documents
// opened with the desktop's viewer, the help window and the web address.
// Programs are started through an installable runner, so tests launch
// nothing and can script the handler's answer.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "app/Maker_Addresses.h"

class QTextBrowser;
class QWidget;

namespace tessaran {


// Result codes of SendEmailViaMapi besides the handler's own exit codes.
inline constexpr int EmailSent = 0;
inline constexpr int EmailHandlerNotStarted = 2;
inline constexpr int EmailException = 1001;

struct TProcessResult {
    bool Started = false;
    int ExitCode = 0;
};
using TProcessRunner = std::function<TProcessResult(const QString &program, const QStringList &arguments)>;
// Installs a runner (empty: start the program and wait for it) and returns
// the one it replaces.
TProcessRunner InstallProcessRunner(TProcessRunner runner);
TProcessResult RunProcess(const QString &program, const QStringList &arguments);

// The pause before a mail is handed over (the files must be complete on
// disk); tests install one that does not wait.
using TWaitFunction = std::function<void(int milliseconds)>;
TWaitFunction InstallEmailWait(TWaitFunction wait);
void EmailWait(int milliseconds);

// Sends the message of a name=value list ("to", "subject", "body",
// "attachment0", "attachment1", ... up to the first missing or empty one)
// through the desktop's mail handler, which shows it for editing and
// sending. 0 when handed over; the handler's exit code, or
// EmailHandlerNotStarted, after the "Error while trying to send email" box;
// EmailException when anything raised.
int SendEmailViaMapi(QWidget *Handle, const QStringList &TheList);
// The handler's arguments for a name=value list.
QStringList EmailArguments(const QStringList &TheList);

// The documents of the "Documents" folder: handler name, file, and the
// message shown before the support address when the file cannot be opened.
struct TDocumentCommand {
    const char *Handler;
    const char *Caption;
    const char *FileName;
    const char *Message;
};
const std::vector<TDocumentCommand> &DocumentCommands();
// Opens program folder + "Documents/" + file; false (after the message box)
// when it is missing or the desktop cannot open it.
bool OpenDocument(const TDocumentCommand &document, QWidget *parent);
// Opens the web address; false after "Cannot find web browser to view ".
bool OpenWebSite(QWidget *parent);

// The help window: the HTML pages of the "Help" folder in a text browser.
class THelpForm : public QDialog {
    Q_OBJECT
public:
    explicit THelpForm(QWidget *parent = nullptr);
    // "contents.html" or "index.html" of the help; a missing page is said so
    // in the window.
    void ShowPage(const QString &page);
    QTextBrowser *BrowserHelp = nullptr;
};

} // namespace tessaran
