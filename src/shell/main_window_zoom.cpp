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
#include <algorithm>

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

// The grid guessed for the sheet in the working image, where there is one.
std::optional<CellGrid> Main::guessCellGrid() const
{
    const std::optional<ops::GridGuess> guess = ops::guessGrid(m_picPic1);
    if (!guess)
        return std::nullopt;
    return CellGrid{double(guess->rows), double(guess->columns), true};
}

// Takes `grid` as the grid in force and names it in the View menu.
void Main::setCellGrid(const CellGrid& grid)
{
    m_grid = grid;
    m_mnuViewCells->setText(cellsCaption(m_grid));
}

// The lines between the cells of the sheet's grid, for the view drawn from `corner`,
// over the part of the view the picture covers.
void Main::showCellGrid(QPoint corner)
{
    const image::Surface& view = m_picPic->surface();
    const auto covered = [this](int picture, int from, int extent) {
        return int(std::clamp<qint64>((qint64(picture) - from) * m_zoom, 0, extent));
    };
    const QSize picture(covered(m_picPic1.width(), corner.x(), view.width()),
                        covered(m_picPic1.height(), corner.y(), view.height()));
    QList<int> columns, rows;
    if (m_mnuViewGrid->isChecked()) {
        const auto onScreen = [this](const QList<int>& lines, int from, int extent, QList<int>& out) {
            for (int line : lines) {
                const qint64 at = (qint64(line) - from) * m_zoom;
                if (at >= 0 && at < extent)
                    out.append(int(at));
            }
        };
        onScreen(cellBoundaries(m_picPic1.width(), m_grid.columns), corner.x(), picture.width(), columns);
        onScreen(cellBoundaries(m_picPic1.height(), m_grid.rows), corner.y(), picture.height(), rows);
    }
    m_picPic->setGridLines(std::move(columns), std::move(rows), picture);
}

} // namespace shell
