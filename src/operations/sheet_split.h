// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"
#include "image/surface.h"

namespace ops {

// Whether the sheet can be cut into a grid of `rows` x `columns` equal cells: not with a
// count below 1, or one that does not divide the sheet's height or width.
Result<void> checkSplit(const image::Surface& sheet, int rows, int columns);

// The cell at `row`, `column` (from 0) of that grid, copied into `cell`, which takes its
// size. Throws image::SurfaceError as a resize does.
void copyCell(const image::Surface& sheet, int rows, int columns, int row, int column, image::Surface& cell);

} // namespace ops
