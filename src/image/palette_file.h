// SPDX-License-Identifier: MIT
#pragma once

#include "colour_table.h"

#include "base/result.h"

#include <QByteArray>
#include <QString>

namespace image {

// Reads a palette, recognised by its content: a GIMP palette ("GIMP Palette"), a
// JASC-PAL, a Photoshop colour table (ACT, 768 bytes, or 772 whose last four are the
// count of colours and a transparent index, big-endian) or an 8-bit BMP's own table. At
// most 256 entries, a shorter table padded with black. A bad file gives a user-facing
// reason that names its line (or, in a binary file, its byte).
Result<ColourTable> readPalette(const QByteArray& bytes);

// The same from a file; the reason starts with the file's name.
Result<ColourTable> readPaletteFile(const QString& path);

} // namespace image
