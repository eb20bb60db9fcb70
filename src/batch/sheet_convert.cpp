// SPDX-License-Identifier: MIT
#include "sheet_convert.h"

#include "guessed_grid.h"
#include "image/picture_format.h"
#include "image/picture_read.h"
#include "operations/progress.h"
#include "standard_input.h"

#include <QFile>

#include <cstdio>
#include <new>

namespace batch {

namespace {

const QString kStandardOutputName = QStringLiteral("standard output");

Result<image::PictureRead> readInput(const QString& input)
{
    return input == kStandardStream ? readStandardInput() : image::readPicture(input);
}

// The picture goes out whole or not at all: it is encoded before the first byte is
// written, so a failure leaves standard output empty.
Result<void> writeOutput(const image::Surface& sheet, const QString& output, image::PictureFormat format)
{
    if (output != kStandardStream)
        return image::writePicture(sheet, output, format);
    const auto encoded = image::encodePicture(sheet, format);
    if (!encoded)
        return Failure{encoded.error()};
    const QByteArray& bytes = *encoded;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(bytes) != bytes.size())
        return Failure{QStringLiteral("The picture could not be written: %1").arg(out.errorString())};
    return {};
}

// Reads `input` into `sheet`; a failure says why it cannot be read.
Result<void> readSheet(const QString& input, image::Surface& sheet, QStringList& warnings)
{
    Result<image::PictureRead> read = readInput(input);
    if (!read)
        return Failure{read.error()};
    if (!read->warning.isEmpty())
        warnings.append(read->warning);
    if (read->droppedTransparency)
        warnings.append(QStringLiteral("The picture's transparency was dropped: every pixel is taken as opaque, "
                                       "with the colour it has."));
    sheet.assign(read->picture);
    // `read` lets go of the picture on return: the sheet's pixels are then its own
    // alone, and the steps write them in place.
    return {};
}

} // namespace

Result<void> applySteps(image::Surface& sheet, const Job& job, QStringList& warnings)
{
    // The steps' scratch surfaces live as long as the sheet's run, as the window's do.
    image::Surface scratch{image::rgb(0, 0, 0)};
    image::Surface scratch2{image::rgb(0, 0, 0)};
    ops::Sheets sheets{sheet, scratch, scratch2};
    ops::SilentProgress progress;
    ops::CellGrid implied; // by the steps so far
    for (const Step& given : job.steps) {
        const auto guessed = withGuessedCounts(given, sheet);
        if (!guessed)
            return Failure{QStringLiteral("%1: %2").arg(given.option, guessed.error())};
        const Step& step = *guessed;
        const ops::Operation& operation = *step.operation;
        for (const QString& warning : operation.option.warnings(step.answers, sheet.width(), sheet.height()))
            warnings.append(QStringLiteral("%1: %2").arg(step.option, warning));

        ops::OperationSettings settings{job.spriteSize, {}};
        if (operation.needsGrid)
            settings.grid = gridInForce(implied, job.grid, sheet);
        const ops::Outcome outcome = operation.run(sheets, step.answers, settings, progress);
        if (outcome.kind == ops::Outcome::Kind::Refused || outcome.kind == ops::Outcome::Kind::Failed)
            return Failure{QStringLiteral("%1: %2").arg(step.option, outcome.message)};
        implied = operation.gridAfter(step.answers, implied);
    }
    return {};
}

Result<QString> detectGrid(const QString& input, QStringList& warnings)
{
    try {
        // Read as convertFile reads it, so that `auto` sees the same grid.
        image::Surface sheet(image::kPictureBoxBackground);
        if (const auto read = readSheet(input, sheet, warnings); !read)
            return Failure{read.error()};
        return gridText(ops::guessGrid(sheet));
    } catch (const image::SurfaceError& error) {
        return Failure{QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return Failure{QStringLiteral("Not enough memory to read this picture.")};
    }
}

std::optional<FileError> convertFile(const Job& job, const QString& input, const QString& output, QStringList& warnings)
{
    const QString shownInput = inputName(input);
    try {
        // The working image's background: the negative shows it where a rounded strip
        // reaches past the sheet's right edge.
        image::Surface sheet(image::kPictureBoxBackground);
        if (const auto read = readSheet(input, sheet, warnings); !read)
            return FileError{shownInput, read.error()};

        if (const auto applied = applySteps(sheet, job, warnings); !applied)
            return FileError{shownInput, applied.error()};
        const image::PictureFormat format = image::formatForName(output).value_or(job.format);
        if (const auto written = writeOutput(sheet, output, format); !written)
            return FileError{output == kStandardStream ? kStandardOutputName : output, written.error()};
        return std::nullopt;
    } catch (const image::SurfaceError& error) {
        return FileError{shownInput, QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return FileError{shownInput, QStringLiteral("Not enough memory to convert this picture.")};
    }
}

} // namespace batch
