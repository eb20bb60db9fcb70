// SPDX-License-Identifier: MIT
#include "batch_job.h"

#include "batch_help.h"
#include "image/animated_gif.h"
#include "image/surface.h"
#include "image/palette_file.h"
#include "input_guard.h"
#include "operations/colour_text.h"
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

Step readStep(const ops::Operation& operation, const QString& value, QString& error)
{
    Step step;
    if (!operation.readsTolerance)
        step.option = QStringLiteral("--%1 %2").arg(operation.option.name, value);
    else if (value.isEmpty())
        step.option = QStringLiteral("--%1").arg(operation.option.name);
    else
        step.option = QStringLiteral("--%1 --%2 %3").arg(operation.option.name, kTolerance, value);
    step.operation = &operation;
    auto read = operation.option.read(value);
    if (read)
        step.answers = *std::move(read);
    else
        error = read.error();
    return step;
}

// The steps in the order given; false with the reason at the first that cannot be read.
bool readSteps(const QCommandLineParser& parser, Job& job, QString& error)
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
        job.steps.push_back(readStep(*operation, value, error));
        if (!error.isEmpty())
            return false;
    }
    return true;
}

// Each side must be a number in strict reading; it is then floored as the Options panel
// floors it. The panel stores any height a qint16 holds, but the conversion takes only
// cells of at least 1x1, so the range stated is the one that works.
std::optional<settings::SpriteSize> readCellSize(const QString& value, QString& error)
{
    const QStringList sides = value.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (sides.size() != 2) {
        error = QStringLiteral("--sprite-size %1: Give the cell size as WxH, e.g. 24x48.").arg(value);
        return std::nullopt;
    }
    double floored[2] = {};
    for (int i = 0; i < 2; ++i) {
        const auto number = settings::readStrictNumber(sides[i]);
        if (!number) {
            error = QStringLiteral("--sprite-size %1: '%2' is not a number; give the cell size as WxH, e.g. 24x48.")
                        .arg(value, sides[i].trimmed());
            return std::nullopt;
        }
        floored[i] = std::floor(*number);
    }
    if (!(floored[0] >= 1 && std::isfinite(floored[0]))) {
        error = QStringLiteral("--sprite-size %1: The cell width must be a finite number of at least 1; '%2' is not.")
                    .arg(value, sides[0].trimmed());
        return std::nullopt;
    }
    if (!(floored[1] >= 1 && floored[1] <= std::numeric_limits<qint16>::max())) {
        error = QStringLiteral("--sprite-size %1: The cell height must be from 1 to %2; '%3' is not.")
                    .arg(value)
                    .arg(std::numeric_limits<qint16>::max())
                    .arg(sides[1].trimmed());
        return std::nullopt;
    }
    return settings::SpriteSize{floored[0], qint16(floored[1])};
}

// Rows and columns as whole numbers from 1 up, blanks around each allowed.
std::optional<ops::CellGrid> readGrid(const QString& value, QString& error)
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
        error = QStringLiteral("--grid %1: Give the grid as ROWSxCOLUMNS, two whole numbers from 1 up, e.g. 4x8.")
                    .arg(value);
        return std::nullopt;
    }
    return ops::CellGrid{read[0], read[1]};
}

// "bmp8" is BMP written 8 bits a pixel.
const QString kIndexedFormat = QStringLiteral("bmp8");

