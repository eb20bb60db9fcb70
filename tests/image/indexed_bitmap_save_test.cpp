// SPDX-License-Identifier: MIT
#include "image/indexed_bitmap_save.h"
#include "image/picture_read.h"
#include "file_bytes.h"
#include "pixel_text.h"
#include "save_limit.h"

#include <QDataStream>
#include <QDir>
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
    const int rowBytes = (width + 3) / 4 * 4;
    const quint32 dataSize = quint32(rowBytes * rows.size());
    QByteArray bytes("BM");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(1078 + dataSize) << quint32(0) << quint32(1078) << quint32(40) << qint32(width)
        << qint32(rows.size()) << quint16(1) << quint16(8) << quint32(0) << dataSize << dotsPerMeter << dotsPerMeter
        << quint32(256) << quint32(0);
    for (int i = 0; i < 256; ++i) // blue, green, red, 0
        out << quint32(i < table.size() ? colourOf(table[i]).pixel() & 0xFFFFFF : 0);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        QByteArray indexBytes(rowBytes, '\0');
        for (int x = 0; x < width; ++x)
            indexBytes[x] = char(QString(row->at(x)).toInt(nullptr, 36));
        out.writeRawData(indexBytes.constData(), rowBytes);
    }
    return bytes;
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

        const auto row = [](const char* tag, const char* sheet, const char* table, const char* indexes) {
            QTest::newRow(tag) << QString(sheet) << QString(table) << QString(indexes);
        };
        // Rows of 4, 5, 2 and 3 pixels: no padding, then 3, 2 and 1 bytes of it.
        row("first appearance, row by row", "abca|dbba", "kabcd", "1231|4221");
        row("the key keeps index 0", "akka|kbka", "kab", "1001|0201");
        row("padding of 3", "abcde|edcba", "kabcde", "12345|54321");
        row("padding of 2", "ab|ba|aa", "kab", "12|21|11");
        row("padding of 1", "abc", "kabc", "123");
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
        // A pixel of each colour in rows of 16, the rest of the last row the first colour.
        image::Surface sheet(rgb(0, 0, 200), 16, colours / 16 + 1);
        for (int i = 0; i < colours; ++i)
            image::SetPixel(sheet, i % 16, i / 16, rgb(i % 256, i / 256, 200));
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

    // Refused and failed saves give a reason and leave the old file as it was.
    void failuresKeepTheOldFile()
    {
        const QString path = m_dir.filePath("kept.bmp");
        QVERIFY(file_bytes::putFile(path, "old"));
        const auto error = [&](const image::Surface& sheet, const image::IndexedTableChoice& choice) {
            const Result<qint64> saved = image::writeIndexedBitmap(sheet, path, choice);
            return saved ? QString() : saved.error();
        };
        QVERIFY(error(image::Surface(rgb(0, 0, 0), 0, 3), {}).startsWith("A picture with no pixels"));
        // A palette of the key alone has no entry for any other colour.
        QVERIFY(!error(image::Surface(rgb(1, 2, 3), 2, 2), {rgb(0, 0, 0), image::ColourTable{}}).isEmpty());
        QCOMPARE(file_bytes::fileBytes(path), QByteArray("old"));
#ifdef Q_OS_UNIX
        const image::Surface sheet(rgb(1, 2, 3), 100, 100); // 11 078 bytes, over the limit
        const QString written = saveInChild(
            [&]() -> Result<void> {
                const QString why = error(sheet, {kKey, std::nullopt});
                return why.isEmpty() ? Result<void>() : Result<void>(Failure{why});
            },
            SaveLimit::FileSize);
        QVERIFY2(written.startsWith("The picture could not be written: "), qPrintable(written));
        QCOMPARE(file_bytes::fileBytes(path), QByteArray("old"));
#endif
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_IndexedBitmapSave)
#include "indexed_bitmap_save_test.moc"
