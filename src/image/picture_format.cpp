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
std::variant<QByteArray, QString> encodePng(const Surface& surface)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(surface.picture()))
        return tr("The picture could not be written: %1").arg(writer.errorString());
    return bytes;
}

// Encoded first, so that the file is written in one call.
std::optional<QString> writePng(const Surface& surface, const QString& path)
{
    if (const std::optional<QString> reason = noPixelsToSave(surface))
        return reason;
    auto encoded = encodePng(surface);
    if (const QString* problem = std::get_if<QString>(&encoded))
        return *problem;
    const QByteArray bytes = std::get<QByteArray>(std::move(encoded));
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

std::optional<QString> writePicture(const Surface& surface, const QString& path, PictureFormat format)
{
    return format == PictureFormat::Bmp ? writeBitmap(surface, path) : writePng(surface, path);
}

std::variant<QByteArray, QString> encodePicture(const Surface& surface, PictureFormat format)
{
    if (format == PictureFormat::Png) {
        if (const std::optional<QString> reason = noPixelsToSave(surface))
            return *reason;
        return encodePng(surface);
    }
    // The same bytes as a saved file, from the same writer.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const auto problem = writeBitmap(surface, buffer))
        return *problem;
    return bytes;
}

} // namespace image
