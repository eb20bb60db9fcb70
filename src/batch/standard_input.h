// SPDX-License-Identifier: MIT
#pragma once

#include "image/picture_read.h"

namespace batch {

// The most bytes read from standard input: a larger picture is given as a file.
constexpr qint64 kStandardInputLimit = qint64(2) << 30;

// Reads the picture on standard input. Its first bytes must start a format Pixmold
// reads, else it is refused before anything more is read; the rest is copied to an
// unnamed temporary file (the readers need to seek), up to kStandardInputLimit, and read
// from there, so that it is never held whole in memory. Transparency takes `key` as a
// file's does.
Result<image::PictureRead> readStandardInput(const image::TransparencyKey& key);

} // namespace batch
