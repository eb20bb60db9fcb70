// SPDX-License-Identifier: MIT
#include "batch_help.h"

#include "operations/operation_table.h"

#include <QCommandLineParser>
#include <utility>

namespace batch {

namespace {

const QString kUsageLine
    = QStringLiteral("Usage: pixmold-batch [options] INPUT... (-o OUTPUT | --out-dir DIR)\n"
                     "       pixmold-batch [options] --in-place INPUT...\n"
                     "       pixmold-batch [options] --gif ROW INPUT... (-o NAME.gif | --out-dir DIR)\n"
                     "       pixmold-batch [options] --join COLUMNS INPUT... -o OUTPUT\n"
                     "       pixmold-batch [options] --split ROWSxCOLUMNS|auto INPUT... --out-dir DIR\n"
                     "       pixmold-batch [-j N] [-q] --detect INPUT...");

const char* const kOperationsHeading = "\nWhat the operations do to the pixels, in the order they are given:\n";

// After the operations.
const char* const kAfterOperations = R"(
Counts (SPRITES, COLUMNS) are numbers, fractions allowed; 0 counts as 1. Where a
count does not divide the sheet's width or height evenly, each cell, strip or row
is placed and sized by rounding on its own, so neighbours may overlap by a pixel
or leave a pixel between them (black after --negative and --rearrange); a
warning says by how many pixels the count misses.

A count may be auto (in any case): it is then taken from the grid guessed on each
sheet as it is when the operation runs, after the operations before it; --npc auto
guesses both counts, --npc auto,8 and --npc 4,auto one of them. A sheet with no
guess fails, and nothing is written for it. The guess looks for equal cells on one
background colour, the colour of at least three corners; --detect prints it.
  Examples: pixmold-batch --detect sheets/*.bmp
            pixmold-batch --npc auto --negative auto sheets/*.bmp --out-dir out/

An operation that works cell by cell takes the grid the operation before it
implies (--npc its counts, --negative twice the columns, --rearrange one row an
entry), else --grid, else the guessed grid, else the whole sheet as one cell.
The operations above take their counts instead.

--gif ROW writes one row of the result's cells, in place of the sheet, as an
animated GIF that loops for ever: each cell a frame at its own size, left to
right (with --ping-pong back again), every frame replacing the one before. The
row is cut by the grid the last operation implies, else --grid, else the guessed
grid; a sheet with none fails. The key colour (--key, black by default) is the
transparent colour; a row of more than 256 colours, the key counted, fails. A
frame shows for 100 / N hundredths of a second (--fps N), rounded half to even:
from 41 frames per second up, 2 hundredths. Web browsers show a delay under 2
hundredths as 10.

--join COLUMNS puts the inputs, in the order given, into rows of COLUMNS cells;
every input must have the first one's size, read from the files' headers before
any is decoded (another size is a usage error naming the file). A short last row
is filled with the key colour (black) and warned about. The steps then run on
the joined sheet; --join 1 stacks sheets. --split writes each cell of each
result, after the steps, as DIR/NAME_rRR_cCC.bmp (or .png), numbered from 1 with
two digits, more beyond 99; a grid that does not divide the sheet fails it.
  Examples: pixmold-batch --join 8 frames/walk*.png -o walk.png
            pixmold-batch --split 4x8 walk.png --out-dir frames/

Pictures are read in any format Qt reads and are opaque from then on: a warning
says when transparency was dropped. Results are written as BMP or PNG, as their
names say, or GIF with --gif; no input is written over unless --in-place is
given. An input of - reads standard input; -o - writes to standard output (BMP,
or --format, or GIF with --gif).
Pictures are read in any format Qt reads and are opaque from then on. In a PNG,
GIF, ICO or any other file with transparency but BMP, every pixel less opaque
than --alpha-threshold (half opaque) takes the key colour, --key, and every other
keeps its own colour; a warning counts the pixels keyed, and the opaque ones
already of the key colour, which the engine will show as transparent too. A BMP
keeps every pixel's colour: a warning says when its transparency was dropped.
Results are written as BMP or PNG, as their names say, or GIF with --gif; no
input is written over unless --in-place is given. An input of - reads standard
input; -o - writes to standard output (BMP, or --format, or GIF with --gif).

--format bmp8 writes BMP files of 8 bits a pixel with a table of 256 colours:
entry 0 the key colour, then the sheet's colours in the order they first appear
(left to right, top to bottom), the rest black. A sheet of more than 256 colours,
the key counted, fails. --palette FILE writes every file with FILE's table
instead: colours it lacks take its nearest entry (never the key, entry 0), with
a warning counting them.
  Example: pixmold-batch --npc auto --format bmp8 --palette game.gpl \
             sheets/*.png --out-dir out/

Exit status:
  0  every file was written (or skipped by --skip-existing); with --detect, read
  1  some file could not be read, converted or written; the others were written
  2  the command line is wrong, or --join's inputs differ in size; nothing was
     written, and nothing read but --join's headers
)";

} // namespace

void describeOptions(QCommandLineParser& parser)
{
    using namespace option;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setApplicationDescription(
        QStringLiteral("Runs Pixmold's sheet operations on picture files, with the pixels the window gives,\n"
                       "and writes the results as BMP or PNG files, or one row as an animated GIF."));
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("Write the result to OUTPUT, a .bmp or .png name (one input only); - for "
                        "standard output."),
         QStringLiteral("OUTPUT")},
        {kOutDir,
         QStringLiteral("Write each result to DIR/<input name>.bmp (or .png with --format png); DIR is "
                        "made if missing."),
         QStringLiteral("DIR")},
        {kInPlace, QStringLiteral("Write each result over its own input, in the input's format (.bmp or .png).")},
        {kFormat,
         QStringLiteral("What --out-dir and standard output get: bmp (the default), png, or bmp8 (BMP "
                        "of 8 bits a pixel, also for -o NAME.bmp)."),
         QStringLiteral("FORMAT")},
        {kPalette,
         QStringLiteral("With --format bmp8: write every file with the colour table of FILE (GIMP, "
                        "JASC-PAL, Photoshop ACT or 8-bit BMP); its entry 0 is the key."),
         QStringLiteral("FILE")},
        {kKey,
         QStringLiteral("The key colour, which the engine draws as transparent: #rrggbb or r,g,b "
                        "(default 0,0,0)."),
         QStringLiteral("COLOUR")},
        {kAlphaThreshold,
         QStringLiteral("Pixels less opaque than N (1 to 255, default 128) take the key colour as a "
                        "picture is read."),
         QStringLiteral("N")},
        {kSkipExisting, QStringLiteral("Leave outputs that exist alone and skip their inputs.")},
        {{QStringLiteral("j"), kJobs},
         QStringLiteral("Convert up to N files at once (default: one per processor)."),
         QStringLiteral("N")},
        {{QStringLiteral("q"), kQuiet}, QStringLiteral("Say nothing but errors: no warnings, no progress.")},
    });
    // The operations, the first that reads the cell size (the tolerance) followed by its option.
    bool spriteSizeShown = false;
    bool toleranceShown = false;
    for (const ops::Operation* operation : ops::operationTable()) {
        if (operation->option.valueName.isEmpty())
            parser.addOption({operation->option.name, operation->option.summary});
        else
            parser.addOption({operation->option.name, operation->option.summary, operation->option.valueName});
        if (operation->readsSpriteSize && !std::exchange(spriteSizeShown, true))
            parser.addOption(
                {kSpriteSize, QStringLiteral("The cell size for --npc (default 24x48)."), QStringLiteral("WxH")});
        if (operation->readsTolerance && !std::exchange(toleranceShown, true))
            parser.addOption({kTolerance,
                              QStringLiteral("How far from the background, on each channel, --%1 still keys "
                                             "(0 to 255, default 0).")
                                  .arg(operation->option.name),
                              QStringLiteral("N")});
    }
    parser.addOptions({
        {kGrid,
         QStringLiteral("The sheet's grid for operations that work cell by cell, where none before them "
                        "implies one (default: guessed)."),
         QStringLiteral("ROWSxCOLUMNS")},
        {kJoin,
         QStringLiteral("Join the inputs, in order, into one sheet of rows of COLUMNS cells, written to "
                        "-o; all must have the first one's size."),
         QStringLiteral("COLUMNS")},
        {kSplit,
         QStringLiteral("Write each result's cells to --out-dir as NAME_rRR_cCC.bmp (or .png), cut by "
                        "ROWSxCOLUMNS or, with auto, the grid in force."),
         QStringLiteral("GRID")},
        {kDetect,
         QStringLiteral("Print each input's guessed grid, FILE: ROWSxCOLUMNS or FILE: no guess, and "
                        "write no file.")},
        {kGif,
         QStringLiteral("Write row ROW of the grid (1 is the top row) as an animated GIF instead of the "
                        "sheet: -o NAME.gif, or DIR/<input name>.gif with --out-dir."),
         QStringLiteral("ROW")},
        {kFps, QStringLiteral("The GIF's frames per second, 1 to 60 (default 10)."), QStringLiteral("N")},
        {kPingPong, QStringLiteral("The GIF plays its frames forth and back: 1, 2, ..., n, n-1, ..., 2.")},
        {{QStringLiteral("h"), kHelp}, QStringLiteral("Show this help.")},
        {{QStringLiteral("v"), kVersion}, QStringLiteral("Show the version.")},
    });
    parser.addPositionalArgument(QStringLiteral("INPUT"),
                                 QStringLiteral("Pictures to convert: BMP, PNG or any format Qt reads; - for "
                                                "standard input."),
                                 QStringLiteral("INPUT..."));
}

QString helpText(const QCommandLineParser& parser)
{
    // Qt's first line names the program as it was started; show the whole synopsis.
    const QString text = parser.helpText();
    const qsizetype end = text.indexOf(u'\n');
    QString operations = QString::fromUtf8(kOperationsHeading);
    for (const ops::Operation* operation : ops::operationTable())
        operations += QStringLiteral("  --%1%2\n%3")
                          .arg(operation->option.name,
                               operation->option.valueName.isEmpty() ? QString() : u' ' + operation->option.valueName,
                               operation->option.help);
    return kUsageLine + (end < 0 ? QString(u'\n') : text.sliced(end)) + operations
        + QString::fromUtf8(kAfterOperations);
}

} // namespace batch
