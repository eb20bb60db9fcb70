// SPDX-License-Identifier: MIT
// The key colour in the window: its dialog, transparency on loading, the checkerboard,
// Key Out Background through the menu, 8-bit saves and palettes.
#include "image/key_checkerboard.h"
#include "image/picture_read.h"
#include "image/raster.h"
#include "window_fixture.h"

#include <QFile>
#include <QtEndian>

namespace {

const image::Colour kMagenta = image::rgb(255, 0, 255);

// White around a red ring whose middle is white too.
QImage ring()
{
    QImage sheet(5, 5, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x)
            if (x != 2 || y != 2)
                sheet.setPixel(x, y, qRgb(200, 0, 0));
    return sheet;
}

} // namespace

class tst_WindowKey : public QObject {
    Q_OBJECT

private slots:
    // The key's dialog opens on the key, a cancel keeps it, and loads take it for transparency.
    void keyColourKeysLoads()
    {
        WindowFixture f;
        f.dialogs.colours << kMagenta << std::nullopt;
        f.trigger("mnuEditKey");
        f.trigger("mnuEditKey");
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown[0].text, QStringLiteral("0"));
        QCOMPARE(f.dialogs.shown[1].text, QStringLiteral("ff00ff"));
        QCOMPARE(f.window->state().key, kMagenta);

        QImage clear(2, 1, QImage::Format_ARGB32);
        clear.setPixel(0, 0, qRgba(10, 20, 30, 0));
        clear.setPixel(1, 0, qRgba(10, 20, 30, 255));
        f.load(clear, "clear.png");
        QCOMPARE(image::GetPixel(f.window->workingImage(), 0, 0), kMagenta);
        QCOMPARE(image::GetPixel(f.window->workingImage(), 1, 0), image::rgb(10, 20, 30));
    }

    void checkerboardShowsTheKey()
    {
        WindowFixture f;
        QImage sheet = ring();
        sheet.setPixel(0, 0, qRgb(0, 0, 0));
        f.load(sheet);
        const auto shownAtCorner = [&] { return image::GetPixel(f.viewport()->surface(), 0, 0); };
        QCOMPARE(shownAtCorner(), image::rgb(0, 0, 0));
        f.trigger("mnuViewKey");
        QCOMPARE(shownAtCorner(), image::kCheckerLight);
        QCOMPARE(image::GetPixel(f.viewport()->surface(), 1, 1), image::rgb(200, 0, 0));
        QCOMPARE(image::GetPixel(f.window->workingImage(), 0, 0), image::rgb(0, 0, 0));
        f.trigger("mnuViewKey");
        QCOMPARE(shownAtCorner(), image::rgb(0, 0, 0));
    }

    // The pixels are the operation's own test's; here the prompt's cancel, undo and redo.
    void keyOutBackgroundThroughTheMenu()
    {
        WindowFixture f;
        f.load(ring());
        const QImage before = toImage(f.window->workingImage());
        f.dialogs.inputs << QString() << QStringLiteral("0");
        f.trigger("mnuKeyOut"); // cancelled
        QCOMPARE(f.window->history().stack().count(), 0);
        f.trigger("mnuKeyOut");
        const QImage keyed = toImage(f.window->workingImage());
        QCOMPARE(keyed.pixel(0, 0), qRgb(0, 0, 0));
        f.trigger("mnuEditUndo");
        QCOMPARE(toImage(f.window->workingImage()), before);
        f.trigger("mnuEditRedo");
        QCOMPARE(toImage(f.window->workingImage()), keyed);
    }

    // The filter decides for a .bmp name; a .png name is PNG whatever the filter.
    void eightBitUnderItsFilter_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("bits");
        QTest::newRow("8-bit") << 2 << "out.bmp" << QByteArray("BM") << 8;
        QTest::newRow("Windows Bitmap") << 0 << "out.bmp" << QByteArray("BM") << 24;
        QTest::newRow("8-bit filter, a PNG name") << 2 << "out.png" << QByteArray("\x89PNG") << 0;
    }
    void eightBitUnderItsFilter()
    {
        QFETCH(int, filter);
        QFETCH(QString, name);
        QFETCH(QByteArray, start);
        QFETCH(int, bits);
        WindowFixture f;
        f.load(ring());
        const QString path = f.folder.filePath(name);
        f.dialogs.files.enqueue(path);
        f.dialogs.saveFilters.enqueue(filter);
        f.trigger("mnuFileSave");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(start));
        if (bits)
            QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(bits));
        QCOMPARE(image::readPicture(path)->picture, f.window->workingImage().picture());
    }

    void paletteGivesTheKey()
    {
        WindowFixture f;
        const QString game = f.folder.filePath("game.gpl");
        const QString bad = f.folder.filePath("bad.gpl");
        for (const auto& [path, text] : {std::pair{game, "GIMP Palette\n255 0 255\n255 255 255\n"},
                                         std::pair{bad, "GIMP Palette\n1 2 3\n1 -2 3\n"}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
        }
        f.dialogs.files << bad << game << QString() << QString();
        f.dialogs.answers << shell::Answer::No << shell::Answer::Yes;
        f.trigger("mnuEditPalette");
        QVERIFY2(f.dialogs.messages().value(0).startsWith("bad.gpl: line 3:"),
                 qPrintable(f.dialogs.messages().value(0)));
        QVERIFY(!f.window->state().palette);
        f.trigger("mnuEditPalette");
        QCOMPARE(f.window->state().key, kMagenta);
        QVERIFY(f.window->state().palette);
        f.trigger("mnuEditPalette"); // cancelled, the palette kept
        QVERIFY(f.window->state().palette);
        f.trigger("mnuEditPalette"); // cancelled, no palette again
        QVERIFY(!f.window->state().palette);
        QCOMPARE(f.window->state().key, kMagenta);
    }
};

QTEST_MAIN(tst_WindowKey)
#include "window_key_test.moc"
