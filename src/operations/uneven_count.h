// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace ops {

// Where `count` equal parts ("rows", "columns") do not divide the sheet's `side`
// ("height", "width") of `pixels` pixels into whole pixels, the warning that says by how
// many pixels it misses: each part is then placed and sized by rounding. nullopt where
// they do, and where there are more parts than pixels (the operation says what it makes
// of that).
std::optional<QString> unevenCountWarning(double count, const QString& parts, const QString& side, int pixels);

} // namespace ops
