// SPDX-License-Identifier: MIT
#include "image/bitmap_save.h"
#include "image/picture_read.h"
#include "support/hostile_pictures.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Finished {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

QImage patternPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x & 0xFF, y * 3 & 0xFF, x * y & 0xFF));
    return picture;
}

// Where the program runs short of room to write.
enum class Limit {
    None,
    FileSize, // files of at most 1000 bytes, as on a nearly full disk
    Nobody,   // run as a user who may write nowhere here (root writes anyway)
};

// "{dir}" in an argument stands for the folder's absolute path.
Finished runProgram(QStringList arguments, const QString& folder, const QByteArray& input = {},
                    Limit limit = Limit::None)
{
    arguments.replaceInStrings(QStringLiteral("{dir}"), folder);
    QProcess program;
    program.setWorkingDirectory(folder);
    program.setChildProcessModifier([limit] {
        if (limit == Limit::FileSize) {
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
            const rlimit size{1000, 1000};
            ::setrlimit(RLIMIT_FSIZE, &size);
        } else if (limit == Limit::Nobody && ::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        }
    });
    program.start(QStringLiteral(PIXMOLD_BATCH_PROGRAM), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), program.readAllStandardOutput(),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

// Every regular file under the folder (links aside), by its hash.
QHash<QString, QByteArray> hashes(const QString& folder)
{
    QHash<QString, QByteArray> found;
    QDirIterator files(folder, QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (file.open(QIODevice::ReadOnly))
            found.insert(QDir(folder).relativeFilePath(file.fileName()),
                         QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return found;
}

// The files made or changed between two looks at a folder.
QStringList changed(const QHash<QString, QByteArray>& before, const QHash<QString, QByteArray>& after)
{
    QStringList names;
    for (auto file = after.cbegin(); file != after.cend(); ++file) {
        if (before.value(file.key()) != file.value())
            names.append(file.key());
    }
    names.sort();
    return names;
}

// 3 rows x 4 columns of 24x48 cells on white, a block of its own colour inside each.
QImage gridSheet()
{
    QImage sheet(96, 144, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            for (int y = 9; y < 39; ++y)
                for (int x = 6; x < 18; ++x)
                    sheet.setPixel(column * 24 + x, row * 48 + y, qRgb(row * 80, column * 60, 200));
    return sheet;
}

QImage noiseSheet()
{
    QImage sheet(96, 144, QImage::Format_RGB32);
    QRandomGenerator random(16);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            sheet.setPixel(x, y, random.generate() | 0xFF000000);
    return sheet;
}

bool looksLike(const QByteArray& bytes, const QString& format)
{
    if (format == QLatin1String("gif"))
        return bytes.startsWith("GIF89a");
    return format == QLatin1String("png") ? bytes.startsWith("\x89PNG\r\n\x1a\n") : bytes.startsWith("BM");
}

} // namespace

class tst_CarefulProgram : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cases_data();
    void cases();
    void sameMessagesForEveryJobCount();
    void terminalOutput_data();
    void terminalOutput();
    void autoIsTheGuessedCount_data();
    void autoIsTheGuessedCount();
    void splitThenJoinIsTheSheet();
    void faultsLeaveNothing_data();
    void faultsLeaveNothing();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void tst_CarefulProgram::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    const QDir folder(m_folder->path());
    QVERIFY(patternPicture(96, 200).save(folder.filePath("a.bmp"), "BMP"));
    QVERIFY(patternPicture(100, 30).save(folder.filePath("b.bmp"), "BMP"));
    QImage clear = patternPicture(20, 10).convertToFormat(QImage::Format_ARGB32);
    clear.setPixel(3, 4, qRgba(10, 20, 30, 0));
    QVERIFY(clear.save(folder.filePath("t.png"), "PNG"));
    QVERIFY(patternPicture(20, 10).convertToFormat(QImage::Format_ARGB32).save(folder.filePath("opaque.png"), "PNG"));
    QVERIFY(gridSheet().save(folder.filePath("grid.bmp"), "BMP"));
    QVERIFY(noiseSheet().save(folder.filePath("noise.bmp"), "BMP"));
    QVERIFY(QFile::copy(folder.filePath("a.bmp"), folder.filePath("a_r01_c01.bmp"))); // a cell's name
    QVERIFY(QFile::link(folder.filePath("a.bmp"), folder.filePath("link.bmp")));
    QCOMPARE(::link(QFile::encodeName(folder.filePath("a.bmp")).constData(),
                    QFile::encodeName(folder.filePath("hard.bmp")).constData()),
             0);
    QVERIFY(folder.mkpath("sub") && folder.mkpath("done"));
    for (const auto& [name, bytes] :
         {std::pair{"cut.jpg", hostile::cutJpeg()}, std::pair{"text.png", hostile::pngWithHugeTextChunk()},
          std::pair{"game.gpl", QByteArray("GIMP Palette\n255 0 255 key\n255 255 255\n0 0 200\n")}}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    for (const char* name : {"notes.txt", "done/a.bmp"}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
}

void tst_CarefulProgram::cases_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("stdinFile"); // the file given on standard input, if any
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("saying"); // each on standard error
    QTest::addColumn<QStringList>("written");
    // bmp or png: a picture of that format on standard output; other text: that text;
    // empty: nothing.
    QTest::addColumn<QString>("stdoutText");

    const QStringList none;
    const QString no;

    // Never over an input.
    QTest::newRow("out-dir over the inputs")
        << QStringList{"--npc", "4,8", "a.bmp", "b.bmp", "--out-dir", "."} << no << 2
        << QStringList{"./a.bmp would be written over the input a.bmp"} << none << no;
    QTest::newRow("-o the input") << QStringList{"a.bmp", "-o", "a.bmp"} << no << 2
                                  << QStringList{"a.bmp would be written over the input a.bmp"} << none << no;
    QTest::newRow("-o through ..") << QStringList{"a.bmp", "-o", "sub/../a.bmp"} << no << 2
                                   << QStringList{"sub/../a.bmp would be written"} << none << no;
    QTest::newRow("-o absolute") << QStringList{"a.bmp", "-o", "{dir}/a.bmp"} << no << 2
                                 << QStringList{"/a.bmp would be"} << none << no;
    QTest::newRow("-o a link to the input")
        << QStringList{"a.bmp", "-o", "link.bmp"} << no << 2
        << QStringList{"link.bmp would be written over the input a.bmp"} << none << no;
    QTest::newRow("in place") << QStringList{"--negative", "2", "--in-place", "a.bmp", "t.png"} << no << 0
                              << QStringList{"transparency became the key colour #000000"}
                              << QStringList{"a.bmp", "t.png"} << no;
    QTest::newRow("in place and -o") << QStringList{"--in-place", "a.bmp", "-o", "c.bmp"} << no << 2
                                     << QStringList{"--in-place cannot be used together with -o"} << none << no;
    QTest::newRow("in place and out-dir") << QStringList{"--in-place", "a.bmp", "--out-dir", "d"} << no << 2
                                          << QStringList{"cannot be used together with --out-dir"} << none << no;
    QTest::newRow("in place, skip existing") << QStringList{"--in-place", "--skip-existing", "a.bmp"} << no << 2
                                             << QStringList{"--skip-existing cannot be used together"} << none << no;
    QTest::newRow("in place, a link and its file")
        << QStringList{"--negative", "2", "--in-place", "link.bmp", "a.bmp"} << no << 2
        << QStringList{"pixmold-batch: link.bmp and a.bmp are the same file.\n"} << none << no;
    QTest::newRow("in place, a hard link") << QStringList{"-j", "2", "--in-place", "a.bmp", "b.bmp", "hard.bmp"} << no
                                           << 2 << QStringList{"a.bmp and hard.bmp are the same file."} << none << no;
    QTest::newRow("in place, not a picture name")
        << QStringList{"--in-place", "a.bmp", "notes.txt"} << no << 2
        << QStringList{"--in-place notes.txt: Give a name ending in .bmp or .png"} << none << no;

    // Strict answers, once, before any file is read.
    for (const char* order : {"abc", "3x", "1e999", "1;2", "2, ,1"})
        QTest::newRow(qPrintable(QStringLiteral("rearrange %1").arg(order)))
            << QStringList{"--rearrange", order, "a.bmp", "-o", "c.bmp"} << no << 2
            << QStringList{"is not a whole row number"} << none << no;
    QTest::newRow("rearrange -3") << QStringList{"--rearrange", "-3", "a.bmp", "-o", "c.bmp"} << no << 0
                                  << QStringList{"a.bmp: warning: --rearrange -3: -3 names no row of the 1"}
                                  << QStringList{"c.bmp"} << no;
    QTest::newRow("rearrange 5,9")
        << QStringList{"--rearrange", "5,9", "a.bmp", "-o", "c.bmp"} << no << 0
        << QStringList{"5, 9 name no row of the 2 the sheet is cut into; their bands are black"} << QStringList{"c.bmp"}
        << no;
    QTest::newRow("negative abc") << QStringList{"--negative", "abc", "a.bmp", "b.bmp", "--out-dir", "d"} << no << 2
                                  << QStringList{"--negative abc: The column count 'abc' is not a number."} << none
                                  << no;
    QTest::newRow("negative ,,,") << QStringList{"--negative", ",,,", "a.bmp", "-o", "c.bmp"} << no << 2
                                  << QStringList{"is not a number"} << none << no;
    QTest::newRow("negative 3x") << QStringList{"--negative", "3x", "a.bmp", "b.bmp", "--out-dir", "d"} << no << 2
                                 << QStringList{"'3x' is not a number"} << none << no;
    QTest::newRow("negative -3") << QStringList{"--negative", "-3", "a.bmp", "-o", "c.bmp"} << no << 2
                                 << QStringList{"'-3' is negative"} << none << no;
    QTest::newRow("npc, sprite count") << QStringList{"--npc", "4x,8", "a.bmp", "-o", "c.bmp"} << no << 2
                                       << QStringList{"--npc 4x,8: The sprite count '4x' is not a number."} << none
                                       << no;
    QTest::newRow("npc, 0 counts as 1") << QStringList{"--npc", "0,0", "a.bmp", "-o", "c.bmp"} << no << 0 << none
                                        << QStringList{"c.bmp"} << no;
    QTest::newRow("sprite size alone") << QStringList{"--sprite-size", "20x20", "a.bmp", "-o", "c.bmp"} << no << 2
                                       << QStringList{"--sprite-size is the cell size of --npc"} << none << no;
    QTest::newRow("jobs 0") << QStringList{"-j", "0", "a.bmp", "-o", "c.bmp"} << no << 2 << QStringList{"--jobs 0"}
                            << none << no;

    // Per-file warnings, which leave the exit status alone.
    QTest::newRow("columns do not divide") << QStringList{"--npc", "3,7", "b.bmp", "-o", "c.bmp"} << no << 0
                                           << QStringList{"7 columns do not divide the width of 100 pixels evenly "
                                                          "(2 pixels are left over)"}
                                           << QStringList{"c.bmp"} << no;
    QTest::newRow("one pixel over") << QStringList{"--negative", "3", "b.bmp", "-o", "c.bmp"} << no << 0
                                    << QStringList{"(1 pixel is left over)"} << QStringList{"c.bmp"} << no;
    QTest::newRow("quiet") << QStringList{"-q", "--negative", "3", "b.bmp", "t.png", "--out-dir", "d"} << no << 0
                           << none << QStringList{"d/b.bmp", "d/t.bmp"} << no;

    QTest::newRow("alpha, all opaque") << QStringList{"opaque.png", "-o", "c.bmp"} << no << 0 << none
                                       << QStringList{"c.bmp"} << no;

    // Formats follow the names.
    QTest::newRow("-o png") << QStringList{"a.bmp", "-o", "c.png"} << no << 0 << none << QStringList{"c.png"} << no;
    QTest::newRow("-o PNG, any case") << QStringList{"a.bmp", "-o", "c.PNG"} << no << 0 << none << QStringList{"c.PNG"}
                                      << no;
    QTest::newRow("out-dir png") << QStringList{"--format", "png", "a.bmp", "t.png", "--out-dir", "d"} << no << 0
                                 << QStringList{"t.png: warning: The picture's transparency"}
                                 << QStringList{"d/a.png", "d/t.png"} << no;
    QTest::newRow("-o gif") << QStringList{"a.bmp", "-o", "c.gif"} << no << 2
                            << QStringList{"-o c.gif: Give a name ending in .bmp or .png"} << none << no;
    QTest::newRow("-o without suffix") << QStringList{"a.bmp", "-o", "c"} << no << 2 << QStringList{".bmp or .png"}
                                       << none << no;
    QTest::newRow("format against -o") << QStringList{"--format", "png", "a.bmp", "-o", "c.bmp"} << no << 2
                                       << QStringList{"--format png disagrees with c.bmp"} << none << no;
    QTest::newRow("format unknown") << QStringList{"--format", "gif", "a.bmp", "--out-dir", "d"} << no << 2
                                    << QStringList{"--format gif: Give bmp, bmp8 or png."} << none << no;

    // The key colour: transparency in, the background keyed, 8-bit files out.
    QTest::newRow("transparency keyed")
        << QStringList{"--key", "#ff00ff", "t.png", "-o", "c.bmp"} << no << 0
        << QStringList{"t.png: warning: The picture's transparency became the key colour #ff00ff: 1 pixel less "
                       "opaque than 128 took it.\n"}
        << QStringList{"c.bmp"} << no;
    QTest::newRow("key out the background")
        << QStringList{"--key-out-background", "--tolerance", "4", "grid.bmp", "--out-dir", "d"} << no << 0 << none
        << QStringList{"d/grid.bmp"} << no;
    QTest::newRow("8-bit, too many colours")
        << QStringList{"--format", "bmp8", "noise.bmp", "grid.bmp", "--out-dir", "d"} << no << 1
        << QStringList{"pixmold-batch: d/noise.bmp: The picture has ", "--palette"} << QStringList{"d/grid.bmp"} << no;
    QTest::newRow("8-bit with a palette")
        << QStringList{"--format", "bmp8", "--palette", "game.gpl", "grid.bmp", "-o", "c.bmp"} << no << 0
        << QStringList{"grid.bmp: warning: 3960 pixels took the nearest colour of the palette, which lacks theirs.\n"}
        << QStringList{"c.bmp"} << no;
    QTest::newRow("8-bit to standard output")
        << QStringList{"--format", "bmp8", "-", "-o", "-"} << "grid.bmp" << 0 << none << none << "bmp";

    // A folder no file can go to is told once, before any input is read.
    QTest::newRow("out-dir a file") << QStringList{"a.bmp", "--out-dir", "notes.txt"} << no << 1
                                    << QStringList{"pixmold-batch: notes.txt: The folder could not be created: Not a "
                                                   "directory.\n"}
                                    << none << no;
    QTest::newRow("out-dir under a file") << QStringList{"a.bmp", "--out-dir", "notes.txt/d"} << no << 1
                                          << QStringList{"notes.txt/d: The folder could not be created: Not a "
                                                         "directory."}
                                          << none << no;
    QTest::newRow("out-dir not writable")
        << QStringList{"a.bmp", "missing.bmp", "--out-dir", "/proc/self"} << no << 1
        << QStringList{"pixmold-batch: /proc/self: No file can be written in this folder: "} << none << no;

    // Standard streams.
    QTest::newRow("stdin to stdout") << QStringList{"--negative", "2", "-", "-o", "-"} << "a.bmp" << 0 << none << none
                                     << "bmp";
    QTest::newRow("stdin to stdout, png")
        << QStringList{"--format", "png", "-", "-o", "-"} << "t.png" << 0
        << QStringList{"standard input: warning: The picture's transparency"} << none << "png";
    QTest::newRow("stdin to a file") << QStringList{"-", "-o", "c.png"} << "b.bmp" << 0 << none << QStringList{"c.png"}
                                     << no;
    QTest::newRow("stdin, not a picture")
        << QStringList{"-", "-o", "-"} << "notes.txt" << 1
        << QStringList{"standard input: Not a picture: its first bytes start no format Pixmold reads."} << none << no;
    QTest::newRow("stdin, damaged JPEG")
        << QStringList{"--detect", "-"} << "cut.jpg" << 0
        << QStringList{"standard input: warning: The picture was read, but its file is damaged: Corrupt JPEG data"}
        << none << "-: no guess\n";
    QTest::newRow("stdout, refused step") << QStringList{"--negative", "500", "a.bmp", "-o", "-"} << no << 1
                                          << QStringList{"a.bmp: --negative 500:"} << none << no;
    QTest::newRow("stdin needs -o") << QStringList{"-", "--out-dir", "d"} << "a.bmp" << 2
                                    << QStringList{"Standard input (-) needs -o OUTPUT."} << none << no;
    QTest::newRow("stdin among others") << QStringList{"-", "a.bmp", "--out-dir", "d"} << "a.bmp" << 2
                                        << QStringList{"must be the only input"} << none << no;

    // The guessed grid.
    const QString detected = QStringLiteral("grid.bmp: 3x4\n");
    QTest::newRow("detect, input order") << QStringList{"--detect", "-j",    "3",       "noise.bmp",
                                                        "grid.bmp", "a.bmp", "grid.bmp"}
                                         << no << 0 << none << none
                                         << "noise.bmp: no guess\n" + detected + "a.bmp: no guess\n" + detected;
    QTest::newRow("detect, unreadable") << QStringList{"--detect", "notes.txt", "grid.bmp", "missing.bmp"} << no << 1
                                        << QStringList{"pixmold-batch: notes.txt: ", "pixmold-batch: missing.bmp: "}
                                        << none << detected;
    QTest::newRow("detect, damaged JPEG")
        << QStringList{"--detect", "cut.jpg"} << no << 0
        << QStringList{"pixmold-batch: cut.jpg: warning: The picture was read, but its file is damaged: Corrupt JPEG"}
        << none << "cut.jpg: no guess\n";
    QTest::newRow("detect, chunk longer than the file")
        << QStringList{"--detect", "text.png"} << no << 1
        << QStringList{"pixmold-batch: text.png: The file is damaged or incomplete: its tEXt chunk declares"} << none
        << no;
    QTest::newRow("detect stdin") << QStringList{"--detect", "-"} << "grid.bmp" << 0 << none << none << "-: 3x4\n";
    for (const QStringList& other : QList<QStringList>{{"--npc", "auto"},
                                                       {"--gif", "1"},
                                                       {"-o", "c.bmp"},
                                                       {"--out-dir", "d"},
                                                       {"--in-place"},
                                                       {"--format", "png"},
                                                       {"--skip-existing"}})
        QTest::newRow(qPrintable("detect with " + other[0]))
            << QStringList{"--detect", "grid.bmp"} + other << no << 2
            << QStringList{"--detect only prints each input's grid and writes no file; it cannot be used together with "
                           + other[0]}
            << none << no;
    QTest::newRow("npc auto, no guess") << QStringList{"--npc", "auto", "noise.bmp", "grid.bmp", "--out-dir", "d"} << no
                                        << 1
                                        << QStringList{"pixmold-batch: noise.bmp: --npc auto: No grid could be guessed "
                                                       "for this sheet; give both counts instead of auto.\n"}
                                        << QStringList{"d/grid.bmp"} << no;
    // The negative's black strips leave no background that three corners share.
    QTest::newRow("auto after a step") << QStringList{"--negative", "4",  "--negative", "Auto",
                                                      "grid.bmp",   "-o", "c.bmp"}
                                       << no << 1
                                       << QStringList{"grid.bmp: --negative Auto: No grid could be guessed for this "
                                                      "sheet; give the column count instead of auto."}
                                       << none << no;
    QTest::newRow("npc auto, sprite count given")
        << QStringList{"--npc", "5,auto", "grid.bmp", "-o", "c.bmp"} << no << 0
        << QStringList{"--npc 5,auto: 5 rows do not divide the height"} << QStringList{"c.bmp"} << no;

    // One row as a GIF, cut by the grid in force: the steps', else --grid's, else the guess.
    QTest::newRow("gif, no grid") << QStringList{"--gif=1",   "--fps=60", "--ping-pong", "noise.bmp", "grid.bmp",
                                                 "--out-dir", "d"}
                                  << no << 1 << QStringList{"noise.bmp: --gif 1: The sheet has no grid"}
                                  << QStringList{"d/grid.gif"} << no;
    QTest::newRow("gif, a step's columns, --grid's rows")
        << QStringList{"--negative", "2", "--grid", "2x9", "--gif", "2", "grid.bmp", "-o", "c.gif"} << no << 0 << none
        << QStringList{"c.gif"} << no;
    QTest::newRow("gif, row beyond the grid")
        << QStringList{"--gif", "4", "grid.bmp", "-o", "c.gif"} << no << 1
        << QStringList{"grid.bmp: --gif 4: The sheet's grid has 3 rows."} << none << no;
    QTest::newRow("gif, too many colours")
        << QStringList{"--grid", "1x2", "--gif", "1", "noise.bmp", "-o", "c.gif"} << no << 1
        << QStringList{"noise.bmp: --gif 1: The row has 13820 colours"} << none << no;
    QTest::newRow("gif to stdout") << QStringList{"--gif", "1", "-", "-o", "-"} << "grid.bmp" << 0 << none << none
                                   << "gif";
    // Mirror, join and split.
    QTest::newRow("mirror, not dividing") << QStringList{"--mirror", "5", "a.bmp", "b.bmp", "--out-dir", "d"} << no << 1
                                          << QStringList{"pixmold-batch: a.bmp: --mirror 5: The number of animation "
                                                         "columns must be a whole number that divides the sheet's "
                                                         "width of 96 pixels.\n"}
                                          << QStringList{"d/b.bmp"} << no;
    QTest::newRow("join, short row keyed")
        << QStringList{"--join", "3", "grid.bmp", "grid.bmp", "grid.bmp", "grid.bmp", "-o", "j.png"} << no << 0
        << QStringList{"pixmold-batch: grid.bmp: warning: --join 3: The last row has empty cells (2 of 3); they are "
                       "filled with the key colour.\n"}
        << QStringList{"j.png"} << no;
    QTest::newRow("join, a size differs")
        << QStringList{"--join", "2", "a.bmp", "hard.bmp", "b.bmp", "-o", "j.png"} << no << 2
        << QStringList{"--join: b.bmp: It is 100 x 30 pixels"} << none << no;
    QTest::newRow("join, an input missing") << QStringList{"--join", "2", "a.bmp", "missing.bmp", "-o", "j.png"} << no
                                            << 1 << QStringList{"pixmold-batch: missing.bmp: "} << none << no;
    QTest::newRow("join over an input") << QStringList{"--join", "1", "a.bmp", "link.bmp", "-o", "hard.bmp"} << no << 2
                                        << QStringList{"hard.bmp would be written over the input"} << none << no;
    QTest::newRow("join 1 stacks, to standard output")
        << QStringList{"--join", "1", "--mirror", "4", "grid.bmp", "grid.bmp", "-o", "-"} << no << 0 << none << none
        << "bmp";
    QTest::newRow("join, too large") << QStringList{"--join", "200000", "a.bmp", "-o", "j.png"} << no << 2
                                     << QStringList{"--join 200000: The joined sheet would be"} << none << no;
    QTest::newRow("split, after a step") << QStringList{"--negative", "1", "--split", "auto", "b.bmp", "--out-dir", "d"}
                                         << no << 0 << none << QStringList{"d/b_r01_c01.bmp", "d/b_r01_c02.bmp"} << no;
    QTest::newRow("split, not dividing") << QStringList{"--split", "7x4", "grid.bmp", "a.bmp", "--out-dir", "d"} << no
                                         << 1
                                         << QStringList{"pixmold-batch: grid.bmp: --split 7x4: 7 rows of 4 columns do "
                                                        "not divide the 96 x 144 pixel sheet into equal cells.\n",
                                                        "pixmold-batch: a.bmp: --split 7x4: 7 rows of 4 columns"}
                                         << none << no;
    QTest::newRow("split auto, no guess")
        << QStringList{"--split", "auto", "noise.bmp", "--out-dir", "d"} << no << 1
        << QStringList{"noise.bmp: --split auto: No grid could be guessed"} << none << no;
    QTest::newRow("split over an input") << QStringList{"--split", "1x1", "a.bmp", "a_r01_c01.bmp", "--out-dir", "."}
                                         << no << 2
                                         << QStringList{"./a_r01_c01.bmp would be written over the input "
                                                        "a_r01_c01.bmp"}
                                         << none << no;
    QTest::newRow("split auto over an input")
        << QStringList{"--split", "auto", "--grid", "1x1", "a.bmp", "a_r01_c01.bmp", "--out-dir", "."} << no << 1
        << QStringList{"pixmold-batch: a.bmp: ./a_r01_c01.bmp would be written over the input"}
        << QStringList{"a_r01_c01_r01_c01.bmp"} << no;

    // Stopping and starting again.
    QTest::newRow("skip existing") << QStringList{"--skip-existing", "a.bmp", "b.bmp", "--out-dir", "done"} << no << 0
                                   << none << QStringList{"done/b.bmp"} << no;
}

void tst_CarefulProgram::cases()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, stdinFile);
    QFETCH(int, exitCode);
    QFETCH(QStringList, saying);
    QFETCH(QStringList, written);
    QFETCH(QString, stdoutText);

    QByteArray input;
    if (!stdinFile.isEmpty()) {
        QFile file(m_folder->filePath(stdinFile));
        QVERIFY(file.open(QIODevice::ReadOnly));
        input = file.readAll();
    }
    const auto before = hashes(m_folder->path());
    const Finished run = runProgram(arguments, m_folder->path(), input);
    QCOMPARE(run.exitCode, exitCode);
    for (const QString& text : saying)
        QVERIFY2(run.err.contains(text), qPrintable(run.err));
    // Only Pixmold speaks: no decoder's line of its own.
    for (const QString& line : run.err.split(u'\n', Qt::SkipEmptyParts))
        QVERIFY2(line.startsWith(QLatin1String("pixmold-batch: "))
                     || line.startsWith(QLatin1String("Run 'pixmold-batch")),
                 qPrintable(run.err));
    if (saying.isEmpty())
        QCOMPARE(run.err, QString());
    if (exitCode == 2)
        QVERIFY(run.err.endsWith(QLatin1String("Run 'pixmold-batch --help' for the options.\n")));

    QCOMPARE(changed(before, hashes(m_folder->path())), written);
    for (const QString& name : written) {
        QFile file(m_folder->filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(looksLike(file.read(8), QFileInfo(name).suffix().toLower()), qPrintable(name));
    }
    if (!QStringList{"bmp", "png", "gif"}.contains(stdoutText)) {
        QCOMPARE(QString::fromLocal8Bit(run.out), stdoutText);
    } else {
        QVERIFY(looksLike(run.out, stdoutText));
        QBuffer result(const_cast<QByteArray*>(&run.out));
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(image::readPicture(result).error(), QString());
    }
}

void tst_CarefulProgram::sameMessagesForEveryJobCount()
{
    const QStringList arguments{"--negative", "3", "b.bmp", "missing.bmp", "a.bmp", "t.png", "notes.txt", "sub"};
    QList<Finished> runs;
    QList<QHash<QString, QByteArray>> results;
    for (const char* jobs : {"1", "2", "5"}) {
        const QString folder = QStringLiteral("out%1").arg(jobs);
        runs.append(runProgram(arguments + QStringList{"-j", jobs, "--out-dir", folder}, m_folder->path()));
        results.append(hashes(m_folder->filePath(folder)));
    }
    QCOMPARE(runs[0].exitCode, 1);
    const QStringList lines = runs[0].err.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 7);
    QVERIFY(lines[0].startsWith(QLatin1String("pixmold-batch: b.bmp: warning: --negative 3")));
    QVERIFY(lines[1].startsWith(QLatin1String("pixmold-batch: missing.bmp: ")));
    QVERIFY(lines[2].startsWith(QLatin1String("pixmold-batch: t.png: warning: The picture's transparency")));
    // Its top-left pixel is opaque black, the key's colour.
    QCOMPARE(lines[3],
             QStringLiteral("pixmold-batch: t.png: warning: Opaque pixels already of the key colour "
                            "#000000: 1; the engine will show them as transparent too."));
    QVERIFY(lines[4].startsWith(QLatin1String("pixmold-batch: t.png: warning: --negative 3")));
    QVERIFY(lines[5].startsWith(QLatin1String("pixmold-batch: notes.txt: ")));
    QVERIFY(lines[6].startsWith(QLatin1String("pixmold-batch: sub: ")));
    QCOMPARE(results[0].keys().size(), 3);
    for (qsizetype i = 1; i < runs.size(); ++i) {
        QCOMPARE(runs[i].exitCode, runs[0].exitCode);
        QCOMPARE(runs[i].err, runs[0].err);
        QCOMPARE(results[i], results[0]);
    }
}

void tst_CarefulProgram::terminalOutput_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("-o -") << QStringList{"a.bmp", "-o", "-"};
    QTest::newRow("skip existing, -o -") << QStringList{"--skip-existing", "a.bmp", "-o", "-"};
}

