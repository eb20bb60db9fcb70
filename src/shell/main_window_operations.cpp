// SPDX-License-Identifier: MIT
// The operations of the table as the window runs them: one handler asks an entry's
// questions, reads them leniently, runs it through the document, and shows its end
// the entry's way.
#include "main_window.h"

#include "dialog_service.h"
#include "progress_bar.h"
#include "image/raster.h"
#include "operations/operation_table.h"

namespace shell {

void Main::NPCPic()
{
    operate(*ops::operationForRunCode(4));
}

void Main::NegPic()
{
    operate(*ops::operationForRunCode(2));
}

void Main::operate(const ops::Operation& operation)
{
    const ops::WindowCommand& command = operation.window;
    // Asking first would only lead to a refusal.
    if (command.checkBeforeAsking) {
        if (const Result<void> checked = command.checkBeforeAsking(operationSettings()); !checked) {
            showError(checked.error());
            return;
        }
    }
    if (command.notice)
        m_dialogs.message(command.notice->text, Buttons::Ok, command.notice->title);
    ops::WindowAnswers given;
    for (const ops::Prompt& prompt : command.prompts) {
        const QString answer = m_dialogs.input(prompt.text, prompt.title);
        if (answer.isEmpty())
            return;
        given.texts.append(answer);
    }
    if (!command.picksColour) {
        runWithAnswers(operation, given);
        return;
    }
    // The answers wait for a press on the picture.
    m_colourPick = ColourPick{&operation, given};
    m_state.ColorPickMode = true;
}

void Main::changeColourAt(QPointF position)
{
    if (m_document->busy() || !m_state.ColorPickMode)
        return;
    // A press on the border, or on the grey beyond the picture, ends the pick with
    // nothing changed.
    const std::optional<QPoint> pixel = m_view->pickAt(position);
    if (!pixel) {
        m_state.ColorPickMode = false;
        return;
    }
    ops::WindowAnswers given = m_colourPick.answers;
    given.picked = image::GetPixel(workingImage(), pixel->x(), pixel->y());
    given.chosen = m_dialogs.chooseColour();
    runWithAnswers(*m_colourPick.operation, given);
}

void Main::runWithAnswers(const ops::Operation& operation, const ops::WindowAnswers& given)
{
    const std::optional<ops::Answers> answers = operation.window.readAnswers(given);
    if (!answers) {
        if (operation.window.picksColour)
            m_state.ColorPickMode = false;
        return;
    }
    const ops::OperationSettings settings = operationSettings();
    const CellGrid grid{operation.gridAfter(*answers, cellGrid())};
    ProgressBarReporter progress(*m_PB, m_dialogs);
    m_document->run(
        operation.name,
        [&](ops::Sheets& sheets, ops::Progress& reporter) {
            return operation.run(sheets, *answers, settings, reporter);
        },
        grid, progress,
        [&](const ops::Outcome& outcome) {
            if (outcome.kind != ops::Outcome::Kind::Changed) {
                showFailure(operation.window.failureBoxes, outcome);
                return;
            }
            m_view->showResult(operation.window.viewAfter, progress);
            if (operation.window.picksColour)
                m_state.ColorPickMode = false;
            progress.finish();
        });
}

ops::OperationSettings Main::operationSettings() const
{
    return {m_state.sprite, cellGrid(), m_state.key};
}

// A run that left the sheet alone says what the entry has it say.
void Main::showFailure(const std::optional<ops::FailureBoxes>& boxes, const ops::Outcome& outcome)
{
    if (!boxes)
        return;
    if (outcome.kind == ops::Outcome::Kind::Refused) {
        m_dialogs.message(outcome.message, Buttons::Ok, boxes->refusalTitle);
    } else if (outcome.kind == ops::Outcome::Kind::Failed) {
        m_dialogs.message(boxes->errorNotice, Buttons::Ok, boxes->refusalTitle);
        m_dialogs.message(outcome.message, Buttons::Ok, boxes->errorTitle);
    }
}

} // namespace shell
