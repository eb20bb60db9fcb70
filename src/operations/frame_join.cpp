// SPDX-License-Identifier: MIT
#include "frame_join.h"

#include "image/row_loop.h"

#include <cmath>
#include <cstring>

namespace ops {

Result<FrameLayout> frameLayout(int frames, double columns, QSize cell)
{
    if (frames < 1)
        return Failure{QStringLiteral("There are no frames to join.")};
    if (!(columns >= 1 && columns <= image::Surface::kMaxPixels && std::floor(columns) == columns))
        return Failure{QStringLiteral("The number of animation columns must be a whole number from 1 up.")};
    if (cell.width() < 1 || cell.height() < 1)
        return Failure{QStringLiteral("The frames have no pixels (%1 x %2).").arg(cell.width()).arg(cell.height())};

    FrameLayout layout;
    layout.frames = frames;
    layout.columns = int(columns);
    layout.rows = int((qint64(frames) + layout.columns - 1) / layout.columns);
    layout.cell = cell;
    const qint64 width = qint64(layout.columns) * cell.width();
    const qint64 height = qint64(layout.rows) * cell.height();
    if (width > image::Surface::kMaxPixels || height > image::Surface::kMaxPixels
        || width * height > image::Surface::kMaxPixels)
        return Failure{QStringLiteral("The joined sheet would be %1 x %2 pixels; at most %3 pixels can be held.")
                           .arg(width)
                           .arg(height)
                           .arg(image::Surface::kMaxPixels)};
    return layout;
}

void startJoinedSheet(image::Surface& sheet, const FrameLayout& layout, image::Colour key)
{
    const int width = layout.columns * layout.cell.width();
    sheet.resizeUnfilled(width, layout.rows * layout.cell.height());
    // Only the last row can have cells without a frame.
    const int filled = layout.cell.width() * (layout.columns - layout.emptyCells());
    for (int y = (layout.rows - 1) * layout.cell.height(); y < sheet.height(); ++y)
        image::fillRow(sheet.row(y) + filled, width - filled, key.pixel());
}

void placeFrame(image::Surface& sheet, const FrameLayout& layout, int index, const image::Surface& frame)
{
    const int x = index % layout.columns * layout.cell.width();
    const int top = index / layout.columns * layout.cell.height();
    const size_t bytes = size_t(layout.cell.width()) * sizeof(QRgb);
    for (int y = 0; y < layout.cell.height(); ++y)
        std::memcpy(sheet.row(top + y) + x, frame.row(y), bytes);
}

} // namespace ops
