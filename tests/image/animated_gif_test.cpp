// SPDX-License-Identifier: MIT
#include "image/animated_gif.h"
#include "image/raster.h"
#include "file_bytes.h"
#include "save_limit.h"
#include "pixel_text.h"

#include <QtTest>

#include <QBuffer>
#include <QImageReader>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

using image::AnimatedRow;
using image::Surface;

using file_bytes::fileBytes;
using file_bytes::putFile;

namespace {

const image::Colour kKey = pixel_text::colourOf(u'k');

// Two rows of three 2 x 2 cells; 'k' is the key.
const QString kSheet = QStringLiteral("abkccd|bakkdc|efghij|ghefji");

QList<QRect> rowCells(int row)
{
    return {QRect(0, 2 * row, 2, 2), QRect(2, 2 * row, 2, 2), QRect(4, 2 * row, 2, 2)};
}

// A frame as a reader gives it: transparent pixels as '_', the others as pixel_text's.
QString frameText(const QImage& frame)
{
    QStringList rows;
    for (int y = 0; y < frame.height(); ++y) {
        QString row;
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb pixel = frame.pixel(x, y);
            row += qAlpha(pixel) == 0 ? u'_' : pixel_text::charOf(image::Colour::fromPixel(pixel));
        }
        rows << row;
    }
    return rows.join(u'|');
}

// Debian's Python has PIL where another one first in the path may not.
QString pythonWithPil()
{
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(python, {"-c", "import PIL"});
        if (probe.waitForFinished() && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return python;
    }
    return {};
}

// The frames as PIL reads them, each "disposal delay-in-ms pixels", the pixels written
// as frameText does (pixel_text's letters have their own code as red); the first line
// the version and the loop count.
const char* const kPilFrames = R"(
import sys
from PIL import Image, ImageSequence
im = Image.open(sys.argv[1])
print(im.info['version'].decode(), im.info.get('loop'))
for frame in ImageSequence.Iterator(im):
    rgba = frame.convert('RGBA')
    rows = ['' .join('_' if a == 0 else chr(r) for r, g, b, a in
            (rgba.getpixel((x, y)) for x in range(rgba.width))) for y in range(rgba.height)]
    print(frame.disposal_method, frame.info['duration'], '|'.join(rows))
)";

} // namespace

class tst_AnimatedGif : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rowPlaysBackAsWritten_data();
    void rowPlaysBackAsWritten();
    void refusedRowWritesNothing_data();
    void refusedRowWritesNothing();
    void failedSaveLeavesNothing_data();
    void failedSaveLeavesNothing();

private:
    QTemporaryDir m_dir;
};

void tst_AnimatedGif::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void tst_AnimatedGif::rowPlaysBackAsWritten_data()
{
    QTest::addColumn<QList<QRect>>("cells");
    QTest::addColumn<bool>("pingPong");
    QTest::addColumn<int>("fps");
    QTest::addColumn<QStringList>("frames"); // as a reader shows them, on the whole screen
    QTest::addColumn<int>("delay");

    // A key pixel over the frame before shows through: that frame was cleared.
    QTest::newRow("first row") << rowCells(0) << false << 10 << QStringList{"ab|ba", "_c|__", "cd|dc"} << 10;
    QTest::newRow("second row, ping-pong")
        << rowCells(1) << true << 8 << QStringList{"ef|gh", "gh|ef", "ij|ji", "gh|ef"} << 12;
    QTest::newRow("one cell, ping-pong") << QList<QRect>{QRect(4, 2, 2, 2)} << true << 1 << QStringList{"ij|ji"} << 100;
    // The narrower frame covers part of the screen; the rest is cleared, not kept.
    QTest::newRow("cells of two sizes") << QList<QRect>{QRect(0, 0, 3, 2), QRect(3, 0, 2, 2)} << false << 60
                                        << QStringList{"ab_|ba_", "cc_|_d_"} << 2;
}

void tst_AnimatedGif::rowPlaysBackAsWritten()
{
    QFETCH(QList<QRect>, cells);
    QFETCH(bool, pingPong);
    QFETCH(int, fps);
    QFETCH(QStringList, frames);
    QFETCH(int, delay);

    const Surface sheet = pixel_text::surface(kSheet);
    const QString path = m_dir.filePath(QStringLiteral("%1.gif").arg(QTest::currentDataTag()));
    const auto written = image::writeAnimatedGif(sheet, AnimatedRow{cells, kKey, fps, pingPong}, path);
    QVERIFY2(written, qPrintable(written ? QString() : written.error()));
    const QByteArray bytes = fileBytes(path);
    QVERIFY(bytes.startsWith("GIF89a") && bytes.size() > 10 && (bytes[10] & 0x80)); // a global table

    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.imageCount(), frames.size());
    QStringList read;
    QList<int> delays;
    for (QImage frame; reader.read(&frame);) {
        read << frameText(frame);
        delays << reader.nextImageDelay();
    }
    QCOMPARE(read, frames);
    QCOMPARE(delays, QList<int>(frames.size(), delay * 10));
    QCOMPARE(reader.loopCount(), -1); // for ever

    const QString python = pythonWithPil();
    if (python.isEmpty())
        QSKIP("No Python with PIL to read the file back");
    QProcess pil;
    pil.start(python, {"-c", kPilFrames, path});
    QVERIFY(pil.waitForFinished());
    QVERIFY2(pil.exitCode() == 0, pil.readAllStandardError().constData());
    QStringList expected{"GIF89a 0"};
    for (const QString& frame : frames)
        expected << QStringLiteral("2 %1 %2").arg(delay * 10).arg(frame);
    QCOMPARE(QString::fromUtf8(pil.readAllStandardOutput()).trimmed().split(u'\n'), expected);
}

