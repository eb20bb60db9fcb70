// SPDX-License-Identifier: MIT
#pragma once

#include "surface.h"

#include <QIODevice>
#include <QImage>
#include <QString>
#include <optional>

namespace image {

// A picture read from a file, or why it could not be read.
struct PictureRead {
    QImage picture; // RGB32, alpha dropped; null when error is set
    QString error;  // a clear, user-facing reason; empty on success
    // Some pixel of the file was not fully opaque, so the picture shows it otherwise.
    bool droppedTransparency = false;
};

// Reads any picture Qt's reader knows (BMP above all), up to Surface::kMaxPixels.
PictureRead readPicture(const QString& path);

// The same from a source open for reading that can seek (a file, a buffer), read from
// its start.
PictureRead readPicture(QIODevice& source);

// Writes the surface as a 24-bit BMP. An existing file is replaced only by a complete
// new one. Returns a user-facing reason on failure.
std::optional<QString> writeBitmap(const Surface& surface, const QString& path);

} // namespace image
