// SPDX-License-Identifier: MIT
#include "sheet_convert.h"

#include "guessed_grid.h"
#include "image/animated_gif.h"
#include "image/indexed_bitmap_save.h"
#include "image/picture_format.h"
#include "image/picture_read.h"
#include "image/replacing_save.h"
#include "operations/colour_text.h"
#include "operations/sheet_cells.h"
#include "operations/progress.h"
#include "standard_input.h"

#include <QFile>

#include <cstdio>
#include <new>

namespace batch {

namespace {

const QString kStandardOutputName = QStringLiteral("standard output");

Result<image::PictureRead> readInput(const QString& input, const image::TransparencyKey& key)
{
    return input == kStandardStream ? readStandardInput(key) : image::readPicture(input, key);
}

QString pixels(qint64 count)
{
    return count == 1 ? QStringLiteral("1 pixel") : QStringLiteral("%1 pixels").arg(count);
}

// The picture goes out whole or not at all: it is encoded before the first byte is
// written, so a failure leaves standard output empty.
Result<void> writeStandardOutput(const QByteArray& bytes)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(bytes) != bytes.size())
        return Failure{QStringLiteral("The picture could not be written: %1").arg(out.errorString())};
    return {};
}

} // namespace

// Gives the pixels that took the nearest palette entry.
Result<qint64> writeOutput(const image::Surface& sheet, const QString& output, image::PictureFormat format,
                           const Job& job)
{
    if (format == image::PictureFormat::Bmp && job.indexed) {
        if (output != kStandardStream)
            return image::writeIndexedBitmap(sheet, output, {job.key.key, job.palette});
        const Result<image::IndexedBytes> encoded = image::encodeIndexedBitmap(sheet, {job.key.key, job.palette});
        if (!encoded)
            return Failure{encoded.error()};
        if (const auto written = writeStandardOutput(encoded->bytes); !written)
            return Failure{written.error()};
        return encoded->moved;
    }
    if (output != kStandardStream) {
        if (const auto saved = image::writePicture(sheet, output, format); !saved)
            return Failure{saved.error()};
        return qint64(0);
    }
    const auto encoded = image::encodePicture(sheet, format);
    if (!encoded)
        return Failure{encoded.error()};
    if (const auto written = writeStandardOutput(*encoded); !written)
        return Failure{written.error()};
    return qint64(0);
}

namespace {

// The row --gif names, cut by the grid in force, written as an animated GIF; the
// reason it was not, about the input or, for a failed write, the output.
Result<void, FileError> writeGif(const image::Surface& sheet, const Job& job, const ops::CellGrid& implied,
                                 const QString& input, const QString& output)
{
    const QString option = QStringLiteral("--gif %1: ").arg(job.gif->row + 1);
    const ops::SheetCells cells(QSize(sheet.width(), sheet.height()), givenGrid(implied, job.grid, sheet));
    if (cells.isEmpty())
        return FileError{input,
                         option
                             + QStringLiteral("The sheet has no grid to take the row from: no operation implies "
                                              "one and none could be guessed; give one with --grid ROWSxCOLUMNS.")};
    if (job.gif->row >= cells.rowCount())
        return FileError{input, option + QStringLiteral("The sheet's grid has %1 rows.").arg(cells.rowCount())};
    const image::AnimatedRow row{cells.row(job.gif->row), job.key.key, job.gif->framesPerSecond, job.gif->pingPong};
    const auto encoded = image::encodeAnimatedGif(sheet, row);
    if (!encoded)
        return FileError{input, option + encoded.error()};
    const QByteArray& bytes = *encoded;
    const auto written
        = output == kStandardStream ? writeStandardOutput(bytes) : image::saveReplacing(output, [&](QFileDevice& file) {
              return image::writeAll(file, reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
          });
    if (!written)
        return FileError{output == kStandardStream ? kStandardOutputName : output, written.error()};
    return {};
}

} // namespace

QStringList readWarnings(const image::PictureRead& read, const image::TransparencyKey& key)
{
    QStringList warnings;
    if (!read.warning.isEmpty())
        warnings.append(read.warning);
    if (read.droppedTransparency)
        warnings.append(QStringLiteral("The picture's transparency was dropped: every pixel is taken as opaque, "
                                       "with the colour it has."));
    if (read.keyed.keyed > 0) {
        warnings.append(QStringLiteral("The picture's transparency became the key colour %1: %2 less opaque than "
                                       "%3 took it.")
                            .arg(ops::colourText(key.key), pixels(read.keyed.keyed))
                            .arg(key.threshold));
        if (read.keyed.alreadyKey > 0)
            warnings.append(QStringLiteral("Opaque pixels already of the key colour %1: %2; the engine will show them "
                                           "as transparent too.")
                                .arg(ops::colourText(key.key))
                                .arg(read.keyed.alreadyKey));
    }
    return warnings;
}

Result<void> readSheet(const QString& input, const image::TransparencyKey& key, image::Surface& sheet,
                       QStringList& warnings)
{
    Result<image::PictureRead> read = readInput(input, key);
    if (!read)
        return Failure{read.error()};
    warnings += readWarnings(*read, key);
    sheet.assign(read->picture);
    // `read` lets go of the picture on return: the sheet's pixels are then its own
    // alone, and the steps write them in place.
    return {};
}

Result<ops::CellGrid> applySteps(image::Surface& sheet, const Job& job, QStringList& warnings)
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

