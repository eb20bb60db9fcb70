// SPDX-License-Identifier: MIT
#pragma once

#include "image/surface.h"

#include <QRgb>
#include <optional>

namespace ops {

// A sheet's background: the colour that at least three of its four corner pixels share,
// as colour bits (alpha aside). None where no three share one, or the sheet is empty.
std::optional<QRgb> cornerBackground(const image::Surface& sheet);

} // namespace ops
