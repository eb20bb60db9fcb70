// SPDX-License-Identifier: MIT
// Loading a picture into the working image and saving the working image.
#include "main_window.h"

#include "dialog_service.h"
#include "window_layout.h"
#include "file_filters.h"
#include "image/indexed_bitmap_save.h"
#include "image/picture_format.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>

namespace shell {

namespace {

FileDialogSettings pictureDialog(const QStringList& filters, const QString& startPath)
{
    FileDialogSettings settings;
    settings.filters = filters;
    settings.defaultSuffix = QStringLiteral("bmp");
    settings.startPath = startPath;
    return settings;
}

// The first local file among dropped URLs, or the empty text.
QString droppedFile(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

} // namespace

void Main::loadPicture()
{
    const QString path = m_dialogs.openFile(pictureDialog(openFilters(), m_state.LastLoadPath));
    if (!path.isEmpty())
        openPicture(path);
}

void Main::openPicture(const QString& path)
{
    m_state.LastLoadPath = path;

    // A picture that cannot be read changes nothing but the start path, and says why.
    if (const QString error = m_document->load(path, {m_state.key}); !error.isEmpty()) {
        showError(QStringLiteral("%1 could not be loaded.\n\n%2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    m_lblCurImage->setText(name);
    m_lblCurImage->setToolTip(name);
    m_state.ImageWidth = float(workingImage().width()) * kTwipsPerPixel;
    m_state.ImageHeight = float(workingImage().height()) * kTwipsPerPixel;
    m_view->showCorner();
}

void Main::savePicture()
{
    QString path = m_dialogs.saveFile(pictureDialog(saveFilters(), m_state.LastSavePath));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".bmp");
    m_state.LastSavePath = path;

    // A name ending in .png is written as PNG, whatever the filter; any other as BMP,
    // of 8 bits a pixel under the 8-bit filter.
    const image::PictureFormat format = image::formatForName(path).value_or(image::PictureFormat::Bmp);
    std::optional<QString> error;
    if (format == image::PictureFormat::Bmp && m_dialogs.lastSaveFilter() == kIndexedBitmapFilter) {
        const Result<qint64> saved = image::writeIndexedBitmap(workingImage(), path, {m_state.key, m_state.palette});
        if (!saved)
            error = saved.error();
    } else {
        error = image::writePicture(workingImage(), path, format);
    }
    if (error)
        showError(QStringLiteral("%1 could not be saved.\n\n%2").arg(QDir::toNativeSeparators(path), *error));
}

// A picture dropped from a file manager is opened as the load command opens it, under
// the same guards; of several, the first.
void Main::dragEnterEvent(QDragEnterEvent* event)
{
    if (!commandsSilenced() && !droppedFile(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Main::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(*event->mimeData());
    if (commandsSilenced() || path.isEmpty())
        return;
    event->acceptProposedAction();
    openPicture(path);
}

} // namespace shell
