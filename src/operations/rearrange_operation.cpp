// SPDX-License-Identifier: MIT
// The re-arrangement of rows as the window and pixmold-batch offer it.
#include "operation.h"
#include "rearrange.h"
#include "row_order.h"
#include "uneven_count.h"

namespace ops {

namespace {

std::optional<Answers> readWindowAnswers(const WindowAnswers& given)
{
    const QString order = given.texts.value(0);
    if (order.isEmpty())
        return std::nullopt;
    return Answers{{}, order, {}};
}

Result<Answers> readOptionValue(const QString& value)
{
    if (value.isEmpty())
        return Failure{QStringLiteral("--rearrange: Give the new order of the rows, e.g. --rearrange 3,1,4,2.")};
    if (const auto checked = checkRowOrder(value); !checked)
        return Failure{QStringLiteral("--rearrange %1: %2").arg(value, checked.error())};
    return Answers{{}, value, {}};
}

QStringList warnings(const Answers& answers, int, int height)
{
    QStringList said;
    const qsizetype rows = rearrangedBandCount(answers.text);
    if (const auto uneven = unevenCountWarning(double(rows), QStringLiteral("rows"), QStringLiteral("height"), height))
        said.append(*uneven);
    if (const QStringList outside = rowsOutside(answers.text); !outside.isEmpty())
        said.append(QStringLiteral("%1 %2 no row of the %3 the sheet is cut into; %4 black.")
                        .arg(outside.join(QStringLiteral(", ")),
                             outside.size() == 1 ? QStringLiteral("names") : QStringLiteral("name"))
                        .arg(rows)
                        .arg(outside.size() == 1 ? QStringLiteral("its band is") : QStringLiteral("their bands are")));
    return said;
}

CellGrid gridAfter(const Answers& answers, const CellGrid& before)
{
    return {double(rearrangedBandCount(answers.text)), before.columns};
}

Outcome run(Sheets& sheets, const Answers& answers, const OperationSettings&, Progress& progress)
{
    return rearrangeRows(sheets.work, sheets.scratch, answers.text, progress);
}

} // namespace

const Operation& rearrangeOperation()
{
    static const Operation operation{
        .name = QStringLiteral("Re-Arrange Sprites"),
        .window
        = {.caption = QStringLiteral("&Re-Arrange Sprites"),
           .objectName = QStringLiteral("mnuFileArrange"),
           .shortcut = QKeySequence(Qt::Key_F3),
           .menuPosition = 2,
           .runCode = std::nullopt,
           .notice = std::nullopt,
           .prompts = {{QStringLiteral("Enter new order for sprites seperated by commas *IMPORTANT* (EG: 3,1,4,2):"),
                        QStringLiteral("Re-Arrange Sprites")}},
           .picksColour = false,
           .checkBeforeAsking = nullptr,
           .readAnswers = readWindowAnswers,
           .failureBoxes = kFailureBoxes,
           .viewAfter = ViewAfter::WhereItWas},
        .option
        = {.name = QStringLiteral("rearrange"),
           .valueName = QStringLiteral("ORDER"),
           .summary = QStringLiteral("New order of the rows, e.g. 3,1,4,2."),
           .help = QStringLiteral("      Cuts the sheet into as many full-width rows as ORDER has entries and\n"
                                  "      stacks them in that order: 3,1,4,2 puts the old third row first. A row\n"
                                  "      may be repeated or left out; an entry outside 1 to the number of entries\n"
                                  "      gives a black row (with a warning).\n"
                                  "      Example: pixmold-batch --rearrange 2,1 sheets/*.bmp --out-dir flipped/\n"),
           .read = readOptionValue,
           .autoAxes = {},
           .countNames = {},
           .warnings = warnings},
        .readsSpriteSize = false,
        .needsGrid = false,
        .gridAfter = gridAfter,
        .run = run,
        .milestones = {0, 10, 80},
    };
    return operation;
}

} // namespace ops
