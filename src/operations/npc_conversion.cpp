// SPDX-License-Identifier: MIT
#include "npc_conversion.h"

#include "blank_surface.h"
#include "image/pixel_round.h"
#include "image/raster.h"
#include "settings/number_text.h"

#include <new>

namespace ops {

namespace {

const QRgb kNearBlack = image::toPixel(image::rgb(20, 20, 20));

void replaceBlack(image::Surface& surface, Progress& progress)
{
    const int width = surface.width();
    for (int y = 0; y < surface.height(); ++y) {
        QRgb* line = surface.row(y);
        for (int x = 0; x < width; ++x)
            line[x] = (line[x] & kColourBits) == 0 ? kNearBlack : line[x];
        progress.tick();
    }
}

} // namespace

std::optional<QString> spriteSizeProblem(settings::SpriteSize size)
{
    if (!(size.width >= 1) || size.height < 1)
        return QStringLiteral("The sprite size must be at least 1 x 1 pixels. "
                              "Change it under Options.");
    return std::nullopt;
}

Outcome convertToNpc(image::Surface& work, image::Surface& scratch, image::Surface& scratch2,
                     const CountAnswer& sprites, const CountAnswer& columns,
                     settings::SpriteSize size, Progress& progress)
{
    if (auto problem = spriteSizeProblem(size))
        return Outcome::refused(*problem);

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
        makeBlank(scratch, newWidth, newHeight);

        // Both loops run only when a cell fits in the new sheet, so its sizes fit an int.
        const double lastColumn = columns.numeric - 1;
        if (lastColumn >= 0) {
            const int cellWidth = image::roundToPixel(size.width);
            const int fromWidth = image::roundToPixel(sourceWidth);
            const int fromHeight = image::roundToPixel(sourceHeight);
            for (double r = 0; r <= rows - 1; ++r) {
                for (double c = 0; c <= lastColumn; ++c) {
                    image::StretchBlt(scratch, image::roundToPixel(c * size.width),
                                      image::roundToPixel(r * size.height), cellWidth, size.height,
                                      work, image::roundToPixel(float(c) * sourceWidth),
                                      image::roundToPixel(float(r) * sourceHeight),
                                      fromWidth, fromHeight);
                    progress.tick();
                }
            }
        }
        progress.reached(40);

        replaceBlack(scratch, progress);
        progress.reached(70);

        if (newWidth > 0 && newHeight > 0)
            work.assign(scratch.picture());
        else
            work.resize(newWidth, newHeight);
        scratch.clear();
        scratch2.clear();
        return Outcome::changed();
    } catch (const image::SurfaceError& error) {
        return Outcome::failed(QString::fromStdString(error.what()));
    } catch (const std::bad_alloc&) {
        return Outcome::failed(QStringLiteral("Not enough memory to convert this sheet."));
    }
}

} // namespace ops
