// SPDX-License-Identifier: MIT
#include "npc_conversion.h"

#include "colour_bits.h"
#include "result_size.h"
#include "image/pixel_round.h"
#include "image/raster.h"
#include "image/row_loop.h"
#include "scratch_surface.h"
#include "settings/number_text.h"

#include <QVarLengthArray>

#include <cmath>
#include <new>

namespace ops {

namespace {

constexpr QRgb kNearBlack = image::rgb(20, 20, 20).pixel();

// Cells stretched in one go: enough for a row of a large sheet, without holding
// memory for absurd column counts.
constexpr int kCellGroup = 256;

PIXMOLD_ROW_LOOP void replaceBlack(QRgb* line, int width)
{
    for (int x = 0; x < width; ++x)
        line[x] = (line[x] & kColourBits) == 0 ? kNearBlack : line[x];
}

// Whether the cells along one direction fill the new sheet's `newSize` pixels, each
// reading a source range wholly inside the sheet's `sheetSize`.
bool cellsCover(double last, double cell, int newSize, float source, int fromSize, int sheetSize)
{
    if (last < 0)
        return false;
    const double lastCell = std::floor(last);
    return (lastCell + 1) * cell == newSize
        && qint64(image::roundToPixel(float(lastCell) * source)) + fromSize <= sheetSize;
}

} // namespace

Result<void> checkSpriteSize(settings::SpriteSize size)
{
    if (!(size.width >= 1) || size.height < 1)
        return Failure{QStringLiteral("The sprite size must be at least 1 x 1 pixels. "
                                      "Set it under File > Options.")};
    return {};
}

void replacePureBlack(image::Surface& sheet, Progress& progress)
{
    for (int y = 0; y < sheet.height(); ++y) {
        replaceBlack(sheet.row(y), sheet.width());
        progress.tick();
    }
}

Outcome convertToNpc(image::Surface& work, image::Surface& scratch, image::Surface& scratch2,
                     const CountAnswer& sprites, const CountAnswer& columns, settings::SpriteSize size,
                     Progress& progress)
{
    if (const auto checked = checkSpriteSize(size); !checked)
        return Outcome::refused(checked.error());

    // An empty or absurd sheet is refused before anything changes; without both strict
    // readings the steps below fail on the type mismatch instead.
    if (sprites.strict && columns.strict) {
        if (const auto checked = checkResultSize(*columns.strict * size.width, *sprites.strict * size.height); !checked)
            return Outcome::refused(checked.error());
    }

    progress.reached(0);
    try {
        // The cell size of the sheet as it is now, held in single precision.
        const float sourceWidth = float(double(work.width()) / columns.numeric);
        const float sourceHeight = float(double(work.height()) / sprites.numeric);

        if (!sprites.strict)
            return Outcome::failed(settings::typeMismatchText());
        const double rows = *sprites.strict;
        const int newHeight = image::roundToPixel(rows * size.height);
        if (!columns.strict) {
            // The new sheet's height is set before the column count is looked at.
            scratch.setHeight(newHeight);
            return Outcome::failed(settings::typeMismatchText());
        }
        const int newWidth = image::roundToPixel(*columns.strict * size.width);

        const double lastRow = rows - 1;
        const double lastColumn = columns.numeric - 1;
        const int cellWidth = image::roundToPixel(size.width);
        const int fromWidth = image::roundToPixel(sourceWidth);
        const int fromHeight = image::roundToPixel(sourceHeight);
        // Pixels no cell writes are black, except that a scratch already of the new size
        // keeps what it holds under cells that read nothing. Where every pixel gets
        // written, there is nothing to clear first.
        const bool covered = cellsCover(lastColumn, size.width, newWidth, sourceWidth, fromWidth, work.width())
            && cellsCover(lastRow, size.height, newHeight, sourceHeight, fromHeight, work.height());
        if (covered && fromWidth > 0 && fromHeight > 0)
            scratch.resizeUnfilled(newWidth, newHeight);
        else if (!covered || scratch.width() != newWidth || scratch.height() != newHeight)
            blankScratch(scratch, newWidth, newHeight, progress);

        // Both loops run only when a cell fits in the new sheet, so its sizes fit an int.
        if (lastColumn >= 0) {
            // Cells already of their size are copied as they are; same pixels, at memory speed.
            const bool sameSize = fromWidth == cellWidth && fromHeight == size.height;
            // Cells to be stretched wait in groups, so that a row of them is read from the
            // sheet row after row rather than cell by cell.
            QVarLengthArray<int, kCellGroup> groupX, groupFromX;
            for (double r = 0; r <= lastRow; ++r) {
                const int y = image::roundToPixel(r * size.height);
                const int fromY = image::roundToPixel(float(r) * sourceHeight);
                const auto stretchGroup = [&] {
                    image::stretchCellRow(scratch, {groupX.constData(), size_t(groupX.size())}, y, cellWidth,
                                          size.height, work, {groupFromX.constData(), size_t(groupFromX.size())}, fromY,
                                          fromWidth, fromHeight);
                    groupX.clear();
                    groupFromX.clear();
                    progress.tick();
                };
                // Copied cells that lie side by side in the sheet too go in one copy.
                int runX = 0, runFromX = 0, runWidth = 0;
                for (double c = 0; c <= lastColumn; ++c) {
                    const int x = image::roundToPixel(c * size.width);
                    const int fromX = image::roundToPixel(float(c) * sourceWidth);
                    if (!sameSize) {
                        groupX.append(x);
                        groupFromX.append(fromX);
                        if (groupX.size() == kCellGroup)
                            stretchGroup();
                    } else if (runWidth > 0 && x == runX + runWidth && fromX == runFromX + runWidth) {
                        runWidth += cellWidth;
                    } else {
                        image::BitBlt(scratch, runX, y, runWidth, size.height, work, runFromX, fromY);
                        runX = x;
                        runFromX = fromX;
                        runWidth = cellWidth;
                        progress.tick();
                    }
                }
                if (!groupX.empty())
                    stretchGroup();
                image::BitBlt(scratch, runX, y, runWidth, size.height, work, runFromX, fromY);
            }
        }
        progress.reached(40);
        replacePureBlack(scratch, progress);
        progress.reached(70);
        // The new sheet becomes the working image, and the old sheet's memory the
        // cleared scratch's.
        work.swapPixels(scratch);
        blankScratch(scratch, newWidth, newHeight, progress);
        blankScratch(scratch2, scratch2.width(), scratch2.height(), progress);
        return Outcome::changed();
    } catch (const image::SurfaceError& error) {
        return Outcome::failed(QString::fromStdString(error.what()));
    } catch (const std::bad_alloc&) {
        return Outcome::failed(QStringLiteral("Not enough memory to convert this sheet."));
    }
}

} // namespace ops
