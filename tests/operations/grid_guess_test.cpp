// SPDX-License-Identifier: MIT
#include "operations/grid_guess.h"
#include "sheet_fixtures.h"

#include <QRandomGenerator>
#include <QTest>

using image::rgb;

namespace {

enum class Kind { Grid, Noise, Speckles, NoBackground };
enum Trait { Plain = 0, EmptyCells = 1, Narrow = 2, Touching = 4 };

struct Family {
    Kind kind;
    int cellWidth, cellHeight, rows, columns, spareX, spareY, traits;
};

constexpr int kSheetsPerFamily = 12;

int between(QRandomGenerator& random, int low, int high) // both included
{
    return random.bounded(low, high + 1);
}

image::Colour inkOn(QRandomGenerator& random, image::Colour background)
{
    const quint32 ink = random.bounded(0x1000000);
    return image::Colour::fromBgr(ink == background.bgr() ? ink ^ 1 : ink);
}

// A filled ellipse with a margin of a pixel or more; with Narrow, half the sprites are a
// quarter of the cell wide against its left or right edge; with Touching, a third reach
// out to one edge of the cell with a 2-pixel arm.
void drawSprite(image::Surface& sheet, QRandomGenerator& random, int left, int top, const Family& f)
{
    const image::Colour ink = inkOn(random, sheet.background());
    const bool narrow = (f.traits & Narrow) && random.bounded(2);
    const int w = narrow ? std::max(2, f.cellWidth / 4) : between(random, f.cellWidth / 2, f.cellWidth - 2);
    const int h = between(random, f.cellHeight / 2, f.cellHeight - 2);
    const int x = narrow ? (random.bounded(2) ? 1 : f.cellWidth - 1 - w)
                         : std::clamp((f.cellWidth - w) / 2 + between(random, -1, 1), 1, f.cellWidth - 1 - w);
    const int y = std::clamp((f.cellHeight - h) / 2 + between(random, -2, 2), 1, f.cellHeight - 1 - h);
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) {
            const double u = (2.0 * column + 1 - w) / w;
            const double v = (2.0 * row + 1 - h) / h;
            if (u * u + v * v <= 1)
                image::SetPixel(sheet, left + x + column, top + y + row, ink);
        }
    const int cx = left + x + w / 2;
    const int cy = top + y + h / 2;
    if ((f.traits & Touching) && random.bounded(3) == 0) {
        switch (random.bounded(4)) {
        case 0:
            fillRect(sheet, left, cy, cx - left, 2, ink);
            break;
        case 1:
            fillRect(sheet, cx, cy, left + f.cellWidth - cx, 2, ink);
            break;
        case 2:
            fillRect(sheet, cx, top, 2, cy - top, ink);
            break;
        default:
            fillRect(sheet, cx, cy, 2, top + f.cellHeight - cy, ink);
            break;
        }
    }
}

