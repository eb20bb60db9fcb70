// SPDX-License-Identifier: MIT
// The four sheet operations as the window runs them: prompts, progress, redraw.
#include "main_window.h"

#include "dialog_service.h"
#include "progress_bar.h"
#include "viewport.h"
#include "image/pixel_round.h"
#include "image/raster.h"
#include "operations/colour_replace.h"
#include "operations/count_answer.h"
#include "operations/message_title.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/rearrange.h"

#include <QProgressBar>
#include <QScrollBar>

namespace shell {

// Says what a run that left the sheet alone has to say; true when the sheet changed.
bool Main::reportOutcome(const ops::Outcome& outcome)
{
    switch (outcome.kind) {
    case ops::Outcome::Kind::Changed:
        return true;
    case ops::Outcome::Kind::Unchanged:
        return false;
    case ops::Outcome::Kind::Refused:
        showError(outcome.message);
        return false;
    case ops::Outcome::Kind::Failed:
        m_dialogs.message(QStringLiteral("We encountered an error!"), Buttons::Ok, ops::kMessageTitle);
        m_dialogs.message(outcome.message, Buttons::Ok, QStringLiteral("This was the error!"));
        return false;
    }
    return false;
}

void Main::runOperation(const QString& name, const SheetDocument::Work& work, const CellGrid& grid,
                        const std::function<void(ProgressBarReporter&)>& finish)
{
    ProgressBarReporter progress(*m_PB, m_dialogs);
    m_document->run(name, work, grid, progress, [&](const ops::Outcome& outcome) {
        if (!reportOutcome(outcome))
            return;
        finish(progress);
        progress.finish();
    });
}

void Main::NPCPic()
{
    // Asking for counts first would only lead to a refusal.
    if (const auto checked = ops::checkSpriteSize(m_state.sprite); !checked) {
        showError(checked.error());
        return;
    }
    const auto sprites = ops::readCountAnswer(
        m_dialogs.input(QStringLiteral("How many sprites are in this image?"), QStringLiteral("Sprite Count")));
    if (!sprites)
        return;
    const auto columns = ops::readCountAnswer(m_dialogs.input(
        QStringLiteral("How many Animation Columns are in this image?"), QStringLiteral("Animation Columns")));
    if (!columns)
        return;

    runOperation(
        QStringLiteral("Make NPC-Compatible"),
        [&](SheetSurfaces sheet, ops::Progress& progress) {
            return ops::convertToNpc(sheet.work, sheet.scratch, sheet.scratch2, *sprites, *columns, m_state.sprite,
                                     progress);
        },
        CellGrid{sprites->numeric, columns->numeric},
        [this](ProgressBarReporter& progress) {
            m_view->applyScrollLimits();
            progress.reached(90);
            m_view->scrollTo({0, 0});
            progress.reached(100);
            UpdatePic(0, 0);
        });
}

void Main::NegPic()
{
    const auto columns = ops::readCountAnswer(m_dialogs.input(QStringLiteral("How many Animation Columns are present?"),
                                                              QStringLiteral("Animation Columns")));
    if (!columns)
        return;

    runOperation(
        QStringLiteral("Make Negative"),
        [&](SheetSurfaces sheet, ops::Progress& progress) {
            return ops::makeNegative(sheet.work, sheet.scratch, sheet.scratch2, *columns, progress);
        },
        CellGrid{cellGrid().rows, 2 * columns->numeric},
        [this](ProgressBarReporter& progress) {
            // The view shows the new sheet's corner; the scroll bars keep their positions.
            UpdatePic(0, 0);
            m_view->applyScrollLimits();
            progress.reached(90);
            UpdatePic(0, 0);
            m_PB->setValue(100); // without a repaint
        });
}

void Main::rearrangeSprites()
{
    const QString answer
        = m_dialogs.input(QStringLiteral("Enter new order for sprites seperated by commas *IMPORTANT* (EG: 3,1,4,2):"),
                          QStringLiteral("Re-Arrange Sprites"));
    if (answer.isEmpty())
        return;

    runOperation(
        QStringLiteral("Re-Arrange Sprites"),
        [&](SheetSurfaces sheet, ops::Progress& progress) {
            return ops::rearrangeRows(sheet.work, sheet.scratch, answer, progress);
        },
        CellGrid{double(ops::rearrangedBandCount(answer)), cellGrid().columns},
        [this](ProgressBarReporter& progress) {
            progress.reached(90);
            m_view->refresh();
            m_PB->setValue(100); // without a repaint
        });
}

void Main::startColourPick()
{
    m_state.ColorPickMode = true;
    showError(QStringLiteral("Please click on the color you would like changed!"));
}

void Main::changeColourAt(QPointF position)
{
    if (m_document->busy() || !m_state.ColorPickMode)
        return;
    // Only a pixel of the picture can be picked: a press on the border, or on the grey
    // beyond the picture, ends the pick with nothing changed.
    const QPoint at(image::roundToPixel(position.x()), image::roundToPixel(position.y()));
    const QPoint pixel = m_view->pictureAt(position);
    const auto inside = [](const image::Surface& surface, QPoint point) {
        return QRect(0, 0, surface.width(), surface.height()).contains(point);
    };
    if (!inside(m_view->viewport()->surface(), at) || !inside(workingImage(), pixel)) {
        m_state.ColorPickMode = false;
        return;
    }
    const image::Colour picked = image::GetPixel(workingImage(), pixel.x(), pixel.y());
    const std::optional<image::Colour> chosen = m_dialogs.chooseColour();
    if (!chosen || *chosen == picked) {
        m_state.ColorPickMode = false;
        return;
    }

    runOperation(
        QStringLiteral("Change A Color"),
        [&](SheetSurfaces sheet, ops::Progress& progress) {
            return ops::replaceColour(sheet.work, picked, *chosen, progress);
        },
        cellGrid(),
        [this](ProgressBarReporter& progress) {
            m_view->refresh();
            progress.reached(100);
            m_state.ColorPickMode = false;
        });
}

} // namespace shell
