// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QString>
#include <QtGlobal>

namespace settings {

// The size every cell gets from the NPC-compatible conversion, in pixels.
struct SpriteSize {
    double width = 24; // always a whole number
    qint16 height = 48;
};

// Reads the Options panel's two texts as "Done" does: blanks around each text removed,
// the numeric reading, then the floor. Gives the new size, or a failure with a user-facing reason
// where a value cannot be stored (a height outside -32768..32767, a width that is not
// a finite double).
Result<SpriteSize> readSpriteSize(const QString& widthText, const QString& heightText);

} // namespace settings
