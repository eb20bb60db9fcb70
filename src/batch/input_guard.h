// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace batch {

// The cleaned absolute path with the symbolic links of its existing folders resolved:
// the same for every path that reaches a file not made yet.
QString resolvedPath(const QString& path);

// Compares each output with every input: by device and inode where the output exists,
// else by resolvedPath. Returns what is wrong for the first output that is an input
// ("out.bmp would be written over the input in.bmp; ..."), or an empty text.
QString outputOverInput(const QStringList& inputs, const QStringList& outputs);

} // namespace batch
