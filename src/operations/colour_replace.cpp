// SPDX-License-Identifier: MIT
#include "colour_replace.h"

#include "blank_surface.h"

namespace ops {

Outcome replaceColour(image::Surface& work, image::Colour from, image::Colour to, Progress& progress)
{
    to &= kColourBits;
    if (from == to)
        return Outcome::unchanged();

    progress.reached(0);
    // A colour read outside every surface (image::kNoColour) equals no pixel.
    if (from > kColourBits) {
        progress.reached(80);
        return Outcome::changed();
    }
    const QRgb fromPixel = image::toPixel(from) & kColourBits;
    const QRgb toPixel = image::toPixel(to);
    const int width = work.width();
    for (int y = 0; y < work.height(); ++y) {
        QRgb* line = work.row(y);
        // Branch-free so the compiler can vectorise the row.
        for (int x = 0; x < width; ++x)
            line[x] = (line[x] & kColourBits) == fromPixel ? toPixel : line[x];
        progress.tick();
    }
    progress.reached(80);
    return Outcome::changed();
}

} // namespace ops
