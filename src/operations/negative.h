// SPDX-License-Identifier: MIT
#pragma once

#include "count_answer.h"
#include "outcome.h"
#include "progress.h"
#include "image/surface.h"

namespace ops {

// Cuts the sheet into `columns` vertical strips of the real width W / n and follows
// each strip by its negative (white where the strip is exactly black, black elsewhere);
// the result, twice as wide, replaces `work`. Strip k is read from round(k*w) with width
// round(w); block k (strip and negative) is placed at round(k*2w) with width round(2w).
// `scratch` and `scratch2` keep the last strip and the assembled result.
// Milestones: 0, 20, 50 (while the middle strip is made, for an odd count), 70.
// Refuses a count below 1 or above the sheet's width in pixels, and a result above the
// surface limit; fails (type mismatch) where the count has no strict reading.
Outcome makeNegative(image::Surface& work, image::Surface& scratch, image::Surface& scratch2,
                     const CountAnswer& columns, Progress& progress);

} // namespace ops
