// SPDX-License-Identifier: MIT
#pragma once

#include "colour.h"
#include "surface.h"

#include <span>

// The four raster operations every picture operation is built from. All copy with
// SRCCOPY semantics, are clipped to both surfaces (destination pixels whose source
// lies outside the source keep their value) and accept any int, however far out.
namespace image {

// Replaces dest's w x h rectangle at (x, y) by src's rectangle at (sx, sy).
// dest and src may be the same surface.
void BitBlt(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy);

// Scales src's sw x sh rectangle at (sx, sy) onto dest's w x h rectangle at (x, y).
// Enlarging repeats pixels; shrinking merges the source pixels that land on one
// destination pixel by a bitwise AND of their colours. Source pixels outside src take
// no part; a destination pixel that receives none keeps its value. Non-positive sizes
// copy nothing. dest and src must be different surfaces.
void StretchBlt(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh);

// A StretchBlt of each cell of a row of equal cells in turn, cell i from
// (srcX[i], sy) to (destX[i], y), both spans of the same length. The same pixels, but
// the source is read row after row across the band rather than cell by cell, which
// keeps memory streaming.
void stretchCellRow(Surface& dest, std::span<const int> destX, int y, int w, int h, const Surface& src,
                    std::span<const int> srcX, int sy, int sw, int sh);

// kNoColour outside the surface.
Colour GetPixel(const Surface& surface, int x, int y);

// No effect outside the surface.
void SetPixel(Surface& surface, int x, int y, Colour colour);

} // namespace image
