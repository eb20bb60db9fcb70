// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"
#include "sheet_history.h"
#include "base/result.h"
#include "image/colour.h"
#include "image/keyed_transparency.h"
#include "image/surface.h"
#include "operations/answers.h"
#include "operations/outcome.h"
#include "operations/progress.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace shell {

// The sheet the window works on: the working image `picPic1`, the scratch surfaces of
// the operations, the cell grid in force, the undo history and whether an operation
// runs. It knows no widget.
class SheetDocument final : public QObject {
    Q_OBJECT
public:
    using Work = std::function<ops::Outcome(ops::Sheets&, ops::Progress&)>;

    explicit SheetDocument(QObject* parent = nullptr);

    const image::Surface& picture() const { return m_picPic1; }
    bool loaded() const { return m_loaded; }
    const CellGrid& grid() const { return m_grid; }
    SheetHistory& history() { return m_history; }
    const SheetHistory& history() const { return m_history; }
    // While an operation runs, commands are ignored: one started in its yield would
    // work on surfaces the operation is still changing.
    bool busy() const { return m_busy; }

    // Reads the picture at `path` as the new sheet: the history is cleared and the grid
    // guessed; transparency takes the key. On a failure, the reason it could not be read,
    // the sheet staying as it was.
    Result<void> load(const QString& path, const image::TransparencyKey& key = {});

    // Joins the pictures at `paths`, in that order, into rows of `columns` cells as the
    // new sheet, as a load takes one: the history is cleared, and the grid is the
    // frames'. Every picture must have the first one's size; cells a short last row
    // leaves take `key`. On a failure, the reason the sheet could not be made, the sheet
    // staying as it was.
    Result<void> importFrames(const QStringList& paths, double columns, image::Colour key);

    // Runs an operation on the sheet. The document is busy until `then` has seen the
    // outcome, so commands wait through its messages and redraw too; a changed sheet
    // takes `grid` and becomes the step `name` of the history before that.
    void run(const QString& name, const Work& work, const CellGrid& grid, ops::Progress& progress,
             const std::function<void(const ops::Outcome&)>& then);

signals:
    // An operation started (true) or ended, `then` included.
    void busyChanged(bool busy);
    // The grid in force changed: a load, an operation, an undo or a redo.
    void gridChanged();
    // Undo or redo put a stored sheet back.
    void restored();

private:
    std::optional<CellGrid> guessGrid() const;
    void setGrid(const CellGrid& grid);

    image::Surface m_picPic1;
    image::Surface m_picsetup;
    image::Surface m_picsetup1;
    CellGrid m_grid;
    SheetHistory m_history;
    bool m_loaded = false;
    bool m_busy = false;
};

} // namespace shell
