// SPDX-License-Identifier: MIT
#include "shell/window_layout.h"

#include <QTest>

class tst_WindowLayout : public QObject {
    Q_OBJECT
private slots:
    void smallestWindow();
    void tooSmallIsWidened();
    void largerWindow();
};

void tst_WindowLayout::smallestWindow()
{
    const shell::WindowLayout layout = shell::layoutWindow(4350, 4695);
    QCOMPARE(layout.viewWidth, 3641.4028f);
    QCOMPARE(layout.viewHeight, 3135.0f);
    QCOMPARE(layout.vScrollHeight, 3135.0f);
    QCOMPARE(layout.vScrollLeft, 3761.4028f);
    QCOMPARE(layout.hScrollTop, 3375.0f);
    QCOMPARE(layout.hScrollWidth, 3641.4028f);
    QCOMPARE(layout.progressTop, 3630.0f);
    QCOMPARE(layout.progressWidth, 3641.4028f);
    QCOMPARE(layout.panelLeft, 120.0f);
    QCOMPARE(layout.panelTop, 240.0f);
}

void tst_WindowLayout::tooSmallIsWidened()
{
    const shell::WindowLayout small = shell::layoutWindow(3000, 3000);
    const shell::WindowLayout minimum = shell::layoutWindow(4350, 4695);
    QCOMPARE(small.windowWidth, 4350.0f);
    QCOMPARE(small.windowHeight, 4695.0f);
    QCOMPARE(small.viewWidth, minimum.viewWidth);
    QCOMPARE(small.viewHeight, minimum.viewHeight);
}

void tst_WindowLayout::largerWindow()
{
    // 12000 x 9000 twips: 10045.249 x 6009.5845 for the viewport.
    const shell::WindowLayout layout = shell::layoutWindow(12000, 9000);
    QCOMPARE(layout.windowWidth, 12000.0f);
    QCOMPARE(layout.viewWidth, 10045.249f);
    QCOMPARE(layout.viewHeight, 6009.5845f);
    QCOMPARE(shell::toPixels(layout.viewWidth), 670);
    QCOMPARE(shell::toPixels(layout.viewHeight), 401);
}

QTEST_APPLESS_MAIN(tst_WindowLayout)
#include "window_layout_test.moc"
