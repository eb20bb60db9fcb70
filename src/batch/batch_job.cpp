// SPDX-License-Identifier: MIT
#include "batch_job.h"

#include "batch_help.h"
#include "image/animated_gif.h"
#include "image/surface.h"
#include "cell_file_name.h"
#include "image/palette_file.h"
#include "input_guard.h"
#include "operations/colour_text.h"
#include "operations/count_text.h"
#include "operations/frame_files.h"
#include "operations/operation_table.h"
#include "settings/number_text.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <cmath>
#include <limits>
#include <optional>

namespace batch {

namespace {

using namespace option;

Result<Step> readStep(const ops::Operation& operation, const QString& value)
{
    auto answers = operation.option.read(value);
    if (!answers)
        return Failure{answers.error()};
    QString option = QStringLiteral("--%1 %2").arg(operation.option.name, value);
    if (operation.readsTolerance)
        option = value.isEmpty() ? QStringLiteral("--%1").arg(operation.option.name)
                                 : QStringLiteral("--%1 --%2 %3").arg(operation.option.name, kTolerance, value);
    return Step{option, &operation, *std::move(answers)};
}

// The steps in the order given; a failure at the first that cannot be read.
Result<void> readSteps(const QCommandLineParser& parser, Job& job)
{
    // The parser lists the options in the order they were found, each option's values
    // in the same order.
    QHash<QString, qsizetype> taken;
    for (const QString& name : parser.optionNames()) {
        const ops::Operation* operation = ops::operationForOption(name);
        if (!operation)
            continue;
        const QString value
            = operation->readsTolerance ? parser.value(kTolerance) : parser.values(name).value(taken[name]++);
        auto step = readStep(*operation, value);
        if (!step)
            return Failure{step.error()};
        job.steps.push_back(*std::move(step));
    }
    return {};
}

// Each side must be a number in strict reading; it is then floored as the Options panel
// floors it. The panel stores any height a qint16 holds, but the conversion takes only
// cells of at least 1x1, so the range stated is the one that works.
Result<settings::SpriteSize> readCellSize(const QString& value)
{
    const QStringList sides = value.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (sides.size() != 2) {
        return Failure{QStringLiteral("--sprite-size %1: Give the cell size as WxH, e.g. 24x48.").arg(value)};
    }
    double floored[2] = {};
    for (int i = 0; i < 2; ++i) {
        const auto number = settings::readStrictNumber(sides[i]);
        if (!number) {
            return Failure{
                QStringLiteral("--sprite-size %1: '%2' is not a number; give the cell size as WxH, e.g. 24x48.")
                    .arg(value, sides[i].trimmed())};
        }
        floored[i] = std::floor(*number);
    }
    if (!(floored[0] >= 1 && std::isfinite(floored[0]))) {
        return Failure{
            QStringLiteral("--sprite-size %1: The cell width must be a finite number of at least 1; '%2' is not.")
                .arg(value, sides[0].trimmed())};
    }
    if (!(floored[1] >= 1 && floored[1] <= std::numeric_limits<qint16>::max())) {
        return Failure{QStringLiteral("--sprite-size %1: The cell height must be from 1 to %2; '%3' is not.")
                           .arg(value)
                           .arg(std::numeric_limits<qint16>::max())
                           .arg(sides[1].trimmed())};
    }
    return settings::SpriteSize{floored[0], qint16(floored[1])};
}

// Rows and columns as whole numbers from 1 up, blanks around each allowed: the value of
// --`option`.
Result<ops::CellGrid> readGrid(const QString& option, const QString& value)
{
    const QStringList sides = value.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    double read[2] = {};
    for (int i = 0; i < 2 && sides.size() == 2; ++i) {
        const auto number = settings::readStrictNumber(sides[i]);
        read[i] = number && *number >= 1 && *number <= image::Surface::kMaxPixels && *number == std::floor(*number)
            ? *number
            : 0;
    }
    if (read[0] == 0 || read[1] == 0) {
        return Failure{QStringLiteral("--%1 %2: Give the grid as ROWSxCOLUMNS, two whole numbers from 1 up, e.g. 4x8.")
                           .arg(option, value)};
    }
    return ops::CellGrid{read[0], read[1]};
}

// "bmp8" is BMP written 8 bits a pixel.
const QString kIndexedFormat = QStringLiteral("bmp8");

Result<image::PictureFormat> readFormat(const QString& value)
{
    if (value.compare(kIndexedFormat, Qt::CaseInsensitive) == 0)
        return image::PictureFormat::Bmp;
    if (const auto format = image::formatForSuffix(value))
        return *format;
    return Failure{QStringLiteral("--format %1: Give bmp, bmp8 or png.").arg(value)};
}

// Digits only, blanks around them allowed, from `low` to `high`.
std::optional<int> readWholeNumber(const QString& value, int low, int high)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    bool fits = false;
    const int number = value.trimmed().toInt(&fits);
    if (!digits.match(value.trimmed()).hasMatch() || !fits || number < low || number > high)
        return std::nullopt;
    return number;
}

// The key colour and what gives it: --key, --alpha-threshold, and entry 0 of --palette
// (which needs --format bmp8); the palette itself. Fills the job; the reason on failure.
Result<void> readKey(const QCommandLineParser& parser, Job& job)
{
    if (parser.isSet(kKey)) {
        const auto key = ops::readColourText(parser.value(kKey));
        if (!key)
            return Failure{QStringLiteral("--key %1: Give the key colour as #rrggbb or r,g,b, e.g. '#ff00ff'.")
                               .arg(parser.value(kKey))};
        job.key.key = *key;
    }
    if (parser.isSet(kAlphaThreshold)) {
        const auto threshold = readWholeNumber(parser.value(kAlphaThreshold), 1, 255);
        if (!threshold)
            return Failure{QStringLiteral("--alpha-threshold %1: Give a whole number from 1 to 255.")
                               .arg(parser.value(kAlphaThreshold))};
        job.key.threshold = *threshold;
    }
    if (!parser.isSet(kPalette))
        return {};
    if (!job.indexed)
        return Failure{QStringLiteral("--palette is the table of 8-bit files and needs --format bmp8.")};
    const Result<image::ColourTable> palette = image::readPaletteFile(parser.value(kPalette));
    if (!palette)
        return Failure{QStringLiteral("--palette %1").arg(palette.error())};
    if (parser.isSet(kKey) && job.key.key != (*palette)[0])
        return Failure{QStringLiteral("--key %1 differs from the key the palette gives, its entry 0: %2.")
                           .arg(parser.value(kKey), ops::colourText((*palette)[0]))};
    job.key.key = (*palette)[0];
    job.palette = *palette;
    return {};
}

Result<int> readJobs(const QString& value)
{
    const auto jobs = readWholeNumber(value, 1, std::numeric_limits<int>::max());
    if (!jobs)
        return Failure{
            QStringLiteral("--jobs %1: Give how many files to convert at once, a whole number from 1 up.").arg(value)};
    return *jobs;
}

// --gif ROW with --fps N and --ping-pong, which mean nothing without it. Fills the job;
// a failure says what is wrong.
Result<void> readGif(const QCommandLineParser& parser, Job& job)
{
    if (!parser.isSet(kGif)) {
        for (const QString& name : {kFps, kPingPong}) {
            if (parser.isSet(name))
                return Failure{QStringLiteral("--%1 is for --gif and does nothing without it.").arg(name)};
        }
        return {};
    }
    GifRow gif;
    const auto row = readWholeNumber(parser.value(kGif), 1, std::numeric_limits<int>::max());
    if (!row)
        return Failure{QStringLiteral("--gif %1: Give the row to write, a whole number from 1 up (1 is the top row).")
                           .arg(parser.value(kGif))};
    gif.row = *row - 1;
    if (parser.isSet(kFps)) {
        const auto fps = readWholeNumber(parser.value(kFps), image::kMinFramesPerSecond, image::kMaxFramesPerSecond);
        if (!fps)
            return Failure{QStringLiteral("--fps %1: Give the frames per second, a whole number from %2 to %3.")
                               .arg(parser.value(kFps))
                               .arg(image::kMinFramesPerSecond)
                               .arg(image::kMaxFramesPerSecond)};
        gif.framesPerSecond = *fps;
    }
    gif.pingPong = parser.isSet(kPingPong);
    job.gif = gif;
    return {};
}

QString normalPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Two inputs written to one file would leave whichever was done last. (An input can
// only be another's output if it is its own output too, so this covers that as well.)
Result<void> checkDistinctOutputs(const QStringList& inputs, const QStringList& outputs)
{
    QHash<QString, QString> writer;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString& input = inputs[i];
        const QString output = normalPath(outputs[i]);
        if (const auto earlier = writer.constFind(output); earlier != writer.cend()) {
            if (normalPath(*earlier) == normalPath(input))
                return Failure{QStringLiteral("%1 is given more than once.").arg(input)};
            return Failure{QStringLiteral("%1 and %2 would both be written to %3.").arg(*earlier, input, outputs[i])};
        }
        writer.insert(output, input);
    }
    return {};
}

// Where the results go: one of -o, --out-dir and --in-place, and the format of each.
// Fills the job; a failure says what is wrong.
Result<void> readDestination(const QCommandLineParser& parser, Job& job)
{
    const bool toFile = parser.isSet(kOutput);
    const bool toFolder = parser.isSet(kOutDir);
    const bool inPlace = parser.isSet(kInPlace);
    if (toFile && toFolder)
        return Failure{QStringLiteral("-o and --out-dir cannot be used together.")};
    if (inPlace && (toFile || toFolder))
        return Failure{QStringLiteral("--in-place cannot be used together with %1.")
                           .arg(toFile ? QStringLiteral("-o") : QStringLiteral("--out-dir"))};
    if (!toFile && !toFolder && !inPlace)
        return Failure{QStringLiteral("Say where to write: -o OUTPUT for one input, --out-dir DIR, or --in-place.")};
    if (parser.isSet(kSkipExisting) && inPlace)
        return Failure{QStringLiteral("--skip-existing cannot be used together with --in-place.")};
    if (job.gif && inPlace)
        return Failure{QStringLiteral("--in-place cannot be used together with --gif, which writes a GIF instead of "
                                      "the sheet.")};
    if (job.gif && parser.isSet(kFormat))
        return Failure{QStringLiteral("--format cannot be used together with --gif, which writes GIF files.")};

    std::optional<image::PictureFormat> format;
    if (parser.isSet(kFormat)) {
        const auto read = readFormat(parser.value(kFormat));
        if (!read)
            return Failure{read.error()};
        format = *read;
    }

    const bool fromStdin = job.inputs.contains(kStandardStream);
    if (fromStdin && !toFile)
        return Failure{QStringLiteral("Standard input (-) needs -o OUTPUT.")};
    if (toFile && job.inputs.size() > 1 && !parser.isSet(kJoin))
        return Failure{
            QStringLiteral("-o takes one input, not %1; use --out-dir DIR for several.").arg(job.inputs.size())};

    job.output = parser.value(kOutput);
    job.outDir = parser.value(kOutDir);
    job.inPlace = inPlace;
    job.format = format.value_or(image::PictureFormat::Bmp);
    job.indexed = format && parser.value(kFormat).compare(kIndexedFormat, Qt::CaseInsensitive) == 0;
    if (toFile && job.output.isEmpty())
        return Failure{QStringLiteral("-o needs a file name.")};
    if (toFolder && job.outDir.isEmpty())
        return Failure{QStringLiteral("--out-dir needs a folder name.")};

    // Every file written is in the format its name says.
    QStringList named;
    if (toFile && job.output != kStandardStream)
        named.append(job.output);
    if (inPlace)
        named = job.inputs;
    for (const QString& name : named) {
        if (job.gif) {
            if (!name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
                return Failure{QStringLiteral("-o %1: Give a name ending in .gif with --gif.").arg(name)};
            continue;
        }
        const auto asked = image::formatForName(name);
        if (!asked)
            return Failure{QStringLiteral("%1 %2: Give a name ending in .bmp or .png (the formats written).")
                               .arg(inPlace ? QStringLiteral("--in-place") : QStringLiteral("-o"), name)};
        if (format && *format != *asked)
            return Failure{QStringLiteral("--format %1 disagrees with %2, which names a %3 file.")
                               .arg(parser.value(kFormat), name, image::formatSuffix(*asked).toUpper())};
    }
    return {};
}

// --join's value and --split's, and whether their results have where to go. Fills the
// job; the reason on failure.
Result<void> readFrameOptions(const QCommandLineParser& parser, Job& job)
{
    job.split = parser.isSet(kSplit);
    if (job.gif && (job.split || parser.isSet(kJoin)))
        return Failure{QStringLiteral("--gif cannot be used together with %1; write the sheet first, then its GIF in "
                                      "another run.")
                           .arg(job.split ? QStringLiteral("--split") : QStringLiteral("--join"))};
    if (parser.isSet(kJoin)) {
        if (job.split)
            return Failure{QStringLiteral("--join and --split cannot be used together; join in one run and split the "
                                          "result in another.")};
        const QString value = parser.value(kJoin);
        const auto columns = settings::readStrictNumber(value);
        if (!columns || !(*columns >= 1 && *columns <= image::Surface::kMaxPixels && *columns == std::floor(*columns)))
            return Failure{
                QStringLiteral("--join %1: Give the number of cells in a row, a whole number from 1 up, e.g. "
                               "--join 8.")
                    .arg(value)};
        job.join = int(*columns);
        if (job.inputs.contains(kStandardStream))
            return Failure{
                QStringLiteral("--join reads every input's size from its file before any is decoded; standard "
                               "input (-) cannot be joined.")};
        if (job.output.isEmpty())
            return Failure{QStringLiteral("--join makes one sheet of all the inputs: give -o OUTPUT.")};
    }
    if (job.split) {
        const QString value = parser.value(kSplit);
        if (!ops::isAutoText(value)) {
            const auto grid = readGrid(kSplit, value);
            if (!grid)
                return Failure{grid.error()};
            job.splitGrid = *grid;
        }
        // No sheet has more cells than pixels.
        if (job.splitGrid && job.splitGrid->rows * job.splitGrid->columns > double(image::Surface::kMaxPixels))
            return Failure{QStringLiteral("--split %1: No sheet has that many cells.").arg(value)};
        if (job.outDir.isEmpty())
            return Failure{QStringLiteral("--split writes each cell as a file of its own: give --out-dir DIR.")};
    }
    return {};
}

// Two inputs of one name (a/walk.png, b/walk.bmp) would have their cells written to the
// same files.
Result<void> checkCellNamesApart(const QStringList& inputs)
{
    QHash<QString, QString> named;
    for (const QString& input : inputs) {
        const QString name = QFileInfo(input).completeBaseName();
        if (const auto earlier = named.constFind(name); earlier != named.cend())
            return Failure{normalPath(*earlier) == normalPath(input)
                               ? QStringLiteral("%1 is given more than once.").arg(input)
                               : QStringLiteral("%1 and %2 would both have their cells written as %3_r…_c….")
                                     .arg(*earlier, input, name)};
        named.insert(name, input);
    }
    return {};
}

// --join's output is no input, and its inputs have the first one's size as their headers
// state it. A header that cannot be read is left for the run to report, as any input
// that cannot be read.
Result<void> checkJoin(const Job& job)
{
    if (job.output != kStandardStream) {
        if (const auto apart = checkNoOutputOverInput(job.inputs, {job.output}); !apart)
            return apart;
    }
    const auto size = ops::commonFrameSize(job.inputs);
    if (!size) {
        if (size.error().sizeDiffers)
            return Failure{QStringLiteral("--join: %1: %2").arg(size.error().file, size.error().reason)};
        return {};
    }
    const auto layout = ops::frameLayout(int(job.inputs.size()), *job.join, *size);
    if (!layout)
        return Failure{QStringLiteral("--join %1: %2").arg(*job.join).arg(layout.error())};
    return {};
}

// --detect only looks: it fails on the first option given that would write or change a
// sheet.
Result<void> checkAloneWithDetect(const QCommandLineParser& parser)
{
    QStringList names;
    for (const ops::Operation* operation : ops::operationTable())
        names.append(operation->option.name);
    names += {kSpriteSize, kGrid,         kTolerance, kPalette, kOutput,   kOutDir, kInPlace,
              kFormat,     kSkipExisting, kGif,       kFps,     kPingPong, kJoin,   kSplit};
    for (const QString& name : names) {
        if (parser.isSet(name))
            return Failure{QStringLiteral("--detect only prints each input's grid and writes no file; it cannot be "
                                          "used together with %1.")
                               .arg(name == kOutput ? QStringLiteral("-o") : QStringLiteral("--") + name)};
    }
    return {};
}

// The options of the operations that read a shared setting (`reads`), and whether any is
// given: the setting does nothing without one.
struct SettingReaders {
    QStringList options;
    bool given = false;
};

SettingReaders settingReaders(const QCommandLineParser& parser, bool ops::Operation::*reads)
{
    SettingReaders readers;
    for (const ops::Operation* operation : ops::operationTable()) {
        if (operation->*reads) {
            readers.options.append(QStringLiteral("--") + operation->option.name);
            readers.given = readers.given || parser.isSet(operation->option.name);
        }
    }
    return readers;
}

CommandLine usageError(QString text)
{
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.text = std::move(text);
    return line;
}

} // namespace

QString Job::outputFor(const QString& input) const
{
    if (inPlace)
        return input;
    if (!output.isEmpty())
        return output;
    const QString suffix = gif ? QStringLiteral("gif") : image::formatSuffix(format);
    return QDir(outDir).filePath(QFileInfo(input).completeBaseName() + u'.' + suffix);
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());

