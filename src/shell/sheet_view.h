// SPDX-License-Identifier: MIT
#pragma once

#include "operations/operation.h"

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <optional>

class QScrollBar;
class QWidget;

namespace shell {

class ProgressBarReporter;
class SheetDocument;
class Viewport;
struct WindowLayout;

// How far the view can scroll, in pixels: how far the working image is wider (higher)
// than the viewport, 0 when it is not; the scroll bars' maxima are set from them.
struct ScrollLimits {
    float MaxScrollX = 0;
    float MaxScrollY = 0;
};

// The view onto a document's sheet: the viewport `picPic`, the scroll bars `HScroll1`
// and `VScroll1` (children of the widget given), the zoom factor and the cell grid's
// lines. Commands reach it through the window, which applies the guards.
class SheetView final : public QObject {
    Q_OBJECT
public:
    SheetView(const SheetDocument& document, QWidget* parent);

    Viewport* viewport() const { return m_picPic; }
    QScrollBar* horizontalBar() const { return m_HScroll1; }
    QScrollBar* verticalBar() const { return m_VScroll1; }
    const ScrollLimits& limits() const { return m_limits; }
    int zoom() const { return m_zoom; }

    // Draws the viewport from the working image's pixel (x, y) and recomputes the scroll
    // limits.
    void UpdatePic(double x, double y);
    // Draws from the scroll bars' values, where a sheet is loaded.
    void refresh();
    void applyScrollLimits();
    // Moves the scroll bars, each move drawing the view as a drag does.
    void scrollTo(QPoint offset);
    // A new sheet is always seen from its corner.
    void showCorner();
    // Sizes and places the viewport and the bars, and scrolls back to the corner.
    void place(const WindowLayout& layout);

    // Zooms to `factor` keeping the picture pixel at `anchor`, a point of the viewport,
    // where it is; the wheel goes `steps` factors up (or down, negative) from the
    // current one.
    void zoomAround(int factor, QPointF anchor);
    void zoomByWheel(QPointF position, int steps);
    QPointF centre() const;

    void setGridShown(bool shown);
    // Draws the pixels of `key` as a light-grey checkerboard, or (nullopt) as they are.
    void setKeyShown(std::optional<image::Colour> key);

    // Follows a changed sheet as the operation has it, with the bar's last steps.
    void showResult(ops::ViewAfter after, ProgressBarReporter& progress);

    // The picture pixel under a point of the viewport; at factor 1, the point rounded.
    QPoint pictureAt(QPointF position) const;
    // The picture pixel a press at `position` picks; nullopt on the border or on the
    // grey beyond the picture.
    std::optional<QPoint> pickAt(QPointF position) const;
    // The read-out of a point of the viewport: "( x, y )" in picture pixels.
    QString readout(QPointF position) const;

signals:
    void zoomChanged(int factor);

private:
    void showCellGrid(QPoint corner);

    const SheetDocument& m_document;
    Viewport* m_picPic = nullptr;
    QScrollBar* m_VScroll1 = nullptr;
    QScrollBar* m_HScroll1 = nullptr;
    ScrollLimits m_limits;
    int m_zoom = 1; // screen pixels a picture pixel, each way
    bool m_gridShown = false;
    std::optional<image::Colour> m_shownKey;
};

} // namespace shell
