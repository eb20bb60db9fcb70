// SPDX-License-Identifier: MIT
#include "frame_canvas.h"

#include "image/key_checkerboard.h"
#include "image/zoomed_copy.h"

#include <QPaintEvent>
#include <QPainter>

namespace shell {

FrameCanvas::FrameCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("previewFrame"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(0, 0);
}

void FrameCanvas::setArea(QSize cells, int zoom)
{
    if (cells == m_area && zoom == m_zoom)
        return;
    m_area = cells;
    m_zoom = zoom;
    setFixedSize(cells * zoom);
    update();
}

void FrameCanvas::setFrame(const QImage& cell)
{
    if (cell.isNull())
        m_cell.resize(0, 0);
    else
        m_cell.assign(cell);
    update();
}

void FrameCanvas::setKey(image::Colour key, bool asCheckerboard)
{
    if (key == m_key && asCheckerboard == m_keyAsCheckerboard)
        return;
    m_key = key;
    m_keyAsCheckerboard = asCheckerboard;
    update();
}

void FrameCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QRect frame(0, 0, m_cell.width() * m_zoom, m_cell.height() * m_zoom);
    // Only the exposed part of the zoomed cell is made, whole picture pixels of it.
    if (const QRect shown = exposed & frame; !shown.isEmpty()) {
        const int left = shown.left() / m_zoom;
        const int top = shown.top() / m_zoom;
        const int right = (shown.right() + m_zoom) / m_zoom;
        const int bottom = (shown.bottom() + m_zoom) / m_zoom;
        m_zoomed.resizeUnfilled((right - left) * m_zoom, (bottom - top) * m_zoom);
        image::zoomedCopy(m_zoomed, m_cell, left, top, m_zoom);
        if (m_keyAsCheckerboard)
            image::showKeyAsCheckerboard(m_zoomed, m_cell, left, top, m_zoom, m_key);
        painter.drawImage(QPoint(left * m_zoom, top * m_zoom), m_zoomed.picture());
    }
    const QRegion rest = QRegion(exposed) - frame;
    for (const QRect& part : rest)
        painter.fillRect(part, palette().window());
}

} // namespace shell
