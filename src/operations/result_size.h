// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

namespace ops {

// Whether a new sheet of `width` x `height` pixels, as computed before rounding, is
// made: a failure for a side that rounds to no pixels, or more pixels in all than a
// surface holds. A negative side passes: the surface refuses that size itself, on the
// operation's error path.
Result<void> checkResultSize(double width, double height);

} // namespace ops
