// SPDX-License-Identifier: MIT
#pragma once

#include "window_state.h"

#include <functional>

namespace shell {

class DialogService;

// The Edit menu's key colour and the palette of 8-bit saves. Changing the key recolours
// nothing loaded; `keyChanged` is told so that the key is drawn anew.
class KeyCommands {
public:
    KeyCommands(WindowState& state, DialogService& dialogs, std::function<void()> keyChanged);

    void chooseKeyColour();
    void choosePalette();

private:
    void setKey(image::Colour key);

    WindowState& m_state;
    DialogService& m_dialogs;
    std::function<void()> m_keyChanged;
};

} // namespace shell
