#pragma once
// The engine's native unit and the units callers may give lengths in.
// Every length inside the engine is a Double in screen pixels at
// ScreenPixelsPerInch; settings convert on every read and write.

#include <cstdint>

namespace tessaran {

// Logical resolution of the display. The engine is device independent, so a
// fixed resolution serves: all native lengths scale with it.
constexpr int ScreenPixelsPerInch = 96;
constexpr double PixelsPerPoint = ScreenPixelsPerInch / 72.0;

enum class TdeUnitType : std::uint8_t { muPixels, muInches, muMM, muPoints, muTwips };

// Native units per unit.
inline double UnitToNativeFactor(TdeUnitType unit)
{
    switch (unit) {
    case TdeUnitType::muPixels: return 1;
    case TdeUnitType::muInches: return 72 * PixelsPerPoint;
    case TdeUnitType::muMM: return 2.83464 * PixelsPerPoint;
    case TdeUnitType::muPoints: return PixelsPerPoint;
    case TdeUnitType::muTwips: return 0.05 * PixelsPerPoint;
    }
    return 1;
}

} // namespace tessaran
