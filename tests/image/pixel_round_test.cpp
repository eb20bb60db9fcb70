// SPDX-License-Identifier: MIT
#include "image/pixel_round.h"

#include <QtTest>

#include <cmath>
#include <limits>

class tst_PixelRound : public QObject {
    Q_OBJECT

private slots:
    void rounds_data();
    void rounds();
};

void tst_PixelRound::rounds_data()
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr double kInf = std::numeric_limits<double>::infinity();

    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("12.5 to even below") << 12.5 << 12;
    QTest::newRow("13.5 to even above") << 13.5 << 14;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("-2.5001") << -2.5001 << -3;
    // floor(x + 0.5) gets this one wrong: the sum rounds up to 1.0.
    QTest::newRow("just below a half") << 0.49999999999999994 << 0;
    QTest::newRow("-0.0") << -0.0 << 0;
    QTest::newRow("denormal") << 1e-320 << 0;
    QTest::newRow("whole") << 24.0 << 24;
    QTest::newRow("NaN") << std::nan("") << 0;
    QTest::newRow("+inf") << kInf << kMax;
    QTest::newRow("-inf") << -kInf << kMin;
    QTest::newRow("1e300") << 1e300 << kMax;
    QTest::newRow("-1e300") << -1e300 << kMin;
    QTest::newRow("int max") << 2147483647.0 << kMax;
    QTest::newRow("int max + 0.5") << 2147483647.5 << kMax;
    QTest::newRow("int max - 0.5") << 2147483646.5 << 2147483646;
    QTest::newRow("int max - 0.4") << 2147483646.6 << kMax;
    QTest::newRow("int min") << -2147483648.0 << kMin;
    QTest::newRow("int min - 0.5") << -2147483648.5 << kMin;
    QTest::newRow("int min + 0.5") << -2147483647.5 << kMin;
    QTest::newRow("int min + 1.5") << -2147483646.5 << -2147483646;
    QTest::newRow("2^40") << 1099511627776.0 << kMax;
}

void tst_PixelRound::rounds()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(image::roundToPixel(value), expected);
}

QTEST_APPLESS_MAIN(tst_PixelRound)
#include "pixel_round_test.moc"
