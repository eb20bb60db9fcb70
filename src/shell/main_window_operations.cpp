// SPDX-License-Identifier: MIT
// The four sheet operations as the window runs them: prompts, progress, redraw.
#include "main_window.h"

#include "dialog_service.h"
#include "progress_bar.h"
#include "sheet_history.h"
#include "viewport.h"
#include "image/pixel_round.h"
#include "image/raster.h"
#include "operations/colour_replace.h"
#include "operations/count_answer.h"
#include "operations/negative.h"
#include "operations/npc_conversion.h"
#include "operations/rearrange.h"

#include <QProgressBar>
#include <QScrollBar>

namespace shell {

namespace {

// Marks an operation as running for as long as it lives.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};

} // namespace

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
        m_dialogs.message(QStringLiteral("We encountered an error!"), Buttons::Ok, QStringLiteral("Tarnel"));
        m_dialogs.message(outcome.message, Buttons::Ok, QStringLiteral("This was the error!"));
        return false;
    }
    return false;
}

void Main::runOperation(const QString& name, const std::function<ops::Outcome(ops::Progress&)>& work,
                        const CellGrid& grid, const std::function<void(ProgressBarReporter&)>& finish)
{
    const BusyScope busy(m_busy);
    ProgressBarReporter progress(*m_PB, m_dialogs);
    const SheetState before(m_picPic1.picture(), m_grid);
    if (!reportOutcome(work(progress)))
        return;
    setCellGrid(grid);
    m_history->record(name, before, SheetState(m_picPic1.picture(), m_grid));
    finish(progress);
    progress.finish();
}

void Main::NPCPic()
{
    // Asking for counts first would only lead to a refusal.
    if (const auto problem = ops::spriteSizeProblem(m_state.sprite)) {
        showError(*problem);
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
        [&](ops::Progress& progress) {
            return ops::convertToNpc(m_picPic1, m_picsetup, m_picsetup1, *sprites, *columns, m_state.sprite, progress);
        },
        CellGrid{sprites->numeric, columns->numeric},
        [this](ProgressBarReporter& progress) {
            applyScrollLimits();
            progress.reached(90);
            m_HScroll1->setValue(0);
            m_VScroll1->setValue(0);
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
        [&](ops::Progress& progress) {
            return ops::makeNegative(m_picPic1, m_picsetup, m_picsetup1, *columns, progress);
        },
        CellGrid{m_grid.rows, 2 * columns->numeric},
        [this](ProgressBarReporter& progress) {
            // The view shows the new sheet's corner; the scroll bars keep their positions.
            UpdatePic(0, 0);
            applyScrollLimits();
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
        [&](ops::Progress& progress) { return ops::rearrangeRows(m_picPic1, m_picsetup, answer, progress); },
        CellGrid{double(ops::rearrangedBandCount(answer)), m_grid.columns},
        [this](ProgressBarReporter& progress) {
            progress.reached(90);
            UpdatePic(m_HScroll1->value(), m_VScroll1->value());
            m_PB->setValue(100); // without a repaint
        });
}

void Main::changeColourAt(QPointF position)
{
    if (m_busy || !m_state.ColorPickMode)
        return;
    // Only a pixel of the picture can be picked: a press on the border, or on the grey
    // beyond the picture, ends the pick with nothing changed.
    const QPoint at(image::roundToPixel(position.x()), image::roundToPixel(position.y()));
    const QPoint pixel = pictureAt(position);
    const auto inside = [](const image::Surface& surface, QPoint point) {
        return QRect(0, 0, surface.width(), surface.height()).contains(point);
    };
    if (!inside(m_picPic->surface(), at) || !inside(m_picPic1, pixel)) {
        m_state.ColorPickMode = false;
        return;
    }
    const image::Colour picked = image::GetPixel(m_picPic1, pixel.x(), pixel.y());
    const std::optional<image::Colour> chosen = m_dialogs.chooseColour();
    if (!chosen || *chosen == picked) {
        m_state.ColorPickMode = false;
        return;
    }

    runOperation(
        QStringLiteral("Change A Color"),
        [&](ops::Progress& progress) { return ops::replaceColour(m_picPic1, picked, *chosen, progress); }, m_grid,
        [this](ProgressBarReporter& progress) {
            UpdatePic(m_HScroll1->value(), m_VScroll1->value());
            progress.reached(100);
            m_state.ColorPickMode = false;
        });
}

} // namespace shell
