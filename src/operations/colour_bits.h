// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>

namespace ops {

// A pixel's colour bits, alpha aside.
inline constexpr QRgb kColourBits = 0x00FFFFFFu;

} // namespace ops
