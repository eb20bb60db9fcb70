// SPDX-License-Identifier: MIT
// Change A Color as the window offers it, and --replace.
#include "colour_replace.h"
#include "colour_text.h"
#include "operation.h"

namespace ops {

namespace {

// A cancelled dialog, or the colour already there, ends the pick with nothing said.
std::optional<Answers> readWindowAnswers(const WindowAnswers& given)
{
    if (!given.chosen || *given.chosen == given.picked)
        return std::nullopt;
    return Answers{{}, {}, {given.picked, *given.chosen}};
}

Result<Answers> readOptionValue(const QString& value)
{
    const QStringList colours = value.split(u':');
    const auto from = colours.size() == 2 ? readColourText(colours[0]) : std::nullopt;
    const auto to = colours.size() == 2 ? readColourText(colours[1]) : std::nullopt;
    if (!from || !to)
        return Failure{QStringLiteral("--replace %1: Give two colours as FROM:TO, each #rrggbb or r,g,b, "
                                      "e.g. '#ff0000:#0000ff'.")
                           .arg(value)};
    return Answers{{}, {}, {*from, *to}};
}

QStringList warnings(const Answers&, int, int)
{
    return {};
}

CellGrid gridAfter(const Answers&, const CellGrid& before)
{
    return before;
}

Outcome run(Sheets& sheets, const Answers& answers, const OperationSettings&, Progress& progress)
{
    return replaceColour(sheets.work, answers.colours[0], answers.colours[1], progress);
}

} // namespace

const Operation& colourReplaceOperation()
{
    static const Operation operation{
        .name = QStringLiteral("Change A Color"),
        .window = {.caption = QStringLiteral("&Change A Color"),
                   .objectName = QStringLiteral("mnuFileChange"),
                   .shortcut = QKeySequence(Qt::Key_F4),
                   .menuPosition = 3,
                   .runCode = std::nullopt,
                   .notice = Prompt{QStringLiteral("Please click on the color you would like changed!"), kMessageTitle},
                   .prompts = {},
                   .picksColour = true,
                   .checkBeforeAsking = nullptr,
                   .readAnswers = readWindowAnswers,
                   .failureBoxes = std::nullopt,
                   .viewAfter = ViewAfter::WhereItWasShown},
        .option
        = {.name = QStringLiteral("replace"),
           .valueName = QStringLiteral("FROM:TO"),
           .summary = QStringLiteral("Replace one exact colour, e.g. '#ff0000:#0000ff' or 255,0,0:0,0,255."),
           .help = QStringLiteral("      Every pixel of exactly the colour FROM becomes TO; no other is touched.\n"
                                  "      Example: pixmold-batch --replace '#ff00ff:0,0,0' hero.bmp --in-place\n"),
           .read = readOptionValue,
           .autoAxes = {},
           .countNames = {},
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
