// SPDX-License-Identifier: MIT
#include "image/bitmap_header.h"

#include <QtTest>

#include <QtEndian>

#include <limits>

using namespace image::bitmap_field;

namespace {

// The headers of a 5 x 3 picture, as the writer makes them.
QByteArray plainHeaders()
{
    QByteArray bytes(image::kBitmapHeadersSize, '\0');
    image::writePlainBitmapHeader(reinterpret_cast<uchar*>(bytes.data()), 5, 3, 3780, 3780);
    return bytes;
}

std::optional<image::PlainBitmapHeader> parse(const QByteArray& bytes)
{
    return image::parsePlainBitmapHeader(reinterpret_cast<const uchar*>(bytes.constData()));
}

} // namespace

class tst_BitmapHeader : public QObject {
    Q_OBJECT

private slots:
    void writtenHeaderReadsBack_data();
    void writtenHeaderReadsBack();
    void changedField_data();
    void changedField();
};

void tst_BitmapHeader::writtenHeaderReadsBack_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("dotsPerMeterX");
    QTest::addColumn<int>("dotsPerMeterY");

    QTest::newRow("1x1") << 1 << 1 << 0 << 0;
    QTest::newRow("5x3, 96 dpi") << 5 << 3 << 3780 << 3781;
    QTest::newRow("largest sheet") << 16384 << 16384 << 2835 << 2835;
    QTest::newRow("odd resolution") << 3 << 2 << -1 << 0;
}

void tst_BitmapHeader::writtenHeaderReadsBack()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, dotsPerMeterX);
    QFETCH(int, dotsPerMeterY);

    uchar bytes[image::kBitmapHeadersSize];
    image::writePlainBitmapHeader(bytes, width, height, dotsPerMeterX, dotsPerMeterY);
    const std::optional<image::PlainBitmapHeader> header = image::parsePlainBitmapHeader(bytes);
    QVERIFY(header);
    QCOMPARE(header->width, width);
    QCOMPARE(header->height, height);
    QVERIFY(!header->topDown);
    QCOMPARE(header->dataOffset, quint32(image::kBitmapHeadersSize));
    QCOMPARE(header->dotsPerMeterX, dotsPerMeterX);
    QCOMPARE(header->dotsPerMeterY, dotsPerMeterY);
    const qint64 dataSize = image::bitmapRowBytes(width) * height;
    QCOMPARE(qFromLittleEndian<quint32>(bytes + kDataSize), quint32(dataSize));
    QCOMPARE(qFromLittleEndian<quint32>(bytes + kFileSize), quint32(image::kBitmapHeadersSize + dataSize));
}

// One field of the writer's headers changed: what the fast reader still takes, and how.
void tst_BitmapHeader::changedField_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("size"); // 2 or 4 bytes
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("height"); // read back; 0 where the header is declined
    QTest::addColumn<bool>("topDown");

    QTest::newRow("rows top-down") << kHeight << 4 << qint64(-3) << 3 << true;
    QTest::newRow("pixels after a palette") << kDataOffset << 4 << qint64(1078) << 3 << false;
    QTest::newRow("not BM") << 1 << 2 << qint64('A') << 0 << false;
    QTest::newRow("core header") << kInfoSize << 4 << qint64(12) << 0 << false;
    QTest::newRow("version 5 header") << kInfoSize << 4 << qint64(124) << 0 << false;
    QTest::newRow("two planes") << kPlanes << 2 << qint64(2) << 0 << false;
    QTest::newRow("32 bits") << kBitsPerPixel << 2 << qint64(32) << 0 << false;
    QTest::newRow("bit fields") << kCompression << 4 << qint64(3) << 0 << false;
    QTest::newRow("no width") << kWidth << 4 << qint64(0) << 0 << false;
    QTest::newRow("negative width") << kWidth << 4 << qint64(-5) << 0 << false;
    QTest::newRow("no height") << kHeight << 4 << qint64(0) << 0 << false;
    QTest::newRow("lowest height") << kHeight << 4 << qint64(std::numeric_limits<qint32>::min()) << 0 << false;
    QTest::newRow("pixels inside the headers") << kDataOffset << 4 << qint64(53) << 0 << false;
}

void tst_BitmapHeader::changedField()
{
    QFETCH(int, at);
    QFETCH(int, size);
    QFETCH(qint64, value);
    QFETCH(int, height);
    QFETCH(bool, topDown);

    QByteArray bytes = plainHeaders();
    if (size == 2)
        qToLittleEndian(quint16(value), bytes.data() + at);
    else
        qToLittleEndian(quint32(value), bytes.data() + at);
    const std::optional<image::PlainBitmapHeader> header = parse(bytes);
    QCOMPARE(header.has_value(), height != 0);
    if (!header)
        return;
    QCOMPARE(header->width, 5);
    QCOMPARE(header->height, height);
    QCOMPARE(header->topDown, topDown);
}

QTEST_GUILESS_MAIN(tst_BitmapHeader)
#include "bitmap_header_test.moc"
