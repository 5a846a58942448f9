#include "pumps/Image_Box.h"

#include "platform/qt/Dialog_Service.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace tessaran {

TImageBox::TImageBox(int width, int height, QWidget *parent)
    : QWidget(parent), Picture(width, height, QImage::Format_RGB32)
{
    Picture.fill(Qt::white);
    setFixedSize(width, height);
}

void TImageBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

void TImageBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit Clicked(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void TImageBox::mouseMoveEvent(QMouseEvent *event)
{
    emit Moved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

std::optional<QString> ChooseExistingPicture(QWidget *parent, const QString &caption, const QString &filter)
{
    TFileDialogRequest request;
    request.Caption = caption;
    request.Filter = filter;
    request.Parent = parent;
    std::optional<QString> name = Dialogs().OpenPictureName(request);
    if (name && !QFileInfo::exists(*name)) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("Image File not found.\r"), parent);
        return std::nullopt;
    }
    return name;
}

} // namespace tessaran
