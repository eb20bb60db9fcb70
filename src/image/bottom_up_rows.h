// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <functional>

class QFileDevice;
class QIODevice;

namespace image {

// Writes `height` rows of `rowBytes` bytes each to `target`, the last row first as
// bitmaps store them, a block at a time. `packRow(bytes, y)` fills row y, leaving the
// padding at its end, which starts as zeros. Where `saved` is given (the target itself,
// a file being saved), its bytes are handed to the disk as they go. False where a write
// failed; the target's errorString says why.
bool writeRowsBottomUp(QIODevice& target, const QFileDevice* saved, int height, qint64 rowBytes,
                       const std::function<void(uchar* bytes, int y)>& packRow);

} // namespace image