// The program runs on a pseudo-terminal of script(1), which gives back its status.
void tst_CarefulProgram::terminalOutput()
{
    QFETCH(QStringList, arguments);

    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        QSKIP("script(1) is not installed");
    QString command = QStringLiteral("'%1'").arg(PIXMOLD_BATCH_PROGRAM);
    for (const QString& argument : arguments)
        command += QStringLiteral(" '%1'").arg(argument);
    QProcess terminal;
    terminal.setWorkingDirectory(m_folder->path());
    terminal.start(script, {"-qec", command, "/dev/null"});
    terminal.closeWriteChannel();
    QVERIFY(terminal.waitForFinished(60000));
    const QByteArray shown = terminal.readAllStandardOutput();
    QCOMPARE(terminal.exitCode(), 2);
    QVERIFY2(shown.contains("-o -: Standard output is a terminal"), shown.constData());
    QVERIFY(!shown.contains("BM"));
}

void tst_CarefulProgram::autoIsTheGuessedCount_data()
{
    QTest::addColumn<QStringList>("guessed");
    QTest::addColumn<QStringList>("given");

    QTest::newRow("npc") << QStringList{"--npc", "auto"} << QStringList{"--npc", "3,4"};
    QTest::newRow("npc, columns given") << QStringList{"--npc", " AUTO ,8"} << QStringList{"--npc", "3,8"};
    QTest::newRow("negative") << QStringList{"--negative", "auto"} << QStringList{"--negative", "4"};
    QTest::newRow("mirror") << QStringList{"--mirror", "auto"} << QStringList{"--mirror", "4"};
    // The negative's guess is made on the smaller sheet the NPC conversion leaves.
    QTest::newRow("each step's own sheet")
        << QStringList{"--sprite-size", "12x24", "--npc", "auto", "--negative", "auto"}
        << QStringList{"--sprite-size", "12x24", "--npc", "3,4", "--negative", "4"};
}

