// SPDX-License-Identifier: MIT
#include "image/bitmap_save.h"
#include "image/picture_read.h"
#include "image/raster.h"
#include "file_bytes.h"
#include "save_limit.h"
#include "support/colour_text.h"

#include <QtTest>

#include <QBuffer>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThreadPool>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using image::Colour;
using image::Surface;

using file_bytes::fileBytes;
using file_bytes::putFile;

class tst_BitmapSave : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTripKeepsEveryColour_data();
    void roundTripKeepsEveryColour();
    void saveReplacesExistingFile();
    void repeatedSavesLeaveNoFileOpen();
    void failedSaveKeepsExistingFile_data();
    void failedSaveKeepsExistingFile();
    void saveFails_data();
    void saveFails();
    void emptySurfaceIsNotSaved();
    void savedToDeviceAsToFile_data();
    void savedToDeviceAsToFile();
    void deviceFailureSaysWhy_data();
    void deviceFailureSaysWhy();

private:
    QTemporaryDir m_dir;
};

void tst_BitmapSave::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void tst_BitmapSave::roundTripKeepsEveryColour_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    // Odd widths exercise the padding of 24-bit rows to four bytes.
    QTest::newRow("1x1") << 1 << 1;
    QTest::newRow("2x3") << 2 << 3;
    QTest::newRow("3x2") << 3 << 2;
    QTest::newRow("5x1") << 5 << 1;
    QTest::newRow("37x23") << 37 << 23;
}

void tst_BitmapSave::roundTripKeepsEveryColour()
{
    QFETCH(int, width);
    QFETCH(int, height);

    const QList<quint32> pinned
        = {0x000000, 0x010101, 0x000001, 0x000100, 0x010000, 0xFFFFFF, 0xFEFEFE, 0xFF00FF, 0x00FFFF, 0x808080};
    QRandomGenerator random(20240607); // fixed seed
    Surface sheet(image::rgb(0, 0, 0), width, height);
    QList<Colour> written;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int i = y * width + x;
            const Colour colour = Colour::fromBgr(i < pinned.size() ? pinned[i] : random.bounded(0x1000000u));
            image::SetPixel(sheet, x, y, colour);
            written << colour;
        }
    }

    const QString path = m_dir.filePath(QStringLiteral("round trip %1x%2.bmp").arg(width).arg(height));
    const auto saved = image::writeBitmap(sheet, path);
    QVERIFY2(saved, qPrintable(saved.error()));

    const QByteArray bytes = fileBytes(path);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));

    const auto read = image::readPicture(path);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.format(), QImage::Format_RGB32);
    QCOMPARE(read->picture.size(), QSize(width, height));
    QList<Colour> loaded;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            loaded << Colour::fromPixel(read->picture.pixel(x, y));
    QCOMPARE(loaded, written);
}

void tst_BitmapSave::saveReplacesExistingFile()
{
    const QString path = m_dir.filePath("replaced.bmp");
    QVERIFY(putFile(path, QByteArray(5000, 'x')));
    Surface sheet(image::rgb(1, 2, 3), 3, 2);
    QVERIFY(image::writeBitmap(sheet, path));

    const auto read = image::readPicture(path);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.size(), QSize(3, 2));
    QCOMPARE(read->picture.pixel(2, 1), qRgb(1, 2, 3));
    QCOMPARE(QDir(m_dir.path()).entryList({"replaced*"}, QDir::Files), QStringList{"replaced.bmp"});
}

