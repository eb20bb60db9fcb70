// SPDX-License-Identifier: MIT
#include "keyed_transparency.h"

#include "row_loop.h"

namespace image {

namespace {

// Branch-free with counts of a row's width, so that the compiler vectorises it.
PIXMOLD_ROW_LOOP void keyPixels(QRgb* line, int width, QRgb keyPixel, quint32 threshold, quint32& keyed,
                                quint32& alreadyKey)
{
    quint32 keyedHere = 0;
    quint32 alreadyHere = 0;
    for (int x = 0; x < width; ++x) {
        const QRgb p = line[x];
        const quint32 under = (p >> 24) < threshold;
        const QRgb opaque = p | 0xFF000000u;
        keyedHere += under;
        alreadyHere += (under ^ 1u) & (opaque == keyPixel);
        line[x] = under ? keyPixel : opaque;
    }
    keyed = keyedHere;
    alreadyKey = alreadyHere;
}

} // namespace

void keyRow(QRgb* line, int width, const TransparencyKey& key, KeyedCounts& counts)
{
    quint32 keyed = 0;
    quint32 alreadyKey = 0;
    keyPixels(line, width, key.key.pixel(), quint32(key.threshold), keyed, alreadyKey);
    counts.keyed += keyed;
    counts.alreadyKey += alreadyKey;
}

} // namespace image
