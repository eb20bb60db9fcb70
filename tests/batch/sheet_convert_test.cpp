// SPDX-License-Identifier: MIT
#include "window_run.h"

#include "batch/batch_run.h"
#include "batch/sheet_convert.h"
#include "batch/sheet_frames.h"
#include "image/picture_read.h"

#include <QDir>
#include <QFile>

namespace {

const QStringList kPleaseClick{QStringLiteral("Please click on the color you would like changed!")};

QImage sheetWithColours(int width, int height)
{
    QImage sheet = patternPicture(width, height);
    for (int x = 0; x < width; x += 3)
        sheet.setPixel(x, height / 2, qRgb(0, 0, 0));
    for (int y = 0; y < height; y += 5)
        sheet.setPixel(1, y, qRgb(255, 0, 0));
    return sheet;
}

batch::Job jobFor(const QStringList& options)
{
    const batch::CommandLine line = batch::parseCommandLine(QStringList{QStringLiteral("pixmold-batch")} + options
                                                            + QStringList{"in.bmp", "-o", "out.bmp"});
    if (line.action != batch::CommandLine::Action::Run)
        qWarning("%s", qPrintable(line.text));
    return line.job;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_SheetConvert : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }
    void sameAsTheWindow_data();
    void sameAsTheWindow();
    void importFramesSameAsJoin();
    void nothingWrittenForAFailedFile_data();
    void nothingWrittenForAFailedFile();
    void unwritableOutput();
    void severalInputsOneBad();

private:
    QString path(const QString& name) const { return m_folder->filePath(name); }
    QString writeSheet(const QString& name, const QImage& sheet) const
    {
        sheet.save(path(name), "BMP");
        return path(name);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
};

void tst_SheetConvert::sameAsTheWindow_data()
{
    QTest::addColumn<QImage>("sheet");
    QTest::addColumn<QStringList>("options");

    QTest::newRow("npc, shrinking, black pass") << sheetWithColours(96, 200) << QStringList{"--npc", "2,4"};
    QTest::newRow("npc, zero rule, own cell size")
        << sheetWithColours(100, 100) << QStringList{"--sprite-size", "30.7x12.9", "--npc", "0,3"};
    QTest::newRow("negative") << sheetWithColours(200, 40) << QStringList{"--negative", "4"};
    // The last strip reaches one column past the sheet, which shows its background.
    QTest::newRow("negative, strip past the edge") << sheetWithColours(7, 5) << QStringList{"--negative", "2"};
    QTest::newRow("negative, zero rule") << sheetWithColours(10, 6) << QStringList{"--negative", "0"};
    QTest::newRow("rearrange") << sheetWithColours(24, 192) << QStringList{"--rearrange", "3,1,4,2"};
    QTest::newRow("rearrange, uncovered row") << sheetWithColours(20, 100) << QStringList{"--rearrange", "1,2,3"};
    QTest::newRow("rearrange, gap and out of range") << sheetWithColours(20, 60) << QStringList{"--rearrange", "3,,1"};
    QTest::newRow("replace") << sheetWithColours(40, 30) << QStringList{"--replace", "#ff0000:#0000ff"};
    QTest::newRow("mirror") << sheetWithColours(40, 30) << QStringList{"--mirror", "4"};
    QTest::newRow("all, in order") << sheetWithColours(96, 200)
                                   << QStringList{"--rearrange", "2,1", "--npc",     "2,4",
                                                  "--negative",  "3",   "--replace", "#141414:#ffffff"};
}

void tst_SheetConvert::sameAsTheWindow()
{
    QFETCH(QImage, sheet);
    QFETCH(QStringList, options);

    const WindowRun window = throughWindow(sheet, options);
    const bool replaces = options.contains(QStringLiteral("--replace"));
    QCOMPARE(window.messages, replaces ? kPleaseClick : QStringList());

    const QString output = path(QStringLiteral("out.bmp"));
    QStringList warnings;
    const auto converted
        = batch::convertFile(jobFor(options), writeSheet(QStringLiteral("in.bmp"), sheet), output, warnings);
    QVERIFY2(converted, qPrintable(converted.error().reason));
    const auto written = image::readPicture(output);
    QCOMPARE(written.error(), QString());
    QCOMPARE(written->picture, window.picture);
    QVERIFY(written->picture != sheet.convertToFormat(QImage::Format_RGB32));
}

// The window's Import Frames and --join make one sheet of the same frames, in natural
// name order for the window, as given for the batch.
void tst_SheetConvert::importFramesSameAsJoin()
{
    QStringList frames;
    for (const char* name : {"f1.bmp", "f2.bmp", "f10.bmp"})
        frames << writeSheet(QLatin1String(name), sheetWithColours(5, 4).mirrored(frames.size() % 2, false));
    WindowFixture f;
    f.dialogs.fileLists << QStringList{frames[2], frames[0], frames[1]};
    f.dialogs.inputs << QStringLiteral("2");
    f.trigger("mnuFileImportFrames");

    batch::Job job = jobFor({});
    job.inputs = frames;
    job.join = 2;
    job.output = path(QStringLiteral("joined.bmp"));
    QStringList warnings;
    const auto joined = batch::joinInputs(job, warnings);
    QVERIFY2(joined, qPrintable(joined.error().reason));
    QCOMPARE(warnings.size(), 1); // the short last row
    QCOMPARE(image::readPicture(job.output)->picture, toImage(f.window->workingImage()));
    QCOMPARE(f.window->workingImage().width(), 10);
}

void tst_SheetConvert::nothingWrittenForAFailedFile_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "missing.bmp" << QStringList() << "does not exist";
    QTest::newRow("a folder") << "." << QStringList() << "folder";
    QTest::newRow("text") << "text.bmp" << QStringList() << "could not be read as a picture";
    QTest::newRow("truncated bmp") << "truncated.bmp" << QStringList() << "incomplete";
    QTest::newRow("too large a count") << "good.bmp" << QStringList{"--npc", "1e9,4"} << "--npc 1e9,4: ";
    QTest::newRow("refused") << "good.bmp" << QStringList{"--negative", "21"} << "--negative 21: This sheet";
    QTest::newRow("no pixels") << "good.bmp" << QStringList{"--npc", "100000000,0.01"} << "0 x 4800000000 pixels";
}

