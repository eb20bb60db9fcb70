// SPDX-License-Identifier: MIT
// Files no picture can come from, chosen in the open dialog: the window says why and
// keeps the sheet it had.
#include "window_fixture.h"
#include "support/hostile_pictures.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>

namespace {

// A BMP file with a 40-byte header claiming width x height at 24 bits, then `data`.
QByteArray bitmap(qint32 width, qint32 height, const QByteArray& data)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("BM", 2);
    out << quint32(54 + data.size()) << quint32(0) << quint32(54);
    out << quint32(40) << width << height << quint16(1) << quint16(24) << quint32(0) << quint32(data.size())
        << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    out.writeRawData(data.constData(), int(data.size()));
    return bytes;
}

} // namespace

class tst_WindowHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void refusedFileKeepsTheSheet_data();
    void refusedFileKeepsTheSheet();
};

void tst_WindowHostileFiles::refusedFileKeepsTheSheet_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: a folder of that name
    QTest::addColumn<QString>("reason");     // the start of the message's second paragraph

    // 2 x 2 at 24 bits: rows of 8 bytes with their padding.
    const QByteArray whole = bitmap(2, 2, QByteArray(16, '\x40'));
    QTest::newRow("header claims 100000 x 100000")
        << "huge.bmp" << bitmap(100000, 100000, QByteArray(64, '\0')) << "The picture is too large: ";
    QTest::newRow("zero bytes") << "empty.bmp" << QByteArray("") << "The file is empty.";
    QTest::newRow("truncated") << "cut.bmp" << whole.left(whole.size() - 3) << "The file is incomplete: ";
    QTest::newRow("header only") << "header.bmp" << whole.left(30) << "The file could not be read as a picture: ";
    QTest::newRow("folder") << "pictures.bmp" << QByteArray() << "This is a folder, not a picture file.";
    QTest::newRow("PNG text chunk of 2 GiB")
        << "text.png" << hostile::pngWithHugeTextChunk() << "The file is damaged or incomplete: its tEXt chunk ";
    QTest::newRow("JPEG of 20000 scans") << "scans.jpg" << hostile::jpegWithRepeatedScan(20000)
                                         << "The file holds more work than a picture needs: ";
    QTest::newRow("GIF 65535 x 65535") << "huge.gif" << hostile::gifOfSize(65535, 65535)
                                       << "The picture is too large: 65535 x 65535 pixels.";
}

void tst_WindowHostileFiles::refusedFileKeepsTheSheet()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);

    WindowFixture f;
    f.load(patternPicture(30, 20), QStringLiteral("good.bmp"));
    QCOMPARE(f.caption(), QStringLiteral("good.bmp"));

    const QString path = f.folder.filePath(name);
    if (content.isNull()) {
        QVERIFY(QDir(f.folder.path()).mkdir(name));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    f.dialogs.files.enqueue(path);
    f.trigger("mnuFileLoad");

    const QStringList messages = f.dialogs.messages();
    QCOMPARE(messages.size(), 1);
    const QString expectedStart = QDir::toNativeSeparators(path) + " could not be loaded.\n\n" + reason;
    QVERIFY2(messages[0].startsWith(expectedStart), qPrintable(messages[0]));
    QCOMPARE(f.dialogs.shown.constLast().title, QStringLiteral("Tarnel"));
    QCOMPARE(f.caption(), QStringLiteral("good.bmp"));
    QCOMPARE(toImage(f.window->workingImage()), patternPicture(30, 20));
    QCOMPARE(f.window->state().LastLoadPath, path);
}

QTEST_MAIN(tst_WindowHostileFiles)
#include "window_hostile_files_test.moc"