// The first row and the first column of cells are never empty, so that no coarser grid
// fits the sheet as well.
image::Surface makeSheet(const Family& f, QRandomGenerator& random)
{
    const int width = f.cellWidth * f.columns + f.spareX;
    const int height = f.cellHeight * f.rows + f.spareY;
    const image::Colour backgrounds[] = {rgb(0, 0, 0), rgb(255, 0, 255), rgb(240, 240, 240)};
    image::Surface sheet(backgrounds[random.bounded(3)], width, height);
    if (f.kind == Kind::Noise || f.kind == Kind::Speckles) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (f.kind == Kind::Noise || random.bounded(20) == 0)
                    image::SetPixel(sheet, x, y, inkOn(random, sheet.background()));
        for (const auto& [x, y] : {std::pair(0, 0), {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
            image::SetPixel(sheet, x, y, sheet.background());
        return sheet;
    }
    if (f.kind == Kind::NoBackground)
        for (int x = 0; x < width; ++x)
            fillRect(sheet, x, 0, 1, height, rgb(x, 255 - x, 128));
    for (int row = 0; row < f.rows; ++row)
        for (int column = 0; column < f.columns; ++column)
            if (!(f.traits & EmptyCells) || row == 0 || column == 0 || random.bounded(4))
                drawSprite(sheet, random, column * f.cellWidth, row * f.cellHeight, f);
    return sheet;
}

} // namespace

Q_DECLARE_METATYPE(Family)

class tst_GridGuess : public QObject {
    Q_OBJECT

    int m_right = 0;
    int m_wrong = 0;
    int m_declined = 0;

private slots:
    void generatedSheets_data()
    {
        QTest::addColumn<Family>("family");
        QTest::newRow("24x48, 4 x 8") << Family{Kind::Grid, 24, 48, 4, 8, 0, 0, Plain};
        QTest::newRow("16x16, spare") << Family{Kind::Grid, 16, 16, 6, 10, 3, 5, Plain};
        QTest::newRow("8x8") << Family{Kind::Grid, 8, 8, 8, 12, 0, 0, Plain};
        QTest::newRow("13x19, narrow") << Family{Kind::Grid, 13, 19, 5, 7, 0, 1, Narrow};
        QTest::newRow("32x32, empty cells") << Family{Kind::Grid, 32, 32, 3, 5, 0, 0, EmptyCells};
        QTest::newRow("24x48, touching") << Family{Kind::Grid, 24, 48, 4, 6, 0, 0, Touching};
        QTest::newRow("24x48, 1 row") << Family{Kind::Grid, 24, 48, 1, 8, 0, 0, Narrow};
        QTest::newRow("24x48, 1 column") << Family{Kind::Grid, 24, 48, 6, 1, 2, 0, Touching};
        QTest::newRow("40x40, single cell") << Family{Kind::Grid, 40, 40, 1, 1, 0, 0, Plain};
        QTest::newRow("48x24, everything") << Family{Kind::Grid, 48, 24, 3, 4, 2, 7, EmptyCells | Narrow | Touching};
        QTest::newRow("24x48, everything") << Family{Kind::Grid, 24, 48, 5, 8, 8, 8, EmptyCells | Narrow | Touching};
        QTest::newRow("noise") << Family{Kind::Noise, 20, 20, 8, 10, 0, 0, Plain};
        QTest::newRow("speckles") << Family{Kind::Speckles, 20, 20, 8, 10, 0, 0, Plain};
        QTest::newRow("no background") << Family{Kind::NoBackground, 24, 48, 3, 6, 0, 0, Plain};
    }

    // Every sheet with bands is guessed right; the others are declined, never guessed.
    void generatedSheets()
    {
        QFETCH(Family, family);
        QRandomGenerator random(20240918u + uint(family.cellWidth * 31 + family.rows * 7 + family.traits));
        QStringList failures;
        for (int i = 0; i < kSheetsPerFamily; ++i) {
            const std::optional<ops::GridGuess> guess = ops::guessGrid(makeSheet(family, random));
            const bool right = family.kind == Kind::Grid && guess == ops::GridGuess{family.rows, family.columns};
            (right ? m_right : guess ? m_wrong : m_declined)++;
            if (family.kind == Kind::Grid ? !right : bool(guess))
                failures << QStringLiteral("sheet %1: %2")
                                .arg(i)
                                .arg(guess ? QStringLiteral("%1 x %2").arg(guess->rows).arg(guess->columns)
                                           : QStringLiteral("no guess"));
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
    }

    void cleanupTestCase()
    {
        qInfo("%d sheets guessed right, %d wrong, %d declined", m_right, m_wrong, m_declined);
        QCOMPARE(m_wrong, 0);
    }

    void extremeShapesAreDeclined_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("dotted");
        QTest::newRow("no pixels") << 0 << 0 << false;
        QTest::newRow("one pixel") << 1 << 1 << true;
        QTest::newRow("a row of pixels") << 5000 << 1 << true;
        QTest::newRow("narrower than a cell") << 3 << 100000 << true;
        QTest::newRow("a cell wide, very tall") << 4 << 100000 << true;
        QTest::newRow("very wide, a cell high") << 100000 << 4 << true;
        QTest::newRow("blank") << 96 << 48 << false;
    }

    // Dotted: a dot every fifth pixel along the middle of the longer side.
    void extremeShapesAreDeclined()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, dotted);
        image::Surface sheet(rgb(1, 2, 3), width, height);
        for (int i = 5; dotted && i < std::max(width, height) - 5; i += 5)
            image::SetPixel(sheet, width > height ? i : width / 2, width > height ? height / 2 : i, rgb(9, 9, 9));
        QVERIFY(!ops::guessGrid(sheet));
    }
};

QTEST_GUILESS_MAIN(tst_GridGuess)
#include "grid_guess_test.moc"
