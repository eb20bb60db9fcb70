// SPDX-License-Identifier: MIT
#include "qt_dialog_service.h"

#include "file_filters.h"
#include "image/qcolor_conversion.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace shell {

namespace {

QString nearestExistingFolder(const QString& path)
{
    QFileInfo folder(path);
    while (!folder.isDir()) {
        const QString parent = folder.absolutePath();
        if (parent == folder.absoluteFilePath())
            return QDir::homePath();
        folder.setFile(parent);
    }
    return folder.absoluteFilePath();
}

} // namespace

Answer QtDialogService::message(const QString& text, Buttons buttons, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, m_parent);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtDialogService::input(const QString& prompt, const QString& title)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, QString(), &accepted);
    return accepted ? text : QString();
}

QStringList QtDialogService::runFileDialog(const FileDialogSettings& settings, bool save, bool several)
{
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(settings.filters);
    dialog.setDefaultSuffix(settings.defaultSuffix);
    // A typed name without a suffix takes the chosen filter's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        if (const QString suffix = filterSuffix(filter); !suffix.isEmpty())
            dialog.setDefaultSuffix(suffix);
    });

    // The start path names a folder or the file chosen last; where it no longer
    // exists, start in the nearest folder above it that does.
    const QFileInfo start(settings.startPath);
    if (start.isFile())
        dialog.selectFile(start.absoluteFilePath());
    else
        dialog.setDirectory(nearestExistingFolder(start.absoluteFilePath()));

    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (save)
        m_lastSaveFilter = int(std::max<qsizetype>(0, settings.filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles();
}

QString QtDialogService::openFile(const FileDialogSettings& settings)
{
    return runFileDialog(settings, false).value(0);
}

QString QtDialogService::saveFile(const FileDialogSettings& settings)
{
    return runFileDialog(settings, true).value(0);
}

QStringList QtDialogService::openFiles(const FileDialogSettings& settings)
{
    return runFileDialog(settings, false, true);
}

std::optional<image::Colour> QtDialogService::chooseColour()
{
    const QColor chosen = QColorDialog::getColor(m_lastColour, m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    m_lastColour = chosen;
    return image::fromQColor(chosen);
}

std::optional<image::Colour> QtDialogService::chooseColourFrom(image::Colour start)
{
    const QColor chosen = QColorDialog::getColor(image::toQColor(start), m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return image::fromQColor(chosen);
}

void QtDialogService::yield()
{
    QCoreApplication::processEvents();
}

} // namespace shell
