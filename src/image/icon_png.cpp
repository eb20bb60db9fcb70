// SPDX-License-Identifier: MIT
#include "icon_png.h"

#include "picture_signature.h"

#include <QtEndian>

#include <algorithm>

namespace image {

std::optional<QByteArray> iconPng(QIODevice& source)
{
    // The 6-byte header, then 16 bytes an entry: the picture's length at 8, where it
    // starts at 12.
    constexpr int kFirstEntry = 6;
    if (!source.seek(0))
        return std::nullopt;
    const QByteArray head = source.read(kFirstEntry + 16);
    if (head.size() < kFirstEntry + 16
        || !(head.startsWith(QByteArray("\0\0\1\0", 4)) || head.startsWith(QByteArray("\0\0\2\0", 4))))
        return std::nullopt;
    const qint64 length = qFromLittleEndian<quint32>(head.constData() + kFirstEntry + 8);
    const qint64 start = qFromLittleEndian<quint32>(head.constData() + kFirstEntry + 12);
    if (!source.seek(start) || source.peek(kPngSignature.size()) != kPngSignature)
        return std::nullopt;
    // The picture's bytes, never more than the file holds.
    return source.read(std::min(length, source.size() - start));
}

} // namespace image
