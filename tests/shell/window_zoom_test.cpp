// SPDX-License-Identifier: MIT
#include "window_fixture.h"

#include "settings/options_panel.h"
#include "shell/sheet_history.h"

#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>

namespace {

void zoomTo(WindowFixture& f, int factor)
{
    f.trigger("mnuViewActualSize");
    while (f.window->zoom() < factor)
        f.trigger("mnuViewZoomIn");
    QCOMPARE(f.window->zoom(), factor);
}

// The viewport as it is on screen, inner area only.
QImage onScreen(WindowFixture& f)
{
    const QImage shot = f.viewport()->grab().toImage();
    return shot.copy(f.viewport()->contentsRect());
}

} // namespace

class tst_WindowZoom : public QObject {
    Q_OBJECT
private slots:
    void viewMenu();
    void factorsStepAndNeedNoImage();
    void zoomedView_data();
    void zoomedView();
    void wheelKeepsThePixelUnderThePointer();
    void zoomOutFromTheEndShowsTheWholeSheet_data();
    void zoomOutFromTheEndShowsTheWholeSheet();
    void ignoredWhileTheOptionsAreOpen();
    void gridFollowsOperationsAndUndo();
    void guessedGridOnLoad();
};

void tst_WindowZoom::viewMenu()
{
    WindowFixture f;
    QMenu* view = f.control<QMenu>("mnuView");
    QList<QAction*> items = view->actions();
    QCOMPARE(items.size(), 11);
    QCOMPARE(items[0]->text(), QStringLiteral("Zoom: 100 %"));
    QVERIFY(!items[0]->isEnabled());
    QCOMPARE(items[1]->text(), QStringLiteral("Cells: no guess"));
    QVERIFY(!items[1]->isEnabled());
    items.removeAt(1);
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QStringLiteral("Zoom &In"));
    QCOMPARE(items[2]->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    QCOMPARE(items[3]->text(), QStringLiteral("Zoom &Out"));
    QCOMPARE(items[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QCOMPARE(items[4]->text(), QStringLiteral("&Actual Size"));
    QCOMPARE(items[4]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
    QVERIFY(items[5]->isSeparator());
    QCOMPARE(items[6]->text(), QStringLiteral("Show Cell &Grid"));
    QCOMPARE(items[6]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    QVERIFY(items[6]->isCheckable());
    QVERIFY(!items[6]->isChecked());
    QCOMPARE(items[7]->objectName(), QStringLiteral("mnuViewKey"));
    QVERIFY(items[8]->isSeparator());
    QCOMPARE(items[9]->text(), QStringLiteral("&Preview Animation"));
    QCOMPARE(items[9]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    QVERIFY(items[9]->isCheckable());
    QVERIFY(!items[9]->isChecked());
}

void tst_WindowZoom::factorsStepAndNeedNoImage()
{
    WindowFixture f;
    QList<int> factors;
    for (int i = 0; i < 9; ++i) {
        f.trigger("mnuViewZoomIn");
        factors << f.window->zoom();
    }
    QCOMPARE(factors, (QList<int>{2, 3, 4, 6, 8, 12, 16, 16, 16}));
    QCOMPARE(f.control<QAction>("mnuViewZoom")->text(), QStringLiteral("Zoom: 1600 %"));
    f.trigger("mnuViewZoomOut");
    QCOMPARE(f.window->zoom(), 12);
    f.trigger("mnuViewActualSize");
    QCOMPARE(f.window->zoom(), 1);
    f.trigger("mnuViewZoomOut");
    QCOMPARE(f.window->zoom(), 1);
    QVERIFY(f.dialogs.shown.isEmpty());
    // Without a sheet the view stays grey, and the factor is kept for the load.
    f.trigger("mnuViewZoomIn");
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 5, 5), image::rgb(128, 128, 128));
    QVERIFY(f.hScroll()->isHidden());
    f.load(patternPicture(300, 300));
    QCOMPARE(f.window->zoom(), 2);
    QCOMPARE(image::GetPixel(f.viewport()->surface(), 5, 5), image::GetPixel(f.window->workingImage(), 2, 2));
}

void tst_WindowZoom::zoomedView_data()
{
    QTest::addColumn<int>("factor");
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
    QTest::newRow("16") << 16;
}

// The view, the scroll limits, the read-out and the colour pick all count picture pixels.
void tst_WindowZoom::zoomedView()
{
    QFETCH(int, factor);
    WindowFixture f;
    f.load(patternPicture(1000, 800));
    zoomTo(f, factor);
    const image::Surface& view = f.viewport()->surface();
    QCOMPARE(f.hScroll()->maximum(), 1000 - view.width() / factor);
    QCOMPARE(f.vScroll()->maximum(), 800 - view.height() / factor);
    f.hScroll()->setValue(f.hScroll()->maximum());
    f.vScroll()->setValue(17);
    const QPoint scroll(f.hScroll()->value(), 17);

    // Sharp squares, on the surface and on screen; the last column can be reached, in
    // the last whole square.
    const QImage screen = onScreen(f);
    const int lastSquare = (view.width() / factor - 1) * factor;
    for (const QPoint at : {QPoint(0, 0), QPoint(factor - 1, factor), QPoint(lastSquare + factor - 1, factor * 3)}) {
        const QPoint pixel(scroll.x() + at.x() / factor, scroll.y() + at.y() / factor);
        const image::Colour want = image::GetPixel(f.window->workingImage(), pixel.x(), pixel.y());
        QCOMPARE(image::GetPixel(view, at.x(), at.y()), want);
        QCOMPARE(image::Colour::fromPixel(screen.pixel(at)), want);
    }
    QCOMPARE(scroll.x() + lastSquare / factor, 999);

    f.mouse(QEvent::MouseMove, QPointF(25, 7));
    QCOMPARE(f.readout(), QStringLiteral("( %1, %2 )").arg(scroll.x() + 25 / factor).arg(17 + 7 / factor));

    f.trigger("mnuFileChange");
    f.dialogs.colours.enqueue(image::rgb(1, 2, 3));
    const QPoint picked(scroll.x() + 25 / factor, 17 + 7 / factor);
    const image::Colour old = image::GetPixel(f.window->workingImage(), picked.x(), picked.y());
    f.mouse(QEvent::MouseButtonPress, QPointF(25, 7), Qt::LeftButton);
    QCOMPARE(image::GetPixel(f.window->workingImage(), picked.x(), picked.y()), image::rgb(1, 2, 3));
    QVERIFY(old != image::rgb(1, 2, 3));
}

void tst_WindowZoom::wheelKeepsThePixelUnderThePointer()
{
    WindowFixture f;
    f.load(patternPicture(1000, 800));
    f.hScroll()->setValue(300);
    f.vScroll()->setValue(200);
    const QPointF at(101, 57);
    const auto pixelAt = [&] {
        f.mouse(QEvent::MouseMove, at);
        return f.readout();
    };
    const QString before = pixelAt();
    const QPointF local = at + QPointF(shell::Viewport::kBorder, shell::Viewport::kBorder);
    for (int notches : {1, 2, -1}) {
        QWheelEvent wheel(local, f.viewport()->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.viewport(), &wheel);
        QCOMPARE(pixelAt(), before);
    }
    QCOMPARE(f.window->zoom(), 3);
}

void tst_WindowZoom::zoomOutFromTheEndShowsTheWholeSheet_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("zoom out") << "mnuViewZoomOut";
    QTest::newRow("actual size") << "mnuViewActualSize";
    QTest::newRow("wheel") << "";
}

// A sheet that fits at 1x, scrolled to its end at 2x: back at 1x it shows whole.
void tst_WindowZoom::zoomOutFromTheEndShowsTheWholeSheet()
{
    QFETCH(QString, way);
    WindowFixture f;
    f.load(patternPicture(192, 192));
    QVERIFY(f.hScroll()->isHidden());
    zoomTo(f, 2);
    f.hScroll()->setValue(f.hScroll()->maximum());
    f.vScroll()->setValue(f.vScroll()->maximum());
    QVERIFY(f.hScroll()->value() > 0);
    if (way.isEmpty()) {
        const QPointF local(40, 30);
        QWheelEvent wheel(local, f.viewport()->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(f.viewport(), &wheel);
    } else {
        f.trigger(way.toLatin1().constData());
    }
    QCOMPARE(f.window->zoom(), 1);
    QCOMPARE(QPoint(f.hScroll()->value(), f.vScroll()->value()), QPoint(0, 0));
    const image::Surface& view = f.viewport()->surface();
    for (const QPoint at : {QPoint(0, 0), QPoint(191, 0), QPoint(0, 191), QPoint(191, 191)})
        QCOMPARE(image::GetPixel(view, at.x(), at.y()), image::GetPixel(f.window->workingImage(), at.x(), at.y()));
}

void tst_WindowZoom::ignoredWhileTheOptionsAreOpen()
{
    WindowFixture f;
    f.trigger("mnuFileOptions");
    f.trigger("mnuViewZoomIn");
    f.trigger("mnuViewGrid");
    QCOMPARE(f.window->zoom(), 1);
    QVERIFY(!f.control<QAction>("mnuViewGrid")->isChecked());
}

// The grid the last operation implies; undo and redo bring back each state's own.
void tst_WindowZoom::gridFollowsOperationsAndUndo()
{
    WindowFixture f;
    f.load(patternPicture(96, 200));
    const auto grid = [&] { return QPair(f.window->cellGrid().rows, f.window->cellGrid().columns); };
    QCOMPARE(grid(), QPair(0.0, 0.0));
    f.dialogs.inputs << "2"
                     << "4";
    f.trigger("mnuFileNPC");
    QCOMPARE(grid(), QPair(2.0, 4.0));
    QCOMPARE(f.control<QAction>("mnuViewCells")->text(), QStringLiteral("Cells: 2 rows \u00D7 4 columns"));
    f.dialogs.inputs << "4";
    f.trigger("mnuFileNeg");
    QCOMPARE(grid(), QPair(2.0, 8.0));
    f.dialogs.inputs << "2,,1,3";
    f.trigger("mnuFileArrange");
    QCOMPARE(grid(), QPair(3.0, 8.0));
    f.trigger("mnuEditUndo");
    QCOMPARE(grid(), QPair(2.0, 8.0));
    f.trigger("mnuEditUndo");
    QCOMPARE(grid(), QPair(2.0, 4.0));
    f.trigger("mnuEditRedo");
    QCOMPARE(grid(), QPair(2.0, 8.0));

    // 192 x 96 in 2 x 8 cells of 24 x 48: lines at x = 24, 48, ... and y = 48, here at 2x.
    f.trigger("mnuViewGrid");
    zoomTo(f, 2);
    f.hScroll()->setValue(0);
    f.vScroll()->setValue(0);
    const QImage screen = onScreen(f);
    const QSet<QRgb> lineColours{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int y = 0; y < 20; ++y) {
        QVERIFY(lineColours.contains(screen.pixel(48, y) | 0xFF000000));
        QVERIFY(lineColours.contains(screen.pixel(96, y) | 0xFF000000));
    }
    QVERIFY(lineColours.contains(screen.pixel(10, 96) | 0xFF000000));
    QCOMPARE(image::Colour::fromPixel(screen.pixel(10, 10)), image::GetPixel(f.window->workingImage(), 5, 5));

    // At 1x the sheet is smaller than the view: no line runs on into the grey beyond it.
    zoomTo(f, 1);
    const QImage whole = onScreen(f);
    QVERIFY(lineColours.contains(whole.pixel(24, 90) | 0xFF000000));
    QVERIFY(lineColours.contains(whole.pixel(150, 48) | 0xFF000000));
    QCOMPARE(whole.pixel(24, 100) | 0xFF000000, qRgb(128, 128, 128));
    QCOMPARE(whole.pixel(24, whole.height() - 1) | 0xFF000000, qRgb(128, 128, 128));
}

// A sheet of 2 rows and 3 columns of cells on white: the guess is its grid until an
// operation says otherwise, and the View menu names the grid in force.
void tst_WindowZoom::guessedGridOnLoad()
{
    WindowFixture f;
    QImage sheet(72, 96, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            for (int y = 10; y < 38; ++y)
                for (int x = 6; x < 18; ++x)
                    sheet.setPixel(24 * c + x, 48 * r + y, qRgb(40 * r, 60 * c, 90));
    f.load(sheet);
    const auto cells = [&] { return f.control<QAction>("mnuViewCells")->text(); };
    QCOMPARE(f.window->cellGrid().rows, 2.0);
    QCOMPARE(f.window->cellGrid().columns, 3.0);
    QCOMPARE(cells(), QStringLiteral("Cells: 2 rows \u00D7 3 columns (guessed)"));
    f.dialogs.inputs << "2,1";
    f.trigger("mnuFileArrange");
    QCOMPARE(f.window->cellGrid().rows, 2.0);
    QCOMPARE(cells(), QStringLiteral("Cells: 2 rows \u00D7 3 columns"));
    // White strips followed by black ones, which no guess reads: the answer's grid stands.
    f.dialogs.inputs << "3";
    f.trigger("mnuFileNeg");
    QCOMPARE(cells(), QStringLiteral("Cells: 2 rows \u00D7 6 columns"));
    f.trigger("mnuEditUndo");
    QCOMPARE(cells(), QStringLiteral("Cells: 2 rows \u00D7 3 columns"));
    f.trigger("mnuEditUndo");
    QCOMPARE(cells(), QStringLiteral("Cells: 2 rows \u00D7 3 columns (guessed)"));
    // Without a guess, a count no operation gave is one cell.
    f.load(patternPicture(40, 30));
    QCOMPARE(cells(), QStringLiteral("Cells: no guess"));
    f.dialogs.inputs << "1";
    f.trigger("mnuFileNeg");
    QCOMPARE(cells(), QStringLiteral("Cells: 1 row \u00D7 2 columns"));
}

QTEST_MAIN(tst_WindowZoom)
#include "window_zoom_test.moc"
