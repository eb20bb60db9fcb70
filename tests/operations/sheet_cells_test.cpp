// SPDX-License-Identifier: MIT
#include "operations/sheet_cells.h"

#include <QtTest>

Q_DECLARE_METATYPE(ops::CellGrid)

class tst_SheetCells : public QObject {
    Q_OBJECT

private slots:
    void cellsOfGrid_data();
    void cellsOfGrid();
};

void tst_SheetCells::cellsOfGrid_data()
{
    QTest::addColumn<QSize>("sheet");
    QTest::addColumn<ops::CellGrid>("grid");
    QTest::addColumn<QList<QRect>>("lastRow");
    QTest::addColumn<QList<int>>("rowAt"); // of picture rows 0, 1, 2, ...

    QTest::newRow("never given") << QSize(4, 4) << ops::CellGrid{0, 2} << QList<QRect>{} << QList<int>{-1, -1};
    QTest::newRow("one cell") << QSize(3, 2) << ops::CellGrid{1, 1} << QList<QRect>{QRect(0, 0, 3, 2)}
                              << QList<int>{0, 0, -1};
    QTest::newRow("cells under a pixel wide")
        << QSize(3, 2) << ops::CellGrid{1, 5} << QList<QRect>{QRect(0, 0, 3, 2)} << QList<int>{0, 0};
    QTest::newRow("a fraction of a row") << QSize(2, 10) << ops::CellGrid{2.5, 1} << QList<QRect>{QRect(0, 8, 2, 2)}
                                         << QList<int>{0, 0, 0, 0, 1, 1, 1, 1, 2, 2, -1};
    // The lines stand where the view draws them: 10 / 3 rounds to 3 and 7.
    QTest::newRow("uneven") << QSize(10, 5) << ops::CellGrid{2, 3}
                            << QList<QRect>{QRect(0, 2, 3, 3), QRect(3, 2, 4, 3), QRect(7, 2, 3, 3)}
                            << QList<int>{0, 0, 1, 1, 1, -1};
}

void tst_SheetCells::cellsOfGrid()
{
    QFETCH(QSize, sheet);
    QFETCH(ops::CellGrid, grid);
    QFETCH(QList<QRect>, lastRow);
    QFETCH(QList<int>, rowAt);

    const ops::SheetCells cells(sheet, grid);
    QCOMPARE(cells.row(cells.rowCount() - 1), lastRow);
    QCOMPARE(cells.row(cells.rowCount()), QList<QRect>{});
    QList<int> rows;
    for (int y = 0; y < rowAt.size(); ++y)
        rows << cells.rowAt(y);
    QCOMPARE(rows, rowAt);
}

QTEST_GUILESS_MAIN(tst_SheetCells)
#include "sheet_cells_test.moc"
