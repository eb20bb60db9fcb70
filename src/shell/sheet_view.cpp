// SPDX-License-Identifier: MIT
#include "sheet_view.h"

#include "progress_bar.h"
#include "sheet_document.h"
#include "viewport.h"
#include "window_layout.h"
#include "zoom_factors.h"
#include "image/key_checkerboard.h"
#include "image/pixel_round.h"
#include "image/zoomed_copy.h"
#include "operations/cell_grid.h"
#include "settings/number_text.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace shell {

SheetView::SheetView(const SheetDocument& document, QWidget* parent) : QObject(parent), m_document(document)
{
    m_picPic = new Viewport(parent);
    m_picPic->setGeometry(twipsRect(120, 240, 2775, 3135));

    auto makeScrollBar = [this, parent](Qt::Orientation orientation, const char* name, QRect geometry) {
        auto* bar = new QScrollBar(orientation, parent);
        bar->setObjectName(QLatin1String(name));
        bar->setGeometry(geometry);
        bar->setRange(0, 0);
        bar->setSingleStep(1);
        bar->setPageStep(5);
        bar->hide();
        // Tracking is on, so this also follows the thumb while it is dragged.
        connect(bar, &QScrollBar::valueChanged, this, [this] { UpdatePic(m_HScroll1->value(), m_VScroll1->value()); });
        return bar;
    };
    m_VScroll1 = makeScrollBar(Qt::Vertical, "VScroll1", twipsRect(2880, 240, 255, 3135));
    m_HScroll1 = makeScrollBar(Qt::Horizontal, "HScroll1", twipsRect(120, 3360, 2775, 255));
}

void SheetView::UpdatePic(double x, double y)
{
    image::Surface& view = m_picPic->surface();
    view.clear();
    const QPoint corner(image::roundToPixel(x), image::roundToPixel(y));
    image::zoomedCopy(view, m_document.picture(), corner.x(), corner.y(), m_zoom);
    if (m_shownKey)
        image::showKeyAsCheckerboard(view, m_document.picture(), corner.x(), corner.y(), m_zoom, *m_shownKey);
    showCellGrid(corner);
    applyScrollLimits();
    m_picPic->update();
}

void SheetView::refresh()
{
    if (m_document.loaded())
        UpdatePic(m_HScroll1->value(), m_VScroll1->value());
}

// Outer sizes are compared but inner sizes subtracted: a working image larger than the
// viewport's inner area by no more than the viewport's border gets no scroll bar. Zoomed,
// the limits count the picture pixels that do not fit, so that the last can be reached.
// A bar clamps its value to a new limit, and a moved value redraws the view from it.
void SheetView::applyScrollLimits()
{
    const image::Surface& picture = m_document.picture();
    const image::Surface& view = m_picPic->surface();
    if (m_zoom > 1) {
        const auto limit = [this](QScrollBar* bar, int extent, int inner, float& max) {
            max = float(std::max(0, extent - inner / m_zoom));
            bar->setMaximum(int(max));
            bar->setVisible(max > 0);
        };
        limit(m_VScroll1, picture.height(), view.height(), m_limits.MaxScrollY);
        limit(m_HScroll1, picture.width(), view.width(), m_limits.MaxScrollX);
        return;
    }
    if (picture.height() > m_picPic->outerHeight()) {
        m_limits.MaxScrollY = float(picture.height() - view.height());
        m_VScroll1->setMaximum(image::roundToPixel(m_limits.MaxScrollY));
        m_VScroll1->show();
    } else {
        m_limits.MaxScrollY = 0;
        m_VScroll1->setMaximum(0);
        m_VScroll1->hide();
    }
    if (picture.width() > m_picPic->outerWidth()) {
        m_limits.MaxScrollX = float(picture.width() - view.width());
        m_HScroll1->setMaximum(image::roundToPixel(m_limits.MaxScrollX));
        m_HScroll1->show();
    } else {
        m_limits.MaxScrollX = 0;
        m_HScroll1->setMaximum(0);
        m_HScroll1->hide();
    }
}

void SheetView::scrollTo(QPoint offset)
{
    m_HScroll1->setValue(offset.x());
    m_VScroll1->setValue(offset.y());
}

void SheetView::showCorner()
{
    {
        const QSignalBlocker blockH(m_HScroll1);
        const QSignalBlocker blockV(m_VScroll1);
        m_HScroll1->setValue(0);
        m_VScroll1->setValue(0);
    }
    UpdatePic(0, 0);
}

void SheetView::place(const WindowLayout& layout)
{
    m_picPic->resize(toPixels(layout.viewWidth), toPixels(layout.viewHeight));
    m_VScroll1->setGeometry(toPixels(layout.vScrollLeft), m_VScroll1->y(), m_VScroll1->width(),
                            toPixels(layout.vScrollHeight));
    m_HScroll1->setGeometry(m_HScroll1->x(), toPixels(layout.hScrollTop), toPixels(layout.hScrollWidth),
                            m_HScroll1->height());
    scrollTo({0, 0});
    refresh();
}

