#include "app/Qt_Dialog_Service.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace tessaran {

namespace {

QMessageBox::Icon iconOf(TDialogKind kind)
{
    switch (kind) {
    case TDialogKind::Information: return QMessageBox::Information;
    case TDialogKind::Warning: return QMessageBox::Warning;
    case TDialogKind::Error: return QMessageBox::Critical;
    case TDialogKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

struct TButtonPair {
    TDialogButton Ours;
    QMessageBox::StandardButton Qt;
};

constexpr TButtonPair ButtonPairs[] = {
    {DialogOk, QMessageBox::Ok},         {DialogCancel, QMessageBox::Cancel}, {DialogYes, QMessageBox::Yes},
    {DialogNo, QMessageBox::No},         {DialogAbort, QMessageBox::Abort},   {DialogRetry, QMessageBox::Retry},
    {DialogIgnore, QMessageBox::Ignore},
};

QWidget *parentOf(QWidget *requested) { return requested ? requested : QApplication::activeWindow(); }

std::optional<QString> chosen(const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

QString withSuffix(QString name, const QString &suffix)
{
    if (!name.isEmpty() && !suffix.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += '.' + suffix;
    return name;
}

QString startPath(const TFileDialogRequest &request)
{
    return request.FileName.isEmpty() ? request.Folder : QFileInfo(request.Folder + '/' + request.FileName).filePath();
}

QString pictureFilter(const QString &filter)
{
    if (!filter.isEmpty())
        return filter;
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << "*." + QString::fromLatin1(format);
    return "Pictures (" + patterns.join(' ') + ");;All files (*)";
}

} // namespace

TDialogButton TQtDialogService::ShowMessageBox(const TMessageBoxRequest &request)
{
    const QString caption = request.Caption.isEmpty() ? DialogCaption(request.Kind) : request.Caption;
    QMessageBox box(iconOf(request.Kind), caption, DialogDisplayText(request.Text), QMessageBox::NoButton,
                    parentOf(request.Parent));
    for (const TButtonPair &pair : ButtonPairs)
        if (request.Buttons & pair.Ours)
            box.addButton(pair.Qt);
    if (request.Position)
        box.move(*request.Position);
    const int pressed = box.exec();
    for (const TButtonPair &pair : ButtonPairs)
        if (pressed == pair.Qt)
            return pair.Ours;
    // Closed without a button: Cancel or No, whichever the box has.
    if (request.Buttons & DialogCancel)
        return DialogCancel;
    if (request.Buttons & DialogNo)
        return DialogNo;
    return DialogOk;
}

std::optional<QString> TQtDialogService::OpenFileName(const TFileDialogRequest &request)
{
    return chosen(QFileDialog::getOpenFileName(parentOf(request.Parent), request.Caption, startPath(request),
                                               request.Filter));
}

std::optional<QString> TQtDialogService::SaveFileName(const TFileDialogRequest &request)
{
    return chosen(withSuffix(QFileDialog::getSaveFileName(parentOf(request.Parent), request.Caption,
                                                          startPath(request), request.Filter),
                             request.DefaultSuffix));
}

std::optional<QString> TQtDialogService::OpenPictureName(const TFileDialogRequest &request)
{
    return chosen(QFileDialog::getOpenFileName(parentOf(request.Parent), request.Caption, startPath(request),
                                               pictureFilter(request.Filter)));
}

std::optional<QString> TQtDialogService::SavePictureName(const TFileDialogRequest &request)
{
    return chosen(withSuffix(QFileDialog::getSaveFileName(parentOf(request.Parent), request.Caption,
                                                          startPath(request), pictureFilter(request.Filter)),
                             request.DefaultSuffix));
}

std::optional<QColor> TQtDialogService::ChooseColour(const QColor &initial, QWidget *parent)
{
    const QColor colour = QColorDialog::getColor(initial, parentOf(parent));
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

bool TQtDialogService::OpenWithDesktop(const QString &fileOrAddress)
{
    const QUrl url = QFileInfo::exists(fileOrAddress) ? QUrl::fromLocalFile(fileOrAddress)
                                                      : QUrl::fromUserInput(fileOrAddress);
    return QDesktopServices::openUrl(url);
}

TDialogKind DialogKindOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Information: return TDialogKind::Information;
    case TMessageKind::Warning: return TDialogKind::Warning;
    case TMessageKind::Error: return TDialogKind::Error;
    case TMessageKind::Confirmation: return TDialogKind::Confirmation;
    }
    return TDialogKind::Information;
}

void TDialogSeam::ShowMessage(TMessageKind kind, const std::string &text)
{
    Dialogs().ShowMessage(DialogKindOf(kind), QString::fromStdString(text));
}

bool TDialogSeam::AskYesNo(TMessageKind kind, const std::string &text)
{
    return Dialogs().AskYesNo(DialogKindOf(kind), QString::fromStdString(text));
}

void TDialogSeam::ProcessMessages() { QApplication::processEvents(); }

} // namespace tessaran
