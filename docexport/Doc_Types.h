#pragma once
// Small value types shared by every layer of the document export engine:
// rectangles and points in document units, wide texts, and the
// enumerations that items, settings and writers all use.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Graphics.h"

namespace tessaran {

// Texts of the document model are UTF-16, as the output writes them.
using WideString = std::u16string;

// A rectangle of four Doubles; the argument of every engine call that takes
// an area. Sides are not normalised.
struct TdeRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    bool operator==(const TdeRect &) const = default;
};

struct TdePoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TdePoint &) const = default;
};
using TdePoints = std::vector<TdePoint>;

inline TdeRect MakeDocRect(double left, double top, double right, double bottom)
{
    return TdeRect{left, top, right, bottom};
}

inline TdeRect ScaleDocRect(const TdeRect &rect, double factor)
{
    return TdeRect{rect.Left * factor, rect.Top * factor, rect.Right * factor, rect.Bottom * factor};
}

enum class TdeHAlignment : std::uint8_t { haLeft, haRight, haCenter, haJustify, haGeneral };
enum class TdeVAlignment : std::uint8_t { vaTop, vaCenter, vaBottom };

// Reading order of text.
enum class TBiDiMode : std::uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

} // namespace tessaran
