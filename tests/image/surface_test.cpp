// SPDX-License-Identifier: MIT
#include "image/raster.h"
#include "image/surface.h"
#include "pixel_text.h"

#include <QtTest>

#include <limits>

using image::Surface;
using image::SurfaceError;
using pixel_text::text;

class tst_Surface : public QObject {
    Q_OBJECT

private slots:
    void resize_data();
    void resize();
    void shrinkThenGrowShowsBackground();
    void clear();
    void refusedSize_data();
    void refusedSize();
    void assignDropsAlpha_data();
    void assignDropsAlpha();
    void assignSharesAnOpaquePicture();
};

void tst_Surface::resize_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("after");

    QTest::newRow("grow both") << "ab|cd" << 3 << 3 << "ab.|cd.|...";
    QTest::newRow("shrink both") << "abc|def|ghi" << 2 << 1 << "ab";
    QTest::newRow("wider, lower") << "abc|def" << 4 << 1 << "abc.";
    QTest::newRow("narrower, taller") << "abc|def" << 1 << 3 << "a|d|.";
    QTest::newRow("same size") << "ab|cd" << 2 << 2 << "ab|cd";
    QTest::newRow("from 1x1") << "a" << 2 << 2 << "a.|..";
    QTest::newRow("from no columns") << "" << 2 << 2 << "..|..";
}

void tst_Surface::resize()
{
    QFETCH(QString, before);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, after);

    Surface surface = pixel_text::surface(before);
    surface.resize(width, height);
    QCOMPARE(surface.width(), width);
    QCOMPARE(surface.height(), height);
    QCOMPARE(text(surface), after);
}

void tst_Surface::shrinkThenGrowShowsBackground()
{
    Surface surface = pixel_text::surface("ab|cd");
    surface.resize(1, surface.height());
    surface.setHeight(1);
    surface.resize(0, 0);
    surface.resize(1, 1);
    QCOMPARE(text(surface), "."); // nothing of the old pixels comes back

    surface = pixel_text::surface("ab|cd");
    surface.resize(1, 1);
    surface.resize(2, 2);
    QCOMPARE(text(surface), "a.|..");
}

void tst_Surface::clear()
{
    Surface surface = pixel_text::surface("ab|cd");
    surface.resize(3, 2);
    surface.clear();
    QCOMPARE(text(surface), "...|...");

    Surface black(image::rgb(0, 0, 0), 2, 1);
    image::SetPixel(black, 1, 0, image::rgb(255, 255, 255));
    black.clear();
    QCOMPARE(image::GetPixel(black, 1, 0), image::rgb(0, 0, 0));
}

void tst_Surface::refusedSize_data()
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("negative width") << -1 << 2;
    QTest::newRow("negative height") << 2 << -1;
    QTest::newRow("int min") << kMin << kMin;
    QTest::newRow("one row over the limit") << 16384 << 16385;
    QTest::newRow("long thin over the limit") << 268435457 << 1;
    QTest::newRow("int max square") << kMax << kMax;
    QTest::newRow("int max by negative") << kMax << -1;
}

void tst_Surface::refusedSize()
{
    QFETCH(int, width);
    QFETCH(int, height);

    Surface surface = pixel_text::surface("ab|cd");
    QVERIFY_THROWS_EXCEPTION(SurfaceError, surface.resize(width, height));
    QCOMPARE(surface.width(), 2);
    QCOMPARE(surface.height(), 2);
    QCOMPARE(text(surface), "ab|cd");

    QVERIFY_THROWS_EXCEPTION(SurfaceError, Surface(image::rgb(0, 0, 0), width, height));
}

void tst_Surface::assignDropsAlpha_data()
{
    QTest::addColumn<QImage>("picture");

    QImage straight(2, 1, QImage::Format_ARGB32);
    straight.setPixel(0, 0, qRgba(10, 20, 30, 0));
    straight.setPixel(1, 0, qRgba(200, 100, 50, 128));
    QTest::newRow("ARGB32") << straight;

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(10, 20, 30, 0), qRgba(200, 100, 50, 128)});
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    QTest::newRow("palette") << indexed;

    QImage rgba64(2, 1, QImage::Format_RGBA64);
    rgba64.setPixelColor(0, 0, QColor(10, 20, 30, 0));
    rgba64.setPixelColor(1, 0, QColor(200, 100, 50, 128));
    QTest::newRow("RGBA64") << rgba64;

    QImage stray(2, 1, QImage::Format_RGB32);
    auto* line = reinterpret_cast<QRgb*>(stray.scanLine(0));
    line[0] = 0x000A141Eu;
    line[1] = 0x80C86432u;
    QTest::newRow("RGB32 with stray alpha bits") << stray;
}

void tst_Surface::assignDropsAlpha()
{
    QFETCH(QImage, picture);

    Surface surface = pixel_text::surface("abc|def|ghi");
    surface.assign(picture);
    QCOMPARE(surface.width(), 2);
    QCOMPARE(surface.height(), 1);
    QCOMPARE(image::GetPixel(surface, 0, 0), image::rgb(10, 20, 30));
    QCOMPARE(image::GetPixel(surface, 1, 0), image::rgb(200, 100, 50));
    QCOMPARE(surface.picture().pixel(1, 0), qRgb(200, 100, 50));
    const auto* stored = reinterpret_cast<const QRgb*>(surface.picture().constScanLine(0));
    QCOMPARE(stored[0], qRgb(10, 20, 30));
    QCOMPARE(stored[1], qRgb(200, 100, 50));
}

// A loaded sheet must not need its memory twice.
void tst_Surface::assignSharesAnOpaquePicture()
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    Surface surface;
    surface.assign(picture);
    QCOMPARE(surface.picture().constBits(), picture.constBits());

    image::SetPixel(surface, 0, 0, image::rgb(9, 9, 9));
    QCOMPARE(image::GetPixel(surface, 0, 0), image::rgb(9, 9, 9));
    QCOMPARE(picture.pixel(0, 0), qRgb(1, 2, 3));
}

QTEST_GUILESS_MAIN(tst_Surface)
#include "surface_test.moc"
