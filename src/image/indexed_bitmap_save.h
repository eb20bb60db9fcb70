// SPDX-License-Identifier: MIT
#pragma once

#include "colour_table.h"
#include "surface.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>
#include <variant>

namespace image {

// Which table an 8-bit bitmap is written with: the sheet's own (index 0 the key), or a
// given palette, whose entry 0 is the key.
struct IndexedTableChoice {
    Colour key = rgb(0, 0, 0);
    std::optional<ColourTable> palette;
};

// How a save of an 8-bit bitmap ended: the reason where it failed (nothing was written
// then), else how many pixels took the nearest palette entry.
struct IndexedSave {
    std::optional<QString> error;
    qint64 moved = 0;
};

// Writes the surface as an 8-bit indexed BMP: 256 entries, uncompressed, bottom-up. An
// existing file is replaced only by a complete new one, flushed to the disk.
IndexedSave writeIndexedBitmap(const Surface& surface, const QString& path, const IndexedTableChoice& choice);

// The same file's bytes, for a stream that is not a file (standard output), with the
// count of moved pixels; or a user-facing reason.
std::variant<QByteArray, QString> encodeIndexedBitmap(const Surface& surface, const IndexedTableChoice& choice,
                                                      qint64* moved = nullptr);

} // namespace image
