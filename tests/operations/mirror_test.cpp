// SPDX-License-Identifier: MIT
#include "operations/mirror.h"
#include "image/pixel_text.h"
#include "settings/number_text.h"
#include "sheet_fixtures.h"

#include <QTest>

namespace {

ops::Outcome mirror(SheetRun& run, const QString& columns)
{
    return ops::mirrorSprites(run.work, *ops::readCountAnswer(columns), run.progress);
}

} // namespace

Q_DECLARE_METATYPE(ops::Outcome::Kind)

class tst_Mirror : public QObject {
    Q_OBJECT

private slots:
    void cells_data()
    {
        QTest::addColumn<QStringList>("sheetColumnsExpected");
        QTest::newRow("two cells") << QStringList{"abcdef|ghijkl", "2", "cbafed|ihglkj"};
        QTest::newRow("one cell") << QStringList{"abcdef|ghijkl", "1", "fedcba|lkjihg"};
        QTest::newRow("a pixel a cell") << QStringList{"abcdef|ghijkl", "6", "abcdef|ghijkl"};
        QTest::newRow("odd cell") << QStringList{"abcde|fghij", "1", "edcba|jihgf"};
        QTest::newRow("2.0 is whole") << QStringList{"abcd", "2.0", "badc"};
    }

    void cells()
    {
        QFETCH(QStringList, sheetColumnsExpected);
        const QString sheet = sheetColumnsExpected[0];
        SheetRun run{pixel_text::surface(sheet)};
        const QImage undoStep = run.work.picture(); // shares the pixels, as the history does
        QCOMPARE(mirror(run, sheetColumnsExpected[1]).kind, ops::Outcome::Kind::Changed);
        QCOMPARE(pixel_text::text(run.work), sheetColumnsExpected[2]);
        QCOMPARE(run.progress.milestones, QList<int>({0, 80}));
        QCOMPARE(undoStep, pixel_text::surface(sheet).picture());
    }

    void wideSheetTwiceIsTheSheet()
    {
        // Cells of 37 pixels, wider than any vector, mirrored and back.
        image::Surface sheet(image::rgb(0, 0, 0), 37 * 5, 3);
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                image::SetPixel(sheet, x, y, image::rgb(x, y, x / 37));
        SheetRun run{sheet};
        mirror(run, "5");
        QCOMPARE(image::GetPixel(run.work, 0, 1), image::rgb(36, 1, 0));
        QCOMPARE(image::GetPixel(run.work, 37 * 4 + 36, 2), image::rgb(37 * 4, 2, 4));
        QCOMPARE(image::GetPixel(run.work, 37 + 18, 0), image::rgb(37 + 18, 0, 1));
        mirror(run, "5");
        COMPARE_SURFACES(run.work, sheet);
    }

    void refusedBeforeAnythingChanges_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<ops::Outcome::Kind>("kind");

        QTest::newRow("does not divide") << "4" << ops::Outcome::Kind::Refused;
        QTest::newRow("fraction") << "1.5" << ops::Outcome::Kind::Refused;
        QTest::newRow("negative") << "-2" << ops::Outcome::Kind::Refused;
        QTest::newRow("huge") << "1e300" << ops::Outcome::Kind::Refused;
        QTest::newRow("type mismatch") << "2x" << ops::Outcome::Kind::Failed;
    }

    void refusedBeforeAnythingChanges()
    {
        QFETCH(QString, columns);
        QFETCH(ops::Outcome::Kind, kind);
        SheetRun run{pixel_text::surface("abcdef")};
        const ops::Outcome outcome = mirror(run, columns);
        QCOMPARE(outcome.kind, kind);
        if (kind == ops::Outcome::Kind::Failed)
            QCOMPARE(outcome.message, settings::typeMismatchText());
        else
            QVERIFY(outcome.message.contains(QStringLiteral("width of 6 pixels")));
        QCOMPARE(pixel_text::text(run.work), QStringLiteral("abcdef"));
        QVERIFY(run.progress.milestones.isEmpty());
    }

    void emptySheetIsRefused()
    {
        SheetRun run{image::Surface(image::rgb(0, 0, 0))};
        QCOMPARE(mirror(run, "1").kind, ops::Outcome::Kind::Refused);
    }
};

QTEST_APPLESS_MAIN(tst_Mirror)
#include "mirror_test.moc"
