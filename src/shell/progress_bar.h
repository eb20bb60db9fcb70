// SPDX-License-Identifier: MIT
#pragma once

#include "operations/progress.h"

#include <QElapsedTimer>

class QProgressBar;

namespace shell {

class DialogService;

// Shows an operation's course on the window's progress bar `PB`: the bar appears at
// 0, each milestone is painted at once, and the event loop gets a turn at every
// milestone and at least every kYieldInterval during long loops.
class ProgressBarReporter final : public ops::Progress {
public:
    static constexpr int kYieldIntervalMs = 25;

    ProgressBarReporter(QProgressBar& bar, DialogService& dialogs);

    void reached(int percent) override;
    void tick() override;
    // Sets the bar without painting it or yielding.
    void setQuietly(int percent);

    // The end of a successful run.
    void finish();

private:
    void yieldNow();

    QProgressBar& m_bar;
    DialogService& m_dialogs;
    QElapsedTimer m_sinceYield;
};

} // namespace shell
