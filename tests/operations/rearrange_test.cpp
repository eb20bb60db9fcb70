// SPDX-License-Identifier: MIT
#include "operations/rearrange.h"
#include "sheet_fixtures.h"

#include <QTest>

using image::rgb;

namespace {

// Every row, and every pixel in it, has its own colour; none is black.
image::Surface rowSheet(int height)
{
    image::Surface sheet(image::rgb(0, 0, 0), 3, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < sheet.width(); ++x)
            image::SetPixel(sheet, x, y, rgb(y % 256, y / 256 + 1, 100 + x));
    return sheet;
}

struct Copy {
    int to;
    int rows;
    int from;
};

} // namespace

Q_DECLARE_METATYPE(QList<Copy>)

class tst_Rearrange : public QObject {
    Q_OBJECT

private slots:
    void orders_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QList<Copy>>("copies"); // rows of the result taken from the sheet; the rest black

        QTest::newRow("3,1,4,2") << 192 << "3,1,4,2"
                                 << QList<Copy>{{0, 48, 96}, {48, 48, 0}, {96, 48, 144}, {144, 48, 48}};
        QTest::newRow("swap halves") << 192 << "2,1" << QList<Copy>{{0, 96, 96}, {96, 96, 0}};
        QTest::newRow("identity") << 192 << "1,2,3,4" << QList<Copy>{{0, 192, 0}};
        QTest::newRow("thirds of 100: row 66 black") << 100 << "1,2,3" << QList<Copy>{{0, 66, 0}, {67, 33, 67}};
        QTest::newRow("empty entry skipped") << 192 << "2,,1" << QList<Copy>{{0, 96, 96}, {96, 96, 0}};
        QTest::newRow("beyond the sheet") << 192 << "3,1" << QList<Copy>{{96, 96, 0}};
        QTest::newRow("wholly below") << 192 << "5" << QList<Copy>{};
        QTest::newRow("repeat") << 192 << "1,1" << QList<Copy>{{0, 96, 0}, {96, 96, 0}};
        QTest::newRow("fraction") << 192 << "2.5,1,1,1"
                                  << QList<Copy>{{0, 48, 72}, {48, 48, 0}, {96, 48, 0}, {144, 48, 0}};
        QTest::newRow("spaces around") << 192 << " 2 , 1 " << QList<Copy>{{0, 96, 96}, {96, 96, 0}};
        QTest::newRow("a piece of spaces counts") << 192 << "1, ,2" << QList<Copy>{{0, 64, 0}, {128, 64, 64}};
    }

    void orders()
    {
        QFETCH(int, height);
        QFETCH(QString, answer);
        QFETCH(QList<Copy>, copies);

        image::Surface work = rowSheet(height);
        const image::Surface sheet = work;
        image::Surface expected(image::rgb(0, 0, 0), sheet.width(), height);
        for (const Copy& copy : copies)
            image::BitBlt(expected, 0, copy.to, sheet.width(), copy.rows, sheet, 0, copy.from);

        // A scratch of the sheet's size still holding an earlier picture: what it held
        // must not show through.
        image::Surface scratch(image::rgb(0, 0, 0), sheet.width(), height);
        fillRect(scratch, 0, 0, scratch.width(), height, rgb(255, 255, 255));
        RecordingProgress progress;
        QCOMPARE(ops::rearrangeRows(work, scratch, answer, progress).kind, ops::Outcome::Kind::Changed);
        COMPARE_SURFACES(work, expected);
        QCOMPARE(progress.milestones, QList<int>({0, 10, 80}));
    }

    void newScratchIsBlackWhereNoBandLands()
    {
        image::Surface work = rowSheet(100);
        image::Surface scratch(image::rgb(0, 0, 0), 5, 7);
        fillRect(scratch, 0, 0, 5, 7, rgb(255, 255, 255));
        ops::SilentProgress progress;
        ops::rearrangeRows(work, scratch, "1,2,3", progress);
        QCOMPARE(image::GetPixel(work, 0, 66), rgb(0, 0, 0));
        QCOMPARE(image::GetPixel(work, 2, 5), rgb(5, 1, 102));
    }

    void commasOnlyChangeNothing()
    {
        image::Surface work = rowSheet(12);
        const image::Surface before = work;
        image::Surface scratch(image::rgb(0, 0, 0));
        RecordingProgress progress;
        QCOMPARE(ops::rearrangeRows(work, scratch, ",,,", progress).kind, ops::Outcome::Kind::Unchanged);
        COMPARE_SURFACES(work, before);
        QVERIFY(progress.milestones.isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_Rearrange)
#include "rearrange_test.moc"
