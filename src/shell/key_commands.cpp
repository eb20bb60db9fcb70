// SPDX-License-Identifier: MIT
#include "key_commands.h"

#include "dialog_service.h"
#include "file_filters.h"
#include "image/palette_file.h"

namespace shell {

namespace {

const QString kPaletteTitle = QStringLiteral("Palette");

} // namespace

KeyCommands::KeyCommands(WindowState& state, DialogService& dialogs, std::function<void()> keyChanged)
    : m_state(state), m_dialogs(dialogs), m_keyChanged(std::move(keyChanged))
{
}

void KeyCommands::setKey(image::Colour key)
{
    m_state.key = key;
    m_keyChanged();
}

// The dialog opens on the key; Change A Color's keeps its own last choice. A key that
// is not the palette's entry 0 leaves the palette.
void KeyCommands::chooseKeyColour()
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
void KeyCommands::choosePalette()
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
