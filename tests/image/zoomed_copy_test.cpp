// SPDX-License-Identifier: MIT
#include "image/raster.h"
#include "image/zoomed_copy.h"

#include <QTest>

namespace {

image::Surface pattern(int width, int height)
{
    image::Surface surface(image::rgb(0, 0, 0), width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image::SetPixel(surface, x, y, image::rgb(x + 1, y + 1, 7));
    return surface;
}

} // namespace

class tst_ZoomedCopy : public QObject {
    Q_OBJECT
private slots:
    // Every destination pixel against the rule, one pixel at a time: its source pixel,
    // or its old value where that lies outside the source.
    void matchesTheRule_data()
    {
        QTest::addColumn<int>("factor");
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        QTest::newRow("1, as a copy") << 1 << 3 << 2;
        QTest::newRow("2 from the corner") << 2 << 0 << 0;
        QTest::newRow("3, cut squares at the edges") << 3 << 5 << 4;
        QTest::newRow("4, source ends inside") << 4 << 15 << 9;
        QTest::newRow("6, before the source") << 6 << -2 << -1;
        QTest::newRow("16, far outside") << 16 << 2000000000 << -2000000000;
    }
    void matchesTheRule()
    {
        QFETCH(int, factor);
        QFETCH(int, sx);
        QFETCH(int, sy);
        const image::Surface source = pattern(20, 12);
        image::Surface dest(image::rgb(128, 128, 128), 37, 29);
        image::zoomedCopy(dest, source, sx, sy, factor);
        for (int y = 0; y < dest.height(); ++y) {
            for (int x = 0; x < dest.width(); ++x) {
                const qint64 fromX = qint64(sx) + x / factor, fromY = qint64(sy) + y / factor;
                const bool inside = fromX >= 0 && fromX < 20 && fromY >= 0 && fromY < 12;
                const image::Colour want
                    = inside ? image::GetPixel(source, int(fromX), int(fromY)) : image::rgb(128, 128, 128);
                if (image::GetPixel(dest, x, y) != want)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(tst_ZoomedCopy)
#include "zoomed_copy_test.moc"
