// SPDX-License-Identifier: MIT
#include "declared_size.h"

#include "bitmap_header.h"

#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace image {

namespace {

// The headers read are all within the first kilobyte but an icon's.
constexpr qint64 kHeadBytes = 1024;

// The first bytes, read into a fixed array: GCC's bounds check under the sanitizers
// takes a QByteArray's data for its one-byte empty buffer.
struct Head {
    std::array<char, kHeadBytes> bytes{};
    qint64 size = 0;
    QByteArray text() const { return QByteArray(bytes.data(), size); }
    bool startsWith(const char* prefix, qint64 length) const
    {
        return size >= length && std::memcmp(bytes.data(), prefix, size_t(length)) == 0;
    }
};

std::optional<DeclaredSize> bitmapSize(const Head& head)
{
    using namespace bitmap_field;
    if (head.size < kHeight + 4)
        return std::nullopt;
    const char* bytes = head.bytes.data();
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + kInfoSize);
    if (infoSize == kBitmapCoreHeaderSize)
        return DeclaredSize{qFromLittleEndian<quint16>(bytes + kCoreWidth),
                            qFromLittleEndian<quint16>(bytes + kCoreHeight)};
    if (infoSize >= kBitmapInfoHeaderSize)
        return DeclaredSize{std::llabs(qFromLittleEndian<qint32>(bytes + kWidth)),
                            std::llabs(qFromLittleEndian<qint32>(bytes + kHeight))};
    return std::nullopt;
}

// The logical screen the frames are drawn on.
std::optional<DeclaredSize> gifSize(const Head& head)
{
    if (head.size < 10)
        return std::nullopt;
    return DeclaredSize{qFromLittleEndian<quint16>(head.bytes.data() + 6),
                        qFromLittleEndian<quint16>(head.bytes.data() + 8)};
}

// The first icon's picture: a PNG, or a BMP info header of twice the height (the colour
// rows, then the mask's).
std::optional<DeclaredSize> iconSize(QIODevice& source, const Head& head)
{
    if (head.size < 6 + 16)
        return std::nullopt;
    const quint32 offset = qFromLittleEndian<quint32>(head.bytes.data() + 6 + 12);
    if (!source.seek(offset))
        return std::nullopt;
    std::array<char, 24> picture{};
    if (source.read(picture.data(), qint64(picture.size())) < qint64(picture.size()))
        return std::nullopt;
    const char* bytes = picture.data();
    if (std::memcmp(bytes, "\x89PNG", 4) == 0)
        return DeclaredSize{qFromBigEndian<quint32>(bytes + 16), qFromBigEndian<quint32>(bytes + 20)};
    return DeclaredSize{std::llabs(qFromLittleEndian<qint32>(bytes + 4)),
                        std::llabs(qFromLittleEndian<qint32>(bytes + 8)) / 2};
}

// P1 to P6: the width and height are the first two numbers, between blanks and comments.
std::optional<DeclaredSize> portableSize(const QByteArray& head)
{
    static const QRegularExpression numbers(
        QStringLiteral("^P[1-6](?:\\s+|#[^\\n]*\\n)+(\\d+)(?:\\s+|#[^\\n]*\\n)+(\\d+)"));
    const QRegularExpressionMatch match = numbers.match(QString::fromLatin1(head));
    if (!match.hasMatch())
        return std::nullopt;
    return DeclaredSize{match.captured(1).left(12).toLongLong(), match.captured(2).left(12).toLongLong()};
}

std::optional<DeclaredSize> xbmSize(const QByteArray& head)
{
    static const QRegularExpression width(QStringLiteral("#define\\s+\\S*width\\s+(\\d+)"));
    static const QRegularExpression height(QStringLiteral("#define\\s+\\S*height\\s+(\\d+)"));
    const QString text = QString::fromLatin1(head);
    const QRegularExpressionMatch w = width.match(text);
    const QRegularExpressionMatch h = height.match(text);
    if (!w.hasMatch() || !h.hasMatch())
        return std::nullopt;
    return DeclaredSize{w.captured(1).left(12).toLongLong(), h.captured(1).left(12).toLongLong()};
}

} // namespace

std::optional<DeclaredSize> declaredSize(QIODevice& source)
{
    if (!source.seek(0))
        return std::nullopt;
    Head head;
    head.size = std::max<qint64>(0, source.read(head.bytes.data(), kHeadBytes));
    if (head.startsWith("BM", 2))
        return bitmapSize(head);
    if (head.startsWith("GIF8", 4))
        return gifSize(head);
    if (head.startsWith("\0\0\1\0", 4) || head.startsWith("\0\0\2\0", 4))
        return iconSize(source, head);
    if (head.size >= 2 && head.bytes[0] == 'P' && head.bytes[1] >= '1' && head.bytes[1] <= '6')
        return portableSize(head.text());
    if (head.startsWith("#define", 7))
        return xbmSize(head.text());
    return std::nullopt;
}

} // namespace image
