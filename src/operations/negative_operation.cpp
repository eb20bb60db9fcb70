// SPDX-License-Identifier: MIT
// The negative as the window and pixmold-batch offer it.
#include "negative.h"
#include "column_count.h"
#include "operation.h"
#include "uneven_count.h"

namespace ops {

namespace {

Result<Answers> readOptionValue(const QString& value)
{
    return readColumnCountOption(QStringLiteral("negative"), value);
}

QStringList warnings(const Answers& answers, int width, int)
{
    if (const auto columns
        = unevenCountWarning(answers.counts[0]->numeric, QStringLiteral("columns"), QStringLiteral("width"), width))
        return {*columns};
    return {};
}

CellGrid gridAfter(const Answers& answers, const CellGrid& before)
{
    return {before.rows, 2 * answers.counts[0]->numeric};
}

Outcome run(Sheets& sheets, const Answers& answers, const OperationSettings&, Progress& progress)
{
    return makeNegative(sheets.work, sheets.scratch, sheets.scratch2, *answers.counts[0], progress);
}

} // namespace

const Operation& negativeOperation()
{
    static const Operation operation{
        .name = QStringLiteral("Make Negative"),
        .window = {.caption = QStringLiteral("&Make Negative"),
                   .objectName = QStringLiteral("mnuFileNeg"),
                   .shortcut = QKeySequence(Qt::Key_F1),
                   .menuPosition = 0,
                   .runCode = 2,
                   .notice = std::nullopt,
                   .prompts = {kColumnCountPrompt},
                   .picksColour = false,
                   .checkBeforeAsking = nullptr,
                   .readAnswers = readColumnCountAnswer,
                   .failureBoxes = kFailureBoxes,
                   .viewAfter = ViewAfter::CornerKeepingScroll},
        .option
        = {.name = QStringLiteral("negative"),
           .valueName = QStringLiteral("COLUMNS"),
           .summary = QStringLiteral("Follow each column by its two-colour negative."),
           .help = QStringLiteral("      Cuts the sheet into COLUMNS vertical strips and puts after each strip its\n"
                                  "      negative, which has two colours: pure black (0,0,0) becomes white and\n"
                                  "      every other colour becomes black. The sheet becomes twice as wide.\n"
                                  "      Example: pixmold-batch --negative 8 hero.bmp -o hero-neg.png\n"),
           .read = readOptionValue,
           .autoAxes = {GridAxis::Columns},
           .countNames = {QStringLiteral("column count")},
           .warnings = warnings},
        .readsSpriteSize = false,
        .needsGrid = false,
        .gridAfter = gridAfter,
        .run = run,
        .milestones = {0, 20, 50, 70},
    };
    return operation;
}

} // namespace ops
