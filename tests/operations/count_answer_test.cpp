// SPDX-License-Identifier: MIT
#include "operations/count_answer.h"
#include "settings/number_text.h"

#include <QTest>

class tst_CountAnswer : public QObject {
    Q_OBJECT

private slots:
    void cancelledPromptGivesNothing() { QVERIFY(!ops::readCountAnswer(QString()).has_value()); }

    void readings_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<double>("numeric");
        QTest::addColumn<bool>("hasStrict");
        QTest::addColumn<double>("strict");

        QTest::newRow("whole") << "12" << 12.0 << true << 12.0;
        QTest::newRow("fraction stays") << "2.5" << 2.5 << true << 2.5;
        QTest::newRow("negative kept") << "-2" << -2.0 << true << -2.0;
        QTest::newRow("blanks around") << " 4 " << 4.0 << true << 4.0;
        QTest::newRow("zero is one") << "0" << 1.0 << true << 1.0;
        QTest::newRow("0.0 is one") << "0.0" << 1.0 << true << 1.0;
        QTest::newRow("words are one") << "abc" << 1.0 << true << 1.0;
        QTest::newRow("a blank is one") << " " << 1.0 << true << 1.0;
        QTest::newRow("trailing letter") << "3x" << 3.0 << false << 0.0;
        QTest::newRow("trailing word") << "12 frames" << 12.0 << false << 0.0;
    }

    void readings()
    {
        QFETCH(QString, answer);
        QFETCH(double, numeric);
        QFETCH(bool, hasStrict);
        QFETCH(double, strict);

        const std::optional<ops::CountAnswer> count = ops::readCountAnswer(answer);
        QVERIFY(count.has_value());
        QCOMPARE(count->numeric, numeric);
        QCOMPARE(count->strict.has_value(), hasStrict);
        if (hasStrict)
            QCOMPARE(*count->strict, strict);
    }
};

QTEST_APPLESS_MAIN(tst_CountAnswer)
#include "count_answer_test.moc"
