// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>
#include <QString>

#include <optional>

namespace image {

// The most scans a JPEG may have for each colour channel: one a coefficient. Encoders'
// progressive scripts use about ten in all; more only makes the decoder pass over the
// whole picture again and again.
constexpr int kMaxJpegScansPerChannel = 64;

// Why a PNG or JPEG file cannot be a picture we load, found from its chunk and segment
// headers alone, before a decoder reserves memory or time on their word: a chunk or
// segment longer than the bytes left in the file, more scans than kMaxJpegScansPerChannel
// allows, or a progressive JPEG whose decoding would take more memory than a load may
// (kLoadBytesPerPixel, kLoadSpareBytes). nullopt for any other file, or when the headers
// hold. Reads the source from its start.
std::optional<QString> structureFault(QIODevice& source);

} // namespace image
