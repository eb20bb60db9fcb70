// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ops {

// A --rearrange answer checked before any sheet is read: every entry between commas
// must be a whole number (blanks around it allowed); empty entries are skipped, as the
// window skips them, but at least one must remain. The reason, or nullopt.
std::optional<QString> rowOrderProblem(const QString& order);

// The entries of a checked answer that name no row: outside 1 to n, n being the number
// of entries. The window gives them black bands.
QStringList rowsOutside(const QString& order);

} // namespace ops
