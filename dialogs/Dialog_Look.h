#pragma once
// The dialogs' shared colours and the paint of their background.

#include <utility>

#include <QColor>
#include <QString>

#include "platform/qt/Named_Widget.h"

class QLineEdit;
class QWidget;

namespace tessaran {

// The background most dialogs paint each time they open.
inline const QColor DialogBackgroundColour{241, 250, 255};
// The colour a box flashes after a transfer.
inline const QColor FlashYellow{255, 255, 0};

void PaintDialogBackground(QWidget *widget, const QColor &colour = DialogBackgroundColour);
// Entering the box selects its whole text.
void SelectAllOnEntry(QLineEdit *box);
// Paints the box's base colour for the time given, then gives it the
// window's own colour back.
void FlashBox(QWidget *box, const QColor &colour, int milliseconds);

} // namespace tessaran
