// SPDX-License-Identifier: MIT
#include "picture_format.h"

#include "bitmap_save.h"
#include "save_flush.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::PictureFormat", text);
}

QString noPixels(const Surface& surface)
{
    return tr("A picture with no pixels cannot be saved (%1 x %2 pixels).").arg(surface.width()).arg(surface.height());
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

std::optional<QString> writePng(const Surface& surface, const QString& path)
{
    // The save file would rename its result over a device or pipe of that name.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile() && !existing.isDir())
        return tr("The file could not be created: the name belongs to a device or other special file.");

    // Encoded first, so that the file is written in one call, unbuffered: a failure (a
    // full disk) is seen there with its reason, never missed by a late flush.
    auto encoded = encodePng(surface);
    if (const QString* problem = std::get_if<QString>(&encoded))
        return *problem;
    const QByteArray bytes = std::get<QByteArray>(std::move(encoded));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return tr("The file could not be created: %1").arg(file.errorString());
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return tr("The picture could not be written: %1").arg(reason);
        }
        done += written;
    }
    const ReplacedFile replaced(path);
    if (!file.commit())
        return tr("The picture could not be written: %1").arg(file.errorString());
    return std::nullopt;
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
    if (format == PictureFormat::Bmp)
        return writeBitmap(surface, path);
    if (surface.width() == 0 || surface.height() == 0)
        return noPixels(surface);
    return writePng(surface, path);
}

std::variant<QByteArray, QString> encodePicture(const Surface& surface, PictureFormat format)
{
    if (surface.width() == 0 || surface.height() == 0)
        return noPixels(surface);
    if (format == PictureFormat::Png)
        return encodePng(surface);
    // The same bytes as a saved file, from the same writer.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const auto problem = writeBitmap(surface, buffer))
        return *problem;
    return bytes;
}

} // namespace image
