// SPDX-License-Identifier: MIT
#pragma once

#include "outcome.h"
#include "progress.h"
#include "image/colour.h"
#include "image/surface.h"

namespace ops {

// Replaces every pixel of exactly `from` (all 24 bits) by `to`. Where the two are
// equal nothing is done (Unchanged, no milestone). `from` may be image::kNoColour,
// which matches no pixel. Milestones: 0, 80.
Outcome replaceColour(image::Surface& work, image::Colour from, image::Colour to, Progress& progress);

} // namespace ops
