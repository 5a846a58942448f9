#pragma once
// Puts a DIB onto a device at any size without ever handing the driver the
// whole picture: the visible part of the destination is cut into tiles no
// larger than the screen, each rebuilt in memory near device resolution and
// sent with StretchDIBits; when the device refuses, the rest of the job goes
// by memory bitmap and block transfer. A progress callback sees every tile
// (and every 64 rows of one) and can cancel.

#include "platform/Print_Device.h"
#include "printing/Print_Dib.h"

#include <span>

class QWidget;

namespace tessaran {

// Results of StretchDIBToDevice and PrintDIBFitToPage.
inline constexpr int PrintDone = 1;
inline constexpr int PrintNothingVisible = 0;
inline constexpr int PrintBadArguments = -1;
inline constexpr int PrintNoMemory = -2;
inline constexpr int PrintConversionFailed = -3;
inline constexpr int PrintOutputFailed = -5;

struct PrintLibrarySettings {
    bool ShowErrors = false;
    QWidget *ErrorOwner = nullptr;
    bool PrepareTiles = true;
    bool OutputTiles = true;
    bool ForceFallback = false;
    bool FallbackOnFailure = true;
    int TilePauseMs = -1;
    bool DrawTileFrames = false;
    int PaletteMode = 0;
    bool RawDeviceArea = false;
    bool FlushAfterTiles = true;
    int ScaleDivisorX = 1;
    int ScaleDivisorY = 1;
    bool UseStretchedTiles = false;
};

// The process-wide settings; only ShowErrors and ErrorOwner have setters.
const PrintLibrarySettings &GetPrintLibrarySettings();
void SetShowPrintErrors(TLongBool show);
// Returns the owner stored before.
QWidget *SetPrintErrorOwner(QWidget *owner);

struct TileInfo {
    TRect Area;
    TRect Tile;
    int Column = 0; // 1-based within the row, empty tiles counted
    int Row = 0;    // 1-based
    int TileWidth = 0;
    int TileHeight = 0;
    int StepWidth = 0;
    int StepHeight = 0;
    int TileIndex = 0; // 1-based among the non-empty tiles
    int TileCount = 0;
    void *Data = nullptr;
    void *Data2 = nullptr;
};

using TileCallback = TLongBool (*)(TileInfo *info);
using ProgressCallback = TLongBool (*)(int tileIndex, int tileCount, void *userData);

TLongBool CountTiles(const TRect &rect, int tileWidth, int tileHeight, TileInfo *info);
TLongBool ForEachTile(const TRect &rect, int tileWidth, int tileHeight, TileCallback callback, void *data,
                      void *data2);

// The state of one StretchDIBToDevice call, handed to the tile callbacks.
struct TileJob {
    TPrintDevice *DC = nullptr;
    THeapBlock Header; // info-header copy of the caller's header
    std::size_t HeaderSize = 0;
    int Colors = 0;
    int Masks = 0;
    std::uint32_t ImageSize = 0;
    int BytesPerRow = 0;
    bool TopDown = false;
    int ImageWidth = 0;
    int ImageHeight = 0;
    int BitCount = 0;
    std::span<const std::uint8_t> Pixels; // the caller's bits or Decoded
    THeapBlock Decoded;
    const std::uint8_t *TopRow = nullptr;
    std::ptrdiff_t RowStride = 0;
    TRect Dest;
    TRect Source;
    TRect Visible;
    TRect Clip;
    long double DestPerSourceX = 0;
    long double DestPerSourceY = 0;
    long double SourcePerDestX = 0;
    long double SourcePerDestY = 0;
    bool Fallback = false;
    ProgressCallback Progress = nullptr;
    void *UserData = nullptr;
};

TLongBool PrintTileResampled(TileInfo *info);
TLongBool PrintTileStretched(TileInfo *info);

// The source rectangle (image pixels, row 0 at the top) onto the
// destination, clipped; results as the Print* constants above.
int StretchDIBToDevice(TPrintDevice *dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                       int srcWidth, int srcHeight, std::span<const std::uint8_t> info,
                       std::span<const std::uint8_t> bits, const TLogPalette *palette, TLongBool forceBackground,
                       TLongBool makePalette, TRect clip, ProgressCallback progress, void *userData);

// The whole DIB scaled to the page with its aspect kept, optionally centred
// and inside equal margins.
int PrintDIBFitToPage(TPrintDevice *dc, std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                      TLongBool centre, TLongBool useMargins, ProgressCallback progress, void *userData);

namespace detail {
// For tests of the settings that keep their defaults in the program.
PrintLibrarySettings &MutablePrintLibrarySettings();

// Shared by the bitmap and the form printer.
void ShowPrintError(const PrintLibrarySettings &settings, const char *text);
// Sends one built tile bitmap to the tile's place: StretchDIBits, or once the
// device has refused it (fallback then stays on) a memory bitmap and a block
// copy (blockCopy) or stretch. True when every row went out.
bool OutputTile(TPrintDevice &dc, const PrintLibrarySettings &settings, const TRect &tile, int outWidth,
                int outHeight, int width, int height, bool blockCopy, bool &fallback,
                std::span<const std::uint8_t> header, std::span<const std::uint8_t> bits);
// Where a picture goes on the page: its aspect kept, as large as the usable
// area allows (the printable area without margins, which also sets the
// metrics' margins, usable size and offset so), centred or at the top left.
TRect FitToUsableArea(PageMetrics &metrics, bool useMargins, bool centre, int imageWidth, int imageHeight);
// A cross through the middle of the tile.
void DrawTileFrame(TPrintDevice &dc, const PrintLibrarySettings &settings, const TRect &tile);
} // namespace detail

} // namespace tessaran
