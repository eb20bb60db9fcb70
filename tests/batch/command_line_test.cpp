// SPDX-License-Identifier: MIT
#include "batch/batch_job.h"
#include "support/colour_text.h"

#include <QTemporaryDir>
#include <QtTest>

using batch::CommandLine;
using batch::parseCommandLine;

namespace {

CommandLine parse(const QStringList& arguments)
{
    return parseCommandLine(QStringList{QStringLiteral("pixmold-batch")} + arguments);
}

QStringList optionsOf(const batch::Job& job)
{
    QStringList options;
    for (const batch::Step& step : job.steps)
        options.append(step.option);
    return options;
}

} // namespace

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void usageErrors_data();
    void usageErrors();
    void operationsKeepTheirOrder_data();
    void operationsKeepTheirOrder();
    void answersReadAsTheWindowReadsThem();
    void colours_data();
    void colours();
    void outputNames();
    void keySettings();
    void helpAndVersion();
};

void tst_CommandLine::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("saying");

    const QString out = QStringLiteral("--out-dir=out");
    QTest::newRow("no inputs") << QStringList{out} << "No input files";
    QTest::newRow("no output") << QStringList{"a.bmp"} << "Say where to write";
    QTest::newRow("-o and --out-dir") << QStringList{"a.bmp", "-o", "b.bmp", out} << "cannot be used together";
    QTest::newRow("-o with 2 inputs") << QStringList{"a.bmp", "c.bmp", "-o", "b.bmp"} << "-o takes one input";
    QTest::newRow("-o twice") << QStringList{"a.bmp", "-o", "b.bmp", "-o", "c.bmp"} << "more than once";
    QTest::newRow("unknown option") << QStringList{"a.bmp", out, "--negatve", "2"} << "Unknown option";
    QTest::newRow("missing value") << QStringList{"a.bmp", out, "--negative"} << "Missing value";
    QTest::newRow("npc, one answer") << QStringList{"a.bmp", out, "--npc", "4"} << "--npc 4: Give";
    QTest::newRow("npc, empty answer") << QStringList{"a.bmp", out, "--npc=4,"} << "--npc 4,: Give";
    QTest::newRow("npc, three answers") << QStringList{"a.bmp", out, "--npc", "4,8,2"} << "--npc 4,8,2: Give";
    QTest::newRow("negative, empty") << QStringList{"a.bmp", out, "--negative="} << "--negative: Give";
    QTest::newRow("rearrange, empty") << QStringList{"a.bmp", out, "--rearrange", ""} << "--rearrange: Give";
    QTest::newRow("replace, one colour") << QStringList{"a.bmp", out, "--replace", "#ff0000"} << "--replace";
    QTest::newRow("replace, five digits") << QStringList{"a.bmp", out, "--replace", "#ff000:#0000ff"} << "--replace";
    QTest::newRow("replace, names") << QStringList{"a.bmp", out, "--replace", "red:blue"} << "--replace";
    QTest::newRow("replace, 256") << QStringList{"a.bmp", out, "--replace", "256,0,0:0,0,0"} << "--replace";
    QTest::newRow("replace, two channels") << QStringList{"a.bmp", out, "--replace", "1,2:1,2,3"} << "--replace";
    QTest::newRow("replace, signed hex") << QStringList{"a.bmp", out, "--replace", "#+f0000:#000000"} << "--replace";
    QTest::newRow("sprite size, one side") << QStringList{"a.bmp", out, "--sprite-size", "24"} << "WxH";
    QTest::newRow("sprite size, three sides") << QStringList{"a.bmp", out, "--sprite-size", "2x4x8"} << "WxH";
    QTest::newRow("sprite size, no number") << QStringList{"a.bmp", out, "--sprite-size", "abcx48"} << "not a number";
    // The range stated is the one the conversion takes, for the side outside it.
    const QString height = QStringLiteral("The cell height must be from 1 to 32767; '%1' is not.");
    const QString width = QStringLiteral("The cell width must be a finite number of at least 1; '%1' is not.");
    QTest::newRow("sprite size, 0.9 floors to 0")
        << QStringList{"a.bmp", out, "--sprite-size", "24x0.9"} << height.arg("0.9");
    QTest::newRow("sprite size, height too large")
        << QStringList{"a.bmp", out, "--sprite-size", "24x32768"} << height.arg("32768");
    QTest::newRow("sprite size, both too large")
        << QStringList{"a.bmp", out, "--sprite-size", "100000x100000"} << height.arg("100000");
    QTest::newRow("sprite size, negative height")
        << QStringList{"a.bmp", out, "--sprite-size", "24x-48"} << height.arg("-48");
    QTest::newRow("sprite size, no width") << QStringList{"a.bmp", out, "--sprite-size", "0x48"} << width.arg("0");
    QTest::newRow("sprite size, endless width")
        << QStringList{"a.bmp", out, "--sprite-size", "1e999x48"} << width.arg("1e999");
    // A forgotten value takes the input that follows: the value's reading says so.
    QTest::newRow("npc, input taken for the counts") << QStringList{"--npc", "walkers.bmp", "-o", "m1.bmp"}
                                                     << "--npc walkers.bmp: 'walkers.bmp' is not a count "
                                                        "for --npc";
    QTest::newRow("negative, input taken for the count")
        << QStringList{"--negative", "walkers.bmp", out} << "--negative walkers.bmp: The column count";
    for (const char* grid : {"4", "4x", "0x8", "4x8.5", "ax8", "4x8x2", "-4x8"})
        QTest::newRow(qPrintable(QStringLiteral("grid %1").arg(grid)))
            << QStringList{"a.bmp", out, "--grid", grid} << QStringLiteral("--grid %1: Give the grid as").arg(grid);
    for (const char* twice : {"--grid=2x2", "--gif=1", "--join=2", "--key=0,0,0"})
        QTest::newRow(qPrintable(QStringLiteral("%1 twice").arg(twice)))
            << QStringList{"a.bmp", out, twice, twice} << "more than once";
    QTest::newRow("grid with detect") << QStringList{"a.bmp", "--detect", "--grid=2x2"} << "together with --grid";
    for (const char* row : {"0", "1.5"})
        QTest::newRow(qPrintable(QStringLiteral("gif row %1").arg(row)))
            << QStringList{"a.bmp", out, "--gif", row} << QStringLiteral("--gif %1: Give the row").arg(row);
    QTest::newRow("fps 0") << QStringList{"a.bmp", out, "--gif=1", "--fps=0"} << "--fps 0: Give the frames";
    QTest::newRow("fps 61") << QStringList{"a.bmp", out, "--gif=1", "--fps=61"} << "from 1 to 60";
    QTest::newRow("fps without gif") << QStringList{"a.bmp", out, "--fps=12"} << "--fps is for --gif";
    QTest::newRow("ping-pong without gif") << QStringList{"a.bmp", out, "--ping-pong"} << "--ping-pong is for --gif";
    QTest::newRow("gif, -o bmp") << QStringList{"a.bmp", "-o", "b.bmp", "--gif=1"} << "ending in .gif with --gif";
    QTest::newRow("gif in place") << QStringList{"a.bmp", "--in-place", "--gif=1"} << "--in-place cannot be used";
    QTest::newRow("gif with format") << QStringList{"a.bmp", out, "--gif=1", "--format=png"} << "--format cannot";
    QTest::newRow("two inputs, one output") << QStringList{"x/a.bmp", "y/a.png", out} << "would both be written";
    QTest::newRow("an input twice") << QStringList{"x/a.bmp", "x/../x/a.bmp", out} << "x/../x/a.bmp is given more";
    QTest::newRow("mirror, empty") << QStringList{"a.bmp", out, "--mirror="} << "--mirror: Give";
    QTest::newRow("mirror, not a count") << QStringList{"a.bmp", out, "--mirror", "8x"} << "--mirror 8x: The column";
    const QStringList two{"a.bmp", "b.bmp"};
    QTest::newRow("join without -o") << QStringList{"--join", "2", "a.bmp", out} << "--join makes one sheet";
    QTest::newRow("join in place") << two + QStringList{"--join", "2", "--in-place"} << "--join makes one sheet";
    for (const char* columns : {"0", "2.5", "-2", "abc", "auto", "1e10"})
        QTest::newRow(qPrintable(QStringLiteral("join %1").arg(columns)))
            << two + QStringList{"--join", columns, "-o", "s.bmp"}
            << QStringLiteral("--join %1: Give the number of cells in a row").arg(columns);
    QTest::newRow("join standard input") << QStringList{"--join", "1", "-", "-o", "s.bmp"} << "cannot be joined";
    QTest::newRow("join and split") << two + QStringList{"--join", "2", "--split", "1x2", "-o", "s.bmp"}
                                    << "cannot be used together";
    QTest::newRow("join with detect") << two + QStringList{"--detect", "--join", "2"} << "together with --join";
    QTest::newRow("split to -o") << QStringList{"--split", "2x2", "a.bmp", "-o", "b.bmp"} << "give --out-dir DIR";
    for (const char* grid : {"4", "0x2", "2.5x2", "x"})
        QTest::newRow(qPrintable(QStringLiteral("split %1").arg(grid)))
            << QStringList{"--split", grid, "a.bmp", out} << QStringLiteral("--split %1: Give the grid as").arg(grid);
    QTest::newRow("split into more cells than pixels")
        << QStringList{"--split", "100000x100000", "a.bmp", out} << "No sheet has that many cells";
    QTest::newRow("split, two inputs of one name")
        << QStringList{"--split", "auto", "x/a.bmp", "y/a.png", out} << "would both have their cells written as a_r";
    QTest::newRow("split, an input twice")
        << QStringList{"--split", "2x2", "a.bmp", "./a.bmp", out} << "./a.bmp is given more";
    QTest::newRow("key, a name") << QStringList{"a.bmp", out, "--key", "magenta"} << "--key magenta: Give the key";
    for (const char* threshold : {"0", "256", "1.5", "-1", "x"})
        QTest::newRow(qPrintable(QStringLiteral("alpha threshold %1").arg(threshold)))
            << QStringList{"a.bmp", out, "--alpha-threshold", threshold}
            << QStringLiteral("--alpha-threshold %1: Give a whole number from 1 to 255").arg(threshold);
    // A shared setting without an operation that reads it.
    QTest::newRow("sprite size alone") << QStringList{"a.bmp", out, "--sprite-size", "24x48", "--mirror", "2"}
                                       << "--sprite-size is the cell size of --npc and does nothing";
    QTest::newRow("tolerance alone") << QStringList{"a.bmp", out, "--tolerance", "4", "--negative", "2"}
                                     << "--tolerance is the tolerance of --key-out-background and does nothing";
    for (const char* tolerance : {"256", "-1", "2.5", "x"})
        QTest::newRow(qPrintable(QStringLiteral("tolerance %1").arg(tolerance)))
            << QStringList{"a.bmp", out, "--key-out-background", "--tolerance", tolerance}
            << QStringLiteral("--tolerance %1: Give a whole number from 0 to 255").arg(tolerance);
    QTest::newRow("key-out takes no value")
        << QStringList{"a.bmp", out, "--key-out-background=3"} << "Unexpected value";
    QTest::newRow("format bmp9") << QStringList{"a.bmp", out, "--format", "bmp9"} << "Give bmp, bmp8 or png";
    QTest::newRow("bmp8 and a PNG name") << QStringList{"a.bmp", "-o", "b.png", "--format", "bmp8"} << "disagrees";
    QTest::newRow("palette without bmp8") << QStringList{"a.bmp", out, "--palette", "game.gpl"}
                                          << "--palette is the table of 8-bit files and needs --format bmp8";
    QTest::newRow("palette missing") << QStringList{"a.bmp", out, "--format=bmp8", "--palette", "no such.gpl"}
                                     << "--palette no such.gpl: the file does not exist";
    QTest::newRow("palette with detect") << QStringList{"a.bmp", "--detect", "--palette", "g.gpl"} << "--palette";
}

