// SPDX-License-Identifier: MIT
#pragma once

#include "surface.h"
#include "base/result.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace image {

// The formats a picture is written in.
enum class PictureFormat { Bmp, Png };

// The format a suffix names, in any case: bmp or png; nullopt for any other.
std::optional<PictureFormat> formatForSuffix(const QString& suffix);

// The format a file name asks for by its last suffix, in any case: .bmp or .png.
// nullopt for any other name, or one without a suffix.
std::optional<PictureFormat> formatForName(const QString& path);

// The suffix of a format's files, without the dot: "bmp", "png".
QString formatSuffix(PictureFormat format);

// Writes the surface to `path`: a 24-bit BMP, or a lossless PNG. An existing file is
// replaced only by a complete new one. A failure gives a user-facing reason.
Result<void> writePicture(const Surface& surface, const QString& path, PictureFormat format);

// The file's bytes as writePicture would write them, for a stream that is not a file
// (standard output), or a failure with a user-facing reason.
Result<QByteArray> encodePicture(const Surface& surface, PictureFormat format);

} // namespace image
