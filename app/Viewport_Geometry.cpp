#include "app/Viewport_Geometry.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace tessaran {

double ScaleFromScaleText(const std::string &text)
{
    const auto percent = text.find('%');
    const std::string number = text.substr(0, percent);
    int value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || error != std::errc() || end != number.data() + number.size())
        return 1.0;
    return value / 100.0;
}

int ImageToDrawing(int imagePixel, double scale, int offset)
{
    return static_cast<int>(imagePixel / scale) + offset;
}

namespace {

void snapPlanAxis(int &v, int g, int limit)
{
    if (v % g == 0)
        return; // a value on the grid stays, even outside the bounds
    v = g * ((v + g / 2) / g);
    v = std::clamp(v, g, limit - g);
}

} // namespace

void SnapToGrid(bool isometric, int gx, int gy, int &x, int &y)
{
    if (!isometric) {
        snapPlanAxis(x, gx, SheetWidth);
        snapPlanAxis(y, gy, SheetHeight);
        return;
    }
    const int a = x / gx;
    x = gx * a + gx / 2;
    const int h = gy / 2;
    const int b = (y + h) / h;
    y = h * b;
    if ((a % 2 == 0) == (b % 2 == 0))
        y -= h;
}

TViewPlacement ZoomToFitPlacement(int x1, int y1, int x2, int y2, int Wv, int Hv)
{
    TViewPlacement place;
    const int dx = std::max(1, x2 - x1);
    const int dy = std::max(1, y2 - y1);
    const double fx = std::min(1.0, static_cast<double>(Wv) / dx);
    const double fy = std::min(1.0, static_cast<double>(Hv) / dy);
    double m = 1.0;
    if ((fx < fy && fx < 1) || (fy < fx && fy < 1)) {
        const double f = fx < fy ? fx : fy;
        m = static_cast<int>(f * 10) / 10.0 + 0.001;
        place.OffsetX = x1 + static_cast<int>((1 - fx / m) * 0.5 * Wv);
        place.OffsetY = y1 + static_cast<int>((1 - fy / m) * 0.5 * Hv);
    } else {
        place.OffsetX = x1 - static_cast<int>((1 - static_cast<double>(dx) / Wv) * 0.5 * Wv);
        place.OffsetY = y1 - static_cast<int>((1 - static_cast<double>(dy) / Hv) * 0.5 * Hv);
    }
    static constexpr std::array<double, ScaleIndex100> Below = {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
    place.ScaleIndex = ScaleIndex100;
    for (int i = 0; i < ScaleIndex100; ++i)
        if (m < Below[static_cast<std::size_t>(i)]) {
            place.ScaleIndex = i;
            break;
        }
    return place;
}

std::optional<TViewOffsets> PlaceBesideResultsSheet(int Mx, int My, int Wv, int Hv, const TScreenRect &window,
                                                    int scrollBoxLeft, int scrollBoxTop, bool sheetVisible,
                                                    const TScreenRect &sheet)
{
    const bool sheetBeside = sheetVisible && sheet.Left + sheet.Width >= window.Left &&
                             window.Left + window.Width >= sheet.Left;
    if (!sheetBeside)
        return TViewOffsets{Mx - Wv / 2, My - Hv / 2};
    const int L = window.Left + scrollBoxLeft - sheet.Left;
    const int T = window.Top + scrollBoxTop - sheet.Top;
    const int R = (window.Left + window.Width) - (sheet.Left + sheet.Width);
    const int B = (window.Top + window.Height) - (sheet.Top + sheet.Height);
    constexpr int Margin = 60;
    if (T < -Margin && std::abs(T) > B && std::abs(T) > std::abs(L) && std::abs(T) > R)
        return TViewOffsets{Mx - Wv / 2, My - std::abs(T) / 2};
    if (L < -Margin && std::abs(L) > R && std::abs(L) > B)
        return TViewOffsets{Mx - std::abs(L) / 2, My - Hv / 2};
    if (B > Margin && B > R)
        return TViewOffsets{Mx - Wv / 2, My - Hv + B / 2};
    if (R > Margin)
        return TViewOffsets{Mx - Wv + R / 2, My - Hv / 2};
    return std::nullopt;
}

} // namespace tessaran