void tst_CarefulProgram::autoIsTheGuessedCount()
{
    QFETCH(QStringList, guessed);
    QFETCH(QStringList, given);
    const QStringList toStdout{"grid.bmp", "-o", "-"};
    const Finished fromGuess = runProgram(guessed + toStdout, m_folder->path());
    const Finished asGiven = runProgram(given + toStdout, m_folder->path());
    QCOMPARE(fromGuess.exitCode, 0);
    QCOMPARE(fromGuess.err, asGiven.err);
    QVERIFY(looksLike(fromGuess.out, "bmp"));
    QCOMPARE(fromGuess.out, asGiven.out);
}

void tst_CarefulProgram::splitThenJoinIsTheSheet()
{
    const QString folder = m_folder->path();
    QCOMPARE(runProgram({"--split", "auto", "grid.bmp", "--out-dir", "cells", "--format", "png"}, folder).exitCode, 0);
    QStringList cells = QDir(m_folder->filePath("cells")).entryList({"*.png"}, QDir::Files, QDir::Name);
    QCOMPARE(cells.size(), 12);
    cells.replaceInStrings(QRegularExpression("^"), QStringLiteral("cells/"));
    QCOMPARE(runProgram(QStringList{"--join", "4"} + cells + QStringList{"-o", "back.bmp"}, folder).exitCode, 0);
    QCOMPARE(image::readPicture(m_folder->filePath("back.bmp"))->picture,
             image::readPicture(m_folder->filePath("grid.bmp"))->picture);
}

