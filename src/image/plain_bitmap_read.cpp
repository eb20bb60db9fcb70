// SPDX-License-Identifier: MIT
#include "plain_bitmap_read.h"

#include "bitmap_header.h"
#include "row_loop.h"
#include "surface.h"

#include <QtEndian>

#include <algorithm>
#include <memory>

namespace image {

namespace {

// Opaque pixels from blue, green, red bytes; four pixels come in as three little-endian
// words.
PIXMOLD_ROW_LOOP void unpackRow(QRgb* line, const uchar* in, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4, in += 12) {
        const quint32 w0 = qFromLittleEndian<quint32>(in);
        const quint32 w1 = qFromLittleEndian<quint32>(in + 4);
        const quint32 w2 = qFromLittleEndian<quint32>(in + 8);
        line[x] = 0xFF000000u | (w0 & 0xFFFFFFu);
        line[x + 1] = 0xFF000000u | w0 >> 24 | (w1 & 0xFFFFu) << 8;
        line[x + 2] = 0xFF000000u | w1 >> 16 | (w2 & 0xFFu) << 16;
        line[x + 3] = 0xFF000000u | w2 >> 8;
    }
    for (; x < width; ++x, in += 3)
        line[x] = qRgb(in[2], in[1], in[0]);
}

} // namespace

std::optional<QImage> readPlainBitmap(QIODevice& source)
{
    uchar bytes[kBitmapHeadersSize];
    if (!source.seek(0) || source.read(reinterpret_cast<char*>(bytes), kBitmapHeadersSize) != kBitmapHeadersSize)
        return std::nullopt;
    const std::optional<PlainBitmapHeader> header = parsePlainBitmapHeader(bytes);
    if (!header)
        return std::nullopt;
    const int width = header->width;
    const qint64 height = header->height;
    if (qint64(width) * height > Surface::kMaxPixels)
        return std::nullopt;
    const qint64 rowBytes = bitmapRowBytes(width);
    if (qint64(header->dataOffset) + rowBytes * height > source.size() || !source.seek(header->dataOffset))
        return std::nullopt;

    QImage picture;
    std::unique_ptr<uchar[]> block;
    const qint64 blockRows = std::max<qint64>(1, kBitmapBlockBytes / rowBytes);
    try {
        picture = Surface::unfilledPicture(width, int(height));
        block.reset(new uchar[size_t(std::min(blockRows, height) * rowBytes)]);
    } catch (const std::exception&) {
        return std::nullopt; // Qt's reader says what it makes of too little memory
    }
    picture.setDotsPerMeterX(header->dotsPerMeterX);
    picture.setDotsPerMeterY(header->dotsPerMeterY);
    for (qint64 done = 0; done < height;) {
        const qint64 rows = std::min(blockRows, height - done);
        if (source.read(reinterpret_cast<char*>(block.get()), rows * rowBytes) != rows * rowBytes)
            return std::nullopt;
        for (qint64 i = 0; i < rows; ++i, ++done) {
            const int y = int(header->topDown ? done : height - 1 - done);
            unpackRow(reinterpret_cast<QRgb*>(picture.scanLine(y)), block.get() + i * rowBytes, width);
        }
    }
    return picture;
}

} // namespace image
