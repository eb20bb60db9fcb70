// SPDX-License-Identifier: MIT
#include "image/key_checkerboard.h"
#include "image/zoomed_copy.h"
#include "pixel_text.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const image::Colour kKey = pixel_text::colourOf(u'k');

// pixel_text's pictures, with 'L' and 'D' for the checkerboard's light and dark grey.
image::Surface picture(const QString& text)
{
    image::Surface result = pixel_text::surface(text);
    for (int y = 0; y < result.height(); ++y)
        for (int x = 0; x < result.width(); ++x) {
            const QChar c = text.split(u'|')[y][x];
            if (c == u'L' || c == u'D')
                image::SetPixel(result, x, y, c == u'L' ? image::kCheckerLight : image::kCheckerDark);
        }
    return result;
}

} // namespace

class tst_KeyCheckerboard : public QObject {
    Q_OBJECT

private slots:
    void drawsTheKeyAsChecks_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("factor");
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        QTest::addColumn<QString>("view"); // before the copy; empty: all 'x'
        QTest::addColumn<QString>("expected");

        QTest::newRow("squares of eight at 1") << "kkkkkkkkkr|kkkkkkkkkk" << 1 << 0 << 0 << ""
                                               << "LLLLLLLLDr|LLLLLLLLDD";
        QTest::newRow("squares of eight rows at 1") << "k|k|k|k|k|k|k|k|k|r" << 1 << 0 << 0 << ""
                                                    << "L|L|L|L|L|L|L|L|D|r";
        QTest::newRow("the same squares at 4")
            << "krk|rrr|rkr" << 4 << 0 << 0 << ""
            << "LLLLrrrrDDDD|LLLLrrrrDDDD|LLLLrrrrDDDD|LLLLrrrrDDDD|rrrrrrrrrrrr|rrrrrrrrrrrr|"
               "rrrrrrrrrrrr|rrrrrrrrrrrr|rrrrDDDDrrrr|rrrrDDDDrrrr|rrrrDDDDrrrr|rrrrDDDDrrrr";
        QTest::newRow("moving with the picture") << "rkrrk" << 2 << 1 << 0 << ""
                                                 << "LLrrrrDD|LLrrrrDD";
        QTest::newRow("beyond the picture stays, key or not")
            << "kr|rk" << 2 << -1 << 0 << "kkkkkkk|kkkkkkk|kkkkkkk|kkkkkkk"
            << "kkLLrrk|kkLLrrk|kkrrLLk|kkrrLLk";
        QTest::newRow("no key, nothing changes") << "rxr" << 3 << 0 << 0 << "kkkkkkkkk"
                                                 << "rrrxxxrrr";
    }
    void drawsTheKeyAsChecks()
    {
        QFETCH(QString, source);
        QFETCH(int, factor);
        QFETCH(int, sx);
        QFETCH(int, sy);
        QFETCH(QString, view);
        QFETCH(QString, expected);
        const image::Surface src = pixel_text::surface(source);
        image::Surface dest
            = pixel_text::surface(view.isEmpty() ? QString(expected).replace(QRegularExpression("[^|]"), "x") : view);
        image::zoomedCopy(dest, src, sx, sy, factor);
        image::showKeyAsCheckerboard(dest, src, sx, sy, factor, kKey);
        QCOMPARE(dest.picture(), picture(expected).picture());
    }
};

QTEST_APPLESS_MAIN(tst_KeyCheckerboard)
#include "key_checkerboard_test.moc"
