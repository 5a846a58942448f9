#include "app/Cursor_Pictures.h"

#include <QPainter>
#include <QPixmap>

namespace tessaran {

namespace {

enum class Mark { Line, Tee, Assembly, Text, SelectText, MoveText, CopyText, Link, Unlink, Target, Brush,
                  OpenHand, GrabHand, Selection, SelectionMove, Drag };

// A cross hair with the tool's mark beside it; black with a white outline so
// it shows on the drawing and on the grid.
QCursor toolCursor(Mark mark)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto stroke = [&](auto draw) {
        painter.setPen(QPen(Qt::white, 3));
        draw();
        painter.setPen(QPen(Qt::black, 1));
        draw();
    };
    const bool crossHair = mark != Mark::OpenHand && mark != Mark::GrabHand && mark != Mark::Drag;
    if (crossHair)
        stroke([&] {
            painter.drawLine(0, 8, 16, 8);
            painter.drawLine(8, 0, 8, 16);
        });
    painter.setBrush(Qt::NoBrush);
    stroke([&] {
        switch (mark) {
        case Mark::Line: painter.drawLine(14, 26, 30, 18); break;
        case Mark::Tee:
            painter.drawLine(14, 22, 30, 22);
            painter.drawLine(22, 22, 22, 30);
            break;
        case Mark::Assembly:
            painter.drawRect(14, 18, 8, 8);
            painter.drawLine(22, 22, 30, 22);
            break;
        case Mark::Text:
        case Mark::SelectText:
        case Mark::MoveText:
        case Mark::CopyText:
            painter.drawLine(16, 18, 26, 18);
            painter.drawLine(21, 18, 21, 30);
            if (mark == Mark::SelectText)
                painter.drawRect(13, 15, 16, 16);
            if (mark == Mark::MoveText)
                painter.drawLine(28, 24, 31, 24);
            if (mark == Mark::CopyText)
                painter.drawRect(26, 26, 4, 4);
            break;
        case Mark::Link:
        case Mark::Unlink:
            painter.drawEllipse(14, 20, 8, 6);
            painter.drawEllipse(20, 20, 8, 6);
            if (mark == Mark::Unlink)
                painter.drawLine(14, 30, 30, 16);
            break;
        case Mark::Target:
            painter.drawEllipse(2, 2, 12, 12);
            break;
        case Mark::Brush:
            painter.drawRect(16, 16, 6, 10);
            painter.drawLine(19, 26, 19, 31);
            break;
        case Mark::OpenHand:
        case Mark::GrabHand:
            painter.drawRoundedRect(8, 12, 16, 14, 4, 4);
            for (int finger = 0; finger < 4; ++finger)
                painter.drawLine(10 + finger * 4, 12, 10 + finger * 4, mark == Mark::OpenHand ? 4 : 9);
            break;
        case Mark::Selection:
        case Mark::SelectionMove:
            painter.drawRect(14, 16, 14, 12);
            if (mark == Mark::SelectionMove)
                painter.drawLine(21, 19, 21, 25);
            break;
        case Mark::Drag:
            painter.drawLine(16, 4, 16, 28);
            painter.drawLine(4, 16, 28, 16);
            painter.drawEllipse(12, 12, 8, 8);
            break;
        }
    });
    return crossHair ? QCursor(picture, 8, 8) : QCursor(picture, 16, 16);
}

} // namespace

std::array<QCursor, LastToolCursorSlot + 1> LoadToolCursors()
{
    std::array<QCursor, LastToolCursorSlot + 1> cursors;
    cursors.fill(QCursor(Qt::ArrowCursor));
    const Mark marks[] = {Mark::Line,     Mark::Tee,      Mark::Assembly, Mark::Text,         Mark::SelectText,
                          Mark::MoveText, Mark::CopyText, Mark::Link,     Mark::Unlink,       Mark::Target,
                          Mark::Brush,    Mark::OpenHand, Mark::GrabHand, Mark::Selection, Mark::SelectionMove,
                          Mark::Drag};
    for (int slot = FirstToolCursorSlot; slot <= LastToolCursorSlot; ++slot)
        cursors[static_cast<std::size_t>(slot)] = toolCursor(marks[slot - FirstToolCursorSlot]);
    return cursors;
}

} // namespace tessaran