void tst_SheetConvert::nothingWrittenForAFailedFile()
{
    QFETCH(QString, input);
    QFETCH(QStringList, options);
    QFETCH(QString, reason);

    QFile text(path(QStringLiteral("text.bmp")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("BM not a picture");
    text.close();
    const QByteArray good = contents(writeSheet(QStringLiteral("good.bmp"), patternPicture(20, 10)));
    QFile truncated(path(QStringLiteral("truncated.bmp")));
    QVERIFY(truncated.open(QIODevice::WriteOnly));
    truncated.write(good.left(good.size() - 30));
    truncated.close();

    // An earlier result stays as it was.
    const QString output = path(QStringLiteral("out.bmp"));
    QFile earlier(output);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();

    const QString inputPath = path(input);
    QStringList warnings;
    const auto converted = batch::convertFile(jobFor(options), inputPath, output, warnings);
    QVERIFY(!converted);
    QCOMPARE(converted.error().file, inputPath);
    QVERIFY2(converted.error().reason.contains(reason), qPrintable(converted.error().reason));
    QCOMPARE(contents(output), QByteArray("earlier"));
    QCOMPARE(QDir(path({})).entryList(QDir::Files).size(), 4);
}

void tst_SheetConvert::unwritableOutput()
{
    const QString input = writeSheet(QStringLiteral("in.bmp"), patternPicture(20, 10));
    const QString output = input + QStringLiteral("/out.bmp"); // under a regular file
    QStringList warnings;
    const auto converted = batch::convertFile(jobFor({"--negative", "2"}), input, output, warnings);
    QVERIFY(!converted);
    QCOMPARE(converted.error().file, output);
    QVERIFY2(converted.error().reason.contains(QLatin1String("could not be created")),
             qPrintable(converted.error().reason));
}

void tst_SheetConvert::severalInputsOneBad()
{
    batch::Job job = jobFor({"--negative", "2"});
    job.output.clear();
    job.outDir = path(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(job.outDir));
    job.inputs = QStringList{writeSheet(QStringLiteral("a.bmp"), patternPicture(20, 10)), path("missing.bmp"),
                             writeSheet(QStringLiteral("c.bmp"), patternPicture(8, 30))};

    QList<int> counts;
    const auto results = batch::runBatch(job, 2, [&](const batch::FileResult&, int done) { counts.append(done); });
    QCOMPARE(counts, (QList<int>{1, 2, 3}));
    QCOMPARE(results.size(), size_t(3));
    QVERIFY(results[0].status);
    QVERIFY(!results[1].status);
    QCOMPARE(results[1].status.error().file, job.inputs[1]);
    QVERIFY(results[2].status);

    QCOMPARE(QDir(job.outDir).entryList(QDir::Files), (QStringList{"a.bmp", "c.bmp"}));
    QCOMPARE(image::readPicture(results[2].output)->picture,
             throughWindow(patternPicture(8, 30), {"--negative", "2"}).picture);
}

QTEST_MAIN(tst_SheetConvert)
#include "sheet_convert_test.moc"
