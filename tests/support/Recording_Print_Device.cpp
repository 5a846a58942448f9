#include "support/Recording_Print_Device.h"

#include <algorithm>

namespace tessaran::test {

TRecordingPrintDevice::TRecordingPrintDevice(int width, int height) : Page(width, height)
{
    Page.Fill(0x00FFFFFF);
    Caps = {{TDeviceCap::HorzRes, width},      {TDeviceCap::VertRes, height},
            {TDeviceCap::PhysicalWidth, width}, {TDeviceCap::PhysicalHeight, height},
            {TDeviceCap::PhysicalOffsetX, 0},   {TDeviceCap::PhysicalOffsetY, 0},
            {TDeviceCap::LogPixelsX, 600},      {TDeviceCap::LogPixelsY, 600},
            {TDeviceCap::BitsPixel, 24},        {TDeviceCap::Planes, 1},
            {TDeviceCap::RasterCaps, RC_BITMAP64 | RC_STRETCHDIB}};
    state_.Clip = TRect{0, 0, width, height};
}

int TRecordingPrintDevice::Count(const std::string &name) const
{
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const TDeviceCall &c) { return c.Name == name; }));
}

void TRecordingPrintDevice::SetBitmap64(bool on)
{
    Caps[TDeviceCap::RasterCaps] = on ? (RC_BITMAP64 | RC_STRETCHDIB) : RC_STRETCHDIB;
}

int TRecordingPrintDevice::GetDeviceCaps(TDeviceCap cap) const
{
    const auto found = Caps.find(cap);
    return found == Caps.end() ? 0 : found->second;
}

TRect TRecordingPrintDevice::toDevice(int x, int y, int width, int height) const
{
    return TRect{x - state_.OriginX, y - state_.OriginY, x - state_.OriginX + width, y - state_.OriginY + height};
}

void TRecordingPrintDevice::paint(const TRect &dest, const TBitmap &picture, int srcX, int srcY, int srcWidth,
                                  int srcHeight)
{
    const TRect &clip = state_.Clip;
    for (int y = std::max(dest.Top, clip.Top); y < std::min(dest.Bottom, clip.Bottom); ++y)
        for (int x = std::max(dest.Left, clip.Left); x < std::min(dest.Right, clip.Right); ++x) {
            const int sx = srcX + static_cast<int>(static_cast<long long>(x - dest.Left) * srcWidth / dest.Width());
            const int sy = srcY + static_cast<int>(static_cast<long long>(y - dest.Top) * srcHeight / dest.Height());
            if (sx < picture.Width() && sy < picture.Height() && x >= 0 && y >= 0 && x < Page.Width() &&
                y < Page.Height())
                Page.SetPixel(x, y, picture.Pixel(sx, sy));
        }
}

int TRecordingPrintDevice::StretchDIBits(int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                                         int srcWidth, int srcHeight, std::span<const std::uint8_t> bits,
                                         std::span<const std::uint8_t> header)
{
    const TRect dest = toDevice(destX, destY, destWidth, destHeight);
    const int bitCount = header.size() >= 16 ? header[14] | (header[15] << 8) : 0;
    const int colors = header.size() >= 36 ? header[32] | (header[33] << 8) : 0;
    Calls.push_back({"StretchDIBits", dest, srcWidth, srcHeight, bitCount, colors});
    if (RefuseStretchDIBits)
        return 0;
    paint(dest, DIBToBitmap(header, bits), srcX, srcY, srcWidth, srcHeight);
    return srcHeight;
}

bool TRecordingPrintDevice::BitBlt(int destX, int destY, int width, int height, const TDeviceBitmap &bitmap,
                                   int srcX, int srcY)
{
    const TRect dest = toDevice(destX, destY, width, height);
    Calls.push_back({"BitBlt", dest, width, height});
    paint(dest, bitmap.Picture, srcX, srcY, width, height);
    return true;
}

bool TRecordingPrintDevice::StretchBlt(int destX, int destY, int destWidth, int destHeight,
                                       const TDeviceBitmap &bitmap, int srcX, int srcY, int srcWidth, int srcHeight)
{
    const TRect dest = toDevice(destX, destY, destWidth, destHeight);
    Calls.push_back({"StretchBlt", dest, srcWidth, srcHeight});
    paint(dest, bitmap.Picture, srcX, srcY, srcWidth, srcHeight);
    return true;
}

int TRecordingPrintDevice::SaveDC()
{
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

bool TRecordingPrintDevice::RestoreDC(int saved)
{
    if (saved < 1 || saved > static_cast<int>(saved_.size()))
        return false;
    state_ = saved_[static_cast<std::size_t>(saved - 1)];
    saved_.resize(static_cast<std::size_t>(saved - 1));
    return true;
}

void TRecordingPrintDevice::OffsetWindowOrg(int dx, int dy)
{
    state_.OriginX += dx;
    state_.OriginY += dy;
}

void TRecordingPrintDevice::IntersectClipRect(const TRect &rect)
{
    const TRect r = toDevice(rect.Left, rect.Top, rect.Width(), rect.Height());
    TRect &c = state_.Clip;
    c = TRect{std::max(c.Left, r.Left), std::max(c.Top, r.Top), std::min(c.Right, r.Right), std::min(c.Bottom, r.Bottom)};
}

bool TRecordingPrintDevice::Line(int x1, int y1, int x2, int y2, int penWidth)
{
    Calls.push_back({"Line", toDevice(x1, y1, x2 - x1, y2 - y1), penWidth, 0});
    return true;
}

} // namespace tessaran::test