        ops::OperationSettings settings{job.spriteSize, {}, job.key.key};
        if (operation.needsGrid)
            settings.grid = gridInForce(implied, job.grid, sheet);
        const ops::Outcome outcome = operation.run(sheets, step.answers, settings, progress);
        if (outcome.kind == ops::Outcome::Kind::Refused || outcome.kind == ops::Outcome::Kind::Failed)
            return Failure{QStringLiteral("%1: %2").arg(step.option, outcome.message)};
        implied = operation.gridAfter(step.answers, implied);
    }
    return implied;
}

Result<QString> detectGrid(const QString& input, const image::TransparencyKey& key, QStringList& warnings)
{
    try {
        // Read as convertFile reads it, so that `auto` sees the same grid.
        image::Surface sheet(image::kPictureBoxBackground);
        if (const auto read = readSheet(input, key, sheet, warnings); !read)
            return Failure{read.error()};
        return gridText(ops::guessGrid(sheet));
    } catch (const image::SurfaceError& error) {
        return Failure{QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return Failure{QStringLiteral("Not enough memory to read this picture.")};
    }
}

Result<void, FileError> convertFile(const Job& job, const QString& input, const QString& output, QStringList& warnings)
{
    const QString shownInput = inputName(input);
    try {
        // The working image's background: the negative shows it where a rounded strip
        // reaches past the sheet's right edge.
        image::Surface sheet(image::kPictureBoxBackground);
        if (const auto read = readSheet(input, job.key, sheet, warnings); !read)
            return FileError{shownInput, read.error()};

        const Result<ops::CellGrid> implied = applySteps(sheet, job, warnings);
        if (!implied)
            return FileError{shownInput, implied.error()};
        if (job.gif)
            return writeGif(sheet, job, *implied, shownInput, output);
        const image::PictureFormat format = image::formatForName(output).value_or(job.format);
        const Result<qint64> written = writeOutput(sheet, output, format, job);
        if (!written)
            return FileError{output == kStandardStream ? kStandardOutputName : output, written.error()};
        if (*written > 0)
            warnings.append(
                QStringLiteral("%1 took the nearest colour of the palette, which lacks theirs.").arg(pixels(*written)));
        return {};
    } catch (const image::SurfaceError& error) {
        return FileError{shownInput, QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return FileError{shownInput, QStringLiteral("Not enough memory to convert this picture.")};
    }
}

} // namespace batch
