// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QIODevice>
#include <QString>

namespace image {

// The most scans a JPEG may have for each colour channel: one a coefficient. Encoders'
// progressive scripts use about ten in all; more only makes the decoder pass over the
// whole picture again and again.
constexpr int kMaxJpegScansPerChannel = 64;

// Why a PNG or JPEG file cannot be a picture we load, found from its chunk and segment
// headers alone, before a decoder reserves memory or time on their word: a chunk or
// segment longer than the bytes left in the file, more scans than kMaxJpegScansPerChannel
// allows, or a progressive JPEG whose decoding would take more memory than a load may
// (kLoadBytesPerPixel, kLoadSpareBytes), as a failure. Any other file passes, as does
// one whose headers hold. Reads the source from its start.
Result<void> checkStructure(QIODevice& source);

} // namespace image
