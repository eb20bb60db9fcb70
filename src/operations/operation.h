// SPDX-License-Identifier: MIT
#pragma once

#include "answers.h"
#include "cell_grid.h"
#include "outcome.h"
#include "message_title.h"
#include "progress.h"
#include "base/result.h"

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace ops {

// A question the window asks: an input box with this text and title, or (as a notice)
// a plain message box.
struct Prompt {
    QString text;
    QString title;
};

// How the window shows a run that stopped: a refusal (Outcome::Kind::Refused) in one
// box, its text titled `refusalTitle`; an error (Failed) in two, `errorNotice` titled
// `refusalTitle`, then the error's text titled `errorTitle`.
struct FailureBoxes {
    QString refusalTitle;
    QString errorNotice;
    QString errorTitle;
};

// The boxes the operations that can stop share.
inline const FailureBoxes kFailureBoxes{kMessageTitle, QStringLiteral("We encountered an error!"),
                                        QStringLiteral("This was the error!")};

// What the window does once the operation changed the sheet, after the operation's own
// milestones; "the bar at 100" sets it without a repaint.
enum class ViewAfter {
    FromCorner,          // scroll limits, 90, both scroll bars to 0, 100, drawn from the corner
    CornerKeepingScroll, // drawn from the corner, scroll limits, 90, drawn again, the bar at 100
    WhereItWas,          // 90, drawn at the scroll bars' values, the bar at 100
    WhereItWasShown,     // drawn at the scroll bars' values, 100; the colour pick ends
};

// An axis of the sheet's grid.
enum class GridAxis { Rows, Columns };

// The operation as a command of the window's Operations menu.
struct WindowCommand {
    QString caption;            // with its access key: "&Make Negative"
    QString objectName;         // "mnuFileNeg"
    QKeySequence shortcut;      // F1
    int menuPosition = -1;      // its place in the Operations menu, from 0
    std::optional<int> runCode; // the code it goes through Main::RunCommand with, if it does

    // Asked in order: `notice` when the command is chosen, then each prompt; an empty
    // answer (Cancel) ends the command silently. An operation that picks a colour then
    // waits for a press on the picture and asks the colour dialog for the new colour.
    std::optional<Prompt> notice;
    QList<Prompt> prompts;
    bool picksColour = false;
    // Checked before anything is asked: a failure is said (in a message box titled
    // kMessageTitle) instead, where the settings cannot give a result. nullptr where
    // nothing is checked first.
    Result<void> (*checkBeforeAsking)(const OperationSettings&) = nullptr;

    // The lenient reading the window gives what it gathered; nullopt: the command ends
    // with nothing said and nothing changed.
    std::optional<Answers> (*readAnswers)(const WindowAnswers&) = nullptr;
    // How a refused or failed run is shown; nullopt: it ends silently.
    std::optional<FailureBoxes> failureBoxes;
    ViewAfter viewAfter = ViewAfter::WhereItWas;
};

// The operation as an option of pixmold-batch, a step of its run.
struct CommandLineOption {
    QString name;      // "negative": --negative
    QString valueName; // "COLUMNS"
    QString summary;   // its line in --help's list of options
    QString help;      // its paragraph in --help after the list, each line indented by six
    // The strict reading of the value: the answers, or the whole message of the usage
    // error ("--negative abc: The column count 'abc' is not a number.").
    Result<Answers> (*read)(const QString& value) = nullptr;
    // For each count that may be `auto`, in the order of Answers::counts, the axis of the
    // guessed grid it takes, and its name in messages ("column count").
    QList<GridAxis> autoAxes;
    QStringList countNames;
    // What the step will probably do that was not meant, on a sheet of width x height
    // pixels, without the option before it; `auto` counts are guessed by then.
    QStringList (*warnings)(const Answers& answers, int width, int height) = nullptr;
};

// One sheet operation: everything the window, pixmold-batch, the tests and the fuzzers
// need to know to offer it and run it.
struct Operation {
    QString name; // as the undo history names it: "Make Negative"
    WindowCommand window;
    CommandLineOption option;
    bool readsSpriteSize = false; // OperationSettings::spriteSize
    // The option has no value of its own: its reading takes --tolerance's ("" where not given).
    bool readsTolerance = false;
    bool needsGrid = false; // OperationSettings::grid
    // The grid the result implies, from the answers and the grid in force before.
    CellGrid (*gridAfter)(const Answers& answers, const CellGrid& before) = nullptr;
    // Runs it on read answers (every count known), reporting `milestones` in order to
    // the progress where it changes the sheet.
    Outcome (*run)(Sheets& sheets, const Answers& answers, const OperationSettings& settings, Progress& progress)
        = nullptr;
    QList<int> milestones;
};

} // namespace ops
