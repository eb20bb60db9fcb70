// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"
#include "image/surface.h"
#include "operations/outcome.h"
#include "operations/progress.h"
#include "settings/sprite_size.h"

#include <QMainWindow>
#include <QPointF>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QProgressBar;
class QScrollBar;

namespace settings {
class OptionsPanel;
}

namespace shell {

class DialogService;
class ProgressBarReporter;
class SheetHistory;
struct SheetState;
class Viewport;

// The window-level values the commands share.
struct WindowState {
    settings::SpriteSize sprite; // SpriteWidth, SpriteHeight
    float ImageWidth = 0;        // twips, recorded by the last load
    float ImageHeight = 0;
    float MaxScrollX = 0; // pixels the working image is wider than the viewport
    float MaxScrollY = 0;
    bool ColorPickMode = false; // the next press on the viewport picks a colour
    QString LastLoadPath;
    QString LastSavePath;
};

// The program's one window: its controls, menus, values and commands.
class Main final : public QMainWindow {
    Q_OBJECT
public:
    explicit Main(DialogService& dialogs, QWidget* parent = nullptr);
    ~Main() override;

    // The dispatcher the File menu and two operations go through: 0 save, 1 load,
    // 2 negative, 3 exit, 4 NPC conversion; any other code does nothing. It checks
    // nothing itself: the menu handlers apply the guards first.
    void RunCommand(int code);

    // Redraws the viewport from the working image's pixel (x, y) and recomputes the
    // scroll limits.
    void UpdatePic(double x, double y);

    // Opens a picture as the load command does once a file is chosen: a file given on
    // the command line or dropped on the window.
    void openPicture(const QString& path);

    const WindowState& state() const { return m_state; }
    const image::Surface& workingImage() const { return m_picPic1; }
    const SheetHistory& history() const { return *m_history; }
    bool imageLoaded() const;
    bool optionsOpen() const;
    bool operationRunning() const { return m_busy; }
    int zoom() const { return m_zoom; }
    const CellGrid& cellGrid() const { return m_grid; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut,
                        void (Main::*handler)());

    // Menu handlers: the guards, then the command.
    void mnuFileSave_Click();
    void mnuFileLoad_Click();
    void mnuFileOptions_Click();
    void mnuFileExit_Click();
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuFileNeg_Click();
    void mnuFileNPC_Click();
    void mnuFileArrange_Click();
    void mnuFileChange_Click();
    void mnuViewZoomIn_Click();
    void mnuViewZoomOut_Click();
    void mnuViewActualSize_Click();
    void mnuViewGrid_Click();
    bool commandsSilenced() const;
    bool refuseWithoutImage();

    // Commands.
    void savePicture();
    void loadPicture();
    void exitProgram();
    void NPCPic();
    void NegPic();
    void rearrangeSprites();
    void changeColourAt(QPointF position);

    // The view's zoom and cell grid.
    void zoomAround(int factor, QPointF anchor);
    void zoomByWheel(QPointF position, int steps);
    QPointF viewCentre() const;
    void showCellGrid(QPoint corner);
    std::optional<CellGrid> guessCellGrid() const;
    void setCellGrid(const CellGrid& grid);
    QPoint pictureAt(QPointF position) const;

    // Shared steps.
    void restoreSheet(const SheetState& state);
    void followHistory();
    void applyScrollLimits();
    void showPointer(QPointF position);
    void layOut();
    void showError(const QString& text);
    bool reportOutcome(const ops::Outcome& outcome);
    // Runs an operation on the working image as every one runs: other commands wait,
    // the bar shows its course, a changed sheet takes `grid` and becomes a step of the
    // history, then `finish` does what that operation does after its work, and the bar
    // is hidden.
    void runOperation(const QString& name, const std::function<ops::Outcome(ops::Progress&)>& work,
                      const CellGrid& grid, const std::function<void(ProgressBarReporter&)>& finish);

    DialogService& m_dialogs;
    WindowState m_state;

    image::Surface m_picPic1;  // the working image
    image::Surface m_picsetup; // scratch surfaces of the operations
    image::Surface m_picsetup1;

    QWidget* m_client = nullptr;
    QLabel* m_lblCurImage = nullptr;
    QLabel* m_lblcoords = nullptr;
    Viewport* m_picPic = nullptr;
    QScrollBar* m_VScroll1 = nullptr;
    QScrollBar* m_HScroll1 = nullptr;
    QProgressBar* m_PB = nullptr;
    settings::OptionsPanel* m_OpsFrame = nullptr;
    QAction* m_mnuEditUndo = nullptr;
    QAction* m_mnuEditRedo = nullptr;
    QAction* m_mnuViewZoom = nullptr;  // the factor, as a disabled item
    QAction* m_mnuViewCells = nullptr; // the guess of the sheet's grid, disabled
    QAction* m_mnuViewGrid = nullptr;
    SheetHistory* m_history = nullptr;

    int m_zoom = 1;         // screen pixels a picture pixel, each way
    CellGrid m_grid;        // of the sheet in the working image
    bool m_busy = false;    // an operation runs; commands and viewport presses are ignored
    bool m_exiting = false; // the exit was confirmed; the close needs no question
};

} // namespace shell
