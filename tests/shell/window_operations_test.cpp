// SPDX-License-Identifier: MIT
#include "window_fixture.h"

#include "settings/options_panel.h"
#include "shell/sheet_history.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// Records the progress bar's values and visibility at every yield.
struct BarWatch {
    QList<int> values;
    bool shownAtStart = false;

    void attach(WindowFixture& f)
    {
        f.dialogs.onYield = [this, &f] {
            if (values.isEmpty() || values.constLast() != f.progressBar()->value())
                values.append(f.progressBar()->value());
        };
    }
};

QImage filled(int width, int height, QRgb colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

} // namespace

class tst_WindowOperations : public QObject {
    Q_OBJECT
private slots:
    void npcConversion();
    void npcCancelled_data();
    void npcCancelled();
    void npcTypeMismatch();
    void npcRefusesTinyCells();
    void npcRefusesAnAbsurdSheet();
    void optionsSizeReachesTheConversion();
    void negative();
    void negativeRefusesImpossibleCounts();
    void negativeTypeMismatch();
    void rearrange();
    void rearrangeOnlyCommas();
    void colourReplacement();
    void colourPickWithScrolledImage();
    void pressOutsideThePictureEndsThePick_data();
    void pressOutsideThePictureEndsThePick();
    void colourCancelEndsTheMode();
    void sameColourEndsTheMode();
    void pickModeSurvivesALoad();
    void commandsWaitWhileAnOperationRuns();
};

void tst_WindowOperations::npcConversion()
{
    WindowFixture f;
    QImage sheet = patternPicture(96, 200);
    sheet.setPixel(50, 110, qRgb(0, 0, 0));
    f.load(sheet);
    f.hScroll()->setValue(0);
    BarWatch bar;
    bar.attach(f);
    f.dialogs.inputs << QStringLiteral("2") << QStringLiteral("4");
    f.trigger("mnuFileNPC");

    QCOMPARE(f.dialogs.shown[1].text, QStringLiteral("How many sprites are in this image?"));
    QCOMPARE(f.dialogs.shown[1].title, QStringLiteral("Sprite Count"));
    QCOMPARE(f.dialogs.shown[2].text, QStringLiteral("How many Animation Columns are in this image?"));
    QCOMPARE(f.dialogs.shown[2].title, QStringLiteral("Animation Columns"));
    QCOMPARE(f.window->workingImage().width(), 96);
    QCOMPARE(f.window->workingImage().height(), 96);
    QCOMPARE(bar.values, (QList<int>{0, 40, 70, 90, 100}));
    QVERIFY(f.progressBar()->isHidden());
    QVERIFY(f.hScroll()->isHidden());
    QCOMPARE(f.window->view().limits().MaxScrollX, 0.0f);
    // ImageWidth keeps the size recorded by the load.
    QCOMPARE(f.window->state().ImageHeight, 3000.0f);
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 10, 10), image::GetPixel(f.window->workingImage(), 10, 10));
}

void tst_WindowOperations::npcCancelled_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::newRow("first prompt") << QStringList{QString()};
    QTest::newRow("second prompt") << QStringList{QStringLiteral("2"), QString()};
}

void tst_WindowOperations::npcCancelled()
{
    QFETCH(QStringList, answers);
    WindowFixture f;
    f.load(patternPicture(96, 200));
    f.dialogs.inputs << answers;
    f.trigger("mnuFileNPC");
    QCOMPARE(f.dialogs.shown.size(), 1 + answers.size());
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(96, 200));
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(f.dialogs.yields, 0);
}

void tst_WindowOperations::npcTypeMismatch()
{
    WindowFixture f;
    f.load(patternPicture(96, 200));
    f.dialogs.inputs << QStringLiteral("3x") << QStringLiteral("4");
    f.trigger("mnuFileNPC");
    QCOMPARE(f.dialogs.messages(),
             (QStringList{QStringLiteral("We encountered an error!"), QStringLiteral("Type mismatch")}));
    QCOMPARE(f.dialogs.shown[3].title, QStringLiteral("Tarnel"));
    QCOMPARE(f.dialogs.shown[4].title, QStringLiteral("This was the error!"));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(96, 200));
    QVERIFY(!f.progressBar()->isHidden());
    QCOMPARE(f.progressBar()->value(), 0);
}

