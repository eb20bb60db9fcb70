// SPDX-License-Identifier: MIT
#pragma once

#include "image/raster.h"
#include "image/surface.h"
#include "operations/colour_replace.h"
#include "operations/count_answer.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/operation.h"
#include "operations/progress.h"
#include "operations/rearrange.h"
#include "support/colour_text.h"

#include <QList>
#include <functional>

// Records what an operation reported; `onReached` can look at the surfaces meanwhile.
class RecordingProgress final : public ops::Progress {
public:
    QList<int> milestones;
    int ticks = 0;
    std::function<void(int)> onReached;

    void reached(int percent) override
    {
        milestones.append(percent);
        if (onReached)
            onReached(percent);
    }
    void tick() override { ++ticks; }
};

// A sheet with the two scratch surfaces (black, as the window's) and the operations run
// on them with answers typed as at the window's prompts.
struct SheetRun {
    explicit SheetRun(image::Surface sheet) : work(std::move(sheet)) {}

    image::Surface work;
    image::Surface scratch{image::rgb(0, 0, 0)};
    image::Surface scratch2{image::rgb(0, 0, 0)};
    RecordingProgress progress;

    ops::Outcome npc(const QString& sprites, const QString& columns, double width = 24, qint16 height = 48)
    {
        return ops::convertToNpc(work, scratch, scratch2, *ops::readCountAnswer(sprites),
                                 *ops::readCountAnswer(columns), settings::SpriteSize{width, height}, progress);
    }
    ops::Outcome negative(const QString& columns)
    {
        return ops::makeNegative(work, scratch, scratch2, *ops::readCountAnswer(columns), progress);
    }
    ops::Outcome rearrange(const QString& order) { return ops::rearrangeRows(work, scratch, order, progress); }
    ops::Outcome replace(image::Colour from, image::Colour to) { return ops::replaceColour(work, from, to, progress); }

    // `operation` as the window runs it once it has gathered `given`; Unchanged where
    // the window would end without running it.
    ops::Outcome run(const ops::Operation& operation, const ops::WindowAnswers& given,
                     const ops::OperationSettings& settings = {})
    {
        const auto answers = operation.window.readAnswers(given);
        if (!answers)
            return ops::Outcome::unchanged();
        ops::Sheets sheets{work, scratch, scratch2};
        return operation.run(sheets, *answers, settings, progress);
    }
};

inline void fillRect(image::Surface& surface, int x, int y, int w, int h, image::Colour colour)
{
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            image::SetPixel(surface, column, row, colour);
}

// Pixels that differ, and the first of them, for a readable failure.
inline int countDiff(const image::Surface& a, const image::Surface& b, QString* first = nullptr)
{
    if (a.width() != b.width() || a.height() != b.height()) {
        if (first)
            *first
                = QStringLiteral("sizes %1x%2 and %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
        return -1;
    }
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const image::Colour pa = image::GetPixel(a, x, y);
            const image::Colour pb = image::GetPixel(b, x, y);
            if (pa != pb && differing++ == 0 && first)
                *first = QStringLiteral("at (%1, %2): %3 and %4")
                             .arg(x)
                             .arg(y)
                             .arg(pa.bgr(), 6, 16, QLatin1Char('0'))
                             .arg(pb.bgr(), 6, 16, QLatin1Char('0'));
        }
    }
    return differing;
}

#define COMPARE_SURFACES(actual, expected)                                                                             \
    do {                                                                                                               \
        QString first_;                                                                                                \
        const int diff_ = countDiff(actual, expected, &first_);                                                        \
        QVERIFY2(diff_ == 0, qPrintable(QStringLiteral("%1 differing pixels, first %2").arg(diff_).arg(first_)));      \
    } while (false)
