// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace ops {

// The title of the program's message boxes.
inline const QString kMessageTitle = QStringLiteral("Tarnel");

} // namespace ops
