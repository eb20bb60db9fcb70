// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"
#include "operations/count_answer.h"
#include "settings/sprite_size.h"

#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace batch {

// The window's questions, answered on the command line. Counts are read as the window
// reads the same typed answers (a count whose numeric reading is 0 is taken as 1).
struct NpcStep {
    ops::CountAnswer sprites;
    ops::CountAnswer columns;
};
struct NegativeStep {
    ops::CountAnswer columns;
};
struct RearrangeStep {
    QString order; // as typed, never empty
};
struct ReplaceStep {
    image::Colour from = 0;
    image::Colour to = 0;
};

struct Step {
    QString option; // as typed, "--npc 4,8": names the step in messages
    std::variant<NpcStep, NegativeStep, RearrangeStep, ReplaceStep> action;
};

// One run of the program: the steps, applied in order to every input.
struct Job {
    std::vector<Step> steps;
    settings::SpriteSize spriteSize; // the cell size of --npc
    QStringList inputs;
    QString output; // -o: where the only input goes; empty with --out-dir
    QString outDir;

    // Where `input` is written: the -o file, or <out-dir>/<input's name without its
    // last suffix>.bmp.
    QString outputFor(const QString& input) const;
};

struct CommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::UsageError;
    Job job;      // complete for Run only
    QString text; // the help text, or what is wrong with the command line
};

// Reads the program's arguments (the first is the program itself). Never exits and
// prints nothing.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace batch
