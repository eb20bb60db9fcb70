// SPDX-License-Identifier: MIT
// The View menu: the zoom factor and the cell grid drawn over the viewport.
#include "main_window.h"

#include "viewport.h"
#include "zoom_factors.h"
#include "image/pixel_round.h"
#include "operations/grid_guess.h"

#include <QAction>
#include <QScrollBar>
#include <QSignalBlocker>

namespace shell {

// Zooms from the menu keep the picture pixel at the view's centre where it is.
void Main::mnuViewZoomIn_Click()
{
    zoomAround(largerZoom(m_zoom), viewCentre());
}

void Main::mnuViewZoomOut_Click()
{
    zoomAround(smallerZoom(m_zoom), viewCentre());
}

void Main::mnuViewActualSize_Click()
{
    zoomAround(1, viewCentre());
}

QPointF Main::viewCentre() const
{
    return QPointF(m_picPic->surface().width(), m_picPic->surface().height()) / 2;
}

void Main::mnuViewGrid_Click()
{
    // Toggled by the menu already; while commands wait, the toggle is taken back.
    if (commandsSilenced()) {
        m_mnuViewGrid->setChecked(!m_mnuViewGrid->isChecked());
        return;
    }
    if (imageLoaded())
        UpdatePic(m_HScroll1->value(), m_VScroll1->value());
}

void Main::zoomByWheel(QPointF position, int steps)
{
    int factor = m_zoom;
    for (; steps > 0; --steps)
        factor = largerZoom(factor);
    for (; steps < 0; ++steps)
        factor = smallerZoom(factor);
    zoomAround(factor, position);
}

// The picture pixel at `anchor`, a point of the viewport, stays where it is.
void Main::zoomAround(int factor, QPointF anchor)
{
    if (commandsSilenced() || factor == m_zoom)
        return;
    const QPoint pixel = pictureAt(anchor);
    m_zoom = factor;
    m_mnuViewZoom->setText(QStringLiteral("Zoom: %1 %").arg(factor * 100));
    // Without a sheet the view stays grey; the factor waits for the first load.
    if (!imageLoaded())
        return;
    const QPoint screen(image::roundToPixel(anchor.x()), image::roundToPixel(anchor.y()));
    {
        const QSignalBlocker blockH(m_HScroll1);
        const QSignalBlocker blockV(m_VScroll1);
        applyScrollLimits();
        m_HScroll1->setValue(pixel.x() - screen.x() / factor);
        m_VScroll1->setValue(pixel.y() - screen.y() / factor);
    }
    UpdatePic(m_HScroll1->value(), m_VScroll1->value());
}

// Guesses the grid of the sheet in the working image and shows the guess in the View
// menu; the guess, where there is one.
std::optional<CellGrid> Main::showGridGuess()
{
    const std::optional<ops::GridGuess> guess = ops::guessGrid(m_picPic1);
    if (!guess) {
        m_mnuViewCells->setText(QStringLiteral("Cells: no guess"));
        return std::nullopt;
    }
    const auto count = [](int n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    m_mnuViewCells->setText(QStringLiteral("Cells: %1 \u00D7 %2")
                                .arg(count(guess->rows, "row", "rows"), count(guess->columns, "column", "columns")));
    return CellGrid{double(guess->rows), double(guess->columns)};
}

// The lines between the cells of the sheet's grid, for the view drawn from `corner`.
void Main::showCellGrid(QPoint corner)
{
    QList<int> columns, rows;
    if (m_mnuViewGrid->isChecked()) {
        const auto onScreen = [this](const QList<int>& lines, int from, int extent, QList<int>& out) {
            for (int line : lines) {
                const qint64 at = (qint64(line) - from) * m_zoom;
                if (at >= 0 && at < extent)
                    out.append(int(at));
            }
        };
        onScreen(cellBoundaries(m_picPic1.width(), m_grid.columns), corner.x(), m_picPic->surface().width(), columns);
        onScreen(cellBoundaries(m_picPic1.height(), m_grid.rows), corner.y(), m_picPic->surface().height(), rows);
    }
    m_picPic->setGridLines(std::move(columns), std::move(rows));
}

} // namespace shell
