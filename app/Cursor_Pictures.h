#pragma once
// The drawing tools' own mouse cursors, in the application's cursor slots
// 2 to 17 (slot 2 "BRANCHLINECURSOR" ... slot 17 "DRAGCURSOR").

#include <QCursor>

#include <array>

namespace tessaran {

inline constexpr int FirstToolCursorSlot = 2;
inline constexpr int LastToolCursorSlot = 17;

// Slots 0 and 1 hold the standard arrow.
std::array<QCursor, LastToolCursorSlot + 1> LoadToolCursors();

} // namespace tessaran
