// SPDX-License-Identifier: MIT
#include "operations/npc_conversion.h"
#include "settings/number_text.h"
#include "sheet_fixtures.h"

#include <QRandomGenerator>
#include <QTest>

using image::rgb;

namespace {

const image::Colour kNearBlack = rgb(20, 20, 20);

} // namespace

class tst_NpcConversion : public QObject {
    Q_OBJECT

private slots:
    void cellsKeepRowAndColumn()
    {
        // 2 rows and 4 columns of 24 x 100 cells, each its own colour.
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 96, 200)};
        image::Surface expected(image::rgb(0, 0, 0), 96, 96);
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 4; ++c) {
                fillRect(run.work, 24 * c, 100 * r, 24, 100, rgb(10 + r, 50 + c, 90));
                fillRect(expected, 24 * c, 48 * r, 24, 48, rgb(10 + r, 50 + c, 90));
            }
        }
        run.scratch2 = image::Surface(image::rgb(0, 0, 0), 4, 4);
        fillRect(run.scratch2, 0, 0, 4, 4, rgb(9, 9, 9));

        QCOMPARE(run.npc("2", "4", 24, 48).kind, ops::Outcome::Kind::Changed);
        COMPARE_SURFACES(run.work, expected);
        QCOMPARE(image::GetPixel(run.work, 48, 48), rgb(11, 52, 90));
        QCOMPARE(run.progress.milestones, QList<int>({0, 40, 70}));
        // Both scratch surfaces end cleared; the first keeps the new sheet's size.
        QCOMPARE(countDiff(run.scratch, image::Surface(image::rgb(0, 0, 0), 96, 96)), 0);
        QCOMPARE(countDiff(run.scratch2, image::Surface(image::rgb(0, 0, 0), 4, 4)), 0);
    }

    void thirdsStartAtRoundedPositions()
    {
        // 100 columns of their own colour, 3 cells 33 wide kept at 33: a plain copy of
        // the columns 0-32, 33-65 and 67-99.
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 100, 1)};
        for (int x = 0; x < 100; ++x)
            image::SetPixel(run.work, x, 0, rgb(x + 1, 100, 100));
        QCOMPARE(run.npc("1", "3", 33, 1).kind, ops::Outcome::Kind::Changed);
        QCOMPARE(run.work.width(), 99);
        const int starts[] = {0, 33, 67};
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 33; ++i)
                QCOMPARE(image::GetPixel(run.work, 33 * c + i, 0), rgb(starts[c] + i + 1, 100, 100));
    }

    void pixelsPastTheSheetBecomeNearBlack_data()
    {
        QTest::addColumn<int>("scratchWidth");
        QTest::newRow("scratch of the new size") << 76;
        QTest::newRow("scratch of another size") << 80;
    }

    void pixelsPastTheSheetBecomeNearBlack()
    {
        // 75 wide in 2 columns: the second cell reads 38 columns from 38, one past the edge.
        QFETCH(int, scratchWidth);
        // The scratch still holds an earlier picture, which must not show through.
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 75, 2)};
        fillRect(run.work, 0, 0, 75, 2, rgb(255, 255, 255));
        run.scratch = image::Surface(image::rgb(0, 0, 0), scratchWidth, 2);
        fillRect(run.scratch, 0, 0, scratchWidth, 2, rgb(255, 255, 255));
        run.npc("1", "2", 38, 2);
        QCOMPARE(run.work.width(), 76);
        for (int x = 0; x < 76; ++x)
            QCOMPARE(image::GetPixel(run.work, x, 1), x == 75 ? kNearBlack : rgb(255, 255, 255));
    }

    void partOfTheSheetWithoutCellsIsNearBlack()
    {
        // 1.5 columns make one cell column in a sheet 1.5 cells wide.
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 4, 1)};
        fillRect(run.work, 0, 0, 4, 1, rgb(255, 255, 255));
        run.scratch = image::Surface(image::rgb(0, 0, 0), 3, 1);
        fillRect(run.scratch, 0, 0, 3, 1, rgb(255, 255, 255));
        run.npc("1", "1.5", 2, 1);
        QCOMPARE(run.work.width(), 3);
        QCOMPARE(image::GetPixel(run.work, 1, 0), rgb(255, 255, 255));
        QCOMPARE(image::GetPixel(run.work, 2, 0), kNearBlack);
    }

    void onlyPureBlackChanges_data()
    {
        QTest::addColumn<image::Colour>("colour");
        QTest::addColumn<image::Colour>("result");
        QTest::newRow("black") << rgb(0, 0, 0) << kNearBlack;
        QTest::newRow("almost black") << rgb(0, 0, 1) << rgb(0, 0, 1);
        QTest::newRow("near black") << kNearBlack << kNearBlack;
        QTest::newRow("white") << rgb(255, 255, 255) << rgb(255, 255, 255);
    }

    void onlyPureBlackChanges()
    {
        QFETCH(image::Colour, colour);
        QFETCH(image::Colour, result);
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 2, 2)};
        fillRect(run.work, 0, 0, 2, 2, colour);
        run.npc("1", "1", 2, 2);
        QCOMPARE(image::GetPixel(run.work, 1, 1), result);
    }

    void cellsOfTheirSizeOnlyLoseBlack()
    {
        const quint32 seed = 7031;
        QRandomGenerator random(seed);
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 48, 96)};
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 48; ++x)
                image::SetPixel(run.work, x, y,
                                image::Colour::fromBgr(random.bounded(4) == 0 ? 0 : random.bounded(1u << 24)));
        image::Surface expected = run.work;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 48; ++x)
                if (image::GetPixel(expected, x, y) == rgb(0, 0, 0))
                    image::SetPixel(expected, x, y, kNearBlack);

        run.npc("2", "2", 24, 48);
        QVERIFY2(countDiff(run.work, expected) == 0, qPrintable(QStringLiteral("seed %1").arg(seed)));
    }

    void nothingCountableIsOne_data()
    {
        QTest::addColumn<QString>("sprites");
        QTest::addColumn<QString>("columns");
        QTest::newRow("0 sprites") << "0"
                                   << "1";
        QTest::newRow("abc columns") << "1"
                                     << "abc";
        QTest::newRow("both") << "abc"
                              << "0";
    }

    void nothingCountableIsOne()
    {
        QFETCH(QString, sprites);
        QFETCH(QString, columns);
        // The whole 4 x 6 sheet shrinks into one 2 x 3 cell.
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 4, 6)};
        fillRect(run.work, 0, 0, 4, 6, rgb(1, 2, 3));
        run.npc(sprites, columns, 2, 3);
        image::Surface expected(image::rgb(0, 0, 0), 2, 3);
        fillRect(expected, 0, 0, 2, 3, rgb(1, 2, 3));
        COMPARE_SURFACES(run.work, expected);
    }

    void typeMismatchLeavesTheSheet_data()
    {
        QTest::addColumn<QString>("sprites");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<int>("scratchHeight");
        QTest::newRow("sprites") << "3x"
                                 << "2" << 0;
        QTest::newRow("columns, after the height") << "3"
                                                   << "2x" << 3 * 48;
    }

    void typeMismatchLeavesTheSheet()
    {
        QFETCH(QString, sprites);
        QFETCH(QString, columns);
        QFETCH(int, scratchHeight);
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 8, 8)};
        fillRect(run.work, 2, 2, 3, 3, rgb(5, 6, 7));
        const image::Surface before = run.work;

        const ops::Outcome outcome = run.npc(sprites, columns, 24, 48);
        QCOMPARE(outcome.kind, ops::Outcome::Kind::Failed);
        QCOMPARE(outcome.message, settings::typeMismatchText());
        COMPARE_SURFACES(run.work, before);
        QCOMPARE(run.progress.milestones, QList<int>({0}));
        QCOMPARE(run.scratch.height(), scratchHeight);
    }

    void impossibleSizesFail_data()
    {
        QTest::addColumn<QString>("sprites");
        QTest::addColumn<QString>("columns");
        QTest::newRow("negative sprites") << "-2"
                                          << "1";
        QTest::newRow("negative columns") << "1"
                                          << "-2";
    }

    void impossibleSizesFail()
    {
        QFETCH(QString, sprites);
        QFETCH(QString, columns);
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 8, 8)};
        fillRect(run.work, 1, 1, 2, 2, rgb(5, 6, 7));
        const image::Surface before = run.work;
        const ops::Outcome outcome = run.npc(sprites, columns, 24, 48);
        QCOMPARE(outcome.kind, ops::Outcome::Kind::Failed);
        QVERIFY(!outcome.message.isEmpty());
        COMPARE_SURFACES(run.work, before);
    }

    // The black pass runs while the bar shows 40; 70 follows it.
    void blackPassBetweenFortyAndSeventy()
    {
        SheetRun run{image::Surface(image::rgb(0, 0, 0), 2, 2)};
        QList<image::Colour> seen;
        run.progress.onReached = [&](int percent) {
            if (percent == 40 || percent == 70)
                seen << image::GetPixel(run.scratch, 0, 0);
        };
        QCOMPARE(run.npc("1", "1", 2, 2).kind, ops::Outcome::Kind::Changed);
        QCOMPARE(seen, QList<image::Colour>({rgb(0, 0, 0), kNearBlack}));
    }

    void cellsBelowAPixelAreRefused_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("no width") << 0.0 << 48;
        QTest::newRow("no height") << 24.0 << 0;
        QTest::newRow("negative height") << 24.0 << -5;
    }

    void cellsBelowAPixelAreRefused()
    {
        QFETCH(double, width);
        QFETCH(int, height);
        const settings::SpriteSize size{width, qint16(height)};
        QVERIFY(!ops::checkSpriteSize(size));

        SheetRun run{image::Surface(image::rgb(0, 0, 0), 8, 8)};
        const ops::Outcome outcome = run.npc("1", "1", width, qint16(height));
        QCOMPARE(outcome.kind, ops::Outcome::Kind::Refused);
        QCOMPARE(outcome.message, ops::checkSpriteSize(size).error());
        QVERIFY(run.progress.milestones.isEmpty());
        QCOMPARE(run.work.width(), 8);
        QVERIFY(ops::checkSpriteSize(settings::SpriteSize{1, 1}));
    }
};

QTEST_APPLESS_MAIN(tst_NpcConversion)
#include "npc_conversion_test.moc"
