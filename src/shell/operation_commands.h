// SPDX-License-Identifier: MIT
#pragma once

#include "window_state.h"
#include "operations/operation.h"

#include <QPointF>

class QProgressBar;

namespace shell {

class DialogService;
class SheetDocument;
class SheetView;

// The operations of the table as the window's commands: one handler asks an entry's
// questions, reads them leniently, runs it through the document and shows its end the
// entry's way. The window's guards come first.
class OperationCommands {
public:
    OperationCommands(WindowState& state, DialogService& dialogs, SheetDocument& document, SheetView& view,
                      QProgressBar& bar);

    // Asks the entry's questions and runs it; one that picks a colour waits for a press
    // on the picture.
    void operate(const ops::Operation& operation);
    // A press on the viewport: where a colour is to be picked, the waiting operation goes
    // on with the colour under it.
    void pressAt(QPointF position);

private:
    void runWithAnswers(const ops::Operation& operation, const ops::WindowAnswers& given);
    ops::OperationSettings settings() const;
    void showFailure(const std::optional<ops::FailureBoxes>& boxes, const ops::Outcome& outcome);

    WindowState& m_state;
    DialogService& m_dialogs;
    SheetDocument& m_document;
    SheetView& m_view;
    QProgressBar& m_bar;

    // The operation waiting for a press on the picture, and its answers so far.
    struct ColourPick {
        const ops::Operation* operation = nullptr;
        ops::WindowAnswers answers;
    };
    ColourPick m_colourPick;
};

} // namespace shell
