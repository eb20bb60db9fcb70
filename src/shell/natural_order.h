// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QStringView>

namespace shell {

// Orders texts as people read numbered names: a run of digits by its value (walk2 before
// walk10, walk02 beside walk2), everything else letter by letter regardless of case.
// Texts equal that way are ordered by their plain characters. Negative, 0 or positive,
// as a < b, a == b, a > b.
int naturalCompare(QStringView a, QStringView b);

// The files by their names (the last part of each path) in natural order.
void sortByNaturalName(QStringList& files);

} // namespace shell
