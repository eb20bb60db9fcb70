// SPDX-License-Identifier: MIT
#include "picture_structure.h"

#include "picture_read.h"
#include "picture_signature.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::PictureStructure", text);
}

QString tooLong(const QString& part, qint64 declared, qint64 left)
{
    return tr("The file is damaged or incomplete: its %1 declares %2 bytes, but only %3 are left in the file.")
        .arg(part)
        .arg(declared)
        .arg(left);
}

// A chunk by its name where the file spells one, else by where it starts.
QString chunkName(const QByteArray& type, qint64 at)
{
    const bool letters = std::all_of(type.cbegin(), type.cend(),
                                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
    return letters ? tr("%1 chunk").arg(QString::fromLatin1(type)) : tr("chunk at byte %1").arg(at);
}

Result<void> pngFault(QIODevice& source)
{
    const qint64 size = source.size();
    qint64 at = kPngSignature.size();
    while (at + 8 <= size) {
        if (!source.seek(at))
            return {};
        const QByteArray head = source.read(8);
        if (head.size() < 8)
            return {};
        const qint64 length = qFromBigEndian<quint32>(head.constData());
        const QByteArray type = head.mid(4);
        // The length and type, then the data, then a 4-byte check.
        const qint64 left = size - at - 12;
        if (length > left)
            return Failure{tooLong(chunkName(type, at), length, std::max<qint64>(left, 0))};
        if (type == "IEND")
            return {};
        at += 12 + length;
    }
    return {};
}

// Reads a source in blocks, a byte at a time for the caller.
class ByteWalk {
public:
    explicit ByteWalk(QIODevice& source) : m_source(source), m_size(source.size()) {}

    qint64 at() const { return m_blockStart + m_next; }
    qint64 left() const { return m_size - at(); }

    // The next byte, or -1 at the end.
    int next()
    {
        if (m_next == m_block.size() && !fill())
            return -1;
        return uchar(m_block[m_next++]);
    }

    void skip(qint64 count)
    {
        const qint64 inBlock = m_block.size() - m_next;
        if (count <= inBlock) { // forward only
            m_next += count;
            return;
        }
        m_blockStart = at() + count;
        m_block.clear();
        m_next = 0;
    }

    // Moves to the next 0xFF byte, or to the end.
    void toNextFF()
    {
        for (;;) {
            const char* from = m_block.constData() + m_next;
            const void* found = std::memchr(from, 0xFF, size_t(m_block.size() - m_next));
            if (found) {
                m_next += static_cast<const char*>(found) - from;
                return;
            }
            m_next = m_block.size();
            if (!fill())
                return;
        }
    }

private:
    bool fill()
    {
        constexpr qint64 kBlock = 64 * 1024;
        m_blockStart += m_block.size();
        m_next = 0;
        m_block.clear();
        if (!m_source.seek(m_blockStart))
            return false;
        m_block = m_source.read(kBlock);
        return !m_block.isEmpty();
    }

    QIODevice& m_source;
    qint64 m_size;
    QByteArray m_block;
    qint64 m_blockStart = 0;
    qint64 m_next = 0;
};

struct Frame {
    int width = 0;
    int height = 0;
    int channels = 0;
    qint64 coefficientBytes = 0; // what a progressive decoder keeps for the whole picture
    bool progressive = false;
};

// Reads a start-of-frame segment's body: precision, height, width, then each channel's
// id, sampling factors and table.
Frame readFrame(const QByteArray& body, int marker)
{
    Frame frame;
    if (body.size() < 6)
        return frame;
    const auto* bytes = reinterpret_cast<const uchar*>(body.constData());
    frame.height = qFromBigEndian<quint16>(bytes + 1);
    frame.width = qFromBigEndian<quint16>(bytes + 3);
    frame.channels = std::min<int>(bytes[5], int(body.size() - 6) / 3);
    frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    int widest = 1;
    int tallest = 1;
    for (int c = 0; c < frame.channels; ++c) {
        widest = std::max(widest, bytes[7 + 3 * c] >> 4);
        tallest = std::max(tallest, bytes[7 + 3 * c] & 15);
    }
    // 64 coefficients of 2 bytes for each 8 x 8 block of each channel, the picture
    // rounded up to whole units of the largest sampling.
    const qint64 unitsAcross = (frame.width + 8 * widest - 1) / (8 * widest);
    const qint64 unitsDown = (frame.height + 8 * tallest - 1) / (8 * tallest);
    for (int c = 0; c < frame.channels; ++c) {
        const int across = std::max(1, bytes[7 + 3 * c] >> 4);
        const int down = std::max(1, bytes[7 + 3 * c] & 15);
        frame.coefficientBytes += unitsAcross * across * unitsDown * down * 128;
    }
    return frame;
}

bool isFrameMarker(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The marker after the next 0xFF and its fill bytes; -1 at the end.
int nextMarker(ByteWalk& walk)
{
    walk.toNextFF();
    int marker = walk.next();
    while (marker == 0xFF)
        marker = walk.next();
    return marker;
}

// Past a scan's header come its entropy-coded bytes, where 0xFF is followed by 0 (a
// stuffed byte) or a restart marker; the first other marker ends them and is returned.
int markerAfterScan(ByteWalk& walk)
{
    for (;;) {
        const int marker = nextMarker(walk);
        if (marker != 0 && (marker < 0xD0 || marker > 0xD7))
            return marker;
    }
}

bool hasNoLength(int marker)
{
    return marker == 0 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7);
}

// A progressive decoder keeps every coefficient of the picture while it reads the
// scans; a grey picture arrives one byte a pixel, others four. Half the spare memory is
// left to the program and the decoder's own tables.
Result<void> progressiveFault(const Frame& frame)
{
    const qint64 pixels = qint64(frame.width) * frame.height;
    const qint64 pictureBytes = pixels * (frame.channels == 1 ? 1 : 4);
    if (!frame.progressive
        || frame.coefficientBytes + pictureBytes <= kLoadBytesPerPixel * pixels + kLoadSpareBytes / 2)
        return {};
    return Failure{tr("The picture is too large to load from a progressive JPEG: %1 x %2 pixels would take %3 MB "
                      "while it is read. Save it as a baseline JPEG or as PNG.")
                       .arg(frame.width)
                       .arg(frame.height)
                       .arg((frame.coefficientBytes + pictureBytes) / 1000000)};
}

// Stray bytes between segments are skipped, as the decoder skips them.
Result<void> jpegFault(QIODevice& source)
{
    ByteWalk walk(source);
    walk.skip(2);     // start of image
    int channels = 4; // until a frame says
    int scans = 0;
    int marker = nextMarker(walk);
    while (marker >= 0 && marker != 0xD9) {
        if (hasNoLength(marker)) {
            marker = nextMarker(walk);
            continue;
        }
        const int high = walk.next();
        const int low = walk.next();
        if (low < 0)
            return {};
        const qint64 length = qint64(high) << 8 | low; // counts its own two bytes
        const qint64 left = walk.left();
        if (length < 2 || length - 2 > left)
            return Failure{tooLong(tr("segment at byte %1").arg(walk.at() - 4), length - 2, left)};
        if (isFrameMarker(marker)) {
            QByteArray body;
            for (qint64 i = 0; i < length - 2; ++i)
                body.append(char(walk.next()));
            const Frame frame = readFrame(body, marker);
            if (auto fits = progressiveFault(frame); !fits)
                return fits;
            channels = std::max(frame.channels, 1);
        } else {
            walk.skip(length - 2);
        }
        if (marker != 0xDA) {
            marker = nextMarker(walk);
            continue;
        }
        if (++scans > channels * kMaxJpegScansPerChannel)
            return Failure{tr("The file holds more work than a picture needs: a JPEG with %1 colour channels uses "
                              "at most %2 scans, and this one has more.")
                               .arg(channels)
                               .arg(channels * kMaxJpegScansPerChannel)};
        marker = markerAfterScan(walk);
    }
    return {};
}

} // namespace

Result<void> checkStructure(QIODevice& source)
{
    if (!source.seek(0))
        return {};
    const QByteArray head = source.peek(8);
    if (head == kPngSignature)
        return pngFault(source);
    if (head.startsWith("\xFF\xD8"))
        return jpegFault(source);
    return {};
}

} // namespace image
