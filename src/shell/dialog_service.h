// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace shell {

enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// What the caller sets on the file dialog before showing it.
struct FileDialogSettings {
    QStringList filters;   // in Qt's form, "Windows Bitmap (*.bmp)"; the first is chosen
    QString defaultSuffix; // added to a typed name that has none, without the dot; the
                           // dialog follows the filter chosen, where that names one
    QString startPath;     // a folder, or a file whose folder is used
};

// The modal boxes and dialogs the window asks through, so that tests can script
// every answer. All calls are modal and return the user's answer.
class DialogService {
public:
    virtual ~DialogService() = default;

    // No icon; the first button is the default.
    virtual Answer message(const QString& text, Buttons buttons, const QString& title) = 0;

    // No default text. Cancel gives the empty text, as does OK with nothing typed.
    virtual QString input(const QString& prompt, const QString& title) = 0;

    // The full path chosen, or the empty text when cancelled.
    virtual QString openFile(const FileDialogSettings& settings) = 0;
    virtual QString saveFile(const FileDialogSettings& settings) = 0;
    // Several files chosen in one open dialog: their full paths, none when cancelled.
    virtual QStringList openFiles(const FileDialogSettings& settings) = 0;
    // Which of the last save dialog's filters was chosen, as an index into its filters.
    virtual int lastSaveFilter() const = 0;

    // Opens on the colour chosen last; nullopt when cancelled.
    virtual std::optional<image::Colour> chooseColour() = 0;
    // Opens on `start`, and leaves the colour chosen last as it was.
    virtual std::optional<image::Colour> chooseColourFrom(image::Colour start) = 0;

    // Lets the event loop handle what is pending (painting, input), then returns.
    virtual void yield() = 0;
};

} // namespace shell
