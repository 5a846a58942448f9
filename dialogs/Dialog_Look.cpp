#include "dialogs/Dialog_Look.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tessaran {

void PaintDialogBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void FlashBox(QWidget *box, const QColor &colour, int milliseconds)
{
    QPalette flashed = box->palette();
    flashed.setColor(QPalette::Base, colour);
    box->setPalette(flashed);
    QPointer<QWidget> guarded(box);
    QTimer::singleShot(milliseconds, box, [guarded] {
        if (guarded)
            guarded->setPalette(QPalette());
    });
}

} // namespace tessaran
