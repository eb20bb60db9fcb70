// SPDX-License-Identifier: MIT
#include "batch_job.h"

#include "colour_text.h"
#include "operations/npc_conversion.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <optional>

namespace batch {

namespace {

const QString kOutput = QStringLiteral("output");
const QString kOutDir = QStringLiteral("out-dir");
const QString kSpriteSize = QStringLiteral("sprite-size");
const QString kNpc = QStringLiteral("npc");
const QString kNegative = QStringLiteral("negative");
const QString kRearrange = QStringLiteral("rearrange");
const QString kReplace = QStringLiteral("replace");
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");

const QString kUsageLine = QStringLiteral("Usage: pixmold-batch [options] INPUT... (-o OUTPUT | --out-dir DIR)");

void describe(QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setApplicationDescription(
        QStringLiteral("Runs Pixmold's sheet operations on picture files and writes the results as BMP files.\n"
                       "Operations run in the order given. Answers are read as the window reads the same\n"
                       "typed answers; a count that reads as 0 counts as 1."));
    parser.addOptions({
        {{QStringLiteral("o"), kOutput},
         QStringLiteral("Write the result to OUTPUT (one input only)."),
         QStringLiteral("OUTPUT")},
        {kOutDir, QStringLiteral("Write each result to DIR/<input name>.bmp; DIR is made if missing."),
         QStringLiteral("DIR")},
        {kNpc, QStringLiteral("Rescale every cell to the sprite size, pure black to near-black."),
         QStringLiteral("SPRITES,COLUMNS")},
        {kSpriteSize, QStringLiteral("The cell size for --npc (default 24x48)."), QStringLiteral("WxH")},
        {kNegative, QStringLiteral("Follow each column by its two-colour negative."), QStringLiteral("COLUMNS")},
        {kRearrange, QStringLiteral("New order of the rows, e.g. 3,1,4,2."), QStringLiteral("ORDER")},
        {kReplace, QStringLiteral("Replace one exact colour, e.g. '#ff0000:#0000ff' or 255,0,0:0,0,255."),
         QStringLiteral("FROM:TO")},
        {{QStringLiteral("h"), kHelp}, QStringLiteral("Show this help.")},
        {{QStringLiteral("v"), kVersion}, QStringLiteral("Show the version.")},
    });
    parser.addPositionalArgument(QStringLiteral("INPUT"),
                                 QStringLiteral("Pictures to convert: BMP, or any format Qt reads."),
                                 QStringLiteral("INPUT..."));
}

QString helpText(const QCommandLineParser& parser)
{
    // Qt's first line names the program as it was started; show the whole synopsis.
    QString text = parser.helpText();
    const qsizetype end = text.indexOf(u'\n');
    return kUsageLine + (end < 0 ? QString(u'\n') : text.sliced(end));
}

bool isStepOption(const QString& name)
{
    return name == kNpc || name == kNegative || name == kRearrange || name == kReplace;
}

bool takesValue(const QString& name)
{
    return name == QLatin1String("o") || name == kOutput || name == kOutDir || name == kSpriteSize
        || isStepOption(name);
}

// The step options in the order they were typed. The parser keeps each option's
// values in order but not the order between options, so the arguments are walked
// again the way the parser walked them: "--" ends the options, a long option without
// "=" takes the next argument as its value whatever it looks like, and a group of
// short options ends at the first one that takes a value.
QStringList stepOrder(const QStringList& arguments)
{
    QStringList order;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1String("--"))) {
            const qsizetype equals = argument.indexOf(u'=');
            const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
            if (equals < 0 && takesValue(name))
                ++i;
            if (isStepOption(name))
                order.append(name);
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            for (qsizetype j = 1; j < argument.size(); ++j) {
                if (takesValue(QString(argument[j]))) {
                    if (j + 1 == argument.size())
                        ++i;
                    break;
                }
            }
        }
    }
    return order;
}

std::optional<Step> readStep(const QString& name, const QString& value, QString& error)
{
    Step step;
    step.option = QStringLiteral("--%1 %2").arg(name, value);
    if (name == kNpc) {
        const QStringList answers = value.split(u',');
        const auto sprites = answers.size() == 2 ? ops::readCountAnswer(answers[0]) : std::nullopt;
        const auto columns = answers.size() == 2 ? ops::readCountAnswer(answers[1]) : std::nullopt;
        if (!sprites || !columns) {
            error = QStringLiteral("--npc %1: Give the sprite count and the column count, e.g. --npc 4,8.").arg(value);
            return std::nullopt;
        }
        step.action = NpcStep{*sprites, *columns};
    } else if (name == kNegative) {
        const auto columns = ops::readCountAnswer(value);
        if (!columns) {
            error = QStringLiteral("--negative: Give the number of animation columns, e.g. --negative 8.");
            return std::nullopt;
        }
        step.action = NegativeStep{*columns};
    } else if (name == kRearrange) {
        if (value.isEmpty()) {
            error = QStringLiteral("--rearrange: Give the new order of the rows, e.g. --rearrange 3,1,4,2.");
            return std::nullopt;
        }
        step.action = RearrangeStep{value};
    } else {
        const QStringList colours = value.split(u':');
        const auto from = colours.size() == 2 ? readColourText(colours[0]) : std::nullopt;
        const auto to = colours.size() == 2 ? readColourText(colours[1]) : std::nullopt;
        if (!from || !to) {
            error = QStringLiteral("--replace %1: Give two colours as FROM:TO, each #rrggbb or r,g,b, "
                                   "e.g. '#ff0000:#0000ff'.")
                        .arg(value);
            return std::nullopt;
        }
        step.action = ReplaceStep{*from, *to};
    }
    return step;
}

