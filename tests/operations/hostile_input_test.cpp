// SPDX-License-Identifier: MIT
// Sheets of extreme shapes and answers nobody means to type, through every operation:
// each ends with its defined result or a message, never a crash or a runaway.
#include "operations/colour_replace.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/rearrange.h"
#include "sheet_fixtures.h"

#include <QTest>

using image::Colour;
using image::rgb;
using Kind = ops::Outcome::Kind;

namespace {

const Colour kBlack = rgb(0, 0, 0);
const Colour kWhite = rgb(255, 255, 255);
const Colour kNearBlack = rgb(20, 20, 20);

// One operation with its answers, as the window would run it after its prompts:
// "npc" sprites, columns, cell width, cell height; "negative" columns; "rearrange" the
// order; "colour" from and to as hexadecimal 0xBBGGRR.
struct Run {
    explicit Run(image::Surface sheet) : work(std::move(sheet)) {}

    image::Surface work;
    image::Surface scratch{kBlack};
    image::Surface scratch2{kBlack};
    RecordingProgress progress;

    ops::Outcome operator()(const QString& operation, const QStringList& answers)
    {
        if (operation == "npc") {
            const settings::SpriteSize size{answers[2].toDouble(), qint16(answers[3].toInt())};
            return ops::convertToNpc(work, scratch, scratch2, *ops::readCountAnswer(answers[0]),
                                     *ops::readCountAnswer(answers[1]), size, progress);
        }
        if (operation == "negative")
            return ops::makeNegative(work, scratch, scratch2, *ops::readCountAnswer(answers[0]), progress);
        if (operation == "rearrange")
            return ops::rearrangeRows(work, scratch, answers[0], progress);
        return ops::replaceColour(work, answers[0].toUInt(nullptr, 16), answers[1].toUInt(nullptr, 16), progress);
    }
};

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
enum class Expect { Same, BlackToNearBlack, EachColumnAndItsNegative, HalvesSwapped, AllBlack, Recoloured };

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
            QTest::newRow(qPrintable(shape + "colour"))
                << w << h << "colour" << blackToWhite.split(',') << Expect::Recoloured;
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

        Run run{strip(width, height)};
        const image::Surface sheet = run.work;
        const ops::Outcome outcome = run(operation, answers);
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
            {"1e308", Kind::Failed, Kind::Refused, nullptr}, {"-1e308", Kind::Failed, Kind::Refused, nullptr},
            {"1e999", Kind::Failed, Kind::Refused, nullptr}, {"&HFFFFFFFF", Kind::Failed, Kind::Refused, nullptr},
            {"nan", Kind::Changed, Kind::Changed, "1"},      {"NaN", Kind::Changed, Kind::Changed, "1"},
            {"inf", Kind::Changed, Kind::Changed, "1"},      {"-Infinity", Kind::Changed, Kind::Changed, "1"},
        };
        for (const Row& row : rows) {
            const QString sameAs = row.sameAs ? row.sameAs : "";
            QTest::newRow(qPrintable(QStringLiteral("npc sprites %1").arg(row.text)))
                << "npc" << 0 << row.text << row.npc << sameAs;
            QTest::newRow(qPrintable(QStringLiteral("npc columns %1").arg(row.text)))
                << "npc" << 1 << row.text << row.npc << sameAs;
            QTest::newRow(qPrintable(QStringLiteral("negative %1").arg(row.text)))
                << "negative" << 0 << row.text << row.negative << sameAs;
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
        Run run{strip(12, 10)};
        const image::Surface sheet = run.work;
        QStringList answers = plain;
        answers[asked] = text;
        const ops::Outcome outcome = run(operation, answers);
        QCOMPARE(outcome.kind, kind);

        if (kind == Kind::Changed) {
            Run reference{sheet};
            answers[asked] = sameAs;
            QCOMPARE(reference(operation, answers).kind, Kind::Changed);
            COMPARE_SURFACES(run.work, reference.work);
        } else {
            QVERIFY(!outcome.message.isEmpty());
            COMPARE_SURFACES(run.work, sheet);
        }
    }

    // Found by fuzzing: two rows of a very wide sheet spread over many rows of narrow
    // cells merged each source row again for every row it landed on, a time that grows
    // with the sheet's width times the cells' height.
    void npcSpreadsTwoWideRowsOverTallCells()
    {
        // Cell c of the sheet (111111 columns) is colour (c, 20, 30) above, (40, c, 60) below.
        Run run{image::Surface(kWhite, 444444, 2)};
        for (int x = 0; x < 444444; ++x) {
            image::SetPixel(run.work, x, 0, rgb(x / 111111, 20, 30));
            image::SetPixel(run.work, x, 1, rgb(40, x / 111111, 60));
        }
        QCOMPARE(run("npc", {"1", "4", "111", "842"}).kind, Kind::Changed);
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

        Run run{strip(3, height)};
        const image::Surface sheet = run.work;
        QCOMPARE(run("rearrange", {answer}).kind, kind);
        if (kind == Kind::Unchanged) {
            COMPARE_SURFACES(run.work, sheet);
            return;
        }
        image::Surface want = expected(sheet, Expect::AllBlack);
        for (int y = 0; flipped && y < height; ++y)
            image::BitBlt(want, 0, y, 3, 1, sheet, 0, height - 1 - y);
        COMPARE_SURFACES(run.work, want);
    }
};

QTEST_GUILESS_MAIN(tst_HostileInput)
#include "hostile_input_test.moc"
