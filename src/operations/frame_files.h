// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include "frame_join.h"
#include "progress.h"
#include "image/picture_read.h"

#include <QStringList>
#include <functional>

namespace ops {

// A frame file that stops a join, and why.
struct FrameFileError {
    QString file;
    QString reason;
    bool sizeDiffers = false; // the file's size is not the first file's
};

// The size all the files share, as their headers state it, read before any is
// decoded; otherwise the first file whose size cannot be read or differs from the
// first one's.
Result<QSize, FrameFileError> commonFrameSize(const QStringList& files);

// How a frame file becomes a picture: the caller's loader, which keys transparency as
// every load does.
using FrameReader = std::function<Result<image::PictureRead>(const QString& file)>;

// Reads the files one at a time with `read` and joins them in order into the layout's
// sheet (frameLayout, with the size commonFrameSize gave); cells no frame fills take
// `key`. A file that cannot be read, or that decodes to another size than its header
// stated, stops the join. `sheet` is replaced only when every frame is in place; on an
// error it is left as it was. Milestones: 0, then 100 * frames placed / frames.
Result<void, FrameFileError> joinFrameFiles(const QStringList& files, const FrameLayout& layout, image::Colour key,
                                            const FrameReader& read, image::Surface& sheet, Progress& progress);

} // namespace ops
