// SPDX-License-Identifier: MIT
#pragma once

#include "colour.h"
#include "surface.h"
#include "base/result.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

namespace image {

inline constexpr int kMinFramesPerSecond = 1;
inline constexpr int kMaxFramesPerSecond = 60;

// One row of a sheet as an animation: its cells, left to right, each a frame.
struct AnimatedRow {
    QList<QRect> cells; // inside the sheet
    Colour key;         // the colour written as transparent
    int framesPerSecond = 10;
    bool pingPong = false; // play back down again (see playOrder)
};

// A frame's delay as a GIF stores it: 100 / fps hundredths of a second, halves to even.
int gifFrameDelay(int framesPerSecond);

// The row as a GIF89a that loops for ever: one global colour table (the key first, as
// the transparent index, then the row's colours as they first appear), each frame the
// cell at its own size, every frame replacing the last. A row of more than 256 colours,
// the key included, has no such file: the reason names the count.
Result<QByteArray> encodeAnimatedGif(const Surface& sheet, const AnimatedRow& row);

// Writes that file at `path`, made whole in memory first: an existing file is replaced
// only by a complete new one, and a failure leaves nothing new; it says why.
Result<void> writeAnimatedGif(const Surface& sheet, const AnimatedRow& row, const QString& path);

} // namespace image
