// SPDX-License-Identifier: MIT
#include "window_fixture.h"

#include "shell/sheet_history.h"

#include <QUndoStack>

namespace {

enum class Operation { Npc, Negative, Rearrange, Colour };

// Runs one operation through the window with answers that change the sheet.
void run(WindowFixture& f, Operation operation)
{
    switch (operation) {
    case Operation::Npc:
        f.dialogs.inputs << QStringLiteral("4") << QStringLiteral("3");
        f.trigger("mnuFileNPC");
        break;
    case Operation::Negative:
        f.dialogs.inputs << QStringLiteral("3");
        f.trigger("mnuFileNeg");
        break;
    case Operation::Rearrange:
        f.dialogs.inputs << QStringLiteral("2,1");
        f.trigger("mnuFileArrange");
        break;
    case Operation::Colour:
        f.trigger("mnuFileChange");
        f.dialogs.colours.enqueue(image::rgb(1, 2, 3));
        f.mouse(QEvent::MouseButtonPress, QPointF(0, 0), Qt::LeftButton);
        break;
    }
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
    void nothingWhileOptionsOpen();
    void nothingWhileAnOperationRuns();
};

void tst_WindowUndo::eachOperation_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("caption");
    QTest::newRow("npc") << Operation::Npc << QStringLiteral("Make NPC-Compatible");
    QTest::newRow("negative") << Operation::Negative << QStringLiteral("Make Negative");
    QTest::newRow("rearrange") << Operation::Rearrange << QStringLiteral("Re-Arrange Sprites");
    QTest::newRow("colour") << Operation::Colour << QStringLiteral("Change A Color");
}

void tst_WindowUndo::eachOperation()
{
    QFETCH(Operation, operation);
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
    for (Operation operation : {Operation::Negative, Operation::Rearrange, Operation::Colour, Operation::Npc})
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
    run(f, Operation::Negative);
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

void tst_WindowUndo::nothingWhileOptionsOpen()
{
    WindowFixture f;
    f.load(patternPicture(300, 260));
    run(f, Operation::Rearrange);
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
    run(f, Operation::Rearrange);
    f.dialogs.onYield = [&] { f.trigger("mnuEditUndo"); };
    run(f, Operation::Negative);
    f.dialogs.onYield = nullptr;
    QCOMPARE(f.window->history().stack().count(), 2);
    QCOMPARE(f.window->history().stack().index(), 2);
    QCOMPARE(f.window->workingImage().width(), 600);
}

QTEST_MAIN(tst_WindowUndo)
#include "window_undo_test.moc"
