// SPDX-License-Identifier: MIT
#pragma once

#include "count_answer.h"
#include "outcome.h"
#include "progress.h"
#include "image/surface.h"

namespace ops {

// Mirrors each of the sheet's `columns` cells left to right in place: the sheet keeps its
// size, and every cell its place. Refuses, before anything changes, a count that is not a
// whole number dividing the sheet's width; fails (type mismatch) where the count has no
// strict reading, also before anything changes. Milestones: 0, 80.
Outcome mirrorSprites(image::Surface& work, const CountAnswer& columns, Progress& progress);

} // namespace ops
