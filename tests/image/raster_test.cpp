// SPDX-License-Identifier: MIT
#include "image/raster.h"
#include "pixel_text.h"
#include "support/colour_text.h"

#include <QtTest>

#include <limits>

using image::Colour;
using image::Surface;
using pixel_text::text;

namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

// All 24 colour bits set but one: merges by AND stay readable.
constexpr Colour allBut(int bit)
{
    return Colour::fromBgr(0xFFFFFFu & ~(1u << bit));
}

constexpr Colour operator&(Colour a, Colour b)
{
    return Colour::fromBgr(a.bgr() & b.bgr());
}

Surface line(const QList<Colour>& colours, bool vertical)
{
    const int n = int(colours.size());
    Surface result(pixel_text::kDot, vertical ? 1 : n, vertical ? n : 1);
    for (int i = 0; i < n; ++i)
        image::SetPixel(result, vertical ? 0 : i, vertical ? i : 0, colours[i]);
    return result;
}

QList<Colour> pixels(const Surface& surface)
{
    QList<Colour> result;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            result << image::GetPixel(surface, x, y);
    return result;
}

} // namespace

class tst_Raster : public QObject {
    Q_OBJECT

private slots:
    void bitBltClips_data();
    void bitBltClips();
    void bitBltWithinOneSurface_data();
    void bitBltWithinOneSurface();
    void pixelOutside_data();
    void pixelOutside();
    void pixelInsideNeverReadsAsOutside();
    void stretchMerges_data();
    void stretchMerges();
    void stretchClips_data();
    void stretchClips();
    void stretchHugeSourceMergesWhatExists();
    void stretchSpriteCellHalfHeight();
    void stretchFewWideRowsOntoManyNarrowOnes();
};

void tst_Raster::bitBltClips_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("sx");
    QTest::addColumn<int>("sy");
    QTest::addColumn<QString>("expected");

    const QString unchanged = ".....|.....|.....|.....";
    // Source: abcd|efgh|ijkl onto a 5 x 4 destination of dots.
    QTest::newRow("inside") << 1 << 1 << 2 << 2 << 1 << 0 << ".....|.bc..|.fg..|.....";
    QTest::newRow("whole source") << 1 << 1 << 4 << 3 << 0 << 0 << ".....|.abcd|.efgh|.ijkl";
    QTest::newRow("past source right") << 0 << 0 << 5 << 1 << 2 << 0 << "cd...|.....|.....|.....";
    QTest::newRow("past source bottom") << 0 << 0 << 1 << 4 << 0 << 1 << "e....|i....|.....|.....";
    QTest::newRow("past dest right") << 3 << 0 << 4 << 1 << 0 << 0 << "...ab|.....|.....|.....";
    QTest::newRow("past dest bottom") << 0 << 2 << 1 << 3 << 3 << 0 << ".....|.....|d....|h....";
    QTest::newRow("negative dest x") << -2 << 0 << 4 << 1 << 0 << 0 << "cd...|.....|.....|.....";
    QTest::newRow("negative dest y") << 0 << -1 << 1 << 3 << 0 << 0 << "e....|i....|.....|.....";
    QTest::newRow("negative source x") << 0 << 0 << 3 << 1 << -1 << 0 << ".ab..|.....|.....|.....";
    QTest::newRow("negative source y") << 0 << 0 << 1 << 3 << 0 << -2 << ".....|.....|a....|.....";
    QTest::newRow("larger than both") << -1 << -1 << 100 << 100 << 0 << 0 << "fgh..|jkl..|.....|.....";
    QTest::newRow("zero width") << 0 << 0 << 0 << 2 << 0 << 0 << unchanged;
    QTest::newRow("negative height") << 0 << 0 << 2 << -3 << 0 << 0 << unchanged;
    QTest::newRow("dest right of dest") << 5 << 0 << 2 << 2 << 0 << 0 << unchanged;
    QTest::newRow("source below source") << 0 << 0 << 2 << 2 << 0 << 3 << unchanged;
    QTest::newRow("x + w past int max") << 2 << 0 << kMax << 1 << 0 << 0 << "..abc|.....|.....|.....";
    QTest::newRow("far negative origins, huge width reaching in")
        << kMin + 4 << 0 << kMax << 1 << kMin + 4 << 0 << "abc..|.....|.....|.....";
    QTest::newRow("int min dest x, int max width") << kMin << 0 << kMax << 1 << 0 << 0 << unchanged;
    QTest::newRow("int min source, int max size") << 0 << 0 << kMax << kMax << kMin << kMin << unchanged;
    QTest::newRow("int max everywhere") << kMax << kMax << kMax << kMax << kMax << kMax << unchanged;
    QTest::newRow("int min everywhere") << kMin << kMin << kMin << kMin << kMin << kMin << unchanged;
}

