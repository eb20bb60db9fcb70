// SPDX-License-Identifier: MIT
#include "batch/batch_report.h"

#include <QtTest>

namespace {

batch::FileResult resultFor(int index, const QString& input, const QString& warning = {}, const QString& error = {},
                            const QString& grid = {})
{
    batch::FileResult result;
    result.index = index;
    result.input = input;
    result.grid = grid;
    if (!warning.isEmpty())
        result.warnings.append(warning);
    if (!error.isEmpty())
        result.status = batch::FileError{input, error};
    return result;
}

} // namespace

class tst_BatchReport : public QObject {
    Q_OBJECT

private slots:
    void messagesInInputOrder_data();
    void messagesInInputOrder();
};

void tst_BatchReport::messagesInInputOrder_data()
{
    QTest::addColumn<bool>("quiet");
    QTest::addColumn<bool>("progressLine");
    QTest::addColumn<QStringList>("written");

    const QString clear = QStringLiteral("\r\x1b[K");
    const QString grid = QStringLiteral("out: a.bmp: 4x8\n");
    QTest::newRow("plain") << false << false
                           << QStringList{"pixmold-batch: a.bmp: warning: W\n", grid, "pixmold-batch: b.bmp: E\n",
                                          "pixmold-batch: c.bmp: warning: V\n"};
    QTest::newRow("quiet") << true << true << QStringList{grid, "pixmold-batch: b.bmp: E\n"};
    QTest::newRow("progress line") << false << true
                                   << QStringList{"[1/3] b.bmp",
                                                  clear + "pixmold-batch: a.bmp: warning: W\n",
                                                  grid,
                                                  "pixmold-batch: b.bmp: E\n[2/3] a.bmp",
                                                  clear + "pixmold-batch: c.bmp: warning: V\n[3/3] c.bmp",
                                                  clear};
}

void tst_BatchReport::messagesInInputOrder()
{
    QFETCH(bool, quiet);
    QFETCH(bool, progressLine);
    QFETCH(QStringList, written);

    QStringList said;
    batch::BatchReport report(
        3, quiet, progressLine, [&](const QString& text) { said.append(text); },
        [&](const QString& text) { said.append(QStringLiteral("out: ") + text); });
    // The second input finishes first; its error waits for the first input's warning and
    // grid (standard output, marked "out: ").
    report.finished(resultFor(1, QStringLiteral("b.bmp"), {}, QStringLiteral("E")), 1);
    report.finished(resultFor(0, QStringLiteral("a.bmp"), QStringLiteral("W"), {}, QStringLiteral("4x8")), 2);
    report.finished(resultFor(2, QStringLiteral("c.bmp"), QStringLiteral("V")), 3);
    report.end();
    QCOMPARE(said, written);
}

QTEST_GUILESS_MAIN(tst_BatchReport)
#include "batch_report_test.moc"