void tst_CommandLine::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, saying);
    const CommandLine line = parse(arguments);
    QCOMPARE(line.action, CommandLine::Action::UsageError);
    QVERIFY2(line.text.contains(saying), qPrintable(line.text));
}

void tst_CommandLine::operationsKeepTheirOrder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("output");

    QTest::newRow("as typed") << QStringList{"--negative", "3", "--npc=2,4", "--negative", "5", "a.bmp", "-o", "b.bmp"}
                              << QStringList{"--negative 3", "--npc 2,4", "--negative 5"} << "b.bmp";
    QTest::newRow("after the input") << QStringList{"a.bmp", "--replace", "#ff0000:#0000ff", "-ob.bmp",
                                                    "--rearrange=2,1"}
                                     << QStringList{"--replace #ff0000:#0000ff", "--rearrange 2,1"} << "b.bmp";
    // A value is taken whatever it looks like.
    QTest::newRow("option-like values") << QStringList{"-o", "--npc.bmp", "--rearrange", "2,1", "a.bmp"}
                                        << QStringList{"--rearrange 2,1"} << "--npc.bmp";
    QTest::newRow("join takes every input")
        << QStringList{"--join", "2", "a.bmp", "b.bmp", "--mirror", "2", "-o", "s.bmp"} << QStringList{"--mirror 2"}
        << "s.bmp";
    QTest::newRow("-- ends the options") << QStringList{"--rearrange", "2,1", "-o", "b.bmp", "--", "--negative"}
                                         << QStringList{"--rearrange 2,1"} << "b.bmp";
    // Every key-out takes the one --tolerance, wherever it stands.
    QTest::newRow("key-out with its tolerance")
        << QStringList{"--key-out-background", "a.bmp", "--tolerance=8", "--negative", "2",
                       "--key-out-background", "-o",    "b.bmp"}
        << QStringList{"--key-out-background --tolerance 8", "--negative 2", "--key-out-background --tolerance 8"}
        << "b.bmp";
    QTest::newRow("key-out, exact") << QStringList{"a.bmp", "--key-out-background", "-o", "b.bmp"}
                                    << QStringList{"--key-out-background"} << "b.bmp";
}

