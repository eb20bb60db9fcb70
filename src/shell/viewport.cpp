// SPDX-License-Identifier: MIT
#include "viewport.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QPainter>

namespace shell {

Viewport::Viewport(QWidget* parent) : QFrame(parent), m_surface(image::rgb(128, 128, 128))
{
    setObjectName(QStringLiteral("picPic"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Viewport::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    // Picture pixels stay sharp squares on screens of any density.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!m_surface.picture().isNull())
        painter.drawImage(inner.topLeft(), m_surface.picture());
    if (m_gridColumns.isEmpty() && m_gridRows.isEmpty())
        return;
    // White under black dashes: seen on black, on white and on any colour between.
    painter.setClipRect(inner);
    painter.translate(inner.topLeft());
    const auto drawLines = [&](const QPen& pen) {
        painter.setPen(pen);
        for (int x : std::as_const(m_gridColumns))
            painter.drawLine(QLineF(x + 0.5, 0, x + 0.5, m_gridExtent.height()));
        for (int y : std::as_const(m_gridRows))
            painter.drawLine(QLineF(0, y + 0.5, m_gridExtent.width(), y + 0.5));
    };
    drawLines(QPen(Qt::white, 1, Qt::SolidLine, Qt::FlatCap));
    drawLines(QPen(Qt::black, 1, Qt::DashLine, Qt::FlatCap));
}

void Viewport::setGridLines(QList<int> columns, QList<int> rows, QSize picture)
{
    if (columns == m_gridColumns && rows == m_gridRows && picture == m_gridExtent)
        return;
    m_gridColumns = std::move(columns);
    m_gridRows = std::move(rows);
    m_gridExtent = picture;
    update();
}

void Viewport::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const QRect inner = contentsRect();
    m_surface.resize(std::max(0, inner.width()), std::max(0, inner.height()));
}

QPointF Viewport::toSurface(QPointF widgetPosition) const
{
    return widgetPosition - QPointF(contentsRect().topLeft());
}

void Viewport::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(toSurface(event->position()));
}

void Viewport::mousePressEvent(QMouseEvent* event)
{
    emit pressed(toSurface(event->position()));
}

void Viewport::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    // Fine-grained wheels send parts of a notch; a zoom step waits for a whole one.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / QWheelEvent::DefaultDeltasPerStep;
    m_wheelAngle -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        emit zoomWheel(toSurface(event->position()), steps);
    event->accept();
}

} // namespace shell
