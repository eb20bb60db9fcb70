// SPDX-License-Identifier: MIT
#include "operation_commands.h"

#include "dialog_service.h"
#include "progress_bar.h"
#include "sheet_document.h"
#include "sheet_view.h"
#include "image/raster.h"
#include "operations/message_title.h"

namespace shell {

OperationCommands::OperationCommands(WindowState& state, DialogService& dialogs, SheetDocument& document,
                                     SheetView& view, QProgressBar& bar)
    : m_state(state), m_dialogs(dialogs), m_document(document), m_view(view), m_bar(bar)
{
}

void OperationCommands::operate(const ops::Operation& operation)
{
    const ops::WindowCommand& command = operation.window;
    // Asking first would only lead to a refusal.
    if (command.checkBeforeAsking) {
        if (const Result<void> checked = command.checkBeforeAsking(settings()); !checked) {
            m_dialogs.message(checked.error(), Buttons::Ok, ops::kMessageTitle);
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

void OperationCommands::pressAt(QPointF position)
{
    if (m_document.busy() || !m_state.ColorPickMode)
        return;
    // A press on the border, or on the grey beyond the picture, ends the pick with
    // nothing changed.
    const std::optional<QPoint> pixel = m_view.pickAt(position);
    if (!pixel) {
        m_state.ColorPickMode = false;
        return;
    }
    ops::WindowAnswers given = m_colourPick.answers;
    given.picked = image::GetPixel(m_document.picture(), pixel->x(), pixel->y());
    given.chosen = m_dialogs.chooseColour();
    runWithAnswers(*m_colourPick.operation, given);
}

void OperationCommands::runWithAnswers(const ops::Operation& operation, const ops::WindowAnswers& given)
{
    const std::optional<ops::Answers> answers = operation.window.readAnswers(given);
    if (!answers) {
        if (operation.window.picksColour)
            m_state.ColorPickMode = false;
        return;
    }
    const ops::OperationSettings settings = this->settings();
    const CellGrid grid{operation.gridAfter(*answers, m_document.grid())};
    ProgressBarReporter progress(m_bar, m_dialogs);
    m_document.run(
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
            m_view.showResult(operation.window.viewAfter, progress);
            if (operation.window.picksColour)
                m_state.ColorPickMode = false;
            progress.finish();
        });
}

ops::OperationSettings OperationCommands::settings() const
{
    return {m_state.sprite, m_document.grid(), m_state.key};
}

// A run that left the sheet alone says what the entry has it say.
void OperationCommands::showFailure(const std::optional<ops::FailureBoxes>& boxes, const ops::Outcome& outcome)
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
