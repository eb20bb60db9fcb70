// SPDX-License-Identifier: MIT
#pragma once

#include "image/surface.h"

namespace ops {

// Readies a scratch surface for a pass that writes every pixel of it, width x height.
// One that changes size comes out blank, as a fresh picture box would, so that the
// rows a milestone shows before the pass reaches them hold the background; true then.
// One that keeps its size keeps its pixels until they are written over, except that
// where they are shared (the working image or an undo step holds them) it takes new
// memory rather than a copy of them. Throws image::SurfaceError as a resize does.
inline bool fitScratch(image::Surface& scratch, int width, int height)
{
    if (scratch.width() != width || scratch.height() != height) {
        scratch.makeBlank(width, height);
        return true;
    }
    scratch.prepareOverwrite(width, height);
    return false;
}

} // namespace ops
