// SPDX-License-Identifier: MIT
#include "guessed_grid.h"

namespace batch {

QString gridText(const std::optional<ops::GridGuess>& guess)
{
    return guess ? QStringLiteral("%1x%2").arg(guess->rows).arg(guess->columns) : QStringLiteral("no guess");
}

Result<Step> withGuessedCounts(const Step& step, const image::Surface& sheet)
{
    const QList<ops::GridAxis>& axes = step.operation->option.autoAxes;
    QStringList unguessed; // the names of the counts to guess
    for (qsizetype i = 0; i < axes.size(); ++i) {
        if (!step.answers.counts.value(i))
            unguessed.append(step.operation->option.countNames.value(i));
    }
    if (unguessed.isEmpty())
        return step;

    // The guess reads every pixel, so only a step that needs it pays for it.
    const std::optional<ops::GridGuess> guess = ops::guessGrid(sheet);
    if (!guess) {
        const QString counts = unguessed.size() == 1 ? QStringLiteral("the ") + unguessed[0]
            : unguessed.size() == 2                  ? QStringLiteral("both counts")
                                                     : QStringLiteral("the counts");
        return Failure{QStringLiteral("No grid could be guessed for this sheet; give %1 instead of auto.").arg(counts)};
    }
    Step guessed = step;
    for (qsizetype i = 0; i < axes.size(); ++i) {
        ops::Count& count = guessed.answers.counts[i];
        if (!count) {
            const double side = axes[i] == ops::GridAxis::Rows ? guess->rows : guess->columns;
            count = ops::CountAnswer{side, side};
        }
    }
    return guessed;
}

ops::CellGrid gridInForce(const ops::CellGrid& implied, const std::optional<ops::CellGrid>& stated,
                          const image::Surface& sheet)
{
    ops::CellGrid grid = givenGrid(implied, stated, sheet);
    grid.rows = grid.rows > 0 ? grid.rows : 1;
    grid.columns = grid.columns > 0 ? grid.columns : 1;
    return grid;
}

ops::CellGrid givenGrid(const ops::CellGrid& implied, const std::optional<ops::CellGrid>& stated,
                        const image::Surface& sheet)
{
    ops::CellGrid grid = implied;
    if (stated) {
        grid.rows = grid.rows > 0 ? grid.rows : stated->rows;
        grid.columns = grid.columns > 0 ? grid.columns : stated->columns;
    }
    if (grid.rows > 0 && grid.columns > 0)
        return grid;
    // The guess reads every pixel, so only a sheet that needs it pays for it.
    if (const std::optional<ops::GridGuess> guess = ops::guessGrid(sheet)) {
        grid.rows = grid.rows > 0 ? grid.rows : guess->rows;
        grid.columns = grid.columns > 0 ? grid.columns : guess->columns;
    }
    return grid;
}

} // namespace batch
