#pragma once
// The small "Printing" window with a Cancel button that a print job shows
// its progress in. The job asks AbortDialogCanceled between pages and from
// its progress callback; that call also lets the dialog paint and take the
// click. While it is open the rest of the application takes no input.

#include "printing/Print_Dib.h"

#include <QDialog>

class QPushButton;

namespace tessaran {

class TAbortDialog : public QDialog {
    Q_OBJECT
public:
    explicit TAbortDialog(QWidget *owner = nullptr);

    QPushButton *btnCancel = nullptr;
    TLongBool Canceled = LongFalse;

    // Handles what is waiting for the dialog, then tells whether the user
    // has cancelled.
    TLongBool Aborted();

private:
    void btnCancelClick();
};

// Shown at once; null when it cannot be made.
TAbortDialog *CreateAbortDialog(QWidget *appWindow, QWidget *owner);
void FreeAbortDialog(TAbortDialog *dialog);
void SetAbortDialogCaption(TAbortDialog *dialog, const char16_t *text);
TLongBool AbortDialogCanceled(TAbortDialog *dialog);

} // namespace tessaran
