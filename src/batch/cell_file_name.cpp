// SPDX-License-Identifier: MIT
#include "cell_file_name.h"

#include "input_guard.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace batch {

namespace {

// Numbers of one width sort in their order as names too.
QString padded(int number, int count)
{
    const int digits = std::max(2, int(QString::number(count).size()));
    return QStringLiteral("%1").arg(number, digits, 10, QLatin1Char('0'));
}

} // namespace

QString cellFileName(const QString& dir, const QString& input, int row, int column, int rows, int columns,
                     const QString& suffix)
{
    return QDir(dir).filePath(
        QStringLiteral("%1_r%2_c%3.%4")
            .arg(QFileInfo(input).completeBaseName(), padded(row, rows), padded(column, columns), suffix));
}

Result<void> checkNoCellOverInput(const QStringList& inputs, const QString& dir, const QString& input, int rows,
                                  int columns, const QString& suffix)
{
    // A few thousand names at a time: a fine grid has as many cells as pixels.
    constexpr qsizetype kBatch = 4096;
    QStringList names;
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            names.append(cellFileName(dir, input, row, column, rows, columns, suffix));
            const bool last = row == rows && column == columns;
            if (names.size() < kBatch && !last)
                continue;
            if (const auto apart = checkNoOutputOverInput(inputs, names); !apart)
                return apart;
            names.clear();
        }
    }
    return {};
}

} // namespace batch
