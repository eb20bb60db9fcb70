// SPDX-License-Identifier: MIT
// Picture files whose headers declare more than their bytes or their size allow, and
// small well-formed ones to hold them against, built byte by byte for the tests.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

namespace hostile {

inline QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray littleEndian16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG chunk whose length field says `declared` (its data's length unless given).
inline QByteArray pngChunk(const QByteArray& type, const QByteArray& data, qint64 declared = -1)
{
    return bigEndian32(quint32(declared < 0 ? data.size() : declared)) + type + data + bigEndian32(crc32(type + data));
}

// A whole PNG file: `rows` are the filtered rows (each starting with its filter byte),
// `before` any chunks to go before the pixel data.
inline QByteArray pngFile(quint32 width, quint32 height, int depth, int colourType, bool interlaced,
                          const QByteArray& rows, const QByteArray& before = {})
{
    QByteArray header = bigEndian32(width) + bigEndian32(height);
    header += char(depth);
    header += char(colourType);
    header += QByteArray(2, '\0');
    header += char(interlaced ? 1 : 0);
    const QByteArray compressed = qCompress(rows).mid(4); // the zlib stream, without Qt's length
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + before + pngChunk("IDAT", compressed)
        + pngChunk("IEND", {});
}

// 2 x 2 RGB whose text chunk declares 2 GiB and holds 13 bytes.
inline QByteArray pngWithHugeTextChunk()
{
    return pngFile(2, 2, 8, 2, false, QByteArray(14, '\0'), pngChunk("tEXt", "Comment\0hello", 0x7FFFFFFF));
}

inline QByteArray encoded(const QImage& picture, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(picture);
    return bytes;
}

inline QImage gradient(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x ^ y) & 0xFF));
    return picture;
}

// A progressive colour JPEG whose last scan is given `repeats` times more.
inline QByteArray jpegWithRepeatedScan(int repeats)
{
    const QByteArray bytes = encoded(gradient(16, 16), "jpeg", true);
    const qsizetype scan = bytes.lastIndexOf("\xFF\xDA");
    const qsizetype end = bytes.lastIndexOf("\xFF\xD9");
    return bytes.left(end) + bytes.mid(scan, end - scan).repeated(repeats) + bytes.mid(end);
}

// A JPEG whose first segment declares 65518 bytes and holds 20.
inline QByteArray jpegWithLongSegment()
{
    return QByteArray("\xFF\xD8\xFF\xE0\xFF\xF0JFIF", 10) + QByteArray(21, '\0') + QByteArray("\xFF\xD9", 2);
}

// The start of a progressive JPEG of side x side pixels, three channels of full
// resolution, and nothing more.
inline QByteArray progressiveJpegHeader(quint16 side)
{
    QByteArray frame("\xFF\xC2\x00\x11\x08", 5);
    frame += char(side >> 8);
    frame += char(side & 0xFF);
    frame += char(side >> 8);
    frame += char(side & 0xFF);
    frame += QByteArray("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10);
    return QByteArray("\xFF\xD8", 2) + frame + QByteArray("\xFF\xD9", 2);
}

// A baseline JPEG cut off in its pixel data: the decoder fills the rest and complains.
inline QByteArray cutJpeg()
{
    const QByteArray bytes = encoded(gradient(64, 64), "jpeg");
    return bytes.left(bytes.size() * 2 / 3);
}

// Headers of the formats whose readers refuse an oversized picture without its size.
// A GIF screen of that size with no picture on it: Qt's reader then finds no size.
inline QByteArray gifOfSize(quint16 width, quint16 height)
{
    return "GIF89a" + littleEndian16(width) + littleEndian16(height) + QByteArray("\0\0\0;", 4);
}

inline QByteArray iconOfSize(qint32 width, qint32 height)
{
    QByteArray info(40, '\0');
    qToLittleEndian<quint32>(40, info.data());
    qToLittleEndian<qint32>(width, info.data() + 4);
    qToLittleEndian<qint32>(height * 2, info.data() + 8); // the colour rows, then the mask's
    qToLittleEndian<quint16>(1, info.data() + 12);
    qToLittleEndian<quint16>(32, info.data() + 14);
    QByteArray entry(16, '\0');
    qToLittleEndian<quint16>(1, entry.data() + 4);
    qToLittleEndian<quint16>(32, entry.data() + 6);
    qToLittleEndian<quint32>(40 + 16, entry.data() + 8);
    qToLittleEndian<quint32>(6 + 16, entry.data() + 12);
    return QByteArray("\0\0\1\0\1\0", 6) + entry + info + QByteArray(16, '\0');
}

// An icon whose one picture is the whole PNG file given.
inline QByteArray iconHolding(const QByteArray& png)
{
    QByteArray entry(16, '\0');
    qToLittleEndian<quint16>(1, entry.data() + 4);
    qToLittleEndian<quint16>(32, entry.data() + 6);
    qToLittleEndian<quint32>(quint32(png.size()), entry.data() + 8);
    qToLittleEndian<quint32>(6 + 16, entry.data() + 12);
    return QByteArray("\0\0\1\0\1\0", 6) + entry + png;
}

inline QByteArray pixmapOfSize(int width, int height)
{
    return QStringLiteral("P6\n# made by hand\n%1 %2\n255\n").arg(width).arg(height).toLatin1() + QByteArray(30, '\0');
}

inline QByteArray bitmapTextOfSize(int width, int height)
{
    return QStringLiteral("#define x_width %1\n#define x_height %2\nstatic char x_bits[] = {\n0x00, 0x00 };\n")
        .arg(width)
        .arg(height)
        .toLatin1();
}

} // namespace hostile
