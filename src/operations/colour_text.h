// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace ops {

// A colour typed on the command line: "#rrggbb" (six hex digits, either case) or
// "r,g,b" (three whole numbers 0 to 255, blanks around each allowed). nullopt for
// anything else.
std::optional<image::Colour> readColourText(QStringView text);

// The colour as messages name it: "#rrggbb", in lower case.
QString colourText(image::Colour colour);

} // namespace ops
