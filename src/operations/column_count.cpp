// SPDX-License-Identifier: MIT
#include "column_count.h"

#include "count_answer.h"

namespace ops {

std::optional<Answers> readColumnCountAnswer(const WindowAnswers& given)
{
    const auto columns = readCountAnswer(given.texts.value(0));
    if (!columns)
        return std::nullopt;
    return Answers{{columns}, {}, {}};
}

Result<Answers> readColumnCountOption(const QString& option, const QString& value)
{
    if (value.isEmpty())
        return Failure{QStringLiteral("--%1: Give the number of animation columns, e.g. --%1 8, or auto.").arg(option)};
    auto columns = readOptionCount(option, value, value, QStringLiteral("column count"));
    if (!columns)
        return Failure{columns.error()};
    return Answers{{*columns}, {}, {}};
}

} // namespace ops
