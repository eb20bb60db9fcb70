// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

namespace batch {

// Where --split writes the cell at `row`, `column` (from 1) of a sheet cut into `rows` x
// `columns`: DIR/NAME_rRR_cCC.SUFFIX, NAME the input's file name without its last
// suffix, each number in two digits, or as many as its count has beyond 99.
QString cellFileName(const QString& dir, const QString& input, int row, int column, int rows, int columns,
                     const QString& suffix);

// Fails as checkNoOutputOverInput does on the first of those cell files, for every
// cell, that is one of `inputs`.
Result<void> checkNoCellOverInput(const QStringList& inputs, const QString& dir, const QString& input, int rows,
                                  int columns, const QString& suffix);

} // namespace batch
