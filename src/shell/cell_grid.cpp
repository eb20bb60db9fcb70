// SPDX-License-Identifier: MIT
#include "cell_grid.h"

#include "settings/number_text.h"

namespace shell {

QString cellsCaption(const CellGrid& grid)
{
    if (grid.rows == 0 && grid.columns == 0)
        return QStringLiteral("Cells: no guess");
    // A count never given is the whole extent: one cell.
    const auto count = [](double n, const char* one, const char* many) {
        const double shown = n == 0 ? 1 : n;
        return QStringLiteral("%1 %2").arg(settings::shortestText(shown), QLatin1String(shown == 1 ? one : many));
    };
    QString caption = QStringLiteral("Cells: %1 \u00D7 %2")
                          .arg(count(grid.rows, "row", "rows"), count(grid.columns, "column", "columns"));
    if (grid.guessed)
        caption += QStringLiteral(" (guessed)");
    return caption;
}

} // namespace shell
