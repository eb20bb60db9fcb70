// SPDX-License-Identifier: MIT
#pragma once

#include "surface.h"
#include "base/result.h"

#include <QFileDevice>
#include <QString>
#include <functional>

namespace image {

// Whether a surface can be saved: no picture file holds one without pixels.
Result<void> checkPixelsToSave(const Surface& surface);

// Saves the file at `path` so that an existing one is replaced only by a complete new
// one, flushed to the disk. `write` puts the bytes into the open, unbuffered save file;
// false where a write failed, the file's errorString saying why. A failure gives a
// user-facing reason.
Result<void> saveReplacing(const QString& path, const std::function<bool(QFileDevice&)>& write);

// Writes all of `data`. A write that stops short is tried again for the rest, which then
// fails with the reason (a full disk) that the short one does not give.
bool writeAll(QIODevice& device, const uchar* data, qint64 size);

} // namespace image
