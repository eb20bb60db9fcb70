// SPDX-License-Identifier: MIT
#include "uneven_count.h"

#include "settings/number_text.h"

#include <cmath>

namespace ops {

namespace {

// What is left of `pixels` after `count` equal parts of whole pixels: the rounding of
// each part's place and size then shows.
double leftOver(double pixels, double count)
{
    const double part = std::floor(pixels / count);
    const double rest = pixels - part * count;
    // Fractional counts leave rests such as 1e-13 that are no pixels at all.
    return rest < 1e-6 ? 0 : std::round(rest * 100) / 100;
}

} // namespace

std::optional<QString> unevenCountWarning(double count, const QString& parts, const QString& side, int pixels)
{
    const double rest = count > pixels ? 0 : leftOver(pixels, count);
    if (rest == 0)
        return std::nullopt;
    return QStringLiteral("%1 %2 do not divide the %3 of %4 pixels evenly (%5 %6 left over); "
                          "each %7 is placed and sized by rounding.")
        .arg(settings::shortestText(count), parts, side)
        .arg(pixels)
        .arg(settings::shortestText(rest), rest == 1 ? QStringLiteral("pixel is") : QStringLiteral("pixels are"))
        .arg(parts.chopped(1));
}

} // namespace ops
