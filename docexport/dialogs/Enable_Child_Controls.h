#pragma once
// Enabling and disabling a group of controls as one, with the colours the
// setup dialogs show for a usable and an unusable field.

#include <vector>

#include <QColor>
#include <QFrame>

class QWidget;

namespace tessaran {

// The background of a usable entry field and of one that is not.
QColor WindowColour();
QColor InactiveBorderColour();

// A clickable colour box. Greyed while disabled, as a masked shape is.
class TColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit TColourSwatch(QWidget *parent = nullptr);
    QColor Colour() const { return colour_; }
    void SetColour(const QColor &colour);

signals:
    void MouseDown(Qt::MouseButton button, QPoint position);
    void MouseUp(Qt::MouseButton button, QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor colour_ = Qt::white;
};

// Every child of the control, depth first, except those excluded: entry
// fields and lists take the window or the inactive-border colour; then each
// is enabled or disabled.
void EnableChildControls(QWidget &control, bool enabled, const std::vector<const QWidget *> &exclude = {});

} // namespace tessaran
