// SPDX-License-Identifier: MIT
// Surfaces share pixels with pictures taken from them (undo steps hold such pictures)
// and keep their memory across changes of size; neither may show in what they hold.
#include "image/raster.h"
#include "image/row_loop.h"
#include "image/surface.h"
#include "pixel_text.h"

#include <QtTest>

#include <algorithm>
#include <array>
#include <functional>
#include <thread>
#include <vector>

using image::Surface;
using pixel_text::text;

namespace {

// Large enough for the memory of 2 MiB pages.
constexpr int kLargeSide = 1024;

QImage copyOf(const QImage& picture)
{
    return picture.copy();
}

// Whether the first `height` rows of `picture` hold `pattern`, one colour a row.
bool holds(const QImage& picture, int height, const std::function<QRgb(int)>& pattern)
{
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        if (std::any_of(line, line + picture.width(), [&](QRgb pixel) { return pixel != pattern(y); }))
            return false;
    }
    return true;
}

// Makes, shares, resizes and drops surfaces `side` pixels wide, marked as its own by
// `mark`; says what lost its pixels, or null where nothing did.
const char* churn(int side, int mark)
{
    const auto pattern = [mark](int y) { return qRgb(mark, y & 0xFF, y >> 8 & 0xFF); };
    for (int round = 0; round < 2; ++round) {
        Surface surface(image::rgb(0, 0, 0), 0, 0);
        surface.resizeUnfilled(side, side);
        for (int y = 0; y < side; ++y)
            image::fillRow(surface.row(y), side, pattern(y));
        const QImage taken = surface.picture();
        surface.resize(side, side + 1);
        if (!holds(surface.picture(), side, pattern)
            || std::as_const(surface).row(side)[0] != surface.backgroundPixel())
            return "resized";
        if (!holds(taken, side, pattern))
            return "taken";
        surface.resizeUnfilled(side, side);
        for (int y = 0; y < side; ++y)
            image::fillRow(surface.row(y), side, pattern(side - y));
        if (!holds(surface.picture(), side, [&](int y) { return pattern(side - y); }))
            return "overwritten";
    }
    return nullptr;
}

} // namespace

class tst_SurfaceMemory : public QObject {
    Q_OBJECT

private slots:
    void takenPictureKeepsItsPixels_data();
    void takenPictureKeepsItsPixels();
    void rewriteReadsTheSharedPixels();
    void unsharedMemoryIsReused();
    void swapKeepsBackgrounds();
    void bigSurfaceKeepsWhatIsWrittenWhileFaultedIn();
    void threadsKeepTheirPixels_data();
    void threadsKeepTheirPixels();
};

void tst_SurfaceMemory::takenPictureKeepsItsPixels_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<std::function<void(Surface&)>>("change");

    const QList<std::pair<const char*, std::function<void(Surface&)>>> changes = {
        {"pixel written", [](Surface& s) { image::SetPixel(s, 1, 1, image::rgb(1, 2, 3)); }},
        {"cleared", [](Surface& s) { s.clear(); }},
        {"resized", [](Surface& s) { s.resize(s.width() - 1, s.height() + 1); }},
        {"made blank, smaller", [](Surface& s) { s.resizeBlank(s.width() / 2, s.height()); }},
        {"overwritten",
         [](Surface& s) {
             s.resizeUnfilled(s.width(), s.height());
             for (int y = 0; y < s.height(); ++y)
                 image::fillRow(s.row(y), s.width(), qRgb(7, 7, 7));
         }},
        {"rewritten",
         [](Surface& s) {
             const QImage old = s.pixelsBeforeRewrite();
             for (int y = 0; y < s.height(); ++y)
                 image::fillRow(s.row(y), s.width(), ~reinterpret_cast<const QRgb*>(old.constScanLine(y))[0]);
         }},
        {"copied onto itself", [](Surface& s) { image::BitBlt(s, 0, 1, s.width(), s.height(), s, 0, 0); }},
    };
    for (int side : {4, kLargeSide})
        for (const auto& [name, change] : changes)
            QTest::addRow("%s, %d", name, side) << side << change;
}

