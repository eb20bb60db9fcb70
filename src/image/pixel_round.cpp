// SPDX-License-Identifier: MIT
#include "pixel_round.h"

#include <cmath>
#include <limits>

namespace image {

double roundHalfToEven(double value)
{
    if (!std::isfinite(value))
        return value;
    // Explicit half-to-even, independent of the floating-point rounding mode.
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        return floor + 1.0;
    return floor;
}

int roundToPixel(double value)
{
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0;
    if (value <= kLow)
        return std::numeric_limits<int>::min();
    if (value >= kHigh)
        return std::numeric_limits<int>::max();
    const double rounded = roundHalfToEven(value);
    return rounded >= kHigh ? std::numeric_limits<int>::max() : static_cast<int>(rounded);
}

} // namespace image
