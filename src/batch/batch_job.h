// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"
#include "image/colour_table.h"
#include "image/keyed_transparency.h"
#include "image/picture_format.h"
#include "operations/operation.h"
#include "settings/sprite_size.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace batch {

// An operation with its answers, read strictly from the command line. A count of 0 is
// taken as 1, as in the window; `auto` is read from each sheet as it is when the step
// runs.
struct Step {
    QString option; // as typed, "--npc 4,8": names the step in messages
    const ops::Operation* operation = nullptr;
    ops::Answers answers;
};

// The name that stands for standard input (as the only input) and standard output (-o).
inline const QString kStandardStream = QStringLiteral("-");

// How messages name an input: as typed, "standard input" for kStandardStream.
inline QString inputName(const QString& input)
{
    return input == kStandardStream ? QStringLiteral("standard input") : input;
}

// --gif: one row of the result's cells, written as an animated GIF instead of the sheet.
struct GifRow {
    int row = 0; // from the top, 0-based
    int framesPerSecond = 10;
    bool pingPong = false;
};

// One run of the program: the steps, applied in order to every input.
struct Job {
    std::vector<Step> steps;
    settings::SpriteSize spriteSize;   // the cell size of --npc
    std::optional<ops::CellGrid> grid; // --grid: the grid in force where no step before implies one
    QStringList inputs;
    QString output; // -o: where the only input goes, or kStandardStream
    QString outDir;
    bool inPlace = false;                                    // each result replaces its input
    image::PictureFormat format = image::PictureFormat::Bmp; // for --out-dir and standard output
    bool indexed = false;                                    // --format bmp8: BMP files are written 8 bits a pixel
    std::optional<image::ColourTable> palette;               // --palette: the table of every 8-bit file
    image::TransparencyKey key;                              // --key and --alpha-threshold
    bool skipExisting = false;                               // outputs that exist are left alone
    int jobs = 0;                                            // files at once; 0: one per processor
    bool quiet = false;                                      // errors only on standard error
    bool detect = false; // --detect: each input's guessed grid goes to standard output, no step runs
    std::optional<GifRow> gif;
    // --join: the inputs, in order, become one sheet of rows of this many cells, which the
    // steps then change and -o receives.
    std::optional<int> join;
    // --split: each result is written cell by cell to --out-dir instead of whole, cut by
    // `splitGrid` (ROWSxCOLUMNS; nullopt for auto: the grid in force).
    bool split = false;
    std::optional<ops::CellGrid> splitGrid;

    // Where `input` is written: the -o file, the input itself, or <out-dir>/<input's
    // name without its last suffix>.bmp (or .png, or .gif with --gif).
    QString outputFor(const QString& input) const;
};

struct CommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::UsageError;
    Job job;      // complete for Run only
    QString text; // the help text, or what is wrong with the command line
};

// Reads the program's arguments (the first is the program itself). Never exits and
// prints nothing.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace batch
