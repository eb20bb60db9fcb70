// SPDX-License-Identifier: MIT
// Mirror Sprites as the window and pixmold-batch offer it.
#include "mirror.h"
#include "column_count.h"
#include "operation.h"

namespace ops {

namespace {

Result<Answers> readOptionValue(const QString& value)
{
    return readColumnCountOption(QStringLiteral("mirror"), value);
}

// A count that does not divide the width is refused when the step runs.
QStringList warnings(const Answers&, int, int)
{
    return {};
}

CellGrid gridAfter(const Answers& answers, const CellGrid& before)
{
    return {before.rows, answers.counts[0]->numeric};
}

Outcome run(Sheets& sheets, const Answers& answers, const OperationSettings&, Progress& progress)
{
    return mirrorSprites(sheets.work, *answers.counts[0], progress);
}

} // namespace

const Operation& mirrorOperation()
{
    static const Operation operation{
        .name = QStringLiteral("Mirror Sprites"),
        .window = {.caption = QStringLiteral("M&irror Sprites"),
                   .objectName = QStringLiteral("mnuFileMirror"),
                   .shortcut = QKeySequence(Qt::Key_F6),
                   .menuPosition = 5,
                   .runCode = std::nullopt,
                   .notice = std::nullopt,
                   .prompts = {kColumnCountPrompt},
                   .picksColour = false,
                   .checkBeforeAsking = nullptr,
                   .readAnswers = readColumnCountAnswer,
                   .failureBoxes = kFailureBoxes,
                   .viewAfter = ViewAfter::WhereItWas},
        .option = {.name = QStringLiteral("mirror"),
                   .valueName = QStringLiteral("COLUMNS"),
                   .summary = QStringLiteral("Mirror each cell left to right in its place."),
                   .help = QStringLiteral(
                       "      Cuts the sheet into COLUMNS cells across and mirrors each left to right where\n"
                       "      it stands; rows, columns and the sheet's size stay. COLUMNS must divide the\n"
                       "      width. Example: pixmold-batch --mirror 8 walk-right.png -o walk-left.png\n"),
                   .read = readOptionValue,
                   .autoAxes = {GridAxis::Columns},
                   .countNames = {QStringLiteral("column count")},
                   .warnings = warnings},
        .readsSpriteSize = false,
        .needsGrid = false,
        .gridAfter = gridAfter,
        .run = run,
        .milestones = {0, 80},
    };
    return operation;
}

} // namespace ops