    CommandLine line;
    if (parser.isSet(kHelp)) {
        line.action = CommandLine::Action::Help;
        line.text = helpText(parser);
        return line;
    }
    if (parser.isSet(kVersion)) {
        line.action = CommandLine::Action::Version;
        return line;
    }

    for (const QString& single : {kOutput, kOutDir, kSpriteSize, kGrid, kFormat, kJobs, kGif, kFps, kJoin, kSplit,
                                  kTolerance, kKey, kAlphaThreshold, kPalette}) {
        if (parser.values(single).size() > 1)
            return usageError(QStringLiteral("--%1 is given more than once.").arg(single));
    }

    Job& job = line.job;
    job.inputs = parser.positionalArguments();
    if (job.inputs.isEmpty()) {
        // An operation's value forgotten takes the only input: its reading says so.
        const auto steps = readSteps(parser, job);
        return usageError(steps ? QStringLiteral("No input files.") : steps.error());
    }
    if (job.inputs.contains(kStandardStream) && job.inputs.size() > 1)
        return usageError(QStringLiteral("- (standard input) must be the only input."));
    job.detect = parser.isSet(kDetect);
    if (job.detect) {
        if (const auto alone = checkAloneWithDetect(parser); !alone)
            return usageError(alone.error());
    } else if (const auto gif = readGif(parser, job); !gif) {
        return usageError(gif.error());
    } else if (const auto destination = readDestination(parser, job); !destination) {
        return usageError(destination.error());
    } else if (const auto frames = readFrameOptions(parser, job); !frames) {
        return usageError(frames.error());
    }
    job.skipExisting = parser.isSet(kSkipExisting);
    job.quiet = parser.isSet(kQuiet);

