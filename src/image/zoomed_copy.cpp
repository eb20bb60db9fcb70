// SPDX-License-Identifier: MIT
#include "zoomed_copy.h"

#include "raster.h"
#include "row_loop.h"

#include <algorithm>
#include <cstring>

namespace image {

namespace {

// Each of `count` source pixels, `factor` times.
PIXMOLD_ROW_LOOP void widenRow(QRgb* out, const QRgb* in, int count, int factor)
{
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < factor; ++k)
            *out++ = in[i];
}

} // namespace

ZoomedArea zoomedArea(const Surface& dest, const Surface& src, int sx, int sy, int factor)
{
    // Whole squares where they start inside dest.
    factor = std::max(factor, 1);
    return {std::max<qint64>(0, -qint64(sx)) * factor,
            std::min<qint64>(dest.width(), (qint64(src.width()) - sx) * factor),
            std::max<qint64>(0, -qint64(sy)) * factor,
            std::min<qint64>(dest.height(), (qint64(src.height()) - sy) * factor)};
}

void zoomedCopy(Surface& dest, const Surface& src, int sx, int sy, int factor)
{
    if (factor <= 1) {
        BitBlt(dest, 0, 0, dest.width(), dest.height(), src, sx, sy);
        return;
    }
    const ZoomedArea area = zoomedArea(dest, src, sx, sy, factor);
    if (area.isEmpty())
        return;
    const auto [firstX, endX, firstY, endY] = area;

    const int columns = int(endX - firstX);
    const int sourceX = int(sx + firstX / factor);
    const int whole = columns / factor;
    for (qint64 y = firstY; y < endY; ++y) {
        QRgb* out = dest.row(int(y)) + firstX;
        // The rows of one square are the same: the first is widened, the others copied.
        if (y > firstY && y % factor != 0) {
            std::memcpy(out, dest.row(int(y - 1)) + firstX, size_t(columns) * sizeof(QRgb));
            continue;
        }
        const QRgb* in = src.row(int(sy + y / factor)) + sourceX;
        widenRow(out, in, whole, factor);
        // A square cut by dest's right edge.
        if (const int rest = columns - whole * factor; rest > 0)
            std::fill_n(out + qint64(whole) * factor, rest, in[whole]);
    }
}

} // namespace image
