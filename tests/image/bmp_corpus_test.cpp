// SPDX-License-Identifier: MIT
#include "image/picture_read.h"
#include "image/plain_bitmap_read.h"
#include "image/surface.h"

#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QtEndian>

#include <cstdlib>

namespace {

QDir corpus()
{
    return QDir(QStringLiteral(PIXMOLD_SHARED_DIR "/bmp-corpus"));
}

// reference.tsv: "<bmp path>\t<reference path>" a line, paths relative to the corpus.
QHash<QString, QString> references()
{
    QHash<QString, QString> result;
    QFile file(corpus().filePath("reference.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const QStringList fields = line.split(u'\t');
        if (line.startsWith(u'#') || fields.size() != 2)
            continue;
        result.insert(fields[0], fields[1]);
    }
    return result;
}

QStringList bitmapsIn(const QString& folder)
{
    QStringList result;
    for (const QString& name : QDir(corpus().filePath(folder)).entryList({"*.bmp"}, QDir::Files, QDir::Name))
        result << folder + u'/' + name;
    return result;
}

// Whether the file's headers say 40-byte info header, 24 bits, no compression: the
// files the fast way is for. Read here on its own, so that a fast way that declines
// such a file is caught rather than agreed with.
bool plainTrueColour(const QString& path)
{
    QFile file(path);
    uchar head[34] = {};
    return file.open(QIODevice::ReadOnly) && file.read(reinterpret_cast<char*>(head), sizeof head) == sizeof head
        && head[0] == 'B' && head[1] == 'M' && qFromLittleEndian<quint32>(head + 14) == 40
        && qFromLittleEndian<quint16>(head + 28) == 24 && qFromLittleEndian<quint32>(head + 30) == 0;
}

} // namespace

class tst_BmpCorpus : public QObject {
    Q_OBJECT

private slots:
    void goodFileMatchesReference_data();
    void goodFileMatchesReference();
    void otherFileLoadsOrFailsCleanly_data();
    void otherFileLoadsOrFailsCleanly();
    void fastWayReadsAsQt_data();
    void fastWayReadsAsQt();
};

void tst_BmpCorpus::goodFileMatchesReference_data()
{
    QTest::addColumn<QString>("bitmap");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("tolerance");   // per channel
    QTest::addColumn<bool>("compareAll"); // false: the reference shows another size

    if (!corpus().exists())
        QSKIP("The BMP corpus is not beside the work tree");
    const QHash<QString, QString> referenceOf = references();
    QVERIFY2(!referenceOf.isEmpty(), "reference.tsv is missing or empty");

    const QStringList good = bitmapsIn("good");
    QVERIFY(!good.isEmpty());
    for (const QString& bitmap : good) {
        const QString name = QFileInfo(bitmap).fileName();
        // 16-bit channels are widened by shifting, not by repeating their high bits.
        const int tolerance = name.startsWith("rgb16") ? 7 : 0;
        // Drawn at the corrected aspect ratio, twice as high as the file's pixels.
        const bool compareAll = name != "pal8nonsquare.bmp";
        QTest::newRow(qPrintable(bitmap)) << bitmap << referenceOf.value(bitmap) << tolerance << compareAll;
    }
}

void tst_BmpCorpus::goodFileMatchesReference()
{
    QFETCH(QString, bitmap);
    QFETCH(QString, reference);
    QFETCH(int, tolerance);
    QFETCH(bool, compareAll);

    QVERIFY2(!reference.isEmpty(), "no reference listed for this file");
    const auto read = image::readPicture(corpus().filePath(bitmap));
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.format(), QImage::Format_RGB32);
    if (!compareAll)
        return;

