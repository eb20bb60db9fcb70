// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

namespace image {

// The order the `count` frames of a row play in, 0-based: 0, 1, ..., count - 1, and with
// `pingPong` back through count - 2, ..., 1, so that a loop shows neither end twice.
QList<int> playOrder(int count, bool pingPong);

} // namespace image
