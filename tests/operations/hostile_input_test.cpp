// SPDX-License-Identifier: MIT
// Sheets of extreme shapes and answers nobody means to type, through every operation:
// each ends with its defined result or a message, never a crash or a runaway.
#include "operations/colour_replace.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/operation_table.h"
#include "operations/rearrange.h"
#include "sheet_fixtures.h"

#include <QElapsedTimer>
#include <QTest>

using image::Colour;
using image::rgb;
using Kind = ops::Outcome::Kind;

namespace {

const Colour kBlack = rgb(0, 0, 0);
const Colour kWhite = rgb(255, 255, 255);
const Colour kNearBlack = rgb(20, 20, 20);

// One operation, named by its pixmold-batch option, with its answers as the window
// gathers them: the prompts' texts, then for an operation that picks a colour the
// colours picked and chosen as hexadecimal 0xBBGGRR, else the cell width and height.
ops::Outcome runOperation(SheetRun& sheet, const QString& option, const QStringList& answers)
{
    const ops::Operation& operation = *ops::operationForOption(option);
    const qsizetype prompts = operation.window.prompts.size();
    ops::WindowAnswers given{answers.mid(0, prompts), {}, std::nullopt};
    ops::OperationSettings settings;
    if (operation.window.picksColour) {
        given.picked = Colour::fromBgr(answers[prompts].toUInt(nullptr, 16));
        given.chosen = Colour::fromBgr(answers[prompts + 1].toUInt(nullptr, 16));
    } else if (answers.size() > prompts) {
        settings.spriteSize = {answers[prompts].toDouble(), qint16(answers[prompts + 1].toInt())};
    }
    return sheet.run(operation, given, settings);
}

// Colour of pixel i of the test strips: every one its own, every seventh black.
Colour stripColour(int i)
{
    return i % 7 == 3 ? kBlack : rgb(i % 251 + 1, i / 251 % 251, 77);
}

image::Surface strip(int width, int height)
{
    image::Surface sheet(kWhite, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image::SetPixel(sheet, x, y, stripColour(x + y));
    return sheet;
}

// What the results are, from the sheet and the meaning of each operation.
enum class Expect { Same, BlackToNearBlack, EachColumnAndItsNegative, HalvesSwapped, AllBlack, Recoloured, Mirrored };

image::Surface expected(const image::Surface& sheet, Expect expect)
{
    const int w = sheet.width();
    const int h = sheet.height();
    image::Surface result = sheet;
    switch (expect) {
    case Expect::Same:
        break;
    case Expect::BlackToNearBlack:
    case Expect::Recoloured:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (image::GetPixel(sheet, x, y) == kBlack)
                    image::SetPixel(result, x, y, expect == Expect::Recoloured ? kWhite : kNearBlack);
        break;
    case Expect::EachColumnAndItsNegative:
        result = image::Surface(kBlack, 2 * w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Colour c = image::GetPixel(sheet, x, y);
                image::SetPixel(result, 2 * x, y, c);
                image::SetPixel(result, 2 * x + 1, y, c == kBlack ? kWhite : kBlack);
            }
        }
        break;
    case Expect::HalvesSwapped:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image::SetPixel(result, x, (y + h / 2) % h, image::GetPixel(sheet, x, y));
        break;
    case Expect::AllBlack:
        fillRect(result, 0, 0, w, h, kBlack);
        break;
    case Expect::Mirrored:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image::SetPixel(result, w - 1 - x, y, image::GetPixel(sheet, x, y));
        break;
    }
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Expect)

class tst_HostileInput : public QObject {
    Q_OBJECT

private slots:
    void extremeShapes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<Expect>("expect");

