// SPDX-License-Identifier: MIT
#pragma once

#include "operation.h"

namespace ops {

// The one question of the operations that ask only for the sheet's animation columns.
inline const Prompt kColumnCountPrompt{QStringLiteral("How many Animation Columns are present?"),
                                       QStringLiteral("Animation Columns")};

// The window's lenient reading of that answer.
std::optional<Answers> readColumnCountAnswer(const WindowAnswers& given);

// --`option` COLUMNS|auto, read strictly; the usage error names the option.
Result<Answers> readColumnCountOption(const QString& option, const QString& value);

} // namespace ops
