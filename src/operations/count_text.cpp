// SPDX-License-Identifier: MIT
#include "count_text.h"

#include "settings/number_text.h"

#include <cmath>

namespace ops {

bool isAutoText(const QString& text)
{
    // Case is no part of the word, as it is none of --format's.
    return text.trimmed().compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
}

Result<Count> readCountText(const QString& text)
{
    if (isAutoText(text))
        return Count();
    const std::optional<double> number = settings::readStrictNumber(text);
    if (!number)
        return Failure{QStringLiteral("is not a number")};
    if (*number < 0)
        return Failure{QStringLiteral("is negative")};
    if (!std::isfinite(*number))
        return Failure{QStringLiteral("is too large to be a count")};
    const double count = *number == 0 ? 1 : *number;
    return Count(CountAnswer{count, count});
}

Result<Count> readOptionCount(const QString& option, const QString& value, const QString& text, const QString& what)
{
    auto read = readCountText(text);
    if (!read)
        return Failure{
            QStringLiteral("--%1 %2: The %3 '%4' %5.").arg(option, value, what, text.trimmed(), read.error())};
    return read;
}

} // namespace ops
