// SPDX-License-Identifier: MIT
#include "bitmap_file.h"

#include "row_loop.h"
#include "save_flush.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::BitmapFile", text);
}

// Qt's BMP reader fills the rows a truncated file lacks with whatever memory held and
// reports success. This device sees every request the reader makes (it is opened
// unbuffered, so requests arrive whole) and notes when one runs past the end of the
// source. The source below it may buffer: RLE pictures are read a byte at a time.
class ShortReadWatch : public QIODevice {
public:
    explicit ShortReadWatch(QIODevice& source) : m_source(source) {}

    void arm() { m_armed = true; }
    bool ranShort() const { return m_ranShort; }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_source.size(); }

    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_source.seek(pos); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 got = m_source.read(data, maxSize);
        if (m_armed && got < maxSize)
            m_ranShort = true;
        return got;
    }

    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& m_source;
    bool m_armed = false;
    bool m_ranShort = false;
};

// The reader refuses pictures above a memory limit (128 MB by default). Raise it so
// every size a surface takes loads, even through a reader that decodes to 64 bits a
// pixel (16-bit PNG); the pixel count itself is checked against kMaxPixels.
void allowLargestSurface()
{
    static const bool once = [] {
        constexpr qint64 kMegabytes = Surface::kMaxPixels * 8 / (1024 * 1024);
        const int current = QImageReader::allocationLimit();
        if (current != 0 && current < kMegabytes)
            QImageReader::setAllocationLimit(int(kMegabytes));
        return true;
    }();
    (void)once;
}

QString sizeText(qint64 width, qint64 height)
{
    return tr("%1 x %2 pixels").arg(width).arg(height);
}

// Alpha is dropped and colour channels are kept as stored: a 32-bit BMP with an alpha
// mask arrives as non-premultiplied ARGB32, whose channels must not be blended.
QImage opaqueRgb32(QImage picture)
{
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        break;
    default:
        // Premultiplied input is unpremultiplied here, the best that can be recovered.
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        break;
    }
    if (picture.isNull())
        return picture;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    picture.reinterpretAsFormat(QImage::Format_RGB32);
    return picture;
}

// Whether dropping the alpha below changes what the picture shows.
bool hasTransparentPixel(const QImage& picture)
{
    if (!picture.hasAlphaChannel())
        return false;
    // The 32-bit formats, which most readers give, are scanned directly.
    const bool argb32
        = picture.format() == QImage::Format_ARGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(argb32 ? line[x] : picture.pixel(x, y)) != 255)
                return true;
        }
    }
    return false;
}

QString tooLarge(qint64 width, qint64 height)
{
    return tr("The picture is too large: %1. At most %2 million pixels can be loaded, such as "
              "16384 x 16384.")
        .arg(sizeText(width, height))
        .arg(Surface::kMaxPixels / 1000000);
}

// Qt's BMP reader refuses a header above 16384 x 16384 pixels without giving its size
// or saying why; the size is read here only to say so. Empty where there is none.
QSize claimedBitmapSize(QIODevice& source)
{
    if (!source.seek(0))
        return {};
    const QByteArray head = source.read(26);
    if (head.size() < 26 || !head.startsWith("BM"))
        return {};
    const char* info = head.constData() + 14;
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    if (infoSize == 12) // the old core header: 16-bit sizes
        return QSize(qFromLittleEndian<quint16>(info + 4), qFromLittleEndian<quint16>(info + 6));
    if (infoSize >= 40)
        return QSize(qFromLittleEndian<qint32>(info + 4), qFromLittleEndian<qint32>(info + 8));
    return {};
}

PictureRead failure(const QString& reason)
{
    return {QImage(), reason};
}

// The two headers of a BMP file as Pixmold writes them: file header and the 40-byte
// Windows info header.
constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

// Rows are read and written this many bytes at a time, roughly: few calls, and a buffer
// small enough to stay in the cache and to cost few page faults.
constexpr qint64 kBlockBytes = qint64(64) << 10;
// How much of a file being saved is handed to the disk at a time.
constexpr qint64 kWritebackBytes = qint64(4) << 20;

