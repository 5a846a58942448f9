#include "platform/qt/Dialog_Service.h"

#include <stdexcept>

namespace tessaran {

namespace {
TDialogService *installed = nullptr;
}

void TDialogService::ShowMessage(TDialogKind kind, const QString &text, QWidget *parent)
{
    ShowMessageBox({kind, text, DialogOk, parent, std::nullopt, QString()});
}

bool TDialogService::AskYesNo(TDialogKind kind, const QString &text, QWidget *parent)
{
    return ShowMessageBox({kind, text, DialogYesNo, parent, std::nullopt, QString()}) == DialogYes;
}

TDialogButton TDialogService::AskYesNoCancel(TDialogKind kind, const QString &text, QWidget *parent)
{
    return ShowMessageBox({kind, text, DialogYesNoCancel, parent, std::nullopt, QString()});
}

TDialogService &Dialogs()
{
    if (!installed)
        throw std::logic_error("No message and dialog service is installed");
    return *installed;
}

TDialogService *InstalledDialogs() { return installed; }

TDialogService *InstallDialogs(TDialogService *service)
{
    TDialogService *previous = installed;
    installed = service;
    return previous;
}

QString DialogCaption(TDialogKind kind)
{
    switch (kind) {
    case TDialogKind::Information:
        return QStringLiteral("Information");
    case TDialogKind::Warning:
        return QStringLiteral("Warning");
    case TDialogKind::Error:
        return QStringLiteral("Error");
    case TDialogKind::Confirmation:
        return QStringLiteral("Confirm");
    }
    return QString();
}

QString DialogDisplayText(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace tessaran
