// SPDX-License-Identifier: MIT
#include "operations/colour_replace.h"
#include "sheet_fixtures.h"

#include <QRandomGenerator>
#include <QTest>

using image::rgb;

class tst_ColourReplace : public QObject {
    Q_OBJECT

private slots:
    void replacesExactlyThatColour()
    {
        const image::Colour red = rgb(255, 0, 0);
        const image::Colour blue = rgb(0, 0, 255);
        image::Surface work(image::rgb(0, 0, 0), 5, 3);
        fillRect(work, 0, 0, 5, 3, rgb(10, 20, 30));
        image::SetPixel(work, 0, 0, red);
        image::SetPixel(work, 4, 2, red);
        image::SetPixel(work, 1, 0, rgb(254, 0, 0));
        image::SetPixel(work, 2, 0, rgb(255, 0, 1));
        image::SetPixel(work, 3, 0, rgb(255, 1, 0));
        image::Surface expected = work;
        image::SetPixel(expected, 0, 0, blue);
        image::SetPixel(expected, 4, 2, blue);

        RecordingProgress progress;
        QCOMPARE(ops::replaceColour(work, red, blue, progress).kind, ops::Outcome::Kind::Changed);
        COMPARE_SURFACES(work, expected);
        QCOMPARE(progress.milestones, QList<int>({0, 80}));
    }

    void sameColourChangesNothing()
    {
        image::Surface work(image::rgb(0, 0, 0), 3, 3);
        fillRect(work, 1, 1, 1, 1, rgb(1, 2, 3));
        const image::Surface before = work;
        RecordingProgress progress;
        QCOMPARE(ops::replaceColour(work, rgb(1, 2, 3), rgb(1, 2, 3), progress).kind, ops::Outcome::Kind::Unchanged);
        COMPARE_SURFACES(work, before);
        QVERIFY(progress.milestones.isEmpty());
    }

    // A press outside the viewport's pixels reads kNoColour; white must not match it.
    void colourFromOutsideMatchesNothing()
    {
        image::Surface work(rgb(255, 255, 255), 4, 2);
        const image::Surface before = work;
        RecordingProgress progress;
        ops::replaceColour(work, image::kNoColour, rgb(1, 2, 3), progress);
        COMPARE_SURFACES(work, before);
    }

    void thereAndBackLeavesBothAsTheFirst()
    {
        const quint32 seed = 20240611;
        QRandomGenerator random(seed);
        const image::Colour a = rgb(200, 100, 50);
        const image::Colour b = rgb(50, 100, 200);
        const image::Colour others[] = {rgb(0, 0, 0), rgb(200, 100, 51), rgb(50, 100, 201)};
        image::Surface work(image::rgb(0, 0, 0), 67, 41);
        for (int y = 0; y < work.height(); ++y) {
            for (int x = 0; x < work.width(); ++x) {
                const int pick = random.bounded(5);
                image::SetPixel(work, x, y, pick == 0 ? a : pick == 1 ? b : others[pick - 2]);
            }
        }
        image::Surface expected = work;
        for (int y = 0; y < work.height(); ++y)
            for (int x = 0; x < work.width(); ++x)
                if (image::GetPixel(expected, x, y) == b)
                    image::SetPixel(expected, x, y, a);

        ops::SilentProgress progress;
        ops::replaceColour(work, a, b, progress);
        ops::replaceColour(work, b, a, progress);
        QVERIFY2(countDiff(work, expected) == 0, qPrintable(QStringLiteral("seed %1").arg(seed)));
    }
};

QTEST_APPLESS_MAIN(tst_ColourReplace)
#include "colour_replace_test.moc"
