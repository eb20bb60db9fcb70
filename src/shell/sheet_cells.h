// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"

#include <QList>
#include <QRect>
#include <QSize>

namespace shell {

// The cells a grid cuts a sheet into, between the lines the view draws for it.
class SheetCells {
public:
    SheetCells() = default;
    // No cells where the grid has a count never given (0) or the sheet no pixels.
    SheetCells(QSize sheet, const CellGrid& grid);

    bool isEmpty() const { return m_rowEdges.size() < 2; }
    int rowCount() const { return isEmpty() ? 0 : int(m_rowEdges.size()) - 1; }

    // The cells of row `index` (0-based), left to right; none outside the rows.
    QList<QRect> row(int index) const;

    // The row holding picture row `y`, or -1.
    int rowAt(int y) const;

private:
    QList<int> m_columnEdges; // 0, each line, the width
    QList<int> m_rowEdges;
};

} // namespace shell
