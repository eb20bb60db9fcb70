// SPDX-License-Identifier: MIT
#include "bitmap_header.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace image {

namespace {

constexpr quint16 kOnePlane = 1;
constexpr quint16 kTrueColour = 24; // bits a pixel
constexpr quint32 kUncompressed = 0;

template <typename T> T field(const uchar* bytes, int at)
{
    return qFromLittleEndian<T>(bytes + at);
}

} // namespace

std::optional<PlainBitmapHeader> parsePlainBitmapHeader(const uchar* bytes)
{
    using namespace bitmap_field;
    const qint32 width = field<qint32>(bytes, kWidth);
    const qint32 signedHeight = field<qint32>(bytes, kHeight);
    const quint32 dataOffset = field<quint32>(bytes, kDataOffset);
    if (bytes[0] != 'B' || bytes[1] != 'M' || field<quint32>(bytes, kInfoSize) != kBitmapInfoHeaderSize
        || field<quint16>(bytes, kPlanes) != kOnePlane || field<quint16>(bytes, kBitsPerPixel) != kTrueColour
        || field<quint32>(bytes, kCompression) != kUncompressed || width <= 0 || signedHeight == 0
        || signedHeight == std::numeric_limits<qint32>::min() || dataOffset < quint32(kBitmapHeadersSize))
        return std::nullopt;

    PlainBitmapHeader header;
    header.width = width;
    header.height = signedHeight < 0 ? -signedHeight : signedHeight;
    header.topDown = signedHeight < 0;
    header.dataOffset = dataOffset;
    header.dotsPerMeterX = field<qint32>(bytes, kDotsPerMeterX);
    header.dotsPerMeterY = field<qint32>(bytes, kDotsPerMeterY);
    return header;
}

void writePlainBitmapHeader(uchar* bytes, qint32 width, qint32 height, qint32 dotsPerMeterX, qint32 dotsPerMeterY)
{
    using namespace bitmap_field;
    const quint32 dataSize = quint32(bitmapRowBytes(width) * height);
    std::fill(bytes, bytes + kBitmapHeadersSize, uchar(0));
    bytes[0] = 'B';
    bytes[1] = 'M';
    qToLittleEndian<quint32>(kBitmapHeadersSize + dataSize, bytes + kFileSize);
    qToLittleEndian<quint32>(kBitmapHeadersSize, bytes + kDataOffset);
    qToLittleEndian<quint32>(kBitmapInfoHeaderSize, bytes + kInfoSize);
    qToLittleEndian<qint32>(width, bytes + kWidth);
    qToLittleEndian<qint32>(height, bytes + kHeight);
    qToLittleEndian<quint16>(kOnePlane, bytes + kPlanes);
    qToLittleEndian<quint16>(kTrueColour, bytes + kBitsPerPixel);
    qToLittleEndian<quint32>(kUncompressed, bytes + kCompression);
    qToLittleEndian<quint32>(dataSize, bytes + kDataSize);
    qToLittleEndian<qint32>(dotsPerMeterX, bytes + kDotsPerMeterX);
    qToLittleEndian<qint32>(dotsPerMeterY, bytes + kDotsPerMeterY);
}

} // namespace image
