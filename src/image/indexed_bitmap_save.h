// SPDX-License-Identifier: MIT
#pragma once

#include "colour_table.h"
#include "surface.h"

#include "base/result.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace image {

// Which table an 8-bit bitmap is written with: the sheet's own (index 0 the key), or a
// given palette, whose entry 0 is the key.
struct IndexedTableChoice {
    Colour key = rgb(0, 0, 0);
    std::optional<ColourTable> palette;
};

// Writes the surface as an 8-bit indexed BMP: 256 entries, uncompressed, bottom-up. An
// existing file is replaced only by a complete new one, flushed to the disk. How many
// pixels took the nearest palette entry, or a user-facing reason (nothing written).
Result<qint64> writeIndexedBitmap(const Surface& surface, const QString& path, const IndexedTableChoice& choice);

// The same file's bytes, for a stream that is not a file (standard output).
struct IndexedBytes {
    QByteArray bytes;
    qint64 moved = 0;
};
Result<IndexedBytes> encodeIndexedBitmap(const Surface& surface, const IndexedTableChoice& choice);

} // namespace image
