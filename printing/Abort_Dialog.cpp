#include "printing/Abort_Dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QString>

namespace tessaran {

TAbortDialog::TAbortDialog(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("AbortDialog"));
    setWindowTitle(QStringLiteral("Printing"));
    setFixedSize(174, 98);
    // Other windows take no input while a job runs, as the job pumps only
    // this dialog's events.
    setWindowModality(Qt::ApplicationModal);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(48, 32, 75, 25);
    btnCancel->setDefault(true);
    connect(btnCancel, &QPushButton::clicked, this, &TAbortDialog::btnCancelClick);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TLongBool TAbortDialog::Aborted()
{
    QApplication::processEvents();
    return Canceled;
}

void TAbortDialog::btnCancelClick()
{
    Canceled = LongTrue;
}

TAbortDialog *CreateAbortDialog(QWidget *appWindow, QWidget *owner)
{
    try {
        auto *dialog = new TAbortDialog(owner ? owner : appWindow);
        dialog->show();
        dialog->Aborted();
        return dialog;
    } catch (...) {
        return nullptr;
    }
}

void FreeAbortDialog(TAbortDialog *dialog)
{
    delete dialog;
}

void SetAbortDialogCaption(TAbortDialog *dialog, const char16_t *text)
{
    if (!dialog)
        return;
    try {
        dialog->setWindowTitle(text ? QString::fromUtf16(text) : QString());
        dialog->Aborted();
    } catch (...) {
    }
}

TLongBool AbortDialogCanceled(TAbortDialog *dialog)
{
    if (!dialog)
        return LongFalse;
    try {
        return dialog->Aborted();
    } catch (...) {
        return LongFalse;
    }
}

} // namespace tessaran
