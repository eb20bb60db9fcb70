// SPDX-License-Identifier: MIT
#include "image/picture_read.h"
#include "file_bytes.h"
#include "support/hostile_pictures.h"

#include <QtTest>

#include <QBuffer>
#include <QDataStream>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using file_bytes::putFile;

namespace {

QByteArray encode(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

// A BMP file: the 14-byte file header, then the info header and the data given.
QByteArray bitmapFile(const QByteArray& infoAndData, quint32 dataOffset)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(14 + infoAndData.size()) << quint16(0) << quint16(0) << dataOffset;
    out.writeRawData(infoAndData.constData(), int(infoAndData.size()));
    return bytes;
}

QByteArray infoHeader(qint32 width, qint32 height, quint16 bits, quint32 compression, quint32 dataSize,
                      quint32 colours = 0)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << width << height << quint16(1) << bits << compression << dataSize << qint32(2835)
        << qint32(2835) << colours << colours;
    return bytes;
}

// 2 x 1, 32 bits with an alpha mask (version 4 header): (10, 20, 30) fully transparent
// and (200, 100, 50) half transparent.
QByteArray alphaBitmap()
{
    QByteArray info;
    QDataStream out(&info, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(108) << qint32(2) << qint32(1) << quint16(1) << quint16(32) << quint32(3) << quint32(8)
        << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    out << quint32(0x00FF0000) << quint32(0x0000FF00) << quint32(0x000000FF) << quint32(0xFF000000);
    out << quint32(0x73524742); // 'sRGB'
    for (int i = 0; i < 12; ++i)
        out << quint32(0); // end points and gamma
    const char pixels[] = {30, 20, 10, 0, 50, 100, char(200), char(128)};
    out.writeRawData(pixels, 8);
    return bitmapFile(info, 14 + 108);
}

// A width x height 8-bit RLE picture: rows alternate between palette entries 0 and 1.
QByteArray runLengthBitmap(int width, int height, QRgb first, QRgb second)
{
    QByteArray data;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255) {
            data.append(char(std::min(left, 255)));
            data.append(char(y % 2));
        }
        data.append('\0').append('\0');
    }
    data.append('\0').append('\1');
    QByteArray info = infoHeader(width, height, 8, 1, quint32(data.size()), 2);
    QDataStream out(&info, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(first & 0xFFFFFF) << quint32(second & 0xFFFFFF);
    return bitmapFile(info + data, 14 + 40 + 8);
}

// A 4 x 2 RLE picture (8 bits, or 4 with `bits`) of the two colours 0x112233 and
// 0xAABBCC, with the encoded data given.
QByteArray runLengthData(const QByteArray& data, quint16 bits = 8)
{
    QByteArray info = infoHeader(4, 2, bits, bits == 8 ? 1 : 2, quint32(data.size()), 2);
    QDataStream out(&info, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(0x112233) << quint32(0xAABBCC);
    return bitmapFile(info + data, 14 + 40 + 8);
}

// PNG signature, IHDR of 100000 x 100000 RGB, an empty IDAT and IEND, CRCs included.
const unsigned char kHugePng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x01, 0x86,
    0xa0, 0x00, 0x01, 0x86, 0xa0, 0x08, 0x02, 0x00, 0x00, 0x00, 0x27, 0x30, 0x9c, 0x9f, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x44, 0x41, 0x54, 0x35, 0xaf, 0x06, 0x1e, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

} // namespace

class tst_PictureRead : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readFails_data();
    void readFails();
    void readFromBuffer();
    void alphaIsDroppedColoursKept_data();
    void alphaIsDroppedColoursKept();
    void runLengthPastItsHeader_data();
    void runLengthPastItsHeader();
    void hugeHeaderRefusedQuickly_data();
    void hugeHeaderRefusedQuickly();
    void largestSheetLoads();
    void pngOfEveryKind_data();
    void pngOfEveryKind();
    void decoderWordsKept_data();
    void decoderWordsKept();
    void decoderWordsStayWithTheirThread();

private:
    QTemporaryDir m_dir;
};

// Messages that got past the loader to the handler it found.
std::atomic<int> g_messagesPrinted{0};

void tst_PictureRead::initTestCase()
{
    QVERIFY(m_dir.isValid());
    static QtMessageHandler testsOwn
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
              ++g_messagesPrinted;
              testsOwn(type, context, message);
          });
}

