#include "platform/qt/Qt_Print_Device.h"

#include "platform/qt/Qt_Canvas.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QScreen>

namespace tessaran {

TQtPrintDevice::TQtPrintDevice(QPainter &painter, QPrinter *printer) : painter_(painter), printer_(printer) {}

int TQtPrintDevice::GetDeviceCaps(TDeviceCap cap) const
{
    QPaintDevice *device = painter_.device();
    QRect full(0, 0, device->width(), device->height());
    QRect paint = full;
    if (printer_) {
        const int resolution = printer_->resolution();
        full = printer_->pageLayout().fullRectPixels(resolution);
        paint = printer_->pageLayout().paintRectPixels(resolution);
    }
    switch (cap) {
    case TDeviceCap::HorzRes:
        return device->width();
    case TDeviceCap::VertRes:
        return device->height();
    case TDeviceCap::PhysicalWidth:
        return full.width();
    case TDeviceCap::PhysicalHeight:
        return full.height();
    case TDeviceCap::PhysicalOffsetX:
        return paint.left() - full.left();
    case TDeviceCap::PhysicalOffsetY:
        return paint.top() - full.top();
    case TDeviceCap::LogPixelsX:
        return device->logicalDpiX();
    case TDeviceCap::LogPixelsY:
        return device->logicalDpiY();
    case TDeviceCap::BitsPixel:
        return 24;
    case TDeviceCap::Planes:
        return 1;
    case TDeviceCap::RasterCaps:
        return RC_BITMAP64 | RC_STRETCHDIB;
    }
    return 0;
}

int TQtPrintDevice::StretchDIBits(int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                                  int srcWidth, int srcHeight, std::span<const std::uint8_t> bits,
                                  std::span<const std::uint8_t> header)
{
    try {
        const QImage image = ToQImage(DIBToBitmap(header, bits));
        painter_.drawImage(QRect(destX, destY, destWidth, destHeight), image,
                           QRect(srcX, srcY, srcWidth, srcHeight));
        return srcHeight;
    } catch (const std::exception &) {
        return 0;
    }
}

bool TQtPrintDevice::BitBlt(int destX, int destY, int width, int height, const TDeviceBitmap &bitmap, int srcX,
                            int srcY)
{
    painter_.drawImage(QPoint(destX, destY), ToQImage(bitmap.Picture), QRect(srcX, srcY, width, height));
    return true;
}

bool TQtPrintDevice::StretchBlt(int destX, int destY, int destWidth, int destHeight, const TDeviceBitmap &bitmap,
                                int srcX, int srcY, int srcWidth, int srcHeight)
{
    painter_.drawImage(QRect(destX, destY, destWidth, destHeight), ToQImage(bitmap.Picture),
                       QRect(srcX, srcY, srcWidth, srcHeight));
    return true;
}

int TQtPrintDevice::SaveDC()
{
    painter_.save();
    return ++saved_;
}

bool TQtPrintDevice::RestoreDC(int saved)
{
    if (saved < 1 || saved > saved_)
        return false;
    while (saved_ >= saved) {
        painter_.restore();
        --saved_;
    }
    return true;
}

void TQtPrintDevice::OffsetWindowOrg(int dx, int dy)
{
    painter_.translate(-dx, -dy);
}

void TQtPrintDevice::IntersectClipRect(const TRect &rect)
{
    painter_.setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), Qt::IntersectClip);
}

bool TQtPrintDevice::Line(int x1, int y1, int x2, int y2, int penWidth)
{
    painter_.save();
    painter_.setPen(QPen(Qt::black, penWidth));
    painter_.drawLine(x1, y1, x2, y2);
    painter_.restore();
    return true;
}

namespace {
TScreenMetrics qtScreenMetrics()
{
    TScreenMetrics metrics;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return metrics;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size() * screen->devicePixelRatio();
        if (!size.isEmpty()) {
            metrics.Width = size.width();
            metrics.Height = size.height();
        }
    }
    return metrics;
}
} // namespace

void InstallQtScreenMetrics()
{
    SetScreenMetricsProvider(qtScreenMetrics);
}

} // namespace tessaran
