// SPDX-License-Identifier: MIT
#include "cell_grid.h"

#include "image/pixel_round.h"

namespace ops {

QList<int> cellBoundaries(int extent, double count)
{
    QList<int> lines;
    // Cells narrower than a pixel would only paint the picture over.
    if (!(count > 1) || extent / count < 1)
        return lines;
    const double cell = extent / count;
    for (double k = 1; k < count; ++k) {
        const int at = image::roundToPixel(k * cell);
        if (at > 0 && at < extent && (lines.isEmpty() || at > lines.constLast()))
            lines.append(at);
    }
    return lines;
}

} // namespace ops
