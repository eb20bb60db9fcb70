// SPDX-License-Identifier: MIT
// Key Out Background as the window and pixmold-batch offer it.
#include "key_out_background.h"
#include "operation.h"
#include "settings/number_text.h"

#include <cmath>

namespace ops {

namespace {

// Anything but a whole number from 0 to 255 is refused when the operation runs.
constexpr int kBadTolerance = -1;

int toleranceOf(double value)
{
    return value >= 0 && value <= 255 && std::floor(value) == value ? int(value) : kBadTolerance;
}

std::optional<Answers> readWindowAnswers(const WindowAnswers& given)
{
    const QString text = given.texts.value(0);
    if (text.isEmpty())
        return std::nullopt;
    Answers answers;
    answers.tolerance = toleranceOf(settings::readNumber(text));
    return answers;
}

// The value is --tolerance's: empty where it was not given.
Result<Answers> readOptionValue(const QString& value)
{
    Answers answers;
    if (value.isEmpty())
        return answers;
    const std::optional<double> number = settings::readStrictNumber(value);
    answers.tolerance = number ? toleranceOf(*number) : kBadTolerance;
    if (answers.tolerance == kBadTolerance)
        return Failure{QStringLiteral("--tolerance %1: Give a whole number from 0 to 255.").arg(value)};
    return answers;
}

QStringList warnings(const Answers&, int, int)
{
    return {};
}

CellGrid gridAfter(const Answers&, const CellGrid& before)
{
    return before;
}

Outcome run(Sheets& sheets, const Answers& answers, const OperationSettings& settings, Progress& progress)
{
    const QList<int> columns = cellBoundaries(sheets.work.width(), settings.grid.columns);
    const QList<int> rows = cellBoundaries(sheets.work.height(), settings.grid.rows);
    return keyOutBackground(sheets.work, settings.key, answers.tolerance, {columns, rows}, progress);
}

} // namespace

const Operation& keyOutBackgroundOperation()
{
    static const Operation operation{
        .name = QStringLiteral("Key Out Background"),
        .window = {.caption = QStringLiteral("&Key Out Background"),
                   .objectName = QStringLiteral("mnuKeyOut"),
                   .shortcut = QKeySequence(Qt::Key_F5),
                   .menuPosition = 4,
                   .runCode = std::nullopt,
                   .notice = std::nullopt,
                   .prompts = {{QStringLiteral("Tolerance (0 to 255)"), QStringLiteral("Key Out Background")}},
                   .picksColour = false,
                   .checkBeforeAsking = nullptr,
                   .readAnswers = readWindowAnswers,
                   .failureBoxes = kFailureBoxes,
                   .viewAfter = ViewAfter::WhereItWas},
        .option
        = {.name = QStringLiteral("key-out-background"),
           .valueName = QString(),
           .summary = QStringLiteral("Turn the background around each sprite into the key colour."),
           .help = QStringLiteral("      The background is the colour at least three corners of the sheet\n"
                                  "      share. Where it reaches the border of its cell (through pixels side by\n"
                                  "      side, not corner to corner) it becomes the key colour (--key); the same\n"
                                  "      colour enclosed inside a sprite stays. --tolerance N (0 to 255, default\n"
                                  "      0) keys the colours within N of the background on every channel too.\n"
                                  "      The cells are those of the grid in force.\n"
                                  "      Example: pixmold-batch --key-out-background --tolerance 8 --key '#ff00ff'\n"
                                  "               walkers.png -o walkers-keyed.png\n"),
           .read = readOptionValue,
           .autoAxes = {},
           .countNames = {},
           .warnings = warnings},
        .readsSpriteSize = false,
        .readsTolerance = true,
        .needsGrid = true,
        .gridAfter = gridAfter,
        .run = run,
        .milestones = {0, 80},
    };
    return operation;
}

} // namespace ops
