// SPDX-License-Identifier: MIT
#pragma once

#include "image/colour.h"
#include "image/surface.h"

#include <QImage>
#include <QWidget>

namespace shell {

// Shows one frame, a cell's pixels, as sharp squares of `zoom` screen pixels, at the
// top-left of an area that fits the largest cell of its row. It holds its own copy of
// the cell, so painting never reads the sheet.
class FrameCanvas final : public QWidget {
    Q_OBJECT
public:
    explicit FrameCanvas(QWidget* parent = nullptr);

    // The largest cell's size in picture pixels, and the factor; the widget takes the
    // size they give.
    void setArea(QSize cells, int zoom);
    // A null picture shows none.
    void setFrame(const QImage& cell);
    void setKey(image::Colour key, bool asCheckerboard);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    image::Surface m_cell;
    image::Surface m_zoomed; // the part of the zoomed cell being painted
    QSize m_area;
    int m_zoom = 1;
    image::Colour m_key;
    bool m_keyAsCheckerboard = false;
};

} // namespace shell
