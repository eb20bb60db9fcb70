// SPDX-License-Identifier: MIT
#include "operations/frame_files.h"
#include "image/picture_format.h"
#include "image/pixel_text.h"
#include "sheet_fixtures.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const image::Colour kKey = pixel_text::colourOf(u'K');

// Frame files in order, each NAME=PICTURE written from a text picture; a NAME alone is
// a file that is not there.
struct Frames {
    QTemporaryDir dir;
    QStringList files;

    explicit Frames(const QStringList& pictures)
    {
        for (const QString& named : pictures) {
            const QString name = named.section(u'=', 0, 0);
            files << dir.filePath(name);
            if (named.contains(u'=')
                && !image::writePicture(pixel_text::surface(named.section(u'=', 1)), files.last(),
                                        *image::formatForName(name)))
                files.last().clear(); // a frame that cannot be made fails its test by name
        }
    }
};

} // namespace

class tst_FrameFiles : public QObject {
    Q_OBJECT

private slots:
    void sizes_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QSize>("size");      // invalid: refused
        QTest::addColumn<int>("refusedFile"); // the file named
        QTest::addColumn<bool>("differs");

        QTest::newRow("same") << QStringList{"1.bmp=ab|cd", "2.png=ef|gh"} << QSize(2, 2) << -1 << false;
        QTest::newRow("one") << QStringList{"1.bmp=abc"} << QSize(3, 1) << -1 << false;
        QTest::newRow("second wider") << QStringList{"1.bmp=ab", "2.bmp=abc", "3.bmp=ab"} << QSize() << 1 << true;
        QTest::newRow("third taller") << QStringList{"1.png=ab", "2.png=cd", "3.png=ab|cd"} << QSize() << 2 << true;
        QTest::newRow("missing") << QStringList{"1.bmp=ab", "gone.bmp"} << QSize() << 1 << false;
    }

    void sizes()
    {
        QFETCH(QStringList, frames);
        QFETCH(QSize, size);
        QFETCH(int, refusedFile);
        QFETCH(bool, differs);
        const Frames made(frames);
        const auto common = ops::commonFrameSize(made.files);
        if (size.isValid()) {
            QCOMPARE(*common, size);
            return;
        }
        QVERIFY(!common);
        const ops::FrameFileError& error = common.error();
        QCOMPARE(error.file, made.files[refusedFile]);
        QCOMPARE(error.sizeDiffers, differs);
        QVERIFY(!error.reason.isEmpty());
    }

    void joinsInOrder()
    {
        const Frames made({"c.bmp=ab|cd", "a.png=ef|gh", "b.bmp=ij|kl"});
        const auto layout = *ops::frameLayout(3, 2, *ops::commonFrameSize(made.files));
        image::Surface sheet(image::rgb(1, 2, 3));
        RecordingProgress progress;
        const auto joined = ops::joinFrameFiles(
            made.files, layout, kKey, [](const QString& file) { return image::readPicture(file); }, sheet, progress);
        QVERIFY2(joined, qPrintable(joined.error().reason));
        QCOMPARE(pixel_text::text(sheet), QStringLiteral("abef|cdgh|ijKK|klKK"));
        QCOMPARE(sheet.background(), image::rgb(1, 2, 3));
        QCOMPARE(progress.milestones, QList<int>({0, 33, 66, 100}));
    }

    void failedFrameLeavesTheSheet_data()
    {
        QTest::addColumn<QSize>("decoded"); // what the second file decodes to; invalid: an error
        QTest::newRow("unreadable") << QSize();
        QTest::newRow("not the header's size") << QSize(3, 2);
    }

    void failedFrameLeavesTheSheet()
    {
        QFETCH(QSize, decoded);
        const Frames made({"1.bmp=ab|cd", "2.bmp=ef|gh"});
        const auto layout = *ops::frameLayout(2, 2, QSize(2, 2));
        const auto read = [&](const QString& file) -> Result<image::PictureRead> {
            if (file != made.files[1])
                return image::readPicture(file);
            if (!decoded.isValid())
                return Failure{QStringLiteral("broken")};
            image::PictureRead broken;
            broken.picture = image::Surface(image::rgb(0, 0, 0), decoded.width(), decoded.height()).picture();
            return broken;
        };
        SheetRun run{pixel_text::surface("xyz")};
        const auto joined = ops::joinFrameFiles(made.files, layout, kKey, read, run.work, run.progress);
        QVERIFY(!joined);
        QCOMPARE(joined.error().file, made.files[1]);
        QVERIFY(!joined.error().sizeDiffers);
        QCOMPARE(pixel_text::text(run.work), QStringLiteral("xyz"));
    }
};

QTEST_GUILESS_MAIN(tst_FrameFiles)
#include "frame_files_test.moc"
