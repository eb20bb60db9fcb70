// SPDX-License-Identifier: MIT
#include "sheet_split.h"

#include <cstring>

namespace ops {

Result<void> checkSplit(const image::Surface& sheet, int rows, int columns)
{
    if (rows < 1 || columns < 1 || sheet.height() % rows != 0 || sheet.width() % columns != 0 || sheet.height() < rows
        || sheet.width() < columns)
        return Failure{QStringLiteral("%1 rows of %2 columns do not divide the %3 x %4 pixel sheet into equal cells.")
                           .arg(rows)
                           .arg(columns)
                           .arg(sheet.width())
                           .arg(sheet.height())};
    return {};
}

void copyCell(const image::Surface& sheet, int rows, int columns, int row, int column, image::Surface& cell)
{
    const int width = sheet.width() / columns;
    const int height = sheet.height() / rows;
    cell.resizeUnfilled(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(cell.row(y), sheet.row(row * height + y) + column * width, size_t(width) * sizeof(QRgb));
}

} // namespace ops
