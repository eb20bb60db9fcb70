// SPDX-License-Identifier: MIT
// The window's layout on resize.
#include "main_window.h"

#include "window_layout.h"
#include "settings/options_panel.h"

#include <QProgressBar>
#include <QResizeEvent>
#include <QWindow>

namespace shell {

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

    m_PB->setGeometry(m_PB->x(), toPixels(layout.progressTop), toPixels(layout.progressWidth), m_PB->height());
    m_OpsFrame->move(toPixels(layout.panelLeft), toPixels(layout.panelTop));
    m_view->place(layout);
}

} // namespace shell
