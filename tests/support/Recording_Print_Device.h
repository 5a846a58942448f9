#pragma once
// A printing device for tests: reports the capabilities it is given, paints
// what it receives onto a page bitmap (nearest neighbour, honouring window
// origin and clip) and records every call. It can refuse StretchDIBits and
// lack RC_BITMAP64, as some printer drivers do.

#include "platform/Print_Device.h"

#include <map>
#include <string>
#include <vector>

namespace tessaran::test {

struct TDeviceCall {
    std::string Name; // "StretchDIBits", "BitBlt", "StretchBlt", "Line", ...
    TRect Dest;       // in device pixels, after the window origin
    int SourceWidth = 0;
    int SourceHeight = 0;
    int BitCount = 0;   // of the DIB a StretchDIBits call received
    int Colors = 0;     // its colour-table entries
};

class TRecordingPrintDevice : public TPrintDevice {
public:
    // A page of width x height printable pixels.
    TRecordingPrintDevice(int width, int height);

    std::map<TDeviceCap, int> Caps;
    bool RefuseStretchDIBits = false;
    std::vector<TDeviceCall> Calls;
    TBitmap Page; // white until something is drawn

    int Count(const std::string &name) const;
    void SetBitmap64(bool on);

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
    struct TState {
        int OriginX = 0;
        int OriginY = 0;
        TRect Clip;
    };
    TRect toDevice(int x, int y, int width, int height) const;
    void paint(const TRect &dest, const TBitmap &picture, int srcX, int srcY, int srcWidth, int srcHeight);

    TState state_;
    std::vector<TState> saved_;
};

} // namespace tessaran::test
