// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace batch {

// Compares each output with every input: by device and inode where the output exists,
// else by the cleaned absolute path with its symbolic links resolved. Returns what is wrong for the first output that
// is an input
// ("out.bmp would be written over the input in.bmp; ..."), or an empty text.
QString outputOverInput(const QStringList& inputs, const QStringList& outputs);

// With --in-place a file named twice would be converted twice. Returns what is wrong
// for the first input that is, by device and inode, the same file as an earlier one
// ("l.png and w.png are the same file."), or an empty text.
QString sameFileTwice(const QStringList& inputs);

} // namespace batch