void tst_Raster::bitBltClips()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, sx);
    QFETCH(int, sy);
    QFETCH(QString, expected);

    const Surface source = pixel_text::surface("abcd|efgh|ijkl");
    Surface dest = pixel_text::surface(".....|.....|.....|.....");
    image::BitBlt(dest, x, y, w, h, source, sx, sy);
    QCOMPARE(text(dest), expected);
    QCOMPARE(text(source), "abcd|efgh|ijkl");
}

void tst_Raster::bitBltWithinOneSurface_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<int>>("rect"); // x, y, w, h, sx, sy
    QTest::addColumn<QString>("after");

    QTest::newRow("right by 2") << "abcdefgh" << QList<int>{2, 0, 5, 1, 0, 0} << "ababcdeh";
    QTest::newRow("left by 2") << "abcdefgh" << QList<int>{0, 0, 5, 1, 2, 0} << "cdefgfgh";
    QTest::newRow("right, clipped") << "abcdefgh" << QList<int>{6, 0, 5, 1, 0, 0} << "abcdefab";
    QTest::newRow("down by 1") << "a|b|c|d|e" << QList<int>{0, 1, 1, 4, 0, 0} << "a|a|b|c|d";
    QTest::newRow("up by 1") << "a|b|c|d|e" << QList<int>{0, 0, 1, 4, 0, 1} << "b|c|d|e|e";
    QTest::newRow("down-right") << "abc|def|ghi" << QList<int>{1, 1, 2, 2, 0, 0} << "abc|dab|gde";
    QTest::newRow("up-left") << "abc|def|ghi" << QList<int>{0, 0, 2, 2, 1, 1} << "efc|hif|ghi";
    QTest::newRow("down-left") << "abc|def|ghi" << QList<int>{0, 1, 2, 2, 1, 0} << "abc|bcf|efi";
    QTest::newRow("onto itself") << "abc|def|ghi" << QList<int>{0, 0, 3, 3, 0, 0} << "abc|def|ghi";
}

void tst_Raster::bitBltWithinOneSurface()
{
    QFETCH(QString, before);
    QFETCH(QList<int>, rect);
    QFETCH(QString, after);

    Surface surface = pixel_text::surface(before);
    image::BitBlt(surface, rect[0], rect[1], rect[2], rect[3], surface, rect[4], rect[5]);
    QCOMPARE(text(surface), after);
}

void tst_Raster::pixelOutside_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");

    QTest::newRow("(width, 0)") << 3 << 0;
    QTest::newRow("(0, height)") << 0 << 2;
    QTest::newRow("(width, height)") << 3 << 2;
    QTest::newRow("(-1, 0)") << -1 << 0;
    QTest::newRow("(0, -1)") << 0 << -1;
    QTest::newRow("int max") << kMax << 0;
    QTest::newRow("int min") << kMin << kMin;
}

void tst_Raster::pixelOutside()
{
    QFETCH(int, x);
    QFETCH(int, y);

    Surface surface = pixel_text::surface("abc|def");
    QCOMPARE(image::GetPixel(surface, x, y), Colour::fromBgr(0xFFFFFFFF));
    image::SetPixel(surface, x, y, pixel_text::colourOf(u'z'));
    QCOMPARE(text(surface), "abc|def");

    const Surface empty;
    QCOMPARE(image::GetPixel(empty, 0, 0), Colour::fromBgr(0xFFFFFFFF));
}

void tst_Raster::pixelInsideNeverReadsAsOutside()
{
    Surface surface(image::rgb(0, 0, 0), 2, 1);
    image::SetPixel(surface, 0, 0, Colour::fromBgr(0xFFFFFFFF));
    image::SetPixel(surface, 1, 0, Colour::fromBgr(0xAB123456));
    QCOMPARE(image::GetPixel(surface, 0, 0), image::rgb(255, 255, 255));
    QCOMPARE(image::GetPixel(surface, 1, 0), Colour::fromBgr(0x123456));
}

