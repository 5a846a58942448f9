#pragma once
// The printing device over QPainter: a printer (its page layout gives the
// sheet, the printable area and their offset) or any other paint device
// (the whole device is printable). Palettes do not exist on these devices.

#include "platform/Print_Device.h"

#include <QPainter>

class QPrinter;

namespace tessaran {

class TQtPrintDevice : public TPrintDevice {
public:
    // The painter must be active on its device; printer, when given, is
    // the painter's device.
    explicit TQtPrintDevice(QPainter &painter, QPrinter *printer = nullptr);

    int GetDeviceCaps(TDeviceCap cap) const override;
    int StretchDIBits(int destX, int destY, int destWidth, int destHeight, int srcX, int srcY, int srcWidth,
                      int srcHeight, std::span<const std::uint8_t> bits,
                      std::span<const std::uint8_t> header) override;
    bool BitBlt(int destX, int destY, int width, int height, const TDeviceBitmap &bitmap, int srcX,
                int srcY) override;
    bool StretchBlt(int destX, int destY, int destWidth, int destHeight, const TDeviceBitmap &bitmap, int srcX,
                    int srcY, int srcWidth, int srcHeight) override;
    int SaveDC() override;
    bool RestoreDC(int saved) override;
    void OffsetWindowOrg(int dx, int dy) override;
    void IntersectClipRect(const TRect &rect) override;
    bool Line(int x1, int y1, int x2, int y2, int penWidth) override;

private:
    QPainter &painter_;
    QPrinter *printer_;
    int saved_ = 0;
};

// Tells the printing code the desktop's screen size (the default stands when
// there is no real screen).
void InstallQtScreenMetrics();

} // namespace tessaran
