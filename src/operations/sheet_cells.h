// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"

#include <QList>
#include <QRect>
#include <QSize>

namespace ops {

// The cells a grid cuts a sheet into: the first pixel of each cell after the first
// stands at round(k * extent / count), as the view draws the grid's lines.
class SheetCells {
public:
    SheetCells() = default;
    // No cells where the grid has a side never given (0) or the sheet no pixels.
    SheetCells(QSize sheet, const CellGrid& grid);

    bool isEmpty() const { return m_rowEdges.size() < 2; }
    int rowCount() const { return isEmpty() ? 0 : int(m_rowEdges.size()) - 1; }

    // The cells of row `index` (0-based), left to right; none outside the rows.
    QList<QRect> row(int index) const;

    // The row holding picture row `y`, or -1.
    int rowAt(int y) const;

private:
    QList<int> m_columnEdges; // 0, the first pixel of each later cell, the width
    QList<int> m_rowEdges;
};

} // namespace ops
