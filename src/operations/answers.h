// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"
#include "count_text.h"
#include "image/colour.h"
#include "image/surface.h"
#include "settings/sprite_size.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace ops {

// An operation's answers once read, from the window's prompts or from the command line.
// Each operation uses the fields it asks for.
struct Answers {
    QList<Count> counts;          // in the order asked; nullopt: `auto`, guessed when it runs
    QString text;                 // an answer used as typed (the row order)
    QList<image::Colour> colours; // in the order asked (the colour replaced, then its replacement)
    int tolerance = 0;            // Key Out Background's, as read; a bad one is refused when it runs
};

// What the window has gathered for an operation: the prompts' answers in order, all
// given (an empty one ends the command before this is read), and for an operation that
// picks a colour, the colour under the press and the colour dialog's choice (nullopt:
// cancelled).
struct WindowAnswers {
    QStringList texts;
    image::Colour picked;
    std::optional<image::Colour> chosen;
};

// The values an operation reads besides its answers.
struct OperationSettings {
    settings::SpriteSize spriteSize;         // the Options panel's cell size, or --sprite-size
    CellGrid grid;                           // the grid in force, for an operation that needs one
    image::Colour key = image::rgb(0, 0, 0); // the key colour, drawn as transparent by the engines
};

// The surfaces an operation works on: the working image and the two scratch surfaces
// the window (or a batch run) keeps for the sheet.
struct Sheets {
    image::Surface& work;
    image::Surface& scratch;
    image::Surface& scratch2;
};

} // namespace ops