void tst_Raster::stretchMerges_data()
{
    QTest::addColumn<QList<Colour>>("source");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<Colour>>("expected");
    QTest::addColumn<bool>("vertical");

    const Colour magenta = image::rgb(255, 0, 255);
    const Colour yellow = image::rgb(255, 255, 0);
    const Colour red = image::rgb(255, 0, 0);
    const Colour a = pixel_text::colourOf(u'a');
    const Colour b = pixel_text::colourOf(u'b');
    const Colour c = pixel_text::colourOf(u'c');
    const Colour b0 = allBut(0), b1 = allBut(1), b2 = allBut(2), b3 = allBut(3), b4 = allBut(4);

    for (bool vertical : {false, true}) {
        const char* axis = vertical ? "vertical" : "horizontal";
        auto row = [&](const char* name) -> QTestData& { return QTest::addRow("%s, %s", name, axis); };
        row("magenta and yellow onto one") << QList{magenta, yellow} << 1 << QList{red} << vertical;
        row("black wins") << QList{image::rgb(255, 255, 255), image::rgb(0, 0, 0)} << 1 << QList{image::rgb(0, 0, 0)}
                          << vertical;
        row("4 to 2") << QList{b0, b1, b2, b3} << 2 << QList{b0 & b1, b2 & b3} << vertical;
        row("3 to 1") << QList{b0, b1, b2} << 1 << QList{b0 & b1 & b2} << vertical;
        row("3 to 2") << QList{b0, b1, b2} << 2 << QList{b0, b1 & b2} << vertical;
        row("5 to 2") << QList{b0, b1, b2, b3, b4} << 2 << QList{b0 & b1, b2 & b3 & b4} << vertical;
        row("5 to 3") << QList{b0, b1, b2, b3, b4} << 3 << QList{b0, b1 & b2, b3 & b4} << vertical;
        row("same size") << QList{a, b, c} << 3 << QList{a, b, c} << vertical;
        row("2 to 6") << QList{a, b} << 6 << QList{a, a, a, b, b, b} << vertical;
        row("2 to 5") << QList{a, b} << 5 << QList{a, a, a, b, b} << vertical;
        row("1 to 3") << QList{c} << 3 << QList{c, c, c} << vertical;
    }
}

void tst_Raster::stretchMerges()
{
    QFETCH(QList<Colour>, source);
    QFETCH(int, size);
    QFETCH(QList<Colour>, expected);
    QFETCH(bool, vertical);

    const Surface src = line(source, vertical);
    Surface dest = line(QList<Colour>(size, pixel_text::kDot), vertical);
    const int n = int(source.size());
    if (vertical)
        image::StretchBlt(dest, 0, 0, 1, size, src, 0, 0, 1, n);
    else
        image::StretchBlt(dest, 0, 0, size, 1, src, 0, 0, n, 1);
    QCOMPARE(pixels(dest), expected);
}

void tst_Raster::stretchClips_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<QList<int>>("rects"); // x, y, w, h, sx, sy, sw, sh
    QTest::addColumn<QString>("expected");

    QTest::newRow("source starts left of source") << "ab"
                                                  << "...." << QList<int>{0, 0, 4, 1, -1, 0, 2, 1} << "..aa";
    QTest::newRow("source ends right of source, shrinking") << "ab"
                                                            << ".." << QList<int>{0, 0, 2, 1, 1, 0, 4, 1} << "b.";
    QTest::newRow("dest starts left of dest") << "ab"
                                              << "..." << QList<int>{-2, 0, 6, 1, 0, 0, 2, 1} << "abb";
    QTest::newRow("dest ends right of dest") << "ab"
                                             << "...." << QList<int>{2, 0, 6, 1, 0, 0, 2, 1} << "..aa";
    QTest::newRow("dest starts above dest") << "a|b"
                                            << ".|.|." << QList<int>{0, -1, 1, 4, 0, 0, 1, 2} << "a|b|b";
    QTest::newRow("source starts above source") << "a|b"
                                                << ".|.|.|." << QList<int>{0, 0, 1, 4, 0, -1, 1, 2} << ".|.|a|a";
    QTest::newRow("into the middle") << "ab|cd"
                                     << "....|....|....|...." << QList<int>{1, 1, 2, 2, 0, 0, 2, 2}
                                     << "....|.ab.|.cd.|....";
    QTest::newRow("source wholly outside") << "ab"
                                           << ".." << QList<int>{0, 0, 2, 1, 2, 0, 2, 1} << "..";
    QTest::newRow("zero width") << "ab"
                                << ".." << QList<int>{0, 0, 0, 1, 0, 0, 2, 1} << "..";
    QTest::newRow("negative height") << "ab"
                                     << ".." << QList<int>{0, 0, 2, -1, 0, 0, 2, 1} << "..";
    QTest::newRow("zero source width") << "ab"
                                       << ".." << QList<int>{0, 0, 2, 1, 0, 0, 0, 1} << "..";
    QTest::newRow("negative source height") << "ab"
                                            << ".." << QList<int>{0, 0, 2, 1, 0, 0, 2, -1} << "..";
    QTest::newRow("huge equal sizes copy one to one")
        << "abc|def"
        << "....|...." << QList<int>{0, 0, kMax, kMax, 0, 0, kMax, kMax} << "abc.|def.";
    QTest::newRow("int min dest origin") << "ab"
                                         << "...." << QList<int>{kMin, 0, kMax, 1, 0, 0, 2, 1} << "....";
    QTest::newRow("int min source origin") << "ab"
                                           << "...." << QList<int>{0, 0, 4, 1, kMin, 0, kMax, 1} << "....";
    QTest::newRow("int max dest origin") << "ab"
                                         << "...." << QList<int>{kMax, 0, kMax, 1, 0, 0, 2, 1} << "....";
}