// A 24-bit row takes 3 bytes a pixel, padded to a multiple of 4.
qint64 bitmapRowBytes(qint64 width)
{
    return (width * 3 + 3) & ~qint64(3);
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

// The inverse of packRow: opaque pixels from blue, green, red bytes.
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

// A plain BMP, as Pixmold and most programs write one: the 40-byte Windows info header,
// 24 bits a pixel, no compression, every row present. Such a file is read here in large
// blocks straight into a surface's memory; Qt's reader converts a pixel at a time and
// reads a row a call. nullopt for any other file, or where this one cannot be read, so
// that Qt's reader takes it and says what is wrong.
std::optional<QImage> readPlainBitmap(QIODevice& source)
{
    uchar header[kHeadersSize];
    if (source.read(reinterpret_cast<char*>(header), kHeadersSize) != kHeadersSize)
        return std::nullopt;
    const quint32 dataOffset = qFromLittleEndian<quint32>(header + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(header + 14);
    const qint32 width = qFromLittleEndian<qint32>(header + 18);
    const qint32 signedHeight = qFromLittleEndian<qint32>(header + 22);
    const quint16 planes = qFromLittleEndian<quint16>(header + 26);
    const quint16 bits = qFromLittleEndian<quint16>(header + 28);
    const quint32 compression = qFromLittleEndian<quint32>(header + 30);
    if (header[0] != 'B' || header[1] != 'M' || infoSize != kInfoHeaderSize || planes != 1 || bits != 24
        || compression != 0 || width <= 0 || signedHeight == 0 || signedHeight == std::numeric_limits<qint32>::min())
        return std::nullopt;
    // Rows are stored bottom-up, unless the height is negative.
    const bool topDown = signedHeight < 0;
    const qint64 height = std::llabs(qint64(signedHeight));
    if (qint64(width) * height > Surface::kMaxPixels)
        return std::nullopt;
    const qint64 rowBytes = bitmapRowBytes(width);
    if (dataOffset < quint32(kHeadersSize) || qint64(dataOffset) + rowBytes * height > source.size()
        || !source.seek(dataOffset))
        return std::nullopt;

    QImage picture;
    std::unique_ptr<uchar[]> block;
    const qint64 blockRows = std::max<qint64>(1, kBlockBytes / rowBytes);
    try {
        picture = Surface::newPicture(width, int(height));
        block.reset(new uchar[size_t(std::min(blockRows, height) * rowBytes)]);
    } catch (const std::exception&) {
        return std::nullopt; // Qt's reader says what it makes of too little memory
    }
    picture.setDotsPerMeterX(qFromLittleEndian<qint32>(header + 38));
    picture.setDotsPerMeterY(qFromLittleEndian<qint32>(header + 42));
    for (qint64 done = 0; done < height;) {
        const qint64 rows = std::min(blockRows, height - done);
        if (source.read(reinterpret_cast<char*>(block.get()), rows * rowBytes) != rows * rowBytes)
            return std::nullopt;
        for (qint64 i = 0; i < rows; ++i, ++done) {
            const int y = int(topDown ? done : height - 1 - done);
            unpackRow(reinterpret_cast<QRgb*>(picture.scanLine(y)), block.get() + i * rowBytes, width);
        }
    }
    return picture;
}

} // namespace

PictureRead readPicture(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(tr("The file does not exist."));
    if (info.isDir())
        return failure(tr("This is a folder, not a picture file."));
    // Opening a named pipe would wait for a writer; devices are no pictures either.
    if (!info.isFile())
        return failure(tr("This is a device or other special file, not a picture file."));
    if (info.size() == 0)
        return failure(tr("The file is empty."));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(tr("The file could not be opened: %1").arg(file.errorString()));
    return readPicture(file);
}

PictureRead readPicture(QIODevice& source)
{
    if (!source.isReadable() || source.isSequential() || !source.seek(0))
        return failure(tr("The file could not be opened: %1").arg(source.errorString()));
    if (source.size() == 0)
        return failure(tr("The file is empty."));

    if (std::optional<QImage> plain = readPlainBitmap(source))
        return {*std::move(plain), QString()};
    if (!source.seek(0))
        return failure(tr("The file could not be opened: %1").arg(source.errorString()));

    allowLargestSurface();
    ShortReadWatch device(source);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);

    QImageReader reader(&device);
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();

    // Refuse oversized pictures before the reader allocates them. (-1, -1) means the
    // header gave no size; Qt's BMP reader reports a top-down picture's height as negative.
    if (reader.supportsOption(QImageIOHandler::Size)) {
        const QSize size = reader.size();
        if (size != QSize(-1, -1)) {
            const qint64 width = std::llabs(size.width());
            const qint64 height = std::llabs(size.height());
            if (width == 0 || height == 0)
                return failure(tr("The picture has no pixels (%1).").arg(sizeText(width, height)));
            if (width * height > Surface::kMaxPixels)
                return failure(tooLarge(width, height));
        }
    }

    device.arm();
    QImage picture = reader.read();
    if (picture.isNull()) {
        if (format == "bmp") {
            if (const QSize claimed = claimedBitmapSize(source);
                std::llabs(claimed.width()) * std::llabs(qint64(claimed.height())) > Surface::kMaxPixels)
                return failure(tooLarge(std::llabs(claimed.width()), std::llabs(qint64(claimed.height()))));
        }
        return failure(tr("The file could not be read as a picture: %1").arg(reader.errorString()));
    }
    // Other readers fetch ahead in blocks, so a short read means nothing there.
    if (format == "bmp" && device.ranShort())
        return failure(tr("The file is incomplete: it ends before the picture's last pixels."));
    const int width = picture.width();
    const int height = picture.height();
    if (qint64(width) * height > Surface::kMaxPixels)
        return failure(tooLarge(width, height));

    const bool transparent = hasTransparentPixel(picture);
    picture = opaqueRgb32(std::move(picture));
    if (picture.isNull())
        return failure(tr("Not enough memory for a picture of %1.").arg(sizeText(width, height)));
    return {picture, QString(), transparent};
}

