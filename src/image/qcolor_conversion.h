// SPDX-License-Identifier: MIT
#pragma once

#include "colour.h"

#include <QColor>

namespace image {

// Qt's colour dialog and text speak QColor; its alpha plays no part.
inline QColor toQColor(Colour colour)
{
    return QColor(colour.red(), colour.green(), colour.blue());
}

inline Colour fromQColor(const QColor& colour)
{
    return rgb(colour.red(), colour.green(), colour.blue());
}

} // namespace image
