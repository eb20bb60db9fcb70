// SPDX-License-Identifier: MIT
#include "batch_report.h"

#include <QFileInfo>

#include <utility>

namespace batch {

namespace {

// Back to the line's start, and the line cleared.
const QString kClearLine = QStringLiteral("\r\x1b[K");

} // namespace

BatchReport::BatchReport(int total, bool quiet, bool progressLine, std::function<void(const QString&)> write,
                         std::function<void(const QString&)> print)
    : m_total(total), m_quiet(quiet), m_progressLine(progressLine && !quiet), m_write(std::move(write)),
      m_print(std::move(print)), m_waiting(size_t(std::max(total, 0)))
{
}

void BatchReport::finished(const FileResult& result, int done)
{
    if (result.index >= 0 && size_t(result.index) < m_waiting.size())
        m_waiting[size_t(result.index)] = result;

    QString text = m_lineShown ? kClearLine : QString();
    m_lineShown = false;
    for (; m_next < m_waiting.size() && m_waiting[m_next]; ++m_next) {
        const FileResult& ready = *m_waiting[m_next];
        if (!m_quiet) {
            const QString input = inputName(ready.input);
            for (const QString& warning : ready.warnings)
                text += QStringLiteral("pixmold-batch: %1: warning: %2\n").arg(input, warning);
        }
        if (!ready.status)
            text += QStringLiteral("pixmold-batch: %1: %2\n")
                        .arg(ready.status.error().file, ready.status.error().reason);
        if (!ready.grid.isEmpty()) {
            // On a terminal, a file's warnings then stand just before its grid.
            if (!text.isEmpty())
                m_write(std::exchange(text, QString()));
            m_print(QStringLiteral("%1: %2\n").arg(ready.input, ready.grid));
        }
        m_waiting[m_next].reset();
    }
    if (m_progressLine) {
        text += QStringLiteral("[%1/%2] %3").arg(done).arg(m_total).arg(QFileInfo(result.input).fileName());
        m_lineShown = true;
    }
    if (!text.isEmpty())
        m_write(text);
}

void BatchReport::end()
{
    if (m_lineShown)
        m_write(kClearLine);
    m_lineShown = false;
}

} // namespace batch
