// SPDX-License-Identifier: MIT
#pragma once

#include "dialog_service.h"

#include <QColor>

class QWidget;

namespace shell {

// The real boxes and dialogs: QMessageBox, QInputDialog, QFileDialog, QColorDialog.
class QtDialogService final : public DialogService {
public:
    void setParent(QWidget* parent) { m_parent = parent; }

    Answer message(const QString& text, Buttons buttons, const QString& title) override;
    QString input(const QString& prompt, const QString& title) override;
    QString openFile(const FileDialogSettings& settings) override;
    QString saveFile(const FileDialogSettings& settings) override;
    QStringList openFiles(const FileDialogSettings& settings) override;
    int lastSaveFilter() const override { return m_lastSaveFilter; }
    std::optional<image::Colour> chooseColour() override;
    std::optional<image::Colour> chooseColourFrom(image::Colour start) override;
    void yield() override;

private:
    QStringList runFileDialog(const FileDialogSettings& settings, bool save, bool several = false);

    QWidget* m_parent = nullptr;
    QColor m_lastColour = Qt::black;
    int m_lastSaveFilter = 0;
};

} // namespace shell
