// SPDX-License-Identifier: MIT
#include "sheet_frames.h"

#include "cell_file_name.h"
#include "guessed_grid.h"
#include "operations/frame_files.h"
#include "operations/grid_guess.h"
#include "operations/progress.h"
#include "operations/sheet_split.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <new>

namespace batch {

namespace {

// The grid --split cuts by: the one given, else the grid in force; nullopt where there is
// none (auto, no step or --grid stating a side, and no guess).
std::optional<ops::CellGrid> splitGrid(const Job& job, const ops::CellGrid& implied, const image::Surface& sheet)
{
    if (job.splitGrid)
        return job.splitGrid;
    if (implied.rows > 0 || implied.columns > 0 || job.grid)
        return gridInForce(implied, job.grid, sheet);
    if (const auto guess = ops::guessGrid(sheet))
        return ops::CellGrid{double(guess->rows), double(guess->columns)};
    return std::nullopt;
}

bool isWhole(double count)
{
    return count >= 1 && count <= image::Surface::kMaxPixels && std::floor(count) == count;
}

// Writes each cell; on a failure removes the cells this run made, so that none is left
// of a sheet that was not split whole. The failure names the cell that was not written.
Result<void, FileError> writeCells(const Job& job, const QString& input, const image::Surface& sheet, int rows,
                                   int columns)
{
    const QString suffix = image::formatSuffix(job.format);
    QStringList made;
    image::Surface cell;
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            const QString name = cellFileName(job.outDir, input, row, column, rows, columns, suffix);
            const bool existed = QFileInfo::exists(name);
            if (existed && job.skipExisting)
                continue;
            ops::copyCell(sheet, rows, columns, row - 1, column - 1, cell);
            if (const auto saved = image::writePicture(cell, name, job.format); !saved) {
                for (const QString& written : made)
                    QFile::remove(written);
                return FileError{name, saved.error()};
            }
            if (!existed)
                made.append(name);
        }
    }
    return {};
}

} // namespace

Result<void, FileError> joinInputs(const Job& job, QStringList& warnings)
{
    const QString& first = job.inputs.first();
    try {
        const auto size = ops::commonFrameSize(job.inputs);
        if (!size)
            return FileError{size.error().file, size.error().reason};
        const auto layout = ops::frameLayout(int(job.inputs.size()), *job.join, *size);
        if (!layout)
            return FileError{first, QStringLiteral("--join %1: %2").arg(*job.join).arg(layout.error())};
        const ops::FrameLayout& frames = *layout;
        if (const int empty = frames.emptyCells())
            warnings.append(QStringLiteral("--join %1: The last row has empty cells (%2 of %1); they are filled with "
                                           "the key colour.")
                                .arg(frames.columns)
                                .arg(empty));

        // Each frame's own warnings name it: they are said under the first input.
        const ops::FrameReader read = [&](const QString& file) {
            Result<image::PictureRead> picture = image::readPicture(file, job.key);
            for (const QString& warning : picture ? readWarnings(*picture, job.key) : QStringList())
                warnings.append(file == first ? warning : QStringLiteral("%1: %2").arg(file, warning));
            return picture;
        };
        image::Surface sheet(image::kPictureBoxBackground);
        ops::SilentProgress progress;
        if (const auto joined = ops::joinFrameFiles(job.inputs, frames, job.key.key, read, sheet, progress); !joined)
            return FileError{joined.error().file, joined.error().reason};
        if (const auto stepped = applySteps(sheet, job, warnings); !stepped)
            return FileError{first, stepped.error()};
        const image::PictureFormat format = image::formatForName(job.output).value_or(job.format);
        if (const auto written = writeOutput(sheet, job.output, format, job); !written)
            return FileError{job.output == kStandardStream ? QStringLiteral("standard output") : job.output,
                             written.error()};
        return {};
    } catch (const image::SurfaceError& error) {
        return FileError{first, QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return FileError{first, QStringLiteral("Not enough memory to join these pictures.")};
    }
}

Result<void, FileError> splitFile(const Job& job, const QString& input, QStringList& warnings)
{
    try {
        image::Surface sheet(image::kPictureBoxBackground);
        if (const auto read = readSheet(input, job.key, sheet, warnings); !read)
            return FileError{input, read.error()};
        const auto stepped = applySteps(sheet, job, warnings);
        if (!stepped)
            return FileError{input, stepped.error()};

        const QString option
            = QStringLiteral("--split %1")
                  .arg(job.splitGrid ? QStringLiteral("%1x%2").arg(job.splitGrid->rows).arg(job.splitGrid->columns)
                                     : QStringLiteral("auto"));
        const auto grid = splitGrid(job, *stepped, sheet);
        if (!grid)
            return FileError{input,
                             QStringLiteral("%1: No grid could be guessed for this sheet; give "
                                            "--split ROWSxCOLUMNS or --grid instead.")
                                 .arg(option)};
        if (!isWhole(grid->rows) || !isWhole(grid->columns))
            return FileError{input,
                             QStringLiteral("%1: The grid in force, %2 x %3 cells, is not whole; give "
                                            "--split ROWSxCOLUMNS instead.")
                                 .arg(option)
                                 .arg(grid->rows)
                                 .arg(grid->columns)};
        const int rows = int(grid->rows);
        const int columns = int(grid->columns);
        if (const auto divided = ops::checkSplit(sheet, rows, columns); !divided)
            return FileError{input, QStringLiteral("%1: %2").arg(option, divided.error())};
        if (!job.splitGrid) {
            const auto apart
                = checkNoCellOverInput(job.inputs, job.outDir, input, rows, columns, image::formatSuffix(job.format));
            if (!apart)
                return FileError{input, apart.error()};
        }
        return writeCells(job, input, sheet, rows, columns);
    } catch (const image::SurfaceError& error) {
        return FileError{input, QString::fromUtf8(error.what())};
    } catch (const std::bad_alloc&) {
        return FileError{input, QStringLiteral("Not enough memory to split this picture.")};
    }
}

} // namespace batch
