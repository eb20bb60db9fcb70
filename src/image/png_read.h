// SPDX-License-Identifier: MIT
#pragma once

#include "decoder_messages.h"
#include "base/result.h"

#include <QIODevice>
#include <QImage>
#include <QString>

#include <functional>

namespace image {

// Whether a picture of this size is taken: a failure says why not.
using SizeCheck = std::function<Result<void>(qint64 width, qint64 height)>;

// Reads a PNG file from the source's start with libpng, row by row straight into an
// ARGB32 picture of its size, whatever its depth (16-bit, grey, palette), so that no
// deeper copy of the whole picture is ever made. Colour channels are kept as stored;
// alpha as stored, unblended. The size is checked before any pixel memory is taken.
// The reader's own lines go to `messages`; a failure gives a user-facing reason.
Result<QImage> readPng(QIODevice& source, DecoderMessages& messages, const SizeCheck& refuse);

} // namespace image