std::optional<settings::SpriteSize> readCellSize(const QString& value, QString& error)
{
    const QStringList sides = value.split(u'x', Qt::KeepEmptyParts, Qt::CaseInsensitive);
    if (sides.size() != 2) {
        error = QStringLiteral("--sprite-size %1: Give the cell size as WxH, e.g. 24x48.").arg(value);
        return std::nullopt;
    }
    const auto read = settings::readSpriteSize(sides[0], sides[1]);
    if (const QString* problem = std::get_if<QString>(&read)) {
        error = QStringLiteral("--sprite-size %1: %2").arg(value, *problem);
        return std::nullopt;
    }
    const auto size = std::get<settings::SpriteSize>(read);
    if (ops::spriteSizeProblem(size)) {
        error = QStringLiteral("--sprite-size %1: A cell must be at least 1x1 pixels.").arg(value);
        return std::nullopt;
    }
    return size;
}

QString normalPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Two inputs written to one file would leave whichever was done last. (An input can
// only be another's output if it is its own output too, so this covers that as well.)
QString clashingOutputs(const Job& job)
{
    QHash<QString, QString> writer;
    for (const QString& input : job.inputs) {
        const QString output = normalPath(job.outputFor(input));
        if (const auto earlier = writer.constFind(output); earlier != writer.cend()) {
            if (normalPath(*earlier) == normalPath(input))
                return QStringLiteral("%1 is given more than once.").arg(input);
            return QStringLiteral("%1 and %2 would both be written to %3.").arg(*earlier, input, job.outputFor(input));
        }
        writer.insert(output, input);
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
    if (!output.isEmpty())
        return output;
    return QDir(outDir).filePath(QFileInfo(input).completeBaseName() + QStringLiteral(".bmp"));
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
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

    for (const QString& single : {kOutput, kOutDir, kSpriteSize}) {
        if (parser.values(single).size() > 1)
            return usageError(QStringLiteral("--%1 is given more than once.").arg(single));
    }

    Job& job = line.job;
    job.inputs = parser.positionalArguments();
    if (job.inputs.isEmpty())
        return usageError(QStringLiteral("No input files."));

    const bool toFile = parser.isSet(kOutput);
    const bool toFolder = parser.isSet(kOutDir);
    if (toFile && toFolder)
        return usageError(QStringLiteral("-o and --out-dir cannot be used together."));
    if (!toFile && !toFolder)
        return usageError(QStringLiteral("Say where to write: -o OUTPUT for one input, or --out-dir DIR."));
    if (toFile && job.inputs.size() > 1)
        return usageError(
            QStringLiteral("-o takes one input, not %1; use --out-dir DIR for several.").arg(job.inputs.size()));
    job.output = parser.value(kOutput);
    job.outDir = parser.value(kOutDir);
    if (toFile && job.output.isEmpty())
        return usageError(QStringLiteral("-o needs a file name."));
    if (toFolder && job.outDir.isEmpty())
        return usageError(QStringLiteral("--out-dir needs a folder name."));

    QString error;
    if (parser.isSet(kSpriteSize)) {
        const auto size = readCellSize(parser.value(kSpriteSize), error);
        if (!size)
            return usageError(error);
        job.spriteSize = *size;
    }

    QHash<QString, qsizetype> taken;
    for (const QString& name : stepOrder(arguments)) {
        const QStringList values = parser.values(name);
        const qsizetype index = taken[name]++;
        // Both walks read the same arguments; a mismatch is a fault of this code.
        if (index >= values.size())
            return usageError(QStringLiteral("The order of the operations could not be read."));
        const auto step = readStep(name, values[index], error);
        if (!step)
            return usageError(error);
        job.steps.push_back(*step);
    }
    for (const QString& name : {kNpc, kNegative, kRearrange, kReplace}) {
        if (taken.value(name) != parser.values(name).size())
            return usageError(QStringLiteral("The order of the operations could not be read."));
    }

    if (const QString clash = clashingOutputs(job); !clash.isEmpty())
        return usageError(clash);

    line.action = CommandLine::Action::Run;
    return line;
}

} // namespace batch
