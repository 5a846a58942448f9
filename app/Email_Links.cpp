// E-mail hand-over, documents, help window and web address.
#include "app/Email_Links.h"

#include "app/Program_Folder.h"
#include "platform/qt/Dialog_Service.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTextBrowser>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include <vector>

namespace tessaran {

namespace {

TProcessRunner &installedRunner()
{
    static TProcessRunner runner;
    return runner;
}

TWaitFunction &installedWait()
{
    static TWaitFunction wait;
    return wait;
}

QString valueOf(const QStringList &list, const QString &name)
{
    const QString prefix = name + '=';
    for (const QString &line : list)
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    return {};
}

// Other windows take no input while the mail handler has the message.
class WindowsDisabled {
public:
    explicit WindowsDisabled(QWidget *keep)
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window != keep && window->isEnabled() && window->isVisible()) {
                window->setEnabled(false);
                disabled_.push_back(window);
            }
    }
    ~WindowsDisabled()
    {
        for (const QPointer<QWidget> &window : disabled_)
            if (window)
                window->setEnabled(true);
    }

private:
    std::vector<QPointer<QWidget>> disabled_;
};

} // namespace

TProcessRunner InstallProcessRunner(TProcessRunner runner)
{
    TProcessRunner previous = std::move(installedRunner());
    installedRunner() = std::move(runner);
    return previous;
}

TProcessResult RunProcess(const QString &program, const QStringList &arguments)
{
    if (installedRunner())
        return installedRunner()(program, arguments);
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return {false, 0};
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return {true, -1};
    return {true, process.exitCode()};
}

TWaitFunction InstallEmailWait(TWaitFunction wait)
{
    TWaitFunction previous = std::move(installedWait());
    installedWait() = std::move(wait);
    return previous;
}

void EmailWait(int milliseconds)
{
    if (installedWait())
        installedWait()(milliseconds);
    else
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

QStringList EmailArguments(const QStringList &TheList)
{
    QStringList arguments{QStringLiteral("--utf8")};
    arguments << QStringLiteral("--subject") << valueOf(TheList, QStringLiteral("subject"));
    // The handler's body keeps line feeds; the program's texts break lines with "\r".
    QString body = valueOf(TheList, QStringLiteral("body"));
    body.replace(QStringLiteral("\r"), QStringLiteral("\n"));
    arguments << QStringLiteral("--body") << body;
    for (int n = 0;; ++n) {
        const QString attachment = valueOf(TheList, QStringLiteral("attachment%1").arg(n));
        if (attachment.isEmpty())
            break;
        arguments << QStringLiteral("--attach") << attachment;
    }
    const QString to = valueOf(TheList, QStringLiteral("to"));
    if (!to.isEmpty())
        arguments << to;
    return arguments;
}

int SendEmailViaMapi(QWidget *Handle, const QStringList &TheList)
{
    try {
        const QStringList arguments = EmailArguments(TheList);
        TProcessResult result;
        {
            const WindowsDisabled disabled(nullptr);
            result = RunProcess(QStringLiteral("xdg-email"), arguments);
        }
        const int code = !result.Started ? EmailHandlerNotStarted : result.ExitCode;
        if (code != EmailSent) {
            TMessageBoxRequest request;
            request.Kind = TDialogKind::Error;
            request.Caption = QStringLiteral("Error");
            request.Text = QStringLiteral("Error while trying to send email");
            request.Parent = Handle;
            Dialogs().ShowMessageBox(request);
        }
        return code;
    } catch (...) {
        return EmailException;
    }
}

const std::vector<TDocumentCommand> &DocumentCommands()
{
    static const std::vector<TDocumentCommand> documents{
        {"OpenQuickStartGuidePDF1Click", "Open Quick Start Guide PDF", "TessaranQuickStartGuide.pdf",
         "Cannot find Tessaran Quick Start Guide PDF file. Please report to "},
        {"OpenUserGuidePDF1Click", "Open User Guide PDF", "TessaranUserGuide.pdf",
         "Cannot find Tessaran User Guide PDF file. Please report to "},
        {"OpenNonCompressibleResultsVerificationPDF1Click", "Open Non-Compressible Results Verification PDF",
         "TessaranNonCompressibleResultsVerification.pdf",
         "Cannot find Tessaran Non-Compressible Results Verification PDF file. Please report to "},
        {"OpenCompressibleResultsVerificationPDF1Click", "Open Compressible Gas Results Verification PDF",
         "TessaranCompressibleResultsVerification.pdf",
         "Cannot find Tessaran Compressible Results Verification PDF file. Please report to "},
        {"OpenCompressibleFlowEquationsPDF1Click", "Open Compressible Flow Equations PDF",
         "TessaranCompressibleEquations.pdf", "Cannot find Compressible Flow Equations PDF file. Please report to "},
        {"OpenTessaranBrochurePDF1Click", "Open Tessaran Brochure PDF", "TessaranBrochure.pdf",
         "Cannot find Tessaran Brochure PDF file. Please report to "},
        {"WalkThroughExample1Click", "Create a System - Step by Step", "TessaranExampleStepByStep.pdf",
         "Cannot find Tessaran Example Step By Step PDF file. Please report to "},
    };
    return documents;
}

bool OpenDocument(const TDocumentCommand &document, QWidget *parent)
{
    const QString path = QString::fromStdString(ProgramFolder()) + QStringLiteral("Documents/") +
                         QString::fromLatin1(document.FileName);
    // The desktop's opener starts even for a missing file; only a file that
    // is there can be opened.
    if (QFileInfo(path).isFile() && Dialogs().OpenWithDesktop(path))
        return true;
    Dialogs().ShowMessage(TDialogKind::Information,
                          QString::fromLatin1(document.Message) + QString::fromLatin1(MakerSupportEmail), parent);
    return false;
}

bool OpenWebSite(QWidget *parent)
{
    const QString address = QString::fromLatin1(MakerWebLink);
    if (Dialogs().OpenWithDesktop(address))
        return true;
    Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Cannot find web browser to view ") + address,
                          parent);
    return false;
}

THelpForm::THelpForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Tessaran Help"));
    resize(760, 600);
    BrowserHelp = new QTextBrowser(this);
    BrowserHelp->setObjectName(QStringLiteral("BrowserHelp"));
    BrowserHelp->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BrowserHelp);
}

void THelpForm::ShowPage(const QString &page)
{
    const QString folder = QString::fromStdString(ProgramFolder()) + QStringLiteral("Help/");
    const QString path = folder + page;
    BrowserHelp->setSearchPaths({folder});
    if (QFileInfo(path).isFile()) {
        BrowserHelp->setSource(QUrl::fromLocalFile(path));
    } else {
        BrowserHelp->setHtml(QStringLiteral("<p>Cannot find the help page %1.</p>").arg(path.toHtmlEscaped()));
    }
    show();
    raise();
}

} // namespace tessaran
