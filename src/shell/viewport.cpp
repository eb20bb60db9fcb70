// SPDX-License-Identifier: MIT
#include "viewport.h"

#include <QMouseEvent>
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
    if (!m_surface.picture().isNull())
        painter.drawImage(inner.topLeft(), m_surface.picture());
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

} // namespace shell