void SheetView::zoomAround(int factor, QPointF anchor)
{
    if (factor == m_zoom)
        return;
    const QPoint pixel = pictureAt(anchor);
    m_zoom = factor;
    emit zoomChanged(factor);
    // Without a sheet the view stays grey; the factor waits for the first load.
    if (!m_document.loaded())
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

void SheetView::zoomByWheel(QPointF position, int steps)
{
    int factor = m_zoom;
    for (; steps > 0; --steps)
        factor = largerZoom(factor);
    for (; steps < 0; ++steps)
        factor = smallerZoom(factor);
    zoomAround(factor, position);
}

QPointF SheetView::centre() const
{
    return QPointF(m_picPic->surface().width(), m_picPic->surface().height()) / 2;
}

void SheetView::setKeyShown(std::optional<image::Colour> key)
{
    m_shownKey = key;
    refresh();
}

void SheetView::setGridShown(bool shown)
{
    m_gridShown = shown;
    refresh();
}

QPoint SheetView::pictureAt(QPointF position) const
{
    const auto axis = [this](double at, int scroll) {
        // Towards minus infinity, left of and above the viewport too.
        return int(std::floor(double(image::roundToPixel(at)) / m_zoom)) + scroll;
    };
    return {axis(position.x(), m_HScroll1->value()), axis(position.y(), m_VScroll1->value())};
}

std::optional<QPoint> SheetView::pickAt(QPointF position) const
{
    const QPoint at(image::roundToPixel(position.x()), image::roundToPixel(position.y()));
    const QPoint pixel = pictureAt(position);
    const auto inside = [](const image::Surface& surface, QPoint point) {
        return QRect(0, 0, surface.width(), surface.height()).contains(point);
    };
    if (!inside(m_picPic->surface(), at) || !inside(m_document.picture(), pixel))
        return std::nullopt;
    return pixel;
}

void SheetView::showResult(ops::ViewAfter after, ProgressBarReporter& progress)
{
    switch (after) {
    case ops::ViewAfter::FromCorner:
        applyScrollLimits();
        progress.reached(90);
        scrollTo({0, 0});
        progress.reached(100);
        UpdatePic(0, 0);
        break;
    case ops::ViewAfter::CornerKeepingScroll:
        // The view shows the new sheet's corner; the scroll bars keep their positions.
        UpdatePic(0, 0);
        applyScrollLimits();
        progress.reached(90);
        UpdatePic(0, 0);
        progress.setQuietly(100);
        break;
    case ops::ViewAfter::WhereItWas:
        progress.reached(90);
        refresh();
        progress.setQuietly(100);
        break;
    case ops::ViewAfter::WhereItWasShown:
        refresh();
        progress.reached(100);
        break;
    }
}

QString SheetView::readout(QPointF position) const
{
    // At factor 1 the position is shown as it comes, fractions and all.
    const QPoint pixel = pictureAt(position);
    const float x = m_zoom > 1 ? float(pixel.x()) : float(position.x()) + float(m_HScroll1->value());
    const float y = m_zoom > 1 ? float(pixel.y()) : float(position.y()) + float(m_VScroll1->value());
    return QStringLiteral("( ") + settings::shortestText(x) + QStringLiteral(", ") + settings::shortestText(y)
        + QStringLiteral(" )");
}

// The lines between the cells of the sheet's grid, for the view drawn from `corner`,
// over the part of the view the picture covers.
void SheetView::showCellGrid(QPoint corner)
{
    const image::Surface& picture = m_document.picture();
    const image::Surface& view = m_picPic->surface();
    const auto covered = [this](int extent, int from, int shown) {
        return int(std::clamp<qint64>((qint64(extent) - from) * m_zoom, 0, shown));
    };
    const QSize covers(covered(picture.width(), corner.x(), view.width()),
                       covered(picture.height(), corner.y(), view.height()));
    QList<int> columns, rows;
    if (m_gridShown) {
        const auto onScreen = [this](const QList<int>& lines, int from, int extent, QList<int>& out) {
            for (int line : lines) {
                const qint64 at = (qint64(line) - from) * m_zoom;
                if (at >= 0 && at < extent)
                    out.append(int(at));
            }
        };
        const CellGrid& grid = m_document.grid();
        onScreen(ops::cellBoundaries(picture.width(), grid.columns), corner.x(), covers.width(), columns);
        onScreen(ops::cellBoundaries(picture.height(), grid.rows), corner.y(), covers.height(), rows);
    }
    m_picPic->setGridLines(std::move(columns), std::move(rows), covers);
}

} // namespace shell
