// SPDX-License-Identifier: MIT
#pragma once

#include "progress.h"
#include "image/row_loop.h"
#include "image/surface.h"

namespace ops {

// Gives the surface the size asked with every pixel its background, a row at a time with
// a tick after each: fresh memory can take longer to fill than the window may go without
// a turn of its event loop.
inline void blankScratch(image::Surface& scratch, int width, int height, Progress& progress)
{
    scratch.resizeUnfilled(width, height);
    for (int y = 0; y < height && width > 0; ++y) {
        image::fillRow(scratch.row(y), width, scratch.backgroundPixel());
        progress.tick();
    }
}

// Readies a scratch surface for a pass that writes every pixel of it, width x height.
// One that changes size comes out blank, as a fresh picture box would, so that the
// rows a milestone shows before the pass reaches them hold the background; true then.
// One that keeps its size keeps its pixels until they are written over, except that
// where they are shared (the working image or an undo step holds them) it takes new
// memory rather than a copy of them. Throws image::SurfaceError as a resize does.
inline bool fitScratch(image::Surface& scratch, int width, int height, Progress& progress)
{
    if (scratch.width() != width || scratch.height() != height) {
        blankScratch(scratch, width, height, progress);
        return true;
    }
    scratch.resizeUnfilled(width, height);
    return false;
}

} // namespace ops