void tst_SurfaceMemory::takenPictureKeepsItsPixels()
{
    QFETCH(int, side);
    QFETCH(std::function<void(Surface&)>, change);

    Surface surface(image::rgb(9, 9, 9), side, side);
    for (int i = 0; i < side; ++i)
        image::SetPixel(surface, i, i, image::rgb(i & 0xFF, 100, 200));
    const QImage taken = surface.picture();
    const QImage before = copyOf(taken);
    change(surface);
    QCOMPARE(taken, before);
    // The surface's copy is independent too: writing it again leaves the picture alone.
    if (surface.width() > 0 && surface.height() > 0)
        image::SetPixel(surface, 0, 0, image::rgb(4, 5, 6));
    QCOMPARE(taken, before);
}

void tst_SurfaceMemory::rewriteReadsTheSharedPixels()
{
    Surface surface = pixel_text::surface("ab|cd");
    QVERIFY(surface.pixelsBeforeRewrite().isNull()); // nothing shares it: the pass works in place

    const QImage step = surface.picture();
    const QImage old = surface.pixelsBeforeRewrite();
    QCOMPARE(old, step);
    QVERIFY(surface.picture().constBits() != step.constBits());
    QCOMPARE(surface.width(), 2);
    QCOMPARE(surface.height(), 2);
}

void tst_SurfaceMemory::unsharedMemoryIsReused()
{
    Surface surface(image::rgb(0, 0, 0), kLargeSide, kLargeSide);
    const uchar* memory = surface.picture().constBits();
    surface.resizeUnfilled(kLargeSide / 2, kLargeSide);
    QCOMPARE(surface.picture().constBits(), memory);
    surface.resizeBlank(kLargeSide, kLargeSide);
    QCOMPARE(surface.picture().constBits(), memory);
    QCOMPARE(image::GetPixel(surface, kLargeSide - 1, kLargeSide - 1), image::rgb(0, 0, 0));

    // Shared, it is left to the sharer.
    const QImage step = surface.picture();
    surface.resizeUnfilled(kLargeSide / 2, kLargeSide);
    QVERIFY(surface.picture().constBits() != memory);
    QCOMPARE(step.constBits(), memory);
}

void tst_SurfaceMemory::swapKeepsBackgrounds()
{
    Surface a = pixel_text::surface("ab", image::rgb(1, 1, 1));
    Surface b = pixel_text::surface("c|d", image::rgb(2, 2, 2));
    a.swapPixels(b);
    QCOMPARE(text(a), "c|d");
    QCOMPARE(text(b), "ab");
    a.clear();
    QCOMPARE(image::GetPixel(a, 0, 1), image::rgb(1, 1, 1));
}

// Big blocks are faulted in from their end by a helper while the surface is written from
// its start; no pixel may be lost where the two meet.
void tst_SurfaceMemory::bigSurfaceKeepsWhatIsWrittenWhileFaultedIn()
{
    constexpr int kSide = 4096; // 64 MiB
    const auto pattern = [](int x, int y) { return qRgb(x & 0xFF, y & 0xFF, (x ^ y) >> 4 & 0xFF); };
    for (int run = 0; run < 3; ++run) {
        Surface sheet(image::rgb(0, 0, 0), 0, 0);
        sheet.resizeUnfilled(kSide, kSide);
        for (int y = 0; y < kSide; ++y) {
            QRgb* line = sheet.row(y);
            for (int x = 0; x < kSide; ++x)
                line[x] = pattern(x, y);
        }
        for (int y = 0; y < kSide; ++y) {
            const QRgb* line = std::as_const(sheet).row(y);
            for (int x = 0; x < kSide; ++x)
                if (line[x] != pattern(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) lost").arg(x).arg(y)));
        }
    }
    // Dropped unwritten, with the helper still at work.
    for (int i = 0; i < 5; ++i) {
        Surface unwritten(image::rgb(1, 2, 3), 0, 0);
        unwritten.resizeUnfilled(kSide, kSide);
    }
}

void tst_SurfaceMemory::threadsKeepTheirPixels_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("small") << 16;
    QTest::newRow("2 MiB pages") << kLargeSide;
    QTest::newRow("faulted in by a helper") << 2900; // 32 MiB and more
}

// A batch run converts several files at once, each thread with surfaces of its own.
void tst_SurfaceMemory::threadsKeepTheirPixels()
{
    QFETCH(int, side);
    constexpr int kThreads = 4;
    std::array<const char*, kThreads> lost{};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&lost, side, t] { lost[t] = churn(side, 10 + t); });
    for (std::thread& thread : threads)
        thread.join();
    for (const char* what : lost)
        QVERIFY2(!what, what);
}

QTEST_GUILESS_MAIN(tst_SurfaceMemory)
#include "surface_memory_test.moc"
