#include "app/Qt_Message_Service.h"

#include <QApplication>
#include <QMessageBox>

namespace tessaran {

namespace {

QMessageBox::Icon iconOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
    case TMessageKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString TQtMessageService::BoxText(const std::string &text)
{
    QString shown = QString::fromStdString(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    return shown;
}

void TQtMessageService::ShowMessage(TMessageKind kind, const std::string &text)
{
    QMessageBox box(iconOf(kind), QApplication::applicationName(), BoxText(text), QMessageBox::Ok,
                    parent_ ? parent_ : QApplication::activeWindow());
    box.exec();
}

bool TQtMessageService::AskYesNo(TMessageKind kind, const std::string &text)
{
    QMessageBox box(iconOf(kind), QApplication::applicationName(), BoxText(text),
                    QMessageBox::Yes | QMessageBox::No, parent_ ? parent_ : QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
}

void TQtMessageService::ProcessMessages() { QApplication::processEvents(); }

} // namespace tessaran