void tst_PictureRead::readFails_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written to name unless null
    QTest::addColumn<QString>("expected");   // the start of the message

    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(qRgb(9, 8, 7));
    const QByteArray bmp = encode(small, "BMP");
    QVERIFY(bmp.size() > 3000);
    const QString incomplete = "The file is incomplete: it ends before the picture's last pixels.";
    const QString unreadable = "The file could not be read as a picture: ";

    QTest::newRow("missing") << "missing.bmp" << QByteArray() << "The file does not exist.";
    QTest::newRow("folder") << "." << QByteArray() << "This is a folder, not a picture file.";
#ifdef Q_OS_UNIX
    // Opening a named pipe for reading waits for a writer: this row would hang.
    QTest::newRow("named pipe") << "pipe.bmp" << QByteArray() << "This is a device or other special file";
#endif
    QTest::newRow("empty") << "empty.bmp" << QByteArray("") << "The file is empty.";
    QTest::newRow("text") << "notes.bmp" << QByteArray("just some words\n") << unreadable;
    QTest::newRow("text without suffix") << "notes" << QByteArray("BM, but no picture\n") << unreadable;
    QTest::newRow("last row cut") << "cut.bmp" << bmp.left(bmp.size() - 100) << incomplete;
    QTest::newRow("only headers") << "headers.bmp" << bmp.left(54) << unreadable;
    QTest::newRow("header cut") << "header-cut.bmp" << bmp.left(20) << unreadable;
}

void tst_PictureRead::readFails()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    if (!content.isNull())
        QVERIFY(putFile(path, content));
#ifdef Q_OS_UNIX
    if (name == "pipe.bmp")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif

    const auto read = image::readPicture(path);
    QVERIFY(!read);
    QVERIFY2(read.error().startsWith(expected), qPrintable(read.error()));
    QVERIFY2(read.error().size() > expected.size() || expected.endsWith('.'), qPrintable(read.error()));
}

// The reading without a file: what a buffer holds reads as the same file would.
void tst_PictureRead::readFromBuffer()
{
    QImage small(3, 2, QImage::Format_RGB32);
    small.fill(qRgb(9, 8, 7));
    small.setPixel(2, 1, qRgb(1, 2, 3));
    QByteArray bytes = encode(small, "BMP");
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    buffer.seek(10); // read from the start wherever the buffer stands
    const auto read = image::readPicture(buffer);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture, small);

    QByteArray cut = bytes.left(bytes.size() - 4);
    QBuffer shortBuffer(&cut);
    QVERIFY(shortBuffer.open(QIODevice::ReadOnly));
    QVERIFY(image::readPicture(shortBuffer).error().startsWith("The file is incomplete"));

    QByteArray nothing;
    QBuffer empty(&nothing);
    QVERIFY(empty.open(QIODevice::ReadOnly));
    QCOMPARE(image::readPicture(empty).error(), QStringLiteral("The file is empty."));

    QBuffer closed(&bytes);
    QVERIFY(image::readPicture(closed).error().startsWith("The file could not be opened"));
}

// A BMP's alpha is dropped; in other files a pixel below the threshold takes the key.
void tst_PictureRead::alphaIsDroppedColoursKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QRgb>("clear"); // what the fully transparent pixel becomes

    const QRgb key = qRgb(255, 0, 255);
    QTest::newRow("32-bit BMP with alpha mask") << alphaBitmap() << qRgb(10, 20, 30);

    QImage straight(2, 1, QImage::Format_ARGB32);
    straight.setPixel(0, 0, qRgba(10, 20, 30, 0));
    straight.setPixel(1, 0, qRgba(200, 100, 50, 128));
    QTest::newRow("PNG with alpha") << encode(straight, "PNG") << key;

    QImage deep(2, 1, QImage::Format_RGBA64);
    deep.setPixelColor(0, 0, QColor(10, 20, 30, 0));
    deep.setPixelColor(1, 0, QColor(200, 100, 50, 128));
    QTest::newRow("16-bit PNG with alpha") << encode(deep, "PNG") << key;
}

