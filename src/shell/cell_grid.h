// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

namespace shell {

// The rows and columns of cells of a sheet, as the last operation on it implies or as
// guessed when it was loaded. 0 where never given; like 1, that draws no line.
struct CellGrid {
    double rows = 0;
    double columns = 0;
};

// Where the lines between `count` equal cells along `extent` picture pixels stand: the
// first pixel of each cell after the first, round(k * extent / count), inside the picture.
QList<int> cellBoundaries(int extent, double count);

} // namespace shell
