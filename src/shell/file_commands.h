// SPDX-License-Identifier: MIT
#pragma once

#include "window_state.h"

#include <QString>
#include <functional>

namespace shell {

class DialogService;
class SheetDocument;

// The File menu's pictures: loading one as the sheet, joining frames into one, saving
// it; the dialogs they ask, the paths they start from, and the boxes of their failures.
class FileCommands {
public:
    // `loaded` is told the path of each sheet taken: the picture, or an import's first
    // frame. The dialogs first open in the images folder beside the program where there
    // is one, else in the user's pictures.
    FileCommands(WindowState& state, DialogService& dialogs, SheetDocument& document,
                 std::function<void(const QString& path)> loaded);

    void load();
    // Opens a picture as load does once a file is chosen.
    void open(const QString& path);
    // Several frame files joined into a new sheet, taken as a load takes a picture.
    void importFrames();
    void save();

private:
    void showError(const QString& text);

    WindowState& m_state;
    DialogService& m_dialogs;
    SheetDocument& m_document;
    std::function<void(const QString& path)> m_loaded;
};

} // namespace shell
