// SPDX-License-Identifier: MIT
// Plain 24-bit BMP files are written and read without Qt's reader and writer; both
// must agree with Qt's exactly.
#include "image/bitmap_save.h"
#include "image/picture_read.h"
#include "image/raster.h"

#include <QtTest>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// Every pixel its own colour, from a fixed seed.
QImage randomPicture(int width, int height)
{
    QRandomGenerator random(20240607);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, 0xFF000000u | random.bounded(0x1000000u));
    return picture;
}

QByteArray qtBitmap(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(picture);
    return bytes;
}

QImage qtRead(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "bmp").read().convertToFormat(QImage::Format_RGB32);
}

void setField32(QByteArray& bytes, int at, qint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// A buffer that counts the reads asked of it.
class CountingBuffer final : public QBuffer {
public:
    using QBuffer::QBuffer;
    int reads = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        ++reads;
        return QBuffer::readData(data, maxSize);
    }
};

} // namespace

class tst_PlainBitmap : public QObject {
    Q_OBJECT

private slots:
    void writtenAsQtWrites_data();
    void writtenAsQtWrites();
    void readAsQtReads_data();
    void readAsQtReads();
    void readInBlocksNotRows();
};

void tst_PlainBitmap::writtenAsQtWrites_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("dotsPerMeter");

    // Rows are packed four pixels at a time and padded to four bytes: widths around both.
    for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 37})
        QTest::addRow("%dx3", width) << width << 3 << 3780;
    QTest::newRow("72 dpi") << 5 << 2 << 2835;
}

void tst_PlainBitmap::writtenAsQtWrites()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, dotsPerMeter);

    QImage picture = randomPicture(width, height);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter + 1);
    image::Surface sheet;
    sheet.assign(picture);
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.bmp");
    QVERIFY(image::writeBitmap(sheet, path));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), qtBitmap(picture));
}

void tst_PlainBitmap::readAsQtReads_data()
{
    QTest::addColumn<QByteArray>("bytes");

    for (int width : {1, 3, 4, 5, 9})
        QTest::addRow("%dx2", width) << qtBitmap(randomPicture(width, 2));

    QByteArray topDown = qtBitmap(randomPicture(5, 3));
    setField32(topDown, 22, -3);
    QTest::newRow("rows top-down") << topDown;

    // A palette no 24-bit picture uses, between the headers and the pixels.
    QByteArray gap = qtBitmap(randomPicture(5, 3));
    gap.insert(54, QByteArray(8, '\x55'));
    setField32(gap, 10, 62);
    setField32(gap, 46, 2);
    QTest::newRow("palette before the pixels") << gap;

    QByteArray odd = qtBitmap(randomPicture(3, 2));
    setField32(odd, 38, -1);
    setField32(odd, 42, 0);
    QTest::newRow("odd resolution") << odd;

    QByteArray longer = qtBitmap(randomPicture(3, 2));
    longer.append("trailing bytes");
    QTest::newRow("bytes after the pixels") << longer;
}

void tst_PlainBitmap::readAsQtReads()
{
    QFETCH(QByteArray, bytes);

    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const auto read = image::readPicture(buffer);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    const QImage expected = qtRead(bytes);
    QCOMPARE(read->picture.format(), QImage::Format_RGB32);
    QCOMPARE(read->picture, expected);
    QCOMPARE(read->picture.dotsPerMeterX(), expected.dotsPerMeterX());
    QCOMPARE(read->picture.dotsPerMeterY(), expected.dotsPerMeterY());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            QCOMPARE(qAlpha(read->picture.pixel(x, y)), 0xFF);
}

// Reading a row at a time (Qt's way) makes loading a large sheet some twenty times
// slower than a copy of its bytes.
void tst_PlainBitmap::readInBlocksNotRows()
{
    QByteArray bytes = qtBitmap(randomPicture(7, 64));
    CountingBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    const auto read = image::readPicture(buffer);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture, qtRead(bytes));
    QVERIFY2(buffer.reads < 8, qPrintable(QString::number(buffer.reads)));
}

QTEST_GUILESS_MAIN(tst_PlainBitmap)
#include "plain_bitmap_test.moc"