void tst_WindowOperations::npcRefusesTinyCells()
{
    WindowFixture f;
    f.load(patternPicture(96, 200));
    f.trigger("mnuFileOptions");
    f.control<QLineEdit>("txtDim_0")->setText(QStringLiteral("0"));
    f.control<QPushButton>("cmdOps_0")->click();
    QVERIFY(!f.window->optionsOpen());
    f.trigger("mnuFileNPC");
    QCOMPARE(f.dialogs.shown.size(), 2);
    QCOMPARE(f.dialogs.shown[1].kind, QStringLiteral("message"));
    QCOMPARE(f.dialogs.shown[1].title, QStringLiteral("Tarnel"));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(96, 200));
}

void tst_WindowOperations::npcRefusesAnAbsurdSheet()
{
    WindowFixture f;
    f.load(patternPicture(96, 200));
    f.dialogs.inputs << QStringLiteral("100000000") << QStringLiteral("0.01");
    f.trigger("mnuFileNPC");
    QCOMPARE(f.dialogs.shown.size(), 4);
    QCOMPARE(f.dialogs.shown[3].title, QStringLiteral("Tarnel"));
    QVERIFY(f.dialogs.shown[3].text.contains(QStringLiteral("0 x 4800000000")));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(96, 200));
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(f.dialogs.yields, 0);
    QCOMPARE(f.window->history().stack().count(), 0);
}

void tst_WindowOperations::optionsSizeReachesTheConversion()
{
    WindowFixture f;
    f.load(patternPicture(100, 100));
    f.trigger("mnuFileOptions");
    f.control<QLineEdit>("txtDim_0")->setText(QStringLiteral(" 30px"));
    f.control<QLineEdit>("txtDim_1")->setText(QStringLiteral("12.9"));
    f.control<QPushButton>("cmdOps_0")->click();
    QCOMPARE(f.window->state().sprite.width, 30.0);
    QCOMPARE(f.window->state().sprite.height, qint16(12));
    f.dialogs.inputs << QStringLiteral("2") << QStringLiteral("3");
    f.trigger("mnuFileNPC");
    QCOMPARE(f.window->workingImage().width(), 90);
    QCOMPARE(f.window->workingImage().height(), 24);
}

void tst_WindowOperations::negative()
{
    WindowFixture f;
    f.load(patternPicture(200, 40));
    f.hScroll()->setValue(0);
    BarWatch bar;
    bar.attach(f);
    f.dialogs.inputs << QStringLiteral("4");
    f.trigger("mnuFileNeg");
    QCOMPARE(f.dialogs.shown[1].text, QStringLiteral("How many Animation Columns are present?"));
    QCOMPARE(f.dialogs.shown[1].title, QStringLiteral("Animation Columns"));
    QCOMPARE(f.window->workingImage().width(), 400);
    QCOMPARE(f.window->workingImage().height(), 40);
    QCOMPARE(bar.values, (QList<int>{0, 20, 70, 90}));
    QCOMPARE(f.progressBar()->value(), 100);
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(f.window->view().limits().MaxScrollX, float(400 - f.viewport()->surface().width()));
    QVERIFY(f.hScroll()->isVisibleTo(f.window.get()));
}

void tst_WindowOperations::negativeRefusesImpossibleCounts()
{
    WindowFixture f;
    f.load(patternPicture(20, 10));
    f.dialogs.inputs << QStringLiteral("21");
    f.trigger("mnuFileNeg");
    QCOMPARE(f.dialogs.messages().size(), 1);
    QVERIFY(f.dialogs.messages()[0].contains(QLatin1String("20")));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(20, 10));
    QVERIFY(f.progressBar()->isHidden());
}

void tst_WindowOperations::negativeTypeMismatch()
{
    WindowFixture f;
    f.load(patternPicture(30, 10));
    f.dialogs.inputs << QStringLiteral("3x");
    f.trigger("mnuFileNeg");
    QCOMPARE(f.dialogs.messages(),
             (QStringList{QStringLiteral("We encountered an error!"), QStringLiteral("Type mismatch")}));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(30, 10));
    QVERIFY(!f.progressBar()->isHidden());
    QCOMPARE(f.progressBar()->value(), 0);
}

