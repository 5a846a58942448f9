#pragma once
// The bottom layer of bitmap printing: a printer page's metrics, packed
// device-independent bitmaps (DIBs) in two owned blocks, their headers,
// run-length decoding and palettes. Every routine reports failure by its
// result and never raises; a true result is -1.

#include "platform/Bitmap.h"
#include "platform/Print_Device.h"
#include "platform/Stream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace tessaran {

using TLongBool = std::int32_t;
inline constexpr TLongBool LongTrue = -1;
inline constexpr TLongBool LongFalse = 0;

// Device pixels; the usable area is the sheet less an equal margin on every
// side, as wide as the widest unprintable strip, so a picture stays centred.
struct PageMetrics {
    std::int32_t PhysicalOffsetX = 0;
    std::int32_t PhysicalOffsetY = 0;
    std::int32_t UnprintableRight = 0;
    std::int32_t UnprintableBottom = 0;
    std::int32_t PhysicalWidth = 0;
    std::int32_t PhysicalHeight = 0;
    std::int32_t PrintableWidth = 0;
    std::int32_t PrintableHeight = 0;
    std::int32_t MarginLeft = 0;
    std::int32_t MarginTop = 0;
    std::int32_t MarginRight = 0;
    std::int32_t MarginBottom = 0;
    std::int32_t UsableWidth = 0;
    std::int32_t UsableHeight = 0;
    std::int32_t UsableOffsetX = 0; // from the printable area's origin
    std::int32_t UsableOffsetY = 0;
    std::int32_t PixelsPerInchX = 0;
    std::int32_t PixelsPerInchY = 0;
    friend bool operator==(const PageMetrics &, const PageMetrics &) = default;
};

TLongBool GetPrinterPageMetrics(const TPrintDevice *dc, PageMetrics *metrics);

// A zero-filled block owned by whoever holds it; it knows its size, so no
// reader of a DIB goes past its block.
class THeapBlock {
public:
    THeapBlock() = default;
    std::uint8_t *Data() { return data_.get(); }
    const std::uint8_t *Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    explicit operator bool() const { return data_ != nullptr; }
    std::span<std::uint8_t> Bytes() { return {data_.get(), size_}; }
    std::span<const std::uint8_t> Bytes() const { return {data_.get(), size_}; }

private:
    friend THeapBlock GlobalAllocZeroed(std::size_t size);
    friend void GlobalFreeSafe(THeapBlock &block);
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
};

// An empty block when the memory cannot be had (or the size is 0).
THeapBlock GlobalAllocZeroed(std::size_t size);
void GlobalFreeSafe(THeapBlock &block);

inline constexpr std::uint32_t CoreHeaderSize = 12;
inline constexpr std::uint32_t InfoHeaderSize = 40;

// Bytes of one DIB row: padded to four bytes.
inline std::int64_t RowBytes(std::int64_t width, std::int64_t bits) { return ((width * bits + 31) / 32) * 4; }

// Reads a BMP file image from the stream's position into a header block
// (header, masks and colour table) and a bits block. Height comes out
// positive.
TLongBool DIBFromBMPStream(TStream *stream, THeapBlock &header, THeapBlock &bits, int &width, int &height);
TLongBool BitmapToDIB(const TBitmap &bitmap, THeapBlock &header, THeapBlock &bits, int &width, int &height);

// True for a header the library can print, whose block holds the colour
// table it declares.
TLongBool IsValidDIBHeader(std::span<const std::uint8_t> header);
TLongBool IsCoreHeader(std::span<const std::uint8_t> header);

struct TDIBSizes {
    int Colors = 0;
    int Masks = 0;
    std::uint32_t ImageSize = 0; // uncompressed, also for run-length images
    int BytesPerRow = 0;
    bool TopDown = false;
};
// The size of the equivalent info-header block (0 for no header).
std::size_t GetDIBSizes(std::span<const std::uint8_t> header, TDIBSizes &sizes);

// Row 0 (the picture's top row) and the signed step to the next row down.
void GetDIBRowLayout(const std::uint8_t *data, std::uint32_t imageSize, int bytesPerRow, bool topDown,
                     const std::uint8_t *&topRow, std::ptrdiff_t &rowStride);

// Writes the info-header form of a core header block into dest (40 bytes
// and a 4-byte colour table of colorCount entries).
TLongBool CoreToInfoHeader(std::span<const std::uint8_t> core, std::span<std::uint8_t> dest, int colorCount,
                           std::uint32_t imageSize);

// Decoding of run-length data into an ordinary bottom-up image.
struct TRLEDecodeState {
    std::span<std::uint8_t> Header; // the working info header; its compression is cleared
    int Colors = 0;
    std::uint32_t ImageSize = 0;
    int BytesPerRow = 0;
    bool TopDown = false;
    std::span<std::uint8_t> Output; // ImageSize bytes
    const std::uint8_t *TopRow = nullptr;
    std::ptrdiff_t RowStride = 0;
};
// False when the data would take a write outside the output or a read past
// the compressed bytes.
TLongBool DecodeRLE(std::span<const std::uint8_t> header, std::span<const std::uint8_t> compressed,
                    TRLEDecodeState &state);
TLongBool DecodeRLE8(std::span<const std::uint8_t> header, std::span<const std::uint8_t> compressed,
                     TRLEDecodeState &state);
TLongBool DecodeRLE4(std::span<const std::uint8_t> header, std::span<const std::uint8_t> compressed,
                     TRLEDecodeState &state);

// The DIB's colour table as a logical palette; null without a table.
std::unique_ptr<TLogPalette> CreateDIBPalette(std::span<const std::uint8_t> header);
// A null device asks about the screen.
TLongBool IsPaletteDevice(const TPrintDevice *dc);

} // namespace tessaran
