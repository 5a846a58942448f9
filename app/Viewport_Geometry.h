#pragma once
// The arithmetic of the drawing's viewport, apart from the widgets: the
// sheet, the scale list, mapping screen pixels to drawing units, snapping
// to the plan and isometric grids, and where zoom to fit and zoom to an
// item put the view. All divisions truncate towards zero.

#include <array>
#include <optional>
#include <string>

namespace tessaran {

inline constexpr int SheetWidth = 18060;
inline constexpr int SheetHeight = 12020;
inline constexpr int GridSpacing = 40;

inline constexpr std::array<const char *, 15> ScaleListItems = {
    "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%", "125%", "150%", "200%", "250%", "300%", "400%"};
inline constexpr int ScaleIndex100 = 8;

// The number in front of "%" divided by 100; 1.0 when it cannot be read.
double ScaleFromScaleText(const std::string &text);

// Screen image pixel to drawing coordinate along one axis.
int ImageToDrawing(int imagePixel, double scale, int offset);

// Snaps a drawing point to the grid of the plan or the isometric view.
void SnapToGrid(bool isometric, int gx, int gy, int &x, int &y);

struct TViewPlacement {
    int ScaleIndex = ScaleIndex100;
    int OffsetX = 0;
    int OffsetY = 0;
};

// Zoom to fit: the scale entry and offsets that show the extents
// (x1, y1)-(x2, y2) in a view of Wv by Hv pixels, never above 100 %.
TViewPlacement ZoomToFitPlacement(int x1, int y1, int x2, int y2, int Wv, int Hv);

struct TScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct TViewOffsets {
    int X = 0, Y = 0;
};

// Zoom to an item at (Mx, My) at 100 %: the offsets that put it in the
// middle of the view or, when the results sheet window covers part of the
// main window, in the widest free band beside the sheet. No value: leave
// the offsets as they are.
std::optional<TViewOffsets> PlaceBesideResultsSheet(int Mx, int My, int Wv, int Hv, const TScreenRect &window,
                                                    int scrollBoxLeft, int scrollBoxTop, bool sheetVisible,
                                                    const TScreenRect &sheet);

} // namespace tessaran
