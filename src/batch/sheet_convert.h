// SPDX-License-Identifier: MIT
#pragma once

#include "batch_job.h"
#include "base/result.h"
#include "operations/cell_grid.h"
#include "image/colour.h"
#include "image/picture_format.h"
#include "image/picture_read.h"
#include "image/surface.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace batch {

// Why a file was not converted: the file the reason is about (the input, or the output
// for a failed write) and the reason.
struct FileError {
    QString file;
    QString reason;
};

// What a reader noticed of a picture it read: its decoder's complaint, dropped
// transparency.
QStringList readWarnings(const image::PictureRead& read, const image::TransparencyKey& key);

// Reads `input` (kStandardStream: standard input) into `sheet`, the reason when it
// cannot be read; what the reader noticed goes to `warnings`.
Result<void> readSheet(const QString& input, const image::TransparencyKey& key, image::Surface& sheet,
                       QStringList& warnings);

// Writes `sheet` to `output` (kStandardStream: standard output) in `format`, whole or not
// at all; the reason on failure.
// Gives the pixels that took the nearest palette entry.
Result<qint64> writeOutput(const image::Surface& sheet, const QString& output, image::PictureFormat format,
                           const Job& job);

// Runs the job's steps in order on `sheet`, with the operations the window runs, and
// gives the grid they imply (0 on a side none implies); otherwise the refusal or error
// of the first step that stopped, after the step's option ("--negative 9: ..."). What
// the steps did before that stays done. Each step's warnings (its operation's, after
// its option) are added to `warnings`.
Result<ops::CellGrid> applySteps(image::Surface& sheet, const Job& job, QStringList& warnings);

// Reads `input` (kStandardStream: standard input), runs the steps and writes the result
// to `output` (kStandardStream: standard output) in the format its name says, else the
// job's format; with --gif, the row of the result's grid as an animated GIF. Nothing is
// written when the input cannot be read or a step stops; an existing output is only
// replaced by a complete new file. `warnings` receives what was probably not meant
// (the steps' warnings, keyed or dropped transparency, a picture read from a damaged
// file, pixels moved to the nearest palette entry). Safe to call on several threads at
// once.
Result<void, FileError> convertFile(const Job& job, const QString& input, const QString& output, QStringList& warnings);

// Reads `input` as convertFile does and gives the grid guessed on it, as gridText
// writes it ("4x8", "no guess"), or a failure saying why it could not be read. `warnings`
// receives the transparency keyed with `key` or dropped, and a damaged file's warning.
// Safe to call on several threads at once.
Result<QString> detectGrid(const QString& input, const image::TransparencyKey& key, QStringList& warnings);

} // namespace batch
