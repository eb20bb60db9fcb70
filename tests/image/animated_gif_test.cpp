// SPDX-License-Identifier: MIT
#include "image/animated_gif.h"
#include "image/raster.h"
#include "file_bytes.h"
#include "save_limit.h"
#include "pixel_text.h"

#include <QtTest>

#include <QImageReader>
#include <QProcess>
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

// Each frame's disposal as PIL reads it: clearing to the background and restoring what
// was there before look alike in Qt's frames.
const char* const kPilDisposals
    = "import sys\nfrom PIL import Image, ImageSequence\n"
      "print(*(f.disposal_method for f in ImageSequence.Iterator(Image.open(sys.argv[1]))))";

} // namespace

class tst_AnimatedGif : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void rowPlaysBackAsWritten_data()
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
        QTest::newRow("one cell, ping-pong")
            << QList<QRect>{QRect(4, 2, 2, 2)} << true << 1 << QStringList{"ij|ji"} << 100;
        // The narrower frame covers part of the screen; the rest is cleared, not kept.
        QTest::newRow("cells of two sizes") << QList<QRect>{QRect(0, 0, 3, 2), QRect(3, 0, 2, 2)} << false << 60
                                            << QStringList{"ab_|ba_", "cc_|_d_"} << 2;
    }
    void rowPlaysBackAsWritten()
    {
        QFETCH(QList<QRect>, cells);
        QFETCH(bool, pingPong);
        QFETCH(int, fps);
        QFETCH(QStringList, frames);
        QFETCH(int, delay);

        const Surface sheet = pixel_text::surface(kSheet);
        const QString path = m_dir.filePath(QStringLiteral("%1.gif").arg(QTest::currentDataTag()));
        const auto written = image::writeAnimatedGif(sheet, AnimatedRow{cells, kKey, fps, pingPong}, path);
        QVERIFY2(written, qPrintable(written.error()));
        const QByteArray bytes = fileBytes(path);
        QVERIFY(bytes.startsWith("GIF89a") && bytes.size() > 10 && (bytes[10] & 0x80)); // a global table

        QImageReader reader(path);
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
        pil.start(python, {"-c", kPilDisposals, path});
        QVERIFY(pil.waitForFinished());
        QVERIFY2(pil.exitCode() == 0, pil.readAllStandardError().constData());
        QCOMPARE(pil.readAllStandardOutput().trimmed(), QStringList(frames.size(), "2").join(u' ').toUtf8());
    }

    void refusedRowWritesNothing_data()
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
    void refusedRowWritesNothing()
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
        if (reason.isEmpty()) {
            QVERIFY2(written && writtenOver, qPrintable(written.error() + writtenOver.error()));
            QCOMPARE(QImageReader(path).read().size(), QSize(16, 17));
            QVERIFY(QFile::remove(path));
            return;
        }
        QVERIFY2(!written && written.error().contains(reason), qPrintable(written.error()));
        QVERIFY(!writtenOver);
        QCOMPARE(writtenOver.error(), written.error());
        QVERIFY(!QFile::exists(path));
        QCOMPARE(fileBytes(existing), QByteArray("old"));
    }

    // On a full disk the old file stays; where it goes is the replacing save's own test.
    void fullDiskKeepsTheOldFile()
    {
#ifdef Q_OS_UNIX
        const QString path = m_dir.filePath("walk.gif");
        QVERIFY(putFile(path, "old"));
        // 255 colours in no order LZW could shorten: well over the 1000 bytes allowed.
        Surface sheet(image::rgb(0, 0, 0), 64, 32);
        QRandomGenerator random(20261208);
        for (int i = 0; i < 64 * 32; ++i)
            image::SetPixel(sheet, i % 64, i / 64, image::rgb(1 + int(random.bounded(255)), 0, 0));
        const AnimatedRow row{{QRect(0, 0, 32, 32), QRect(32, 0, 32, 32)}, image::rgb(0, 0, 0), 10, false};
        const QString error
            = saveInChild([&] { return image::writeAnimatedGif(sheet, row, path); }, SaveLimit::FileSize);
        QVERIFY2(error.startsWith("The picture could not be written: "), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("old"));
#endif
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_AnimatedGif)
#include "animated_gif_test.moc"
