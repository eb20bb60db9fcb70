// SPDX-License-Identifier: MIT
#pragma once

#include "cell_grid.h"

#include <QImage>
#include <QObject>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <vector>

namespace shell {

// What undo and redo put back: the sheet and its cell grid.
struct SheetState {
    SheetState(QImage picture = {}, CellGrid grid = {}) : picture(std::move(picture)), grid(grid) {}

    QImage picture;
    CellGrid grid;
};

// The sheet before and after one step.
struct StepPictures {
    SheetState before;
    SheetState after;
};

// The undo history of the working image. Each completed operation is one step holding
// the sheet before and after it; the pictures are shared with the working image and
// with neighbouring steps, so a step costs only the pixels that really differ.
// Bounded by step count and by bytes of stored pictures; the oldest steps go first.
class SheetHistory final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxSteps = 50;
    static constexpr qint64 kMaxBytes = qint64(1) << 30;

    // `restore` puts a stored state back into the working image.
    explicit SheetHistory(std::function<void(const SheetState&)> restore, qint64 maxBytes = kMaxBytes);

    // Adds a step named `name` (e.g. "Re-Arrange Sprites"); the working image already
    // holds `after`. Drops the steps that were undone. A step that changed no pixel is
    // not recorded.
    void record(const QString& name, const SheetState& before, const SheetState& after);

    void undo();
    void redo();
    void clear();

    QUndoStack& stack() { return m_stack; }
    const QUndoStack& stack() const { return m_stack; }
    qint64 storedBytes() const;

private:
    std::vector<std::shared_ptr<const StepPictures>> steps() const;
    void dropOldestBeyondBudget();

    std::function<void(const SheetState&)> m_restore; // the steps call it: it outlives them
    qint64 m_maxBytes;
    QUndoStack m_stack;
};

} // namespace shell
