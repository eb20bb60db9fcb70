// SPDX-License-Identifier: MIT
#include "batch/batch_job.h"
#include "batch/batch_report.h"
#include "batch/batch_run.h"
#include "batch/input_guard.h"
#include "batch/output_folder.h"

#include <QCoreApplication>
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

int usageError(const QString& text)
{
    say(stderr, QStringLiteral("pixmold-batch: %1\nRun 'pixmold-batch --help' for the options.\n").arg(text));
    return 2;
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
        return usageError(line.text);
    case batch::CommandLine::Action::Run:
        break;
    }

    const batch::Job& job = line.job;
    if (job.inPlace) {
        if (const auto distinct = batch::checkNoFileTwice(job.inputs); !distinct)
            return usageError(distinct.error());
    }
    // A picture's bytes would garble the terminal, as compressors know.
    if (job.output == batch::kStandardStream && isatty(STDOUT_FILENO))
        return usageError(QStringLiteral("-o -: Standard output is a terminal; send it to a file or a program "
                                         "(pixmold-batch ... -o - > out.bmp), or give -o a file name."));
    if (!job.outDir.isEmpty()) {
        if (const auto prepared = batch::prepareOutputFolder(job.outDir); !prepared) {
            say(stderr, QStringLiteral("pixmold-batch: %1: %2\n").arg(job.outDir, prepared.error()));
            return 1;
        }
    }

    // The progress line is rewritten in place, so only a terminal gets it; the lines of
    // --detect are progress enough.
    const int total = job.join ? 1 : int(job.inputs.size());
    batch::BatchReport report(
        total, job.quiet, total > 1 && !job.detect && isatty(STDERR_FILENO),
        [](const QString& text) { say(stderr, text); }, [](const QString& text) { say(stdout, text); });
    const int threads = job.jobs > 0 ? job.jobs : QThread::idealThreadCount();
    const std::vector<batch::FileResult> results = batch::runBatch(
        job, threads, [&](const batch::FileResult& result, int done) { report.finished(result, done); });
    report.end();

    const bool allWritten = std::all_of(results.cbegin(), results.cend(),
                                        [](const batch::FileResult& result) { return result.status.ok(); });
    return allWritten ? 0 : 1;
}
