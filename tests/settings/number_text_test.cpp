// SPDX-License-Identifier: MIT
#include "settings/number_text.h"

#include <QtTest>

#include <cmath>
#include <limits>

using settings::readNumber;
using settings::readStrictNumber;
using settings::shortestText;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Exact comparison (QCOMPARE on doubles is fuzzy), with a readable failure.
bool sameNumber(double actual, double expected)
{
    if (actual == expected)
        return true;
    qWarning("actual %.17g, expected %.17g", actual, expected);
    return false;
}

} // namespace

class tst_NumberText : public QObject {
    Q_OBJECT

private slots:
    void numericReading_data();
    void numericReading();
    void strictReading_data();
    void strictReading();
    void shortestDouble_data();
    void shortestDouble();
    void shortestFloat();
    void shortestTextReadsBack();
};

void tst_NumberText::numericReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("plain") << "30" << 30.0;
    QTest::newRow("leading blank, trailing unit") << " 30px" << 30.0;
    QTest::newRow("blank between digits") << "2 4" << 24.0;
    QTest::newRow("fraction") << "12.9" << 12.9;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("minus") << "-7" << -7.0;
    QTest::newRow("plus") << "+5" << 5.0;
    QTest::newRow("second period stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("upper exponent, signed") << "25E-1" << 2.5;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "1e+" << 1.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("period alone") << "." << 0.0;
    QTest::newRow("no whole part") << ".5" << 0.5;
    QTest::newRow("no fraction digits") << "5.x" << 5.0;
    QTest::newRow("overflow") << "1e400" << kInf;
    QTest::newRow("negative overflow") << "-1e400" << -kInf;
    QTest::newRow("underflow") << "1e-400" << 0.0;
    QTest::newRow("huge exponent") << "7e99999999999999999999" << kInf;
    QTest::newRow("zero with huge exponent") << "0e99999999999999999999" << 0.0;
    QTest::newRow("400 digits") << "1" + QString(400, u'0') << kInf;
    QTest::newRow("long fraction scaled back") << "0." + QString(400, u'0') + "1e400" << 0.1;
    QTest::newRow("tab and line feed") << "\t3\n" << 3.0;
    QTest::newRow("blanks inside exponent") << "1 e 2" << 100.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("carriage return is not a blank") << "3\r4" << 3.0;
    QTest::newRow("two signs") << "+-5" << 0.0;
    QTest::newRow("comma is not a decimal point") << "3,5" << 3.0;
    QTest::newRow("full-width digit") << QString::fromUtf8("\xef\xbc\x93") << 0.0;
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex is unsigned") << "&HFFFFFFFF" << 4294967295.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("hex rounds to even") << "&H20000000000003" << 9007199254740996.0;
    // 2^57 + 24: rounding digit by digit would lose the 1 first and give 2^57.
    QTest::newRow("hex rounds once") << "&H200000000000018" << 144115188075855904.0;
    QTest::newRow("hex largest below overflow") << "&H" + QString(255, u'F') << std::ldexp(1.0, 1020);
    QTest::newRow("hex overflow") << "&H" + QString(256, u'F') << kInf;
    QTest::newRow("hex leading zeros") << "&H" + QString(500, u'0') + "10" << 16.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal lower case") << "&o17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("octal rounds") << "&O" + QString(20, u'7') << 1152921504606846976.0;
    QTest::newRow("octal overflow") << "&O" + QString(400, u'7') << kInf;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("ampersand other letter") << "&X1" << 0.0;
    QTest::newRow("sign before hex") << "-&H10" << 0.0;
}

void tst_NumberText::numericReading()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QVERIFY(sameNumber(readNumber(text), expected));
}

void tst_NumberText::strictReading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("expected");

    QTest::newRow("unit after number") << "3x" << false << 0.0;
    QTest::newRow("blank inside") << "3 4" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << " \t\n" << false << 0.0;
    QTest::newRow("blanks around") << " 12 " << true << 12.0;
    QTest::newRow("tab and line feed around") << "\t7\n" << true << 7.0;
    QTest::newRow("exponent") << "1e5" << true << 100000.0;
    QTest::newRow("hex") << "&H10" << true << 16.0;
    QTest::newRow("octal") << "&o10" << true << 8.0;
    QTest::newRow("hex without digits") << "&H" << false << 0.0;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("minus fraction") << "-2.25" << true << -2.25;
    QTest::newRow("trailing period") << "5." << true << 5.0;
    QTest::newRow("leading period") << ".5" << true << 0.5;
    QTest::newRow("period alone") << "." << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("second period") << "1.2.3" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("carriage return after") << "3\r" << false << 0.0;
    QTest::newRow("overflow is still a number") << "1e400" << true << kInf;
}

void tst_NumberText::strictReading()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, expected);

    const std::optional<double> read = readStrictNumber(text);
    QCOMPARE(read.has_value(), isNumber);
    if (read)
        QVERIFY(sameNumber(*read, expected));
}

void tst_NumberText::shortestDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << 24.0 << "24";
    QTest::newRow("negative whole") << -3.0 << "-3";
    QTest::newRow("read-out") << 112.0 << "112";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction") << 0.1 << "0.1";
    QTest::newRow("negative fraction") << -2.5 << "-2.5";
    QTest::newRow("below 1e15") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1e15") << 1e15 << "1e+15";
    QTest::newRow("large") << 1e20 << "1e+20";
    QTest::newRow("small") << 1e-7 << "1e-07";
    QTest::newRow("one ten-thousandth") << 0.0001 << "0.0001";
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "NaN";
    QTest::newRow("infinity") << kInf << "Infinity";
    QTest::newRow("negative infinity") << -kInf << "-Infinity";
}

void tst_NumberText::shortestDouble()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(shortestText(value), expected);
}

void tst_NumberText::shortestFloat()
{
    // The pointer read-out works in single precision: its digits, not double's.
    QCOMPARE(shortestText(3641.4028f), QStringLiteral("3641.4028"));
    QCOMPARE(shortestText(0.1f), QStringLiteral("0.1"));
    QCOMPARE(shortestText(-3.0f), QStringLiteral("-3"));
    QCOMPARE(shortestText(-0.0f), QStringLiteral("0"));
    QCOMPARE(shortestText(std::numeric_limits<float>::infinity()), QStringLiteral("Infinity"));
}

void tst_NumberText::shortestTextReadsBack()
{
    const double values[]
        = {0.1, 1.0 / 3, -123.456, 6.02214076e23, 5e-324, std::numeric_limits<double>::max(), 1e15 - 1, 31.7};
    for (double value : values) {
        const QString text = shortestText(value);
        QVERIFY2(sameNumber(readNumber(text), value), qPrintable(text));
        QVERIFY2(readStrictNumber(text).has_value(), qPrintable(text));
    }
}

QTEST_APPLESS_MAIN(tst_NumberText)
#include "number_text_test.moc"
