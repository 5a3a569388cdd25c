#include "ui/main_window/dpi_scale.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr int MAX_DPI = 10 * BASE_DPI;
constexpr int MAX_FONT_HEIGHT_AT_BASE = 12;

}  // namespace

int usableDpi(int dpi)
{
    return dpi < 1 ? BASE_DPI : std::min(dpi, MAX_DPI);
}

int scaleToDpi(int value, int dpi, int fromDpi)
{
    const int64_t product = int64_t{value} * usableDpi(dpi);
    const int64_t divisor = usableDpi(fromDpi);
    const int64_t half = product < 0 ? -divisor / 2 : divisor / 2;
    const int64_t scaled = (product + half) / divisor;
    return static_cast<int>(
        std::clamp<int64_t>(scaled, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

Placement scaleToDpi(Placement at, int dpi)
{
    return {scaleToDpi(at.x, dpi), scaleToDpi(at.y, dpi), scaleToDpi(at.width, dpi), scaleToDpi(at.height, dpi)};
}

int limitFontHeight(int height, int dpi)
{
    const int limit = scaleToDpi(MAX_FONT_HEIGHT_AT_BASE, dpi);
    return std::clamp(height, -limit, limit);
}
