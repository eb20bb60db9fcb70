// SPDX-License-Identifier: MIT
#pragma once

#include "image/surface.h"

#include <optional>

namespace ops {

// The grid a sheet seems to be drawn on: sprite rows and animation columns.
struct GridGuess {
    int rows = 1;
    int columns = 1;

    bool operator==(const GridGuess&) const = default;
};

// Guesses the grid of a sheet whose equal cells stand on one background colour, the
// colour that at least three of its four corner pixels share. The cells divide the
// sheet, up to a few spare background lines at its right and bottom edges; cells may be
// empty, and a sprite may touch its cell's edge in places. No guess where the sheet has
// no such background, or where the sheet fits more than one grid equally well: a grid
// fits where no sprite crosses a cell's edge and no cell holds two sprites side by side
// or one above the other. Reads every pixel once; never throws.
std::optional<GridGuess> guessGrid(const image::Surface& sheet);

} // namespace ops
