// SPDX-License-Identifier: MIT
#include "corner_background.h"

#include "colour_bits.h"

#include <algorithm>
#include <iterator>

namespace ops {

std::optional<QRgb> cornerBackground(const image::Surface& sheet)
{
    const int width = sheet.width();
    const int height = sheet.height();
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const QRgb corners[] = {sheet.row(0)[0] & kColourBits, sheet.row(0)[width - 1] & kColourBits,
                            sheet.row(height - 1)[0] & kColourBits, sheet.row(height - 1)[width - 1] & kColourBits};
    // Three of four share a colour only if it is the first's or the second's.
    const QRgb background
        = std::count(std::begin(corners), std::end(corners), corners[0]) >= 3 ? corners[0] : corners[1];
    if (std::count(std::begin(corners), std::end(corners), background) < 3)
        return std::nullopt;
    return background;
}

} // namespace ops
