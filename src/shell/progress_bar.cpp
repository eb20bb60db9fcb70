// SPDX-License-Identifier: MIT
#include "progress_bar.h"

#include "dialog_service.h"

#include <QProgressBar>

namespace shell {

ProgressBarReporter::ProgressBarReporter(QProgressBar& bar, DialogService& dialogs) : m_bar(bar), m_dialogs(dialogs)
{
    m_sinceYield.start();
}

void ProgressBarReporter::reached(int percent)
{
    m_bar.setValue(percent);
    if (percent == 0)
        m_bar.show();
    m_bar.repaint();
    yieldNow();
}

void ProgressBarReporter::setQuietly(int percent)
{
    m_bar.setValue(percent);
}

void ProgressBarReporter::tick()
{
    if (m_sinceYield.elapsed() >= kYieldIntervalMs)
        yieldNow();
}

void ProgressBarReporter::finish()
{
    m_bar.hide();
}

void ProgressBarReporter::yieldNow()
{
    m_dialogs.yield();
    m_sinceYield.restart();
}

} // namespace shell
