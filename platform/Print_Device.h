#pragma once
// The output device of the bitmap printing library: the few device-context
// services it needs (capabilities, DIB output, memory bitmaps with block
// transfers, saved states, window origin, clipping, lines, palettes).
// Coordinates are the device's logical units; the window origin and the
// clip rectangle apply to every output call.

#include "platform/Bitmap.h"
#include "platform/Graphics.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tessaran {

enum class TDeviceCap : std::uint8_t {
    HorzRes,         // printable width, pixels
    VertRes,         // printable height, pixels
    PhysicalWidth,   // whole sheet; 0 when the device does not know
    PhysicalHeight,
    PhysicalOffsetX, // printable area's left edge on the sheet
    PhysicalOffsetY,
    LogPixelsX,
    LogPixelsY,
    BitsPixel,
    Planes,
    RasterCaps,
};

// RasterCaps bits.
inline constexpr int RC_BITMAP64 = 0x0008; // takes bitmaps larger than 64 KB
inline constexpr int RC_PALETTE = 0x0100;  // a palette device
inline constexpr int RC_STRETCHDIB = 0x2000;

struct TPaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    friend bool operator==(const TPaletteEntry &, const TPaletteEntry &) = default;
};

// A logical palette (version 0x300).
struct TLogPalette {
    std::uint16_t Version = 0x300;
    std::vector<TPaletteEntry> Entries;
};

// A device-dependent bitmap made from a DIB, for the block transfers.
struct TDeviceBitmap {
    TBitmap Picture;
};

class TPrintDevice {
public:
    virtual ~TPrintDevice() = default;

    virtual int GetDeviceCaps(TDeviceCap cap) const = 0;

    // Draws the source rectangle of a packed DIB (header block with its
    // masks and colour table, then the rows) stretched onto the destination.
    // The source rectangle counts rows from the top of the picture. Returns
    // the number of source rows drawn, 0 when the device refuses.
    virtual int StretchDIBits(int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                              int srcWidth, int srcHeight, std::span<const std::uint8_t> bits,
                              std::span<const std::uint8_t> header) = 0;

    // A bitmap of the device's kind made from a DIB; null when that fails.
    virtual std::unique_ptr<TDeviceBitmap> CreateDIBitmap(std::span<const std::uint8_t> header,
                                                          std::span<const std::uint8_t> bits);
    // Copies a block of the bitmap at its own size; false when refused.
    virtual bool BitBlt(int destX, int destY, int width, int height, const TDeviceBitmap &bitmap, int srcX,
                        int srcY) = 0;
    virtual bool StretchBlt(int destX, int destY, int destWidth, int destHeight, const TDeviceBitmap &bitmap,
                            int srcX, int srcY, int srcWidth, int srcHeight) = 0;

    // Saves the window origin and clip region; RestoreDC takes the state
    // back to the one SaveDC numbered.
    virtual int SaveDC() = 0;
    virtual bool RestoreDC(int saved) = 0;
    // Moves the window origin: the logical point (x, y) was at the device
    // point (x - origin); the origin grows by (dx, dy).
    virtual void OffsetWindowOrg(int dx, int dy) = 0;
    virtual void IntersectClipRect(const TRect &rect) = 0;

    // A solid black line of the given width; false when it cannot be drawn.
    virtual bool Line(int x1, int y1, int x2, int y2, int penWidth) = 0;

    // Palettes matter only on palette devices; true-colour devices accept
    // and ignore them. SelectPalette returns the palette selected before.
    virtual const TLogPalette *SelectPalette(const TLogPalette *palette, bool forceBackground);
    virtual void RealizePalette() {}

    // Finishes any drawing the device has batched.
    virtual void Flush() {}
};

// The screen's size in pixels, which bounds the printing tiles: the desktop's
// when a window system provides one, 1920 by 1080 otherwise.
struct TScreenMetrics {
    int Width = 1920;
    int Height = 1080;
    int BitsPixel = 24;
    int Planes = 1;
    int RasterCaps = RC_BITMAP64 | RC_STRETCHDIB;
};
using TScreenMetricsProvider = TScreenMetrics (*)();
TScreenMetrics GetScreenMetrics();
// Installed by the window-system side at start-up; null restores the default.
void SetScreenMetricsProvider(TScreenMetricsProvider provider);

// A picture of a packed DIB (12- or 40-byte header, 1 to 32 bits, run-length
// data); raises EInvalidGraphic when it cannot be decoded.
TBitmap DIBToBitmap(std::span<const std::uint8_t> header, std::span<const std::uint8_t> bits);

} // namespace tessaran
