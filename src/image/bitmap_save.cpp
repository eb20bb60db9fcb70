// SPDX-License-Identifier: MIT
#include "bitmap_save.h"

#include "bitmap_header.h"
#include "replacing_save.h"
#include "row_loop.h"
#include "save_flush.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::BitmapSave", text);
}

// How much of a file being saved is handed to the disk at a time.
constexpr qint64 kWritebackBytes = qint64(4) << 20;

// Blue, green, red for each pixel; the padding is left alone. Four pixels go out as
// three little-endian words.
PIXMOLD_ROW_LOOP void packRow(uchar* out, const QRgb* line, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const quint32 p0 = line[x] & 0xFFFFFFu;
        const quint32 p1 = line[x + 1] & 0xFFFFFFu;
        const quint32 p2 = line[x + 2] & 0xFFFFFFu;
        const quint32 p3 = line[x + 3] & 0xFFFFFFu;
        qToLittleEndian<quint32>(p0 | p1 << 24, out);
        qToLittleEndian<quint32>(p1 >> 8 | p2 << 16, out + 4);
        qToLittleEndian<quint32>(p2 >> 16 | p3 << 8, out + 8);
    }
    for (; x < width; ++x, out += 3) {
        out[0] = uchar(qBlue(line[x]));
        out[1] = uchar(qGreen(line[x]));
        out[2] = uchar(qRed(line[x]));
    }
}

// The headers, then the rows bottom-up, a block at a time. Where `saved` is given (the
// target itself, a file being saved), its bytes are handed to the disk as they go.
// False where a write failed; the target's errorString says why.
bool writeBitmapBytes(const Surface& surface, QIODevice& target, const QFileDevice* saved)
{
    const int width = surface.width();
    const int height = surface.height();
    const qint64 rowBytes = bitmapRowBytes(width);
    const QImage& picture = surface.picture();
    uchar header[kBitmapHeadersSize];
    writePlainBitmapHeader(header, width, height, picture.dotsPerMeterX(), picture.dotsPerMeterY());
    bool written = writeAll(target, header, kBitmapHeadersSize);

    // Zeros for the padding at each row's end, which packRow leaves alone.
    const qint64 blockRows = std::max<qint64>(1, kBitmapBlockBytes / rowBytes);
    std::vector<uchar> block(size_t(std::min<qint64>(blockRows, height) * rowBytes), 0);
    qint64 flushed = 0;
    for (int y = height - 1; y >= 0 && written;) {
        qint64 rows = 0;
        for (; rows < blockRows && y >= 0; ++rows, --y)
            packRow(block.data() + rows * rowBytes, surface.row(y), width);
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

} // namespace

Result<void> writeBitmap(const Surface& surface, const QString& path)
{
    if (const auto checked = checkPixelsToSave(surface); !checked)
        return checked;
    return saveReplacing(path, [&](QFileDevice& file) { return writeBitmapBytes(surface, file, &file); });
}

Result<void> writeBitmap(const Surface& surface, QIODevice& target)
{
    if (const auto checked = checkPixelsToSave(surface); !checked)
        return checked;
    if (!target.isWritable())
        return Failure{tr("The picture could not be written: the target is not open for writing.")};

    bool written = writeBitmapBytes(surface, target, nullptr);
    // A file may hold the last bytes in its buffer, and meet its failure only there.
    if (auto* file = qobject_cast<QFileDevice*>(&target))
        written = written && file->flush() && file->error() == QFileDevice::NoError;
    if (!written)
        return Failure{tr("The picture could not be written: %1").arg(target.errorString())};
    return {};
}

} // namespace image
