// SPDX-License-Identifier: MIT
#include "operations/key_out_background.h"
#include "image/pixel_text.h"
#include "sheet_fixtures.h"

#include <QTest>

#include <vector>

using Kind = ops::Outcome::Kind;
using pixel_text::colourOf;

Q_DECLARE_METATYPE(std::vector<int>)

// 'w' is the background of the sheets below, 'k' the key. 'v', 'u' and 't' lie within
// 1, 2 and 3 of 'w' on every channel (pixel_text's colours: red the character's code,
// green the code ^ 0x5A).
const image::Colour kKey = colourOf(u'k');

class tst_KeyOutBackground : public QObject {
    Q_OBJECT

private slots:
    void keysWhatReachesTheBorder_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<std::vector<int>>("columns");
        QTest::addColumn<std::vector<int>>("rows");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<QString>("expected");

        const std::vector<int> none;
        QTest::newRow("an eye inside keeps its colour")
            << "wwwww|wrrrw|wrwrw|wrrrw|wwwww" << none << none << 0 << "kkkkk|krrrk|krwrk|krrrk|kkkkk";
        QTest::newRow("a corner does not join")
            << "wrwww|rwrww|wrwww|wwwww" << none << none << 0 << "krkkk|rwrkk|krkkk|kkkkk";
        QTest::newRow("a spiral reaches the border rows later")
            << "wwwwwww|wrrrrrw|wrwwwrw|wrwrwrw|wrwrrrw|wrwwwww|wrrrrrw" << none << none << 0
            << "kkkkkkk|krrrrrk|krkkkrk|krkrkrk|krkrrrk|krkkkkk|krrrrrk";
        QTest::newRow("a hole that opens to the bottom")
            << "wwwww|wrrrw|wrwrw|wrwrw|wwwww" << none << none << 0 << "kkkkk|krrrk|krkrk|krkrk|kkkkk";
        const QString bridged = "wwwwwwww|wrrrrrrw|wrwwwwrw|wrrrrrrw|wwwwwwww";
        QTest::newRow("enclosed in the sheet")
            << bridged << none << none << 0 << "kkkkkkkk|krrrrrrk|krwwwwrk|krrrrrrk|kkkkkkkk";
        QTest::newRow("a cell's edge is its border")
            << bridged << std::vector<int>{4} << none << 0 << "kkkkkkkk|krrrrrrk|krkkkkrk|krrrrrrk|kkkkkkkk";
        QTest::newRow("edges outside or out of order are left out")
            << bridged << std::vector<int>{0, 99, 4, 2, -3} << none << 0
            << "kkkkkkkk|krrrrrrk|krkkkkrk|krrrrrrk|kkkkkkkk";
        QTest::newRow("a row of cells' edge") << "wwwww|wrrrw|wrwrw|wrwrw|wrrrw|wwwww" << none << std::vector<int>{3}
                                              << 0 << "kkkkk|krrrk|krkrk|krkrk|krrrk|kkkkk";
        const QString fringe = "wwwwww|wvrvrw|wurtrw|wrrrrw|wrvrww|wrrrrw|wwwwww";
        QTest::newRow("exact") << fringe << none << none << 0 << "kkkkkk|kvrvrk|kurtrk|krrrrk|krvrkk|krrrrk|kkkkkk";
        QTest::newRow("tolerance 1") << fringe << none << none << 1
                                     << "kkkkkk|kkrkrk|kurtrk|krrrrk|krvrkk|krrrrk|kkkkkk";
        QTest::newRow("tolerance 2") << fringe << none << none << 2
                                     << "kkkkkk|kkrkrk|kkrtrk|krrrrk|krvrkk|krrrrk|kkkkkk";
        QTest::newRow("tolerance 255 reaches every pixel")
            << "wwwww|wrrrw|wrvrw|wrrrw|wwwww" << none << none << 255 << "kkkkk|kkkkk|kkkkk|kkkkk|kkkkk";
        QTest::newRow("one pixel") << "w" << none << none << 0 << "k";
        QTest::newRow("the background is the key, the fringe not")
            << "kkkk|kjrk|kkkk" << none << none << 1 << "kkkk|kkrk|kkkk";
    }
    void keysWhatReachesTheBorder()
    {
        QFETCH(QString, sheet);
        QFETCH(std::vector<int>, columns);
        QFETCH(std::vector<int>, rows);
        QFETCH(int, tolerance);
        QFETCH(QString, expected);

        SheetRun run(pixel_text::surface(sheet));
        const QImage undoStep = run.work.picture(); // shares the pixels, as the history does
        const ops::Outcome outcome = ops::keyOutBackground(run.work, kKey, tolerance, {columns, rows}, run.progress);
        QCOMPARE(outcome.kind, Kind::Changed);
        QCOMPARE(pixel_text::text(run.work), expected);
        QCOMPARE(run.progress.milestones, QList<int>({0, 80}));
        QCOMPARE(undoStep, pixel_text::surface(sheet).picture());
    }

    void refusesOrLeavesAlone_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<int>("kind");
        QTest::newRow("no three corners alike") << "wrw|rrr|xrk" << 0 << int(Kind::Refused);
        QTest::newRow("two and two") << "wrx|rrr|wrx" << 0 << int(Kind::Refused);
        QTest::newRow("tolerance below 0") << "www|wrw|www" << -1 << int(Kind::Refused);
        QTest::newRow("tolerance above 255") << "www|wrw|www" << 256 << int(Kind::Refused);
        QTest::newRow("the background is the key") << "kkk|krk|kkk" << 0 << int(Kind::Unchanged);
    }
    void refusesOrLeavesAlone()
    {
        QFETCH(QString, sheet);
        QFETCH(int, tolerance);
        QFETCH(int, kind);
        SheetRun run(pixel_text::surface(sheet));
        const ops::Outcome outcome = ops::keyOutBackground(run.work, kKey, tolerance, {}, run.progress);
        QCOMPARE(int(outcome.kind), kind);
        QCOMPARE(outcome.message.isEmpty(), outcome.kind != Kind::Refused);
        QCOMPARE(pixel_text::text(run.work), sheet);
        QVERIFY(run.progress.milestones.isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_KeyOutBackground)
#include "key_out_background_test.moc"