    const QImage expected = QImage(corpus().filePath(reference)).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!expected.isNull());
    QCOMPARE(read->picture.size(), expected.size());
    int mismatches = 0;
    QString first;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            const QRgb got = read->picture.pixel(x, y);
            if (std::abs(qRed(got) - qRed(want)) > tolerance || std::abs(qGreen(got) - qGreen(want)) > tolerance
                || std::abs(qBlue(got) - qBlue(want)) > tolerance) {
                if (mismatches++ == 0)
                    first = QStringLiteral("(%1, %2): got #%3, want #%4")
                                .arg(x)
                                .arg(y)
                                .arg(got & 0xFFFFFF, 6, 16, QChar(u'0'))
                                .arg(want & 0xFFFFFF, 6, 16, QChar(u'0'));
            }
        }
    }
    QVERIFY2(mismatches == 0, qPrintable(QStringLiteral("%1 pixels differ, first %2").arg(mismatches).arg(first)));
}

void tst_BmpCorpus::otherFileLoadsOrFailsCleanly_data()
{
    QTest::addColumn<QString>("bitmap");

    if (!corpus().exists())
        QSKIP("The BMP corpus is not beside the work tree");
    const QStringList others = bitmapsIn("questionable") + bitmapsIn("bad");
    QVERIFY(!others.isEmpty());
    for (const QString& bitmap : others)
        QTest::newRow(qPrintable(bitmap)) << bitmap;
}

// Either a clear error and no picture, or an opaque RGB32 picture and no error.
void tst_BmpCorpus::otherFileLoadsOrFailsCleanly()
{
    QFETCH(QString, bitmap);

    QElapsedTimer timer;
    timer.start();
    const auto read = image::readPicture(corpus().filePath(bitmap));
    QVERIFY2(timer.elapsed() < 5000, "reading took more than five seconds");

    if (!read) {
        QVERIFY2(read.error().size() > 10, qPrintable(read.error()));
        return;
    }
    QVERIFY2(read.error().isEmpty(), qPrintable(read.error()));
    QCOMPARE(read->picture.format(), QImage::Format_RGB32);
    QVERIFY(qint64(read->picture.width()) * read->picture.height() <= image::Surface::kMaxPixels);
    for (int y = 0; y < read->picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(read->picture.constScanLine(y));
        for (int x = 0; x < read->picture.width(); ++x)
            QVERIFY2(qAlpha(line[x]) == 255, "RGB32 pixels must be opaque");
    }
}

void tst_BmpCorpus::fastWayReadsAsQt_data()
{
    QTest::addColumn<QString>("bitmap");
    QTest::addColumn<bool>("mustTake"); // a plain 24-bit file of the good group

    if (!corpus().exists())
        QSKIP("The BMP corpus is not beside the work tree");
    int plainGood = 0;
    for (const QString& group : QStringList{"good", "questionable", "bad"}) {
        for (const QString& bitmap : bitmapsIn(group)) {
            const bool mustTake = group == "good" && plainTrueColour(corpus().filePath(bitmap));
            plainGood += mustTake;
            QTest::newRow(qPrintable(bitmap)) << bitmap << mustTake;
        }
    }
    QVERIFY2(plainGood > 0, "the good group has no plain 24-bit file");
}

// Where the fast way takes a file, Qt's reader must give the same picture.
void tst_BmpCorpus::fastWayReadsAsQt()
{
    QFETCH(QString, bitmap);
    QFETCH(bool, mustTake);

    QFile file(corpus().filePath(bitmap));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<QImage> fast = image::readPlainBitmap(file);
    QVERIFY2(fast || !mustTake, "the fast way declined a plain 24-bit file");
    if (!fast)
        return;
    const auto qt = image::readPictureWithQt(file);
    QVERIFY2(qt.error().isEmpty(), qPrintable(qt.error()));
    QCOMPARE(fast->format(), QImage::Format_RGB32);
    QCOMPARE(*fast, qt->picture);
    QCOMPARE(fast->dotsPerMeterX(), qt->picture.dotsPerMeterX());
    QCOMPARE(fast->dotsPerMeterY(), qt->picture.dotsPerMeterY());
}

QTEST_GUILESS_MAIN(tst_BmpCorpus)
#include "bmp_corpus_test.moc"
