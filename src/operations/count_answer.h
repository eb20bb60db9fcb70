// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

namespace ops {

// A typed count (sprites, animation columns) in the two readings the operations use.
struct CountAnswer {
    double numeric = 1;           // the numeric reading, 1 where it was 0
    std::optional<double> strict; // the strict reading, 1 where the numeric was 0;
                                  // nullopt: the type mismatch, raised where it is used
};

// nullopt for the empty text (a cancelled prompt): the operation ends unchanged.
// A text whose numeric reading is 0 (0, abc, a blank) counts as 1 in both readings.
std::optional<CountAnswer> readCountAnswer(const QString& answer);

} // namespace ops
