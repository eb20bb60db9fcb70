// SPDX-License-Identifier: MIT
#pragma once

#include "image/surface.h"

namespace ops {

// Gives `surface` the size asked. True where that took new pixels, all at the
// background; false where it had that size already and keeps its pixels. Throws
// image::SurfaceError (the surface unchanged) for a size it cannot take.
inline bool fitSurface(image::Surface& surface, int width, int height)
{
    if (surface.width() == width && surface.height() == height)
        return false;
    surface = image::Surface(surface.background(), width, height);
    return true;
}

// What clearing and then resizing leaves, in one pass over the pixels.
inline void makeBlank(image::Surface& surface, int width, int height)
{
    if (!fitSurface(surface, width, height))
        surface.clear();
}

// A pixel's colour bits, alpha aside.
inline constexpr QRgb kColourBits = 0x00FFFFFFu;

} // namespace ops
