// SPDX-License-Identifier: MIT
#include "colour_replace.h"

#include "colour_bits.h"
#include "image/row_loop.h"

namespace ops {

namespace {

// `to` may be `from`: the row is then replaced in place.
PIXMOLD_ROW_LOOP void replaceInRow(QRgb* to, const QRgb* from, int width, QRgb fromPixel, QRgb toPixel)
{
    // Branch-free, and in place as a loop of its own, so that the compiler vectorises both.
    if (to == from) {
        for (int x = 0; x < width; ++x)
            to[x] = (to[x] & kColourBits) == fromPixel ? toPixel : to[x];
        return;
    }
    for (int x = 0; x < width; ++x)
        to[x] = (from[x] & kColourBits) == fromPixel ? toPixel : from[x];
}

} // namespace

Outcome replaceColour(image::Surface& work, image::Colour from, image::Colour to, Progress& progress)
{
    // What a pixel can hold: kNoColour as the replacement writes white.
    to = image::Colour::fromPixel(to.pixel());
    if (from == to)
        return Outcome::unchanged();

    progress.reached(0);
    // A colour read outside every surface (image::kNoColour) equals no pixel.
    if (from != image::Colour::fromPixel(from.pixel())) {
        progress.reached(80);
        return Outcome::changed();
    }
    const QRgb fromPixel = from.pixel() & kColourBits;
    const QRgb toPixel = to.pixel();
    const int width = work.width();
    // An undo step may share the sheet: the new rows are then made from its old ones.
    const QImage shared = work.pixelsBeforeRewrite();
    for (int y = 0; y < work.height(); ++y) {
        QRgb* line = work.row(y);
        replaceInRow(line, shared.isNull() ? line : reinterpret_cast<const QRgb*>(shared.constScanLine(y)), width,
                     fromPixel, toPixel);
        progress.tick();
    }
    progress.reached(80);
    return Outcome::changed();
}

} // namespace ops
