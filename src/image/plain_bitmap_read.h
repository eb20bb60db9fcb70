// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>
#include <QImage>
#include <optional>

namespace image {

// A plain BMP, as Pixmold and most programs write one: the 40-byte Windows info header,
// 24 bits a pixel, no compression, every row present. Such a file is read here in large
// blocks straight into a surface's memory; Qt's reader converts a pixel at a time and
// reads a row a call. Reads from the start of a source open for reading that can seek.
// An RGB32 picture, or nullopt for any other file or where this one cannot be read, so
// that Qt's reader takes it and says what is wrong.
std::optional<QImage> readPlainBitmap(QIODevice& source);

} // namespace image
