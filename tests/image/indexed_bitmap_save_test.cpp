// SPDX-License-Identifier: MIT
#include "image/indexed_bitmap_save.h"
#include "image/picture_read.h"
#include "file_bytes.h"
#include "pixel_text.h"
#include "save_limit.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using image::Colour;
using image::rgb;
using pixel_text::colourOf;

namespace {

const Colour kKey = colourOf(u'k');

// The file an 8-bit sheet must give, byte by byte: `table` names its first entries by
// pixel_text's characters (the rest black), `indexes` its rows top-down, a digit or
// letter an index (0-9, then a = 10, ...).
QByteArray expectedFile(const QString& table, const QString& indexes, qint32 dotsPerMeter)
{
    const QStringList rows = indexes.split(u'|');
    const int width = int(rows.front().size());
    const int height = int(rows.size());
    const int rowBytes = (width + 3) / 4 * 4;
    QByteArray bytes(54, '\0');
    auto* b = reinterpret_cast<uchar*>(bytes.data());
    b[0] = 'B';
    b[1] = 'M';
    qToLittleEndian<quint32>(1078 + rowBytes * height, b + 2);
    qToLittleEndian<quint32>(1078, b + 10);
    qToLittleEndian<quint32>(40, b + 14);
    qToLittleEndian<qint32>(width, b + 18);
    qToLittleEndian<qint32>(height, b + 22);
    qToLittleEndian<quint16>(1, b + 26);
    qToLittleEndian<quint16>(8, b + 28);
    qToLittleEndian<quint32>(rowBytes * height, b + 34);
    qToLittleEndian<qint32>(dotsPerMeter, b + 38);
    qToLittleEndian<qint32>(dotsPerMeter, b + 42);
    qToLittleEndian<quint32>(256, b + 46);
    for (int i = 0; i < 256; ++i) {
        const Colour c = i < table.size() ? colourOf(table[i]) : rgb(0, 0, 0);
        bytes += char(c.blue());
        bytes += char(c.green());
        bytes += char(c.red());
        bytes += '\0';
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x)
            row[x] = char(QString(rows[y][x]).toInt(nullptr, 36));
        bytes += row;
    }
    return bytes;
}

// A sheet of `count` colours, none of them the key, in rows of 16: a pixel each, the
// last row filled up with the first.
image::Surface manyColours(int count)
{
    image::Surface sheet(rgb(1, 1, 1), 16, (count + 15) / 16);
    for (int i = 0; i < count; ++i)
        image::SetPixel(sheet, i % 16, i / 16, rgb(i % 256, i / 256, 200));
    for (int i = count; i < sheet.width() * sheet.height(); ++i)
        image::SetPixel(sheet, i % 16, i / 16, rgb(0, 0, 200));
    return sheet;
}

} // namespace

