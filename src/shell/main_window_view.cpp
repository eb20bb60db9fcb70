// SPDX-License-Identifier: MIT
// The viewport onto the working image, its scroll bars, the pointer read-out and the
// layout on resize.
#include "main_window.h"

#include "viewport.h"
#include "window_layout.h"
#include "image/pixel_round.h"
#include "image/zoomed_copy.h"
#include "settings/number_text.h"
#include "settings/options_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWindow>
#include <cmath>

namespace shell {

void Main::UpdatePic(double x, double y)
{
    image::Surface& view = m_picPic->surface();
    view.clear();
    const QPoint corner(image::roundToPixel(x), image::roundToPixel(y));
    image::zoomedCopy(view, m_picPic1, corner.x(), corner.y(), m_zoom);
    showCellGrid(corner);
    applyScrollLimits();
    update();
    m_picPic->update();
}

// Outer sizes are compared but inner sizes subtracted: a working image larger than the
// viewport's inner area by no more than the viewport's border gets no scroll bar. Zoomed,
// the limits count the picture pixels that do not fit, so that the last can be reached.
// A bar clamps its value to a new limit, and a moved value redraws the view from it.
void Main::applyScrollLimits()
{
    const image::Surface& view = m_picPic->surface();
    if (m_zoom > 1) {
        const auto limit = [this](QScrollBar* bar, int picture, int inner, float& max) {
            max = float(std::max(0, picture - inner / m_zoom));
            bar->setMaximum(int(max));
            bar->setVisible(max > 0);
        };
        limit(m_VScroll1, m_picPic1.height(), view.height(), m_state.MaxScrollY);
        limit(m_HScroll1, m_picPic1.width(), view.width(), m_state.MaxScrollX);
        return;
    }
    if (m_picPic1.height() > m_picPic->outerHeight()) {
        m_state.MaxScrollY = float(m_picPic1.height() - view.height());
        m_VScroll1->setMaximum(image::roundToPixel(m_state.MaxScrollY));
        m_VScroll1->show();
    } else {
        m_state.MaxScrollY = 0;
        m_VScroll1->setMaximum(0);
        m_VScroll1->hide();
    }
    if (m_picPic1.width() > m_picPic->outerWidth()) {
        m_state.MaxScrollX = float(m_picPic1.width() - view.width());
        m_HScroll1->setMaximum(image::roundToPixel(m_state.MaxScrollX));
        m_HScroll1->show();
    } else {
        m_state.MaxScrollX = 0;
        m_HScroll1->setMaximum(0);
        m_HScroll1->hide();
    }
}

// The picture pixel under a point of the viewport; at factor 1, the point rounded.
QPoint Main::pictureAt(QPointF position) const
{
    const auto axis = [this](double at, int scroll) {
        // Towards minus infinity, left of and above the viewport too.
        return int(std::floor(double(image::roundToPixel(at)) / m_zoom)) + scroll;
    };
    return {axis(position.x(), m_HScroll1->value()), axis(position.y(), m_VScroll1->value())};
}

void Main::showPointer(QPointF position)
{
    // At factor 1 the position is shown as it comes, fractions and all.
    const QPoint pixel = pictureAt(position);
    const float x = m_zoom > 1 ? float(pixel.x()) : float(position.x()) + float(m_HScroll1->value());
    const float y = m_zoom > 1 ? float(pixel.y()) : float(position.y()) + float(m_VScroll1->value());
    m_lblcoords->setText(QStringLiteral("( ") + settings::shortestText(x) + QStringLiteral(", ")
                         + settings::shortestText(y) + QStringLiteral(" )"));
}

void Main::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layOut();
}

// The frame is known once the window is on screen; the first time, the minimum, an
// outer size, can be applied.
bool Main::event(QEvent* event)
{
    if (event->type() == QEvent::Show && windowHandle())
        windowHandle()->installEventFilter(this);
    return QMainWindow::event(event);
}

bool Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        layOut();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Main::layOut()
{
    // The minimum and the fractions apply to the outer size, frame and menu bar included.
    // Until the window is on screen its frame is unknown: the controls are laid out, but
    // the window keeps its size.
    const bool frameKnown = windowHandle() && windowHandle()->isExposed();
    const QSize outer = frameGeometry().size();
    const QSize decoration = outer - size();
    if (frameKnown && minimumSize() != minimumWindowSize(decoration))
        setMinimumSize(minimumWindowSize(decoration));

    const WindowLayout layout
        = layoutWindow(float(outer.width()) * kTwipsPerPixel, float(outer.height()) * kTwipsPerPixel);
    const QSize wanted(toPixels(layout.windowWidth), toPixels(layout.windowHeight));
    if (frameKnown && wanted != outer)
        resize(wanted - decoration);

    m_picPic->resize(toPixels(layout.viewWidth), toPixels(layout.viewHeight));
    m_VScroll1->setGeometry(toPixels(layout.vScrollLeft), m_VScroll1->y(), m_VScroll1->width(),
                            toPixels(layout.vScrollHeight));
    m_HScroll1->setGeometry(m_HScroll1->x(), toPixels(layout.hScrollTop), toPixels(layout.hScrollWidth),
                            m_HScroll1->height());
    m_PB->setGeometry(m_PB->x(), toPixels(layout.progressTop), toPixels(layout.progressWidth), m_PB->height());
    m_OpsFrame->move(toPixels(layout.panelLeft), toPixels(layout.panelTop));

    m_HScroll1->setValue(0);
    m_VScroll1->setValue(0);
    if (imageLoaded())
        UpdatePic(m_HScroll1->value(), m_VScroll1->value());
}

} // namespace shell
