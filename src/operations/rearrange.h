// SPDX-License-Identifier: MIT
#pragma once

#include "outcome.h"
#include "progress.h"
#include "image/surface.h"

#include <QString>

namespace ops {

// The bands an answer puts in order: its pieces between commas that are not empty.
qsizetype rearrangedBandCount(const QString& answer);

// Puts the sheet's full-width bands into the order typed, e.g. "3,1,4,2". The answer
// is split at every comma; empty pieces are skipped, and the n others each take one
// band of the real height h = H / n: band i of the result (rows from round(i*h), round(h)
// high) is a copy of the band starting at row round(v*h - h), v being the entry's numeric
// reading. Rows that receive nothing are black. The answer must not be empty; one of
// commas only changes nothing. `scratch` is where the new sheet is built.
// Milestones: 0, 10, 80.
Outcome rearrangeRows(image::Surface& work, image::Surface& scratch, const QString& answer, Progress& progress);

} // namespace ops
