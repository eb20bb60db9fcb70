// SPDX-License-Identifier: MIT
#pragma once

#include "animation_clock.h"
#include "dialog_service.h"
#include "image/colour.h"
#include "image/surface.h"
#include "operations/sheet_cells.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace shell {

class FrameCanvas;

// A small tool window that plays the cells of one row of a sheet's grid, left to right,
// in a loop, and exports them as an animated GIF. It holds the sheet it was last given
// (sharing its pixels) and reads it only while no operation runs.
class AnimationPreview final : public QWidget {
    Q_OBJECT
public:
    AnimationPreview(DialogService& dialogs, int zoom, QWidget* parent = nullptr);

    // The sheet after a load, an operation, an undo or a redo: the same row plays on, or
    // the first where that row is gone. A null sheet or a grid with a count never given
    // shows only a message.
    void showSheet(const image::Surface& sheet, const ops::CellGrid& grid);

    // While an operation runs the sheet is not read: the frame shown stays, nothing plays
    // and nothing is exported.
    void setOperationRunning(bool running);

    // 0-based; a row the grid does not have is ignored.
    void setRow(int row);
    int row() const;
    void setZoom(int factor);
    // Shows it at `zoom`, right of `window` where the screen has room, else left of it.
    void showBeside(const QWidget& window, int zoom);
    void setKey(image::Colour key, bool asCheckerboard);

    // The cell of the row on show, 0-based from the left; -1 while none is.
    int shownCell() const { return m_shownCell; }

signals:
    // The user closed the window.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls(int zoom);
    void takeRow();
    void showDueFrame();
    void exportGif();

    DialogService& m_dialogs;
    image::Surface m_sheet;
    ops::SheetCells m_cells;
    QList<QRect> m_rowCells;
    QList<int> m_order; // of m_rowCells, as they play
    image::Colour m_key;
    AnimationClock m_clock;
    QTimer m_timer;
    int m_shownCell = -1;
    bool m_frameStale = false; // the sheet or row changed since the frame was taken
    bool m_operationRunning = false;
    QString m_lastExport;

    QLabel* m_message = nullptr;
    QScrollArea* m_scroll = nullptr;
    FrameCanvas* m_canvas = nullptr;
    QSpinBox* m_row = nullptr;
    QSpinBox* m_fps = nullptr;
    QCheckBox* m_pingPong = nullptr;
    QComboBox* m_zoom = nullptr;
    QPushButton* m_export = nullptr;
};

} // namespace shell