void tst_AnimatedGif::refusedRowWritesNothing_data()
{
    QTest::addColumn<int>("colours"); // in one 16 x 17 cell, the key not among them
    QTest::addColumn<QList<QRect>>("cells");
    QTest::addColumn<int>("fps");
    QTest::addColumn<QString>("reason"); // empty: written

    const QList<QRect> cell{QRect(0, 0, 16, 17)};
    QTest::newRow("256 with the key") << 255 << cell << 10 << "";
    QTest::newRow("257 with the key") << 256 << cell << 10 << "257 colours";
    QTest::newRow("272 with the key") << 271 << cell << 10 << "272 colours";
    QTest::newRow("no cells") << 2 << QList<QRect>{} << 10 << "no cells";
    QTest::newRow("cell beyond the sheet") << 2 << QList<QRect>{QRect(1, 0, 16, 17)} << 10 << "outside the sheet";
    QTest::newRow("0 fps") << 2 << cell << 0 << "from 1 to 60";
    QTest::newRow("61 fps") << 2 << cell << 61 << "from 1 to 60";
}

void tst_AnimatedGif::refusedRowWritesNothing()
{
    QFETCH(int, colours);
    QFETCH(QList<QRect>, cells);
    QFETCH(int, fps);
    QFETCH(QString, reason);

    Surface sheet(image::rgb(0, 0, 0), 16, 17);
    for (int i = 0; i < 16 * 17; ++i)
        image::SetPixel(sheet, i % 16, i / 16, image::rgb(1 + i % colours % 255, i % colours / 255, 9));
    const QString path = m_dir.filePath("refused.gif");
    const QString existing = m_dir.filePath("existing.gif");
    QVERIFY(putFile(existing, "old"));

    const AnimatedRow row{cells, image::rgb(0, 0, 0), fps, false};
    const auto written = image::writeAnimatedGif(sheet, row, path);
    const auto writtenOver = image::writeAnimatedGif(sheet, row, existing);
    const std::optional<QString> error = written ? std::nullopt : std::optional(written.error());
    const std::optional<QString> over = writtenOver ? std::nullopt : std::optional(writtenOver.error());
    if (reason.isEmpty()) {
        QVERIFY2(!error && !over, qPrintable(error.value_or(over.value_or(QString()))));
        QCOMPARE(QImageReader(path).read().size(), QSize(16, 17));
        QVERIFY(QFile::remove(path));
        return;
    }
    QVERIFY(error && over);
    QVERIFY2(error->contains(reason), qPrintable(*error));
    QCOMPARE(*over, *error);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(fileBytes(existing), QByteArray("old"));
}

void tst_AnimatedGif::failedSaveLeavesNothing_data()
{
#ifdef Q_OS_UNIX
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("expected"); // the start of the message

    const int readOnly = int(SaveLimit::ReadOnlyFolder);
    const int fileSize = int(SaveLimit::FileSize);
    QTest::newRow("read-only folder") << readOnly << true << "The file could not be created: ";
    QTest::newRow("full disk, new file") << fileSize << false << "The picture could not be written: ";
    QTest::newRow("full disk over a file") << fileSize << true << "The picture could not be written: ";
#else
    QSKIP("Needs a child process with its own user and limits");
#endif
}

void tst_AnimatedGif::failedSaveLeavesNothing()
{
#ifdef Q_OS_UNIX
    QFETCH(int, limit);
    QFETCH(bool, existing);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("walk.gif");
    const QByteArray old = "old animation bytes";
    if (existing)
        QVERIFY(putFile(path, old));
    const auto writable = QFile::permissions(dir.path());
    const auto restore = qScopeGuard([&] { QFile::setPermissions(dir.path(), writable); });
    if (SaveLimit(limit) == SaveLimit::ReadOnlyFolder)
        QVERIFY(QFile::setPermissions(dir.path(),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                          | QFile::ReadOther | QFile::ExeOther));

    // 255 colours in no order LZW could shorten: well over the 1000 bytes allowed.
    Surface sheet(image::rgb(0, 0, 0), 64, 32);
    QRandomGenerator random(20261208);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            image::SetPixel(sheet, x, y, image::rgb(1 + int(random.bounded(255)), 0, 0));
    const AnimatedRow row{{QRect(0, 0, 32, 32), QRect(32, 0, 32, 32)}, image::rgb(0, 0, 0), 10, false};
    const QString error = saveInChild([&] { return image::writeAnimatedGif(sheet, row, path); }, SaveLimit(limit));
    const QString reason = error.mid(expected.size());
    QVERIFY2(error.startsWith(expected) && !reason.isEmpty() && reason != "Unknown error", qPrintable(error));
    QCOMPARE(fileBytes(path), existing ? old : QByteArray());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             existing ? QStringList{"walk.gif"} : QStringList());
#endif
}

QTEST_GUILESS_MAIN(tst_AnimatedGif)
#include "animated_gif_test.moc"
