// SPDX-License-Identifier: MIT
#pragma once

#include "count_answer.h"
#include "base/result.h"

#include <QString>
#include <optional>

namespace ops {

// A count given on the command line; nullopt for `auto`, which takes the count from
// the sheet's guessed grid when the step runs.
using Count = std::optional<CountAnswer>;

// `auto`, in any case, blanks around it aside.
bool isAutoText(const QString& text);

// A count typed on the command line (sprites, animation columns), read strictly: the
// whole text, blanks around it aside, must be one number; fractions are allowed and
// 0 counts as 1, as in the window. Both readings of the result are that number. `auto`
// in any case stands for the guessed count. Otherwise why not, to follow the count's
// name: "is not a number", "is negative".
Result<Count> readCountText(const QString& text);

// The count `text` of the option --`option` given `value`, named `what` in the reason:
// "--npc 4x,8: The sprite count '4x' is not a number."
Result<Count> readOptionCount(const QString& option, const QString& value, const QString& text, const QString& what);

} // namespace ops
