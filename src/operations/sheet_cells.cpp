// SPDX-License-Identifier: MIT
#include "sheet_cells.h"

#include <algorithm>

namespace ops {

namespace {

// 0, the first pixel of each cell after the first, the extent.
QList<int> edges(int extent, double count)
{
    QList<int> at{0};
    at += cellBoundaries(extent, count);
    at.append(extent);
    return at;
}

} // namespace

SheetCells::SheetCells(QSize sheet, const CellGrid& grid)
{
    if (!(grid.rows > 0) || !(grid.columns > 0) || sheet.isEmpty())
        return;
    m_columnEdges = edges(sheet.width(), grid.columns);
    m_rowEdges = edges(sheet.height(), grid.rows);
}

QList<QRect> SheetCells::row(int index) const
{
    QList<QRect> cells;
    if (index < 0 || index >= rowCount())
        return cells;
    const int top = m_rowEdges[index];
    const int height = m_rowEdges[index + 1] - top;
    for (qsizetype i = 0; i + 1 < m_columnEdges.size(); ++i)
        cells.append(QRect(m_columnEdges[i], top, m_columnEdges[i + 1] - m_columnEdges[i], height));
    return cells;
}

int SheetCells::rowAt(int y) const
{
    if (isEmpty() || y < 0 || y >= m_rowEdges.constLast())
        return -1;
    return int(std::upper_bound(m_rowEdges.cbegin(), m_rowEdges.cend(), y) - m_rowEdges.cbegin()) - 1;
}

} // namespace ops
