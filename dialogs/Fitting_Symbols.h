#pragma once
// The 49 fitting symbols, 24 x 16 pixels, numbered 0 to 48: 0 a plain pipe
// (the database's pipe-size entries), 1 to 6 bends, 7 to 20 valves, 21 to
// 27 tees, entries and exits, 28 a rounded entrance, 29 and 30 gradual
// enlargement and contraction, 31 and 32 sudden enlargement and
// contraction, 33 to 48 strainers, meters and other in-line items.

#include <QImage>

class QPainter;

namespace tessaran {

inline constexpr int FittingSymbolCount = 49;
inline constexpr int FittingSymbolWidth = 24;
inline constexpr int FittingSymbolHeight = 16;

// The symbol's picture (transparent background); an index outside 0..48
// gives an empty picture.
QImage FittingSymbolImage(int index);
// Draws the symbol with its top-left corner at (x, y).
void DrawFittingSymbol(QPainter &painter, int x, int y, int index);

} // namespace tessaran
