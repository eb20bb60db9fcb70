// SPDX-License-Identifier: MIT
#pragma once

#include "batch_job.h"
#include "image/surface.h"
#include "operations/cell_grid.h"
#include "operations/grid_guess.h"

#include <QString>
#include <optional>

namespace batch {

// The grid as --detect prints it: "4x8" (rows x columns), or "no guess".
QString gridText(const std::optional<ops::GridGuess>& guess);

// The step with each `auto` count replaced by the count of the grid guessed on `sheet`;
// the step itself, unguessed, where it has none. Where `sheet` has no guess, a failure
// that names the count to give instead.
Result<Step> withGuessedCounts(const Step& step, const image::Surface& sheet);

// The grid in force for a step that needs one, side by side: the side the steps before
// imply (`implied`, 0 where none does), else the side --grid states, else the side of
// the grid guessed on `sheet`, else the whole sheet as one cell.
ops::CellGrid gridInForce(const ops::CellGrid& implied, const std::optional<ops::CellGrid>& stated,
                          const image::Surface& sheet);

// The same grid without the last resort: a side nothing gives stays 0.
ops::CellGrid givenGrid(const ops::CellGrid& implied, const std::optional<ops::CellGrid>& stated,
                        const image::Surface& sheet);

} // namespace batch
