// SPDX-License-Identifier: MIT
#include "count_text.h"

#include "settings/number_text.h"

#include <cmath>

namespace batch {

std::variant<ops::CountAnswer, QString> readCountText(const QString& text)
{
    const std::optional<double> number = settings::readStrictNumber(text);
    if (!number)
        return QStringLiteral("is not a number");
    if (*number < 0)
        return QStringLiteral("is negative");
    if (!std::isfinite(*number))
        return QStringLiteral("is too large to be a count");
    const double count = *number == 0 ? 1 : *number;
    return ops::CountAnswer{count, count};
}

} // namespace batch
