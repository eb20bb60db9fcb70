// SPDX-License-Identifier: MIT
#include "picture_format.h"

#include "bitmap_save.h"
#include "replacing_save.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::PictureFormat", text);
}

// Qt's PNG writer stores the surface's RGB32 pixels without loss.
Result<QByteArray> encodePng(const Surface& surface)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(surface.picture()))
        return Failure{tr("The picture could not be written: %1").arg(writer.errorString())};
    return bytes;
}

// Encoded first, so that the file is written in one call.
Result<void> writePng(const Surface& surface, const QString& path)
{
    if (const auto checked = checkPixelsToSave(surface); !checked)
        return checked;
    const auto encoded = encodePng(surface);
    if (!encoded)
        return Failure{encoded.error()};
    const QByteArray& bytes = *encoded;
    return saveReplacing(path, [&](QFileDevice& file) {
        return writeAll(file, reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    });
}

} // namespace

std::optional<PictureFormat> formatForSuffix(const QString& suffix)
{
    if (suffix.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0)
        return PictureFormat::Bmp;
    if (suffix.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        return PictureFormat::Png;
    return std::nullopt;
}

std::optional<PictureFormat> formatForName(const QString& path)
{
    return formatForSuffix(QFileInfo(path).suffix());
}

QString formatSuffix(PictureFormat format)
{
    return format == PictureFormat::Png ? QStringLiteral("png") : QStringLiteral("bmp");
}

Result<void> writePicture(const Surface& surface, const QString& path, PictureFormat format)
{
    return format == PictureFormat::Bmp ? writeBitmap(surface, path) : writePng(surface, path);
}

Result<QByteArray> encodePicture(const Surface& surface, PictureFormat format)
{
    if (format == PictureFormat::Png) {
        if (const auto checked = checkPixelsToSave(surface); !checked)
            return Failure{checked.error()};
        return encodePng(surface);
    }
    // The same bytes as a saved file, from the same writer.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const auto written = writeBitmap(surface, buffer); !written)
        return Failure{written.error()};
    return bytes;
}

} // namespace image
