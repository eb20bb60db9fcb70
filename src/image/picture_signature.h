// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace image {

// How many first bytes of a file startsPicture needs to see, at most.
constexpr int kSignatureBytes = 9;

// The eight bytes every PNG file starts with.
inline const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

// Whether a file starting with these bytes can be a picture of a format Pixmold reads
// (BMP, PNG, JPEG, GIF, ICO and CUR, PBM, PGM and PPM, XBM, XPM). Only the start is
// looked at: a false answer is sure, a true one is checked when the picture is read.
bool startsPicture(const QByteArray& head);

} // namespace image
