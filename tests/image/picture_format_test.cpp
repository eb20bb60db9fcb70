// SPDX-License-Identifier: MIT
#include "image/bitmap_save.h"
#include "image/picture_read.h"
#include "image/picture_format.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

using image::PictureFormat;

namespace {

image::Surface sheetOf(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 9 & 0xFF, y * 5 & 0xFF, (x ^ y) & 0xFF));
    image::Surface sheet(image::rgb(0, 0, 0));
    sheet.assign(picture);
    return sheet;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_PictureFormat : public QObject {
    Q_OBJECT

private slots:
    void formatForName_data();
    void formatForName();
    void writesWithoutLoss_data();
    void writesWithoutLoss();
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
};

void tst_PictureFormat::formatForName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format"); // -1: none

    QTest::newRow("bmp") << "out/hero.bmp" << int(PictureFormat::Bmp);
    QTest::newRow("PNG, any case") << "hero.v2.PnG" << int(PictureFormat::Png);
    QTest::newRow("no suffix") << "hero" << -1;
    QTest::newRow("other") << "hero.gif" << -1;
    QTest::newRow("suffix of the folder only") << "out.png/hero" << -1;
    QTest::newRow("the last suffix counts") << "hero.png.bmp" << int(PictureFormat::Bmp);
}

void tst_PictureFormat::formatForName()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    const auto found = image::formatForName(name);
    QCOMPARE(found ? int(*found) : -1, format);
}

void tst_PictureFormat::writesWithoutLoss_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("bmp") << int(PictureFormat::Bmp);
    QTest::newRow("png") << int(PictureFormat::Png);
}

void tst_PictureFormat::writesWithoutLoss()
{
    QFETCH(int, format);
    const auto kind = PictureFormat(format);
    QTemporaryDir folder;
    const image::Surface sheet = sheetOf(37, 21);
    const QString path = folder.filePath(QStringLiteral("out.") + image::formatSuffix(kind));
    QVERIFY(image::writePicture(sheet, path, kind));
    const auto read = image::readPicture(path);
    QCOMPARE(read.error(), QString());
    QCOMPARE(read->picture, sheet.picture());
    QCOMPARE(QImageReader(path).format(), image::formatSuffix(kind).toLatin1());

    // The stream's bytes are those of the file, for BMP byte for byte as writeBitmap's.
    auto encoded = image::encodePicture(sheet, kind);
    QVERIFY(encoded);
    QBuffer buffer(&*encoded);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(image::readPicture(buffer)->picture, sheet.picture());
    if (kind == PictureFormat::Bmp)
        QCOMPARE(*encoded, contents(path));
}

void tst_PictureFormat::failureKeepsTheOldFile_data()
{
    writesWithoutLoss_data();
}

void tst_PictureFormat::failureKeepsTheOldFile()
{
    QFETCH(int, format);
    const auto kind = PictureFormat(format);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("old.") + image::formatSuffix(kind));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier");
    old.close();

    // A picture without pixels cannot be written; under a regular file nothing can be.
    QVERIFY(!image::writePicture(image::Surface(image::rgb(0, 0, 0)), path, kind));
    QVERIFY(!image::writePicture(sheetOf(4, 4), path + QStringLiteral("/x.png"), kind));
    QVERIFY(!image::encodePicture(image::Surface(image::rgb(0, 0, 0)), kind));
    QCOMPARE(contents(path), QByteArray("earlier"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
}

QTEST_GUILESS_MAIN(tst_PictureFormat)
#include "picture_format_test.moc"