void tst_CommandLine::operationsKeepTheirOrder()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, steps);
    QFETCH(QString, output);
    const CommandLine line = parse(arguments);
    QCOMPARE(line.action, CommandLine::Action::Run);
    QCOMPARE(optionsOf(line.job), steps);
    QCOMPARE(line.job.output, output);
}

void tst_CommandLine::answersReadAsTheWindowReadsThem()
{
    const CommandLine line = parse({"--sprite-size", " 30.7 X 12.9", "--npc", "0,3", "--negative", " 4 ", "--npc",
                                    "2,2.5", "a.bmp", "-o", "b.bmp"});
    QCOMPARE(line.action, CommandLine::Action::Run);
    QCOMPARE(line.job.spriteSize.width, 30.0);
    QCOMPARE(line.job.spriteSize.height, qint16(12));
    QCOMPARE(line.job.steps.size(), size_t(3));

    // The zero rule: 0 counts as 1 in both readings.
    const auto& npc = line.job.steps[0].answers.counts;
    QCOMPARE(npc[0]->numeric, 1.0);
    QCOMPARE(npc[0]->strict, std::optional<double>(1));
    QCOMPARE(npc[1]->strict, std::optional<double>(3));
    QCOMPARE(line.job.steps[1].answers.counts[0]->strict, std::optional<double>(4));
    // Fractions are counts, as in the window.
    const auto& fraction = line.job.steps[2].answers.counts;
    QCOMPARE(fraction[1]->numeric, 2.5);
    QCOMPARE(fraction[1]->strict, std::optional<double>(2.5));

    QCOMPARE(parse({"a.bmp", "-o", "b.bmp"}).job.spriteSize.height, qint16(48));
    QVERIFY(!parse({"a.bmp", "-o", "b.bmp"}).job.grid);
    QVERIFY(parse({"a.bmp", "-o", "b.bmp", "--grid", " 4 X 8"}).job.grid == (ops::CellGrid{4, 8}));

    // `auto` leaves the count to each sheet's guessed grid.
    const CommandLine guessed = parse({"--npc", "auto", "--npc", "Auto,3", "a.bmp", "-o", "b.bmp"});
    QCOMPARE(guessed.action, CommandLine::Action::Run);
    const auto& both = guessed.job.steps[0].answers.counts;
    QVERIFY(!both[0] && !both[1]);
    const auto& rows = guessed.job.steps[1].answers.counts;
    QVERIFY(!rows[0] && rows[1]);
}

