// SPDX-License-Identifier: MIT
#include "window_run.h"

#include "image/picture_read.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

Finished runProgram(const QStringList& arguments, const QString& folder)
{
    QProcess program;
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(PIXMOLD_BATCH_PROGRAM), arguments);
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

} // namespace

class tst_BatchProgram : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        patternPicture(96, 200).save(m_folder->filePath(QStringLiteral("a.bmp")), "BMP");
    }
    void sameAsTheWindow();
    void usageErrors_data();
    void usageErrors();
    void helpAndVersion();
    void severalInputsOneBad();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void tst_BatchProgram::sameAsTheWindow()
{
    const QStringList options{"--negative", "3", "--sprite-size", "20x30", "--npc", "2,6", "--rearrange", "2,1"};
    const Finished run = runProgram(options + QStringList{"a.bmp", "-o", "out.bmp"}, m_folder->path());
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);

    const WindowRun window = throughWindow(patternPicture(96, 200), options);
    QCOMPARE(window.messages, QStringList());
    const QImage written = image::readPicture(m_folder->filePath(QStringLiteral("out.bmp")))->picture;
    QCOMPARE(written.size(), QSize(120, 60));
    QCOMPARE(written, window.picture);
}

void tst_BatchProgram::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("no inputs") << QStringList{"--negative", "2", "-o", "out.bmp"};
    QTest::newRow("no output") << QStringList{"--negative", "2", "a.bmp"};
    QTest::newRow("-o with 2 inputs") << QStringList{"a.bmp", "a.bmp", "-o", "out.bmp"};
    QTest::newRow("bad --replace") << QStringList{"--replace", "#ff0000", "a.bmp", "-o", "out.bmp"};
    QTest::newRow("bad --sprite-size") << QStringList{"--sprite-size", "24", "a.bmp", "-o", "out.bmp"};
    QTest::newRow("unknown option") << QStringList{"--colour", "a.bmp", "-o", "out.bmp"};
}

void tst_BatchProgram::usageErrors()
{
    QFETCH(QStringList, arguments);
    const Finished run = runProgram(arguments, m_folder->path());
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith(QLatin1String("pixmold-batch: ")), qPrintable(run.err));
    QVERIFY(run.err.endsWith(QLatin1String("Run 'pixmold-batch --help' for the options.\n")));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList{"a.bmp"});
}

void tst_BatchProgram::helpAndVersion()
{
    const Finished help = runProgram({"--help"}, m_folder->path());
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith(QLatin1String("Usage: pixmold-batch")));
    const Finished version = runProgram({"--version"}, m_folder->path());
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith(QLatin1String("pixmold-batch ")));
}

void tst_BatchProgram::severalInputsOneBad()
{
    patternPicture(30, 10).save(m_folder->filePath(QStringLiteral("c.png")), "PNG");
    QFile bad(m_folder->filePath(QStringLiteral("b.bmp")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();

    // The folder is made; stderr is no terminal, so it holds the one error and no progress.
    const Finished run
        = runProgram({"--negative", "2", "a.bmp", "b.bmp", "c.png", "--out-dir", "out/new"}, m_folder->path());
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.startsWith(QLatin1String("pixmold-batch: b.bmp: The file could not be read as a picture")),
             qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
    QCOMPARE(QDir(m_folder->filePath(QStringLiteral("out/new"))).entryList(QDir::Files),
             (QStringList{"a.bmp", "c.bmp"}));
    QCOMPARE(image::readPicture(m_folder->filePath(QStringLiteral("out/new/c.bmp")))->picture.width(), 60);

    const Finished good = runProgram({"a.bmp", "c.png", "--out-dir", "out/new"}, m_folder->path());
    QCOMPARE(good.exitCode, 0);
    QCOMPARE(good.err, QString());
}

QTEST_MAIN(tst_BatchProgram)
#include "batch_program_test.moc"
