// SPDX-License-Identifier: MIT
// The NPC-compatible conversion as the window and pixmold-batch offer it.
#include "npc_conversion.h"
#include "operation.h"
#include "settings/number_text.h"
#include "uneven_count.h"

namespace ops {

namespace {

const QString kOption = QStringLiteral("npc");

std::optional<Answers> readWindowAnswers(const WindowAnswers& given)
{
    const auto sprites = readCountAnswer(given.texts.value(0));
    const auto columns = readCountAnswer(given.texts.value(1));
    if (!sprites || !columns)
        return std::nullopt;
    return Answers{{sprites, columns}, {}, {}};
}

Result<Answers> readOptionValue(const QString& value)
{
    // A lone `auto` guesses both counts.
    const QStringList counts = isAutoText(value) ? QStringList{value, value} : value.split(u',');
    if (counts.size() == 1 && !value.isEmpty() && !settings::readStrictNumber(value)) {
        // Most likely the counts were forgotten and an input taken for them.
        return Failure{QStringLiteral("--npc %1: '%1' is not a count for --npc; give the sprite count and the column "
                                      "count, e.g. --npc 4,8, or auto.")
                           .arg(value)};
    }
    if (counts.size() != 2 || counts[0].isEmpty() || counts[1].isEmpty())
        return Failure{QStringLiteral("--npc %1: Give the sprite count and the column count, e.g. --npc 4,8, or auto.")
                           .arg(value)};
    Answers answers;
    for (int i = 0; i < 2; ++i) {
        auto count = readOptionCount(kOption, value, counts[i],
                                     i == 0 ? QStringLiteral("sprite count") : QStringLiteral("column count"));
        if (!count)
            return Failure{count.error()};
        answers.counts.append(*count);
    }
    return answers;
}

QStringList warnings(const Answers& answers, int width, int height)
{
    QStringList said;
    if (const auto rows
        = unevenCountWarning(answers.counts[0]->numeric, QStringLiteral("rows"), QStringLiteral("height"), height))
        said.append(*rows);
    if (const auto columns
        = unevenCountWarning(answers.counts[1]->numeric, QStringLiteral("columns"), QStringLiteral("width"), width))
        said.append(*columns);
    return said;
}

Result<void> checkBeforeAsking(const OperationSettings& settings)
{
    // Asking for counts first would only lead to a refusal.
    return checkSpriteSize(settings.spriteSize);
}

CellGrid gridAfter(const Answers& answers, const CellGrid&)
{
    return {answers.counts[0]->numeric, answers.counts[1]->numeric};
}

Outcome run(Sheets& sheets, const Answers& answers, const OperationSettings& settings, Progress& progress)
{
    return convertToNpc(sheets.work, sheets.scratch, sheets.scratch2, *answers.counts[0], *answers.counts[1],
                        settings.spriteSize, progress);
}

} // namespace

const Operation& npcOperation()
{
    static const Operation operation{
        .name = QStringLiteral("Make NPC-Compatible"),
        .window = {.caption = QStringLiteral("M&ake NPC-Compatible"),
                   .objectName = QStringLiteral("mnuFileNPC"),
                   .shortcut = QKeySequence(Qt::Key_F2),
                   .menuPosition = 1,
                   .runCode = 4,
                   .notice = std::nullopt,
                   .prompts = {{QStringLiteral("How many sprites are in this image?"), QStringLiteral("Sprite Count")},
                               {QStringLiteral("How many Animation Columns are in this image?"),
                                QStringLiteral("Animation Columns")}},
                   .picksColour = false,
                   .checkBeforeAsking = checkBeforeAsking,
                   .readAnswers = readWindowAnswers,
                   .failureBoxes = kFailureBoxes,
                   .viewAfter = ViewAfter::FromCorner},
        .option
        = {.name = kOption,
           .valueName = QStringLiteral("SPRITES,COLUMNS"),
           .summary = QStringLiteral("Rescale every cell to the sprite size, pure black to near-black."),
           .help = QStringLiteral("      Cuts the sheet into SPRITES rows and COLUMNS columns of equal cells and\n"
                                  "      scales each cell to the sprite size (--sprite-size, 24x48 unless given).\n"
                                  "      Enlarging repeats pixels; shrinking merges the pixels that land on one\n"
                                  "      pixel by a bitwise AND of their colours, so colours that were not in the\n"
                                  "      sheet can appear. Then every pure black pixel (0,0,0) becomes the\n"
                                  "      near-black (20,20,20).\n"
                                  "      Example: pixmold-batch --npc 4,8 hero.bmp -o hero-npc.bmp\n"),
           .read = readOptionValue,
           .autoAxes = {GridAxis::Rows, GridAxis::Columns},
           .countNames = {QStringLiteral("sprite count"), QStringLiteral("column count")},
           .warnings = warnings},
        .readsSpriteSize = true,
        .needsGrid = false,
        .gridAfter = gridAfter,
        .run = run,
        .milestones = {0, 40, 70},
    };
    return operation;
}

} // namespace ops
