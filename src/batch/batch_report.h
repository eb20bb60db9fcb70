// SPDX-License-Identifier: MIT
#pragma once

#include "batch_run.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace batch {

// What pixmold-batch says on standard error while files are converted: each file's
// warnings and error in the order of the inputs, whatever order the files finish in,
// so that the text is the same however many run at once; and, where `progressLine` is
// set, a line "[12/200] name.bmp" kept current with a carriage return and cleared at
// the end. `quiet` leaves errors only. The grids of --detect go to `print` (standard
// output), "name.bmp: 4x8", in the same order, each after its file's messages.
class BatchReport {
public:
    BatchReport(int total, bool quiet, bool progressLine, std::function<void(const QString&)> write,
                std::function<void(const QString&)> print);

    // One file done, `done` files so far. Calls must not overlap.
    void finished(const FileResult& result, int done);
    // Clears the progress line.
    void end();

private:
    int m_total;
    bool m_quiet;
    bool m_progressLine;
    std::function<void(const QString&)> m_write;
    std::function<void(const QString&)> m_print;
    std::vector<std::optional<FileResult>> m_waiting; // finished, not yet said
    size_t m_next = 0;                                // the first file not yet said
    bool m_lineShown = false;
};

} // namespace batch
