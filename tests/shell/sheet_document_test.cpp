// SPDX-License-Identifier: MIT
#include "shell/sheet_document.h"
#include "operations/progress.h"
#include "window_fixture.h"

Q_DECLARE_METATYPE(ops::Outcome::Kind)

class tst_SheetDocument : public QObject {
    Q_OBJECT

private slots:
    void run_data()
    {
        QTest::addColumn<ops::Outcome::Kind>("kind");
        QTest::addColumn<int>("steps");
        QTest::newRow("changed") << ops::Outcome::Kind::Changed << 1;
        QTest::newRow("unchanged") << ops::Outcome::Kind::Unchanged << 0;
        QTest::newRow("refused") << ops::Outcome::Kind::Refused << 0;
        QTest::newRow("failed") << ops::Outcome::Kind::Failed << 0;
    }

    // Busy until the outcome has been seen; only a changed sheet takes the grid and a step.
    void run()
    {
        QFETCH(ops::Outcome::Kind, kind);
        QFETCH(int, steps);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("sheet.bmp"));
        patternPicture(8, 4).save(path, "BMP");
        shell::SheetDocument document;
        QVERIFY(!document.load(folder.filePath(QStringLiteral("missing.bmp"))));
        QVERIFY(!document.loaded()); // a failed load is no sheet to run on
        QVERIFY(document.load(path).ok());
        QVERIFY(document.loaded());

        const shell::CellGrid before = document.grid();
        ops::SilentProgress progress;
        bool busyWorking = false, busySeeing = false;
        document.run(
            QStringLiteral("Paint"),
            [&](ops::Sheets& sheets, ops::Progress&) {
                busyWorking = document.busy();
                image::SetPixel(sheets.work, 0, 0, image::rgb(200, 0, 0));
                return ops::Outcome{kind, {}};
            },
            shell::CellGrid{{2, 3}}, progress, [&](const ops::Outcome&) { busySeeing = document.busy(); });
        QVERIFY(busyWorking);
        QVERIFY(busySeeing);
        QVERIFY(!document.busy());
        QCOMPARE(document.history().stack().count(), steps);
        QCOMPARE(document.grid().columns, steps ? 3.0 : before.columns);
    }
};

QTEST_MAIN(tst_SheetDocument)
#include "sheet_document_test.moc"