void tst_Raster::stretchClips()
{
    QFETCH(QString, source);
    QFETCH(QString, dest);
    QFETCH(QList<int>, rects);
    QFETCH(QString, expected);

    const Surface src = pixel_text::surface(source);
    Surface target = pixel_text::surface(dest);
    image::StretchBlt(target, rects[0], rects[1], rects[2], rects[3], src, rects[4], rects[5], rects[6], rects[7]);
    QCOMPARE(text(target), expected);
}

void tst_Raster::stretchHugeSourceMergesWhatExists()
{
    const Surface src = line({allBut(0), allBut(1)}, false);
    Surface dest = line({pixel_text::kDot, pixel_text::kDot, pixel_text::kDot}, false);
    image::StretchBlt(dest, 0, 0, 3, 1, src, 0, 0, kMax, 1);
    QCOMPARE(pixels(dest), (QList<Colour>{allBut(0) & allBut(1), pixel_text::kDot, pixel_text::kDot}));
}

// A sprite cell of the default size squeezed to half height: the halves stay halves,
// columns stay put, and a one-pixel black outline row survives in exactly one row.
void tst_Raster::stretchSpriteCellHalfHeight()
{
    Surface cell(image::rgb(0, 0, 0), 24, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 24; ++x)
            image::SetPixel(cell, x, y, y < 50 ? image::rgb(x + 1, 0x80, 0xFF) : image::rgb(0xFF, 0x80, x + 1));
    Surface squeezed(pixel_text::kDot, 24, 48);
    image::StretchBlt(squeezed, 0, 0, 24, 48, cell, 0, 0, 24, 100);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 24; ++x)
            QCOMPARE(image::GetPixel(squeezed, x, y),
                     y < 24 ? image::rgb(x + 1, 0x80, 0xFF) : image::rgb(0xFF, 0x80, x + 1));

    for (int x = 0; x < 24; ++x)
        image::SetPixel(cell, x, 10, image::rgb(0, 0, 0));
    image::StretchBlt(squeezed, 0, 0, 24, 48, cell, 0, 0, 24, 100);
    QList<int> blackRows;
    for (int y = 0; y < 48; ++y) {
        if (image::GetPixel(squeezed, 0, y) == image::rgb(0, 0, 0)) {
            blackRows << y;
            for (int x = 1; x < 24; ++x)
                QCOMPARE(image::GetPixel(squeezed, x, y), image::rgb(0, 0, 0));
        }
    }
    QCOMPARE(blackRows.size(), 1);
    QVERIFY2(blackRows.front() == 4 || blackRows.front() == 5, "source row 10 lies at 4.8 of 48");
}

// Two rows of 20000 pixels onto one column of a million rows: each source row is merged
// once, not once for every destination row it lands on (20 billion reads).
void tst_Raster::stretchFewWideRowsOntoManyNarrowOnes()
{
    Surface src(image::rgb(0, 0, 0), 20000, 2);
    for (int x = 0; x < 20000; ++x) {
        image::SetPixel(src, x, 0, allBut(x % 2));
        image::SetPixel(src, x, 1, allBut(2));
    }
    Surface dest(pixel_text::kDot, 1, 1000000);
    image::StretchBlt(dest, 0, 0, 1, 1000000, src, 0, 0, 20000, 2);
    for (int y = 0; y < 1000000; ++y) {
        const Colour expected = y < 500000 ? allBut(0) & allBut(1) : allBut(2);
        if (image::GetPixel(dest, 0, y) != expected)
            QFAIL(qPrintable(QStringLiteral("row %1").arg(y)));
    }
}

QTEST_GUILESS_MAIN(tst_Raster)
#include "raster_test.moc"
