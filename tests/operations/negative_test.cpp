// SPDX-License-Identifier: MIT
#include "operations/negative.h"
#include "image/pixel_round.h"
#include "settings/number_text.h"
#include "sheet_fixtures.h"

#include <QRandomGenerator>
#include <QTest>

using image::rgb;

namespace {

const image::Colour kBlack = rgb(0, 0, 0);
const image::Colour kWhite = rgb(255, 255, 255);
const image::Colour kGrey = rgb(200, 200, 200);

// Black wherever (x + y) is a multiple of 3, elsewhere a colour of its own.
image::Surface patternSheet(int width, int height)
{
    image::Surface sheet(kGrey, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image::SetPixel(sheet, x, y, (x + y) % 3 == 0 ? kBlack : rgb(x + 1, y + 1, 5));
    return sheet;
}

// The negative made one pixel at a time, exactly in the order of its steps.
void negativeByPixels(image::Surface& work, image::Surface& scratch, image::Surface& scratch2, double n)
{
    using image::roundToPixel;
    const int height = work.height();
    scratch.clear();
    scratch2.clear();
    const double w = work.width() / n;
    const int wide = roundToPixel(float(2 * (n * w)));
    work.resize(wide, work.height());
    scratch.setHeight(height);
    scratch2.setHeight(height);
    scratch.resize(wide, scratch.height());
    scratch2.resize(wide, scratch2.height());
    for (double k = 0; k <= n - 1; ++k) {
        scratch.clear();
        image::BitBlt(scratch, 0, 0, roundToPixel(w), height, work, roundToPixel(k * w), 0);
        for (int x = 0; x < roundToPixel(w); ++x)
            for (int y = 0; y < height; ++y)
                image::SetPixel(scratch, roundToPixel(w) + x, y,
                                image::GetPixel(scratch, x, y) == kBlack ? kWhite : kBlack);
        image::BitBlt(scratch2, roundToPixel(k * (2 * w)), 0, roundToPixel(2 * w), height, scratch, 0, 0);
    }
    work.clear();
    image::BitBlt(work, 0, 0, roundToPixel(2 * (n * w)), height, scratch2, 0, 0);
}

} // namespace

class tst_Negative : public QObject {
    Q_OBJECT

private slots:
    void fourStripsOf24()
    {
        SheetRun run{patternSheet(96, 5)};
        const image::Surface sheet = run.work;
        QCOMPARE(run.negative("4").kind, ops::Outcome::Kind::Changed);
        QCOMPARE(run.work.width(), 192);
        QCOMPARE(run.work.height(), 5);
        for (int k = 0; k < 4; ++k) {
            for (int i = 0; i < 24; ++i) {
                for (int y = 0; y < 5; ++y) {
                    const image::Colour original = image::GetPixel(sheet, 24 * k + i, y);
                    QCOMPARE(image::GetPixel(run.work, 48 * k + i, y), original);
                    QCOMPARE(image::GetPixel(run.work, 48 * k + 24 + i, y), original == kBlack ? kWhite : kBlack);
                }
            }
        }
        QCOMPARE(run.progress.milestones, QList<int>({0, 20, 70}));
    }

    void middleMarkHalfwayForAnOddCount()
    {
        // Three strips of 32; the blocks are made row by row, 50 when half the rows are.
        SheetRun run{image::Surface(kGrey, 96, 4)};
        fillRect(run.work, 0, 0, 96, 4, rgb(9, 9, 9));
        QList<image::Colour> seen;
        run.progress.onReached = [&](int percent) {
            if (percent == 50)
                seen = {image::GetPixel(run.scratch2, 64, 1), image::GetPixel(run.scratch2, 64, 2)};
        };
        run.negative("3");
        QCOMPARE(run.progress.milestones, QList<int>({0, 20, 50, 70}));
        QCOMPARE(seen, QList<image::Colour>({rgb(9, 9, 9), kBlack}));
    }

    void negativePixel_data()
    {
        QTest::addColumn<image::Colour>("colour");
        QTest::addColumn<image::Colour>("negative");
        QTest::newRow("black") << rgb(0, 0, 0) << kWhite;
        QTest::newRow("almost black") << rgb(0, 0, 1) << rgb(0, 0, 0);
        QTest::newRow("white") << kWhite << rgb(0, 0, 0);
    }

    void negativePixel()
    {
        QFETCH(image::Colour, colour);
        QFETCH(image::Colour, negative);
        SheetRun run{image::Surface(kGrey, 1, 1)};
        image::SetPixel(run.work, 0, 0, colour);
        run.negative("1");
        QCOMPARE(run.work.width(), 2);
        QCOMPARE(image::GetPixel(run.work, 0, 0), colour);
        QCOMPARE(image::GetPixel(run.work, 1, 0), negative);
    }

