// SPDX-License-Identifier: MIT
#include "shell/natural_order.h"

#include <QFileInfo>
#include <QTest>

class tst_NaturalOrder : public QObject {
    Q_OBJECT

private slots:
    void sorted_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("numbers by value") << QStringList{"walk10.png", "walk2.png", "walk1.png"}
                                          << QStringList{"walk1.png", "walk2.png", "walk10.png"};
        QTest::newRow("leading zeros") << QStringList{"f010.png", "f9.png", "f002.png"}
                                       << QStringList{"f002.png", "f9.png", "f010.png"};
        QTest::newRow("equal values, then text")
            << QStringList{"f2.png", "f02.png"} << QStringList{"f02.png", "f2.png"};
        QTest::newRow("case ignored") << QStringList{"b.png", "A.png", "a2.png"}
                                      << QStringList{"A.png", "a2.png", "b.png"};
        QTest::newRow("digit before letter") << QStringList{"ab", "a1"} << QStringList{"a1", "ab"};
        QTest::newRow("shorter first") << QStringList{"walk1", "walk"} << QStringList{"walk", "walk1"};
        QTest::newRow("several numbers") << QStringList{"r2_c10.png", "r10_c1.png", "r2_c9.png"}
                                         << QStringList{"r2_c9.png", "r2_c10.png", "r10_c1.png"};
        QTest::newRow("beyond any integer") << QStringList{"f100000000000000000000001", "f99999999999999999999999"}
                                            << QStringList{"f99999999999999999999999", "f100000000000000000000001"};
        QTest::newRow("names, not folders")
            << QStringList{"/b/walk2.png", "/a/walk10.png"} << QStringList{"/b/walk2.png", "/a/walk10.png"};
    }

    // Sorted, and the comparison an order on the names: each before the next, equal to itself.
    void sorted()
    {
        QFETCH(QStringList, given);
        QFETCH(QStringList, expected);
        shell::sortByNaturalName(given);
        QCOMPARE(given, expected);
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QString name = QFileInfo(expected[i]).fileName();
            QCOMPARE(shell::naturalCompare(name, name), 0);
            if (i > 0) {
                const QString before = QFileInfo(expected[i - 1]).fileName();
                QVERIFY(shell::naturalCompare(before, name) < 0);
                QVERIFY(shell::naturalCompare(name, before) > 0);
            }
        }
    }
};

QTEST_APPLESS_MAIN(tst_NaturalOrder)
#include "natural_order_test.moc"
