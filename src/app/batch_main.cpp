// SPDX-License-Identifier: MIT
#include "batch/batch_job.h"
#include "batch/batch_report.h"
#include "batch/batch_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

void say(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pixmold-batch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PIXMOLD_VERSION));

    const batch::CommandLine line = batch::parseCommandLine(QCoreApplication::arguments());
    switch (line.action) {
    case batch::CommandLine::Action::Help:
        say(stdout, line.text);
        return 0;
    case batch::CommandLine::Action::Version:
        say(stdout, QStringLiteral("pixmold-batch %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    case batch::CommandLine::Action::UsageError:
        say(stderr, QStringLiteral("pixmold-batch: %1\nRun 'pixmold-batch --help' for the options.\n").arg(line.text));
        return 2;
    case batch::CommandLine::Action::Run:
        break;
    }

    const batch::Job& job = line.job;
    if (!job.outDir.isEmpty() && !QDir().mkpath(job.outDir)) {
        say(stderr, QStringLiteral("pixmold-batch: %1: The folder could not be created.\n").arg(job.outDir));
        return 1;
    }

    // The progress line is rewritten in place, so only a terminal gets it; the lines of
    // --detect are progress enough.
    const int total = int(job.inputs.size());
    batch::BatchReport report(
        total, job.quiet, total > 1 && !job.detect && isatty(STDERR_FILENO),
        [](const QString& text) { say(stderr, text); }, [](const QString& text) { say(stdout, text); });
    const int threads = job.jobs > 0 ? job.jobs : QThread::idealThreadCount();
    const std::vector<batch::FileResult> results = batch::runBatch(
        job, threads, [&](const batch::FileResult& result, int done) { report.finished(result, done); });
    report.end();

    const bool allWritten
        = std::all_of(results.cbegin(), results.cend(), [](const batch::FileResult& result) { return !result.error; });
    return allWritten ? 0 : 1;
}