std::optional<image::PictureFormat> readFormat(const QString& value, QString& error)
{
    if (value.compare(kIndexedFormat, Qt::CaseInsensitive) == 0)
        return image::PictureFormat::Bmp;
    if (const auto format = image::formatForSuffix(value))
        return format;
    error = QStringLiteral("--format %1: Give bmp, bmp8 or png.").arg(value);
    return std::nullopt;
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

QString colourText(image::Colour colour)
{
    return QStringLiteral("#%1").arg(image::toPixel(colour) & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// The key colour and what gives it: --key, --alpha-threshold, and entry 0 of --palette
// (which needs --format bmp8); the palette itself. Fills the job; the reason on failure.
QString readKey(const QCommandLineParser& parser, Job& job)
{
    if (parser.isSet(kKey)) {
        const auto key = ops::readColourText(parser.value(kKey));
        if (!key)
            return QStringLiteral("--key %1: Give the key colour as #rrggbb or r,g,b, e.g. '#ff00ff'.")
                .arg(parser.value(kKey));
        job.key.key = *key;
    }
    if (parser.isSet(kAlphaThreshold)) {
        const auto threshold = readWholeNumber(parser.value(kAlphaThreshold), 1, 255);
        if (!threshold)
            return QStringLiteral("--alpha-threshold %1: Give a whole number from 1 to 255.")
                .arg(parser.value(kAlphaThreshold));
        job.key.threshold = *threshold;
    }
    if (!parser.isSet(kPalette))
        return {};
    if (!job.indexed)
        return QStringLiteral("--palette is the table of 8-bit files and needs --format bmp8.");
    const Result<image::ColourTable> palette = image::readPaletteFile(parser.value(kPalette));
    if (!palette)
        return QStringLiteral("--palette %1").arg(palette.error());
    if (parser.isSet(kKey) && job.key.key != (*palette)[0])
        return QStringLiteral("--key %1 differs from the key the palette gives, its entry 0: %2.")
            .arg(parser.value(kKey), colourText((*palette)[0]));
    job.key.key = (*palette)[0];
    job.palette = *palette;
    return {};
}

std::optional<int> readJobs(const QString& value, QString& error)
{
    const auto jobs = readWholeNumber(value, 1, std::numeric_limits<int>::max());
    if (!jobs)
        error
            = QStringLiteral("--jobs %1: Give how many files to convert at once, a whole number from 1 up.").arg(value);
    return jobs;
}

// --gif ROW with --fps N and --ping-pong, which mean nothing without it. Fills the job;
// the reason on failure.
QString readGif(const QCommandLineParser& parser, Job& job)
{
    if (!parser.isSet(kGif)) {
        for (const QString& name : {kFps, kPingPong}) {
            if (parser.isSet(name))
                return QStringLiteral("--%1 is for --gif and does nothing without it.").arg(name);
        }
        return {};
    }
    GifRow gif;
    const auto row = readWholeNumber(parser.value(kGif), 1, std::numeric_limits<int>::max());
    if (!row)
        return QStringLiteral("--gif %1: Give the row to write, a whole number from 1 up (1 is the top row).")
            .arg(parser.value(kGif));
    gif.row = *row - 1;
    if (parser.isSet(kFps)) {
        const auto fps = readWholeNumber(parser.value(kFps), image::kMinFramesPerSecond, image::kMaxFramesPerSecond);
        if (!fps)
            return QStringLiteral("--fps %1: Give the frames per second, a whole number from %2 to %3.")
                .arg(parser.value(kFps))
                .arg(image::kMinFramesPerSecond)
                .arg(image::kMaxFramesPerSecond);
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
QString clashingOutputs(const QStringList& inputs, const QStringList& outputs)
{
    QHash<QString, QString> writer;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString& input = inputs[i];
        const QString output = normalPath(outputs[i]);
        if (const auto earlier = writer.constFind(output); earlier != writer.cend()) {
            if (normalPath(*earlier) == normalPath(input))
                return QStringLiteral("%1 is given more than once.").arg(input);
            return QStringLiteral("%1 and %2 would both be written to %3.").arg(*earlier, input, outputs[i]);
        }
        writer.insert(output, input);
    }
    return {};
}

// Where the results go: one of -o, --out-dir and --in-place, and the format of each.
// Fills the job; the reason on failure.
QString readDestination(const QCommandLineParser& parser, Job& job)
{
    const bool toFile = parser.isSet(kOutput);
    const bool toFolder = parser.isSet(kOutDir);
    const bool inPlace = parser.isSet(kInPlace);
    if (toFile && toFolder)
        return QStringLiteral("-o and --out-dir cannot be used together.");
    if (inPlace && (toFile || toFolder))
        return QStringLiteral("--in-place cannot be used together with %1.")
            .arg(toFile ? QStringLiteral("-o") : QStringLiteral("--out-dir"));
    if (!toFile && !toFolder && !inPlace)
        return QStringLiteral("Say where to write: -o OUTPUT for one input, --out-dir DIR, or --in-place.");
    if (parser.isSet(kSkipExisting) && inPlace)
        return QStringLiteral("--skip-existing cannot be used together with --in-place.");
    if (job.gif && inPlace)
        return QStringLiteral("--in-place cannot be used together with --gif, which writes a GIF instead of the "
                              "sheet.");
    if (job.gif && parser.isSet(kFormat))
        return QStringLiteral("--format cannot be used together with --gif, which writes GIF files.");

    std::optional<image::PictureFormat> format;
    QString error;
    if (parser.isSet(kFormat) && !(format = readFormat(parser.value(kFormat), error)))
        return error;

    const bool fromStdin = job.inputs.contains(kStandardStream);
    if (fromStdin && !toFile)
        return QStringLiteral("Standard input (-) needs -o OUTPUT.");
    if (toFile && job.inputs.size() > 1)
        return QStringLiteral("-o takes one input, not %1; use --out-dir DIR for several.").arg(job.inputs.size());

    job.output = parser.value(kOutput);
    job.outDir = parser.value(kOutDir);
    job.inPlace = inPlace;
    job.format = format.value_or(image::PictureFormat::Bmp);
    job.indexed = format && parser.value(kFormat).compare(kIndexedFormat, Qt::CaseInsensitive) == 0;
    if (toFile && job.output.isEmpty())
        return QStringLiteral("-o needs a file name.");
    if (toFolder && job.outDir.isEmpty())
        return QStringLiteral("--out-dir needs a folder name.");

    // Every file written is in the format its name says.
    QStringList named;
    if (toFile && job.output != kStandardStream)
        named.append(job.output);
    if (inPlace)
        named = job.inputs;
    for (const QString& name : named) {
        if (job.gif) {
            if (!name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
                return QStringLiteral("-o %1: Give a name ending in .gif with --gif.").arg(name);
            continue;
        }
        const auto asked = image::formatForName(name);
        if (!asked)
            return QStringLiteral("%1 %2: Give a name ending in .bmp or .png (the formats written).")
                .arg(inPlace ? QStringLiteral("--in-place") : QStringLiteral("-o"), name);
        if (format && *format != *asked)
            return QStringLiteral("--format %1 disagrees with %2, which names a %3 file.")
                .arg(parser.value(kFormat), name, image::formatSuffix(*asked).toUpper());
    }
    return {};
}

// --detect only looks: the first option given that would write or change a sheet.
QString notWithDetect(const QCommandLineParser& parser)
{
    QStringList names;
    for (const ops::Operation* operation : ops::operationTable())
        names.append(operation->option.name);
    names += {kSpriteSize, kGrid,   kTolerance,    kPalette, kOutput, kOutDir,
              kInPlace,    kFormat, kSkipExisting, kGif,     kFps,    kPingPong};
    for (const QString& name : names) {
        if (parser.isSet(name))
            return name == kOutput ? QStringLiteral("-o") : QStringLiteral("--") + name;
    }
    return {};
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

    for (const QString& single : {kOutput, kOutDir, kSpriteSize, kGrid, kFormat, kJobs, kGif, kFps, kTolerance, kKey,
                                  kAlphaThreshold, kPalette}) {
        if (parser.values(single).size() > 1)
            return usageError(QStringLiteral("--%1 is given more than once.").arg(single));
    }

    Job& job = line.job;
    job.inputs = parser.positionalArguments();
    if (job.inputs.isEmpty()) {
        // An operation's value forgotten takes the only input: its reading says so.
        QString error;
        return usageError(readSteps(parser, job, error) ? QStringLiteral("No input files.") : error);
    }
    if (job.inputs.contains(kStandardStream) && job.inputs.size() > 1)
        return usageError(QStringLiteral("- (standard input) must be the only input."));
    job.detect = parser.isSet(kDetect);
    if (job.detect) {
        if (const QString other = notWithDetect(parser); !other.isEmpty())
            return usageError(
                QStringLiteral("--detect only prints each input's grid and writes no file; it cannot be used "
                               "together with %1.")
                    .arg(other));
    } else if (const QString problem = readGif(parser, job); !problem.isEmpty()) {
        return usageError(problem);
    } else if (const QString unplaced = readDestination(parser, job); !unplaced.isEmpty()) {
        return usageError(unplaced);
    }
    job.skipExisting = parser.isSet(kSkipExisting);
    job.quiet = parser.isSet(kQuiet);

    QString error;
    if (parser.isSet(kJobs)) {
        const auto jobs = readJobs(parser.value(kJobs), error);
        if (!jobs)
            return usageError(error);
        job.jobs = *jobs;
    }
    if (parser.isSet(kSpriteSize)) {
        const auto size = readCellSize(parser.value(kSpriteSize), error);
        if (!size)
            return usageError(error);
        QStringList readers;
        bool read = false;
        for (const ops::Operation* operation : ops::operationTable()) {
            if (operation->readsSpriteSize) {
                readers.append(QStringLiteral("--") + operation->option.name);
                read = read || parser.isSet(operation->option.name);
            }
        }
        if (!read)
            return usageError(QStringLiteral("--sprite-size is the cell size of %1 and does nothing without it.")
                                  .arg(readers.join(QStringLiteral(" or "))));
        job.spriteSize = *size;
    }
    if (parser.isSet(kGrid)) {
        job.grid = readGrid(parser.value(kGrid), error);
        if (!job.grid)
            return usageError(error);
    }
    if (parser.isSet(kTolerance)) {
        QStringList readers;
        bool read = false;
        for (const ops::Operation* operation : ops::operationTable()) {
            if (operation->readsTolerance) {
                readers.append(QStringLiteral("--") + operation->option.name);
                read = read || parser.isSet(operation->option.name);
            }
        }
        if (!read)
            return usageError(QStringLiteral("--tolerance is the tolerance of %1 and does nothing without it.")
                                  .arg(readers.join(QStringLiteral(" or "))));
    }
    if (const QString problem = readKey(parser, job); !problem.isEmpty())
        return usageError(problem);

    if (!readSteps(parser, job, error))
        return usageError(error);

    if (!job.detect) {
        QStringList outputs;
        for (const QString& input : job.inputs)
            outputs.append(job.outputFor(input));
        if (const QString clash = clashingOutputs(job.inputs, outputs); !clash.isEmpty())
            return usageError(clash);
        if (!job.inPlace && job.output != kStandardStream) {
            if (const QString over = outputOverInput(job.inputs, outputs); !over.isEmpty())
                return usageError(over);
        }
    }

    line.action = CommandLine::Action::Run;
    return line;
}

} // namespace batch
