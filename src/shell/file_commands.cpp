// SPDX-License-Identifier: MIT
#include "file_commands.h"

#include "dialog_service.h"
#include "file_filters.h"
#include "natural_order.h"
#include "sheet_document.h"
#include "image/indexed_bitmap_save.h"
#include "image/picture_format.h"
#include "operations/column_count.h"
#include "operations/count_answer.h"
#include "operations/message_title.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace shell {

namespace {

// Where the file dialogs first open: the images folder beside the program where there
// is one, else the user's pictures, never the folder of an installed program.
QString startFolder()
{
    const QString images = QCoreApplication::applicationDirPath() + QStringLiteral("/images/");
    if (QFileInfo(images).isDir())
        return images;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures + QLatin1Char('/');
    return QDir::homePath() + QLatin1Char('/');
}

FileDialogSettings pictureDialog(const QStringList& filters, const QString& startPath)
{
    FileDialogSettings settings;
    settings.filters = filters;
    settings.defaultSuffix = QStringLiteral("bmp");
    settings.startPath = startPath;
    return settings;
}

} // namespace

FileCommands::FileCommands(WindowState& state, DialogService& dialogs, SheetDocument& document,
                           std::function<void(const QString& path)> loaded)
    : m_state(state), m_dialogs(dialogs), m_document(document), m_loaded(std::move(loaded))
{
    m_state.LastSavePath = startFolder();
    m_state.LastLoadPath = m_state.LastSavePath;
}

void FileCommands::load()
{
    const QString path = m_dialogs.openFile(pictureDialog(openFilters(), m_state.LastLoadPath));
    if (!path.isEmpty())
        open(path);
}

void FileCommands::open(const QString& path)
{
    m_state.LastLoadPath = path;

    // A picture that cannot be read changes nothing but the start path, and says why.
    if (const Result<void> loaded = m_document.load(path, {m_state.key}); !loaded) {
        showError(QStringLiteral("%1 could not be loaded.\n\n%2").arg(QDir::toNativeSeparators(path), loaded.error()));
        return;
    }
    m_loaded(path);
}

void FileCommands::importFrames()
{
    QStringList paths = m_dialogs.openFiles(pictureDialog(openFilters(), m_state.LastLoadPath));
    if (paths.isEmpty())
        return;
    const auto columns
        = ops::readCountAnswer(m_dialogs.input(ops::kColumnCountPrompt.text, ops::kColumnCountPrompt.title));
    if (!columns)
        return;
    // walk2 before walk10, whatever order the dialog gives.
    sortByNaturalName(paths);
    m_state.LastLoadPath = paths.first();
    // The cells a short last row leaves take the key colour.
    if (const Result<void> joined = m_document.importFrames(paths, columns->numeric, m_state.key); !joined) {
        showError(QStringLiteral("The frames could not be imported.\n\n%1").arg(joined.error()));
        return;
    }
    m_loaded(paths.first());
}

void FileCommands::save()
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
            = image::writeIndexedBitmap(m_document.picture(), path, {m_state.key, m_state.palette});
            !indexed)
            saved = Failure{indexed.error()};
    } else {
        saved = image::writePicture(m_document.picture(), path, format);
    }
    if (!saved)
        showError(QStringLiteral("%1 could not be saved.\n\n%2").arg(QDir::toNativeSeparators(path), saved.error()));
}

void FileCommands::showError(const QString& text)
{
    m_dialogs.message(text, Buttons::Ok, ops::kMessageTitle);
}

} // namespace shell
