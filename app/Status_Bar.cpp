#include "app/Status_Bar.h"

#include <QPainter>

namespace tessaran {

TStatusBar::TStatusBar(QWidget *parent) : QWidget(parent) { setObjectName("StatusBar1"); }

void TStatusBar::SetPanelText(int index, const QString &text)
{
    if (index < 0 || index >= static_cast<int>(Panels.size()))
        return;
    Panels[static_cast<std::size_t>(index)].Text = text;
    update();
}

QRect TStatusBar::PanelRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += Panels[static_cast<std::size_t>(i)].Width;
    // The last panel takes what is left of the bar.
    const bool last = index == static_cast<int>(Panels.size()) - 1;
    const int width = last ? std::max(Panels[static_cast<std::size_t>(index)].Width, this->width() - left)
                           : Panels[static_cast<std::size_t>(index)].Width;
    return QRect(left, 0, width, height());
}

QSize TStatusBar::sizeHint() const { return QSize(200, fontMetrics().height() + 6); }

void TStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < static_cast<int>(Panels.size()); ++i) {
        const QRect rect = PanelRect(i);
        if (OnDrawPanel)
            OnDrawPanel(painter, i, rect.adjusted(0, 0, -1, 0));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
}

} // namespace tessaran
