// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

namespace ops {

// The rows and columns of cells of a sheet, as an operation's result implies them. A
// side may be fractional, as the counts typed are; 0 where nothing says it.
struct CellGrid {
    double rows = 0;
    double columns = 0;

    bool operator==(const CellGrid&) const = default;
};

// Where the lines between `count` equal cells along `extent` picture pixels stand: the
// first pixel of each cell after the first, round(k * extent / count), inside the picture.
QList<int> cellBoundaries(int extent, double count);

} // namespace ops
