// SPDX-License-Identifier: MIT
#pragma once

#include "batch_job.h"
#include "sheet_convert.h"

#include <functional>
#include <optional>
#include <vector>

namespace batch {

struct FileResult {
    int index = 0; // the input's place on the command line, from 0
    QString input;
    QString output;
    QStringList warnings;
    QString grid; // --detect: the guessed grid, "4x8" or "no guess"
    // Fails with the file and the reason; ok where written, skipped by --skip-existing
    // or its grid guessed.
    Result<void, FileError> status;
};

// Converts every input of the job (or, with --detect, guesses its grid; with --join, makes
// the one sheet of them all, one result; with --split, writes each result's cells), up to
// `threads` files at a time (at least one). A failed file does not stop the others. `finished` is called after each
// file, never two calls at once, with the number of files done so far; files finish in any order. The results are in
// the order of the inputs.
std::vector<FileResult> runBatch(const Job& job, int threads,
                                 const std::function<void(const FileResult&, int done)>& finished = {});

} // namespace batch