void tst_CarefulProgram::faultsLeaveNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("saying");

    const QStringList split{"--split", "3x4", "grid.bmp", "--out-dir", "d"};
    QTest::newRow("split, disk full") << split << int(Limit::FileSize)
                                      << "d/grid_r01_c01.bmp: The picture could not be written: ";
    // The sixth cell's name is taken by a folder: the five before it are removed.
    QTest::newRow("split, a cell not written")
        << split << int(Limit::None) << "d/grid_r02_c02.bmp: The file could not be created: ";
    QTest::newRow("split, read-only folder") << split << int(Limit::Nobody) << "d: ";
    QTest::newRow("join, disk full") << QStringList{"--join", "2", "grid.bmp", "grid.bmp", "-o", "d/j.bmp"}
                                     << int(Limit::FileSize) << "d/j.bmp: The picture could not be written: ";
    QTest::newRow("join, read-only folder") << QStringList{"--join", "2", "grid.bmp", "grid.bmp", "-o", "d/j.bmp"}
                                            << int(Limit::Nobody) << "d/j.bmp: The file could not be created: ";
}

// Nothing is left of a result that could not be written whole, and the system's reason
// is given.
void tst_CarefulProgram::faultsLeaveNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, limit);
    QFETCH(QString, saying);
    const QDir folder(m_folder->path());
    QVERIFY(folder.mkpath("d/grid_r02_c02.bmp"));
    const auto everyone
        = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    if (Limit(limit) == Limit::Nobody) {
        // Inputs anyone may read, in a folder no one but root may write.
        QVERIFY(QFile::setPermissions(folder.path(), everyone | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(folder.filePath("d"), everyone));
    }
    const auto restore
        = qScopeGuard([&] { QFile::setPermissions(folder.filePath("d"), everyone | QFile::WriteOwner); });

    const auto before = hashes(folder.path());
    const Finished run = runProgram(arguments, folder.path(), {}, Limit(limit));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(saying), qPrintable(run.err));
    const QString reason = run.err.mid(run.err.indexOf(saying) + saying.size()).trimmed();
    QVERIFY2(!reason.isEmpty() && reason != "Unknown error", qPrintable(run.err));
    QCOMPARE(changed(before, hashes(folder.path())), QStringList());
    QCOMPARE(folder.entryList({"*.bmp"}, QDir::Files),
             (QStringList{"a.bmp", "a_r01_c01.bmp", "b.bmp", "grid.bmp", "hard.bmp", "link.bmp", "noise.bmp"}));
}

QTEST_GUILESS_MAIN(tst_CarefulProgram)
#include "careful_program_test.moc"
