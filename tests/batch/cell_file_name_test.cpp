// SPDX-License-Identifier: MIT
#include "batch/cell_file_name.h"

#include <QTest>

class tst_CellFileName : public QObject {
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QList<int>>("cell"); // row, column, rows, columns
        QTest::addColumn<QString>("expected");

        QTest::newRow("last") << "walk.png" << QList<int>{4, 8, 4, 8} << "out/walk_r04_c08.bmp";
        QTest::newRow("ten") << "walk.png" << QList<int>{10, 2, 10, 2} << "out/walk_r10_c02.bmp";
        QTest::newRow("99 columns") << "walk.png" << QList<int>{1, 7, 1, 99} << "out/walk_r01_c07.bmp";
        QTest::newRow("100 columns") << "walk.png" << QList<int>{1, 7, 1, 100} << "out/walk_r01_c007.bmp";
        QTest::newRow("1000 rows") << "walk.png" << QList<int>{12, 1, 1000, 1} << "out/walk_r0012_c01.bmp";
        QTest::newRow("last suffix only") << "hero.v2.bmp" << QList<int>{2, 3, 2, 3} << "out/hero.v2_r02_c03.bmp";
        QTest::newRow("folder dropped") << "sheets/a/hero" << QList<int>{1, 2, 1, 2} << "out/hero_r01_c02.bmp";
    }

    void names()
    {
        QFETCH(QString, input);
        QFETCH(QList<int>, cell);
        QFETCH(QString, expected);
        QCOMPARE(batch::cellFileName(QStringLiteral("out"), input, cell[0], cell[1], cell[2], cell[3],
                                     QStringLiteral("bmp")),
                 expected);
    }
};

QTEST_APPLESS_MAIN(tst_CellFileName)
#include "cell_file_name_test.moc"
