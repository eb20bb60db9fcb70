// SPDX-License-Identifier: MIT
// The key colour and the palette of 8-bit saves: the Edit menu's Key Colour and Palette.
#include "main_window.h"

#include "animation_preview.h"

#include "dialog_service.h"
#include "file_filters.h"
#include "image/palette_file.h"

#include <QAction>

namespace shell {

namespace {

const QString kPaletteTitle = QStringLiteral("Palette");

} // namespace

void Main::setKey(image::Colour key)
{
    m_state.key = key;
    showKey();
}

// The view and the preview draw the key alike: as a checkerboard while the View item is
// checked, else in its own colour.
void Main::showKey()
{
    const bool shown = m_mnuViewKey->isChecked();
    m_view->setKeyShown(shown ? std::optional(m_state.key) : std::nullopt);
    m_preview->setKey(m_state.key, shown);
}

// The dialog opens on the key; Change A Color's keeps its own last choice. A key that
// is not the palette's entry 0 leaves the palette.
void Main::chooseKeyColour()
{
    const std::optional<image::Colour> chosen = m_dialogs.chooseColourFrom(m_state.key);
    if (!chosen)
        return;
    if (m_state.palette && (*m_state.palette)[0] != *chosen)
        m_state.palette.reset();
    setKey(*chosen);
}

// A palette file for 8-bit saves, whose entry 0 becomes the key; cancelled while one is
// in use, the question whether to save without one again.
void Main::choosePalette()
{
    FileDialogSettings settings;
    settings.filters = paletteFilters();
    settings.startPath = m_state.LastPalettePath;
    const QString path = m_dialogs.openFile(settings);
    if (path.isEmpty()) {
        if (m_state.palette
            && m_dialogs.message(QStringLiteral("Save 8-bit bitmaps with their own colours again, without a palette?"),
                                 Buttons::YesNo, kPaletteTitle)
                == Answer::Yes)
            m_state.palette.reset();
        return;
    }
    m_state.LastPalettePath = path;
    const Result<image::ColourTable> palette = image::readPaletteFile(path);
    if (!palette) {
        m_dialogs.message(palette.error(), Buttons::Ok, kPaletteTitle);
        return;
    }
    m_state.palette = *palette;
    setKey((*palette)[0]);
}

} // namespace shell
