// SPDX-License-Identifier: MIT
#include "batch/window_run.h"

#include "shell/sheet_history.h"
#include "support/colour_text.h"

#include <QUndoStack>

namespace {

// Answers that change the sheet, as pixmold-batch options.
const QStringList kNpc{"--npc", "4,3"};
const QStringList kNegative{"--negative", "3"};
const QStringList kRearrange{"--rearrange", "2,1"};
const QStringList kColour{"--replace", "#000000:#010203"}; // the colour of pixel (0, 0)
const QStringList kMirror{"--mirror", "4"};

// Runs one operation through the window.
void run(WindowFixture& f, const QStringList& step)
{
    operateThroughWindow(f, *ops::operationForOption(QStringView(step[0]).sliced(2)), step[1]);
}

} // namespace

class tst_WindowUndo : public QObject {
    Q_OBJECT
private slots:
    void eachOperation_data();
    void eachOperation();
    void mixedChainBackToTheLoadedSheet();
    void loadStartsANewHistory();
    void runsThatChangeNothingAddNoStep();
    void refusedMirrorIsAMessage();
    void nothingWhileOptionsOpen();
    void nothingWhileAnOperationRuns();
};

void tst_WindowUndo::eachOperation_data()
{
    QTest::addColumn<QStringList>("operation");
    QTest::addColumn<QString>("caption");
    QTest::newRow("npc") << kNpc << QStringLiteral("Make NPC-Compatible");
    QTest::newRow("negative") << kNegative << QStringLiteral("Make Negative");
    QTest::newRow("rearrange") << kRearrange << QStringLiteral("Re-Arrange Sprites");
    QTest::newRow("colour") << kColour << QStringLiteral("Change A Color");
    QTest::newRow("mirror") << kMirror << QStringLiteral("Mirror Sprites");
}

void tst_WindowUndo::eachOperation()
{
    QFETCH(QStringList, operation);
    QFETCH(QString, caption);
    WindowFixture f;
    f.load(patternPicture(300, 260));
    const QImage before = toImage(f.window->workingImage());
    run(f, operation);
    const QImage after = toImage(f.window->workingImage());
    QVERIFY(after != before);

    auto* undo = f.control<QAction>("mnuEditUndo");
    auto* redo = f.control<QAction>("mnuEditRedo");
    QCOMPARE(undo->text(), QStringLiteral("&Undo ") + caption);
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    undo->trigger();
    QCOMPARE(toImage(f.window->workingImage()), before);
    QCOMPARE(redo->text(), QStringLiteral("&Redo ") + caption);
    QVERIFY(!undo->isEnabled());
    // The view and the scroll limits follow the restored sheet.
    QCOMPARE(f.window->view().limits().MaxScrollX, float(300 - f.viewport()->surface().width()));
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 1, 1),
             image::GetPixel(f.window->workingImage(), f.hScroll()->value() + 1, f.vScroll()->value() + 1));

    redo->trigger();
    QCOMPARE(toImage(f.window->workingImage()), after);
}

void tst_WindowUndo::mixedChainBackToTheLoadedSheet()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    const QImage loaded = toImage(f.window->workingImage());
    for (const QStringList& operation : {kNegative, kRearrange, kColour, kNpc})
        run(f, operation);
    const QImage last = toImage(f.window->workingImage());
    QCOMPARE(f.window->history().stack().count(), 4);
    for (int i = 0; i < 4; ++i)
        f.trigger("mnuEditUndo");
    QCOMPARE(toImage(f.window->workingImage()), loaded);
    for (int i = 0; i < 4; ++i)
        f.trigger("mnuEditRedo");
    QCOMPARE(toImage(f.window->workingImage()), last);
}

void tst_WindowUndo::loadStartsANewHistory()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    run(f, kNegative);
    f.load(patternPicture(40, 40), QStringLiteral("other.bmp"));
    QCOMPARE(f.window->history().stack().count(), 0);
    QVERIFY(!f.control<QAction>("mnuEditUndo")->isEnabled());
}

void tst_WindowUndo::runsThatChangeNothingAddNoStep()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    f.dialogs.inputs << QString();
    f.trigger("mnuFileNeg"); // cancelled
    f.dialogs.inputs << QStringLiteral("3x");
    f.trigger("mnuFileNeg"); // error path
    f.dialogs.inputs << QStringLiteral("9999");
    f.trigger("mnuFileNeg"); // refused
    f.dialogs.inputs << QStringLiteral(",,");
    f.trigger("mnuFileArrange"); // nothing to arrange
    f.trigger("mnuFileChange");
    f.dialogs.colours.enqueue(image::GetPixel(f.window->workingImage(), 0, 0));
    f.mouse(QEvent::MouseButtonPress, QPointF(0, 0), Qt::LeftButton); // the same colour
    QCOMPARE(f.window->history().stack().count(), 0);
}

// A count that does not divide the width is said in one box; the sheet and the history
// stay as they were.
void tst_WindowUndo::refusedMirrorIsAMessage()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    const QImage loaded = toImage(f.window->workingImage());
    run(f, {"--mirror", "7"});
    QCOMPARE(f.dialogs.messages(),
             QStringList{"The number of animation columns must be a whole number that divides the sheet's width "
                         "of 300 pixels."});
    QCOMPARE(f.dialogs.shown.last().title, QStringLiteral("Tarnel"));
    QCOMPARE(toImage(f.window->workingImage()), loaded);
    QCOMPARE(f.window->history().stack().count(), 0);
}

void tst_WindowUndo::nothingWhileOptionsOpen()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    run(f, kRearrange);
    const QImage after = toImage(f.window->workingImage());
    f.trigger("mnuFileOptions");
    f.trigger("mnuEditUndo");
    QCOMPARE(toImage(f.window->workingImage()), after);
    QCOMPARE(f.window->history().stack().index(), 1);
}

void tst_WindowUndo::nothingWhileAnOperationRuns()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    run(f, kRearrange);
    f.dialogs.onYield = [&] { f.trigger("mnuEditUndo"); };
    run(f, kNegative);
    f.dialogs.onYield = nullptr;
    QCOMPARE(f.window->history().stack().count(), 2);
    QCOMPARE(f.window->history().stack().index(), 2);
    QCOMPARE(f.window->workingImage().width(), 600);
}

QTEST_MAIN(tst_WindowUndo)
#include "window_undo_test.moc"