void tst_CommandLine::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<image::Colour>("from");
    QTest::addColumn<image::Colour>("to");

    QTest::newRow("hex") << "#ff8000:#0000FF" << image::rgb(255, 128, 0) << image::rgb(0, 0, 255);
    QTest::newRow("channels") << "255,128,0:0, 0 ,255" << image::rgb(255, 128, 0) << image::rgb(0, 0, 255);
    QTest::newRow("mixed, black") << "0,0,0:#141414" << image::rgb(0, 0, 0) << image::rgb(20, 20, 20);
}

void tst_CommandLine::colours()
{
    QFETCH(QString, text);
    QFETCH(image::Colour, from);
    QFETCH(image::Colour, to);
    const CommandLine line = parse({"--replace", text, "a.bmp", "-o", "b.bmp"});
    QCOMPARE(line.action, CommandLine::Action::Run);
    const auto& replace = line.job.steps.at(0).answers.colours;
    QCOMPARE(replace, (QList<image::Colour>{from, to}));
}

void tst_CommandLine::outputNames()
{
    const CommandLine many = parse({"in/sheet.v2.png", "in/hero.bmp", "--out-dir", "out"});
    QCOMPARE(many.action, CommandLine::Action::Run);
    QCOMPARE(many.job.outputFor(many.job.inputs[0]), QStringLiteral("out/sheet.v2.bmp"));
    QCOMPARE(many.job.outputFor(many.job.inputs[1]), QStringLiteral("out/hero.bmp"));
    // -o is taken as typed; a result over its own input needs --in-place.
    QCOMPARE(parse({"in/hero.bmp", "-o", "result.PNG"}).job.outputFor(QStringLiteral("in/hero.bmp")),
             QStringLiteral("result.PNG"));
    QCOMPARE(parse({"hero.bmp", "--out-dir", "."}).action, CommandLine::Action::UsageError);
    const CommandLine inPlace = parse({"in/hero.png", "--in-place"});
    QCOMPARE(inPlace.action, CommandLine::Action::Run);
    QCOMPARE(inPlace.job.outputFor(QStringLiteral("in/hero.png")), QStringLiteral("in/hero.png"));
    QCOMPARE(parse({"in/hero.bmp", "--out-dir", "out", "--format", "png"}).job.outputFor("in/hero.bmp"),
             QStringLiteral("out/hero.png"));
    QCOMPARE(parse({"in/hero.bmp", "--out-dir", "out", "--gif", "2"}).job.outputFor("in/hero.bmp"),
             QStringLiteral("out/hero.gif"));
}

