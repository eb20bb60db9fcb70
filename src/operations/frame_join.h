// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"
#include "image/colour.h"
#include "image/surface.h"

#include <QSize>
#include <QString>

namespace ops {

// Frames of one size laid out in order, row-major, in rows of `columns` cells.
struct FrameLayout {
    int frames = 0;
    int columns = 1;
    int rows = 0;
    QSize cell;

    // The cells of the last row that no frame fills.
    int emptyCells() const { return rows * columns - frames; }
};

// The layout of `frames` frames of `cell` size in rows of `columns`, or why there is
// none: no frame, a count that is not a whole number from 1 up, a frame without pixels,
// or a sheet larger than a surface holds.
Result<FrameLayout> frameLayout(int frames, double columns, QSize cell);

// Gives `sheet` the layout's size with every cell that no frame fills in `key`; the
// frames' cells are left for placeFrame to write. Throws image::SurfaceError as a
// resize does.
void startJoinedSheet(image::Surface& sheet, const FrameLayout& layout, image::Colour key);

// Copies `frame`, which has the layout's cell size, into cell `index` (row-major).
void placeFrame(image::Surface& sheet, const FrameLayout& layout, int index, const image::Surface& frame);

} // namespace ops
