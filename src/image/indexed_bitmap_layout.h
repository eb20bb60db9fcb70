// SPDX-License-Identifier: MIT
#pragma once

#include "bitmap_header.h"
#include "colour_table.h"

namespace image {

// The 8-bit indexed BMP that Pixmold writes, and whose table a palette may come from:
// the headers of bitmap_header.h, then the colour table (blue, green, red, 0 for each
// entry), then rows of one index a pixel, padded to a multiple of 4, bottom-up.

namespace bitmap_field {
inline constexpr int kColoursUsed = 46;      // quint32, entries in the table; 0 for all
inline constexpr int kImportantColours = 50; // quint32, 0 for all
} // namespace bitmap_field

inline constexpr int kIndexedBitsPerPixel = 8;
inline constexpr int kTableEntryBytes = 4;
inline constexpr int kIndexedDataOffset = kBitmapHeadersSize + kTableEntries * kTableEntryBytes;

constexpr qint64 indexedRowBytes(qint64 width)
{
    return (width + 3) & ~qint64(3);
}

} // namespace image