void tst_WindowOperations::rearrange()
{
    WindowFixture f;
    const QImage sheet = patternPicture(24, 192);
    f.load(sheet);
    BarWatch bar;
    bar.attach(f);
    f.dialogs.inputs << QStringLiteral("3,1,4,2");
    f.trigger("mnuFileArrange");
    QCOMPARE(f.dialogs.shown[1].text,
             QStringLiteral("Enter new order for sprites seperated by commas *IMPORTANT* (EG: 3,1,4,2):"));
    QCOMPARE(f.dialogs.shown[1].title, QStringLiteral("Re-Arrange Sprites"));
    const QImage result = toImage(f.window->workingImage());
    QCOMPARE(result.copy(0, 0, 24, 48), sheet.copy(0, 96, 24, 48));
    QCOMPARE(result.copy(0, 48, 24, 48), sheet.copy(0, 0, 24, 48));
    QCOMPARE(result.copy(0, 96, 24, 48), sheet.copy(0, 144, 24, 48));
    QCOMPARE(result.copy(0, 144, 24, 48), sheet.copy(0, 48, 24, 48));
    QCOMPARE(bar.values, (QList<int>{0, 10, 80, 90}));
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 3, 3), image::GetPixel(f.window->workingImage(), 3, 3));
}

void tst_WindowOperations::rearrangeOnlyCommas()
{
    WindowFixture f;
    f.load(patternPicture(24, 48));
    f.dialogs.inputs << QStringLiteral(",,");
    f.trigger("mnuFileArrange");
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(24, 48));
    QCOMPARE(f.dialogs.yields, 0);
    QVERIFY(f.progressBar()->isHidden());
}

void tst_WindowOperations::colourReplacement()
{
    WindowFixture f;
    QImage sheet = filled(40, 30, qRgb(10, 200, 30));
    for (int x = 0; x < 40; x += 3)
        sheet.setPixel(x, 7, qRgb(255, 0, 0));
    sheet.setPixel(1, 1, qRgb(254, 0, 0));
    f.load(sheet);

    f.trigger("mnuFileChange");
    QCOMPARE(f.dialogs.messages(), QStringList{QStringLiteral("Please click on the color you would like changed!")});
    QVERIFY(f.window->state().ColorPickMode);

    BarWatch bar;
    bar.attach(f);
    f.dialogs.colours.enqueue(image::rgb(0, 0, 255));
    f.mouse(QEvent::MouseButtonPress, QPointF(3, 7), Qt::RightButton);

    QImage expected = sheet;
    for (int x = 0; x < 40; x += 3)
        expected.setPixel(x, 7, qRgb(0, 0, 255));
    QCOMPARE(toImage(f.window->workingImage()), expected);
    QCOMPARE(bar.values, (QList<int>{0, 80, 100}));
    QVERIFY(!f.window->state().ColorPickMode);
    QVERIFY(f.progressBar()->isHidden());
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 3, 7), image::rgb(0, 0, 255));

    // The mode has ended: another press does nothing.
    const int shown = f.dialogs.shown.size();
    f.mouse(QEvent::MouseButtonPress, QPointF(3, 7), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown.size(), shown);
}

void tst_WindowOperations::colourPickWithScrolledImage()
{
    WindowFixture f;
    QImage sheet = filled(900, 50, qRgb(1, 2, 3));
    sheet.setPixel(510, 20, qRgb(9, 9, 9));
    f.load(sheet);
    f.hScroll()->setValue(500);
    f.trigger("mnuFileChange");
    f.dialogs.colours.enqueue(image::rgb(7, 7, 7));
    f.mouse(QEvent::MouseButtonPress, QPointF(10, 20), Qt::LeftButton);
    QCOMPARE(image::GetPixel(f.window->workingImage(), 510, 20), image::rgb(7, 7, 7));
    QCOMPARE(image::GetPixel(f.window->workingImage(), 10, 20), image::rgb(1, 2, 3));
}

