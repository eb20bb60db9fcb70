// SPDX-License-Identifier: MIT
#pragma once

#include "surface.h"
#include "base/result.h"

#include <QIODevice>
#include <QString>

namespace image {

// Writes the surface as a 24-bit BMP. An existing file is replaced only by a complete
// new one, flushed to the disk. A failure gives a user-facing reason.
Result<void> writeBitmap(const Surface& surface, const QString& path);

// The same file's bytes to a target open for writing (standard output, a buffer), from
// where it stands. A file's own buffer is flushed before the result is given; a failure
// may leave part of the bytes written.
Result<void> writeBitmap(const Surface& surface, QIODevice& target);

} // namespace image
