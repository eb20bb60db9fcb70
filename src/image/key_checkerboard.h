// SPDX-License-Identifier: MIT
#pragma once

#include "surface.h"

namespace image {

// The two greys of the checkerboard and the side of its squares, in screen pixels.
inline constexpr Colour kCheckerLight = rgb(238, 238, 238);
inline constexpr Colour kCheckerDark = rgb(204, 204, 204);
inline constexpr int kCheckerSquare = 8;

// Over a view made by zoomedCopy(dest, src, sx, sy, factor): every pixel showing a
// source pixel of the key colour becomes part of a light-grey checkerboard, as editors
// show transparency. The squares keep their size at every factor and move with the
// picture (the light one at the picture's top-left corner); nothing else changes.
void showKeyAsCheckerboard(Surface& dest, const Surface& src, int sx, int sy, int factor, Colour key);

} // namespace image
