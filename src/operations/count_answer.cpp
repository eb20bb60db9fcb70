// SPDX-License-Identifier: MIT
#include "count_answer.h"

#include "settings/number_text.h"

namespace ops {

std::optional<CountAnswer> readCountAnswer(const QString& answer)
{
    if (answer.isEmpty())
        return std::nullopt;
    CountAnswer count;
    count.numeric = settings::readNumber(answer);
    if (count.numeric == 0) {
        // Nothing countable was typed: the whole sheet is one row or one column.
        count.numeric = 1;
        count.strict = 1;
        return count;
    }
    count.strict = settings::readStrictNumber(answer);
    return count;
}

} // namespace ops