// Each save over a file holds the old one open until a worker closes it; large sheets
// also hand their bytes to the disk as they go.
void tst_BitmapSave::repeatedSavesLeaveNoFileOpen()
{
#ifdef Q_OS_LINUX
    const auto openFiles = [] { return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size(); };
    const QString path = m_dir.filePath("again.bmp");
    Surface sheet(image::rgb(0, 0, 0), 1500, 1000); // a file of about 4.5 MB
    QThreadPool::globalInstance()->waitForDone();
    const qsizetype before = openFiles();
    for (int i = 0; i < 20; ++i) {
        image::SetPixel(sheet, i, i, image::rgb(i, 2 * i, 3 * i));
        QVERIFY(image::writeBitmap(sheet, path));
    }
    QVERIFY(QThreadPool::globalInstance()->waitForDone(10000));
    QCOMPARE(openFiles(), before);

    const auto read = image::readPicture(path);
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.size(), QSize(1500, 1000));
    for (int i = 0; i < 20; ++i)
        QCOMPARE(read->picture.pixel(i, i), qRgb(i, 2 * i, 3 * i));
    QCOMPARE(read->picture.pixel(1499, 999), qRgb(0, 0, 0));
#else
    QSKIP("Open files are counted on Linux only");
#endif
}

void tst_BitmapSave::failedSaveKeepsExistingFile_data()
{
#ifdef Q_OS_UNIX
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("side"); // of the square picture saved
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("expected"); // the start of the message

    const int readOnly = int(SaveLimit::ReadOnlyFolder);
    const int fileSize = int(SaveLimit::FileSize);
    const QString unwritable = "The picture could not be written: ";
    QTest::newRow("read-only folder") << readOnly << 4 << true << "The file could not be created: ";
    // 120 kB: the writer itself sees the failure.
    QTest::newRow("full disk over a file") << fileSize << 200 << true << unwritable;
    QTest::newRow("full disk, new file") << fileSize << 200 << false << unwritable;
    // 1.2 kB: every byte waits in the file's buffer until the end.
    QTest::newRow("full disk at the last bytes") << fileSize << 20 << true << unwritable;
#else
    QSKIP("Needs a child process with its own user and limits");
#endif
}

// The save runs in a child process, so that neither the file size limit nor the
// unprivileged user it may need reaches this test.
void tst_BitmapSave::failedSaveKeepsExistingFile()
{
#ifdef Q_OS_UNIX
    QFETCH(int, limit);
    QFETCH(int, side);
    QFETCH(bool, existing);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("sheet.bmp");
    const QByteArray old = "old picture bytes";
    if (existing)
        QVERIFY(putFile(path, old));

    const auto writable = QFile::permissions(dir.path());
    const auto restore = qScopeGuard([&] { QFile::setPermissions(dir.path(), writable); });
    if (SaveLimit(limit) == SaveLimit::ReadOnlyFolder) {
        // Only the folder is read-only: the file itself may be written by anyone.
        QVERIFY(QFile::setPermissions(path,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup
                                          | QFile::ReadOther | QFile::WriteOther));
        QVERIFY(QFile::setPermissions(dir.path(),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::ExeOther));
    }

    const Surface sheet(image::rgb(1, 2, 3), side, side);
    const QString error = saveInChild([&] { return image::writeBitmap(sheet, path); }, SaveLimit(limit));
    // The message says why: the system's reason follows.
    const QString reason = error.mid(expected.size());
    QVERIFY2(error.startsWith(expected) && !reason.isEmpty() && reason != "Unknown error", qPrintable(error));
    QCOMPARE(fileBytes(path), existing ? old : QByteArray());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             existing ? QStringList{"sheet.bmp"} : QStringList());
#endif
}

void tst_BitmapSave::saveFails_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("parent is a regular file") << "plain.txt/sheet.bmp";
    QTest::newRow("parent folder missing") << "no such folder/sheet.bmp";
    QTest::newRow("path is a folder") << "a folder";
#ifdef Q_OS_UNIX
    QTest::newRow("path is a named pipe") << "a pipe";
#endif
}

void tst_BitmapSave::saveFails()
{
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(putFile(dir.filePath("plain.txt"), "text"));
    QVERIFY(QDir(dir.path()).mkdir("a folder"));
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("a pipe")).constData(), 0600), 0);
#endif

    const auto written = image::writeBitmap(Surface(image::rgb(0, 0, 0), 2, 2), dir.filePath(name));
    QVERIFY(!written);
    const QString& error = written.error();
    QVERIFY2(error.startsWith("The file could not be created: ") && error.size() > 31, qPrintable(error));
    QCOMPARE(fileBytes(dir.filePath("plain.txt")), QByteArray("text"));
    QVERIFY(QFileInfo(dir.filePath("a folder")).isDir());
    QStringList entries{"a folder", "plain.txt"};
