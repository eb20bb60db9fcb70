// SPDX-License-Identifier: MIT
#pragma once

#include "outcome.h"
#include "progress.h"
#include "image/colour.h"
#include "image/surface.h"

#include <span>

namespace ops {

// The cells a sheet is cut into: the first column (row) of each cell after the first.
// Edges outside the sheet, or not after the one before, are left out; none at all make
// the whole sheet one cell.
struct CellEdges {
    std::span<const int> columns;
    std::span<const int> rows;
};

// Replaces the sheet's background (cornerBackground) by `key` wherever it is connected,
// through the four neighbours, to the border of its cell; pixels of that colour enclosed
// inside a sprite keep it. With a tolerance (0 to 255), every pixel within it of the
// background on each channel counts as background. Refuses a tolerance outside 0 to
// 255 and a sheet without a background; nothing is done (Unchanged) where the background
// is the key and the tolerance 0. Milestones: 0, 80.
Outcome keyOutBackground(image::Surface& work, image::Colour key, int tolerance, CellEdges cells, Progress& progress);

} // namespace ops
