// SPDX-License-Identifier: MIT
#pragma once

#include "count_answer.h"
#include "outcome.h"
#include "progress.h"
#include "image/surface.h"
#include "base/result.h"
#include "settings/sprite_size.h"

#include <QString>
#include <optional>

namespace ops {

// Whether a cell size can be converted to: a failure saying why not below 1 x 1.
Result<void> checkSpriteSize(settings::SpriteSize size);

// The conversion's black pass on its own: every pixel of exactly RGB(0, 0, 0) becomes
// RGB(20, 20, 20), in place. No milestones.
void replacePureBlack(image::Surface& sheet, Progress& progress);

// Rebuilds the sheet on the sprite cell grid: the sheet, as it is now, is cut into
// sprites.numeric rows and columns.numeric columns of equal real size; each cell is
// stretched (image::StretchBlt) onto a size.width x size.height cell of `scratch`, at
// the same row and column, then every pixel of exactly RGB(0, 0, 0) becomes
// RGB(20, 20, 20), and the result replaces `work`. Both scratch surfaces are cleared at
// the end; `scratch` keeps the result's size.
// Milestones: 0, 40 (the black pass follows), 70. Refuses a cell size below 1 x 1 and a
// new sheet without pixels or above the surface limit; fails (type mismatch) where a
// count has no strict reading, and where a size is negative.
Outcome convertToNpc(image::Surface& work, image::Surface& scratch, image::Surface& scratch2,
                     const CountAnswer& sprites, const CountAnswer& columns, settings::SpriteSize size,
                     Progress& progress);

} // namespace ops
