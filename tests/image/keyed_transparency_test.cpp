// SPDX-License-Identifier: MIT
#include "image/keyed_transparency.h"

#include <QTest>

#include <vector>

class tst_KeyedTransparency : public QObject {
    Q_OBJECT

private slots:
    // One pixel in, one out: the key below the threshold, else its own colour, opaque.
    void keysBelowTheThreshold_data()
    {
        QTest::addColumn<QRgb>("in");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QRgb>("out");
        QTest::addColumn<int>("keyed");
        QTest::addColumn<int>("alreadyKey");

        QTest::newRow("just below half") << qRgba(10, 20, 30, 127) << 128 << qRgb(255, 0, 255) << 1 << 0;
        QTest::newRow("half") << qRgba(10, 20, 30, 128) << 128 << qRgb(10, 20, 30) << 0 << 0;
        QTest::newRow("half opaque of the key's colour")
            << qRgba(255, 0, 255, 200) << 128 << qRgb(255, 0, 255) << 0 << 1;
        QTest::newRow("clear of the key's colour") << qRgba(255, 0, 255, 0) << 128 << qRgb(255, 0, 255) << 1 << 0;
        QTest::newRow("threshold 1 keeps alpha 1") << qRgba(1, 2, 3, 1) << 1 << qRgb(1, 2, 3) << 0 << 0;
        QTest::newRow("threshold 1 keys alpha 0") << qRgba(1, 2, 3, 0) << 1 << qRgb(255, 0, 255) << 1 << 0;
        QTest::newRow("threshold 255 keys alpha 254") << qRgba(1, 2, 3, 254) << 255 << qRgb(255, 0, 255) << 1 << 0;
        QTest::newRow("threshold 255 keeps alpha 255") << qRgba(1, 2, 3, 255) << 255 << qRgb(1, 2, 3) << 0 << 0;
    }
    void keysBelowTheThreshold()
    {
        QFETCH(QRgb, in);
        QFETCH(int, threshold);
        QFETCH(QRgb, out);
        QFETCH(int, keyed);
        QFETCH(int, alreadyKey);
        QRgb pixel = in;
        image::KeyedCounts counts;
        image::keyRow(&pixel, 1, {image::rgb(255, 0, 255), threshold}, counts);
        QCOMPARE(pixel, out);
        QCOMPARE(counts.keyed, qint64(keyed));
        QCOMPARE(counts.alreadyKey, qint64(alreadyKey));
    }

    // A long row, whose middle goes through the wide loop, counted across two calls.
    void countsAddUpAlongRows()
    {
        std::vector<QRgb> row(1001);
        for (size_t x = 0; x < row.size(); ++x)
            row[x] = x % 3 == 0 ? qRgba(0, 0, 0, int(x % 128)) : x % 5 == 0 ? qRgb(0, 0, 0) : qRgba(7, 8, 9, 200);
        std::vector<QRgb> expected(row.size());
        for (size_t x = 0; x < row.size(); ++x)
            expected[x] = x % 3 == 0 || x % 5 == 0 ? qRgb(0, 0, 0) : qRgb(7, 8, 9);
        image::KeyedCounts counts{5, 6};
        image::keyRow(row.data(), int(row.size()), {}, counts);
        QVERIFY(row == expected);
        QCOMPARE(counts.keyed, 5 + 334);
        QCOMPARE(counts.alreadyKey, 6 + 134); // multiples of 5 from 0 to 1000 that 3 does not divide
        QRgb untouched = qRgba(1, 1, 1, 0);
        image::keyRow(&untouched, 0, {}, counts);
        QCOMPARE(untouched, qRgba(1, 1, 1, 0));
    }
};

QTEST_APPLESS_MAIN(tst_KeyedTransparency)
#include "keyed_transparency_test.moc"
