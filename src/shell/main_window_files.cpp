// SPDX-License-Identifier: MIT
// Loading a picture into the working image and saving the working image.
#include "main_window.h"

#include "dialog_service.h"
#include "sheet_history.h"
#include "viewport.h"
#include "window_layout.h"
#include "image/bitmap_save.h"
#include "image/picture_read.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

namespace shell {

namespace {

FileDialogSettings bitmapDialog(const QString& startPath)
{
    FileDialogSettings settings;
    settings.confirmOverwrite = true;
    settings.filter = QStringLiteral("Windows Bitmap (*.bmp)");
    settings.defaultSuffix = QStringLiteral("bmp");
    settings.startPath = startPath;
    return settings;
}

} // namespace

void Main::loadPicture()
{
    const QString path = m_dialogs.openFile(bitmapDialog(m_state.LastLoadPath));
    if (path.isEmpty())
        return;
    m_state.LastLoadPath = path;

    // A picture that cannot be read changes nothing but the start path, and says why.
    const QString shownPath = QDir::toNativeSeparators(path);
    const image::PictureRead read = image::readPicture(path);
    if (!read.error.isEmpty()) {
        showError(QStringLiteral("%1 could not be loaded.\n\n%2").arg(shownPath, read.error));
        return;
    }
    try {
        m_picPic1.assign(read.picture);
    } catch (const image::SurfaceError& error) {
        showError(QStringLiteral("%1 could not be loaded.\n\n%2").arg(shownPath, QString::fromUtf8(error.what())));
        return;
    }

    m_history->clear();
    m_grid = CellGrid{};
    const QString name = QFileInfo(path).fileName();
    m_lblCurImage->setText(name);
    m_lblCurImage->setToolTip(name);
    m_state.ImageWidth = float(m_picPic1.width()) * kTwipsPerPixel;
    m_state.ImageHeight = float(m_picPic1.height()) * kTwipsPerPixel;

    // A new sheet is always seen from its corner.
    {
        const QSignalBlocker blockH(m_HScroll1);
        const QSignalBlocker blockV(m_VScroll1);
        m_HScroll1->setValue(0);
        m_VScroll1->setValue(0);
    }
    UpdatePic(0, 0);
}

void Main::savePicture()
{
    QString path = m_dialogs.saveFile(bitmapDialog(m_state.LastSavePath));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".bmp");
    m_state.LastSavePath = path;

    if (const auto error = image::writeBitmap(m_picPic1, path))
        showError(QStringLiteral("%1 could not be saved.\n\n%2").arg(QDir::toNativeSeparators(path), *error));
}

} // namespace shell