#ifdef Q_OS_UNIX
    QVERIFY(!QFileInfo(dir.filePath("a pipe")).isFile());
    entries.insert(1, "a pipe");
#endif
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             entries);
}

void tst_BitmapSave::emptySurfaceIsNotSaved()
{
    for (const Surface& empty : {Surface(), Surface(image::rgb(0, 0, 0), 0, 5), Surface(image::rgb(0, 0, 0), 5, 0)}) {
        const QString path = m_dir.filePath("empty.bmp");
        const auto written = image::writeBitmap(empty, path);
        QVERIFY(!written);
        QVERIFY2(written.error().startsWith("A picture with no pixels cannot be saved"), qPrintable(written.error()));
        QVERIFY(!QFile::exists(path));
    }
}

void tst_BitmapSave::savedToDeviceAsToFile_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    QTest::newRow("3x2") << 3 << 2;
    QTest::newRow("37x23") << 37 << 23;
    QTest::newRow("many blocks") << 301 << 300;
}

// The same bytes as the file, written after what the device already holds.
void tst_BitmapSave::savedToDeviceAsToFile()
{
    QFETCH(int, width);
    QFETCH(int, height);

    Surface sheet(image::rgb(1, 2, 3), width, height);
    for (int i = 0; i < std::min(width, height); ++i)
        image::SetPixel(sheet, i, i, image::rgb(i, 255 - i, 7 * i));
    const QString path = m_dir.filePath("device.bmp");
    QVERIFY(image::writeBitmap(sheet, path));

    QByteArray bytes("before");
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadWrite | QIODevice::Append));
    const auto written = image::writeBitmap(sheet, buffer);
    QVERIFY2(written, qPrintable(written.error()));
    QCOMPARE(bytes, "before" + fileBytes(path));
}

void tst_BitmapSave::deviceFailureSaysWhy_data()
{
    QTest::addColumn<QString>("device"); // a file name, or empty for a read-only buffer
    QTest::addColumn<int>("side");
    QTest::addColumn<QString>("expected"); // the whole message, or its start where it ends in ": "

    QTest::newRow("not open for writing")
        << QString() << 2 << "The picture could not be written: the target is not open for writing.";
    QTest::newRow("no pixels") << QString() << 0 << "A picture with no pixels cannot be saved (0 x 0 pixels).";
#ifdef Q_OS_LINUX
    // A full disk; the small picture waits in the file's buffer until it is flushed.
    QTest::newRow("full disk at the flush") << "/dev/full" << 2 << "The picture could not be written: ";
    QTest::newRow("full disk at a block") << "/dev/full" << 200 << "The picture could not be written: ";
#endif
}

void tst_BitmapSave::deviceFailureSaysWhy()
{
    QFETCH(QString, device);
    QFETCH(int, side);
    QFETCH(QString, expected);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    QFile file(device);
    QIODevice* target = &buffer;
    if (device.isEmpty()) {
        QVERIFY(buffer.open(QIODevice::ReadOnly));
    } else {
        if (!QFileInfo::exists(device))
            QSKIP("No such device here");
        QVERIFY(file.open(QIODevice::WriteOnly));
        target = &file;
    }
    const auto written = image::writeBitmap(Surface(image::rgb(0, 0, 0), side, side), *target);
    QVERIFY(!written);
    const QString* error = &written.error();
    if (expected.endsWith(": "))
        QVERIFY2(error->startsWith(expected) && error->size() > expected.size(), qPrintable(*error));
    else
        QCOMPARE(*error, expected);
}

QTEST_GUILESS_MAIN(tst_BitmapSave)
#include "bitmap_save_test.moc"
