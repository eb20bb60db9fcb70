// SPDX-License-Identifier: MIT
#include "bottom_up_rows.h"

#include "bitmap_header.h"
#include "replacing_save.h"
#include "save_flush.h"

#include <QFileDevice>

#include <algorithm>
#include <vector>

namespace image {

namespace {

// How much of a file being saved is handed to the disk at a time.
constexpr qint64 kWritebackBytes = qint64(4) << 20;

} // namespace

bool writeRowsBottomUp(QIODevice& target, const QFileDevice* saved, int height, qint64 rowBytes,
                       const std::function<void(uchar* bytes, int y)>& packRow)
{
    const qint64 blockRows = std::max<qint64>(1, kBitmapBlockBytes / rowBytes);
    std::vector<uchar> block(size_t(std::min<qint64>(blockRows, height) * rowBytes), 0);
    qint64 flushed = 0;
    bool written = true;
    for (int y = height - 1; y >= 0 && written;) {
        qint64 rows = 0;
        for (; rows < blockRows && y >= 0; ++rows, --y)
            packRow(block.data() + rows * rowBytes, y);
        written = writeAll(target, block.data(), rows * rowBytes);
        if (!saved)
            continue;
        if (const qint64 end = target.pos(); end - flushed >= kWritebackBytes) {
            startWriteback(*saved, flushed, end - flushed);
            flushed = end;
        }
    }
    return written;
}

} // namespace image
