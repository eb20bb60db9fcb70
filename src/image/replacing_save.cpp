// SPDX-License-Identifier: MIT
#include "replacing_save.h"

#include "save_flush.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::ReplacingSave", text);
}

} // namespace

Result<void> checkPixelsToSave(const Surface& surface)
{
    if (surface.width() > 0 && surface.height() > 0)
        return {};
    return Failure{
        tr("A picture with no pixels cannot be saved (%1 x %2 pixels).").arg(surface.width()).arg(surface.height())};
}

Result<void> saveReplacing(const QString& path, const std::function<bool(QFileDevice&)>& write)
{
    // The save file would rename its result over a device or pipe of that name.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile() && !existing.isDir())
        return Failure{tr("The file could not be created: the name belongs to a device or other special file.")};

    QSaveFile file(path);
    // Unbuffered: every block goes to the file as it is written, so that a failure (a
    // full disk) is seen, with its reason, at the write that meets it. commit() would
    // miss a failure of bytes still buffered and put a cut-off file in place of the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure{tr("The file could not be created: %1").arg(file.errorString())};

    if (!write(file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure{tr("The picture could not be written: %1").arg(reason)};
    }
    const ReplacedFile replaced(path);
    if (!file.commit())
        return Failure{tr("The picture could not be written: %1").arg(file.errorString())};
    return {};
}

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

} // namespace image
