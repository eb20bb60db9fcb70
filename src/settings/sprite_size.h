// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>
#include <variant>

namespace settings {

// The size every cell gets from the NPC-compatible conversion, in pixels.
struct SpriteSize {
    double width = 24; // always a whole number
    qint16 height = 48;
};

// Reads the Options panel's two texts as "Done" does: blanks around each text removed,
// the numeric reading, then the floor. Gives the new size, or a user-facing reason
// where a value cannot be stored (a height outside -32768..32767, a width that is not
// a finite double).
std::variant<SpriteSize, QString> readSpriteSize(const QString& widthText, const QString& heightText);

} // namespace settings
