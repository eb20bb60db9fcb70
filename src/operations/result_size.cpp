// SPDX-License-Identifier: MIT
#include "result_size.h"

#include "image/pixel_round.h"
#include "image/surface.h"

#include <cmath>

namespace ops {

namespace {

// Whole numbers as typed; beyond any sheet, a short exponent form.
QString sideText(double side)
{
    if (std::isinf(side))
        return QStringLiteral("\u221E");
    if (std::isnan(side))
        return QStringLiteral("?");
    return side < 1e15 ? QString::number(side, 'f', 0) : QString::number(side, 'g', 3);
}

} // namespace

Result<void> checkResultSize(double width, double height)
{
    // Compared as doubles: counts can be far beyond any integer type.
    const double w = image::roundHalfToEven(width);
    const double h = image::roundHalfToEven(height);
    if (w < 0 || h < 0)
        return {};
    if (w >= 1 && h >= 1 && w * h <= double(image::Surface::kMaxPixels))
        return {};
    return Failure{QStringLiteral("The new sheet would be %1 x %2 pixels. A sheet must be at least 1 x 1 pixels "
                                  "and at most %3 pixels in all; check the counts and the sprite size.")
                       .arg(sideText(w), sideText(h), QString::number(image::Surface::kMaxPixels))};
}

} // namespace ops
