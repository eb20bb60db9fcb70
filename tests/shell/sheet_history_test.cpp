// SPDX-License-Identifier: MIT
#include "shell/sheet_history.h"

#include <QTest>

namespace {

QImage sheet(int shade, int width = 16, int height = 16)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(shade, shade, shade));
    return picture;
}

// A working image that the history restores into.
struct Work {
    QImage picture = sheet(0);
    std::function<void(const shell::SheetState&)> restore = [this](const shell::SheetState& s) { picture = s.picture; };

    // Runs a step as the window does: the sheet changes, then the step is recorded.
    void step(shell::SheetHistory& history, int shade, int width = 16)
    {
        const QImage before = picture;
        picture = sheet(shade, width);
        history.record(QStringLiteral("Step %1").arg(shade), before, picture);
    }
};

} // namespace

class tst_SheetHistory : public QObject {
    Q_OBJECT
private slots:
    void undoAndRedo();
    void unchangedStepIsNotRecorded();
    void newStepDropsTheUndoneOnes();
    void atMostFiftySteps();
    void byteBoundDropsTheOldest();
    void sharedPicturesCountOnce();
};

void tst_SheetHistory::undoAndRedo()
{
    Work work;
    shell::SheetHistory history(work.restore);
    work.step(history, 10);
    work.step(history, 20);
    QCOMPARE(history.stack().undoText(), QStringLiteral("Step 20"));
    history.undo();
    QCOMPARE(work.picture, sheet(10));
    history.undo();
    QCOMPARE(work.picture, sheet(0));
    QVERIFY(!history.stack().canUndo());
    history.redo();
    history.redo();
    QCOMPARE(work.picture, sheet(20));
    QVERIFY(!history.stack().canRedo());
}

void tst_SheetHistory::unchangedStepIsNotRecorded()
{
    Work work;
    shell::SheetHistory history(work.restore);
    history.record(QStringLiteral("Nothing"), sheet(5), sheet(5));
    QCOMPARE(history.stack().count(), 0);
}

void tst_SheetHistory::newStepDropsTheUndoneOnes()
{
    Work work;
    shell::SheetHistory history(work.restore);
    work.step(history, 10);
    work.step(history, 20);
    history.undo();
    work.step(history, 30);
    QCOMPARE(history.stack().count(), 2);
    QVERIFY(!history.stack().canRedo());
    history.undo();
    QCOMPARE(work.picture, sheet(10));
}

void tst_SheetHistory::atMostFiftySteps()
{
    Work work;
    shell::SheetHistory history(work.restore);
    for (int shade = 1; shade <= 55; ++shade)
        work.step(history, shade);
    QCOMPARE(history.stack().count(), shell::SheetHistory::kMaxSteps);
    while (history.stack().canUndo())
        history.undo();
    QCOMPARE(work.picture, sheet(5)); // the sheet before step 6, the oldest kept
}

void tst_SheetHistory::byteBoundDropsTheOldest()
{
    // Room for three 16 x 16 pictures: two steps' worth of distinct pictures.
    const qint64 picture = sheet(0).sizeInBytes();
    Work work;
    shell::SheetHistory history(work.restore, 3 * picture);
    work.step(history, 10);
    work.step(history, 20);
    QCOMPARE(history.stack().count(), 2);
    QCOMPARE(history.storedBytes(), 3 * picture);
    work.step(history, 30);
    QCOMPARE(history.stack().count(), 2);
    QCOMPARE(history.stack().text(0), QStringLiteral("Step 20"));
    QVERIFY(history.storedBytes() <= 3 * picture);
    history.undo();
    history.undo();
    QCOMPARE(work.picture, sheet(10));
    history.redo();
    history.redo();
    QCOMPARE(work.picture, sheet(30));
}

void tst_SheetHistory::sharedPicturesCountOnce()
{
    Work work;
    shell::SheetHistory history(work.restore);
    work.step(history, 10, 32);
    work.step(history, 20, 32);
    // 16 x 16 start, then two 32 x 16 pictures; the middle one is in both steps.
    QCOMPARE(history.storedBytes(), sheet(0).sizeInBytes() + 2 * sheet(0, 32).sizeInBytes());
}

QTEST_MAIN(tst_SheetHistory)
#include "sheet_history_test.moc"
