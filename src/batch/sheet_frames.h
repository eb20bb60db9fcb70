// SPDX-License-Identifier: MIT
#pragma once

#include "batch_job.h"
#include "sheet_convert.h"

#include <QStringList>
#include <optional>

namespace batch {

// --join: reads the job's inputs one at a time into one sheet of rows of job.join cells
// (every input of the first one's size, as their headers state it), runs the steps on
// it and writes it to job.output. The cells a short last row leaves take the key colour,
// with a warning. Nothing is written when an input cannot be read or a step stops.
Result<void, FileError> joinInputs(const Job& job, QStringList& warnings);

// --split: reads `input`, runs the steps and writes each cell of the result, cut by the
// job's grid (or the grid in force for auto), to job.outDir as NAME_rRR_cCC.EXT in the
// job's format; with job.skipExisting, cells that exist are left alone. A grid that does
// not divide the sheet, or a cell that would be written over an input, fails the file
// before any cell is written; a cell that cannot be written removes those written before
// it. Safe to call on several threads at once.
Result<void, FileError> splitFile(const Job& job, const QString& input, QStringList& warnings);

} // namespace batch
