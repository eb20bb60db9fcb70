// SPDX-License-Identifier: MIT
#include "operations/frame_join.h"
#include "operations/sheet_split.h"
#include "image/pixel_text.h"
#include "sheet_fixtures.h"

#include <QTest>

namespace {

const image::Colour kKey = pixel_text::colourOf(u'K');

// The frames, each a text picture, joined in rows of `columns`.
QString joined(const QStringList& frames, int columns)
{
    const image::Surface first = pixel_text::surface(frames.first());
    const auto layout = *ops::frameLayout(int(frames.size()), columns, QSize(first.width(), first.height()));
    image::Surface sheet(image::rgb(0, 0, 0));
    ops::startJoinedSheet(sheet, layout, kKey);
    for (int i = 0; i < frames.size(); ++i)
        ops::placeFrame(sheet, layout, i, pixel_text::surface(frames[i]));
    return pixel_text::text(sheet);
}

// The sheet's cells, row by row, each as a text picture.
QStringList cells(const QString& sheet, int rows, int columns)
{
    const image::Surface pixels = pixel_text::surface(sheet);
    QStringList result;
    image::Surface cell;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            ops::copyCell(pixels, rows, columns, row, column, cell);
            result << pixel_text::text(cell);
        }
    }
    return result;
}

} // namespace

class tst_FrameJoin : public QObject {
    Q_OBJECT

private slots:
    void join_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("expected");

        const QStringList four{"ab|cd", "ef|gh", "ij|kl", "mn|op"};
        QTest::newRow("two rows of two") << four << 2 << "abef|cdgh|ijmn|klop";
        QTest::newRow("one row") << four << 4 << "abefijmn|cdghklop";
        QTest::newRow("stacked") << four << 1 << "ab|cd|ef|gh|ij|kl|mn|op";
        QTest::newRow("short last row keyed") << four << 3 << "abefij|cdghkl|mnKKKK|opKKKK";
        QTest::newRow("fewer frames than columns") << QStringList{"a", "b"} << 4 << "abKK";
        QTest::newRow("one frame") << QStringList{"abc|def"} << 1 << "abc|def";
    }

    void join()
    {
        QFETCH(QStringList, frames);
        QFETCH(int, columns);
        QFETCH(QString, expected);
        QCOMPARE(joined(frames, columns), expected);
    }

    void layouts_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<double>("columns");
        QTest::addColumn<QSize>("cell");
        QTest::addColumn<int>("rows");    // 0: refused
        QTest::addColumn<int>("empty");   // cells of the last row without a frame
        QTest::addColumn<QString>("why"); // part of the refusal

        QTest::newRow("even") << 8 << 4.0 << QSize(3, 2) << 2 << 0 << "";
        QTest::newRow("short row") << 9 << 4.0 << QSize(3, 2) << 3 << 3 << "";
        QTest::newRow("no frames") << 0 << 4.0 << QSize(3, 2) << 0 << 0 << "no frames";
        QTest::newRow("no columns") << 4 << 0.0 << QSize(3, 2) << 0 << 0 << "whole number";
        QTest::newRow("fraction") << 4 << 2.5 << QSize(3, 2) << 0 << 0 << "whole number";
        QTest::newRow("empty frames") << 4 << 2.0 << QSize(0, 2) << 0 << 0 << "no pixels";
        QTest::newRow("too wide") << 2 << 2.0 << QSize(1 << 28, 1) << 0 << 0 << "536870912 x 1";
        QTest::newRow("too many") << 1 << 1e300 << QSize(1, 1) << 0 << 0 << "whole number";
        QTest::newRow("too large") << 65537 << 256.0 << QSize(64, 64) << 0 << 0 << "16384 x 16448";
    }

    void layouts()
    {
        QFETCH(int, frames);
        QFETCH(double, columns);
        QFETCH(QSize, cell);
        QFETCH(int, rows);
        QFETCH(int, empty);
        QFETCH(QString, why);
        const auto layout = ops::frameLayout(frames, columns, cell);
        if (rows == 0) {
            QVERIFY2(!layout && layout.error().contains(why), qPrintable(layout.error()));
            return;
        }
        QCOMPARE(layout->rows, rows);
        QCOMPARE(layout->emptyCells(), empty);
    }

    void split_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("expected"); // empty: refused

        QTest::newRow("2x2") << "abcd|efgh|ijkl|mnop" << 2 << 2 << QStringList{"ab|ef", "cd|gh", "ij|mn", "kl|op"};
        QTest::newRow("1x4") << "abcd|efgh" << 1 << 4 << QStringList{"a|e", "b|f", "c|g", "d|h"};
        QTest::newRow("2x1") << "abcd|efgh" << 2 << 1 << QStringList{"abcd", "efgh"};
        QTest::newRow("whole") << "abc" << 1 << 1 << QStringList{"abc"};
        const QString sixByFour = "abcdef|ghijkl|mnopqr|stuvwx";
        QTest::newRow("width") << sixByFour << 1 << 4 << QStringList{};
        QTest::newRow("height") << sixByFour << 3 << 2 << QStringList{};
        QTest::newRow("no rows") << sixByFour << 0 << 2 << QStringList{};
        QTest::newRow("negative") << sixByFour << 2 << -2 << QStringList{};
    }

    void split()
    {
        QFETCH(QString, sheet);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QStringList, expected);
        const auto divided = ops::checkSplit(pixel_text::surface(sheet), rows, columns);
        if (expected.isEmpty()) {
            QVERIFY(!divided);
            QVERIFY2(divided.error().contains(QStringLiteral("6 x 4")), qPrintable(divided.error()));
            return;
        }
        QVERIFY(divided);
        QCOMPARE(cells(sheet, rows, columns), expected);
    }
};

QTEST_APPLESS_MAIN(tst_FrameJoin)
#include "frame_join_test.moc"
