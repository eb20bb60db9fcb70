// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"
#include "sheet_document.h"
#include "sheet_view.h"
#include "window_state.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QProgressBar;

namespace settings {
class OptionsPanel;
}

namespace shell {

class AnimationPreview;
class DialogService;
class FileCommands;
class KeyCommands;
class OperationCommands;

// The program's one window: its menus and the guards of their commands and the Options
// panel, over a document (the sheet) and a view of it; the commands' dialogs are asked
// by the files', the key's and the operations' own classes.
class Main final : public QMainWindow {
    Q_OBJECT
public:
    explicit Main(DialogService& dialogs, QWidget* parent = nullptr);
    ~Main() override;

    // The dispatcher the File menu and two operations go through: 0 save, 1 load,
    // 2 negative, 3 exit, 4 NPC conversion; any other code does nothing. It checks
    // nothing itself: the commands' guards come first.
    void RunCommand(int code);

    // Redraws the viewport from the working image's pixel (x, y) and recomputes the
    // scroll limits.
    void UpdatePic(double x, double y) { m_view->UpdatePic(x, y); }

    // Opens a picture as the load command does once a file is chosen: a file given on
    // the command line or dropped on the window.
    void openPicture(const QString& path);

    const WindowState& state() const { return m_state; }
    const SheetDocument& document() const { return *m_document; }
    const SheetView& view() const { return *m_view; }
    const image::Surface& workingImage() const { return m_document->picture(); }
    const SheetHistory& history() const { return m_document->history(); }
    bool optionsOpen() const;
    bool operationRunning() const { return m_document->busy(); }
    int zoom() const { return m_view->zoom(); }
    const CellGrid& cellGrid() const { return m_document->grid(); }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // What a command needs besides a quiet window.
    enum class Needs { Nothing, Image };

    void buildControls();
    void buildMenus();
    // A menu item whose handler runs only past the guards: nothing while the Options
    // panel is open or an operation runs; without an image where it `needs` one, a
    // message. A checkable item refused is toggled back.
    QAction* addCommand(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& shortcut,
                        Needs needs, std::function<void()> handler);
    bool commandsSilenced() const;
    bool passesGuards(Needs needs);

    void exitProgram();
    void NPCPic();
    void NegPic();
    // The view and the preview draw the key alike.
    void showKey();
    // The animation preview, a tool window beside this one.
    void buildPreview();

    // Shared steps.
    void showLoaded(const QString& path);
    void followHistory();
    void layOut();
    void showError(const QString& text);

    DialogService& m_dialogs;
    WindowState m_state;
    SheetDocument* m_document = nullptr;
    SheetView* m_view = nullptr;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<KeyCommands> m_keys;
    std::unique_ptr<OperationCommands> m_operations;

    QLabel* m_lblCurImage = nullptr;
    QLabel* m_lblcoords = nullptr;
    QProgressBar* m_PB = nullptr;
    settings::OptionsPanel* m_OpsFrame = nullptr;
    QAction* m_mnuEditUndo = nullptr;
    QAction* m_mnuEditRedo = nullptr;
    QAction* m_mnuViewZoom = nullptr;  // the factor, as a disabled item
    QAction* m_mnuViewCells = nullptr; // the grid in force, disabled
    QAction* m_mnuViewGrid = nullptr;
    QAction* m_mnuViewPreview = nullptr;
    AnimationPreview* m_preview = nullptr;
    QAction* m_mnuViewKey = nullptr;

    bool m_exiting = false; // the exit was confirmed; the close needs no question
};

} // namespace shell
