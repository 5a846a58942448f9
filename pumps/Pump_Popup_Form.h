#pragma once
// The question the pump editor asks before the curve points of a pump that
// runs on predicted data are edited: edit the base data, view the
// predicted data, or make the predicted data the new base data.

#include <QDialog>

#include "platform/qt/Dialog_Service.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaran {

class TPump;

class TPumpPopupForm : public QDialog {
    Q_OBJECT
public:
    explicit TPumpPopupForm(QWidget *parent = nullptr);

    // Shows the question for a pump; the answer is DialogYes (edit the base
    // data), DialogNo (edit the predicted data, confirmed) or DialogCancel
    // (view the predicted data, also when the dialog is closed otherwise).
    static void OpenForm(const TPump &PumpUpdated, TDialogButton &TheMsgDlgBtn);
    static TPumpPopupForm &Instance();

    QGroupBox *GroupBox1;
    QLabel *Image1;
    QPlainTextEdit *Memo1;
    QLabel *Label1, *Label2, *Label3, *Label4;
    QPushButton *BitBtn1, *BitBtn3, *BitBtn2;
    QLabel *LabelNotRecommended;

    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

private:
    TDialogButton answer_ = DialogCancel;
};

} // namespace tessaran
