// SPDX-License-Identifier: MIT
#include "image/palette_file.h"
#include "file_bytes.h"
#include "support/colour_text.h"

#include <QDataStream>
#include <QTemporaryDir>
#include <QTest>

using image::Colour;
using image::rgb;

namespace {

// An ACT file: the colours, the rest of the 256 zeros, then the count and a
// transparent index where `counted`.
QByteArray act(const QList<Colour>& colours, std::optional<int> counted = std::nullopt)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly); // big-endian, as the count is
    for (const Colour c : colours)
        out << quint8(c.red()) << quint8(c.green()) << quint8(c.blue());
    const QByteArray rest(768 - 3 * colours.size(), '\0');
    out.writeRawData(rest.constData(), int(rest.size()));
    if (counted)
        out << quint16(*counted) << quint16(0xFFFF);
    return bytes;
}

// A BMP of one pixel with the colours as its table, byte by byte.
QByteArray bitmap(const QList<Colour>& colours, quint32 used, quint16 bits = 8)
{
    QByteArray bytes("BM");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 offset = 54 + 4 * quint32(colours.size());
    out << quint32(offset + 4) << quint32(0) << offset << quint32(40) << qint32(1) << qint32(1) << quint16(1) << bits
        << quint32(0) << quint32(0) << qint32(0) << qint32(0) << used << quint32(0);
    for (const Colour c : colours) // blue, green, red, 0
        out << quint32(c.pixel() & 0xFFFFFF);
    return bytes + QByteArray(4, '\0');
}

QList<Colour> ramp(int count)
{
    QList<Colour> colours;
    for (int i = 0; i < count; ++i)
        colours << rgb(i, 255 - i, i / 2 + 1);
    return colours;
}

QByteArray gimpOf(const QList<Colour>& colours)
{
    QByteArray text = "GIMP Palette\nName: ramp\nColumns: 16\n#\n";
    for (const Colour c : colours)
        text += QByteArray::number(c.red()) + ' ' + QByteArray::number(c.green()) + '\t' + QByteArray::number(c.blue())
            + " colour\n";
    return text;
}

} // namespace

class tst_PaletteFile : public QObject {
    Q_OBJECT

private slots:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<Colour>>("colours"); // the rest black
        QTest::addColumn<QString>("error");         // the start of the reason, or empty

        const QList<Colour> none;
        const QList<Colour> three = {rgb(255, 0, 255), rgb(0, 0, 0), rgb(12, 34, 56)};
        QTest::newRow("GIMP") << QByteArray("GIMP Palette\r\nName: Game\r\nColumns: 4\r\n# the key first\r\n\r\n"
                                            "255   0 255\tKey\r\n  0   0   0\r\n 12  34  56 Dark blue grey\r\n")
                              << three << QString();
        QTest::newRow("GIMP without entries") << QByteArray("GIMP Palette\n") << none << QString();
        QTest::newRow("GIMP of 256") << gimpOf(ramp(256)) << ramp(256) << QString();
        QTest::newRow("GIMP of 257") << gimpOf(ramp(257)) << none << "line 261: more than 256";
        QTest::newRow("GIMP value above 255")
            << QByteArray("GIMP Palette\n1 2 3\n4 256 6\n") << none << "line 3: 256 is above 255";
        QTest::newRow("GIMP cut short") << QByteArray("GIMP Palette\n1 2 3\n4 5") << none
                                        << "line 3: an entry is three whole numbers";
        QTest::newRow("GIMP negative") << QByteArray("GIMP Palette\n1 -2 3\n") << none
                                       << "line 2: \"-2\" is not a whole number";
        QTest::newRow("GIMP wrong header") << QByteArray("GIMP palette\n1 2 3\n") << none << "line 1: not a palette";
        QTest::newRow("JASC") << QByteArray("JASC-PAL\r\n0100\r\n3\r\n255 0 255\r\n0 0 0\r\n12 34 56\r\n") << three
                              << QString();
        QTest::newRow("JASC wrong version") << QByteArray("JASC-PAL\n0200\n1\n1 2 3\n") << none << "line 2:";
        QTest::newRow("JASC count above 256") << QByteArray("JASC-PAL\n0100\n300\n") << none << "line 3: more than 256";
        QTest::newRow("JASC cut short") << QByteArray("JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n") << none
                                        << "line 6: the palette is cut short";
        QTest::newRow("JASC a name after an entry")
            << QByteArray("JASC-PAL\n0100\n1\n1 2 3 red\n") << none << "line 4: an entry is three whole numbers";
        QTest::newRow("JASC more than announced")
            << QByteArray("JASC-PAL\n0100\n1\n1 2 3\n4 5 6\n") << none << "line 5: more entries";
        QTest::newRow("JASC value above 255")
            << QByteArray("JASC-PAL\n0100\n1\n1 999999999999 3\n") << none << "line 4: 999999999999 is above 255";
        QTest::newRow("ACT") << act(three) << three << QString();
        QTest::newRow("ACT with its count") << act(ramp(20), 3) << ramp(3) << QString();
        QTest::newRow("ACT with a count above 256") << act(three, 257) << none << "byte 769:";
        QTest::newRow("ACT one byte short") << act(three).chopped(1) << none << "line 1: not a palette";
        QTest::newRow("8-bit BMP") << bitmap(three, 3) << three << QString();
        QTest::newRow("8-bit BMP, all 256") << bitmap(ramp(256), 0) << ramp(256) << QString();
        QTest::newRow("8-bit BMP, too many") << bitmap(three, 300) << none << "byte 47:";
        QTest::newRow("8-bit BMP cut short") << bitmap(three, 3).left(60) << none << "byte 61:";
        QTest::newRow("24-bit BMP") << bitmap({}, 0, 24) << none << "byte 29:";
        QTest::newRow("empty") << QByteArray() << none << "line 1: not a palette";
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<Colour>, colours);
        QFETCH(QString, error);
        const Result<image::ColourTable> read = image::readPalette(bytes);
        if (!error.isEmpty()) {
            QVERIFY(!read);
            QVERIFY2(read.error().startsWith(error), qPrintable(read.error()));
            return;
        }
        QVERIFY2(read, qPrintable(read.error()));
        const image::ColourTable& table = *read;
        for (int i = 0; i < image::kTableEntries; ++i)
            QCOMPARE(table[i], i < colours.size() ? colours[i] : rgb(0, 0, 0));
    }

    void fileReasonsStartWithItsName()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("game.gpl");
        QVERIFY(file_bytes::putFile(path, "GIMP Palette\n1 2 300\n"));
        QCOMPARE(image::readPaletteFile(path).error(), QStringLiteral("game.gpl: line 2: 300 is above 255."));
        QVERIFY(image::readPaletteFile(dir.filePath("none.gpl")).error().startsWith("none.gpl: "));
        QVERIFY(image::readPaletteFile(dir.path()).error().contains("no file"));
        QVERIFY(file_bytes::putFile(path, "GIMP Palette\n" + QByteArray(2 << 20, '#')));
        QVERIFY(image::readPaletteFile(path).error().contains("too large"));
        QVERIFY(file_bytes::putFile(path, act({rgb(1, 2, 3)})));
        QCOMPARE((*image::readPaletteFile(path))[0], rgb(1, 2, 3));
    }
};

QTEST_APPLESS_MAIN(tst_PaletteFile)
#include "palette_file_test.moc"