// The key, the threshold, 8-bit output and the palette, which gives the key.
void tst_CommandLine::keySettings()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString game = dir.filePath("game.gpl");
    const QString bad = dir.filePath("bad.gpl");
    for (const auto& [path, text] : {std::pair{game, "GIMP Palette\n# key\n255 0 255\n1 2 3\n"},
                                     std::pair{bad, "GIMP Palette\n1 2 3\n4 5 256\n"}}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
    }
    const image::Colour magenta = image::rgb(255, 0, 255);
    struct Case {
        QStringList arguments;
        image::Colour key;
        int threshold;
        bool indexed;
        QString error; // the start of the usage error, or empty
    };
    const Case cases[] = {
        {{}, image::rgb(0, 0, 0), 128, false, {}},
        {{"--key", "#FF00ff", "--alpha-threshold", " 1 "}, magenta, 1, false, {}},
        {{"--key=255,0,255", "--alpha-threshold=255", "--format", "BMP8"}, magenta, 255, true, {}},
        {{"--format", "bmp8", "--palette", game}, magenta, 128, true, {}},
        {{"--format", "bmp8", "--palette", game, "--key", "255, 0 ,255"}, magenta, 128, true, {}},
        {{"--format", "bmp8", "--palette", game, "--key", "0,0,0"},
         {},
         0,
         false,
         "--key 0,0,0 differs from the key the palette gives, its entry 0: #ff00ff."},
        {{"--format", "bmp8", "--palette", bad}, {}, 0, false, "--palette bad.gpl: line 3: 256 is above 255."},
    };
    for (const Case& given : cases) {
        const CommandLine line = parse(QStringList{"a.png", "-o", "b.bmp"} + given.arguments);
        const QString name = given.arguments.join(u' ');
        if (!given.error.isEmpty()) {
            QCOMPARE(line.action, CommandLine::Action::UsageError);
            QCOMPARE(line.text, given.error);
            continue;
        }
        QVERIFY2(line.action == CommandLine::Action::Run, qPrintable(name + ": " + line.text));
        QCOMPARE(line.job.key.key, given.key);
        QCOMPARE(line.job.key.threshold, given.threshold);
        QCOMPARE(line.job.indexed, given.indexed);
        QCOMPARE(line.job.palette.has_value(), given.arguments.contains("--palette"));
        if (line.job.palette)
            QCOMPARE((*line.job.palette)[1], image::rgb(1, 2, 3));
    }
}

void tst_CommandLine::helpAndVersion()
{
    const CommandLine help = parse({"--help", "a.bmp"});
    QCOMPARE(help.action, CommandLine::Action::Help);
    QVERIFY(
        help.text.startsWith(QLatin1String("Usage: pixmold-batch [options] INPUT... (-o OUTPUT | --out-dir DIR)\n")));
    QVERIFY(help.text.contains(QLatin1String("--sprite-size <WxH>")));
    QCOMPARE(parse({"-v"}).action, CommandLine::Action::Version);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "command_line_test.moc"
