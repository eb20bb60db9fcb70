// SPDX-License-Identifier: MIT
#pragma once

#include "colour.h"
#include "colour_index_map.h"
#include "small_colour_index.h"
#include "surface.h"

#include "base/result.h"

#include <QString>
#include <array>
#include <variant>

namespace image {

// The colour table of an 8-bit indexed picture: always 256 entries, the unused black.
inline constexpr int kTableEntries = 256;
using ColourTable = std::array<Colour, kTableEntries>;

// A sheet's colours given their indexes in a table, ready to write.
struct IndexedColours {
    ColourTable table{};
    // Every colour of the sheet (as an opaque pixel): its index. The sheet's own table
    // takes the faster index of a few colours; a palette, any number of them.
    std::variant<SmallColourIndex, ColourIndexMap> indexOf;
    qint64 moved = 0; // pixels whose colour the table lacks, given the nearest entry
};

// The sheet's own table: index 0 the key colour, then the sheet's other colours in the
// order they first appear (left to right, top to bottom), the rest black. An error
// naming the count where the sheet has more than 256 colours, the key counted.
Result<IndexedColours> sheetTable(const Surface& sheet, Colour key);

// The sheet against a given table, whose entry 0 is the key: a colour the table holds
// keeps its (lowest) index, any other takes the nearest entry (squared distance in RGB,
// ties to the lower index), never one of the key's colour. An error where the table
// has no colour but the key's and the sheet another.
Result<IndexedColours> mapOntoTable(const Surface& sheet, const ColourTable& table);

// The entry mapOntoTable gives `colour`, -1 where the table holds nothing but the key.
int nearestEntry(const ColourTable& table, Colour colour);

} // namespace image
