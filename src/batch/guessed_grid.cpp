// SPDX-License-Identifier: MIT
#include "guessed_grid.h"

namespace batch {

namespace {

Count fromGuess(int count)
{
    return ops::CountAnswer{double(count), double(count)};
}

} // namespace

QString gridText(const std::optional<ops::GridGuess>& guess)
{
    return guess ? QStringLiteral("%1x%2").arg(guess->rows).arg(guess->columns) : QStringLiteral("no guess");
}

std::variant<Step, QString> withGuessedCounts(const Step& step, const image::Surface& sheet)
{
    Step guessed = step;
    Count* rows = nullptr; // the counts to guess
    Count* columns = nullptr;
    if (auto* npc = std::get_if<NpcStep>(&guessed.action)) {
        rows = npc->sprites ? nullptr : &npc->sprites;
        columns = npc->columns ? nullptr : &npc->columns;
    } else if (auto* negative = std::get_if<NegativeStep>(&guessed.action)) {
        columns = negative->columns ? nullptr : &negative->columns;
    }
    if (!rows && !columns)
        return guessed;

    // The guess reads every pixel, so only a step that needs it pays for it.
    const std::optional<ops::GridGuess> guess = ops::guessGrid(sheet);
    if (!guess) {
        const QString counts = !rows ? QStringLiteral("the column count")
            : !columns               ? QStringLiteral("the sprite count")
                                     : QStringLiteral("both counts");
        return QStringLiteral("No grid could be guessed for this sheet; give %1 instead of auto.").arg(counts);
    }
    if (rows)
        *rows = fromGuess(guess->rows);
    if (columns)
        *columns = fromGuess(guess->columns);
    return guessed;
}

} // namespace batch
