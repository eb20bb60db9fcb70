// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>

#include <optional>

namespace image {

struct DeclaredSize {
    qint64 width = 0;  // as declared, without sign
    qint64 height = 0; // as declared, without sign
};

// The size a picture file's header declares, read without a decoder, for the formats
// whose readers refuse a size they cannot take without giving it or saying why: BMP,
// GIF, ICO and CUR, PBM, PGM and PPM, XBM. nullopt for other files or where the header
// gives none. Reads the source from its start.
std::optional<DeclaredSize> declaredSize(QIODevice& source);

} // namespace image
