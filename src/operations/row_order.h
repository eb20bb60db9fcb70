// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

namespace ops {

// A --rearrange answer checked before any sheet is read: every entry between commas
// must be a whole number (blanks around it allowed); empty entries are skipped, as the
// window skips them, but at least one must remain. A failure says why not.
Result<void> checkRowOrder(const QString& order);

// The entries of a checked answer that name no row: outside 1 to n, n being the number
// of entries. The window gives them black bands.
QStringList rowsOutside(const QString& order);

} // namespace ops
