// SPDX-License-Identifier: MIT
#pragma once

#include "image/raster.h"
#include "image/surface.h"
#include "operations/progress.h"

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
                             .arg(pa, 6, 16, QLatin1Char('0'))
                             .arg(pb, 6, 16, QLatin1Char('0'));
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
