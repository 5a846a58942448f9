#include "pumps/Image_Box.h"

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

} // namespace tessaran
