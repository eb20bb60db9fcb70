// SPDX-License-Identifier: MIT
#pragma once

#include "colour.h"

#include <QRgb>
#include <QtGlobal>

namespace image {

// How a picture with transparency becomes opaque: pixels less opaque than `threshold`
// (alpha below it) take the key colour, the colour an engine draws as transparent.
struct TransparencyKey {
    Colour key = rgb(0, 0, 0);
    int threshold = 128; // 1 to 255
};

// What keying found.
struct KeyedCounts {
    qint64 keyed = 0; // pixels that took the key
    // Pixels opaque enough to keep their colour that already were the key's: the
    // engine will show them as transparent too.
    qint64 alreadyKey = 0;

    KeyedCounts& operator+=(const KeyedCounts& other)
    {
        keyed += other.keyed;
        alreadyKey += other.alreadyKey;
        return *this;
    }
};

// Makes a row of non-premultiplied ARGB32 pixels opaque in place, as `key` says, and
// adds what it did to `counts`. Runs at memory speed, to sit in a loader's pass.
void keyRow(QRgb* line, int width, const TransparencyKey& key, KeyedCounts& counts);

} // namespace image
