// SPDX-License-Identifier: MIT
#include "bitmap_save.h"

#include "bitmap_header.h"
#include "row_loop.h"
#include "save_flush.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
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

// Writes all of `data`. A write that stops short is tried again for the rest, which then
// fails with the reason (a full disk) that the short one does not give.
bool writeAll(QIODevice& device, const uchar* data, qint64 size)
{
    while (size > 0) {
        const qint64 written = device.write(reinterpret_cast<const char*>(data), size);
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// A BMP file cannot hold a picture without pixels.
std::optional<QString> noPixels(const Surface& surface)
{
    if (surface.width() > 0 && surface.height() > 0)
        return std::nullopt;
    return tr("A picture with no pixels cannot be saved (%1 x %2 pixels).").arg(surface.width()).arg(surface.height());
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

std::optional<QString> writeBitmap(const Surface& surface, const QString& path)
{
    if (const std::optional<QString> reason = noPixels(surface))
        return reason;

    // The save file would rename its result over a device or pipe of that name.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile() && !existing.isDir())
        return tr("The file could not be created: the name belongs to a device or other special file.");

    QSaveFile file(path);
    // Unbuffered: every block goes to the file as it is written, so that a failure (a
    // full disk) is seen, with its reason, at the write that meets it. commit() would
    // miss a failure of bytes still buffered and put a cut-off file in place of the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return tr("The file could not be created: %1").arg(file.errorString());

    if (!writeBitmapBytes(surface, file, &file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return tr("The picture could not be written: %1").arg(reason);
    }
    const ReplacedFile replaced(path);
    if (!file.commit())
        return tr("The picture could not be written: %1").arg(file.errorString());
    return std::nullopt;
}

std::optional<QString> writeBitmap(const Surface& surface, QIODevice& target)
{
    if (const std::optional<QString> reason = noPixels(surface))
        return reason;
    if (!target.isWritable())
        return tr("The picture could not be written: the target is not open for writing.");

    bool written = writeBitmapBytes(surface, target, nullptr);
    // A file may hold the last bytes in its buffer, and meet its failure only there.
    if (auto* file = qobject_cast<QFileDevice*>(&target))
        written = written && file->flush() && file->error() == QFileDevice::NoError;
    if (!written)
        return tr("The picture could not be written: %1").arg(target.errorString());
    return std::nullopt;
}

} // namespace image
