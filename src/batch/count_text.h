// SPDX-License-Identifier: MIT
#pragma once

#include "operations/count_answer.h"

#include <QString>
#include <variant>

namespace batch {

// A count typed on the command line (sprites, animation columns), read strictly: the
// whole text, blanks around it aside, must be one number; fractions are allowed and
// 0 counts as 1, as in the window. Both readings of the result are that number.
// Otherwise why not, to follow the count's name: "is not a number", "is negative".
std::variant<ops::CountAnswer, QString> readCountText(const QString& text);

} // namespace batch
