// SPDX-License-Identifier: MIT
#include "icon_png.h"

#include "picture_signature.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace image {

std::optional<QByteArray> iconPng(QIODevice& source)
{
    // The 6-byte header, then 16 bytes an entry: the picture's length at 8, where it
    // starts at 12.
    constexpr int kFirstEntry = 6;
    if (!source.seek(0))
        return std::nullopt;
    // A fixed array: GCC's bounds check under the sanitizers misreads a QByteArray's data.
    std::array<char, kFirstEntry + 16> head{};
    if (source.read(head.data(), qint64(head.size())) < qint64(head.size())
        || !(std::memcmp(head.data(), "\0\0\1\0", 4) == 0 || std::memcmp(head.data(), "\0\0\2\0", 4) == 0))
        return std::nullopt;
    const qint64 length = qFromLittleEndian<quint32>(head.data() + kFirstEntry + 8);
    const qint64 start = qFromLittleEndian<quint32>(head.data() + kFirstEntry + 12);
    if (!source.seek(start) || source.peek(kPngSignature.size()) != kPngSignature)
        return std::nullopt;
    // The picture's bytes, never more than the file holds.
    return source.read(std::min(length, source.size() - start));
}

} // namespace image