void tst_PictureRead::alphaIsDroppedColoursKept()
{
    QFETCH(QByteArray, content);
    QFETCH(QRgb, clear);

    const QString path = m_dir.filePath("alpha");
    QVERIFY(putFile(path, content));
    const auto read = image::readPicture(path, {image::rgb(255, 0, 255), 128});
    QVERIFY2(read, qPrintable(read.error()));
    QCOMPARE(read->picture.format(), QImage::Format_RGB32);
    QCOMPARE(read->picture.size(), QSize(2, 1));
    const auto* pixels = reinterpret_cast<const QRgb*>(read->picture.constScanLine(0));
    QCOMPARE(pixels[0], clear);
    QCOMPARE(pixels[1], qRgb(200, 100, 50));
    QCOMPARE(read->droppedTransparency, clear == qRgb(10, 20, 30));
    QCOMPARE(read->keyed.keyed, clear == qRgb(10, 20, 30) ? 0 : 1);
}

// Runs that would write past the row or the picture are cut at its edge: the picture
// keeps its header's size, and the bytes after the picture are ignored.
void tst_PictureRead::runLengthPastItsHeader_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error"); // the start of the message, or empty for a picture

    const QByteArray endOfLine("\0\0", 2);
    const QByteArray endOfPicture("\0\1", 2);
    const QByteArray fullRow("\4\1", 2); // the bottom row: four pixels of the second colour
    QTest::newRow("run past the row end") << runLengthData("\xff\1" + endOfLine + endOfPicture) << "";
    QTest::newRow("rows past the last row") << runLengthData(fullRow + endOfLine + QByteArray("\4\0", 2) + endOfLine
                                                             + fullRow + endOfLine + fullRow + endOfLine + endOfPicture)
                                            << "";
    QTest::newRow("literal pixels past the row end")
        << runLengthData(QByteArray("\0\xfe", 2) + QByteArray(254, '\1') + endOfPicture) << "";
    QTest::newRow("jump past the corner")
        << runLengthData(fullRow + QByteArray("\0\2\xff\xff\4\1", 6) + endOfPicture) << "";
    QTest::newRow("4-bit run past the row end") << runLengthData("\xff\x11" + endOfLine + endOfPicture, 4) << "";
    QTest::newRow("runs until the file ends") << runLengthData(QByteArray(2000, '\xff')) << "The file is incomplete";
}

void tst_PictureRead::runLengthPastItsHeader()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);

    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const auto read = image::readPicture(buffer);
    if (!error.isEmpty()) {
        QVERIFY2(read.error().startsWith(error), qPrintable(read.error()));
        return;
    }
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.size(), QSize(4, 2));
    for (int x = 0; x < 4; ++x)
        QCOMPARE(read->picture.pixel(x, 1), qRgb(0xAA, 0xBB, 0xCC));
    // What the runs did not reach has one of the two colours, or black.
    for (int x = 0; x < 4; ++x) {
        const QRgb top = read->picture.pixel(x, 0);
        QVERIFY2(top == qRgb(0x11, 0x22, 0x33) || top == qRgb(0xAA, 0xBB, 0xCC) || top == qRgb(0, 0, 0),
                 qPrintable(QString::number(top, 16)));
    }
}

void tst_PictureRead::hugeHeaderRefusedQuickly_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("named"); // a size the message names, if any

    QTest::newRow("BMP 100000 x 100000") << bitmapFile(infoHeader(100000, 100000, 24, 0, 0), 54)
                                         << "The picture is too large: 100000 x 100000 pixels.";
    QTest::newRow("BMP 100000 x -100000 (top-down)")
        << bitmapFile(infoHeader(100000, -100000, 24, 0, 0), 54) << "The picture is too large: 100000 x 100000 pixels.";
    QTest::newRow("BMP 16384 x 16385") << runLengthBitmap(16384, 16385, 0, 0)
                                       << "The picture is too large: 16384 x 16385 pixels.";
    QByteArray core;
    QDataStream out(&core, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(12) << quint16(65535) << quint16(65535) << quint16(1) << quint16(24);
    QTest::newRow("BMP core header 65535 x 65535")
        << bitmapFile(core, 26) << "The picture is too large: 65535 x 65535 pixels.";
    QTest::newRow("PNG 100000 x 100000") << QByteArray(reinterpret_cast<const char*>(kHugePng), sizeof kHugePng)
                                         << "The picture is too large: 100000 x 100000 pixels.";
    QTest::newRow("PNG text chunk of 2 GiB")
        << hostile::pngWithHugeTextChunk()
        << "The file is damaged or incomplete: its tEXt chunk declares 2147483647 bytes, but only 42 are left";
    QTest::newRow("JPEG segment past the end")
        << hostile::jpegWithLongSegment()
        << "The file is damaged or incomplete: its segment at byte 2 declares 65518 bytes, but only 27 are left";
    QTest::newRow("JPEG of 20000 scans") << hostile::jpegWithRepeatedScan(20000)
                                         << "The file holds more work than a picture needs: a JPEG with 3 colour "
                                            "channels uses at most 192 scans";
    QTest::newRow("progressive JPEG 16384 x 16384")
        << hostile::progressiveJpegHeader(16384) << "The picture is too large to load from a progressive JPEG";
    const QString square = "The picture is too large: 65535 x 65535 pixels.";
    QTest::newRow("GIF 65535 x 65535") << hostile::gifOfSize(65535, 65535) << square;
    QTest::newRow("ICO 65535 x 65535") << hostile::iconOfSize(65535, 65535) << square;
    QTest::newRow("PPM 65535 x 65535") << hostile::pixmapOfSize(65535, 65535) << square;
    QTest::newRow("icon holding a PNG of 3082270647 x 3082270647")
        << hostile::iconHolding(hostile::pngFile(3082270647u, 3082270647u, 8, 2, false, {}))
        << "The picture is too large: 3082270647 x 3082270647 pixels.";
    QTest::newRow("XBM 32767 x 32767") << hostile::bitmapTextOfSize(32767, 32767)
                                       << "The picture is too large: 32767 x 32767 pixels.";
}

