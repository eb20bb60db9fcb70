// SPDX-License-Identifier: MIT
#include "picture_read.h"

#include "declared_size.h"
#include "decoder_messages.h"
#include "icon_png.h"
#include "picture_signature.h"
#include "picture_structure.h"
#include "plain_bitmap_read.h"
#include "png_read.h"
#include "surface.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cstdlib>
#include <optional>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::PictureRead", text);
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
// every size a surface takes loads at four bytes a pixel, and no more: a reader that
// decodes deeper (PNG goes through libpng instead) is refused rather than let past the
// load's memory bound. The pixel count itself is checked against kMaxPixels.
void allowLargestSurface()
{
    static const bool once = [] {
        constexpr qint64 kMegabytes = Surface::kMaxPixels * 4 / (1024 * 1024);
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

// Alpha is dropped, or keyed where `key` is given, and colour channels are kept as
// stored: a 32-bit BMP with an alpha mask arrives as non-premultiplied ARGB32, whose
// channels must not be blended. `transparent` tells whether some pixel was not opaque,
// so that the picture now shows otherwise; `keyed` what keying found.
QImage opaqueRgb32(QImage picture, const TransparencyKey* key, bool& transparent, KeyedCounts& keyed)
{
    const bool hadAlpha = picture.hasAlphaChannel();
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
    if (key && hadAlpha) {
        for (int y = 0; y < picture.height(); ++y)
            keyRow(reinterpret_cast<QRgb*>(picture.scanLine(y)), picture.width(), *key, keyed);
        picture.reinterpretAsFormat(QImage::Format_RGB32);
        return picture;
    }
    QRgb all = 0xFFFFFFFFu;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            all &= line[x];
            line[x] |= 0xFF000000u;
        }
    }
    transparent = hadAlpha && qAlpha(all) != 0xFF;
    picture.reinterpretAsFormat(QImage::Format_RGB32);
    return picture;
}

QString tooLarge(qint64 width, qint64 height)
{
    return tr("The picture is too large: %1. At most %2 million pixels can be loaded, such as "
              "16384 x 16384.")
        .arg(sizeText(width, height))
        .arg(Surface::kMaxPixels / 1000000);
}

Failure failure(const QString& reason)
{
    return Failure{reason};
}

// Whether the source can be read from its start: a failure says why not.
Result<void> checkReadable(QIODevice& source)
{
    if (!source.isReadable() || source.isSequential() || !source.seek(0))
        return failure(tr("The file could not be opened: %1").arg(source.errorString()));
    if (source.size() == 0)
        return failure(tr("The file is empty."));
    return {};
}

// Whether a picture of this size is taken: a failure says why not.
Result<void> checkSize(qint64 width, qint64 height)
{
    if (width == 0 || height == 0)
        return failure(tr("The picture has no pixels (%1).").arg(sizeText(width, height)));
    if (width * height > Surface::kMaxPixels)
        return failure(tooLarge(width, height));
    return {};
}

// `key` is null for a BMP, whose alpha is only dropped.
Result<PictureRead> opaqueResult(QImage picture, const TransparencyKey* key)
{
    const int width = picture.width();
    const int height = picture.height();
    bool transparent = false;
    KeyedCounts keyed;
    picture = opaqueRgb32(std::move(picture), key, transparent, keyed);
    if (picture.isNull())
        return failure(tr("Not enough memory for a picture of %1.").arg(sizeText(width, height)));
    return PictureRead{picture, transparent, QString(), keyed};
}

Result<PictureRead> readWithQt(ShortReadWatch& device, const TransparencyKey& key)
{
    QImage picture;
    QByteArray format;
    {
        // The reader and the decoder's memory go before the picture is converted.
        QImageReader reader(&device);
        reader.setAutoTransform(false);
        format = reader.format();

        // Refuse oversized pictures before the reader allocates them. (-1, -1) means the
        // header gave no size; Qt's BMP reader reports a top-down picture's height as negative.
        if (reader.supportsOption(QImageIOHandler::Size)) {
            const QSize size = reader.size();
            if (size != QSize(-1, -1)) {
                if (const auto taken = checkSize(std::llabs(size.width()), std::llabs(size.height())); !taken)
                    return failure(taken.error());
            }
        }

        device.arm();
        picture = reader.read();
        if (picture.isNull())
            return failure(tr("The file could not be read as a picture: %1").arg(reader.errorString()));
    }
    // Other readers fetch ahead in blocks, so a short read means nothing there.
    if (format == "bmp" && device.ranShort())
        return failure(tr("The file is incomplete: it ends before the picture's last pixels."));
    if (qint64(picture.width()) * picture.height() > Surface::kMaxPixels)
        return failure(tooLarge(picture.width(), picture.height()));
    return opaqueResult(std::move(picture), format == "bmp" ? nullptr : &key);
}

// The decoders' own words, after Pixmold's reason or as the one warning of a picture read.
Result<PictureRead> withDecoderWords(Result<PictureRead> read, const QString& said)
{
    if (said.isEmpty())
        return read;
    if (!read)
        return failure(tr("%1 (%2)").arg(read.error(), said));
    read->warning = tr("The picture was read, but its file is damaged: %1").arg(said);
    return read;
}

Result<PictureRead> readPngResult(QIODevice& source, DecoderMessages& messages, const TransparencyKey& key)
{
    auto png = readPng(source, messages, checkSize);
    if (!png)
        return failure(png.error());
    return opaqueResult(*std::move(png), &key);
}

Result<PictureRead> decode(QIODevice& source, DecoderMessages& messages, const TransparencyKey& key)
{
    if (const auto whole = checkStructure(source); !whole)
        return failure(whole.error());
    // Each side alone first: headers may declare sides whose product overflows.
    if (const std::optional<DeclaredSize> size = declaredSize(source); size
        && (size->width > Surface::kMaxPixels || size->height > Surface::kMaxPixels
            || size->width * size->height > Surface::kMaxPixels))
        return failure(tooLarge(size->width, size->height));

    if (!source.seek(0))
        return failure(tr("The file could not be opened: %1").arg(source.errorString()));
    if (source.peek(kPngSignature.size()) == kPngSignature)
        return readPngResult(source, messages, key);
    if (std::optional<QByteArray> png = iconPng(source)) {
        QBuffer inner(&*png);
        inner.open(QIODevice::ReadOnly);
        if (const auto whole = checkStructure(inner); !whole)
            return failure(whole.error());
        return readPngResult(inner, messages, key);
    }

    allowLargestSurface();
    ShortReadWatch device(source);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return readWithQt(device, key);
}

} // namespace

Result<PictureRead> readPicture(const QString& path, const TransparencyKey& key)
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
    return readPicture(file, key);
}

Result<PictureRead> readPicture(QIODevice& source, const TransparencyKey& key)
{
    if (const auto readable = checkReadable(source); !readable)
        return failure(readable.error());
    {
        // What the fast way declines is read again below, where any complaint is kept.
        DecoderMessages unheard;
        if (std::optional<QImage> plain = readPlainBitmap(source))
            return PictureRead{*std::move(plain)};
    }
    return readPictureWithQt(source, key);
}

Result<PictureRead> readPictureWithQt(QIODevice& source, const TransparencyKey& key)
{
    if (const auto readable = checkReadable(source); !readable)
        return failure(readable.error());
    DecoderMessages messages;
    Result<PictureRead> read = decode(source, messages, key);
    return withDecoderWords(std::move(read), messages.text());
}

} // namespace image
