// SPDX-License-Identifier: MIT
// The viewport onto the working image, its scroll bars, the pointer read-out and the
// layout on resize.
#include "main_window.h"

#include "viewport.h"
#include "window_layout.h"
#include "image/pixel_round.h"
#include "image/raster.h"
#include "settings/number_text.h"
#include "settings/options_panel.h"

#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollBar>

namespace shell {

void Main::UpdatePic(double x, double y)
{
    image::Surface& view = m_picPic->surface();
    view.clear();
    image::BitBlt(view, 0, 0, view.width(), view.height(), m_picPic1, image::roundToPixel(x), image::roundToPixel(y));
    applyScrollLimits();
    update();
    m_picPic->update();
}

// Outer sizes are compared but inner sizes subtracted: a working image larger than the
// viewport's inner area by no more than the viewport's border gets no scroll bar.
void Main::applyScrollLimits()
{
    const image::Surface& view = m_picPic->surface();
    if (m_picPic1.height() > m_picPic->outerHeight()) {
        m_state.MaxScrollY = float(m_picPic1.height() - view.height());
        m_VScroll1->setMaximum(image::roundToPixel(m_state.MaxScrollY));
        m_VScroll1->show();
    } else {
        m_state.MaxScrollY = 0;
        m_VScroll1->hide();
    }
    if (m_picPic1.width() > m_picPic->outerWidth()) {
        m_state.MaxScrollX = float(m_picPic1.width() - view.width());
        m_HScroll1->setMaximum(image::roundToPixel(m_state.MaxScrollX));
        m_HScroll1->show();
    } else {
        m_state.MaxScrollX = 0;
        m_HScroll1->hide();
    }
}

void Main::showPointer(QPointF position)
{
    const float x = float(position.x()) + float(m_HScroll1->value());
    const float y = float(position.y()) + float(m_VScroll1->value());
    m_lblcoords->setText(QStringLiteral("( ") + settings::shortestText(x) + QStringLiteral(", ")
                         + settings::shortestText(y) + QStringLiteral(" )"));
}

void Main::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layOut();
}

void Main::layOut()
{
    // The minimum and the fractions apply to the outer size, frame and menu bar included.
    const QSize outer = frameGeometry().size();
    const QSize decoration = outer - size();
    const QSize minimum(toPixels(kMinWindowWidth) - decoration.width(),
                        toPixels(kMinWindowHeight) - decoration.height());
    if (minimumSize() != minimum)
        setMinimumSize(minimum);

    const WindowLayout layout
        = layoutWindow(float(outer.width()) * kTwipsPerPixel, float(outer.height()) * kTwipsPerPixel);
    const QSize wanted(toPixels(layout.windowWidth), toPixels(layout.windowHeight));
    if (wanted != outer)
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