void tst_PictureRead::hugeHeaderRefusedQuickly()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, named);

    const QString path = m_dir.filePath("huge");
    QVERIFY(putFile(path, content));
    QElapsedTimer timer;
    timer.start();
    const auto read = image::readPicture(path);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QVERIFY(!read);
    QVERIFY(!read.error().isEmpty());
    if (!named.isEmpty())
        QVERIFY2(read.error().startsWith(named), qPrintable(read.error()));
}

// Qt's reader refuses anything above 128 MB unless told otherwise; the largest sheet a
// surface takes must load. RLE keeps the file small.
void tst_PictureRead::largestSheetLoads()
{
    const QString path = m_dir.filePath("largest.bmp");
    QVERIFY(putFile(path, runLengthBitmap(16384, 16384, qRgb(1, 2, 3), qRgb(250, 251, 252))));

    const auto read = image::readPicture(path);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.size(), QSize(16384, 16384));
    // Rows are stored bottom-up: the file's first row is the picture's last.
    QCOMPARE(read->picture.pixel(0, 16383), qRgb(1, 2, 3));
    QCOMPARE(read->picture.pixel(16383, 16382), qRgb(250, 251, 252));
    QCOMPARE(read->picture.pixel(16383, 0), qRgb(250, 251, 252));
}

// Every depth and kind of PNG arrives as the colours it stores, 16-bit samples rounded
// to the nearest of 8 bits (v / 257), pixels below half opacity keyed (black).
void tst_PictureRead::pngOfEveryKind_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<QRgb>>("pixels"); // row by row
    QTest::addColumn<int>("keyed");

    const auto rgba16 = [](quint16 r, quint16 g, quint16 b, quint16 a) {
        QByteArray bytes;
        for (quint16 v : {r, g, b, a})
            bytes += char(v >> 8), bytes += char(v & 0xFF);
        return bytes;
    };
    const QByteArray deep = hostile::pngFile(
        2, 1, 16, 6, false, '\0' + rgba16(0x1234, 0x5678, 0x9ABC, 0xFFFF) + rgba16(0xFFFF, 0x0000, 0x8080, 0x0000));
    const QList<QRgb> deepPixels{qRgb(18, 86, 154), qRgb(0, 0, 0)};
    QTest::newRow("16-bit RGBA") << deep << deepPixels << 1;
    QTest::newRow("16-bit RGBA in an icon") << hostile::iconHolding(deep) << deepPixels << 1;
    // Adam7 on 2 x 2: pass 1 holds (0, 0), pass 6 (1, 0), pass 7 the second row.
    const QByteArray red = rgba16(0xFFFF, 0, 0, 0).left(6);
    const QByteArray grey = rgba16(0x7F7F, 0x7F7F, 0x7F7F, 0).left(6);
    QTest::newRow("16-bit RGB, interlaced")
        << hostile::pngFile(2, 2, 16, 2, true, '\0' + red + '\0' + grey + '\0' + grey + red)
        << QList<QRgb>{qRgb(255, 0, 0), qRgb(127, 127, 127), qRgb(127, 127, 127), qRgb(255, 0, 0)} << 0;
    QTest::newRow("16-bit grey") << hostile::pngFile(2, 1, 16, 0, false, QByteArray("\0\0\0\xFF\xFF", 5))
                                 << QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)} << 0;
    QTest::newRow("8-bit grey and alpha") << hostile::pngFile(2, 1, 8, 4, false, QByteArray("\0\x64\0\xC8\xFF", 5))
                                          << QList<QRgb>{qRgb(0, 0, 0), qRgb(200, 200, 200)} << 1;
    QTest::newRow("1-bit grey") << hostile::pngFile(2, 1, 1, 0, false, QByteArray("\0\x80", 2))
                                << QList<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 0)} << 0;
    QTest::newRow("palette, one entry transparent")
        << hostile::pngFile(2, 1, 8, 3, false, QByteArray("\0\1\0", 3),
                            hostile::pngChunk("PLTE", QByteArray("\x0A\x14\x1E\xC8\x64\x32", 6))
                                + hostile::pngChunk("tRNS", QByteArray("\0", 1)))
        << QList<QRgb>{qRgb(200, 100, 50), qRgb(0, 0, 0)} << 1;
}

