#include "docexport/dialogs/Enable_Child_Controls.h"

#include <algorithm>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

namespace tessaran {

QColor WindowColour() { return QColor(255, 255, 255); }
QColor InactiveBorderColour() { return QColor(212, 208, 200); }

TColourSwatch::TColourSwatch(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
}

void TColourSwatch::SetColour(const QColor &colour)
{
    colour_ = colour;
    update();
}

void TColourSwatch::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QColor fill = colour_;
    if (!isEnabled())
        fill = QColor((fill.red() + 192) / 2, (fill.green() + 192) / 2, (fill.blue() + 192) / 2);
    painter.fillRect(contentsRect(), fill);
    painter.end();
    QFrame::paintEvent(event);
}

void TColourSwatch::mousePressEvent(QMouseEvent *event)
{
    emit MouseDown(event->button(), event->position().toPoint());
}

void TColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    emit MouseUp(event->button(), event->position().toPoint());
}

namespace {

bool isEntryField(const QWidget &widget)
{
    return qobject_cast<const QLineEdit *>(&widget) || qobject_cast<const QComboBox *>(&widget) ||
           qobject_cast<const QAbstractSpinBox *>(&widget) || qobject_cast<const QPlainTextEdit *>(&widget);
}

} // namespace

void EnableChildControls(QWidget &control, bool enabled, const std::vector<const QWidget *> &exclude)
{
    const auto children = control.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (std::find(exclude.begin(), exclude.end(), child) != exclude.end())
            continue;
        // A combo box's own list and a field's inner parts follow their owner.
        if (!isEntryField(*child) && !child->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).isEmpty())
            EnableChildControls(*child, enabled, exclude);
        if (isEntryField(*child)) {
            QPalette palette = child->palette();
            const QColor colour = enabled ? WindowColour() : InactiveBorderColour();
            palette.setColor(QPalette::Base, colour);
            palette.setColor(QPalette::Disabled, QPalette::Base, colour);
            child->setPalette(palette);
        }
        child->setEnabled(enabled);
    }
}

} // namespace tessaran
