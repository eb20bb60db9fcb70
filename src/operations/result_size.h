// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace ops {

// Why a new sheet of `width` x `height` pixels, as computed before rounding, is not
// made: a side that rounds to no pixels, or more pixels in all than a surface holds.
// nullopt where it can be made, and where a side is negative: the surface refuses that
// size itself, on the operation's error path.
std::optional<QString> resultSizeProblem(double width, double height);

} // namespace ops
