// SPDX-License-Identifier: MIT
#include "key_checkerboard.h"

#include "row_loop.h"
#include "zoomed_copy.h"

#include <algorithm>

namespace image {

namespace {

// `column` is the first pixel's column counted from the zoomed picture's left edge;
// `darkFirst` whether the row's squares start dark there.
PIXMOLD_ROW_LOOP void checkerRow(QRgb* line, int count, QRgb keyPixel, qint64 column, bool darkFirst)
{
    const QRgb light = kCheckerLight.pixel();
    const QRgb dark = kCheckerDark.pixel();
    const unsigned flip = darkFirst ? 1 : 0;
    for (int x = 0; x < count; ++x) {
        const unsigned square = unsigned((column + x) / kCheckerSquare) & 1;
        const QRgb checker = (square ^ flip) ? dark : light;
        line[x] = line[x] == keyPixel ? checker : line[x];
    }
}

} // namespace

void showKeyAsCheckerboard(Surface& dest, const Surface& src, int sx, int sy, int factor, Colour key)
{
    factor = std::max(factor, 1);
    const ZoomedArea area = zoomedArea(dest, src, sx, sy, factor);
    if (area.isEmpty())
        return;
    const QRgb keyPixel = key.pixel();
    // Where the view's first column and row lie in the zoomed picture.
    const qint64 left = qint64(sx) * factor;
    const qint64 top = qint64(sy) * factor;
    for (qint64 y = area.firstY; y < area.endY; ++y)
        checkerRow(dest.row(int(y)) + area.firstX, int(area.endX - area.firstX), keyPixel, left + area.firstX,
                   ((top + y) / kCheckerSquare) % 2 != 0);
}

} // namespace image