    void nothingCountableIsOneColumn_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("0") << "0";
        QTest::newRow("abc") << "abc";
    }

    void nothingCountableIsOneColumn()
    {
        QFETCH(QString, answer);
        SheetRun run{patternSheet(7, 3)};
        image::Surface expected = patternSheet(14, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                image::SetPixel(expected, 7 + x, y, (x + y) % 3 == 0 ? kWhite : kBlack);
        run.negative(answer);
        COMPARE_SURFACES(run.work, expected);
        QCOMPARE(run.progress.milestones, QList<int>({0, 20, 50, 70}));
    }

    void halfPixelStripsLeaveNoGapInTheNegative()
    {
        // 5 wide in 2: strips of 2 read from 0 and 2, blocks of 5 at 0 and 5; the
        // negative follows each strip at once, the block's last column stays black.
        SheetRun run{image::Surface(kGrey, 5, 1)};
        fillRect(run.work, 0, 0, 5, 1, kBlack);
        run.negative("2");
        QList<image::Colour> row;
        for (int x = 0; x < run.work.width(); ++x)
            row.append(image::GetPixel(run.work, x, 0));
        const image::Colour b = kBlack, w = kWhite;
        QCOMPARE(row, QList<image::Colour>({b, b, w, w, b, b, b, w, w, b}));
    }

    void sameAsPixelByPixel()
    {
        // Fractional strips, and strips reading the widened sheet's grey, all as the
        // steps make them one pixel at a time; the scratch surfaces included.
        const quint32 seed = 4242;
        QRandomGenerator random(seed);
        const double counts[] = {1, 1.5, 2, 2.5, 3, 3.7, 4, 6, 9};
        for (int width = 1; width <= 9; ++width) {
            for (double n : counts) {
                if (n > width)
                    continue;
                image::Surface sheet(kGrey, width, 3);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        image::SetPixel(sheet, x, y, random.bounded(2) ? kBlack : rgb(1, 2, random.bounded(256)));
                // Scratch surfaces left white by earlier work, the result's size or not.
                SheetRun run{sheet};
                const int scratchWidth = width % 2 ? 3 : 2 * width;
                run.scratch = image::Surface(image::rgb(0, 0, 0), scratchWidth, 3);
                fillRect(run.scratch, 0, 0, scratchWidth, 3, kWhite);
                run.scratch2 = run.scratch;
                image::Surface work = sheet, scratch = run.scratch, scratch2 = run.scratch;

                run.negative(QString::number(n));
                negativeByPixels(work, scratch, scratch2, n);
                const QString where = QStringLiteral("width %1, count %2, seed %3").arg(width).arg(n).arg(seed);
                QVERIFY2(countDiff(run.work, work) == 0, qPrintable(where));
                QVERIFY2(countDiff(run.scratch, scratch) == 0, qPrintable(where));
                QVERIFY2(countDiff(run.scratch2, scratch2) == 0, qPrintable(where));
            }
        }
    }

    void countsOutsideTheSheetAreRefused_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("half") << "0.5";
        QTest::newRow("negative") << "-2";
        QTest::newRow("wider than the sheet") << "97";
    }

    void countsOutsideTheSheetAreRefused()
    {
        QFETCH(QString, answer);
        SheetRun run{patternSheet(96, 2)};
        const image::Surface before = run.work;
        const ops::Outcome outcome = run.negative(answer);
        QCOMPARE(outcome.kind, ops::Outcome::Kind::Refused);
        QVERIFY(outcome.message.contains(QLatin1String("1 to 96")));
        QVERIFY(run.progress.milestones.isEmpty());
        COMPARE_SURFACES(run.work, before);
    }

    void typeMismatchLeavesTheSheet()
    {
        SheetRun run{patternSheet(12, 2)};
        const image::Surface before = run.work;
        run.scratch = image::Surface(image::rgb(0, 0, 0), 2, 2);
        fillRect(run.scratch, 0, 0, 2, 2, kWhite);
        const ops::Outcome outcome = run.negative("3x");
        QCOMPARE(outcome.kind, ops::Outcome::Kind::Failed);
        QCOMPARE(outcome.message, settings::typeMismatchText());
        QCOMPARE(run.progress.milestones, QList<int>({0}));
        COMPARE_SURFACES(run.work, before);
        QCOMPARE(image::GetPixel(run.scratch, 1, 1), rgb(0, 0, 0));
    }
};

QTEST_APPLESS_MAIN(tst_Negative)
#include "negative_test.moc"