void tst_PictureRead::pngOfEveryKind()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<QRgb>, pixels);
    QFETCH(int, keyed);

    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const auto read = image::readPicture(buffer);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->warning, QString());
    QCOMPARE(read->picture.format(), QImage::Format_RGB32);
    QList<QRgb> got;
    for (int y = 0; y < read->picture.height(); ++y)
        for (int x = 0; x < read->picture.width(); ++x)
            got.append(read->picture.pixel(x, y));
    QCOMPARE(got, pixels);
    QCOMPARE(read->keyed.keyed, keyed);
    QVERIFY(!read->droppedTransparency);
}

// The decoders' own lines end up in the result, in Pixmold's words, and nowhere else.
void tst_PictureRead::decoderWordsKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");   // the start of the message, empty for a picture
    QTest::addColumn<QString>("warning"); // the start of the warning, empty for none
    QTest::addColumn<QString>("decoder"); // what the decoder said, within them

    QByteArray badCheck = hostile::pngFile(2, 1, 8, 2, false, QByteArray(7, '\0'));
    badCheck[badCheck.size() - 13] = char(badCheck[badCheck.size() - 13] ^ 1); // the pixel data's check
    QTest::newRow("PNG pixel data's check wrong")
        << badCheck << "The file could not be read as a picture: its pixel data is damaged."
        << ""
        << "CRC error";
    QTest::newRow("JPEG cut short") << hostile::cutJpeg() << ""
                                    << "The picture was read, but its file is damaged: "
                                    << "Corrupt JPEG data";
    QTest::newRow("JPEG whole") << hostile::encoded(hostile::gradient(8, 8), "jpeg") << ""
                                << ""
                                << "";
}

void tst_PictureRead::decoderWordsKept()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QFETCH(QString, warning);
    QFETCH(QString, decoder);

    g_messagesPrinted = 0;
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const auto read = image::readPicture(buffer);
    QCOMPARE(g_messagesPrinted.load(), 0);
    const auto begins = [](const QString& text, const QString& start) {
        return start.isEmpty() ? text.isEmpty() : text.startsWith(start);
    };
    const QString said = read ? read->warning : QString();
    QVERIFY2(begins(read.error(), error), qPrintable(read.error()));
    QVERIFY2(begins(said, warning), qPrintable(said));
    QVERIFY2((read.error() + said).contains(decoder), qPrintable(read.error() + said));
}

// Loads on several threads at once each keep their own decoder's words.
void tst_PictureRead::decoderWordsStayWithTheirThread()
{
    const QByteArray damaged = hostile::cutJpeg();
    const QByteArray whole = hostile::encoded(hostile::gradient(64, 64), "jpeg");
    g_messagesPrinted = 0;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                QByteArray bytes = (i + t) % 2 ? damaged : whole;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::ReadOnly);
                const auto read = image::readPicture(buffer);
                if (!read || read->warning.isEmpty() == ((i + t) % 2 == 1))
                    ++wrong;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(wrong.load(), 0);
    QCOMPARE(g_messagesPrinted.load(), 0);
}

QTEST_GUILESS_MAIN(tst_PictureRead)
#include "picture_read_test.moc"
