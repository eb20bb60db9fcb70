// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"
#include "image/colour_table.h"
#include "settings/sprite_size.h"

#include <QString>
#include <optional>

namespace shell {

// The window-level values the commands share.
struct WindowState {
    settings::SpriteSize sprite; // SpriteWidth, SpriteHeight
    float ImageWidth = 0;        // twips, recorded by the last load
    float ImageHeight = 0;
    bool ColorPickMode = false; // the next press on the viewport picks a colour
    QString LastLoadPath;
    QString LastSavePath;
    image::Colour key = image::rgb(0, 0, 0);   // the colour the engines draw as transparent
    std::optional<image::ColourTable> palette; // of 8-bit saves; its entry 0 is the key
    QString LastPalettePath;
};

} // namespace shell
