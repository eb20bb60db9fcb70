// SPDX-License-Identifier: MIT
#pragma once

#include "decoder_messages.h"

#include <QIODevice>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

namespace image {

// Why a picture of this size is not taken, or nullopt.
using SizeCheck = std::function<std::optional<QString>(qint64 width, qint64 height)>;

// Reads a PNG file from the source's start with libpng, row by row straight into an
// ARGB32 picture of its size, whatever its depth (16-bit, grey, palette), so that no
// deeper copy of the whole picture is ever made. Colour channels are kept as stored;
// alpha as stored, unblended. The size is checked before any pixel memory is taken.
// The reader's own lines go to `messages`; a failure gives a user-facing reason.
std::variant<QImage, QString> readPng(QIODevice& source, DecoderMessages& messages, const SizeCheck& refuse);

} // namespace image
