// SPDX-License-Identifier: MIT
#include "batch_help.h"

#include <QCommandLineParser>

namespace batch {

namespace {

const QString kUsageLine = QStringLiteral("Usage: pixmold-batch [options] INPUT... (-o OUTPUT | --out-dir DIR)\n"
                                          "       pixmold-batch [options] --in-place INPUT...\n"
                                          "       pixmold-batch [-j N] [-q] --detect INPUT...");

// After Qt's list of the options.
const char* const kOperations = R"(
What the operations do to the pixels, in the order they are given:
  --npc SPRITES,COLUMNS
      Cuts the sheet into SPRITES rows and COLUMNS columns of equal cells and
      scales each cell to the sprite size (--sprite-size, 24x48 unless given).
      Enlarging repeats pixels; shrinking merges the pixels that land on one
      pixel by a bitwise AND of their colours, so colours that were not in the
      sheet can appear. Then every pure black pixel (0,0,0) becomes the
      near-black (20,20,20).
      Example: pixmold-batch --npc 4,8 hero.bmp -o hero-npc.bmp
  --negative COLUMNS
      Cuts the sheet into COLUMNS vertical strips and puts after each strip its
      negative, which has two colours: pure black (0,0,0) becomes white and
      every other colour becomes black. The sheet becomes twice as wide.
      Example: pixmold-batch --negative 8 hero.bmp -o hero-neg.png
  --rearrange ORDER
      Cuts the sheet into as many full-width rows as ORDER has entries and
      stacks them in that order: 3,1,4,2 puts the old third row first. A row
      may be repeated or left out; an entry outside 1 to the number of entries
      gives a black row (with a warning).
      Example: pixmold-batch --rearrange 2,1 sheets/*.bmp --out-dir flipped/
  --replace FROM:TO
      Every pixel of exactly the colour FROM becomes TO; no other is touched.
      Example: pixmold-batch --replace '#ff00ff:0,0,0' hero.bmp --in-place

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

Pictures are read in any format Qt reads and are opaque from then on: a warning
says when transparency was dropped. Results are written as BMP or PNG, as their
names say; no input is written over unless --in-place is given. An input of -
reads standard input; -o - writes to standard output (BMP, or --format).

Exit status:
  0  every file was written (or skipped by --skip-existing); with --detect, read
  1  some file could not be read, converted or written; the others were written
  2  the command line is wrong; nothing was read or written
)";

} // namespace

void describeOptions(QCommandLineParser& parser)
{
    using namespace option;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setApplicationDescription(
        QStringLiteral("Runs Pixmold's sheet operations on picture files, with the pixels the window gives,\n"
                       "and writes the results as BMP or PNG files."));
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
        {kFormat, QStringLiteral("What --out-dir and standard output get: bmp (the default) or png."),
         QStringLiteral("FORMAT")},
        {kSkipExisting, QStringLiteral("Leave outputs that exist alone and skip their inputs.")},
        {{QStringLiteral("j"), kJobs},
         QStringLiteral("Convert up to N files at once (default: one per processor)."),
         QStringLiteral("N")},
        {{QStringLiteral("q"), kQuiet}, QStringLiteral("Say nothing but errors: no warnings, no progress.")},
        {kNpc, QStringLiteral("Rescale every cell to the sprite size, pure black to near-black."),
         QStringLiteral("SPRITES,COLUMNS")},
        {kSpriteSize, QStringLiteral("The cell size for --npc (default 24x48)."), QStringLiteral("WxH")},
        {kNegative, QStringLiteral("Follow each column by its two-colour negative."), QStringLiteral("COLUMNS")},
        {kRearrange, QStringLiteral("New order of the rows, e.g. 3,1,4,2."), QStringLiteral("ORDER")},
        {kReplace, QStringLiteral("Replace one exact colour, e.g. '#ff0000:#0000ff' or 255,0,0:0,0,255."),
         QStringLiteral("FROM:TO")},
        {kDetect,
         QStringLiteral("Print each input's guessed grid, FILE: ROWSxCOLUMNS or FILE: no guess, and "
                        "write no file.")},
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
    return kUsageLine + (end < 0 ? QString(u'\n') : text.sliced(end)) + QString::fromUtf8(kOperations);
}

} // namespace batch