void tst_WindowOperations::pressOutsideThePictureEndsThePick_data()
{
    QTest::addColumn<QPointF>("press");
    QTest::newRow("grey right of the picture") << QPointF(150, 5);
    QTest::newRow("grey below the picture") << QPointF(5, 40);
    QTest::newRow("left border") << QPointF(-1, 5);
    QTest::newRow("top border") << QPointF(5, -2);
}

void tst_WindowOperations::pressOutsideThePictureEndsThePick()
{
    QFETCH(QPointF, press);
    WindowFixture f;
    // The viewport's own grey is in the picture too: it must not change.
    QImage sheet = filled(100, 30, qRgb(128, 128, 128));
    sheet.setPixel(3, 3, qRgb(1, 2, 3));
    f.load(sheet);
    f.trigger("mnuFileChange");
    const int shown = f.dialogs.shown.size();
    f.mouse(QEvent::MouseButtonPress, press, Qt::LeftButton);
    QVERIFY(!f.window->state().ColorPickMode);
    QCOMPARE(f.dialogs.shown.size(), shown);
    QCOMPARE(toImage(f.window->workingImage()), sheet);
    QCOMPARE(f.window->history().stack().count(), 0);
}

void tst_WindowOperations::colourCancelEndsTheMode()
{
    WindowFixture f;
    f.load(filled(40, 30, qRgb(255, 0, 0)));
    f.trigger("mnuFileChange");
    f.dialogs.colours.enqueue(std::nullopt);
    f.mouse(QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton);
    QVERIFY(!f.window->state().ColorPickMode);
    QCOMPARE(toImage(f.window->workingImage()), filled(40, 30, qRgb(255, 0, 0)));
    const int shown = f.dialogs.shown.size();
    f.mouse(QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton);
    QCOMPARE(f.dialogs.shown.size(), shown);
}

void tst_WindowOperations::sameColourEndsTheMode()
{
    WindowFixture f;
    f.load(filled(40, 30, qRgb(255, 0, 0)));
    f.trigger("mnuFileChange");
    f.dialogs.colours.enqueue(image::rgb(255, 0, 0));
    f.mouse(QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton);
    QVERIFY(!f.window->state().ColorPickMode);
    QCOMPARE(f.dialogs.yields, 0);
    QVERIFY(f.progressBar()->isHidden());
}

void tst_WindowOperations::pickModeSurvivesALoad()
{
    WindowFixture f;
    f.load(filled(40, 30, qRgb(255, 0, 0)), QStringLiteral("first.bmp"));
    f.trigger("mnuFileChange");
    f.load(filled(40, 30, qRgb(0, 255, 0)), QStringLiteral("second.bmp"));
    QVERIFY(f.window->state().ColorPickMode);
    f.dialogs.colours.enqueue(image::rgb(0, 0, 255));
    f.mouse(QEvent::MouseButtonPress, QPointF(3, 3), Qt::LeftButton);
    QCOMPARE(toImage(f.window->workingImage()), filled(40, 30, qRgb(0, 0, 255)));
}

void tst_WindowOperations::commandsWaitWhileAnOperationRuns()
{
    WindowFixture f;
    f.load(patternPicture(96, 200));
    int attempts = 0;
    f.dialogs.onYield = [&] {
        ++attempts;
        QVERIFY(f.window->operationRunning());
        for (const char* action : {"mnuFileLoad", "mnuFileSave", "mnuFileExit", "mnuFileNeg", "mnuFileNPC",
                                   "mnuFileArrange", "mnuFileChange", "mnuFileOptions"})
            f.trigger(action);
        f.window->close();
    };
    f.dialogs.inputs << QStringLiteral("2") << QStringLiteral("4");
    f.trigger("mnuFileNPC");
    QVERIFY(attempts > 0);
    QCOMPARE(f.dialogs.shown.size(), 3); // the load and the two prompts only
    QVERIFY(!f.window->optionsOpen());
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->operationRunning());
}

QTEST_MAIN(tst_WindowOperations)
#include "window_operations_test.moc"
