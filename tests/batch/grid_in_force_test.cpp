// SPDX-License-Identifier: MIT
#include "batch/guessed_grid.h"
#include "image/raster.h"

#include <QtTest>

namespace {

// 3 rows x 4 columns of 10x10 cells on white, a dark block in each; or no background at
// all, where nothing can be guessed.
image::Surface sheet(bool guessable)
{
    image::Surface sheet(image::rgb(255, 255, 255), 40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            if (!guessable || (x % 10 >= 3 && x % 10 < 7 && y % 10 >= 3 && y % 10 < 7))
                image::SetPixel(sheet, x, y, image::rgb(x * 6, y * 8, guessable ? 0 : x * y));
    return sheet;
}

} // namespace

Q_DECLARE_METATYPE(ops::CellGrid)

class tst_GridInForce : public QObject {
    Q_OBJECT

private slots:
    void sideBySide_data()
    {
        QTest::addColumn<ops::CellGrid>("implied");
        QTest::addColumn<bool>("stated"); // --grid 5x7
        QTest::addColumn<bool>("guessable");
        QTest::addColumn<ops::CellGrid>("grid");

        QTest::newRow("implied") << ops::CellGrid{2, 6} << true << true << ops::CellGrid{2, 6};
        QTest::newRow("stated") << ops::CellGrid{} << true << true << ops::CellGrid{5, 7};
        QTest::newRow("guessed") << ops::CellGrid{} << false << true << ops::CellGrid{3, 4};
        QTest::newRow("one cell") << ops::CellGrid{} << false << false << ops::CellGrid{1, 1};
        QTest::newRow("columns implied, rows stated") << ops::CellGrid{0, 8} << true << true << ops::CellGrid{5, 8};
        QTest::newRow("rows implied, columns guessed")
            << ops::CellGrid{2.5, 0} << false << true << ops::CellGrid{2.5, 4};
        QTest::newRow("rows implied, one column") << ops::CellGrid{6, 0} << false << false << ops::CellGrid{6, 1};
    }

    void sideBySide()
    {
        QFETCH(ops::CellGrid, implied);
        QFETCH(bool, stated);
        QFETCH(bool, guessable);
        QFETCH(ops::CellGrid, grid);
        const auto given = stated ? std::optional<ops::CellGrid>(ops::CellGrid{5, 7}) : std::nullopt;
        const ops::CellGrid inForce = batch::gridInForce(implied, given, sheet(guessable));
        QCOMPARE(inForce.rows, grid.rows);
        QCOMPARE(inForce.columns, grid.columns);
    }
};

QTEST_GUILESS_MAIN(tst_GridInForce)
#include "grid_in_force_test.moc"
