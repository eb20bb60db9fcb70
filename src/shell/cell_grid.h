// SPDX-License-Identifier: MIT
#pragma once

#include "operations/cell_grid.h"

#include <QList>
#include <QString>

namespace shell {

// The rows and columns of cells of a sheet, as the last operation on it implies or as
// guessed when it was loaded. 0 where never given; like 1, that draws no line.
struct CellGrid : ops::CellGrid {
    bool guessed = false; // the guess made at the load, not an operation's answer
};

// How the View menu names the grid: "Cells: 4 rows \u00D7 16 columns", "(guessed)" after
// it where it is the guess, "Cells: no guess" where there is none.
QString cellsCaption(const CellGrid& grid);

} // namespace shell
