// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QString>
#include <QStringList>

namespace batch {

// Compares each output with every input: by device and inode where the output exists,
// else by the cleaned absolute path with its symbolic links resolved. Returns what is wrong for the first output that
// is an input in a failure ("out.bmp would be written over the input in.bmp; ...").
Result<void> checkNoOutputOverInput(const QStringList& inputs, const QStringList& outputs);

// With --in-place a file named twice would be converted twice. Returns what is wrong
// for the first input that is, by device and inode, the same file as an earlier one in
// a failure ("l.png and w.png are the same file.").
Result<void> checkNoFileTwice(const QStringList& inputs);

} // namespace batch
