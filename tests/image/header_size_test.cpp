// SPDX-License-Identifier: MIT
#include "image/header_size.h"
#include "image/picture_format.h"
#include "image/picture_read.h"
#include "file_bytes.h"

#include <QDataStream>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// A GIF of `width` x `height` cut off after its first image's descriptor: its size is
// there, none of its pixels.
QByteArray gifWithoutPixels(int width, int height)
{
    QByteArray bytes("GIF89a");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(width) << quint16(height) << quint8(0x80) << quint16(0); // a two-colour table follows
    out.writeRawData("\x00\x00\x00\xFF\xFF\xFF", 6);                        // black, white
    out << quint8(0x2C) << quint16(0) << quint16(0) << quint16(width) << quint16(height) << quint8(0); // an image
    return bytes;
}

// The file `format` writes for a `width` x `height` sheet, cut `cut` bytes before its end.
QByteArray writtenAndCut(image::PictureFormat format, int width, int height, int cut)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("whole"));
    if (!image::writePicture(image::Surface(image::rgb(9, 8, 7), width, height), path, format))
        return {};
    return file_bytes::fileBytes(path).chopped(cut);
}

} // namespace

class tst_HeaderSize : public QObject {
    Q_OBJECT

private slots:
    void headerWithoutPixels_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");

        // Cut inside the pixels: a reader that decoded them could not answer.
        QTest::newRow("bmp") << writtenAndCut(image::PictureFormat::Bmp, 7, 5, 40) << QSize(7, 5);
        QTest::newRow("png") << writtenAndCut(image::PictureFormat::Png, 7, 5, 20) << QSize(7, 5);
        QTest::newRow("gif") << gifWithoutPixels(3, 2) << QSize(3, 2);
        QTest::newRow("large gif") << gifWithoutPixels(40000, 30000) << QSize(40000, 30000);
        QByteArray topDown = writtenAndCut(image::PictureFormat::Bmp, 4, 3, 20);
        qToLittleEndian<qint32>(-3, topDown.data() + 22); // the height field
        QTest::newRow("top-down bmp, upright") << topDown << QSize(4, 3);
    }

    void headerWithoutPixels()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut"));
        QVERIFY(file_bytes::putFile(path, bytes));
        QCOMPARE(image::headerPictureSize(path), std::optional<QSize>(size));
        QVERIFY(!image::readPicture(path));
    }

    void noSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("not a picture at all\n");
        QTest::newRow("bmp magic only") << QByteArray("BM");
    }

    void noSize()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("odd"));
        QVERIFY(file_bytes::putFile(path, bytes));
        QCOMPARE(image::headerPictureSize(path), std::nullopt);
        QCOMPARE(image::headerPictureSize(dir.filePath(QStringLiteral("missing"))), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(tst_HeaderSize)
#include "header_size_test.moc"
