// SPDX-License-Identifier: MIT
#pragma once

#include "batch_job.h"

#include <QStringList>

namespace batch {

// What the step will probably do that was not meant, on a sheet of width x height
// pixels: a count that does not divide the sheet evenly (which count, by how many
// pixels), a --rearrange entry naming a row the sheet does not have. Each text starts
// with the step's option. Empty where there is nothing to say. `auto` counts must be
// guessed first (withGuessedCounts).
QStringList stepWarnings(const Step& step, int width, int height);

} // namespace batch
