// SPDX-License-Identifier: MIT
#pragma once

#include "image/surface.h"

namespace ops {

// Gives `surface` the size asked, every pixel at its background: what clearing and
// then resizing it leaves, in one pass over the pixels. Throws image::SurfaceError
// (the surface unchanged) for a size it cannot take.
inline void makeBlank(image::Surface& surface, int width, int height)
{
    if (surface.width() == width && surface.height() == height)
        surface.clear();
    else
        surface = image::Surface(surface.background(), width, height);
}

// A pixel's colour bits, alpha aside.
inline constexpr QRgb kColourBits = 0x00FFFFFFu;

} // namespace ops