        const QString blackToWhite = "0,ffffff";
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1, 20000}, std::pair{20000, 1}}) {
            const QString shape = QStringLiteral("%1x%2 ").arg(w).arg(h);
            const QString rows = QString::number(h);
            const QString columns = QString::number(w);
            QTest::newRow(qPrintable(shape + "npc, one pixel a cell"))
                << w << h << "npc" << QStringList{rows, columns, "1", "1"} << Expect::BlackToNearBlack;
            QTest::newRow(qPrintable(shape + "npc, one cell the sheet's size"))
                << w << h << "npc" << QStringList{"1", "1", columns, rows} << Expect::BlackToNearBlack;
            QTest::newRow(qPrintable(shape + "negative, a column a pixel"))
                << w << h << "negative" << QStringList{columns} << Expect::EachColumnAndItsNegative;
            QTest::newRow(qPrintable(shape + "re-arrange 1"))
                << w << h << "rearrange" << QStringList{"1"} << Expect::Same;
            QTest::newRow(qPrintable(shape + "re-arrange below the sheet"))
                << w << h << "rearrange" << QStringList{"2"} << Expect::AllBlack;
            QTest::newRow(qPrintable(shape + "mirror, a column a pixel"))
                << w << h << "mirror" << QStringList{columns} << Expect::Same;
            QTest::newRow(qPrintable(shape + "mirror, one cell"))
                << w << h << "mirror" << QStringList{"1"} << Expect::Mirrored;
            QTest::newRow(qPrintable(shape + "colour"))
                << w << h << "replace" << blackToWhite.split(',') << Expect::Recoloured;
        }
        QTest::newRow("1x20000 re-arrange 2,1")
            << 1 << 20000 << "rearrange" << QStringList{"2,1"} << Expect::HalvesSwapped;
    }

    void extremeShapes()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, operation);
        QFETCH(QStringList, answers);
        QFETCH(Expect, expect);

        SheetRun run{strip(width, height)};
        const image::Surface sheet = run.work;
        const ops::Outcome outcome = runOperation(run, operation, answers);
        QVERIFY2(outcome.kind == Kind::Changed, qPrintable(outcome.message));
        COMPARE_SURFACES(run.work, expected(sheet, expect));
    }

    // Each answer gives the result of a plain answer, or a message with the sheet unchanged.
    void absurdCounts_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("asked"); // which answer takes the text
        QTest::addColumn<QString>("text");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("sameAs"); // the plain answer it acts as, for Changed

        struct Row {
            const char* text;
            Kind npc;
            Kind negative;
            const char* sameAs; // where it counts as 1 (no number at its start)
        };
        const Row rows[] = {
            {"1e308", Kind::Refused, Kind::Refused, nullptr}, {"-1e308", Kind::Failed, Kind::Refused, nullptr},
            {"1e999", Kind::Refused, Kind::Refused, nullptr}, {"&HFFFFFFFF", Kind::Refused, Kind::Refused, nullptr},
            {"nan", Kind::Changed, Kind::Changed, "1"},       {"NaN", Kind::Changed, Kind::Changed, "1"},
            {"inf", Kind::Changed, Kind::Changed, "1"},       {"-Infinity", Kind::Changed, Kind::Changed, "1"},
        };
        for (const Row& row : rows) {
            const QString sameAs = row.sameAs ? row.sameAs : "";
            QTest::newRow(qPrintable(QStringLiteral("npc sprites %1").arg(row.text)))
                << "npc" << 0 << row.text << row.npc << sameAs;
            QTest::newRow(qPrintable(QStringLiteral("npc columns %1").arg(row.text)))
                << "npc" << 1 << row.text << row.npc << sameAs;
            QTest::newRow(qPrintable(QStringLiteral("negative %1").arg(row.text)))
                << "negative" << 0 << row.text << row.negative << sameAs;
            // No count beyond the width divides it.
            QTest::newRow(qPrintable(QStringLiteral("mirror %1").arg(row.text)))
                << "mirror" << 0 << row.text << (row.sameAs ? Kind::Changed : Kind::Refused) << sameAs;
            // A band number far outside the sheet selects nothing: the one band is black.
            QTest::newRow(qPrintable(QStringLiteral("re-arrange %1").arg(row.text)))
                << "rearrange" << 0 << row.text << Kind::Changed << "5";
        }
    }

    void absurdCounts()
    {
        QFETCH(QString, operation);
        QFETCH(int, asked);
        QFETCH(QString, text);
        QFETCH(Kind, kind);
        QFETCH(QString, sameAs);

        const QStringList plain = operation == "npc" ? QStringList{"2", "3", "4", "5"} : QStringList{"2"};
        SheetRun run{strip(12, 10)};
        const image::Surface sheet = run.work;
        QStringList answers = plain;
        answers[asked] = text;
        const ops::Outcome outcome = runOperation(run, operation, answers);
        QCOMPARE(outcome.kind, kind);

        if (kind == Kind::Changed) {
            SheetRun reference{sheet};
            answers[asked] = sameAs;
            QCOMPARE(runOperation(reference, operation, answers).kind, Kind::Changed);
            COMPARE_SURFACES(run.work, reference.work);
        } else {
            QVERIFY(!outcome.message.isEmpty());
            COMPARE_SURFACES(run.work, sheet);
        }
    }

    // A new sheet without pixels or above the surface limit is refused before anything
    // changes, and at once: the pixel work on such answers took over a minute.
    void emptyOrAbsurdSheetsAreRefused_data()
    {
        QTest::addColumn<QString>("sprites");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<double>("cellWidth");
        QTest::addColumn<int>("cellHeight");
        QTest::addColumn<QString>("size"); // as the message names it

        QTest::newRow("no width, 2^31 rows") << "100000000"
                                             << "0.01" << 24.0 << 48 << "0 x 4800000000";
        QTest::newRow("no height") << "0.001"
                                   << "1" << 24.0 << 48 << "24 x 0";
        QTest::newRow("height just below a pixel") << "-0.001"
                                                   << "1" << 24.0 << 48 << "24 x 0";
        QTest::newRow("a half pixel rounds to none") << "1"
                                                     << "0.5" << 1.0 << 48 << "0 x 48";
        QTest::newRow("too many pixels") << "100000"
                                         << "100000" << 24.0 << 48 << "2400000 x 4800000";
        QTest::newRow("just above the limit") << "1"
                                              << "16385" << 1.0 << 16384 << "16385 x 16384";
        QTest::newRow("rows beyond any integer") << "1e308"
                                                 << "2" << 24.0 << 48 << QStringLiteral("48 x \u221E");
        QTest::newRow("columns beyond any integer") << "2"
                                                    << "1e300" << 24.0 << 48 << "2.4e+301 x 96";
        QTest::newRow("huge cell") << "1"
                                   << "1" << 1e9 << 32767 << "1000000000 x 32767";
    }

    void emptyOrAbsurdSheetsAreRefused()
    {
        QFETCH(QString, sprites);
        QFETCH(QString, columns);
        QFETCH(double, cellWidth);
        QFETCH(int, cellHeight);
        QFETCH(QString, size);

        SheetRun run{strip(1024, 1024)};
        run.scratch = strip(5, 7);
        run.scratch2 = strip(3, 2);
        const SheetRun before = run;
        QElapsedTimer clock;
        clock.start();
        const ops::Outcome outcome = run.npc(sprites, columns, cellWidth, qint16(cellHeight));
        QVERIFY2(clock.elapsed() < 10000, "a refusal must come before the pixel work");
        QCOMPARE(outcome.kind, Kind::Refused);
        QVERIFY2(outcome.message.contains(size), qPrintable(outcome.message));
        QVERIFY(run.progress.milestones.isEmpty());
        COMPARE_SURFACES(run.work, before.work);
        COMPARE_SURFACES(run.scratch, before.scratch);
        COMPARE_SURFACES(run.scratch2, before.scratch2);
    }

    // Twice as wide as a sheet of just over half the limit: refused before any memory is
    // taken for it, the sheet's own pixels untouched.
    void negativeAboveTheLimitIsRefused()
    {
        SheetRun run{image::Surface(kWhite, 16384, 8193)};
        const uchar* pixels = run.work.picture().constBits();
        const ops::Outcome outcome = run.negative("2");
        QCOMPARE(outcome.kind, Kind::Refused);
        QVERIFY2(outcome.message.contains("32768 x 8193"), qPrintable(outcome.message));
        QVERIFY(run.progress.milestones.isEmpty());
        QCOMPARE(run.work.picture().constBits(), pixels);
        QCOMPARE(run.scratch.width() + run.scratch2.width(), 0);
    }

    // Found by fuzzing: two rows of a very wide sheet spread over many rows of narrow
    // cells merged each source row again for every row it landed on, a time that grows
    // with the sheet's width times the cells' height.
    void npcSpreadsTwoWideRowsOverTallCells()
    {
        // Cell c of the sheet (111111 columns) is colour (c, 20, 30) above, (40, c, 60) below.
        SheetRun run{image::Surface(kWhite, 444444, 2)};
        for (int x = 0; x < 444444; ++x) {
            image::SetPixel(run.work, x, 0, rgb(x / 111111, 20, 30));
            image::SetPixel(run.work, x, 1, rgb(40, x / 111111, 60));
        }
        QCOMPARE(runOperation(run, "npc", {"1", "4", "111", "842"}).kind, Kind::Changed);
        QCOMPARE(run.work.width(), 444);
        QCOMPARE(run.work.height(), 842);
        for (int y = 0; y < 842; ++y) {
            for (int x = 0; x < 444; ++x) {
                const int c = x / 111;
                const Colour expected = y < 421 ? rgb(c, 20, 30) : rgb(40, c, 60);
                if (image::GetPixel(run.work, x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
        }
    }

    void hundredThousandEntries_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("flipped"); // else all black, for Changed

        QStringList down;
        for (int i = 100000; i >= 1; --i)
            down << QString::number(i);
        QTest::newRow("every row, bottom first") << 100000 << down.join(',') << Kind::Changed << true;
        // Bands of a 50th of a pixel round to no rows at all.
        QTest::newRow("100 000 ones on 2000 rows")
            << 2000 << QStringList(100000, "1").join(',') << Kind::Changed << false;
        QTest::newRow("100 000 commas") << 2000 << QString(100000, u',') << Kind::Unchanged << false;
    }

    void hundredThousandEntries()
    {
        QFETCH(int, height);
        QFETCH(QString, answer);
        QFETCH(Kind, kind);
        QFETCH(bool, flipped);

        SheetRun run{strip(3, height)};
        const image::Surface sheet = run.work;
        QCOMPARE(runOperation(run, "rearrange", {answer}).kind, kind);
        if (kind == Kind::Unchanged) {
            COMPARE_SURFACES(run.work, sheet);
            return;
        }
        image::Surface want = expected(sheet, Expect::AllBlack);
        for (int y = 0; flipped && y < height; ++y)
            image::BitBlt(want, 0, y, 3, 1, sheet, 0, height - 1 - y);
        COMPARE_SURFACES(run.work, want);
    }

    // Key Out Background on sheets that make the most regions: a checkerboard, each of
    // its background pixels a region of its own, and cells of one pixel. Only what
    // touches a cell's border is keyed.
    void keyOutOfManyRegions_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("checkered");
        QTest::addColumn<double>("cells"); // along each side
        QTest::addColumn<QString>("tolerance");

        QTest::newRow("one colour, 1x20000") << 1 << 20000 << false << 0.0 << "0";
        QTest::newRow("one colour, 20000x1") << 20000 << 1 << false << 0.0 << "255";
        QTest::newRow("checkerboard, one cell") << 1025 << 1025 << true << 0.0 << "0";
        QTest::newRow("checkerboard, cells of a pixel") << 1025 << 1025 << true << 1025.0 << "0";
        QTest::newRow("checkerboard, cells of 3 pixels") << 1023 << 1023 << true << 341.0 << "0";
        QTest::newRow("a tolerance that reaches the checks") << 1025 << 1025 << true << 0.0 << "255";
        QTest::newRow("a tolerance as typed, 1e999") << 9 << 9 << true << 0.0 << "1e999";
    }
    void keyOutOfManyRegions()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, checkered);
        QFETCH(double, cells);
        QFETCH(QString, tolerance);

        image::Surface sheet(kWhite, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = checkered ? (y + 1) % 2 : width; x < width; x += 2)
                image::SetPixel(sheet, x, y, kBlack);
        const Colour key = rgb(255, 0, 255);
        image::Surface expected = sheet;
        // Square cells, or the whole sheet; without checks every pixel is background.
        const int cell = cells > 0 ? int(width / cells) : std::max(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool border = x % cell == 0 || x % cell == cell - 1 || y % cell == 0 || y % cell == cell - 1
                    || y == height - 1 || x == width - 1;
                const bool background = image::GetPixel(sheet, x, y) == kWhite;
                if (tolerance == "255" || (background && (border || !checkered)))
                    image::SetPixel(expected, x, y, key);
            }
        if (tolerance == "1e999")
            expected = sheet;

        SheetRun run{sheet};
        ops::OperationSettings settings;
        settings.key = key;
        settings.grid = {cells, cells};
        const ops::Outcome outcome = run.run(*ops::operationForOption(QStringLiteral("key-out-background")),
                                             {{tolerance}, {}, std::nullopt}, settings);
        QCOMPARE(outcome.kind, tolerance == "1e999" ? Kind::Refused : Kind::Changed);
        COMPARE_SURFACES(run.work, expected);
    }
};

QTEST_GUILESS_MAIN(tst_HostileInput)
#include "hostile_input_test.moc"
