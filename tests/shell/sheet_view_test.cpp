// SPDX-License-Identifier: MIT
#include "shell/sheet_document.h"
#include "shell/sheet_view.h"
#include "window_fixture.h"

namespace {

// A document holding a picture whose every pixel differs, and a view of it in a bare
// widget with an inner area of 180 x 180 pixels.
struct ViewRig {
    QTemporaryDir folder;
    QWidget parent;
    shell::SheetDocument document;
    shell::SheetView view{document, &parent};

    explicit ViewRig(QSize size)
    {
        const QString path = folder.filePath(QStringLiteral("sheet.bmp"));
        patternPicture(size.width(), size.height()).save(path, "BMP");
        view.viewport()->resize(180 + 2 * shell::Viewport::kBorder, 180 + 2 * shell::Viewport::kBorder);
        parent.show();
        QVERIFY(document.load(path).ok());
        view.showCorner();
    }

    QPoint scroll() const { return {view.horizontalBar()->value(), view.verticalBar()->value()}; }
};

} // namespace

class tst_SheetView : public QObject {
    Q_OBJECT

private slots:
    void zoomFromTheEnd_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("to");
        QTest::addColumn<QPoint>("scroll"); // after the zoom, worked out by hand
        // At 2x the end is (102, 102) and the centre shows pixel (147, 147).
        QTest::newRow("1x, wider than the view") << QSize(192, 192) << 1 << QPoint(12, 12);
        // At 2x the end is (310, 210), the centre (355, 255); at 3x the limits are (340, 240).
        QTest::newRow("3x") << QSize(400, 300) << 3 << QPoint(325, 225);
    }

    // Scrolled to the end at 2x and zoomed about the centre: the scroll values stay within
    // the new limits and the view is drawn from them.
    void zoomFromTheEnd()
    {
        QFETCH(QSize, picture);
        QFETCH(int, to);
        QFETCH(QPoint, scroll);
        ViewRig rig(picture);
        rig.view.zoomAround(2, rig.view.centre());
        rig.view.scrollTo({rig.view.horizontalBar()->maximum(), rig.view.verticalBar()->maximum()});
        rig.view.zoomAround(to, rig.view.centre());
        QCOMPARE(rig.scroll(), scroll);
        QCOMPARE(rig.view.pictureAt(QPointF(0, 0)), scroll);
        QCOMPARE(image::GetPixel(rig.view.viewport()->surface(), 0, 0),
                 image::GetPixel(rig.document.picture(), scroll.x(), scroll.y()));
    }
};

QTEST_MAIN(tst_SheetView)
#include "sheet_view_test.moc"
