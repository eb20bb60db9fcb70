// SPDX-License-Identifier: MIT
// Loading a picture into the working image and saving the working image.
#include "main_window.h"

#include "dialog_service.h"
#include "window_layout.h"
#include "file_filters.h"
#include "natural_order.h"
#include "operations/count_answer.h"
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
    if (const Result<void> loaded = m_document->load(path, {m_state.key}); !loaded) {
        showError(QStringLiteral("%1 could not be loaded.\n\n%2").arg(QDir::toNativeSeparators(path), loaded.error()));
        return;
    }
    showLoaded(path);
}

void Main::importFrames()
{
    QStringList paths = m_dialogs.openFiles(pictureDialog(openFilters(), m_state.LastLoadPath));
    if (paths.isEmpty())
        return;
    const auto columns = ops::readCountAnswer(m_dialogs.input(QStringLiteral("How many Animation Columns are present?"),
                                                              QStringLiteral("Animation Columns")));
    if (!columns)
        return;
    // walk2 before walk10, whatever order the dialog gives.
    sortByNaturalName(paths);
    m_state.LastLoadPath = paths.first();
    // The cells a short last row leaves take the key colour.
    if (const Result<void> joined = m_document->importFrames(paths, columns->numeric, m_state.key); !joined) {
        showError(QStringLiteral("The frames could not be imported.\n\n%1").arg(joined.error()));
        return;
    }
    showLoaded(paths.first());
}

// The sheet read from `path` (or joined from frames, the first at `path`) is shown as
// loaded: its name in the label, its size remembered, the view at its corner.
void Main::showLoaded(const QString& path)
{
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
    Result<void> saved;
    if (format == image::PictureFormat::Bmp && m_dialogs.lastSaveFilter() == kIndexedBitmapFilter) {
        if (const Result<qint64> indexed
            = image::writeIndexedBitmap(workingImage(), path, {m_state.key, m_state.palette});
            !indexed)
            saved = Failure{indexed.error()};
    } else {
        saved = image::writePicture(workingImage(), path, format);
    }
    if (!saved)
        showError(QStringLiteral("%1 could not be saved.\n\n%2").arg(QDir::toNativeSeparators(path), saved.error()));
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