std::optional<QString> writeBitmap(const Surface& surface, const QString& path)
{
    // A BMP file cannot hold a picture without pixels.
    if (surface.width() == 0 || surface.height() == 0)
        return tr("A picture with no pixels cannot be saved (%1).").arg(sizeText(surface.width(), surface.height()));

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

    // Bottom-up rows of 24 bits a pixel, after the file header and the info header.
    const int width = surface.width();
    const int height = surface.height();
    const qint64 rowBytes = bitmapRowBytes(width);
    const QImage& picture = surface.picture();
    uchar header[kHeadersSize] = {'B', 'M'};
    qToLittleEndian<quint32>(quint32(kHeadersSize + rowBytes * height), header + 2);
    qToLittleEndian<quint32>(kHeadersSize, header + 10);
    qToLittleEndian<quint32>(kInfoHeaderSize, header + 14);
    qToLittleEndian<qint32>(width, header + 18);
    qToLittleEndian<qint32>(height, header + 22);
    qToLittleEndian<quint16>(1, header + 26); // planes
    qToLittleEndian<quint16>(24, header + 28);
    qToLittleEndian<quint32>(quint32(rowBytes * height), header + 34);
    qToLittleEndian<qint32>(picture.dotsPerMeterX(), header + 38);
    qToLittleEndian<qint32>(picture.dotsPerMeterY(), header + 42);
    bool written = writeAll(file, header, kHeadersSize);

    // Zeros for the padding at each row's end, which packRow leaves alone.
    const qint64 blockRows = std::max<qint64>(1, kBlockBytes / rowBytes);
    std::vector<uchar> block(size_t(std::min<qint64>(blockRows, height) * rowBytes), 0);
    qint64 flushed = 0;
    for (int y = height - 1; y >= 0 && written;) {
        qint64 rows = 0;
        for (; rows < blockRows && y >= 0; ++rows, --y)
            packRow(block.data() + rows * rowBytes, surface.row(y), width);
        written = writeAll(file, block.data(), rows * rowBytes);
        if (const qint64 end = file.pos(); end - flushed >= kWritebackBytes) {
            startWriteback(file, flushed, end - flushed);
            flushed = end;
        }
    }
    if (!written || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return tr("The picture could not be written: %1").arg(reason);
    }
    const ReplacedFile replaced(path);
    if (!file.commit())
        return tr("The picture could not be written: %1").arg(file.errorString());
    return std::nullopt;
}

} // namespace image
