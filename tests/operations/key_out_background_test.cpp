// SPDX-License-Identifier: MIT
#include "operations/key_out_background.h"
#include "image/pixel_text.h"
#include "sheet_fixtures.h"

#include <QRandomGenerator>
#include <QTest>

#include <queue>
#include <vector>

using Kind = ops::Outcome::Kind;
using pixel_text::colourOf;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

// 'w' is the background of every sheet below, 'k' the key. 'v', 'u' and 't' lie within
// 1, 2 and 3 of 'w' on every channel (pixel_text's colours: red the character's code,
// green the code ^ 0x5A).
const image::Colour kKey = colourOf(u'k');

// The rule pixel by pixel: from every border pixel of each cell, the background's
// pixels reached through the four neighbours inside the cell.
image::Surface keyedByRule(const image::Surface& sheet, int tolerance, const std::vector<int>& columnEdges,
                           const std::vector<int>& rowEdges)
{
    const image::Colour background = image::GetPixel(sheet, 0, 0);
    const auto near = [&](int x, int y) {
        const image::Colour c = image::GetPixel(sheet, x, y);
        return std::abs(c.red() - background.red()) <= tolerance
            && std::abs(c.green() - background.green()) <= tolerance
            && std::abs(c.blue() - background.blue()) <= tolerance;
    };
    const auto cellOf = [](const std::vector<int>& edges, int at) {
        int cell = 0;
        for (const int edge : edges)
            cell += at >= edge;
        return cell;
    };
    image::Surface result = sheet;
    std::vector<char> seen(size_t(sheet.width()) * sheet.height(), 0);
    std::queue<QPoint> reached;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            const bool border = x == 0 || y == 0 || x == sheet.width() - 1 || y == sheet.height() - 1
                || cellOf(columnEdges, x - 1) != cellOf(columnEdges, x)
                || cellOf(columnEdges, x + 1) != cellOf(columnEdges, x)
                || cellOf(rowEdges, y - 1) != cellOf(rowEdges, y) || cellOf(rowEdges, y + 1) != cellOf(rowEdges, y);
            if (border && near(x, y)) {
                seen[size_t(y) * sheet.width() + x] = 1;
                reached.push({x, y});
            }
        }
    while (!reached.empty()) {
        const QPoint p = reached.front();
        reached.pop();
        image::SetPixel(result, p.x(), p.y(), kKey);
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + step;
            if (q.x() < 0 || q.y() < 0 || q.x() >= sheet.width() || q.y() >= sheet.height()
                || cellOf(columnEdges, q.x()) != cellOf(columnEdges, p.x())
                || cellOf(rowEdges, q.y()) != cellOf(rowEdges, p.y()))
                continue;
            char& mark = seen[size_t(q.y()) * sheet.width() + q.x()];
            if (!mark && near(q.x(), q.y())) {
                mark = 1;
                reached.push(q);
            }
        }
    }
    return result;
}

} // namespace

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
        QTest::newRow("tolerance 255 reaches all but the enclosed")
            << "wwwww|wrrrw|wrvrw|wrrrw|wwwww" << none << none << 255 << "kkkkk|kkkkk|kkkkk|kkkkk|kkkkk";
        QTest::newRow("one pixel") << "w" << none << none << 0 << "k";
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

    // The background is the key, but the fringe is not.
    void keyedFringeAroundAKeyBackground()
    {
        SheetRun run(pixel_text::surface("kkkk|kjrk|kkkk"));
        QCOMPARE(ops::keyOutBackground(run.work, kKey, 1, {}, run.progress).kind, Kind::Changed);
        QCOMPARE(pixel_text::text(run.work), QStringLiteral("kkkk|kkrk|kkkk"));
    }

    // Random sheets of background, fringe and sprite pixels in random grids, against
    // the rule pixel by pixel.
    void matchesTheRuleOnRandomSheets()
    {
        const quint32 seed = 20261208;
        QRandomGenerator random(seed);
        const QChar pixels[] = {u'w', u'w', u'w', u'v', u'u', u'r', u'x'};
        for (int round = 0; round < 200; ++round) {
            const int width = 1 + random.bounded(40);
            const int height = 1 + random.bounded(30);
            image::Surface sheet(image::rgb(0, 0, 0), width, height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    image::SetPixel(sheet, x, y, colourOf(pixels[random.bounded(7)]));
            for (const QPoint corner : {QPoint(0, 0), QPoint(width - 1, 0), QPoint(0, height - 1)})
                image::SetPixel(sheet, corner.x(), corner.y(), colourOf(u'w'));
            std::vector<int> columns, rows;
            for (int x = 1 + random.bounded(8); x < width; x += 1 + random.bounded(12))
                columns.push_back(x);
            for (int y = 1 + random.bounded(8); y < height; y += 1 + random.bounded(12))
                rows.push_back(y);
            const int tolerance = random.bounded(4);

            SheetRun run(sheet);
            ops::keyOutBackground(run.work, kKey, tolerance, {columns, rows}, run.progress);
            QString first;
            QVERIFY2(countDiff(run.work, keyedByRule(sheet, tolerance, columns, rows), &first) == 0,
                     qPrintable(QStringLiteral("seed %1, round %2: %3").arg(seed).arg(round).arg(first)));
        }
    }
};

QTEST_APPLESS_MAIN(tst_KeyOutBackground)
#include "key_out_background_test.moc"
