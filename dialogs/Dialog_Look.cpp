#include "dialogs/Dialog_Look.h"

#include <QEvent>
#include <QLineEdit>
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

namespace {

class TSelectAllOnEntry : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            if (auto *box = qobject_cast<QLineEdit *>(watched))
                // After the focus change has placed the cursor.
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
        return false;
    }
};

} // namespace

void SelectAllOnEntry(QLineEdit *box) { box->installEventFilter(new TSelectAllOnEntry(box)); }

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
