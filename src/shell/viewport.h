// SPDX-License-Identifier: MIT
#pragma once

#include "image/surface.h"

#include <QFrame>
#include <QList>
#include <QPointF>
#include <QSize>

namespace shell {

// The visible picture box `picPic`: a framed widget that shows its own surface, whose
// size follows the widget's inner area. Pointer positions are reported in surface
// pixels, (0, 0) being the inner top-left corner inside the border.
class Viewport final : public QFrame {
    Q_OBJECT
public:
    static constexpr int kBorder = 2;

    explicit Viewport(QWidget* parent = nullptr);

    image::Surface& surface() { return m_surface; }
    const image::Surface& surface() const { return m_surface; }

    // The outer size exceeds the inner one by the border on both sides.
    int outerWidth() const { return m_surface.width() + 2 * kBorder; }
    int outerHeight() const { return m_surface.height() + 2 * kBorder; }

    // Lines drawn over the picture, one screen pixel wide, at these columns and rows of
    // the surface, within the `picture` size from the corner, the part the picture
    // covers; the surface's pixels stay as they are.
    void setGridLines(QList<int> columns, QList<int> rows, QSize picture);

signals:
    void pointerMoved(QPointF position);
    void pressed(QPointF position);
    // Ctrl and the wheel: `steps` notches, positive away from the user.
    void zoomWheel(QPointF position, int steps);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QPointF toSurface(QPointF widgetPosition) const;

    image::Surface m_surface;
    QList<int> m_gridColumns;
    QList<int> m_gridRows;
    QSize m_gridExtent;
    int m_wheelAngle = 0; // eighths of a degree towards the next notch
};

} // namespace shell