class tst_IndexedBitmapSave : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void writesTheSheetsOwnTable_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("indexes");

        QTest::newRow("first appearance, row by row") << "abca|dbba"
                                                      << "kabcd"
                                                      << "1231|4221";
        QTest::newRow("the key keeps index 0") << "akka|kbka"
                                               << "kab"
                                               << "1001|0201";
        QTest::newRow("one pixel") << "z"
                                   << "kz"
                                   << "1";
        QTest::newRow("padding of 3") << "abcde|edcba"
                                      << "kabcde"
                                      << "12345|54321";
        QTest::newRow("padding of 2") << "ab|ba|aa"
                                      << "kab"
                                      << "12|21|11";
        QTest::newRow("padding of 1") << "abc"
                                      << "kabc"
                                      << "123";
        QTest::newRow("no padding") << "aaaa|bbbb"
                                    << "kab"
                                    << "1111|2222";
    }
    void writesTheSheetsOwnTable()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, table);
        QFETCH(QString, indexes);
        const image::Surface surface = pixel_text::surface(sheet);
        const QString path = m_dir.filePath("own.bmp");
        const Result<qint64> saved = image::writeIndexedBitmap(surface, path, {kKey, std::nullopt});
        QVERIFY2(saved, qPrintable(saved.error()));
        QCOMPARE(*saved, 0);
        const QByteArray expected = expectedFile(table, indexes, surface.picture().dotsPerMeterX());
        QCOMPARE(file_bytes::fileBytes(path), expected);
        QCOMPARE(image::encodeIndexedBitmap(surface, {kKey, std::nullopt})->bytes, expected);

        // Qt reads it as the 8-bit picture it is, and Pixmold's loader back to the sheet.
        QImageReader reader(path);
        const QImage indexed = reader.read();
        QCOMPARE(indexed.format(), QImage::Format_Indexed8);
        QCOMPARE(indexed.colorCount(), 256);
        const auto back = image::readPicture(path);
        QVERIFY2(back, qPrintable(back.error()));
        image::Surface loaded;
        loaded.assign(back->picture);
        QCOMPARE(pixel_text::text(loaded), sheet);
    }

    // Entries the table holds keep their lowest index; others take the nearest, never
    // the key's colour.
    void mapsOntoAPalette_data()
    {
        QTest::addColumn<QList<Colour>>("palette");
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("moved");

        const Colour black = rgb(0, 0, 0);
        const Colour red = rgb(255, 0, 0);
        const Colour blue = rgb(0, 0, 255);
        const Colour magenta = rgb(255, 0, 255);
        const QList<Colour> game = {black, red, blue, red, rgb(255, 255, 255)};
        QTest::newRow("the key") << game << black << 0 << false;
        QTest::newRow("in the table") << game << blue << 2 << false;
        QTest::newRow("repeated: the lowest") << game << red << 1 << false;
        QTest::newRow("nearest") << game << rgb(200, 0, 10) << 1 << true;
        QTest::newRow("a tie: the lower") << game << rgb(128, 0, 127) << 1 << true;
        QTest::newRow("near the key, not to it") << game << rgb(10, 10, 10) << 1 << true;
        QTest::newRow("the key repeated is the key")
            << QList<Colour>{magenta, red, magenta} << rgb(250, 0, 250) << 1 << true;
        QTest::newRow("the padding's black") << QList<Colour>{magenta, red} << rgb(10, 10, 10) << 2 << true;
        QTest::newRow("a padded table, the key itself") << QList<Colour>{magenta} << magenta << 0 << false;
    }
    void mapsOntoAPalette()
    {
        QFETCH(QList<Colour>, palette);
        QFETCH(Colour, colour);
        QFETCH(int, index);
        QFETCH(bool, moved);
        image::ColourTable table{};
        std::copy(palette.begin(), palette.end(), table.begin());

        image::Surface sheet(colour, 3, 2);
        const QString path = m_dir.filePath("mapped.bmp");
        const Result<qint64> saved = image::writeIndexedBitmap(sheet, path, {table[0], table});
        QVERIFY2(saved, qPrintable(saved.error()));
        QCOMPARE(*saved, moved ? 6 : 0);
        const QByteArray bytes = file_bytes::fileBytes(path);
        for (int i = 0; i < palette.size(); ++i)
            QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 54 + 4 * i), palette[i].pixel() & 0xFFFFFFu);
        const QByteArray row = QByteArray(3, char(index)) + '\0';
        QCOMPARE(bytes.mid(1078), row + row);
    }

    void aPaletteOfTheKeyAloneTakesNoOtherColour()
    {
        const QString path = m_dir.filePath("nowhere.bmp");
        QVERIFY(
            !image::writeIndexedBitmap(image::Surface(rgb(1, 2, 3), 2, 2), path, {rgb(0, 0, 0), image::ColourTable{}}));
        QVERIFY(!QFile::exists(path));
    }

    void tooManyColoursWriteNothing_data()
    {
        QTest::addColumn<int>("colours"); // besides the key
        QTest::addColumn<bool>("keyInSheet");
        QTest::addColumn<QString>("error");
        QTest::newRow("255 and the key") << 255 << false << QString();
        QTest::newRow("256 with the key among them") << 255 << true << QString();
        QTest::newRow("256 and the key") << 256 << false << "The picture has 257 colours";
        QTest::newRow("3990 with the key among them") << 3990 << true << "The picture has 3991 colours";
    }
    void tooManyColoursWriteNothing()
    {
        QFETCH(int, colours);
        QFETCH(bool, keyInSheet);
        QFETCH(QString, error);
        image::Surface sheet = manyColours(colours);
        if (keyInSheet)
            image::SetPixel(sheet, 15, sheet.height() - 1, kKey);
        const QString path = m_dir.filePath("many.bmp");
        QVERIFY(file_bytes::putFile(path, "old"));
        const Result<qint64> saved = image::writeIndexedBitmap(sheet, path, {kKey, std::nullopt});
        if (error.isEmpty()) {
            QVERIFY2(saved, qPrintable(saved.error()));
            QCOMPARE(image::readPicture(path)->picture, sheet.picture());
            return;
        }
        QVERIFY2(saved.error().startsWith(error) && saved.error().contains("--palette"), qPrintable(saved.error()));
        QCOMPARE(file_bytes::fileBytes(path), QByteArray("old"));
        QCOMPARE(QDir(m_dir.path()).entryList({"many*"}, QDir::Files | QDir::Hidden), QStringList{"many.bmp"});
    }

    void failedSaveKeepsTheOldFile()
    {
#ifdef Q_OS_UNIX
        const QString path = m_dir.filePath("limited.bmp");
        QVERIFY(file_bytes::putFile(path, "old"));
        const image::Surface sheet(rgb(1, 2, 3), 100, 100); // 11 078 bytes, over the limit
        const QString error = saveInChild(
            [&]() -> Result<void> {
                const Result<qint64> saved = image::writeIndexedBitmap(sheet, path, {kKey, std::nullopt});
                if (!saved)
                    return Failure{saved.error()};
                return {};
            },
            SaveLimit::FileSize);
        QVERIFY2(error.startsWith("The picture could not be written: "), qPrintable(error));
        QCOMPARE(file_bytes::fileBytes(path), QByteArray("old"));
#endif
        QVERIFY(image::writeIndexedBitmap(image::Surface(image::rgb(0, 0, 0), 0, 3), path, {})
                    .error()
                    .startsWith("A picture with no pixels"));
        QVERIFY(!image::writeIndexedBitmap(image::Surface(image::rgb(0, 0, 0), 2, 2), m_dir.filePath("no folder/x.bmp"),
                                           {}));
    }

    // Another program's reader, where Python's imaging library is installed.
    void pythonImagingReadsIt()
    {
        // The system's Python, where a Python of the user's own comes first in the path.
        QString python;
        for (const QString& candidate : {QStandardPaths::findExecutable("python3"), QStringLiteral("/usr/bin/python3")})
            if (python.isEmpty() && QFileInfo(candidate).isExecutable()
                && QProcess::execute(candidate, {"-c", "import PIL"}) == 0)
                python = candidate;
        if (python.isEmpty())
            QSKIP("python3 with PIL is not installed");
        const image::Surface sheet = pixel_text::surface("abca|dbbk|kkkk");
        const QString path = m_dir.filePath("for python.bmp");
        QVERIFY(image::writeIndexedBitmap(sheet, path, {kKey, std::nullopt}));
        QProcess process;
        process.start(python,
                      {"-c",
                       "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\n"
                       "print(im.format, im.mode, im.size, len(im.getpalette()) // 3)\n"
                       "print(' '.join('%02x%02x%02x' % im.convert('RGB').getpixel((x, y)) "
                       "for y in range(im.size[1]) for x in range(im.size[0])))",
                       path});
        QVERIFY(process.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("BMP P (4, 3) 256"));
        QStringList pixels;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                const QRgb p = image::GetPixel(sheet, x, y).pixel();
                pixels << QStringLiteral("%1").arg(p & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            }
        QCOMPARE(lines.value(1), pixels.join(u' '));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_IndexedBitmapSave)
#include "indexed_bitmap_save_test.moc"
