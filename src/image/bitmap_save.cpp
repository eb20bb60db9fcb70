// SPDX-License-Identifier: MIT
#include "bitmap_save.h"

#include "bitmap_header.h"
#include "bottom_up_rows.h"
#include "replacing_save.h"
#include "row_loop.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QtEndian>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::BitmapSave", text);
}

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

// The headers, then the rows bottom-up (see writeRowsBottomUp for `saved`). False where
// a write failed; the target's errorString says why.
bool writeBitmapBytes(const Surface& surface, QIODevice& target, const QFileDevice* saved)
{
    const int width = surface.width();
    const int height = surface.height();
    const qint64 rowBytes = bitmapRowBytes(width);
    const QImage& picture = surface.picture();
    uchar header[kBitmapHeadersSize];
    writePlainBitmapHeader(header, width, height, picture.dotsPerMeterX(), picture.dotsPerMeterY());
    return writeAll(target, header, kBitmapHeadersSize)
        && writeRowsBottomUp(target, saved, height, rowBytes,
                             [&](uchar* bytes, int y) { packRow(bytes, surface.row(y), width); });
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
