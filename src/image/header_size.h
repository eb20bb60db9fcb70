// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace image {

// The picture's size as its file's header states it, read without decoding a pixel
// (BMP, PNG, GIF, JPEG and the other formats whose reader reports a size; a GIF is
// scanned block by block without unpacking its frames). nullopt where the file cannot
// be opened or its reader gives no size.
std::optional<QSize> headerPictureSize(const QString& path);

} // namespace image
