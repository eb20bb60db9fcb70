// SPDX-License-Identifier: MIT
#pragma once

#include "surface.h"

namespace image {

// Fills dest with src seen from its pixel (sx, sy) at `factor` (1 or more): every source
// pixel becomes a sharp factor x factor square, dest's pixel (x, y) showing src's
// (sx + x / factor, sy + y / factor). Where that lies outside src, dest keeps its value,
// as a BitBlt leaves it; at factor 1 it is the BitBlt of the whole of dest. dest and src
// must be different surfaces.
void zoomedCopy(Surface& dest, const Surface& src, int sx, int sy, int factor);

// The destination pixels of that copy whose source lies inside src: columns
// [firstX, endX) and rows [firstY, endY), empty where first >= end. 64-bit, since a
// scroll offset may be far outside.
struct ZoomedArea {
    qint64 firstX = 0;
    qint64 endX = 0;
    qint64 firstY = 0;
    qint64 endY = 0;

    bool isEmpty() const { return firstX >= endX || firstY >= endY; }
};
ZoomedArea zoomedArea(const Surface& dest, const Surface& src, int sx, int sy, int factor);

} // namespace image