    if (parser.isSet(kJobs)) {
        const auto jobs = readJobs(parser.value(kJobs));
        if (!jobs)
            return usageError(jobs.error());
        job.jobs = *jobs;
    }
    if (parser.isSet(kSpriteSize)) {
        const auto size = readCellSize(parser.value(kSpriteSize));
        if (!size)
            return usageError(size.error());
        if (const SettingReaders readers = settingReaders(parser, &ops::Operation::readsSpriteSize); !readers.given)
            return usageError(QStringLiteral("--sprite-size is the cell size of %1 and does nothing without it.")
                                  .arg(readers.options.join(QStringLiteral(" or "))));
        job.spriteSize = *size;
    }
    if (parser.isSet(kGrid)) {
        const auto grid = readGrid(kGrid, parser.value(kGrid));
        if (!grid)
            return usageError(grid.error());
        job.grid = *grid;
    }
    if (parser.isSet(kTolerance)) {
        if (const SettingReaders readers = settingReaders(parser, &ops::Operation::readsTolerance); !readers.given)
            return usageError(QStringLiteral("--tolerance is the tolerance of %1 and does nothing without it.")
                                  .arg(readers.options.join(QStringLiteral(" or "))));
    }
    if (const auto key = readKey(parser, job); !key)
        return usageError(key.error());

    if (const auto steps = readSteps(parser, job); !steps)
        return usageError(steps.error());

    if (job.join) {
        if (const auto joinable = checkJoin(job); !joinable)
            return usageError(joinable.error());
    } else if (job.split) {
        if (const auto apart = checkCellNamesApart(job.inputs); !apart)
            return usageError(apart.error());
        if (job.splitGrid) {
            for (const QString& input : job.inputs) {
                const auto apart = checkNoCellOverInput(job.inputs, job.outDir, input, int(job.splitGrid->rows),
                                                        int(job.splitGrid->columns), image::formatSuffix(job.format));
                if (!apart)
                    return usageError(apart.error());
            }
        }
    } else if (!job.detect) {
        QStringList outputs;
        for (const QString& input : job.inputs)
            outputs.append(job.outputFor(input));
        if (const auto distinct = checkDistinctOutputs(job.inputs, outputs); !distinct)
            return usageError(distinct.error());
        if (!job.inPlace && job.output != kStandardStream) {
            if (const auto apart = checkNoOutputOverInput(job.inputs, outputs); !apart)
                return usageError(apart.error());
        }
    }

    line.action = CommandLine::Action::Run;
    return line;
}

} // namespace batch
