// SPDX-License-Identifier: MIT
#include "mirror.h"

#include "image/row_loop.h"
#include "settings/number_text.h"

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace ops {

namespace {

// Each cell of `cell` pixels of the row `from`, reversed, into `to`.
PIXMOLD_ROW_LOOP void mirrorRow(QRgb* __restrict to, const QRgb* __restrict from, int width, int cell)
{
    for (int start = 0; start < width; start += cell) {
        QRgb* out = to + start;
        const QRgb* in = from + start + cell - 1;
        for (int x = 0; x < cell; ++x)
            out[x] = in[-x];
    }
}

} // namespace

Outcome mirrorSprites(image::Surface& work, const CountAnswer& columns, Progress& progress)
{
    const int width = work.width();
    const double n = columns.numeric;
    // A fractional cell would mirror pixels across its neighbour's edge.
    if (!(n >= 1 && n <= width && std::floor(n) == n && width % int(n) == 0))
        return Outcome::refused(
            QStringLiteral("The number of animation columns must be a whole number that divides the sheet's "
                           "width of %1 pixels.")
                .arg(width));
    if (!columns.strict)
        return Outcome::failed(settings::typeMismatchText());

    progress.reached(0);
    const int cell = width / int(n);
    try {
        // An undo step may share the sheet: the new rows are then made from its old ones.
        // Otherwise each row is copied aside first, where it stays in the cache: a plain
        // reversed copy runs faster than swapping in place.
        const QImage shared = work.pixelsBeforeRewrite();
        std::vector<QRgb> aside(shared.isNull() ? size_t(width) : 0);
        for (int y = 0; y < work.height(); ++y) {
            QRgb* line = work.row(y);
            if (shared.isNull())
                std::memcpy(aside.data(), line, size_t(width) * sizeof(QRgb));
            const QRgb* from = shared.isNull() ? aside.data() : reinterpret_cast<const QRgb*>(shared.constScanLine(y));
            mirrorRow(line, from, width, cell);
            progress.tick();
        }
    } catch (const image::SurfaceError& error) {
        return Outcome::failed(QString::fromStdString(error.what()));
    } catch (const std::bad_alloc&) {
        return Outcome::failed(QStringLiteral("Not enough memory to mirror the sprites."));
    }
    progress.reached(80);
    return Outcome::changed();
}

} // namespace ops
