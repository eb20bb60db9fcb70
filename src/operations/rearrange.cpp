// SPDX-License-Identifier: MIT
#include "rearrange.h"

#include "image/pixel_round.h"
#include "image/raster.h"
#include "image/row_loop.h"
#include "scratch_surface.h"
#include "settings/number_text.h"

#include <algorithm>
#include <vector>

namespace ops {

qsizetype rearrangedBandCount(const QString& answer)
{
    return answer.split(QLatin1Char(','), Qt::SkipEmptyParts).size();
}

Outcome rearrangeRows(image::Surface& work, image::Surface& scratch, const QString& answer, Progress& progress)
{
    const QStringList entries = answer.split(QLatin1Char(','), Qt::KeepEmptyParts);
    const qsizetype n = rearrangedBandCount(answer);
    // Commas only: there is no band height to work with.
    if (n == 0)
        return Outcome::unchanged();

    progress.reached(0);
    const int width = work.width();
    const int height = work.height();
    try {
        // Every row is written below: by a band, or with the background.
        fitScratch(scratch, width, height, progress);
    } catch (const image::SurfaceError& error) {
        return Outcome::failed(QString::fromStdString(error.what()));
    }

    const double h = double(height) / double(n);
    const int bandHeight = image::roundToPixel(h);
    progress.reached(10);

    // Which scratch rows some band wrote; the others get the background afterwards,
    // which leaves the same rows as clearing first would, without a pass over the sheet.
    std::vector<bool> written(size_t(height), false);
    qint64 i = 0;
    for (const QString& entry : entries) {
        if (entry.isEmpty())
            continue;
        const double v = settings::readNumber(entry.trimmed());
        const int from = image::roundToPixel(v * h - h);
        const int to = image::roundToPixel(double(i) * h);
        image::BitBlt(scratch, 0, to, width, bandHeight, work, 0, from);

        // The rows BitBlt copied: the band's rows whose source row lies inside the sheet.
        const qint64 first = std::max<qint64>({0, to, qint64(to) - from});
        const qint64 last = std::min<qint64>({height, qint64(to) + bandHeight, qint64(to) - from + height});
        for (qint64 row = first; row < last; ++row)
            written[size_t(row)] = true;
        ++i;
        progress.tick();
    }
    const QRgb background = scratch.backgroundPixel();
    for (int y = 0; y < height && width > 0; ++y) {
        if (!written[size_t(y)])
            image::fillRow(scratch.row(y), width, background);
    }
    progress.reached(80);

    // The new sheet is the scratch's, whole: the working image shares its pixels until
    // either is written.
    image::Surface result = scratch;
    work.swapPixels(result);
    return Outcome::changed();
}

} // namespace ops
