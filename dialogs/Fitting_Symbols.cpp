#include "dialogs/Fitting_Symbols.h"

#include <array>

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace tessaran {

namespace {

const QColor Pipe(40, 40, 40);
const QColor Fill(0, 90, 170);

void PipeLine(QPainter &p, int from = 0, int to = 23) { p.drawLine(from, 8, to, 8); }

// A variant mark: up to four dots along the bottom edge, so that symbols of
// one family stay told apart.
void VariantDots(QPainter &p, int variant)
{
    for (int i = 0; i < variant % 5; ++i)
        p.drawPoint(3 + i * 5, 15);
}

void DrawSymbol(QPainter &p, int index)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Pipe, 1));
    p.setBrush(Qt::NoBrush);
    if (index == 0) {
        p.setPen(QPen(Pipe, 2));
        PipeLine(p, 1, 22);
        return;
    }
    if (index <= 6) {
        // Bends: a pipe turning through an angle that grows with the index.
        QPainterPath path;
        path.moveTo(1, 12);
        path.lineTo(8, 12);
        const int rise = 2 + index * 2;
        path.quadTo(15, 12, 15, 12 - rise);
        p.setPen(QPen(Pipe, 2));
        p.drawPath(path);
        p.setPen(QPen(Fill, 1));
        VariantDots(p, index);
        return;
    }
    if (index <= 20) {
        // Valves: the bow-tie body with a stem; the variant sets the top.
        PipeLine(p, 0, 4);
        PipeLine(p, 19, 23);
        p.setBrush(index % 2 ? Fill : QColor(Qt::white));
        p.drawPolygon(QPolygon({QPoint(5, 3), QPoint(18, 13), QPoint(18, 3), QPoint(5, 13)}));
        p.drawLine(12, 8, 12, 2);
        const int top = (index - 7) / 2;
        switch (top % 4) {
        case 0: p.drawLine(9, 1, 15, 1); break;
        case 1: p.drawEllipse(10, 0, 4, 3); break;
        case 2: p.drawRect(10, 0, 4, 2); break;
        default: p.drawLine(9, 0, 15, 2); break;
        }
        p.setPen(QPen(Fill, 1));
        VariantDots(p, top / 4 + 1);
        return;
    }
    if (index <= 27) {
        // Tees, entries and exits.
        p.setPen(QPen(Pipe, 2));
        switch (index) {
        case 21:
            PipeLine(p);
            p.drawLine(12, 8, 12, 1);
            break;
        case 22:
            PipeLine(p);
            p.drawLine(12, 8, 12, 15);
            break;
        case 23:
            PipeLine(p, 0, 12);
            p.drawLine(12, 1, 12, 15);
            break;
        case 24:
            p.drawLine(6, 2, 6, 14);
            PipeLine(p, 6, 23);
            break;
        case 25:
            p.drawLine(6, 2, 6, 14);
            PipeLine(p, 2, 23);
            break;
        case 26:
            PipeLine(p, 0, 17);
            p.drawLine(17, 2, 17, 14);
            break;
        default:
            PipeLine(p, 0, 21);
            p.drawLine(17, 2, 17, 14);
            break;
        }
        return;
    }
    p.setPen(QPen(Pipe, 2));
    switch (index) {
    case 28: {
        p.drawLine(2, 2, 2, 14);
        QPainterPath path;
        path.moveTo(2, 3);
        path.quadTo(8, 3, 8, 6);
        path.lineTo(22, 6);
        path.moveTo(2, 13);
        path.quadTo(8, 13, 8, 10);
        path.lineTo(22, 10);
        p.setPen(QPen(Pipe, 1));
        p.drawPath(path);
        return;
    }
    case 29: // gradual enlargement
        p.setPen(QPen(Pipe, 1));
        p.drawPolyline(QPolygon({QPoint(0, 6), QPoint(7, 6), QPoint(16, 2), QPoint(23, 2)}));
        p.drawPolyline(QPolygon({QPoint(0, 10), QPoint(7, 10), QPoint(16, 14), QPoint(23, 14)}));
        return;
    case 30: // gradual contraction
        p.setPen(QPen(Pipe, 1));
        p.drawPolyline(QPolygon({QPoint(0, 2), QPoint(7, 2), QPoint(16, 6), QPoint(23, 6)}));
        p.drawPolyline(QPolygon({QPoint(0, 14), QPoint(7, 14), QPoint(16, 10), QPoint(23, 10)}));
        return;
    case 31: // sudden enlargement
        p.setPen(QPen(Pipe, 1));
        p.drawPolyline(QPolygon({QPoint(0, 6), QPoint(11, 6), QPoint(11, 2), QPoint(23, 2)}));
        p.drawPolyline(QPolygon({QPoint(0, 10), QPoint(11, 10), QPoint(11, 14), QPoint(23, 14)}));
        return;
    case 32: // sudden contraction
        p.setPen(QPen(Pipe, 1));
        p.drawPolyline(QPolygon({QPoint(0, 2), QPoint(11, 2), QPoint(11, 6), QPoint(23, 6)}));
        p.drawPolyline(QPolygon({QPoint(0, 14), QPoint(11, 14), QPoint(11, 10), QPoint(23, 10)}));
        return;
    default: break;
    }
    // 33 to 48: in-line items in a box: strainers, meters, filters, nozzles.
    PipeLine(p, 0, 5);
    PipeLine(p, 18, 23);
    p.setPen(QPen(Pipe, 1));
    const int kind = (index - 33) % 4;
    p.setBrush(kind == 1 ? Fill : QColor(Qt::white));
    if (kind == 2)
        p.drawEllipse(6, 2, 11, 11);
    else
        p.drawRect(6, 2, 11, 11);
    p.setPen(QPen(kind == 1 ? QColor(Qt::white) : Fill, 1));
    const int mark = (index - 33) / 4;
    switch (mark) {
    case 0: p.drawLine(7, 12, 16, 3); break;
    case 1: p.drawLine(8, 7, 15, 7); break;
    case 2: p.drawLine(11, 3, 11, 12); break;
    default:
        p.drawLine(8, 4, 15, 11);
        p.drawLine(8, 11, 15, 4);
        break;
    }
}

} // namespace

QImage FittingSymbolImage(int index)
{
    // Images, not pixmaps: the cache outlives the application object.
    static std::array<QImage, FittingSymbolCount> cache;
    if (index < 0 || index >= FittingSymbolCount)
        return QImage();
    QImage &picture = cache[static_cast<std::size_t>(index)];
    if (picture.isNull()) {
        picture = QImage(FittingSymbolWidth, FittingSymbolHeight, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        DrawSymbol(painter, index);
    }
    return picture;
}

void DrawFittingSymbol(QPainter &painter, int x, int y, int index)
{
    const QImage picture = FittingSymbolImage(index);
    if (!picture.isNull())
        painter.drawImage(x, y, picture);
}

} // namespace tessaran
